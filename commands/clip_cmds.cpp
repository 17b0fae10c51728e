// The Edit commands on the selected object (Cut, Copy, Paste, Paste at the
// clicked position, Delete, Copy Special, Paste Special) and the placement
// and list operations that the paste and other commands share.
#include "commands/clip_formats.h"
#include "support/app_frame_globals.h"
#include "app/app_toolbars.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "controls/maintools.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_record.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_msg.h"
#include "tools/ep_handles.h"
#include "commands/ep_select.h"
#include "tools/ep_tool_choice.h"
#include "views/pv_page.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"

namespace {

const char kCopySpecialNoObject[] =
    "Must select an object before issuing the \"Copy Special\" command.";

// Types whose Copy Special offers "Text".
bool carriesText(int16_t type)
{
    switch (type) {
    case OBT_TEXT: case OBT_BUTTON: case OBT_CHECKBOX: case OBT_RADIO: case OBT_GROUP_BOX:
    case OBT_LABEL:
        return true;
    default:
        return false;
    }
}

// Paste mode (6) over the present mode, with the workspace's own procedure
// answering clicks; the format waits in the mode's tool value.
void enterPasteMode(HWND ws, UINT format)
{
    if (MemHandle current = wsGetCurrentObject(ws)) {
        wsApplyViewMapping(ws);
        epDrawHandles(ws, nullptr, current);
        epSelectObject(ws, 0);
    }
    wsEnterToolMode(ws, TM_PASTE_AT, WorkspaceWndProc, 0, 0);
    wsSetToolValue(ws, format);
    appReleaseToolButton(appGetFrameWindow(), 400);
}

BOOL anyPasteFormat()
{
    const UINT *formats = clipPasteFormats();
    for (int i = 0; i < CLIP_PASTE_FORMATS; ++i)
        if (formats[i] && IsClipboardFormatAvailable(formats[i]))
            return TRUE;
    return FALSE;
}

}  // namespace

// ---- placement and list operations ----------------------------------------------------------

void objPlaceCorner(MemHandle object, POINT point, int corner)
{
    if (!object)
        return;
    RECT r;
    obGetRect(object, &r);
    POINT from;
    switch (corner) {
    case 1: from = {r.left, r.top}; break;
    case 2: from = {r.right, r.top}; break;
    case 3: from = {r.left, r.bottom}; break;
    case 4: from = {r.right, r.bottom}; break;
    default: return;
    }
    obMoveBy(object, point.x - from.x, point.y - from.y);
}

void objAlignInRect(MemHandle object, const RECT *rect, uint16_t align)
{
    if (!object || !rect)
        return;
    RECT r;
    obGetRect(object, &r);
    RECT placed = r;
    geoAlignRect(&placed, rect, align);
    obMoveBy(object, placed.left - r.left, placed.top - r.top);
}

void objAlignInWindow(HWND ws, MemHandle object, uint16_t align)
{
    if (!object)
        return;
    RECT client;
    GetClientRect(ws, &client);
    wsApplyViewMapping(ws);
    dmDevToLogRect(&client);
    objAlignInRect(object, &client, align);
}

void obAppendListAfter(MemHandle first, MemHandle other)
{
    if (!first || !other)
        return;
    MemHandle last = obGetListTail(first);
    obSetNext(last, other);
    obSetPrev(other, last);
}

int obIsCoveredByLater(MemHandle object)
{
    if (!object)
        return 0;
    RECT mine;
    obGetDrawnRect(object, &mine);
    for (MemHandle o = obGetNext(object); o; o = obGetNext(o)) {
        RECT theirs, meet;
        obGetDrawnRect(o, &theirs);
        if (IntersectRect(&meet, &mine, &theirs))
            return 1;
    }
    return 0;
}

// ---- the Edit commands ----------------------------------------------------------------------

int cmdCopy(HWND ws, MemHandle object)
{
    udDiscard(ws);
    if (!object) {
        MessageBeep(0);
        return 0;
    }
    wsBeginWaitCursor(ws);
    clipCopyObject(ws, object);
    wsEndWaitCursor(ws);
    return 1;
}

int cmdDelete(HWND ws, MemHandle object)
{
    udDiscard(ws);
    if (wsGetToolMode(ws) != TM_SELECT || !object || obIsLocked(object))
        return 0;
    if (!udRecord(ws, object, 0, UD_DELETED, 0))
        return 0;
    obInvalidate(ws, object);
    {
        // The step keeps the deleted object's copy; the selection it loses
        // must not drop it.
        UdKeepStep keep(ws);
        wsDeleteObject(ws, object);
        epClearSelection(ws);
    }
    wsMarkModified(ws);
    return 1;
}

int cmdCut(HWND ws, MemHandle object)
{
    udDiscard(ws);
    if (!object || obIsLocked(object))
        return 0;
    wsBeginWaitCursor(ws);
    clipCopyObject(ws, object);
    wsEndWaitCursor(ws);
    return cmdDelete(ws, object);
}

int cmdPaste(HWND ws, MemHandle)
{
    udDiscard(ws);
    if (!clipCanPaste(ws)) {
        MessageBeep(0);
        return 0;
    }
    if (wsGetToolMode(ws) == TM_PASTE_AT)
        return 1;
    if (wsGetToolMode(ws) != TM_SELECT)
        wsSendLeaveMode(ws, 0);
    enterPasteMode(ws, 0);
    return 1;
}

int cmdPasteSpecial(HWND ws, MemHandle)
{
    if (wsGetToolMode(ws) == TM_PASTE_AT)
        return 0;
    if (!clipCanPaste(ws)) {
        MessageBeep(0);
        return 0;
    }
    if (wsGetToolMode(ws) != TM_SELECT)
        wsSendLeaveMode(ws, 0);
    const UINT format = clipPasteSpecial(ws);
    if (!format)
        return 0;
    udDiscard(ws);
    enterPasteMode(ws, format);
    return 1;
}

UINT clipGetStoredFormat(HWND ws)
{
    return wsGetToolMode(ws) == TM_PASTE_AT ? (UINT)wsGetToolValue(ws) : 0;
}

int cmdPasteAtPosition(HWND ws, LPARAM position)
{
    const UINT format = clipGetStoredFormat(ws);
    if (!anyPasteFormat()) {
        MessageBeep(0);
        return 0;
    }
    udDiscard(ws);
    wsSetToolValue(ws, 0);
    if (wsGetToolMode(ws) == TM_PASTE_AT)
        wsLeaveToolMode(ws, TRUE);
    wsApplyViewMapping(ws);
    POINT at;
    dmMsgPointToLogSnap(position, &at, wsIsSnapToRulers(ws), (int16_t)pgGetGridDivisions(ws));
    MemHandle object = format ? clipPasteByFormat(ws, format, at) : clipPasteInPriority(ws, at);
    int result = 0;
    if (object && wsInsertObject(ws, object, 0)) {
        result = 1;
        if (obGetType(object) == OBT_TEXT)
            txCheckNewTextFit(ws, object);
    } else if (object) {
        obFreeTree(object);
    }
    blSelectToolButton(400);
    return result;
}

int cmdCopySpecial(HWND ws, MemHandle object)
{
    if (!object) {
        utMessageBox(ws, kCopySpecialNoObject, MB_ICONINFORMATION);
        return 0;
    }
    const UINT format = clipChooseCopyFormat(ws, carriesText(obGetType(object)));
    if (!format)
        return 0;
    return clipCopyInFormat(ws, object, format);
}
