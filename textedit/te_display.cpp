// The editor's display: notes of what an edit disturbs, the frame growing
// with the text, and repainting the changed lines straight on the session
// DC with the caret hidden.
#include "textedit/te_display.h"
#include "textedit/te_caret.h"
#include "textedit/te_lines.h"
#include "textedit/te_select.h"
#include "textedit/te_session.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "support/gdi_text.h"
#include "support/ut_mem.h"
#include "text/tx_draw_object.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_paint.h"
#include "text/tx_stream.h"
#include "views/ws_record.h"

#include <algorithm>
#include <initializer_list>

namespace {

struct Notes {
    int32_t firstChanged = -1;
    int32_t lastChanged = -1;
    RECT area = {0, 0, 0, 0};
    int32_t oldExtent = -1;
    RECT oldBounds = {0, 0, 0, 0};
    int32_t firstMoved = -1;
};
Notes g_notes;
int32_t g_drawnLines = 0;
int32_t g_lastDrawnFirst = -1;

TextEditSession &S() { return *teSession(); }

BOOL areaFlat() { return g_notes.area.left == g_notes.area.right; }
BOOL areaEmpty(const RECT &r) { return r.right <= r.left || r.bottom <= r.top; }

void unite(RECT *into, const RECT &r)
{
    into->left = std::min(into->left, r.left);
    into->top = std::min(into->top, r.top);
    into->right = std::max(into->right, r.right);
    into->bottom = std::max(into->bottom, r.bottom);
}

// Columns of vertical text keep the frame's right edge.
BOOL keepsRightEdge() { return (S().baseFormat.align & 0x2) || teIsFlag1000(); }
// Columns of vertical text placed from the frame's left edge.
BOOL placedFromLeft() { return !(S().baseFormat.align & 0x3) || teIsFlag1000(); }

// The band of the changed lines (the last line when the last index no
// longer exists); FALSE when no line is noted.
BOOL changedBand(RECT *out)
{
    if (g_notes.firstChanged < 0)
        return FALSE;
    MemHandle first = teLineAt(g_notes.firstChanged);
    MemHandle last = teLineAt(g_notes.lastChanged);
    if (!last)
        last = teGetLastLine();
    if (!first)
        first = last;
    if (!first)
        return FALSE;
    teRectBetween(first, last, out);
    return TRUE;
}

void addChangedBand()
{
    RECT band;
    if (changedBand(&band))
        teAddChangedArea(&band);
}

// A rectangle in twips to device pixels, ordered.
RECT toDevice(HDC dc, RECT r)
{
    LPtoDP(dc, reinterpret_cast<POINT *>(&r), 2);
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

void invalidateTwips(HWND window, RECT r, BOOL erase)
{
    HDC dc = teGetDC();
    if (!window || !dc)
        return;
    r.bottom += dmGetPixelHeight() - 1;
    RECT d = toDevice(dc, r);
    InflateRect(&d, 1, 1);
    InvalidateRect(window, &d, erase);
}

void fillArea(HDC dc, RECT r)
{
    HBRUSH brush = teGetBkBrush();
    if (!dc || !brush || areaEmpty(r))
        return;
    r.bottom += dmGetPixelHeight();
    FillRect(dc, &r, brush);
}

void drawRuled(HDC dc)
{
    if (S().object && teIsPlainText()) {
        RECT frame;
        teGetFrame(&frame);
        txDrawRuledLinesOf(dc, S().object, &frame);
    }
}

// Draws the lines between two indexes (either order), the last line when
// an index no longer exists.
void drawIndexes(HDC dc, int32_t a, int32_t b)
{
    if (a > b)
        std::swap(a, b);
    MemHandle first = teLineAt(a < 0 ? 0 : a);
    MemHandle last = teLineAt(b);
    if (!last)
        last = teGetLastLine();
    if (!first)
        first = last;
    if (first)
        teDrawLines(dc, first, last);
}

}  // namespace

// ---- notes ----------------------------------------------------------------------------------------

void teResetDisplayNotes()
{
    g_notes = Notes();
}

void teGetDisplayNotes(int32_t *firstChanged, int32_t *lastChanged, RECT *area,
                       int32_t *oldExtent)
{
    if (firstChanged)
        *firstChanged = g_notes.firstChanged;
    if (lastChanged)
        *lastChanged = g_notes.lastChanged;
    if (area)
        *area = g_notes.area;
    if (oldExtent)
        *oldExtent = g_notes.oldExtent;
}

void teNoteBeforeChange(MemHandle line)
{
    if (!line)
        return;
    int32_t index = teLineIndex(line);
    if (g_notes.oldExtent >= 0) {
        if (index >= 0) {
            g_notes.firstMoved = g_notes.firstMoved < 0 ? index
                                                        : std::min(index, g_notes.firstMoved);
            RECT band;
            teRectFromLine(line, &band);
            unite(&g_notes.oldBounds, band);
            g_notes.oldExtent = teIsVertical()
                                    ? g_notes.oldBounds.right - g_notes.oldBounds.left
                                    : g_notes.oldBounds.bottom - g_notes.oldBounds.top;
        }
        return;
    }
    RECT b;
    teGetFrame(&b);
    const BOOL centred = (S().baseFormat.align & TXA_VMASK) == TXA_VCENTRE;
    if (!teIsVertical()) {
        if (teIsTopPlaced()) {
            g_notes.firstMoved = index;
            b.top = teLineTop(line);
            g_notes.oldExtent = teDepthFrom(line);
            b.bottom = b.top + g_notes.oldExtent;
        } else {
            g_notes.firstMoved = 0;
            g_notes.oldExtent = teDepthFrom(teGetFirstLine());
            if (centred) {
                b.top = (b.top + b.bottom - g_notes.oldExtent) / 2;
                b.bottom = b.top + g_notes.oldExtent;
            } else {
                b.top = b.bottom - g_notes.oldExtent;
            }
        }
    } else if (keepsRightEdge()) {
        g_notes.firstMoved = index;
        b.right = teLineRight(line);
        g_notes.oldExtent = teDepthFrom(line);
        b.left = b.right - g_notes.oldExtent;
    } else {
        g_notes.firstMoved = 0;
        g_notes.oldExtent = teDepthFrom(teGetFirstLine());
        if (centred) {
            b.left = (b.left + b.right - g_notes.oldExtent) / 2;
            b.right = b.left + g_notes.oldExtent;
        } else {
            b.right = b.left + g_notes.oldExtent;
        }
    }
    g_notes.oldBounds = b;
}

void teNoteEditAtCaret()
{
    TePos start, end;
    BOOL selected = teGetSelection(&start, &end);
    MemHandle line = teCaretLine();
    if (selected)
        line = tePosCompare(&start, &end) <= 0 ? start.line : end.line;
    teNoteBeforeChange(line);
    if (selected) {
        RECT r;
        teSelectionBounds(teGetWindow(), &r);
        if (r.right > r.left && r.bottom > r.top)
            teAddChangedArea(&r);
    }
}

void teAddChangedArea(const RECT *r)
{
    RECT add;
    if (r)
        add = *r;
    else
        teGetFrame(&add);
    if (areaFlat())
        g_notes.area = add;
    else
        unite(&g_notes.area, add);
}

void teAddChangedFromLine(MemHandle line)
{
    RECT r;
    teRectFromLine(line, &r);
    teAddChangedArea(&r);
}

void teMarkLinesChanged(MemHandle from, MemHandle to)
{
    for (int32_t index : {teLineIndex(from), teLineIndex(to)}) {
        if (index < 0)
            continue;
        if (g_notes.firstChanged < 0 || index < g_notes.firstChanged)
            g_notes.firstChanged = index;
        if (g_notes.lastChanged < 0 || index > g_notes.lastChanged)
            g_notes.lastChanged = index;
    }
}

void teMarkRangeChanged(int what)
{
    MemHandle caret = teCaretLine();
    if (!caret)
        return;
    MemHandle a = 0, b = 0;
    switch (what) {
    case 1: a = b = caret; break;
    case 2: a = caret; b = teParaLastLine(caret); break;
    case 3: a = teParaFirstLine(caret); b = teParaLastLine(caret); break;
    case 4: a = caret; b = teGetLastLine(); break;
    case 5: a = teParaFirstLine(caret); b = teGetLastLine(); break;
    case 10:
        a = teGetFirstLine();
        b = teGetLastLine();
        teAddChangedArea(nullptr);
        break;
    default: return;
    }
    if (!a || !b)
        return;
    teMarkLinesChanged(a, b);
    RECT band;
    teRectBetween(a, b, &band);
    teAddChangedArea(&band);
}

// ---- areas --------------------------------------------------------------------------------------------

void teTextArea(HWND window, RECT *out)
{
    if (!out)
        return;
    teGetFrame(out);
    if (teHasSelection()) {
        RECT sel;
        teSelectionBounds(window, &sel);
        if (sel.right > sel.left && sel.bottom > sel.top)
            unite(out, sel);
    }
}

void teInvalidateText(HWND window, BOOL erase)
{
    RECT area;
    teTextArea(window, &area);
    invalidateTwips(window, area, erase);
}

// ---- repainting ---------------------------------------------------------------------------------------

void teCheckGrowth(HWND window)
{
    if (g_notes.oldExtent < 0)
        return;
    const int32_t extent = teDepthFrom(teGetFirstLine());
    RECT frame;
    teGetFrame(&frame);
    BOOL moved = FALSE, grows = FALSE;
    MemHandle from = teGetFirstLine();
    auto movedLine = [&]() {
        MemHandle l = teLineAt(g_notes.firstMoved);
        return l ? l : teGetLastLine();
    };
    if (!teIsVertical()) {
        if (teIsTopPlaced()) {
            if (g_notes.firstMoved < 0)
                return;
            from = movedLine();
            moved = frame.top + extent != g_notes.oldBounds.bottom;
            grows = frame.top + extent > frame.bottom;
        } else {
            moved = extent != g_notes.oldExtent;
            grows = extent > frame.bottom - frame.top;
        }
    } else if (teIsRightToLeft()) {
        if (keepsRightEdge()) {
            if (g_notes.firstMoved >= 0)
                from = movedLine();
            moved = frame.right - extent != g_notes.oldBounds.left;
            grows = frame.right - extent < frame.left;
        } else {
            moved = extent != g_notes.oldExtent;
            grows = extent > frame.right - frame.left;
        }
    } else {
        if (placedFromLeft()) {
            if (g_notes.firstMoved >= 0)
                from = movedLine();
            moved = frame.left + extent != g_notes.oldBounds.right;
            grows = frame.left + extent > frame.right;
        } else {
            moved = extent != g_notes.oldExtent;
            grows = extent > frame.right - frame.left;
        }
    }
    if (moved) {
        teAddChangedArea(&g_notes.oldBounds);
        teMarkLinesChanged(from, teGetLastLine());
    }
    if (grows) {
        if (teIsVertical())
            teGrowWidth(window, extent);
        else
            teGrowHeight(window, extent);
    }
}

void teFlushDisplay(HWND window)
{
    teCheckGrowth(window);
    addChangedBand();
    if (areaEmpty(g_notes.area))
        return;
    invalidateTwips(window, g_notes.area, TRUE);
    teResetDisplayNotes();
}

void teRepaintChanges(HWND window)
{
    if (wsIsTableEditing(window)) {
        teFlushDisplay(window);
        teResetDisplayNotes();
        return;
    }
    teCheckGrowth(window);
    if (g_notes.firstChanged < 0 && areaFlat())
        return;
    addChangedBand();
    HDC dc = teGetDC();
    if (!dc) {
        teResetDisplayNotes();
        return;
    }
    teHideCaret(window);
    if (!areaEmpty(g_notes.area))
        fillArea(dc, g_notes.area);
    drawRuled(dc);
    int32_t caret = teCaretLineIndex();
    int32_t a = g_notes.firstChanged < 0 ? caret : std::min(caret, g_notes.firstChanged);
    int32_t b = std::max(g_notes.lastChanged, caret);
    if (a < 0)
        a = b;
    if (b >= 0)
        drawIndexes(dc, a, b);
    teShowCaret(window);
    teResetDisplayNotes();
}

void teRepaintPending(HWND window)
{
    if (wsIsTableEditing(window)) {
        teFlushDisplay(window);
    } else if (g_notes.firstChanged >= 0 &&
               (g_notes.lastChanged < 0 || g_notes.firstChanged <= g_notes.lastChanged)) {
        HDC dc = teGetDC();
        if (dc) {
            teHideCaret(window);
            drawIndexes(dc, g_notes.firstChanged,
                        g_notes.lastChanged < 0 ? g_notes.firstChanged : g_notes.lastChanged);
            teShowCaret(window);
        }
    }
    teResetDisplayNotes();
}

void teRepaintAfterCommand(HWND window)
{
    HDC dc = teGetDC();
    int saved = 0;
    if (dc && window && GetFocus() != window) {
        // Parked: the DC follows the workspace's view for the repaint.
        saved = SaveDC(dc);
        wsApplyViewMapping(window);
        dmSetMapping(dc);
    }
    teCheckGrowth(window);
    addChangedBand();
    if (!wsIsTableEditing(window)) {
        if (dc) {
            teHideCaret(window);
            BOOL filled = FALSE;
            if (!areaEmpty(g_notes.area)) {
                fillArea(dc, g_notes.area);
                filled = TRUE;
            }
            drawRuled(dc);
            int32_t caret = teCaretLineIndex();
            if (g_notes.firstChanged >= 0 && g_notes.firstChanged == g_notes.lastChanged &&
                g_notes.firstChanged == caret)
                teDrawCaretLine(dc);
            else if (g_notes.firstChanged >= 0)
                drawIndexes(dc, g_notes.firstChanged,
                            g_notes.lastChanged < 0 ? g_notes.firstChanged
                                                    : g_notes.lastChanged);
            if (filled)
                tePaintSelection(window, dc);
            teShowCaret(window);
        }
    } else if (!areaEmpty(g_notes.area)) {
        invalidateTwips(window, g_notes.area, TRUE);
    }
    teResetDisplayNotes();
    if (saved)
        RestoreDC(dc, saved);
}

void teDrawLines(HDC dc, MemHandle first, MemHandle last)
{
    if (!dc || !first)
        return;
    const BOOL vertical = teIsVertical(), rtl = teIsRightToLeft();
    RECT frame;
    teGetFrame(&frame);
    int32_t edge = vertical ? teLineRight(first) : teLineTop(first);
    CharFormat run;
    teLineGetFormat(first, &run);
    UINT oldAlign = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    txBeginDraw(dc, &run);
    const int32_t *tabs = teLockTabs();
    int32_t count = tabs ? (int32_t)teGetTabCount() : 0;
    g_lastDrawnFirst = teLineIndex(first);
    for (MemHandle l = first; l; l = teLineNext(l)) {
        int32_t height = 0;
        {
            MemLock<TxLineRecord> r(l);
            if (!r)
                break;
            const char *t = teLineText(r.get());
            TxLineInfo li = *teLineInfo(r.get());
            height = li.H;
            int32_t skipped = 0;
            const char *after = txSkipApplyCodes(t, &run, &skipped);
            if (skipped > 0)
                txSelectFormatFont(dc, &run);
            int32_t n = li.n - skipped;
            if (n < 0)
                n = 0;
            if (!vertical) {
                int32_t x = gdiAlignX(frame, li.W, run.align);
                int32_t y = edge + li.nBLO;
                if (y >= -kTxMaxExtent && y <= kTxMaxExtent) {
                    txPaintLineRef(dc, x, y, after, n, &run, count, tabs, TRUE);
                    ++g_drawnLines;
                } else {
                    // Not drawn: the format still runs on through the line.
                    txApplyRange(nullptr, after, n, &run);
                    txSelectFormatFont(dc, &run);
                }
            } else {
                int32_t x = edge - li.nBLO;
                int32_t y = gdiAlignY(frame, li.W, run.align);
                txPaintLineRef(dc, x, y, after, n, &run, count, tabs, TRUE);
                ++g_drawnLines;
            }
        }
        if (l == last)
            break;
        if (!vertical)
            edge += height;
        else if (rtl)
            edge -= height;
        else
            edge += teLineHeight(teLineNext(l));
    }
    teUnlockTabs();
    txEndDraw(dc);
    SetBkMode(dc, oldMode);
    SetTextAlign(dc, oldAlign);
}

void teDrawCaretLine(HDC dc)
{
    MemHandle line = teCaretLine();
    if (!dc || !line || teLineLength(line) <= 0)
        return;
    RECT band, frame;
    teGetCaretBand(&band);
    teGetFrame(&frame);
    UINT oldAlign = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    const int32_t *tabs = teLockTabs();
    int32_t count = tabs ? (int32_t)teGetTabCount() : 0;
    {
        MemLock<TxLineRecord> r(line);
        CharFormat run = r->fmt;
        const char *t = teLineText(r.get());
        TxLineInfo li = *teLineInfo(r.get());
        int32_t skipped = 0;
        const char *after = txSkipApplyCodes(t, &run, &skipped);
        int32_t n = li.n - skipped;
        int32_t x, y;
        if (!teIsVertical()) {
            x = gdiAlignX(frame, li.W, run.align);
            y = band.top + li.nBLO;
        } else {
            x = band.left + li.H - li.nBLO;
            y = gdiAlignY(frame, li.W, run.align);
        }
        txWalkLineDraw(dc, x, y, after, n < 0 ? 0 : n, &run, count, tabs);
        ++g_drawnLines;
        g_lastDrawnFirst = teLineIndex(line);
    }
    teUnlockTabs();
    SetBkMode(dc, oldMode);
    SetTextAlign(dc, oldAlign);
}

void tePaintText(HWND window, HDC dc, const RECT *clip)
{
    MemHandle object = S().object;
    if (!dc || !object)
        return;
    teAcquireDC(window);
    RECT box = {0, 0, 0, 0};
    TxSavedDC saved = {};
    {
        ObLock rec(object);
        if (!rec)
            return;
        txSetupDC(dc, rec.get(), &box, &saved);
    }
    RECT frame;
    teGetFrame(&frame);
    RECT meet;
    if (clip && !IntersectRect(&meet, clip, &frame)) {
        txRestoreDC(dc, &saved);
        return;
    }
    MemHandle first = 0, last = 0;
    teLinesInRect(clip, &first, &last);
    RECT fill = frame;
    fill.right += dmGetPixelWidth();
    fill.bottom += dmGetPixelHeight();
    if (HBRUSH brush = teGetBkBrush())
        FillRect(dc, &fill, brush);
    HRGN region = nullptr, before = nullptr;
    int hadClip = 0;
    if (teIsClipToFrame()) {
        RECT d = toDevice(dc, frame);
        region = CreateRectRgnIndirect(&d);
        before = CreateRectRgn(0, 0, 0, 0);
        hadClip = before ? GetClipRgn(dc, before) : 0;
        if (region)
            ExtSelectClipRgn(dc, region, RGN_AND);
    }
    drawRuled(dc);
    SetBkMode(dc, TRANSPARENT);
    if (first)
        teDrawLines(dc, first, last);
    if (!teGetDragFlag()) {
        tePaintSelection(window, dc);
        if (window && GetFocus() == window)
            teCreateCaret(window);
        teResetDisplayNotes();
    } else {
        tePaintDragRange(window, dc, first, last);
    }
    if (region || before) {
        SelectClipRgn(dc, hadClip == 1 ? before : nullptr);
        if (region)
            DeleteObject(region);
        if (before)
            DeleteObject(before);
    }
    txRestoreDC(dc, &saved);
}

int32_t teGetDrawnLineCount() { return g_drawnLines; }
int32_t teGetLastDrawnFirst() { return g_lastDrawnFirst; }
