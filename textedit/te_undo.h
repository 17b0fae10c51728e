// The editor's one undo step.
#pragma once
#include "support/qmwin.h"

// Drops the step (its data freed, kind 0, saved selection and caret -1);
// with update set the Undo button is disabled.
void teDropUndo(HWND window, BOOL update);
