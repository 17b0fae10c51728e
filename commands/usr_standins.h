// User objects (type 210) that hold content of their own.
#pragma once
#include "support/qmwin.h"

// 1 when the user object holds content.
int usrHasContent(HWND ws, MemHandle object);
// Opens the user object's content with the home folder; 1 when opened.
int usrOpenContent(HWND ws, MemHandle object, const char *homeDir);
// The user object's property dialog: not built yet, it answers Cancel (0).
int usrPropsDialog(HWND ws, MemHandle *object);
