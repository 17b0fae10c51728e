// The curve shapes' bounds and rescaling.
#include "objects/sh_curve.h"
#include "objects/sh_points.h"
#include "support/geo_bezier.h"
#include "support/geo_rect.h"
#include <string.h>
#include <algorithm>
#include <vector>

void shBezierBounds(ObjectRecord *rec, RECT *r)
{
    if (!rec)
        return;
    RECT box;
    obRecGetRect(rec, &box);
    uint32_t at = obDataOffset(rec);
    int16_t count = 0;
    if ((uint64_t)at + 2 <= rec->length)
        memcpy(&count, obRecData(rec), 2);
    uint32_t held = (uint64_t)at + 2 <= rec->length ? (rec->length - at - 2) / sizeof(POINT) : 0;
    int16_t n = (int16_t)std::max<int32_t>(0, std::min<int32_t>(count, (int32_t)held));
    uint8_t *data = obRecData(rec) + 2;
    std::vector<POINT> pts((size_t)n);
    if (n)
        memcpy(pts.data(), data, sizeof(POINT) * (size_t)n);
    geoOffsetPoints(pts.data(), n, rec->centreX, rec->centreY);
    RECT bounds;
    if (n < 1 || !geoBezierBounds(pts.data(), n, &bounds)) {
        if (r)
            *r = box;
        return;
    }
    obRecSetRect(rec, &bounds);
    geoOffsetPoints(pts.data(), n, -rec->centreX, -rec->centreY);
    if (n)
        memcpy(data, pts.data(), sizeof(POINT) * (size_t)n);
    if (rec->scaleX != kObScaleOne)
        rec->width = (int32_t)((int64_t)rec->width * rec->scaleX / kObScaleOne);
    if (rec->scaleY != kObScaleOne)
        rec->height = (int32_t)((int64_t)rec->height * rec->scaleY / kObScaleOne);
    if (r)
        *r = bounds;
}

void shCurveRescale(MemHandle h, const RECT *target)
{
    ObLock r(h);
    if (!r || !target)
        return;
    shPointsRescale(r.get(), target);
    shBezierBounds(r.get(), nullptr);
}
