// The box object (type 55).
#include "objects/sh_boxobj.h"
#include "model/ob_draw.h"
#include "model/ob_shadow.h"
#include "support/gdi_draw.h"
#include <string.h>
#include <algorithm>

namespace {
const uint32_t kTailCountAt = 62;
}

uint32_t shBoxObjSize(ObjectRecord *rec, uint32_t blockSize)
{
    if (!rec)
        return 0;
    uint32_t bound = blockSize ? blockSize : rec->length;
    uint32_t base = obDataOffset(rec);
    uint32_t stored = std::min(rec->length, bound);
    if ((uint64_t)base + kTailCountAt + 2 > bound) {
        rec->length = stored;
        return stored;
    }
    const uint8_t *data = obRecData(rec);
    uint32_t fixed;
    int16_t tail;
    memcpy(&fixed, data, 4);
    memcpy(&tail, data + kTailCountAt, 2);
    uint64_t size = (uint64_t)base + fixed + (uint32_t)std::max<int16_t>(tail, 0);
    if (fixed < kTailCountAt + 2 || tail < 0 || size > bound) {
        rec->length = stored;
        return stored;
    }
    rec->length = (uint32_t)size;
    return rec->length;
}

uint32_t shBoxObjSizeH(MemHandle h)
{
    ObLock r(h);
    return r ? shBoxObjSize(r.get(), r.blockSize()) : 0;
}

void shBoxObjDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    RECT r;
    obRecGetRect(rec, &r);
    if (rec->flags & 0x08) {
        // The shadow lies under the box: the fill paints over all but the
        // strips the offset leaves uncovered.
        int32_t dx, dy;
        obGetShadowOffset(&dx, &dy);
        GdiObject<HBRUSH> shadow(obCreateShadowBrush());
        GdiSelect sb(dc, shadow);
        GdiSelect sp(dc, GetStockObject(NULL_PEN));
        gdiRectangle(dc, r.left + dx, r.top + dy, r.right, r.bottom);
    }
    {
        GdiObject<HBRUSH> brush(CreateSolidBrush(rec->fillColour));
        GdiObject<HPEN> pen(CreatePen(gdiLineStylePen(rec->lineStyle), obGetDrawnPenWidth(rec),
                                      rec->penColour));
        GdiSelect sb(dc, brush);
        GdiSelect sp(dc, pen);
        gdiRectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    obRestoreDCModes(dc, &modes);
}

void shBoxObjDrawH(HDC dc, MemHandle h)
{
    ObLock r(h);
    if (r)
        shBoxObjDraw(dc, r.get());
}

void shBoxObjRescale(MemHandle h, const RECT *target)
{
    if (!target)
        return;
    RECT r = {std::min(target->left, target->right), std::min(target->top, target->bottom),
              std::max(target->left, target->right), std::max(target->top, target->bottom)};
    obSetRect(h, &r);
}

BOOL shBoxObjReadCheck(const ObjectRecord *rec, uint32_t length)
{
    if (!obHeadWithinLimits(rec))
        return FALSE;
    uint32_t base = obDataOffset(rec);
    if ((uint64_t)base + kTailCountAt + 2 > length)
        return FALSE;
    const uint8_t *data = reinterpret_cast<const uint8_t *>(rec) + base;
    uint32_t fixed;
    int16_t tail;
    memcpy(&fixed, data, 4);
    memcpy(&tail, data + kTailCountAt, 2);
    return fixed >= kTailCountAt + 2 && tail >= 0 && (uint64_t)base + fixed + tail <= length;
}
