// The pop-up calendar window "qmcalendar": registered at start-up; the
// window itself comes with the calendar objects.
#pragma once
#include "support/qmwin.h"

// Styles CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, 4 window bytes, arrow cursor,
// white background.
BOOL calWinRegister(HINSTANCE instance);
// Alt+C (943): the calendar pop-up at its default position (not yet).
void calShowPopup(HWND owner);
