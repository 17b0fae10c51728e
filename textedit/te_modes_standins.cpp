// Stand-in for the text editing modes, which are not in the program yet.
// teLabelInitMenu gives the pop-ups that a Label shares with a text being
// edited (File, Edit, Text, Paragraph, Snap to Rulers) their text-editing
// states. Missing: the Label's own rules (Modify, Attribute and Table
// greyed, the Label menu's first two items only); those pop-ups are left
// as they are.
#include "textedit/te_modes_standins.h"
#include "app/app_frame_globals.h"
#include "app/app_menu_editor.h"
#include "app/app_menu_state.h"

void teLabelInitMenu(HWND window, HMENU popup)
{
    if (!popup || GetMenuItemCount(popup) < 1)
        return;
    switch (GetMenuItemID(popup, 0)) {
    case 464: appInitParagraphMenuForEditor(window, popup); break;
    case 460: appInitTextMenuForEditor(window, popup); break;
    case 100: appInitFileMenu(appGetFrameWindow(), popup, window); break;
    case 200: appInitEditMenu(window, popup); break;
    case 608: appCheckSnapToRulers(window, popup); break;
    default: break;
    }
}
