// The flash-text window.
#include "support/win_flash.h"
#include "support/ut_mem.h"
#include "support/win_window.h"
#include <string.h>

namespace {

enum { LONG_FONT = 0, LONG_RECORD = 4, LONG_POS = 8 };
enum { AT_TYPE = 4, AT_TEXT_COLOUR = 36, AT_BACK_COLOUR = 40 };

HFONT windowFont(HWND w) { return qmU32ToHandle<HFONT>((uint32_t)GetWindowLongA(w, LONG_FONT)); }
MemHandle windowRecord(HWND w) { return (MemHandle)(uint32_t)GetWindowLongA(w, LONG_RECORD); }

// The record's colours and text; false when it is not a text record.
bool readRecord(MemHandle record, COLORREF *text, COLORREF *back, const char **chars,
                MemLock<uint8_t> &lock)
{
    uint8_t *p = lock.get();
    if (!p || utHandleSize(record) < WIN_FLASH_HEAD + 1)
        return false;
    int16_t type;
    memcpy(&type, p + AT_TYPE, 2);
    if (type != WIN_FLASH_TEXT_TYPE)
        return false;
    memcpy(text, p + AT_TEXT_COLOUR, 4);
    memcpy(back, p + AT_BACK_COLOUR, 4);
    *chars = (const char *)p + WIN_FLASH_HEAD;
    return true;
}

// The window's size for the text and the text's place in it.
SIZE measure(HFONT font, const char *text, POINT *at)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE ext = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &ext);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    if (old)
        SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int a = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    at->x = a;
    at->y = a / 2;
    return SIZE{ext.cx + 2 * a, ext.cy + a};
}

void freeRecord(HWND w)
{
    utFreeHandle(windowRecord(w));
    SetWindowLongA(w, LONG_RECORD, 0);
}

}  // namespace

BOOL winRegisterFlashText(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "qm_flashtxw_class", FlashTextWndProc, 0, 12, nullptr);
}

MemHandle winFlashTextRecord(const char *text, COLORREF textColour, COLORREF background)
{
    if (!text || !*text)
        return 0;
    const uint32_t n = (uint32_t)strlen(text);
    const uint32_t length = WIN_FLASH_HEAD + n + 1;
    MemHandle h = utAllocHandle(0, length);
    if (!h)
        return 0;
    MemLock<uint8_t> p(h);
    if (!p) {
        utFreeHandle(h);
        return 0;
    }
    const int16_t type = WIN_FLASH_TEXT_TYPE;
    memcpy(p.get(), &length, 4);
    memcpy(p.get() + AT_TYPE, &type, 2);
    memcpy(p.get() + AT_TEXT_COLOUR, &textColour, 4);
    memcpy(p.get() + AT_BACK_COLOUR, &background, 4);
    memcpy(p.get() + WIN_FLASH_HEAD, text, n + 1);
    return h;
}

HWND winCreateFlashText(HWND parent, int x, int y, HFONT font, const char *text,
                        COLORREF textColour, COLORREF background, int alignment, BOOL show)
{
    MemHandle record = winFlashTextRecord(text, textColour, background);
    if (!record)
        return nullptr;
    POINT at;
    SIZE size = measure(font, text, &at);
    RECT r = {x, y, x + size.cx, y + size.cy};
    if (alignment == 1)
        OffsetRect(&r, -size.cx / 2, 0);
    else if (alignment == 2)
        OffsetRect(&r, -size.cx, 0);
    RECT client = {0, 0, 0, 0};
    if (parent)
        GetClientRect(parent, &client);
    if (r.left < client.left)
        OffsetRect(&r, client.left + 4 - r.left, 0);
    if (r.right > client.right)
        OffsetRect(&r, client.right - 4 - r.right, 0);
    if (r.top < client.top)
        OffsetRect(&r, 0, client.top + 4 - r.top);
    if (r.bottom > client.bottom)
        OffsetRect(&r, 0, client.bottom - 4 - r.bottom);
    HWND w = CreateWindowExA(0, "qm_flashtxw_class", "", WS_CHILD | WS_BORDER, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, parent, nullptr,
                             parent ? winGetInstance(parent) : GetModuleHandleA(nullptr), nullptr);
    if (!w) {
        utFreeHandle(record);
        return nullptr;
    }
    SetWindowLongA(w, LONG_FONT, (LONG)qmHandleToU32(font));
    SetWindowLongA(w, LONG_RECORD, (LONG)record);
    SetWindowLongA(w, LONG_POS, (LONG)MAKELONG(at.x, at.y));
    SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (show) {
        ShowWindow(w, SW_SHOWNA);
        UpdateWindow(w);
    }
    return w;
}

int winFlashTextSet(HWND window, const char *text, int anchor)
{
    if (!window || !IsWindow(window))
        return 0;
    COLORREF fore = RGB(0, 0, 0), back = RGB(255, 255, 255);
    MemHandle old = windowRecord(window);
    if (old) {
        MemLock<uint8_t> lock(old);
        const char *chars;
        COLORREF f, b;
        if (readRecord(old, &f, &b, &chars, lock)) {
            fore = f;
            back = b;
        }
    }
    MemHandle record = winFlashTextRecord(text, fore, back);
    if (!record)
        return 0;
    freeRecord(window);
    SetWindowLongA(window, LONG_RECORD, (LONG)record);
    POINT at;
    SIZE size = measure(windowFont(window), text, &at);
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), (POINT *)&r, 2);
    const int width = r.right - r.left;
    if (size.cx > width) {
        if (anchor == 0)
            r.left = r.right - size.cx;
        else if (anchor == 9)
            r.left -= (size.cx - width) / 2;
        r.right = r.left + size.cx;
        MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
    InvalidateRect(window, nullptr, TRUE);
    return 1;
}

int winFlashTextGet(HWND window, char *buffer, int size)
{
    if (!buffer || size < 1)
        return 0;
    buffer[0] = 0;
    MemHandle record = window && IsWindow(window) ? windowRecord(window) : 0;
    if (!record)
        return 0;
    MemLock<uint8_t> lock(record);
    COLORREF f, b;
    const char *chars;
    if (!readRecord(record, &f, &b, &chars, lock))
        return 0;
    lstrcpynA(buffer, chars, size);
    return lstrlenA(buffer);
}

LRESULT CALLBACK FlashTextWndProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;   // the paint fills the whole client area
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        RECT client;
        GetClientRect(w, &client);
        MemHandle record = windowRecord(w);
        COLORREF fore = RGB(0, 0, 0), back = RGB(255, 255, 255);
        const char *chars = nullptr;
        MemLock<uint8_t> lock(record);
        const bool ok = record && readRecord(record, &fore, &back, &chars, lock);
        {
            GdiObject<HBRUSH> brush(CreateSolidBrush(back));
            FillRect(dc, &client, brush);
        }
        if (ok) {
            GdiSelect font(dc, windowFont(w));
            const int oldMode = SetBkMode(dc, TRANSPARENT);
            const COLORREF oldColour = SetTextColor(dc, fore);
            const LONG pos = GetWindowLongA(w, LONG_POS);
            TextOutA(dc, (short)LOWORD(pos), (short)HIWORD(pos), chars, lstrlenA(chars));
            SetTextColor(dc, oldColour);
            SetBkMode(dc, oldMode);
        }
        EndPaint(w, &ps);
        return 0;
    }
    case WM_CLOSE:
        freeRecord(w);
        return 0;
    case WM_DESTROY:
        freeRecord(w);
        break;
    }
    return DefWindowProcA(w, msg, wParam, lParam);
}
