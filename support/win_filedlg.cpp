// The common Open and Save file dialogs. Each dialog works on a copy of
// the caller's path, so a cancelled dialog leaves the caller's buffer as
// it was.
#include "support/win_filedlg.h"
#include "support/settings_reg.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include <commdlg.h>
#include <string.h>
#include <string>

namespace {

WinFileDlgHook g_hook = nullptr;

BOOL systemDialog(HWND owner, WinFileDlgRequest &request)
{
    char title[512] = "";
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = request.filter;
    ofn.lpstrCustomFilter = const_cast<char *>(request.customFilter);
    ofn.nMaxCustFilter = request.customFilter ? UT_PATH_SIZE : 0;
    ofn.nFilterIndex = (DWORD)request.filterIndex;
    ofn.lpstrFile = request.path;
    ofn.nMaxFile = UT_PATH_SIZE;
    if (request.save) {
        ofn.lpstrFileTitle = title;
        ofn.nMaxFileTitle = sizeof(title);
    }
    ofn.lpstrInitialDir = request.initialFolder;
    ofn.lpstrTitle = request.caption;
    ofn.lpstrDefExt = request.defExt && *request.defExt ? request.defExt : nullptr;
    ofn.Flags = request.flags | OFN_NOCHANGEDIR;
    const BOOL chosen = request.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (chosen)
        request.filterIndex = (int)ofn.nFilterIndex;
    return chosen;
}

BOOL runDialog(HWND owner, WinFileDlgRequest &request)
{
    return g_hook ? g_hook(owner, request) : systemDialog(owner, request);
}

// A custom filter "(pattern)", NUL, pattern, NUL, NUL.
std::string customFilterOf(const char *pattern)
{
    std::string f = std::string("(") + pattern + ")";
    f.push_back('\0');
    f += pattern;
    f.push_back('\0');
    f.push_back('\0');
    return f;
}

// The Save dialog's preparation and run over a copy of the path.
BOOL saveDialog(HWND owner, const char *caption, char *path, const char *defExt,
                const char *filter, bool inFolder)
{
    char name[UT_PATH_SIZE], folder[UT_PATH_SIZE] = "";
    utStrCopyN(name, path ? path : "", sizeof(name));
    std::string custom;
    int index = 0;
    DWORD flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (inFolder) {
        char file[UT_PATH_SIZE];
        utSplitFolderName(name, folder, file);
        utStrCopyN(name, file, sizeof(name));
    }
    if (name[0] && !inFolder && utIsFolderPath(name)) {
        // A folder: the dialog starts there with an empty name.
        if (utCheckDirPath(name))
            utStrCopyN(folder, name, sizeof(folder));
        name[0] = 0;
    }
    char pattern[UT_PATH_SIZE];
    if (name[0]) {
        utPatternOfPath(pattern, name);
        index = utFilterIndex(filter, pattern);
        if (!index)
            custom = customFilterOf(pattern);
    } else if (defExt && *defExt) {
        snprintf(pattern, sizeof(pattern), "*.%s", defExt);
        index = utFilterIndex(filter, pattern);
    }
    if (!index && custom.empty())
        index = 1;
    WinFileDlgRequest request = {true,
                                 caption,
                                 name,
                                 defExt,
                                 filter,
                                 custom.empty() ? nullptr : custom.c_str(),
                                 folder[0] ? folder : nullptr,
                                 index,
                                 flags};
    if (!runDialog(owner, request) || !name[0])
        return FALSE;
    utStrCopyN(path, name, UT_PATH_SIZE);
    return TRUE;
}

}  // namespace

void utFilterBarsToNul(char *text)
{
    for (char *p = text; p && *p; ++p)
        if (*p == '|')
            *p = 0;
}

int utPatternOfPath(char *out, const char *path)
{
    char ext[UT_PATH_SIZE];
    utSplitPath(path ? path : "", nullptr, nullptr, nullptr, ext);
    out[0] = '*';
    utStrCopyN(out + 1, ext[0] ? ext : ".", UT_PATH_SIZE - 1);
    return 1;
}

int utFilterIndex(const char *filter, const char *pattern)
{
    if (!filter || !pattern || !*pattern)
        return 0;
    int index = 1;
    for (const char *p = filter; *p; ++index) {
        const char *entryPattern = p + strlen(p) + 1;   // the description, then the pattern
        if (!*entryPattern)
            break;
        if (lstrcmpiA(entryPattern, pattern) == 0)
            return index;
        p = entryPattern + strlen(entryPattern) + 1;
    }
    return 0;
}

void winSetFileDlgHook(WinFileDlgHook hook) { g_hook = hook; }

BOOL winRunFileDlg(HWND owner, WinFileDlgRequest &request) { return runDialog(owner, request); }

BOOL winOpenFileDlg(HWND owner, const char *caption, char *path, const char *defExt,
                    const char *filter)
{
    char folder[UT_PATH_SIZE], name[UT_PATH_SIZE] = "";
    if (path && path[0]) {
        utStrCopyN(folder, path, sizeof(folder));
        utGetFolder(folder);
    } else {
        setGetHomeDir(folder);
    }
    if (defExt && *defExt && strlen(defExt) < 4)
        snprintf(name, sizeof(name), "*.%s", defExt);
    WinFileDlgRequest request = {false,
                                 caption,
                                 name,
                                 defExt,
                                 filter,
                                 nullptr,
                                 folder[0] ? folder : nullptr,
                                 1,
                                 OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY};
    if (!runDialog(owner, request) || !name[0])
        return FALSE;
    utStrCopyN(path, name, UT_PATH_SIZE);
    return TRUE;
}

BOOL winOpenFileDlgH(HWND owner, const char *caption, MemHandle *path, const char *defExt,
                     const char *filter)
{
    if (!path)
        return FALSE;
    char name[UT_PATH_SIZE] = "";
    if (*path) {
        uint32_t size = utHandleSize(*path);
        MemLock<char> p(*path);
        if (p)
            utStrCopyN(name, std::string(p.get(), strnlen(p.get(), size)).c_str(), sizeof(name));
    }
    if (winOpenFileDlg(owner, caption, name, defExt, filter)) {
        MemHandle grown = utAllocHandle(*path, UT_PATH_SIZE);
        if (grown) {
            *path = grown;
            MemLock<char> p(grown);
            utStrCopyN(p.get(), name, UT_PATH_SIZE);
            return TRUE;
        }
    }
    utFreeHandle(*path);
    *path = 0;
    return FALSE;
}

BOOL winSaveFileDlg(HWND owner, const char *caption, char *path, const char *defExt,
                    const char *filter)
{
    return saveDialog(owner, caption, path, defExt, filter, false);
}

BOOL winSaveFileDlgInFolder(HWND owner, const char *caption, char *path, const char *defExt,
                            const char *filter)
{
    return saveDialog(owner, caption, path, defExt, filter, true);
}

BOOL winDlgBrowseFileIn(HWND dialog, const char *caption, const char *folder, const char *defExt,
                        const char *filter, int editId, BOOL open)
{
    char path[MAX_PATH + 1] = {};
    GetDlgItemTextA(dialog, editId, path, MAX_PATH + 1);
    path[MAX_PATH - 1] = 0;
    if (!path[0] && folder && *folder) {
        char pattern[8] = "*.";
        if (defExt)
            strncat(pattern, defExt, 3);
        utJoinPath(path, folder, pattern);
    }
    BOOL chosen = open ? winOpenFileDlg(dialog, caption, path, defExt, filter)
                       : winSaveFileDlg(dialog, caption, path, defExt, filter);
    if (chosen)
        SetDlgItemTextA(dialog, editId, path);
    return chosen;
}

BOOL winDlgBrowseFile(HWND dialog, const char *caption, const char *defExt, const char *filter,
                      int editId, BOOL open)
{
    return winDlgBrowseFileIn(dialog, caption, nullptr, defExt, filter, editId, open);
}
