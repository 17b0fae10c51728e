// The generic number dialog "value" (and "valuex" with its check box "Also
// use it as default"): one value edited in a field with a spin control,
// written back only on OK.
#pragma once
#include "support/qmwin.h"

// Value kinds: signed 16-bit, signed 32-bit, double.
enum : int { DLG_VALUE_INT16 = 4, DLG_VALUE_INT32 = 5, DLG_VALUE_DOUBLE = 7 };

// step, minimum, maximum and value point at values of the kind; doubles are
// shown with the width and decimals. The spin wraps at the limits; on OK a
// text that is not a number keeps the dialog open without a word, and a
// value outside minimum..maximum (read whole, before it is narrowed to the
// kind) keeps it open with a message naming the range. With a default-flag
// pointer the "valuex" template is shown and the check box's state written
// back into it. 1 on OK with the value written back, 0 on Cancel.
INT_PTR dlgEnterValueEx(HWND owner, const char *caption, const char *label, int kind,
                        const void *step, const void *minimum, const void *maximum, void *value,
                        int width = 6, int decimals = 2, BOOL *useAsDefault = nullptr);
inline INT_PTR dlgEnterValue(HWND owner, const char *caption, const char *label, int kind,
                             const void *step, const void *minimum, const void *maximum,
                             void *value)
{
    return dlgEnterValueEx(owner, caption, label, kind, step, minimum, maximum, value);
}
