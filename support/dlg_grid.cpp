// The "Grid" dialog.
#include "support/dlg_grid.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_dlgfield.h"
#include "resources/resource.h"
#include <stdio.h>
#include <string>

namespace {

enum { kColumns = 120, kColumnSpin = 121, kRows = 140, kRowSpin = 141 };
enum { kZeroColumns = 962, kZeroRows = 963 };

struct GridArgs {
    const char *caption;
    int32_t maxColumns, columns;
    int32_t maxRows, rows;
};

// A field of digits only (blanks around allowed) as a count of at most
// 0x7FFFFFFF; FALSE for anything else.
BOOL readCount(HWND dlg, int id, int32_t *out)
{
    char text[32];
    if (winGetDlgTextTrim(dlg, id, text, sizeof text) < 1)
        return FALSE;
    int64_t v = 0;
    for (const char *p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return FALSE;
        v = v * 10 + (*p - '0');
        if (v > INT32_MAX)
            return FALSE;
    }
    *out = (int32_t)v;
    return TRUE;
}

// One field's checks; FALSE (with the message shown and the field
// selected) when it is refused.
BOOL checkCount(HWND dlg, int id, UINT zeroMessage, const char *noun, int32_t maximum,
                int32_t *out)
{
    UINT message = 0;
    std::string text;
    if (!readCount(dlg, id, out))
        message = IDS_MUST_BE_INTEGER;
    else if (*out <= 0)
        message = zeroMessage;
    else if (*out > maximum)
        text = "The number of " + std::string(noun) + " must not be more than " +
               std::to_string(maximum);
    if (!message && text.empty())
        return TRUE;
    if (message)
        utErrorBoxId(dlg, message);
    else
        utErrorBox(dlg, text.c_str());
    winDlgSelectEdit(dlg, id);
    return FALSE;
}

INT_PTR CALLBACK gridProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    GridArgs *a = reinterpret_cast<GridArgs *>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        a = reinterpret_cast<GridArgs *>(lp);
        winDlgKeepArgs(dlg, lp, a->caption);
        SetDlgItemInt(dlg, kColumns, (UINT)a->columns, TRUE);
        SetDlgItemInt(dlg, kRows, (UINT)a->rows, TRUE);
        return TRUE;
    case WM_VSCROLL:
        if (a)
            winSpinInt32(dlg, LOWORD(wp), (HWND)lp, kColumnSpin, kColumns, 1, 1, a->maxColumns) ||
                winSpinInt32(dlg, LOWORD(wp), (HWND)lp, kRowSpin, kRows, 1, 1, a->maxRows);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDOK: {
            int32_t columns, rows;
            if (!checkCount(dlg, kColumns, kZeroColumns, "columns", a->maxColumns, &columns) ||
                !checkCount(dlg, kRows, kZeroRows, "rows", a->maxRows, &rows))
                return TRUE;
            a->columns = columns;
            a->rows = rows;
            EndDialog(dlg, 1);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

INT_PTR dlgColRow32(HWND owner, const char *caption, int32_t maxColumns, int32_t *columns,
                    int32_t maxRows, int32_t *rows)
{
    if (!columns || !rows)
        return 0;
    GridArgs a = {caption, maxColumns, *columns, maxRows, *rows};
    if (DialogBoxParamA(GetModuleHandleA(nullptr), "colrow", owner, gridProc, (LPARAM)&a) != 1)
        return 0;
    *columns = a.columns;
    *rows = a.rows;
    return 1;
}

INT_PTR dlgColRow(HWND owner, const char *caption, int16_t maxColumns, int16_t *columns,
                  int16_t maxRows, int16_t *rows)
{
    if (!columns || !rows)
        return 0;
    int32_t c = *columns, r = *rows;
    if (!dlgColRow32(owner, caption, maxColumns, &c, maxRows, &r))
        return 0;
    *columns = (int16_t)c;
    *rows = (int16_t)r;
    return 1;
}
