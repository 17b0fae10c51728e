// The editor's selection: two positions beside the edit session, shown by
// inverting rectangles on the edit window's DC; made by dragging, double
// clicks, Shift with the caret keys or by command. Also the hit test from a
// mouse point to a text position, and the format questions of menus.
#pragma once
#include "support/qmwin.h"
#include "textedit/te_lines.h"

// ---- selection
void teSetSelection(const TePos *start, const TePos *end);
void teClearSelection();
BOOL teHasSelection();
BOOL teGetSelection(TePos *start, TePos *end);
int tePosCompare(const TePos *a, const TePos *b);
void teSelectionAbs(int32_t *smaller, int32_t *larger);
int32_t tePosAbs(const TePos *pos);
BOOL tePosFromAbs(int32_t offset, TePos *out);
void teSelectionToAbs();
void teSelectionFromAbs();
// Positions held beside the session follow the blocks they name.
void teSelectionLineMoved(MemHandle from, MemHandle to);
void teSelectionShift(MemHandle line, int32_t at, int32_t delta, BOOL inclusive);
void teResetSelectionModule();

BOOL teCaretAtSelStart();
void teSetCaretAtSelStart(BOOL on);
MemHandle teSelectedText();
void teWholeTextRange(TePos *start, TePos *end);
void teSelectAll(HWND window);
void teSelectWordAt(HWND window, const TePos *pos);
void teSelectParagraphs(HWND window);
int teExtendSelectionByKey(HWND window, int key);
void tePosSkipCodes(TePos *pos);
void tePosBeforeCodes(TePos *pos);

// ---- highlight (rectangles in twips, inverted on the edit DC)
int32_t teLineSelRect(HDC dc, const RECT *frame, MemHandle line, int32_t from, int32_t to,
                      int32_t top, const int32_t *tabs, RECT *out);
void teSelectionRect(HWND window, HDC dc, const TePos *start, const TePos *end, RECT *out);
int32_t teCacheSelectionRects();
int32_t teGetCachedRects(RECT *out, int32_t max);
void tePaintSelection(HWND window, HDC dc);
void teInvertRange(HWND window, HDC dc, const TePos *start, const TePos *end);
void teInvertSelection(HWND window, HDC dc);
void teUnhighlightSelection(HWND window);
void teSelectionBounds(HWND window, RECT *out);
void tePaintDragRange(HWND window, HDC dc, MemHandle first, MemHandle last);

// ---- hit test
int teHitTest(HWND window, LPARAM point, TePos *out);
int32_t teOffsetAtX(MemHandle line, int32_t x);
int32_t teOffsetAtY(MemHandle line, int32_t y);

// ---- format questions
BOOL teSelectionFormat(CharFormat *out);
BOOL teSelectionHasOtherFace(const TePos *start, const TePos *end);
BOOL teSelectionHasOtherSize(const TePos *start, const TePos *end);
BOOL tePosAfterUnits(TePos *pos, int32_t count);

// ---- drag selection
void teDragSelect(HWND window, const TePos *press);
