// Stand-in: the editor's Find dialog is not in the program yet. The
// commands reach these names and nothing opens.
#include "textedit/te_find.h"

HWND teOpenFind(HWND) { return nullptr; }
int teFindNextCommand(HWND) { return 0; }
void teCloseFind() {}
