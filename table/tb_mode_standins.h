// Stand-in for the table edit mode's entry: the mode that edits a table's
// or report's cells in place is not started from an object yet, so the
// entry answers 0 (not entered).
#pragma once
#include "support/qmwin.h"

int tbEnterEditMode(HWND ws, MemHandle table, LPARAM lParam);
