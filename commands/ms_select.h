// Multiple selection: moving an object by a distance, the multiple
// selection mode (4), in which clicks gather objects and a double click
// makes them one temporary chain, and the chain of a rubber band.
#pragma once
#include "support/qmwin.h"

// Moves the object by (dx, dy) twips: undo kind 5, its area redrawn
// before and after, its handles computed again, the document modified.
// 0 for no object or a locked one (reported).
int cmdMoveObjectBy(HWND ws, MemHandle object, int32_t dx, int32_t dy);
// Command 402: multiple selection mode with nothing gathered yet; command
// 1970 (lParam a block of object handles ending with 0, taken over and
// freed) then gathers those objects.
int cmdEnterMultiSelect(HWND ws, int command);
LRESULT CALLBACK MultiSelectToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);
// The objects gathered by the mode, in the order they were gathered.
int msGetGathered(HWND ws, MemHandle *objects, int capacity);

// How many objects of the list from `first` lie wholly inside the
// rectangle and may be selected (not locked, on a shown editable layer).
int msHasObjectsInRect(MemHandle first, const RECT *rect);
MemHandle msFirstObjectInRect(MemHandle first, const RECT *rect);
// The temporary chain of the page's objects inside the rectangle (see
// msBuildChain); 0 when there are fewer than two.
MemHandle msBuildSelection(HWND ws, const RECT *rect);
// The objects (those in the page's top-level list) made one Chain (84), in
// page order, put where the topmost of them lay. 0 for fewer than two or
// when memory runs out (then the page is as it was).
MemHandle msBuildChain(HWND ws, const MemHandle *objects, int n);
// The chain made a permanent group (type 84 becomes 80) with its whole
// tree on the current layer; nothing for anything but a chain.
void msChainToGroup(MemHandle chain);
// The pending multiple-selection step (kind 25) names its chain.
void msSetUndoObject(HWND ws, MemHandle chain);
// The marks of the gathered objects, drawn hollow in not-XOR (drawn again
// they disappear).
void msDrawMarks(HWND ws, HDC dc);
