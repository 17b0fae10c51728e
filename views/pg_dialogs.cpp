// The page dialogs: "Select Page" by name and the deletion of the current
// page.
#include "views/pg_dialogs.h"
#include "app/app_frame_docs.h"
#include "commands/ud_undo.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_swap.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "tools/ep_selection.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

enum { kNameList = 102 };

struct SelectByName {
    const char *caption;
    std::string names;
    int count;
    int index;
};
SelectByName *g_select = nullptr;

void fillList(HWND dlg, const SelectByName &s)
{
    HWND list = GetDlgItem(dlg, kNameList);
    size_t start = 0;
    for (int i = 0; i < s.count && start <= s.names.size(); ++i) {
        size_t end = s.names.find('\x1b', start);
        if (end == std::string::npos)
            end = s.names.size();
        std::string item = s.names.substr(start, end - start);
        if (item.empty() && end == s.names.size())
            break;
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)item.c_str());
        start = end + 1;
    }
    SendMessageA(list, LB_SETCURSEL, (WPARAM)s.index, 0);
}

// OK: the selected item's page number less one; the dialog stays open
// without a page.
void takeSelection(HWND dlg)
{
    HWND list = GetDlgItem(dlg, kNameList);
    const LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (sel == LB_ERR)
        return;
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)sel, 0);
    if (length == LB_ERR)
        return;
    std::string item((size_t)length + 1, '\0');
    SendMessageA(list, LB_GETTEXT, (WPARAM)sel, (LPARAM)&item[0]);
    const int page = atoi(item.c_str()) - 1;
    if (page < 0)
        return;
    g_select->index = page;
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK selectByNameProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        if (g_select->caption && *g_select->caption)
            SetWindowTextA(dlg, g_select->caption);
        fillList(dlg, *g_select);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            takeSelection(dlg);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        case kNameList:
            if (HIWORD(wParam) == LBN_DBLCLK)
                takeSelection(dlg);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int pgSelectByNameDialog(HWND owner, const char *caption, MemHandle names, int count, int *index)
{
    if (!index || !names || count <= 0)
        return 0;
    SelectByName state = {caption, std::string(), count, *index};
    {
        MemLock<char> p(names);
        if (!p)
            return 0;
        state.names.assign(p.get(), strnlen(p.get(), utHandleSize(names)));
    }
    g_select = &state;
    const INT_PTR r =
        DialogBoxParamA(GetModuleHandleA(nullptr), "SELPAGEBYNAME", owner, selectByNameProc, 0);
    g_select = nullptr;
    if (r != 1)
        return 0;
    *index = state.index;
    return 1;
}

int pgDeleteCurrentPage(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    const int count = fmGetPageCount(form);
    const int index = pvGetCurrentPageIndex(ws);
    if (!form || count < 2 || index < 0 || index >= count)
        return 0;
    HWND owner = wsGetDocWindow(ws) ? wsGetDocWindow(ws) : ws;
    if (utMessageBox(owner,
                     "Quillmark is ready to delete the current page. Once deleted, it can not be "
                     "undone.",
                     MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return 0;
    wsSendLeaveMode(ws, 1);
    udDiscard(ws);
    epSelectObject(ws, 0);
    pvCommitPage(ws);
    // Written out before anything is deleted: a page that cannot be written
    // leaves the document as it was.
    if (!pgSwapOutCurrent(ws)) {
        utErrorBox(owner, "The page could not be written to a temporary file.  No page was "
                          "deleted.");
        return 0;
    }
    if (!pgDirDelete(ws, index))
        return 0;
    const int left = fmGetPageCount(form);
    const int next = index < left ? index : left - 1;
    fmSetCurrentPage(form, next);
    pvGoToPage(ws, next);
    InvalidateRect(ws, nullptr, TRUE);
    if (HWND doc = wsGetDocWindow(ws))
        dwUpdateTitle(doc);
    return 1;
}
