// The selection of a workspace as the object commands change it: the
// current object, and the pending undo step that a change of selection
// drops (unless the command that recorded the step is still running,
// see UdKeepStep in commands/ud_undo.h).
#pragma once
#include "support/qmwin.h"

// Makes the object (or nothing, for 0) the workspace's current object and
// the current type its type. A different object than the current one
// drops the pending undo step.
void epSelectObject(HWND ws, MemHandle object);
// No current object (the pending undo step dropped when there was one).
void epClearSelection(HWND ws);
// A new object appended on top of the page, selected, and recorded as
// undo kind 7 (undo removes it again). FALSE without a page.
BOOL wsInsertObject(HWND ws, MemHandle object, BOOL flag);
