// Relinking objects into the workspace's page list.
#include "views/ws_relink.h"
#include "views/ws_document.h"
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
