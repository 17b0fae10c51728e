// The generic number dialog.
#include "support/dlg_value.h"
#include "support/win_dlgfield.h"
#include <string.h>

namespace {

enum { kLabel = 99, kEdit = 100, kSpin = 101, kOk = 999, kCancel = 998 };

struct ValueArgs {
    const char *caption;
    const char *label;
    int kind;
    const void *step, *minimum, *maximum;
    void *value;
};

void showValue(HWND dlg, const ValueArgs *a)
{
    switch (a->kind) {
    case DLG_VALUE_INT16: SetDlgItemInt(dlg, kEdit, (UINT)(int)*static_cast<int16_t *>(a->value), TRUE); break;
    case DLG_VALUE_INT32: SetDlgItemInt(dlg, kEdit, (UINT)*static_cast<int32_t *>(a->value), TRUE); break;
    default: winSetDlgDouble(dlg, kEdit, *static_cast<double *>(a->value), 6, 2); break;
    }
}

// Reads the field into the caller's value; FALSE when it is not a number.
BOOL readValue(HWND dlg, const ValueArgs *a)
{
    BOOL ok = FALSE;
    if (a->kind == DLG_VALUE_DOUBLE) {
        double v;
        if (!winGetDlgDouble(dlg, kEdit, &v))
            return FALSE;
        *static_cast<double *>(a->value) = v;
        return TRUE;
    }
    int v = (int)GetDlgItemInt(dlg, kEdit, &ok, TRUE);
    if (!ok)
        return FALSE;
    if (a->kind == DLG_VALUE_INT16)
        *static_cast<int16_t *>(a->value) = (int16_t)v;
    else
        *static_cast<int32_t *>(a->value) = (int32_t)v;
    return TRUE;
}

INT_PTR CALLBACK valueProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    ValueArgs *a = reinterpret_cast<ValueArgs *>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        a = reinterpret_cast<ValueArgs *>(lp);
        SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)a);
        if (a->caption)
            SetWindowTextA(dlg, a->caption);
        SetDlgItemTextA(dlg, kLabel, a->label ? a->label : "");
        showValue(dlg, a);
        return TRUE;
    case WM_VSCROLL:
        if (a && (HWND)lp == GetDlgItem(dlg, kSpin)) {
            winSpinDlgValue(dlg, kEdit, LOWORD(wp), a->kind, a->step, a->minimum, a->maximum, 6, 2);
            SetFocus(GetDlgItem(dlg, kEdit));
        }
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case kOk:
        case IDOK: {
            // Not a number: the dialog stays open.
            ValueArgs probe = *a;
            union { int16_t i16; int32_t i32; double d; } tmp;
            probe.value = &tmp;
            if (!readValue(dlg, &probe))
                return TRUE;
            readValue(dlg, a);
            EndDialog(dlg, 1);
            return TRUE;
        }
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

INT_PTR dlgEnterValue(HWND owner, const char *caption, const char *label, int kind,
                      const void *step, const void *minimum, const void *maximum, void *value)
{
    if (!value || !step || !minimum || !maximum)
        return 0;
    if (kind != DLG_VALUE_INT16 && kind != DLG_VALUE_INT32 && kind != DLG_VALUE_DOUBLE)
        return 0;
    ValueArgs a = {caption, label, kind, step, minimum, maximum, value};
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), "value", owner, valueProc, (LPARAM)&a);
    return r > 0 ? r : 0;
}
