// Number-text tests, word splitting, option switches and keyed text files.
#include "tests/support/kit.h"
#include "support/ut_mem.h"
#include "support/ut_text.h"
#include <string.h>
#include <string>

namespace {

TEST(NumberText, IntegerTexts)
{
    struct Case {
        const char *text;
        int expected;
    } cases[] = {{"12", 1},  {"-12", 1}, {"+7", 1},   {"-", 1},   {"1.5", 0}, {"1 2", 0},
                 {" 1", 0},  {"1e3", 0}, {"--1", 0},  {"", -1},   {nullptr, -1}};
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, utIsIntegerText(c.text)) << (c.text ? c.text : "null");
}

TEST(NumberText, WordsSplitAtBlanksAndCommasUpToTheLimit)
{
    char text[] = "a, b,,c";
    char *words[3] = {(char *)"x", (char *)"x", (char *)"x"};
    EXPECT_EQ(2, utSplitWords(text, words, 2));
    EXPECT_STREQ("a", words[0]);
    EXPECT_STREQ("b", words[1]);

    char all[] = "  10 ,20,, 30  ";
    EXPECT_EQ(3, utSplitWords(all, words, 3));
    EXPECT_STREQ("10", words[0]);
    EXPECT_STREQ("20", words[1]);
    EXPECT_STREQ("30", words[2]);

    char none[] = " ,, ";
    EXPECT_EQ(0, utSplitWords(none, words, 3));
    EXPECT_EQ(nullptr, words[0]);   // the array is cleared first
}

TEST(NumberText, DecimalAndNumberTexts)
{
    struct Case {
        const char *text;
        int decimal, number;
    } cases[] = {
        {"12.", 1, 1},    {".5", 1, 1},     {"1.-5", 0, 0},   {"-1.25", 1, 1},  {"1.2.3", 0, 0},
        {".", 1, 1},      {"12", 1, 1},     {"1.5e3", 0, 1},  {"1.5E-3", 0, 1}, {"e5", 0, 0},
        {"1e", 0, 0},     {"1e5e3", 0, 0},  {"1e.5", 0, 1},   {"1 5", 0, 0},    {"1.5 ", 0, 0},
        {"x1", 0, 0},     {"", -1, -1},     {nullptr, -1, -1},
    };
    for (const Case &c : cases) {
        const char *shown = c.text ? c.text : "null";
        EXPECT_EQ(c.decimal, utIsDecimalText(c.text)) << "decimal " << shown;
        EXPECT_EQ(c.number, utIsNumberText(c.text)) << "number " << shown;
    }
}

TEST(NumberText, SplitByCharAndByString)
{
    char *words[4];
    char byChar[] = "a;;b;c;";
    EXPECT_EQ(3, utSplitByChar(byChar, ';', words, 4));
    EXPECT_STREQ("a", words[0]);
    EXPECT_STREQ("b", words[1]);
    EXPECT_STREQ("c", words[2]);
    EXPECT_EQ(nullptr, words[3]);

    struct Case {
        const char *text;
        std::vector<std::string> pieces;
    } cases[] = {
        {"Key::val::more", {"Key", "val", "more"}},
        {"::Key:: val", {"Key", "val"}},          // leading separators and blanks skipped
        {"a::::b", {"a", "b"}},                   // separators at a piece's start skipped
        {"a::b::c::d::e", {"a", "b", "c", "d"}},  // at most n
        {"a:: ", {"a"}},                          // an empty piece ends the split
        {"", {}},
    };
    for (const Case &c : cases) {
        std::string text = c.text;
        int n = utSplitByString(&text[0], "::", words, 4);
        std::vector<std::string> got(words, words + n);
        EXPECT_EQ(c.pieces, got) << c.text;
    }
}

TEST(Switches, LeadingOptionIsCopiedUpperCaseWithinTheOutput)
{
    char text[] = "  -print  file.qm  ";
    char out[16] = "junk";
    char *rest = utParseLeadingOption(text, out, sizeof(out));
    EXPECT_STREQ("-PRINT", out);
    EXPECT_STREQ("file.qm", rest);

    char alone[] = "-quit";
    EXPECT_EQ(nullptr, utParseLeadingOption(alone, out, sizeof(out)));
    EXPECT_STREQ("-QUIT", out);

    char plain[] = "  doc.qm  ";
    EXPECT_STREQ("doc.qm", utParseLeadingOption(plain, out, sizeof(out)));
    EXPECT_STREQ("", out);

    // A long switch is cut to the output's size, never written past it.
    std::string longText = "-" + std::string(200, 'a') + " rest";
    struct {
        char out[8];
        char guard[4];
    } cut;
    memset(&cut, 'G', sizeof(cut));
    EXPECT_STREQ("rest", utParseLeadingOption(&longText[0], cut.out, sizeof(cut.out)));
    EXPECT_STREQ("-AAAAAA", cut.out);
    EXPECT_EQ(std::string("GGGG"), std::string(cut.guard, 4));
    char wide[256];
    utParseLeadingOption(&longText[0], wide, sizeof(wide));
    EXPECT_EQ(128u, strlen(wide));   // at most 128 characters
}

namespace {
struct SwitchTable {
    UtOptionEntry e[2];
    SwitchTable()
    {
        memset(e, 0, sizeof(e));
        strcpy(e[0].name, "x");
        strcpy(e[1].name, "Y");
    }
    ~SwitchTable() { utFreeSwitchValues(e, 2); }
    std::string value(int i)
    {
        if (!e[i].value)
            return "<none>";
        MemLock<char> p(e[i].value);
        return p.get();
    }
};
}  // namespace

TEST(Switches, TableOfSwitchTexts)
{
    struct Case {
        const char *text;
        bool xKnown;   // false: only y is in the table
        int count, error;
        const char *rest;
        const char *x;   // value of x
        bool y;          // y present
    } cases[] = {
        {"-x[1] -y rest", true, 2, 0, "rest", "1", true},
        {"  -X[a b]-y", true, 2, 0, "", "a b", true},
        {"-q -y", false, 1, UT_SWITCH_UNKNOWN, "", "<none>", true},
        {"-x[1", true, 1, UT_SWITCH_NO_CLOSE, "", "<none>", false},
        {"-x[1]rest -y", true, 1, 0, "rest -y", "1", false},
        {"plain -x", true, 0, 0, "plain -x", "<none>", false},
        {"- -y", true, 1, UT_SWITCH_UNKNOWN, "", "<none>", true},
    };
    for (const Case &c : cases) {
        SwitchTable t;
        if (!c.xKnown)
            strcpy(t.e[0].name, "z");
        int count = -1, error = -1;
        const char *rest = utParseSwitches(c.text, t.e, 2, &count, &error);
        EXPECT_EQ(c.count, count) << c.text;
        EXPECT_EQ(c.error, error) << c.text;
        EXPECT_STREQ(c.rest, rest) << c.text;
        EXPECT_EQ(c.x, t.value(0)) << c.text;
        EXPECT_EQ(c.y, t.e[1].present == 1) << c.text;
    }
}

TEST(Switches, ASwitchGivenTwiceFreesItsFirstValue)
{
    long before = utLiveHandleCount();
    {
        SwitchTable t;
        int count, error;
        utParseSwitches("-x[first] -x[second] go", t.e, 2, &count, &error);
        EXPECT_EQ(2, count);
        EXPECT_EQ("second", t.value(0));
        EXPECT_EQ(before + 1, utLiveHandleCount());
        utFreeSwitchValues(t.e, 2);
        EXPECT_EQ(0u, t.e[0].value);
        EXPECT_EQ(0u, t.e[0].present);
        EXPECT_STREQ("x", t.e[0].name);
    }
    EXPECT_EQ(before, utLiveHandleCount());
}

TEST(KeyedFile, LookupByKeyIgnoringCase)
{
    qmtest::TempDir dir;
    std::string path = dir.file("keys.txt");
    ASSERT_TRUE(qmtest::writeFile(path, "; note\r\n\r\n  Key::val::more  \r\n"
                                        "other::a::b::c\r\nkey::second\r\n"
                                        "lone\r\nempty::x::::\n"));
    long before = utLiveHandleCount();
    struct Case {
        const char *key;
        const char *expected;   // null: no match
    } cases[] = {
        {"key", "val\r\nmore"},      // the first matching line wins
        {"OTHER", "a\r\nb\r\nc"},
        {"lone", nullptr},           // a line of one field
        {"; note", nullptr},         // comments are skipped
        {"empty", "x"},
        {"missing", nullptr},
    };
    for (const Case &c : cases) {
        MemHandle h = utLookupKeyedText(path.c_str(), c.key);
        if (!c.expected) {
            EXPECT_EQ(0u, h) << c.key;
            continue;
        }
        ASSERT_NE(0u, h) << c.key;
        {
            MemLock<char> p(h);
            EXPECT_STREQ(c.expected, p.get()) << c.key;
        }
        utFreeHandle(h);
    }
    EXPECT_EQ(0u, utLookupKeyedText(dir.file("absent.txt").c_str(), "key"));
    EXPECT_EQ(before, utLiveHandleCount());
    EXPECT_TRUE(qmtest::fileIsClosed(path));
}

TEST(KeyedFile, OddAndDamagedFilesGiveNoMatchWithoutABox)
{
    qmtest::TempDir dir;
    std::string path = dir.file("odd.txt");
    struct Case {
        const char *name;
        std::string bytes;
        const char *expected;   // for the key "k"; null: no match
    } cases[] = {
        {"empty file", "", nullptr},
        {"no line end at the end", "k::v", "v"},
        {"key without a value", "k::\r\nk", nullptr},
        {"only separators", "::::\n", nullptr},
        {"a NUL ends the text", std::string("x::1\n\0k::2\n", 11), nullptr},
        {"a lone CR line end", "k::a\rk::b", "a\rk\r\nb"},   // lines end at LF only
        {"blanks around", "   k::  v  \r\n", "v"},
    };
    long before = utLiveHandleCount();
    qmtest::BoxRecorder boxes;
    for (const Case &c : cases) {
        ASSERT_TRUE(qmtest::writeFile(path, c.bytes)) << c.name;
        MemHandle h = utLookupKeyedText(path.c_str(), "k");
        if (!c.expected) {
            EXPECT_EQ(0u, h) << c.name;
        } else {
            ASSERT_NE(0u, h) << c.name;
            MemLock<char> p(h);
            EXPECT_STREQ(c.expected, p.get()) << c.name;
        }
        utFreeHandle(h);
        EXPECT_TRUE(qmtest::fileIsClosed(path)) << c.name;
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(before, utLiveHandleCount());
}

}  // namespace
