// Stand-ins of the metafile objects (enhanced metafile, type 293; metafile
// picture, type 61) for the picture-file drawing. Missing: the metafile
// object types themselves (their records, drawing, clipboard forms); until
// they exist a metafile file gives no object.
#pragma once
#include "support/qmwin.h"

// A new enhanced metafile object of an .emf file, or 0 (always 0 here).
MemHandle mfEmfLoadFile(HWND window, const char *fileName);
// A new metafile picture object of a placeable .wmf file, or 0 (always 0 here).
MemHandle mfWmfLoadFile(HWND window, const char *fileName);
