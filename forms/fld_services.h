// Form-field services the frame calls: the list source editor (frame
// command 518, not there yet; the database token editor of 519 is
// forms/db_token.h) and the test for a report document.
#pragma once
#include "support/qmwin.h"

void lblEditListSource(HWND frame, const char *title);
// Whether the workspace shows a report document (none can be made yet).
BOOL dbIsReportWorkspace(HWND ws);
