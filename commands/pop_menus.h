// The small menus that pop up at the pointer: the right-click menu of the
// selected object or of the page, and the menus that buttons of the tool
// lists open. Each is loaded from a menu resource (its Traditional Chinese
// twin for menu language 2) or built from a table, adjusted, tracked
// through the one tracking helper and destroyed; the chosen item arrives
// as an ordinary WM_COMMAND at the owner.
#pragma once
#include "support/qmwin.h"

// Submenu positions of "r_click".
enum : int {
    POP_TEXT = 0, POP_EQ_FIELD = 1, POP_LABEL = 2, POP_TABLE = 3, POP_CURVED_TEXT = 4,
    POP_BASE_PAGE = 5, POP_PAGE = 6, POP_OBJECT = 7, POP_FIELD = 8, POP_REPORT = 9,
    POP_USER_OBJECT = 10, POP_OBJECT_MENUS = 11,
};
// The table-built menus of popTableMenu.
enum : int {
    POP_TABLE_FLAGS = 0, POP_TABLE_ZOOM_INPUT, POP_TABLE_FIELD_KINDS, POP_TABLE_RIGHT_ARROWS,
    POP_TABLE_DOWN_ARROWS, POP_TABLE_CROSS_HAIRS, POP_TABLE_TRIANGLES, POP_TABLE_ROUND_RECTS,
    POP_TABLE_COUNT,
};

// How many items of an "r_click" submenu are greyed or enabled by position.
int popAdjustedCount(int position);
// The resource name of a menu for the present menu language ("r_click",
// "UTIL_MENU", "BASEPAGE").
const char *popMenuName(const char *english);

// The object or page menu: "r_click" submenu `position`, adjusted for the
// workspace's current object, tracked at the packed client position with
// the workspace as owner.
void popObjectMenu(HWND ws, LPARAM clientPos, int position);
// Greys or enables the items of an "r_click" submenu as the menu shows
// them (Undo with a pending step; the Text submenu's font and page-bottom
// items by the text).
void popAdjustObjectMenu(HWND ws, HMENU submenu, int position);
// "UTIL_MENU" submenu 1 (Fill), adjusted for the active workspace.
void popFillMenu(HWND owner, LPARAM screenPos);
// The Fill items' states for a workspace's current object (also used by the
// frame's menu state).
void popFillMenuState(HWND ws, HMENU menu);
// "UTIL_MENU" submenus 0 (Scale), 2 (Layer) and 3 (Scroll).
void popScaleMenu(HWND owner, LPARAM screenPos);
void popLayerMenu(HWND owner, LPARAM screenPos);
void popScrollMenu(HWND owner, LPARAM screenPos);
// The page menu: "BASEPAGE" on the base page, else the frame menu's Page
// submenu (first item 601) brought up to date. With clientCoords the
// position is in the owner's client area.
void popPageMenu(HWND owner, LPARAM pos, BOOL clientCoords);
// The frame menu's Create New Page submenu (first item 615).
void popNewPageMenu(HWND frame, LPARAM screenPos);
// The command ids of a table-built menu (at most capacity of them); the
// menu's item count.
int popTableIds(int table, uint16_t *ids, int capacity);
// One of the table-built menus at the screen position.
void popTableMenu(HWND owner, LPARAM screenPos, int table);
