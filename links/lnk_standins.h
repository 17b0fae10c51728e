// Linked image objects as the select mode asks about them.
#pragma once
#include "support/qmwin.h"

// 1 when the linked image object (type 78) links a drawing file.
int lnkIsDwgLink(MemHandle object);
// A linked object for the file in the rectangle (kind: 0 a file, 1 an
// image): an image file object (type 78) naming it (links/lnk_create.cpp).
MemHandle lnkCreateLinkedObject(HWND ws, const RECT *rect, const char *path, int kind);
