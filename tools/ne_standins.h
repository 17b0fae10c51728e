// The node-edit services the handle drags need.
#pragma once
#include "support/qmwin.h"

// Writes n points (page twips) into a point record of the same count: the
// centre and size from their bounds, the points relative to the new
// centre. Returns the valid handle, 0 when the count differs.
MemHandle neWritePoints(MemHandle object, const POINT *points, int16_t n);

// The Edit menu while nodes are edited (tool modes 40 to 42): all greyed in
// mode 41; else Undo with a pending step, Cut, Copy, Paste and Clone
// greyed, Delete when a node may be deleted, Insert on as "&Insert", the
// rest on.
void neSetEditMenu(HWND ws, HMENU menu);
// Whether the selected nodes may be deleted (the object keeps enough
// points).
BOOL neCanDelete(HWND ws);
