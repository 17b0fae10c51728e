// Builders of cubes, dimension spans and arcs.
#include "tools/ep_shape_tools.h"
#include "model/ob_dispatch.h"
#include "support/geo_rect.h"
#include "tools/ep_factory.h"
#include "model/pg_page.h"
#include "views/ws_document.h"
#include <string.h>
#include <math.h>
#include <algorithm>

void epCubePoints(const RECT *r, POINT out[6])
{
    int32_t w = r->right - r->left, h = r->bottom - r->top;
    int32_t d = std::min(w, h) / 4;
    int32_t cx = (int32_t)(((int64_t)r->left + r->right) / 2);
    int32_t cy = (int32_t)(((int64_t)r->top + r->bottom) / 2);
    RECT front = {r->left, r->top + d, r->right - d, r->bottom};
    RECT back = {r->left + d, r->top, r->right, r->bottom - d};
    out[0] = {front.left - cx, front.top - cy};
    out[1] = {back.left - cx, back.top - cy};
    out[2] = {back.right - cx, back.top - cy};
    out[3] = {back.right - cx, back.bottom - cy};
    out[4] = {front.right - cx, front.bottom - cy};
    out[5] = {front.left - cx, front.bottom - cy};
}

MemHandle epCubeBuild(MemHandle h, const RECT *bounds)
{
    MemHandle g = obResize(h, kEpCubeRecordSize);
    if (!g)
        return 0;
    ObLock r(g);
    r->length = kEpCubeRecordSize;
    r->type = OBT_CUBE;
    r->nameLength = 0;
    POINT pts[6];
    epCubePoints(bounds, pts);
    uint8_t *d = obRecData(r.get());
    int16_t n = 6;
    memcpy(d, &n, 2);
    memcpy(d + 2, pts, sizeof pts);
    return g;
}

void epCubeRubberBand(HDC dc, const RECT *r)
{
    if (!dc || !r)
        return;
    POINT pts[6];
    epCubePoints(r, pts);
    int32_t cx = (int32_t)(((int64_t)r->left + r->right) / 2);
    int32_t cy = (int32_t)(((int64_t)r->top + r->bottom) / 2);
    for (POINT &p : pts) {
        p.x += cx;
        p.y += cy;
    }
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Polygon(dc, pts, 6);
    SelectObject(dc, oldBrush);
    // The front face's top-right corner, joined to P0, P2 and P4.
    int32_t d = std::min(r->right - r->left, r->bottom - r->top) / 4;
    POINT corner = {r->right - d, r->top + d};
    const int inner[3] = {0, 2, 4};
    for (int i : inner) {
        MoveToEx(dc, corner.x, corner.y, nullptr);
        LineTo(dc, pts[i].x, pts[i].y);
    }
}

namespace {

// The tick at q: from q + n (2 m0 - 1) / 2 to q - n (2 m1 - 1) / 2, with n
// the normal of the span's direction.
void tickAt(POINT first, POINT second, POINT q, int32_t m0, int32_t m1, POINT out[2])
{
    double dx = (double)second.x - first.x, dy = (double)second.y - first.y;
    double len = sqrt(dx * dx + dy * dy);
    double nx = 0, ny = 0;
    if (len > 0) {
        nx = -dy / len;
        ny = dx / len;
    }
    double a = (2.0 * m0 - 1) / 2, b = (2.0 * m1 - 1) / 2;
    out[0] = {geoRound(q.x + nx * a), geoRound(q.y + ny * a)};
    out[1] = {geoRound(q.x - nx * b), geoRound(q.y - ny * b)};
}

void unite(RECT *r, POINT p)
{
    r->left = std::min(r->left, p.x);
    r->right = std::max(r->right, p.x);
    r->top = std::min(r->top, p.y);
    r->bottom = std::max(r->bottom, p.y);
}

}  // namespace

void shDimSpanBounds(ObjectRecord *rec, RECT *out)
{
    uint8_t *d = obRecData(rec);
    POINT p[2];
    memcpy(p, d + 2, sizeof p);
    int32_t m0, m1;
    memcpy(&m0, d + 18, 4);
    memcpy(&m1, d + 22, 4);
    for (POINT &q : p) {
        q.x += rec->centreX;
        q.y += rec->centreY;
    }
    RECT r = {std::min(p[0].x, p[1].x), std::min(p[0].y, p[1].y), std::max(p[0].x, p[1].x),
              std::max(p[0].y, p[1].y)};
    POINT tick[2];
    tickAt(p[0], p[1], p[1], m0, m1, tick);
    unite(&r, tick[0]);
    unite(&r, tick[1]);
    // The first point's tick has the same shape, moved by (first - second).
    for (POINT t : tick)
        unite(&r, POINT{t.x + p[0].x - p[1].x, t.y + p[0].y - p[1].y});
    obRecSetRect(rec, &r);
    for (POINT &q : p) {
        q.x -= rec->centreX;
        q.y -= rec->centreY;
    }
    memcpy(d + 2, p, sizeof p);
    if (out)
        *out = r;
}

MemHandle epDimSpanBuild(MemHandle h, const POINT pts[2], int16_t markStyle, int32_t tickLength)
{
    uint32_t size;
    {
        ObLock r(h);
        if (!r || !pts)
            return 0;
        size = obDataOffset(r.get()) + kEpDimSpanDataSize;
    }
    MemHandle g = obResize(h, size);
    if (!g)
        return 0;
    ObLock r(g);
    r->length = size;
    uint8_t *d = obRecData(r.get());
    memset(d, 0, kEpDimSpanDataSize);
    int16_t n = 2;
    memcpy(d, &n, 2);
    for (int i = 0; i < 2; ++i) {
        POINT p = {pts[i].x - r->centreX, pts[i].y - r->centreY};
        memcpy(d + 2 + 8 * i, &p, 8);
    }
    memcpy(d + 18, &tickLength, 4);
    memcpy(d + 22, &tickLength, 4);
    int16_t style = markStyle ? markStyle : kEpDimSpanDefaultMark;
    memcpy(d + 26, &style, 2);
    memcpy(d + 28, &tickLength, 4);
    shDimSpanBounds(r.get(), nullptr);
    return g;
}

MemHandle arcBuild(MemHandle h)
{
    uint32_t size;
    {
        ObLock r(h);
        if (!r)
            return 0;
        size = obDataOffset(r.get()) + kEpArcDataSize + obFillDataSize(r->fillKind) *
                                                            (r->type == OBT_PIE ? 1 : 0);
    }
    MemHandle g = obResize(h, size);
    if (!g)
        return 0;
    ObLock r(g);
    r->length = size;
    uint8_t *d = obRecData(r.get());
    memset(d, 0, kEpArcDataSize);
    memcpy(d, &r->width, 4);
    memcpy(d + 4, &r->height, 4);
    int16_t start = 0, end = 3600;
    memcpy(d + 16, &start, 2);
    memcpy(d + 18, &end, 2);
    return g;
}

MemHandle epCreateArcAt(HWND workspace, const POINT pts[2], int16_t type)
{
    if (type != OBT_PIE && type != OBT_ARC)
        return 0;
    MemHandle page = workspace ? pvGetCurrentPage(workspace) : 0;
    if (!page)
        return 0;
    MemHandle h = epCreateObject(workspace, 0, type, pts, 2);
    if (!h)
        return 0;
    pgAppendObject(page, h);
    return h;
}
