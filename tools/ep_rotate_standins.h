// The rotate tool's drag as select mode starts it from the rotate handle.
#pragma once
#include "support/qmwin.h"

// Rotates the object by dragging its rotate handle from the press; the
// rotated object (possibly a new handle), or 0 when nothing turned.
MemHandle epRotateDrag(HWND ws, MemHandle object, LPARAM lParam);
