// The tip box: a small box with a line of text shown near the pointer (the
// tooltips of button lists). One tip exists at a time.
#pragma once
#include "support/qmwin.h"

// When no tip is shown: measures the text with the font and shows a box at
// screen position (x, y) filled with the back colour, the text in the text
// colour. Returns TRUE when a tip was shown.
BOOL gdiShowTipBox(HWND window, int x, int y, const char *text, HFONT font, COLORREF textColour,
                   COLORREF backColour);
// Removes the tip, when one is shown.
void gdiHideTipBox(HWND window);
BOOL gdiIsTipBoxShown();
// The box's window (null when no tip is shown).
HWND gdiGetTipBoxWindow();

// Tests watch the tips: the hook is told of every tip shown (shown TRUE,
// with its position and text) and removed (shown FALSE).
typedef void (*GdiTipBoxHook)(BOOL shown, int x, int y, const char *text);
void gdiSetTipBoxHook(GdiTipBoxHook hook);
void gdiResetTipBox();
