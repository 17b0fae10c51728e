// Stand-in: the pattern dialog is not built yet.
#include "objects/ptn_dialog_standins.h"

int ptnSelectDialog(HWND, PatternFill *) { return 0; }
