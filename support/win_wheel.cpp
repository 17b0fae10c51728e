#include "support/win_wheel.h"

namespace {
struct WheelState {
    HWND driver;
    UINT rollMsg, supportMsg, linesMsg;
    BOOL support;
    int lines;
};
WheelState g_wheel = {};
}  // namespace

BOOL winInitWheel()
{
    g_wheel.driver = FindWindowA("MouseZ", "Magellan MSWHEEL");
    g_wheel.rollMsg = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    g_wheel.supportMsg = RegisterWindowMessageA("MSH_WHEELSUPPORT_MSG");
    g_wheel.linesMsg = RegisterWindowMessageA("MSH_SCROLL_LINES_MSG");
    g_wheel.support = (g_wheel.driver && g_wheel.supportMsg)
                          ? (BOOL)SendMessageA(g_wheel.driver, g_wheel.supportMsg, 0, 0)
                          : FALSE;
    g_wheel.lines = (g_wheel.driver && g_wheel.linesMsg)
                        ? (int)SendMessageA(g_wheel.driver, g_wheel.linesMsg, 0, 0)
                        : 3;
    return g_wheel.driver != nullptr;
}

BOOL winIsWheelMessage(UINT message)
{
    if (message == WM_MOUSEWHEEL)
        return TRUE;
    return g_wheel.driver && g_wheel.rollMsg && message == g_wheel.rollMsg;
}

int winWheelScrollLines()
{
    if (g_wheel.driver)
        return g_wheel.lines;
    UINT lines = 0;
    if (!GetSystemMetrics(SM_MOUSEWHEELPRESENT)
        || !SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        return 0;
    return (int)lines;
}
