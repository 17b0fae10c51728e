// Installed faces and average widths.
//
// Not yet here: the face and size lists of the font boxes, the font
// preference, the "Font Size", vertical-font and "Font Weight" dialogs.
#include "text/te_fontlist.h"
#include "text/tx_measure.h"
#include "support/gdi_font.h"
#include <string.h>

BOOL txFaceExists(int where, const char *face)
{
    if (!face || !*face || strlen(face) >= LF_FACESIZE)
        return FALSE;
    if (where == 1 || where == 2) {
        HDC printer = txGetPrinterRefDC();
        if (printer && gdiFaceOnDC(printer, face, nullptr))
            return TRUE;
        if (where == 1)
            return FALSE;
    }
    return gdiFontExists(nullptr, FALSE, face, nullptr);
}

void txSetAverageWidth(HWND window, LOGFONTA *font)
{
    if (!font)
        return;
    HDC printer = txGetPrinterRefDC();
    HDC dc = printer ? printer : txGetMeasureDC(window, FALSE);
    TEXTMETRICA tm;
    if (dc && txGetTextMetricsLF(dc, font, &tm))
        font->lfWidth = tm.tmAveCharWidth;
    if (!printer)
        txReleaseMeasureDC(window, dc, FALSE);
}
