#include "views/dw_window.h"
#include "views/ws_window.h"
#include "app/app_frame.h"
#include "app/app_frame_docs.h"
#include "app/app_ui_state.h"
#include "support/ut_msg.h"
#include "support/win_window.h"
#include "resource.h"

const char dwClassName[] = "xqmdoc";

BOOL dwRegisterClass(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, dwClassName, DocMDIWndProc, 0, DW_WINDOW_BYTES,
                                (HBRUSH)(COLOR_WINDOW + 1), "XQMDOC_S");
}

HWND dwGetWorkspace(HWND doc)
{
    if (!doc || !IsWindow(doc) || !winIsWindowOfClass(doc, dwClassName, nullptr))
        return nullptr;
    HWND ws = qmU32ToHandle<HWND>((uint32_t)GetWindowLongA(doc, DW_LONG_WORKSPACE));
    return (ws && IsWindow(ws)) ? ws : nullptr;
}

BOOL dwDefaultRect(HWND mdiClient, RECT *out)
{
    if (!mdiClient)
        return FALSE;
    RECT r;
    GetClientRect(mdiClient, &r);
    int n = appCountDocWindows(mdiClient);
    r.left += DW_CASCADE_STEP * n;
    r.top += DW_CASCADE_STEP * n;
    r.right -= DW_CASCADE_STEP;
    r.bottom -= DW_CASCADE_STEP;
    if (r.right - r.left < DW_MIN_DEFAULT_SIZE || r.bottom - r.top < DW_MIN_DEFAULT_SIZE)
        return FALSE;
    *out = r;
    return TRUE;
}

HWND dwCreate(HWND, HWND mdiClient, const char *workspaceClass, const char *title,
              const RECT *rect)
{
    if (!mdiClient || !workspaceClass || !*workspaceClass)
        return nullptr;
    MDICREATESTRUCTA mcs = {};
    mcs.szClass = dwClassName;
    mcs.szTitle = (title && *title) ? title : "Untitled";
    mcs.hOwner = (HINSTANCE)GetWindowLongPtrA(mdiClient, GWLP_HINSTANCE);
    mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
    RECT r;
    if (rect || dwDefaultRect(mdiClient, &r)) {
        if (rect)
            r = *rect;
        mcs.x = r.left;
        mcs.y = r.top;
        mcs.cx = r.right - r.left;
        mcs.cy = r.bottom - r.top;
    }
    mcs.style = WS_CLIPCHILDREN;
    if (!rect && !SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0))
        mcs.style |= WS_MAXIMIZE;
    mcs.lParam = (LPARAM)workspaceClass;
    return (HWND)SendMessageA(mdiClient, WM_MDICREATE, 0, (LPARAM)&mcs);
}

BOOL dwClose(HWND doc)
{
    if (!doc || !IsWindow(doc) || !winIsWindowOfClass(doc, dwClassName, nullptr))
        return FALSE;
    if (!dwQuerySave(doc))
        return FALSE;
    HWND client = GetParent(doc);
    HWND frame = client ? GetParent(client) : nullptr;
    if (client)
        SendMessageA(client, WM_MDIDESTROY, (WPARAM)doc, 0);
    else
        DestroyWindow(doc);
    if (frame)
        SendMessageA(frame, WM_COMMAND, 933, 0);
    return TRUE;
}

namespace {

BOOL onCreate(HWND doc, LPARAM lParam)
{
    const CREATESTRUCTA *cs = (const CREATESTRUCTA *)lParam;
    const MDICREATESTRUCTA *mcs = cs ? (const MDICREATESTRUCTA *)cs->lpCreateParams : nullptr;
    const char *wsClass = mcs ? (const char *)mcs->lParam : nullptr;
    if (!wsClass || !*wsClass)
        return FALSE;
    RECT r;
    GetClientRect(doc, &r);
    HWND ws = CreateWindowExA(WS_EX_ACCEPTFILES, wsClass, "",
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, r.left,
                              r.top, r.right - r.left, r.bottom - r.top, doc, nullptr,
                              (HINSTANCE)GetWindowLongPtrA(doc, GWLP_HINSTANCE), nullptr);
    if (!ws) {
        utErrorBoxId(doc, IDS_CANNOT_CREATE_WORKSPACE);
        return FALSE;
    }
    SetWindowLongA(doc, DW_LONG_WORKSPACE, (LONG)qmHandleToU32(ws));
    return TRUE;
}

}  // namespace

LRESULT CALLBACK DocMDIWndProc(HWND doc, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        onCreate(doc, lParam);
        return 0;
    case WM_SIZE:
        if (HWND ws = dwGetWorkspace(doc))
            MoveWindow(ws, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        break;
    case WM_SETFOCUS:
        if (HWND ws = dwGetWorkspace(doc))
            SetFocus(ws);
        return 0;
    case WM_CLOSE:
        dwClose(doc);
        return 0;
    case WM_QUERYENDSESSION:
        return dwQuerySave(doc);
    case WM_COMMAND:
        if (HWND ws = dwGetWorkspace(doc)) {
            if (SendMessageA(ws, WM_COMMAND, wParam, lParam) == 0)
                return 0;
        }
        break;
    case WM_MDIACTIVATE:
        if ((HWND)lParam == doc)
            appSetActiveWorkspace(dwGetWorkspace(doc));
        else if ((HWND)wParam == doc && appGetActiveWorkspace() == dwGetWorkspace(doc))
            appSetActiveWorkspace(nullptr);
        return 0;
    case WM_DESTROY:
        if (HWND ws = dwGetWorkspace(doc))
            if (appGetActiveWorkspace() == ws)
                appSetActiveWorkspace(nullptr);
        break;
    }
    return DefMDIChildProcA(doc, msg, wParam, lParam);
}
