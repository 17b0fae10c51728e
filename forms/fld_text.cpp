// Measuring label texts of form controls.
#include "forms/fld_text.h"
#include "support/dm_map.h"
#include "text/tx_measure.h"

BOOL fldMeasureText(const LOGFONTA *font, const char *text, int n, SIZE *extent)
{
    if (extent)
        extent->cx = extent->cy = 0;
    if (!font || !text || !extent)
        return FALSE;
    HDC printer = txUsePrinterMetrics() ? txGetPrinterRefDC() : nullptr;
    HDC dc = printer ? printer : GetDC(nullptr);
    if (!dc)
        return FALSE;
    // Measured in device pixels with the font scaled to the device, then
    // converted back to twips, whatever the context's own mapping.
    int saved = SaveDC(dc);
    SetMapMode(dc, MM_TEXT);
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    if (dpiX <= 0 || dpiY <= 0)
        dpiX = dpiY = 96;
    LOGFONTA lf = *font;
    lf.lfHeight = MulDiv(font->lfHeight, dpiY, 1440);
    lf.lfWidth = MulDiv(font->lfWidth, dpiX, 1440);
    SIZE px = {0, 0};
    {
        GdiObject<HFONT> f(dmCreateFont(&lf));
        GdiSelect sel(dc, f);
        if (n > 0)
            GetTextExtentPoint32A(dc, text, n, &px);
        else {
            TEXTMETRICA tm;
            if (GetTextMetricsA(dc, &tm))
                px.cy = tm.tmHeight;
        }
    }
    RestoreDC(dc, saved);
    if (!printer)
        ReleaseDC(nullptr, dc);
    extent->cx = MulDiv(px.cx, 1440, dpiX);
    extent->cy = MulDiv(px.cy, 1440, dpiY);
    return TRUE;
}
