// The object context menus of the select mode.
#pragma once
#include "support/qmwin.h"

// The context menu of a kind (0 to 10) at the packed client position.
void popObjectMenu(HWND ws, LPARAM lParam, int kind);

// What the stand-in keeps of its calls: how many there were and the last.
struct PopObjectMenuCall {
    HWND ws;
    LPARAM lParam;
    int kind;
};
int popGetObjectMenuCalls(PopObjectMenuCall *last);
void popResetObjectMenuCalls();
