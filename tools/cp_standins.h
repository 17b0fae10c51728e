// Composite objects: the whole flow of making or editing one.
#pragma once
#include "support/qmwin.h"

// Runs "COMPOSITE" on the object (creating: a new composite is made around
// it); the resulting object or 0, the follow-up code in *result (2: edit
// the centre next).
MemHandle cpEditComposite(HWND ws, MemHandle object, BOOL creating, int *result);
// Follow-up of a result code: 2 starts the centre edit.
void cpAfterEdit(HWND ws, MemHandle object, int result);
