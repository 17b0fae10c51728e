// The About box and the launch of the companion reader program ("rvpo.exe"
// in the program folder). The About box and the reader information are
// shown as message boxes until their dialog templates exist.
#pragma once
#include "support/qmwin.h"

// Command 809: the application title, the version and build, the program
// and home folders.
void appAboutBox(HWND frame);
// Command 94: what the reader program is for.
void appShowReaderInfo(HWND owner);
// The reader's path (260 bytes).
char *appGetReaderPath(char *buffer);
// The command line that starts the reader: its path, then a blank and the
// file when one is given (a relative file joined to the home folder). Into
// a buffer of `size` bytes.
char *appReaderCommandLine(char *buffer, int size, const char *file);
// Starts the reader on a file or on nothing; always TRUE (a missing reader
// fails silently).
BOOL appLaunchReader(HWND frame, const char *file);
// Tests replace WinExec.
typedef UINT (*AppExecHook)(const char *commandLine, UINT show);
void appSetExecHook(AppExecHook hook);
