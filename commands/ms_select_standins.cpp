// Stand-ins until the multiple selection's alignment and its ending into a
// chain come. Missing: msAlign aligns nothing (0); msEndToChain only leaves
// the mode, so the gathered objects are not made into a chain (the group
// commands then find no group and say so).
#include "commands/ms_select_standins.h"
#include "views/ws_tools.h"

int msAlign(HWND, int) { return 0; }

int msEndToChain(HWND ws)
{
    wsSendLeaveMode(ws, 0);
    return 0;
}
