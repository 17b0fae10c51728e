// Stand-in for the table menus: the item states of the pop-ups that concern
// tables while a table is selected or edited.
#pragma once
#include "support/qmwin.h"

// By the pop-up's first item (200, 460, 464, 522, 631, 635, 665, 673).
void tbInitMenuPopup(HWND ws, HMENU popup);
