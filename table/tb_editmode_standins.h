// Stand-ins for the table edit mode's cell text editor. The in-place
// editing of a cell's text (opening the text editor on a cell, storing its
// text back, moving its frame, painting it) is not built yet: no cell is
// ever being typed in, so these store nothing and only clear the current
// cell.
#pragma once
#include "support/qmwin.h"

// Stores the editor's text into the current cell; 1 when it changed.
int tbStoreCellText(HWND ws);
// Ends the editing of the current cell and clears it.
void tbEndCellEdit(HWND ws);
// Moves the editor's frame to the current cell's text rectangle.
void tbMoveCellEditor(HWND ws);
// Empties the editor's text (the Clear command while a cell is typed in).
void tbClearEditorText(HWND ws);
// The editor's painting of the edited cell.
void tbPaintCellEditor(HWND ws, HDC dc);
