// Page names, numbers and rectangles of document files.
#include "model/qmf_pages.h"
#include "model/qmf_read.h"
#include "model/fm_form.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "support/dlg_password.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "model/ws_document.h"
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

const char kNameEnd = 27;

// The name of each page of a document file, read page by page; false when
// the file or a page cannot be read.
bool filePageNames(HWND owner, const char *path, bool askPassword, std::vector<std::string> &out)
{
    MemHandle form = qmfReadFormFile(owner, path);
    if (!form)
        return false;
    if (askPassword && !fmAskPassword(owner, form)) {
        fmFree(form);
        return false;
    }
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, TRUE);
    bool ok = f != INVALID_HANDLE_VALUE;
    int pages = fmGetPageCount(form);
    for (int i = 0; ok && i < pages; ++i) {
        MemHandle page = qmfReadEntryPage(f, size, fmGetDirectory(form), i);
        if (!page) {
            ok = false;
            break;
        }
        char name[256];
        out.push_back(pgCopyName(page, name, sizeof name) ? name : "");
        pgFreeList(page);
    }
    if (f != INVALID_HANDLE_VALUE)
        ffClose(f);
    fmFree(form);
    return ok;
}

MemHandle joinNames(const std::vector<std::string> &names, bool numbered)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (numbered)
            text += std::to_string(i + 1) + ". ";
        text += names[i];
        text += kNameEnd;
    }
    return utHandleFromString(text.c_str());
}

std::string trimmed(const char *s)
{
    std::string t(s ? s : "");
    size_t a = t.find_first_not_of(' '), b = t.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : t.substr(a, b - a + 1);
}

void fillList(HWND dialog, int control, const std::vector<std::string> &items)
{
    HWND list = GetDlgItem(dialog, control);
    char cls[32] = {};
    GetClassNameA(list, cls, sizeof cls);
    bool combo = lstrcmpiA(cls, "ComboBox") == 0;
    SendMessageA(list, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    for (const std::string &s : items)
        SendMessageA(list, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, (LPARAM)s.c_str());
}

}  // namespace

int fmCheckPassword(MemHandle form, const char *text)
{
    char stored[kFmPasswordMax + 1];
    if (!form || !fmGetPassword(form, stored))
        return 1;
    return text && lstrcmpiA(stored, text) == 0;
}

int fmAskPassword(HWND owner, MemHandle form)
{
    char stored[kFmPasswordMax + 1];
    if (!form || !fmGetPassword(form, stored))
        return 1;
    int ok = dlgCheckPassword(owner, stored, 3);
    SecureZeroMemory(stored, sizeof stored);
    return ok;
}

MemHandle pgReadFilePageNames(HWND owner, const char *path, int *countOut, BOOL numbered)
{
    if (countOut)
        *countOut = 0;
    std::vector<std::string> names;
    if (!path || !*path || !filePageNames(owner, path, true, names))
        return 0;
    if (countOut)
        *countOut = (int)names.size();
    return joinNames(names, numbered);
}

MemHandle pgGetNameList(HWND workspace)
{
    MemHandle form = wsGetDocument(workspace);
    int pages = fmGetPageCount(form);
    if (!form || pages <= 0)
        return 0;
    char path[UT_PATH_SIZE] = {};
    wsGetDocPath(workspace, path, sizeof path);
    DWORD size = 0;
    HANDLE f = path[0] ? ffOpenRead(path, &size, FALSE) : INVALID_HANDLE_VALUE;
    std::vector<std::string> names;
    MemHandle dir = fmGetDirectory(form);
    for (int i = 0; i < pages; ++i) {
        PageDirEntry e;
        pgDirGetEntry(dir, i, &e);
        MemHandle page = e.pages, read = 0;
        if (!page && e.state == PG_HELD_IN_DOCUMENT && f != INVALID_HANDLE_VALUE)
            page = read = qmfReadEntryPage(f, size, dir, i);
        char name[256];
        names.push_back(page && pgCopyName(page, name, sizeof name) ? name : "");
        pgFreeList(read);
    }
    if (f != INVALID_HANDLE_VALUE)
        ffClose(f);
    return joinNames(names, true);
}

int qmfFindPageByName(HWND owner, const char *folder, const char *file, const char *name)
{
    char path[UT_PATH_SIZE];
    utJoinPath(path, folder ? folder : "", file ? file : "");
    std::vector<std::string> names;
    filePageNames(owner, path, false, names);
    std::string want = trimmed(name);
    for (size_t i = 0; i < names.size(); ++i)
        if (lstrcmpiA(trimmed(names[i].c_str()).c_str(), want.c_str()) == 0)
            return (int)i;
    return -1;
}

MemHandle qmfOpenLinkedPage(HWND owner, const char *folder, const char *file, int index,
                            MemHandle *pageOut)
{
    char path[UT_PATH_SIZE];
    utJoinPath(path, folder ? folder : "", file ? file : "");
    MemHandle page = 0;
    MemHandle form = qmfOpenDocument(owner, path, index, &page);
    if (pageOut)
        *pageOut = page;
    return form;
}

MemHandle qmfReadRCArray(HWND owner, const char *path, MemHandle directory, int n)
{
    if (!path || !*path || n <= 0 || n > pgDirCapacity(directory))
        return 0;
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, TRUE);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    std::vector<RECT> rects;
    for (int i = 0; i < n; ++i) {
        MemHandle page = qmfReadEntryPage(f, size, directory, i);
        if (!page)
            break;
        RECT r;
        obGetRect(page, &r);
        rects.push_back(r);
        pgFreeList(page);
    }
    ffClose(f);
    if ((int)rects.size() < n) {
        utErrorBox(owner, "Read file failed in qmfReadRCArray");
        return 0;
    }
    static_assert(sizeof(RECT) == 16, "rectangles of 16 bytes");
    return utHandleFromBytes(rects.data(), (uint32_t)(rects.size() * sizeof(RECT)));
}

int pgListFilePageNames(HWND dialog, int control, const char *path)
{
    std::vector<std::string> names;
    if (!path || !*path || !filePageNames(dialog, path, true, names))
        return 0;
    fillList(dialog, control, names);
    return (int)names.size();
}

int pgListPageNumbers(HWND dialog, int control, const char *path)
{
    MemHandle form = path && *path ? qmfReadFormFile(dialog, path) : 0;
    if (!form)
        return 0;
    std::vector<std::string> numbers;
    for (int i = 1; i <= fmGetPageCount(form); ++i)
        numbers.push_back(std::to_string(i));
    fmFree(form);
    fillList(dialog, control, numbers);
    return (int)numbers.size();
}
