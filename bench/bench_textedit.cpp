// Text editor steps of the benchmark: the line blocks of a 10,000-word text
// made from its laid-out stream with every line measured (on a hidden
// window), the whole text re-broken at a new width and written back; and
// opening and ending the in-place edit of a text object of those words.
#include "bench/bench_textedit.h"
#include "bench/bench_clock.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "text/tx_break.h"
#include "text/tx_format.h"
#include "text/tx_measure.h"
#include "text/tx_header.h"
#include "text/tx_object.h"
#include "textedit/te_caret.h"
#include "textedit/te_commands.h"
#include "textedit/te_display.h"
#include "textedit/te_lines.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include "textedit/te_modes.h"
#include "textedit/te_undo.h"
#include "text/tx_flow.h"
#include <stdio.h>
#include <string>

namespace {

// 10,000 words of 2 to 9 letters, a paragraph every 100 words (with one
// paragraph of 400 words from word `longFrom` when it is set).
std::string words(int longFrom = -1)
{
    std::string s;
    uint32_t seed = 12345;
    for (int i = 0; i < 10000; ++i) {
        seed = seed * 1103515245u + 12345u;
        int len = 2 + (int)((seed >> 16) % 8);
        for (int k = 0; k < len; ++k)
            s += (char)('a' + (int)((seed >> (k + 3)) % 26));
        bool inLong = longFrom >= 0 && i >= longFrom && i < longFrom + 399;
        s += (i % 100 == 99 && !inLong) ? '\r' : ' ';
    }
    return s;
}

// Opening a text object of the words for editing (its stream into line
// blocks, every line measured) and ending the edit (the lines written back
// into the object, its box fitted), three times.
int quietBox(HWND, const char *text, const char *, UINT)
{
    printf("  (message: %s)\n", text ? text : "");
    return IDOK;
}

void benchEditOpenEnd(HWND window, const std::string &text)
{
    // The text is taller than a box may be: the fitting warning is noted,
    // never waited for.
    utSetMessageBoxHook(quietBox);
    TextHeader h = {};
    h.lf.lfHeight = -240;
    h.lf.lfWeight = 400;
    lstrcpyA(h.lf.lfFaceName, "Arial");
    h.spacing = 4;
    h.bkMode = 1;
    h.flags = 0x9;
    const RECT box = {0, 0, 10080, 28800};
    const COLORREF colours[3] = {0, 0, 0xFFFFFF};
    MemHandle obj = txNewTextObject(&box, colours, &h, "");
    obj = txReplaceText(nullptr, obj, text.c_str(), 3, TRUE, FALSE);
    for (int round = 1; round <= 3; ++round) {
        double t0 = benchSeconds();
        teOpenObject(window, obj, -1);
        double t1 = benchSeconds();
        const int32_t lines = teLineCount();
        teEndEdit(window, 0, 0);
        double t2 = benchSeconds();
        obj = txHasObjectText(obj) ? obj : 0;
        printf("editor edit of a 10000-word text (%d lines), round %d: open %8.3f ms, "
               "end %8.3f ms\n",
               lines, round, (t1 - t0) * 1000, (t2 - t1) * 1000);
        if (!obj)
            break;
    }
    utFreeHandle(obj);
    utSetMessageBoxHook(nullptr);
}

}  // namespace

// Typing 200 characters one at a time into the middle of a 400-word
// paragraph of a 10,000-word wrapped text, each key's changed lines
// repainted on the session's context.
static void benchTyping(HWND window)
{
    LOGFONTA lf = {};
    lf.lfHeight = -240;
    lf.lfWeight = 400;
    lstrcpyA(lf.lfFaceName, "Arial");
    const int longFrom = 4000;
    std::string text = words(longFrom);
    HDC mdc = txGetMeasureDC(nullptr, FALSE);
    MemHandle laid = txLayoutStream(mdc, text.c_str(), 10080, &lf, 0, 4, 0, 0, 0xFFFFFF, 0,
                                    nullptr, FALSE);
    txReleaseMeasureDC(nullptr, mdc, FALSE);
    TextHeader h = {};
    h.lf = lf;
    h.bkMode = 1;
    h.spacing = 4;
    h.flags = TXF_WRAP | TXF_WRAP_LOW;
    RECT box = {0, 0, 10080, 28800};
    const COLORREF colours[3] = {0, 0, 0xFFFFFF};
    MemHandle object = txNewTextObject(&box, colours, &h, "");
    teResetSession(window);
    teSetTextObject(object);
    CharFormat fmt;
    txGetCharFormat(object, &fmt);
    teSetFormat(&fmt, 0);
    teSetFormat(&fmt, 2);
    teAcquireDC(window);
    {
        MemLock<char> s(laid);
        teLinesFromStream(s.get(), 0, &fmt);
    }
    teSetInsertMode(TRUE);
    // The caret after the 200th word of the long paragraph.
    size_t at = 0;
    for (int w = 0; w < longFrom + 200; ++w)
        at = text.find_first_of(" \r", at) + 1;
    teSetCaretAbs((int32_t)at);
    int32_t lines = teLineCount();
    teResetDisplayNotes();
    double t0 = benchSeconds();
    for (int i = 0; i < 200; ++i) {
        teInsertChar(window, (char)(i % 7 == 6 ? ' ' : 'a' + i % 26));
        teRepaintChanges(window);
    }
    double t1 = benchSeconds();
    printf("editor typing 200 characters into a 400-word paragraph of 10000 words (%d lines): "
           "%8.3f ms, %6.3f ms a key\n",
           lines, (t1 - t0) * 1000, (t1 - t0) * 1000 / 200);
    utFreeHandle(laid);
    teLinesFreeAll();
    teDropUndo(window, FALSE);
    teReleaseDC();
    teResetSelectionModule();
    teResetSession(nullptr);
    utFreeHandle(object);
}

void benchTextEdit()
{
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    LOGFONTA lf = {};
    lf.lfHeight = -240;
    lf.lfWeight = 400;
    lstrcpyA(lf.lfFaceName, "Arial");
    CharFormat fmt;
    txFormatFromLogFont(&fmt, &lf, 0, 4, 0, 0, 0xFFFFFF);
    std::string text = words();
    HDC mdc = txGetMeasureDC(nullptr, FALSE);
    MemHandle laid = txLayoutStream(mdc, text.c_str(), 10080, &lf, 0, 4, 0, 0, 0xFFFFFF, 0,
                                    nullptr, FALSE);
    txReleaseMeasureDC(nullptr, mdc, FALSE);
    teResetSession(window);
    teSetFormat(&fmt, 0);
    RECT frame = {0, 0, 10080, 28800};
    teStoreFrame(&frame);
    double t0 = benchSeconds();
    {
        MemLock<char> s(laid);
        teLinesFromStream(s.get(), 0, &fmt);
    }
    double t1 = benchSeconds();
    int32_t before = teLineCount();
    // Select All: the highlight cache built (one measure per line) and
    // painted on the window.
    double s0 = benchSeconds();
    teSelectAll(window);
    double s1 = benchSeconds();
    printf("editor select all of 10000 words: cache and paint %8.3f ms (%d rectangles)\n",
           (s1 - s0) * 1000, teGetCachedRects(nullptr, 0));
    teClearSelection();
    RECT narrower = {0, 0, 8640, 28800};
    teStoreFrame(&narrower);
    double r0 = benchSeconds();
    teRewrapAll();
    double t2 = benchSeconds();
    MemHandle back = teLinesToStream(teGetFirstLine(), 0);
    double t3 = benchSeconds();
    printf("editor lines of 10000 words: make %8.3f ms (%d lines), re-break all %8.3f ms "
           "(%d lines), write back %8.3f ms, together %8.3f ms\n",
           (t1 - t0) * 1000, before, (t2 - r0) * 1000, teLineCount(), (t3 - t2) * 1000,
           (t1 - t0 + t3 - r0) * 1000);
    utFreeHandle(back);
    utFreeHandle(laid);
    teLinesFreeAll();
    teReleaseDC();
    teResetSelectionModule();
    teResetSession(nullptr);
    benchTyping(window);
    benchEditOpenEnd(window, text);
    teResetSession(nullptr);
    DestroyWindow(window);
}
