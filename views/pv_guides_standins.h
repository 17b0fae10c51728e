// The page guides as the select mode uses them: views/pv_guide.h, and the
// two still missing from it (views/pv_guides_standins.cpp).
#pragma once
#include "views/pv_guide.h"

// The guide menu at the packed position for the hit guides.
void pvGuideMenu(HWND ws, LPARAM lParam, int vertical, int horizontal);
// Records undo kind 24: the table before, the kind, the distance and the
// objects moved along.
int pvRecordGuideMove(HWND ws, MemHandle table, int32_t count, int kind, int32_t distance,
                      const MemHandle *objects);
