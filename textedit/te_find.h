// Find in the edited text: the modeless "Find" dialog of the editor.
#pragma once
#include "support/qmwin.h"

// Opens the dialog (or gives the open one), owned by the editor window.
HWND teOpenFind(HWND window);
// Find Next when the dialog is open, else opens it.
int teFindNextCommand(HWND window);
// Destroys the dialog when it exists.
void teCloseFind();
