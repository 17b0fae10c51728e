#include "support/gdi_tipbox.h"
#include "support/gdi_track.h"
#include "support/ut_mem.h"
#include "support/win_window.h"

namespace {

const char kTipClass[] = "qm_tipbox";

struct TipState {
    HWND box;
    HFONT font;
    COLORREF text, back;
    char caption[128];
};
TipState g_tip = {};
GdiTipBoxHook g_hook = nullptr;

// The painted tip: its box (window pixels) and the screen saved under it.
RECT g_paintedRect = {};
HBITMAP g_saved = nullptr;

// Fills the box with a rectangle in the back colour (outlined with the
// selected pen) and writes the text at the origin.
void paintTip(HDC dc, const RECT &box, uint32_t origin, const char *text, HFONT font,
              COLORREF textColour, COLORREF backColour)
{
    GdiObject<HBRUSH> back(CreateSolidBrush(backColour));
    {
        GdiSelect brush(dc, back);
        Rectangle(dc, box.left, box.top, box.right, box.bottom);
    }
    GdiSelect keepFont(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, textColour);
    TextOutA(dc, (int16_t)(origin & 0xFFFF), (int16_t)(origin >> 16), text, lstrlenA(text));
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

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
        RECT box;
        const uint32_t origin = gdiTipRect(dc, 0, 0, g_tip.caption, g_tip.font, &box);
        GdiObject<HPEN> edge(CreatePen(PS_SOLID, 0, g_tip.text));
        GdiSelect pen(dc, edge);
        paintTip(dc, r, origin, g_tip.caption, g_tip.font, g_tip.text, g_tip.back);
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
    // Sized and kept on the screen the same way as the painted tip.
    HDC dc = GetDC(nullptr);
    RECT place;
    gdiTipRect(dc, x, y, g_tip.caption, font, &place);
    ReleaseDC(nullptr, dc);
    HWND box = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kTipClass,
                               g_tip.caption, WS_POPUP, place.left, place.top,
                               place.right - place.left, place.bottom - place.top,
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
    if (g_saved)
        DeleteObject(g_saved);
    g_saved = nullptr;
}

uint32_t gdiTipRect(HDC dc, int32_t x, int32_t y, const char *text, HFONT font, RECT *rect)
{
    RECT box = {x, y, x, y};
    int32_t pad = 0;
    if (dc && text) {
        GdiSelect keep(dc, font);
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc, &tm);
        pad = tm.tmAveCharWidth;
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
        box.right = x + size.cx + 2 * pad;
        box.bottom = y + size.cy + pad;
        const int32_t screenW = GetDeviceCaps(dc, HORZRES), screenH = GetDeviceCaps(dc, VERTRES);
        if (box.left < 0)
            OffsetRect(&box, 4 - box.left, 0);
        if (box.right > screenW)
            OffsetRect(&box, screenW - 4 - box.right, 0);
        if (box.top < 0)
            OffsetRect(&box, 0, 4 - box.top);
        if (box.bottom > screenH)
            OffsetRect(&box, 0, screenH - 4 - box.bottom);
    }
    if (rect)
        *rect = box;
    const int32_t ox = box.left + pad, oy = box.top + pad / 2;
    return (uint32_t)(ox & 0xFFFF) | ((uint32_t)(oy & 0xFFFF) << 16);
}

void gdiShowTip(HWND window, int32_t x, int32_t y, const char *text, HFONT font,
                COLORREF textColour, COLORREF backColour)
{
    if (g_saved || !window || !text)
        return;
    HDC dc = GetDC(window);
    if (!dc)
        return;
    RECT box;
    const uint32_t origin = gdiTipRect(dc, x, y, text, font, &box);
    g_saved = gdiSaveScreenRect(dc, &box);
    if (g_saved) {
        g_paintedRect = box;
        paintTip(dc, box, origin, text, font, textColour, backColour);
    }
    ReleaseDC(window, dc);
}

void gdiHideTip(HWND window)
{
    if (!g_saved)
        return;
    gdiRestoreScreenBitmap(window, g_paintedRect.left, g_paintedRect.top, g_saved);
    DeleteObject(g_saved);
    g_saved = nullptr;
}

BOOL gdiGetTipRect(RECT *rect)
{
    if (!g_saved)
        return FALSE;
    if (rect)
        *rect = g_paintedRect;
    return TRUE;
}
