// The auto-repeat scroll button "tv_scrollbtn" and the scroll buttons of a
// button list.
#include "tests/controls/bl_fixture.h"
#include "controls/scrollbtn.h"

using bltest::commandsWith;
using bltest::ListTest;
using bltest::pump;

class ScrollButton : public ListTest {
protected:
    HWND button(const char *text)
    {
        RECT r = {10, 10, 26, 34};
        HWND b = ctlCreateScrollBtn(parent(), &r, 177, text);
        EXPECT_TRUE(b != nullptr);
        return b;
    }
    void press(HWND b) { PostMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }
};

TEST_F(ScrollButton, KeepsAShortTextAndPaintsItsBitmap)
{
    HWND b = button("right");
    char text[16];
    ctlGetScrollBtnText(b, text);
    EXPECT_STREQ("right", text);
    EXPECT_EQ(177, GetDlgCtrlID(b));
    EXPECT_TRUE(IsWindowVisible(b));
    HWND longer = button("a-rather-long-name");
    ctlGetScrollBtnText(longer, text);
    EXPECT_STREQ("a-rather", text);   // 8 characters kept

    qmtest::Dib dib(16, 24, GetSysColor(COLOR_BTNFACE));
    ctlPaintScrollBtn(b, dib.dc());
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), dib.pixel(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), dib.pixel(14, 21));   // 1 in from the right, 2 from the bottom
    EXPECT_GE(dib.count(RGB(0, 0, 0), {4, 6, 12, 18}), 10);        // the arrow, ANDed on
}

TEST_F(ScrollButton, PressSendsAtOnceThenRepeatsWhileHeld)
{
    HWND b = button("up");
    press(b);
    PostMessageA(b, WM_TIMER, WIN_WAIT_CLICK_TIMER, 0);   // held past the double-click time
    PostMessageA(b, WM_TIMER, CTL_SCROLLBTN_TIMER, 0);
    PostMessageA(b, WM_TIMER, CTL_SCROLLBTN_TIMER, 0);
    PostMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    pump();
    auto got = commandsWith(177);
    ASSERT_EQ(3u, got.size());
    EXPECT_EQ((LPARAM)b, got[0].lParam);
    EXPECT_EQ(nullptr, GetCapture());

    // Leaving the button ends the repeat.
    bltest::recorder().commands.clear();
    press(b);
    PostMessageA(b, WM_TIMER, WIN_WAIT_CLICK_TIMER, 0);
    PostMessageA(b, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 5));
    PostMessageA(b, WM_TIMER, CTL_SCROLLBTN_TIMER, 0);
    PostMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(40, 5));
    pump();
    EXPECT_EQ(1u, commandsWith(177).size());
}

TEST_F(ScrollButton, ClickOnceDoubleClickTwice)
{
    HWND b = button("down");
    press(b);
    PostMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageA(b, WM_TIMER, WIN_WAIT_CLICK_TIMER, 0);
    pump();
    EXPECT_EQ(1u, commandsWith(177).size());

    bltest::recorder().commands.clear();
    press(b);
    PostMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageA(b, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    pump();
    EXPECT_EQ(2u, commandsWith(177).size());
}

TEST_F(ScrollButton, ListDrawsItsScrollButtons)
{
    HWND row = makeList(2, {0, 0, 200, 24}, 0xC003, tbDrawToolTable, tbDrawToolCount, 22, 22);
    HWND back = GetDlgItem(row, BL_SCROLL_BACK);
    qmtest::Dib dib(16, 24, RGB(255, 255, 255));
    DRAWITEMSTRUCT di = {};
    di.CtlType = ODT_BUTTON;
    di.CtlID = BL_SCROLL_BACK;
    di.itemAction = ODA_DRAWENTIRE;
    di.hwndItem = back;
    di.hDC = dib.dc();
    SetRect(&di.rcItem, 0, 0, 16, 24);
    SendMessageA(row, WM_DRAWITEM, BL_SCROLL_BACK, (LPARAM)&di);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), dib.pixel(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), dib.pixel(14, 21));
    EXPECT_GE(dib.count(RGB(0, 0, 0), {4, 6, 12, 18}), 10);   // "left"
    // The left arrow's point is at its left: more black in the right half.
    EXPECT_GT(dib.count(RGB(0, 0, 0), {8, 6, 12, 18}), dib.count(RGB(0, 0, 0), {4, 6, 8, 18}));

    qmtest::Dib before(16, 24);
    BitBlt(before.dc(), 0, 0, 16, 24, dib.dc(), 0, 0, SRCCOPY);
    di.itemAction = ODA_SELECT;
    SendMessageA(row, WM_DRAWITEM, BL_SCROLL_BACK, (LPARAM)&di);
    EXPECT_EQ(16 * 24, dib.diff(before));   // inverted
}
