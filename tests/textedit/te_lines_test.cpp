// Line blocks of the text editor: building from streams and writing back,
// new blocks, navigation, re-breaking paragraphs and the whole text, the
// editor's line geometry and the format operations over lines.
#include "tests/textedit/te_kit.h"
#include "textedit/tx_edit_lines.h"
#include <string>
#include <vector>

namespace {

using tetest::Lines;

TEST_F(Lines, LaidOutStreamMakesOneBlockPerLineAndWritesBackTheSameBytes)
{
    std::string laid = layout("One paragraph of text.\rAnother paragraph follows here.\r", 20000);
    int32_t codes = 0;
    for (size_t i = 0; i + 13 <= laid.size(); ++i)
        if (txIsLineInfo(laid.c_str() + i)) {
            ++codes;
            i += 12;
        }
    ASSERT_EQ(3, codes);   // two paragraphs and the empty line after the last return
    MemHandle last = teLinesFromStream(laid.c_str(), 0, &fmt);
    EXPECT_EQ(last, teGetLastLine());
    EXPECT_EQ(codes, teLineCount());
    EXPECT_EQ(0, teLineLength(teGetLastLine()));
    MemHandle back = teLinesToStream(teGetFirstLine(), 0);
    ASSERT_NE(0u, back);
    EXPECT_EQ(laid, streamOf(back));
    utFreeHandle(back);
}

TEST_F(Lines, WrappedLaidOutTextKeepsItsLinesAndItsBytes)
{
    std::string laid = layout("alpha beta gamma delta epsilon zeta eta theta iota kappa\r", 2000);
    MemHandle stream = utHandleFromString(laid.c_str());
    teLinesFromStream(laid.c_str(), 0, &fmt);
    EXPECT_GT(teLineCount(), 3);
    MemHandle back = teLinesToStream(teGetFirstLine(), 0);
    EXPECT_EQ(laid, streamOf(back));
    utFreeHandle(back);
    utFreeHandle(stream);
}

TEST_F(Lines, PlainStreamEndingInAReturnGetsAnEmptyLastLine)
{
    teLinesFromStream("ab\rcd\r", 0, &fmt);
    ASSERT_EQ(3, teLineCount());
    EXPECT_EQ(3, teLineLength(teLineAt(0)));
    EXPECT_EQ(3, teLineLength(teLineAt(1)));
    EXPECT_EQ(0, teLineLength(teLineAt(2)));
    EXPECT_TRUE(teLineEndsPara(teLineAt(0)));
    EXPECT_GT(teLineHeight(teLineAt(0)), 0);   // measured
    EXPECT_GT(teLineWidth(teLineAt(0)), 0);
}

TEST_F(Lines, ListWhoseFirstLineIsEmptyGivesNoStream)
{
    MemHandle empty = teLineNew(nullptr, 0, &fmt);
    teLineInsertAfter(0, empty);
    teLineAppend(teLineNew("xy", 2, nullptr));
    EXPECT_EQ(0u, teLinesToStream(teGetFirstLine(), 0));
    EXPECT_NE(0u, teGetFirstLine());
}

TEST_F(Lines, NewBlockKeepsAGivenCode100AndNeverStoresATrailingSoftEnd)
{
    char info[13];
    TxLineInfo li = {4, 190, 1234, 276};
    txMakeBlockCode(info, TXC_LINE_INFO, &li, 8);
    std::string laid = std::string(info, 13) + "abcd";
    MemHandle a = teLineNew(laid.c_str(), 17, &fmt);
    EXPECT_EQ(4, teLineLength(a));
    EXPECT_EQ(1234, teLineWidth(a));
    EXPECT_EQ(276, teLineHeight(a));
    EXPECT_EQ(190, teLineBaseline(a));
    CharFormat got;
    ASSERT_TRUE(teLineGetFormat(a, &got));
    EXPECT_EQ(0, memcmp(&got, &fmt, sizeof got));

    struct Case {
        const char *text;
        int32_t length;
        int32_t n;
    } cases[] = {
        {"hello\n", 6, 5},    // a trailing soft end is dropped
        {"hello", 99, 5},     // never beyond the stream's end
        {"hello", 3, 3},      // at most the given length
        {"", 4, 0},
    };
    for (const Case &c : cases) {
        MemHandle h = teLineNew(c.text, c.length, nullptr);
        EXPECT_EQ(c.n, teLineLength(h)) << c.text;
        EXPECT_EQ(0, teLineWidth(h));
        EXPECT_EQ(0, teLineHeight(h));
        EXPECT_EQ(0, teLineBaseline(h));
        MemLock<TxLineRecord> r(h);
        EXPECT_EQ(0, teLineText(r.get())[c.n]);
        EXPECT_TRUE(txIsLineInfo(r->info));
        utFreeHandle(h);
    }
    utFreeHandle(a);
    MemHandle empty = teLineNew(nullptr, 10, nullptr);
    EXPECT_EQ(0, teLineLength(empty));
    utFreeHandle(empty);
}

TEST_F(Lines, IndexAndPositionLookups)
{
    teLinesFromStream("a\rb\rc", 0, &fmt);
    ASSERT_EQ(3, teLineCount());
    EXPECT_EQ(0u, teLineAt(-1));
    EXPECT_EQ(0u, teLineAt(3));
    EXPECT_EQ(teGetFirstLine(), teLineAt(0));
    EXPECT_EQ(teGetLastLine(), teLineAt(2));
    MemHandle foreign = teLineNew("zz", 2, nullptr);
    EXPECT_EQ(-1, teLineIndex(foreign));
    EXPECT_EQ(-1, teLineIndex(0));
    EXPECT_EQ(2, teLineIndex(teGetLastLine()));
    utFreeHandle(foreign);
    // Null lines answer 0 and change nothing.
    EXPECT_EQ(0, teLineLength(0));
    EXPECT_EQ(0u, teLineNext(0));
    EXPECT_FALSE(teLineEndsPara(0));
    TePos s, e;
    EXPECT_TRUE(teParaRange(teLineAt(1), &s, &e));
    EXPECT_EQ(teLineAt(1), s.line);
    EXPECT_EQ(teLineAt(2), e.line);
    EXPECT_FALSE(teParaRange(teLineAt(2), &s, &e));
    EXPECT_EQ(1, e.offset);
}

TEST_F(Lines, ParagraphStreamAndText)
{
    teLinesFromStream("ab\rcd\r", 0, &fmt);
    MemHandle h = teParaStream(teLineAt(1));
    ASSERT_NE(0u, h);
    {
        MemLock<char> p(h);
        EXPECT_STREQ("cd\r", p.get());
    }
    utFreeHandle(h);
    EXPECT_EQ(0u, teParaStream(teLineAt(2)));   // the empty last line
    MemHandle buffer = 0, next = 0;
    TePos pos = {teLineAt(0), 1};
    EXPECT_EQ(2, teParaText(&pos, &next, &buffer));
    EXPECT_EQ(teLineAt(1), next);
    {
        MemLock<char> p(buffer);
        EXPECT_STREQ("b\r", p.get());
    }
    utFreeHandle(buffer);
    TePos a = {teLineAt(0), 1}, b = {teLineAt(1), 1};
    EXPECT_EQ(3, teBytesBetween(&a, &b));
    EXPECT_EQ(0, teBytesBetween(&b, &a));
    MemHandle range = teGetRangeText(&a, &b);
    {
        MemLock<char> p(range);
        EXPECT_STREQ("b\rc", p.get());
    }
    utFreeHandle(range);
}

TEST_F(Lines, RewrappingAParagraphReusesItsBlocks)
{
    const char *para = "aaaa bbbb cccc dddd eeee ffff gggg hhhh\r";
    int32_t two = widthFor(para, 2), three = widthFor(para, 3);
    ASSERT_GT(two, 0);
    ASSERT_GT(three, 0);
    teLinesFromStream(para, 0, &fmt);
    // Each block first holds the longest text it will hold, so that reusing
    // it never has to grow (and move) it.
    TePos pos = {teGetFirstLine(), 0};
    teRewrapPara(&pos, three, nullptr, FALSE, TRUE);
    pos = {teGetFirstLine(), 0};
    teRewrapPara(&pos, two, nullptr, FALSE, TRUE);
    ASSERT_EQ(3, teLineCount());   // two lines and the empty last line
    MemHandle first = teLineAt(0), second = teLineAt(1), end = teLineAt(2);

    // Growing from two lines to three: one new block after the second.
    long before = qmtest::liveHandles();
    pos = {first, 0};
    MemHandle changed = teRewrapPara(&pos, three, nullptr, TRUE, TRUE);
    ASSERT_EQ(4, teLineCount());
    EXPECT_EQ(before + 1, qmtest::liveHandles());
    EXPECT_EQ(first, teLineAt(0));
    EXPECT_EQ(second, teLineAt(1));
    EXPECT_EQ(end, teLineAt(3));
    EXPECT_NE(0u, changed);
    MemHandle third = teLineAt(2);

    // Shrinking back: exactly the third block goes.
    pos = {first, 0};
    teRewrapPara(&pos, two, nullptr, FALSE, TRUE);
    ASSERT_EQ(3, teLineCount());
    EXPECT_EQ(before, qmtest::liveHandles());
    EXPECT_EQ(-1, teLineIndex(third));
    EXPECT_EQ(end, teLineAt(2));
    std::string text;
    for (MemHandle l = teGetFirstLine(); l; l = teLineNext(l))
        text += lineText(l);
    EXPECT_EQ(para, text);
}

TEST_F(Lines, WithoutForceNothingChangesWhileTheFirstLineKeepsItsLength)
{
    const char *para = "aaaa bbbb cccc dddd eeee ffff gggg hhhh\r";
    int32_t two = widthFor(para, 2);
    teLinesFromStream(para, 0, &fmt);
    TePos pos = {teGetFirstLine(), 0};
    teRewrapPara(&pos, two, nullptr, FALSE, TRUE);
    ASSERT_EQ(3, teLineCount());
    // The second line grows far beyond the width; the first keeps its length.
    MemHandle second = teLineAt(1);
    std::string grown = lineText(second);
    grown.insert(grown.size() - 1, " iiii jjjj kkkk llll mmmm nnnn oooo pppp qqqq rrrr ssss tttt");
    teLineSetText(second, grown.c_str());
    pos = {teGetFirstLine(), 0};
    EXPECT_EQ(0u, teRewrapPara(&pos, two, nullptr, TRUE, FALSE));
    EXPECT_EQ(3, teLineCount());
    EXPECT_EQ(grown, lineText(teLineAt(1)));
    pos = {teGetFirstLine(), 0};
    teRewrapPara(&pos, two, nullptr, TRUE, TRUE);
    EXPECT_GT(teLineCount(), 3);
}

TEST_F(Lines, RewrapAllBreaksAtTheNewWidthAndKeepsTheCaret)
{
    const char *text = "aaaa bbbb cccc dddd eeee ffff\rgggg hhhh iiii jjjj\r";
    teLinesFromStream(text, 0, &fmt);
    ASSERT_EQ(3, teLineCount());
    teSetCaretAbs(33);   // in the second paragraph
    RECT narrow = {0, 0, widthFor("aaaa bbbb cccc dddd eeee ffff\r", 3), 2880};
    teStoreFrame(&narrow);
    long before = qmtest::liveHandles();
    teRewrapAll();
    EXPECT_GT(teLineCount(), 4);
    EXPECT_EQ(33, teCaretAbs());
    EXPECT_EQ(before + teLineCount() - 3, qmtest::liveHandles());
    std::string all;
    for (MemHandle l = teGetFirstLine(); l; l = teLineNext(l))
        all += lineText(l);
    EXPECT_EQ(text, all);
    EXPECT_EQ(0, teLineLength(teGetLastLine()));
    EXPECT_EQ(0u, teLineNext(teGetLastLine()));
    EXPECT_EQ(0u, teLinePrev(teGetFirstLine()));
}

TEST_F(Lines, LinePositionsFollowTheFrameAndTheAlignment)
{
    teLinesFromStream("a\rb\rc", 0, &fmt);
    int32_t h0 = teLineHeight(teLineAt(0)), h1 = teLineHeight(teLineAt(1));
    int32_t depth = teDepthFrom(teGetFirstLine());
    EXPECT_EQ(100, teLineTop(teLineAt(0)));
    EXPECT_EQ(100 + h0 + h1, teLineTop(teLineAt(2)));
    EXPECT_EQ(100 + h0, teLineBottom(teLineAt(0)));
    // Bottom placement puts the block of lines at the frame's bottom.
    teSession()->baseFormat.align = TXA_BOTTOM;
    EXPECT_EQ(2980 - depth, teLineTop(teLineAt(0)));
    RECT lines;
    teLinesRect(&lines);
    EXPECT_EQ(2980 - depth, lines.top);
    EXPECT_EQ(2980, lines.bottom);
    // ... unless the text is top-placed by its flags.
    teSession()->textFlags |= TXF_EDIT_OPT2;
    EXPECT_EQ(100, teLineTop(teLineAt(0)));
    teSession()->textFlags &= ~TXF_EDIT_OPT2;
    teSession()->baseFormat.align = 0;
    int32_t top = 0;
    EXPECT_EQ(teLineAt(0), teLineAtY(-5000, &top));
    EXPECT_EQ(teLineAt(1), teLineAtY(100 + h0 + 1, &top));
    EXPECT_EQ(100 + h0, top);
    EXPECT_EQ(teLineAt(2), teLineAtY(99999, &top));
    RECT below = {0, 101, 10, 10};
    EXPECT_EQ(teLineAt(1), teLineAtTop(&below));
    RECT band = {0, 100 + h0 + 1, 3000, 100 + h0 + 2};
    MemHandle f, l;
    teLinesInRect(&band, &f, &l);
    EXPECT_EQ(teLineAt(1), f);
    EXPECT_EQ(teLineAt(1), l);
    teLinesInRect(nullptr, &f, &l);
    EXPECT_EQ(teGetFirstLine(), f);
    EXPECT_EQ(teGetLastLine(), l);
}

TEST_F(Lines, VerticalColumnsRunRightToLeft)
{
    teLinesFromStream("a\rb\rc", 0, &fmt);
    teSession()->textFlags = TXF_VERTICAL | TXF_RTL;
    teSession()->baseFormat.align = TXA_RIGHT;
    int32_t h0 = teLineHeight(teLineAt(0)), h1 = teLineHeight(teLineAt(1));
    EXPECT_EQ(2980 - h0, teLineLeft(teLineAt(0)));
    EXPECT_EQ(2980 - h0 - h1, teLineLeft(teLineAt(1)));
    int32_t edge = 0;
    EXPECT_EQ(teLineAt(0), teLineAtX(99999, &edge));
    EXPECT_EQ(teLineAt(1), teLineAtX(2980 - h0 - 1, &edge));
    EXPECT_EQ(teLineAt(2), teLineAtX(-99999, &edge));
}

TEST_F(Lines, CheckingABrokenBlockLeavesItAndReportsIt)
{
    teLinesFromStream("abc\rdef", 0, &fmt);
    EXPECT_TRUE(txCheckAllLines());
    {
        MemLock<TxLineRecord> r(teLineAt(0));
        teLineText(r.get())[1] = 7;   // not a valid stream byte
    }
    int32_t before = teLineLength(teLineAt(0));
    EXPECT_FALSE(txCheckLineBlock(teLineAt(0), FALSE));
    EXPECT_EQ(before, teLineLength(teLineAt(0)));   // never the failed length less 13
    EXPECT_FALSE(txCheckAllLines());
    // A valid block's stored length is corrected from its text.
    {
        MemLock<TxLineRecord> r(teLineAt(1));
        teLineInfo(r.get())->n = 1;
    }
    EXPECT_TRUE(txCheckLineBlock(teLineAt(1), FALSE));
    EXPECT_EQ(3, teLineLength(teLineAt(1)));
}

TEST_F(Lines, StrippingAndWritingFormatCodesMovesTheCaretAndTheSelection)
{
    char bold[6], boldOff[6], italic[6];
    bold[txMakeFlagCode(bold, TXC_BOLD_ON)] = 0;
    boldOff[txMakeFlagCode(boldOff, TXC_BOLD_OFF)] = 0;
    italic[txMakeFlagCode(italic, TXC_ITALIC_ON)] = 0;
    std::string s = std::string("a") + bold + "b" + italic + "c" + boldOff + "d";
    teLinesFromStream(s.c_str(), 0, &fmt);
    MemHandle line = teGetFirstLine();
    int32_t n = teLineLength(line);
    teSetCaret(line, n);   // after "d"
    TePos selA = {line, 1}, selB = {line, n};
    teSetSelection(&selA, &selB);
    TePos start = {line, 0}, end = {line, n};
    EXPECT_TRUE(txStripCodeKindInLines(&start, &end, TXC_BOLD_ON, TRUE, TRUE));
    EXPECT_EQ(n - 10, teLineLength(line));
    EXPECT_EQ(n - 10, end.offset);
    EXPECT_EQ(n - 10, teCaretOffset());
    TePos gotA, gotB;
    ASSERT_TRUE(teGetSelection(&gotA, &gotB));
    EXPECT_EQ(1, gotA.offset);
    EXPECT_EQ(n - 10, gotB.offset);
    EXPECT_EQ(std::string("ab") + italic + "cd", lineText(line));
    // Kind 30 takes every attribute code, 28 none of them.
    end = {line, teLineLength(line)};
    EXPECT_FALSE(txStripCodeKindInLines(&start, &end, 28, FALSE, FALSE));
    EXPECT_TRUE(txStripCodeKindInLines(&start, &end, 30, FALSE, FALSE));
    EXPECT_EQ("abcd", lineText(line));

    CharFormat oldF = fmt, newF = fmt;
    newF.lf.lfWeight = 700;
    TePos at = {line, 2};
    EXPECT_EQ(5, txInsertFormatChange(&at, &oldF, &newF));
    EXPECT_EQ(std::string("ab") + bold + "cd", lineText(at.line));
    EXPECT_EQ(0, txInsertFormatChange(&at, &oldF, &oldF));
    txSetFormatUndo(3, 4);
    txResetFormatUndo();
    int32_t a, b;
    txGetFormatUndo(&a, &b);
    EXPECT_EQ(-1, a);
    EXPECT_EQ(-1, b);
}

TEST_F(Lines, FindingAndDeletingCodesAcrossLines)
{
    char bold[6];
    bold[txMakeFlagCode(bold, TXC_BOLD_ON)] = 0;
    std::string s = std::string("ab\rc") + bold + "d\rxy";
    teLinesFromStream(s.c_str(), 0, &fmt);
    TePos pos = {teGetFirstLine(), 0};
    ASSERT_TRUE(teFindCodeForward(&pos, TXC_BOLD_ON));
    EXPECT_EQ(teLineAt(1), pos.line);
    EXPECT_EQ(1, pos.offset);
    TePos back = {teLineAt(2), 1};
    ASSERT_TRUE(teFindCodeBackward(&back, TXC_BOLD_ON));
    EXPECT_EQ(teLineAt(1), back.line);
    EXPECT_EQ(1, back.offset);
    TePos none = {teLineAt(1), 1};
    EXPECT_FALSE(teFindCodeBackward(&none, TXC_BOLD_ON));
    teSetCaret(teLineAt(1), 7);   // after "d"
    EXPECT_EQ(5, teDeleteCodeAt(&pos));
    EXPECT_EQ(2, teCaretOffset());
    EXPECT_EQ("cd\r", lineText(teLineAt(1)));
}

TEST_F(Lines, FrameGrowsWithTheTextUpToTheLimit)
{
    qmtest::BoxRecorder boxes;
    teLinesFromStream("a\rb\rc\rd", 0, &fmt);
    RECT shortFrame = {100, 100, 2980, 200};
    teStoreFrame(&shortFrame);
    EXPECT_EQ(1, teGrowHeight(nullptr, 0));
    RECT f;
    teGetFrame(&f);
    EXPECT_EQ(100 + teDepthFrom(teGetFirstLine()), f.bottom);
    EXPECT_EQ(0, teGrowHeight(nullptr, 0));   // tall enough already
    EXPECT_EQ(1, teGrowHeight(nullptr, 40000));
    teGetFrame(&f);
    EXPECT_EQ(100 + 28800, f.bottom);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Text height too large.  The text may not be properly drawn", boxes.last().text);
    // A text that may not be resized keeps its frame.
    teSession()->textFlags = TXF_FRAME_BOUND;
    teStoreFrame(&shortFrame);
    EXPECT_EQ(0, teGrowHeight(nullptr, 0));
    EXPECT_EQ(0, teSetFrame(nullptr, &f));
}

}  // namespace
