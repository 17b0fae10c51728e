// Cell blocks: fitting a run of widths or heights between two edges, and
// re-fitting the texts of a block of cells to their cells.
#pragma once
#include "support/qmwin.h"
#include "table/tb_record.h"

// Walking the values from start, the first one whose end would pass the
// limit is cut to end there and every later one becomes 0; values ending
// short of the limit have the last one stretched to it. 1 when no value
// was cut.
int tbClampSizes(int32_t start, int32_t limit, uint32_t *values, int n);
// Breaks the text of every cell of the session's block (null ends: the
// whole table) into lines for its cell's text width, with the cell's font
// and alignment, on the measuring context.
void tbRefitCellTexts(HWND ws, const TableCell *anchor, const TableCell *end);
