// Every popup menu of the program is tracked through this one helper, so
// that tests can record the menu and answer it instead of a person. Beside
// it: menus built from item tables, finding, renaming, checking and cutting
// menus, and the one place the menu bar is redrawn.
#pragma once
#include "support/qmwin.h"

// Tracks the popup menu at screen position (x, y). The chosen command is
// posted to the owner as WM_COMMAND, unless flags hold TPM_RETURNCMD, when it
// is returned instead. Returns the command (0 for none) in either case.
UINT winTrackPopup(HMENU menu, UINT flags, int x, int y, HWND owner);

// A hook replaces the tracking: it gets the menu and returns the command to
// take (0 for none).
typedef UINT (*WinTrackPopupHook)(HMENU menu, UINT flags, int x, int y, HWND owner);
void winSetTrackPopupHook(WinTrackPopupHook hook);

// One entry of a menu table: a command id (0 for a separator) and its text,
// which fills the field or ends at the first zero byte.
struct WinMenuTableEntry {
    uint16_t id;
    char text[24];
};
static_assert(sizeof(WinMenuTableEntry) == 26, "a menu table entry is 26 bytes");

// One entry of a bitmap menu table: a command id, the name of a bitmap
// resource (filling the field or ending at the first zero byte) and the
// bitmap loaded for it while the menu exists (a 32-bit handle value, 0 when
// none).
#pragma pack(push, 2)
struct WinBitmapMenuEntry {
    uint16_t id;
    char bitmap[24];
    uint32_t handle;
};
#pragma pack(pop)
static_assert(sizeof(WinBitmapMenuEntry) == 30, "a bitmap menu entry is 30 bytes");

// A popup menu of the first count entries: a string item per entry, a
// separator for id 0 whatever its text. Null when count is below 1 or the
// menu cannot be made. The caller destroys it.
HMENU winMenuFromTable(const WinMenuTableEntry *table, int count);

// Builds a popup menu of the first count entries, tracks it at the packed
// client position of the window (x in the signed low 16 bits, y in the
// signed high 16 bits) through winTrackPopup, so that the chosen command is
// posted to the window, and destroys it. FALSE when no menu was made.
BOOL winTrackMenuTable(HWND window, LPARAM packedClient, const WinMenuTableEntry *table,
                       int count);

// A popup menu of bitmap items: each entry's bitmap is loaded from the
// window's instance (winLoadBitmap), its handle stored in the entry and the
// item appended as MF_BITMAP (an entry whose bitmap is missing becomes a
// string item of its name, an entry with id 0 a separator). The bitmaps
// belong to the table: free them with winFreeBitmapTable after the menu is
// destroyed.
HMENU winMenuFromBitmapTable(HWND window, WinBitmapMenuEntry *table, int count);
// Deletes each stored bitmap and clears its handle.
void winFreeBitmapTable(WinBitmapMenuEntry *table, int count);

// Enables (flag above 0) or greys the items of a pop-up by position for the
// first min(count, item count) positions; separators count as positions.
// A null table greys every item. Returns the menu's item count (what
// GetMenuItemCount answers, -1 for a null menu).
int winEnableMenuItems(HMENU menu, const int16_t *flags, int count);

// The first sub-menu whose first item has the command id: the menu's own
// sub-menus by position first, then theirs, level by level. Null when none.
HMENU winFindSubMenu(HMENU menu, UINT firstId);
// Renames the top-level item of the window's menu whose sub-menu begins
// with the command id. The menu bar is redrawn only when the text it shows
// (at most 80 characters, compared case-sensitively) differs. TRUE when the
// item was found.
BOOL winRenameSubMenu(HWND window, UINT firstId, const char *text);
// Checks or unchecks the item with the command id.
void winCheckMenuItem(HMENU menu, UINT id, BOOL on);
// The position of the item with the command id in the menu itself, -1 when
// it has none.
int winMenuPosOfCommand(HMENU menu, UINT id);
// Removes every item after the item with the command id (the menu's own
// items); nothing when it has none.
void winMenuTruncateAfter(HMENU menu, UINT id);

// DrawMenuBar, the one way the program redraws a menu bar; a hook sees the
// calls instead (tests count them).
typedef void (*WinDrawMenuBarHook)(HWND window);
void winSetDrawMenuBarHook(WinDrawMenuBarHook hook);
void winDrawMenuBar(HWND window);
