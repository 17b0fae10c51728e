// Spreadsheet-style column names of numbers: 1 A, 26 Z, 27 AA, 28 AB ...
#pragma once
#include "support/qmwin.h"

// The name of the 1-based number in upper case into the buffer (size bytes,
// always terminated); its length. Numbers below 1 give the empty text.
int utColumnName(char *buffer, int32_t n, int size = 16);
// The same in lower case.
int utColumnNameLower(char *buffer, int32_t n, int size = 16);
