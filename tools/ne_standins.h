// The Edit menu of the node-edit tool.
#pragma once
#include "support/qmwin.h"

// The Edit menu while nodes are edited (tool modes 40 to 42): all greyed in
// mode 41; else Undo with a pending step, Cut, Copy, Paste and Clone
// greyed, Delete when a node may be deleted, Insert on as "&Insert", the
// rest on.
void neSetEditMenu(HWND ws, HMENU menu);
// Whether the selected nodes may be deleted (the object keeps enough
// points).
BOOL neCanDelete(HWND ws);
