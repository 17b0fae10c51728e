// List selection and string list dialogs.
#include "support/dlg_select.h"
#include "support/rc_list.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <stdio.h>
#include <string.h>
#include <string>

namespace {

const int kIdList = 1000;

// What the selection dialog shows, set by the opening function for the
// length of one dialog.
struct SelectState {
    MemHandle items = 0;
    char delim = '\n';
    const char *preText = nullptr;
    int preIndex = -1;
    const char *path = nullptr;            // file-line form
    const CodeTextEntry *codes = nullptr;  // code form
    int16_t codeCount = 0;
    uint32_t *code = nullptr;
    MemHandle result = 0;
};
SelectState g_sel;

void endSelection(HWND dlg)
{
    HWND list = GetDlgItem(dlg, kIdList);
    if (g_sel.codes) {
        if (g_sel.code)
            *g_sel.code = winDlgListGetCode(dlg, kIdList, g_sel.codes, g_sel.codeCount);
    } else {
        g_sel.result = winListGetSelText(list);
    }
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK selectProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        const char *caption = (const char *)lParam;
        if (caption && *caption)
            SetWindowTextA(dlg, caption);
        HWND list = GetDlgItem(dlg, kIdList);
        if (g_sel.codes)
            winListFillCodes(list, g_sel.codes, g_sel.codeCount, g_sel.code ? *g_sel.code : 0);
        else if (g_sel.path)
            winListFillFromFile(list, g_sel.path);
        else
            winDlgListFill(dlg, kIdList, g_sel.items, g_sel.delim);
        if (g_sel.preText && *g_sel.preText)
            winListSelectPrefix(list, g_sel.preText);
        else if (g_sel.preIndex >= 0)
            winListSelectIndex(list, g_sel.preIndex);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            endSelection(dlg);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        case kIdList:
            if (HIWORD(wParam) == LBN_DBLCLK) {
                endSelection(dlg);
                return TRUE;
            }
            break;
        }
        break;
    }
    return FALSE;
}

// Runs the selection dialog on the state made ready by the caller and
// clears the state afterwards (the preselected index included).
INT_PTR runSelection(HWND owner, const char *caption, const char *templateName,
                     MemHandle *result)
{
    g_sel.result = 0;
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), templateName, owner, selectProc,
                                (LPARAM)caption);
    MemHandle chosen = g_sel.result;
    if (r != 1 && chosen)
        chosen = utFreeHandle(chosen);
    g_sel = SelectState();
    if (result)
        *result = chosen;
    else if (chosen)
        utFreeHandle(chosen);
    return r;
}

MemHandle selectText(HWND owner, const char *caption, const char *templateName, MemHandle items,
                     char delim, const char *preText, int preIndex)
{
    g_sel = SelectState();
    g_sel.items = items;
    g_sel.delim = delim;
    g_sel.preText = preText;
    g_sel.preIndex = preIndex;
    MemHandle result = 0;
    runSelection(owner, caption, templateName, &result);
    return result;
}

bool fileExists(const char *path)
{
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

MemHandle dlgSelectFromList(HWND owner, const char *caption, MemHandle items, char delim)
{
    return selectText(owner, caption, "lbxsel", items, delim, nullptr, -1);
}

MemHandle dlgSelectFromListT(HWND owner, const char *caption, const char *templateName,
                             MemHandle items, char delim)
{
    return selectText(owner, caption, templateName, items, delim, nullptr, -1);
}

MemHandle dlgSelectFromListPre(HWND owner, const char *caption, MemHandle items, char delim,
                               const char *preselect)
{
    return selectText(owner, caption, "lbxsel", items, delim, preselect, -1);
}

MemHandle dlgSelectFromListH(HWND owner, const char *caption, MemHandle items, char delim,
                             MemHandle preselect)
{
    std::string pre;
    if (preselect) {
        MemLock<char> p(preselect);
        uint32_t size = utHandleSize(preselect);
        if (p)
            pre.assign(p.get(), strnlen(p.get(), size));
    }
    return selectText(owner, caption, "lbxselnosort", items, delim, pre.c_str(), -1);
}

MemHandle dlgSelectFromListNoSort(HWND owner, const char *caption, MemHandle items, char delim)
{
    return selectText(owner, caption, "lbxselnosort", items, delim, nullptr, -1);
}

MemHandle dlgSelectFromListAt(HWND owner, const char *caption, MemHandle items, char delim,
                              int index)
{
    return selectText(owner, caption, "lbxselnosort", items, delim, nullptr, index);
}

INT_PTR dlgSelectCode(HWND owner, const char *caption, const CodeTextEntry *table, int16_t count,
                      uint32_t *code)
{
    g_sel = SelectState();
    g_sel.codes = table;
    g_sel.codeCount = count;
    g_sel.code = code;
    return runSelection(owner, caption, "lbxsel", nullptr);
}

MemHandle dlgSelectFileLine(HWND owner, const char *caption, const char *path, BOOL sorted)
{
    if (!path || !*path || !fileExists(path))
        return 0;
    g_sel = SelectState();
    g_sel.path = path;
    MemHandle result = 0;
    runSelection(owner, caption, sorted ? "lbxsel" : "lbxselnosort", &result);
    return result;
}

// ---- "Select Item" ------------------------------------------------------------------------

namespace {

const int kIdEdit = 100;
const int kIdMax = 101;
const int kIdItems = 102;
const int kIdLabel = 104;
const int kIdHelp = 105;

struct StringListState {
    const char *caption = nullptr;
    const char *label = nullptr;
    const char *help = nullptr;
    MemHandle items = 0;
    char delim = '\n';
    const char *current = nullptr;
    int maxLen = 0;
    std::string result;
};
StringListState g_str;

void focusEditAll(HWND dlg)
{
    HWND edit = GetDlgItem(dlg, kIdEdit);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

void stringListOk(HWND dlg)
{
    int n = GetWindowTextLengthA(GetDlgItem(dlg, kIdEdit));
    std::string text((size_t)n + 1, '\0');
    GetDlgItemTextA(dlg, kIdEdit, &text[0], n + 1);
    text.resize(strlen(text.c_str()));
    MemHandle items = g_str.items;
    if (!text.empty()) {
        HWND list = GetDlgItem(dlg, kIdItems);
        if (winListHasString(dlg, kIdItems, text.c_str())) {
            // The list's own spelling moves to the end: the most recent last.
            LRESULT at = SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text.c_str());
            std::string item = text;
            if (MemHandle h = at == LB_ERR ? 0 : winListGetItemText(list, (int)at)) {
                {
                    MemLock<char> p(h);
                    if (p)
                        item = p.get();
                }
                utFreeHandle(h);
            }
            items = rcListMoveToEnd(items, g_str.delim, item.c_str());
        } else {
            std::string question = text + " is not in the list.  Add to list?";
            if (utMessageBox(dlg, question.c_str(), MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
                return;   // stays open with the text
            items = rcListAppend(items, g_str.delim, text.c_str());
        }
    }
    g_str.items = items;
    g_str.result = text;
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK stringListProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG: {
        if (g_str.caption && *g_str.caption)
            SetWindowTextA(dlg, g_str.caption);
        winDlgListFill(dlg, kIdItems, g_str.items, g_str.delim);
        if (g_str.label && *g_str.label)
            SetDlgItemTextA(dlg, kIdLabel, g_str.label);
        if (!g_str.help || !*g_str.help) {
            if (HWND help = GetDlgItem(dlg, kIdHelp))
                DestroyWindow(help);
        }
        if (g_str.current && *g_str.current) {
            SetDlgItemTextA(dlg, kIdEdit, g_str.current);
            SendDlgItemMessageA(dlg, kIdItems, LB_SELECTSTRING, (WPARAM)-1,
                                (LPARAM)g_str.current);
        }
        SetDlgItemInt(dlg, kIdMax, (UINT)g_str.maxLen, FALSE);
        SendDlgItemMessageA(dlg, kIdEdit, EM_LIMITTEXT, (WPARAM)g_str.maxLen, 0);
        focusEditAll(dlg);
        return FALSE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kIdEdit:
            if (HIWORD(wParam) == EN_SETFOCUS)
                SendDlgItemMessageA(dlg, kIdEdit, EM_SETSEL, 0, -1);
            break;
        case kIdItems:
            if (HIWORD(wParam) == LBN_SELCHANGE) {
                winDlgListSelToText(dlg, kIdItems, kIdEdit);
                focusEditAll(dlg);
            } else if (HIWORD(wParam) == LBN_DBLCLK) {
                stringListOk(dlg);
            }
            return TRUE;
        case kIdHelp:
            utHelpKeyword(dlg, g_str.help);
            return TRUE;
        case IDOK:
            stringListOk(dlg);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

INT_PTR dlgStringList(HWND owner, const char *caption, const char *label, const char *helpKeyword,
                      MemHandle *items, char delim, char *buffer, int maxLen)
{
    if (maxLen < 0)
        maxLen = 0;
    g_str = StringListState();
    g_str.caption = caption;
    g_str.label = label;
    g_str.help = helpKeyword;
    g_str.items = items ? *items : 0;
    g_str.delim = delim;
    std::string current = buffer ? buffer : "";
    g_str.current = current.c_str();
    g_str.maxLen = maxLen;
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), label && *label ? "strlist2" : "strlist",
                                owner, stringListProc, 0);
    if (r == 1) {
        if (buffer) {
            size_t n = g_str.result.size() < (size_t)maxLen ? g_str.result.size() : (size_t)maxLen;
            memcpy(buffer, g_str.result.data(), n);
            buffer[n] = 0;
        }
        if (items)
            *items = g_str.items;
    }
    g_str = StringListState();
    return r;
}
