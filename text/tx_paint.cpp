// Line painting and justification.
#include "text/tx_paint.h"
#include "text/tx_format.h"
#include "text/tx_measure.h"
#include "text/tx_stream.h"
#include "support/dm_map.h"
#include "support/gdi_bitmap.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <math.h>
#include <string.h>
#include <vector>

namespace {

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

COLORREF g_hyperColor = RGB(0, 0, 255);
COLORREF g_tempColor = RGB(0, 0, 192);

// The fonts of the drawing pass: the one created last and those it replaced.
struct DrawPass {
    HDC dc = nullptr;
    HDC mdc = nullptr;
    HFONT font = nullptr;       // created for the current format
    HFONT oldDC = nullptr;      // the fonts selected before the pass
    HFONT oldMDC = nullptr;
    int depth = 0;
};
DrawPass g_pass;

// Justification of one line: the spread given to each space after the
// line's last tab, and the spare twips handed out one per space.
struct Spread {
    int32_t lastTab = -1;       // offset of the last tab, -1 when none
    int32_t spread = 0;
    int32_t extra = 0;          // spaces still owed one twip more
};

int32_t countSpaces(const char *t, int32_t n)
{
    int32_t k = 0;
    for (int32_t i = 0; i < n; ++i)
        k += t[i] == ' ';
    return k;
}

// The painter: walks the n bytes of one line from (x, y), measuring every
// run on mdc and drawing on dc when asked. measureOnly: a paragraph return
// adds no width (the measurer's rule).
uint32_t paint(HDC dc, HDC mdc, int32_t x, int32_t y, const char *text, int32_t n,
               CharFormat *fmt, int32_t count, const int32_t *tabs, BOOL draw,
               bool measureOnly, Spread *spread)
{
    const bool vertical = (fmt->flags & TX_FMT_VERTICAL) != 0;
    const bool rtl = (fmt->flags & TX_FMT_RTL) != 0;
    int32_t charExtra = fmt->charSpacing * 2;
    SetTextCharacterExtra(dc, charExtra);
    if (mdc != dc)
        SetTextCharacterExtra(mdc, charExtra);
    // Paragraph offsets and the left margin of an indented paragraph.
    uint16_t h = fmt->align & 0x103;
    int32_t margin = 0;
    if (fmt->indentLevel && (h == 0 || h == 0x100))
        margin = txTabAt(fmt->indentLevel, count, tabs);
    if (vertical)
        y += fmt->leftOffset + margin;
    else
        x += fmt->leftOffset + margin;
    const int32_t x0 = x, y0 = y;
    int32_t px = x, py = y, w = 0;
    int32_t lineHeight = 0, lineAscent = 0;
    txSetLastAscent(0);
    bool anyRun = false;
    int32_t drop = (int32_t)(fmt->ruledExtra * 2);   // tenths of a point to twips
    for (int32_t i = 0; i < n && B(text, i);) {
        uint8_t b = B(text, i);
        if (b == TX_ESC) {
            int32_t turnSum = 0;
            BOOL fontChanged = FALSE;
            while (i < n && B(text, i) == TX_ESC) {
                int32_t turn = 0;
                BOOL fc = FALSE;
                i += txApplyCode(fmt, text + i, x0, y0, &px, &py, nullptr, &turn, &fc);
                turnSum += turn;
                fontChanged |= fc;
            }
            if (!vertical && fmt->lf.lfOrientation == 0)
                w = px - x;
            txSelectFormat(dc, mdc, fmt, nullptr, nullptr, fontChanged);
            charExtra = fmt->charSpacing * 2;
            if (turnSum && !(fmt->flags & TX_FMT_NO_PIVOT)) {
                // The pen pivots about the glyphs' top: the chord of the turn.
                TEXTMETRICA tm = {};
                GetTextMetricsA(mdc, &tm);
                double t = turnSum * M_PI / 1800.0;
                double chord = 2.0 * tm.tmAscent * sin(t / 2);
                double dir = (fmt->lf.lfOrientation - turnSum) * M_PI / 1800.0 + t / 2;
                px += (int32_t)lround(chord * cos(dir));
                py -= (int32_t)lround(chord * sin(dir));
            }
            continue;
        }
        if (b == TX_GS) {
            int32_t hgt = lineHeight, asc = lineAscent;
            uint32_t size = txMeasureObject(dc, mdc, px, py, fmt->lf.lfOrientation, text + i,
                                            draw, fmt->foreColor, &hgt, &asc);
            if (hgt || asc) {
                lineHeight = hgt > lineHeight ? hgt : lineHeight;
                lineAscent = asc > lineAscent ? asc : lineAscent;
                txSetLastAscent(lineAscent);
            }
            int32_t ow = (int32_t)(size & 0xFFFF);
            w += ow;
            if (fmt->lf.lfOrientation)
                txAdvanceRotated(&px, &py, ow, fmt->lf.lfOrientation);
            else
                px = x + w;
            anyRun = true;
            i += B(text, i + 1) + 2;
            continue;
        }
        if (b >= 32) {
            int32_t j = i;
            while (j < n && B(text, j) >= 32)
                ++j;
            int32_t len = j - i;
            if (fmt->skip) {
                i = j;
                continue;
            }
            SIZE ext = txRunExtent(mdc, text + i, len, fmt->cellWidth);
            txLineAscentDescent(mdc, fmt, &lineHeight, &lineAscent);
            anyRun = true;
            if (draw) {
                int32_t spaces = countSpaces(text + i, len);
                bool spreadRun = spread && i > spread->lastTab && spread->spread > 0;
                if (dc != mdc && !spreadRun && len >= 2)
                    txJustifyRun(dc, text + i, len, charExtra, ext.cx, spaces);
                int32_t dx = 0, dy = drop;
                int32_t full = fmt->lf.lfHeight < 0 ? -fmt->lf.lfHeight : fmt->lf.lfHeight;
                if (fmt->superscript) {
                    if (vertical)
                        dx += rtl ? full / 2 : -full / 2;
                    else
                        dy -= full / 2;
                } else if (fmt->subscript) {
                    if (vertical)
                        dx += rtl ? -full / 5 : full / 2;
                    else
                        dy += full / 5;
                }
                COLORREF oldColour = 0;
                if (fmt->temp && txColorsEnabled())
                    oldColour = SetTextColor(dc, g_tempColor);
                if (spreadRun) {
                    int32_t extra = spread->extra < spaces ? spread->extra : spaces;
                    txDrawRunSpread(dc, px + dx, py + dy, text + i, len, ' ', spread->spread, extra);
                    spread->extra -= extra;
                    ext.cx += spaces * spread->spread + extra;
                } else {
                    txDrawCells(dc, px + dx, py + dy, text + i, len, fmt->cellWidth);
                }
                if (fmt->temp && txColorsEnabled())
                    SetTextColor(dc, oldColour);
                SetTextJustification(dc, 0, 0);
                SetTextCharacterExtra(dc, charExtra);
            }
            w += ext.cx;
            if (fmt->lf.lfOrientation)
                txAdvanceRotated(&px, &py, ext.cx, fmt->lf.lfOrientation);
            else if (vertical)
                py = y + w;
            else
                px = x + w;
            i = j;
            continue;
        }
        // Control bytes.
        if (b == TX_INDENT) {
            fmt->indentLevel = (uint8_t)txTabIndexAt(w, count, tabs);
        } else if (b == TX_TAB) {
            int32_t to = txNextTabStop(w, count, tabs);
            if (fmt->lf.lfOrientation)
                txAdvanceRotated(&px, &py, to - w, fmt->lf.lfOrientation);
            else if (vertical)
                py = y + to;
            else
                px = x + to;
            w = to;
        } else if (b == TX_RETURN) {
            if (measureOnly) {
                fmt->indentLevel = fmt->indentAux = 0;
            } else {
                int32_t before = w;
                txAdvanceReturn(mdc, fmt, &px, &py, &w);
                (void)before;
            }
        }
        ++i;
    }
    if (!anyRun)
        txLineAscentDescent(mdc, fmt, &lineHeight, &lineAscent);
    if (fmt->flags & TX_FMT_RULED)
        lineHeight = txLineAdvance(fmt, fmt->ruledExtra);
    return txPackExtent(w, lineHeight);
}

}  // namespace

void txSetHyperlinkColor(COLORREF c) { g_hyperColor = c; }
COLORREF txGetHyperlinkColor() { return g_hyperColor; }
void txSetTempColor(COLORREF c) { g_tempColor = c; }
COLORREF txGetTempColor() { return g_tempColor; }

HFONT txCreateFormatFont(HDC dc, HDC measureDC, const CharFormat *fmt, HFONT *oldFont)
{
    LOGFONTA lf = fmt->lf;
    if (fmt->subscript || fmt->superscript)
        lf.lfHeight = MulDiv(lf.lfHeight, 2, 3);
    if (fmt->hyperlink)
        lf.lfUnderline = 1;
    HFONT font = dmCreateFont(&lf);
    if (!font)
        return nullptr;
    HFONT previous = (HFONT)SelectObject(dc, font);
    if (measureDC && measureDC != dc)
        SelectObject(measureDC, font);
    if (oldFont)
        *oldFont = previous;
    else if (previous && previous != g_pass.oldDC && previous != g_pass.oldMDC)
        DeleteObject(previous);
    return font;
}

void txApplyColors(HDC dc, HDC measureDC, const CharFormat *fmt)
{
    int32_t extra = fmt->charSpacing * 2;
    SetTextCharacterExtra(dc, extra);
    if (measureDC && measureDC != dc)
        SetTextCharacterExtra(measureDC, extra);
    if (!txColorsEnabled())
        return;
    COLORREF text = fmt->foreColor, back = fmt->backColor;
    if (fmt->hyperlink)
        text = g_hyperColor;
    else if (fmt->inverse)
        text = fmt->backColor, back = fmt->foreColor;
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    SetBkMode(dc, fmt->bkMode == 2 ? OPAQUE : TRANSPARENT);
}

HFONT txSelectFormat(HDC dc, HDC measureDC, const CharFormat *fmt, HFONT *oldFont, HFONT font,
                     BOOL fontChanged)
{
    if (!oldFont && !fontChanged) {
        txApplyColors(dc, measureDC, fmt);
        return font;
    }
    HFONT made = txCreateFormatFont(dc, measureDC, fmt, oldFont);
    if (made && g_pass.depth > 0)
        g_pass.font = made;
    txApplyColors(dc, measureDC, fmt);
    return made;
}

void txBeginDraw(HDC dc, const CharFormat *fmt)
{
    if (g_pass.depth++ > 0) {
        txSelectFormat(dc, g_pass.mdc, fmt, nullptr, nullptr, TRUE);
        return;
    }
    g_pass.dc = dc;
    g_pass.mdc = txChooseMeasureDC(dc);
    txSetCurrentMeasureDC(g_pass.mdc);
    txUpdatePixelSize();
    LOGFONTA lf = fmt->lf;
    if (fmt->subscript || fmt->superscript)
        lf.lfHeight = MulDiv(lf.lfHeight, 2, 3);
    if (fmt->hyperlink)
        lf.lfUnderline = 1;
    g_pass.font = dmCreateFont(&lf);
    g_pass.oldDC = (HFONT)SelectObject(dc, g_pass.font);
    g_pass.oldMDC = g_pass.mdc != dc ? (HFONT)SelectObject(g_pass.mdc, g_pass.font) : nullptr;
    txApplyColors(dc, g_pass.mdc, fmt);
}

void txEndDraw(HDC dc)
{
    if (g_pass.depth == 0 || --g_pass.depth > 0)
        return;
    HFONT current = (HFONT)SelectObject(dc, g_pass.oldDC);
    if (g_pass.mdc && g_pass.mdc != dc && g_pass.oldMDC)
        SelectObject(g_pass.mdc, g_pass.oldMDC);
    if (current && current != g_pass.oldDC)
        DeleteObject(current);
    if (g_pass.font && g_pass.font != current)
        DeleteObject(g_pass.font);
    SetTextCharacterExtra(dc, 0);
    if (g_pass.mdc && g_pass.mdc != dc)
        SetTextCharacterExtra(g_pass.mdc, 0);
    txSetCurrentMeasureDC(nullptr);
    g_pass = DrawPass();
}

void txSelectFormatFont(HDC dc, const CharFormat *fmt)
{
    txSelectFormat(dc, txGetCurrentMeasureDC() ? txGetCurrentMeasureDC() : dc, fmt, nullptr,
                   nullptr, TRUE);
}

int32_t txSplitSpread(int32_t total, int32_t used, int32_t spaces, int32_t *remainder)
{
    if (remainder)
        *remainder = 0;
    if (spaces < 1)
        return 0;
    int32_t spare = total - used;
    if (spare <= 0)
        return 0;
    if (remainder)
        *remainder = spare % spaces;
    return spare / spaces;
}

void txAdvanceRotated(int32_t *x, int32_t *y, int32_t d, int32_t angle)
{
    double a = angle * M_PI / 1800.0;
    *x += (int32_t)lround(d * cos(a));
    *y -= (int32_t)lround(d * sin(a));
}

void txAdvanceReturn(HDC dc, CharFormat *fmt, int32_t *x, int32_t *y, int32_t *width)
{
    SIZE f = {0, 0};
    GetTextExtentPoint32A(dc, "f", 1, &f);
    if (fmt->lf.lfOrientation)
        txAdvanceRotated(x, y, f.cx, fmt->lf.lfOrientation);
    else
        *x += f.cx;
    *width += f.cx;
    fmt->indentLevel = fmt->indentAux = 0;
    fmt->justify = 0;
}

void txDrawCells(HDC dc, int32_t x, int32_t y, const char *text, int32_t n, uint16_t cellWidth)
{
    if (n <= 0)
        return;
    if (!cellWidth) {
        TextOutA(dc, x, y, text, n);
        return;
    }
    SIZE wext, vext;
    GetWindowExtEx(dc, &wext);
    GetViewportExtEx(dc, &vext);
    UINT oldAlign = GetTextAlign(dc);
    SetTextAlign(dc, (oldAlign & ~(TA_LEFT | TA_RIGHT | TA_CENTER)) | TA_CENTER);
    for (int32_t i = 0; i < n; ++i)
        TextOutA(dc, x + i * cellWidth + cellWidth / 2, y, text + i, 1);
    SetTextAlign(dc, oldAlign);
    SetWindowExtEx(dc, wext.cx, wext.cy, nullptr);
    SetViewportExtEx(dc, vext.cx, vext.cy, nullptr);
}

void txJustifyRun(HDC dc, const char *text, int32_t n, int32_t charExtra, int32_t width,
                  int32_t spaces)
{
    if (!dc || n < 2)
        return;
    txUpdatePixelSize();
    int32_t pw = txPixelWidth();
    int32_t cap = width / 50;
    if (cap > 4 * pw)
        cap = 4 * pw;
    SetTextJustification(dc, 0, 0);
    SetTextCharacterExtra(dc, charExtra);
    SIZE s = {0, 0};
    GetTextExtentPoint32A(dc, text, n, &s);
    int32_t d = width - s.cx;
    if (d > cap || d < -cap) {
        int32_t e = d / n;
        if (d > cap && e >= pw)
            e -= pw / 2 - 1;
        else if (d < -cap && e <= -pw)
            e += pw / 2 + 1;
        SetTextCharacterExtra(dc, charExtra + e);
        GetTextExtentPoint32A(dc, text, n, &s);
    }
    if (spaces > 0 && width != s.cx)
        SetTextJustification(dc, width - s.cx, spaces);
}

int32_t txDrawRunSpread(HDC dc, int32_t x, int32_t y, const char *text, int32_t n,
                        char spaceChar, int32_t spread, int32_t extraCount)
{
    if (n <= 0)
        return 0;
    std::vector<INT> dx((size_t)n);
    bool have = false;
    MemHandle h = txCharWidths(dc, text, n);
    if (h) {
        MemLock<int32_t> w(h);
        for (int32_t i = 0; i < n; ++i)
            dx[(size_t)i] = w[(size_t)i];
        have = true;
    }
    utFreeHandle(h);
    if (!have) {
        // GetCharABCWidthsA fails for fonts that are not TrueType: their
        // plain advance widths serve as well.
        have = true;
        for (int32_t i = 0; i < n && have; ++i) {
            INT cw = 0;
            UINT c = (uint8_t)text[i];
            if (GetCharWidth32A(dc, c, c, &cw))
                dx[(size_t)i] = cw + GetTextCharacterExtra(dc);
            else
                have = false;
        }
    }
    if (!have) {
        // Drawn unspread rather than not at all.
        SIZE s = {0, 0};
        GetTextExtentPoint32A(dc, text, n, &s);
        TextOutA(dc, x, y, text, n);
        return s.cx;
    }
    int32_t total = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (text[i] == spaceChar) {
            dx[(size_t)i] += spread;
            if (extraCount > 0) {
                ++dx[(size_t)i];
                --extraCount;
            }
        }
        total += dx[(size_t)i];
    }
    ExtTextOutA(dc, x, y, 0, nullptr, text, (UINT)n, dx.data());
    return total;
}

uint32_t txPaintLine(HDC dc, HDC measureDC, int32_t x, int32_t y, const char *text, int32_t n,
                     CharFormat *fmt, int32_t count, const int32_t *tabs, BOOL draw)
{
    if (!dc || !text || !fmt)
        return 0;
    return paint(dc, measureDC ? measureDC : dc, x, y, text, n, fmt, count, tabs, draw, false,
                 nullptr);
}

uint32_t txPaintLineRef(HDC dc, int32_t x, int32_t y, const char *text, int32_t n,
                        CharFormat *fmt, int32_t count, const int32_t *tabs, BOOL draw)
{
    HDC mdc = txGetCurrentMeasureDC();
    return txPaintLine(dc, mdc ? mdc : dc, x, y, text, n, fmt, count, tabs, draw);
}

uint32_t txWalkLineDraw(HDC dc, int32_t x, int32_t y, const char *text, int32_t n,
                        CharFormat *fmt, int32_t count, const int32_t *tabs)
{
    txBeginDraw(dc, fmt);
    uint32_t r = txPaintLineRef(dc, x, y, text, n, fmt, count, tabs, TRUE);
    txEndDraw(dc);
    return r;
}

// Internal entry for the measurer: a paragraph return adds no width.
uint32_t txPaintMeasure(HDC dc, HDC mdc, const char *text, int32_t n, CharFormat *fmt,
                        int32_t count, const int32_t *tabs)
{
    return paint(dc, mdc, 0, 0, text, n, fmt, count, tabs, FALSE, true, nullptr);
}

uint32_t txDrawLine(HDC dc, int32_t x, int32_t y, int32_t width, const char *text, int32_t n,
                    CharFormat *fmt, int32_t count, const int32_t *tabs, BOOL draw)
{
    HDC mdc = txGetCurrentMeasureDC();
    if (!mdc)
        mdc = dc;
    bool endsWithReturn = n > 0 && B(text, n - 1) == TX_RETURN;
    if (!draw || (fmt->align & 0x103) != 0x100 || endsWithReturn)
        return txPaintLine(dc, mdc, x, y, text, n, fmt, count, tabs, draw);
    // Justified: the spaces that end the line are neither drawn nor counted;
    // only the spaces after the line's last tab are widened.
    int32_t end = n;
    while (end > 0 && B(text, end - 1) == ' ')
        --end;
    Spread sp;
    int32_t spaces = 0;
    for (int32_t i = 0; i < end;) {
        uint8_t b = B(text, i);
        if (b == TX_ESC || b == TX_GS) {
            i += B(text, i + 1) + 2;
            continue;
        }
        if (b == TX_TAB) {
            sp.lastTab = i;
            spaces = 0;
        } else if (b == ' ') {
            ++spaces;
        }
        ++i;
    }
    CharFormat first = *fmt;
    uint32_t measured = paint(dc, mdc, x, y, text, end, &first, count, tabs, FALSE, false, nullptr);
    int32_t used = (int32_t)(measured & 0xFFFF);
    if (spaces > 1)
        sp.spread = txSplitSpread(width, used, spaces, &sp.extra);
    return paint(dc, mdc, x, y, text, end, fmt, count, tabs, TRUE, false, &sp);
}

namespace {

struct LineGeom {
    const char *text;
    int32_t n;       // bytes of the line's text
    int32_t next;    // offset of the next line
    int32_t W, H, blo;
    bool measured;
};

// The line at s + off: from its code 100, or found and measured.
LineGeom lineAt(HDC dc, const char *s, int32_t off, CharFormat *fmt, int32_t count,
                const int32_t *tabs)
{
    LineGeom g = {};
    const char *p = s + off;
    if (txIsLineInfo(p) && B(p, 1) >= 11) {
        TxLineInfo li;
        memcpy(&li, p + 3, 8);
        g.text = p + 13;
        g.n = li.n > 0 ? li.n : 0;
        // A damaged length never runs past the terminator.
        int32_t rest = txstrlen(g.text);
        if (g.n > rest)
            g.n = rest;
        g.W = li.W;
        g.H = li.H;
        g.blo = li.nBLO;
        g.next = off + 13 + g.n;
        if (B(s, g.next) == TX_SEOL)
            ++g.next;
        return g;
    }
    int32_t len = 0, withEnd = 0;
    char *next = txNextLine(const_cast<char *>(p), &len, &withEnd);
    g.text = p;
    g.n = withEnd;
    g.next = next ? (int32_t)(next - s) : off;
    CharFormat copy = *fmt;
    uint32_t e = txWalkLine(dc, p, len, &copy, count, tabs);
    g.W = (int32_t)(e & 0xFFFF);
    g.H = (int32_t)(e >> 16);
    g.blo = txLastAscent();
    g.measured = true;
    return g;
}

int32_t drawLines(HDC dc, const char *s, CharFormat *fmt, int32_t angle, int32_t count,
                  const int32_t *tabs, bool columns)
{
    if (!dc || !s || !fmt)
        return 0;
    txBeginDraw(dc, fmt);
    HDC mdc = txGetCurrentMeasureDC();
    const bool vertical = (fmt->flags & TX_FMT_VERTICAL) != 0;
    const bool rtl = (fmt->flags & TX_FMT_RTL) != 0;
    RECT r = fmt->lineRect;
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    double turn = angle * M_PI / 1800.0;
    int32_t top = r.top, left = r.left, right = r.right;
    const int32_t startTop = r.top;
    int32_t used = 0;
    int32_t off = 0;
    if (txCodeNumber(s) == TXC_TAB_ARRAY)
        off = txCodeUnitSize(s);
    int32_t columnStep = 0;
    if (columns && fmt->columns > 1)
        columnStep = (r.right - r.left) / fmt->columns;
    while (B(s, off)) {
        if (top < -kTxMaxExtent || top > kTxMaxExtent)
            break;
        LineGeom g = lineAt(mdc ? mdc : dc, s, off, fmt, count, tabs);
        if (g.next <= off)
            break;
        int32_t skipped = 0;
        BOOL fontChanged = FALSE;
        const char *body = g.text;
        {
            // The codes that open the line.
            int32_t n0 = 0;
            uint32_t o = 0;
            n0 = txApplyCodeRun(fmt, body, &o, &fontChanged);
            if (n0 > g.n)
                n0 = g.n;
            skipped = n0;
        }
        if (fontChanged)
            txSelectFormat(dc, mdc, fmt, nullptr, nullptr, TRUE);
        int32_t W = g.W;
        uint16_t h = fmt->align & 0x103;
        if (fmt->indentLevel && (h == 0 || h == 0x100))
            W += txTabAt(fmt->indentLevel, count, tabs);
        RECT band = fmt->lineRect;
        POINT pen;
        int32_t width;
        if (!vertical) {
            band.top = top;
            pen.x = gdiAlignX(band, W, (uint16_t)(fmt->align & 0x3));
            if (h == 0x100)
                pen.x = band.left;
            pen.y = top + g.blo;
            width = band.right - band.left;
        } else {
            pen.y = gdiAlignY(band, W, (uint16_t)((fmt->align & 0x3) == 1 ? 8 : (fmt->align & 0x3) == 2 ? 16 : 0));
            pen.x = rtl ? right - g.blo : left + g.H - g.blo;
            width = band.bottom - band.top;
        }
        if (angle)
            geoRotatePointsAbout(&pen, 1, centre, turn);
        txDrawLine(dc, pen.x, pen.y, width, body + skipped, g.n - skipped, fmt, count, tabs, TRUE);
        if (!vertical)
            top += g.H;
        else if (rtl)
            right -= g.H;
        else
            left += g.H;
        used += g.H;
        if (columnStep && (fmt->columnFlags & 1)) {
            fmt->columnFlags &= ~1u;
            fmt->columnIndex++;
            OffsetRect(&fmt->lineRect, columnStep, 0);
            top = startTop;
        }
        off = g.next;
    }
    txEndDraw(dc);
    return used;
}

}  // namespace

int32_t txDrawLines(HDC dc, const char *s, CharFormat *fmt, int32_t angle, int32_t count,
                    const int32_t *tabs)
{
    return drawLines(dc, s, fmt, angle, count, tabs, false);
}

int32_t txDrawColumns(HDC dc, const char *s, CharFormat *fmt, int32_t angle, int32_t count,
                      const int32_t *tabs)
{
    return drawLines(dc, s, fmt, angle, count, tabs, true);
}

int32_t txDrawText(HDC dc, const RECT *rect, const char *s, CharFormat *fmt, int32_t count,
                   const int32_t *tabs)
{
    if (!dc || !rect || !s || !fmt)
        return 0;
    UINT oldAlign = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    RECT r = *rect;
    const bool vertical = (fmt->flags & TX_FMT_VERTICAL) != 0;
    uint16_t v = fmt->align & 0x1C;
    if (!vertical && (v == 8 || v == 16)) {
        CharFormat copy = *fmt;
        int32_t height = txMeasureHeight(dc, s, &copy);
        if (height > kTxMaxExtent)
            height = kTxMaxExtent;
        r.top = gdiAlignY(*rect, height, fmt->align);
    } else if (vertical && (fmt->align & 0x3) != 2) {
        CharFormat copy = *fmt;
        int32_t width = 0, height = 0;
        txMeasureText(dc, s, &copy, &width, &height);
        if (width > kTxMaxExtent)
            width = kTxMaxExtent;
        r.left = gdiAlignX(*rect, width, fmt->align);
    }
    fmt->frameRect = r;
    fmt->lineRect = r;
    int32_t used = txDrawLines(dc, s, fmt, 0, count, tabs);
    SetTextAlign(dc, oldAlign);
    return used;
}

int32_t txDrawStream(HDC dc, const RECT *rect, const char *stream, const LOGFONTA *lf,
                     uint16_t align, uint8_t spacing, uint16_t charSpacing,
                     const COLORREF *colors)
{
    if (!dc || !rect || !stream || !stream[0] || !lf)
        return 0;
    CharFormat fmt;
    COLORREF fore = colors ? colors[0] : GetTextColor(dc);
    COLORREF back = colors ? colors[1] : GetBkColor(dc);
    txFormatFromLogFont(&fmt, lf, align, spacing, charSpacing, fore, back);
    std::vector<int32_t> tabs;
    if (txCodeNumber(stream) == TXC_TAB_ARRAY && txCodeUnitSize(stream) >= 7) {
        const uint8_t *p = txPayload(stream);
        int16_t c;
        memcpy(&c, p, 2);
        for (int16_t i = 0; i < c && 2 + 2 * i + 2 <= txCodeUnitSize(stream) - 5; ++i) {
            uint16_t t;
            memcpy(&t, p + 2 + 2 * i, 2);
            tabs.push_back(t);
        }
    }
    return txDrawText(dc, rect, stream, &fmt, (int32_t)tabs.size(), tabs.empty() ? nullptr : tabs.data());
}

int32_t txDrawStreamEx(HDC dc, const RECT *rect, int vertical, int rightToLeft,
                       const char *stream, const LOGFONTA *font, uint16_t align, int32_t,
                       int32_t, const COLORREF colours[3], int32_t lineHeight, int32_t)
{
    if (!dc || !rect || !stream || !stream[0] || !font)
        return 0;
    COLORREF pair[2] = {colours ? colours[1] : GetTextColor(dc), colours ? colours[2] : GetBkColor(dc)};
    CharFormat fmt;
    txFormatFromLogFont(&fmt, font, align, 4, 0, pair[0], pair[1]);
    if (vertical)
        fmt.flags |= TX_FMT_VERTICAL;
    if (rightToLeft)
        fmt.flags |= TX_FMT_RTL;
    // A given line height becomes the line spacing in quarter lines.
    if (lineHeight > 0) {
        HDC mdc = txChooseMeasureDC(dc);
        int32_t natural = txGetLineHeight(mdc, &fmt);
        if (natural > 0) {
            int32_t q = MulDiv(lineHeight, 4, natural);
            fmt.spacing = (uint8_t)(q < 1 ? 1 : q > 255 ? 255 : q);
        }
    }
    int oldMode = GetBkMode(dc);
    BOOL enabled = txColorsEnabled();
    int32_t used = txDrawText(dc, rect, stream, &fmt, 0, nullptr);
    txSetColorsEnabled(enabled);
    SetBkMode(dc, oldMode);
    return used;
}
