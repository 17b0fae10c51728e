#include "controls/gw_grid.h"
#include "support/win_window.h"

BOOL gwRegisterClasses(HINSTANCE instance)
{
    const UINT style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    HBRUSH white = (HBRUSH)GetStockObject(WHITE_BRUSH);
    return winRegisterClassOnce(instance, "qmgridwin", DefWindowProcA, style, 8, white)
           && winRegisterClassOnce(instance, "qmgridwinsimp", DefWindowProcA, style, 8, white)
           && winRegisterClassOnce(instance, "qmgwctrl", DefWindowProcA, style, 8, white);
}
