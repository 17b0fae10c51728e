// The text editor's Edit pop-up: its items, separators and greyed states.
#include "tests/support/kit.h"
#include "support/win_menu.h"
#include "textedit/te_modes.h"
#include <string>

namespace {

// Each item as its id ("-" for a separator) and "+" or "." for enabled or
// greyed.
std::string &shownItems()
{
    static std::string s;
    return s;
}

UINT recordPopup(HMENU menu, UINT, int, int, HWND)
{
    std::string s;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT state = GetMenuState(menu, (UINT)i, MF_BYPOSITION);
        if (state & MF_SEPARATOR) {
            s += "- ";
            continue;
        }
        s += std::to_string(GetMenuItemID(menu, i)) + ((state & MF_GRAYED) ? ". " : "+ ");
    }
    shownItems() = s;
    return 0;
}

TEST(TextEditPopup, ItemsWithoutASelectionAreGreyed)
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    HWND owner = CreateWindowA("STATIC", "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
    winSetTrackPopupHook(recordPopup);
    teShowEditPopup(owner, MAKELPARAM(10, 10));
    winSetTrackPopupHook(nullptr);
    EXPECT_EQ("200. - 201. 202. 203. - 205. 215. ", shownItems());
    DestroyWindow(owner);
}

}  // namespace
