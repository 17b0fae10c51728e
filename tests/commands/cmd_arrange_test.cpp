// Moving and resizing by keyboard steps (single steps and series drawn as an
// outline), scaling by a percentage, snapping to the margins and the grid,
// the alignment word of text-bearing objects, and the group commands that
// arrange the members of a group or chain, on a real workspace of the
// program started in-process.
#include "tests/app/app_fixture.h"
#include "tests/support/kit_dialog.h"
#include "app/ws_services.h"
#include "commands/cmd_arrange.h"
#include "commands/grp_members.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "support/ut_mem.h"
#include "forms/ent_field.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_margins.h"
#include "model/pg_record.h"
#include "support/dm_map.h"
#include "text/tx_flow.h"
#include "text/tx_header.h"
#include "text/tx_label.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include "tools/ep_factory.h"
#include "tools/ep_members.h"
#include "tools/ep_selection.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_scroll.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;

const char kLocked[] = "The object is locked and can not be changed";
const char kSelectOnly[] = "The command is effective only in select mode";
const char kMustGroup[] = "Must select a group or chain object";

// The series outline is drawn on this bitmap instead of the window.
qmtest::Dib *g_track = nullptr;
int g_trackOpen = 0;

HDC trackBegin(HWND)
{
    ++g_trackOpen;
    dmSetMapping(g_track->dc());
    return g_track->dc();
}
void trackEnd(HWND, HDC) { --g_trackOpen; }

RECT rectOf(MemHandle h)
{
    RECT r;
    obGetRect(h, &r);
    return r;
}

std::string str(const RECT &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

class Arrange : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    qmtest::Dib dib{1000, 1000};
    qmtest::Dib blank{1000, 1000};

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        ASSERT_TRUE(pvGetCurrentPage(ws) != 0);
        wsSetZoomPercent(ws, 100);
        wsSetSnapToRulers(ws, FALSE);
        epEnterSelectMode(ws, 0);
        pump();
        ASSERT_EQ(TM_SELECT, wsGetToolMode(ws));
        g_track = &dib;
        g_trackOpen = 0;
        cmdSetTrackContext(trackBegin, trackEnd);
    }
    void TearDown() override
    {
        cmdSetTrackContext(nullptr, nullptr);
        g_track = nullptr;
        if (ws && IsWindow(ws))
            udDiscard(ws);
        App::TearDown();
    }

    // A shape of the type from two corners (twips), not on the page.
    MemHandle shape(int16_t type, RECT r)
    {
        POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
        MemHandle h = epCreateObject(ws, 0, type, pts, 2);
        EXPECT_TRUE(h != 0);
        obSetFlags(h, OBF_LOCKED | OBF_NO_POINT_EDIT, FALSE);
        return h;
    }
    // The same on top of the page, selected.
    MemHandle add(int16_t type, RECT r)
    {
        MemHandle h = shape(type, r);
        EXPECT_TRUE(wsAppendObject(ws, h));
        epSelectObject(ws, h);
        return h;
    }
    // A group of rectangles, in the order given, on the page and selected.
    MemHandle group(const std::vector<RECT> &rects, int16_t type = OBT_GROUP)
    {
        std::vector<MemHandle> m;
        for (const RECT &r : rects)
            m.push_back(shape(OBT_RECTANGLE, r));
        MemHandle g = obNewGroupN(type, m.data(), (int32_t)m.size());
        EXPECT_TRUE(wsAppendObject(ws, g));
        epSelectObject(ws, g);
        return g;
    }
    // The union of the members' drawn rectangles.
    RECT drawnUnion(MemHandle g)
    {
        RECT u = {0, 0, 0, 0};
        for (MemHandle m = obGetFirstMember(g); m; m = obGetNextMember(m)) {
            RECT r;
            obGetDrawnRect(m, &r);
            if (m == obGetFirstMember(g))
                u = r;
            else
                UnionRect(&u, &u, &r);
        }
        return u;
    }
    std::vector<MemHandle> members(MemHandle g)
    {
        std::vector<MemHandle> v;
        for (MemHandle m = obGetFirstMember(g); m; m = obGetNextMember(m))
            v.push_back(m);
        return v;
    }
    int send(int id, LPARAM lParam = 0)
    {
        return (int)SendMessageA(ws, WM_COMMAND, (WPARAM)(uint16_t)id, lParam);
    }
    int16_t undoKind()
    {
        UndoRecord u;
        return wsGetUndo(ws, &u) ? (int16_t)u.kind : 0;
    }
    void step(int32_t *sx, int32_t *sy) { wsGetMoveStep(ws, sx, sy); }
};

// ---- moving -------------------------------------------------------------------------------------

TEST(ArrangeTables, DirectionOffsets)
{
    struct Case {
        int id;
        int32_t dx, dy;
    } cases[] = {
        {760, 3, 0},  {761, -3, 0}, {762, 0, -7}, {763, 0, 7},   {764, 3, -7},  {765, -3, -7},
        {766, -3, 7}, {767, 3, 7},  {830, 24, 0}, {831, -24, 0}, {832, 0, -56}, {833, 0, 56},
    };
    for (const Case &k : cases) {
        int32_t dx = 99, dy = 99;
        EXPECT_EQ(1, cmdDirectionOffset(k.id, 3, 7, &dx, &dy)) << k.id;
        EXPECT_EQ(k.dx, dx) << k.id;
        EXPECT_EQ(k.dy, dy) << k.id;
    }
    int32_t dx = 5, dy = 6;
    EXPECT_EQ(0, cmdDirectionOffset(768, 3, 7, &dx, &dy));
    EXPECT_EQ(5, dx);
    EXPECT_EQ(6, dy);
}

TEST_F(Arrange, ArrowCommandsMoveByOnePixelOrOneGridStep)
{
    MemHandle a = add(OBT_RECTANGLE, {2000, 2000, 3000, 2600});
    int32_t sx, sy;
    step(&sx, &sy);
    ASSERT_EQ(dmGetPixelWidth(), sx);
    struct Case {
        int id;
        int mx, my;
    } cases[] = {{760, 1, 0}, {761, -1, 0}, {762, 0, -1}, {763, 0, 1}, {764, 1, -1},
                 {765, -1, -1}, {766, -1, 1}, {767, 1, 1}, {830, 8, 0}, {831, -8, 0},
                 {832, 0, -8}, {833, 0, 8}};
    for (bool snap : {false, true}) {
        wsSetRulerDivisions(ws, 16);
        wsSetSnapToRulers(ws, snap);
        step(&sx, &sy);
        if (snap) {
            EXPECT_EQ(90, sx) << "a sixteenth of an inch";
        }
        for (const Case &k : cases) {
            const RECT before = rectOf(a);
            EXPECT_EQ(0, send(k.id)) << k.id;
            const RECT now = rectOf(a);
            EXPECT_EQ(before.left + k.mx * sx, now.left) << k.id << " snap " << snap;
            EXPECT_EQ(before.top + k.my * sy, now.top) << k.id << " snap " << snap;
            EXPECT_EQ(UD_MOVED, undoKind());
        }
    }
    wsSetSnapToRulers(ws, FALSE);
}

TEST_F(Arrange, LockedObjectsAndOtherModesDoNotMove)
{
    MemHandle a = add(OBT_RECTANGLE, {2000, 2000, 3000, 2600});
    const RECT before = rectOf(a);
    {
        BoxRecorder boxes;
        obSetFlags(a, OBF_LOCKED, TRUE);
        for (int id : {760, 830})
            send(id);
        cmdMoveObjectBy(ws, a, 100, 0);
        ASSERT_EQ(3u, boxes.count());
        EXPECT_EQ(kLocked, boxes.last().text);
        EXPECT_EQ(str(before), str(rectOf(a)));
        EXPECT_EQ(0, undoKind());
        obSetFlags(a, OBF_LOCKED, FALSE);
    }
    // Outside select mode the keys do nothing, also called directly.
    wsSetToolModeWord(ws, TM_CREATE);
    for (int id : {760, 767, 751, 771}) {
        send(id);
        EXPECT_EQ(0, cmdMoveByDirection(ws, id, 0, a));
        EXPECT_EQ(0, cmdResizeByStep(ws, id, 0, a));
    }
    EXPECT_EQ(str(before), str(rectOf(a)));
    wsSetToolModeWord(ws, TM_SELECT);
}

TEST_F(Arrange, MoveByDistanceTakesSignedWords)
{
    MemHandle a = add(OBT_RECTANGLE, {2000, 2000, 3000, 2600});
    send(770, MAKELPARAM((uint16_t)-100, (uint16_t)-40));
    RECT r = rectOf(a);
    EXPECT_EQ(1900, r.left) << "a move left stays small";
    EXPECT_EQ(1960, r.top);
    EXPECT_EQ(UD_MOVED, undoKind());
    EXPECT_EQ(0, cmdMoveObjectBy(ws, a, 0, 0));
    EXPECT_EQ(0, undoKind()) << "no distance: the step is dropped, nothing recorded";
}

// ---- series -------------------------------------------------------------------------------------

TEST_F(Arrange, MoveSeriesDrawsAnOutlineAndMovesOnceAtTheClose)
{
    MemHandle a = add(OBT_RECTANGLE, {1000, 1000, 2500, 2000});
    int32_t sx, sy;
    step(&sx, &sy);
    const RECT start = rectOf(a);
    for (uint16_t n : {1, 2, 3}) {
        EXPECT_EQ(1, cmdMoveByDirection(ws, 767, MAKELPARAM(n, 0), a)) << n;
        EXPECT_EQ(str(start), str(rectOf(a))) << "nothing moves before the close";
        EXPECT_GT(dib.diff(blank), 0) << "the outline shows";
        EXPECT_EQ(1, g_trackOpen);
    }
    EXPECT_EQ(1, cmdMoveByDirection(ws, 767, MAKELPARAM(4, 1), a));
    EXPECT_EQ(0, dib.diff(blank)) << "the outline is erased";
    EXPECT_EQ(0, g_trackOpen) << "the context is released";
    const RECT now = rectOf(a);
    EXPECT_EQ(start.left + 3 * sx, now.left);
    EXPECT_EQ(start.top + 3 * sy, now.top);
    EXPECT_EQ(UD_MOVED, undoKind()) << "one step for the whole series";
    ASSERT_EQ(1, cmdUndo(ws, a));
    EXPECT_EQ(str(start), str(rectOf(a)));
}

TEST_F(Arrange, SeriesWithoutItsStartOpensOneAndALoneCloseChangesNothing)
{
    MemHandle a = add(OBT_RECTANGLE, {1000, 1000, 2500, 2000});
    int32_t sx, sy;
    step(&sx, &sy);
    const RECT start = rectOf(a);
    // A closing message with no series open.
    EXPECT_EQ(0, cmdMoveByDirection(ws, 760, MAKELPARAM(5, 1), a));
    EXPECT_EQ(0, cmdResizeByStep(ws, 771, MAKELPARAM(5, 1), a));
    EXPECT_EQ(str(start), str(rectOf(a)));
    EXPECT_EQ(0, undoKind());
    EXPECT_EQ(0, g_trackOpen);
    // Repeat number 2 first: it starts the series.
    EXPECT_EQ(1, cmdMoveByDirection(ws, 760, MAKELPARAM(2, 0), a));
    EXPECT_EQ(1, g_trackOpen);
    EXPECT_GT(dib.diff(blank), 0);
    EXPECT_EQ(1, cmdMoveByDirection(ws, 760, MAKELPARAM(3, 0), a));
    EXPECT_EQ(1, cmdMoveByDirection(ws, 760, MAKELPARAM(4, 1), a));
    EXPECT_EQ(0, g_trackOpen);
    EXPECT_EQ(0, dib.diff(blank));
    EXPECT_EQ(start.left + 2 * sx, rectOf(a).left);

    // A series whose object is no longer the one asked about is closed
    // (outline gone) and a new one starts for the other object.
    MemHandle b = add(OBT_RECTANGLE, {4000, 1000, 5000, 2000});
    EXPECT_EQ(1, cmdMoveByDirection(ws, 763, MAKELPARAM(1, 0), a));
    EXPECT_EQ(1, cmdMoveByDirection(ws, 763, MAKELPARAM(2, 0), b));
    EXPECT_EQ(1, g_trackOpen);
    EXPECT_EQ(1, cmdMoveByDirection(ws, 763, MAKELPARAM(3, 1), b));
    EXPECT_EQ(0, g_trackOpen);
    EXPECT_EQ(0, dib.diff(blank));
    EXPECT_EQ(0, cmdMoveByDirection(ws, 763, MAKELPARAM(3, 1), a)) << "a's series is over";
    EXPECT_EQ(start.top, rectOf(a).top);
    EXPECT_EQ(1000 + sy, rectOf(b).top);
}

TEST_F(Arrange, ResizeSeriesRecordsOneCopy)
{
    MemHandle a = add(OBT_RECTANGLE, {1000, 1000, 2500, 2000});
    int32_t sx, sy;
    step(&sx, &sy);
    const RECT start = rectOf(a);
    for (uint16_t n : {1, 2, 3})
        EXPECT_EQ(1, cmdResizeByStep(ws, 771, MAKELPARAM(n, 0), a));
    EXPECT_EQ(str(start), str(rectOf(a)));
    EXPECT_GT(dib.diff(blank), 0);
    EXPECT_EQ(1, cmdResizeByStep(ws, 771, MAKELPARAM(4, 1), a));
    EXPECT_EQ(0, dib.diff(blank));
    a = wsGetCurrentObject(ws);
    const RECT now = rectOf(a);
    EXPECT_EQ(start.left, now.left);
    EXPECT_NEAR(start.right + 3 * sx, now.right, 1);
    EXPECT_EQ(UD_COPY, undoKind());
    cmdUndo(ws, a);
    EXPECT_EQ(str(start), str(rectOf(wsGetCurrentObject(ws))));
}

// ---- resizing -----------------------------------------------------------------------------------

TEST(ArrangeTables, ResizeStepsUseTheirOwnAxis)
{
    struct Case {
        int id;
        RECT after;
    } cases[] = {
        {751, {97, 100, 203, 200}}, {752, {100, 93, 200, 207}}, {753, {103, 100, 197, 200}},
        {754, {100, 107, 200, 193}}, {755, {97, 93, 203, 207}}, {756, {103, 107, 197, 193}},
        {771, {100, 100, 203, 200}}, {772, {100, 100, 197, 200}}, {773, {97, 100, 200, 200}},
        {774, {103, 100, 200, 200}}, {775, {100, 100, 200, 207}}, {776, {100, 100, 200, 193}},
        {777, {100, 93, 200, 200}}, {778, {100, 107, 200, 200}},
    };
    for (const Case &k : cases) {
        RECT r = {100, 100, 200, 200};
        EXPECT_EQ(1, cmdResizeStepRect(k.id, 3, 7, &r));
        EXPECT_EQ(str(k.after), str(r)) << k.id;
    }
    RECT r = {1, 2, 3, 4};
    EXPECT_EQ(0, cmdResizeStepRect(760, 3, 7, &r));
}

TEST(ArrangeTables, CollapsedRectanglesAreMendedByType)
{
    const RECT before = {100, 100, 110, 200};
    struct Case {
        const char *name;
        int16_t type;
        RECT before, after, mended;
    } cases[] = {
        {"rectangle narrowed past zero", OBT_RECTANGLE, before, {112, 100, 108, 200}, before},
        {"rectangle flattened to nothing", OBT_ELLIPSE, before, {100, 150, 110, 150}, before},
        {"rectangle still whole", OBT_RECTANGLE, before, {90, 100, 120, 200}, {90, 100, 120, 200}},
        {"line becomes zero-wide", OBT_LINE, before, {112, 100, 107, 200}, {109, 100, 109, 200}},
        {"polyline zero-high", OBT_POLYLINE, before, {100, 160, 110, 150}, {100, 155, 110, 155}},
        {"line never a point", OBT_LINE, {100, 100, 110, 100}, {112, 100, 108, 100},
         {100, 100, 110, 100}},
        {"bezier never a point", OBT_BEZIER, {100, 100, 100, 120}, {100, 130, 100, 90},
         {100, 100, 100, 120}},
        {"h-line gains no height", OBT_HLINE, {100, 300, 400, 300}, {100, 290, 400, 310},
         {100, 300, 400, 300}},
        {"h-line narrowed past zero", OBT_HLINE, {100, 300, 110, 300}, {115, 300, 105, 300},
         {100, 300, 110, 300}},
        {"v-line gains no width", OBT_VLINE, {300, 100, 300, 400}, {290, 100, 310, 400},
         {300, 100, 300, 400}},
        {"v-line shortened past zero", OBT_VLINE, {300, 100, 300, 110}, {300, 115, 300, 105},
         {300, 100, 300, 110}},
    };
    for (const Case &k : cases) {
        RECT r = k.after;
        cmdResizeMendCollapse(k.type, &k.before, &r);
        EXPECT_EQ(str(k.mended), str(r)) << k.name;
    }
}

TEST_F(Arrange, NarrowingPastZeroLeavesTheObjectAsItWas)
{
    int32_t sx, sy;
    step(&sx, &sy);
    MemHandle a = add(OBT_RECTANGLE, {2000, 2000, 2000 + sx, 2600});
    const RECT start = rectOf(a);
    EXPECT_EQ(0, send(753));
    EXPECT_EQ(str(start), str(rectOf(wsGetCurrentObject(ws))));
    EXPECT_EQ(0, undoKind());
    // A horizontal line made taller stays flat.
    MemHandle h = add(OBT_HLINE, {2000, 4000, 4000, 4000});
    const RECT flat = rectOf(h);
    send(752);
    send(755);
    const RECT now = rectOf(wsGetCurrentObject(ws));
    EXPECT_EQ(now.top, now.bottom);
    EXPECT_EQ(flat.top, now.top);
    EXPECT_EQ(flat.left - sx, now.left) << "755 still widens it";
}

TEST_F(Arrange, ResizeRefusesLockedObjects)
{
    MemHandle a = add(OBT_RECTANGLE, {2000, 2000, 3000, 2600});
    obSetFlags(a, OBF_LOCKED, TRUE);
    BoxRecorder boxes;
    send(771);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Can not resize the object because the object is either locked or in a "
              "non-editable layer",
              boxes.last().text);
    EXPECT_EQ(3000, rectOf(a).right);
}

// ---- size by percent ----------------------------------------------------------------------------

TEST_F(Arrange, SizePercentScalesAboutTheCentreAndTheHatchSpacing)
{
    MemHandle a = add(OBT_RECTANGLE, {2000, 2000, 3000, 2600});
    {
        ObLock r(a);
        r->fillKind = 4;
        r->hatch = 0x53;   // spacing 5, style 3
    }
    const RECT start = rectOf(a);
    // 100 and Cancel change nothing.
    for (bool cancel : {false, true}) {
        qmtest::DialogDriver d({[cancel](HWND dlg) {
            if (cancel) {
                qmtest::pressButton(dlg, IDCANCEL);
            } else {
                qmtest::typeInto(dlg, 100, "100");
                qmtest::pressButton(dlg, IDOK);
            }
        }});
        EXPECT_EQ(0, send(757));
        EXPECT_EQ(str(start), str(rectOf(a)));
        EXPECT_EQ(0, undoKind());
    }
    {
        qmtest::DialogDriver d({[](HWND dlg) {
            qmtest::typeInto(dlg, 100, "200");
            qmtest::pressButton(dlg, IDOK);
        }});
        send(757);
    }
    a = wsGetCurrentObject(ws);
    const RECT now = rectOf(a);
    EXPECT_EQ(2000, now.right - now.left);
    EXPECT_EQ(1200, now.bottom - now.top);
    EXPECT_EQ(2500, (now.left + now.right) / 2);
    EXPECT_EQ(2300, (now.top + now.bottom) / 2);
    EXPECT_EQ(0xA3, ObLock(a)->hatch) << "spacing doubled, style kept";
    EXPECT_EQ(UD_COPY, undoKind());
    {
        qmtest::DialogDriver d({[](HWND dlg) {
            qmtest::typeInto(dlg, 100, "200");
            qmtest::pressButton(dlg, IDOK);
        }});
        send(757);
    }
    EXPECT_EQ(0xF3, ObLock(wsGetCurrentObject(ws))->hatch) << "at most 15";

    // A percentage that would take the object out of the range of page
    // coordinates changes nothing.
    a = wsGetCurrentObject(ws);
    const RECT big = rectOf(a);
    {
        qmtest::DialogDriver d({[](HWND dlg) {
            qmtest::typeInto(dlg, 100, "2000000000");
            qmtest::pressButton(dlg, IDOK);
        }});
        EXPECT_EQ(0, send(757));
    }
    EXPECT_EQ(str(big), str(rectOf(wsGetCurrentObject(ws))));
    EXPECT_EQ(0, undoKind());
}

TEST_F(Arrange, SizePercentOnlyInSelectMode)
{
    MemHandle a = add(OBT_RECTANGLE, {2000, 2000, 3000, 2600});
    wsSetToolModeWord(ws, TM_CREATE);
    BoxRecorder boxes;
    EXPECT_EQ(0, cmdResizeByPercent(ws, a));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(kSelectOnly, boxes.last().text);
    EXPECT_TRUE(boxes.last().flags & MB_ICONHAND);
    wsSetToolModeWord(ws, TM_SELECT);
}

// ---- snapping -----------------------------------------------------------------------------------

TEST_F(Arrange, SnapToTheMarginsScrollsTheMarginIntoView)
{
    MemHandle page = pvGetCurrentPage(ws);
    const RECT margins = {1440, 1440, 10800, 14400};
    pgSetMarginRect(page, &margins);
    MemHandle a = add(OBT_RECTANGLE, {3000, 3000, 4000, 3600});
    struct Case {
        int id;
        RECT after;
    } cases[] = {
        {431, {1440, 3000, 2440, 3600}},   {432, {9800, 3000, 10800, 3600}},
        {433, {3000, 1440, 4000, 2040}},   {434, {3000, 13800, 4000, 14400}},
        {435, {5620, 7620, 6620, 8220}},   {436, {5620, 3000, 6620, 3600}},
        {437, {3000, 7620, 4000, 8220}},
    };
    for (const Case &k : cases) {
        const RECT back = {3000, 3000, 4000, 3600};
        obMoveBy(a, back.left - rectOf(a).left, back.top - rectOf(a).top);
        send(k.id);
        EXPECT_EQ(str(k.after), str(rectOf(a))) << k.id;
        EXPECT_EQ(UD_MOVED, undoKind()) << k.id;
    }
    // With the left margin out of view the view follows and the rulers are
    // told (912).
    wsScrollByLogX(ws, 6000);
    wsApplyViewMapping(ws);
    RECT view;
    GetClientRect(ws, &view);
    dmDevToLogRect(&view);
    ASSERT_GT(view.left, margins.left);
    pump();
    send(431);
    MSG msg;
    bool rulers = false;
    while (PeekMessageA(&msg, ws, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        rulers |= LOWORD(msg.wParam) == 912;
    EXPECT_TRUE(rulers);
    wsApplyViewMapping(ws);
    RECT after;
    GetClientRect(ws, &after);
    dmDevToLogRect(&after);
    EXPECT_LE(after.left, margins.left + 30) << "the margin is in view";
    EXPECT_EQ(margins.left, rectOf(a).left);
}

TEST_F(Arrange, SnapToGridPutsTheTopLeftOnTheGrid)
{
    pgSetGridDivisions(ws, 8);
    MemHandle a = add(OBT_RECTANGLE, {2007, 2013, 3000, 2600});
    send(438);
    const RECT r = rectOf(a);
    EXPECT_NE(2007, r.left);
    EXPECT_LE(abs(r.left - 2007), 180 / 2 + 15);
    EXPECT_LE(abs(r.top - 2013), 180 / 2 + 15);
    EXPECT_EQ(UD_MOVED, undoKind());
    // On the grid already: nothing moves, nothing is recorded.
    EXPECT_EQ(0, cmdSnapToGrid(ws, a));
    EXPECT_EQ(0, undoKind());
    EXPECT_EQ(str(r), str(rectOf(a)));
}

// ---- alignment ----------------------------------------------------------------------------------

TEST(ArrangeTables, AlignWordFromId)
{
    struct Case {
        int id;
        uint16_t word, result;
    } cases[] = {
        {420, 0x11A, 0x18}, {421, 0x11A, 0x1A}, {424, 0x106, 0x05}, {422, 0x119, 0x105},
        {425, 0x11A, 0x10A}, {423, 0x105, 0x111}, {426, 0x114, 9},   {427, 0x114, 0x114},
        {419, 0x7, 0x7},
    };
    for (const Case &k : cases)
        EXPECT_EQ(k.result, cmdAlignWordFromId(k.word, k.id)) << k.id;
}

TEST_F(Arrange, AligningTextsAndLabels)
{
    TextHeader th = {};
    th.lf.lfHeight = -240;
    th.lf.lfWeight = 400;
    lstrcpyA(th.lf.lfFaceName, "Liberation Sans");
    th.bkMode = 1;
    th.spacing = 4;
    th.flags = TXF_WRAP | TXF_WRAP_LOW;
    th.align = TXA_JUSTIFY | TXA_TOP;
    RECT box = {1000, 1000, 5000, 2000};
    MemHandle t = txNewTextObject(&box, nullptr, &th, nullptr);
    t = txReplaceText(ws, t, "Some words to justify across the line", TXK_PLAIN, TRUE, TRUE);
    ASSERT_TRUE(wsAppendObject(ws, t));
    epSelectObject(ws, t);
    EXPECT_EQ(1, cmdAlignObjects(ws, t, 426, 0));
    t = wsGetCurrentObject(ws);
    EXPECT_EQ(9, txLockHeader(t)->align) << "justification removed";
    utUnlock(t);
    EXPECT_EQ(UD_COPY, undoKind());
    EXPECT_EQ(0, cmdAlignObjects(ws, t, 426, 0)) << "unchanged: nothing to do";
    EXPECT_EQ(0, undoKind());

    // A Label's codes 45 go with a new word.
    MemHandle l = txNewLabel(0, &th.lf, 0, 0, 0);
    RECT lr = {1000, 3000, 4000, 3500};
    obSetRect(l, &lr);
    char stream[64];
    int32_t n = txMakeWordCode(stream, TXC_ALIGN, 2);
    lstrcpyA(stream + n, "Label");
    l = txSetLabelText(l, stream);
    ASSERT_TRUE(wsAppendObject(ws, l));
    epSelectObject(ws, l);
    EXPECT_EQ(1, cmdAlignObjects(ws, l, 424, 0));
    EXPECT_EQ(TXA_CENTRE, txGetLabelAlign(l));
    MemHandle text = txCopyLabelText(l);
    {
        MemLock<char> p(text);
        ASSERT_TRUE(p);
        EXPECT_EQ(nullptr, txFindCode(p.get(), TXC_ALIGN));
    }
    utFreeHandle(text);

    // Outside select mode text-bearing objects keep their word; while a
    // text is edited in place nothing changes but the command counts.
    wsSetToolModeWord(ws, TM_CREATE);
    EXPECT_EQ(0, cmdAlignObjects(ws, l, 421, 0));
    wsSetToolModeWord(ws, TM_TEXT);
    EXPECT_EQ(1, cmdAlignObjects(ws, l, 421, 0));
    EXPECT_EQ(TXA_CENTRE, txGetLabelAlign(l));
    wsSetToolModeWord(ws, TM_SELECT);

    // A locked object is refused; other kinds have no word.
    MemHandle r = add(OBT_RECTANGLE, {6000, 1000, 7000, 2000});
    EXPECT_EQ(0, cmdAlignObjects(ws, r, 420, 0));
    obSetFlags(r, OBF_LOCKED, TRUE);
    BoxRecorder boxes;
    EXPECT_EQ(0, cmdAlignObjects(ws, r, 420, 0));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(kLocked, boxes.last().text);
}

// ---- group members ------------------------------------------------------------------------------

TEST_F(Arrange, DistributeOverlapsWiderMembersEvenly)
{
    // Three 1000-wide members in a 2000-wide union: the gap is -500.
    MemHandle g = group({{2000, 1000, 3000, 1500}, {1000, 1000, 2000, 1500},
                         {1200, 2000, 2200, 2500}});
    const std::vector<MemHandle> order = members(g);
    EXPECT_EQ(0, send(360));
    EXPECT_EQ(order, members(g)) << "the members' order never changes";
    EXPECT_EQ(2000, rectOf(order[0]).left);
    EXPECT_EQ(1000, rectOf(order[1]).left);
    EXPECT_EQ(1500, rectOf(order[2]).left);
    EXPECT_EQ(2000, rectOf(order[2]).top) << "only x changes";
    EXPECT_EQ(UD_COPY, undoKind());
    EXPECT_EQ(str(drawnUnion(g)), str(rectOf(g))) << "the group is refitted";

    // Vertically the same with the tops: 500-high members, union 1000..2500.
    MemHandle v = group({{1000, 1000, 1500, 1500}, {2000, 1100, 2500, 1600},
                         {3000, 2000, 3500, 2500}});
    const std::vector<MemHandle> vm = members(v);
    send(361);
    EXPECT_EQ(1000, rectOf(vm[0]).top);
    EXPECT_EQ(1500, rectOf(vm[1]).top);
    EXPECT_EQ(2000, rectOf(vm[2]).top);
    EXPECT_EQ(2000, rectOf(vm[1]).left);
}

TEST_F(Arrange, SameWidthTakesTheTopMemberOfAColumnAndTheLeftMemberOfARow)
{
    // A column (lefts within two steps, no vertical overlap): top-most is a.
    MemHandle col = group({{1010, 2000, 1810, 2400}, {1000, 3000, 1300, 3400},
                           {1000, 1000, 1500, 1400}});
    std::vector<MemHandle> m = members(col);
    send(362);
    EXPECT_EQ(m, members(col));
    EXPECT_EQ(str({1010, 2000, 1510, 2400}), str(rectOf(m[0])));
    EXPECT_EQ(str({1000, 3000, 1500, 3400}), str(rectOf(m[1])));
    EXPECT_EQ(str({1000, 1000, 1500, 1400}), str(rectOf(m[2])));
    EXPECT_EQ(UD_COPY, undoKind());

    // A row: the left-most (not the top-most) lends its width.
    MemHandle row = group({{5000, 900, 5300, 1300}, {4000, 1000, 4800, 1400},
                           {3000, 1000, 3500, 1400}});
    m = members(row);
    send(362);
    EXPECT_EQ(500, rectOf(m[0]).right - rectOf(m[0]).left);
    EXPECT_EQ(5000, rectOf(m[0]).left);
    EXPECT_EQ(500, rectOf(m[1]).right - rectOf(m[1]).left);

    // Same height: the top-most lends its height.
    send(363);
    EXPECT_EQ(str({5000, 900, 5500, 1300}), str(rectOf(m[0])));
    EXPECT_EQ(str({4000, 1000, 4500, 1400}), str(rectOf(m[1])));
}

TEST_F(Arrange, SameSizeFollowsReadingOrder)
{
    // b and a share a row (tops within 60): b, the left one, is first,
    // although a is the top-most.
    MemHandle g = group({{3000, 1000, 3300, 1300}, {1000, 1030, 1600, 1230},
                         {2000, 2000, 2100, 2100}});
    std::vector<MemHandle> m = members(g);
    send(364);
    EXPECT_EQ(m, members(g));
    EXPECT_EQ(str({3000, 1000, 3600, 1200}), str(rectOf(m[0])));
    EXPECT_EQ(str({1000, 1030, 1600, 1230}), str(rectOf(m[1])));
    EXPECT_EQ(str({2000, 2000, 2600, 2200}), str(rectOf(m[2])));
    EXPECT_EQ(str(drawnUnion(g)), str(rectOf(g))) << "the group is refitted";
}

TEST_F(Arrange, SwapExchangesAPair)
{
    MemHandle g = group({{1000, 1000, 1500, 1500}, {3000, 2000, 3200, 2300}}, OBT_CHAIN);
    std::vector<MemHandle> m = members(g);
    send(821);
    EXPECT_EQ(m, members(g));
    EXPECT_EQ(str({3000, 2000, 3500, 2500}), str(rectOf(m[0])));
    EXPECT_EQ(str({1000, 1000, 1200, 1300}), str(rectOf(m[1])));
    EXPECT_EQ(UD_COPY, undoKind());
    // Three members: nothing, and no step.
    MemHandle three = group({{1000, 1000, 1500, 1500}, {3000, 2000, 3200, 2300},
                             {4000, 1000, 4100, 1100}});
    m = members(three);
    const RECT first = rectOf(m[0]);
    EXPECT_EQ(0, cmdSwapPairMembers(ws, three));
    EXPECT_EQ(str(first), str(rectOf(m[0])));
    EXPECT_EQ(0, undoKind());
}

TEST_F(Arrange, GroupCommandsWantAGroupOrChain)
{
    MemHandle a = add(OBT_RECTANGLE, {1000, 1000, 2000, 2000});
    for (int id : {360, 361, 362, 363, 364}) {
        BoxRecorder boxes;
        send(id);
        ASSERT_EQ(1u, boxes.count()) << id;
        EXPECT_EQ(kMustGroup, boxes.last().text);
        EXPECT_TRUE(boxes.last().flags & MB_ICONINFORMATION);
    }
    EXPECT_EQ(str({1000, 1000, 2000, 2000}), str(rectOf(a)));
    // Outside select mode 360 and 362 say nothing, the others say the same.
    MemHandle g = group({{1000, 1000, 1500, 1500}, {3000, 2000, 3200, 2300},
                         {4000, 1000, 4100, 1100}});
    wsSetToolModeWord(ws, TM_CREATE);
    struct Case {
        int id;
        size_t boxes;
    } cases[] = {{360, 0}, {362, 0}, {361, 1}, {363, 1}, {364, 1}};
    for (const Case &k : cases) {
        BoxRecorder boxes;
        cmdObjectCommand(ws, g, k.id, 0);
        EXPECT_EQ(k.boxes, boxes.count()) << k.id;
    }
    wsSetToolModeWord(ws, TM_SELECT);
    // Too few members: nothing.
    MemHandle two = group({{1000, 1000, 1500, 1500}, {3000, 2000, 3200, 2300}});
    EXPECT_EQ(0, cmdDistributeHorizontally(ws, two));
    EXPECT_EQ(0, undoKind());
}

// ---- member alignment ---------------------------------------------------------------------------

TEST_F(Arrange, MemberAlignmentMovesMembersInsideTheGroupWithUndo)
{
    MemHandle g = group({{1000, 1000, 1500, 1500}, {3000, 2000, 3200, 2300}});
    std::vector<MemHandle> m = members(g);
    const RECT box = rectOf(g);
    EXPECT_EQ(1, cmdAlignObjects(ws, g, 420, 0));
    EXPECT_EQ(box.left, rectOf(m[0]).left);
    EXPECT_EQ(box.left, rectOf(m[1]).left);
    EXPECT_EQ(2000, rectOf(m[1]).top);
    UndoRecord u;
    ASSERT_TRUE(wsGetUndo(ws, &u));
    EXPECT_EQ(UD_PROPERTY, u.kind);
    EXPECT_EQ(UD_SUB_MEMBER_MOVES, u.subKind);
    cmdUndo(ws, g);
    EXPECT_EQ(3000, rectOf(m[1]).left);

    EXPECT_EQ(1, epAlignMembers(ws, g, 426, 0));
    POINT c0, c1, cg;
    obGetCentre(m[0], &c0);
    obGetCentre(m[1], &c1);
    EXPECT_EQ(c0.x, c1.x);
    EXPECT_EQ(c0.y, c1.y);

    // A stack with the gap in the high word, a row with the gap in the low.
    EXPECT_EQ(1, epAlignMembers(ws, g, 781, MAKELPARAM(0, 100)));
    EXPECT_EQ(rectOf(m[0]).bottom + 100, rectOf(m[1]).top);
    EXPECT_EQ(1, epAlignMembers(ws, g, 782, MAKELPARAM(50, 0)));
    EXPECT_EQ(rectOf(m[0]).right + 50, rectOf(m[1]).left);
    obGetCentre(g, &cg);

    // A plain shape beeps and changes nothing.
    MemHandle a = add(OBT_RECTANGLE, {5000, 1000, 6000, 2000});
    EXPECT_EQ(0, epAlignMembers(ws, a, 420, 0));
    EXPECT_EQ(0, undoKind());
}

TEST_F(Arrange, MembersOnACircle)
{
    MemHandle g = group({{1000, 1000, 1200, 1200}, {1000, 1500, 1200, 1700},
                         {1000, 2000, 1200, 2200}, {1000, 2500, 1200, 2700}});
    std::vector<MemHandle> m = members(g);
    const POINT c = {5000, 5000};
    EXPECT_EQ(0, grpPlaceOnCircle(g, &c, 0, 0)) << "radius 0 does nothing";
    EXPECT_EQ(1, grpPlaceOnCircle(g, &c, 1000, 0));
    const POINT want[4] = {{6000, 5000}, {5000, 4000}, {4000, 5000}, {5000, 6000}};
    for (int i = 0; i < 4; ++i) {
        POINT at;
        obGetCentre(m[(size_t)i], &at);
        EXPECT_NEAR(want[i].x, at.x, 1) << i;
        EXPECT_NEAR(want[i].y, at.y, 1) << i;
    }
    EXPECT_EQ(m, members(g));
    RECT box;
    ASSERT_TRUE(grpMembersBox(g, &box));
    EXPECT_EQ(str({3900, 3900, 6100, 6100}), str(box));
    EXPECT_EQ(str(drawnUnion(g)), str(rectOf(g)));
    EXPECT_EQ(4, grpMemberCount(g));
    MemHandle saved = grpSaveMemberCentres(g);
    ASSERT_NE(0u, saved);
    EXPECT_EQ(32u, utHandleSize(saved));
    {
        MemLock<int32_t> p(saved);
        EXPECT_NEAR(5000, p.get()[2], 1);
        EXPECT_NEAR(4000, p.get()[3], 1);
    }
    utFreeHandle(saved);
}

}  // namespace
