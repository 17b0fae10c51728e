// Favourites: command 170 runs the favourites chooser, which comes later;
// until then nothing is chosen.
#pragma once
#include "support/qmwin.h"

int favRunDialog(HWND frame);
