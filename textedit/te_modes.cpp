// Text editing as a tool mode of the workspace: starting and ending the
// edit of a text object (mode 20) and of a Label (mode 19), the two mode
// procedures, the editor's commands and keys, and the edit popup.
#include "textedit/te_modes.h"
#include "textedit/te_caret.h"
#include "textedit/te_clip.h"
#include "textedit/te_commands.h"
#include "textedit/te_display.h"
#include "textedit/te_find.h"
#include "textedit/te_lines.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include "textedit/te_tabs.h"
#include "textedit/te_undo.h"
#include "textedit/sp_check.h"
#include "textedit/sp_frame.h"
#include "textedit/te_hyper.h"
#include "support/app_frame_globals.h"
#include "app/app_menu_state.h"
#include "app/ws_services.h"
#include "commands/app_stdbar.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "controls/btnlist.h"
#include "controls/pal_window.h"
#include "app/app_frame_bars.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "support/ut_datepick.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_datawin.h"
#include "support/win_menu.h"
#include "text/tx_columns.h"
#include "text/tx_curve.h"
#include "text/tx_flow.h"
#include "text/tx_header.h"
#include "text/tx_label.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include "tools/ep_align.h"
#include "tools/ep_selection.h"
#include "model/ws_document.h"
#include "app/app_menu_editor.h"
#include "textedit/te_edit_standins.h"
#include "views/ws_record.h"
#include "views/ws_relink.h"
#include "views/ws_ruler_tabs.h"
#include "views/ws_tools.h"
#include <string>
#include <vector>

namespace {

// The Label of mode 19 and its undo state.
MemHandle g_label = 0;
uint16_t g_labelUndoKind = 0;
uint16_t g_labelUndoAlign = 0;
MemHandle g_labelUndoRecord = 0;

const int32_t kTeHandleSize = 120;   // twips around the lines refreshed at the end

BOOL keyDown(int vk) { return (GetKeyState(vk) & 0x8000) ? TRUE : FALSE; }

void clearLabelUndo()
{
    g_labelUndoKind = 0;
    g_labelUndoAlign = 0;
    g_labelUndoRecord = utFreeHandle(g_labelUndoRecord);
}

// The edit frame of the session, invalidated in the workspace.
void invalidateFrame(HWND ws)
{
    if (!ws)
        return;
    RECT frame;
    teGetFrame(&frame);
    wsApplyViewMapping(ws);
    dmInvalidateLogRect(ws, &frame, TRUE);
}

void invalidateObject(HWND ws, MemHandle object)
{
    if (ws && object) {
        wsApplyViewMapping(ws);
        obInvalidate(ws, object);
    }
}

// The sum of the heights that a laid-out stream's line information gives.
int32_t storedDepth(const char *s)
{
    int32_t depth = 0;
    for (int32_t i = 0; s && s[i];) {
        if (txIsLineInfo(s + i)) {
            TxLineInfo li;
            memcpy(&li, s + i + 3, sizeof li);
            depth += li.H;
        }
        i = txUnitEnd(s, i);
    }
    return depth;
}

// After a command or key that changed the text: caret into view, repaint.
void afterChange(HWND window)
{
    teScrollCaretIntoView(window);
    teRepaintAfterCommand(window);
    tePlaceCaret(window);
}

int16_t alignFromCommand(int id)
{
    switch (id) {
    case 420: case 464: return 0;
    case 421: case 466: return 2;
    case 424: case 465: return 1;
    case 422: return 4;
    case 423: return 8;
    case 426: return 16;
    case 425: case 483: return 256;
    default: return -1;
    }
}

// A new alignment word: the command's part replaced in the old word.
uint16_t mergeAlign(uint16_t old, int16_t part)
{
    if (part == 4 || part == 8 || part == 16)
        return (uint16_t)((old & ~0x1c) | part);
    return (uint16_t)((old & 0x1c) | part);
}

// The alignment of the whole edited text, without an undo step (Label undo
// puts the word back before the editor's Undo restores the lines).
void setBaseAlign(uint16_t align)
{
    TextEditSession *s = teSession();
    s->baseFormat.align = align;
    if (TextHeader *h = txLockHeader(s->object)) {
        h->align = align;
        utUnlock(s->object);
    }
}

// The main tool list while a text is edited: button 401 pressed, 217 off.
void pressEditButton()
{
    if (HWND bar = appGetDrawToolBar()) {
        blSelectButton(bar, 401);
        blEnableButton(bar, 217, FALSE);
    }
}

// The colour commands of the palette: 21 the palette's active target, 22
// text colour, 23 background colour of the selection (or at the caret); 24
// (frame colour) does nothing to text; 25 switches the palette's style.
int colourCommand(HWND window, int id, LPARAM lParam)
{
    if (id == 25) {
        clrToggleStyle();
        return 0;
    }
    if (id == 21) {
        const int target = clrGetActiveTarget();
        id = target == 0 ? 22 : target == 1 ? 23 : 24;
    }
    if (id == 24)
        return 0;
    CharFormat oldFmt;
    TePos start, end;
    if (teGetSelection(&start, &end)) {
        if (tePosCompare(&end, &start) < 0)
            start = end;
        teFormatAtPos(&start, &oldFmt);
    } else {
        teGetFormat(&oldFmt, 2);
    }
    CharFormat newFmt = oldFmt;
    if (id == 22)
        newFmt.foreColor = (uint32_t)lParam;
    else
        newFmt.backColor = (uint32_t)lParam;
    const int changed = teApplyFormatChange(window, &oldFmt, &newFmt, id == 22 ? TXC_FORE : TXC_BACK);
    if (changed)
        teMarkModified(window);
    return changed;
}

}  // namespace

uint16_t teGetLabelUndoKind() { return g_labelUndoKind; }
MemHandle teGetEditedLabel() { return g_label; }

// ---- starting -----------------------------------------------------------------------------------

int teOpenObject(HWND ws, MemHandle object, int32_t maxHeight)
{
    if (!object)
        return 0;
    const BOOL vertical = txIsVertical(object);
    teResumeUndo();
    teDropUndo(ws, FALSE);

    // A text in columns is edited as one column; curved text straight.
    MemHandle savedColumns = 0;
    TextColumnSpec spec;
    if (txHasColumns(object) && txGetColumnSpec(object, &spec)) {
        savedColumns = utHandleFromBytes(&spec, sizeof spec);
        invalidateObject(ws, object);
        MemHandle single = txRemoveColumns(object);
        wsFollowMovedObject(ws, object, single);
        object = single;
        invalidateObject(ws, object);
    } else if (txIsCurved(object)) {
        utMessageBox(ws, "The curved text will be straightened for editing.", MB_ICONINFORMATION);
        invalidateObject(ws, object);
        txStraighten(object);
        invalidateObject(ws, object);
    }

    teResetSession(ws);
    teSetSavedColumns(savedColumns);
    teSetTextObject(object);
    teAcquireDC(ws);
    teSetMaxHeight(maxHeight);
    teSetInsertMode(TRUE);
    teSetPassOn(TRUE);

    CharFormat base;
    if (!txGetCharFormat(object, &base))
        memset(&base, 0, sizeof base);
    teSetFormat(&base, 0);
    teSetFormat(&base, 2);

    if (!teIsSingleLine()) {
        RECT text;
        TextHeader *h = txLockHeader(object);
        if (h) {
            txGetTextRect(object, &text);
            int32_t count = 0, spacing = 0;
            MemHandle stops = txGetTabStops(&text, h, vertical, &count, &spacing);
            utUnlock(object);
            teSetTabTable(stops);
            teSetTabCount((uint32_t)count);
            teSetTabSpacing((uint32_t)spacing);
            if (teIsFrameBound())
                teShowRulerMarkers(ws, TRUE);
        }
    }

    MemHandle stream = txCopyStream(object);
    BOOL empty = TRUE;
    int32_t depth = 0;
    {
        MemLock<char> p(stream);
        if (p && p[0]) {
            empty = FALSE;
            depth = storedDepth(p.get());
            teLinesFromStream(p.get(), 0, &base);
        }
    }
    utFreeHandle(stream);
    if (empty || !teGetFirstLine()) {
        // An empty text starts as one empty line with room for typing.
        MemHandle line = teLineNew(nullptr, 0, &base);
        if (MemHandle roomy = line ? teLineAlloc(line, 256) : 0)
            line = roomy;
        if (line) {
            teSetLineList(line);
            teMeasureLine(line, &base);
        }
    }
    teSetCaret(teGetFirstLine(), 0);
    teUpdateCaretLinePos();
    teClearModified();

    if (!empty && !vertical && depth != teDepthFrom(teGetFirstLine())) {
        // Measured here the lines do not stack as stored: lay them out again.
        teRewrapAll();
        RECT lines;
        teLinesRect(&lines);
        teGrowHeight(ws, lines.bottom - lines.top);
        invalidateObject(ws, object);
        invalidateFrame(ws);
        teMarkModified(ws);
    }
    if (!empty && ((teGetTextFlags() & TXF_SELECT_ALL) || (obGetFlags(object) & 0x200)))
        PostMessageA(ws, WM_COMMAND, 215, 0);
    if (ws)
        wsSetToolCursor(ws);
    return 1;
}

int teStartSession(HWND ws, MemHandle object, uint16_t ownerCommand, BOOL redraw)
{
    if (!object)
        return 0;
    const uint32_t before = wsProcToken(GetWindowLongPtrA(ws, GWLP_WNDPROC));
    wsEnterToolMode(ws, TM_TEXT, TextEditModeProc, 0, 0);
    teOpenObject(ws, object, -1);
    teSetSavedProc(before);
    teSetOwnerCommand(ownerCommand);
    teSetRedrawAtEnd(redraw);
    teSetPassOn(FALSE);
    return 1;
}

int teBeginEdit(HWND ws, MemHandle object, int ownerCommand, LPARAM point, BOOL redraw)
{
    if (teGetTextObject()) {
        HWND running = teGetWindow();
        teEndEdit(running ? running : ws, 0, 0);
    }
    if (!teStartSession(ws, object, (uint16_t)ownerCommand, TRUE))
        return 0;
    if (redraw) {
        invalidateObject(ws, teGetTextObject());
        invalidateFrame(ws);
    }
    if (point) {
        TePos pos;
        if (teHitTest(ws, point, &pos))
            teSetCaretPos(&pos);
    }
    teCreateCaret(ws);
    tePlaceCaret(ws);
    teShowCaret(ws);
    return 1;
}

// ---- committing ---------------------------------------------------------------------------------

MemHandle teRebuildObject(HWND ws, int *outFlag)
{
    if (outFlag)
        *outFlag = 0;
    MemHandle object = teGetTextObject();
    if (!object || !teGetFirstLine())
        return 0;
    MemHandle lines = teLinesToStream(teGetFirstLine(), 0);
    // No stream from lines that hold text is a failed allocation, never an
    // emptied text.
    if (!lines && (teLineLength(teGetFirstLine()) > 0 || teLineNext(teGetFirstLine())))
        return 0;
    std::string stream;
    {
        MemLock<char> p(lines);
        if (p)
            stream.assign(p.get(), (size_t)txstrlen(p.get()));
    }
    utFreeHandle(lines);
    stream.push_back('\0');
    txStripCode(&stream[0], TXC_TEMP_ON);
    const int32_t before = txstrlen(stream.c_str());
    const int32_t after = txStripCode(&stream[0], TXC_TEMP_OFF);
    if (after < before && outFlag)
        *outFlag = 1;
    stream.resize((size_t)after);
    // A text of one empty line has no text at all.
    std::string plainCheck = stream;
    plainCheck.push_back('\0');
    if (!txHasText(plainCheck.c_str(), TRUE) && txCharCountAll(plainCheck.c_str()) == 0)
        stream.clear();

    uint32_t at, tabs;
    {
        ObLock r(object);
        if (!r)
            return 0;
        at = obDataOffset(r.get());
        const TextHeader *th = reinterpret_cast<const TextHeader *>(obRecData(r.get()) + 8);
        tabs = th->tabCount;
    }
    const uint32_t L = stream.empty() ? 0 : (uint32_t)stream.size() + 1;
    const uint32_t size = at + kTxDataFixed + 4 * tabs + L;
    MemHandle g = object;
    if (size > utHandleSize(object)) {
        g = obResize(object, size);
        if (!g)
            return 0;
    }
    if (teIsModified())
        obSetFlagsTree(g, 0x200, FALSE);
    {
        ObLock r(g);
        uint8_t *d = obRecData(r.get());
        TextHeader *th = reinterpret_cast<TextHeader *>(d + 8);
        th->streamLength = L;
        if (L)
            memcpy(d + kTxDataFixed + 4 * tabs, stream.c_str(), L);
        r->length = size;
    }
    txRecordSize(g);
    if (g != object) {
        teSetTextObject(g);
        wsFollowMovedObject(ws, object, g);
    }
    return g;
}

void teCloseSession(HWND ws)
{
    teUnhighlightSelection(ws);
    teClearSelection();
    teSuspendSession(ws);
    teClearCaretLine();
    teLinesFreeAll();
    teResumeUndo();
    teDropUndo(ws, FALSE);
    teHideTabs(ws);
    teFreeTabs();
    teCloseFind();
    teFreeSessionResources(ws);
    teResetSession(nullptr);
    if (ws)
        wsSetSavedSession(ws, 0);
}

MemHandle teFinishEdit(HWND ws)
{
    MemHandle rebuilt = teRebuildObject(ws, nullptr);
    teCloseSession(ws);
    return rebuilt;
}

int teSendEndRecord(HWND ws, MemHandle object, int endCode, LPARAM endDetail,
                    uint16_t ownerCommand, uint32_t modified)
{
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(TeEndRecord));
    if (!g)
        return 0;
    TeEndRecord *r = (TeEndRecord *)GlobalLock(g);
    if (!r) {
        GlobalFree(g);
        return 0;
    }
    r->size = sizeof(TeEndRecord);
    r->object = object;
    r->endCode = (uint16_t)endCode;
    r->endDetail = (uint32_t)endDetail;
    r->modified = modified ? 1 : 0;
    GlobalUnlock(g);
    // The receiver owns the block.
    SendMessageA(ws, WM_COMMAND, ownerCommand, (LPARAM)g);
    return 1;
}

int teEndEdit(HWND ws, int endCode, LPARAM endDetail)
{
    MemHandle object = teGetTextObject();
    if (!object)
        return 1;
    const uint32_t modified = teIsModified() ? 1 : 0;
    const uint16_t owner = teGetOwnerCommand();
    const BOOL redraw = teGetRedrawAtEnd();
    CharFormat base;
    teGetFormat(&base, 0);
    const BOOL exact = (base.align & 0x18) == 0 ? TRUE : (teGetTextFlags() & TXF_EDIT_OPT2) != 0;
    const BOOL frameBound = teIsFrameBound();
    const BOOL wrapped = teIsWrapped();
    const BOOL keepEmpty = teGetKeepEmpty();
    TextColumnSpec spec;
    BOOL columns = FALSE;
    {
        MemLock<TextColumnSpec> c(teGetSavedColumns());
        if (c && utHandleSize(teGetSavedColumns()) >= sizeof spec) {
            spec = *c.get();
            columns = TRUE;
        }
    }
    RECT area = {}, lines;
    obGetUpdateRect(object, &area);
    teLinesRect(&lines);
    InflateRect(&lines, kTeHandleSize, kTeHandleSize);
    UnionRect(&area, &area, &lines);
    SendMessageA(ws, WM_COMMAND, 2220, (LPARAM)&area);

    MemHandle rebuilt = teRebuildObject(ws, nullptr);
    BOOL failed = FALSE;
    if (!rebuilt) {
        // Memory failed: the object keeps the record it had.
        failed = TRUE;
        rebuilt = object;
    }
    BOOL recolumned = FALSE;
    if (!failed && columns) {
        MemHandle g = txMakeColumns(rebuilt, &spec);
        if (g) {
            wsFollowMovedObject(ws, rebuilt, g);
            rebuilt = g;
            recolumned = TRUE;
        }
    }
    if (redraw)
        invalidateFrame(ws);
    teCloseSession(ws);
    wsLeaveToolMode(ws, TRUE);
    if (failed)
        utErrorBox(ws, "Memory allocation failed");

    object = rebuilt;
    if (txHasObjectText(object)) {
        if (frameBound && !recolumned && !failed)
            txFitBox(object, !wrapped, exact);
        if (redraw)
            invalidateObject(ws, object);
    } else if (!keepEmpty && !failed) {
        invalidateObject(ws, object);
        if (wsGetCurrentObject(ws) == object)
            epSelectObject(ws, 0);
        wsDeleteObject(ws, object);
        object = 0;
    }
    BOOL sent = FALSE;
    if (owner)
        sent = teSendEndRecord(ws, object, endCode, endDetail, owner, modified) != 0;
    if (!sent && endCode)
        SendMessageA(ws, WM_COMMAND, (WPARAM)endCode, endDetail);
    if (HWND frame = appGetFrameWindow())
        winDrawMenuBar(frame);
    return 1;
}

// ---- Labels -------------------------------------------------------------------------------------

int teBeginLabelEdit(HWND ws, MemHandle label, LPARAM, uint16_t ownerCommand)
{
    if (!label)
        return 0;
    MemHandle text = txLabelToText(label);
    if (!text)
        return 0;
    int32_t pageHeight = -1;
    if (MemHandle page = pvGetCurrentPage(ws)) {
        MemLock<ObjectRecord> p(page);
        if (p)
            pageHeight = p->height;
    }
    g_label = label;
    clearLabelUndo();
    teOpenObject(ws, text, pageHeight);
    wsEnterToolMode(ws, TM_TEXT_A, LabelEditModeProc, 400, 0);
    if (ownerCommand)
        teSetOwnerCommand(ownerCommand);
    invalidateFrame(ws);
    teCreateCaret(ws);
    tePlaceCaret(ws);
    teShowCaret(ws);
    return 1;
}

MemHandle teCommitLabel(HWND ws)
{
    MemHandle label = g_label;
    if (!label || !teGetTextObject())
        return label;
    teRebuildObject(ws, nullptr);
    int32_t length = 0;
    MemHandle stream = txGetStreamWithTabs(teGetTextObject(), &length);
    MemHandle now;
    {
        MemLock<char> p(stream);
        now = txSetLabelText(label, p ? p.get() : "");
    }
    utFreeHandle(stream);
    if (!now)
        return label;
    txLabelRecordSize(now);
    if (now != label) {
        wsRelinkObject(ws, now);
        wsSetCurrentObject(ws, now);
        g_label = now;
    }
    return now;
}

int teEndLabelEdit(HWND ws)
{
    if (!g_label)
        return 0;
    const uint32_t modified = teIsModified() ? 1 : 0;
    const uint16_t owner = teGetOwnerCommand();
    MemHandle label = teCommitLabel(ws);
    invalidateFrame(ws);
    MemHandle text = teFinishEdit(ws);
    utFreeHandle(text);
    clearLabelUndo();
    g_label = 0;
    wsLeaveToolMode(ws, TRUE);
    invalidateObject(ws, label);
    epEnterSelectMode(ws, label);
    if (owner)
        teSendEndRecord(ws, label, 0, 0, owner, modified);
    return 1;
}

// ---- the saved procedure ------------------------------------------------------------------------

LRESULT teCallSavedProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const LONG_PTR proc = wsProcFromToken(teGetSavedProc(window));
    if (!proc)
        return DefWindowProcA(window, msg, wParam, lParam);
    return CallWindowProcA((WNDPROC)proc, window, msg, wParam, lParam);
}

void teResetFormats(HWND window)
{
    MemHandle object = teGetTextObject();
    CharFormat base;
    if (!object || !txGetCharFormat(object, &base))
        return;
    teSetFormat(&base, 0);
    teSetFormat(&base, 2);
    teUpdateCaretLinePos();
    tePlaceCaret(window);
    invalidateFrame(window);
}

// ---- text area, mouse ---------------------------------------------------------------------------

BOOL teInTextArea(HWND window, LPARAM point)
{
    HDC dc = teGetDC();
    if (!dc)
        return FALSE;
    POINT p = {(int16_t)LOWORD(point), (int16_t)HIWORD(point)};
    DPtoLP(dc, &p, 1);
    RECT r;
    teGetFrame(&r);
    if (PtInRect(&r, p))
        return TRUE;
    if (!teIsFrameBound()) {
        teLinesRect(&r);
        return PtInRect(&r, p);
    }
    (void)window;
    return FALSE;
}

int teMouseDown(HWND window, LPARAM point)
{
    teDropUndoQuiet();
    teUnhighlightSelection(window);
    teClearSelection();
    if (teGetPassOn() && !teInTextArea(window, point))
        return 1;
    TePos pos;
    if (!teHitTest(window, point, &pos))
        return 0;
    teHitTest(window, point, &pos);
    teDragSelect(window, &pos);
    return 0;
}

int teDoubleClick(HWND window, LPARAM point)
{
    TePos pos;
    if (!teInTextArea(window, point) || !teHitTest(window, point, &pos))
        return 0;
    teUnhighlightSelection(window);
    teSelectWordAt(window, &pos);
    return 1;
}

// ---- keys ---------------------------------------------------------------------------------------

static int onNavigation(HWND window, WPARAM key)
{
    const BOOL shift = keyDown(VK_SHIFT), ctrl = keyDown(VK_CONTROL);
    // Vertical text: the arrows turn with the lines.
    if (teIsVertical()) {
        const BOOL rtl = teIsRightToLeft();
        switch (key) {
        case VK_UP: key = VK_LEFT; break;
        case VK_DOWN: key = VK_RIGHT; break;
        case VK_LEFT: key = rtl ? VK_DOWN : VK_UP; break;
        case VK_RIGHT: key = rtl ? VK_UP : VK_DOWN; break;
        default: break;
        }
    }
    if (shift && !ctrl)
        return teExtendSelectionByKey(window, (int)key);
    switch (key) {
    case VK_LEFT: return ctrl ? teCaretWordLeft(window, TRUE) : teCaretLeft(window, TRUE);
    case VK_RIGHT: return ctrl ? teCaretWordRight(window, TRUE) : teCaretRight(window, TRUE);
    case VK_UP:
        if (ctrl && teIsSingleLine()) {
            PostMessageA(window, TE_MSG_END, 5, 0);
            return 1;
        }
        return teCaretLineUp(window, TRUE);
    case VK_DOWN:
        if (ctrl && teIsSingleLine()) {
            PostMessageA(window, TE_MSG_END, 6, 0);
            return 1;
        }
        return teCaretLineDown(window, TRUE);
    case VK_HOME: return ctrl ? teCaretTextStart(window, TRUE) : teCaretLineStart(window, TRUE);
    case VK_END: return ctrl ? teCaretTextEnd(window, TRUE) : teCaretLineEnd(window, TRUE);
    default: return 0;
    }
}

static int onKeyDown(HWND window, WPARAM key)
{
    const BOOL shift = keyDown(VK_SHIFT), ctrl = keyDown(VK_CONTROL);
    int handled = 0;
    switch (key) {
    case VK_PRIOR:
    case VK_NEXT:
        if (ctrl) {
            PostMessageA(window, WM_COMMAND, key == VK_PRIOR ? 617 : 618, 0);
            return 1;
        }
        if (shift)
            handled = teExtendSelectionByKey(window, (int)key);
        else
            handled = tePageScroll(window, TRUE, key == VK_NEXT);
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
        handled = onNavigation(window, key);
        break;
    case VK_INSERT:
        teSetInsertMode(!teGetInsertMode());
        PostMessageA(window, WM_COMMAND, 910, 0);
        return 1;
    case VK_DELETE:
        handled = ctrl ? teDeleteForward(window) : teDelete(window);
        break;
    case VK_F5:
        PostMessageA(window, WM_COMMAND, 237, 0);
        return 1;
    case VK_F6:
        PostMessageA(window, WM_COMMAND, 476, 0);
        return 1;
    case VK_F7:
        if (!teIsSingleLine())
            handled = teInsertChar(window, TX_INDENT);
        break;
    case VK_F8:
        teSelectParagraphs(window);
        return 1;
    default:
        return 0;
    }
    teRepaintChanges(window);
    teScrollCaretIntoView(window);
    tePlaceCaret(window);
    return handled ? 1 : 1;
}

static int onChar(HWND window, WPARAM wParam)
{
    const uint8_t c = (uint8_t)wParam;
    int changed = 0;
    switch (c) {
    case 4: changed = teDeleteForward(window); break;
    case 8: changed = teBackspace(window); break;
    case 9:
        if (teIsSingleLine()) {
            PostMessageA(window, TE_MSG_END, keyDown(VK_SHIFT) ? 2 : 1, 0);
            return 1;
        }
        if (keyDown(VK_SHIFT))
            changed = teTabBack(window);
        else if (!teGetInsertMode())
            changed = teTabForward(window);
        else
            changed = teInsertChar(window, '\t');
        break;
    case 13:
        if (!(teGetTextFlags() & TXF_WRAP_LOW)) {
            PostMessageA(window, TE_MSG_END, 1, 1);
            return 1;
        }
        changed = teNewParagraph(window);
        break;
    case 27:
        PostMessageA(window, TE_MSG_END, 1, 0);
        return 1;
    default:
        if (c < 32) {
            teBeep();
            return 0;
        }
        {
            CharFormat caret;
            teGetFormat(&caret, 2);
            const uint32_t cp = txCharsetCodePage(caret.lf.lfCharSet);
            if (IsDBCSLeadByteEx(cp, c)) {
                MSG next;
                char pair[2] = {(char)c, 0};
                if (PeekMessageA(&next, window, WM_CHAR, WM_CHAR, PM_REMOVE))
                    pair[1] = (char)next.wParam;
                changed = pair[1] ? teInsertDbcs(window, pair) : 0;
            } else {
                changed = teInsertChar(window, (char)c);
            }
        }
        break;
    }
    (void)changed;
    teRepaintChanges(window);
    teScrollCaretIntoView(window);
    tePlaceCaret(window);
    return 1;
}

int teOnKey(HWND window, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_KEYDOWN: return onKeyDown(window, wParam);
    case WM_CHAR: return onChar(window, wParam);
    case WM_KEYUP:
        teRepaintPending(window);
        teResetDisplayNotes();
        return 1;
    default: return 0;
    }
}

// ---- commands -----------------------------------------------------------------------------------

// Inserts a stream handle given by a command; the handle becomes the
// editor's and is freed.
static int insertHandle(HWND window, LPARAM lParam)
{
    MemHandle h = (MemHandle)lParam;
    return h ? tePasteHandle(window, h) : 0;
}

BOOL teCommandWaits(int id)
{
    switch (id) {
    case 230: case 233: case 455: case 460: case 476: case 493: case 719: case 720:
    case 1137: case 1138: case 2101: case 2102:
        return TRUE;
    default:
        return FALSE;
    }
}

int teOnCommand(HWND window, int id, LPARAM lParam)
{
    if (id != 910 && id != 914 && id != 921 && id != 2221 && id != 200 && id != 216 && id != 702)
        teDropUndo(window, FALSE);
    int changed = 0;
    switch (id) {
    case 21:
    case 22:
    case 23:
    case 24:
    case 25:
        // The colour palette's targets on the edited text.
        changed = colourCommand(window, id, lParam);
        break;
    case 197: return 0;
    case 200:
        if (teCanUndo())
            changed = teUndo(window);
        break;
    case 201:
    case 202:
        if (!teHasSelection())
            return 0;
        teCopy(window);
        if (id == 201) {
            teNoteEditAtCaret();
            changed = teDelete(window);
        }
        break;
    case 203: {
        const int pasted = tePasteClipboard(window);
        if (pasted == 0)
            return 1;
        changed = pasted > 0;
        break;
    }
    case 205:
        if (teHasSelection()) {
            teNoteEditAtCaret();
            changed = teDelete(window);
        }
        break;
    case 206:
    case 236: changed = teInsertImage(window); break;
    case 215:
        teSelectAll(window);
        return 0;
    case 229:
        teUnhighlightSelection(window);
        teClearSelection();
        return 0;
    case 230:
        teOpenFind(window);
        return 0;
    case 233:
        teFindNextCommand(window);
        return 0;
    case 235: changed = insertHandle(window, lParam); break;
    case 237: changed = tePasteHandle(window, utSelectDateTimeFormat(window)); break;
    case 239:
    case 946:
        if (!insertHandle(window, lParam))
            return 1;
        changed = 1;
        break;
    case 350:
    case 351:
    case 352: changed = teObjectColour(window, id); break;
    case 420: case 464: case 421: case 466: case 424: case 465:
        if (teIsVertical())
            return 0;
        changed = teApplyParagraphCode(window, alignFromCommand(id));
        break;
    case 422: case 423: case 426:
        if (!teIsVertical())
            return 0;
        changed = teApplyParagraphCode(window, alignFromCommand(id));
        break;
    case 483: changed = teApplyParagraphCode(window, 256); break;
    case 455: changed = teSizeCommand(window); break;
    case 456: case 457: case 461: case 462: case 463: case 468: case 477: case 478: case 479: {
        UINT state = 0;
        if (HWND frame = appGetFrameWindow())
            state = GetMenuState(GetMenu(frame), (UINT)id, MF_BYCOMMAND);
        const BOOL on = state == (UINT)-1 || !(state & MF_CHECKED);
        changed = teToggleAttribute(window, id, on);
        break;
    }
    case 459: changed = teToggleAttribute(window, 459, TRUE); break;
    case 460: changed = teFontCommand(window); break;
    case 476:
        if (!teIsPlainText() && !teHasSelection())
            changed = teInsertBullet(window);
        break;
    case 481: changed = teLineSpacingCommand(window); break;
    case 484:
        teSelectParagraphs(window);
        return 0;
    case 486:
        if (!teGetCaretTrace()) {
            teSetCaretTrace(TRUE);
            winGetDataWindow(window, 0);
        } else {
            winCloseDataWindow();
        }
        return 0;
    case 487:
    case 488:
    case 497: changed = teChangeCase(window, id); break;
    case 489:
        PostMessageA(window, WM_KEYDOWN, VK_F7, 0);
        PostMessageA(window, WM_KEYUP, VK_F7, 0);
        return 0;
    case 493: changed = teTabSpacingCommand(window); break;
    case 494: {
        RECT frame, *r = (RECT *)lParam;
        teGetFrame(&frame);
        if (r)
            UnionRect(&frame, &frame, r);
        wsApplyViewMapping(window);
        dmInvalidateLogRect(window, &frame, TRUE);
        return 0;
    }
    case 495: {
        teRecordUndo(TE_UNDO_IME_RESULT, 0);
        teUnhighlightSelection(window);
        teClearSelection();
        MemHandle first = teGetFirstLine();
        if (first) {
            if (MemHandle next = teLineNext(first))
                teLinesFree(next, teGetLastLine());
            teLineLink(first, 0);
            teSetLastLine(first);
            MemHandle h = teLineSetText(first, "");
            teSetCaret(h ? h : first, 0);
        }
        teMarkRangeChanged(10);
        teMarkModified(window);
        changed = 1;
        break;
    }
    case 718:
        if (teTestOption(0x4))
            PostMessageA(window, TE_MSG_END, 0, 0);
        return 0;
    case 719:
        teSetOption(0x4, TRUE);
        spCheckEditedText(window, (int)lParam);
        return 0;
    case 720:
        spCheckEditedText(window, 1);
        return 0;
    case 727: spCmdCustomDictionary(window); return 0;
    case 728: spCmdLanguage(window); return 0;
    case 736:
        teSetOption(0x8, TRUE);
        return 0;
    case 961:
    case 962: {
        teSetNoSaveOnSuspend(window, FALSE);
        MemHandle h = (MemHandle)lParam;
        std::string text;
        {
            MemLock<char> p(h);
            if (p)
                text = p.get();
        }
        if (text.empty() && lParam && !utIsLiveHandle(h))
            text = (const char *)lParam;
        changed = id == 961 ? teSetSizeByName(window, text.c_str())
                            : teSetFaceByName(window, text.c_str());
        teSetNoSaveOnSuspend(window, TRUE);
        break;
    }
    case 990: return 1;
    case 1136: {
        static const WinMenuTableEntry kLinkMenu[] = {{1137, "&File Link..."},
                                                      {1138, "&General Command..."}};
        winTrackMenuTable(window, lParam, kLinkMenu, 2);
        return 0;
    }
    case 1137:
    case 1138: changed = teCmdHyperLink(window, id); break;
    case 2024: changed = tePasteHandle(window, utSelectSqlDateFormat(window)); break;
    case 2101: changed = teRulerTabsChanged(window); break;
    case 2102: changed = teRulerFrameChanged(window); break;
    case 2210: changed = teSpacingCommand(window); break;
    case 2230: case 2232: case 2233: case 2234: case 2235: return 0;
    default: return 1;
    }
    if (changed)
        afterChange(window);
    return 0;
}

int teLabelOnCommand(HWND window, int id, LPARAM lParam)
{
    if (id != 910 && id != 914 && id != 921 && id != 200 && id != 216 && id != 702) {
        teDropUndo(window, FALSE);
        udDiscard(window);
    }
    MemHandle label = g_label;
    switch (id) {
    case 522: {
        uint16_t align = txGetLabelAlign(label);
        if (!epAlignmentDlg(window, &align))
            return 0;
        clearLabelUndo();
        g_labelUndoKind = 1;
        g_labelUndoAlign = txGetLabelAlign(label);
        txSetLabelAlign(label, align);
        teSetAlignment(window, align);
        invalidateFrame(window);
        return 0;
    }
    case 420: case 421: case 422: case 423: case 424: case 425: case 426: {
        const uint16_t old = txGetLabelAlign(label);
        const uint16_t align = mergeAlign(old, alignFromCommand(id));
        if (align != old) {
            clearLabelUndo();
            g_labelUndoKind = 1;
            g_labelUndoAlign = old;
            txSetLabelAlign(label, align);
            teSetAlignment(window, align);
            invalidateFrame(window);
            wsMarkModified(window);
        }
        return 0;
    }
    case 467:
        clearLabelUndo();
        g_labelUndoKind = 1;
        g_labelUndoAlign = txGetLabelAlign(label);
        if (cmdObjectCommand(window, label, 467, lParam))
            obInvalidate(window, label);
        else
            clearLabelUndo();
        return 0;
    case 702: {
        const RECT *need = (const RECT *)lParam;
        RECT box;
        if (!need || !label)
            return 0;
        obGetRect(label, &box);
        LabelPart part = {};
        {
            ObLock r(label);
            if (r)
                memcpy(&part, obRecData(r.get()), sizeof part);
        }
        int32_t mx = 0, my = 0;
        txLabelMargins(&box, &part, &mx, &my);
        const int32_t height = (need->bottom - need->top) + 2 * my;
        if (height > box.bottom - box.top) {
            RECT old = box;
            {
                ObLock r(label);
                r->centreY = box.top + height / 2;
                r->height = height;
            }
            invalidateObject(window, label);
            wsApplyViewMapping(window);
            dmInvalidateLogRect(window, &old, TRUE);
        }
        return 0;
    }
    case 200:
        if (g_labelUndoKind == 1) {
            txSetLabelAlign(label, g_labelUndoAlign);
            setBaseAlign(g_labelUndoAlign);
            clearLabelUndo();
            break;   // on to the editor's Undo
        }
        if (g_labelUndoKind == 2 && g_labelUndoRecord) {
            utCopyHandleInto(label, g_labelUndoRecord);
            clearLabelUndo();
            invalidateObject(window, label);
            return 0;
        }
        break;
    default: break;
    }
    return teOnCommand(window, id, lParam);
}

// ---- menus and the popup -------------------------------------------------------------------------

void teLabelInitMenu(HWND window, HMENU popup)
{
    if (!popup || GetMenuItemCount(popup) < 1)
        return;
    HWND frame = appGetFrameWindow();
    switch (GetMenuItemID(popup, 0)) {
    case 464: appInitParagraphMenuForEditor(window, popup); break;
    case 460: appInitTextMenuForEditor(window, popup); break;
    case 100: appInitFileMenu(frame, popup, window); break;
    case 200: appInitEditMenu(window, popup); break;
    case 608: appCheckSnapToRulers(window, popup); break;
    case 403:
    case 501:
    case 631: winEnableMenuItems(popup, nullptr, GetMenuItemCount(popup)); break;
    case 522: {
        const int16_t flags[11] = {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        winEnableMenuItems(popup, flags, 11);
        break;
    }
    default: break;
    }
}

void teShowEditPopup(HWND window, LPARAM point)
{
    static const WinMenuTableEntry kItems[8] = {
        {200, "&Undo"}, {0, ""}, {201, "Cu&t"}, {202, "&Copy"},
        {203, "Paste"}, {0, ""}, {205, "&Delete"}, {215, "Select &All"},
    };
    const int16_t sel = teHasSelection() ? 1 : 0;
    // The Select All flag is prepared but never set: the item shows grey.
    const int16_t flags[8] = {(int16_t)(teCanUndo() ? 1 : 0), 0, sel, sel,
                              (int16_t)(IsClipboardFormatAvailable(CF_TEXT) ? 1 : 0), 0, sel, 0};
    HMENU menu = winMenuFromTable(kItems, 8);
    if (!menu)
        return;
    winEnableMenuItems(menu, flags, 8);
    POINT p = {(int16_t)LOWORD(point), (int16_t)HIWORD(point)};
    ClientToScreen(window, &p);
    winTrackPopup(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, p.x, p.y, window);
    DestroyMenu(menu);
}

// ---- the Label frame ----------------------------------------------------------------------------

void teDrawLabelFrame(HWND window, HDC dc, const RECT *clip)
{
    MemHandle label = g_label;
    if (!label || !dc)
        return;
    RECT box;
    COLORREF pen = 0, fill = 0xFFFFFF;
    uint32_t flags = 0;
    uint8_t fillKind = 0;
    {
        ObLock r(label);
        if (!r)
            return;
        pen = r->penColour;
        fill = r->backColour;
        flags = r->flags;
        fillKind = (uint8_t)r->fillKind;
    }
    obGetRect(label, &box);
    uint16_t style = 0;
    uint32_t corner = 0;
    txGetLabelFrame(label, &style, &corner);
    if (flags & 0x8) {
        GdiObject<HBRUSH> shadow(CreateSolidBrush(RGB(128, 128, 128)));
        RECT s = box;
        OffsetRect(&s, 60, 60);
        FillRect(dc, &s, shadow);
    }
    if (fillKind == 1) {
        GdiObject<HBRUSH> brush(CreateSolidBrush(fill));
        FillRect(dc, &box, brush);
    }
    if ((style & 0xFF) != 0) {
        GdiObject<HPEN> p(CreatePen(PS_SOLID, 1, pen));
        GdiSelect sp(dc, p);
        GdiSelect sb(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, box.left, box.top, box.right, box.bottom);
    }
    tePaintText(window, dc, clip);
}

// ---- the mode procedures ------------------------------------------------------------------------

LRESULT CALLBACK TextEditModeProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETFOCUS:
        teRestoreSession(ws);
        break;
    case WM_KILLFOCUS:
        teSuspendSession(ws);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        teOnKey(ws, msg, wParam, lParam);
        return 0;
    case WM_COMMAND:
        if (teOnCommand(ws, LOWORD(wParam), lParam) == 0)
            return 0;
        break;
    case WM_VSCROLL:
        if (GetDlgCtrlID(ws) != 990) {
            switch (LOWORD(wParam)) {
            case SB_LINEUP: teScrollLineUp(ws); return 0;
            case SB_LINEDOWN: teScrollLineDown(ws); return 0;
            case SB_PAGEUP: teScrollPageUp(ws); return 0;
            case SB_PAGEDOWN: teScrollPageDown(ws); return 0;
            default: break;
            }
        }
        break;
    case WM_MOUSEMOVE:
        SetCursor(LoadCursorA(nullptr, teGetPassOn() && !teInTextArea(ws, lParam) ? IDC_ARROW
                                                                                     : IDC_IBEAM));
        break;
    case WM_LBUTTONDOWN:
        if (GetFocus() == ws && teMouseDown(ws, lParam) == 0)
            return 0;
        break;
    case WM_LBUTTONDBLCLK:
        if (!teDoubleClick(ws, lParam))
            teEndEdit(ws, 0, 0);
        return 0;
    case WM_RBUTTONUP:
        if (teInTextArea(ws, lParam))
            teShowEditPopup(ws, lParam);
        return 0;
    case TE_MSG_END:
        teEndEdit(ws, (int)wParam, lParam);
        return 0;
    case TE_MSG_ENTERED:
        pressEditButton();
        return 0;
    case TE_MSG_COMMIT:
        teRebuildObject(ws, nullptr);
        return 0;
    default: break;
    }
    return teCallSavedProc(ws, msg, wParam, lParam);
}

LRESULT CALLBACK LabelEditModeProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETFOCUS:
        teRestoreSession(ws);
        return 0;
    case WM_KILLFOCUS:
        teSuspendSession(ws);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        teOnKey(ws, msg, wParam, lParam);
        return 0;
    case WM_COMMAND:
        if (teLabelOnCommand(ws, LOWORD(wParam), lParam) == 0)
            return 0;
        break;
    case WM_MOUSEMOVE:
        SetCursor(LoadCursorA(nullptr, teGetPassOn() && !teInTextArea(ws, lParam) ? IDC_ARROW
                                                                                     : IDC_IBEAM));
        break;
    case WM_LBUTTONDOWN:
        if (teMouseDown(ws, lParam) == 0)
            return 0;
        break;
    case WM_LBUTTONDBLCLK:
        if (!teDoubleClick(ws, lParam))
            teEndLabelEdit(ws);
        return 0;
    case TE_MSG_END:
        teEndLabelEdit(ws);
        return 0;
    case TE_MSG_ENTERED:
        pressEditButton();
        return 0;
    case TE_MSG_COMMIT:
        teCommitLabel(ws);
        return 0;
    default: break;
    }
    return wsDefProc(ws, msg, wParam, lParam);
}
