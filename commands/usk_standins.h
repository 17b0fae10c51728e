// The user key of a password-protected document.
#pragma once
#include "support/qmwin.h"

// Runs the user key dialog on the document; 1 on OK (*form may have moved).
int userKeyCommand(HWND ws, MemHandle *form);
