// The object-name list window: what the rest of the program asks of it.
#include "objects/onm_names.h"

namespace {
HWND g_listWindow = nullptr;
const WPARAM kCmdRefresh = 121;
}

void onmRefreshList()
{
    if (g_listWindow && IsWindow(g_listWindow))
        PostMessageA(g_listWindow, WM_COMMAND, kCmdRefresh, 0);
}

void onmSetListWindow(HWND window) { g_listWindow = window; }
HWND onmGetListWindow() { return g_listWindow; }

void onmShowList(HWND) {}
