#include "commands/cmd_frame.h"
#include "commands/pop_menus.h"

BOOL cmdPreFilter(HWND, HWND, int, LPARAM) { return FALSE; }
void cmdLibraryManager(HWND) {}

void popButtonMenu(HWND frame, HWND ws, int command, LPARAM lParam)
{
    switch (command) {
    case 191: popScaleMenu(frame, lParam); break;
    case 217: popTableMenu(frame, lParam, POP_TABLE_ZOOM_INPUT); break;
    case 307: popTableMenu(frame, lParam, POP_TABLE_ROUND_RECTS); break;
    case 333: popTableMenu(frame, lParam, POP_TABLE_RIGHT_ARROWS); break;
    case 334: popTableMenu(frame, lParam, POP_TABLE_DOWN_ARROWS); break;
    case 339: popTableMenu(frame, lParam, POP_TABLE_CROSS_HAIRS); break;
    case 1377: popTableMenu(frame, lParam, POP_TABLE_TRIANGLES); break;
    case 1390: popTableMenu(frame, lParam, POP_TABLE_FIELD_KINDS); break;
    case 450: popLayerMenu(frame, lParam); break;
    case 599: popPageMenu(frame, lParam, FALSE); break;
    case 530: popFillMenu(frame, lParam); break;
    case 744: popTableMenu(frame, lParam, POP_TABLE_FLAGS); break;
    case 1200: popNewPageMenu(frame, lParam); break;
    case 1225: popScrollMenu(frame, lParam); break;
    default: break;
    }
    (void)ws;
}

void cmdCommandEntry(HWND) {}
void cmdFrameCommand975(HWND) {}
