// The text edit session record: lifetime, the DC, parking in the workspace,
// the object and its formats, and the field accessors.
#include "textedit/te_session.h"
#include "textedit/te_lines.h"
#include "textedit/te_caret.h"
#include "textedit/te_clip.h"
#include "textedit/te_commands.h"
#include "textedit/te_display.h"
#include "textedit/te_select.h"
#include "app/mb_msgbar.h"
#include "app/app_toolbars.h"
#include "controls/pal_window.h"
#include "model/ob_record.h"
#include "model/pg_record.h"
#include "support/ut_mem.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include "tools/ep_standins.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_ruler_tabs.h"

namespace {

TextEditSession g_session;
BOOL g_caretTrace = FALSE;
int32_t g_beeps = 0;

TextEditSession &S() { return g_session; }

}  // namespace

TextEditSession *teSession() { return &g_session; }

// ---- lifetime -------------------------------------------------------------------------------

void teInitEditor(HWND frame)
{
    teResetSession(frame);
    teRegisterClipFormat();
}

void teResetSession(HWND window)
{
    memset(&g_session, 0, sizeof g_session);
    S().size = sizeof g_session;
    S().id = 1023;
    S().savedSelStart = S().savedSelEnd = S().savedCaret = -1;
    S().window = qmHandleToU32(window);
}

void teFreeSessionResources(HWND)
{
    S().undoData = utFreeHandle(S().undoData);
    S().undoKind = 0;
    S().savedColumns = utFreeHandle(S().savedColumns);
    S().savedProc = 0;
    teClearComposition();
}

BOOL teAcquireDC(HWND window)
{
    teReleaseDC();
    S().window = qmHandleToU32(window);
    HDC dc = wsGetDC(window);
    S().dc = qmHandleToU32(dc);
    MemHandle object = S().object;
    if (object) {
        RECT frame;
        if (txGetTextRect(object, &frame))
            S().frame = frame;
    }
    if (dc)
        SetBkMode(dc, TRANSPARENT);
    if (object) {
        COLORREF back = 0xFFFFFF;
        uint8_t bkMode = 0;
        uint8_t spacing = 4;
        {
            TextHeader *h = txLockHeader(object);
            if (h) {
                bkMode = h->bkMode;
                spacing = h->spacing ? h->spacing : 4;
                utUnlock(object);
            }
        }
        if (bkMode == 2) {
            MemLock<ObjectRecord> rec(object);
            if (rec)
                back = rec->backColour;
        } else {
            MemHandle page = window ? pvGetCurrentPage(window) : 0;
            back = page ? pgGetColour(page) : 0xFFFFFF;
        }
        S().bkBrush = qmHandleToU32(CreateSolidBrush(back));
        if (dc) {
            int32_t lineHeight = 0;
            if (txGetFontMetrics(dc, &S().baseFormat, spacing, nullptr, nullptr, nullptr,
                                 &lineHeight, nullptr))
                S().lineExtent = lineHeight;
        }
    }
    return teIsVertical();
}

HDC teGetDC()
{
    if (!S().dc && S().window)
        teAcquireDC(qmU32ToHandle<HWND>(S().window));
    return qmU32ToHandle<HDC>(S().dc);
}

void teReleaseDC()
{
    if (S().dc) {
        ReleaseDC(qmU32ToHandle<HWND>(S().window), qmU32ToHandle<HDC>(S().dc));
        S().dc = 0;
    }
    if (S().bkBrush) {
        DeleteObject(qmU32ToHandle<HBRUSH>(S().bkBrush));
        S().bkBrush = 0;
    }
}

void teSaveToWorkspace(HWND window)
{
    if (S().noSaveOnSuspend)
        return;
    MemHandle copy = utHandleFromBytes(&g_session, sizeof g_session);
    if (copy)
        wsSetSavedSession(window, copy);
}

// While a change typed into the message bar's font boxes runs, the edit
// window may lose the focus to that box; the session stays live meanwhile so
// the change lands on the lines being edited, not on a parked copy.
static int g_suspendHold;

void teHoldSuspend(BOOL hold)
{
    if (hold)
        ++g_suspendHold;
    else if (g_suspendHold > 0)
        --g_suspendHold;
}

void teSuspendSession(HWND window)
{
    if (g_suspendHold)
        return;
    teDestroyCaret();
    teReleaseDC();
    teSaveToWorkspace(window);
    if (GetFocus() == window)
        wsKeepViewMapping(window);
}

// Copies the parked record over the live one and empties the slot.
static BOOL reloadParked(HWND window)
{
    MemHandle parked = wsGetSavedSession(window);
    if (!parked)
        return FALSE;
    {
        MemLock<TextEditSession> p(parked);
        if (p && utHandleSize(parked) >= sizeof g_session)
            memcpy(&g_session, p.get(), sizeof g_session);
    }
    // The live record keeps what the copy names; only the copy goes.
    wsSetSavedSession(window, 0);
    S().dc = 0;
    S().bkBrush = 0;
    S().caretCreated = 0;
    return TRUE;
}

void teRestoreSession(HWND window)
{
    wsApplyViewMapping(window);
    reloadParked(window);
    teAcquireDC(window);
    teCreateCaret(window);
    teUpdateClipboardButtons(teHasSelection());
}

void teSetSessionActive(HWND window, BOOL active)
{
    if (active) {
        wsApplyViewMapping(window);
        reloadParked(window);
        teAcquireDC(window);
    } else {
        teReleaseDC();
        teSaveToWorkspace(window);
    }
}

void teSetNoSaveOnSuspend(HWND, BOOL allow) { S().noSaveOnSuspend = allow ? 0 : 1; }
BOOL teGetNoSaveOnSuspend() { return S().noSaveOnSuspend; }

// ---- object, flags and formats ---------------------------------------------------------------

void teSetTextObject(MemHandle object)
{
    S().object = object;
    if (!object)
        return;
    TextHeader *h = txLockHeader(object);
    if (h) {
        S().textFlags = h->flags;
        utUnlock(object);
    }
}

MemHandle teGetTextObject() { return S().object; }

void teSetFormat(const CharFormat *fmt, int slot)
{
    if (!fmt)
        return;
    if (slot == 0) {
        S().baseFormat = *fmt;
    } else if (slot == 2) {
        BOOL changed = FALSE;
        if (fmt->foreColor != S().caretFormat.foreColor) {
            clrSetForeColor(fmt->foreColor);
            changed = TRUE;
        }
        if (fmt->backColor != S().caretFormat.backColor) {
            clrSetBackColor(fmt->backColor);
            changed = TRUE;
        }
        if (changed)
            clrDrawIndicator(nullptr);
        S().caretFormat = *fmt;
        mbShowFont(&fmt->lf);
    }
}

void teGetFormat(CharFormat *out, int slot)
{
    if (!out)
        return;
    if (slot == 0)
        *out = S().baseFormat;
    else if (slot == 2)
        *out = S().caretFormat;
}

void teMarkModified(HWND window)
{
    S().modified = 1;
    wsMarkModified(window);
}

int teSetAlignment(HWND window, uint16_t align)
{
    MemHandle object = S().object;
    if (!object)
        return 0;
    TextHeader *h = txLockHeader(object);
    if (h) {
        h->align = align;
        utUnlock(object);
    }
    S().baseFormat.align = align;
    TePos start = {S().firstLine, 0};
    TePos end = {S().lastLine, teLineLength(S().lastLine)};
    teApplyCodeToRange(window, &start, &end, TXC_ALIGN, align, &S().baseFormat);
    if (window)
        teInvalidateText(window, TRUE);
    return 1;
}

void teClearModified() { S().modified = 0; }
BOOL teIsModified() { return S().modified ? TRUE : FALSE; }

uint32_t teGetTextFlags() { return S().textFlags; }
BOOL teIsVertical() { return (S().textFlags & TXF_VERTICAL) ? TRUE : FALSE; }
BOOL teIsRightToLeft() { return (S().textFlags & TXF_RTL) ? TRUE : FALSE; }
BOOL teIsSingleLine() { return (S().textFlags & TXF_SINGLE_LINE) ? TRUE : FALSE; }
BOOL teIsWrapped()
{
    return (S().textFlags & (TXF_WRAP | TXF_WRAP_LOW)) == (TXF_WRAP | TXF_WRAP_LOW);
}
BOOL teIsPlainText() { return (S().textFlags & TXF_PLAIN) ? TRUE : FALSE; }
BOOL teIsClipToFrame() { return (S().textFlags & TXF_EDIT_OPT2) ? TRUE : FALSE; }
BOOL teIsFlag1000() { return (S().textFlags & TXF_EDIT_OPT1) ? TRUE : FALSE; }
BOOL teIsWrapLow() { return (S().textFlags & TXF_WRAP_LOW) ? TRUE : FALSE; }
BOOL teIsFrameBound() { return (S().textFlags & (TXF_FRAME_BOUND | TXF_FRAME_BOUND2)) == 0; }

// ---- fields ----------------------------------------------------------------------------------

HWND teGetWindow() { return qmU32ToHandle<HWND>(S().window); }
void teSetSavedProc(uint32_t token) { S().savedProc = token; }
uint32_t teGetSavedProc(HWND window)
{
    return window && qmHandleToU32(window) == S().window ? S().savedProc : 0;
}
uint16_t teExchangeDragFlag(uint16_t on)
{
    uint16_t old = S().dragFlag;
    S().dragFlag = on;
    return old;
}
uint16_t teGetDragFlag() { return S().dragFlag; }
void teSetOwnerCommand(uint16_t id) { S().ownerCommand = id; }
uint16_t teGetOwnerCommand() { return S().ownerCommand; }
void teSetRedrawAtEnd(BOOL on) { S().redrawAtEnd = on ? 1 : 0; }
BOOL teGetRedrawAtEnd() { return S().redrawAtEnd; }
void teSetSavedColumns(MemHandle h) { S().savedColumns = h; }
MemHandle teGetSavedColumns() { return S().savedColumns; }
void teSetKeepEmpty(BOOL on) { S().keepEmpty = on ? 1 : 0; }
BOOL teGetKeepEmpty() { return S().keepEmpty; }
void teSetMaxLength(int32_t n) { S().maxLength = n; }
int32_t teGetMaxLength() { return S().maxLength; }
void teSetMaxHeight(int32_t n) { S().maxHeight = n; }
int32_t teGetMaxHeight() { return S().maxHeight; }
void teSetInsertMode(BOOL on) { S().insertMode = on ? 1 : 0; }
BOOL teGetInsertMode() { return S().insertMode; }
void teSetPassOn(BOOL on) { S().passOn = on ? 1 : 0; }
BOOL teGetPassOn() { return S().passOn; }
HBRUSH teGetBkBrush() { return qmU32ToHandle<HBRUSH>(S().bkBrush); }
void teStoreFrame(const RECT *r)
{
    if (r)
        S().frame = *r;
}
void teGetFrame(RECT *out)
{
    if (out)
        *out = S().frame;
}
int32_t teGetFrameTop() { return S().frame.top; }
int32_t teGetFrameWidth() { return S().frame.right - S().frame.left; }
int32_t teGetFrameExtent()
{
    return teIsVertical() ? S().frame.bottom - S().frame.top : S().frame.right - S().frame.left;
}
void teGetCaretBand(RECT *out)
{
    if (!out)
        return;
    *out = S().frame;
    if (teIsVertical())
        out->left = S().caretLineLeft;
    else
        out->top = S().caretLineTop;
}
int32_t teGetCaretLineTop() { return S().caretLineTop; }
int32_t teGetCaretLineLeft() { return S().caretLineLeft; }
void teUpdateCaretLinePos()
{
    if (teIsVertical())
        S().caretLineLeft = teLineLeft(S().caretLine);
    else
        S().caretLineTop = teLineTop(S().caretLine);
}
int32_t teGetCaretWidth() { return S().caretWidth; }
int32_t teGetCaretHeight() { return S().caretHeight; }
int32_t teGetLineExtent() { return S().lineExtent; }
void teSetFirstLine(MemHandle line) { S().firstLine = line; }
MemHandle teGetFirstLine() { return S().firstLine; }
void teSetLastLine(MemHandle line) { S().lastLine = line; }
MemHandle teGetLastLine() { return S().lastLine; }
void teSetTabTable(MemHandle h) { S().tabTable = h; }
MemHandle teGetTabTable() { return S().tabTable; }
void teSetTabCount(uint32_t n) { S().tabCount = n; }
uint32_t teGetTabCount() { return S().tabCount; }
void teSetTabSpacing(uint32_t n) { S().tabSpacing = n; }
uint32_t teGetTabSpacing() { return S().tabSpacing; }
void teSetTabsOnRuler(BOOL on) { S().tabsOnRuler = on ? 1 : 0; }
BOOL teGetTabsOnRuler() { return S().tabsOnRuler; }
const int32_t *teLockTabs()
{
    return S().tabTable ? static_cast<const int32_t *>(utLock(S().tabTable)) : nullptr;
}
void teUnlockTabs()
{
    if (S().tabTable)
        utUnlock(S().tabTable);
}
void teFreeTabs()
{
    S().tabTable = utFreeHandle(S().tabTable);
    S().tabCount = 0;
    S().tabSpacing = 0;
    HWND ws = teGetWindow();
    wsShowRulerTabs(ws, 1, FALSE);
    wsShowRulerTabs(ws, 2, FALSE);
}
void teSetOption(uint32_t bit, BOOL on)
{
    if (on)
        S().optionBits |= bit;
    else
        S().optionBits &= ~bit;
}
BOOL teTestOption(uint32_t bit) { return (S().optionBits & bit) ? TRUE : FALSE; }
void teSetCaretTrace(BOOL on) { g_caretTrace = on ? TRUE : FALSE; }
BOOL teGetCaretTrace() { return g_caretTrace; }
void teSetUndoKind(uint16_t kind) { S().undoKind = kind; }
uint16_t teGetUndoKind() { return S().undoKind; }
void teSetUndoData(MemHandle h) { S().undoData = h; }
MemHandle teGetUndoData() { return S().undoData; }
void teSetUndoSuspended(BOOL on) { S().undoSuspended = on ? 1 : 0; }
BOOL teGetUndoSuspended() { return S().undoSuspended; }
void teSetSavedSelection(int32_t start, int32_t end, int32_t caret)
{
    S().savedSelStart = start;
    S().savedSelEnd = end;
    S().savedCaret = caret;
}
void teGetSavedSelection(int32_t *start, int32_t *end, int32_t *caret)
{
    if (start)
        *start = S().savedSelStart;
    if (end)
        *end = S().savedSelEnd;
    if (caret)
        *caret = S().savedCaret;
}

// ---- composition state ------------------------------------------------------------------------

void teBeginComposition()
{
    teClearComposition();
    S().composing = 1;
    teDestroyCaret();
}

void teClearComposition()
{
    S().compString = utFreeHandle(S().compString);
    S().compClauses = utFreeHandle(S().compClauses);
    S().compClauseCount = 0;
    S().composing = 0;
    S().compValues[0] = S().compValues[1] = S().compValues[2] = 0;
}

uint32_t teGetCompValue(int i) { return i >= 0 && i < 3 ? S().compValues[i] : 0; }
void teSetCompValue(int i, uint32_t v)
{
    if (i >= 0 && i < 3)
        S().compValues[i] = v;
}
BOOL teIsComposing() { return S().composing ? TRUE : FALSE; }
uint32_t teGetClauseCount() { return S().compClauseCount; }
MemHandle teGetCompString() { return S().compString; }

BOOL teAppendClause(uint32_t a, uint32_t b)
{
    uint32_t pair[2] = {a, b};
    MemHandle h = utPutBytes(S().compClauses, S().compClauseCount * 8, pair, 8);
    if (!h)
        return FALSE;
    S().compClauses = h;
    S().compClauseCount++;
    return TRUE;
}

BOOL teReplaceCompString(MemHandle h)
{
    if (S().compString && h) {
        MemLock<char> a(S().compString), b(h);
        if (a && b && strcmp(a.get(), b.get()) == 0)
            return FALSE;
    }
    if (S().compString && S().compString != h)
        utFreeHandle(S().compString);
    S().compString = h;
    return TRUE;
}

// ---- buttons and beeps -------------------------------------------------------------------------

void teUpdateClipboardButtons(BOOL haveSelection)
{
    appSetClipboardButtons(haveSelection, haveSelection, teCanPaste());
}

void teBeep()
{
    g_beeps++;
    MessageBeep(0);
}

int32_t teGetBeepCount() { return g_beeps; }
