// Stand-in: the rotate tool is not in the program yet. A press on the
// rotate handle turns nothing.
#include "tools/ep_rotate_standins.h"

MemHandle epRotateDrag(HWND, MemHandle, LPARAM) { return 0; }
