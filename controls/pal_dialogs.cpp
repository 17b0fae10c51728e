// The colour dialogs.
#include "controls/pal_dialogs.h"

int clrColorPopup(HWND, COLORREF *, POINT)
{
    return 0;
}

int clrPaletteManagerDlg(HWND)
{
    return 0;
}
