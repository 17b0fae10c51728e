// The selection of a workspace.
#include "commands/ep_select.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "model/ob_record.h"
#include "views/ws_record.h"

void epClearSelection(HWND ws) { epSelectObject(ws, 0); }

