// Message boxes, string resources and help.
#include "tests/support/kit.h"
#include "support/ut_msg.h"
#include "support/ut_mem.h"
#include "support/help_file.h"
#include "resources/resource.h"
#include <string>
#include <vector>

namespace {

TEST(MessageBoxes, CaptionsAndIcons)
{
    qmtest::BoxRecorder boxes;
    EXPECT_EQ(IDOK, utErrorBox(0, "e"));
    utWarningBox(0, "w");
    boxes.answer(IDCANCEL);
    EXPECT_EQ(IDCANCEL, utMessageBox(0, "m", MB_OKCANCEL | MB_ICONQUESTION));
    ASSERT_EQ(3u, boxes.count());
    struct Expect { const char *caption; UINT flags; const char *text; } expect[] = {
        {"Quillmark Draw Error", MB_ICONHAND, "e"},
        {"Quillmark Draw Warning", MB_ICONEXCLAMATION, "w"},
        {"Quillmark Draw Message", 33, "m"},
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(expect[i].caption, boxes.boxes()[i].caption);
        EXPECT_EQ(expect[i].flags, boxes.boxes()[i].flags);
        EXPECT_EQ(expect[i].text, boxes.boxes()[i].text);
    }
}

TEST(MessageBoxes, AppNameIsCutTo23Characters)
{
    qmtest::BoxRecorder boxes;
    utSetAppName(0, "A very long application name indeed");
    utErrorBox(0, "x");
    utSetAppName(0, "Quillmark Draw");
    EXPECT_EQ("A very long application Error", boxes.last().caption);
}

// Long runs without a blank (paths) are broken so that no line of a box is
// wider than the limit; blanks, short texts and what the recorder sees stay
// as they are.
TEST(MessageBoxes, LongPathsAreBrokenToTheWidth)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = SelectObject(dc, font);
    auto width = [&](const std::string &line) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, line.c_str(), (int)line.size(), &size);
        return (int)size.cx;
    };
    const int limit = 300;
    std::string path = "C:\\";
    for (int i = 0; path.size() < 302; ++i)
        path += "folder" + std::to_string(i) + "\\";
    path += "drawing.qm";
    std::string joined = path + std::string(200, 'x') + ".qm";   // no separator at all
    struct Case {
        std::string text;
        bool broken;
    } cases[] = {
        {"Can not open\r\n " + path, true},
        {path + "\r\n  does not exist", true},
        {joined, true},
        {"A short message that fits.", false},
        {"Many short words in a long sentence that the box itself wraps at its blanks, "
         "so nothing is put into it here at all.",
         false},
        {"", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<char> out(c.text.size() * 3 + 1);
        int n = utBreakLongRuns(dc, c.text.c_str(), limit, out.data(), out.size());
        std::string got(out.data());
        EXPECT_EQ((int)got.size(), n);
        // Only line breaks were put in.
        std::string back;
        for (size_t i = 0; i < got.size(); ++i) {
            if (got.compare(i, 2, "\r\n") == 0 && c.text.compare(back.size(), 2, "\r\n") != 0) {
                ++i;
                continue;
            }
            back += got[i];
        }
        EXPECT_EQ(c.text, back);
        EXPECT_EQ(c.broken, got != c.text);
        // Every run between blanks and line breaks fits.
        std::string run;
        for (char ch : got + " ") {
            if (ch == ' ' || ch == '\r' || ch == '\n') {
                EXPECT_LE(width(run), limit) << run;
                run.clear();
            } else {
                run += ch;
            }
        }
    }
    // A path is broken after a separator, so its lines end in one.
    std::vector<char> out(path.size() * 3 + 1);
    utBreakLongRuns(dc, path.c_str(), limit, out.data(), out.size());
    std::string got(out.data());
    for (size_t at = got.find("\r\n"); at != std::string::npos; at = got.find("\r\n", at + 2))
        EXPECT_EQ('\\', got[at - 1]) << got;

    // The recorder gets the text as it was given.
    qmtest::BoxRecorder boxes;
    utErrorBox(0, path.c_str());
    EXPECT_EQ(path, boxes.last().text);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
}

TEST(MessageBoxes, StringIds)
{
    qmtest::BoxRecorder boxes;
    char buf[256];
    EXPECT_EQ(10, utLoadString(0, IDS_READ_ERROR, buf));
    EXPECT_STREQ("Read error", buf);
    EXPECT_EQ(0, utLoadString(0, 59999, buf));
    EXPECT_STREQ("", buf);

    // A missing string shows nothing and answers 0.
    EXPECT_EQ(0, utMessageBoxId(0, 59999, MB_OK));
    EXPECT_EQ(0, utErrorBoxId(0, 59999));
    EXPECT_EQ(0, utWarningBoxId(0, 59999));
    EXPECT_EQ(0u, boxes.count());

    utErrorBoxId(0, IDS_UNEXPECTED_EOF);
    utWarningBoxId(0, IDS_READ_ERROR);
    ASSERT_EQ(2u, boxes.count());
    EXPECT_EQ("Unexpected end of file", boxes.boxes()[0].text);
    EXPECT_EQ("Quillmark Draw Error", boxes.boxes()[0].caption);
    EXPECT_EQ("Read error", boxes.boxes()[1].text);
    EXPECT_EQ("Quillmark Draw Warning", boxes.boxes()[1].caption);

    // Text and caption both from the table, no application name.
    utErrorBoxRes(0, IDS_READ_ERROR, IDS_OPEN_FAILED);
    EXPECT_EQ("Failed to open file", boxes.last().caption);
    EXPECT_EQ("Read error", boxes.last().text);
    EXPECT_EQ((UINT)MB_ICONHAND, boxes.last().flags);
}

TEST(MessageBoxes, StringHandleAndCaptionHandle)
{
    MemHandle h = utLoadStringHandle(0, IDS_READ_ERROR, 4);
    ASSERT_NE(0u, h);
    {
        MemLock<char> p(h);
        EXPECT_STREQ("Read", p.get());
    }
    utFreeHandle(h);
    MemHandle c = utMakeCaption(" Message");
    {
        MemLock<char> p(c);
        EXPECT_STREQ("Quillmark Draw Message", p.get());
    }
    utFreeHandle(c);
}

TEST(MessageBoxes, BoxesStillShowWhileMemoryRunsOut)
{
    // The allocator reports through the error box; the box must not need
    // memory itself, or a lasting shortage would recurse without end.
    qmtest::BoxRecorder boxes;
    utFailNextAllocs(1000);
    EXPECT_EQ(0u, utAllocHandle(0, 16));
    EXPECT_EQ(IDOK, utWarningBox(0, "still shown"));
    utFailNextAllocs(0);
    ASSERT_EQ(2u, boxes.count());
    EXPECT_EQ("Memory allocation failed", boxes.boxes()[0].text);
    EXPECT_EQ("Quillmark Draw Error", boxes.boxes()[0].caption);
    EXPECT_EQ("still shown", boxes.boxes()[1].text);
}

struct HelpLog {
    static std::vector<UtHelpCall> calls;
    static std::vector<std::string> keywords;
    static void hook(const UtHelpCall &c)
    {
        calls.push_back(c);
        keywords.push_back(c.keyword ? c.keyword : "");
    }
};
std::vector<UtHelpCall> HelpLog::calls;
std::vector<std::string> HelpLog::keywords;

class Help : public ::testing::Test {
protected:
    void SetUp() override
    {
        HelpLog::calls.clear();
        HelpLog::keywords.clear();
        utSetHelpHook(HelpLog::hook);
    }
    void TearDown() override
    {
        utSetHelpHook(nullptr);
        utFreeHelpFile();
        utSetHtmlHelpSource(nullptr, nullptr);
        utResetHelpEngine();
    }
};

TEST_F(Help, NothingWithoutAHelpFile)
{
    utHelpKeyword(0, "Menu");
    utHelpMenuCommand(0, 800);
    EXPECT_TRUE(HelpLog::calls.empty());
}

TEST_F(Help, WinHelpMenuCommands)
{
    utSetHelpFile("ridevi.hlp");
    for (UINT id : {800u, 802u, 804u, 806u, 807u, 801u})
        utHelpMenuCommand(0, id);
    ASSERT_EQ(5u, HelpLog::calls.size());
    EXPECT_EQ(11u, HelpLog::calls[0].command);
    EXPECT_EQ(0x101u, HelpLog::calls[1].command);
    EXPECT_EQ("How to", HelpLog::keywords[1]);
    EXPECT_EQ("Glossary", HelpLog::keywords[2]);
    EXPECT_EQ(2u, HelpLog::calls[3].command);
    EXPECT_EQ("Menu", HelpLog::keywords[4]);
    for (const UtHelpCall &c : HelpLog::calls)
        EXPECT_FALSE(c.html);
}

TEST_F(Help, HtmlHelpKeywordLookup)
{
    utSetHelpFile("ridevi.chm");
    utUseHtmlHelp();
    utHelpMenuCommand(0, 806);   // nothing for HTML help
    utHelpKeyword(0, "Glossary");
    utHelpMenuCommand(0, 800);
    ASSERT_EQ(2u, HelpLog::calls.size());
    EXPECT_TRUE(HelpLog::calls[0].html);
    EXPECT_EQ(13u, HelpLog::calls[0].command);
    EXPECT_EQ("Glossary", HelpLog::keywords[0]);
    EXPECT_EQ(0u, HelpLog::calls[1].command);
}

TEST_F(Help, FailedEngineLoadIsNotRetried)
{
    utResetHelpEngine();
    utSetHtmlHelpSource("CLSID\\{00000000-0000-0000-0000-000000000000}\\InprocServer32",
                        "no_such_help_engine.dll");
    utSetHelpFile("ridevi.chm");
    utUseHtmlHelp();
    EXPECT_EQ(nullptr, utHtmlHelp(0, "ridevi.chm", 0, 0));
    // Even with the real engine's names back, no second attempt is made.
    utSetHtmlHelpSource(nullptr, nullptr);
    EXPECT_EQ(nullptr, utHtmlHelp(0, "ridevi.chm", 0, 0));
    utHelpKeyword(0, "Menu");
    EXPECT_TRUE(HelpLog::calls.empty());
}

}  // namespace
