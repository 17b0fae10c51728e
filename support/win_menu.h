// Every popup menu of the program is tracked through this one helper, so
// that tests can record the menu and answer it instead of a person.
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

// Builds a popup menu of the first count entries, tracks it at the packed
// client position of the window (x in the signed low 16 bits, y in the
// signed high 16 bits) through winTrackPopup, so that the chosen command is
// posted to the window, and destroys it. FALSE when no menu was made.
BOOL winTrackMenuTable(HWND window, LPARAM packedClient, const WinMenuTableEntry *table,
                       int count);

// Enables (flag above 0) or greys the items of a pop-up by position for the
// first min(count, item count) positions; separators count as positions.
// A null table greys every item.
void winEnableMenuItems(HMENU menu, const int16_t *flags, int count);
