// The editing commands' caret moves, scrolling, the word delimiters and the
// format attributes a stream's codes switch.
#include "textedit/te_commands.h"
#include "textedit/te_caret.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include "textedit/te_undo.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "text/tx_header.h"
#include "text/tx_stream.h"
#include "views/ws_record.h"
#include "views/ws_scroll.h"
#include "views/ws_window.h"

#include <string.h>
#include <string>

const char kTeWordStartDelims[] = " \x0b\x08\x05\x06\t-_,.:;?<>+%^*\\/@|[]{}()";
const char kTeWordEndDelims[] = " \t\x05\x06";
static_assert(sizeof(kTeWordStartDelims) == 30, "29 word-start delimiters");

namespace {

TextEditSession &S() { return *teSession(); }
inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

BOOL linesStep() { return (S().textFlags & TXF_WRAP_LOW) ? TRUE : FALSE; }

// The start of every move: the undo step goes, and with clear the
// highlight and the selection go and the caret line's codes are compacted.
void beginMove(HWND window, BOOL clear)
{
    teDropUndo(window, TRUE);
    if (clear) {
        teUnhighlightSelection(window);
        teNormalizeCaretLine();
    }
}

int endMove(HWND window)
{
    teUpdateCaretLinePos();
    teScrollCaretIntoView(window);
    return 1;
}

int32_t stepUnit(const char *s, int32_t i)
{
    int32_t u = 0;
    if (B(s, i) == TX_ESC)
        u = txCodeUnitSize(s + i);
    else if (B(s, i) == TX_GS)
        u = txObjectSize(s + i);
    return i + (u > 0 ? u : 1);
}

// The session DC follows the view after a scroll.
void refreshMapping(HWND window)
{
    if (!S().dc)
        return;
    wsApplyViewMapping(window);
    dmSetMapping(qmU32ToHandle<HDC>(S().dc));
}

}  // namespace

// ---- words ---------------------------------------------------------------------------------------

int32_t teWordStart(MemHandle line, int32_t offset)
{
    std::string t = teLineString(line);
    if (offset <= 0)
        return 0;
    int32_t at = txstrrevpbrk(t.c_str(), offset - 1 < 0 ? 0 : offset - 1, kTeWordStartDelims);
    if (at < 0) {
        // The first byte is not examined by the backward search.
        return t.size() && strchr(kTeWordStartDelims, t[0]) && t[0] ? 1 : 0;
    }
    return at + 1;
}

int32_t teWordEnd(MemHandle line, int32_t offset)
{
    std::string t = teLineString(line);
    int32_t n = (int32_t)t.size();
    if (n > 0 && t[(size_t)n - 1] == TX_RETURN)
        --n;
    int32_t i = offset < 0 ? 0 : offset;
    while (i < n) {
        uint8_t b = B(t.c_str(), i);
        if (b && strchr(kTeWordEndDelims, b))
            return i;
        i = stepUnit(t.c_str(), i);
    }
    return n;
}

// ---- caret moves --------------------------------------------------------------------------------

int teCaretLeft(HWND window, BOOL clear)
{
    beginMove(window, clear);
    teCaretPrevUnit();
    return endMove(window);
}

int teCaretRight(HWND window, BOOL clear)
{
    beginMove(window, clear);
    MemHandle line = teCaretLine();
    int32_t n = teLineLength(line);
    int32_t before = teCaretOffset();
    int32_t off = before < n ? teCaretNextUnit() : before;
    if (off >= n) {
        MemHandle next = teLineNext(line);
        if (next && linesStep()) {
            teSetCaret(next, 0);
        } else {
            teCaretToLineEnd();
            if (teCaretOffset() == before)
                teBeep();
        }
    }
    return endMove(window);
}

static int lineStep(HWND window, BOOL clear, BOOL down)
{
    beginMove(window, clear);
    MemHandle line = teCaretLine();
    MemHandle target = down ? teLineNext(line) : teLinePrev(line);
    if (!target || !linesStep()) {
        teBeep();
        return 0;
    }
    if (!teIsVertical()) {
        int32_t x = teXAtOffset(line, teCaretOffset());
        teSetCaret(target, teOffsetAtX(target, x));
    } else {
        int32_t y = teYAtOffset(line, teCaretOffset());
        teSetCaret(target, teOffsetAtY(target, y));
    }
    return endMove(window);
}

int teCaretLineUp(HWND window, BOOL clear) { return lineStep(window, clear, FALSE); }
int teCaretLineDown(HWND window, BOOL clear) { return lineStep(window, clear, TRUE); }

int teCaretLineStart(HWND window, BOOL clear)
{
    beginMove(window, clear);
    std::string t = teLineString(teCaretLine());
    int32_t off = txSkipCodes(t.c_str(), 0);
    S().caretOffset = off > (int32_t)t.size() ? (int32_t)t.size() : off;
    return endMove(window);
}

int teCaretLineEnd(HWND window, BOOL clear)
{
    beginMove(window, clear);
    teCaretToLineEnd();
    return endMove(window);
}

int teCaretTextStart(HWND window, BOOL clear)
{
    beginMove(window, clear);
    teSetCaretLine(teGetFirstLine());
    std::string t = teLineString(teCaretLine());
    int32_t off = txSkipCodes(t.c_str(), 0);
    S().caretOffset = off > (int32_t)t.size() ? (int32_t)t.size() : off;
    return endMove(window);
}

int teCaretTextEnd(HWND window, BOOL clear)
{
    beginMove(window, clear);
    teSetCaretLine(teGetLastLine());
    teCaretToLineEnd();
    return endMove(window);
}

int teCaretWordLeft(HWND window, BOOL clear)
{
    beginMove(window, clear);
    MemHandle line = teCaretLine();
    int32_t off = teCaretOffset();
    if (off == 0) {
        MemHandle prev = teLinePrev(line);
        if (!prev || !linesStep()) {
            teBeep();
            return 0;
        }
        teSetCaretLine(prev);
        teCaretToLineEnd();
        return endMove(window);
    }
    if (off == 2) {
        S().caretOffset = 0;
        return endMove(window);
    }
    std::string t = teLineString(line);
    const char *s = t.c_str();
    int32_t p = txPrevUnit(s, off);
    if (p < 0)
        p = 0;
    if (B(s, p) == ' ') {
        while (p > 0 && B(s, p - 1) == ' ')
            --p;
    } else if (B(s, p) == TX_TAB || B(s, p) == TX_INDENT) {
        if (p > 0)
            --p;
    }
    int32_t q = p > 0 ? txstrrevpbrk(s, p - 1, " \t") : -1;
    S().caretOffset = q < 0 ? 0 : txSkipCodes(s, q + 1);
    return endMove(window);
}

int teCaretWordRight(HWND window, BOOL clear)
{
    beginMove(window, clear);
    MemHandle line = teCaretLine();
    std::string t = teLineString(line);
    const char *s = t.c_str();
    int32_t n = (int32_t)t.size();
    int32_t off = teCaretOffset();
    BOOL atEnd = off >= n || B(s, off) == TX_RETURN;
    if (!atEnd) {
        int32_t i = off;
        while (i < n && B(s, i) != ' ' && B(s, i) != TX_TAB && B(s, i) != TX_INDENT)
            i = stepUnit(s, i);
        if (i >= n) {
            teCaretToLineEnd();
            return endMove(window);
        }
        int32_t j = i + 1;
        if (B(s, i) == ' ')
            while (j < n && B(s, j) == ' ')
                ++j;
        if (j < n && B(s, j) != TX_RETURN) {
            int32_t k = txSkipCodes(s, j);
            S().caretOffset = k > n ? n : k;
            return endMove(window);
        }
    }
    MemHandle next = teLineNext(line);
    if (!next || !linesStep()) {
        teBeep();
        return 0;
    }
    teSetCaret(next, 0);
    return endMove(window);
}

int teMoveCaretByPage(HWND window, BOOL down)
{
    int32_t x, y;
    teCaretPoint(&x, &y);
    POINT p = {x, y};
    HDC dc = teGetDC();
    if (dc)
        LPtoDP(dc, &p, 1);
    SendMessageA(window, WM_VSCROLL, down ? SB_PAGEDOWN : SB_PAGEUP, 0);
    refreshMapping(window);
    TePos pos;
    teHitTest(window, MAKELPARAM(p.x, p.y), &pos);
    teSetCaret(pos.line, pos.offset);
    tePlaceCaret(window);
    return 1;
}

int tePageScroll(HWND window, BOOL, BOOL down)
{
    teDropUndo(window, TRUE);
    teUnhighlightSelection(window);
    return teMoveCaretByPage(window, down);
}

// ---- scrolling ------------------------------------------------------------------------------------

int32_t teScrollByX(HWND window, int32_t d)
{
    if (!d)
        return 0;
    int32_t r = wsScrollByLogX(window, d);
    refreshMapping(window);
    wsInvalidateRulers(window, 1);
    wsUpdateRulers(window, 1);
    return r;
}

int32_t teScrollByY(HWND window, int32_t d)
{
    if (!d)
        return 0;
    int32_t r = wsScrollByLogY(window, d);
    refreshMapping(window);
    wsInvalidateRulers(window, 2);
    wsUpdateRulers(window, 2);
    return r;
}

// ---- format attributes ------------------------------------------------------------------------------

void teResetFormatAttrs(const char *stream, CharFormat *fmt)
{
    if (!stream || !fmt)
        return;
    for (int32_t i = 0; B(stream, i);) {
        if (B(stream, i) != TX_ESC) {
            i = stepUnit(stream, i);
            continue;
        }
        switch (txCodeNumber(stream + i)) {
        case 1: case 2: case 32: fmt->lf.lfWeight = 400; break;
        case 3: case 4: fmt->lf.lfItalic = 0; break;
        case 5: case 6: fmt->lf.lfUnderline = 0; break;
        case 7: case 8: fmt->lf.lfStrikeOut = 0; break;
        case 9: case 10: fmt->subscript = 0; break;
        case 11: case 12: fmt->superscript = 0; break;
        case 22: case 23: fmt->inverse = 0; break;
        default: break;
        }
        i = stepUnit(stream, i);
    }
}

// ---- text of a range ----------------------------------------------------------------------------

namespace {

// Calls fn(byte) for each plain character of the range: codes and objects
// dropped, a paragraph return as the given line end.
template <typename Fn>
void plainBytes(const TePos *start, const TePos *end, const char *lineEnd, Fn fn)
{
    if (!start || !end || !start->line || !end->line)
        return;
    TePos a = *start, b = *end;
    if (tePosCompare(&a, &b) > 0)
        std::swap(a, b);
    for (MemHandle l = a.line; l; l = teLineNext(l)) {
        std::string t = teLineString(l);
        const char *s = t.c_str();
        int32_t n = (int32_t)t.size();
        int32_t i = l == a.line ? a.offset : 0;
        int32_t to = l == b.line ? b.offset : n;
        if (to > n)
            to = n;
        while (i >= 0 && i < to) {
            uint8_t c = B(s, i);
            if (c == TX_ESC || c == TX_GS) {
                i = stepUnit(s, i);
                continue;
            }
            if (c == TX_RETURN) {
                for (const char *e = lineEnd; *e; ++e)
                    fn(*e);
            } else {
                fn((char)c);
            }
            ++i;
        }
        if (l == b.line)
            break;
    }
}

}  // namespace

MemHandle teRangeToText(const TePos *start, const TePos *end)
{
    std::string out;
    plainBytes(start, end, "\r\n", [&](char c) { out += c; });
    return utHandleFromBytes(out.c_str(), (uint32_t)out.size() + 1);
}

int32_t teRangeTextLength(const TePos *start, const TePos *end)
{
    int32_t n = 0;
    plainBytes(start, end, "\r\n", [&](char) { ++n; });
    return n;
}

int32_t teRangeCharCount(const TePos *start, const TePos *end)
{
    int32_t n = 0;
    plainBytes(start, end, "\r", [&](char) { ++n; });
    return n;
}

int32_t teRangeToPlain(const TePos *start, const TePos *end, char *buffer)
{
    int32_t n = 0;
    plainBytes(start, end, "\n", [&](char c) {
        if (buffer)
            buffer[n] = c;
        ++n;
    });
    if (buffer)
        buffer[n] = 0;
    return n;
}

// ---- scrolling commands ---------------------------------------------------------------------------

namespace {

// The view in twips.
BOOL viewTwips(HWND window, RECT *r)
{
    HDC dc = teGetDC();
    if (!window || !dc || !GetClientRect(window, r))
        return FALSE;
    DPtoLP(dc, reinterpret_cast<POINT *>(r), 2);
    if (r->top > r->bottom)
        std::swap(r->top, r->bottom);
    return TRUE;
}

// The first line whose top is at or below the view's top, and the last
// line whose top is above the view's bottom.
void visibleLines(const RECT &view, MemHandle *first, MemHandle *last)
{
    *first = *last = 0;
    for (MemHandle l = teGetFirstLine(); l; l = teLineNext(l)) {
        int32_t top = teLineTop(l);
        if (!*first && top >= view.top)
            *first = l;
        if (top < view.bottom)
            *last = l;
    }
}

}  // namespace

int teScrollLineUp(HWND window)
{
    RECT view;
    if (!viewTwips(window, &view))
        return 0;
    MemHandle first, last;
    visibleLines(view, &first, &last);
    MemHandle prev = first ? teLinePrev(first) : teGetLastLine();
    int32_t d = prev ? teLineTop(prev) - view.top : -teLineHeight(teGetFirstLine());
    if (d > 0)
        d = -d;
    return teScrollByY(window, d) != 0;
}

int teScrollLineDown(HWND window)
{
    RECT view;
    if (!viewTwips(window, &view))
        return 0;
    MemHandle first, last;
    visibleLines(view, &first, &last);
    MemHandle next = first ? teLineNext(first) : 0;
    int32_t d = next ? teLineTop(next) - view.top : teLineHeight(teGetLastLine());
    return teScrollByY(window, d) != 0;
}

int teScrollPageDown(HWND window)
{
    RECT view;
    if (!viewTwips(window, &view))
        return 0;
    MemHandle first, last;
    visibleLines(view, &first, &last);
    int32_t d = last ? teLineTop(last) - view.top : 0;
    if (d <= 0)
        d = view.bottom - view.top;
    return teScrollByY(window, d) != 0;
}

int teScrollPageUp(HWND window)
{
    RECT view;
    if (!viewTwips(window, &view))
        return 0;
    MemHandle first, last;
    visibleLines(view, &first, &last);
    int32_t d = first ? teLineBottom(first) - view.bottom : 0;
    if (d >= 0)
        d = -(view.bottom - view.top);
    return teScrollByY(window, d) != 0;
}

// ---- the select byte of a format -------------------------------------------------------------------

void teFormatSetSelect(CharFormat *fmt)
{
    if (fmt)
        fmt->selected = 1;
}

void teFormatClearSelect(CharFormat *fmt)
{
    if (fmt)
        fmt->selected = 0;
}
