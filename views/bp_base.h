// The base page commands: create, edit, remove and show or hide the base
// page, mark its objects, return to the page the user came from, and drop
// the objects of a template page into the current page.
#pragma once
#include "support/qmwin.h"

// Object flag set and cleared by commands 1187 to 1190.
const uint32_t kBpObjectMark = 0x80000;

// Commands 594 and 1187 to 1199 (1194 prepares the Base Page sub-menu
// given). Always 1.
int bpOnCommand(HWND ws, int command, HMENU menu);
// Shows the base page, made first (a page of the current page's settings)
// when the document has none. 1 when it is shown.
int pvCmdShowBasePage(HWND ws);
