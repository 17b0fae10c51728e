// Dates: the name lists from the string table and from a replacing file,
// the text forms of times and dates, parsing, and the calendar arithmetic.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "support/ut_date.h"
#include "support/ut_datepick.h"
#include "support/ut_msg.h"
#include <string>

namespace {

struct Date {
    int16_t y, m, d;
    bool operator==(const Date &o) const { return y == o.y && m == o.m && d == o.d; }
};
std::ostream &operator<<(std::ostream &os, const Date &d)
{
    return os << d.y << "-" << d.m + 1 << "-" << d.d;
}

class Dates : public ::testing::Test {
protected:
    void SetUp() override { utFreeDateNames(); }
    void TearDown() override { utFreeDateNames(); }
};

TEST_F(Dates, TimeAndDateTexts)
{
    struct {
        int h, m, s, style;
        const char *want;
    } times[] = {
        {0, 5, 9, 1, "00:05 AM"},   {12, 30, 0, 1, "12:30 PM"},  {23, 0, 0, 3, "23:00"},
        {13, 4, 5, 2, "01:04:05 PM"}, {13, 4, 5, 9, "01:04:05 PM"}, {7, 8, 9, 4, "07:08:09"},
        {7, 8, 9, 5, "0708"},       {7, 8, 9, 6, "070809"},
    };
    for (const auto &c : times) {
        char b[64];
        EXPECT_STREQ(c.want, utFormatTime(b, c.h, c.m, c.s, c.style)) << c.style;
    }
    struct {
        int code;
        const char *want;
    } dates[] = {
        {1, "January 2, 2003"}, {3, "02/01/03"},   {25, "01/02/2003"},
        {26, "02/01/2003"},     {102, "2003-01-02"}, {7, "01/02/03"},
    };
    for (const auto &c : dates) {
        char b[64];
        EXPECT_STREQ(c.want, utFormatDate(b, c.code, 2003, 0, 2)) << c.code;
        // A two-digit year is expanded first.
        EXPECT_STREQ(c.want, utFormatDate(b, c.code, 3, 0, 2)) << c.code;
    }
}

TEST_F(Dates, NamesComeFromStringsThreeHundredAndThreeHundredOne)
{
    char table[256];
    ASSERT_GT(utLoadString(nullptr, 300, table), 0);
    EXPECT_EQ(0, strncmp(table, "January@February@", 17)) << table;
    ASSERT_GT(utLoadString(nullptr, 301, table), 0);
    EXPECT_EQ(0, strncmp(table, "Sunday@Monday@", 14)) << table;
    char b[64];
    EXPECT_STREQ("January", utGetMonthName(b, 0));
    EXPECT_STREQ("December", utGetMonthName(b, 11));
    EXPECT_STREQ("", utGetMonthName(b, 12));
    EXPECT_STREQ("Sunday", utGetDayName(b, 0));
    EXPECT_STREQ("Saturday", utGetDayName(b, 6));
    EXPECT_STREQ("", utGetDayName(b, -1));
    EXPECT_EQ(1, utFindMonthName("FEBRUARY"));
    EXPECT_EQ(-1, utFindMonthName("Feb"));
    // The pick lists of the editor write their month names from the lists.
    EXPECT_NE(nullptr, strstr(utFormatTimeByCode(b, 0, 6), ", 19")) << b;
}

TEST_F(Dates, ASectionOfATextFileReplacesTheNames)
{
    qmtest::TempDir dir;
    const std::string path = dir.file("names.txt");
    ASSERT_TRUE(qmtest::writeFile(
        path, "[other]\r\nx@\r\n[ Deutsch ]\r\nJanuar@Februar@M\xe4rz@\r\nJan@Feb@\r\n"
              "Sonntag@Montag@\r\nSo@Mo@\r\n"));
    EXPECT_EQ(1, utLoadDateNames(nullptr, path.c_str(), "deutsch"));
    char b[64];
    EXPECT_STREQ("Februar", utGetMonthName(b, 1));
    EXPECT_STREQ("", utGetMonthName(b, 3));   // the file's list has three
    EXPECT_STREQ("Montag", utGetDayName(b, 1));
    EXPECT_EQ(0, utFindMonthName("JANUAR"));
    EXPECT_EQ(-1, utFindMonthName("January"));
    // A missing file or section keeps the string table's names.
    utFreeDateNames();
    utLoadDateNames(nullptr, dir.file("none.txt").c_str(), "deutsch");
    EXPECT_STREQ("February", utGetMonthName(b, 1));
    utFreeDateNames();
    utLoadDateNames(nullptr, path.c_str(), "missing");
    EXPECT_STREQ("Monday", utGetDayName(b, 1));
}

TEST_F(Dates, Parsing)
{
    struct {
        const char *text;
        int code;
        bool ok;
        Date want;
        int codeAfter;
    } cases[] = {
        {"01/02/03", 25, true, {2003, 0, 2}, 2},
        {"01/02/2003", 25, true, {2003, 0, 2}, 25},
        {"01/02/200", 25, false, {0, 0, 0}, 25},   // 9 characters
        {"02/01/03", 26, true, {2003, 0, 2}, 3},
        {"02/01/2003", 26, true, {2003, 0, 2}, 26},
        {"01/02/03", 2, true, {2003, 0, 2}, 2},
        {"02/01/03", 3, true, {2003, 0, 2}, 3},
        {"01/02/2003", 2, false, {0, 0, 0}, 2},
        {"2003-01-02", 102, true, {2003, 0, 2}, 102},
        {"January 2, 2003", 1, true, {2003, 0, 2}, 1},
        {"february 28 99", 1, true, {1999, 1, 28}, 1},
        {"Feb 2, 2003", 1, false, {0, 0, 0}, 1},
        {"January 0, 2003", 1, false, {0, 0, 0}, 1},
        {"01/02/03", 7, false, {0, 0, 0}, 7},
        // Checked as dates, not as digits: the 31st of a short month, months
        // 0 and 13, the 29th of February in a common year.
        {"04/31/2003", 25, false, {0, 0, 0}, 25},
        {"00/10/2003", 25, false, {0, 0, 0}, 25},
        {"13/10/2003", 25, false, {0, 0, 0}, 25},
        {"02/29/03", 25, false, {0, 0, 0}, 25},
        {"02/29/04", 25, true, {2004, 1, 29}, 2},
        {"31/04/2003", 26, false, {0, 0, 0}, 26},
        {"2003-13-01", 102, false, {0, 0, 0}, 102},
        {"ab/cd/efgh", 25, false, {0, 0, 0}, 25},
    };
    for (const auto &c : cases) {
        int code = c.code;
        Date got = {7, 7, 7};
        EXPECT_EQ(c.ok, utParseDate(c.text, &code, &got.y, &got.m, &got.d) != FALSE) << c.text;
        EXPECT_EQ(c.want, got) << c.text;
        EXPECT_EQ(c.codeAfter, code) << c.text;
        Date byCode;
        EXPECT_EQ(c.ok, utParseDateByCode(c.text, c.code, &byCode.y, &byCode.m, &byCode.d) != 0);
    }
    for (auto yc : {std::make_pair(49, 2049), {50, 1950}, {1999, 1999}, {-1, -1}, {0, 2000},
                    {99, 1999}, {100, 100}})
        EXPECT_EQ(yc.second, utExpandYear(yc.first)) << yc.first;
}

TEST_F(Dates, Arithmetic)
{
    struct {
        Date from;
        int n;
        Date want;
    } adds[] = {
        {{2003, 0, 31}, 1, {2003, 1, 1}},   {{2004, 2, 1}, -1, {2004, 1, 29}},
        {{1999, 11, 31}, 1, {2000, 0, 1}},  {{2000, 0, 1}, -1, {1999, 11, 31}},
        {{2003, 0, 1}, 365, {2004, 0, 1}},  {{2003, 5, 15}, 0, {2003, 5, 15}},
        {{3, 0, 31}, 1, {2003, 1, 1}},      {{2003, 2, 1}, -60, {2002, 11, 31}},
    };
    for (const auto &c : adds) {
        Date d = c.from;
        utAddDays(&d.y, &d.m, &d.d, c.n);
        EXPECT_EQ(c.want, d) << c.from << " + " << c.n;
    }
    struct {
        int y, m, w;
    } firsts[] = {{1900, 0, 1}, {2036, 0, 2}, {2003, 1, 6}, {1970, 0, 4}, {1969, 11, 1},
                  {2000, 1, 2}, {2100, 0, 5}, {1800, 0, 3}};
    for (const auto &c : firsts)
        EXPECT_EQ(c.w, utMonthFirstWeekday(c.y, c.m)) << c.y << "/" << c.m;
    EXPECT_EQ(0, utWeekday(2003, 1, 2));   // 2 February 2003, a Sunday
    EXPECT_EQ(29, utDaysInMonth(2000, 1));
    EXPECT_EQ(28, utDaysInMonth(1900, 1));
    EXPECT_EQ(31, utDaysInMonth(2003, 11));
    EXPECT_EQ(30, utDaysInMonth(2003, 10));
    EXPECT_EQ(0xFFFF, utDaysInMonth(2003, 12));
    EXPECT_EQ(0xFFFF, utDaysInMonth(2003, -1));
    EXPECT_EQ(366, utDaysInYear(2000));
    EXPECT_EQ(365, utDaysInYear(2100));
    EXPECT_FALSE(utIsValidDate(2003, 3, 31));
    EXPECT_TRUE(utIsValidDate(2003, 4, 31));
    // Date numbers order dates, also across a year end and a leap day;
    // within a month consecutive days differ by one.
    Date d = {1999, 11, 31};
    int32_t before = utDateNumber(d.y, d.m, d.d);
    utAddDays(&d.y, &d.m, &d.d, 1);
    EXPECT_LT(before, utDateNumber(d.y, d.m, d.d));
    EXPECT_EQ(20000001, utDateNumber(d.y, d.m, d.d));
    EXPECT_LT(utDateNumber(2004, 1, 29), utDateNumber(2004, 2, 1));
    EXPECT_EQ(utDateNumber(1900, 0, 1) + 1, utDateNumber(1900, 0, 2));
    int16_t y = 2002, m = 11;
    utNextMonth(&y, &m);
    EXPECT_EQ((Date{2003, 0, 1}), (Date{y, m, 1}));
    utPrevMonth(&y, &m);
    EXPECT_EQ((Date{2002, 11, 1}), (Date{y, m, 1}));
}

TEST_F(Dates, SelectFormatListsTodayInFiveCodes)
{
    std::vector<std::string> shown;
    std::vector<int> selected;
    int code = 25;
    {
        qmtest::DialogDriver drive({[&](HWND d) {
            shown = qmtest::readList(d, 1000);
            selected = qmtest::selectedItems(d, 1000);
            qmtest::chooseItem(d, 1000, 4);
            qmtest::pressButton(d, IDOK);
        }});
        EXPECT_TRUE(utSelectDateFormat(nullptr, &code));
    }
    ASSERT_EQ(5u, shown.size());
    EXPECT_NE(std::string::npos, shown[1].find(" ( mmddyy )"));
    EXPECT_NE(std::string::npos, shown[4].find(" ( ddmmyyyy )"));
    EXPECT_EQ(std::vector<int>{2}, selected);
    EXPECT_EQ(26, code);
    {
        qmtest::DialogDriver drive({[](HWND d) { qmtest::pressButton(d, IDCANCEL); }});
        EXPECT_FALSE(utSelectDateFormat(nullptr, &code));
    }
    EXPECT_EQ(26, code);
}

}  // namespace
