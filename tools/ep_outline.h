// The drag outline of any object (drawn with the caller's not-XOR pen, so
// that drawing it again erases it), the resize outline that keeps a scaled
// working copy of the object, and the small font and edit entries of the
// calendar that the font application and the edit command call.
#pragma once
#include "support/qmwin.h"

// The outline of one object by its type: the type's own outline routine,
// or the frame of its rectangle for a kind without one. Nothing is filled.
void objOutlineByType(HDC dc, MemHandle object);
// The outline with the object's centre moved to (x, y) for the drawing
// only: the old centre is put back.
void objOutlineAt(HDC dc, MemHandle object, int32_t x, int32_t y);
// The resize outline, by step: 1 begins (a working copy of the record for
// the kinds outlined by scaling; 0 when it cannot be made), 0 draws the
// outline fitted into the rectangle (nothing for a rectangle without width
// or height), -1 ends (the copy freed). Answers 1 otherwise.
enum { OBJ_OUTLINE_BEGIN = 1, OBJ_OUTLINE_DRAW = 0, OBJ_OUTLINE_END = -1 };
int objScaledOutline(HDC dc, MemHandle object, const RECT *rect, int step);
// 1 for the kinds whose resize outline is their scaled shape: 2, 4 to 15,
// 17, 18, 19, 26 and 402.
int objHasScaledOutline(MemHandle object);
int objHasScaledOutlineType(int16_t type);
// Whether a resize outline is under way (its copy exists).
BOOL objScaledOutlineActive();

// The calendar's edit command: the calendar dialog on its data; after a
// confirmed dialog the fill kind follows the dialog's fill flag, the height
// becomes the shown title, the heading row and the body, and the layout is
// recomputed. 1 when the dialog was confirmed.
int calEditObject(HWND ws, MemHandle calendar);
// The one font into the title, day-name and date fonts; the handle.
MemHandle calSetFonts(HWND ws, MemHandle calendar, const LOGFONTA *font);
// The title font; 1, or 0 for no calendar.
int calGetFont(MemHandle calendar, LOGFONTA *font);
