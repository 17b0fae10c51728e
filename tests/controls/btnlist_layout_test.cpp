// Button list layout without a window: grid shape, button rectangles, hit
// tests, scrolling, scroll buttons, floating size and the tip position.
#include "tests/support/kit.h"
#include "controls/btnlist.h"
#include "controls/btnlist_press.h"

namespace {

BlLayout layout(uint16_t style, int count, int first, int bw, int bh, RECT client, bool scroll)
{
    BlLayout l;
    l.style = style;
    l.count = count;
    l.first = first;
    l.buttonWidth = bw;
    l.buttonHeight = bh;
    l.client = client;
    l.hasScroll = scroll;
    return l;
}

::testing::AssertionResult rectIs(const RECT &r, int l, int t, int rr, int b)
{
    if (r.left == l && r.top == t && r.right == rr && r.bottom == b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "{" << r.left << "," << r.top << "," << r.right << ","
                                         << r.bottom << "} instead of {" << l << "," << t << "," << rr
                                         << "," << b << "}";
}

}  // namespace

TEST(ButtonListLayout, GridShapeByStyle)
{
    struct Case {
        uint16_t style;
        int n, columns, rows;
    } cases[] = {
        {0x10, 35, 2, 18},   {0xC010, 35, 2, 18}, {0x10, 0, 2, 0},   {0x10, 1, 2, 1},
        {0x8, 16, 8, 2},     {0x8, 5, 5, 1},      {0x8, 17, 8, 3},   {0x9, 16, 8, 2},
        {0x1, 21, 21, 1},    {0xC001, 21, 21, 1}, {0x0, 16, 1, 16},  {0xC000, 16, 1, 16},
        {0x18, 3, 2, 2},     {0x4, 6, 1, 6},      {0x5, 6, 6, 1},
    };
    for (const Case &c : cases) {
        int columns = -1, rows = -1;
        blGridShape(c.style, c.n, &columns, &rows);
        EXPECT_EQ(c.columns, columns) << "style " << c.style << " n " << c.n;
        EXPECT_EQ(c.rows, rows) << "style " << c.style << " n " << c.n;
    }
}

TEST(ButtonListLayout, ButtonRectangles)
{
    struct Case {
        const char *what;
        BlLayout l;
        int index;
        RECT expected;
    } cases[] = {
        // Two columns centred in a client wider than two buttons; scrolling does not apply.
        {"two columns, first", layout(0xC010, 35, 0, 24, 24, {0, 0, 60, 500}, false), 0, {6, 4, 30, 28}},
        {"two columns, second", layout(0xC010, 35, 0, 24, 24, {0, 0, 60, 500}, false), 1, {30, 4, 54, 28}},
        {"two columns, last", layout(0xC010, 35, 5, 24, 24, {0, 0, 60, 500}, true), 34, {6, 412, 30, 436}},
        // Floating grid with a pixel between buttons.
        {"floating, row 2", layout(9, 16, 0, 24, 24, {0, 0, 200, 50}, false), 9, {25, 25, 49, 49}},
        {"floating, 8th", layout(9, 16, 0, 24, 24, {0, 0, 200, 50}, false), 7, {175, 0, 199, 24}},
        // One row, centred vertically; scroll buttons push it 16 pixels right.
        {"row", layout(0xC001, 21, 0, 22, 22, {0, 0, 500, 24}, false), 2, {44, 1, 66, 23}},
        {"row with scroll", layout(0xC003, 21, 0, 22, 22, {0, 0, 500, 24}, true), 0, {16, 1, 38, 23}},
        {"row scrolled", layout(0xC003, 21, 2, 22, 22, {0, 0, 500, 24}, true), 3, {38, 1, 60, 23}},
        {"row lower than a button", layout(0xC001, 21, 0, 22, 22, {0, 0, 500, 20}, false), 1,
         {22, 0, 44, 20}},
        // One column, centred horizontally, 4 (20 with scroll buttons) from the top.
        {"column", layout(0xC000, 16, 0, 24, 24, {0, 0, 30, 400}, false), 2, {3, 52, 27, 76}},
        {"column with scroll", layout(0xC002, 16, 1, 24, 24, {0, 0, 30, 400}, true), 3,
         {3, 68, 27, 92}},
        {"column narrower than a button", layout(0xC000, 16, 0, 24, 24, {0, 0, 20, 400}, false), 0,
         {0, 4, 20, 28}},
    };
    for (const Case &c : cases) {
        RECT r;
        blLayoutButtonRect(c.l, c.index, &r);
        EXPECT_TRUE(rectIs(r, c.expected.left, c.expected.top, c.expected.right, c.expected.bottom))
            << c.what;
    }
}

TEST(ButtonListLayout, HitTest)
{
    BlLayout floating = layout(9, 16, 0, 24, 24, {0, 0, 200, 50}, false);
    BlLayout column = layout(0xC000, 16, 0, 24, 24, {0, 0, 30, 400}, false);
    BlLayout twoColumns = layout(0xC010, 5, 0, 24, 24, {0, 0, 60, 500}, false);
    struct Case {
        const BlLayout *l;
        POINT pt;
        int expected;
    } cases[] = {
        {&floating, {0, 0}, 0},     {&floating, {23, 23}, 0},   {&floating, {24, 10}, -1},
        {&floating, {25, 10}, 1},   {&floating, {30, 30}, 9},   {&floating, {199, 49}, -1},
        {&column, {3, 4}, 0},       {&column, {2, 10}, -1},     {&column, {27, 10}, -1},
        {&column, {10, 28}, 1},     {&column, {10, 3}, -1},     {&column, {10, 388}, -1},
        {&column, {10, 387}, 15},   {&twoColumns, {40, 40}, 3}, {&twoColumns, {10, 60}, 4},
        {&twoColumns, {40, 60}, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, blLayoutHitTest(*c.l, c.pt)) << c.pt.x << "," << c.pt.y;
}

TEST(ButtonListLayout, ScrollingStopsAtBothEnds)
{
    // Forward moves on while first < count - 1 and the buttons from first on
    // are at least the client height less 16 (button heights, rows too).
    struct Case {
        const char *what;
        BlLayout l;
        int command, expected;
    } cases[] = {
        {"back at 0", layout(0xC002, 16, 0, 24, 24, {0, 0, 30, 200}, true), 101, 0},
        {"back", layout(0xC002, 16, 3, 24, 24, {0, 0, 30, 200}, true), 101, 2},
        {"forward", layout(0xC002, 16, 0, 24, 24, {0, 0, 30, 200}, true), 102, 1},
        {"forward, enough left", layout(0xC002, 16, 8, 24, 24, {0, 0, 30, 200}, true), 102, 9},
        {"forward, too few left", layout(0xC002, 16, 9, 24, 24, {0, 0, 30, 200}, true), 102, 9},
        {"forward at the last", layout(0xC003, 21, 20, 22, 22, {0, 0, 300, 24}, true), 102, 20},
        {"row forward", layout(0xC003, 21, 19, 22, 22, {0, 0, 300, 24}, true), 102, 20},
        {"other command", layout(0xC003, 21, 4, 22, 22, {0, 0, 300, 24}, true), 500, 4},
        {"empty list", layout(0xC003, 0, 0, 22, 22, {0, 0, 300, 24}, true), 102, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, blLayoutScroll(c.l, c.command)) << c.what;
}

TEST(ButtonListLayout, ScrollButtonsAndFloatingSize)
{
    RECT back, forward;
    blScrollButtonRects(0xC003, {0, 0, 300, 24}, &back, &forward);
    EXPECT_TRUE(rectIs(back, 0, 0, 16, 24));
    EXPECT_TRUE(rectIs(forward, 284, 0, 300, 24));
    blScrollButtonRects(0xC002, {0, 0, 30, 200}, &back, &forward);
    EXPECT_TRUE(rectIs(back, 0, 0, 30, 16));
    EXPECT_TRUE(rectIs(forward, 0, 184, 30, 200));

    SIZE s = blFloatingClientSize(16, 24, 24);
    EXPECT_EQ(200, s.cx);
    EXPECT_EQ(50, s.cy);
    s = blFloatingClientSize(7, 24, 24);
    EXPECT_EQ(175, s.cx);
    EXPECT_EQ(25, s.cy);
}

TEST(ButtonListLayout, TipSitsBelowTheButtonInThirds)
{
    // A 24-pixel button: the tip goes down in steps of 8 with the pointer.
    RECT button = {10, 20, 34, 44};
    struct Case {
        int y, expectedTop;
    } cases[] = {{20, 44}, {27, 44}, {28, 52}, {35, 52}, {36, 60}, {43, 60}};
    for (const Case &c : cases) {
        POINT at = blTipPosition(button, {15, c.y});
        EXPECT_EQ(10, at.x);
        EXPECT_EQ(c.expectedTop, at.y) << c.y;
    }
    RECT tiny = {0, 0, 2, 2};   // a third of 0: no step
    EXPECT_EQ(2, blTipPosition(tiny, {1, 1}).y);
}
