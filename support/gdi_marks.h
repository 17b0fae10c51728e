// Marker symbols drawn at a point with the selected pen and brush: diamonds,
// dots, line marks (cross, plus, dash, divide), direction triangles, a check
// mark, the compare signs and turned squares. Sizes are half-widths and
// half-heights in logical units; turns are in radians (positive clockwise
// on the screen). Every figure reaches one device pixel further on its
// right and bottom side so that it looks symmetric. Coordinates are 32-bit
// throughout: page positions pass 32,767 twips on large papers.
#pragma once
#include "support/qmwin.h"

// While on, a device pixel counts as one logical unit (sample drawings
// whose strokes are 1 unit wide whatever the zoom).
void gdiSetMarkerExactPixels(int32_t flag);
// The logical width (low 16 bits) and height (high 16 bits) of one device
// pixel of dc, or (1, 1) while exact pixels are on.
uint32_t gdiMarkerPixelSize(HDC dc);

// Diamond of half-diagonals (w, h) about (x, y), centre and size snapped to
// whole device pixels, so it has the same pixel shape wherever it lies.
void gdiDiamondSnapped(HDC dc, int32_t x, int32_t y, int32_t w, int32_t h);
// Diamond touching the middles of the rectangle's sides.
void gdiDiamondInRect(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b);
// gdiDiamondSnapped when the turn is 0, else the four corners turned about
// the centre.
void gdiDiamondRotated(HDC dc, POINT centre, int32_t w, int32_t h, double turn);
// Circle of radius r about the centre.
void gdiDot(HDC dc, POINT centre, int32_t r);
void gdiDrawXMark(HDC dc, POINT centre, int32_t w, int32_t h, double turn);
void gdiDrawPlusMark(HDC dc, POINT centre, int32_t w, int32_t h, double turn);
void gdiDrawDashMark(HDC dc, POINT centre, int32_t w, int32_t h, double turn);
// The dash and a dot above and below it (the dots are not turned).
void gdiDrawDivideMark(HDC dc, POINT centre, int32_t w, int32_t h, double turn);
// The vertices of a direction triangle of the given size for a bullet
// number: 44 and 45 point left, 46 and 47 up, 48 and 49 down, others right.
void geoTriangleMarkPoints(POINT out[3], int32_t size, int code);
void gdiDrawTriangleMark(HDC dc, POINT centre, int32_t size, double turn, int code);
// A check mark; a negative w mirrors it left to right.
void gdiDrawCheckMark(HDC dc, POINT centre, int32_t w, int32_t h, double turn);
// The greater-or-equal sign (greater set) or the less-or-equal sign.
void gdiDrawCompareMark(HDC dc, POINT centre, int32_t w, int32_t h, BOOL greater);
// A square of half-sides (w, h) turned about its centre.
void gdiSquareRotated(HDC dc, POINT centre, int32_t w, int32_t h, double turn);

// The names the bullet painter knows the figures by.
inline void gdiMarkPixelMode(BOOL on) { gdiSetMarkerExactPixels(on); }
inline void gdiMarkDiamond(HDC dc, POINT c, int32_t w, int32_t h, double turn) { gdiDiamondRotated(dc, c, w, h, turn); }
inline void gdiMarkLines1(HDC dc, POINT c, int32_t w, int32_t h, double turn) { gdiDrawXMark(dc, c, w, h, turn); }
inline void gdiMarkLines2(HDC dc, POINT c, int32_t w, int32_t h, double turn) { gdiDrawPlusMark(dc, c, w, h, turn); }
inline void gdiMarkLines3(HDC dc, POINT c, int32_t w, int32_t h, double turn) { gdiDrawDashMark(dc, c, w, h, turn); }
inline void gdiMarkLines4(HDC dc, POINT c, int32_t w, int32_t h, double turn) { gdiDrawDivideMark(dc, c, w, h, turn); }
// Direction set: as drawn; clear: mirrored left to right.
inline void gdiMarkTick(HDC dc, POINT c, int32_t w, int32_t h, BOOL direction) { gdiDrawCheckMark(dc, c, direction ? w : -w, h, 0.0); }
inline void gdiMarkTriangle(HDC dc, POINT c, int32_t size, double turn, int code) { gdiDrawTriangleMark(dc, c, size, turn, code); }
