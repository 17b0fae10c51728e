#include "app/app_ui_state.h"

namespace {
int g_menuLanguage = 0;
HWND g_activeWorkspace = nullptr;
}

int appGetMenuLanguageId() { return g_menuLanguage; }
void appSetMenuLanguageId(int language) { g_menuLanguage = language; }

HWND appGetActiveWorkspace()
{
    if (g_activeWorkspace && !IsWindow(g_activeWorkspace))
        g_activeWorkspace = nullptr;
    return g_activeWorkspace;
}
void appSetActiveWorkspace(HWND workspace) { g_activeWorkspace = workspace; }
