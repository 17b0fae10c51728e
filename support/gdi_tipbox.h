// Tip boxes: a small box with a line of text shown near the pointer. Two
// kinds share the sizing, placement and painting: the tip box window (the
// tooltips of button lists) and the tip painted straight onto a window with
// the screen beneath it saved and put back. One tip of each kind at a time.
#pragma once
#include "support/qmwin.h"

// Sizes and places a tip box for the text in the font at (x, y): padded by
// the font's average character width, moved back onto the screen of the
// context (4 pixels from an edge it passed). The box goes to rect; returns
// the text origin, x in the low 16 bits and y in the high 16 bits.
uint32_t gdiTipRect(HDC dc, int32_t x, int32_t y, const char *text, HFONT font, RECT *rect);
// When no tip is shown on a window: places the box at (x, y) of the window,
// saves the screen under it and paints it (the back colour, the text in the
// text colour).
void gdiShowTip(HWND window, int32_t x, int32_t y, const char *text, HFONT font,
                COLORREF textColour, COLORREF backColour);
// When one is shown: puts the saved screen back.
void gdiHideTip(HWND window);
// The box of the painted tip; FALSE when none is shown.
BOOL gdiGetTipRect(RECT *rect);

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
