// Drawing primitives over the platform's 2-D calls. Coordinates are logical
// (twips through the view mapping).
#pragma once
#include "support/qmwin.h"

// Ellipse with the arguments unchanged.
BOOL gdiEllipse(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b);
// RoundRect with the right and bottom edges moved out by one device pixel,
// so that the outline covers the given right and bottom edges.
BOOL gdiRoundRect(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                  int32_t cornerH);
