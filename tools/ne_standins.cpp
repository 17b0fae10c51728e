// Stand-in for the node-edit tool: the Edit menu's states in node editing
// follow their rule; with no node-edit tool yet, no node can be deleted.
#include "tools/ne_standins.h"
#include "commands/ud_undo.h"
#include "support/win_menu.h"
#include "views/ws_tools.h"

BOOL neCanDelete(HWND) { return FALSE; }

void neSetEditMenu(HWND ws, HMENU menu)
{
    if (!menu)
        return;
    if (wsGetToolMode(ws) == TM_NODE_41) {
        winEnableMenuItems(menu, nullptr, 0);
        return;
    }
    int16_t f[13];
    for (int16_t &v : f)
        v = 1;
    f[0] = udIsPending(ws) ? 1 : 0;
    f[2] = f[3] = f[4] = f[10] = 0;
    f[6] = neCanDelete(ws) ? 1 : 0;
    ModifyMenuA(menu, 206, MF_BYCOMMAND | MF_STRING, 206, "&Insert");
    winEnableMenuItems(menu, f, 13);
}
