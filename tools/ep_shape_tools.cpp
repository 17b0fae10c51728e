// Builders of cubes, dimension spans and arcs.
#include "tools/ep_shape_tools.h"
#include "model/ob_dispatch.h"
#include "objects/sh_dimspan.h"
#include "support/geo_rect.h"
#include "tools/ep_factory.h"
#include "model/pg_page.h"
#include "model/ws_document.h"
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
