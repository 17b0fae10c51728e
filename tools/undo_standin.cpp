// Weak answers for the undo module and the page-list edits (see
// tools/undo_standin.h): the pending step is kept in the workspace record
// as the undo module keeps it, and list edits go straight to the page.
#include "tools/undo_standin.h"
#include "tools/ep_selection.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_page.h"
#include "views/ws_document.h"
#include "views/ws_record.h"

#define EP_WEAK __attribute__((weak))

EP_WEAK int udRecord(HWND ws, MemHandle object, uint32_t extra, int16_t kind, int16_t subKind)
{
    if (!wsGetRecordHandle(ws))
        return 0;
    wsFreeUndo(ws);
    UndoRecord r = {};
    r.object = object;
    r.saved = extra;
    r.kind = (uint16_t)kind;
    r.subKind = (uint16_t)subKind;
    wsPutUndo(ws, &r);
    return 1;
}

EP_WEAK void udDiscard(HWND ws) { wsFreeUndo(ws); }

EP_WEAK BOOL udIsStepKept(HWND) { return FALSE; }

EP_WEAK BOOL wsAppendObject(HWND ws, MemHandle object)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page || !object)
        return FALSE;
    // Only the list links are new: members, extra data and the attached
    // object stay with it.
    obSetPrev(object, 0);
    obSetNext(object, 0);
    pgAppendObjects(page, object);
    return TRUE;
}

EP_WEAK BOOL wsPageHasObject(HWND ws, MemHandle object)
{
    MemHandle page = pvGetCurrentPage(ws);
    return page && object && obListContains(pgGetFirstObject(page), object);
}

EP_WEAK BOOL wsDeleteObject(HWND ws, MemHandle object)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page || !object || !obListContains(pgGetFirstObject(page), object))
        return FALSE;
    MemHandle first = obRemoveFromList(pgGetFirstObject(page), object);
    pgSetFirstObject(page, first);
    epForgetObject(ws, object);
    obFreeTree(object);
    return TRUE;
}

EP_WEAK MemHandle wsDissolveGroup(HWND ws, MemHandle group)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page || !group || !obListContains(pgGetFirstObject(page), group))
        return 0;
    if (!obGetFirstMember(group)) {
        wsDeleteObject(ws, group);
        return 0;
    }
    const bool head = pgGetFirstObject(page) == group;
    // Only the group record goes; its members stay in the page.
    epForgetObject(ws, group, FALSE);
    MemHandle first = obUngroup(group);
    if (head)
        pgSetFirstObject(page, first);
    return first;
}
