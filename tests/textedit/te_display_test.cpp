// The editor's display: which lines a repaint draws after an edit, the
// frame growing with the text, the table-cell case, and the full repaint
// on real pixels.
#include "tests/textedit/te_editor_kit.h"
#include "support/dm_map.h"
#include "text/tx_measure.h"
#include "textedit/te_display.h"
#include "textedit/te_undo.h"

using namespace tetest;

namespace {

class Display : public Editor {
protected:
    void TearDown() override
    {
        wsSetTableEditValue(ws, 0);
        teDropUndo(ws, TRUE);
        teResetDisplayNotes();
        if (oldProc)
            SetWindowLongPtrA(ws, GWLP_WNDPROC, oldProc);
        oldProc = 0;
        Editor::TearDown();
    }

    // Opens the text with a vertical placement in its base format.
    void openPlaced(const char *text, uint16_t vertical, uint32_t flags = TXF_WRAP_LOW,
                    RECT box = {1440, 1440, 5760, 4320})
    {
        open(text, flags, ANSI_CHARSET, box);
        CharFormat f;
        teGetFormat(&f, 0);
        f.align = (uint16_t)((f.align & ~TXA_VMASK) | vertical);
        teSetFormat(&f, 0);
        teSetInsertMode(TRUE);
        teResetDisplayNotes();
    }

    // Lines drawn by what the function does, and the index of the first.
    template <typename Fn>
    int32_t drawnBy(Fn fn, int32_t *first = nullptr)
    {
        int32_t before = teGetDrawnLineCount();
        fn();
        if (first)
            *first = teGetLastDrawnFirst();
        return teGetDrawnLineCount() - before;
    }

    // Records WM_COMMAND 702 with the rectangle the text needs.
    static LONG_PTR oldProc;
    static int commands702;
    static RECT asked;
    static LRESULT CALLBACK spy(HWND w, UINT m, WPARAM wp, LPARAM lp)
    {
        if (m == WM_COMMAND && LOWORD(wp) == 702 && lp) {
            ++commands702;
            asked = *reinterpret_cast<RECT *>(lp);
        }
        return CallWindowProcA(reinterpret_cast<WNDPROC>(oldProc), w, m, wp, lp);
    }
};
LONG_PTR Display::oldProc = 0;
int Display::commands702 = 0;
RECT Display::asked = {0, 0, 0, 0};

TEST_F(Display, ACharacterThatKeepsItsLineHeightRepaintsThatLineOnly)
{
    openPlaced("one\rtwo\rthree", TXA_TOP);
    teSetCaret(teLineAt(1), 1);
    int32_t first = -1;
    int32_t drawn = drawnBy([&] {
        ASSERT_EQ(1, teInsertChar(ws, 'x'));
        teRepaintChanges(ws);
    }, &first);
    EXPECT_EQ(1, drawn);
    EXPECT_EQ(1, first);
    int32_t f, l;
    teGetDisplayNotes(&f, &l, nullptr, nullptr);
    EXPECT_EQ(-1, f);
}

TEST_F(Display, ANewLineRepaintsFromItsLineInTopTextAndTheWholeCentredBlock)
{
    struct Case {
        uint16_t placement;
        int32_t firstDrawn;
        int32_t lines;
        bool erasesOldBlock;
    } cases[] = {{TXA_TOP, 1, 3, false}, {TXA_VCENTRE, 0, 4, true}, {TXA_BOTTOM, 0, 4, true}};
    for (const Case &c : cases) {
        openPlaced("one\rtwo\rthree", c.placement);
        teSetCaret(teLineAt(1), 1);
        RECT oldBlock;
        teLinesRect(&oldBlock);
        ASSERT_EQ(1, teNewParagraph(ws));
        ASSERT_EQ(4, teLineCount());
        // The repaint erases the old block where the lines moved.
        RECT area;
        teCheckGrowth(ws);
        teGetDisplayNotes(nullptr, nullptr, &area, nullptr);
        RECT both;
        UnionRect(&both, &area, &oldBlock);
        if (c.erasesOldBlock) {
            EXPECT_TRUE(EqualRect(&both, &area)) << c.placement;
        }
        int32_t first = -1;
        int32_t drawn = drawnBy([&] { teRepaintChanges(ws); }, &first);
        EXPECT_EQ(c.lines, drawn) << c.placement;
        EXPECT_EQ(c.firstDrawn, first) << c.placement;
        teDropUndo(ws, TRUE);
        teLinesFreeAll();
        utFreeHandle(object);
        object = 0;
    }
}

TEST_F(Display, TextOutgrowingAResizableFrameGrowsItThroughCommand702)
{
    oldProc = SetWindowLongPtrA(ws, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(spy));
    commands702 = 0;
    openPlaced("one", TXA_TOP, TXF_WRAP_LOW, {1440, 1440, 5760, 1800});
    RECT frame;
    teGetFrame(&frame);
    int32_t height = frame.bottom - frame.top;
    ASSERT_GE(height, teDepthFrom(teGetFirstLine()));
    teCaretLineEnd(ws, TRUE);
    ASSERT_EQ(1, teNewParagraph(ws));
    ASSERT_EQ(1, teInsertChar(ws, 'x'));
    int32_t depth = teDepthFrom(teGetFirstLine());
    ASSERT_GT(depth, height);
    teRepaintChanges(ws);
    EXPECT_EQ(1, commands702);
    teGetFrame(&frame);
    EXPECT_EQ(depth, frame.bottom - frame.top);
    EXPECT_EQ(frame.bottom, asked.bottom);

    // A frame that bounds its text does not grow.
    teDropUndo(ws, TRUE);
    teLinesFreeAll();
    utFreeHandle(object);
    object = 0;
    commands702 = 0;
    openPlaced("one", TXA_TOP, TXF_WRAP_LOW | TXF_FRAME_BOUND2, {1440, 1440, 5760, 1800});
    teGetFrame(&frame);
    teCaretLineEnd(ws, TRUE);
    ASSERT_EQ(1, teNewParagraph(ws));
    teRepaintChanges(ws);
    EXPECT_EQ(0, commands702);
    RECT after;
    teGetFrame(&after);
    EXPECT_TRUE(EqualRect(&frame, &after));
}

TEST_F(Display, ACommandThatChangedOnlyTheCaretLineRedrawsJustThatLine)
{
    openPlaced("one\rtwo\rthree", TXA_TOP);
    teSetCaret(teLineAt(2), 2);
    int32_t first = -1;
    int32_t drawn = drawnBy([&] {
        ASSERT_EQ(1, teToggleAttribute(ws, 461, TRUE));
        teRepaintAfterCommand(ws);
    }, &first);
    EXPECT_EQ(1, drawn);
    EXPECT_EQ(2, first);
    // The pending repaint of a key draws the noted lines only.
    teMarkLinesChanged(teLineAt(0), teLineAt(1));
    drawn = drawnBy([&] { teRepaintPending(ws); }, &first);
    EXPECT_EQ(2, drawn);
    EXPECT_EQ(0, first);
}

TEST_F(Display, AFrameAtTheTwentyInchLimitDoesNotWarnAgain)
{
    std::string text;
    for (int i = 0; i < 120; ++i)
        text += "line\r";
    openPlaced(text.c_str(), TXA_TOP, TXF_WRAP_LOW, {1440, 1440, 5760, 1440 + 20000});
    ASSERT_GT(teDepthFrom(teGetFirstLine()), kTxMaxExtent);
    qmtest::BoxRecorder boxes;
    EXPECT_EQ(1, teGrowHeight(ws, 0));
    EXPECT_EQ(1u, boxes.count());
    RECT frame;
    teGetFrame(&frame);
    EXPECT_EQ(kTxMaxExtent, frame.bottom - frame.top);
    // Typing on: the frame stays at the limit and nothing more is said.
    teSetCaret(teLineAt(3), 1);
    ASSERT_EQ(1, teInsertChar(ws, 'x'));
    teRepaintChanges(ws);
    ASSERT_EQ(1, teNewParagraph(ws));
    teRepaintChanges(ws);
    EXPECT_EQ(1u, boxes.count()) << boxes.texts();
}

TEST_F(Display, InATableCellNothingIsPaintedAndTheAreaIsInvalidated)
{
    openPlaced("one\rtwo", TXA_TOP);
    wsSetTableEditValue(ws, 1);
    ShowWindow(ws, SW_SHOW);
    UpdateWindow(ws);
    ValidateRect(ws, nullptr);
    teSetCaret(teLineAt(1), 1);
    int32_t drawn = drawnBy([&] {
        ASSERT_EQ(1, teInsertChar(ws, 'x'));
        teRepaintChanges(ws);
    });
    EXPECT_EQ(0, drawn);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(ws, &update, FALSE));
    // The invalid area covers the changed line.
    RECT line;
    teRectBetween(teLineAt(1), teLineAt(1), &line);
    POINT mid = {(line.left + line.right) / 2, (line.top + line.bottom) / 2};
    LPtoDP(teGetDC(), &mid, 1);
    EXPECT_TRUE(PtInRect(&update, mid));
    int32_t f;
    teGetDisplayNotes(&f, nullptr, nullptr, nullptr);
    EXPECT_EQ(-1, f);
}

TEST_F(Display, TheFullRepaintDrawsTheTextInsideItsFrameOnly)
{
    openPlaced("Hello there\rsecond line", TXA_TOP);
    qmtest::Dib dib(600, 400);
    HDC dc = dib.dc();
    SaveDC(dc);
    dmSetMapping(dc);
    SetWindowOrgEx(dc, 1440, 1440, nullptr);
    tePaintText(ws, dc, nullptr);
    RECT frame;
    teGetFrame(&frame);
    RECT d = frame;
    LPtoDP(dc, reinterpret_cast<POINT *>(&d), 2);
    RestoreDC(dc, -1);
    EXPECT_GT(dib.countDark(d), 20);
    RECT outside = {0, d.bottom + 2, 600, 400};
    EXPECT_EQ(0, dib.countDark(outside));
    // A clip rectangle that misses the frame draws nothing.
    qmtest::Dib other(600, 400);
    HDC o = other.dc();
    SaveDC(o);
    dmSetMapping(o);
    SetWindowOrgEx(o, 1440, 1440, nullptr);
    RECT away = {frame.left, frame.bottom + 1440, frame.right, frame.bottom + 2880};
    tePaintText(ws, o, &away);
    RestoreDC(o, -1);
    EXPECT_EQ(0, other.countDark());
}

TEST_F(Display, RepaintingTheChangedLineMatchesTheFullRepaint)
{
    openPlaced("Hello\rthere", TXA_TOP);
    teSetCaret(teLineAt(0), 5);
    ASSERT_EQ(1, teInsertChar(ws, '!'));
    teResetDisplayNotes();
    qmtest::Dib full(600, 400), lines(600, 400);
    for (qmtest::Dib *dib : {&full, &lines}) {
        HDC dc = dib->dc();
        SaveDC(dc);
        dmSetMapping(dc);
        SetWindowOrgEx(dc, 1440, 1440, nullptr);
        if (dib == &full)
            tePaintText(ws, dc, nullptr);
        else
            teDrawLines(dc, teGetFirstLine(), teGetLastLine());
        RestoreDC(dc, -1);
    }
    EXPECT_GT(full.countDark(), 20);
    EXPECT_EQ(full.countDark(), lines.countDark());
}

}  // namespace
