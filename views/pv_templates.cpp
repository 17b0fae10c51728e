// Page templates: the collection of template documents, the Template page
// of the page layout sheet and the template chooser.
#include "views/pv_templates.h"
#include "forms/lbl_source.h"
#include "library/olb_file.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/qmf_read.h"
#include "model/setup_record.h"
#include "support/ff_file.h"
#include "support/rc_list.h"
#include "support/settings_reg.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_filedlg.h"
#include <commctrl.h>
#include <shellapi.h>
#include <prsht.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

enum {
    kNames = 101,
    kGrid = 102,
    kPath = 103,
    kAdd = 110,
    kRemove = 111,
    kBlank = 119,
    kNoMore = 120,
    kHelp = 130,
};

const char kFilter[] = "QM Page Template (*.fav)\0*.fav\0";

struct TemplateState {
    MemHandle env = 0;              // the collection, while the frame lives
    std::string chosenName;         // kept between runs of the page
    std::string chosenPath;
    int pickedPage = -1;            // the page picked in the grid
    MemHandle result = 0;           // the page taken on OK
    int code = 0;                   // the chooser's result code
};
TemplateState g;

std::string packetText(MemHandle record)
{
    if (!record)
        return std::string();
    MemLock<char> p(record);
    uint32_t size = utHandleSize(record);
    if (!p || size <= 4)
        return std::string();
    return std::string(p.get() + 4, strnlen(p.get() + 4, size - 4));
}

bool fileExists(const char *path)
{
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Seeds a new collection from the control file of the home folder.
void seedCollection(HWND frame)
{
    char control[MAX_PATH];
    setGetHomeFilePath(control, "~qmtmpl.dat");
    if (!fileExists(control)) {
        utMessageBox(frame, "You are missing a template control file.  It is still OK to continue",
                     MB_OK | MB_ICONINFORMATION);
        return;
    }
    MemHandle items = lblReadSectionItems(frame, control, "defaulttmpl", '\n');
    for (const std::string &item : rcListItems(items, '\n')) {
        size_t sep = item.find("::");
        if (item.empty() || sep == std::string::npos)
            continue;
        char path[MAX_PATH];
        setGetHomeFilePath(path, item.substr(sep + 2).c_str());
        if (fileExists(path))
            tmplAddPath(frame, item.substr(0, sep).c_str(), path);
    }
    utFreeHandle(items);
}

// The list of short names; files that no longer exist are named in one
// message (at most seven of them).
void fillNames(HWND dlg)
{
    HWND list = GetDlgItem(dlg, kNames);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    if (!g.env)
        return;
    olbFillListFromEnv(dlg, g.env, list);
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    std::string missing;
    int missed = 0;
    for (int i = 0; i < count; ++i) {
        char name[64] = "";
        SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)name);
        char path[MAX_PATH];
        if (tmplGetPath(name, path, sizeof(path)) && !fileExists(path) && missed++ < 7) {
            missing += path;
            missing += "\r\n";
        }
    }
    if (missed) {
        char head[32];
        snprintf(head, sizeof(head), "Template%s", " file(s) not found: \r\n");
        utErrorBox(dlg, (head + missing).c_str());
    }
    if (!g.chosenName.empty())
        SendMessageA(list, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)g.chosenName.c_str());
}

void showChosen(HWND dlg)
{
    HWND list = GetDlgItem(dlg, kNames);
    LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
    char name[64] = "", path[MAX_PATH] = "";
    if (sel != LB_ERR)
        SendMessageA(list, LB_GETTEXT, (WPARAM)sel, (LPARAM)name);
    g.pickedPage = -1;
    if (!*name || !tmplGetPath(name, path, sizeof(path))) {
        g.chosenPath.clear();
        SetDlgItemTextA(dlg, kPath, "");
        return;
    }
    g.chosenName = name;
    g.chosenPath = path;
    SetDlgItemTextA(dlg, kPath, path);
}

// Adds a document file to the collection under its file name (without
// folder and extension); a file that is not a document is refused.
bool addTemplateFile(HWND dlg, const char *path)
{
    if (!qmfIsWholeDocument(path)) {
        char text[MAX_PATH + 64];
        snprintf(text, sizeof(text), "Can not add \r\n%s \r\nbecause it is not a Quillmark file.",
                 path);
        utMessageBox(dlg, text, MB_OK | MB_ICONSTOP);
        return false;
    }
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    if (name.size() >= OLB_NAME_SIZE)
        name.resize(OLB_NAME_SIZE - 1);
    if (!tmplAddPath(dlg, name.c_str(), path))
        return false;
    g.chosenName = name;
    return true;
}

void addTemplate(HWND dlg)
{
    char path[MAX_PATH] = "";
    if (!winOpenFileDlg(dlg, "Select a Template File", path, "qm",
                        "Quillmark Files (*.qm)|*.qm|All Files (*.*)|*.*|"))
        return;
    if (addTemplateFile(dlg, path)) {
        fillNames(dlg);
        showChosen(dlg);
    }
}

// Files dropped on the page or the chooser are added one by one.
void dropTemplates(HWND dlg, HDROP drop)
{
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    bool added = false;
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH] = "";
        if (DragQueryFileA(drop, i, path, sizeof(path)))
            added = addTemplateFile(dlg, path) || added;
    }
    DragFinish(drop);
    if (added) {
        fillNames(dlg);
        showChosen(dlg);
    }
}

void removeTemplate(HWND dlg)
{
    HWND list = GetDlgItem(dlg, kNames);
    LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (sel == LB_ERR || !g.env)
        return;
    char name[64] = "";
    SendMessageA(list, LB_GETTEXT, (WPARAM)sel, (LPARAM)name);
    char text[160];
    snprintf(text, sizeof(text), "Are you sure you want to remove [ %s ] from the collection?",
             name);
    if (utMessageBox(dlg, text, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    if (olbDeleteObject(dlg, g.env, name) == 0)
        SendMessageA(list, LB_DELETESTRING, (WPARAM)sel, 0);
    if (g.chosenName == name)
        g.chosenName.clear();
    showChosen(dlg);
}

// The picked page of the chosen document, taken out of it.
MemHandle takePickedPage(HWND owner)
{
    if (g.chosenPath.empty() || g.pickedPage < 0)
        return 0;
    MemHandle page = 0;
    MemHandle form = qmfOpenDocument(owner, g.chosenPath.c_str(), g.pickedPage, &page);
    if (!form)
        return 0;
    if (page)
        pgDirClearPages(form, g.pickedPage);
    fmFree(form);
    return page;
}

// What the Template page and the chooser share; TRUE when handled.
BOOL sharedCommand(HWND dlg, int id, int code, LPARAM lParam)
{
    switch (id) {
    case kNames:
        if (code == LBN_SELCHANGE)
            showChosen(dlg);
        return TRUE;
    case kGrid:
        if (code == STN_CLICKED)
            SetFocus(GetDlgItem(dlg, kGrid));
        return TRUE;
    case kAdd:
        addTemplate(dlg);
        return TRUE;
    case kRemove:
        removeTemplate(dlg);
        return TRUE;
    case TMPL_PAGE_PICKED:
        g.pickedPage = (int)lParam;
        return TRUE;
    }
    return FALSE;
}

// The chooser's check box "do not show again", asked about when checked.
void applyNoMore(HWND dlg)
{
    if (IsDlgButtonChecked(dlg, kNoMore) != BST_CHECKED)
        return;
    if (utMessageBox(dlg,
                     "Are you sure you don't want this template selection dialog in the future? "
                     "(You can put it back in the future by selecting the Environment command in "
                     "the Preference menu.)",
                     MB_YESNO | MB_ICONQUESTION) == IDYES)
        setPutOptionBit5(FALSE);
}

}  // namespace

int tmplOpenCollection(HWND frame, const char *path)
{
    tmplCloseCollection();
    g.env = olbCreateEnv(frame, OLB_ENV_FLAGS, 0, kOlbKindFileList, kFilter, "fav", path);
    if (!g.env)
        return 0;
    if (!fileExists(path)) {
        if (!olbCreateFile(frame, g.env, path)) {
            olbFreeEnv(g.env);
            g.env = 0;
            return 0;
        }
        seedCollection(frame);
    }
    return 1;
}

void tmplCloseCollection()
{
    if (g.env)
        olbFreeEnv(g.env);
    g.env = 0;
    g.chosenName.clear();
    g.chosenPath.clear();
    g.pickedPage = -1;
    pgFreeList(g.result);
    g.result = 0;
}

int tmplListNames(char *buffer, int size)
{
    if (size <= 0)
        return 0;
    *buffer = '\0';
    if (!g.env)
        return 0;
    MemHandle index = olbReadIndex(nullptr, g.env);
    if (!index)
        return 0;
    std::string names;
    {
        MemLock<uint8_t> p(index);
        const OlbIndexHead *head = reinterpret_cast<const OlbIndexHead *>(p.get());
        const OlbIndexEntry *entries =
            reinterpret_cast<const OlbIndexEntry *>(p.get() + OLB_HEAD_SIZE);
        uint32_t slots = (utHandleSize(index) - OLB_HEAD_SIZE) / OLB_ENTRY_SIZE;
        (void)head;
        for (uint32_t i = 0; i < slots; ++i) {
            if (!olbIsLiveEntry(&entries[i]))
                continue;
            char name[OLB_NAME_SIZE + 1] = "";
            olbGetEntryName(p.get(), (int32_t)i, name, sizeof(name));
            names += name;
            names += '\n';
        }
    }
    utFreeHandle(index);
    lstrcpynA(buffer, names.c_str(), size);
    return (int)strlen(buffer);
}

BOOL tmplGetPath(const char *name, char *path, int size)
{
    if (size > 0)
        *path = '\0';
    if (!g.env || !name || !*name)
        return FALSE;
    UtQuietBoxes quiet;
    MemHandle record = olbLoadObject(nullptr, g.env, name);
    std::string text = packetText(record);
    utFreeHandle(record);
    if (text.empty())
        return FALSE;
    lstrcpynA(path, text.c_str(), size);
    return TRUE;
}

BOOL tmplAddPath(HWND owner, const char *name, const char *path)
{
    if (!g.env || !name || !*name || !path || !*path)
        return FALSE;
    MemHandle packet = utMakeStringPacket(path);
    BOOL ok = packet && olbStoreObject(owner, g.env, packet, name);
    utFreeHandle(packet);
    return ok;
}

void tmplBeginSheet()
{
    pgFreeList(g.result);
    g.result = 0;
    g.pickedPage = -1;
}

MemHandle tmplEndSheet()
{
    MemHandle page = g.result;
    g.result = 0;
    return page;
}

BOOL tmplApplyPage(HWND dlg)
{
    pgFreeList(g.result);
    g.result = takePickedPage(dlg);
    return TRUE;
}

INT_PTR CALLBACK tmplPageProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        DragAcceptFiles(dlg, TRUE);
        fillNames(dlg);
        showChosen(dlg);
        return TRUE;
    case WM_DROPFILES:
        dropTemplates(dlg, (HDROP)wParam);
        return TRUE;
    case WM_COMMAND:
        sharedCommand(dlg, LOWORD(wParam), HIWORD(wParam), lParam);
        // A page picked in the grid ends the sheet as OK does.
        if (LOWORD(wParam) == TMPL_PAGE_PICKED)
            PostMessageA(GetParent(dlg), PSM_PRESSBUTTON, PSBTN_OK, 0);
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR *hdr = reinterpret_cast<const NMHDR *>(lParam);
        switch (hdr->code) {
        case PSN_SETACTIVE:
        case PSN_KILLACTIVE:
            SetWindowLongPtrA(dlg, DWLP_MSGRESULT, 0);
            return TRUE;
        case PSN_HELP:
            utHelpKeyword(dlg, "Template");
            return TRUE;
        case PSN_APPLY:
            if ((HWND)SendMessageA(GetParent(dlg), PSM_GETCURRENTPAGEHWND, 0, 0) == dlg)
                tmplApplyPage(dlg);
            SetWindowLongPtrA(dlg, DWLP_MSGRESULT, PSNRET_NOERROR);
            return TRUE;
        }
        return FALSE;
    }
    }
    return FALSE;
}

INT_PTR CALLBACK tmplSelectDlgProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        DragAcceptFiles(dlg, TRUE);
        fillNames(dlg);
        showChosen(dlg);
        return TRUE;
    case WM_DROPFILES:
        dropTemplates(dlg, (HDROP)wParam);
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (sharedCommand(dlg, id, HIWORD(wParam), lParam) && id != TMPL_PAGE_PICKED)
            return TRUE;
        switch (id) {
        case TMPL_PAGE_PICKED:
        case IDOK:
            applyNoMore(dlg);
            pgFreeList(g.result);
            g.result = takePickedPage(dlg);
            g.code = 2;
            EndDialog(dlg, IDOK);
            return TRUE;
        case kBlank:
            applyNoMore(dlg);
            g.code = 1;
            EndDialog(dlg, kBlank);
            return TRUE;
        case IDCANCEL:
            applyNoMore(dlg);
            g.code = 0;
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        case kHelp:
            utHelpKeyword(dlg, "Template");
            return TRUE;
        }
        return FALSE;
    }
    }
    return FALSE;
}

MemHandle tmplSelectDialog(HWND ws, int *code)
{
    tmplBeginSheet();
    g.code = 0;
    DialogBoxParamA(GetModuleHandleA(nullptr), "PAGE_TMPL_SEL", ws, tmplSelectDlgProc, 0);
    if (code)
        *code = g.code;
    return tmplEndSheet();
}
