// The 3D Text record's accessors.
#include "commands/t3d_text.h"
#include "model/ob_dispatch.h"
#include "support/qmwin.h"
#include "support/rc_list.h"
#include <stdlib.h>
#include <string.h>

namespace {

// The type data's stated size, or 0 when it is too short for the fixed part.
uint32_t dataSize(const uint8_t *data)
{
    uint32_t size;
    memcpy(&size, data, 4);
    return size >= kT3dAttrAt ? size : 0;
}

}  // namespace

const char *t3dGetText(const uint8_t *data)
{
    if (!data)
        return nullptr;
    uint32_t size = dataSize(data);
    if (!size)
        return nullptr;
    uint32_t count, areaSize;
    memcpy(&count, data + 118, 4);
    memcpy(&areaSize, data + 122, 4);
    if (areaSize > size - kT3dAttrAt)
        return nullptr;
    uint32_t n = 0;
    const uint8_t *text = rcFindTaggedData(data + kT3dAttrAt, count, areaSize, 1, &n);
    // An empty text is no text: it has no field when it is made.
    if (!text || !n || !memchr(text, 0, n) || !text[0])
        return nullptr;
    return reinterpret_cast<const char *>(text);
}

int32_t t3dMargin(const uint8_t *data)
{
    LOGFONTA lf;
    memcpy(&lf, data + kT3dFontAt, 60);
    return abs(lf.lfHeight) / 8;
}

int t3dCalcExtent(const ObjectRecord *rec, RECT *out)
{
    if (!rec || !out || rec->type != OBT_3D_TEXT ||
        (uint64_t)obDataOffset(rec) + kT3dAttrAt > rec->length)
        return 0;
    const uint8_t *data = obRecData(const_cast<ObjectRecord *>(rec));
    if ((uint64_t)obDataOffset(rec) + dataSize(data) > rec->length)
        return 0;
    const char *text = t3dGetText(data);
    if (!text)
        return 0;
    // Measured in twips: the font's height is in twips.
    LOGFONTA lf;
    memcpy(&lf, data + kT3dFontAt, 60);
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
    SIZE size = {0, 0};
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (dc) {
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, 1440, 1440, nullptr);
        SetViewportExtEx(dc, GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY), nullptr);
        GdiObject<HFONT> font(CreateFontIndirectA(&lf));
        {
            GdiSelect keep(dc, font);
            GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
        }
        DeleteDC(dc);
    }
    int32_t dx, dy;
    memcpy(&dx, data + 14, 4);
    memcpy(&dy, data + 18, 4);
    RECT r = {0, 0, size.cx, size.cy};
    if (dx < 0)
        r.left += dx;
    else
        r.right += dx;
    if (dy < 0)
        r.top += dy;
    else
        r.bottom += dy;
    int32_t m = t3dMargin(data);
    InflateRect(&r, m, m);
    int32_t w = r.right - r.left, h = r.bottom - r.top;
    // Centred on the record's centre.
    out->left = rec->centreX - w / 2;
    out->top = rec->centreY - h / 2;
    out->right = out->left + w;
    out->bottom = out->top + h;
    return 1;
}
