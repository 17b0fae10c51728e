// Telling a press apart: click, double click, or a press that is held or
// dragged.
#pragma once
#include "support/qmwin.h"

// The window timer the wait runs on; its WM_TIMER ends the wait as if the
// double-click time had passed (tests send it instead of waiting).
enum { WIN_WAIT_CLICK_TIMER = 0x7F01 };

// Called on a button press (lParam of the press): captures the mouse and
// waits at most the double-click time, measured in message times. Returns 0
// for a drag (moved 9 pixels or more, horizontal plus vertical) or a press
// still held when the time is up, 1 for a click, 2 for a double click.
int winWaitClick(HWND window, LPARAM lParam);
int winWaitRightClick(HWND window, LPARAM lParam);
