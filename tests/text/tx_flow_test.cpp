// Re-flow and fitting of text objects, plain text, page-flow splitting,
// columns, whole-text attributes, vertical text and Labels.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "text/tx_attr.h"
#include "text/tx_columns.h"
#include "text/tx_file.h"
#include "text/tx_flow.h"
#include "text/tx_header.h"
#include "text/tx_label.h"
#include "text/tx_measure.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include "text/ep_text_font.h"
#include "text/te_fontlist.h"
#include "model/att_field.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "model/ob_transform.h"
#include "model/qmf_convert.h"
#include "forms/fld_convert.h"
#include "forms/ent_field.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "forms/fld_types.h"
#include "text/tx_types.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

TextHeader header(const char *face = "Liberation Sans", int32_t height = -240)
{
    TextHeader h = {};
    h.lf.lfHeight = height;
    h.lf.lfWeight = 400;
    lstrcpyA(h.lf.lfFaceName, face);
    h.bkMode = 1;
    h.spacing = 4;
    return h;
}

std::string streamOf(MemHandle h)
{
    MemHandle c = txCopyStream(h);
    std::string s;
    if (c) {
        MemLock<char> p(c);
        s.assign(p.get(), (size_t)txstrlen(p.get()));
    }
    utFreeHandle(c);
    return s;
}

std::vector<TxLineInfo> linesOf(const std::string &s)
{
    std::vector<TxLineInfo> out;
    for (int32_t i = 0; i < (int32_t)s.size(); i = txUnitEnd(s.c_str(), i)) {
        if (txIsLineInfo(s.c_str() + i)) {
            TxLineInfo li;
            memcpy(&li, s.c_str() + i + 3, 8);
            out.push_back(li);
        }
    }
    return out;
}

int countCode(const std::string &s, int code)
{
    int n = 0;
    for (int32_t i = 0; i < (int32_t)s.size(); i = txUnitEnd(s.c_str(), i))
        n += txCodeNumber(s.c_str() + i) == code;
    return n;
}

RECT boxOf(MemHandle h)
{
    RECT r;
    txGetBoxRect(h, &r);
    return r;
}

class Flow : public ::testing::Test {
protected:
    Flow() : dib_(20, 20)
    {
        txResetMeasureModule();
        dmResetModule();
        dmSetZoomDC(dib_.dc(), 100);
    }
    ~Flow() override { dmResetModule(); }
    // A text object holding a plain text, laid out and wrapped at its box.
    MemHandle text(const char *plain, RECT box, uint32_t flags = TXF_WRAP | TXF_WRAP_LOW,
                   uint16_t align = 0)
    {
        TextHeader th = header();
        th.flags = flags;
        th.align = align;
        MemHandle h = txNewTextObject(&box, nullptr, &th, nullptr);
        return txReplaceText(nullptr, h, plain, TXK_PLAIN, TRUE, TRUE);
    }
    qmtest::Dib dib_;
};

// ---- plain text --------------------------------------------------------------------

TEST_F(Flow, PlainTextBecomesLaidOutLines)
{
    MemHandle h = txPlainToStream("a\r\nb\x1A");
    ASSERT_NE(0u, h);
    {
        MemLock<char> p(h);
        std::string s(p.get(), (size_t)txstrlen(p.get()));
        auto l = linesOf(s);
        ASSERT_EQ(2u, l.size());
        EXPECT_EQ(2, l[0].n);   // "a" and its return
        EXPECT_EQ(1, l[1].n);   // "b", the Ctrl-Z left out
        EXPECT_EQ(std::string::npos, s.find('\n'));
        EXPECT_EQ(std::string::npos, s.find('\x1A'));
    }
    utFreeHandle(h);
    EXPECT_EQ(0u, txPlainToStream(""));

    // Control bytes other than tab, LF and CR would start false codes:
    // they become spaces, and the result passes the stream check.
    h = txPlainToStream("x\x1By\x1Cz\x1D\x1Ew\x05v\tu\nt");
    {
        MemLock<char> p(h);
        std::string s(p.get(), (size_t)txstrlen(p.get()));
        EXPECT_GE(txCheckStreamBounded(s.c_str(), (uint32_t)s.size() + 1), 0);
        std::string plain;
        for (char c : s.substr(13))
            plain.push_back(c);
        EXPECT_NE(std::string::npos, s.find("x y z  w v\tu\r"));
        EXPECT_EQ(2u, linesOf(s).size());   // the lone LF ends a line too
    }
    utFreeHandle(h);
}

TEST_F(Flow, PlainExtraction)
{
    char code[16];
    std::string s = std::string("ab") + std::string(code, (size_t)txMakeFlagCode(code, TXC_BOLD_ON)) +
                    "c\rd";
    EXPECT_EQ(5, txVisibleCharCount(s.c_str(), FALSE));
    EXPECT_EQ(6, txVisibleCharCount(s.c_str(), TRUE));
    char out[16];
    txStripToPlain(out, s.c_str(), TRUE);
    EXPECT_STREQ("abc\r\nd", out);
    EXPECT_EQ(240, txParsePoints("12"));
    EXPECT_EQ(250, txParsePoints("12.5"));
    EXPECT_EQ(240, txParsePoints("-12"));
    EXPECT_EQ(0, txParsePoints("12pt"));
}

TEST_F(Flow, NewPlainTextObjectCleansAndLaysOut)
{
    qmtest::BoxRecorder boxes;
    TextHeader th = header();
    th.flags = TXF_WRAP | TXF_WRAP_LOW;
    RECT box = {0, 0, 4000, 100};
    long before = utLiveHandleCount();
    MemHandle empty = txNewPlainTextObject(nullptr, &box, &th, "");
    EXPECT_EQ(216u, txRecordSize(empty));
    MemHandle h = txNewPlainTextObject(nullptr, &box, &th, "one\x0Ctwo\x1B three");
    ASSERT_NE(0u, h);
    {
        ObLock r(h);
        EXPECT_EQ(OBT_TEXT, r->type);
        EXPECT_EQ(0u, r->penColour);
        EXPECT_EQ(0u, r->fillColour);
        EXPECT_EQ(0xFFFFFFu, r->backColour);
    }
    std::string s = streamOf(h);
    EXPECT_GE(txCheckStreamBounded(s.c_str(), (uint32_t)s.size() + 1), 0);
    EXPECT_EQ(2u, linesOf(s).size());   // the form feed ended a paragraph
    EXPECT_NE(std::string::npos, s.find("two  three"));
    for (auto &l : linesOf(s))
        EXPECT_GT(l.H, 0);
    RECT r = boxOf(h);
    EXPECT_EQ(4000, r.right - r.left);          // wrapped: the width kept
    EXPECT_EQ(linesOf(s)[0].H + linesOf(s)[1].H, r.bottom - r.top);   // the height fitted
    utFreeHandle(h);
    utFreeHandle(empty);
    EXPECT_EQ(before, utLiveHandleCount());
    EXPECT_EQ(0u, boxes.count());
}

// ---- fitting -------------------------------------------------------------------------

TEST_F(Flow, FittingKeepsOrShrinksAcrossTheFlow)
{
    qmtest::BoxRecorder boxes;
    MemHandle h = text("short", RECT{0, 0, 3000, 5000}, TXF_WRAP | TXF_WRAP_LOW);
    // Re-wrapping fitted the height exactly; give it a long box again.
    txSetBoxSize(h, 3000, 5000);
    EXPECT_EQ(1, txFitBoxEx(h, FALSE, FALSE, TRUE));
    EXPECT_EQ(5000, boxOf(h).bottom - boxOf(h).top);
    EXPECT_EQ(1, txFitBoxEx(h, FALSE, TRUE, TRUE));
    int32_t fitted = boxOf(h).bottom - boxOf(h).top;
    EXPECT_LT(fitted, 1000);
    EXPECT_GT(fitted, 0);

    // The editor's mark keeps the box as it is.
    {
        ObLock r(h);
        r->flags |= OBF_TEXT_FIT;
    }
    txSetBoxSize(h, 3000, 5000);
    EXPECT_EQ(0, txFitBoxEx(h, TRUE, TRUE, TRUE));
    EXPECT_EQ(5000, boxOf(h).bottom - boxOf(h).top);
    utFreeHandle(h);
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(Flow, TooWideTextIsClampedWithOneWarning)
{
    for (uint16_t align : {(uint16_t)TXA_LEFT, (uint16_t)TXA_RIGHT}) {
        SCOPED_TRACE(align);
        qmtest::BoxRecorder boxes;
        // An unwrapped line far wider than 20 inches.
        std::string line(700, 'W');
        TextHeader th = header();
        th.align = align;
        RECT box = {1000, 1000, 5000, 2000};
        MemHandle h = txNewTextObject(&box, nullptr, &th, nullptr);
        h = txReplaceText(nullptr, h, line.c_str(), TXK_PLAIN, FALSE, TRUE);
        boxes.clear();
        RECT before = boxOf(h);
        txFitBoxEx(h, TRUE, TRUE, TRUE);
        RECT r = boxOf(h);
        EXPECT_EQ(28800, r.right - r.left);
        ASSERT_EQ(1u, boxes.count()) << boxes.texts();
        EXPECT_EQ("Text width too large.  The text may not be properly drawn", boxes.last().text);
        if (align == TXA_RIGHT)
            EXPECT_EQ(before.right, r.right);
        else
            EXPECT_EQ(before.left, r.left);
        utFreeHandle(h);
    }
}

TEST_F(Flow, ReplaceAndAppend)
{
    qmtest::BoxRecorder boxes;
    MemHandle h = text("", RECT{0, 0, 3000, 400});
    EXPECT_EQ(0u, txGetStreamLength(h));
    h = txAppendText(nullptr, h, "", TXK_PLAIN);
    EXPECT_EQ(0u, txGetStreamLength(h));
    h = txAppendText(nullptr, h, "abc", TXK_PLAIN);
    EXPECT_EQ(13u + 3 + 1, txGetStreamLength(h));
    h = txAppendText(nullptr, h, "\rdef", TXK_PLAIN);
    EXPECT_EQ(2u, linesOf(streamOf(h)).size());
    EXPECT_EQ(txRecordSize(h), ObLock(h)->length);
    h = txReplaceText(nullptr, h, "", TXK_PLAIN, TRUE, TRUE);
    EXPECT_EQ(0u, txGetStreamLength(h));
    EXPECT_EQ(216u, ObLock(h)->length);
    utFreeHandle(h);
}

// ---- splitting ---------------------------------------------------------------------------

TEST_F(Flow, SplitAtAHeight)
{
    qmtest::BoxRecorder boxes;
    MemHandle h = text("one\rtwo\rthree\rfour", RECT{0, 0, 3000, 100});
    auto l = linesOf(streamOf(h));
    ASSERT_EQ(4u, l.size());
    long before = utLiveHandleCount();

    MemHandle rest = 0;
    MemHandle part = txSplitAt(nullptr, h, l[0].H / 2, &rest);   // the first line is deeper
    ASSERT_NE(0u, part);
    EXPECT_EQ(0u, rest);
    EXPECT_EQ(streamOf(h), streamOf(part));
    utFreeHandle(part);

    part = txSplitAt(nullptr, h, 100000, &rest);   // all fits
    EXPECT_EQ(0u, part);
    EXPECT_EQ(h, rest);
    EXPECT_EQ(before, utLiveHandleCount());

    part = txSplitAt(nullptr, h, l[0].H + l[1].H + l[2].H / 2, &rest);
    ASSERT_NE(0u, part);
    ASSERT_NE(0u, rest);
    EXPECT_EQ(2u, linesOf(streamOf(rest)).size());
    EXPECT_EQ(2u, linesOf(streamOf(part)).size());
    EXPECT_NE(std::string::npos, streamOf(part).find("three"));
    EXPECT_EQ(l[0].H + l[1].H, boxOf(rest).bottom - boxOf(rest).top);
    utFreeHandle(part);
    utFreeHandle(rest);
}

// ---- resizing --------------------------------------------------------------------------------

TEST_F(Flow, UnwrappedTextScalesItsFonts)
{
    qmtest::BoxRecorder boxes;
    char code[16];
    std::string s = std::string("ab") + std::string(code, (size_t)txMakeWordCode(code, TXC_HEIGHT, -300)) +
                    "cd";
    TextHeader th = header();
    th.tabSpacing = 720;
    RECT box = {0, 0, 2000, 1000};
    MemHandle h = txNewTextObject(&box, nullptr, &th, nullptr);
    h = txReplaceText(nullptr, h, s.c_str(), TXK_CODED, FALSE, TRUE);
    {
        ObLock r(h);
        obRecSetRect(r.get(), &box);
    }
    RECT target = {0, 0, 2000, 2000};
    h = objScale(h, 1.0, 2.0, 0, 0, 0, 0);
    (void)target;
    TextHeader *t = txLockHeader(h);
    EXPECT_EQ(-480, t->lf.lfHeight);
    EXPECT_EQ(720, t->tabSpacing);   // the width factor is 1
    utUnlock(h);
    std::string now = streamOf(h);
    int32_t i = 0;
    for (; i < (int32_t)now.size(); i = txUnitEnd(now.c_str(), i))
        if (txCodeNumber(now.c_str() + i) == TXC_HEIGHT)
            break;
    int16_t v;
    memcpy(&v, now.c_str() + i + 3, 2);
    EXPECT_EQ(-600, v);
    utFreeHandle(h);
}

TEST_F(Flow, WrappedTextReflowsWhenResized)
{
    qmtest::BoxRecorder boxes;
    MemHandle h = text("the quick brown fox jumps over the lazy dog", RECT{0, 0, 8000, 100});
    size_t wide = linesOf(streamOf(h)).size();
    POINT c[2] = {{0, 0}, {1500, 300}};
    h = txResizeTo(h, c);
    EXPECT_GT(linesOf(streamOf(h)).size(), wide);
    EXPECT_EQ(1500, boxOf(h).right - boxOf(h).left);
    TextHeader *t = txLockHeader(h);
    EXPECT_EQ(-240, t->lf.lfHeight);   // the font keeps its size
    utUnlock(h);
    utFreeHandle(h);
}

// ---- columns -------------------------------------------------------------------------------

class Columns : public Flow {
protected:
    MemHandle tenLines()
    {
        return text("a\rb\rc\rd\re\rf\rg\rh\ri\rj", RECT{0, 0, 8000, 100});
    }
    TextColumnSpec spec(int16_t n, RECT bounds = RECT{0, 0, 8000, 3000}, int32_t gap = 0)
    {
        TextColumnSpec s = {};
        s.bounds = bounds;
        s.columns = n;
        s.gapX = gap;
        s.gapY = 0;
        return s;
    }
    // Lines in each column.
    std::vector<int> perColumn(MemHandle h)
    {
        std::vector<int> out(1, 0);
        std::string s = streamOf(h);
        for (int32_t i = 0; i < (int32_t)s.size(); i = txUnitEnd(s.c_str(), i)) {
            if (txIsLineInfo(s.c_str() + i))
                ++out.back();
            else if (txCodeNumber(s.c_str() + i) == TXC_NEW_COLUMN)
                out.push_back(0);
        }
        return out;
    }
};

TEST_F(Columns, TenEqualLinesInFourColumns)
{
    qmtest::BoxRecorder boxes;
    MemHandle h = tenLines();
    TextColumnSpec s = spec(4);
    h = txMakeColumns(h, &s);
    ASSERT_NE(0u, h);
    EXPECT_EQ((std::vector<int>{3, 3, 3, 1}), perColumn(h));
    EXPECT_EQ(3, countCode(streamOf(h), TXC_NEW_COLUMN));
    EXPECT_TRUE(txHasColumns(h));
    EXPECT_EQ(txRecordSize(h), ObLock(h)->length);

    // Removing them keeps the box width and re-wraps.
    int32_t width = boxOf(h).right - boxOf(h).left;
    h = txRemoveColumns(h);
    EXPECT_FALSE(txHasColumns(h));
    EXPECT_EQ(0, countCode(streamOf(h), TXC_NEW_COLUMN));
    EXPECT_EQ(width, boxOf(h).right - boxOf(h).left);
    EXPECT_EQ(10u, linesOf(streamOf(h)).size());
    utFreeHandle(h);
}

TEST_F(Columns, CountsAndLimits)
{
    qmtest::BoxRecorder boxes;
    MemHandle h = tenLines();
    TextColumnSpec s = spec(20, RECT{0, 0, 16000, 3000});
    h = txMakeColumns(h, &s);
    ASSERT_NE(0u, h);
    EXPECT_EQ(16, s.columns);
    TextHeader *t = txLockHeader(h);
    EXPECT_EQ(16, t->columns);
    utUnlock(h);
    // No line is lost whatever the fill.
    int total = 0;
    for (int n : perColumn(h))
        total += n;
    EXPECT_EQ(10, total);
    EXPECT_LE(perColumn(h).size(), 16u);
    utFreeHandle(h);

    MemHandle one = text("alone", RECT{0, 0, 6000, 100});
    TextColumnSpec s3 = spec(3, RECT{0, 0, 6000, 3000});
    one = txMakeColumns(one, &s3);
    ASSERT_NE(0u, one);
    EXPECT_EQ(0, countCode(streamOf(one), TXC_NEW_COLUMN));
    utFreeHandle(one);

    // Gaps wider than the pitch leave the first column empty: nothing made.
    MemHandle g = tenLines();
    TextColumnSpec wide = spec(4, RECT{0, 0, 8000, 3000}, 1500);
    EXPECT_EQ(0u, txMakeColumns(g, &wide));
    EXPECT_FALSE(txHasColumns(g));
    RECT c;
    EXPECT_FALSE(txColumnRect(&wide.bounds, 4, 1500, 0, 0, &c));
    EXPECT_FALSE(txColumnRect(&wide.bounds, 4, 0, 0, 4, &c));
    EXPECT_TRUE(EqualRect(&c, &wide.bounds));
    utFreeHandle(g);
}

// ---- attributes -------------------------------------------------------------------------------

TEST_F(Flow, WholeTextAttributes)
{
    qmtest::BoxRecorder boxes;
    char b[32];
    std::string s = std::string(b, (size_t)txMakeWordCode(b, TXC_SPACING, 6)) + "one\r" +
                    std::string(b, (size_t)txMakeWordCode(b, TXC_SPACING, 8)) + "two " +
                    std::string(b, (size_t)txMakeFlagCode(b, TXC_BOLD_ON)) + "three";
    RECT box = {0, 0, 5000, 100};
    TextHeader th = header();
    th.flags = TXF_WRAP | TXF_WRAP_LOW;
    MemHandle h = txNewTextObject(&box, nullptr, &th, nullptr);
    h = txReplaceText(nullptr, h, s.c_str(), TXK_CODED, TRUE, TRUE);

    txSetLineSpacing(nullptr, h, 12);
    std::string now = streamOf(h);
    int seen = 0;
    for (int32_t i = 0; i < (int32_t)now.size(); i = txUnitEnd(now.c_str(), i))
        if (txCodeNumber(now.c_str() + i) == TXC_SPACING) {
            EXPECT_EQ(12, (uint8_t)now[(size_t)i + 3]);
            ++seen;
        }
    EXPECT_EQ(2, seen);
    EXPECT_EQ(12, txLockHeader(h)->spacing);
    utUnlock(h);

    LOGFONTA lf = th.lf;
    lf.lfWeight = 400;
    h = txSetFont(nullptr, h, &lf);
    EXPECT_EQ(0, countCode(streamOf(h), TXC_BOLD_ON));

    // A bold base font with bold off before the last word is not bold.
    h = txSetStyleAttr(nullptr, h, TXC_BOLD_ON, TRUE);
    EXPECT_EQ(1, txHasAttr(h, TXC_BOLD_ON));
    std::string off = streamOf(h);
    size_t at = off.find("three");
    off.insert(at, std::string(b, (size_t)txMakeFlagCode(b, TXC_BOLD_OFF)));
    h = txReplaceText(nullptr, h, off.c_str(), TXK_CODED, TRUE, TRUE);
    EXPECT_EQ(0, txHasAttr(h, TXC_BOLD_ON));
    h = txSetStyleAttr(nullptr, h, TXC_BOLD_ON, TRUE);
    EXPECT_EQ(1, txHasAttr(h, TXC_BOLD_ON));
    EXPECT_EQ(0, countCode(streamOf(h), TXC_BOLD_OFF));

    // Colour codes go; the handle stays.
    std::string col = streamOf(h) + std::string(b, (size_t)txMakeDwordCode(b, TXC_FORE, 0xFF));
    h = txReplaceText(nullptr, h, col.c_str(), TXK_CODED, FALSE, TRUE);
    EXPECT_EQ(1, txClearColorCodes(nullptr, h, 0, 6));
    EXPECT_EQ(0, countCode(streamOf(h), TXC_FORE));
    EXPECT_EQ(txRecordSize(h), ObLock(h)->length);
    utFreeHandle(h);
}

// ---- vertical text ---------------------------------------------------------------------------

int g_dialogCalls = 0;
int cancelDialog(HWND, LOGFONTA *)
{
    ++g_dialogCalls;
    return 0;
}

TEST_F(Flow, ToVerticalAndBack)
{
    qmtest::BoxRecorder boxes;
    txSetChooseVerticalFontHook(cancelDialog);
    g_dialogCalls = 0;
    RECT box = {1000, 2000, 4000, 3000};
    TextHeader th = header();
    th.align = TXA_TOP;
    MemHandle h = txNewTextObject(&box, nullptr, &th, nullptr);
    std::vector<uint8_t> before;
    {
        ObLock r(h);
        before.assign((uint8_t *)r.get(), (uint8_t *)r.get() + r->length);
    }
    MemHandle v = h;
    EXPECT_EQ(0, txToVertical(nullptr, &v));   // no vertical form of the face: the dialog, cancelled
    EXPECT_EQ(1, g_dialogCalls);
    {
        ObLock r(v);
        EXPECT_EQ(0, memcmp(before.data(), r.get(), before.size()));
    }
    utFreeHandle(h);

    if (!txFaceExists(0, "@IPAGothic")) {
        txSetChooseVerticalFontHook(nullptr);
        GTEST_SKIP() << "no @IPAGothic face here";
    }
    th = header("IPAGothic");
    th.align = TXA_TOP;
    h = txNewTextObject(&box, nullptr, &th, nullptr);
    {
        ObLock r(h);
        r->rotation = 300;
    }
    v = h;
    ASSERT_EQ(1, txToVertical(nullptr, &v));
    EXPECT_EQ(1, g_dialogCalls);   // no dialog this time
    TextHeader *t = txLockHeader(v);
    EXPECT_STREQ("@IPAGothic", t->lf.lfFaceName);
    EXPECT_EQ(0x880u, t->flags & 0x880);
    EXPECT_EQ(2700, t->lf.lfEscapement);
    EXPECT_EQ(TXA_RIGHT, t->align & TXA_HMASK);
    utUnlock(v);
    {
        ObLock r(v);
        EXPECT_EQ(0, r->rotation);
        EXPECT_TRUE(r->flags & OBF_NO_ROTATE);
    }
    RECT r = boxOf(v);
    EXPECT_EQ(1000, r.right - r.left);
    EXPECT_EQ(3000, r.bottom - r.top);
    EXPECT_EQ(box.right, r.right);
    EXPECT_EQ(box.top, r.top);

    ASSERT_EQ(1, txFromVertical(nullptr, &v));
    t = txLockHeader(v);
    EXPECT_STREQ("IPAGothic", t->lf.lfFaceName);
    EXPECT_EQ(0u, t->flags & 0x880);
    EXPECT_EQ(0, t->lf.lfEscapement);
    utUnlock(v);
    RECT back = boxOf(v);
    EXPECT_EQ(r.left, back.left);
    EXPECT_EQ(r.top, back.top);
    EXPECT_EQ(3000, back.right - back.left);
    EXPECT_EQ(1000, back.bottom - back.top);
    utFreeHandle(v);
    txSetChooseVerticalFontHook(nullptr);
}

// ---- labels ----------------------------------------------------------------------------------

TEST_F(Flow, LabelsGrowDownwards)
{
    qmtest::BoxRecorder boxes;
    TextHeader th = header();
    MemHandle l = txNewLabel(0, &th.lf, 0, 0, 0);
    ASSERT_NE(0u, l);
    EXPECT_EQ(161u, txLabelRecordSize(l));
    EXPECT_EQ(0u, txGetLabelTextLength(l));
    EXPECT_EQ(0u, txCopyLabelText(l));

    LabelPart part = {};
    RECT box = {0, 0, 4000, 2000};
    int32_t mx, my;
    txLabelMargins(&box, &part, &mx, &my);
    EXPECT_EQ(80, mx);
    EXPECT_EQ(80, my);
    part.frameStyle = 3;
    part.frameCorner = (400u << 16) | 800u;
    txLabelMargins(&box, &part, &mx, &my);
    EXPECT_EQ(200, mx);
    EXPECT_EQ(100, my);

    RECT r = {1000, 1000, 3000, 1400};
    obSetRect(l, &r);
    l = txSetLabelText(l, "one two three four five six seven eight nine ten");
    l = txRewrapLabel(nullptr, l);
    RECT grown;
    obGetRect(l, &grown);
    EXPECT_EQ(r.top, grown.top);
    EXPECT_EQ(r.left, grown.left);
    EXPECT_EQ(r.right, grown.right);
    EXPECT_GT(grown.bottom, r.bottom);
    EXPECT_EQ(txLabelRecordSize(l), ObLock(l)->length);
    // Less text never shrinks it.
    l = txSetLabelText(l, "one");
    l = txRewrapLabel(nullptr, l);
    RECT after;
    obGetRect(l, &after);
    EXPECT_EQ(grown.bottom, after.bottom);
    l = txRewrapLabel(nullptr, l);
    obGetRect(l, &after);
    EXPECT_EQ(grown.bottom, after.bottom);

    MemHandle t = txLabelToText(l);
    ASSERT_NE(0u, t);
    EXPECT_EQ(0x219u, txLockHeader(t)->flags);
    utUnlock(t);
    utFreeHandle(t);
    utFreeHandle(l);
}

TEST_F(Flow, LabelDrawsFrameAndText)
{
    TextHeader th = header();
    MemHandle l = txNewLabel(0, &th.lf, 0, 0x0001, 0);
    RECT r = {0, 0, 3000, 1500};
    obSetRect(l, &r);
    l = txSetLabelText(l, "Hello");
    qmtest::Dib dib(300, 200);
    dmSetZoomDC(dib.dc(), 100);
    objDraw(dib.dc(), ObLock(l).get());
    dmResetModule();
    EXPECT_GT(dib.countDark(), 20);
    utFreeHandle(l);
}

TEST_F(Flow, OldFieldLabelsBecomeLabels)
{
    qmtest::BoxRecorder boxes;
    fldRegisterTypes();
    txRegisterTypes();
    // A type-51 field with a font, alignment, frame and text.
    MemHandle f = obNewRecord(kObHeadSize + 100);
    {
        ObLock r(f);
        r->type = OBT_FIELD51;
        r->centreX = 1000;
        r->centreY = 500;
        r->width = 2000;
        r->height = 1000;
        EntryFieldPart *p = reinterpret_cast<EntryFieldPart *>(obRecData(r.get()));
        p->align = TXA_CENTRE;
        p->frameStyle = 3;
        p->frameValue = 0x00640064;
        p->font = header().lf;
        p->maxChars = -1;
    }
    f = obSetShapeAttr(f, ENT_TAG_TEXT, "Old text", 9);
    ASSERT_NE(0u, f);
    MemHandle packet = qmfMakeFileRecord(f);
    ASSERT_NE(0u, packet);
    MemHandle back = 0;
    uint16_t flags[7];
    ASSERT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags)) << boxes.texts();
    EXPECT_EQ(OBT_LABEL, obGetType(back));
    EXPECT_EQ(TXA_CENTRE, txGetLabelAlign(back));
    uint16_t frame;
    uint32_t corner;
    txGetLabelFrame(back, &frame, &corner);
    EXPECT_EQ(3, frame);
    EXPECT_EQ(0x00640064u, corner);
    LOGFONTA lf;
    txGetLabelFont(back, &lf);
    EXPECT_STREQ("Liberation Sans", lf.lfFaceName);
    MemHandle t = txCopyLabelText(back);
    ASSERT_NE(0u, t);
    EXPECT_STREQ("Old text", MemLock<char>(t).get());
    utFreeHandle(t);
    utFreeHandle(back);
    utFreeHandle(packet);
    utFreeHandle(f);
    qmfResetConverters();
}

// ---- the earlier file layout -----------------------------------------------------------------

TEST_F(Flow, EarlierTextRecordsAreRead)
{
    qmtest::BoxRecorder boxes;
    txRegisterTypes();
    // A type-40 file record of the earlier layout: 72-byte head, then box
    // size, font, flags, alignment, modes, frame, tab count, text length,
    // tabs and text.
    std::vector<uint8_t> rec(72 + 76, 0);
    const char text[] = "abc";
    uint32_t tab = 1440;
    uint32_t len = (uint32_t)rec.size() + 4 + sizeof text;
    memcpy(rec.data(), &len, 4);
    int16_t type = 40;
    memcpy(rec.data() + 4, &type, 2);
    int32_t centre[4] = {1000, 500, 2000, 1000};
    memcpy(rec.data() + 8, centre, 16);
    uint8_t *d = rec.data() + 72;
    int32_t size[2] = {2000, 1000};
    memcpy(d, size, 8);
    FontRecord16 font = {};
    font.height = -240;
    font.weight = 700;
    lstrcpyA(font.faceName, "Liberation Sans");
    memcpy(d + 8, &font, sizeof font);
    uint32_t flags = TXF_RTL | TXF_WRAP;
    memcpy(d + 58, &flags, 4);
    uint16_t align = TXA_TOP;
    memcpy(d + 62, &align, 2);
    d[64] = 2;
    d[65] = 6;
    uint16_t frame = 0x0001;
    memcpy(d + 66, &frame, 2);
    uint32_t tabs = 1, L = sizeof text;
    memcpy(d + 68, &tabs, 4);
    memcpy(d + 72, &L, 4);
    rec.insert(rec.end(), (uint8_t *)&tab, (uint8_t *)&tab + 4);
    rec.insert(rec.end(), text, text + sizeof text);
    ASSERT_EQ(len, rec.size());
    MemHandle packet = utHandleFromBytes(rec.data(), (uint32_t)rec.size());
    MemHandle back = 0;
    uint16_t present[7];
    ASSERT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, present)) << boxes.texts();
    EXPECT_EQ(OBT_TEXT, obGetType(back));
    EXPECT_EQ(len + 68, ObLock(back)->length);
    EXPECT_EQ(len + 68, txRecordSize(back));
    TextHeader *t = txLockHeader(back);
    EXPECT_EQ(-240, t->lf.lfHeight);
    EXPECT_EQ(700, t->lf.lfWeight);
    EXPECT_EQ(flags, t->flags);
    EXPECT_EQ(TXA_TOP | TXA_RIGHT, t->align);   // lines from the right keep their right alignment
    EXPECT_EQ(2, t->bkMode);
    EXPECT_EQ(6, t->spacing);
    EXPECT_EQ(1, t->frameStyle);
    EXPECT_EQ(1u, t->tabCount);
    utUnlock(back);
    EXPECT_EQ("abc", streamOf(back));
    utFreeHandle(back);

    // Counts past the record drop it.
    {
        MemLock<uint8_t> p(packet);
        uint32_t big = 5000;
        memcpy(p.get() + 72 + 72, &big, 4);
    }
    back = 0;
    EXPECT_EQ(QMF_RECORD_DROPPED, qmfRecordFromFile(packet, &back, present));
    EXPECT_NE(std::string::npos, boxes.texts().find("Reading object failed"));
    utFreeHandle(packet);
    qmfResetConverters();
}

}  // namespace

namespace {

// ---- character spacing, plain-text helpers and other re-flow operations ----------------

TEST_F(Flow, CharacterSpacingDialogAndCodes)
{
    qmtest::BoxRecorder boxes;
    uint16_t value = 25;
    {
        std::string caption, unit, shown;
        qmtest::DialogDriver drive({
            [&](HWND d) {
                caption = qmtest::windowText(d);
                unit = qmtest::itemText(d, 99);
                shown = qmtest::itemText(d, 100);
                qmtest::typeInto(d, 100, "abc");
                qmtest::pressButton(d, 999);   // not a number: stays open
            },
            [](HWND d) { qmtest::typeInto(d, 100, "1.46"); },
            [](HWND d) { qmtest::pressButton(d, 999); },
        });
        EXPECT_EQ(1, txAskCharSpacing(nullptr, &value));
        EXPECT_EQ("Extra Character Spacing", caption);
        EXPECT_EQ("Points", unit);
        EXPECT_EQ(2.5, atof(shown.c_str()));
    }
    EXPECT_EQ(15, value);
    {
        qmtest::DialogDriver drive({
            [](HWND d) { qmtest::typeInto(d, 100, "9"); },
            [](HWND d) { qmtest::pressButton(d, 998); },
        });
        EXPECT_EQ(0, txAskCharSpacing(nullptr, &value));
    }
    EXPECT_EQ(15, value);

    char b[16];
    std::string s = std::string("ab ") + std::string(b, (size_t)txMakeWordCode(b, TXC_CHAR_SPACING, 40)) + "cd";
    MemHandle h = text("", RECT{0, 0, 4000, 100});
    h = txReplaceText(nullptr, h, s.c_str(), TXK_CODED, TRUE, TRUE);
    EXPECT_EQ(1, countCode(streamOf(h), TXC_CHAR_SPACING));
    h = txSetCharSpacing(nullptr, h, 30);
    EXPECT_EQ(30, txGetCharSpacing(h));
    EXPECT_EQ(0, countCode(streamOf(h), TXC_CHAR_SPACING));
    EXPECT_EQ(txRecordSize(h), ObLock(h)->length);
    h = txResetFormats(nullptr, h);
    EXPECT_EQ(0, txGetCharSpacing(h));
    EXPECT_NE(std::string::npos, streamOf(h).find("ab cd"));
    utFreeHandle(h);
}

TEST_F(Flow, CentredPlacementKeepsTheMiddle)
{
    qmtest::BoxRecorder boxes;
    MemHandle h = text("one\rtwo", RECT{0, 1000, 4000, 1100}, TXF_WRAP | TXF_WRAP_LOW, TXA_VCENTRE);
    txSetBoxSize(h, 4000, 3000);
    {
        ObLock r(h);
        r->centreY = 2500;
    }
    RECT before = boxOf(h);
    txSetLineSpacing(nullptr, h, 8);
    RECT after = boxOf(h);
    EXPECT_LT(after.bottom - after.top, 3000);
    EXPECT_NEAR((before.top + before.bottom) / 2, (after.top + after.bottom) / 2, 1);
    utFreeHandle(h);
}

TEST_F(Flow, PlainHelpers)
{
    TextHeader th = header();
    MemHandle w = txWrapPlainText(nullptr, 1200, "one two three four five", &th);
    ASSERT_NE(0u, w);
    {
        MemLock<char> p(w);
        std::string s = p.get();
        EXPECT_NE(std::string::npos, s.find('\n'));
        EXPECT_NE('\n', s.back());
        EXPECT_EQ(std::string::npos, s.find('\r'));
    }
    utFreeHandle(w);
    EXPECT_EQ(0u, txWrapPlainText(nullptr, 1200, "", &th));

    const WCHAR wide[] = {'a', 0xE9, 'b', 0};
    MemHandle n = txWideToStream(wide, ANSI_CHARSET);
    ASSERT_NE(0u, n);
    EXPECT_STREQ("a\xE9" "b", MemLock<char>(n).get());
    utFreeHandle(n);
    const WCHAR none[] = {0};
    EXPECT_EQ(0u, txWideToStream(none, 0));

    MemHandle e = txExpandCr("a\rb\r\nc");
    EXPECT_STREQ("a\r\nb\r\nc", MemLock<char>(e).get());
    utFreeHandle(e);

    qmtest::BoxRecorder boxes;
    MemHandle a = text("first", RECT{0, 0, 4000, 100});
    MemHandle b = text("second", RECT{0, 0, 4000, 100});
    {
        TextHeader *t = txLockHeader(b);
        t->lf.lfWeight = 700;
        utUnlock(b);
    }
    a = txAppendObjectText(a, b, TRUE);
    std::string s = streamOf(a);
    EXPECT_EQ(2u, linesOf(s).size());
    EXPECT_GE(countCode(s, TXC_BOLD_ON) + countCode(s, TXC_WEIGHT), 1);   // its base format travels
    MemHandle plain = txGetPlainText(a);
    EXPECT_STREQ("first\r\nsecond", MemLock<char>(plain).get());
    utFreeHandle(plain);
    utFreeHandle(a);
    utFreeHandle(b);
}

TEST_F(Flow, LabelsRescaleThroughTheDispatch)
{
    qmtest::BoxRecorder boxes;
    TextHeader th = header();
    MemHandle l = txNewLabel(0, &th.lf, 0, 3, (400u << 16) | 800u);
    RECT r = {0, 0, 4000, 2000};
    obSetRect(l, &r);
    l = txSetLabelText(l, "scaled");
    l = objScale(l, 0.5, 0.5, 0, 0, 0, 0);
    ASSERT_EQ(OBT_LABEL, obGetType(l));
    uint16_t frame;
    uint32_t corner;
    txGetLabelFrame(l, &frame, &corner);
    EXPECT_EQ((200u << 16) | 400u, corner);
    RECT now;
    obGetRect(l, &now);
    EXPECT_EQ(2000, now.right - now.left);
    EXPECT_EQ(txLabelRecordSize(l), ObLock(l)->length);
    // Setting the alignment drops the paragraph codes of the text.
    char b[16];
    std::string s = std::string(b, (size_t)txMakeWordCode(b, TXC_ALIGN, 2)) + "x";
    l = txSetLabelText(l, s.c_str());
    txSetLabelAlign(l, TXA_CENTRE);
    EXPECT_EQ(TXA_CENTRE, txGetLabelAlign(l));
    EXPECT_EQ(1u, txGetLabelTextLength(l));
    utFreeHandle(l);
}

}  // namespace

namespace {

TEST_F(Flow, LabelsSaveAndDamagedOnesAreDropped)
{
    txRegisterTypes();
    TextHeader th = header();
    MemHandle l = txNewLabel(0, &th.lf, TXA_RIGHT, 0x0102, 0);
    RECT r = {0, 0, 3000, 1000};
    obSetRect(l, &r);
    l = txSetLabelText(l, "saved text");
    uint32_t length = txLabelRecordSize(l);
    MemHandle packet = qmfMakeFileRecord(l);
    ASSERT_NE(0u, packet);
    {
        qmtest::BoxRecorder boxes;
        MemHandle back = 0;
        uint16_t flags[7];
        ASSERT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags));
        ObLock a(l), b(back);
        ASSERT_EQ(length, b->length);
        EXPECT_EQ(0, memcmp(obRecData(a.get()), obRecData(b.get()), length - kObHeadSize));
        utFreeHandle(back);
    }
    struct Case { const char *what; uint32_t at; uint32_t value; } cases[] = {
        {"text length past the record", 72 + 70, 5000},
        {"text length short of the record", 72 + 70, 3},
        {"text without its terminator", 0, 0},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        qmtest::BoxRecorder boxes;
        MemHandle p = qmfMakeFileRecord(l);
        {
            MemLock<uint8_t> m(p);
            uint32_t len;
            memcpy(&len, m.get(), 4);
            if (c.at)
                memcpy(m.get() + c.at, &c.value, 4);
            else
                m[len - 1] = 'x';
        }
        long before = utLiveHandleCount();
        MemHandle back = 0;
        uint16_t flags[7];
        EXPECT_EQ(QMF_RECORD_DROPPED, qmfRecordFromFile(p, &back, flags));
        EXPECT_EQ(before, utLiveHandleCount());
        EXPECT_NE(std::string::npos, boxes.texts().find("Reading object failed"));
        utFreeHandle(p);
    }
    utFreeHandle(packet);
    utFreeHandle(l);
    qmfResetConverters();
}

}  // namespace

namespace {

TEST_F(Columns, ResizedColumnsAreBalancedAgain)
{
    qmtest::BoxRecorder boxes;
    MemHandle h = tenLines();
    TextColumnSpec s = spec(2);
    h = txMakeColumns(h, &s);
    ASSERT_NE(0u, h);
    EXPECT_EQ((std::vector<int>{6, 4}), perColumn(h));   // target 10h / 2 + h
    RECT r;
    obGetRect(h, &r);
    // Taller than the text: the box takes the height, the first column the lines.
    POINT tall[2] = {{r.left, r.top}, {r.right, r.top + 20000}};
    h = txResizeTo(h, tall);
    RECT now;
    obGetRect(h, &now);
    EXPECT_EQ(r.top, now.top);
    EXPECT_EQ(20000, now.bottom - now.top);
    EXPECT_EQ(10, perColumn(h)[0]);
    EXPECT_TRUE(txHasColumns(h));
    // Narrower: the columns are made again at the new width.
    POINT narrow[2] = {{r.left, r.top}, {r.left + 4000, r.top + 100}};
    h = txResizeTo(h, narrow);
    obGetRect(h, &now);
    EXPECT_EQ(r.left, now.left);
    EXPECT_EQ(4000, now.right - now.left);
    int total = 0;
    for (int n : perColumn(h))
        total += n;
    EXPECT_GE(total, 10);
    EXPECT_EQ(txRecordSize(h), ObLock(h)->length);
    utFreeHandle(h);
}

TEST_F(Flow, PastedWrappedTextTakesItsNaturalWidth)
{
    qmtest::BoxRecorder boxes;
    MemHandle h = text("short line", RECT{0, 0, 8000, 100});
    h = txFitPastedWrap(h, 0);
    RECT r = boxOf(h);
    EXPECT_LT(r.right - r.left, 8000);
    EXPECT_TRUE(txIsWrapped(h));
    int32_t natural = r.right - r.left;
    h = txFitPastedWrap(h, 10);
    r = boxOf(h);
    EXPECT_EQ(natural + 200, r.right - r.left);
    utFreeHandle(h);
}

}  // namespace
