// Times and dates written in the program's format codes, and the pick
// lists of the current date and time that the text editor inserts from.
#pragma once
#include "support/qmwin.h"
#include <time.h>

// The time of day in a style: 1 "hh:mm AM", 2 (and any style outside 1-6)
// "hh:mm:ss AM", 3 "hh:mm", 4 "hh:mm:ss", 5 "hhmm", 6 "hhmmss"; 12-hour
// forms give the hour less 12 above 12 and "PM" from hour 12 on.
char *utFormatTime(char *buffer, int hour, int minute, int second, int style);
// A time value (seconds as from time()) in a date format code's form.
char *utFormatTimeByCode(char *buffer, time_t value, int code);
char *utFormatNowByCode(char *buffer, int code);

// Unsorted pick lists of the current time: "Date and Time" in the codes 25,
// 26, 2, 3, 102, 1, 6, 4, 5, 8, 10, 9, 21, 22, 23, 24, 11, 12, 100, and
// "SQL Date and Time Stamp" in 103, 102, 100, 99. A new handle with the
// chosen line, 0 when cancelled.
MemHandle utSelectDateTimeFormat(HWND owner);
MemHandle utSelectSqlDateFormat(HWND owner);
