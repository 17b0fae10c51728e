// Stand-ins for the line end dialog ("linesymsel"), the gradient dialog
// ("cgsel") and the end dialog of a dimension span: not built yet, each
// answers Cancel (0) and changes nothing. The line ends of a tree are read
// as far as the line end command needs them; setting them is missing.
#pragma once
#include "support/qmwin.h"
#include "model/sh_gradient.h"

int lineEndDialog(HWND ws, int16_t *leftCode, double *leftSize, int16_t *rightCode,
                  double *rightSize, int unit);
int gradientDialog(HWND ws, MemHandle object, GradientFillBlock *gradient, const RECT *rect);
int dimSpanEndStyle(HWND ws, MemHandle span, int unit);
// The ends of the first open line of the tree (the object first); FALSE
// when the tree holds none.
BOOL lineEndsTreeGet(MemHandle object, int16_t *startStyle, uint32_t *startSize,
                     int16_t *endStyle, uint32_t *endSize);
// Gives every open line of the tree both ends; the (possibly new) handle.
MemHandle lineEndsTreeSet(MemHandle object, int16_t startStyle, uint32_t startSize,
                          int16_t endStyle, uint32_t endSize);
