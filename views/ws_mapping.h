// The view mapping of a workspace window as the current drawing mapping.
#pragma once
#include "support/qmwin.h"

// Makes the workspace's kept view mapping the current drawing mapping
// (support/dm_map.h). A window that keeps no mapping of its own (none yet,
// or no workspace at all) leaves the current mapping as it is. TRUE when a
// kept mapping was applied.
BOOL wsApplyViewMapping(HWND workspace);
