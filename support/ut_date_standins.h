// Pick lists of the current date and time.
#pragma once
#include "support/qmwin.h"

// The current date and time in the program's formats (or the SQL stamp
// formats) in an unsorted list titled "Date and Time"; a new handle with
// the chosen line, 0 when cancelled.
MemHandle utSelectDateTimeFormat(HWND owner);
MemHandle utSelectSqlDateFormat(HWND owner);
