// String edits, text lines, number lists, bit masks, unit names and
// conversions, column names and name-value ("::") texts.
#include "tests/support/kit.h"
#include "support/rc_pairs.h"
#include "support/ut_bits.h"
#include "support/ut_column.h"
#include "support/ut_mem.h"
#include "support/ut_string.h"
#include "support/ut_units.h"
#include <string.h>
#include <string>

namespace {

std::string textOf(MemHandle h)
{
    if (!h)
        return "<none>";
    MemLock<char> p(h);
    return std::string(p.get(), strnlen(p.get(), utHandleSize(h)));
}

// Reads a handle's text and frees it.
std::string take(MemHandle h)
{
    std::string s = textOf(h);
    utFreeHandle(h);
    return s;
}

TEST(UtString, FindAndReverse)
{
    const char *text = "a.b.c";
    EXPECT_EQ(text + 1, utStrChr(text, '.'));
    EXPECT_EQ(text + 3, utStrRChr(text, '.'));
    EXPECT_EQ(nullptr, utStrChr(text, 'z'));
    EXPECT_EQ(nullptr, utStrRChr(text, 'z'));
    EXPECT_EQ(nullptr, utStrChr((const char *)nullptr, 'a'));
    EXPECT_EQ(nullptr, utStrRChr((const char *)nullptr, 'a'));

    for (auto c : {std::pair<const char *, const char *>{"abc", "cba"}, {"ab", "ba"},
                   {"a", "a"}, {"", ""}, {"abcd", "dcba"}}) {
        char buf[8];
        strcpy(buf, c.first);
        EXPECT_EQ(buf, utStrReverse(buf));
        EXPECT_STREQ(c.second, buf);
    }
    char buf[4] = "xyz";
    EXPECT_EQ(0, utClearString(buf));
    EXPECT_STREQ("", buf);
}

TEST(UtString, InsertCharTakesTheBufferSize)
{
    struct Case {
        const char *text;
        int index;
        uint32_t size;
        int result;
        const char *after;
    } cases[] = {
        {"abc", 1, 8, 1, "aXbc"},    {"abc", 0, 8, 1, "Xabc"},   {"abc", 3, 8, 1, "abcX"},
        {"abc", 4, 8, 0, "abc"},     {"abc", -1, 8, 0, "abc"},   {"abc", 1, 5, 1, "aXbc"},
        {"abc", 1, 4, 0, "abc"},     {"abcdefg", 0, 8, 0, "abcdefg"}, {"", 0, 2, 1, "X"},
    };
    for (const Case &c : cases) {
        char buf[16];
        memset(buf, '#', sizeof buf);
        strcpy(buf, c.text);
        EXPECT_EQ(c.result, utStrInsertChar(buf, c.index, 'X', c.size)) << c.text << c.index;
        EXPECT_STREQ(c.after, buf);
        // Nothing is written past the buffer the caller named.
        for (uint32_t i = c.size; i < sizeof buf; ++i)
            ASSERT_EQ('#', buf[i]) << c.text << " at " << i;
    }
}

TEST(UtString, InsertStringTakesTheBufferSize)
{
    struct Case {
        const char *text;
        int position;
        uint32_t size;
        bool result;   // false: null result
        const char *after;
    } cases[] = {
        {"hello", 2, 16, true, "heXYllo"}, {"hello", 0, 16, true, "XYhello"},
        {"hello", 5, 16, true, "helloXY"}, {"hello", 6, 16, true, "hello"},
        {"hello", -1, 16, true, "hello"},  {"hello", 2, 8, true, "heXYllo"},
        {"hello", 2, 7, false, "hello"},   {"", 0, 3, true, "XY"},
    };
    for (const Case &c : cases) {
        char buf[20];
        memset(buf, '#', sizeof buf);
        strcpy(buf, c.text);
        char *r = utInsertString(buf, "XY", c.position, c.size);
        EXPECT_EQ(c.result ? buf : nullptr, r) << c.text << " at " << c.position;
        EXPECT_STREQ(c.after, buf);
        for (uint32_t i = c.size; i < sizeof buf; ++i)
            ASSERT_EQ('#', buf[i]) << c.text << " at " << i;
    }
    // A buffer holding no terminator within its size is left alone.
    char full[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(nullptr, utInsertString(full, "X", 0, 4));
    EXPECT_EQ(0, memcmp(full, "abcd", 4));
}

TEST(UtString, NumbersOfTheLeadingCharacters)
{
    EXPECT_EQ(-42, utAtoi20("  -42xyz"));
    EXPECT_EQ(1, utAtoi20((std::string(19, '0') + "12").c_str()));   // only 20 characters read
    EXPECT_EQ(0, utAtoi20(""));
    EXPECT_DOUBLE_EQ(1.5, utAtof31("1.5"));
    EXPECT_DOUBLE_EQ(7.0, utAtof31((std::string(30, '0') + "75").c_str()));
}

TEST(UtString, ParseIntList)
{
    int16_t v[4] = {};
    EXPECT_TRUE(utParseIntList("3, 4;5", ",;", v, 3));
    EXPECT_EQ(3, v[0]);
    EXPECT_EQ(4, v[1]);
    EXPECT_EQ(5, v[2]);
    EXPECT_FALSE(utParseIntList("3, 4;5", ",;", v, 4));
    EXPECT_TRUE(utParseIntList(",,7,,,-8,", ",", v, 2));   // runs of delimiters count as one
    EXPECT_EQ(7, v[0]);
    EXPECT_EQ(-8, v[1]);
    EXPECT_TRUE(utParseIntList("1203", "0", v, 2));   // a digit as delimiter
    EXPECT_EQ(12, v[0]);
    EXPECT_EQ(3, v[1]);
    EXPECT_FALSE(utParseIntList("", ",", v, 1));
    EXPECT_FALSE(utParseIntList(nullptr, ",", v, 1));
    EXPECT_FALSE(utParseIntList("1,2", "", v, 1));
    EXPECT_FALSE(utParseIntList(",,,", ",", v, 1));
    const char *kept = "9;8";
    EXPECT_TRUE(utParseIntList(kept, ";", v, 2));
    EXPECT_STREQ("9;8", kept);
}

TEST(UtString, ParseIntListKeepsNoSharedState)
{
    // A caller in the middle of its own strtok walk is not disturbed.
    char words[] = "alpha beta gamma";
    std::vector<std::string> seen;
    int16_t v[2];
    for (char *w = strtok(words, " "); w; w = strtok(nullptr, " ")) {
        seen.push_back(w);
        EXPECT_TRUE(utParseIntList("1|2", "|", v, 2));
    }
    EXPECT_EQ((std::vector<std::string>{"alpha", "beta", "gamma"}), seen);
}

TEST(UtString, NextTextLine)
{
    struct Case {
        const char *text;
        int len, consumed;
        int next;   // offset of the next line, -1 for none
    } cases[] = {
        {"ab\r\ncd", 2, 3, 4}, {"ab", 2, 2, -1},     {"ab\rcd", 2, 3, 3},
        {"ab\ncd", 2, 3, 3},   {"\r\nx", 0, 1, 2},   {"ab\r\n", 2, 3, -1},
        {"", 0, 0, -1},        {"\n\nb", 0, 1, 1},
    };
    for (const Case &c : cases) {
        int len = -1, consumed = -1;
        const char *next = utNextTextLine(c.text, &len, &consumed);
        EXPECT_EQ(c.len, len) << c.text;
        EXPECT_EQ(c.consumed, consumed) << c.text;
        EXPECT_EQ(c.next < 0 ? nullptr : c.text + c.next, next) << c.text;
    }
    // Walking every line of a text ends.
    std::vector<std::string> lines;
    for (const char *p = "one\r\ntwo\n\nthree\rfour"; p;) {
        int len = 0, used = 0;
        const char *next = utNextTextLine(p, &len, &used);
        lines.emplace_back(p, (size_t)len);
        ASSERT_LT(lines.size(), 10u);
        p = next;
    }
    EXPECT_EQ((std::vector<std::string>{"one", "two", "", "three", "four"}), lines);
}

TEST(UtBits, SetClearAndToggle)
{
    EXPECT_EQ(0x0FFF, utSetBitsW(0x0F0F, 0x00F0, TRUE));
    EXPECT_EQ(0x0F00, utSetBitsW(0x0F0F, 0x000F, FALSE));
    EXPECT_EQ(0x0F0F, utSetBitsW(0x0F0F, 0x0000, TRUE));
    EXPECT_EQ(0x80000001u, utSetBits(1, 0x80000000u, 7));
    EXPECT_EQ(1u, utSetBits(0x80000001u, 0x80000000u, FALSE));
    uint16_t w = 0x1234;
    utToggleBitsW(&w, 0xFF00);
    EXPECT_EQ(0xED34, w);
    utToggleBitsW(&w, 0xFF00);
    EXPECT_EQ(0x1234, w);
}

TEST(UtUnits, NamesAndConversions)
{
    const char *names[] = {"", "Pixels", "Log-Inches", "inches", "ft", "meters", "cm", ""};
    char buf[16];
    for (int code = 0; code <= 7; ++code)
        EXPECT_STREQ(names[code], utUnitName(buf, code, sizeof buf)) << code;
    EXPECT_STREQ("", utUnitName(buf, -1, sizeof buf));
    EXPECT_STREQ("Log", utUnitName(buf, 2, 4));   // always terminated within the buffer

    EXPECT_NEAR(1.0, utConvertUnit(1440, 2, 3), 1e-6);
    EXPECT_NEAR(1.0, utConvertUnit(12, 3, 4), 1e-6);
    EXPECT_DOUBLE_EQ(100.0, utConvertUnit(1, 5, 6));
    EXPECT_DOUBLE_EQ(17.25, utConvertUnit(17.25, 4, 4));   // equal codes: unchanged
    EXPECT_DOUBLE_EQ(2.540000047752001, utConvertUnit(1, 1, 6));   // pixels count as inches
}

TEST(UtColumn, SpreadsheetNames)
{
    struct Case {
        int32_t n;
        const char *name;
    } cases[] = {{1, "A"},   {26, "Z"},   {27, "AA"},  {28, "AB"}, {52, "AZ"},
                 {53, "BA"}, {702, "ZZ"}, {703, "AAA"}, {0, ""}};
    char buf[16];
    for (const Case &c : cases) {
        EXPECT_EQ((int)strlen(c.name), utColumnName(buf, c.n));
        EXPECT_STREQ(c.name, buf) << c.n;
    }
    utColumnNameLower(buf, 703);
    EXPECT_STREQ("aaa", buf);
}

TEST(RcPairs, ValueOfPair)
{
    long live = qmtest::liveHandles();
    const char *text = "a::1\r\nb::2";
    EXPECT_EQ("2", take(rcValueOfPair(text, "b")));
    EXPECT_EQ("1", take(rcValueOfPair(text, "a")));
    EXPECT_EQ(0u, rcValueOfPair(text, "c"));
    EXPECT_EQ(0u, rcValueOfPair(text, "B"));   // names are compared with case
    EXPECT_EQ("y::z", take(rcValueOfPair("x::y::z", "x")));
    EXPECT_EQ("3", take(rcValueOfPair("p::1\nq::3\rr::4", "q")));
    // The first line of that name decides, even without a value.
    EXPECT_EQ(0u, rcValueOfPair("a::1\nb\nb::3", "b"));
    EXPECT_EQ(0u, rcValueOfPair("", "b"));
    EXPECT_EQ(0u, rcValueOfPair(nullptr, "b"));
    EXPECT_EQ(live, qmtest::liveHandles());
}

TEST(RcPairs, NamesFromPairs)
{
    long live = qmtest::liveHandles();
    EXPECT_EQ("a@b@c@", take(rcNamesFromPairs("a::1\r\n\r\nb\nc::3", '@')));
    EXPECT_EQ(0u, rcNamesFromPairs("", '@'));
    EXPECT_EQ(live, qmtest::liveHandles());
}

TEST(RcPairs, PairToLines)
{
    long live = qmtest::liveHandles();
    EXPECT_EQ("ab\r\nc", take(rcPairToLines("a::b::c")));
    EXPECT_EQ("\r\nabc", take(rcPairToLines("abc")));
    EXPECT_EQ("a\r\nb", take(rcPairToLines("a::b")));
    EXPECT_EQ("\r\nx", take(rcPairToLines("::x")));
    EXPECT_EQ(0u, rcPairToLines(""));
    EXPECT_EQ(0u, rcPairToLines(nullptr));
    EXPECT_EQ(live, qmtest::liveHandles());
}

TEST(RcPairs, FindPairLineAndFillNames)
{
    long live = qmtest::liveHandles();
    MemHandle text = utHandleFromString("Alpha::1\nbeta::2\ngamma\n\ndelta::\n");
    EXPECT_EQ("beta::2", take(rcFindPairLine(text, "BETA", '\n')));
    EXPECT_EQ("Alpha::1", take(rcFindPairLine(text, "alpha", '\n')));
    EXPECT_EQ("delta::", take(rcFindPairLine(text, "Delta", '\n')));
    EXPECT_EQ(0u, rcFindPairLine(text, "gamma", '\n'));   // no "::"
    EXPECT_EQ(0u, rcFindPairLine(text, "epsilon", '\n'));
    EXPECT_EQ(0u, rcFindPairLine(0, "beta", '\n'));

    HWND list = CreateWindowA("LISTBOX", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(list != nullptr);
    winListFillPairNames(list, text, '\n');
    std::vector<std::string> items;
    int n = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        char buf[64] = {};
        SendMessageA(list, LB_GETTEXT, i, (LPARAM)buf);
        items.push_back(buf);
    }
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta", "delta"}), items);
    DestroyWindow(list);
    utFreeHandle(text);

    // A block holding no terminator is read only as far as it goes.
    MemHandle raw = utAllocHandle(0, 8);
    {
        MemLock<char> p(raw);
        memcpy(p.get(), "k::vk::v", 8);
    }
    EXPECT_EQ("k::vk::v", take(rcFindPairLine(raw, "k", '\n')));
    utFreeHandle(raw);
    EXPECT_EQ(live, qmtest::liveHandles());
}

}  // namespace
