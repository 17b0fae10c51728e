// The order of the page's top-level objects (the stacking order): moving
// the selected object to the back or the front or one step, sorting the
// page by position, stepping the selection through the page, and the
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

// The order commands (406, 407, 427, 428, 414): each drops the pending
// undo first and beeps with 0 when there is no object (414 needs none).
int cmdSendToBack(HWND ws, MemHandle object);      // undo kind 17
int cmdBringToFront(HWND ws, MemHandle object);    // undo kind 17
int cmdSendBackward(HWND ws, MemHandle object);    // undo kind 2, command 428
int cmdBringForward(HWND ws, MemHandle object);    // undo kind 2, command 427
int cmdOrderByPosition(HWND ws);                   // undo kind 17, reading order
// Stepping the selection (560, 561, 408, 409), in select mode only (else
// 0): the first, the last, the previous (wrapping to the last) or the next
// (wrapping to the first) object becomes current and is scrolled into view.
int cmdGoToFirst(HWND ws);
int cmdGoToLast(HWND ws);
int cmdGoToPrevious(HWND ws, MemHandle object);
int cmdGoToNext(HWND ws, MemHandle object);
