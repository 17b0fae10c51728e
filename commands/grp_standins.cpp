// Stand-in: composite editing is not built yet.
#include "commands/grp_standins.h"

int cmdEditComposite(HWND, MemHandle) { return 0; }
