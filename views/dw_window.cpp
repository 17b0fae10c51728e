// The document window.
#include "views/dw_window.h"
#include "model/qmf_read.h"
#include "views/nb_navbar.h"
#include "views/pv_page.h"
#include "views/ws_scroll.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include "views/ws_zoom.h"
#include "app/app_frame.h"
#include "app/app_frame_docs.h"
#include "support/app_frame_globals.h"
#include "support/app_ui_state.h"
#include "controls/ruler.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/qmf_header.h"
#include "model/qmf_pages.h"
#include "support/dm_map.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_recent.h"
#include "support/win_window.h"

const char dwClassName[] = "xqmdoc";

namespace {

// The window of the last new document while nobody has touched it.
HWND g_untouched = nullptr;

bool isDocWindow(HWND doc)
{
    return doc && IsWindow(doc) && winIsWindowOfClass(doc, dwClassName, nullptr);
}

HWND longWindow(HWND doc, int index)
{
    if (!isDocWindow(doc))
        return nullptr;
    HWND w = qmU32ToHandle<HWND>((uint32_t)GetWindowLongA(doc, index));
    return (w && IsWindow(w)) ? w : nullptr;
}

// A bar counts unless its window exists and is hidden.
bool barCounts(HWND bar) { return !bar || IsWindowVisible(bar); }

// The document read from a file. The reader of the pages comes with the
// document files; until then the file's header is checked (its failure is
// reported) and the document shows one default page under the file's name.
MemHandle readDocument(HWND frame, const char *path, uint32_t)
{
    // The form with its page directory and the first page, which the
    // reader stores in its directory entry; every failure has shown its
    // message and left nothing open.
    MemHandle page = 0;
    return qmfOpenDocument(frame, path, 0, &page);
}

}  // namespace

BOOL dwRegisterClass(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, dwClassName, DocMDIWndProc, 0, DW_WINDOW_BYTES,
                                (HBRUSH)(COLOR_WINDOW + 1), "XQMDOC_S");
}

HWND dwGetWorkspace(HWND doc) { return longWindow(doc, DW_LONG_WORKSPACE); }
HWND dwGetBottomBar(HWND doc) { return longWindow(doc, DW_LONG_BOTTOM_BAR); }
HWND dwGetRightBar(HWND doc) { return longWindow(doc, DW_LONG_RIGHT_BAR); }

HWND dwGetBottomScrollBar(HWND doc)
{
    HWND bar = dwGetBottomBar(doc);
    return bar ? winFindChildOfClass(bar, "ScrollBar", nullptr) : nullptr;
}

HWND dwGetRightScrollBar(HWND doc)
{
    HWND bar = dwGetRightBar(doc);
    return bar ? winFindChildOfClass(bar, "ScrollBar", nullptr) : nullptr;
}

HWND dwGetUntouchedDocument() { return g_untouched; }

int dwCountDocWindows(HWND mdiClient) { return appCountDocWindows(mdiClient); }

BOOL dwDefaultRect(HWND mdiClient, RECT *out)
{
    if (!mdiClient)
        return FALSE;
    RECT r;
    GetClientRect(mdiClient, &r);
    int n = dwCountDocWindows(mdiClient);
    r.left += DW_CASCADE_STEP * n;
    r.top += DW_CASCADE_STEP * n;
    r.right -= DW_CASCADE_STEP;
    r.bottom -= DW_CASCADE_STEP;
    if (r.right - r.left < DW_MIN_DEFAULT_SIZE || r.bottom - r.top < DW_MIN_DEFAULT_SIZE)
        return FALSE;
    *out = r;
    return TRUE;
}

RECT dwLayoutRect(HWND doc, int area)
{
    RECT client = {0, 0, 0, 0};
    if (doc)
        GetClientRect(doc, &client);
    const int barHeight = GetSystemMetrics(SM_CYHSCROLL) + 2;
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    const int bottom = barCounts(dwGetBottomBar(doc)) ? barHeight : 0;
    const int right = barCounts(dwGetRightBar(doc)) ? barWidth : 0;
    RECT r = client;
    r.bottom -= bottom;
    switch (area) {
    case DW_AREA_RULERS:
        r.right -= right;
        break;
    case DW_AREA_WORKSPACE:
        r.right -= right;
        if (wsAreRulersShown(dwGetWorkspace(doc))) {
            r.top += DW_RULER_SIZE;
            r.left += DW_RULER_SIZE;
        }
        break;
    case DW_AREA_THUMBNAILS:
    case DW_AREA_THUMBNAILS_2:
        break;
    case DW_AREA_CLIENT:
        r = client;
        break;
    case DW_AREA_BOTTOM_BAR:
        SetRect(&r, client.left, client.bottom - barHeight, client.right, client.bottom);
        break;
    case DW_AREA_RIGHT_BAR:
        SetRect(&r, client.right - barWidth, client.top, client.right, client.bottom - bottom);
        break;
    default:
        break;
    }
    return r;
}

HWND dwCreate(HWND, HWND mdiClient, const char *workspaceClass, const char *title,
              const RECT *rect)
{
    if (!mdiClient || !workspaceClass || !*workspaceClass)
        return nullptr;
    MDICREATESTRUCTA mcs = {};
    mcs.szClass = dwClassName;
    mcs.szTitle = (title && *title) ? title : "Untitled";
    mcs.hOwner = winGetInstance(mdiClient);
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

void dwCreateNavBars(HWND doc)
{
    HWND ws = dwGetWorkspace(doc);
    if (!ws)
        return;
    if (!dwGetBottomBar(doc)) {
        int32_t min = 0, max = 0, x = 0, y = 0;
        wsGetHScrollRange(ws, &min, &max);
        wsGetScrollOrigin(ws, &x, &y);
        if (HWND bar = nbCreateBottomBar(doc, min, max, x, wsHScrollPage(ws)))
            SetWindowLongA(doc, DW_LONG_BOTTOM_BAR, (LONG)qmHandleToU32(bar));
    }
    if (!dwGetRightBar(doc)) {
        int32_t min = 0, max = 0, x = 0, y = 0;
        wsGetVScrollRange(ws, &min, &max);
        wsGetScrollOrigin(ws, &x, &y);
        if (HWND bar = nbCreateRightBar(doc, min, max, y, wsVScrollPage(ws)))
            SetWindowLongA(doc, DW_LONG_RIGHT_BAR, (LONG)qmHandleToU32(bar));
    }
}

// ---- handlers ----------------------------------------------------------------------------------

void dwOnCreate(HWND doc, const char *workspaceClass)
{
    if (!doc || !workspaceClass || !*workspaceClass)
        return;
    RECT area = dwLayoutRect(doc, DW_AREA_WORKSPACE);
    HWND ws = wsCreateChildWindow(doc, workspaceClass, &area, TRUE);
    if (!ws)
        return;
    SetWindowLongA(doc, DW_LONG_WORKSPACE, (LONG)qmHandleToU32(ws));
    // The rulers take the workspace's place once the layout knows whether
    // they are shown; their room is measured with them.
    RECT rulersArea = dwLayoutRect(doc, DW_AREA_RULERS);
    HWND rulers = rulCreateRulers(doc, &rulersArea, appGetFrameFont(), wsIsSnapToRulers(ws),
                                  wsGetRulerDivisions(ws), TRUE);
    if (!rulers)
        return;
    rulSetNotifyWindow(rulers, ws);
    wsSetRulersWindow(ws, rulers);
    if (wsAreRulersShown(ws))
        rulShow(rulers, &rulersArea, TRUE);
}

void dwOnSize(HWND doc)
{
    for (int area : {DW_AREA_BOTTOM_BAR, DW_AREA_RIGHT_BAR}) {
        HWND bar = area == DW_AREA_BOTTOM_BAR ? dwGetBottomBar(doc) : dwGetRightBar(doc);
        if (bar) {
            RECT r = dwLayoutRect(doc, area);
            MoveWindow(bar, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        }
    }
    HWND ws = dwGetWorkspace(doc);
    RECT area = dwLayoutRect(doc, DW_AREA_WORKSPACE);
    wsFitToWindow(ws, &area);
    HWND rulers = wsGetRulersWindow(ws);
    if (rulers && wsAreRulersShown(ws)) {
        RECT r = dwLayoutRect(doc, DW_AREA_RULERS);
        rulMove(rulers, &r, RUL_BOTH);
    }
    if (HWND grid = wsGetThumbnailGrid(ws)) {
        RECT r = dwLayoutRect(doc, DW_AREA_THUMBNAILS);
        SendMessageA(grid, WM_COMMAND, 5004, (LPARAM)&r);
    }
}

void wsFitToWindow(HWND ws, const RECT *area)
{
    if (!ws || !area || IsRectEmpty(area))
        return;
    MoveWindow(ws, area->left, area->top, area->right - area->left, area->bottom - area->top,
               TRUE);
    const int16_t code = wsGetZoomCode(ws);
    MemHandle page = pvGetCurrentPageIndex(ws) != -2 ? pvGetCurrentPage(ws) : 0;
    if (page && (code == -100 || code == -101)) {
        // The fit zoom follows the new size, centred on the page again.
        RECT pageRect;
        pgGetPageRect(page, &pageRect);
        wsSetZoom(ws, code, 100, &pageRect, nullptr, TRUE);
        InvalidateRect(ws, nullptr, TRUE);
        wsInvalidateRulers(ws, 3);
    } else {
        wsRefreshScrollRanges(ws);
    }
}

void dwOnSetFocus(HWND doc)
{
    if (HWND ws = dwGetWorkspace(doc))
        SetFocus(ws);
}

void dwOnActivate(HWND doc, HWND deactivated, HWND activated)
{
    HWND ws = dwGetWorkspace(doc);
    if (activated == doc) {
        appSetActiveWorkspace(ws);
        if (ws && wsGetDocument(ws)) {
            pvGoToPage(ws, pvGetCurrentPageIndex(ws));
            wsApplyViewMapping(ws);
            PostMessageA(ws, WM_COMMAND, 931, 0);
        }
    }
    // A workspace without a document has no page to store.
    if (deactivated == doc && ws && wsGetDocument(ws)) {
        HWND active = appGetActiveWorkspace();
        if (active == ws || !active) {
            wsSendLeaveMode(ws, 1);
            pvCommitPage(ws);
            SendMessageA(ws, WM_COMMAND, 932, 0);
        }
    }
}

LRESULT dwOnCommand(HWND doc, int command, LPARAM lParam)
{
    HWND bottom = dwGetBottomBar(doc), right = dwGetRightBar(doc);
    if (bottom && command >= 42 && command <= 48)
        return SendMessageA(bottom, WM_COMMAND, command, lParam) ? 1 : 0;
    if (right && command >= 53 && command <= 58)
        return SendMessageA(right, WM_COMMAND, command, lParam) ? 1 : 0;
    HWND ws = dwGetWorkspace(doc);
    if (!ws)
        return 1;
    if (wsGetThumbnailGrid(ws) && command != 5000 && command != 5001 && command != 5003)
        return 0;
    // A workspace of another class (a view of its own kind) takes its
    // commands through its own procedure.
    if (!winIsWindowOfClass(ws, wsClassName, nullptr))
        return SendMessageA(ws, WM_COMMAND, (WPARAM)(uint16_t)command, lParam);
    return wsOnCommand(ws, command, lParam);
}

BOOL dwClose(HWND doc)
{
    if (!isDocWindow(doc) || !dwQuerySave(doc))
        return FALSE;
    HWND client = GetParent(doc);
    HWND frame = client ? GetParent(client) : nullptr;
    if (HWND ws = dwGetWorkspace(doc))
        SendMessageA(ws, WM_CLOSE, 0, 0);
    if (g_untouched == doc)
        g_untouched = nullptr;
    if (client && winIsWindowOfClass(client, "MDIClient", nullptr))
        SendMessageA(client, WM_MDIDESTROY, (WPARAM)doc, 0);
    else
        DestroyWindow(doc);
    if (frame)
        PostMessageA(frame, WM_COMMAND, 933, 0);
    return TRUE;
}

// ---- documents -----------------------------------------------------------------------------------

void dwPlaceRulers(HWND doc)
{
    HWND ws = dwGetWorkspace(doc);
    HWND rulers = wsGetRulersWindow(ws);
    RECT area = dwLayoutRect(doc, DW_AREA_WORKSPACE);
    RECT rulersArea = dwLayoutRect(doc, DW_AREA_RULERS);
    if (wsAreRulersShown(ws)) {
        if (ws)
            MoveWindow(ws, area.left, area.top, area.right - area.left, area.bottom - area.top,
                       TRUE);
        if (rulers)
            rulShow(rulers, &rulersArea, TRUE);
    } else {
        if (rulers)
            rulShow(rulers, nullptr, FALSE);
        if (ws)
            MoveWindow(ws, area.left, area.top, area.right - area.left, area.bottom - area.top,
                       TRUE);
    }
}

void dwAttachDocument(HWND doc, MemHandle form)
{
    HWND ws = dwGetWorkspace(doc);
    if (!ws)
        return;
    dwCreateNavBars(doc);
    pvReleaseDocument(ws);
    wsSetDocument(ws, form);
    wsResetRulerMarkers(ws);
    pvGoToPage(ws, 0);
    wsResetScrollToPlacement(ws);
    wsClearModified(ws);
    if (MemHandle first = pvGetPage(ws, 0)) {
        MemHandle fit = pgGetAttrCopy(first, 0x40);
        if (fit) {
            wsSetZoomCode(ws, -100);
            utFreeHandle(fit);
        }
    }
    dwPlaceRulers(doc);
    dwUpdateTitle(doc);
    wsSetCurrentObject(ws, 0);
    PostMessageA(ws, WM_COMMAND, WS_CMD_BACK_TO_SELECT, 0);
    wsInvalidateRulers(ws, 3);
    InvalidateRect(ws, nullptr, TRUE);
    HWND client = GetParent(doc);
    if (HWND frame = client ? GetParent(client) : nullptr)
        PostMessageA(frame, WM_COMMAND, 883, 0);
}

int dwFitRectToPage(HWND parent, MemHandle form, MemHandle page, RECT *out, int *needsH,
                    int *needsV, int percent)
{
    DocOptions options;
    if (!fmGetDocOptions(form, &options))
        return 0;
    if (needsH)
        *needsH = 1;
    if (needsV)
        *needsV = 1;
    if (!(options.flagsA & 0x6C))
        return 0;
    int h = 0, v = 0;
    RECT margins;
    if (!pgGetMarginRect(page, &margins))
        pgGetPageRect(page, &margins);
    int width = MulDiv(margins.right - margins.left, 96, 1440);
    int height = MulDiv(margins.bottom - margins.top, 96, 1440);
    {
        HDC screen = GetDC(nullptr);
        width = MulDiv(margins.right - margins.left, GetDeviceCaps(screen, LOGPIXELSX), 1440);
        height = MulDiv(margins.bottom - margins.top, GetDeviceCaps(screen, LOGPIXELSY), 1440);
        ReleaseDC(nullptr, screen);
    }
    if (percent > 0) {
        width = MulDiv(width, percent, 100);
        height = MulDiv(height, percent, 100);
    }
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int caption = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
    const int availW = work.right - work.left;
    const int availH = work.bottom - work.top - caption - GetSystemMetrics(SM_CYMENU);
    int needW = width + 2 * GetSystemMetrics(SM_CXFRAME);
    int needH = height + caption;
    h = needW > availW;
    v = needH > availH;
    if (v && !h) {
        needW += GetSystemMetrics(SM_CXVSCROLL);
        h = needW > availW;
    }
    if (h && !v) {
        needH += GetSystemMetrics(SM_CYHSCROLL);
        v = needH > availH;
    }
    if (needH > availH)
        needH = availH;
    RECT area = {0, 0, availW, availH};
    if (parent)
        GetClientRect(parent, &area);
    SetRect(out, area.left, area.top, area.left + needW, area.top + needH);
    if (needsH)
        *needsH = h;
    if (needsV)
        *needsV = v;
    return 1;
}

HWND dwOpenDocument(HWND frame, const char *workspaceClass, const char *path, int linkedPage,
                    uint32_t openFlags, int *reuse, BOOL fitToPage, MemHandle templateArg)
{
    (void)linkedPage;
    (void)templateArg;
    int reuseState = reuse ? *reuse : 0;
    HWND client = appGetMdiClient(frame);
    HWND doc = nullptr;
    if (path && *path) {
        MemHandle form = readDocument(frame, path, openFlags);
        if (!form)
            return nullptr;
        if (!fmAskPassword(frame, form)) {
            fmFree(form);
            return nullptr;
        }
        DocOptions options;
        if (fitToPage && fmGetDocOptions(form, &options) &&
            ((options.flagsB & 0x10) || (options.flagsA & 0x6C))) {
            FmLock r(form);
            if (r)
                r->viewFlags &= (uint16_t)~WS_VIEW_RULER_FLAG;
        }
        if (reuseState == 1 && g_untouched && IsWindow(g_untouched) &&
            GetParent(g_untouched) == client) {
            HWND ws = dwGetWorkspace(g_untouched);
            wsSendLeaveMode(ws, 1);
            if (ws && !wsIsModified(ws) && !wsPageHasObjects(ws)) {
                doc = g_untouched;
                SendMessageA(client, WM_MDIACTIVATE, (WPARAM)doc, 0);
            }
        }
        if (!doc) {
            RECT fit;
            int needsH = 0, needsV = 0;
            bool sized = fitToPage &&
                         dwFitRectToPage(client, form, pgDirGetPages(fmGetDirectory(form), 0), &fit,
                                         &needsH, &needsV, 0);
            doc = dwCreate(frame, client, workspaceClass, path, sized ? &fit : nullptr);
        }
        g_untouched = nullptr;
        if (reuse)
            *reuse = 2;
        if (!doc || !dwGetWorkspace(doc)) {
            fmFree(form);
            if (doc)
                SendMessageA(client, WM_MDIDESTROY, (WPARAM)doc, 0);
            return nullptr;
        }
        dwAttachDocument(doc, form);
        if (fmIsInRecentList(form))
            utAddRecentFile(path);
        return doc;
    }
    MemHandle form = pgNewDocument((openFlags & DW_OPEN_ASK_FIRST_PAGE) ? FALSE : TRUE);
    if (!form)
        return nullptr;
    doc = dwCreate(frame, client, workspaceClass, "", nullptr);
    if (!doc || !dwGetWorkspace(doc)) {
        fmFree(form);
        if (doc)
            SendMessageA(client, WM_MDIDESTROY, (WPARAM)doc, 0);
        return nullptr;
    }
    dwAttachDocument(doc, form);
    if (reuseState == 0) {
        g_untouched = doc;
        if (reuse)
            *reuse = 1;
    } else if (reuse) {
        *reuse = 2;
    }
    return doc;
}

HWND dwOpenDocumentFile(HWND frame, const char *workspaceClass, const char *path,
                        uint32_t openFlags, int *reuse, BOOL fitToPage, MemHandle templateArg)
{
    return dwOpenDocument(frame, workspaceClass, path, -1, openFlags, reuse, fitToPage,
                          templateArg);
}

void dwResetModule() { g_untouched = nullptr; }

// ---- the procedure ---------------------------------------------------------------------------------

LRESULT CALLBACK DocMDIWndProc(HWND doc, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        const CREATESTRUCTA *cs = (const CREATESTRUCTA *)lParam;
        const MDICREATESTRUCTA *mcs = cs ? (const MDICREATESTRUCTA *)cs->lpCreateParams : nullptr;
        dwOnCreate(doc, mcs ? (const char *)mcs->lParam : nullptr);
        return 0;
    }
    case WM_SIZE:
        dwOnSize(doc);
        break;
    case WM_SETFOCUS:
        dwOnSetFocus(doc);
        return 0;
    case WM_CLOSE:
        dwClose(doc);
        return 0;
    case WM_QUERYENDSESSION:
        return dwClose(doc);
    case WM_COMMAND: {
        // A workspace of another class (a view of its own kind) takes the
        // whole message through its own procedure.
        HWND ws = dwGetWorkspace(doc);
        const int id = (short)LOWORD(wParam);
        const bool bars = (id >= 42 && id <= 48) || (id >= 53 && id <= 58);
        if (ws && !winIsWindowOfClass(ws, wsClassName, nullptr) && !bars) {
            if (SendMessageA(ws, WM_COMMAND, wParam, lParam) == 0)
                return 0;
            break;
        }
        if (dwOnCommand(doc, id, lParam) == 0)
            return 0;
        break;
    }
    case WM_MDIACTIVATE:
        dwOnActivate(doc, (HWND)wParam, (HWND)lParam);
        return 0;
    case WM_DESTROY:
        if (g_untouched == doc)
            g_untouched = nullptr;
        if (HWND ws = dwGetWorkspace(doc))
            if (appGetActiveWorkspace() == ws)
                appSetActiveWorkspace(nullptr);
        break;
    }
    return DefMDIChildProcA(doc, msg, wParam, lParam);
}
