// Drawing primitives, line-style pens, colour shading, drop shadows and 3-D
// edges, checked on the pixels of a DIB section.
#include "tests/support/kit.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/gdi_edge.h"
#include "support/geo_bezier.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// A 200 x 200 DIB under the view mapping (96 dpi, 15 twips to the pixel at
// 100 percent), with a hollow brush.
class Drawing : public ::testing::Test {
protected:
    Drawing() : dib_(200, 200)
    {
        dmResetModule();
        gdiResetModule();
        dmSetMapping(dib_.dc());
        oldBrush_ = SelectObject(dc(), GetStockObject(NULL_BRUSH));
    }
    ~Drawing() override
    {
        SelectObject(dc(), oldBrush_);
        dmResetModule();
        gdiResetModule();
    }
    HDC dc() const { return dib_.dc(); }
    bool black(int x, int y) const { return dib_.pixel(x, y) == kBlack; }
    // Lengths of the runs of black pixels along row y.
    std::vector<int> blackRuns(int y) const
    {
        std::vector<int> runs;
        int n = 0;
        for (int x = 0; x < dib_.width(); ++x) {
            if (black(x, y)) {
                ++n;
            } else if (n) {
                runs.push_back(n);
                n = 0;
            }
        }
        if (n)
            runs.push_back(n);
        return runs;
    }
    // Rows of column x that are black.
    int blackRowsAt(int x) const { return dib_.count(kBlack, RECT{x, 0, x + 1, 200}); }

    // The system 3-D colours of button edges.
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    qmtest::Dib dib_;
    HGDIOBJ oldBrush_;
};

TEST_F(Drawing, RectanglesCoverTheirRightAndBottomEdges)
{
    ASSERT_TRUE(gdiRectangle(dc(), 150, 150, 1500, 1500));
    EXPECT_TRUE(black(10, 50));
    EXPECT_TRUE(black(100, 50)) << "right edge";
    EXPECT_TRUE(black(50, 100)) << "bottom edge";
    EXPECT_FALSE(black(101, 50));
    EXPECT_FALSE(black(50, 50));
    dib_.fill(kWhite);
    ASSERT_TRUE(gdiRectanglePlain(dc(), 150, 150, 1500, 1500));
    EXPECT_TRUE(black(99, 50));
    EXPECT_FALSE(black(100, 50)) << "the plain call leaves the right edge out";
    EXPECT_FALSE(black(50, 100));
    dib_.fill(kWhite);
    ASSERT_TRUE(gdiRoundRect(dc(), 150, 150, 1500, 1500, 300, 300));
    EXPECT_TRUE(black(100, 50));
    EXPECT_TRUE(black(50, 100));
    dib_.fill(kWhite);
    ASSERT_TRUE(gdiRoundRectPlain(dc(), 150, 150, 1500, 1500, 300, 300));
    EXPECT_FALSE(black(100, 50));
    EXPECT_TRUE(black(99, 50));
}

TEST_F(Drawing, FrameRectStrokesAllFourEdgesWithoutFilling)
{
    SelectObject(dc(), GetStockObject(BLACK_BRUSH));
    RECT r = {150, 150, 1500, 1500};
    ASSERT_TRUE(gdiFrameRect(dc(), &r));
    for (POINT p : {POINT{10, 50}, POINT{100, 50}, POINT{50, 10}, POINT{50, 100}, POINT{10, 10},
                    POINT{100, 100}})
        EXPECT_TRUE(black(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_FALSE(black(50, 50));
    // Drawn twice under XOR every pixel is restored: no pixel is stroked twice.
    dib_.fill(kWhite);
    SetROP2(dc(), R2_NOT);
    gdiFrameRect(dc(), &r);
    EXPECT_EQ(4 * 90, dib_.count(kBlack));
    gdiFrameRect(dc(), &r);
    EXPECT_EQ(0, dib_.count(kBlack));
}

TEST_F(Drawing, LineStyleWordsSelectWidthAndStyle)
{
    struct Case {
        uint16_t word;
        int32_t width, style;
    } cases[] = {
        {0x0000, 10, PS_SOLID}, {0x0300, 10, PS_SOLID},   {0x0100, 30, PS_SOLID},
        {0x0200, 40, PS_SOLID}, {0x0400, 1, PS_DASH},     {0x0500, 1, PS_DOT},
        {0x0600, 1, PS_DASHDOT}, {0x0700, 1, PS_NULL},    {0x0800, 1, PS_NULL},
        {0x0F00, 1, PS_NULL},   {0x30FF, 10, PS_SOLID},   {0xF4AB, 1, PS_DASH},
    };
    for (const Case &c : cases) {
        int32_t width = -1, style = -1;
        gdiDecodeLineWidth(c.word, &width, &style);
        EXPECT_EQ(c.width, width) << std::hex << c.word;
        EXPECT_EQ(c.style, style) << std::hex << c.word;
        EXPECT_EQ(c.style, gdiLineStylePen(c.word)) << std::hex << c.word;
    }
}

TEST_F(Drawing, LineStylePensOnPixels)
{
    // Thickness of a vertical line drawn with the pen of each word.
    struct Case {
        uint16_t word;
        int32_t zoom;
        int pixels;
    } cases[] = {
        {0x0300, 100, 1},   // a 10-twip line at 100 percent is one pixel
        {0x0000, 100, 1},
        {0x0100, 100, 2},   // 30 twips
        {0x0200, 100, 3},   // 40 twips: 2.67 pixels
        {0x0300, 300, 2},   // 10 twips at 300 percent
        {0x0700, 100, 0},   // no pen: nothing drawn
        {0x0F00, 100, 0},
    };
    for (const Case &c : cases) {
        dib_.fill(kWhite);
        dmSetZoomDC(dc(), c.zoom);
        int32_t width, style;
        gdiDecodeLineWidth(c.word, &width, &style);
        GdiObject<HPEN> pen(CreatePen(style, width, kBlack));
        GdiSelect sel(dc(), pen);
        int32_t x = dmDevToLogX(100);
        gdiLine(dc(), x, dmDevToLogY(20), x, dmDevToLogY(180));
        EXPECT_EQ(c.pixels, dib_.count(kBlack, RECT{0, 100, 200, 101}))
            << std::hex << c.word << std::dec << " at " << c.zoom;
    }
}

TEST_F(Drawing, DashedStylesBreakTheLine)
{
    std::vector<int> longest;
    for (uint16_t word : {0x0400, 0x0500, 0x0600}) {
        dib_.fill(kWhite);
        int32_t width, style;
        gdiDecodeLineWidth(word, &width, &style);
        GdiObject<HPEN> pen(CreatePen(style, width, kBlack));
        GdiSelect sel(dc(), pen);
        gdiLine(dc(), 0, 1500, 3000, 1500);
        std::vector<int> runs = blackRuns(100);
        ASSERT_GE(runs.size(), 5u) << std::hex << word << ": the line has gaps";
        EXPECT_LT(dib_.count(kBlack), 190) << std::hex << word;
        int most = 0, least = 1000;
        for (size_t i = 1; i + 1 < runs.size(); ++i) {   // inner runs are whole
            most = std::max(most, runs[i]);
            least = std::min(least, runs[i]);
        }
        longest.push_back(most);
        if (word == 0x0600)
            EXPECT_GT(most, least) << "dash-dot has long and short runs";
        else
            EXPECT_EQ(most, least) << std::hex << word << ": even runs";
    }
    EXPECT_GT(longest[0], longest[1]) << "dashes are longer than dots";
}

TEST_F(Drawing, ShadeColours)
{
    struct Case {
        COLORREF in, lighter, darker;
    } cases[] = {
        {RGB(0, 0, 0), RGB(192, 192, 192), RGB(0, 0, 0)},
        {RGB(255, 255, 255), RGB(255, 255, 255), RGB(170, 170, 170)},
        {RGB(100, 1, 254), RGB(217, 192, 255), RGB(66, 0, 169)},
        {RGB(128, 3, 2), RGB(224, 192, 192), RGB(85, 2, 1)},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.lighter, gdiLightenColor34(c.in)) << std::hex << c.in;
        EXPECT_EQ(c.darker, gdiDarkenColor23(c.in)) << std::hex << c.in;
    }
}

TEST_F(Drawing, DefaultShadowFillsGreyStripsRightAndBelow)
{
    const COLORREF grey = RGB(128, 128, 128);
    RECT r = {150, 150, 1500, 1500};   // pixels 10 .. 100
    ASSERT_TRUE(gdiDrawRectShadow(dc(), &r));
    // Right strip: x from 1515 (101) to 1616 (108), y from 250 (17) down.
    EXPECT_EQ(grey, dib_.pixel(101, 50));
    EXPECT_EQ(grey, dib_.pixel(107, 50));
    EXPECT_EQ(kWhite, dib_.pixel(100, 50)) << "one pixel clear of the right edge";
    EXPECT_EQ(kWhite, dib_.pixel(108, 50));
    EXPECT_EQ(kWhite, dib_.pixel(104, 15));
    EXPECT_EQ(grey, dib_.pixel(104, 18));
    // Bottom strip: y from 101 to 107, x from 250 (17) to the right strip.
    EXPECT_EQ(grey, dib_.pixel(50, 101));
    EXPECT_EQ(grey, dib_.pixel(50, 107));
    EXPECT_EQ(kWhite, dib_.pixel(50, 100));
    EXPECT_EQ(kWhite, dib_.pixel(50, 108));
    EXPECT_EQ(kWhite, dib_.pixel(15, 104));
    EXPECT_EQ(grey, dib_.pixel(104, 104)) << "the corner";
    EXPECT_EQ(0, dib_.count(grey, RECT{0, 0, 101, 101})) << "nothing under the rectangle";

    // A colour of its own and a deeper shadow.
    dib_.fill(kWhite);
    gdiSetShadowBrush(0, RGB(255, 0, 0));
    EXPECT_EQ(5, gdiSetShadowDepth(10));
    gdiDrawRectShadow(dc(), &r);
    EXPECT_EQ(RGB(255, 0, 0), dib_.pixel(113, 50));   // 1515 .. 1716 twips
    EXPECT_EQ(kWhite, dib_.pixel(115, 50));
    EXPECT_EQ(RGB(255, 0, 0), dib_.pixel(50, 113));
    EXPECT_EQ(0, dib_.count(grey));
    // Back to a stock brush: the stored colour is kept for later.
    gdiSetShadowBrush(BLACK_BRUSH, RGB(0, 255, 0));
    dib_.fill(kWhite);
    gdiDrawRectShadow(dc(), &r);
    EXPECT_EQ(kBlack, dib_.pixel(104, 50));
    gdiSetShadowBrush(0, RGB(0, 0, 255));
    dib_.fill(kWhite);
    gdiDrawRectShadow(dc(), &r);
    EXPECT_EQ(RGB(0, 0, 255), dib_.pixel(104, 50));
}

TEST_F(Drawing, FillRectInclIncludesTheEdges)
{
    SetMapMode(dc(), MM_TEXT);
    RECT r = {10, 10, 20, 20};
    ASSERT_TRUE(gdiFillRectIncl(dc(), &r, (HBRUSH)GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(121, dib_.count(kBlack));
    EXPECT_EQ(20, r.right) << "the caller's rectangle is not changed";
}

TEST_F(Drawing, AllChordsDrawTheFirstToLastSideTwice)
{
    SetMapMode(dc(), MM_TEXT);
    SetROP2(dc(), R2_NOT);   // a pixel stroked twice comes back white
    const POINT tri[3] = {{20, 20}, {180, 20}, {20, 180}};
    EXPECT_EQ(1, gdiDrawAllChords(dc(), tri, 3));
    EXPECT_TRUE(black(100, 20)) << "side 0-1 once";
    EXPECT_TRUE(black(100, 100)) << "side 1-2 once";
    EXPECT_FALSE(black(20, 100)) << "side 0-2 twice";
    dib_.fill(kWhite);
    const POINT quad[4] = {{20, 20}, {180, 20}, {180, 180}, {20, 180}};
    gdiDrawAllChords(dc(), quad, 4);
    EXPECT_TRUE(black(100, 20));
    EXPECT_TRUE(black(60, 60)) << "a diagonal";
    EXPECT_TRUE(black(140, 60)) << "the other diagonal";
    EXPECT_FALSE(black(20, 100)) << "side 0-3 twice";
    EXPECT_EQ(1, gdiDrawAllChords(dc(), quad, 0));
}

TEST_F(Drawing, LinesPointsAndPolygons)
{
    POINT p = {150, 150}, q = {1500, 150};
    ASSERT_TRUE(gdiLinePts(dc(), p, q));
    EXPECT_TRUE(black(50, 10));
    EXPECT_FALSE(black(100, 10)) << "LineTo leaves the end point out";
    ASSERT_TRUE(gdiLineXY(dc(), 150, 300, 1500, 300));
    EXPECT_TRUE(black(50, 20));
    ASSERT_TRUE(gdiMoveToPt(dc(), POINT{150, 450}));
    ASSERT_TRUE(gdiLineToPt(dc(), POINT{1500, 450}));
    EXPECT_TRUE(black(50, 30));
    gdiSetPixel(dc(), 1500, 1500, RGB(255, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), dib_.pixel(100, 100));

    dib_.fill(kWhite);
    SelectObject(dc(), GetStockObject(BLACK_BRUSH));
    const POINT tri[3] = {{150, 150}, {2850, 150}, {150, 2850}};
    ASSERT_TRUE(gdiPolygon(dc(), tri, 3));
    EXPECT_TRUE(black(40, 40));
    EXPECT_FALSE(black(160, 160));
    dib_.fill(kWhite);
    ASSERT_TRUE(gdiPolyline(dc(), tri, 3));
    EXPECT_FALSE(black(40, 40)) << "a polyline is not filled";
    EXPECT_FALSE(black(10, 100)) << "nor closed";
    ASSERT_TRUE(gdiEllipse(dc(), 150, 150, 2850, 2850));
    EXPECT_TRUE(black(100, 100));
    dib_.fill(kWhite);
    ASSERT_TRUE(gdiPie(dc(), 150, 150, 2850, 2850, 2850, 1500, 1500, 150));
    EXPECT_TRUE(black(140, 60));
    EXPECT_FALSE(black(60, 140));
    dib_.fill(kWhite);
    SelectObject(dc(), GetStockObject(NULL_BRUSH));
    ASSERT_TRUE(gdiArc(dc(), 150, 150, 2850, 2850, 2850, 1500, 1500, 150));
    EXPECT_EQ(0, dib_.count(kBlack, RECT{0, 0, 100, 200}));
    EXPECT_GT(dib_.count(kBlack, RECT{100, 0, 200, 100}), 0);
    ASSERT_TRUE(gdiTextOut(dc(), 150, 150, "Ab", 2));
    ASSERT_TRUE(gdiExtTextOut(dc(), 150, 600, 0, nullptr, "Ab", 2, nullptr));
}

TEST_F(Drawing, RotatedRectangles)
{
    SelectObject(dc(), GetStockObject(BLACK_BRUSH));
    POINT c = {1500, 1500};
    ASSERT_TRUE(gdiRectAtRotated(dc(), c, 1200, 300, 0.0));
    qmtest::Dib flat(200, 200);
    dmSetMapping(flat.dc());
    SelectObject(flat.dc(), GetStockObject(BLACK_BRUSH));
    gdiRectangle(flat.dc(), 300, 1200, 2700, 1800);
    EXPECT_EQ(0, dib_.diff(flat)) << "angle 0 is gdiRectangle";
    EXPECT_TRUE(black(25, 100));
    EXPECT_FALSE(black(100, 25));

    dib_.fill(kWhite);
    ASSERT_TRUE(gdiRectAtRotated(dc(), c, 1200, 300, 3.141592654 / 2));
    EXPECT_TRUE(black(100, 25));
    EXPECT_FALSE(black(25, 100));
}

TEST_F(Drawing, ThreeDFramesDrawOneRingPerLevel)
{
    SetMapMode(dc(), MM_TEXT);
    const COLORREF blue = RGB(0, 0, 255);
    dib_.fill(blue);
    const COLORREF tl[3] = {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)};
    const COLORREF br[3] = {RGB(11, 11, 11), RGB(12, 12, 12), RGB(13, 13, 13)};
    HGDIOBJ pen = GetCurrentObject(dc(), OBJ_PEN);
    RECT r = {10, 10, 50, 40};
    gdiDraw3DFrame(dc(), &r, 3, tl, br);
    EXPECT_EQ(tl[0], dib_.pixel(10, 25));
    EXPECT_EQ(tl[1], dib_.pixel(11, 25));
    EXPECT_EQ(tl[2], dib_.pixel(12, 25));
    EXPECT_EQ(blue, dib_.pixel(13, 25));
    EXPECT_EQ(tl[0], dib_.pixel(30, 10));
    EXPECT_EQ(br[0], dib_.pixel(50, 25));
    EXPECT_EQ(br[1], dib_.pixel(49, 25));
    EXPECT_EQ(br[2], dib_.pixel(48, 25));
    EXPECT_EQ(blue, dib_.pixel(47, 25));
    EXPECT_EQ(br[0], dib_.pixel(30, 40));
    EXPECT_EQ(pen, GetCurrentObject(dc(), OBJ_PEN)) << "the previous pen is back";
    EXPECT_EQ(10, r.left) << "the caller's rectangle is not changed";
}

TEST_F(Drawing, ButtonEdgesUseTheSystemColours)
{
    SetMapMode(dc(), MM_TEXT);
    const COLORREF blue = RGB(0, 0, 255);
    struct Case {
        BOOL raised;
        int32_t depth;
        COLORREF left0, left1, right0, right1;   // outer and second ring
    } cases[] = {
        {TRUE, 2, highlight, light, dark, shadow},
        {TRUE, 5, highlight, light, dark, shadow},   // limited to two rings
        {TRUE, 1, highlight, blue, shadow, blue},
        {FALSE, 2, dark, shadow, highlight, light},
        {FALSE, 1, dark, blue, highlight, blue},
    };
    RECT r = {10, 10, 50, 40};
    for (const Case &c : cases) {
        dib_.fill(blue);
        gdiDrawButtonEdge(dc(), &r, c.raised, c.depth);
        EXPECT_EQ(c.left0, dib_.pixel(10, 25)) << c.raised << " depth " << c.depth;
        EXPECT_EQ(c.left1, dib_.pixel(11, 25)) << c.raised << " depth " << c.depth;
        EXPECT_EQ(blue, dib_.pixel(12, 25)) << c.raised << " depth " << c.depth;
        EXPECT_EQ(c.right0, dib_.pixel(50, 25)) << c.raised << " depth " << c.depth;
        EXPECT_EQ(c.right1, dib_.pixel(49, 25)) << c.raised << " depth " << c.depth;
        EXPECT_EQ(blue, dib_.pixel(48, 25)) << c.raised << " depth " << c.depth;
    }
    dib_.fill(blue);
    gdiDrawButtonEdgeInset(dc(), &r);
    EXPECT_EQ(dark, dib_.pixel(49, 25)) << "right edge one in";
    EXPECT_EQ(dark, dib_.pixel(30, 38)) << "bottom edge two in";
    EXPECT_EQ(blue, dib_.pixel(50, 25));
    EXPECT_EQ(highlight, dib_.pixel(10, 25));

    RECT d = {10, 10, 50, 40};
    geoDeflateRect3(&d);
    EXPECT_EQ(13, d.left);
    EXPECT_EQ(13, d.top);
    EXPECT_EQ(47, d.right);
    EXPECT_EQ(37, d.bottom);
}

TEST_F(Drawing, EdgeFramesAreBevelRingsInsideTheRectangle)
{
    SetMapMode(dc(), MM_TEXT);
    const COLORREF blue = RGB(0, 0, 255);
    const COLORREF tl[2] = {RGB(1, 1, 1), RGB(2, 2, 2)};
    const COLORREF br[2] = {RGB(11, 11, 11), RGB(12, 12, 12)};
    dib_.fill(blue);
    RECT r = {10, 10, 50, 40};
    gdiDrawEdgeColours(dc(), r, 2, tl, br);
    // The outer ring runs along the rectangle's last column and row, and
    // nothing is drawn outside it.
    EXPECT_EQ(br[0], dib_.pixel(49, 25));
    EXPECT_EQ(br[0], dib_.pixel(30, 39));
    EXPECT_EQ(br[1], dib_.pixel(48, 25));
    EXPECT_EQ(blue, dib_.pixel(47, 25));
    EXPECT_EQ(200 * 200 - 40 * 30, dib_.count(blue) - dib_.count(blue, RECT{10, 10, 50, 40}));
    // Corners: top-left colour at the bottom-left, bottom-right colour at
    // the top-right, ring by ring.
    EXPECT_EQ(tl[0], dib_.pixel(10, 10));
    EXPECT_EQ(tl[0], dib_.pixel(10, 39));
    EXPECT_EQ(br[0], dib_.pixel(49, 10));
    EXPECT_EQ(br[0], dib_.pixel(49, 39));
    EXPECT_EQ(tl[1], dib_.pixel(11, 38));
    EXPECT_EQ(br[1], dib_.pixel(48, 11));

    // The same pixels as the bevel rings on the rectangle one pixel in.
    qmtest::Dib rings(200, 200, blue);
    RECT in = {10, 10, 49, 39};
    gdiDraw3DFrame(rings.dc(), &in, 2, tl, br);
    EXPECT_EQ(0, dib_.diff(rings));

    // A rectangle too small for the rings gets only those that fit.
    dib_.fill(blue);
    gdiDrawEdgeColours(dc(), RECT{10, 10, 12, 30}, 2, tl, br);
    EXPECT_EQ(2 * 20, 200 * 200 - dib_.count(blue));
    EXPECT_EQ(0, dib_.count(tl[1]) + dib_.count(br[1]));
    dib_.fill(blue);
    gdiDrawEdgeColours(dc(), RECT{10, 10, 10, 30}, 2, tl, br);
    EXPECT_EQ(200 * 200, dib_.count(blue)) << "an empty rectangle draws nothing";
}

TEST_F(Drawing, RaisedEdgesAndTheScrollButtonEdge)
{
    SetMapMode(dc(), MM_TEXT);
    const COLORREF blue = RGB(0, 0, 255);
    RECT r = {10, 10, 50, 40};
    struct Case {
        BOOL raised;
        int depth;
        COLORREF left0, left1, right0, right1;
    } cases[] = {
        {TRUE, 2, highlight, light, dark, shadow},
        {TRUE, 1, highlight, blue, dark, blue},   // depth 1 keeps the dark shadow
        {TRUE, 7, highlight, light, dark, shadow},
        {FALSE, 2, dark, shadow, highlight, light},
    };
    for (const Case &c : cases) {
        dib_.fill(blue);
        gdiDraw3DEdge(dc(), r, c.raised, c.depth);
        EXPECT_EQ(c.left0, dib_.pixel(10, 25)) << c.raised << " depth " << c.depth;
        EXPECT_EQ(c.left1, dib_.pixel(11, 25)) << c.raised << " depth " << c.depth;
        EXPECT_EQ(c.right0, dib_.pixel(49, 25)) << c.raised << " depth " << c.depth;
        EXPECT_EQ(c.right1, dib_.pixel(48, 25)) << c.raised << " depth " << c.depth;
        EXPECT_EQ(c.left0, dib_.pixel(10, 39)) << "bottom-left corner";
        EXPECT_EQ(c.right0, dib_.pixel(49, 10)) << "top-right corner";
    }
    // The scroll button's edge: inside the rectangle less 1 at the right and
    // 2 at the bottom.
    dib_.fill(blue);
    gdiDrawButtonEdge(dc(), r);
    EXPECT_EQ(dark, dib_.pixel(48, 25));
    EXPECT_EQ(blue, dib_.pixel(49, 25));
    EXPECT_EQ(dark, dib_.pixel(30, 37));
    EXPECT_EQ(blue, dib_.pixel(30, 38));
    EXPECT_EQ(highlight, dib_.pixel(10, 37));
}

TEST_F(Drawing, DownTriangleIsTheDropArrow)
{
    SetMapMode(dc(), MM_TEXT);
    const COLORREF red = RGB(255, 0, 0);
    gdiDrawDownTriangle(dc(), POINT{20, 20}, 3, red, 1);
    qmtest::Dib arrow(200, 200);
    gdiDrawDropArrow(arrow.dc(), POINT{20, 20}, 3, red, 1);
    EXPECT_EQ(13 + 11 + 9 + 7 + 5 + 3 + 1, dib_.count(red));
    EXPECT_EQ(0, dib_.diff(arrow));
}

TEST_F(Drawing, DropArrowIsATriangleOfPixels)
{
    SetMapMode(dc(), MM_TEXT);
    const COLORREF red = RGB(255, 0, 0);
    gdiDrawDropArrow(dc(), POINT{20, 20}, 2, red, 1);
    EXPECT_EQ(9 + 7 + 5 + 3 + 1, dib_.count(red));
    EXPECT_EQ(9, dib_.count(red, RECT{0, 18, 200, 19})) << "the first row, 16 .. 24";
    EXPECT_EQ(red, dib_.pixel(16, 18));
    EXPECT_EQ(red, dib_.pixel(24, 18));
    EXPECT_EQ(1, dib_.count(red, RECT{0, 22, 200, 23}));
    EXPECT_EQ(red, dib_.pixel(20, 22));
    dib_.fill(kWhite);
    gdiDrawDropArrow(dc(), POINT{20, 20}, 2, red, 0);
    gdiDrawDropArrow(dc(), POINT{20, 20}, 2, red, 2);
    EXPECT_EQ(0, dib_.count(red));
}


// ---- outlines of wide pens -------------------------------------------------------------

// The pixels of one figure drawn with the primitive and with the plain
// system call under the same pen, brush and mapping.
struct WideCase {
    const char *shape;
    int zoom;
    int32_t penTwips;
    int style;
    bool filled;
};

std::string describe(const WideCase &c)
{
    char text[160];
    snprintf(text, sizeof text, "%s at %d%%, %d-twip %s pen, %s", c.shape, c.zoom, c.penTwips,
             c.style == PS_SOLID ? "solid" : "dashed", c.filled ? "filled" : "hollow");
    return text;
}

// Lines at every kind of slant, both ways, and one of no length.
const POINT kLines[][2] = {{{310, 300}, {2190, 300}},   {{400, 1600}, {400, 200}},
                           {{2100, 1500}, {300, 400}},  {{500, 300}, {700, 1550}},
                           {{1800, 290}, {2150, 1400}}, {{1200, 800}, {1200, 800}},
                           {{260, 1000}, {2200, 1100}}};
const int kLineCount = (int)(sizeof kLines / sizeof kLines[0]);

// Draws the named figure with the primitive (own) or the bare system call.
// The figures drawn.
int drawFigure(HDC dc, const char *shape, bool own)
{
    // Logical twips, away from pixel multiples so that the mapping rounds.
    const int32_t l = 301, t = 287, r = 2213, b = 1606;
    const POINT poly[6] = {{310, 1500}, {1010, 297}, {2190, 820}, {1900, 1590},
                           {1200, 1180}, {640, 1610}};
    const POINT box[4] = {{l, t}, {r, t}, {r, b}, {l, b}};
    if (strcmp(shape, "box") == 0)
        own ? gdiPolygon(dc, box, 4) : Polygon(dc, box, 4);
    else if (strcmp(shape, "rectangle") == 0)
        own ? gdiRectanglePlain(dc, l, t, r, b) : Rectangle(dc, l, t, r, b);
    else if (strcmp(shape, "ellipse") == 0)
        own ? gdiEllipse(dc, l, t, r, b) : Ellipse(dc, l, t, r, b);
    else if (strcmp(shape, "small ellipse") == 0)
        own ? gdiEllipse(dc, 400, 400, 497, 530) : Ellipse(dc, 400, 400, 497, 530);
    else if (strcmp(shape, "rounded box") == 0)
        own ? gdiRoundRectPlain(dc, l, t, r, b, 610, 455) : RoundRect(dc, l, t, r, b, 610, 455);
    else if (strcmp(shape, "polygon") == 0)
        own ? gdiPolygon(dc, poly, 6) : Polygon(dc, poly, 6);
    else if (strcmp(shape, "polyline") == 0)
        own ? gdiPolyline(dc, poly, 6) : Polyline(dc, poly, 6);
    else if (strcmp(shape, "turned ellipse") == 0 || strcmp(shape, "closed curve") == 0) {
        // Drawn as the polygon of their points.
        int16_t n = 0;
        MemHandle block = 0;
        if (shape[0] == 't') {
            if (own)
                return gdiEllipseRotated(dc, l, t, r, b, 300), 1;
            block = geoEllipsePolygon(l, t, r, b, 300, &n);
        } else {
            if (own)
                return gdiPolyBezierClosed(dc, poly, 4), 1;
            block = geoFlattenBezier(poly, 4, &n);
        }
        {
            MemLock<POINT> p(block);
            EXPECT_TRUE(p && n > 2) << shape;
            if (p)
                Polygon(dc, p.get(), n);
        }
        utFreeHandle(block);
    } else if (strcmp(shape, "lines") == 0) {
        // Each from a new position; each leaves the position at its end.
        for (const POINT *line : kLines) {
            if (own) {
                gdiLinePts(dc, line[0], line[1]);
            } else {
                MoveToEx(dc, line[0].x, line[0].y, nullptr);
                LineTo(dc, line[1].x, line[1].y);
            }
            POINT at = {};
            GetCurrentPositionEx(dc, &at);
            EXPECT_TRUE(at.x == line[1].x && at.y == line[1].y) << "the position after a line";
        }
        return kLineCount;
    } else if (strcmp(shape, "lines in turn") == 0) {
        MoveToEx(dc, poly[0].x, poly[0].y, nullptr);
        for (int i = 1; i < 6; ++i)
            own ? gdiLineToPt(dc, poly[i]) : LineTo(dc, poly[i].x, poly[i].y);
        POINT at = {};
        GetCurrentPositionEx(dc, &at);
        EXPECT_TRUE(at.x == poly[5].x && at.y == poly[5].y) << "the position after the lines";
        return 5;
    }
    return 1;
}

// Pixels that differ between the two drawings, and of those the ones that
// are not on an edge of the system's drawing (a pixel whose four
// neighbours are not all of its own colour there).
void compareDrawings(const qmtest::Dib &own, const qmtest::Dib &system, int *differ, int *inner)
{
    *differ = *inner = 0;
    for (int y = 0; y < own.height(); ++y)
        for (int x = 0; x < own.width(); ++x) {
            COLORREF want = system.pixel(x, y);
            if (own.pixel(x, y) == want)
                continue;
            ++*differ;
            bool edge = false;
            const int nx[4] = {x - 1, x + 1, x, x}, ny[4] = {y, y, y - 1, y + 1};
            for (int k = 0; k < 4; ++k)
                if (nx[k] >= 0 && ny[k] >= 0 && nx[k] < own.width() && ny[k] < own.height() &&
                    system.pixel(nx[k], ny[k]) != want)
                    edge = true;
            if (!edge)
                ++*inner;
        }
}

TEST(WideOutlines, DrawTheSystemPensPixels)
{
    const char *shapes[] = {"box",           "rectangle",      "ellipse", "small ellipse",
                            "rounded box",   "polygon",        "polyline", "lines",
                            "lines in turn", "turned ellipse", "closed curve"};
    // A logical unit of less than a pixel, and at 1600 percent of more.
    const int zooms[] = {100, 125, 150, 200, 300, 1600};
    // 1 to 8 pixels at 100 percent, and between.
    const int32_t widths[] = {15, 20, 30, 40, 45, 60, 75, 90, 105, 120};
    const int styles[] = {PS_SOLID, PS_DASH};
    int cases = 0, exact = 0, wide = 0;
    uint32_t outlines = gdiWideOutlineCount();
    for (const char *shape : shapes)
        for (int zoom : zooms)
            for (int32_t w : widths)
                for (int style : styles)
                    for (bool filled : {false, true}) {
                        if (zoom > 300 && w > 20)
                            continue;   // the system takes long over pens this wide
                        if (filled && strstr(shape, "line"))
                            continue;   // lines have no inside
                        WideCase c = {shape, zoom, w, style, filled};
                        qmtest::Dib own(200, 150), system(200, 150);
                        for (const qmtest::Dib *d : {&own, &system}) {
                            HDC dc = d->dc();
                            dmResetModule();
                            dmSetZoomDC(dc, zoom);
                            GdiObject<HPEN> pen(CreatePen(style, w, RGB(0, 0, 128)));
                            GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(250, 200, 0)));
                            GdiSelect selPen(dc, pen);
                            GdiSelect selBrush(dc, filled ? (HGDIOBJ)brush.get()
                                                          : GetStockObject(NULL_BRUSH));
                            int figures = drawFigure(dc, shape, d == &own);
                            if (d == &own && floor(w * zoom / 1500.0 + 0.5) >= 2)
                                wide += figures;
                        }
                        int differ, inner;
                        compareDrawings(own, system, &differ, &inner);
                        ++cases;
                        exact += differ == 0;
                        EXPECT_EQ(0, inner) << describe(c) << ": " << differ << " pixels differ";
                        EXPECT_LE(differ, 8) << describe(c);
                    }
    dmResetModule();
    EXPECT_EQ(cases, exact) << "drawings that differ at all on an edge";
    // Every case of two pixels or more went the outline path.
    EXPECT_EQ((uint32_t)wide, gdiWideOutlineCount() - outlines);
}

// A bitmap selected into a memory DC, white: a DIB section of some depth,
// either way up, or a bitmap compatible with the screen. Its pixels read
// back top down as 0x00RRGGBB.
class Canvas {
public:
    static const int kW = 200, kH = 150;
    Canvas(int bits, bool topDown, bool compatible)
    {
        dc_ = CreateCompatibleDC(nullptr);
        if (compatible) {
            HDC screen = GetDC(nullptr);
            bmp_ = CreateCompatibleBitmap(screen, kW, kH);
            ReleaseDC(nullptr, screen);
        } else {
            BITMAPINFO bi = {};
            bi.bmiHeader.biSize = sizeof bi.bmiHeader;
            bi.bmiHeader.biWidth = kW;
            bi.bmiHeader.biHeight = topDown ? -kH : kH;
            bi.bmiHeader.biPlanes = 1;
            bi.bmiHeader.biBitCount = (WORD)bits;
            void *pixels = nullptr;
            bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &pixels, nullptr, 0);
        }
        old_ = SelectObject(dc_, bmp_);
        PatBlt(dc_, 0, 0, kW, kH, WHITENESS);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    bool ok() const { return dc_ && bmp_ && old_; }
    HDC dc() const { return dc_; }
    std::vector<uint32_t> pixels() const
    {
        std::vector<uint32_t> out((size_t)kW * kH);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = kW;
        bi.bmiHeader.biHeight = -kH;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        GdiFlush();
        if (GetDIBits(dc_, bmp_, 0, kH, out.data(), &bi, DIB_RGB_COLORS) != kH)
            out.clear();
        for (uint32_t &p : out)
            p &= 0xFFFFFF;
        return out;
    }

private:
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
};

// Every kind of bitmap (those whose pixels the outline is written into,
// either way up, and those painted through the system's calls) and clip
// region (none, a rectangle, an ellipse cutting through the figures) gets
// the system's pixels.
TEST(WideOutlines, EveryBitmapAndClipRegionGetsTheSystemsPixels)
{
    struct Target {
        const char *what;
        int bits;
        bool topDown, compatible;
    } targets[] = {{"32-bit top-down DIB section", 32, true, false},
                   {"32-bit bottom-up DIB section", 32, false, false},
                   {"24-bit bottom-up DIB section", 24, false, false},
                   {"24-bit top-down DIB section", 24, true, false},
                   {"16-bit DIB section", 16, true, false},
                   {"bitmap compatible with the screen", 0, true, true}};
    const char *clips[] = {"no clip region", "a clip rectangle", "an elliptic clip region"};
    const char *shapes[] = {"rectangle", "ellipse", "rounded box", "polygon", "polyline", "lines"};
    int cases = 0;
    for (const Target &target : targets)
        for (const char *clip : clips)
            for (const char *shape : shapes)
                for (int zoom : {100, 200})
                    for (int32_t w : {30, 75}) {
                        // Dashed and filled in turn.
                        const int style = (cases & 1) ? PS_DASH : PS_SOLID;
                        const bool filled = (cases & 2) != 0;
                        ++cases;
                        Canvas own(target.bits, target.topDown, target.compatible);
                        Canvas system(target.bits, target.topDown, target.compatible);
                        ASSERT_TRUE(own.ok() && system.ok()) << target.what;
                        for (const Canvas *d : {&own, &system}) {
                            HDC dc = d->dc();
                            dmResetModule();
                            dmSetZoomDC(dc, zoom);
                            if (clip == clips[1]) {
                                IntersectClipRect(dc, 700, 500, 1900, 1400);
                            } else if (clip == clips[2]) {
                                GdiObject<HRGN> region(CreateEllipticRgn(10, 5, 190, 110));
                                SelectClipRgn(dc, region);
                            }
                            GdiObject<HPEN> pen(CreatePen(style, w, RGB(0, 0, 128)));
                            GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(250, 200, 0)));
                            GdiSelect selPen(dc, pen);
                            GdiSelect selBrush(dc, filled ? (HGDIOBJ)brush.get()
                                                          : GetStockObject(NULL_BRUSH));
                            drawFigure(dc, shape, d == &own);
                        }
                        std::vector<uint32_t> mine = own.pixels(), theirs = system.pixels();
                        ASSERT_EQ((size_t)Canvas::kW * Canvas::kH, mine.size()) << target.what;
                        int differ = 0;
                        for (size_t i = 0; i < mine.size(); ++i)
                            differ += mine[i] != theirs[i];
                        EXPECT_EQ(0, differ)
                            << shape << " at " << zoom << "%, " << w << "-twip "
                            << (style == PS_DASH ? "dashed" : "solid") << " pen, "
                            << (filled ? "filled" : "hollow") << ", " << target.what << ", "
                            << clip;
                    }
    dmResetModule();
}

// Where the outline path does not apply, the system's own call draws.
TEST(WideOutlines, OtherModesAndPensAreTheSystems)
{
    struct Mode {
        const char *what;
        int rop;
        int penStyle;
    } modes[] = {{"xor", R2_NOTXORPEN, PS_SOLID},
                 {"inside frame", R2_COPYPEN, PS_INSIDEFRAME},
                 {"null", R2_COPYPEN, PS_NULL}};
    for (const Mode &m : modes) {
        qmtest::Dib own(200, 150), system(200, 150);
        for (const qmtest::Dib *d : {&own, &system}) {
            HDC dc = d->dc();
            dmResetModule();
            dmSetZoomDC(dc, 200);
            SetROP2(dc, m.rop);
            GdiObject<HPEN> pen(CreatePen(m.penStyle, 60, RGB(0, 0, 128)));
            GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(250, 200, 0)));
            GdiSelect selPen(dc, pen);
            GdiSelect selBrush(dc, brush);
            drawFigure(dc, "ellipse", d == &own);
            drawFigure(dc, "polygon", d == &own);
        }
        EXPECT_EQ(0, own.diff(system)) << m.what;
    }
    dmResetModule();
}

}  // namespace
