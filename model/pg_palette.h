// The palette record a page may carry: u32 total size (10 + 4 x count),
// u32 flag 64, u16 count, count COLORREF values.
#pragma once
#include "support/qmwin.h"

#pragma pack(push, 1)
struct PagePaletteHead {
    uint32_t size;
    uint32_t flag;     // 64
    uint16_t count;
};
#pragma pack(pop)
static_assert(sizeof(PagePaletteHead) == 10, "the palette record's head is 10 bytes");

// A GDI palette of the record's colours; null when there is no record, it
// holds no colour or its sizes do not agree with each other and the block.
// The caller deletes it.
HPALETTE pvCreatePagePalette(MemHandle block);
