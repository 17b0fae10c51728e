// Dates: name lists, text forms and calendar arithmetic.
#include "support/ut_date.h"
#include "support/dlg_select.h"
#include "support/ff_file.h"
#include "support/ut_datepick.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_text.h"
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

enum { MONTHS = 0, MONTHS_SHORT = 1, DAYS = 2, DAYS_SHORT = 3, LISTS = 4 };

// The four lists in file order (month, short month, weekday, short weekday),
// their string ids and the most characters taken from the string table.
const UINT kListIds[LISTS] = {UT_IDS_MONTH_NAMES, UT_IDS_MONTH_SHORT, UT_IDS_DAY_NAMES,
                              UT_IDS_DAY_SHORT};
const size_t kListMax[LISTS] = {144, 144, 128, 128};
const size_t kFileLineMax = 510;
const char kItemEnd = '@';
const size_t kNameMax = 63;

struct NameList {
    bool loaded = false;
    std::vector<std::string> items;
};
NameList g_lists[LISTS];

// Every item ends with the at sign; what follows the last one (a line end)
// is not an item.
void setList(int which, const char *text)
{
    NameList &l = g_lists[which];
    l.items.clear();
    l.loaded = true;
    const char *at = text;
    while (const char *end = strchr(at, kItemEnd)) {
        // Names are cut to what a 64-byte buffer holds.
        l.items.emplace_back(at, std::min<size_t>(end - at, kNameMax));
        at = end + 1;
    }
}

void loadFromStrings(HWND owner)
{
    for (int i = 0; i < LISTS; ++i) {
        if (g_lists[i].loaded)
            continue;
        char text[256] = "";
        utLoadString(owner, kListIds[i], text);
        text[kListMax[i]] = 0;
        setList(i, text);
    }
}

std::string trimmed(const std::string &s)
{
    size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// The lines of the file after "[section]": up to four, each cut to the
// longest line the list reader takes.
std::vector<std::string> sectionLines(const char *path, const char *section)
{
    std::vector<std::string> out;
    MemHandle text = ffReadFileText(path, FALSE);
    if (!text)
        return out;
    std::vector<std::string> lines;
    {
        MemLock<char> p(text);
        const char *at = p ? p.get() : "";
        while (*at) {
            const char *end = strchr(at, '\n');
            end = end ? end + 1 : at + strlen(at);
            lines.emplace_back(at, end);
            at = end;
        }
    }
    utFreeHandle(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = trimmed(lines[i].substr(0, lines[i].find_first_of("\r\n")));
        if (line.empty() || line[0] != '[')
            continue;
        std::string name = trimmed(line.substr(1, line.find(']') == std::string::npos
                                                      ? std::string::npos
                                                      : line.find(']') - 1));
        if (strcasecmp(name.c_str(), section) != 0)
            continue;
        for (size_t k = i + 1; k < lines.size() && out.size() < LISTS; ++k)
            out.push_back(lines[k].substr(0, kFileLineMax));
        break;
    }
    return out;
}

const std::string *item(int which, int i)
{
    if (!g_lists[which].loaded)
        loadFromStrings(nullptr);
    const std::vector<std::string> &v = g_lists[which].items;
    return i >= 0 && i < (int)v.size() ? &v[i] : nullptr;
}

char *copyItem(char *buffer, int which, int i)
{
    const std::string *s = item(which, i);
    strcpy(buffer, s ? s->c_str() : "");
    return buffer;
}

// Days since 1 January 1970 of a date in the proleptic Gregorian calendar.
int64_t daysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// Digits only (at least one); the value in *out.
bool digits(const std::string &s, int *out)
{
    if (s.empty() || s.size() > 9)
        return false;
    for (char c : s)
        if (!isdigit((unsigned char)c))
            return false;
    *out = atoi(s.c_str());
    return true;
}

BOOL failed(int16_t *year, int16_t *month, int16_t *day)
{
    *year = *month = *day = 0;
    return FALSE;
}

}  // namespace

int utLoadDateNames(HWND owner, const char *path, const char *section)
{
    if (path && *path && section && *section) {
        std::vector<std::string> lines = sectionLines(path, section);
        for (size_t i = 0; i < lines.size(); ++i)
            setList((int)i, lines[i].c_str());
    }
    loadFromStrings(owner);
    return 1;
}

void utFreeDateNames()
{
    for (NameList &l : g_lists)
        l = NameList();
}

char *utGetMonthName(char *buffer, int month) { return copyItem(buffer, MONTHS, month); }
char *utGetDayName(char *buffer, int weekday) { return copyItem(buffer, DAYS, weekday); }
char *utGetMonthShortName(char *buffer, int month)
{
    return copyItem(buffer, MONTHS_SHORT, month);
}
char *utGetDayShortName(char *buffer, int weekday)
{
    return copyItem(buffer, DAYS_SHORT, weekday);
}

int utFindMonthName(const char *text)
{
    if (!text)
        return -1;
    for (int i = 0; const std::string *s = item(MONTHS, i); ++i)
        if (strcasecmp(s->c_str(), text) == 0)
            return i;
    return -1;
}

const char *utAmText() { return "AM"; }
const char *utPmText() { return "PM"; }

char *utFormatTimeNow(char *buffer, int style)
{
    time_t now = time(nullptr);
    struct tm t;
    localtime_r(&now, &t);
    return utFormatTime(buffer, t.tm_hour, t.tm_min, t.tm_sec, style);
}

char *utFormatDate(char *buffer, int code, int year, int month, int day)
{
    year = utExpandYear(year);
    const int yy = year % 100, mm = month + 1;
    switch (code) {
    case 1: {
        char name[160];
        sprintf(buffer, "%s %d, %d", utGetMonthName(name, month), day, year);
        break;
    }
    case 3: sprintf(buffer, "%02d/%02d/%02d", day, mm, yy); break;
    case 25: sprintf(buffer, "%02d/%02d/%4d", mm, day, year); break;
    case 26: sprintf(buffer, "%02d/%02d/%4d", day, mm, year); break;
    case 102: sprintf(buffer, "%04d-%02d-%02d", year, mm, day); break;
    default: sprintf(buffer, "%02d/%02d/%02d", mm, day, yy); break;
    }
    return buffer;
}

BOOL utParseDate(const char *text, int *code, int16_t *year, int16_t *month, int16_t *day)
{
    if (!text || !code)
        return failed(year, month, day);
    const size_t len = strlen(text);
    int y = 0, m = 0, d = 0, shortCode = 0;
    if (*code == 1) {
        std::string copy(text);
        char *words[3];
        if (utSplitWords(&copy[0], words, 3) != 3)
            return failed(year, month, day);
        m = utFindMonthName(words[0]);
        if (m < 0 || !digits(words[1], &d) || d < 1 || !digits(words[2], &y))
            return failed(year, month, day);
    } else if (*code == 102) {
        if (sscanf(text, "%04d-%02d-%02d", &y, &m, &d) != 3)
            return failed(year, month, day);
        if (m > 0)
            --m;
    } else {
        const bool monthFirst = *code == 2 || *code == 25;
        switch (*code) {
        case 2:
        case 3:
            if (len != 8)
                return failed(year, month, day);
            break;
        case 25:
        case 26:
            if (len != 8 && len != 10)
                return failed(year, month, day);
            break;
        default:
            return failed(year, month, day);
        }
        // The first ten characters cut at positions 2 and 5.
        std::string s(text, len < 10 ? len : 10);
        if (s[2] != '/' || s[5] != '/')
            return failed(year, month, day);
        int a, b;
        if (!digits(s.substr(0, 2), &a) || !digits(s.substr(3, 2), &b) ||
            !digits(s.substr(6), &y))
            return failed(year, month, day);
        m = (monthFirst ? a : b) - 1;
        d = monthFirst ? b : a;
        if (len == 8 && (*code == 25 || *code == 26))
            shortCode = *code == 25 ? 2 : 3;
    }
    y = utExpandYear(y);
    if (!utIsValidDate(y, m, d) || y > 32767)
        return failed(year, month, day);
    if (shortCode)
        *code = shortCode;
    *year = (int16_t)y;
    *month = (int16_t)m;
    *day = (int16_t)d;
    return TRUE;
}

BOOL utParseDateByCode(const char *text, int code, int16_t *year, int16_t *month,
                       int16_t *day)
{
    return utParseDate(text, &code, year, month, day);
}

void utGetToday(int16_t *year, int16_t *month, int16_t *day)
{
    time_t now = time(nullptr);
    struct tm t;
    localtime_r(&now, &t);
    *year = (int16_t)(t.tm_year + 1900);
    *month = (int16_t)t.tm_mon;
    *day = (int16_t)t.tm_mday;
}

int utExpandYear(int year)
{
    if (year >= 50 && year <= 99)
        return year + 1900;
    if (year >= 0 && year <= 49)
        return year + 2000;
    return year;
}

BOOL utIsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int utDaysInMonth(int year, int month)
{
    switch (month) {
    case 0: case 2: case 4: case 6: case 7: case 9: case 11: return 31;
    case 3: case 5: case 8: case 10: return 30;
    case 1: return utIsLeapYear(year) ? 29 : 28;
    default: return 0xFFFF;
    }
}

int utDaysInYear(int year) { return utIsLeapYear(year) ? 366 : 365; }

BOOL utIsValidDate(int year, int month, int day)
{
    return month >= 0 && month <= 11 && day >= 1 && day <= utDaysInMonth(year, month);
}

int32_t utDateNumber(int year, int month, int day)
{
    return (int32_t)year * 10000 + month * 100 + day;
}

void utNextMonth(int16_t *year, int16_t *month)
{
    if (++*month > 11) {
        *month = 0;
        ++*year;
    }
}

void utPrevMonth(int16_t *year, int16_t *month)
{
    if (--*month < 0) {
        *month = 11;
        --*year;
    }
}

void utAddDays(int16_t *year, int16_t *month, int16_t *day, int n)
{
    *year = (int16_t)utExpandYear(*year);
    if (n == 0 || *month < 0 || *month > 11)
        return;
    int d = *day + n;
    if (n < 0) {
        while (d < 1) {
            utPrevMonth(year, month);
            d += utDaysInMonth(*year, *month);
        }
    } else {
        while (d > utDaysInMonth(*year, *month)) {
            d -= utDaysInMonth(*year, *month);
            utNextMonth(year, month);
        }
    }
    *day = (int16_t)d;
}

int utMonthFirstWeekday(int year, int month)
{
    if (month < 0 || month > 11)
        return 0;
    // 1 January 1970 was a Thursday.
    int64_t w = (daysFromCivil(year, month + 1, 1) + 4) % 7;
    return (int)(w < 0 ? w + 7 : w);
}

int utWeekday(int year, int month, int day)
{
    int w = (utMonthFirstWeekday(year, month) + day - 1) % 7;
    return w < 0 ? w + 7 : w;
}

BOOL utSelectDateFormat(HWND owner, int *code)
{
    static const int kCodes[5] = {1, 2, 25, 3, 26};
    static const char *const kPatterns[5] = {"", " ( mmddyy )", " ( mmddyyyy )", " ( ddmmyy )",
                                             " ( ddmmyyyy )"};
    int16_t y, m, d;
    utGetToday(&y, &m, &d);
    std::string lines;
    int current = -1;
    for (int i = 0; i < 5; ++i) {
        char text[200];
        utFormatDate(text, kCodes[i], y, m, d);
        if (i)
            lines += '\n';
        lines += text;
        lines += kPatterns[i];
        if (kCodes[i] == *code)
            current = i;
    }
    MemHandle items = utHandleFromString(lines.c_str());
    if (!items)
        return FALSE;
    MemHandle chosen = dlgSelectFromListAt(owner, "Select Format", items, '\n', current);
    utFreeHandle(items);
    if (!chosen)
        return FALSE;
    std::string text;
    {
        MemLock<char> p(chosen);
        text = p ? p.get() : "";
    }
    utFreeHandle(chosen);
    // The line is found again among the lines offered.
    size_t at = 0;
    for (int i = 0; i < 5; ++i) {
        size_t end = lines.find('\n', at);
        std::string line = lines.substr(at, end == std::string::npos ? std::string::npos
                                                                      : end - at);
        if (line == text) {
            *code = kCodes[i];
            return TRUE;
        }
        at = end + 1;
    }
    return FALSE;
}

void utFillMonthCombo(HWND combo, int32_t month)
{
    char text[8];
    for (int m = 1; m <= 12; ++m) {
        snprintf(text, sizeof text, "%d", m);
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)text);
    }
    if (month < 0 || month > 11)
        return;
    snprintf(text, sizeof text, "%d", month + 1);
    LRESULT at = SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
    if (at != CB_ERR)
        SendMessageA(combo, CB_SETCURSEL, (WPARAM)at, 0);
}
