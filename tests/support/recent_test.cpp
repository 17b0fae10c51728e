// Numbered setting lists, the recent-file list with its menu items, and the
// file history log.
#include "tests/support/kit.h"
#include "support/ut_recent.h"
#include "support/ut_history.h"
#include "support/ut_mem.h"
#include "support/rc_list.h"
#include "support/settings_reg.h"
#include <string.h>
#include <regex>
#include <string>
#include <vector>

using qmtest::TempDir;

namespace {

const char kList[] = "QmTestList";

std::string setting(const std::string &name)
{
    char buf[260];
    setGetString(name.c_str(), buf);
    return buf;
}

std::string slot(int i) { return std::string(kList) + std::to_string(i); }

std::vector<std::string> listEntries(MemHandle list)
{
    std::vector<std::string> out;
    MemLock<char> p(list);
    if (!p)
        return out;
    std::string s(p.get());
    size_t pos = 0;
    while (pos < s.size()) {
        size_t end = s.find('\r', pos);
        if (end == std::string::npos)
            end = s.size();
        if (end > pos)
            out.push_back(s.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

std::vector<std::string> readList(const char *name, int n)
{
    MemHandle h = utReadNumberedList(name, n);
    std::vector<std::string> out = listEntries(h);
    utFreeHandle(h);
    return out;
}

typedef std::vector<std::string> Strings;

// A folder with files a.qm .. e.qm, and empty settings for the test list.
class NumberedList : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *n : {"a", "b", "c", "d", "e"}) {
            files.push_back(dir.file(std::string(n) + ".qm"));
            ASSERT_TRUE(qmtest::writeFile(files.back(), std::string("x")));
        }
        utWriteNumberedList(kList, 8, 0);
        utWriteNumberedList("File", 8, 0);
    }
    TempDir dir;
    Strings files;
};

MemHandle listOf(const Strings &items)
{
    MemHandle list = 0;
    for (const std::string &item : items)
        list = rcListAppend(list, '\r', item.c_str());
    return list;
}

TEST_F(NumberedList, WritesInOrderAndClearsTheRemainingSlots)
{
    for (int i = 1; i <= 5; ++i)
        setPutString(slot(i).c_str(), "stale");
    MemHandle list = listOf({files[2], files[0], files[1]});
    EXPECT_EQ(1, utWriteNumberedList(kList, 5, list));
    utFreeHandle(list);
    EXPECT_EQ(files[2], setting(slot(1)));
    EXPECT_EQ(files[0], setting(slot(2)));
    EXPECT_EQ(files[1], setting(slot(3)));
    EXPECT_EQ("", setting(slot(4)));
    EXPECT_EQ("", setting(slot(5)));
    EXPECT_EQ((Strings{files[2], files[0], files[1]}), readList(kList, 5));

    // At most n slots are written; the rest of the list is dropped.
    list = listOf(files);
    utWriteNumberedList(kList, 2, list);
    utFreeHandle(list);
    EXPECT_EQ((Strings{files[0], files[1]}), readList(kList, 2));

    // An entry longer than a path is cut to 259 characters.
    std::string longEntry(300, 'q');
    list = listOf({longEntry});
    utWriteNumberedList(kList, 1, list);
    utFreeHandle(list);
    EXPECT_EQ(longEntry.substr(0, 259), setting(slot(1)));
}

TEST_F(NumberedList, EntriesOfDeletedFilesDropOutAndTheSettingsAreRewritten)
{
    setPutString(slot(1).c_str(), files[0].c_str());
    setPutString(slot(2).c_str(), files[1].c_str());
    setPutString(slot(3).c_str(), "");
    setPutString(slot(4).c_str(), files[2].c_str());
    ASSERT_TRUE(DeleteFileA(files[1].c_str()));

    EXPECT_EQ((Strings{files[0], files[2]}), readList(kList, 8));
    EXPECT_EQ(files[0], setting(slot(1)));
    EXPECT_EQ(files[2], setting(slot(2)));
    EXPECT_EQ("", setting(slot(3)));
    EXPECT_EQ("", setting(slot(4)));

    char first[260];
    EXPECT_TRUE(utGetFirstNumbered(kList, 8, first));
    EXPECT_EQ(files[0], first);
    ASSERT_TRUE(DeleteFileA(files[0].c_str()));
    ASSERT_TRUE(DeleteFileA(files[2].c_str()));
    EXPECT_FALSE(utGetFirstNumbered(kList, 8, first));
    EXPECT_STREQ("", first);
    EXPECT_EQ(0u, utReadNumberedList(kList, 8));
}

TEST_F(NumberedList, PushFrontMovesAnEqualEntryWithoutDuplicatingIt)
{
    for (const std::string &f : files)
        EXPECT_TRUE(utListPushFront(kList, 3, f.c_str()));
    // Only the last three are kept, most recent first.
    EXPECT_EQ((Strings{files[4], files[3], files[2]}), readList(kList, 3));

    // The same path in other letter case, with blanks and a "..": moved to
    // the front in its normalised form.
    std::string upper = files[2];
    for (char &c : upper)
        c = (char)toupper((unsigned char)c);
    std::string spelled = "  " + dir.path() + "\\sub\\..\\" + upper.substr(dir.path().size() + 1) + " ";
    EXPECT_TRUE(utListPushFront(kList, 3, spelled.c_str()));
    Strings got = readList(kList, 3);
    ASSERT_EQ(3u, got.size());
    EXPECT_EQ(dir.path() + "\\" + upper.substr(dir.path().size() + 1), got[0]);
    EXPECT_EQ(files[4], got[1]);
    EXPECT_EQ(files[3], got[2]);

    EXPECT_FALSE(utListPushFront(kList, 3, ""));
    EXPECT_FALSE(utListPushFront(kList, 3, "   "));
    EXPECT_EQ(3u, readList(kList, 3).size());

    EXPECT_TRUE(utListRemove(kList, 3, files[4].c_str()));
    EXPECT_EQ((Strings{got[0], files[3]}), readList(kList, 3));
    EXPECT_FALSE(utListRemove(kList, 3, files[0].c_str()));
}

TEST_F(NumberedList, PushFrontUnderMemoryShortageKeepsTheStoredList)
{
    utListPushFront(kList, 8, files[0].c_str());
    utListPushFront(kList, 8, files[1].c_str());
    {
        qmtest::BoxRecorder boxes;
        utFailNextAllocs(1000);
        EXPECT_FALSE(utListPushFront(kList, 8, files[0].c_str()));
        utFailNextAllocs(0);
    }
    EXPECT_EQ((Strings{files[1], files[0]}), readList(kList, 8));
}

TEST_F(NumberedList, EntriesByCommandId)
{
    utListPushFront(kList, 8, files[1].c_str());
    utListPushFront(kList, 8, files[0].c_str());
    char buf[260];
    struct Case {
        int command;
        const char *expected;   // null: no entry
    } cases[] = {{121, files[0].c_str()}, {122, files[1].c_str()}, {123, nullptr},
                 {120, nullptr},          {129, nullptr}};
    for (const Case &c : cases) {
        BOOL found = utListGetByCommand(kList, 8, 121, c.command, buf);
        MemHandle h = utListGetHandleByCommand(kList, 8, 121, c.command);
        if (c.expected) {
            EXPECT_TRUE(found) << c.command;
            EXPECT_STREQ(c.expected, buf);
            MemLock<char> p(h);
            ASSERT_TRUE(p);
            EXPECT_STREQ(c.expected, p.get());
        } else {
            EXPECT_FALSE(found) << c.command;
            EXPECT_EQ(0u, h);
        }
        utFreeHandle(h);
    }
}

TEST_F(NumberedList, MenuItemsForExistingFilesInLowerCase)
{
    HMENU menu = CreatePopupMenu();
    EXPECT_EQ(0, utAppendRecentMenu(kList, 8, menu, 121));
    EXPECT_EQ(0, GetMenuItemCount(menu));   // no separator for an empty list

    std::string mixed = dir.file("MiXed.QM");
    ASSERT_TRUE(qmtest::writeFile(mixed, std::string("x")));
    utListPushFront(kList, 8, files[0].c_str());
    utListPushFront(kList, 8, mixed.c_str());
    EXPECT_EQ(2, utAppendRecentMenu(kList, 8, menu, 121));
    ASSERT_EQ(3, GetMenuItemCount(menu));
    EXPECT_TRUE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_SEPARATOR);
    char item[300];
    GetMenuStringA(menu, 1, item, sizeof(item), MF_BYPOSITION);
    std::string lower = mixed;
    for (char &c : lower)
        c = (char)tolower((unsigned char)c);
    EXPECT_EQ("&1. " + lower, item);
    EXPECT_EQ(121u, GetMenuItemID(menu, 1));
    GetMenuStringA(menu, 2, item, sizeof(item), MF_BYPOSITION);
    std::string lower0 = files[0];
    for (char &c : lower0)
        c = (char)tolower((unsigned char)c);
    EXPECT_EQ("&2. " + lower0, item);
    EXPECT_EQ(122u, GetMenuItemID(menu, 2));
    DestroyMenu(menu);
}

TEST_F(NumberedList, RecentFilesKeepTheirListAndTheHistoryLog)
{
    std::string listFile = dir.file("~qmflist2.ini");
    utInitRecentFiles(nullptr, listFile.c_str(), 0, 121, 8, TRUE);
    EXPECT_TRUE(utAddRecentFile(files[0].c_str()));
    EXPECT_TRUE(utAddRecentFile(files[1].c_str()));
    EXPECT_EQ(files[1], setting("File1"));
    EXPECT_EQ(files[0], setting("File2"));

    char first[260];
    EXPECT_TRUE(utGetFirstRecentFile(first));
    EXPECT_EQ(files[1], first);
    MemHandle h = utGetRecentFileByCommand(122);
    {
        MemLock<char> p(h);
        ASSERT_TRUE(p);
        EXPECT_EQ(files[0], p.get());
    }
    utFreeHandle(h);
    HMENU menu = CreatePopupMenu();
    EXPECT_EQ(2, utAddRecentFilesToMenu(menu));
    DestroyMenu(menu);

    // Two dated lines in the log beside the list file, in the order added.
    std::vector<uint8_t> log = qmtest::readFile(dir.file("~qmflist2.txt"));
    std::string text(log.begin(), log.end());
    std::regex line(R"(\d\d/\d\d/\d\d \d\d:\d\d:\d\d [AP]M (.*)\r\n)");
    std::vector<std::string> logged;
    for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it)
        logged.push_back((*it)[1]);
    EXPECT_EQ((Strings{files[0], files[1]}), logged) << text;

    EXPECT_TRUE(utRemoveRecentFile(files[1].c_str()));
    EXPECT_TRUE(utGetFirstRecentFile(first));
    EXPECT_EQ(files[0], first);

    utEndRecentFiles();
    EXPECT_TRUE(utAddRecentFile(files[2].c_str()));   // the list still works, unlogged
    EXPECT_EQ(log.size(), qmtest::readFile(dir.file("~qmflist2.txt")).size());
}

TEST(History, SwitchPathAndClear)
{
    TempDir dir;
    std::string log = dir.file("history.txt");
    utHistoryEnable(FALSE);
    utHistorySetPath(log.c_str());
    EXPECT_FALSE(utHistoryAdd("D:\\a.qm"));   // no path was kept
    utHistoryEnable(TRUE);
    utHistorySetPath(log.c_str());
    EXPECT_TRUE(utHistoryAdd("D:\\a.qm"));
    EXPECT_TRUE(utHistoryAdd("D:\\b.qm"));
    std::vector<uint8_t> bytes = qmtest::readFile(log);
    std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(std::string::npos, text.find(" D:\\a.qm\r\n"));
    EXPECT_NE(std::string::npos, text.find(" D:\\b.qm\r\n"));
    utHistoryClear();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(log.c_str()));
    utHistoryFree();
    EXPECT_FALSE(utHistoryAdd("D:\\c.qm"));
}

}  // namespace
