// The whole-object commands (flags, delete, flip, group, composite) and the
// context and pop-up menus, on a real workspace of the program started
// in-process. Menus are read through the tracking hook, never shown.
#include "tests/app/app_fixture.h"
#include "tests/model/ob_kit.h"
#include "support/app_ui_state.h"
#include "commands/clip_formats.h"
#include "commands/cmd_frame.h"
#include "commands/cmd_object.h"
#include "commands/ep_select.h"
#include "commands/ms_select.h"
#include "commands/pop_menus.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_margins.h"
#include "support/win_menu.h"
#include "text/tx_flow.h"
#include "text/tx_format.h"
#include "text/tx_object.h"
#include "model/ws_document.h"
#include "app/ws_services.h"
#include "views/pv_page.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

using obtest::listOf;
using obtest::make;
using qmtest::BoxRecorder;

// The last tracked menu: each item's id, text (wide, for the Chinese
// menus) and whether it was greyed; and its owner.
struct MenuItem {
    UINT id;
    std::string text;
    std::vector<WCHAR> wide;
    bool grey;
    bool checked;
};
std::vector<MenuItem> g_items;
int g_tracked = 0;
HWND g_owner = nullptr;

UINT recordMenu(HMENU menu, UINT, int, int, HWND owner)
{
    ++g_tracked;
    g_owner = owner;
    g_items.clear();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MenuItem item;
        item.id = GetMenuItemID(menu, i);
        char text[128] = "";
        GetMenuStringA(menu, (UINT)i, text, sizeof text, MF_BYPOSITION);
        item.text = text;
        WCHAR w[128] = {};
        const int n = GetMenuStringW(menu, (UINT)i, w, 128, MF_BYPOSITION);
        item.wide.assign(w, w + (n > 0 ? n : 0));
        const UINT state = GetMenuState(menu, (UINT)i, MF_BYPOSITION);
        item.grey = (state & (MF_GRAYED | MF_DISABLED)) != 0;
        item.checked = (state & MF_CHECKED) != 0;
        g_items.push_back(item);
    }
    return 0;
}

class Commands : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    int language = appGetMenuLanguageId();

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        ASSERT_NE(0u, pvGetCurrentPage(ws));
        wsSetZoomPercent(ws, 100);
        epEnterSelectMode(ws, 0);
        pump();
        g_items.clear();
        g_tracked = 0;
        winSetTrackPopupHook(recordMenu);
    }
    void TearDown() override
    {
        winSetTrackPopupHook(nullptr);
        appSetMenuLanguageId(language);
        if (ws && IsWindow(ws))
            udDiscard(ws);
        App::TearDown();
    }

    MemHandle add(MemHandle h)
    {
        EXPECT_TRUE(wsAppendObject(ws, h));
        return h;
    }
    int command(int id, LPARAM lParam = 0)
    {
        int r = cmdObjectCommand(ws, wsGetCurrentObject(ws), id, lParam);
        pump();
        return r;
    }
    std::vector<MemHandle> membersOf(MemHandle g)
    {
        std::vector<MemHandle> out;
        for (MemHandle m = obGetFirstMember(g); m; m = obGetNextMember(m))
            out.push_back(m);
        return out;
    }
    const MenuItem *item(UINT id)
    {
        for (const MenuItem &i : g_items)
            if (i.id == id)
                return &i;
        return nullptr;
    }
    uint32_t pageFlags()
    {
        uint32_t f = 0;
        wsGetPageProp(ws, 45, &f);
        return f;
    }
};

// ---- flags, delete, flip ----------------------------------------------------------------------

TEST_F(Commands, LockTogglesTheWholeTreeOrThePageDefaultsWithoutASelection)
{
    MemHandle g = add(obNewGroup(OBT_GROUP, make(OBT_RECTANGLE, 0, 0, 500, 500),
                                 make(OBT_ELLIPSE, 600, 0, 900, 300), (MemHandle)0));
    epSelectObject(ws, g);
    const uint32_t page = pageFlags();
    ASSERT_EQ(1, command(419));
    EXPECT_TRUE(obGetFlags(g) & OBF_LOCKED);
    for (MemHandle m : membersOf(g))
        EXPECT_TRUE(obGetFlags(m) & OBF_LOCKED);
    EXPECT_EQ(page, pageFlags());
    ASSERT_EQ(1, command(419));
    EXPECT_FALSE(obGetFlags(g) & OBF_LOCKED);
    for (MemHandle m : membersOf(g))
        EXPECT_FALSE(obGetFlags(m) & OBF_LOCKED);
    // Nothing selected: only the page's default flags change.
    epSelectObject(ws, 0);
    ASSERT_EQ(1, command(419));
    EXPECT_EQ(page ^ OBF_LOCKED, pageFlags());
    EXPECT_FALSE(obGetFlags(g) & OBF_LOCKED);
    ASSERT_EQ(1, command(419));
    EXPECT_EQ(page, pageFlags());
    // Every display command names its bit.
    const struct {
        int id;
        uint32_t bit;
    } table[] = {{416, 0x08}, {417, 0x10}, {418, 0x04}, {419, 0x80},
                 {740, 0x20}, {742, 0x200}, {743, 0x100}, {840, 0x400}};
    for (auto &row : table)
        EXPECT_EQ(row.bit, cmdFlagOfCommand(row.id)) << row.id;
    EXPECT_EQ(0u, cmdFlagOfCommand(420));
}

TEST_F(Commands, DeleteThenUndoRestoresTheObject)
{
    MemHandle a = add(make(OBT_RECTANGLE, 0, 0, 500, 500));
    MemHandle b = add(make(OBT_ELLIPSE, 1000, 0, 1500, 500));
    epSelectObject(ws, a);
    ASSERT_EQ(1, command(205));
    std::vector<MemHandle> left = listOf(wsGetFirstObject(ws));
    ASSERT_EQ(1u, left.size());
    EXPECT_EQ(b, left[0]);
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
    EXPECT_TRUE(udIsPending(ws));
    ASSERT_EQ(1, command(200));
    std::vector<MemHandle> back = listOf(wsGetFirstObject(ws));
    ASSERT_EQ(2u, back.size());
    int rects = 0;
    for (MemHandle h : back)
        rects += obGetType(h) == OBT_RECTANGLE;
    EXPECT_EQ(1, rects);
    // A locked object is not deleted.
    obSetFlags(b, OBF_LOCKED, TRUE);
    epSelectObject(ws, b);
    EXPECT_EQ(0, command(205));
    EXPECT_EQ(2u, listOf(wsGetFirstObject(ws)).size());
}

TEST_F(Commands, FlipMirrorsTheTypesThatCanBeFlippedAndRefusesACircle)
{
    MemHandle circle = add(make(OBT_CIRCLE, 0, 0, 500, 500));
    epSelectObject(ws, circle);
    EXPECT_EQ(0, command(256));
    EXPECT_EQ(0, command(257));
    EXPECT_FALSE(udIsPending(ws));
    EXPECT_FALSE(cmdCanFlipType(OBT_CIRCLE));
    for (int16_t t : {2, 8, 10, 15, 17, 19, 26, 36, 60, 80, 84, 402, 500})
        EXPECT_TRUE(cmdCanFlipType(t)) << t;
    for (int16_t t : {9, 16, 20, 40, 45, 138})
        EXPECT_FALSE(cmdCanFlipType(t)) << t;
    // A group flips about its centre: its members change sides.
    MemHandle left = make(OBT_RECTANGLE, 1000, 1000, 1500, 1500);
    MemHandle right = make(OBT_ELLIPSE, 2500, 1000, 3000, 1500);
    MemHandle g = add(obNewGroup(OBT_GROUP, left, right, (MemHandle)0));
    epSelectObject(ws, g);
    ASSERT_EQ(1, command(256));
    RECT l, r;
    obGetRect(left, &l);
    obGetRect(right, &r);
    EXPECT_EQ(2500, l.left);
    EXPECT_EQ(1000, r.left);
    EXPECT_EQ(UD_COPY, [&] { UndoRecord u = {}; wsGetUndo(ws, &u); return u.kind; }());
}

// ---- group and composite ------------------------------------------------------------------

TEST_F(Commands, GroupMakesAChainAGroupThatOutlivesTheSelection)
{
    MemHandle objs[3] = {add(make(OBT_RECTANGLE, 0, 0, 500, 500)),
                         add(make(OBT_ELLIPSE, 1000, 0, 1500, 500)),
                         add(make(OBT_RECTANGLE, 2000, 0, 2500, 500))};
    // A plain object beeps.
    epSelectObject(ws, objs[0]);
    EXPECT_EQ(0, command(403));
    EXPECT_EQ(OBT_RECTANGLE, obGetType(objs[0]));
    MemHandle chain = msBuildChain(ws, objs, 3);
    ASSERT_NE(0u, chain);
    epSelectObject(ws, chain);
    ASSERT_EQ(1, command(403));
    EXPECT_EQ(OBT_GROUP, obGetType(chain));
    EXPECT_EQ(chain, wsGetCurrentObject(ws));
    epSelectObject(ws, 0);
    pump();
    std::vector<MemHandle> page = listOf(wsGetFirstObject(ws));
    ASSERT_EQ(1u, page.size());
    EXPECT_EQ(OBT_GROUP, obGetType(page[0]));
    EXPECT_EQ(3u, membersOf(page[0]).size());
    // Ungroup gives the members back to the page.
    epSelectObject(ws, page[0]);
    ASSERT_EQ(1, command(405));
    EXPECT_EQ(3u, listOf(wsGetFirstObject(ws)).size());
}

TEST_F(Commands, CompositeIsRefusedForChainsReportsAndOutsideSelectMode)
{
    MemHandle objs[2] = {add(make(OBT_RECTANGLE, 0, 0, 500, 500)),
                         add(make(OBT_ELLIPSE, 1000, 0, 1500, 500))};
    MemHandle chain = msBuildChain(ws, objs, 2);
    ASSERT_NE(0u, chain);
    epSelectObject(ws, chain);
    {
        BoxRecorder boxes;
        EXPECT_EQ(0, command(404));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Can not make composite object from chain object.  Must group it first",
                  boxes.last().text);
    }
    MemHandle report = make(OBT_REPORT, 0, 2000, 1000, 3000);
    {
        BoxRecorder boxes;
        EXPECT_EQ(0, cmdComposite(ws, report));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Can not use a report table object to create a composite object",
                  boxes.last().text);
    }
    obFreeTree(report);
    MemHandle box = make(OBT_RECTANGLE, 0, 2000, 1000, 3000);
    wsSetToolModeWord(ws, TM_CREATE);
    {
        BoxRecorder boxes;
        EXPECT_EQ(0, cmdComposite(ws, box));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("The command is effective only in select mode", boxes.last().text);
    }
    wsSetToolModeWord(ws, TM_SELECT);
    obFreeTree(box);
}

// ---- menus ------------------------------------------------------------------------------------

TEST_F(Commands, TextMenuGreysThePageBottomItemsInsideTheMarginAndUndoWithoutAStep)
{
    RECT m;
    pgGetMarginRect(pvGetCurrentPage(ws), &m);
    RECT inside = {m.left + 200, m.top + 200, m.left + 3000, m.top + 1000};
    MemHandle t = add(clipMakeTextObject(ws, "Inside", TXK_PLAIN, &inside));
    epSelectObject(ws, t);
    udDiscard(ws);
    popObjectMenu(ws, MAKELPARAM(10, 10), POP_TEXT);
    ASSERT_EQ(1, g_tracked);
    EXPECT_EQ(ws, g_owner);
    ASSERT_GE(g_items.size(), 13u);
    EXPECT_EQ("&Undo", g_items[0].text);
    EXPECT_TRUE(g_items[0].grey);
    EXPECT_EQ("&Reset to Uniform Font", g_items[6].text);
    EXPECT_TRUE(g_items[6].grey) << "no font code in the text";
    EXPECT_EQ("Flow to Next Page", g_items[8].text);
    EXPECT_EQ("Cut at Page Bottom", g_items[9].text);
    EXPECT_TRUE(g_items[8].grey);
    EXPECT_TRUE(g_items[9].grey);
    EXPECT_FALSE(g_items[2].grey);

    // A text running below the margin, holding a font code, with a step
    // pending: all enabled.
    CharFormat plain = {}, bold = {};
    plain.lf.lfWeight = FW_NORMAL;
    bold.lf.lfWeight = FW_BOLD;
    char codes[256] = {};
    const int32_t n = txEncodeFormatChange(codes, &plain, &bold);
    ASSERT_GT(n, 0);
    const std::string stream = std::string(codes, (size_t)n) + "Bold\rlines\rrunning\rbelow\rthe\rmargin";
    RECT low = {m.left + 200, m.bottom - 300, m.left + 3000, m.bottom + 600};
    MemHandle t2 = add(clipMakeTextObject(ws, stream.c_str(), TXK_CODED, &low));
    ASSERT_TRUE(txHasFontCodes(t2));
    RECT r;
    obGetRect(t2, &r);
    ASSERT_GT(r.bottom, m.bottom);
    epSelectObject(ws, t2);
    udRecordCopy(ws, t2);
    popObjectMenu(ws, MAKELPARAM(10, 10), POP_TEXT);
    ASSERT_EQ(2, g_tracked);
    for (int i : {0, 6, 8, 9})
        EXPECT_FALSE(g_items[(size_t)i].grey) << i;
}

TEST_F(Commands, EveryObjectMenuGreysUndoWithNothingPending)
{
    udDiscard(ws);
    for (int position = 0; position < POP_OBJECT_MENUS; ++position) {
        SCOPED_TRACE(position);
        popObjectMenu(ws, MAKELPARAM(5, 5), position);
        ASSERT_FALSE(g_items.empty());
        EXPECT_EQ(200u, g_items[0].id);
        EXPECT_TRUE(g_items[0].grey);
        ASSERT_GE((int)g_items.size(), popAdjustedCount(position));
        for (int i = 1; i < popAdjustedCount(position); ++i)
            if (g_items[(size_t)i].id != 0 && position != POP_TEXT)
                EXPECT_FALSE(g_items[(size_t)i].grey) << i;
    }
    EXPECT_EQ(POP_OBJECT_MENUS, g_tracked);
}

TEST_F(Commands, MenuLanguageTwoTakesTheTraditionalChineseMenus)
{
    static const WCHAR undo[] = {0x5FA9, 0x539F, '(', '&', 'U', ')', 0};
    appSetMenuLanguageId(APP_MENU_LANGUAGE_TAIWAN);
    EXPECT_STREQ("r_click_Taiwan", popMenuName("r_click"));
    popObjectMenu(ws, MAKELPARAM(5, 5), POP_OBJECT);
    ASSERT_FALSE(g_items.empty());
    EXPECT_EQ(200u, g_items[0].id);
    EXPECT_EQ(std::vector<WCHAR>(undo, undo + 6), g_items[0].wide);
    popScrollMenu(ws, MAKELPARAM(5, 5));
    ASSERT_FALSE(g_items.empty());
    EXPECT_EQ(1226u, g_items[0].id);
    EXPECT_NE("&Single Page", g_items[0].text);
    appSetMenuLanguageId(1);
    EXPECT_STREQ("r_click", popMenuName("r_click"));
    popScrollMenu(ws, MAKELPARAM(5, 5));
    EXPECT_EQ("&Single Page", g_items[0].text);
}

TEST_F(Commands, FillMenuOfACompositeShowsItsOutlineShapesFillKind)
{
    MemHandle comp = obNewGroup(OBT_COMPOSITE, make(OBT_RECTANGLE, 0, 0, 300, 300), (MemHandle)0);
    MemHandle shape = make(OBT_DIAMOND, 0, 0, 600, 600);
    obSetFillKind(shape, 2);
    obSetAttached(comp, shape);
    add(comp);
    epSelectObject(ws, comp);
    appSetActiveWorkspace(ws);
    popButtonMenu(frame, ws, 530, MAKELPARAM(20, 20));
    ASSERT_EQ(1, g_tracked);
    EXPECT_EQ(frame, g_owner);
    ASSERT_GE(g_items.size(), 5u);
    EXPECT_EQ(531u, g_items[0].id);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(i == 2, g_items[(size_t)i].checked) << i;
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(g_items[(size_t)i].grey) << i;
    // A line takes Hollow only; nothing selected shows the page's default.
    MemHandle line = add(make(OBT_LINE, 0, 2000, 1000, 2000));
    epSelectObject(ws, line);
    popButtonMenu(frame, ws, 530, MAKELPARAM(20, 20));
    EXPECT_FALSE(g_items[0].grey);
    for (int i = 1; i < 5; ++i)
        EXPECT_TRUE(g_items[(size_t)i].grey) << i;
    epSelectObject(ws, 0);
    uint8_t fill = 1;
    wsSetPageProp(ws, 44, &fill);
    popButtonMenu(frame, ws, 530, MAKELPARAM(20, 20));
    EXPECT_TRUE(g_items[1].checked);
    EXPECT_FALSE(g_items[0].checked);
}

TEST_F(Commands, ButtonsOpenTheirTableMenus)
{
    const struct {
        int button;
        UINT first;
        size_t count;
    } cases[] = {{744, 416, 5}, {217, 213, 2}, {1390, 319, 4}, {333, 1362, 3},
                 {334, 1367, 3}, {339, 1372, 3}, {1377, 1378, 3}, {307, 1380, 3},
                 {191, 181, 14}, {450, 451, 6}, {1225, 1226, 4}};
    for (auto &k : cases) {
        SCOPED_TRACE(k.button);
        g_items.clear();
        popButtonMenu(frame, ws, k.button, MAKELPARAM(30, 30));
        ASSERT_FALSE(g_items.empty());
        EXPECT_EQ(k.first, g_items[0].id);
        EXPECT_EQ(k.count, g_items.size());
    }
}

}  // namespace
