// Starting other programs: a command line, and the platform's text editor
// on a file.
#pragma once
#include "support/qmwin.h"

// Starts the command line (CreateProcessA with no application name). When
// that fails and the line holds ".EXE" (any case) followed by a blank and
// more text, it is tried again with the path up to ".EXE" as the
// application name and the text after the blank as the command line. When
// both fail, the error box "Failed to execute: \r\n" + the command line is
// shown. The started process's handles are closed at once. TRUE when a
// process was started.
BOOL winRunProgram(HWND owner, const char *commandLine);
// Runs "notepad.exe" on the file, its path quoted so that blanks stay in it.
BOOL winOpenInTextEditor(HWND owner, const char *path);

// Tests replace CreateProcessA: the hook gets the application name (or
// null), a writable copy of the command line and the start-up information,
// fills the process information as CreateProcessA does and answers whether
// a process started.
typedef BOOL (*WinCreateProcessHook)(const char *application, char *commandLine,
                                     STARTUPINFOA *startup, PROCESS_INFORMATION *info);
void winSetCreateProcessHook(WinCreateProcessHook hook);
