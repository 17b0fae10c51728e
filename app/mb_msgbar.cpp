#include "app/mb_msgbar.h"
#include "app/app_frame.h"
#include "support/app_ui_state.h"
#include "commands/ws_objects.h"
#include "model/lay_layers.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_record.h"
#include "support/dm_map.h"
#include "support/gdi_font.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_window.h"
#include "text/tx_header.h"
#include "tools/ep_standins.h"
#include "textedit/te_session.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

const char mbClassName[] = "qm_msg";

namespace {

HWND g_bar = nullptr;
HWND g_face = nullptr, g_size = nullptr, g_name = nullptr;
HWND g_cells[4] = {};
WNDPROC g_staticProc = nullptr;
int g_input = 0;   // the box that has the input: 962, 961 or 0
bool g_faceChanged = false, g_sizeChanged = false;
bool g_hasOrigin = false;
double g_originX = 0, g_originY = 0;
char g_position[64];

HWND live(HWND w) { return (w && IsWindow(w)) ? w : nullptr; }

void setCellText(HWND cell, const char *text)
{
    if (!live(cell))
        return;
    char old[128] = "";
    GetWindowTextA(cell, old, sizeof old);
    if (strcmp(old, text) != 0)
        SetWindowTextA(cell, text);
}

// Presses in the position and size cells ask the active workspace for the
// position and size dialog (839).
LRESULT CALLBACK cellProc(HWND cell, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if ((msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) &&
        (cell == g_cells[MB_POSITION_CELL] || cell == g_cells[MB_SIZE_CELL])) {
        if (HWND ws = appGetActiveWorkspace())
            PostMessageA(ws, WM_COMMAND, 839, 0);
        return 0;
    }
    if (msg == WM_NCHITTEST)
        return HTCLIENT;   // statics are transparent to the mouse otherwise
    return CallWindowProcA(g_staticProc, cell, msg, wParam, lParam);
}

int unitWidth(HWND bar)
{
    HFONT font = (HFONT)SendMessageA(bar, WM_GETFONT, 0, 0);
    HDC dc = GetDC(bar);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    if (old)
        SelectObject(dc, old);
    ReleaseDC(bar, dc);
    return tm.tmAveCharWidth * 18;
}

// The text editor's window has the caret while a text is edited: the focus
// goes back to the workspace and no box keeps the input.
void returnFocus()
{
    HWND ws = appGetActiveWorkspace();
    if (ws && IsWindow(ws) && GetFocus() != ws)
        SetFocus(ws);
    g_input = 0;
}

void sendToFrame(int id, const char *text)
{
    HWND frame = g_bar ? GetParent(g_bar) : nullptr;
    if (frame && text && *text)
        SendMessageA(frame, WM_COMMAND, (WPARAM)id, (LPARAM)text);
}

// The installed faces, without the vertical "@" faces.
void fillFaces(HWND box)
{
    MemHandle faces = gdiListFontFaces(nullptr, FALSE);
    {
        MemLock<char> text(faces);
        for (const char *at = text.get(); at && *at;) {
            const char *end = strchr(at, '\n');
            const std::string face(at, end ? (size_t)(end - at) : strlen(at));
            if (!face.empty() && face[0] != '@')
                SendMessageA(box, CB_ADDSTRING, 0, (LPARAM)face.c_str());
            at = end ? end + 1 : nullptr;
        }
    }
    utFreeHandle(faces);
}

// The sizes offered for a face: the usual point sizes.
void fillSizes(const char *)
{
    if (!live(g_size))
        return;
    static const int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
    char text[16];
    GetWindowTextA(g_size, text, sizeof text);
    SendMessageA(g_size, CB_RESETCONTENT, 0, 0);
    for (int s : kSizes) {
        char item[8];
        snprintf(item, sizeof item, "%d", s);
        SendMessageA(g_size, CB_ADDSTRING, 0, (LPARAM)item);
    }
    SetWindowTextA(g_size, text);
}

std::string comboSelection(HWND box)
{
    const LRESULT i = SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (i == CB_ERR)
        return std::string();
    const LRESULT n = SendMessageA(box, CB_GETLBTEXTLEN, (WPARAM)i, 0);
    if (n <= 0)
        return std::string();
    std::vector<char> text((size_t)n + 1);
    SendMessageA(box, CB_GETLBTEXT, (WPARAM)i, (LPARAM)text.data());
    return text.data();
}

void onFaceBox(int code)
{
    switch (code) {
    case CBN_SELCHANGE: {
        std::string face = comboSelection(g_face);
        if (!face.empty()) {
            sendToFrame(MB_FACE_BOX, face.c_str());
            fillSizes(face.c_str());
        }
        returnFocus();
        break;
    }
    case CBN_EDITCHANGE:
        g_faceChanged = true;
        break;
    case CBN_KILLFOCUS:
        if (g_faceChanged) {
            // A LOGFONT face holds 31 characters and its terminator.
            char face[LF_FACESIZE] = "";
            GetWindowTextA(g_face, face, sizeof face);
            g_faceChanged = false;
            sendToFrame(MB_FACE_BOX, face);
            fillSizes(face);
        }
        returnFocus();
        break;
    case CBN_SETFOCUS:
        g_input = MB_FACE_BOX;
        break;
    }
}

void sendSize()
{
    char size[15] = "";
    GetWindowTextA(g_size, size, sizeof size);
    g_sizeChanged = false;
    sendToFrame(MB_SIZE_BOX, size);
}

void onSizeBox(int code)
{
    switch (code) {
    case CBN_SELCHANGE: {
        std::string size = comboSelection(g_size);
        if (!size.empty())
            sendToFrame(MB_SIZE_BOX, size.c_str());
        returnFocus();
        break;
    }
    case CBN_EDITCHANGE:
        g_sizeChanged = true;
        break;
    case CBN_KILLFOCUS:
        if (g_sizeChanged)
            sendSize();
        break;
    case CBN_SETFOCUS:
        g_input = MB_SIZE_BOX;
        break;
    }
}

HWND child(HWND bar, const char *cls, DWORD style, int id, HINSTANCE inst)
{
    HWND w = CreateWindowExA(0, cls, "", style, 0, 0, 10, 10, bar, (HMENU)(INT_PTR)id, inst,
                             nullptr);
    if (w)
        SendMessageA(w, WM_SETFONT, SendMessageA(bar, WM_GETFONT, 0, 0), FALSE);
    return w;
}

// The font of the first text object of a tree (firstMember, nextMember).
bool treeFont(MemHandle h, LOGFONTA *out)
{
    std::vector<MemHandle> all;
    obCollectTree(h, 3, all);
    for (MemHandle m : all) {
        const int16_t type = obGetType(m);
        if (type != 40 && type != -40)
            continue;
        MemLock<ObjectRecord> rec(m);
        if (!rec)
            continue;
        memcpy(out, obRecData(rec.get()) + 8, sizeof *out);
        out->lfFaceName[LF_FACESIZE - 1] = 0;
        return true;
    }
    return false;
}

}  // namespace

BOOL mbRegisterClass(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, mbClassName, MsgBarWndProc, 0, 0,
                                (HBRUSH)(COLOR_BTNFACE + 1));
}

BOOL ctlRegisterUtilClass(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, "qm_util", MsgBarWndProc, 0, 8,
                                (HBRUSH)GetStockObject(LTGRAY_BRUSH));
}

void mbLayout(HWND bar)
{
    if (!live(bar))
        return;
    RECT rc;
    GetClientRect(bar, &rc);
    const int h = rc.bottom - rc.top, half = h / 2, u = unitWidth(bar);
    const int x = live(g_face) ? MB_CELLS_WITH_BOXES : 0;
    if (live(g_face))
        MoveWindow(g_face, 3, 3, 120, 134, TRUE);
    if (live(g_size))
        MoveWindow(g_size, 126, 3, 50, 134, TRUE);
    if (HWND c = live(g_cells[MB_STATE_CELL]))
        MoveWindow(c, x, 0, u, half, TRUE);
    if (live(g_name))
        MoveWindow(g_name, x, half, 2 * u, half, TRUE);
    if (HWND c = live(g_cells[MB_STATUS_CELL]))
        MoveWindow(c, x + u, 0, u, half, TRUE);
    if (HWND c = live(g_cells[MB_POSITION_CELL]))
        MoveWindow(c, x + 2 * u, 0, u, half, TRUE);
    if (HWND c = live(g_cells[MB_SIZE_CELL]))
        MoveWindow(c, x + 2 * u, half - 1, u, half, TRUE);
}

LRESULT CALLBACK MsgBarWndProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        g_input = 0;
        g_faceChanged = g_sizeChanged = false;
        break;
    case WM_DESTROY:
        if (g_bar == bar) {
            g_bar = nullptr;
            g_face = g_size = g_name = nullptr;
            for (HWND &c : g_cells)
                c = nullptr;
        }
        break;
    case WM_SIZE:
        mbLayout(bar);
        break;
    case WM_COMMAND: {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (lParam && (HWND)lParam == g_face) {
            onFaceBox(code);
            return 0;
        }
        if (lParam && (HWND)lParam == g_size) {
            onSizeBox(code);
            return 0;
        }
        if (id == IDOK && !lParam) {
            // Enter in a box.
            if (g_input == MB_SIZE_BOX) {
                returnFocus();
                sendSize();
            }
            return 0;
        }
        if (id == 963) {
            g_faceChanged = false;
            return 0;
        }
        if (id == 964) {
            g_sizeChanged = false;
            return 0;
        }
        if (HWND parent = GetParent(bar))
            PostMessageA(parent, WM_COMMAND, wParam, lParam);
        return 0;
    }
    }
    return DefWindowProcA(bar, msg, wParam, lParam);
}

HWND mbCreate(HWND frame, HFONT font, const RECT *rect)
{
    RECT r = rect ? *rect : RECT{0, 0, 0, 0};
    HINSTANCE inst = (HINSTANCE)GetWindowLongPtrA(frame, GWLP_HINSTANCE);
    HWND bar = CreateWindowExA(WS_EX_CONTROLPARENT | WS_EX_STATICEDGE, mbClassName, "",
                               WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP, r.left,
                               r.top, r.right - r.left, r.bottom - r.top, frame, nullptr, inst,
                               nullptr);
    if (!bar) {
        utErrorBox(frame, "Can not create message window");
        return nullptr;
    }
    if (font)
        SendMessageA(bar, WM_SETFONT, (WPARAM)font, FALSE);
    g_bar = bar;
    if (appTestFrameFlag(FRAME_FLAG_WIDE_SCREEN)) {
        g_face = child(bar, "combobox",
                       WS_CHILD | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | CBS_DROPDOWN |
                           CBS_AUTOHSCROLL | CBS_SORT,
                       MB_FACE_BOX, inst);
        g_size = child(bar, "combobox",
                       WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                       MB_SIZE_BOX, inst);
        if (g_face) {
            fillFaces(g_face);
            ShowWindow(g_face, SW_SHOW);
        }
        if (g_size) {
            fillSizes(nullptr);
            ShowWindow(g_size, SW_SHOW);
        }
    }
    const DWORD cellStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    for (HWND &c : g_cells) {
        c = child(bar, "static", cellStyle, -1, inst);
        if (c) {
            WNDPROC old = (WNDPROC)SetWindowLongPtrA(c, GWLP_WNDPROC, (LONG_PTR)cellProc);
            if (!g_staticProc)
                g_staticProc = old;
        }
    }
    g_name = child(bar, "button", cellStyle, MB_NAME_BUTTON, inst);
    if (g_name)
        SetWindowTextA(g_name, "Object-Name...");
    mbLayout(bar);
    ShowWindow(bar, SW_SHOW);
    UpdateWindow(bar);
    return bar;
}

HWND mbGetWindow() { return live(g_bar); }
HWND mbGetCell(MbCell cell) { return live(g_bar) ? live(g_cells[cell]) : nullptr; }
HWND mbGetFaceBox() { return live(g_bar) ? live(g_face) : nullptr; }
HWND mbGetSizeBox() { return live(g_bar) ? live(g_size) : nullptr; }
HWND mbGetNameButton() { return live(g_bar) ? live(g_name) : nullptr; }

// ---- the cells ------------------------------------------------------------------------------

void mbShowPosition(POINT device)
{
    double x = dmLogToUnitsX(dmDevToLogX(device.x));
    double y = dmLogToUnitsY(dmDevToLogY(device.y));
    char text[64];
    if (g_hasOrigin)
        snprintf(text, sizeof text, "(%6.2lf x %6.2lf)", fabs(x - g_originX), fabs(y - g_originY));
    else
        snprintf(text, sizeof text, "(%-6.2lf, %6.2lf)", x, y);
    mbSetPositionText(text);
}

void mbSetOrigin(int32_t x, int32_t y)
{
    g_originX = dmLogToUnitsX(x);
    g_originY = dmLogToUnitsY(y);
    g_hasOrigin = true;
}

void mbClearOrigin() { g_hasOrigin = false; }

BOOL mbHasOrigin() { return g_hasOrigin; }

void mbSetPositionText(const char *text)
{
    snprintf(g_position, sizeof g_position, "%s", text ? text : "");
    setCellText(g_cells[MB_POSITION_CELL], g_position);
}

void mbClearPositionText() { mbSetPositionText(""); }

int mbGetPositionText(char *buffer, int size)
{
    if (buffer && size > 0)
        snprintf(buffer, size, "%s", g_position);
    return (int)strlen(g_position);
}

void mbShowObjectPos(int32_t x, int32_t y)
{
    char text[64];
    snprintf(text, sizeof text, " (%-6.3lf, %6.3lf)", dmLogToUnitsX(x), dmLogToUnitsY(y));
    mbSetPositionText(text);
}

void mbClearObjectPos() { mbClearPositionText(); }

void mbShowObjectSize(int32_t width, int32_t height)
{
    if (width == -1 && height == -1) {
        setCellText(g_cells[MB_SIZE_CELL], "");
        return;
    }
    char text[64];
    snprintf(text, sizeof text, " %-6.3lf x %6.3lf", dmLogToUnitsX(abs(width)),
             dmLogToUnitsY(abs(height)));
    setCellText(g_cells[MB_SIZE_CELL], text);
}

void mbClearObjectSize() { mbShowObjectSize(-1, -1); }

void mbShowRotation(int degrees)
{
    char text[32];
    snprintf(text, sizeof text, "Rotate %d Deg.", degrees);
    mbSetPositionText(text);
}

void mbShowObjectName(const char *name)
{
    if (live(g_name))
        setCellText(g_name, name && *name ? name : "Object-Name...");
}

void mbShowStatus(const char *text) { setCellText(g_cells[MB_STATUS_CELL], text ? text : ""); }

void mbShowState(int mode, int layer, BOOL insert)
{
    char text[48];
    int n = snprintf(text, sizeof text, "[%d]", layer);
    if (mode == 19 || mode == 20 || mode == 21 || mode == 25)
        snprintf(text + n, sizeof text - n, "%s", insert ? " [Ins]" : " [Ovr]");
    else if (mode == 60)
        snprintf(text + n, sizeof text - n, " HL-Fields");
    setCellText(g_cells[MB_STATE_CELL], text);
}

void mbShowFont(const LOGFONTA *font)
{
    HWND face = mbGetFaceBox(), size = mbGetSizeBox();
    if (!face || !size)
        return;
    if (!font) {
        EnableWindow(face, FALSE);
        EnableWindow(size, FALSE);
    } else {
        EnableWindow(face, TRUE);
        char text[64] = "";
        GetWindowTextA(face, text, sizeof text);
        if (strncmp(text, font->lfFaceName, LF_FACESIZE) != 0) {
            char name[LF_FACESIZE];
            memcpy(name, font->lfFaceName, LF_FACESIZE);
            name[LF_FACESIZE - 1] = 0;
            SetWindowTextA(face, name);
            fillSizes(name);
        }
        EnableWindow(size, TRUE);
        // The height is kept in twips: 20 to the point.
        char points[16];
        snprintf(points, sizeof points, "%d", (abs((int)font->lfHeight) + 10) / 20);
        GetWindowTextA(size, text, sizeof text);
        if (strcmp(text, points) != 0)
            SetWindowTextA(size, points);
    }
    // What the user typed is superseded by the font shown.
    if (mbFocusIsInFontBoxes()) {
        mbFocusFaceBox();
        mbFocusSizeBox();
    }
}

BOOL mbFaceChangePending() { return g_faceChanged; }
BOOL mbSizeChangePending() { return g_sizeChanged; }

void mbFocusFaceBox()
{
    if (HWND bar = mbGetWindow())
        SendMessageA(bar, WM_COMMAND, 963, 0);
}

void mbFocusSizeBox()
{
    if (HWND bar = mbGetWindow())
        SendMessageA(bar, WM_COMMAND, 964, 0);
}

void mbUpdateState()
{
    HWND ws = appGetActiveWorkspace();
    if (!ws || !IsWindow(ws))
        return;
    MemHandle inUse = 0;
    uint16_t count = 0, layer = 1;
    layGetInUse(&inUse, &count, &layer);
    // The editor's Insert key switches between insert and overwrite; with
    // no text open (a table cell not being typed in) it inserts.
    mbShowState(wsGetToolMode(ws), layer, teGetTextObject() ? teGetInsertMode() : TRUE);
}

void mbUpdateFromSelection()
{
    HWND ws = appGetActiveWorkspace();
    if (!mbGetWindow() || !ws || !IsWindow(ws))
        return;
    MemHandle object = wsGetCurrentObject(ws);
    if (object) {
        RECT r;
        obGetRect(object, &r);
        mbShowObjectPos(r.left, r.top);
        mbShowObjectSize(r.right - r.left, r.bottom - r.top);
        char name[256] = "";
        obGetName(object, name);
        mbShowObjectName(name);
        LOGFONTA lf;
        mbShowFont(treeFont(object, &lf) ? &lf : nullptr);
    } else {
        mbClearObjectPos();
        mbClearObjectSize();
        mbShowObjectName("");
        const int16_t pending = wsGetCurrentType(ws);
        LOGFONTA lf;
        const bool otherTool = wsGetToolMode(ws) == TM_CREATE && pending != 40 && pending != -40 &&
                               !obIsEntryOrCounter(pending);
        if (!otherTool && pgGetDefaultFont(pvGetCurrentPage(ws), &lf))
            mbShowFont(&lf);
        else
            mbShowFont(nullptr);
    }
    mbUpdateState();
}

BOOL mbFocusIsInFontBoxes()
{
    HWND focus = GetFocus();
    if (!focus)
        return FALSE;
    for (HWND box : {mbGetFaceBox(), mbGetSizeBox()})
        if (box && (focus == box || IsChild(box, focus)))
            return TRUE;
    return FALSE;
}
