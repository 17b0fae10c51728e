// The data viewer window and its edit child.
#include "support/win_datawin.h"

namespace {

const char kClass[] = "va_Data";
const int kEditId = 1;
HWND g_viewer = nullptr;

HWND editOf(HWND window) { return window ? GetDlgItem(window, kEditId) : nullptr; }

LRESULT CALLBACK dataProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (HWND edit = editOf(window))
            MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY: {
        uint16_t command = (uint16_t)GetWindowWord(window, 2);
        HWND owner = GetWindow(window, GW_OWNER);
        if (command && owner)
            SendMessageA(owner, WM_COMMAND, command, 0);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

BOOL winRegisterDataViewerClass(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    if (GetClassInfoA(instance, kClass, &wc))
        return TRUE;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = dataProc;
    wc.cbWndExtra = 8;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = kClass;
    return RegisterClassA(&wc) != 0;
}

HWND winCreateTextWindow(HWND owner, const char *title, const RECT *rect, uint16_t commandId,
                         HFONT font, BOOL visible, BOOL wrap)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!winRegisterDataViewerClass(instance))
        return nullptr;
    RECT r;
    if (rect) {
        r = *rect;
    } else {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        r = {work.left + 200, work.bottom - 140, work.right - 200, work.bottom};
    }
    DWORD style = WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0);
    HWND window = CreateWindowExA(0, kClass, title ? title : "", style, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, owner, nullptr, instance,
                                  nullptr);
    if (!window)
        return nullptr;
    SetWindowWord(window, 2, (WORD)commandId);
    DWORD editStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
                      ES_AUTOVSCROLL;
    if (!wrap)
        editStyle |= WS_HSCROLL | ES_AUTOHSCROLL;
    RECT client;
    GetClientRect(window, &client);
    HWND edit = CreateWindowExA(0, "EDIT", "", editStyle, 0, 0, client.right, client.bottom,
                                window, (HMENU)(INT_PTR)kEditId, instance, nullptr);
    if (!edit) {
        SetWindowWord(window, 2, 0);
        DestroyWindow(window);
        return nullptr;
    }
    if (font)
        SendMessageA(edit, WM_SETFONT, (WPARAM)font, FALSE);
    SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
    return window;
}

HWND winGetDataWindow(HWND owner, HFONT font)
{
    if (g_viewer && IsWindow(g_viewer))
        return g_viewer;
    g_viewer = winCreateTextWindow(owner, "Data", nullptr, 0, font, TRUE, FALSE);
    return g_viewer;
}

void winDataWindowSetText(const char *text)
{
    if (HWND edit = editOf(g_viewer)) {
        SetWindowTextA(edit, text ? text : "");
        UpdateWindow(edit);
    }
}

BOOL winDataWindowAppend(const char *text)
{
    HWND edit = editOf(g_viewer);
    if (!edit)
        return FALSE;
    int end = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, end, end);
    SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)(text ? text : ""));
    return TRUE;
}

void winDataWindowGetText(char *buffer, int n)
{
    if (n <= 0)
        return;
    buffer[0] = 0;
    if (HWND edit = editOf(g_viewer))
        GetWindowTextA(edit, buffer, n);
}

void winCloseDataWindow()
{
    if (g_viewer && IsWindow(g_viewer))
        DestroyWindow(g_viewer);
    g_viewer = nullptr;
}
