// Stand-in: the object search dialog ("OIDX") does not exist yet; it
// answers Cancel.
#include "views/pg_search_standins.h"

int pgObjectSearch(HWND, int *, MemHandle *) { return 0; }
