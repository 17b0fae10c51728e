// Menus built from item tables and what is done with them (enabling,
// finding, renaming, cutting, bitmap items), and the starting of other
// programs and of mail through their seams.
#include "tests/support/kit.h"
#include "support/ut_msg.h"
#include "support/ut_shell.h"
#include "support/win_menu.h"
#include "support/win_program.h"
#include <string>
#include <vector>

#ifndef GR_GDIOBJECTS
#define GR_GDIOBJECTS 0
#endif

namespace {

using qmtest::BoxRecorder;

std::vector<WinMenuTableEntry> fiveItems()
{
    return {{11, "&One"}, {12, "&Two"}, {0, "ignored text"}, {14, "&Four"}, {15, "&Five"}};
}

bool greyed(HMENU menu, int pos)
{
    return (GetMenuState(menu, (UINT)pos, MF_BYPOSITION) & MF_GRAYED) != 0;
}

std::string itemText(HMENU menu, int pos)
{
    char text[64] = {};
    GetMenuStringA(menu, (UINT)pos, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(MenuTable, EntriesBecomeItemsAndIdZeroASeparator)
{
    auto table = fiveItems();
    // A text that fills its whole field has no terminator.
    memcpy(table[4].text, "ABCDEFGHIJKLMNOPQRSTUVWX", 24);
    HMENU menu = winMenuFromTable(table.data(), (int)table.size());
    ASSERT_TRUE(menu);
    ASSERT_EQ(5, GetMenuItemCount(menu));
    EXPECT_EQ(11u, GetMenuItemID(menu, 0));
    EXPECT_EQ("&Two", itemText(menu, 1));
    EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ("", itemText(menu, 2));
    EXPECT_EQ("ABCDEFGHIJKLMNOPQRSTUVWX", itemText(menu, 4));
    DestroyMenu(menu);
    EXPECT_EQ(nullptr, winMenuFromTable(table.data(), 0));
    EXPECT_EQ(nullptr, winMenuFromTable(nullptr, 3));
}

TEST(MenuTable, EnableFlagsChangeOnlyTheirOwnPositions)
{
    auto table = fiveItems();
    HMENU menu = winMenuFromTable(table.data(), 5);
    ASSERT_TRUE(menu);
    for (int i = 0; i < 5; ++i)
        EnableMenuItem(menu, (UINT)i, MF_BYPOSITION | (i == 4 ? MF_GRAYED : MF_ENABLED));
    const int16_t flags[3] = {0, 1, 0};
    EXPECT_EQ(5, winEnableMenuItems(menu, flags, 3));
    EXPECT_TRUE(greyed(menu, 0));
    EXPECT_FALSE(greyed(menu, 1));
    EXPECT_TRUE(greyed(menu, 2));
    EXPECT_FALSE(greyed(menu, 3)) << "beyond the flags: left as it was";
    EXPECT_TRUE(greyed(menu, 4)) << "beyond the flags: left as it was";
    // More flags than items: only the items are touched.
    const int16_t many[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    winEnableMenuItems(menu, many, 8);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(greyed(menu, i)) << i;
    winEnableMenuItems(menu, nullptr, 0);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(greyed(menu, i)) << i;
    DestroyMenu(menu);
    EXPECT_EQ(-1, winEnableMenuItems(nullptr, flags, 3));
}

// A menu bar: File (100, 101), Edit (200, with a sub-menu beginning with
// 300), Window (400).
struct Bar {
    HMENU bar, file, edit, inner, window;
    Bar()
    {
        bar = CreateMenu();
        file = CreatePopupMenu();
        AppendMenuA(file, MF_STRING, 100, "&New");
        AppendMenuA(file, MF_STRING, 101, "&Open");
        edit = CreatePopupMenu();
        AppendMenuA(edit, MF_STRING, 200, "&Undo");
        inner = CreatePopupMenu();
        AppendMenuA(inner, MF_STRING, 300, "&Inner");
        AppendMenuA(inner, MF_STRING, 301, "In&ner Two");
        AppendMenuA(edit, MF_POPUP, (UINT_PTR)inner, "&More");
        window = CreatePopupMenu();
        AppendMenuA(window, MF_STRING, 400, "&Cascade");
        AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&File");
        AppendMenuA(bar, MF_POPUP, (UINT_PTR)edit, "&Edit");
        AppendMenuA(bar, MF_POPUP, (UINT_PTR)window, "&Window");
    }
};

TEST(MenuTable, FindingSubMenusAndPositions)
{
    Bar b;
    EXPECT_EQ(b.file, winFindSubMenu(b.bar, 100));
    EXPECT_EQ(b.inner, winFindSubMenu(b.bar, 300)) << "a sub-menu inside a sub-menu";
    EXPECT_EQ(nullptr, winFindSubMenu(b.bar, 101)) << "only the first item counts";
    EXPECT_EQ(nullptr, winFindSubMenu(nullptr, 100));
    EXPECT_EQ(1, winMenuPosOfCommand(b.file, 101));
    EXPECT_EQ(1, winMenuPosOfCommand(b.inner, 301)) << "an item inside a sub-menu";
    EXPECT_EQ(-1, winMenuPosOfCommand(b.file, 300));
    winCheckMenuItem(b.file, 101, TRUE);
    EXPECT_TRUE(GetMenuState(b.file, 101, MF_BYCOMMAND) & MF_CHECKED);
    winCheckMenuItem(b.file, 101, FALSE);
    EXPECT_FALSE(GetMenuState(b.file, 101, MF_BYCOMMAND) & MF_CHECKED);
    DestroyMenu(b.bar);
}

TEST(MenuTable, TruncateAfterKeepsTheItemsUpToTheNamedOne)
{
    auto table = fiveItems();
    HMENU menu = winMenuFromTable(table.data(), 5);
    winMenuTruncateAfter(menu, 99);   // absent: nothing
    EXPECT_EQ(5, GetMenuItemCount(menu));
    winMenuTruncateAfter(menu, 12);
    ASSERT_EQ(2, GetMenuItemCount(menu));
    EXPECT_EQ(11u, GetMenuItemID(menu, 0));
    EXPECT_EQ(12u, GetMenuItemID(menu, 1));
    winMenuTruncateAfter(menu, 12);   // the last one: nothing more goes
    EXPECT_EQ(2, GetMenuItemCount(menu));
    DestroyMenu(menu);
}

std::vector<HWND> g_redrawn;
void countRedraw(HWND window) { g_redrawn.push_back(window); }

TEST(MenuTable, RenamingASubMenuRedrawsTheBarOnlyWhenTheTextChanges)
{
    Bar b;
    HWND frame = CreateWindowA("STATIC", "frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                               b.bar, nullptr, nullptr);
    ASSERT_TRUE(frame);
    g_redrawn.clear();
    winSetDrawMenuBarHook(countRedraw);
    EXPECT_TRUE(winRenameSubMenu(frame, 200, "&Edit"));
    EXPECT_TRUE(g_redrawn.empty()) << "the same text: no redraw";
    EXPECT_TRUE(winRenameSubMenu(frame, 200, "&edit"));
    EXPECT_EQ(1u, g_redrawn.size()) << "compared with case";
    EXPECT_EQ("&edit", itemText(b.bar, 1));
    EXPECT_EQ(b.edit, GetSubMenu(b.bar, 1)) << "the sub-menu stays";
    EXPECT_FALSE(winRenameSubMenu(frame, 300, "x")) << "not a top-level sub-menu";
    EXPECT_EQ(1u, g_redrawn.size());
    winSetDrawMenuBarHook(nullptr);
    DestroyWindow(frame);
}

TEST(MenuTable, BitmapItemsAndTheirBitmapsFreed)
{
    WinBitmapMenuEntry table[4] = {
        {1362, "arrowr", 0}, {0, "", 0}, {1367, "arrowd", 0}, {1368, "no such bitmap", 0}};
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    HMENU menu = winMenuFromBitmapTable(nullptr, table, 4);
    ASSERT_TRUE(menu);
    ASSERT_EQ(4, GetMenuItemCount(menu));
    ASSERT_NE(0u, table[0].handle);
    ASSERT_NE(0u, table[2].handle);
    EXPECT_EQ(0u, table[3].handle);
    EXPECT_EQ(OBJ_BITMAP, GetObjectType(qmU32ToHandle<HBITMAP>(table[0].handle)));
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP | MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(menu, 0, TRUE, &info));
    EXPECT_EQ(qmU32ToHandle<HBITMAP>(table[0].handle), info.hbmpItem);
    EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ("no such bitmap", itemText(menu, 3)) << "a missing bitmap shows its name";
    DestroyMenu(menu);
    const uint32_t kept[2] = {table[0].handle, table[2].handle};
    winFreeBitmapTable(table, 4);
    for (const WinBitmapMenuEntry &e : table)
        EXPECT_EQ(0u, e.handle);
    for (uint32_t h : kept)
        EXPECT_EQ(0u, GetObjectType(qmU32ToHandle<HBITMAP>(h))) << "deleted";
    EXPECT_EQ(before, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

// ---- other programs and mail -------------------------------------------------------

struct StartCall {
    std::string application;   // "<none>" for no name
    std::string commandLine;
    DWORD startupSize;
};
std::vector<StartCall> g_starts;
int g_failFirst = 0;   // starts that fail before one succeeds
std::vector<HANDLE> g_handed;

BOOL recordStart(const char *application, char *commandLine, STARTUPINFOA *startup,
                 PROCESS_INFORMATION *info)
{
    g_starts.push_back({application ? application : "<none>", commandLine, startup->cb});
    if ((int)g_starts.size() <= g_failFirst)
        return FALSE;
    // Stand-ins for the process and thread handles: the caller must close
    // them.
    info->hProcess = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    info->hThread = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_handed = {info->hProcess, info->hThread};
    return TRUE;
}

// The real start, with the handles it gave noted.
BOOL realStart(const char *application, char *commandLine, STARTUPINFOA *startup,
               PROCESS_INFORMATION *info)
{
    g_starts.push_back({application ? application : "<none>", commandLine, startup->cb});
    BOOL ok = CreateProcessA(application, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, startup, info);
    if (ok)
        g_handed = {info->hProcess, info->hThread};
    return ok;
}

bool isOpen(HANDLE h)
{
    DWORD flags;
    return GetHandleInformation(h, &flags) != 0;
}

struct StartSeam {
    explicit StartSeam(WinCreateProcessHook hook, int failFirst = 0)
    {
        g_starts.clear();
        g_handed.clear();
        g_failFirst = failFirst;
        winSetCreateProcessHook(hook);
    }
    ~StartSeam() { winSetCreateProcessHook(nullptr); }
};

TEST(RunProgram, AMissingProgramIsReported)
{
    BoxRecorder boxes;
    EXPECT_FALSE(winRunProgram(nullptr, "C:\\qm_no_such_program.exe"));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Failed to execute: \r\nC:\\qm_no_such_program.exe", boxes.last().text);
    EXPECT_TRUE(boxes.last().flags & MB_ICONEXCLAMATION);
}

TEST(RunProgram, ALineThatFailsWholeIsRetriedWithThePathAsTheProgram)
{
    BoxRecorder boxes;
    StartSeam seam(recordStart, 1);
    EXPECT_TRUE(winRunProgram(nullptr, "C:\\Prog Dir\\x.exe a b"));
    ASSERT_EQ(2u, g_starts.size());
    EXPECT_EQ("<none>", g_starts[0].application);
    EXPECT_EQ("C:\\Prog Dir\\x.exe a b", g_starts[0].commandLine);
    EXPECT_EQ("C:\\Prog Dir\\x.exe", g_starts[1].application);
    EXPECT_EQ("a b", g_starts[1].commandLine);
    for (const StartCall &c : g_starts)
        EXPECT_EQ(sizeof(STARTUPINFOA), c.startupSize);
    EXPECT_EQ(0u, boxes.count());
    ASSERT_EQ(2u, g_handed.size());
    for (HANDLE h : g_handed)
        EXPECT_FALSE(isOpen(h)) << "the process and thread handles are closed";
}

TEST(RunProgram, NoRetryWithoutTextAfterTheProgram)
{
    BoxRecorder boxes;
    const char *lines[] = {"C:\\Prog Dir\\x.exe", "C:\\Prog Dir\\x.exe ", "C:\\tool.com a b"};
    for (const char *line : lines) {
        StartSeam seam(recordStart, 2);
        EXPECT_FALSE(winRunProgram(nullptr, line)) << line;
        EXPECT_EQ(1u, g_starts.size()) << line;
    }
    EXPECT_EQ(3u, boxes.count());
}

TEST(RunProgram, AStartedProcessLeavesNoHandleOpen)
{
    StartSeam seam(realStart);
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    const std::string line = std::string(system) + "\\cmd.exe /c exit 0";
    ASSERT_TRUE(winRunProgram(nullptr, line.c_str()));
    ASSERT_EQ(2u, g_handed.size());
    for (HANDLE h : g_handed)
        EXPECT_FALSE(isOpen(h));
}

TEST(RunProgram, TheTextEditorGetsThePathQuoted)
{
    StartSeam seam(recordStart);
    EXPECT_TRUE(winOpenInTextEditor(nullptr, "C:\\My Files\\read me.txt"));
    ASSERT_EQ(1u, g_starts.size());
    EXPECT_EQ("notepad.exe \"C:\\My Files\\read me.txt\"", g_starts[0].commandLine);
    g_starts.clear();
    winOpenInTextEditor(nullptr, "\"C:\\a b.txt\"");
    ASSERT_EQ(1u, g_starts.size());
    EXPECT_EQ("notepad.exe \"C:\\a b.txt\"", g_starts[0].commandLine) << "quoted once";
}

std::vector<std::pair<std::string, int>> g_opened;
INT_PTR recordOpen(HWND, const char *file, int show)
{
    g_opened.push_back({file, show});
    return 42;
}

TEST(ShellMail, TheAddressGetsOnePrefix)
{
    utSetShellOpenHook(recordOpen);
    g_opened.clear();
    const uint32_t handed = utHandedOutCount();
    EXPECT_TRUE(utShellMailTo(nullptr, "x@y"));
    utShellMailTo(nullptr, "MAILTO:x@y");
    utShellMailTo(nullptr, "MailTo:x@y");
    utShellMailTo(nullptr, nullptr);
    utSetShellOpenHook(nullptr);
    const std::vector<std::pair<std::string, int>> expected = {{"mailto:x@y", SW_SHOWDEFAULT},
                                                               {"mailto:x@y", SW_SHOWDEFAULT},
                                                               {"mailto:x@y", SW_SHOWDEFAULT},
                                                               {"mailto:", SW_SHOWDEFAULT}};
    EXPECT_EQ(expected, g_opened);
    EXPECT_EQ(handed + 4, utHandedOutCount());
}

}  // namespace
