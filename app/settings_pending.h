// Services of other modules that the settings call, kept here until those
// modules land; each moves to its owner then (window services to the
// support library's window helpers, the editor and colour hand-offs to the
// text editor and the colour window, the bar bits to the frame).
#pragma once
#include "support/win_place.h"
#include "support/qmwin.h"

// Window services.
BOOL winInitWheel();

// Receivers of the stored settings at start-up.
void txSetEditorColor(COLORREF colour);
void txSetFontDialogBits(uint16_t bits);

// The frame's docked bar bits (FrameBarRecord at window long 4); -1 when the
// window carries no bar record.
int appGetBarBits(HWND frame);
