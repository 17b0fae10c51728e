// What the undo needs of the multiple selection: the MergeUndo block of
// Merge Text Objects (made, performed, released) and the move-back of an
// aligned selection.
#pragma once
#include "support/qmwin.h"

#pragma pack(push, 1)
struct MergeUndo {
    uint32_t size;            // 26
    uint16_t zero;
    uint32_t merged;          // the merged text object
    uint32_t order;           // handle: the page's objects before (u32 each)
    uint32_t orderCount;
    uint32_t selection;       // handle: the merged text objects, unlinked, not freed
    int16_t selectionCount;
    uint16_t reserved;
};
#pragma pack(pop)
static_assert(sizeof(MergeUndo) == 26, "the merge undo block is 26 bytes");

// A new block over the merged object, the saved page order and the saved
// selection, which it owns from here on; 0 when memory fails.
MemHandle msMakeMergeUndo(MemHandle merged, MemHandle order, uint32_t orderCount,
                          MemHandle selection, int16_t selectionCount);
// The page list rebuilt from the saved order, the merged object freed; the
// first of the merged text objects, now current. The block is released.
MemHandle msUndoMerge(HWND ws, MemHandle block);
// Frees the block with its arrays and the saved text objects it still owns.
void msReleaseMergeUndo(MemHandle block);
// A record moved from `old` to `now`: the block's merged object, saved
// order and saved selection name the new handle.
void msFollowMovedObject(MemHandle block, MemHandle old, MemHandle now);
// The objects of the multiple selection moved back by minus their saved
// moves (dx, dy, i32 each, in selection order).
void msUndoAlign(HWND ws, MemHandle moves);
