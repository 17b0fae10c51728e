// Stand-in: the continuous view is not in the program yet. A click never
// reaches a neighbouring page and the view menu is not offered.
#include "views/ws_scroll_standins.h"

int wsClickIntoOtherPage(HWND, POINT) { return 0; }
void wsTrackScrollMenu(HWND, LPARAM) {}
