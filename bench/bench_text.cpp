// Text steps of the benchmark: a 1 MB stream with a cancelling pair of
// bold codes every 20 characters is normalised (one pass, the tail never
// shifted per dropped code) and checked, plainly and bounded.
#include "bench/bench_text.h"
#include "bench/bench_clock.h"
#include "text/tx_break.h"
#include "text/tx_columns.h"
#include "text/tx_flow.h"
#include "text/tx_draw_object.h"
#include "text/tx_format.h"
#include "text/tx_header.h"
#include "text/tx_object.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include "text/tx_measure.h"
#include "text/tx_paint.h"
#include "support/dm_map.h"
#include "text/tx_stream.h"
#include <stdio.h>
#include <string.h>
#include <string>

// 10,000 words in 800 laid-out lines (a bold pair every 50 words) painted
// into a 1000 x 1000 DIB.
static void benchTextPaint()
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 1000;
    bi.bmiHeader.biHeight = -1000;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    dmPushState();
    dmSetZoomDC(dc, 50);

    LOGFONTA lf = {};
    lf.lfHeight = -30;   // 800 lines of 36 twips stay within the 20-inch limit
    lf.lfWeight = 400;
    lstrcpyA(lf.lfFaceName, "Arial");
    CharFormat fmt;
    txFormatFromLogFont(&fmt, &lf, 0, 4, 0, 0, 0xFFFFFF);
    char on[8], off[8], info[16];
    std::string bold(on, (size_t)txMakeFlagCode(on, TXC_BOLD_ON));
    std::string plain(off, (size_t)txMakeFlagCode(off, TXC_BOLD_OFF));
    std::string laid;
    int word = 0;
    for (int line = 0; line < 800; ++line) {
        std::string text;
        int words = line < 400 ? 13 : 12;   // 10,000 words in all
        for (int k = 0; k < words; ++k, ++word) {
            if (word % 50 == 0)
                text += bold;
            if (word % 50 == 1)
                text += plain;
            text += "word ";
        }
        text += line % 40 == 39 ? "\r" : "\n";
        TxLineInfo li = {(int16_t)text.size(), 28, 1400, 36};
        laid += std::string(info, (size_t)txMakeBlockCode(info, TXC_LINE_INFO, &li, 8)) + text;
    }
    SetRect(&fmt.lineRect, 0, 0, 9360, 28800);
    fmt.frameRect = fmt.lineRect;
    SetTextAlign(dc, TA_BASELINE);
    double t0 = benchSeconds();
    txDrawLines(dc, laid.c_str(), &fmt, 0, 0, nullptr);
    double paint = benchSeconds() - t0;
    dmPopState();
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    printf("text paint 800 lines  %8.3f s  (%d words)\n", paint, word);
}

// A 10,000-word, 20-paragraph text laid out at 6.5 inches, then the text
// object drawn into a 1000 x 1000 DIB.
static void benchTextObject()
{
    std::string flowing;
    for (int w = 0; w < 10000; ++w) {
        flowing += (w % 7 == 0) ? "Quillmark " : "words ";
        if (w % 500 == 499)
            flowing += "\r";
    }
    TextHeader th = {};
    th.lf.lfHeight = -30;
    th.lf.lfWeight = 400;
    lstrcpyA(th.lf.lfFaceName, "Arial");
    th.bkMode = 1;
    th.spacing = 4;
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 1000;
    bi.bmiHeader.biHeight = -1000;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    dmPushState();
    dmSetZoomDC(dc, 50);
    double t0 = benchSeconds();
    MemHandle laid = txLayoutStream(dc, flowing.c_str(), 9360, &th.lf, 0, 4, 0, 0, 0xFFFFFF, 0,
                                    nullptr, FALSE);
    double layout = benchSeconds() - t0;
    int32_t lines = 0;
    MemHandle object = 0;
    {
        MemLock<char> s(laid);
        lines = s ? txLineCount(s.get()) : 0;
        RECT box = {0, 0, 9360, 28000};
        const COLORREF colours[3] = {0, 0, 0xFFFFFF};
        object = txNewTextObject(&box, colours, &th, s.get());
    }
    t0 = benchSeconds();
    {
        ObLock r(object);
        if (r)
            txDrawObject(dc, r.get());
    }
    double drawing = benchSeconds() - t0;
    utFreeHandle(object);
    utFreeHandle(laid);
    dmPopState();
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    printf("text layout 10k words %8.3f s  (%d lines)\n", layout, (int)lines);
    printf("text object draw      %8.3f s\n", drawing);
}

// A wrapped 10,000-word text object at 6.5 inches: re-wrapped, resized to
// half the width (thousands of line breaks), then set in 4 columns.
static void benchTextFlow()
{
    std::string flowing;
    for (int w = 0; w < 10000; ++w) {
        flowing += (w % 7 == 0) ? "Quillmark " : "words ";
        if (w % 500 == 499)
            flowing += "\r";
    }
    TextHeader th = {};
    th.lf.lfHeight = -30;
    th.lf.lfWeight = 400;
    lstrcpyA(th.lf.lfFaceName, "Arial");
    th.flags = TXF_WRAP | TXF_WRAP_LOW;
    th.bkMode = 1;
    th.spacing = 4;
    RECT box = {0, 0, 9360, 1000};
    MemHandle obj = txNewTextObject(&box, nullptr, &th, nullptr);
    obj = txReplaceText(nullptr, obj, flowing.c_str(), TXK_PLAIN, FALSE, FALSE);
    double t0 = benchSeconds();
    obj = txRewrap(nullptr, obj, FALSE);
    double rewrap = benchSeconds() - t0;
    int32_t lines = txCountLines(obj);
    POINT half[2] = {{0, 0}, {4680, 1000}};
    t0 = benchSeconds();
    obj = txResizeTo(obj, half);
    double resize = benchSeconds() - t0;
    int32_t halfLines = txCountLines(obj);
    TextColumnSpec spec = {};
    obGetRect(obj, &spec.bounds);
    spec.bounds.right = spec.bounds.left + 9360;
    spec.columns = 4;
    t0 = benchSeconds();
    MemHandle columned = txMakeColumns(obj, &spec);
    double columns = benchSeconds() - t0;
    if (columned)
        obj = columned;
    utFreeHandle(obj);
    printf("text rewrap 10k words %8.3f s  (%d lines)\n", rewrap, (int)lines);
    printf("text resize to half   %8.3f s  (%d lines)\n", resize, (int)halfLines);
    printf("text in 4 columns     %8.3f s\n", columns);
}

void benchText()
{
    char on[8], off[8];
    int32_t n1 = txMakeFlagCode(on, TXC_BOLD_ON), n2 = txMakeFlagCode(off, TXC_BOLD_OFF);
    std::string unit = "abcdefghij klmnopqrs" + std::string(on, (size_t)n1) + std::string(off, (size_t)n2);
    std::string s;
    s.reserve(1 << 20);
    while (s.size() + unit.size() < (1u << 20))
        s += unit;
    s += "end";
    std::string work = s + '\0';

    LOGFONTA lf = {};
    lf.lfHeight = -240;
    lf.lfWeight = 400;
    lstrcpyA(lf.lfFaceName, "Arial");
    CharFormat fmt;
    txFormatFromLogFont(&fmt, &lf, 0, 4, 0, 0, 0xFFFFFF);

    double t0 = benchSeconds();
    int32_t checked = txCheckStream(work.c_str());
    double check = benchSeconds() - t0;
    t0 = benchSeconds();
    int32_t bounded = txCheckStreamBounded(work.c_str(), (uint32_t)work.size());
    double checkBounded = benchSeconds() - t0;
    t0 = benchSeconds();
    int32_t len = txNormaliseCodes(&work[0], &fmt);
    double normalise = benchSeconds() - t0;

    printf("text check 1 MB       %8.3f s  (%s)\n", check, checked > 0 ? "valid" : "INVALID");
    printf("text bounded check    %8.3f s  (%s)\n", checkBounded, bounded == checked ? "valid" : "INVALID");
    printf("text normalise 1 MB   %8.3f s  (%d -> %d bytes)\n", normalise, (int)s.size(), (int)len);
    benchTextPaint();
    benchTextObject();
    benchTextFlow();
}
