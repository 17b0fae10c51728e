// Stand-ins for the field property pane and the entry reference property
// dialog: neither is built yet. The pane does not open (0) and the dialog
// answers Cancel (0).
#pragma once
#include "support/qmwin.h"

int fldOpenPropPane(HWND ws, MemHandle object);
int erefPropsDialog(HWND ws, MemHandle *object);
