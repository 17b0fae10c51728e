// The point shapes' mirror images.
#include "objects/sh_points.h"
#include <string.h>

namespace {

void flip(ObjectRecord *rec, bool horizontal)
{
    if (!rec)
        return;
    uint32_t at = obDataOffset(rec);
    if (at + 2 > rec->length)
        return;
    uint8_t *d = obRecData(rec);
    int16_t n;
    memcpy(&n, d, 2);
    uint32_t held = (rec->length - at - 2) / sizeof(POINT);
    for (int32_t i = 0; i < n && (uint32_t)i < held; ++i) {
        POINT p;
        memcpy(&p, d + 2 + i * sizeof(POINT), sizeof p);
        if (horizontal)
            p.x = -p.x;
        else
            p.y = -p.y;
        memcpy(d + 2 + i * sizeof(POINT), &p, sizeof p);
    }
}

}  // namespace

BOOL shIsPointShape(int16_t type)
{
    switch (type) {
    case 2: case 3: case 4: case 5: case 14: case 15: case 17: case 18: case 19: case 36:
        return TRUE;
    default:
        return FALSE;
    }
}

void shPointsFlipH(ObjectRecord *rec) { flip(rec, true); }
void shPointsFlipV(ObjectRecord *rec) { flip(rec, false); }
