// File names linked from a document, resolved against the document's
// folder.
#pragma once
#include "support/qmwin.h"

// New string handle with the full path of a linked file name: blanks
// trimmed at both ends; an absolute path unchanged; a relative one joined
// with the folder of the workspace's document (unchanged when the document
// has no path). 0 for no name, an empty one, or when memory fails.
MemHandle docResolveFileName(HWND workspace, const char *name);
// A picture file linked from the workspace's document (resolved as above)
// loaded into a new temporary object; 0 when it cannot be. Page
// backgrounds draw through it (installed by lnkRegisterTypes).
MemHandle docLoadPicture(HWND workspace, const char *name);
