// The print and fax dialogs that fill a print job, the Select Pages dialog
// and the modeless abort dialog with its abort procedure.
#include "views/prn_print.h"
#include "support/dm_printer.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_filedlg.h"
#include "forms/lbl_listing.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <vector>
#include <string>

namespace {

// The print dialog's state, set before the dialog runs.
PrintJob *g_job = nullptr;
LabelSpec g_scratch;
uint16_t g_copiesAllowed = 1;

// The Select Pages dialog's state.
struct SelectState {
    const char *caption;
    std::vector<std::string> names;
    std::vector<int32_t> selection;
    std::vector<int32_t> result;
};
SelectState *g_select = nullptr;

// The abort dialog's state.
BOOL g_abort = FALSE;
HWND g_abortDlg = nullptr;

HINSTANCE instance() { return GetModuleHandleA(nullptr); }

// A whole number of one or more digits (surrounding blanks allowed); -1
// when the text is anything else.
long readWhole(HWND dlg, int id)
{
    char text[32] = "";
    GetDlgItemTextA(dlg, id, text, sizeof(text));
    const char *p = text;
    while (*p == ' ')
        ++p;
    if (!*p)
        return -1;
    long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > 1000000)
            return -1;
    }
    while (*p == ' ')
        ++p;
    return *p ? -1 : v;
}

void refuse(HWND dlg, int id, const char *text)
{
    utMessageBox(dlg, text, MB_OK | MB_ICONEXCLAMATION);
    HWND field = GetDlgItem(dlg, id);
    SendMessageA(field, EM_SETSEL, 0, -1);
    SetFocus(field);
}

void refuseId(HWND dlg, int id, UINT stringId)
{
    char text[256] = "";
    utLoadString(dlg, stringId, text);
    refuse(dlg, id, text);
}

int checkedRange(HWND dlg)
{
    for (int id = 110; id <= 113; ++id)
        if (IsDlgButtonChecked(dlg, id) == BST_CHECKED)
            return id - 109;
    return PRN_RANGE_CURRENT;
}

void enableItem(HWND dlg, int id, bool on)
{
    if (HWND w = GetDlgItem(dlg, id))
        EnableWindow(w, on);
}

void applyEnabling(HWND dlg)
{
    int kind = checkedRange(dlg);
    if (g_job->pageCount <= 1) {
        enableItem(dlg, 112, false);
        enableItem(dlg, 113, false);
    }
    for (int id = 114; id <= 117; ++id)
        enableItem(dlg, id, kind == PRN_RANGE_FROM_TO);
    enableItem(dlg, 191, kind == PRN_RANGE_FROM_TO);
    enableItem(dlg, 190, kind == PRN_RANGE_SELECTED && g_job->choosePagesProc);
}

void initPrintDialog(HWND dlg)
{
    char text[64];
    snprintf(text, sizeof(text), "All %d %s", g_job->pageCount,
             g_job->pageCount == 1 ? "page" : "pages");
    SetDlgItemTextA(dlg, 111, text);
    SetDlgItemTextA(dlg, 100, "1");
    if (!g_job->fax && dmDeviceCaps(DC_COPIES, nullptr) == 0)
        g_copiesAllowed = 0;
    if (!g_copiesAllowed) {
        enableItem(dlg, 100, false);
        enableItem(dlg, 101, false);
    }
    snprintf(text, sizeof(text), "%d", g_job->currentPage + 1);
    SetDlgItemTextA(dlg, 114, text);
    SetDlgItemTextA(dlg, 116, text);
    CheckRadioButton(dlg, 110, g_job->fax ? 112 : 113, 110);
    applyEnabling(dlg);
    if (!g_job->choosePagesProc)
        enableItem(dlg, 190, false);
    if (g_job->pageCount <= 1) {
        enableItem(dlg, 181, false);
        enableItem(dlg, 180, false);
    }
    char name[64];
    if (!g_job->fax && dmGetPrinterName(name, sizeof(name)) > 0) {
        std::string caption = std::string("Print - ") + name;
        SetWindowTextA(dlg, caption.c_str());
    }
}

// A spin bar steps its edit by one within 1 .. page count (copies: 1 .. 64).
void spin(HWND dlg, HWND bar, int code)
{
    int id = GetDlgCtrlID(bar);
    int edit = id - 1, high = id == 101 ? 64 : g_job->pageCount;
    long v = readWhole(dlg, edit);
    if (v < 1)
        v = 1;
    if (code == SB_LINEUP)
        ++v;
    else if (code == SB_LINEDOWN)
        --v;
    else
        return;
    if (v < 1)
        v = 1;
    if (v > high)
        v = high;
    SetDlgItemInt(dlg, edit, (UINT)v, FALSE);
}

int pageForOptions(HWND dlg)
{
    switch (checkedRange(dlg)) {
    case PRN_RANGE_CURRENT: return g_job->currentPage;
    case PRN_RANGE_ALL: return 0;
    case PRN_RANGE_FROM_TO: return (int)readWhole(dlg, 114) - 1;
    default: {
        if (!g_job->selected || g_job->selectedCount <= 0)
            return -1;
        MemLock<int32_t> p(g_job->selected);
        return p.get() ? p.get()[0] : -1;
    }
    }
}

void pageOptions(HWND dlg)
{
    int page = pageForOptions(dlg);
    HWND ws = qmU32ToHandle<HWND>(g_job->workspace);
    if (g_scratch.unit == 0 && g_job->pageLabelProc && page >= 0)
        g_job->pageLabelProc(ws, page, &g_scratch, &g_job->labels);
    lblPageOptionsDialog(dlg, g_job->labelFileProc, &g_scratch, &g_job->labels,
                         &g_job->options);
}

void attachFile(HWND dlg)
{
    char path[MAX_PATH] = "";
    if (!winOpenFileDlg(dlg, "Attach File", path, "qm", "Quillmark Files (*.qm)|*.qm|"))
        path[0] = 0;
    SetDlgItemTextA(dlg, 121, path);
}

bool acceptPrintDialog(HWND dlg)
{
    uint16_t copies = 1;
    if (g_copiesAllowed) {
        long v = readWhole(dlg, 100);
        if (v < 1) {
            refuseId(dlg, 100, 653);
            return false;
        }
        copies = (uint16_t)(v > 0xFFFF ? 0xFFFF : v);
    }
    int kind = checkedRange(dlg);
    int first = g_job->first, last = g_job->last;
    switch (kind) {
    case PRN_RANGE_CURRENT: first = last = g_job->currentPage; break;
    case PRN_RANGE_ALL: first = 0; last = g_job->pageCount - 1; break;
    case PRN_RANGE_FROM_TO: {
        char text[64];
        snprintf(text, sizeof(text), "Page number must be between 1 and %d", g_job->pageCount);
        long from = readWhole(dlg, 114);
        if (from < 1 || from > g_job->pageCount) {
            refuse(dlg, 114, text);
            return false;
        }
        long to = readWhole(dlg, 116);
        if (to < 1 || to > g_job->pageCount) {
            refuse(dlg, 116, text);
            return false;
        }
        if (from > to) {
            refuseId(dlg, 116, 654);
            return false;
        }
        first = (int)from - 1;
        last = (int)to - 1;
        break;
    }
    default: break;
    }
    g_job->copies = copies;
    g_job->rangeKind = (int16_t)kind;
    g_job->first = (int16_t)first;
    g_job->last = (int16_t)last;
    if (GetDlgItem(dlg, 170) && IsDlgButtonChecked(dlg, 170) == BST_CHECKED)
        g_job->output |= PRN_OUT_FILE;
    if (GetDlgItem(dlg, 121)) {
        char path[MAX_PATH] = "";
        GetDlgItemTextA(dlg, 121, path, sizeof(path));
        if (*path) {
            MemHandle h = utAllocHandle(g_job->attached, (uint32_t)strlen(path) + 1);
            if (h) {
                MemLock<char> p(h);
                strcpy(p.get(), path);
                g_job->attached = h;
            }
        } else {
            g_job->attached = utFreeHandle(g_job->attached);
        }
    }
    struct {
        int id;
        uint16_t bit;
    } const boxes[] = {{181, PRN_OPT_PAIRS}, {180, PRN_OPT_PAUSE}, {122, PRN_OPT_EXTRA}};
    for (auto &b : boxes) {
        if (!GetDlgItem(dlg, b.id))
            continue;
        if (IsDlgButtonChecked(dlg, b.id) == BST_CHECKED)
            g_job->options |= b.bit;
        else
            g_job->options &= (uint16_t)~b.bit;
    }
    return true;
}

INT_PTR CALLBACK prnPrintDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        initPrintDialog(dlg);
        return TRUE;
    case WM_VSCROLL:
        spin(dlg, (HWND)lParam, LOWORD(wParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 110: case 111: case 112: case 113:
            applyEnabling(dlg);
            return TRUE;
        case 190:
            if (g_job->choosePagesProc)
                g_job->choosePagesProc(qmU32ToHandle<HWND>(g_job->workspace),
                                       (MemHandle *)&g_job->selected, &g_job->selectedCount);
            return TRUE;
        case 161:
            pageOptions(dlg);
            return TRUE;
        case 120:
            attachFile(dlg);
            return TRUE;
        case IDOK:
            if (acceptPrintDialog(dlg))
                EndDialog(dlg, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// ---- Select Pages ----

void acceptSelection(HWND dlg)
{
    HWND list = GetDlgItem(dlg, 102);
    int n = (int)SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    g_select->result.assign(n > 0 ? n : 0, 0);
    if (n > 0) {
        std::vector<int> items(n);
        SendMessageA(list, LB_GETSELITEMS, n, (LPARAM)items.data());
        std::sort(items.begin(), items.end());
        for (int i = 0; i < n; ++i)
            g_select->result[i] = items[i];
    }
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK prnSelectPagesDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowTextA(dlg, g_select->caption);
        if (strcmp(g_select->caption, "Delete") == 0)
            SetDlgItemTextA(dlg, IDOK, "Delete");
        HWND list = GetDlgItem(dlg, 102);
        for (auto &n : g_select->names)
            SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)n.c_str());
        for (int32_t i : g_select->selection)
            SendMessageA(list, LB_SETSEL, TRUE, i);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 110:
            SendDlgItemMessageA(dlg, 102, LB_SETSEL, FALSE, -1);
            return TRUE;
        case 102:
            if (HIWORD(wParam) == LBN_DBLCLK)
                acceptSelection(dlg);
            return TRUE;
        case IDOK:
            acceptSelection(dlg);
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

INT_PTR prnPrintDialog(HWND ws, PrintJob *job)
{
    g_job = job;
    memset(&g_scratch, 0, sizeof(g_scratch));
    g_scratch.length = sizeof(LabelSpec);
    job->rangeKind = PRN_RANGE_NONE;
    g_copiesAllowed = job->fax ? 0 : 1;
    INT_PTR r = DialogBoxParamA(instance(), job->fax ? "FAXSEL2" : "PRTSEL2", ws,
                                prnPrintDlgProc, 0);
    if (r == 1 && !g_copiesAllowed)
        job->copies = 1;
    g_job = nullptr;
    return r == 1 ? 1 : 0;
}

MemHandle prnSelectPagesDialog(HWND owner, const char *caption, MemHandle names, int count,
                               MemHandle *selection, int16_t *selectionCount, INT_PTR *answer)
{
    if (answer)
        *answer = 0;
    if (!names)
        return 0;
    SelectState state;
    state.caption = caption ? caption : "Select Pages";
    {
        MemLock<char> p(names);
        if (!p.get())
            return 0;
        uint32_t size = utHandleSize(names);
        std::string all(p.get(), strnlen(p.get(), size));
        size_t start = 0;
        while (start <= all.size() && (int)state.names.size() < count) {
            size_t end = all.find('\x1b', start);
            if (end == std::string::npos)
                end = all.size();
            state.names.push_back(all.substr(start, end - start));
            start = end + 1;
        }
    }
    if (*selection && *selectionCount > 0) {
        MemLock<int32_t> p(*selection);
        uint32_t n = utHandleSize(*selection) / 4;
        for (uint32_t i = 0; p.get() && i < n && i < (uint32_t)*selectionCount; ++i)
            state.selection.push_back(p.get()[i]);
    }
    g_select = &state;
    INT_PTR r = DialogBoxParamA(instance(), "SELPAGES", owner, prnSelectPagesDlgProc, 0);
    g_select = nullptr;
    if (answer)
        *answer = r;
    if (r != 1)
        return *selection;
    int n = (int)state.result.size();
    if (n == 0) {
        *selectionCount = 0;
        return *selection;
    }
    MemHandle h = utAllocHandle(*selection, (uint32_t)n * 4);
    if (!h)
        return *selection;
    {
        MemLock<int32_t> p(h);
        memcpy(p.get(), state.result.data(), (size_t)n * 4);
    }
    *selection = h;
    *selectionCount = (int16_t)n;
    return h;
}

int prnLabelSpecFile(HWND owner, uint16_t *options)
{
    char path[MAX_PATH];
    return lblChooseFromListing(owner, lblListingPath(path), options);
}

// ---- the abort dialog ----

BOOL prnIsAborted() { return g_abort; }

HWND prnGetAbortDialog() { return g_abortDlg; }

BOOL CALLBACK prnAbortProc(HDC, int code)
{
    if (code != 0) {
        g_abort = TRUE;
        return FALSE;
    }
    MSG msg;
    while (!g_abort && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (g_abortDlg && IsDialogMessageA(g_abortDlg, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return !g_abort;
}

INT_PTR CALLBACK prnAbortDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        ShowWindow(GetDlgItem(dlg, IDCANCEL), SW_SHOW);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            g_abort = TRUE;
            return TRUE;
        }
        break;
    case WM_DESTROY:
        g_abort = FALSE;
        if (g_abortDlg == dlg)
            g_abortDlg = nullptr;
        return TRUE;
    }
    return FALSE;
}

HWND prnOpenAbortDialog(HWND owner, HDC dc, BOOL create, BOOL multiJob)
{
    if (!create) {
        if (g_abortDlg)
            DestroyWindow(g_abortDlg);
        g_abortDlg = nullptr;
        return nullptr;
    }
    prnGetPrintCalls()->setAbortProc(dc, prnAbortProc);
    if (g_abortDlg)
        DestroyWindow(g_abortDlg);
    g_abortDlg = CreateDialogParamA(instance(), multiJob ? "Abort_M" : "Abort", owner,
                                    prnAbortDlgProc, 0);
    g_abort = FALSE;
    if (!g_abortDlg)
        utErrorBoxId(owner, 652);
    return g_abortDlg;
}

HWND prnCloseAbortDialog(HWND owner, HDC dc) { return prnOpenAbortDialog(owner, dc, FALSE, FALSE); }

namespace {
void setTitle(HWND dlg, const char *name, BOOL fax, const char *fallback)
{
    std::string t = std::string(fax ? "Faxing " : "Processing ") + (name && *name ? name : fallback);
    SetWindowTextA(dlg, t.c_str());
}
}  // namespace

void prnSetAbortTitle(HWND dlg, const char *name, BOOL fax) { setTitle(dlg, name, fax, "Untitled"); }

void prnSetAbortJobTitle(HWND dlg, const char *name, BOOL fax, int jobIndex, int jobCount)
{
    setTitle(dlg, name, fax, "Untitled:  ");
    char text[64];
    snprintf(text, sizeof(text), "Job %d of %d", jobIndex + 1, jobCount);
    SetDlgItemTextA(dlg, 201, text);
}

void prnSetAbortText(HWND dlg, const char *text) { SetDlgItemTextA(dlg, 200, text); }

void prnResetDialogModule()
{
    if (g_abortDlg)
        DestroyWindow(g_abortDlg);
    g_abortDlg = nullptr;
    g_abort = FALSE;
    g_job = nullptr;
    g_select = nullptr;
}
