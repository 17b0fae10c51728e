#include "support/win_menu.h"

namespace {
WinTrackPopupHook g_hook = nullptr;
}

void winSetTrackPopupHook(WinTrackPopupHook hook) { g_hook = hook; }

UINT winTrackPopup(HMENU menu, UINT flags, int x, int y, HWND owner)
{
    if (!menu)
        return 0;
    UINT cmd;
    if (g_hook)
        cmd = g_hook(menu, flags, x, y, owner);
    else
        cmd = (UINT)TrackPopupMenu(menu, flags | TPM_RETURNCMD, x, y, 0, owner, nullptr);
    if (cmd && !(flags & TPM_RETURNCMD) && owner)
        PostMessageA(owner, WM_COMMAND, MAKEWPARAM(cmd, 0), 0);
    return cmd;
}
