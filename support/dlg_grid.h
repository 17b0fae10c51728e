// The "Grid" dialog ("colrow"): a number of columns and of rows, each in a
// field with a spin control.
#pragma once
#include "support/qmwin.h"

// Shows the counts (the caption when it is not empty); the spins step by 1
// from 1 to the maxima and wrap. OK checks each field in turn: not a whole
// number (a minus sign included) gives "Must be an integer", 0 gives
// "Number of columnes must be greater than 0" (or "... rows ..."), a count
// above its maximum a message naming the maximum; the field is selected and
// the dialog stays open. The counts are read as 32-bit values before any
// test. 1 on OK with both counts written back, 0 on Cancel.
INT_PTR dlgColRow(HWND owner, const char *caption, int16_t maxColumns, int16_t *columns,
                  int16_t maxRows, int16_t *rows);
INT_PTR dlgColRow32(HWND owner, const char *caption, int32_t maxColumns, int32_t *columns,
                    int32_t maxRows, int32_t *rows);
