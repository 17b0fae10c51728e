// The star and regular-polygon shapes of the drawing tools.
#include "tools/ep_polygon.h"
#include "model/ob_dispatch.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>

// ---- stars and regular polygons ----------------------------------------------------------

namespace {
int16_t g_starCount = 5;
int16_t g_starPercent = 50;
}  // namespace

void epSetStarConfig(int16_t count, int16_t percent)
{
    g_starCount = count;
    g_starPercent = percent;
}

void epSetPolygonCorners(int16_t count) { g_starCount = count; }

void epGetStarConfig(int16_t *count, int16_t *percent)
{
    if (count)
        *count = g_starCount;
    if (percent)
        *percent = g_starPercent;
}

std::vector<POINT> epStarPolygonPoints(int16_t type, POINT start, POINT end)
{
    std::vector<POINT> out;
    if (type != OBT_STAR && type != OBT_POLYGON_ALIAS)
        return out;
    // A drag from right to left must not give a negative radius (the figure
    // would come out turned over and the object inside out).
    int64_t width = (int64_t)end.x - start.x;
    int32_t outer = (int32_t)((width < 0 ? -width : width) / 2);
    int16_t n = g_starCount;
    MemHandle h;
    int count;
    if (type == OBT_STAR) {
        int32_t inner = (int32_t)((int64_t)outer * g_starPercent / 100);
        h = geoStarPoints(n, outer, inner);
        count = 2 * n;
    } else {
        h = geoRegularPolygon(n, outer);
        count = n;
    }
    if (!h)
        return out;
    int32_t cx = (int32_t)(((int64_t)start.x + end.x) / 2);
    int32_t cy = (int32_t)(((int64_t)start.y + end.y) / 2);
    {
        MemLock<POINT> pts(h);
        if (pts) {
            out.reserve(count);
            for (int i = 0; i < count; ++i)
                out.push_back(POINT{pts[i].x + cx, pts[i].y + cy});
        }
    }
    utFreeHandle(h);
    return out;
}
