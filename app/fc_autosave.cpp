// Auto-save and backup recovery.
#include "app/fc_autosave.h"
#include "app/app_frame.h"
#include "app/app_frame_docs.h"
#include "app/app_start.h"
#include "support/app_ui_state.h"
#include "support/settings_reg.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/qmf_read.h"
#include "model/qmf_save.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "views/dw_window.h"
#include "views/prn_print.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_window.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

// The log in memory: the head and its entries, written out as one packet.
struct Log {
    uint16_t interval = kAutoSaveDefaultInterval;
    std::vector<AutoSaveLogEntry> entries;
};
Log g_log;
HWND g_frame = nullptr;
UINT g_timerId = 0;
bool g_active = false;
bool g_timerRunning = false;
// Backups opened at start-up: no longer listed, still deleted once their
// document is saved.
std::vector<std::string> g_recovered;

const char kOffer[] = "You have a backup file, %s, for %s. Open it now?\n (If you choose "
                      "'Cancel', the backup file will be deleted.)";
const char kUnreadable[] = "The backup file %s, for %s, saved %s, cannot be read: it was not "
                           "written to its end. It is not offered and is left where it is.";
const char kUntitled[] = "untitled";

std::string logPath()
{
    char path[UT_PATH_SIZE] = "";
    setGetHomeFilePath(path, kAutoSaveLogName);
    return path;
}

void copyField(char *field, size_t size, const char *text)
{
    memset(field, 0, size);
    if (text)
        strncpy(field, text, size - 1);
}

std::string fieldText(const char *field, size_t size) { return std::string(field, strnlen(field, size)); }

int findEntry(const char *backupPath)
{
    if (!backupPath || !*backupPath)
        return -1;
    for (size_t i = 0; i < g_log.entries.size(); ++i)
        if (lstrcmpiA(fieldText(g_log.entries[i].backupPath, 261).c_str(), backupPath) == 0)
            return (int)i;
    return -1;
}

// The log's bytes: head and entries.
std::vector<uint8_t> logBytes(const Log &log)
{
    AutoSaveLogHead head = {(uint32_t)(8 + 532 * log.entries.size()), log.interval,
                            (uint16_t)log.entries.size()};
    std::vector<uint8_t> bytes(head.length);
    memcpy(bytes.data(), &head, sizeof head);
    if (!log.entries.empty())
        memcpy(bytes.data() + 8, log.entries.data(), 532 * log.entries.size());
    return bytes;
}

// A log read from a packet: no entry beyond its length, no path beyond its
// field.
bool parseLog(MemHandle packet, Log *out)
{
    const uint32_t held = utHandleSize(packet);
    MemLock<uint8_t> p(packet);
    if (!p || held < 8)
        return false;
    AutoSaveLogHead head;
    memcpy(&head, p.get(), sizeof head);
    const uint32_t length = head.length < held ? head.length : held;
    if (length < 8)
        return false;
    const uint32_t fits = (length - 8) / 532;
    const uint32_t count = head.count < fits ? head.count : fits;
    out->interval = head.interval ? head.interval : kAutoSaveDefaultInterval;
    out->entries.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        AutoSaveLogEntry &e = out->entries[i];
        memcpy(&e, p.get() + 8 + 532 * i, sizeof e);
        e.backupPath[sizeof e.backupPath - 1] = 0;
        e.docPath[sizeof e.docPath - 1] = 0;
    }
    return true;
}

// Makes a recovered document stand on its own under its document's path:
// every page it still reads from the backup file is brought into memory
// first, so that nothing is read later from a file of another name.
void bindRecovered(HWND ws, const AutoSaveLogEntry &entry)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return;
    const int count = fmGetPageCount(form);
    for (int i = 0; i < count; ++i) {
        PageDirEntry e;
        MemHandle dir = fmGetDirectory(wsGetDocument(ws));
        if (pgDirGetEntry(dir, i, &e) && !e.pages && e.state == PG_HELD_IN_DOCUMENT)
            pgDirEnsureLoaded(ws, dir, i);
    }
    fmResetDirectoryStates(wsGetDocument(ws));
    const std::string doc = fieldText(entry.docPath, sizeof entry.docPath);
    char home[UT_PATH_SIZE] = "";
    setGetHomeFilePath(home, kUntitled);
    wsSetDocPath(ws, lstrcmpiA(doc.c_str(), home) == 0 ? "" : doc.c_str());
    const std::string backup = fieldText(entry.backupPath, sizeof entry.backupPath);
    wsSetBackupName(ws, backup.c_str());
    g_recovered.push_back(backup);
    wsMarkModified(ws);
    if (HWND w = wsGetDocWindow(ws))
        dwUpdateTitle(w);
}

}  // namespace

// ---- the log -----------------------------------------------------------------------------

MemHandle fcReadAutoSaveLog(HWND)
{
    const std::string path = logPath();
    if (!ffExists(path.c_str()) || ffGetFileSizeByName(path.c_str()) <= 4)
        return 0;
    // The whole file is read and taken as far as its length word and the
    // bytes agree.
    std::vector<uint8_t> bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    const DWORD size = GetFileSize(f, nullptr);
    DWORD got = 0;
    if (size != INVALID_FILE_SIZE && size <= 8 + 532u * 0xFFFFu) {
        bytes.resize(size);
        if (!ReadFile(f, bytes.data(), size, &got, nullptr) || got != size)
            bytes.clear();
    }
    CloseHandle(f);
    MemHandle packet = bytes.empty() ? 0 : utHandleFromBytes(bytes.data(), (uint32_t)bytes.size());
    if (!packet)
        return 0;
    Log log;
    const bool ok = parseLog(packet, &log);
    utFreeHandle(packet);
    if (!ok)
        return 0;
    std::vector<uint8_t> clean = logBytes(log);
    return utHandleFromBytes(clean.data(), (uint32_t)clean.size());
}

int fcWriteAutoSaveLog(HWND)
{
    std::vector<uint8_t> bytes = logBytes(g_log);
    return ffReplaceFileBytes(logPath().c_str(), bytes.data(), (uint32_t)bytes.size()) ? 1 : 0;
}

void fcAddLogEntry(int pageIndex, const char *docPath, const char *backupPath)
{
    if (!backupPath || !*backupPath || findEntry(backupPath) >= 0)
        return;
    AutoSaveLogEntry e;
    e.pageIndex = (uint16_t)(pageIndex > 0 ? pageIndex : 0);
    copyField(e.backupPath, sizeof e.backupPath, backupPath);
    copyField(e.docPath, sizeof e.docPath, docPath);
    g_log.entries.push_back(e);
}

void fcDropBackup(HWND, const char *backupPath)
{
    if (!backupPath || !*backupPath)
        return;
    bool known = false;
    const int i = findEntry(backupPath);
    if (i >= 0) {
        g_log.entries.erase(g_log.entries.begin() + i);
        known = true;
        if (g_active)
            fcWriteAutoSaveLog(g_frame);
    }
    for (size_t k = 0; k < g_recovered.size(); ++k)
        if (lstrcmpiA(g_recovered[k].c_str(), backupPath) == 0) {
            g_recovered.erase(g_recovered.begin() + (long)k);
            known = true;
            break;
        }
    if (known)
        DeleteFileA(backupPath);
}

int fcIsBackupName(const char *path) { return findEntry(path) >= 0 ? 1 : 0; }

void fcResetAutoSaveLog() { g_log.entries.clear(); }

int fcGetLogCount() { return (int)g_log.entries.size(); }

BOOL fcGetLogEntry(int i, AutoSaveLogEntry *out)
{
    if (i < 0 || i >= (int)g_log.entries.size() || !out)
        return FALSE;
    *out = g_log.entries[(size_t)i];
    return TRUE;
}

uint16_t fcGetAutoSaveInterval() { return g_log.interval; }
void fcPutAutoSaveInterval(uint16_t minutes) { g_log.interval = minutes; }
BOOL fcIsAutoSaveActive() { return g_active; }
void fcSetAutoSaveActive(BOOL on) { g_active = on != 0; }

// ---- start and end -----------------------------------------------------------------------

int fcOfferBackups(HWND frame, MemHandle packet)
{
    Log log;
    if (!packet || !parseLog(packet, &log))
        return 0;
    // Every backup still there, newest first; one that does not read whole
    // (cut by a program killed while writing it) is named, never offered.
    struct Found {
        AutoSaveLogEntry entry;
        FILETIME written;
    };
    std::vector<Found> found;
    for (const AutoSaveLogEntry &e : log.entries) {
        const std::string backup = fieldText(e.backupPath, sizeof e.backupPath);
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (backup.empty() ||
            !GetFileAttributesExA(backup.c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        // An empty file is the name made for a first backup that was never
        // written (the program ended first): nothing to offer or report.
        if (data.nFileSizeLow == 0 && data.nFileSizeHigh == 0) {
            DeleteFileA(backup.c_str());
            continue;
        }
        bool listed = false;
        for (const Found &f : found)
            listed = listed || lstrcmpiA(f.entry.backupPath, e.backupPath) == 0;
        if (!listed)
            found.push_back(Found{e, data.ftLastWriteTime});
    }
    std::stable_sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
        return CompareFileTime(&a.written, &b.written) > 0;
    });
    int opened = 0;
    for (const Found &f : found) {
        const AutoSaveLogEntry &e = f.entry;
        const std::string backup = fieldText(e.backupPath, sizeof e.backupPath);
        const std::string doc = fieldText(e.docPath, sizeof e.docPath);
        const std::string when = fcBackupTimeText(f.written);
        if (!qmfIsWholeDocument(backup.c_str())) {
            std::vector<char> text(sizeof kUnreadable + backup.size() + doc.size() + when.size());
            snprintf(text.data(), text.size(), kUnreadable, backup.c_str(), doc.c_str(),
                     when.c_str());
            utMessageBox(frame, text.data(), MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        // The backup named with the time it was written.
        const std::string named = when.empty() ? backup : backup + " (saved " + when + ")";
        std::vector<char> text(sizeof kOffer + named.size() + doc.size());
        snprintf(text.data(), text.size(), kOffer, named.c_str(), doc.c_str());
        if (utMessageBox(frame, text.data(), MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
            DeleteFileA(backup.c_str());
            continue;
        }
        MemHandle path = utHandleFromString(backup.c_str());
        if (!path)
            continue;
        SendMessageA(frame, WM_COMMAND, 111, (LPARAM)path);
        HWND window = appFindDocWindowByFile(frame, backup.c_str());
        HWND ws = window ? dwGetWorkspace(window) : nullptr;
        if (!ws)
            continue;
        opened = 1;
        if (e.pageIndex != 0)
            SendMessageA(ws, WM_COMMAND, 619, (LPARAM)e.pageIndex);
        bindRecovered(ws, e);
    }
    return opened;
}

std::string fcBackupTimeText(FILETIME written)
{
    FILETIME local;
    SYSTEMTIME t;
    if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToSystemTime(&local, &t))
        return std::string();
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
             t.wMinute);
    return text;
}

void fcRunAutoSaveTimer()
{
    if (g_frame && g_timerId)
        SetTimer(g_frame, g_timerId, 60000, fcAutoSaveTimerProc);
}

void fcStopAutoSaveTimer()
{
    if (g_frame && g_timerId)
        KillTimer(g_frame, g_timerId);
}

void CALLBACK fcAutoSaveTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_timerRunning || prnIsPrinting())
        return;
    g_timerRunning = true;
    HWND client = g_frame ? appGetMdiClient(g_frame) : nullptr;
    if (client) {
        std::vector<HWND> workspaces;
        for (HWND w = GetWindow(client, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            if (!GetWindow(w, GW_OWNER))
                if (HWND ws = dwGetWorkspace(w))
                    workspaces.push_back(ws);
        for (HWND ws : workspaces)
            if (IsWindow(ws))
                SendMessageA(ws, WM_COMMAND, 921, 0);
    } else if (HWND ws = appGetActiveWorkspace()) {
        SendMessageA(ws, WM_COMMAND, 921, 0);
    }
    g_timerRunning = false;
}

BOOL fcInitAutoSave(HWND frame, UINT timerId, BOOL *reopened)
{
    if (reopened)
        *reopened = FALSE;
    g_active = appIsFirstInstance() != 0;
    if (!g_active)
        return FALSE;
    g_frame = frame;
    g_timerId = timerId;
    g_recovered.clear();
    g_log = Log();
    if (MemHandle packet = fcReadAutoSaveLog(frame)) {
        parseLog(packet, &g_log);
        // The backups are offered from the log as read; whatever the
        // answers, the log is empty afterwards.
        Log offered = g_log;
        g_log.entries.clear();
        if (!offered.entries.empty() && fcOfferBackups(frame, packet) && reopened)
            *reopened = TRUE;
        utFreeHandle(packet);
    }
    fcWriteAutoSaveLog(frame);
    fcRunAutoSaveTimer();
    return TRUE;
}

void fcStopAutoSave(HWND frame)
{
    if (!g_active)
        return;
    fcStopAutoSaveTimer();
    g_log.entries.clear();
    fcWriteAutoSaveLog(frame);
    g_log = Log();
    g_recovered.clear();
    g_active = false;
    g_frame = nullptr;
    g_timerId = 0;
}

// ---- writing a backup ----------------------------------------------------------------------

int fcAutoSaveDocument(HWND ws)
{
    if (!g_active)
        return 0;
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return 1;
    const int page = pvGetCurrentPageIndex(ws);
    char backup[UT_PATH_SIZE] = "";
    bool made = false;
    if (!wsGetBackupName(ws, backup, sizeof backup)) {
        char folder[UT_PATH_SIZE] = "";
        if (!GetTempPathA(sizeof folder, folder) || !ffIsFolder(folder))
            setGetHomeFilePath(folder, "");
        if (!GetTempFileNameA(folder, "~qm", 0, backup))
            return 1;
        made = true;
    }
    if (ws == appGetActiveWorkspace())
        pvCommitPage(ws);
    // The log names the backup before the backup is written: a program
    // killed in between leaves either the empty file made for a first
    // backup (dropped at the next start) or the previous whole backup
    // (replaced only once the new one is whole), and the log offers it.
    char doc[UT_PATH_SIZE] = "";
    if (!wsGetDocPath(ws, doc, sizeof doc))
        setGetHomeFilePath(doc, kUntitled);
    const int logged = fcGetLogCount();
    fcAddLogEntry(page, doc, backup);
    if (fcGetLogCount() != logged)
        fcWriteAutoSaveLog(g_frame);
    if (!qmfSaveDocument(ws, backup, wsGetDocument(ws), FALSE, FALSE)) {
        // A first backup that failed is neither kept nor logged; a later one
        // leaves the previous whole backup logged under its name.
        if (made)
            fcDropBackup(g_frame, backup);
        return 1;
    }
    if (made)
        wsSetBackupName(ws, backup);
    return 1;
}
