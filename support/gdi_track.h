// Screen-only drawing that is no part of a document: the page's measuring
// grid (lines or dots at whole units and their subdivisions), dotted lines
// set pixel by pixel, the shapes drawn while the mouse is tracked, a
// freehand stroke recorded with the mouse captured, and saving and
// restoring the screen under a rectangle. Positions are 32-bit throughout.
#pragma once
#include "support/qmwin.h"

// The largest d from 7 down to 2 that divides n and keeps the lines of a
// unit of unitPixels at least 10 pixels apart; 1 when there is none.
int gdiGridSubdivisions(int n, int32_t unitPixels);
// Grid lines over the rectangle (logical units) for n subdivisions of the
// measuring unit: whole-unit lines dotted in unitColour, the others solid in
// subColour, one pixel wide. Nothing when n <= 0.
void gdiDrawGridLines(HDC dc, const RECT *rect, int n, COLORREF subColour, COLORREF unitColour);
// Red grid points over the rectangle at the subdivisions. Nothing when n <= 0.
void gdiDrawGridDots(HDC dc, const RECT *rect, int n);

// Dotted lines: one pixel of the dot colour in every third position.
void gdiSetDotColour(COLORREF colour);
// The next dotted line starts with a dot.
void gdiResetDotPhase();
// From (x1, y1) to (x2, y2), the end excluded, in the context's coordinates;
// the phase runs on from the previous line.
void gdiDottedLine(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// The same for logical points of the view mapping, drawn on device pixels
// (the context's mapping is switched to 1:1 and put back), phase reset.
void gdiDottedLineDev(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// Tracking feedback with the selected pen and raster operation: kind 1 a
// circle of radius 2 about p2, 2 the line p1-p2, 4 the rectangle outline
// p1..p2, 5 the ellipse in p1..p2; other kinds nothing.
void gdiDrawTrackShape(HDC dc, POINT p1, POINT p2, int kind);
// Records a freehand stroke from start (client pixels) with the mouse
// captured, drawn in a solid pen of the width and colour, until the left
// button goes up or the capture is lost. Returns a new block of POINTs and
// their count, or 0 with count 0 when fewer than 2 points were recorded.
MemHandle gdiTrackFreehand(HWND hwnd, POINT start, int32_t *count, int penWidth, COLORREF colour);

// A bitmap of the rectangle's pixels (its dimension set to their size).
HBITMAP gdiSaveScreenRect(HDC dc, const RECT *rect);
// Copies the bitmap, at its stored dimension, to (x, y) of the window.
void gdiRestoreScreenBitmap(HWND hwnd, int32_t x, int32_t y, HBITMAP bitmap);
