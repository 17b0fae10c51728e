// Linked file names: a stored name made into a full path.
#pragma once
#include "support/qmwin.h"

// New string handle with the full path of a linked file name, 0 for a null
// or empty name: trailing blanks are cut; an absolute name is taken as it
// is. Relative names are returned unchanged until documents give them a
// folder to be joined to.
MemHandle docResolveFileName(HWND workspace, const char *name);
