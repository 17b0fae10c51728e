// The context menu of an empty spot of a tool window.
#pragma once
#include "support/qmwin.h"

// Loads "R_CLICK_BL" ("R_CLICK_BL_TAIWAN" for menu language 2) and tracks
// its first submenu at the window's client position (packed as in mouse
// messages), its commands going to the frame (to the window when there is
// no frame).
void popBlankMenu(HWND window, LPARAM clientPos);
