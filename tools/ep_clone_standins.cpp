// Stand-in: the clone settings dialog does not exist yet, so cloning
// answers as if it were cancelled and makes no copies.
#include "tools/ep_clone_standins.h"

int epMakeCloneCopies(HWND, MemHandle) { return 0; }
