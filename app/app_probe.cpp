#include "app/app_probe.h"
#include "app/app_frame.h"
#include "app/app_frame_bars.h"
#include "app/app_menu_state.h"
#include "support/app_ui_state.h"
#include "model/setup_record.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "support/ut_msg.h"
#include "model/fm_form.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include "controls/pal_dialogs.h"
#include "controls/pal_window.h"
#include "textedit/te_lines.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <vector>

const char APP_PROBE_MESSAGE[] = "QuillmarkDrawProbe";

namespace {

LPARAM g_lastPing = 0;

// A 32-bit FNV-1a fingerprint, folded on.
uint32_t fold(uint32_t sign, const void *bytes, uint32_t n)
{
    const uint8_t *p = static_cast<const uint8_t *>(bytes);
    for (uint32_t i = 0; i < n; ++i)
        sign = (sign ^ p[i]) * 16777619u;
    return sign;
}

uint32_t foldHandle(uint32_t sign, MemHandle h)
{
    const uint32_t n = utHandleSize(h);
    MemLock<uint8_t> p(h);
    return p ? fold(sign, p.get(), n) : fold(sign, &n, sizeof n);
}

uint32_t foldTree(uint32_t sign, MemHandle object)
{
    std::vector<MemHandle> tree;
    obCollectTree(object, OB_WALK_ALL | OB_WALK_ROOT_ALONE, tree);
    for (MemHandle h : tree)
        sign = foldHandle(sign, h);
    return sign;
}

const uint32_t kSignStart = 2166136261u;

int countObjects(HWND ws)
{
    int n = 0;
    for (MemHandle h = wsGetFirstObject(ws); h; h = obGetNext(h))
        ++n;
    return n;
}

uint32_t pageSign(HWND ws)
{
    uint32_t sign = kSignStart;
    for (MemHandle h = wsGetFirstObject(ws); h; h = obGetNext(h))
        sign = foldTree(sign, h);
    return sign;
}

uint32_t editSign()
{
    uint32_t sign = kSignStart;
    for (MemHandle line = teGetFirstLine(); line; line = teLineNext(line)) {
        const std::string text = teLineString(line);
        sign = fold(sign, text.data(), (uint32_t)text.size() + 1);
    }
    // The selection is part of what the editor shows.
    TePos a = {}, b = {};
    if (teGetSelection(&a, &b)) {
        const int32_t ends[4] = {teLineIndex(a.line), a.offset, teLineIndex(b.line), b.offset};
        sign = fold(sign, ends, sizeof ends);
    }
    return sign;
}

// The colour windows: which exist and their records (target, colours,
// scroll position, style).
uint32_t paletteSign()
{
    uint32_t sign = kSignStart;
    for (HWND w : {clrGetStripWindow(), clrGetColor2Window()}) {
        const uint32_t shown = w && IsWindowVisible(w) ? 1 : 0;
        sign = fold(sign, &shown, sizeof shown);
        ColorMenuRecord r;
        if (shown && clrGetRecord(w, &r)) {
            sign = fold(sign, &r, sizeof r);
            sign = foldHandle(sign, r.colours);
        }
    }
    // The Palette Manager's working palette while it runs.
    uint32_t colours = 0;
    BOOL changed = FALSE;
    if (clrManagerState(&colours, &changed)) {
        const uint32_t state[2] = {colours, (uint32_t)changed};
        sign = fold(sign, state, sizeof state);
    }
    return sign;
}

uint32_t frameSign(HWND frame)
{
    const int bars = appGetBarBits(frame);
    uint32_t sign = fold(kSignStart, &bars, sizeof bars);
    const uint32_t menu = qmHandleToU32(GetMenu(frame));
    sign = fold(sign, &menu, sizeof menu);
    // The tool windows shown belong to the frame's picture too.
    struct Count {
        static BOOL CALLBACK visible(HWND w, LPARAM data)
        {
            if (IsWindowVisible(w))
                ++*reinterpret_cast<int *>(data);
            return TRUE;
        }
    };
    int shown = 0;
    EnumThreadWindows(GetCurrentThreadId(), Count::visible, (LPARAM)&shown);
    sign = fold(sign, &shown, sizeof shown);
    // The document windows' places (Tile, Cascade, Arrange Icons).
    for (HWND doc : appListDocWindows(frame)) {
        RECT r;
        GetWindowRect(doc, &r);
        sign = fold(sign, &r, sizeof r);
    }
    return sign;
}

// The way from the menu bar down to a command: each pop-up and the item's
// position in it.
struct MenuStep {
    HMENU menu;
    int position;
};

bool findItem(HMENU menu, UINT command, std::vector<MenuStep> &path)
{
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            path.push_back({menu, i});
            if (findItem(sub, command, path))
                return true;
            path.pop_back();
        } else if (GetMenuItemID(menu, i) == command) {
            path.push_back({menu, i});
            return true;
        }
    }
    return false;
}

}  // namespace

UINT appProbeMessage()
{
    static UINT message = RegisterWindowMessageA(APP_PROBE_MESSAGE);
    return message;
}

int appMenuItemState(HWND frame, UINT command)
{
    HMENU bar = GetMenu(frame);
    std::vector<MenuStep> path;
    if (!bar || !findItem(bar, command, path))
        return -1;
    // path[0] is the bar's pop-up; every later step lies in a pop-up that
    // opens (and has its rule run) before its items are seen.
    bool greyed = false;
    for (size_t i = 1; i < path.size() && !greyed; ++i) {
        appInitMenuPopup(frame, path[i].menu);
        const UINT state = GetMenuState(path[i].menu, (UINT)path[i].position, MF_BYPOSITION);
        greyed = (state & (MF_GRAYED | MF_DISABLED)) != 0;
    }
    const MenuStep &last = path.back();
    const UINT state = GetMenuState(last.menu, (UINT)last.position, MF_BYPOSITION);
    return (greyed ? 0 : 1) | ((state & MF_CHECKED) ? 2 : 0);
}

LRESULT appAnswerProbe(HWND frame, WPARAM query, LPARAM lParam)
{
    HWND ws = appGetActiveWorkspace();
    if (ws && !IsWindow(ws))
        ws = nullptr;
    const MemHandle object = ws ? wsGetCurrentObject(ws) : 0;
    switch ((int)query) {
    case APP_PROBE_PING: g_lastPing = lParam; return 0;
    case APP_PROBE_LAST_PING: return g_lastPing;
    case APP_PROBE_MODE: return ws ? (LRESULT)wsGetToolMode(ws) : -1;
    case APP_PROBE_OBJECTS: return ws ? countObjects(ws) : 0;
    case APP_PROBE_TYPE: return object ? obGetType(object) : 0;
    case APP_PROBE_PAGES: return ws ? pvGetPageCount(ws) : 0;
    case APP_PROBE_PAGE: return ws ? pvGetCurrentPageIndex(ws) : -2;
    case APP_PROBE_ZOOM: return ws ? wsGetZoomPercent(ws) : 0;
    case APP_PROBE_FLAGS: return object ? (LRESULT)obGetFlags(object) : 0;
    case APP_PROBE_FILL: return object ? obGetFillKind(object) : -1;
    case APP_PROBE_OBJECT_SIGN: return object ? (LRESULT)foldTree(kSignStart, object) : 0;
    case APP_PROBE_PAGE_SIGN: return ws ? (LRESULT)pageSign(ws) : 0;
    case APP_PROBE_VIEW_SIGN: {
        if (!ws)
            return 0;
        // The record (zoom, view flags) and where the view is scrolled to.
        const int32_t at[2] = {GetScrollPos(ws, SB_HORZ), GetScrollPos(ws, SB_VERT)};
        return (LRESULT)fold(foldHandle(kSignStart, wsGetRecordHandle(ws)), at, sizeof at);
    }
    case APP_PROBE_FORM_SIGN:
        return ws ? (LRESULT)foldHandle(kSignStart, wsGetDocument(ws)) : 0;
    case APP_PROBE_FRAME_SIGN: return (LRESULT)frameSign(frame);
    case APP_PROBE_SETUP_SIGN: return (LRESULT)foldHandle(kSignStart, setGetSetupRecord());
    case APP_PROBE_DOCUMENTS: return appCountDocWindows(appGetMdiClient(frame));
    case APP_PROBE_MODIFIED: return ws && wsIsModified(ws) ? 1 : 0;
    case APP_PROBE_MENU: return appMenuItemState(frame, (UINT)lParam);
    case APP_PROBE_MENU_LANGUAGE: return appGetMenuLanguageId();
    case APP_PROBE_BASE_PAGE: return ws && pvGetBasePage(ws) ? 1 : 0;
    case APP_PROBE_EDIT_SIGN: return (LRESULT)editSign();
    case APP_PROBE_PALETTE_SIGN: return (LRESULT)paletteSign();
    case APP_PROBE_UNDO: return ws && udIsPending(ws) ? 1 : 0;
    case APP_PROBE_HANDED: return (LRESULT)utHandedOutCount();
    default: return -1;
    }
}
