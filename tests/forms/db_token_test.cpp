// Database token files: writing, reading, the accepted first lines, damaged
// tokens, data-source names, and the "Database Token Editor".
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "tests/model/pg_kit.h"
#include "forms/db_token.h"
#include "support/ff_file.h"
#include "support/settings_reg.h"
#include "support/ut_path.h"
#include "support/win_filedlg.h"

namespace {

using qmtest::BoxRecorder;
using qmtest::TempDir;

std::string fileText(const std::string &path)
{
    std::vector<uint8_t> b = qmtest::readFile(path);
    return std::string(b.begin(), b.end());
}

TEST(DbToken, WritesTheTwoLines)
{
    TempDir dir;
    const std::string token = dir.file("main.tkn");
    ASSERT_EQ(1, dbWriteToken(token.c_str(), "data.xdb"));
    EXPECT_EQ("[file type = dbtoken]\r\ndata.xdb", fileText(token));
    char database[DB_TOKEN_LINE_SIZE];
    BoxRecorder boxes;
    ASSERT_EQ(1, dbReadTokenDatabase(nullptr, token.c_str(), database, sizeof database, TRUE));
    EXPECT_STREQ("data.xdb", database);
    EXPECT_TRUE(qmtest::fileIsClosed(token));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
}

TEST(DbToken, FailedWriteKeepsTheOldFile)
{
    TempDir dir;
    const std::string token = dir.file("main.tkn");
    ASSERT_EQ(1, dbWriteToken(token.c_str(), "old.xdb"));
    ffSetWriteFault(FF_FAULT_DISK_FULL, 10);
    EXPECT_EQ(0, dbWriteToken(token.c_str(), "new.xdb"));
    ffSetWriteFault(FF_FAULT_NONE, 0);
    EXPECT_EQ("[file type = dbtoken]\r\nold.xdb", fileText(token));
    EXPECT_EQ(0, dbWriteToken(dir.file("no\\such\\folder\\a.tkn").c_str(), "x.xdb"));
}

TEST(DbToken, Paths)
{
    for (const char *yes : {"a.tkn", "A.TKN", "d:\\x.y\\a.Tkn"})
        EXPECT_EQ(1, dbIsTokenPath(yes)) << yes;
    for (const char *no : {"a.tkn2", "tkn", "a.xdb", "a.tk", ""})
        EXPECT_EQ(0, dbIsTokenPath(no)) << no;
}

TEST(DbToken, FirstLines)
{
    const struct {
        const char *first;
        bool accepted;
    } lines[] = {
        {"[file type = dbtoken]", true},  {"[FILE TYPE = DBTOKEN]", true},
        {"[File Type=DBToken]", true},    {"[kind =  dbtoken  ]", true},
        {"[file type dbtoken]", false},   {"file type = dbtoken", false},
        {"[file type = dbtoken", false},  {"[file type = other]", false},
        {"", false},
    };
    for (const auto &l : lines) {
        TempDir dir;
        const std::string token = dir.file("t.tkn");
        ASSERT_TRUE(qmtest::writeFile(token, std::string(l.first) + "\r\ndata.xdb\r\n"));
        BoxRecorder boxes;
        char database[DB_TOKEN_LINE_SIZE] = "?";
        EXPECT_EQ(l.accepted ? 1 : 0,
                  dbReadTokenDatabase(nullptr, token.c_str(), database, sizeof database, TRUE))
            << l.first;
        if (l.accepted) {
            EXPECT_STREQ("data.xdb", database);
            EXPECT_EQ(0u, boxes.count());
        } else {
            ASSERT_EQ(1u, boxes.count()) << l.first;
            EXPECT_EQ("The file is not in correct token file format: \r\n " + token,
                      boxes.last().text)
                << l.first;
        }
        EXPECT_TRUE(qmtest::fileIsClosed(token));
    }
}

TEST(DbToken, DamagedTokens)
{
    TempDir dir;
    BoxRecorder boxes;
    const std::string token = dir.file("t.tkn");
    char database[DB_TOKEN_LINE_SIZE];
    const struct {
        std::string bytes;
        std::string message;
    } cases[] = {
        {"[file type = dbtoken]", "No database name in the token file: \r\n " + token},
        {"[file type = dbtoken]\r\n", "No database name in the token file: \r\n " + token},
        {"", "Error reading the token file: \r\n " + token},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(qmtest::writeFile(token, c.bytes));
        boxes.clear();
        EXPECT_EQ(0, dbReadTokenDatabase(nullptr, token.c_str(), database, sizeof database, TRUE));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ(c.message, boxes.last().text);
        EXPECT_TRUE(qmtest::fileIsClosed(token));
    }
    boxes.clear();
    EXPECT_EQ(0, dbReadTokenDatabase(nullptr, dir.file("gone.tkn").c_str(), database,
                                     sizeof database, TRUE));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Can not open the token file:\r\n " + dir.file("gone.tkn"), boxes.last().text);
    boxes.clear();
    EXPECT_EQ(INVALID_HANDLE_VALUE, dbOpenToken(nullptr, dir.file("gone.tkn").c_str(), FALSE));
    EXPECT_EQ(0u, boxes.count()) << "quiet without the flag";
}

TEST(DbToken, LongLineIsCutAtTheBuffer)
{
    TempDir dir;
    const std::string token = dir.file("t.tkn");
    const std::string name(600, 'n');
    ASSERT_TRUE(qmtest::writeFile(token, "[file type = dbtoken]\r\n" + name));
    std::vector<char> buffer(DB_TOKEN_LINE_SIZE + 64, '#');
    BoxRecorder boxes;
    ASSERT_EQ(1, dbReadTokenDatabase(nullptr, token.c_str(), buffer.data(), DB_TOKEN_LINE_SIZE,
                                     TRUE));
    EXPECT_EQ(std::string(DB_TOKEN_LINE_SIZE - 1, 'n'), std::string(buffer.data()));
    for (size_t i = DB_TOKEN_LINE_SIZE; i < buffer.size(); ++i)
        ASSERT_EQ('#', buffer[i]) << "written past the buffer at " << i;
}

TEST(DbToken, DataSources)
{
    TempDir dir, other;
    MemHandle form = fmNew();
    fmSetFilePath(form, other.file("doc.qm").c_str());
    pgtest::Workspace ws(form);
    const std::string token = dir.file("main.tkn");
    ASSERT_TRUE(qmtest::writeFile(token, "[file type = dbtoken]\r\ndata.xdb"));
    BoxRecorder boxes;
    EXPECT_EQ(dir.file("data.xdb"), pgtest::textOf(dbResolveDataSource(ws, token.c_str())));
    EXPECT_EQ(other.file("plain.xdb"), pgtest::textOf(dbResolveDataSource(ws, "plain.xdb")));
    EXPECT_EQ("<null>", pgtest::textOf(dbResolveDataSource(ws, "")));
    EXPECT_EQ("<null>", pgtest::textOf(dbResolveDataSource(ws, nullptr)));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    // A token beside the document, named relatively, whose database lies
    // in a folder of its own.
    ASSERT_TRUE(qmtest::writeFile(other.file("rel.tkn"), "[FILE TYPE = DBTOKEN]\r\nsub\\d.xdb\r\n"));
    EXPECT_EQ(other.file("sub\\d.xdb"), pgtest::textOf(dbResolveDataSource(ws, "rel.tkn")));
    EXPECT_EQ("<null>", pgtest::textOf(dbResolveDataSource(ws, "missing.tkn")));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Can not open the token file:\r\n " + other.file("missing.tkn"), boxes.last().text);
    fmFree(form);
}

// ---- the editor --------------------------------------------------------------------------------

std::string g_fileAnswer;
BOOL answerFile(HWND, WinFileDlgRequest &request)
{
    if (g_fileAnswer.empty())
        return FALSE;
    strcpy(request.path, g_fileAnswer.c_str());
    return TRUE;
}

bool saveEnabled(HWND dlg) { return IsWindowEnabled(GetDlgItem(dlg, 202)) != 0; }

class TokenEditor : public ::testing::Test {
protected:
    void SetUp() override { winSetFileDlgHook(answerFile); }
    void TearDown() override
    {
        winSetFileDlgHook(nullptr);
        g_fileAnswer.clear();
    }
    void run(std::vector<qmtest::DialogDriver::Step> steps)
    {
        qmtest::DialogDriver driver(std::move(steps));
        dbEditToken(nullptr);
        EXPECT_FALSE(driver.leftOpen());
    }
    TempDir dir_;
    BoxRecorder boxes_;
};

TEST_F(TokenEditor, SaveFollowsTheDatabaseField)
{
    bool atStart = true, afterEdit = false;
    run({[&](HWND dlg) {
        EXPECT_EQ("Database Token Editor", qmtest::windowText(dlg));
        atStart = saveEnabled(dlg);
        qmtest::typeInto(dlg, 105, "x");
        qmtest::typeInto(dlg, 105, "");
        afterEdit = saveEnabled(dlg);
        qmtest::pressButton(dlg, 202);
        qmtest::pressButton(dlg, 200);   // New: the save question, answered No
        qmtest::pressButton(dlg, 110);
    }});
    EXPECT_FALSE(atStart);
    EXPECT_TRUE(afterEdit);
    ASSERT_EQ(2u, boxes_.count()) << boxes_.texts();
    EXPECT_EQ("Nothing to save", boxes_.boxes()[0].text);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, boxes_.boxes()[0].flags & MB_ICONMASK);
    EXPECT_EQ("Save changes to the database token?", boxes_.boxes()[1].text);
}

TEST_F(TokenEditor, TokenWithoutDatabaseIsNotSaved)
{
    const std::string token = dir_.file("t.tkn");
    boxes_.answer(IDOK);
    boxes_.answer(IDNO);
    run({[&](HWND dlg) {
        qmtest::typeInto(dlg, 103, token.c_str());
        qmtest::typeInto(dlg, 105, "x");
        qmtest::typeInto(dlg, 105, "");
        qmtest::pressButton(dlg, 202);
        EXPECT_TRUE(saveEnabled(dlg)) << "still modified";
        qmtest::sendCommand(dlg, IDCANCEL);
    }});
    ASSERT_GE(boxes_.count(), 1u);
    EXPECT_EQ("Must supply a database file name before saving.", boxes_.boxes()[0].text);
    EXPECT_FALSE(ffExists(token.c_str()));
}

TEST_F(TokenEditor, CloseAfterAnEditAsks)
{
    const std::string token = dir_.file("t.tkn");
    boxes_.answer(IDCANCEL);   // the first close stays
    boxes_.answer(IDYES);      // the second saves
    bool openAfterCancel = false;
    run({
        [&](HWND dlg) {
            qmtest::typeInto(dlg, 103, token.c_str());
            qmtest::typeInto(dlg, 105, "data.xdb");
            qmtest::pressButton(dlg, 110);
            openAfterCancel = IsWindow(dlg) && IsWindowVisible(dlg);
            qmtest::sendCommand(dlg, IDOK);
        },
    });
    EXPECT_TRUE(openAfterCancel);
    ASSERT_EQ(2u, boxes_.count()) << boxes_.texts();
    EXPECT_EQ("Save changes to the database token?", boxes_.boxes()[0].text);
    EXPECT_EQ("[file type = dbtoken]\r\ndata.xdb", fileText(token));
}

TEST_F(TokenEditor, FailedSaveIsShownAndKeepsTheEdit)
{
    const std::string token = dir_.file("t.tkn");
    ASSERT_EQ(1, dbWriteToken(token.c_str(), "old.xdb"));
    boxes_.answer(IDOK);
    boxes_.answer(IDNO);
    bool stillModified = false;
    run({[&](HWND dlg) {
        qmtest::typeInto(dlg, 103, token.c_str());
        qmtest::typeInto(dlg, 105, "new.xdb");
        ffSetWriteFault(FF_FAULT_DISK_FULL, 0);
        qmtest::pressButton(dlg, 202);
        ffSetWriteFault(FF_FAULT_NONE, 0);
        stillModified = saveEnabled(dlg);
        qmtest::pressButton(dlg, 110);
    }});
    EXPECT_TRUE(stillModified);
    ASSERT_EQ(2u, boxes_.count()) << boxes_.texts();
    EXPECT_EQ("Can not write the token file:\r\n " + token, boxes_.boxes()[0].text);
    EXPECT_EQ("Save changes to the database token?", boxes_.boxes()[1].text);
    EXPECT_EQ("[file type = dbtoken]\r\nold.xdb", fileText(token));
}

TEST_F(TokenEditor, OpenAndSaveAs)
{
    const std::string token = dir_.file("main.tkn");
    ASSERT_EQ(1, dbWriteToken(token.c_str(), "data.xdb"));
    const std::string copy = dir_.file("copy.tkn");
    std::string opened, database;
    bool modifiedAfterOpen = true;
    run({[&](HWND dlg) {
        g_fileAnswer = token;
        qmtest::pressButton(dlg, 201);
        opened = qmtest::itemText(dlg, 103);
        database = qmtest::itemText(dlg, 105);
        modifiedAfterOpen = saveEnabled(dlg);
        g_fileAnswer = copy;
        qmtest::pressButton(dlg, 203);
        qmtest::pressButton(dlg, 110);
    }});
    EXPECT_EQ(token, opened);
    EXPECT_EQ("data.xdb", database);
    EXPECT_FALSE(modifiedAfterOpen);
    char folder[UT_PATH_SIZE] = "";
    setGetString("DB_Token_Path", folder);
    EXPECT_EQ(dir_.path() + "\\", std::string(folder));
    EXPECT_EQ("[file type = dbtoken]\r\ndata.xdb", fileText(copy));
    EXPECT_EQ(0u, boxes_.count()) << boxes_.texts();
}

}  // namespace
