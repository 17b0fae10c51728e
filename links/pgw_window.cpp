#include "links/pgw_window.h"
#include "support/win_window.h"

BOOL pgwRegisterClass(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "qm_pgwin", DefWindowProcA, CS_HREDRAW | CS_VREDRAW, 8,
                                (HBRUSH)GetStockObject(WHITE_BRUSH));
}
