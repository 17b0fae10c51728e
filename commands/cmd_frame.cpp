#include "commands/cmd_frame.h"

BOOL cmdPreFilter(HWND, HWND, int, LPARAM) { return FALSE; }
void cmdLibraryManager(HWND) {}
void popButtonMenu(HWND, HWND, int, LPARAM) {}
void cmdCommandEntry(HWND) {}
void cmdFrameCommand975(HWND) {}
