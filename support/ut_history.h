// The file history log: one dated line per document that was opened, kept
// in a text file beside the recent-file list.
#pragma once
#include "support/qmwin.h"

// The history switch (on by default); with it off no log path is kept.
void utHistoryEnable(BOOL on);
// Keeps a copy of the log file's path when the switch is on.
void utHistorySetPath(const char *path);
// Frees the kept path.
void utHistoryFree();
// Deletes the log file when a path is kept.
void utHistoryClear();
// Adds the line "<date and time> <path>\r\n" to the log (creating the file
// when it does not exist). FALSE when no path is kept or the write failed.
BOOL utHistoryAdd(const char *path);
