#include "controls/ctl_tipofday.h"

int ctlTipOfDay(HWND, const char *, int *, int *)
{
    // The dialog comes with its own work; until then no tip is shown.
    return 0;
}
