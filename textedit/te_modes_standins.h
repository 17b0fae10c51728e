// Stand-in for the text editing modes: the menu states while a Label is
// edited.
#pragma once
#include "support/qmwin.h"

// The pop-ups while a Label is edited (tool mode 19), by their first item.
void teLabelInitMenu(HWND window, HMENU popup);
