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
// "History": the lines of the log in file order (the file-line selection
// dialog); the path of the chosen line (the text after its third blank)
// goes into the buffer of 260 bytes. FALSE without a window when the
// switch is off; "No items in the history list." when no path is kept or
// the log does not exist; TRUE when the buffer is not empty.
BOOL dlgHistory(HWND owner, char *path);
// The path part of a log line: the text after its third blank ("" when the
// line has fewer).
const char *utHistoryLinePath(const char *line);
