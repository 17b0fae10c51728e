// The generic number dialog.
#include "support/dlg_value.h"
#include "support/ut_msg.h"
#include "support/win_dlgfield.h"
#include <stdio.h>
#include <string>

namespace {

enum { kLabel = 99, kEdit = 100, kSpin = 101, kDefault = 102, kOk = 999, kCancel = 998 };

struct ValueArgs {
    const char *caption;
    const char *label;
    int kind;
    const void *step, *minimum, *maximum;
    void *value;
    int width, decimals;
    BOOL *useAsDefault;
};

// A value of the kind widened to a double: every 16- and 32-bit value is
// exact in it.
double widen(int kind, const void *p)
{
    switch (kind) {
    case DLG_VALUE_INT16: return *static_cast<const int16_t *>(p);
    case DLG_VALUE_INT32: return *static_cast<const int32_t *>(p);
    default: return *static_cast<const double *>(p);
    }
}

std::string shown(const ValueArgs *a, double v)
{
    char text[64];
    if (a->kind == DLG_VALUE_DOUBLE)
        snprintf(text, sizeof text, "%.*f", a->decimals, v);
    else
        snprintf(text, sizeof text, "%.0f", v);
    return text;
}

void showValue(HWND dlg, const ValueArgs *a)
{
    if (a->kind == DLG_VALUE_DOUBLE)
        winSetDlgDouble(dlg, kEdit, *static_cast<double *>(a->value), a->width, a->decimals);
    else
        SetDlgItemInt(dlg, kEdit, (UINT)(int)widen(a->kind, a->value), TRUE);
}

// Reads the field whole (integers as 32-bit, so that a 16-bit field's
// overflow is seen); FALSE when it is not a number.
BOOL readField(HWND dlg, const ValueArgs *a, double *out)
{
    if (a->kind == DLG_VALUE_DOUBLE)
        return winGetDlgDouble(dlg, kEdit, out);
    BOOL ok = FALSE;
    const int v = (int)GetDlgItemInt(dlg, kEdit, &ok, TRUE);
    *out = v;
    return ok;
}

void storeValue(const ValueArgs *a, double v)
{
    switch (a->kind) {
    case DLG_VALUE_INT16: *static_cast<int16_t *>(a->value) = (int16_t)v; break;
    case DLG_VALUE_INT32: *static_cast<int32_t *>(a->value) = (int32_t)v; break;
    default: *static_cast<double *>(a->value) = v; break;
    }
}

// OK: TRUE when the dialog may end with the value written back.
BOOL accept(HWND dlg, const ValueArgs *a)
{
    double v;
    if (!readField(dlg, a, &v))
        return FALSE;
    const double lo = widen(a->kind, a->minimum), hi = widen(a->kind, a->maximum);
    if (v < lo || v > hi) {
        const std::string text = "The value must be from " + shown(a, lo) + " to " + shown(a, hi);
        utWarningBox(dlg, text.c_str());
        winDlgSelectEdit(dlg, kEdit);
        return FALSE;
    }
    storeValue(a, v);
    if (a->useAsDefault)
        *a->useAsDefault = IsDlgButtonChecked(dlg, kDefault) == BST_CHECKED;
    return TRUE;
}

INT_PTR CALLBACK valueProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    ValueArgs *a = reinterpret_cast<ValueArgs *>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        a = reinterpret_cast<ValueArgs *>(lp);
        winDlgKeepArgs(dlg, lp, a->caption);
        SetDlgItemTextA(dlg, kLabel, a->label ? a->label : "");
        showValue(dlg, a);
        if (a->useAsDefault)
            CheckDlgButton(dlg, kDefault, *a->useAsDefault ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    case WM_VSCROLL:
        if (a && (HWND)lp == GetDlgItem(dlg, kSpin)) {
            winSpinDlgValue(dlg, kEdit, LOWORD(wp), a->kind, a->step, a->minimum, a->maximum,
                            a->width, a->decimals);
            SetFocus(GetDlgItem(dlg, kEdit));
        }
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case kOk:
        case IDOK:
            if (accept(dlg, a))
                EndDialog(dlg, 1);
            return TRUE;
        case kCancel:
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

INT_PTR dlgEnterValueEx(HWND owner, const char *caption, const char *label, int kind,
                        const void *step, const void *minimum, const void *maximum, void *value,
                        int width, int decimals, BOOL *useAsDefault)
{
    if (!value || !step || !minimum || !maximum)
        return 0;
    if (kind != DLG_VALUE_INT16 && kind != DLG_VALUE_INT32 && kind != DLG_VALUE_DOUBLE)
        return 0;
    ValueArgs a = {caption, label, kind, step, minimum, maximum, value, width, decimals,
                   useAsDefault};
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), useAsDefault ? "valuex" : "value",
                                owner, valueProc, (LPARAM)&a);
    return r > 0 ? r : 0;
}
