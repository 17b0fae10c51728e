// The point shapes' mirror images and rescaling.
#include "objects/sh_points.h"
#include <string.h>
#include <algorithm>

namespace {

// The record's points and how many of the stated count it really holds;
// null when it holds no point list.
uint8_t *pointList(ObjectRecord *rec, int32_t *n)
{
    *n = 0;
    if (!rec)
        return nullptr;
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + 2 > rec->length)
        return nullptr;
    uint8_t *d = obRecData(rec);
    int16_t count;
    memcpy(&count, d, 2);
    uint32_t held = (rec->length - at - 2) / sizeof(POINT);
    *n = std::max<int32_t>(0, std::min<int32_t>(count, (int32_t)held));
    return d + 2;
}

template <typename Change>
void eachPoint(ObjectRecord *rec, Change change)
{
    int32_t n;
    uint8_t *pts = pointList(rec, &n);
    for (int32_t i = 0; i < n; ++i) {
        POINT p;
        memcpy(&p, pts + i * sizeof(POINT), sizeof p);
        change(p);
        memcpy(pts + i * sizeof(POINT), &p, sizeof p);
    }
}

void flip(ObjectRecord *rec, bool horizontal)
{
    eachPoint(rec, [horizontal](POINT &p) {
        if (horizontal)
            p.x = -p.x;
        else
            p.y = -p.y;
    });
}

int32_t scaled(int32_t v, double s)
{
    double r = v * s;
    return (int32_t)std::max(-2147483647.0, std::min(2147483647.0, r));
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

void shPointsRescale(ObjectRecord *rec, const RECT *target)
{
    if (!rec || !target)
        return;
    double tw = (double)target->right - target->left, th = (double)target->bottom - target->top;
    double sx = rec->width ? tw / rec->width : 1.0;
    double sy = rec->height ? th / rec->height : 1.0;
    eachPoint(rec, [sx, sy](POINT &p) {
        p.x = scaled(p.x, sx);
        p.y = scaled(p.y, sy);
    });
    obRecSetRect(rec, target);
}

void shPointsRescale(MemHandle h, const RECT *target)
{
    ObLock r(h);
    if (r)
        shPointsRescale(r.get(), target);
}
