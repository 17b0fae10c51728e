// The modeless progress dialog ("progress") and the list-view services of
// grid-like dialogs: columns from a delimited text, in-place cell editing
// and owner-drawn square cells.
#pragma once
#include "support/qmwin.h"

// ---- progress dialog ------------------------------------------------------------------
// Opens "progress" (bar 100) with the range low..high (16-bit each) and the
// caption when it is not empty; null when it cannot be made. OK or Cancel
// in it destroys it.
HWND dlgProgressOpen(HWND owner, const char *caption, int low, int high);
int dlgProgressSetPos(HWND dialog, int position);
void dlgProgressClose(HWND dialog);

// ---- list views -----------------------------------------------------------------------
// Deletes every row, then every column.
void winListViewClear(HWND listView);
// Inserts an empty row at the index; the index it got, -1 on failure.
int winListViewInsertRow(HWND listView, int row);
// One left-aligned column per non-empty caption of the delimited text, in
// order; widths from the handle (one int32 per column) or 90.
BOOL winListViewAddColumns(HWND listView, const char *captions, char delim, MemHandle widths);
// The first selected row, -1 when none.
int winListViewFirstSelected(HWND listView);
// The row under the cursor, -1 when none.
int winListViewHitRow(HWND listView);
// Moves the editor combo box over the cell, gives it the cell's text (the
// equal item selected, else set as its text), brings it to the top and
// focuses it; FALSE when the cell has no rectangle.
BOOL winListViewEditCell(HWND listView, int row, int column, HWND editor, int maxLen);
// Adds grid lines when the window is a list view.
LRESULT winListViewGridLines(HWND window);
// WM_MEASUREITEM for the expected control: the height of the reference
// item's window (21 when it does not exist). TRUE when the ids matched.
BOOL winMeasureItemHeight(HWND dialog, int controlId, MEASUREITEMSTRUCT *mis, int expectedId,
                          int referenceId);
// (client width - scroll bar width) / columns.
int winListViewCellWidth(HWND listView, int columns);
// Adds the columns centred, each winListViewCellWidth wide; 1.
int winListViewAddSquareColumns(HWND listView, int columns);
// WM_MEASUREITEM: rows as high as a cell is wide, so cells are square.
BOOL winMeasureSquareRow(HWND dialog, int controlId, MEASUREITEMSTRUCT *mis, int expectedId,
                         int columns);
// Draws one cell of an owner-drawn list view row: called as
// (context, 3, 0, DRAWITEMSTRUCT *) with the cell's rectangle, item id
// row * columns + column and the selected state only on the selected cell.
typedef LRESULT (*WinListCellProc)(HWND context, UINT code, WPARAM zero, LPARAM cell);
void winListViewDrawRow(HWND context, const DRAWITEMSTRUCT *dis, int columns,
                        WinListCellProc cellProc, int selectedRow, int selectedColumn);
// Invalidates (erasing) the cell; nothing for a negative row or column.
void winListViewRedrawCell(HWND listView, int row, int column);
// Number of columns.
int winListViewColumnCount(HWND listView);
