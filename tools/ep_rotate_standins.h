// The rotate tool's drag as select mode starts it from the rotate handle.
#pragma once
#include "support/qmwin.h"

// Rotates the object by dragging its rotate handle from the press; the
// rotated object (possibly a new handle), or 0 when nothing turned.
MemHandle epRotateDrag(HWND ws, MemHandle object, LPARAM lParam);
// 1 when the object may be rotated; 0 after telling the user why (a tree
// holding fields, controls or Labels; a group or chain holding a bitmap).
int epCanRotateTree(HWND ws, MemHandle object);
// The "selang" angle dialog: the angle in tenths in and out; 1 on OK, 0 on
// Cancel.
int epRotateAngleDialog(HWND owner, int32_t *tenths);
