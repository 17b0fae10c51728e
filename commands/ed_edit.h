// The Edit command (197 and 401): opens the editor of the selected object
// by its type.
#pragma once
#include "support/qmwin.h"

enum : int {
    ED_CMD_EDIT_SELECTED = 197,   // passes no command id
    ED_CMD_EDIT = 401,
};

// Only in tool modes 0, 2 and 5; drops the pending undo. A locked object or
// one on a layer that cannot be edited is refused with "edit". Returns 1
// when the editor was started (or the type needs none), else 0.
int cmdEditObject(HWND ws, MemHandle object, int command, LPARAM lParam);
// Calendars: the calendar dialog with an undo copy; 1 when confirmed.
int cmdEditCalendar(HWND ws, MemHandle calendar);
