// Text object records, line breaking and laying out.
#include "tests/support/kit.h"
#include "text/tx_break.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "model/qmf_convert.h"
#include "text/tx_file.h"
#include "model/ob_shadow.h"
#include "model/ob_transform.h"
#include "text/tx_draw_object.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "text/tx_types.h"
#include <string.h>
#include <string>

namespace {

TextHeader header()
{
    TextHeader h = {};
    h.lf.lfHeight = -240;
    h.lf.lfWeight = 400;
    lstrcpyA(h.lf.lfFaceName, "Liberation Sans");
    h.bkMode = 1;
    h.spacing = 4;
    return h;
}

TEST(TextObject, NewRecordSizesAndTabTable)
{
    TextHeader th = header();
    RECT box = {100, 200, 3100, 1200};
    const COLORREF colours[3] = {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)};
    long before = utLiveHandleCount();
    MemHandle empty = txNewTextObject(&box, colours, &th, "");
    ASSERT_NE(0u, empty);
    EXPECT_EQ(216u, txRecordSize(empty));
    EXPECT_EQ(0u, txGetStreamLength(empty));
    EXPECT_EQ(0u, txCopyStream(empty));

    int16_t tabs[] = {3, 720, 1440, 2160};
    char code[16];
    std::string s = std::string(code, (size_t)txMakeTabArrayCode(code, TXC_TAB_ARRAY, tabs)) + "abc";
    MemHandle h = txNewTextObject(&box, colours, &th, s.c_str());
    ASSERT_NE(0u, h);
    EXPECT_EQ(216u + 12 + 4, txRecordSize(h));
    EXPECT_EQ(4u, txGetStreamLength(h));
    RECT r;
    ASSERT_TRUE(txGetBoxRect(h, &r));
    EXPECT_TRUE(EqualRect(&r, &box));
    int32_t len = 0;
    MemHandle back = txGetStreamWithTabs(h, &len);
    {
        MemLock<char> p(back);
        EXPECT_EQ(s, std::string(p.get(), (size_t)len));
    }
    utFreeHandle(back);
    EXPECT_FALSE(txIsVertical(0));
    EXPECT_EQ(0u, txGetStreamLength(0));
    utFreeHandle(h);
    utFreeHandle(empty);
    EXPECT_EQ(before, utLiveHandleCount());
}

class Breaking : public ::testing::Test {
protected:
    Breaking() : dib_(20, 20)
    {
        txResetMeasureModule();
        dmResetModule();
        dmSetZoomDC(dib_.dc(), 100);
        TextHeader th = header();
        txFormatFromLogFont(&fmt_, &th.lf, 0, 4, 0, 0, 0xFFFFFF);
    }
    ~Breaking() override { dmResetModule(); }
    std::vector<TxLineInfo> lines(const std::string &s, int32_t width, int32_t count = 0,
                                  const int32_t *tabs = nullptr)
    {
        int32_t n = 0;
        CharFormat f = fmt_;
        MemHandle h = txBreakIntoLines(dib_.dc(), s.c_str(), &f, width, count, tabs, &n);
        std::vector<TxLineInfo> out;
        {
            MemLock<TxLineRecord> r(h);
            for (int32_t i = 0; i < n; ++i) {
                TxLineInfo li;
                memcpy(&li, r[(size_t)i].info + 3, 8);
                out.push_back(li);
            }
        }
        utFreeHandle(h);
        return out;
    }
    int32_t extent(const char *t)
    {
        CharFormat f = fmt_;
        return (int32_t)(txMeasureLine(dib_.dc(), t, (int32_t)strlen(t), &f, 0, nullptr) & 0xFFFF);
    }
    qmtest::Dib dib_;
    CharFormat fmt_;
};

TEST_F(Breaking, LinesOfAWidth)
{
    int32_t w = extent("hello world") + 10;
    auto l = lines("hello world hello world", w);
    ASSERT_EQ(2u, l.size());
    EXPECT_EQ(12, l[0].n);   // the trailing space stays on the line
    EXPECT_EQ(extent("hello world"), l[0].W);   // but not in its width
    EXPECT_EQ(11, l[1].n);
    EXPECT_GT(l[0].H, 0);
    EXPECT_GT(l[0].nBLO, 0);

    // An overlong word breaks inside; a width under one character still
    // puts one character on each line.
    auto o = lines("abcdefghijklmnop", extent("abcdef"));
    ASSERT_GE(o.size(), 2u);
    EXPECT_LE(o[0].W, extent("abcdef"));
    auto tiny = lines("abc", 5);
    ASSERT_EQ(3u, tiny.size());
    for (auto &t : tiny)
        EXPECT_EQ(1, t.n);

    // Returns end lines.
    auto r = lines("ab\rcd", 5000);
    ASSERT_EQ(2u, r.size());
    EXPECT_EQ(3, r[0].n);
}

TEST_F(Breaking, TabsPastTheWidthStartTheNextLine)
{
    const int32_t tabs[] = {1440, 2880, 4320};
    auto l = lines("ab\tcd", 1000, 3, tabs);
    ASSERT_EQ(3u, l.size());
    EXPECT_EQ(2, l[0].n);   // "ab"
    EXPECT_EQ(1, l[1].n);   // the tab starts the next line, alone as its first byte
    EXPECT_EQ(2, l[2].n);
    auto first = lines("\tcd", 1000, 3, tabs);
    ASSERT_GE(first.size(), 1u);
    EXPECT_EQ(1, first[0].n);
}

TEST_F(Breaking, RuledLinesHaveTheFixedAdvance)
{
    fmt_.flags |= TX_FMT_RULED;
    fmt_.ruledExtra = 30;
    auto l = lines("one two three four five six", 1000);
    ASSERT_GE(l.size(), 2u);
    for (auto &li : l)
        EXPECT_EQ(240 + 80 + 60, li.H);
}

TEST_F(Breaking, LayoutAndBackToFlowingText)
{
    TextHeader th = header();
    std::string flowing = "one two three four five six seven\r";
    MemHandle h = txLayoutStream(dib_.dc(), flowing.c_str(), 1500, &th.lf, 0, 4, 0, 0, 0xFFFFFF,
                                 0, nullptr, FALSE);
    ASSERT_NE(0u, h);
    std::string laid;
    {
        MemLock<char> p(h);
        laid.assign(p.get(), (size_t)txstrlen(p.get()));
    }
    utFreeHandle(h);
    EXPECT_GE(txLineCount(laid.c_str()), 3);
    // The closing line of a text that ends with a return.
    TxLineInfo last;
    memcpy(&last, laid.data() + laid.size() - 10, 8);
    EXPECT_EQ(0, last.n);
    EXPECT_EQ(0, last.W);
    std::string copy = laid + std::string(1, '\0');
    EXPECT_EQ((int32_t)laid.size(), txCheckStreamBounded(copy.data(), (uint32_t)copy.size()));
    txStripLayoutCodes(&copy[0]);
    EXPECT_EQ(flowing, std::string(copy.c_str()));
}

}  // namespace

namespace {

std::vector<int32_t> stopsOf(MemHandle h, int32_t *count)
{
    std::vector<int32_t> out;
    MemLock<int32_t> p(h);
    for (int32_t i = 0; i < *count; ++i)
        out.push_back(p[(size_t)i]);
    return out;
}

TEST(TextObject, TabStopsOfALine)
{
    TextHeader th = header();
    RECT box = {0, 0, 3000, 500};
    MemHandle h = txNewTextObject(&box, nullptr, &th, "x");
    int32_t count = 0, spacing = 0;
    TextHeader *locked = txLockHeader(h);
    MemHandle stops = txGetTabStops(&box, locked, FALSE, &count, &spacing);
    EXPECT_EQ(720, spacing);
    EXPECT_EQ((std::vector<int32_t>{0, 720, 1440, 2160, 2880, 3000}), stopsOf(stops, &count));
    utFreeHandle(stops);
    locked->flags |= TXF_SINGLE_LINE;
    EXPECT_EQ(0u, txGetTabStops(&box, locked, FALSE, &count, &spacing));
    EXPECT_EQ(0, count);
    utUnlock(h);
    utFreeHandle(h);
}

TEST(TextObject, SplitJoinAndRefitToANarrowerBox)
{
    TextHeader th = header();
    th.tabSpacing = 720;
    RECT box = {0, 0, 3000, 500};
    int16_t tabs[] = {4, 720, 1440, 2160, 3000};
    char code[16];
    std::string s = std::string(code, (size_t)txMakeTabArrayCode(code, TXC_TAB_ARRAY, tabs)) + "abc";
    MemHandle h = txNewTextObject(&box, nullptr, &th, s.c_str());
    MemHandle parts[4];
    ASSERT_TRUE(txSplitRecord(h, parts));
    MemHandle joined = txJoinRecord(parts);
    ASSERT_NE(0u, joined);
    {
        ObLock a(h), b(joined);
        ASSERT_EQ(a->length, b->length);
        EXPECT_EQ(0, memcmp(a.get(), b.get(), a->length));
    }
    utFreeHandle(joined);
    txSetBoxSize(h, 1600, 500);
    h = txRefitTabs(h);
    int32_t len = 0;
    MemHandle with = txGetStreamWithTabs(h, &len);
    {
        MemLock<char> p(with);
        int16_t c;
        memcpy(&c, p.get() + 3, 2);
        EXPECT_EQ(3, c);   // 720, 1440, then 1600 for the stop past the box
        int16_t last;
        memcpy(&last, p.get() + 3 + 2 + 4, 2);
        EXPECT_EQ(1600, last);
    }
    utFreeHandle(with);
    EXPECT_EQ(txRecordSize(h), 216u + 12 + 4);
    utFreeHandle(h);
}

}  // namespace

namespace {

class TextDrawing : public ::testing::Test {
protected:
    TextDrawing() : dib_(300, 200)
    {
        txResetMeasureModule();
        dmResetModule();
        dmSetZoomDC(dib_.dc(), 100);   // 15 twips a pixel
        ShadowStyle none = {};
        old_ = obSetShadowStyle(&none);
    }
    ~TextDrawing() override
    {
        obSetShadowStyle(&old_);
        utFreeHandle(h_);
        dmResetModule();
    }
    void make(uint8_t bkMode, bool shadow, const char *text, int rotation = 0)
    {
        TextHeader th = header();
        th.bkMode = bkMode;
        RECT box = {300, 300, 2700, 1500};   // pixels 20..180 x 20..100
        const COLORREF colours[3] = {RGB(0, 0, 0), RGB(0, 0, 0), kBack};
        h_ = txNewTextObject(&box, colours, &th, text);
        ObLock r(h_);
        if (shadow)
            r->flags |= OBF_SHADOW;
        r->rotation = (uint16_t)rotation;
        txGetBounds(nullptr, r.get());
    }
    void draw()
    {
        ObLock r(h_);
        txDrawObject(dib_.dc(), r.get());
    }
    int darkCount()
    {
        int n = 0;
        for (int y = 0; y < dib_.height(); ++y)
            for (int x = 0; x < dib_.width(); ++x) {
                COLORREF c = dib_.pixel(x, y);
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200)
                    ++n;
            }
        return n;
    }
    static constexpr COLORREF kBack = RGB(0, 200, 0);
    qmtest::Dib dib_;
    MemHandle h_ = 0;
    ShadowStyle old_;
};

TEST_F(TextDrawing, BackgroundModesAndShadows)
{
    make(2, false, "");
    draw();
    EXPECT_EQ(kBack, dib_.pixel(100, 60));
    EXPECT_NE(kBack, dib_.pixel(10, 10));
    utFreeHandle(h_);

    // Mode 1 with a shadow: the text twice (shadow in grey first).
    dib_.fill(RGB(255, 255, 255));
    make(1, true, "Hello");
    draw();
    int grey = dib_.count(RGB(128, 128, 128));
    EXPECT_GT(grey, 10);
    EXPECT_EQ(0, dib_.count(kBack));
    utFreeHandle(h_);

    // Mode 2 with a shadow: a shadow polygon, the text once.
    dib_.fill(RGB(255, 255, 255));
    make(2, true, "Hello");
    draw();
    EXPECT_EQ(RGB(128, 128, 128), dib_.pixel(185, 104));   // beyond the box, in the shadow
    EXPECT_GT(darkCount(), 10);
}

TEST_F(TextDrawing, RotatedBackgroundTurns)
{
    make(2, false, "", 300);
    draw();
    // At 30 degrees the box's corner region is no longer filled, and the
    // polygon reaches beyond the upright box's top.
    EXPECT_NE(kBack, dib_.pixel(21, 21));
    int above = dib_.count(kBack, RECT{0, 0, 300, 19});
    EXPECT_GT(above, 0);
}

TEST_F(TextDrawing, OffsetsAndXsOfALine)
{
    TextHeader th = header();
    CharFormat f;
    txFormatFromLogFont(&f, &th.lf, 0, 4, 0, 0, 0xFFFFFF);
    CharFormat g = f;
    int32_t xa = txXAtOffset(dib_.dc(), "abc", 1, &g, 0, nullptr);
    g = f;
    int32_t xb = txXAtOffset(dib_.dc(), "abc", 2, &g, 0, nullptr);
    EXPECT_GT(xa, 0);
    EXPECT_GT(xb, xa);
    g = f;
    EXPECT_EQ(2, txOffsetAtX(dib_.dc(), "abc", 3, &g, (xa + xb + 1) / 2, 0, nullptr));
    g = f;
    EXPECT_EQ(1, txOffsetAtX(dib_.dc(), "abc", 3, &g, xa + 1, 0, nullptr));
    // Run boundaries across a code.
    char b[8];
    std::string s = "ab" + std::string(b, (size_t)txMakeFlagCode(b, 1)) + "cd";
    g = f;
    int32_t atCode = txXAtOffset(dib_.dc(), s.c_str(), 2, &g, 0, nullptr);
    g = f;
    EXPECT_EQ(atCode, txXAtOffset(dib_.dc(), s.c_str(), 7, &g, 0, nullptr));
}

TEST_F(TextDrawing, JustifiedTextIsEditedWhole)
{
    make(1, false, "x");
    EXPECT_EQ(0, txColumnTest(h_));
    {
        TextHeader *th = txLockHeader(h_);
        th->align = 0x100;
        utUnlock(h_);
    }
    EXPECT_EQ(1, txColumnTest(h_));
    EXPECT_EQ(0, txColumnTest(0));
}

}  // namespace


namespace {

MemHandle richText()
{
    TextHeader th = header();
    th.columns = 3;
    th.ruledExtra = 25;
    th.cellWidth = 0;
    th.reserved[0] = 7;
    RECT box = {100, 100, 4100, 2100};
    int16_t tabs[] = {2, 720, 1440};
    char b[64];
    std::string s = std::string(b, (size_t)txMakeTabArrayCode(b, TXC_TAB_ARRAY, tabs));
    s += "ab" + std::string(b, (size_t)txMakeFlagCode(b, TXC_BOLD_ON)) + "\tc" +
         std::string(b, (size_t)txMakeDwordCode(b, TXC_FORE, 0x123456)) + "d\r";
    const COLORREF colours[3] = {1, 2, 3};
    return txNewTextObject(&box, colours, &th, s.c_str());
}

TEST(TextFile, SavedAsType90AndReadBackByteForByte)
{
    qmtest::BoxRecorder boxes;
    txRegisterTypes();
    MemHandle h = richText();
    uint32_t memLength = txRecordSize(h);
    for (bool scrambled : {false, true}) {
        SCOPED_TRACE(scrambled);
        MemHandle packet = qmfMakeFileRecord(h);
        ASSERT_NE(0u, packet);
        {
            MemLock<uint8_t> p(packet);
            uint32_t len;
            int16_t type;
            memcpy(&len, p.get(), 4);
            memcpy(&type, p.get() + 4, 2);
            EXPECT_EQ(memLength - 26, len);
            EXPECT_EQ(90, type);
        }
        if (scrambled) {
            qmfScrambleRecord(packet, kQmfRecordKey);
            qmfUnscrambleRecord(packet);
        }
        MemHandle back = 0;
        uint16_t flags[7];
        ASSERT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags));
        {
            ObLock a(h), b(back);
            ASSERT_EQ(a->length, b->length);
            EXPECT_EQ(OBT_TEXT, b->type);
            EXPECT_EQ(0, memcmp(obRecData(a.get()), obRecData(b.get()), a->length - kObHeadSize));
        }
        utFreeHandle(back);
        utFreeHandle(packet);
    }
    EXPECT_EQ(0u, boxes.count());
    utFreeHandle(h);
    qmfResetConverters();
}

TEST(TextFile, DamagedRecordsAreDropped)
{
    txRegisterTypes();
    MemHandle h = richText();
    struct Case { const char *what; uint32_t at; uint32_t value; } cases[] = {
        {"tab count past the record", 72 + 74, 5000},
        {"stream length past the record", 72 + 82, 5000},
        {"stream without its terminator inside", 0, 0},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        qmtest::BoxRecorder boxes;
        MemHandle packet = qmfMakeFileRecord(h);
        {
            MemLock<uint8_t> p(packet);
            uint32_t len;
            memcpy(&len, p.get(), 4);
            if (c.at)
                memcpy(p.get() + c.at, &c.value, 4);
            else
                p[len - 1] = 'x';   // the terminator overwritten
        }
        long before = utLiveHandleCount();
        MemHandle back = 0;
        uint16_t flags[7];
        EXPECT_EQ(QMF_RECORD_DROPPED, qmfRecordFromFile(packet, &back, flags));
        EXPECT_EQ(0u, back);
        EXPECT_EQ(before, utLiveHandleCount());
        EXPECT_NE(std::string::npos, boxes.texts().find("Reading object failed")) << boxes.texts();
        utFreeHandle(packet);
    }
    utFreeHandle(h);
    qmfResetConverters();
}

}  // namespace

namespace {

TEST(TextObject, RotatesAndBoundsThroughTheDispatch)
{
    TextHeader th = header();
    RECT box = {0, 0, 2000, 1000};
    MemHandle h = txNewTextObject(&box, nullptr, &th, "x");
    objFlipRotate(h, POINT{1000, 500}, 900);
    {
        ObLock r(h);
        EXPECT_EQ(900, r->rotation);
        EXPECT_EQ(1000, r->width);    // the head holds the turned bounds
        EXPECT_EQ(2000, r->height);
    }
    RECT b;
    ASSERT_TRUE(objGetVertexBounds(h, &b));
    EXPECT_EQ(1000, b.right - b.left);
    {
        ObLock r(h);
        r->flags |= OBF_NO_ROTATE;
    }
    objFlipRotate(h, POINT{1000, 500}, 900);
    EXPECT_EQ(900, ObLock(h)->rotation);
    utFreeHandle(h);
}

TEST(TextObject, StreamWithTabsWritesAtMost125Stops)
{
    TextHeader th = header();
    RECT box = {0, 0, 29000, 1000};
    MemHandle h = txNewTextObject(&box, nullptr, &th, "x");
    // 203 stops, as a spacing of a tenth of an inch makes them.
    MemHandle parts[4];
    ASSERT_TRUE(txSplitRecord(h, parts));
    utFreeHandle(h);
    std::vector<uint32_t> stops;
    for (uint32_t k = 1; k <= 203; ++k)
        stops.push_back(k * 144);
    {
        MemLock<TextHeader> t(parts[1]);
        t->tabCount = 203;
    }
    parts[2] = utHandleFromBytes(stops.data(), 203 * 4);
    h = txJoinRecord(parts);
    ASSERT_NE(0u, h);
    int32_t len = 0;
    MemHandle s = txGetStreamWithTabs(h, &len);
    ASSERT_NE(0u, s);
    {
        MemLock<char> p(s);
        EXPECT_EQ(257, txCheckCode(p.get()));
        EXPECT_EQ(257 + 1, len);
        EXPECT_EQ('x', p[257]);
    }
    utFreeHandle(s);
    utFreeHandle(h);
}

}  // namespace

namespace {

TEST_F(Breaking, NextBreakOfALine)
{
    // Each run is measured with the space after it, which must fit too.
    int32_t w = extent("hello world ") + 10;
    CharFormat f = fmt_;
    EXPECT_EQ(12, txNextBreak(dib_.dc(), "hello world hello", &f, w, 0, nullptr));
    f = fmt_;
    EXPECT_EQ(0, txNextBreak(dib_.dc(), "hello", &f, w, 0, nullptr));
    f = fmt_;
    EXPECT_EQ(3, txNextBreak(dib_.dc(), "ab\rcd", &f, w, 0, nullptr));
}

}  // namespace
