// Frame view commands: the default zoom, the status bar, the ruler settings
// and snapping to the rulers.
#pragma once
#include "support/qmwin.h"

// Zoom-scale commands without a workspace (176, 181 to 189, 2250, 2251): the
// command's zoom code and its percent become the zoom of new views.
void vcStoreDefaultZoom(int command);
// Zoom-scale commands with a workspace: the command's preset (a fit of the
// page to the window, or a percent about the object or else the page).
// 1 when the zoom changed; nothing when it is the present one.
int vcZoomCommand(HWND ws, int command, MemHandle object);
// 607: bits 1 and 1024 off with the message and standard bars hidden, or on
// with both shown; then the bars are laid out again.
void vcToggleStatusBar(HWND frame);
// 606 and 608 act on the active workspace's rulers, which the view does not
// have yet: nothing happens.
void vcRulerCommand(HWND frame, HWND ws);
void vcToggleSnapToRulers(HWND frame, HWND ws);
// 179 without a workspace: the View Scale dialog on the zoom of new views.
void vcViewScale(HWND frame);
