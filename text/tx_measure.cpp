// The device against which text is measured.
#include "text/tx_measure.h"

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
