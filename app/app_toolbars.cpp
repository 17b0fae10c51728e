#include "app/app_toolbars.h"
#include "app/app_frame.h"
#include "app/app_frame_bars.h"
#include "support/app_frame_globals.h"
#include "support/settings_reg.h"
#include "model/setup_record.h"
#include "commands/app_stdbar.h"
#include "controls/btnlist.h"
#include "controls/tb_table.h"
#include <stdio.h>

namespace {
HWND g_moreObjects = nullptr;
HWND g_textTool = nullptr;

HWND live(HWND &w)
{
    if (w && !IsWindow(w))
        w = nullptr;
    return w;
}

void relayout(HWND frame)
{
    RECT r;
    if (HWND client = appGetMdiClient(frame)) {
        appGetBarRect(frame, FB_CLIENT, &r);
        MoveWindow(client, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
    appLayoutBars(frame);
}

// After a bar was made or destroyed: its window and bit follow whether it
// exists, and the MDI client and the bars are laid out again.
void settleBar(HWND frame, uint16_t bit, HWND bar)
{
    appSetBarWindow(frame, bit, bar);
    appShowBar(frame, bit, bar != nullptr);
    relayout(frame);
}

HWND openPalette(HWND frame, HWND &slot, const RECT *rect, uint16_t id, const ToolButton *table,
                 int count, const char *title)
{
    if (live(slot)) {
        SetFocus(slot);
        return slot;
    }
    RECT place;
    if (rect) {
        place = *rect;
    } else {
        // Beside the MDI client's right edge, kept inside its rectangle.
        RECT client = {};
        if (HWND mdi = appGetMdiClient(frame))
            GetWindowRect(mdi, &client);
        SIZE size = blFloatingClientSize(count, 24, 24);
        place.left = client.right - size.cx - 24;
        place.top = client.top + 8;
        if (place.left < client.left)
            place.left = client.left;
        place.right = place.left + size.cx;
        place.bottom = place.top + size.cy;
    }
    slot = blCreate(frame, appGetFrameFont(), id, &place, APP_PALETTE_STYLE, table, count, 24, 24,
                    FALSE);
    if (slot) {
        SetWindowTextA(slot, title);
        ShowWindow(slot, SW_SHOWNOACTIVATE);
    }
    return slot;
}

char *rectText(HWND window, char *buffer)
{
    buffer[0] = 0;
    if (window && IsWindow(window)) {
        RECT r;
        GetWindowRect(window, &r);
        snprintf(buffer, 64, "%d %d %d %d", (int)r.left, (int)r.top, (int)r.right,
                 (int)r.bottom);
    }
    return buffer;
}

void restoreFrom(HWND frame, const char *name, bool more)
{
    int32_t v[4];
    if (!setGetNumberList(name, v, 4))
        return;
    RECT r = {v[0], v[1], v[2], v[3]};
    if (!appPlaceStoredRect(&r, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)))
        return;
    if (more)
        appOpenMoreObjects(frame, &r);
    else
        appOpenTextTool(frame, &r);
}
}  // namespace

void appShowRightBar(HWND frame, BOOL show)
{
    HWND bar = appGetBarWindow(frame, FB_RIGHT);
    if (show && !bar) {
        appSetBarWindow(frame, FB_RIGHT, nullptr);
        appShowBar(frame, FB_RIGHT, TRUE);
        RECT r;
        appGetBarRect(frame, FB_RIGHT, &r);
        bar = blCreate(frame, appGetFrameFont(), FB_RIGHT, &r, 0xC010, tbMoveSizeTable,
                       tbMoveSizeCount, 24, 24, TRUE);
    } else if (!show && bar) {
        blDestroy(bar);
        bar = nullptr;
    }
    settleBar(frame, FB_RIGHT, bar);
}

void appToggleRightBar(HWND frame)
{
    appShowRightBar(frame, appGetBarWindow(frame, FB_RIGHT) == nullptr);
}

void appShowBottomBar(HWND frame, BOOL show)
{
    HWND bar = appGetBarWindow(frame, FB_BOTTOM);
    if (!show && bar) {
        DestroyWindow(bar);
        bar = nullptr;
    }
    // The command-entry window that fills the bar is not there yet: the bar
    // is never made, and its bit follows.
    settleBar(frame, FB_BOTTOM, bar);
}

void appToggleBottomBar(HWND frame)
{
    appShowBottomBar(frame, appGetBarWindow(frame, FB_BOTTOM) == nullptr);
}

HWND appOpenMoreObjects(HWND frame, const RECT *rect)
{
    return openPalette(frame, g_moreObjects, rect, APP_MORE_OBJECTS_ID, tbMoreObjectsTable,
                       tbMoreObjectsCount, "More Objects");
}

HWND appOpenTextTool(HWND frame, const RECT *rect)
{
    return openPalette(frame, g_textTool, rect, APP_TEXT_TOOL_ID, tbTextFlowTable,
                       tbTextFlowCount, "Text Tool");
}

void appToggleTextTool(HWND frame)
{
    if (live(g_textTool)) {
        blDestroy(g_textTool);
        g_textTool = nullptr;
    } else {
        appOpenTextTool(frame, nullptr);
    }
}

BOOL appIsTextToolOpen() { return live(g_textTool) != nullptr; }
HWND appGetMoreObjectsWindow() { return live(g_moreObjects); }
HWND appGetTextToolWindow() { return live(g_textTool); }

void appForgetToolWindow(HWND, HWND window)
{
    if (window && window == g_moreObjects)
        g_moreObjects = nullptr;
    if (window && window == g_textTool)
        g_textTool = nullptr;
}

BOOL appPlaceStoredRect(RECT *r, int screenWidth, int screenHeight)
{
    if (r->right - r->left <= 0 || r->bottom - r->top <= 0)
        return FALSE;
    if (r->left < 0)
        OffsetRect(r, -r->left, 0);
    if (r->top < 0)
        OffsetRect(r, 0, -r->top);
    if (r->right > screenWidth)
        OffsetRect(r, screenWidth - r->right, 0);
    if (r->bottom > screenHeight)
        OffsetRect(r, 0, screenHeight - r->bottom);
    return TRUE;
}

void appRestoreToolWindows(HWND frame)
{
    restoreFrom(frame, "motool_Win", true);
    restoreFrom(frame, "txtool_Win", false);
}

char *appGetMoreObjectsRect(char *buffer) { return rectText(live(g_moreObjects), buffer); }
char *appGetTextToolRect(char *buffer) { return rectText(live(g_textTool), buffer); }

BOOL appIsMoreObjectsType(int16_t type)
{
    for (int i = 0; i < tbMoreObjectsCount; ++i)
        if (tbMoreObjectsTable[i].objType == type)
            return TRUE;
    static const int16_t kOthers[] = {400, 401, 405, 406, 421, 422, 431, 432, 441, 442, 480, 481};
    for (int16_t t : kOthers)
        if (t == type)
            return TRUE;
    return FALSE;
}

void appReleaseToolButton(HWND, int16_t type)
{
    if (appIsMoreObjectsType(type)) {
        if (HWND bar = appGetDrawToolBar())
            blReleaseSelection(bar);
    } else {
        appReleaseMoreObjects();
    }
}

void appReleaseMoreObjects()
{
    if (HWND more = live(g_moreObjects))
        blReleaseSelection(more);
}

void appSetDrawBarButton(uint16_t command, BOOL enabled)
{
    if (HWND bar = appGetDrawToolBar())
        blEnableButton(bar, command, enabled);
}

void appSetCutCopyButtons(BOOL cut, BOOL copy)
{
    appSetStdBarButton(201, cut);
    appSetStdBarButton(202, copy);
}

void appSetClipboardButtons(BOOL cut, BOOL copy, BOOL paste)
{
    appSetCutCopyButtons(cut, copy);
    appSetStdBarButton(203, paste);
}

void appSetCornerButtons(BOOL state)
{
    appSetStdBarButton(439, state);
    appSetStdBarButton(2100, state);
}

BOOL appTextToolFloats() { return (setGetFlagBits() & SETUP_FLAG_SMOOTH_FONTS) != 0; }

void appSetTextToolFloats(BOOL on) { setPutFlagBits(SETUP_FLAG_SMOOTH_FONTS, on); }

namespace {
const struct {
    int code, command;
} kZoom[] = {
    {-101, 176}, {-20, 181}, {-21, 182}, {-3, 183}, {-5, 184}, {-1, 185}, {-4, 186},
    {-2, 187},   {-6, 188},  {-100, 189}, {125, 2250}, {150, 2251},
};
}  // namespace

int appZoomCodeToCommand(int code)
{
    for (auto &z : kZoom)
        if (z.code == code)
            return z.command;
    if (code == -300)
        return 179;
    if (code == -200)
        return 180;
    return 0;
}

int appCommandToZoomCode(int command)
{
    for (auto &z : kZoom)
        if (z.command == command)
            return z.code;
    return 100;
}

void appResetToolbarModule()
{
    g_moreObjects = nullptr;
    g_textTool = nullptr;
}
