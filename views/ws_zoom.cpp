// Zoom of a workspace.
#include "views/ws_zoom.h"
#include "views/ws_scroll.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include "model/setup_record.h"
#include "commands/app_stdbar.h"
#include "commands/ep_track.h"
#include "controls/btnlist.h"
#include "controls/maintools.h"
#include "model/pg_margins.h"
#include "support/dm_map.h"
#include "support/ut_msg.h"
#include "support/win_mouse.h"
#include "support/win_dlgfield.h"
#include "resource.h"
#include <algorithm>
#include <math.h>

namespace {

// Set while wsSetZoom runs.
bool g_settingZoom = false;
// The workspace whose zoom tool started in a fit mode.
HWND g_zoomFromFit = nullptr;

// The "Percent" dialog's parameters and result.
int32_t g_percent = 100;
const char *g_caption = nullptr;

// The stepped zoom.
struct StepState {
    uint16_t step;
    uint16_t start;
    uint16_t target;
    RECT feedback;
    RECT drawn;
    bool hasDrawn;
    HDC dc;
    HWND ws;
};
StepState g_step = {};

bool isFit(int16_t code) { return code == WS_ZOOM_FIT_PAGE || code == WS_ZOOM_FIT_WIDTH; }

RECT clientLog(HWND ws)
{
    wsApplyViewMapping(ws);
    RECT c;
    dmGetClientLogRect(ws, &c);
    return c;
}

bool within(const RECT &inner, const RECT &outer)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

int16_t storedCode(HWND ws)
{
    int16_t code = 0;
    if (WorkspaceRecord *rec = wsLockRecord(ws)) {
        code = rec->zoomCode;
        wsUnlockRecord(ws);
    }
    return code;
}

RECT scaledAbout(const RECT &r, double factor)
{
    const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
    const double hw = (r.right - r.left) * factor / 2.0, hh = (r.bottom - r.top) * factor / 2.0;
    return RECT{(LONG)lround(cx - hw), (LONG)lround(cy - hh), (LONG)lround(cx + hw),
                (LONG)lround(cy + hh)};
}

void endStepContext()
{
    if (g_step.dc)
        dmEndXorDC(g_step.ws, g_step.dc);
    g_step = {};
}

}  // namespace

// ---- arithmetic ------------------------------------------------------------------------------

int32_t wsClampZoom(int32_t percent) { return std::min(std::max(percent, (int32_t)WS_ZOOM_MIN), (int32_t)WS_ZOOM_MAX); }

int32_t wsZoomStepPercent(int32_t current, int step)
{
    if (step == 0 || step < -100 || step > 100)
        return current;
    return wsClampZoom((step + 100) * current / 100);
}

int32_t wsZoomRectPercent(int32_t current, int16_t code, int32_t clientW, int32_t clientH,
                          int32_t rectW, int32_t rectH)
{
    if (rectW < 1 || rectH < 1)
        return 0;
    const int32_t base = isFit(code) ? 100 : current;
    const double factor = std::min((double)clientW / rectW, (double)clientH / rectH);
    const double p = base * factor;
    return wsClampZoom(p > 1e6 ? 1000000 : (int32_t)p);
}

// ---- centring ----------------------------------------------------------------------------------

void wsCentreOnRect(HWND ws, const RECT *rect)
{
    if (!rect)
        return;
    const RECT c = clientLog(ws);
    const int32_t cw = c.right - c.left, ch = c.bottom - c.top;
    wsScrollToLogPos(ws, (rect->left + rect->right - cw) / 2, (rect->top + rect->bottom - ch) / 2);
}

void wsCentreOnRectTop(HWND ws, const RECT *rect)
{
    if (!rect)
        return;
    const RECT c = clientLog(ws);
    wsScrollToLogPos(ws, (rect->left + rect->right - (c.right - c.left)) / 2, c.top);
}

void wsCentreOnRectAxes(HWND ws, const RECT *rect)
{
    if (!rect)
        return;
    const RECT c = clientLog(ws);
    if (within(*rect, c))
        return;
    int32_t x = c.left, y = c.top;
    if (rect->left < c.left || rect->right > c.right)
        x = (rect->left + rect->right - (c.right - c.left)) / 2;
    if (rect->top < c.top || rect->bottom > c.bottom)
        y = (rect->top + rect->bottom - (c.bottom - c.top)) / 2;
    wsScrollToLogPos(ws, x, y);
}

BOOL wsRectFitsWidth(HWND ws, const RECT *rect)
{
    const RECT c = clientLog(ws);
    return rect && rect->right - rect->left <= c.right - c.left;
}

BOOL wsRectFitsView(HWND ws, const RECT *rect)
{
    const RECT c = clientLog(ws);
    return rect && rect->right - rect->left <= c.right - c.left &&
           rect->bottom - rect->top <= c.bottom - c.top;
}

BOOL wsPageVisible(HWND ws)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page)
        return FALSE;
    const RECT c = clientLog(ws);
    RECT r, out;
    pgGetPageRect(page, &r);
    return IntersectRect(&out, &r, &c);
}

int32_t wsPageCentreX(HWND ws)
{
    MemHandle page = pvGetCurrentPage(ws);
    int32_t x = 0, y = 0;
    wsGetScrollOrigin(ws, &x, &y);
    if (!page)
        return x;
    const RECT c = clientLog(ws);
    RECT r;
    pgGetPageRect(page, &r);
    return x + dmLogToDevX((r.left + r.right - (c.right - c.left)) / 2);
}

// ---- setting the zoom ----------------------------------------------------------------------------

void wsSetZoom(HWND ws, int16_t code, int32_t percent, const RECT *fitRect, const RECT *keepRect,
               BOOL recordOnly)
{
    if (g_settingZoom || !wsGetRecordHandle(ws))
        return;
    g_settingZoom = true;
    // The window does not draw the intermediate states.
    const bool drew = IsWindowVisible(ws) != 0;
    if (drew)
        SendMessageA(ws, WM_SETREDRAW, FALSE, 0);
    if (isFit(storedCode(ws))) {
        if (WorkspaceRecord *rec = wsLockRecord(ws)) {
            rec->pagePlaceX = rec->pagePlaceY = 0;
            wsUnlockRecord(ws);
        }
    }
    if (fitRect && code == WS_ZOOM_FIT_PAGE)
        percent = dmZoomToFitWindow(ws, fitRect);
    else if (fitRect && code == WS_ZOOM_FIT_WIDTH)
        percent = dmZoomToFitWidth(ws, fitRect);
    const RECT before = clientLog(ws);
    if (recordOnly) {
        wsSetZoomCode(ws, code);
        wsSetZoomPercent(ws, percent);
    } else {
        wsSetZoomCodeDefault(ws, code);
        wsSetZoomPercentDefault(ws, percent);
    }
    wsStoreCurrentPageOffset(ws);
    wsUpdateScrollRanges(ws, FALSE);
    if (!fitRect) {
        wsScrollToLogPos(ws, std::max<LONG>(before.left, 0), std::max<LONG>(before.top, 0));
    } else if (code == WS_ZOOM_FIT_PAGE || wsRectFitsView(ws, fitRect)) {
        wsCentreOnRect(ws, fitRect);
    } else if (code == WS_ZOOM_FIT_WIDTH || wsRectFitsWidth(ws, fitRect)) {
        wsCentreOnRectTop(ws, fitRect);
    } else if (keepRect && !within(*keepRect, clientLog(ws))) {
        wsCentreOnRectAxes(ws, keepRect);
    } else {
        wsScrollToLogPos(ws, before.left, before.top);
    }
    wsApplyViewMapping(ws);
    wsInvalidateRulers(ws, 3);
    wsUpdateRulers(ws, 3);
    if (drew)
        SendMessageA(ws, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(ws, nullptr, TRUE);
    g_settingZoom = false;
}

// ---- View Scale ---------------------------------------------------------------------------------

INT_PTR CALLBACK PercentDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        if (g_caption && *g_caption)
            SetWindowTextA(dialog, g_caption);
        SetDlgItemInt(dialog, IDC_PERCENT_VALUE, (UINT)g_percent, FALSE);
        return TRUE;
    case WM_VSCROLL:
        winSpinDlgInt(dialog, IDC_PERCENT_VALUE, LOWORD(wParam), 5, 0, 400);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            BOOL ok = FALSE;
            const UINT value = GetDlgItemInt(dialog, IDC_PERCENT_VALUE, &ok, FALSE);
            if (!ok) {
                utWarningBoxId(dialog, IDS_MUST_BE_INTEGER);
                return TRUE;
            }
            if (value == 0) {
                utWarningBoxId(dialog, IDS_MUST_BE_ABOVE_ZERO);
                return TRUE;
            }
            g_percent = (int32_t)std::min<UINT>(value, 0x7FFFFFFF);
            EndDialog(dialog, 1);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int wsAskPercent(HWND owner, int32_t *percent, const char *caption)
{
    if (!percent)
        return 0;
    g_percent = *percent;
    g_caption = caption;
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), "PERCENT", owner,
                                           PercentDlgProc, 0);
    g_caption = nullptr;
    if (result != 1)
        return 0;
    *percent = g_percent;
    return 1;
}

int wsCmdViewScale(HWND window)
{
    const bool workspace = wsGetRecordHandle(window) != 0;
    int32_t percent = workspace ? wsGetZoomPercent(window) : setGetZoomPercent();
    if (!wsAskPercent(window, &percent, "View Scale"))
        return 0;
    // The typed value is held within the interactive limits: a value far
    // above them would overflow the device coordinates of the mapping.
    percent = wsClampZoom(percent);
    if (!workspace) {
        setPutZoomPercent(percent);
        setPutZoomCode(WS_ZOOM_TYPED);
        return 1;
    }
    wsSetZoom(window, WS_ZOOM_TYPED, percent, nullptr, nullptr, TRUE);
    return 1;
}

// ---- the zoom-rectangle tool ----------------------------------------------------------------------

int wsStartZoomTool(HWND ws)
{
    if (!wsGetRecordHandle(ws) || wsGetToolMode(ws) == TM_ZOOM_RECT)
        return 0;
    g_zoomFromFit = isFit(wsGetZoomCode(ws)) ? ws : nullptr;
    wsPushToolMode(ws, TM_ZOOM_RECT, ZoomToolWndProc, TRUE);
    wsSetZoomCodeDefault(ws, WS_ZOOM_RECT);
    wsSetToolCursor(ws);
    return 1;
}

int wsZoomToRect(HWND ws, const RECT *rect)
{
    if (!rect || rect->right - rect->left < 1 || rect->bottom - rect->top < 1)
        return 0;
    const RECT c = clientLog(ws);
    const int16_t code = g_zoomFromFit == ws ? WS_ZOOM_FIT_PAGE : wsGetZoomCode(ws);
    const int32_t percent = wsZoomRectPercent(wsGetZoomPercent(ws), code, c.right - c.left,
                                              c.bottom - c.top, rect->right - rect->left,
                                              rect->bottom - rect->top);
    RECT page = {0, 0, 0, 0};
    if (MemHandle current = pvGetCurrentPage(ws))
        pgGetPageRect(current, &page);
    wsSetZoom(ws, WS_ZOOM_RECT, percent, &page, rect, TRUE);
    wsScrollToLogPos(ws, rect->left, rect->top);
    wsInvalidateRulers(ws, 3);
    PostMessageA(ws, WS_MSG_LEAVE_MODE, 0, 0);
    InvalidateRect(ws, nullptr, TRUE);
    return 1;
}

LRESULT CALLBACK ZoomToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == 180)
            return 0;
        if (id == 176 || id == 179 || (id >= 181 && id <= 189) || id == 2250 || id == 2251) {
            SendMessageA(ws, WS_MSG_LEAVE_MODE, 0, 0);
            return SendMessageA(ws, WM_COMMAND, wParam, lParam);
        }
        break;
    }
    case WM_LBUTTONDOWN: {
        SetFocus(ws);
        const uint16_t press = winWaitClick(ws, lParam);
        if (press == WIN_PRESS_DOUBLE) {
            PostMessageA(ws, WS_MSG_LEAVE_MODE, 0, 0);
        } else if (press == WIN_PRESS_DRAG) {
            wsApplyViewMapping(ws);
            TrackPair pair = {};
            const BOOL snap = wsIsSnapToRulers(ws);
            epTrackMouseEx(ws, WM_LBUTTONDOWN, lParam, snap, (int16_t)wsGetRulerDivisions(ws),
                           &pair, trkDrawRect, 0, FALSE, kTrkGrey, TRUE);
            RECT r = {std::min(pair.x1, pair.x2), std::min(pair.y1, pair.y2),
                      std::max(pair.x1, pair.x2), std::max(pair.y1, pair.y2)};
            wsZoomToRect(ws, &r);
        }
        return 0;
    }
    case WS_MSG_LEAVE_MODE:
        if (wsGetToolMode(ws) == TM_ZOOM_RECT)
            wsPushToolMode(ws, 0, nullptr, FALSE);
        if (g_zoomFromFit == ws)
            g_zoomFromFit = nullptr;
        wsSetToolCursor(ws);
        return 0;
    case WS_MSG_ENTER_MODE:
        if (HWND list = blGetToolList())
            blReleaseSelection(list);
        return 0;
    }
    return wsDefProc(ws, msg, wParam, lParam);
}

// ---- zoom about a point --------------------------------------------------------------------------

int wsZoomAtPoint(HWND ws, int32_t percent, POINT device)
{
    if (!wsGetRecordHandle(ws) || percent == wsGetZoomPercent(ws))
        return 0;
    wsApplyViewMapping(ws);
    POINT logical = device;
    dmDevToLogPoints(&logical, 1);
    wsSetZoomCode(ws, (int16_t)percent);
    wsSetZoomPercent(ws, percent);
    wsStoreCurrentPageOffset(ws);
    wsApplyViewMapping(ws);
    POINT now = logical;
    dmLogToDevPoints(&now, 1);
    int32_t x = 0, y = 0;
    wsGetScrollOrigin(ws, &x, &y);
    x += now.x - device.x;
    y += now.y - device.y;
    wsSetScrollOrigin(ws, x, y);
    wsUpdateScrollRanges(ws, FALSE);
    wsSetHScrollPos(ws, x, TRUE);
    wsSetVScrollPos(ws, y, TRUE);
    InvalidateRect(ws, nullptr, TRUE);
    wsInvalidateRulers(ws, 3);
    wsUpdateRulers(ws, 3);
    return 1;
}

int wsZoomByPercent(HWND ws, int step, POINT device)
{
    if (step == 0 || step < -100 || step > 100)
        return 0;
    return wsZoomAtPoint(ws, wsZoomStepPercent(wsGetZoomPercent(ws), step), device);
}

int wsZoomWheelStepAt(HWND ws, int wheelDelta, POINT device)
{
    const int changed = wsZoomByPercent(ws, wheelDelta > 0 ? 10 : -10, device);
    appSetStdBarButton(439, TRUE);
    appSetStdBarButton(2100, TRUE);
    return changed;
}

int wsZoomWheelStep(HWND ws, int wheelDelta)
{
    POINT pt = {0, 0};
    GetCursorPos(&pt);
    ScreenToClient(ws, &pt);
    return wsZoomWheelStepAt(ws, wheelDelta, pt);
}

// ---- the stepped zoom ----------------------------------------------------------------------------

int wsZoomStep(HWND ws, uint32_t stepInfo, const RECT *rect, BOOL zoomIn)
{
    if (!wsGetRecordHandle(ws))
        return 0;
    const uint16_t step = LOWORD(stepInfo);
    const bool last = HIWORD(stepInfo) != 0;
    if (step <= 1 || !g_step.dc || g_step.ws != ws) {
        endStepContext();
        wsApplyViewMapping(ws);
        g_step.ws = ws;
        g_step.dc = dmBeginXorDC(ws);
        g_step.start = g_step.target = (uint16_t)wsGetZoomPercent(ws);
        const RECT c = clientLog(ws);
        RECT area = c;
        if (rect) {
            IntersectRect(&area, rect, &c);
        } else {
            RECT page = c;
            if (MemHandle current = pvGetCurrentPage(ws))
                pgGetPageRect(current, &page);
            if (!IntersectRect(&area, &page, &c))
                area = c;
            if (zoomIn)
                area = scaledAbout(area, 1.0 / 6.0);
        }
        g_step.feedback = area;
    } else if (g_step.hasDrawn) {
        dmDrawXorOutline(g_step.dc, &g_step.drawn);
        g_step.hasDrawn = false;
    }
    g_step.step = step;
    const double next = g_step.target * (zoomIn ? 1.1 : 0.9);
    g_step.target = (uint16_t)wsClampZoom((int32_t)lround(next));
    g_step.drawn = scaledAbout(g_step.feedback, g_step.target / 100.0);
    if (g_step.dc) {
        dmDrawXorOutline(g_step.dc, &g_step.drawn);
        g_step.hasDrawn = true;
    }
    if (!last)
        return 1;
    if (g_step.hasDrawn && g_step.dc)
        dmDrawXorOutline(g_step.dc, &g_step.drawn);
    const RECT feedback = g_step.feedback;
    const int32_t target = g_step.target;
    endStepContext();
    wsApplyViewMapping(ws);
    POINT centre = {(feedback.left + feedback.right) / 2, (feedback.top + feedback.bottom) / 2};
    dmLogToDevPoints(&centre, 1);
    wsZoomAtPoint(ws, target, centre);
    InvalidateRect(ws, nullptr, TRUE);
    wsInvalidateRulers(ws, 3);
    return 1;
}

void wsResetZoomModule()
{
    endStepContext();
    g_settingZoom = false;
    g_zoomFromFit = nullptr;
    g_percent = 100;
    g_caption = nullptr;
}
