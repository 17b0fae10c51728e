#include "app/app_menu_state.h"
#include "app/app_frame.h"
#include "app/app_frame_bars.h"
#include "app/app_toolbars.h"
#include "app/app_ui_state.h"
#include "app/settings_reg.h"
#include "views/prn_custom.h"

const char APP_ENGLISH_MENU[] = "ridevi";

void appInitToolWindowsMenu(HWND frame, HMENU popup)
{
    auto check = [&](UINT id, BOOL on) {
        CheckMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    };
    check(607, appTestBar(frame, FB_MESSAGE));
    check(750, appTestBar(frame, FB_RIGHT));
    check(919, appGetBarWindow(frame, FB_BOTTOM) != nullptr);
    check(749, appIsTextToolOpen());
}

void appInitMenuPopup(HWND frame, HMENU popup)
{
    if (!popup || GetMenuItemCount(popup) < 1)
        return;
    if (GetMenuItemID(popup, 0) == 607)
        appInitToolWindowsMenu(frame, popup);
    // The File menu: the custom output command stands just before "Fax...".
    if (GetMenuState(popup, 114, MF_BYCOMMAND) != (UINT)-1)
        prnCustomDriverCommand(frame, popup, 1958, 114);
}

const char *appMenuLanguageResource(int command, int *languageId)
{
    struct Entry {
        int command;
        const char *name;
        int id;
    };
    static const Entry kTable[] = {
        {1919, nullptr, 1}, {1922, nullptr, 1}, {1920, "QM_TAIWAN", 2},
        {1921, "QM_CHINESE_SIMPLIFIED", 3}, {1923, "QM_JAPANESE", 4}, {1924, "QM_KOREAN", 5},
    };
    for (const Entry &e : kTable)
        if (e.command == command) {
            if (languageId)
                *languageId = e.id;
            return e.name ? e.name : APP_ENGLISH_MENU;
        }
    return nullptr;
}

BOOL appSetMenuLanguage(HWND frame, int command)
{
    int id = 0;
    const char *name = appMenuLanguageResource(command, &id);
    if (!name)
        return FALSE;
    HMENU menu = LoadMenuA((HINSTANCE)GetWindowLongPtrA(frame, GWLP_HINSTANCE), name);
    if (!menu)
        return FALSE;
    HMENU old = GetMenu(frame);
    appSetFrameMenu(frame, menu);
    if (old)
        DestroyMenu(old);
    setPutString("MenuLanguage", name);
    setPutNumber("MenuLanguage_id", (DWORD)id);
    appSetMenuLanguageId(id);
    return TRUE;
}

char *appGetMenuLanguageName(char *buffer)
{
    return (setGetString("MenuLanguage", buffer) > 0 && buffer[0]) ? buffer : nullptr;
}
