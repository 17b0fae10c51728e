// Page records: their size and their release with everything they own.
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/ob_links.h"
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
