// Naming an object through the "Name the Object" dialog.
#pragma once
#include "support/qmwin.h"

// Runs OBJNAME on the object's name; on OK the name is written (the record
// may move: the new handle comes back through *object). 1 when changed.
int objnameAsk(HWND window, MemHandle *object, const POINT *placement);
