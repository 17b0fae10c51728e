// Stand-ins for the table edit mode's cell text editor: without the editor
// no cell text is ever being typed, so there is nothing to store, move or
// paint.
#include "table/tb_editmode_standins.h"
#include "table/tb_session.h"

int tbStoreCellText(HWND) { return 0; }
void tbEndCellEdit(HWND) { tbClearCurrentCell(); }
void tbMoveCellEditor(HWND) {}
void tbClearEditorText(HWND) {}
void tbPaintCellEditor(HWND, HDC) {}
