// The freehand polyline and curve tools on a started program: posted
// clicks, double clicks and right presses make polylines, polygons,
// Poly-HV, curves and closed curves with their points where they were
// clicked, or nothing.
#include "tests/app/app_fixture.h"
#include "tools/ep_create.h"
#include "tools/ep_selection.h"
#include "tools/ep_tool_choice.h"
#include "tools/ne_freehand.h"
#include "commands/ud_undo.h"
#include "model/setup_record.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/pg_page.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/win_mouse.h"
#include "views/dw_window.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <vector>

#include "support/win_menu.h"

namespace {

const int kTwipsPerPixel = 15;   // at 100 percent

class Freehand : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        wsSetZoomPercent(ws, 100);
        wsSetSnapToRulers(ws, FALSE);
        setPutStayInDrawMode(FALSE);
        // A right button that reaches the select mode opens the page menu:
        // it is answered with no choice, never shown.
        winSetTrackPopupHook([](HMENU, UINT, int, int, HWND) -> UINT { return 0; });
    }
    void TearDown() override
    {
        winSetTrackPopupHook(nullptr);
        neClearStroke(FALSE);
        neClearStroke(TRUE);
        epResetToolChoice();
        App::TearDown();
        dwResetModule();
    }

    void tool(int16_t type, LONG_PTR expected)
    {
        ASSERT_EQ(1, epChooseTool(ws, 0, type));
        pump();
        ASSERT_EQ(TM_CREATE, wsGetToolMode(ws));
        ASSERT_EQ(expected, GetWindowLongPtrA(ws, GWLP_WNDPROC));
    }
    void post(UINT msg, POINT p, WPARAM keys = 0)
    {
        PostMessageA(ws, msg, keys, MAKELPARAM(p.x, p.y));
    }
    // A click that the press classification takes as one at once.
    void click(POINT p)
    {
        post(WM_LBUTTONDOWN, p, MK_LBUTTON);
        post(WM_LBUTTONUP, p);
        PostMessageA(ws, WM_TIMER, WIN_WAIT_CLICK_TIMER, 0);
    }
    void doubleClick(POINT p)
    {
        post(WM_LBUTTONDOWN, p, MK_LBUTTON);
        post(WM_LBUTTONUP, p);
        post(WM_LBUTTONDBLCLK, p, MK_LBUTTON);
        post(WM_LBUTTONUP, p);
    }
    int objectCount() { return (int)obCountList(pgGetFirstObject(pvGetCurrentPage(ws))); }
    MemHandle lastObject() { return pgGetLastObject(pvGetCurrentPage(ws)); }

    // The object's points as pixel offsets from its first point.
    std::vector<POINT> shapeInPixels(MemHandle h)
    {
        int16_t n = 0;
        MemHandle pts = obGetVertices(h, &n);
        std::vector<POINT> v((size_t)n);
        if (n) {
            MemLock<POINT> p(pts);
            for (int i = 0; i < n; ++i)
                v[(size_t)i] = POINT{(p[i].x - p[0].x) / kTwipsPerPixel,
                                     (p[i].y - p[0].y) / kTwipsPerPixel};
        }
        utFreeHandle(pts);
        return v;
    }
};

void expectPoints(const std::vector<POINT> &got, const std::vector<POINT> &want)
{
    ASSERT_EQ(want.size(), got.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(want[i].x, got[i].x) << "point " << i;
        EXPECT_EQ(want[i].y, got[i].y) << "point " << i;
    }
}

TEST_F(Freehand, ClicksAndADoubleClickMakeAPolylineOrAPolygon)
{
    struct Case {
        int16_t tool, made;
    } cases[] = {{OBT_POLYLINE, OBT_POLYLINE}, {OBT_POLYGON, OBT_POLYGON}};
    int made = 0;
    for (const Case &c : cases) {
        tool(c.tool, (LONG_PTR)FreeLineToolWndProc);
        click({100, 100});
        click({200, 110});
        doubleClick({150, 200});
        pump();
        ASSERT_EQ(++made, objectCount());
        MemHandle h = lastObject();
        EXPECT_EQ(c.made, obGetType(h));
        expectPoints(shapeInPixels(h), {{0, 0}, {100, 10}, {50, 100}});
        EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
        EXPECT_EQ(h, wsGetCurrentObject(ws));
        UndoRecord undo;
        ASSERT_TRUE(wsGetUndo(ws, &undo));
        EXPECT_EQ(kEpUndoCreated, (int16_t)undo.kind);
        EXPECT_TRUE(wsIsModified(ws));
    }
}

TEST_F(Freehand, PolyHVMakesAPolylineOfHorizontalAndVerticalSegments)
{
    tool(OBT_POLYHV, (LONG_PTR)FreeLineToolWndProc);
    click({100, 100});
    click({180, 110});   // more across than down: horizontal
    click({185, 160});   // more down: vertical
    doubleClick({230, 200});   // more across again: horizontal
    pump();
    MemHandle h = lastObject();
    ASSERT_TRUE(h);
    EXPECT_EQ(OBT_POLYLINE, obGetType(h));
    expectPoints(shapeInPixels(h), {{0, 0}, {80, 0}, {80, 60}, {130, 60}});
    POINT tie = neHorizontalOrVertical({0, 0}, {40, 40});
    EXPECT_EQ(40, tie.x);
    EXPECT_EQ(0, tie.y) << "a tie zeroes the vertical difference";
}

TEST_F(Freehand, TwoPointsMakeALineAndOnePointMakesNothing)
{
    tool(OBT_POLYLINE, (LONG_PTR)FreeLineToolWndProc);
    click({100, 100});
    doubleClick({300, 100});
    pump();
    ASSERT_EQ(1, objectCount());
    EXPECT_EQ(OBT_LINE, obGetType(lastObject()));

    tool(OBT_POLYLINE, (LONG_PTR)FreeLineToolWndProc);
    click({100, 300});
    post(WM_RBUTTONDOWN, {120, 320}, MK_RBUTTON);
    post(WM_RBUTTONUP, {120, 320});
    pump();
    EXPECT_EQ(1, objectCount()) << "nothing more made";
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
}

TEST_F(Freehand, CurveClicksMakeStraightSegmentsAndACloseEndMakesAClosedCurve)
{
    tool(OBT_BEZIER, (LONG_PTR)FreeCurveToolWndProc);
    click({100, 100});
    click({190, 100});
    doubleClick({190, 160});
    pump();
    ASSERT_EQ(1, objectCount());
    MemHandle curve = lastObject();
    EXPECT_EQ(OBT_BEZIER, obGetType(curve));
    expectPoints(shapeInPixels(curve),
                 {{0, 0}, {30, 0}, {60, 0}, {90, 0}, {90, 20}, {90, 40}, {90, 60}});

    tool(OBT_BEZIER, (LONG_PTR)FreeCurveToolWndProc);
    click({300, 300});
    click({400, 300});
    click({400, 400});
    doubleClick({303, 302});   // within five pixels of the start
    pump();
    ASSERT_EQ(2, objectCount());
    MemHandle closed = lastObject();
    EXPECT_EQ(OBT_CLOSED_CURVE, obGetType(closed));
    std::vector<POINT> pts = shapeInPixels(closed);
    ASSERT_EQ(10u, pts.size());
    EXPECT_EQ(0, pts.back().x);
    EXPECT_EQ(0, pts.back().y);
}

TEST_F(Freehand, ADragAddsItsPressAndReleasePointsAndEndsTheStroke)
{
    tool(OBT_POLYGON, (LONG_PTR)FreeLineToolWndProc);
    // A drag adds its press and release points and ends the stroke.
    post(WM_LBUTTONDOWN, {100, 100}, MK_LBUTTON);
    post(WM_MOUSEMOVE, {160, 160}, MK_LBUTTON);
    post(WM_LBUTTONUP, {200, 100});
    pump();
    ASSERT_EQ(1, objectCount());
    EXPECT_EQ(OBT_LINE, obGetType(lastObject())) << "a two-point polygon is a line";
    expectPoints(shapeInPixels(lastObject()), {{0, 0}, {100, 0}});
}

TEST_F(Freehand, TheBezierSectionDragMakesAStraightCurve)
{
    ASSERT_EQ(1, epChooseTool(ws, 0, 22));
    pump();
    post(WM_LBUTTONDOWN, {100, 100}, MK_LBUTTON);
    post(WM_MOUSEMOVE, {140, 140}, MK_LBUTTON);
    post(WM_MOUSEMOVE, {190, 130}, MK_LBUTTON);
    post(WM_LBUTTONUP, {190, 130});
    pump();
    ASSERT_EQ(1, objectCount());
    MemHandle curve = lastObject();
    EXPECT_EQ(OBT_BEZIER, obGetType(curve));
    expectPoints(shapeInPixels(curve), {{0, 0}, {30, 10}, {60, 20}, {90, 30}});
    POINT seg[3];
    neStraightBezierSegment({0, 0}, {-10, 5}, seg);
    EXPECT_EQ(-3, seg[0].x);
    EXPECT_EQ(-6, seg[1].x);
    EXPECT_EQ(3, seg[1].y);
}

}  // namespace
