// Relinking objects into the workspace's page list, and the workspace's
// references following records that moved.
#include "views/ws_relink.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "commands/ud_undo.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_page.h"
#include "support/ut_mem.h"

void wsRelinkObject(HWND workspace, MemHandle h)
{
    if (!workspace || !h)
        return;
    MemHandle prev = obGetPrev(h), next = obGetNext(h);
    if (prev)
        obSetNext(prev, h);
    if (next)
        obSetPrev(next, h);
    // Without a previous object it heads the current page's list - when it
    // belongs there: a top-level object (no owner, not a page record) whose
    // next object is the list's head now, or whose old handle the list still
    // holds after a move.
    if (prev || obGetParent(h) || obGetType(h) == OBT_PAGE)
        return;
    MemHandle page = pvGetCurrentPage(workspace);
    if (!page)
        return;
    MemHandle first = pgGetFirstObject(page);
    if (first == h)
        return;
    if ((next && first == next) || (first && !utIsLiveHandle(first)))
        pgSetFirstObject(page, h);
}

namespace {

// The document's base page and directory entries that held the old page
// record hold the new one. The entry's size (its bytes in the file it is
// kept in) stays: a page that grows in place keeps it as well.
void followPage(HWND workspace, MemHandle old, MemHandle now)
{
    MemHandle form = wsGetDocument(workspace);
    if (!form)
        return;
    if (fmGetBasePage(form) == old)
        fmSetBasePage(form, now);
    int count = 0;
    if (PageDirEntry *e = fmLockDirectory(form, &count)) {
        for (int i = 0; i < count; ++i)
            if (e[i].pages == old)
                e[i].pages = now;
        fmUnlockDirectory(form);
    }
}

}  // namespace

void wsFollowMovedObject(HWND workspace, MemHandle old, MemHandle now)
{
    if (!workspace || !old || !now || old == now)
        return;
    if (obGetType(now) == OBT_PAGE) {
        followPage(workspace, old, now);
        return;
    }
    for (int index : {pvGetCurrentPageIndex(workspace), -1}) {
        MemHandle page = index >= -1 ? pvGetPage(workspace, index) : 0;
        if (page && pgGetFirstObject(page) == old)
            pgSetFirstObject(page, now);
    }
    if (WorkspaceRecord *rec = wsLockRecord(workspace)) {
        if (rec->currentObject == old)
            rec->currentObject = now;
        if (rec->trackedObject == old)
            rec->trackedObject = now;
        wsUnlockRecord(workspace);
    }
    udFollowMovedObject(workspace, old, now);
}
