// Field data types, their display names and the predicates asked of them;
// the data-type choosers of the dialogs; the 6-byte date record.
#pragma once
#include "support/qmwin.h"

// A name table row: a code and its display name.
struct DbTypeName {
    int32_t code;
    const char *name;
};

#pragma pack(push, 1)
// A date: day of month 1-31, month 0-11 (0 is January), four-digit year.
struct DateRecord {
    uint16_t day;
    uint16_t month;
    uint16_t year;
};
#pragma pack(pop)
static_assert(sizeof(DateRecord) == 6, "a date record is 6 bytes");

// ---- types -----------------------------------------------------------------------------
BOOL dbIsNumericType(int16_t code);   // 4, 5, 6, 7, 101, 110, 111, 112
BOOL dbIsImageType(int16_t code);     // 10, 11, 12
BOOL dbIsDateType(int16_t code);      // 9, 15-19, 60, 61
BOOL dbIsTextType(int16_t code);      // 3, 8, 9, 12, 13, 15, 16, 18-23, 31, 50, 60, 61
BOOL dbHasValueType(int16_t code);    // text, numeric, date, and 14
// The field data-type table (16 rows, in the choosers' order) and its count.
const DbTypeName *dbTypeTable(int16_t *count);
// The database column-type table (15 rows) and its count.
const DbTypeName *dbColumnTypeTable(int16_t *count);
// The display name of a field data type; null when it has none.
const char *dbTypeName(int16_t code);
// The name of a database column type (code 101 is "State (1 or 0)"); null
// when it has none.
const char *dbColumnTypeName(int16_t code);

// ---- choosers ---------------------------------------------------------------------------
// Fills a dialog combo box with every name in table order and selects the
// code's name (nothing when the code has none).
void dbFillTypeCombo(HWND dialog, int id, int16_t code);
// The code of the selected name (exact, then ignoring case); 0 when none.
int16_t dbGetTypeCombo(HWND dialog, int id);
// Selects the item whose text is the code's name; the empty text when none.
void dbShowTypeName(HWND control, int16_t code);

// ---- dates -----------------------------------------------------------------------------
void dtFromTime(DateRecord *out, uint32_t secondsSince1970);
int32_t dtNumber(const DateRecord *date);
int dtCompare(const DateRecord *a, const DateRecord *b);
void dtToday(DateRecord *out);
void dtExpandYear(int32_t *year);
