// Start-up: the resources it loads, the version record, the headless start
// with its window classes and first document, the command line, the hand-
// over to a running instance and the routing of the main loop's pump.
#include "tests/app/app_fixture.h"
#include "app/app_version.h"
#include "commands/clip_formats.h"
#include "support/win_datawin.h"
#include "support/win_window.h"
#include "support/ff_file.h"
#include "resource.h"
#include <string.h>
#include <string>
#include <vector>

using apptest::App;
using qmtest::BoxRecorder;

namespace {

HINSTANCE self() { return GetModuleHandleA(nullptr); }

TEST(FrameResources, AcceleratorTableHasTheTwentyThreeEntries)
{
    struct Key {
        WORD key;
        BYTE mods;   // FCONTROL, FSHIFT, FALT
        WORD command;
    };
    const Key expected[] = {
        {VK_F1, 0, 808},          {VK_F2, FCONTROL, 97},  {VK_F4, 0, 1350},
        {VK_F5, 0, 237},          {VK_F9, 0, 460},        {VK_F10, 0, 809},
        {VK_F11, FSHIFT, 870},    {VK_F12, FSHIFT, 860},  {'A', FCONTROL, 215},
        {'B', FCONTROL, 463},     {'C', FALT, 943},       {'C', FCONTROL, 202},
        {'I', FCONTROL, 461},     {'N', FCONTROL, 100},   {'O', FCONTROL, 101},
        {'P', FCONTROL, 106},     {'Q', FCONTROL, 110},   {'S', FCONTROL, 102},
        {'T', FCONTROL, 706},     {'X', FCONTROL, 201},   {'U', FCONTROL, 462},
        {'V', FCONTROL, 203},     {'Z', FCONTROL, 200},
    };
    HACCEL table = LoadAcceleratorsA(self(), "ridevi");
    ASSERT_TRUE(table != nullptr);
    ACCEL entries[32];
    int n = CopyAcceleratorTableA(table, entries, 32);
    ASSERT_EQ(23, n);
    for (const Key &k : expected) {
        bool found = false;
        for (int i = 0; i < n; ++i)
            if (entries[i].key == k.key && entries[i].cmd == k.command
                && (entries[i].fVirt & (FCONTROL | FSHIFT | FALT)) == k.mods
                && (entries[i].fVirt & FVIRTKEY))
                found = true;
        EXPECT_TRUE(found) << "key " << k.key << " -> " << k.command;
    }
}

TEST(FrameResources, MenuIconsAndMessagesLoad)
{
    HMENU menu = LoadMenuA(self(), "ridevi");
    ASSERT_TRUE(menu != nullptr);
    int n = GetMenuItemCount(menu);
    ASSERT_GE(n, 3);
    char text[64];
    GetMenuStringA(menu, n - 2, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("&Win", text);
    EXPECT_EQ(2000u, GetMenuItemID(GetSubMenu(menu, n - 2), 0));
    // The File menu's positions are the ones its menu state works by.
    HMENU file = GetSubMenu(menu, 0);
    EXPECT_EQ(18, GetMenuItemCount(file));
    const struct {
        int pos;
        UINT id;
    } file_ids[] = {{0, 100}, {1, 101}, {2, 110}, {3, 102}, {4, 103}, {6, 134}, {10, 880},
                    {13, 106}, {14, 114}, {17, 109}};
    for (auto &f : file_ids)
        EXPECT_EQ(f.id, GetMenuItemID(file, f.pos)) << "position " << f.pos;
    DestroyMenu(menu);

    for (const char *name : {"ridevi", "ridevi_S", "XQMDOC_S"}) {
        HANDLE icon = LoadImageA(self(), name, IMAGE_ICON, 0, 0, 0);
        EXPECT_TRUE(icon != nullptr) << name;
        if (icon)
            DestroyIcon((HICON)icon);
    }
    char s[256];
    ASSERT_GT(LoadStringA(self(), IDS_TOO_MANY_DOCUMENTS, s, sizeof(s)), 0);
    EXPECT_STREQ("Too many document opened.  Close or save one of the document before opening "
                 "another.",
                 s);
    ASSERT_GT(LoadStringA(self(), IDS_CANNOT_CREATE_WORKSPACE, s, sizeof(s)), 0);
    EXPECT_STREQ("Can not create workspace window", s);
}

TEST(Version, RecordAndTexts)
{
    verSetTexts("250", "Build 010", "3.0");
    EXPECT_EQ(300, verGetNumber());
    EXPECT_EQ(250, appGetFileFormatVersion());
    EXPECT_EQ(2, verGetFileFormatFirstChar());
    char text[32];
    EXPECT_STREQ("Version 2.50", verFormatText(text, sizeof(text)));
    EXPECT_STREQ("2.50", verGetFileFormatDotted(text, sizeof(text)));
    EXPECT_STREQ("Build 010", verGetBuildText());
    EXPECT_STREQ("3.0", verGetText(text, sizeof(text)));
    EXPECT_STREQ("Versi", verFormatText(text, 6));   // cut to the buffer
    const struct {
        const char *text;
        int64_t hundredths;
    } cases[] = {{"3.0", 300}, {"2.5", 250}, {"1.255", 126}, {"-1.255", -126}, {"2.004", 200}, {"7", 700}, {"0", 0},
                 {"abc", 0},   {nullptr, 0}};
    for (auto &c : cases)
        EXPECT_EQ(c.hundredths, verRound(c.text)) << (c.text ? c.text : "null");
}

TEST(Welcome, AnswerSelectsTheCommand)
{
    const int cases[][2] = {{0, 100}, {1, 96}, {2, 101}, {5, 101}, {3, 170},
                            {4, 121}, {-1, 0}, {65535, 0}, {6, 0}};
    for (auto &c : cases)
        EXPECT_EQ(c[1], appWelcomeCommand(c[0])) << "answer " << c[0];
}

// ---- the headless start -----------------------------------------------------------------

TEST_F(App, HeadlessStartMakesTheFrameAndItsClasses)
{
    ASSERT_TRUE(start());
    EXPECT_EQ(frame, FindWindowA(className.c_str(), nullptr));
    char title[64];
    EXPECT_STREQ("Quillmark Draw", appGetTitle(title, sizeof(title)));
    EXPECT_TRUE(GetWindowLongA(frame, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    ASSERT_TRUE(client != nullptr);
    EXPECT_EQ(client, appGetMdiClient(frame));
    char cls[32];
    GetClassNameA(client, cls, sizeof(cls));
    EXPECT_EQ(0, lstrcmpiA("mdiclient", cls));
    EXPECT_EQ(FRAME_MDI_CLIENT_ID, GetDlgCtrlID(client));
    EXPECT_TRUE(GetMenu(frame) != nullptr);

    for (const char *name :
         {className.c_str(), "xqmdoc", "vaqm_ws", "qm_util", "qm_msg", "qm_clrmenu", "qm_color2",
          "tv_scrollbtn", "qmcalendar", "qm_ruler", "qm_rulerbtn", "olbview", "ogwgridclass",
          "qm_objviewer", "qmgridwin", "qmgridwinsimp", "qmgwctrl", "qmfsvclass", "qm_pgwin",
          "datawin", "va_Data", "bmpbtnctrl", "qmobjbtnctrl", "qmfbtnctrl", "olbobtnctrl",
          "aooc", "qmimgfctrl", "qm_flashtxw_class", "stxwin", "qm_btnlist"}) {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof(wc);
        EXPECT_TRUE(GetClassInfoExA(inst, name, &wc)) << name;
    }
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExA(inst, className.c_str(), &wc));
    EXPECT_EQ(FRAME_WINDOW_BYTES, wc.cbWndExtra);
    ASSERT_TRUE(GetClassInfoExA(inst, "xqmdoc", &wc));
    EXPECT_EQ(DW_WINDOW_BYTES, wc.cbWndExtra);

    UINT format = RegisterClipboardFormatA("QM32OBJFormat");
    EXPECT_NE(0u, format);
    EXPECT_EQ(format, clipObjectFormat());

    // The frame's records, bars and font.
    MemHandle record = (MemHandle)GetWindowLongA(frame, FRAME_LONG_RECORD);
    ASSERT_TRUE(record != 0);
    {
        MemLock<FrameRecord> r(record);
        EXPECT_EQ(107u, r->size);
        EXPECT_EQ(client, qmU32ToHandle<HWND>(r->mdiClient));
    }
    int bits = appGetBarBits(frame);
    EXPECT_TRUE(bits & FB_DRAW);
    EXPECT_TRUE(bits & FB_LEFT);
    EXPECT_FALSE(bits & FB_BOTTOM);   // no command-entry bar can be made yet
    EXPECT_TRUE(appGetBarWindow(frame, FB_DRAW) != nullptr);
    EXPECT_EQ(appGetBarWindow(frame, FB_LEFT), blGetToolList());
    EXPECT_TRUE(appGetFrameFont() != nullptr);
    EXPECT_EQ(qmHandleToU32(appGetFrameFont()), (uint32_t)GetWindowLongA(frame, FRAME_LONG_FONT));
    EXPECT_TRUE(clrGetPaletteWindow() != nullptr);
    EXPECT_EQ(frame, appGetFrameWindow());

    // The welcome dialog answered "Create New Page": one new document.
    EXPECT_EQ(1, docCount());
    HWND ws = appGetActiveWorkspace();
    ASSERT_TRUE(ws != nullptr);
    EXPECT_TRUE(winIsWindowOfClass(ws, "vaqm_ws", nullptr));
    char docTitle[128];
    GetWindowTextA(wsGetDocWindow(ws), docTitle, sizeof(docTitle));
    EXPECT_STREQ("Untitled - Page 1 of 1 ", docTitle);
    // The frame's own title shows once no document is maximised in it.
    SendMessageA(frame, WM_COMMAND, 138, 0);
    pump();
    EXPECT_EQ(0, docCount());
    char frameTitle[128];
    GetWindowTextA(frame, frameTitle, sizeof(frameTitle));
    EXPECT_STREQ("Quillmark Draw", frameTitle);
}

TEST_F(App, WithTheWelcomeSettingOffExactlyOneNewDocumentOpens)
{
    writeSettings(false);
    ASSERT_TRUE(start());
    EXPECT_EQ(1, docCount());
}

TEST_F(App, QuotedCommandLinePathWithBlanksIsOpened)
{
    std::string path = home.file("my drawing.qm");
    ASSERT_TRUE(apptest::writeDocument(path));
    ASSERT_TRUE(start(("\"" + path + "\"").c_str()));
    EXPECT_EQ(1, docCount());   // no new document besides it
    HWND doc = appFindDocWindowByFile(frame, path.c_str());
    ASSERT_TRUE(doc != nullptr);
    char title[300];
    GetWindowTextA(doc, title, sizeof(title));
    EXPECT_EQ(path + " - Page 1 of 1 ", title);
    char first[MAX_PATH];
    ASSERT_TRUE(utGetFirstRecentFile(first));
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), first));
}

TEST_F(App, CommandLinePathOfNoFileIsReportedAndTheStartGoesOn)
{
    // The message the file commands give for a path they cannot open, then
    // the start as without a path: one new document.
    BoxRecorder boxes;
    std::string missing = home.file("missing.qm");
    ASSERT_TRUE(start(missing.c_str()));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Quillmark Draw Warning", boxes.last().caption);
    EXPECT_EQ(missing + "\r\n  does not exist", boxes.last().text);
    EXPECT_EQ(1, docCount());
    EXPECT_EQ(nullptr, appFindDocWindowByFile(frame, missing.c_str()));
}

// A wide text of ASCII and a few ideographs (no std::wstring here).
std::vector<WCHAR> wide(const std::string &ascii, std::initializer_list<WCHAR> tail = {})
{
    std::vector<WCHAR> w(ascii.begin(), ascii.end());
    w.insert(w.end(), tail);
    return w;
}

std::vector<WCHAR> wide(const std::string &ascii, const std::vector<WCHAR> &tail)
{
    std::vector<WCHAR> w(ascii.begin(), ascii.end());
    w.insert(w.end(), tail.begin(), tail.end());
    return w;
}

std::string ansiOf(const std::vector<WCHAR> &w)
{
    std::vector<char> text(w.size() * 2 + 1);
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), (int)w.size(), text.data(),
                                (int)text.size(), nullptr, nullptr);
    return std::string(text.data(), n > 0 ? n : 0);
}

TEST_F(App, CommandLineNamesOutsideTheAnsiCodePageComeFromTheWideLine)
{
    // A document named in Chinese characters: the ANSI command line shows
    // them as '?', the wide one has them.
    std::string plain = home.file("plain.qm");
    ASSERT_TRUE(apptest::writeDocument(plain));
    std::vector<WCHAR> path = wide(home.path() + "\\", {0x5716, 0x756B, '.', 'q', 'm'});
    std::vector<WCHAR> pathZ = path;
    pathZ.push_back(0);
    std::vector<WCHAR> plainW = wide(plain);
    plainW.push_back(0);
    ASSERT_TRUE(CopyFileW(plainW.data(), pathZ.data(), FALSE));
    std::string ansiPath = ansiOf(path);
    ASSERT_NE(std::string::npos, ansiPath.find('?'));

    struct Case {
        const char *what;
        std::vector<WCHAR> line;   // the whole wide line
        std::string ansi;          // what WinMain gets
        bool shortForm;            // the short form is taken
    } cases[] = {
        {"quoted program and path", wide("\"C:\\q m\\quillmark.exe\" \"", path), "", true},
        {"bare program, blanks", wide("quillmark.exe   ", path), "", true},
        {"an ANSI path stays", wide("quillmark.exe \"" + plain + "\""), "\"" + plain + "\"", false},
        {"no path", wide("quillmark.exe"), "", false},
        {"a missing name keeps the ANSI line",
         wide("quillmark.exe ", {0x5716, 0x756B, '2', '.', 'q', 'm'}), "", false},
    };
    cases[0].line.push_back('"');
    cases[0].ansi = "\"" + ansiPath + "\"";
    cases[1].ansi = ansiPath;
    cases[4].ansi = ansiOf(wide("", {0x5716, 0x756B, '2', '.', 'q', 'm'}));
    std::string shortName;
    for (Case &c : cases) {
        SCOPED_TRACE(c.what);
        c.line.push_back(0);
        char out[600];
        int n = appAnsiCommandLine(c.ansi.c_str(), c.line.data(), out, sizeof out);
        EXPECT_EQ((int)strlen(out), n);
        if (!c.shortForm) {
            EXPECT_EQ(c.ansi, out);
            continue;
        }
        EXPECT_EQ(nullptr, strchr(out, '?')) << out;
        EXPECT_TRUE(ffExists(out)) << out;
        shortName = out;
    }
    ASSERT_FALSE(shortName.empty());
    // Started with it, the program opens that document and makes no other.
    ASSERT_TRUE(start(shortName.c_str()));
    EXPECT_EQ(1, docCount());
    EXPECT_TRUE(appFindDocWindowByFile(frame, shortName.c_str()) != nullptr);
    // The folder's clean-up goes by ANSI names: this file goes here.
    SendMessageA(frame, WM_CLOSE, 0, 0);
    pump();
    EXPECT_TRUE(DeleteFileW(pathZ.data()));
}

TEST_F(App, TheDataViewerClassRunsItsOwnProcedure)
{
    // Registered at start-up by the viewer itself: its edit follows the
    // window's size, which a class of the default procedure would not do.
    writeSettings(false);
    ASSERT_TRUE(start());
    RECT r = {10, 10, 310, 210};
    HWND viewer = winCreateTextWindow(frame, "Data", &r, 0, nullptr, FALSE, FALSE);
    ASSERT_TRUE(viewer != nullptr);
    SetWindowPos(viewer, nullptr, 0, 0, 420, 330, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client, edit;
    GetClientRect(viewer, &client);
    GetWindowRect(GetDlgItem(viewer, 1), &edit);
    EXPECT_EQ(client.right, edit.right - edit.left);
    EXPECT_EQ(client.bottom, edit.bottom - edit.top);
    DestroyWindow(viewer);
}

// ---- a second start ----------------------------------------------------------------------

TEST_F(App, SecondStartHandsItsFileOverAndEnds)
{
    ASSERT_TRUE(start());
    touchActiveDocument();
    std::string path = home.file("second.qm");
    ASSERT_TRUE(apptest::writeDocument(path));
    HWND other = (HWND)1;
    HWND second = appInit(inst, TRUE, appName.c_str(), "Quillmark Draw", className.c_str(),
                          &other, ("\"" + path + "\"").c_str(), SW_SHOWNORMAL);
    EXPECT_EQ(nullptr, second);
    EXPECT_EQ(nullptr, other);
    pump();
    EXPECT_EQ(2, docCount());
    EXPECT_TRUE(appFindDocWindowByFile(frame, path.c_str()) != nullptr);
    EXPECT_EQ(0, GlobalFindAtomA(path.c_str()));   // the atom was deleted

    // Without a file the running frame is only brought forward.
    EXPECT_EQ(nullptr, appInit(inst, TRUE, appName.c_str(), "Quillmark Draw", className.c_str(),
                               &other, "", SW_SHOWNORMAL));
    pump();
    EXPECT_EQ(2, docCount());
}

TEST_F(App, PathTooLongForAnAtomIsHandedOverWhole)
{
    ASSERT_TRUE(start());
    // A document whose path is longer than an atom can hold.
    std::string folder = home.path() + "\\";
    std::string name(257 - folder.size() - 3, 'n');
    std::string path = folder + name + ".qm";
    ASSERT_EQ(257u, path.size());
    ASSERT_TRUE(apptest::writeDocument(path));
    EXPECT_TRUE(appHandOver(frame, path.c_str()));
    pump();
    EXPECT_TRUE(appFindDocWindowByFile(frame, path.c_str()) != nullptr);

    // A path the file layer cannot reach at all is reported, not dropped.
    std::string tooLong = folder + std::string(300, 'x') + ".qm";
    BoxRecorder boxes;
    EXPECT_TRUE(appHandOver(frame, tooLong.c_str()));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Quillmark Draw Warning", boxes.last().caption);
    EXPECT_EQ("Can not open\r\n " + tooLong, boxes.last().text);

    // A window that does not take the path over: the second start says so.
    HWND stranger = CreateWindowA("static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, inst,
                                  nullptr);
    boxes.clear();
    EXPECT_FALSE(appHandOver(stranger, path.c_str()));
    DestroyWindow(stranger);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Can not open\r\n " + path, boxes.last().text);
}

TEST_F(App, AtomOfAMissingFileOpensNothingAndIsDeleted)
{
    ASSERT_TRUE(start());
    std::string path = home.file("gone.qm");
    ATOM atom = GlobalAddAtomA(path.c_str());
    ASSERT_NE(0, atom);
    SendMessageA(frame, WM_COMMAND, 790, atom);
    EXPECT_EQ(0, GlobalFindAtomA(path.c_str()));
    EXPECT_EQ(1, docCount());
    EXPECT_FALSE(appSendFileAtom(frame, 0));
}

// ---- the pump -----------------------------------------------------------------------------

TEST_F(App, AcceleratorsReachTheActiveWorkspaceThroughThePump)
{
    ASSERT_TRUE(start());
    HACCEL table = LoadAcceleratorsA(inst, "ridevi");
    appSetAccelerators(table);
    HWND doc = recordingDocument();
    HWND ws = dwGetWorkspace(doc);
    ASSERT_TRUE(ws != nullptr);
    SetFocus(ws);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE saved[256];
    memcpy(saved, keys, sizeof(saved));
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(ws, WM_KEYDOWN, VK_F12, 0);
    pump();
    keys[VK_SHIFT] = 0;
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(ws, WM_KEYDOWN, 'S', 0);
    pump();
    SetKeyboardState(saved);
    appSetAccelerators(nullptr);
    DestroyAcceleratorTable(table);
    ASSERT_EQ(2u, apptest::recorded().size());
    EXPECT_EQ(860u, LOWORD(apptest::recorded()[0]));
    EXPECT_EQ(1u, HIWORD(apptest::recorded()[0]));   // from an accelerator
    EXPECT_EQ(102u, LOWORD(apptest::recorded()[1]));
}

}  // namespace
