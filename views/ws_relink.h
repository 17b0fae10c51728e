// Keeping a workspace's page list in step with objects whose handle moved.
#pragma once
#include "support/qmwin.h"

// Puts an object whose handle has just changed back between the neighbours
// recorded in its own prev and next links; nothing when the workspace is 0.
void wsRelinkObject(HWND workspace, MemHandle h);
