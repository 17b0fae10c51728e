// Keeping a workspace's page list, selection and undo step in step with
// objects and pages whose handle moved.
#pragma once
#include "support/qmwin.h"

// Puts an unlinked object (or one whose handle has just changed) back
// between the neighbours recorded in its own prev and next links; a
// top-level object without a previous one heads the current page's list
// again. Nothing when the workspace is 0.
void wsRelinkObject(HWND workspace, MemHandle h);
// An object or page record moved from `old` to `now` (its list and tree
// neighbours are mended by the object module): every reference the
// workspace keeps follows it - the current and tracked objects, the
// pending undo step, the first object of the current page and of the base
// page, and for a page record the document's base page and page directory
// entry (the entry's recorded file size is left as it is). Nothing when
// the workspace is 0 or the handles are equal.
void wsFollowMovedObject(HWND workspace, MemHandle old, MemHandle now);
