// The page dialogs: page numbers, ruler, background, initialisation,
// name, "Select Page" by name, deleting pages, the page order and the page
// shadow.
#include "views/pg_dialogs.h"
#include "controls/pal_file.h"
#include "model/pg_numbers.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/qmf_pages.h"
#include "model/pg_render.h"
#include "support/app_ui_state.h"
#include "support/dlg_shuffle.h"
#include "support/dlg_value.h"
#include "support/rc_list.h"
#include "support/win_dlgfield.h"
#include "support/win_filedlg.h"
#include "views/prn_print.h"
#include <commdlg.h>
#include <algorithm>
#include <vector>
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

// ---- page numbers ----------------------------------------------------------------------------

namespace {

enum {
    kNumLocation = 100, kNumAlignment = 101, kNumFormat = 102, kNumStart = 103, kNumSpin = 104,
    kNumFont = 106, kNumRemove = 107, kNumSingle = 110, kNumEnable = 99, kNumHelp = 150,
};

struct CodeText {
    uint16_t code;
    const char *text;
};
const CodeText kLocations[] = {{1, "Top"}, {2, "Bottom"}};
const CodeText kAlignments[] = {
    {1, "Center"}, {2, "Left"}, {3, "Right"}, {4, "Inside"}, {5, "Outside"}};
const CodeText kFormats[] = {{1, "1, 2, 3, ..."}, {4, "a, b, c, .."}, {5, "A, B, C,..."}};

struct PageNumbersRun {
    PageNumberSettings settings;
    BOOL enabled;
    BOOL remove;
};
PageNumbersRun *g_numbers = nullptr;

template <size_t N>
void fillCodes(HWND dlg, int id, const CodeText (&table)[N], uint16_t chosen)
{
    HWND combo = GetDlgItem(dlg, id);
    int at = 0;
    for (size_t i = 0; i < N; ++i) {
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)table[i].text);
        SendMessageA(combo, CB_SETITEMDATA, i, table[i].code);
        if (table[i].code == chosen)
            at = (int)i;
    }
    SendMessageA(combo, CB_SETCURSEL, (WPARAM)at, 0);
}

uint16_t chosenCode(HWND dlg, int id)
{
    LRESULT i = SendDlgItemMessageA(dlg, id, CB_GETCURSEL, 0, 0);
    return i == CB_ERR ? 0 : (uint16_t)SendDlgItemMessageA(dlg, id, CB_GETITEMDATA, i, 0);
}

void enableNumberFields(HWND dlg, BOOL on)
{
    for (int id : {kNumLocation, kNumAlignment, kNumFormat, kNumStart, kNumSpin, kNumSingle,
                   kNumRemove, kNumFont})
        winEnableDlgItem(dlg, id, on);
}

// Reads an unsigned whole number; FALSE for anything else.
BOOL readUnsigned(HWND dlg, int id, unsigned long *value)
{
    char text[32] = "";
    winGetDlgTextTrim(dlg, id, text, sizeof(text));
    if (!*text)
        return FALSE;
    for (const char *p = text; *p; ++p)
        if (*p < '0' || *p > '9')
            return FALSE;
    *value = strtoul(text, nullptr, 10);
    return TRUE;
}

INT_PTR CALLBACK pageNumbersProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    PageNumbersRun &r = *g_numbers;
    switch (msg) {
    case WM_INITDIALOG:
        fillCodes(dlg, kNumLocation, kLocations, r.settings.placement);
        fillCodes(dlg, kNumAlignment, kAlignments, r.settings.horizontal);
        fillCodes(dlg, kNumFormat, kFormats, r.settings.numberStyle);
        SetDlgItemInt(dlg, kNumStart, (UINT)(uint16_t)r.settings.offset, FALSE);
        CheckDlgButton(dlg, kNumSingle, (r.settings.flags & 1) ? BST_CHECKED : BST_UNCHECKED);
        if (r.enabled)
            winShowDlgItem(dlg, kNumEnable, FALSE);
        else
            enableNumberFields(dlg, FALSE);
        return TRUE;
    case WM_VSCROLL:
        if ((HWND)lParam == GetDlgItem(dlg, kNumSpin)) {
            winSpinDlgInt(dlg, kNumStart, LOWORD(wParam), 1, 0, 256);
            winFocusDlgItem(dlg, kNumStart);
        }
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kNumEnable:
            enableNumberFields(dlg, IsDlgButtonChecked(dlg, kNumEnable) == BST_CHECKED);
            return TRUE;
        case kNumFont: {
            CHOOSEFONTA cf = {};
            cf.lStructSize = sizeof(cf);
            cf.hwndOwner = dlg;
            cf.lpLogFont = &r.settings.font;
            cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
            ChooseFontA(&cf);
            return TRUE;
        }
        case kNumRemove:
            if (utMessageBox(dlg, "Remove page numbers?", MB_OKCANCEL) == IDOK) {
                r.remove = TRUE;
                EndDialog(dlg, 1);
            }
            return TRUE;
        case kNumHelp:
            utHelpKeyword(dlg, "Page Numbers");
            return TRUE;
        case IDOK: {
            unsigned long start = 0;
            if (!readUnsigned(dlg, kNumStart, &start))
                return TRUE;
            r.settings.placement = chosenCode(dlg, kNumLocation);
            r.settings.horizontal = chosenCode(dlg, kNumAlignment);
            r.settings.numberStyle = chosenCode(dlg, kNumFormat);
            r.settings.offset = (int16_t)start;
            r.settings.flags = (uint16_t)((r.settings.flags & ~1u) |
                                          (IsDlgButtonChecked(dlg, kNumSingle) ? 1u : 0u));
            if (!r.enabled)
                r.enabled = IsDlgButtonChecked(dlg, kNumEnable) == BST_CHECKED;
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

void invalidateNumber(HWND ws)
{
    RECT r;
    MemHandle form = wsGetDocument(ws);
    if (pgGetNumberRect(ws, nullptr, form, pvGetCurrentPage(ws), pvGetCurrentPageIndex(ws) + 1,
                        &r))
        InvalidateRect(ws, nullptr, TRUE);
}

}  // namespace

void pgDefaultNumberSettings(PageNumberSettings *s)
{
    memset(s, 0, sizeof(*s));
    s->length = sizeof(*s);
    s->placement = 2;
    s->horizontal = 1;
    s->numberStyle = 1;
    s->offset = 1;
    s->font.lfHeight = -200;   // 10 points in twips
    s->font.lfWeight = FW_NORMAL;
    lstrcpynA(s->font.lfFaceName, "Arial", LF_FACESIZE);
}

int pgCmdPageNumbers(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return 0;
    PageNumbersRun run = {};
    run.enabled = pgGetNumberSettings(form, &run.settings) ? TRUE : FALSE;
    if (!run.enabled)
        pgDefaultNumberSettings(&run.settings);
    g_numbers = &run;
    const INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), "PAGENUM",
                                      wsGetDocWindow(ws) ? wsGetDocWindow(ws) : ws,
                                      pageNumbersProc, 0);
    g_numbers = nullptr;
    if (r != 1)
        return 0;
    invalidateNumber(ws);
    MemHandle moved = (run.remove || !run.enabled) ? pgSetNumberSettings(form, nullptr)
                                                   : pgSetNumberSettings(form, &run.settings);
    if (moved && moved != form)
        wsSetDocument(ws, moved);
    InvalidateRect(ws, nullptr, TRUE);
    wsMarkModified(ws);
    return 1;
}

// ---- ruler -----------------------------------------------------------------------------------

namespace {

struct RulerRun {
    int divisions;
    BOOL rulers;
    int grid;
};
RulerRun *g_ruler = nullptr;

INT_PTR CALLBACK rulerProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    RulerRun &r = *g_ruler;
    switch (msg) {
    case WM_INITDIALOG:
        SetDlgItemInt(dlg, 1200, (UINT)r.divisions, FALSE);
        CheckDlgButton(dlg, 102, r.rulers ? BST_CHECKED : BST_UNCHECKED);
        CheckRadioButton(dlg, 200, 202, 200 + (r.grid >= 0 && r.grid <= 2 ? r.grid : 0));
        return TRUE;
    case WM_VSCROLL:
        if ((HWND)lParam == GetDlgItem(dlg, 1201))
            winSpinDlgInt(dlg, 1200, LOWORD(wParam), 1, 1, 100);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            unsigned long value = 0;
            if (!readUnsigned(dlg, 1200, &value)) {
                utShowBox(dlg, "Incorrect input.  Please re-enter", "Error", MB_OK | MB_ICONSTOP);
                return TRUE;
            }
            if (value == 0) {
                utShowBox(dlg, "Frquency must be greater than 0", "Error", MB_OK | MB_ICONSTOP);
                return TRUE;
            }
            r.divisions = (int)value;
            r.rulers = IsDlgButtonChecked(dlg, 102) == BST_CHECKED;
            const int checked = winDlgGetCheckedButton(dlg, 200, 202);
            r.grid = checked ? checked - 200 : 0;
            EndDialog(dlg, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int pgRulerDialog(HWND owner, int *divisions, BOOL *rulers, int *grid)
{
    RulerRun run = {*divisions, *rulers, *grid};
    g_ruler = &run;
    const INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), "RULER", owner, rulerProc, 0);
    g_ruler = nullptr;
    if (r != 1)
        return 0;
    *divisions = run.divisions;
    *rulers = run.rulers;
    *grid = run.grid;
    return 1;
}

// ---- page background ----------------------------------------------------------------------

namespace {

struct BackgroundRun {
    COLORREF colour;
    std::string file;
    uint16_t fill;
    std::string folder;
};
BackgroundRun *g_background = nullptr;

INT_PTR CALLBACK backgroundProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    BackgroundRun &r = *g_background;
    switch (msg) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dlg, 415, r.file.c_str());
        winEnableDlgItem(dlg, 417, !r.file.empty());
        return TRUE;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT *d = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        if (d->CtlID != 450)
            return FALSE;
        HBRUSH brush = CreateSolidBrush(r.colour);
        FillRect(d->hDC, &d->rcItem, brush);
        DeleteObject(brush);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 410:
            if (clrChooseColor(dlg, "Page Background Color", &r.colour))
                InvalidateRect(GetDlgItem(dlg, 450), nullptr, TRUE);
            return TRUE;
        case 412: {
            // The chooser starts at the name typed, resolved against the
            // document's folder.
            char typed[MAX_PATH] = "", path[MAX_PATH] = "";
            GetDlgItemTextA(dlg, 415, typed, sizeof(typed));
            if (*typed && !strchr(typed, '\\') && !r.folder.empty())
                snprintf(path, sizeof(path), "%s\\%s", r.folder.c_str(), typed);
            else
                lstrcpynA(path, typed, sizeof(path));
            if (winOpenFileDlg(dlg, "Use Image File", path, nullptr,
                               "Image Files|*.bmp;*.jpg;*.png;*.gif;*.tif|All Files (*.*)|*.*|"))
                SetDlgItemTextA(dlg, 415, path);
            return TRUE;
        }
        case 415:
            if (HIWORD(wParam) == EN_CHANGE)
                winEnableDlgItem(dlg, 417, GetWindowTextLengthA(GetDlgItem(dlg, 415)) > 0);
            return TRUE;
        case 417: {
            int16_t value = (int16_t)r.fill, step = 1, lo = 0, hi = 10;
            if (dlgEnterValue(dlg, "Image Fill Option", "Fill option:", DLG_VALUE_INT16, &step,
                              &lo, &hi, &value))
                r.fill = (uint16_t)value;
            return TRUE;
        }
        case 400:
            utHelpKeyword(dlg, "Page Background");
            return TRUE;
        case 999:
        case IDOK: {
            char path[MAX_PATH] = "";
            winGetDlgTextTrim(dlg, 415, path, sizeof(path));
            r.file = path;
            EndDialog(dlg, 1);
            return TRUE;
        }
        case 998:
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int pgBackgroundDialog(HWND owner, MemHandle *page)
{
    if (!page || !PgLock(*page))
        return 0;
    BackgroundRun run;
    run.colour = pgGetColour(*page);
    run.fill = 0;
    if (MemHandle record = pgGetBackground(*page)) {
        // The fill option is the record's fifth word, its tiling.
        {
            MemLock<PageBackground> b(record);
            if (b)
                run.fill = b.get()->tiling;
        }
        if (MemHandle file = pgGetBackgroundFile(record)) {
            MemLock<char> f(file);
            if (f)
                run.file.assign(f.get(), strnlen(f.get(), utHandleSize(file)));
            utFreeHandle(file);
        }
        utFreeHandle(record);
    }
    char folder[MAX_PATH] = "";
    if (HWND ws = appGetActiveWorkspace())
        if (wsGetDocFolder(ws, folder))
            run.folder = folder;
    g_background = &run;
    const INT_PTR r =
        DialogBoxParamA(GetModuleHandleA(nullptr), "PAGEBKGND", owner, backgroundProc, 0);
    g_background = nullptr;
    if (r != 1)
        return 0;
    MemHandle record = 0;
    if (!run.file.empty()) {
        record = pgNewBackground(PG_BACKGROUND_PICTURE, run.fill, 0, run.file.c_str(),
                                 (uint32_t)run.file.size() + 1);
        if (!record)
            return 0;
    }
    MemHandle moved = pgSetBackground(*page, record);
    utFreeHandle(record);
    if (!moved)
        return 0;
    *page = moved;
    PgLock p(*page);
    if (p)
        p.data()->pageColour = run.colour;
    return 1;
}

// ---- page initialisation ----------------------------------------------------------------------

namespace {
std::string *g_initText = nullptr;

INT_PTR CALLBACK initProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dlg, 100, g_initText->c_str());
        // The command builder ("Runtime Command Helper") is not in the
        // program yet: its button stays disabled until it is.
        winEnableDlgItem(dlg, 102, FALSE);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 101:
            utHelpKeyword(dlg, "Page Initialization");
            return TRUE;
        case IDOK: {
            const int n = GetWindowTextLengthA(GetDlgItem(dlg, 100));
            std::string text((size_t)n + 1, '\0');
            GetDlgItemTextA(dlg, 100, &text[0], n + 1);
            text.resize(strlen(text.c_str()));
            *g_initText = text;
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

int pgInitDialog(HWND owner, MemHandle *page)
{
    if (!page || !PgLock(*page))
        return 0;
    std::string text;
    {
        PgLock p(*page);
        int length = 0;
        if (const uint8_t *a = p.findAttr(PGA_BLOCK16, &length))
            text.assign((const char *)a, strnlen((const char *)a, (size_t)length));
    }
    g_initText = &text;
    const INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), "PGINIT", owner, initProc, 0);
    g_initText = nullptr;
    if (r != 1)
        return 0;
    MemHandle moved = pgSetAttr(*page, PGA_BLOCK16, text.empty() ? nullptr : text.data(),
                                (int)text.size());
    if (!moved)
        return 0;
    *page = moved;
    return 1;
}

// ---- page name -------------------------------------------------------------------------------

namespace {

struct NameRun {
    std::string old;
    std::vector<std::string> items;     // "%d. name"
    int current;
    std::string result;
};
NameRun *g_name = nullptr;

std::string trimBlanks(const std::string &s)
{
    size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos)
        return std::string();
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

INT_PTR CALLBACK nameProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    NameRun &r = *g_name;
    switch (msg) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dlg, 101, EM_LIMITTEXT, 256, 0);
        SetDlgItemTextA(dlg, 101, r.old.c_str());
        for (const std::string &item : r.items)
            SendDlgItemMessageA(dlg, 102, LB_ADDSTRING, 0, (LPARAM)item.c_str());
        SendDlgItemMessageA(dlg, 102, LB_SETCURSEL, (WPARAM)r.current, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            char text[300] = "";
            GetDlgItemTextA(dlg, 101, text, sizeof(text));
            std::string name = trimBlanks(text);
            if (pgNameIsTaken(name.c_str(), r.old.c_str(), r.items, r.current)) {
                utMessageBox(dlg, "The entered name has been used by another page, please revise",
                             MB_OK | MB_ICONSTOP);
                return TRUE;
            }
            r.result = name;
            EndDialog(dlg, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// The page-name list's items ("%d. name").
std::vector<std::string> splitNames(MemHandle names) { return rcListItems(names, '\x1b'); }

}  // namespace

BOOL pgNameIsChanged(const char *name, const char *old)
{
    if (!*old)
        return *name != '\0';
    return lstrcmpiA(name, old) != 0;
}

BOOL pgNameIsTaken(const char *name, const char *old, const std::vector<std::string> &items,
                   int current)
{
    if (!*name || !pgNameIsChanged(name, old))
        return FALSE;
    for (size_t i = 0; i < items.size(); ++i) {
        if ((int)i == current)
            continue;
        // The items carry the page number ("3. Back"): the bare name counts.
        const std::string &item = items[i];
        size_t dot = item.find(". ");
        std::string bare = dot == std::string::npos ? item : item.substr(dot + 2);
        if (lstrcmpiA(bare.c_str(), name) == 0)
            return TRUE;
    }
    return FALSE;
}

int pgNameDialog(HWND ws, MemHandle *name)
{
    if (!name)
        return 0;
    NameRun run;
    if (*name) {
        MemLock<char> p(*name);
        if (p)
            run.old.assign(p.get(), strnlen(p.get(), utHandleSize(*name)));
    }
    MemHandle names = pgGetNameList(ws);
    run.items = splitNames(names);
    utFreeHandle(names);
    run.current = pvGetCurrentPageIndex(ws);
    g_name = &run;
    const INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), "PAGENAME",
                                      wsGetDocWindow(ws) ? wsGetDocWindow(ws) : ws, nameProc, 0);
    g_name = nullptr;
    if (r != 1 || !pgNameIsChanged(run.result.c_str(), run.old.c_str()))
        return 0;
    utFreeHandle(*name);
    *name = run.result.empty() ? 0 : utHandleFromString(run.result.c_str());
    return 1;
}

// ---- deleting pages ----------------------------------------------------------------------------

int pgDeletePages(HWND ws, const std::vector<int> &chosen)
{
    MemHandle form = wsGetDocument(ws);
    const int count = fmGetPageCount(form);
    const int current = pvGetCurrentPageIndex(ws);
    std::vector<int> doomed;
    for (int i : chosen)
        if (i >= 0 && i < count && std::find(doomed.begin(), doomed.end(), i) == doomed.end())
            doomed.push_back(i);
    if (doomed.empty() || (int)doomed.size() >= count)
        return 0;
    const bool currentGoes = std::find(doomed.begin(), doomed.end(), current) != doomed.end();
    HWND owner = wsGetDocWindow(ws) ? wsGetDocWindow(ws) : ws;
    if (currentGoes) {
        wsSendLeaveMode(ws, 1);
        udDiscard(ws);
        epSelectObject(ws, 0);
        pvCommitPage(ws);
        // Written out before anything is deleted: a page that cannot be
        // written leaves the document as it was.
        if (!pgSwapOutCurrent(ws)) {
            utErrorBox(owner, "The page could not be written to a temporary file.  No page was "
                              "deleted.");
            return 0;
        }
        pvLeavePage(ws);
    }
    // The new current page: the first kept page at or after the old one,
    // else the last kept page; counted after the deletions.
    int next = -1, kept = 0, lastKept = -1;
    for (int i = 0; i < count; ++i) {
        if (std::find(doomed.begin(), doomed.end(), i) != doomed.end())
            continue;
        if (next < 0 && i >= current)
            next = kept;
        lastKept = kept++;
    }
    if (next < 0)
        next = lastKept;
    std::sort(doomed.begin(), doomed.end());
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
        pgDirDelete(ws, *it);
    if (currentGoes) {
        pvGoToPage(ws, next);
        InvalidateRect(ws, nullptr, TRUE);
        if (HWND doc = wsGetDocWindow(ws))
            dwUpdateTitle(doc);
    } else {
        fmSetCurrentPage(form, next);
    }
    return 1;
}

int pgDeletePagesDlg(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    const int count = fmGetPageCount(form);
    if (!form || count < 2)
        return 0;
    HWND owner = wsGetDocWindow(ws) ? wsGetDocWindow(ws) : ws;
    MemHandle names = pgGetNameList(ws);
    MemHandle selection = 0;
    int16_t selected = 0;
    std::vector<int> chosen;
    for (;;) {
        INT_PTR answer = 0;
        prnSelectPagesDialog(owner, "Select Pages To Delete", names, count, &selection, &selected,
                             &answer);
        if (answer != 1)
            break;
        chosen.clear();
        if (selection) {
            MemLock<int32_t> p(selection);
            for (int i = 0; p && i < selected; ++i)
                chosen.push_back(p.get()[i]);
        }
        if ((int)chosen.size() < count)
            break;
        chosen.clear();
        if (utMessageBox(owner,
                         "You have selected to delete all the pages, which is not allowed.You must "
                         "leave at least one page in file.  Want to reselect pages to delete?",
                         MB_YESNO | MB_ICONSTOP) != IDYES)
            break;
    }
    utFreeHandle(names);
    utFreeHandle(selection);
    if (chosen.empty())
        return 0;
    if (utMessageBox(owner,
                     "Quillmark is ready to delete the selected pages. Once deleted, it can not "
                     "be undone.",
                     MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return 0;
    return pgDeletePages(ws, chosen);
}

// ---- shuffle -----------------------------------------------------------------------------------

int pgReorderPages(HWND ws, const std::vector<int> &order)
{
    MemHandle form = wsGetDocument(ws);
    const int count = fmGetPageCount(form);
    if (!form || order.empty() || (int)order.size() > count)
        return 0;
    // A valid permutation or subset only: every index within the pages and
    // none twice, or two entries would share one page.
    std::vector<bool> seen((size_t)count, false);
    for (int i : order) {
        if (i < 0 || i >= count || seen[(size_t)i])
            return 0;
        seen[(size_t)i] = true;
    }
    const int current = pvGetCurrentPageIndex(ws);
    int next = -1;
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i] == current)
            next = (int)i;
    if (next < 0 && current >= 0) {
        int above = -1, below = -1;
        for (size_t i = 0; i < order.size(); ++i) {
            if (order[i] > current && (above < 0 || order[i] < order[(size_t)above]))
                above = (int)i;
            if (order[i] < current && (below < 0 || order[i] > order[(size_t)below]))
                below = (int)i;
        }
        next = above >= 0 ? above : below;
    }
    // The page shown is written out and let go first, so every entry can be
    // moved or dropped alike.
    if (current >= 0) {
        wsSendLeaveMode(ws, 1);
        epSelectObject(ws, 0);
        pvCommitPage(ws);
        if (!pgSwapOutCurrent(ws))
            return 0;
        pvLeavePage(ws);
    }
    int n = 0;
    PageDirEntry *dir = fmLockDirectory(form, &n);
    if (!dir || n < count) {
        fmUnlockDirectory(form);
        return 0;
    }
    std::vector<PageDirEntry> old(dir, dir + count);
    for (size_t i = 0; i < order.size(); ++i)
        dir[i] = old[(size_t)order[i]];
    // The dropped entries go to the end, where the deletion frees them.
    size_t at = order.size();
    for (int i = 0; i < count; ++i)
        if (!seen[(size_t)i])
            dir[at++] = old[(size_t)i];
    fmUnlockDirectory(form);
    fmSetCurrentPage(form, -2);
    for (int i = count - 1; i >= (int)order.size(); --i)
        pgDirDelete(ws, i);
    if (next >= 0)
        pvGoToPage(ws, next);
    return 1;
}

int pgCmdShuffle(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    const int count = fmGetPageCount(form);
    if (!form || count < 1)
        return 0;
    MemHandle names = pgGetNameList(ws);
    if (!names)
        return 0;
    HWND owner = wsGetDocWindow(ws) ? wsGetDocWindow(ws) : ws;
    int done = 0;
    if (dlgShuffleItems(owner, "Shuffle Pages", &names, '\x1b')) {
        std::vector<int> order;
        bool bad = false;
        for (const std::string &item : splitNames(names)) {
            if ((int)order.size() >= count)
                break;
            const int index = atoi(item.c_str()) - 1;
            if (index < 0)
                bad = true;
            order.push_back(index);
        }
        if (bad || !pgReorderPages(ws, order))
            utErrorBox(owner, "Shuffle page error");
        else {
            wsMarkModified(ws);
            done = 1;
        }
    }
    utFreeHandle(names);
    return done;
}

// ---- shadow --------------------------------------------------------------------------------------

int pgShadowDialog(HWND owner, MemHandle page)
{
    PgLock p(page);
    if (!p)
        return 0;
    return shdPageShadowDialog(owner, reinterpret_cast<ShadowStyle *>(p.data()->shadowStyle));
}
