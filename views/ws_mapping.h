// The view mapping of a workspace window as the current drawing mapping:
// wsApplyViewMapping (views/ws_record.h) makes the workspace's kept mapping
// current; a window that keeps none leaves the current mapping as it is.
#pragma once
#include "views/ws_record.h"
