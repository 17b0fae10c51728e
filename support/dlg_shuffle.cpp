// The "Shuffle Items" dialog.
#include "support/dlg_shuffle.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_dlgfield.h"
#include "support/win_list.h"

namespace {

enum {
    kHeld = 99,
    kList = 100,
    kInsertAfter = 101,
    kInsertBefore = 102,
    kMove = 103,
    kMoveUp = 104,
    kMoveDown = 105,
    kReset = 110,
};

struct ShuffleArgs {
    const char *caption;
    MemHandle items;
    char delimiter;
    MemHandle resetList;
    const char *resetText;
    MemHandle result;
};

HWND listOf(HWND dlg) { return GetDlgItem(dlg, kList); }

bool holding(HWND dlg) { return GetWindowTextLengthA(GetDlgItem(dlg, kHeld)) > 0; }

void updateButtons(HWND dlg)
{
    HWND list = listOf(dlg);
    const bool held = holding(dlg);
    const int sel = winListGetCurSel(list);
    const int count = winListGetCount(list);
    const bool selected = sel >= 0;
    // A held item can always go back into a list it emptied.
    const bool canInsert = held && (selected || count == 0);
    EnableWindow(GetDlgItem(dlg, kMove), !held && selected);
    EnableWindow(GetDlgItem(dlg, kInsertBefore), canInsert);
    EnableWindow(GetDlgItem(dlg, kInsertAfter), canInsert);
    EnableWindow(GetDlgItem(dlg, kMoveUp), !held && selected && sel > 0);
    EnableWindow(GetDlgItem(dlg, kMoveDown), !held && selected && sel < count - 1);
    EnableWindow(GetDlgItem(dlg, IDOK), !held);
}

void fill(HWND dlg, MemHandle text, char delimiter)
{
    HWND list = listOf(dlg);
    winListReset(list);
    winListFillText(list, text, delimiter);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SetDlgItemTextA(dlg, kHeld, "");
}

// The selected item into the held field; its place goes to the item after
// it, or the one before when it was the last. FALSE with nothing selected.
BOOL takeSelected(HWND dlg)
{
    HWND list = listOf(dlg);
    MemHandle text = winListGetSelText(list);
    if (winListGetCurSel(list) < 0) {
        utFreeHandle(text);
        return FALSE;
    }
    {
        MemLock<char> p(text);
        SetDlgItemTextA(dlg, kHeld, p ? p.get() : "");
    }
    utFreeHandle(text);
    winListDeleteCurSel(list, TRUE);
    return TRUE;
}

// The held item back into the list at the index, selected; the field
// emptied.
void putHeld(HWND dlg, int index)
{
    HWND list = listOf(dlg);
    MemHandle text = winGetDlgTextHandle(dlg, kHeld, 0);
    if (!text)
        return;
    {
        MemLock<char> p(text);
        const int at = (int)SendMessageA(list, LB_INSERTSTRING, (WPARAM)index, (LPARAM)p.get());
        SendMessageA(list, LB_SETCURSEL, (WPARAM)at, 0);
    }
    utFreeHandle(text);
    SetDlgItemTextA(dlg, kHeld, "");
}

void insertHeld(HWND dlg, bool after)
{
    const int sel = winListGetCurSel(listOf(dlg));
    if (sel < 0)
        putHeld(dlg, 0);
    else
        putHeld(dlg, after ? sel + 1 : sel);
}

INT_PTR CALLBACK shuffleProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    ShuffleArgs *a = reinterpret_cast<ShuffleArgs *>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        a = reinterpret_cast<ShuffleArgs *>(lp);
        winDlgKeepArgs(dlg, lp, a->caption);
        fill(dlg, a->items, a->delimiter);
        SetDlgItemTextA(dlg, kReset, a->resetText ? a->resetText : "");
        ShowWindow(GetDlgItem(dlg, kReset), a->resetList ? SW_SHOW : SW_HIDE);
        updateButtons(dlg);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case kList:
            break;
        case kMove:
            if (!takeSelected(dlg))
                utErrorBox(dlg, "Must select an item to move");
            break;
        case kInsertBefore:
            insertHeld(dlg, false);
            break;
        case kInsertAfter:
            insertHeld(dlg, true);
            break;
        case kMoveUp: {
            const int sel = winListGetCurSel(listOf(dlg));
            if (sel > 0 && takeSelected(dlg))
                putHeld(dlg, sel - 1);
            break;
        }
        case kMoveDown: {
            HWND list = listOf(dlg);
            const int sel = winListGetCurSel(list);
            if (sel >= 0 && sel < winListGetCount(list) - 1 && takeSelected(dlg))
                putHeld(dlg, sel + 1);
            break;
        }
        case kReset:
            if (a->resetList)
                fill(dlg, a->resetList, a->delimiter);
            break;
        case IDOK:
            if (holding(dlg))
                return TRUE;
            a->result = winListToText(listOf(dlg), a->delimiter);
            EndDialog(dlg, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        default:
            return FALSE;
        }
        updateButtons(dlg);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR dlgShuffle(HWND owner, const char *caption, MemHandle *items, char delimiter,
                   MemHandle resetList, const char *resetText)
{
    if (!items)
        return 0;
    ShuffleArgs a = {caption, *items, delimiter, resetList, resetText, 0};
    if (DialogBoxParamA(GetModuleHandleA(nullptr), "shuffle", owner, shuffleProc, (LPARAM)&a) !=
        1) {
        utFreeHandle(a.result);
        return 0;
    }
    if (a.result) {
        MemHandle kept = utCopyHandleInto(*items, a.result);
        utFreeHandle(a.result);
        if (!kept)
            return 0;
        *items = kept;
    } else if (*items) {
        // Every item was empty: an empty text.
        utClearHandle(*items);
    }
    return 1;
}

INT_PTR dlgShuffleItems(HWND owner, const char *caption, MemHandle *items, char delimiter)
{
    return dlgShuffle(owner, caption, items, delimiter, 0, nullptr);
}
