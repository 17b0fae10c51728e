// The editor's one undo step: recording what each kind saves, performing
// the step, and dropping it with the state a kind keeps beside it.
#include "textedit/te_undo.h"
#include "textedit/te_caret.h"
#include "textedit/te_commands.h"
#include "textedit/te_display.h"
#include "textedit/te_lines.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include "commands/app_stdbar.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include "textedit/tx_edit_lines.h"
#include "views/ws_ruler_tabs.h"

#include <initializer_list>
#include <string.h>

namespace {

TextEditSession &S() { return *teSession(); }

BOOL mergeable(uint16_t kind)
{
    return kind == 1 || kind == 5 || kind == 6 || kind == 7 || kind == 12 || kind == 30;
}

BOOL wholeText(uint16_t kind)
{
    return kind == 1 || kind == 6 || kind == 7 || kind == 12 || kind == 30 || kind == 31;
}

// Kinds whose Undo does something.
BOOL hasUndo(uint16_t kind)
{
    return wholeText(kind) || kind == 5 || kind == 9 || kind == 10 || kind == 11 ||
           kind == 13 || kind == 14 || kind == 15 || kind == 50;
}

// The saved data of a kind. *ok is FALSE when something that exists could
// not be saved (an empty text or no selection saves nothing and is fine).
MemHandle saveData(uint16_t kind, BOOL *ok)
{
    *ok = TRUE;
    MemHandle h = 0;
    if (wholeText(kind)) {
        MemHandle first = S().firstLine;
        if (first && (teLineLength(first) > 0 || teLineNext(first))) {
            h = teLinesToStream(first, 0);
            if (!h && teLineLength(first) > 0)
                *ok = FALSE;
        }
        return h;
    }
    switch (kind) {
    case 5:
    case 10:
    case 11:
        if (teHasSelection()) {
            h = teSelectedText();
            if (!h) {
                TePos a, b;
                teGetSelection(&a, &b);
                // A selection of bytes that could not be copied.
                *ok = teBytesBetween(&a, &b) == 0 && teBytesBetween(&b, &a) == 0;
            }
        }
        return h;
    case 9:
        if (S().caretLine) {
            h = utCopyHandle(S().caretLine);
            *ok = h != 0;
        }
        return h;
    case 50:
        if (S().object) {
            MemLock<uint8_t> rec(S().object);
            if (rec)
                h = utHandleFromBytes(rec.get(), kObHeadSize);
            *ok = h != 0;
        }
        return h;
    default: return 0;
    }
}

// The whole text back from the saved stream (or emptied when the text was
// empty), the display told which lines changed.
void undoWholeText(HWND window, MemHandle data)
{
    TePos selStart, selEnd;
    MemHandle line = teGetSelection(&selStart, &selEnd)
                         ? (tePosCompare(&selStart, &selEnd) <= 0 ? selStart.line : selEnd.line)
                         : S().caretLine;
    if (!line)
        line = S().firstLine;
    MemHandle prev = teLinePrevInPara(line);
    MemHandle start = prev ? prev : line;
    teNoteBeforeChange(start);
    teMarkLinesChanged(start, S().lastLine);
    if (data) {
        teAddChangedFromLine(S().caretLine ? S().caretLine : start);
        {
            MemLock<char> s(data);
            teRestoreTextFromStream(window, s.get());
        }
        teRestoreUndoSelection();
        if (teIsTopPlaced() && !teIsVertical()) {
            teAddChangedFromLine(S().caretLine);
            teMarkLinesChanged(S().caretLine, S().lastLine);
        } else {
            teAddChangedArea(nullptr);
            teMarkLinesChanged(S().firstLine, S().lastLine);
        }
        return;
    }
    if (S().firstLine) {
        teInvalidateText(window, TRUE);
        teClearSelection();
        teLinesFree(teLineNext(S().firstLine), S().lastLine);
        teSetCaret(S().firstLine, 0);
        teSetCaretLineText("");
        teSetCaret(S().firstLine, 0);
    }
    teRestoreUndoSelection();
}

// Kind 5: the inserted text goes, the replaced selection comes back.
void undoInsertion(HWND window, MemHandle data)
{
    teNoteEditAtCaret();
    int32_t start = S().savedSelStart >= 0 ? S().savedSelStart : S().savedCaret;
    TePos from, to;
    teGetCaretPos(&to);
    if (tePosFromAbs(start, &from))
        teDeleteRange(window, &from, &to);
    if (data) {
        teSetCaretAbs(start);
        MemLock<char> s(data);
        teInsertStreamAtCaret(window, s.get(), nullptr);
    } else if (teIsWrapped()) {
        teRewrapFrom(teParaFirstLine(S().caretLine), TRUE);
    }
    teRestoreUndoSelection();
    teMarkRangeChanged(5);
}

// Kind 10: the converted selection is replaced by the saved text.
int undoCase(HWND window, MemHandle data)
{
    TePos a, b;
    if (!teGetSelection(&a, &b))
        return 0;
    if (tePosCompare(&a, &b) > 0) {
        TePos t = a;
        a = b;
        b = t;
    }
    teNoteBeforeChange(a.line);
    teDeleteRange(window, &a, &b);
    if (data) {
        teSetCaretAbs(S().savedSelStart);
        MemLock<char> s(data);
        teInsertStreamAtCaret(window, s.get(), nullptr);
    }
    teRestoreUndoSelection();
    if (teIsWrapped())
        teRewrapFrom(teParaFirstLine(S().caretLine), TRUE);
    teMarkRangeChanged(5);
    return 1;
}

void undoTabs(HWND window, uint16_t kind)
{
    RECT now = S().frame;
    RECT saved = S().savedFrame;
    BOOL horizontalOnly = kind == 15 && !teIsVertical();
    if (!horizontalOnly) {
        wsShowRulerTabs(window, 1, FALSE);
        wsShowRulerTabs(window, 2, FALSE);
        S().tabTable = utFreeHandle(S().tabTable);
        S().tabTable = S().savedTabs;
        S().tabCount = S().savedTabCount;
        S().tabSpacing = S().savedTabSpacing;
        S().savedTabs = 0;
        S().savedTabCount = 0;
        S().savedTabSpacing = 0;
    }
    BOOL flat = saved.right <= saved.left || saved.bottom <= saved.top;
    if (!(kind == 15 && teIsVertical() && flat))
        teSetFrame(window, &saved);
    if (!horizontalOnly && teIsWrapped())
        teRewrapAll();
    teRestoreUndoSelection();
    HDC dc = teGetDC();
    if (window && dc) {
        for (RECT r : {saved, now}) {
            LPtoDP(dc, reinterpret_cast<POINT *>(&r), 2);
            if (r.left > r.right) {
                LONG t = r.left;
                r.left = r.right;
                r.right = t;
            }
            if (r.top > r.bottom) {
                LONG t = r.top;
                r.top = r.bottom;
                r.bottom = t;
            }
            InflateRect(&r, 1, 1);
            InvalidateRect(window, &r, TRUE);
        }
    }
}

}  // namespace

int teRecordUndo(uint16_t kind, MemHandle data)
{
    if (S().undoSuspended) {
        utFreeHandle(data);
        return 1;
    }
    if (mergeable(kind) && S().undoKind == kind) {
        utFreeHandle(data);
        return 1;
    }
    if (kind != 14 && kind != 15)
        teDropUndoQuiet();
    if (kind != 50)
        teSaveUndoSelection();
    BOOL ok = TRUE;
    MemHandle saved = 0;
    if (kind == 14 || kind == 15) {
        teFreeUndoTabs();
        ok = teSaveUndoTabs();
    } else if (kind == 13) {
        saved = data;
    } else {
        saved = saveData(kind, &ok);
        utFreeHandle(data);
    }
    if (!ok) {
        // Nothing half-saved is kept: a step without its state would
        // empty the text on Undo.
        utFreeHandle(saved);
        teDropUndoQuiet();
        appEnableUndoButton(FALSE);
        return 0;
    }
    S().undoData = utFreeHandle(S().undoData);
    S().undoData = saved;
    S().undoKind = kind;
    S().savedFrame = S().frame;
    appEnableUndoButton(hasUndo(kind));
    return 1;
}

int teUndo(HWND window)
{
    uint16_t kind = S().undoKind;
    MemHandle data = S().undoData;
    int done = 1;
    if (!S().object || S().undoSuspended || !hasUndo(kind)) {
        done = 0;
    } else if (wholeText(kind)) {
        undoWholeText(window, data);
    } else if (kind == 5) {
        undoInsertion(window, data);
    } else if (kind == 9) {
        MemHandle line = S().caretLine;
        if (line && data) {
            teNoteBeforeChange(line);
            teLineReplaceFrom(line, data);
            teSetCaretAbs(S().savedCaret);
            teMarkRangeChanged(1);
        }
    } else if (kind == 10) {
        done = undoCase(window, data);
    } else if (kind == 11) {
        MemLock<char> s(data);
        txReapplyFormatUndo(window, data ? s.get() : nullptr);
    } else if (kind == 13) {
        MemLock<char> s(data);
        done = teRestoreCodeRange(window, data ? s.get() : nullptr);
    } else if (kind == 14 || kind == 15) {
        undoTabs(window, kind);
    } else if (kind == 50) {
        if (data && utHandleSize(data) >= kObHeadSize) {
            MemLock<uint8_t> rec(S().object), head(data);
            if (rec && head)
                memcpy(rec.get(), head.get(), kObHeadSize);
        }
        teMarkRangeChanged(10);
    }
    if (done && kind != 14 && kind != 15 && kind != 50)
        teMarkModified(window);
    teDropUndo(window, TRUE);
    return done;
}

void teDropUndo(HWND, BOOL update)
{
    if (!S().undoSuspended) {
        switch (S().undoKind) {
        case 11: txResetFormatUndo(); break;
        case 13: teClearCodeRangeUndo(); break;
        case 14:
        case 15: teFreeUndoTabs(); break;
        default: break;
        }
        S().undoData = utFreeHandle(S().undoData);
        S().undoKind = 0;
        S().savedSelStart = S().savedSelEnd = S().savedCaret = -1;
        S().savedFrame = S().frame;
    }
    if (update)
        appEnableUndoButton(FALSE);
}

void teDropUndoQuiet() { teDropUndo(teGetWindow(), FALSE); }

BOOL teCanUndo() { return S().undoKind != 0 && !S().undoSuspended; }
BOOL teUndoIsInsertion() { return S().undoKind == 5; }
void teSuspendUndo(uint32_t value) { S().undoSuspended = value; }
void teResumeUndo() { S().undoSuspended = 0; }

void teSaveUndoSelection()
{
    int32_t a, b;
    teSelectionAbs(&a, &b);
    S().savedSelStart = a;
    S().savedSelEnd = b;
    S().savedCaret = teCaretAbs();
}

void teRestoreUndoSelection()
{
    TePos a, b;
    if (S().savedSelStart >= 0 && S().savedSelEnd >= 0 && tePosFromAbs(S().savedSelStart, &a) &&
        tePosFromAbs(S().savedSelEnd, &b))
        teSetSelection(&a, &b);
    else
        teClearSelection();
    if (S().savedCaret >= 0)
        teSetCaretAbs(S().savedCaret);
}

void teGetUndoSelection(int32_t *start, int32_t *end, int32_t *caret)
{
    if (start)
        *start = S().savedSelStart;
    if (end)
        *end = S().savedSelEnd;
    if (caret)
        *caret = S().savedCaret;
}

void teRestoreTextFromStream(HWND, const char *stream)
{
    teLinesFreeAll();
    S().caretLine = 0;
    teClearSelection();
    CharFormat base = S().baseFormat;
    if (stream && *stream)
        teLinesFromStream(stream, 0, &base);
    if (!S().firstLine) {
        MemHandle empty = teLineNew(nullptr, 0, &base);
        if (empty)
            teLineInsertMeasured(0, empty);
    }
    teSetCaret(S().firstLine, 0);
}

BOOL teSaveUndoTabs()
{
    BOOL ok = TRUE;
    S().savedTabs = utFreeHandle(S().savedTabs);
    if (S().tabTable) {
        S().savedTabs = utCopyHandle(S().tabTable);
        ok = S().savedTabs != 0;
    }
    S().savedTabCount = ok ? S().tabCount : 0;
    S().savedTabSpacing = ok ? S().tabSpacing : 0;
    S().savedFrame = S().frame;
    teSaveUndoSelection();
    return ok;
}

void teFreeUndoTabs()
{
    S().savedTabs = utFreeHandle(S().savedTabs);
    S().savedTabCount = 0;
    S().savedTabSpacing = 0;
}
