// Stand-in: the object property dialog does not exist yet; it answers
// Cancel and shows no object.
#include "commands/objd_standins.h"

MemHandle objDataDialog(HWND, MemHandle) { return 0; }
