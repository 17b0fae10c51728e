// Small window helpers: instance of a window, class tests, packed points and
// window sizes from client sizes.
#pragma once
#include "support/qmwin.h"

// The instance a window's resources, dialogs and cursors are loaded from
// (the program's module for no window).
HINSTANCE winGetInstance(HWND window);
// Whether the window exists and its class (and, when given, its title) match,
// ignoring case.
BOOL winIsWindowOfClass(HWND window, const char *className, const char *title);
// x = signed low 16 bits, y = signed high 16 bits of a packed position.
void winLParamToPoint(LPARAM lParam, POINT *pt);
// Registers a window class of the instance with an arrow cursor, unless it
// is registered already; FALSE when registration fails.
BOOL winRegisterClassOnce(HINSTANCE instance, const char *className, WNDPROC proc, UINT style,
                          int wndExtra, HBRUSH background);
// Window size for a client size under the given styles: width in the low and
// height in the high 16 bits; scroll-bar sizes added when asked.
DWORD winAdjustedSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                      BOOL menu, BOOL vScroll, BOOL hScroll);
