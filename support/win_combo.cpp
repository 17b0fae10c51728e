// Combo boxes made on the fly, and the folder browser.
#include "support/win_combo.h"
#include "support/app_frame_globals.h"
#include "support/dm_map.h"
#include "support/gdi_font.h"
#include "support/ut_mem.h"
#include "support/win_list.h"
#include <shlobj.h>
#include <string.h>
#include <string>

namespace {

HFONT g_comboFont = nullptr;

const char kFolderTitle[] = "Choose a folder.";

int CALLBACK browseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data)
{
    const char *select = reinterpret_cast<const char *>(data);
    if (msg == BFFM_INITIALIZED && select && *select)
        SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, (LPARAM)select);
    return 0;
}

// The shell item of a folder path, parsed by the desktop folder; null when
// that fails.
LPITEMIDLIST itemOfPath(const char *path)
{
    if (!path || !*path)
        return nullptr;
    IShellFolder *desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop)) || !desktop)
        return nullptr;
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
    LPITEMIDLIST item = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr, &item, nullptr)))
        item = nullptr;
    desktop->Release();
    return item;
}

void freeItem(LPITEMIDLIST item)
{
    if (item)
        CoTaskMemFree(item);
}

// The line height and average width of the combo font on the screen.
void comboMetrics(int *lineHeight, int *avgWidth)
{
    HDC dc = GetDC(nullptr);
    GdiSelect keep(dc, winGetComboFont());
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    ReleaseDC(nullptr, dc);
    *lineHeight = tm.tmHeight + tm.tmExternalLeading;
    *avgWidth = tm.tmAveCharWidth;
}

}  // namespace

void winSetComboFont(const char *face, int size)
{
    LOGFONTA lf = {};
    gdiMatchFont(GetDesktopWindow(), FALSE, 1, face ? face : "MS Sans Serif", size ? size : 14,
                 &lf);
    HFONT font = dmCreateFont(&lf);
    if (!font)
        return;
    if (g_comboFont)
        DeleteObject(g_comboFont);
    g_comboFont = font;
}

void winFreeComboFont()
{
    if (g_comboFont)
        DeleteObject(g_comboFont);
    g_comboFont = nullptr;
}

HFONT winGetComboFont() { return g_comboFont ? g_comboFont : appGetFrameFont(); }

HWND winCreateCombo(HWND parent, const RECT *rect, const char *text, DWORD style, int id,
                    BOOL sort, BOOL show, const char *items, char delim, const char *select,
                    int index)
{
    if (!rect)
        return nullptr;
    if (!style)
        style = kWinComboStyle;
    if (sort)
        style |= CBS_SORT;
    HWND combo = CreateWindowExA(WS_EX_STATICEDGE, "COMBOBOX", text ? text : "",
                                 WS_CHILD | style, rect->left, rect->top,
                                 rect->right - rect->left, rect->bottom - rect->top, parent,
                                 (HMENU)(INT_PTR)id, GetModuleHandleA(nullptr), nullptr);
    if (!combo)
        return nullptr;
    SendMessageA(combo, WM_SETFONT, (WPARAM)winGetComboFont(), FALSE);
    for (const char *at = items && *items ? items : nullptr; at;)
        at = winAddDelimitedItem(combo, at, delim, delim == '\n', FALSE);
    if (index >= 0)
        SendMessageA(combo, CB_SETCURSEL, (WPARAM)index, 0);
    else
        winComboSelectPrefix(combo, select ? select : "");
    if (show) {
        ShowWindow(combo, SW_SHOW);
        SetFocus(combo);
    }
    return combo;
}

void winSizeComboRectFor(RECT *rect, int characters, int lines, int lineHeight, int avgWidth)
{
    if (!rect)
        return;
    rect->right = rect->left + avgWidth * characters;
    rect->bottom = rect->top + lineHeight * (lines + 1) + lineHeight / 2;
}

void winSizeComboRect(RECT *rect, int characters, int lines)
{
    int lineHeight = 0, avgWidth = 0;
    comboMetrics(&lineHeight, &avgWidth);
    winSizeComboRectFor(rect, characters, lines, lineHeight, avgWidth);
}

HWND winPopupCombo(HWND parent, const RECT *rect, int id, BOOL sort, const char *items,
                   char delim, const char *select, int index)
{
    HWND combo = winCreateCombo(parent, rect, "", 0, id, sort, FALSE, items, delim, select, index);
    if (!combo)
        return nullptr;
    RECT closed, dropped;
    GetWindowRect(combo, &closed);
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&dropped);
    const int closedHeight = closed.bottom - closed.top;
    MoveWindow(combo, rect->left, rect->top - closedHeight, dropped.right - dropped.left,
               dropped.bottom - dropped.top, FALSE);
    ShowWindow(combo, SW_SHOW);
    SetFocus(combo);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    return combo;
}

MemHandle winPopupComboNotify(WPARAM notification, HWND combo)
{
    if (!combo || !IsWindow(combo))
        return 0;
    switch (HIWORD(notification)) {
    case CBN_SELENDOK: {
        MemHandle text = winComboGetSelText(combo);
        PostMessageA(combo, WM_CLOSE, 0, 0);
        return text;
    }
    case CBN_KILLFOCUS:
    case CBN_SELENDCANCEL:
        PostMessageA(combo, WM_CLOSE, 0, 0);
        return 0;
    default:
        return 0;
    }
}

BOOL utBrowseForFolder(HWND owner, const char *start, const char *select, char *out)
{
    LPITEMIDLIST root = itemOfPath(start);
    char display[MAX_PATH] = "";
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = display;
    info.lpszTitle = kFolderTitle;
    info.lpfn = browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(select);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    BOOL ok = FALSE;
    if (chosen) {
        char path[MAX_PATH] = "";
        if (SHGetPathFromIDListA(chosen, path) && out) {
            strcpy(out, path);
            ok = TRUE;
        }
        freeItem(chosen);
    }
    freeItem(root);
    return ok;
}

BOOL utGetDocumentsFolder(HWND owner, char *out)
{
    LPITEMIDLIST item = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_PERSONAL, &item)) || !item)
        return FALSE;
    char path[MAX_PATH] = "";
    const BOOL ok = SHGetPathFromIDListA(item, path);
    freeItem(item);
    if (!ok)
        return FALSE;
    // Without a closing separator (a drive's root keeps its own).
    size_t n = strlen(path);
    if (n > 3 && (path[n - 1] == '\\' || path[n - 1] == '/'))
        path[n - 1] = 0;
    if (out)
        strcpy(out, path);
    return TRUE;
}
