// Bitmaps placed in a rectangle by an AlignWord, the program's own bitmap
// resources (tool and button images, with a variant for black menus and an
// embossed disabled look), the natural size of pictures at the printer's or
// the screen's resolution, and the raster operations stored with images.
#pragma once
#include "support/qmwin.h"
#include "support/gdi_text.h"
#include <vector>

// A Win32 BITMAP record as stored inside the program's blocks: the 24-byte
// layout with a 4-byte bits field (always 0 when stored), not the
// platform's 32-byte one with a pointer.
struct GdiStoredBitmap {
    int32_t type;
    int32_t width;
    int32_t height;
    int32_t widthBytes;
    uint16_t planes;
    uint16_t bitsPixel;
    uint32_t bits;
};
static_assert(sizeof(GdiStoredBitmap) == 24, "a stored BITMAP record is 24 bytes");

// Natural-size kinds of a picture.
enum : int {
    GDI_NATURAL_NONE = 0,
    GDI_NATURAL_SCREEN = 1,    // its pixels at the screen resolution
    GDI_NATURAL_PRINTER = 2,   // its pixels at the printer resolution
};

// 2 when the size (twips) is within 1 twip each way of the pixel size at
// the printer resolution, else 1 when within 1 twip at the screen
// resolution, else 0.
int gdiNaturalSizeKind(int32_t width, int32_t height, int32_t pixelsW, int32_t pixelsH);
// The twips size of the pixels at the printer resolution for kind 2, else
// at the screen resolution.
void gdiNaturalSize(int kind, int32_t pixelsW, int32_t pixelsH, int32_t *width, int32_t *height);
// (0, 0, width, height) of the stored BITMAP record at the offset of the
// block; 1. 0 with an empty rectangle when the block does not hold the
// whole record there.
int gdiStoredBitmapSize(MemHandle block, uint32_t offset, RECT *out);
// Pixel width and height of the bitmap; 0 with both 0 when the object
// cannot be read.
BOOL gdiBitmapSize(HBITMAP bitmap, int32_t *width, int32_t *height);
// The same in twips at the screen resolution.
BOOL gdiBitmapSizeTwips(HBITMAP bitmap, int32_t *width, int32_t *height);

// StretchBlt of the whole bitmap with the raster operation. With w or h 0
// it is drawn at (x, y) in its own size; otherwise it is placed in (x, y, w,
// h) by the AlignWord at its own size, or stretched to (w, h) when the
// word is exactly GDI_ALIGN_STRETCH. 1; 0 without a DC or a readable bitmap.
BOOL gdiDrawBitmapAligned(HDC dc, HBITMAP bitmap, int x, int y, int w, int h, uint16_t align,
                          DWORD rop);
// A bitmap resource of the instance at its own size, its three-dimensional
// greys mapped to the system colours and its first pixel's colour taken as
// the window colour (LR_LOADMAP3DCOLORS, LR_LOADTRANSPARENT). Null when it
// is missing; the caller deletes it.
HBITMAP winLoadBitmap(HINSTANCE instance, const char *name);
// Loads the bitmap resource of the window's instance (LoadBitmapA), draws it
// with gdiDrawBitmapAligned and deletes it; 0 when the resource is missing.
BOOL gdiDrawResBitmap(HWND window, HDC dc, const char *name, int x, int y, int w, int h,
                      uint16_t align, DWORD rop);
// The same with the resources of a given module instance.
BOOL gdiDrawResBitmapFrom(HINSTANCE instance, HDC dc, const char *name, int x, int y, int w,
                          int h, uint16_t align, DWORD rop);
// Whether the name is one of the tool bitmaps that have a variant for a
// black menu ("edit", "line", "hv", "polyhv", "polyl", "bez2", "curve",
// "arc", "lineadv", "text", "tx3d"), whose resource is the name with an x in
// front.
BOOL gdiIsDarkMenuBitmap(const char *name);
// When the menu colour is black and the name has a dark-menu variant, tries
// that resource first (LR_LOADTRANSPARENT); otherwise, or when it fails,
// loads the named one with its three-dimensional greys mapped to the system
// colours (LR_LOADMAP3DCOLORS, LR_LOADTRANSPARENT). Draws it with
// gdiDrawBitmapAligned and deletes it; 0 when neither loads.
BOOL gdiDrawResBitmapMapped(HWND window, HDC dc, const char *name, int x, int y, int w, int h,
                            uint16_t align, DWORD rop);
// Places a rectangle of the resource's size in twips (screen resolution) in
// the rectangle by the AlignWord and StretchBlts the whole bitmap into it
// with SRCCOPY. The StretchBlt result; 0 when the resource or its size is
// missing.
BOOL gdiDrawResBitmapInRect(HWND window, HDC dc, const char *name, const RECT &rect,
                            uint16_t align);
// The embossed disabled look of the part (sx, sy, w, h) of the bitmap drawn
// at (x, y): the rectangle in the button face, the bitmap's shapes (every
// pixel whose colour differs from the part's top-left pixel, its
// background) in the highlight colour one pixel right and down, and in the
// shadow colour in place. Nothing happens without a DC and bitmap or with w
// or h below 1. 1 when drawn.
BOOL gdiDrawDisabledBitmap(HDC dc, int x, int y, int w, int h, HBITMAP bitmap, int sx, int sy);
// Loads the resource (LR_LOADMAP3DCOLORS, LR_LOADTRANSPARENT) and draws it
// with gdiDrawDisabledBitmap from its origin; 0 when missing.
BOOL gdiDrawResBitmapDisabled(HWND window, HDC dc, const char *name, int x, int y, int w,
                              int h);

// The raster operation of an image object's drawing word: bit 0x10 forces
// SRCAND; otherwise the high 16 bits choose 2 SRCAND, 3 SRCPAINT, 4
// SRCINVERT, 5 SRCERASE, 6 NOTSRCCOPY, 7 NOTSRCERASE, 8 MERGECOPY, 9
// MERGEPAINT, 10 PATCOPY, 11 PATPAINT, 12 PATINVERT, 13 DSTINVERT, 14
// BLACKNESS, 15 WHITENESS, any other SRCCOPY.
DWORD gdiRopFromCode(uint32_t word);

// A bitmap resource decoded into 0x00RRGGBB pixels, top row first, for
// checking the pictures themselves. The resource's own sizes are checked
// against the resource's length.
struct GdiResBitmap {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};
BOOL gdiLoadResBitmap(HINSTANCE instance, const char *name, GdiResBitmap *out);
