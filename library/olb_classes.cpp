#include "library/olb_classes.h"
#include "support/win_window.h"

BOOL olbRegisterViewClass(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "olbview", DefWindowProcA, CS_HREDRAW | CS_VREDRAW, 8,
                                (HBRUSH)(COLOR_WINDOW + 1));
}

BOOL ogwRegisterClass(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "ogwgridclass", DefWindowProcA,
                                CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, 8,
                                (HBRUSH)GetStockObject(WHITE_BRUSH));
}

BOOL ovRegisterClass(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "qm_objviewer", DefWindowProcA, CS_HREDRAW | CS_VREDRAW,
                                8, (HBRUSH)GetStockObject(WHITE_BRUSH));
}
