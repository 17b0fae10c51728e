// Format operations over the text editor's line blocks.
#include "textedit/tx_edit_lines.h"
#include "textedit/te_caret.h"
#include "textedit/te_commands.h"
#include "textedit/te_display.h"
#include "textedit/te_select.h"
#include "textedit/te_undo.h"
#include "textedit/te_lines.h"
#include "textedit/te_session.h"
#include "text/tx_stream.h"
#include "support/ut_mem.h"

#include <string>

namespace {

int32_t g_formatUndo[2] = {-1, -1};

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

BOOL matches(int kind, int code, BOOL withOpposite)
{
    switch (kind) {
    case 27: return txIsScriptCode(code);
    case 28: return txIsParaCode(code);
    case 29: return txIsFontCode(code);
    case 30: return txIsAttrCode(code);
    default: break;
    }
    if (code == kind)
        return TRUE;
    int opposite = txOppositeCode(kind);
    return withOpposite && opposite && code == opposite;
}

}  // namespace


BOOL txStripCodeKindInLines(const TePos *start, TePos *end, int code, BOOL withOpposite,
                            BOOL relayout)
{
    if (!start || !end || !start->line || !end->line)
        return FALSE;
    BOOL any = FALSE;
    for (MemHandle l = start->line; l; l = teLineNext(l)) {
        BOOL changed = FALSE;
        {
            MemLock<TxLineRecord> r(l);
            char *t = teLineText(r.get());
            TxLineInfo *li = teLineInfo(r.get());
            int32_t i = l == start->line ? start->offset : 0;
            int32_t to = l == end->line ? end->offset : li->n;
            if (to > li->n)
                to = li->n;
            if (i < 0)
                i = 0;
            while (i < to) {
                if (B(t, i) == TX_ESC && matches(code, txCodeNumber(t + i), withOpposite)) {
                    int32_t len = txDeleteCodeAt(t, i);
                    if (len <= 0)
                        break;
                    li->n = (int16_t)(li->n - len);
                    to -= len;
                    if (l == end->line)
                        end->offset -= len;
                    teShiftPositions(l, i + len, -len, TRUE);
                    changed = TRUE;
                    continue;
                }
                int32_t u = B(t, i) == TX_ESC ? txCodeUnitSize(t + i)
                            : B(t, i) == TX_GS ? txObjectSize(t + i) : 1;
                i += u > 0 ? u : 1;
            }
        }
        any = any || changed;
        if (l == end->line)
            break;
    }
    if (any && relayout) {
        teMeasureLines(start->line, nullptr, end->line);
        teSetCaret(teCaretLine(), teCaretOffset());
    }
    return any;
}

int32_t txInsertFormatChange(TePos *pos, const CharFormat *oldFmt, const CharFormat *newFmt)
{
    if (!pos || !pos->line || !oldFmt || !newFmt)
        return 0;
    int32_t size = txFormatChangeSize(oldFmt, newFmt);
    if (size <= 0)
        return 0;
    std::string codes((size_t)size + 1, '\0');
    int32_t n = txEncodeFormatChange(&codes[0], oldFmt, newFmt);
    codes[(size_t)n] = 0;
    int32_t added = teLineInsertStream(&pos->line, pos->offset, codes.c_str());
    if (added)
        teMeasureLines(pos->line, nullptr, 0);
    return added;
}

BOOL txCheckLineBlock(MemHandle block, BOOL renormalise)
{
    MemLock<TxLineRecord> r(block);
    if (!r)
        return FALSE;
    int32_t checked = txCheckStream(r->info);
    if (checked < kTxLineInfoSize)
        return FALSE;   // left as it was: a walk must never trust a broken length
    TxLineInfo *li = teLineInfo(r.get());
    li->n = (int16_t)(checked - kTxLineInfoSize);
    if (renormalise) {
        CharFormat f = r->fmt;
        int32_t len = txNormaliseCodes(r->info, &f);
        if (len >= kTxLineInfoSize)
            li->n = (int16_t)(len - kTxLineInfoSize);
    }
    return TRUE;
}

BOOL txCheckAllLines()
{
    for (MemHandle l = teGetFirstLine(); l; l = teLineNext(l))
        if (!txCheckLineBlock(l, FALSE))
            return FALSE;
    return TRUE;
}

void txResetFormatUndo() { g_formatUndo[0] = g_formatUndo[1] = -1; }

void txGetFormatUndo(int32_t *a, int32_t *b)
{
    if (a)
        *a = g_formatUndo[0];
    if (b)
        *b = g_formatUndo[1];
}

void txSetFormatUndo(int32_t a, int32_t b)
{
    g_formatUndo[0] = a;
    g_formatUndo[1] = b;
}

void txReapplyFormatUndo(HWND window, const char *saved)
{
    int32_t a = g_formatUndo[0], b = g_formatUndo[1];
    if (a < 0 || b < 0)
        return;
    TePos start, end;
    if (!tePosFromAbs(a, &start) || !tePosFromAbs(b, &end))
        return;
    // The changed text with the codes written around it goes; the text as
    // it was before the change takes its place.
    teNoteBeforeChange(start.line);
    teSetSelection(&start, &end);
    teDeleteSelection(window);
    if (saved && *saved)
        teInsertStreamAtCaret(window, saved, nullptr);
    teRestoreUndoSelection();
    teMarkRangeChanged(5);
    txResetFormatUndo();
}
