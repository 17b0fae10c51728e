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

// The undo of member moves (the saved centres, 8 bytes each): in mode 4 the
// multiple selection's own restore; otherwise each member of the object in
// order is moved so that its centre lands on the next saved point and the
// object's bounds are refitted. 1 when restored; 0 when there are no members.
int epRestoreMemberCentres(HWND ws, MemHandle object, MemHandle saved);
// The Clone command: asks the clone settings and appends each copy the
// arrangement places as a separate object (the first recorded as undo kind
// 9). A total above 100 copies is refused with message 921. 1 when copies
// were made.
int epMakeCloneCopies(HWND ws, MemHandle object);
// The current object's kind for the message bar: "<EXT> File" for an image
// file object whose linked file has an extension, else the type's display
// name. Written into text (at least 32 bytes) and returned.
const char *epCurrentKindName(HWND ws, char *text);
// A direction command (760-767, 830-833) turned into the nudge offsets;
// other ids leave them. Returns 1.
int epDirectionOffset(int16_t command, int32_t *dx, int32_t *dy);
