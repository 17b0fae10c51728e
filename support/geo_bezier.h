// Bézier flattening and curve builders.
//
// Curves are poly-Béziers of integer points: a start point followed by three
// points per cubic segment (control, control, end), so a curve of k segments
// has 3k + 1 points; a trailing partial segment is ignored. Flattened curves
// and built curves come back as memory blocks (MemHandle) of POINTs with a
// 16-bit count; the caller frees them with utFreeHandle. A flattened curve
// never holds more than 32767 points and every point is written within the
// block's capacity.
#pragma once
#include "support/qmwin.h"
#include "support/geo_rect.h"

// (sum of |dx| + |dy| over consecutive pairs) / 2.
int64_t geoHalfManhattanLength(const POINT *pts, int16_t n);
// Flattens with one step per about 3 x res logical units of control-polygon
// length (res below 1 counts as 1); 0 when no block can be had or n <= 0.
MemHandle geoFlattenBezierRes(const POINT *pts, int16_t n, int16_t *count, int32_t res);
// The same at the pixel size of the view mapping (15 when it has none).
MemHandle geoFlattenBezier(const POINT *pts, int16_t n, int16_t *count);
// Flattens at full resolution (in logical units).
MemHandle geoFlattenBezierFine(const POINT *pts, int16_t n, int16_t *count);
// Polyline / Polygon of the flattened curve; FALSE when nothing was drawn.
BOOL gdiPolyBezier(HDC dc, const POINT *pts, int16_t n);
BOOL gdiPolyBezierClosed(HDC dc, const POINT *pts, int16_t n);
// Bounds of the curve as geoFlattenBezier flattens it; 0 when that fails.
int geoBezierBounds(const POINT *pts, int16_t n, RECT *bounds);
// A line between every pair of segment start points; returns 1.
int gdiBezierAllChords(HDC dc, const POINT *pts, int16_t n);

// The 13-point poly-Bézier of the ellipse in the rectangle, counter-clockwise
// on the screen from the right.
MemHandle geoEllipseBezier(const RECT *r, int16_t *count);
// The 25-point poly-Bézier of a rounded rectangle (four corner segments and
// four straight edge segments).
void geoRoundRectBezier(const RECT *r, int32_t cornerW, int32_t cornerH, POINT out[25],
                        int16_t *count);
MemHandle geoRoundRectBezierHandle(const RECT *r, int32_t cornerW, int32_t cornerH,
                                   int16_t *count);
// An elliptical arc of the ellipse in the rectangle, from startTenths to
// endTenths counter-clockwise, in segments of at most 90 degrees, turned
// counter-clockwise by rotTenths about the rectangle's centre.
MemHandle geoArcBezier(const RECT *r, int16_t startTenths, int16_t endTenths, int16_t rotTenths,
                       int16_t *count);
// The arc closed through the centre by two straight segments.
MemHandle geoPieBezier(const RECT *r, int16_t startTenths, int16_t endTenths, int16_t rotTenths,
                       int16_t *count);
