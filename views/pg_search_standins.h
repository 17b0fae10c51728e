// The object search dialog of the pages ("OIDX").
#pragma once
#include "support/qmwin.h"

// Nonzero when a name was chosen: the page index and the name (a new
// string handle, the caller's) come back.
int pgObjectSearch(HWND ws, int *pageIndex, MemHandle *name);
