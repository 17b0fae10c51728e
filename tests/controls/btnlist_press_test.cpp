// Presses on a button list, driven by posted mouse messages: the commands
// each kind sends, auto-repeat through timer messages, menus, fly-outs,
// drag and drop, and the hover tooltips.
#include "support/app_ui_state.h"
#include "tests/controls/bl_fixture.h"
#include "support/ut_mem.h"
#include "support/win_window.h"
#include <string.h>

using bltest::buttonCommands;
using bltest::Command;
using bltest::commandsWith;
using bltest::ListTest;
using bltest::pump;
using bltest::recorder;

namespace {

LPARAM screenOf(HWND list, POINT pt)
{
    ClientToScreen(list, &pt);
    return MAKELPARAM(pt.x, pt.y);
}

// Menus tracked through the one helper: recorded and answered.
struct MenuRecord {
    HMENU menu;
    HWND owner;
    int x, y;
    std::vector<UINT> ids;
    std::vector<std::string> texts;
};
std::vector<MenuRecord> g_menus;
UINT g_menuAnswer = 0;

UINT recordMenu(HMENU menu, UINT, int x, int y, HWND owner)
{
    MenuRecord r = {menu, owner, x, y, {}, {}};
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        r.ids.push_back(GetMenuItemID(menu, i));
        WCHAR text[64] = {};
        GetMenuStringW(menu, (UINT)i, text, 64, MF_BYPOSITION);
        char utf8[192] = {};
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
        r.texts.push_back(utf8);
    }
    g_menus.push_back(r);
    return g_menuAnswer;
}

}  // namespace

class ButtonListPress : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        g_menus.clear();
        g_menuAnswer = 0;
        winSetTrackPopupHook(recordMenu);
    }
    HWND drawTools()
    {
        return makeList(2, {0, 0, 500, 24}, 0xC001, tbDrawToolTable, tbDrawToolCount, 22, 22);
    }
};

TEST_F(ButtonListPress, ReleaseOnAToolSendsBothCommandsAndPressesIt)
{
    HWND list = drawTools();
    click(list, centre(list, 14));   // "Vertical Text"
    pump();
    std::vector<Command> got = buttonCommands();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(MAKELONG(2222, 2223), (LONG)got[0].wParam);
    EXPECT_EQ(MAKELONG((WORD)-40, 0x1), (LONG)got[0].lParam);
    EXPECT_FALSE(got[0].sent);
    EXPECT_EQ(14, blGetPressed(list));

    // The tool stays pressed until the next press in the list.
    click(list, centre(list, 9));   // "Rectangle": 306, type 7
    pump();
    got = buttonCommands();
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ(306u, got[1].wParam);
    EXPECT_EQ(MAKELONG(7, 1), (LONG)got[1].lParam);
    EXPECT_EQ(9, blGetPressed(list));
}

TEST_F(ButtonListPress, ReleaseElsewhereDecidesTheCommand)
{
    HWND list = drawTools();
    // Pressed on "Line", released on "Arc": the arc's command goes.
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at(centre(list, 0)));
    PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, at(centre(list, 3)));
    PostMessageA(list, WM_LBUTTONUP, 0, at(centre(list, 6)));
    pump();
    std::vector<Command> got = buttonCommands();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(311u, got[0].wParam);
    EXPECT_EQ(6, blGetPressed(list));

    // Released away from every button: nothing, and nothing pressed.
    recorder().commands.clear();
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at(centre(list, 0)));
    PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(490, 12));
    pump();
    EXPECT_TRUE(buttonCommands().empty());
    EXPECT_EQ(-1, blGetPressed(list));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(ButtonListPress, RightClickSendsTheSecondCommand)
{
    HWND list = drawTools();
    blSelectButton(list, 301);
    POINT pt = centre(list, 14);
    rightClick(list, pt);
    pump();
    std::vector<Command> got = buttonCommands();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(2223u, got[0].wParam);
    EXPECT_EQ(MAKELPARAM(pt.x, pt.y), got[0].lParam);   // client point
    EXPECT_EQ(-1, blGetPressed(list));

    // Released on another button: nothing.
    recorder().commands.clear();
    PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, at(pt));
    PostMessageA(list, WM_RBUTTONUP, 0, at(centre(list, 13)));
    pump();
    EXPECT_TRUE(buttonCommands().empty());
    EXPECT_TRUE(g_menus.empty());

    // Buttons without a second command ignore the right button.
    rightClick(list, centre(list, 0));
    pump();
    EXPECT_TRUE(buttonCommands().empty());
    EXPECT_TRUE(g_menus.empty());

    // The narrow table's Paste sends 195.
    HWND narrow = makeList(1024, {0, 30, 400, 54}, 0xC001, tbCommandNarrowTable, tbCommandNarrowCount,
                           24, 24);
    rightClick(narrow, centre(narrow, 9));
    pump();
    got = buttonCommands();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(195u, got[0].wParam);
}

TEST_F(ButtonListPress, DisabledAndEmptyButtonsIgnoreTheMouse)
{
    ToolButton table[3];
    memcpy(table, tbDrawToolTable + 13, sizeof(table));   // Text, Vertical Text, Label
    table[0].kind = 0;
    table[1].enabled = 0;
    HWND list = makeList(2, {0, 0, 200, 24}, 0xC001, table, 3, 22, 22);
    blSelectButton(list, 332);
    for (int i = 0; i < 2; ++i) {
        click(list, centre(list, i));
        rightClick(list, centre(list, i));
    }
    pump();
    EXPECT_TRUE(buttonCommands().empty());
    EXPECT_EQ(-1, blGetPressed(list));   // a press always releases the pressed button
    // The right button released on an empty slot opens the list's menu; on a
    // disabled button it does nothing.
    ASSERT_EQ(1u, g_menus.size());
}

TEST_F(ButtonListPress, AtPressKindsSendAtOnceWithTheScreenPoint)
{
    HWND list = drawTools();
    POINT pt = centre(list, 20);   // "More Objects", kind 0x8
    pt.x -= 3;
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at(pt));
    pump();
    std::vector<Command> got = buttonCommands();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(331u, got[0].wParam);
    EXPECT_EQ(screenOf(list, pt), got[0].lParam);
    EXPECT_EQ(-1, blGetPressed(list));   // without 0x1 it is not kept pressed
    PostMessageA(list, WM_LBUTTONUP, 0, at(pt));
    pump();
    EXPECT_EQ(1u, buttonCommands().size());

    // Kind 0x28 ("Select Page"): the press point travels on release.
    HWND cmds = makeList(1024, {0, 30, 600, 54}, 0xC001, tbCommandTable, tbCommandCount, 24, 24);
    recorder().commands.clear();
    POINT p = centre(cmds, 6);
    PostMessageA(cmds, WM_LBUTTONDOWN, MK_LBUTTON, at(p));
    PostMessageA(cmds, WM_LBUTTONUP, 0, at({p.x + 2, p.y + 1}));
    pump();
    got = buttonCommands();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(625u, got[0].wParam);
    EXPECT_EQ(screenOf(cmds, p), got[0].lParam);
}

class ButtonListRepeat : public ButtonListPress {
protected:
    HWND modeTools()
    {
        return makeList(8, {0, 30, 30, 430}, 0xC000, tbModeToolTable, tbModeToolCount, 24, 24);
    }
    std::vector<LPARAM> zoomSteps()
    {
        std::vector<LPARAM> out;
        for (const Command &c : commandsWith(192)) {
            EXPECT_EQ(192u, c.wParam);
            out.push_back(c.lParam);
        }
        return out;
    }
    void hold(HWND list, POINT pt)
    {
        PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at(pt));
        PostMessageA(list, WM_TIMER, WIN_WAIT_CLICK_TIMER, 0);   // the double-click time is up
    }
};

TEST_F(ButtonListRepeat, HeldButtonSendsOneStepPerTickThenTheLast)
{
    HWND list = modeTools();
    POINT pt = centre(list, 2);   // "Zoom In", 192
    hold(list, pt);
    PostMessageA(list, WM_TIMER, BL_REPEAT_TIMER, 0);
    PostMessageA(list, WM_TIMER, BL_REPEAT_TIMER, 0);
    PostMessageA(list, WM_LBUTTONUP, 0, at(pt));
    pump();
    EXPECT_EQ((std::vector<LPARAM>{1, 2, 0x10003}), zoomSteps());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(-1, blGetPressed(list));
}

TEST_F(ButtonListRepeat, ReleasedBeforeTheFirstTick)
{
    HWND list = modeTools();
    POINT pt = centre(list, 2);
    hold(list, pt);
    PostMessageA(list, WM_LBUTTONUP, 0, at(pt));
    pump();
    EXPECT_EQ((std::vector<LPARAM>{0x10001}), zoomSteps());
}

TEST_F(ButtonListRepeat, LeavingTheButtonEndsTheRepeat)
{
    HWND list = modeTools();
    POINT pt = centre(list, 2);
    hold(list, pt);
    PostMessageA(list, WM_TIMER, BL_REPEAT_TIMER, 0);
    PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, at(centre(list, 3)));
    PostMessageA(list, WM_TIMER, BL_REPEAT_TIMER, 0);   // after the end: ignored
    PostMessageA(list, WM_LBUTTONUP, 0, at(centre(list, 3)));
    pump();
    EXPECT_EQ((std::vector<LPARAM>{1, 0x10002}), zoomSteps());
}

TEST_F(ButtonListRepeat, ClicksSendOneMessageWithZero)
{
    HWND list = modeTools();
    POINT pt = centre(list, 2);
    click(list, pt);
    PostMessageA(list, WM_TIMER, WIN_WAIT_CLICK_TIMER, 0);   // no second press came
    pump();
    EXPECT_EQ((std::vector<LPARAM>{0}), zoomSteps());

    recorder().commands.clear();
    click(list, pt);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at(pt));
    PostMessageA(list, WM_LBUTTONUP, 0, at(pt));
    pump();
    EXPECT_EQ((std::vector<LPARAM>{0}), zoomSteps());
}

TEST_F(ButtonListRepeat, ParentDestroyingTheListMidRepeat)
{
    HWND list = modeTools();
    POINT pt = centre(list, 2);
    recorder().destroyOnCommand = list;
    hold(list, pt);
    PostMessageA(list, WM_TIMER, BL_REPEAT_TIMER, 0);
    PostMessageA(list, WM_TIMER, BL_REPEAT_TIMER, 0);
    PostMessageA(list, WM_LBUTTONUP, 0, at(pt));
    pump();
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ((std::vector<LPARAM>{1}), zoomSteps());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(ButtonListPress, MenuKindTracksItsMenuForTheParent)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 4001, "First");
    AppendMenuA(menu, MF_STRING, 4002, "Second");
    ToolButton table[1];
    blFillButton(&table[0], 600, 0, TBK_MENU | TBK_TRIANGLE, 1, "view", "Menu", qmHandleToU32(menu));
    HWND list = makeList(5, {0, 0, 100, 24}, 0xC001, table, 1, 22, 22);
    g_menuAnswer = 4002;
    POINT pt = centre(list, 0);
    click(list, pt);
    pump();
    ASSERT_EQ(1u, g_menus.size());
    EXPECT_EQ(menu, g_menus[0].menu);
    EXPECT_EQ(parent(), g_menus[0].owner);
    POINT s = pt;
    ClientToScreen(list, &s);
    EXPECT_EQ(s.x, g_menus[0].x);
    EXPECT_EQ(s.y, g_menus[0].y);
    ASSERT_GE(recorder().commands.size(), 2u);
    EXPECT_EQ((UINT)WM_INITMENUPOPUP, recorder().commands[0].msg);
    EXPECT_EQ((WPARAM)menu, recorder().commands[0].wParam);
    std::vector<Command> got = buttonCommands();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(4002u, got[0].wParam);   // the menu's command, not the button's
    DestroyMenu(menu);
}

TEST_F(ButtonListPress, RightClickOnAnEmptySpotOpensTheListMenu)
{
    HWND list = drawTools();
    g_menuAnswer = 750;
    PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(480, 10));
    pump();
    ASSERT_EQ(1u, g_menus.size());
    EXPECT_EQ(parent(), g_menus[0].owner);   // the frame
    EXPECT_EQ((std::vector<UINT>{25, 0, 607, 750, 919, 749, 2241}), g_menus[0].ids);
    EXPECT_EQ("Switch Color Interface Style", g_menus[0].texts[0]);
    EXPECT_EQ("Image &Link Manager...", g_menus[0].texts[6]);
    ASSERT_EQ(1u, commandsWith(750).size());

    appSetMenuLanguageId(2);
    PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(480, 10));
    pump();
    ASSERT_EQ(2u, g_menus.size());
    EXPECT_EQ(g_menus[0].ids, g_menus[1].ids);
    EXPECT_EQ("\xe5\x88\x87\xe6\x8f\x9b\xe8\x89\xb2\xe5\xbd\xa9\xe4\xbb\x8b\xe9\x9d\xa2\xe6\xa8\xa3\xe5\xbc\x8f",
              g_menus[1].texts[0]);   // the Traditional Chinese menu
}

TEST_F(ButtonListPress, FlyOutOpensBelowARowWithTheSubList)
{
    long before = qmtest::liveHandles();
    MemHandle sub = tbMakeSubList(tbMoreObjectsTable, 5);
    ToolButton table[2];
    memcpy(table, tbDrawToolTable, sizeof(table));
    table[1].handle = sub;
    HWND list = makeList(2, {0, 0, 200, 24}, 0xC001, table, 2, 22, 22);
    click(list, centre(list, 1));
    pump();
    std::vector<Command> got = buttonCommands();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(302u, got[0].wParam);   // the command alone, sent at once
    EXPECT_EQ(MAKELONG(3, 1), (LONG)got[0].lParam);
    EXPECT_TRUE(got[0].sent);

    HWND flyout = GetFocus();
    ASSERT_TRUE(winIsWindowOfClass(flyout, blClassName, nullptr));
    EXPECT_EQ(parent(), GetWindow(flyout, GW_OWNER));
    ButtonListRecord rec;
    ASSERT_TRUE(blGetRecord(flyout, &rec));
    EXPECT_EQ(5, rec.count);
    EXPECT_EQ(BLS_FLYOUT, rec.style);   // a column under a row
    EXPECT_EQ(0, rec.listId);
    EXPECT_EQ(-1, rec.pressed);
    RECT w, button, lw;
    GetWindowRect(flyout, &w);
    GetWindowRect(list, &lw);
    blGetButtonRect(list, 1, &button);
    POINT b = {button.left, 0};
    ClientToScreen(list, &b);
    EXPECT_EQ(b.x, w.left);
    EXPECT_EQ(lw.bottom, w.top);
    EXPECT_EQ(22 + 2, w.right - w.left);
    // Every button of the column fits in it.
    RECT last, client;
    blGetButtonRect(flyout, 4, &last);
    GetClientRect(flyout, &client);
    EXPECT_LE(last.bottom, client.bottom);

    // A click in the fly-out sends its command to the list's parent and
    // gives the parent the focus, which closes the fly-out.
    recorder().commands.clear();
    click(flyout, centre(flyout, 2));
    pump();
    got = buttonCommands();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(328u, got[0].wParam);
    EXPECT_FALSE(IsWindow(flyout));
    utFreeHandle(sub);
    DestroyWindow(list);
    pump();
    EXPECT_EQ(before, qmtest::liveHandles());
}

TEST_F(ButtonListPress, FlyOutBesideAColumnAndNoneForAnEmptySubList)
{
    MemHandle sub = tbMakeSubList(tbMoreObjectsTable, 3);
    MemHandle empty = tbMakeSubList(tbMoreObjectsTable, 0);
    ToolButton table[2];
    memcpy(table, tbModeToolTable, sizeof(table));
    table[0].handle = sub;
    table[1].handle = empty;
    HWND list = makeList(8, {0, 30, 30, 430}, 0xC000, table, 2, 24, 24);
    HWND flyout = blOpenFlyout(list, 0);
    ASSERT_TRUE(flyout);
    ButtonListRecord rec;
    ASSERT_TRUE(blGetRecord(flyout, &rec));
    EXPECT_EQ(BLS_FLYOUT | BLS_ROW, rec.style);
    RECT w, lw, button;
    GetWindowRect(flyout, &w);
    GetWindowRect(list, &lw);
    blGetButtonRect(list, 0, &button);
    POINT b = {0, button.top};
    ClientToScreen(list, &b);
    EXPECT_EQ(lw.right, w.left);
    EXPECT_EQ(b.y, w.top);
    EXPECT_EQ(3 * 24 + 2, w.right - w.left);
    EXPECT_EQ(24 + 2, w.bottom - w.top);
    // Losing the focus closes it.
    SetFocus(parent());
    pump();
    EXPECT_FALSE(IsWindow(flyout));

    EXPECT_EQ(nullptr, blOpenFlyout(list, 1));
    utFreeHandle(sub);
    utFreeHandle(empty);
}

class ButtonListDrag : public ButtonListPress {
protected:
    HWND list = nullptr;
    HWND workspace = nullptr;
    void SetUp() override
    {
        ButtonListPress::SetUp();
        ToolButton table[2];
        memcpy(table, tbDrawToolTable + 9, sizeof(table));   // Rectangle, Rounded Rectangle
        table[0].kind |= TBK_DRAG;
        list = makeList(2, {0, 0, 200, 24}, 0xC001, table, 2, 22, 22);
        workspace = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 100, 400, 200, parent(),
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        appSetActiveWorkspace(workspace);
        recorder().dropRect = {0, 0, 1440, 720};
    }
    void drag(POINT from, std::vector<POINT> moves)
    {
        PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at(from));
        for (POINT p : moves)
            PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, at(p));
        PostMessageA(list, WM_LBUTTONUP, 0, at(moves.back()));
        pump();
    }
};

TEST_F(ButtonListDrag, DroppedOnTheWorkspaceCreatesTheObjectThere)
{
    recorder().dropAnswer = 1;
    POINT from = centre(list, 0);
    drag(from, {{from.x + 5, from.y + 40}, {30, 150}});
    ASSERT_EQ(1u, commandsWith(BL_DROP_PREPARE).size());
    ASSERT_EQ(1u, commandsWith(BL_DROP_RECT).size());
    EXPECT_EQ(306, recorder().dropAskedFor);   // the block starts with the command id
    ASSERT_EQ(1u, commandsWith(BL_DROP_CREATE).size());
    EXPECT_EQ(306, recorder().dropCreatedFor);
    // The rectangle's upper left corner is at the pointer in the workspace.
    POINT p = {30, 150};
    ClientToScreen(list, &p);
    ScreenToClient(workspace, &p);
    EXPECT_EQ(p.x, recorder().dropCreatedAt.left);
    EXPECT_EQ(p.y, recorder().dropCreatedAt.top);
    EXPECT_EQ(1440, recorder().dropCreatedAt.right - recorder().dropCreatedAt.left);
    EXPECT_EQ(720, recorder().dropCreatedAt.bottom - recorder().dropCreatedAt.top);
    EXPECT_TRUE(buttonCommands().empty());   // no click
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(ButtonListDrag, RefusedPlacesCreateNothing)
{
    recorder().dropAnswer = 0;
    POINT from = centre(list, 0);
    drag(from, {{from.x, from.y + 60}, {40, 160}});
    EXPECT_FALSE(commandsWith(BL_DROP_ASK).empty());
    EXPECT_TRUE(commandsWith(BL_DROP_PREPARE).empty());
    EXPECT_TRUE(commandsWith(BL_DROP_CREATE).empty());
    EXPECT_TRUE(buttonCommands().empty());
}

TEST_F(ButtonListDrag, BackOnTheButtonCountsAsAClick)
{
    recorder().dropAnswer = 1;
    POINT from = centre(list, 0);
    drag(from, {{from.x, from.y + 60}, {from.x + 1, from.y}});
    EXPECT_TRUE(commandsWith(BL_DROP_CREATE).empty());
    std::vector<Command> got = buttonCommands();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(306u, got[0].wParam);
    EXPECT_EQ(0, blGetPressed(list));

    // A plain click does the same without asking the frame anything.
    recorder().commands.clear();
    click(list, from);
    PostMessageA(list, WM_TIMER, WIN_WAIT_CLICK_TIMER, 0);
    pump();
    EXPECT_TRUE(commandsWith(BL_DROP_ASK).empty());
    ASSERT_EQ(1u, buttonCommands().size());
}

class ButtonListTips : public ButtonListPress {
protected:
    struct TipEvent {
        BOOL shown;
        int x, y;
        std::string text;
    };
    static std::vector<TipEvent> &events()
    {
        static std::vector<TipEvent> e;
        return e;
    }
    static void onTip(BOOL shown, int x, int y, const char *text)
    {
        events().push_back({shown, x, y, text ? text : ""});
    }
    void SetUp() override
    {
        ButtonListPress::SetUp();
        events().clear();
        gdiSetTipBoxHook(onTip);
    }
    POINT tipAt(HWND list, int index, POINT pt)
    {
        RECT r;
        blGetButtonRect(list, index, &r);
        POINT at = blTipPosition(r, pt);
        ClientToScreen(list, &at);
        return at;
    }
};

TEST_F(ButtonListTips, ShownAfterOneTickOnTheSameButtonAndMovedAlong)
{
    HWND list = drawTools();
    POINT a = centre(list, 3), b = centre(list, 5);
    PostMessageA(list, WM_MOUSEMOVE, 0, at(a));
    pump();
    EXPECT_EQ(list, blGetHoverList());
    PostMessageA(list, WM_TIMER, BL_HOVER_TIMER, 0);
    PostMessageA(list, WM_MOUSEMOVE, 0, at(b));           // the tip follows at once
    PostMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(490, 12));   // off every button
    pump();
    ASSERT_EQ(4u, events().size());
    EXPECT_TRUE(events()[0].shown);
    EXPECT_EQ("Polyline", events()[0].text);
    EXPECT_EQ(tipAt(list, 3, a).x, events()[0].x);
    EXPECT_EQ(tipAt(list, 3, a).y, events()[0].y);
    EXPECT_FALSE(events()[1].shown);
    EXPECT_TRUE(events()[2].shown);
    EXPECT_EQ("Bezier Curve", events()[2].text);
    EXPECT_EQ(tipAt(list, 5, b).x, events()[2].x);
    EXPECT_FALSE(events()[3].shown);
    EXPECT_FALSE(gdiIsTipBoxShown());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(nullptr, blGetHoverList());
}

TEST_F(ButtonListTips, AButtonChangedBeforeTheTickWaitsAnotherTick)
{
    HWND list = drawTools();
    PostMessageA(list, WM_MOUSEMOVE, 0, at(centre(list, 3)));
    PostMessageA(list, WM_MOUSEMOVE, 0, at(centre(list, 4)));
    PostMessageA(list, WM_TIMER, BL_HOVER_TIMER, 0);
    pump();
    EXPECT_TRUE(events().empty());
    EXPECT_EQ(list, blGetHoverList());
    // The next tick on the same button shows it; a press ends it and is
    // handled as a press.
    PostMessageA(list, WM_TIMER, BL_HOVER_TIMER, 0);
    click(list, centre(list, 4));
    pump();
    ASSERT_EQ(2u, events().size());
    EXPECT_EQ("Bezier Section", events()[0].text);
    EXPECT_FALSE(events()[1].shown);
    ASSERT_EQ(1u, buttonCommands().size());
    EXPECT_EQ(344u, buttonCommands()[0].wParam);
}

TEST_F(ButtonListTips, NoWatchWithoutFocusOrActivationAndNoneOffTheButtons)
{
    HWND list = drawTools();
    PostMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(490, 12));
    pump();
    EXPECT_EQ(nullptr, blGetHoverList());
    HWND other = CreateWindowA("STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    appSetFrameWindow(nullptr);
    SetActiveWindow(other);
    SetFocus(other);
    PostMessageA(list, WM_MOUSEMOVE, 0, at(centre(list, 3)));
    pump();
    EXPECT_EQ(nullptr, blGetHoverList());
    DestroyWindow(other);
}

TEST_F(ButtonListTips, DestroyingTheWatchedListStopsTheWatch)
{
    HWND list = drawTools();
    PostMessageA(list, WM_MOUSEMOVE, 0, at(centre(list, 3)));
    pump();
    ASSERT_EQ(list, blGetHoverList());
    DestroyWindow(list);
    EXPECT_EQ(nullptr, blGetHoverList());
}
