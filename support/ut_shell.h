// Opening a document or an address with its associated program, and writing
// mail to an address.
#pragma once
#include "support/qmwin.h"

// ShellExecuteA "open"; TRUE when it started.
BOOL utShellOpen(HWND owner, const char *address);
// Opens "mailto:" followed by the address in the mail program (SW_SHOWDEFAULT);
// an address that begins with "mailto:" in any case keeps its own prefix
// only, and without an address just "mailto:" is opened. TRUE when it started.
BOOL utShellMailTo(HWND owner, const char *address);

// Tests replace ShellExecuteA "open": the hook gets the file or address and
// the show command and answers as ShellExecuteA does (above 32 when started).
typedef INT_PTR (*UtShellOpenHook)(HWND owner, const char *file, int show);
void utSetShellOpenHook(UtShellOpenHook hook);
