// Grid objects: size, bounds, drawing, outline, points, rescale and rotate.
#include "objects/sh_grid.h"
#include "objects/fil_fill.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_transform.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

bool holdsData(const ObjectRecord *rec, uint32_t bytes)
{
    return (uint64_t)obDataOffset(rec) + bytes <= rec->length;
}

int32_t clampInt(int64_t v)
{
    return (int32_t)std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, v));
}

void setSize(ObjectRecord *rec, int32_t width, int32_t height)
{
    if (!holdsData(rec, 8))
        return;
    memcpy(obRecData(rec), &width, 4);
    memcpy(obRecData(rec) + 4, &height, 4);
}

// The box about the centre, halves truncated toward zero.
RECT localBox(int32_t width, int32_t height)
{
    RECT box;
    geoSetRect(&box, clampInt(-(int64_t)width / 2), clampInt(-(int64_t)height / 2),
               clampInt((int64_t)width / 2), clampInt((int64_t)height / 2));
    return box;
}

void turn(POINT *pts, int16_t n, uint16_t rotation)
{
    if (rotation)
        geoRotatePoints(pts, n, geoTenthsToRadians(-(double)rotation));
}

// The four corners turned by the rotation, relative to the centre.
void turnedCorners(const ObjectRecord *rec, POINT corners[4])
{
    int32_t w, h, c, r;
    shGridGeometry(rec, &w, &h, &c, &r);
    RECT box = localBox(w, h);
    geoRectToCorners(&box, corners);
    turn(corners, 4, rec->rotation);
}

void figure(HDC dc, const ObjectRecord *rec, bool framed)
{
    POINT v[4];
    turnedCorners(rec, v);
    geoOffsetPoints(v, 4, rec->centreX, rec->centreY);
    GdiSelect nullPen(dc, framed ? nullptr : GetStockObject(NULL_PEN));
    gdiPolygon(dc, v, 4);
    if (rec->flags & OBF_ALL_CHORDS)
        gdiDrawAllChords(dc, v, 4);
}

// The ruled lines with the pen selected in the DC.
void ruleLines(HDC dc, const ObjectRecord *rec)
{
    int32_t width, height, columns, rows;
    shGridGeometry(rec, &width, &height, &columns, &rows);
    const int64_t left = (int64_t)rec->centreX - width / 2, right = left + width;
    const int64_t top = (int64_t)rec->centreY - height / 2, bottom = top + height;
    const int64_t colStep = width / columns, rowStep = height / rows;
    const int16_t t = rec->type;
    const double radians = geoTenthsToRadians(-(double)rec->rotation);
    const POINT centre = {rec->centreX, rec->centreY};
    auto line = [&](int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
        POINT p[2] = {{clampInt(x1), clampInt(y1)}, {clampInt(x2), clampInt(y2)}};
        if (rec->rotation)
            geoRotatePointsAbout(p, 2, centre, radians);
        gdiLinePts(dc, p[0], p[1]);
    };
    // Only the lines that cross the clip are drawn: the clip's corners
    // turned back into the grid's own axes give the range of each set.
    const int64_t kFar = (int64_t)1 << 40;
    int64_t minX = -kFar, maxX = kFar, minY = -kFar, maxY = kFar;
    RECT clip;
    if (GetClipBox(dc, &clip) != ERROR) {
        POINT c[4] = {{clip.left, clip.top}, {clip.right, clip.top}, {clip.right, clip.bottom},
                      {clip.left, clip.bottom}};
        if (rec->rotation)
            geoRotatePointsAbout(c, 4, centre, -radians);
        minX = maxX = c[0].x;
        minY = maxY = c[0].y;
        for (const POINT &p : c) {
            minX = std::min<int64_t>(minX, p.x), maxX = std::max<int64_t>(maxX, p.x);
            minY = std::min<int64_t>(minY, p.y), maxY = std::max<int64_t>(maxY, p.y);
        }
    }
    // Indexes i of lines at origin + i * step within [lo, hi], cut to
    // [from, to]; a step of 0 puts every line on the first.
    auto visible = [](int64_t origin, int64_t step, int64_t lo, int64_t hi, int32_t &from,
                      int32_t &to) {
        if (step == 0) {
            to = origin >= lo && origin <= hi ? std::min(to, from) : from - 1;
            return;
        }
        int64_t a = (lo - origin) / step, b = (hi - origin) / step;
        if (a > b)
            std::swap(a, b);
        from = (int32_t)std::max<int64_t>(from, a - 1);
        to = (int32_t)std::min<int64_t>(to, b + 1);
    };
    int32_t from = t == OBT_GRID492 ? 0 : 1, to = t == OBT_GRID492 ? columns : columns - 1;
    visible(left, colStep, minX, maxX, from, to);
    for (int32_t i = from; i <= to; ++i)
        line(left + i * colStep, top, left + i * colStep, bottom);
    from = t == OBT_GRID491 ? 0 : 1;
    to = t == OBT_GRID491 ? rows : rows - 1;
    visible(top, rowStep, minY, maxY, from, to);
    for (int32_t i = from; i <= to; ++i)
        line(left, top + i * rowStep, right, top + i * rowStep);
}

template <typename Op>
void locked(MemHandle h, Op op)
{
    ObLock r(h);
    if (r && shIsGridType(r->type))
        op(r.get());
}

}  // namespace

BOOL shIsGridType(int16_t type)
{
    return type == OBT_GRID || type == OBT_GRID491 || type == OBT_GRID492;
}

int32_t shGridCountOf(int16_t stored)
{
    if (stored < 0)
        return 4;
    return stored == 0 ? 1 : stored;
}

void shGridGeometry(const ObjectRecord *rec, int32_t *width, int32_t *height, int32_t *columns,
                    int32_t *rows)
{
    int32_t w = rec->width, h = rec->height;
    int16_t c = 1, r = 1;
    if (holdsData(rec, 12)) {
        const uint8_t *d = reinterpret_cast<const uint8_t *>(rec) + obDataOffset(rec);
        memcpy(&w, d, 4);
        memcpy(&h, d + 4, 4);
        memcpy(&c, d + 8, 2);
        memcpy(&r, d + 10, 2);
    }
    *width = w;
    *height = h;
    *columns = shGridCountOf(c);
    *rows = shGridCountOf(r);
}

uint32_t shGridSize(ObjectRecord *rec)
{
    if (!rec)
        return 0;
    rec->length = obDataOffset(rec) + kShGridDataSize + obFillDataSize(rec->fillKind);
    return rec->length;
}

void shGridBounds(ObjectRecord *rec, RECT *r)
{
    if (!rec)
        return;
    int32_t width, height, columns, rows;
    shGridGeometry(rec, &width, &height, &columns, &rows);
    width = (width / columns) * columns;
    height = (height / rows) * rows;
    setSize(rec, width, height);
    RECT box = localBox(width, height);
    if (rec->rotation)
        geoRotatedRectBounds(&box, geoTenthsToRadians(-(double)rec->rotation));
    rec->width = clampInt((int64_t)box.right - box.left);
    rec->height = clampInt((int64_t)box.bottom - box.top);
    geoOffsetRect(&box, rec->centreX, rec->centreY);
    if (r)
        *r = box;
}

BOOL shGridBounds(MemHandle h, RECT *r)
{
    ObLock rec(h);
    if (!rec) {
        if (r)
            geoSetRect(r, 0, 0, 0, 0);
        return FALSE;
    }
    shGridBounds(rec.get(), r);
    return TRUE;
}

void shGridDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    const bool boxed = rec->type == OBT_GRID;
    // Kinds 3 and 4 fill and frame the box themselves; otherwise the boxed
    // grid is a framed polygon, and the ruled-only grids fill it unframed
    // (solid or pattern) so that only their ruled lines show.
    filDrawClosedShape(dc, rec, [rec, boxed](HDC d) {
        if (boxed)
            figure(d, rec, true);
        else if (rec->fillKind == FILL_SOLID || rec->fillKind == FILL_PATTERN)
            figure(d, rec, false);
    });
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    {
        GdiObject<HPEN> pen(CreatePen(gdiLineStylePen(rec->lineStyle), obGetDrawnPenWidth(rec),
                                      rec->penColour));
        GdiSelect sel(dc, pen);
        ruleLines(dc, rec);
    }
    obRestoreDCModes(dc, &modes);
}

void shGridDraw(HDC dc, MemHandle h)
{
    locked(h, [dc](ObjectRecord *r) { shGridDraw(dc, r); });
}

void shGridOutline(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    POINT v[4];
    turnedCorners(rec, v);
    geoOffsetPoints(v, 4, rec->centreX, rec->centreY);
    gdiPolygon(dc, v, 4);
    obRestoreDCModes(dc, &modes);
}

MemHandle shGridPoints(ObjectRecord *rec, int16_t *count)
{
    if (count)
        *count = 0;
    if (!rec)
        return 0;
    POINT v[4];
    turnedCorners(rec, v);
    MemHandle h = utHandleFromBytes(v, sizeof v);
    if (count)
        *count = h ? 4 : 0;
    return h;
}

void shGridRescale(MemHandle h, const RECT *target)
{
    if (!target)
        return;
    locked(h, [target](ObjectRecord *rec) {
        int32_t width, height, columns, rows;
        shGridGeometry(rec, &width, &height, &columns, &rows);
        int64_t newW = llabs((int64_t)target->right - target->left);
        int64_t newH = llabs((int64_t)target->bottom - target->top);
        // A head of no size cannot give a factor: that side keeps its size.
        if (rec->width != 0)
            width = clampInt((int64_t)width * newW / rec->width);
        if (rec->height != 0)
            height = clampInt((int64_t)height * newH / rec->height);
        setSize(rec, width, height);
        POINT c;
        geoRectCentre(target, &c);
        rec->centreX = c.x;
        rec->centreY = c.y;
        shGridBounds(rec, nullptr);
    });
}

void shGridRotate(MemHandle h, POINT pt, int16_t angle)
{
    locked(h, [pt, angle](ObjectRecord *rec) {
        POINT c = {rec->centreX, rec->centreY};
        geoRotatePointsAbout(&c, 1, pt, geoTenthsToRadians(-(double)angle));
        rec->centreX = c.x;
        rec->centreY = c.y;
        rec->rotation = (uint16_t)obNormaliseAngle((int32_t)rec->rotation + angle);
        shGridBounds(rec, nullptr);
    });
}

BOOL shGridReadCheck(const ObjectRecord *rec, uint32_t)
{
    if (!obHeadWithinLimits(rec))
        return FALSE;
    int32_t width, height, columns, rows;
    shGridGeometry(rec, &width, &height, &columns, &rows);
    return obSizeWithinLimits(width) && obSizeWithinLimits(height) &&
           (width == 0 || columns <= llabs(width)) && (height == 0 || rows <= llabs(height));
}
