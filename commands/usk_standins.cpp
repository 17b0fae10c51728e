// Stand-in: the user key dialog does not exist yet; it answers Cancel.
#include "commands/usk_standins.h"

int userKeyCommand(HWND, MemHandle *) { return 0; }
