// Auto-save. Its first form keeps auto-save off: no backups are offered at
// start-up and no timer runs.
#pragma once
#include "support/qmwin.h"

enum { FC_AUTOSAVE_TIMER = 816 };

// At start-up: offers the backups of the auto-save log and starts the
// timer; the result (and *reopened) tells whether a backup was opened.
BOOL fcInitAutoSave(HWND frame, UINT timerId, BOOL *reopened);
// At the close of the frame: stops the timer and writes the log.
void fcStopAutoSave(HWND frame);
// Frame command 716: writes a backup of the workspace's document now;
// 0 when auto-save is not active.
int fcAutoSaveDocument(HWND ws);

// ---- the entries of the auto-save log ----------------------------------------------
// The log's entries are kept in memory for the run until the log file
// comes; the save-name check asks them.
// Appends an entry unless one with the same backup path exists.
void fcAddLogEntry(int pageIndex, const char *docPath, const char *backupPath);
// 1 when an entry has this backup path (case ignored).
int fcIsBackupName(const char *path);
// No entries.
void fcResetAutoSaveLog();
