// Multiple selection: the multiple
// selection mode (4), in which clicks gather objects and a double click
// makes them one temporary chain, and the chain of a rubber band.
#pragma once
#include "support/qmwin.h"

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
// The pending multiple-selection step (kind 25) names its chain.
void msSetUndoObject(HWND ws, MemHandle chain);
// The marks of the gathered objects, drawn hollow in not-XOR (drawn again
// they disappear).
void msDrawMarks(HWND ws, HDC dc);
