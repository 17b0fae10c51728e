// Tabs, indents and the rulers while a text is edited.
#pragma once
#include "support/qmwin.h"

// Shows or hides the tab markers of the edited text on both rulers.
void teShowRulerMarkers(HWND window, BOOL show);
// Clears the markers of both rulers when the stops are on them.
void teHideTabs(HWND window);
// Tab in overwrite mode and Shift+Tab: 1 when the text changed.
int teTabForward(HWND window);
int teTabBack(HWND window);
// Commands 493 (tab spacing dialog), 2101 (ruler tabs changed) and 2102
// (ruler frame changed): 1 when the text changed.
int teTabSpacingCommand(HWND window);
int teRulerTabsChanged(HWND window);
int teRulerFrameChanged(HWND window);
