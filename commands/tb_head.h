// What the undo needs of the table object: the copy of a table's head and
// attributes taken before a head edit, and putting it back.
#pragma once
#include "support/qmwin.h"

// A table (45) or a report table (54).
BOOL tbIsTable(MemHandle object);
// A new handle with a copy of the table's record (its head, its name and
// its table data); 0 for anything but a table or when memory fails.
MemHandle tbCopyData(MemHandle table);
// The table's record made the saved copy again, its length word and links
// kept as they are now. The table's handle to use afterwards (it moves
// when the record grows); the old one when the copy cannot be applied.
MemHandle tbReplaceHead(HWND ws, MemHandle table, MemHandle copy);
