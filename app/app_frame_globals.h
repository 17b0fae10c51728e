// Process-wide handles of the frame window.
#pragma once
#include "support/qmwin.h"

HWND appGetFrameWindow();
void appSetFrameWindow(HWND frame);
HFONT appGetFrameFont();
void appSetFrameFont(HFONT font);
// The workspace window of the active document window, 0 when none. The
// frame records it as document windows are activated and deactivated.
