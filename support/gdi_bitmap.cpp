// Bitmaps placed by an AlignWord, resource bitmaps in their normal, black
// menu and disabled forms, natural picture sizes and stored raster
// operations.
#include "support/gdi_bitmap.h"
#include "support/dm_printer.h"
#include "support/gdi_dib.h"
#include "support/geo_rect.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/win_place.h"
#include "support/win_window.h"
#include <algorithm>
#include <stdlib.h>
#include <string.h>

namespace {

const int kMaxSide = 4096;

// The tool bitmaps that have a variant drawn for a black menu.
const char *const kDarkMenuNames[] = {"edit", "line", "hv", "polyhv", "polyl", "bez2",
                                      "curve", "arc", "lineadv", "text", "tx3d"};

// The disabled look's raster operation: the brush where the source is
// black, the destination where it is white.
const DWORD kRopBrushWhereBlack = 0xB8074A;

uint32_t rd32(const uint8_t *p) { return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24); }
uint16_t rd16(const uint8_t *p) { return (uint16_t)(p[0] | (p[1] << 8)); }

// Decodes a packed DIB (header, colour table, rows) of the given length.
bool decodeDib(const uint8_t *data, uint32_t size, GdiResBitmap *out)
{
    if (size < 40)
        return false;
    uint32_t headerSize = rd32(data);
    int32_t width = (int32_t)rd32(data + 4);
    int32_t height = (int32_t)rd32(data + 8);
    uint16_t planes = rd16(data + 12), bits = rd16(data + 14);
    uint32_t compression = rd32(data + 16);
    uint32_t clrUsed = rd32(data + 32);
    if (headerSize < 40 || headerSize > size || planes != 1 || compression != BI_RGB)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return false;
    bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return false;
    uint32_t colours = 0;
    if (bits <= 8) {
        colours = clrUsed ? clrUsed : (1u << bits);
        if (colours > (1u << bits))
            return false;
    }
    uint64_t stride = (((uint64_t)width * bits + 31) / 32) * 4;
    uint64_t need = (uint64_t)headerSize + colours * 4ull + stride * (uint64_t)height;
    if (need > size)
        return false;
    const uint8_t *table = data + headerSize;
    const uint8_t *rows = table + colours * 4;
    out->width = width;
    out->height = height;
    out->pixels.assign((size_t)width * height, 0);
    for (int y = 0; y < height; ++y) {
        const uint8_t *row = rows + stride * (uint64_t)(topDown ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            uint32_t px;
            if (bits <= 8) {
                uint32_t index;
                if (bits == 8)
                    index = row[x];
                else if (bits == 4)
                    index = (row[x / 2] >> ((x % 2) ? 0 : 4)) & 0xF;
                else
                    index = (row[x / 8] >> (7 - x % 8)) & 1;
                if (index >= colours)
                    index = 0;
                const uint8_t *q = table + index * 4;
                px = ((uint32_t)q[2] << 16) | ((uint32_t)q[1] << 8) | q[0];
            } else {
                const uint8_t *q = row + (size_t)x * (bits / 8);
                px = ((uint32_t)q[2] << 16) | ((uint32_t)q[1] << 8) | q[0];
            }
            out->pixels[(size_t)y * width + x] = px;
        }
    }
    return true;
}

HBITMAP loadBitmapImage(HINSTANCE instance, const char *name, UINT flags)
{
    if (!name || (!IS_INTRESOURCE(name) && !name[0]))
        return nullptr;
    return (HBITMAP)LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, flags);
}

bool withinOneTwip(int32_t a, int32_t b) { return llabs((long long)a - b) <= 1; }

// The pixels of the bitmap as 0x00RRGGBB, top row first.
bool readPixels(HDC dc, HBITMAP bitmap, int width, int height, std::vector<uint32_t> *out)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    out->assign((size_t)width * height, 0);
    return GetDIBits(dc, bitmap, 0, (UINT)height, out->data(), &bi, DIB_RGB_COLORS) == height;
}

}  // namespace

HBITMAP winLoadBitmap(HINSTANCE instance, const char *name)
{
    return loadBitmapImage(instance, name, LR_LOADMAP3DCOLORS | LR_LOADTRANSPARENT);
}

int gdiNaturalSizeKind(int32_t width, int32_t height, int32_t pixelsW, int32_t pixelsH)
{
    if (withinOneTwip(width, dmPrinterToTwipsX(pixelsW)) &&
        withinOneTwip(height, dmPrinterToTwipsY(pixelsH)))
        return GDI_NATURAL_PRINTER;
    if (withinOneTwip(width, winPixelsToTwipsX(pixelsW)) &&
        withinOneTwip(height, winPixelsToTwipsY(pixelsH)))
        return GDI_NATURAL_SCREEN;
    return GDI_NATURAL_NONE;
}

void gdiNaturalSize(int kind, int32_t pixelsW, int32_t pixelsH, int32_t *width, int32_t *height)
{
    if (kind == GDI_NATURAL_PRINTER) {
        *width = dmPrinterToTwipsX(pixelsW);
        *height = dmPrinterToTwipsY(pixelsH);
    } else {
        *width = winPixelsToTwipsX(pixelsW);
        *height = winPixelsToTwipsY(pixelsH);
    }
}

int gdiStoredBitmapSize(MemHandle block, uint32_t offset, RECT *out)
{
    SetRectEmpty(out);
    if ((uint64_t)offset + sizeof(GdiStoredBitmap) > utHandleSize(block))
        return 0;
    MemLock<uint8_t> p(block);
    if (!p)
        return 0;
    GdiStoredBitmap bm = utGetAt<GdiStoredBitmap>(p.get(), offset);
    SetRect(out, 0, 0, bm.width, bm.height);
    return 1;
}

BOOL gdiBitmapSize(HBITMAP bitmap, int32_t *width, int32_t *height)
{
    *width = *height = 0;
    BITMAP bm;
    if (!bitmap || GetObjectA(bitmap, sizeof bm, &bm) != (int)sizeof bm)
        return FALSE;
    *width = bm.bmWidth;
    *height = bm.bmHeight;
    return TRUE;
}

BOOL gdiBitmapSizeTwips(HBITMAP bitmap, int32_t *width, int32_t *height)
{
    if (!gdiBitmapSize(bitmap, width, height))
        return FALSE;
    *width = winPixelsToTwipsX(*width);
    *height = winPixelsToTwipsY(*height);
    return TRUE;
}

BOOL gdiDrawBitmapAligned(HDC dc, HBITMAP bitmap, int x, int y, int w, int h, uint16_t align,
                          DWORD rop)
{
    int32_t bw, bh;
    if (!dc || !gdiBitmapSize(bitmap, &bw, &bh))
        return FALSE;
    int dw = bw, dh = bh;
    if (w != 0 && h != 0) {
        switch (align & GEO_ALIGN_HMASK) {
        case GEO_ALIGN_HCENTRE: x += (w - bw) / 2; break;
        case GEO_ALIGN_RIGHT: x += w - bw; break;
        }
        switch (align & GEO_ALIGN_VMASK) {
        case GEO_ALIGN_VCENTRE: y += (h - bh) / 2; break;
        case GEO_ALIGN_BOTTOM: y += h - bh; break;
        }
        if (align == GDI_ALIGN_STRETCH) {
            dw = w;
            dh = h;
        }
    }
    const DWORD kind = GetObjectType(dc);
    if (kind == OBJ_ENHMETADC || kind == OBJ_METADC) {
        // Into a metafile the pixels go as a DIB: a blit from a memory DC
        // would leave two GDI objects behind in the system's recording.
        MemHandle dib = gdiBitmapToDibHandle(bitmap, nullptr);
        if (!dib)
            return FALSE;
        {
            MemLock<uint8_t> p(dib);
            BITMAPINFOHEADER *info = reinterpret_cast<BITMAPINFOHEADER *>(p.get());
            if (info)
                StretchDIBits(dc, x, y, dw, dh, 0, 0, bw, bh, gdiDibBitsPtr(info),
                              reinterpret_cast<BITMAPINFO *>(info), DIB_RGB_COLORS, rop);
        }
        utFreeHandle(dib);
        return TRUE;
    }
    HDC source = CreateCompatibleDC(dc);
    if (!source)
        return FALSE;
    {
        GdiSelect keep(source, bitmap);
        int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, x, y, dw, dh, source, 0, 0, bw, bh, rop);
        if (oldMode)
            SetStretchBltMode(dc, oldMode);
    }
    DeleteDC(source);
    return TRUE;
}

BOOL gdiDrawResBitmapFrom(HINSTANCE instance, HDC dc, const char *name, int x, int y, int w,
                          int h, uint16_t align, DWORD rop)
{
    if (!name || (!IS_INTRESOURCE(name) && !name[0]))
        return FALSE;
    GdiObject<HBITMAP> bitmap(LoadBitmapA(instance, name));
    if (!bitmap)
        return FALSE;
    return gdiDrawBitmapAligned(dc, bitmap, x, y, w, h, align, rop);
}

BOOL gdiDrawResBitmap(HWND window, HDC dc, const char *name, int x, int y, int w, int h,
                      uint16_t align, DWORD rop)
{
    return gdiDrawResBitmapFrom(winGetInstance(window), dc, name, x, y, w, h, align, rop);
}

BOOL gdiIsDarkMenuBitmap(const char *name)
{
    if (!name || IS_INTRESOURCE(name))
        return FALSE;
    for (const char *dark : kDarkMenuNames)
        if (lstrcmpiA(name, dark) == 0)
            return TRUE;
    return FALSE;
}

BOOL gdiDrawResBitmapMapped(HWND window, HDC dc, const char *name, int x, int y, int w, int h,
                            uint16_t align, DWORD rop)
{
    HINSTANCE instance = winGetInstance(window);
    HBITMAP bitmap = nullptr;
    if (GetSysColor(COLOR_MENU) == RGB(0, 0, 0) && gdiIsDarkMenuBitmap(name)) {
        char dark[64];
        dark[0] = 'x';
        utStrCopyN(dark + 1, name, sizeof dark - 1);
        bitmap = loadBitmapImage(instance, dark, LR_LOADTRANSPARENT);
    }
    if (!bitmap)
        bitmap = winLoadBitmap(instance, name);
    if (!bitmap)
        return FALSE;
    BOOL drawn = gdiDrawBitmapAligned(dc, bitmap, x, y, w, h, align, rop);
    DeleteObject(bitmap);
    return drawn;
}

BOOL gdiDrawResBitmapInRect(HWND window, HDC dc, const char *name, const RECT &rect,
                            uint16_t align)
{
    if (!dc || !name || (!IS_INTRESOURCE(name) && !name[0]))
        return FALSE;
    GdiObject<HBITMAP> bitmap(LoadBitmapA(winGetInstance(window), name));
    int32_t bw, bh, tw, th;
    if (!bitmap || !gdiBitmapSize(bitmap, &bw, &bh) || !gdiBitmapSizeTwips(bitmap, &tw, &th))
        return FALSE;
    RECT place = {0, 0, tw, th};
    geoAlignRect(&place, &rect, align);
    HDC source = CreateCompatibleDC(dc);
    if (!source)
        return FALSE;
    BOOL drawn;
    {
        GdiSelect keep(source, bitmap);
        drawn = StretchBlt(dc, place.left, place.top, tw, th, source, 0, 0, bw, bh, SRCCOPY);
    }
    DeleteDC(source);
    return drawn;
}

BOOL gdiDrawDisabledBitmap(HDC dc, int x, int y, int w, int h, HBITMAP bitmap, int sx, int sy)
{
    int32_t bw, bh;
    if (!dc || w <= 0 || h <= 0 || !gdiBitmapSize(bitmap, &bw, &bh))
        return FALSE;
    RECT face = {x, y, x + w, y + h};
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    // The part of the bitmap that exists; anything beyond it counts as
    // background and leaves the face alone, so only this much of the mono
    // image needs drawing.
    int pw = (sx >= 0 && sx < bw) ? std::min(w, bw - sx) : 0;
    int ph = (sy >= 0 && sy < bh) ? std::min(h, bh - sy) : 0;
    int drawW = std::min(pw, w - 2), drawH = std::min(ph, h - 2);
    if (drawW <= 0 || drawH <= 0)
        return TRUE;
    std::vector<uint32_t> pixels;
    if (!readPixels(dc, bitmap, bw, bh, &pixels))
        return FALSE;

    // The mono image: white where the part shows its background colour (its
    // top-left pixel), black for every other colour.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } mono = {};
    mono.header.biSize = sizeof(BITMAPINFOHEADER);
    mono.header.biWidth = pw;
    mono.header.biHeight = -ph;
    mono.header.biPlanes = 1;
    mono.header.biBitCount = 1;
    mono.header.biCompression = BI_RGB;
    mono.colours[1].rgbRed = mono.colours[1].rgbGreen = mono.colours[1].rgbBlue = 255;
    void *bits = nullptr;
    GdiObject<HBITMAP> image(CreateDIBSection(dc, (BITMAPINFO *)&mono, DIB_RGB_COLORS, &bits,
                                              nullptr, 0));
    if (!image || !bits)
        return FALSE;
    GdiFlush();
    const uint32_t background = pixels[(size_t)sy * bw + sx];
    const int stride = ((pw + 31) / 32) * 4;
    uint8_t *rows = static_cast<uint8_t *>(bits);
    for (int row = 0; row < ph; ++row) {
        uint8_t *line = rows + (size_t)row * stride;
        memset(line, 0, (size_t)stride);
        const uint32_t *src = &pixels[(size_t)(sy + row) * bw + sx];
        for (int col = 0; col < pw; ++col)
            if (src[col] == background)
                line[col / 8] |= (uint8_t)(0x80 >> (col % 8));
    }

    HDC source = CreateCompatibleDC(dc);
    if (!source)
        return FALSE;
    GdiObject<HBRUSH> highlight(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
    GdiObject<HBRUSH> shadow(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
    {
        GdiSelect keepImage(source, image);
        // A mono source takes the text colour for 0 and the background
        // colour for 1 on some drivers: make both readings agree.
        COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
        COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
        HGDIOBJ oldBrush = SelectObject(dc, highlight);
        BitBlt(dc, x + 1, y + 1, drawW, drawH, source, 0, 0, kRopBrushWhereBlack);
        SelectObject(dc, shadow);
        BitBlt(dc, x, y, drawW, drawH, source, 0, 0, kRopBrushWhereBlack);
        SelectObject(dc, oldBrush);
        SetBkColor(dc, oldBack);
        SetTextColor(dc, oldText);
    }
    DeleteDC(source);
    return TRUE;
}

BOOL gdiDrawResBitmapDisabled(HWND window, HDC dc, const char *name, int x, int y, int w, int h)
{
    GdiObject<HBITMAP> bitmap(winLoadBitmap(winGetInstance(window), name));
    if (!bitmap)
        return FALSE;
    return gdiDrawDisabledBitmap(dc, x, y, w, h, bitmap, 0, 0);
}

DWORD gdiRopFromCode(uint32_t word)
{
    if (word & 0x10)
        return SRCAND;
    switch (word >> 16) {
    case 2: return SRCAND;
    case 3: return SRCPAINT;
    case 4: return SRCINVERT;
    case 5: return SRCERASE;
    case 6: return NOTSRCCOPY;
    case 7: return NOTSRCERASE;
    case 8: return MERGECOPY;
    case 9: return MERGEPAINT;
    case 10: return PATCOPY;
    case 11: return PATPAINT;
    case 12: return PATINVERT;
    case 13: return DSTINVERT;
    case 14: return BLACKNESS;
    case 15: return WHITENESS;
    default: return SRCCOPY;
    }
}

BOOL gdiLoadResBitmap(HINSTANCE instance, const char *name, GdiResBitmap *out)
{
    if (!name || !name[0] || !out)
        return FALSE;
    HRSRC res = FindResourceA(instance, name, (LPCSTR)RT_BITMAP);
    if (!res)
        return FALSE;
    DWORD size = SizeofResource(instance, res);
    HGLOBAL mem = LoadResource(instance, res);
    const uint8_t *data = mem ? static_cast<const uint8_t *>(LockResource(mem)) : nullptr;
    if (!data)
        return FALSE;
    return decodeDib(data, size, out) ? TRUE : FALSE;
}

