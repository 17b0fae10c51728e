// The shadow style: how far and in which colour shapes cast their shadow.
// One style is in force at a time; each page carries its own, which the
// page renderer installs while the page is drawn.
#pragma once
#include "support/qmwin.h"

#pragma pack(push, 1)
struct ShadowStyle {
    int16_t dx;        // twips; positive to the right
    int16_t dy;        // twips; positive downward
    uint32_t colour;   // COLORREF
};
#pragma pack(pop)
static_assert(sizeof(ShadowStyle) == 8, "a shadow style is 8 bytes");

// All three zero stands for the default: 5 points (100 twips) each way, grey.
const int16_t kObShadowDefaultOffset = 100;
const COLORREF kObShadowDefaultColour = 0x808080;

// Installs a style and returns the one in force before. An all-zero style
// is first replaced by the default, in the caller's block too; no style
// installs the default.
ShadowStyle obSetShadowStyle(ShadowStyle *style);
// Fills the block with the default style.
void obDefaultShadowStyle(ShadowStyle *style);
COLORREF obGetShadowColour();
// A solid brush of the shadow colour; the caller deletes it.
HBRUSH obCreateShadowBrush();
void obGetShadowOffset(int32_t *dx, int32_t *dy);
// Shift n points by the offset (+dx, +dy) or back (-dx, -dy).
void obOffsetByShadow(POINT *pts, int32_t n);
void obOffsetByMinusShadow(POINT *pts, int32_t n);
// Grows the rectangle towards the shadow: the right edge by dx when dx >= 0,
// else the left edge by dx; likewise the bottom or the top by dy.
void obAddShadowToRect(RECT *r);
// Fills the rectangle shifted by the offset with the shadow colour (right
// and bottom edges included, as the shapes draw them).
BOOL obFillShadowRect(HDC dc, const RECT *r);
