#include "controls/scrollbtn.h"
#include "support/gdi_bitmap.h"
#include "support/gdi_edge.h"
#include "support/win_mouse.h"
#include "support/win_window.h"
#include <string.h>

const char ctlScrollBtnClass[] = "tv_scrollbtn";

namespace {

// Window data: the text length as a word at 0, the characters in the two
// longs at 4 and 8; 20 bytes in all.
const int kLenWord = 0;
const int kTextLong = 4;

void invert(HWND button)
{
    HDC dc = GetDC(button);
    RECT r;
    GetClientRect(button, &r);
    InvertRect(dc, &r);
    ReleaseDC(button, dc);
}

void sendCommandNow(HWND button)
{
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), 0), (LPARAM)button);
}

// Repeats the command every 100 ms until the button is released or the
// pointer leaves the button.
void repeat(HWND button)
{
    SetCapture(button);
    SetTimer(button, CTL_SCROLLBTN_TIMER, CTL_SCROLLBTN_REPEAT, nullptr);
    RECT client;
    GetClientRect(button, &client);
    for (;;) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (GetCapture() != button)
                break;
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_TIMER && msg.hwnd == button && msg.wParam == CTL_SCROLLBTN_TIMER) {
            sendCommandNow(button);
            if (!IsWindow(button))
                return;
            continue;
        }
        if (msg.message == WM_LBUTTONUP)
            break;
        if (msg.message == WM_MOUSEMOVE) {
            POINT pt = {(int16_t)LOWORD(msg.lParam), (int16_t)HIWORD(msg.lParam)};
            if (msg.hwnd != button || !PtInRect(&client, pt))
                break;
            continue;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    KillTimer(button, CTL_SCROLLBTN_TIMER);
    if (GetCapture() == button)
        ReleaseCapture();
}

LRESULT CALLBACK scrollBtnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        const CREATESTRUCTA *cs = (const CREATESTRUCTA *)lParam;
        char text[CTL_SCROLLBTN_TEXT_MAX + 1] = {};
        if (cs->lpszName)
            lstrcpynA(text, cs->lpszName, sizeof(text));
        int n = lstrlenA(text);
        uint32_t longs[2] = {0, 0};
        memcpy(longs, text, (size_t)n);
        SetWindowWord(hwnd, kLenWord, (WORD)n);
        SetWindowLongA(hwnd, kTextLong, (LONG)longs[0]);
        SetWindowLongA(hwnd, kTextLong + 4, (LONG)longs[1]);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        ctlPaintScrollBtn(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        invert(hwnd);
        sendCommandNow(hwnd);
        if (!IsWindow(hwnd))
            return 0;
        int kind = winWaitClick(hwnd, lParam);
        if (kind == 0)
            repeat(hwnd);
        else if (kind == 2)
            sendCommandNow(hwnd);
        if (IsWindow(hwnd))
            invert(hwnd);
        return 0;
    }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

BOOL ctlRegisterScrollBtn(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, ctlScrollBtnClass, scrollBtnProc,
                                CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, 20, (HBRUSH)(COLOR_BTNFACE + 1));
}

HWND ctlCreateScrollBtn(HWND parent, const RECT *rect, int id, const char *text)
{
    if (!rect)
        return nullptr;
    return CreateWindowA(ctlScrollBtnClass, text ? text : "", WS_CHILD | WS_VISIBLE, rect->left,
                         rect->top, rect->right - rect->left, rect->bottom - rect->top, parent,
                         (HMENU)(INT_PTR)id, winGetInstance(parent), nullptr);
}

void ctlPaintScrollBtn(HWND button, HDC dc)
{
    RECT r;
    GetClientRect(button, &r);
    gdiDrawButtonEdge(dc, r);
    char name[CTL_SCROLLBTN_TEXT_MAX + 1];
    ctlGetScrollBtnText(button, name);
    gdiDrawResBitmap(button, dc, name, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     GDI_ALIGN_CENTRE, SRCAND);
}

void ctlGetScrollBtnText(HWND button, char *buffer)
{
    int n = (int)GetWindowWord(button, kLenWord);
    if (n < 0 || n > CTL_SCROLLBTN_TEXT_MAX)
        n = 0;
    uint32_t longs[2] = {(uint32_t)GetWindowLongA(button, kTextLong),
                         (uint32_t)GetWindowLongA(button, kTextLong + 4)};
    memcpy(buffer, longs, (size_t)n);
    buffer[n] = 0;
}
