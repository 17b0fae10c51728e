// Stand-in for the start of Label editing (tool mode 19): the Label is not
// yet turned into a temporary text object for editing, so the mode is
// installed with nothing to edit and the owner command is kept unused.
// What is missing: the conversion, the session, the commit and the end.
#pragma once
#include "support/qmwin.h"

// Starts Label editing; 0 when the Label cannot be converted.
int teBeginLabelEdit(HWND ws, MemHandle label, LPARAM unused, uint16_t ownerCommand);
