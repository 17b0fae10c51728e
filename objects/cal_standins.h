// The calendar module's dialog, as far as the drawing tools need it.
#pragma once
#include "support/qmwin.h"

// The calendar dialog on the calendar's type data and its fill flag
// (in/out); nonzero when the user confirmed it.
int calEditDialog(HWND owner, MemHandle calendar, int *fillFlag);
