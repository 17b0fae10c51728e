#include "controls/ctl_classes.h"
#include "support/win_window.h"

namespace {
HBRUSH face() { return (HBRUSH)(COLOR_BTNFACE + 1); }
}

BOOL ctlRegisterStaticText(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "stxwin", DefWindowProcA, 0, 14,
                                (HBRUSH)(COLOR_MENU + 1));
}

BOOL ctlRegisterBmpButton(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "bmpbtnctrl", DefWindowProcA, 0, 0, face());
}

BOOL ctlRegisterObjButton(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "qmobjbtnctrl", DefWindowProcA, 0, 4, face());
}

BOOL ctlRegisterFileButton(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "qmfbtnctrl", DefWindowProcA, 0, 4, face());
}

BOOL ctlRegisterOlbObjButton(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "olbobtnctrl", DefWindowProcA, 0, 0, face());
}

BOOL ctlRegisterAnimCtrl(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "aooc", DefWindowProcA, 0, 8, face());
}

BOOL ctlRegisterImageFrame(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "qmimgfctrl", DefWindowProcA, CS_DBLCLKS, 4, face());
}
