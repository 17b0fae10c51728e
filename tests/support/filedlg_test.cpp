// The common file dialogs: filter helpers and the preparation each dialog
// makes before it runs, seen through the scripted replacement.
#include "tests/support/kit.h"
#include "support/settings_reg.h"
#include "support/ut_mem.h"
#include "support/win_filedlg.h"
#include <commdlg.h>
#include <string.h>
#include <string>

namespace {

// "Text|*.txt|All|*.*|" with its bars turned into NULs.
std::string filterOf(const char *bars)
{
    std::string f = bars;
    f.push_back('\0');
    utFilterBarsToNul(&f[0]);
    return f;
}

// What the scripted dialog saw, and what it answers.
struct Seen {
    bool called = false;
    bool save = false;
    std::string caption, path, defExt, folder, custom;
    int index = -1;
    DWORD flags = 0;
};
Seen g_seen;
std::string g_answer;   // empty: the user cancels

BOOL script(HWND, WinFileDlgRequest &r)
{
    g_seen.called = true;
    g_seen.save = r.save;
    g_seen.caption = r.caption ? r.caption : "";
    g_seen.path = r.path;
    g_seen.defExt = r.defExt ? r.defExt : "";
    g_seen.folder = r.initialFolder ? r.initialFolder : "";
    g_seen.custom.clear();
    if (const char *c = r.customFilter) {
        size_t a = strlen(c);
        g_seen.custom.assign(c, a + 1 + strlen(c + a + 1));   // both texts, NUL between
    }
    g_seen.index = r.filterIndex;
    g_seen.flags = r.flags;
    if (g_answer.empty())
        return FALSE;
    utStrCopyN(r.path, g_answer.c_str(), 260);
    return TRUE;
}

class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_seen = Seen();
        g_answer.clear();
        winSetFileDlgHook(script);
    }
    void TearDown() override { winSetFileDlgHook(nullptr); }
    std::string docFilter = filterOf("Quillmark Files (*.qm)|*.qm|All(*.*)|*.*|");
};

TEST(FileDialogFilters, PatternsAndTheirEntries)
{
    std::string f = filterOf("Text|*.txt|All|*.*|");
    EXPECT_EQ('\0', f[4]);
    EXPECT_EQ(1, utFilterIndex(f.c_str(), "*.TXT"));
    EXPECT_EQ(2, utFilterIndex(f.c_str(), "*.*"));
    EXPECT_EQ(0, utFilterIndex(f.c_str(), "*.qm"));
    EXPECT_EQ(0, utFilterIndex(f.c_str(), ""));
    EXPECT_EQ(0, utFilterIndex("", "*.txt"));

    struct Case {
        const char *path, *pattern;
    } cases[] = {{"C:\\docs\\a.qm", "*.qm"}, {"b.Dll", "*.Dll"}, {"C:\\docs\\plain", "*."},
                 {"C:\\dot.dir\\plain", "*."}, {"", "*."}};
    for (const Case &c : cases) {
        char out[260];
        EXPECT_EQ(1, utPatternOfPath(out, c.path));
        EXPECT_STREQ(c.pattern, out) << c.path;
    }
}

TEST_F(FileDialogs, OpenStartsInTheFolderOrHomeWithTheExtensionsPattern)
{
    char path[260] = "";
    EXPECT_FALSE(winOpenFileDlg(nullptr, "Open File", path, "txt", docFilter.c_str()));
    ASSERT_TRUE(g_seen.called);
    EXPECT_FALSE(g_seen.save);
    EXPECT_EQ("Open File", g_seen.caption);
    EXPECT_EQ("*.txt", g_seen.path);
    char home[260];
    EXPECT_EQ(setGetHomeDir(home), g_seen.folder);
    EXPECT_TRUE(g_seen.flags & OFN_FILEMUSTEXIST);
    EXPECT_TRUE(g_seen.flags & OFN_HIDEREADONLY);
    EXPECT_STREQ("", path);   // cancelled: the caller's buffer as it was

    qmtest::TempDir dir;
    strcpy(path, dir.file("start.qm").c_str());
    g_answer = dir.file("chosen.qm");
    EXPECT_TRUE(winOpenFileDlg(nullptr, "Open File", path, "qm", docFilter.c_str()));
    EXPECT_EQ(dir.path() + "\\", g_seen.folder);
    EXPECT_EQ("*.qm", g_seen.path);
    EXPECT_EQ(g_answer, path);

    // A default extension of four characters or more presets nothing.
    path[0] = 0;
    g_answer.clear();
    winOpenFileDlg(nullptr, "Open", path, "html", docFilter.c_str());
    EXPECT_EQ("", g_seen.path);
}

TEST_F(FileDialogs, OpenOnAHandleFreesItWhenCancelled)
{
    long before = qmtest::liveHandles();
    MemHandle h = utHandleFromString("C:\\x\\y.qm");
    EXPECT_FALSE(winOpenFileDlgH(nullptr, "Open", &h, "qm", docFilter.c_str()));
    EXPECT_EQ(0u, h);
    EXPECT_EQ(before, qmtest::liveHandles());

    g_answer = "C:\\somewhere\\chosen.qm";
    EXPECT_TRUE(winOpenFileDlgH(nullptr, "Open", &h, "qm", docFilter.c_str()));
    ASSERT_NE(0u, h);
    EXPECT_GE(utHandleSize(h), 260u);
    {
        MemLock<char> p(h);
        EXPECT_STREQ("C:\\somewhere\\chosen.qm", p.get());
    }
    utFreeHandle(h);
}

TEST_F(FileDialogs, SaveChoosesTheFilterEntryOfTheExtension)
{
    struct Case {
        const char *path;
        int index;
        const char *custom;   // the custom filter's two texts joined by "|", or ""
    } cases[] = {
        {"C:\\docs\\qmDoc1.qm", 1, ""},
        {"C:\\docs\\picture.BMP", 0, "(*.BMP)|*.BMP"},
        {"C:\\docs\\plain", 0, "(*.)|*."},
    };
    for (const Case &c : cases) {
        g_seen = Seen();
        char path[260];
        strcpy(path, c.path);
        EXPECT_FALSE(winSaveFileDlg(nullptr, "Save As", path, "qm", docFilter.c_str()));
        EXPECT_TRUE(g_seen.save);
        EXPECT_EQ(c.path, g_seen.path);
        EXPECT_EQ(c.index, g_seen.index) << c.path;
        std::string custom = g_seen.custom;
        for (char &ch : custom)
            if (ch == '\0')
                ch = '|';
        EXPECT_EQ(c.custom, custom) << c.path;
        // A new name must be possible: the file need not exist.
        EXPECT_FALSE(g_seen.flags & OFN_FILEMUSTEXIST);
        EXPECT_TRUE(g_seen.flags & OFN_PATHMUSTEXIST);
        EXPECT_STREQ(c.path, path);
    }
    // An empty path: the entry of the default extension.
    char empty[260] = "";
    winSaveFileDlg(nullptr, "Save As", empty, "qm", docFilter.c_str());
    EXPECT_EQ(1, g_seen.index);
}

TEST_F(FileDialogs, SaveOnAFolderStartsThereWithAnEmptyName)
{
    qmtest::TempDir dir;
    char path[260];
    strcpy(path, (dir.path() + "\\").c_str());
    g_answer = dir.file("new name.qm");
    EXPECT_TRUE(winSaveFileDlg(nullptr, "Save As", path, "qm", docFilter.c_str()));
    EXPECT_EQ("", g_seen.path);
    EXPECT_EQ(dir.path() + "\\", g_seen.folder);
    EXPECT_EQ(g_answer, path);

    // In the folder of a path, with its name.
    strcpy(path, dir.file("named.qm").c_str());
    g_answer.clear();
    EXPECT_FALSE(winSaveFileDlgInFolder(nullptr, "Save", path, "qm", docFilter.c_str()));
    EXPECT_EQ("named.qm", g_seen.path);
    EXPECT_EQ(dir.path() + "\\", g_seen.folder);
}

}  // namespace
