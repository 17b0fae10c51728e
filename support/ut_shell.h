// Opening a document or an address with its associated program.
#pragma once
#include "support/qmwin.h"

// ShellExecuteA "open"; TRUE when it started.
BOOL utShellOpen(HWND owner, const char *address);
