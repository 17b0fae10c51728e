// Field frames: the measures of a frame-style word.
#include "forms/fld_frame.h"
#include "support/gdi_draw.h"

int32_t fldFrameBorderHalfWidth(uint16_t frameStyle)
{
    if ((frameStyle & 0xFF) == FLD_FRAME_NONE)
        return 0;
    if ((frameStyle >> 8) == kFldDoubleLine)
        return 40;
    int32_t width, style;
    gdiDecodeLineWidth((uint16_t)(frameStyle & GDI_LINE_STYLE_MASK), &width, &style);
    return width / 2;
}
