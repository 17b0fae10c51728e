// Mouse press classification and elapsed time.
#include "support/win_mouse.h"
#include <mmsystem.h>
#include <stdlib.h>
#include <algorithm>

namespace {

// The mouse messages the wait takes off the queue (moves and the buttons).
const UINT kMouseFirst = 0x200;
const UINT kMouseLast = 0x209;
// More than this many pixels (horizontal plus vertical) makes a drag.
const int kDragThreshold = 8;
// Longest sleep between two looks at an empty queue.
const DWORD kPollMs = 10;

WinTickSource g_tick = nullptr;
DWORD g_timerStart = 0;

DWORD now() { return g_tick ? g_tick() : GetTickCount(); }

// The MK_ bit that says the button of a release message is down.
WPARAM buttonBit(UINT releaseMsg)
{
    switch (releaseMsg) {
    case WM_RBUTTONUP: return MK_RBUTTON;
    case WM_MBUTTONUP: return MK_MBUTTON;
    default: return MK_LBUTTON;
    }
}

}  // namespace

uint16_t winWaitClick(HWND window, LPARAM pressPos)
{
    return winWaitButton(window, pressPos, WM_LBUTTONDBLCLK, WM_LBUTTONUP);
}

uint16_t winWaitRightClick(HWND window, LPARAM pressPos)
{
    return winWaitButton(window, pressPos, WM_RBUTTONDBLCLK, WM_RBUTTONUP);
}

uint16_t winWaitButton(HWND window, LPARAM pressPos, UINT doubleClickMsg, UINT releaseMsg)
{
    uint16_t state = WIN_PRESS_DRAG;
    DWORD doubleClickTime = GetDoubleClickTime();
    SetCapture(window);
    DWORD start = (DWORD)GetMessageTime();
    int16_t pressX = (int16_t)LOWORD(pressPos), pressY = (int16_t)HIWORD(pressPos);
    WPARAM held = buttonBit(releaseMsg);
    for (;;) {
        // Another window took the mouse: the gesture is over. A press still
        // held is reported as a click, so that no drag starts without the
        // capture.
        if (GetCapture() != window) {
            if (state == WIN_PRESS_DRAG)
                state = WIN_PRESS_CLICK;
            break;
        }
        MSG msg;
        DWORD elapsed;
        // The wait's own timer at the head of the queue ends it as if the
        // double-click time had passed; what follows it stays queued.
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message == WM_TIMER
            && msg.hwnd == window && msg.wParam == WIN_WAIT_CLICK_TIMER) {
            PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE);
            break;
        }
        if (PeekMessageA(&msg, nullptr, kMouseFirst, kMouseLast, PM_REMOVE)) {
            if (msg.message == doubleClickMsg) {
                state = WIN_PRESS_DOUBLE;
                break;
            }
            if (msg.message == releaseMsg) {
                state = WIN_PRESS_CLICK;
            } else if (msg.message == WM_MOUSEMOVE && state != WIN_PRESS_CLICK) {
                if (!(msg.wParam & held)) {
                    // The button came up without its message reaching us.
                    state = WIN_PRESS_CLICK;
                } else {
                    int16_t dx = (int16_t)(pressX - (int16_t)LOWORD(msg.lParam));
                    int16_t dy = (int16_t)(pressY - (int16_t)HIWORD(msg.lParam));
                    if (abs(dx) + abs(dy) > kDragThreshold) {
                        state = WIN_PRESS_DRAG;
                        break;
                    }
                }
            }
            elapsed = msg.time - start;
        } else {
            elapsed = now() - start;
            if (elapsed < doubleClickTime)
                MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                          std::min(doubleClickTime - elapsed, kPollMs),
                                          QS_MOUSE | QS_POSTMESSAGE | QS_SENDMESSAGE);
        }
        if (elapsed >= doubleClickTime)
            break;
    }
    // Only our own capture is released; a window that took it keeps it.
    if (GetCapture() == window)
        ReleaseCapture();
    return state;
}

void winSetTickSource(WinTickSource source) { g_tick = source; }

DWORD utStartTimer()
{
    g_timerStart = timeGetTime();
    return g_timerStart;
}

DWORD utElapsedTime() { return timeGetTime() - g_timerStart; }
