// The Options sheet and the option commands of the frame. The sheet and
// the label source editor come later; the scroll style command stores the
// default of new views.
#pragma once
#include "support/qmwin.h"

int optRunOptionsSheet(HWND frame);
void optEditLabelSource(HWND frame);
// 1226 single page (0), 1227 and 1228 continuous (2): the default scroll
// style of the setup record.
void optSetScrollStyle(HWND frame, HWND ws, int command);
// 1231: toggles the guides bit of the active document (nothing without one).
void optToggleDocViewBit(HWND frame, HWND ws);
