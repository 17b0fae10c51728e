// The data viewer (closing, appending, saving and clearing its text) and the
// one-line command edit.
#include "tests/support/kit.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/win_datawin.h"
#include "support/win_filedlg.h"
#include <set>
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;

BOOL CALLBACK listWindow(HWND w, LPARAM lParam)
{
    ((std::set<HWND> *)lParam)->insert(w);
    return TRUE;
}
std::set<HWND> threadWindows()
{
    std::set<HWND> all;
    EnumThreadWindows(GetCurrentThreadId(), listWindow, (LPARAM)&all);
    return all;
}

std::string viewerText()
{
    char text[256];
    winDataWindowGetText(text, sizeof text);
    return text;
}

TEST(DataViewer, AppendWithoutAViewerCreatesNothing)
{
    winCloseDataWindow();
    const std::set<HWND> before = threadWindows();
    EXPECT_FALSE(winDataWindowAppend("lost"));
    winDataWindowSetText("lost too");
    EXPECT_EQ(before, threadWindows());
}

TEST(DataViewer, ClosedWithItsCloseBoxItIsForgotten)
{
    winCloseDataWindow();
    HWND viewer = winGetDataWindow(nullptr, nullptr);
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(winDataWindowAppend("one"));
    EXPECT_EQ("one", viewerText());
    SendMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(viewer));
    const std::set<HWND> before = threadWindows();
    EXPECT_FALSE(winDataWindowAppend("two"));
    EXPECT_EQ(before, threadWindows()) << "no new window";
    EXPECT_EQ("", viewerText());
    // The next request makes a new viewer.
    HWND again = winGetDataWindow(nullptr, nullptr);
    ASSERT_TRUE(again);
    EXPECT_TRUE(winDataWindowAppend("three"));
    EXPECT_EQ("three", viewerText());
    winCloseDataWindow();
    EXPECT_FALSE(IsWindow(again));
}

std::string g_savePath;
BOOL answerSave(HWND, WinFileDlgRequest &request)
{
    EXPECT_TRUE(request.save);
    EXPECT_STREQ("Save As", request.caption);
    EXPECT_STREQ("txt", request.defExt);
    strcpy(request.path, g_savePath.c_str());
    return TRUE;
}

std::string fileText(const std::string &path)
{
    const std::vector<uint8_t> bytes = qmtest::readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// The viewer's menu: Save writes the text to the chosen file; a file that
// cannot be written is reported; Clear empties the text.
TEST(DataViewer, SaveAndClearFromItsMenu)
{
    qmtest::TempDir dir;
    g_savePath = dir.file("data.txt");
    winSetFileDlgHook(answerSave);
    winCloseDataWindow();
    HWND viewer = winGetDataWindow(nullptr, nullptr);
    ASSERT_TRUE(viewer);
    HMENU menu = GetMenu(viewer);
    ASSERT_TRUE(menu);
    EXPECT_EQ(100u, GetMenuItemID(menu, 0));
    EXPECT_EQ(120u, GetMenuItemID(menu, 1));
    winDataWindowSetText("line 1\r\nline 2");
    BoxRecorder boxes;
    SendMessageA(viewer, WM_COMMAND, 100, 0);
    EXPECT_EQ("line 1\r\nline 2", fileText(g_savePath));
    EXPECT_EQ(0u, boxes.count());

    // Over an existing file: asked first; Cancel leaves the file.
    winDataWindowSetText("new");
    boxes.answer(IDCANCEL);
    SendMessageA(viewer, WM_COMMAND, 100, 0);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_NE(std::string::npos, boxes.last().text.find("exists"));
    EXPECT_EQ("line 1\r\nline 2", fileText(g_savePath));

    // A write that goes short is reported.
    boxes.clear();
    boxes.answer(IDOK);
    ffSetWriteFault(FF_FAULT_SHORT, 1);
    SendMessageA(viewer, WM_COMMAND, 100, 0);
    ffSetWriteFault(FF_FAULT_NONE, 0);
    ASSERT_EQ(2u, boxes.count()) << boxes.texts();
    EXPECT_EQ("Error writing file\r\n  " + g_savePath, boxes.last().text);

    // Clear; an empty text is not saved.
    SendMessageA(viewer, WM_COMMAND, 120, 0);
    EXPECT_EQ("", viewerText());
    boxes.clear();
    ffDelete(g_savePath.c_str());
    SendMessageA(viewer, WM_COMMAND, 100, 0);
    EXPECT_FALSE(ffExists(g_savePath.c_str()));
    EXPECT_EQ(0u, boxes.count());
    winCloseDataWindow();
    winSetFileDlgHook(nullptr);
}

TEST(DataViewer, ChildTextOfAnyWindow)
{
    HWND owner = CreateWindowA("STATIC", "", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr,
                               nullptr, nullptr);
    RECT r = {0, 0, 200, 100};
    HWND window = winCreateTextWindow(owner, "T", &r, 0, nullptr, FALSE, TRUE);
    ASSERT_TRUE(window);
    EXPECT_EQ(0u, winGetChildTextHandle(window)) << "empty";
    EXPECT_TRUE(winAppendChildText(window, "ab"));
    EXPECT_TRUE(winAppendChildText(window, "cd"));
    MemHandle h = winGetChildTextHandle(window);
    {
        MemLock<char> p(h);
        ASSERT_TRUE(p);
        EXPECT_STREQ("abcd", p.get());
    }
    utFreeHandle(h);
    EXPECT_FALSE(winAppendChildText(owner, "x")) << "no child";
    EXPECT_EQ(0u, winGetChildTextHandle(nullptr));
    DestroyWindow(window);
    DestroyWindow(owner);
}

// ---- the command line edit -----------------------------------------------------------

struct Command {
    int id;
    std::string text;   // the edit's text as the parent read it
};
std::vector<Command> g_commands;

LRESULT CALLBACK parentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    // The edit's own notifications (EN_CHANGE and the like) are not
    // commands.
    if (msg == WM_COMMAND && HIWORD(wp) == 0) {
        std::string text;
        if (MemHandle h = winGetChildTextHandle(w)) {
            MemLock<char> p(h);
            text = p.get();
        }
        g_commands.push_back({LOWORD(wp), text});
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

HWND commandParent()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = parentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "qm_test_cmdparent";
    RegisterClassA(&wc);
    return CreateWindowA("qm_test_cmdparent", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

std::string editText(HWND edit)
{
    char text[64] = {};
    GetWindowTextA(edit, text, sizeof text);
    return text;
}

TEST(CommandEdit, EnterAndEscapeReportToTheParent)
{
    HWND parent = commandParent();
    ASSERT_TRUE(parent);
    RECT r = {0, 0, 200, 20};
    HWND edit = winCreateCommandEdit(parent, &r, 7, 555, nullptr);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit, winCreateCommandEdit(parent, &r, 8, 556, nullptr)) << "made once";
    EXPECT_EQ(7, GetDlgCtrlID(edit));
    EXPECT_TRUE(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    g_commands.clear();
    SetWindowTextA(edit, "zoom 200");
    SendMessageA(edit, WM_CHAR, VK_RETURN, 0);
    ASSERT_EQ(1u, g_commands.size());
    EXPECT_EQ(555, g_commands[0].id);
    EXPECT_EQ("zoom 200", g_commands[0].text) << "read before the line is cleared";
    EXPECT_EQ("", editText(edit));

    g_commands.clear();
    SetWindowTextA(edit, "half typed");
    SendMessageA(edit, WM_CHAR, VK_ESCAPE, 0);
    ASSERT_EQ(2u, g_commands.size());
    EXPECT_EQ(555, g_commands[0].id);
    EXPECT_EQ(918, g_commands[1].id);
    EXPECT_EQ("", g_commands[1].text);
    EXPECT_EQ("", editText(edit));

    // Other keys reach the edit.
    g_commands.clear();
    SendMessageA(edit, WM_CHAR, 'a', 0);
    EXPECT_EQ("a", editText(edit));
    EXPECT_TRUE(g_commands.empty());

    winDestroyCommandEdit();
    EXPECT_FALSE(IsWindow(edit));
    winDestroyCommandEdit();   // twice: harmless
    HWND again = winCreateCommandEdit(parent, &r, 7, 557, nullptr);
    ASSERT_TRUE(again);
    SendMessageA(again, WM_CHAR, VK_RETURN, 0);
    ASSERT_FALSE(g_commands.empty());
    EXPECT_EQ(557, g_commands.back().id);
    // Destroyed with its parent: forgotten, and a later destroy is harmless.
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(again));
    winDestroyCommandEdit();
}

}  // namespace
