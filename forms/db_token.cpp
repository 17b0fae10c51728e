// Database token files and their editor.
#include "forms/db_token.h"
#include "links/doc_names.h"
#include "support/ff_file.h"
#include "support/settings_reg.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "support/win_dlgfield.h"
#include "support/win_filedlg.h"
#include <stdio.h>
#include <string.h>
#include <string>

namespace {

const char kTag[] = "[file type = dbtoken]";
const char kTokenFilter[] = "Database Token (*.tkn)|*.tkn|";
const char kDatabaseFilter[] = "RV Database (*.xdb)|*.xdb|";
const char kHelpTopic[] = "Database Token Editor";
const char kPathSetting[] = "DB_Token_Path";

enum : int {
    ID_TOKEN = 103,
    ID_BROWSE = 104,
    ID_DATABASE = 105,
    ID_HELP = 109,
    ID_CLOSE = 110,
    ID_NEW = 200,
    ID_OPEN = 201,
    ID_SAVE = 202,
    ID_SAVE_AS = 203,
};

// Set when the database name changes; cleared by new, open and save.
bool g_modified = false;

void showError(HWND owner, const char *format, const char *path)
{
    char text[UT_PATH_SIZE + 96];
    snprintf(text, sizeof text, format, path ? path : "");
    utErrorBox(owner, text);
}

// One line of at most size - 1 bytes, CR and LF cut; the rest of a longer
// line is left for the next read. False at the end of the file.
bool readLine(HANDLE f, char *line, uint32_t size)
{
    uint32_t n = 0;
    bool any = false;
    char c;
    DWORD got;
    while (n + 1 < size && ReadFile(f, &c, 1, &got, nullptr) && got == 1) {
        any = true;
        if (c == '\n')
            break;
        line[n++] = c;
    }
    while (n && (line[n - 1] == '\r' || line[n - 1] == '\n'))
        --n;
    line[n] = 0;
    return any;
}

void setModified(HWND dlg, bool on)
{
    g_modified = on;
    winEnableDlgItem(dlg, ID_SAVE, on ? TRUE : FALSE);
}

// Text put into a field without counting as the user's change.
void setQuietly(HWND dlg, int id, const char *text)
{
    SetDlgItemTextA(dlg, id, text);
    setModified(dlg, false);
}

bool save(HWND dlg);

bool saveAs(HWND dlg)
{
    char path[UT_PATH_SIZE];
    winGetDlgTextTrim(dlg, ID_TOKEN, path, sizeof path);
    if (!winSaveFileDlg(dlg, "Select File Name to Save", path, "tkn", kTokenFilter))
        return false;
    if (ffExists(path)) {
        char text[UT_PATH_SIZE + 64];
        snprintf(text, sizeof text, "File:\r\n%s\r\n already exists. Overwrite?", path);
        if (utMessageBox(dlg, text, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return false;
    }
    SetDlgItemTextA(dlg, ID_TOKEN, path);
    return save(dlg);
}

bool save(HWND dlg)
{
    char token[UT_PATH_SIZE], database[UT_PATH_SIZE];
    winGetDlgTextTrim(dlg, ID_TOKEN, token, sizeof token);
    winGetDlgTextTrim(dlg, ID_DATABASE, database, sizeof database);
    if (!token[0]) {
        if (database[0])
            PostMessageA(dlg, WM_COMMAND, ID_SAVE_AS, 0);
        else
            utMessageBox(dlg, "Nothing to save", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (!database[0]) {
        utErrorBox(dlg, "Must supply a database file name before saving.");
        return false;
    }
    if (!dbWriteToken(token, database)) {
        showError(dlg, "Can not write the token file:\r\n %s", token);
        return false;   // still modified: the edit is not saved
    }
    setModified(dlg, false);
    return true;
}

// Before close, new and open: false stops the action.
bool askSave(HWND dlg, bool closing)
{
    if (!g_modified)
        return true;
    switch (utMessageBox(dlg, "Save changes to the database token?",
                         MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDCANCEL: return false;
    case IDYES: return save(dlg) || !closing;
    default: return true;
    }
}

void openToken(HWND dlg)
{
    char path[UT_PATH_SIZE] = "";
    setGetString(kPathSetting, path);
    if (!askSave(dlg, false))
        return;
    if (!winOpenFileDlg(dlg, "Open a Database Token File", path, "tkn", kTokenFilter))
        return;
    SetDlgItemTextA(dlg, ID_TOKEN, path);
    char database[DB_TOKEN_LINE_SIZE] = "";
    dbReadTokenDatabase(dlg, path, database, sizeof database, TRUE);
    SetDlgItemTextA(dlg, ID_DATABASE, database);
    setPutFolderOf(kPathSetting, path);
    setModified(dlg, false);
}

INT_PTR CALLBACK tokenProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dlg, ID_TOKEN, EM_LIMITTEXT, UT_PATH_SIZE - 1, 0);
        SendDlgItemMessageA(dlg, ID_DATABASE, EM_LIMITTEXT, UT_PATH_SIZE - 1, 0);
        setModified(dlg, false);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ID_DATABASE:
            if (HIWORD(wParam) == EN_CHANGE)
                setModified(dlg, true);
            return TRUE;
        case ID_BROWSE:
            winDlgBrowseFile(dlg, "Select a Database File Name", "xdb", kDatabaseFilter,
                             ID_DATABASE, TRUE);
            return TRUE;
        case ID_NEW:
            if (askSave(dlg, false)) {
                setQuietly(dlg, ID_TOKEN, "");
                setQuietly(dlg, ID_DATABASE, "");
            }
            return TRUE;
        case ID_OPEN:
            openToken(dlg);
            return TRUE;
        case ID_SAVE:
            save(dlg);
            return TRUE;
        case ID_SAVE_AS:
            saveAs(dlg);
            return TRUE;
        case ID_HELP:
            utHelpKeyword(dlg, kHelpTopic);
            return TRUE;
        case IDOK:
        case IDCANCEL:
        case ID_CLOSE:
            if (askSave(dlg, true))
                EndDialog(dlg, 1);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int dbIsTokenPath(const char *path)
{
    if (!path)
        return 0;
    const char *dot = strrchr(path, '.');
    return dot && lstrcmpiA(dot + 1, "tkn") == 0 ? 1 : 0;
}

int dbIsTokenTag(const char *line)
{
    if (!line)
        return 0;
    if (lstrcmpiA(line, kTag) == 0)
        return 1;
    const std::string s = line;
    if (s.empty() || s[0] != '[')
        return 0;
    const size_t eq = s.find('=');
    if (eq == std::string::npos)
        return 0;
    const size_t close = s.find(']', eq);
    if (close == std::string::npos)
        return 0;
    char between[DB_TOKEN_LINE_SIZE];
    utStrCopyN(between, s.substr(eq + 1, close - eq - 1).c_str(), sizeof between);
    return lstrcmpiA(utTrimChar(between, ' '), "DBTOKEN") == 0 ? 1 : 0;
}

int dbWriteToken(const char *tokenPath, const char *database)
{
    if (!tokenPath || !*tokenPath || !database)
        return 0;
    char temp[UT_PATH_SIZE];
    HANDLE f = ffCreateReplacement(tokenPath, temp);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    const std::string text = std::string(kTag) + "\r\n" + database;
    const BOOL ok = ffWrite(f, text.data(), (DWORD)text.size()) == (DWORD)text.size();
    return ffCommitReplacement(f, temp, tokenPath, ok) ? 1 : 0;
}

HANDLE dbOpenToken(HWND owner, const char *tokenPath, BOOL showErrors)
{
    HANDLE f = tokenPath && *tokenPath
                   ? CreateFileA(tokenPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr)
                   : INVALID_HANDLE_VALUE;
    if (f == INVALID_HANDLE_VALUE) {
        if (showErrors)
            showError(owner, "Can not open the token file:\r\n %s", tokenPath);
        return INVALID_HANDLE_VALUE;
    }
    char line[DB_TOKEN_LINE_SIZE];
    const char *fault = nullptr;
    if (!readLine(f, line, sizeof line))
        fault = "Error reading the token file: \r\n %s";
    else if (!dbIsTokenTag(line))
        fault = "The file is not in correct token file format: \r\n %s";
    if (!fault)
        return f;
    CloseHandle(f);
    if (showErrors)
        showError(owner, fault, tokenPath);
    return INVALID_HANDLE_VALUE;
}

int dbReadTokenDatabase(HWND owner, const char *tokenPath, char *buffer, uint32_t size,
                        BOOL showErrors)
{
    if (buffer && size)
        buffer[0] = 0;
    HANDLE f = dbOpenToken(owner, tokenPath, showErrors);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    char line[DB_TOKEN_LINE_SIZE];
    const bool read = readLine(f, line, sizeof line) && line[0];
    CloseHandle(f);
    if (!read) {
        if (showErrors)
            showError(owner, "No database name in the token file: \r\n %s", tokenPath);
        return 0;
    }
    if (buffer && size)
        utStrCopyN(buffer, line, size);
    return 1;
}

MemHandle dbResolveDataSource(HWND docWindow, const char *name)
{
    if (!name || !*name)
        return 0;
    MemHandle path = docResolveFileName(docWindow, name);
    if (!path || !dbIsTokenPath(name))
        return path;
    char token[UT_PATH_SIZE] = "";
    {
        MemLock<char> p(path);
        if (p)
            utStrCopyN(token, p.get(), sizeof token);
    }
    utFreeHandle(path);
    char database[DB_TOKEN_LINE_SIZE];
    if (!dbReadTokenDatabase(docWindow, token, database, sizeof database, TRUE))
        return 0;
    char folder[UT_PATH_SIZE], file[UT_PATH_SIZE];
    utSplitFolderName(token, folder, file);
    return utMakeAbsolutePath(database, folder);
}

void dbEditToken(HWND owner)
{
    g_modified = false;
    DialogBoxParamA(GetModuleHandleA(nullptr), "DBTKN", owner, tokenProc, 0);
}
