// Measuring and choosing text fonts for new text objects.
#include "tools/ep_text_font.h"
#include "support/dm_map.h"
#include <commdlg.h>
#include <string.h>

int txMeasureFont(HDC dc, const void *fontRecord, int32_t *aveWidth, int32_t *height,
                  int32_t *leading, int32_t *heightLeading, int32_t *ascent)
{
    if (!dc || !fontRecord)
        return 0;
    LOGFONTA lf;
    memcpy(&lf, fontRecord, sizeof lf);
    HFONT font = CreateFontIndirectA(&lf);
    if (!font)
        return 0;
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteObject(font);
    if (aveWidth)
        *aveWidth = tm.tmAveCharWidth;
    if (height)
        *height = tm.tmHeight;
    if (leading)
        *leading = tm.tmExternalLeading;
    if (heightLeading)
        *heightLeading = tm.tmHeight + tm.tmExternalLeading;
    if (ascent)
        *ascent = tm.tmAscent;
    return 1;
}

int txMeasureFontOn(HWND workspace, const void *fontRecord, int32_t *aveWidth,
                    int32_t *height, int32_t *leading)
{
    *aveWidth = *height = *leading = 0;
    HDC dc = workspace ? dmGetDC(workspace) : nullptr;
    if (dc) {
        int ok = txMeasureFont(dc, fontRecord, aveWidth, height, leading, nullptr, nullptr);
        ReleaseDC(workspace, dc);
        return ok;
    }
    dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return 0;
    dmSetMapping(dc);
    int ok = txMeasureFont(dc, fontRecord, aveWidth, height, leading, nullptr, nullptr);
    DeleteDC(dc);
    return ok;
}

int txChooseVerticalFont(HWND owner, LOGFONTA *font)
{
    if (!font)
        return 0;
    LOGFONTA lf = *font;
    if (lf.lfFaceName[0] == '@')
        memmove(lf.lfFaceName, lf.lfFaceName + 1, strlen(lf.lfFaceName));
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontA(&cf))
        return 0;
    if (lf.lfFaceName[0] != '@' && strlen(lf.lfFaceName) < LF_FACESIZE - 1) {
        memmove(lf.lfFaceName + 1, lf.lfFaceName, strlen(lf.lfFaceName) + 1);
        lf.lfFaceName[0] = '@';
    }
    lf.lfEscapement = lf.lfOrientation = 2700;
    *font = lf;
    return 1;
}
