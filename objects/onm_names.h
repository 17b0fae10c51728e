// The object-name list window (SHOWNAMES).
#pragma once
#include "support/qmwin.h"

// When the list window exists, posts it the Refresh command (WM_COMMAND 121).
void onmRefreshList();
// The window the list is shown in (0 when closed); kept by the window itself.
void onmSetListWindow(HWND window);
HWND onmGetListWindow();
// Opens the modeless list of the workspace's object names once (the list
// itself comes with its dialog).
void onmShowList(HWND workspace);
