// The objects of the workspace's current page.
#include "commands/ws_objects.h"
#include "tools/ep_selection.h"
#include "commands/ep_select.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include <vector>

namespace {

MemHandle currentPage(HWND ws) { return ws ? pvGetCurrentPage(ws) : 0; }

// The selection moves off an object that leaves the page.
void forgetSelected(HWND ws, MemHandle object, MemHandle successor)
{
    if (object && wsGetCurrentObject(ws) == object)
        wsSetCurrentObject(ws, successor);
}

}  // namespace

MemHandle wsGetFirstObject(HWND ws) { return pgGetFirstObject(currentPage(ws)); }

MemHandle wsGetLastObject(HWND ws) { return pgGetLastObject(currentPage(ws)); }

void wsSetFirstObject(HWND ws, MemHandle first)
{
    MemHandle page = currentPage(ws);
    if (!page)
        return;
    const bool changed = pgGetFirstObject(page) != first;
    pgSetFirstObject(page, first);
    if (changed)
        wsMarkModified(ws);
}

BOOL wsPageHasObject(HWND ws, MemHandle object)
{
    return object && obListContains(wsGetFirstObject(ws), object);
}

BOOL wsAppendObject(HWND ws, MemHandle object)
{
    MemHandle page = currentPage(ws);
    if (!page || !object)
        return FALSE;
    obSetPrev(object, 0);
    obSetNext(object, 0);
    MemHandle last = pgGetLastObject(page);
    if (last)
        obLinkPair(last, object);
    else
        pgSetFirstObject(page, object);
    return TRUE;
}

BOOL wsInsertObjectAfter(HWND ws, MemHandle after, MemHandle object)
{
    MemHandle page = currentPage(ws);
    if (!page || !object)
        return FALSE;
    MemHandle first = pgGetFirstObject(page);
    if (after && !obListContains(first, after))
        return wsAppendObject(ws, object);
    if (!after) {
        obSetPrev(object, 0);
        obSetNext(object, first);
        if (first)
            obSetPrev(first, object);
        pgSetFirstObject(page, object);
        return TRUE;
    }
    MemHandle next = obGetNext(after);
    obLinkPair(after, object);
    obSetNext(object, next);
    if (next)
        obSetPrev(next, object);
    return TRUE;
}

BOOL wsReplaceObject(HWND ws, MemHandle oldObject, MemHandle newObject)
{
    if (!oldObject || !newObject || oldObject == newObject)
        return FALSE;
    MemHandle page = currentPage(ws);
    MemHandle owner = obGetParent(oldObject);
    if (page && obListContains(pgGetFirstObject(page), oldObject)) {
        MemHandle prev = obGetPrev(oldObject), next = obGetNext(oldObject);
        obSetPrev(newObject, prev);
        obSetNext(newObject, next);
        if (prev)
            obSetNext(prev, newObject);
        else
            pgSetFirstObject(page, newObject);
        if (next)
            obSetPrev(next, newObject);
        obSetParent(newObject, 0);
    } else if (owner) {
        // In its owner's member chain: the chain link that named the old
        // object names the new one, whose own next members (copies of
        // those that followed the old one) take their places.
        MemHandle m = obGetFirstMember(owner);
        if (m == oldObject) {
            obSetFirstMember(owner, newObject);
        } else {
            int guard = 0;
            while (m && obGetNextMember(m) != oldObject && ++guard < 1000000)
                m = obGetNextMember(m);
            if (!m || obGetNextMember(m) != oldObject)
                return FALSE;
            obSetNextMember(m, newObject);
        }
        obSetPrev(newObject, 0);
        obSetNext(newObject, 0);
        // A new object without next members of its own keeps the old
        // one's followers.
        if (!obGetNextMember(newObject)) {
            obSetNextMember(newObject, obGetNextMember(oldObject));
            obSetNextMember(oldObject, 0);
        }
        int guard = 0;
        for (MemHandle n = newObject; n && ++guard < 1000000; n = obGetNextMember(n))
            obSetParent(n, owner);
    } else {
        return FALSE;
    }
    forgetSelected(ws, oldObject, newObject);
    obSetPrev(oldObject, 0);
    obSetNext(oldObject, 0);
    epForgetObject(ws, oldObject);
    obFreeTree(oldObject);
    return TRUE;
}

BOOL wsUnlinkObject(HWND ws, MemHandle object)
{
    if (!ws || !object)
        return FALSE;
    // The notice goes first, also for an object that is not in the list:
    // whoever holds on to it (the field property pane) lets go before the
    // caller goes on with it.
    SendMessageA(ws, WM_COMMAND, WS_CMD_OBJECT_UNLINKED, (LPARAM)object);
    MemHandle page = currentPage(ws);
    if (!page || !obListContains(pgGetFirstObject(page), object))
        return FALSE;
    MemHandle first = pgGetFirstObject(page);
    if (first == object)
        pgSetFirstObject(page, obGetNext(object));
    obUnlink(object);
    obSetPrev(object, 0);
    obSetNext(object, 0);
    return TRUE;
}

BOOL wsDeleteObject(HWND ws, MemHandle object)
{
    if (!wsUnlinkObject(ws, object))
        return FALSE;
    if (wsGetCurrentObject(ws) == object)
        epClearSelection(ws);
    epForgetObject(ws, object);
    obFreeTree(object);
    return TRUE;
}

void wsFreeObjectsFrom(HWND ws, MemHandle object)
{
    MemHandle page = currentPage(ws);
    if (!page || !object || !obListContains(pgGetFirstObject(page), object))
        return;
    MemHandle prev = obGetPrev(object);
    if (prev)
        obSetNext(prev, 0);
    else
        pgSetFirstObject(page, 0);
    std::vector<MemHandle> gone;
    obCollectList(object, gone);
    MemHandle current = wsGetCurrentObject(ws);
    for (MemHandle h : gone) {
        if (h == current)
            epClearSelection(ws);
        obSetPrev(h, 0);
        obSetNext(h, 0);
        epForgetObject(ws, h);
        obFreeTree(h);
    }
}

MemHandle wsDissolveGroup(HWND ws, MemHandle group)
{
    MemHandle page = currentPage(ws);
    if (!page || !group || !obListContains(pgGetFirstObject(page), group))
        return 0;
    bool wasFirst = pgGetFirstObject(page) == group;
    MemHandle next = obGetNext(group);
    if (!obGetFirstMember(group)) {
        if (wasFirst)
            pgSetFirstObject(page, next);
        forgetSelected(ws, group, 0);
        obDelete(group);
        wsMarkModified(ws);
        return 0;
    }
    forgetSelected(ws, group, 0);
    MemHandle first = obUngroup(group);
    if (wasFirst)
        pgSetFirstObject(page, first);
    wsMarkModified(ws);
    return first;
}
