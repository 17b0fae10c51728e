// The frame window: the docked areas, the layout after WM_SIZE, the command
// routing, the refusal past 33 documents, dropped files, the close sequence
// and the session end, the menu language and the reader launch.
#include "tests/app/app_fixture.h"
#include "tests/support/kit_dialog.h"
#include "tests/support/kit_printer.h"
#include "app/app_about.h"
#include "app/app_frame_docs.h"
#include "app/app_menu_state.h"
#include "support/ut_history.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include "support/win_menu.h"
#include <shlobj.h>
#include <string.h>

using apptest::App;
using qmtest::BoxRecorder;

namespace {

const char kTooMany[] =
    "Too many document opened.  Close or save one of the document before opening another.";

// ---- layout without a window ------------------------------------------------------------

TEST(FrameLayout, MetricsFromTheScreenAndTheFont)
{
    const struct {
        int screen, line, avg, draw, standard;
        FrameMetrics m;
    } cases[] = {
        {640, 15, 7, 21, 12, {474, 28, 31, 26, 294, 558}},
        {800, 20, 8, 21, 21, {474, 30, 33, 26, 510, 612}},
        {864, 21, 6, 21, 21, {474, 31, 34, 27, 510, 504}},
        {896, 14, 7, 21, 21, {474, 28, 31, 28, 510, 558}},
        {1280, 16, 7, 20, 21, {452, 28, 31, 28, 510, 558}},
    };
    for (auto &c : cases) {
        FrameMetrics m;
        appComputeFrameMetrics(c.screen, c.line, c.avg, c.draw, c.standard, &m);
        EXPECT_EQ(c.m.drawBandWidth, m.drawBandWidth) << c.screen;
        EXPECT_EQ(c.m.rowHeight, m.rowHeight) << c.screen;
        EXPECT_EQ(c.m.bottomHeight, m.bottomHeight) << c.screen;
        EXPECT_EQ(c.m.leftWidth, m.leftWidth) << c.screen;
        EXPECT_EQ(c.m.standardWidth, m.standardWidth) << c.screen;
        EXPECT_EQ(c.m.messageWidth, m.messageWidth) << c.screen;
    }
}

TEST(FrameLayout, AreaOfEachBarBit)
{
    const FrameMetrics m = {474, 28, 31, 26, 510, 558};
    const uint16_t all = FB_MESSAGE | FB_DRAW | FB_LEFT | FB_RIGHT | FB_BOTTOM | FB_STANDARD;
    const struct {
        RECT client;
        uint16_t bits, bar;
        RECT want;
    } cases[] = {
        {{0, 0, 1000, 700}, all, FB_DRAW, {0, 0, 474, 28}},
        {{0, 0, 1000, 700}, all, FB_COLOR, {474, 0, 1001, 28}},
        {{0, 0, 1000, 700}, all, FB_STANDARD, {0, 28, 511, 56}},
        {{0, 0, 1000, 700}, all, FB_MESSAGE, {510, 27, 1001, 56}},
        {{0, 0, 1000, 700}, all, FB_LEFT, {0, 56, 26, 701}},
        {{0, 0, 1000, 700}, all, FB_RIGHT, {951, 56, 1000, 701}},
        {{0, 0, 1000, 700}, all, FB_BOTTOM, {25, 669, 952, 701}},
        {{0, 0, 1000, 700}, all, FB_CLIENT, {26, 56, 951, 669}},
        {{0, 0, 1000, 700}, all, 4, {0, 0, 1000, 700}},
        // The message bar's width wins over the standard bar's when the
        // frame is wide.
        {{0, 0, 1400, 700}, all, FB_STANDARD, {0, 28, 843, 56}},
        {{0, 0, 1400, 700}, all, FB_MESSAGE, {842, 27, 1401, 56}},
        // Without the message bar, the right bar or the bottom bar.
        {{0, 0, 1000, 700}, FB_DRAW | FB_LEFT, FB_LEFT, {0, 28, 26, 701}},
        {{0, 0, 1000, 700}, FB_DRAW | FB_LEFT, FB_CLIENT, {26, 29, 1000, 700}},
        {{0, 0, 1000, 700}, FB_DRAW | FB_LEFT | FB_BOTTOM, FB_BOTTOM, {25, 669, 1000, 701}},
        {{0, 0, 1000, 700}, 0, FB_CLIENT, {26, 1, 1000, 700}},
        {{0, 0, 1000, 700}, 0, FB_STANDARD, {0, 0, 511, 28}},
        // A client rectangle that does not start at the origin.
        {{10, 5, 810, 605}, all, FB_DRAW, {10, 5, 484, 33}},
        {{10, 5, 810, 605}, all, FB_CLIENT, {36, 61, 761, 574}},
        {{10, 5, 810, 605}, all, FB_MESSAGE, {520, 32, 811, 61}},
    };
    for (auto &c : cases) {
        RECT got;
        appBarRectIn(c.client, c.bits, m, c.bar, &got);
        EXPECT_TRUE(EqualRect(&c.want, &got))
            << "bits " << c.bits << " bar " << c.bar << ": " << got.left << "," << got.top << ","
            << got.right << "," << got.bottom;
    }
}

TEST(FrameLayout, WheelScrollDistance)
{
    const int cases[][3] = {{120, 3, -1080}, {-120, 3, 1080}, {240, 1, -360}, {120, 0, 0},
                            {-120, 0, 0}};
    for (auto &c : cases)
        EXPECT_EQ(c[2], appWheelScrollTwips(c[0], c[1])) << c[0] << " " << c[1];
}

TEST(DocumentTitle, PathPageAndModifiedMark)
{
    std::string longName(300, 'n');
    const struct {
        const char *path;
        int index, count;
        const char *name;
        BOOL modified;
        std::string want;
    } cases[] = {
        {nullptr, 0, 3, "Intro", FALSE, "Untitled - Page 1 of 3 Intro"},
        {"", 0, 1, "", FALSE, "Untitled - Page 1 of 1 "},
        {"C:\\a.qm", 1, 2, "", TRUE, "C:\\a.qm - Page 2 of 2  *"},
        {"C:\\a.qm", -1, 2, "x", TRUE, "C:\\a.qm - Base page"},
        {"C:\\a.qm", -2, 2, "x", TRUE, "C:\\a.qm"},
        {"C:\\a.qm", 0, 1, longName.c_str(), FALSE,
         "C:\\a.qm - Page 1 of 1 " + std::string(256, 'n')},
    };
    for (auto &c : cases) {
        char out[DW_TITLE_SIZE];
        EXPECT_EQ(c.want, dwFormatTitle(out, sizeof(out), c.path, c.index, c.count, c.name,
                                        c.modified));
    }
    char tiny[8];
    EXPECT_STREQ("Untitle", dwFormatTitle(tiny, sizeof(tiny), nullptr, 0, 1, "", FALSE));
}

TEST(Reader, CommandLine)
{
    char reader[MAX_PATH], home[MAX_PATH], line[600];
    appGetReaderPath(reader);
    setGetHomeDir(home);
    std::string readerPath = reader;
    EXPECT_EQ(readerPath.size() - 8, readerPath.rfind("rvpo.exe"));
    EXPECT_EQ(readerPath, appReaderCommandLine(line, sizeof(line), nullptr));
    EXPECT_EQ(readerPath, appReaderCommandLine(line, sizeof(line), ""));
    char joined[MAX_PATH];
    utJoinPath(joined, home, "sample\\samplemenu.qm");
    EXPECT_EQ(readerPath + " " + joined,
              appReaderCommandLine(line, sizeof(line), "sample\\samplemenu.qm"));
    EXPECT_EQ(readerPath + " D:\\docs\\a.qm", appReaderCommandLine(line, sizeof(line), "D:\\docs\\a.qm"));
}

// ---- the running frame ----------------------------------------------------------------------

TEST_F(App, MdiClientFillsItsAreaAfterResizing)
{
    ASSERT_TRUE(start());
    for (SIZE size : {SIZE{900, 700}, SIZE{640, 480}, SIZE{1200, 900}}) {
        MoveWindow(frame, 0, 0, size.cx, size.cy, TRUE);
        pump();
        RECT want, got;
        appGetBarRect(frame, FB_CLIENT, &want);
        GetWindowRect(client, &got);
        MapWindowPoints(nullptr, frame, (POINT *)&got, 2);
        EXPECT_TRUE(EqualRect(&want, &got)) << size.cx;
        RECT area;
        appGetBarRect(frame, FB_DRAW, &area);
        GetWindowRect(appGetBarWindow(frame, FB_DRAW), &got);
        MapWindowPoints(nullptr, frame, (POINT *)&got, 2);
        EXPECT_TRUE(EqualRect(&area, &got));
    }
}

TEST_F(App, RightBarAndStatusBarCommands)
{
    ASSERT_TRUE(start());
    MoveWindow(frame, 0, 0, 900, 700, TRUE);
    pump();
    RECT frameClient, before, mdi;
    GetClientRect(frame, &frameClient);
    GetWindowRect(client, &before);
    MapWindowPoints(nullptr, frame, (POINT *)&before, 2);
    ASSERT_TRUE(appGetBarWindow(frame, FB_RIGHT) != nullptr);
    EXPECT_EQ(frameClient.right - FRAME_RIGHT_WIDTH, before.right);

    HMENU popup = CreatePopupMenu();
    for (UINT id : {607u, 750u, 919u, 749u})
        AppendMenuA(popup, MF_STRING, id, "x");
    auto checked = [&](UINT id) {
        appInitMenuPopup(frame, popup);
        return (GetMenuState(popup, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    EXPECT_TRUE(checked(607));
    EXPECT_TRUE(checked(750));
    EXPECT_FALSE(checked(919));
    EXPECT_FALSE(checked(749));

    // 750 gives the right bar's 49 pixels back to the MDI client.
    SendMessageA(frame, WM_COMMAND, 750, 0);
    EXPECT_EQ(nullptr, appGetBarWindow(frame, FB_RIGHT));
    EXPECT_FALSE(appTestBar(frame, FB_RIGHT));
    GetWindowRect(client, &mdi);
    MapWindowPoints(nullptr, frame, (POINT *)&mdi, 2);
    EXPECT_EQ(frameClient.right, mdi.right);
    EXPECT_FALSE(checked(750));
    SendMessageA(frame, WM_COMMAND, 750, 0);
    GetWindowRect(client, &mdi);
    MapWindowPoints(nullptr, frame, (POINT *)&mdi, 2);
    EXPECT_TRUE(EqualRect(&before, &mdi));

    // The status bar off and on again restores the same layout.
    SendMessageA(frame, WM_COMMAND, 607, 0);
    EXPECT_FALSE(appTestBar(frame, FB_MESSAGE));
    EXPECT_FALSE(appTestBar(frame, FB_STANDARD));
    EXPECT_FALSE(IsWindowVisible(appGetBarWindow(frame, FB_STANDARD)));
    EXPECT_FALSE(checked(607));
    GetWindowRect(client, &mdi);
    MapWindowPoints(nullptr, frame, (POINT *)&mdi, 2);
    EXPECT_LT(mdi.top, before.top);
    SendMessageA(frame, WM_COMMAND, 607, 0);
    GetWindowRect(client, &mdi);
    MapWindowPoints(nullptr, frame, (POINT *)&mdi, 2);
    EXPECT_TRUE(EqualRect(&before, &mdi));
    EXPECT_TRUE(IsWindowVisible(appGetBarWindow(frame, FB_STANDARD)));

    // The text tool palette opens and closes again.
    SendMessageA(frame, WM_COMMAND, 749, 0);
    EXPECT_TRUE(checked(749));
    SendMessageA(frame, WM_COMMAND, 749, 0);
    pump();
    EXPECT_FALSE(checked(749));
    DestroyMenu(popup);
}

TEST_F(App, CommandsTheFrameDoesNotOwnReachTheActiveWorkspace)
{
    ASSERT_TRUE(start());
    HWND doc = recordingDocument();
    ASSERT_TRUE(doc != nullptr);
    ASSERT_EQ(dwGetWorkspace(doc), appGetActiveWorkspace());
    EXPECT_EQ(0, SendMessageA(frame, WM_COMMAND, MAKEWPARAM(306, 7), 7));
    EXPECT_EQ(0, SendMessageA(frame, WM_COMMAND, 102, 0));
    SendMessageA(frame, WM_COMMAND, 961, 0);
    ASSERT_EQ(3u, apptest::recorded().size());
    EXPECT_EQ(MAKEWPARAM(306, 7), apptest::recorded()[0]);
    EXPECT_EQ(102u, apptest::recorded()[1]);
    EXPECT_EQ(961u, apptest::recorded()[2]);

    // The frame's own commands never get there. The custom output commands
    // meet a printer of the test's own that cancels its set-up dialog and
    // find no stored command: their boxes are recorded.
    qmtest::FakePrinter printer;
    qmtest::BoxRecorder boxes;
    apptest::recorded().clear();
    for (int id : {80, 82, 140, 142, 892, 933, 947, 976, 977, 1122, 1230, 2000, 2001, 2003, 1950,
                   1951, 1955, 1958, 1959, 2020, 9385, 1920})
        SendMessageA(frame, WM_COMMAND, id, 0);
    pump();
    EXPECT_TRUE(apptest::recorded().empty()) << apptest::recorded().size();

    // Without a workspace Save falls through to the default processing.
    EXPECT_NE(0, appOnFrameCommand(frame, client, nullptr, 102, 0));
    EXPECT_EQ(0, appOnFrameCommand(frame, client, nullptr, 2000, 0));
    EXPECT_NE(0, appOnFrameCommand(frame, client, nullptr, 80, 0));
}

TEST_F(App, TileCascadeAndArrangeIcons)
{
    writeSettings(false);
    ASSERT_TRUE(start());
    SendMessageA(frame, WM_COMMAND, 138, 0);   // no maximised document
    MoveWindow(frame, 0, 0, 900, 700, TRUE);
    pump();
    // With no document at all the commands do nothing and are still handled.
    for (int id : {2000, 2001, 2003})
        EXPECT_EQ(0, appOnFrameCommand(frame, client, nullptr, id, 0));
    RECT r = {0, 0, 300, 200};
    HWND a = recordingDocument(&r), b = recordingDocument(&r);
    ASSERT_TRUE(a && b);
    auto rectOf = [&](HWND w) {
        RECT out;
        GetWindowRect(w, &out);
        MapWindowPoints(nullptr, client, (POINT *)&out, 2);
        return out;
    };
    SendMessageA(frame, WM_COMMAND, 2000, 0);
    RECT ra = rectOf(a), rb = rectOf(b), overlap;
    EXPECT_FALSE(IntersectRect(&overlap, &ra, &rb));
    SendMessageA(frame, WM_COMMAND, 2001, 0);
    ra = rectOf(a);
    rb = rectOf(b);
    EXPECT_FALSE(EqualRect(&ra, &rb));
    EXPECT_TRUE(IntersectRect(&overlap, &ra, &rb));
    EXPECT_NE(ra.left, rb.left);

    ShowWindow(a, SW_MINIMIZE);
    ShowWindow(b, SW_MINIMIZE);
    SetWindowPos(b, nullptr, 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT moved = rectOf(b);
    EXPECT_EQ(200, moved.left);
    SendMessageA(frame, WM_COMMAND, 2003, 0);
    rb = rectOf(b);
    EXPECT_FALSE(EqualRect(&moved, &rb));
    EXPECT_TRUE(apptest::recorded().empty());
}

TEST_F(App, ThirtyThirdDocumentIsTheLast)
{
    writeSettings(false);
    ASSERT_TRUE(start());
    ASSERT_EQ(1, docCount());
    for (int i = 0; i < 31; ++i)
        SendMessageA(frame, WM_COMMAND, 96, 0);
    ASSERT_EQ(32, docCount());
    SendMessageA(frame, WM_COMMAND, 100, 0);   // with 32 open a 33rd may still come
    ASSERT_EQ(33, docCount());

    std::string path = home.file("more.qm");
    ASSERT_TRUE(apptest::writeDocument(path));
    clrSetFileDialogHook([](HWND, ClrFileRequest &) -> BOOL {
        ADD_FAILURE() << "no file dialog may open";
        return FALSE;
    });
    long handles = qmtest::liveHandles();
    BoxRecorder boxes;
    SendMessageA(frame, WM_COMMAND, 100, 0);
    SendMessageA(frame, WM_COMMAND, 96, 0);
    SendMessageA(frame, WM_COMMAND, 101, 0);
    SendMessageA(frame, WM_COMMAND, 111, (LPARAM)utHandleFromString(path.c_str()));
    SendMessageA(frame, WM_COMMAND, 136, (LPARAM)path.c_str());
    SendMessageA(frame, WM_COMMAND, 93, 0);
    ATOM atom = GlobalAddAtomA(path.c_str());
    SendMessageA(frame, WM_COMMAND, 790, atom);
    pump();
    clrSetFileDialogHook(nullptr);
    EXPECT_EQ(33, docCount());
    EXPECT_EQ(handles, qmtest::liveHandles());   // the refused 111 freed its handle
    EXPECT_EQ(0, GlobalFindAtomA(path.c_str()));
    ASSERT_EQ(7u, boxes.count()) << boxes.texts();
    for (const auto &box : boxes.boxes()) {
        EXPECT_EQ("Quillmark Draw Error", box.caption);
        EXPECT_EQ(kTooMany, box.text);
    }
    // The history pick opens files without that test.
    EXPECT_EQ(nullptr, appFindDocWindowByFile(frame, path.c_str()));
}

TEST_F(App, OpenByPathIgnoresAnEmptyPathAndActivatesAnOpenDocument)
{
    writeSettings(false);
    ASSERT_TRUE(start());
    SendMessageA(frame, WM_COMMAND, 136, (LPARAM) "");
    SendMessageA(frame, WM_COMMAND, 136, 0);
    EXPECT_EQ(1, docCount());
    touchActiveDocument();
    std::string path = home.file("again.qm");
    ASSERT_TRUE(apptest::writeDocument(path));
    SendMessageA(frame, WM_COMMAND, 136, (LPARAM)path.c_str());
    HWND doc = appFindDocWindowByFile(frame, path.c_str());
    ASSERT_TRUE(doc != nullptr);
    SendMessageA(frame, WM_COMMAND, 96, 0);
    EXPECT_NE(doc, appGetActiveDocWindow(frame));
    std::string upper = path;
    for (char &c : upper)
        c = (char)toupper((unsigned char)c);
    SendMessageA(frame, WM_COMMAND, 136, (LPARAM)upper.c_str());
    EXPECT_EQ(3, docCount());
    EXPECT_EQ(doc, appGetActiveDocWindow(frame));
    char last[MAX_PATH];
    EXPECT_STREQ("AGAIN.QM", setGetLastFileName(last));

    // A file that is not a document is refused with the header's message
    // and the reader's.
    std::string text = home.file("notes.qm");
    ASSERT_TRUE(qmtest::writeFile(text, std::string(64, 'x')));
    BoxRecorder boxes;
    SendMessageA(frame, WM_COMMAND, 136, (LPARAM)text.c_str());
    EXPECT_EQ(3, docCount());
    EXPECT_EQ("Not a Quillmark file | Read file failed.", boxes.texts());
}

TEST_F(App, DroppedFilesOpenEachDocumentInOrder)
{
    writeSettings(false);
    ASSERT_TRUE(start());
    std::string a = home.file("a.qm"), b = home.file("b.txt"), c = home.file("c.qm");
    ASSERT_TRUE(apptest::writeDocument(a));
    ASSERT_TRUE(qmtest::writeFile(b, "plain text, not a document"));
    ASSERT_TRUE(apptest::writeDocument(c));
    RECT area, bar;
    appGetBarRect(frame, FB_CLIENT, &area);
    appGetBarRect(frame, FB_DRAW, &bar);

    // On a bar nothing is taken.
    SendMessageA(frame, WM_DROPFILES,
                 (WPARAM)apptest::dropFilesBlock({a, b, c}, {bar.left + 5, bar.top + 5}), 0);
    EXPECT_EQ(1, docCount());
    touchActiveDocument();

    SendMessageA(frame, WM_DROPFILES,
                 (WPARAM)apptest::dropFilesBlock({a, b, c}, {area.left + 20, area.top + 20}), 0);
    pump();
    EXPECT_EQ(3, docCount());
    EXPECT_TRUE(appFindDocWindowByFile(frame, a.c_str()) != nullptr);
    EXPECT_TRUE(appFindDocWindowByFile(frame, c.c_str()) != nullptr);
    EXPECT_EQ(nullptr, appFindDocWindowByFile(frame, b.c_str()));
    // Opened in drop order: the recent-file list has c in front of a.
    auto recent = [](int command) {
        MemHandle h = utGetRecentFileByCommand(command);
        MemLock<char> p(h);
        std::string s = p ? p.get() : "";
        utFreeHandle(h);
        return s;
    };
    EXPECT_EQ(0, lstrcmpiA(c.c_str(), recent(121).c_str()));
    EXPECT_EQ(0, lstrcmpiA(a.c_str(), recent(122).c_str()));
}

HFONT g_font;
int g_typeAtDestroy;
WNDPROC g_oldProc;

LRESULT CALLBACK fontWatch(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_DESTROY)
        g_typeAtDestroy = (int)GetObjectType(g_font);
    return CallWindowProcA(g_oldProc, w, m, wp, lp);
}

TEST_F(App, CloseWithoutDocumentsEndsWithExitCodeZeroAndSavesTheSettings)
{
    // A clipboard viewer before the frame: the frame hands the chain back
    // to it when it leaves.
    HWND viewer = CreateWindowA("static", "viewer", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                inst, nullptr);
    ASSERT_TRUE(viewer != nullptr);
    HWND previous = SetClipboardViewer(viewer);
    ASSERT_TRUE(start());
    EXPECT_EQ(frame, GetClipboardViewer());
    SendMessageA(frame, WM_COMMAND, 138, 0);
    ASSERT_EQ(0, docCount());
    HWND bar = appGetBarWindow(frame, FB_DRAW);
    HFONT font = appGetFrameFont();
    ASSERT_EQ(OBJ_FONT, (int)GetObjectType(font));
    // The bars still have their font while they go.
    g_font = font;
    g_typeAtDestroy = -1;
    g_oldProc = (WNDPROC)SetWindowLongPtrA(bar, GWLP_WNDPROC, (LONG_PTR)fontWatch);
    PostMessageA(frame, WM_COMMAND, 109, 0);   // File, Exit
    pump();
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_TRUE(quit);
    EXPECT_EQ(0, quitCode);
    EXPECT_EQ(OBJ_FONT, g_typeAtDestroy);
    EXPECT_EQ(0, (int)GetObjectType(font));   // deleted once they were gone
    EXPECT_TRUE(ffExists(home.file("~qmsetup").c_str()));
    EXPECT_TRUE(ffExists(home.file("vellum.pal").c_str()));
    EXPECT_EQ(nullptr, appGetFrameWindow());
    EXPECT_EQ(viewer, GetClipboardViewer());
    ChangeClipboardChain(viewer, previous);
    DestroyWindow(viewer);
}

TEST_F(App, CancellingTheSaveQuestionKeepsTheFrameAndWritesNothing)
{
    ASSERT_TRUE(start());
    HWND ws = appGetActiveWorkspace();
    ASSERT_TRUE(ws != nullptr);
    wsMarkModified(ws);
    char title[128];
    GetWindowTextA(wsGetDocWindow(ws), title, sizeof(title));
    EXPECT_STREQ("Untitled - Page 1 of 1  *", title);
    {
        BoxRecorder boxes;
        boxes.answer(IDCANCEL);
        SendMessageA(frame, WM_CLOSE, 0, 0);
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Save changes to the current document?", boxes.last().text);
        EXPECT_EQ("Quillmark Draw Message", boxes.last().caption);
        EXPECT_EQ((UINT)(MB_YESNOCANCEL | MB_ICONQUESTION), boxes.last().flags);
    }
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_EQ(1, docCount());
    EXPECT_FALSE(ffExists(home.file("~qmsetup").c_str()));
    EXPECT_NE(0, GetWindowLongA(frame, FRAME_LONG_RECORD));
    {
        BoxRecorder boxes;
        boxes.answer(IDNO);
        SendMessageA(frame, WM_CLOSE, 0, 0);
    }
    pump();
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_TRUE(ffExists(home.file("~qmsetup").c_str()));
}

TEST_F(App, SessionEndOnlyAsksThenTearsDownWhenItEnds)
{
    ASSERT_TRUE(start());
    HWND ws = appGetActiveWorkspace();
    wsMarkModified(ws);
    {
        BoxRecorder boxes;
        boxes.answer(IDCANCEL);
        EXPECT_EQ(0, SendMessageA(frame, WM_QUERYENDSESSION, 0, 0));
        EXPECT_EQ(1u, boxes.count());
    }
    {
        BoxRecorder boxes;
        boxes.answer(IDNO);
        EXPECT_NE(0, SendMessageA(frame, WM_QUERYENDSESSION, 0, 0));
    }
    // The session may still go on: nothing is closed or written yet.
    EXPECT_EQ(1, docCount());
    EXPECT_TRUE(IsWindow(ws));
    EXPECT_FALSE(ffExists(home.file("~qmsetup").c_str()));
    EXPECT_NE(0, GetWindowLongA(frame, FRAME_LONG_RECORD));
    EXPECT_GE(appGetBarBits(frame), 0);

    SendMessageA(frame, WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(ffExists(home.file("~qmsetup").c_str()));
    SendMessageA(frame, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(ffExists(home.file("~qmsetup").c_str()));
    EXPECT_EQ(0, GetWindowLongA(frame, FRAME_LONG_RECORD));
    EXPECT_EQ(-1, appGetBarBits(frame));
}

TEST_F(App, MenuLanguageSwitch)
{
    ASSERT_TRUE(start());
    HMENU before = GetMenu(frame);
    ASSERT_TRUE(before != nullptr);
    EXPECT_FALSE(appSetMenuLanguage(frame, 1925));   // not a menu language command
    EXPECT_EQ(before, GetMenu(frame));
    char name[MAX_PATH];
    EXPECT_STREQ("ridevi", appGetMenuLanguageName(name));

    SendMessageA(frame, WM_COMMAND, 1919, 0);
    HMENU after = GetMenu(frame);
    EXPECT_NE(before, after);
    EXPECT_FALSE(IsMenu(before));
    EXPECT_STREQ("ridevi", appGetMenuLanguageName(name));
    EXPECT_EQ(1u, setGetNumber("MenuLanguage_id"));
    // The document windows are listed in the new menu's "&Win" pop-up
    // (found by its first item: a maximised document adds its own items to
    // the menu bar).
    HMENU win = nullptr;
    for (int i = 0; i < GetMenuItemCount(after); ++i)
        if (HMENU sub = GetSubMenu(after, i))
            if (GetMenuItemID(sub, 0) == 2000)
                win = sub;
    ASSERT_TRUE(win != nullptr);
    EXPECT_GT(GetMenuItemCount(win), 4);
}

TEST_F(App, ReaderOnTheCurrentDocumentNeedsASavedFile)
{
    ASSERT_TRUE(start());
    static std::vector<std::string> s_lines;
    s_lines.clear();
    appSetExecHook([](const char *line, UINT) -> UINT {
        s_lines.push_back(line);
        return 33;
    });
    {
        BoxRecorder boxes;
        SendMessageA(frame, WM_COMMAND, 1123, 0);
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("You must save the current form first.", boxes.last().text);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONINFORMATION), boxes.last().flags);
    }
    EXPECT_TRUE(s_lines.empty());
    std::string path = home.file("saved.qm");
    ASSERT_TRUE(apptest::writeDocument(path));
    SendMessageA(frame, WM_COMMAND, 136, (LPARAM)path.c_str());
    SendMessageA(frame, WM_COMMAND, 1123, 0);
    SendMessageA(frame, WM_COMMAND, 603, 0);
    appSetExecHook(nullptr);
    char reader[MAX_PATH];
    appGetReaderPath(reader);
    ASSERT_EQ(2u, s_lines.size());
    EXPECT_EQ(std::string(reader) + " " + path, s_lines[0]);
    EXPECT_EQ(reader, s_lines[1]);
}

TEST_F(App, HistoryCommands)
{
    ASSERT_TRUE(start());
    {
        BoxRecorder boxes;
        SendMessageA(frame, WM_COMMAND, 1120, 0);
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("No items in the history list.", boxes.last().text);
    }
    std::string path = home.file("history.qm");
    ASSERT_TRUE(apptest::writeDocument(path));
    SendMessageA(frame, WM_COMMAND, 136, (LPARAM)path.c_str());
    std::string log = home.file("~qmflist2.txt");
    ASSERT_TRUE(ffExists(log.c_str()));
    // Picked from the "History" dialog, the file comes forward again.
    SendMessageA(frame, WM_COMMAND, 96, 0);
    HWND newest = appGetActiveDocWindow(frame);
    std::vector<std::string> lines;
    {
        qmtest::DialogDriver drive({[&](HWND d) {
            lines = qmtest::readList(d, 1000);
            qmtest::chooseItem(d, 1000, 0);
            qmtest::pressButton(d, IDOK);
        }});
        SendMessageA(frame, WM_COMMAND, 1120, 0);
    }
    ASSERT_EQ(1u, lines.size());
    EXPECT_STRCASEEQ(path.c_str(), utHistoryLinePath(lines[0].c_str()));
    EXPECT_NE(newest, appGetActiveDocWindow(frame));
    EXPECT_EQ(appFindDocWindowByFile(frame, path.c_str()), appGetActiveDocWindow(frame));
    {
        BoxRecorder boxes;
        boxes.answer(IDCANCEL);
        SendMessageA(frame, WM_COMMAND, 1121, 0);
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Are you sure you want to clear the history?", boxes.last().text);
        EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONQUESTION), boxes.last().flags);
    }
    EXPECT_TRUE(ffExists(log.c_str()));
    {
        BoxRecorder boxes;
        boxes.answer(IDOK);
        SendMessageA(frame, WM_COMMAND, 1121, 0);
    }
    EXPECT_FALSE(ffExists(log.c_str()));
}

}  // namespace
