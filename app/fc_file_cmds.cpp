#include "app/fc_file_cmds.h"
#include "app/app_frame.h"
#include "app/app_frame_docs.h"
#include "app/settings_reg.h"
#include "app/setup_record.h"
#include "controls/pal_file.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include "support/ut_recent.h"
#include "views/dw_window.h"
#include "views/ws_window.h"
#include <string.h>
#include <string>

namespace {

// A new document window, or one showing the document of a path. Opening
// does not yet ask to take over an untouched new document.
HWND newDocumentWindow(HWND frame, const char *path)
{
    int reuse = (path && *path) ? 2 : 0;
    return dwOpenDocument(frame, wsClassName, path, -1, 0, &reuse, FALSE, 0);
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

}  // namespace

HWND fcNewDocument(HWND frame) { return newDocumentWindow(frame, nullptr); }
HWND fcNewDocumentDefaultPage(HWND frame) { return newDocumentWindow(frame, nullptr); }

HWND fcNewQuickNote(HWND frame)
{
    HWND doc = newDocumentWindow(frame, nullptr);
    wsSetQuickNote(dwGetWorkspace(doc), TRUE);
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

HWND fcOpenDocumentAtPage(HWND frame, MemHandle text)
{
    std::string s = takeText(text);
    size_t lf = s.find('\n');
    if (lf != std::string::npos)
        s.resize(lf);
    return fcOpenDocument(frame, s.c_str());
}

HWND fcOpenRecentFile(HWND frame, int command)
{
    return fcOpenDocumentFromHandle(frame, utGetRecentFileByCommand(command));
}

BOOL fcOpenFileDialog(HWND owner, const char *caption, char *path)
{
    char filter[128];
    fcGetDocFilter(filter, sizeof(filter));
    char name[UT_PATH_SIZE];
    utStrCopyN(name, path, sizeof(name));
    ClrFileRequest request = {false, caption, filter, "qm", name, sizeof(name)};
    if (!clrFileDialog(owner, request) || !name[0])
        return FALSE;
    utStrCopyN(path, name, UT_PATH_SIZE);
    return TRUE;
}

HWND fcOpenCommand(HWND frame, const char *startPath)
{
    char path[UT_PATH_SIZE];
    utStrCopyN(path, startPath ? startPath : "", sizeof(path));
    if (!fcOpenFileDialog(frame, "Open File", path))
        return nullptr;
    return fcOpenDocument(frame, path);
}

int fcSaveCommand(HWND) { return 0; }
