// The dimension span: size, ticks, drawing, points, bounds, rescaling,
// rotating and mirroring.
#include "objects/sh_dimspan.h"
#include "objects/sh_lineend.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <math.h>
#include <string.h>
#include <algorithm>
#include <utility>

namespace {

struct Span {
    POINT p[2];
    int32_t m0, m1;
    LineEndRecord end;
};

bool hasSpan(const ObjectRecord *rec)
{
    return rec && rec->type == OBT_DIMENSION &&
           (uint64_t)obDataOffset(rec) + kShDimSpanGeometry <= rec->length;
}

Span readSpan(const ObjectRecord *rec)
{
    Span s;
    const uint8_t *d = reinterpret_cast<const uint8_t *>(rec) + obDataOffset(rec);
    memcpy(s.p, d + 2, sizeof s.p);
    memcpy(&s.m0, d + 18, 4);
    memcpy(&s.m1, d + 22, 4);
    memcpy(&s.end, d + 26, sizeof s.end);
    return s;
}

void writeSpan(ObjectRecord *rec, const Span &s)
{
    uint8_t *d = obRecData(rec);
    memcpy(d + 2, s.p, sizeof s.p);
    memcpy(d + 18, &s.m0, 4);
    memcpy(d + 22, &s.m1, 4);
}

double turnRadians(int32_t tenths) { return geoTenthsToRadians(-(double)tenths); }

// A stored rotation turned into the points (about the centre), rotation 0.
void bakeRotation(ObjectRecord *rec)
{
    if (!rec->rotation)
        return;
    Span s = readSpan(rec);
    geoRotatePoints(s.p, 2, turnRadians(rec->rotation));
    writeSpan(rec, s);
    rec->rotation = 0;
}

void unite(RECT *r, const POINT *pts, int n)
{
    for (int i = 0; i < n; ++i) {
        r->left = std::min(r->left, pts[i].x);
        r->right = std::max(r->right, pts[i].x);
        r->top = std::min(r->top, pts[i].y);
        r->bottom = std::max(r->bottom, pts[i].y);
    }
}

// The page points of the span, a stored rotation applied to a copy.
void pagePoints(const ObjectRecord *rec, const Span &s, POINT p[2])
{
    p[0] = s.p[0];
    p[1] = s.p[1];
    if (rec->rotation)
        geoRotatePoints(p, 2, turnRadians(rec->rotation));
    geoOffsetPoints(p, 2, rec->centreX, rec->centreY);
}

void drawTicks(HDC dc, const POINT p[2], const Span &s)
{
    POINT tick[2];
    shDimSpanStartTick(p, s.m0, s.m1, tick);
    gdiLinePts(dc, tick[0], tick[1]);
    shDimSpanTicks(p, s.m0, s.m1, tick);
    gdiLinePts(dc, tick[0], tick[1]);
}

int32_t roundScaled(int32_t v, double f)
{
    return geoRound(std::max(-2147483647.0, std::min(2147483647.0, v * f)));
}

void flip(ObjectRecord *rec, bool horizontal)
{
    if (!hasSpan(rec))
        return;
    Span s = readSpan(rec);
    for (POINT &q : s.p) {
        if (horizontal)
            q.x = -q.x;
        else
            q.y = -q.y;
    }
    // The mirror turns the normal side over.
    std::swap(s.m0, s.m1);
    writeSpan(rec, s);
}

}  // namespace

uint32_t shDimSpanSize(ObjectRecord *rec)
{
    if (!rec)
        return 0;
    rec->length = obDataOffset(rec) + kShDimSpanGeometry;
    return rec->length;
}

uint8_t *shDimSpanGetMarkSize(ObjectRecord *rec)
{
    return hasSpan(rec) ? obRecData(rec) + 18 : nullptr;
}

void shDimSpanTicks(const POINT pts[2], int32_t m0, int32_t m1, POINT out[2])
{
    POINT a[2], b[2];
    geoPerpendicularAt(pts[0], pts[1], (int32_t)std::min<int64_t>(2 * (int64_t)m0, INT32_MAX), a);
    geoPerpendicularAt(pts[0], pts[1], (int32_t)std::min<int64_t>(2 * (int64_t)m1, INT32_MAX), b);
    out[0] = a[0];
    out[1] = b[1];
}

void shDimSpanStartTick(const POINT pts[2], int32_t m0, int32_t m1, POINT out[2])
{
    shDimSpanTicks(pts, m0, m1, out);
    geoOffsetPoints(out, 2, pts[0].x - pts[1].x, pts[0].y - pts[1].y);
}

void shDimSpanDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !hasSpan(rec))
        return;
    Span s = readSpan(rec);
    POINT p[2];
    pagePoints(rec, s, p);
    int32_t width = obGetDrawnPenWidth(rec);
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    {
        GdiObject<HPEN> pen(CreatePen(gdiLineStylePen(rec->lineStyle), width, rec->penColour));
        GdiSelect selPen(dc, pen);
        shDrawSegmentWithEnds(dc, p[0], p[1], rec->lineStyle, width, &s.end, &s.end,
                              rec->penColour);
        drawTicks(dc, p, s);
    }
    obRestoreDCModes(dc, &modes);
}

void shDimSpanOutline(HDC dc, ObjectRecord *rec)
{
    if (!dc || !hasSpan(rec))
        return;
    Span s = readSpan(rec);
    POINT p[2];
    pagePoints(rec, s, p);
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    gdiLinePts(dc, p[0], p[1]);
    drawTicks(dc, p, s);
    obRestoreDCModes(dc, &modes);
}

MemHandle shDimSpanPoints(ObjectRecord *rec, int16_t *count)
{
    if (count)
        *count = 0;
    if (!hasSpan(rec))
        return 0;
    Span s = readSpan(rec);
    MemHandle h = utHandleFromBytes(s.p, sizeof s.p);
    if (count && h)
        *count = 2;
    return h;
}

void shDimSpanBounds(ObjectRecord *rec, RECT *out)
{
    if (!hasSpan(rec)) {
        if (rec && out)
            obRecGetRect(rec, out);
        return;
    }
    Span s = readSpan(rec);
    POINT p[2] = {s.p[0], s.p[1]};
    geoOffsetPoints(p, 2, rec->centreX, rec->centreY);
    RECT r;
    geoRectFromPoints(p[0], p[1], &r);
    POINT tick[2];
    shDimSpanStartTick(p, s.m0, s.m1, tick);
    unite(&r, tick, 2);
    shDimSpanTicks(p, s.m0, s.m1, tick);
    unite(&r, tick, 2);
    obRecSetRect(rec, &r);
    geoOffsetPoints(p, 2, -rec->centreX, -rec->centreY);
    s.p[0] = p[0];
    s.p[1] = p[1];
    writeSpan(rec, s);
    if (out)
        *out = r;
}

BOOL shDimSpanBounds(MemHandle h, RECT *out)
{
    ObLock r(h);
    if (!r) {
        if (out)
            geoSetRect(out, 0, 0, 0, 0);
        return FALSE;
    }
    RECT box;
    shDimSpanBounds(r.get(), &box);
    if (out)
        *out = box;
    return TRUE;
}

void shDimSpanRescale(MemHandle h, const RECT *target)
{
    ObLock r(h);
    if (!r || !target || !hasSpan(r.get()))
        return;
    ObjectRecord *rec = r.get();
    bakeRotation(rec);
    double tw = (double)target->right - target->left, th = (double)target->bottom - target->top;
    double sx = rec->width > 0 ? tw / rec->width : 1.0;
    double sy = rec->height > 0 ? th / rec->height : 1.0;
    Span s = readSpan(rec);
    for (POINT &q : s.p) {
        if (sx != 1.0)
            q.x = roundScaled(q.x, sx);
        if (sy != 1.0)
            q.y = roundScaled(q.y, sy);
    }
    POINT c;
    geoRectCentre(target, &c);
    rec->centreX = c.x;
    rec->centreY = c.y;
    // The ticks run across the span: they follow the stretch across it.
    bool vertical = s.p[0].x == s.p[1].x, horizontal = s.p[0].y == s.p[1].y;
    if (sx != 1.0 && vertical) {
        s.m0 = roundScaled(s.m0, sx);
        s.m1 = roundScaled(s.m1, sx);
    }
    if (sy != 1.0 && horizontal) {
        s.m0 = roundScaled(s.m0, sy);
        s.m1 = roundScaled(s.m1, sy);
    }
    writeSpan(rec, s);
    shDimSpanBounds(rec, nullptr);
}

void shDimSpanRotate(MemHandle h, POINT pt, int16_t angle)
{
    ObLock r(h);
    if (!r || !hasSpan(r.get()))
        return;
    ObjectRecord *rec = r.get();
    bakeRotation(rec);
    if (angle != 0) {
        Span s = readSpan(rec);
        geoOffsetPoints(s.p, 2, rec->centreX, rec->centreY);
        geoRotatePointsAbout(s.p, 2, pt, turnRadians(angle));
        geoOffsetPoints(s.p, 2, -rec->centreX, -rec->centreY);
        writeSpan(rec, s);
    }
    shDimSpanBounds(rec, nullptr);
}

void shDimSpanFlipH(ObjectRecord *rec) { flip(rec, true); }
void shDimSpanFlipV(ObjectRecord *rec) { flip(rec, false); }

BOOL shDimSpanReadCheck(const ObjectRecord *rec, uint32_t length)
{
    // Its points and ticks are taken as stored: drawing and printing bound
    // what they cost.
    return obHeadWithinLimits(rec) && (uint64_t)obDataOffset(rec) + kShDimSpanGeometry <= length;
}
