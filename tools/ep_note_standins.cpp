// Stand-in for the note tool, which is not in the program yet: its menu
// states while a note is edited are here whole, since the menu-state code
// hands every pop-up to them in tool mode 25. Missing: the tool itself
// (making, editing and aligning notes).
#include "tools/ep_note_standins.h"
#include "support/app_frame_globals.h"
#include "app/app_menu_editor.h"
#include "app/app_menu_state.h"
#include "support/win_menu.h"

void epNoteInitMenuPopup(HWND ws, HMENU popup)
{
    if (!popup || GetMenuItemCount(popup) < 1)
        return;
    switch (GetMenuItemID(popup, 0)) {
    case 100: appInitFileMenu(appGetFrameWindow(), popup, ws); break;
    case 200: appInitEditMenu(ws, popup); break;
    case 460: appInitTextMenuForEditor(ws, popup); break;
    case 464: appInitParagraphMenuForEditor(ws, popup); break;
    case 608: appCheckSnapToRulers(ws, popup); break;
    case 403:
    case 501:
    case 631: winEnableMenuItems(popup, nullptr, 0); break;
    case 522: {
        // Align and Border Style; the entry-field items are off for a note.
        const int16_t flags[8] = {0, 1, 1, 0, 0, 0, 0, 0};
        winEnableMenuItems(popup, flags, 8);
        break;
    }
    default: break;
    }
}
