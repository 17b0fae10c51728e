// File sizes of object trees and pages.
#include "model/qmf_sizes.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/qmf_convert.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include <vector>

namespace {

// A block written as a packet: its own leading length, trusted only within
// its block.
uint32_t packetBytes(MemHandle block)
{
    if (!block)
        return 0;
    uint32_t length = utGetPacketLength(block);
    return length <= utHandleSize(block) ? length : utHandleSize(block);
}

}  // namespace

uint32_t obFileRecordSize(MemHandle h)
{
    return qmfFileRecordSize(h);
}

uint32_t obTreeFileSize(MemHandle h, uint32_t sum)
{
    std::vector<MemHandle> tree;
    obCollectTree(h, OB_WALK_ALL, tree);
    for (MemHandle object : tree)
        sum += obFileRecordSize(object) + packetBytes(obGetExtraData(object));
    return sum;
}

uint32_t obListFileSize(MemHandle first)
{
    std::vector<MemHandle> list;
    obCollectList(first, list);
    uint32_t sum = 0;
    for (MemHandle h : list)
        sum = obTreeFileSize(h, sum);
    return sum;
}

uint32_t pgCalcFileSize(MemHandle page)
{
    MemHandle objects;
    uint32_t extras;
    {
        PgLock p(page);
        if (!p)
            return 0;
        PageData *d = p.data();
        d->extrasFlags |= 2;
        const uint32_t announced[2][2] = {{d->paletteBlock, 64}, {d->sideBlock, 0x100}};
        for (const auto &a : announced)
            d->extrasFlags = a[0] ? (d->extrasFlags | a[1]) : (d->extrasFlags & ~a[1]);
        extras = 6 + 4u * d->layers.countInUse + 2 + 2u * d->layers.countEdit + 2 +
                 2u * d->layers.countHidden + packetBytes(d->paletteBlock) +
                 packetBytes(d->sideBlock);
        objects = d->firstObject;
    }
    uint32_t body = extras + obListFileSize(objects);
    uint32_t record = obTreeFileSize(page, 0);
    PgLock p(page);
    if (p) {
        p.data()->extrasBytes = extras;
        p.data()->bodyBytes = body;
    }
    return record + body;
}
