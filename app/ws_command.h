// The document command dispatcher: every command that reaches a workspace
// (from the frame, the document window, the workspace's own keys, the tool
// buttons and the notifications the program posts to itself) goes to the
// one handler that owns it. wsOnCommand itself is declared with the
// workspace window (views/ws_window.h).
#pragma once
#include "support/qmwin.h"

// The message of Find outside text editing.
void appShowTextFindHint(HWND ws);
// Whether an id belongs to the document commands (wsOnCommand does not
// answer 1 for it).
BOOL wsIsDocumentCommand(int command);
// Whether the command's handler waits for a dialog or mode that is not in
// the program yet (it is taken and does nothing): its menu items stay
// greyed.
BOOL wsCommandWaits(int command);
