// Object colours applied to a table's cells. Tables carry no cells yet: the
// cell records arrive with the table module, which fills this in.
#include "table/tb_colour.h"

void tbApplyColour(MemHandle, COLORREF, int) {}
