// The caret: its position rules, stepping, absolute offsets, the format at
// a position, byte insertion at the caret, the system caret and keeping
// the caret in view.
#include "textedit/te_caret.h"
#include "textedit/te_session.h"
#include "textedit/te_commands.h"
#include "textedit/te_display.h"
#include "views/ws_record.h"
#include "support/dm_map.h"
#include "support/gdi_text.h"
#include "support/ut_mem.h"
#include "text/tx_draw_object.h"
#include "textedit/tx_edit_dump.h"
#include "text/tx_measure.h"
#include "text/tx_paint.h"
#include "text/tx_stream.h"
#include "support/win_datawin.h"
#include "views/ws_scroll.h"

#include <stdio.h>
#include <stdlib.h>
#include <string>

namespace {

TextEditSession &S() { return *teSession(); }
inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

// The caret line's text and length while locked.
struct CaretText {
    MemLock<TxLineRecord> r;
    char *t;
    int32_t n;
    explicit CaretText(MemHandle line)
        : r(line), t(r ? teLineText(r.get()) : nullptr), n(r ? teLineInfo(r.get())->n : 0)
    {
    }
};

void traceLine(const char *fmt, int32_t a, int32_t b)
{
    if (!teGetCaretTrace())
        return;
    char line[80];
    snprintf(line, sizeof line, fmt, (int)a, (int)b);
    winDataWindowAppend(line);
}

}  // namespace

// ---- position ----------------------------------------------------------------------------------

MemHandle teCaretLine() { return S().caretLine; }
int32_t teCaretOffset() { return S().caretOffset; }

void teGetCaretPos(TePos *out)
{
    if (out)
        *out = {S().caretLine, S().caretOffset};
}

void teSetCaretLine(MemHandle line)
{
    S().caretLine = line;
    teUpdateCaretLinePos();
}

void teSetCaretOffset(int32_t offset)
{
    int32_t n = teLineLength(S().caretLine);
    if (offset >= n) {
        teCaretToLineEnd();
        return;
    }
    if (offset < 0)
        offset = 0;
    if (offset == 0) {
        CaretText c(S().caretLine);
        if (c.t)
            offset = txSkipParaCodes(0, c.t);
    }
    S().caretOffset = offset;
}

void teSetCaret(MemHandle line, int32_t offset)
{
    teSetCaretLine(line);
    teSetCaretOffset(offset);
}

void teSetCaretPos(const TePos *pos)
{
    if (pos)
        teSetCaret(pos->line, pos->offset);
}

void teCaretToLineEnd()
{
    CaretText c(S().caretLine);
    int32_t off = c.n;
    if (c.t && c.n > 0 && c.t[c.n - 1] == TX_RETURN)
        --off;
    S().caretOffset = off;
}

void teCaretToLineLength() { S().caretOffset = teLineLength(S().caretLine); }
BOOL teCaretAtLineEnd() { return S().caretOffset >= teLineLength(S().caretLine); }

BOOL teCaretAtTextEnd()
{
    if (!S().caretLine || S().caretLine != S().lastLine)
        return FALSE;
    CaretText c(S().caretLine);
    int32_t end = c.n;
    if (c.t && c.n > 0 && c.t[c.n - 1] == TX_RETURN)
        --end;
    return S().caretOffset >= end;
}

BOOL teCaretAtTextStart()
{
    if (!S().caretLine || S().caretLine != S().firstLine)
        return FALSE;
    if (S().caretOffset == 0)
        return TRUE;
    CaretText c(S().caretLine);
    return c.t && S().caretOffset <= txSkipCodes(c.t, 0);
}

void teClearCaretLine() { S().caretLine = 0; }

int32_t teCaretNextUnit()
{
    CaretText c(S().caretLine);
    if (!c.t)
        return S().caretOffset;
    int32_t off = S().caretOffset;
    if (off >= c.n)
        return off;
    int32_t next = txNextCharDBCS(c.t, off, S().caretFormat.codePage);
    if (next > c.n)
        next = c.n;
    S().caretOffset = next;
    return next;
}

int32_t teCaretPrevUnit()
{
    MemHandle line = S().caretLine;
    if (!line)
        return 0;
    int32_t off = S().caretOffset;
    for (;;) {
        int32_t prev = -1;
        {
            CaretText c(line);
            if (off > 0) {
                prev = txPrevUnit(c.t, off);
                if (prev >= 0) {
                    CharFormat f = c.r->fmt;
                    prev = txAlignOffset(c.t, &f, prev);
                }
            }
        }
        if (prev >= 0) {
            if (line != S().caretLine)
                teSetCaretLine(line);
            S().caretOffset = prev;
            return prev;
        }
        MemHandle before = teLinePrev(line);
        if (!before) {
            if (line != S().caretLine)
                break;
            // At the start of the text: stay, and say so.
            S().caretOffset = 0;
            teBeep();
            return 0;
        }
        line = before;
        off = teLineLength(line);
    }
    return S().caretOffset;
}

void teNormalizePos(MemHandle *line, int32_t *offset)
{
    if (!line || !offset || !*line)
        return;
    for (;;) {
        int32_t n = teLineLength(*line);
        MemHandle next = teLineNext(*line);
        if (*offset > n && next) {
            *offset -= n;
            *line = next;
            continue;
        }
        if (*offset > n)
            *offset = n;
        break;
    }
    int32_t n = teLineLength(*line);
    if (*offset == n && n > 0) {
        BOOL endsReturn;
        {
            CaretText c(*line);
            endsReturn = c.t[n - 1] == TX_RETURN;
        }
        if (endsReturn) {
            MemHandle next = teLineNext(*line);
            if (next) {
                *line = next;
                *offset = 0;
            } else {
                *offset = n - 1;
            }
        }
    }
}

int32_t teCaretAbs()
{
    int32_t n = 0;
    for (MemHandle l = S().firstLine; l; l = teLineNext(l)) {
        if (l == S().caretLine)
            return n + S().caretOffset;
        n += teLineLength(l);
    }
    return S().caretOffset;
}

void teSetCaretAbs(int32_t offset)
{
    MemHandle line = S().firstLine;
    if (!line)
        return;
    if (offset < 0)
        offset = 0;
    teNormalizePos(&line, &offset);
    teSetCaret(line, offset);
}

void teTextEndPos(TePos *out)
{
    if (out)
        *out = {S().lastLine, teLineLength(S().lastLine)};
}

// ---- format at a position ------------------------------------------------------------------------

BOOL teFormatAt(MemHandle line, int32_t offset, CharFormat *out)
{
    CaretText c(line);
    if (!c.t || !out)
        return FALSE;
    *out = c.r->fmt;
    int32_t n = offset < 0 ? 0 : offset > c.n ? c.n : offset;
    txApplyRange(nullptr, c.t, n, out);
    return TRUE;
}

BOOL teFormatBetween(MemHandle from, const CharFormat *fmt, MemHandle toLine, int32_t toOffset,
                     CharFormat *out)
{
    if (!from || !out)
        return FALSE;
    CharFormat run;
    if (fmt)
        run = *fmt;
    else
        teLineGetFormat(from, &run);
    for (MemHandle l = from; l; l = teLineNext(l)) {
        CaretText c(l);
        if (l == toLine) {
            int32_t n = toOffset < 0 ? 0 : toOffset > c.n ? c.n : toOffset;
            txApplyRange(nullptr, c.t, n, &run);
            break;
        }
        txApplyRange(nullptr, c.t, c.n, &run);
    }
    *out = run;
    return TRUE;
}

BOOL teFormatAtPos(const TePos *pos, CharFormat *out)
{
    return pos ? teFormatAt(pos->line, pos->offset, out) : FALSE;
}

BOOL teCaretLineFormat(CharFormat *out) { return teLineGetFormat(S().caretLine, out); }
int32_t teCaretLineWidth() { return teLineWidth(S().caretLine); }

void teClearParaFields(CharFormat *fmt, int code)
{
    if (!fmt)
        return;
    if (code == TXC_ALIGN || code == 28)
        fmt->align = 0xFFFF;
    if (code == TXC_SPACING || code == 28)
        fmt->spacing = 0xFF;
    if (code == TXC_JUSTIFY_ON || code == TXC_JUSTIFY_OFF || code == 28)
        fmt->justify = 0xFF;
}

// ---- bytes at the caret ----------------------------------------------------------------------------

int32_t teInsertBytesAtCaret(const char *bytes, int32_t count)
{
    MemHandle line = S().caretLine;
    if (!line || !bytes || count <= 0)
        return 0;
    int32_t n = teLineLength(line);
    MemHandle h = teLineAlloc(line, n + count);
    if (!h)
        return 0;
    MemLock<TxLineRecord> r(h);
    char *t = teLineText(r.get());
    int32_t off = S().caretOffset < 0 ? 0 : S().caretOffset > n ? n : S().caretOffset;
    memmove(t + off + count, t + off, (size_t)(n - off));
    memcpy(t + off, bytes, (size_t)count);
    t[n + count] = 0;
    teLineInfo(r.get())->n = (int16_t)(n + count);
    return n + count;
}

int32_t teInsertByteAtCaret(char byte) { return teInsertBytesAtCaret(&byte, 1); }
int32_t teInsertPairAtCaret(const char pair[2]) { return teInsertBytesAtCaret(pair, 2); }

int32_t teTypeByteAtCaret(char byte)
{
    MemHandle line = S().caretLine;
    if (!line)
        return 0;
    {
        CaretText c(line);
        S().caretOffset = txSkipCodes(c.t, S().caretOffset);
        int32_t off = S().caretOffset;
        if (off < c.n && B(c.t, off) != TX_RETURN) {
            if (B(c.t, off) == TX_GS) {
                if (B(c.t, off + 2) == TXO_SYMBOL) {
                    txSymbolToChar(c.t + off, byte);
                    teLineInfo(c.r.get())->n = (int16_t)txstrlen(c.t);
                    return teLineInfo(c.r.get())->n;
                }
            } else {
                c.t[off] = byte;
                return c.n;
            }
        }
    }
    return teInsertByteAtCaret(byte);
}

int32_t teTypePairAtCaret(const char pair[2])
{
    MemHandle line = S().caretLine;
    if (!line)
        return 0;
    BOOL removeSingle = FALSE;
    {
        CaretText c(line);
        S().caretOffset = txSkipCodes(c.t, S().caretOffset);
        int32_t off = S().caretOffset;
        if (off < c.n && B(c.t, off) != TX_RETURN) {
            if (B(c.t, off) == TX_GS) {
                if (B(c.t, off + 2) == TXO_SYMBOL) {
                    txSymbolToPair(c.t + off, pair);
                    teLineInfo(c.r.get())->n = (int16_t)txstrlen(c.t);
                    return teLineInfo(c.r.get())->n;
                }
            } else if (txIsDBCSLead(S().caretFormat.codePage, c.t + off)) {
                c.t[off] = pair[0];
                c.t[off + 1] = pair[1];
                return c.n;
            } else {
                removeSingle = TRUE;
            }
        }
        if (removeSingle) {
            memmove(c.t + off, c.t + off + 1, (size_t)(c.n - off));
            teLineInfo(c.r.get())->n = (int16_t)(c.n - 1);
        }
    }
    return teInsertPairAtCaret(pair);
}

BOOL teSetCaretLineText(const char *stream)
{
    MemHandle h = teLineSetText(S().caretLine, stream);
    return h != 0;
}

int32_t teCaretLineLength() { return teLineLength(S().caretLine); }

void teSetCaretLineLength(int32_t length)
{
    MemLock<TxLineRecord> r(S().caretLine);
    if (r)
        teLineInfo(r.get())->n = (int16_t)length;
}

void teMeasureCaretLine() { teMeasureLines(S().caretLine, nullptr, S().caretLine); }

void teNormalizeLineAt(TePos *pos)
{
    if (!pos || !pos->line)
        return;
    MemLock<TxLineRecord> r(pos->line);
    CharFormat f = r->fmt;
    int32_t off = pos->offset;
    int32_t n = txNormaliseStream(teLineText(r.get()), &f, &off);
    teLineInfo(r.get())->n = (int16_t)n;
    pos->offset = off;
}

void teNormalizeCaretLine()
{
    TePos p = {S().caretLine, S().caretOffset};
    teNormalizeLineAt(&p);
    S().caretOffset = p.offset;
}

void teNormalizeLineRange(TePos *start, TePos *end)
{
    if (!start || !end || !start->line || start->line != end->line) {
        if (start)
            teNormalizeLineAt(start);
        if (end && (!start || end->line != start->line))
            teNormalizeLineAt(end);
        return;
    }
    MemLock<TxLineRecord> r(start->line);
    CharFormat f = r->fmt;
    int32_t a = start->offset, b = end->offset;
    int32_t n = txNormaliseRange(teLineText(r.get()), &f, &a, &b);
    teLineInfo(r.get())->n = (int16_t)n;
    start->offset = a;
    end->offset = b;
}

void teTrimTrailingCodes()
{
    if (!teCaretAtTextEnd())
        return;
    CaretText c(S().caretLine);
    if (!c.t)
        return;
    int32_t end = c.n;
    while (end > 0 && B(c.t, end - 1) == TX_FS) {
        // The backward reader answers the byte before the code.
        int32_t start = txCodeBefore(c.t, end - 1) + 1;
        if (start < 0 || start >= end || txIsHyperCode(txCodeNumber(c.t + start)))
            break;
        end = start;
    }
    if (end < c.n) {
        c.t[end] = 0;
        teLineInfo(c.r.get())->n = (int16_t)end;
        S().caretOffset = end;
    }
}

// ---- drawing the caret --------------------------------------------------------------------------

void teCreateCaret(HWND window)
{
    if (!window)
        return;
    int32_t w, h;
    if (teIsVertical()) {
        S().caretHeight = 2;
        w = dmLogToDevW(S().caretWidth);
        h = 2;
    } else {
        S().caretWidth = 2;
        w = 2;
        h = dmLogToDevH(S().caretHeight);
    }
    CreateCaret(window, nullptr, w, h < 1 ? 1 : h);
    S().caretCreated = 1;
    traceLine("Create Caret = ( %d, %d )\r\n", w, h);
    if (!tePlaceCaret(window))
        ShowCaret(window);
}

void teHideCaret(HWND window)
{
    if (S().object && S().caretCreated)
        HideCaret(window);
}

void teShowCaret(HWND window)
{
    if (S().object && S().caretCreated)
        ShowCaret(window);
}

void teDestroyCaret()
{
    if (S().caretCreated)
        DestroyCaret();
    S().caretCreated = 0;
}

// Sets the system caret at a point in twips.
static void setCaretAt(int32_t x, int32_t y)
{
    POINT p = {x, y};
    HDC dc = teGetDC();
    if (dc)
        LPtoDP(dc, &p, 1);
    SetCaretPos(p.x, p.y);
    traceLine("Set Caret Position = ( %d, %d )\r\n", p.x, p.y);
}

int32_t teXAtOffset(MemHandle line, int32_t offset)
{
    CaretText c(line);
    if (!c.t)
        return 0;
    CharFormat f = c.r->fmt;
    RECT frame = S().frame;
    int32_t skipped = 0;
    const char *after = txSkipApplyCodes(c.t, &f, &skipped);
    // Aligned by the format after the line's leading codes, as it is drawn.
    int32_t left = gdiAlignX(frame, teLineInfo(c.r.get())->W, f.align);
    int32_t upTo = offset - skipped;
    if (upTo <= 0)
        return left;
    BOOL release;
    HDC dc = teGetMeasuringDC(&release);
    const int32_t *tabs = teLockTabs();
    int32_t count = tabs ? (int32_t)teGetTabCount() : 0;
    int32_t w;
    if (txUsePrinterMetrics())
        w = txXAtOffset(dc, after, upTo, &f, count, tabs);
    else
        w = (int32_t)(txWalkLine(dc, after, upTo, &f, count, tabs) & 0xFFFF);
    teUnlockTabs();
    teReleaseMeasuringDC(dc, release);
    return left + (w > 0 ? w : 0);
}

int32_t teYAtOffset(MemHandle line, int32_t offset)
{
    CaretText c(line);
    if (!c.t)
        return 0;
    CharFormat f = c.r->fmt;
    int32_t skipped = 0;
    const char *after = txSkipApplyCodes(c.t, &f, &skipped);
    int32_t top = gdiAlignY(S().frame, teLineInfo(c.r.get())->W, f.align);
    int32_t upTo = offset - skipped;
    if (upTo <= 0)
        return top;
    BOOL release;
    HDC dc = teGetMeasuringDC(&release);
    const int32_t *tabs = teLockTabs();
    int32_t count = tabs ? (int32_t)teGetTabCount() : 0;
    int32_t w = txXAtOffset(dc, after, upTo, &f, count, tabs);
    teUnlockTabs();
    teReleaseMeasuringDC(dc, release);
    return top + (w > 0 ? w : 0);
}

void teOffsetPoint(const TePos *pos, POINT *out)
{
    if (!pos || !out)
        return;
    if (teIsVertical()) {
        out->x = teLineLeft(pos->line);
        out->y = teYAtOffset(pos->line, pos->offset);
    } else {
        out->x = teXAtOffset(pos->line, pos->offset);
        out->y = teLineTop(pos->line);
    }
}

int tePlaceCaret(HWND window)
{
    MemHandle line = S().caretLine;
    if (!line)
        return 0;
    CharFormat start;
    TxLineInfo li;
    {
        CaretText c(line);
        start = c.r->fmt;
        li = *teLineInfo(c.r.get());
    }
    int32_t extra = start.charSpacing ? dmPointsToTwipsF(start.charSpacing * 0.1) : 0;
    // The format at the caret: the start format through the line's codes.
    CharFormat run;
    teFormatAt(line, S().caretOffset, &run);
    BOOL recreated = FALSE;
    if (!teIsVertical()) {
        S().caretLineTop = teLineTop(line);
        S().caretX = teXAtOffset(line, S().caretOffset);
        teSetFormat(&run, 2);
        if (S().caretCreated) {
            TEXTMETRICA tm = {};
            HDC dc = teGetDC();
            BOOL release = FALSE;
            if (!dc) {
                dc = txGetMeasureDC(nullptr, FALSE);
                release = TRUE;
            }
            txGetTextMetricsLF(dc, &run.lf, &tm);
            if (release)
                txReleaseMeasureDC(nullptr, dc, FALSE);
            int32_t height = tm.tmHeight;
            int32_t top = S().caretLineTop + extra;
            int32_t lfh = abs(run.lf.lfHeight);
            if (run.superscript) {
                height = txTwoThirds(tm.tmHeight);
                top += li.H - lfh / 2 - height;
            } else if (run.subscript) {
                height = txTwoThirds(tm.tmHeight);
                top += li.nBLO - (tm.tmDescent + lfh / 5);
            } else {
                top += li.nBLO - tm.tmAscent;
            }
            if (height != S().caretHeight) {
                S().caretHeight = height;
                int32_t h = dmLogToDevH(height);
                CreateCaret(window, nullptr, 2, h < 1 ? 1 : h);
                traceLine("Create Caret = ( %d, %d )\r\n", 2, h);
                recreated = TRUE;
            }
            setCaretAt(S().caretX, top);
            if (recreated)
                ShowCaret(window);
        }
    } else {
        S().caretLineLeft = teLineLeft(line);
        S().lineExtent = li.H - extra;
        S().caretY = teYAtOffset(line, S().caretOffset);
        teSetFormat(&run, 2);
        S().caretHeight = 2;
        if (S().caretCreated) {
            int32_t width = abs(run.lf.lfHeight);
            if (width != S().caretWidth) {
                S().caretWidth = width;
                int32_t w = dmLogToDevW(width);
                CreateCaret(window, nullptr, w < 1 ? 1 : w, 2);
                traceLine("Create Caret = ( %d, %d )\r\n", w, 2);
                recreated = TRUE;
            }
            setCaretAt(S().caretLineLeft, S().caretY);
            if (recreated)
                ShowCaret(window);
        }
    }
    if (teGetCaretTrace())
        txDumpEditText();
    return recreated ? 1 : 0;
}

void teCaretPoint(int32_t *x, int32_t *y)
{
    if (teIsVertical()) {
        if (x)
            *x = S().caretLineLeft;
        if (y)
            *y = S().caretY;
    } else {
        if (x)
            *x = S().caretX;
        if (y)
            *y = S().caretLineTop;
    }
}

// ---- keeping the caret in view ---------------------------------------------------------------------

namespace {

// The client area in twips.
BOOL clientTwips(HWND window, RECT *r)
{
    HDC dc = teGetDC();
    if (!window || !dc || !GetClientRect(window, r))
        return FALSE;
    DPtoLP(dc, reinterpret_cast<POINT *>(r), 2);
    return TRUE;
}

}  // namespace

int teScrollCaretIntoView(HWND window)
{
    if (!S().object)
        return 0;
    tePlaceCaret(window);
    RECT client;
    if (!clientTwips(window, &client))
        return 0;
    POINT show;
    if (!teIsVertical()) {
        int32_t top = S().caretLineTop, bottom = top + S().lineExtent;
        if (top >= client.top && bottom <= client.bottom && S().caretX >= client.left &&
            S().caretX <= client.right)
            return 0;
        show.x = S().caretX;
        show.y = top < client.top ? top : bottom;
    } else {
        int32_t left = S().caretLineLeft, right = left + S().lineExtent;
        if (left >= client.left && right <= client.right && S().caretY >= client.top &&
            S().caretY <= client.bottom)
            return 0;
        BOOL leftFirst = teIsRightToLeft() ? left < client.left : right < client.left;
        show.x = leftFirst ? left : right;
        show.y = S().caretY;
    }
    teFlushDisplay(window);
    HDC dc = teGetDC();
    LPtoDP(dc, &show, 1);
    wsScrollToPoint(window, show);
    HDC held = teGetDC();
    wsApplyViewMapping(window);
    dmSetMapping(held);
    tePlaceCaret(window);
    return 1;
}

int teScrollCaretAboveWindow(HWND window, HWND cover, const TePos *pos)
{
    RECT coverRect, wsRect;
    int32_t caretPixels = dmLogToDevH(S().caretHeight);
    if (!cover || !GetWindowRect(cover, &coverRect) || !GetWindowRect(window, &wsRect) ||
        coverRect.top <= wsRect.top || coverRect.top >= wsRect.bottom ||
        coverRect.top - wsRect.top < 2 * caretPixels)
        return teScrollCaretIntoView(window);
    RECT visible;
    GetClientRect(window, &visible);
    POINT edge = {coverRect.left, coverRect.top};
    ScreenToClient(window, &edge);
    if (edge.y < visible.bottom)
        visible.bottom = edge.y;
    HDC dc = teGetDC();
    if (!dc)
        return 0;
    DPtoLP(dc, reinterpret_cast<POINT *>(&visible), 2);
    tePlaceCaret(window);
    int32_t top = S().caretLineTop, bottom = top + S().lineExtent;
    int32_t otherX = S().caretX;
    if (pos && pos->line)
        otherX = teXAtOffset(pos->line, pos->offset);
    BOOL insideY = top >= visible.top && bottom <= visible.bottom;
    BOOL insideX = S().caretX >= visible.left && S().caretX <= visible.right &&
                   otherX >= visible.left && otherX <= visible.right;
    if (insideY && insideX)
        return 0;
    if (!insideY)
        teScrollByY(window, top - (visible.top + visible.bottom - S().caretHeight) / 2);
    if (!insideX) {
        if (otherX < visible.left)
            teScrollByX(window, otherX - visible.left);
        else if (S().caretX > visible.right)
            teScrollByX(window, S().caretX - visible.right);
    }
    tePlaceCaret(window);
    return 1;
}
