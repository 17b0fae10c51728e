// Select mode on a started program: posted clicks, drags and right clicks
// in a real workspace select, move, resize and gather objects, record their
// undo steps and choose their menus.
#include "tests/app/app_fixture.h"
#include "tools/ep_factory.h"
#include "tools/ep_handles.h"
#include "tools/ep_select_mode.h"
#include "tools/ep_selection.h"
#include "tools/ep_tool_choice.h"
#include "commands/ms_select.h"
#include "commands/pop_menus.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_page.h"
#include "support/dm_map.h"
#include "support/win_menu.h"
#include "support/win_mouse.h"
#include "views/dw_window.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;

// The items of the last tracked menu.
std::vector<std::pair<UINT, std::string>> g_menu;
int g_menus = 0;

UINT recordMenu(HMENU menu, UINT, int, int, HWND)
{
    ++g_menus;
    g_menu.clear();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        GetMenuStringA(menu, (UINT)i, text, sizeof text, MF_BYPOSITION);
        g_menu.push_back({GetMenuItemID(menu, i), text});
    }
    return 0;
}

// Commands posted to the workspace, seen as they are taken off the queue.
std::vector<WORD> g_posted;
HHOOK g_hook = nullptr;

LRESULT CALLBACK watchPosted(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG *msg = reinterpret_cast<const MSG *>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && msg->message == WM_COMMAND)
        g_posted.push_back(LOWORD(msg->wParam));
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

class SelectMode : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        ASSERT_TRUE(pvGetCurrentPage(ws) != 0);
        wsSetZoomPercent(ws, 100);
        // Positions as the pointer gives them, not snapped to the rulers.
        wsSetSnapToRulers(ws, FALSE);
        epEnterSelectMode(ws, 0);
        pump();
        ASSERT_EQ(TM_SELECT, wsGetToolMode(ws));
        g_menu.clear();
        g_menus = 0;
        g_posted.clear();
        winSetTrackPopupHook(recordMenu);
        g_hook = SetWindowsHookExA(WH_GETMESSAGE, watchPosted, nullptr, GetCurrentThreadId());
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(g_hook);
        winSetTrackPopupHook(nullptr);
        epResetToolChoice();
        App::TearDown();
        dwResetModule();
    }

    // An object of the type from two corners (twips), on top of the page.
    MemHandle add(int16_t type, RECT r, uint32_t flags = 0)
    {
        POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
        MemHandle h = epCreateObject(ws, 0, type, pts, 2);
        EXPECT_TRUE(h != 0);
        obSetFlags(h, OBF_LOCKED | OBF_NO_POINT_EDIT, FALSE);
        if (flags)
            obSetFlags(h, flags, TRUE);
        EXPECT_TRUE(wsAppendObject(ws, h));
        return h;
    }
    // The client pixel of a page point.
    POINT px(int32_t x, int32_t y)
    {
        wsApplyViewMapping(ws);
        return POINT{dmLogToDevX(x), dmLogToDevY(y)};
    }
    POINT centreOf(MemHandle h)
    {
        POINT c;
        obGetCentre(h, &c);
        return px(c.x, c.y);
    }
    void post(UINT msg, WPARAM keys, POINT p) { PostMessageA(ws, msg, keys, MAKELPARAM(p.x, p.y)); }
    void click(POINT p, bool ctrl = false)
    {
        const WPARAM k = ctrl ? MK_CONTROL : 0;
        post(WM_MOUSEMOVE, k, p);
        post(WM_LBUTTONDOWN, MK_LBUTTON | k, p);
        post(WM_LBUTTONUP, k, p);
        // No second press comes within the double-click time.
        PostMessageA(ws, WM_TIMER, WIN_WAIT_CLICK_TIMER, 0);
        pump();
    }
    void doubleClick(POINT p)
    {
        post(WM_LBUTTONDOWN, MK_LBUTTON, p);
        post(WM_LBUTTONUP, 0, p);
        post(WM_LBUTTONDBLCLK, MK_LBUTTON, p);
        post(WM_LBUTTONUP, 0, p);
        pump();
    }
    void rightClick(POINT p, bool shift = false)
    {
        BYTE saved[256], keys[256];
        GetKeyboardState(saved);
        memcpy(keys, saved, sizeof keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        post(WM_RBUTTONDOWN, MK_RBUTTON, p);
        post(WM_RBUTTONUP, 0, p);
        pump();
        SetKeyboardState(saved);
    }
    // A left drag from a to b by way of a point far enough to be a drag.
    void drag(POINT a, POINT b)
    {
        post(WM_MOUSEMOVE, 0, a);
        post(WM_LBUTTONDOWN, MK_LBUTTON, a);
        post(WM_MOUSEMOVE, MK_LBUTTON, POINT{a.x + 20, a.y + 20});
        post(WM_MOUSEMOVE, MK_LBUTTON, b);
        post(WM_LBUTTONUP, 0, b);
        pump();
    }
    std::vector<MemHandle> pageObjects()
    {
        std::vector<MemHandle> v;
        obCollectList(wsGetFirstObject(ws), v);
        return v;
    }
    int16_t undoKind()
    {
        UndoRecord u;
        return wsGetUndo(ws, &u) ? (int16_t)u.kind : 0;
    }
    MemHandle current() { return wsGetCurrentObject(ws); }
};

// ---- clicks and the right button -----------------------------------------------------------------

TEST_F(SelectMode, RepeatedClicksStepDownThroughOverlapsSkippingALockedTop)
{
    MemHandle bottom = add(OBT_RECTANGLE, {2000, 2000, 4000, 4000});
    MemHandle middle = add(OBT_RECTANGLE, {2500, 2500, 4500, 4500});
    MemHandle top = add(OBT_RECTANGLE, {3000, 3000, 5000, 5000});
    MemHandle locked = add(OBT_RECTANGLE, {3200, 3200, 3800, 3800}, OBF_LOCKED);
    const POINT p = px(3500, 3500);
    const MemHandle want[] = {top, middle, bottom, top};
    for (int i = 0; i < 4; ++i) {
        click(p);
        EXPECT_EQ(want[i], current()) << "click " << i;
    }
    // Nothing selected, then the right button: the locked object catches it
    // and is selected without a menu; on it again, only "&Unlock" is offered.
    click(px(9000, 9000));
    EXPECT_EQ(0u, current());
    rightClick(p);
    EXPECT_EQ(locked, current());
    EXPECT_EQ(0, g_menus);
    rightClick(p);
    ASSERT_EQ(1, g_menus);
    ASSERT_EQ(1u, g_menu.size());
    EXPECT_EQ(419u, g_menu[0].first);
    EXPECT_EQ("&Unlock", g_menu[0].second);
}

TEST_F(SelectMode, ARightClickOnAnotherObjectSelectsItWithoutAMenu)
{
    MemHandle a = add(OBT_RECTANGLE, {2000, 2000, 3000, 3000});
    MemHandle b = add(OBT_ELLIPSE, {5000, 2000, 6000, 3000});
    click(centreOf(a));
    ASSERT_EQ(a, current());
    rightClick(centreOf(b));
    EXPECT_EQ(b, current());
    EXPECT_EQ(0, g_menus);
    // On the selected object: its menu (the Object submenu for a shape,
    // with Group and Ungroup).
    auto has = [](UINT id) {
        for (auto &item : g_menu)
            if (item.first == id)
                return true;
        return false;
    };
    rightClick(centreOf(b));
    ASSERT_EQ(1, g_menus);
    EXPECT_TRUE(has(403) && has(405));
    EXPECT_FALSE(has(628));
    // On the empty page: the Page submenu (page name, no Group).
    rightClick(px(9000, 12000));
    ASSERT_EQ(2, g_menus);
    EXPECT_TRUE(has(628) && has(203));
    EXPECT_FALSE(has(403));
}

TEST_F(SelectMode, AOnePixelVerticalLineIsHitTwoPixelsToEitherSide)
{
    MemHandle vline = add(OBT_VLINE, {6000, 2000, 6000, 5000});
    wsApplyViewMapping(ws);
    const int32_t twoPx = dmDevToLogW(2);
    EXPECT_EQ(vline, epHitObject(ws, 0, POINT{6000 - twoPx, 3000}));
    EXPECT_EQ(vline, epHitObject(ws, 0, POINT{6000 + twoPx, 3000}));
    EXPECT_EQ(0u, epHitObject(ws, 0, POINT{6000 + 4 * twoPx, 3000}));
    EXPECT_EQ(0u, epHitObject(ws, 0, POINT{6000, 5000 + 4 * twoPx}));
    // A locked line is hit, but not by the unlocked search.
    obSetFlags(vline, OBF_LOCKED, TRUE);
    EXPECT_EQ(vline, epHitObject(ws, 0, POINT{6000, 3000}));
    EXPECT_EQ(0u, epHitUnlocked(ws, 0, POINT{6000, 3000}));
}

// ---- moving ----------------------------------------------------------------------------------

TEST_F(SelectMode, DraggingTheSelectionMovesItOnceForUndo)
{
    MemHandle rect = add(OBT_RECTANGLE, {2000, 2000, 3440, 3440});
    click(centreOf(rect));
    ASSERT_EQ(rect, current());
    ASSERT_EQ(0, undoKind());
    // A press and release without moving records nothing.
    click(centreOf(rect));
    EXPECT_EQ(0, undoKind());
    EXPECT_FALSE(wsIsModified(ws));

    POINT before;
    obGetCentre(rect, &before);
    const POINT a = centreOf(rect);
    drag(a, POINT{a.x + 48, a.y + 24});
    POINT after;
    obGetCentre(rect, &after);
    EXPECT_EQ(before.x + 720, after.x);
    EXPECT_EQ(before.y + 360, after.y);
    EXPECT_EQ(UD_MOVED, undoKind());
    EXPECT_EQ(rect, current());
    EXPECT_TRUE(wsIsModified(ws));

    SendMessageA(ws, WM_COMMAND, 200, 0);
    pump();
    obGetCentre(rect, &after);
    EXPECT_TRUE(before.x == after.x && before.y == after.y);
}

// ---- handles -----------------------------------------------------------------------------------

TEST_F(SelectMode, TheBottomRightHandleResizesWithAFullCopyForUndo)
{
    MemHandle rect = add(OBT_RECTANGLE, {2880, 2880, 4320, 4320});
    click(centreOf(rect));
    ASSERT_EQ(rect, current());
    const POINT h2 = px(4320, 4320);
    drag(h2, POINT{h2.x + 48, h2.y + 24});
    MemHandle now = current();
    EXPECT_EQ(OBT_RECTANGLE, obGetType(now));
    EXPECT_EQ(2160, obGetWidth(now));
    EXPECT_EQ(1800, obGetHeight(now));
    RECT box;
    obGetRect(now, &box);
    EXPECT_EQ(2880, box.left);
    EXPECT_EQ(2880, box.top);
    EXPECT_EQ(UD_COPY, undoKind());
    SendMessageA(ws, WM_COMMAND, 200, 0);
    pump();
    EXPECT_EQ(1440, obGetWidth(current()));
    EXPECT_EQ(1440, obGetHeight(current()));
}

TEST_F(SelectMode, TheBottomMiddleHandleOntoTheTopEdgeIsRefused)
{
    MemHandle rect = add(OBT_RECTANGLE, {2880, 2880, 4320, 4320});
    click(centreOf(rect));
    BoxRecorder boxes;
    const POINT h7 = px(3600, 4320), top = px(3600, 2880);
    drag(h7, top);
    ASSERT_EQ(1u, boxes.count()) << boxes.texts();
    EXPECT_EQ("You have reduced the oject size to zero, which is not allowed.  The resize "
              "action is ignored.",
              boxes.last().text);
    EXPECT_EQ(1440, obGetWidth(current()));
    EXPECT_EQ(1440, obGetHeight(current()));
    // The full copy stays as the undo step.
    EXPECT_EQ(UD_COPY, undoKind());
}

TEST_F(SelectMode, ALineEndDroppedOnItsOtherEndAsksForTheDelete)
{
    MemHandle line = add(OBT_LINE, {2880, 2880, 5760, 4320});
    click(px(4320, 3600));
    ASSERT_EQ(line, current());
    BoxRecorder boxes;
    drag(px(5760, 4320), px(2880, 2880));
    ASSERT_EQ(1u, boxes.count()) << boxes.texts();
    EXPECT_EQ("The object will be deleted because of the 0 size.\nTo restore, please select Undo.",
              boxes.last().text);
    EXPECT_NE(g_posted.end(), std::find(g_posted.begin(), g_posted.end(), (WORD)205));
    // The posted Delete takes the line away as it was (its delete is the
    // undo step); Undo brings it back unchanged.
    EXPECT_FALSE(wsPageHasObject(ws, line));
    EXPECT_EQ(UD_DELETED, undoKind());
    SendMessageA(ws, WM_COMMAND, 200, 0);
    pump();
    line = wsGetLastObject(ws);
    ASSERT_EQ(OBT_LINE, obGetType(line));
    EXPECT_EQ(2880, obGetWidth(line));
    EXPECT_EQ(1440, obGetHeight(line));
    epSelectObject(ws, 0);

    // Dropped elsewhere, the end is stored and undone by the full copy.
    g_posted.clear();
    click(px(4320, 3600));
    drag(px(5760, 4320), px(6000, 5000));
    EXPECT_EQ(0u, boxes.count() - 1);
    EXPECT_EQ(UD_COPY, undoKind());
    RECT box;
    obGetRect(current(), &box);
    wsApplyViewMapping(ws);
    EXPECT_EQ(2880, box.left);
    EXPECT_NEAR(6000, box.right, dmDevToLogW(1));
    SendMessageA(ws, WM_COMMAND, 200, 0);
    pump();
    EXPECT_EQ(2880, obGetWidth(current()));
}

// ---- multiple selection ------------------------------------------------------------------------

TEST_F(SelectMode, ARubberBandMakesAChainThatTheNextClickDissolves)
{
    MemHandle a = add(OBT_RECTANGLE, {2000, 2000, 2700, 2700});
    MemHandle b = add(OBT_RECTANGLE, {3000, 2000, 3700, 2700});
    MemHandle c = add(OBT_RECTANGLE, {4000, 2000, 4700, 2700});
    drag(px(1800, 1800), px(3850, 2900));
    MemHandle chain = current();
    ASSERT_EQ(OBT_CHAIN, obGetType(chain));
    EXPECT_EQ(a, obGetFirstMember(chain));
    EXPECT_EQ(b, obGetNextMember(a));
    EXPECT_EQ(0u, obGetNextMember(b));
    EXPECT_EQ(UD_CHAIN, undoKind());
    EXPECT_EQ((std::vector<MemHandle>{chain, c}), pageObjects());

    click(centreOf(c));
    EXPECT_EQ(c, current());
    EXPECT_EQ((std::vector<MemHandle>{a, b, c}), pageObjects());
}

TEST_F(SelectMode, UndoOfARubberBandChainPutsThePageBack)
{
    MemHandle a = add(OBT_RECTANGLE, {2000, 2000, 2700, 2700});
    MemHandle b = add(OBT_RECTANGLE, {3000, 2000, 3700, 2700});
    MemHandle c = add(OBT_RECTANGLE, {4000, 2000, 4700, 2700});
    drag(px(2800, 1800), px(4850, 2900));
    ASSERT_EQ(OBT_CHAIN, obGetType(current()));
    SendMessageA(ws, WM_COMMAND, 200, 0);
    pump();
    EXPECT_EQ((std::vector<MemHandle>{a, b, c}), pageObjects());
}

TEST_F(SelectMode, CtrlClickGathersObjectsAndADoubleClickChainsThem)
{
    MemHandle a = add(OBT_RECTANGLE, {2000, 2000, 2700, 2700});
    MemHandle b = add(OBT_RECTANGLE, {3000, 2000, 3700, 2700});
    MemHandle c = add(OBT_RECTANGLE, {4000, 2000, 4700, 2700});
    click(centreOf(a));
    ASSERT_EQ(a, current());
    click(centreOf(b), true);
    EXPECT_EQ(TM_MULTISELECT, wsGetToolMode(ws));
    MemHandle got[4] = {};
    ASSERT_EQ(2, msGetGathered(ws, got, 4));
    EXPECT_EQ(a, got[0]);
    EXPECT_EQ(b, got[1]);
    // A click takes one in and out again.
    click(centreOf(c));
    EXPECT_EQ(3, msGetGathered(ws, got, 4));
    click(centreOf(c));
    EXPECT_EQ(2, msGetGathered(ws, got, 4));

    doubleClick(px(9000, 9000));
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    MemHandle chain = current();
    ASSERT_EQ(OBT_CHAIN, obGetType(chain));
    EXPECT_EQ(a, obGetFirstMember(chain));
    EXPECT_EQ(b, obGetNextMember(a));
    EXPECT_EQ(UD_CHAIN, undoKind());
    EXPECT_EQ((std::vector<MemHandle>{chain, c}), pageObjects());
}

TEST_F(SelectMode, AnObjectFreedWhileSelectedIsForgotten)
{
    MemHandle a = add(OBT_RECTANGLE, {2000, 2000, 2700, 2700});
    click(centreOf(a));
    ASSERT_EQ(a, current());
    ASSERT_TRUE(wsDeleteObject(ws, a));
    EXPECT_EQ(0u, current());
    // Pointer moves and clicks over where it was touch no freed handle.
    click(px(2300, 2300));
    EXPECT_EQ(0u, current());
}

}  // namespace
