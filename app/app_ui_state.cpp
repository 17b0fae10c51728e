#include "app/app_ui_state.h"
#include "app/app_frame.h"
#include "views/dw_window.h"

namespace {
int g_menuLanguage = 0;
HWND g_activeWorkspace = nullptr;
}

int appGetMenuLanguageId() { return g_menuLanguage; }
void appSetMenuLanguageId(int language) { g_menuLanguage = language; }

HWND appGetActiveWorkspace()
{
    // With a main frame the active document window tells; otherwise the
    // workspace last recorded as active.
    if (HWND client = appGetMdiClient(nullptr)) {
        HWND doc = (HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, 0);
        return doc ? dwGetWorkspace(doc) : nullptr;
    }
    if (g_activeWorkspace && !IsWindow(g_activeWorkspace))
        g_activeWorkspace = nullptr;
    return g_activeWorkspace;
}
void appSetActiveWorkspace(HWND workspace) { g_activeWorkspace = workspace; }
