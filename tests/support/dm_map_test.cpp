// The view mapping: applying it to device contexts, conversions, the state
// stack, units, grid snap, zoom to fit and the exclusive-or feedback.
#include "tests/support/kit.h"
#include "support/dm_map.h"
#include "support/win_place.h"
#include "support/ut_mem.h"
#include <math.h>

namespace {

class ViewMap : public ::testing::Test {
protected:
    ViewMap() : dib_(200, 200)
    {
        dmResetModule();
        live_ = qmtest::liveHandles();
    }
    ~ViewMap() override
    {
        dmResetModule();
        winSetScreenResolution(96, 96);
        EXPECT_EQ(live_, qmtest::liveHandles()) << "a memory block was not freed";
    }
    HDC dc() const { return dib_.dc(); }

    qmtest::Dib dib_;
    long live_;
};

// A popup window with a client area of the given size (no border).
class Popup {
public:
    Popup(int w, int h, DWORD style = 0)
        : hwnd_(CreateWindowExA(0, "STATIC", "", WS_POPUP | style, 100, 100, w, h, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr))
    {
    }
    ~Popup() { DestroyWindow(hwnd_); }
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

TEST_F(ViewMap, BeforeAnyMappingConversionsUseA96DpiScreen)
{
    EXPECT_EQ(MM_ANISOTROPIC, dmGetMapMode());
    EXPECT_EQ(100, dmGetZoom());
    EXPECT_EQ(DM_UNIT_INCHES, dmGetUnits());
    EXPECT_EQ(96, dmLogToDevW(1440));
    EXPECT_EQ(96, dmLogToDevH(1440));
    EXPECT_EQ(1440, dmDevToLogW(96));
    EXPECT_EQ(15, dmGetPixelWidth());
    EXPECT_EQ(15, dmGetPixelSize());
    EXPECT_EQ(96, dmLogToDevX(1440));
    EXPECT_EQ(96, dmGetUnitPixelsX());
    EXPECT_EQ(1440, dmUnitsToLogX(1.0));
}

TEST_F(ViewMap, MapsADibSoThatOneUnitIsOneTwipAtTheZoom)
{
    ASSERT_TRUE(dmSetMapping(dc()));
    EXPECT_EQ(MM_ANISOTROPIC, GetMapMode(dc()));
    SIZE vp, win;
    GetViewportExtEx(dc(), &vp);
    GetWindowExtEx(dc(), &win);
    EXPECT_EQ(96, vp.cx);
    EXPECT_EQ(96, vp.cy);
    EXPECT_EQ(1440, win.cx);
    EXPECT_EQ(15, dmGetPixelWidth());
    EXPECT_EQ(15, dmGetPixelHeight());
    EXPECT_EQ(96, dmLogToDevW(1440));
    int32_t x, y;
    dmGetZoomedDpi(&x, &y);
    EXPECT_EQ(96, x);

    dmSetZoomDC(dc(), 200);
    GetViewportExtEx(dc(), &vp);
    EXPECT_EQ(192, vp.cx);
    EXPECT_EQ(8, dmGetPixelWidth());   // 7.5 rounds away from zero
    EXPECT_EQ(192, dmLogToDevW(1440));

    // A twip-wide line at 100 percent is one pixel long per 15 twips.
    dmSetZoomDC(dc(), 100);
    MoveToEx(dc(), 150, 150, nullptr);
    LineTo(dc(), 1650, 150);
    EXPECT_EQ(100, dib_.count(RGB(0, 0, 0)));
}

TEST_F(ViewMap, ZoomBelowOneBecomesOne)
{
    for (int32_t zoom : {1, 0, -5}) {
        dmSetZoomDC(dc(), zoom);
        EXPECT_EQ(1, dmGetZoom()) << zoom;
        int32_t x, y;
        dmGetZoomedDpi(&x, &y);
        EXPECT_EQ(1, x) << "0.96 pixels per inch rounds to 1";
        EXPECT_EQ(1440, dmGetPixelWidth());
    }
    dmSetZoom(nullptr, -3);
    EXPECT_EQ(1, dmGetZoom());
}

TEST_F(ViewMap, ConversionsAgreeWithTheDeviceContext)
{
    struct Case {
        int32_t zoom, originX, originY, scrollX, scrollY;
    } cases[] = {
        {100, 0, 0, 0, 0},
        {100, 1000, 500, 30, -20},
        {200, -700, 250, 0, 45},
        {150, 16, 30, -12, 7},
        {66, 0, 0, 5, 5},
    };
    const POINT logical[] = {{0, 0}, {1440, 2880}, {-1500, 733}, {12250, 15840}, {7, -7}};
    for (const Case &c : cases) {
        dmSetScrollPos(c.scrollX, c.scrollY);
        dmSetZoomDC(dc(), c.zoom);
        ASSERT_TRUE(dmSetMappingOrg(dc(), c.originX, c.originY));
        for (POINT p : logical) {
            POINT d = p;
            LPtoDP(dc(), &d, 1);
            EXPECT_EQ(d.x, dmLogToDevX(p.x)) << "zoom " << c.zoom << " x " << p.x;
            EXPECT_EQ(d.y, dmLogToDevY(p.y)) << "zoom " << c.zoom << " y " << p.y;
        }
        // Device to logical and back lands on the same pixel.
        for (int32_t v : {0, 1, 57, -33, 199}) {
            EXPECT_EQ(v, dmLogToDevX(dmDevToLogX(v))) << "zoom " << c.zoom;
            EXPECT_EQ(v, dmLogToDevY(dmDevToLogY(v))) << "zoom " << c.zoom;
        }
        RECT r = {-1500, 733, 1440, 2880};
        dmLogToDevRect(&r);
        EXPECT_EQ(dmLogToDevX(-1500), r.left);
        EXPECT_EQ(dmLogToDevY(2880), r.bottom);
    }
}

TEST_F(ViewMap, ScrollOriginIsRecordedAsTheNegatedOffsets)
{
    dmSetMapping(dc());
    POINT old;
    ASSERT_TRUE(dmSetScrollOrg(dc(), -40, -10, &old));
    int32_t sx, sy;
    dmGetScrollPos(&sx, &sy);
    EXPECT_EQ(40, sx);
    EXPECT_EQ(10, sy);
    EXPECT_EQ(0, dmLogToDevX(600));   // 40 pixels of 15 twips scrolled away
    SetViewportOrgEx(dc(), 0, 0, nullptr);
    ASSERT_TRUE(dmApplyScrollOrg(dc()));
    POINT org;
    GetViewportOrgEx(dc(), &org);
    EXPECT_EQ(-40, org.x);
    EXPECT_EQ(-10, org.y);
}

TEST_F(ViewMap, RecordingSettersKeepWhatTheDeviceContextTook)
{
    dmSetMapping(dc());
    ASSERT_TRUE(dmSetWindowExtRec(dc(), 2880, 2880, nullptr));
    EXPECT_EQ(48, dmLogToDevW(1440));
    ASSERT_TRUE(dmSetWindowOrgRec(dc(), 100, 200, nullptr));
    EXPECT_EQ(0, dmLogToDevX(100));
    ASSERT_TRUE(dmSetViewportExtRec(dc(), 192, 192, nullptr));
    EXPECT_EQ(96, dmLogToDevW(1440));
    // A zero extent is refused by the context and not recorded.
    EXPECT_FALSE(dmSetWindowExtRec(dc(), 0, 0, nullptr));
    EXPECT_EQ(96, dmLogToDevW(1440));
    // The plain forms record nothing.
    ASSERT_TRUE(dmSetWindowExt(dc(), 1440, 1440, nullptr));
    EXPECT_EQ(96, dmLogToDevW(1440));
}

TEST_F(ViewMap, ZoomCodesGivePercentages)
{
    struct Case {
        int16_t code;
        int32_t pct;
    } cases[] = {{-1, 100}, {-2, 80},  {-3, 66},  {-4, 50},   {-5, 33},  {-6, 25},
                 {-7, 20},  {-20, 400}, {-21, 200}, {-100, 1}, {0, 1},    {-150, 150},
                 {75, 75},  {-8, 8},   {-32768, 32768}};
    for (const Case &c : cases)
        EXPECT_EQ(c.pct, dmZoomPercent(c.code)) << c.code;
}

TEST_F(ViewMap, TheStackPopsWhatWasPushed)
{
    dmSetZoomDC(dc(), 100);
    ASSERT_TRUE(dmPushState());
    dmSetScrollPos(5, 6);
    dmSetZoomDC(dc(), 200);
    ASSERT_TRUE(dmPushState());
    dmSetUnits(nullptr, DM_UNIT_CM);
    dmSetZoomDC(dc(), 50);
    EXPECT_EQ(2, dmGetStateDepth());

    ASSERT_TRUE(dmPopState());
    EXPECT_EQ(200, dmGetZoom());
    EXPECT_EQ(DM_UNIT_INCHES, dmGetUnits());
    EXPECT_EQ(8, dmGetPixelWidth());
    int32_t sx, sy;
    dmGetScrollPos(&sx, &sy);
    EXPECT_EQ(5, sx);
    ASSERT_TRUE(dmPopState());
    EXPECT_EQ(100, dmGetZoom());
    dmGetScrollPos(&sx, &sy);
    EXPECT_EQ(0, sx);
    EXPECT_EQ(0, dmGetStateDepth());
    EXPECT_EQ(live_, qmtest::liveHandles()) << "the emptied stack is freed";

    // An empty pop changes nothing and says so.
    dmSetZoomDC(dc(), 300);
    ViewMapState before, after;
    dmSaveState(&before);
    EXPECT_FALSE(dmPopState());
    dmSaveState(&after);
    EXPECT_EQ(0, memcmp(&before, &after, sizeof(before)));
}

TEST_F(ViewMap, AFailedPushIsReportedSoTheCallerSkipsItsPop)
{
    dmSetZoomDC(dc(), 100);
    ASSERT_TRUE(dmPushState());   // an older state the caller must not get back
    dmSetZoomDC(dc(), 250);
    {
        qmtest::BoxRecorder boxes;
        utFailNextAllocs(1);
        EXPECT_FALSE(dmPushState());
        utFailNextAllocs(0);
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Memory allocation failed", boxes.last().text);
    }
    EXPECT_EQ(1, dmGetStateDepth());
    EXPECT_EQ(250, dmGetZoom());
    ASSERT_TRUE(dmPopState());
    EXPECT_EQ(100, dmGetZoom());
}

TEST_F(ViewMap, RestoringSkipsAnEmptyRecordAndRaisesAZeroZoom)
{
    dmSetZoomDC(dc(), 120);
    ViewMapState empty = {};
    dmRestoreState(&empty);
    EXPECT_EQ(120, dmGetZoom());
    ViewMapState st;
    dmSaveState(&st);
    st.zoom = 0;
    dmRestoreState(&st);
    EXPECT_EQ(1, dmGetZoom());
}

TEST_F(ViewMap, UnitsConvertThroughTheirFactor)
{
    struct Case {
        uint16_t mode;
        uint16_t stored;
        int32_t oneUnit;       // dmUnitsToLogX(1.0)
        int32_t unitPixels;    // at 96 dpi, zoom 100
    } cases[] = {
        {DM_UNIT_INCHES, DM_UNIT_INCHES, 1440, 96},
        {DM_UNIT_LOG_INCHES, DM_UNIT_LOG_INCHES, 1440, 96},
        {DM_UNIT_FEET, DM_UNIT_FEET, 17280, 1152},
        {DM_UNIT_METRES, DM_UNIT_METRES, 56693, 3780},
        {DM_UNIT_CM, DM_UNIT_CM, 567, 38},
        {DM_UNIT_PIXELS, DM_UNIT_PIXELS, 15, 1},
        {0, DM_UNIT_INCHES, 1440, 96},
        {99, DM_UNIT_INCHES, 1440, 96},
    };
    for (const Case &c : cases) {
        dmSetUnits(nullptr, DM_UNIT_INCHES);
        EXPECT_EQ(DM_UNIT_INCHES, dmSetUnits(nullptr, c.mode));
        EXPECT_EQ(c.stored, dmGetUnits()) << c.mode;
        EXPECT_EQ(c.oneUnit, dmUnitsToLogX(1.0)) << c.mode;
        EXPECT_EQ(c.oneUnit, dmUnitsToLogY(1.0)) << c.mode;
        EXPECT_EQ(c.unitPixels, dmGetUnitPixelsX()) << c.mode;
        EXPECT_NEAR(1.0, dmLogToUnitsX(c.oneUnit), 1e-3) << c.mode;
    }
}

TEST_F(ViewMap, TwipsPointsAndInches)
{
    EXPECT_EQ(2160, dmInchToTwipsX(1.5));
    EXPECT_EQ(-1, dmInchToTwipsY(-0.0007));   // truncated toward zero
    EXPECT_EQ(1, dmInchToTwipsX(0.0007));
    EXPECT_DOUBLE_EQ(0.5, dmTwipsToInchX(720));
    EXPECT_DOUBLE_EQ(-2.0, dmTwipsToInchY(-2880));
    EXPECT_EQ(2, dmTwipsToPoints(30));   // 1.5 rounds away from zero
    EXPECT_EQ(-2, dmTwipsToPoints(-30));
    EXPECT_EQ(1, dmTwipsToPoints(29));
    EXPECT_EQ(240, dmPointsToTwips(12));
    EXPECT_EQ(210, dmPointsToTwipsF(10.5));
    EXPECT_EQ(1, dmPointsToTwipsF(0.025));
    EXPECT_EQ(-1, dmPointsToTwipsF(-0.025));
    EXPECT_EQ(0, dmPointsToTwipsF(0.024));
}

TEST_F(ViewMap, DeviceSizesOfWidePagesDoNotWrap)
{
    const POINT sizes[] = {{40000, -40000}, {32767, 32768}, {15, 14}, {1000000, 0}};
    MemHandle h = dmLogToDevSizes(sizes, 4);
    ASSERT_NE(0u, h);
    {
        MemLock<POINT> out(h);
        EXPECT_EQ(2667, out[0].x);
        EXPECT_EQ(-2667, out[0].y);
        EXPECT_EQ(2184, out[1].x);
        EXPECT_EQ(2185, out[1].y);
        EXPECT_EQ(1, out[2].x);
        EXPECT_EQ(1, out[2].y);
        EXPECT_EQ(66667, out[3].x);
    }
    utFreeHandle(h);
    EXPECT_EQ(0u, dmLogToDevSizes(sizes, 0));
    qmtest::BoxRecorder boxes;
    utFailNextAllocs(1);
    EXPECT_EQ(0u, dmLogToDevSizes(sizes, 4));
    utFailNextAllocs(0);
    EXPECT_EQ(1u, boxes.count());
}

TEST_F(ViewMap, MousePositionsAreSignedSixteenBitHalves)
{
    POINT p;
    dmMsgPointToLog((LPARAM)0xFFFF0001u, &p);
    EXPECT_EQ(15, p.x);
    EXPECT_EQ(-15, p.y);
    dmSetScrollPos(10, 0);
    dmMsgPointToLog(MAKELPARAM(2, 3), &p);
    EXPECT_EQ(180, p.x);
    EXPECT_EQ(45, p.y);
    // Snapped to quarter inches (24 pixels) first: 13 + 10 scroll -> 24.
    dmMsgPointToLogSnap(MAKELPARAM(13, 11), &p, TRUE, 4);
    EXPECT_EQ(24 * 15, p.x);
    EXPECT_EQ(0, p.y);
    dmMsgPointToLogSnap(MAKELPARAM(13, 11), &p, FALSE, 4);
    EXPECT_EQ(23 * 15, p.x);
}

TEST_F(ViewMap, SnapGoesToTheNearestSubdivision)
{
    struct Case {
        int32_t v, scroll;
        int16_t subdivisions;
        int32_t out;
    } cases[] = {
        {13, 0, 4, 24},  {11, 0, 4, 0},    {12, 0, 4, 24},  {35, 0, 4, 24},  {36, 0, 4, 48},
        {100, 0, 1, 96}, {150, 0, 1, 192}, {13, 0, 0, 13},  {13, 10, 4, 14}, {0, 20, 4, 4},
        // Left of or above the page origin the nearest subdivision wins too.
        {-20, 0, 4, -24}, {-13, 0, 4, -24}, {-11, 0, 4, 0}, {-1, 0, 4, 0},  {-100, 0, 1, -96},
    };
    for (const Case &c : cases) {
        dmSetScrollPos(c.scroll, c.scroll);
        POINT p = {c.v, c.v};
        dmSnapDevPoints(&p, 1, c.subdivisions);
        EXPECT_EQ(c.out, p.x) << c.v << " scroll " << c.scroll << " / " << c.subdivisions;
        EXPECT_EQ(c.out, p.y) << c.v << " scroll " << c.scroll << " / " << c.subdivisions;
    }
    // Logical points go through the device grid: a quarter inch is 360 twips.
    dmSetScrollPos(0, 0);
    POINT pts[2] = {{200, 170}, {1000, 1100}};
    dmSnapPoints(pts, 2, 4);
    EXPECT_EQ(360, pts[0].x);
    EXPECT_EQ(0, pts[0].y);
    EXPECT_EQ(1080, pts[1].x);
    EXPECT_EQ(1080, pts[1].y);
}

TEST_F(ViewMap, PointsAtOneHundredPercentLeaveTheMappingAsItWas)
{
    dmSetScrollPos(10, 20);
    dmSetZoomDC(dc(), 200);
    dmSetMappingOrg(dc(), 300, 300);
    ViewMapState before, after;
    dmSaveState(&before);
    POINT pts[2] = {{1440, 2880}, {0, 0}};
    dmLogToDevPoints100(pts, 2);
    EXPECT_EQ(86, pts[0].x);    // origin 0, zoom 100, scroll kept
    EXPECT_EQ(172, pts[0].y);
    EXPECT_EQ(-10, pts[1].x);
    dmDevToLogPoints100(pts, 2);
    EXPECT_EQ(1440, pts[0].x);
    EXPECT_EQ(0, pts[1].y);
    dmSaveState(&after);
    EXPECT_EQ(0, memcmp(&before, &after, sizeof(before)));
    EXPECT_EQ(0, dmGetStateDepth());
}

TEST_F(ViewMap, SavedStatesConvertRectanglesAsTheyWere)
{
    dmSetScrollPos(7, 9);
    dmSetZoomDC(dc(), 200);
    dmSetMappingOrg(dc(), 100, 100);
    ViewMapState st;
    dmSaveState(&st);
    RECT live = {100, 100, 1540, 820};
    dmLogToDevRect(&live);
    dmResetMappingDC(dc());
    RECT saved = {100, 100, 1540, 820};
    dmStateLogToDevRect(&st, &saved);
    EXPECT_EQ(live.left, saved.left);
    EXPECT_EQ(live.top, saved.top);
    EXPECT_EQ(live.right, saved.right);
    EXPECT_EQ(live.bottom, saved.bottom);
    EXPECT_EQ(-7, saved.left);
    EXPECT_EQ(192 - 7, saved.right);
}

TEST_F(ViewMap, DcPixelsAreAtOneHundredPercent)
{
    dmSetZoomDC(dc(), 400);
    EXPECT_EQ(96, dmLogToDCPixelsX(dc(), 1440));
    EXPECT_EQ(48, dmLogToDCPixelsX(dc(), 720));
}

TEST_F(ViewMap, HandlesAndPickMargins)
{
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    EXPECT_EQ(46, hx);
    EXPECT_EQ(46, hy);
    RECT r = {1000, 1000, 2000, 2000};
    EXPECT_EQ(1, dmInflateByHandle(&r));
    EXPECT_EQ(1000 - 61, r.left);
    EXPECT_EQ(2000 + 61, r.bottom);
    // At 800 percent the handles are smaller than the minimum pick margin.
    dmSetZoomDC(dc(), 800);
    dmGetHandleSize(&hx, &hy);
    EXPECT_EQ(7, hx);
    r = {1000, 1000, 2000, 2000};
    dmInflateByHandle(&r);
    EXPECT_EQ(1000 - 30, r.left);
}

TEST_F(ViewMap, NudgingMovesByWholeDevicePixels)
{
    for (int32_t zoom : {100, 33, 66, 150, 800, 10}) {
        dmSetZoomDC(dc(), zoom);
        for (int32_t v : {0, 1000, 1007, -433, 12240}) {
            for (int32_t n = -3; n <= 3; ++n) {
                int32_t w = dmNudgeByPixels(v, n);
                EXPECT_EQ(n, dmLogToDevW(w) - dmLogToDevW(v))
                    << "zoom " << zoom << " v " << v << " n " << n;
            }
        }
    }
    dmSetZoomDC(dc(), 100);
    RECT r = {150, 150, 300, 300};
    dmInflateByPixels(&r, 1, 2);
    EXPECT_EQ(135, r.left);
    EXPECT_EQ(120, r.top);
    EXPECT_EQ(315, r.right);
    EXPECT_EQ(330, r.bottom);
}

TEST_F(ViewMap, XorFeedbackDrawnTwiceRestoresTheBitmap)
{
    dmSetMapping(dc());
    // Something to draw over.
    HBRUSH red = CreateSolidBrush(RGB(200, 30, 30));
    RECT block = {0, 0, 80, 80};
    SetMapMode(dc(), MM_TEXT);
    FillRect(dc(), &block, red);
    DeleteObject(red);
    qmtest::Dib before(200, 200);
    BitBlt(before.dc(), 0, 0, 200, 200, dc(), 0, 0, SRCCOPY);
    dmSetMapping(dc());

    HGDIOBJ pen = GetCurrentObject(dc(), OBJ_PEN);
    int rop = GetROP2(dc());
    RECT outline = {150, 150, 1500, 1500};
    dmDrawXorOutline(dc(), &outline);
    EXPECT_GT(dib_.diff(before), 0);
    EXPECT_EQ(RGB(0xC4, 0xC4, 0xC4), dib_.pixel(100, 50)) << "the right edge is drawn";
    EXPECT_EQ(RGB(0xC4, 0xC4, 0xC4), dib_.pixel(50, 100)) << "the bottom edge is drawn";
    EXPECT_NE(RGB(200, 30, 30), dib_.pixel(10, 50)) << "over the red block";
    dmDrawXorOutline(dc(), &outline);
    EXPECT_EQ(0, dib_.diff(before));

    RECT flat = {150, 1500, 2700, 1500};   // no height: a line
    dmDrawXorOutline(dc(), &flat);
    EXPECT_EQ(RGB(0xC4, 0xC4, 0xC4), dib_.pixel(120, 100));
    EXPECT_EQ(RGB(255, 255, 255), dib_.pixel(120, 10));
    dmDrawXorOutline(dc(), &flat);
    dmDrawXorLine(dc(), 0, 0, 2900, 2600);
    dmDrawXorLine(dc(), 0, 0, 2900, 2600);
    EXPECT_EQ(0, dib_.diff(before));
    EXPECT_EQ(pen, GetCurrentObject(dc(), OBJ_PEN));
    EXPECT_EQ(rop, GetROP2(dc()));
}

TEST_F(ViewMap, OutlinesTakeTheColourAndOperation)
{
    dmSetMapping(dc());
    RECT r = {150, 150, 1500, 1500};
    dmDrawRectOutlineRop(dc(), &r, RGB(255, 0, 0), R2_COPYPEN);
    EXPECT_EQ(RGB(255, 0, 0), dib_.pixel(10, 10));
    EXPECT_EQ(RGB(255, 0, 0), dib_.pixel(100, 100));
    EXPECT_EQ(RGB(255, 255, 255), dib_.pixel(50, 50)) << "nothing is filled";
    dmDrawGreyOutline(dc(), &r, R2_COPYPEN);
    EXPECT_EQ(RGB(0xC4, 0xC4, 0xC4), dib_.pixel(10, 50));
    RECT px = {0, 0, 20, 20};
    SetMapMode(dc(), MM_TEXT);
    EXPECT_TRUE(dmInvertRect(dc(), &px));
    EXPECT_EQ(RGB(0, 0, 0), dib_.pixel(5, 5));
}

TEST_F(ViewMap, MetafileMappingDrawsAtOneHundredPercentAndComesBack)
{
    dmSetScrollPos(30, 40);
    dmSetZoomDC(dc(), 250);
    HDC emf = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, emf);
    RECT page = {100, 200, 2980, 1640};
    ASSERT_TRUE(dmMetafileMapping(emf, &page, TRUE));
    EXPECT_EQ(1, dmGetStateDepth());
    EXPECT_EQ(100, dmGetZoom());
    int32_t sx, sy;
    dmGetScrollPos(&sx, &sy);
    EXPECT_EQ(0, sx);
    SIZE ext;
    GetWindowExtEx(emf, &ext);
    EXPECT_EQ(2880, ext.cx);
    EXPECT_EQ(1440, ext.cy);
    EXPECT_EQ(MM_ANISOTROPIC, GetMapMode(emf));
    EXPECT_EQ(0xFFFFFFu, GetBkColor(emf));
    EXPECT_EQ(OPAQUE, GetBkMode(emf));
    EXPECT_EQ(R2_COPYPEN, GetROP2(emf));
    EXPECT_EQ(GetStockObject(BLACK_PEN), GetCurrentObject(emf, OBJ_PEN));
    int32_t ex, ey;
    dmGetWindowExt(&ex, &ey);
    EXPECT_EQ(2880, ex);
    ASSERT_TRUE(dmMetafileMapping(emf, &page, FALSE));
    EXPECT_EQ(250, dmGetZoom());
    dmGetScrollPos(&sx, &sy);
    EXPECT_EQ(30, sx);
    EXPECT_EQ(0, dmGetStateDepth());

    // An empty rectangle gets extents of 1.
    RECT empty = {5, 5, 5, 5};
    ASSERT_TRUE(dmMetafileMapping(emf, &empty, TRUE));
    GetWindowExtEx(emf, &ext);
    EXPECT_EQ(1, ext.cx);
    EXPECT_EQ(1, ext.cy);
    dmMetafileMapping(emf, &empty, FALSE);

    // Without memory for the save nothing changes and the caller is told.
    {
        qmtest::BoxRecorder boxes;
        utFailNextAllocs(1);
        EXPECT_FALSE(dmMetafileMapping(emf, &page, TRUE));
        utFailNextAllocs(0);
        EXPECT_EQ(1u, boxes.count());
    }
    EXPECT_EQ(250, dmGetZoom());
    EXPECT_EQ(0, dmGetStateDepth());
    DeleteEnhMetaFile(CloseEnhMetaFile(emf));

    EXPECT_FALSE(dmIsMetafileMode());
    dmSetMetafileMode(TRUE);
    EXPECT_TRUE(dmIsMetafileMode());
    dmSetMetafileMode(FALSE);
    EXPECT_FALSE(dmIsMetafileMode());
}

TEST_F(ViewMap, FontSmoothingForcesAntialiasingWithoutTouchingTheCaller)
{
    LOGFONTA lf = {};
    lf.lfHeight = -240;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpyA(lf.lfFaceName, "Arial");
    for (BOOL on : {TRUE, FALSE}) {
        dmSetFontSmoothing(on);
        HFONT f = dmCreateFont(&lf);
        ASSERT_NE(nullptr, f);
        LOGFONTA got;
        GetObjectA(f, sizeof(got), &got);
        EXPECT_EQ(on ? ANTIALIASED_QUALITY : DEFAULT_QUALITY, got.lfQuality);
        EXPECT_EQ(DEFAULT_QUALITY, lf.lfQuality);
        DeleteObject(f);
    }
}

TEST_F(ViewMap, InitMapsTheMainWindowAndSetsTheScreenResolution)
{
    Popup w(300, 200);
    ASSERT_NE(nullptr, w.get());
    dmSetUnits(nullptr, DM_UNIT_CM);
    dmSetZoom(nullptr, 300);
    dmSetScrollPos(4, 4);
    ASSERT_TRUE(dmInit(w.get()));
    EXPECT_EQ(100, dmGetZoom());
    EXPECT_EQ(MM_ANISOTROPIC, dmGetMapMode());
    EXPECT_EQ(DM_UNIT_INCHES, dmGetUnits());
    int32_t x, y;
    dmGetZoomedDpi(&x, &y);
    HDC screen = GetDC(w.get());
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), x);
    ReleaseDC(w.get(), screen);
    EXPECT_EQ(x, winTwipsToPixelsX(1440));
    EXPECT_EQ(y, winTwipsToPixelsY(1440));
    EXPECT_EQ(dmDevToLogW(2), dmGetMinPickMargin());
    int32_t sx, sy;
    dmGetScrollPos(&sx, &sy);
    EXPECT_EQ(0, sx);

    ASSERT_TRUE(dmPushState());
    ASSERT_TRUE(dmPushState());
    dmTerm();
    EXPECT_EQ(0, dmGetStateDepth());
    EXPECT_EQ(live_, qmtest::liveHandles());
    EXPECT_FALSE(dmPopState());
}

TEST_F(ViewMap, WindowRectanglesAndRegions)
{
    Popup w(300, 200, WS_VISIBLE);
    ASSERT_NE(nullptr, w.get());
    dmSetMapping(dc());
    RECT r;
    dmGetClientLogRect(w.get(), &r);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(4500, r.right);
    EXPECT_EQ(3000, r.bottom);
    RECT logical = {150, 300, 1500, 3000};
    HRGN rgn = dmCreateLogRectRgn(&logical);
    ASSERT_NE(nullptr, rgn);
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(10, box.left);
    EXPECT_EQ(20, box.top);
    EXPECT_EQ(100, box.right);
    EXPECT_EQ(200, box.bottom);
    DeleteObject(rgn);

    ValidateRect(w.get(), nullptr);
    EXPECT_TRUE(dmInvalidateLogRect(w.get(), &logical, FALSE));
    RECT upd;
    ASSERT_TRUE(GetUpdateRect(w.get(), &upd, FALSE));
    EXPECT_EQ(10, upd.left);
    EXPECT_EQ(100, upd.right);
    ValidateRect(w.get(), nullptr);
    EXPECT_TRUE(dmInvalidateLogRect(w.get(), nullptr, TRUE));
    ASSERT_TRUE(GetUpdateRect(w.get(), &upd, FALSE));
    EXPECT_EQ(300, upd.right);
}

TEST_F(ViewMap, WindowDcsComeMapped)
{
    Popup w(300, 200, WS_VISIBLE);
    dmSetZoom(nullptr, 200);
    HDC dc = dmGetDC(w.get());
    ASSERT_NE(nullptr, dc);
    EXPECT_EQ(MM_ANISOTROPIC, GetMapMode(dc));
    SIZE vp;
    GetViewportExtEx(dc, &vp);
    EXPECT_EQ(2 * GetDeviceCaps(dc, LOGPIXELSX), vp.cx);
    ReleaseDC(w.get(), dc);

    HDC x = dmBeginXorDC(w.get());
    ASSERT_NE(nullptr, x);
    EXPECT_EQ(R2_NOTXORPEN, GetROP2(x));
    EXPECT_EQ(MM_ANISOTROPIC, GetMapMode(x));
    LOGPEN pen;
    ASSERT_EQ((int)sizeof(pen), GetObjectA(GetCurrentObject(x, OBJ_PEN), sizeof(pen), &pen));
    EXPECT_EQ(0xC4C4C4u, pen.lopnColor);
    EXPECT_EQ((UINT)PS_SOLID, pen.lopnStyle);
    HPEN held = (HPEN)GetCurrentObject(x, OBJ_PEN);
    dmEndXorDC(w.get(), x);
    EXPECT_EQ(0, GetObjectType(held)) << "the pen is deleted";
}

TEST_F(ViewMap, ZoomToFit)
{
    const RECT letter = {0, 0, 12240, 15840};
    const RECT none = {0, 0, 0, 0};
    struct Case {
        RECT device;
        RECT page;
        int32_t pct;
    } cases[] = {
        {{0, 0, 816, 1056}, letter, 100},
        {{0, 0, 816, 1056}, none, 100},   // an empty page fits as 8.5 x 11 inches
        {{0, 0, 408, 2000}, letter, 50},
        {{0, 0, 2000, 528}, letter, 50},
        {{0, 0, 815, 1056}, letter, 99},  // truncated
        {{0, 0, 5, 5}, letter, 1},
        {{0, 0, 0, 0}, letter, 1},
        {{0, 0, 960, 960}, {0, 0, 1440, 1440}, 1000},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.pct, dmZoomToFitRect(&c.device, &c.page))
            << c.device.right << " x " << c.device.bottom;

    Popup w(500, 600);
    ASSERT_NE(nullptr, w.get());
    // (500 / 96 - 0.12) / 8.5 = 0.599, (600 / 96 - 0.12) / 11 = 0.557.
    EXPECT_EQ(56, dmZoomToFitWindow(w.get(), &letter));
    EXPECT_EQ(56, dmZoomToFitWindow(w.get(), &none));
    // (500 - 9) / 96 / 8.5 = 0.6017.
    EXPECT_EQ(60, dmZoomToFitWidth(w.get(), &letter));
    Popup narrow(30, 30);
    EXPECT_EQ(4, dmZoomToFitWidth(narrow.get(), &letter));   // 30 / 96 / 8.5, no 9 off
    Popup tiny(10, 10);   // smaller than the margin
    EXPECT_EQ(1, dmZoomToFitWindow(tiny.get(), &letter));
}

}  // namespace
