// Line blocks of the edited text: allocation and links, navigation,
// paragraphs, measuring, streams in and out, codes in lines, line positions
// and re-breaking.
#include "textedit/te_lines.h"
#include "textedit/te_caret.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include "support/gdi_text.h"
#include "support/ut_mem.h"
#include "textedit/tx_edit_lines.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_paint.h"

#include <string>
#include <vector>

namespace {

TextEditSession &S() { return *teSession(); }

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

void writeInfo(char *p, int16_t n, int16_t nBLO, uint16_t W, uint16_t H)
{
    TxLineInfo li = {n, nBLO, W, H};
    txMakeBlockCode(p, TXC_LINE_INFO, &li, (int32_t)sizeof li);
}

TxLineInfo infoOf(MemHandle line)
{
    TxLineInfo li = {0, 0, 0, 0};
    MemLock<TxLineRecord> r(line);
    if (r)
        li = *teLineInfo(r.get());
    return li;
}

// The lines' tab stops for measuring.
struct Tabs {
    const int32_t *stops;
    int32_t count;
    Tabs() : stops(teLockTabs()), count(stops ? (int32_t)teGetTabCount() : 0) {}
    ~Tabs() { teUnlockTabs(); }
};

// Steps a unit in a line's text (codes and objects whole).
int32_t stepUnit(const char *s, int32_t i)
{
    int32_t u = 0;
    if (B(s, i) == TX_ESC)
        u = txCodeUnitSize(s + i);
    else if (B(s, i) == TX_GS)
        u = txObjectSize(s + i);
    return i + (u > 0 ? u : 1);
}

// The bytes of a line that count in its width: trailing blanks stay on the
// line they follow but do not widen it (as the line breaker counts them).
int32_t measuredLength(const char *t, int32_t n)
{
    int32_t m = n;
    while (m > 0 && t[m - 1] == ' ')
        --m;
    return m > 0 ? m : n;
}

}  // namespace

char *teLineText(TxLineRecord *rec) { return reinterpret_cast<char *>(rec) + kTeLineHead; }
TxLineInfo *teLineInfo(TxLineRecord *rec)
{
    return reinterpret_cast<TxLineInfo *>(rec->info + 3);
}

std::string teLineString(MemHandle line)
{
    MemLock<TxLineRecord> r(line);
    return r ? std::string(teLineText(r.get()), (size_t)teLineInfo(r.get())->n) : std::string();
}

// ---- blocks and links --------------------------------------------------------------------------

MemHandle teLineAlloc(MemHandle line, int32_t textLength)
{
    if (textLength < 0)
        textLength = 0;
    uint32_t need = kTeLineHead + (uint32_t)textLength + 1;
    if (!line)
        return utAllocHandle(0, utGrowRequest(0, need, kTeLineStep));
    MemHandle h = utGrowHandle(line, need, kTeLineStep);
    if (!h || h == line)
        return h;
    MemHandle prev = 0, next = 0;
    {
        MemLock<TxLineRecord> r(h);
        prev = r->prev;
        next = r->next;
    }
    if (prev) {
        MemLock<TxLineRecord> p(prev);
        if (p)
            p->next = h;
    } else if (S().firstLine == line) {
        S().firstLine = h;
    }
    if (next) {
        MemLock<TxLineRecord> n(next);
        if (n)
            n->prev = h;
    } else if (S().lastLine == line) {
        S().lastLine = h;
    }
    teLineMoved(line, h);
    return h;
}

void teLineMoved(MemHandle from, MemHandle to)
{
    if (S().caretLine == from)
        S().caretLine = to;
    teSelectionLineMoved(from, to);
}

MemHandle teLineNew(const char *text, int32_t length, const CharFormat *fmt)
{
    const char *src = nullptr;
    int32_t n = 0;
    TxLineInfo li = {0, 0, 0, 0};
    if (text && txIsLineInfo(text)) {
        memcpy(&li, text + 3, sizeof li);
        src = text + kTxLineInfoSize;
        n = length - kTxLineInfoSize;
        int32_t avail = txstrlen(src);
        if (n > avail)
            n = avail;
    } else if (text) {
        src = text;
        n = length;
        int32_t avail = txstrlen(text);
        if (n > avail)
            n = avail;
    }
    if (n < 0)
        n = 0;
    if (n > 0 && src[n - 1] == TX_SEOL)
        --n;
    MemHandle h = teLineAlloc(0, n);
    if (!h)
        return 0;
    MemLock<TxLineRecord> r(h);
    if (fmt)
        r->fmt = *fmt;
    writeInfo(r->info, (int16_t)n, li.nBLO, li.W, li.H);
    if (n)
        memcpy(teLineText(r.get()), src, (size_t)n);
    teLineText(r.get())[n] = 0;
    return h;
}

MemHandle teLinePrev(MemHandle line)
{
    MemLock<TxLineRecord> r(line);
    return r ? r->prev : 0;
}

MemHandle teLineNext(MemHandle line)
{
    MemLock<TxLineRecord> r(line);
    return r ? r->next : 0;
}

int32_t teLineLength(MemHandle line) { return line ? infoOf(line).n : 0; }
int32_t teLineHeight(MemHandle line) { return line ? infoOf(line).H : 0; }
int32_t teLineWidth(MemHandle line) { return line ? infoOf(line).W : 0; }
int32_t teLineBaseline(MemHandle line) { return line ? infoOf(line).nBLO : 0; }

BOOL teLineGetFormat(MemHandle line, CharFormat *out)
{
    MemLock<TxLineRecord> r(line);
    if (!r || !out)
        return FALSE;
    *out = r->fmt;
    return TRUE;
}

BOOL teLineEndFormat(MemHandle line, CharFormat *out)
{
    MemLock<TxLineRecord> r(line);
    if (!r || !out)
        return FALSE;
    *out = r->fmt;
    txApplyRange(nullptr, teLineText(r.get()), teLineInfo(r.get())->n, out);
    return TRUE;
}

void teLineLink(MemHandle a, MemHandle b)
{
    if (a) {
        MemLock<TxLineRecord> r(a);
        if (r)
            r->next = b;
    }
    if (b) {
        MemLock<TxLineRecord> r(b);
        if (r)
            r->prev = a;
    }
}

void teLineInsertAfter(MemHandle after, MemHandle line)
{
    if (!line)
        return;
    MemHandle next = after ? teLineNext(after) : S().firstLine;
    teLineLink(after, line);
    teLineLink(line, next);
    if (!after)
        S().firstLine = line;
    if (!next)
        S().lastLine = line;
}

void teLineInsertMeasured(MemHandle after, MemHandle line)
{
    teLineInsertAfter(after, line);
    teMeasureLines(after ? after : line, nullptr, line);
}

void teLineAppend(MemHandle line) { teLineInsertMeasured(S().lastLine, line); }

void teSetLineList(MemHandle first)
{
    S().firstLine = first;
    MemHandle last = first;
    for (MemHandle l = first; l; l = teLineNext(l))
        last = l;
    S().lastLine = last;
}

void teLineFree(MemHandle line)
{
    if (!line)
        return;
    MemHandle prev = teLinePrev(line), next = teLineNext(line);
    teLineLink(prev, next);
    if (!prev) {
        if (next) {
            MemLock<TxLineRecord> r(next);
            r->prev = 0;
        }
        if (S().firstLine == line)
            S().firstLine = next;
    }
    if (!next && S().lastLine == line)
        S().lastLine = prev;
    if (S().caretLine == line)
        S().caretLine = 0;
    utFreeHandle(line);
}

void teLinesFree(MemHandle from, MemHandle to)
{
    MemHandle l = from;
    while (l) {
        MemHandle next = teLineNext(l);
        BOOL last = l == to;
        teLineFree(l);
        if (last)
            break;
        l = next;
    }
}

void teLinesFreeAll()
{
    MemHandle l = S().firstLine;
    while (l) {
        MemHandle next = teLineNext(l);
        utFreeHandle(l);
        l = next;
    }
    S().firstLine = S().lastLine = 0;
}

void teLinesClear() { S().firstLine = S().lastLine = 0; }

BOOL teLineReplaceFrom(MemHandle line, MemHandle saved)
{
    if (!line || !saved)
        return FALSE;
    uint32_t size = utHandleSize(saved);
    if (size < kTeLineHead + 1)
        return FALSE;
    MemHandle h = teLineAlloc(line, (int32_t)(size - kTeLineHead - 1));
    if (!h)
        return FALSE;
    MemLock<TxLineRecord> d(h), s(saved);
    uint32_t prev = d->prev, next = d->next;
    memcpy(d.get(), s.get(), size);
    d->prev = prev;
    d->next = next;
    return TRUE;
}

// Makes room for the text of n bytes; the handle to use afterwards.
static MemHandle resizeText(MemHandle line, int32_t n) { return teLineAlloc(line, n); }

MemHandle teLineSetText(MemHandle line, const char *stream)
{
    if (!line)
        return 0;
    int32_t n = stream ? txstrlen(stream) : 0;
    MemHandle h = resizeText(line, n);
    if (!h)
        return 0;
    {
        MemLock<TxLineRecord> r(h);
        if (n)
            memcpy(teLineText(r.get()), stream, (size_t)n);
        teLineText(r.get())[n] = 0;
        teLineInfo(r.get())->n = (int16_t)n;
    }
    teMeasureLine(h, nullptr);
    return h;
}

MemHandle teLineAppendBytes(MemHandle line, const char *bytes, int32_t count)
{
    if (!line || !bytes || count <= 0)
        return line;
    int32_t n = teLineLength(line);
    MemHandle h = resizeText(line, n + count);
    if (!h)
        return 0;
    MemLock<TxLineRecord> r(h);
    char *t = teLineText(r.get());
    memcpy(t + n, bytes, (size_t)count);
    t[n + count] = 0;
    teLineInfo(r.get())->n = (int16_t)txstrlen(t);
    return h;
}

int32_t teLineInsertStream(MemHandle *line, int32_t offset, const char *stream)
{
    if (!line || !*line || !stream)
        return 0;
    int32_t add = txstrlen(stream);
    if (add <= 0)
        return 0;
    int32_t n = teLineLength(*line);
    if (offset < 0)
        offset = 0;
    if (offset > n)
        offset = n;
    MemHandle h = resizeText(*line, n + add);
    if (!h)
        return 0;
    *line = h;
    MemLock<TxLineRecord> r(h);
    char *t = teLineText(r.get());
    memmove(t + offset + add, t + offset, (size_t)(n - offset));
    memcpy(t + offset, stream, (size_t)add);
    t[n + add] = 0;
    teLineInfo(r.get())->n = (int16_t)(n + add);
    return add;
}

// ---- navigation --------------------------------------------------------------------------------

int32_t teLineIndex(MemHandle line)
{
    int32_t i = 0;
    for (MemHandle l = S().firstLine; l; l = teLineNext(l), ++i)
        if (l == line)
            return i;
    return -1;
}

MemHandle teLineAt(int32_t index)
{
    if (index < 0)
        return 0;
    MemHandle l = S().firstLine;
    for (; l && index > 0; --index)
        l = teLineNext(l);
    return l;
}

int32_t teLineCount()
{
    int32_t n = 0;
    for (MemHandle l = S().firstLine; l; l = teLineNext(l))
        ++n;
    return n;
}

int32_t teCaretLineIndex() { return teLineIndex(S().caretLine); }

BOOL teLineEndsPara(MemHandle line)
{
    MemLock<TxLineRecord> r(line);
    if (!r)
        return FALSE;
    if (!r->next)
        return TRUE;
    int32_t n = teLineInfo(r.get())->n;
    return n > 0 && teLineText(r.get())[n - 1] == TX_RETURN;
}

MemHandle teLinePrevInPara(MemHandle line)
{
    MemHandle prev = teLinePrev(line);
    return prev && !teLineEndsPara(prev) ? prev : 0;
}

MemHandle teParaFirstLine(MemHandle line)
{
    MemHandle l = line;
    for (MemHandle p; l && (p = teLinePrevInPara(l)) != 0;)
        l = p;
    return l;
}

MemHandle teParaLastLine(MemHandle line)
{
    MemHandle l = line;
    while (l && !teLineEndsPara(l))
        l = teLineNext(l);
    return l;
}

MemHandle teNextParaLine(MemHandle line) { return teLineNext(teParaLastLine(line)); }

void teParaLines(MemHandle line, MemHandle *first, MemHandle *last)
{
    if (first)
        *first = teParaFirstLine(line);
    if (last)
        *last = teParaLastLine(line);
}

BOOL teParaRange(MemHandle line, TePos *start, TePos *end)
{
    MemHandle first = teParaFirstLine(line), last = teParaLastLine(line);
    MemHandle next = teLineNext(last);
    if (start)
        *start = {first, 0};
    if (next) {
        if (end)
            *end = {next, 0};
        return TRUE;
    }
    if (end)
        *end = {last, teLineLength(last)};
    return FALSE;
}

BOOL teAtParaStart(const TePos *pos)
{
    if (!pos || !pos->line || teLinePrevInPara(pos->line))
        return FALSE;
    if (pos->offset == 0)
        return TRUE;
    MemLock<TxLineRecord> r(pos->line);
    return r && pos->offset <= txSkipCodes(teLineText(r.get()), 0);
}

// ---- paragraph text ----------------------------------------------------------------------------

int32_t teParaLength(MemHandle line)
{
    int32_t n = 0;
    for (MemHandle l = line; l; l = teLineNext(l)) {
        n += teLineLength(l);
        if (teLineEndsPara(l))
            break;
    }
    return n;
}

// Appends the text of the lines from (line, offset) to the paragraph's end;
// the line after the paragraph.
static MemHandle collectPara(MemHandle line, int32_t offset, std::string &out)
{
    for (MemHandle l = line; l;) {
        MemHandle next;
        BOOL ends;
        {
            MemLock<TxLineRecord> r(l);
            int32_t n = teLineInfo(r.get())->n;
            int32_t from = l == line ? offset : 0;
            if (from < 0)
                from = 0;
            if (from < n)
                out.append(teLineText(r.get()) + from, (size_t)(n - from));
            next = r->next;
            ends = !next || (n > 0 && teLineText(r.get())[n - 1] == TX_RETURN);
        }
        if (ends)
            return next;
        l = next;
    }
    return 0;
}

MemHandle teParaStream(MemHandle line)
{
    if (!line)
        return 0;
    std::string text;
    collectPara(line, 0, text);
    if (text.empty())
        return 0;
    return utHandleFromBytes(text.c_str(), (uint32_t)text.size() + 1);
}

int32_t teParaText(const TePos *pos, MemHandle *nextLine, MemHandle *buffer)
{
    if (!pos || !buffer)
        return 0;
    std::string text;
    MemHandle next = collectPara(pos->line, pos->offset, text);
    if (nextLine)
        *nextLine = next;
    MemHandle h = utPutBytes(*buffer, 0, text.c_str(), (uint32_t)text.size() + 1);
    if (!h) {
        *buffer = utFreeHandle(*buffer);
        return 0;
    }
    *buffer = h;
    return (int32_t)text.size();
}

// ---- measuring ---------------------------------------------------------------------------------

HDC teGetMeasuringDC(BOOL *release)
{
    *release = FALSE;
    if (txUsePrinterMetrics() && txGetPrinterRefDC())
        return txGetPrinterRefDC();
    HDC dc = teGetDC();
    if (dc)
        return dc;
    *release = TRUE;
    return txGetMeasureDC(nullptr, FALSE);
}

void teReleaseMeasuringDC(HDC dc, BOOL release)
{
    if (release && dc)
        txReleaseMeasureDC(nullptr, dc, FALSE);
}

void teMeasureLines(MemHandle first, CharFormat *fmt, MemHandle last)
{
    if (!first)
        return;
    BOOL release;
    HDC dc = teGetMeasuringDC(&release);
    Tabs tabs;
    CharFormat run;
    if (fmt)
        run = *fmt;
    else
        teLineGetFormat(first, &run);
    for (MemHandle l = first; l; l = teLineNext(l)) {
        {
            MemLock<TxLineRecord> r(l);
            r->fmt = run;
            TxLineInfo *li = teLineInfo(r.get());
            txSetLastAscent(0);
            const char *t = teLineText(r.get());
            uint32_t wh = txMeasureLine(dc, t, measuredLength(t, li->n), &run, tabs.count,
                                        tabs.stops);
            li->W = (uint16_t)(wh & 0xFFFF);
            li->H = (uint16_t)(wh >> 16);
            li->nBLO = (int16_t)txLastAscent();
        }
        if (l == last)
            break;
    }
    if (fmt)
        *fmt = run;
    teReleaseMeasuringDC(dc, release);
}

void teMeasureLine(MemHandle line, const CharFormat *fmt)
{
    if (!line)
        return;
    BOOL release;
    HDC dc = teGetMeasuringDC(&release);
    Tabs tabs;
    {
        MemLock<TxLineRecord> r(line);
        if (fmt)
            r->fmt = *fmt;
        CharFormat run = r->fmt;
        TxLineInfo *li = teLineInfo(r.get());
        txSetLastAscent(0);
        const char *t = teLineText(r.get());
        uint32_t wh = txPaintLineRef(dc, 0, 0, t, measuredLength(t, li->n), &run, tabs.count,
                                     tabs.stops, FALSE);
        li->W = (uint16_t)(wh & 0xFFFF);
        li->H = (uint16_t)(wh >> 16);
        li->nBLO = (int16_t)txLastAscent();
    }
    teReleaseMeasuringDC(dc, release);
}

// ---- streams out -------------------------------------------------------------------------------

int32_t teBytesBetween(const TePos *start, const TePos *end)
{
    if (!start || !end || !start->line || !end->line)
        return 0;
    if (start->line == end->line)
        return end->offset > start->offset ? end->offset - start->offset : 0;
    int32_t n = teLineLength(start->line) - start->offset;
    for (MemHandle l = teLineNext(start->line); l; l = teLineNext(l)) {
        if (l == end->line)
            return n + end->offset > 0 ? n + end->offset : 0;
        n += teLineLength(l);
    }
    return 0;
}

MemHandle teGetRangeText(const TePos *start, const TePos *end)
{
    if (!start || !end || !start->line || !end->line)
        return 0;
    std::string text;
    for (MemHandle l = start->line; l; l = teLineNext(l)) {
        MemLock<TxLineRecord> r(l);
        int32_t n = teLineInfo(r.get())->n;
        int32_t from = l == start->line ? start->offset : 0;
        int32_t to = l == end->line ? end->offset : n;
        if (to > n)
            to = n;
        if (from < 0)
            from = 0;
        if (to > from)
            text.append(teLineText(r.get()) + from, (size_t)(to - from));
        if (l == end->line)
            break;
    }
    if (text.empty())
        return 0;
    MemHandle h = utHandleFromBytes(text.c_str(), (uint32_t)text.size() + 1);
    return h ? txCloseHyperlinks(h) : 0;
}

int32_t teLinesStreamLength(MemHandle from, MemHandle to)
{
    int32_t n = 0;
    for (MemHandle l = from; l; l = teLineNext(l)) {
        n += kTxLineInfoSize + teLineLength(l);
        if (l == to)
            break;
    }
    return n + 1;
}

int32_t teWriteLines(char *dst, MemHandle from, MemHandle to)
{
    int32_t w = 0;
    for (MemHandle l = from; l; l = teLineNext(l)) {
        MemLock<TxLineRecord> r(l);
        int32_t n = teLineInfo(r.get())->n;
        memcpy(dst + w, r->info, kTxLineInfoSize);
        memcpy(dst + w + kTxLineInfoSize, teLineText(r.get()), (size_t)n);
        w += kTxLineInfoSize + n;
        if (l == to)
            break;
    }
    dst[w] = 0;
    return w;
}

MemHandle teLinesToStream(MemHandle from, MemHandle to)
{
    if (!from || teLineLength(from) == 0)
        return 0;
    int32_t size = teLinesStreamLength(from, to);
    MemHandle h = utAllocHandle(0, (uint32_t)size);
    if (!h)
        return 0;
    MemLock<char> d(h);
    teWriteLines(d.get(), from, to);
    return h;
}

// ---- building from a stream --------------------------------------------------------------------

MemHandle teLinesFromStream(const char *stream, MemHandle after, const CharFormat *fmt)
{
    if (!stream)
        return after;
    const char *p = stream;
    // A leading tab array belongs to the session's tab stops, not to a line.
    if (txCodeNumber(p) == TXC_TAB_ARRAY && txCodeUnitSize(p) > 0)
        p += txCodeUnitSize(p);
    MemHandle firstNew = 0, last = after;
    BOOL endsWithReturn = FALSE;
    while (*p) {
        MemHandle line;
        int32_t n;
        if (txIsLineInfo(p)) {
            TxLineInfo li;
            memcpy(&li, p + 3, sizeof li);
            n = li.n < 0 ? 0 : li.n;
            int32_t avail = txstrlen(p + kTxLineInfoSize);
            if (n > avail)
                n = avail;
            line = teLineNew(p, kTxLineInfoSize + n, nullptr);
            p += kTxLineInfoSize + n;
            if (*p == TX_SEOL)
                ++p;
        } else {
            int32_t len = 0, lenWithEnd = 0;
            char *next = txNextLine(const_cast<char *>(p), &len, &lenWithEnd);
            if (lenWithEnd <= 0 && len <= 0) {
                // Never stall: a line of nothing moves on by a byte.
                ++p;
                continue;
            }
            n = lenWithEnd > len ? lenWithEnd : len;
            line = teLineNew(p, n, nullptr);
            p = next ? next : p + txstrlen(p);
        }
        if (!line)
            break;
        txCheckLineBlock(line, FALSE);
        teLineInsertAfter(last, line);
        if (!firstNew)
            firstNew = line;
        last = line;
        {
            MemLock<TxLineRecord> r(line);
            int32_t ln = teLineInfo(r.get())->n;
            endsWithReturn = ln > 0 && teLineText(r.get())[ln - 1] == TX_RETURN;
        }
    }
    // A text ending with a paragraph return has an empty line after it.
    if (firstNew && endsWithReturn && !teLineNext(last)) {
        MemHandle empty = teLineNew(nullptr, 0, nullptr);
        if (empty) {
            teLineInsertAfter(last, empty);
            last = empty;
        }
    }
    if (firstNew) {
        CharFormat run;
        if (fmt)
            run = *fmt;
        else
            teLineGetFormat(firstNew, &run);
        teMeasureLines(firstNew, &run, last);
    }
    txCheckAllLines();
    return last;
}

// ---- codes in lines ----------------------------------------------------------------------------

BOOL teFindCodeForward(TePos *pos, int code)
{
    if (!pos)
        return FALSE;
    int32_t off = pos->offset;
    for (MemHandle l = pos->line; l; l = teLineNext(l), off = 0) {
        MemLock<TxLineRecord> r(l);
        const char *t = teLineText(r.get());
        int32_t n = teLineInfo(r.get())->n;
        for (int32_t i = off < 0 ? 0 : off; i < n; i = stepUnit(t, i)) {
            if (B(t, i) == TX_ESC && txCodeNumber(t + i) == code) {
                *pos = {l, i};
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL teFindCodeBackward(TePos *pos, int code)
{
    if (!pos)
        return FALSE;
    MemHandle l = pos->line;
    int32_t limit = pos->offset;
    while (l) {
        int32_t found = -1;
        {
            MemLock<TxLineRecord> r(l);
            const char *t = teLineText(r.get());
            int32_t n = teLineInfo(r.get())->n;
            if (limit < 0 || limit > n)
                limit = n;
            for (int32_t i = 0; i < limit; i = stepUnit(t, i))
                if (B(t, i) == TX_ESC && txCodeNumber(t + i) == code)
                    found = i;
        }
        if (found >= 0) {
            *pos = {l, found};
            return TRUE;
        }
        l = teLinePrev(l);
        limit = -1;
    }
    return FALSE;
}

char *teLockAt(const TePos *pos)
{
    if (!pos || !pos->line)
        return nullptr;
    TxLineRecord *r = static_cast<TxLineRecord *>(utLock(pos->line));
    return r ? teLineText(r) + pos->offset : nullptr;
}

void teUnlockAt(const TePos *pos)
{
    if (pos && pos->line)
        utUnlock(pos->line);
}

void teShiftPositions(MemHandle line, int32_t at, int32_t delta, BOOL inclusive)
{
    if (S().caretLine == line &&
        (inclusive ? S().caretOffset >= at : S().caretOffset > at)) {
        int32_t floor = inclusive ? at + delta : at;
        S().caretOffset += delta;
        if (delta < 0 && S().caretOffset < floor)
            S().caretOffset = floor;
    }
    teSelectionShift(line, at, delta, inclusive);
}

int32_t teDeleteCodeAt(const TePos *pos)
{
    if (!pos || !pos->line)
        return 0;
    int32_t len;
    {
        MemLock<TxLineRecord> r(pos->line);
        char *t = teLineText(r.get());
        if (pos->offset < 0 || pos->offset >= teLineInfo(r.get())->n)
            return 0;
        len = txDeleteCodeAt(t, pos->offset);
        if (len <= 0)
            return 0;
        teLineInfo(r.get())->n = (int16_t)(teLineInfo(r.get())->n - len);
    }
    teShiftPositions(pos->line, pos->offset, -len, FALSE);
    return len;
}

int32_t teLineStripCodeAt(MemHandle line, int code, TePos *pos)
{
    int32_t first = -1;
    MemLock<TxLineRecord> r(line);
    if (!r)
        return -1;
    char *t = teLineText(r.get());
    TxLineInfo *li = teLineInfo(r.get());
    for (int32_t i = 0; i < li->n;) {
        if (B(t, i) == TX_ESC && txCodeNumber(t + i) == code) {
            int32_t len = txDeleteCodeAt(t, i);
            if (len <= 0)
                break;
            li->n = (int16_t)(li->n - len);
            if (first < 0)
                first = i;
            continue;
        }
        i = stepUnit(t, i);
    }
    if (pos && first >= 0)
        *pos = {line, first};
    return first;
}

int32_t teLineStripCode(MemHandle line, int code) { return teLineStripCodeAt(line, code, nullptr); }

BOOL teStripCodeInLines(MemHandle from, MemHandle to, int code, TePos *pos)
{
    BOOL any = FALSE;
    for (MemHandle l = from; l; l = teLineNext(l)) {
        TePos p;
        if (teLineStripCodeAt(l, code, &p) >= 0) {
            if (!any && pos)
                *pos = p;
            any = TRUE;
        }
        if (l == to)
            break;
    }
    return any;
}

// ---- line positions ----------------------------------------------------------------------------

static int32_t sumHeightsBefore(MemHandle line, BOOL inclusive, int32_t *total)
{
    int32_t before = 0, all = 0;
    BOOL seen = FALSE;
    for (MemHandle l = S().firstLine; l; l = teLineNext(l)) {
        int32_t h = teLineHeight(l);
        if (l == line) {
            seen = TRUE;
            if (inclusive)
                before += h;
        } else if (!seen) {
            before += h;
        }
        all += h;
        if (seen && !total)
            break;
    }
    if (total)
        *total = all;
    return before;
}

BOOL teIsTopPlaced()
{
    uint16_t a = S().baseFormat.align;
    return (a & (TXA_VCENTRE | TXA_BOTTOM)) == 0 || (S().textFlags & TXF_EDIT_OPT2);
}

static BOOL topPlaced() { return teIsTopPlaced(); }

static int32_t blockTop(int32_t depth)
{
    if (topPlaced())
        return S().frame.top;
    return gdiAlignY(S().frame, depth, S().baseFormat.align);
}

int32_t teLineTop(MemHandle line)
{
    if (topPlaced())
        return S().frame.top + sumHeightsBefore(line, FALSE, nullptr);
    int32_t total = 0;
    int32_t before = sumHeightsBefore(line, FALSE, &total);
    return blockTop(total) + before;
}

int32_t teLineBottom(MemHandle line) { return teLineTop(line) + teLineHeight(line); }

// Right-to-left columns: the right edge of the block of all columns.
static BOOL rtlFromRightEdge()
{
    uint16_t a = S().baseFormat.align;
    return !(a & 0x1) && (a & TXA_HMASK);
}

static int32_t rtlBlockRight(int32_t depth)
{
    if (rtlFromRightEdge())
        return S().frame.right;
    return gdiAlignX(S().frame, depth, S().baseFormat.align) + depth;
}

int32_t teLineLeft(MemHandle line)
{
    if (!teIsRightToLeft())
        return S().frame.left + sumHeightsBefore(line, FALSE, nullptr);
    int32_t total = 0;
    int32_t upTo = sumHeightsBefore(line, TRUE, &total);
    return rtlBlockRight(total) - upTo;
}

int32_t teLineRight(MemHandle line) { return teLineLeft(line) + teLineHeight(line); }

MemHandle teLineAtY(int32_t y, int32_t *top)
{
    MemHandle first = S().firstLine;
    int32_t t = teLineTop(first);
    MemHandle l = first, found = 0;
    for (; l; l = teLineNext(l)) {
        int32_t h = teLineHeight(l);
        if (y < t + h || !teLineNext(l)) {
            found = l;
            break;
        }
        t += h;
    }
    if (top)
        *top = t;
    return found;
}

MemHandle teLineAtX(int32_t x, int32_t *edge)
{
    MemHandle first = S().firstLine;
    MemHandle found = 0;
    if (!teIsRightToLeft()) {
        int32_t e = teLineLeft(first);
        for (MemHandle l = first; l; l = teLineNext(l)) {
            int32_t h = teLineHeight(l);
            if (x < e + h || !teLineNext(l)) {
                found = l;
                break;
            }
            e += h;
        }
        if (edge)
            *edge = e;
        return found;
    }
    int32_t right = teLineRight(first);
    for (MemHandle l = first; l; l = teLineNext(l)) {
        int32_t left = right - teLineHeight(l);
        if (x >= left || !teLineNext(l)) {
            found = l;
            break;
        }
        right = left;
    }
    if (edge)
        *edge = right;
    return found;
}

// ---- re-breaking -------------------------------------------------------------------------------

MemHandle teRewrapPara(TePos *pos, int32_t width, CharFormat *fmt, BOOL wantFirstChanged,
                       BOOL force)
{
    if (!pos || !pos->line)
        return 0;
    BOOL release;
    HDC dc = teGetMeasuringDC(&release);
    Tabs tabs;
    CharFormat run;
    if (fmt)
        run = *fmt;
    else
        teLineGetFormat(pos->line, &run);
    MemHandle text = teParaStream(pos->line);
    if (!text) {
        teReleaseMeasuringDC(dc, release);
        return 0;
    }
    int32_t count = 0;
    MemHandle heads;
    {
        MemLock<char> t(text);
        heads = txBreakIntoLines(dc, t.get(), &run, width, tabs.count, tabs.stops, &count);
    }
    teReleaseMeasuringDC(dc, release);
    if (!heads || count <= 0) {
        utFreeHandle(text);
        utFreeHandle(heads);
        return 0;
    }
    std::vector<TxLineRecord> recs((size_t)count);
    {
        MemLock<TxLineRecord> h(heads);
        memcpy(recs.data(), h.get(), sizeof(TxLineRecord) * (size_t)count);
    }
    utFreeHandle(heads);
    TxLineInfo firstHead;
    memcpy(&firstHead, recs[0].info + 3, sizeof firstHead);
    if (!force && teLineLength(pos->line) == firstHead.n) {
        utFreeHandle(text);
        return 0;
    }
    MemHandle last = teParaLastLine(pos->line);
    MemHandle cursor = pos->line, prev = 0, firstChanged = 0;
    int32_t from = 0;
    MemLock<char> t(text);
    for (int32_t k = 0; k < count; ++k) {
        TxLineInfo li;
        memcpy(&li, recs[(size_t)k].info + 3, sizeof li);
        int32_t n = li.n < 0 ? 0 : li.n;
        if (cursor) {
            int32_t oldN = teLineLength(cursor);
            BOOL isLast = cursor == last;
            BOOL isPos = cursor == pos->line;
            MemHandle h = teLineAlloc(cursor, n);
            if (!h)
                break;
            if (isPos)
                pos->line = h;
            if (isLast)
                last = h;
            if (!firstChanged && oldN != n)
                firstChanged = h;
            {
                MemLock<TxLineRecord> r(h);
                uint32_t p = r->prev, nx = r->next;
                memcpy(r.get(), &recs[(size_t)k], kTeLineHead);
                r->prev = p;
                r->next = nx;
                memcpy(teLineText(r.get()), t.get() + from, (size_t)n);
                teLineText(r.get())[n] = 0;
            }
            prev = h;
            cursor = isLast ? 0 : teLineNext(h);
        } else {
            MemHandle nb = teLineAlloc(0, n);
            if (!nb)
                break;
            {
                MemLock<TxLineRecord> r(nb);
                memcpy(r.get(), &recs[(size_t)k], kTeLineHead);
                r->prev = r->next = 0;
                memcpy(teLineText(r.get()), t.get() + from, (size_t)n);
                teLineText(r.get())[n] = 0;
            }
            teLineInsertAfter(prev, nb);
            if (!firstChanged)
                firstChanged = nb;
            prev = nb;
        }
        from += n;
    }
    if (cursor)
        teLinesFree(cursor, last);
    utUnlock(text);
    utFreeHandle(text);
    if (fmt)
        *fmt = run;
    return wantFirstChanged ? firstChanged : pos->line;
}

MemHandle teRewrapFrom(MemHandle line, BOOL force)
{
    if (!line)
        return 0;
    int32_t caret = teCaretAbs();
    teSelectionToAbs();
    TePos pos = {line, 0};
    MemHandle changed = teRewrapPara(&pos, teGetFrameExtent(), nullptr, TRUE, force);
    teSelectionFromAbs();
    teSetCaretAbs(caret);
    return changed;
}

// Re-breaks `paras` paragraphs from the one of `from`, each forced, the
// running format carried on; the last line re-broken.
static MemHandle rewrapCount(MemHandle from, int32_t paras, MemHandle *firstOut)
{
    MemHandle line = teParaFirstLine(from), lastDone = 0;
    CharFormat run;
    teLineGetFormat(line, &run);
    int32_t width = teGetFrameExtent();
    for (int32_t i = 0; line && (paras < 0 || i < paras); ++i) {
        TePos p = {line, 0};
        MemHandle r = teRewrapPara(&p, width, &run, FALSE, TRUE);
        if (i == 0 && firstOut)
            *firstOut = p.line;
        if (!r)
            break;
        lastDone = teParaLastLine(p.line);
        line = teLineNext(lastDone);
        if (line) {
            MemLock<TxLineRecord> l(line);
            l->fmt = run;
        }
    }
    return lastDone;
}

static int32_t parasBetween(MemHandle from, MemHandle to)
{
    if (!to)
        return -1;
    int32_t n = 0;
    for (MemHandle l = teParaFirstLine(from); l; l = teNextParaLine(l)) {
        ++n;
        for (MemHandle k = l; k; k = teLineNext(k)) {
            if (k == to)
                return n;
            if (teLineEndsPara(k))
                break;
        }
    }
    return n;
}

MemHandle teRewrapParas(MemHandle from, MemHandle to)
{
    if (!from)
        return 0;
    int32_t caret = teCaretAbs();
    teSelectionToAbs();
    MemHandle first = from;
    rewrapCount(from, parasBetween(from, to), &first);
    teSelectionFromAbs();
    teSetCaretAbs(caret);
    return first;
}

MemHandle teRewrapParasEx(MemHandle from, MemHandle *to)
{
    if (!from)
        return 0;
    MemHandle first = from;
    MemHandle last = rewrapCount(from, parasBetween(from, to ? *to : 0), &first);
    if (to)
        *to = last ? last : S().lastLine;
    return first;
}

void teRewrapAll()
{
    MemHandle oldFirst = S().firstLine;
    if (!oldFirst)
        return;
    int32_t caret = teCaretAbs();
    teSelectionToAbs();
    int32_t width = teGetFrameExtent();
    BOOL release;
    HDC dc = teGetMeasuringDC(&release);
    Tabs tabs;
    CharFormat run;
    teLineGetFormat(oldFirst, &run);
    MemHandle newFirst = 0, newLast = 0, line = oldFirst;
    BOOL failed = FALSE;
    while (line && !failed) {
        MemHandle text = teParaStream(line);
        if (!text)
            break;
        int32_t count = 0;
        MemHandle heads;
        {
            MemLock<char> t(text);
            heads = txBreakIntoLines(dc, t.get(), &run, width, tabs.count, tabs.stops, &count);
        }
        {
            MemLock<char> t(text);
            MemLock<TxLineRecord> h(heads);
            int32_t from = 0;
            for (int32_t k = 0; h && k < count; ++k) {
                TxLineInfo li;
                memcpy(&li, h[(size_t)k].info + 3, sizeof li);
                int32_t n = li.n < 0 ? 0 : li.n;
                MemHandle nb = teLineAlloc(0, n);
                if (!nb) {
                    failed = TRUE;
                    break;
                }
                {
                    MemLock<TxLineRecord> r(nb);
                    memcpy(r.get(), &h[(size_t)k], kTeLineHead);
                    r->prev = r->next = 0;
                    memcpy(teLineText(r.get()), t.get() + from, (size_t)n);
                    teLineText(r.get())[n] = 0;
                }
                teLineLink(newLast, nb);
                if (!newFirst)
                    newFirst = nb;
                newLast = nb;
                from += n;
            }
        }
        utFreeHandle(heads);
        utFreeHandle(text);
        line = teNextParaLine(line);
    }
    teReleaseMeasuringDC(dc, release);
    if (failed) {
        // Keep the old lines whole; drop the partial new chain.
        for (MemHandle l = newFirst; l;) {
            MemHandle next = teLineNext(l);
            utFreeHandle(l);
            l = next;
        }
        teSelectionFromAbs();
        teSetCaretAbs(caret);
        return;
    }
    if (newFirst) {
        if (line) {
            MemHandle before = teLinePrev(line);
            teLineLink(before, 0);
            teLineLink(0, line);
            {
                MemLock<TxLineRecord> r(line);
                r->fmt = run;
            }
            teLineLink(newLast, line);
        }
        for (MemHandle l = oldFirst; l;) {
            MemHandle next = teLineNext(l);
            utFreeHandle(l);
            l = next;
        }
        S().caretLine = 0;
        teSetLineList(newFirst);
    } else {
        MemHandle rest = teLineNext(oldFirst);
        teLineLink(oldFirst, 0);
        for (MemHandle l = rest; l;) {
            MemHandle next = teLineNext(l);
            utFreeHandle(l);
            l = next;
        }
        teSetLineList(oldFirst);
    }
    teSelectionFromAbs();
    teSetCaretAbs(caret);
}
