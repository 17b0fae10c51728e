// The editor's selection and its absolute-offset conversions.
#include "textedit/te_select.h"
#include "textedit/te_caret.h"
#include "textedit/te_commands.h"
#include "textedit/te_session.h"
#include "textedit/te_undo.h"
#include "support/dm_map.h"
#include "support/gdi_text.h"
#include "support/ut_mem.h"
#include "text/tx_draw_object.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_stream.h"
#include "views/ws_record.h"

#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

struct SelState {
    TePos start = {0, 0};
    TePos end = {0, 0};
    uint32_t caretAtStart = 0;
    TePos dragAnchor = {0, 0};
    TePos dragCurrent = {0, 0};
    MemHandle cache = 0;
    int32_t cacheCount = 0;
    // The ends as absolute offsets while lines are rebuilt (-1: none).
    int32_t absStart = -1;
    int32_t absEnd = -1;
};
SelState g_sel;

void freeCache()
{
    g_sel.cache = utFreeHandle(g_sel.cache);
    g_sel.cacheCount = 0;
}

}  // namespace

void teResetSelectionModule()
{
    freeCache();
    g_sel = SelState();
}

void teSetSelection(const TePos *start, const TePos *end)
{
    freeCache();
    g_sel.start = start ? *start : TePos{0, 0};
    g_sel.end = end ? *end : TePos{0, 0};
    teUpdateClipboardButtons(teHasSelection());
}

void teClearSelection()
{
    freeCache();
    g_sel.start = g_sel.end = {0, 0};
    teUpdateClipboardButtons(FALSE);
}

BOOL teHasSelection()
{
    return g_sel.start.line && g_sel.end.line &&
           (g_sel.start.line != g_sel.end.line || g_sel.start.offset != g_sel.end.offset);
}

BOOL teGetSelection(TePos *start, TePos *end)
{
    BOOL has = teHasSelection();
    if (start)
        *start = has ? g_sel.start : TePos{0, 0};
    if (end)
        *end = has ? g_sel.end : TePos{0, 0};
    return has;
}

int tePosCompare(const TePos *a, const TePos *b)
{
    if (a->line != b->line) {
        int32_t ia = teLineIndex(a->line), ib = teLineIndex(b->line);
        return ia > ib ? 1 : -1;
    }
    return a->offset > b->offset ? 1 : a->offset < b->offset ? -1 : 0;
}

int32_t tePosAbs(const TePos *pos)
{
    if (!pos)
        return 0;
    int32_t n = 0;
    for (MemHandle l = teGetFirstLine(); l; l = teLineNext(l)) {
        if (l == pos->line)
            return n + pos->offset;
        n += teLineLength(l);
    }
    return n;
}

void teSelectionAbs(int32_t *smaller, int32_t *larger)
{
    int32_t a = -1, b = -1;
    if (teHasSelection()) {
        a = tePosAbs(&g_sel.start);
        b = tePosAbs(&g_sel.end);
        if (a > b) {
            int32_t t = a;
            a = b;
            b = t;
        }
    }
    if (smaller)
        *smaller = a;
    if (larger)
        *larger = b;
}

BOOL tePosFromAbs(int32_t offset, TePos *out)
{
    MemHandle l = teGetFirstLine();
    if (offset < 0)
        offset = 0;
    while (l) {
        int32_t n = teLineLength(l);
        MemHandle next = teLineNext(l);
        if (offset < n || (offset == n && !next)) {
            *out = {l, offset};
            return TRUE;
        }
        if (offset == n) {
            BOOL endsReturn;
            {
                MemLock<TxLineRecord> r(l);
                endsReturn = n > 0 && teLineText(r.get())[n - 1] == TX_RETURN;
            }
            *out = endsReturn ? TePos{next, 0} : TePos{l, n};
            return TRUE;
        }
        offset -= n;
        l = next;
    }
    // Past the end: the text gets an empty last line in the end format.
    MemHandle last = teGetLastLine();
    CharFormat f;
    BOOL haveFormat = teLineEndFormat(last, &f);
    MemHandle empty = teLineNew(nullptr, 0, haveFormat ? &f : nullptr);
    if (empty) {
        teLineAppend(empty);
        *out = {empty, 0};
    } else {
        *out = {last, teLineLength(last)};
    }
    return TRUE;
}

void teSelectionToAbs()
{
    freeCache();
    if (g_sel.start.line && g_sel.end.line) {
        g_sel.absStart = tePosAbs(&g_sel.start);
        g_sel.absEnd = tePosAbs(&g_sel.end);
        g_sel.start = {teGetFirstLine(), g_sel.absStart};
        g_sel.end = {teGetFirstLine(), g_sel.absEnd};
    } else {
        g_sel.absStart = g_sel.absEnd = -1;
    }
}

void teSelectionFromAbs()
{
    freeCache();
    if (g_sel.absStart < 0 || g_sel.absEnd < 0)
        return;
    MemHandle l = teGetFirstLine();
    int32_t a = g_sel.absStart, b = g_sel.absEnd;
    MemHandle la = l, lb = l;
    teNormalizePos(&la, &a);
    teNormalizePos(&lb, &b);
    g_sel.start = {la, a};
    g_sel.end = {lb, b};
    g_sel.absStart = g_sel.absEnd = -1;
}

void teSelectionLineMoved(MemHandle from, MemHandle to)
{
    TePos *all[] = {&g_sel.start, &g_sel.end, &g_sel.dragAnchor, &g_sel.dragCurrent};
    for (TePos *p : all)
        if (p->line == from)
            p->line = to;
}

void teSelectionShift(MemHandle line, int32_t at, int32_t delta, BOOL inclusive)
{
    TePos *all[] = {&g_sel.start, &g_sel.end};
    for (TePos *p : all) {
        if (p->line != line)
            continue;
        if (inclusive ? p->offset >= at : p->offset > at) {
            int32_t floor = inclusive ? at + delta : at;
            p->offset += delta;
            if (delta < 0 && p->offset < floor)
                p->offset = floor;
        }
    }
}

// ---- selection commands --------------------------------------------------------------------------

namespace {

TextEditSession &S() { return *teSession(); }
inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }
const int32_t kLimit = 28800;

void order(TePos *a, TePos *b)
{
    if (tePosCompare(a, b) > 0)
        std::swap(*a, *b);
}

bool samePos(const TePos &a, const TePos &b) { return a.line == b.line && a.offset == b.offset; }

HDC dcOr(HDC dc) { return dc ? dc : teGetDC(); }

}  // namespace

BOOL teCaretAtSelStart() { return g_sel.caretAtStart ? TRUE : FALSE; }
void teSetCaretAtSelStart(BOOL on) { g_sel.caretAtStart = on ? 1 : 0; }

MemHandle teSelectedText()
{
    TePos a, b;
    if (!teGetSelection(&a, &b))
        return 0;
    if (tePosCompare(&a, &b) > 0)
        std::swap(a, b);
    return teGetRangeText(&a, &b);
}

void teWholeTextRange(TePos *start, TePos *end)
{
    if (start)
        *start = {teGetFirstLine(), 0};
    if (end)
        *end = {teGetLastLine(), teLineLength(teGetLastLine())};
}

void teSelectAll(HWND window)
{
    TePos a, b;
    teWholeTextRange(&a, &b);
    teUnhighlightSelection(window);
    teSetSelection(&a, &b);
    teCacheSelectionRects();
    tePaintSelection(window, nullptr);
    teSetCaret(b.line, b.offset);
    g_sel.caretAtStart = 0;
    tePlaceCaret(window);
}

void teSelectWordAt(HWND window, const TePos *pos)
{
    if (!pos || !pos->line)
        return;
    TePos a = {pos->line, teWordStart(pos->line, pos->offset)};
    TePos b = {pos->line, teWordEnd(pos->line, pos->offset)};
    teUnhighlightSelection(window);
    teSetSelection(&a, &b);
    teCacheSelectionRects();
    tePaintSelection(window, nullptr);
    S().caretLine = b.line;
    S().caretOffset = b.offset;
    teUpdateCaretLinePos();
    g_sel.caretAtStart = 0;
    teScrollCaretIntoView(window);
}

void teSelectParagraphs(HWND window)
{
    TePos a, b;
    if (teGetSelection(&a, &b)) {
        tePaintSelection(window, nullptr);
    } else {
        teGetCaretPos(&a);
        b = a;
    }
    TePos start, end, ignore;
    teParaRange(a.line, &start, &ignore);
    teParaRange(b.line, &ignore, &end);
    teSetSelection(&start, &end);
    teCacheSelectionRects();
    S().caretLine = end.line;
    S().caretOffset = end.offset;
    teUpdateCaretLinePos();
    g_sel.caretAtStart = 0;
    tePaintSelection(window, nullptr);
    teScrollCaretIntoView(window);
}

int teExtendSelectionByKey(HWND window, int key)
{
    TePos caret;
    teGetCaretPos(&caret);
    if (!teHasSelection()) {
        g_sel.start = g_sel.end = caret;
        g_sel.caretAtStart = 1;
    }
    TePos oldCaret = caret;
    switch (key) {
    case VK_PRIOR: teMoveCaretByPage(window, FALSE); break;
    case VK_NEXT: teMoveCaretByPage(window, TRUE); break;
    case VK_END: teCaretLineEnd(window, FALSE); break;
    case VK_HOME: teCaretLineStart(window, FALSE); break;
    case VK_LEFT: teCaretLeft(window, FALSE); break;
    case VK_UP: teCaretLineUp(window, FALSE); break;
    case VK_RIGHT: teCaretRight(window, FALSE); break;
    case VK_DOWN: teCaretLineDown(window, FALSE); break;
    default: return 0;
    }
    TePos now;
    teGetCaretPos(&now);
    TePos x = oldCaret, y = now;
    order(&x, &y);
    teInvertRange(window, nullptr, &x, &y);
    TePos anchor = g_sel.caretAtStart ? g_sel.end : g_sel.start;
    TePos a = anchor, b = now;
    order(&a, &b);
    teSetSelection(&a, &b);
    g_sel.caretAtStart = samePos(now, a) ? 1 : 0;
    tePlaceCaret(window);
    return 1;
}

void tePosSkipCodes(TePos *pos)
{
    if (!pos || !pos->line)
        return;
    MemLock<TxLineRecord> r(pos->line);
    int32_t n = teLineInfo(r.get())->n;
    int32_t off = txSkipCodes(teLineText(r.get()), pos->offset);
    pos->offset = off > n ? n : off;
}

void tePosBeforeCodes(TePos *pos)
{
    if (!pos || !pos->line)
        return;
    MemLock<TxLineRecord> r(pos->line);
    const char *t = teLineText(r.get());
    int32_t off = pos->offset;
    if (off > 0 && B(t, off - 1) == TX_FS) {
        // The backward reader answers the byte before the run of codes.
        int32_t before = txCodesBefore(t, off - 1);
        if (before >= -1)
            off = before + 1;
    }
    pos->offset = off;
}

// ---- highlight --------------------------------------------------------------------------------------

int32_t teLineSelRect(HDC, const RECT *frame, MemHandle line, int32_t from, int32_t to,
                      int32_t top, const int32_t *, RECT *out)
{
    int32_t n = teLineLength(line);
    int32_t h = teLineHeight(line);
    RECT f = frame ? *frame : S().frame;
    if (to < 0 || to > n)
        to = n;
    if (from < 0)
        from = 0;
    if (!teIsVertical()) {
        if (from >= to) {
            SetRect(out, f.left, top, f.left, top + h);
            if (from == to)
                SetRect(out, f.left, top, f.left, top);
            return top + h;
        }
        int32_t x0 = teXAtOffset(line, from);
        int32_t x1 = teXAtOffset(line, to);
        SetRect(out, x0, top, x1, top + h);
        return top + h;
    }
    // Vertical text: along y within the column left .. left + H.
    if (from >= to) {
        SetRect(out, top, f.top, top, f.top);
        return top + h;
    }
    int32_t y0 = teYAtOffset(line, from);
    int32_t y1 = teYAtOffset(line, to);
    SetRect(out, top, y0, top + h, y1);
    return top + h;
}

// Calls fn(line, rect) for each line's part of the range; false from fn stops.
template <typename Fn>
static void walkRange(const TePos *start, const TePos *end, Fn fn)
{
    if (!start || !end || !start->line || !end->line)
        return;
    TePos a = *start, b = *end;
    order(&a, &b);
    BOOL vertical = teIsVertical(), rtl = vertical && teIsRightToLeft();
    int32_t coord = vertical ? teLineLeft(a.line) : teLineTop(a.line);
    for (MemHandle l = a.line; l; l = teLineNext(l)) {
        if (coord < -kLimit || coord > kLimit)
            break;
        int32_t from = l == a.line ? a.offset : 0;
        int32_t to = l == b.line ? b.offset : -1;
        RECT r;
        teLineSelRect(nullptr, nullptr, l, from, to, coord, nullptr, &r);
        if (!fn(l, r))
            break;
        if (l == b.line)
            break;
        MemHandle next = teLineNext(l);
        if (rtl)
            coord -= teLineHeight(next);
        else
            coord += teLineHeight(l);
    }
}

void teSelectionRect(HWND, HDC, const TePos *start, const TePos *end, RECT *out)
{
    RECT u = {0, 0, 0, 0};
    BOOL any = FALSE;
    walkRange(start, end, [&](MemHandle, const RECT &r) {
        if (!any)
            u = r;
        else
            UnionRect(&u, &u, &r);
        any = TRUE;
        return true;
    });
    if (out)
        *out = u;
}

int32_t teCacheSelectionRects()
{
    freeCache();
    TePos a, b;
    if (!teGetSelection(&a, &b))
        return 0;
    std::vector<RECT> rects;
    walkRange(&a, &b, [&](MemHandle, const RECT &r) {
        rects.push_back(r);
        return true;
    });
    if (rects.empty())
        return 0;
    MemHandle h = utHandleFromBytes(rects.data(), (uint32_t)(rects.size() * sizeof(RECT)));
    if (!h)
        return 0;   // highlighting falls back to direct inversion
    g_sel.cache = h;
    g_sel.cacheCount = (int32_t)rects.size();
    return g_sel.cacheCount;
}

int32_t teGetCachedRects(RECT *out, int32_t max)
{
    MemLock<RECT> r(g_sel.cache);
    int32_t n = r ? std::min(max, g_sel.cacheCount) : 0;
    for (int32_t i = 0; out && i < n; ++i)
        out[i] = r[(size_t)i];
    return r ? g_sel.cacheCount : 0;
}

static void invertTwips(HDC dc, const RECT &r)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    InvertRect(dc, &r);
}

void tePaintSelection(HWND window, HDC dc)
{
    HDC d = dcOr(dc);
    if (!d)
        return;
    if (g_sel.cache && g_sel.cacheCount) {
        teHideCaret(window);
        {
            MemLock<RECT> r(g_sel.cache);
            for (int32_t i = 0; r && i < g_sel.cacheCount; ++i)
                invertTwips(d, r[(size_t)i]);
        }
        teShowCaret(window);
        return;
    }
    teInvertRange(window, d, &g_sel.start, &g_sel.end);
}

void teInvertRange(HWND window, HDC dc, const TePos *start, const TePos *end)
{
    if (!start || !end || (!start->line && !end->line) || samePos(*start, *end))
        return;
    HDC d = dcOr(dc);
    if (!d)
        return;
    teHideCaret(window);
    walkRange(start, end, [&](MemHandle, const RECT &r) {
        invertTwips(d, r);
        return true;
    });
    teShowCaret(window);
}

void teInvertSelection(HWND window, HDC dc)
{
    if (teHasSelection())
        teInvertRange(window, dc, &g_sel.start, &g_sel.end);
}

void teUnhighlightSelection(HWND window)
{
    if (teHasSelection())
        tePaintSelection(window, nullptr);
    teClearSelection();
}

void teSelectionBounds(HWND window, RECT *out)
{
    if (!out)
        return;
    if (g_sel.cache && g_sel.cacheCount) {
        MemLock<RECT> r(g_sel.cache);
        *out = r[0];
        for (int32_t i = 1; i < g_sel.cacheCount; ++i)
            UnionRect(out, out, &r[(size_t)i]);
        return;
    }
    teSelectionRect(window, nullptr, &g_sel.start, &g_sel.end, out);
}

void tePaintDragRange(HWND window, HDC dc, MemHandle, MemHandle)
{
    TePos a = g_sel.dragAnchor, b = g_sel.dragCurrent;
    if (!a.line || !b.line || samePos(a, b))
        return;
    order(&a, &b);
    teInvertRange(window, dc, &a, &b);
}

// ---- hit test ------------------------------------------------------------------------------------

namespace {

// The offset in the line nearest to a position along its writing direction:
// x across a horizontal line, y down a vertical one. A final 13 never counts.
int32_t offsetAlong(MemHandle line, int32_t pos, bool vertical)
{
    MemLock<TxLineRecord> r(line);
    if (!r)
        return 0;
    const char *t = teLineText(r.get());
    int32_t n = teLineInfo(r.get())->n;
    if (n > 0 && t[n - 1] == TX_RETURN)
        --n;
    if (n <= 0)
        return 0;
    CharFormat f = r->fmt;
    int32_t skipped = 0;
    const char *after = txSkipApplyCodes(t, &f, &skipped);
    int32_t start = vertical ? gdiAlignY(S().frame, teLineInfo(r.get())->W, f.align)
                             : gdiAlignX(S().frame, teLineInfo(r.get())->W, f.align);
    int32_t end = vertical ? S().frame.bottom : S().frame.right;
    if (pos < start)
        return 0;
    if (pos >= end)
        return n;
    if (skipped >= n)
        return n;
    BOOL release;
    HDC dc = teGetMeasuringDC(&release);
    HDC out = teGetDC() ? teGetDC() : dc;
    const int32_t *tabs = teLockTabs();
    int32_t count = tabs ? (int32_t)teGetTabCount() : 0;
    int32_t off = txOffsetAtX(out, after, n - skipped, &f, pos - start, count, tabs);
    teUnlockTabs();
    teReleaseMeasuringDC(dc, release);
    off += skipped;
    return off > n ? n : off;
}

}  // namespace

int32_t teOffsetAtX(MemHandle line, int32_t x) { return offsetAlong(line, x, false); }

int32_t teOffsetAtY(MemHandle line, int32_t y) { return offsetAlong(line, y, true); }

// The text area: the frame for frame-bound text, else the lines' extent.
static void textArea(RECT *area)
{
    if (teIsFrameBound())
        *area = S().frame;
    else
        teLinesRect(area);
}

int teHitTest(HWND, LPARAM point, TePos *out)
{
    if (!out)
        return 0;
    POINT p = {(int16_t)LOWORD(point), (int16_t)HIWORD(point)};
    HDC dc = teGetDC();
    if (dc)
        DPtoLP(dc, &p, 1);
    RECT area;
    textArea(&area);
    MemHandle first = teGetFirstLine(), last = teGetLastLine();
    TePos endPos = {last, teLineLength(last)};
    if (!teIsVertical()) {
        if (p.y <= area.top) {
            *out = {first, 0};
        } else if (p.y >= area.bottom) {
            *out = endPos;
        } else {
            MemHandle line = teLineAtY(p.y, nullptr);
            *out = {line, teOffsetAtX(line, p.x)};
        }
        return 1;
    }
    BOOL rtl = teIsRightToLeft();
    BOOL beforeFirst = rtl ? p.x >= area.right : p.x <= area.left;
    BOOL afterLast = rtl ? p.x <= area.left : p.x >= area.right;
    if (beforeFirst) {
        *out = {first, 0};
    } else if (afterLast) {
        *out = endPos;
    } else {
        MemHandle line = teLineAtX(p.x, nullptr);
        *out = {line, teOffsetAtY(line, p.y)};
    }
    return 1;
}

// ---- format questions --------------------------------------------------------------------------------

BOOL teSelectionFormat(CharFormat *out)
{
    TePos a, b;
    if (!out || !teGetSelection(&a, &b))
        return FALSE;
    teFormatAtPos(&a, out);
    MemHandle text = teGetRangeText(&a, &b);
    if (text) {
        MemLock<char> t(text);
        teResetFormatAttrs(t.get(), out);
    }
    utFreeHandle(text);
    return TRUE;
}

// Calls fn on each code of the range until it answers true.
template <typename Fn>
static BOOL anyCode(const TePos *start, const TePos *end, Fn fn)
{
    if (!start || !end || !start->line)
        return FALSE;
    for (MemHandle l = start->line; l; l = teLineNext(l)) {
        std::string t = teLineString(l);
        int32_t i = l == start->line ? start->offset : 0;
        int32_t to = l == end->line ? end->offset : (int32_t)t.size();
        while (i < to && i < (int32_t)t.size()) {
            if (B(t.c_str(), i) == TX_ESC) {
                if (fn(t.c_str() + i))
                    return TRUE;
                int32_t u = txCodeUnitSize(t.c_str() + i);
                i += u > 0 ? u : 1;
            } else if (B(t.c_str(), i) == TX_GS) {
                int32_t u = txObjectSize(t.c_str() + i);
                i += u > 0 ? u : 1;
            } else {
                ++i;
            }
        }
        if (l == end->line)
            break;
    }
    return FALSE;
}

BOOL teSelectionHasOtherFace(const TePos *start, const TePos *end)
{
    CharFormat f;
    if (!start || !teFormatAtPos(start, &f))
        return FALSE;
    return anyCode(start, end, [&](const char *p) {
        if (txCodeNumber(p) != TXC_FACE)
            return false;
        int32_t len = (uint8_t)p[1] - 3;
        std::string face(p + 3, (size_t)(len > 0 ? len : 0));
        face = face.c_str();
        return lstrcmpiA(face.c_str(), f.lf.lfFaceName) != 0;
    });
}

BOOL teSelectionHasOtherSize(const TePos *start, const TePos *end)
{
    CharFormat f;
    if (!start || !teFormatAtPos(start, &f))
        return FALSE;
    return anyCode(start, end, [&](const char *p) {
        if (txCodeNumber(p) != TXC_HEIGHT)
            return false;
        int16_t h = (int16_t)(txPayload(p)[0] | (txPayload(p)[1] << 8));
        return h != f.lf.lfHeight;
    });
}

BOOL tePosAfterUnits(TePos *pos, int32_t count)
{
    if (!pos || !pos->line)
        return FALSE;
    CharFormat f;
    teFormatAtPos(pos, &f);
    while (count > 0) {
        std::string t = teLineString(pos->line);
        int32_t n = (int32_t)t.size();
        if (pos->offset >= n) {
            MemHandle next = teLineNext(pos->line);
            if (!next) {
                pos->offset = n;
                return FALSE;
            }
            *pos = {next, 0};
            continue;
        }
        int32_t next = txNextCharDBCS(t.c_str(), pos->offset, f.codePage);
        if (next > n)
            next = n;
        pos->offset = next;
        --count;
    }
    return TRUE;
}

// ---- drag selection -------------------------------------------------------------------------------

namespace {

void clientTwips(HWND window, RECT *r)
{
    GetClientRect(window, r);
    HDC dc = teGetDC();
    if (dc)
        DPtoLP(dc, reinterpret_cast<POINT *>(r), 2);
}

}  // namespace

void teDragSelect(HWND window, const TePos *press)
{
    if (!window || !press || !press->line)
        return;
    uint16_t oldFlag = teExchangeDragFlag(1);
    teHideCaret(window);
    RECT client, frame;
    clientTwips(window, &client);
    MemHandle firstVis = 0, lastVis = 0;
    teLinesInRect(&client, &firstVis, &lastVis);
    teGetFrame(&frame);
    BOOL vertical = teIsVertical();

    TePos anchor = *press, current = *press, previous = *press;
    g_sel.dragAnchor = anchor;
    g_sel.dragCurrent = anchor;
    BOOL down = FALSE, up = FALSE, left = FALSE, right = FALSE;
    POINT pt = {0, 0};
    SetCapture(window);
    for (;;) {
        // The loop ends with the button, and also when the capture went
        // elsewhere or the window went away.
        if (!IsWindow(window) || GetCapture() != window)
            break;
        MSG msg;
        BOOL got = PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, 521, PM_REMOVE);
        BOOL release = got && msg.message == WM_LBUTTONUP;
        BOOL edges = down || up || left || right;
        if (!got && !edges) {
            // Looking for input delivered any sent messages: one of them
            // may have taken the capture.
            if (!IsWindow(window) || GetCapture() != window || GetKeyState(VK_LBUTTON) >= 0)
                break;
            WaitMessage();
            continue;
        }
        if (got) {
            pt.x = (int16_t)LOWORD(msg.lParam);
            pt.y = (int16_t)HIWORD(msg.lParam);
            down = up = left = right = FALSE;
            POINT lp = pt;
            HDC dc = teGetDC();
            if (dc)
                DPtoLP(dc, &lp, 1);
            if (!release) {
                down = lp.y > client.bottom && frame.bottom > client.bottom;
                up = lp.y < client.top && frame.top < client.top;
                right = lp.x > client.right && frame.right > client.right;
                left = lp.x < client.left && frame.left < client.left;
            }
            teHitTest(window, MAKELPARAM(pt.x, pt.y), &current);
            edges = down || up || left || right;
        }
        if (edges) {
            POINT lp = pt;
            HDC dc = teGetDC();
            if (dc)
                DPtoLP(dc, &lp, 1);
            int32_t scrollX = 0, scrollY = 0;
            if (!vertical) {
                if (down && lastVis) {
                    MemHandle next = teLineNext(lastVis);
                    if (next) {
                        current = {next, teOffsetAtX(next, lp.x)};
                        scrollY = std::max<int32_t>(0, teLineBottom(next) - client.bottom);
                    } else {
                        scrollY = teLineHeight(lastVis);
                        current = {lastVis, teLineLength(lastVis)};
                    }
                } else if (up && firstVis) {
                    MemHandle prev = teLinePrev(firstVis);
                    if (prev) {
                        current = {prev, teOffsetAtX(prev, lp.x)};
                        scrollY = std::min<int32_t>(0, teLineTop(prev) - client.top);
                    } else {
                        scrollY = -teLineHeight(firstVis);
                        current = {firstVis, 0};
                    }
                }
                if (left || right) {
                    current.offset = teOffsetAtX(current.line, lp.x);
                    scrollX = dmUnitsToLogX(1.0) * (left ? -1 : 1);
                }
            } else if (up || down) {
                current.offset = teOffsetAtY(current.line, lp.y);
                scrollY = dmUnitsToLogY(1.0) * (up ? -1 : 1);
            }
            g_sel.dragCurrent = current;
            TePos a = previous, b = current;
            order(&a, &b);
            teInvertRange(window, nullptr, &a, &b);
            previous = current;
            if (scrollX || scrollY) {
                if (scrollY)
                    teScrollByY(window, scrollY);
                if (scrollX)
                    teScrollByX(window, scrollX);
                UpdateWindow(window);
                clientTwips(window, &client);
                teLinesInRect(&client, &firstVis, &lastVis);
                if (frame.bottom <= client.bottom)
                    down = FALSE;
                if (frame.top >= client.top)
                    up = FALSE;
                if (frame.right <= client.right)
                    right = FALSE;
                if (frame.left >= client.left)
                    left = FALSE;
            }
        } else {
            g_sel.dragCurrent = current;
            TePos a = previous, b = current;
            order(&a, &b);
            teInvertRange(window, nullptr, &a, &b);
            previous = current;
        }
        if (release)
            break;
    }
    if (IsWindow(window) && GetCapture() == window)
        ReleaseCapture();

    TePos caretAt;
    if (!samePos(anchor, current)) {
        TePos s = anchor, e = current;
        order(&s, &e);
        g_sel.caretAtStart = samePos(s, current) ? 1 : 0;
        tePosSkipCodes(&s);
        tePosBeforeCodes(&e);
        if (tePosCompare(&s, &e) > 0) {
            // Only codes were dragged over: nothing is selected.
            TePos at = g_sel.caretAtStart ? s : e;
            s = e = at;
        }
        teSetSelection(&s, &e);
        teCacheSelectionRects();
        caretAt = g_sel.caretAtStart ? s : e;
    } else {
        teSetSelection(&current, &current);
        g_sel.caretAtStart = 1;
        caretAt = current;
    }
    g_sel.dragAnchor = g_sel.dragCurrent = {0, 0};
    S().caretLine = caretAt.line;
    S().caretOffset = caretAt.offset;
    teUpdateCaretLinePos();
    teDropUndo(window, TRUE);
    tePlaceCaret(window);
    teShowCaret(window);
    teExchangeDragFlag(oldFlag);
}
