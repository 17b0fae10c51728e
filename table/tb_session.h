// The table edit session: working copies of one table's head, widths,
// heights, cells, texts and data records, changed in place by the table
// editor and by whole-table commands, and written back into the object in
// the record's layout. One session at a time; the session object names the
// table.
#pragma once
#include "support/qmwin.h"
#include "table/tb_record.h"
#include <vector>

// Selection kind bits.
enum : int {
    TB_SEL_SINGLE = 1,      // one cell, or exactly one joined range
    TB_SEL_ALL_ROWS = 2,    // the range covers every row
    TB_SEL_ALL_COLUMNS = 4, // the range covers every column
    TB_SEL_MULTI = 8,       // more than one grid cell wide or high
};

// ---- lifetime ------------------------------------------------------------------------------
BOOL tbBeginSession(MemHandle object);
MemHandle tbSessionObject();
int16_t tbSessionType();
void tbEndSession();
// Writes the session into the object without ending it; the object's
// handle (it may move), or 0 when the record cannot take it (the session
// then stays open and the object as it was).
MemHandle tbRebuild(HWND ws, MemHandle object);
// Ends the current cell's editing, rebuilds, ends the session.
MemHandle tbCommitSession(HWND ws);
// Begin, re-fit every cell text, commit: after a head change from outside.
MemHandle tbReapplyHead(HWND ws, MemHandle object);
// Rebuilds the covered cells when the first cell does not name (0, 0).
MemHandle tbNormaliseCovering(HWND ws, MemHandle object);

// ---- the session's table -------------------------------------------------------------------
TableHead *tbSessHead();               // the head copy (locked while the session lives)
uint32_t *tbSessWidths();
uint32_t *tbSessHeights();
int tbSessColumns();
int tbSessRows();
void tbSessGetRect(RECT *out);
void tbSessSetRect(const RECT *r);
// {pen, fill, background} of the object at the start.
const COLORREF *tbSessColours();

// ---- cells -----------------------------------------------------------------------------------
// The session cell, with the cells locked until tbSessUnlockCells; null
// outside the grid.
TableCell *tbSessCell(int column, int row);
void tbSessUnlockCells();
BOOL tbSessCellValid(int column, int row);
BOOL tbSessSameCell(const TableCell *a, const TableCell *b);
// A copy of the session cell; outside the grid a template cell.
void tbSessCopyCell(TableCell *out, int column, int row);
void tbResetCellCopy(TableCell *cell);
void tbSessCopyCells(TableCell *out);
// Whether a cell copy names a position of the grid.
BOOL tbCellIsValid(const TableCell *cell);

// ---- texts and data records ----------------------------------------------------------------
BOOL tbSetCellText(int column, int row, const char *stream);
const char *tbGetCellTextPtr(int column, int row);   // valid until the store changes
int32_t tbCellTextLength(int column, int row);
int32_t tbCopyCellText(int column, int row, char *buffer, uint32_t size);
MemHandle tbGetCellText(int column, int row);
// Copies the store when the cells' texts add up to it; else string 964 and
// nothing (the recorded size becomes the sum). Returns the bytes copied,
// -1 on a mismatch.
int64_t tbCopyTextStore(uint8_t *buffer);
uint32_t tbTextStoreSize();
int32_t tbSetCellData(int column, int row, const TableCellData *record);
const TableCellData *tbGetCellDataPtr(int column, int row);
uint32_t tbSessCellDataSize(int column, int row);
uint32_t tbCopyCellData(int column, int row, uint8_t *buffer, uint32_t size);
MemHandle tbGetCellDataHandle(int column, int row);
int32_t tbPutCellDataHandle(int column, int row, MemHandle record);
int64_t tbCopyDataStore(uint8_t *buffer);
uint32_t tbDataStoreSize();
// The stores' bytes as they are, unchecked (for drawing the session).
void tbSessStoreBytes(std::vector<uint8_t> *data, std::vector<uint8_t> *texts);

// ---- selection ---------------------------------------------------------------------------------
void tbClearSelection();
int tbSetSelection(const TableCell *first, const TableCell *second);
int tbSelectionKind();
BOOL tbGetSelection(TableCell *first, TableCell *second);
BOOL tbSelectionRange(int *c0, int *r0, int *c1, int *r1);
BOOL tbSelectionRect(RECT *out);
BOOL tbCellInRange(int column, int row, const TableCell *first, const TableCell *second);
void tbNormaliseRange(const TableCell *first, const TableCell *second, int *c0, int *r0, int *c1,
                      int *r1);
void tbNormalisePair(int *c0, int *r0, int *c1, int *r1);
void tbNormaliseEnds(TableCell *first, TableCell *second);
void tbLastCell(TableCell *out);
void tbSelectionName(char *buffer, uint32_t size);

// ---- the current cell (the one whose text is being typed) ---------------------------------------
BOOL tbHasCurrentCell();
BOOL tbIsCurrentCell(int column, int row);
BOOL tbGetCurrentCell(int *column, int *row);
uint32_t tbCurrentCellIndex();
void tbClearCurrentCell();
// Sets the position without touching the text editor (the edit mode does
// that); tests and the edit mode use it.
void tbSessSetCurrentCell(int column, int row);

// ---- range measures and Clear --------------------------------------------------------------------
uint32_t tbRangeCellBytes(const TableCell *first, const TableCell *second);
uint32_t tbRangeDataBytes(const TableCell *first, const TableCell *second);
uint32_t tbRangeTextBytes(const TableCell *first, const TableCell *second);
int tbClearRange(HWND ws);
