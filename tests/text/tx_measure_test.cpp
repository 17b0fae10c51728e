// Text measuring, bullet symbols and line painting.
#include "tests/support/kit.h"
#include "text/tx_bullet.h"
#include "text/tx_format.h"
#include "text/tx_measure.h"
#include "text/tx_paint.h"
#include "text/tx_stream.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

namespace {

LOGFONTA arial(int32_t height = -240)
{
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = 400;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpyA(lf.lfFaceName, "Arial");
    return lf;
}

CharFormat format(int32_t height = -240)
{
    LOGFONTA lf = arial(height);
    CharFormat f;
    txFormatFromLogFont(&f, &lf, 0, 4, 0, RGB(0, 0, 0), RGB(255, 255, 255));
    return f;
}

bool dark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 300; }

// The rightmost and leftmost dark columns in a band of rows; -1 when none.
void darkSpan(const qmtest::Dib &d, int top, int bottom, int *left, int *right)
{
    *left = *right = -1;
    for (int y = top; y < bottom && y < d.height(); ++y)
        for (int x = 0; x < d.width(); ++x)
            if (dark(d.pixel(x, y))) {
                if (*left < 0 || x < *left)
                    *left = x;
                if (x > *right)
                    *right = x;
            }
}

std::string lineCode(int16_t n, int16_t blo, uint16_t w, uint16_t h)
{
    TxLineInfo li = {n, blo, w, h};
    char b[16];
    return std::string(b, (size_t)txMakeBlockCode(b, TXC_LINE_INFO, &li, 8));
}

// Lays out lines given as texts (each with its end byte) with their
// measured sizes on dc.
std::string laidOut(HDC dc, const std::vector<std::string> &lines, CharFormat base)
{
    std::string out;
    for (const std::string &l : lines) {
        CharFormat f = base;
        uint32_t e = txMeasureLine(dc, l.c_str(), (int32_t)l.size(), &f, 0, nullptr);
        out += lineCode((int16_t)l.size(), (int16_t)txLastAscent(), (uint16_t)(e & 0xFFFF),
                        (uint16_t)(e >> 16)) + l;
    }
    return out;
}

class TextMeasure : public ::testing::Test {
protected:
    TextMeasure() { reset(); }
    ~TextMeasure() override { reset(); }
    static void reset()
    {
        txResetMeasureModule();
        txSetBulletSample(FALSE);
        dmResetModule();
    }
};

// ---- reference contexts ------------------------------------------------------------

TEST_F(TextMeasure, ReferenceContexts)
{
    HWND w = CreateWindowA("STATIC", "m", 0, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, w);
    // No printer: a window context mapped to twips at 100 percent.
    HDC dc = txGetMeasureDC(w, TRUE);
    ASSERT_NE(nullptr, dc);
    POINT p[2] = {{0, 0}, {1440, 1440}};
    LPtoDP(dc, p, 2);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), p[1].x - p[0].x);
    txReleaseMeasureDC(w, dc, TRUE);

    HDC printer = CreateCompatibleDC(nullptr);
    txSetPrinterRefDC(printer, 0);
    EXPECT_TRUE(txUsePrinterMetrics());
    EXPECT_EQ(printer, txGetMeasureDC(w, TRUE));
    txReleaseMeasureDC(w, printer, TRUE);
    EXPECT_NE(0u, GetObjectType(printer)) << "the printer reference stays alive";
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(printer, txChooseMeasureDC(other));
    txSetPrinterMetricsFlag(FALSE);
    EXPECT_EQ(other, txChooseMeasureDC(other));
    txSetPrinterMetricsFlag(TRUE);
    txSetPrinterRefDC(printer, 1);
    EXPECT_FALSE(txUsePrinterMetrics());
    EXPECT_EQ(other, txChooseMeasureDC(other));
    txSetPrinterRefDC(printer, 0);

    // A print job measures on its own context for its duration.
    txSwitchRefDCForPrinting(other, TRUE);
    EXPECT_EQ(other, txGetPrinterRefDC());
    txSwitchRefDCForPrinting(nullptr, FALSE);
    EXPECT_EQ(printer, txGetPrinterRefDC());

    txUseScreenRefDC(TRUE);
    HDC screen = txChooseMeasureDC(other);
    EXPECT_NE(printer, screen);
    EXPECT_NE(other, screen);
    EXPECT_NE(nullptr, screen);
    txUseScreenRefDC(FALSE);
    EXPECT_EQ(printer, txChooseMeasureDC(other));

    txSetPrinterRefDC(nullptr, 0);
    DeleteDC(other);
    DeleteDC(printer);
    DestroyWindow(w);
}

// ---- tab stops --------------------------------------------------------------------

TEST_F(TextMeasure, TabLookup)
{
    const int32_t tabs[] = {720, 1440, 2160, 2880};
    struct Case { int32_t x, index, next; } cases[] = {
        {0, 0, 720}, {719, 0, 720}, {720, 1, 1440}, {800, 1, 1440}, {1500, 2, 2160},
        {2160, 2, 2880}, {2879, 2, 2880}, {2880, 2, 2881}, {5000, 2, 5001},
    };
    for (auto &c : cases) {
        EXPECT_EQ(c.index, txTabIndexAt(c.x, 4, tabs)) << c.x;
        EXPECT_EQ(c.next, txNextTabStop(c.x, 4, tabs)) << c.x;
    }
    EXPECT_EQ(0, txTabIndexAt(5000, 0, tabs));
    EXPECT_EQ(2160, txTabAt(2, 4, tabs));
    EXPECT_EQ(720, txTabAt(3, 4, tabs));
    EXPECT_EQ(720, txTabAt(-1, 4, tabs));
}

// ---- metrics ----------------------------------------------------------------------

TEST_F(TextMeasure, LineAscentAndHeightBySpacingAndScripts)
{
    qmtest::Dib d(50, 50);
    dmSetZoomDC(d.dc(), 100);
    CharFormat f = format(-240);
    GdiObject<HFONT> font(dmCreateFont(&f.lf));
    GdiSelect sel(d.dc(), font);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(d.dc(), &tm));
    int32_t natural = tm.tmHeight + tm.tmExternalLeading;

    f.spacing = 6;
    int32_t h = 0, a = 0;
    txLineAscentDescent(d.dc(), &f, &h, &a);
    EXPECT_EQ(MulDiv(natural, 6, 4), h);
    EXPECT_EQ(tm.tmExternalLeading + tm.tmAscent + (h - natural) / 2, a);
    EXPECT_EQ(a, txLastAscent());

    f.spacing = 4;
    f.superscript = 1;
    LOGFONTA reduced = f.lf;
    reduced.lfHeight = MulDiv(reduced.lfHeight, 2, 3);
    GdiObject<HFONT> smallFont(dmCreateFont(&reduced));
    GdiSelect sel2(d.dc(), smallFont);
    TEXTMETRICA sm;
    ASSERT_TRUE(GetTextMetricsA(d.dc(), &sm));
    h = a = 0;
    txLineAscentDescent(d.dc(), &f, &h, &a);
    EXPECT_GE(a, sm.tmExternalLeading + sm.tmAscent + 240 / 2);
    f.superscript = 0;
    f.subscript = 1;
    h = a = 0;
    txLineAscentDescent(d.dc(), &f, &h, &a);
    EXPECT_GE(h - a, sm.tmDescent + 240 / 5);
}

TEST_F(TextMeasure, LongLinesAreClampedNotWrapped)
{
    EXPECT_EQ(28800u | (100u << 16), txPackExtent(70000, 100));
    EXPECT_EQ(5u | (28800u << 16), txPackExtent(5, 66000));
    qmtest::Dib d(20, 20);
    dmSetZoomDC(d.dc(), 100);
    std::string wide(3000, 'W');
    CharFormat f = format(-480);
    uint32_t e = txMeasureLine(d.dc(), wide.c_str(), (int32_t)wide.size(), &f, 0, nullptr);
    EXPECT_EQ(28800u, e & 0xFFFF);
    EXPECT_GT(e >> 16, 0u);
}

TEST_F(TextMeasure, FontRecordsAnswerThroughTheFormatMetrics)
{
    qmtest::Dib d(20, 20);
    dmSetZoomDC(d.dc(), 100);
    LOGFONTA lf = arial(-240);
    int32_t ave = 0, height = 0, leading = 0, hl = 0, asc = 0;
    ASSERT_TRUE(txMeasureFont(d.dc(), &lf, &ave, &height, &leading, &hl, &asc));
    CharFormat f = format(-240);
    EXPECT_EQ(txGetLineHeight(d.dc(), &f), hl);
    EXPECT_GT(height, 200);
    EXPECT_GT(ave, 0);
}

TEST_F(TextMeasure, SymbolObjectsMeasureAsTwoCharacters)
{
    qmtest::Dib d(20, 20);
    dmSetZoomDC(d.dc(), 100);
    CharFormat f = format(-240);
    GdiObject<HFONT> font(dmCreateFont(&f.lf));
    GdiSelect sel(d.dc(), font);
    TEXTMETRICA tm;
    GetTextMetricsA(d.dc(), &tm);
    char sym[8];
    txMakeSymbolObject(sym, 3);
    int32_t h = 100, a = 50;
    uint32_t size = txMeasureObject(d.dc(), d.dc(), 0, 0, 0, sym, FALSE, 0, &h, &a);
    EXPECT_EQ((uint32_t)(2 * tm.tmAveCharWidth), size & 0xFFFF);
    EXPECT_EQ((uint32_t)(tm.tmAscent - tm.tmInternalLeading), size >> 16);
    EXPECT_EQ(tm.tmAscent - tm.tmInternalLeading, a);
    EXPECT_EQ(100 + a - 50, h);
}

// ---- bullets ----------------------------------------------------------------------

TEST_F(TextMeasure, BulletFigures)
{
    const COLORREF red = RGB(255, 0, 0);
    struct Case { int n; int filledTo; int clearFrom; bool centreFilled; } cases[] = {
        {3, 14, 36, true},    // disc of radius 20
        {4, 34, 52, true},    // disc of radius 40
        {1, -1, 36, false},   // outline of radius 20
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.n);
        qmtest::Dib d(400, 200);
        dmSetZoomDC(d.dc(), 1500);   // one pixel per twip
        RECT r = {50, 40, 350, 160};  // 300 x 120: r = 60
        txDrawBullet(d.dc(), &r, 0, c.n, red);
        EXPECT_EQ(c.centreFilled, d.pixel(200, 101) == red);
        if (c.filledTo > 0) {
            EXPECT_EQ(red, d.pixel(200 + c.filledTo, 101));
            EXPECT_EQ(red, d.pixel(200, 101 - c.filledTo));
        } else {
            EXPECT_EQ(red, d.pixel(220, 101));
        }
        EXPECT_NE(red, d.pixel(200 + c.clearFrom, 101));
        // Centred one pixel below the rectangle's centre.
        int top = -1, bottom = -1;
        for (int y = 0; y < 200; ++y)
            if (d.pixel(200, y) == red) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
        EXPECT_NEAR(101.0, (top + bottom) / 2.0, 1.0);
    }
    qmtest::Dib blank(400, 200);
    dmSetZoomDC(blank.dc(), 1500);
    RECT r = {50, 40, 350, 160};
    txDrawBullet(blank.dc(), &r, 0, 17, red);
    EXPECT_EQ(400 * 200, blank.count(RGB(255, 255, 255)));

    // The sample flag: a pen one unit wide.
    qmtest::Dib thin(400, 200), thick(400, 200);
    dmSetZoomDC(thick.dc(), 1500);
    txDrawBullet(thick.dc(), &r, 0, 1, red);
    dmSetZoomDC(thin.dc(), 1500);
    txSetBulletSample(TRUE);
    EXPECT_EQ(1, txGetBulletSample());
    txDrawBullet(thin.dc(), &r, 0, 1, red);
    txSetBulletSample(FALSE);
    RECT row = {0, 101, 400, 102};
    EXPECT_LE(thin.count(red, row), 4);
    EXPECT_GE(thick.count(red, row), 20);
}

// ---- painting ---------------------------------------------------------------------

TEST_F(TextMeasure, JustifiedLinesReachTheRightEdgeButNotTheLast)
{
    qmtest::Dib d(300, 120);
    dmSetZoomDC(d.dc(), 100);   // 15 twips a pixel
    CharFormat f = format(-240);
    f.align = 0x100;
    std::string s = laidOut(d.dc(), {"aa bb cc dd", "ee ff\r"}, f);
    SetRect(&f.lineRect, 0, 0, 3000, 1800);   // 200 pixels wide
    f.frameRect = f.lineRect;
    SetTextAlign(d.dc(), TA_BASELINE);
    txDrawLines(d.dc(), s.c_str(), &f, 0, 0, nullptr);
    int left, right;
    darkSpan(d, 0, 20, &left, &right);
    EXPECT_GE(right, 190);
    EXPECT_LE(right, 201);
    darkSpan(d, 21, 40, &left, &right);
    EXPECT_GT(right, 0);
    EXPECT_LT(right, 120);
}

TEST_F(TextMeasure, HyperlinksAreBlueAndUnderlined)
{
    qmtest::Dib d(300, 60);
    dmSetZoomDC(d.dc(), 100);
    char b[64];
    std::string s = std::string(b, (size_t)txMakeStringCode(b, 112, "x")) +
                    std::string(b, (size_t)txMakeDwordCode(b, 50, RGB(255, 0, 0))) + "link" +
                    std::string(b, (size_t)txMakeFlagCode(b, 111));
    CharFormat f = format(-240);
    RECT r = {0, 0, 4000, 800};
    txDrawText(d.dc(), &r, s.c_str(), &f, 0, nullptr);
    EXPECT_GE(d.count(RGB(0, 0, 255)), 20);
    EXPECT_EQ(0, d.count(RGB(255, 0, 0)));
}

TEST_F(TextMeasure, FixedCellsCentreEachCharacter)
{
    qmtest::Dib d(700, 400);
    dmSetZoomDC(d.dc(), 1500);   // one pixel per twip
    CharFormat f = format(-200);
    f.cellWidth = 300;
    RECT r = {0, 0, 700, 400};
    txDrawText(d.dc(), &r, "ab", &f, 0, nullptr);
    auto centreOf = [&](int from, int to) {
        long sum = 0, n = 0;
        for (int y = 0; y < 400; ++y)
            for (int x = from; x < to; ++x)
                if (dark(d.pixel(x, y))) {
                    sum += x;
                    ++n;
                }
        return n ? (double)sum / n : -1.0;
    };
    EXPECT_NEAR(150.0, centreOf(0, 300), 30.0);
    EXPECT_NEAR(450.0, centreOf(300, 600), 30.0);
}

TEST_F(TextMeasure, RunsFitTheReferenceWidth)
{
    // The reference: a context at 100 percent; the painted one at 137.
    HDC ref = CreateCompatibleDC(nullptr);
    txSetPrinterRefDC(ref, 0);
    qmtest::Dib d(600, 100);
    dmSetZoomDC(d.dc(), 137);
    CharFormat f = format(-240);
    GdiObject<HFONT> font(dmCreateFont(&f.lf));
    GdiSelect s1(d.dc(), font);
    GdiSelect s2(ref, font);
    const char *text = "The quick brown fox jumps";
    int32_t n = (int32_t)strlen(text);
    SIZE target;
    GetTextExtentPoint32A(ref, text, n, &target);
    txUpdatePixelSize();
    int32_t cap = target.cx / 50 < 4 * txPixelWidth() ? target.cx / 50 : 4 * txPixelWidth();
    txJustifyRun(d.dc(), text, n, 0, target.cx, 4);
    SetTextJustification(d.dc(), 0, 0);
    SIZE got;
    GetTextExtentPoint32A(d.dc(), text, n, &got);
    EXPECT_LE(abs(got.cx - target.cx), cap + 4 * txPixelWidth()) << got.cx << " vs " << target.cx;
    txSetPrinterRefDC(nullptr, 0);
    SetTextCharacterExtra(d.dc(), 0);
    DeleteDC(ref);
}

TEST_F(TextMeasure, SpreadRunsDrawAndSplitTheRemainder)
{
    int32_t rem = -1;
    EXPECT_EQ(3, txSplitSpread(110, 100, 3, &rem));
    EXPECT_EQ(1, rem);
    EXPECT_EQ(0, txSplitSpread(110, 100, 0, &rem));
    qmtest::Dib d(300, 60);
    dmSetZoomDC(d.dc(), 100);
    CharFormat f = format(-240);
    GdiObject<HFONT> font(dmCreateFont(&f.lf));
    GdiSelect sel(d.dc(), font);
    SetTextAlign(d.dc(), TA_BASELINE);
    SIZE plain;
    GetTextExtentPoint32A(d.dc(), "a b c", 5, &plain);
    int32_t w = txDrawRunSpread(d.dc(), 0, 500, "a b c", 5, ' ', 300, 1);
    EXPECT_EQ(plain.cx + 601, w);
    int left, right;
    darkSpan(d, 0, 60, &left, &right);
    EXPECT_GE(right * 15, plain.cx + 500);
}

}  // namespace

namespace {

TEST_F(TextMeasure, BoundsOfLaidOutTextTurnWithIt)
{
    qmtest::Dib d(20, 20);
    dmSetZoomDC(d.dc(), 100);
    CharFormat f = format(-240);
    std::string s = lineCode(2, 200, 1000, 300) + "ab" + lineCode(1, 200, 600, 300) + "c";
    SetRect(&f.lineRect, 0, 0, 2000, 600);
    RECT r;
    EXPECT_EQ(600, txTextBounds(d.dc(), s.c_str(), &f, 0, 0, nullptr, &r));
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(1000, r.right);
    EXPECT_EQ(600, r.bottom);
    f.align = 1;
    txTextBounds(d.dc(), s.c_str(), &f, 900, 0, nullptr, &r);
    // Turned a quarter about (1000, 300): the lines stand upright.
    EXPECT_EQ(600, r.right - r.left);
    EXPECT_EQ(1000, r.bottom - r.top);
}

}  // namespace
