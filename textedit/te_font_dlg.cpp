// The font dialog: answers Cancel until it is built (see the header).
#include "textedit/te_font_dlg.h"

int txChooseFont(HWND, LOGFONTA *, uint32_t, COLORREF *)
{
    return 0;
}
