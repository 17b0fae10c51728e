// Printing benchmark: a document of pages of mixed objects printed through
// the print loop to a printer of the benchmark's own (300 dots to the inch,
// Letter paper), each sheet one band rendered into a bitmap.
#include "bench/bench_print.h"
#include "bench/bench_clock.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "support/dm_printer.h"
#include "views/prn_print.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include <stdio.h>
#include <string.h>

namespace {

HBITMAP g_sheet = nullptr;
int g_band = 0, g_renders = 0, g_sheets = 0;
const int kWidth = 2550, kHeight = 3300;

BOOL printDlg(PRINTDLGA *) { return FALSE; }
DWORD noError() { return 0; }
HDC makeDC(const char *, const char *, const char *, const DEVMODEA *)
{
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, g_sheet);
    return dc;
}
HDC resetDC(HDC dc, const DEVMODEA *) { return dc; }
BOOL deleteDC(HDC dc) { return DeleteDC(dc); }
int caps(HDC, int index)
{
    switch (index) {
    case LOGPIXELSX: case LOGPIXELSY: return 300;
    case PHYSICALWIDTH: return kWidth;
    case PHYSICALHEIGHT: return kHeight;
    default: return 0;
    }
}
int capabilities(const char *, const char *, WORD, char *, const DEVMODEA *) { return 1; }

int startDoc(HDC, const DOCINFOA *) { return 1; }
int startPage(HDC) { g_band = 0; return 1; }
int endPage(HDC) { ++g_sheets; return 1; }
int endDoc(HDC) { return 1; }
int setAbortProc(HDC, ABORTPROC) { return 1; }
int nextBand(HDC, RECT *band)
{
    if (g_band++ == 0) {
        SetRect(band, 0, 0, kWidth, kHeight);
        ++g_renders;
    } else {
        SetRectEmpty(band);
    }
    return 1;
}


}  // namespace

void benchPrinting(int pages, int objects, MemHandle (*buildPage)(int, int))
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = kWidth;
    bi.bmiHeader.biHeight = -kHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void *bits = nullptr;
    g_sheet = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    static const DmPrinterCalls printer = {printDlg, noError, makeDC,       makeDC,
                                           resetDC,  deleteDC, caps, capabilities};
    static const PrnPrintCalls loop = {startDoc, startPage, endPage, endDoc,
                                       endDoc,   setAbortProc, nextBand};
    const DmPrinterCalls *oldPrinter = dmSetPrinterCalls(&printer);
    const PrnPrintCalls *oldLoop = prnSetPrintCalls(&loop);
    HGLOBAL mode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
    {
        DEVMODEA *m = (DEVMODEA *)GlobalLock(mode);
        strcpy((char *)m->dmDeviceName, "Bench");
        m->dmSize = sizeof(DEVMODEA);
        m->dmSpecVersion = 0x401;
        GlobalUnlock(mode);
    }
    const char names[] = "\x08\x00\x0e\x00\x14\x00\x00\x00" "bench\0Bench\0FILE:";
    HGLOBAL devNames = GlobalAlloc(GMEM_MOVEABLE, sizeof(names));
    memcpy(GlobalLock(devNames), names, sizeof(names));
    GlobalUnlock(devNames);
    dmUsePrinter(mode, devNames, 1);

    HWND ws = CreateWindowA("STATIC", "print bench", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                            nullptr);
    MemHandle form = fmNew();
    for (int p = 0; p < pages; ++p)
        pgDirAppend(form, buildPage(p, objects));
    fmSetCurrentPage(form, 0);
    wsSetDocument(ws, form);
    PrintJob job;
    prnInitJob(&job, ws, FALSE, pages, 0, nullptr, nullptr, nullptr);
    job.rangeKind = PRN_RANGE_ALL;
    g_renders = g_sheets = 0;
    double t0 = benchSeconds();
    int ok = prnPrintJob(ws, &job);
    double took = benchSeconds() - t0;
    printf("print %d pages x %d objects at 300 dpi  %8.3f s  (%s, %d sheets, %d band renders)\n",
           pages, objects, took, ok ? "printed" : "FAILED", g_sheets, g_renders);

    wsSetDocument(ws, 0);
    fmFree(form);
    DestroyWindow(ws);
    dmUsePrinter(nullptr, nullptr, 0);
    GlobalFree(mode);
    GlobalFree(devNames);
    prnSetPrintCalls(oldLoop);
    dmSetPrinterCalls(oldPrinter);
    DeleteObject(g_sheet);
    g_sheet = nullptr;
}
