// Typing, deleting, format changes, case changes, pictures and the
// editor's one undo step, on a text object edited in a real workspace.
#include "tests/textedit/te_editor_kit.h"
#include "tests/support/kit_picture.h"
#include "commands/app_stdbar.h"
#include "textedit/te_display.h"
#include "textedit/te_undo.h"
#include "text/tx_format.h"
#include <vector>
#include "text/tx_measure.h"
#include "support/gdi_text.h"

using namespace tetest;

namespace {

class Edit : public Editor {
protected:
    void TearDown() override
    {
        utFailNextAllocs(0);
        teDropUndo(ws, TRUE);
        teResetDisplayNotes();
        Editor::TearDown();
    }

    static std::string lineText(MemHandle line)
    {
        MemLock<TxLineRecord> r(line);
        return r ? std::string(teLineText(r.get()), (size_t)teLineInfo(r.get())->n)
                 : std::string();
    }
    // Every line's bytes, joined.
    static std::string all()
    {
        std::string s;
        for (MemHandle l = teGetFirstLine(); l; l = teLineNext(l))
            s += lineText(l);
        return s;
    }
    // The characters alone (codes and objects dropped, returns as LF).
    static std::string plain()
    {
        TePos a, b;
        teWholeTextRange(&a, &b);
        char buf[4096];
        teRangeToPlain(&a, &b, buf);
        return buf;
    }
    static void select(int32_t from, int32_t to)
    {
        TePos a, b;
        tePosFromAbs(from, &a);
        tePosFromAbs(to, &b);
        teSetSelection(&a, &b);
        teSetCaretPos(&b);
    }
    static std::string selected()
    {
        TePos a, b;
        if (!teGetSelection(&a, &b))
            return "";
        char buf[4096];
        teRangeToPlain(&a, &b, buf);
        return buf;
    }
    static std::string code(int number, int16_t value = 0)
    {
        char buf[16];
        int32_t n = number == TXC_ALIGN || number == TXC_SPACING
                        ? txMakeWordCode(buf, number, value)
                        : txMakeFlagCode(buf, number);
        return std::string(buf, (size_t)n);
    }
};

// ---- undo ----------------------------------------------------------------------------------------

TEST_F(Edit, ThreeTypedCharactersGoWithOneUndoAndTheReplacedSelectionComesBack)
{
    open("hello world");
    teSetInsertMode(TRUE);
    select(0, 5);
    ASSERT_EQ(1, teInsertChar(ws, 'a'));
    ASSERT_EQ(1, teInsertChar(ws, 'b'));
    ASSERT_EQ(1, teInsertChar(ws, 'c'));
    EXPECT_EQ("abc world", all());
    EXPECT_EQ(TE_UNDO_INSERT, teGetUndoKind());
    EXPECT_TRUE(appIsStdBarButtonEnabled(APP_CMD_UNDO));
    ASSERT_EQ(1, teUndo(ws));
    EXPECT_EQ("hello world", all());
    EXPECT_EQ("hello", selected());
    EXPECT_EQ(0, teGetUndoKind());
    EXPECT_FALSE(appIsStdBarButtonEnabled(APP_CMD_UNDO));
    // A second Undo finds no step.
    EXPECT_EQ(0, teUndo(ws));
    EXPECT_EQ("hello world", all());
}

TEST_F(Edit, OverwriteTypingGivesTheWholeTextBack)
{
    open("hello");
    teSetInsertMode(FALSE);
    for (char c : {'x', 'y', 'z'})
        ASSERT_EQ(1, teInsertChar(ws, c));
    EXPECT_EQ("xyzlo", all());
    EXPECT_EQ(TE_UNDO_OVERWRITE, teGetUndoKind());
    ASSERT_EQ(1, teUndo(ws));
    EXPECT_EQ("hello", all());
    EXPECT_EQ(0, teCaretAbs());
}

TEST_F(Edit, DeleteThenBackspaceAreTwoStepsAndOnlyTheBackspaceIsUndone)
{
    open("hello");
    teSetCaret(teGetFirstLine(), 2);
    ASSERT_EQ(1, teDelete(ws));
    ASSERT_EQ(1, teDelete(ws));
    EXPECT_EQ("heo", all());
    EXPECT_EQ(TE_UNDO_DELETE, teGetUndoKind());
    ASSERT_EQ(1, teBackspace(ws));
    EXPECT_EQ("ho", all());
    EXPECT_EQ(TE_UNDO_BACKSPACE, teGetUndoKind());
    ASSERT_EQ(1, teUndo(ws));
    EXPECT_EQ("heo", all());
    EXPECT_EQ(2, teCaretAbs());
    EXPECT_EQ(0, teUndo(ws));
    EXPECT_EQ("heo", all());
}

TEST_F(Edit, AKindThatSavesNothingLeavesAnUndoThatDoesNothing)
{
    open("hello");
    teRecordUndo(TE_UNDO_INSERT, 0);
    EXPECT_TRUE(appIsStdBarButtonEnabled(APP_CMD_UNDO));
    ASSERT_EQ(1, teRecordUndo(2, 0));
    EXPECT_EQ(2, teGetUndoKind());
    EXPECT_TRUE(teCanUndo());
    EXPECT_FALSE(appIsStdBarButtonEnabled(APP_CMD_UNDO));
    EXPECT_EQ(0, teUndo(ws));
    EXPECT_EQ("hello", all());
    EXPECT_EQ(0, teGetUndoKind());
}

TEST_F(Edit, AFailedSnapshotRecordsNoStepSoUndoNeverEmptiesTheText)
{
    open("hello");
    teRecordUndo(TE_UNDO_INSERT, 0);
    qmtest::BoxRecorder boxes;
    utFailNextAllocs(1 << 20);
    EXPECT_EQ(0, teRecordUndo(TE_UNDO_DELETE, 0));
    utFailNextAllocs(0);
    EXPECT_EQ(0, teGetUndoKind());
    EXPECT_FALSE(teCanUndo());
    EXPECT_FALSE(appIsStdBarButtonEnabled(APP_CMD_UNDO));
    EXPECT_EQ(0, teUndo(ws));
    EXPECT_EQ("hello", all());

    // A Delete while memory is short still deletes; its Undo then has no
    // step and leaves the text as it is.
    teSetCaret(teGetFirstLine(), 0);
    utFailNextAllocs(1);
    teDelete(ws);
    utFailNextAllocs(0);
    std::string after = all();
    EXPECT_EQ(0, teUndo(ws));
    EXPECT_EQ(after, all());
    EXPECT_FALSE(after.empty());
}

TEST_F(Edit, UndoOfATextThatWasReallyEmptyEmptiesIt)
{
    open("");
    teRestoreTextFromStream(ws, "");
    teSetInsertMode(FALSE);
    ASSERT_EQ(1, teInsertChar(ws, 'x'));
    EXPECT_EQ("x", all());
    ASSERT_EQ(1, teUndo(ws));
    EXPECT_EQ("", all());
    EXPECT_EQ(1, teLineCount());
}

// ---- format changes ------------------------------------------------------------------------------

TEST_F(Edit, BoldAtTheCaretWritesOnAndOffAroundItAndOnlyOnAtTheLineEnd)
{
    open("abcd");
    teSetCaret(teGetFirstLine(), 2);
    ASSERT_EQ(1, teToggleAttribute(ws, 463, TRUE));
    EXPECT_EQ("ab" + code(1) + code(2) + "cd", all());
    EXPECT_EQ(2 + (int32_t)code(1).size(), teCaretOffset());
    EXPECT_EQ(TE_UNDO_CODES_AT_CARET, teGetUndoKind());
    CharFormat f;
    teGetFormat(&f, 2);
    EXPECT_EQ(700, f.lf.lfWeight);
    ASSERT_EQ(1, teUndo(ws));
    EXPECT_EQ("abcd", all());

    teCaretLineEnd(ws, TRUE);
    ASSERT_EQ(1, teToggleAttribute(ws, 463, TRUE));
    EXPECT_EQ("abcd" + code(1), all());
}

TEST_F(Edit, BoldOverASelectionWritesTheChangeAtBothEndsAndUndoTakesItOut)
{
    open("abcdef");
    select(1, 4);
    ASSERT_EQ(1, teToggleAttribute(ws, 463, TRUE));
    EXPECT_EQ("a" + code(1) + "bcd" + code(2) + "ef", all());
    EXPECT_EQ("bcd", selected());
    EXPECT_EQ(TE_UNDO_FORMAT, teGetUndoKind());
    ASSERT_EQ(1, teUndo(ws));
    EXPECT_EQ("abcdef", all());
    EXPECT_EQ("bcd", selected());
}

TEST_F(Edit, UppercaseChangesOnlyTheSelectionAndUndoRestoresIt)
{
    open("abc def ghi");
    select(4, 7);
    ASSERT_EQ(1, teChangeCase(ws, 487));
    EXPECT_EQ("abc DEF ghi", all());
    EXPECT_EQ(TE_UNDO_CASE, teGetUndoKind());
    ASSERT_EQ(1, teUndo(ws));
    EXPECT_EQ("abc def ghi", all());
    EXPECT_EQ("def", selected());

    select(0, 11);
    ASSERT_EQ(1, teChangeCase(ws, 497));
    EXPECT_EQ("Abc Def Ghi", all());
    teClearSelection();
    EXPECT_EQ(0, teChangeCase(ws, 488));
}

// ---- deleting ---------------------------------------------------------------------------------------

TEST_F(Edit, DeleteAtAParagraphEndJoinsTheNextKeepingItsParagraphCodes)
{
    std::string para = code(TXC_ALIGN, 1) + code(TXC_SPACING, 6) + "cd";
    open(("ab\r" + para).c_str(), TXF_WRAP_LOW);
    ASSERT_EQ(2, teLineCount());
    teSetCaret(teGetFirstLine(), 2);
    ASSERT_EQ(1, teDelete(ws));
    EXPECT_EQ(1, teLineCount());
    EXPECT_EQ("ab" + para, all());
}

TEST_F(Edit, BackspaceAtTheStartOfAnEmptySecondLineRemovesIt)
{
    open("ab\r", TXF_WRAP_LOW);
    ASSERT_EQ(2, teLineCount());
    teSetCaret(teGetLastLine(), 0);
    ASSERT_EQ(1, teBackspace(ws));
    EXPECT_EQ(1, teLineCount());
    EXPECT_EQ("ab", all());
    EXPECT_EQ(2, teCaretAbs());
    // At the text start Backspace only beeps.
    teSetCaret(teGetFirstLine(), 0);
    int32_t beeps = teGetBeepCount();
    EXPECT_EQ(0, teBackspace(ws));
    EXPECT_EQ(beeps + 1, teGetBeepCount());
}

TEST_F(Edit, DeleteForwardTakesTheWordToItsEnd)
{
    struct Case {
        int32_t caret;
        const char *after;
    } cases[] = {{0, "world end"}, {2, "heworld end"}, {5, "helloworld end"}};
    for (const Case &c : cases) {
        open("hello world end");
        teSetCaret(teGetFirstLine(), c.caret);
        ASSERT_EQ(1, teDeleteForward(ws)) << c.caret;
        EXPECT_EQ(c.after, all()) << c.caret;
        EXPECT_EQ(TE_UNDO_DELETE_WORD, teGetUndoKind());
        ASSERT_EQ(1, teUndo(ws));
        EXPECT_EQ("hello world end", all());
        teLinesFreeAll();
        utFreeHandle(object);
        object = 0;
    }
}

TEST_F(Edit, TypingIntoUnwrappedBoundTextBeepsOnceTheLineWouldPassTheFrame)
{
    open("ab", TXF_FRAME_BOUND, ANSI_CHARSET, {1440, 1440, 2880, 2880});
    teSetInsertMode(TRUE);
    teCaretLineEnd(ws, TRUE);
    int32_t beeps = teGetBeepCount();
    std::string before;
    int typed = 0;
    for (; typed < 100; ++typed) {
        before = all();
        if (!teInsertChar(ws, 'W'))
            break;
    }
    ASSERT_LT(typed, 100);
    EXPECT_GT(typed, 0);
    EXPECT_EQ(beeps + 1, teGetBeepCount());
    EXPECT_EQ(before, all());
    EXPECT_LE(teLineWidth(teGetFirstLine()), teGetFrameWidth());
}

TEST_F(Edit, TypingIntoWrappedTextBreaksItsLinesAsAFreshLayoutWould)
{
    open("the quick brown fox jumps over the lazy dog and runs far away into the woods",
         TXF_WRAP | TXF_WRAP_LOW, ANSI_CHARSET, {1440, 1440, 3600, 4320});
    teRewrapAll();
    ASSERT_GT(teLineCount(), 2);
    teSetInsertMode(TRUE);
    teSetCaretAbs(20);
    for (char c : std::string("xxxxxxxxxx yy zzzzzzzzzzzz "))
        ASSERT_EQ(1, teInsertChar(ws, c));
    for (int i = 0; i < 8; ++i)
        ASSERT_EQ(1, teBackspace(ws));
    auto lengths = [] {
        std::vector<int32_t> v;
        for (MemHandle l = teGetFirstLine(); l; l = teLineNext(l))
            v.push_back(teLineLength(l));
        return v;
    };
    std::vector<int32_t> typed = lengths();
    std::string text = all();
    teRewrapAll();
    EXPECT_EQ(lengths(), typed);
    EXPECT_EQ(text, all());
    for (MemHandle l = teGetFirstLine(); l; l = teLineNext(l))
        EXPECT_LE(teLineWidth(l), teGetFrameWidth());
}

TEST_F(Edit, NewParagraphSplitsTheLineAndUndoJoinsIt)
{
    open("abcd", TXF_WRAP_LOW);
    teSetInsertMode(TRUE);
    teSetCaret(teGetFirstLine(), 2);
    ASSERT_EQ(1, teNewParagraph(ws));
    ASSERT_EQ(2, teLineCount());
    EXPECT_EQ("ab\r", lineText(teGetFirstLine()));
    EXPECT_EQ("cd", lineText(teGetLastLine()));
    EXPECT_EQ(teGetLastLine(), teCaretLine());
    ASSERT_EQ(1, teUndo(ws));
    EXPECT_EQ("abcd", all());
    EXPECT_EQ(1, teLineCount());
}

TEST_F(Edit, AStreamInsertedAtTheCaretSplitsAtItsLineEndsAndReadsBackAsText)
{
    open("ab", TXF_WRAP_LOW);
    teSetCaret(teGetFirstLine(), 1);
    EXPECT_EQ(5 + (int32_t)code(1).size(),
              teInsertStreamAtCaret(ws, ("x\r\ny\n" + code(1) + "z").c_str(), nullptr));
    ASSERT_EQ(3, teLineCount());
    EXPECT_EQ("ax\r", lineText(teLineAt(0)));
    EXPECT_EQ("y\r", lineText(teLineAt(1)));
    EXPECT_EQ(code(1) + "zb", lineText(teLineAt(2)));
    EXPECT_EQ(teLineAt(2), teCaretLine());
    EXPECT_EQ((int32_t)code(1).size() + 1, teCaretOffset());
    CharFormat f;
    teLineGetFormat(teLineAt(2), &f);
    EXPECT_EQ(400, f.lf.lfWeight);
    TePos a, b;
    teWholeTextRange(&a, &b);
    MemHandle text = teRangeToText(&a, &b);
    EXPECT_EQ("ax\r\ny\r\nzb", Editor::text(text));
    utFreeHandle(text);
    EXPECT_EQ(9, teRangeTextLength(&a, &b));
    EXPECT_EQ(7, teRangeCharCount(&a, &b));
    EXPECT_EQ("ax\ny\nzb", plain());
}

// ---- pictures --------------------------------------------------------------------------------------

TEST_F(Edit, AnImageNameOf221CharactersIsRefusedAnd220Inserts)
{
    qmtest::TempDir dir;
    std::string folder = dir.path() + "\\";
    auto nameOf = [&](size_t length) {
        std::string name = folder + std::string(length - folder.size() - 4, 'p') + ".bmp";
        EXPECT_EQ(length, name.size());
        return name;
    };
    std::string ok = nameOf(220), tooLong = nameOf(221);
    ASSERT_TRUE(qmtest::writeFile(ok, qmtest::bmpBytes(24)));
    ASSERT_TRUE(qmtest::writeFile(tooLong, qmtest::bmpBytes(24)));

    open("ab", TXF_WRAP_LOW);
    teSetInsertMode(TRUE);
    teSetCaret(teGetFirstLine(), 1);
    {
        qmtest::BoxRecorder boxes;
        EXPECT_EQ(0, teInsertImageFile(ws, tooLong.c_str()));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Image file name too long.  Can not insert.", boxes.last().text);
        EXPECT_TRUE(boxes.last().flags & MB_ICONINFORMATION);
    }
    EXPECT_EQ("ab", all());
    EXPECT_EQ(0, teGetUndoKind());

    ASSERT_EQ(1, teInsertImageFile(ws, ok.c_str()));
    std::string t = all();
    ASSERT_EQ(2u + 254u, t.size());
    const char *obj = t.c_str() + 1;
    EXPECT_EQ(254, txObjectSize(obj));
    EXPECT_EQ(TXO_IMAGE, (uint8_t)obj[2]);
    EXPECT_EQ(ok, std::string(obj + 31));
    int32_t w, h;
    memcpy(&w, obj + 19, 4);
    memcpy(&h, obj + 23, 4);
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
    EXPECT_EQ(w * qmtest::kPicH, h * qmtest::kPicW);
    uint32_t size = txMeasureObject(nullptr, nullptr, 0, 0, 0, obj, FALSE, 0, nullptr, nullptr);
    EXPECT_EQ(w + 80, (int32_t)(size & 0xFFFF));
    EXPECT_EQ(h + 40, (int32_t)(size >> 16));
    EXPECT_GE(teLineHeight(teGetFirstLine()), h + 40);
    EXPECT_EQ(1 + 254, teCaretOffset());
    EXPECT_EQ(TE_UNDO_INSERT, teGetUndoKind());
    ASSERT_EQ(1, teUndo(ws));
    EXPECT_EQ("ab", all());
}

TEST_F(Edit, AnImageIsDrawnOnTheBaselineWithItsMarginAbove)
{
    qmtest::TempDir dir;
    std::string name = dir.file("pic.bmp");
    ASSERT_TRUE(qmtest::writeFile(name, qmtest::bmpBytes(24)));
    MemHandle obj = teMakeImageObject(ws, name.c_str(), 0, FALSE);
    ASSERT_NE(0u, obj);
    qmtest::Dib dib(100, 100);
    uint32_t size;
    {
        MemLock<char> p(obj);
        size = teDrawImageObject(dib.dc(), p.get(), 10, 10, 0, 0);
    }
    utFreeHandle(obj);
    int32_t w = (int32_t)(size & 0xFFFF) - 80, h = (int32_t)(size >> 16) - 40;
    ASSERT_GT(w, 0);
    // Unmapped DC: twips are pixels here; the picture starts at (50, 50).
    EXPECT_TRUE(qmtest::nearColour(qmtest::pictureColour(24, 0, 0), dib.pixel(51, 51), 8));
    EXPECT_TRUE(qmtest::nearColour(RGB(255, 255, 255), dib.pixel(49, 49), 0));
    EXPECT_TRUE(qmtest::nearColour(RGB(255, 255, 255), dib.pixel(10 + 40 + w + 1, 50), 0));
    (void)h;
}

TEST_F(Edit, ADeleteWithNothingLeftKeepsTheRunOfDeletesUndoable)
{
    open("ab");
    teSetCaret(teGetFirstLine(), 1);
    ASSERT_EQ(1, teDelete(ws));
    EXPECT_EQ("a", all());
    EXPECT_EQ(0, teDelete(ws));
    EXPECT_EQ(TE_UNDO_DELETE, teGetUndoKind());
    ASSERT_EQ(1, teUndo(ws));
    EXPECT_EQ("ab", all());
    // A Delete at the end that starts no run leaves no step.
    teCaretTextEnd(ws, TRUE);
    EXPECT_EQ(0, teDelete(ws));
    EXPECT_EQ(0, teGetUndoKind());
}

TEST_F(Edit, TheCaretOfALineThatStartsWithAnAlignmentCodeFollowsItsAlignment)
{
    std::string centre = code(TXC_ALIGN, TXA_CENTRE);
    open((centre + "ab").c_str());
    RECT frame;
    teGetFrame(&frame);
    MemHandle line = teGetFirstLine();
    int32_t x = teXAtOffset(line, (int32_t)centre.size());
    EXPECT_EQ(gdiAlignX(frame, teLineWidth(line), TXA_CENTRE), x);
    EXPECT_GT(x, frame.left + 200);
}

// ---- a code over a range ----------------------------------------------------------------------------

TEST_F(Edit, AlignmentOfTheWholeTextIsOneUndoStep)
{
    open("ab\rcd", TXF_WRAP_LOW);
    std::string before = all();
    ASSERT_EQ(1, teSetAlignment(ws, TXA_CENTRE));
    EXPECT_EQ(TE_UNDO_PARA_CODE, teGetUndoKind());
    EXPECT_EQ(code(TXC_ALIGN, TXA_CENTRE) + "ab\rcd", all());
    ASSERT_EQ(1, teUndo(ws));
    EXPECT_EQ(before, all());
    EXPECT_EQ(2, teLineCount());
}

}  // namespace
