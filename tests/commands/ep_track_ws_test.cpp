// The drag loop on a real workspace of the program started in-process: the
// rubber band switches the workspace's tool mode and cursor for the drag,
// snaps as the workspace says, and draws through the workspace's mapping.
#include "tests/app/app_fixture.h"
#include "commands/ep_track.h"
#include "controls/ruler.h"
#include "model/pg_record.h"
#include "support/dm_map.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include "views/ws_scroll.h"
#include <vector>

namespace {

struct BandRun {
    RECT band = {};
    int result = -1;
    int presses = 0;
    std::vector<uint16_t> modesWhilePainting;
    std::vector<HCURSOR> cursorsWhilePainting;
};
BandRun *g_band = nullptr;

LRESULT CALLBACK bandTool(HWND ws, UINT msg, WPARAM wp, LPARAM lp)
{
    if (g_band && msg == WM_LBUTTONDOWN) {
        ++g_band->presses;
        g_band->result = epTrackRubberBand(ws, msg, lp, &g_band->band);
        return 0;
    }
    if (g_band && msg == WM_PAINT) {
        g_band->modesWhilePainting.push_back(wsGetToolMode(ws));
        g_band->cursorsWhilePainting.push_back((HCURSOR)GetClassLongPtrA(ws, GCLP_HCURSOR));
    }
    if (msg == WS_MSG_LEAVE_MODE) {
        wsLeaveToolMode(ws, FALSE);
        return 0;
    }
    return wsDefProc(ws, msg, wp, lp);
}

class TrackWs : public apptest::App {
protected:
    HWND ws = nullptr;
    BandRun run;

    void SetUp() override
    {
        App::SetUp();
        HWND doc = nullptr;
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        // The program starts in select mode: the band tool takes its place.
        wsLeaveToolMode(ws, FALSE);
        wsEnterToolMode(ws, TM_SELECT, bandTool, 0, 0);
        pump();
        g_band = &run;
    }
    void TearDown() override
    {
        g_band = nullptr;
        if (GetCapture())
            ReleaseCapture();
        App::TearDown();
    }

    void post(std::initializer_list<std::pair<UINT, POINT>> gesture)
    {
        for (const auto &m : gesture)
            PostMessageA(ws, m.first, m.first == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                         MAKELPARAM(m.second.x, m.second.y));
        pump();
    }

    // The logical point of a client position under the workspace's mapping.
    POINT logical(int x, int y)
    {
        wsApplyViewMapping(ws);
        POINT p;
        dmMsgPointToLog(MAKELPARAM(x, y), &p);
        return p;
    }
};

TEST_F(TrackWs, RubberBandRunsInModeEightWithItsCursorAndIsNormalised)
{
    RECT client;
    GetClientRect(ws, &client);
    ASSERT_GT(client.right, 200);
    POINT press = logical(150, 120);
    // Dragged up and left, then out past the right edge: the view scrolls
    // and paints while the band is tracked.
    post({{WM_LBUTTONDOWN, POINT{150, 120}},
          {WM_MOUSEMOVE, POINT{60, 40}},
          {WM_MOUSEMOVE, POINT{client.right + 5, 60}},
          {WM_LBUTTONUP, POINT{client.right + 5, 60}}});
    EXPECT_EQ(1, run.presses);
    EXPECT_EQ(1, run.result);
    EXPECT_LT(run.band.left, run.band.right);
    EXPECT_LT(run.band.top, run.band.bottom);
    EXPECT_EQ(press.x, run.band.left);   // the press is the left and bottom edge
    EXPECT_EQ(press.y, run.band.bottom);
    ASSERT_FALSE(run.modesWhilePainting.empty());
    for (uint16_t m : run.modesWhilePainting)
        EXPECT_EQ(8, m);
    for (HCURSOR c : run.cursorsWhilePainting)
        EXPECT_EQ(wsToolCursor(ws, 8), c);
    // Afterwards the tool's own mode and cursor again.
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    EXPECT_EQ(wsToolCursor(ws, TM_SELECT), (HCURSOR)GetClassLongPtrA(ws, GCLP_HCURSOR));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(TrackWs, RubberBandSnapsAsTheWorkspaceSays)
{
    pgSetGridDivisions(ws, 4);
    wsSetSnapToRulers(ws, TRUE);
    post({{WM_LBUTTONDOWN, POINT{101, 103}}, {WM_LBUTTONUP, POINT{150, 170}}});
    EXPECT_EQ(1, run.result);
    // Quarter inches: every edge on the 360-twip grid.
    for (LONG v : {run.band.left, run.band.top, run.band.right, run.band.bottom})
        EXPECT_EQ(0, v % 360) << v;

    // Without snapping the band follows the pointer to the twip.
    wsSetRulerSnap(ws, FALSE, 4);
    POINT from = logical(101, 103), to = logical(150, 170);
    post({{WM_LBUTTONDOWN, POINT{101, 103}}, {WM_LBUTTONUP, POINT{150, 170}}});
    EXPECT_EQ(from.x, run.band.left);
    EXPECT_EQ(to.y, run.band.bottom);
    // The rulers' pointer marks followed the pointer to the end.
    HWND corner = wsGetRulersWindow(ws);
    ASSERT_TRUE(corner != nullptr);
    RulerRecord h = {}, v = {};
    ASSERT_TRUE(rulGetRecord(rulGetRuler(corner, RUL_HORIZONTAL), &h));
    ASSERT_TRUE(rulGetRecord(rulGetRuler(corner, RUL_VERTICAL), &v));
    EXPECT_EQ(150, h.track);
    EXPECT_EQ(170, v.track);
}

TEST_F(TrackWs, DraggingPastTheBottomScrollsOneStepAndKeepsTheEndAtThePointer)
{
    RECT client;
    GetClientRect(ws, &client);
    wsSetRulerSnap(ws, FALSE, 4);
    wsSetScrollPos(ws, 0, 0);
    wsApplyViewMapping(ws);
    const int32_t step = dmGetUnitPixelsY() / 2;
    // The page point one pixel below the window before the view moves.
    const POINT below = logical(100, client.bottom);
    post({{WM_LBUTTONDOWN, POINT{100, 100}},
          {WM_MOUSEMOVE, POINT{100, client.bottom}},
          {WM_LBUTTONUP, POINT{100, client.bottom - step}}});
    EXPECT_EQ(1, run.result);
    int32_t x, y;
    wsGetScrollOrigin(ws, &x, &y);
    EXPECT_EQ(step, y) << "one whole step";
    EXPECT_EQ(below.y, run.band.bottom);
}

}  // namespace
