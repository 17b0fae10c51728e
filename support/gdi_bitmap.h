// Bitmap resources of a window's instance, drawn at their natural size:
// plain, with the three-dimensional greys mapped to the system colours, or
// greyed (the disabled look).
#pragma once
#include "support/qmwin.h"
#include <vector>

// AlignWord bits for placing an item in a rectangle: 1 horizontal centre,
// 2 right, 8 vertical centre, 16 bottom; 9 centres both ways.
enum : uint16_t {
    GDI_ALIGN_HCENTRE = 1, GDI_ALIGN_RIGHT = 2, GDI_ALIGN_VCENTRE = 8, GDI_ALIGN_BOTTOM = 16,
    GDI_ALIGN_CENTRE = 9,
};
// Left / top of an item of the given size placed in the rectangle.
int gdiAlignX(const RECT &rect, int size, uint16_t align);
int gdiAlignY(const RECT &rect, int size, uint16_t align);

// A bitmap resource decoded into 0x00RRGGBB pixels, top row first. The
// resource's own sizes are checked against the resource's length.
struct GdiResBitmap {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};
BOOL gdiLoadResBitmap(HINSTANCE instance, const char *name, GdiResBitmap *out);

// Draws a bitmap resource of the window's instance placed in the rectangle
// (x, y, width, height) by the AlignWord, with the raster operation; 0 when
// the resource is missing or unreadable. The mapped form replaces
// RGB(192,192,192), RGB(128,128,128) and RGB(223,223,223) by COLOR_BTNFACE,
// COLOR_BTNSHADOW and COLOR_3DLIGHT.
BOOL gdiDrawResBitmapMapped(HWND window, HDC dc, const char *name, int x, int y, int width,
                            int height, uint16_t align, DWORD rop);
BOOL gdiDrawResBitmap(HWND window, HDC dc, const char *name, int x, int y, int width,
                      int height, uint16_t align, DWORD rop);
// The same with the resources of a given module instance.
BOOL gdiDrawResBitmapFrom(HINSTANCE instance, HDC dc, const char *name, int x, int y, int width,
                          int height, uint16_t align, DWORD rop);
// The disabled form: the rectangle filled with COLOR_BTNFACE, the bitmap's
// dark pixels drawn in COLOR_BTNHIGHLIGHT one pixel right and down and then
// in COLOR_BTNSHADOW in place; the bitmap is centred in the rectangle.
BOOL gdiDrawResBitmapGrey(HWND window, HDC dc, const char *name, int x, int y, int width,
                          int height);
// Whether a pixel (0x00RRGGBB) counts as dark for the disabled form.
BOOL gdiIsDarkPixel(uint32_t rgb);
