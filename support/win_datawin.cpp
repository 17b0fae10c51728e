// The data viewer window and its edit child, and the command line edit.
#include "support/win_datawin.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include "support/win_dlgfield.h"
#include "support/win_filedlg.h"
#include <string.h>

namespace {

const char kClass[] = "va_Data";
const int kEditId = 1;
enum { kSaveCommand = 100, kClearCommand = 120 };
HWND g_viewer = nullptr;

// The one command line edit, the edit procedure it replaced and the command
// it reports.
HWND g_commandEdit = nullptr;
WNDPROC g_editProc = nullptr;
uint16_t g_editCommand = 0;

// The viewer's edit; null when the viewer is closed (a handle kept after the
// window died is never used).
HWND editOf(HWND window)
{
    return window && IsWindow(window) ? GetDlgItem(window, kEditId) : nullptr;
}

// Writes the text window's text to a file the user names; a file that
// cannot be made or written is reported.
void saveText(HWND window)
{
    MemHandle text = winGetChildTextHandle(window);
    if (!text)
        return;
    char path[UT_PATH_SIZE] = {};
    if (winSaveFileDlg(window, "Save As", path, "txt", "Text file (*.txt)|*.txt|")) {
        BOOL cancelled = FALSE;
        HANDLE file = ffCreateWrite(path, TRUE, &cancelled);
        if (file != INVALID_HANDLE_VALUE) {
            MemLock<char> p(text);
            const DWORD n = p ? (DWORD)strlen(p.get()) : 0;
            const BOOL written = p && ffWrite(file, p.get(), n) == n;
            const BOOL closed = ffClose(file);
            if (!written || !closed)
                ffReportError(window, path, FE_WRITE_FAILED);
        }
    }
    utFreeHandle(text);
}

LRESULT CALLBACK dataProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (HWND edit = editOf(window))
            MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY: {
        // A viewer closed by the user is forgotten here, so that no later
        // write reaches a dead (or reused) window.
        if (window == g_viewer)
            g_viewer = nullptr;
        uint16_t command = (uint16_t)GetWindowWord(window, 2);
        HWND owner = GetWindow(window, GW_OWNER);
        if (command && owner)
            SendMessageA(owner, WM_COMMAND, command, 0);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kSaveCommand) {
            saveText(window);
            return 0;
        }
        if (LOWORD(wParam) == kClearCommand) {
            if (HWND edit = editOf(window))
                SetWindowTextA(edit, "");
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
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
    wc.lpszMenuName = "datawin";
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
    return editOf(g_viewer) && winAppendChildText(g_viewer, text);
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

BOOL winAppendChildText(HWND window, const char *text)
{
    HWND child = window && IsWindow(window) ? GetWindow(window, GW_CHILD) : nullptr;
    if (!child)
        return FALSE;
    return winEditAppendText(window, GetDlgCtrlID(child), text) != 0;
}

MemHandle winGetChildTextHandle(HWND window)
{
    HWND child = window && IsWindow(window) ? GetWindow(window, GW_CHILD) : nullptr;
    return child ? winGetWindowTextHandle(child, 0) : 0;
}

// ---- the command line edit ---------------------------------------------------------

namespace {

LRESULT CALLBACK commandEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        HWND parent = GetParent(edit);
        // Sent, not posted: the parent reads the text before it is cleared.
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(g_editCommand, 0), (LPARAM)edit);
        SetWindowTextA(edit, "");
        if (wParam == VK_ESCAPE)
            SendMessageA(parent, WM_COMMAND, MAKEWPARAM(WIN_COMMAND_EDIT_CANCELLED, 0), 0);
        return 0;
    }
    if (message == WM_NCDESTROY && edit == g_commandEdit) {
        // Destroyed with its parent: forget it, so that a later call makes
        // a new one.
        WNDPROC previous = g_editProc;
        g_commandEdit = nullptr;
        g_editProc = nullptr;
        SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)previous);
        return CallWindowProcA(previous, edit, message, wParam, lParam);
    }
    return CallWindowProcA(g_editProc, edit, message, wParam, lParam);
}

}  // namespace

HWND winCreateCommandEdit(HWND parent, const RECT *rect, int childId, uint16_t commandId,
                          HFONT font)
{
    if (g_commandEdit && IsWindow(g_commandEdit))
        return g_commandEdit;
    RECT r = rect ? *rect : RECT{0, 0, 0, 0};
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, parent,
                                (HMENU)(INT_PTR)childId, GetModuleHandleA(nullptr), nullptr);
    if (!edit)
        return nullptr;
    if (font)
        SendMessageA(edit, WM_SETFONT, (WPARAM)font, FALSE);
    g_commandEdit = edit;
    g_editCommand = commandId;
    g_editProc = (WNDPROC)SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)commandEditProc);
    return edit;
}

void winDestroyCommandEdit()
{
    HWND edit = g_commandEdit;
    WNDPROC previous = g_editProc;
    g_commandEdit = nullptr;
    g_editProc = nullptr;
    if (edit && IsWindow(edit)) {
        if (previous)
            SetWindowLongPtrA(edit, GWLP_WNDPROC, (LONG_PTR)previous);
        DestroyWindow(edit);
    }
}
