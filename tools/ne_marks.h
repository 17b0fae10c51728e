// What the node editor shows over the page: the marks of all points, the
// inverted marks of the selected points with the selection box, and the
// partial outlines that follow a drag of the selected points.
#pragma once
#include "support/qmwin.h"

const COLORREF kNeMarkColour = 0x7F0000;       // every point, hollow
const COLORREF kNeSelectedColour = 0x7F007F;   // selected points, filled, NOTXOR
const COLORREF kNeControlColour = 0xFF0000;    // Bezier control points, filled

// Painting in the node modes (40 to 43), after the page: the marks of the
// edited object's working points (line and polygon kinds) or of its
// anchors, controls and control lines (Bezier kinds), then the selected
// marks.
void neDrawAllMarks(HWND ws, HDC dc, MemHandle object);
void neDrawBezierMarks(HWND ws, HDC dc, MemHandle object);
// The filled marks of the selected points under R2_NOTXORPEN (drawn again,
// they go), then the grey XOR box of the selection when valid and no drag
// is under way, and the skew handles when shown.
void neDrawSelectedMarks(HWND ws, HDC dc);
// Invalidates the working points' bounds grown by the handle size, with the
// skew frame.
void neInvalidateMarks(HWND ws);
// XOR outlines of the part of a line or polygon kind, or of a Bezier kind,
// that moves with the selected points (indexes as selected, n of them).
void neDrawPolyOutline(HDC dc, const POINT *points, int count, const int16_t *indexes, int n,
                       int16_t type);
void neDrawBezierOutline(HDC dc, const POINT *points, int count, const int16_t *indexes, int n,
                         int16_t type);
