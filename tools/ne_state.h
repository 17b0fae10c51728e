// The Line-Draw settings that the freehand drawing tools share with node
// editing (tools/ne_standins.cpp holds them until node editing arrives).
#pragma once
#include "support/qmwin.h"

enum : uint16_t {
    NE_FLAG_OBJECT_PEN = 0x40,   // tracking lines in the object's own pen
    NE_FLAG_ADVANCED = 0x80,     // "Advanced line-create option": strokes go on after a drag
};

// The flags word (default 0x40).
uint16_t neGetFlags();
// Device pixels, clamped on read: minimum spacing at least 1 (default 3),
// curve resolution at least 2 (default 6), close spacing at least 2
// (default 5).
int32_t neGetMinSpacing();
int32_t neGetCurveResolution();
int32_t neGetCloseSpacing();
// The three numbers and the advanced bit, as the Options page shows them;
// the setter stores the numbers as given.
void neGetLineDrawOptions(int32_t *spacing, int32_t *resolution, int32_t *close, BOOL *advanced);
void neSetLineDrawOptions(int32_t spacing, int32_t resolution, int32_t close, BOOL advanced);
