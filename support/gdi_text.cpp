// Text placement by AlignWord and text measuring.
#include "support/gdi_text.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include <algorithm>
#include <string.h>

namespace {

// The box (left, top, width, height) gdiTextOutAligned uses for the run.
bool alignedTextBox(HDC dc, const RECT &rect, const char *text, int len, uint16_t align,
                    RECT *box)
{
    if (!dc || !text || len < 0)
        return false;
    SIZE size = {0, 0};
    if (len > 0 && !GetTextExtentPoint32A(dc, text, len, &size))
        return false;
    box->left = gdiAlignX(rect, size.cx, align);
    box->top = gdiAlignY(rect, size.cy, align);
    box->right = box->left + size.cx;
    box->bottom = box->top + size.cy;
    return true;
}

}  // namespace

uint32_t gdiTextExtent(HDC dc, const char *text, int len)
{
    SIZE size = {0, 0};
    if (!dc || !text || len <= 0 || !GetTextExtentPoint32A(dc, text, len, &size))
        return 0;
    return MAKELONG((uint16_t)size.cx, (uint16_t)size.cy);
}

BOOL gdiMeasureTextWithFont(const char *text, int len, const LOGFONTA *font, RECT *out)
{
    if (!out)
        return FALSE;
    SetRectEmpty(out);
    if (!text || !font || len < 0)
        return FALSE;
    HDC screen = GetDC(nullptr);
    if (!screen)
        return FALSE;
    BOOL ok = FALSE;
    GdiObject<HFONT> made(dmCreateFont(font));
    if (made) {
        GdiSelect keep(screen, made);
        SIZE size = {0, 0};
        if (len == 0 || GetTextExtentPoint32A(screen, text, len, &size)) {
            out->right = size.cx;
            out->bottom = size.cy;
            ok = TRUE;
        }
    }
    ReleaseDC(nullptr, screen);
    return ok;
}

int gdiAlignX(const RECT &rect, int width, uint16_t align)
{
    switch (align & GEO_ALIGN_HMASK) {
    case GEO_ALIGN_HCENTRE: return (int)(((int64_t)rect.left + rect.right - width) / 2);
    case GEO_ALIGN_RIGHT: return rect.right - width;
    default: return rect.left;
    }
}

int gdiAlignY(const RECT &rect, int height, uint16_t align)
{
    uint16_t vertical = align & GEO_ALIGN_VMASK;
    if (height > rect.bottom - rect.top)
        vertical = GEO_ALIGN_VCENTRE;
    switch (vertical) {
    case GEO_ALIGN_VCENTRE: return (int)(((int64_t)rect.top + rect.bottom - height) / 2);
    case GEO_ALIGN_BOTTOM: return rect.bottom - height;
    default: return rect.top;
    }
}

BOOL gdiTextOutAligned(HDC dc, const RECT &rect, const char *text, int len, uint16_t align)
{
    RECT box;
    if (!alignedTextBox(dc, rect, text, len, align, &box))
        return FALSE;
    return TextOutA(dc, box.left, box.top, text, len);
}

BOOL gdiTextBoundsInRect(HDC dc, RECT *rect, const char *text, int len, uint16_t align)
{
    RECT box;
    if (!rect || !alignedTextBox(dc, *rect, text, len, align, &box))
        return FALSE;
    rect->left = std::min(rect->left, box.left);
    rect->top = std::min(rect->top, box.top);
    rect->right = std::max(rect->right, box.right);
    rect->bottom = std::max(rect->bottom, box.bottom);
    return TRUE;
}

UINT gdiAlignToDrawTextFlags(uint16_t align)
{
    UINT flags = DT_LEFT;
    switch (align & GEO_ALIGN_HMASK) {
    case GEO_ALIGN_HCENTRE: flags |= DT_CENTER; break;
    case GEO_ALIGN_RIGHT: flags |= DT_RIGHT; break;
    }
    switch (align & GEO_ALIGN_VMASK) {
    case GEO_ALIGN_VCENTRE: flags |= DT_VCENTER; break;
    case GEO_ALIGN_BOTTOM: flags |= DT_BOTTOM; break;
    }
    return flags;
}
