#include "support/win_flash.h"
#include "support/win_window.h"

BOOL winRegisterFlashText(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "qm_flashtxw_class", DefWindowProcA, 0, 12,
                                (HBRUSH)(COLOR_INFOBK + 1));
}
