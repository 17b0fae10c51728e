#include "support/win_menu.h"
#include "support/win_window.h"
#include <string.h>

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

BOOL winTrackMenuTable(HWND window, LPARAM packedClient, const WinMenuTableEntry *table,
                       int count)
{
    if (!table || count < 1)
        return FALSE;
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return FALSE;
    for (int i = 0; i < count; ++i) {
        if (table[i].id == 0) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        char text[sizeof(table[i].text) + 1];
        memcpy(text, table[i].text, sizeof(table[i].text));
        text[sizeof(table[i].text)] = 0;
        AppendMenuA(menu, MF_STRING, table[i].id, text);
    }
    POINT pt;
    winLParamToPoint(packedClient, &pt);
    if (window)
        ClientToScreen(window, &pt);
    winTrackPopup(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, window);
    DestroyMenu(menu);
    return TRUE;
}
