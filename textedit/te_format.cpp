// The editing commands that change formats: attributes, font, size and
// character spacing at the caret or over the selection, case changes and
// the edited object's colours.
#include "textedit/te_commands.h"
#include "textedit/te_caret.h"
#include "textedit/te_display.h"
#include "text/te_font_dlg.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include "textedit/te_undo.h"
#include "controls/pal_file.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include "textedit/tx_edit_lines.h"
#include "text/tx_flow.h"
#include "text/tx_format.h"
#include "text/tx_stream.h"

#include <math.h>
#include <stdlib.h>
#include <string>

namespace {

TextEditSession &S() { return *teSession(); }
inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

void order(TePos *a, TePos *b)
{
    if (tePosCompare(a, b) > 0) {
        TePos t = *a;
        *a = *b;
        *b = t;
    }
}

int32_t lineLen(MemHandle line) { return teLineLength(line); }

// The format the command starts from: at the selection's start, or at the
// caret.
void startFormat(CharFormat *out)
{
    TePos a, b;
    if (teGetSelection(&a, &b)) {
        order(&a, &b);
        teFormatAtPos(&a, out);
    } else {
        TePos c;
        teGetCaretPos(&c);
        if (!teFormatAtPos(&c, out))
            teGetFormat(out, 2);
    }
}

std::string changeCodes(const CharFormat *from, const CharFormat *to)
{
    int32_t size = txFormatChangeSize(from, to);
    if (size <= 0)
        return std::string();
    std::string codes((size_t)size + 1, '\0');
    int32_t n = txEncodeFormatChange(&codes[0], from, to);
    codes.resize((size_t)(n > 0 ? n : 0));
    return codes;
}

int overSelection(HWND window, const CharFormat *oldFmt, const CharFormat *newFmt, int codeKind)
{
    TePos a, b;
    teGetSelection(&a, &b);
    TePos caret;
    teGetCaretPos(&caret);
    order(&a, &b);
    BOOL caretAtStart = caret.line == a.line && caret.offset == a.offset;
    // The codes around both ends collapsed first, the ends kept on the
    // same characters.
    int32_t lenA = lineLen(a.line), lenB = lineLen(b.line);
    teNormalizeLineRange(&a, &b);
    if (lineLen(a.line) != lenA || lineLen(b.line) != lenB) {
        teSetSelection(&a, &b);
        teSetCaretPos(caretAtStart ? &a : &b);
    }
    teNoteEditAtCaret();
    teRecordUndo(TE_UNDO_FORMAT, 0);
    CharFormat endBefore;
    teFormatAtPos(&b, &endBefore);
    int32_t startAbs = tePosAbs(&a);
    txStripCodeKindInLines(&a, &b, codeKind, TRUE, FALSE);
    MemHandle before = a.line;
    int32_t added = txInsertFormatChange(&a, oldFmt, newFmt);
    if (b.line == before) {
        b.line = a.line;
        b.offset += added;
    }
    // After the range the text keeps the format it had.
    CharFormat endNow;
    teFormatAtPos(&b, &endNow);
    int32_t endAbs = tePosAbs(&b);
    TePos e = b;
    int32_t tail = txInsertFormatChange(&e, &endNow, &endBefore);
    txSetFormatUndo(startAbs, endAbs + tail);
    TePos s, t;
    tePosFromAbs(startAbs, &s);
    tePosFromAbs(endAbs, &t);
    teSetSelection(&s, &t);
    teSetCaretPos(caretAtStart ? &s : &t);
    if (teIsWrapped()) {
        MemHandle prev = teLinePrevInPara(s.line);
        teRewrapParas(prev ? prev : s.line, t.line);
    }
    TePos s2, t2;
    teGetSelection(&s2, &t2);
    order(&s2, &t2);
    if (s2.line)
        teMarkLinesChanged(s2.line, teParaLastLine(t2.line));
    teMarkModified(window);
    return 1;
}

int atCaret(HWND window, const CharFormat *oldFmt, const CharFormat *newFmt)
{
    std::string on = changeCodes(oldFmt, newFmt);
    if (on.empty())
        return 0;
    teNoteEditAtCaret();
    teRecordUndo(TE_UNDO_CODES_AT_CARET, 0);
    MemHandle line = teCaretLine();
    int32_t off = teCaretOffset();
    int32_t n = lineLen(line);
    // Text after the caret keeps its format; at the end of the text or of a
    // paragraph's last line nothing follows that needs it.
    BOOL follows = off < n || (teLineNext(line) && !teLineEndsPara(line));
    std::string codes = on;
    if (follows)
        codes += changeCodes(newFmt, oldFmt);
    if (teLineInsertStream(&line, off, codes.c_str()) <= 0)
        return 0;
    S().caretLine = line;
    S().caretOffset = off + (int32_t)on.size();
    teMeasureCaretLine();
    teSetFormat(newFmt, 2);
    teMarkRangeChanged(1);
    teMarkModified(window);
    return 1;
}

BOOL isWordChar(uint8_t c)
{
    return IsCharAlphaNumericA((CHAR)c) || c == '\'';
}

}  // namespace

int teApplyFormatChange(HWND window, const CharFormat *oldFmt, const CharFormat *newFmt,
                        int codeKind)
{
    if (!S().object || !teCaretLine() || !oldFmt || !newFmt)
        return 0;
    if (teHasSelection())
        return overSelection(window, oldFmt, newFmt, codeKind);
    return atCaret(window, oldFmt, newFmt);
}

int teToggleAttribute(HWND window, int command, BOOL on)
{
    CharFormat oldFmt, f;
    startFormat(&oldFmt);
    f = oldFmt;
    uint8_t v = on ? 1 : 0;
    int kind;
    switch (command) {
    case 456:
        f.superscript = v;
        if (on)
            f.subscript = 0;
        kind = 27;
        break;
    case 457:
        f.subscript = v;
        if (on)
            f.superscript = 0;
        kind = 27;
        break;
    case 459:
        f.lf.lfWeight = 400;
        f.lf.lfItalic = f.lf.lfUnderline = f.lf.lfStrikeOut = 0;
        f.subscript = f.superscript = f.inverse = 0;
        f.bkMode = 1;
        kind = 30;
        break;
    case 461: f.lf.lfItalic = v; kind = 3; break;
    case 462: f.lf.lfUnderline = v; kind = 5; break;
    case 463: f.lf.lfWeight = on ? 700 : 400; kind = 1; break;
    case 468: f.lf.lfStrikeOut = v; kind = 7; break;
    case 477: f.inverse = v; kind = 22; break;
    case 478: f.bkMode = on ? 2 : 1; kind = 24; break;
    default: return 0;   // 479 names no attribute
    }
    return teApplyFormatChange(window, &oldFmt, &f, kind);
}

int teFontCommand(HWND window)
{
    CharFormat oldFmt, f;
    startFormat(&oldFmt);
    f = oldFmt;
    COLORREF colour = oldFmt.foreColor;
    if (!txChooseFont(window, &f.lf, 0, &colour))
        return 0;
    f.foreColor = colour;
    return teApplyFormatChange(window, &oldFmt, &f, 29);
}

int teSizeCommand(HWND window)
{
    CharFormat oldFmt, f;
    startFormat(&oldFmt);
    f = oldFmt;
    int32_t height = oldFmt.lf.lfHeight;
    if (!txAskFontSize(window, oldFmt.lf.lfFaceName, &height))
        return 0;
    f.lf.lfHeight = height;
    return teApplyFormatChange(window, &oldFmt, &f, 13);
}

int teSpacingCommand(HWND window)
{
    CharFormat oldFmt, f;
    startFormat(&oldFmt);
    f = oldFmt;
    uint16_t value = oldFmt.charSpacing;
    if (!txAskCharSpacing(window, &value))
        return 0;
    f.charSpacing = value;
    return teApplyFormatChange(window, &oldFmt, &f, 180);
}

int teSetFaceByName(HWND window, const char *face)
{
    if (!face || !*face)
        return 0;
    CharFormat oldFmt, f;
    startFormat(&oldFmt);
    TePos a, b;
    BOOL several = teGetSelection(&a, &b) && teSelectionHasOtherFace(&a, &b);
    if (!several && lstrcmpiA(oldFmt.lf.lfFaceName, face) == 0)
        return 0;
    f = oldFmt;
    utStrCopyN(f.lf.lfFaceName, face, sizeof f.lf.lfFaceName);
    teHoldSuspend(TRUE);
    int done = teApplyFormatChange(window, &oldFmt, &f, 29);
    teHoldSuspend(FALSE);
    return done;
}

int teSetSizeByName(HWND window, const char *size)
{
    if (!size)
        return 0;
    double points = atof(size);
    int32_t twips = (int32_t)floor(points * 20 + 0.5);
    if (twips <= 0)
        return 0;
    CharFormat oldFmt, f;
    startFormat(&oldFmt);
    TePos a, b;
    BOOL several = teGetSelection(&a, &b) && teSelectionHasOtherSize(&a, &b);
    if (!several && oldFmt.lf.lfHeight == -twips)
        return 0;
    f = oldFmt;
    f.lf.lfHeight = -twips;
    teHoldSuspend(TRUE);
    int done = teApplyFormatChange(window, &oldFmt, &f, 29);
    teHoldSuspend(FALSE);
    return done;
}

int teChangeCase(HWND window, int command)
{
    if (command != 487 && command != 488 && command != 497)
        return 0;
    TePos a, b;
    if (!S().object || !teGetSelection(&a, &b))
        return 0;
    order(&a, &b);
    teNoteEditAtCaret();
    teRecordUndo(TE_UNDO_CASE, 0);
    // Title case needs the character before the range.
    BOOL wordStart = TRUE;
    if (a.offset > 0) {
        MemLock<TxLineRecord> r(a.line);
        const char *t = teLineText(r.get());
        int32_t p = txPrevUnit(t, a.offset);
        wordStart = p < 0 || B(t, p) == TX_ESC || !isWordChar(B(t, p));
    }
    uint32_t codePage = S().caretFormat.codePage;
    for (MemHandle l = a.line; l; l = teLineNext(l)) {
        {
            MemLock<TxLineRecord> r(l);
            char *t = teLineText(r.get());
            int32_t n = teLineInfo(r.get())->n;
            int32_t i = l == a.line ? a.offset : 0;
            int32_t end = l == b.line ? b.offset : n;
            if (end > n)
                end = n;
            while (i < end) {
                uint8_t c = B(t, i);
                if (c == TX_ESC) {
                    int32_t u = txCodeUnitSize(t + i);
                    i += u > 0 ? u : 1;
                    continue;
                }
                if (c == TX_GS) {
                    int32_t u = txObjectSize(t + i);
                    i += u > 0 ? u : 1;
                    wordStart = TRUE;
                    continue;
                }
                if (txIsDBCSLead(codePage, t + i) && i + 1 < end) {
                    i += 2;
                    wordStart = TRUE;
                    continue;
                }
                BOOL upper = command == 487 || (command == 497 && wordStart);
                if (IsCharAlphaA((CHAR)c)) {
                    char one[2] = {(char)c, 0};
                    if (upper)
                        CharUpperBuffA(one, 1);
                    else
                        CharLowerBuffA(one, 1);
                    t[i] = one[0];
                }
                wordStart = !isWordChar(c);
                ++i;
            }
        }
        if (l == b.line)
            break;
    }
    MemHandle first = teParaFirstLine(a.line);
    if (teIsWrapped())
        teRewrapParas(first, b.line);
    else
        teMeasureLines(a.line, nullptr, b.line);
    TePos s, e;
    if (teGetSelection(&s, &e)) {
        order(&s, &e);
        teMarkLinesChanged(s.line, teParaLastLine(e.line));
    }
    teMarkModified(window);
    return 1;
}

int teObjectColour(HWND window, int command)
{
    static const char *const kCaptions[] = {"Object Foreground", "Object Background",
                                            "Object Frame"};
    if (command < 350 || command > 352 || !S().object)
        return 0;
    teRecordUndo(TE_UNDO_OBJECT_HEAD, 0);
    COLORREF colour = 0;
    {
        ObLock rec(S().object);
        if (!rec)
            return 0;
        colour = command == 350 ? rec->penColour
                 : command == 351 ? rec->backColour : rec->fillColour;
    }
    if (!clrChooseColor(window, kCaptions[command - 350], &colour)) {
        teDropUndo(window, TRUE);
        return 0;
    }
    {
        ObLock rec(S().object);
        if (!rec)
            return 0;
        if (command == 350)
            rec->penColour = colour;
        else if (command == 351)
            rec->backColour = colour;
        else
            rec->fillColour = colour;
    }
    teMarkRangeChanged(10);
    teMarkModified(window);
    return 1;
}
