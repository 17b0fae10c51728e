// Mouse press classification and elapsed time.
//
// When a button goes down the caller asks at once whether the user is
// clicking, double-clicking or starting a drag. The answer comes from a
// small loop over the mouse messages that consumes them all, with the mouse
// captured for the window. Positions come from the messages, times from the
// messages' own times while messages are waiting.
#pragma once
#include "support/qmwin.h"

// Result codes.
enum : uint16_t {
    WIN_PRESS_DRAG = 0,    // moved 9 pixels or more, or held still for the double-click time
    WIN_PRESS_CLICK = 1,   // released once
    WIN_PRESS_DOUBLE = 2,  // double-click message
};

// A WM_TIMER with this id, posted to the waiting window, ends the wait as if
// the double-click time had passed (tests post it instead of waiting).
enum { WIN_WAIT_CLICK_TIMER = 0x7F01 };

// Left and right button forms of winWaitButton.
uint16_t winWaitClick(HWND window, LPARAM pressPos);
uint16_t winWaitRightClick(HWND window, LPARAM pressPos);
// Classifies a press at the packed client position. The loop ends on the
// double-click message, on a move of more than 8 pixels (horizontal plus
// vertical) while the button is down, once the double-click time has passed
// since the press, or when the window loses the capture (then a press still
// held counts as a click, never as a drag). A move whose button bits say the
// button is up counts as its release.
uint16_t winWaitButton(HWND window, LPARAM pressPos, UINT doubleClickMsg, UINT releaseMsg);

// The clock the wait reads while no message is waiting (GetTickCount unless
// replaced); tests put a clock of their own here. 0 restores GetTickCount.
typedef DWORD (*WinTickSource)();
void winSetTickSource(WinTickSource source);

// Elapsed milliseconds of the multimedia timer since utStartTimer.
DWORD utStartTimer();
DWORD utElapsedTime();
