// The "Line Spacing" dialog.
#include "support/dlg_spacing.h"
#include <stdio.h>

void winFillSpacingCombo(HWND dialog, int comboId, int code)
{
    HWND combo = GetDlgItem(dialog, comboId);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i <= 16; ++i) {
        char text[16];
        snprintf(text, sizeof text, "%-4.2lf", 1.0 + i * 0.25);
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)text);
    }
    int entry = code == 0 ? 0 : code - 4;
    if (entry < 0 || entry > 16)
        entry = 0;
    SendMessageA(combo, CB_SETCURSEL, (WPARAM)entry, 0);
}

BOOL winGetSpacingCode(HWND dialog, int comboId, int *code)
{
    const LRESULT entry = SendDlgItemMessageA(dialog, comboId, CB_GETCURSEL, 0, 0);
    if (entry == CB_ERR)
        return FALSE;
    if (code)
        *code = (int)entry + 4;
    return TRUE;
}

static INT_PTR CALLBACK spacingProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        winFillSpacingCombo(dialog, 100, *(uint8_t *)lParam);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 999:
        case IDOK: {
            int code;
            if (!winGetSpacingCode(dialog, 100, &code))
                return TRUE;   // nothing chosen: the dialog stays open
            *(uint8_t *)GetWindowLongPtrA(dialog, DWLP_USER) = (uint8_t)code;
            EndDialog(dialog, 1);
            return TRUE;
        }
        case 998:
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int dlgLineSpacing(HWND owner, uint8_t *code)
{
    if (!code)
        return 0;
    uint8_t value = *code;
    const INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), "txspacing", owner, spacingProc,
                                      (LPARAM)&value);
    if (r != 1)
        return 0;
    *code = value;
    return 1;
}
