// Clone copies of an object.
#pragma once
#include "support/qmwin.h"

// Asks the clone settings and places the copies (undo kind 9); 1 when
// copies were made.
int epMakeCloneCopies(HWND ws, MemHandle object);
