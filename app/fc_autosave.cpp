#include "app/fc_autosave.h"
#include <string>
#include <vector>

namespace {
struct LogEntry {
    int pageIndex;
    std::string docPath, backupPath;
};
std::vector<LogEntry> g_entries;
}  // namespace

BOOL fcInitAutoSave(HWND, UINT, BOOL *reopened)
{
    if (reopened)
        *reopened = FALSE;
    return FALSE;
}

void fcStopAutoSave(HWND) {}

int fcAutoSaveDocument(HWND) { return 0; }

void fcAddLogEntry(int pageIndex, const char *docPath, const char *backupPath)
{
    if (!backupPath || !*backupPath || fcIsBackupName(backupPath))
        return;
    g_entries.push_back({pageIndex, docPath ? docPath : "", backupPath});
}

int fcIsBackupName(const char *path)
{
    if (!path || !*path)
        return 0;
    for (const LogEntry &e : g_entries)
        if (lstrcmpiA(e.backupPath.c_str(), path) == 0)
            return 1;
    return 0;
}

void fcResetAutoSaveLog() { g_entries.clear(); }
