#include "support/win_click.h"
#include <stdlib.h>

namespace {

int waitClick(HWND window, LPARAM lParam, UINT downMsg, UINT upMsg, UINT dblMsg)
{
    const LONG start = GetMessageTime();
    const LONG limit = (LONG)GetDoubleClickTime();
    const int x0 = (int16_t)LOWORD(lParam), y0 = (int16_t)HIWORD(lParam);
    SetCapture(window);
    SetTimer(window, WIN_WAIT_CLICK_TIMER, (UINT)limit, nullptr);
    bool released = false;
    int result = -1;
    while (result < 0) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetCapture() != window) {
                result = released ? 1 : 0;   // the capture went elsewhere
                break;
            }
            WaitMessage();
            continue;
        }
        bool ownTimer = msg.message == WM_TIMER && msg.hwnd == window &&
                        msg.wParam == WIN_WAIT_CLICK_TIMER;
        if (!ownTimer && (LONG)(msg.time - (DWORD)start) > limit) {
            // A message from after the double-click time: the wait is over
            // and the message stays for whoever comes next.
            result = released ? 1 : 0;
            break;
        }
        MSG seen = msg;
        if (!PeekMessageA(&msg, seen.hwnd, seen.message, seen.message, PM_REMOVE))
            continue;
        if (ownTimer) {
            result = released ? 1 : 0;
        } else if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            result = released ? 1 : 0;
        } else if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
            int x = (int16_t)LOWORD(msg.lParam), y = (int16_t)HIWORD(msg.lParam);
            if (msg.message == upMsg && !released)
                released = true;
            else if (released && (msg.message == downMsg || msg.message == dblMsg))
                result = 2;
            else if (msg.message == WM_MOUSEMOVE && !released && abs(x - x0) + abs(y - y0) >= 9)
                result = 0;
        } else {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    KillTimer(window, WIN_WAIT_CLICK_TIMER);
    if (GetCapture() == window)
        ReleaseCapture();
    return result;
}

}  // namespace

int winWaitClick(HWND window, LPARAM lParam)
{
    return waitClick(window, lParam, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK);
}

int winWaitRightClick(HWND window, LPARAM lParam)
{
    return waitClick(window, lParam, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK);
}
