// Bezier curve picking and point markers.
#include "support/geo_pick.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include <stdlib.h>

BOOL geoBezierHitPoint(POINT *pt, int32_t tol, const POINT ctrl[4])
{
    if (!pt || !ctrl || tol < 2)
        return FALSE;
    // The leg lengths and the step count are kept wide: a long curve at a
    // fine tolerance needs more steps than 16 bits hold.
    int64_t length = 0;
    for (int i = 0; i < 3; ++i)
        length += geoVectorLength(ctrl[i + 1].x - ctrl[i].x, ctrl[i + 1].y - ctrl[i].y);
    int64_t steps64 = length / tol;
    int32_t steps = steps64 > kGeoBezierMaxSteps ? kGeoBezierMaxSteps : (int32_t)steps64;
    if (steps <= 0)
        return FALSE;
    for (int32_t k = 1; k <= steps; ++k) {
        double t = (double)k / steps, u = 1.0 - t;
        double a = u * u * u, b = 3.0 * t * u * u, c = 3.0 * t * t * u, d = t * t * t;
        int32_t x = geoRound(a * ctrl[0].x + b * ctrl[1].x + c * ctrl[2].x + d * ctrl[3].x);
        int32_t y = geoRound(a * ctrl[0].y + b * ctrl[1].y + c * ctrl[2].y + d * ctrl[3].y);
        if (llabs((long long)x - pt->x) <= tol && llabs((long long)y - pt->y) <= tol) {
            pt->x = x;
            pt->y = y;
            return TRUE;
        }
    }
    return FALSE;
}

int16_t geoBezierHitSegment(POINT *pt, int32_t tol, const POINT *pts, int16_t count)
{
    if (!pts)
        return -1;
    for (int32_t start = 0; start + 3 < count; start += 3)
        if (geoBezierHitPoint(pt, tol, pts + start))
            return (int16_t)start;
    return -1;
}

void gdiMarkerAt(HDC dc, POINT pt, int kind)
{
    int32_t hx = 0, hy = 0;
    dmGetHandleSize(&hx, &hy);
    switch (kind) {
    case 0: gdiRectangle(dc, pt.x - hx, pt.y - hy, pt.x + hx, pt.y + hy); break;
    case 1: gdiEllipse(dc, pt.x - hx, pt.y - hy, pt.x + hx, pt.y + hy); break;
    }
}
