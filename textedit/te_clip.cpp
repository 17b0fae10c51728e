// The text clipboard: the "QM32Text" format beside CF_TEXT, the bounded
// readers of clipboard data, and what a whole text object puts there.
#include "textedit/te_clip.h"
#include "textedit/te_session.h"
#include "textedit/te_caret.h"
#include "textedit/te_commands.h"
#include "textedit/te_display.h"
#include "textedit/te_select.h"
#include "textedit/te_undo.h"
#include "support/dlg_spacing.h"
#include "resources/resource.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "text/tx_flow.h"
#include "text/tx_format.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include <string>

namespace {

UINT g_textFormat = 0;

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

// A global movable block holding n bytes and a terminator.
HGLOBAL globalFromBytes(const char *bytes, size_t n)
{
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, n + 1);
    if (!g)
        return nullptr;
    char *p = (char *)GlobalLock(g);
    if (!p) {
        GlobalFree(g);
        return nullptr;
    }
    memcpy(p, bytes, n);
    p[n] = 0;
    GlobalUnlock(g);
    return g;
}

// Hands a block to the open clipboard; the block is freed when refused.
BOOL putData(UINT format, HGLOBAL g)
{
    if (!g)
        return FALSE;
    if (!SetClipboardData(format, g)) {
        GlobalFree(g);
        return FALSE;
    }
    return TRUE;
}

// Copies a global block's bytes (never past its size) for a bounded reader.
std::string globalBytes(HANDLE data)
{
    std::string out;
    if (!data)
        return out;
    SIZE_T size = GlobalSize(data);
    const char *p = (const char *)GlobalLock(data);
    if (!p)
        return out;
    if (size > 0x7fffffff)
        size = 0x7fffffff;
    out.assign(p, (size_t)size);
    GlobalUnlock(data);
    return out;
}

}  // namespace

UINT teRegisterClipFormat()
{
    if (!g_textFormat) {
        g_textFormat = RegisterClipboardFormatA("QM32Text");
        if (!g_textFormat)
            utErrorBoxId(nullptr, IDS_TE_CLIP_REGISTER);
    }
    return g_textFormat;
}

BOOL teCanPaste()
{
    if (IsClipboardFormatAvailable(CF_TEXT))
        return TRUE;
    if (teIsPlainText())
        return FALSE;
    UINT format = teRegisterClipFormat();
    return format && IsClipboardFormatAvailable(format);
}

// ---- data made for a copy ----------------------------------------------------------------------

HGLOBAL teMakeClipStream(const char *stream, const CharFormat *fmt)
{
    if (!stream)
        return nullptr;
    std::string out;
    if (fmt) {
        out.resize((size_t)txEncodeFormatSize(fmt) + 1);
        out.resize((size_t)txEncodeFormat(&out[0], fmt));
    }
    out.append(stream, (size_t)txstrlen(stream));
    MemHandle h = utHandleFromBytes(out.c_str(), (uint32_t)out.size() + 1);
    if (!h)
        return nullptr;
    // A hyperlink left open at the end of the range is closed in the copy.
    h = txCloseHyperlinks(h);
    HGLOBAL g = nullptr;
    {
        MemLock<char> p(h);
        if (p)
            g = globalFromBytes(p.get(), (size_t)txstrlen(p.get()));
    }
    utFreeHandle(h);
    return g;
}

HGLOBAL teMakeClipText(const char *stream)
{
    if (!stream)
        return nullptr;
    std::string out;
    for (int32_t i = 0; B(stream, i);) {
        uint8_t b = B(stream, i);
        if (b == TX_ESC || b == TX_GS) {
            int32_t n = b == TX_ESC ? txCodeUnitSize(stream + i) : txObjectSize(stream + i);
            i += n > 0 ? n : 1;
            continue;
        }
        ++i;
        if (b == TX_SEOL || b == TX_INDENT || b == 6)
            continue;   // a wrapped line joins the next without a separator
        out.push_back((char)b);
        if (b == TX_RETURN)
            out.push_back('\n');
    }
    return globalFromBytes(out.data(), out.size());
}

int teCopyObjectText(MemHandle object)
{
    if (!object)
        return 0;
    int placed = 0;
    MemHandle stream = txCopyStream(object);
    BOOL hasText = FALSE;
    {
        MemLock<char> p(stream);
        hasText = p && p[0] != 0;
    }
    if (hasText) {
        UINT format = teRegisterClipFormat();
        CharFormat fmt;
        if (format && txGetCharFormat(object, &fmt)) {
            // The clipboard's copy carries no layout: the receiver lays it out.
            MemLock<char> p(stream);
            txStripLayoutCodes(p.get());
            if (putData(format, teMakeClipStream(p.get(), &fmt)))
                placed = 1;
        }
        MemLock<char> p(stream);
        if (putData(CF_TEXT, teMakeClipText(p.get())))
            placed = 1;
    }
    utFreeHandle(stream);
    return placed;
}

// ---- bounded readers ----------------------------------------------------------------------------

MemHandle teClipTextFromBytes(const char *bytes, uint32_t size)
{
    if (!bytes)
        return 0;
    std::string out;
    for (uint32_t i = 0; i < size && bytes[i]; ++i) {
        uint8_t b = (uint8_t)bytes[i];
        if (b == '\r' || b == '\n') {
            out.push_back('\r');
            if (b == '\r' && i + 1 < size && bytes[i + 1] == '\n')
                ++i;
            continue;
        }
        out.push_back(b < 32 && b != '\t' ? ' ' : (char)b);
    }
    if (out.empty())
        return 0;
    return utHandleFromBytes(out.c_str(), (uint32_t)out.size() + 1);
}

MemHandle teClipStreamFromBytes(const char *bytes, uint32_t size)
{
    const int32_t length = bytes ? txCheckStreamBounded(bytes, size) : -1;
    if (length < 0) {
        teBeep();
        return 0;
    }
    MemHandle h = utHandleFromBytes(bytes, (uint32_t)length + 1);
    if (!h)
        return 0;
    BOOL empty;
    {
        MemLock<char> p(h);
        txStripLayoutCodes(p.get());
        empty = p[0] == 0;
    }
    return empty ? utFreeHandle(h) : h;
}

MemHandle teClipReadText(HANDLE data)
{
    std::string bytes = globalBytes(data);
    return teClipTextFromBytes(bytes.data(), (uint32_t)bytes.size());
}

MemHandle teClipReadStream(HANDLE data)
{
    std::string bytes = globalBytes(data);
    return teClipStreamFromBytes(bytes.data(), (uint32_t)bytes.size());
}

// ---- first line --------------------------------------------------------------------------------

int32_t teKeepFirstLine(char *stream)
{
    if (!stream)
        return 0;
    char *end = txstrpbrk(stream, "\r\n");
    if (end)
        *end = 0;
    return txstrlen(stream);
}

// ---- the editor's copy and paste ----------------------------------------------------------------

namespace {

TePos g_pasteStart = {0, 0}, g_pasteEnd = {0, 0};
uint16_t g_pasteMessage = 0;

// Formatted text pasted into vertical text: horizontal faces go, and every
// escapement and orientation turns to 2700. A new handle, 0 when nothing
// needed changing.
MemHandle verticalCopy(const char *s)
{
    std::string out;
    BOOL changed = FALSE;
    for (int32_t i = 0; B(s, i);) {
        const int32_t next = txUnitEnd(s, i);
        const int code = txCodeNumber(s + i);
        if (code == TXC_FACE) {
            const char *face = (const char *)txPayload(s + i);
            if (face[0] != '@') {
                changed = TRUE;
                i = next;
                continue;
            }
        } else if (code == TXC_ESCAPEMENT || code == TXC_ORIENTATION) {
            char unit[16];
            const int32_t n = txMakeWordCode(unit, code, 2700);
            if (n != next - i || memcmp(unit, s + i, (size_t)n) != 0)
                changed = TRUE;
            out.append(unit, (size_t)n);
            i = next;
            continue;
        }
        out.append(s + i, (size_t)(next - i));
        i = next;
    }
    if (!changed)
        return 0;
    return utHandleFromBytes(out.c_str(), (uint32_t)out.size() + 1);
}

HGLOBAL globalFromHandle(MemHandle h)
{
    MemLock<char> p(h);
    return p ? globalFromBytes(p.get(), strlen(p.get())) : nullptr;
}

}  // namespace

uint16_t teGetPasteMessage() { return g_pasteMessage; }

void teGetPasteRange(TePos *start, TePos *end)
{
    if (start)
        *start = g_pasteStart;
    if (end)
        *end = g_pasteEnd;
}

int teCopy(HWND window)
{
    MemHandle stream = teSelectedText();
    if (!OpenClipboard(window)) {
        utFreeHandle(stream);
        return 0;
    }
    EmptyClipboard();
    int placed = 0;
    TePos a, b;
    if (stream && teGetSelection(&a, &b)) {
        if (tePosCompare(&b, &a) < 0) {
            TePos t = a;
            a = b;
            b = t;
        }
        CharFormat fmt;
        teFormatAtPos(&a, &fmt);
        if (UINT format = teRegisterClipFormat()) {
            MemLock<char> p(stream);
            putData(format, teMakeClipStream(p.get(), &fmt));
        }
        MemHandle text = teRangeToText(&a, &b);
        putData(CF_TEXT, text ? globalFromHandle(text) : globalFromBytes("", 0));
        utFreeHandle(text);
        placed = 1;
    }
    utFreeHandle(stream);
    CloseClipboard();
    return placed;
}

int tePaste(HWND window, MemHandle stream, BOOL formatted)
{
    g_pasteMessage = 0;
    if (!stream)
        return 0;
    MemHandle line = teCaretLine();
    const int32_t index = teLineIndex(line);
    teRecordUndo(TE_UNDO_WHOLE, 0);

    CharFormat fmt;
    TePos a, b;
    if (teGetSelection(&a, &b)) {
        if (tePosCompare(&b, &a) < 0)
            a = b;
        teFormatAtPos(&a, &fmt);
        teNoteEditAtCaret();
        teDeleteSelection(window);
        teMarkModified(window);
    } else {
        TePos caret;
        teGetCaretPos(&caret);
        teFormatAtPos(&caret, &fmt);
    }

    std::string text;
    {
        MemLock<char> p(stream);
        if (!p)
            return 0;
        text.assign(p.get(), (size_t)txstrlen(p.get()));
    }
    if (formatted && !teIsPlainText()) {
        // The text after the insertion keeps the format it had.
        std::string tail((size_t)txEncodeFormatSize(&fmt) + 1, '\0');
        tail.resize((size_t)txEncodeFormat(&tail[0], &fmt));
        text += tail;
    }
    text.push_back('\0');
    if (!(teGetTextFlags() & TXF_WRAP_LOW))
        text.resize((size_t)teKeepFirstLine(&text[0]) + 1);

    teGetCaretPos(&g_pasteStart);
    teInsertStreamAtCaret(window, text.c_str(), &fmt);
    teGetCaretPos(&g_pasteEnd);

    // Fit check: the lines against the text area, then against the page.
    const int32_t depth = teDepthFrom(teGetFirstLine());
    if (!teIsFrameBound() && teLineCount() > 1) {
        RECT frame;
        teGetFrame(&frame);
        const int32_t room = teIsVertical() ? frame.right - frame.left : frame.bottom - frame.top;
        if (depth - room > 80)
            g_pasteMessage = 1;
    }
    if (!g_pasteMessage && teGetMaxHeight() >= 1 && depth > teGetMaxHeight())
        g_pasteMessage = 2;
    if (g_pasteMessage) {
        teUndo(window);
        utMessageBox(window,
                     g_pasteMessage == 1
                         ? "Can not paste because text is too long for the text area."
                         : "The pasted text is too long to fit into the page.  Paste will be "
                           "cancelled",
                     MB_ICONINFORMATION);
        teMarkRangeChanged(10);
        return 0;
    }
    teMarkModified(window);
    MemHandle from = teLineAt(index >= 0 ? index : 0);
    teMarkLinesChanged(from ? from : teGetFirstLine(), teGetLastLine());
    teAddChangedFromLine(from ? from : teGetFirstLine());
    return 1;
}

int tePasteHandle(HWND window, MemHandle stream)
{
    const int done = tePaste(window, stream, FALSE);
    utFreeHandle(stream);
    return done;
}

int tePasteClipboard(HWND window)
{
    if (!teCanPaste())
        return 0;
    if (!OpenClipboard(window))
        return 0;
    MemHandle h = 0;
    BOOL formatted = FALSE;
    BOOL refused = FALSE;
    if (!teIsPlainText()) {
        UINT format = teRegisterClipFormat();
        HANDLE data = format ? GetClipboardData(format) : nullptr;
        if (data) {
            h = teClipReadStream(data);
            formatted = TRUE;
            refused = h == 0;
        }
    }
    if (!h && !refused) {
        if (HANDLE data = GetClipboardData(CF_TEXT))
            h = teClipReadText(data);
        formatted = FALSE;
    }
    // A stream refused as damaged, or a paste cancelled, is still the
    // editor's: the command must not go on to the object paste.
    int done = refused ? -1 : 0;
    if (h) {
        if (formatted && teIsVertical()) {
            MemHandle fixed;
            {
                MemLock<char> p(h);
                fixed = verticalCopy(p.get());
            }
            if (fixed) {
                utFreeHandle(h);
                h = fixed;
            }
        }
        done = tePaste(window, h, formatted) ? 1 : -1;
        utFreeHandle(h);
    }
    CloseClipboard();
    return done;
}

// ---- paragraph codes -----------------------------------------------------------------------------

int teApplyParagraphCodeKind(HWND window, int code, int32_t value)
{
    TePos start, end;
    if (teGetSelection(&start, &end)) {
        if (tePosCompare(&end, &start) < 0) {
            TePos t = start;
            start = end;
            end = t;
        }
        start = {teParaFirstLine(start.line), 0};
        MemHandle last = teParaLastLine(end.line);
        end = {last, teLineLength(last)};
    } else if (!teParaRange(teCaretLine(), &start, &end)) {
        return 0;
    }
    CharFormat fmt;
    teFormatAtPos(&start, &fmt);
    if (code == TXC_ALIGN)
        fmt.align = (uint16_t)value;
    else
        fmt.spacing = (uint8_t)value;
    teNoteBeforeChange(start.line);
    const int done = teApplyCodeToRange(window, &start, &end, code, value, &fmt);
    if (done) {
        teMarkLinesChanged(start.line, end.line);
        teMarkModified(window);
    }
    return done;
}

int teApplyParagraphCode(HWND window, int32_t value)
{
    return teApplyParagraphCodeKind(window, TXC_ALIGN, value);
}

int teLineSpacingCommand(HWND window)
{
    CharFormat fmt;
    TePos start, end;
    if (teGetSelection(&start, &end)) {
        if (tePosCompare(&end, &start) < 0)
            start = end;
        start = {teParaFirstLine(start.line), 0};
    } else {
        start = {teParaFirstLine(teCaretLine()), 0};
    }
    teFormatAtPos(&start, &fmt);
    uint8_t spacing = fmt.spacing ? fmt.spacing : 4;
    if (!dlgLineSpacing(window, &spacing))
        return 0;
    return teApplyParagraphCodeKind(window, TXC_SPACING, spacing);
}
