// The generic number dialog "value": one value edited in a field with a
// spin control, written back only on OK.
#pragma once
#include "support/qmwin.h"

// Value kinds: signed 16-bit, signed 32-bit, double.
enum : int { DLG_VALUE_INT16 = 4, DLG_VALUE_INT32 = 5, DLG_VALUE_DOUBLE = 7 };

// step, minimum, maximum and value point at values of the kind. The spin
// wraps at the limits; a typed value is not checked against them. Non-zero
// on OK with the value written back, 0 on Cancel.
INT_PTR dlgEnterValue(HWND owner, const char *caption, const char *label, int kind,
                      const void *step, const void *minimum, const void *maximum, void *value);
