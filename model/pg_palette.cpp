// The palette record of a page.
#include "model/pg_palette.h"
#include "support/ut_mem.h"
#include <string.h>
#include <vector>

HPALETTE pvCreatePagePalette(MemHandle block)
{
    MemLock<uint8_t> p(block);
    uint32_t capacity = utHandleSize(block);
    if (!p || capacity < sizeof(PagePaletteHead))
        return nullptr;
    PagePaletteHead head;
    memcpy(&head, p.get(), sizeof head);
    uint32_t need = (uint32_t)sizeof head + 4u * head.count;
    if (!head.count || head.count > 256 || head.size != need || need > capacity)
        return nullptr;
    std::vector<uint8_t> bytes(sizeof(LOGPALETTE) + head.count * sizeof(PALETTEENTRY));
    LOGPALETTE *lp = reinterpret_cast<LOGPALETTE *>(bytes.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = head.count;
    for (uint16_t i = 0; i < head.count; ++i) {
        COLORREF c;
        memcpy(&c, p.get() + sizeof head + 4u * i, 4);
        lp->palPalEntry[i] = PALETTEENTRY{GetRValue(c), GetGValue(c), GetBValue(c), 0};
    }
    return CreatePalette(lp);
}
