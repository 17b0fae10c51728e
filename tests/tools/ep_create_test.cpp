// Create mode, tool choice and the selection core on a started program:
// posted gestures in a real workspace make objects, record their undo step,
// select them and mark the document.
#include "tests/app/app_fixture.h"
#include "tests/support/kit_dialog.h"
#include "tools/dlg_star.h"
#include "tools/ep_create.h"
#include "tools/ep_factory.h"
#include "tools/ep_handles.h"
#include "tools/ep_polygon.h"
#include "tools/ep_selection.h"
#include "tools/ep_tool_choice.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "app/app_frame_docs.h"
#include "commands/app_stdbar.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_page.h"
#include "objects/onm_names.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/win_mouse.h"
#include "views/dw_window.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <math.h>
#include <string>

namespace {

using qmtest::BoxRecorder;

struct Move {
    UINT msg;
    int x, y;
};

class CreateMode : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    BYTE savedKeys[256];

    void SetUp() override
    {
        App::SetUp();
        GetKeyboardState(savedKeys);
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        ASSERT_TRUE(pvGetCurrentPage(ws) != 0);
        wsSetZoomPercent(ws, 100);
        epSetRoundRectRatio(0.0);
        epSetStarConfig(5, 50);
        setPutStayInDrawMode(FALSE);
    }
    void TearDown() override
    {
        SetKeyboardState(savedKeys);
        epResetToolChoice();
        App::TearDown();
        dwResetModule();
    }

    void shift(bool down)
    {
        BYTE state[256];
        memcpy(state, savedKeys, sizeof state);
        state[VK_SHIFT] = down ? 0x80 : 0;
        SetKeyboardState(state);
    }

    // Posts the gesture to the workspace and lets it run.
    void gesture(const std::vector<Move> &moves)
    {
        const bool right = !moves.empty() && moves[0].msg == WM_RBUTTONDOWN;
        for (const Move &m : moves) {
            WPARAM keys = 0;
            if (m.msg == WM_LBUTTONDOWN || (m.msg == WM_MOUSEMOVE && !right))
                keys = MK_LBUTTON;
            if (m.msg == WM_RBUTTONDOWN || (m.msg == WM_MOUSEMOVE && right))
                keys = MK_RBUTTON;
            PostMessageA(ws, m.msg, keys, MAKELPARAM(m.x, m.y));
        }
        pump();
    }
    // A left drag from a to b by way of a far point (so that it counts as
    // a drag at once).
    void drag(POINT a, POINT b, UINT down = WM_LBUTTONDOWN)
    {
        const UINT up = down == WM_LBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP;
        gesture({{down, (int)a.x, (int)a.y},
                 {WM_MOUSEMOVE, (int)(a.x + 20), (int)(a.y + 20)},
                 {WM_MOUSEMOVE, (int)b.x, (int)b.y},
                 {up, (int)b.x, (int)b.y}});
    }

    // Create mode with the type, as the tool choice installs it.
    void tool(int16_t type)
    {
        ASSERT_EQ(1, epChooseTool(ws, 0, type));
        pump();
        ASSERT_EQ(TM_CREATE, wsGetToolMode(ws));
    }

    MemHandle lastObject() { return pgGetLastObject(pvGetCurrentPage(ws)); }
    int objectCount() { return (int)obCountList(pgGetFirstObject(pvGetCurrentPage(ws))); }
    LONG_PTR proc() { return GetWindowLongPtrA(ws, GWLP_WNDPROC); }
};

// ---- the road of one rectangle -----------------------------------------------------------------

TEST_F(CreateMode, RectangleToolDragMakesASelectedRecordedObject)
{
    ASSERT_EQ(1, epChooseTool(ws, 306, OBT_RECTANGLE));
    pump();
    EXPECT_EQ(OBT_RECTANGLE, wsGetCurrentType(ws));
    EXPECT_EQ(TM_CREATE, wsGetToolMode(ws));
    EXPECT_EQ((LONG_PTR)CreateToolWndProc, proc());
    EXPECT_EQ((ULONG_PTR)LoadCursorA(nullptr, (LPCSTR)IDC_CROSS),
              GetClassLongPtrA(ws, GCLP_HCURSOR));
    EXPECT_FALSE(wsIsModified(ws));

    gesture({{WM_LBUTTONDOWN, 100, 100},
             {WM_MOUSEMOVE, 150, 130},
             {WM_MOUSEMOVE, 196, 148},
             {WM_LBUTTONUP, 196, 148}});

    ASSERT_EQ(1, objectCount());
    MemHandle made = lastObject();
    EXPECT_EQ(OBT_RECTANGLE, obGetType(made));
    EXPECT_EQ(1440, obGetWidth(made));
    EXPECT_EQ(720, obGetHeight(made));
    UndoRecord undo;
    ASSERT_TRUE(wsGetUndo(ws, &undo));
    EXPECT_EQ(kEpUndoCreated, (int16_t)undo.kind);
    EXPECT_EQ(made, undo.object);
    EXPECT_TRUE(appIsStdBarButtonEnabled(APP_CMD_UNDO));
    EXPECT_TRUE(appIsStdBarButtonEnabled(202));   // copy: something is selected
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    EXPECT_EQ((LONG_PTR)SelectToolWndProc, proc());
    EXPECT_EQ(made, wsGetCurrentObject(ws));
    EXPECT_EQ(OBT_RECTANGLE, wsGetCurrentType(ws));
    EXPECT_TRUE(wsIsModified(ws));
    std::string title = qmtest::windowText(doc);
    ASSERT_GE(title.size(), 2u);
    EXPECT_EQ(" *", title.substr(title.size() - 2)) << title;
}

TEST_F(CreateMode, ADragReleasedOutsideTheFrameMakesNothingAndTheNextDragCreates)
{
    tool(OBT_RECTANGLE);
    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    POINT out = {frameRect.right + 40, frameRect.bottom + 40};
    ScreenToClient(ws, &out);
    gesture({{WM_LBUTTONDOWN, 100, 100},
             {WM_MOUSEMOVE, 150, 150},
             {WM_LBUTTONUP, (int)out.x, (int)out.y}});
    EXPECT_EQ(0, objectCount());
    EXPECT_EQ(TM_CREATE, wsGetToolMode(ws));
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_FALSE(wsIsModified(ws));

    // A release lost outside every window: the next press ends that drag
    // and makes its own object.
    gesture({{WM_LBUTTONDOWN, 100, 100},
             {WM_MOUSEMOVE, 150, 150},
             {WM_LBUTTONDOWN, 200, 200},
             {WM_MOUSEMOVE, 230, 230},
             {WM_MOUSEMOVE, 296, 248},
             {WM_LBUTTONUP, 296, 248}});
    ASSERT_EQ(1, objectCount());
    EXPECT_EQ(1440, obGetWidth(lastObject()));
    EXPECT_EQ(720, obGetHeight(lastObject()));
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    EXPECT_EQ(nullptr, GetCapture());
}

// The creation's one undo step is pending, with the new object selected,
// however the object was made, and undoing it takes the object away.
TEST_F(CreateMode, TheCreationStepStaysWithTheNewSelectionAndUndoesIt)
{
    struct Case {
        const char *what;
        int16_t type;
        bool click;
        BOOL stay;
    } cases[] = {
        {"dragged rectangle", OBT_RECTANGLE, false, FALSE},
        {"dragged rectangle, staying in draw mode", OBT_RECTANGLE, false, TRUE},
        {"dragged ellipse", OBT_ELLIPSE, false, FALSE},
        {"clicked entry field", 41, true, FALSE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        setPutStayInDrawMode(c.stay);
        tool(c.type);
        if (c.click)
            gesture({{WM_LBUTTONDOWN, 100, 100}, {WM_LBUTTONUP, 100, 100}});
        else
            drag({100, 100}, {196, 148});
        pump();
        MemHandle made = lastObject();
        ASSERT_TRUE(made != 0);
        UndoRecord undo;
        ASSERT_TRUE(wsGetUndo(ws, &undo));
        EXPECT_EQ(kEpUndoCreated, (int16_t)undo.kind);
        EXPECT_EQ(made, undo.object);
        EXPECT_EQ(c.stay ? TM_CREATE : TM_SELECT, wsGetToolMode(ws));
        if (!c.stay) {
            EXPECT_EQ(made, wsGetCurrentObject(ws));
        }
        EXPECT_TRUE(appIsStdBarButtonEnabled(APP_CMD_UNDO));
        const int before = objectCount();
        cmdUndo(ws, wsGetCurrentObject(ws));
        pump();
        EXPECT_EQ(before - 1, objectCount());
        EXPECT_FALSE(wsIsUndoPending(ws));
        SendMessageA(ws, WS_MSG_LEAVE_MODE, 0, 0);
        pump();
    }
}

TEST_F(CreateMode, StayInDrawModeKeepsTheToolAndTheStep)
{
    setPutStayInDrawMode(TRUE);
    tool(OBT_ELLIPSE);
    drag({100, 100}, {160, 140});
    drag({200, 200}, {260, 240});
    EXPECT_EQ(2, objectCount());
    EXPECT_EQ(TM_CREATE, wsGetToolMode(ws));
    UndoRecord undo;
    ASSERT_TRUE(wsGetUndo(ws, &undo));
    EXPECT_EQ(lastObject(), undo.object);
}

// ---- shapes of the drag ----------------------------------------------------------------------

TEST_F(CreateMode, ShapeOfTheDragByToolButtonAndShift)
{
    wsSetSnapToRulers(ws, FALSE);
    struct Case {
        const char *name;
        int16_t tool;
        UINT button;
        bool shift;
        POINT from, to;      // pixels (15 twips each)
        int16_t madeType;    // 0: nothing made
        int16_t typeAfter;   // the current type afterwards (in stay-in-draw mode)
        RECT box;            // twips, relative to the press point
    } cases[] = {
        {"H-Line dragged mostly down is a V-Line", OBT_HLINE, WM_LBUTTONDOWN, false,
         {100, 100}, {110, 180}, OBT_VLINE, OBT_VLINE, {0, 0, 0, 1200}},
        {"H-Line dragged right to left", OBT_HLINE, WM_LBUTTONDOWN, false,
         {200, 100}, {100, 110}, OBT_HLINE, OBT_HLINE, {-1500, 0, 0, 0}},
        {"right button with the ellipse makes a circle", OBT_ELLIPSE, WM_RBUTTONDOWN, false,
         {100, 100}, {180, 140}, OBT_CIRCLE, OBT_CIRCLE, {0, 0, 600, 600}},
        {"right button with the rectangle makes a square", OBT_RECTANGLE, WM_RBUTTONDOWN,
         false, {100, 100}, {140, 180}, OBT_SQUARE, OBT_SQUARE, {0, 0, 600, 600}},
        {"shift makes the press the centre", OBT_RECTANGLE, WM_LBUTTONDOWN, true,
         {100, 100}, {140, 120}, OBT_RECTANGLE, OBT_RECTANGLE, {-600, -300, 600, 300}},
        {"zero-length line", OBT_LINE, WM_LBUTTONDOWN, false, {100, 100}, {100, 100}, 0,
         OBT_LINE, {}},
        {"one-pixel-wide rectangle", OBT_RECTANGLE, WM_LBUTTONDOWN, false, {100, 100},
         {100, 180}, 0, OBT_RECTANGLE, {}},
        {"flat ellipse", OBT_ELLIPSE, WM_LBUTTONDOWN, false, {100, 100}, {180, 100}, 0,
         OBT_ELLIPSE, {}},
    };
    setPutStayInDrawMode(TRUE);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        tool(c.tool);
        const int before = objectCount();
        shift(c.shift);
        drag(c.from, c.to, c.button);
        shift(false);
        if (!c.madeType) {
            EXPECT_EQ(before, objectCount());
            continue;
        }
        ASSERT_EQ(before + 1, objectCount());
        MemHandle made = lastObject();
        EXPECT_EQ(c.madeType, obGetType(made));
        EXPECT_EQ(c.typeAfter, wsGetCurrentType(ws));
        RECT r;
        obGetRect(made, &r);
        POINT press = {c.from.x, c.from.y};
        wsApplyViewMapping(ws);
        dmDevToLogPoints(&press, 1);
        EXPECT_EQ(c.box.left, r.left - press.x);
        EXPECT_EQ(c.box.top, r.top - press.y);
        EXPECT_EQ(c.box.right, r.right - press.x);
        EXPECT_EQ(c.box.bottom, r.bottom - press.y);
    }
}

TEST_F(CreateMode, FiveTipStarIsATenPointPolygonOfTheDragsHalfWidth)
{
    wsSetSnapToRulers(ws, FALSE);
    wsSetZoomPercent(ws, 150);   // 10 twips a pixel
    epSetStarConfig(5, 50);
    wsSetCurrentType(ws, OBT_STAR);
    epEnterCreateMode(ws, 0, OBT_STAR);
    pump();
    // Dragged right to left: the radius is the absolute half width.
    drag({400, 100}, {200, 300});
    MemHandle star = lastObject();
    ASSERT_TRUE(star != 0);
    EXPECT_EQ(OBT_POLYGON, obGetType(star));
    ObLock r(star);
    const uint8_t *d = obRecData(r.get());
    int16_t n;
    memcpy(&n, d, 2);
    ASSERT_EQ(10, n);
    double outer = 0, inner = 1e9;
    RECT box;
    obRecGetRect(r.get(), &box);
    POINT centre = {(box.left + box.right) / 2, 0};
    // Distances from the circle's centre (the box of an odd star is not
    // centred on it): the top tip lies at the outer radius straight above.
    std::vector<POINT> pts(n);
    memcpy(pts.data(), d + 2, 8 * n);
    for (POINT &p : pts) {
        p.x += r->centreX;
        p.y += r->centreY;
    }
    const POINT top = *std::min_element(pts.begin(), pts.end(),
                                        [](POINT a, POINT b) { return a.y < b.y; });
    centre.y = top.y + 1000;
    for (const POINT &p : pts) {
        const double dist = hypot(p.x - centre.x, p.y - centre.y);
        outer = std::max(outer, dist);
        inner = std::min(inner, dist);
    }
    EXPECT_NEAR(1000, outer, 2);
    EXPECT_NEAR(500, inner, 2);
}

TEST_F(CreateMode, TheRoundedRectangleCommandSetsTheRatioForTheNextOnes)
{
    ASSERT_EQ(1, epChooseToolByCommand(ws, 1381, 0));
    pump();
    EXPECT_EQ(OBT_ROUNDRECT, wsGetCurrentType(ws));
    EXPECT_DOUBLE_EQ(0.4, epGetRoundRectRatio());
    drag({100, 100}, {196, 148});   // 1440 x 720
    MemHandle rr = lastObject();
    ASSERT_EQ(OBT_ROUNDRECT, obGetType(rr));
    ObLock r(rr);
    int32_t rounding[2];
    memcpy(rounding, obRecData(r.get()) + 8, 8);
    EXPECT_EQ(288, rounding[0]);
    EXPECT_EQ(288, rounding[1]);
    EXPECT_EQ(0, epChooseToolByCommand(ws, 1396, 0));
    EXPECT_EQ(0, epChooseToolByCommand(ws, 306, 7));
}

// ---- fields -------------------------------------------------------------------------------------

TEST_F(CreateMode, AFieldRectangleOfThreePixelsIsRefusedWithAMessage)
{
    wsSetSnapToRulers(ws, FALSE);
    tool(OBT_ENTRY);
    BoxRecorder boxes;
    gesture({{WM_LBUTTONDOWN, 100, 100},
             {WM_MOUSEMOVE, 115, 115},
             {WM_MOUSEMOVE, 103, 103},
             {WM_LBUTTONUP, 103, 103}});
    EXPECT_EQ(0, objectCount());
    ASSERT_EQ(1u, boxes.count()) << boxes.texts();
    EXPECT_EQ("Rectangle too small, please redo", boxes.last().text);
    EXPECT_EQ("Press OK button to continue", boxes.last().caption);
    EXPECT_TRUE(boxes.last().flags & MB_ICONHAND);
    EXPECT_EQ(TM_CREATE, wsGetToolMode(ws));
}

TEST_F(CreateMode, FieldRectangleCheckByPixels)
{
    struct Case {
        int w, h;      // pixels
        int refused;
        size_t boxes;
    } cases[] = {{1, 1, 1, 0}, {0, 1, 1, 0}, {3, 3, 1, 1}, {10, 3, 1, 1},
                 {4, 4, 0, 0}, {40, 20, 0, 0}};
    for (const Case &c : cases) {
        BoxRecorder boxes;
        const RECT r = {0, 0, c.w * 15, c.h * 15};
        EXPECT_EQ(c.refused, epCheckFieldRect(ws, &r)) << c.w << "x" << c.h;
        EXPECT_EQ(c.boxes, boxes.count()) << c.w << "x" << c.h;
    }
}

TEST_F(CreateMode, AClickedEntryFieldTakesItsStandardSize)
{
    tool(OBT_ENTRY);
    gesture({{WM_LBUTTONDOWN, 100, 100}, {WM_LBUTTONUP, 100, 100}});
    PostMessageA(ws, WM_TIMER, WIN_WAIT_CLICK_TIMER, 0);
    pump();
    ASSERT_EQ(1, objectCount());
    MemHandle field = lastObject();
    EXPECT_EQ(OBT_ENTRY, obGetType(field));
    EXPECT_GT(obGetWidth(field), 0);
    EXPECT_GT(obGetHeight(field), 160);
    EXPECT_EQ(field, wsGetCurrentObject(ws));
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
}

TEST_F(CreateMode, ANewCounterIsNamedBeforeItIsRecorded)
{
    wsSetSnapToRulers(ws, FALSE);
    tool(OBT_COUNTER);
    drag({100, 100}, {200, 140});
    MemHandle counter = lastObject();
    ASSERT_TRUE(counter != 0);
    ASSERT_EQ(OBT_COUNTER, obGetType(counter));
    char name[40];
    obGetName(counter, name);
    EXPECT_STREQ("Counter001", name);
    EXPECT_EQ(counter, pgGetFirstObject(pvGetCurrentPage(ws)));
    EXPECT_EQ(counter, wsGetCurrentObject(ws));
    UndoRecord undo;
    ASSERT_TRUE(wsGetUndo(ws, &undo));
    EXPECT_EQ(counter, undo.object);
}

// ---- leaving ----------------------------------------------------------------------------------

TEST_F(CreateMode, ADoubleClickReturnsToSelectModeWithNothing)
{
    tool(OBT_RECTANGLE);
    gesture({{WM_LBUTTONDOWN, 100, 100},
             {WM_LBUTTONUP, 100, 100},
             {WM_LBUTTONDBLCLK, 100, 100},
             {WM_LBUTTONUP, 100, 100}});
    EXPECT_EQ(0, objectCount());
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
}

TEST_F(CreateMode, ATextToolChosenInCreateModeLeavesItFirst)
{
    tool(OBT_RECTANGLE);
    ASSERT_EQ(1, epChooseTool(ws, 0, OBT_TEXT));
    pump();
    EXPECT_EQ(TM_CREATE, wsGetToolMode(ws));
    EXPECT_EQ((LONG_PTR)TextCreateToolWndProc, proc());
    // The text tool replaced the workspace's own procedure, not the
    // rectangle tool's.
    EXPECT_EQ(TM_NONE, wsGetPrevToolMode(ws));
}

TEST_F(CreateMode, TextToolDragMakesASelectedTextAndStartsEditingIt)
{
    wsSetSnapToRulers(ws, FALSE);
    ASSERT_EQ(1, epChooseTool(ws, 0, OBT_TEXT));
    pump();
    drag({100, 100}, {300, 200});
    MemHandle text = lastObject();
    ASSERT_TRUE(text != 0);
    EXPECT_EQ(OBT_TEXT, obGetType(text));
    EXPECT_EQ(3000, obGetWidth(text));
    EXPECT_EQ(text, wsGetCurrentObject(ws));
    // The new text is selected with its creation step; the posted command
    // 700 then starts the text editor, which begins by discarding the
    // workspace's pending step.
    UndoRecord undo;
    EXPECT_FALSE(wsGetUndo(ws, &undo) && undo.kind != 0);
    EXPECT_TRUE(wsIsModified(ws));
}

TEST_F(CreateMode, ARightClickSwitchesTheToolToItsVariant)
{
    tool(OBT_RECTANGLE);
    gesture({{WM_RBUTTONDOWN, 100, 100}, {WM_RBUTTONUP, 100, 100}});
    PostMessageA(ws, WM_TIMER, WIN_WAIT_CLICK_TIMER, 0);
    pump();
    EXPECT_EQ(OBT_SQUARE, wsGetCurrentType(ws));
    EXPECT_EQ(0, objectCount());
    EXPECT_EQ(TM_CREATE, wsGetToolMode(ws));
}

TEST_F(CreateMode, NewTextGoesBelowTheLastObject)
{
    MemHandle a = epCreateObject(ws, 0, OBT_RECTANGLE,
                                 std::vector<POINT>{{1440, 1440}, {4000, 3000}}.data(), 2);
    wsAppendObject(ws, a);
    wsLeaveToolMode(ws, FALSE);
    EXPECT_EQ(0, epNewTextBelow(ws, nullptr));   // not in select mode
    epEnterSelectMode(ws, 0);
    pump();
    ASSERT_EQ(1, epNewTextBelow(ws, nullptr));
    MemHandle text = lastObject();
    ASSERT_NE(a, text);
    EXPECT_EQ(OBT_TEXT, obGetType(text));
    RECT below, box;
    obGetDrawnRect(a, &below);
    obGetRect(text, &box);
    EXPECT_GT(box.top, below.bottom);
    EXPECT_LT(box.top, below.bottom + 1440);
    EXPECT_EQ(text, wsGetCurrentObject(ws));
    EXPECT_TRUE(wsIsUndoPending(ws));
}

// ---- the star and polygon dialogs ----------------------------------------------------------------

TEST_F(CreateMode, StarDialogCancelledOrOutOfRangeGoesBackToSelectMode)
{
    tool(OBT_RECTANGLE);
    {
        qmtest::DialogDriver driver({[](HWND dlg) { qmtest::pressButton(dlg, IDCANCEL); }});
        EXPECT_EQ(0, epChooseTool(ws, 0, OBT_STAR));
    }
    pump();
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    EXPECT_EQ(0u, wsGetCurrentObject(ws));

    // Two tips: the dialog warns, and OK gives back what it holds.
    epSetStarConfig(2, 50);
    tool(OBT_RECTANGLE);
    {
        BoxRecorder boxes;
        qmtest::DialogDriver driver({[](HWND dlg) { qmtest::pressButton(dlg, IDOK); }});
        EXPECT_EQ(0, epChooseTool(ws, 0, OBT_STAR));
    }
    pump();
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    EXPECT_EQ((LONG_PTR)SelectToolWndProc, proc());
}

TEST_F(CreateMode, StarDialogValuesStartTheToolAndAChoiceMeanwhileIsIgnored)
{
    int nested = -1;
    int16_t typeDuring = 0;
    {
        qmtest::DialogDriver driver({[&](HWND dlg) {
            nested = epChooseTool(ws, 306, OBT_RECTANGLE);
            typeDuring = wsGetCurrentType(ws);
            SetDlgItemTextA(dlg, IDC_STAR_NODES, "7");
            SetDlgItemTextA(dlg, IDC_STAR_INNER, "30");
            qmtest::pressButton(dlg, IDOK);
        }});
        EXPECT_EQ(1, epChooseTool(ws, 0, OBT_STAR));
    }
    pump();
    EXPECT_EQ(1, nested);
    EXPECT_EQ(OBT_STAR, typeDuring);
    int16_t count, percent;
    epGetStarConfig(&count, &percent);
    EXPECT_EQ(7, count);
    EXPECT_EQ(30, percent);
    EXPECT_EQ(TM_CREATE, wsGetToolMode(ws));
    EXPECT_EQ(OBT_STAR, wsGetCurrentType(ws));

    {
        qmtest::DialogDriver driver({[&](HWND dlg) {
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_STAR_INNER)));
            SetDlgItemTextA(dlg, IDC_STAR_NODES, "6");
            qmtest::pressButton(dlg, IDOK);
        }});
        EXPECT_EQ(1, epChooseTool(ws, 0, OBT_POLYGON_ALIAS));
    }
    epGetStarConfig(&count, &percent);
    EXPECT_EQ(6, count);
}

// ---- the selection core -------------------------------------------------------------------------

TEST_F(CreateMode, FreeingAnObjectForgetsEveryReferenceToIt)
{
    tool(OBT_RECTANGLE);
    drag({100, 100}, {196, 148});
    MemHandle made = lastObject();
    ASSERT_EQ(made, wsGetCurrentObject(ws));
    wsSetTracked(ws, 5, made, 1, 2);
    ASSERT_TRUE(wsIsUndoPending(ws));

    ASSERT_TRUE(wsDeleteObject(ws, made));
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
    EXPECT_EQ(0, wsGetCurrentType(ws));
    EXPECT_EQ(0u, wsGetTrackedObject(ws));
    EXPECT_FALSE(wsIsUndoPending(ws));
    // Selecting again after the free touches nothing stale.
    epSelectObject(ws, 0);
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
}

TEST_F(CreateMode, ForgettingAGroupRecordAloneKeepsASelectedMember)
{
    MemHandle a = epCreateObject(ws, 0, OBT_RECTANGLE,
                                 std::vector<POINT>{{0, 0}, {100, 100}}.data(), 2);
    MemHandle b = epCreateObject(ws, 0, OBT_ELLIPSE,
                                 std::vector<POINT>{{200, 0}, {300, 100}}.data(), 2);
    MemHandle group = obNewGroup(OBT_GROUP, a, b, (MemHandle)0);
    ASSERT_TRUE(group != 0);
    wsAppendObject(ws, group);
    wsSetCurrentObject(ws, b);
    epForgetObject(ws, group, FALSE);
    EXPECT_EQ(b, wsGetCurrentObject(ws));
    epForgetObject(ws, group);
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
}

TEST_F(CreateMode, SelectingKeepsOrDropsTheUndoStep)
{
    MemHandle a = epCreateObject(ws, 0, OBT_RECTANGLE,
                                 std::vector<POINT>{{0, 0}, {100, 100}}.data(), 2);
    MemHandle b = epCreateObject(ws, 0, OBT_RECTANGLE,
                                 std::vector<POINT>{{200, 0}, {300, 100}}.data(), 2);
    wsAppendObject(ws, a);
    wsAppendObject(ws, b);
    epSelectObject(ws, a);
    udRecord(ws, a, 0, kEpUndoCreated, 0);
    epSelectObject(ws, a);   // the same object: kept
    EXPECT_TRUE(wsIsUndoPending(ws));
    epSetSelection(ws, b, TRUE);
    EXPECT_TRUE(wsIsUndoPending(ws));
    epSelectObject(ws, 0);   // nothing: kept
    EXPECT_TRUE(wsIsUndoPending(ws));
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
    epSelectObject(ws, a);
    EXPECT_FALSE(wsIsUndoPending(ws));
    EXPECT_EQ(OBT_RECTANGLE, wsGetCurrentType(ws));
    epClearCurrent(ws);
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
    EXPECT_EQ(0, wsGetCurrentType(ws));
}

TEST_F(CreateMode, SelectingANamedObjectShowsItsNameInTheNameWindow)
{
    HWND names = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 100, 40, nullptr, nullptr, inst,
                               nullptr);
    HWND field = CreateWindowA("EDIT", "", WS_CHILD, 0, 0, 90, 20, names, (HMENU)104, inst,
                               nullptr);
    ASSERT_TRUE(field != nullptr);
    onmSetListWindow(names);
    MemHandle a = epCreateObject(ws, 0, OBT_RECTANGLE,
                                 std::vector<POINT>{{0, 0}, {100, 100}}.data(), 2);
    a = obSetName(a, "Box7");
    wsAppendObject(ws, a);
    epSelectObject(ws, a);
    EXPECT_EQ("Box7", qmtest::windowText(field));
    onmSetListWindow(nullptr);
    DestroyWindow(names);
}

TEST_F(CreateMode, EditableFollowsLockAndLayer)
{
    MemHandle a = epCreateObject(ws, 0, OBT_RECTANGLE,
                                 std::vector<POINT>{{0, 0}, {100, 100}}.data(), 2);
    wsAppendObject(ws, a);
    EXPECT_EQ(1, epIsEditable(ws, a));
    EXPECT_EQ(0, epIsEditable(ws, 0));
    obSetFlags(a, OBF_LOCKED, TRUE);
    EXPECT_EQ(0, epIsEditable(ws, a));
    BoxRecorder boxes;
    epReportNotEditable(ws, "move");
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Can not move the object because the object is either locked or in a "
              "non-editable layer",
              boxes.last().text);
    EXPECT_TRUE(boxes.last().flags & MB_ICONINFORMATION);
}

TEST_F(CreateMode, HandlesOfTheNewObjectAreXorDrawn)
{
    tool(OBT_RECTANGLE);
    drag({100, 100}, {196, 148});
    MemHandle made = lastObject();
    qmtest::Dib dib(300, 300);
    dmResetModule();
    dmSetZoomDC(dib.dc(), 100);
    dmSetMapping(dib.dc());
    // Drawn at the box's own place: move the mapping so the box lands in
    // the picture.
    RECT box;
    obGetRect(made, &box);
    SetWindowOrgEx(dib.dc(), box.left - 300, box.top - 300, nullptr);
    qmtest::Dib blank(300, 300);
    epDrawHandles(nullptr, dib.dc(), made);
    EXPECT_GT(dib.diff(blank), 0);
    epDrawHandles(nullptr, dib.dc(), made);
    EXPECT_EQ(0, dib.diff(blank));
    dmResetModule();
}

// ---- insertion and drops -------------------------------------------------------------------------

TEST_F(CreateMode, InsertedObjectIsSelectedOnTopWithUndoKindSeven)
{
    MemHandle a = epCreateObject(ws, 0, OBT_RECTANGLE,
                                 std::vector<POINT>{{0, 0}, {100, 100}}.data(), 2);
    wsAppendObject(ws, a);
    MemHandle b = epCreateObject(ws, 0, OBT_ELLIPSE,
                                 std::vector<POINT>{{0, 0}, {300, 100}}.data(), 2);
    EXPECT_EQ(1, wsInsertObject(ws, b, 0));
    EXPECT_EQ(b, lastObject());
    EXPECT_EQ(b, wsGetCurrentObject(ws));
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    UndoRecord undo;
    ASSERT_TRUE(wsGetUndo(ws, &undo));
    EXPECT_EQ(kEpUndoInserted, (int16_t)undo.kind);
    EXPECT_TRUE(wsIsModified(ws));
}

TEST_F(CreateMode, DroppedRectangleToolMakesItsDefaultRectangle)
{
    wsSetSnapToRulers(ws, FALSE);
    struct Case {
        int command;
        bool fixed;
    } cases[] = {{306, true}, {309, true}, {310, true}, {999, false}};
    BlDropBlock text = {999, 0, 0, 0};
    ASSERT_EQ(1, epDropDefaultRect(ws, &text));
    EXPECT_GT(text.right, 0);
    EXPECT_GT(text.bottom, 0);
    for (const Case &c : cases) {
        BlDropBlock r = {c.command, 5, 5, 5};
        EXPECT_EQ(1, epToolDropNotify(ws, BL_DROP_RECT, (LPARAM)&r));
        EXPECT_EQ(0, r.left);
        EXPECT_EQ(0, r.top);
        EXPECT_EQ(c.fixed ? 1440 : text.right, r.right) << c.command;
        EXPECT_EQ(c.fixed ? 720 : text.bottom, r.bottom) << c.command;
    }
    BlDropBlock wide = {346, 0, 0, 0};
    epDropDefaultRect(ws, &wide);
    EXPECT_EQ(text.right + text.right * 2 / 3, wide.right);
    EXPECT_EQ(text.bottom * 2, wide.bottom);

    ToolButton entry = {};
    entry.command = 306;
    entry.objType = OBT_RECTANGLE;
    BlDropInfo drop = {&entry, {2000, 3000, 3440, 3720}};
    ASSERT_EQ(1, epToolDropNotify(ws, BL_DROP_CREATE, (LPARAM)&drop));
    MemHandle made = lastObject();
    EXPECT_EQ(OBT_RECTANGLE, obGetType(made));
    RECT box;
    obGetRect(made, &box);
    EXPECT_EQ(2000, box.left);
    EXPECT_EQ(3000, box.top);
    EXPECT_EQ(1440, obGetWidth(made));
    EXPECT_EQ(720, obGetHeight(made));
    EXPECT_EQ(made, wsGetCurrentObject(ws));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, ws, WM_COMMAND, WM_COMMAND, PM_NOREMOVE) &&
                 LOWORD(msg.wParam) == 401);
    EXPECT_EQ(0, epToolDropNotify(ws, 75, 0));
}

TEST_F(CreateMode, SelectAndPostTakesTheRequestAndPostsItsCommand)
{
    MemHandle a = epCreateObject(ws, 0, OBT_RECTANGLE,
                                 std::vector<POINT>{{0, 0}, {100, 100}}.data(), 2);
    wsAppendObject(ws, a);
    EpSelectRequest req = {a, 4242};
    MemHandle h = utHandleFromBytes(&req, sizeof req);
    ASSERT_EQ(1, epSelectAndPost(ws, h));
    EXPECT_FALSE(utIsLiveHandle(h));
    EXPECT_EQ(a, wsGetCurrentObject(ws));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, ws, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    // The mode change may come first.
    while (LOWORD(msg.wParam) != 4242 &&
           PeekMessageA(&msg, ws, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    }
    EXPECT_EQ(4242, LOWORD(msg.wParam));
}

}  // namespace
