// The object search dialog of the pages ("OIDX").
#pragma once
#include "support/qmwin.h"

// Nonzero when a name was chosen: the page index and the name (a new
// string handle, the caller's) come back.
int pgObjectSearch(HWND ws, int *pageIndex, MemHandle *name);
#include <string>
#include <vector>
// The object-name index of the document: for every page in order, one
// entry per named object of its list: the name, a TAB, the page index in 5
// characters and LF. Pages not in memory are read and let go again.
std::vector<std::string> pgBuildObjectIndex(HWND ws);
