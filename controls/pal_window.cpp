// The colour palette window: the classic strip and the second style.
#include "controls/pal_window.h"
#include "controls/btnlist.h"
#include "controls/pal_dialogs.h"
#include "controls/pal_file.h"
#include "controls/scrollbtn.h"
#include "controls/tb_table.h"
#include "support/app_frame_globals.h"
#include "support/gdi_edge.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_menu.h"
#include "support/win_window.h"
#include "resource.h"
#include <string.h>
#include <vector>

const char clrStripClass[] = "qm_clrmenu";
const char clrColor2Class[] = "qm_color2";

namespace {

// Module state: the style flag and the windows of either style.
BOOL g_classic = TRUE;
HWND g_strip = nullptr;
HWND g_color2 = nullptr;
HWND g_color2List = nullptr;

const COLORREF kHighlightPen = RGB(0, 0, 0);
const COLORREF kXInvertPen = 0x8000FF;
const COLORREF kGripDark = 0x408080;

// What WM_CREATE of either window starts from.
struct CreateParams {
    const COLORREF *colours;
    int count;
    COLORREF foreground, background, frame;
    uint16_t changeCommand, pickCommand;
};

MemHandle recordOf(HWND window)
{
    return window && IsWindow(window) ? (MemHandle)(uint32_t)GetWindowLongA(window, 0) : 0;
}

// Runs an edit on a window's record; false when the window has none.
template <typename F>
bool withRecord(HWND window, F edit)
{
    MemHandle rec = recordOf(window);
    if (!rec)
        return false;
    MemLock<ColorMenuRecord> r(rec);
    if (!r)
        return false;
    edit(*r.get());
    return true;
}

// The window whose colours the palette operations address: the second
// style when it exists, else the strip.
HWND colourWindow()
{
    return g_color2 ? g_color2 : g_strip;
}

std::vector<COLORREF> coloursOf(const ColorMenuRecord &r)
{
    std::vector<COLORREF> out;
    if (!r.colours || r.count <= 0)
        return out;
    MemLock<COLORREF> c(r.colours);
    if (c && utHandleSize(r.colours) >= 4u * (uint32_t)r.count)
        out.assign(c.get(), c.get() + r.count);
    return out;
}

std::vector<COLORREF> coloursOf(HWND window)
{
    ColorMenuRecord r;
    return clrGetRecord(window, &r) ? coloursOf(r) : std::vector<COLORREF>();
}

void rebuildPalette(ColorMenuRecord &r, const COLORREF *colours, int count)
{
    HPALETTE old = qmU32ToHandle<HPALETTE>(r.palette);
    r.palette = qmHandleToU32(clrCreateGdiPalette(colours, count));
    if (old)
        DeleteObject(old);
}

// Puts new colours into a window's record and rebuilds its GDI palette;
// false when memory is short (the window then keeps its colours).
bool storeColours(HWND window, const COLORREF *colours, int count)
{
    if (count < 0 || !colours)
        count = 0;
    if (count > CLR_MAX_COLORS)
        count = CLR_MAX_COLORS;
    if (!recordOf(window))
        return false;
    MemHandle copy = count ? utHandleFromBytes(colours, 4u * (uint32_t)count) : 0;
    if (count && !copy)
        return false;
    withRecord(window, [&](ColorMenuRecord &r) {
        utFreeHandle(r.colours);
        r.colours = copy;
        r.count = (int16_t)count;
        if (r.highlighted >= count)
            r.highlighted = -1;
        rebuildPalette(r, colours, count);
    });
    return true;
}

bool stripGeometry(HWND strip, const ColorMenuRecord &r, ClrStripGeometry *g)
{
    RECT client;
    if (!GetClientRect(strip, &client))
        return false;
    clrStripLayout(client, r.indicator != 0, g);
    return true;
}

// The colour of a target among the three current colours.
COLORREF targetColour(const ColorMenuRecord &r, int target)
{
    return target == CLR_TARGET_FOREGROUND ? r.foreground
           : target == CLR_TARGET_FRAME    ? r.frame
                                           : r.background;
}

void invalidateSwatch(HWND strip, const ColorMenuRecord &r, int index)
{
    ClrStripGeometry g;
    RECT rect;
    if (index >= 0 && stripGeometry(strip, r, &g) && clrSwatchRect(g, r.first, index, &rect))
        InvalidateRect(strip, &rect, FALSE);
}

void invalidateIndicator(HWND strip)
{
    ColorMenuRecord r;
    ClrStripGeometry g;
    if (clrGetRecord(strip, &r) && r.indicator && stripGeometry(strip, r, &g)) {
        RECT rect = g.indicator;
        rect.right += 1;   // with the black line on its right edge
        InvalidateRect(strip, &rect, FALSE);
    }
}

void postToParent(HWND window, WPARAM wParam, LPARAM lParam)
{
    HWND parent = GetParent(window);
    if (parent)
        PostMessageA(parent, WM_COMMAND, wParam, lParam);
}

uint16_t pickCommandOf(const ColorMenuRecord &r)
{
    return r.pickCommand ? r.pickCommand : CLR_CMD_PICKED;
}

uint16_t changeCommandOf(const ColorMenuRecord &r)
{
    return r.changeCommand ? r.changeCommand : CLR_CMD_CHANGED;
}

// Places the strip's scroll buttons for its size: the right one only when
// the strip is wider than 64 pixels.
void placeScrollButtons(HWND strip)
{
    ColorMenuRecord r;
    ClrStripGeometry g;
    if (!clrGetRecord(strip, &r) || !stripGeometry(strip, r, &g))
        return;
    RECT client;
    GetClientRect(strip, &client);
    HWND back = qmU32ToHandle<HWND>(r.scrollBack);
    HWND forward = qmU32ToHandle<HWND>(r.scrollForward);
    if (back)
        MoveWindow(back, g.scrollBack.left, g.scrollBack.top, g.scrollBack.right - g.scrollBack.left,
                   g.scrollBack.bottom - g.scrollBack.top, TRUE);
    if (forward) {
        MoveWindow(forward, g.scrollForward.left, g.scrollForward.top,
                   g.scrollForward.right - g.scrollForward.left,
                   g.scrollForward.bottom - g.scrollForward.top, TRUE);
        ShowWindow(forward, client.right > 64 ? SW_SHOWNA : SW_HIDE);
    }
}

// Fills a new record from the creation parameters.
MemHandle newRecord(const CreateParams &p, bool strip)
{
    MemHandle rec = utAllocHandle(0, sizeof(ColorMenuRecord));
    if (!rec)
        return 0;
    MemHandle colours = 0;
    int16_t count = 0;
    if (p.colours && p.count > 0) {
        count = (int16_t)(p.count > CLR_MAX_COLORS ? CLR_MAX_COLORS : p.count);
        colours = utHandleFromBytes(p.colours, 4u * (uint32_t)count);
        if (!colours)
            count = 0;
    } else if (!p.colours) {
        colours = clrLoadStartupColors(&count);
    }
    std::vector<COLORREF> copy;
    if (colours) {
        MemLock<COLORREF> c(colours);
        copy.assign(c.get(), c.get() + count);
    }
    MemLock<ColorMenuRecord> r(rec);
    r->colours = colours;
    r->count = count;
    r->highlighted = -1;
    r->foreground = p.foreground;
    r->frame = p.frame;
    r->background = p.background;
    r->changeCommand = p.changeCommand;
    r->pickCommand = p.pickCommand;
    r->first = 0;
    r->target = CLR_TARGET_BACKGROUND;
    r->indicator = strip ? 1 : 0;
    rebuildPalette(*r.get(), copy.data(), count);
    return rec;
}

void freeRecord(HWND window)
{
    MemHandle rec = recordOf(window);
    if (!rec)
        return;
    {
        MemLock<ColorMenuRecord> r(rec);
        if (r) {
            utFreeHandle(r->colours);
            HPALETTE pal = qmU32ToHandle<HPALETTE>(r->palette);
            if (pal)
                DeleteObject(pal);
        }
    }
    utFreeHandle(rec);
    SetWindowLongA(window, 0, 0);
}

void forgetWindow(HWND window)
{
    if (g_strip == window)
        g_strip = nullptr;
    if (g_color2 == window) {
        g_color2 = nullptr;
        g_color2List = nullptr;
    }
}

// Shows a menu of the resources at the message's point; its command comes
// back to the window.
void trackMenu(HWND window, const char *name, LPARAM lParam, UINT checkedId)
{
    HMENU bar = LoadMenuA(winGetInstance(window), name);
    if (!bar)
        return;
    HMENU popup = GetSubMenu(bar, 0);
    if (popup) {
        if (checkedId)
            CheckMenuItem(popup, checkedId, MF_BYCOMMAND | MF_CHECKED);
        POINT pt;
        winLParamToPoint(lParam, &pt);
        ClientToScreen(window, &pt);
        winTrackPopup(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, window);
    }
    DestroyMenu(bar);
}

const char *targetName(int target)
{
    return target == CLR_TARGET_FOREGROUND ? "Foreground Color"
           : target == CLR_TARGET_FRAME    ? "Frame Color"
                                           : "Background Color";
}

// Sets one of the three current colours of the palette window.
void setCurrent(int target, COLORREF colour)
{
    HWND window = colourWindow();
    if (!withRecord(window, [&](ColorMenuRecord &r) {
            if (target == CLR_TARGET_FOREGROUND)
                r.foreground = colour;
            else if (target == CLR_TARGET_FRAME)
                r.frame = colour;
            else
                r.background = colour;
        }))
        return;
    if (window == g_color2) {
        uint16_t button = target == CLR_TARGET_FOREGROUND ? CLR_BTN_FOREGROUND
                          : target == CLR_TARGET_FRAME    ? CLR_BTN_FRAME
                                                          : CLR_BTN_BACKGROUND;
        if (g_color2List)
            blSetButtonColor(g_color2List, button, colour);
        return;
    }
    clrUpdateHighlight(window);
    invalidateIndicator(window);
}

COLORREF getCurrent(int target)
{
    ColorMenuRecord r;
    return clrGetRecord(colourWindow(), &r) ? targetColour(r, target) : 0;
}

// ---- the strip's messages --------------------------------------------------------------

void stripLeftDown(HWND strip, LPARAM lParam)
{
    ColorMenuRecord r;
    ClrStripGeometry g;
    if (!clrGetRecord(strip, &r) || !stripGeometry(strip, r, &g))
        return;
    POINT pt;
    winLParamToPoint(lParam, &pt);
    if (r.indicator && PtInRect(&g.indicator, pt)) {
        RECT frameSq, foreSq;
        clrIndicatorSquares(g.indicator, &frameSq, &foreSq);
        int target = PtInRect(&foreSq, pt)    ? CLR_TARGET_FOREGROUND
                     : PtInRect(&frameSq, pt) ? CLR_TARGET_FRAME
                                              : CLR_TARGET_BACKGROUND;
        withRecord(strip, [&](ColorMenuRecord &rr) { rr.target = (int16_t)target; });
        clrUpdateHighlight(strip);
        invalidateIndicator(strip);
        return;
    }
    int index = clrStripHitTest(g, r.first, r.count, pt);
    clrSetHighlight(strip, index);
    if (index < 0)
        return;
    COLORREF colour = coloursOf(r)[(size_t)index];
    if (strip == g_strip)
        clrSetTargetColor(colour);
    postToParent(strip, pickCommandOf(r), (LPARAM)colour);
}

void stripDoubleClick(HWND strip, LPARAM lParam)
{
    ColorMenuRecord r;
    ClrStripGeometry g;
    if (!clrGetRecord(strip, &r) || !r.indicator || !stripGeometry(strip, r, &g))
        return;
    POINT pt;
    winLParamToPoint(lParam, &pt);
    if (PtInRect(&g.indicator, pt)) {
        COLORREF colour = targetColour(r, r.target);
        if (!clrPickColor(strip, targetName(r.target), &colour))
            return;
        if (strip == g_strip)
            clrSetTargetColor(colour);
        clrUpdateHighlight(strip);
        postToParent(strip, pickCommandOf(r), (LPARAM)colour);
        return;
    }
    int index = clrStripHitTest(g, r.first, r.count, pt);
    if (index < 0)
        return;
    COLORREF colour = coloursOf(r)[(size_t)index];
    if (!clrPickColor(strip, "Change Palette Color", &colour))
        return;
    if (strip == g_strip)
        clrReplaceColor(index, colour);
    postToParent(strip, changeCommandOf(r), 0);
}

void stripRightDown(HWND strip, LPARAM lParam)
{
    ColorMenuRecord r;
    ClrStripGeometry g;
    if (!clrGetRecord(strip, &r) || !stripGeometry(strip, r, &g))
        return;
    POINT pt;
    winLParamToPoint(lParam, &pt);
    if (r.indicator && PtInRect(&g.indicator, pt)) {
        UINT checked = r.target == CLR_TARGET_FOREGROUND ? CLR_CMD_SET_FOREGROUND
                       : r.target == CLR_TARGET_FRAME    ? CLR_CMD_SET_FRAME
                                                         : CLR_CMD_SET_BACKGROUND;
        trackMenu(strip, "CLR_TARGET_MENU", lParam, checked);
        return;
    }
    int index = clrStripHitTest(g, r.first, r.count, pt);
    if (index >= 0)
        clrSetHighlight(strip, index);
    trackMenu(strip, "CLR_STRIP_MENU", lParam, 0);
}

void stripScroll(HWND strip, int command)
{
    ColorMenuRecord r;
    ClrStripGeometry g;
    if (!clrGetRecord(strip, &r) || !stripGeometry(strip, r, &g))
        return;
    int columns = (r.count + 1) / 2;
    int visible = clrVisibleColumns(g);
    int dx = 0;
    if (command == CLR_CMD_SCROLL_BACK && r.first > 0)
        dx = CLR_SWATCH_PITCH;
    else if (command == CLR_CMD_SCROLL_FORWARD && r.first < columns - 1 &&
             visible < columns - r.first)
        dx = -CLR_SWATCH_PITCH;
    if (!dx)
        return;
    withRecord(strip, [&](ColorMenuRecord &rr) { rr.first += dx > 0 ? -1 : 1; });
    RECT area = g.area;
    area.right -= 1;
    ScrollWindowEx(strip, dx, 0, &area, &area, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
}

void stripCommand(HWND strip, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case CLR_CMD_SET_FOREGROUND:
    case CLR_CMD_SET_FRAME:
    case CLR_CMD_SET_BACKGROUND: {
        int target = LOWORD(wParam) == CLR_CMD_SET_FOREGROUND ? CLR_TARGET_FOREGROUND
                     : LOWORD(wParam) == CLR_CMD_SET_FRAME    ? CLR_TARGET_FRAME
                                                              : CLR_TARGET_BACKGROUND;
        withRecord(strip, [&](ColorMenuRecord &r) { r.target = (int16_t)target; });
        clrUpdateHighlight(strip);
        invalidateIndicator(strip);
        break;
    }
    case CLR_CMD_HELP_COLOR:
        utHelpKeyword(strip, "Color");
        break;
    case CLR_CMD_HELP:
        utHelpKeyword(strip, "Color Palette");
        break;
    case CLR_CMD_SCROLL_BACK:
    case CLR_CMD_SCROLL_FORWARD:
        stripScroll(strip, LOWORD(wParam));
        break;
    case CLR_CMD_SWITCH_STYLE:
    case CLR_CMD_EDIT:
    case CLR_CMD_OPEN:
    case CLR_CMD_SAVE:
    case CLR_CMD_RESET:
    case CLR_CMD_PICK:
        postToParent(strip, wParam, lParam);
        break;
    }
}

bool createRecord(HWND window, LPARAM lParam, bool strip)
{
    const CREATESTRUCTA *cs = (const CREATESTRUCTA *)lParam;
    const CreateParams *p = cs ? (const CreateParams *)cs->lpCreateParams : nullptr;
    CreateParams none = {nullptr, 0, 0, 0xFFFFFF, 0, 0, 0};
    MemHandle rec = newRecord(p ? *p : none, strip);
    if (!rec)
        return false;
    SetWindowLongA(window, 0, (LONG)rec);
    return true;
}

LRESULT CALLBACK stripProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        if (!createRecord(hwnd, lParam, true))
            return -1;
        RECT none = {0, 0, CLR_SCROLL_WIDTH, 1};
        HWND back = ctlCreateScrollBtn(hwnd, &none, CLR_CMD_SCROLL_BACK, "left");
        HWND forward = ctlCreateScrollBtn(hwnd, &none, CLR_CMD_SCROLL_FORWARD, "right");
        withRecord(hwnd, [&](ColorMenuRecord &r) {
            r.scrollBack = qmHandleToU32(back);
            r.scrollForward = qmHandleToU32(forward);
        });
        placeScrollButtons(hwnd);
        clrUpdateHighlight(hwnd);
        return 0;
    }
    case WM_SIZE:
        placeScrollButtons(hwnd);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        clrPaintStrip(hwnd, dc, ps.rcPaint);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        stripLeftDown(hwnd, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        stripDoubleClick(hwnd, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        stripRightDown(hwnd, lParam);
        return 0;
    case WM_COMMAND:
        stripCommand(hwnd, wParam, lParam);
        return 0;
    case WM_DESTROY:
        freeRecord(hwnd);
        forgetWindow(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// ---- the second style's messages ---------------------------------------------------------

void color2PlaceList(HWND window)
{
    if (window != g_color2 || !g_color2List)
        return;
    RECT client;
    GetClientRect(window, &client);
    MoveWindow(g_color2List, CLR_GRIP_WIDTH, 0, client.right - CLR_GRIP_WIDTH, client.bottom, TRUE);
}

// A target button: the colour grid pop-up below the button on the target's
// colour; a pick becomes the target's colour and is told to the parent.
void color2PickFor(HWND window, uint16_t button)
{
    int target = button == CLR_BTN_FOREGROUND ? CLR_TARGET_FOREGROUND
                 : button == CLR_BTN_FRAME    ? CLR_TARGET_FRAME
                                              : CLR_TARGET_BACKGROUND;
    POINT pt = {0, 0};
    if (g_color2List) {
        int index = blFindButton(g_color2List, button);
        RECT r = {0, 0, 0, 0};
        if (index >= 0)
            blGetButtonRect(g_color2List, index, &r);
        pt.x = r.left;
        pt.y = r.bottom;
        ClientToScreen(g_color2List, &pt);
    }
    COLORREF colour = getCurrent(target);
    if (!clrColorPopup(window, &colour, pt))
        return;
    setCurrent(target, colour);
    uint16_t notify = target == CLR_TARGET_FOREGROUND ? CLR_CMD_NEW_FOREGROUND
                      : target == CLR_TARGET_FRAME    ? CLR_CMD_NEW_FRAME
                                                      : CLR_CMD_NEW_BACKGROUND;
    postToParent(window, notify, (LPARAM)colour);
}

void color2Command(HWND window, WPARAM wParam, LPARAM lParam)
{
    uint16_t id = LOWORD(wParam);
    switch (id) {
    case CLR_BTN_FOREGROUND:
    case CLR_BTN_BACKGROUND:
    case CLR_BTN_FRAME:
        color2PickFor(window, id);
        return;
    case CLR_BTN_MANAGER:
    case CLR_CMD_EDIT:
        clrPaletteManagerDlg(window);
        return;
    case CLR_CMD_HELP:
        utHelpKeyword(window, "Color Palette");
        return;
    case BL_NOTIFY_CLOSING:
    case BL_NOTIFY_CLOSED:
        // The window's own list going with it is no news to the frame.
        if (HIWORD(wParam) == CLR_COLOR2_LIST_ID || (HWND)lParam == g_color2List)
            return;
        break;
    }
    postToParent(window, wParam, lParam);
}

LRESULT CALLBACK color2Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        if (!createRecord(hwnd, lParam, false))
            return -1;
        RECT client;
        GetClientRect(hwnd, &client);
        RECT listRect = {CLR_GRIP_WIDTH, 0, client.right, client.bottom};
        if (listRect.right <= listRect.left)
            listRect.right = listRect.left + CLR_COLOR2_BUTTON;
        HWND list = blCreateShown(hwnd, appGetFrameFont(), CLR_COLOR2_LIST_ID, &listRect,
                                  BLS_FLAT | BLS_ROW, tbColorTargetTable, tbColorTargetCount,
                                  CLR_COLOR2_BUTTON, CLR_COLOR2_BUTTON);
        g_color2 = hwnd;
        g_color2List = list;
        ColorMenuRecord r;
        if (list && clrGetRecord(hwnd, &r)) {
            blSetButtonColor(list, CLR_BTN_FOREGROUND, r.foreground);
            blSetButtonColor(list, CLR_BTN_BACKGROUND, r.background);
            blSetButtonColor(list, CLR_BTN_FRAME, r.frame);
        }
        return 0;
    }
    case WM_SIZE:
        color2PlaceList(hwnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        clrPaintGrip(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_RBUTTONDOWN:
        trackMenu(hwnd, "CLR_COLOR2_MENU", lParam, 0);
        return 0;
    case WM_COMMAND:
        color2Command(hwnd, wParam, lParam);
        return 0;
    case WM_DESTROY:
        freeRecord(hwnd);
        forgetWindow(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

// ---- strip geometry ---------------------------------------------------------------------

void clrStripLayout(const RECT &client, bool indicator, ClrStripGeometry *g)
{
    SetRectEmpty(&g->indicator);
    int backLeft = client.left;
    if (indicator) {
        SetRect(&g->indicator, client.left, client.top, client.left + CLR_INDICATOR_WIDTH,
                client.bottom);
        backLeft = client.left + CLR_INDICATOR_WIDTH + 1;
    }
    SetRect(&g->scrollBack, backLeft, client.top, backLeft + CLR_SCROLL_WIDTH, client.bottom);
    SetRect(&g->scrollForward, client.right + 1 - CLR_SCROLL_WIDTH, client.top, client.right + 1,
            client.bottom);
    SetRect(&g->area, g->scrollBack.right, client.top, client.right - 15, client.bottom);
    g->half = (g->area.bottom - g->area.top) / 2;
}

bool clrSwatchRect(const ClrStripGeometry &g, int first, int index, RECT *rect)
{
    int column = index / 2 - first;
    if (index < 0 || column < 0)
        return false;
    int x = g.area.left + CLR_SWATCH_PITCH * column;
    if (x >= g.area.right)
        return false;
    if (index % 2 == 0)
        SetRect(rect, x + 1, g.area.top, x + CLR_SWATCH_PITCH, g.area.top + g.half);
    else
        SetRect(rect, x + 1, g.area.top + g.half + 1, x + CLR_SWATCH_PITCH,
                g.area.top + 2 * g.half + 1);
    return true;
}

int clrStripHitTest(const ClrStripGeometry &g, int first, int count, POINT pt)
{
    for (int i = first > 0 ? 2 * first : 0; i < count; ++i) {
        RECT r;
        if (!clrSwatchRect(g, first, i, &r))
            break;
        if (PtInRect(&r, pt))
            return i;
    }
    return -1;
}

int clrVisibleColumns(const ClrStripGeometry &g)
{
    return (g.area.right - g.area.left + 8) / CLR_SWATCH_PITCH;
}

int clrClampFirst(const ClrStripGeometry &g, int first, int count)
{
    int columns = (count + 1) / 2;
    int visible = clrVisibleColumns(g);
    if (first < 0)
        first = 0;
    if (columns - first < visible) {
        first = columns - visible;
        if (first < 0)
            first = 0;
    }
    return first;
}

void clrIndicatorSquares(const RECT &indicator, RECT *frameSquare, RECT *foreSquare)
{
    RECT inset = indicator;
    InflateRect(&inset, -3, -3);
    int w = (inset.right - inset.left) * 2 / 3;
    int h = (inset.bottom - inset.top) * 2 / 3;
    SetRect(frameSquare, inset.right - w, inset.bottom - h, inset.right, inset.bottom);
    SetRect(foreSquare, inset.left, inset.top, inset.left + w, inset.top + h);
}

POINT clrXMarkCentre(const RECT &indicator, int target)
{
    RECT frameSq, foreSq;
    clrIndicatorSquares(indicator, &frameSq, &foreSq);
    POINT pt;
    if (target == CLR_TARGET_FOREGROUND) {
        pt.x = (foreSq.left + foreSq.right) / 2 - 4;
        pt.y = (foreSq.top + foreSq.bottom) / 2;
    } else if (target == CLR_TARGET_FRAME) {
        pt.x = (frameSq.left + frameSq.right) / 2 + 4;
        pt.y = (frameSq.top + frameSq.bottom) / 2;
    } else {
        pt.x = indicator.right - 6;
        pt.y = indicator.top + 4;
    }
    return pt;
}

ClrXPen clrXMarkPen(COLORREF judged)
{
    int sum = GetRValue(judged) + GetGValue(judged) + GetBValue(judged);
    if (sum >= 256)
        return CLR_XPEN_BLACK;
    if (sum < 255)
        return CLR_XPEN_WHITE;
    return CLR_XPEN_INVERT;
}

// ---- painting ---------------------------------------------------------------------------

void clrPaintIndicator(HWND strip, HDC dc)
{
    ColorMenuRecord r;
    ClrStripGeometry g;
    if (!clrGetRecord(strip, &r) || !r.indicator || !stripGeometry(strip, r, &g))
        return;
    const RECT &ind = g.indicator;
    {
        GdiObject<HPEN> black(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        GdiSelect pen(dc, black);
        MoveToEx(dc, ind.right, ind.top, nullptr);
        LineTo(dc, ind.right, ind.bottom);
    }
    gdiFillSolid(dc, ind, r.background);

    RECT frameSq, foreSq;
    clrIndicatorSquares(ind, &frameSq, &foreSq);
    {
        GdiObject<HPEN> framePen(CreatePen(PS_INSIDEFRAME, 2, r.frame));
        GdiSelect pen(dc, framePen);
        GdiSelect brush(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, frameSq.left, frameSq.top, frameSq.right, frameSq.bottom);
    }
    gdiFillSolid(dc, foreSq, r.foreground);

    POINT c = clrXMarkCentre(ind, r.target);
    COLORREF judged = r.target == CLR_TARGET_FOREGROUND ? r.foreground : r.background;
    ClrXPen kind = clrXMarkPen(judged);
    COLORREF penColour = kind == CLR_XPEN_BLACK   ? RGB(0, 0, 0)
                         : kind == CLR_XPEN_WHITE ? RGB(255, 255, 255)
                                                  : kXInvertPen;
    GdiObject<HPEN> xPen(CreatePen(PS_SOLID, 1, penColour));
    GdiSelect pen(dc, xPen);
    int oldRop = SetROP2(dc, kind == CLR_XPEN_INVERT ? R2_NOTXORPEN : R2_COPYPEN);
    MoveToEx(dc, c.x - 3, c.y - 3, nullptr);
    LineTo(dc, c.x + 4, c.y + 4);
    MoveToEx(dc, c.x - 3, c.y + 3, nullptr);
    LineTo(dc, c.x + 4, c.y - 4);
    SetROP2(dc, oldRop);
}

void clrPaintStrip(HWND strip, HDC dc, const RECT &update)
{
    ColorMenuRecord r;
    ClrStripGeometry g;
    if (!clrGetRecord(strip, &r) || !stripGeometry(strip, r, &g))
        return;
    int first = clrClampFirst(g, r.first, r.count);
    if (first != r.first) {
        withRecord(strip, [&](ColorMenuRecord &rr) { rr.first = (int16_t)first; });
        r.first = (int16_t)first;
    }
    HPALETTE pal = qmU32ToHandle<HPALETTE>(r.palette);
    HPALETTE oldPal = pal ? SelectPalette(dc, pal, FALSE) : nullptr;
    if (pal)
        RealizePalette(dc);

    std::vector<COLORREF> colours = coloursOf(r);
    for (int i = 2 * first; i < (int)colours.size(); ++i) {
        RECT rect;
        if (!clrSwatchRect(g, first, i, &rect))
            break;
        gdiFillSolid(dc, rect, colours[(size_t)i]);
    }
    {
        GdiObject<HPEN> shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
        GdiSelect pen(dc, shadow);
        int visible = clrVisibleColumns(g);
        for (int k = 0; k <= visible; ++k) {
            int x = g.area.left + CLR_SWATCH_PITCH * k;
            if (x > g.area.right)
                break;
            MoveToEx(dc, x, g.area.top, nullptr);
            LineTo(dc, x, g.area.bottom);
        }
        MoveToEx(dc, g.area.left, g.area.top + g.half, nullptr);
        LineTo(dc, g.area.right, g.area.top + g.half);
    }
    RECT hl;
    if (r.highlighted >= 0 && r.highlighted < r.count && clrSwatchRect(g, first, r.highlighted, &hl)) {
        if (r.highlighted % 2)
            hl.bottom -= 1;
        GdiObject<HPEN> black(CreatePen(PS_SOLID, 1, kHighlightPen));
        GdiSelect pen(dc, black);
        GdiSelect brush(dc, GetStockObject(NULL_BRUSH));
        int oldRop = SetROP2(dc, R2_NOTXORPEN);
        Rectangle(dc, hl.left, hl.top, hl.right, hl.bottom);
        SetROP2(dc, oldRop);
    }
    RECT meet, ind = g.indicator;
    ind.right += 1;
    if (r.indicator && IntersectRect(&meet, &update, &ind))
        clrPaintIndicator(strip, dc);
    if (oldPal)
        SelectPalette(dc, oldPal, FALSE);
}

void clrPaintGrip(HWND window, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    GdiObject<HPEN> dark(CreatePen(PS_SOLID, 1, kGripDark));
    GdiObject<HPEN> white(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    for (int k = 0; k < 2; ++k) {
        int x = 2 + 7 * k;
        {
            GdiSelect pen(dc, dark);
            MoveToEx(dc, x, 5, nullptr);
            LineTo(dc, x, client.bottom - 5);
        }
        GdiSelect pen(dc, white);
        MoveToEx(dc, x + 1, 6, nullptr);
        LineTo(dc, x + 1, client.bottom - 5);
    }
}

// ---- style and windows ------------------------------------------------------------------

BOOL clrRegisterClasses(HINSTANCE instance)
{
    ctlRegisterScrollBtn(instance);
    HBRUSH face = (HBRUSH)(COLOR_BTNFACE + 1);
    BOOL strip = winRegisterClassOnce(instance, clrStripClass, stripProc, CS_DBLCLKS, 4, face);
    BOOL second = winRegisterClassOnce(instance, clrColor2Class, color2Proc, CS_DBLCLKS, 4, face);
    return strip && second;
}

void clrSetClassicStyle(BOOL classic)
{
    g_classic = classic ? TRUE : FALSE;
}

BOOL clrIsClassicStyle()
{
    return g_classic;
}

HWND clrCreatePaletteWindow(HWND parent, const RECT *rect, const COLORREF *colours, int count,
                            COLORREF foreground, COLORREF background, COLORREF frame,
                            uint16_t changeCommand, uint16_t pickCommand)
{
    HWND existing = g_classic ? g_strip : g_color2;
    if (existing)
        return existing;
    RECT at = rect ? *rect : RECT{0, 0, 0, 0};
    CreateParams p = {colours, count, foreground, background, frame, changeCommand, pickCommand};
    HINSTANCE inst = parent ? winGetInstance(parent) : GetModuleHandleA(nullptr);
    if (g_classic) {
        g_strip = CreateWindowExA(0, clrStripClass, "",
                                  WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN |
                                      WS_CLIPSIBLINGS,
                                  at.left, at.top, at.right - at.left, at.bottom - at.top, parent,
                                  nullptr, inst, &p);
        return g_strip;
    }
    HWND w = CreateWindowExA(0, clrColor2Class, "",
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, at.left,
                             at.top, at.right - at.left, at.bottom - at.top, parent, nullptr, inst,
                             &p);
    if (!w) {
        g_color2 = nullptr;
        g_color2List = nullptr;
    }
    return w;
}

HWND clrGetPaletteWindow()
{
    return g_strip ? g_strip : g_color2;
}

HWND clrGetStripWindow()
{
    return g_strip;
}

HWND clrGetColor2Window()
{
    return g_color2;
}

HWND clrGetColor2List()
{
    return g_color2List;
}

int clrColorTargetCount()
{
    return tbColorTargetCount;
}

void clrToggleStyle()
{
    HWND window = clrGetPaletteWindow();
    ColorMenuRecord r;
    if (!window || !clrGetRecord(window, &r)) {
        g_classic = !g_classic;
        return;
    }
    std::vector<COLORREF> colours = coloursOf(r);
    HWND parent = GetParent(window);
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, (POINT *)&rect, 2);
    DestroyWindow(window);
    g_classic = !g_classic;
    // An empty palette stays empty rather than turning into the start-up one.
    static const COLORREF none = 0;
    clrCreatePaletteWindow(parent, &rect, colours.empty() ? &none : colours.data(),
                           (int)colours.size(), r.foreground, r.background, r.frame,
                           r.changeCommand, r.pickCommand);
}

void clrMovePaletteWindow(const RECT *rect)
{
    if (!rect)
        return;
    HWND window = g_strip ? g_strip : g_color2;
    if (!window)
        return;
    MoveWindow(window, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
               TRUE);
    if (window == g_strip)
        placeScrollButtons(window);
    else
        color2PlaceList(window);
}

void clrHideIndicator(HWND window)
{
    if (!withRecord(window, [](ColorMenuRecord &r) { r.indicator = 0; }))
        return;
    placeScrollButtons(window);
    InvalidateRect(window, nullptr, TRUE);
}

void clrShowIndicator(HWND window)
{
    if (!withRecord(window, [](ColorMenuRecord &r) { r.indicator = 1; }))
        return;
    placeScrollButtons(window);
    InvalidateRect(window, nullptr, TRUE);
}

// ---- colours of the window --------------------------------------------------------------

BOOL clrGetRecord(HWND window, ColorMenuRecord *record)
{
    MemHandle rec = recordOf(window);
    if (!rec)
        return FALSE;
    MemLock<ColorMenuRecord> r(rec);
    if (!r)
        return FALSE;
    *record = *r.get();
    return TRUE;
}

void clrSetColors(const COLORREF *colours, int count)
{
    HWND window = colourWindow();
    if (!window)
        return;
    storeColours(window, colours, count);
    if (window == g_strip)
        clrUpdateHighlight(window);
    InvalidateRect(window, nullptr, TRUE);
}

MemHandle clrGetColors(int16_t *count)
{
    if (count)
        *count = 0;
    std::vector<COLORREF> colours = coloursOf(colourWindow());
    if (colours.empty())
        return 0;
    MemHandle copy = utHandleFromBytes(colours.data(), (uint32_t)(colours.size() * 4));
    if (copy && count)
        *count = (int16_t)colours.size();
    return copy;
}

HPALETTE clrGetPalette()
{
    ColorMenuRecord r;
    return clrGetRecord(clrGetPaletteWindow(), &r) ? qmU32ToHandle<HPALETTE>(r.palette) : nullptr;
}

BOOL clrGetColorAt(int index, COLORREF *colour)
{
    std::vector<COLORREF> colours = coloursOf(clrGetPaletteWindow());
    if (index < 0 || index >= (int)colours.size())
        return FALSE;
    *colour = colours[(size_t)index];
    return TRUE;
}

int clrGetHighlight()
{
    ColorMenuRecord r;
    return clrGetRecord(g_strip, &r) ? r.highlighted : -1;
}

void clrSetHighlight(HWND window, int index)
{
    ColorMenuRecord r;
    if (!clrGetRecord(window, &r))
        return;
    if (index < -1 || index >= r.count)
        index = -1;
    if (index == r.highlighted)
        return;
    invalidateSwatch(window, r, r.highlighted);
    withRecord(window, [&](ColorMenuRecord &rr) { rr.highlighted = (int16_t)index; });
    invalidateSwatch(window, r, index);
}

// Replaces the strip's colours with an edited copy; false when memory is short.
static bool editStrip(const std::vector<COLORREF> &colours)
{
    if (!g_strip || !storeColours(g_strip, colours.data(), (int)colours.size()))
        return false;
    InvalidateRect(g_strip, nullptr, TRUE);
    return true;
}

int clrAppendColor(COLORREF colour)
{
    std::vector<COLORREF> colours = coloursOf(g_strip);
    if (!g_strip || colours.size() >= (size_t)CLR_MAX_COLORS)
        return -1;
    colours.push_back(colour);
    return editStrip(colours) ? (int)colours.size() - 1 : -1;
}

int clrInsertColor(int index, COLORREF colour)
{
    std::vector<COLORREF> colours = coloursOf(g_strip);
    if (index < 0 || index >= (int)colours.size())
        return -1;
    if (colours.size() >= (size_t)CLR_MAX_COLORS)
        return 0;
    colours.insert(colours.begin() + index, colour);
    return editStrip(colours) ? 1 : 0;
}

int clrDeleteColor(int index)
{
    std::vector<COLORREF> colours = coloursOf(g_strip);
    if (index < 0 || index >= (int)colours.size())
        return -1;
    colours.erase(colours.begin() + index);
    if (!editStrip(colours))
        return -1;
    return index < (int)colours.size() ? index : (int)colours.size() - 1;
}

void clrReplaceColor(int index, COLORREF colour)
{
    std::vector<COLORREF> colours = coloursOf(g_strip);
    if (index < 0 || index >= (int)colours.size())
        return;
    colours[(size_t)index] = colour;
    editStrip(colours);
}

// ---- current colours --------------------------------------------------------------------

void clrSetForeColor(COLORREF colour)
{
    setCurrent(CLR_TARGET_FOREGROUND, colour);
}

void clrSetBackColor(COLORREF colour)
{
    setCurrent(CLR_TARGET_BACKGROUND, colour);
}

void clrSetFrameColor(COLORREF colour)
{
    setCurrent(CLR_TARGET_FRAME, colour);
}

COLORREF clrGetForeColor()
{
    return getCurrent(CLR_TARGET_FOREGROUND);
}

COLORREF clrGetBackColor()
{
    return getCurrent(CLR_TARGET_BACKGROUND);
}

COLORREF clrGetFrameColor()
{
    return getCurrent(CLR_TARGET_FRAME);
}

void clrSetActiveTarget(int target)
{
    if (target != CLR_TARGET_FOREGROUND && target != CLR_TARGET_FRAME &&
        target != CLR_TARGET_BACKGROUND)
        return;
    if (withRecord(g_strip, [&](ColorMenuRecord &r) { r.target = (int16_t)target; }))
        invalidateIndicator(g_strip);
}

int clrGetActiveTarget()
{
    ColorMenuRecord r;
    return clrGetRecord(g_strip, &r) ? r.target : 0;
}

void clrSetTargetColor(COLORREF colour)
{
    bool stored = withRecord(g_strip, [&](ColorMenuRecord &r) {
        if (!r.indicator)
            return;
        if (r.target == CLR_TARGET_FOREGROUND)
            r.foreground = colour;
        else if (r.target == CLR_TARGET_FRAME)
            r.frame = colour;
        else if (r.target == CLR_TARGET_BACKGROUND)
            r.background = colour;
    });
    if (stored)
        invalidateIndicator(g_strip);
}

COLORREF clrGetTargetColor()
{
    ColorMenuRecord r;
    if (!clrGetRecord(g_strip, &r))
        return 0;
    switch (r.target) {
    case CLR_TARGET_FOREGROUND: return r.foreground;
    case CLR_TARGET_FRAME: return r.frame;
    case CLR_TARGET_BACKGROUND: return r.background;
    default: return 0;
    }
}

void clrUpdateHighlight(HWND window)
{
    ColorMenuRecord r;
    if (!clrGetRecord(window, &r))
        return;
    COLORREF want = targetColour(r, r.target);
    std::vector<COLORREF> colours = coloursOf(r);
    int found = -1;
    for (size_t i = 0; i < colours.size(); ++i)
        if (colours[i] == want) {
            found = (int)i;
            break;
        }
    clrSetHighlight(window, found);
}

void clrDrawIndicator(HDC dc)
{
    if (!g_strip)
        return;
    if (dc) {
        clrPaintIndicator(g_strip, dc);
        return;
    }
    HDC own = GetDC(g_strip);
    clrPaintIndicator(g_strip, own);
    ReleaseDC(g_strip, own);
}

void clrResetPaletteWindowModule()
{
    if (g_strip)
        DestroyWindow(g_strip);
    if (g_color2)
        DestroyWindow(g_color2);
    g_strip = nullptr;
    g_color2 = nullptr;
    g_color2List = nullptr;
    g_classic = TRUE;
}
