// Placing a single text run or any item of a known size inside a rectangle
// by an AlignWord, and measuring text.
//
// AlignWord: horizontal placement is (word & 0x103): 1 centre, 2 right, any
// other value left; vertical placement is (word & 0x1C): 8 centre, 16
// bottom, any other value top. The masked values are compared, not single
// bits, so 0x101 or 0x103 place an item on the left.
#pragma once
#include "support/qmwin.h"

enum : uint16_t {
    GDI_ALIGN_HCENTRE = 1, GDI_ALIGN_RIGHT = 2, GDI_ALIGN_VCENTRE = 8, GDI_ALIGN_BOTTOM = 16,
    GDI_ALIGN_CENTRE = 9,      // centred both ways
    GDI_ALIGN_STRETCH = 0xC000 // a bitmap stretched to the rectangle
};

// GetTextExtentPoint32A of the run, width in the low 16 bits and height in
// the high 16 bits; 0 when it cannot be measured.
uint32_t gdiTextExtent(HDC dc, const char *text, int len);
// Zeroes the rectangle, then stores the run's width as right and its height
// as bottom, measured on a screen context in the font made from the LOGFONT.
// FALSE (rectangle still zero) when there is no screen context or font.
BOOL gdiMeasureTextWithFont(const char *text, int len, const LOGFONTA *font, RECT *out);
// Left x of an item of that width: centre (left + right - width) / 2, right
// right - width, else left.
int gdiAlignX(const RECT &rect, int width, uint16_t align);
// Top y of an item of that height: an item taller than the rectangle is
// always centred; otherwise centre (top + bottom - height) / 2, bottom
// bottom - height, else top.
int gdiAlignY(const RECT &rect, int height, uint16_t align);
// Measures the run and draws it with TextOutA at (gdiAlignX, gdiAlignY);
// nothing is clipped. FALSE when the run cannot be measured or drawn.
BOOL gdiTextOutAligned(HDC dc, const RECT &rect, const char *text, int len, uint16_t align);
// Widens the rectangle to include the box where gdiTextOutAligned would put
// the run. FALSE (rectangle unchanged) when it cannot be measured.
BOOL gdiTextBoundsInRect(HDC dc, RECT *rect, const char *text, int len, uint16_t align);
// DrawTextA flags of an AlignWord: DT_CENTER or DT_RIGHT (left 0), plus
// DT_VCENTER or DT_BOTTOM.
UINT gdiAlignToDrawTextFlags(uint16_t align);
