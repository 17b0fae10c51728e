// Gradient fills given to objects.
#include "tools/ep_gradient.h"
#include "tools/ep_factory.h"
#include "model/ob_dispatch.h"
#include <string.h>
#include <algorithm>

int epApplyGradient(MemHandle *ph, const GradientFillBlock *g)
{
    if (!ph || !g)
        return 0;
    MemHandle h = *ph;
    uint8_t oldKind;
    uint32_t size;
    {
        ObLock r(h);
        if (!r || !obHasFill(r->type))
            return 0;
        oldKind = r->fillKind;
        r->fillKind = 3;
        size = epRecordSize(r.get());
    }
    MemHandle moved = obResize(h, size);
    if (!moved) {
        ObLock r(h);
        r->fillKind = oldKind;
        return 0;
    }
    *ph = moved;
    ObLock r(moved);
    r->length = size;
    auto *block = reinterpret_cast<GradientFillBlock *>(obGetFillData(r.get()));
    if (!block) {
        // The kind keeps no gradient block behind its geometry.
        r->fillKind = oldKind;
        r->length = epRecordSize(r.get());
        return 0;
    }
    int changed = memcmp(block, g, sizeof *g) != 0;
    memcpy(block, g, sizeof *g);
    int32_t w = r->width, hgt = r->height;
    if (block->dx != 0 || block->dy != 0) {
        block->dx = (int32_t)((int64_t)block->dx * w / 100);
        block->dy = (int32_t)((int64_t)block->dy * hgt / 100);
    } else {
        block->dx = w / 2;
        block->dy = hgt / 2;
        if (block->type == 2 || block->type == 4)
            block->dx = block->dy = std::max(block->dx, block->dy);
    }
    return changed;
}

int epTreeApplyGradient(MemHandle *ph, const GradientFillBlock *g)
{
    if (!ph || !*ph)
        return 1;
    MemHandle links[3];
    {
        ObLock r(*ph);
        if (!r)
            return 1;
        links[0] = r->firstMember;
        links[1] = r->nextMember;
        links[2] = r->attached;
    }
    // A moved member is relinked into its owner by the resize itself.
    for (MemHandle link : links)
        if (link)
            epTreeApplyGradient(&link, g);
    epApplyGradient(ph, g);
    return 1;
}

int epSetGradientRaw(MemHandle h, const GradientFillBlock *g)
{
    ObLock r(h);
    if (!r || !g)
        return 0;
    uint8_t oldKind = r->fillKind;
    r->fillKind = 3;
    uint8_t *block = obGetFillData(r.get());
    if (!block || (uint64_t)(block - reinterpret_cast<uint8_t *>(r.get())) + sizeof *g >
                      r.blockSize()) {
        r->fillKind = oldKind;
        return 0;
    }
    memcpy(block, g, sizeof *g);
    return 1;
}
