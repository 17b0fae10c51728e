// Progress dialog and list-view services.
#include "support/win_listview.h"
#include "support/ut_mem.h"
#include <commctrl.h>
#include <string.h>
#include <string>

namespace {

// The range of the progress dialog being opened.
int g_progressLow = 0;
int g_progressHigh = 100;

INT_PTR CALLBACK progressProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        SendDlgItemMessageA(dlg, 100, PBM_SETRANGE, 0,
                            MAKELPARAM((WORD)g_progressLow, (WORD)g_progressHigh));
        const char *caption = (const char *)lParam;
        if (caption && *caption)
            SetWindowTextA(dlg, caption);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(dlg);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

HWND dlgProgressOpen(HWND owner, const char *caption, int low, int high)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    g_progressLow = low;
    g_progressHigh = high;
    HWND dlg = CreateDialogParamA(GetModuleHandleA(nullptr), "progress", owner, progressProc,
                                  (LPARAM)caption);
    g_progressLow = 0;
    g_progressHigh = 100;
    return dlg;
}

int dlgProgressSetPos(HWND dialog, int position)
{
    SendDlgItemMessageA(dialog, 100, PBM_SETPOS, (WPARAM)position, 0);
    return 1;
}

void dlgProgressClose(HWND dialog)
{
    if (dialog && IsWindow(dialog))
        DestroyWindow(dialog);
}

void winListViewClear(HWND listView)
{
    SendMessageA(listView, LVM_DELETEALLITEMS, 0, 0);
    while (SendMessageA(listView, LVM_DELETECOLUMN, 0, 0))
        ;
}

int winListViewInsertRow(HWND listView, int row)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = (char *)"";
    return (int)SendMessageA(listView, LVM_INSERTITEMA, 0, (LPARAM)&item);
}

BOOL winListViewAddColumns(HWND listView, const char *captions, char delim, MemHandle widths)
{
    if (!captions)
        return FALSE;
    std::string text(captions);
    uint32_t widthCount = widths ? utHandleSize(widths) / 4 : 0;
    MemLock<int32_t> w(widths);
    int column = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(delim, at);
        if (end == std::string::npos)
            end = text.size();
        std::string caption = text.substr(at, end - at);
        at = end + 1;
        if (caption.empty())
            continue;
        LVCOLUMNA col = {};
        col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.fmt = LVCFMT_LEFT;
        col.cx = (w && (uint32_t)column < widthCount) ? w[column] : 90;
        col.pszText = &caption[0];
        col.iSubItem = column;
        if (SendMessageA(listView, LVM_INSERTCOLUMNA, (WPARAM)column, (LPARAM)&col) < 0)
            return FALSE;
        ++column;
    }
    return TRUE;
}

int winListViewFirstSelected(HWND listView)
{
    return (int)SendMessageA(listView, LVM_GETNEXTITEM, (WPARAM)-1, MAKELPARAM(LVNI_SELECTED, 0));
}

int winListViewHitRow(HWND listView)
{
    LVHITTESTINFO hit = {};
    GetCursorPos(&hit.pt);
    ScreenToClient(listView, &hit.pt);
    SendMessageA(listView, LVM_SUBITEMHITTEST, 0, (LPARAM)&hit);
    return hit.iItem;
}

namespace {

// The cell's bounds; false for a row or column the list view does not
// have (the control does not refuse every such row itself).
bool cellRect(HWND listView, int row, int column, RECT *r)
{
    if (row < 0 || column < 0 || row >= (int)SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0) ||
        column >= winListViewColumnCount(listView))
        return false;
    r->top = column;
    r->left = LVIR_BOUNDS;
    return SendMessageA(listView, LVM_GETSUBITEMRECT, (WPARAM)row, (LPARAM)r) != 0;
}

}  // namespace

BOOL winListViewEditCell(HWND listView, int row, int column, HWND editor, int maxLen)
{
    RECT r;
    if (!cellRect(listView, row, column, &r))
        return FALSE;
    // A subitem's bounds for column 0 span the whole row: keep the first column.
    if (column == 0) {
        int width = (int)SendMessageA(listView, LVM_GETCOLUMNWIDTH, 0, 0);
        if (width > 0)
            r.right = r.left + width;
    }
    MapWindowPoints(listView, GetParent(editor), (POINT *)&r, 2);
    if (maxLen < 0)
        maxLen = 0;
    std::string text((size_t)maxLen + 1, '\0');
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = &text[0];
    item.cchTextMax = maxLen + 1;
    SendMessageA(listView, LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
    text.resize(strlen(text.c_str()));
    SetWindowPos(editor, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_SHOWWINDOW);
    LRESULT at = SendMessageA(editor, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text.c_str());
    if (at != CB_ERR)
        SendMessageA(editor, CB_SETCURSEL, (WPARAM)at, 0);
    else
        SetWindowTextA(editor, text.c_str());
    BringWindowToTop(editor);
    SetFocus(editor);
    return TRUE;
}

LRESULT winListViewGridLines(HWND window)
{
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpiA(cls, "SysListView32") != 0)
        return 0;
    return SendMessageA(window, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
}

BOOL winMeasureItemHeight(HWND dialog, int controlId, MEASUREITEMSTRUCT *mis, int expectedId,
                          int referenceId)
{
    if (controlId != expectedId || !mis)
        return FALSE;
    HWND ref = GetDlgItem(dialog, referenceId);
    RECT r;
    mis->itemHeight = (ref && GetWindowRect(ref, &r)) ? (UINT)(r.bottom - r.top) : 21;
    return TRUE;
}

int winListViewCellWidth(HWND listView, int columns)
{
    if (columns <= 0)
        return 0;
    RECT r = {};
    GetClientRect(listView, &r);
    return (r.right - r.left - GetSystemMetrics(SM_CXVSCROLL)) / columns;
}

int winListViewAddSquareColumns(HWND listView, int columns)
{
    int width = winListViewCellWidth(listView, columns);
    for (int i = 0; i < columns; ++i) {
        LVCOLUMNA col = {};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        col.fmt = LVCFMT_CENTER;
        col.cx = width;
        col.iSubItem = i;
        SendMessageA(listView, LVM_INSERTCOLUMNA, (WPARAM)i, (LPARAM)&col);
    }
    return 1;
}

BOOL winMeasureSquareRow(HWND dialog, int controlId, MEASUREITEMSTRUCT *mis, int expectedId,
                         int columns)
{
    if (controlId != expectedId || !mis)
        return FALSE;
    mis->itemHeight = (UINT)winListViewCellWidth(GetDlgItem(dialog, controlId), columns);
    return TRUE;
}

void winListViewDrawRow(HWND context, const DRAWITEMSTRUCT *dis, int columns,
                        WinListCellProc cellProc, int selectedRow, int selectedColumn)
{
    if (!dis || dis->CtlType != ODT_LISTVIEW || !cellProc)
        return;
    int row = (int)dis->itemID;
    for (int c = 0; c < columns; ++c) {
        DRAWITEMSTRUCT cell = *dis;
        if (!cellRect(dis->hwndItem, row, c, &cell.rcItem))
            continue;
        cell.itemID = (UINT)(row * columns + c);
        if (row == selectedRow && c == selectedColumn)
            cell.itemState |= ODS_SELECTED;
        else
            cell.itemState &= ~(UINT)ODS_SELECTED;
        cellProc(context, 3, 0, (LPARAM)&cell);
    }
}

void winListViewRedrawCell(HWND listView, int row, int column)
{
    RECT r;
    if (row < 0 || column < 0 || !cellRect(listView, row, column, &r))
        return;
    InvalidateRect(listView, &r, TRUE);
}

int winListViewColumnCount(HWND listView)
{
    int n = 0;
    LVCOLUMNA col = {};
    col.mask = LVCF_WIDTH;
    while (SendMessageA(listView, LVM_GETCOLUMNA, (WPARAM)n, (LPARAM)&col))
        ++n;
    return n;
}
