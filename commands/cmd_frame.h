// Object commands the frame dispatcher calls. Their first form: nothing is
// claimed or opened until the object commands land.
#pragma once
#include "support/qmwin.h"

// Ids 860 to 916 are offered here first; TRUE when the command was taken.
BOOL cmdPreFilter(HWND frame, HWND ws, int command, LPARAM lParam);
// 152: the object library manager.
void cmdLibraryManager(HWND frame);
// The pop-up menu of a bar button (View, Rotate, Layer, Fill, ...) at the
// screen point packed in lParam.
void popButtonMenu(HWND frame, HWND ws, int command, LPARAM lParam);
// 920 without a workspace: the command entry.
void cmdCommandEntry(HWND frame);
// 975 without a workspace.
void cmdFrameCommand975(HWND frame);
