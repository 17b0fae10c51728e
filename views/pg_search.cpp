// The object search ("OIDX"): the named objects of every page, and the page
// of the one chosen.
#include "views/pg_search.h"
#include "model/fm_form.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_swap.h"
#include "model/ws_document.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "views/ws_record.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

struct SearchRun {
    std::vector<std::string> entries;   // "name\tpage\n"
    std::string chosen;
};
SearchRun *g_search = nullptr;

std::string nameOf(const std::string &entry) { return entry.substr(0, entry.find('\t')); }

void take(HWND dlg)
{
    HWND list = GetDlgItem(dlg, 100);
    LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
    g_search->chosen.clear();
    if (sel != LB_ERR) {
        LRESULT n = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)sel, 0);
        std::string text((size_t)(n > 0 ? n : 0) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, (WPARAM)sel, (LPARAM)&text[0]);
        g_search->chosen = text.c_str();
    }
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK searchProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        for (const std::string &e : g_search->entries)
            SendDlgItemMessageA(dlg, 100, LB_ADDSTRING, 0, (LPARAM)nameOf(e).c_str());
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 100:
            if (HIWORD(wParam) == LBN_DBLCLK)
                take(dlg);
            return TRUE;
        case IDOK:
            take(dlg);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void addNamed(MemHandle page, int index, std::vector<std::string> *entries)
{
    for (MemHandle h = pgGetFirstObject(page); h;) {
        char name[64] = "";
        obGetName(h, name);
        if (*name) {
            char entry[96];
            snprintf(entry, sizeof(entry), "%s\t%5d\n", name, index);
            entries->push_back(entry);
        }
        ObLock r(h);
        h = r ? r->next : 0;
    }
}

}  // namespace

std::vector<std::string> pgBuildObjectIndex(HWND ws)
{
    std::vector<std::string> entries;
    MemHandle form = wsGetDocument(ws);
    const int count = fmGetPageCount(form);
    for (int i = 0; i < count; ++i) {
        MemHandle dir = fmGetDirectory(form);
        if (MemHandle page = pgDirGetPages(dir, i)) {
            addNamed(page, i, &entries);
            continue;
        }
        PageDirEntry entry;
        if (!pgDirGetEntry(dir, i, &entry))
            continue;
        MemHandle read = pgReadEntryPages(ws, &entry);
        addNamed(read, i, &entries);
        pgFreeList(read);
    }
    return entries;
}

int pgObjectSearch(HWND ws, int *pageIndex, MemHandle *name)
{
    if (pageIndex)
        *pageIndex = -1;
    SearchRun run;
    run.entries = pgBuildObjectIndex(ws);
    HWND owner = wsGetDocWindow(ws) ? wsGetDocWindow(ws) : ws;
    if (run.entries.empty()) {
        utMessageBox(owner, "No objects have been named.  Can not do search",
                     MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    g_search = &run;
    const INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), "OIDX", owner, searchProc, 0);
    g_search = nullptr;
    if (r != 1 || run.chosen.empty())
        return 0;
    for (const std::string &e : run.entries) {
        if (lstrcmpiA(nameOf(e).c_str(), run.chosen.c_str()) != 0)
            continue;
        if (pageIndex)
            *pageIndex = atoi(e.c_str() + e.find('\t') + 1);
        if (name)
            *name = utHandleFromString(run.chosen.c_str());
        return 1;
    }
    return 0;
}
