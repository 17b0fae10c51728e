#include "support/gdi_tipbox.h"
#include "support/ut_mem.h"
#include "support/win_window.h"

namespace {

const char kTipClass[] = "qm_tipbox";
const int kPadX = 3, kPadY = 1;

struct TipState {
    HWND box;
    HFONT font;
    COLORREF text, back;
    char caption[128];
};
TipState g_tip = {};
GdiTipBoxHook g_hook = nullptr;

LRESULT CALLBACK tipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        HBRUSH back = CreateSolidBrush(g_tip.back);
        FillRect(dc, &r, back);
        DeleteObject(back);
        HBRUSH edge = CreateSolidBrush(g_tip.text);
        FrameRect(dc, &r, edge);
        DeleteObject(edge);
        HGDIOBJ old = g_tip.font ? SelectObject(dc, g_tip.font) : nullptr;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, g_tip.text);
        TextOutA(dc, kPadX, kPadY, g_tip.caption, lstrlenA(g_tip.caption));
        if (old)
            SelectObject(dc, old);
        EndPaint(hwnd, &ps);
        return 0;
    }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool registerTipClass(HINSTANCE inst)
{
    return winRegisterClassOnce(inst, kTipClass, tipProc, 0, 0, nullptr) != FALSE;
}

}  // namespace

BOOL gdiShowTipBox(HWND window, int x, int y, const char *text, HFONT font, COLORREF textColour,
                   COLORREF backColour)
{
    if (g_tip.box && !IsWindow(g_tip.box))
        g_tip.box = nullptr;   // its owner went away and took it along
    if (g_tip.box || !text)
        return FALSE;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (!registerTipClass(inst))
        return FALSE;
    utStrCopyN(g_tip.caption, text, sizeof(g_tip.caption));
    g_tip.font = font;
    g_tip.text = textColour;
    g_tip.back = backColour;
    // Measure the text with the font on a screen-compatible context.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, g_tip.caption, lstrlenA(g_tip.caption), &size);
    if (old)
        SelectObject(dc, old);
    DeleteDC(dc);
    HWND box = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kTipClass,
                               g_tip.caption, WS_POPUP, x, y, size.cx + 2 * kPadX,
                               size.cy + 2 * kPadY,
                               window ? GetAncestor(window, GA_ROOT) : nullptr, nullptr, inst, nullptr);
    if (!box)
        return FALSE;
    g_tip.box = box;
    ShowWindow(box, SW_SHOWNOACTIVATE);
    UpdateWindow(box);
    if (g_hook)
        g_hook(TRUE, x, y, g_tip.caption);
    return TRUE;
}

void gdiHideTipBox(HWND)
{
    if (!g_tip.box)
        return;
    HWND box = g_tip.box;
    g_tip.box = nullptr;
    DestroyWindow(box);
    if (g_hook)
        g_hook(FALSE, 0, 0, g_tip.caption);
}

BOOL gdiIsTipBoxShown() { return g_tip.box != nullptr; }
HWND gdiGetTipBoxWindow() { return g_tip.box; }
void gdiSetTipBoxHook(GdiTipBoxHook hook) { g_hook = hook; }

void gdiResetTipBox()
{
    gdiHideTipBox(nullptr);
    g_hook = nullptr;
}
