// The device against which text is measured: the printer's information
// context when there is a printer, else none (text is then measured on the
// screen).
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
