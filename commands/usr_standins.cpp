// Stand-in: the content of user objects is not in the program yet. No user
// object holds any, so none is opened.
#include "commands/usr_standins.h"

int usrHasContent(HWND, MemHandle) { return 0; }
int usrOpenContent(HWND, MemHandle, const char *) { return 0; }
