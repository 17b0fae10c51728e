// Rotation of point arrays and the outlines of rotated ellipses, rounded
// rectangles, arcs, pies and rectangles as point polygons, so that every
// closed shape can be drawn at any angle with a plain polygon call; regular
// polygons and stars, unit vectors, angles on ellipses and random points.
//
// Angles: object angles are tenths of a degree, counter-clockwise on the
// screen. The rotation functions take radians and a positive angle turns
// clockwise on the screen (y grows downward), so an object is turned by its
// angle with geoTenthsToRadians(-tenths).
//
// Outline results are memory blocks (MemHandle) of POINTs with a 16-bit
// count; the caller frees them with utFreeHandle. They are 0 when memory
// cannot be had (the allocator reports that itself).
#pragma once
#include "support/qmwin.h"
#include "support/geo_rect.h"

// tenths of a degree -> radians (tenths x 0.1 x pi / 180).
double geoTenthsToRadians(double tenths);
// Draws a block of n points with gdiPolygon (closed) or gdiPolyline and
// frees it; FALSE for no block.
BOOL gdiDrawPointBlock(HDC dc, MemHandle h, int16_t n, BOOL closed);

// ---- rotation -----------------------------------------------------------------
// x' = geoRound(x c - y s), y' = geoRound(x s + y c), in place.
void geoRotatePointsCS(POINT *pts, int16_t n, double c, double s);
void geoRotatePoints(POINT *pts, int16_t n, double radians);
void geoRotatePointsAboutCS(POINT *pts, int16_t n, POINT centre, double c, double s);
void geoRotatePointsAbout(POINT *pts, int16_t n, POINT centre, double radians);
// The same on double points, without rounding.
void geoRotatePointsCSF(GeoPointF *pts, int16_t n, double c, double s);
void geoRotatePointsF(GeoPointF *pts, int16_t n, double radians);
// The rectangle's corners (as geoRectToCorners) turned counter-clockwise by
// the object angle about its centre; count 4.
MemHandle geoRotatedRectPolygon(const RECT *r, int16_t tenths, int16_t *count);

// ---- ellipses, arcs and pies as polygons ------------------------------------
// Outline points for an ellipse of w x h logical units: 2 per device pixel
// of the diagonal, 8 to 3600.
int16_t geoEllipsePointCount(int32_t w, int32_t h);
// Counter-clockwise sweep in degrees from a to b (b - a, plus 360 when b < a).
double geoSweepDeg(double a, double b);
// A polar angle in degrees to the parametric angle of an ellipse whose
// radii have the given ratio (rx / ry).
double geoCircleToEllipseAngle(double degrees, double ratio);
// Fills pts with up to *n points of the ellipse (start = end: the whole of
// it) centred on the origin, turned by rotTenths; consecutive equal points
// are dropped and *n gets the number kept. Returns 1.
int geoEllipseArcPoints(POINT *pts, int16_t *n, int16_t rotTenths, int32_t rx, int32_t ry,
                        int16_t startTenths, int16_t endTenths);
MemHandle geoEllipsePolygon(int32_t l, int32_t t, int32_t r, int32_t b, int16_t tenths,
                            int16_t *count);
MemHandle geoRoundRectPolygon(int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                              int32_t cornerH, int16_t tenths, int16_t *count);
MemHandle geoArcPolyline(const RECT *r, int16_t startTenths, int16_t endTenths,
                         int16_t rotTenths, int16_t *count);
// The arc plus the centre as the closing point, unless the arc is the full
// ellipse (start 0 and end 3600).
MemHandle geoPiePolygon(const RECT *r, int16_t startTenths, int16_t endTenths,
                        int16_t rotTenths, int16_t *count);
BOOL gdiEllipseRotated(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int16_t tenths);
BOOL gdiRoundRectRotated(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                         int32_t cornerH, int16_t tenths);
BOOL gdiArcRotated(HDC dc, const RECT *r, int16_t startTenths, int16_t endTenths,
                   int16_t rotTenths);
BOOL gdiPieRotated(HDC dc, const RECT *r, int16_t startTenths, int16_t endTenths,
                   int16_t rotTenths);

// ---- points on ellipses and angles -----------------------------------------
// The angle (degrees, counter-clockwise on the screen) of a point seen from
// the rectangle's centre.
double geoAngleInRect(const RECT *r, int32_t x, int32_t y);
// Moves a point onto the inscribed ellipse along the ray from the centre
// through it; 0 (point unchanged) when the point is the centre, else 1.
int geoRayEllipsePoint(const RECT *r, int32_t *x, int32_t *y);
// The point of the inscribed ellipse at an angle.
void geoEllipsePointAt(const RECT *r, int16_t tenths, POINT *out);
// geoRayEllipsePoint for the ellipse turned counter-clockwise by tenths.
int geoRayRotatedEllipsePoint(const RECT *r, int16_t tenths, int32_t *x, int32_t *y);
// ((q - p) / |q - p|) as (c, s); (0, 0) when p = q.
void geoUnitVector(POINT p, POINT q, double *c, double *s);
// Angle of p->q in degrees, screen coordinates (positive turns clockwise).
double geoSegmentAngleDeg(POINT p, POINT q);
// Does nothing and returns 1; a step of the arrow geometry.
int geoPointStub(POINT p, POINT q, POINT *out);

// ---- regular figures and point utilities ------------------------------------
// n vertices about the origin (n = 4: the square of half side r); 0 for n < 3.
MemHandle geoRegularPolygon(int16_t n, int32_t r);
// 2n vertices of a star of n tips, the first tip at the top; 0 for n < 3.
MemHandle geoStarPoints(int16_t n, int32_t outerR, int32_t innerR);
BOOL gdiRegularPolygon(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int16_t n);
BOOL gdiStar(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int16_t n,
             int32_t innerPercent);
void geoRoundPoints(POINT *dst, const GeoPointF *src, int16_t n);
void geoScalePointsF(GeoPointF *pts, int16_t n, double f);
// n random points within the rectangle.
MemHandle geoRandomPoints(const RECT *r, int16_t n);
// A random value in 0..|v|, whatever the C library's RAND_MAX.
int32_t utRandomScaled(int32_t v);
// A random value in a..b (either order), ends included.
int32_t utRandomRange(int32_t a, int32_t b);

// Start and end hooks, called when the view mapping is set up and torn
// down; nothing is kept, so they do nothing (the start hook returns 1).
int geoInit();
void geoTerm();
