// Stand-in: the guide popup menu and the undo step of a guide dragged with
// the objects on it are not in the program yet: no menu is shown and no
// step recorded.
#include "views/pv_guides_standins.h"

void pvGuideMenu(HWND, LPARAM, int, int) {}
int pvRecordGuideMove(HWND, MemHandle, int32_t, int, int32_t, const MemHandle *) { return 0; }
