// Text measuring and the reference contexts.
#include "text/tx_measure.h"
#include "text/tx_bullet.h"
#include "text/tx_format.h"
#include "text/tx_header.h"
#include "text/tx_paint.h"
#include "text/tx_stream.h"
#include "objects/img_io.h"
#include "model/ob_draw.h"
#include "support/app_frame_globals.h"
#include "support/dm_map.h"
#include "support/gdi_bitmap.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include <math.h>
#include "support/ut_mem.h"
#include <string.h>

uint32_t txPaintMeasure(HDC dc, HDC mdc, const char *text, int32_t n, CharFormat *fmt,
                        int32_t count, const int32_t *tabs);

namespace {

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

struct MeasureState {
    HDC screenRefDC = nullptr;
    HWND screenRefWindow = nullptr;
    BOOL screenRefActive = FALSE;
    HDC printerRefDC = nullptr;
    BOOL printerRefFlag = FALSE;
    BOOL usePrinterMetrics = TRUE;
    HDC savedPrinterRefDC = nullptr;
    int32_t pixelWidth = 15;
    int32_t pixelWidth4 = 60;
    HDC measureDC = nullptr;
    int32_t lineAscent = 0;
    BOOL colorsEnabled = TRUE;
};
MeasureState g_m;

// Maps a context to twips at 100 percent, viewport origin 0.
void mapAt100(HDC dc)
{
    dmPushState();
    dmSetZoomDC(dc, 100);
    dmPopState();
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
}

BOOL metricsOn(HDC dc, const CharFormat *fmt, TEXTMETRICA *tm)
{
    if (!dc)
        return FALSE;
    LOGFONTA lf = fmt->lf;
    if (fmt->subscript || fmt->superscript)
        lf.lfHeight = MulDiv(lf.lfHeight, 2, 3);
    if (fmt->hyperlink)
        lf.lfUnderline = 1;
    GdiObject<HFONT> font(dmCreateFont(&lf));
    if (!font)
        return FALSE;
    GdiSelect sel(dc, font);
    return GetTextMetricsA(dc, tm);
}

}  // namespace

// ---- reference contexts ------------------------------------------------------

int txSetPrinterRefDC(HDC dc, BOOL flag)
{
    g_m.printerRefDC = dc;
    g_m.printerRefFlag = flag;
    if (dc && GetObjectType(dc))
        mapAt100(dc);
    g_m.usePrinterMetrics = dc != nullptr && !flag;
    txUpdatePixelSize();
    return 1;
}

HDC txGetPrinterRefDC() { return g_m.printerRefDC; }
BOOL txUsePrinterMetrics() { return g_m.usePrinterMetrics; }

void txSetPrinterMetricsFlag(BOOL on)
{
    g_m.usePrinterMetrics = on && !g_m.printerRefFlag;
    txUpdatePixelSize();
}

void txSwitchRefDCForPrinting(HDC dc, BOOL on)
{
    if (on) {
        g_m.savedPrinterRefDC = g_m.printerRefDC;
        g_m.printerRefDC = dc;
    } else {
        g_m.printerRefDC = g_m.savedPrinterRefDC;
        g_m.savedPrinterRefDC = nullptr;
    }
}

void txUseScreenRefDC(BOOL on)
{
    if (on) {
        if (g_m.screenRefActive)
            return;
        HWND frame = appGetFrameWindow();
        g_m.screenRefWindow = frame;
        g_m.screenRefDC = frame ? dmGetDC(frame) : nullptr;
        if (!g_m.screenRefDC) {
            g_m.screenRefWindow = GetDesktopWindow();
            g_m.screenRefDC = GetDC(g_m.screenRefWindow);
            dmSetMapping(g_m.screenRefDC);
        }
        g_m.screenRefActive = g_m.screenRefDC != nullptr;
    } else {
        if (g_m.screenRefDC)
            ReleaseDC(g_m.screenRefWindow, g_m.screenRefDC);
        g_m.screenRefDC = nullptr;
        g_m.screenRefWindow = nullptr;
        g_m.screenRefActive = FALSE;
    }
}

HDC txChooseMeasureDC(HDC dc)
{
    if (g_m.screenRefActive && g_m.screenRefDC)
        return g_m.screenRefDC;
    if (g_m.usePrinterMetrics && g_m.printerRefDC)
        return g_m.printerRefDC;
    return dc;
}

HDC txGetMeasureDC(HWND window, BOOL usePrinter)
{
    if (usePrinter && g_m.printerRefDC)
        return g_m.printerRefDC;
    HWND w = window ? window : GetDesktopWindow();
    HDC dc = GetDC(w);
    if (dc)
        mapAt100(dc);
    return dc;
}

void txReleaseMeasureDC(HWND window, HDC dc, BOOL)
{
    if (!dc || dc == g_m.printerRefDC)
        return;
    ReleaseDC(window ? window : GetDesktopWindow(), dc);
}

void txUpdatePixelSize()
{
    g_m.pixelWidth = dmGetPixelWidth();
    if (g_m.pixelWidth < 1)
        g_m.pixelWidth = 1;
    g_m.pixelWidth4 = 4 * g_m.pixelWidth;
}

int32_t txPixelWidth() { return g_m.pixelWidth; }
HDC txGetCurrentMeasureDC() { return g_m.measureDC; }
void txSetCurrentMeasureDC(HDC dc) { g_m.measureDC = dc; }
BOOL txColorsEnabled() { return g_m.colorsEnabled; }
void txSetColorsEnabled(BOOL on) { g_m.colorsEnabled = on; }

void txResetMeasureModule()
{
    if (g_m.screenRefDC)
        ReleaseDC(g_m.screenRefWindow, g_m.screenRefDC);
    g_m = MeasureState();
}

// ---- font metrics --------------------------------------------------------------

BOOL txGetTextMetrics(HDC dc, const CharFormat *fmt, TEXTMETRICA *tm)
{
    if (!fmt || !tm)
        return FALSE;
    if (metricsOn(txChooseMeasureDC(dc), fmt, tm))
        return TRUE;
    if (g_m.savedPrinterRefDC)
        return metricsOn(g_m.savedPrinterRefDC, fmt, tm);
    HDC screen = txGetMeasureDC(nullptr, FALSE);
    BOOL ok = metricsOn(screen, fmt, tm);
    txReleaseMeasureDC(nullptr, screen, FALSE);
    return ok;
}

BOOL txGetTextMetricsFont(HDC dc, HFONT font, TEXTMETRICA *tm)
{
    HDC m = txChooseMeasureDC(dc);
    if (!m || !font || !tm)
        return FALSE;
    GdiSelect sel(m, font);
    return GetTextMetricsA(m, tm);
}

BOOL txGetTextMetricsLF(HDC dc, const LOGFONTA *lf, TEXTMETRICA *tm)
{
    if (!dc || !lf || !tm)
        return FALSE;
    GdiObject<HFONT> font(dmCreateFont(lf));
    if (!font)
        return FALSE;
    GdiSelect sel(dc, font);
    return GetTextMetricsA(dc, tm);
}

BOOL txGetFontMetrics(HDC dc, const CharFormat *fmt, int spacing, int32_t *avgWidth,
                      int32_t *height, int32_t *extLeading, int32_t *lineHeight, int32_t *ascent)
{
    TEXTMETRICA tm = {};
    if (!txGetTextMetrics(dc, fmt, &tm))
        return FALSE;
    if (avgWidth)
        *avgWidth = tm.tmAveCharWidth;
    if (height)
        *height = tm.tmHeight;
    if (extLeading)
        *extLeading = tm.tmExternalLeading;
    if (lineHeight) {
        *lineHeight = tm.tmHeight + tm.tmExternalLeading;
        if (spacing)
            *lineHeight = MulDiv(*lineHeight, spacing, 4);
    }
    if (ascent)
        *ascent = tm.tmAscent;
    return TRUE;
}

int32_t txGetLineHeight(HDC dc, const CharFormat *fmt)
{
    int32_t h = 0;
    txGetFontMetrics(dc, fmt, 0, nullptr, nullptr, nullptr, &h, nullptr);
    return h;
}

void txLineAscentDescent(HDC dc, const CharFormat *fmt, int32_t *lineHeight, int32_t *lineAscent)
{
    TEXTMETRICA tm = {};
    if (!dc || !GetTextMetricsA(dc, &tm))
        return;
    int32_t ascent = tm.tmExternalLeading + tm.tmAscent;
    int32_t height = tm.tmHeight + tm.tmExternalLeading;
    if (fmt->spacing != 4 && fmt->spacing != 0) {
        int32_t h2 = MulDiv(height, fmt->spacing, 4);
        ascent += (h2 - height) / 2;
        height = h2;
    }
    int32_t descent = height - ascent;
    int32_t full = fmt->lf.lfHeight < 0 ? -fmt->lf.lfHeight : fmt->lf.lfHeight;
    if (fmt->superscript) {
        int32_t a = tm.tmExternalLeading + tm.tmAscent + full / 2;
        ascent = a > ascent ? a : ascent;
    } else if (fmt->subscript) {
        int32_t d = tm.tmDescent + full / 5;
        descent = d > descent ? d : descent;
    }
    int32_t lh = lineHeight ? *lineHeight : 0;
    int32_t la = lineAscent ? *lineAscent : 0;
    int32_t lineDescent = lh - la;
    if (descent > lineDescent)
        lineDescent = descent;
    if (ascent > la)
        la = ascent;
    if (lineAscent)
        *lineAscent = la;
    if (lineHeight)
        *lineHeight = la + lineDescent;
    g_m.lineAscent = la;
}

int32_t txLastAscent() { return g_m.lineAscent; }
void txSetLastAscent(int32_t ascent) { g_m.lineAscent = ascent; }

int32_t txLineAdvance(const CharFormat *fmt, uint16_t tenths)
{
    int32_t h = fmt->lf.lfHeight < 0 ? -fmt->lf.lfHeight : fmt->lf.lfHeight;
    return h + h / 3 + (int32_t)(tenths * 2);
}

// ---- runs, characters and objects --------------------------------------------------

SIZE txRunExtent(HDC dc, const char *text, int32_t n, uint16_t cellWidth)
{
    SIZE s = {0, 0};
    if (!dc || !text || n <= 0)
        return s;
    GetTextExtentPoint32A(dc, text, n, &s);
    if (cellWidth)
        s.cx = n * cellWidth;
    return s;
}

MemHandle txCharWidths(HDC dc, const char *text, int32_t n)
{
    if (!dc || !text || n <= 0)
        return 0;
    MemHandle h = utAllocHandle(0, (uint32_t)n * 4);
    if (!h)
        return 0;
    int32_t extra = GetTextCharacterExtra(dc);
    bool ok = true;
    {
        MemLock<int32_t> w(h);
        for (int32_t i = 0; i < n && ok; ++i) {
            ABC abc;
            UINT c = (uint8_t)text[i];
            if (GetCharABCWidthsA(dc, c, c, &abc))
                w[(size_t)i] = abc.abcA + (int32_t)abc.abcB + abc.abcC + extra;
            else
                ok = false;
        }
    }
    if (!ok)
        return utFreeHandle(h);
    return h;
}

SIZE txRunWidthByChars(HDC dc, const char *text, int32_t n)
{
    SIZE s = {0, 0};
    if (!dc || !text || n <= 0)
        return s;
    for (int32_t i = 0; i < n; ++i) {
        INT w = 0;
        UINT c = (uint8_t)text[i];
        if (GetCharWidth32A(dc, c, c, &w))
            s.cx += w;
    }
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    s.cy = tm.tmHeight;
    return s;
}

BOOL txCharCell(HDC dc, const char *p, uint32_t codePage, RECT *rect)
{
    if (!dc || !p || !rect)
        return FALSE;
    int n = txIsDBCSLead(codePage, p) ? 2 : 1;
    SIZE s = {0, 0};
    if (!GetTextExtentPoint32A(dc, p, n, &s))
        return FALSE;
    SetRect(rect, 0, 0, s.cx, s.cy);
    return TRUE;
}

uint32_t txMeasureObject(HDC dc, HDC measureDC, int32_t x, int32_t y, int32_t angle,
                         const char *obj, BOOL draw, COLORREF color, int32_t *height,
                         int32_t *ascent)
{
    if (!obj || B(obj, 0) != TX_GS)
        return 0;
    HDC m = measureDC ? measureDC : dc;
    int32_t w = 0, h = 0;
    const uint8_t *pay = txPayload(obj);
    int32_t payload = B(obj, 1) - 3;
    switch (B(obj, 2)) {
    case TXO_SYMBOL: {
        uint32_t size = txBulletSize(m);
        w = (int32_t)(size & 0xFFFF);
        h = (int32_t)(size >> 16);
        if (draw && dc && payload >= 2) {
            uint16_t number;
            memcpy(&number, pay, 2);
            RECT r = {x, y - h, x + w, y};
            txDrawBullet(dc, &r, angle, number, color);
        }
        break;
    }
    case TXO_IMAGE:
        if (payload >= 24) {   // the fields up to the height at 23..26
            // Margins at 11 and 15, size at 19 and 23 from the unit start.
            int32_t hm, vm, iw, ih;
            memcpy(&hm, reinterpret_cast<const uint8_t *>(obj) + 11, 4);
            memcpy(&vm, reinterpret_cast<const uint8_t *>(obj) + 15, 4);
            memcpy(&iw, reinterpret_cast<const uint8_t *>(obj) + 19, 4);
            memcpy(&ih, reinterpret_cast<const uint8_t *>(obj) + 23, 4);
            w = iw + 2 * hm;
            h = ih + vm;
            // Drawn from the top-left corner.
            if (draw && dc)
                teDrawImageObject(dc, obj, x, y - h, height ? *height : 0, ascent ? *ascent : 0);
        }
        break;
    default:
        break;
    }
    if (height && ascent && h > *ascent) {
        *height += h - *ascent;
        *ascent = h;
    }
    return txPackExtent(w, h);
}

MemHandle txCharPositions(HDC dc, const char *text, int32_t n, CharFormat *fmt, int32_t *count)
{
    if (count)
        *count = 0;
    if (!dc || !text || !fmt)
        return 0;
    int32_t chars = 0;
    for (int32_t i = 0; i < n && B(text, i); i = txNextUnit(text, i))
        ++chars;
    MemHandle h = utAllocHandle(0, (uint32_t)(chars + 1) * sizeof(RECT));
    if (!h)
        return 0;
    HDC m = txChooseMeasureDC(dc);
    txBeginDraw(dc, fmt);
    int32_t x = 0, k = 0;
    {
        MemLock<RECT> r(h);
        for (int32_t i = 0; i < n && B(text, i);) {
            BOOL changed = FALSE;
            int32_t c = txApplyCodeRun(fmt, text + i, nullptr, &changed);
            if (changed)
                txSelectFormat(dc, m, fmt, nullptr, nullptr, TRUE);
            i += c;
            if (i >= n || !B(text, i))
                break;
            int32_t w = 0, hgt = 0, step = 1;
            if (B(text, i) == TX_GS) {
                uint32_t size = txMeasureObject(dc, m, 0, 0, 0, text + i, FALSE, 0, nullptr, nullptr);
                w = (int32_t)(size & 0xFFFF);
                hgt = (int32_t)(size >> 16);
                step = B(text, i + 1) + 2;
            } else {
                step = txIsDBCSLead(fmt->codePage, text + i) ? 2 : 1;
                SIZE s = txRunExtent(m, text + i, step, fmt->cellWidth);
                w = s.cx;
                hgt = s.cy;
            }
            SetRect(&r[(size_t)k++], x, 0, x + w, hgt);
            x += w;
            i += step;
        }
    }
    txEndDraw(dc);
    if (count)
        *count = k;
    return h;
}

// ---- tab stops -----------------------------------------------------------------

int32_t txTabIndexAt(int32_t x, int32_t count, const int32_t *tabs)
{
    if (count <= 0 || !tabs || x < tabs[0])
        return 0;
    if (count >= 2 && x >= tabs[count - 2])
        return count - 2;
    for (int32_t i = 0; i < count; ++i)
        if (tabs[i] > x)
            return i;
    return count - 1;
}

int32_t txNextTabStop(int32_t x, int32_t count, const int32_t *tabs)
{
    if (count <= 0 || !tabs)
        return x + 1;
    if (x < tabs[0])
        return tabs[0];
    if (x >= tabs[count - 1])
        return x + 1;
    for (int32_t i = 0; i < count; ++i)
        if (tabs[i] > x)
            return tabs[i];
    return x + 1;
}

int32_t txTabAt(int32_t i, int32_t count, const int32_t *tabs)
{
    if (count <= 0 || !tabs)
        return 0;
    if (i >= 0 && i <= count - 2)
        return tabs[i];
    return tabs[0];
}

// ---- lines and streams ---------------------------------------------------------

uint32_t txPackExtent(int32_t width, int32_t height)
{
    // Sizes travel as two 16-bit halves: anything beyond the 20-inch limit
    // is clamped rather than wrapped around.
    auto clamp = [](int32_t v) { return v < 0 ? 0 : v > kTxMaxExtent ? kTxMaxExtent : v; };
    return (uint32_t)clamp(width) | ((uint32_t)clamp(height) << 16);
}

uint32_t txMeasureLine(HDC dc, const char *text, int32_t n, CharFormat *fmt, int32_t count,
                       const int32_t *tabs)
{
    if (!text || !fmt)
        return 0;
    HDC m = txChooseMeasureDC(dc);
    if (!m)
        return 0;
    txBeginDraw(m, fmt);
    uint32_t r = txPaintMeasure(m, m, text, n, fmt, count, tabs);
    txEndDraw(m);
    return r;
}

uint32_t txWalkLine(HDC dc, const char *text, int32_t n, CharFormat *fmt, int32_t count,
                    const int32_t *tabs)
{
    if (!text || !fmt)
        return 0;
    HDC m = txChooseMeasureDC(dc);
    if (!m)
        return 0;
    txBeginDraw(m, fmt);
    uint32_t r = txPaintLine(m, m, 0, 0, text, n, fmt, count, tabs, FALSE);
    txEndDraw(m);
    return r;
}

void txMeasureText(HDC dc, const char *s, CharFormat *fmt, int32_t *width, int32_t *height)
{
    int32_t w = 0, h = 0, columnTop = 0, tallest = 0;
    if (s && fmt) {
        int32_t off = 0;
        if (txCodeNumber(s) == TXC_TAB_ARRAY)
            off = txCodeUnitSize(s);
        while (B(s, off) && h < 2 * kTxMaxExtent) {
            int32_t lw, lh, next;
            const char *p = s + off;
            bool newColumn = false;
            if (txIsLineInfo(p) && B(p, 1) >= 11) {
                TxLineInfo li;
                memcpy(&li, p + 3, 8);
                int32_t n = li.n > 0 ? li.n : 0;
                int32_t rest = txstrlen(p + 13);
                if (n > rest)
                    n = rest;
                lw = li.W;
                lh = li.H;
                // Codes of the line still change the format.
                CharFormat before = *fmt;
                txApplyRange(dc, p + 13, n, fmt);
                newColumn = (fmt->columnFlags & 1) && !(before.columnFlags & 1);
                next = off + 13 + n;
                if (B(s, next) == TX_SEOL)
                    ++next;
            } else {
                int32_t len = 0, withEnd = 0;
                char *nx = txNextLine(const_cast<char *>(p), &len, &withEnd);
                uint32_t e = txMeasureLine(dc, p, len, fmt, 0, nullptr);
                lw = (int32_t)(e & 0xFFFF);
                lh = (int32_t)(e >> 16);
                newColumn = (fmt->columnFlags & 1) != 0;
                next = nx ? (int32_t)(nx - s) : off;
            }
            if (next <= off)
                break;
            w = lw > w ? lw : w;
            h += lh;
            if (fmt->columns > 1 && newColumn) {
                fmt->columnFlags &= ~1u;
                tallest = h - columnTop > tallest ? h - columnTop : tallest;
                columnTop = h;
                fmt->columnIndex++;
            }
            off = next;
        }
        if (fmt->columns > 1 && columnTop > 0) {
            tallest = h - columnTop > tallest ? h - columnTop : tallest;
            h = tallest;
        }
        if (fmt->flags & TX_FMT_VERTICAL) {
            int32_t t = w;
            w = h;
            h = t;
        }
    }
    if (width)
        *width = w;
    if (height)
        *height = h;
}

int32_t txMeasureHeight(HDC dc, const char *s, CharFormat *fmt)
{
    int32_t h = 0;
    txMeasureText(dc, s, fmt, nullptr, &h);
    return h;
}

void txMeasureWithLogFont(HDC dc, const char *s, const LOGFONTA *lf, int32_t *width,
                          int32_t *height)
{
    CharFormat f;
    txFormatFromLogFont(&f, lf, 0, 4, 0, 0, 0xFFFFFF);
    txMeasureText(dc, s, &f, width, height);
}

BOOL txFitBoxHeight(const char *s, const TextHeader *header, RECT *rect, BOOL onlyGrow)
{
    if (!s || !header || !rect)
        return FALSE;
    HDC screen = txGetMeasureDC(nullptr, FALSE);
    CharFormat f;
    txFormatFromHeader(&f, header, rect, 0, 0xFFFFFF);
    int32_t h = txMeasureHeight(screen, s, &f);
    txReleaseMeasureDC(nullptr, screen, FALSE);
    int32_t old = rect->bottom - rect->top;
    if (onlyGrow && h <= old)
        return FALSE;
    RECT r = *rect;
    rect->top = gdiAlignY(r, h, header->align);
    rect->bottom = rect->top + h;
    return TRUE;
}

BOOL txFitBoxHeightAny(const char *s, const TextHeader *header, RECT *rect)
{
    return txFitBoxHeight(s, header, rect, FALSE);
}

const char *txMeasureLines(HDC dc, const char *s, CharFormat *fmt, int32_t count,
                           const int32_t *tabs, int32_t maxHeight)
{
    if (!s || !fmt)
        return nullptr;
    int32_t h = 0, off = 0;
    while (B(s, off)) {
        const char *p = s + off;
        int32_t lh, next;
        if (txIsLineInfo(p) && B(p, 1) >= 11) {
            TxLineInfo li;
            memcpy(&li, p + 3, 8);
            int32_t n = li.n > 0 ? li.n : 0;
            int32_t rest = txstrlen(p + 13);
            if (n > rest)
                n = rest;
            lh = li.H;
            txApplyRange(dc, p + 13, n, fmt);
            next = off + 13 + n;
        } else {
            int32_t len = 0, withEnd = 0;
            char *nx = txNextLine(const_cast<char *>(p), &len, &withEnd);
            lh = (int32_t)(txMeasureLine(dc, p, len, fmt, count, tabs) >> 16);
            next = nx ? (int32_t)(nx - s) : off;
        }
        h += lh;
        if (h > maxHeight)
            return p;
        if (next <= off)
            break;
        off = next;
    }
    return nullptr;
}

int32_t txTextBounds(HDC dc, const char *s, CharFormat *fmt, int32_t angle, int32_t count,
                     const int32_t *tabs, RECT *rect)
{
    if (rect)
        SetRectEmpty(rect);
    if (!s || !fmt)
        return 0;
    RECT box = fmt->lineRect;
    POINT centre = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    double turn = angle * M_PI / 1800.0;
    RECT all;
    SetRectEmpty(&all);
    bool any = false;
    int32_t top = box.top, used = 0, off = 0;
    if (txCodeNumber(s) == TXC_TAB_ARRAY)
        off = txCodeUnitSize(s);
    while (B(s, off) && top >= -kTxMaxExtent && top <= kTxMaxExtent) {
        const char *p = s + off;
        int32_t w, h, next;
        if (txIsLineInfo(p) && B(p, 1) >= 11) {
            TxLineInfo li;
            memcpy(&li, p + 3, 8);
            int32_t n = li.n > 0 ? li.n : 0;
            int32_t rest = txstrlen(p + 13);
            if (n > rest)
                n = rest;
            w = li.W;
            h = li.H;
            txApplyRange(dc, p + 13, n, fmt, count, tabs);
            next = off + 13 + n;
            if (B(s, next) == TX_SEOL)
                ++next;
        } else {
            int32_t len = 0, withEnd = 0;
            char *nx = txNextLine(const_cast<char *>(p), &len, &withEnd);
            uint32_t e = txMeasureLine(dc, p, withEnd, fmt, count, tabs);
            w = (int32_t)(e & 0xFFFF);
            h = (int32_t)(e >> 16);
            next = nx ? (int32_t)(nx - s) : off;
        }
        if (next <= off)
            break;
        int32_t x = gdiAlignX(box, w, (uint16_t)(fmt->align & 0x3));
        POINT c[4] = {{x, top}, {x + w, top}, {x + w, top + h}, {x, top + h}};
        if (angle)
            geoRotatePointsAbout(c, 4, centre, turn);
        for (const POINT &pt : c) {
            if (!any) {
                SetRect(&all, pt.x, pt.y, pt.x, pt.y);
                any = true;
            }
            all.left = pt.x < all.left ? pt.x : all.left;
            all.top = pt.y < all.top ? pt.y : all.top;
            all.right = pt.x > all.right ? pt.x : all.right;
            all.bottom = pt.y > all.bottom ? pt.y : all.bottom;
        }
        top += h;
        used += h;
        off = next;
    }
    if (rect)
        *rect = all;
    return used;
}

// ---- font records ------------------------------------------------------------------

int txMeasureFont(HDC dc, const void *fontRecord, int32_t *aveWidth, int32_t *height,
                  int32_t *leading, int32_t *heightLeading, int32_t *ascent)
{
    if (!dc || !fontRecord)
        return 0;
    CharFormat f;
    LOGFONTA lf;
    memcpy(&lf, fontRecord, sizeof lf);
    txFormatFromLogFont(&f, &lf, 0, 4, 0, 0, 0xFFFFFF);
    int32_t lineHeight = 0;
    if (!txGetFontMetrics(dc, &f, 0, aveWidth, height, leading, &lineHeight, ascent))
        return 0;
    if (heightLeading)
        *heightLeading = lineHeight;
    return 1;
}

int txMeasureFontOn(HWND workspace, const void *fontRecord, int32_t *aveWidth,
                    int32_t *height, int32_t *leading)
{
    *aveWidth = *height = *leading = 0;
    if (!fontRecord)
        return 0;
    HDC dc = workspace ? dmGetDC(workspace) : nullptr;
    HDC mem = nullptr;
    if (!dc) {
        mem = CreateCompatibleDC(nullptr);
        if (!mem)
            return 0;
        dmSetMapping(mem);
    }
    CharFormat f;
    LOGFONTA lf;
    memcpy(&lf, fontRecord, sizeof lf);
    txFormatFromLogFont(&f, &lf, 0, 4, 0, 0, 0xFFFFFF);
    int ok = txGetFontMetrics(dc ? dc : mem, &f, 0, aveWidth, height, leading, nullptr, nullptr);
    if (dc)
        ReleaseDC(workspace, dc);
    if (mem)
        DeleteDC(mem);
    return ok;
}

uint32_t teDrawImageObject(HDC dc, const char *object, int32_t x, int32_t y, int32_t, int32_t)
{
    if (!object || (uint8_t)object[0] != TX_GS || (uint8_t)object[2] != TXO_IMAGE)
        return 0;
    int32_t total = (uint8_t)object[1] + 2;
    if (total <= (int32_t)kTxImageFixed)
        return 0;
    int32_t hm, vm, w, h;
    memcpy(&hm, object + 11, 4);
    memcpy(&vm, object + 15, 4);
    memcpy(&w, object + 19, 4);
    memcpy(&h, object + 23, 4);
    // The name runs from +31 to its terminator, within the object.
    char name[256];
    int32_t n = total - (int32_t)kTxImageFixed;
    memcpy(name, object + 31, (size_t)n);
    name[n] = 0;
    if (dc && w > 0 && h > 0) {
        // The picture stands on the baseline with the margin above it.
        RECT r = {x + hm, y + vm, x + hm + w, y + vm + h};
        if (!imgDrawFileInRect(dc, name, &r, 0, GEO_FIT_FRAME, 0, FALSE, 0))
            obDrawMissingImage(GetModuleHandleA(nullptr), dc, &r);
    }
    return txPackExtent(w + 2 * hm, h + vm);
}
