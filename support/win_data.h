// The data viewer window classes "datawin" and "va_Data" (CS_HREDRAW |
// CS_VREDRAW, 8 window bytes, white background), registered at start-up;
// the viewer itself comes with its own work.
#pragma once
#include "support/qmwin.h"

BOOL winRegisterDataClasses(HINSTANCE instance);
