// Bézier flattening and curve builders.
#include "support/geo_bezier.h"
#include "support/geo_rotate.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include <math.h>
#include <stdlib.h>

namespace {

// The estimate of a flattened curve's points stays below this.
const int64_t kPointBudget = 16001;
// Counts are 16-bit.
const int64_t kMaxPoints = 32767;
// Allocation attempts with coarser steps when memory is short.
const int kAllocAttempts = 8;

bool samePoint(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

// How a segment's length is measured.
enum class Measure {
    HalfManhattan,   // on screen: half the sum of |dx| + |dy| of the legs
    LongestAxis,     // fine: the sum of max(|dx|, |dy|) of the legs
};

int64_t segmentLength(const POINT *s, Measure m)
{
    if (m == Measure::HalfManhattan)
        return geoHalfManhattanLength(s, 4);
    int64_t len = 0;
    for (int i = 0; i < 3; ++i) {
        int64_t dx = llabs((int64_t)s[i + 1].x - s[i].x), dy = llabs((int64_t)s[i + 1].y - s[i].y);
        len += dx > dy ? dx : dy;
    }
    return len;
}

POINT bezierPoint(const POINT *s, double t)
{
    double u = 1.0 - t;
    double b0 = u * u * u, b1 = 3 * t * u * u, b2 = 3 * t * t * u, b3 = t * t * t;
    return POINT{geoRound(s[0].x * b0 + s[1].x * b1 + s[2].x * b2 + s[3].x * b3),
                 geoRound(s[0].y * b0 + s[1].y * b1 + s[2].y * b2 + s[3].y * b3)};
}

// Appends points to a block, refusing every point beyond its capacity.
class PointSink {
public:
    PointSink(POINT *p, int64_t capacity) : p_(p), cap_(capacity) {}
    void put(POINT pt)
    {
        if (n_ < cap_)
            p_[n_++] = pt;
    }
    int16_t count() const { return (int16_t)n_; }

private:
    POINT *p_;
    int64_t cap_;
    int64_t n_ = 0;
};

// The flattener of both resolutions. The step divisor k (at least 3) is
// raised until the estimate q / k + 2n stays within the point budget; with
// memory short, k is raised further while that still shrinks the block.
MemHandle flatten(const POINT *pts, int16_t n, int16_t *count, int64_t res, Measure m)
{
    *count = 0;
    if (n <= 0)
        return 0;
    if (res < 1)
        res = 1;
    int64_t total = 0;
    if (m == Measure::HalfManhattan) {
        total = geoHalfManhattanLength(pts, n);
    } else {
        for (int i = 0; i + 3 < n; i += 3)
            total += segmentLength(pts + i, m);
    }
    int64_t q = total / res;
    // The smallest k with q / k < room; when 2n alone exceeds the budget,
    // a k that makes q / k zero.
    int64_t room = kPointBudget - 2 * (int64_t)n;
    int64_t k = room >= 1 ? q / room + 1 : q + 1;
    if (k < 3)
        k = 3;
    auto capacityFor = [&](int64_t divisor) {
        int64_t c = q / divisor + 2 * (int64_t)n;
        return c < kMaxPoints ? c : kMaxPoints;
    };
    int64_t capacity = capacityFor(k);
    MemHandle h = 0;
    for (int attempt = 1;; ++attempt) {
        h = utAllocHandle(0, (uint32_t)(capacity * sizeof(POINT)));
        if (h)
            break;
        int64_t next = capacityFor(k + 1);
        if (next >= capacity || next <= n || attempt >= kAllocAttempts)
            return 0;
        ++k;
        capacity = next;
    }

    MemLock<POINT> block(h);
    PointSink out(block.get(), capacity);
    out.put(pts[0]);
    for (int i = 0; i + 3 < n; i += 3) {
        const POINT *s = pts + i;
        int64_t len = segmentLength(s, m);
        if (len == 0)
            continue;   // four equal points
        if (samePoint(s[0], s[1]) && samePoint(s[2], s[3])) {
            out.put(s[0]);
            out.put(s[3]);
            continue;
        }
        int64_t steps = len / res / k;
        if (steps < 1)
            steps = 1;
        double dt = 1.0 / steps, t = 0.0;
        POINT last = s[0];
        for (int64_t j = 1; j < steps; ++j) {
            t += dt;
            POINT b = bezierPoint(s, t);
            if (!samePoint(b, last)) {
                out.put(b);
                last = b;
            }
        }
        out.put(s[3]);
    }
    *count = out.count();
    return h;
}

// Flattens and draws; the block is freed.
BOOL drawFlattened(HDC dc, const POINT *pts, int16_t n, BOOL closed)
{
    int16_t count = 0;
    MemHandle h = geoFlattenBezier(pts, n, &count);
    return gdiDrawPointBlock(dc, h, count, closed);
}

double degToRad(double degrees) { return degrees * kGeoPi / 180.0; }

bool geoNearlyEqual(double a, double b) { return fabs(a - b) < 1e-8; }

// The unit arc of s degrees from angle 0, counter-clockwise on the screen.
void geoUnitArcBezier(double s, GeoPointF out[4])
{
    double k = sin(degToRad(s) * 0.36833);
    if (geoNearlyEqual(s, 90.0)) {
        out[0] = {1, 0};
        out[1] = {1, -k};
        out[2] = {k, -1};
        out[3] = {0, -1};
        return;
    }
    out[0] = {1, 0};
    out[1] = {1, -k};
    out[2] = {1, k};
    out[3] = {1, 0};
    geoRotatePointsF(out + 2, 2, degToRad(-s));
}

// The unit arc from a to b degrees.
int geoArcSegmentBezier(double a, double b, GeoPointF out[4])
{
    geoUnitArcBezier(b - a, out);
    geoRotatePointsF(out, 4, degToRad(-a));
    return 4;
}

// A polar angle in degrees to the parametric angle of the ellipse.
void geoPolarToParamAngle(double rx, double ry, double *a)
{
    if (geoNearlyEqual(*a, 0.0) || geoNearlyEqual(*a, 90.0))
        return;
    if (rx == 0.0) {
        // A flat ellipse has no parametric angle; keep the angle in range.
        *a = geoNormAngleDeg(*a);
        return;
    }
    double r = degToRad(*a);
    *a = geoAtan2Deg(sin(r), cos(r) * ry / rx);
}

}  // namespace

int64_t geoHalfManhattanLength(const POINT *pts, int16_t n)
{
    int64_t sum = 0;
    for (int i = 0; i + 1 < n; ++i)
        sum += llabs((int64_t)pts[i + 1].x - pts[i].x) + llabs((int64_t)pts[i + 1].y - pts[i].y);
    return sum / 2;
}

MemHandle geoFlattenBezierRes(const POINT *pts, int16_t n, int16_t *count, int32_t res)
{
    return flatten(pts, n, count, res, Measure::HalfManhattan);
}

MemHandle geoFlattenBezier(const POINT *pts, int16_t n, int16_t *count)
{
    int32_t res = dmGetPixelSize();
    return geoFlattenBezierRes(pts, n, count, res > 0 ? res : 15);
}

MemHandle geoFlattenBezierFine(const POINT *pts, int16_t n, int16_t *count)
{
    return flatten(pts, n, count, 1, Measure::LongestAxis);
}

BOOL gdiPolyBezier(HDC dc, const POINT *pts, int16_t n) { return drawFlattened(dc, pts, n, FALSE); }

BOOL gdiPolyBezierClosed(HDC dc, const POINT *pts, int16_t n)
{
    return drawFlattened(dc, pts, n, TRUE);
}

int geoBezierBounds(const POINT *pts, int16_t n, RECT *bounds)
{
    int16_t count = 0;
    MemHandle h = geoFlattenBezier(pts, n, &count);
    if (!h)
        return 0;
    {
        MemLock<POINT> flat(h);
        geoPointsBounds(flat.get(), count, bounds);
    }
    utFreeHandle(h);
    return 1;
}

int gdiBezierAllChords(HDC dc, const POINT *pts, int16_t n)
{
    for (int i = 0; i < n - 3; i += 3) {
        for (int j = i + 3; j < n - 3; j += 3) {
            MoveToEx(dc, pts[i].x, pts[i].y, nullptr);
            LineTo(dc, pts[j].x, pts[j].y);
        }
    }
    return 1;
}

MemHandle geoEllipseBezier(const RECT *rc, int16_t *count)
{
    MemHandle h = utAllocHandle(0, 13 * sizeof(POINT));
    if (!h) {
        *count = 0;
        return 0;
    }
    int32_t l = rc->left, t = rc->top, r = rc->right, b = rc->bottom;
    int32_t cx = (int32_t)(((int64_t)l + r) / 2), cy = (int32_t)(((int64_t)t + b) / 2);
    int32_t kx = geoRound(((double)r - l) * 0.2734375);
    int32_t ky = geoRound(((double)b - t) * 0.2734375);
    const POINT pts[13] = {{r, cy},      {r, cy - ky}, {cx + kx, t}, {cx, t},     {cx - kx, t},
                           {l, cy - ky}, {l, cy},      {l, cy + ky}, {cx - kx, b}, {cx, b},
                           {cx + kx, b}, {r, cy + ky}, {r, cy}};
    MemLock<POINT> out(h);
    for (int i = 0; i < 13; ++i)
        out[i] = pts[i];
    *count = 13;
    return h;
}

void geoRoundRectBezier(const RECT *rc, int32_t cornerW, int32_t cornerH, POINT out[25],
                        int16_t *count)
{
    int32_t l = rc->left, t = rc->top, r = rc->right, b = rc->bottom;
    int32_t qw = cornerW / 4, hw = cornerW / 2, qh = cornerH / 4, hh = cornerH / 2;
    const POINT pts[25] = {
        {r, t + hh},      {r, t + qh},      {r - qw, t},      {r - hw, t},  {r - hw, t},
        {l + hw, t},      {l + hw, t},      {l + qw, t},      {l, t + qh},  {l, t + hh},
        {l, t + hh},      {l, b - hh},      {l, b - hh},      {l, b - qh},  {l + qw, b},
        {l + hw, b},      {l + hw, b},      {r - hw, b},      {r - hw, b},  {r - qw, b},
        {r, b - qh},      {r, b - hh},      {r, b - hh},      {r, t + hh},  {r, t + hh},
    };
    for (int i = 0; i < 25; ++i)
        out[i] = pts[i];
    *count = 25;
}

MemHandle geoRoundRectBezierHandle(const RECT *r, int32_t cornerW, int32_t cornerH,
                                   int16_t *count)
{
    MemHandle h = utAllocHandle(0, 25 * sizeof(POINT));
    if (!h) {
        *count = 0;
        return 0;
    }
    MemLock<POINT> out(h);
    geoRoundRectBezier(r, cornerW, cornerH, out.get(), count);
    return h;
}

MemHandle geoArcBezier(const RECT *r, int16_t startTenths, int16_t endTenths, int16_t rotTenths,
                       int16_t *count)
{
    double rx = (int32_t)(((int64_t)r->right - r->left) / 2);
    double ry = (int32_t)(((int64_t)r->bottom - r->top) / 2);
    double a0 = startTenths * 0.1, a1 = endTenths * 0.1;
    geoPolarToParamAngle(rx, ry, &a0);
    geoPolarToParamAngle(rx, ry, &a1);
    double sweep = a1 - a0;
    if (a1 < a0)
        sweep += 360.0;
    if (abs(startTenths - endTenths) == 3600)
        sweep = 360.0;

    // At most four segments of up to 90 degrees; each after the first
    // shares the previous one's end point.
    GeoPointF pts[13];
    int16_t m = 0;
    double prev = 0.0, bound = 90.0;
    for (int i = 0; i < 4; ++i) {
        double end = prev;
        if (bound > prev) {
            end = bound < sweep ? bound : sweep;
            GeoPointF seg[4];
            geoArcSegmentBezier(prev, end, seg);
            for (int j = m == 0 ? 0 : 1; j < 4; ++j)
                pts[m++] = seg[j];
        }
        if (bound > sweep || geoNearlyEqual(bound, sweep))
            break;
        prev = end;
        bound += 90.0;
    }

    geoRotatePointsF(pts, m, degToRad(-a0));
    for (int16_t i = 0; i < m; ++i) {
        pts[i].x *= rx;
        pts[i].y *= ry;
    }
    if (rotTenths != 0)
        geoRotatePointsF(pts, m, geoTenthsToRadians(-rotTenths));

    MemHandle h = utAllocHandle(0, (uint32_t)m * sizeof(POINT));
    if (!h) {
        *count = 0;
        return 0;
    }
    MemLock<POINT> out(h);
    geoRoundPoints(out.get(), pts, m);
    POINT c;
    geoRectCentre(r, &c);
    geoOffsetPoints(out.get(), m, c.x, c.y);
    *count = m;
    return h;
}

MemHandle geoPieBezier(const RECT *r, int16_t startTenths, int16_t endTenths, int16_t rotTenths,
                       int16_t *count)
{
    *count = 0;
    int16_t m = 0;
    MemHandle arc = geoArcBezier(r, startTenths, endTenths, rotTenths, &m);
    if (!arc)
        return 0;
    MemHandle h = utAllocHandle(0, (uint32_t)(m + 6) * sizeof(POINT));
    if (h) {
        POINT c;
        geoRectCentre(r, &c);
        MemLock<POINT> a(arc);
        MemLock<POINT> out(h);
        int16_t k = 0;
        // A straight segment from the centre to the arc's start, the arc,
        // and a straight segment back to the centre.
        out[k++] = c;
        out[k++] = c;
        out[k++] = a[0];
        for (int16_t i = 0; i < m; ++i)
            out[k++] = a[i];
        out[k++] = a[m - 1];
        out[k++] = c;
        out[k++] = c;
        *count = k;
    }
    utFreeHandle(arc);
    return h;
}
