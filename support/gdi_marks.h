// Marker figures drawn at a point with the selected pen and brush: line
// marks (cross, plus, dash, divide), a tick, direction triangles, diamonds
// and turned squares. Sizes are half-widths and half-heights in logical
// units; turns are in radians. Every figure reaches one device pixel
// further on its right and bottom side so that it looks symmetric.
#pragma once
#include "support/qmwin.h"

// While on, a device pixel counts as one logical unit (sample drawings
// whose strokes are 1 unit wide whatever the zoom).
void gdiMarkPixelMode(BOOL on);
// The logical width (low 16 bits) and height (high 16 bits) of one device
// pixel of dc, or (1, 1) in pixel mode.
uint32_t gdiMarkerPixelSize(HDC dc);

void gdiMarkDiamond(HDC dc, POINT centre, int32_t w, int32_t h, double turn);
void gdiSquareRotated(HDC dc, POINT centre, int32_t w, int32_t h, double turn);
// 1 a cross, 2 a plus sign, 3 a dash, 4 a division sign.
void gdiMarkLines1(HDC dc, POINT centre, int32_t w, int32_t h, double turn);
void gdiMarkLines2(HDC dc, POINT centre, int32_t w, int32_t h, double turn);
void gdiMarkLines3(HDC dc, POINT centre, int32_t w, int32_t h, double turn);
void gdiMarkLines4(HDC dc, POINT centre, int32_t w, int32_t h, double turn);
// A tick (check mark); direction set: as drawn, clear: mirrored left to right.
void gdiMarkTick(HDC dc, POINT centre, int32_t w, int32_t h, BOOL direction);
// The vertices of a direction triangle of the given size for a bullet
// number: 44 and 45 point left, 46 and 47 up, 48 and 49 down, others right.
void geoTriangleMarkPoints(POINT out[3], int32_t size, int code);
void gdiMarkTriangle(HDC dc, POINT centre, int32_t size, double turn, int code);
