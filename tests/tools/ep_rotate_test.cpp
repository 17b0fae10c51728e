// The rotate tool on a started program: posted drags about the pivot, the
// pivot's own drag, select mode's rotate handle, the refusals, the
// "selang" dialog, and the small tool services beside them.
#include "views/ws_relink.h"
#include "links/imgf_object.h"
#include "tests/tools/tool_ws_kit.h"
#include "tests/support/kit_dialog.h"
#include "tests/model/ob_kit.h"
#include "tools/cp_composite.h"
#include "tools/ep_handles.h"
#include "tools/ep_members.h"
#include "tools/ep_rotate.h"
#include "app/mb_msgbar.h"
#include "commands/cmd_object.h"
#include "controls/maintools.h"
#include <math.h>
#include <string>

namespace {

using qmtest::BoxRecorder;
using qmtest::DialogDriver;

class Rotate : public tooltest::Workspace {
protected:
    // A rectangle whose centre lies on a whole pixel, selected.
    MemHandle selectedRect()
    {
        MemHandle r = shape(OBT_RECTANGLE, {1500, 1500, 3000, 3000});
        epSelectObject(ws, r);
        pump();
        return r;
    }
    POINT pivotPx()
    {
        const RotateState *s = epGetRotateState();
        return px(s->pivotX, s->pivotY);
    }
    std::string positionText()
    {
        char text[64] = "";
        mbGetPositionText(text, sizeof text);
        return text;
    }
};

// Types into the edit field of a drop-down combo box, as the keyboard does.
void typeIntoCombo(HWND d, int id, const char *text)
{
    HWND edit = FindWindowExA(GetDlgItem(d, id), nullptr, "Edit", nullptr);
    ASSERT_TRUE(edit != nullptr);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, (LPARAM)text);
}

// Modes seen while the drag's own loop takes mouse messages off the queue.
std::vector<uint16_t> g_modes;
HWND g_watched = nullptr;
HHOOK g_hook = nullptr;

LRESULT CALLBACK watchModes(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG *msg = reinterpret_cast<const MSG *>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && msg->hwnd == g_watched &&
        (msg->message == WM_MOUSEMOVE || msg->message == WM_LBUTTONUP))
        g_modes.push_back(wsGetToolMode(g_watched));
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST_F(Rotate, TheToolTurnsAboutThePivotInWholeTenthsAndUndoesInside)
{
    MemHandle rect = selectedRect();
    command(213);
    ASSERT_EQ(TM_ROTATE, wsGetToolMode(ws));
    HWND tools = blGetToolList();
    if (tools && blFindButton(tools, 217) >= 0) {
        EXPECT_EQ(blFindButton(tools, 217), blGetPressed(tools));
    }

    // The press vector (55, 0) pixels turned onto (55, -12): 12.31 degrees
    // counter-clockwise on the screen.
    const POINT p = pivotPx();
    const POINT a = {p.x + 55, p.y}, b = {p.x + 55, p.y - 12};
    const double deg = epRotateAngleDeg(logical(p), logical(a), logical(b));
    ASSERT_GE(deg, 12.3);
    ASSERT_LT(deg, 12.4);
    drag(a, b, POINT{p.x + 55, p.y + 30});
    EXPECT_EQ(123, rotationOf(current()));
    EXPECT_EQ("Rotate 12 Deg.", positionText());
    EXPECT_EQ(UD_COPY, undoKind());
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_EQ(TM_ROTATE, wsGetToolMode(ws));

    command(200);
    EXPECT_EQ(0, rotationOf(current()));
    EXPECT_EQ(TM_ROTATE, wsGetToolMode(ws));
    (void)rect;
}

TEST_F(Rotate, ADragBackToItsStartRecordsNothing)
{
    selectedRect();
    command(213);
    const POINT p = pivotPx();
    const POINT a = {p.x + 60, p.y};
    drag(a, a, POINT{p.x + 20, p.y - 50});
    EXPECT_EQ(0, rotationOf(current()));
    EXPECT_EQ(0, undoKind());
    EXPECT_FALSE(wsIsModified(ws));
}

TEST_F(Rotate, APressNearThePivotMovesItAndTheNextTurnIsAboutIt)
{
    MemHandle rect = selectedRect();
    command(213);
    const RotateState before = *epGetRotateState();
    const POINT p = pivotPx();
    g_modes.clear();
    g_watched = ws;
    g_hook = SetWindowsHookExA(WH_GETMESSAGE, watchModes, nullptr, GetCurrentThreadId());
    drag(POINT{p.x + 3, p.y + 2}, POINT{p.x + 43, p.y + 2}, POINT{p.x + 23, p.y + 2});
    UnhookWindowsHookEx(g_hook);
    EXPECT_NE(g_modes.end(), std::find(g_modes.begin(), g_modes.end(), TM_SIZEALL));
    EXPECT_EQ(TM_ROTATE, wsGetToolMode(ws));
    const RotateState *moved = epGetRotateState();
    EXPECT_EQ(before.pivotX + 600, moved->pivotX);
    EXPECT_EQ(before.pivotY, moved->pivotY);
    EXPECT_EQ(0, rotationOf(rect)) << "moving the pivot turns nothing";
    EXPECT_EQ(0, undoKind());

    // A quarter turn counter-clockwise about the moved pivot (600 twips
    // right of the centre) carries the centre 600 twips below the pivot.
    const POINT q = pivotPx();
    drag(POINT{q.x + 60, q.y}, POINT{q.x, q.y - 60}, POINT{q.x + 60, q.y - 30});
    // (A box turned a quarter may keep rotation 0 with its sides swapped.)
    EXPECT_EQ(UD_COPY, undoKind());
    const POINT c = centre(current());
    EXPECT_NEAR(moved->pivotX, c.x, 2);
    EXPECT_NEAR(moved->pivotY + 600, c.y, 2);

    doubleClick(POINT{q.x + 200, q.y + 200});
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    command(213);
    ASSERT_EQ(TM_ROTATE, wsGetToolMode(ws));
    SendMessageA(ws, WS_MSG_LEAVE_MODE, 0, 0);
    pump();
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
}

TEST_F(Rotate, TheSelectHandleTurnsAboutTheBoxCentreAndKeepsTheStackingOrder)
{
    MemHandle under = shape(OBT_RECTANGLE, {1500, 1500, 3000, 3000});
    MemHandle over = shape(OBT_ELLIPSE, {6000, 6000, 7000, 7000});
    epSelectObject(ws, under);
    pump();
    RECT handle;
    ASSERT_TRUE(epGetRotateHandle(under, &handle));
    const POINT h = px((handle.left + handle.right) / 2, (handle.top + handle.bottom) / 2);
    const POINT before = centre(under);
    drag(h, POINT{h.x - 40, h.y - 40}, POINT{h.x - 10, h.y - 30});
    MemHandle now = current();
    EXPECT_NE(0, rotationOf(now));
    const POINT after = centre(now);
    EXPECT_NEAR(before.x, after.x, 1);
    EXPECT_NEAR(before.y, after.y, 1);
    const std::vector<MemHandle> list = page();
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ(now, list[0]);
    EXPECT_EQ(over, list[1]);
    EXPECT_EQ(UD_COPY, undoKind());
}

TEST_F(Rotate, ALoneBitmapInTheToolIsNeitherTurnedNorRecorded)
{
    MemHandle bmp = shape(OBT_BITMAP, {1500, 1500, 3000, 3000});
    epSelectObject(ws, bmp);
    pump();
    BoxRecorder boxes;
    EXPECT_EQ(1, epCanRotateTree(ws, bmp));
    command(213);
    ASSERT_EQ(TM_ROTATE, wsGetToolMode(ws));
    const POINT p = pivotPx();
    drag(POINT{p.x + 60, p.y}, POINT{p.x, p.y - 60});
    EXPECT_EQ(0, rotationOf(current()));
    EXPECT_EQ(0, undoKind());
    EXPECT_FALSE(wsIsModified(ws));
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(Rotate, TreesThatCannotTurnAreRefusedWithTheirMessage)
{
    MemHandle base = shape(OBT_RECTANGLE, {1500, 1500, 3000, 3000});
    CompositeSettings s;
    cpDefaultSettings(&s);
    s.scaleY = 0.5f;
    MemHandle composite = cpMakeComposite(ws, base, &s);
    ASSERT_TRUE(composite);
    const char *ask =
        "The selected composite object may change shape after rotation. OK to continue?";
    {
        BoxRecorder boxes;
        boxes.answer(IDCANCEL);
        EXPECT_EQ(0, epCanRotateTree(ws, composite));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ(ask, boxes.last().text);
        EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONQUESTION), boxes.last().flags & 0xFF);
        boxes.answer(IDOK);
        EXPECT_EQ(1, epCanRotateTree(ws, composite));
    }
    s.scaleY = 1.0f;
    cpApplySettings(composite, &s);
    {
        BoxRecorder boxes;
        EXPECT_EQ(1, epCanRotateTree(ws, composite)) << "an even scale asks nothing";
        EXPECT_EQ(0u, boxes.count());
    }
    const char *fields =
        "The selected object contains objects such as Table, Entry, Button, and Label objects "
        "that can not be rotated";
    const char *bitmap =
        "The selected object contains bitmap object which can be rotated only when it is alone.";
    const struct {
        int16_t group, member;
        const char *text;
    } cases[] = {{OBT_GROUP, OBT_ENTRY, fields},   {OBT_GROUP, OBT_LABEL, fields},
                 {OBT_GROUP, OBT_BITMAP, bitmap},  {OBT_CHAIN, OBT_BITMAP, bitmap},
                 {OBT_GROUP, OBT_ELLIPSE, nullptr}};
    for (const auto &c : cases) {
        MemHandle group = obNewGroup(c.group, obtest::make(OBT_RECTANGLE),
                                     obtest::make(c.member, 0, 0, 200, 200), (MemHandle)0);
        BoxRecorder boxes;
        EXPECT_EQ(c.text ? 0 : 1, epCanRotateTree(ws, group)) << c.member;
        if (c.text) {
            ASSERT_EQ(1u, boxes.count());
            EXPECT_EQ(c.text, boxes.last().text);
        } else {
            EXPECT_EQ(0u, boxes.count());
        }
        obFreeTree(group);
    }
}

// ---- the angle dialog ---------------------------------------------------------------------

TEST_F(Rotate, TheAngleDialogReadsRoundsRefusesAndReverses)
{
    struct Case {
        const char *name;
        int32_t before;
        std::vector<DialogDriver::Step> steps;
        int ok;
        int32_t after;
    };
    std::vector<std::string> entries;
    std::vector<Case> cases;
    cases.push_back({"45", 0,
                     {[&](HWND d) {
                          const int n = (int)SendDlgItemMessageA(d, 100, CB_GETCOUNT, 0, 0);
                          for (int i = 0; i < n; ++i) {
                              char t[16] = "";
                              SendDlgItemMessageA(d, 100, CB_GETLBTEXT, i, (LPARAM)t);
                              entries.push_back(t);
                          }
                          typeIntoCombo(d, 100, "45");
                      },
                      [](HWND d) { qmtest::pressButton(d, IDOK); }},
                     1, 450});
    cases.push_back({"rounded", 0,
                     {[](HWND d) { typeIntoCombo(d, 100, "12.36"); },
                      [](HWND d) { qmtest::pressButton(d, IDOK); }},
                     1, 124});
    cases.push_back({"reverse", 300,
                     {[](HWND d) {
                          EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, 112)));
                          qmtest::pressButton(d, 112);
                          EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, 100)));
                          EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, 101)));
                      },
                      [](HWND d) { qmtest::pressButton(d, IDOK); }},
                     1, -300});
    cases.push_back({"cancel", 300,
                     {[](HWND d) { typeIntoCombo(d, 100, "90"); },
                      [](HWND d) { qmtest::pressButton(d, IDCANCEL); }},
                     0, 300});
    for (Case &c : cases) {
        int32_t tenths = c.before;
        DialogDriver driver(c.steps);
        EXPECT_EQ(c.ok, epRotateAngleDialog(ws, &tenths)) << c.name;
        EXPECT_EQ(c.after, tenths) << c.name;
    }
    const std::vector<std::string> want = {"0", "45", "90", "135", "180", "225", "270", "315"};
    EXPECT_EQ(want, entries);

    // Not a number: the error, and the dialog stays for the next step.
    BoxRecorder boxes;
    int32_t tenths = 0;
    DialogDriver driver({[](HWND d) { typeIntoCombo(d, 100, "abc"); },
                         [](HWND d) { qmtest::pressButton(d, IDOK); },
                         [](HWND d) { qmtest::pressButton(d, IDCANCEL); }});
    EXPECT_EQ(0, epRotateAngleDialog(ws, &tenths));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Error in field", boxes.last().text);
    EXPECT_EQ("Press OK button to continue", boxes.last().caption);
    EXPECT_EQ(3u, driver.ran());
}

// ---- pixels ---------------------------------------------------------------------------------

TEST_F(Rotate, TheMarkerAndTheTurnedOutlineEraseThemselves)
{
    qmtest::Dib dib(200, 200), blank(200, 200);
    HDC dc = dib.dc();
    RotateState s = {40, 40, 100, 100, 50, 8};
    epDrawRotateMarker(dc, &s);
    EXPECT_NE(0, dib.diff(blank));
    EXPECT_EQ(RGB(255, 0, 0), dib.pixel(103, 103)) << "the red disc about the pivot";
    epDrawRotateMarker(dc, &s);
    EXPECT_EQ(0, dib.diff(blank));

    RotateOutline o;
    o.type = OBT_POLYLINE;
    o.pivot = POINT{100, 100};
    o.base = {{-50, -50}, {50, -50}, {50, 50}};
    SetROP2(dc, R2_NOTXORPEN);
    epDrawTurnedOutline(dc, &o, POINT{150, 100}, POINT{100, 50});
    EXPECT_NE(0, dib.diff(blank));
    // A quarter turn counter-clockwise on the screen: (-50, -50) from the
    // pivot lands on (-50, 50).
    EXPECT_EQ(50, o.work[0].x);
    EXPECT_EQ(150, o.work[0].y);
    epDrawTurnedOutline(dc, &o, POINT{150, 100}, POINT{100, 50});
    EXPECT_EQ(0, dib.diff(blank));
}

// ---- small services -----------------------------------------------------------------------------

TEST_F(Rotate, DirectionCommandsGiveTheirOffsets)
{
    const struct {
        int16_t command;
        int32_t dx, dy;
    } cases[] = {{760, 20, 0},   {761, -20, 0},  {762, 0, -20},  {763, 0, 20},
                 {764, 20, -20}, {765, -20, -20}, {766, -20, 20}, {767, 20, 20},
                 {830, 160, 0},  {831, -160, 0}, {832, 0, -160}, {833, 0, 160},
                 {759, 20, 20},  {800, 20, 20},  {834, 20, 20}};
    for (const auto &c : cases) {
        int32_t dx = 20, dy = 20;
        EXPECT_EQ(1, epDirectionOffset(c.command, &dx, &dy));
        EXPECT_EQ(c.dx, dx) << c.command;
        EXPECT_EQ(c.dy, dy) << c.command;
    }
}

TEST_F(Rotate, TheKindNameIsTheTypesDisplayName)
{
    MemHandle rect = shape(OBT_RECTANGLE, {1500, 1500, 3000, 3000});
    epSelectObject(ws, rect);
    char text[64];
    EXPECT_STREQ("Rectangle", epCurrentKindName(ws, text));
    epSelectObject(ws, 0);
    EXPECT_STREQ("", epCurrentKindName(ws, text));

    // An image file object names its linked file's extension; one with a
    // longer extension, its type's display name.
    struct Case { const char *file, *kind; } cases[] = {{"a.png", "PNG File"},
                                                         {"b.JPG", "JPG File"}};
    for (const Case &c : cases) {
        MemHandle image = shape(OBT_IMAGE_FILE, {4000, 1500, 5000, 2500});
        MemHandle named = imgfSetFileName(image, c.file);
        ASSERT_NE(0u, named) << c.file;
        if (named != image)
            wsRelinkObject(ws, named);
        epSelectObject(ws, named);
        EXPECT_STREQ(c.kind, epCurrentKindName(ws, text)) << c.file;
    }
    MemHandle image = shape(OBT_IMAGE_FILE, {6000, 1500, 7000, 2500});
    MemHandle named = imgfSetFileName(image, "c.jpeg2");
    ASSERT_NE(0u, named);
    if (named != image)
        wsRelinkObject(ws, named);
    epSelectObject(ws, named);
    char name[64] = "";
    obGetTypeName(OBT_IMAGE_FILE, name);
    EXPECT_STREQ(name, epCurrentKindName(ws, text));
}

}  // namespace
