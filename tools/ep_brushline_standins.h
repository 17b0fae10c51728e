// Stand-in for the brush line tool: its editing state for the Edit menu.
#pragma once
#include "support/qmwin.h"

// Both 0 in Create Mode; in Edit Mode hasStroke is 1 when a stroke is
// current. Returns the current stroke's index.
uint16_t epBrushLineEditState(HWND ws, uint16_t *first, uint16_t *hasStroke);
