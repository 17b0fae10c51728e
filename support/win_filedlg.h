// The common Open and Save file dialogs with the program's conventions:
// filters written with "|" between their parts, a default extension, the
// starting folder taken from the given path (or the user's home folder),
// and the filter entry chosen by the path's extension.
//
// Every dialog goes through one function that tests replace with a
// scripted answer (winSetFileDlgHook), so that no test waits for a person.
#pragma once
#include "support/qmwin.h"

// Replaces every "|" of the text by NUL, in place.
void utFilterBarsToNul(char *text);
// "*" followed by the path's extension with its point ("*." when it has
// none) into a buffer of 260 bytes; 1.
int utPatternOfPath(char *out, const char *path);
// The 1-based index of the filter entry (a NUL-separated filter ending in
// an empty text) whose pattern equals the pattern, case ignored; 0 when
// none or when the pattern is empty.
int utFilterIndex(const char *filter, const char *pattern);

// What a dialog is asked for, after the preparation the dialog's kind
// makes (starting folder, preset name, filter entry).
struct WinFileDlgRequest {
    bool save;                  // Save dialog, else Open
    const char *caption;
    char *path;                 // 260 bytes: the starting name in, the chosen path out
    const char *defExt;         // or null
    const char *filter;         // NUL-separated pairs ending in an empty text
    const char *customFilter;   // "(pattern)", NUL, pattern, NUL NUL; or null
    const char *initialFolder;  // or null
    int filterIndex;            // 1-based; 0 the custom filter
    DWORD flags;                // OFN_* flags
};
typedef BOOL (*WinFileDlgHook)(HWND owner, WinFileDlgRequest &request);
// Installs a replacement for the system dialogs (null: the system's again).
void winSetFileDlgHook(WinFileDlgHook hook);
// Runs the dialog of a request prepared by the caller; the chosen filter
// entry comes back in request.filterIndex.
BOOL winRunFileDlg(HWND owner, WinFileDlgRequest &request);

// Open dialog: starts in the folder of the path, or the home folder when
// it is empty; the name field is preset to "*." and the default extension
// (when it is shorter than 4 characters). The read-only box is hidden.
// TRUE when a file was chosen; its path is then in the buffer (260 bytes).
BOOL winOpenFileDlg(HWND owner, const char *caption, char *path, const char *defExt,
                    const char *filter);
// The same with the path in a string handle, grown to 260 bytes (or made
// when 0); when nothing is chosen the handle is freed and set to 0.
BOOL winOpenFileDlgH(HWND owner, const char *caption, MemHandle *path, const char *defExt,
                     const char *filter);
// Save dialog: a path that names a folder starts the dialog there with an
// empty name; otherwise the pattern of its extension chooses the filter
// entry, or is offered as a custom filter when no entry has it. An empty
// path chooses the entry of the default extension. The file need not
// exist. TRUE when a name was chosen; it is then in the buffer.
BOOL winSaveFileDlg(HWND owner, const char *caption, char *path, const char *defExt,
                    const char *filter);
// The Save dialog started in the path's folder with its file name.
BOOL winSaveFileDlgInFolder(HWND owner, const char *caption, char *path, const char *defExt,
                            const char *filter);

// Browse button of a dialog: the edit's text (up to 260 characters) is the
// starting path; when it is empty, the folder joined with "*." and the
// first 3 characters of the default extension. Runs the Open (open set) or
// Save dialog and writes the chosen path into the edit. TRUE when chosen.
BOOL winDlgBrowseFileIn(HWND dialog, const char *caption, const char *folder, const char *defExt,
                        const char *filter, int editId, BOOL open);
// The same without a folder.
BOOL winDlgBrowseFile(HWND dialog, const char *caption, const char *defExt, const char *filter,
                      int editId, BOOL open);
