// The file commands: new documents, opening, saving, saving under a new
// name, merging another file's pages and reloading. They decide the order
// of the checks before a save, the names of documents that have none, the
// quick-note names and the refusals; the document windows and the document
// reader and writer do the rest.
#pragma once
#include "support/qmwin.h"

// Refusal codes of fcCheckSaveName.
enum FcSaveNameCode : int {
    FC_NAME_OK = 0,
    FC_NAME_AUTOSAVE = 1,    // a ".tmp" name listed as a backup in the auto-save log
    FC_NAME_OPEN = 3,        // another document window shows this path
    FC_NAME_PROGRAM = 4,     // extension ".exe" or ".dll"
};
enum : uint32_t {
    FC_TRANSIENT_FLAG = 0x4000,   // object flag: a transient last object, never saved
};
enum { FC_SAVE_OPTION_HELP = 1008 };   // IDC_SAVE_OPTION_HELP

// ---- new documents and opening (frame commands) -------------------------------------
// 100 and 96: a new document window (null when none was made).
HWND fcNewDocument(HWND frame);
HWND fcNewDocumentDefaultPage(HWND frame);
// 93: a quick note: named at once in the quick-note folder, marked with the
// quick-note style, its path at the front of the recent-file list.
HWND fcNewQuickNote(HWND frame);
// Opens a document: an empty path does nothing; a document already shown
// (path compared without regard to case) is restored and activated and
// nothing is read; otherwise a new window shows the file. The folder and
// file name become the last ones either way.
HWND fcOpenDocument(HWND frame, const char *path);
// 111: the path in a string handle, which is freed.
HWND fcOpenDocumentFromHandle(HWND frame, MemHandle path);
// 133: a path, a line feed and a page (its name, else its number from 1):
// the document opened at that page; the handle is freed.
HWND fcOpenDocumentAtPage(HWND frame, MemHandle text);
// 120 to 128: the recent-file entry of the command.
HWND fcOpenRecentFile(HWND frame, int command);
// 101: the Open dialog ("Open File") starting at the path, then the file.
HWND fcOpenCommand(HWND frame, const char *startPath);
// The Open dialog with the document filter and the extension "qm" on a path
// buffer of 260 bytes; nonzero when a file was chosen.
BOOL fcOpenFileDialog(HWND owner, const char *caption, char *path);

// ---- the document commands ---------------------------------------------------------------
// 102: saves the workspace's document; nonzero on success.
int fcSaveCommand(HWND ws);
// 103: asks for a name ("Save As") and saves under it; nonzero on success.
int fcSaveAsCommand(HWND ws);
// 134: appends the pages of a chosen file (not its base page); 1 once a
// file was chosen and read.
int fcMergeCommand(HWND ws);
// 143: reads the document again from its file; 1 when it was replaced.
int fcReloadDocument(HWND ws);

// ---- the save worker and its parts ---------------------------------------------------------
// Checks the name (unless sameFile), asks about a read-only own file, and
// writes the document; nonzero when the file was written.
int fcWriteDocument(HWND ws, const char *path, BOOL sameFile, BOOL confirmOverwrite);
// 0 when the name may be saved to, else an FcSaveNameCode: another open
// document first, then the extensions ".exe", ".dll", ".tmp".
int fcCheckSaveName(HWND ws, const char *path);
// The warning text of a refusal code (empty for 0).
void fcSaveNameMessage(int code, const char *path, char *out, int size);

// A transient last object of a page (flag FC_TRANSIENT_FLAG) taken out of
// the page's list while the page is written, and put back after the object
// that is last then. With no other object the page's first-object link is
// cleared and restored as well.
MemHandle fcHideTransientLast(MemHandle page);
void fcRestoreTransientLast(MemHandle page, MemHandle object);

// ---- names ------------------------------------------------------------------------------
// "qmDoc%d.qm" with the untitled counter, joined to the folder.
char *fcMakeUntitledName(char *buffer, const char *folder);
// A free "stem_n.qm" name in the quick-note folder (made when missing);
// nonzero when made, else 0 with an empty buffer.
int fcMakeQuickNoteName(char *buffer);
// The quick-note folder: "QuickNotePath", else "QuickNote" in the home folder.
char *fcGetQuickNoteFolder(char *buffer);
uint32_t fcGetUntitledCounter();

// The Save Option dialog "nosavebtn".
INT_PTR CALLBACK SaveOptionDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Back to the state of a new run (tests).
void fcResetFileCommands();
