// The selection of a workspace as the object commands change it: the
// current object (the selection core, tools/ep_selection.h) and the
// insertion of a made object (tools/ep_tool_choice.h). A change of
// selection drops the pending undo step unless the command that recorded
// the step is still running (see UdKeepStep in commands/ud_undo.h).
#pragma once
#include "support/qmwin.h"
#include "tools/ep_selection.h"
#include "tools/ep_tool_choice.h"

// No current object.
void epClearSelection(HWND ws);
