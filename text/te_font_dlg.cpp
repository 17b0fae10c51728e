// The font dialogs: answer Cancel until they are built (see the header).
#include "text/te_font_dlg.h"

int txChooseFont(HWND, LOGFONTA *, uint32_t, COLORREF *)
{
    return 0;
}

int txAskFontSize(HWND, const char *, int32_t *)
{
    return 0;
}
