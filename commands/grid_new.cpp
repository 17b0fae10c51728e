// Grid objects made from two corner points.
#include "commands/grid_new.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "objects/sh_grid.h"
#include "support/geo_rect.h"
#include <string.h>

MemHandle gridNew(MemHandle h, POINT a, POINT b, int16_t columns, int16_t rows)
{
    uint32_t size;
    {
        ObLock r(h);
        if (!r)
            return 0;
        size = obDataOffset(r.get()) + kShGridDataSize + obFillDataSize(r->fillKind);
    }
    MemHandle g = obResize(h, size);
    if (!g)
        return 0;
    ObLock r(g);
    ObjectRecord *rec = r.get();
    if (!shIsGridType(rec->type))
        rec->type = OBT_GRID;
    RECT box;
    geoRectFromPoints(a, b, &box);
    const int32_t width = box.right - box.left, height = box.bottom - box.top;
    uint8_t *d = obRecData(rec);
    memset(d, 0, kShGridDataSize);
    memcpy(d, &width, 4);
    memcpy(d + 4, &height, 4);
    memcpy(d + 8, &columns, 2);
    memcpy(d + 10, &rows, 2);
    rec->centreX = (int32_t)(((int64_t)a.x + b.x) / 2);
    rec->centreY = (int32_t)(((int64_t)a.y + b.y) / 2);
    rec->width = width;
    rec->height = height;
    rec->length = size;
    if (columns != -1 && rows != -1)
        shGridBounds(rec, nullptr);
    return g;
}

MemHandle gridNewOneColumn(MemHandle h, POINT a, POINT b, int16_t rows)
{
    return gridNew(h, a, b, 1, rows);
}

MemHandle gridNewOneRow(MemHandle h, POINT a, POINT b, int16_t columns)
{
    return gridNew(h, a, b, columns, 1);
}
