// Menu states as the frame's pop-ups open (WM_INITMENUPOPUP on the real
// English menu) and the menu language switch.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "app/app_menu_state.h"
#include "app/app_start.h"
#include "support/app_ui_state.h"
#include "support/settings_reg.h"
#include "commands/ws_objects.h"
#include "model/ob_record.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include "support/app_ui_state.h"
#include "app/mb_msgbar.h"
#include "model/pg_record.h"
#include "text/tx_header.h"
#include "text/tx_object.h"
#include "textedit/te_session.h"
#include "support/win_menu.h"
#include <string>
#include <vector>

namespace {

// The pop-up of a menu (searched through its sub-menus) whose first item
// has the id.
HMENU popupByFirst(HMENU menu, UINT first)
{
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (!sub)
            continue;
        if (GetMenuItemID(sub, 0) == first)
            return sub;
        if (HMENU inner = popupByFirst(sub, first))
            return inner;
    }
    return nullptr;
}

bool greyed(HMENU popup, int position)
{
    return (GetMenuState(popup, (UINT)position, MF_BYPOSITION) & MF_GRAYED) != 0;
}

// "1" enabled, "0" greyed, "-" separator, one character per position.
// (GetMenuState gives a sub-menu's item count in its high byte, which can
// look like MF_SEPARATOR: the item's type tells.)
std::string states(HMENU popup)
{
    std::string s;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        GetMenuItemInfoA(popup, (UINT)i, TRUE, &info);
        s += (info.fType & MFT_SEPARATOR) ? '-' : (info.fState & MFS_GRAYED) ? '0' : '1';
    }
    return s;
}

std::string itemText(HMENU popup, UINT id)
{
    char text[64] = "";
    GetMenuStringA(popup, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

bool checked(HMENU popup, UINT id)
{
    return (GetMenuState(popup, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void setType(MemHandle object, int16_t type)
{
    MemLock<ObjectRecord> rec(object);
    rec->type = type;
}

// The title of the File pop-up in the menu bar (a maximised document
// window puts its own system-menu item before it).
std::vector<WCHAR> fileTitle(HMENU bar)
{
    std::vector<WCHAR> text(64, 0);
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        HMENU sub = GetSubMenu(bar, i);
        if (sub && GetMenuItemID(sub, 0) == 100) {
            GetMenuStringW(bar, (UINT)i, text.data(), 64, MF_BYPOSITION);
            break;
        }
    }
    return text;
}

bool eastAsian(const std::vector<WCHAR> &text)
{
    for (WCHAR c : text)
        if (c >= 0x2E80)
            return true;
    return false;
}

class MenuState : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    MemHandle page = 0;

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        page = pvGetCurrentPage(ws);
        ASSERT_NE(0u, page);
        wsSetToolModeWord(ws, TM_SELECT);
    }
    void TearDown() override
    {
        if (ws && IsWindow(ws))
            wsSetCurrentObject(ws, 0);
        App::TearDown();
        dwResetModule();
    }
    // The document window closed without saving; no workspace then.
    void closeDocument()
    {
        qmtest::BoxRecorder boxes;
        boxes.answer(IDNO);
        SendMessageA(doc, WM_CLOSE, 0, 0);
        pump();
        ws = nullptr;
    }
    // The pop-up as the user opens it.
    HMENU open(UINT first)
    {
        HMENU popup = popupByFirst(GetMenu(frame), first);
        EXPECT_NE(nullptr, popup) << first;
        if (popup)
            SendMessageA(frame, WM_INITMENUPOPUP, (WPARAM)popup, MAKELPARAM(0, 0));
        return popup;
    }
    MemHandle current(MemHandle object, int16_t type)
    {
        setType(object, type);
        wsSetCurrentObject(ws, object);
        wsSetCurrentType(ws, type);
        return object;
    }
};

TEST_F(MenuState, EditOnAnEmptyPageGreysSelectAllAndUndoFollowsThePendingStep)
{
    HMENU edit = open(200);
    ASSERT_TRUE(edit);
    EXPECT_EQ("0-000-00-00-1", states(edit)) << "nothing selected, nothing to undo";

    MemHandle a = pgtest::addObject(page, "a");
    current(a, OBT_RECTANGLE);
    UndoRecord undo = {};
    undo.object = a;
    undo.kind = 5;
    wsPutUndo(ws, &undo);
    open(200);
    EXPECT_FALSE(greyed(edit, 0)) << "Undo with a pending step";
    for (int pos : {2, 3, 6, 9})
        EXPECT_FALSE(greyed(edit, pos)) << pos;
    EXPECT_TRUE(greyed(edit, 7)) << "Insert";
    EXPECT_FALSE(greyed(edit, 10)) << "Clone with an object";
    wsFreeUndo(ws);

    // Create mode: Select All needs select mode.
    wsSetToolModeWord(ws, TM_CREATE);
    open(200);
    EXPECT_TRUE(greyed(edit, 9));
    // Gradient editing greys everything.
    wsSetToolModeWord(ws, TM_GRADIENT);
    open(200);
    EXPECT_EQ("0-000-00-00-1", states(edit));
}

TEST_F(MenuState, ModifyRenamesUngroupForAChainAndAGroup)
{
    MemHandle a = pgtest::addObject(page, "a");
    pgtest::addObject(page, "b");
    current(a, 84);
    HMENU modify = open(403);
    ASSERT_TRUE(modify);
    EXPECT_EQ("&Unchain", itemText(modify, 405));
    EXPECT_FALSE(greyed(modify, 0)) << "Group for a chain";
    EXPECT_FALSE(greyed(modify, 1));
    current(a, 80);
    open(403);
    EXPECT_EQ("&Ungroup", itemText(modify, 405));
    EXPECT_TRUE(greyed(modify, 0)) << "Group only for a chain";
    EXPECT_FALSE(greyed(modify, 1));
    current(a, OBT_RECTANGLE);
    open(403);
    EXPECT_TRUE(greyed(modify, 1));
    EXPECT_FALSE(greyed(modify, 2)) << "Composite with an object";
    EXPECT_FALSE(greyed(modify, 4)) << "Snap To Page";
    EXPECT_FALSE(greyed(modify, 8)) << "Order with two objects";
    // Without a current object only Go To, Order and Flip can be enabled.
    wsSetCurrentObject(ws, 0);
    open(403);
    EXPECT_EQ("000-00-1100000000", states(modify));
}

// Items greyed exactly where their command would do nothing: Export >
// Object without a current object, Flip for a type that cannot be flipped,
// the Win menu and Create New Page without a document.
TEST_F(MenuState, ItemsThatWouldDoNothingAreGreyed)
{
    MemHandle a = pgtest::addObject(page, "a");
    pgtest::addObject(page, "b");
    HMENU exports = open(1160);
    ASSERT_TRUE(exports);
    EXPECT_EQ("011", states(exports)) << "Object needs a current object";
    current(a, OBT_RECTANGLE);
    open(1160);
    EXPECT_EQ("111", states(exports));

    HMENU modify = open(403);
    EXPECT_FALSE(greyed(modify, 9)) << "a rectangle flips";
    current(a, OBT_TEXT);
    open(403);
    EXPECT_TRUE(greyed(modify, 9)) << "a text does not";
    wsSetCurrentObject(ws, 0);

    HMENU win = open(2000);
    ASSERT_TRUE(win);
    EXPECT_EQ("1111", states(win).substr(0, 4)) << "then the MDI client's list of windows";
    closeDocument();
    ASSERT_EQ(0, docCount());
    open(2000);
    EXPECT_EQ("0000", states(win).substr(0, 4)) << "nothing to tile, cascade, arrange or close";
    HMENU newPage = open(615);
    ASSERT_TRUE(newPage);
    EXPECT_EQ("000", states(newPage));
}

TEST_F(MenuState, AMinimisedDocumentGreysTheObjectMenus)
{
    MemHandle a = pgtest::addObject(page, "a");
    current(a, OBT_RECTANGLE);
    ShowWindow(doc, SW_MINIMIZE);
    pump();
    for (UINT first : {501u, 403u, 460u, 464u, 200u}) {
        HMENU popup = open(first);
        ASSERT_TRUE(popup);
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            if (!(GetMenuState(popup, (UINT)i, MF_BYPOSITION) & MF_SEPARATOR)) {
                EXPECT_TRUE(greyed(popup, i)) << first << " position " << i;
            }
        }
    }
    ShowWindow(doc, SW_RESTORE);
}

TEST_F(MenuState, FileWithoutADocumentGreysItsDocumentItems)
{
    HMENU file = open(100);
    ASSERT_TRUE(file);
    EXPECT_FALSE(greyed(file, 13)) << "Print with a document";
    closeDocument();
    ASSERT_EQ(0, docCount());
    open(100);
    for (int pos = 0; pos < GetMenuItemCount(file); ++pos) {
        if (GetMenuState(file, (UINT)pos, MF_BYPOSITION) & MF_SEPARATOR)
            continue;
        const bool expectGrey = (pos >= 2 && pos <= 11) || pos == 13 || pos == 14;
        EXPECT_EQ(expectGrey, greyed(file, pos)) << pos;
    }
}

TEST_F(MenuState, AttributeRulesByObjectType)
{
    MemHandle a = pgtest::addObject(page, "a");
    struct Case {
        int16_t type;
        const char *states;   // positions 0 to 11
    } cases[] = {
        // Pattern (0), Ends (4) and Information (11) wait for their
        // dialogs: greyed whatever the object.
        {OBT_RECTANGLE, "01-10-01-110"},   // Bitmap and Ends greyed
        {2, "00-10-01-110"},               // a line: Pattern, Gradient and Bitmap
        {12, "00-10-01-110"},              // an arc: also Ends
        {40, "00-00-01-110"},              // text
        {60, "00-00-10-110"},              // a bitmap: only Bitmap, Display, Name, Information
        {78, "00-00-11-110"},              // an image frame: also Make Bitmap
    };
    HMENU attribute = nullptr;
    for (const Case &c : cases) {
        current(a, c.type);
        attribute = open(501);
        ASSERT_TRUE(attribute);
        EXPECT_EQ(c.states, states(attribute)) << c.type;
    }
    wsSetToolModeWord(ws, TM_TEXT);
    open(501);
    EXPECT_EQ("00-00-00-000", states(attribute)) << "outside select and create mode";
}

TEST_F(MenuState, OrderZoomAndPageRules)
{
    MemHandle a = pgtest::addObject(page, "a");
    MemHandle b = pgtest::addObject(page, "b");
    current(a, OBT_RECTANGLE);
    HMENU order = open(406);
    ASSERT_TRUE(order);
    EXPECT_EQ("0011-1", states(order)) << "the first object cannot go further back";
    current(b, OBT_RECTANGLE);
    open(406);
    EXPECT_EQ("1100-1", states(order)) << "the last cannot come further forward";

    wsSetZoomCode(ws, -100);
    HMENU view = open(181);
    ASSERT_TRUE(view);
    EXPECT_TRUE(checked(view, 189));
    EXPECT_FALSE(checked(view, 185));
    wsSetZoomCode(ws, -1);
    open(181);
    EXPECT_TRUE(checked(view, 185));
    EXPECT_FALSE(checked(view, 189));

    HMENU pages = open(601);
    ASSERT_TRUE(pages);
    ASSERT_EQ(1, pvGetPageCount(ws));
    // Object Shadow (3) waits for the shadow dialog.
    EXPECT_EQ("1110-1100-00", states(pages)) << "Delete, Shuffle, Go To and Select greyed";
    pgDirAppend(wsGetDocument(ws), pgtest::newPage("two"));
    open(601);
    EXPECT_EQ("1110-1111-11", states(pages));
}

TEST_F(MenuState, MenuLanguageIsKeptAndEveryVariantKeepsTheIds)
{
    HMENU english = GetMenu(frame);
    const int top = GetMenuItemCount(english);
    auto idsOf = [](HMENU menu) {
        std::vector<UINT> out;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            HMENU sub = GetSubMenu(menu, i);
            for (int j = 0; sub && j < GetMenuItemCount(sub); ++j)
                out.push_back(GetMenuItemID(sub, j));
            out.push_back(0xFFFF);
        }
        return out;
    };
    const std::vector<UINT> want = idsOf(english);
    struct Case {
        int command;
        const char *name;
        DWORD id;
    } cases[] = {{1920, "QM_TAIWAN", 2}, {1921, "QM_CHINESE_SIMPLIFIED", 3},
                 {1923, "QM_JAPANESE", 4}, {1924, "QM_KOREAN", 5}, {1919, "ridevi", 1}};
    for (const Case &c : cases) {
        SendMessageA(frame, WM_COMMAND, (WPARAM)c.command, 0);
        pump();
        HMENU menu = GetMenu(frame);
        ASSERT_NE(nullptr, menu) << c.name;
        char name[260] = "";
        setGetString("MenuLanguage", name);
        EXPECT_STREQ(c.name, name);
        EXPECT_EQ(c.id, setGetNumber("MenuLanguage_id"));
        EXPECT_EQ(top, GetMenuItemCount(menu)) << c.name;
        EXPECT_EQ(want, idsOf(menu)) << c.name;
        const std::vector<WCHAR> title = fileTitle(menu);
        EXPECT_NE(0, title[0]) << c.name;
        EXPECT_EQ(c.id != 1, eastAsian(title)) << c.name;
    }
}

TEST_F(MenuState, TheNextStartUsesTheChosenLanguage)
{
    SendMessageA(frame, WM_COMMAND, 1924, 0);
    pump();
    // The start registers the frame class with the remembered menu; a
    // frame of that class has the Korean menu from its creation on.
    char name[260] = "";
    ASSERT_NE(nullptr, appGetMenuLanguageName(name));
    EXPECT_STREQ("QM_KOREAN", name);
    const char kClass[] = "qm_menu_language_t";
    ASSERT_NE(0, appRegisterFrameClass(inst, kClass, name, DefWindowProcA));
    HWND next = CreateWindowA(kClass, "next start", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                              nullptr, inst, nullptr);
    ASSERT_NE(nullptr, next);
    const std::vector<WCHAR> title = fileTitle(GetMenu(next));
    EXPECT_EQ(0xD30C, title[0]) << "the Korean menu from the first frame on";
    DestroyWindow(next);
    UnregisterClassA(kClass, inst);
    SendMessageA(frame, WM_COMMAND, 1919, 0);
    pump();
    appGetMenuLanguageName(name);
    EXPECT_STREQ("ridevi", name);
}

// A text object on the page with a header the test shapes.
MemHandle addText(MemHandle page, void (*shape)(TextHeader *))
{
    TextHeader h = {};
    h.lf.lfHeight = -240;
    h.lf.lfWeight = 400;
    strcpy(h.lf.lfFaceName, "Arial");
    shape(&h);
    const RECT box = {0, 0, 1440, 720};
    const COLORREF colours[3] = {0, 0, 0xFFFFFF};
    MemHandle t = txNewTextObject(&box, colours, &h, "text");
    EXPECT_NE(0u, t);
    pgAppendObject(page, t);
    return t;
}

// A pop-up of its own whose items have the ids given.
HMENU popupOf(std::initializer_list<UINT> ids)
{
    HMENU m = CreatePopupMenu();
    for (UINT id : ids)
        AppendMenuA(m, MF_STRING, id, "item");
    return m;
}

TEST_F(MenuState, TextOptionsDisplayFlagsAndSnapToRulers)
{
    MemHandle t = addText(page, [](TextHeader *h) {
        h->bkMode = 2;
        h->flags = TXF_WRAP | TXF_VERTICAL;
        h->frameStyle = 1;
        h->align = TXA_RIGHT;
        h->lf.lfWeight = 700;
        h->lf.lfItalic = 1;
    });
    current(t, 40);
    HMENU option = open(475);
    ASSERT_TRUE(option);
    for (UINT id : {475u, 491u, 474u})
        EXPECT_TRUE(checked(option, id)) << id;
    EXPECT_EQ("&Convert to Horizontal", itemText(option, 2226)) << "vertical text";
    // The text's style and alignment in the Text and Paragraph pop-ups.
    HMENU text = open(460);
    EXPECT_TRUE(checked(text, 463));
    EXPECT_TRUE(checked(text, 461));
    EXPECT_FALSE(checked(text, 462));
    EXPECT_FALSE(checked(text, 468)) << "Indent is no style";
    HMENU paragraph = open(464);
    EXPECT_TRUE(checked(paragraph, 466));
    EXPECT_FALSE(checked(paragraph, 464));

    MemHandle plain = addText(page, [](TextHeader *) {});
    current(plain, 40);
    open(475);
    for (UINT id : {475u, 491u, 474u})
        EXPECT_FALSE(checked(option, id)) << id;
    EXPECT_EQ("&Convert to Vertical", itemText(option, 2226));
    // In Traditional Chinese the item keeps its language.
    SendMessageA(frame, WM_COMMAND, 1920, 0);
    pump();
    option = open(475);
    WCHAR wide[64] = {};
    GetMenuStringW(option, 2226, wide, 64, MF_BYCOMMAND);
    EXPECT_EQ(0x8F49, wide[0]);
    EXPECT_EQ(0x76F4, wide[3]) << "to vertical";
    SendMessageA(frame, WM_COMMAND, 1919, 0);
    pump();

    // Display: Transparent (0x10) and No Print (0x4) beside the others.
    MemHandle a = pgtest::addObject(page, "a");
    current(a, OBT_RECTANGLE);
    obSetFlags(a, OBF_NOTXOR | OBF_LEAVE_OUT, TRUE);
    HMENU display = open(416);
    ASSERT_TRUE(display);
    EXPECT_TRUE(checked(display, 417));
    EXPECT_TRUE(checked(display, 418));
    EXPECT_FALSE(checked(display, 416));
    obSetFlags(a, OBF_NOTXOR | OBF_LEAVE_OUT, FALSE);
    open(416);
    EXPECT_FALSE(checked(display, 417));
    EXPECT_FALSE(checked(display, 418));

    HMENU preference = open(608);
    ASSERT_TRUE(preference);
    wsSetSnapToRulers(ws, TRUE);
    open(608);
    EXPECT_TRUE(checked(preference, 608));
    wsSetSnapToRulers(ws, FALSE);
    open(608);
    EXPECT_FALSE(checked(preference, 608));
}

TEST_F(MenuState, HatchItemsAndTheSearchPopup)
{
    HMENU hatch = popupOf({535, 536, 537, 538, 539, 540});
    MemHandle a = pgtest::addObject(page, "a");
    current(a, OBT_RECTANGLE);
    {
        MemLock<ObjectRecord> rec(a);
        rec->fillKind = 4;
        rec->hatch = 0x33;   // style 3, 3 points apart
    }
    SendMessageA(frame, WM_INITMENUPOPUP, (WPARAM)hatch, 0);
    for (UINT id = 535; id <= 540; ++id) {
        EXPECT_EQ(id == 538, checked(hatch, id)) << id;
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoA(hatch, id, FALSE, &info));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << id;
    }
    // Without a hatched object, the page's default hatch.
    wsSetCurrentObject(ws, 0);
    const uint8_t pageHatch = 0x15;
    ASSERT_TRUE(pgSetProp(page, 58, &pageHatch));
    SendMessageA(frame, WM_INITMENUPOPUP, (WPARAM)hatch, 0);
    for (UINT id = 535; id <= 540; ++id)
        EXPECT_EQ(id == 540, checked(hatch, id)) << id;
    DestroyMenu(hatch);

    HMENU search = popupOf({730, 731, 732});
    SendMessageA(frame, WM_INITMENUPOPUP, (WPARAM)search, 0);
    EXPECT_EQ("100", states(search)) << "a document without links";
    {
        FmLock r(wsGetDocument(ws));
        r->resourceWord = 1;
    }
    SendMessageA(frame, WM_INITMENUPOPUP, (WPARAM)search, 0);
    EXPECT_EQ("110", states(search)) << "the object search waits for its dialog";
    DestroyMenu(search);
}

// The editors' rules: the text editor (20), a note (25), node editing (40,
// 41) and the brush line tool (47).
TEST_F(MenuState, EditorsKeepTheirOwnRules)
{
    MemHandle a = pgtest::addObject(page, "a");
    pgtest::addObject(page, "b");
    current(a, OBT_RECTANGLE);
    HMENU edit = open(200);
    ASSERT_TRUE(edit);

    wsSetToolModeWord(ws, TM_TEXT);
    open(200);
    EXPECT_EQ("0-000-01-10-1", states(edit)) << "no selection, nothing to undo or paste";
    EXPECT_EQ("&Insert Image...", itemText(edit, 206));
    HMENU text = open(460);
    for (int pos : {2, 5, 6, 7, 8, 9, 18, 20})
        EXPECT_FALSE(greyed(text, pos)) << pos;
    // Font, Size and Spell Check wait for their dialogs in the editor too.
    for (int pos : {0, 1, 19})
        EXPECT_TRUE(greyed(text, pos)) << pos;

    wsSetToolModeWord(ws, TM_SELECT);
    open(200);
    EXPECT_EQ("&Insert", itemText(edit, 206)) << "its own name again";

    wsSetToolModeWord(ws, TM_NOTE);
    HMENU modify = open(403);
    EXPECT_EQ("000-00-0000000000", states(modify));
    HMENU attribute = open(501);
    EXPECT_EQ("00-00-00-000", states(attribute));

    wsSetToolModeWord(ws, TM_NODE);
    open(200);
    EXPECT_EQ("0-000-01-10-1", states(edit)) << "Delete needs deletable nodes";
    open(501);
    EXPECT_EQ("00-00-00-000", states(attribute));
    wsSetToolModeWord(ws, TM_NODE_41);
    open(200);
    EXPECT_EQ("0-000-00-00-0", states(edit));

    wsSetToolModeWord(ws, TM_BRUSH);
    open(200);
    EXPECT_EQ("0-000-00-00", states(edit).substr(0, 11)) << "no current stroke";
    wsSetToolModeWord(ws, TM_SELECT);
}

// A pop-up of the frame's menu tracked through the program's tracking
// helper: the hook, like the system's tracking, lets the owner set the
// states first, keeps them and chooses an item.
std::string &trackedStates()
{
    static std::string s;
    return s;
}

UINT trackEditMenu(HMENU menu, UINT, int, int, HWND owner)
{
    SendMessageA(owner, WM_INITMENUPOPUP, (WPARAM)menu, 0);
    trackedStates() = states(menu);
    return (GetMenuState(menu, 215, MF_BYCOMMAND) & MF_GRAYED) ? 0 : 215;
}

TEST_F(MenuState, APopupTrackedFromTheFrameGetsItsStates)
{
    winSetTrackPopupHook(trackEditMenu);
    HMENU edit = popupByFirst(GetMenu(frame), 200);
    ASSERT_TRUE(edit);
    EXPECT_EQ(0u, winTrackPopup(edit, 0, 0, 0, frame)) << "nothing to select";
    EXPECT_EQ("0-000-00-00-1", trackedStates());
    MemHandle a = pgtest::addObject(page, "a");
    pgtest::addObject(page, "b");
    current(a, OBT_RECTANGLE);
    EXPECT_EQ(215u, winTrackPopup(edit, 0, 0, 0, frame));
    EXPECT_EQ("0-110-10-11-1", trackedStates()) << "Clone with an object";
    // The chosen item goes to the frame as its command.
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, frame, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(215u, LOWORD(msg.wParam));
    winSetTrackPopupHook(nullptr);
}

TEST_F(MenuState, TheStateCellShowsOverwrite)
{
    MemHandle t = addText(page, [](TextHeader *) {});
    wsSetToolModeWord(ws, TM_TEXT);
    teSetTextObject(t);
    teSetInsertMode(FALSE);
    mbUpdateState();
    char cell[64] = "";
    GetWindowTextA(mbGetCell(MB_STATE_CELL), cell, sizeof cell);
    EXPECT_STREQ("[1] [Ovr]", cell);
    teSetInsertMode(TRUE);
    mbUpdateState();
    GetWindowTextA(mbGetCell(MB_STATE_CELL), cell, sizeof cell);
    EXPECT_STREQ("[1] [Ins]", cell);
    teSetTextObject(0);
    wsSetToolModeWord(ws, TM_SELECT);
}

}  // namespace
