// Stand-in: the rulers do not draw tab marks yet, so there is nothing to
// show or hide.
#include "views/ws_ruler_tabs.h"

void wsShowRulerTabs(HWND, int, BOOL) {}
