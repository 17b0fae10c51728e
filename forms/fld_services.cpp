#include "forms/fld_services.h"

void lblEditListSource(HWND, const char *) {}
BOOL dbIsReportWorkspace(HWND) { return FALSE; }
