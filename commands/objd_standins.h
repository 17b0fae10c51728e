// The object property dialog.
#pragma once
#include "support/qmwin.h"

// Runs the dialog on the object (or the page's topmost one); the object
// shown when it ended, 0 without a dialog.
MemHandle objDataDialog(HWND ws, MemHandle object);
