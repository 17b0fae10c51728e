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
