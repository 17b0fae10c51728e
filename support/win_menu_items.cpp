// Enabling a pop-up's items by position from a table of flags.
#include "support/win_menu.h"

int winEnableMenuItems(HMENU menu, const int16_t *flags, int count)
{
    const int items = GetMenuItemCount(menu);
    if (!menu || items <= 0)
        return items;
    const int n = !flags ? items : (count < items ? count : items);
    for (int i = 0; i < n; ++i)
        EnableMenuItem(menu, (UINT)i,
                       MF_BYPOSITION | (flags && flags[i] > 0 ? MF_ENABLED : MF_GRAYED));
    return items;
}
