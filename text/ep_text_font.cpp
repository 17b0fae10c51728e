// Choosing the font of a vertical text for new text objects.
#include "text/ep_text_font.h"
#include <commdlg.h>
#include <string.h>

namespace {
TxVerticalFontHook g_verticalHook = nullptr;
}

void txSetChooseVerticalFontHook(TxVerticalFontHook hook) { g_verticalHook = hook; }

int txChooseVerticalFont(HWND owner, LOGFONTA *font)
{
    if (!font)
        return 0;
    if (g_verticalHook)
        return g_verticalHook(owner, font);
    LOGFONTA lf = *font;
    if (lf.lfFaceName[0] == '@')
        memmove(lf.lfFaceName, lf.lfFaceName + 1, strlen(lf.lfFaceName));
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontA(&cf))
        return 0;
    if (lf.lfFaceName[0] != '@' && strlen(lf.lfFaceName) < LF_FACESIZE - 1) {
        memmove(lf.lfFaceName + 1, lf.lfFaceName, strlen(lf.lfFaceName) + 1);
        lf.lfFaceName[0] = '@';
    }
    lf.lfEscapement = lf.lfOrientation = 2700;
    *font = lf;
    return 1;
}
