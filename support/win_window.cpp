#include "support/win_window.h"

HINSTANCE winGetInstance(HWND window)
{
    HINSTANCE inst = window ? (HINSTANCE)GetWindowLongPtrA(window, GWLP_HINSTANCE) : nullptr;
    return inst ? inst : GetModuleHandleA(nullptr);
}

BOOL winIsWindowOfClass(HWND window, const char *className, const char *title)
{
    if (!window || !IsWindow(window) || !className)
        return FALSE;
    char name[64];
    if (!GetClassNameA(window, name, sizeof(name)) || lstrcmpiA(name, className) != 0)
        return FALSE;
    if (title) {
        char text[256];
        GetWindowTextA(window, text, sizeof(text));
        if (lstrcmpiA(text, title) != 0)
            return FALSE;
    }
    return TRUE;
}

void winLParamToPoint(LPARAM lParam, POINT *pt)
{
    pt->x = (int16_t)LOWORD(lParam);
    pt->y = (int16_t)HIWORD(lParam);
}

DWORD winAdjustedSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle,
                      BOOL menu, BOOL vScroll, BOOL hScroll)
{
    RECT r = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, menu, exStyle);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (vScroll)
        w += GetSystemMetrics(SM_CXVSCROLL);
    if (hScroll)
        h += GetSystemMetrics(SM_CYHSCROLL);
    return MAKELONG((WORD)w, (WORD)h);
}

BOOL winRegisterClassOnce(HINSTANCE instance, const char *className, WNDPROC proc, UINT style,
                          int wndExtra, HBRUSH background)
{
    WNDCLASSA wc = {};
    if (GetClassInfoA(instance, className, &wc))
        return TRUE;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = wndExtra;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
}
