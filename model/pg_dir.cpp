// The page directory: entries, insertion and deletion, loading and
// releasing pages, and new documents.
#include "model/pg_dir.h"
#include "model/fm_form.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/pg_swap.h"
#include "model/qmf_sizes.h"
#include "support/app_frame_globals.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_datawin.h"
#include "model/ws_document.h"
#include <stdio.h>
#include <string.h>
#include <vector>

namespace {

const uint32_t kEntrySize = sizeof(PageDirEntry);

// The entries of the form's directory that may be used: its page count,
// cut to what the block holds.
int usableCount(MemHandle form)
{
    int pages = fmGetPageCount(form);
    int held = pgDirCapacity(fmGetDirectory(form));
    if (pages > held)
        pages = held;
    return pages > 0 ? pages : 0;
}

// The directory of the workspace's document when entry n is in it; 0
// otherwise.
MemHandle workspaceDirectory(HWND workspace, int n)
{
    MemHandle form = wsGetDocument(workspace);
    return n >= 0 && n < usableCount(form) ? fmGetDirectory(form) : 0;
}

void setPageCount(MemHandle form, int pages)
{
    FmLock r(form);
    if (r)
        r->pages = (int16_t)pages;
}

}  // namespace

// ---- locking ----------------------------------------------------------------------

PageDirEntry *fmLockDirectory(MemHandle form, int *count)
{
    if (count)
        *count = usableCount(form);
    MemHandle dir = fmGetDirectory(form);
    return dir ? static_cast<PageDirEntry *>(utLock(dir)) : nullptr;
}

void fmUnlockDirectory(MemHandle form) { utUnlock(fmGetDirectory(form)); }

PageDirEntry *pgLockDirectory(HWND workspace, int *count)
{
    return fmLockDirectory(wsGetDocument(workspace), count);
}

void pgUnlockDirectory(HWND workspace) { fmUnlockDirectory(wsGetDocument(workspace)); }

// ---- entries of a directory handle -------------------------------------------------

int pgDirCapacity(MemHandle dir) { return (int)(utHandleSize(dir) / kEntrySize); }

BOOL pgDirGetEntry(MemHandle dir, int n, PageDirEntry *entry)
{
    memset(entry, 0, sizeof(*entry));
    if (n < 0 || n >= pgDirCapacity(dir))
        return FALSE;
    MemLock<PageDirEntry> e(dir);
    if (!e)
        return FALSE;
    *entry = e[n];
    return TRUE;
}

int32_t pgDirGetOffset(MemHandle dir, int n)
{
    PageDirEntry entry;
    return pgDirGetEntry(dir, n, &entry) ? (int32_t)entry.offset : -1;
}

MemHandle pgDirGetPages(MemHandle dir, int n)
{
    PageDirEntry entry;
    return pgDirGetEntry(dir, n, &entry) ? entry.pages : 0;
}

MemHandle pgDirGetPagesChecked(MemHandle dir, int count, int n)
{
    return n >= 0 && n < count ? pgDirGetPages(dir, n) : 0;
}

BOOL pgDirSetPages(MemHandle dir, MemHandle page, int n)
{
    if (n < 0 || n >= pgDirCapacity(dir))
        return FALSE;
    uint32_t size = pgCalcFileSize(page);
    MemLock<PageDirEntry> e(dir);
    if (!e)
        return FALSE;
    e[n].pages = page;
    e[n].size = size;
    return TRUE;
}

uint32_t pgDirSumSizes(MemHandle dir, int n)
{
    int held = pgDirCapacity(dir);
    if (n > held)
        n = held;
    uint32_t sum = 0;
    MemLock<PageDirEntry> e(dir);
    for (int i = 0; e && i < n; ++i)
        sum += e[i].size;
    return sum;
}

void pgDirDropAll(MemHandle dir, int count)
{
    int held = pgDirCapacity(dir);
    if (count > held)
        count = held;
    std::vector<MemHandle> pages;
    {
        MemLock<PageDirEntry> e(dir);
        for (int i = 0; e && i < count; ++i) {
            if (e[i].pages)
                pages.push_back(e[i].pages);
            e[i].pages = 0;
        }
    }
    for (MemHandle page : pages)
        pgFreeList(page);
}

// ---- the form's directory ------------------------------------------------------------

void pgDirClearPages(MemHandle form, int n)
{
    if (n < 0 || n >= usableCount(form))
        return;
    MemLock<PageDirEntry> e(fmGetDirectory(form));
    if (e)
        e[n].pages = 0;
}

int pgDirAppend(MemHandle form, MemHandle page) { return pageTableInsert(form, page, -1, FALSE); }

int pageTableInsert(MemHandle form, MemHandle page, int n, BOOL after)
{
    if (!form || !page || !FmLock(form))
        return -1;
    int count = usableCount(form);
    int at = after ? n + 1 : n;
    if (n < 0 || n >= count)
        at = count;
    if (count + 1 > 0x7FFF)
        return -1;
    uint32_t size = pgCalcFileSize(page);
    MemHandle dir = utAllocHandle(fmGetDirectory(form), (uint32_t)(count + 1) * kEntrySize);
    if (!dir)
        return -1;
    {
        MemLock<PageDirEntry> e(dir);
        memmove(&e[(size_t)at + 1], &e[(size_t)at], (size_t)(count - at) * kEntrySize);
        memset(&e[(size_t)at], 0, kEntrySize);
        e[at].pages = page;
        e[at].size = size;
        e[at].state = PG_HELD_IN_MEMORY;
    }
    FmLock r(form);
    r->directory = dir;
    r->pages = (int16_t)(count + 1);
    return at;
}

void fmResetDirectoryStates(MemHandle form)
{
    int count = 0;
    PageDirEntry *e = fmLockDirectory(form, &count);
    for (int i = 0; e && i < count; ++i) {
        if (!e[i].pages)
            continue;
        pgDeleteEntryFile(&e[i]);
        e[i].state = PG_HELD_IN_MEMORY;
        e[i].offset = 0;
    }
    if (e)
        fmUnlockDirectory(form);
}

MemHandle CreatePGDList(uint32_t firstPageOffset, MemHandle sizeArray, int pages)
{
    if (pages < 1)
        return 0;
    std::vector<uint32_t> sizes;
    uint32_t offset = firstPageOffset;
    if (sizeArray) {
        uint32_t length = utGetPacketLength(sizeArray);
        if (length > utHandleSize(sizeArray))
            length = utHandleSize(sizeArray) & ~3u;
        int entries = (int)(length / 4) - 1;
        if (entries != pages) {
            utErrorBox(0, "nPages != npages in CreatePGDList");
            return 0;
        }
        MemLock<uint32_t> a(sizeArray);
        sizes.assign(a.get() + 1, a.get() + 1 + pages);
        offset += length;
    } else if (pages == 1) {
        sizes.push_back(0);
    } else {
        return 0;
    }
    MemHandle dir = utAllocHandle(0, (uint32_t)pages * kEntrySize);
    if (!dir)
        return 0;
    MemLock<PageDirEntry> e(dir);
    for (int i = 0; i < pages; ++i) {
        e[i].size = sizes[(size_t)i];
        e[i].state = PG_HELD_IN_DOCUMENT;
        e[i].offset = offset;
        offset += sizes[(size_t)i];
    }
    return dir;
}

// ---- the directory of a workspace's document ------------------------------------------

int pgDirDelete(HWND workspace, int n)
{
    MemHandle form = wsGetDocument(workspace);
    int count = usableCount(form);
    if (!form || n < 0 || n >= count)
        return 0;
    if (n == pvGetCurrentPageIndex(workspace))
        pvReleaseCurrentPage(workspace);
    else
        pgDropEntryPages(workspace, n);
    {
        MemLock<PageDirEntry> e(fmGetDirectory(form));
        if (!e)
            return 0;
        pgDeleteEntryFile(&e[n]);
        memmove(&e[n], &e[n + 1], (size_t)(count - n - 1) * kEntrySize);
        memset(&e[count - 1], 0, kEntrySize);
    }
    setPageCount(form, count - 1);
    return 1;
}

int pgDirFind(HWND workspace, const char *name)
{
    MemHandle form = wsGetDocument(workspace);
    int count = usableCount(form);
    MemHandle dir = fmGetDirectory(form);
    if (!name)
        return -1;
    for (int i = 0; i < count; ++i) {
        PageDirEntry entry;
        pgDirGetEntry(dir, i, &entry);
        MemHandle page = entry.pages, read = 0;
        if (!page) {
            read = pgReadEntryRecord(workspace, &entry);
            if (!read)
                return -1;
            page = read;
        }
        const char *own = pgGetName(page);
        bool same = own && lstrcmpiA(own, name) == 0;
        if (own)
            pgUnlock(page);
        pgFreeList(read);
        if (same)
            return i;
    }
    return -1;
}

MemHandle pgDirEnsureLoaded(HWND workspace, MemHandle dir, int n)
{
    PageDirEntry entry;
    if (!pgDirGetEntry(dir, n, &entry))
        return 0;
    if (entry.pages)
        return entry.pages;
    MemHandle page = pgReadEntryPages(workspace, &entry);
    if (page) {
        MemLock<PageDirEntry> e(dir);
        e[n].pages = page;
    }
    return page;
}

void pgDropEntryPages(HWND workspace, int n)
{
    MemHandle dir = workspaceDirectory(workspace, n);
    MemHandle pages;
    {
        MemLock<PageDirEntry> e(dir);
        if (!e)
            return;
        pages = e[n].pages;
        e[n].pages = 0;
    }
    pgFreeList(pages);
}

uint32_t pgDirUpdateSize(HWND workspace, int n)
{
    MemHandle dir = workspaceDirectory(workspace, n);
    MemHandle page = pgDirGetPages(dir, n);
    if (!page)
        return 0;
    uint32_t size = pgCalcFileSize(page);
    MemLock<PageDirEntry> e(dir);
    e[n].size = size;
    return size;
}

void pgDirDump(HWND workspace, int n)
{
    PageDirEntry entry;
    if (!pgDirGetEntry(workspaceDirectory(workspace, n), n, &entry))
        return;
    char name[sizeof(entry.tempName) + 1] = {};
    memcpy(name, entry.tempName, sizeof(entry.tempName));
    char text[96];
    snprintf(text, sizeof(text), "Page Number = %d, Temp File Name = %s", n, name);
    if (winGetDataWindow(appGetFrameWindow(), nullptr))
        winDataWindowSetText(text);
}

// ---- new documents -----------------------------------------------------------------------

MemHandle pgNewDocument(BOOL skipDialog)
{
    MemHandle form = fmNew();
    if (!form)
        return 0;
    MemHandle page = skipDialog
                         ? pgNewRecord(0)
                         : pgNewRecordByDialog(0, "Create the First Page of the New File");
    if (!page || pgDirAppend(form, page) < 0) {
        pgFreeList(page);
        fmFree(form);
        return 0;
    }
    fmSetCurrentPage(form, kFmBasePageIndex);
    return form;
}
