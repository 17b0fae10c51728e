// Stand-ins: the editing modes are not built yet; none starts (0).
#include "tools/ep_edit_standins.h"

int epNodeEditPoly(HWND, MemHandle) { return 0; }
int epNodeEditBezier(HWND, MemHandle) { return 0; }
int epBrushLineEdit(HWND, MemHandle) { return 0; }
int epRoundRectCornerMode(HWND, MemHandle) { return 0; }
int epArcHandleMode(HWND, MemHandle) { return 0; }
int epDimSpanHandleMode(HWND, MemHandle) { return 0; }
int epCubeDepthMode(HWND, MemHandle) { return 0; }
int epGradientEditMode(HWND, MemHandle) { return 0; }
