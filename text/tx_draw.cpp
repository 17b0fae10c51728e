// Text drawing of labels.
#include "text/tx_draw.h"
#include "support/dm_map.h"
#include <string.h>
#include <string>

int32_t txDrawStreamEx(HDC dc, const RECT *rect, int, int, const char *stream,
                       const LOGFONTA *font, uint16_t align, int32_t, int32_t,
                       const COLORREF colours[3], int32_t lineHeight, int32_t)
{
    if (!dc || !rect || !stream || !stream[0] || !font)
        return 0;
    UINT flags = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
    switch (align & 0x3) {
    case 1: flags |= DT_CENTER; break;
    case 2: flags |= DT_RIGHT; break;
    default: break;
    }
    GdiObject<HFONT> f(dmCreateFont(font));
    GdiSelect sel(dc, f);
    COLORREF oldColour = SetTextColor(dc, colours ? colours[1] : 0);
    // Lines and their height: the text laid out once to measure it.
    RECT box = *rect;
    int32_t width = rect->right - rect->left;
    RECT calc = {0, 0, width > 0 ? width : 1, 0};
    std::string text(stream);
    int32_t height = DrawTextA(dc, text.c_str(), (int)text.size(), &calc, flags | DT_CALCRECT);
    (void)lineHeight;
    int32_t room = rect->bottom - rect->top;
    if ((align & 0x1C) == 8)
        box.top += (room - height) / 2;
    else if ((align & 0x1C) == 16)
        box.top = rect->bottom - height;
    box.bottom = box.top + height;
    DrawTextA(dc, text.c_str(), (int)text.size(), &box, flags | DT_NOCLIP);
    SetTextColor(dc, oldColour);
    return height;
}
