// Drawn rectangles: the box grown by what the object draws beyond it.
#include "model/ob_draw.h"
#include "model/ob_dispatch.h"
#include "support/geo_rect.h"

namespace {
// Lines and closed shapes reach half their pen width beyond the box.
bool growsByPen(int16_t t)
{
    switch (t) {
    case 2: case 4: case 5: case 14: case 17: case 18:
    case 6: case 7: case 8: case 9: case 10: case 11: case 12: case 13: case 15: case 19:
        return true;
    default:
        return false;
    }
}
}  // namespace

void obRecGetDrawnRect(const ObjectRecord *rec, RECT *r)
{
    obRecGetRect(rec, r);
    if (growsByPen(rec->type)) {
        int32_t w = ((int32_t)rec->penWidth + 1) / 2;
        geoInflateRect(r, w, w);
    }
}

BOOL obGetDrawnRect(MemHandle h, RECT *r)
{
    ObLock rec(h);
    if (!rec) {
        geoSetRect(r, 0, 0, 0, 0);
        return FALSE;
    }
    obRecGetDrawnRect(rec.get(), r);
    return TRUE;
}
