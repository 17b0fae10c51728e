// Starts the program in-process: a frame class of this test program's own
// (so that no other program's frame is found as a running instance), a
// temporary home folder and a registry key of its own, with everything put
// back afterwards. A recording workspace class lets tests see the commands
// that reach a document.
#pragma once
#include "views/pv_layout_sheet.h"
#include "tests/support/kit.h"
#include "app/app_frame.h"
#include "app/app_frame_bars.h"
#include "app/app_frame_cmd.h"
#include "support/app_frame_globals.h"
#include "app/app_start.h"
#include "app/app_toolbars.h"
#include "app/fc_file_cmds.h"
#include "support/app_ui_state.h"
#include "support/settings_reg.h"
#include "app/setup_file.h"
#include "model/setup_record.h"
#include "controls/maintools.h"
#include "controls/pal_file.h"
#include "controls/pal_window.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/qmf_header.h"
#include "model/qmf_write.h"
#include "support/ff_file.h"
#include "support/ut_recent.h"
#include "support/help_file.h"
#include "views/dw_window.h"
#include "views/ws_record.h"
#include "views/ws_window.h"
#include <shlobj.h>
#include <string>
#include <vector>

namespace apptest {

inline std::vector<WPARAM> &recorded()
{
    static std::vector<WPARAM> commands;
    return commands;
}

// A workspace that records every WM_COMMAND and claims it.
inline LRESULT CALLBACK recordingWorkspace(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND) {
        recorded().push_back(wp);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

const char kRecordingWs[] = "qm_test_recording_ws";

// A document file of the given name: one empty page, written by the
// document writers.
// An HDROP holding the names (ANSI), dropped at a client point.
inline HGLOBAL dropFilesBlock(const std::vector<std::string> &names, POINT pt)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (auto &n : names)
        size += n.size() + 1;
    HGLOBAL h = GlobalAlloc(GHND, size);
    DROPFILES *d = (DROPFILES *)GlobalLock(h);
    d->pFiles = sizeof(DROPFILES);
    d->pt = pt;
    d->fNC = FALSE;
    d->fWide = FALSE;
    char *p = (char *)(d + 1);
    for (auto &n : names) {
        memcpy(p, n.c_str(), n.size() + 1);
        p += n.size() + 1;
    }
    *p = 0;
    GlobalUnlock(h);
    return h;
}

inline bool writeDocument(const std::string &path)
{
    MemHandle form = pgNewDocument(TRUE);
    if (!form)
        return false;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    bool ok = f != INVALID_HANDLE_VALUE && qmfWriteHeader(f, "FORM") == sizeof(FileHeader) &&
              qmfWriteForm(f, form) != 0 &&
              qmfWritePage(f, pgDirGetPages(fmGetDirectory(form), 0)) != 0;
    if (f != INVALID_HANDLE_VALUE)
        CloseHandle(f);
    fmFree(form);
    return ok;
}

class App : public ::testing::Test {
protected:
    qmtest::TempDir home;
    std::string kitProduct, kitVersionKey, appName, className;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    HWND frame = nullptr;
    HWND client = nullptr;
    int quitCode = -1;
    bool quit = false;

    void SetUp() override
    {
        kitProduct = setGetProductName();
        kitVersionKey = setGetVersionKey();
        appName = kitProduct;
        char name[32];
        wsprintfA(name, "ridevi_t%lu", (unsigned long)GetCurrentProcessId());
        className = name;
        setSetKeyNames(appName.c_str(), (appName + " Version 2.50").c_str());
        setPutString("UserHomeDir", home.path().c_str());
        setPutString("MenuLanguage", "ridevi");
        // An empty template control file: the template collection starts
        // empty without telling the user.
        qmtest::writeFile(home.file("~qmtmpl.dat"), std::string("[defaulttmpl]\r\n"));
        WNDCLASSA wc = {};
        if (!GetClassInfoA(inst, kRecordingWs, &wc)) {
            wc.lpfnWndProc = recordingWorkspace;
            wc.hInstance = inst;
            wc.lpszClassName = kRecordingWs;
            RegisterClassA(&wc);
        }
        recorded().clear();
        // New documents ask for their first page: the user takes the
        // default page unless a test answers otherwise.
        sheetCaptions().clear();
        sheetAnswer() = 1;
        pvSetLayoutSheetHook(answerSheet);
    }

    // The captions the page sheet was shown with, and the answer it gives.
    static std::vector<std::string> &sheetCaptions()
    {
        static std::vector<std::string> c;
        return c;
    }
    static INT_PTR &sheetAnswer()
    {
        static INT_PTR a = 1;
        return a;
    }
    static INT_PTR answerSheet(HWND, const char *caption, MemHandle *, BOOL, BOOL *unitChanged)
    {
        sheetCaptions().push_back(caption ? caption : "");
        if (unitChanged)
            *unitChanged = FALSE;
        return sheetAnswer();
    }

    // Writes a settings file into the home folder with the welcome dialog
    // switched off (or on).
    void writeSettings(bool welcome)
    {
        std::string path = home.file("~qmsetup");
        setLoadSetupFile(path.c_str());
        setPutShowWelcome(welcome);
        setWriteSetupFile(nullptr, path.c_str());
        setFreeSetupRecords();
    }

    HWND start(const char *cmdLine = "")
    {
        frame = appInit(inst, TRUE, appName.c_str(), "Quillmark Draw", className.c_str(), &client,
                        cmdLine, SW_SHOWNORMAL);
        pump();
        return frame;
    }

    // Starts the program without the welcome dialog on its first document:
    // that document window and its workspace; false when either is missing.
    bool startWithDocument(HWND *doc, HWND *ws)
    {
        writeSettings(false);
        if (!start())
            return false;
        *doc = appGetActiveDocWindow(frame);
        *ws = dwGetWorkspace(*doc);
        return *ws != nullptr;
    }

    void pump()
    {
        int code = -1;
        if (qmtest::pumpUntilIdle(&code)) {
            quit = true;
            quitCode = code;
        }
    }

    int docCount() { return appCountDocWindows(appGetMdiClient(frame)); }

    // Marks the active document changed, so that the next file opened
    // does not go into it (an untouched new document would take it).
    void touchActiveDocument() { wsMarkModified(dwGetWorkspace(appGetActiveDocWindow(frame))); }

    // A document window whose workspace records its commands.
    HWND recordingDocument(const RECT *rect = nullptr)
    {
        HWND doc = dwCreate(frame, appGetMdiClient(frame), kRecordingWs, "rec", rect);
        pump();
        return doc;
    }

    void TearDown() override
    {
        if (frame && IsWindow(frame)) {
            // Whatever a test left modified closes without being saved.
            qmtest::BoxRecorder boxes;
            for (int i = 0; i < 8; ++i)
                boxes.answer(IDNO);
            SendMessageA(frame, WM_CLOSE, 0, 0);
            if (IsWindow(frame))
                DestroyWindow(frame);
        }
        pump();
        pvSetLayoutSheetHook(nullptr);
        UnregisterClassA(className.c_str(), inst);
        appResetToolbarModule();
        appResetFrameCmdModule();
        appResetFrameModule();
        fcResetFileCommands();
        appSetActiveWorkspace(nullptr);
        blResetToolListModule();
        clrResetPaletteWindowModule();
        clrResetPaletteFileModule();
        utEndRecentFiles();
        utFreeHelpFile();
        setFreeSetupRecords();
        setResetSetupFileWarning();
        HKEY maker;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Verdant Arcade", 0, KEY_ALL_ACCESS,
                          &maker) == ERROR_SUCCESS) {
            RegDeleteKeyA(maker, (appName + "\\" + appName + " Version 2.50").c_str());
            RegCloseKey(maker);
        }
        setInitPaths(kitProduct.c_str(), kitVersionKey.c_str(), nullptr);
    }
};

}  // namespace apptest
