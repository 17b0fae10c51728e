// Stand-in: the content of user objects and their property dialog are not in
// the program yet. No user object holds any, so none is opened; the dialog
// answers Cancel.
#include "commands/usr_standins.h"

int usrHasContent(HWND, MemHandle) { return 0; }
int usrOpenContent(HWND, MemHandle, const char *) { return 0; }
int usrPropsDialog(HWND, MemHandle *) { return 0; }
