// Window placement inside the screen's work area, and the conversions
// between twips and screen pixels.
//
// The rectangle arithmetic is also offered over a given work area
// (winKeepRectInArea, winCentreRectInArea), so that it can be used and
// checked without a screen.
#pragma once
#include "support/qmwin.h"

// SPI_GETWORKAREA; the desktop window's rectangle when that fails.
void winGetWorkArea(RECT *out);
// Centred in the area (integer halves truncating toward zero), size kept.
void winCentreRectInArea(RECT *r, const RECT *area);
void winCentreRectInWorkArea(RECT *r);
void winCentreOnScreen(HWND window);
// Nothing when the rectangle lies inside the area (edges included);
// otherwise, size kept, it is brought back 10 pixels inside each edge it
// crossed: right, then bottom, then left, then top.
void winKeepRectInArea(RECT *r, const RECT *area);
void winKeepRectOnScreen(RECT *r);
// Aligns the window in the work area / in the reference window's rectangle
// by an AlignWord, then moves it there with repainting.
void winPlaceInWorkArea(HWND window, uint16_t align);
void winPlaceByWindow(HWND window, HWND reference, uint16_t align);
// MoveWindow to the rectangle; FALSE for a null window.
BOOL winMoveToRect(HWND window, const RECT *r, BOOL repaint);

// Screen resolution for the twips conversions (96 x 96 until set; values
// below 1 are ignored).
void winSetScreenResolution(int32_t pixelsPerInchX, int32_t pixelsPerInchY);
int32_t winTwipsToPixelsX(int32_t twips);
int32_t winTwipsToPixelsY(int32_t twips);
int32_t winPixelsToTwipsX(int32_t pixels);
int32_t winPixelsToTwipsY(int32_t pixels);
