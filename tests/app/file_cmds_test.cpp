// The file commands on a running frame: the names a save refuses, Save and
// Save As of an untitled document, the read-only question, opening a path
// that is already open, merging another file's pages, reloading, and the
// transient last object that stays out of the file.
#include "tests/app/app_fixture.h"
#include "tests/model/ob_kit.h"
#include "tests/forms/fld_kit.h"
#include "tests/support/kit_dialog.h"
#include "app/app_frame_docs.h"
#include "app/fc_autosave.h"
#include "app/fc_file_cmds.h"
#include "model/qmf_save.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/qmf_read.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_filedlg.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include <deque>
#include <string>
#include <vector>

using apptest::App;
using qmtest::BoxRecorder;

namespace {

const char kWarning[] = "Quillmark Draw Warning";
const char kProgramExt[] = "Can not save with .exe nor .dll file extension";

// The scripted file dialog: what it was shown, and the answers it gives in
// turn (an empty answer cancels; no answer left cancels too).
struct DialogCall {
    bool save;
    std::string caption, path;
};
std::vector<DialogCall> g_calls;
std::deque<std::string> g_answers;

BOOL scriptedDialog(HWND, WinFileDlgRequest &r)
{
    g_calls.push_back({r.save, r.caption ? r.caption : "", r.path});
    if (g_answers.empty())
        return FALSE;
    std::string answer = g_answers.front();
    g_answers.pop_front();
    if (answer.empty())
        return FALSE;
    utStrCopyN(r.path, answer.c_str(), 260);
    return TRUE;
}

std::string windowText(HWND w)
{
    char text[600];
    GetWindowTextA(w, text, sizeof(text));
    return text;
}

// The object types of a page's top-level list, in order.
std::vector<int> typesOf(MemHandle page)
{
    std::vector<int> types;
    for (MemHandle h = pgGetFirstObject(page); h; h = obGetNext(h))
        types.push_back(obGetType(h));
    return types;
}

// A document file read back: the object types of each page, and whether it
// holds a base page.
struct ReadBack {
    std::vector<std::vector<int>> pages;
    bool basePage = false;
    bool ok = false;
};
ReadBack readBack(const std::string &path)
{
    ReadBack r;
    MemHandle form = qmfOpenDocument(nullptr, path.c_str(), -1, nullptr);
    if (!form)
        return r;
    r.ok = true;
    r.basePage = fmGetBasePage(form) != 0;
    for (int i = 0; i < fmGetPageCount(form); ++i) {
        MemHandle page = qmfReadPageAt(path.c_str(), fmGetDirectory(form), i);
        r.pages.push_back(typesOf(page));
        pgFreeList(page);
    }
    fmFree(form);
    return r;
}

class FileCmds : public App {
protected:
    HWND doc = nullptr, ws = nullptr;

    void SetUp() override
    {
        App::SetUp();
        g_calls.clear();
        g_answers.clear();
        winSetFileDlgHook(scriptedDialog);
        fcResetFileCommands();
        fcResetAutoSaveLog();
        writeSettings(false);
        ASSERT_TRUE(start());
        ASSERT_EQ(1, docCount());
        setPutLastFolder((home.path() + "\\").c_str());
        doc = appGetActiveDocWindow(frame);
        ws = dwGetWorkspace(doc);
        ASSERT_TRUE(ws != nullptr);
    }
    void TearDown() override
    {
        winSetFileDlgHook(nullptr);
        fcResetAutoSaveLog();
        App::TearDown();
    }
    MemHandle page() { return pvGetCurrentPage(ws); }
    MemHandle addObject(int16_t type, int32_t l, int32_t t, int32_t r, int32_t b)
    {
        MemHandle h = obtest::make(type, l, t, r, b);
        pgAppendObject(page(), h);
        wsMarkModified(ws);
        return h;
    }
    // Saves the untitled document of the workspace under the offered name.
    std::string saveUntitled(HWND w)
    {
        g_answers.push_back(home.file("qmDoc" + std::to_string(fcGetUntitledCounter()) + ".qm"));
        std::string name = g_answers.back();
        EXPECT_TRUE(fcSaveCommand(w));
        return name;
    }
    // A document file of pages holding the given object types, with a base
    // page holding one object when asked.
    std::string writeFile(const std::string &name, const std::vector<std::vector<int>> &pages,
                          bool basePage)
    {
        MemHandle form = fmNew();
        for (const auto &types : pages) {
            MemHandle p = pgNewRecord(0);
            for (int t : types)
                pgAppendObject(p, obtest::make((int16_t)t, 100, 100, 900, 700));
            pgDirAppend(form, p);
        }
        if (basePage) {
            MemHandle base = pgNewRecord(0);
            pgAppendObject(base, obtest::make(OBT_ELLIPSE, 0, 0, 50, 50));
            fmSetBasePage(form, base);
        }
        std::string path = home.file(name);
        EXPECT_TRUE(qmfSaveDocument(nullptr, path.c_str(), form, FALSE, TRUE));
        fmFree(form);
        return path;
    }
};

TEST_F(FileCmds, SaveNamesThatAreRefused)
{
    std::string other = writeFile("other.qm", {{OBT_RECTANGLE}}, false);
    wsMarkModified(ws);
    HWND otherDoc = fcOpenDocument(frame, other.c_str());
    ASSERT_TRUE(otherDoc != nullptr);
    SendMessageA(appGetMdiClient(frame), WM_MDIACTIVATE, (WPARAM)doc, 0);
    addObject(OBT_RECTANGLE, 0, 0, 1440, 1440);
    std::string backup = home.file("~qm1A2.tmp");
    fcAddLogEntry(0, other.c_str(), backup.c_str());

    std::string upperOther = other;
    for (char &c : upperOther)
        c = (char)toupper((unsigned char)c);
    struct Case {
        std::string name, message;   // an empty message: the name is taken
    } cases[] = {
        {home.file("x.EXE"), kProgramExt},
        {home.file("y.Dll"), kProgramExt},
        {home.file("z.exe.qm"), ""},
        {upperOther, "Can not save to \r\n" + upperOther +
                         " \r\n because the file is currently opened.\r\n Please select another "
                         "file name."},
        {backup, backup + " has been used as an auto-save file"},
        {home.file("~qmOther.tmp"), ""},
        {home.file("no extension"), ""},
    };
    for (const Case &c : cases) {
        BoxRecorder boxes;
        g_answers = {c.name};
        int saved = fcSaveAsCommand(ws);
        if (c.message.empty()) {
            EXPECT_TRUE(saved) << c.name;
            EXPECT_EQ(0u, boxes.count()) << boxes.texts();
            EXPECT_TRUE(ffExists(c.name.c_str())) << c.name;
            char path[260];
            wsGetDocPath(ws, path);
            EXPECT_EQ(c.name, path);
            // Back to an untitled, modified document for the next case.
            wsSetDocPath(ws, "");
            wsMarkModified(ws);
        } else {
            EXPECT_FALSE(saved) << c.name;
            ASSERT_EQ(1u, boxes.count()) << c.name;
            EXPECT_EQ(kWarning, boxes.last().caption);
            EXPECT_EQ(c.message, boxes.last().text);
            if (lstrcmpiA(c.name.c_str(), other.c_str()) != 0) {
                EXPECT_FALSE(ffExists(c.name.c_str())) << c.name;
            }
            EXPECT_FALSE(wsDocHasPath(ws));
            EXPECT_TRUE(wsIsModified(ws));
        }
    }
    EXPECT_EQ(readBack(other).pages, (std::vector<std::vector<int>>{{OBT_RECTANGLE}}));
}

TEST_F(FileCmds, SaveOfAnUntitledDocumentNamesItAndReadsBack)
{
    addObject(OBT_RECTANGLE, 1440, 1440, 2880, 2160);
    addObject(OBT_ELLIPSE, 100, 100, 500, 500);
    MemHandle second = pgNewRecord(0);
    pgAppendObject(second, obtest::make(OBT_ROUNDRECT, 0, 0, 800, 800));
    ASSERT_GE(pgDirAppend(wsGetDocument(ws), second), 0);

    std::string first = home.file("qmDoc1.qm");
    g_answers = {first};
    BoxRecorder boxes;
    ASSERT_TRUE(fcSaveCommand(ws));   // 102 without a path is Save As
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_TRUE(g_calls[0].save);
    EXPECT_EQ("Save As", g_calls[0].caption);
    EXPECT_EQ(first, g_calls[0].path);   // offered in the last folder

    ReadBack back = readBack(first);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.pages,
              (std::vector<std::vector<int>>{{OBT_RECTANGLE, OBT_ELLIPSE}, {OBT_ROUNDRECT}}));
    EXPECT_FALSE(back.basePage);
    EXPECT_FALSE(wsIsModified(ws));
    EXPECT_EQ(0u, windowText(doc).find(first)) << windowText(doc);
    EXPECT_EQ(std::string::npos, windowText(doc).find(" *"));
    char recent[260];
    ASSERT_TRUE(utGetFirstRecentFile(recent));
    EXPECT_EQ(0, lstrcmpiA(first.c_str(), recent));
    char last[260];
    EXPECT_STREQ("qmDoc1.qm", setGetLastFileName(last));

    // The next untitled document is offered the next number; a cancelled
    // dialog changes nothing.
    HWND nextDoc = fcNewDocumentDefaultPage(frame);
    HWND next = dwGetWorkspace(nextDoc);
    g_calls.clear();
    g_answers = {""};
    EXPECT_FALSE(fcSaveAsCommand(next));
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_EQ(home.file("qmDoc2.qm"), g_calls[0].path);
    EXPECT_EQ(2u, fcGetUntitledCounter());

    // Save to the own file: no dialog, no question.
    addObject(OBT_RECTANGLE, 0, 0, 100, 100);
    g_calls.clear();
    EXPECT_TRUE(fcSaveCommand(ws));
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(3u, readBack(first).pages[0].size());
    EXPECT_EQ(2u, fcGetUntitledCounter());
}

TEST_F(FileCmds, ReadOnlyOwnFileIsOverwrittenOnlyWhenTheUserAgrees)
{
    addObject(OBT_RECTANGLE, 0, 0, 100, 100);
    std::string path = saveUntitled(ws);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    std::vector<uint8_t> before = qmtest::readFile(path);
    addObject(OBT_ELLIPSE, 0, 0, 100, 100);

    BoxRecorder boxes;
    boxes.answer(IDCANCEL);
    EXPECT_FALSE(fcSaveCommand(ws));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(path + " \r\nis read-only.  Go ahead and overwrite it?", boxes.last().text);
    EXPECT_TRUE(boxes.last().flags & MB_OKCANCEL);
    EXPECT_EQ(before, qmtest::readFile(path));
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_EQ(2u, typesOf(page()).size());

    // Save As to the own path in other letters asks the same, and nothing
    // about overwriting; OK writes.
    std::string upper = path;
    for (char &c : upper)
        c = (char)toupper((unsigned char)c);
    g_answers = {upper};
    boxes.answer(IDOK);
    EXPECT_TRUE(fcSaveAsCommand(ws));
    ASSERT_EQ(2u, boxes.count()) << boxes.texts();
    EXPECT_EQ(upper + " \r\nis read-only.  Go ahead and overwrite it?", boxes.last().text);
    EXPECT_EQ(readBack(path).pages,
              (std::vector<std::vector<int>>{{OBT_RECTANGLE, OBT_ELLIPSE}}));
    EXPECT_FALSE(wsIsModified(ws));
    // The file keeps the attribute the user gave it: the next save asks again.
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    wsMarkModified(ws);
    boxes.answer(IDCANCEL);
    EXPECT_FALSE(fcSaveCommand(ws));
    EXPECT_EQ(3u, boxes.count());
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileCmds, SaveAsOverAnotherFileAsksFirst)
{
    addObject(OBT_RECTANGLE, 0, 0, 100, 100);
    std::string target = writeFile("target.qm", {{OBT_ELLIPSE}, {OBT_ROUNDRECT}}, false);
    std::vector<uint8_t> before = qmtest::readFile(target);
    BoxRecorder boxes;
    boxes.answer(IDCANCEL);
    g_answers = {target};
    EXPECT_FALSE(fcSaveAsCommand(ws));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("File: \r\n" + target + "\r\nexists. Please select OK to overwrite.",
              boxes.last().text);
    EXPECT_EQ(before, qmtest::readFile(target));
    EXPECT_FALSE(wsDocHasPath(ws));
    EXPECT_EQ(1u, fcGetUntitledCounter());

    boxes.answer(IDOK);
    g_answers = {target};
    EXPECT_TRUE(fcSaveAsCommand(ws));
    EXPECT_EQ(readBack(target).pages, (std::vector<std::vector<int>>{{OBT_RECTANGLE}}));
    EXPECT_EQ(2u, fcGetUntitledCounter());   // the offered name was the untitled one
}

TEST_F(FileCmds, ConfirmationAndReportFilesGuardTheOwnFile)
{
    addObject(OBT_RECTANGLE, 0, 0, 100, 100);
    std::string path = saveUntitled(ws);
    std::vector<uint8_t> saved = qmtest::readFile(path);
    addObject(OBT_ELLIPSE, 0, 0, 100, 100);

    // A document that asks before it is saved over its own file.
    MemHandle form = wsGetDocument(ws);
    fmSetOptions(form, (uint16_t)(fmGetOptions(form) | FM_OPT_FLAG1000));
    BoxRecorder boxes;
    boxes.answer(IDNO);
    EXPECT_FALSE(fcSaveCommand(ws));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("You are trying to save a file that requires confirmation.  Save now?",
              boxes.last().text);
    EXPECT_TRUE(boxes.last().flags & MB_YESNO);
    EXPECT_EQ(saved, qmtest::readFile(path));
    fmSetOptions(form, (uint16_t)(fmGetOptions(form) & ~FM_OPT_FLAG1000));

    // A report is never written back over the file it came from.
    {
        WorkspaceRecord *r = wsLockRecord(ws);
        r->viewFlags |= WS_VIEW_RULER_FLAG;
        wsUnlockRecord(ws);
    }
    EXPECT_FALSE(fcSaveCommand(ws));
    ASSERT_EQ(2u, boxes.count());
    EXPECT_EQ("Can not save to the original file because it is a report file.", boxes.last().text);
    EXPECT_EQ("Quillmark Draw Error", boxes.last().caption);
    EXPECT_EQ(saved, qmtest::readFile(path));
    EXPECT_TRUE(wsIsModified(ws));
    // Its Save As starts from the untitled name, not from the file.
    g_answers = {""};
    fcSaveAsCommand(ws);
    EXPECT_EQ(home.file("qmDoc2.qm"), g_calls.back().path);
}

TEST_F(FileCmds, OpeningAnOpenPathActivatesItsWindowAndReadsNothing)
{
    std::string path = writeFile("open.qm", {{OBT_RECTANGLE}}, false);
    wsMarkModified(ws);
    HWND opened = fcOpenDocument(frame, path.c_str());
    ASSERT_TRUE(opened != nullptr);
    fcNewDocumentDefaultPage(frame);
    ASSERT_EQ(3, docCount());
    ASSERT_NE(opened, appGetActiveDocWindow(frame));

    // The file is now damaged: reading it would fail with a message.
    ASSERT_TRUE(qmtest::writeFile(path, std::string(100, 'x')));
    setPutLastFolder("C:\\");
    std::string upper = path;
    for (char &c : upper)
        c = (char)toupper((unsigned char)c);
    BoxRecorder boxes;
    EXPECT_EQ(opened, fcOpenDocument(frame, upper.c_str()));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(3, docCount());
    EXPECT_EQ(opened, appGetActiveDocWindow(frame));
    char last[260];
    EXPECT_EQ(0, lstrcmpiA((home.path() + "\\").c_str(), setGetLastFolder(last)));
    EXPECT_STREQ("OPEN.QM", setGetLastFileName(last));
}

TEST_F(FileCmds, MergeAppendsThePagesButNotTheBasePage)
{
    addObject(OBT_ROUNDRECT, 0, 0, 100, 100);
    std::string own = saveUntitled(ws);
    std::string source =
        writeFile("two pages.qm", {{OBT_RECTANGLE}, {OBT_ELLIPSE, OBT_RECTANGLE}}, true);
    ASSERT_FALSE(wsIsModified(ws));

    // Cancelled: nothing changes.
    g_calls.clear();
    g_answers = {""};
    EXPECT_FALSE(fcMergeCommand(ws));
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_FALSE(g_calls[0].save);
    EXPECT_EQ("Select a file to merge", g_calls[0].caption);
    EXPECT_EQ(1, pvGetPageCount(ws));
    EXPECT_FALSE(wsIsModified(ws));

    BoxRecorder boxes;
    g_answers = {source};
    EXPECT_EQ(1, fcMergeCommand(ws));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    MemHandle form = wsGetDocument(ws);
    ASSERT_EQ(3, fmGetPageCount(form));
    EXPECT_EQ(0u, fmGetBasePage(form));
    MemHandle dir = fmGetDirectory(form);
    EXPECT_EQ((std::vector<int>{OBT_RECTANGLE}), typesOf(pgDirGetPages(dir, 1)));
    EXPECT_EQ((std::vector<int>{OBT_ELLIPSE, OBT_RECTANGLE}), typesOf(pgDirGetPages(dir, 2)));
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_NE(std::string::npos, windowText(doc).find(" of 3")) << windowText(doc);

    // The merged pages are saved with the document.
    EXPECT_TRUE(fcSaveCommand(ws));
    EXPECT_EQ(readBack(own).pages,
              (std::vector<std::vector<int>>{
                  {OBT_ROUNDRECT}, {OBT_RECTANGLE}, {OBT_ELLIPSE, OBT_RECTANGLE}}));

    // A protected file is merged only with its password: refused here,
    // with nothing added and nothing left allocated.
    MemHandle locked = fmNew();
    MemHandle lockedPage = pgNewRecord(0);
    pgAppendObject(lockedPage, obtest::make(OBT_RECTANGLE, 0, 0, 90, 90));
    pgDirAppend(locked, lockedPage);
    locked = fmSetPassword(locked, "secret");
    std::string lockedPath = home.file("locked.qm");
    ASSERT_TRUE(qmfSaveDocument(nullptr, lockedPath.c_str(), locked, FALSE, TRUE));
    fmFree(locked);
    long handles = qmtest::liveHandles();
    wsClearModified(ws);
    g_answers = {lockedPath};
    {
        qmtest::DialogDriver refuse({[](HWND d) { qmtest::sendCommand(d, IDCANCEL); }});
        EXPECT_FALSE(fcMergeCommand(ws));
        EXPECT_EQ(1u, refuse.ran());
    }
    EXPECT_EQ(3, fmGetPageCount(wsGetDocument(ws)));
    EXPECT_FALSE(wsIsModified(ws));
    EXPECT_EQ(handles, qmtest::liveHandles());

    // A file that is not a document is refused by the reader.
    std::string text = home.file("text.qm");
    ASSERT_TRUE(qmtest::writeFile(text, std::string(80, 't')));
    g_answers = {text};
    EXPECT_FALSE(fcMergeCommand(ws));
    EXPECT_EQ(3, fmGetPageCount(wsGetDocument(ws)));
    EXPECT_GE(boxes.count(), 1u);
}

TEST_F(FileCmds, ReloadTakesTheFileBackAndNeedsOne)
{
    BoxRecorder boxes;
    EXPECT_FALSE(fcReloadDocument(ws));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("File not saved.  Can not reload.", boxes.last().text);

    addObject(OBT_RECTANGLE, 0, 0, 100, 100);
    std::string path = saveUntitled(ws);
    addObject(OBT_ELLIPSE, 0, 0, 100, 100);
    addObject(OBT_ROUNDRECT, 0, 0, 100, 100);
    ASSERT_TRUE(wsIsModified(ws));
    EXPECT_TRUE(fcReloadDocument(ws));
    pump();
    EXPECT_EQ((std::vector<int>{OBT_RECTANGLE}), typesOf(page()));
    EXPECT_FALSE(wsIsModified(ws));
    char own[260];
    wsGetDocPath(ws, own);
    EXPECT_EQ(path, own);

    // The reloaded document saves over its own file again.
    MemHandle second = pgNewRecord(0);
    pgAppendObject(second, obtest::make(OBT_ELLIPSE, 0, 0, 200, 200));
    ASSERT_GE(pgDirAppend(wsGetDocument(ws), second), 0);
    addObject(OBT_ROUNDRECT, 0, 0, 100, 100);
    EXPECT_TRUE(fcSaveCommand(ws));
    EXPECT_EQ(readBack(path).pages,
              (std::vector<std::vector<int>>{{OBT_RECTANGLE, OBT_ROUNDRECT}, {OBT_ELLIPSE}}));
    EXPECT_TRUE(fcReloadDocument(ws));
    pump();
    EXPECT_EQ(2, pvGetPageCount(ws));
    EXPECT_EQ((std::vector<int>{OBT_RECTANGLE, OBT_ROUNDRECT}), typesOf(page()));
    MemHandle rect = pgGetFirstObject(page());   // the rectangle goes
    pgSetFirstObject(page(), obGetNext(rect));
    obSetNext(rect, 0);
    obFreeTree(rect);
    wsMarkModified(ws);
    EXPECT_TRUE(fcSaveCommand(ws));
    EXPECT_EQ(readBack(path).pages,
              (std::vector<std::vector<int>>{{OBT_ROUNDRECT}, {OBT_ELLIPSE}}));
    EXPECT_TRUE(fcReloadDocument(ws));
    pump();

    // A file that can no longer be read leaves the document as it is.
    addObject(OBT_ELLIPSE, 0, 0, 100, 100);
    ASSERT_TRUE(qmtest::writeFile(path, std::string(100, 'x')));
    boxes.clear();
    EXPECT_FALSE(fcReloadDocument(ws));
    ASSERT_GE(boxes.count(), 1u);
    EXPECT_EQ("Reload failed.", boxes.last().text);
    EXPECT_EQ((std::vector<int>{OBT_ROUNDRECT, OBT_ELLIPSE}), typesOf(page()));
    EXPECT_TRUE(wsIsModified(ws));
}

TEST_F(FileCmds, TransientLastObjectStaysOutOfTheFileAndComesBack)
{
    // Alone on its page, and after another object.
    for (int others : {0, 1}) {
        HWND w = dwGetWorkspace(fcNewDocumentDefaultPage(frame));
        MemHandle p = pvGetCurrentPage(w);
        MemHandle kept = others ? obtest::make(OBT_RECTANGLE, 0, 0, 500, 500) : 0;
        if (kept)
            pgAppendObject(p, kept);
        MemHandle transient = obtest::make(OBT_ELLIPSE, 0, 0, 300, 300);
        {
            ObLock r(transient);
            r->flags |= FC_TRANSIENT_FLAG;
        }
        pgAppendObject(p, transient);
        wsMarkModified(w);

        std::string path = saveUntitled(w);
        std::vector<int> expected;
        if (kept)
            expected.push_back(OBT_RECTANGLE);
        EXPECT_EQ(readBack(path).pages, (std::vector<std::vector<int>>{expected})) << others;

        // The list is whole again, in its order.
        p = pvGetCurrentPage(w);
        expected.push_back(OBT_ELLIPSE);
        EXPECT_EQ(expected, typesOf(p)) << others;
        EXPECT_EQ(transient, pgGetLastObject(p));
        EXPECT_EQ(kept, obGetPrev(transient));
    }
}

}  // namespace

namespace {

TEST_F(FileCmds, QuickNotesAreNamedInTheirFolderAndKeepNoPathWhenSaved)
{
    std::string folder = home.file("notes");
    ASSERT_TRUE(setPutString("QuickNotePath", folder.c_str()));
    HWND noteDoc = fcNewQuickNote(frame);
    ASSERT_TRUE(noteDoc != nullptr);
    HWND note = dwGetWorkspace(noteDoc);
    EXPECT_TRUE(wsIsQuickNote(note));
    EXPECT_TRUE(ffIsFolder(folder.c_str()));   // made on first use
    char first[260];
    ASSERT_TRUE(wsGetDocPath(note, first));
    EXPECT_EQ(0, lstrcmpiA((folder + "\\").c_str(),
                           std::string(first, strrchr(first, '\\') + 1).c_str()))
        << first;
    EXPECT_STREQ(".qm", strrchr(first, '.'));
    EXPECT_EQ(0u, windowText(noteDoc).find(first));

    // Saved: written to its name without a dialog, and left without a path
    // and still modified, so that the next save takes a fresh name.
    pgAppendObject(pvGetCurrentPage(note), obtest::make(OBT_RECTANGLE, 0, 0, 100, 100));
    wsMarkModified(note);
    BoxRecorder boxes;
    EXPECT_TRUE(fcSaveCommand(note));
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_TRUE(ffExists(first));
    char recent[260];   // listed at once; the list shows files that exist
    ASSERT_TRUE(utGetFirstRecentFile(recent));
    EXPECT_EQ(0, lstrcmpiA(first, recent));
    EXPECT_FALSE(wsDocHasPath(note));
    EXPECT_TRUE(wsIsModified(note));
    EXPECT_TRUE(fcSaveCommand(note));
    EXPECT_TRUE(g_calls.empty());
    WIN32_FIND_DATAA fd;
    int files = 0;
    HANDLE find = FindFirstFileA((folder + "\\*.qm").c_str(), &fd);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &fd))
        ++files;
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    EXPECT_EQ(2, files);
    EXPECT_EQ(readBack(first).pages, (std::vector<std::vector<int>>{{OBT_RECTANGLE}}));

    // The second save went through Save As, whose starting name was the
    // untitled one (the note had no path) before the note name took its
    // place: the counter counts it, and the note now has its second name.
    EXPECT_EQ(2u, fcGetUntitledCounter());
    char second[260];
    ASSERT_TRUE(wsGetDocPath(note, second));
    EXPECT_NE(0, lstrcmpiA(first, second));
    setDeleteValue("QuickNotePath");
}

TEST(FileNames, UntitledNamesAndRefusalTexts)
{
    fcResetFileCommands();
    char name[260];
    EXPECT_STREQ("C:\\docs\\qmDoc1.qm", fcMakeUntitledName(name, "C:\\docs\\"));
    EXPECT_STREQ("C:\\docs\\qmDoc1.qm", fcMakeUntitledName(name, "C:\\docs"));
    char text[400];
    fcSaveNameMessage(FC_NAME_OK, "a", text, sizeof(text));
    EXPECT_STREQ("", text);
    // Checks without any document window: only the extensions count.
    struct Case {
        const char *path;
        int code;
    } cases[] = {{"C:\\a.exe", FC_NAME_PROGRAM}, {"C:\\a.DLL", FC_NAME_PROGRAM},
                 {"C:\\a.exe\\b", FC_NAME_OK},   {"C:\\a.tmp", FC_NAME_OK},
                 {"C:\\dll", FC_NAME_OK},       {"C:\\a.exe.qm", FC_NAME_OK}};
    for (const Case &c : cases)
        EXPECT_EQ(c.code, fcCheckSaveName(nullptr, c.path)) << c.path;
    fcAddLogEntry(0, "C:\\doc.qm", "C:\\T\\~qm12.tmp");
    EXPECT_EQ(FC_NAME_AUTOSAVE, fcCheckSaveName(nullptr, "c:\\t\\~QM12.TMP"));
    fcResetAutoSaveLog();
}

std::vector<std::string> g_help;

TEST_F(FileCmds, SaveOptionIsAskedOnceForADocumentWithButtons)
{
    // A button inside a group on the second page, the first page current.
    MemHandle second = pgNewRecord(0);
    MemHandle group = obNewGroup(OBT_GROUP, obtest::make(OBT_RECTANGLE, 0, 0, 90, 90),
                                 fldtest::button(RECT{100, 100, 400, 300}), (MemHandle)0);
    pgAppendObjects(second, group);
    MemHandle form = wsGetDocument(ws);
    ASSERT_GE(pgDirAppend(form, second), 0);
    fmSetSaveOptionDue(form, TRUE);
    addObject(OBT_RECTANGLE, 0, 0, 100, 100);

    g_help.clear();
    utSetHelpHook([](const UtHelpCall &call) {
        g_help.push_back(call.keyword ? call.keyword : "");
    });
    std::string caption;
    BoxRecorder boxes;
    {
        qmtest::DialogDriver driver({
            [&](HWND dlg) {
                caption = windowText(dlg);
                SendMessageA(dlg, WM_COMMAND, FC_SAVE_OPTION_HELP, 0);
            },
            [](HWND dlg) { SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0); },
        });
        g_answers = {home.file("buttons.qm")};
        EXPECT_TRUE(fcSaveAsCommand(ws));   // Cancel never stops the save
        EXPECT_EQ(2u, driver.ran());
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ("Save Option", caption);
    EXPECT_EQ(std::vector<std::string>{"Save Option"}, g_help);
    EXPECT_TRUE(fmNeedsSaveOptionPrompt(wsGetDocument(ws)));   // Cancel: asked again

    {
        qmtest::DialogDriver driver({[](HWND dlg) { SendMessageA(dlg, WM_COMMAND, IDOK, 0); }});
        wsMarkModified(ws);
        EXPECT_TRUE(fcSaveCommand(ws));
        EXPECT_EQ(1u, driver.ran());
    }
    EXPECT_FALSE(fmNeedsSaveOptionPrompt(wsGetDocument(ws)));
    // The answer is kept in the file.
    MemHandle saved = qmfReadFormFile(nullptr, home.file("buttons.qm").c_str());
    ASSERT_TRUE(saved != 0);
    EXPECT_FALSE(fmNeedsSaveOptionPrompt(saved));
    fmFree(saved);
    {
        qmtest::DialogDriver none({});   // a dialog now would fail the test
        wsMarkModified(ws);
        EXPECT_TRUE(fcSaveCommand(ws));
    }
    utSetHelpHook(nullptr);
}

}  // namespace

namespace {

TEST_F(FileCmds, AFailedWriteLeavesTheDocumentAsItWas)
{
    addObject(OBT_RECTANGLE, 0, 0, 100, 100);
    std::string nowhere = home.file("no such folder\\a.qm");
    BoxRecorder boxes;
    g_answers = {nowhere};
    EXPECT_FALSE(fcSaveAsCommand(ws));
    EXPECT_GE(boxes.count(), 1u);   // the writer's own message
    EXPECT_FALSE(ffExists(nowhere.c_str()));
    EXPECT_FALSE(wsDocHasPath(ws));
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_EQ(1u, fcGetUntitledCounter());
    EXPECT_EQ((std::vector<int>{OBT_RECTANGLE}), typesOf(page()));
    char name[260];
    EXPECT_STREQ("", setGetLastFileName(name));
}

TEST_F(FileCmds, OpenCommandRunsTheOpenDialog)
{
    std::string path = writeFile("picked.qm", {{OBT_RECTANGLE}}, false);
    g_answers = {""};
    EXPECT_EQ(nullptr, fcOpenCommand(frame, (home.path() + "\\").c_str()));
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_FALSE(g_calls[0].save);
    EXPECT_EQ("Open File", g_calls[0].caption);
    EXPECT_EQ("*.qm", g_calls[0].path);
    EXPECT_EQ(1, docCount());

    // With only the untouched new document open, the file goes into it.
    g_answers = {path};
    HWND opened = fcOpenCommand(frame, (home.path() + "\\").c_str());
    ASSERT_TRUE(opened != nullptr);
    EXPECT_EQ(doc, opened);
    EXPECT_EQ(1, docCount());
    char own[260];
    ASSERT_TRUE(wsGetDocPath(dwGetWorkspace(opened), own));
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), own));
    EXPECT_EQ(std::string(path) + " - Page 1 of 1 ", windowText(opened));
}

TEST_F(FileCmds, OnlyAnUntouchedFirstNewDocumentTakesTheFileOpened)
{
    std::string path = writeFile("taken.qm", {{OBT_ELLIPSE}}, false);
    enum Touch { kNone, kModified, kObject };
    struct Case {
        const char *what;
        Touch touch;
        bool reused;
    } cases[] = {
        {"untouched", kNone, true},
        {"modified", kModified, false},
        {"holding an object", kObject, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        // A fresh start: one new document, remembered as untouched.
        TearDown();
        SetUp();
        if (c.touch == kModified)
            wsMarkModified(ws);
        else if (c.touch == kObject)
            pgAppendObject(page(), obtest::make(OBT_RECTANGLE, 0, 0, 99, 99));
        HWND opened = fcOpenDocument(frame, path.c_str());
        ASSERT_TRUE(opened != nullptr);
        EXPECT_EQ(c.reused, opened == doc);
        EXPECT_EQ(c.reused ? 1 : 2, docCount());
        EXPECT_EQ(std::vector<int>{OBT_ELLIPSE}, typesOf(pvGetCurrentPage(dwGetWorkspace(opened))));
        // Once a file was opened, later new documents do not take files.
        HWND fresh = fcNewDocumentDefaultPage(frame);
        ASSERT_TRUE(fresh != nullptr);
        std::string second = writeFile("second.qm", {{OBT_RECTANGLE}}, false);
        HWND next = fcOpenDocument(frame, second.c_str());
        EXPECT_NE(fresh, next);
    }
}

}  // namespace

namespace {

TEST_F(FileCmds, OpeningAtAPageByNameOrNumber)
{
    std::string path = writeFile("pages.qm", {{OBT_RECTANGLE}}, false);
    HWND opened = fcOpenDocument(frame, path.c_str());
    ASSERT_TRUE(opened != nullptr);
    HWND w = dwGetWorkspace(opened);
    MemHandle form = wsGetDocument(w);
    ASSERT_GE(pgDirAppend(form, pgNewRecord(0)), 0);
    MemHandle named = pgSetName(pgNewRecord(0), "Summary");
    ASSERT_GE(pgDirAppend(form, named), 0);
    ASSERT_EQ(3, pvGetPageCount(w));
    fcNewDocumentDefaultPage(frame);

    struct Case {
        std::string page;
        int index;          // the page shown afterwards
        const char *box;    // the message, or null
    } cases[] = {
        {"summary", 2, nullptr}, {" 2 ", 1, nullptr}, {"1", 0, nullptr},
        {"no such page", 0, nullptr}, {"9", 0, "Can not open page 9"},
    };
    for (const Case &c : cases) {
        BoxRecorder boxes;
        std::string text = path + "\n" + c.page;
        EXPECT_EQ(opened, fcOpenDocumentAtPage(frame, utHandleFromString(text.c_str())));
        EXPECT_EQ(opened, appGetActiveDocWindow(frame));
        EXPECT_EQ(c.index, pvGetCurrentPageIndex(w)) << c.page;
        if (c.box) {
            ASSERT_EQ(1u, boxes.count()) << c.page;
            EXPECT_EQ(c.box, boxes.last().text);
        } else {
            EXPECT_EQ(0u, boxes.count()) << boxes.texts();
        }
    }
}

}  // namespace

// New (100) asks for the first page in the page sheet; cancelling it makes
// no document. The default-page variant (96) asks nothing. Start-up's own
// new document asked once already.
TEST_F(FileCmds, NewAsksForTheFirstPageAndTheDefaultPageVariantDoesNot)
{
    ASSERT_EQ(1u, sheetCaptions().size());
    EXPECT_EQ("Create the First Page of the New File", sheetCaptions()[0]);

    sheetAnswer() = 0;
    SendMessageA(frame, WM_COMMAND, 100, 0);
    pump();
    EXPECT_EQ(2u, sheetCaptions().size());
    EXPECT_EQ(1, docCount());

    sheetAnswer() = 1;
    SendMessageA(frame, WM_COMMAND, 100, 0);
    pump();
    EXPECT_EQ(3u, sheetCaptions().size());
    EXPECT_EQ(2, docCount());

    SendMessageA(frame, WM_COMMAND, 96, 0);
    pump();
    EXPECT_EQ(3u, sheetCaptions().size());
    EXPECT_EQ(3, docCount());
}
