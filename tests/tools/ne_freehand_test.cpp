// The freehand polyline and curve tools on a started program: posted
// clicks, double clicks and right presses make polylines, polygons,
// Poly-HV, curves and closed curves with their points where they were
// clicked, or nothing.
#include "tests/app/app_fixture.h"
#include "tools/ep_create.h"
#include "tools/ep_selection.h"
#include "tools/ep_tool_choice.h"
#include "tools/ne_freehand.h"
#include "tools/ne_state.h"
#include "tests/support/kit.h"
#include "tests/tools/tools_kit.h"
#include "support/settings_reg.h"
#include <math.h>
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
        neEnd();
        neLoadSettings("");
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
    // A drag through the points (the first the press, the last the
    // release); the press classification takes the first move past its
    // threshold.
    void drag(const std::vector<POINT> &pts)
    {
        post(WM_LBUTTONDOWN, pts.front(), MK_LBUTTON);
        for (size_t i = 1; i + 1 < pts.size(); ++i)
            post(WM_MOUSEMOVE, pts[i], MK_LBUTTON);
        post(WM_LBUTTONUP, pts.back());
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

TEST_F(Freehand, APolylineDragAddsAPointPerMinimumSpacing)
{
    tool(OBT_POLYLINE, (LONG_PTR)FreeLineToolWndProc);
    // (120, 100) makes the press a drag; then 2 pixels add nothing, 3 do.
    drag({{100, 100}, {120, 100}, {130, 100}, {132, 100}, {132, 102}, {131, 101},
          {133, 100}, {133, 100}});
    pump();
    ASSERT_EQ(1, objectCount());
    EXPECT_EQ(OBT_POLYLINE, obGetType(lastObject()));
    expectPoints(shapeInPixels(lastObject()), {{0, 0}, {30, 0}, {33, 0}});
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
}

TEST_F(Freehand, APolyHVDragMakesOnlyHorizontalAndVerticalSegments)
{
    tool(OBT_POLYHV, (LONG_PTR)FreeLineToolWndProc);
    std::vector<POINT> path = {{100, 100}, {120, 104}};
    for (int i = 1; i <= 40; ++i)
        path.push_back(POINT{100 + i * 5, 100 + (i * i) / 8});
    path.push_back(path.back());
    drag(path);
    pump();
    ASSERT_EQ(1, objectCount());
    MemHandle h = lastObject();
    EXPECT_EQ(OBT_POLYLINE, obGetType(h));
    std::vector<POINT> p = shapeInPixels(h);
    ASSERT_GT(p.size(), 4u);
    for (size_t i = 1; i < p.size(); ++i)
        EXPECT_TRUE(p[i].x == p[i - 1].x || p[i].y == p[i - 1].y) << "segment " << i;
}

TEST_F(Freehand, TheAdvancedOptionGoesOnWithTheSameStrokeAfterADrag)
{
    neSetLineDrawOptions(3, 6, 5, TRUE);
    tool(OBT_POLYLINE, (LONG_PTR)FreeLineToolWndProc);
    drag({{100, 100}, {120, 100}, {140, 100}, {160, 100}, {160, 100}});
    drag({{200, 200}, {200, 220}, {200, 240}, {200, 240}});
    post(WM_RBUTTONDOWN, {200, 240}, MK_RBUTTON);
    post(WM_RBUTTONUP, {200, 240});
    pump();
    ASSERT_EQ(1, objectCount()) << "both drags are one object";
    expectPoints(shapeInPixels(lastObject()),
                 {{0, 0}, {40, 0}, {60, 0}, {100, 100}, {100, 140}});
}

TEST_F(Freehand, TrackingLinesDrawnTwiceLeaveThePictureAsItWas)
{
    qmtest::Dib dib(300, 300);
    qmtest::Dib blank(300, 300);
    dmSetMapping(dib.dc());
    POINT pts[3] = {{300, 300}, {3000, 600}, {1500, 3000}};
    // The page's default pen (flag 0x40 is on by default).
    neDrawTrackLines(ws, dib.dc(), pts, 3);
    EXPECT_GT(dib.diff(blank), 100);
    neDrawTrackLines(ws, dib.dc(), pts, 3);
    EXPECT_EQ(0, dib.diff(blank));
}

// The sample points of a quarter (or nearly whole) circle about c.
std::vector<POINT> arc(POINT c, int radius, int degrees, int step)
{
    std::vector<POINT> v;
    for (int a = 0; a <= degrees; a += step)
        v.push_back(POINT{c.x + (LONG)lround(radius * cos(a * M_PI / 180)),
                          c.y + (LONG)lround(radius * sin(a * M_PI / 180))});
    return v;
}

TEST_F(Freehand, ACurveDragIsFittedWithinTheCurveResolution)
{
    tool(OBT_BEZIER, (LONG_PTR)FreeCurveToolWndProc);
    std::vector<POINT> path = arc({100, 100}, 200, 90, 2);
    path.push_back(path.back());
    drag(path);
    pump();
    ASSERT_EQ(1, objectCount());
    MemHandle h = lastObject();
    EXPECT_EQ(OBT_BEZIER, obGetType(h));
    int16_t n = 0;
    MemHandle pts = obGetVertices(h, &n);
    std::vector<POINT> curve((size_t)n);
    {
        MemLock<POINT> p(pts);
        memcpy(curve.data(), p.get(), curve.size() * sizeof(POINT));
    }
    utFreeHandle(pts);
    ASSERT_GE(n, 4);
    EXPECT_EQ(1, n % 3) << "1 + 3k points";
    // Every sample, in twips relative to the press, near the curve: within
    // the tolerance (6 pixels) and a pixel of rounding.
    const int32_t tolerance = 6 * kTwipsPerPixel + kTwipsPerPixel;
    const POINT origin = curve.front();
    for (size_t i = 0; i < path.size(); ++i) {
        POINT p = {origin.x + (path[i].x - path[0].x) * kTwipsPerPixel,
                   origin.y + (path[i].y - path[0].y) * kTwipsPerPixel};
        EXPECT_LE(eptest::distanceToCurve(curve, p), tolerance) << "sample " << i;
    }
    POINT end = {origin.x + (path.back().x - path[0].x) * kTwipsPerPixel,
                 origin.y + (path.back().y - path[0].y) * kTwipsPerPixel};
    EXPECT_LE(labs(curve.back().x - end.x) + labs(curve.back().y - end.y), 2 * kTwipsPerPixel);
}

TEST_F(Freehand, ACurveDragEndingNearItsStartIsClosed)
{
    tool(OBT_BEZIER, (LONG_PTR)FreeCurveToolWndProc);
    std::vector<POINT> path = arc({250, 250}, 150, 356, 4);
    path.push_back(POINT{path[0].x + 2, path[0].y + 2});
    path.push_back(path.back());
    drag(path);
    pump();
    ASSERT_EQ(1, objectCount());
    MemHandle h = lastObject();
    EXPECT_EQ(OBT_CLOSED_CURVE, obGetType(h));
    std::vector<POINT> p = eptest::pointsOf(h);
    ASSERT_GE(p.size(), 4u);
    EXPECT_EQ(1u, p.size() % 3);
    EXPECT_TRUE(eptest::samePoint(p.front(), p.back()));
}

TEST_F(Freehand, CommitRecordsAFullCopyThatUndoRestores)
{
    tool(OBT_POLYLINE, (LONG_PTR)FreeLineToolWndProc);
    click({100, 100});
    click({200, 100});
    doubleClick({200, 200});
    pump();
    MemHandle h = lastObject();
    std::vector<uint8_t> before;
    auto bytes = [](MemHandle o) {
        ObLock r(o);
        const uint8_t *b = reinterpret_cast<const uint8_t *>(r.get());
        // The head without its links, the name and the type data.
        std::vector<uint8_t> v(b, b + 58);
        v.insert(v.end(), b + 86, b + r->length);
        return v;
    };
    before = bytes(h);
    wsClearModified(ws);
    ASSERT_EQ(1, neBeginObject(ws, h));
    neCommit(ws, h, TRUE);
    EXPECT_FALSE(wsIsModified(ws)) << "nothing changed";
    {
        MemLock<POINT> w(neGetState()->points);
        w[1].x += 300;
    }
    h = neCommit(ws, h, TRUE);
    EXPECT_TRUE(wsIsModified(ws));
    UndoRecord undo;
    ASSERT_TRUE(wsGetUndo(ws, &undo));
    EXPECT_EQ(UD_COPY, (int16_t)undo.kind);
    EXPECT_NE(before, bytes(h));
    neEnd();
    cmdUndo(ws, h);
    pump();
    EXPECT_EQ(before, bytes(lastObject()));
    EXPECT_EQ(1, objectCount());
}

class LineDrawSettings : public apptest::App {};

TEST_F(LineDrawSettings, ReadAtFrameCreationAndWrittenAtClose)
{
    setPutString("EPenv", "10, 10, 10, 128");
    HWND doc = nullptr, ws = nullptr;
    ASSERT_TRUE(startWithDocument(&doc, &ws));
    EXPECT_EQ(10, neGetMinSpacing());
    EXPECT_EQ(0xC0, neGetFlags());
    neSetLineDrawOptions(7, 8, 9, FALSE);
    SendMessageA(frame, WM_CLOSE, 0, 0);
    pump();
    char text[260];
    setGetString("EPenv", text);
    EXPECT_STREQ("7, 8, 9, 64", text);
    neLoadSettings("");
}

}  // namespace
