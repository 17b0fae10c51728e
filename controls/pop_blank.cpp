#include "controls/pop_blank.h"
#include "support/app_frame_globals.h"
#include "support/app_ui_state.h"
#include "support/win_menu.h"
#include "support/win_window.h"

void popBlankMenu(HWND window, LPARAM clientPos)
{
    const char *name = appGetMenuLanguageId() == APP_MENU_LANGUAGE_TAIWAN ? "R_CLICK_BL_TAIWAN"
                                                                           : "R_CLICK_BL";
    HMENU menu = LoadMenuA(winGetInstance(window), name);
    if (!menu)
        return;
    POINT pt;
    winLParamToPoint(clientPos, &pt);
    ClientToScreen(window, &pt);
    HWND frame = appGetFrameWindow();
    winTrackPopup(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y,
                  frame ? frame : window);
    DestroyMenu(menu);
}
