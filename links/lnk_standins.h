// Linked image objects as the select mode asks about them.
#pragma once
#include "support/qmwin.h"

// 1 when the linked image object (type 78) links a drawing file.
int lnkIsDwgLink(MemHandle object);
// A linked image or document object for the file in the rectangle (kind:
// 0 a file, 1 an image). Stand-in: linked objects are not in the program
// yet, so none is made.
MemHandle lnkCreateLinkedObject(HWND ws, const RECT *rect, const char *path, int kind);
