// The spin step of a dialog field.
#include "support/win_spin.h"

int winSpinDlgInt(HWND dialog, int item, int code, int step, int min, int max)
{
    BOOL ok = FALSE;
    const int16_t value = (int16_t)GetDlgItemInt(dialog, item, &ok, TRUE);
    if (!ok)
        return 1;
    int16_t v = value;
    const int16_t s = (int16_t)step, lo = (int16_t)min, hi = (int16_t)max;
    if (code == SB_LINEUP || code == SB_PAGEUP)
        v = (int16_t)(v + s);
    else if (code == SB_LINEDOWN || code == SB_PAGEDOWN)
        v = (int16_t)(v - s);
    if (v > hi)
        v = lo;
    else if (v < lo)
        v = hi;
    SetDlgItemInt(dialog, item, (UINT)(int)v, TRUE);
    return 1;
}
