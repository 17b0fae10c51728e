// Aligning the members of a group or chain inside it.
#pragma once
#include "support/qmwin.h"

// 420-426: each member's left, right, top or bottom edge, centre x, centre
// y or centre onto the group's; 781 the members stacked with the gap in the
// high half of lParam, 782 put in a row with the gap in the low half, 786
// put on a circle (radius the low half, start angle the high half); 785
// moves nothing but counts as done. A change records the members' old
// centres as the undo step. 1 when done; any object but a Group or Chain
// beeps, 0.
int epAlignMembers(HWND ws, MemHandle object, uint16_t command, uint32_t lParam);
