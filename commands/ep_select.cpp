// The selection of a workspace.
#include "commands/ep_select.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "model/ob_record.h"
#include "views/ws_record.h"

void epSelectObject(HWND ws, MemHandle object)
{
    if (!wsGetRecordHandle(ws))
        return;
    if (wsGetCurrentObject(ws) != object && !udIsStepKept(ws))
        udDiscard(ws);
    wsSetCurrentObject(ws, object);
    if (object)
        wsSetCurrentType(ws, obGetType(object));
}

void epClearSelection(HWND ws) { epSelectObject(ws, 0); }

BOOL wsInsertObject(HWND ws, MemHandle object, BOOL)
{
    if (!wsAppendObject(ws, object))
        return FALSE;
    // Selected first, then recorded: the selection change would drop a
    // step recorded before it.
    epSelectObject(ws, object);
    udRecord(ws, object, 0, UD_INSERTED, 0);
    return TRUE;
}
