// The workspace window: class, procedure, keys, characters, focus, dropped
// files, the document's view settings, the rulers and the scroll bars.
#include "views/ws_window.h"
#include "model/ws_document.h"
#include "views/ws_tools.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "views/ws_scroll.h"
#include "app/app_frame.h"
#include "app/app_frame_docs.h"
#include "support/app_frame_globals.h"
#include "app/app_menu_state.h"
#include "support/app_ui_state.h"
#include "app/fc_import_export.h"
#include "model/setup_record.h"
#include "app/ws_paint.h"
#include "controls/maintools.h"
#include "controls/ruler.h"
#include "model/fm_form.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "support/win_window.h"
#include "resource.h"
#include <shellapi.h>
#include <string.h>
#include <string>

const char wsClassName[] = "vaqm_ws";

namespace {

enum : uint16_t {
    VIEW_GRID_1 = 0x1,
    VIEW_SNAP = 0x2,
    VIEW_RULERS = 0x4,
    VIEW_GRID_8 = 0x8,
};
// Offsets of the view fields in a form head (the document or the form
// defaults).
enum { HEAD_VIEW_FLAGS = 18, HEAD_PLACEMENT = 21, HEAD_GRID = 22, HEAD_UNIT = 24,
       HEAD_VIEW_WORD = 26, HEAD_SIZE = 80 };

// The head holding the view settings: the document's form record, else the
// form defaults. Locked for the guard's life; null when neither exists.
class ViewHead {
public:
    explicit ViewHead(HWND ws)
    {
        MemHandle form = wsGetDocument(ws);
        h_ = form ? form : setGetFormDefaultsRecord();
        if (h_ && utHandleSize(h_) >= HEAD_SIZE)
            p_ = static_cast<uint8_t *>(utLock(h_));
    }
    ~ViewHead()
    {
        if (p_)
            utUnlock(h_);
    }
    ViewHead(const ViewHead &) = delete;
    ViewHead &operator=(const ViewHead &) = delete;
    uint8_t *get() const { return p_; }

    uint16_t u16(int at) const
    {
        uint16_t v = 0;
        if (p_)
            memcpy(&v, p_ + at, 2);
        return v;
    }
    void setU16(int at, uint16_t v)
    {
        if (p_)
            memcpy(p_ + at, &v, 2);
    }

private:
    MemHandle h_ = 0;
    uint8_t *p_ = nullptr;
};

void setViewBit(HWND ws, uint16_t bit, BOOL on)
{
    ViewHead head(ws);
    uint16_t flags = head.u16(HEAD_VIEW_FLAGS);
    head.setU16(HEAD_VIEW_FLAGS, on ? (uint16_t)(flags | bit) : (uint16_t)(flags & ~bit));
}

bool keyDown(int vk) { return GetKeyState(vk) < 0; }

// The tool buttons follow the selection when the workspace takes the focus.
void updateToolButtons(HWND ws)
{
    if (!blGetToolList())
        return;
    blEnableAllToolButtons(TRUE);
    MemHandle object = wsGetCurrentObject(ws);
    if (!object)
        return;
    const bool select = wsGetToolMode(ws) == TM_SELECT;
    const int16_t type = wsGetCurrentType(ws);
    const bool locked = (obGetFlags(object) & OBF_LOCKED) != 0;
    blEnableToolButton(401, select && !locked);
    blEnableToolButton(217, select && !locked && !(obGetFlags(object) & OBF_NO_ROTATE));
    blEnableToolButton(403, type == 84);
    blEnableToolButton(405, type == 80 || type == 84);
}

void postCommand(HWND ws, int command, LPARAM lParam)
{
    PostMessageA(ws, WM_COMMAND, (WPARAM)(uint16_t)command, lParam);
}

BOOL onKeyDown(HWND ws, UINT key)
{
    LPARAM lParam = 0;
    int command = wsKeyCommand(key, keyDown(VK_CONTROL), keyDown(VK_SHIFT), wsGetZoomCode(ws),
                               &lParam);
    if (command == WS_KEY_SCROLL_PAGE_UP || command == WS_KEY_SCROLL_PAGE_DOWN) {
        SendMessageA(ws, WM_VSCROLL, command == WS_KEY_SCROLL_PAGE_UP ? SB_PAGEUP : SB_PAGEDOWN, 0);
        return TRUE;
    }
    if (command > 0)
        postCommand(ws, command, lParam);
    return command != 0;
}

LRESULT onCreate(HWND ws)
{
    if (!wsCreateRecord(ws))
        return -1;
    SetWindowLongA(ws, WS_LONG_OWN_PROC,
                   (LONG)wsProcToken(GetWindowLongPtrA(ws, GWLP_WNDPROC)));
    SetWindowWord(ws, WS_WORD_MODE, TM_NONE);
    return 0;
}

}  // namespace

BOOL wsRegisterClass(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, wsClassName, WorkspaceWndProc, CS_DBLCLKS,
                                WS_WINDOW_BYTES, setGetWorkspaceBkBrush(), "XQMDOC_S");
}

HWND wsCreateChildWindow(HWND parent, const char *className, const RECT *rect, BOOL visible)
{
    RECT r = {0, 0, 0, 0};
    if (rect)
        r = *rect;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0);
    HWND ws = CreateWindowExA(WS_EX_ACCEPTFILES, className, "", style, r.left, r.top,
                              r.right - r.left, r.bottom - r.top, parent, nullptr,
                              parent ? winGetInstance(parent) : GetModuleHandleA(nullptr), nullptr);
    if (!ws)
        utErrorBoxId(parent, IDS_CANNOT_CREATE_WORKSPACE);
    return ws;
}

BOOL wsIsDocIconic(HWND ws)
{
    if (!ws || !IsWindow(ws))
        return TRUE;
    HWND doc = wsGetDocWindow(ws);
    return doc && IsIconic(doc);
}

// ---- the document's path and style ----------------------------------------------------------

BOOL wsGetDocPath(HWND ws, char *buffer)
{
    buffer[0] = 0;
    return wsGetDocPath(ws, buffer, UT_PATH_SIZE) != 0;
}

BOOL wsDocHasPath(HWND ws) { return fmHasFilePath(wsGetDocument(ws)); }

void wsSetDocPath(HWND ws, const char *path) { fmSetFilePath(wsGetDocument(ws), path); }

BOOL wsIsQuickNote(HWND ws) { return fmGetStyle4(wsGetDocument(ws)) != 0; }

void wsSetQuickNote(HWND ws, BOOL on) { fmSetStyle4(wsGetDocument(ws), on); }

BOOL wsDocumentHasObjects(HWND ws)
{
    MemHandle form = wsGetDocument(ws);
    if (!form)
        return FALSE;
    if (pgGetFirstObject(fmGetBasePage(form)))
        return TRUE;
    const int count = fmGetPageCount(form);
    for (int i = 0; i < count; ++i) {
        MemHandle dir = fmGetDirectory(form);
        const bool held = pgDirGetPages(dir, i) != 0;
        MemHandle page = pgDirEnsureLoaded(ws, dir, i);
        const bool has = page && pgGetFirstObject(page) != 0;
        // A page read only to look at it goes back out of memory.
        if (!held && page && i != pvGetCurrentPageIndex(ws))
            pgDropEntryPages(ws, i);
        if (has)
            return TRUE;
    }
    return FALSE;
}

// ---- keys and characters ----------------------------------------------------------------------

int wsKeyCommand(UINT key, BOOL ctrl, BOOL shift, int zoomCode, LPARAM *lParam)
{
    if (lParam)
        *lParam = 0;
    // Columns: plain, Ctrl, Shift, Ctrl+Shift.
    const int column = (ctrl ? 1 : 0) + (shift ? 2 : 0);
    static const int arrows[4][4] = {
        {761, 772, 831, 773},   // Left
        {762, 776, 832, 777},   // Up
        {760, 771, 830, 774},   // Right
        {763, 775, 833, 778},   // Down
    };
    switch (key) {
    case VK_PRIOR:
        if (ctrl)
            return 617;
        return zoomCode == -100 ? 617 : WS_KEY_SCROLL_PAGE_UP;
    case VK_NEXT:
        if (ctrl)
            return 618;
        return zoomCode == -100 ? 618 : WS_KEY_SCROLL_PAGE_DOWN;
    case VK_END: return ctrl ? 1221 : 432;
    case VK_HOME: return ctrl ? 1220 : 431;
    case VK_LEFT: return arrows[0][column];
    case VK_UP: return arrows[1][column];
    case VK_RIGHT: return arrows[2][column];
    case VK_DOWN: return arrows[3][column];
    case VK_DELETE:
        if (lParam)
            *lParam = 0x10000000;
        return 205;
    default: return 0;
    }
}

int wsCharCommand(UINT ch, BOOL shift, uint16_t mode, int16_t currentType)
{
    switch (ch) {
    case '\t': return shift ? 408 : 409;
    case '\r':
        if (mode != TM_SELECT)
            return 0;
        return (shift && (currentType == 80 || currentType == 84)) ? 240 : 401;
    case 27: return mode != TM_SELECT ? 400 : 0;
    default: return 0;
    }
}

// ---- dropped files ------------------------------------------------------------------------------

BOOL wsOnDropFiles(HWND ws, HDROP drop)
{
    if (keyDown(VK_SHIFT)) {
        appOnWorkspaceDropFiles(appGetFrameWindow() ? appGetFrameWindow() : ws, drop);
        return TRUE;
    }
    POINT at = {0, 0};
    DragQueryPoint(drop, &at);
    wsApplyViewMapping(ws);
    dmDevToLogPoints(&at, 1);
    uint8_t byte59 = 0;
    pgGetProp(pvGetCurrentPage(ws), 59, &byte59);
    const UINT files = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    BOOL any = FALSE;
    for (UINT i = 0; i < files; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        if (length < 1 || length > WS_DROP_NAME_MAX)
            continue;
        if (appGetFrameWindow() && appGetActiveWorkspace() != ws)
            continue;
        std::string name(length + 1, '\0');
        DragQueryFileA(drop, i, &name[0], length + 1);
        name.resize(length);
        const char *dot = strrchr(name.c_str(), '.');
        const int kind = (dot && lstrcmpiA(dot, ".dwg") == 0) ? FC_DROP_AS_IMAGE : FC_DROP_AS_FILE;
        RECT placed;
        fcImportDroppedFile(ws, name.c_str(), at, kind, &placed);
        any = TRUE;
    }
    DragFinish(drop);
    SetFocus(ws);
    return any;
}

// ---- the rulers ---------------------------------------------------------------------------------

int wsInvalidateRulers(HWND ws, int bits)
{
    HWND rulers = wsGetRulersWindow(ws);
    return rulers ? rulInvalidate(rulers, (uint16_t)bits) : 0;
}

int wsUpdateRulers(HWND ws, int bits)
{
    HWND rulers = wsGetRulersWindow(ws);
    return rulers ? rulUpdate(rulers, (uint16_t)bits) : 0;
}

int wsClearRulerMarkers(HWND ws, uint16_t which)
{
    HWND rulers = wsGetRulersWindow(ws);
    return rulers ? rulClearMarkers(rulers, which) : 0;
}

int wsGetRulerMarkers(HWND ws, uint16_t which, MemHandle *list, int32_t *count)
{
    if (list)
        *list = 0;
    if (count)
        *count = 0;
    HWND rulers = wsGetRulersWindow(ws);
    return rulers ? rulGetMarkers(rulers, which, list, count) : 0;
}

int wsTrackRulers(HWND ws, LPARAM packedPoint)
{
    HWND rulers = wsGetRulersWindow(ws);
    return rulers ? rulTrack(rulers, packedPoint) : 0;
}

void wsResetRulerMarkers(HWND ws)
{
    wsClearRulerMarkers(ws, RUL_HORIZONTAL);
    wsClearRulerMarkers(ws, RUL_VERTICAL);
}

// ---- view settings -------------------------------------------------------------------------------

int wsGetGridStyle(HWND ws)
{
    ViewHead head(ws);
    uint16_t flags = head.u16(HEAD_VIEW_FLAGS);
    if (flags & VIEW_GRID_1)
        return 1;
    return (flags & VIEW_GRID_8) ? 2 : 0;
}

void wsSetGridStyle(HWND ws, int style)
{
    ViewHead head(ws);
    uint16_t flags = head.u16(HEAD_VIEW_FLAGS) & ~(VIEW_GRID_1 | VIEW_GRID_8);
    if (style == 1)
        flags |= VIEW_GRID_1;
    else if (style == 2)
        flags |= VIEW_GRID_8;
    head.setU16(HEAD_VIEW_FLAGS, flags);
}

BOOL wsIsSnapToRulers(HWND ws) { return (ViewHead(ws).u16(HEAD_VIEW_FLAGS) & VIEW_SNAP) != 0; }
void wsSetSnapToRulers(HWND ws, BOOL on) { setViewBit(ws, VIEW_SNAP, on); }
BOOL wsAreRulersShown(HWND ws) { return (ViewHead(ws).u16(HEAD_VIEW_FLAGS) & VIEW_RULERS) != 0; }
void wsShowRulersFlag(HWND ws, BOOL on) { setViewBit(ws, VIEW_RULERS, on); }

int wsGetRulerDivisions(HWND ws)
{
    ViewHead head(ws);
    if (!head.get())
        return RUL_DEFAULT_SUBDIVISIONS;
    return head.u16(HEAD_GRID);
}

void wsSetRulerDivisions(HWND ws, int divisions)
{
    ViewHead head(ws);
    head.setU16(HEAD_GRID, (uint16_t)divisions);
}

void wsSetRulerSnap(HWND ws, BOOL snap, int divisions)
{
    wsSetSnapToRulers(ws, snap);
    wsSetRulerDivisions(ws, divisions);
    if (HWND rulers = wsGetRulersWindow(ws))
        rulSetSnap(rulers, snap, divisions);
}

int wsGetUnit(HWND ws)
{
    int unit = ViewHead(ws).u16(HEAD_UNIT);
    return unit ? unit : DM_UNIT_INCHES;
}

void wsSetUnit(HWND ws, int unit)
{
    ViewHead head(ws);
    head.setU16(HEAD_UNIT, (uint16_t)unit);
}

uint32_t wsGetViewOptionWord(HWND ws)
{
    ViewHead head(ws);
    uint32_t v = 0;
    if (head.get())
        memcpy(&v, head.get() + HEAD_VIEW_WORD, 4);
    return v;
}

int wsGetPagePlacementMode(HWND ws)
{
    ViewHead head(ws);
    return head.get() ? head.get()[HEAD_PLACEMENT] : 0;
}

// ---- scroll bars -----------------------------------------------------------------------------------

int32_t wsHScrollPage(HWND ws)
{
    HWND doc = wsGetDocWindow(ws);
    RECT r = {0, 0, 0, 0};
    GetClientRect(doc ? doc : ws, &r);
    int32_t page = (r.right - r.left) - 96;
    return page < 1 ? 1 : page;
}

int32_t wsVScrollPage(HWND ws)
{
    RECT r = {0, 0, 0, 0};
    GetClientRect(ws, &r);
    int32_t height = r.bottom - r.top;
    int32_t page = height > 96 ? height - 96 : height / 2;
    RECT pageRect = {0, 0, 0, 0};
    if (MemHandle current = pvGetCurrentPage(ws)) {
        pgGetPageRect(current, &pageRect);
        int32_t pixels = dmLogToDevH(pageRect.bottom - pageRect.top);
        if (pixels > 0 && pixels < page)
            page = pixels;
    }
    return page < 1 ? 1 : page;
}

int32_t wsGetHScrollPage(HWND ws, BOOL flag)
{
    int32_t value = 0;
    if (flag && wsGetDocWindow(ws))
        SendMessageA(wsGetDocWindow(ws), WM_COMMAND, 48, (LPARAM)&value);
    return value;
}

int32_t wsGetVScrollPage(HWND ws, BOOL flag)
{
    int32_t value = 0;
    if (flag && wsGetDocWindow(ws))
        SendMessageA(wsGetDocWindow(ws), WM_COMMAND, 58, (LPARAM)&value);
    return value;
}

namespace {

void setRange(HWND ws, bool horizontal, int32_t min, int32_t max, BOOL redraw, BOOL show)
{
    HWND doc = wsGetDocWindow(ws);
    HWND bar = horizontal ? dwGetBottomBar(doc) : dwGetRightBar(doc);
    if (bar) {
        SCROLLINFO si = {};
        si.cbSize = 28;
        si.fMask = SIF_RANGE | SIF_PAGE;
        si.nMin = min;
        si.nMax = max;
        si.nPage = (UINT)(horizontal ? wsHScrollPage(ws) : wsVScrollPage(ws));
        SendMessageA(doc, WM_COMMAND, horizontal ? 46 : 56, (LPARAM)&si);
        SendMessageA(doc, WM_COMMAND, horizontal ? 45 : 55, show ? 1 : 0);
        return;
    }
    // In a document window the bars carry the scrolling: before they are
    // made the range is only kept.
    if (doc)
        return;
    SetScrollRange(ws, horizontal ? SB_HORZ : SB_VERT, min, max, redraw);
    ShowScrollBar(ws, horizontal ? SB_HORZ : SB_VERT, show);
}

}  // namespace

void wsSetHScrollRange(HWND ws, int32_t min, int32_t max, BOOL redraw)
{
    {
        WorkspaceRecord *rec = wsLockRecord(ws);
        if (!rec)
            return;
        rec->hScrollMin = min;
        rec->hScrollMax = max;
        wsUnlockRecord(ws);
    }
    int16_t code = wsGetZoomCode(ws);
    setRange(ws, true, min, max, redraw, code != -100 && code != -101);
}

void wsSetVScrollRange(HWND ws, int32_t min, int32_t max, BOOL redraw)
{
    {
        WorkspaceRecord *rec = wsLockRecord(ws);
        if (!rec)
            return;
        rec->vScrollMin = min;
        rec->vScrollMax = max;
        wsUnlockRecord(ws);
    }
    const bool hide = wsGetZoomCode(ws) == -100 && pvGetPageCount(ws) == 1;
    setRange(ws, false, min, max, redraw, !hide);
}

void wsSetHScrollPos(HWND ws, int32_t pos, BOOL redraw)
{
    HWND doc = wsGetDocWindow(ws);
    if (dwGetBottomBar(doc))
        SendMessageA(doc, WM_COMMAND, 43, pos);
    else if (ws && !doc)
        SetScrollPos(ws, SB_HORZ, pos, redraw);
}

void wsSetVScrollPos(HWND ws, int32_t pos, BOOL redraw)
{
    HWND doc = wsGetDocWindow(ws);
    if (dwGetRightBar(doc))
        SendMessageA(doc, WM_COMMAND, 53, pos);
    else if (ws && !doc)
        SetScrollPos(ws, SB_VERT, pos, redraw);
}

// ---- the procedure -------------------------------------------------------------------------------------

LRESULT CALLBACK WorkspaceWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return onCreate(ws);
    case WM_CLOSE:
        // The field property pane closes with its forms; the record goes.
        wsDestroyRecord(ws);
        return 0;
    case WM_DESTROY:
        wsDestroyRecord(ws);   // a window destroyed without WM_CLOSE
        return 0;
    case WM_SETFOCUS:
        updateToolButtons(ws);
        wsApplyViewMapping(ws);
        break;
    case WM_ERASEBKGND:
        return wsEraseBackground(ws, (HDC)wParam);
    case WM_HSCROLL:
    case WM_VSCROLL:
        wsOnScroll(ws, msg, LOWORD(wParam), (short)HIWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        wsOnMouseWheel(ws, wParam, lParam);
        return 0;
    case WM_PAINT:
        wsOnPaint(ws);
        return 0;
    case WM_KEYDOWN:
        if (onKeyDown(ws, (UINT)wParam))
            return 0;
        break;
    case WM_CHAR: {
        int command = wsCharCommand((UINT)wParam, keyDown(VK_SHIFT), wsGetToolMode(ws),
                                    wsGetCurrentType(ws));
        if (command)
            postCommand(ws, command, 0);
        return 0;
    }
    case WM_COMMAND:
        return wsOnCommand(ws, (short)LOWORD(wParam), lParam);
    case WM_INITMENUPOPUP:
        // Only the select mode prepares pop-ups of its own: the Attribute
        // menu's display items and the text options take their states from
        // the menu-state code.
        if (wsGetToolMode(ws) == TM_SELECT) {
            const UINT first = GetMenuItemID((HMENU)wParam, 0);
            if (first == 416 || first == 475)
                appInitMenuPopup(appGetFrameWindow(), (HMENU)wParam);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (GetFocus() == ws)
            wsTrackRulers(ws, lParam);
        break;
    case WM_LBUTTONDOWN:
        SetFocus(ws);
        if (wsGetToolMode(ws) == TM_PASTE_AT)
            postCommand(ws, 204, lParam);
        return 0;
    case WM_DROPFILES:
        return wsOnDropFiles(ws, (HDROP)wParam);
    }
    return DefWindowProcA(ws, msg, wParam, lParam);
}
