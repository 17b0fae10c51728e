// Multi-column text: up to 16 columns of equal width side by side in a
// wrapped text object's box, stored as one stream in which a new-column
// code (63) ends every column but the last; lines are balanced so that the
// columns end at about the same height.
#pragma once
#include "support/qmwin.h"

const int kTxMaxColumns = 16;

// Column parameters passed between the dialog and these operations.
struct TextColumnSpec {
    RECT bounds;          // bounding rectangle of the object
    int16_t columns;
    int32_t gapX;         // twips on each side of every column
    int32_t gapY;         // twips above and below
    uint16_t frameStyle;
    uint32_t frameCorner;
    uint16_t divider;     // column divider line style
};

// Column index of a rectangle; 1 when the result is not empty.
BOOL txColumnRect(const RECT *rect, int32_t columns, int32_t gapX, int32_t gapY, int32_t index,
                  RECT *out);
BOOL txGetColumnSpec(MemHandle obj, TextColumnSpec *spec);
// The columned object (the object's own handle, grown), 0 when the first
// column would be empty or memory fails; below 2 columns they are removed.
MemHandle txMakeColumns(MemHandle obj, TextColumnSpec *spec);
MemHandle txRemoveColumns(MemHandle obj);
// Balances a columned text again for a new box height; 0 when the text has
// fewer than 2 columns or a stream shorter than 2 bytes.
MemHandle txRebalanceColumns(MemHandle obj, int32_t height);
// Fills dest (grown as needed) from the laid-out source; the handle to use.
MemHandle txBalanceColumns(MemHandle dest, MemHandle source, TextColumnSpec *spec);
