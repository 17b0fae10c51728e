// Swapping the current page out of memory: its records written to a
// temporary file named in its directory entry, so that the page can be let
// go and read back when it is shown again.
#pragma once
#include "support/qmwin.h"

// Writes the workspace's current page to its temporary file. Nonzero on
// success, also for a page held only in memory, which has no copy on disk
// to go back to and stays in memory. 0 on failure: the entry is reset to a
// page held in memory (its temporary file deleted), so the page must not be
// let go.
int pgSwapOutCurrent(HWND ws);
