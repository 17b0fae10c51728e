// The view mapping of a workspace window as the current drawing mapping.
#include "views/ws_mapping.h"

BOOL wsApplyViewMapping(HWND workspace)
{
    // Workspaces do not keep a mapping of their own yet: the mapping that is
    // current serves every view.
    (void)workspace;
    return FALSE;
}
