// Window services: placement in the work area, scroll arithmetic, packed
// positions, the wait cursor, class searches, brush colours, the twips
// conversions of the screen and the etched line.
#include "tests/support/geo_test_points.h"
#include "support/win_place.h"
#include "support/win_scroll.h"
#include "support/win_window.h"
#include "support/ut_mem.h"

namespace {

HWND makeWindow(const char *cls, const char *title, DWORD style, int x, int y, int w, int h,
                HWND parent = nullptr)
{
    return CreateWindowExA(0, cls, title, style, x, y, w, h, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// ---- placement ---------------------------------------------------------------

TEST(WinPlace, KeepsRectanglesInsideTheArea)
{
    const RECT area = {0, 0, 1280, 1000};
    struct Case {
        RECT in, out;
    } cases[] = {
        {{100, 100, 400, 300}, {100, 100, 400, 300}},       // inside: unchanged
        {{0, 0, 1280, 1000}, {0, 0, 1280, 1000}},           // edges included
        {{1030, 100, 1330, 300}, {970, 100, 1270, 300}},    // 50 past the right edge
        {{100, 900, 400, 1100}, {100, 790, 400, 990}},      // past the bottom
        {{-50, 100, 250, 300}, {10, 100, 310, 300}},        // before the left edge
        {{100, -5, 400, 195}, {100, 10, 400, 210}},         // above the top
        {{1200, 950, 1500, 1150}, {970, 790, 1270, 990}},   // past the corner
        {{-100, -100, 1400, 1100}, {10, 10, 1510, 1210}},   // larger than the area
    };
    for (const Case &c : cases) {
        RECT r = c.in;
        winKeepRectInArea(&r, &area);
        EXPECT_EQ(c.out, r) << c.in << " -> " << r;
    }
    // The same on the real work area.
    RECT work;
    winGetWorkArea(&work);
    ASSERT_GT(work.right - work.left, 400);
    RECT r = {work.right - 250, work.top + 20, work.right + 50, work.top + 220};
    winKeepRectOnScreen(&r);
    EXPECT_EQ(work.right - 10, r.right);
    EXPECT_EQ(300, r.right - r.left);
    EXPECT_EQ(200, r.bottom - r.top);
    EXPECT_EQ(work.top + 20, r.top);
}

TEST(WinPlace, CentresInTheArea)
{
    struct Case {
        RECT area, in, out;
    } cases[] = {
        {{0, 0, 1000, 800}, {5, 5, 305, 205}, {350, 300, 650, 500}},
        {{0, 0, 1001, 801}, {0, 0, 300, 200}, {350, 300, 650, 500}},
        {{-101, -50, 0, 50}, {0, 0, 10, 10}, {-55, -5, -45, 5}},   // halves toward zero
        {{0, 0, 100, 100}, {0, 0, 300, 300}, {-100, -100, 200, 200}},
    };
    for (const Case &c : cases) {
        RECT r = c.in;
        winCentreRectInArea(&r, &c.area);
        EXPECT_EQ(c.out, r) << c.in << " in " << c.area << " -> " << r;
    }
}

TEST(WinPlace, MovesWindowsInTheWorkArea)
{
    HWND w = makeWindow("STATIC", "", WS_POPUP, 5, 5, 300, 200);
    ASSERT_NE(nullptr, w);
    RECT work, r;
    winGetWorkArea(&work);
    winCentreOnScreen(w);
    GetWindowRect(w, &r);
    EXPECT_EQ((work.left + work.right - 300) / 2, r.left);
    EXPECT_EQ((work.top + work.bottom - 200) / 2, r.top);
    EXPECT_EQ(300, r.right - r.left);

    winPlaceInWorkArea(w, 0x02 | 0x10);   // right, bottom
    GetWindowRect(w, &r);
    EXPECT_EQ(work.right, r.right);
    EXPECT_EQ(work.bottom, r.bottom);

    HWND ref = makeWindow("STATIC", "", WS_POPUP, 100, 100, 500, 400);
    winPlaceByWindow(w, ref, 0x01 | 0x08);   // centred on the reference window
    GetWindowRect(w, &r);
    EXPECT_EQ((RECT{200, 200, 500, 400}), r);
    winPlaceByWindow(w, ref, 0);
    GetWindowRect(w, &r);
    EXPECT_EQ((RECT{100, 100, 400, 300}), r);

    RECT to = {10, 20, 110, 70};
    EXPECT_TRUE(winMoveToRect(w, &to, FALSE));
    GetWindowRect(w, &r);
    EXPECT_EQ(to, r);
    EXPECT_FALSE(winMoveToRect(nullptr, &to, FALSE));
    DestroyWindow(ref);
    DestroyWindow(w);
}

TEST(WinPlace, TwipsAndScreenPixels)
{
    EXPECT_EQ(96, winTwipsToPixelsX(1440)) << "96 dpi before anything is set";
    EXPECT_EQ(15, winPixelsToTwipsY(1));
    winSetScreenResolution(120, 144);
    EXPECT_EQ(120, winTwipsToPixelsX(1440));
    EXPECT_EQ(144, winTwipsToPixelsY(1440));
    EXPECT_EQ(12, winPixelsToTwipsX(1));
    EXPECT_EQ(10, winPixelsToTwipsY(1));
    EXPECT_EQ(-1, winTwipsToPixelsX(-12));
    EXPECT_EQ(1, winTwipsToPixelsX(6));   // 0.5 rounds away from zero
    winSetScreenResolution(0, -3);   // ignored: nothing may divide by zero
    EXPECT_EQ(12, winPixelsToTwipsX(1));
    EXPECT_EQ(10, winPixelsToTwipsY(1));
    winSetScreenResolution(96, 96);
}

// ---- scrolling ---------------------------------------------------------------

TEST(WinScroll, DeltasStayWithinTheRange)
{
    struct Case {
        int32_t code, thumb, min, max, pos, line, page, delta;
    } cases[] = {
        {SB_PAGEDOWN, 0, 0, 100, 97, 10, 4, 3},   // max - 3: only 3 left
        {SB_PAGEDOWN, 0, 0, 100, 10, 10, 40, 40},
        {SB_PAGEDOWN, 0, 0, 100, 10, 10, 4, 10},  // the line when larger than the page
        {SB_PAGEUP, 0, 0, 100, 50, 10, 40, -40},
        {SB_PAGEUP, 0, 0, 100, 5, 10, 40, -5},
        {SB_LINEDOWN, 0, 0, 100, 50, 7, 40, 7},
        {SB_LINEUP, 0, 0, 100, 50, 7, 40, -7},
        {SB_LINEUP, 0, -20, 100, -15, 7, 40, -5},
        {SB_THUMBPOSITION, 80, 0, 100, 50, 7, 40, 30},
        {SB_THUMBPOSITION, 150, 0, 100, 50, 7, 40, 50},
        {SB_THUMBTRACK, 80, 0, 100, 50, 7, 40, 0},
        {SB_TOP, 0, 10, 100, 50, 7, 40, -40},
        {SB_BOTTOM, 0, 10, 100, 50, 7, 40, 50},
        {SB_ENDSCROLL, 0, 0, 100, 50, 7, 40, 0},
        {SB_LINEDOWN, 0, 0, 100, 120, 7, 40, -20},   // a position past max comes back
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.delta, winScrollCodeDelta(c.code, c.thumb, c.min, c.max, c.pos, c.line,
                                              c.page))
            << "code " << c.code << " pos " << c.pos;
        EXPECT_EQ(c.delta, winScrollDelta(MAKEWPARAM(c.code, c.thumb), nullptr, c.min, c.max,
                                          c.pos, c.line, c.page))
            << "code " << c.code << " pos " << c.pos;
    }
}

TEST(WinScroll, ReadsRangeAndThumbFromTheBar)
{
    HWND w = makeWindow("STATIC", "", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, 0, 200, 150);
    ASSERT_NE(nullptr, w);
    SetScrollRange(w, SB_VERT, 0, 50, FALSE);
    SetScrollPos(w, SB_VERT, 20, FALSE);
    EXPECT_EQ(30, winScrollBarDelta(w, SB_VERT, SB_BOTTOM, 20, 5, 10));
    EXPECT_EQ(-20, winScrollBarDelta(w, SB_VERT, SB_TOP, 20, 5, 10));
    EXPECT_EQ(0, winScrollBarDelta(w, SB_VERT, SB_THUMBPOSITION, 20, 5, 10));
    EXPECT_EQ(10, winScrollBarDelta(w, SB_VERT, SB_THUMBPOSITION, 10, 5, 10));

    // The ranges follow the content and the client size.
    RECT client;
    GetClientRect(w, &client);
    winSetScrollRanges(w, 0, 1000, 5, 100);
    int lo, hi;
    GetScrollRange(w, SB_HORZ, &lo, &hi);
    EXPECT_EQ(0, lo);
    EXPECT_EQ(1000 - client.right, hi);
    GetScrollRange(w, SB_VERT, &lo, &hi);
    EXPECT_EQ(5, lo);
    EXPECT_EQ(5, hi) << "content smaller than the client: the minimum";
    DestroyWindow(w);

    HWND bare = makeWindow("STATIC", "", WS_POPUP, 0, 0, 200, 150);
    EXPECT_EQ(0, winScrollBarDelta(bare, SB_VERT, SB_BOTTOM, 20, 5, 10))
        << "no bar to read: no delta";
    DestroyWindow(bare);

    // A scroll-bar control gives its 32-bit thumb instead of the 16-bit one.
    HWND bar = makeWindow("SCROLLBAR", "", WS_POPUP | SBS_HORZ, 0, 0, 200, 20);
    ASSERT_NE(nullptr, bar);
    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_POS, 0, 100000, 0, 70000, 0};
    SetScrollInfo(bar, SB_CTL, &si, FALSE);
    EXPECT_EQ(69000, winScrollDelta(MAKEWPARAM(SB_THUMBPOSITION, 5), bar, 0, 100000, 1000, 1,
                                    1));
    DestroyWindow(bar);
}

// ---- packed positions, cursors, colours, windows -------------------------------------

TEST(WinWindow, PackedPositionsAreSignedHalves)
{
    struct Case {
        uint32_t packed;
        POINT p;
    } cases[] = {
        {0xFFFF0001u, {1, -1}},
        {0x00010002u, {2, 1}},
        {0x8000FFFFu, {-1, -32768}},
        {0x7FFF7FFFu, {32767, 32767}},
    };
    for (const Case &c : cases) {
        POINT p;
        winLParamToPoint((LPARAM)c.packed, &p);
        EXPECT_EQ(c.p.x, p.x) << std::hex << c.packed;
        EXPECT_EQ(c.p.y, p.y) << std::hex << c.packed;
        EXPECT_EQ(c.packed, (uint32_t)winPointToLParam(c.p)) << std::hex << c.packed;
    }
}

class WaitCursor : public ::testing::Test {
protected:
    WaitCursor()
        : arrow_(LoadCursorA(nullptr, (LPCSTR)IDC_CROSS)),
          wait_(LoadCursorA(nullptr, (LPCSTR)IDC_WAIT))
    {
        SetCursor(arrow_);
    }
    ~WaitCursor() override { winResetWaitCursor(); }
    // The display count of the cursor, left as it was.
    static int showCount()
    {
        int n = ShowCursor(TRUE) - 1;
        ShowCursor(FALSE);
        return n;
    }
    HCURSOR arrow_, wait_;
};

TEST_F(WaitCursor, NestedPushesAndPopsRestoreTheCursor)
{
    long live = qmtest::liveHandles();
    int shown = showCount();
    for (int i = 0; i < 3; ++i) {
        winPushWaitCursor();
        EXPECT_EQ(wait_, GetCursor());
        EXPECT_EQ(shown, showCount());
    }
    EXPECT_EQ(3, winWaitCursorDepth());
    winPopWaitCursor();
    winPopWaitCursor();
    EXPECT_EQ(wait_, GetCursor()) << "still inside the first push";
    winPopWaitCursor();
    EXPECT_EQ(arrow_, GetCursor());
    EXPECT_EQ(0, winWaitCursorDepth());
    EXPECT_EQ(shown, showCount());
    EXPECT_EQ(live, qmtest::liveHandles()) << "the emptied stack is freed";

    // A pop with nothing pushed does nothing at all.
    HCURSOR other = LoadCursorA(nullptr, (LPCSTR)IDC_IBEAM);
    SetCursor(other);
    winPopWaitCursor();
    EXPECT_EQ(other, GetCursor());
    EXPECT_EQ(shown, showCount());
}

TEST_F(WaitCursor, APushThatCannotBeKeptIsNotCounted)
{
    qmtest::BoxRecorder boxes;
    utFailNextAllocs(1);
    winPushWaitCursor();
    utFailNextAllocs(0);
    EXPECT_EQ(1u, boxes.count());
    EXPECT_EQ(0, winWaitCursorDepth());
    EXPECT_EQ(wait_, GetCursor());
    SetCursor(arrow_);
    winPopWaitCursor();
    EXPECT_EQ(arrow_, GetCursor()) << "nothing to pop";
}

TEST(WinWindow, BrushColours)
{
    HBRUSH red = CreateSolidBrush(RGB(200, 10, 20));
    EXPECT_EQ(RGB(200, 10, 20), winBrushColor(red));
    DeleteObject(red);
    EXPECT_EQ(RGB(0, 0, 0), winBrushColor((HBRUSH)GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), winBrushColor((HBRUSH)(COLOR_BTNFACE + 1)));
    ASSERT_EQ(0u, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(0u, winBrushColor((HBRUSH)(COLOR_WINDOWTEXT + 1))) << "black is a colour too";
    EXPECT_EQ(0xFFFFFFu, winBrushColor((HBRUSH)33)) << "no system colour 32";
    EXPECT_EQ(0xFFFFFFu, winBrushColor(nullptr));
}

TEST(WinWindow, FindsWindowsByClassAndTitle)
{
    HWND parent = makeWindow("STATIC", "parent", WS_POPUP, 0, 0, 300, 300);
    ASSERT_NE(nullptr, parent);
    HWND one = makeWindow("STATIC", "one", WS_CHILD, 0, 0, 10, 10, parent);
    HWND box = makeWindow("BUTTON", "box", WS_CHILD, 0, 20, 10, 10, parent);
    HWND two = makeWindow("STATIC", "Two", WS_CHILD, 0, 40, 10, 10, parent);
    HWND inner = makeWindow("EDIT", "", WS_CHILD, 0, 0, 10, 10, box);
    ASSERT_TRUE(one && box && two && inner);

    EXPECT_TRUE(winIsWindowOfClass(one, "static", nullptr));
    EXPECT_TRUE(winIsWindowOfClass(two, "Static", "TWO"));
    EXPECT_FALSE(winIsWindowOfClass(two, "static", "one"));
    EXPECT_FALSE(winIsWindowOfClass(box, "static", nullptr));
    EXPECT_EQ(one, winFindChildOfClass(parent, "STATIC", nullptr));
    EXPECT_EQ(two, winFindChildOfClass(parent, "static", "two"));
    EXPECT_EQ(inner, winFindChildOfClass(parent, "edit", nullptr)) << "grandchildren too";
    EXPECT_EQ(nullptr, winFindChildOfClass(parent, "static", "three"));
    EXPECT_EQ(nullptr, winFindEditChild(parent)) << "only direct children";
    EXPECT_EQ(inner, winFindEditChild(box));

    RECT r;
    SetWindowPos(parent, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    MoveWindow(two, 10, 20, 30, 40, FALSE);
    ASSERT_TRUE(winGetChildRect(parent, two, &r));
    EXPECT_EQ((RECT{10, 20, 40, 60}), r);
    EXPECT_EQ(GetModuleHandleA(nullptr), winGetInstance(one));

    DestroyWindow(parent);
    EXPECT_FALSE(winIsWindowOfClass(one, "static", nullptr)) << "a dead window";
}

TEST(WinWindow, InvalidatingAndBringingForward)
{
    HWND w = makeWindow("STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 150);
    ASSERT_NE(nullptr, w);
    ValidateRect(w, nullptr);
    winInvalidate(w);
    RECT upd;
    ASSERT_TRUE(GetUpdateRect(w, &upd, FALSE));
    EXPECT_EQ((RECT{0, 0, 200, 150}), upd);
    winRedrawNow(w);
    EXPECT_FALSE(GetUpdateRect(w, &upd, FALSE)) << "painted at once";
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_EQ(w, winBringToFront(w));
    EXPECT_FALSE(IsIconic(w)) << "restored";

    // Only where the display lets the cursor be placed.
    POINT p = {0, 0};
    SetCursorPos(150, 120);
    if (GetCursorPos(&p) && p.x == 150 && p.y == 120) {
        EXPECT_TRUE(winCursorInWindow(w, &p));
        EXPECT_EQ(50, p.x);
        EXPECT_EQ(20, p.y);
        SetCursorPos(100, 130);
        EXPECT_FALSE(winCursorInWindow(w, &p)) << "on the left edge: x is 0";
    }
    DestroyWindow(w);
}

TEST(WinWindow, FrameSizesForClientAreas)
{
    DWORD style = WS_OVERLAPPEDWINDOW;
    RECT expect = {0, 0, 400, 300};
    AdjustWindowRectEx(&expect, style, TRUE, 0);
    uint32_t packed = winFrameSizeForClient(0, 0, 400, 300, style, 0, TRUE, FALSE, FALSE);
    EXPECT_EQ((uint32_t)(expect.right - expect.left), packed & 0xFFFF);
    EXPECT_EQ((uint32_t)(expect.bottom - expect.top), packed >> 16);
    packed = winFrameSizeForClient(0, 0, 400, 300, WS_POPUP, 0, FALSE, TRUE, TRUE);
    EXPECT_EQ((uint32_t)(400 + GetSystemMetrics(SM_CXVSCROLL)), packed & 0xFFFF);
    EXPECT_EQ((uint32_t)(300 + GetSystemMetrics(SM_CYHSCROLL)), packed >> 16);

    HWND w = makeWindow("STATIC", "", WS_POPUP | WS_BORDER, 0, 0, 100, 100);
    RECT r = {0, 0, 50, 50};
    ASSERT_TRUE(winAdjustFrameRect(w, &r));
    RECT b = {0, 0, 50, 50};
    AdjustWindowRectEx(&b, WS_POPUP | WS_BORDER, FALSE, 0);
    EXPECT_EQ(b, r);
    EXPECT_GT(r.right - r.left, 50);
    DestroyWindow(w);
}

TEST(WinWindow, EtchedLineIsShadowOverHighlight)
{
    qmtest::Dib dib(100, 20, RGB(0, 0, 255));
    HGDIOBJ pen = GetCurrentObject(dib.dc(), OBJ_PEN);
    winEtchedLine(dib.dc(), 10, 90, 5);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), dib.pixel(50, 5));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), dib.pixel(50, 6));
    EXPECT_EQ(RGB(0, 0, 255), dib.pixel(50, 7));
    EXPECT_EQ(RGB(0, 0, 255), dib.pixel(9, 5));
    EXPECT_EQ(80, dib.count(GetSysColor(COLOR_BTNSHADOW), RECT{0, 5, 100, 6}));
    EXPECT_EQ(pen, GetCurrentObject(dib.dc(), OBJ_PEN));
}

TEST(WinWindow, ClassCursorsAndScreenDc)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "qm_test_cursor";
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND w = makeWindow("qm_test_cursor", "", WS_POPUP, 0, 0, 10, 10);
    HCURSOR cross = LoadCursorA(nullptr, (LPCSTR)IDC_CROSS);
    EXPECT_EQ(wc.hCursor, winSetClassCursor(w, cross));
    EXPECT_EQ(cross, winSetClassCursor(w, wc.hCursor));
    DestroyWindow(w);
    UnregisterClassA("qm_test_cursor", wc.hInstance);

    HDC screen = winGetScreenDC();
    ASSERT_NE(nullptr, screen);
    EXPECT_GT(GetDeviceCaps(screen, LOGPIXELSX), 0);
    winReleaseScreenDC(screen);
}

}  // namespace
