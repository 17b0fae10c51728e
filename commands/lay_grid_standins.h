// Stand-in for the grid's columns and rows dialog: not built yet, it
// answers Cancel (0).
#pragma once
#include "support/qmwin.h"

int gridColsRowsDialog(HWND ws, MemHandle grid);
