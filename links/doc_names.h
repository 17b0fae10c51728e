// File names linked from a document, resolved against the document's
// folder, and the relative expressions stored for them.
#pragma once
#include "support/qmwin.h"

// New string handle with the full path of a linked file name: trailing
// (and leading) blanks cut; an absolute name (drive and colon, or a
// leading double backslash) unchanged; a relative one made absolute
// against the folder of the workspace's document (the active workspace's
// for 0): a leading backslash keeps only that folder's drive, "..\" steps
// climb. Unchanged when the document has no path. 0 for no name, an empty
// one, a name of 260 characters or more, or when memory fails.
MemHandle docResolveFileName(HWND workspace, const char *name);
// The same into the caller's buffer of `size` bytes; 1 when resolved (the
// buffer then holds it), 0 with an empty buffer otherwise or when it does
// not fit.
int docResolveFileNameBuf(HWND workspace, const char *name, char *buffer, uint32_t size);
// 1 when the name resolves to a file that exists.
int docResolvedFileExists(HWND workspace, const char *name);
// Replaces the full path in the buffer (UT_PATH_SIZE bytes) by its relative
// expression against the folder of the workspace's document: the name
// alone in that folder, the rest below it, "..\" steps on the same drive,
// else unchanged. 0 (the buffer unchanged) when the document has no folder.
int docMakeRelativeName(HWND workspace, char *name);
// A picture file linked from the workspace's document (resolved as above)
// loaded into a new temporary object; 0 when it cannot be. Page
// backgrounds draw through it (installed by lnkRegisterTypes).
MemHandle docLoadPicture(HWND workspace, const char *name);
