#include "forms/fld_services.h"

void lblEditListSource(HWND, const char *) {}
void dbEditToken(HWND) {}
BOOL dbIsReportWorkspace(HWND) { return FALSE; }
