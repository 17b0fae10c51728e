// Temporary page files: pages not on screen are kept in files of their own
// in the temporary folder, named in their directory entries.
#pragma once
#include "support/qmwin.h"
#include "model/pg_dir.h"

// The temporary folder (the system's, else the user's home folder) into a
// buffer of UT_PATH_SIZE bytes, ending with a backslash.
char *utGetTempPath(char *buffer);
// The temporary folder joined with a name.
char *utTempFilePath(char *buffer, const char *name);
// For an entry held in a temporary file: deletes the file, marks the entry
// as held in memory and clears its name. Other entries are left alone.
void pgDeleteEntryFile(PageDirEntry *entry);
void pgDeleteAllEntryFiles(MemHandle dir, int count);
// The page with its objects (pgReadEntryPages) or only its record tree
// (pgReadEntryRecord) read back from where the entry holds it; null, with
// "Read error", when it cannot be read. Pages are read back from files by
// the document reader; until it is there nothing held only in a file can
// be read.
MemHandle pgReadEntryPages(HWND workspace, const PageDirEntry *entry);
MemHandle pgReadEntryRecord(HWND workspace, const PageDirEntry *entry);
