// Temporary page files: a changed page that is not on screen is written to
// a file of its own in the temporary folder and its memory released; its
// directory entry then says state 2, names the file (without folder) and
// gives the page's offset in it. A temporary page file is a complete small
// document: a "FORM" header, the FORM body of a minimal form and the one
// page, so the document reader can open it as a one-page document.
#pragma once
#include "support/qmwin.h"
#include "model/pg_dir.h"

// ---- the temporary folder and names ---------------------------------------------
// The temporary folder (the system's, else the user's home folder) into a
// buffer of UT_PATH_SIZE bytes, ending with a backslash.
char *utGetTempPath(char *buffer);
// The temporary folder joined with a name.
char *utTempFilePath(char *buffer, const char *name);
// A fresh unique name "~qm....tmp" in the temporary folder, written into the
// buffer without its folder. The (empty) file is made to hold the name; the
// writer overwrites it. 1 on success, 0 (empty buffer) otherwise.
int pgMakeTempPageName(char *buffer);
// The same with its folder: a full path in a buffer of UT_PATH_SIZE bytes.
int utNewTempFilePath(char *buffer);

// ---- temporary page files --------------------------------------------------------
// The minimal form of a temporary page file: 80 bytes, length 80, type and
// spare word of the document's form (0 without one), the current time, one
// page, nothing else. A new handle; null when there is no memory.
MemHandle fmMakeTempForm(MemHandle form);
// The file that holds an entry's page: state 1 the document's own file
// (read only: writing would destroy the document); otherwise the entry's
// temporary file when it has a name, shared for reading, created for
// writing. INVALID_HANDLE_VALUE when there is none or it cannot be opened.
HANDLE pgOpenEntryFile(HWND workspace, const PageDirEntry *entry, BOOL forWrite);
// Writes the page to the entry's temporary file (a new name, state 2, when
// the entry has none yet; the same name again when it has). The entry's
// size and offset are those of the page in the file. Needs the page's size
// + 120 bytes free in the temporary folder ("Not enough space in %c drive
// for writing temporary file"). Every write is checked: 1 when the whole
// file was written; 0 otherwise, and then the page is still the caller's
// (nothing may free it) and the entry says where a valid copy is: as it
// was, or state 0 without name when its old temporary file was overwritten.
int pgSwapOut(HWND workspace, MemHandle page, PageDirEntry *entry);
// The current page written to its entry's temporary file; the page stays in
// memory. 0 for no current page; on failure the entry loses its temporary
// file and name and gets state 0 (the page is then held in memory only).
int pgSwapOutCurrent(HWND workspace);
// The page written to the temporary file of directory entry n (the caller
// drops the page afterwards). 1 when written.
int pgSwapOutEntry(HWND workspace, MemHandle page, int n);

// The page with its objects (pgReadEntryPages) or only its record tree
// (pgReadEntryRecord) read back from the document file (state 1) or the
// temporary file (state 2) of the entry; null, with "Read error", when it
// cannot be read.
MemHandle pgReadEntryPages(HWND workspace, const PageDirEntry *entry);
MemHandle pgReadEntryRecord(HWND workspace, const PageDirEntry *entry);

// For an entry held in a temporary file: deletes the file, marks the entry
// as held in memory and clears its name. Other entries are left alone (an
// entry in state 1 never deletes anything).
void pgDeleteEntryFile(PageDirEntry *entry);
void pgDeleteAllEntryFiles(MemHandle dir, int count);
// 1 when the file that should hold the entry's page is not there; an entry
// without any file counts as present.
int pgEntryFileMissing(HWND workspace, const PageDirEntry *entry);

// ---- the directory ------------------------------------------------------------------
// A new 40-byte entry (a handle) holding page n in a file: its own
// temporary file for a page in memory or in a temporary file, the document
// file (state 1) for a page only there. Page n's entry and its memory are
// left as they are: the page in memory may hold changes that no file has.
// Null on failure.
MemHandle pgDirSwapOutPage(HWND workspace, int n);
// Appends a copy of the entry to the directory of the workspace's document:
// its index, -1 on failure.
int pgDirAppendEntry(HWND workspace, const PageDirEntry *entry);
// Appends an entry for the page, swaps it out and releases its memory; when
// the swap fails the page stays in memory in its entry. The index, -1 when
// no entry could be appended (the page is then still the caller's).
int pgDirAppendSwapped(HWND workspace, MemHandle page);
