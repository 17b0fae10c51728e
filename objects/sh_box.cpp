// The box shapes: geometry, size, drawing, outlines, points, bounds,
// rescaling, rotating and the conversions to polygons and closed curves.
#include "objects/sh_box.h"
#include "objects/fil_fill.h"
#include "objects/sh_curve.h"
#include "objects/sh_points.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_transform.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/geo_bezier.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

// The i32 at `index` of the type data, when the record holds it.
bool dataInt(const ObjectRecord *rec, uint32_t index, int32_t *v)
{
    uint64_t at = (uint64_t)obDataOffset(rec) + 4 * index;
    if (at + 4 > rec->length)
        return false;
    memcpy(v, reinterpret_cast<const uint8_t *>(rec) + at, 4);
    return true;
}

void setDataInt(ObjectRecord *rec, uint32_t index, int32_t v)
{
    uint64_t at = (uint64_t)obDataOffset(rec) + 4 * index;
    if (at + 4 <= rec->length)
        memcpy(reinterpret_cast<uint8_t *>(rec) + at, &v, 4);
}

double rotationRadians(int32_t tenths) { return geoTenthsToRadians(-(double)tenths); }

void rotateBy(POINT *pts, int16_t n, int32_t tenths)
{
    if (tenths)
        geoRotatePoints(pts, n, rotationRadians(tenths));
}

// 86 + name + geometry + fill block, stored; a half turn stored as 0.
uint32_t boxSize(ObjectRecord *rec, uint32_t geometry)
{
    if (!rec)
        return 0;
    rec->rotation = (uint16_t)obHalfTurnToZero(rec->rotation);
    rec->length = obDataOffset(rec) + geometry + obFillDataSize(rec->fillKind);
    return rec->length;
}

// Scaled by the scale words, stored as the head's size, moved by the centre.
void finishBounds(ObjectRecord *rec, RECT local, RECT *out)
{
    shApplyScaleWords(rec, &local);
    rec->width = local.right - local.left;
    rec->height = local.bottom - local.top;
    geoOffsetRect(&local, rec->centreX, rec->centreY);
    if (out)
        *out = local;
}

// The bounds of a turned curved figure: its outline polygon, or the box
// itself when the polygon cannot be had.
void curvedBounds(ObjectRecord *rec, bool rounded, RECT *out)
{
    RECT box;
    shGetBox(rec, &box);
    RECT local = box;
    if (rec->rotation) {
        int16_t n = 0;
        int32_t cw = 0, ch = 0;
        shGetCorner(rec, &cw, &ch);
        MemHandle pts = rounded ? geoRoundRectPolygon(box.left, box.top, box.right, box.bottom,
                                                      cw, ch, (int16_t)rec->rotation, &n)
                                : geoEllipsePolygon(box.left, box.top, box.right, box.bottom,
                                                    (int16_t)rec->rotation, &n);
        if (pts && n > 0) {
            MemLock<POINT> p(pts);
            geoPointsBounds(p.get(), n, &local);
        }
        utFreeHandle(pts);
    }
    finishBounds(rec, local, out);
}

typedef void (*RecordBounds)(ObjectRecord *, RECT *);
typedef void (*FourVertices)(const ObjectRecord *, POINT[4]);

BOOL boundsOfHandle(MemHandle h, RECT *r, RecordBounds bounds)
{
    ObLock rec(h);
    if (!rec) {
        if (r)
            geoSetRect(r, 0, 0, 0, 0);
        return FALSE;
    }
    RECT out;
    bounds(rec.get(), &out);
    if (r)
        *r = out;
    return TRUE;
}

MemHandle pointsHandle(const POINT *pts, int16_t n, int16_t *count)
{
    MemHandle h = utHandleFromBytes(pts, (uint32_t)n * sizeof(POINT));
    if (count)
        *count = h ? n : 0;
    return h;
}

// A rectangle's corners or a diamond's vertices in a new handle.
MemHandle fourPoints(ObjectRecord *rec, int16_t *count, FourVertices vertices)
{
    if (count)
        *count = 0;
    if (!rec)
        return 0;
    POINT v[4];
    vertices(rec, v);
    return pointsHandle(v, 4, count);
}

// The bounds of a rectangle's corners or a diamond's vertices.
void fourBounds(ObjectRecord *rec, RECT *r, FourVertices vertices)
{
    POINT v[4];
    vertices(rec, v);
    RECT local;
    geoPointsBounds(v, 4, &local);
    finishBounds(rec, local, r);
}

// Draws inside the object's DC modes with the DC's own pen and brush.
template <typename Figure>
void outline(HDC dc, ObjectRecord *rec, Figure figure)
{
    if (!dc || !rec)
        return;
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    figure();
    obRestoreDCModes(dc, &modes);
}

// The box moved by the centre.
RECT pageBox(const ObjectRecord *rec)
{
    RECT box;
    shGetBox(rec, &box);
    geoOffsetRect(&box, rec->centreX, rec->centreY);
    return box;
}

// The operation on the locked record; 0 (or nothing) for no record.
template <typename Op>
auto locked(MemHandle h, Op op) -> decltype(op(nullptr))
{
    ObLock r(h);
    if (!r)
        return decltype(op(nullptr))();
    return op(r.get());
}

// The figures, drawn with the DC's pen and brush: a rectangle's corners or
// a diamond's vertices as a polygon (with every chord when asked), a
// rounded rectangle, an ellipse; all turned and moved by the centre.
void fourVerticesFigure(HDC dc, const ObjectRecord *rec, FourVertices vertices, bool chords)
{
    POINT v[4];
    vertices(rec, v);
    geoOffsetPoints(v, 4, rec->centreX, rec->centreY);
    gdiPolygon(dc, v, 4);
    if (chords)
        gdiDrawAllChords(dc, v, 4);
}

void roundRectFigure(HDC dc, const ObjectRecord *rec)
{
    RECT box = pageBox(rec);
    int32_t cw, ch;
    shGetCorner(rec, &cw, &ch);
    gdiRoundRectRotated(dc, box.left, box.top, box.right, box.bottom, cw, ch,
                        (int16_t)rec->rotation);
}

void ellipseFigure(HDC dc, const ObjectRecord *rec)
{
    RECT box = pageBox(rec);
    gdiEllipseRotated(dc, box.left, box.top, box.right, box.bottom, (int16_t)rec->rotation);
}

bool allChords(const ObjectRecord *rec) { return (rec->flags & OBF_ALL_CHORDS) != 0; }

// ---- rotating --------------------------------------------------------------------------------

enum class Shape { Rect, RoundRect, Ellipse, Diamond };

void boxBounds(ObjectRecord *rec, Shape shape, RECT *r)
{
    switch (shape) {
    case Shape::Rect: shRectBounds(rec, r); break;
    case Shape::RoundRect: shRoundRectBounds(rec, r); break;
    case Shape::Ellipse: shEllipseBounds(rec, r); break;
    case Shape::Diamond: shDiamondBounds(rec, r); break;
    }
}

void swapDataInts(ObjectRecord *rec, uint32_t a, uint32_t b)
{
    int32_t va, vb;
    if (dataInt(rec, a, &va) && dataInt(rec, b, &vb)) {
        setDataInt(rec, a, vb);
        setDataInt(rec, b, va);
    }
}

void rotateBox(MemHandle h, POINT pt, int16_t angle, Shape shape)
{
    ObLock r(h);
    if (!r)
        return;
    ObjectRecord *rec = r.get();
    POINT c = {rec->centreX, rec->centreY};
    geoRotatePointsAbout(&c, 1, pt, rotationRadians(angle));
    rec->centreX = c.x;
    rec->centreY = c.y;
    if (shape == Shape::Ellipse) {
        RECT box;
        shGetBox(rec, &box);
        if (box.right - box.left == box.bottom - box.top) {
            rec->rotation = 0;   // a circle looks the same at every angle
            return;
        }
    }
    int32_t turned = obNormaliseAngle((int32_t)rec->rotation + angle);
    if (shape != Shape::Diamond) {
        if (turned == 900 || turned == 2700) {
            obSwapSizeAndScale(rec);
            swapDataInts(rec, 0, 1);
            if (shape == Shape::RoundRect)
                swapDataInts(rec, 2, 3);
            turned = 0;
        } else if (turned == 1800) {
            turned = 0;
        }
    }
    rec->rotation = (uint16_t)turned;
    RECT bounds;
    boxBounds(rec, shape, &bounds);
}

// ---- conversions ---------------------------------------------------------------------------------

// Replaces the record's geometry (geometry bytes at the start of the type
// data) by a point list of the given points (relative to the centre, or in
// page coordinates when `recentre`), keeping the fill block behind it.
// The record grows through obResize; returns the valid handle, 0 when it
// could not grow (the record unchanged).
MemHandle spliceGeometry(MemHandle h, uint32_t geometry, const POINT *pts, int16_t n,
                         int16_t newType, bool recentre)
{
    uint32_t oldLength, dataAt;
    std::vector<uint8_t> tail;
    {
        ObLock r(h);
        if (!r)
            return 0;
        oldLength = r.extent();
        dataAt = obDataOffset(r.get());
        if ((uint64_t)dataAt + geometry > oldLength)
            return 0;
        const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
        tail.assign(p + dataAt + geometry, p + oldLength);
    }
    uint32_t newLength = oldLength - geometry + 2 + 8 * (uint32_t)n;
    MemHandle g = obResize(h, newLength);
    if (!g)
        return 0;
    ObLock r(g);
    ObjectRecord *rec = r.get();
    std::vector<POINT> local(pts, pts + n);
    if (recentre) {
        RECT b;
        geoPointsBounds(local.data(), n, &b);
        obRecSetRect(rec, &b);
        geoOffsetPoints(local.data(), n, -rec->centreX, -rec->centreY);
    }
    uint8_t *data = obRecData(rec);
    memcpy(data, &n, 2);
    memcpy(data + 2, local.data(), 8 * (size_t)n);
    if (!tail.empty())
        memcpy(data + 2 + 8 * (size_t)n, tail.data(), tail.size());
    rec->rotation = 0;
    rec->type = newType;
    rec->length = newLength;
    return g;
}

MemHandle toPolygon(MemHandle h, bool diamond)
{
    POINT pts[4];
    {
        ObLock r(h);
        int16_t want = diamond ? OBT_DIAMOND : OBT_RECTANGLE;
        if (!r || (r->type != want && !(want == OBT_RECTANGLE && r->type == OBT_SQUARE)))
            return 0;
        if (diamond)
            shGetDiamondVertices(r.get(), pts);
        else
            shGetRotatedBoxCorners(r.get(), pts);
        geoOffsetPoints(pts, 4, r->centreX, r->centreY);
    }
    return spliceGeometry(h, kShBoxGeometry, pts, 4, OBT_POLYGON, true);
}

MemHandle toCurve(MemHandle h, bool rounded)
{
    POINT pts[25];
    int16_t n = 0;
    uint32_t geometry = rounded ? kShRoundRectGeometry : kShBoxGeometry;
    {
        ObLock r(h);
        if (!r)
            return 0;
        bool ok = rounded ? r->type == OBT_ROUNDRECT
                          : (r->type == OBT_ELLIPSE || r->type == OBT_CIRCLE);
        if (!ok)
            return 0;
        MemHandle curve = rounded ? shRoundRectPoints(r.get(), &n) : shEllipsePoints(r.get(), &n);
        if (!curve)
            return 0;
        {
            MemLock<POINT> p(curve);
            memcpy(pts, p.get(), sizeof(POINT) * (size_t)n);
        }
        utFreeHandle(curve);
    }
    return spliceGeometry(h, geometry, pts, n, OBT_CLOSED_CURVE, false);
}

// The target's sides, never negative.
void targetSides(const RECT *t, int32_t *w, int32_t *h)
{
    *w = (int32_t)std::min<int64_t>(llabs((int64_t)t->right - t->left), INT32_MAX);
    *h = (int32_t)std::min<int64_t>(llabs((int64_t)t->bottom - t->top), INT32_MAX);
}

void setBoxSides(ObjectRecord *rec, int32_t w, int32_t h)
{
    setDataInt(rec, 0, w);
    setDataInt(rec, 1, h);
}

// Rectangles and diamonds: a turned one becomes a polygon rescaled as such;
// otherwise the box takes the target's sides (a rectangle becoming a square
// or a rectangle by them).
MemHandle rescaleStraight(MemHandle h, const RECT *target, bool diamond)
{
    uint16_t rotation;
    {
        ObLock r(h);
        if (!r || !target)
            return 0;
        rotation = r->rotation;
    }
    if (rotation) {
        MemHandle p = toPolygon(h, diamond);
        if (p)
            shPointsRescale(p, target);
        return p;
    }
    ObLock r(h);
    int32_t w, ht;
    targetSides(target, &w, &ht);
    setBoxSides(r.get(), w, ht);
    obRecSetRect(r.get(), target);
    if (!diamond)
        r->type = w == ht ? OBT_SQUARE : OBT_RECTANGLE;
    return h;
}

// Ellipses (circle or ellipse by the sides) and rounded rectangles: a box
// already of the target's size only moves; a turned one becomes a closed
// curve rescaled as such; otherwise the box takes the target's sides and a
// rounded rectangle's corners keep their share of them.
MemHandle rescaleCurved(MemHandle h, const RECT *target, bool rounded)
{
    uint16_t rotation;
    int32_t w, ht;
    {
        ObLock r(h);
        if (!r || !target)
            return 0;
        targetSides(target, &w, &ht);
        if (!rounded)
            r->type = w == ht ? OBT_CIRCLE : OBT_ELLIPSE;
        if (r->width == w && r->height == ht) {
            obRecSetRect(r.get(), target);
            return h;
        }
        rotation = r->rotation;
    }
    if (rotation) {
        MemHandle c = toCurve(h, rounded);
        if (c)
            shCurveRescale(c, target);
        return c;
    }
    ObLock r(h);
    ObjectRecord *rec = r.get();
    if (rounded) {
        // A side of no size keeps its corner as it is.
        double sx = rec->width ? (double)w / rec->width : 1.0;
        double sy = rec->height ? (double)ht / rec->height : 1.0;
        int32_t cw, ch;
        shGetCorner(rec, &cw, &ch);
        setDataInt(rec, 2, (int32_t)std::max(-2e9, std::min(2e9, cw * fabs(sx))));
        setDataInt(rec, 3, (int32_t)std::max(-2e9, std::min(2e9, ch * fabs(sy))));
    }
    setBoxSides(rec, w, ht);
    obRecSetRect(rec, target);
    return h;
}

}  // namespace

// ---- geometry ------------------------------------------------------------------------------

BOOL shIsBoxType(int16_t type)
{
    switch (type) {
    case OBT_SQUARE: case OBT_RECTANGLE: case OBT_ROUNDRECT: case OBT_CIRCLE: case OBT_ELLIPSE:
    case OBT_DIAMOND:
        return TRUE;
    default:
        return FALSE;
    }
}

void shApplyScaleWords(const ObjectRecord *rec, RECT *local)
{
    if (rec->scaleX != kObScaleOne) {
        local->left = (LONG)((int64_t)local->left * rec->scaleX / kObScaleOne);
        local->right = (LONG)((int64_t)local->right * rec->scaleX / kObScaleOne);
    }
    if (rec->scaleY != kObScaleOne) {
        local->top = (LONG)((int64_t)local->top * rec->scaleY / kObScaleOne);
        local->bottom = (LONG)((int64_t)local->bottom * rec->scaleY / kObScaleOne);
    }
}

uint32_t shBoxGeometrySize(int16_t type)
{
    if (type == OBT_ROUNDRECT)
        return kShRoundRectGeometry;
    return shIsBoxType(type) ? kShBoxGeometry : 0;
}

void shGetBox(const ObjectRecord *rec, RECT *box)
{
    int32_t w, h;
    if (!dataInt(rec, 0, &w) || !dataInt(rec, 1, &h)) {
        w = rec->width;
        h = rec->height;
    }
    int32_t l = (int32_t)(-(int64_t)w / 2), t = (int32_t)(-(int64_t)h / 2);
    geoSetRect(box, l, t, (int32_t)(l + (int64_t)w), (int32_t)(t + (int64_t)h));
}

void shGetCorner(const ObjectRecord *rec, int32_t *cornerW, int32_t *cornerH)
{
    if (rec->type != OBT_ROUNDRECT || !dataInt(rec, 2, cornerW) || !dataInt(rec, 3, cornerH))
        *cornerW = *cornerH = 0;
}

void shGetRotatedBoxCorners(const ObjectRecord *rec, POINT corners[4])
{
    RECT box;
    shGetBox(rec, &box);
    geoRectToCorners(&box, corners);
    rotateBy(corners, 4, rec->rotation);
}

void shGetDiamondVertices(const ObjectRecord *rec, POINT vertices[4])
{
    RECT box;
    shGetBox(rec, &box);
    int32_t hw = (int32_t)(((int64_t)box.right - box.left) / 2);
    int32_t hh = (int32_t)(((int64_t)box.bottom - box.top) / 2);
    vertices[0] = POINT{0, -hh};
    vertices[1] = POINT{-hw, 0};
    vertices[2] = POINT{0, hh};
    vertices[3] = POINT{hw, 0};
    rotateBy(vertices, 4, rec->rotation);
}

HRGN shRoundRectRegion(const RECT *r, int32_t cornerW, int32_t cornerH, int16_t rotation)
{
    if (!r)
        return nullptr;
    int16_t n = 0;
    MemHandle pts = geoRoundRectPolygon(r->left, r->top, r->right, r->bottom, cornerW, cornerH,
                                        rotation, &n);
    if (!pts)
        return nullptr;
    HRGN region = nullptr;
    {
        MemLock<POINT> p(pts);
        dmLogToDevPoints(p.get(), n);
        region = CreatePolygonRgn(p.get(), n, ALTERNATE);
    }
    utFreeHandle(pts);
    return region;
}

// ---- size ------------------------------------------------------------------------------------

uint32_t shRectSize(ObjectRecord *rec) { return boxSize(rec, kShBoxGeometry); }
uint32_t shRoundRectSize(ObjectRecord *rec) { return boxSize(rec, kShRoundRectGeometry); }
uint32_t shEllipseSize(ObjectRecord *rec) { return boxSize(rec, kShBoxGeometry); }

uint32_t shRectSize(MemHandle h) { return locked(h, [](ObjectRecord *r) { return shRectSize(r); }); }
uint32_t shRoundRectSize(MemHandle h) { return locked(h, [](ObjectRecord *r) { return shRoundRectSize(r); }); }
uint32_t shEllipseSize(MemHandle h) { return locked(h, [](ObjectRecord *r) { return shEllipseSize(r); }); }

// ---- drawing ---------------------------------------------------------------------------------

void shRectDraw(HDC dc, ObjectRecord *rec)
{
    if (dc && rec)
        filDrawClosedShape(dc, rec, [rec](HDC d) {
            fourVerticesFigure(d, rec, shGetRotatedBoxCorners, allChords(rec));
        });
}

void shRoundRectDraw(HDC dc, ObjectRecord *rec)
{
    if (dc && rec)
        filDrawClosedShape(dc, rec, [rec](HDC d) { roundRectFigure(d, rec); });
}

void shEllipseDraw(HDC dc, ObjectRecord *rec)
{
    if (dc && rec)
        filDrawClosedShape(dc, rec, [rec](HDC d) { ellipseFigure(d, rec); });
}

void shDiamondDraw(HDC dc, ObjectRecord *rec)
{
    if (dc && rec)
        filDrawClosedShape(dc, rec, [rec](HDC d) {
            fourVerticesFigure(d, rec, shGetDiamondVertices, allChords(rec));
        });
}

void shRectDraw(HDC dc, MemHandle h) { locked(h, [dc](ObjectRecord *r) { shRectDraw(dc, r); }); }
void shRoundRectDraw(HDC dc, MemHandle h) { locked(h, [dc](ObjectRecord *r) { shRoundRectDraw(dc, r); }); }
void shEllipseDraw(HDC dc, MemHandle h) { locked(h, [dc](ObjectRecord *r) { shEllipseDraw(dc, r); }); }
void shDiamondDraw(HDC dc, MemHandle h) { locked(h, [dc](ObjectRecord *r) { shDiamondDraw(dc, r); }); }

// ---- outlines ----------------------------------------------------------------------------------

void shRectOutline(HDC dc, ObjectRecord *rec)
{
    outline(dc, rec, [&] { fourVerticesFigure(dc, rec, shGetRotatedBoxCorners, false); });
}

void shRoundRectOutline(HDC dc, ObjectRecord *rec)
{
    outline(dc, rec, [&] { roundRectFigure(dc, rec); });
}

void shEllipseOutline(HDC dc, ObjectRecord *rec)
{
    outline(dc, rec, [&] { ellipseFigure(dc, rec); });
}

void shDiamondOutline(HDC dc, ObjectRecord *rec)
{
    outline(dc, rec, [&] { fourVerticesFigure(dc, rec, shGetDiamondVertices, false); });
}

int shBoxOutline(HDC dc, ObjectRecord *rec)
{
    if (!rec)
        return 0;
    switch (rec->type) {
    case OBT_SQUARE: case OBT_RECTANGLE: shRectOutline(dc, rec); return 1;
    case OBT_ROUNDRECT: shRoundRectOutline(dc, rec); return 1;
    case OBT_CIRCLE: case OBT_ELLIPSE: shEllipseOutline(dc, rec); return 1;
    case OBT_DIAMOND: shDiamondOutline(dc, rec); return 1;
    default: return 0;
    }
}

// ---- points ------------------------------------------------------------------------------------

MemHandle shRectPoints(ObjectRecord *rec, int16_t *count)
{
    return fourPoints(rec, count, shGetRotatedBoxCorners);
}

MemHandle shRoundRectPoints(ObjectRecord *rec, int16_t *count)
{
    if (count)
        *count = 0;
    if (!rec)
        return 0;
    RECT box;
    shGetBox(rec, &box);
    int32_t cw, ch;
    shGetCorner(rec, &cw, &ch);
    POINT pts[25];
    int16_t n = 0;
    geoRoundRectBezier(&box, cw, ch, pts, &n);
    rotateBy(pts, n, rec->rotation);
    return pointsHandle(pts, n, count);
}

MemHandle shEllipsePoints(ObjectRecord *rec, int16_t *count)
{
    if (count)
        *count = 0;
    if (!rec)
        return 0;
    RECT box;
    shGetBox(rec, &box);
    int16_t n = 0;
    MemHandle h = geoEllipseBezier(&box, &n);
    if (!h)
        return 0;
    {
        MemLock<POINT> p(h);
        rotateBy(p.get(), n, rec->rotation);
    }
    if (count)
        *count = n;
    return h;
}

MemHandle shDiamondPoints(ObjectRecord *rec, int16_t *count)
{
    return fourPoints(rec, count, shGetDiamondVertices);
}

// ---- bounds ------------------------------------------------------------------------------------

void shRectBounds(ObjectRecord *rec, RECT *r) { fourBounds(rec, r, shGetRotatedBoxCorners); }
void shDiamondBounds(ObjectRecord *rec, RECT *r) { fourBounds(rec, r, shGetDiamondVertices); }
void shRoundRectBounds(ObjectRecord *rec, RECT *r) { curvedBounds(rec, true, r); }
void shEllipseBounds(ObjectRecord *rec, RECT *r) { curvedBounds(rec, false, r); }

BOOL shRectBounds(MemHandle h, RECT *r) { return boundsOfHandle(h, r, shRectBounds); }
BOOL shRoundRectBounds(MemHandle h, RECT *r) { return boundsOfHandle(h, r, shRoundRectBounds); }
BOOL shEllipseBounds(MemHandle h, RECT *r) { return boundsOfHandle(h, r, shEllipseBounds); }
BOOL shDiamondBounds(MemHandle h, RECT *r) { return boundsOfHandle(h, r, shDiamondBounds); }

// ---- rescaling ----------------------------------------------------------------------------------

MemHandle shRectRescale(MemHandle h, const RECT *target) { return rescaleStraight(h, target, false); }
MemHandle shDiamondRescale(MemHandle h, const RECT *target) { return rescaleStraight(h, target, true); }
MemHandle shEllipseRescale(MemHandle h, const RECT *target) { return rescaleCurved(h, target, false); }
MemHandle shRoundRectRescale(MemHandle h, const RECT *target) { return rescaleCurved(h, target, true); }

// ---- rotating -----------------------------------------------------------------------------------

void shRectRotate(MemHandle h, POINT pt, int16_t angle) { rotateBox(h, pt, angle, Shape::Rect); }
void shRoundRectRotate(MemHandle h, POINT pt, int16_t angle) { rotateBox(h, pt, angle, Shape::RoundRect); }
void shEllipseRotate(MemHandle h, POINT pt, int16_t angle) { rotateBox(h, pt, angle, Shape::Ellipse); }
void shDiamondRotate(MemHandle h, POINT pt, int16_t angle) { rotateBox(h, pt, angle, Shape::Diamond); }

// ---- conversions ---------------------------------------------------------------------------------

MemHandle shRectToPolygon(MemHandle h) { return toPolygon(h, false); }
MemHandle shDiamondToPolygon(MemHandle h) { return toPolygon(h, true); }
MemHandle shRoundRectToCurve(MemHandle h) { return toCurve(h, true); }
MemHandle shEllipseToCurve(MemHandle h) { return toCurve(h, false); }

BOOL shBoxReadCheck(const ObjectRecord *rec, uint32_t length)
{
    if (!obHeadWithinLimits(rec))
        return FALSE;
    uint32_t at = obDataOffset(rec);
    const uint8_t *d = reinterpret_cast<const uint8_t *>(rec) + at;
    for (uint32_t i = 0; i < 2 && (uint64_t)at + 4 * i + 4 <= length; ++i) {
        int32_t v;
        memcpy(&v, d + 4 * i, 4);
        if (!obSizeWithinLimits(v))
            return FALSE;
    }
    return TRUE;
}
