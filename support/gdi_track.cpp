// Page grid, dotted lines and tracking.
#include "support/gdi_track.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/qmwin.h"
#include "support/rc_list.h"
#include "support/ut_mem.h"
#include <windowsx.h>

namespace {

// Dotted-line state: a dot in every `spacing` positions.
int32_t g_dotSpacing = 3;
int32_t g_dotPhase = 3;
COLORREF g_dotColour = 0;

struct DotPass {
    HDC dc;
};

void CALLBACK dotAt(int x, int y, LPARAM data)
{
    if (g_dotPhase == g_dotSpacing) {
        SetPixel(reinterpret_cast<DotPass *>(data)->dc, x, y, g_dotColour);
        g_dotPhase = 1;
    } else {
        ++g_dotPhase;
    }
}

// The subdivisions a grid of n divisions is drawn with at the current zoom,
// the unit's pixels and the rectangle in device points; false when there
// is nothing to draw.
bool gridSetup(const RECT *rect, int n, int *d, int32_t *ux, int32_t *uy, POINT box[2])
{
    if (n <= 0)
        return false;
    *ux = dmGetUnitPixelsX();
    *uy = dmGetUnitPixelsY();
    *d = gdiGridSubdivisions(n, *ux < *uy ? *ux : *uy);
    if (*d < 1)
        *d = 1;
    if (*ux < 1 || *uy < 1)
        return false;
    box[0] = POINT{rect->left, rect->top};
    box[1] = POINT{rect->right, rect->bottom};
    dmLogToDevPoints(box, 2);
    return true;
}

// A device point snapped to the grid of d subdivisions, in logical units.
POINT snappedLogical(int32_t x, int32_t y, int d)
{
    POINT p = {x, y};
    dmSnapDevPoints(&p, 1, (int16_t)d);
    dmDevToLogPoints(&p, 1);
    return p;
}

}  // namespace

int gdiGridSubdivisions(int n, int32_t unitPixels)
{
    for (int d = 7; d >= 2; --d)
        if (n % d == 0 && ((d + 1) / 2 + unitPixels) / d >= 10)
            return d;
    return 1;
}

void gdiDrawGridLines(HDC dc, const RECT *rect, int n, COLORREF subColour, COLORREF unitColour)
{
    if (!dc || !rect)
        return;
    GdiObject<HPEN> sub(CreatePen(PS_SOLID, 0, subColour));
    GdiObject<HPEN> unit(CreatePen(PS_DOT, 0, unitColour));
    GdiSelect keep(dc, sub);
    int d;
    int32_t ux, uy;
    POINT box[2];
    if (!gridSetup(rect, n, &d, &ux, &uy, box))
        return;
    dmSnapDevPoints(box, 2, (int16_t)d);
    const int oldBk = SetBkMode(dc, TRANSPARENT);
    // One pass per axis: from the snapped start, a line at each subdivision
    // strictly inside the rectangle, dotted at whole units.
    for (int axis = 0; axis < 2; ++axis) {
        const bool rows = axis == 0;
        const int32_t unitStep = rows ? uy : ux;
        const int32_t from = rows ? box[0].y : box[0].x, to = rows ? box[1].y : box[1].x;
        for (int32_t v = from; v < to; v += unitStep)
            for (int k = 0; k < d; ++k) {
                const int32_t at = v + (k * unitStep + (d + 1) / 2) / d;
                const POINT p = rows ? snappedLogical(box[0].x, at, d) : snappedLogical(at, box[0].y, d);
                const int32_t c = rows ? p.y : p.x;
                if (c <= (rows ? rect->top : rect->left) || c >= (rows ? rect->bottom : rect->right))
                    continue;
                SelectObject(dc, k == 0 ? unit.get() : sub.get());
                if (rows) {
                    MoveToEx(dc, rect->left, c, nullptr);
                    LineTo(dc, rect->right, c);
                } else {
                    MoveToEx(dc, c, rect->top, nullptr);
                    LineTo(dc, c, rect->bottom);
                }
            }
    }
    SetBkMode(dc, oldBk);
}

void gdiDrawGridDots(HDC dc, const RECT *rect, int n)
{
    int d;
    int32_t ux, uy;
    POINT box[2];
    if (!dc || !rect || !gridSetup(rect, n, &d, &ux, &uy, box))
        return;
    int32_t i0 = geoRound((double)box[0].x * d / ux), j0 = geoRound((double)box[0].y * d / uy);
    const int32_t i1 = geoRound((double)box[1].x * d / ux);
    const int32_t j1 = geoRound((double)box[1].y * d / uy);
    if (i0 < 0)
        i0 = 0;
    if (j0 < 0)
        j0 = 0;
    for (int32_t j = j0; j < j1; ++j) {
        const int32_t y = (int32_t)((int64_t)j * uy / d);
        for (int32_t i = i0; i < i1; ++i) {
            const POINT p = snappedLogical((int32_t)((int64_t)i * ux / d), y, d);
            SetPixel(dc, p.x, p.y, RGB(255, 0, 0));
        }
    }
}

void gdiSetDotColour(COLORREF colour) { g_dotColour = colour; }

void gdiResetDotPhase() { g_dotPhase = g_dotSpacing; }

void gdiDottedLine(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (!dc)
        return;
    DotPass pass = {dc};
    LineDDA(x1, y1, x2, y2, dotAt, reinterpret_cast<LPARAM>(&pass));
}

void gdiDottedLineDev(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (!dc)
        return;
    const int32_t dx1 = dmLogToDevX(x1), dy1 = dmLogToDevY(y1);
    const int32_t dx2 = dmLogToDevX(x2), dy2 = dmLogToDevY(y2);
    gdiResetDotPhase();
    POINT vo, wo;
    SIZE ve, we;
    SetViewportOrgEx(dc, 0, 0, &vo);
    SetWindowOrgEx(dc, 0, 0, &wo);
    SetViewportExtEx(dc, 1, 1, &ve);
    SetWindowExtEx(dc, 1, 1, &we);
    gdiDottedLine(dc, dx1, dy1, dx2, dy2);
    SetWindowExtEx(dc, we.cx, we.cy, nullptr);
    SetViewportExtEx(dc, ve.cx, ve.cy, nullptr);
    SetWindowOrgEx(dc, wo.x, wo.y, nullptr);
    SetViewportOrgEx(dc, vo.x, vo.y, nullptr);
}

void gdiDrawTrackShape(HDC dc, POINT p1, POINT p2, int kind)
{
    if (!dc)
        return;
    switch (kind) {
    case 1:
        Ellipse(dc, p2.x - 2, p2.y - 2, p2.x + 2, p2.y + 2);
        break;
    case 2:
        MoveToEx(dc, p1.x, p1.y, nullptr);
        LineTo(dc, p2.x, p2.y);
        break;
    case 4:
        MoveToEx(dc, p1.x, p1.y, nullptr);
        LineTo(dc, p2.x, p1.y);
        LineTo(dc, p2.x, p2.y);
        LineTo(dc, p1.x, p2.y);
        LineTo(dc, p1.x, p1.y);
        break;
    case 5:
        Ellipse(dc, p1.x, p1.y, p2.x, p2.y);
        break;
    default:
        break;
    }
}

MemHandle gdiTrackFreehand(HWND hwnd, POINT start, int32_t *count, int penWidth, COLORREF colour)
{
    int32_t n = 0;
    if (count)
        *count = 0;
    HDC dc = hwnd ? GetDC(hwnd) : nullptr;
    if (!dc)
        return 0;
    HPEN pen = CreatePen(PS_SOLID, penWidth, colour);
    HGDIOBJ oldPen = pen ? SelectObject(dc, pen) : nullptr;
    MemHandle points = rcArrayAppend(0, n, &start, sizeof(POINT));
    if (points)
        ++n;
    POINT last = start;
    MoveToEx(dc, start.x, start.y, nullptr);
    LineTo(dc, start.x, start.y);
    SetCapture(hwnd);
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MBUTTONDBLCLK, PM_REMOVE)) {
            // Sign-extended: left of or above the window the words are negative.
            const POINT p = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            const bool up = msg.message == WM_LBUTTONUP;
            if (p.x != last.x || p.y != last.y) {
                LineTo(dc, p.x, p.y);
                if (MemHandle grown = rcArrayAppend(points, n, &p, sizeof(POINT))) {
                    points = grown;
                    ++n;
                }
                last = p;
            }
            if (up)
                break;
            continue;
        }
        // The stroke also ends when another window took the mouse.
        if (PeekMessageA(&msg, hwnd, WM_CAPTURECHANGED, WM_CAPTURECHANGED, PM_REMOVE) ||
            GetCapture() != hwnd)
            break;
        // Waits for input that is there or comes; a quarter second at most,
        // so that a capture taken without a message is still seen.
        MsgWaitForMultipleObjectsEx(0, nullptr, 250, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (oldPen)
        SelectObject(dc, oldPen);
    if (pen)
        DeleteObject(pen);
    ReleaseDC(hwnd, dc);
    if (n < 2) {
        utFreeHandle(points);
        return 0;
    }
    if (count)
        *count = n;
    return points;
}

HBITMAP gdiSaveScreenRect(HDC dc, const RECT *rect)
{
    if (!dc || !rect)
        return nullptr;
    const int w = rect->right - rect->left, h = rect->bottom - rect->top;
    if (w <= 0 || h <= 0)
        return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
    if (!bitmap)
        return nullptr;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, w, h, dc, rect->left, rect->top, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    SetBitmapDimensionEx(bitmap, w, h, nullptr);
    return bitmap;
}

void gdiRestoreScreenBitmap(HWND hwnd, int32_t x, int32_t y, HBITMAP bitmap)
{
    if (!bitmap)
        return;
    SIZE size = {0, 0};
    GetBitmapDimensionEx(bitmap, &size);
    HDC dc = GetDC(hwnd);
    if (!dc)
        return;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(dc, x, y, size.cx, size.cy, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(hwnd, dc);
}
