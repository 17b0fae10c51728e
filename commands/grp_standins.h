// Stand-in for composite editing (the Edit command on a composite): the
// composite edit mode is not built yet, so nothing starts (0).
#pragma once
#include "support/qmwin.h"

int cmdEditComposite(HWND ws, MemHandle composite);
