// The "Field Style" dialog: answers Cancel until it is built (see the header).
#include "objects/fil_border_dlg.h"

int filBorderStyleDlg(HWND, const char *, uint16_t *, uint32_t *)
{
    return 0;
}
