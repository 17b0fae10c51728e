// Number-text tests and word splitting.
#include "tests/support/kit.h"
#include "support/ut_text.h"
#include <string.h>

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

}  // namespace
