// Drawing primitives.
#include "support/gdi_draw.h"
#include "support/dm_map.h"

BOOL gdiEllipse(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b)
{
    return Ellipse(dc, l, t, r, b);
}

BOOL gdiRoundRect(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                  int32_t cornerH)
{
    return RoundRect(dc, l, t, r + dmGetPixelWidth(), b + dmGetPixelHeight(), cornerW, cornerH);
}
