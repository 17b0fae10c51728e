// Stand-ins for the interactive editors of the drawing tools that the Edit
// command starts: node editing of polylines and curves, the brush-line
// editor, the round-rectangle corner, arc handle, dimension span and cube
// depth modes, and the gradient edit mode. None of these modes is built
// yet: each starts nothing and answers 0.
#pragma once
#include "support/qmwin.h"

int epNodeEditPoly(HWND ws, MemHandle object);
int epNodeEditBezier(HWND ws, MemHandle object);
int epBrushLineEdit(HWND ws, MemHandle object);
int epRoundRectCornerMode(HWND ws, MemHandle object);
int epArcHandleMode(HWND ws, MemHandle object);
int epDimSpanHandleMode(HWND ws, MemHandle object);
int epCubeDepthMode(HWND ws, MemHandle object);
// Tool mode 33 on an object with a colour gradient.
int epGradientEditMode(HWND ws, MemHandle object);
