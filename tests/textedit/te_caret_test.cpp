// The caret: stepping over codes, objects and double-byte pairs, its place
// at line ends and across wrapped lines, normalisation, its size and place
// for plain, superscript and vertical text, and the caret moves.
#include "tests/textedit/te_editor_kit.h"
#include "support/win_datawin.h"
#include "text/tx_draw_object.h"
#include <algorithm>
#include <vector>

namespace {

using tetest::Editor;

std::string flag(int code)
{
    char b[8];
    return std::string(b, (size_t)txMakeFlagCode(b, code));
}

TEST_F(Editor, CaretStepsOverCodesObjectsAndDoubleBytePairsAsUnits)
{
    char sym[8];
    std::string s = "a" + flag(TXC_BOLD_ON) + "\x82\xA0" +
                    std::string(sym, (size_t)txMakeSymbolObject(sym, 3)) + "b";
    open(s.c_str(), 0, SHIFTJIS_CHARSET);
    CharFormat caret;
    teGetFormat(&caret, 2);
    ASSERT_EQ(932u, caret.codePage);
    std::vector<int32_t> forward, backward;
    teSetCaret(teGetFirstLine(), 0);
    for (int i = 0; i < 4; ++i)
        forward.push_back(teCaretNextUnit());
    EXPECT_EQ((std::vector<int32_t>{1, 8, 15, 16}), forward);
    int beeps = teGetBeepCount();
    for (int i = 0; i < 4; ++i)
        backward.push_back(teCaretPrevUnit());
    EXPECT_EQ((std::vector<int32_t>{15, 8, 6, 0}), backward);
    EXPECT_EQ(beeps, teGetBeepCount());
    // Never inside the code, between the pair's bytes or inside the symbol.
    for (int32_t off : {2, 3, 4, 5, 7, 9, 10, 11, 12, 13, 14}) {
        EXPECT_EQ(forward.end(), std::find(forward.begin(), forward.end(), off));
        EXPECT_EQ(backward.end(), std::find(backward.begin(), backward.end(), off));
    }
}

TEST_F(Editor, ALeadByteBeforeTheTerminatorIsOneByte)
{
    open("a\x82", 0, SHIFTJIS_CHARSET);
    teSetCaret(teGetFirstLine(), 1);
    EXPECT_EQ(2, teCaretNextUnit());
    EXPECT_EQ(1, teCaretPrevUnit());
}

TEST_F(Editor, CaretAtLineEndsAndAcrossWrappedLines)
{
    open("ab\rcd", TXF_WRAP | TXF_WRAP_LOW);
    MemHandle first = teGetFirstLine();
    teSetCaret(first, 99);
    EXPECT_EQ(2, teCaretOffset());   // before the paragraph return
    EXPECT_TRUE(teCaretAtLineEnd() == FALSE);
    MemHandle line = first;
    int32_t off = 3;
    teNormalizePos(&line, &off);
    EXPECT_EQ(teLineNext(first), line);
    EXPECT_EQ(0, off);
    // At the start of the text: one beep and no move.
    teSetCaret(first, 0);
    int beeps = teGetBeepCount();
    EXPECT_EQ(0, teCaretPrevUnit());
    EXPECT_EQ(beeps + 1, teGetBeepCount());
    EXPECT_EQ(first, teCaretLine());
    // The last line has no next line: its 13 is stepped back from.
    teLinesFreeAll();
    teLinesFromStream("xy\r", 0, nullptr);
    teLineFree(teGetLastLine());
    line = teGetFirstLine();
    off = 3;
    teNormalizePos(&line, &off);
    EXPECT_EQ(teGetFirstLine(), line);
    EXPECT_EQ(2, off);
}

TEST_F(Editor, SteppingBackFromAWrappedLineLandsBeforeTheLastCharacterAbove)
{
    open("aaaa bbbb cccc dddd\r", TXF_WRAP | TXF_WRAP_LOW);
    TePos pos = {teGetFirstLine(), 0};
    int32_t width = 0;
    for (int32_t w = 4000; w > 200 && teLineCount() < 3; w -= 50) {
        pos = {teGetFirstLine(), 0};
        teRewrapPara(&pos, w, nullptr, FALSE, TRUE);
        width = w;
    }
    ASSERT_GE(teLineCount(), 3) << width;
    MemHandle above = teLineAt(0), below = teLineAt(1);
    teSetCaret(below, 0);
    teCaretPrevUnit();
    EXPECT_EQ(above, teCaretLine());
    EXPECT_EQ(teLineLength(above) - 1, teCaretOffset());
}

TEST_F(Editor, CaretSizeAndPlaceForPlainSuperscriptAndVerticalText)
{
    open("plain");
    teCreateCaret(ws);
    TEXTMETRICA tm = {};
    CharFormat f;
    teGetFormat(&f, 0);
    ASSERT_TRUE(txGetTextMetricsLF(teGetDC(), &f.lf, &tm));
    EXPECT_EQ(2, teGetCaretWidth());
    EXPECT_EQ(tm.tmHeight, teGetCaretHeight());
    MemHandle line = teGetFirstLine();
    POINT want = {teXAtOffset(line, 0), teLineTop(line) + teLineBaseline(line) - tm.tmAscent};
    LPtoDP(teGetDC(), &want, 1);
    POINT got;
    ASSERT_TRUE(GetCaretPos(&got));
    EXPECT_EQ(want.x, got.x);
    EXPECT_EQ(want.y, got.y);
    teDestroyCaret();
    teReleaseDC();
    teLinesFreeAll();
    utFreeHandle(object);
    object = 0;

    std::string sup = flag(TXC_SUP_ON) + "x";
    open(sup.c_str());
    teSetCaret(teGetFirstLine(), 5);
    teCreateCaret(ws);
    int32_t h = txTwoThirds(tm.tmHeight);
    EXPECT_EQ(h, teGetCaretHeight());
    line = teGetFirstLine();
    POINT raised = {teXAtOffset(line, 5), teLineTop(line) + teLineHeight(line) - 240 / 2 - h};
    LPtoDP(teGetDC(), &raised, 1);
    ASSERT_TRUE(GetCaretPos(&got));
    EXPECT_EQ(raised.y, got.y);
    teDestroyCaret();
    teReleaseDC();
    teLinesFreeAll();
    utFreeHandle(object);
    object = 0;

    open("tate", TXF_VERTICAL);
    teCreateCaret(ws);
    EXPECT_EQ(2, teGetCaretHeight());   // a bar across the column
    EXPECT_EQ(240, teGetCaretWidth());
    POINT col = {teLineLeft(teGetFirstLine()), teYAtOffset(teGetFirstLine(), 0)};
    LPtoDP(teGetDC(), &col, 1);
    ASSERT_TRUE(GetCaretPos(&got));
    EXPECT_EQ(col.x, got.x);
    EXPECT_EQ(col.y, got.y);
}

TEST_F(Editor, CaretTraceWritesToTheDataViewer)
{
    open("ab");
    HWND viewer = winGetDataWindow(nullptr, nullptr);
    ASSERT_NE(nullptr, viewer);
    winDataWindowSetText("");
    teSetCaretTrace(TRUE);
    teCreateCaret(ws);
    teSetCaretTrace(FALSE);
    char text[2000];
    winDataWindowGetText(text, sizeof text);
    std::string got = text;
    EXPECT_EQ(0u, got.find("Create Caret = ( 2, "));
    EXPECT_NE(std::string::npos, got.find("Set Caret Position = ( "));
    EXPECT_NE(std::string::npos, got.find("[n    2]"));
    winCloseDataWindow();
}

TEST_F(Editor, CaretMovesByCharacterWordLineAndText)
{
    open("one two  three\rfour", TXF_WRAP | TXF_WRAP_LOW);
    MemHandle first = teGetFirstLine(), second = teLineNext(first);
    teSetCaret(first, 0);
    teCaretWordRight(ws, TRUE);
    EXPECT_EQ(4, teCaretOffset());
    teCaretWordRight(ws, TRUE);
    EXPECT_EQ(9, teCaretOffset());   // after the run of blanks
    teCaretWordRight(ws, TRUE);
    EXPECT_EQ(14, teCaretOffset());  // no blank follows: the line end
    teCaretWordRight(ws, TRUE);
    EXPECT_EQ(second, teCaretLine());
    EXPECT_EQ(0, teCaretOffset());
    teCaretWordLeft(ws, TRUE);
    EXPECT_EQ(first, teCaretLine());
    EXPECT_EQ(14, teCaretOffset());
    teCaretWordLeft(ws, TRUE);
    EXPECT_EQ(9, teCaretOffset());
    teCaretLineEnd(ws, TRUE);
    EXPECT_EQ(14, teCaretOffset());
    teCaretRight(ws, TRUE);
    EXPECT_EQ(second, teCaretLine());
    EXPECT_EQ(0, teCaretOffset());
    teCaretTextEnd(ws, TRUE);
    int beeps = teGetBeepCount();
    teCaretRight(ws, TRUE);
    EXPECT_EQ(beeps + 1, teGetBeepCount());
    EXPECT_EQ(4, teCaretOffset());
    teCaretLineUp(ws, TRUE);
    EXPECT_EQ(first, teCaretLine());
    EXPECT_EQ(0, teCaretLineUp(ws, TRUE));
    EXPECT_EQ(beeps + 2, teGetBeepCount());
    teCaretTextStart(ws, TRUE);
    EXPECT_EQ(first, teCaretLine());
    EXPECT_EQ(0, teCaretOffset());
}

}  // namespace
