// Form-field services the frame calls: the list source and database token
// editors (frame commands 518 and 519, not there yet) and the test for a
// report document.
#pragma once
#include "support/qmwin.h"

void lblEditListSource(HWND frame, const char *title);
void dbEditToken(HWND frame);
// Whether the workspace shows a report document (none can be made yet).
BOOL dbIsReportWorkspace(HWND ws);
