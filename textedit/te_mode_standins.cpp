// Stand-in: Label edit mode (19) without the editing itself.
#include "textedit/te_mode_standins.h"
#include "views/ws_tools.h"

namespace {

LRESULT CALLBACK labelModeStandIn(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WS_MSG_LEAVE_MODE) {
        wsLeaveToolMode(ws, FALSE);
        return 0;
    }
    return wsDefProc(ws, msg, wParam, lParam);
}

}  // namespace

int teBeginLabelEdit(HWND ws, MemHandle label, LPARAM, uint16_t)
{
    if (!label)
        return 0;
    return wsEnterToolMode(ws, TM_TEXT_A, labelModeStandIn, 400, 0) != 0;
}
