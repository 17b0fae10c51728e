// Arcs and pies: size, drawing, outlines, points, bounds, rescaling,
// rotating, mirroring and the conversions to curves.
#include "objects/sh_arc.h"
#include "objects/fil_fill.h"
#include "objects/sh_box.h"
#include "objects/sh_curve.h"
#include "objects/sh_points.h"
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
#include <vector>

namespace {

struct ArcGeometry {
    int32_t width, height, offsetX, offsetY;
    int16_t start, end;
};

bool hasGeometry(const ObjectRecord *rec)
{
    return rec && (rec->type == OBT_ARC || rec->type == OBT_PIE) &&
           (uint64_t)obDataOffset(rec) + kShArcGeometry <= rec->length;
}

// The stored geometry; from the head's size (no offset, the whole ellipse)
// when the record is too short for it.
ArcGeometry readGeometry(const ObjectRecord *rec)
{
    ArcGeometry g = {rec->width, rec->height, 0, 0, 0, 3600};
    if (!hasGeometry(rec))
        return g;
    const uint8_t *d = reinterpret_cast<const uint8_t *>(rec) + obDataOffset(rec);
    memcpy(&g.width, d, 4);
    memcpy(&g.height, d + 4, 4);
    memcpy(&g.offsetX, d + 8, 4);
    memcpy(&g.offsetY, d + 12, 4);
    memcpy(&g.start, d + 16, 2);
    memcpy(&g.end, d + 18, 2);
    return g;
}

void writeGeometry(ObjectRecord *rec, const ArcGeometry &g)
{
    if (!hasGeometry(rec))
        return;
    uint8_t *d = obRecData(rec);
    memcpy(d, &g.width, 4);
    memcpy(d + 4, &g.height, 4);
    memcpy(d + 8, &g.offsetX, 4);
    memcpy(d + 12, &g.offsetY, 4);
    memcpy(d + 16, &g.start, 2);
    memcpy(d + 18, &g.end, 2);
}

// The ellipse box about a centre.
RECT boxAbout(const ArcGeometry &g, int32_t cx, int32_t cy)
{
    RECT b;
    b.left = (LONG)(cx - g.width / 2);
    b.right = (LONG)(b.left + g.width);
    b.top = (LONG)(cy - g.height / 2);
    b.bottom = (LONG)(b.top + g.height);
    return b;
}

bool isPie(const ObjectRecord *rec) { return rec->type == OBT_PIE; }

// The angles a figure is built from. Equal angles are the whole ellipse;
// a pie then runs 0 to 3600, which has no centre point.
void figureAngles(const ObjectRecord *rec, const ArcGeometry &g, int16_t *s, int16_t *e)
{
    *s = g.start;
    *e = g.end;
    if (g.start == g.end && isPie(rec)) {
        *s = 0;
        *e = 3600;
    }
}

// The angles of the control points: equal angles run a whole turn from the
// start (the curve builder takes a difference of 3600 as the full ellipse).
void curveAngles(const ArcGeometry &g, int16_t *s, int16_t *e)
{
    *s = g.start;
    *e = g.start == g.end ? (int16_t)(g.start + 3600) : g.end;
}

// The flattened piece of the ellipse box: a polyline (arc) or polygon (pie).
MemHandle flatPiece(const ObjectRecord *rec, const RECT *box, int16_t *n)
{
    ArcGeometry g = readGeometry(rec);
    int16_t s, e;
    figureAngles(rec, g, &s, &e);
    return isPie(rec) ? geoPiePolygon(box, s, e, (int16_t)rec->rotation, n)
                      : geoArcPolyline(box, s, e, (int16_t)rec->rotation, n);
}

// The figure with the DC's pen (and brush).
void figure(HDC dc, const ObjectRecord *rec)
{
    RECT box;
    shArcEllipseBox(rec, &box, nullptr);
    ArcGeometry g = readGeometry(rec);
    int16_t s, e;
    figureAngles(rec, g, &s, &e);
    if (isPie(rec))
        gdiPieRotated(dc, &box, s, e, (int16_t)rec->rotation);
    else
        gdiArcRotated(dc, &box, s, e, (int16_t)rec->rotation);
}

double radiansOf(int32_t tenths) { return geoTenthsToRadians(-(double)tenths); }

int32_t truncated(double v)
{
    return (int32_t)std::max(-2147483647.0, std::min(2147483647.0, v));
}

// The horizontal (vertical) mirror of an angle: 1800 - a (0 stays 0 and
// 3600 - a vertically), brought into 0..3599 by one turn.
int16_t mirrored(int32_t a, bool horizontal)
{
    return (int16_t)(horizontal ? obMirrorAngleH(a) : obMirrorAngleV(a));
}

void flip(ObjectRecord *rec, bool horizontal)
{
    if (!hasGeometry(rec))
        return;
    ArcGeometry g = readGeometry(rec);
    int16_t s = g.start, e = g.end;
    if (rec->rotation) {
        rec->rotation = (uint16_t)mirrored(rec->rotation, horizontal);
        g.start = (int16_t)obNormaliseAngle(-(int32_t)e);
        g.end = (int16_t)obNormaliseAngle(-(int32_t)s);
    } else {
        g.start = mirrored(e, horizontal);
        g.end = mirrored(s, horizontal);
    }
    if (horizontal)
        g.offsetX = -g.offsetX;
    else
        g.offsetY = -g.offsetY;
    writeGeometry(rec, g);
}

MemHandle toCurve(MemHandle h, bool pie)
{
    std::vector<POINT> pts;
    uint32_t oldLength;
    {
        ObLock r(h);
        if (!r || r->type != (pie ? OBT_PIE : OBT_ARC) || !hasGeometry(r.get()))
            return 0;
        oldLength = std::min(r->length, r.blockSize());
        int16_t n = 0;
        MemHandle cp = shArcPiePoints(r.get(), &n);
        if (!cp || n <= 0) {
            utFreeHandle(cp);
            return 0;
        }
        {
            MemLock<POINT> p(cp);
            pts.assign(p.get(), p.get() + n);
        }
        utFreeHandle(cp);
    }
    const int16_t n = (int16_t)pts.size();
    const uint32_t newLength = oldLength + 8 * (uint32_t)n - 18;
    MemHandle g = h;
    if (newLength > oldLength) {
        g = obResize(h, newLength);
        if (!g)
            return 0;
    }
    ObLock r(g);
    ObjectRecord *rec = r.get();
    uint8_t *d = obRecData(rec);
    // The fill block (a pie's) moves from behind the 20 bytes of geometry
    // to behind the points.
    uint32_t tail = oldLength - obDataOffset(rec) - kShArcGeometry;
    memmove(d + 2 + 8 * (size_t)n, d + kShArcGeometry, tail);
    memcpy(d, &n, 2);
    memcpy(d + 2, pts.data(), 8 * (size_t)n);
    rec->type = pie ? OBT_CLOSED_CURVE : OBT_BEZIER;
    rec->rotation = 0;
    rec->length = newLength;
    return g;
}

MemHandle rescale(MemHandle h, const RECT *target, bool pie)
{
    uint16_t rotation;
    {
        ObLock r(h);
        if (!r || !target)
            return 0;
        int32_t tw = (int32_t)std::min<int64_t>(llabs((int64_t)target->right - target->left), INT32_MAX);
        int32_t th = (int32_t)std::min<int64_t>(llabs((int64_t)target->bottom - target->top), INT32_MAX);
        if (tw == r->width && th == r->height) {
            obRecSetRect(r.get(), target);
            return h;
        }
        rotation = r->rotation;
    }
    if (rotation) {
        MemHandle c = pie ? shPieToCurve(h) : shArcToCurve(h);
        if (c)
            shCurveRescale(c, target);
        return c;
    }
    ObLock r(h);
    ObjectRecord *rec = r.get();
    if (!hasGeometry(rec)) {
        obRecSetRect(rec, target);
        return h;
    }
    double tw = (double)target->right - target->left, th = (double)target->bottom - target->top;
    // A side of no size keeps its scale.
    double sx = rec->width ? fabs(tw) / rec->width : 1.0;
    double sy = rec->height ? fabs(th) / rec->height : 1.0;
    ArcGeometry g = readGeometry(rec);
    RECT b;
    shArcLocalEllipseBox(rec, &b);
    RECT b2 = {truncated(b.left * sx), truncated(b.top * sy), truncated(b.right * sx),
               truncated(b.bottom * sy)};
    int16_t *angles[2] = {&g.start, &g.end};
    for (int16_t *a : angles) {
        POINT p;
        geoEllipsePointAt(&b, *a, &p);
        POINT q = {truncated(p.x * sx), truncated(p.y * sy)};
        *a = (int16_t)truncated(10 * geoAngleInRect(&b2, q.x, q.y));
    }
    g.width = truncated(g.width * sx);
    g.height = truncated(g.height * sy);
    g.offsetX = truncated(g.offsetX * sx);
    g.offsetY = truncated(g.offsetY * sy);
    writeGeometry(rec, g);
    obRecSetRect(rec, target);
    RECT bounds;
    shArcPieBounds(rec, &bounds);
    return h;
}

}  // namespace

// ---- geometry ---------------------------------------------------------------------------------

void shArcEllipseBox(const ObjectRecord *rec, RECT *box, POINT *centre)
{
    if (!rec || !box)
        return;
    ArcGeometry g = readGeometry(rec);
    POINT e = {(LONG)(rec->centreX + g.offsetX), (LONG)(rec->centreY + g.offsetY)};
    *box = boxAbout(g, e.x, e.y);
    if (centre)
        *centre = e;
}

void shArcLocalEllipseBox(const ObjectRecord *rec, RECT *box)
{
    if (!rec || !box)
        return;
    ArcGeometry g = readGeometry(rec);
    *box = boxAbout(g, g.offsetX, g.offsetY);
}

// ---- size ------------------------------------------------------------------------------------

uint32_t shArcSize(ObjectRecord *rec)
{
    if (!rec)
        return 0;
    rec->length = obDataOffset(rec) + kShArcGeometry;
    return rec->length;
}

uint32_t shPieSize(ObjectRecord *rec)
{
    if (!rec)
        return 0;
    rec->length = obDataOffset(rec) + kShArcGeometry + obFillDataSize(rec->fillKind);
    return rec->length;
}

uint32_t shArcRecordSize(ObjectRecord *rec)
{
    if (!rec)
        return 0;
    return isPie(rec) ? shPieSize(rec) : shArcSize(rec);
}

// ---- drawing -----------------------------------------------------------------------------------

void shArcDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    GdiObject<HPEN> pen(CreatePen(gdiLineStylePen(rec->lineStyle), obGetDrawnPenWidth(rec),
                                  rec->penColour));
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    {
        GdiSelect selPen(dc, pen);
        figure(dc, rec);
    }
    obRestoreDCModes(dc, &modes);
}

void shPieDraw(HDC dc, ObjectRecord *rec)
{
    if (dc && rec)
        filDrawClosedShape(dc, rec, [rec](HDC d) { figure(d, rec); });
}

void shArcOutline(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    figure(dc, rec);
    obRestoreDCModes(dc, &modes);
}

void shPieOutline(HDC dc, ObjectRecord *rec) { shArcOutline(dc, rec); }

// ---- points ---------------------------------------------------------------------------------------

MemHandle shArcPiePoints(ObjectRecord *rec, int16_t *count)
{
    if (count)
        *count = 0;
    if (!rec)
        return 0;
    ArcGeometry g = readGeometry(rec);
    RECT b;
    shArcLocalEllipseBox(rec, &b);
    int16_t s, e, n = 0;
    curveAngles(g, &s, &e);
    // A pie of the whole ellipse has no centre point: its arc alone.
    bool closed = isPie(rec) && g.start != g.end;
    MemHandle h = closed ? geoPieBezier(&b, s, e, (int16_t)rec->rotation, &n)
                         : geoArcBezier(&b, s, e, (int16_t)rec->rotation, &n);
    if (!h)
        return 0;
    if (count)
        *count = n;
    return h;
}

// ---- bounds -------------------------------------------------------------------------------------

void shArcPieBounds(ObjectRecord *rec, RECT *r)
{
    if (!rec)
        return;
    ArcGeometry g = readGeometry(rec);
    POINT e = {(LONG)(rec->centreX + g.offsetX), (LONG)(rec->centreY + g.offsetY)};
    RECT box;
    shArcLocalEllipseBox(rec, &box);
    RECT local = box;
    int16_t n = 0;
    MemHandle pts = flatPiece(rec, &box, &n);
    if (pts && n > 0) {
        MemLock<POINT> p(pts);
        geoPointsBounds(p.get(), n, &local);
    }
    utFreeHandle(pts);
    shApplyScaleWords(rec, &local);
    geoOffsetRect(&local, rec->centreX, rec->centreY);
    obRecSetRect(rec, &local);
    g.offsetX = e.x - rec->centreX;
    g.offsetY = e.y - rec->centreY;
    writeGeometry(rec, g);
    if (r)
        *r = local;
}

BOOL shArcPieBounds(MemHandle h, RECT *r)
{
    ObLock rec(h);
    if (!rec) {
        if (r)
            geoSetRect(r, 0, 0, 0, 0);
        return FALSE;
    }
    RECT out;
    shArcPieBounds(rec.get(), &out);
    if (r)
        *r = out;
    return TRUE;
}

// ---- rescale, rotate, flip ---------------------------------------------------------------------

MemHandle shArcRescale(MemHandle h, const RECT *target) { return rescale(h, target, false); }
MemHandle shPieRescale(MemHandle h, const RECT *target) { return rescale(h, target, true); }

void shArcPieRotate(MemHandle h, POINT pt, int16_t angle)
{
    if (angle == 0)
        return;
    ObLock r(h);
    if (!r || !hasGeometry(r.get()))
        return;
    ObjectRecord *rec = r.get();
    ArcGeometry g = readGeometry(rec);
    POINT p[2] = {{rec->centreX, rec->centreY},
                  {(LONG)(rec->centreX + g.offsetX), (LONG)(rec->centreY + g.offsetY)}};
    geoRotatePointsAbout(p, 2, pt, radiansOf(angle));
    rec->centreX = p[0].x;
    rec->centreY = p[0].y;
    g.offsetX = p[1].x - p[0].x;
    g.offsetY = p[1].y - p[0].y;
    writeGeometry(rec, g);
    rec->rotation = (uint16_t)obNormaliseAngle((int32_t)rec->rotation + angle);
    RECT bounds;
    shArcPieBounds(rec, &bounds);
}

void shArcPieFlipH(ObjectRecord *rec) { flip(rec, true); }
void shArcPieFlipV(ObjectRecord *rec) { flip(rec, false); }

// ---- conversions ----------------------------------------------------------------------------------

MemHandle shArcToCurve(MemHandle h) { return toCurve(h, false); }
MemHandle shPieToCurve(MemHandle h) { return toCurve(h, true); }

MemHandle shMakeEllipseArc(MemHandle h)
{
    uint32_t size;
    {
        ObLock r(h);
        if (!r)
            return 0;
        size = obDataOffset(r.get()) + kShArcGeometry;
    }
    MemHandle g = obResize(h, size);
    if (!g) {
        utFreeHandle(h);
        return 0;
    }
    ObLock r(g);
    ObjectRecord *rec = r.get();
    rec->length = size;
    ArcGeometry geo = {rec->width, rec->height, 0, 0, 0, 3600};
    writeGeometry(rec, geo);
    return g;
}

BOOL shArcReadCheck(const ObjectRecord *rec, uint32_t length)
{
    if (!obHeadWithinLimits(rec))
        return FALSE;
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + 16 > length)
        return TRUE;
    int32_t v[4];
    memcpy(v, reinterpret_cast<const uint8_t *>(rec) + at, sizeof v);
    return obSizeWithinLimits(v[0]) && obSizeWithinLimits(v[1]) &&
           shOffsetWithinLimits(rec, v[2], v[3]);
}
