// Stand-in: tab stops are not edited yet. The markers follow the session's
// flag on the rulers; Tab in overwrite mode, Shift+Tab and the tab commands
// change nothing.
#include "textedit/te_tabs.h"
#include "textedit/te_session.h"
#include "views/ws_ruler_tabs.h"

void teShowRulerMarkers(HWND window, BOOL show)
{
    wsShowRulerTabs(window, 1, show);
    wsShowRulerTabs(window, 2, show);
    teSetTabsOnRuler(show);
}
void teHideTabs(HWND window)
{
    if (teGetTabsOnRuler())
        teShowRulerMarkers(window, FALSE);
}
int teTabForward(HWND) { return 0; }
int teTabBack(HWND) { return 0; }
int teTabSpacingCommand(HWND) { return 0; }
int teRulerTabsChanged(HWND) { return 0; }
int teRulerFrameChanged(HWND) { return 0; }
