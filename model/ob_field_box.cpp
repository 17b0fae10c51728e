// Entry field boxes: scaling of packed corner sizes.
#include "model/ob_field_box.h"
#include <stdlib.h>

void obScalePackedSize(const RECT *oldRect, const RECT *newRect, uint16_t frameStyle,
                       uint32_t *packed)
{
    if (!oldRect || !newRect || !packed)
        return;
    int64_t ow = llabs((int64_t)oldRect->right - oldRect->left);
    int64_t oh = llabs((int64_t)oldRect->bottom - oldRect->top);
    if (ow == 0 || oh == 0)
        return;
    if ((frameStyle & 0xFF) != 3) {
        *packed = 0;
        return;
    }
    if (*packed == 0)
        return;
    int64_t nw = llabs((int64_t)newRect->right - newRect->left);
    int64_t nh = llabs((int64_t)newRect->bottom - newRect->top);
    int64_t x = *packed & 0xFFFF, y = *packed >> 16;
    if (nw != ow)
        x = x * nw / ow;
    if (nh != oh)
        y = y * nh / oh;
    // Each half keeps to its 16 bits.
    x = x > 0xFFFF ? 0xFFFF : x;
    y = y > 0xFFFF ? 0xFFFF : y;
    *packed = ((uint32_t)y << 16) | (uint32_t)x;
}
