// Integer plane geometry: rectangles, points and point arrays in logical
// units (twips), the program's one rounding rule, angle normalisation,
// distances, projections, point-on-line tests and the placement of a
// rectangle in a frame.
//
// Everything here is pure: no device context, no globals, no allocation.
// Rectangles are Win32 RECTs (left, top, right, bottom; y grows downward),
// points Win32 POINTs, both of signed 32-bit coordinates. Point arrays carry
// a separate signed 16-bit count. Pointers are not checked: callers pass
// valid storage. Products of coordinates are formed in 64-bit (or wider)
// arithmetic so that large pages cannot overflow them.
#pragma once
#include "support/qmwin.h"

// The program's value of pi (ten digits, not the full double constant) and
// the degree-to-radian factor derived from it.
const double kGeoPi = 3.141592654;
const double kGeoTwoPi = 6.283185308;
const double kGeoDegToRad = 0.017453292522222223;

// A point or vector of doubles.
struct GeoPointF {
    double x;
    double y;
};

// AlignWord: horizontal placement is (word & 0x103), vertical (word & 0x1C).
enum : uint16_t {
    GEO_ALIGN_HMASK = 0x103,
    GEO_ALIGN_HCENTRE = 1,
    GEO_ALIGN_RIGHT = 2,
    GEO_ALIGN_VMASK = 0x1C,
    GEO_ALIGN_VCENTRE = 8,
    GEO_ALIGN_BOTTOM = 16,
};

// Fit modes of geoFitRect (0 behaves as GEO_FIT_SHRINK).
enum : uint16_t {
    GEO_FIT_SCALE = 2,    // scale to fit, keeping the aspect ratio
    GEO_FIT_FRAME = 4,    // take the frame itself
    GEO_FIT_SHRINK = 8,   // scale down only when wider or taller than the frame
};

// Edges reported by geoHitRectEdge.
enum {
    GEO_EDGE_NONE = 0,
    GEO_EDGE_LEFT = 1,
    GEO_EDGE_TOP = 2,
    GEO_EDGE_RIGHT = 3,
    GEO_EDGE_BOTTOM = 4,
};

// ---- rounding and scalars -----------------------------------------------
// Nearest integer, halves away from zero: trunc(x + 0.5) for x > 0, else
// -trunc(0.5 - x). Values beyond the 32-bit range saturate; NaN gives 0.
int32_t geoRound(double x);
// atan2(y, x) in degrees (pi = 3.141592654), brought into 0 <= a <= 360.
double geoAtan2Deg(double y, double x);
// Rounded length of a vector; 0 for (0, 0).
int32_t geoVectorLength(int32_t dx, int32_t dy);
double geoVectorLengthF(POINT v);
// Tenths of a degree into 0..3599.
int16_t geoNormAngle(int16_t tenths);
// Degrees into 0 <= a < 360 (0 for a value that is not finite).
double geoNormAngleDeg(double degrees);

// ---- rectangles -------------------------------------------------------------
RECT *geoSetRect(RECT *r, int32_t left, int32_t top, int32_t right, int32_t bottom);
int geoCopyRect(RECT *dst, const RECT *src);   // returns 1
void geoRectCopy(RECT *dst, const RECT *src);
BOOL geoRectsEqual(const RECT *a, const RECT *b);
// Plain right - left and bottom - top (negative for an inverted rectangle).
void geoRectSize(const RECT *r, int32_t *width, int32_t *height);
// ((left + right) >> 1, (top + bottom) >> 1): rounds toward minus infinity.
void geoRectCentre(const RECT *r, POINT *centre);
RECT *geoRectFromCentre(RECT *r, POINT centre, int32_t halfW, int32_t halfH);
// left = cx - w / 2 (truncating), right = left + w; likewise vertically.
RECT *geoRectFromCentreSize(RECT *r, POINT centre, int32_t w, int32_t h);
void geoCentreRectAt(RECT *r, POINT centre);
void geoCentreRectOn(RECT *r, const RECT *other);
RECT *geoOffsetRect(RECT *r, int32_t dx, int32_t dy);
void geoInflateRect(RECT *r, int32_t dx, int32_t dy);
// grow: the margins (a rectangle of four values) are added outward; else
// they are taken off.
void geoApplyMargins(RECT *r, const RECT *margins, BOOL grow);
// (left, top, right, bottom) becomes (top, left, bottom, right).
void geoTransposeRect(RECT *r);
// Intersection as Win32 IntersectRect (dst may be a or b); nonzero when it
// is not empty, an empty result is all zeros.
BOOL geoIntersectRect(RECT *dst, const RECT *a, const RECT *b);
BOOL geoRectsIntersect(const RECT *a, const RECT *b);
// Plain min/max union (an empty rectangle still widens it); returns 1.
int geoUnionRect(RECT *dst, const RECT *a, const RECT *b);
// Edges included on all four sides.
BOOL geoPtInRect(const RECT *r, POINT pt);
BOOL geoRectInRect(const RECT *inner, const RECT *outer);
BOOL geoRectIsFlat(const RECT *r);
// Which edge the point touches within tol: GEO_EDGE_TOP, _BOTTOM, _LEFT,
// _RIGHT tested in that order (a corner reports the horizontal edge), or 0.
int geoHitRectEdge(const RECT *r, POINT pt, int32_t tol);
// Whether a point given relative to the centre lies strictly inside the
// ellipse inscribed in the rectangle.
BOOL geoPtInEllipse(const RECT *r, POINT pt);
// (left, top), (right, top), (right, bottom), (left, bottom).
void geoRectToCorners(const RECT *r, POINT corners[4]);
// (left, bottom), (left, top), (right, top).
void geoRectUpperTriangle(const RECT *r, POINT pts[3]);
// (right, top), (right, bottom), (left, bottom).
void geoRectLowerTriangle(const RECT *r, POINT pts[3]);
// Normalised rectangle of two points; 0 when they share an x or a y (the
// rectangle is still stored), else 1.
int geoRectFromPoints(POINT p, POINT q, RECT *dst);
// Bounds of n points; an empty rectangle at the origin for n <= 0.
void geoPointsBounds(const POINT *pts, int16_t n, RECT *dst);
void geoPointsCentre(const POINT *pts, int16_t n, POINT *centre);
// The rectangle replaced by the bounds of its corners rotated about the
// origin, or about a centre (radians, positive turning clockwise on screen).
void geoRotatedRectBounds(RECT *r, double radians);
void geoRotatedRectBoundsAbout(RECT *r, POINT centre, double radians);
// 1 for an axis-parallel square, 2 for an axis-parallel non-square
// rectangle, 0 otherwise; the first edge may be horizontal or vertical.
int geoQuadRectKind(const POINT pts[4]);
double geoMaxCornerDistance(const RECT *r, POINT pt);
void geoScaleRectAboutCentre(RECT *r, double sx, double sy);
void geoScaleRectToFit(RECT *r, const RECT *frame);
void geoAlignRect(RECT *r, const RECT *frame, uint16_t align);
void geoAlignRectTo(RECT *r, const RECT *frame, uint16_t align);
void geoFitRect(RECT *r, const RECT *frame, uint16_t fitMode, uint16_t align);
void geoMapRectBetweenFrames(const RECT *from, const RECT *to, const RECT *r, RECT *out);

// ---- points -----------------------------------------------------------------
BOOL geoPointsEqual(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void geoOffsetPoint(POINT *pt, int32_t dx, int32_t dy);
void geoOffsetPoints(POINT *pts, int16_t n, int32_t dx, int32_t dy);
void geoAddPoint(POINT a, POINT b, POINT *out);
void geoSubPoint(POINT a, POINT b, POINT *out);
int64_t geoDotProduct(POINT a, POINT b);
double geoDistance(POINT a, POINT b);
// (geoRound(r cos a), geoRound(-r sin a)): counter-clockwise on the screen.
void geoPolarPoint(double r, double degrees, POINT *out);
// The point at distance d from p toward q; p when p = q.
void geoPointAlong(POINT p, POINT q, double d, POINT *out);
// The point at distance d past q on the line from p; p when p = q.
void geoPointBeyond(POINT p, POINT q, double d, POINT *out);
// p + (q - p) t; p when p = q.
void geoLerpPoint(POINT p, POINT q, double t, POINT *out);
// Foot of the perpendicular from r onto the line pq; p when p = q.
void geoProjectPoint(POINT p, POINT q, POINT r, POINT *out);
// A segment through q perpendicular to pq, of total length width - 1.
void geoPerpendicularAt(POINT p, POINT q, int32_t width, POINT out[2]);
// Cosine and sine of the angle from vector a to vector b; 0 when either is
// the null vector, else 1.
int geoVectorAngleCS(POINT a, POINT b, double *c, double *s);
// Where t lies with respect to the line pq: 0 off the line, 1 on the line
// before p, 2 on the segment (ends included), 3 on the line beyond q.
int16_t geoPointOnLine(int32_t px, int32_t py, int32_t qx, int32_t qy, int32_t tx, int32_t ty);
// The same with the acceptance band widened to about 2 tol (tol <= 0: the
// exact test).
int16_t geoPointOnLineTol(int32_t px, int32_t py, int32_t qx, int32_t qy, int32_t tx,
                          int32_t ty, int32_t tol);
void geoScalePoints(POINT *pts, int16_t n, double sx, double sy);
// Scales the points about the centre of their bounds so that the bounds
// grow by dx on the left and right and dy on the top and bottom.
void geoGrowPoints(POINT *pts, int16_t n, int32_t dx, int32_t dy);
// Carries points attached to the segment seg onto newSeg: stretched along
// the segment's direction only, turned with it, moved to its new start.
void geoMapPointsToSegment(POINT *pts, int16_t n, const POINT seg[2], const POINT newSeg[2]);
