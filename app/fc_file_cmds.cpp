#include "app/fc_file_cmds.h"
#include "app/app_frame.h"
#include "app/app_frame_docs.h"
#include "support/app_frame_globals.h"
#include "app/fc_autosave.h"
#include "model/qmf_save.h"
#include "support/settings_reg.h"
#include "model/setup_record.h"
#include "commands/ud_undo.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/qmf_pages.h"
#include "model/qmf_read.h"
#include "resources/resource.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "support/ut_recent.h"
#include "support/win_filedlg.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

// The untitled counter: 1 at start, raised by a Save As that started from
// the untitled name.
uint32_t g_untitled = 1;

const char kUntitledFormat[] = "qmDoc%d.qm";
const char kOpenFailed[] = "Unexpected end of file encountered";

// Whether the first new document may take the next file opened: 0 before
// any new document, 1 while the first one is remembered as untouched, 2
// once a file was opened (into it or not).
int g_reuse = 0;

// A new document window, or one showing the document of a path (in the
// untouched first new document when that is still empty and unchanged).
HWND newDocumentWindow(HWND frame, const char *path, uint32_t openFlags = 0)
{
    return dwOpenDocument(frame, wsClassName, path, -1, openFlags, &g_reuse, FALSE, 0);
}

void rememberFolderAndName(const char *path)
{
    char folder[UT_PATH_SIZE], name[UT_PATH_SIZE];
    utSplitFolderName(path, folder, name);
    setPutLastFolder(folder);
    setPutLastFileName(name);
}

std::string takeText(MemHandle h)
{
    std::string text;
    if (h) {
        uint32_t size = utHandleSize(h);
        MemLock<char> p(h);
        if (p)
            text.assign(p.get(), strnlen(p.get(), size));
    }
    utFreeHandle(h);
    return text;
}

// The extension of the path's file-name part, with its point ("" when none).
std::string extensionOf(const char *path)
{
    char ext[UT_PATH_SIZE];
    utSplitPath(path, nullptr, nullptr, nullptr, ext);
    return ext;
}

HWND frameOf(HWND ws)
{
    HWND frame = appGetFrameWindow();
    return frame ? frame : GetParent(ws);
}

// Whether a document window other than the workspace's own shows a
// document of this path.
bool openElsewhere(HWND ws, const char *path)
{
    HWND frame = appGetFrameWindow();
    if (!frame || !path || !*path)
        return false;
    char other[UT_PATH_SIZE];
    for (HWND doc : appListDocWindows(frame)) {
        HWND w = dwGetWorkspace(doc);
        if (w && w != ws && wsGetDocPath(w, other) && lstrcmpiA(other, path) == 0)
            return true;
    }
    return false;
}

uint16_t formOptions(HWND ws) { return fmGetOptions(wsGetDocument(ws)); }

// Whether an object tree holds an object of the type.
bool treeHoldsType(MemHandle object, int16_t type)
{
    std::vector<MemHandle> all;
    obCollectTree(object, ~0u, all);
    for (MemHandle h : all)
        if (obGetType(h) == type)
            return true;
    return false;
}

bool listHoldsType(MemHandle first, int16_t type)
{
    for (MemHandle h = first; h; h = obGetNext(h))
        if (treeHoldsType(h, type))
            return true;
    return false;
}

// The pages of the document (not its base page) searched from the first
// for a Button; pages read only for the search are let go again.
bool documentHoldsButton(HWND ws, MemHandle form)
{
    int count = fmGetPageCount(form);
    int current = pvGetCurrentPageIndex(ws);
    MemHandle dir = fmGetDirectory(form);
    for (int i = 0; i < count; ++i) {
        bool loaded = pgDirGetPages(dir, i) != 0;
        MemHandle page = loaded ? pgDirGetPages(dir, i) : pgDirEnsureLoaded(ws, dir, i);
        bool found = page && listHoldsType(pgGetFirstObject(page), OBT_BUTTON);
        if (!loaded && i != current && page)
            pgDropEntryPages(ws, i);
        if (found)
            return true;
    }
    return false;
}

void saveOptionPrompt(HWND ws, MemHandle form)
{
    if (!fmNeedsSaveOptionPrompt(form))
        return;
    if (!documentHoldsButton(ws, form) ||
        DialogBoxParamA(GetModuleHandleA(nullptr), "nosavebtn", ws, SaveOptionDlgProc, 0) > 0)
        fmSetSaveOptionDue(form, FALSE);
}

}  // namespace

// ---- names ---------------------------------------------------------------------------

char *fcMakeUntitledName(char *buffer, const char *folder)
{
    char name[32];
    snprintf(name, sizeof(name), kUntitledFormat, (int)g_untitled);
    return utJoinPath(buffer, folder ? folder : "", name);
}

uint32_t fcGetUntitledCounter() { return g_untitled; }

char *fcGetQuickNoteFolder(char *buffer)
{
    if (setGetString("QuickNotePath", buffer) > 0 && buffer[0])
        return buffer;
    char home[UT_PATH_SIZE];
    return utJoinPath(buffer, setGetHomeDir(home), "QuickNote");
}

int fcMakeQuickNoteName(char *buffer)
{
    buffer[0] = 0;
    char folder[UT_PATH_SIZE];
    fcGetQuickNoteFolder(folder);
    if (!ffIsFolder(folder) && !CreateDirectoryA(folder, nullptr))
        return 0;
    SYSTEMTIME t;
    GetLocalTime(&t);
    char stem[32];
    snprintf(stem, sizeof(stem), "%04d%02d%02d_%02d%02d%02d", t.wYear, t.wMonth, t.wDay, t.wHour,
             t.wMinute, t.wSecond);
    for (int n = 1; n < 100000; ++n) {
        char name[64], path[UT_PATH_SIZE];
        snprintf(name, sizeof(name), "%s_%d.qm", stem, n);
        utJoinPath(path, folder, name);
        if (!ffExists(path)) {
            utStrCopyN(buffer, path, UT_PATH_SIZE);
            return 1;
        }
    }
    return 0;
}

// ---- new documents and opening ---------------------------------------------------------

HWND fcNewDocument(HWND frame)
{
    return newDocumentWindow(frame, nullptr, DW_OPEN_ASK_FIRST_PAGE);
}
HWND fcNewDocumentDefaultPage(HWND frame) { return newDocumentWindow(frame, nullptr); }

HWND fcNewQuickNote(HWND frame)
{
    char name[UT_PATH_SIZE];
    fcMakeQuickNoteName(name);
    HWND doc = fcNewDocumentDefaultPage(frame);
    HWND ws = dwGetWorkspace(doc);
    if (!ws)
        return doc;
    wsSetQuickNote(ws, TRUE);
    if (name[0]) {
        wsSetDocPath(ws, name);
        dwUpdateTitle(doc);
        utAddRecentFile(name);
    }
    return doc;
}

HWND fcOpenDocument(HWND frame, const char *path)
{
    if (!path || !*path)
        return nullptr;
    HWND doc = appActivateDocWindowByFile(frame, path);
    if (!doc)
        doc = newDocumentWindow(frame, path);
    if (doc)
        rememberFolderAndName(path);
    return doc;
}

HWND fcOpenDocumentFromHandle(HWND frame, MemHandle path)
{
    std::string text = takeText(path);
    return fcOpenDocument(frame, text.c_str());
}

namespace {

// The page of a name: the first page with that name, else a page number
// (1 the first); -1 for neither.
int pageOfName(HWND ws, const std::string &name)
{
    int index = pgDirFind(ws, name.c_str());
    if (index >= 0)
        return index;
    if (name.empty() || name.size() > 5 || name.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return atoi(name.c_str()) - 1;
}

// Shows the page of the name in the workspace, the current page stored
// and let go first; a number past the last page is reported.
void showPageOfName(HWND ws, std::string name)
{
    size_t from = name.find_first_not_of(" \t\r");
    size_t to = name.find_last_not_of(" \t\r");
    name = from == std::string::npos ? std::string() : name.substr(from, to - from + 1);
    int index = pageOfName(ws, name);
    if (index < 0 || index == pvGetCurrentPageIndex(ws))
        return;
    if (index >= pvGetPageCount(ws)) {
        pvGoToPage(ws, index);   // "Can not open page %d"
        return;
    }
    wsSendLeaveMode(ws, 1);
    pvLeavePage(ws);
    if (!pvGoToPage(ws, index))
        pvGoToPage(ws, 0);
    InvalidateRect(ws, nullptr, TRUE);
}

}  // namespace

HWND fcOpenDocumentAtPage(HWND frame, MemHandle text)
{
    std::string s = takeText(text);
    std::string page;
    size_t lf = s.find('\n');
    if (lf != std::string::npos) {
        page = s.substr(lf + 1);
        s.resize(lf);
    }
    HWND doc = fcOpenDocument(frame, s.c_str());
    if (doc && !page.empty())
        showPageOfName(dwGetWorkspace(doc), page);
    return doc;
}

HWND fcOpenRecentFile(HWND frame, int command)
{
    return fcOpenDocumentFromHandle(frame, utGetRecentFileByCommand(command));
}

BOOL fcOpenFileDialog(HWND owner, const char *caption, char *path)
{
    char filter[128];
    fcGetDocFilter(filter, sizeof(filter));
    return winOpenFileDlg(owner, caption, path, "qm", filter);
}

HWND fcOpenCommand(HWND frame, const char *startPath)
{
    char path[UT_PATH_SIZE];
    utStrCopyN(path, startPath ? startPath : "", sizeof(path));
    if (!fcOpenFileDialog(frame, "Open File", path))
        return nullptr;
    return fcOpenDocument(frame, path);
}

// ---- the save worker ---------------------------------------------------------------------

int fcCheckSaveName(HWND ws, const char *path)
{
    if (!path)
        return FC_NAME_OK;
    if (openElsewhere(ws, path))
        return FC_NAME_OPEN;
    std::string ext = extensionOf(path);
    if (lstrcmpiA(ext.c_str(), ".exe") == 0 || lstrcmpiA(ext.c_str(), ".dll") == 0)
        return FC_NAME_PROGRAM;
    if (lstrcmpiA(ext.c_str(), ".tmp") == 0 && fcIsBackupName(path))
        return FC_NAME_AUTOSAVE;
    return FC_NAME_OK;
}

void fcSaveNameMessage(int code, const char *path, char *out, int size)
{
    switch (code) {
    case FC_NAME_OPEN:
        snprintf(out, (size_t)size,
                 "Can not save to \r\n%s \r\n because the file is currently opened.\r\n "
                 "Please select another file name.",
                 path);
        break;
    case FC_NAME_PROGRAM:
        snprintf(out, (size_t)size, "Can not save with .exe nor .dll file extension");
        break;
    case FC_NAME_AUTOSAVE:
        snprintf(out, (size_t)size, "%s has been used as an auto-save file", path);
        break;
    default:
        if (size > 0)
            out[0] = 0;
    }
}

MemHandle fcHideTransientLast(MemHandle page)
{
    MemHandle last = pgGetLastObject(page);
    if (!last || !(obGetFlags(last) & FC_TRANSIENT_FLAG))
        return 0;
    MemHandle prev = obGetPrev(last);
    if (prev)
        obSetNext(prev, 0);
    else
        pgSetFirstObject(page, 0);   // the only object: the list starts empty
    obSetPrev(last, 0);
    return last;
}

void fcRestoreTransientLast(MemHandle page, MemHandle object)
{
    if (!object)
        return;
    MemHandle last = pgGetLastObject(page);
    if (last)
        obLinkPair(last, object);
    else
        pgSetFirstObject(page, object);
}

int fcWriteDocument(HWND ws, const char *path, BOOL sameFile, BOOL confirmOverwrite)
{
    if (!ws || !path || !*path)
        return 0;
    const bool report = (wsGetViewFlags(ws) & WS_VIEW_RULER_FLAG) != 0;
    char text[UT_PATH_SIZE + 160];
    if (!sameFile) {
        int code = fcCheckSaveName(ws, path);
        if (code != FC_NAME_OK) {
            fcSaveNameMessage(code, path, text, sizeof(text));
            utWarningBox(ws, text);
            return 0;
        }
    } else if (report) {
        utErrorBox(ws, "Can not save to the original file because it is a report file.");
        return 0;
    }
    udDiscard(ws);

    // The transient last object stays out of the file.
    MemHandle transient = fcHideTransientLast(pvGetCurrentPage(ws));
    MemHandle form = pvCommitPage(ws);
    if (!form)
        form = wsGetDocument(ws);
    auto restore = [&]() { fcRestoreTransientLast(pvGetCurrentPage(ws), transient); };
    if (!form) {
        restore();
        return 0;
    }
    saveOptionPrompt(ws, form);

    // A read-only own file is overwritten only when the user agrees; it is
    // made writable for the write and read-only again afterwards, so that
    // the writer does not refuse what the user allowed and the file keeps
    // the attribute the user gave it.
    DWORD readOnlyAttributes = 0;
    if (sameFile && ffExists(path) && ffIsReadOnly(path)) {
        snprintf(text, sizeof(text), "%s \r\nis read-only.  Go ahead and overwrite it?", path);
        if (utMessageBox(ws, text, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
            restore();
            return 0;
        }
        confirmOverwrite = FALSE;
        readOnlyAttributes = GetFileAttributesA(path);
        ffClearReadOnly(path);
    }

    fmSetStyle(form, (uint16_t)(fmGetStyle(form) & ~FM_STYLE_SAVED));
    wsBeginWaitCursor(ws);
    int written = qmfSaveDocument(ws, path, form, confirmOverwrite, TRUE);
    wsEndWaitCursor(ws);
    if (!written && report)
        fmSetStyle(form, (uint16_t)(fmGetStyle(form) | FM_STYLE_SAVED));
    if (readOnlyAttributes && readOnlyAttributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(path, readOnlyAttributes);
    restore();
    return written;
}

// ---- the document commands -------------------------------------------------------------

int fcSaveCommand(HWND ws)
{
    if (!ws || !wsGetDocument(ws))
        return 0;
    udDiscard(ws);
    char path[UT_PATH_SIZE];
    if (!wsGetDocPath(ws, path))
        return fcSaveAsCommand(ws);
    if (wsIsQuickNote(ws)) {
        // The note keeps no path: a later save makes a fresh note name.
        wsSetDocPath(ws, "");
        return fcWriteDocument(ws, path, FALSE, FALSE);
    }
    if ((formOptions(ws) & FM_OPT_FLAG1000) &&
        utMessageBoxId(ws, IDS_SAVE_NEEDS_CONFIRM, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    if (!fcWriteDocument(ws, path, TRUE, FALSE))
        return 0;
    wsClearModified(ws);
    return 1;
}

int fcSaveAsCommand(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    if (!ws || !form)
        return 0;
    char own[UT_PATH_SIZE], name[UT_PATH_SIZE];
    const bool hasPath = wsGetDocPath(ws, own) != 0;
    const bool report = (wsGetViewFlags(ws) & WS_VIEW_RULER_FLAG) != 0;
    bool untitled = false;
    if (hasPath && !report) {
        utStrCopyN(name, own, sizeof(name));
    } else {
        char folder[UT_PATH_SIZE];
        fcMakeUntitledName(name, setGetLastFolder(folder));
        untitled = true;
    }
    char note[UT_PATH_SIZE];
    if (wsIsQuickNote(ws) && fcMakeQuickNoteName(note)) {
        utStrCopyN(name, note, sizeof(name));
    } else {
        char filter[128];
        fcGetDocFilter(filter, sizeof(filter));
        if (!winSaveFileDlg(frameOf(ws), "Save As", name, "qm", filter))
            return 0;
    }
    if (!name[0])
        return 0;
    const BOOL sameFile = hasPath && lstrcmpiA(own, name) == 0;
    if (!fcWriteDocument(ws, name, sameFile, TRUE))
        return 0;
    if (fmIsInRecentList(wsGetDocument(ws)))
        utAddRecentFile(name);
    wsSetDocPath(ws, name);
    rememberFolderAndName(name);
    wsClearModified(ws);
    dwUpdateTitle(wsGetDocWindow(ws));
    if (untitled)
        ++g_untitled;
    return 1;
}

int fcMergeCommand(HWND ws)
{
    MemHandle doc = wsGetDocument(ws);
    if (!ws || !doc)
        return 0;
    HWND frame = frameOf(ws);
    char path[UT_PATH_SIZE];
    setGetLastFolder(path);
    if (!fcOpenFileDialog(frame, "Select a file to merge", path))
        return 0;
    MemHandle merged = qmfReadFormFile(frame, path);
    if (!merged)
        return 0;
    if (!fmAskPassword(frame, merged)) {
        fmFree(merged);
        return 0;
    }
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, FALSE);
    if (f == INVALID_HANDLE_VALUE) {
        utErrorBox(ws, kOpenFailed);
    } else {
        MemHandle dir = fmGetDirectory(merged);
        const int count = fmGetPageCount(merged);
        for (int i = 0; i < count; ++i) {
            MemHandle page = qmfReadEntryPage(f, size, dir, i);
            if (page && pgDirAppend(doc, page) < 0)
                pgFreeList(page);
        }
        ffClose(f);
    }
    fmFree(merged);   // its base page goes with it
    if (wsGetScrollStyle(ws) == 2)
        wsBuildPageRects(ws);
    wsMarkModified(ws);
    dwUpdateTitle(wsGetDocWindow(ws));
    InvalidateRect(ws, nullptr, TRUE);
    return 1;
}

int fcReloadDocument(HWND ws)
{
    if (!ws || !wsGetDocument(ws))
        return 0;
    char path[UT_PATH_SIZE];
    if (!wsGetDocPath(ws, path)) {
        utMessageBox(ws, "File not saved.  Can not reload.", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    MemHandle page = 0;
    MemHandle form = qmfOpenDocument(ws, path, 0, &page);
    if (!form) {
        utErrorBox(ws, "Reload failed.");
        return 0;
    }
    wsSendLeaveMode(ws, 1);
    wsSetCurrentObject(ws, 0);
    HWND doc = wsGetDocWindow(ws);
    if (doc) {
        dwAttachDocument(doc, form);   // the old document is released there
    } else {
        pvReleaseDocument(ws);
        wsSetDocument(ws, form);
        pvGoToPage(ws, 0);
    }
    wsClearModified(ws);
    PostMessageA(ws, WM_COMMAND, WS_CMD_BACK_TO_SELECT, 0);
    PostMessageA(ws, WM_COMMAND, 216, 0);
    return 1;
}

// ---- the Save Option dialog ----------------------------------------------------------------

INT_PTR CALLBACK SaveOptionDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        EndDialog(dialog, 1);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case FC_SAVE_OPTION_HELP:
        utHelpKeyword(dialog, "Save Option");
        return TRUE;
    }
    return FALSE;
}

void fcResetFileCommands()
{
    g_untitled = 1;
    g_reuse = 0;
}
