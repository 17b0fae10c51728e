// The colour palette window: the classic strip and the second style.
#include "controls/pal_window.h"
#include "controls/pal_file.h"
#include "support/ut_mem.h"
#include <string.h>

const char clrStripClass[] = "qm_clrmenu";
const char clrColor2Class[] = "qm_color2";

namespace {

// Module state: the style flag and the windows of either style.
BOOL g_classic = TRUE;
HWND g_strip = nullptr;
HWND g_color2 = nullptr;
HWND g_color2List = nullptr;

MemHandle recordOf(HWND window)
{
    return window ? (MemHandle)(uint32_t)GetWindowLongA(window, 0) : 0;
}

// The window whose colours the palette operations address: the second
// style when it exists, else the strip.
HWND colourWindow()
{
    return g_color2 ? g_color2 : g_strip;
}

// Puts new colours into a window's record and rebuilds its GDI palette.
void storeColours(HWND window, const COLORREF *colours, int count)
{
    MemHandle rec = recordOf(window);
    if (!rec)
        return;
    if (count < 0 || !colours)
        count = 0;
    if (count > CLR_MAX_COLORS)
        count = CLR_MAX_COLORS;
    MemHandle copy = count ? utHandleFromBytes(colours, 4u * (uint32_t)count) : 0;
    if (count && !copy)
        return;   // memory is short: the window keeps its colours
    MemLock<ColorMenuRecord> r(rec);
    utFreeHandle(r->colours);
    r->colours = copy;
    r->count = (int16_t)count;
    if (r->highlighted >= count)
        r->highlighted = -1;
    HPALETTE old = qmU32ToHandle<HPALETTE>(r->palette);
    r->palette = qmHandleToU32(clrCreateGdiPalette(colours, count));
    if (old)
        DeleteObject(old);
}

}  // namespace

HWND clrGetPaletteWindow()
{
    return g_strip ? g_strip : g_color2;
}

BOOL clrGetRecord(HWND window, ColorMenuRecord *record)
{
    MemHandle rec = recordOf(window);
    if (!rec || !IsWindow(window))
        return FALSE;
    MemLock<ColorMenuRecord> r(rec);
    *record = *r.get();
    return TRUE;
}

void clrSetColors(const COLORREF *colours, int count)
{
    HWND window = colourWindow();
    if (!window)
        return;
    storeColours(window, colours, count);
    InvalidateRect(window, nullptr, TRUE);
}

MemHandle clrGetColors(int16_t *count)
{
    if (count)
        *count = 0;
    ColorMenuRecord r;
    if (!clrGetRecord(colourWindow(), &r) || !r.colours || r.count <= 0)
        return 0;
    MemHandle copy = 0;
    {
        MemLock<COLORREF> c(r.colours);
        copy = utHandleFromBytes(c.get(), 4u * (uint32_t)r.count);
    }
    if (copy && count)
        *count = r.count;
    return copy;
}
