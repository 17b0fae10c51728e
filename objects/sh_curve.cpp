// The curve shapes: drawing with fills and line ends, flattened points,
// bounds with scale words, rescaling and rotating.
#include "objects/sh_curve.h"
#include "objects/fil_fill.h"
#include "objects/sh_lineend.h"
#include "objects/sh_points.h"
#include "model/ob_draw.h"
#include "support/gdi_draw.h"
#include "support/geo_bezier.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

std::vector<POINT> heldPoints(ObjectRecord *rec)
{
    int32_t n;
    uint8_t *d = shPointData(rec, 0, &n);
    n = std::min<int32_t>(n, INT16_MAX);
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

// The control points as drawn: turned by the rotation, moved by the centre.
std::vector<POINT> drawnPoints(ObjectRecord *rec)
{
    std::vector<POINT> pts = heldPoints(rec);
    int16_t n = (int16_t)pts.size();
    if (rec->rotation)
        geoRotatePoints(pts.data(), n, geoTenthsToRadians(-(double)rec->rotation));
    geoOffsetPoints(pts.data(), n, rec->centreX, rec->centreY);
    return pts;
}

bool samePoint(const POINT &a, const POINT &b) { return a.x == b.x && a.y == b.y; }

}  // namespace

void shBezierDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    GdiObject<HPEN> pen(CreatePen(gdiLineStylePen(rec->lineStyle), obGetDrawnPenWidth(rec),
                                  rec->penColour));
    GdiSelect selPen(dc, pen);
    std::vector<POINT> pts = drawnPoints(rec);
    const int16_t n = (int16_t)pts.size();
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    gdiPolyBezier(dc, pts.data(), n);
    if (rec->flags & OBF_ALL_CHORDS)
        gdiBezierAllChords(dc, pts.data(), n);
    if (rec->flags & (OBF_START_SYMBOL | OBF_END_SYMBOL))
        shDrawCurveEnds(dc, pts.data(), n, rec);
    obRestoreDCModes(dc, &modes);
}

void shClosedCurveDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    std::vector<POINT> pts = drawnPoints(rec);
    const int16_t n = (int16_t)pts.size();
    filDrawClosedShape(dc, rec, [&](HDC d) {
        gdiPolyBezierClosed(d, pts.data(), n);
        if (rec->flags & OBF_ALL_CHORDS)
            gdiBezierAllChords(d, pts.data(), n);
    });
}

void shDrawCurveEnds(HDC dc, const POINT *pts, int32_t n, ObjectRecord *rec)
{
    if (!dc || !pts || !rec || n < 2)
        return;
    if (const LineEndRecord *start = shGetStartLineEnd(rec)) {
        LineEndRecord s;
        memcpy(&s, start, sizeof s);
        for (int32_t i = 1; i < n; ++i) {
            if (!samePoint(pts[i], pts[0])) {
                shDrawLineEnd(dc, pts[i], pts[0], s.style, s.size, rec->penColour);
                break;
            }
        }
    }
    if (const LineEndRecord *end = shGetEndLineEnd(rec)) {
        LineEndRecord e;
        memcpy(&e, end, sizeof e);
        for (int32_t i = n - 2; i >= 0; --i) {
            if (!samePoint(pts[i], pts[n - 1])) {
                shDrawLineEnd(dc, pts[i], pts[n - 1], e.style, e.size, rec->penColour);
                break;
            }
        }
    }
}

MemHandle shCurveFlatPoints(ObjectRecord *rec, int16_t *count)
{
    if (count)
        *count = 0;
    if (!rec)
        return 0;
    std::vector<POINT> pts = heldPoints(rec);
    if (pts.empty())
        return 0;
    geoOffsetPoints(pts.data(), (int16_t)pts.size(), rec->centreX, rec->centreY);
    int16_t flat = 0;
    MemHandle h = geoFlattenBezier(pts.data(), (int16_t)pts.size(), &flat);
    if (count)
        *count = h ? flat : 0;
    return h;
}

MemHandle shCurveFlatPoints(MemHandle h, int16_t *count)
{
    if (count)
        *count = 0;
    ObLock r(h);
    return r ? shCurveFlatPoints(r.get(), count) : 0;
}

void shBezierBounds(ObjectRecord *rec, RECT *r)
{
    if (!rec)
        return;
    RECT box;
    obRecGetRect(rec, &box);
    std::vector<POINT> pts = heldPoints(rec);
    const int16_t n = (int16_t)pts.size();
    geoOffsetPoints(pts.data(), n, rec->centreX, rec->centreY);
    RECT bounds;
    if (n < 1 || !geoBezierBounds(pts.data(), n, &bounds)) {
        if (r)
            *r = box;
        return;
    }
    obRecSetRect(rec, &bounds);
    geoOffsetPoints(pts.data(), n, -rec->centreX, -rec->centreY);
    storePoints(rec, pts);
    if (rec->scaleX != kObScaleOne)
        rec->width = (int32_t)((int64_t)rec->width * rec->scaleX / kObScaleOne);
    if (rec->scaleY != kObScaleOne)
        rec->height = (int32_t)((int64_t)rec->height * rec->scaleY / kObScaleOne);
    if (r)
        *r = bounds;
}

BOOL shBezierBounds(MemHandle h, RECT *r)
{
    ObLock rec(h);
    if (!rec) {
        if (r)
            geoSetRect(r, 0, 0, 0, 0);
        return FALSE;
    }
    shBezierBounds(rec.get(), r);
    return TRUE;
}

void shCurveRescale(MemHandle h, const RECT *target)
{
    ObLock r(h);
    if (!r || !target)
        return;
    shPointsRescale(r.get(), target);
    shBezierBounds(r.get(), nullptr);
}

void shCurveRotate(MemHandle h, POINT pt, int16_t angle)
{
    ObLock r(h);
    if (!r || angle == 0)
        return;
    ObjectRecord *rec = r.get();
    std::vector<POINT> pts = heldPoints(rec);
    const int16_t n = (int16_t)pts.size();
    // The sum is taken as it is, not brought into 0..3599.
    int32_t total = (int32_t)rec->rotation + angle;
    geoOffsetPoints(pts.data(), n, rec->centreX, rec->centreY);
    geoRotatePointsAbout(pts.data(), n, pt, geoTenthsToRadians(-(double)total));
    rec->rotation = 0;
    geoOffsetPoints(pts.data(), n, -rec->centreX, -rec->centreY);
    storePoints(rec, pts);
    shBezierBounds(rec, nullptr);
}
