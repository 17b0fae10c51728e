// Enabling a pop-up's items by position from a table of flags.
#include "support/win_menu.h"

void winEnableMenuItems(HMENU menu, const int16_t *flags, int count)
{
    if (!menu)
        return;
    const int items = GetMenuItemCount(menu);
    if (items <= 0)
        return;
    if (!flags) {
        for (int i = 0; i < items; ++i)
            EnableMenuItem(menu, (UINT)i, MF_BYPOSITION | MF_GRAYED);
        return;
    }
    const int n = count < items ? count : items;
    for (int i = 0; i < n; ++i)
        EnableMenuItem(menu, (UINT)i, MF_BYPOSITION | (flags[i] > 0 ? MF_ENABLED : MF_GRAYED));
}
