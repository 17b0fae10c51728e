// The editing commands' operations that other parts of the editor call.
#pragma once
#include "support/qmwin.h"
#include "textedit/te_lines.h"

// Applies a code with a value over a range with a format: the range's codes
// of that number are replaced by one at its start; the lines are measured
// again and the text marked modified.
int teApplyCodeToRange(HWND window, const TePos *start, const TePos *end, int code,
                       int32_t value, const CharFormat *fmt);
