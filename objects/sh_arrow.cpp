// The arrow outline.
#include "objects/sh_arrow.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include <math.h>
#include <string.h>

uint32_t shArrowSize(ObjectRecord *rec)
{
    rec->length = obDataOffset(rec) + kObArrowDataSize + obFillDataSize(rec->fillKind);
    return rec->length;
}

void shArrowOutline(ObjectRecord *rec)
{
    if (!rec || obDataOffset(rec) + kObArrowDataSize > rec->length)
        return;
    uint8_t *d = obRecData(rec);
    POINT tail, head;
    int32_t angles[2], widths[2];
    memcpy(&tail, d + 6, 8);
    memcpy(&head, d + 14, 8);
    memcpy(angles, d + 22, 8);
    memcpy(widths, d + 30, 8);
    int32_t a = widths[0], b = widths[1];
    if (a <= 0 || b <= 0)
        return;
    int32_t tipA = angles[0], backB = angles[1];
    if (tipA >= 90 || tipA <= 0)
        tipA = 30;
    if (backB >= 90 || backB <= 0)
        backB = 90;
    if (backB <= tipA)
        backB = 2 * tipA;

    double dx = (double)tail.x - head.x, dy = (double)tail.y - head.y;
    int32_t len = (int32_t)sqrt(dx * dx + dy * dy);
    RECT axis;
    geoRectFromPoints(tail, head, &axis);
    POINT mid;
    mid.x = (int32_t)(((int64_t)axis.left + axis.right) / 2);
    mid.y = (int32_t)(((int64_t)axis.top + axis.bottom) / 2);

    int32_t k1 = geoRound(a / tan((180 - tipA) * kGeoPi / 180));
    int32_t k2 = geoRound((a - b) / tan((180 - backB) * kGeoPi / 180));
    POINT p[7];
    p[0] = {-(len / 2), 0};
    p[1] = {p[0].x - k1, a};
    p[6] = {p[1].x, -a};
    p[2] = {p[1].x + k2, b};
    p[5] = {p[2].x, -b};
    p[3] = {len / 2, b};
    p[4] = {len / 2, -b};
    double c, s;
    geoUnitVector(head, tail, &c, &s);
    geoRotatePointsCS(p, 7, c, s);
    for (POINT &q : p) {
        q.x += mid.x;
        q.y += mid.y;
    }
    memcpy(d + 38, p, sizeof p);
}

namespace {

// The axis points (+6, +14) and the outline (+38): nine points in a row of
// the type data, each negated on one axis.
void flipPoints(ObjectRecord *rec, bool horizontal)
{
    if (!rec || obDataOffset(rec) + kObArrowDataSize > rec->length)
        return;
    uint8_t *d = obRecData(rec);
    POINT p[9];
    memcpy(p, d + 6, 16);
    memcpy(p + 2, d + 38, 56);
    for (POINT &q : p) {
        if (horizontal)
            q.x = -q.x;
        else
            q.y = -q.y;
    }
    memcpy(d + 6, p, 16);
    memcpy(d + 38, p + 2, 56);
}

}  // namespace

void shArrowDrawnRect(const ObjectRecord *rec, RECT *r)
{
    if (!rec || !r)
        return;
    obRecGetRect(rec, r);
    if (obDataOffset(rec) + kObArrowDataSize > rec->length)
        return;
    POINT p[7];
    memcpy(p, reinterpret_cast<const uint8_t *>(rec) + obDataOffset(rec) + 38, sizeof p);
    geoOffsetPoints(p, 7, rec->centreX, rec->centreY);
    geoPointsBounds(p, 7, r);
    int32_t w = ((int32_t)rec->penWidth + 1) / 2;
    geoInflateRect(r, w, w);
}

void shArrowFlipH(ObjectRecord *rec) { flipPoints(rec, true); }
void shArrowFlipV(ObjectRecord *rec) { flipPoints(rec, false); }
