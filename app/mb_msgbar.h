// The message bar ("qm_msg"), the frame's status row. Its first form is the
// bar window itself: it is made, painted in the button face colour, and
// passes the commands of its children on to the frame; its cells and font
// boxes come with the message bar's own work.
#pragma once
#include "support/qmwin.h"

extern const char mbClassName[];   // "qm_msg"

// Registers "qm_msg": style 0, no extra bytes, arrow cursor, button-face
// background, no icon.
BOOL mbRegisterClass(HINSTANCE instance);
LRESULT CALLBACK MsgBarWndProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam);
// Creates the bar in the frame at the rectangle; shown and updated. On
// failure "Can not create message window" is shown and 0 returned.
HWND mbCreate(HWND frame, HFONT font, const RECT *rect);
HWND mbGetWindow();
