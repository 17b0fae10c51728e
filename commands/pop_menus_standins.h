// Stand-in for the pop-up menus module: the Fill menu's item states.
#pragma once
#include "support/qmwin.h"

// The Fill pop-up (first item 531, Hollow): item states and the check mark
// of the current fill kind for the workspace's current object.
void popFillMenuState(HWND ws, HMENU menu);
