// Properties of a text object's box (type 40). Its type data: box width and
// height (two u32), then the 122-byte text header whose u32 flag word lies
// at header +60 (type data +68).
#pragma once
#include "support/qmwin.h"

const uint32_t kTxFlagsOffset = 68;   // TextFlags, from the type data
const uint32_t kTxRightToLeft = 0x800; // lines stacked right to left

// 1 when the text keeps its right edge when its box changes: its lines are
// stacked from right to left. 0 for anything else, or a record too short.
int txKeepsRightEdge(MemHandle textObject);
