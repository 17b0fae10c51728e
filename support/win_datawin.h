// The data viewer: a read-only text window ("Data") into which any part of
// the program can write or append text, a developer aid, with the menu
// "datawin" (100 saves the text to a file the user names, 120 clears it);
// and the one-line command edit that reports Enter and Escape to its parent.
#pragma once
#include "support/qmwin.h"

// Registers the viewer's class "va_Data" with its window procedure, once per
// process (TRUE when it is registered).
BOOL winRegisterDataViewerClass(HINSTANCE instance);
// Registers the class "va_Data" (once per process) and creates the viewer
// the first time (title "Data", default placement, visible); later calls
// return the same window. Null when it cannot be made.
HWND winGetDataWindow(HWND owner, HFONT font);
// A "va_Data" window with its multi-line, read-only edit child (id 1) over
// the client area; without a rectangle it covers the bottom 140 pixels of
// the work area, 200 pixels left free on each side. The command id is sent
// to the owner (WM_COMMAND) when the window is destroyed. Null, and no
// window left behind, when the edit cannot be made.
HWND winCreateTextWindow(HWND owner, const char *title, const RECT *rect, uint16_t commandId,
                         HFONT font, BOOL visible, BOOL wrap);
// Replaces the viewer's text; nothing when the viewer is not open.
void winDataWindowSetText(const char *text);
// Appends at the end of the viewer's text; FALSE when it is not open (also
// after the user closed it: the viewer is forgotten when it is destroyed).
BOOL winDataWindowAppend(const char *text);
// The viewer's text into a buffer of n bytes (empty when it is not open).
void winDataWindowGetText(char *buffer, int n);
// Destroys the viewer when it exists and forgets it.
void winCloseDataWindow();

// Appends the text at the end of the window's first child (an edit); FALSE
// when the window has no child.
BOOL winAppendChildText(HWND window, const char *text);
// The text of the window's first child in a new handle; 0 when it is empty
// or there is no child.
MemHandle winGetChildTextHandle(HWND window);

// The command the command line edit sends after Escape.
enum : uint16_t { WIN_COMMAND_EDIT_CANCELLED = 918 };
// Creates the one command line edit (a bordered single line, WS_EX_CLIENTEDGE)
// at the rectangle of the parent, the first time; later calls return the
// existing one. Enter sends the parent WM_COMMAND with the command id and
// the edit as lParam, then clears the line; Escape does the same and then
// sends WM_COMMAND 918.
HWND winCreateCommandEdit(HWND parent, const RECT *rect, int childId, uint16_t commandId,
                          HFONT font);
// Puts the edit's own procedure back, destroys the line and forgets it;
// harmless when there is none.
void winDestroyCommandEdit();
