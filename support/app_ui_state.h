// Frame state that tool windows ask for: the interface language of the menus
// and the active document's workspace window. The frame fills both at
// start-up; the active workspace is asked of the frame through the call it
// installs (appSetActiveWorkspaceCall).
#pragma once
#include "support/qmwin.h"

enum { APP_MENU_LANGUAGE_TAIWAN = 2 };   // Traditional Chinese menus ("_TAIWAN")

int appGetMenuLanguageId();
void appSetMenuLanguageId(int language);

// The workspace of the active document window of the main frame, or null;
// without a frame, the workspace last recorded as active.
HWND appGetActiveWorkspace();
void appSetActiveWorkspace(HWND workspace);

// The frame's answer: FALSE when there is no main frame (the recorded
// workspace answers then), else TRUE with the workspace of the active
// document window (null when none). Null uninstalls it.
typedef BOOL (*AppActiveWorkspaceCall)(HWND *workspace);
void appSetActiveWorkspaceCall(AppActiveWorkspaceCall call);
