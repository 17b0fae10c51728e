// How a button list reacts to the mouse: the hover watch and tooltips, the
// left-button press by kind, the right-button command and menu, drag and
// drop onto the page, and fly-out sub-lists.
#pragma once
#include "controls/btnlist.h"

// Commands to the frame while a button is dragged out of a list.
enum {
    BL_DROP_PREPARE = 76,   // the workspace leaves its mode and selection
    BL_DROP_CREATE = 77,    // lParam: BlDropInfo*; create the object there
    BL_DROP_RECT = 78,      // lParam: BlDropBlock*; fill in the object's rectangle
    BL_DROP_ASK = 79,       // lParam: uint32_t* answer; non-zero over the active workspace
};

// The 16-byte drop block: on BL_DROP_RECT its first 32 bits hold the
// button's command id, and the workspace replaces the block with the
// rectangle of the object to be created (logical units).
struct BlDropBlock {
    int32_t left, top, right, bottom;
};
static_assert(sizeof(BlDropBlock) == 16, "the drop block is 16 bytes");

// What BL_DROP_CREATE points to: the dragged entry and the rectangle.
struct BlDropInfo {
    const ToolButton *entry;
    BlDropBlock rect;
};

// Message handlers of the list window.
void blOnMouseMove(HWND list, LPARAM lParam);
void blOnHoverTimer(HWND list);
void blOnLButtonDown(HWND list, LPARAM lParam);
void blOnRButtonDown(HWND list, LPARAM lParam);
void blOnRButtonUp(HWND list, LPARAM lParam);

// The one hover watch of the program.
HWND blGetHoverList();
void blStopHoverWatch(HWND list);   // only when that list is watched; null: any

// Opens the fly-out of entry index (its handle holds a sub-list); the new
// list window, or null when the sub-list is empty or no window was made.
HWND blOpenFlyout(HWND list, int index);

// The tip box position for a button rectangle (client coordinates of the
// list) and the pointer's client point: the button's lower left corner moved
// down by the pointer's distance from the button top, rounded down to a
// multiple of a third of the button height.
POINT blTipPosition(const RECT &button, POINT pt);

void blResetPressModule();
