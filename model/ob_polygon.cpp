// Polygon records from points.
#include "model/ob_polygon.h"
#include "model/ob_dispatch.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>

MemHandle epMakePolygonRecord(const ObjectRecord *source, const POINT *points, int16_t n,
                              const void *fillBlock)
{
    if (!source || n < 0 || (n > 0 && !points))
        return 0;
    uint32_t name = std::min<uint32_t>(source->nameLength, kObMaxNameBytes);
    uint32_t fill = fillBlock ? obFillDataSize(source->fillKind) : 0;
    uint32_t len = kObHeadSize + name + 2 + 8 * (uint32_t)n + fill;
    MemHandle h = obNewRecord(len);
    if (!h)
        return 0;
    ObLock r(h);
    uint8_t *p = reinterpret_cast<uint8_t *>(r.get());
    memcpy(p, source, kObHeadSize + name);
    r->nameLength = (uint8_t)name;
    r->type = OBT_POLYGON;
    r->length = len;
    uint8_t *data = p + kObHeadSize + name;
    memcpy(data, &n, 2);
    memcpy(data + 2, points, 8 * (size_t)n);
    if (fill)
        memcpy(data + 2 + 8 * (size_t)n, fillBlock, fill);
    return h;
}
