// The data viewer: a read-only text window ("Data") into which any part of
// the program can write or append text, a developer aid.
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
// Appends at the end of the viewer's text; FALSE when it is not open.
BOOL winDataWindowAppend(const char *text);
// The viewer's text into a buffer of n bytes (empty when it is not open).
void winDataWindowGetText(char *buffer, int n);
// Destroys the viewer when it exists and forgets it.
void winCloseDataWindow();
