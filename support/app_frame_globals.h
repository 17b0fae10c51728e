// Process-wide handles of the frame window.
#pragma once
#include "support/qmwin.h"

HWND appGetFrameWindow();
void appSetFrameWindow(HWND frame);
HFONT appGetFrameFont();
void appSetFrameFont(HFONT font);
