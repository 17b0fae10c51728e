// The "selang" dialog: an angle typed in degrees, or the current one
// reversed.
#include "tools/ep_rotate.h"
#include "support/geo_rect.h"
#include "support/ut_msg.h"
#include "support/win_dlgfield.h"
#include <stdio.h>

namespace {

enum {
    kAngleField = 100,
    kAngleSpin = 101,
    kCurrentField = 110,
    kReverse = 112,
    kCurrentLabel = 113,
    kCurrentUnit = 114,
};

struct AngleDialog {
    int32_t tenths;    // the angle before
    double degrees;    // tenths / 10, and the typed value after OK
    bool reverse;
};

void showReverse(HWND dlg)
{
    const BOOL on = IsDlgButtonChecked(dlg, kReverse) == BST_CHECKED;
    EnableWindow(GetDlgItem(dlg, kAngleField), !on);
    EnableWindow(GetDlgItem(dlg, kAngleSpin), !on);
}

void initDialog(HWND dlg, AngleDialog *d)
{
    for (int a = 0; a < 360; a += 45) {
        char text[8];
        snprintf(text, sizeof text, "%d", a);
        SendDlgItemMessageA(dlg, kAngleField, CB_ADDSTRING, 0, (LPARAM)text);
    }
    const BOOL turned = d->tenths > 0;
    for (int id : {kCurrentField, kReverse, kCurrentLabel, kCurrentUnit})
        winShowDlgItem(dlg, id, turned);
    if (turned)
        winSetDlgDouble(dlg, kCurrentField, d->degrees, 6, 1);
    winSetDlgDouble(dlg, kAngleField, -d->degrees, 6, 1);
    SetFocus(GetDlgItem(dlg, kAngleField));
}

}  // namespace

INT_PTR CALLBACK SelAngDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    AngleDialog *d = (AngleDialog *)GetWindowLongPtrA(dlg, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        initDialog(dlg, (AngleDialog *)lParam);
        return FALSE;   // the focus is set
    case WM_VSCROLL:
        if (winSpinDouble(dlg, LOWORD(wParam), (HWND)lParam, kAngleSpin, kAngleField, 5, 0, 360))
            return TRUE;
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            if (IsDlgButtonChecked(dlg, kReverse) == BST_CHECKED) {
                d->reverse = true;
                EndDialog(dlg, 1);
                return TRUE;
            }
            double v = 0;
            if (winGetDlgDouble(dlg, kAngleField, &v)) {
                d->degrees = v;
                EndDialog(dlg, 1);
            } else {
                utErrorBoxRes(dlg, 5100, 5000);
            }
            return TRUE;
        }
        case IDCANCEL: EndDialog(dlg, 0); return TRUE;
        case kReverse:
            showReverse(dlg);
            return TRUE;
        default: break;
        }
        break;
    default: break;
    }
    return FALSE;
}

int epRotateAngleDialog(HWND owner, int32_t *tenths)
{
    if (!tenths)
        return 0;
    AngleDialog d;
    d.tenths = *tenths;
    d.degrees = *tenths / 10.0;
    d.reverse = false;
    if (DialogBoxParamA(GetModuleHandleA(nullptr), "selang", owner, SelAngDlgProc, (LPARAM)&d) !=
        1)
        return 0;
    *tenths = d.reverse ? -d.tenths : geoRound(d.degrees * 10.0);
    return 1;
}
