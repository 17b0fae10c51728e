// Dates: the month and weekday name lists, dates written and parsed in the
// program's format codes, and the calendar arithmetic of the calendar
// object, date fields and the history log.
//
// A date is a year (four digits), a month 0-11 and a day 1-31. The name
// lists come from the string table (300 month names, 301 weekday names
// Sunday first, 302 and 303 their three-letter forms; each item followed
// by "@"), or from a section of a text file that replaces them; a list
// not loaded yet is taken from the string table when it is first used.
#pragma once
#include "support/qmwin.h"

// String ids of the default name lists.
enum : UINT {
    UT_IDS_MONTH_NAMES = 300,
    UT_IDS_DAY_NAMES = 301,
    UT_IDS_MONTH_SHORT = 302,
    UT_IDS_DAY_SHORT = 303,
};

// ---- name lists --------------------------------------------------------------------
// With a path and a section: the four lines after the line "[section]"
// (name compared without regard to case) of the text file are the month,
// short month, weekday and short weekday lists. Every list still missing
// is loaded from the string table. Returns 1.
int utLoadDateNames(HWND owner, const char *path, const char *section);
void utFreeDateNames();
// The name into buffer (64 bytes: longer names are cut to 63 characters);
// empty when out of range. Weekday 0 is Sunday.
char *utGetMonthName(char *buffer, int month);
char *utGetDayName(char *buffer, int weekday);
char *utGetMonthShortName(char *buffer, int month);
char *utGetDayShortName(char *buffer, int weekday);
// Position of the text in the month list (case ignored), -1 when absent.
int utFindMonthName(const char *text);
// "AM" and "PM".
const char *utAmText();
const char *utPmText();

// ---- text forms ---------------------------------------------------------------------
// The current time of day in a time style (utFormatTime).
char *utFormatTimeNow(char *buffer, int style);
// A date (the year through utExpandYear first) in a code: 1 "Month d, yyyy",
// 3 "dd/mm/yy", 25 "mm/dd/yyyy", 26 "dd/mm/yyyy", 102 "yyyy-mm-dd", any
// other "mm/dd/yy".
char *utFormatDate(char *buffer, int code, int year, int month, int day);
// Parses a date written in a code: 1 "Month d, yyyy" (blanks and commas
// between the words); 102 "yyyy-mm-dd"; 2 and 3 "mm/dd/yy" and "dd/mm/yy"
// (8 characters); 25 and 26 their four-digit-year forms (10 characters,
// or 8, which changes the code to 2 or 3). The year passes through
// utExpandYear and the date must be valid. FALSE with zero outputs
// otherwise.
BOOL utParseDate(const char *text, int *code, int16_t *year, int16_t *month, int16_t *day);
BOOL utParseDateByCode(const char *text, int code, int16_t *year, int16_t *month,
                       int16_t *day);
void utGetToday(int16_t *year, int16_t *month, int16_t *day);

// ---- arithmetic -----------------------------------------------------------------------
// 0-49 become 2000-2049, 50-99 1950-1999; other values unchanged.
int utExpandYear(int year);
BOOL utIsLeapYear(int year);
// 28 to 31; 0xFFFF for a month outside 0-11.
int utDaysInMonth(int year, int month);
int utDaysInYear(int year);
BOOL utIsValidDate(int year, int month, int day);
// year x 10000 + month x 100 + day: dates compare as their numbers (it
// is not a day count: the numbers jump at a month's and a year's end).
int32_t utDateNumber(int year, int month, int day);
// One month on or back, carrying into the year.
void utNextMonth(int16_t *year, int16_t *month);
void utPrevMonth(int16_t *year, int16_t *month);
// Adds n days (the year expanded first).
void utAddDays(int16_t *year, int16_t *month, int16_t *day, int n);
// Weekday (0 = Sunday) of the first of the month, and of a date.
int utMonthFirstWeekday(int year, int month);
int utWeekday(int year, int month, int day);

// ---- dialogs and controls ------------------------------------------------------------
// "Select Format": today's date in the codes 1, 2, 25, 3, 26 with their
// patterns, the current code's line chosen at the start. TRUE with the
// chosen code in *code; FALSE (code unchanged) on Cancel.
BOOL utSelectDateFormat(HWND owner, int *code);
// Fills a combo box with "1".."12" and selects month + 1 (nothing for a
// month outside 0-11).
void utFillMonthCombo(HWND combo, int32_t month);
