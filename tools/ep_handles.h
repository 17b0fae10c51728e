// Selection handles of the current object: the handle table, its drawing
// in not-XOR (drawn twice it disappears), the hit tests and the cursors.
#pragma once
#include "support/qmwin.h"

#pragma pack(push, 1)
struct HandleTable {
    POINT points[8];    // twips
    uint16_t count;     // 2 or 8
    uint16_t mode;      // EP_HANDLES_...
    uint32_t mayRotate;
};
#pragma pack(pop)
static_assert(sizeof(HandleTable) == 72, "the handle table is 72 bytes");

enum : uint16_t {
    EP_HANDLES_RESIZE = 0,    // all eight handles
    EP_HANDLES_ENDS = 1,      // the two ends of a line or arrow
    EP_HANDLES_CORNERS = 2,   // corners only (rotated text, composite)
    EP_HANDLES_NONE = 3,      // locked, or flag 0x800: nothing can be dragged
};

// Fills the module's table for the object (and returns it).
const HandleTable *epCalcHandles(MemHandle object);
// The same into a caller's table.
void epCalcHandlesInto(MemHandle object, HandleTable *table);
const HandleTable *epGetHandleTable();
// The handle under the point, or -1 (always -1 in mode 3; the middles count
// as -1 in mode 2).
int epHandleHit(POINT pt);
void epHandleRect(int index, RECT *r);
// The class cursor for a handle: the cross for line ends, else the sizing
// arrow of its direction.
void epSetHandleCursor(HWND window, int index);
// The rotate handle's square at the top-right corner: 1, or 0 when the
// object cannot rotate by it (flag 0x800, locked, lines, arrows, no rotate).
int epGetRotateHandle(MemHandle object, RECT *r);
int epRotateHandleHit(MemHandle object, POINT pt);
// Draws (and, drawn again, erases) the object's handles in R2_NOTXORPEN on
// the DC, or on the workspace's own mapped DC when none is given.
void epDrawHandles(HWND workspace, HDC dc, MemHandle object);
// The handle colour: the "HLBlockColor" setting, read once.
COLORREF epGetHandleColor();
void epSetHandleColor(COLORREF colour);
