// Frame state that tool windows ask for: the interface language of the menus
// and the active document's workspace window.
#pragma once
#include "support/qmwin.h"

enum { APP_MENU_LANGUAGE_TAIWAN = 2 };   // Traditional Chinese menus ("_TAIWAN")

int appGetMenuLanguageId();
void appSetMenuLanguageId(int language);

// The workspace of the active document window of the main frame, or null;
// without a frame, the workspace last recorded as active.
HWND appGetActiveWorkspace();
void appSetActiveWorkspace(HWND workspace);
