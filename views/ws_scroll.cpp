// Scrolling of a workspace, the continuous view and the background erase.
#include "views/ws_scroll.h"
#include "views/ws_zoom.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_window.h"
#include "app/app_frame.h"
#include "app/app_frame_docs.h"
#include "support/app_frame_globals.h"
#include "model/setup_record.h"
#include "controls/pal_window.h"
#include "model/fm_form.h"
#include "model/lay_layers.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "model/ob_shadow.h"
#include "model/pg_dir.h"
#include "model/pg_margins.h"
#include "model/pg_numbers.h"
#include "model/pg_page.h"
#include "model/pg_palette.h"
#include "model/pg_record.h"
#include "model/pg_render.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/win_flash.h"
#include "support/win_menu.h"
#include "support/win_scroll.h"
#include "support/win_window.h"
#include <algorithm>
#include <stdio.h>
#include <string.h>

namespace {

// The page tip: one per program.
HWND g_tip = nullptr;
int16_t g_tipIndex = -1;

const COLORREF kTipBackground = 0x00FFFF;
const COLORREF kNeighbourFrame = 0xE0E0E0;

bool ready(HWND ws)
{
    return wsGetRecordHandle(ws) && wsGetDocument(ws) && pvGetCurrentPage(ws);
}

bool hasBar(HWND ws, bool horizontal)
{
    HWND doc = wsGetDocWindow(ws);
    return doc && (horizontal ? dwGetBottomBar(doc) : dwGetRightBar(doc)) != nullptr;
}

// The page size of the bar: the navigation bar's, or the plain bar's.
int32_t barPage(HWND ws, bool horizontal)
{
    if (hasBar(ws, horizontal))
        return horizontal ? wsGetHScrollPage(ws, TRUE) : wsGetVScrollPage(ws, TRUE);
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_PAGE;
    if (!GetScrollInfo(ws, horizontal ? SB_HORZ : SB_VERT, &si))
        return 0;
    return (int32_t)si.nPage;
}

void range(HWND ws, bool horizontal, int32_t *min, int32_t *max)
{
    if (horizontal)
        wsGetHScrollRange(ws, min, max);
    else
        wsGetVScrollRange(ws, min, max);
}

int32_t position(HWND ws, bool horizontal)
{
    int32_t x = 0, y = 0;
    wsGetScrollOrigin(ws, &x, &y);
    return horizontal ? x : y;
}

// The origin moved to a new position in one direction; with setBar the
// bar follows. The window content moves with it.
void moveTo(HWND ws, bool horizontal, int32_t pos, bool setBar)
{
    int32_t x = 0, y = 0;
    wsGetScrollOrigin(ws, &x, &y);
    const int32_t d = pos - (horizontal ? x : y);
    if (!d)
        return;
    if (horizontal)
        x = pos;
    else
        y = pos;
    wsSetScrollOrigin(ws, x, y);
    if (setBar) {
        if (horizontal)
            wsSetHScrollPos(ws, pos, TRUE);
        else
            wsSetVScrollPos(ws, pos, TRUE);
    }
    if (horizontal)
        ScrollWindow(ws, -d, 0, nullptr, nullptr);
    else
        ScrollWindow(ws, 0, -d, nullptr, nullptr);
}

void clientSize(HWND ws, int32_t *w, int32_t *h)
{
    RECT r = {0, 0, 0, 0};
    GetClientRect(ws, &r);
    *w = r.right - r.left;
    *h = r.bottom - r.top;
}

// The current page's rectangle in client pixels with the view's mapping.
RECT pageDevRect(HWND ws)
{
    RECT r = {0, 0, 0, 0};
    pgGetPageRect(pvGetCurrentPage(ws), &r);
    dmLogToDevRect(&r);
    return r;
}

void updateRuler(HWND ws, int bits)
{
    wsInvalidateRulers(ws, bits);
    wsUpdateRulers(ws, bits);
}

int32_t clampedDistance(HWND ws, bool horizontal, int32_t d)
{
    int32_t min = 0, max = 0;
    range(ws, horizontal, &min, &max);
    return wsClampScrollDistance(min, max, barPage(ws, horizontal), position(ws, horizontal), d);
}

// A page index of the document drawn as a neighbour, loaded for the
// drawing when it is not in memory; `loaded` says so.
MemHandle neighbourPage(HWND ws, int index, bool *loaded)
{
    *loaded = false;
    MemHandle form = wsGetDocument(ws);
    if (!form || index < 0 || index >= fmGetPageCount(form))
        return 0;
    MemHandle dir = fmGetDirectory(form);
    const bool held = pgDirGetPages(dir, index) != 0;
    MemHandle page = pgDirEnsureLoaded(ws, dir, index);
    *loaded = page && !held;
    return page;
}

void releaseNeighbour(HWND ws, int index, bool loaded)
{
    if (loaded && index != pvGetCurrentPageIndex(ws))
        pgDropEntryPages(ws, index);
}

bool pageVisible(HWND ws)
{
    if (!pvGetCurrentPage(ws))
        return false;
    wsApplyViewMapping(ws);
    RECT page = pageDevRect(ws), client, out;
    GetClientRect(ws, &client);
    return IntersectRect(&out, &page, &client) != 0;
}

}  // namespace

// ---- arithmetic ---------------------------------------------------------------------------

int32_t wsPageGapForUnit(int unit)
{
    switch (unit) {
    case DM_UNIT_PIXELS: return 100;
    case DM_UNIT_LOG_INCHES:
    case DM_UNIT_INCHES:
    case DM_UNIT_FEET: return 1440;
    case DM_UNIT_METRES:
    case DM_UNIT_CM: return 567;
    default: return 1440;
    }
}

int32_t wsClampScrollDistance(int32_t min, int32_t max, int32_t page, int32_t pos, int32_t d)
{
    const int64_t largest = page - 1 >= 1 ? (int64_t)max - (page - 1) : max;
    const int64_t upper = std::max<int64_t>(largest - pos, 0);
    int64_t v = std::min<int64_t>(d, upper);
    v = std::max<int64_t>(v, (int64_t)min - pos);
    return (int32_t)v;
}

int32_t wsRevealOffset(int32_t lo, int32_t hi, int32_t a, int32_t b)
{
    if (a >= lo && a <= hi && b >= lo && b <= hi)
        return 0;
    if (b - a >= hi - lo)
        return a - lo;
    return (a + b) / 2 - (lo + hi) / 2;
}

WsPageStep wsPageStepRule(const WsPageStepInput &in)
{
    WsPageStep out = {WS_STEP_SCROLL, 0, 0, -1};
    const bool valid = in.at >= 0 && in.at < in.count;
    auto post = [&](int command, LPARAM lParam) {
        out.action = WS_STEP_POST;
        out.command = command;
        out.lParam = lParam;
    };
    if (in.fitPage && in.allowChange) {
        out.action = WS_STEP_NOTHING;
        if (in.bar && in.code == SB_THUMBTRACK) {
            out.tip = valid ? in.at : -1;
            return out;
        }
        if (in.d > 0 && in.index < in.count - 1)
            post(618, 0);
        else if (in.d < 0 && in.index > 0)
            post(617, 0);
        return out;
    }
    const LPARAM up = (LPARAM)(uint32_t)(0xFFFF0000u | (uint16_t)in.at);
    if (in.d < 1) {
        if (in.code == SB_THUMBPOSITION && in.at != in.index && valid) {
            if (in.allowChange)
                post(619, up);
        } else if (in.at < in.index && in.allowChange) {
            if (in.style == WS_SCROLL_CONTINUOUS) {
                if (in.pageTop - in.d >= in.clientHeight)
                    post(619, up);
            } else if (in.pageTop < 0) {
                out.action = WS_STEP_PAGE_TOP;
            } else {
                post(619, up);
            }
        }
    } else {
        if (in.code == SB_THUMBPOSITION && in.at != in.index && valid) {
            if (in.allowChange)
                post(619, (LPARAM)(uint16_t)in.at);
        } else if (in.index < in.count - 1 && in.allowChange) {
            if (in.pageBottom < 0 ||
                (in.style == WS_SCROLL_CONTINUOUS && in.pageBottom - in.d < 0) ||
                (in.style == WS_SCROLL_PAGED && in.pageBottom <= in.clientHeight))
                post(618, 0);
        }
    }
    if (in.bar && in.code == SB_THUMBTRACK) {
        if (out.action == WS_STEP_POST && out.command == 618)
            out.tip = in.index + 1;
        else
            out.tip = valid ? in.at : -1;
    }
    return out;
}

void wsAutoScrollAtEdge(const RECT *client, POINT pt, int32_t stepX, int32_t stepY,
                        int32_t pageWidth, int32_t posX, int32_t *dx, int32_t *dy)
{
    auto whole = [](int32_t d, int32_t step) { return (d + step - 1) / step * step; };
    stepX = std::max<int32_t>(stepX, 1);
    stepY = std::max<int32_t>(stepY, 1);
    *dx = *dy = 0;
    if (pt.x >= client->right)
        *dx = whole(pt.x - client->right + 1, stepX);
    else if (pt.x < client->left)
        *dx = -whole(client->left - pt.x, stepX);
    if (pt.y >= client->bottom)
        *dy = whole(pt.y - client->bottom + 1, stepY);
    else if (pt.y < client->top)
        *dy = -whole(client->top - pt.y, stepY);
    if (*dx > 0) {
        // Never past the page's right edge at the client's right edge.
        const int32_t limit = pageWidth - (client->right - client->left);
        *dx = std::max<int32_t>(0, std::min<int32_t>(*dx, limit - posX));
    }
}

// ---- ranges and steps -------------------------------------------------------------------

int32_t wsGetPageGap(HWND ws) { return wsPageGapForUnit(wsGetUnitOfMapping(ws)); }

int32_t wsGetHLineStep(HWND ws)
{
    wsApplyViewMapping(ws);
    return dmGetUnitPixelsX() / 4;
}

int32_t wsGetVLineStep(HWND ws)
{
    wsApplyViewMapping(ws);
    return dmGetUnitPixelsY() / 4;
}

void wsGetContinuousScrollRange(HWND ws, RECT *out)
{
    SetRectEmpty(out);
    MemHandle table = 0;
    if (WorkspaceRecord *rec = wsLockRecord(ws)) {
        table = rec->pageRects;
        wsUnlockRecord(ws);
    }
    if (!table)
        return;
    int32_t width = 0;
    int64_t height = 0;
    {
        MemLock<int32_t> p(table);
        const uint32_t n = utHandleSize(table) / 16;
        for (uint32_t i = 0; p && i < n; ++i) {
            width = std::max(width, p[i * 4 + 2] - p[i * 4]);
            height += (int64_t)(p[i * 4 + 3] - p[i * 4 + 1]) + WS_PAGE_STACK_GAP;
        }
    }
    wsApplyViewMapping(ws);
    out->left = dmLogToDevW(-1440);
    out->right = dmLogToDevW(width + 1440);
    out->top = 0;
    out->bottom = dmLogToDevH((int32_t)std::min<int64_t>(height, 0x7FFFFFFF));
}

void wsUpdateScrollRanges(HWND ws, BOOL redraw)
{
    if (!wsGetRecordHandle(ws))
        return;
    const uint16_t style = wsGetScrollStyle(ws);
    MemHandle table = 0;
    if (WorkspaceRecord *rec = wsLockRecord(ws)) {
        table = rec->pageRects;
        wsUnlockRecord(ws);
    }
    // The continuous styles stack every page: a table missing or made for
    // another page count is built anew.
    const int count = fmGetPageCount(wsGetDocument(ws));
    if (style != WS_SCROLL_SINGLE && count > 0 && (int)(utHandleSize(table) / 16) != count) {
        wsBuildPageRects(ws);
        if (WorkspaceRecord *rec = wsLockRecord(ws)) {
            table = rec->pageRects;
            wsUnlockRecord(ws);
        }
        wsStoreCurrentPageOffset(ws);
    }
    wsApplyViewMapping(ws);
    RECT r = {0, 0, 0, 0};
    if (style != WS_SCROLL_SINGLE && table) {
        wsGetContinuousScrollRange(ws, &r);
    } else if (MemHandle page = pvGetCurrentPage(ws)) {
        pgGetPageRect(page, &r);
        r = {dmLogToDevW(r.left), dmLogToDevH(r.top), dmLogToDevW(r.right), dmLogToDevH(r.bottom)};
    } else {
        wsGetScrollWorldLog(ws, &r);
        wsApplyViewMapping(ws);
        r = {dmLogToDevW(r.left), dmLogToDevH(r.top), dmLogToDevW(r.right), dmLogToDevH(r.bottom)};
    }
    // A page placed left of or above the content's edge (a page narrower
    // than the window is centred) keeps its place within the range.
    int32_t placeX = 0, placeY = 0;
    wsGetPagePlacement(ws, &placeX, &placeY);
    placeX = dmLogToDevW(placeX);
    placeY = dmLogToDevH(placeY);
    if (placeX < r.left)
        r.left = placeX;
    if (placeY < r.top)
        r.top = placeY;
    int32_t cw, ch;
    clientSize(ws, &cw, &ch);
    const bool bars = hasBar(ws, true) || hasBar(ws, false);
    int32_t hMax = bars ? std::max<int32_t>(r.right, cw) : r.right - cw;
    int32_t vMax = bars ? std::max<int32_t>(r.bottom, ch) : r.bottom - ch;
    if (hMax < r.left)
        hMax = r.left + dmGetUnitPixelsX();
    if (vMax < r.top)
        vMax = r.top + dmGetUnitPixelsY();
    wsSetHScrollRange(ws, r.left, hMax, redraw);
    wsSetVScrollRange(ws, r.top, vMax, redraw);
}

void wsRefreshScrollRanges(HWND ws) { wsUpdateScrollRanges(ws, FALSE); }

void wsGetScrollPos(HWND ws, int32_t *x, int32_t *y) { wsGetScrollOrigin(ws, x, y); }

// ---- scrolling ----------------------------------------------------------------------------

int32_t wsScrollDevX(HWND ws, int32_t dx)
{
    if (!ready(ws))
        return 0;
    wsApplyViewMapping(ws);
    const int32_t d = clampedDistance(ws, true, dx);
    if (!d)
        return 0;
    moveTo(ws, true, position(ws, true) + d, true);
    return d;
}

int32_t wsScrollDevY(HWND ws, int32_t dy, int code, BOOL allowPageChange)
{
    if (!ready(ws))
        return 0;
    wsApplyViewMapping(ws);
    const int32_t d = clampedDistance(ws, false, dy);
    if (!d)
        return 0;
    if (wsGetScrollStyle(ws) != WS_SCROLL_SINGLE && pvGetPageCount(ws) > 1)
        return wsScrollPagesY(ws, d, code, allowPageChange, FALSE);
    moveTo(ws, false, position(ws, false) + d, true);
    return d;
}

// ---- the page-step rule -------------------------------------------------------------------

int32_t wsScrollPagesY(HWND ws, int32_t d, int code, BOOL allow, BOOL bar)
{
    wsApplyViewMapping(ws);
    const int32_t pos = position(ws, false);
    WsPageStepInput in = {};
    in.style = wsGetScrollStyle(ws);
    in.fitPage = wsGetZoomCode(ws) == -100;
    in.index = pvGetCurrentPageIndex(ws);
    in.count = pvGetPageCount(ws);
    in.d = d;
    in.code = code;
    in.allowChange = allow;
    in.at = wsPageIndexAtPos(ws, pos + d);
    const RECT page = pageDevRect(ws);
    in.pageTop = page.top;
    in.pageBottom = page.bottom;
    int32_t w;
    clientSize(ws, &w, &in.clientHeight);
    in.bar = bar;
    const WsPageStep step = wsPageStepRule(in);
    int32_t moved = 0;
    switch (step.action) {
    case WS_STEP_POST:
        PostMessageA(ws, WM_COMMAND, (WPARAM)(uint16_t)step.command, step.lParam);
        break;
    case WS_STEP_PAGE_TOP:
        wsScrollToPageTop(ws);
        moved = position(ws, false) - pos;
        break;
    case WS_STEP_SCROLL: {
        const int32_t to = std::max<int32_t>(pos + d, 0);
        moveTo(ws, false, to, !bar);
        moved = to - pos;
        break;
    }
    default:
        break;
    }
    if (bar && code == SB_THUMBTRACK && step.tip >= 0)
        wsShowPageTip(ws, in.count, step.tip);
    return moved;
}

void wsPageStepOnBarScroll(HWND ws, int32_t d, int code)
{
    if (!d || !ready(ws))
        return;
    if (wsGetScrollStyle(ws) != WS_SCROLL_SINGLE && pvGetPageCount(ws) > 1) {
        wsScrollPagesY(ws, d, code, TRUE, TRUE);
    } else {
        const int32_t pos = position(ws, false);
        moveTo(ws, false, std::max<int32_t>(pos + d, 0), false);
    }
    wsInvalidateRulers(ws, 2);
}

namespace {

int32_t outwardPixels(int32_t pixels, int32_t twips)
{
    return twips > 0 ? pixels + 1 : pixels - 1;
}

}  // namespace

int32_t wsScrollByLogX(HWND ws, int32_t d)
{
    if (!d || !ready(ws))
        return 0;
    wsApplyViewMapping(ws);
    return wsScrollDevX(ws, outwardPixels(dmLogToDevW(d), d));
}

int32_t wsScrollByLogY(HWND ws, int32_t d)
{
    if (!d || !ready(ws))
        return 0;
    wsApplyViewMapping(ws);
    return wsScrollYWithPageChange(ws, outwardPixels(dmLogToDevH(d), d));
}

int32_t wsScrollYWithPageChange(HWND ws, int32_t dy)
{
    if (!ready(ws))
        return 0;
    wsApplyViewMapping(ws);
    const int32_t d = clampedDistance(ws, false, dy);
    if (!d)
        return 0;
    const int index = pvGetCurrentPageIndex(ws), count = pvGetPageCount(ws);
    const int32_t pos = position(ws, false);
    if (wsGetScrollStyle(ws) != WS_SCROLL_SINGLE && count > 1) {
        if (wsGetZoomCode(ws) == -100) {
            if (d < 0 && index > 0)
                PostMessageA(ws, WM_COMMAND, 617, 0);
            else if (d > 0 && index < count - 1)
                PostMessageA(ws, WM_COMMAND, 618, 0);
            return 0;
        }
        const int at = wsPageIndexAtPos(ws, pos + d);
        if (at != index && at >= 0 && at < count) {
            const uint32_t high = at < index ? 0xFFFF0000u : 0;
            PostMessageA(ws, WM_COMMAND, 619, (LPARAM)(high | (uint16_t)at));
            return 0;
        }
    }
    moveTo(ws, false, pos + d, true);
    return d;
}

void wsScrollToTopLeft(HWND ws, const RECT *rect)
{
    if (!rect || !ready(ws))
        return;
    wsApplyViewMapping(ws);
    RECT client;
    dmGetClientLogRect(ws, &client);
    const int32_t dx = rect->left - client.left, dy = rect->top - client.top;
    wsScrollByLogX(ws, dx);
    wsScrollByLogY(ws, dy);
}

int wsScrollToRect(HWND ws, const RECT *rect)
{
    if (!rect || !ready(ws))
        return 0;
    wsApplyViewMapping(ws);
    RECT c;
    dmGetClientLogRect(ws, &c);
    auto inH = [&](int32_t x) { return x >= c.left && x <= c.right; };
    auto inV = [&](int32_t y) { return y >= c.top && y <= c.bottom; };
    const RECT &r = *rect;
    const bool inside = inH(r.left) && inH(r.right) && inV(r.top) && inV(r.bottom);
    const bool covers = r.left <= c.left && r.right >= c.right && r.top <= c.top && r.bottom >= c.bottom;
    const bool corner = (inH(r.left) || inH(r.right)) && (inV(r.top) || inV(r.bottom));
    if (inside || covers || corner)
        return 0;
    if (!inH(r.left) && !inH(r.right) && !inV(r.top) && !inV(r.bottom)) {
        wsCentreOnRect(ws, rect);
        return 1;
    }
    if (inH(r.left) || inH(r.right)) {
        const int32_t h = r.bottom - r.top, ch = c.bottom - c.top;
        const int32_t d = h <= ch ? c.top + (ch - h) / 2 - r.top : c.top - r.top;
        wsScrollByLogY(ws, -d);
        PostMessageA(ws, WM_COMMAND, 913, 0);
    } else {
        const int32_t w = r.right - r.left, cw = c.right - c.left;
        const int32_t d = w <= cw ? c.left + (cw - w) / 2 - r.left : c.left - r.left;
        wsScrollByLogX(ws, -d);
        PostMessageA(ws, WM_COMMAND, 912, 0);
    }
    return 1;
}

int wsScrollToObject(HWND ws, MemHandle object)
{
    if (!object)
        return 0;
    RECT r;
    obGetRect(object, &r);
    return wsScrollToRect(ws, &r);
}

int wsRevealRect(HWND ws, int, const RECT *rect)
{
    if (!rect || !ready(ws))
        return 0;
    wsApplyViewMapping(ws);
    RECT c;
    dmGetClientLogRect(ws, &c);
    const RECT &r = *rect;
    if (r.left >= c.left && r.right <= c.right && r.top >= c.top && r.bottom <= c.bottom)
        return 0;
    if (r.right - r.left >= c.right - c.left && r.bottom - r.top >= c.bottom - c.top) {
        wsScrollToTopLeft(ws, rect);
        return 1;
    }
    const int32_t ox = wsRevealOffset(c.left, c.right, r.left, r.right);
    const int32_t oy = wsRevealOffset(c.top, c.bottom, r.top, r.bottom);
    if (ox)
        wsScrollByLogX(ws, ox);
    if (oy)
        wsScrollByLogY(ws, oy);
    return ox || oy;
}

void wsScrollToLogPos(HWND ws, int32_t x, int32_t y)
{
    if (!wsGetRecordHandle(ws))
        return;
    wsApplyViewMapping(ws);
    int32_t ox = 0, oy = 0;
    wsGetScrollOrigin(ws, &ox, &oy);
    wsSetScrollPos(ws, ox + dmLogToDevX(x), oy + dmLogToDevY(y));
}

void wsSetScrollPos(HWND ws, int32_t x, int32_t y)
{
    wsScrollTo(ws, x, y);
    wsApplyViewMapping(ws);
}

// ---- messages -----------------------------------------------------------------------------

int wsOnScroll(HWND ws, UINT message, int code, int32_t thumb)
{
    if (!ready(ws))
        return 0;
    wsApplyViewMapping(ws);
    const bool horizontal = message == WM_HSCROLL;
    const int32_t line = horizontal ? wsGetHLineStep(ws) : wsGetVLineStep(ws);
    int32_t cw, ch;
    clientSize(ws, &cw, &ch);
    int32_t page = (horizontal ? cw : ch) - line;
    if (page < 0)
        page = horizontal ? cw : ch;
    int32_t min = 0, max = 0;
    range(ws, horizontal, &min, &max);
    const int32_t d = winScrollCodeDelta(code, thumb, min, max, position(ws, horizontal), line, page);
    const int32_t moved = horizontal ? wsScrollDevX(ws, d) : wsScrollDevY(ws, d, code, TRUE);
    if (!moved)
        return 0;
    updateRuler(ws, horizontal ? 1 : 2);
    UpdateWindow(ws);
    return 1;
}

int wsOnMouseWheel(HWND ws, WPARAM wParam, LPARAM lParam)
{
    const int delta = (short)HIWORD(wParam);
    if ((LOWORD(wParam) & MK_CONTROL) || GetKeyState(VK_CONTROL) < 0) {
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        ScreenToClient(ws, &pt);
        return wsZoomWheelStepAt(ws, delta, pt);
    }
    if (!wsScrollDevY(ws, -delta, SB_THUMBPOSITION, TRUE))
        return 0;
    updateRuler(ws, 2);
    UpdateWindow(ws);
    return 1;
}

int wsDragAutoScroll(HWND ws, POINT *pt)
{
    if (!pt || !ready(ws))
        return 0;
    wsApplyViewMapping(ws);
    RECT page;
    pgGetPageRect(pvGetCurrentPage(ws), &page);
    bool held = false;
    if (wsGetScrollStyle(ws) != WS_SCROLL_SINGLE && pvGetPageCount(ws) > 1) {
        const int32_t gap = wsGetPageGap(ws);
        const int32_t top = dmLogToDevY(page.top - gap), bottom = dmLogToDevY(page.bottom + gap);
        const LONG y = std::min<LONG>(std::max<LONG>(pt->y, top), bottom);
        held = y != pt->y;
        pt->y = y;
    }
    RECT client;
    GetClientRect(ws, &client);
    int32_t dx, dy;
    wsAutoScrollAtEdge(&client, *pt, dmGetUnitPixelsX() / 2, dmGetUnitPixelsY() / 2,
                       dmLogToDevW(page.right - page.left), position(ws, true), &dx, &dy);
    const int32_t sy = dy ? wsScrollDevY(ws, dy, SB_LINEUP, FALSE) : 0;
    const int32_t sx = dx ? wsScrollDevX(ws, dx) : 0;
    const int bits = (sx ? 1 : 0) | (sy ? 2 : 0);
    if (bits) {
        updateRuler(ws, bits);
        UpdateWindow(ws);
    }
    pt->x -= sx;
    pt->y -= sy;
    if (bits || held) {
        POINT screen = *pt;
        ClientToScreen(ws, &screen);
        SetCursorPos(screen.x, screen.y);
    }
    return bits != 0;
}

// ---- the navigation bars' notifications ----------------------------------------------------

int wsSetHScrollOrigin(HWND ws, int32_t x)
{
    if (!ready(ws))
        return 0;
    int32_t ox = 0, oy = 0;
    wsGetScrollOrigin(ws, &ox, &oy);
    const int32_t d = x - ox;
    if (!d)
        return 1;
    wsSetScrollOrigin(ws, x, oy);
    ScrollWindowEx(ws, -d, 0, nullptr, nullptr, nullptr, nullptr,
                   SW_INVALIDATE | SW_ERASE | SW_SCROLLCHILDREN);
    wsInvalidateRulers(ws, 1);
    return 1;
}

int wsScrollHBy(HWND ws, int32_t d)
{
    if (!ready(ws) || !d)
        return 0;
    moveTo(ws, true, position(ws, true) + d, false);
    wsInvalidateRulers(ws, 1);
    return 1;
}

int wsSetVScrollOrigin(HWND ws, int32_t y, int code)
{
    if (!ready(ws))
        return 0;
    wsPageStepOnBarScroll(ws, y - position(ws, false), code);
    return 1;
}

int wsScrollVBy(HWND ws, int32_t d, int code)
{
    wsPageStepOnBarScroll(ws, d, code);
    return 1;
}

int wsOnNavBarCommand(HWND ws, int command, LPARAM lParam)
{
    switch (command) {
    case 30:
        return wsSetHScrollOrigin(ws, (int32_t)lParam);
    case 31:
    case 36:
        if (lParam)
            *(int32_t *)lParam = command == 31 ? wsGetHLineStep(ws) : wsGetVLineStep(ws);
        return 1;
    case 32:
        return wsScrollHBy(ws, (int32_t)lParam);
    case 34:
        wsHidePageTip(ws);
        return 1;
    case 35:
        return wsSetVScrollOrigin(ws, (short)LOWORD(lParam), HIWORD(lParam));
    case 37:
        return wsScrollVBy(ws, (short)LOWORD(lParam), HIWORD(lParam));
    case 39:
        wsEndThumbTrack(ws);
        return 1;
    default:
        return 0;
    }
}

void wsShowPageTip(HWND ws, int count, int index)
{
    if (!ws || index < 0)
        return;
    if (!g_tip || !IsWindow(g_tip)) {
        HWND frame = appGetFrameWindow();
        HWND parent = frame ? frame : GetAncestor(ws, GA_ROOT);
        RECT client;
        GetClientRect(ws, &client);
        POINT right = {client.right, (client.top + client.bottom) / 2};
        MapWindowPoints(ws, parent, &right, 1);
        g_tip = winCreateFlashText(parent, right.x - 4, right.y, appGetFrameFont(),
                                   "                ", RGB(0, 0, 0), kTipBackground, 2, FALSE);
        if (!g_tip)
            return;
        RECT r;
        GetWindowRect(g_tip, &r);
        MapWindowPoints(nullptr, parent, (POINT *)&r, 2);
        const int h = r.bottom - r.top;
        SetWindowPos(g_tip, HWND_TOP, r.left, right.y - h / 2, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(g_tip, SW_SHOWNA);
        UpdateWindow(g_tip);
        g_tipIndex = -1;
    }
    if (index != g_tipIndex) {
        char text[40];
        snprintf(text, sizeof text, "%d of %d", index + 1, count);
        winFlashTextSet(g_tip, text, 0);
        g_tipIndex = (int16_t)index;
        UpdateWindow(g_tip);
    }
}

void wsHidePageTip(HWND)
{
    if (g_tip && IsWindow(g_tip))
        DestroyWindow(g_tip);
    g_tip = nullptr;
    g_tipIndex = -1;
}

void wsEndThumbTrack(HWND ws)
{
    const int index = g_tipIndex;
    wsHidePageTip(ws);
    if (index >= 0 && wsGetZoomCode(ws) == -100)
        PostMessageA(ws, WM_COMMAND, 619, (LPARAM)(uint16_t)index);
}

HWND wsGetPageTip() { return (g_tip && IsWindow(g_tip)) ? g_tip : nullptr; }
int wsGetPageTipIndex() { return g_tipIndex; }

// ---- styles --------------------------------------------------------------------------------

void wsChangeScrollStyle(HWND ws, uint16_t style, BOOL redraw)
{
    if (!wsGetRecordHandle(ws) || wsGetScrollStyle(ws) == style)
        return;
    const bool visible = pageVisible(ws);
    int32_t x = 0, y = 0;
    wsGetScrollOrigin(ws, &x, &y);
    const int32_t fromPage = y - wsGetCurrentPageOffset(ws);
    wsSetScrollStyle(ws, style);
    if (style != WS_SCROLL_SINGLE && wsGetDocument(ws))
        wsBuildPageRects(ws);
    wsStoreCurrentPageOffset(ws);
    wsUpdateScrollRanges(ws, redraw);
    InvalidateRect(ws, nullptr, TRUE);
    if (visible) {
        const int32_t newY = wsGetCurrentPageOffset(ws) + fromPage;
        wsSetScrollOrigin(ws, x, newY);
        wsSetHScrollPos(ws, x, TRUE);
        wsSetVScrollPos(ws, newY, TRUE);
    } else {
        wsResetScrollToPlacement(ws);
    }
    wsInvalidateRulers(ws, 3);
}

int wsCmdScrollStyle(HWND ws, int command)
{
    if (command < 440 || command > 442)
        return 0;
    wsChangeScrollStyle(ws, command == 440 ? WS_SCROLL_SINGLE : WS_SCROLL_CONTINUOUS, TRUE);
    return 1;
}

int wsTrackScrollMenu(HWND ws, LPARAM lParam)
{
    static const WinMenuTableEntry table[2] = {{440, "&Single Page"}, {442, "&Continuous"}};
    return winTrackMenuTable(ws, lParam, table, 2);
}

// ---- the continuous view -------------------------------------------------------------------

int wsHitNeighbourPage(HWND ws, const RECT *page, POINT lp, int32_t *drawnTop)
{
    if (!page)
        return -1;
    const int index = pvGetCurrentPageIndex(ws), count = pvGetPageCount(ws);
    const int32_t gap = wsGetPageGap(ws);
    RECT r;
    if (index >= 0 && index < count - 1 && wsGetPageRect(ws, index + 1, &r)) {
        RECT placed = {r.left, page->bottom + gap, r.right,
                       page->bottom + gap + (r.bottom - r.top)};
        if (PtInRect(&placed, lp)) {
            if (drawnTop)
                *drawnTop = placed.top;
            return index + 1;
        }
    }
    if (index > 0 && wsGetPageRect(ws, index - 1, &r)) {
        RECT placed = {r.left, page->top - gap - (r.bottom - r.top), r.right, page->top - gap};
        if (PtInRect(&placed, lp)) {
            if (drawnTop)
                *drawnTop = placed.top;
            return index - 1;
        }
    }
    return -1;
}

int wsClickIntoOtherPage(HWND ws, POINT pt)
{
    if (!ready(ws) || wsGetScrollStyle(ws) != WS_SCROLL_CONTINUOUS || pvGetPageCount(ws) < 2)
        return 0;
    wsApplyViewMapping(ws);
    RECT page;
    pgGetPageRect(pvGetCurrentPage(ws), &page);
    POINT lp = pt;
    dmDevToLogPoints(&lp, 1);
    if (PtInRect(&page, lp))
        return 0;
    int32_t drawnTop = 0;   // the hit page's top as it was drawn (twips of the current page)
    const int hit = wsHitNeighbourPage(ws, &page, lp, &drawnTop);
    if (hit < 0)
        return 0;
    const int32_t devTop = dmLogToDevY(drawnTop);
    int32_t x = 0, y = 0;
    wsGetScrollOrigin(ws, &x, &y);
    SendMessageA(ws, WM_SETREDRAW, FALSE, 0);
    if (!pvSwitchToPage(ws, hit)) {
        SendMessageA(ws, WM_SETREDRAW, TRUE, 0);
        return 0;
    }
    // The new page stays where it was drawn: its top at the same pixel.
    wsStoreCurrentPageOffset(ws);
    wsUpdateScrollRanges(ws, FALSE);
    int32_t nx = 0, ny = 0;
    wsGetScrollOrigin(ws, &nx, &ny);
    wsSetScrollOrigin(ws, x, ny);
    wsApplyViewMapping(ws);
    RECT now;
    pgGetPageRect(pvGetCurrentPage(ws), &now);
    ny += dmLogToDevY(now.top) - devTop;
    wsSetScrollOrigin(ws, x, ny);
    wsSetHScrollPos(ws, x, TRUE);
    wsSetVScrollPos(ws, ny, TRUE);
    SendMessageA(ws, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(ws, nullptr, TRUE);
    wsInvalidateRulers(ws, 3);
    dwUpdateTitle(wsGetDocWindow(ws));
    PostMessageA(ws, WM_COMMAND, 400, 0);
    return 1;
}

void pvDrawPageAt(HWND ws, HDC dc, const RECT *clip, MemHandle page, int index, int32_t dy,
                  BOOL menuPalette)
{
    MemHandle form = wsGetDocument(ws);
    if (!dc || !form)
        return;
    bool loaded = false;
    if (!page)
        page = neighbourPage(ws, index, &loaded);
    if (!page)
        return;
    const int saved = SaveDC(dc);
    POINT org;
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.x, org.y + dmLogToDevH(dy), nullptr);
    RECT area = {INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2};
    if (clip) {
        area = *clip;
        OffsetRect(&area, 0, -dy);
    }
    RECT pr;
    pgGetPageRect(page, &pr);
    {
        GdiObject<HBRUSH> desk(CreateSolidBrush(setGetWorkspaceBkColor()));
        FillRect(dc, &pr, desk);
    }
    pgDrawBackground(ws, dc, page, FALSE, FALSE);
    if (!(fmGetViewWord(form) & 0x10)) {
        GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, kNeighbourFrame));
        GdiSelect selPen(dc, pen);
        GdiSelect selBrush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, pr.left, pr.top, pr.right, pr.bottom);
    }
    MemHandle base = fmGetBasePage(form);
    if (base && page != base && pgShowsBasePage(page))
        pgRenderBasePage(ws, dc, form, &area, page, FALSE, FALSE);
    ShadowStyle style = {};
    LayerState layers = {};
    MemHandle paletteBlock = 0;
    bool installed = false;
    {
        PgLock p(page);
        if (p) {
            memcpy(&style, p.data()->shadowStyle, sizeof(style));
            layers = p.data()->layers;
            paletteBlock = p.data()->paletteBlock;
            installed = true;
        }
    }
    ShadowStyle oldShadow = {};
    LayerState oldLayers = {};
    if (installed) {
        oldShadow = obSetShadowStyle(&style);
        laySwapState(&oldLayers, &layers);
    }
    HPALETTE made = nullptr;
    HPALETTE palette = menuPalette ? clrGetPalette()
                                   : (made = paletteBlock ? pvCreatePagePalette(paletteBlock) : nullptr);
    HPALETTE oldPalette = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
    if (palette)
        RealizePalette(dc);
    pgDrawOwnObjects(dc, page);
    if (MemHandle first = pgGetFirstObject(page))
        obDrawList(ws, dc, first, &area);
    if (index >= 0)
        pgDrawNumber(dc, form, page, index + 1, &area);
    if (palette)
        SelectPalette(dc, oldPalette, FALSE);
    if (made)
        DeleteObject(made);
    if (installed) {
        LayerState mine;
        laySwapState(&mine, &oldLayers);
        obSetShadowStyle(&oldShadow);
    }
    RestoreDC(dc, saved);
    releaseNeighbour(ws, index, loaded);
}

void pvDrawNeighbourPage(HWND ws, HDC dc, const RECT *clip, int index, int32_t bottom,
                         BOOL menuPalette)
{
    bool loaded = false;
    MemHandle page = neighbourPage(ws, index, &loaded);
    if (!page)
        return;
    RECT r;
    pgGetPageRect(page, &r);
    pvDrawPageAt(ws, dc, clip, page, index, bottom - r.bottom, menuPalette);
    releaseNeighbour(ws, index, loaded);
}

void pvDrawPageOffset(HWND ws, HDC dc, const RECT *clip, MemHandle page, int index, int32_t top,
                      BOOL menuPalette)
{
    bool loaded = false;
    if (!page)
        page = neighbourPage(ws, index, &loaded);
    if (!page)
        return;
    RECT r;
    pgGetPageRect(page, &r);
    pvDrawPageAt(ws, dc, clip, page, index, top - r.top, menuPalette);
    releaseNeighbour(ws, index, loaded);
}

BOOL pvAllPagesSameSize(HWND ws)
{
    MemHandle table = 0;
    if (WorkspaceRecord *rec = wsLockRecord(ws)) {
        table = rec->pageRects;
        wsUnlockRecord(ws);
    }
    if (!table)
        return TRUE;
    const uint32_t n = utHandleSize(table) / 16;
    if (n < 2)
        return TRUE;
    MemLock<int32_t> p(table);
    if (!p)
        return TRUE;
    for (uint32_t i = 1; i < n; ++i)
        if (memcmp(&p[i * 4], &p[0], 16) != 0)
            return FALSE;
    return TRUE;
}

int wsEraseBackground(HWND ws, HDC dc)
{
    RECT client;
    GetClientRect(ws, &client);
    HBRUSH brush = (HBRUSH)GetClassLongPtrA(ws, GCLP_HBRBACKGROUND);
    if (!brush)
        brush = (HBRUSH)GetStockObject(WHITE_BRUSH);
    RECT page = {0, 0, 0, 0}, meet;
    bool exclude = false;
    if (pvGetCurrentPage(ws) && wsApplyViewMapping(ws)) {
        page = pageDevRect(ws);
        exclude = IntersectRect(&meet, &page, &client) != 0;
    }
    const int saved = SaveDC(dc);
    if (exclude)
        ExcludeClipRect(dc, meet.left, meet.top, meet.right, meet.bottom);
    FillRect(dc, &client, brush);
    RestoreDC(dc, saved);
    return 1;
}

// ---- small services -------------------------------------------------------------------------

int wsSnapRectToGrid(HWND ws, RECT *rect)
{
    if (!rect || !wsIsSnapToRulers(ws))
        return 0;
    const int divisions = wsGetRulerDivisions(ws);
    if (divisions < 1)
        return 0;
    wsApplyViewMapping(ws);
    POINT p = {rect->left, rect->top};
    dmSnapPoints(&p, 1, (int16_t)divisions);
    const int32_t dx = p.x - rect->left, dy = p.y - rect->top;
    if (!dx && !dy)
        return 0;
    OffsetRect(rect, dx, dy);
    return 1;
}

void wsShowNavBars(HWND ws, int which, BOOL show)
{
    HWND doc = wsGetDocWindow(ws);
    if (!doc)
        return;
    if (which == 0 || which == 3)
        if (HWND bar = dwGetBottomBar(doc))
            ShowWindow(bar, show ? SW_SHOW : SW_HIDE);
    if (which == 1 || which == 3)
        if (HWND bar = dwGetRightBar(doc))
            ShowWindow(bar, show ? SW_SHOW : SW_HIDE);
}

void wsActivateDocWindow(HWND ws)
{
    HWND doc = wsGetDocWindow(ws);
    HWND client = doc ? GetParent(doc) : nullptr;
    if (client && winIsWindowOfClass(client, "MDIClient", nullptr))
        SendMessageA(client, WM_MDIACTIVATE, (WPARAM)doc, 0);
    else if (ws)
        SetFocus(ws);
}

HWND winFindWorkspaceAncestor(HWND window)
{
    for (HWND w = window; w; w = GetParent(w))
        if (winIsWindowOfClass(w, wsClassName, nullptr))
            return w;
    return nullptr;
}

void wsResetScrollModule()
{
    if (g_tip && IsWindow(g_tip))
        DestroyWindow(g_tip);
    g_tip = nullptr;
    g_tipIndex = -1;
}
