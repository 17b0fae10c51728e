// Message boxes, string resources and help.
#pragma once
#include "support/qmwin.h"

// Every box the program shows goes through this function; tests replace it
// with a recorder (utSetMessageBoxHook) so that no box waits for a person.
typedef int (*UtMessageBoxHook)(HWND owner, const char *text, const char *caption, UINT flags);
void utSetMessageBoxHook(UtMessageBoxHook hook);
int utShowBox(HWND owner, const char *text, const char *caption, UINT flags);
// While a quiet guard lives (they nest), no box is shown nor handed to the
// hook: each one returns IDCANCEL and is counted. For a check that reads a
// file only to learn whether it can be read.
class UtQuietBoxes {
public:
    UtQuietBoxes();
    ~UtQuietBoxes();
    // Boxes held back while this guard lived.
    uint32_t count() const;
    UtQuietBoxes(const UtQuietBoxes &) = delete;
    UtQuietBoxes &operator=(const UtQuietBoxes &) = delete;
private:
    uint32_t start_;
};
// The text with a line break (CR LF) put into every run without a blank or
// line break that is wider than maxWidth pixels in the DC's font: after the
// run's last path separator, else before the character that passes the
// width. Written into out (outSize bytes, cut to it); its length. A box
// shows its text so, to stay within the screen.
int utBreakLongRuns(HDC dc, const char *text, int maxWidth, char *out, size_t outSize);

void utSetAppName(HWND owner, const char *name);
const char *utGetAppName();
HWND utGetDefaultOwner();

int utLoadString(HWND owner, UINT id, char *buffer);          // buffer of 256 bytes
MemHandle utLoadStringHandle(HWND owner, UINT id, int maxLen);
MemHandle utMakeCaption(const char *suffix);
int utMessageBoxCaption(HWND owner, const char *text, const char *suffix, UINT flags);
int utErrorBox(HWND owner, const char *text);
int utWarningBox(HWND owner, const char *text);
int utMessageBox(HWND owner, const char *text, UINT flags);
int utErrorBoxId(HWND owner, UINT id);
int utWarningBoxId(HWND owner, UINT id);
int utMessageBoxId(HWND owner, UINT id, UINT flags);
int utErrorBoxRes(HWND owner, UINT textId, UINT captionId);

// Help.
void utHelpKeyword(HWND window, const char *keywords);
// How many requests the program has handed to programs outside it (the
// help engine, the shell's browser) since it started, answered or not:
// without a help file nothing shows, but the request was made.
uint32_t utHandedOutCount();
void utNoteHandedOut();
void utHelpMenuCommand(HWND window, UINT command);
HWND utHtmlHelp(HWND window, const char *file, UINT command, DWORD_PTR data);

// Where help goes: tests install a recorder; the default calls the HTML
// Help engine or WinHelp.
struct UtHelpCall {
    bool html;            // through the HTML Help engine, else WinHelp
    UINT command;
    const char *keyword;  // keyword list, or null
};
typedef void (*UtHelpHook)(const UtHelpCall &call);
void utSetHelpHook(UtHelpHook hook);
// Names the engine is looked for under (registry key below HKEY_CLASSES_ROOT,
// fallback library); tests point them at nothing to see a failed load.
void utSetHtmlHelpSource(const char *clsidKey, const char *fallbackLibrary);
void utResetHelpEngine();
