// Stand-ins: the field property pane and the entry reference dialog are
// not built yet.
#include "forms/fld_pane_standins.h"

int fldOpenPropPane(HWND, MemHandle) { return 0; }
int erefPropsDialog(HWND, MemHandle *) { return 0; }
