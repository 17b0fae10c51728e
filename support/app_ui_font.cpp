// The interface font.
#include "support/app_ui_font.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"

namespace {
const char kUiFace[] = "Arial";
const int kUiPoints = 9;
}  // namespace

HFONT appCreateUiFont()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return appCreateUiFontOfHeight(-MulDiv(kUiPoints, dpi > 0 ? dpi : 96, 72));
}

HFONT appCreateUiFontOfHeight(int height)
{
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    utStrCopyN(lf.lfFaceName, kUiFace, sizeof lf.lfFaceName);
    HFONT font = dmCreateFont(&lf);
    return font ? font : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}
