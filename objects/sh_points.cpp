// The point shapes: sizes, drawing with line ends, fills and vertex
// markers, outlines, point lists, bounds, rescaling, rotating and mirroring.
#include "objects/sh_points.h"
#include "objects/fil_fill.h"
#include "objects/sh_curve.h"
#include "objects/sh_lineend.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_transform.h"
#include "support/gdi_draw.h"
#include "support/geo_bezier.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

template <typename Change>
void eachPoint(ObjectRecord *rec, Change change)
{
    int32_t n;
    uint8_t *pts = shPointData(rec, 0, &n);
    for (int32_t i = 0; i < n; ++i) {
        POINT p;
        memcpy(&p, pts + 2 + i * sizeof(POINT), sizeof p);
        change(p);
        memcpy(pts + 2 + i * sizeof(POINT), &p, sizeof p);
    }
}

void flip(ObjectRecord *rec, bool horizontal)
{
    eachPoint(rec, [horizontal](POINT &p) {
        if (horizontal)
            p.x = -p.x;
        else
            p.y = -p.y;
    });
}

int32_t scaled(int32_t v, double s)
{
    double r = v * s;
    return (int32_t)std::max(-2147483647.0, std::min(2147483647.0, r));
}

// The held points copied out (relative to the centre).
std::vector<POINT> copyPoints(ObjectRecord *rec)
{
    int32_t n;
    uint8_t *d = shPointData(rec, 0, &n);
    std::vector<POINT> pts((size_t)n);
    if (n)
        memcpy(pts.data(), d + 2, sizeof(POINT) * (size_t)n);
    return pts;
}

void storePoints(ObjectRecord *rec, const std::vector<POINT> &pts)
{
    int32_t n;
    uint8_t *d = shPointData(rec, 0, &n);
    n = std::min<int32_t>(n, (int32_t)pts.size());
    if (n)
        memcpy(d + 2, pts.data(), sizeof(POINT) * (size_t)n);
}

// The points as drawn: turned by the rotation, moved by the centre.
std::vector<POINT> drawnPoints(ObjectRecord *rec)
{
    std::vector<POINT> pts = copyPoints(rec);
    int16_t n = (int16_t)std::min<size_t>(pts.size(), INT16_MAX);
    if (rec->rotation)
        geoRotatePoints(pts.data(), n, geoTenthsToRadians(-(double)rec->rotation));
    geoOffsetPoints(pts.data(), n, rec->centreX, rec->centreY);
    return pts;
}

// The attached marker drawn centred on every vertex, then put back.
void drawMarkers(HDC dc, ObjectRecord *rec, const std::vector<POINT> &pts)
{
    MemHandle marker = rec->attached;
    if (!marker || pts.empty())
        return;
    POINT home;
    {
        ObLock m(marker);
        if (!m)
            return;
        home = {m->centreX, m->centreY};
    }
    POINT at = home;
    for (const POINT &p : pts) {
        obMoveBy(marker, p.x - at.x, p.y - at.y);
        at = p;
        obDraw(dc, marker);
    }
    obMoveBy(marker, home.x - at.x, home.y - at.y);
}

// The inner edges of a cube from c = p0 + p2 - p1 to p0, p2 and p4.
void cubeEdges(HDC dc, const std::vector<POINT> &p)
{
    if (p.size() < 5)
        return;
    POINT c = {p[0].x + p[2].x - p[1].x, p[0].y + p[2].y - p[1].y};
    for (size_t i : {0, 2, 4})
        gdiLinePts(dc, c, p[i]);
}

int16_t count16(const std::vector<POINT> &pts)
{
    return (int16_t)std::min<size_t>(pts.size(), INT16_MAX);
}

MemHandle pointsHandle(const std::vector<POINT> &pts, int16_t *count)
{
    if (count)
        *count = 0;
    if (pts.empty())
        return 0;
    int16_t n = count16(pts);
    MemHandle h = utHandleFromBytes(pts.data(), (uint32_t)n * sizeof(POINT));
    if (count)
        *count = h ? n : 0;
    return h;
}

}  // namespace

BOOL shIsPointShape(int16_t type)
{
    switch (type) {
    case 2: case 3: case 4: case 5: case 14: case 15: case 17: case 18: case 19: case 36:
        return TRUE;
    default:
        return FALSE;
    }
}

uint8_t *shPointData(ObjectRecord *rec, uint32_t blockSize, int32_t *count)
{
    *count = 0;
    if (!rec)
        return nullptr;
    uint32_t extent = blockSize ? std::min(rec->length, blockSize) : rec->length;
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + 2 > extent)
        return nullptr;
    uint8_t *d = obRecData(rec);
    int16_t stated;
    memcpy(&stated, d, 2);
    uint32_t held = (extent - at - 2) / sizeof(POINT);
    *count = std::max<int32_t>(0, std::min<int32_t>(stated, (int32_t)held));
    return d;
}

// ---- size ---------------------------------------------------------------------------------------

namespace {

uint32_t pointsSize(ObjectRecord *rec, uint32_t blockSize, bool closed)
{
    if (!rec)
        return 0;
    uint32_t held = std::min(rec->length, blockSize);
    uint32_t at = obDataOffset(rec);
    int16_t stated = -1;
    if ((uint64_t)at + 2 <= held)
        memcpy(&stated, obRecData(rec), 2);
    if (stated < 0) {
        rec->length = held;
        return held;
    }
    int32_t n;
    shPointData(rec, blockSize, &n);
    uint64_t size = (uint64_t)at + 2 + 8ull * (uint64_t)n;
    if (closed) {
        size += obFillDataSize(rec->fillKind);
    } else {
        if (rec->flags & OBF_START_SYMBOL)
            size += sizeof(LineEndRecord);
        if (rec->flags & OBF_END_SYMBOL)
            size += sizeof(LineEndRecord);
    }
    rec->length = size <= blockSize ? (uint32_t)size : held;
    return (uint32_t)size;
}

}  // namespace

uint32_t shPolylineSize(ObjectRecord *rec, uint32_t blockSize)
{
    return pointsSize(rec, blockSize, false);
}

uint32_t shPolygonSize(ObjectRecord *rec, uint32_t blockSize)
{
    return pointsSize(rec, blockSize, true);
}

// ---- drawing ------------------------------------------------------------------------------------

void shPolylineDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    std::vector<POINT> pts = drawnPoints(rec);
    const int16_t n = count16(pts);
    {
        ObDCModes modes;
        obSetDCModes(dc, rec, &modes);
        GdiObject<HPEN> pen(CreatePen(gdiLineStylePen(rec->lineStyle), obGetDrawnPenWidth(rec),
                                      rec->penColour));
        {
            GdiSelect selPen(dc, pen);
            if (rec->flags & (OBF_START_SYMBOL | OBF_END_SYMBOL))
                shDrawPolylineWithEnds(dc, pts.data(), n, rec);
            else if (n >= 2)
                gdiPolyline(dc, pts.data(), n);
            if (rec->flags & OBF_ALL_CHORDS)
                gdiDrawAllChords(dc, pts.data(), n);
        }
        obRestoreDCModes(dc, &modes);
    }
    drawMarkers(dc, rec, pts);
}

void shPolygonDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    std::vector<POINT> pts = drawnPoints(rec);
    const int16_t n = count16(pts);
    filDrawClosedShape(dc, rec, [&](HDC d) {
        if (n >= 2)
            gdiPolygon(d, pts.data(), n);
        if (rec->flags & OBF_ALL_CHORDS)
            gdiDrawAllChords(d, pts.data(), n);
    });
    // The gradient and hatch fills draw the whole object.
    if (rec->fillKind != FILL_GRADIENT && rec->fillKind != FILL_HATCH)
        drawMarkers(dc, rec, pts);
}

void shCubeDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    int16_t type = rec->type;
    rec->type = OBT_POLYGON;   // fill, frame and chords are the polygon's
    shPolygonDraw(dc, rec);
    rec->type = type;
    std::vector<POINT> pts = drawnPoints(rec);
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    {
        GdiObject<HPEN> pen(CreatePen(gdiLineStylePen(rec->lineStyle), obGetDrawnPenWidth(rec),
                                      rec->penColour));
        GdiSelect selPen(dc, pen);
        cubeEdges(dc, pts);
    }
    obRestoreDCModes(dc, &modes);
}

namespace {

// The drag outline of a point shape: its points as drawn (turned by the
// rotation, moved by the centre) handed to `draw` with the DC's own pen and
// brush, between the record's DC modes. 0 for a record that is no point
// shape.
template <class Draw> int outlinePoints(HDC dc, ObjectRecord *rec, Draw draw)
{
    if (!dc || !rec || !shIsPointShape(rec->type))
        return 0;
    std::vector<POINT> pts = drawnPoints(rec);
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    draw(pts, count16(pts));
    obRestoreDCModes(dc, &modes);
    return 1;
}

}  // namespace

int shLineOutline(HDC dc, ObjectRecord *rec)
{
    return outlinePoints(dc, rec, [dc](std::vector<POINT> &pts, int16_t n) {
        gdiPolyline(dc, pts.data(), n);
    });
}

int shHVLineOutline(HDC dc, ObjectRecord *rec) { return shLineOutline(dc, rec); }

int shPolygonOutline(HDC dc, ObjectRecord *rec)
{
    return outlinePoints(dc, rec, [dc](std::vector<POINT> &pts, int16_t n) {
        gdiPolygon(dc, pts.data(), n);
    });
}

int shBezierOutline(HDC dc, ObjectRecord *rec)
{
    return outlinePoints(dc, rec, [dc](std::vector<POINT> &pts, int16_t n) {
        gdiPolyBezier(dc, pts.data(), n);
    });
}

int shClosedCurveOutline(HDC dc, ObjectRecord *rec)
{
    return outlinePoints(dc, rec, [dc](std::vector<POINT> &pts, int16_t n) {
        gdiPolyBezierClosed(dc, pts.data(), n);
    });
}

int shCubeOutline(HDC dc, ObjectRecord *rec)
{
    return outlinePoints(dc, rec, [dc](std::vector<POINT> &pts, int16_t) {
        std::vector<POINT> ring = pts;
        if (!ring.empty())
            ring.push_back(ring[0]);
        gdiPolyline(dc, ring.data(), count16(ring));
        cubeEdges(dc, pts);
    });
}

// ---- points -------------------------------------------------------------------------------------

MemHandle shGetPoints(ObjectRecord *rec, int16_t *count)
{
    if (count)
        *count = 0;
    if (!rec)
        return 0;
    return pointsHandle(copyPoints(rec), count);
}

MemHandle shGetPointsAbs(ObjectRecord *rec, int16_t *count)
{
    if (count)
        *count = 0;
    if (!rec)
        return 0;
    std::vector<POINT> pts = copyPoints(rec);
    geoOffsetPoints(pts.data(), count16(pts), rec->centreX, rec->centreY);
    return pointsHandle(pts, count);
}

POINT *shLockPoints(MemHandle h, int16_t *count)
{
    if (count)
        *count = 0;
    uint32_t block = utHandleSize(h);
    if (block < kObHeadSize)
        return nullptr;
    ObjectRecord *rec = static_cast<ObjectRecord *>(utLock(h));
    if (!rec)
        return nullptr;
    int32_t n;
    uint8_t *d = shIsPointShape(rec->type) ? shPointData(rec, block, &n) : nullptr;
    if (!d) {
        utUnlock(h);
        return nullptr;
    }
    if (count)
        *count = (int16_t)n;
    return reinterpret_cast<POINT *>(d + 2);
}

MemHandle shNewPolylineRecord(MemHandle points, int16_t n)
{
    if (n < 1 || utHandleSize(points) < (uint32_t)n * sizeof(POINT))
        return 0;
    std::vector<POINT> pts((size_t)n);
    {
        MemLock<POINT> p(points);
        if (!p)
            return 0;
        memcpy(pts.data(), p.get(), sizeof(POINT) * (size_t)n);
    }
    MemHandle h = obNewRecord(kObHeadSize + 2 + 8 * (uint32_t)n);
    if (!h)
        return 0;
    ObLock r(h);
    ObjectRecord *rec = r.get();
    rec->type = OBT_POLYLINE;
    rec->scaleX = rec->scaleY = kObScaleOne;
    RECT b;
    geoPointsBounds(pts.data(), n, &b);
    obRecSetRect(rec, &b);
    geoOffsetPoints(pts.data(), n, -rec->centreX, -rec->centreY);
    uint8_t *d = obRecData(rec);
    memcpy(d, &n, 2);
    memcpy(d + 2, pts.data(), sizeof(POINT) * (size_t)n);
    return h;
}

// ---- bounds, rescale, rotate, flip -----------------------------------------------------------

void shPointsBounds(ObjectRecord *rec, RECT *r)
{
    if (!rec)
        return;
    std::vector<POINT> pts = copyPoints(rec);
    if (pts.empty()) {
        if (r)
            obRecGetRect(rec, r);
        return;
    }
    const int16_t n = count16(pts);
    geoOffsetPoints(pts.data(), n, rec->centreX, rec->centreY);
    RECT b;
    geoPointsBounds(pts.data(), n, &b);
    obRecSetRect(rec, &b);
    geoOffsetPoints(pts.data(), n, -rec->centreX, -rec->centreY);
    storePoints(rec, pts);
    if (r)
        *r = b;
}

BOOL shPointsBounds(MemHandle h, RECT *r)
{
    ObLock rec(h);
    if (!rec) {
        if (r)
            geoSetRect(r, 0, 0, 0, 0);
        return FALSE;
    }
    shPointsBounds(rec.get(), r);
    return TRUE;
}

void shPointsFlipH(ObjectRecord *rec) { flip(rec, true); }
void shPointsFlipV(ObjectRecord *rec) { flip(rec, false); }

void shPointsRescale(ObjectRecord *rec, const RECT *target)
{
    if (!rec || !target)
        return;
    double tw = (double)target->right - target->left, th = (double)target->bottom - target->top;
    double sx = rec->width ? tw / rec->width : 1.0;
    double sy = rec->height ? th / rec->height : 1.0;
    eachPoint(rec, [sx, sy](POINT &p) {
        p.x = scaled(p.x, sx);
        p.y = scaled(p.y, sy);
    });
    obRecSetRect(rec, target);
}

void shPointsRescale(MemHandle h, const RECT *target)
{
    ObLock r(h);
    if (r)
        shPointsRescale(r.get(), target);
}

void shPointsRotate(MemHandle h, POINT pt, int16_t angle)
{
    ObLock r(h);
    if (!r)
        return;
    ObjectRecord *rec = r.get();
    int32_t b = obNormaliseAngle((int32_t)rec->rotation + angle);
    rec->rotation = 0;
    if (b == 0)
        return;
    std::vector<POINT> pts = copyPoints(rec);
    const int16_t n = count16(pts);
    geoOffsetPoints(pts.data(), n, rec->centreX, rec->centreY);
    geoRotatePointsAbout(pts.data(), n, pt, geoTenthsToRadians(-(double)b));
    if (n) {
        RECT box;
        geoPointsBounds(pts.data(), n, &box);
        obRecSetRect(rec, &box);
    }
    geoOffsetPoints(pts.data(), n, -rec->centreX, -rec->centreY);
    storePoints(rec, pts);
    if (rec->type == OBT_HLINE || rec->type == OBT_VLINE)
        rec->type = OBT_LINE;
    else if (rec->type == OBT_POLYHV)
        rec->type = OBT_POLYLINE;
}

BOOL shPointsReadCheck(const ObjectRecord *rec, uint32_t)
{
    // The points themselves are taken as stored (files keep points of any
    // value); drawing, outline and rotation cost what the points are.
    return obHeadWithinLimits(rec);
}

BOOL shOffsetWithinLimits(const ObjectRecord *rec, int32_t dx, int32_t dy)
{
    return obCoordWithinLimits((int64_t)rec->centreX + dx) &&
           obCoordWithinLimits((int64_t)rec->centreY + dy);
}
