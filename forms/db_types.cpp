// Field data types, the data-type choosers and dates.
#include "forms/db_types.h"
#include "support/ut_date.h"
#include <stdio.h>
#include <string.h>
#include <initializer_list>

namespace {

const DbTypeName kFieldTypes[] = {
    {8, "Time"},
    {9, "Date (Literal)"},
    {15, "Date (mm/dd/yy)"},
    {18, "Date (mm/dd/yyyy)"},
    {16, "Date (dd/mm/yy)"},
    {19, "Date (dd/mm/yyyy)"},
    {4, "Short Integer"},
    {5, "Long Integer"},
    {7, "Real Number"},
    {3, "Text"},
    {14, "QM Text"},
    {10, "QM Object"},
    {11, "Image"},
    {12, "Image (File Name)"},
    {23, "Text (File Name)"},
    {110, "Rating"},
};
const int16_t kFieldTypeCount = (int16_t)(sizeof kFieldTypes / sizeof kFieldTypes[0]);

const DbTypeName kColumnTypes[] = {
    {30, "Binary"},       {28, "Long Binary"},   {29, "Var Binary"}, {2, "Char"},
    {61, "Time"},         {60, "Date"},          {4, "Short Integer"}, {5, "Long Integer"},
    {6, "Float"},         {7, "Double"},         {111, "Decimal"},   {3, "Text"},
    {31, "Long Var Char"}, {14, "QM Text"},      {12, "Image (File Name)"},
};
const int16_t kColumnTypeCount = (int16_t)(sizeof kColumnTypes / sizeof kColumnTypes[0]);

bool oneOf(int16_t code, std::initializer_list<int16_t> codes)
{
    for (int16_t c : codes)
        if (c == code)
            return true;
    return false;
}

const char *nameIn(const DbTypeName *table, int16_t count, int16_t code)
{
    for (int16_t i = 0; i < count; ++i)
        if (table[i].code == code)
            return table[i].name;
    return nullptr;
}

}  // namespace

BOOL dbIsNumericType(int16_t code) { return oneOf(code, {4, 5, 6, 7, 101, 110, 111, 112}); }
BOOL dbIsImageType(int16_t code) { return oneOf(code, {10, 11, 12}); }
BOOL dbIsDateType(int16_t code) { return oneOf(code, {9, 15, 16, 17, 18, 19, 60, 61}); }
BOOL dbIsTextType(int16_t code)
{
    return oneOf(code, {3, 8, 9, 12, 13, 15, 16, 18, 19, 20, 21, 22, 23, 31, 50, 60, 61});
}
BOOL dbHasValueType(int16_t code)
{
    return dbIsTextType(code) || dbIsNumericType(code) || dbIsDateType(code) || code == 14;
}

const DbTypeName *dbTypeTable(int16_t *count)
{
    if (count)
        *count = kFieldTypeCount;
    return kFieldTypes;
}

const DbTypeName *dbColumnTypeTable(int16_t *count)
{
    if (count)
        *count = kColumnTypeCount;
    return kColumnTypes;
}

const char *dbTypeName(int16_t code)
{
    return nameIn(kFieldTypes, kFieldTypeCount, code);
}

const char *dbColumnTypeName(int16_t code)
{
    return code == 101 ? "State (1 or 0)" : nameIn(kColumnTypes, kColumnTypeCount, code);
}

void dbFillTypeCombo(HWND dialog, int id, int16_t code)
{
    HWND combo = GetDlgItem(dialog, id);
    for (int16_t i = 0; i < kFieldTypeCount; ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)kFieldTypes[i].name);
    const char *name = dbTypeName(code);
    LRESULT at = name ? SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)name) : CB_ERR;
    SendMessageA(combo, CB_SETCURSEL, at == CB_ERR ? (WPARAM)-1 : (WPARAM)at, 0);
}

int16_t dbGetTypeCombo(HWND dialog, int id)
{
    HWND combo = GetDlgItem(dialog, id);
    LRESULT sel = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (sel == CB_ERR)
        return 0;
    LRESULT n = SendMessageA(combo, CB_GETLBTEXTLEN, (WPARAM)sel, 0);
    if (n == CB_ERR || n < 0 || n > 255)
        return 0;
    char text[256] = "";
    SendMessageA(combo, CB_GETLBTEXT, (WPARAM)sel, (LPARAM)text);
    for (int16_t i = 0; i < kFieldTypeCount; ++i)
        if (strcmp(kFieldTypes[i].name, text) == 0)
            return (int16_t)kFieldTypes[i].code;
    for (int16_t i = 0; i < kFieldTypeCount; ++i)
        if (lstrcmpiA(kFieldTypes[i].name, text) == 0)
            return (int16_t)kFieldTypes[i].code;
    return 0;
}

void dbShowTypeName(HWND control, int16_t code)
{
    const char *name = dbTypeName(code);
    LRESULT at = SendMessageA(control, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)(name ? name : ""));
    SendMessageA(control, CB_SETCURSEL, at == CB_ERR ? (WPARAM)-1 : (WPARAM)at, 0);
}

void dtFromTime(DateRecord *out, uint32_t secondsSince1970)
{
    if (!out)
        return;
    // Seconds since 1970 as a FILETIME, then to local time.
    uint64_t t = ((uint64_t)secondsSince1970 + 11644473600ull) * 10000000ull;
    FILETIME utc = {(DWORD)t, (DWORD)(t >> 32)}, local;
    SYSTEMTIME st = {};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) {
        *out = DateRecord{1, 0, 1970};
        return;
    }
    out->day = st.wDay;
    out->month = (uint16_t)(st.wMonth - 1);
    out->year = st.wYear;
}

int32_t dtNumber(const DateRecord *date)
{
    return date ? (int32_t)date->year * 10000 + (int32_t)date->month * 100 + date->day : 0;
}

int dtCompare(const DateRecord *a, const DateRecord *b)
{
    int32_t na = dtNumber(a), nb = dtNumber(b);
    return na == nb ? 0 : na > nb ? 1 : -1;
}

void dtToday(DateRecord *out)
{
    if (!out)
        return;
    SYSTEMTIME st;
    GetLocalTime(&st);
    int32_t year = st.wYear;
    dtExpandYear(&year);
    out->day = st.wDay;
    out->month = (uint16_t)(st.wMonth - 1);
    out->year = (uint16_t)year;
}

void dtExpandYear(int32_t *year)
{
    if (year)
        *year = utExpandYear(*year);
}
