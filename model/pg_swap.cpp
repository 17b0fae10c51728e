// Temporary page files: writing pages out, reading them back, their names
// and their deletion.
#include "model/pg_swap.h"
#include "model/fm_form.h"
#include "model/ob_links.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/qmf_header.h"
#include "model/qmf_read.h"
#include "model/qmf_sizes.h"
#include "model/qmf_write.h"
#include "support/settings_reg.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "model/ws_document.h"
#include "resources/resource.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>

namespace {

// Room a temporary file needs beyond its page.
const uint32_t kTempFileSlack = 120;

uint32_t secondsSince1970()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    uint64_t t = ((uint64_t)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
    return (uint32_t)(t / 10000000ull - 11644473600ull);
}

// The entry's temporary name as a terminated string.
void entryName(const PageDirEntry *entry, char out[sizeof(PageDirEntry::tempName) + 1])
{
    memcpy(out, entry->tempName, sizeof entry->tempName);
    out[sizeof entry->tempName] = 0;
}

bool entryPath(const PageDirEntry *entry, char *path)
{
    char name[sizeof(PageDirEntry::tempName) + 1];
    entryName(entry, name);
    if (!name[0])
        return false;
    utTempFilePath(path, name);
    return true;
}

// Writes the temporary page file: header, minimal form, the page. The
// bytes before the page and the page's bytes come back; false when any
// write came short.
bool writeTempFile(HANDLE f, MemHandle form, MemHandle page, uint32_t *pageAt,
                   uint32_t *pageBytes)
{
    uint32_t shortfalls = ffWriteShortfalls();
    MemHandle temp = fmMakeTempForm(form);
    if (!temp)
        return false;
    bool ok = qmfWriteHeader(f, "FORM") == sizeof(FileHeader);
    uint32_t body = ok ? qmfWriteForm(f, temp) : 0;
    fmFree(temp);
    ok = ok && body && ffTell(f) == sizeof(FileHeader) + body;
    *pageAt = sizeof(FileHeader) + body;
    *pageBytes = ok ? qmfWritePage(f, page) : 0;
    ok = ok && *pageBytes && ffTell(f) == *pageAt + *pageBytes;
    return ok && ffWriteShortfalls() == shortfalls;
}

// Reads the entry's page from its file: the whole page, or only its record
// tree. Null, with "Read error", when it cannot be read.
MemHandle readEntry(HWND workspace, const PageDirEntry *entry, bool recordOnly)
{
    MemHandle page = 0;
    HANDLE f = entry ? pgOpenEntryFile(workspace, entry, FALSE) : INVALID_HANDLE_VALUE;
    // A page held in the document's file is taken only from the file its
    // directory was read from.
    if (f != INVALID_HANDLE_VALUE && entry->state == PG_HELD_IN_DOCUMENT &&
        !qmfIsSameDocumentFile(wsGetDocument(workspace), f)) {
        ffClose(f);
        char path[UT_PATH_SIZE] = "";
        wsGetDocPath(workspace, path, sizeof path);
        qmfReportReplacedFile(nullptr, path);
        return 0;
    }
    if (f != INVALID_HANDLE_VALUE) {
        DWORD size = ffGetSize(f);
        if (size != INVALID_FILE_SIZE && size > 0) {
            MemHandle dir = utHandleFromBytes(entry, sizeof *entry);
            if (dir) {
                {
                    MemLock<PageDirEntry> e(dir);
                    e->pages = 0;
                }
                page = qmfReadEntryPage(f, size, dir, 0);
                if (page && recordOnly) {
                    // Only the record tree is wanted: the objects go again.
                    obFreeList(pgGetFirstObject(page));
                    pgSetFirstObject(page, 0);
                    PgLock p(page);
                    pgDataSetObjectCount(p.data(), 0);
                }
                utFreeHandle(dir);
            }
        }
        ffClose(f);
    }
    if (!page)
        utErrorBoxId(nullptr, IDS_READ_ERROR);
    return page;
}

MemHandle workspaceForm(HWND workspace) { return wsGetDocument(workspace); }

}  // namespace

// ---- the temporary folder and names ------------------------------------------------

char *utGetTempPath(char *buffer)
{
    buffer[0] = 0;
    DWORD n = GetTempPathA(UT_PATH_SIZE, buffer);
    if (n == 0 || n >= UT_PATH_SIZE)
        setGetHomeDir(buffer);
    size_t len = strlen(buffer);
    if (len && buffer[len - 1] != '\\' && buffer[len - 1] != '/' && len + 1 < UT_PATH_SIZE) {
        buffer[len] = '\\';
        buffer[len + 1] = 0;
    }
    return buffer;
}

char *utTempFilePath(char *buffer, const char *name)
{
    char folder[UT_PATH_SIZE];
    utGetTempPath(folder);
    return utJoinPath(buffer, folder, name);
}

int utNewTempFilePath(char *buffer)
{
    char folder[UT_PATH_SIZE], path[MAX_PATH];
    utGetTempPath(folder);
    if (!GetTempFileNameA(folder, "~qm", 0, path)) {
        buffer[0] = 0;
        return 0;
    }
    utStrCopyN(buffer, path, UT_PATH_SIZE);
    return 1;
}

int pgMakeTempPageName(char *buffer)
{
    char path[UT_PATH_SIZE];
    if (!utNewTempFilePath(path)) {
        buffer[0] = 0;
        return 0;
    }
    utStripFolder(path);
    if (strlen(path) >= sizeof(PageDirEntry::tempName)) {
        // A name the entry cannot hold is of no use: give it back.
        char full[UT_PATH_SIZE];
        utTempFilePath(full, path);
        ffDelete(full);
        buffer[0] = 0;
        return 0;
    }
    strcpy(buffer, path);
    return 1;
}

// ---- temporary page files ------------------------------------------------------------

MemHandle fmMakeTempForm(MemHandle form)
{
    FormRecord head = {};
    if (form) {
        FmLock f(form);
        if (!f)
            return 0;
        head.type = f->type;
        head.spare = f->spare;
    }
    head.length = kFmHeadSize;
    head.updateTime = secondsSince1970();
    head.pages = 1;
    return utHandleFromBytes(&head, sizeof head);
}

HANDLE pgOpenEntryFile(HWND workspace, const PageDirEntry *entry, BOOL forWrite)
{
    if (!entry)
        return INVALID_HANDLE_VALUE;
    char path[UT_PATH_SIZE];
    if (entry->state == PG_HELD_IN_DOCUMENT) {
        if (forWrite || !wsGetDocPath(workspace, path, sizeof path))
            return INVALID_HANDLE_VALUE;
        return ffOpenRead(path, nullptr, FALSE);
    }
    if (!entryPath(entry, path))
        return INVALID_HANDLE_VALUE;
    if (!forWrite)
        return ffOpenRead(path, nullptr, FALSE);
    return CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

int pgSwapOut(HWND workspace, MemHandle page, PageDirEntry *entry)
{
    if (!entry || !pgIsValid(page))
        return 0;
    // 1. The entry as it was, and the page's size.
    const PageDirEntry before = *entry;
    uint32_t size = pgCalcFileSize(page);

    // 2. Room in the temporary folder.
    char folder[UT_PATH_SIZE];
    utGetTempPath(folder);
    if ((uint64_t)size + kTempFileSlack > ffGetDiskFree(folder)) {
        char text[80];
        snprintf(text, sizeof text, "Not enough space in %c drive for writing temporary file",
                 folder[1] == ':' ? folder[0] : '?');
        utErrorBox(nullptr, text);
        return 0;
    }

    // 3. A name of its own, kept when the entry has one already.
    bool fresh = entry->state != PG_HELD_IN_TEMP_FILE || !entry->tempName[0];
    if (fresh) {
        char name[UT_PATH_SIZE];
        if (!pgMakeTempPageName(name))
            return 0;
        memset(entry->tempName, 0, sizeof entry->tempName);
        memcpy(entry->tempName, name, strlen(name));
        entry->state = PG_HELD_IN_TEMP_FILE;
    }
    char path[UT_PATH_SIZE];
    entryPath(entry, path);

    // 4. The file.
    HANDLE f = pgOpenEntryFile(workspace, entry, TRUE);
    if (f == INVALID_HANDLE_VALUE) {
        if (fresh)
            ffDelete(path);
        *entry = before;
        return 0;
    }

    // 5. Header, minimal form, page; each write checked.
    uint32_t pageAt = 0, pageBytes = 0;
    bool ok = writeTempFile(f, workspaceForm(workspace), page, &pageAt, &pageBytes);
    ok = ffClose(f) && ok;
    if (!ok) {
        ffDelete(path);
        if (fresh) {
            *entry = before;
        } else {
            // The old copy was overwritten: only the page in memory is left.
            entry->state = PG_HELD_IN_MEMORY;
            memset(entry->tempName, 0, sizeof entry->tempName);
            entry->offset = 0;
        }
        entry->pages = before.pages;
        return 0;
    }
    entry->offset = pageAt;
    entry->size = pageBytes;
    return 1;
}

int pgSwapOutEntry(HWND workspace, MemHandle page, int n)
{
    MemHandle form = workspaceForm(workspace);
    PageDirEntry e;
    if (n < 0 || n >= fmGetPageCount(form) || !pgDirGetEntry(fmGetDirectory(form), n, &e))
        return 0;
    int done = pgSwapOut(workspace, page, &e);
    int count = 0;
    PageDirEntry *entries = fmLockDirectory(form, &count);
    if (entries && n < count)
        entries[n] = e;
    if (entries)
        fmUnlockDirectory(form);
    return done;
}

int pgSwapOutCurrent(HWND workspace)
{
    int n = pvGetCurrentPageIndex(workspace);
    if (n < 0)
        return 0;
    MemHandle form = workspaceForm(workspace);
    PageDirEntry e;
    if (!pgDirGetEntry(fmGetDirectory(form), n, &e) || !e.pages)
        return 0;
    int done = pgSwapOutEntry(workspace, e.pages, n);
    if (!done) {
        int count = 0;
        PageDirEntry *entries = fmLockDirectory(form, &count);
        if (entries && n < count) {
            pgDeleteEntryFile(&entries[n]);
            entries[n].state = PG_HELD_IN_MEMORY;
            entries[n].offset = 0;
        }
        if (entries)
            fmUnlockDirectory(form);
    }
    return done;
}

MemHandle pgReadEntryPages(HWND workspace, const PageDirEntry *entry)
{
    return readEntry(workspace, entry, false);
}

MemHandle pgReadEntryRecord(HWND workspace, const PageDirEntry *entry)
{
    return readEntry(workspace, entry, true);
}

void pgDeleteEntryFile(PageDirEntry *entry)
{
    if (!entry || entry->state != PG_HELD_IN_TEMP_FILE)
        return;
    char path[UT_PATH_SIZE];
    if (entryPath(entry, path))
        ffDelete(path);
    entry->state = PG_HELD_IN_MEMORY;
    memset(entry->tempName, 0, sizeof(entry->tempName));
}

void pgDeleteAllEntryFiles(MemHandle dir, int count)
{
    int held = pgDirCapacity(dir);
    if (count > held)
        count = held;
    if (count <= 0)
        return;
    MemLock<PageDirEntry> entries(dir);
    for (int i = 0; entries && i < count; ++i)
        pgDeleteEntryFile(&entries[i]);
}

int pgEntryFileMissing(HWND workspace, const PageDirEntry *entry)
{
    if (!entry)
        return 0;
    char path[UT_PATH_SIZE];
    if (entry->state == PG_HELD_IN_DOCUMENT) {
        if (!wsGetDocPath(workspace, path, sizeof path))
            return 0;
    } else if (!entryPath(entry, path)) {
        return 0;
    }
    return ffExists(path) ? 0 : 1;
}

// ---- the directory ---------------------------------------------------------------------

MemHandle pgDirSwapOutPage(HWND workspace, int n)
{
    MemHandle form = workspaceForm(workspace);
    PageDirEntry e;
    if (n < 0 || n >= fmGetPageCount(form) || !pgDirGetEntry(fmGetDirectory(form), n, &e))
        return 0;
    PageDirEntry made = e;
    made.pages = 0;
    if (e.pages) {
        // Its own file: the copy in memory is the newest.
        made.state = PG_HELD_IN_MEMORY;
        memset(made.tempName, 0, sizeof made.tempName);
        if (!pgSwapOut(workspace, e.pages, &made))
            return 0;
        made.pages = 0;
    } else if (e.state == PG_HELD_IN_TEMP_FILE) {
        char from[UT_PATH_SIZE], name[UT_PATH_SIZE], to[UT_PATH_SIZE];
        if (!entryPath(&e, from) || !pgMakeTempPageName(name))
            return 0;
        utTempFilePath(to, name);
        if (!ffCopyFile(to, from)) {
            ffDelete(to);
            return 0;
        }
        memset(made.tempName, 0, sizeof made.tempName);
        memcpy(made.tempName, name, strlen(name));
    } else if (e.state != PG_HELD_IN_DOCUMENT) {
        return 0;   // held nowhere
    }
    MemHandle h = utHandleFromBytes(&made, sizeof made);
    if (!h) {
        pgDeleteEntryFile(&made);
    }
    return h;
}

int pgDirAppendEntry(HWND workspace, const PageDirEntry *entry)
{
    MemHandle form = workspaceForm(workspace);
    if (!form || !entry || !FmLock(form))
        return -1;
    int count = std::min(std::max(fmGetPageCount(form), 0), pgDirCapacity(fmGetDirectory(form)));
    if (count + 1 > 0x7FFF)
        return -1;
    MemHandle dir =
        utAllocHandle(fmGetDirectory(form), (uint32_t)(count + 1) * sizeof(PageDirEntry));
    if (!dir)
        return -1;
    {
        MemLock<PageDirEntry> e(dir);
        e[count] = *entry;
    }
    FmLock r(form);
    r->directory = dir;
    r->pages = (int16_t)(count + 1);
    return count;
}

int pgDirAppendSwapped(HWND workspace, MemHandle page)
{
    MemHandle form = workspaceForm(workspace);
    int n = pgDirAppend(form, page);
    if (n < 0)
        return -1;
    if (pgSwapOutEntry(workspace, page, n))
        pgDropEntryPages(workspace, n);
    return n;
}
