// Custom output commands (File menu, ids 1950 to 1959). Only the test of an
// id (1959) answers so far: the driver set-up and runs come with printing.
#pragma once
#include "support/qmwin.h"

enum { PRN_CUSTOM_FIRST = 1950, PRN_CUSTOM_LAST = 1959 };

// 1959: 1 when the argument lies in 1950..1959, else 0; 1958 rebuilds the
// menu item (1); the others set up or run a stored command (0: none yet).
int prnCustomDriverCommand(HWND owner, HMENU menu, int command, int argument);
