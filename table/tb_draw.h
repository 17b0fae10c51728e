// Table drawing: a stored table through the object draw dispatch, and the
// edit session's copies with the edit-mode overlays. One pass routine
// serves both; it is given the parts to draw.
#pragma once
#include "support/qmwin.h"
#include "table/tb_record.h"

struct ObjectRecord;

// The type-45 and type-54 draw entry.
void tbDraw(HDC dc, ObjectRecord *rec);
// The table-edit mode's paint: the session copies, the data-cell marks and
// the selection frames (or the edited cell's text).
void tbDrawEditMode(HWND ws, HDC dc, const RECT *paintRect);

// colours: {frame (pen), foreground (fill), background}.
void tbBeginDrawPass(HDC dc, const RECT *table, const TableHead *head, const uint32_t *widths,
                     const uint32_t *heights, const TableCell *cells, const uint8_t *data,
                     const uint8_t *texts, uint32_t textBytes, const COLORREF colours[3],
                     BOOL editPass, BOOL noFill);
void tbEndDrawPass(HDC dc);
void tbDrawBody(HDC dc);
// The cell whose text the editor draws itself (row x columns + column), -1
// for none; set for the next pass.
void tbSetSkipCell(int index);

// The selection frames in not-XOR (drawn again they vanish); with no DC a
// DC of the workspace is taken.
void tbXorSelection(HWND ws, HDC dc);
void tbXorCellPairFrames(HDC dc, const TableCell *first, const TableCell *second);
