// Stand-in: node editing is not in the program yet. Its point writer is
// here as far as the end-point drag needs it: the same number of points,
// no growing or shrinking of the record and no change of type.
#include "tools/ne_standins.h"
#include "model/ob_record.h"
#include "support/geo_rect.h"
#include "support/ut_bytes.h"
#include <algorithm>

MemHandle neWritePoints(MemHandle object, const POINT *points, int16_t n)
{
    ObLock r(object);
    if (!r || !points || n < 1)
        return 0;
    uint8_t *d = obRecData(r.get());
    if (obDataOffset(r.get()) + 2 + (uint32_t)n * 8 > r.extent() || utGetAt<int16_t>(d, 0) != n)
        return 0;
    RECT b = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < n; ++i) {
        b.left = std::min(b.left, points[i].x);
        b.top = std::min(b.top, points[i].y);
        b.right = std::max(b.right, points[i].x);
        b.bottom = std::max(b.bottom, points[i].y);
    }
    obRecSetRect(r.get(), &b);
    for (int i = 0; i < n; ++i)
        utPutAt(d, 2 + i * 8, POINT{points[i].x - r->centreX, points[i].y - r->centreY});
    return object;
}
