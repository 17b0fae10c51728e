#include "support/win_data.h"
#include "support/win_datawin.h"
#include "support/win_window.h"

BOOL winRegisterDataClasses(HINSTANCE instance)
{
    HBRUSH white = (HBRUSH)GetStockObject(WHITE_BRUSH);
    return winRegisterClassOnce(instance, "datawin", DefWindowProcA, CS_HREDRAW | CS_VREDRAW, 8,
                                white)
           && winRegisterDataViewerClass(instance);
}
