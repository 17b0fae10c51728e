// Rectangle and point geometry.
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include <math.h>

namespace {

int32_t minI(int32_t a, int32_t b) { return a < b ? a : b; }
int32_t maxI(int32_t a, int32_t b) { return a > b ? a : b; }

// Whether a < b < c.
bool between(int64_t a, int64_t b, int64_t c) { return a < b && b < c; }

// Start of a span of the given size placed in lo..hi: centred (halving
// toward zero), at the far end, or at lo.
int32_t placeSpan(int32_t lo, int32_t hi, int32_t size, bool centre, bool farEnd)
{
    if (centre)
        return (int32_t)(((int64_t)lo + hi - size) / 2);
    return farEnd ? hi - size : lo;
}

// from + (q - p) d / |q - p|, rounded; p when p = q.
void stepAlong(POINT from, POINT p, POINT q, double d, POINT *out)
{
    double len = sqrt(((double)q.x - p.x) * ((double)q.x - p.x) +
                      ((double)q.y - p.y) * ((double)q.y - p.y));
    if (len == 0.0) {
        *out = p;
        return;
    }
    out->x = geoRound(from.x + ((double)q.x - p.x) * d / len);
    out->y = geoRound(from.y + ((double)q.y - p.y) * d / len);
}

}  // namespace

// ---- rounding and scalars -----------------------------------------------

int32_t geoRound(double x)
{
    if (x != x)
        return 0;
    if (x >= 2147483647.0)
        return INT32_MAX;
    if (x <= -2147483648.0)
        return INT32_MIN;
    if (x > 0)
        return (int32_t)trunc(x + 0.5);
    return -(int32_t)trunc(0.5 - x);
}

double geoAtan2Deg(double y, double x)
{
    double a = atan2(y, x) * 180.0 / kGeoPi;
    while (a < 0)
        a += 360.0;
    while (a > 360.0)
        a -= 360.0;
    return a;
}

int32_t geoVectorLength(int32_t dx, int32_t dy)
{
    double x = dx, y = dy;
    return geoRound(sqrt(x * x + y * y));
}

double geoVectorLengthF(POINT v)
{
    double x = v.x, y = v.y;
    return sqrt(x * x + y * y);
}

int16_t geoNormAngle(int16_t tenths)
{
    int32_t a = tenths;
    while (a >= 3600)
        a -= 3600;
    while (a < 0)
        a += 3600;
    return (int16_t)a;
}

double geoNormAngleDeg(double degrees)
{
    if (!isfinite(degrees))
        return 0.0;
    // Far-out values are brought near first so that the loops stay short.
    if (fabs(degrees) > 36000.0)
        degrees = fmod(degrees, 360.0);
    while (degrees >= 360.0)
        degrees -= 360.0;
    while (degrees < 0)
        degrees += 360.0;
    return degrees;
}

// ---- rectangles -------------------------------------------------------------

RECT *geoSetRect(RECT *r, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    r->left = left;
    r->top = top;
    r->right = right;
    r->bottom = bottom;
    return r;
}

int geoCopyRect(RECT *dst, const RECT *src)
{
    *dst = *src;
    return 1;
}

void geoRectCopy(RECT *dst, const RECT *src) { *dst = *src; }

BOOL geoRectsEqual(const RECT *a, const RECT *b)
{
    return a->left == b->left && a->top == b->top && a->right == b->right &&
           a->bottom == b->bottom;
}

void geoRectSize(const RECT *r, int32_t *width, int32_t *height)
{
    *width = r->right - r->left;
    *height = r->bottom - r->top;
}

void geoRectCentre(const RECT *r, POINT *centre)
{
    centre->x = (int32_t)(((int64_t)r->left + r->right) >> 1);
    centre->y = (int32_t)(((int64_t)r->top + r->bottom) >> 1);
}

RECT *geoRectFromCentre(RECT *r, POINT centre, int32_t halfW, int32_t halfH)
{
    return geoSetRect(r, centre.x - halfW, centre.y - halfH, centre.x + halfW, centre.y + halfH);
}

RECT *geoRectFromCentreSize(RECT *r, POINT centre, int32_t w, int32_t h)
{
    r->left = centre.x - w / 2;
    r->right = r->left + w;
    r->top = centre.y - h / 2;
    r->bottom = r->top + h;
    return r;
}

void geoCentreRectAt(RECT *r, POINT centre)
{
    POINT c;
    geoRectCentre(r, &c);
    geoOffsetRect(r, centre.x - c.x, centre.y - c.y);
}

void geoCentreRectOn(RECT *r, const RECT *other)
{
    POINT c;
    geoRectCentre(other, &c);
    geoCentreRectAt(r, c);
}

RECT *geoOffsetRect(RECT *r, int32_t dx, int32_t dy)
{
    r->left += dx;
    r->right += dx;
    r->top += dy;
    r->bottom += dy;
    return r;
}

void geoInflateRect(RECT *r, int32_t dx, int32_t dy)
{
    r->left -= dx;
    r->right += dx;
    r->top -= dy;
    r->bottom += dy;
}

void geoApplyMargins(RECT *r, const RECT *margins, BOOL grow)
{
    int32_t sign = grow ? 1 : -1;
    r->left -= sign * margins->left;
    r->top -= sign * margins->top;
    r->right += sign * margins->right;
    r->bottom += sign * margins->bottom;
}

void geoTransposeRect(RECT *r)
{
    geoSetRect(r, r->top, r->left, r->bottom, r->right);
}

BOOL geoIntersectRect(RECT *dst, const RECT *a, const RECT *b)
{
    RECT ca = *a, cb = *b;
    return IntersectRect(dst, &ca, &cb);
}

BOOL geoRectsIntersect(const RECT *a, const RECT *b)
{
    RECT dummy;
    return geoIntersectRect(&dummy, a, b);
}

int geoUnionRect(RECT *dst, const RECT *a, const RECT *b)
{
    geoSetRect(dst, minI(a->left, b->left), minI(a->top, b->top), maxI(a->right, b->right),
               maxI(a->bottom, b->bottom));
    return 1;
}

BOOL geoPtInRect(const RECT *r, POINT pt)
{
    return r->left <= pt.x && pt.x <= r->right && r->top <= pt.y && pt.y <= r->bottom;
}

BOOL geoRectInRect(const RECT *inner, const RECT *outer)
{
    return inner->left >= outer->left && inner->left <= outer->right &&
           inner->right >= outer->left && inner->right <= outer->right &&
           inner->top >= outer->top && inner->top <= outer->bottom &&
           inner->bottom >= outer->top && inner->bottom <= outer->bottom;
}

BOOL geoRectIsFlat(const RECT *r) { return r->left == r->right || r->top == r->bottom; }

int geoHitRectEdge(const RECT *r, POINT pt, int32_t tol)
{
    // The bands are compared in 64 bits so that a wide tolerance near the
    // ends of the coordinate range cannot wrap around.
    int64_t x = pt.x, y = pt.y, t = tol;
    bool inX = r->left <= x && x <= r->right;
    bool inY = r->top <= y && y <= r->bottom;
    if (inX && r->top - t <= y && y <= r->top + t)
        return GEO_EDGE_TOP;
    if (inX && r->bottom - t <= y && y <= r->bottom + t)
        return GEO_EDGE_BOTTOM;
    if (inY && r->left - t <= x && x <= r->left + t)
        return GEO_EDGE_LEFT;
    if (inY && r->right - t <= x && x <= r->right + t)
        return GEO_EDGE_RIGHT;
    return GEO_EDGE_NONE;
}

BOOL geoPtInEllipse(const RECT *r, POINT pt)
{
    // Squares of 32-bit values multiplied together need up to 126 bits.
    __int128 a = (r->right - (int64_t)r->left) / 2;
    __int128 b = (r->bottom - (int64_t)r->top) / 2;
    __int128 x = pt.x, y = pt.y;
    return b * b * x * x + a * a * y * y < a * a * b * b;
}

void geoRectToCorners(const RECT *r, POINT corners[4])
{
    corners[0] = {r->left, r->top};
    corners[1] = {r->right, r->top};
    corners[2] = {r->right, r->bottom};
    corners[3] = {r->left, r->bottom};
}

void geoRectUpperTriangle(const RECT *r, POINT pts[3])
{
    pts[0] = {r->left, r->bottom};
    pts[1] = {r->left, r->top};
    pts[2] = {r->right, r->top};
}

void geoRectLowerTriangle(const RECT *r, POINT pts[3])
{
    pts[0] = {r->right, r->top};
    pts[1] = {r->right, r->bottom};
    pts[2] = {r->left, r->bottom};
}

int geoRectFromPoints(POINT p, POINT q, RECT *dst)
{
    geoSetRect(dst, minI(p.x, q.x), minI(p.y, q.y), maxI(p.x, q.x), maxI(p.y, q.y));
    return (p.x == q.x || p.y == q.y) ? 0 : 1;
}

void geoPointsBounds(const POINT *pts, int16_t n, RECT *dst)
{
    if (n <= 0) {
        geoSetRect(dst, 0, 0, 0, 0);
        return;
    }
    geoSetRect(dst, pts[0].x, pts[0].y, pts[0].x, pts[0].y);
    for (int16_t i = 1; i < n; ++i) {
        dst->left = minI(dst->left, pts[i].x);
        dst->top = minI(dst->top, pts[i].y);
        dst->right = maxI(dst->right, pts[i].x);
        dst->bottom = maxI(dst->bottom, pts[i].y);
    }
}

void geoPointsCentre(const POINT *pts, int16_t n, POINT *centre)
{
    RECT b;
    geoPointsBounds(pts, n, &b);
    geoRectCentre(&b, centre);
}

void geoRotatedRectBounds(RECT *r, double radians)
{
    POINT c[4];
    geoRectToCorners(r, c);
    geoRotatePoints(c, 4, radians);
    geoPointsBounds(c, 4, r);
}

void geoRotatedRectBoundsAbout(RECT *r, POINT centre, double radians)
{
    POINT c[4];
    geoRectToCorners(r, c);
    geoRotatePointsAbout(c, 4, centre, radians);
    geoPointsBounds(c, 4, r);
}

int geoQuadRectKind(const POINT p[4])
{
    bool horizontalFirst = p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y &&
                           p[3].x == p[0].x;
    bool verticalFirst = p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x &&
                         p[3].y == p[0].y;
    if (!horizontalFirst && !verticalFirst)
        return 0;
    int64_t w, h;
    if (horizontalFirst) {
        w = llabs((int64_t)p[1].x - p[0].x);
        h = llabs((int64_t)p[2].y - p[1].y);
    } else {
        h = llabs((int64_t)p[1].y - p[0].y);
        w = llabs((int64_t)p[2].x - p[1].x);
    }
    return w == h ? 1 : 2;
}

double geoMaxCornerDistance(const RECT *r, POINT pt)
{
    POINT c[4];
    geoRectToCorners(r, c);
    double best = 0.0;
    for (const POINT &corner : c) {
        double d = geoDistance(pt, corner);
        if (d > best)
            best = d;
    }
    return best;
}

void geoScaleRectAboutCentre(RECT *r, double sx, double sy)
{
    int32_t w, h;
    geoRectSize(r, &w, &h);
    int32_t nw = geoRound(w * sx), nh = geoRound(h * sy);
    POINT c;
    geoRectCentre(r, &c);
    geoSetRect(r, c.x - nw / 2, c.y - nh / 2, c.x + nw / 2, c.y + nh / 2);
}

void geoScaleRectToFit(RECT *r, const RECT *frame)
{
    int32_t w, h, fw, fh;
    geoRectSize(r, &w, &h);
    if (w == 0 || h == 0)
        return;
    geoRectSize(frame, &fw, &fh);
    double sx = (double)fw / w, sy = (double)fh / h;
    double s = sx < sy ? sx : sy;
    geoScaleRectAboutCentre(r, s, s);
}

void geoAlignRect(RECT *r, const RECT *frame, uint16_t align)
{
    int32_t w, h;
    geoRectSize(r, &w, &h);
    uint16_t hor = align & GEO_ALIGN_HMASK, ver = align & GEO_ALIGN_VMASK;
    r->left = placeSpan(frame->left, frame->right, w, hor == GEO_ALIGN_HCENTRE,
                        hor == GEO_ALIGN_RIGHT);
    r->right = r->left + w;
    r->top = placeSpan(frame->top, frame->bottom, h, ver == GEO_ALIGN_VCENTRE,
                       ver == GEO_ALIGN_BOTTOM);
    r->bottom = r->top + h;
}

void geoAlignRectTo(RECT *r, const RECT *frame, uint16_t align) { geoAlignRect(r, frame, align); }

void geoFitRect(RECT *r, const RECT *frame, uint16_t fitMode, uint16_t align)
{
    if (fitMode & GEO_FIT_FRAME) {
        *r = *frame;
        return;
    }
    int32_t w, h, fw, fh;
    geoRectSize(r, &w, &h);
    geoRectSize(frame, &fw, &fh);
    if (((fitMode & GEO_FIT_SHRINK) || fitMode == 0) && (w > fw || h > fh))
        geoScaleRectToFit(r, frame);
    if (fitMode & GEO_FIT_SCALE)
        geoScaleRectToFit(r, frame);
    geoAlignRect(r, frame, align);
}

void geoMapRectBetweenFrames(const RECT *from, const RECT *to, const RECT *r, RECT *out)
{
    int32_t w0, h0, w1, h1;
    geoRectSize(from, &w0, &h0);
    geoRectSize(to, &w1, &h1);
    POINT c0, c1, own;
    geoRectCentre(from, &c0);
    geoRectCentre(to, &c1);
    geoRectCentre(r, &own);
    int64_t dx = (int64_t)c1.x - c0.x, dy = (int64_t)c1.y - c0.y;
    *out = *r;
    if (w0 != 0) {
        out->left = (int32_t)((int64_t)out->left * w1 / w0);
        out->right = (int32_t)((int64_t)out->right * w1 / w0);
        dx = dx * w1 / w0;
    }
    if (h0 != 0) {
        out->top = (int32_t)((int64_t)out->top * h1 / h0);
        out->bottom = (int32_t)((int64_t)out->bottom * h1 / h0);
        dy = dy * h1 / h0;
    }
    geoCentreRectAt(out, own);
    geoOffsetRect(out, (int32_t)dx, (int32_t)dy);
}

// ---- points -----------------------------------------------------------------

BOOL geoPointsEqual(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    return x1 == x2 && y1 == y2;
}

void geoOffsetPoint(POINT *pt, int32_t dx, int32_t dy)
{
    pt->x += dx;
    pt->y += dy;
}

void geoOffsetPoints(POINT *pts, int16_t n, int32_t dx, int32_t dy)
{
    for (int16_t i = 0; i < n; ++i)
        geoOffsetPoint(&pts[i], dx, dy);
}

void geoAddPoint(POINT a, POINT b, POINT *out)
{
    out->x = a.x + b.x;
    out->y = a.y + b.y;
}

void geoSubPoint(POINT a, POINT b, POINT *out)
{
    out->x = a.x - b.x;
    out->y = a.y - b.y;
}

int64_t geoDotProduct(POINT a, POINT b)
{
    return (int64_t)a.x * b.x + (int64_t)a.y * b.y;
}

double geoDistance(POINT a, POINT b)
{
    if (a.x == b.x && a.y == b.y)
        return 0.0;
    double dx = (double)b.x - a.x, dy = (double)b.y - a.y;
    return sqrt(dx * dx + dy * dy);
}

void geoPolarPoint(double r, double degrees, POINT *out)
{
    double a = degrees * kGeoPi / 180.0;
    out->x = geoRound(r * cos(a));
    out->y = geoRound(-r * sin(a));
}

void geoPointAlong(POINT p, POINT q, double d, POINT *out) { stepAlong(p, p, q, d, out); }

void geoPointBeyond(POINT p, POINT q, double d, POINT *out) { stepAlong(q, p, q, d, out); }

void geoLerpPoint(POINT p, POINT q, double t, POINT *out)
{
    if (p.x == q.x && p.y == q.y) {
        *out = p;
        return;
    }
    out->x = geoRound(p.x + ((double)q.x - p.x) * t);
    out->y = geoRound(p.y + ((double)q.y - p.y) * t);
}

void geoProjectPoint(POINT p, POINT q, POINT r, POINT *out)
{
    double len = geoDistance(p, q);
    if (len == 0.0) {
        *out = p;
        return;
    }
    POINT pq, pr;
    geoSubPoint(q, p, &pq);
    geoSubPoint(r, p, &pr);
    geoPointAlong(p, q, (double)geoDotProduct(pq, pr) / len, out);
}

void geoPerpendicularAt(POINT p, POINT q, int32_t width, POINT out[2])
{
    double c, s;
    geoUnitVector(p, q, &c, &s);
    double h = (width - 1) * 0.5;
    out[0].x = geoRound(q.x - h * s);
    out[0].y = geoRound(q.y + h * c);
    out[1].x = geoRound(q.x + h * s);
    out[1].y = geoRound(q.y - h * c);
}

int geoVectorAngleCS(POINT a, POINT b, double *c, double *s)
{
    if ((a.x == 0 && a.y == 0) || (b.x == 0 && b.y == 0))
        return 0;
    if (a.x == b.x && a.y == b.y) {
        *c = 1.0;
        *s = 0.0;
        return 1;
    }
    if ((int64_t)a.x == -(int64_t)b.x && (int64_t)a.y == -(int64_t)b.y) {
        *c = -1.0;
        *s = 0.0;
        return 1;
    }
    double lens = geoVectorLengthF(a) * geoVectorLengthF(b);
    *c = (double)geoDotProduct(a, b) / lens;
    *s = ((double)a.y * b.x - (double)a.x * b.y) / lens;
    return 1;
}

int16_t geoPointOnLine(int32_t px, int32_t py, int32_t qx, int32_t qy, int32_t tx, int32_t ty)
{
    // Paeth's fast point-on-line test; the cross product needs more than
    // 64 bits for coordinates spanning the whole 32-bit range.
    int64_t dqx = (int64_t)qx - px, dqy = (int64_t)qy - py;
    int64_t dtx = (int64_t)tx - px, dty = (int64_t)ty - py;
    __int128 cross = (__int128)dqy * dtx - (__int128)dty * dqx;
    if (cross < 0)
        cross = -cross;
    int64_t span = llabs(dqx) > llabs(dqy) ? llabs(dqx) : llabs(dqy);
    if (cross >= span)
        return 0;
    if (between(qx, px, tx) || between(qy, py, ty) || between(tx, px, qx) || between(ty, py, qy))
        return 1;
    if (between(px, qx, tx) || between(py, qy, ty) || between(tx, qx, px) || between(ty, qy, py))
        return 3;
    return 2;
}

int16_t geoPointOnLineTol(int32_t px, int32_t py, int32_t qx, int32_t qy, int32_t tx,
                          int32_t ty, int32_t tol)
{
    if (tol <= 0)
        return geoPointOnLine(px, py, qx, qy, tx, ty);
    double f = 0.5 / tol;
    return geoPointOnLine(geoRound(px * f), geoRound(py * f), geoRound(qx * f), geoRound(qy * f),
                          geoRound(tx * f), geoRound(ty * f));
}

void geoScalePoints(POINT *pts, int16_t n, double sx, double sy)
{
    for (int16_t i = 0; i < n; ++i) {
        pts[i].x = geoRound(pts[i].x * sx);
        pts[i].y = geoRound(pts[i].y * sy);
    }
}

void geoGrowPoints(POINT *pts, int16_t n, int32_t dx, int32_t dy)
{
    RECT b;
    geoPointsBounds(pts, n, &b);
    POINT c;
    geoRectCentre(&b, &c);
    int32_t w, h;
    geoRectSize(&b, &w, &h);
    geoInflateRect(&b, dx, dy);
    if (w < 1 || h < 1 || b.right <= b.left || b.bottom <= b.top)
        return;
    double sx = (double)(b.right - b.left) / w, sy = (double)(b.bottom - b.top) / h;
    geoOffsetPoints(pts, n, -c.x, -c.y);
    geoScalePoints(pts, n, sx, sy);
    geoOffsetPoints(pts, n, c.x, c.y);
}

void geoMapPointsToSegment(POINT *pts, int16_t n, const POINT seg[2], const POINT newSeg[2])
{
    POINT p = seg[0], q = seg[1], p2 = newSeg[0], q2 = newSeg[1];
    if ((p.x == q.x && p.y == q.y) || (p2.x == q2.x && p2.y == q2.y))
        return;
    double scale = geoDistance(p2, q2) / geoDistance(p, q);
    geoOffsetPoints(pts, n, -p.x, -p.y);
    POINT v, v2;
    geoSubPoint(p, q, &v);
    geoSubPoint(p2, q2, &v2);
    double c, s;
    // Lay the segment along the x axis, stretch along it, and turn it back.
    if (geoVectorAngleCS(v, POINT{100, 0}, &c, &s)) {
        geoRotatePointsCS(pts, n, c, -s);
        geoScalePoints(pts, n, scale, 1.0);
        geoRotatePointsCS(pts, n, c, s);
    }
    // Turn with the segment.
    if (geoVectorAngleCS(v, v2, &c, &s))
        geoRotatePointsCS(pts, n, c, -s);
    geoOffsetPoints(pts, n, p2.x, p2.y);
}
