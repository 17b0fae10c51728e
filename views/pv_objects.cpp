// The objects of the workspace's current page: its top-level list, drawn
// first to last (the last on top), and the edits of that list.
#include "views/pv_page.h"
#include "app/ws_services.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_page.h"
#include "views/ws_document.h"
#include "views/ws_record.h"
#include <vector>

MemHandle wsGetFirstObject(HWND ws) { return pgGetFirstObject(pvGetCurrentPage(ws)); }

void wsSetFirstObject(HWND ws, MemHandle first)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page)
        return;
    const bool changed = pgGetFirstObject(page) != first;
    pgSetFirstObject(page, first);
    if (changed)
        wsMarkModified(ws);
}

MemHandle wsGetLastObject(HWND ws) { return pgGetLastObject(pvGetCurrentPage(ws)); }

BOOL wsAppendObject(HWND ws, MemHandle object)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page || !object)
        return FALSE;
    pgAppendObject(page, object);
    return TRUE;
}

BOOL wsPageHasObject(HWND ws, MemHandle object)
{
    if (!object)
        return FALSE;
    std::vector<MemHandle> objects;
    obCollectList(wsGetFirstObject(ws), objects);
    for (MemHandle h : objects)
        if (h == object)
            return TRUE;
    return FALSE;
}

BOOL wsUnlinkObject(HWND ws, MemHandle object)
{
    if (!object)
        return FALSE;
    SendMessageA(ws, WM_COMMAND, 397, (LPARAM)object);
    // Only an object of this page's list is taken out: its neighbours in
    // another list are not this page's to change.
    if (!wsPageHasObject(ws, object))
        return FALSE;
    MemHandle prev = obGetPrev(object), next = obGetNext(object);
    if (prev)
        obSetNext(prev, next);
    if (next)
        obSetPrev(next, prev);
    if (wsGetFirstObject(ws) == object) {
        pgSetFirstObject(pvGetCurrentPage(ws), next);
        wsMarkModified(ws);
    }
    if (wsGetCurrentObject(ws) == object)
        epSelectObject(ws, 0);
    return TRUE;
}

BOOL wsDeleteObject(HWND ws, MemHandle object)
{
    if (!object)
        return FALSE;
    const BOOL unlinked = wsUnlinkObject(ws, object);
    obFreeTree(object);
    return unlinked;
}

BOOL wsInsertObjectAfter(HWND ws, MemHandle after, MemHandle object)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page || !object)
        return FALSE;
    obSetPrev(object, 0);
    obSetNext(object, 0);
    if (after) {
        MemHandle next = obGetNext(after);
        obSetNext(object, next);
        obSetPrev(object, after);
        if (next)
            obSetPrev(next, object);
        obSetNext(after, object);
        return TRUE;
    }
    MemHandle first = pgGetFirstObject(page);
    obSetNext(object, first);
    if (first)
        obSetPrev(first, object);
    wsSetFirstObject(ws, object);
    return TRUE;
}

BOOL wsReplaceObject(HWND ws, MemHandle old, MemHandle object)
{
    if (!old || !object || old == object || !wsPageHasObject(ws, old))
        return FALSE;
    const bool selected = wsGetCurrentObject(ws) == old;
    wsInsertObjectAfter(ws, old, object);
    wsDeleteObject(ws, old);
    if (selected)
        epSelectObject(ws, object);
    return TRUE;
}

void wsFreeObjectsFrom(HWND ws, MemHandle object)
{
    if (!object)
        return;
    std::vector<MemHandle> objects;
    obCollectList(object, objects);
    if (MemHandle prev = obGetPrev(object))
        obSetNext(prev, 0);
    else if (wsGetFirstObject(ws) == object)
        wsSetFirstObject(ws, 0);
    for (MemHandle h : objects)
        obFreeTree(h);
}

MemHandle wsDissolveGroup(HWND ws, MemHandle group)
{
    if (!group || !wsPageHasObject(ws, group))
        return 0;
    std::vector<MemHandle> members;
    obCollectTree(obGetFirstMember(group), OB_WALK_NEXT_MEMBER, members);
    obSetFirstMember(group, 0);
    MemHandle after = group;
    for (MemHandle m : members) {
        obSetParent(m, 0);
        obSetNextMember(m, 0);
        wsInsertObjectAfter(ws, after, m);
        after = m;
    }
    wsDeleteObject(ws, group);
    wsMarkModified(ws);
    return members.empty() ? 0 : members.front();
}

