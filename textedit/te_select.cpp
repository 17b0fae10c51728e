// The editor's selection and its absolute-offset conversions.
#include "textedit/te_select.h"
#include "textedit/te_caret.h"
#include "textedit/te_session.h"
#include "support/ut_mem.h"

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
