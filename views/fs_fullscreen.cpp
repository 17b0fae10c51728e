#include "views/fs_fullscreen.h"
#include "model/setup_record.h"
#include "support/win_window.h"

BOOL fsRegisterClass(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "qmfsvclass", DefWindowProcA, CS_DBLCLKS, 8,
                                setGetWorkspaceBkBrush());
}
