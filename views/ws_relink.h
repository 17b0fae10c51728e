// Keeping a workspace's page list in step with objects whose handle moved.
#pragma once
#include "support/qmwin.h"

// Puts an unlinked object (or one whose handle has just changed) back
// between the neighbours recorded in its own prev and next links; a
// top-level object without a previous one heads the current page's list
// again. Nothing when the workspace is 0.
void wsRelinkObject(HWND workspace, MemHandle h);
