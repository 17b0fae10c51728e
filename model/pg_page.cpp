// Page records: their size and their release with everything they own.
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/ob_links.h"
#include "model/att_attr.h"
#include "model/ob_dispatch.h"
#include "support/ut_mem.h"
#include <string.h>

uint32_t pgRecCalcSize(const ObjectRecord *rec)
{
    return pgRecCalcSize(reinterpret_cast<const uint8_t *>(rec));
}

void pgFreeList(MemHandle first)
{
    std::vector<MemHandle> pages;
    obCollectList(first, pages);
    for (MemHandle page : pages) {
        MemHandle attached, extra, objects = 0;
        MemHandle blocks[5] = {0, 0, 0, 0, 0};
        {
            ObLock r(page);
            if (!r)
                continue;
            attached = r->attached;
            extra = r->extraData;
            uint32_t base = obDataOffset(r.get());
            if (base + kPgDataSize <= r.extent()) {
                const uint8_t *d = reinterpret_cast<const uint8_t *>(r.get()) + base;
                const uint32_t at[5] = {PGD_LAYER_IN_USE, PGD_LAYER_EDIT, PGD_LAYER_HIDDEN,
                                        PGD_SIDE_BLOCK, PGD_PALETTE_BLOCK};
                for (int i = 0; i < 5; ++i)
                    memcpy(&blocks[i], d + at[i], 4);
                memcpy(&objects, d + PGD_FIRST_OBJECT, 4);
            }
        }
        obFreeTree(attached);
        obFreeList(objects);
        for (MemHandle b : blocks)
            utFreeHandle(b);
        utFreeHandle(extra);
        utFreeHandle(page);
    }
}

namespace {

// Offsets of the page attributes' header and run in a locked page record;
// false when the record is not a page or cannot hold its page data.
bool pageAttrOffsets(const ObLock &r, uint32_t *header, uint32_t *run)
{
    if (!r || r->type != OBT_PAGE)
        return false;
    uint32_t base = obDataOffset(r.get());
    if ((uint64_t)base + kPgDataSize > r.extent())
        return false;
    *header = base + PGD_ATTR_HEADER;
    *run = base + kPgDataSize;
    return true;
}

}  // namespace

int pgHasFlag64(MemHandle page)
{
    ObLock r(page);
    uint32_t header, run;
    if (!pageAttrOffsets(r, &header, &run))
        return 0;
    const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
    AttrHeader a;
    memcpy(&a, p + header, sizeof a);
    if ((uint64_t)run + a.size > r.extent())
        return 0;
    return attFindIn(p + run, a.count, a.size, kPgFlag64) ? 1 : 0;
}

MemHandle pgSetFlag64(MemHandle page, BOOL on)
{
    uint32_t header, run;
    {
        ObLock r(page);
        if (!pageAttrOffsets(r, &header, &run))
            return 0;
    }
    if ((pgHasFlag64(page) != 0) == (on != FALSE))
        return page;
    uint8_t value[kPgFlag64Size] = {};
    value[0] = kPgFlag64Size;
    MemHandle valid = attSet(page, TRUE, header, run, on ? value : nullptr, on ? kPgFlag64Size : 0,
                             kPgFlag64);
    if (valid)
        obRelinkMoved(page, valid);
    return valid;
}
