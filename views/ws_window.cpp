// The workspace window's first form: a small record of the document's path,
// modified flag and pages, the painting of an empty page, dropped files.
#include "views/ws_window.h"
#include "views/ws_document.h"
#include "model/fm_form.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "app/app_frame.h"
#include "app/app_frame_docs.h"
#include "app/app_frame_globals.h"
#include "app/setup_record.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include "support/win_window.h"
#include <shellapi.h>

const char wsClassName[] = "vaqm_ws";

namespace {

// What the view keeps of its document until the document record joins it.
struct WsDocState {
    uint32_t size;
    MemHandle path;       // string handle, 0 for an untitled document
    uint32_t modified;
    int16_t pageCount;
    int16_t currentPage;  // -2 when no page is shown
    uint16_t style;       // 0x0004 quick note
    uint16_t reserved;
};
enum : uint16_t { WS_STYLE_QUICK_NOTE = 0x0004 };

MemHandle stateOf(HWND ws)
{
    if (!winIsWindowOfClass(ws, wsClassName, nullptr))
        return 0;
    return winGetRecord(ws, WS_LONG_RECORD, sizeof(WsDocState));
}

BOOL newState(HWND ws)
{
    MemLock<WsDocState> s(winNewRecord(ws, WS_LONG_RECORD, sizeof(WsDocState)));
    if (!s)
        return FALSE;
    s->size = sizeof(WsDocState);
    s->pageCount = 1;     // a new document opens on one default page
    s->currentPage = 0;
    return TRUE;
}

void freeState(HWND ws)
{
    MemHandle h = stateOf(ws);
    if (!h)
        return;
    {
        MemLock<WsDocState> s(h);
        utFreeHandle(s->path);
    }
    utFreeHandle(h);
    SetWindowLongA(ws, WS_LONG_RECORD, 0);
}

// Sets the modified flag; TRUE when it changed.
BOOL setModified(HWND ws, BOOL on)
{
    MemLock<WsDocState> s(stateOf(ws));
    if (!s || (s->modified != 0) == (on != FALSE))
        return FALSE;
    s->modified = on ? 1 : 0;
    return TRUE;
}

}  // namespace

BOOL wsRegisterClass(HINSTANCE instance)
{
    return winRegisterClassOnce(instance, wsClassName, WorkspaceWndProc, CS_DBLCLKS,
                                WS_WINDOW_BYTES, setGetWorkspaceBkBrush(), "XQMDOC_S");
}

HWND wsGetDocWindow(HWND ws)
{
    HWND parent = (ws && IsWindow(ws)) ? GetParent(ws) : nullptr;
    return (parent && winIsWindowOfClass(parent, dwClassName, nullptr)) ? parent : nullptr;
}

BOOL wsIsDocIconic(HWND ws)
{
    if (!ws || !IsWindow(ws))
        return TRUE;
    HWND doc = wsGetDocWindow(ws);
    return doc && IsIconic(doc);
}

BOOL wsGetDocPath(HWND ws, char *buffer)
{
    buffer[0] = 0;
    MemLock<WsDocState> s(stateOf(ws));
    if (s && s->path) {
        MemLock<char> p(s->path);
        if (p)
            utStrCopyN(buffer, p.get(), UT_PATH_SIZE);
    }
    return buffer[0] != 0;
}

BOOL wsDocHasPath(HWND ws)
{
    char path[UT_PATH_SIZE];
    return wsGetDocPath(ws, path);
}

void wsSetDocPath(HWND ws, const char *path)
{
    MemLock<WsDocState> s(stateOf(ws));
    if (!s)
        return;
    utFreeHandle(s->path);
    s->path = (path && *path) ? utHandleFromString(path) : 0;
}

BOOL wsIsModified(HWND ws)
{
    MemLock<WsDocState> s(stateOf(ws));
    return s && s->modified;
}

void wsMarkModified(HWND ws)
{
    if (setModified(ws, TRUE) && pvGetCurrentPageIndex(ws) != -2)
        dwUpdateTitle(wsGetDocWindow(ws));
}

void wsClearModified(HWND ws)
{
    if (setModified(ws, FALSE))
        dwUpdateTitle(wsGetDocWindow(ws));
}

BOOL wsIsQuickNote(HWND ws)
{
    MemLock<WsDocState> s(stateOf(ws));
    return s && (s->style & WS_STYLE_QUICK_NOTE);
}

void wsSetQuickNote(HWND ws, BOOL on)
{
    MemLock<WsDocState> s(stateOf(ws));
    if (s)
        s->style = on ? (uint16_t)(s->style | WS_STYLE_QUICK_NOTE)
                      : (uint16_t)(s->style & ~WS_STYLE_QUICK_NOTE);
}

int wsOnCommand(HWND, int, LPARAM)
{
    // No document command is carried out by this form of the view yet.
    return 1;
}

int wsZoomWheelStep(HWND, int) { return 0; }
int wsScrollByLogY(HWND, int32_t) { return 0; }
void wsInvalidateRulers(HWND, int) {}
void wsUpdateRulers(HWND, int) {}

// ---- the current page ------------------------------------------------------------------

// A workspace holding a document answers from its form record; the first
// form of the view without one answers from its own small record.
int pvGetCurrentPageIndex(HWND ws)
{
    if (MemHandle form = wsGetDocument(ws))
        return fmGetCurrentPage(form);
    MemLock<WsDocState> s(stateOf(ws));
    return s ? s->currentPage : -2;
}

int pvGetPageCount(HWND ws)
{
    if (MemHandle form = wsGetDocument(ws))
        return fmGetPageCount(form);
    MemLock<WsDocState> s(stateOf(ws));
    return s ? s->pageCount : 0;
}

char *pvGetCurrentPageName(HWND, char *buffer, int size)
{
    if (size > 0)
        buffer[0] = 0;
    return buffer;
}

BOOL wsPageHasObjects(HWND) { return FALSE; }
void pvStorePagePalette(HWND) {}
void pvCmdPageLayout(HWND, HWND) {}

// ---- painting --------------------------------------------------------------------------

void wsPageRectIn(HDC dc, RECT *page)
{
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    if (dpiX < 1)
        dpiX = 96;
    if (dpiY < 1)
        dpiY = 96;
    SetRect(page, WS_PAGE_MARGIN, WS_PAGE_MARGIN,
            WS_PAGE_MARGIN + MulDiv(WS_PAGE_WIDTH_TWIPS, dpiX, 1440),
            WS_PAGE_MARGIN + MulDiv(WS_PAGE_HEIGHT_TWIPS, dpiY, 1440));
}

void wsPaintView(HDC dc, const RECT &client, HBRUSH background)
{
    FillRect(dc, &client, background ? background : (HBRUSH)GetStockObject(LTGRAY_BRUSH));
    RECT page;
    wsPageRectIn(dc, &page);
    RECT shadow = page;
    OffsetRect(&shadow, 4, 4);
    FillRect(dc, &shadow, (HBRUSH)GetStockObject(GRAY_BRUSH));
    FillRect(dc, &page, (HBRUSH)GetStockObject(WHITE_BRUSH));
    FrameRect(dc, &page, (HBRUSH)GetStockObject(BLACK_BRUSH));
}

LRESULT CALLBACK WorkspaceWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return newState(ws) ? 0 : -1;
    case WM_DESTROY:
        freeState(ws);
        return 0;
    case WM_ERASEBKGND:
        return 1;   // WM_PAINT covers the whole client area
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(ws, &ps);
        RECT client;
        GetClientRect(ws, &client);
        wsPaintView(dc, client, setGetWorkspaceBkBrush());
        EndPaint(ws, &ps);
        return 0;
    }
    case WM_DROPFILES:
        appOnWorkspaceDropFiles(appGetFrameWindow() ? appGetFrameWindow() : ws, (HDROP)wParam);
        return 0;
    case WM_COMMAND:
        return wsOnCommand(ws, (short)LOWORD(wParam), lParam);
    }
    return DefWindowProcA(ws, msg, wParam, lParam);
}
