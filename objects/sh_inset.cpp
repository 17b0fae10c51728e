// Self-sized records (page insets and image file objects).
#include "objects/sh_inset.h"
#include <string.h>
#include <algorithm>

uint32_t shSelfSizedRecordSize(ObjectRecord *rec, uint32_t blockSize)
{
    uint32_t bound = blockSize ? blockSize : rec->length;
    uint32_t base = obDataOffset(rec);
    uint32_t size = std::min(rec->length, bound);
    if (base + 4 <= bound) {
        uint32_t stated;
        memcpy(&stated, obRecData(rec), 4);
        if (stated >= 4 && stated <= bound - base)
            size = base + stated;
    }
    rec->length = size;
    return size;
}
