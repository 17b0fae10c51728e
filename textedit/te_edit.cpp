// The editing commands that change the text: deleting a range and
// inserting a stream, typing in insert and overwrite mode with its width
// limit, new paragraphs, Backspace, Delete and delete-forward, and a code
// applied over a range. Every change records its undo step first and
// notes for the display what it disturbs.
#include "textedit/te_commands.h"
#include "textedit/te_caret.h"
#include "textedit/te_display.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include "textedit/te_undo.h"
#include "support/ut_mem.h"
#include "textedit/tx_edit_lines.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_stream.h"

#include <string>
#include <vector>

namespace {

TextEditSession &S() { return *teSession(); }
inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

int32_t unitSize(const char *s, int32_t i)
{
    int32_t u = 0;
    if (B(s, i) == TX_ESC)
        u = txCodeUnitSize(s + i);
    else if (B(s, i) == TX_GS)
        u = txObjectSize(s + i);
    return u > 0 ? u : 1;
}

BOOL hasCode(const std::string &s)
{
    return s.find((char)TX_ESC) != std::string::npos;
}

void order(TePos *a, TePos *b)
{
    if (tePosCompare(a, b) > 0) {
        TePos t = *a;
        *a = *b;
        *b = t;
    }
}

// The caret put exactly at a position (no skipping of paragraph codes).
void caretAt(MemHandle line, int32_t offset)
{
    teSetCaretLine(line);
    S().caretOffset = offset;
}

// Lays the lines out again after a change in `line`: wrapped text
// re-breaks the paragraph from the line (or the one before it in the
// paragraph, when text may move back up); other text is measured, to the
// end when the codes changed. The first line whose break changed.
MemHandle relayout(MemHandle line, BOOL pullBack, BOOL codesChanged)
{
    if (!line)
        return 0;
    MemHandle changed = 0;
    if (teIsWrapped()) {
        MemHandle prev = pullBack ? teLinePrevInPara(line) : 0;
        changed = teRewrapFrom(prev ? prev : line, TRUE);
        if (codesChanged) {
            MemHandle next = teNextParaLine(teCaretLine());
            if (next)
                teMeasureLines(teParaFirstLine(teCaretLine()), nullptr, 0);
        }
    } else {
        teMeasureLines(line, nullptr, codesChanged ? 0 : line);
    }
    return changed;
}

// Marks the lines from a line index to its paragraph's end as changed.
void markFrom(int32_t index)
{
    MemHandle l = teLineAt(index);
    if (!l)
        l = teGetLastLine();
    if (l)
        teMarkLinesChanged(l, teParaLastLine(l));
    teMarkRangeChanged(1);
}

// The kind-13 range: the start line's offset from the text start and the
// bytes after the end line.
struct CodeRange {
    int32_t start = -1;
    int32_t tail = -1;
};
CodeRange g_codeRange;

int32_t textLength()
{
    int32_t n = 0;
    for (MemHandle l = teGetFirstLine(); l; l = teLineNext(l))
        n += teLineLength(l);
    return n;
}

// Deletes the unit at the caret as Delete does; FALSE when there is
// nothing to delete up to the text end.
BOOL deleteAtCaret(HWND window, int32_t *changedIndex)
{
    for (;;) {
        MemHandle line = teCaretLine();
        if (!line)
            return FALSE;
        std::string t = teLineString(line);
        int32_t n = (int32_t)t.size();
        int32_t off = teCaretOffset();
        if (off > n)
            off = n;
        if (off >= n && n > 0 && B(t.c_str(), n - 1) == TX_RETURN)
            off = n - 1;
        off = txSkipCodes(t.c_str(), off);
        if (off > n)
            off = n;
        if (off < n) {
            *changedIndex = teLineIndex(line);
            teNoteBeforeChange(line);
            TePos a = {line, off}, b = {line, off};
            if (B(t.c_str(), off) == TX_RETURN) {
                MemHandle next = teLineNext(line);
                if (next) {
                    // Joins the next paragraph, its leading codes kept.
                    b = {next, 0};
                } else {
                    b.offset = off + 1;
                }
            } else if (B(t.c_str(), off) != TX_GS &&
                       txIsDBCSLead(S().caretFormat.codePage, t.c_str() + off) && off + 1 < n) {
                b.offset = off + 2;
            } else {
                b.offset = off + unitSize(t.c_str(), off);
            }
            if (b.line == line && b.offset > n)
                b.offset = n;
            teDeleteRange(window, &a, &b);
            return TRUE;
        }
        MemHandle next = teLineNext(line);
        if (!next)
            return FALSE;
        caretAt(next, 0);
    }
}

// Types bytes at the caret in insert or overwrite mode; the caret after.
BOOL typeBytes(const char *bytes, int32_t n, BOOL insert)
{
    int32_t r;
    if (insert)
        r = teInsertBytesAtCaret(bytes, n);
    else if (n == 1)
        r = teTypeByteAtCaret(bytes[0]);
    else
        r = teTypePairAtCaret(bytes);
    if (!r)
        return FALSE;
    S().caretOffset += n;
    return TRUE;
}

// The left margin an indent byte selects for the line.
int32_t lineIndent(MemHandle line)
{
    CharFormat f;
    if (!teLineGetFormat(line, &f) || !f.indentLevel)
        return 0;
    const int32_t *tabs = teLockTabs();
    int32_t count = tabs ? (int32_t)teGetTabCount() : 0;
    int32_t x = txTabAt(f.indentLevel, count, tabs);
    teUnlockTabs();
    return x;
}

int insertUnit(HWND window, const char *bytes, int32_t n)
{
    if (!S().object || !teCaretLine())
        return 0;
    const BOOL insert = teGetInsertMode();
    teNoteEditAtCaret();
    teRecordUndo(insert ? TE_UNDO_INSERT : TE_UNDO_OVERWRITE, 0);
    teDeleteSelection(window);
    int32_t index = teCaretLineIndex();
    const BOOL wrapped = teIsWrapped();
    if (!wrapped && !teIsFrameBound()) {
        // The line may not pass the frame: try it on a copy.
        MemHandle copy = utCopyHandle(teCaretLine());
        if (!copy) {
            teBeep();
            return 0;
        }
        int32_t before = teCaretOffset();
        if (!typeBytes(bytes, n, insert)) {
            utFreeHandle(copy);
            teBeep();
            return 0;
        }
        teMeasureCaretLine();
        if (teCaretLineWidth() + lineIndent(teCaretLine()) > teGetFrameExtent()) {
            teLineReplaceFrom(teCaretLine(), copy);
            utFreeHandle(copy);
            S().caretOffset = before;
            teBeep();
            return 0;
        }
        utFreeHandle(copy);
    } else {
        if (!typeBytes(bytes, n, insert)) {
            teBeep();
            return 0;
        }
        if (wrapped) {
            // A blank can let the line before take a word back.
            BOOL pull = bytes[0] == ' ' || bytes[0] == '-';
            MemHandle start = pull ? teLinePrevInPara(teCaretLine()) : 0;
            MemHandle changed = teRewrapFrom(start ? start : teCaretLine(), FALSE);
            // The line before kept its break: the caret's line may still need one.
            if (!changed && start)
                changed = teRewrapFrom(teCaretLine(), FALSE);
            if (!changed)
                teMeasureCaretLine();
            else
                teMarkLinesChanged(changed, teParaLastLine(changed));
        } else {
            teMeasureCaretLine();
            int32_t width = teCaretLineWidth() + lineIndent(teCaretLine());
            if (width > teGetFrameExtent()) {
                if (teIsVertical())
                    teGrowHeight(window, width);
                else
                    teGrowWidth(window, width);
            }
        }
    }
    MemHandle old = teLineAt(index);
    if (old)
        teMarkLinesChanged(old, old);
    teMarkRangeChanged(1);
    teMarkModified(window);
    return 1;
}

}  // namespace

// ---- deleting and inserting ---------------------------------------------------------------------

BOOL teDeleteRange(HWND window, const TePos *start, const TePos *end)
{
    (void)window;
    if (!start || !end || !start->line || !end->line)
        return FALSE;
    TePos a = *start, b = *end;
    order(&a, &b);
    // A position after a paragraph return is the next line's start.
    {
        std::string t = teLineString(a.line);
        int32_t n = (int32_t)t.size();
        if (a.offset >= n && n > 0 && B(t.c_str(), n - 1) == TX_RETURN && teLineNext(a.line) &&
            a.line != b.line)
            a = {teLineNext(a.line), 0};
    }
    if (a.line == b.line && a.offset >= b.offset)
        return FALSE;
    std::string head = teLineString(a.line);
    std::string tail = teLineString(b.line);
    if (a.offset > (int32_t)head.size())
        a.offset = (int32_t)head.size();
    if (b.offset > (int32_t)tail.size())
        b.offset = (int32_t)tail.size();
    std::string gone;
    if (a.line == b.line) {
        gone = head.substr((size_t)a.offset, (size_t)(b.offset - a.offset));
    } else {
        gone = head.substr((size_t)a.offset);
        for (MemHandle l = teLineNext(a.line); l && l != b.line; l = teLineNext(l))
            gone += teLineString(l);
        gone += tail.substr(0, (size_t)b.offset);
    }
    std::string joined = head.substr(0, (size_t)a.offset) + tail.substr((size_t)b.offset);
    teClearSelection();
    if (a.line != b.line) {
        MemHandle first = teLineNext(a.line);
        if (S().caretLine && teLineIndex(S().caretLine) > teLineIndex(a.line))
            S().caretLine = a.line;
        teLinesFree(first, b.line);
    }
    caretAt(a.line, 0);
    MemHandle line = teLineSetText(a.line, joined.c_str());
    if (!line)
        return FALSE;
    caretAt(line, a.offset);
    relayout(line, TRUE, hasCode(gone));
    return TRUE;
}

BOOL teDeleteSelection(HWND window)
{
    TePos a, b;
    if (!teGetSelection(&a, &b))
        return FALSE;
    order(&a, &b);
    teDeleteRange(window, &a, &b);
    teClearSelection();
    teMarkRangeChanged(2);
    teMarkModified(window);
    return TRUE;
}

int32_t teInsertStreamAtCaret(HWND window, const char *stream, const CharFormat *fmt)
{
    (void)window;
    MemHandle line = teCaretLine();
    if (!stream || !*stream || !line)
        return 0;
    std::string text = teLineString(line);
    int32_t off = teCaretOffset();
    if (off < 0)
        off = 0;
    if (off > (int32_t)text.size())
        off = (int32_t)text.size();
    std::vector<std::string> pieces;
    std::string cur = text.substr(0, (size_t)off);
    int32_t added = 0;
    BOOL codes = FALSE;
    for (int32_t i = 0; B(stream, i);) {
        uint8_t c = B(stream, i);
        if (c == TX_RETURN || c == '\n') {
            cur += (char)TX_RETURN;
            ++added;
            pieces.push_back(cur);
            cur.clear();
            i += (c == TX_RETURN && B(stream, i + 1) == '\n') ? 2 : 1;
            continue;
        }
        if (c == TX_SEOL) {
            ++i;
            continue;
        }
        if (c == TX_ESC && txIsLineInfo(stream + i)) {
            i += kTxLineInfoSize;
            continue;
        }
        int32_t u = unitSize(stream, i);
        int32_t have = txstrlen(stream + i);
        if (u > have)
            u = have;
        codes = codes || c == TX_ESC;
        cur.append(stream + i, (size_t)u);
        added += u;
        i += u;
    }
    int32_t caretOff = (int32_t)cur.size();
    cur += text.substr((size_t)off);
    pieces.push_back(cur);
    MemHandle first = teLineSetText(line, pieces[0].c_str());
    if (!first)
        return 0;
    MemHandle last = first;
    CharFormat run;
    teLineGetFormat(first, &run);
    for (size_t k = 1; k < pieces.size(); ++k) {
        MemHandle nl = teLineNew(pieces[k].c_str(), (int32_t)pieces[k].size(), &run);
        if (!nl)
            break;
        teLineInsertAfter(last, nl);
        last = nl;
    }
    // The lines carry the caret line's own start format on; the format at
    // the caret is already in force where the stream goes in.
    (void)fmt;
    teMeasureLines(first, nullptr, codes ? 0 : last);
    caretAt(last, caretOff);
    if (teIsWrapped()) {
        MemHandle prev = teLinePrevInPara(first);
        teRewrapParas(prev ? prev : first, last);
    }
    return added;
}

// ---- typing ----------------------------------------------------------------------------------------

int teInsertChar(HWND window, char byte) { return insertUnit(window, &byte, 1); }

int teInsertDbcs(HWND window, const char pair[2])
{
    return pair ? insertUnit(window, pair, 2) : 0;
}

int teNewParagraph(HWND window)
{
    if (!S().object || !teCaretLine())
        return 0;
    if (!(teGetTextFlags() & TXF_WRAP_LOW)) {
        PostMessageA(window, 1025, 1, 1);
        return 0;
    }
    teNoteEditAtCaret();
    teRecordUndo(TE_UNDO_INSERT, 0);
    teDeleteSelection(window);
    MemHandle line = teCaretLine();
    int32_t index = teLineIndex(line);
    std::string t = teLineString(line);
    int32_t off = teCaretOffset();
    if (off > (int32_t)t.size())
        off = (int32_t)t.size();
    CharFormat f;
    teFormatAt(line, off, &f);
    f.indentLevel = 0;
    f.indentAux = 0;
    std::string rest = t.substr((size_t)off);
    std::string keep = t.substr(0, (size_t)off) + (char)TX_RETURN;
    MemHandle h = teLineSetText(line, keep.c_str());
    if (!h)
        return 0;
    MemHandle nl = teLineNew(rest.c_str(), (int32_t)rest.size(), &f);
    if (!nl)
        return 0;
    teLineInsertAfter(h, nl);
    teMeasureLines(h, nullptr, nl);
    caretAt(nl, 0);
    if (teIsWrapped())
        teRewrapFrom(nl, TRUE);
    MemHandle from = teLineAt(index);
    if (from)
        teMarkLinesChanged(from, teGetLastLine());
    teMarkRangeChanged(4);
    teMarkModified(window);
    return 1;
}

// ---- deleting --------------------------------------------------------------------------------------

int teDelete(HWND window)
{
    if (!S().object || !teCaretLine())
        return 0;
    teNoteEditAtCaret();
    uint16_t before = teGetUndoKind();
    teRecordUndo(TE_UNDO_DELETE, 0);
    BOOL created = before != TE_UNDO_DELETE && teGetUndoKind() == TE_UNDO_DELETE;
    if (teDeleteSelection(window))
        return 1;
    int32_t index = -1;
    if (!deleteAtCaret(window, &index)) {
        // Only a step this press made goes: a run of deletes keeps its own.
        if (created)
            teDropUndo(window, TRUE);
        return 0;
    }
    markFrom(index);
    teMarkModified(window);
    return 1;
}

int teBackspace(HWND window)
{
    if (!S().object || !teCaretLine())
        return 0;
    teNoteEditAtCaret();
    teRecordUndo(TE_UNDO_BACKSPACE, 0);
    if (teDeleteSelection(window))
        return 1;
    if (teCaretAtTextStart()) {
        teBeep();
        return 0;
    }
    MemHandle line = teCaretLine();
    if (!teIsWrapped() && teLineLength(line) == 0 && line != teGetFirstLine()) {
        // An empty line goes with the paragraph return before it.
        MemHandle prev = teLinePrev(line);
        teNoteBeforeChange(prev);
        int32_t index = teLineIndex(prev);
        TePos a = {prev, teLineLength(prev)}, b = {line, 0};
        std::string pt = teLineString(prev);
        if (!pt.empty() && B(pt.c_str(), (int32_t)pt.size() - 1) == TX_RETURN)
            a.offset--;
        teDeleteRange(window, &a, &b);
        markFrom(index);
        teMarkModified(window);
        return 1;
    }
    teCaretPrevUnit();
    int32_t index = -1;
    if (!deleteAtCaret(window, &index))
        return 0;
    markFrom(index);
    teMarkModified(window);
    return 1;
}

int teDeleteForward(HWND window)
{
    if (!S().object || !teCaretLine())
        return 0;
    if (teHasSelection())
        return teDelete(window);
    teNoteEditAtCaret();
    uint16_t before = teGetUndoKind();
    teRecordUndo(TE_UNDO_DELETE_WORD, 0);
    BOOL created = before != TE_UNDO_DELETE_WORD && teGetUndoKind() == TE_UNDO_DELETE_WORD;
    for (;;) {
        MemHandle line = teCaretLine();
        std::string t = teLineString(line);
        const char *s = t.c_str();
        int32_t n = (int32_t)t.size();
        int32_t off = teCaretOffset();
        if (off >= n || (off == n - 1 && B(s, off) == TX_RETURN && !teLineNext(line))) {
            MemHandle next = off >= n ? teLineNext(line) : 0;
            if (!next) {
                if (created)
                    teDropUndo(window, TRUE);
                return 0;
            }
            caretAt(next, 0);
            continue;
        }
        int32_t index = teLineIndex(line);
        teNoteBeforeChange(line);
        TePos a = {line, off}, b = {line, off};
        if (B(s, off) == TX_RETURN) {
            MemHandle next = teLineNext(line);
            std::string nt = teLineString(next);
            b = {next, txSkipParaCodes(0, nt.c_str())};
        } else if (B(s, off) == ' ') {
            int32_t e = off;
            while (e < n && B(s, e) == ' ')
                ++e;
            b.offset = e;
        } else if (B(s, off) == TX_TAB || B(s, off) == 5 || B(s, off) == 6) {
            b.offset = off + 1;
        } else {
            int32_t e = teWordEnd(line, off);
            while (e < n && B(s, e) == ' ')
                ++e;
            b.offset = e;
        }
        teDeleteRange(window, &a, &b);
        markFrom(index);
        teMarkModified(window);
        return 1;
    }
}

// ---- a code over a range ------------------------------------------------------------------------

void teSetCodeRangeUndo(const TePos *start, const TePos *end)
{
    if (!start || !end || !start->line || !end->line) {
        teClearCodeRangeUndo();
        return;
    }
    TePos lineStart = {start->line, 0};
    TePos lineEnd = {end->line, teLineLength(end->line)};
    g_codeRange.start = tePosAbs(&lineStart);
    g_codeRange.tail = textLength() - tePosAbs(&lineEnd);
}

void teClearCodeRangeUndo() { g_codeRange = CodeRange(); }

int teRestoreCodeRange(HWND window, const char *stream)
{
    if (g_codeRange.start < 0 || g_codeRange.tail < 0)
        return 0;
    int32_t endAbs = textLength() - g_codeRange.tail;
    MemHandle first = 0, last = 0;
    int32_t at = 0;
    for (MemHandle l = teGetFirstLine(); l; l = teLineNext(l)) {
        int32_t n = teLineLength(l);
        if (!first && at >= g_codeRange.start)
            first = l;
        at += n;
        if (first && at >= endAbs) {
            last = l;
            break;
        }
    }
    if (!first || !last)
        return 0;
    teNoteBeforeChange(first);
    MemHandle before = teLinePrev(first);
    CharFormat f;
    teLineGetFormat(first, &f);
    int32_t index = teLineIndex(first);
    teClearSelection();
    S().caretLine = 0;
    teLinesFree(first, last);
    if (stream && *stream) {
        teLinesFromStream(stream, before, &f);
    } else {
        MemHandle empty = teLineNew(nullptr, 0, &f);
        if (empty)
            teLineInsertAfter(before, empty);
    }
    if (!teGetFirstLine()) {
        MemHandle empty = teLineNew(nullptr, 0, &f);
        if (empty)
            teLineInsertMeasured(0, empty);
    }
    teMeasureLines(teLineAt(index) ? teLineAt(index) : teGetFirstLine(), nullptr, 0);
    teSetCaret(teGetFirstLine(), 0);
    teRestoreUndoSelection();
    MemHandle from = teLineAt(index);
    teMarkLinesChanged(from ? from : teGetFirstLine(), teGetLastLine());
    teAddChangedArea(nullptr);
    teClearCodeRangeUndo();
    (void)window;
    return 1;
}

int teApplyCodeToRange(HWND window, const TePos *start, const TePos *end, int code,
                       int32_t value, const CharFormat *)
{
    if (!start || !end || !start->line || !end->line)
        return 0;
    TePos s = *start, e = *end;
    teNoteBeforeChange(s.line);
    teRecordUndo(TE_UNDO_PARA_CODE, teLinesToStream(s.line, e.line));
    teSetCodeRangeUndo(&s, &e);
    txStripCodeKindInLines(&s, &e, code, FALSE, FALSE);
    char unit[16];
    int32_t n = txMakeWordCode(unit, code, (int16_t)value);
    if (n <= 0)
        return 0;
    unit[n] = 0;
    MemHandle caretLine = teCaretLine();
    int32_t caretOff = teCaretOffset();
    BOOL caretHere = caretLine == s.line && caretOff >= s.offset;
    int32_t added = teLineInsertStream(&s.line, s.offset, unit);
    if (added) {
        if (caretHere)
            S().caretOffset = caretOff + added;
        teSelectionShift(s.line, s.offset, added, TRUE);
    }
    teMeasureLines(teGetFirstLine(), nullptr, 0);
    teMarkLinesChanged(s.line, teGetLastLine());
    teAddChangedArea(nullptr);
    teMarkModified(window);
    return 1;
}
