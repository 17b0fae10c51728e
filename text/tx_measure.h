// The device against which text is measured: the printer's information
// context when there is a printer, else none (text is then measured on the
// screen), and the metrics of a font on a device context.
#pragma once
#include "support/qmwin.h"

// Keeps the printer information context (0 = no printer) and the flag, and
// recomputes the measuring state from them. Called whenever the current
// printer is started, changed by the set-up dialog, found missing or ended.
// Returns 1.
int txSetMeasureDC(HDC ic, BOOL flag);
// The printer reference context kept for measuring; 0 when none.
HDC txGetPrinterRefDC();
// 1 when text is measured on the printer reference context.
BOOL txUsePrinterMetrics();
// Back to no printer (tests).
void txResetMeasureModule();

// GetTextMetricsA with the font record's LOGFONT selected into the DC:
// average character width, height, external leading, height plus leading
// and ascent (each optional). 1, or 0 when the font could not be made.
int txMeasureFont(HDC dc, const void *fontRecord, int32_t *aveWidth, int32_t *height,
                  int32_t *leading, int32_t *heightLeading, int32_t *ascent);
// The same on the workspace's mapped DC (a mapped memory DC without one).
int txMeasureFontOn(HWND workspace, const void *fontRecord, int32_t *aveWidth,
                    int32_t *height, int32_t *leading);
