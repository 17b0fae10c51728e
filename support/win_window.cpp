// Small window-level services.
#include "support/win_window.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/rc_list.h"
#include "support/ut_mem.h"

namespace {

// The wait-cursor stack: cursor handles (32-bit) and their count.
MemHandle g_waitCursors = 0;
int32_t g_waitCount = 0;

struct ClassSearch {
    const char *className;
    const char *title;
    HWND found;
};

BOOL CALLBACK findChildProc(HWND child, LPARAM lParam)
{
    ClassSearch *search = reinterpret_cast<ClassSearch *>(lParam);
    if (winIsWindowOfClass(child, search->className, search->title)) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HINSTANCE winGetInstance(HWND window)
{
    return (HINSTANCE)GetWindowLongPtrA(window, GWLP_HINSTANCE);
}

HCURSOR winSetClassCursor(HWND window, HCURSOR cursor)
{
    return (HCURSOR)SetClassLongPtrA(window, GCLP_HCURSOR, (LONG_PTR)cursor);
}

// ---- wait cursor -------------------------------------------------------------------

void winPushWaitCursor()
{
    ShowCursor(FALSE);
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_WAIT));
    uint32_t entry = qmHandleToU32(previous);
    MemHandle grown = rcArrayAppend(g_waitCursors, g_waitCount, &entry, sizeof(entry));
    if (grown) {
        g_waitCursors = grown;
        ++g_waitCount;
    }
    ShowCursor(TRUE);
}

void winPopWaitCursor()
{
    if (g_waitCount == 0)
        return;
    ShowCursor(FALSE);
    uint32_t entry = 0;
    if (rcArrayPop(&g_waitCursors, &g_waitCount, &entry, sizeof(entry), TRUE))
        SetCursor(qmU32ToHandle<HCURSOR>(entry));
    ShowCursor(TRUE);
}

int32_t winWaitCursorDepth() { return g_waitCount; }

void winResetWaitCursor()
{
    g_waitCursors = utFreeHandle(g_waitCursors);
    g_waitCount = 0;
}

// ---- invalidation and rectangles -------------------------------------------------------

void winInvalidate(HWND window) { dmInvalidateLogRect(window, nullptr, TRUE); }

void winRedrawNow(HWND window)
{
    winInvalidate(window);
    UpdateWindow(window);
}

BOOL winGetChildRect(HWND parent, HWND child, RECT *out)
{
    RECT r;
    if (!GetWindowRect(child, &r))
        return FALSE;
    POINT topLeft = {r.left, r.top};
    ScreenToClient(parent, &topLeft);
    out->left = topLeft.x;
    out->top = topLeft.y;
    out->right = topLeft.x + (r.right - r.left);
    out->bottom = topLeft.y + (r.bottom - r.top);
    return TRUE;
}

BOOL winAdjustFrameRect(HWND window, RECT *r)
{
    DWORD style = (DWORD)GetWindowLongA(window, GWL_STYLE);
    DWORD exStyle = (DWORD)GetWindowLongA(window, GWL_EXSTYLE);
    return AdjustWindowRectEx(r, style, GetMenu(window) != nullptr, exStyle);
}

uint32_t winFrameSizeForClient(int32_t left, int32_t top, int32_t right, int32_t bottom,
                               DWORD style, DWORD exStyle, BOOL hasMenu, BOOL verticalBar,
                               BOOL horizontalBar)
{
    RECT r = {left, top, right, bottom};
    AdjustWindowRectEx(&r, style, hasMenu, exStyle);
    int32_t w = r.right - r.left, h = r.bottom - r.top;
    if (verticalBar)
        w += GetSystemMetrics(SM_CXVSCROLL);
    if (horizontalBar)
        h += GetSystemMetrics(SM_CYHSCROLL);
    return (uint32_t)(uint16_t)w | ((uint32_t)(uint16_t)h << 16);
}

void winEtchedLine(HDC dc, int32_t x1, int32_t x2, int32_t y)
{
    GdiObject<HPEN> shadow(CreatePen(PS_SOLID, 0, GetSysColor(COLOR_BTNSHADOW)));
    GdiObject<HPEN> highlight(CreatePen(PS_SOLID, 0, GetSysColor(COLOR_BTNHIGHLIGHT)));
    HGDIOBJ previous = GetCurrentObject(dc, OBJ_PEN);
    if (shadow) {
        SelectObject(dc, shadow);
        gdiLine(dc, x1, y, x2, y);
    }
    if (highlight) {
        SelectObject(dc, highlight);
        gdiLine(dc, x1, y + 1, x2, y + 1);
    }
    SelectObject(dc, previous);
}

HDC winGetScreenDC() { return GetDC(GetDesktopWindow()); }
void winReleaseScreenDC(HDC dc) { ReleaseDC(GetDesktopWindow(), dc); }

BOOL winCursorInWindow(HWND window, POINT *out)
{
    POINT cursor;
    RECT r;
    if (!GetCursorPos(&cursor) || !GetWindowRect(window, &r)) {
        out->x = out->y = 0;
        return FALSE;
    }
    out->x = cursor.x - r.left;
    out->y = cursor.y - r.top;
    return out->x >= 1 && out->y >= 1;
}

// ---- packed positions, colours, windows ------------------------------------------------

void winLParamToPoint(LPARAM packed, POINT *out)
{
    out->x = (int16_t)LOWORD(packed);
    out->y = (int16_t)HIWORD(packed);
}

LPARAM winPointToLParam(POINT p) { return MAKELPARAM((WORD)p.x, (WORD)p.y); }

COLORREF winBrushColor(HBRUSH brush)
{
    uintptr_t v = (uintptr_t)brush;
    if (v >= 1 && v <= 33) {
        // A black system colour is still that colour; only an index the
        // system does not know (it has no brush for it) gives white.
        int index = (int)v - 1;
        return GetSysColorBrush(index) ? GetSysColor(index) : 0xFFFFFF;
    }
    LOGBRUSH lb;
    if (brush && GetObjectA(brush, sizeof(lb), &lb) == sizeof(lb))
        return lb.lbColor;
    return 0xFFFFFF;
}

HWND winBringToFront(HWND window)
{
    BringWindowToTop(window);
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    HWND popup = GetLastActivePopup(window);
    if (!popup)
        popup = window;
    SetForegroundWindow(popup);
    return popup;
}

BOOL winIsWindowOfClass(HWND window, const char *className, const char *title)
{
    if (!window || !IsWindow(window) || !className)
        return FALSE;
    char buf[128];
    if (!GetClassNameA(window, buf, 32) || lstrcmpiA(buf, className) != 0)
        return FALSE;
    if (!title)
        return TRUE;
    buf[0] = 0;
    GetWindowTextA(window, buf, 128);
    return lstrcmpiA(buf, title) == 0;
}

HWND winFindChildOfClass(HWND parent, const char *className, const char *title)
{
    ClassSearch search = {className, title, nullptr};
    EnumChildWindows(parent, findChildProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND winFindEditChild(HWND window)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (winIsWindowOfClass(child, "edit", nullptr))
            return child;
    return nullptr;
}

BOOL winRegisterClassOnce(HINSTANCE instance, const char *className, WNDPROC proc, UINT style,
                          int wndExtra, HBRUSH background, const char *icon)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExA(instance, className, &wc))
        return TRUE;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = wndExtra;
    wc.hInstance = instance;
    if (icon) {
        wc.hIcon = LoadIconA(instance, icon);
        wc.hIconSm = (HICON)LoadImageA(instance, icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                       GetSystemMetrics(SM_CYSMICON), 0);
    }
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0;
}

MemHandle winGetRecord(HWND window, int index, uint32_t minSize)
{
    if (!window || !IsWindow(window))
        return 0;
    MemHandle h = (MemHandle)GetWindowLongA(window, index);
    return (h && utHandleSize(h) >= minSize) ? h : 0;
}

MemHandle winNewRecord(HWND window, int index, uint32_t size)
{
    MemHandle h = utAllocHandle(0, size);
    if (h)
        SetWindowLongA(window, index, (LONG)h);
    return h;
}
