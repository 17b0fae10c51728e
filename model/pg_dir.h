// The page directory of a form: one 40-byte entry per page saying where the
// page's records are held now (only in memory, in the document file, or in
// a temporary file) and at which offset. Pages are loaded one at a time;
// the directory lets the rest stay on disk.
//
// Operations given a null form or directory, a null page or an index
// outside the directory change nothing and answer -1, 0 or null.
#pragma once
#include "support/qmwin.h"

#pragma pack(push, 1)
struct PageDirEntry {
    uint32_t size;        // bytes of the page in its file
    uint16_t state;       // PG_HELD_*
    MemHandle pages;      // the page records in memory, or null
    uint32_t offset;      // of the page in the document file or temporary file
    uint8_t spare[2];
    char tempName[24];    // temporary file name without folder; empty when none
};
#pragma pack(pop)
static_assert(sizeof(PageDirEntry) == 40, "a page directory entry is 40 bytes");
static_assert(offsetof(PageDirEntry, pages) == 6, "page handle at 6");
static_assert(offsetof(PageDirEntry, offset) == 10, "file offset at 10");
static_assert(offsetof(PageDirEntry, tempName) == 16, "temporary name at 16");

enum : uint16_t {
    PG_HELD_IN_MEMORY = 0,
    PG_HELD_IN_DOCUMENT = 1,
    PG_HELD_IN_TEMP_FILE = 2,
};

// ---- locking ----------------------------------------------------------------------
// The form's entries, locked (null for none); the count (optional) gets the
// number that may be used: the page count, cut to what the block holds.
PageDirEntry *fmLockDirectory(MemHandle form, int *count = nullptr);
void fmUnlockDirectory(MemHandle form);
// The same for the document of a workspace.
PageDirEntry *pgLockDirectory(HWND workspace, int *count = nullptr);
void pgUnlockDirectory(HWND workspace);

// ---- entries of a directory handle -------------------------------------------------
// Entries a directory block holds.
int pgDirCapacity(MemHandle dir);
// A copy of entry n; FALSE (entry zeroed) outside the block.
BOOL pgDirGetEntry(MemHandle dir, int n, PageDirEntry *entry);
// File offset of entry n; -1 for n < 0 or outside the block.
int32_t pgDirGetOffset(MemHandle dir, int n);
MemHandle pgDirGetPages(MemHandle dir, int n);
// Null outside 0..count-1.
MemHandle pgDirGetPagesChecked(MemHandle dir, int count, int n);
// Stores the page handle and its file size; FALSE outside the block.
BOOL pgDirSetPages(MemHandle dir, MemHandle page, int n);
// Sum of the sizes of the first n entries.
uint32_t pgDirSumSizes(MemHandle dir, int n);
// Frees the page records every entry holds and clears their handles.
void pgDirDropAll(MemHandle dir, int count);

// ---- the form's directory ------------------------------------------------------------
// Forgets entry n's page handle without freeing it (the caller took it).
void pgDirClearPages(MemHandle form, int n);
// Appends an entry (held in memory, offset 0, no name) for the page;
// returns its index, -1 for a null form or page or when memory fails.
int pgDirAppend(MemHandle form, MemHandle page);
// Inserts an entry before entry n, or after it when `after` is set; an
// index below 0 or past the end appends. Returns the new entry's index.
int pageTableInsert(MemHandle form, MemHandle page, int n, BOOL after);
// Every entry whose page is in memory is marked as held only in memory
// (offset 0, its temporary file deleted); entries whose page is not loaded
// keep where it is held, since that is the only copy.
void fmResetDirectoryStates(MemHandle form);
// A directory for pages read from a document file: with a size array
// (packet: u32 length, one u32 per page) one entry per page held in the
// document at running offsets from firstPageOffset + the array's length;
// without one and exactly one page, that page at firstPageOffset with size
// 0. An array whose count differs from `pages` shows "nPages != npages in
// CreatePGDList". Null otherwise.
MemHandle CreatePGDList(uint32_t firstPageOffset, MemHandle sizeArray, int pages);

// ---- the directory of a workspace's document ------------------------------------------
// Deletes page n: its records are released (by the workspace when n is the
// current page), its temporary file deleted, the later entries moved down
// and the page count decreased. 1 when deleted.
int pgDirDelete(HWND workspace, int n);
// Index of the first page whose name equals the name ignoring case; pages
// not in memory are read for the test and freed again, and the search stops
// at a page that cannot be read. -1 when none.
int pgDirFind(HWND workspace, const char *name);
// The page records of entry n, read from where the entry holds them when
// they are not in memory (the entry keeps them). Null when it cannot.
MemHandle pgDirEnsureLoaded(HWND workspace, MemHandle dir, int n);
// Frees the page records entry n holds in memory.
void pgDropEntryPages(HWND workspace, int n);
// Records the file size of entry n's page in memory; returns it (0 when
// the page is not loaded).
uint32_t pgDirUpdateSize(HWND workspace, int n);
// Shows "Page Number = %d, Temp File Name = %s" for entry n in the data
// viewer window.
void pgDirDump(HWND workspace, int n);

// ---- new documents -----------------------------------------------------------------------
// A new form with one page: the default page when skipDialog is set, else
// the page the user lays out ("Create the First Page of the New File");
// current page 0xFFFF. Null (nothing left allocated) when no page was made.
MemHandle pgNewDocument(BOOL skipDialog);
