// Object colours applied to a table's cells.
#pragma once
#include "support/qmwin.h"

// Applies an object colour (fill 6, background 10, pen 14) to the table's
// cells.
void tbApplyColour(MemHandle table, COLORREF colour, int colourId);
