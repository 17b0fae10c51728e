// The frame window: its record, its window procedure and the close
// sequence. The docked bars' record and layout are in app_frame_bars, the
// command dispatcher in app_frame_cmd, the document-window services in
// app_frame_docs.
#include "app/app_frame.h"
#include "tools/ne_state.h"
#include "views/pv_templates.h"
#include "app/app_probe.h"
#include "app/app_frame_bars.h"
#include "app/app_frame_cmd.h"
#include "app/app_frame_docs.h"
#include "support/win_menu.h"
#include "support/app_frame_globals.h"
#include "app/app_menu_state.h"
#include "app/app_toolbars.h"
#include "support/app_ui_state.h"
#include "app/fc_autosave.h"
#include "app/fc_import_export.h"
#include "app/mb_msgbar.h"
#include "support/settings_reg.h"
#include "app/setup_file.h"
#include "model/setup_record.h"
#include "commands/clip_formats.h"
#include "commands/at_attr.h"
#include "controls/maintools.h"
#include "controls/pal_file.h"
#include "controls/pal_window.h"
#include "controls/tb_table.h"
#include "model/qmf_header.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include "support/ut_date.h"
#include "support/ut_recent.h"
#include "support/win_wheel.h"
#include "support/win_window.h"
#include "support/help_file.h"
#include "views/dw_window.h"
#include "views/ws_scroll.h"
#include "views/ws_window.h"
#include "views/ws_zoom.h"
#include <shellapi.h>
#include <string.h>
#include <string>
#include <vector>
#include "views/prn_setup.h"
#include "tools/cp_composite.h"

namespace {

MemHandle frameRecord(HWND frame)
{
    return winGetRecord(frame, FRAME_LONG_RECORD, sizeof(FrameRecord));
}

// Creates the frame record (long 8).
BOOL newFrameRecord(HWND frame)
{
    MemLock<FrameRecord> r(winNewRecord(frame, FRAME_LONG_RECORD, sizeof(FrameRecord)));
    if (r)
        r->size = sizeof(FrameRecord);
    return r ? TRUE : FALSE;
}

// Leaves the clipboard viewer chain and frees the frame record; the next
// viewer is read before the record goes.
void leaveChainAndFreeRecord(HWND frame)
{
    MemHandle h = frameRecord(frame);
    if (!h)
        return;
    HWND next;
    {
        MemLock<FrameRecord> r(h);
        next = qmU32ToHandle<HWND>(r->nextViewer);
    }
    ChangeClipboardChain(frame, next);
    utFreeHandle(h);
    SetWindowLongA(frame, FRAME_LONG_RECORD, 0);
}

HWND nextViewer(HWND frame)
{
    MemLock<FrameRecord> r(frameRecord(frame));
    return r ? qmU32ToHandle<HWND>(r->nextViewer) : nullptr;
}

void setNextViewer(HWND frame, HWND next)
{
    MemLock<FrameRecord> r(frameRecord(frame));
    if (r)
        r->nextViewer = qmHandleToU32(next);
}

// The screen width in pixels.
int screenWidth()
{
    HDC dc = GetDC(nullptr);
    int width = GetDeviceCaps(dc, HORZRES);
    ReleaseDC(nullptr, dc);
    return width;
}

HWND makeBar(HWND frame, HFONT font, uint16_t bit, uint16_t style, const ToolButton *table,
             int count, int size, BOOL show)
{
    RECT r;
    appGetBarRect(frame, bit, &r);
    HWND list = blCreate(frame, font, bit, &r, style, table, count, size, size, show);
    appSetBarWindow(frame, bit, list);
    return list;
}

}  // namespace

HWND appGetNextViewer(HWND frame) { return nextViewer(frame); }

// ---- records and accessors ---------------------------------------------------------

HWND appGetMdiClient(HWND frame)
{
    MemLock<FrameRecord> r(frameRecord(frame ? frame : appGetFrameWindow()));
    HWND client = r ? qmU32ToHandle<HWND>(r->mdiClient) : nullptr;
    return (client && IsWindow(client)) ? client : nullptr;
}

void appSetMdiClient(HWND frame, HWND client)
{
    MemLock<FrameRecord> r(frameRecord(frame ? frame : appGetFrameWindow()));
    if (r)
        r->mdiClient = qmHandleToU32(client);
}

HWND appGetActiveDocWindow(HWND frame)
{
    HWND client = appGetMdiClient(frame);
    return client ? (HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, 0) : nullptr;
}

void appSetFrameMenu(HWND frame, HMENU menu)
{
    HWND client = appGetMdiClient(frame);
    if (client) {
        int items = GetMenuItemCount(menu);
        HMENU window = items >= 2 ? GetSubMenu(menu, items - 2) : nullptr;
        SendMessageA(client, WM_MDISETMENU, (WPARAM)menu, (LPARAM)window);
    } else {
        SetMenu(frame, menu);
    }
    winDrawMenuBar(frame);
}

void appSetFrameFlag(uint32_t flag, BOOL on)
{
    MemLock<FrameRecord> r(frameRecord(appGetFrameWindow()));
    if (r)
        r->flags = on ? (r->flags | flag) : (r->flags & ~flag);
}

BOOL appTestFrameFlag(uint32_t flag)
{
    MemLock<FrameRecord> r(frameRecord(appGetFrameWindow()));
    return r && (r->flags & flag) != 0;
}

void appSetFrameName(const char *name)
{
    MemLock<FrameRecord> r(frameRecord(appGetFrameWindow()));
    if (r)
        utStrCopyN(r->name, name ? name : "", sizeof(r->name));
}

char *appGetFrameName(char *buffer, int size)
{
    if (size <= 0)
        return buffer;
    buffer[0] = 0;
    MemLock<FrameRecord> r(frameRecord(appGetFrameWindow()));
    if (r) {
        char name[sizeof(r->name) + 1] = {};
        memcpy(name, r->name, sizeof(r->name));
        utStrCopyN(buffer, name, (uint32_t)size);
    }
    return buffer;
}

void appSetFrameChild(HWND frame, HWND child)
{
    MemLock<FrameRecord> r(frameRecord(frame));
    if (r)
        r->child = qmHandleToU32(child);
}

HWND appGetFrameChild(HWND frame)
{
    MemLock<FrameRecord> r(frameRecord(frame));
    return r ? qmU32ToHandle<HWND>(r->child) : nullptr;
}

// ---- the UI font ---------------------------------------------------------------------

HFONT appCreateUiFont(const char *face, int points)
{
    if (!face || !*face)
        face = "Arial";
    if (points < 6 || points > 14)
        points = FRAME_UI_FONT_SIZE;
    HDC dc = GetDC(nullptr);
    int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, face);
}

void appDeleteUiFont(HFONT font)
{
    if (font && font != (HFONT)GetStockObject(SYSTEM_FONT))
        DeleteObject(font);
}

int appDrawUiText(HDC dc, const char *text, int length, RECT *rect, UINT format,
                  COLORREF colour)
{
    GdiSelect font(dc, appGetFrameFont());
    COLORREF old = SetTextColor(dc, colour);
    int result = DrawTextA(dc, text, length, rect, format);
    SetTextColor(dc, old);
    return result;
}

// ---- creation ----------------------------------------------------------------------------

BOOL appOnFrameCreate(HWND frame)
{
    appSetFrameWindow(frame);
    if (!appNewBarRecord(frame))
        return FALSE;

    // The help file until start-up is over (WinMain then names the HTML one).
    char path[UT_PATH_SIZE];
    utSetHelpFile(setGetProgramFilePath(path, "ridevi.hlp"));

    int stored = setGetFrameBarBits();
    uint16_t bits = (uint16_t)((stored < 0 ? 0xFFFF : stored) | FB_DRAW | FB_LEFT);
    appSetBarBits(frame, bits);

    HFONT font = appCreateUiFont("Arial", FRAME_UI_FONT_SIZE);
    if (!font)
        font = (HFONT)GetStockObject(SYSTEM_FONT);
    SetWindowLongA(frame, FRAME_LONG_FONT, (LONG)qmHandleToU32(font));
    appSetFrameFont(font);

    int width = screenWidth();
    TEXTMETRICA tm = {};
    {
        HDC dc = GetDC(frame);
        GdiSelect sel(dc, font);
        GetTextMetricsA(dc, &tm);
        ReleaseDC(frame, dc);
    }
    appSetFrameFlag(FRAME_FLAG_WIDE_SCREEN, width >= TB_NARROW_SCREEN_LIMIT);

    // The modules that hang off the frame: the month and weekday names, the
    // recent-file list and its history, and the folder the Open dialog
    // starts in.
    utLoadDateNames(frame, nullptr, nullptr);
    char home[UT_PATH_SIZE];
    setGetHomeFilePath(path, "~qmflist2.ini");
    utInitRecentFiles(frame, path, 0, 121, 8, TRUE);
    if (utGetFirstRecentFile(path))
        setPutLastFolder(utGetFolder(path));
    else
        setPutLastFolder(setGetHomeDir(home));
    prnStartAtCreation(frame);
    neReadSettingsValue();
    tmplOpenCollection(frame, setGetHomeFilePath(path, "~iwtmpl.fav"));

    int16_t standardCount = 0;
    const ToolButton *standard = tbCommandTableFor(width, &standardCount);
    FrameMetrics m;
    appComputeFrameMetrics(width, tm.tmHeight + tm.tmExternalLeading, tm.tmAveCharWidth,
                           tbDrawToolCount, standardCount, &m);
    appSetFrameMetrics(m);

    makeBar(frame, font, FB_DRAW, 0xC001, tbDrawToolTable, tbDrawToolCount, FRAME_DRAW_BUTTON,
            TRUE);
    RECT r;
    appGetBarRect(frame, FB_COLOR, &r);
    clrCreatePaletteWindow(frame, &r, nullptr, 0, RGB(0, 0, 0), RGB(255, 255, 255),
                           RGB(0, 0, 0), CLR_CMD_CHANGED, CLR_CMD_PICKED);

    appGetBarRect(frame, FB_MESSAGE, &r);
    HWND bar = mbCreate(frame, font, &r);
    appSetBarWindow(frame, FB_MESSAGE, bar);
    if (bar)
        ShowWindow(bar, (bits & FB_MESSAGE) ? SW_SHOW : SW_HIDE);

    makeBar(frame, font, FB_STANDARD, 0xC001, standard, standardCount, FRAME_BAR_BUTTON,
            (bits & FB_STANDARD) != 0);
    HWND left = makeBar(frame, font, FB_LEFT, 0xC000, tbModeToolTable, tbModeToolCount,
                        FRAME_BAR_BUTTON, TRUE);
    blSetToolList(left);
    if (bits & FB_RIGHT)
        appShowRightBar(frame, TRUE);
    if (bits & FB_BOTTOM)
        appShowBottomBar(frame, TRUE);

    // The MDI client, with the "&Win" menu (the second-to-last pop-up).
    CLIENTCREATESTRUCT ccs = {};
    HMENU menu = GetMenu(frame);
    int items = menu ? GetMenuItemCount(menu) : 0;
    ccs.hWindowMenu = items >= 2 ? GetSubMenu(menu, items - 2) : nullptr;
    ccs.idFirstChild = FRAME_FIRST_CHILD_ID;
    appGetBarRect(frame, FB_CLIENT, &r);
    HWND client = CreateWindowExA(WS_EX_CLIENTEDGE, "mdiclient", nullptr,
                                  WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL
                                      | WS_HSCROLL,
                                  r.left, r.top, r.right - r.left, r.bottom - r.top, frame,
                                  (HMENU)(INT_PTR)FRAME_MDI_CLIENT_ID,
                                  (HINSTANCE)GetWindowLongPtrA(frame, GWLP_HINSTANCE), &ccs);
    appSetMdiClient(frame, client);
    if (client)
        ShowWindow(client, SW_SHOW);
    return TRUE;
}

// ---- closing -------------------------------------------------------------------------------

BOOL appCloseAllDocuments(HWND frame)
{
    for (HWND w : appListDocWindows(frame)) {
        if (!IsWindow(w))
            continue;
        // A window that is still there after WM_CLOSE refused to close,
        // whatever it answered.
        if (SendMessageA(w, WM_CLOSE, 0, 0) != 0 || IsWindow(w))
            return FALSE;
    }
    return TRUE;
}

BOOL appQueryCloseDocuments(HWND frame)
{
    for (HWND w : appListDocWindows(frame))
        if (IsWindow(w) && !dwQuerySave(w))
            return FALSE;
    return TRUE;
}

BOOL appSaveFrameState(HWND frame)
{
    // The bar record goes at the end of the save: without it the state was
    // saved already.
    if (appGetBarBits(frame) < 0)
        return TRUE;
    char text[UT_PATH_SIZE];
    setPutString("ImportDir", fcGetImportPath(text));
    setPutString("ExportDir", fcGetExportPath(text));

    setPutString("motool_Win", appGetMoreObjectsRect(text));
    setPutString("txtool_Win", appGetTextToolRect(text));
    neWriteSettingsValue();

    utEndRecentFiles();
    utFreeDateNames();

    COLORREF custom[CLR_CUSTOM_COUNT];
    clrGetCustomColors(custom);
    setPutCustomColors(custom);
    clrSaveStartupPalette(setGetHomeFilePath(text, "vellum.pal"));

    appSaveFrameSettings(frame, setGetHomeFilePath(text, "~qmsetup"));
    fcStopAutoSave(frame);
    appFreeBarRecord(frame);
    return TRUE;
}

// ---- the window procedure -------------------------------------------------------------------

LRESULT CALLBACK FrameWndProc(HWND frame, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND client = appGetMdiClient(frame);
    switch (msg) {
    case WM_CREATE:
        if (!newFrameRecord(frame) || !appOnFrameCreate(frame))
            return -1;
        cpClearPreviousSettings();
        setNextViewer(frame, SetClipboardViewer(frame));
        return 0;
    case WM_DESTROY:
        tmplCloseCollection();
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        // The bars and the message bar used the UI font until now. The
        // process-wide copy is the font itself; long 0 holds its low 32 bits.
        if (appGetFrameWindow() == frame) {
            appDeleteUiFont(appGetFrameFont());
            appSetFrameFont(nullptr);
            appSetFrameWindow(nullptr);
        }
        SetWindowLongA(frame, FRAME_LONG_FONT, 0);
        break;
    case WM_SIZE:
        appLayoutBars(frame);
        return 0;
    case WM_CLOSE:
        if (!appCloseAllDocuments(frame))
            return 0;
        appSaveFrameState(frame);
        clipEmptyOwn(frame);
        leaveChainAndFreeRecord(frame);
        break;
    case WM_QUERYENDSESSION:
        // The session may still go on: the documents are only asked here.
        return appQueryCloseDocuments(frame);
    case WM_ENDSESSION:
        if (wParam) {
            appSaveFrameState(frame);
            leaveChainAndFreeRecord(frame);
        }
        return 0;
    case WM_GETMINMAXINFO:
        break;
    case WM_DRAWITEM:
        if (wParam == 0 && hatchDrawMenuItem((DRAWITEMSTRUCT *)lParam))
            return TRUE;
        break;
    case WM_MEASUREITEM:
        if (wParam == 0 && hatchMeasureMenuItem((MEASUREITEMSTRUCT *)lParam))
            return TRUE;
        break;
    case WM_NOTIFY:
        return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
        return 0;
    case WM_COMMAND:
        if (appOnFrameCommand(frame, client, appGetActiveWorkspace(), wParam, lParam) == 0)
            return 0;
        break;
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam) == 0)
            appInitMenuPopup(frame, (HMENU)wParam);
        return 0;
    case WM_DROPFILES:
        appOnDropFiles(frame, (HDROP)wParam);
        return 0;
    case WM_COPYDATA: {
        const COPYDATASTRUCT *data = (const COPYDATASTRUCT *)lParam;
        if (!data || data->dwData != APP_COPYDATA_OPEN_FILE || !data->lpData || !data->cbData)
            return FALSE;
        std::string path((const char *)data->lpData,
                         strnlen((const char *)data->lpData, data->cbData));
        appOpenHandedOverFile(frame, path.c_str());
        return TRUE;
    }
    case WM_DRAWCLIPBOARD:
        clipUpdatePasteButton(frame, msg, wParam, lParam);
        return 0;
    case WM_CHANGECBCHAIN: {
        HWND next = nextViewer(frame);
        if ((HWND)wParam == next)
            setNextViewer(frame, (HWND)lParam);
        else if (next)
            SendMessageA(next, msg, wParam, lParam);
        return 0;
    }
    default:
        if (msg == appProbeMessage() && msg)
            return appAnswerProbe(frame, wParam, lParam);
        if (winIsWheelMessage(msg)) {
            appOnMouseWheel(frame, wParam, lParam);
            return 0;
        }
        break;
    }
    if (client)
        return DefFrameProcA(frame, client, msg, wParam, lParam);
    if (msg == WM_SETFOCUS) {
        std::vector<HWND> docs = appListDocWindows(frame);
        if (!docs.empty())
            SetFocus(docs.front());
        return 0;
    }
    return DefWindowProcA(frame, msg, wParam, lParam);
}

// ---- dropped files and the wheel -------------------------------------------------------------

namespace {
void sendDroppedDocuments(HWND target, HDROP drop)
{
    UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < n; ++i) {
        UINT len = DragQueryFileA(drop, i, nullptr, 0);
        if (len == 0)
            continue;
        std::vector<char> name(len + 1);
        if (DragQueryFileA(drop, i, name.data(), len + 1) == 0)
            continue;
        if (!qmfIsDocumentFile(name.data()))
            continue;
        if (MemHandle h = utHandleFromString(name.data()))
            SendMessageA(target, WM_COMMAND, 111, (LPARAM)h);
    }
}
}  // namespace

void appOnDropFiles(HWND frame, HDROP drop)
{
    POINT pt;
    DragQueryPoint(drop, &pt);
    RECT area;
    appGetBarRect(frame, FB_CLIENT, &area);
    if (PtInRect(&area, pt))
        sendDroppedDocuments(frame, drop);
    DragFinish(drop);
    SetFocus(frame);
}

void appOnWorkspaceDropFiles(HWND target, HDROP drop)
{
    sendDroppedDocuments(target, drop);
    DragFinish(drop);
    if (HWND frame = appGetFrameWindow())
        SetFocus(frame);
}

int32_t appWheelScrollTwips(int wheelDelta, int linesPerNotch)
{
    int32_t amount = -(linesPerNotch * 1440) / 4;
    return wheelDelta < 0 ? -amount : amount;
}

void appOnMouseWheel(HWND, WPARAM wParam, LPARAM lParam)
{
    HWND ws = appGetActiveWorkspace();
    if (!ws)
        return;
    int delta = (short)HIWORD(wParam);
    if (GetKeyState(VK_CONTROL) < 0) {
        wsZoomWheelStep(ws, delta);
        return;
    }
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    RECT r;
    GetWindowRect(ws, &r);
    if (!PtInRect(&r, pt))
        return;
    if (wsScrollByLogY(ws, appWheelScrollTwips(delta, winWheelScrollLines()))) {
        wsInvalidateRulers(ws, 2);
        wsUpdateRulers(ws, 2);
    }
}

void appResetFrameModule()
{
    appSetFrameWindow(nullptr);
    appSetFrameFont(nullptr);
}
