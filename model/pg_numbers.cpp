// The page-number settings attribute.
#include "model/pg_numbers.h"
#include "model/fm_form.h"
#include "model/pg_margins.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_column.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>

int pgGetNumberSettings(MemHandle form, PageNumberSettings *settings)
{
    int length = 0;
    const uint8_t *data = fmFindAttr(form, FM_TAG_NUMBER_SETTINGS, &length);
    if (!data)
        return 0;
    uint32_t stored = 0;
    if (length >= 4)
        memcpy(&stored, data, 4);
    bool whole = length == (int)sizeof(PageNumberSettings) && stored == sizeof(PageNumberSettings);
    if (whole)
        memcpy(settings, data, sizeof(*settings));
    fmUnlock(form);
    return whole && settings->placement != 0 ? 1 : 0;
}

MemHandle pgSetNumberSettings(MemHandle form, const PageNumberSettings *settings)
{
    if (!settings)
        return fmSetAttr(form, FM_TAG_NUMBER_SETTINGS, nullptr, 0);
    PageNumberSettings copy = *settings;
    copy.length = sizeof(copy);
    return fmSetAttr(form, FM_TAG_NUMBER_SETTINGS, &copy, (int)sizeof(copy));
}

// ---- placing and drawing the number ----------------------------------------------------------

namespace {

// Whether the document shows page numbers at all; the settings when so.
bool numbersShown(MemHandle form, PageNumberSettings *settings)
{
    if (!pgGetNumberSettings(form, settings))
        return false;
    return !(fmGetPageCount(form) == 1 && (settings->flags & 1));
}

// The text's size in its font on the DC (logical units of its mapping).
bool measure(HDC dc, const PageNumberSettings &settings, const char *text, SIZE *size)
{
    GdiObject<HFONT> font(dmCreateFont(&settings.font));
    GdiSelect sel(dc, font);
    return GetTextExtentPoint32A(dc, text, (int)strlen(text), size) != 0;
}

}  // namespace

int pgNumberText(const PageNumberSettings *settings, int number, char *buffer, int size)
{
    if (!buffer || size < 1)
        return 0;
    buffer[0] = 0;
    if (!settings)
        return 0;
    int value = number + settings->offset;
    switch (settings->numberStyle) {
    case 2:
    case 3: return 0;
    case 4: return utColumnNameLower(buffer, value, size);
    case 5: return utColumnName(buffer, value, size);
    default: return snprintf(buffer, size, "%d", value);
    }
}

uint16_t pgNumberAlignment(const PageNumberSettings *settings, int number)
{
    bool odd = (number & 1) != 0;
    switch (settings ? settings->horizontal : 1) {
    case 2: return 0;
    case 3: return GEO_ALIGN_RIGHT;
    case 4: return odd ? 0 : GEO_ALIGN_RIGHT;
    case 5: return odd ? GEO_ALIGN_RIGHT : 0;
    default: return GEO_ALIGN_HCENTRE;
    }
}

int pgPlaceNumber(MemHandle page, int number, const PageNumberSettings *settings, int32_t width,
                  int32_t height, RECT *out)
{
    *out = RECT{0, 0, 0, 0};
    if (!settings || (settings->placement != 1 && settings->placement != 2))
        return 0;
    RECT inset, margins;
    pgGetInsetRect(page, &inset);
    pgGetMarginRect(page, &margins);
    int32_t top, bottom;
    if (settings->placement == 1) {
        int32_t y = std::max<int32_t>(std::min<int32_t>(inset.top + kPgNumberLineGap,
                                                        margins.top - height),
                                      inset.top);
        top = y;
        bottom = y + height;
    } else {
        int32_t y2 = std::min<int32_t>(std::max<int32_t>(inset.bottom - kPgNumberLineGap,
                                                         std::min<int32_t>(margins.bottom,
                                                                           inset.bottom)),
                                       inset.bottom);
        top = y2 - height;
        bottom = y2;
    }
    RECT box = {0, top, width, bottom};
    RECT frame = {margins.left, top, margins.right, bottom};
    geoAlignRect(&box, &frame, pgNumberAlignment(settings, number));
    *out = box;
    return 1;
}

int pgGetNumberRect(HWND window, HDC dc, MemHandle form, MemHandle page, int number, RECT *out)
{
    *out = RECT{0, 0, 0, 0};
    PageNumberSettings settings;
    if (!numbersShown(form, &settings))
        return 0;
    char text[32];
    pgNumberText(&settings, number, text, sizeof text);
    if (!dc)
        dmApplyViewMapping(window);
    HDC own = dc ? nullptr : dmGetDC(window);
    SIZE size = {0, 0};
    bool ok = (dc || own) && measure(dc ? dc : own, settings, text, &size);
    if (own)
        ReleaseDC(window, own);
    if (!ok)
        return 0;
    pgPlaceNumber(page, number, &settings, size.cx, size.cy, out);
    return 1;
}

void pgDrawNumber(HDC dc, MemHandle form, MemHandle page, int number, const RECT *clip)
{
    PageNumberSettings settings;
    if (!dc || !numbersShown(form, &settings))
        return;
    char text[32];
    int n = pgNumberText(&settings, number, text, sizeof text);
    if (n <= 0)
        return;
    GdiObject<HFONT> font(dmCreateFont(&settings.font));
    GdiSelect sel(dc, font);
    SIZE size;
    if (!GetTextExtentPoint32A(dc, text, n, &size))
        return;
    RECT r;
    if (!pgPlaceNumber(page, number, &settings, size.cx, size.cy, &r))
        return;
    RECT meet;
    if (clip && !IntersectRect(&meet, &r, clip))
        return;
    COLORREF oldColour = SetTextColor(dc, RGB(0, 0, 0));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    UINT oldAlign = SetTextAlign(dc, TA_TOP | TA_LEFT);
    TextOutA(dc, r.left, r.top, text, n);
    SetTextAlign(dc, oldAlign);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
}
