// The device against which text is measured.
#include "text/tx_measure.h"
#include "support/dm_map.h"
#include <string.h>

namespace {

struct MeasureState {
    HDC printerIC;      // the printer's information context, or 0
    BOOL flag;          // as given with it
    BOOL usePrinter;    // text is measured on printerIC
};
MeasureState g_measure = {nullptr, FALSE, FALSE};

}  // namespace

int txSetMeasureDC(HDC ic, BOOL flag)
{
    g_measure.printerIC = ic;
    g_measure.flag = flag;
    // Text follows the printer whenever there is one, so that line breaks
    // on the screen are those of the printed page.
    g_measure.usePrinter = ic != nullptr;
    return 1;
}

HDC txGetPrinterRefDC() { return g_measure.printerIC; }

BOOL txUsePrinterMetrics() { return g_measure.usePrinter; }

void txResetMeasureModule() { g_measure = MeasureState{nullptr, FALSE, FALSE}; }

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
