#include "app/frame_pending.h"
#include "support/win_window.h"

BOOL appRegisterRulerClasses(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "qm_ruler", DefWindowProcA, CS_DBLCLKS, 8,
                                (HBRUSH)(COLOR_BTNFACE + 1))
           && winRegisterClassOnce(instance, "qm_rulerbtn", DefWindowProcA, 0, 8,
                                   (HBRUSH)(COLOR_BTNFACE + 1));
}
