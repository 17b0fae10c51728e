// Table geometry: where each cell and its text lie, the column names, the
// screen areas the table editor invalidates, and rescaling. All lengths are
// twips; a table's grid starts at its rectangle's top-left corner.
#pragma once
#include "support/qmwin.h"
#include "table/tb_record.h"

// Cell texts are inset by twice the 40-twip base inset on every side.
const int32_t kTbTextInset = 80;

// The rectangle of the cell at (column, row): a joined range's anchor
// covers its span; right and bottom are limited to the table.
void tbCellRect(const TableHead *head, const TableCell *cell, int column, int row,
                const RECT *table, const uint32_t *widths, const uint32_t *heights, RECT *out);
BOOL tbObjCellRect(MemHandle object, int column, int row, RECT *out);
// On the edit session's copies; FALSE outside the grid.
BOOL tbSessCellRect(int column, int row, RECT *out);
BOOL tbCellTextRect(int column, int row, RECT *out);
int32_t tbTextInsetTwice();
void tbInsetRect(RECT *r);
void tbOutsetRect(RECT *r);
// The union of two cells' session rectangles (the second ignored when not
// a valid cell); FALSE when the first is not valid.
BOOL tbCellPairRect(const TableCell *first, const TableCell *second, RECT *out);

// Spreadsheet name of a 0-based column: 0 A, 25 Z, 26 AA.
void tbColumnName(char *buffer, int column);

// ---- invalidation (logical rectangles of the workspace window) ---------------------------
void tbInvalidateCell(HWND ws, int column, int row, BOOL erase);
void tbInvalidateSelection(HWND ws, BOOL erase);
void tbInvalidateCellPair(HWND ws, const TableCell *first, const TableCell *second, BOOL erase);
void tbInvalidateRange(HWND ws, const TableCell *first, const TableCell *second, BOOL erase);
void tbInvalidateColumn(HWND ws, int column);
void tbInvalidateRow(HWND ws, int row);
void tbInvalidateHandlesRB(HWND ws);
void tbInvalidateHandlesLT(HWND ws);

// ---- rescaling -------------------------------------------------------------------------------
// The object rescale entry of tables: widths and heights scaled to the new
// box and fitted to its edges, the corner size scaled (rounded frames) or
// cleared, the cell texts re-fitted. Returns the object's handle (it may
// move); the old one unchanged when no session can be opened.
MemHandle tbRescale(MemHandle object, const RECT *target);
