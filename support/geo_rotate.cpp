// Rotation, ellipse and polygon geometry.
#include "support/geo_rotate.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/ut_mem.h"
#include <math.h>
#include <stdlib.h>
#include <time.h>
#include <algorithm>
#include <vector>

namespace {

// Integer halving toward zero of a sum or a difference, free of 32-bit
// overflow.
int32_t halfSum(int32_t a, int32_t b) { return (int32_t)(((int64_t)a + b) / 2); }
int32_t halfDiff(int32_t a, int32_t b) { return (int32_t)(((int64_t)a - b) / 2); }

// The ellipse inscribed in l, t, r, b: radii and centre, halved toward zero.
struct EllipseFrame {
    int32_t rx, ry;
    POINT centre;
};

EllipseFrame ellipseFrame(int32_t l, int32_t t, int32_t r, int32_t b)
{
    return EllipseFrame{halfDiff(r, l), halfDiff(b, t), POINT{halfSum(l, r), halfSum(t, b)}};
}

// Twice a radius as a width for geoEllipsePointCount, kept within 32 bits.
int32_t doubled(int32_t v)
{
    int64_t d = 2 * (int64_t)v;
    return d > INT32_MAX ? INT32_MAX : d < INT32_MIN ? INT32_MIN : (int32_t)d;
}

// Arc points of the ellipse in the rectangle, moved to its centre; with
// closeAtCentre the centre closes the outline unless the arc is the whole
// ellipse.
MemHandle arcBlock(const RECT *rc, int16_t start, int16_t end, int16_t rot, int16_t *count,
                   bool closeAtCentre)
{
    EllipseFrame e = ellipseFrame(rc->left, rc->top, rc->right, rc->bottom);
    int16_t n = geoEllipsePointCount(doubled(e.rx), doubled(e.ry));
    MemHandle h = utAllocHandle(0, (uint32_t)n * sizeof(POINT) + 16);
    if (!h) {
        *count = 0;
        return 0;
    }
    MemLock<POINT> pts(h);
    geoEllipseArcPoints(pts.get(), &n, rot, e.rx, e.ry, start, end);
    if (closeAtCentre && !(start == 0 && end == 3600))
        pts[n++] = POINT{0, 0};
    geoOffsetPoints(pts.get(), n, e.centre.x, e.centre.y);
    *count = n;
    return h;
}

// Moves a figure built about the origin to the centre of l, t, r, b, draws
// it closed and frees it.
BOOL drawAtCentre(HDC dc, MemHandle h, int16_t n, int32_t l, int32_t t, int32_t r, int32_t b)
{
    if (!h)
        return FALSE;
    RECT rc{l, t, r, b};
    POINT c;
    geoRectCentre(&rc, &c);
    {
        MemLock<POINT> pts(h);
        geoOffsetPoints(pts.get(), n, c.x, c.y);
    }
    return gdiDrawPointBlock(dc, h, n, TRUE);
}

// A uniformly drawn value in 0..span (span >= 0).
int64_t randomUpTo(int64_t span)
{
    double unit = rand() / ((double)RAND_MAX + 1.0);   // 0 <= unit < 1
    int64_t v = (int64_t)(unit * (double)(span + 1));
    return v > span ? span : v;
}

}  // namespace

double geoTenthsToRadians(double tenths) { return tenths * 0.1 * kGeoPi / 180.0; }

BOOL gdiDrawPointBlock(HDC dc, MemHandle h, int16_t n, BOOL closed)
{
    if (!h)
        return FALSE;
    BOOL ok;
    {
        MemLock<POINT> pts(h);
        ok = closed ? gdiPolygon(dc, pts.get(), n) : gdiPolyline(dc, pts.get(), n);
    }
    utFreeHandle(h);
    return ok;
}

// ---- rotation -----------------------------------------------------------------

void geoRotatePointsCS(POINT *pts, int16_t n, double c, double s)
{
    for (int16_t i = 0; i < n; ++i) {
        double x = pts[i].x, y = pts[i].y;
        pts[i].x = geoRound(x * c - y * s);
        pts[i].y = geoRound(x * s + y * c);
    }
}

void geoRotatePoints(POINT *pts, int16_t n, double radians)
{
    geoRotatePointsCS(pts, n, cos(radians), sin(radians));
}

void geoRotatePointsAboutCS(POINT *pts, int16_t n, POINT centre, double c, double s)
{
    geoOffsetPoints(pts, n, -centre.x, -centre.y);
    geoRotatePointsCS(pts, n, c, s);
    geoOffsetPoints(pts, n, centre.x, centre.y);
}

void geoRotatePointsAbout(POINT *pts, int16_t n, POINT centre, double radians)
{
    geoRotatePointsAboutCS(pts, n, centre, cos(radians), sin(radians));
}

void geoRotatePointsCSF(GeoPointF *pts, int16_t n, double c, double s)
{
    for (int16_t i = 0; i < n; ++i) {
        double x = pts[i].x, y = pts[i].y;
        pts[i].x = x * c - y * s;
        pts[i].y = x * s + y * c;
    }
}

void geoRotatePointsF(GeoPointF *pts, int16_t n, double radians)
{
    geoRotatePointsCSF(pts, n, cos(radians), sin(radians));
}

MemHandle geoRotatedRectPolygon(const RECT *r, int16_t tenths, int16_t *count)
{
    MemHandle h = utAllocHandle(0, 4 * sizeof(POINT));
    if (!h) {
        *count = 0;
        return 0;
    }
    MemLock<POINT> pts(h);
    geoRectToCorners(r, pts.get());
    POINT c;
    geoRectCentre(r, &c);
    geoRotatePointsAbout(pts.get(), 4, c, geoTenthsToRadians(-tenths));
    *count = 4;
    return h;
}

// ---- ellipses, arcs and pies as polygons ------------------------------------

int16_t geoEllipsePointCount(int32_t w, int32_t h)
{
    double dw = dmLogToDevW(w), dh = dmLogToDevH(h);
    double n = 2.0 * trunc(sqrt(dw * dw + dh * dh));
    if (n > 3600)
        return 3600;
    if (n <= 8)
        return 8;
    return (int16_t)n;
}

double geoSweepDeg(double a, double b) { return b < a ? b - a + 360.0 : b - a; }

double geoCircleToEllipseAngle(double a, double ratio)
{
    int16_t k = (int16_t)geoRound(a * 10);
    if (k % 900 < 1)
        return a;
    int quadrant = k / 900 + 1;
    double ar = a * kGeoPi / 180.0;
    double f = fabs(atan(ratio * tan(ar)) / atan(tan(ar)));
    switch (quadrant) {
    case 1:
        return a * f;
    case 2:
        return 180.0 - (180.0 - a) * f;
    case 3:
        return 180.0 + (a - 180.0) * f;
    case 4:
        return 360.0 - (360.0 - a) * f;
    default:
        return 0.0;
    }
}

int geoEllipseArcPoints(POINT *pts, int16_t *n, int16_t rotTenths, int32_t rx, int32_t ry,
                        int16_t startTenths, int16_t endTenths)
{
    int16_t want = *n;
    if (want <= 0) {
        *n = 0;
        return 1;
    }
    double rot = geoTenthsToRadians(rotTenths);
    double c = cos(rot), s = sin(rot);
    double t, step;
    int32_t start = startTenths, end = endTenths;
    if (start != end) {
        if (rx != ry && ry != 0) {
            double ratio = (double)rx / ry;
            start = geoRound(10 * geoCircleToEllipseAngle(start * 0.1, ratio));
            end = geoRound(10 * geoCircleToEllipseAngle(end * 0.1, ratio));
        }
        t = start * 0.1;
        step = want > 1 ? geoSweepDeg(start * 0.1, end * 0.1) / (want - 1) : 0.0;
    } else {
        t = 0.0;
        step = want > 1 ? 360.0 / (want - 1) : 0.0;
    }
    double rxc = rx * c, rxs = rx * s, ryc = ry * c, rys = ry * s;
    int16_t kept = 0;
    for (int16_t i = 0; i < want; ++i) {
        if (t >= 360.0)
            t -= 360.0;
        if (t < 0)
            t += 360.0;
        double theta = t * kGeoDegToRad;
        double ct = cos(theta), st = sin(theta);
        POINT p{geoRound(ct * rxc - st * rys), geoRound(-ct * rxs - st * ryc)};
        if (kept == 0 || p.x != pts[kept - 1].x || p.y != pts[kept - 1].y)
            pts[kept++] = p;
        t += step;
    }
    *n = kept;
    return 1;
}

MemHandle geoEllipsePolygon(int32_t l, int32_t t, int32_t r, int32_t b, int16_t tenths,
                            int16_t *count)
{
    EllipseFrame e = ellipseFrame(l, t, r, b);
    int16_t n = geoEllipsePointCount(doubled(e.rx), doubled(e.ry));
    MemHandle h = utAllocHandle(0, (uint32_t)n * sizeof(POINT) + 16);
    if (!h) {
        *count = 0;
        return 0;
    }
    MemLock<POINT> pts(h);
    geoEllipseArcPoints(pts.get(), &n, tenths, e.rx, e.ry, 0, 0);
    geoOffsetPoints(pts.get(), n, e.centre.x, e.centre.y);
    *count = n;
    return h;
}

MemHandle geoRoundRectPolygon(int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                              int32_t cornerH, int16_t tenths, int16_t *count)
{
    int32_t rx = cornerW / 2, ry = cornerH / 2;
    POINT centre{halfSum(l, r), halfSum(t, b)};
    bool rounded = rx != 0 && ry != 0;
    int16_t n = rounded ? geoEllipsePointCount(cornerW, cornerH) : 4;
    MemHandle h = utAllocHandle(0, (uint32_t)n * sizeof(POINT) + 64);
    if (!h) {
        *count = 0;
        return 0;
    }
    MemLock<POINT> pts(h);
    int16_t k = 0;
    if (rounded) {
        int16_t perCorner = n / 4;
        // One quarter of the corner ellipse, moved to the corner's centre.
        auto corner = [&](int16_t from, int16_t to, int32_t cx, int32_t cy) {
            int16_t got = perCorner;
            geoEllipseArcPoints(pts.get() + k, &got, 0, rx, ry, from, to);
            geoOffsetPoints(pts.get() + k, got, cx, cy);
            k += got;
        };
        pts[k++] = POINT{r, t + ry};
        corner(0, 900, r - rx, t + ry);
        pts[k++] = POINT{r - rx, t};
        pts[k++] = POINT{l + rx, t};
        corner(900, 1800, l + rx, t + ry);
        pts[k++] = POINT{l, t + ry};
        pts[k++] = POINT{l, b - ry};
        corner(1800, 2700, l + rx, b - ry);
        pts[k++] = POINT{l + rx, b};
        pts[k++] = POINT{r - rx, b};
        corner(2700, 3600, r - rx, b - ry);
        pts[k++] = POINT{r, b - ry};
    } else {
        pts[k++] = POINT{l, t};
        pts[k++] = POINT{l, b};
        pts[k++] = POINT{r, b};
        pts[k++] = POINT{r, t};
    }
    geoRotatePointsAbout(pts.get(), k, centre, geoTenthsToRadians(-tenths));
    *count = k;
    return h;
}

MemHandle geoArcPolyline(const RECT *r, int16_t startTenths, int16_t endTenths,
                         int16_t rotTenths, int16_t *count)
{
    return arcBlock(r, startTenths, endTenths, rotTenths, count, false);
}

MemHandle geoPiePolygon(const RECT *r, int16_t startTenths, int16_t endTenths,
                        int16_t rotTenths, int16_t *count)
{
    return arcBlock(r, startTenths, endTenths, rotTenths, count, true);
}

namespace {

// A rectangle of logical doubles.
struct CutRect {
    double l, t, r, b;
};

// The outline of an ellipse (no corner size) or rounded rectangle in
// logical doubles, turned by tenths about the box's centre. Each quarter of
// the curve is split in halves until its chord strays less than half a
// device pixel from it, but a piece whose bounds (chord grown by how far
// the curve may stray from it) miss the cut rectangle is kept as its chord
// alone: the work follows the part that can show, never the curve's size.
std::vector<GeoPointF> curvedOutline(HDC dc, const CutRect &cut, double l, double t, double r,
                                     double b, double cornerW, double cornerH, int16_t tenths,
                                     bool rounded)
{
    double cx = (l + r) / 2, cy = (t + b) / 2;
    double hw = fabs(r - l) / 2, hh = fabs(b - t) / 2;
    // The corner ellipse's radii (the whole box for an ellipse).
    double rx = rounded ? std::min(fabs(cornerW) / 2, hw) : hw;
    double ry = rounded ? std::min(fabs(cornerH) / 2, hh) : hh;
    POINT unit[2] = {{0, 0}, {65536, 65536}};
    LPtoDP(dc, unit, 2);
    double scale = std::max(fabs((double)unit[1].x - unit[0].x),
                            fabs((double)unit[1].y - unit[0].y)) / 65536.0;
    double rad = geoTenthsToRadians(-tenths), c = cos(rad), s = sin(rad);
    auto turned = [&](double x, double y) {
        return tenths ? GeoPointF{cx + x * c - y * s, cy + x * s + y * c} : GeoPointF{cx + x, cy + y};
    };
    std::vector<GeoPointF> pts;
    if (rounded && (rx <= 0 || ry <= 0)) {
        for (GeoPointF p : {GeoPointF{-hw, -hh}, GeoPointF{-hw, hh}, GeoPointF{hw, hh},
                            GeoPointF{hw, -hh}})
            pts.push_back(turned(p.x, p.y));
        return pts;
    }
    const double ax = hw - rx, ay = hh - ry;   // the straight parts' half lengths
    const double signX[4] = {1, -1, -1, 1}, signY[4] = {-1, -1, 1, 1};
    const double radius = std::max(rx, ry);
    auto at = [&](int q, double a) {
        return turned(signX[q] * ax + cos(a) * rx, signY[q] * ay - sin(a) * ry);
    };
    struct Piece {
        double a0, a1;
        int depth;
    };
    for (int q = 0; q < 4; ++q) {
        std::vector<Piece> work{{q * kGeoPi / 2, (q + 1) * kGeoPi / 2, 0}};
        while (!work.empty()) {
            Piece p = work.back();
            work.pop_back();
            GeoPointF p0 = at(q, p.a0), p1 = at(q, p.a1);
            double d = p.a1 - p.a0;
            double stray = 1.5 * radius * d * d / 8;   // how far the curve may leave its chord
            bool misses = std::max(p0.x, p1.x) + stray < cut.l ||
                          std::min(p0.x, p1.x) - stray > cut.r ||
                          std::max(p0.y, p1.y) + stray < cut.t ||
                          std::min(p0.y, p1.y) - stray > cut.b;
            if (misses || stray * scale < 0.5 || p.depth >= 40) {
                pts.push_back(p0);
                continue;
            }
            double mid = (p.a0 + p.a1) / 2;
            // Pushed in reverse, so the first half comes out first.
            work.push_back(Piece{mid, p.a1, p.depth + 1});
            work.push_back(Piece{p.a0, mid, p.depth + 1});
        }
        pts.push_back(at(q, (q + 1) * kGeoPi / 2));
    }
    return pts;
}

BOOL drawCurvedBeyondRange(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                           int32_t cornerH, int16_t tenths, bool rounded)
{
    CutRect cut;
    if (!gdiGetCutRect(dc, &cut.l, &cut.t, &cut.r, &cut.b))
        return TRUE;   // nothing can show
    std::vector<GeoPointF> pts =
        curvedOutline(dc, cut, l, t, r, b, cornerW, cornerH, tenths, rounded);
    return gdiPolygonF(dc, pts.data(), (int)pts.size());
}

// 1 when the turned box lies within the safe device range (the box grown
// to the circle around it when turned).
bool boxIsSafe(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int16_t tenths)
{
    double cx = ((double)l + r) / 2, cy = ((double)t + b) / 2;
    double hw = fabs((double)r - l) / 2, hh = fabs((double)b - t) / 2;
    if (tenths) {
        double d = sqrt(hw * hw + hh * hh);
        hw = hh = d;
    }
    return gdiIsWithinSafeRange(dc, cx - hw, cy - hh, cx + hw, cy + hh) != 0;
}

}  // namespace

BOOL gdiEllipseRotated(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int16_t tenths)
{
    if (!boxIsSafe(dc, l, t, r, b, tenths))
        return drawCurvedBeyondRange(dc, l, t, r, b, 0, 0, tenths, false);
    if (tenths == 0)
        return gdiEllipse(dc, l, t, r, b);
    int16_t n = 0;
    MemHandle h = geoEllipsePolygon(l, t, r, b, tenths, &n);
    return gdiDrawPointBlock(dc, h, n, TRUE);
}

BOOL gdiRoundRectRotated(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                         int32_t cornerH, int16_t tenths)
{
    if (!boxIsSafe(dc, l, t, r, b, tenths))
        return drawCurvedBeyondRange(dc, l, t, r, b, cornerW, cornerH, tenths, true);
    if (tenths == 0)
        return gdiRoundRect(dc, l, t, r, b, cornerW, cornerH);
    int16_t n = 0;
    MemHandle h = geoRoundRectPolygon(l, t, r, b, cornerW, cornerH, tenths, &n);
    return gdiDrawPointBlock(dc, h, n, TRUE);
}

BOOL gdiArcRotated(HDC dc, const RECT *r, int16_t startTenths, int16_t endTenths,
                   int16_t rotTenths)
{
    int16_t n = 0;
    MemHandle h = geoArcPolyline(r, startTenths, endTenths, rotTenths, &n);
    return gdiDrawPointBlock(dc, h, n, FALSE);
}

BOOL gdiPieRotated(HDC dc, const RECT *r, int16_t startTenths, int16_t endTenths,
                   int16_t rotTenths)
{
    int16_t n = 0;
    MemHandle h = geoPiePolygon(r, startTenths, endTenths, rotTenths, &n);
    return gdiDrawPointBlock(dc, h, n, TRUE);
}

// ---- points on ellipses and angles -----------------------------------------

double geoAngleInRect(const RECT *r, int32_t x, int32_t y)
{
    double cx = halfSum(r->left, r->right), cy = halfSum(r->top, r->bottom);
    return geoAtan2Deg(cy - y, x - cx);
}

int geoRayEllipsePoint(const RECT *r, int32_t *x, int32_t *y)
{
    EllipseFrame e = ellipseFrame(r->left, r->top, r->right, r->bottom);
    int64_t cx = e.centre.x, cy = e.centre.y;
    int64_t dx = *x - cx, dy = *y - cy;
    if (dx == 0 && dy == 0)
        return 0;
    double a = e.rx, b = e.ry;
    int64_t nx, ny;
    if (dx == 0) {
        nx = cx;
        ny = dy >= 1 ? cy + e.ry : cy - e.ry;
    } else if (dy == 0) {
        ny = cy;
        nx = dx >= 1 ? cx + e.rx : cx - e.rx;
    } else {
        double m = fabs((double)dy / (double)dx);
        double d = sqrt(b * b + m * m * a * a);
        // A flat ellipse (both radii 0) pulls every point to the centre.
        int64_t ox = d > 0 ? (int64_t)trunc(a * b / d) : 0;
        int64_t oy = d > 0 ? (int64_t)trunc(a * m * b / d) : 0;
        nx = dx >= 1 ? cx + ox : cx - ox;
        ny = dy >= 1 ? cy + oy : cy - oy;
    }
    *x = (int32_t)nx;
    *y = (int32_t)ny;
    return 1;
}

void geoEllipsePointAt(const RECT *r, int16_t tenths, POINT *out)
{
    EllipseFrame e = ellipseFrame(r->left, r->top, r->right, r->bottom);
    double radius = geoVectorLength(e.rx, e.ry);
    double a = geoTenthsToRadians(tenths);
    int32_t x = e.centre.x + geoRound(radius * cos(-a));
    int32_t y = e.centre.y + geoRound(radius * sin(-a));
    geoRayEllipsePoint(r, &x, &y);
    out->x = x;
    out->y = y;
}

int geoRayRotatedEllipsePoint(const RECT *r, int16_t tenths, int32_t *x, int32_t *y)
{
    EllipseFrame e = ellipseFrame(r->left, r->top, r->right, r->bottom);
    POINT p{*x - e.centre.x, *y - e.centre.y};
    double a = geoTenthsToRadians(tenths);
    // Turn the point back into the frame of the upright ellipse, project
    // it there, and turn the result forward again.
    geoRotatePoints(&p, 1, a);
    RECT upright = *r;
    geoOffsetRect(&upright, -e.centre.x, -e.centre.y);
    int32_t px = p.x, py = p.y;
    geoRayEllipsePoint(&upright, &px, &py);
    p = POINT{px, py};
    geoRotatePoints(&p, 1, -a);
    *x = p.x + e.centre.x;
    *y = p.y + e.centre.y;
    return 1;
}

void geoUnitVector(POINT p, POINT q, double *c, double *s)
{
    double len = geoDistance(p, q);
    if (len == 0.0) {
        *c = 0.0;
        *s = 0.0;
        return;
    }
    *c = ((double)q.x - p.x) / len;
    *s = ((double)q.y - p.y) / len;
}

double geoSegmentAngleDeg(POINT p, POINT q)
{
    if (p.x == q.x && p.y == q.y)
        return 0.0;
    if (p.y == q.y)
        return q.x <= p.x ? 180.0 : 0.0;
    return geoAtan2Deg((double)q.y - p.y, (double)q.x - p.x);
}

int geoPointStub(POINT, POINT, POINT *) { return 1; }

// ---- regular figures and point utilities ------------------------------------

MemHandle geoRegularPolygon(int16_t n, int32_t r)
{
    if (n < 3)
        return 0;
    MemHandle h = utAllocHandle(0, (uint32_t)n * sizeof(POINT));
    if (!h)
        return 0;
    MemLock<POINT> pts(h);
    if (n == 4) {
        pts[0] = POINT{-r, -r};
        pts[1] = POINT{-r, r};
        pts[2] = POINT{r, r};
        pts[3] = POINT{r, -r};
    } else if (n % 2) {
        // The first vertex at the top, the others mirrored about the y axis.
        for (int16_t i = 0; i < (n + 1) / 2; ++i) {
            double theta = i * kGeoTwoPi / n;
            POINT v{geoRound(r * sin(theta)), geoRound(-r * cos(theta))};
            pts[i] = v;
            if (i > 0)
                pts[n - i] = POINT{-v.x, v.y};
        }
    } else {
        // The first vertex at the left, the second half the first turned
        // half a circle.
        int16_t m = n / 2;
        for (int16_t i = 0; i < m; ++i) {
            double theta = i * kGeoTwoPi / n;
            POINT v{geoRound(-r * cos(theta)), geoRound(r * sin(theta))};
            pts[i] = v;
            pts[m + i] = POINT{-v.x, -v.y};
        }
    }
    return h;
}

MemHandle geoStarPoints(int16_t n, int32_t outerR, int32_t innerR)
{
    if (n < 3)
        return 0;
    MemHandle h = utAllocHandle(0, 2 * (uint32_t)n * sizeof(POINT));
    if (!h)
        return 0;
    MemLock<POINT> pts(h);
    for (int32_t i = 0; i < n; ++i) {
        double theta = i * kGeoTwoPi / n;
        pts[2 * i] = POINT{geoRound(outerR * sin(theta)), -geoRound(outerR * cos(theta))};
        theta += kGeoPi / n;
        pts[2 * i + 1] = POINT{geoRound(innerR * sin(theta)), -geoRound(innerR * cos(theta))};
    }
    return h;
}

BOOL gdiRegularPolygon(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int16_t n)
{
    return drawAtCentre(dc, geoRegularPolygon(n, halfDiff(r, l)), n, l, t, r, b);
}

BOOL gdiStar(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int16_t n, int32_t innerPercent)
{
    int32_t outer = halfDiff(r, l);
    int32_t inner = (int32_t)((int64_t)outer * innerPercent / 100);
    return drawAtCentre(dc, geoStarPoints(n, outer, inner), (int16_t)(2 * n), l, t, r, b);
}

void geoRoundPoints(POINT *dst, const GeoPointF *src, int16_t n)
{
    for (int16_t i = 0; i < n; ++i)
        dst[i] = POINT{geoRound(src[i].x), geoRound(src[i].y)};
}

void geoScalePointsF(GeoPointF *pts, int16_t n, double f)
{
    for (int16_t i = 0; i < n; ++i) {
        pts[i].x *= f;
        pts[i].y *= f;
    }
}

MemHandle geoRandomPoints(const RECT *r, int16_t n)
{
    if (n <= 0)
        return 0;
    MemHandle h = utAllocHandle(0, (uint32_t)n * sizeof(POINT));
    if (!h)
        return 0;
    srand((unsigned)(time(nullptr) & 585));
    // Drawn between the edges, so that an inverted rectangle still holds
    // every point.
    MemLock<POINT> pts(h);
    for (int16_t i = 0; i < n; ++i) {
        pts[i].x = utRandomRange(r->left, r->right);
        pts[i].y = utRandomRange(r->top, r->bottom);
    }
    return h;
}

int32_t utRandomScaled(int32_t v)
{
    return (int32_t)randomUpTo(llabs((int64_t)v));
}

int32_t utRandomRange(int32_t a, int32_t b)
{
    int64_t lo = a < b ? a : b, hi = a < b ? b : a;
    return (int32_t)(lo + randomUpTo(hi - lo));
}

int geoInit() { return 1; }
void geoTerm() {}
