// The button list window: creation, layout, painting, scrolling and the
// operations on its buttons.
#include "controls/btnlist.h"
#include "controls/btnlist_press.h"
#include "controls/scrollbtn.h"
#include "support/gdi_bitmap.h"
#include "support/gdi_edge.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_window.h"
#include <string.h>
#include <vector>

const char blClassName[] = "qm_btnlist";

namespace {

const int kFontLong = 0;
const int kRecordLong = 4;

LRESULT CALLBACK listProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

MemHandle recordOf(HWND list)
{
    if (!list || !IsWindow(list) || !winIsWindowOfClass(list, blClassName, nullptr))
        return 0;
    return (MemHandle)(uint32_t)GetWindowLongA(list, kRecordLong);
}

// Copies an entry's string field into a terminated buffer.
void fieldText(char *out, const char *field, uint32_t size)
{
    uint32_t n = tbFieldLen(field, size);
    memcpy(out, field, n);
    out[n] = 0;
}

}  // namespace

// ---- layout ---------------------------------------------------------------------------

void blGridShape(uint16_t style, int n, int *columns, int *rows)
{
    if (n < 0)
        n = 0;
    int c, r;
    if (style & BLS_TWO_COLUMNS) {
        c = 2;
        r = (n + 1) / 2;
    } else if (style & BLS_FLOATING) {
        c = n < BL_FLOATING_COLUMNS ? n : BL_FLOATING_COLUMNS;
        r = (n + BL_FLOATING_COLUMNS - 1) / BL_FLOATING_COLUMNS;
    } else if (style & BLS_ROW) {
        c = n;
        r = 1;
    } else {
        c = 1;
        r = n;
    }
    if (columns)
        *columns = c;
    if (rows)
        *rows = r;
}

void blLayoutButtonRect(const BlLayout &l, int i, RECT *rect)
{
    const int bw = l.buttonWidth, bh = l.buttonHeight;
    const int cw = l.client.right - l.client.left, ch = l.client.bottom - l.client.top;
    RECT r;
    if (l.style & BLS_TWO_COLUMNS) {
        r.left = (cw - 2 * bw) / 2 + (i % 2) * bw;
        r.top = l.client.top + (i / 2) * bh + 4;
        r.right = r.left + bw;
        r.bottom = r.top + bh;
    } else if (l.style & BLS_FLOATING) {
        r.left = (i % BL_FLOATING_COLUMNS) * (bw + 1);
        r.top = (i / BL_FLOATING_COLUMNS) * (bh + 1);
        r.right = r.left + bw;
        r.bottom = r.top + bh;
    } else if (l.style & BLS_ROW) {
        r.top = (ch + 1 - bh) / 2;
        if (r.top < 0)
            r.top = 0;
        r.bottom = r.top + bh;
        if (r.bottom > l.client.bottom)
            r.bottom = l.client.bottom;
        r.left = (l.hasScroll ? BL_SCROLL_SIZE : 0) + (i - l.first) * bw;
        r.right = r.left + bw;
    } else {
        r.left = (cw - bw) / 2;
        if (r.left < 0)
            r.left = 0;
        r.right = r.left + bw;
        if (r.right > l.client.right)
            r.right = l.client.right;
        r.top = (l.hasScroll ? 20 : 4) + (i - l.first) * bh;
        r.bottom = r.top + bh;
    }
    *rect = r;
}

int blLayoutHitTest(const BlLayout &l, POINT pt)
{
    for (int i = 0; i < l.count; ++i) {
        RECT r;
        blLayoutButtonRect(l, i, &r);
        if (PtInRect(&r, pt))
            return i;
    }
    return -1;
}

int blLayoutScroll(const BlLayout &l, int command)
{
    int first = l.first;
    if (command == BL_SCROLL_BACK) {
        if (first > 0)
            --first;
    } else if (command == BL_SCROLL_FORWARD) {
        int clientHeight = l.client.bottom - l.client.top;
        if (first < l.count - 1 && (l.count - first) * l.buttonHeight >= clientHeight - BL_SCROLL_SIZE)
            ++first;
    }
    return first;
}

void blScrollButtonRects(uint16_t style, const RECT &c, RECT *back, RECT *forward)
{
    if (style & BLS_ROW) {
        SetRect(back, c.left, c.top, c.left + BL_SCROLL_SIZE, c.bottom);
        SetRect(forward, c.right - BL_SCROLL_SIZE, c.top, c.right, c.bottom);
    } else {
        SetRect(back, c.left, c.top, c.right, c.top + BL_SCROLL_SIZE);
        SetRect(forward, c.left, c.bottom - BL_SCROLL_SIZE, c.right, c.bottom);
    }
}

SIZE blFloatingClientSize(int count, int buttonWidth, int buttonHeight)
{
    int columns, rows;
    blGridShape(BLS_FLOATING, count, &columns, &rows);
    SIZE s = {(buttonWidth + 1) * columns, (buttonHeight + 1) * rows};
    return s;
}

// ---- class and creation --------------------------------------------------------------

BOOL blRegisterClass(HINSTANCE instance)
{
    if (!winRegisterClassOnce(instance, blClassName, listProc, 0, 8, (HBRUSH)(COLOR_BTNFACE + 1)))
        return FALSE;
    return ctlRegisterScrollBtn(instance);
}

HWND blCreateWindow(HWND parent, HFONT font, uint16_t listId, const RECT &wr, uint16_t style,
                    const ToolButton *entries, int count, int buttonWidth, int buttonHeight,
                    DWORD wsStyle, DWORD wsExStyle, BOOL show)
{
    if (count < 0 || count > 0x7FFF || (count > 0 && !entries))
        count = 0;
    HINSTANCE inst = parent ? winGetInstance(parent) : GetModuleHandleA(nullptr);
    HMENU childId = (wsStyle & WS_CHILD) ? (HMENU)(UINT_PTR)listId : nullptr;
    HWND list = CreateWindowExA(wsExStyle, blClassName, "", wsStyle & ~WS_VISIBLE, wr.left, wr.top,
                                wr.right - wr.left, wr.bottom - wr.top, parent, childId, inst,
                                nullptr);
    if (!list) {
        utShowBox(parent, "Can not create button list window", "", MB_OK);
        return nullptr;
    }
    RECT client;
    GetClientRect(list, &client);
    if (buttonWidth == 0 && buttonHeight == 0) {
        int side = client.right < client.bottom ? client.right : client.bottom;
        buttonWidth = buttonHeight = side;
    }
    MemHandle copy = 0, rec = 0;
    if (count > 0)
        copy = utHandleFromBytes(entries, (uint32_t)count * sizeof(ToolButton));
    if (count == 0 || copy) {
        rec = utAllocHandle(0, sizeof(ButtonListRecord));
        if (!rec)
            copy = utFreeHandle(copy);
    }
    if (!rec) {
        // Without its record the window is of no use: it goes at once,
        // quietly (its parent never learnt of it).
        DestroyWindow(list);
        return nullptr;
    }
    HWND scrollBack = nullptr, scrollForward = nullptr;
    if (style & BLS_SCROLL) {
        RECT b, f;
        blScrollButtonRects(style, client, &b, &f);
        scrollBack = CreateWindowA("BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, b.left, b.top,
                                   b.right - b.left, b.bottom - b.top, list,
                                   (HMENU)(UINT_PTR)BL_SCROLL_BACK, inst, nullptr);
        scrollForward = CreateWindowA("BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, f.left,
                                      f.top, f.right - f.left, f.bottom - f.top, list,
                                      (HMENU)(UINT_PTR)BL_SCROLL_FORWARD, inst, nullptr);
    }
    {
        MemLock<ButtonListRecord> r(rec);
        r->entries = copy;
        r->count = (int16_t)count;
        r->pressed = -1;
        r->first = 0;
        r->buttonWidth = buttonWidth;
        r->buttonHeight = buttonHeight;
        r->scrollBack = qmHandleToU32(scrollBack);
        r->scrollForward = qmHandleToU32(scrollForward);
        r->style = style;
        r->listId = listId;
        r->repeatInterval = BL_REPEAT_INTERVAL;
    }
    SetWindowLongA(list, kFontLong, (LONG)qmHandleToU32(font));
    SetWindowLongA(list, kRecordLong, (LONG)rec);
    if (show)
        ShowWindow(list, (wsStyle & WS_CHILD) ? SW_SHOW : SW_SHOWNOACTIVATE);
    return list;
}

HWND blCreate(HWND parent, HFONT font, uint16_t listId, const RECT *rect, uint16_t style,
              const ToolButton *entries, int count, int buttonWidth, int buttonHeight, BOOL show)
{
    RECT r = rect ? *rect : RECT{0, 0, 0, 0};
    if (style & BLS_FLOATING) {
        const DWORD ws = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        const DWORD ex = WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE;
        SIZE client = blFloatingClientSize(count, buttonWidth, buttonHeight);
        DWORD size = winFrameSizeForClient(0, 0, client.cx, client.cy, ws, ex, FALSE, FALSE, FALSE);
        RECT wr = {r.left, r.top, r.left + LOWORD(size), r.top + HIWORD(size)};
        return blCreateWindow(parent, font, listId, wr, style, entries, count, buttonWidth,
                              buttonHeight, ws, ex, show);
    }
    return blCreateWindow(parent, font, listId, r, style, entries, count, buttonWidth, buttonHeight,
                          WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, show);
}

HWND blCreateShown(HWND parent, HFONT font, uint16_t listId, const RECT *rect, uint16_t style,
                   const ToolButton *entries, int count, int buttonWidth, int buttonHeight)
{
    return blCreate(parent, font, listId, rect, style, entries, count, buttonWidth, buttonHeight,
                    TRUE);
}

void blDestroy(HWND list)
{
    if (list && IsWindow(list))
        DestroyWindow(list);
}

// ---- record access ----------------------------------------------------------------------

MemHandle blGetRecordHandle(HWND list) { return recordOf(list); }

BOOL blGetRecord(HWND list, ButtonListRecord *record)
{
    MemLock<ButtonListRecord> r(recordOf(list));
    if (!r)
        return FALSE;
    *record = *r.get();
    return TRUE;
}

HFONT blGetFont(HWND list)
{
    if (!recordOf(list))
        return nullptr;
    return qmU32ToHandle<HFONT>((uint32_t)GetWindowLongA(list, kFontLong));
}

BOOL blGetLayout(HWND list, BlLayout *layout)
{
    ButtonListRecord r;
    if (!blGetRecord(list, &r))
        return FALSE;
    layout->style = r.style;
    layout->count = r.count;
    layout->first = r.first;
    layout->buttonWidth = r.buttonWidth;
    layout->buttonHeight = r.buttonHeight;
    layout->hasScroll = r.scrollBack != 0;
    GetClientRect(list, &layout->client);
    return TRUE;
}

int blHitTest(HWND list, POINT pt)
{
    BlLayout l;
    if (!blGetLayout(list, &l))
        return -1;
    return blLayoutHitTest(l, pt);
}

int blHitTestLive(HWND list, POINT pt)
{
    int i = blHitTest(list, pt);
    ToolButton e;
    if (i < 0 || !blGetButton(list, i, &e) || !e.kind || !e.enabled)
        return -1;
    return i;
}

int blGetPressed(HWND list)
{
    ButtonListRecord r;
    return blGetRecord(list, &r) ? r.pressed : -1;
}

void blSetPressed(HWND list, int index)
{
    MemLock<ButtonListRecord> r(recordOf(list));
    if (r)
        r->pressed = (int16_t)(index >= 0 && index < r->count ? index : -1);
}

void blSetEntries(HWND list, MemHandle entries, int count)
{
    MemLock<ButtonListRecord> r(recordOf(list));
    if (!r)
        return;
    r->entries = entries;
    r->count = (int16_t)count;
    if (r->pressed >= count)
        r->pressed = -1;
    if (r->first > 0 && r->first >= count)
        r->first = (int16_t)(count > 0 ? count - 1 : 0);
}

// ---- operations on buttons -------------------------------------------------------------

int blFindButton(HWND list, uint16_t command)
{
    if (command == 0)
        return -1;
    ButtonListRecord rec;
    if (!blGetRecord(list, &rec) || rec.count <= 0)
        return -1;
    MemLock<ToolButton> e(rec.entries);
    if (!e)
        return -1;
    for (int i = 0; i < rec.count; ++i)
        if (e[i].command == command)
            return i;
    return -1;
}

BOOL blGetButton(HWND list, int index, ToolButton *entry)
{
    ButtonListRecord rec;
    if (!entry || !blGetRecord(list, &rec) || index < 0 || index >= rec.count)
        return FALSE;
    MemLock<ToolButton> e(rec.entries);
    if (!e)
        return FALSE;
    *entry = e[index];
    return TRUE;
}

void blGetButtonRect(HWND list, int index, RECT *rect)
{
    SetRectEmpty(rect);
    BlLayout l;
    if (index < 0 || !blGetLayout(list, &l) || index >= l.count)
        return;
    blLayoutButtonRect(l, index, rect);
}

void blInvalidateButton(HWND list, int index)
{
    RECT r;
    blGetButtonRect(list, index, &r);
    if (IsRectEmpty(&r))
        return;
    InflateRect(&r, 1, 1);
    InvalidateRect(list, &r, TRUE);
}

// Changes one entry field under the lock; returns the index changed, -1
// when the id is absent, -2 when the entry already had the value.
template <typename F>
static int editEntry(HWND list, uint16_t command, F change)
{
    int i = blFindButton(list, command);
    if (i < 0)
        return -1;
    ButtonListRecord rec;
    blGetRecord(list, &rec);
    MemLock<ToolButton> e(rec.entries);
    if (!e)
        return -1;
    return change(e[i]) ? i : -2;
}

int blEnableButton(HWND list, uint16_t command, BOOL enabled)
{
    uint16_t value = enabled ? 1 : 0;
    int i = editEntry(list, command, [&](ToolButton &e) {
        if (e.enabled == value)
            return false;
        e.enabled = value;
        return true;
    });
    if (i == -1)
        return 0;
    if (i >= 0)
        blInvalidateButton(list, i);
    return 1;
}

void blEnableButtons(HWND list, BOOL enabled, const uint16_t *ids)
{
    if (!ids)
        return;
    for (; *ids != 0xFFFF; ++ids)
        blEnableButton(list, *ids, enabled);
}

void blEnableAll(HWND list, BOOL enabled)
{
    ButtonListRecord rec;
    if (!blGetRecord(list, &rec))
        return;
    uint16_t value = enabled ? 1 : 0;
    std::vector<int> changed;
    {
        MemLock<ToolButton> e(rec.entries);
        if (!e)
            return;
        for (int i = 0; i < rec.count; ++i)
            if (e[i].enabled != value) {
                e[i].enabled = value;
                changed.push_back(i);
            }
    }
    for (int i : changed)
        blInvalidateButton(list, i);
}

void blSelectButton(HWND list, uint16_t command)
{
    if (!recordOf(list))
        return;
    int old = blGetPressed(list);
    if (old >= 0)
        blInvalidateButton(list, old);
    int now = blFindButton(list, command);
    blSetPressed(list, now);
    if (now >= 0)
        blInvalidateButton(list, now);
}

void blReleaseSelection(HWND list)
{
    int old = blGetPressed(list);
    if (old >= 0)
        blInvalidateButton(list, old);
    blSetPressed(list, -1);
}

void blSetButtonColor(HWND list, uint16_t command, COLORREF colour)
{
    int i = editEntry(list, command, [&](ToolButton &e) {
        bool changed = e.color != (uint32_t)colour || !(e.kind & TBK_COLOR_BAR);
        e.color = (uint32_t)colour;
        e.kind |= TBK_COLOR_BAR;
        return changed;
    });
    if (i >= 0)
        blInvalidateButton(list, i);
}

// ---- painting ---------------------------------------------------------------------------

static void drawFace(HWND list, HDC dc, const ToolButton &e, const RECT &r, uint16_t style)
{
    char name[sizeof(e.bitmap) + 1];
    fieldText(name, e.bitmap, sizeof(e.bitmap));
    if (e.kind & TBK_TEXT_FACE) {
        RECT box = r;
        InflateRect(&box, -4, -4);
        gdiFillSolid(dc, box, RGB(255, 255, 255));
        RECT text = r;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, name, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    } else if (e.enabled) {
        gdiDrawResBitmapMapped(list, dc, name, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               GDI_ALIGN_CENTRE, SRCCOPY);
    } else {
        // Greyed: the picture at its own size, centred, in the embossed look.
        int32_t w = 0, h = 0;
        GdiObject<HBITMAP> probe(LoadBitmapA(winGetInstance(list), name));
        if (gdiBitmapSize(probe, &w, &h))
            gdiDrawResBitmapDisabled(list, dc, name, gdiAlignX(r, w, GDI_ALIGN_CENTRE),
                                     gdiAlignY(r, h, GDI_ALIGN_CENTRE), w, h);
    }
    if (e.kind & TBK_COLOR_BAR) {
        RECT bar = {r.left + 2, r.bottom - 7, r.right - 2, r.bottom - 2};
        gdiFillSolid(dc, bar, (COLORREF)e.color);
    }
    if (e.kind & TBK_TRIANGLE) {
        POINT centre = {r.right - 5, r.bottom - 4};   // apex 5 left of the right, 3 above the bottom
        gdiDrawDownTriangle(dc, centre, 1, RGB(0, 0, 0), 1);
    }
    if (e.enabled) {
        uint16_t edge = style & BLS_FLAT;
        if (edge == 0) {
            gdiDraw3DEdge(dc, r, TRUE, 2);
        } else if (edge == BLS_OUTLINE) {
            HBRUSH black = (HBRUSH)GetStockObject(BLACK_BRUSH);
            FrameRect(dc, &r, black);
        }
    }
}

void blPaintList(HWND list, HDC dc, const RECT &update)
{
    if (IsRectEmpty(&update))
        return;
    ButtonListRecord rec;
    BlLayout l;
    if (!blGetRecord(list, &rec) || !blGetLayout(list, &l))
        return;
    if (!(rec.style & BLS_FLOATING))
        gdiEtchedHLine(dc, l.client.left, l.client.right, 0);
    HFONT font = blGetFont(list);
    GdiSelect useFont(dc, font);
    std::vector<ToolButton> entries((size_t)(rec.count > 0 ? rec.count : 0));
    {
        MemLock<ToolButton> e(rec.entries);
        if (e && rec.count > 0)
            memcpy(entries.data(), e.get(), entries.size() * sizeof(ToolButton));
    }
    for (int i = rec.first < 0 ? 0 : rec.first; i < (int)entries.size(); ++i) {
        const ToolButton &e = entries[(size_t)i];
        if (!e.kind)
            continue;
        RECT r, grown, meet;
        blLayoutButtonRect(l, i, &r);
        grown = r;
        InflateRect(&grown, 1, 1);
        if (!IntersectRect(&meet, &grown, &update))
            continue;
        drawFace(list, dc, e, r, rec.style);
    }
    if (rec.pressed >= rec.first && rec.pressed < rec.count) {
        RECT r;
        blLayoutButtonRect(l, rec.pressed, &r);
        InflateRect(&r, -1, -1);
        InvertRect(dc, &r);
    }
}

void blDrawLook(HWND list, int index, BlLook look)
{
    RECT r;
    blGetButtonRect(list, index, &r);
    if (IsRectEmpty(&r))
        return;
    if (look == BL_LOOK_NORMAL) {
        blInvalidateButton(list, index);
        UpdateWindow(list);
        return;
    }
    HDC dc = GetDC(list);
    if (!dc)
        return;
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    switch (look) {
    case BL_LOOK_SUNKEN:
        gdiDrawEdgeColours(dc, r, 1, &shadow, &light);
        break;
    case BL_LOOK_HOVER:
        gdiDrawEdgeColours(dc, r, 1, &light, &shadow);
        break;
    case BL_LOOK_HOVER_OFF:
        gdiDrawEdgeColours(dc, r, 1, &face, &face);
        break;
    case BL_LOOK_INVERT:
        InflateRect(&r, -1, -1);
        InvertRect(dc, &r);
        break;
    default:
        break;
    }
    ReleaseDC(list, dc);
}

// ---- the window procedure ---------------------------------------------------------------

namespace {

void scrollList(HWND list, int command)
{
    BlLayout l;
    if (!blGetLayout(list, &l))
        return;
    int first = blLayoutScroll(l, command);
    if (first == l.first)
        return;
    {
        MemLock<ButtonListRecord> r(recordOf(list));
        r->first = (int16_t)first;
    }
    RECT area = l.client;
    int dx = 0, dy = 0;
    if (l.style & BLS_ROW) {
        area.left += BL_SCROLL_SIZE;
        area.right -= BL_SCROLL_SIZE;
        dx = (l.first - first) * l.buttonWidth;
    } else {
        area.top += BL_SCROLL_SIZE;
        area.bottom -= BL_SCROLL_SIZE;
        dy = (l.first - first) * l.buttonHeight;
    }
    ScrollWindowEx(list, dx, dy, &area, &area, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
    UpdateWindow(list);
}

void drawScrollButton(HWND list, const DRAWITEMSTRUCT *di)
{
    ButtonListRecord rec;
    if (!blGetRecord(list, &rec))
        return;
    if (di->itemAction & ODA_DRAWENTIRE) {
        gdiFillSolid(di->hDC, di->rcItem, GetSysColor(COLOR_BTNFACE));
        gdiDrawButtonEdge(di->hDC, di->rcItem);
        bool back = di->CtlID == BL_SCROLL_BACK;
        const char *name = (rec.style & BLS_ROW) ? (back ? "left" : "right") : (back ? "up" : "down");
        const RECT &r = di->rcItem;
        gdiDrawResBitmap(list, di->hDC, name, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         GDI_ALIGN_CENTRE, SRCAND);
    }
    if (di->itemAction & ODA_SELECT) {
        RECT r = di->rcItem;
        InvertRect(di->hDC, &r);
    }
}

void destroyList(HWND list)
{
    ButtonListRecord rec;
    if (!blGetRecord(list, &rec))
        return;
    HWND parent = GetParent(list);
    if (rec.listId)
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(BL_NOTIFY_CLOSING, rec.listId), (LPARAM)list);
    blStopHoverWatch(list);
    // The record may have been changed while the parent was told.
    MemHandle h = recordOf(list);
    {
        MemLock<ButtonListRecord> r(h);
        if (r)
            r->entries = utFreeHandle(r->entries);
    }
    utFreeHandle(h);
    SetWindowLongA(list, kRecordLong, 0);
    if (parent)
        PostMessageA(parent, WM_COMMAND, MAKEWPARAM(BL_NOTIFY_CLOSED, rec.listId), (LPARAM)list);
}

void placeScrollButtons(HWND list)
{
    ButtonListRecord rec;
    if (!blGetRecord(list, &rec) || !rec.scrollBack)
        return;
    RECT c, b, f;
    GetClientRect(list, &c);
    blScrollButtonRects(rec.style, c, &b, &f);
    MoveWindow(qmU32ToHandle<HWND>(rec.scrollBack), b.left, b.top, b.right - b.left, b.bottom - b.top,
               TRUE);
    MoveWindow(qmU32ToHandle<HWND>(rec.scrollForward), f.left, f.top, f.right - f.left,
               f.bottom - f.top, TRUE);
}

LRESULT CALLBACK listProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        blPaintList(hwnd, dc, ps.rcPaint);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT r;
        GetClientRect(hwnd, &r);
        blPaintList(hwnd, (HDC)wParam, r);
        return 0;
    }
    case WM_DRAWITEM:
        drawScrollButton(hwnd, (const DRAWITEMSTRUCT *)lParam);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case BL_SCROLL_BACK:
        case BL_SCROLL_FORWARD:
            scrollList(hwnd, LOWORD(wParam));
            return 0;
        case BL_CMD_PASS_ON:
            PostMessageA(GetParent(hwnd), WM_COMMAND, wParam, lParam);
            return 0;
        case BL_CMD_CLOSE:
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
            return 0;
        default:
            return 0;
        }
    case WM_SIZE:
        placeScrollButtons(hwnd);
        break;
    case WM_MOUSEMOVE:
        blOnMouseMove(hwnd, lParam);
        return 0;
    case WM_TIMER:
        if (wParam == BL_HOVER_TIMER) {
            blOnHoverTimer(hwnd);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        blOnLButtonDown(hwnd, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        blOnRButtonDown(hwnd, lParam);
        return 0;
    case WM_RBUTTONUP:
        blOnRButtonUp(hwnd, lParam);
        return 0;
    case WM_KILLFOCUS: {
        ButtonListRecord rec;
        if (blGetRecord(hwnd, &rec) && (rec.style & BLS_FLYOUT))
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
        break;
    }
    case WM_DESTROY:
        destroyList(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace
