#include "support/app_ui_state.h"

namespace {
int g_menuLanguage = 0;
HWND g_activeWorkspace = nullptr;
AppActiveWorkspaceCall g_frameAnswer = nullptr;
}

int appGetMenuLanguageId() { return g_menuLanguage; }
void appSetMenuLanguageId(int language) { g_menuLanguage = language; }

HWND appGetActiveWorkspace()
{
    // With a main frame the active document window tells; otherwise the
    // workspace last recorded as active.
    HWND workspace = nullptr;
    if (g_frameAnswer && g_frameAnswer(&workspace))
        return workspace;
    if (g_activeWorkspace && !IsWindow(g_activeWorkspace))
        g_activeWorkspace = nullptr;
    return g_activeWorkspace;
}
void appSetActiveWorkspace(HWND workspace) { g_activeWorkspace = workspace; }
void appSetActiveWorkspaceCall(AppActiveWorkspaceCall call) { g_frameAnswer = call; }
