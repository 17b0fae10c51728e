#include "forms/fld_frame.h"

void lblEditListSource(HWND, const char *) {}
void dbEditToken(HWND) {}
BOOL dbIsReportWorkspace(HWND) { return FALSE; }
