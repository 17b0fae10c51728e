// The frame's docked bars: their record, metrics and areas.
#include "app/app_frame_bars.h"
#include "app/app_frame.h"
#include "support/app_frame_globals.h"
#include "controls/pal_window.h"
#include "support/ut_mem.h"
#include "support/win_place.h"
#include "support/win_window.h"

namespace {

FrameMetrics g_metrics = {21 * FRAME_DRAW_BUTTON + 12, 28, 31, 26, 21 * FRAME_BAR_BUTTON + 6,
                          7 * 54 + 180};

MemHandle barRecord(HWND frame)
{
    return winGetRecord(frame, FRAME_LONG_BARS, sizeof(FrameBarRecord));
}

uint32_t *windowField(FrameBarRecord *r, uint16_t bit)
{
    switch (bit) {
    case FB_LEFT: return &r->leftBar;
    case FB_DRAW: return &r->drawBar;
    case FB_STANDARD: return &r->standardBar;
    case FB_MESSAGE: return &r->messageBar;
    case FB_RIGHT: return &r->rightBar;
    case FB_BOTTOM: return &r->bottomBar;
    default: return nullptr;
    }
}

}  // namespace

BOOL appNewBarRecord(HWND frame)
{
    return winNewRecord(frame, FRAME_LONG_BARS, sizeof(FrameBarRecord)) != 0;
}

void appFreeBarRecord(HWND frame)
{
    MemHandle h = barRecord(frame);
    if (h)
        utFreeHandle(h);
    if (frame && IsWindow(frame))
        SetWindowLongA(frame, FRAME_LONG_BARS, 0);
}

int appGetBarBits(HWND frame)
{
    MemHandle h = barRecord(frame);
    if (!h)
        return -1;
    MemLock<FrameBarRecord> r(h);
    return r ? r->bits : -1;
}

void appSetBarBits(HWND frame, uint16_t bits)
{
    MemLock<FrameBarRecord> r(barRecord(frame));
    if (r)
        r->bits = bits;
}

BOOL appTestBar(HWND frame, uint16_t bit)
{
    int bits = appGetBarBits(frame);
    return bits >= 0 && (bits & bit) != 0;
}

BOOL appShowBar(HWND frame, uint16_t bit, BOOL on)
{
    int bits = appGetBarBits(frame);
    if (bits < 0 || ((bits & bit) != 0) == (on != FALSE))
        return FALSE;
    appSetBarBits(frame, (uint16_t)(on ? (bits | bit) : (bits & ~bit)));
    return TRUE;
}

HWND appGetBarWindow(HWND frame, uint16_t bit)
{
    MemLock<FrameBarRecord> r(barRecord(frame));
    uint32_t *field = r ? windowField(r.get(), bit) : nullptr;
    HWND w = field ? qmU32ToHandle<HWND>(*field) : nullptr;
    return (w && IsWindow(w)) ? w : nullptr;
}

void appSetBarWindow(HWND frame, uint16_t bit, HWND window)
{
    MemLock<FrameBarRecord> r(barRecord(frame));
    uint32_t *field = r ? windowField(r.get(), bit) : nullptr;
    if (field)
        *field = qmHandleToU32(window);
}

HWND appGetDrawToolBar() { return appGetBarWindow(appGetFrameWindow(), FB_DRAW); }

// ---- layout -------------------------------------------------------------------------

void appComputeFrameMetrics(int screenWidth, int lineHeight, int avgCharWidth, int drawButtons,
                            int standardButtons, FrameMetrics *out)
{
    FrameMetrics m;
    m.drawBandWidth = drawButtons * FRAME_DRAW_BUTTON + 12;
    m.rowHeight = lineHeight + lineHeight / 2;
    if (m.rowHeight < 28)
        m.rowHeight = 28;
    m.bottomHeight = m.rowHeight + 3;
    int left = screenWidth / 32;
    left = left < 22 ? 22 : (left > 28 ? 28 : left);
    m.leftWidth = left < 27 ? 26 : left;
    m.standardWidth = standardButtons * FRAME_BAR_BUTTON + 6;
    m.messageWidth = avgCharWidth * 54 + 180;
    *out = m;
}

const FrameMetrics &appGetFrameMetrics() { return g_metrics; }
void appSetFrameMetrics(const FrameMetrics &metrics) { g_metrics = metrics; }

void appBarRectIn(const RECT &client, uint16_t bits, const FrameMetrics &m, uint16_t bar,
                  RECT *out)
{
    const LONG L = client.left, T = client.top, R = client.right, B = client.bottom;
    const LONG band = (bits & FB_DRAW) ? FRAME_DRAW_BAND_HEIGHT : 0;
    const LONG rowTop = T + band;
    const LONG belowRow = rowTop + ((bits & FB_MESSAGE) ? m.rowHeight : 0);
    switch (bar) {
    case FB_DRAW:
        SetRect(out, L, T, L + m.drawBandWidth, T + FRAME_DRAW_BAND_HEIGHT);
        break;
    case FB_COLOR:
        SetRect(out, L + m.drawBandWidth, T, R + 1, T + FRAME_DRAW_BAND_HEIGHT);
        break;
    case FB_MESSAGE:
    case FB_STANDARD: {
        LONG split = R - m.messageWidth;
        if (split < L + m.standardWidth)
            split = L + m.standardWidth;
        if (bar == FB_STANDARD)
            SetRect(out, L, rowTop, split + 1, rowTop + m.rowHeight);
        else
            SetRect(out, split, rowTop - 1, R + 1, rowTop + m.rowHeight);
        break;
    }
    case FB_LEFT:
        SetRect(out, L, belowRow, L + m.leftWidth, B + 1);
        break;
    case FB_RIGHT:
        SetRect(out, R - FRAME_RIGHT_WIDTH, belowRow, R, B + 1);
        break;
    case FB_BOTTOM:
        SetRect(out, L + m.leftWidth - 1, B - m.bottomHeight,
                (bits & FB_RIGHT) ? R - 48 : R, B + 1);
        break;
    case FB_CLIENT:
        SetRect(out, L + m.leftWidth,
                rowTop + ((bits & FB_MESSAGE) ? m.rowHeight - 1 : 0) + 1,
                (bits & FB_RIGHT) ? R - FRAME_RIGHT_WIDTH : R,
                (bits & FB_BOTTOM) ? B - m.bottomHeight : B);
        break;
    default:
        *out = client;
        break;
    }
}

void appGetBarRect(HWND frame, uint16_t bar, RECT *out)
{
    RECT client = {};
    if (frame)
        GetClientRect(frame, &client);
    int bits = appGetBarBits(frame);
    appBarRectIn(client, (uint16_t)(bits < 0 ? 0 : bits), g_metrics, bar, out);
}

void appLayoutBars(HWND frame)
{
    RECT r;
    if (HWND strip = clrGetPaletteWindow()) {
        if (GetParent(strip) == frame) {
            appGetBarRect(frame, FB_COLOR, &r);
            clrMovePaletteWindow(&r);
        }
    }
    if (appTestBar(frame, FB_MESSAGE)) {
        appGetBarRect(frame, FB_MESSAGE, &r);
        winMoveToRect(appGetBarWindow(frame, FB_MESSAGE), &r, TRUE);
        appGetBarRect(frame, FB_STANDARD, &r);
        winMoveToRect(appGetBarWindow(frame, FB_STANDARD), &r, TRUE);
    }
    if (appTestBar(frame, FB_LEFT)) {
        appGetBarRect(frame, FB_LEFT, &r);
        winMoveToRect(appGetBarWindow(frame, FB_LEFT), &r, TRUE);
    }
    if (appTestBar(frame, FB_RIGHT)) {
        appGetBarRect(frame, FB_RIGHT, &r);
        winMoveToRect(appGetBarWindow(frame, FB_RIGHT), &r, TRUE);
    }
    if (appTestBar(frame, FB_BOTTOM)) {
        appGetBarRect(frame, FB_BOTTOM, &r);
        winMoveToRect(appGetBarWindow(frame, FB_BOTTOM), &r, TRUE);
    }
    if (HWND client = appGetMdiClient(frame)) {
        appGetBarRect(frame, FB_CLIENT, &r);
        winMoveToRect(client, &r, TRUE);
    }
}
