// Number display formats: every style, decimals, symbols, large and
// non-finite values, and the caller's buffer size.
#include "tests/support/kit.h"
#include "support/num_format.h"
#include <math.h>
#include <string>

namespace {

uint32_t style(uint8_t kind, uint8_t decimals, uint8_t suffix = 0, uint8_t prefix = 0)
{
    return kind | (uint32_t)decimals << 8 | (uint32_t)suffix << 16 | (uint32_t)prefix << 24;
}

std::string format(double v, uint32_t s)
{
    char buf[400];
    EXPECT_EQ(1, numFormatValue(buf, sizeof buf, v, s)) << v;
    return buf;
}

TEST(NumFormat, StylesTable)
{
    struct Case {
        double value;
        uint32_t style;
        const char *text;
    } cases[] = {
        {1234.5, 0, "1234.50"},
        {1234.5, style(0, 7), "1234.50"},               // decimals ignored with style 0
        {-1234567.4, style(6, 0), "-1,234,567"},
        {1234.5, style(10, 2), "1.234,50"},
        {12345.678, style(5, 2), "12,345.68"},
        {12345.678, style(10, 2), "12.345,68"},
        {12345.678, style(11, 0), "12,345.68"},         // 0 decimals become 2
        {-1234.5, style(12, 2), "(-1,234.50)"},
        {1234.5, style(12, 2), "1,234.50"},
        {1234.5, style(3, 2, 0, 1), "$1234.50"},
        {150000, style(4, 2), "1.50E+05"},
        {1e-120, style(4, 1), "1.0E-120"},
        {255.4, style(2, 0), "ff"},
        {-0.5, style(1, 0), "-1"},
        {2.5, style(1, 0), "3"},
        {12, style(1, 0, 5, 1), "$12%"},
        {3e9, style(6, 0), "3,000,000,000"},
        {-3e9, style(1, 0), "-3000000000"},
        {7.25, style(8, 5), "7.25"},                    // styles 7-9: 2 decimals
        {999, style(5, 2), "999.00"},
        {1, style(3, 30), "1.000000000000000000000000"},  // at most 24 decimals
        {5, style(3, 2, 9, 77), "5.00"},                // unknown symbol codes: none
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.text, format(c.value, c.style)) << c.value << " style " << c.style;
}

TEST(NumFormat, NonFiniteValuesAndSmallBuffersGiveEmptyText)
{
    char buf[8] = "x";
    EXPECT_EQ(0, numFormatValue(buf, sizeof buf, NAN, 0));
    EXPECT_STREQ("", buf);
    EXPECT_EQ(0, numFormatValue(buf, sizeof buf, INFINITY, style(1, 0)));
    EXPECT_STREQ("", buf);
    // 1e308 as an integer has 309 digits: never written past the buffer.
    char shortBuf[16];
    memset(shortBuf, 'z', sizeof shortBuf);
    EXPECT_EQ(0, numFormatValue(shortBuf, 10, 1e308, style(6, 0)));
    EXPECT_STREQ("", shortBuf);
    EXPECT_EQ('z', shortBuf[10]);
    EXPECT_EQ(310u, format(-1e308, style(1, 0)).size());
}

TEST(NumFormat, SeparatorsSymbolsAndDefaults)
{
    char text[32] = "-1234567.891";
    EXPECT_TRUE(numAddThousands(text, sizeof text));
    EXPECT_STREQ("-1,234,567.891", text);
    char tight[8] = "1234567";
    EXPECT_FALSE(numAddThousands(tight, sizeof tight));
    EXPECT_STREQ("1234567", tight);
    numSwapSeparators(text);
    EXPECT_STREQ("-1.234.567,891", text);
    EXPECT_EQ('%', numSymbolChar(5));
    EXPECT_EQ(0, numSymbolChar(6));
    struct { uint16_t kind; uint32_t style; } kinds[] = {
        {4, 1}, {5, 1}, {6, 515}, {7, 515}, {10, 8}, {11, 8}, {12, 8}, {60, 25}, {3, 0}, {14, 0}};
    for (auto k : kinds)
        EXPECT_EQ(k.style, numDefaultStyleForKind(k.kind)) << k.kind;
}

}  // namespace
