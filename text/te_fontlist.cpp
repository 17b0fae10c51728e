// Installed faces and average widths.
//
// Not yet here: the face and size lists of the font boxes, the font
// preference, the "Font Size", vertical-font and "Font Weight" dialogs.
#include "text/te_fontlist.h"
#include "text/tx_measure.h"
#include <string.h>

namespace {

int CALLBACK onFace(const LOGFONTA *lf, const TEXTMETRICA *, DWORD, LPARAM found)
{
    (void)lf;
    *reinterpret_cast<BOOL *>(found) = TRUE;
    return 0;
}

BOOL existsOn(HDC dc, const char *face)
{
    if (!dc)
        return FALSE;
    LOGFONTA want = {};
    want.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(want.lfFaceName, face, LF_FACESIZE);
    BOOL found = FALSE;
    EnumFontFamiliesExA(dc, &want, onFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

}  // namespace

BOOL txFaceExists(int where, const char *face)
{
    if (!face || !*face || strlen(face) >= LF_FACESIZE)
        return FALSE;
    if (where == 1 || where == 2) {
        HDC printer = txGetPrinterRefDC();
        if (printer && existsOn(printer, face))
            return TRUE;
        if (where == 1)
            return FALSE;
    }
    HDC screen = GetDC(nullptr);
    BOOL ok = existsOn(screen, face);
    ReleaseDC(nullptr, screen);
    return ok;
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
