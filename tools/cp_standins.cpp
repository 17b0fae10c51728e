// Stand-in: composite objects cannot be made yet: the "COMPOSITE" dialog
// does not exist, so the flow answers as if it were cancelled, and there is
// no centre edit to start.
#include "tools/cp_standins.h"

MemHandle cpEditComposite(HWND, MemHandle, BOOL, int *result)
{
    if (result)
        *result = 0;
    return 0;
}

void cpAfterEdit(HWND, MemHandle, int) {}
