// The data viewer window classes "datawin" and "va_Data" (CS_HREDRAW |
// CS_VREDRAW, 8 window bytes, white background), registered at start-up;
// "va_Data" by the viewer itself (support/win_datawin), with its procedure.
#pragma once
#include "support/qmwin.h"

BOOL winRegisterDataClasses(HINSTANCE instance);
