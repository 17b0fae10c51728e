#include "objects/cal_popup.h"
#include "support/win_window.h"

BOOL calWinRegister(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "qmcalendar", DefWindowProcA,
                                CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, 4,
                                (HBRUSH)GetStockObject(WHITE_BRUSH));
}

void calShowPopup(HWND) {}
