// Relinking moved objects into the workspace's page list. The page's first
// object and the selection's references join this when the workspace record
// is built.
#include "views/ws_relink.h"
#include "model/ob_links.h"

void wsRelinkObject(HWND workspace, MemHandle h)
{
    if (!workspace || !h)
        return;
    MemHandle prev = obGetPrev(h), next = obGetNext(h);
    if (prev)
        obSetNext(prev, h);
    if (next)
        obSetPrev(next, h);
}
