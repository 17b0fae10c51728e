// Auto-save and backup recovery: a changed document is written every few
// minutes to a backup file in the temporary folder, recorded in the
// auto-save log "~qmats.log" of the home folder; at the next start the
// backups still listed are offered.
#pragma once
#include "support/qmwin.h"
#include <string>

enum { FC_AUTOSAVE_TIMER = 816 };

#pragma pack(push, 1)
// The log: one packet, this head then `count` entries.
struct AutoSaveLogHead {
    uint32_t length;      // 8 + 532 x count
    uint16_t interval;    // minutes; 20 in a new log
    uint16_t count;
};
struct AutoSaveLogEntry {
    uint16_t pageIndex;         // the page current when the backup was written
    char backupPath[261];
    char docPath[269];          // "untitled" in the home folder without a path
};
#pragma pack(pop)
static_assert(sizeof(AutoSaveLogHead) == 8, "the auto-save log head is 8 bytes");
static_assert(sizeof(AutoSaveLogEntry) == 532, "an auto-save log entry is 532 bytes");

const char kAutoSaveLogName[] = "~qmats.log";
const uint16_t kAutoSaveDefaultInterval = 20;

// At start-up (the first instance only): the backups of the log are
// offered, the log emptied and written, the timer started. 1 when active;
// *reopened 1 when a backup was opened.
BOOL fcInitAutoSave(HWND frame, UINT timerId, BOOL *reopened);
// At the close of the frame: the timer stopped, the log emptied, written
// and freed.
void fcStopAutoSave(HWND frame);
// The log file read as one packet when it exists and is longer than 4
// bytes; its entries are taken only as far as its length holds them, each
// path ended within its field. Null otherwise.
MemHandle fcReadAutoSaveLog(HWND window);
// Writes the module's log to "~qmats.log" (not reported when it fails);
// 1 when written whole.
int fcWriteAutoSaveLog(HWND window);
// Offers each backup of the log whose file exists, newest first, with its
// document's name and the time it was written; OK opens it (bound to its
// document's path, modified), Cancel deletes it. A backup that does not
// read whole is not offered: a box says so and the file is left. 1 when
// any opened.
int fcOfferBackups(HWND frame, MemHandle log);
// The time a backup was written as the offer shows it ("2026-12-11 14:05",
// local time).
std::string fcBackupTimeText(FILETIME written);
void fcRunAutoSaveTimer();
void fcStopAutoSaveTimer();
void CALLBACK fcAutoSaveTimerProc(HWND window, UINT msg, UINT_PTR id, DWORD time);
// Frame command 716 and the minute tick: writes a backup of the workspace's
// document and records it. 0 when auto-save is not active.
int fcAutoSaveDocument(HWND ws);

// ---- the log's entries ---------------------------------------------------------------
// Appends an entry unless one with the same backup path exists.
void fcAddLogEntry(int pageIndex, const char *docPath, const char *backupPath);
// Removes the entry of the backup path and deletes its file (also for a
// backup opened at start-up); nothing for an empty or unknown path.
void fcDropBackup(HWND ws, const char *backupPath);
// 1 when an entry has this backup path (case ignored).
int fcIsBackupName(const char *path);
// Count 0, length 8.
void fcResetAutoSaveLog();
// The number of entries and entry i (FALSE outside).
int fcGetLogCount();
BOOL fcGetLogEntry(int i, AutoSaveLogEntry *out);
uint16_t fcGetAutoSaveInterval();
void fcPutAutoSaveInterval(uint16_t minutes);
// Whether backups are written (set by fcInitAutoSave; tests set it).
BOOL fcIsAutoSaveActive();
void fcSetAutoSaveActive(BOOL on);
