// The two handle drags of select mode: the resize drag, which fits the
// current object into the rectangle its handle spans, and the end-point
// drag of lines and arrows.
#pragma once
#include "support/qmwin.h"

// The rectangle of one resize drag: left, top, right, bottom (for a line,
// the two ends: left, top the first and right, bottom the second).
#pragma pack(push, 1)
struct ResizeTarget {
    int32_t left, top, right, bottom;
};
#pragma pack(pop)
static_assert(sizeof(ResizeTarget) == 16, "the resize target is four i32");

// Resizes the object by the handle from the press (packed client
// position); 1 when the pointer moved.
int epResizeDrag(HWND ws, MemHandle object, LPARAM press, int handle);
// The target for the pointer at (x, y) dragging the handle, from the
// object's rectangle (its two ends for a line) as the drag began. Mode 2
// corners (rotated text, composite) keep the opposite corner and the
// aspect ratio.
void epResizeRect(MemHandle object, int32_t x, int32_t y, int handle, RECT *target);
// The same from a given start: type, handle mode and starting target.
void epResizeRectFrom(int16_t type, uint16_t mode, const RECT *start, int32_t x, int32_t y,
                      int handle, RECT *target);
// A target without width or height: refused with its message (the pending
// copy stays as the undo step) unless the object was already flat that
// way; else the object is fitted into it. 1 when fitted.
int epZeroSizeCheck(HWND ws, MemHandle object, const RECT *target);
// Drags end 0 or 1 of a line or arrow from the press; 1 when the pointer
// moved.
int epDragEndPoint(HWND ws, MemHandle object, LPARAM press, int end);
