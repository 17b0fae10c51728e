// The page guides as the select mode uses them.
#pragma once
#include "support/qmwin.h"

// The guide under the point: the vertical guide's index in the low 16
// bits, the horizontal one's in the high 16 bits, each -1 for none; the
// point is snapped to the guides found.
uint32_t pvGuideHitTest(HWND ws, POINT *pt);
// The guide menu at the packed position for the hit guides.
void pvGuideMenu(HWND ws, LPARAM lParam, int vertical, int horizontal);
// A copy of the current page's guide table (the caller frees it); 0 for
// none.
MemHandle pvGetCurrentGuides(HWND ws);
// The position of guide `index` of the kind (1 vertical, 2 horizontal).
int32_t gdGetPos(MemHandle table, int index, int kind);
// Moves a guide; 0 when nothing changed.
int pvMoveGuide(HWND ws, int index, int32_t position, int kind);
// Records undo kind 24: the table before, the kind, the distance and the
// objects moved along.
int pvRecordGuideMove(HWND ws, MemHandle table, int32_t count, int kind, int32_t distance,
                      const MemHandle *objects);
