#include "support/gdi_bitmap.h"
#include "support/gdi_edge.h"
#include "support/win_window.h"
#include <string.h>

namespace {

const int kMaxSide = 4096;

uint32_t toPixel(COLORREF c)
{
    return ((uint32_t)GetRValue(c) << 16) | ((uint32_t)GetGValue(c) << 8) | GetBValue(c);
}

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

// Puts 0x00RRGGBB pixels (top row first) on the DC at (x, y).
void blit(HDC dc, int x, int y, int w, int h, const std::vector<uint32_t> &pixels, DWORD rop)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;   // bottom-up rows below
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> rows((size_t)w * h);
    for (int row = 0; row < h; ++row)
        memcpy(&rows[(size_t)(h - 1 - row) * w], &pixels[(size_t)row * w], (size_t)w * 4);
    StretchDIBits(dc, x, y, w, h, 0, 0, w, h, rows.data(), &bi, DIB_RGB_COLORS, rop);
}

BOOL drawRes(HINSTANCE instance, HDC dc, const char *name, int x, int y, int width, int height,
             uint16_t align, DWORD rop, bool mapped)
{
    GdiResBitmap bmp;
    if (!gdiLoadResBitmap(instance, name, &bmp))
        return FALSE;
    if (mapped) {
        const uint32_t face = toPixel(GetSysColor(COLOR_BTNFACE));
        const uint32_t shadow = toPixel(GetSysColor(COLOR_BTNSHADOW));
        const uint32_t light = toPixel(GetSysColor(COLOR_3DLIGHT));
        for (uint32_t &px : bmp.pixels) {
            if (px == 0xC0C0C0)
                px = face;
            else if (px == 0x808080)
                px = shadow;
            else if (px == 0xDFDFDF)
                px = light;
        }
    }
    RECT r = {x, y, x + width, y + height};
    blit(dc, gdiAlignX(r, bmp.width, align), gdiAlignY(r, bmp.height, align), bmp.width,
         bmp.height, bmp.pixels, rop);
    return TRUE;
}

}  // namespace

int gdiAlignX(const RECT &rect, int size, uint16_t align)
{
    if (align & GDI_ALIGN_HCENTRE)
        return rect.left + (rect.right - rect.left - size) / 2;
    if (align & GDI_ALIGN_RIGHT)
        return rect.right - size;
    return rect.left;
}

int gdiAlignY(const RECT &rect, int size, uint16_t align)
{
    if (align & GDI_ALIGN_VCENTRE)
        return rect.top + (rect.bottom - rect.top - size) / 2;
    if (align & GDI_ALIGN_BOTTOM)
        return rect.bottom - size;
    return rect.top;
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

BOOL gdiIsDarkPixel(uint32_t rgb)
{
    uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return (r * 299 + g * 587 + b * 114) / 1000 < 160;
}

BOOL gdiDrawResBitmapMapped(HWND window, HDC dc, const char *name, int x, int y, int width,
                            int height, uint16_t align, DWORD rop)
{
    return drawRes(winGetInstance(window), dc, name, x, y, width, height, align, rop, true);
}

BOOL gdiDrawResBitmap(HWND window, HDC dc, const char *name, int x, int y, int width,
                      int height, uint16_t align, DWORD rop)
{
    return drawRes(winGetInstance(window), dc, name, x, y, width, height, align, rop, false);
}

BOOL gdiDrawResBitmapFrom(HINSTANCE instance, HDC dc, const char *name, int x, int y, int width,
                          int height, uint16_t align, DWORD rop)
{
    return drawRes(instance, dc, name, x, y, width, height, align, rop, false);
}

BOOL gdiDrawResBitmapGrey(HWND window, HDC dc, const char *name, int x, int y, int width,
                          int height)
{
    GdiResBitmap bmp;
    if (!gdiLoadResBitmap(winGetInstance(window), name, &bmp))
        return FALSE;
    const uint32_t face = toPixel(GetSysColor(COLOR_BTNFACE));
    const uint32_t highlight = toPixel(GetSysColor(COLOR_BTNHIGHLIGHT));
    const uint32_t shadow = toPixel(GetSysColor(COLOR_BTNSHADOW));
    RECT r = {x, y, x + width, y + height};
    gdiFillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
    int w = bmp.width + 1, h = bmp.height + 1;
    std::vector<uint32_t> out((size_t)w * h, face);
    for (int pass = 0; pass < 2; ++pass)
        for (int row = 0; row < bmp.height; ++row)
            for (int col = 0; col < bmp.width; ++col)
                if (gdiIsDarkPixel(bmp.pixels[(size_t)row * bmp.width + col])) {
                    if (pass == 0)
                        out[(size_t)(row + 1) * w + col + 1] = highlight;
                    else
                        out[(size_t)row * w + col] = shadow;
                }
    // Clip the picture to the rectangle: only what lies inside is drawn.
    int left = gdiAlignX(r, bmp.width, GDI_ALIGN_CENTRE);
    int top = gdiAlignY(r, bmp.height, GDI_ALIGN_CENTRE);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    blit(dc, left, top, w, h, out, SRCCOPY);
    RestoreDC(dc, saved);
    return TRUE;
}
