// Page grid, dotted lines, tracking shapes, the freehand stroke and the
// painted tip: pixels in a DIB, and mouse gestures posted before the
// tracking loop runs.
#include "tests/support/kit.h"
#include "support/dm_map.h"
#include "support/gdi_tipbox.h"
#include "support/gdi_track.h"
#include "support/ut_mem.h"
#include <windowsx.h>
#include <vector>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kSub = RGB(0, 0, 255);
const COLORREF kUnit = RGB(0, 128, 0);

const char kClass[] = "qm_track_test";

// A 200 x 200 DIB under the view mapping at 100 % (15 twips a pixel, the
// unit one inch of 96 pixels).
class Grid : public ::testing::Test {
protected:
    Grid() : dib_(200, 200)
    {
        dmResetModule();
        dmSetMapping(dib_.dc());
    }
    ~Grid() override { dmResetModule(); }
    int rowCount(int y, COLORREF c) const
    {
        RECT r = {0, y, 200, y + 1};
        return dib_.count(c, r);
    }
    int columnCount(int x, COLORREF c) const
    {
        RECT r = {x, 0, x + 1, 200};
        return dib_.count(c, r);
    }
    qmtest::Dib dib_;
};

// A window for the freehand stroke, and a watchdog that ends a stroke that
// did not end by itself within a second.
class Freehand : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
    }
    static void TearDownTestSuite() { UnregisterClassA(kClass, GetModuleHandleA(nullptr)); }
    Freehand()
    {
        window_ = CreateWindowExA(0, kClass, "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        qmtest::pumpUntilIdle();
    }
    ~Freehand() override
    {
        ReleaseCapture();
        DestroyWindow(window_);
        qmtest::pumpUntilIdle();
    }
    void post(UINT msg, int x, int y)
    {
        PostMessageA(window_, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }
    // Runs the stroke from (x, y); the watchdog's help fails the test.
    MemHandle stroke(int x, int y, int32_t *count)
    {
        Watch watch = {window_, CreateEventA(nullptr, TRUE, FALSE, nullptr), false};
        HANDLE thread = CreateThread(nullptr, 0, watchdog, &watch, 0, nullptr);
        MemHandle points = gdiTrackFreehand(window_, POINT{x, y}, count, 1, kBlack);
        SetEvent(watch.done);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        CloseHandle(watch.done);
        EXPECT_FALSE(watch.rescued) << "the stroke did not end by itself";
        return points;
    }
    struct Watch {
        HWND window;
        HANDLE done;
        volatile bool rescued;
    };
    // Ends a stroke still running after a second.
    static DWORD WINAPI watchdog(void *data)
    {
        Watch *w = static_cast<Watch *>(data);
        if (WaitForSingleObject(w->done, 1000) == WAIT_TIMEOUT) {
            w->rescued = true;
            PostMessageA(w->window, WM_LBUTTONUP, 0, 0);
        }
        return 0;
    }
    std::vector<POINT> points(MemHandle h, int32_t n)
    {
        MemLock<POINT> p(h);
        return p ? std::vector<POINT>(p.get(), p.get() + n) : std::vector<POINT>();
    }
    HWND window_;
};

}  // namespace

TEST(GridSubdivisions, TheLargestThatKeepsTenPixels)
{
    const struct {
        int n;
        int32_t unit;
        int d;
    } cases[] = {{4, 100, 4}, {4, 30, 2}, {5, 30, 1}, {6, 96, 6}, {7, 96, 7},
                 {12, 96, 6}, {8, 96, 4}, {3, 10, 1}};
    for (const auto &c : cases)
        EXPECT_EQ(c.d, gdiGridSubdivisions(c.n, c.unit)) << c.n << " in " << c.unit;
}

TEST_F(Grid, LinesAtSubdivisionsAndDottedUnitLines)
{
    const RECT area = {0, 0, 2880, 2880};   // 192 pixels
    HGDIOBJ pen = GetCurrentObject(dib_.dc(), OBJ_PEN);
    gdiDrawGridLines(dib_.dc(), &area, 4, kSub, kUnit);
    EXPECT_EQ(pen, GetCurrentObject(dib_.dc(), OBJ_PEN)) << "the pen is put back";
    for (int y : {24, 48, 72, 120, 144, 168}) {
        EXPECT_GT(rowCount(y, kSub), 150) << "a quarter-inch line at " << y;
        EXPECT_GT(columnCount(y, kSub), 150) << "and its column";
    }
    EXPECT_EQ(kWhite, dib_.pixel(10, 0)) << "the edge is no line";
    const int dots = rowCount(96, kUnit);
    EXPECT_GT(dots, 40) << "the inch line is dotted";
    EXPECT_LT(dots, 150);
    EXPECT_EQ(kWhite, dib_.pixel(10, 30));

    // Nothing for no subdivisions, and the pen is still put back.
    dib_.fill(kWhite);
    gdiDrawGridLines(dib_.dc(), &area, 0, kSub, kUnit);
    EXPECT_EQ(200 * 200, dib_.count(kWhite));
    EXPECT_EQ(pen, GetCurrentObject(dib_.dc(), OBJ_PEN));
}

TEST_F(Grid, DotsAtTheCrossings)
{
    const RECT area = {0, 0, 2880, 2880};
    gdiDrawGridDots(dib_.dc(), &area, 4);
    EXPECT_EQ(64, dib_.count(kRed)) << "8 x 8 quarter inches";
    EXPECT_EQ(kRed, dib_.pixel(24, 24));
    EXPECT_EQ(kRed, dib_.pixel(168, 96));
    EXPECT_NE(kRed, dib_.pixel(25, 24));
    dib_.fill(kWhite);
    gdiDrawGridDots(dib_.dc(), &area, -1);
    EXPECT_EQ(0, dib_.count(kRed));

    // Far down a large page the positions keep their 32 bits.
    dib_.fill(kWhite);
    dmSetMappingOrg(dib_.dc(), 0, 40320);
    const RECT low = {0, 40320, 2880, 43200};
    gdiDrawGridDots(dib_.dc(), &low, 4);
    EXPECT_EQ(64, dib_.count(kRed));
}

TEST(DottedLine, AFirstDotThenEveryThird)
{
    qmtest::Dib dib(60, 20);
    gdiSetDotColour(kBlack);
    gdiResetDotPhase();
    gdiDottedLine(dib.dc(), 10, 5, 40, 5);
    for (int x = 10; x < 40; ++x)
        EXPECT_EQ((x - 10) % 3 == 0, dib.pixel(x, 5) == kBlack) << x;
    EXPECT_NE(kBlack, dib.pixel(40, 5)) << "the end is excluded";
    // The phase runs on into the next line: after 30 positions it stands
    // at a dot again.
    gdiDottedLine(dib.dc(), 10, 10, 13, 10);
    EXPECT_EQ(kBlack, dib.pixel(10, 10));

    // The device form draws on pixels whatever the mapping.
    qmtest::Dib mapped(200, 20);
    dmResetModule();
    dmSetZoomDC(mapped.dc(), 200);
    dmSetMapping(mapped.dc());
    gdiSetDotColour(kRed);
    gdiDottedLineDev(mapped.dc(), 0, 75, 600, 75);   // 0 .. 80 pixels at 200 %
    EXPECT_EQ(kRed, mapped.pixel(0, 10));
    EXPECT_EQ(kRed, mapped.pixel(3, 10));
    EXPECT_NE(kRed, mapped.pixel(1, 10));
    EXPECT_EQ(27, mapped.count(kRed));
    POINT org;
    GetWindowOrgEx(mapped.dc(), &org);
    SIZE ext;
    GetViewportExtEx(mapped.dc(), &ext);
    EXPECT_EQ(192, ext.cx) << "the mapping is put back";
    dmResetModule();
    gdiSetDotColour(0);
}

TEST(TrackShape, DrawnTwiceUnderNotTheBitmapIsAsBefore)
{
    qmtest::Dib dib(100, 100);
    for (int y = 0; y < 100; y += 7)
        for (int x = 0; x < 100; x += 5)
            SetPixel(dib.dc(), x, y, RGB(x * 2, y * 2, 90));
    qmtest::Dib before(100, 100);
    BitBlt(before.dc(), 0, 0, 100, 100, dib.dc(), 0, 0, SRCCOPY);
    SetROP2(dib.dc(), R2_NOT);
    SelectObject(dib.dc(), GetStockObject(NULL_BRUSH));
    for (int kind : {1, 2, 4, 5}) {
        SCOPED_TRACE(kind);
        gdiDrawTrackShape(dib.dc(), POINT{10, 10}, POINT{70, 60}, kind);
        EXPECT_GT(dib.diff(before), 0);
        gdiDrawTrackShape(dib.dc(), POINT{10, 10}, POINT{70, 60}, kind);
        EXPECT_EQ(0, dib.diff(before));
    }
    gdiDrawTrackShape(dib.dc(), POINT{10, 10}, POINT{70, 60}, 3);
    EXPECT_EQ(0, dib.diff(before)) << "other kinds draw nothing";
}

TEST_F(Freehand, AClickWithoutMovementRecordsNothing)
{
    post(WM_MOUSEMOVE, 50, 50);
    post(WM_LBUTTONUP, 50, 50);
    int32_t count = -1;
    EXPECT_EQ(0u, stroke(50, 50, &count));
    EXPECT_EQ(0, count);
    EXPECT_NE(window_, GetCapture()) << "the capture is released";
}

TEST_F(Freehand, TwentyMovesGiveTwentyOnePoints)
{
    const long before = qmtest::liveHandles();
    post(WM_MOUSEMOVE, -5, 10);   // left of the window: a negative word
    for (int i = 1; i < 20; ++i)
        post(WM_MOUSEMOVE, 10 * i, 10 + i);
    post(WM_MOUSEMOVE, 190, 29);   // the same as the last: ignored
    post(WM_LBUTTONUP, 190, 29);
    int32_t count = 0;
    MemHandle h = stroke(20, 20, &count);
    ASSERT_NE(0u, h);
    ASSERT_EQ(21, count);
    const std::vector<POINT> p = points(h, count);
    EXPECT_EQ(20, p[0].x);
    EXPECT_EQ(-5, p[1].x) << "sign-extended";
    EXPECT_EQ(190, p[20].x);
    EXPECT_EQ(29, p[20].y);
    utFreeHandle(h);
    EXPECT_EQ(before, qmtest::liveHandles());
}

TEST_F(Freehand, TheStrokeEndsWhenTheCaptureIsLost)
{
    post(WM_MOUSEMOVE, 60, 60);
    post(WM_MOUSEMOVE, 70, 65);
    PostMessageA(window_, WM_CAPTURECHANGED, 0, 0);
    int32_t count = 0;
    MemHandle h = stroke(50, 50, &count);
    EXPECT_EQ(3, count);
    utFreeHandle(h);
    qmtest::pumpUntilIdle();
}

TEST(Tip, PlacedOnTheScreenAndShownOnce)
{
    HDC dc = GetDC(nullptr);
    const int screenW = GetDeviceCaps(dc, HORZRES);
    HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    RECT r;
    const uint32_t origin = gdiTipRect(dc, -20, 30, "A tip", font, &r);
    EXPECT_EQ(4, r.left);
    EXPECT_EQ(30, r.top);
    TEXTMETRICA tm;
    HGDIOBJ old = SelectObject(dc, font);
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    EXPECT_EQ(4 + tm.tmAveCharWidth, (int16_t)(origin & 0xFFFF));
    EXPECT_EQ(30 + tm.tmAveCharWidth / 2, (int16_t)(origin >> 16));
    gdiTipRect(dc, screenW - 5, 30, "A tip near the right edge", font, &r);
    EXPECT_EQ(screenW - 4, r.right);
    EXPECT_GT(r.left, 0);
    ReleaseDC(nullptr, dc);

    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    gdiShowTip(window, 10, 10, "First", font, kBlack, RGB(255, 255, 225));
    RECT shown;
    ASSERT_TRUE(gdiGetTipRect(&shown));
    EXPECT_EQ(10, shown.left);
    gdiShowTip(window, 50, 50, "Second", font, kBlack, RGB(255, 255, 225));
    ASSERT_TRUE(gdiGetTipRect(&r));
    EXPECT_EQ(10, r.left) << "one tip at a time";
    gdiHideTip(window);
    EXPECT_FALSE(gdiGetTipRect(&r));
    gdiHideTip(window);   // nothing to hide
    DestroyWindow(window);
}

TEST(SavedScreen, ABitmapOfTheRectangleCopiedBack)
{
    qmtest::Dib dib(50, 50, RGB(10, 20, 30));
    RECT r = {5, 5, 25, 15};
    HBITMAP saved = gdiSaveScreenRect(dib.dc(), &r);
    ASSERT_NE(nullptr, saved);
    SIZE size = {};
    GetBitmapDimensionEx(saved, &size);
    EXPECT_EQ(20, size.cx);
    EXPECT_EQ(10, size.cy);
    RECT empty = {5, 5, 5, 15};
    EXPECT_EQ(nullptr, gdiSaveScreenRect(dib.dc(), &empty));
    DeleteObject(saved);
}
