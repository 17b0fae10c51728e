// Lists of paths kept in the settings under numbered names (File1, File2,
// ...) and, on top of them, the recent-file list of the File menu.
//
// In memory a numbered list is a delimited list (support/rc_list.h) with a
// CR after each entry.
#pragma once
#include "support/qmwin.h"

// Reads the settings name1 .. name<n>; every value that names an existing
// file is appended to the list. When a value named a missing file, the list
// is written back at once so that the missing files drop out. Returns the
// list handle, 0 when it is empty.
MemHandle utReadNumberedList(const char *name, int n);
// Writes the non-empty items of the list (each cut at 259 characters) to
// name1, name2, ... in order, at most n, and an empty value to every slot
// left up to n. Returns 1.
int utWriteNumberedList(const char *name, int n, MemHandle list);
// The first entry of the list as read by utReadNumberedList (a buffer of
// 260 bytes); TRUE when there is one.
BOOL utGetFirstNumbered(const char *name, int n, char *buffer);
// Puts the normalised path in front of the list (an equal entry, case
// ignored, removed first), cuts the list to n entries and writes it back.
// FALSE, and nothing changed, for a path that is empty or normalises to
// empty.
BOOL utListPushFront(const char *name, int n, const char *path);
// Removes the entry equal to the normalised path and writes the list back.
BOOL utListRemove(const char *name, int n, const char *path);
// The entry at position command - first into a buffer of 260 bytes; FALSE
// when the position is negative or there is no such entry.
BOOL utListGetByCommand(const char *name, int n, int firstCommand, int command, char *buffer);
// The same as a new string handle; 0 when there is none.
MemHandle utListGetHandleByCommand(const char *name, int n, int firstCommand, int command);
// Appends a separator and an item "&<k>. <path in lower case>" with the
// command firstCommand + position for each listed file that exists. Nothing
// when the list is empty. Returns the number of items appended.
int utAppendRecentMenu(const char *name, int n, HMENU menu, int firstCommand);

// ---- the recent-file list: the numbered list "File" ------------------------
// Stores the first command id and the size; with the log flag, the log name
// (the list file's path with the extension "txt") for the file history.
void utInitRecentFiles(HWND frame, const char *listFile, int unused, int firstCommand,
                       int count, BOOL log);
void utEndRecentFiles();
BOOL utAddRecentFile(const char *path);
BOOL utRemoveRecentFile(const char *path);
MemHandle utGetRecentFileByCommand(int command);
int utAddRecentFilesToMenu(HMENU menu);
BOOL utGetFirstRecentFile(char *buffer);
