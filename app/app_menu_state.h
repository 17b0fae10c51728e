// Menu state and menu language: the states of a pop-up menu set as it
// opens, and the switch between the English menu and its East Asian
// variants. Only the Tool Windows pop-up has its rule so far; the other
// pop-ups are left as they are.
#pragma once
#include "support/qmwin.h"

// The English menu bears the name of the product's frame class.
extern const char APP_ENGLISH_MENU[];   // "ridevi"

// WM_INITMENUPOPUP of the frame for a pop-up menu (not the system menu).
void appInitMenuPopup(HWND frame, HMENU popup);
// The Tool Windows pop-up (first item 607): 607 checked with bar bit 1, 750
// with bit 32, 919 while the bottom bar exists, 749 while the text tools are
// in use.
void appInitToolWindowsMenu(HWND frame, HMENU popup);
// Commands 1919 to 1924: loads the chosen menu resource, sets it and
// remembers it in "MenuLanguage" and "MenuLanguage_id"; a menu that cannot
// be loaded changes nothing. TRUE when the menu changed.
BOOL appSetMenuLanguage(HWND frame, int command);
// The menu resource name and language id of a command; null for others.
const char *appMenuLanguageResource(int command, int *languageId);
// The "MenuLanguage" string (260 bytes); null when it is not set.
char *appGetMenuLanguageName(char *buffer);
