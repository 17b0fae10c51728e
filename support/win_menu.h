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
