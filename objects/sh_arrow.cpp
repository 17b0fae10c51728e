// The arrow object and the arrow-family shape codes.
#include "objects/sh_arrow.h"
#include "objects/fil_fill.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_transform.h"
#include "support/gdi_draw.h"
#include "support/geo_bezier.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <math.h>
#include <string.h>
#include <algorithm>
#include <initializer_list>

uint32_t shArrowSize(ObjectRecord *rec)
{
    rec->length = obDataOffset(rec) + kObArrowDataSize + obFillDataSize(rec->fillKind);
    return rec->length;
}

void shArrowOutline(ObjectRecord *rec)
{
    if (!rec || obDataOffset(rec) + kObArrowDataSize > rec->length)
        return;
    uint8_t *d = obRecData(rec);
    POINT tail, head;
    int32_t angles[2], widths[2];
    memcpy(&tail, d + 6, 8);
    memcpy(&head, d + 14, 8);
    memcpy(angles, d + 22, 8);
    memcpy(widths, d + 30, 8);
    int32_t a = widths[0], b = widths[1];
    if (a <= 0 || b <= 0)
        return;
    int32_t tipA = angles[0], backB = angles[1];
    if (tipA >= 90 || tipA <= 0)
        tipA = 30;
    if (backB >= 90 || backB <= 0)
        backB = 90;
    if (backB <= tipA)
        backB = 2 * tipA;

    double dx = (double)tail.x - head.x, dy = (double)tail.y - head.y;
    int32_t len = (int32_t)sqrt(dx * dx + dy * dy);
    RECT axis;
    geoRectFromPoints(tail, head, &axis);
    POINT mid;
    mid.x = (int32_t)(((int64_t)axis.left + axis.right) / 2);
    mid.y = (int32_t)(((int64_t)axis.top + axis.bottom) / 2);

    int32_t k1 = geoRound(a / tan((180 - tipA) * kGeoPi / 180));
    int32_t k2 = geoRound((a - b) / tan((180 - backB) * kGeoPi / 180));
    POINT p[7];
    p[0] = {-(len / 2), 0};
    p[1] = {p[0].x - k1, a};
    p[6] = {p[1].x, -a};
    p[2] = {p[1].x + k2, b};
    p[5] = {p[2].x, -b};
    p[3] = {len / 2, b};
    p[4] = {len / 2, -b};
    double c, s;
    geoUnitVector(head, tail, &c, &s);
    geoRotatePointsCS(p, 7, c, s);
    for (POINT &q : p) {
        q.x += mid.x;
        q.y += mid.y;
    }
    memcpy(d + 38, p, sizeof p);
}

namespace {

// The axis points (+6, +14) and the outline (+38): nine points in a row of
// the type data, each negated on one axis.
void flipPoints(ObjectRecord *rec, bool horizontal)
{
    if (!rec || obDataOffset(rec) + kObArrowDataSize > rec->length)
        return;
    uint8_t *d = obRecData(rec);
    POINT p[9];
    memcpy(p, d + 6, 16);
    memcpy(p + 2, d + 38, 56);
    for (POINT &q : p) {
        if (horizontal)
            q.x = -q.x;
        else
            q.y = -q.y;
    }
    memcpy(d + 6, p, 16);
    memcpy(d + 38, p + 2, 56);
}

}  // namespace

void shArrowDrawnRect(const ObjectRecord *rec, RECT *r)
{
    if (!rec || !r)
        return;
    obRecGetRect(rec, r);
    if (obDataOffset(rec) + kObArrowDataSize > rec->length)
        return;
    POINT p[7];
    memcpy(p, reinterpret_cast<const uint8_t *>(rec) + obDataOffset(rec) + 38, sizeof p);
    geoOffsetPoints(p, 7, rec->centreX, rec->centreY);
    geoPointsBounds(p, 7, r);
    int32_t w = ((int32_t)rec->penWidth + 1) / 2;
    geoInflateRect(r, w, w);
}

void shArrowFlipH(ObjectRecord *rec) { flipPoints(rec, true); }
void shArrowFlipV(ObjectRecord *rec) { flipPoints(rec, false); }

// ---- the arrow object ---------------------------------------------------------------------------

namespace {

bool hasArrowData(const ObjectRecord *rec)
{
    return rec && rec->type == OBT_ARROW &&
           (uint64_t)obDataOffset(rec) + kObArrowDataSize <= rec->length;
}

const uint8_t *arrowData(const ObjectRecord *rec)
{
    return reinterpret_cast<const uint8_t *>(rec) + obDataOffset(rec);
}

// The outline relative to the centre, turned by a rotation other than 0.
void turnedOutline(const ObjectRecord *rec, POINT p[7])
{
    memcpy(p, arrowData(rec) + 38, 7 * sizeof(POINT));
    if (rec->rotation)
        geoRotatePoints(p, 7, geoTenthsToRadians(-(double)rec->rotation));
}

void outlineFigure(HDC dc, const ObjectRecord *rec)
{
    POINT p[7];
    turnedOutline(rec, p);
    geoOffsetPoints(p, 7, rec->centreX, rec->centreY);
    gdiPolygon(dc, p, 7);
}

int32_t clampedTrunc(double v)
{
    return (int32_t)std::max(-2147483647.0, std::min(2147483647.0, v));
}

}  // namespace

void shArrowDraw(HDC dc, ObjectRecord *rec)
{
    if (dc && hasArrowData(rec))
        filDrawClosedShape(dc, rec, [rec](HDC d) { outlineFigure(d, rec); });
}

int shArrowOutlineDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !hasArrowData(rec))
        return 0;
    POINT p[8];
    turnedOutline(rec, p);
    geoOffsetPoints(p, 7, rec->centreX, rec->centreY);
    p[7] = p[0];
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    gdiPolyline(dc, p, 8);
    obRestoreDCModes(dc, &modes);
    return 1;
}

MemHandle shArrowPoints(ObjectRecord *rec, int16_t *count)
{
    if (count)
        *count = 0;
    if (!hasArrowData(rec))
        return 0;
    POINT p[7];
    turnedOutline(rec, p);
    MemHandle h = utHandleFromBytes(p, sizeof p);
    if (count && h)
        *count = 7;
    return h;
}

BOOL shArrowGetAxis(const ObjectRecord *rec, POINT axis[2])
{
    if (!hasArrowData(rec) || !axis)
        return FALSE;
    memcpy(axis, arrowData(rec) + 6, 2 * sizeof(POINT));
    geoOffsetPoints(axis, 2, rec->centreX, rec->centreY);
    return TRUE;
}

BOOL shArrowGetAxis(MemHandle h, POINT axis[2])
{
    ObLock r(h);
    return r ? shArrowGetAxis(r.get(), axis) : FALSE;
}

void shArrowBounds(ObjectRecord *rec, RECT *r)
{
    if (!hasArrowData(rec)) {
        if (rec && r)
            obRecGetRect(rec, r);
        return;
    }
    shArrowOutline(rec);
    uint8_t *d = obRecData(rec);
    POINT p[9];   // the axis, then the outline
    memcpy(p, d + 6, 16);
    memcpy(p + 2, d + 38, 56);
    RECT box;
    geoRectFromPoints(p[0], p[1], &box);
    geoOffsetRect(&box, rec->centreX, rec->centreY);
    POINT old = {rec->centreX, rec->centreY};
    obRecSetRect(rec, &box);
    geoOffsetPoints(p, 9, old.x - rec->centreX, old.y - rec->centreY);
    memcpy(d + 6, p, 16);
    memcpy(d + 38, p + 2, 56);
    if (r)
        *r = box;
}

BOOL shArrowBounds(MemHandle h, RECT *r)
{
    ObLock rec(h);
    if (!rec) {
        if (r)
            geoSetRect(r, 0, 0, 0, 0);
        return FALSE;
    }
    RECT out;
    shArrowBounds(rec.get(), &out);
    if (r)
        *r = out;
    return TRUE;
}

void shArrowRescale(MemHandle h, const RECT *target)
{
    ObLock r(h);
    if (!r || !target || !hasArrowData(r.get()))
        return;
    ObjectRecord *rec = r.get();
    double tw = (double)target->right - target->left, th = (double)target->bottom - target->top;
    double sx = rec->width ? tw / rec->width : 1.0;
    double sy = rec->height ? th / rec->height : 1.0;
    uint8_t *d = obRecData(rec);
    POINT axis[2];
    memcpy(axis, d + 6, sizeof axis);
    for (POINT &p : axis) {
        p.x = clampedTrunc(p.x * sx);
        p.y = clampedTrunc(p.y * sy);
    }
    memcpy(d + 6, axis, sizeof axis);
    int32_t widths[2];
    memcpy(widths, d + 30, sizeof widths);
    double mean = (sx + sy) / 2;
    for (int32_t &w : widths)
        w = geoRound(std::max(-2147483647.0, std::min(2147483647.0, w * mean)));
    memcpy(d + 30, widths, sizeof widths);
    POINT c;
    geoRectCentre(target, &c);
    rec->centreX = c.x;
    rec->centreY = c.y;
    shArrowBounds(rec, nullptr);
}

void shArrowRotate(MemHandle h, POINT pt, int16_t angle)
{
    ObLock r(h);
    if (!r || !hasArrowData(r.get()))
        return;
    ObjectRecord *rec = r.get();
    int32_t n = obNormaliseAngle((int32_t)rec->rotation + angle);
    rec->rotation = 0;
    if (n == 0)
        return;
    uint8_t *d = obRecData(rec);
    POINT axis[2];
    memcpy(axis, d + 6, sizeof axis);
    geoOffsetPoints(axis, 2, rec->centreX, rec->centreY);
    geoRotatePointsAbout(axis, 2, pt, geoTenthsToRadians(-(double)n));
    geoOffsetPoints(axis, 2, -rec->centreX, -rec->centreY);
    memcpy(d + 6, axis, sizeof axis);
    shArrowBounds(rec, nullptr);
}

// ---- new arrows ---------------------------------------------------------------------------------

namespace {

// Defaults of new arrows.
int32_t g_arrowHeadHalfWidth = 240;
int32_t g_arrowShaftHalfWidth = 80;
int32_t g_arrowTipAngle = 30;
int32_t g_arrowBackAngle = 60;

// The arrow's axis from two page points: their bounding box becomes the
// record's box, the points are stored relative to its centre.
void setArrowAxis(ObjectRecord *r, const POINT pts[2])
{
    RECT box;
    geoRectFromPoints(pts[0], pts[1], &box);
    obRecSetRect(r, &box);
    int32_t axis[4] = {pts[0].x - r->centreX, pts[0].y - r->centreY, pts[1].x - r->centreX,
                       pts[1].y - r->centreY};
    memcpy(obRecData(r) + 6, axis, sizeof axis);
}

}  // namespace

void obInitArrowDefaults()
{
    g_arrowHeadHalfWidth = 240;
    g_arrowShaftHalfWidth = 80;
    g_arrowTipAngle = 30;
    g_arrowBackAngle = 60;
}

MemHandle obMakeArrowRecord(MemHandle h, const POINT pts[2])
{
    uint32_t size;
    {
        ObLock r(h);
        if (!r || r->type != OBT_ARROW || !pts)
            return 0;
        size = obDataOffset(r.get()) + kObArrowDataSize + obFillDataSize(r->fillKind);
    }
    MemHandle g = obResize(h, size);
    if (!g)
        return 0;
    ObLock r(g);
    uint8_t *data = obRecData(r.get());
    memset(data, 0, kObArrowDataSize);
    int32_t angles[2] = {g_arrowTipAngle, g_arrowBackAngle};
    int32_t widths[2] = {g_arrowHeadHalfWidth, g_arrowShaftHalfWidth};
    memcpy(data + 22, angles, sizeof angles);
    memcpy(data + 30, widths, sizeof widths);
    setArrowAxis(r.get(), pts);
    shArrowOutline(r.get());
    return g;
}

MemHandle obSetArrowEnds(MemHandle h, const POINT pts[2])
{
    ObLock r(h);
    // The arrow's data must lie within its block as well as its length.
    if (!r || !hasArrowData(r.get()) || obDataOffset(r.get()) + kObArrowDataSize > r.blockSize() ||
        !pts)
        return 0;
    setArrowAxis(r.get(), pts);
    shArrowOutline(r.get());
    return h;
}

// ---- arrow-family shape codes ----------------------------------------------------------------------

namespace {

ShObjectFactory g_factory = nullptr;

struct CodeRect {
    int32_t l, t, r, b, w, h, cx, cy;
};

CodeRect codeRect(const RECT *rc)
{
    CodeRect c;
    c.l = rc->left;
    c.t = rc->top;
    c.r = rc->right;
    c.b = rc->bottom;
    c.w = c.r - c.l;
    c.h = c.b - c.t;
    c.cx = (int32_t)(((int64_t)c.l + c.r) / 2);
    c.cy = (int32_t)(((int64_t)c.t + c.b) / 2);
    return c;
}

int16_t put(POINT *out, std::initializer_list<POINT> pts)
{
    int16_t n = 0;
    for (const POINT &p : pts)
        out[n++] = p;
    return n;
}

int16_t blockArrowRight(const CodeRect &c, double f1, double f2, POINT *out)
{
    int32_t xh = c.l + geoRound(c.w * f1), d = geoRound(c.h * f2);
    return put(out, {{c.r, c.cy}, {xh, c.t}, {xh, c.t + d}, {c.l, c.t + d}, {c.l, c.b - d},
                     {xh, c.b - d}, {xh, c.b}});
}

int16_t blockArrowDown(const CodeRect &c, double f1, double f2, POINT *out)
{
    int32_t yh = c.t + geoRound(c.h * f1), d = geoRound(c.w * f2);
    return put(out, {{c.cx, c.b}, {c.r, yh}, {c.r - d, yh}, {c.r - d, c.t}, {c.l + d, c.t},
                     {c.l + d, yh}, {c.l, yh}});
}

int16_t cross(const CodeRect &c, double f, POINT *out)
{
    int32_t dx = geoRound(c.w * f), dy = geoRound(c.h * f);
    return put(out, {{c.l, c.t + dy}, {c.l, c.b - dy}, {c.l + dx, c.b - dy}, {c.l + dx, c.b},
                     {c.r - dx, c.b}, {c.r - dx, c.b - dy}, {c.r, c.b - dy}, {c.r, c.t + dy},
                     {c.r - dx, c.t + dy}, {c.r - dx, c.t}, {c.l + dx, c.t},
                     {c.l + dx, c.t + dy}});
}

// The callout: the rounded rectangle over the top four fifths, with the
// pointer's three straight segments spliced into its bottom edge.
int16_t callout(const CodeRect &c, POINT *out)
{
    int32_t fifth = c.h / 5;
    RECT body = {c.l, c.t, c.r, c.b - fifth};
    int32_t corner = std::min(c.w, c.h - fifth) / 8;
    POINT round[25];
    int16_t n = 0;
    geoRoundRectBezier(&body, corner, corner, round, &n);
    int16_t k = 0;
    for (int i = 0; i < 17; ++i)
        out[k++] = round[i];
    const POINT tip[3] = {{c.r - c.w / 3, c.b - fifth}, {c.r - c.w / 8, c.b},
                          {c.r - c.w / 4, c.b - fifth}};
    for (const POINT &p : tip)
        for (int i = 0; i < 3; ++i)
            out[k++] = p;
    for (int i = 17; i < 25; ++i)
        out[k++] = round[i];
    return k;
}

}  // namespace

int shArrowShapePoints(const RECT *rect, int16_t code, POINT *pts, int16_t *count)
{
    if (count)
        *count = 0;
    if (!rect || !pts)
        return 0;
    const CodeRect c = codeRect(rect);
    const int32_t q = c.w / 4, s = c.h / 4;
    int16_t n = 0;
    switch (code) {
    case 13: n = put(pts, {{c.cx, c.b}, {c.l, c.cy}, {c.cx, c.t}, {c.r, c.cy}}); break;
    case 400: n = blockArrowRight(c, 0.6, 0.25, pts); break;
    case 431: n = blockArrowRight(c, 0.6, 0.35, pts); break;
    case 432: n = blockArrowRight(c, 0.75, 0.35, pts); break;
    case 401: n = blockArrowDown(c, 0.6, 0.25, pts); break;
    case 441: n = blockArrowDown(c, 0.6, 0.35, pts); break;
    case 442: n = blockArrowDown(c, 0.75, 0.35, pts); break;
    case 405: n = put(pts, {{c.l, c.t}, {c.l, c.b}, {c.r, c.b}}); break;
    case 406: n = cross(c, 0.25, pts); break;
    case 421: n = cross(c, 0.35, pts); break;
    case 422: n = cross(c, 0.45, pts); break;
    case 407: n = put(pts, {{c.l, c.b}, {c.l + c.w / 4, c.t}, {c.r - c.w / 4, c.t}, {c.r, c.b}}); break;
    case 408: n = callout(c, pts); break;
    case 409:
        n = put(pts, {{c.r, c.cy}, {c.r - q, c.t}, {c.r - q, c.t + s}, {c.l + q, c.t + s},
                      {c.l + q, c.t}, {c.l, c.cy}, {c.l + q, c.b}, {c.l + q, c.b - s},
                      {c.r - q, c.b - s}, {c.r - q, c.b}});
        break;
    case 410:
        n = put(pts, {{c.cx, c.t}, {c.l, c.t + s}, {c.l + q, c.t + s}, {c.l + q, c.b - s},
                      {c.l, c.b - s}, {c.cx, c.b}, {c.r, c.b - s}, {c.r - q, c.b - s},
                      {c.r - q, c.t + s}, {c.r, c.t + s}});
        break;
    case 480: n = put(pts, {{c.l, c.b}, {c.l + c.w / 2, c.t}, {c.r, c.b}}); break;
    case 481: n = put(pts, {{c.l, c.t}, {c.r, c.t + c.h / 2}, {c.l, c.b}}); break;
    default:
        return 0;
    }
    if (count)
        *count = n;
    return 1;
}

int shIsArrowShapeCode(int16_t code)
{
    switch (code) {
    case 400: case 401: case 405: case 406: case 407: case 409: case 410: case 421:
    case 422: case 431: case 432: case 441: case 442: case 480: case 481:
        return 1;
    default:
        return 0;
    }
}

void shSetObjectFactory(ShObjectFactory factory) { g_factory = factory; }
ShObjectFactory shGetObjectFactory() { return g_factory; }

MemHandle shCreateFromShapeCode(MemHandle h, const RECT *rect, int16_t code)
{
    POINT pts[kShShapeCodeMaxPoints];
    int16_t n = 0;
    if (!g_factory || !shArrowShapePoints(rect, code, pts, &n) || n <= 0)
        return 0;
    return g_factory(h, code == 408 ? OBT_CLOSED_CURVE : OBT_POLYGON, pts, (uint16_t)n);
}

void shDrawShapeCode(HDC dc, const RECT *rect, int16_t code)
{
    POINT pts[kShShapeCodeMaxPoints];
    int16_t n = 0;
    if (dc && shArrowShapePoints(rect, code, pts, &n) && n > 0)
        gdiPolygon(dc, pts, n);
}
