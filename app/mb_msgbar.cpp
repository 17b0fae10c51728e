#include "app/mb_msgbar.h"
#include "support/ut_msg.h"
#include "support/win_window.h"

const char mbClassName[] = "qm_msg";

namespace {
HWND g_bar = nullptr;
}

BOOL mbRegisterClass(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, mbClassName, MsgBarWndProc, 0, 0,
                                (HBRUSH)(COLOR_BTNFACE + 1));
}

LRESULT CALLBACK MsgBarWndProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_DESTROY:
        if (g_bar == bar)
            g_bar = nullptr;
        break;
    case WM_COMMAND:
        if (HWND parent = GetParent(bar))
            PostMessageA(parent, WM_COMMAND, wParam, lParam);
        return 0;
    }
    return DefWindowProcA(bar, msg, wParam, lParam);
}

HWND mbCreate(HWND frame, HFONT font, const RECT *rect)
{
    RECT r = rect ? *rect : RECT{0, 0, 0, 0};
    HWND bar = CreateWindowExA(WS_EX_CONTROLPARENT | WS_EX_STATICEDGE, mbClassName, "",
                               WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP, r.left,
                               r.top, r.right - r.left, r.bottom - r.top, frame, nullptr,
                               (HINSTANCE)GetWindowLongPtrA(frame, GWLP_HINSTANCE), nullptr);
    if (!bar) {
        utErrorBox(frame, "Can not create message window");
        return nullptr;
    }
    if (font)
        SendMessageA(bar, WM_SETFONT, (WPARAM)font, FALSE);
    g_bar = bar;
    ShowWindow(bar, SW_SHOW);
    UpdateWindow(bar);
    return bar;
}

HWND mbGetWindow() { return (g_bar && IsWindow(g_bar)) ? g_bar : nullptr; }
