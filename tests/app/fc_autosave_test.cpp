// Auto-save: the minute ticks that write a backup of a changed document, the
// log "~qmats.log" written and read back (also damaged), a failed backup
// that is not logged, the backups offered at start-up and the recovered
// document bound to its own path.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "app/fc_autosave.h"
#include "app/app_frame.h"
#include "app/app_frame_docs.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/ob_links.h"
#include "model/qmf_read.h"
#include "model/qmf_save.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/win_filedlg.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_window.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;

int objectsOn(MemHandle page)
{
    int n = 0;
    for (MemHandle h = pgGetFirstObject(page); h; h = obGetNext(h))
        ++n;
    return n;
}

std::vector<uint8_t> fileBytes(const std::string &path)
{
    std::vector<uint8_t> bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return bytes;
    DWORD size = GetFileSize(f, nullptr), got = 0;
    bytes.resize(size);
    if (size)
        ReadFile(f, bytes.data(), size, &got, nullptr);
    CloseHandle(f);
    return bytes;
}

void writeBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(f);
}

std::vector<uint8_t> logOf(uint16_t count, const std::vector<AutoSaveLogEntry> &entries,
                           uint32_t length)
{
    std::vector<uint8_t> bytes(8 + 532 * entries.size());
    AutoSaveLogHead head = {length, 20, count};
    memcpy(bytes.data(), &head, 8);
    if (!entries.empty())
        memcpy(bytes.data() + 8, entries.data(), 532 * entries.size());
    return bytes;
}

AutoSaveLogEntry entryOf(int page, const std::string &backup, const std::string &doc)
{
    AutoSaveLogEntry e = {};
    e.pageIndex = (uint16_t)page;
    strncpy(e.backupPath, backup.c_str(), sizeof e.backupPath - 1);
    strncpy(e.docPath, doc.c_str(), sizeof e.docPath - 1);
    return e;
}

// Writes a one-page document holding one rectangle.
bool writeDocument(const std::string &path)
{
    MemHandle form = fmNew();
    MemHandle page = pgtest::newPage("p");
    pgtest::addObject(page, "box", 1440, 1440, 2880, 2880);
    pgDirAppend(form, page);
    HWND holder = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const bool ok = qmfSaveDocument(holder, path.c_str(), form, FALSE, FALSE) == 1;
    DestroyWindow(holder);
    fmFree(form);
    return ok;
}

// Sets the time the file was last written (local time); returns it as the
// system keeps it.
FILETIME setWritten(const std::string &path, int year, int month, int day, int hour, int minute)
{
    SYSTEMTIME t = {};
    t.wYear = (WORD)year;
    t.wMonth = (WORD)month;
    t.wDay = (WORD)day;
    t.wHour = (WORD)hour;
    t.wMinute = (WORD)minute;
    FILETIME local = {}, utc = {};
    SystemTimeToFileTime(&t, &local);
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    EXPECT_NE(f, INVALID_HANDLE_VALUE) << path;
    SetFileTime(f, nullptr, nullptr, &utc);
    CloseHandle(f);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

std::string g_saveAs;
BOOL answerSave(HWND, WinFileDlgRequest &request)
{
    utStrCopyN(request.path, g_saveAs.c_str(), 260);
    return TRUE;
}

class AutoSave : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    std::string logPath() { return home.file("~qmats.log"); }
    // The active document (made the test's own) and its path.
    std::string activeDocPath()
    {
        doc = appGetActiveDocWindow(frame);
        ws = dwGetWorkspace(doc);
        char path[260] = "";
        wsGetDocPath(ws, path, sizeof path);
        return path;
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            SendMessageA(ws, WM_COMMAND, 921, 0);
    }
};

TEST_F(AutoSave, AChangedDocumentIsBackedUpAtTheTwentyFirstTickAndSavingDropsTheBackup)
{
    ASSERT_TRUE(startWithDocument(&doc, &ws));
    ASSERT_TRUE(fcIsAutoSaveActive());
    EXPECT_EQ(fcGetAutoSaveInterval(), 20);
    EXPECT_EQ(fileBytes(logPath()).size(), 8u);

    // Never changed: no backup however many minutes pass.
    ticks(25);
    EXPECT_EQ(fcGetLogCount(), 0);
    char name[260];
    EXPECT_FALSE(wsGetBackupName(ws, name, sizeof name));

    // A fresh count: changed before the first tick, backed up at the 21st.
    SendMessageA(frame, WM_COMMAND, 100, 0);
    pump();
    doc = appGetActiveDocWindow(frame);
    ws = dwGetWorkspace(doc);
    pgtest::addObject(pvGetCurrentPage(ws), "box", 1440, 1440, 2880, 2880);
    wsMarkModified(ws);
    ticks(20);
    EXPECT_EQ(fcGetLogCount(), 0);
    ticks(1);
    ASSERT_EQ(fcGetLogCount(), 1);

    std::vector<uint8_t> log = fileBytes(logPath());
    ASSERT_EQ(log.size(), 8u + 532u);
    AutoSaveLogHead head;
    memcpy(&head, log.data(), 8);
    EXPECT_EQ(head.length, 540u);
    EXPECT_EQ(head.interval, 20);
    EXPECT_EQ(head.count, 1);
    AutoSaveLogEntry e;
    memcpy(&e, log.data() + 8, sizeof e);
    const std::string backup = e.backupPath;
    const std::string file = backup.substr(backup.find_last_of('\\') + 1);
    EXPECT_EQ(file.substr(0, 3), "~qm") << backup;
    EXPECT_EQ(file.substr(file.size() - 4), ".tmp") << backup;
    EXPECT_STRCASEEQ(e.docPath, home.file("untitled").c_str());
    EXPECT_TRUE(wsIsModified(ws)) << "a backup leaves the document modified";

    MemHandle page = 0;
    MemHandle back = qmfOpenDocument(nullptr, backup.c_str(), 0, &page);
    ASSERT_TRUE(back);
    EXPECT_EQ(objectsOn(page), 1);
    fmFree(back);

    // Saved: the backup and its entry go.
    g_saveAs = home.file("saved.qm");
    winSetFileDlgHook(answerSave);
    SendMessageA(frame, WM_COMMAND, 102, 0);
    pump();
    winSetFileDlgHook(nullptr);
    EXPECT_FALSE(wsIsModified(ws));
    EXPECT_FALSE(ffExists(backup.c_str()));
    EXPECT_EQ(fcGetLogCount(), 0);
    EXPECT_EQ(fileBytes(logPath()).size(), 8u);

    // Changed again and backed up by command 716, then the frame closes.
    wsMarkModified(ws);
    SendMessageA(frame, WM_COMMAND, 716, 0);
    ASSERT_EQ(fcGetLogCount(), 1);
    AutoSaveLogEntry second;
    ASSERT_TRUE(fcGetLogEntry(0, &second));
    EXPECT_STRCASEEQ(second.docPath, g_saveAs.c_str());
    BoxRecorder boxes;
    boxes.answer(IDNO);
    SendMessageA(frame, WM_CLOSE, 0, 0);
    frame = nullptr;
    EXPECT_EQ(fileBytes(logPath()).size(), 8u);
    EXPECT_FALSE(ffExists(second.backupPath));
}

TEST_F(AutoSave, AFailedBackupIsNotLoggedAndLeavesNoFile)
{
    ASSERT_TRUE(startWithDocument(&doc, &ws));
    qmtest::TempDir temp;
    char saved[MAX_PATH] = "", savedTmp[MAX_PATH] = "";
    GetEnvironmentVariableA("TEMP", saved, sizeof saved);
    GetEnvironmentVariableA("TMP", savedTmp, sizeof savedTmp);
    SetEnvironmentVariableA("TEMP", temp.path().c_str());
    SetEnvironmentVariableA("TMP", temp.path().c_str());
    wsMarkModified(ws);
    BoxRecorder boxes;
    ffSetWriteFault(FF_FAULT_DISK_FULL, 0);
    EXPECT_EQ(fcAutoSaveDocument(ws), 1);
    ffSetWriteFault(FF_FAULT_NONE, 0);
    SetEnvironmentVariableA("TEMP", saved);
    SetEnvironmentVariableA("TMP", savedTmp);
    EXPECT_EQ(fcGetLogCount(), 0);
    EXPECT_EQ(fileBytes(logPath()).size(), 8u);
    char name[260];
    EXPECT_FALSE(wsGetBackupName(ws, name, sizeof name));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((temp.path() + "\\~qm*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST_F(AutoSave, DamagedLogsAreReadOnlyAsFarAsTheyHold)
{
    ASSERT_TRUE(startWithDocument(&doc, &ws));
    const std::string a = home.file("~qmA.tmp"), b = home.file("~qmB.tmp");
    struct Case {
        const char *what;
        std::vector<uint8_t> bytes;
        bool read;
        int count;
    };
    std::vector<AutoSaveLogEntry> two = {entryOf(0, a, "C:\\a.qm"), entryOf(1, b, "C:\\b.qm")};
    std::vector<uint8_t> cut = logOf(2, two, 540 + 532);
    cut.resize(8 + 532 + 100);
    AutoSaveLogEntry open = entryOf(0, a, "C:\\a.qm");
    memset(open.backupPath, 'x', sizeof open.backupPath);
    memset(open.docPath, 'y', sizeof open.docPath);
    std::vector<Case> cases = {
        {"whole", logOf(2, two, 8 + 2 * 532), true, 2},
        {"count past the length", logOf(5, two, 8 + 2 * 532), true, 2},
        {"length past the file", cut, true, 1},
        {"length below the count", logOf(2, two, 8 + 532), true, 1},
        {"four bytes", {8, 0, 0, 0}, false, 0},
        {"no entries", logOf(0, {}, 8), true, 0},
        {"unterminated paths", logOf(1, {open}, 540), true, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(home.file("~qmats.log"), c.bytes);
        const long live = utLiveHandleCount();
        MemHandle log = fcReadAutoSaveLog(nullptr);
        EXPECT_EQ(log != 0, c.read);
        if (!log)
            continue;
        {
            MemLock<uint8_t> p(log);
            AutoSaveLogHead head;
            memcpy(&head, p.get(), 8);
            EXPECT_EQ(head.count, c.count);
            EXPECT_EQ(head.length, 8u + 532u * c.count);
            ASSERT_GE(utHandleSize(log), head.length);
            for (int i = 0; i < c.count; ++i) {
                AutoSaveLogEntry e;
                memcpy(&e, p.get() + 8 + 532 * i, sizeof e);
                EXPECT_LT(strnlen(e.backupPath, sizeof e.backupPath), sizeof e.backupPath);
                EXPECT_LT(strnlen(e.docPath, sizeof e.docPath), sizeof e.docPath);
            }
        }
        utFreeHandle(log);
        EXPECT_EQ(utLiveHandleCount(), live);
    }
}

TEST_F(AutoSave, TheStartOffersEachBackupAndOpensItUnderItsDocumentsPath)
{
    const std::string first = home.file("~qm1.tmp"), second = home.file("~qm2.tmp");
    ASSERT_TRUE(writeDocument(first));
    ASSERT_TRUE(writeDocument(second));
    // The newer backup is offered first: here the one listed first.
    const FILETIME firstTime = setWritten(first, 2026, 3, 4, 10, 30);
    const FILETIME secondTime = setWritten(second, 2026, 3, 4, 9, 15);
    const std::string docPath = home.file("report.qm");
    writeBytes(home.file("~qmats.log"),
               logOf(2, {entryOf(0, first, docPath), entryOf(0, second, home.file("untitled"))},
                     8 + 2 * 532));
    writeSettings(false);
    BoxRecorder boxes;
    boxes.answer(IDOK);
    boxes.answer(IDCANCEL);
    ASSERT_TRUE(start());
    ASSERT_EQ(boxes.count(), 2u) << boxes.texts();
    EXPECT_EQ(boxes.boxes()[0].text,
              "You have a backup file, " + first + " (saved " + fcBackupTimeText(firstTime) +
                  "), for " + docPath +
                  ". Open it now?\n (If you choose 'Cancel', the backup file will be deleted.)");
    EXPECT_EQ(boxes.boxes()[1].text,
              "You have a backup file, " + second + " (saved " + fcBackupTimeText(secondTime) +
                  "), for " + home.file("untitled") +
                  ". Open it now?\n (If you choose 'Cancel', the backup file will be deleted.)");
    EXPECT_EQ(fcBackupTimeText(firstTime), "2026-03-04 10:30");
    EXPECT_EQ(boxes.boxes()[0].flags & MB_OKCANCEL, (UINT)MB_OKCANCEL);
    EXPECT_FALSE(ffExists(second.c_str()));
    EXPECT_EQ(fileBytes(home.file("~qmats.log")).size(), 8u);
    // The backup is the only document: no welcome and no new document.
    ASSERT_EQ(docCount(), 1);
    EXPECT_STRCASEEQ(activeDocPath().c_str(), docPath.c_str());
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_EQ(objectsOn(pvGetCurrentPage(ws)), 1);

    // Saved under its own path, then the backup is gone.
    SendMessageA(frame, WM_COMMAND, 102, 0);
    pump();
    EXPECT_TRUE(ffExists(docPath.c_str()));
    EXPECT_FALSE(ffExists(first.c_str()));
    MemHandle page = 0;
    MemHandle back = qmfOpenDocument(nullptr, docPath.c_str(), 0, &page);
    ASSERT_TRUE(back);
    EXPECT_EQ(objectsOn(page), 1);
    fmFree(back);
}

// A backup whose writing failed or was cut off: the previous backup stays
// whole under its name and the log still lists it.
TEST_F(AutoSave, ABackupCutOffLeavesThePreviousOneWhole)
{
    ASSERT_TRUE(startWithDocument(&doc, &ws));
    pgtest::addObject(pvGetCurrentPage(ws), "box", 1440, 1440, 2880, 2880);
    wsMarkModified(ws);
    ASSERT_EQ(fcAutoSaveDocument(ws), 1);
    AutoSaveLogEntry e;
    ASSERT_TRUE(fcGetLogEntry(0, &e));
    const std::vector<uint8_t> backup = fileBytes(e.backupPath), log = fileBytes(logPath());
    ASSERT_FALSE(backup.empty());
    pgtest::addObject(pvGetCurrentPage(ws), "box2", 4000, 1440, 5000, 2880);
    wsMarkModified(ws);
    for (uint64_t at : {(uint64_t)0, (uint64_t)41, (uint64_t)backup.size() / 2,
                        (uint64_t)backup.size() - 1}) {
        BoxRecorder boxes;
        ffSetWriteFault(FF_FAULT_DISK_FULL, at);
        fcAutoSaveDocument(ws);
        ffSetWriteFault(FF_FAULT_NONE, 0);
        EXPECT_EQ(fileBytes(e.backupPath), backup) << "cut at " << at;
        EXPECT_EQ(fileBytes(logPath()), log) << "cut at " << at;
        EXPECT_TRUE(qmfIsWholeDocument(e.backupPath));
    }
    // Written whole, the backup holds both boxes.
    ASSERT_EQ(fcAutoSaveDocument(ws), 1);
    MemHandle page = 0;
    MemHandle back = qmfOpenDocument(nullptr, e.backupPath, 0, &page);
    ASSERT_TRUE(back);
    EXPECT_EQ(objectsOn(page), 2);
    fmFree(back);
}

// At the start every complete backup is offered, newest first; a backup
// that does not read to its end is named in a box of its own, never
// offered, and left where it is.
TEST_F(AutoSave, ACutBackupIsNamedNotOfferedAndTheWholeOnesComeNewestFirst)
{
    const std::string older = home.file("~qm1.tmp"), cut = home.file("~qm2.tmp"),
                      newer = home.file("~qm3.tmp");
    ASSERT_TRUE(writeDocument(older));
    ASSERT_TRUE(writeDocument(newer));
    std::vector<uint8_t> whole = fileBytes(newer);
    writeBytes(cut, std::vector<uint8_t>(whole.begin(), whole.begin() + (long)whole.size() / 2));
    const FILETIME olderTime = setWritten(older, 2026, 5, 1, 8, 0);
    const FILETIME cutTime = setWritten(cut, 2026, 5, 1, 9, 0);
    const FILETIME newerTime = setWritten(newer, 2026, 5, 1, 10, 0);
    const std::string a = home.file("a.qm"), b = home.file("b.qm"), c = home.file("c.qm");
    writeBytes(logPath(), logOf(3, {entryOf(0, older, a), entryOf(0, cut, b), entryOf(0, newer, c)},
                                8 + 3 * 532));
    writeSettings(false);
    BoxRecorder boxes;
    boxes.answer(IDOK);       // the newer backup: opened
    boxes.answer(IDOK);       // the cut backup's box
    boxes.answer(IDCANCEL);   // the older one: deleted
    ASSERT_TRUE(start());
    ASSERT_EQ(boxes.count(), 3u) << boxes.texts();
    const std::string tail = ". Open it now?\n (If you choose 'Cancel', the backup file will be deleted.)";
    EXPECT_EQ(boxes.boxes()[0].text, "You have a backup file, " + newer + " (saved " +
                                         fcBackupTimeText(newerTime) + "), for " + c + tail);
    EXPECT_EQ(boxes.boxes()[1].text,
              "The backup file " + cut + ", for " + b + ", saved " + fcBackupTimeText(cutTime) +
                  ", cannot be read: it was not written to its end. It is not offered and is "
                  "left where it is.");
    EXPECT_EQ(boxes.boxes()[2].text, "You have a backup file, " + older + " (saved " +
                                         fcBackupTimeText(olderTime) + "), for " + a + tail);
    EXPECT_TRUE(ffExists(cut.c_str()));
    EXPECT_FALSE(ffExists(older.c_str()));
    ASSERT_EQ(docCount(), 1);
    EXPECT_STRCASEEQ(activeDocPath().c_str(), c.c_str());
    EXPECT_EQ(objectsOn(pvGetCurrentPage(ws)), 1);
    DeleteFileA(cut.c_str());
}

// ---- an auto-save killed at any moment ----------------------------------------------------

// The child of the test below, in a process of its own: the program with
// its home in QM_HOME and its backups in QM_TEMP writes a first backup of a
// changed document and is ended, as by a kill, after QM_KILL_AT bytes.
TEST_F(AutoSave, DISABLED_ChildFirstBackup)
{
    const std::string at = qmtest::environmentValue("QM_KILL_AT");
    const std::string temp = qmtest::environmentValue("QM_TEMP");
    ASSERT_FALSE(at.empty() || temp.empty());
    setPutString("UserHomeDir", qmtest::environmentValue("QM_HOME").c_str());
    ASSERT_TRUE(startWithDocument(&doc, &ws));
    SetEnvironmentVariableA("TEMP", temp.c_str());
    SetEnvironmentVariableA("TMP", temp.c_str());
    pgtest::addObject(pvGetCurrentPage(ws), "box", 1440, 1440, 2880, 2880);
    wsMarkModified(ws);
    ffSetWriteFault(FF_FAULT_KILL, std::stoull(at));
    EXPECT_EQ(fcAutoSaveDocument(ws), 1);
    // Not killed during the backup: ended right after it, before the
    // program could close and drop its backups.
    TerminateProcess(GetCurrentProcess(), 0);
}

// Whenever the program ends during its first auto-save, a backup that is
// whole is in the log and offered at the next start; the empty name made
// for a backup never written is dropped without a word.
TEST_F(AutoSave, AKilledFirstBackupIsOfferedWhenWholeAndDroppedWhenNeverWritten)
{
    ASSERT_TRUE(startWithDocument(&doc, &ws));
    qmtest::TempDir temp, childHome;
    const std::string child =
        "--gtest_filter=AutoSave.DISABLED_ChildFirstBackup --gtest_also_run_disabled_tests";
    // Let through first: the size of a whole backup gives the byte counts
    // around the end of the backup and of the log (532 + 8 bytes).
    std::vector<uint64_t> counts = {100000000, 0, 8, 540, 541, 600};
    uint64_t backupSize = 0;
    for (size_t k = 0; k < counts.size(); ++k) {
        const uint64_t at = counts[k];
        const std::string what = "killed after " + std::to_string(at) + " bytes";
        const int code = qmtest::runSelf(child, {{"QM_KILL_AT", std::to_string(at)},
                                                 {"QM_TEMP", temp.path()},
                                                 {"QM_HOME", childHome.path()}});
        EXPECT_TRUE(code == 3 || code == 0) << what << ": exit " << code;
        // The child shares the registry: the home is this program's again.
        setPutString("UserHomeDir", home.path().c_str());
        // Every whole backup left in the folder is named by the log.
        std::vector<std::string> whole, empty;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((temp.path() + "\\~qm*.tmp").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string path = temp.file(found.cFileName);
                if (qmfIsWholeDocument(path.c_str()))
                    whole.push_back(path);
                else if (fileBytes(path).empty())
                    empty.push_back(path);
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        if (at == 100000000) {
            ASSERT_EQ(whole.size(), 1u) << "let through, the backup is written and logged";
            backupSize = fileBytes(whole[0]).size();
            for (uint64_t around : {backupSize - 1, backupSize, backupSize + 100, backupSize + 539})
                counts.push_back(around);
        }
        const std::vector<uint8_t> log = fileBytes(childHome.file("~qmats.log"));
        std::vector<std::string> logged;
        for (size_t i = 0; 8 + 532 * (i + 1) <= log.size(); ++i) {
            AutoSaveLogEntry e;
            memcpy(&e, log.data() + 8 + 532 * i, sizeof e);
            logged.push_back(e.backupPath);
        }
        for (const std::string &w : whole) {
            bool named = false;
            for (const std::string &l : logged)
                named = named || lstrcmpiA(l.c_str(), w.c_str()) == 0;
            EXPECT_TRUE(named) << what << ": " << w << " is whole and not in the log";
        }
        // The next start: the whole backup is offered (and here refused,
        // which deletes it), the never-written one goes without a box.
        BoxRecorder boxes;
        boxes.answer(IDCANCEL);
        MemHandle packet = log.empty() ? 0 : utHandleFromBytes(log.data(), (uint32_t)log.size());
        EXPECT_EQ(fcOfferBackups(frame, packet), 0) << what;
        utFreeHandle(packet);
        EXPECT_EQ(boxes.count(), whole.size()) << what << ": " << boxes.texts();
        // (Killed while the log itself was written, the empty name is in no
        // log: a stray empty file in the temporary folder, nothing lost.)
        for (const std::string &e : empty) {
            bool named = false;
            for (const std::string &l : logged)
                named = named || lstrcmpiA(l.c_str(), e.c_str()) == 0;
            if (named) {
                EXPECT_FALSE(ffExists(e.c_str())) << what << ": the empty name is dropped";
            }
        }
        for (const std::string &w : whole)
            EXPECT_FALSE(ffExists(w.c_str())) << what;
        // What a killed writer left under a temporary name of its own.
        search = FindFirstFileA((temp.path() + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA(temp.file(found.cFileName).c_str());
            while (FindNextFileA(search, &found));
            FindClose(search);
        }
        DeleteFileA(childHome.file("~qmats.log").c_str());
    }
}

}  // namespace
