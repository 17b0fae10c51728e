// The colour palette window: strip geometry, the X pen rule, painting on
// real pixels, presses and menus driven by posted messages, the palette
// edits, the current colours, the style switch and the palette commands.
#include "tests/controls/pal_fixture.h"
#include "support/ff_file.h"

using bltest::commandsWith;
using bltest::pump;
using paltest::PaletteTest;
using paltest::rainbow;
using qmtest::BoxRecorder;

namespace {

RECT rc(int l, int t, int r, int b)
{
    RECT x = {l, t, r, b};
    return x;
}

::testing::AssertionResult sameRect(const RECT &want, const RECT &got)
{
    if (EqualRect(&want, &got))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "want {" << want.left << "," << want.top << "," << want.right << "," << want.bottom
           << "} got {" << got.left << "," << got.top << "," << got.right << "," << got.bottom
           << "}";
}

}  // namespace

TEST(PaletteStripGeometry, IndicatorScrollButtonsAndSwatchArea)
{
    struct Case {
        bool indicator;
        RECT indicatorRect, back, forward, area;
        int half;
    } cases[] = {
        {true, rc(0, 0, 48, 34), rc(49, 0, 65, 34), rc(285, 0, 301, 34), rc(65, 0, 285, 34), 17},
        {false, rc(0, 0, 0, 0), rc(0, 0, 16, 34), rc(285, 0, 301, 34), rc(16, 0, 285, 34), 17},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.indicator);
        ClrStripGeometry g;
        clrStripLayout(rc(0, 0, 300, 34), c.indicator, &g);
        EXPECT_TRUE(sameRect(c.indicatorRect, g.indicator));
        EXPECT_TRUE(sameRect(c.back, g.scrollBack));
        EXPECT_TRUE(sameRect(c.forward, g.scrollForward));
        EXPECT_TRUE(sameRect(c.area, g.area));
        EXPECT_EQ(c.half, g.half);
    }
}

// Two rows of swatches: even ones above, odd ones below, a grid line between.
TEST(PaletteStripGeometry, SwatchesFillTwoRowsAndStopAtTheRightEdge)
{
    ClrStripGeometry g;
    clrStripLayout(rc(0, 0, 300, 35), true, &g);   // area 65..285, half 17
    struct Case {
        int first, index;
        bool shown;
        RECT rect;
    } cases[] = {
        {0, 0, true, rc(66, 0, 81, 17)},      {0, 1, true, rc(66, 18, 81, 35)},
        {0, 2, true, rc(82, 0, 97, 17)},      {0, 27, true, rc(274, 18, 289, 35)},
        {0, 28, false, rc(0, 0, 0, 0)},       // column 14 starts at 289, past the area
        {1, 2, true, rc(66, 0, 81, 17)},      {1, 1, false, rc(0, 0, 0, 0)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "first " << c.first << " index " << c.index);
        RECT r = {0, 0, 0, 0};
        EXPECT_EQ(c.shown, clrSwatchRect(g, c.first, c.index, &r));
        if (c.shown) {
            EXPECT_TRUE(sameRect(c.rect, r));
        }
    }
    EXPECT_EQ(14, clrVisibleColumns(g));
}

TEST(PaletteStripGeometry, HitTestFindsSwatchesAndLeavesTheOddLastLowerSlotEmpty)
{
    ClrStripGeometry g;
    clrStripLayout(rc(0, 0, 300, 35), true, &g);
    struct Case {
        int first, count, x, y, want;
    } cases[] = {
        {0, 5, 70, 5, 0},   {0, 5, 70, 20, 1},  {0, 5, 86, 30, 3},   {0, 5, 98, 5, 4},
        {0, 5, 98, 20, -1},  // the fifth colour has no partner below it
        {0, 5, 70, 17, -1},  // the line between the rows
        {0, 5, 65, 5, -1},   // the line left of the first column
        {0, 5, 20, 5, -1},   // the indicator
        {2, 9, 70, 5, 4},   {2, 9, 70, 20, 5},  {0, 0, 70, 5, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " first " << c.first);
        POINT pt = {c.x, c.y};
        EXPECT_EQ(c.want, clrStripHitTest(g, c.first, c.count, pt));
    }
}

TEST(PaletteStripGeometry, FirstColumnMovesBackUntilTheEndIsShown)
{
    ClrStripGeometry g;
    clrStripLayout(rc(0, 0, 300, 35), true, &g);   // 14 columns shown
    struct Case {
        int first, count, want;
    } cases[] = {
        {0, 10, 0}, {3, 10, 0}, {10, 40, 6}, {3, 40, 3}, {6, 40, 6}, {19, 39, 6}, {2, 0, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.want, clrClampFirst(g, c.first, c.count)) << c.first << " of " << c.count;
}

TEST(PaletteIndicator, XPenTurnsAroundRedGreenBlueSum255)
{
    struct Case {
        COLORREF colour;
        ClrXPen pen;
    } cases[] = {
        {RGB(255, 0, 0), CLR_XPEN_INVERT}, {RGB(0, 0, 255), CLR_XPEN_INVERT},
        {RGB(100, 100, 55), CLR_XPEN_INVERT}, {RGB(254, 0, 0), CLR_XPEN_WHITE},
        {RGB(0, 0, 0), CLR_XPEN_WHITE},       {RGB(255, 1, 0), CLR_XPEN_BLACK},
        {RGB(255, 255, 255), CLR_XPEN_BLACK},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.pen, clrXMarkPen(c.colour)) << std::hex << c.colour;
}

TEST(PaletteIndicator, SquaresAndXCentres)
{
    RECT ind = rc(0, 0, 48, 32);
    RECT frameSq, foreSq;
    clrIndicatorSquares(ind, &frameSq, &foreSq);
    EXPECT_TRUE(sameRect(rc(17, 12, 45, 29), frameSq));
    EXPECT_TRUE(sameRect(rc(3, 3, 31, 20), foreSq));
    POINT p = clrXMarkCentre(ind, CLR_TARGET_BACKGROUND);
    EXPECT_EQ(42, p.x);
    EXPECT_EQ(4, p.y);
    p = clrXMarkCentre(ind, CLR_TARGET_FRAME);
    EXPECT_EQ(35, p.x);
    EXPECT_EQ(20, p.y);
    p = clrXMarkCentre(ind, CLR_TARGET_FOREGROUND);
    EXPECT_EQ(13, p.x);
    EXPECT_EQ(11, p.y);
}

// ---- the window ------------------------------------------------------------------------

TEST_F(PaletteTest, PaintsSwatchesHighlightAndIndicator)
{
    std::vector<COLORREF> colours = rainbow(5);
    HWND strip = makeStrip(colours, rc(0, 0, 400, 36), RGB(0, 0, 255), colours[2], RGB(0, 128, 0));
    RECT client;
    GetClientRect(strip, &client);
    ASSERT_EQ(34, client.bottom);
    EXPECT_EQ(2, clrGetHighlight());   // the background colour's swatch

    const COLORREF paper = RGB(1, 2, 3);
    qmtest::Dib dib(client.right, client.bottom, paper);
    clrPaintStrip(strip, dib.dc(), client);
    ClrStripGeometry g = geometry(strip);

    for (int i = 0; i < 5; ++i) {
        POINT c = swatchCentre(strip, i);
        EXPECT_EQ(colours[i], dib.pixel(c.x, c.y)) << i;
    }
    // The fifth colour leaves the lower swatch of its column unpainted.
    POINT empty = swatchCentre(strip, 4);
    empty.y += g.half + 1;
    EXPECT_EQ(paper, dib.pixel(empty.x, empty.y));
    // Grid lines in the shadow colour.
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(shadow, dib.pixel(g.area.left, 5));
    EXPECT_EQ(shadow, dib.pixel(g.area.left + 16, 30));
    EXPECT_EQ(shadow, dib.pixel(g.area.left + 40, g.half));
    // The highlighted swatch is outlined by inverting its own colour.
    RECT hl;
    clrSwatchRect(g, 0, 2, &hl);
    COLORREF inverted = RGB(255 - GetRValue(colours[2]), 255 - GetGValue(colours[2]),
                            255 - GetBValue(colours[2]));
    EXPECT_EQ(inverted, dib.pixel(hl.left, hl.top + 5));
    EXPECT_EQ(colours[2], dib.pixel(hl.left + 1, hl.top + 5));
    // Indicator: background, the foreground square, the frame square's edge,
    // the black line on its right edge.
    RECT frameSq, foreSq;
    clrIndicatorSquares(g.indicator, &frameSq, &foreSq);
    EXPECT_EQ(RGB(0, 0, 0), dib.pixel(48, 20));
    EXPECT_EQ(colours[2], dib.pixel(2, 30));
    EXPECT_EQ(RGB(0, 0, 255), dib.pixel(foreSq.left + 2, foreSq.top + 2));
    EXPECT_EQ(RGB(0, 128, 0), dib.pixel(frameSq.right - 1, frameSq.bottom - 4));
    EXPECT_EQ(colours[2], dib.pixel(frameSq.right - 4, frameSq.bottom - 4));   // hollow
}

TEST_F(PaletteTest, XMarkIsBlackWhiteOrInvertingByTheJudgedColour)
{
    struct Case {
        COLORREF background, want;
    } cases[] = {
        {RGB(255, 255, 255), RGB(0, 0, 0)},
        {RGB(0, 0, 0), RGB(255, 255, 255)},
        // red + green + blue exactly 255: the pixels below are inverted through 0x8000FF
        {RGB(255, 0, 0), RGB(255, 255, 0x7F)},
    };
    for (const Case &c : cases) {
        clrResetPaletteWindowModule();
        HWND strip = makeStrip(rainbow(4), rc(0, 0, 400, 36), 0, c.background, 0);
        RECT client;
        GetClientRect(strip, &client);
        qmtest::Dib dib(client.right, client.bottom);
        clrPaintIndicator(strip, dib.dc());
        POINT x = clrXMarkCentre(geometry(strip).indicator, CLR_TARGET_BACKGROUND);
        // (The two strokes cross at the centre, where an inverting pen
        // inverts twice.)
        EXPECT_EQ(c.want, dib.pixel(x.x - 2, x.y - 2)) << std::hex << c.background;
        EXPECT_EQ(c.want, dib.pixel(x.x + 2, x.y - 2));
        EXPECT_EQ(c.background, dib.pixel(x.x + 1, x.y));
    }
}

TEST_F(PaletteTest, SwatchClickPostsThePickWithTheColour)
{
    std::vector<COLORREF> colours = rainbow(8);
    HWND strip = makeStrip(colours);
    EXPECT_EQ(-1, clrGetHighlight());
    PostMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, bltest::ListTest::at(swatchCentre(strip, 5)));
    pump();
    std::vector<bltest::Command> picks = commandsWith(CLR_CMD_PICKED);
    ASSERT_EQ(1u, picks.size());
    EXPECT_EQ((LPARAM)colours[5], picks[0].lParam);
    EXPECT_FALSE(picks[0].sent);
    EXPECT_EQ(5, clrGetHighlight());
    EXPECT_EQ(colours[5], clrGetBackColor());   // the background is the active target
    EXPECT_EQ(colours[5], clrGetTargetColor());

    // A press beside the swatches clears the highlight and picks nothing.
    POINT beside = swatchCentre(strip, 0);
    beside.y = geometry(strip).half;
    PostMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, bltest::ListTest::at(beside));
    pump();
    EXPECT_EQ(-1, clrGetHighlight());
    EXPECT_EQ(1u, commandsWith(CLR_CMD_PICKED).size());
}

TEST_F(PaletteTest, IndicatorPressChoosesTheTargetAndTheHighlightFollows)
{
    std::vector<COLORREF> colours = rainbow(8);
    HWND strip = makeStrip(colours, rc(0, 0, 400, 36), colours[3], colours[1], colours[6]);
    EXPECT_EQ(CLR_TARGET_BACKGROUND, clrGetActiveTarget());
    EXPECT_EQ(1, clrGetHighlight());
    RECT frameSq, foreSq;
    clrIndicatorSquares(geometry(strip).indicator, &frameSq, &foreSq);
    struct Case {
        POINT at;
        int target, highlight;
    } cases[] = {
        {{foreSq.left + 2, foreSq.top + 2}, CLR_TARGET_FOREGROUND, 3},
        {{frameSq.right - 2, frameSq.bottom - 2}, CLR_TARGET_FRAME, 6},
        {{46, 2}, CLR_TARGET_BACKGROUND, 1},
    };
    for (const Case &c : cases) {
        PostMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, bltest::ListTest::at(c.at));
        pump();
        EXPECT_EQ(c.target, clrGetActiveTarget());
        EXPECT_EQ(c.highlight, clrGetHighlight());
    }
    EXPECT_TRUE(commandsWith(CLR_CMD_PICKED).empty());

    // A current colour that no swatch holds leaves no swatch highlighted.
    clrSetBackColor(RGB(1, 1, 1));
    EXPECT_EQ(-1, clrGetHighlight());
}

TEST_F(PaletteTest, DoubleClickChangesASwatchOrATargetThroughTheChooser)
{
    std::vector<COLORREF> colours = rainbow(6);
    HWND strip = makeStrip(colours);
    paltest::chooser().answer = RGB(9, 8, 7);
    PostMessageA(strip, WM_LBUTTONDBLCLK, MK_LBUTTON, bltest::ListTest::at(swatchCentre(strip, 4)));
    pump();
    ASSERT_EQ(1u, paltest::chooser().captions.size());
    EXPECT_EQ("Change Palette Color", paltest::chooser().captions[0]);
    EXPECT_EQ(colours[4], paltest::chooser().shown[0]);
    colours[4] = RGB(9, 8, 7);
    EXPECT_EQ(colours, windowColours());
    std::vector<bltest::Command> changes = commandsWith(CLR_CMD_CHANGED);
    ASSERT_EQ(1u, changes.size());
    EXPECT_EQ(0, changes[0].lParam);

    // In the indicator: the target's colour, titled by the target.
    paltest::chooser().answer = colours[2];
    PostMessageA(strip, WM_LBUTTONDBLCLK, MK_LBUTTON, bltest::ListTest::at(POINT{46, 2}));
    pump();
    ASSERT_EQ(2u, paltest::chooser().captions.size());
    EXPECT_EQ("Background Color", paltest::chooser().captions[1]);
    EXPECT_EQ(colours[2], clrGetBackColor());
    EXPECT_EQ(2, clrGetHighlight());
    ASSERT_EQ(1u, commandsWith(CLR_CMD_PICKED).size());
    EXPECT_EQ((LPARAM)colours[2], commandsWith(CLR_CMD_PICKED)[0].lParam);

    // Cancelled: nothing changes.
    paltest::chooser().ok = false;
    PostMessageA(strip, WM_LBUTTONDBLCLK, MK_LBUTTON, bltest::ListTest::at(swatchCentre(strip, 0)));
    pump();
    EXPECT_EQ(colours, windowColours());
    EXPECT_EQ(1u, commandsWith(CLR_CMD_CHANGED).size());

    // With the indicator hidden a double-click does nothing.
    paltest::chooser().ok = true;
    clrHideIndicator(strip);
    PostMessageA(strip, WM_LBUTTONDBLCLK, MK_LBUTTON, bltest::ListTest::at(swatchCentre(strip, 0)));
    pump();
    EXPECT_EQ(3u, paltest::chooser().captions.size());
}

TEST_F(PaletteTest, HidingTheIndicatorMovesTheLeftScrollButtonToTheEdge)
{
    HWND strip = makeStrip(rainbow(6));
    ColorMenuRecord r;
    ASSERT_TRUE(clrGetRecord(strip, &r));
    HWND back = qmU32ToHandle<HWND>(r.scrollBack);
    RECT b;
    GetWindowRect(back, &b);
    MapWindowPoints(nullptr, strip, (POINT *)&b, 2);
    EXPECT_EQ(49, b.left);
    clrHideIndicator(strip);
    GetWindowRect(back, &b);
    MapWindowPoints(nullptr, strip, (POINT *)&b, 2);
    EXPECT_EQ(0, b.left);
    clrShowIndicator(strip);
    GetWindowRect(back, &b);
    MapWindowPoints(nullptr, strip, (POINT *)&b, 2);
    EXPECT_EQ(49, b.left);
}

TEST_F(PaletteTest, RightPressMenus)
{
    std::vector<COLORREF> colours = rainbow(6);
    HWND strip = makeStrip(colours);
    paltest::menus().answer = CLR_CMD_SET_FRAME;
    PostMessageA(strip, WM_RBUTTONDOWN, MK_RBUTTON, bltest::ListTest::at(POINT{10, 10}));
    pump();
    ASSERT_EQ(1u, paltest::menus().seen.size());
    const paltest::MenuSeen &targets = paltest::menus().seen[0];
    EXPECT_EQ((std::vector<UINT>{400, 401, 402, 403}), targets.ids);
    EXPECT_EQ((std::vector<std::string>{"Foreground", "Frame/Line", "Background", "Help..."}),
              targets.texts);
    EXPECT_EQ((std::vector<bool>{false, false, true, false}), targets.checked);
    EXPECT_EQ(CLR_TARGET_FRAME, clrGetActiveTarget());

    // On the swatches: the highlight moves there and the palette menu opens;
    // its commands go on to the frame.
    paltest::menus().answer = CLR_CMD_SWITCH_STYLE;
    PostMessageA(strip, WM_RBUTTONDOWN, MK_RBUTTON, bltest::ListTest::at(swatchCentre(strip, 3)));
    pump();
    ASSERT_EQ(2u, paltest::menus().seen.size());
    const paltest::MenuSeen &palette = paltest::menus().seen[1];
    EXPECT_EQ((std::vector<UINT>{25, 0, 620, 621, 622, 623, 1243, 0, 500}), palette.ids);
    EXPECT_EQ("&Switch Style", palette.texts[0]);
    EXPECT_EQ("&Pick Color", palette.texts[6]);
    EXPECT_EQ(3, clrGetHighlight());
    ASSERT_EQ(1u, commandsWith(CLR_CMD_SWITCH_STYLE).size());
    EXPECT_TRUE(clrGetStripWindow() != nullptr);   // the frame does the switching
}

TEST_F(PaletteTest, ScrollCommandsMoveByOneColumnWithinTheColours)
{
    HWND strip = makeStrip(rainbow(40), rc(0, 0, 300, 36));   // 20 columns, 14 shown
    auto first = [&]() {
        ColorMenuRecord r;
        clrGetRecord(strip, &r);
        return r.first;
    };
    SendMessageA(strip, WM_COMMAND, CLR_CMD_SCROLL_BACK, 0);
    EXPECT_EQ(0, first());
    for (int i = 0; i < 10; ++i)
        SendMessageA(strip, WM_COMMAND, CLR_CMD_SCROLL_FORWARD, 0);
    EXPECT_EQ(6, first());   // the last column touches the right end
    SendMessageA(strip, WM_COMMAND, CLR_CMD_SCROLL_BACK, 0);
    EXPECT_EQ(5, first());

    // Widening the strip so that all columns fit moves first back to 0.
    MoveWindow(strip, 0, 0, 500, 36, TRUE);
    RECT client;
    GetClientRect(strip, &client);
    qmtest::Dib dib(client.right, client.bottom);
    clrPaintStrip(strip, dib.dc(), client);
    EXPECT_EQ(0, first());
}

TEST_F(PaletteTest, PaletteEditsActOnTheStrip)
{
    std::vector<COLORREF> colours = rainbow(3);
    makeStrip(colours);
    EXPECT_EQ(3, clrAppendColor(RGB(1, 1, 1)));
    EXPECT_EQ(1, clrInsertColor(0, RGB(2, 2, 2)));
    EXPECT_EQ(-1, clrInsertColor(5, RGB(3, 3, 3)));
    EXPECT_EQ(-1, clrInsertColor(-1, RGB(3, 3, 3)));
    clrReplaceColor(2, RGB(4, 4, 4));
    clrReplaceColor(9, RGB(5, 5, 5));
    std::vector<COLORREF> want = {RGB(2, 2, 2), colours[0], RGB(4, 4, 4), colours[2], RGB(1, 1, 1)};
    EXPECT_EQ(want, windowColours());
    EXPECT_EQ(1, clrDeleteColor(1));
    EXPECT_EQ(2, clrDeleteColor(3));   // the last: the new last is next
    EXPECT_EQ(-1, clrDeleteColor(7));
    want = {RGB(2, 2, 2), RGB(4, 4, 4), colours[2]};
    EXPECT_EQ(want, windowColours());

    HPALETTE pal = clrGetPalette();
    ASSERT_TRUE(pal != nullptr);
    PALETTEENTRY e[4];
    EXPECT_EQ(3u, GetPaletteEntries(pal, 0, 4, e));

    clrSetColors(nullptr, 0);
    int16_t n = 5;
    EXPECT_EQ(0u, clrGetColors(&n));
    EXPECT_EQ(0, n);
    EXPECT_TRUE(clrGetPalette() == nullptr);
    EXPECT_EQ(0, clrAppendColor(RGB(6, 6, 6)));
}

TEST_F(PaletteTest, WithoutColoursTheWindowTakesTheStartupColours)
{
    RECT r = {0, 0, 400, 36};
    HWND w = clrCreatePaletteWindow(parent(), &r, nullptr, 0, 0, 0xFFFFFF, 0, 20, 21);
    ASSERT_TRUE(w != nullptr);
    EXPECT_EQ(w, clrGetPaletteWindow());
    std::vector<COLORREF> got = windowColours();
    EXPECT_EQ(std::vector<COLORREF>(clrDefaultColors, clrDefaultColors + 50), got);
    EXPECT_EQ(0, clrGetHighlight());   // white, the background, is the first colour
}

TEST_F(PaletteTest, SwitchingTheStyleTwiceGivesBackTheClassicStripWithTheSameState)
{
    std::vector<COLORREF> colours = rainbow(7);
    HWND strip = makeStrip(colours, rc(10, 20, 410, 56), RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9));
    RECT before;
    GetWindowRect(strip, &before);
    long blocks = qmtest::liveHandles();

    clrToggleStyle();
    pump();
    EXPECT_FALSE(clrIsClassicStyle());
    EXPECT_TRUE(clrGetStripWindow() == nullptr);
    HWND second = clrGetColor2Window();
    ASSERT_TRUE(second != nullptr);
    EXPECT_EQ(second, clrGetPaletteWindow());
    EXPECT_EQ(parent(), GetParent(second));
    HWND list = clrGetColor2List();
    ASSERT_TRUE(list != nullptr);
    EXPECT_EQ(4, clrColorTargetCount());
    ButtonListRecord lr;
    ASSERT_TRUE(blGetRecord(list, &lr));
    EXPECT_EQ(4, lr.count);
    EXPECT_EQ(25, lr.listId);
    EXPECT_EQ(0xC001, lr.style);
    ToolButton fore;
    ASSERT_TRUE(blGetButton(list, blFindButton(list, CLR_BTN_FOREGROUND), &fore));
    EXPECT_EQ(RGB(1, 2, 3), fore.color);
    EXPECT_TRUE(fore.kind & TBK_COLOR_BAR);
    EXPECT_EQ(colours, windowColours());
    EXPECT_EQ(RGB(4, 5, 6), clrGetBackColor());

    clrToggleStyle();
    pump();
    EXPECT_TRUE(clrIsClassicStyle());
    strip = clrGetStripWindow();
    ASSERT_TRUE(strip != nullptr);
    EXPECT_TRUE(clrGetColor2Window() == nullptr);
    EXPECT_EQ(colours, windowColours());
    EXPECT_EQ(RGB(1, 2, 3), clrGetForeColor());
    EXPECT_EQ(RGB(4, 5, 6), clrGetBackColor());
    EXPECT_EQ(RGB(7, 8, 9), clrGetFrameColor());
    ColorMenuRecord r;
    ASSERT_TRUE(clrGetRecord(strip, &r));
    EXPECT_EQ(20, r.changeCommand);
    EXPECT_EQ(21, r.pickCommand);
    RECT after;
    GetWindowRect(strip, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(blocks, qmtest::liveHandles());

    DestroyWindow(strip);
    EXPECT_TRUE(clrGetPaletteWindow() == nullptr);
    EXPECT_LT(qmtest::liveHandles(), blocks);
}

TEST_F(PaletteTest, SecondStyleShowsCurrentColoursOnItsTargetButtonsAndPassesCommandsOn)
{
    clrSetClassicStyle(FALSE);
    RECT r = {0, 0, 200, 26};
    std::vector<COLORREF> colours = rainbow(4);
    HWND w = clrCreatePaletteWindow(parent(), &r, colours.data(), 4, 0, 0xFFFFFF, 0, 20, 21);
    ASSERT_TRUE(w != nullptr);
    pump();
    clrSetFrameColor(RGB(12, 34, 56));
    ToolButton frame;
    HWND list = clrGetColor2List();
    ASSERT_TRUE(blGetButton(list, blFindButton(list, CLR_BTN_FRAME), &frame));
    EXPECT_EQ(RGB(12, 34, 56), frame.color);
    EXPECT_EQ(RGB(12, 34, 56), clrGetFrameColor());
    EXPECT_EQ(0, clrGetActiveTarget());   // no strip
    EXPECT_EQ(0u, clrGetTargetColor());

    // The list fills the window less the grip.
    RECT lr;
    GetWindowRect(list, &lr);
    MapWindowPoints(nullptr, w, (POINT *)&lr, 2);
    EXPECT_EQ(CLR_GRIP_WIDTH, lr.left);
    EXPECT_EQ(200, lr.right);

    SendMessageA(w, WM_COMMAND, 136, 77);   // a text-flow button appended by the frame
    pump();
    ASSERT_EQ(1u, commandsWith(136).size());
    EXPECT_EQ(77, commandsWith(136)[0].lParam);

    paltest::menus().answer = CLR_CMD_SWITCH_STYLE;
    PostMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 10));
    pump();
    ASSERT_EQ(1u, paltest::menus().seen.size());
    EXPECT_EQ((std::vector<UINT>{25, 0, 500}), paltest::menus().seen[0].ids);
    EXPECT_EQ("&Classic Style", paltest::menus().seen[0].texts[0]);
    EXPECT_EQ(1u, commandsWith(CLR_CMD_SWITCH_STYLE).size());
}

TEST_F(PaletteTest, GripIsTwoDarkAndWhiteLinePairs)
{
    clrSetClassicStyle(FALSE);
    RECT r = {0, 0, 200, 26};
    HWND w = clrCreatePaletteWindow(parent(), &r, rainbow(2).data(), 2, 0, 0xFFFFFF, 0, 20, 21);
    ASSERT_TRUE(w != nullptr);
    qmtest::Dib dib(12, 26, RGB(1, 2, 3));
    clrPaintGrip(w, dib.dc());
    for (int x : {2, 9}) {
        EXPECT_EQ(RGB(0x80, 0x80, 0x40), dib.pixel(x, 5));   // 0x408080 as COLORREF
        EXPECT_EQ(RGB(0x80, 0x80, 0x40), dib.pixel(x, 20));
        EXPECT_EQ(RGB(1, 2, 3), dib.pixel(x, 4));
        EXPECT_EQ(RGB(1, 2, 3), dib.pixel(x, 21));
        EXPECT_EQ(RGB(255, 255, 255), dib.pixel(x + 1, 6));
        EXPECT_EQ(RGB(1, 2, 3), dib.pixel(x + 1, 5));
    }
    EXPECT_EQ(RGB(1, 2, 3), dib.pixel(5, 10));
}

// ---- the palette commands on the window ------------------------------------------------

TEST_F(PaletteTest, PaletteCommandsOpenSaveAndReset)
{
    qmtest::TempDir dir;
    std::vector<COLORREF> colours = rainbow(9);
    makeStrip(colours);
    BoxRecorder boxes;

    // Save: the name without extension gets ".pal"; the name becomes the path.
    paltest::files().answers = {dir.file("mine")};
    EXPECT_EQ(1, clrCmdSavePalette(parent()));
    EXPECT_EQ("Save Palette", paltest::files().titles.back());
    EXPECT_EQ(dir.file("mine.pal"), clrGetPaletteFileName());
    EXPECT_EQ(46u + 36u, qmtest::readFile(dir.file("mine.pal")).size());

    clrCmdDefaultPalette();
    EXPECT_EQ(std::vector<COLORREF>(clrDefaultColors, clrDefaultColors + 50), windowColours());

    paltest::files().answers = {""};   // cancelled
    EXPECT_EQ(0, clrCmdOpenPalette(parent()));
    EXPECT_EQ(50u, windowColours().size());

    paltest::files().answers = {dir.file("mine.pal")};
    EXPECT_EQ(1, clrCmdOpenPalette(parent()));
    EXPECT_EQ("Open Palette", paltest::files().titles.back());
    EXPECT_EQ(colours, windowColours());

    // Saving again over the file asks first.
    paltest::files().answers = {dir.file("mine.pal")};
    boxes.answer(IDCANCEL);
    EXPECT_EQ(0, clrCmdSavePalette(parent()));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_NE(std::string::npos, boxes.last().text.find("exists. Please select OK to overwrite."));

    // The start-up palette is written without a question.
    std::string startup = dir.file("vellum.pal");
    EXPECT_EQ(1, clrSaveStartupPalette(startup.c_str()));
    EXPECT_EQ(1u, boxes.count());
    int16_t n = 0;
    MemHandle h = clrReadPaletteFile(startup.c_str(), &n);
    EXPECT_EQ(9, n);
    utFreeHandle(h);
}

TEST_F(PaletteTest, WithoutAPaletteWindowNothingIsSavedOverTheStartupPalette)
{
    qmtest::TempDir dir;
    std::string startup = dir.file("vellum.pal");
    MemHandle h = utHandleFromBytes(clrDefaultColors, 4 * 5);
    ASSERT_EQ(1, clrWritePaletteFile(startup.c_str(), h, 5, FALSE));
    utFreeHandle(h);
    EXPECT_EQ(0, clrSaveStartupPalette(startup.c_str()));
    EXPECT_EQ(46u + 20u, qmtest::readFile(startup).size());
}
