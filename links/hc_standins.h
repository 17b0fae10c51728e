// Stand-in for the push button's property dialog with its hyper commands:
// not built yet, it answers Cancel (0).
#pragma once
#include "support/qmwin.h"

int hcEditButtonProps(HWND ws, MemHandle *object);
