// The welcome dialog "HELLO". Until its template and bitmap buttons exist
// the dialog is not shown: it answers "Create New Page" (0) and leaves the
// show-again flag as it was.
#pragma once
#include "support/qmwin.h"

// The chosen start: -1 cancelled, 0 to 5 the choices; *welcome becomes 0
// when the user asked not to see the dialog again.
int appHelloDialog(HWND frame, const char *title, int *welcome, BOOL optionBit5);
