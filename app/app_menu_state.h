// Menu state and menu language: the states of a pop-up menu set as it
// opens (recognised by its first item's id, worked out from the active
// workspace's tool mode, current object and page), and the switch between
// the English menu and its East Asian variants. Positions are those of the
// English pop-ups; every variant keeps them.
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
// The rules of the pop-ups, each for the active workspace `ws` (null for
// none). Positions count from 0, separators included.
void appInitFileMenu(HWND frame, HMENU popup, HWND ws);
void appInitEditMenuForObjects(HMENU popup, HWND ws);
void appInitModifyMenu(HMENU popup, HWND ws);
void appInitOrderMenu(HMENU popup, HWND ws);
void appInitAttributeMenu(HMENU popup, HWND ws);
void appInitTextMenu(HMENU popup, HWND ws);
void appInitParagraphMenu(HMENU popup, HWND ws);
void appCheckAlignment(HMENU popup, int alignment);
void appInitPageMenu(HMENU popup, HWND ws);
void appInitZoomMenu(HMENU popup, HWND ws);
void appInitGoToMenu(HMENU popup, HWND ws);
// File, Export (first item 1160): Object with a current object; Page and
// Pages always (the File rule greys the pop-up for a page without objects).
void appInitExportMenu(HMENU popup, HWND ws);
// Win (first item 2000): every item with document windows, none without.
void appInitWindowMenu(HWND frame, HMENU popup);
void appInitGradientMenu(HMENU popup, HWND ws);
void appInitDisplayMenu(HMENU popup, HWND ws);
void appInitNameMenu(HMENU popup, HWND ws);
void appInitMakeBitmapMenu(HMENU popup, HWND ws);
void appInitPasswordMenu(HMENU popup, HWND ws);
void appInitLabelMenu(HMENU popup, HWND ws);
void appInitScrollStyleMenu(HMENU popup, HWND ws);
// Text, Option (first item 475): Background, Wrap and Frame checked from
// the current text object; 2226 named by its direction.
void appInitTextOptionMenu(HMENU popup, HWND ws);
// The six hatch items 535 to 540: made owner-drawn, the current object's
// hatch style (or the page's default) checked.
void appInitColorItems(HMENU popup, HWND ws);
// The search pop-up (first item 730): the first item with a document, the
// other two when it holds links.
void appInitSearchMenu(HMENU popup, HWND ws);
// The bitmap pop-up: 510 (Copy) or 511 (And) checked by the current
// object's raster mode.
void appInitBitmapMenu(HMENU popup);

// Commands 1919 to 1924: loads the chosen menu resource, sets it and
// remembers it in "MenuLanguage" and "MenuLanguage_id"; a menu that cannot
// be loaded changes nothing. TRUE when the menu changed.
BOOL appSetMenuLanguage(HWND frame, int command);
// The menu resource name and language id of a command; null for others.
const char *appMenuLanguageResource(int command, int *languageId);
// The "MenuLanguage" string (260 bytes); null when it is not set.
char *appGetMenuLanguageName(char *buffer);
