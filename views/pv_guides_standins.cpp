// Stand-in: page guides are not in the program yet. No page has a guide,
// so nothing is hit, moved or recorded.
#include "views/pv_guides_standins.h"

uint32_t pvGuideHitTest(HWND, POINT *) { return 0xFFFFFFFFu; }
void pvGuideMenu(HWND, LPARAM, int, int) {}
MemHandle pvGetCurrentGuides(HWND) { return 0; }
int32_t gdGetPos(MemHandle, int, int) { return 0; }
int pvMoveGuide(HWND, int, int32_t, int) { return 0; }
int pvRecordGuideMove(HWND, MemHandle, int32_t, int, int32_t, const MemHandle *) { return 0; }
