// Services of other modules that the settings call. They move to their
// owners when the window services, the text editor, the colour window, the
// view mapping and the frame's bars land.
#include "app/settings_pending.h"
#include "support/win_place.h"
#include "support/ut_mem.h"

// ---- window services --------------------------------------------------------
// These move to the support library's window helpers.

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

// ---- receivers of stored settings ------------------------------------------
// Each keeps the value for its module until that module takes it over.

namespace {
COLORREF g_editorColor = 0xFF0000;
uint16_t g_fontDialogBits = 0;
}  // namespace

void txSetEditorColor(COLORREF colour) { g_editorColor = colour; }
void txSetFontDialogBits(uint16_t bits) { g_fontDialogBits = bits; }

// ---- the frame's bars -------------------------------------------------------

int appGetBarBits(HWND frame)
{
    if (!frame || !IsWindow(frame))
        return -1;
    MemHandle bars = (MemHandle)GetWindowLongA(frame, 4);
    if (!bars || utHandleSize(bars) < 2)
        return -1;
    MemLock<uint16_t> p(bars);
    return p ? p[0] : -1;
}
