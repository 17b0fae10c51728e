// The tool-mode protocol of workspace windows.
#include "views/ws_tools.h"
#include "views/ws_record.h"
#include "views/ws_window.h"
#include "support/win_window.h"
#include <vector>

namespace {

std::vector<LONG_PTR> &procTable()
{
    static std::vector<LONG_PTR> table;
    return table;
}

bool isWorkspace(HWND ws) { return ws && winIsWindowOfClass(ws, wsClassName, nullptr); }

void postModeChanged(HWND ws) { PostMessageA(ws, WM_COMMAND, WS_CMD_MODE_CHANGED, 0); }

HCURSOR resourceCursor(HWND ws, const char *name, LPCSTR fallback)
{
    HCURSOR c = LoadCursorA(winGetInstance(ws), name);
    if (!c)
        c = LoadCursorA(GetModuleHandleA(nullptr), name);
    return c ? c : LoadCursorA(nullptr, fallback);
}

bool drawsWithPen(int16_t type)
{
    switch (type) {
    case 2: case 3: case 4: case 5: case 14: case 15: case 17: case 18: case 22:
        return true;
    default:
        return false;
    }
}

}  // namespace

uint32_t wsProcToken(LONG_PTR proc)
{
    if (!proc)
        return 0;
    std::vector<LONG_PTR> &table = procTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i] == proc)
            return (uint32_t)(i + 1);
    table.push_back(proc);
    return (uint32_t)table.size();
}

LONG_PTR wsProcFromToken(uint32_t token)
{
    const std::vector<LONG_PTR> &table = procTable();
    return (token >= 1 && token <= table.size()) ? table[token - 1] : 0;
}

uint16_t wsGetToolMode(HWND ws)
{
    return isWorkspace(ws) ? (uint16_t)GetWindowWord(ws, WS_WORD_MODE) : 0;
}

void wsSetToolModeWord(HWND ws, uint16_t mode)
{
    if (isWorkspace(ws))
        SetWindowWord(ws, WS_WORD_MODE, (WORD)mode);
}

uint16_t wsGetPrevToolMode(HWND ws)
{
    return isWorkspace(ws) ? (uint16_t)GetWindowWord(ws, WS_WORD_PREV_MODE) : 0;
}

HCURSOR wsToolCursor(HWND ws, uint16_t mode)
{
    switch (mode) {
    case 3: return LoadCursorA(nullptr, (LPCSTR)IDC_SIZEALL);
    case 4: return resourceCursor(ws, "multisel", (LPCSTR)IDC_ARROW);
    case 5:
        return drawsWithPen(wsGetCurrentType(ws)) ? resourceCursor(ws, "pen", (LPCSTR)IDC_CROSS)
                                                  : LoadCursorA(nullptr, (LPCSTR)IDC_CROSS);
    case 6: return resourceCursor(ws, "paste", (LPCSTR)IDC_ARROW);
    case 8: case 12: case 43: return LoadCursorA(nullptr, (LPCSTR)IDC_CROSS);
    case 9: return resourceCursor(ws, "scaling", (LPCSTR)IDC_CROSS);
    case 20:
        // The text editor tells whether its text runs vertically once it
        // keeps its state with the workspace; until then the I-beam serves.
        return LoadCursorA(nullptr, (LPCSTR)IDC_IBEAM);
    case 30: case 32: case 42: return resourceCursor(ws, "rotate", (LPCSTR)IDC_CROSS);
    case 31: case 33: case 40: return resourceCursor(ws, "edit", (LPCSTR)IDC_CROSS);
    case 41: return resourceCursor(ws, "ins_pts", (LPCSTR)IDC_CROSS);
    case 47: return resourceCursor(ws, "brush", (LPCSTR)IDC_CROSS);
    case 71: return resourceCursor(ws, "connect", (LPCSTR)IDC_CROSS);
    case 77: return resourceCursor(ws, "trkcolor", (LPCSTR)IDC_CROSS);
    default: return LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    }
}

void wsSetToolCursor(HWND ws)
{
    if (!isWorkspace(ws))
        return;
    HCURSOR cursor = wsToolCursor(ws, wsGetToolMode(ws));
    ShowCursor(FALSE);
    winSetClassCursor(ws, cursor);
    SetCursor(cursor);
    ShowCursor(TRUE);
}

int wsEnterToolMode(HWND ws, uint16_t mode, WNDPROC proc, uint16_t argument, LPARAM second)
{
    if (!isWorkspace(ws))
        return 0;
    if (wsGetToolMode(ws) == mode)
        return 1;
    LONG_PTR current = GetWindowLongPtrA(ws, GWLP_WNDPROC);
    SetWindowLongA(ws, WS_LONG_PREV_PROC, (LONG)wsProcToken(current));
    SetWindowWord(ws, WS_WORD_PREV_MODE, (WORD)wsGetToolMode(ws));
    if (proc)
        SetWindowLongPtrA(ws, GWLP_WNDPROC, (LONG_PTR)proc);
    SetWindowWord(ws, WS_WORD_MODE, (WORD)mode);
    wsSetToolCursor(ws);
    PostMessageA(ws, WS_MSG_ENTER_MODE, argument, second);
    postModeChanged(ws);
    return mode;
}

int wsLeaveToolMode(HWND ws, BOOL restorePrevious)
{
    if (!isWorkspace(ws))
        return 0;
    LONG_PTR proc;
    uint16_t mode;
    if (restorePrevious) {
        proc = wsProcFromToken((uint32_t)GetWindowLongA(ws, WS_LONG_PREV_PROC));
        mode = wsGetPrevToolMode(ws);
    } else {
        proc = wsProcFromToken((uint32_t)GetWindowLongA(ws, WS_LONG_OWN_PROC));
        mode = TM_NONE;
    }
    if (!proc)
        proc = (LONG_PTR)WorkspaceWndProc;
    SetWindowLongPtrA(ws, GWLP_WNDPROC, proc);
    SetWindowLongA(ws, WS_LONG_PREV_PROC, 0);
    wsSetToolValue(ws, 0);
    SetWindowWord(ws, WS_WORD_PREV_MODE, 0);
    SetWindowWord(ws, WS_WORD_MODE, (WORD)mode);
    wsSetToolCursor(ws);
    postModeChanged(ws);
    return mode;
}

int wsPushToolMode(HWND ws, uint16_t mode, WNDPROC proc, BOOL push)
{
    if (!wsGetRecordHandle(ws))
        return 0;
    if (push) {
        uint16_t current = wsGetToolMode(ws);
        uint32_t savedProc = wsGetSavedProc(ws);
        if (mode != current) {
            savedProc = wsProcToken(GetWindowLongPtrA(ws, GWLP_WNDPROC));
            if (proc)
                SetWindowLongPtrA(ws, GWLP_WNDPROC, (LONG_PTR)proc);
            SetWindowWord(ws, WS_WORD_MODE, (WORD)mode);
        }
        wsSetSavedTool(ws, current, savedProc);
    } else {
        uint32_t savedProc = wsGetSavedProc(ws);
        LONG_PTR back = wsProcFromToken(savedProc);
        if (back) {
            SetWindowLongPtrA(ws, GWLP_WNDPROC, back);
            SetWindowWord(ws, WS_WORD_MODE, (WORD)wsGetSavedMode(ws));
        } else {
            LONG_PTR own = wsProcFromToken((uint32_t)GetWindowLongA(ws, WS_LONG_OWN_PROC));
            SetWindowLongPtrA(ws, GWLP_WNDPROC, own ? own : (LONG_PTR)WorkspaceWndProc);
            SetWindowWord(ws, WS_WORD_MODE, TM_NONE);
            PostMessageA(ws, WM_COMMAND, WS_CMD_BACK_TO_SELECT, 0);
        }
        wsSetSavedTool(ws, 0, 0);
    }
    wsSetToolCursor(ws);
    PostMessageA(ws, WS_MSG_ENTER_MODE, 0, 0);
    postModeChanged(ws);
    return wsGetToolMode(ws);
}

LRESULT wsSendLeaveMode(HWND ws, uint16_t reason)
{
    if (!ws || !IsWindow(ws))
        return 0;
    return SendMessageA(ws, WS_MSG_LEAVE_MODE, 0, reason);
}

LRESULT wsDefProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LONG_PTR own = isWorkspace(ws) ? wsProcFromToken((uint32_t)GetWindowLongA(ws, WS_LONG_OWN_PROC))
                                   : 0;
    if (!own)
        return WorkspaceWndProc(ws, msg, wParam, lParam);
    return CallWindowProcA((WNDPROC)own, ws, msg, wParam, lParam);
}
