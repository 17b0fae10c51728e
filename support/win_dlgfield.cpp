// Dialog fields, numbers and spin controls.
#include "support/win_dlgfield.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/ut_text.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <initializer_list>

// ---- texts and items -------------------------------------------------------------

void winSetDlgTextHandle(HWND dlg, int id, MemHandle text)
{
    if (!text) {
        SetDlgItemTextA(dlg, id, "");
        return;
    }
    MemLock<char> p(text);
    SetDlgItemTextA(dlg, id, p ? p.get() : "");
}

void *winDlgKeepArgs(HWND dlg, LPARAM args, const char *caption)
{
    SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)args);
    if (caption && *caption)
        SetWindowTextA(dlg, caption);
    return (void *)args;
}

MemHandle winGetWindowTextHandle(HWND window, MemHandle h)
{
    int len = window ? GetWindowTextLengthA(window) : 0;
    if (len <= 0)
        return utFreeHandle(h);
    MemHandle grown = utAllocHandle(h, (uint32_t)len + 1);
    if (!grown)
        return utFreeHandle(h);
    MemLock<char> p(grown);
    int got = GetWindowTextA(window, p.get(), len + 1);
    p[got > 0 ? (got <= len ? got : len) : 0] = 0;
    return grown;
}

MemHandle winGetDlgTextHandle(HWND dlg, int id, MemHandle h)
{
    return winGetWindowTextHandle(GetDlgItem(dlg, id), h);
}

int winGetDlgTextTrim(HWND dlg, int id, char *buffer, int size)
{
    if (!buffer || size < 1)
        return 0;
    buffer[0] = 0;
    int got = (int)GetDlgItemTextA(dlg, id, buffer, size);
    if (got < 1)
        return got;
    utTrimChar(buffer, ' ');
    return (int)strlen(buffer);
}

int winEditAppendText(HWND dlg, int id, const char *text)
{
    HWND edit = GetDlgItem(dlg, id);
    int end = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, end, end);
    SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)(text ? text : ""));
    return 1;
}

int winEditGetLine(HWND edit, char *buffer, int size)
{
    if (!buffer || size < 1)
        return 0;
    if (size < 3) {   // EM_GETLINE needs a whole word for the maximum
        buffer[0] = 0;
        return 0;
    }
    WORD maximum = (WORD)(size - 1 > 0xFFFF ? 0xFFFF : size - 1);
    memcpy(buffer, &maximum, sizeof(maximum));
    LRESULT got = SendMessageA(edit, EM_GETLINE, 0, (LPARAM)buffer);
    if (got < 0)
        got = 0;
    if (got > maximum)
        got = maximum;
    buffer[got] = 0;
    return (int)got;
}

void winEditSelectAll(HWND dlg, int id)
{
    SendDlgItemMessageA(dlg, id, EM_SETSEL, 0, -1);
}

void winDlgSelectEdit(HWND dlg, int id)
{
    SendDlgItemMessageA(dlg, id, EM_SETSEL, 0, -1);
    SetFocus(GetDlgItem(dlg, id));
}

void winEditSetReadOnly(HWND dlg, int id, BOOL readOnly)
{
    SendDlgItemMessageA(dlg, id, EM_SETREADONLY, readOnly, 0);
}

void winShowDlgItem(HWND dlg, int id, BOOL show)
{
    ShowWindow(GetDlgItem(dlg, id), show ? SW_SHOW : SW_HIDE);
}

void winEnableDlgItem(HWND dlg, int id, BOOL enable)
{
    HWND item = GetDlgItem(dlg, id);
    if (item)
        EnableWindow(item, enable);
}

void winFocusDlgItem(HWND dlg, int id)
{
    HWND item = GetDlgItem(dlg, id);
    if (item)
        SetFocus(item);
}

int winDlgGetCheckedButton(HWND dlg, int first, int last)
{
    for (int id = first; id <= last; ++id)
        if (IsDlgButtonChecked(dlg, id))
            return id;
    return 0;
}

// ---- numbers ------------------------------------------------------------------------

namespace {

bool isFieldNumber(const char *text)
{
    if (!*text)
        return true;
    return utIsNumberText(text) == 1;
}

}  // namespace

BOOL winGetDlgDouble(HWND dlg, int id, double *value)
{
    char text[256] = {};
    GetDlgItemTextA(dlg, id, text, sizeof(text));
    utTrimChar(text, ' ');
    if (!isFieldNumber(text))
        return FALSE;
    if (value)
        *value = *text ? atof(text) : 0.0;
    return TRUE;
}

int winSetDlgDouble(HWND dlg, int id, double value, int width, int decimals)
{
    char text[384];
    if (width < 0)
        width = 0;
    if (width > 64)
        width = 64;
    if (decimals < 0)
        decimals = 0;
    if (decimals > 20)
        decimals = 20;
    snprintf(text, sizeof(text), "%-*.*lf", width, decimals, value);
    utTrimTrailingChar(text, ' ');
    SetDlgItemTextA(dlg, id, text);
    return 1;
}

int winSetDlgLong(HWND dlg, int id, int32_t value)
{
    char text[48];
    snprintf(text, sizeof(text), "%-*ld", 20, (long)value);
    utTrimTrailingChar(text, ' ');
    SetDlgItemTextA(dlg, id, text);
    return 1;
}

namespace {

// +1 for the codes that add the step, -1 for those that subtract it, 0 for
// the others.
int spinDirection(int code)
{
    switch (code) {
    case SB_LINEUP:
    case SB_PAGEUP:
        return 1;
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
        return -1;
    default:
        return 0;
    }
}

template <typename T>
T wrapStep(T value, T step, T min, T max, int direction)
{
    if (direction > 0)
        value = (T)(value + step);
    else if (direction < 0)
        value = (T)(value - step);
    if (value > max)
        value = min;
    else if (value < min)
        value = max;
    return value;
}

}  // namespace

int winSpinDlgInt(HWND dlg, int id, int code, int16_t step, int16_t min, int16_t max)
{
    return winSpinDlgValue(dlg, id, code, WIN_SPIN_INT16, &step, &min, &max, 6, 2);
}

int winSpinDlgValue(HWND dlg, int id, int code, int kind, const void *step, const void *min,
                    const void *max, int width, int decimals)
{
    int direction = spinDirection(code);
    switch (kind) {
    case WIN_SPIN_INT16:
    case WIN_SPIN_INT32: {
        BOOL ok = FALSE;
        int32_t value = (int32_t)GetDlgItemInt(dlg, id, &ok, TRUE);
        if (!ok)
            return 1;
        if (kind == WIN_SPIN_INT16)
            value = wrapStep<int16_t>((int16_t)value, *(const int16_t *)step,
                                      *(const int16_t *)min, *(const int16_t *)max, direction);
        else
            value = wrapStep<int32_t>(value, *(const int32_t *)step, *(const int32_t *)min,
                                      *(const int32_t *)max, direction);
        SetDlgItemInt(dlg, id, (UINT)value, TRUE);
        return 1;
    }
    case WIN_SPIN_FLOAT:
    case WIN_SPIN_DOUBLE: {
        double read = 0;
        if (!winGetDlgDouble(dlg, id, &read))
            return 1;
        double value;
        if (kind == WIN_SPIN_FLOAT)
            value = wrapStep<float>((float)read, *(const float *)step, *(const float *)min,
                                    *(const float *)max, direction);
        else
            value = wrapStep<double>(read, *(const double *)step, *(const double *)min,
                                     *(const double *)max, direction);
        winSetDlgDouble(dlg, id, value, width, decimals);
        return 1;
    }
    default:
        return 1;
    }
}

int winSpinDlgValueFixed(HWND dlg, int id, int code, int kind, const void *step,
                         const void *min, const void *max)
{
    return winSpinDlgValue(dlg, id, code, kind, step, min, max, 6, 2);
}

namespace {

bool isSpinBar(HWND scrollBar, int scrollBarId)
{
    return scrollBar && GetDlgCtrlID(scrollBar) == scrollBarId;
}

}  // namespace

BOOL winSpinInt16(HWND dlg, int code, HWND scrollBar, int scrollBarId, int editId,
                  int16_t step, int16_t min, int16_t max)
{
    if (!isSpinBar(scrollBar, scrollBarId))
        return FALSE;
    winSpinDlgValueFixed(dlg, editId, code, WIN_SPIN_INT16, &step, &min, &max);
    return TRUE;
}

BOOL winSpinInt32(HWND dlg, int code, HWND scrollBar, int scrollBarId, int editId,
                  int32_t step, int32_t min, int32_t max)
{
    if (!isSpinBar(scrollBar, scrollBarId))
        return FALSE;
    winSpinDlgValueFixed(dlg, editId, code, WIN_SPIN_INT32, &step, &min, &max);
    return TRUE;
}

BOOL winSpinDouble(HWND dlg, int code, HWND scrollBar, int scrollBarId, int editId,
                   double step, double min, double max)
{
    if (!isSpinBar(scrollBar, scrollBarId))
        return FALSE;
    winSpinDlgValueFixed(dlg, editId, code, WIN_SPIN_DOUBLE, &step, &min, &max);
    return TRUE;
}

// ---- margin fields ---------------------------------------------------------------------

void winMarginAllToFields(HWND dlg)
{
    char all[23] = {};
    GetDlgItemTextA(dlg, WIN_MARGIN_ALL, all, sizeof(all));
    if (!*all)
        return;
    for (int id : {WIN_MARGIN_LEFT, WIN_MARGIN_TOP, WIN_MARGIN_RIGHT, WIN_MARGIN_BOTTOM})
        SetDlgItemTextA(dlg, id, all);
}

BOOL winMarginSpin(HWND dlg, int code, HWND scrollBar)
{
    if (!scrollBar)
        return FALSE;
    int bar = GetDlgCtrlID(scrollBar);
    switch (bar) {
    case WIN_MARGIN_TOP + 1:
    case WIN_MARGIN_LEFT + 1:
    case WIN_MARGIN_RIGHT + 1:
    case WIN_MARGIN_BOTTOM + 1:
    case WIN_MARGIN_ALL + 1:
        break;
    default:
        return FALSE;
    }
    const double step = 0.1, min = 0.0, max = 11.0;
    winSpinDlgValueFixed(dlg, bar - 1, code, WIN_SPIN_DOUBLE, &step, &min, &max);
    winFocusDlgItem(dlg, bar - 1);
    if (bar == WIN_MARGIN_ALL + 1)
        winMarginAllToFields(dlg);
    return TRUE;
}

BOOL winGetMarginFields(HWND dlg, uint16_t unitMode, RECT *margins, int *failedId)
{
    ViewMapState saved;
    dmSaveState(&saved);
    dmSetUnits(dlg, unitMode);
    struct Side {
        int id;
        bool horizontal;
        LONG *out;
    } sides[] = {{WIN_MARGIN_LEFT, true, &margins->left},
                 {WIN_MARGIN_TOP, false, &margins->top},
                 {WIN_MARGIN_RIGHT, true, &margins->right},
                 {WIN_MARGIN_BOTTOM, false, &margins->bottom}};
    BOOL ok = TRUE;
    for (const Side &side : sides) {
        double value = 0;
        if (!winGetDlgDouble(dlg, side.id, &value)) {
            if (failedId)
                *failedId = side.id;
            ok = FALSE;
            break;
        }
        *side.out = side.horizontal ? dmUnitsToLogX(value) : dmUnitsToLogY(value);
    }
    dmRestoreState(&saved);
    return ok;
}

void winSetMarginFields(HWND dlg, uint16_t unitMode, const RECT *margins)
{
    ViewMapState saved;
    dmSaveState(&saved);
    dmSetUnits(dlg, unitMode);
    winSetDlgDouble(dlg, WIN_MARGIN_LEFT, dmLogToUnitsX(margins->left), 6, 2);
    winSetDlgDouble(dlg, WIN_MARGIN_TOP, dmLogToUnitsY(margins->top), 6, 2);
    winSetDlgDouble(dlg, WIN_MARGIN_RIGHT, dmLogToUnitsX(margins->right), 6, 2);
    winSetDlgDouble(dlg, WIN_MARGIN_BOTTOM, dmLogToUnitsY(margins->bottom), 6, 2);
    dmRestoreState(&saved);
}
