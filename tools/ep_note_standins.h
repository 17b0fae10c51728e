// Stand-in for the note tool: the menu states while a note is edited.
#pragma once
#include "support/qmwin.h"

// The pop-ups while a note is edited (tool mode 25), by their first item.
void epNoteInitMenuPopup(HWND ws, HMENU popup);
