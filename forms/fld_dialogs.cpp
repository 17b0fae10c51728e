// Validation, database link and number format dialogs.
#include "forms/fld_dialogs.h"
#include "links/doc_names.h"
#include "support/num_format.h"
#include "support/rc_list.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "support/win_filedlg.h"
#include "model/ws_document.h"
#include "model/fm_form.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

const uint32_t kRuleHead = 14;

std::string dlgText(HWND dlg, int id)
{
    HWND w = GetDlgItem(dlg, id);
    int n = GetWindowTextLengthA(w);
    std::string s((size_t)(n > 0 ? n : 0) + 1, '\0');
    GetWindowTextA(w, &s[0], n + 1);
    s.resize(strlen(s.c_str()));
    return s;
}

std::string trimRight(std::string s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.pop_back();
    return s;
}

// ---- validation ---------------------------------------------------------------------------

INT_PTR CALLBACK validationProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    MemHandle *rule = (MemHandle *)GetWindowLongPtrA(dlg, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        rule = (MemHandle *)lParam;
        char first[600] = "", second[600] = "";
        if (rule && *rule)
            fldReadValidationRule(*rule, first, sizeof first, second, sizeof second);
        SetDlgItemTextA(dlg, 100, first);
        SetDlgItemTextA(dlg, 102, second);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 110:
            SetDlgItemTextA(dlg, 100, "");
            SetDlgItemTextA(dlg, 102, "");
            return TRUE;
        case 199:
            utHelpKeyword(dlg, "Field Validation");
            return TRUE;
        case IDOK: {
            MemHandle made = fldMakeValidationRule(dlgText(dlg, 100).c_str(),
                                                   dlgText(dlg, 102).c_str());
            utFreeHandle(*rule);
            *rule = made;
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// ---- database link -----------------------------------------------------------------------

const struct {
    int id;
    uint32_t flag;
} kLinkOptions[] = {{104, 0x0008}, {121, 0x0020}, {130, 0x1000000}, {131, 0x2000000}, {132, 0x0800}};

// The "relative" choice is kept while the program runs; on at start.
bool g_linkRelative = true;

struct LinkDialog {
    HWND workspace;
    MemHandle *link;
    MemHandle *block;
    uint32_t *flags;
    std::string folder;   // the document's folder, with its separator; empty when none
};

std::string documentFolder(HWND workspace)
{
    char path[MAX_PATH * 2] = "";
    MemHandle form = workspace ? wsGetDocument(workspace) : 0;
    if (!form || fmGetFilePath(form, path, sizeof path) <= 0)
        return std::string();
    std::string s(path);
    size_t slash = s.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}

void refreshRelative(HWND dlg, const LinkDialog *d)
{
    std::string path = dlgText(dlg, 101);
    std::string relative;
    if (!path.empty() && !d->folder.empty()) {
        MemHandle h = utMakeRelativePath(path.c_str(), d->folder.c_str());
        if (h) {
            MemLock<char> p(h);
            relative = p.get();
        }
        utFreeHandle(h);
    }
    SetDlgItemTextA(dlg, 111, relative.c_str());
}

INT_PTR CALLBACK linkExtProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        const LinkDialog *d = (const LinkDialog *)lParam;
        // The data-source layer only resolves the path: the list of the
        // database's names stays empty, and a missing file is asked about.
        std::string path = dlgText(GetParent(dlg), 101);
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
            utMessageBox(dlg, "Could not find the linked DB.  Continue anyway?",
                         MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        // The advanced block's names: from byte 30, separated by line feeds.
        if (d && d->block && *d->block) {
            uint32_t size = utHandleSize(*d->block);
            MemLock<uint8_t> p(*d->block);
            uint32_t length = size >= 2 ? utGetAt<uint16_t>(p.get(), 0) : 0;
            if (length > size)
                length = size;
            if (length > 30) {
                std::string names(reinterpret_cast<const char *>(p.get()) + 30, length - 30);
                names.resize(strlen(names.c_str()));
                size_t start = 0;
                while (start < names.size()) {
                    size_t end = names.find('\n', start);
                    if (end == std::string::npos)
                        end = names.size();
                    std::string name = names.substr(start, end - start);
                    if (!name.empty() && name.back() == '\r')
                        name.pop_back();
                    if (!name.empty())
                        SendDlgItemMessageA(dlg, 302, LB_ADDSTRING, 0, (LPARAM)name.c_str());
                    start = end + 1;
                }
            }
        }
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 120:
            utHelpKeyword(dlg, "Database Link");
            return TRUE;
        case IDOK:
        case IDCANCEL:
            EndDialog(dlg, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK linkProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LinkDialog *d = (LinkDialog *)GetWindowLongPtrA(dlg, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        d = (LinkDialog *)lParam;
        std::string stored;
        if (*d->link) {
            MemLock<char> p(*d->link);
            stored.assign(p.get(), strnlen(p.get(), utHandleSize(*d->link)));
        }
        std::string full = stored;
        MemHandle resolved = stored.empty() ? 0 : docResolveFileName(d->workspace, stored.c_str());
        if (resolved) {
            MemLock<char> p(resolved);
            full = p.get();
        }
        utFreeHandle(resolved);
        SetDlgItemTextA(dlg, 101, full.c_str());
        refreshRelative(dlg, d);
        for (const auto &o : kLinkOptions)
            CheckDlgButton(dlg, o.id, (*d->flags & o.flag) ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dlg, 110, g_linkRelative ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 101:
            if (HIWORD(wParam) == EN_CHANGE && d)
                refreshRelative(dlg, d);
            return TRUE;
        case 100: {
            char path[MAX_PATH * 2] = "";
            std::string typed = dlgText(dlg, 101);
            if (!typed.empty())
                utStrCopyN(path, typed.c_str(), sizeof path);
            else if (!d->folder.empty() && utCheckDirPath(d->folder.c_str()))
                utStrCopyN(path, d->folder.c_str(), sizeof path);
            if (winOpenFileDlg(dlg, "Select Database", path, "xdb",
                               "RV Database (*.xdb)\0*.xdb\0")) {
                SetDlgItemTextA(dlg, 101, path);
                refreshRelative(dlg, d);
            }
            return TRUE;
        }
        case 116:
            SetDlgItemTextA(dlg, 101, "");
            SetDlgItemTextA(dlg, 111, "");
            return TRUE;
        case 120:
            utHelpKeyword(dlg, "Database Link");
            return TRUE;
        case 300:
            if (dlgText(dlg, 101).empty())
                utErrorBox(dlg, "Must select a database before you can define the advanced data.");
            else
                fldViewDbLinkExt(dlg);
            return TRUE;
        case IDOK: {
            g_linkRelative = IsDlgButtonChecked(dlg, 110) == BST_CHECKED;
            std::string link = trimRight(dlgText(dlg, g_linkRelative ? 111 : 101));
            if (link.empty() && g_linkRelative)
                link = trimRight(dlgText(dlg, 101));   // no folder to be relative to
            utFreeHandle(*d->link);
            *d->link = link.empty() ? 0 : utHandleFromString(link.c_str());
            if (link.empty())
                *d->block = utFreeHandle(*d->block);
            for (const auto &o : kLinkOptions) {
                if (IsDlgButtonChecked(dlg, o.id) == BST_CHECKED)
                    *d->flags |= o.flag;
                else
                    *d->flags &= ~o.flag;
            }
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

LinkDialog *g_openLink = nullptr;

// ---- number format -------------------------------------------------------------------------

const struct {
    const char *text;
    uint8_t style;
} kStyles[] = {{"Integer", 1},     {"#,###,###", 6},   {"m.n", 3},      {"#,###.00", 5},
               {"#,###.00 RN", 11}, {"#,###.00 PN", 12}, {"#.###,00", 10}, {"E+00", 4}};
const char *const kMarks[] = {"None", "$", "#", "*", "~", "%"};

struct FormatDialog {
    uint32_t word;
    bool ready = false;
};

int selectedRow(HWND dlg, int id)
{
    LRESULT r = SendDlgItemMessageA(dlg, id, LB_GETCURSEL, 0, 0);
    return r == LB_ERR ? -1 : (int)r;
}

// Rebuilds the word from the controls; false (silently, or after the
// decimals message) when the decimals do not read.
bool rebuild(HWND dlg, FormatDialog *d)
{
    int row = selectedRow(dlg, 101);
    uint8_t style = row >= 0 ? kStyles[row].style : 0;
    int prefix = selectedRow(dlg, 104), suffix = selectedRow(dlg, 105);
    bool own = style == 3 || style == 4 || style == 5;
    int decimals = style == 1 || style == 2 ? 0 : 2;
    if (own) {
        std::string text = dlgText(dlg, 102);
        char *end = nullptr;
        long v = strtol(text.c_str(), &end, 10);
        if (text.empty() || end == text.c_str() || *end)
            return false;
        if (v < 0 || v > (long)NUM_MAX_DECIMALS) {
            // Only 0 to 24 decimals fit their byte of the word.
            char message[64];
            snprintf(message, sizeof message, "The decimal digits mut not exceed %d.",
                     (int)NUM_MAX_DECIMALS);
            utErrorBox(dlg, message);
            SendDlgItemMessageA(dlg, 102, EM_SETSEL, 0, -1);
            SetFocus(GetDlgItem(dlg, 102));
            return false;
        }
        decimals = (int)v;
    } else {
        SetDlgItemInt(dlg, 102, (UINT)decimals, FALSE);
    }
    EnableWindow(GetDlgItem(dlg, 102), own);
    EnableWindow(GetDlgItem(dlg, 103), own);
    d->word = fldBuildNumFormat(style, decimals, (uint8_t)(prefix < 0 ? 0 : prefix),
                                (uint8_t)(suffix < 0 ? 0 : suffix));
    char sample[64];
    numFormatValue(sample, sizeof sample, 1234, d->word);
    SetDlgItemTextA(dlg, 106, sample);
    return true;
}

INT_PTR CALLBACK formatProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    FormatDialog *d = (FormatDialog *)GetWindowLongPtrA(dlg, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        d = (FormatDialog *)lParam;
        uint32_t w = d->word;
        SetDlgItemInt(dlg, 102, (w & 0xFF) == 0 ? 2u : (w >> 8) & 0xFF, FALSE);
        for (const auto &s : kStyles)
            SendDlgItemMessageA(dlg, 101, LB_ADDSTRING, 0, (LPARAM)s.text);
        for (int list : {104, 105})
            for (const char *m : kMarks)
                SendDlgItemMessageA(dlg, list, LB_ADDSTRING, 0, (LPARAM)m);
        for (size_t i = 0; i < sizeof kStyles / sizeof kStyles[0]; ++i)
            if (kStyles[i].style == (w & 0xFF))
                SendDlgItemMessageA(dlg, 101, LB_SETCURSEL, i, 0);
        uint8_t prefix = (uint8_t)(w >> 24), suffix = (uint8_t)(w >> 16);
        if (prefix <= 5)
            SendDlgItemMessageA(dlg, 104, LB_SETCURSEL, prefix, 0);
        if (suffix <= 5)
            SendDlgItemMessageA(dlg, 105, LB_SETCURSEL, suffix, 0);
        d->ready = true;
        rebuild(dlg, d);
        return TRUE;
    }
    case WM_VSCROLL:
        if ((HWND)lParam == GetDlgItem(dlg, 103) && d && IsWindowEnabled((HWND)lParam)) {
            int step = LOWORD(wParam) == SB_LINEUP ? 1 : LOWORD(wParam) == SB_LINEDOWN ? -1 : 0;
            if (step) {
                BOOL ok = FALSE;
                int v = (int)GetDlgItemInt(dlg, 102, &ok, TRUE);
                v = ok ? v + step : 0;
                v = v < 0 ? 0 : v > (int)NUM_MAX_DECIMALS ? (int)NUM_MAX_DECIMALS : v;
                SetDlgItemInt(dlg, 102, (UINT)v, TRUE);
                rebuild(dlg, d);
            }
            return TRUE;
        }
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 101:
        case 104:
        case 105:
            if (HIWORD(wParam) == LBN_SELCHANGE && d && d->ready)
                rebuild(dlg, d);
            return TRUE;
        case 107:
            utHelpKeyword(dlg, "Numeric Format Dialog Box");
            return TRUE;
        case IDOK:
            if (rebuild(dlg, d))
                EndDialog(dlg, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

MemHandle fldMakeValidationRule(const char *first, const char *second)
{
    size_t len1 = first ? strlen(first) : 0, len2 = second ? strlen(second) : 0;
    if (len1 == 0 || len1 > 0x7FFF || len2 > 0x7FFF)
        return 0;
    std::string item(kRuleHead + len1 + len2, '\0');
    uint8_t *p = reinterpret_cast<uint8_t *>(&item[0]);
    utPutAt<uint32_t>(p, 0, (uint32_t)item.size());
    utPutAt<uint16_t>(p, 10, (uint16_t)len1);
    utPutAt<uint16_t>(p, 12, (uint16_t)len2);
    memcpy(p + kRuleHead, first, len1);
    if (len2)
        memcpy(p + kRuleHead + len1, second, len2);
    MemHandle list = rcItemListAppend(0, p, (uint32_t)item.size());
    if (list)
        rcItemListSetKind(list, FLD_VALIDATION_KIND);
    return list;
}

BOOL fldReadValidationRule(MemHandle rule, char *first, uint32_t firstSize, char *second,
                           uint32_t secondSize)
{
    if (first && firstSize)
        first[0] = '\0';
    if (second && secondSize)
        second[0] = '\0';
    if (!rule || rcItemListCount(rule) < 1)
        return FALSE;
    uint8_t *item = rcItemListLockItem(rule, 0);
    if (!item)
        return FALSE;
    // The texts are taken by their stored lengths, bounded by the item.
    uint32_t size = utGetAt<uint32_t>(item, 0);
    uint32_t len1 = size >= kRuleHead ? utGetAt<uint16_t>(item, 10) : 0;
    uint32_t len2 = size >= kRuleHead ? utGetAt<uint16_t>(item, 12) : 0;
    bool ok = size >= kRuleHead && (uint64_t)kRuleHead + len1 + len2 <= size && len1 > 0;
    if (ok) {
        auto copy = [](char *out, uint32_t outSize, const uint8_t *src, uint32_t n) {
            if (!out || !outSize)
                return;
            uint32_t k = n < outSize - 1 ? n : outSize - 1;
            memcpy(out, src, k);
            out[k] = '\0';
        };
        copy(first, firstSize, item + kRuleHead, len1);
        copy(second, secondSize, item + kRuleHead + len1, len2);
    }
    utUnlock(rule);
    return ok;
}

int fldEditValidation(HWND parent, MemHandle *rule)
{
    if (!rule)
        return IDCANCEL;
    return (int)DialogBoxParamA(GetModuleHandleA(nullptr), "efvalid", parent, validationProc,
                                (LPARAM)rule);
}

int fldEditDbLink(HWND parent, HWND workspace, MemHandle *link, MemHandle *block, uint32_t *flags)
{
    if (!link || !block || !flags)
        return IDCANCEL;
    LinkDialog d = {workspace, link, block, flags, documentFolder(workspace)};
    LinkDialog *outer = g_openLink;
    g_openLink = &d;
    int result = (int)DialogBoxParamA(GetModuleHandleA(nullptr), "dblink", parent, linkProc,
                                      (LPARAM)&d);
    g_openLink = outer;
    return result;
}

int fldViewDbLinkExt(HWND dialog)
{
    return (int)DialogBoxParamA(GetModuleHandleA(nullptr), "dblinkExt", dialog, linkExtProc,
                                (LPARAM)g_openLink);
}

int fldEditNumFormat(HWND parent, uint32_t *format)
{
    if (!format)
        return IDCANCEL;
    FormatDialog d;
    d.word = *format;
    int result = (int)DialogBoxParamA(GetModuleHandleA(nullptr), "Fmt", parent, formatProc,
                                      (LPARAM)&d);
    if (result == IDOK)
        *format = d.word;
    return result;
}

uint32_t fldBuildNumFormat(uint8_t style, int decimals, uint8_t prefix, uint8_t suffix)
{
    if (style == 1 || style == 2)
        decimals = 0;
    else if (style != 3 && style != 4 && style != 5)
        decimals = 2;
    if (decimals < 0)
        decimals = 0;
    if (decimals > (int)NUM_MAX_DECIMALS)
        decimals = NUM_MAX_DECIMALS;
    return style | (uint32_t)decimals << 8 | (uint32_t)suffix << 16 | (uint32_t)prefix << 24;
}
