// The order of the page's top-level objects (the stacking order): the
// restorer of a saved order that the undo of the order commands calls.
#pragma once
#include "support/qmwin.h"

// ListOrderSnapshot: u32 byte size (4 n + 4), then the n object handles in
// list order. A new snapshot of the current page's list; 0 when memory
// fails.
MemHandle ordTakeListOrder(HWND ws);
// Empties the page's list and appends every object of the snapshot that is
// still alive, in order.
void ordRestoreListOrder(HWND ws, MemHandle snapshot);
// Relinks the page's list as the n objects of `first` (each named once)
// followed by the page's other objects in their present order, repainting
// every object of the list.
void ordRelinkInOrder(HWND ws, const MemHandle *first, size_t n);
