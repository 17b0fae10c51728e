// Three-dimensional edges, etched lines and the small triangle of buttons.
#pragma once
#include "support/qmwin.h"

// n nested 1-pixel frames inside the rectangle, the outermost first: the top
// and left sides of frame i in topLeft[i], the bottom and right sides in
// bottomRight[i]. These are gdiDraw3DFrame's bevel rings on the rectangle
// with its right and bottom edges one pixel in: the bottom-left corner
// pixel of a frame takes the top-left colour, the top-right one the
// bottom-right colour.
void gdiDrawEdgeColours(HDC dc, const RECT &rect, int depth, const COLORREF *topLeft,
                        const COLORREF *bottomRight);
// Raised: outer COLOR_BTNHIGHLIGHT / COLOR_3DDKSHADOW, inner COLOR_3DLIGHT /
// COLOR_BTNSHADOW (top-left / bottom-right); sunken exchanges the two sides.
// Depth 1 or 2 (above 2 counts as 2).
void gdiDraw3DEdge(HDC dc, const RECT &rect, BOOL raised, int depth);
// A raised edge of depth 2 inside the rectangle less 1 pixel at the right and
// 2 at the bottom.
void gdiDrawButtonEdge(HDC dc, const RECT &rect);
// COLOR_BTNSHADOW at y and COLOR_BTNHIGHLIGHT at y + 1, from x1 to x2 (x2
// not included).
void gdiEtchedHLine(HDC dc, int x1, int x2, int y);
// Sets pixels row by row from y - size to y + size, row k from
// x - 2*size + k to x + 2*size - k: a triangle pointing down (the same as
// gdiDrawDropArrow).
void gdiDrawDownTriangle(HDC dc, POINT pt, int size, COLORREF colour, int direction);
// Fills a rectangle with a solid colour.
void gdiFillSolid(HDC dc, const RECT &rect, COLORREF colour);
