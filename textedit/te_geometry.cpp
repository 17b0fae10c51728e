// The editor's line geometry: the lines' extent in the frame, bands of
// lines, the lines that meet a rectangle, and the frame growing with the
// text (never beyond 28800 twips).
#include "textedit/te_lines.h"
#include "textedit/te_session.h"
#include "model/ob_record.h"
#include "resources/resource.h"
#include "support/gdi_text.h"
#include "support/ut_msg.h"
#include "text/tx_draw_object.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_object.h"

#include <algorithm>

namespace {

TextEditSession &S() { return *teSession(); }

BOOL topPlaced() { return teIsTopPlaced(); }

BOOL mayResize() { return (S().textFlags & (TXF_FRAME_BOUND | TXF_FRAME_BOUND2)) == 0; }

}  // namespace

int32_t teMaxLineWidth()
{
    int32_t w = 0;
    for (MemHandle l = S().firstLine; l; l = teLineNext(l))
        if (teLineWidth(l) > w)
            w = teLineWidth(l);
    return w;
}

int32_t teDepthFrom(MemHandle line)
{
    int32_t d = 0;
    for (MemHandle l = line; l; l = teLineNext(l))
        d += teLineHeight(l);
    return d;
}

void teLinesRect(RECT *out)
{
    if (!out)
        return;
    int32_t depth = teDepthFrom(S().firstLine);
    *out = S().frame;
    if (!teIsVertical()) {
        out->top = topPlaced() ? S().frame.top
                               : gdiAlignY(S().frame, depth, S().baseFormat.align);
        out->bottom = out->top + depth;
    } else if (teIsRightToLeft()) {
        out->left = out->right - depth;
    } else {
        out->right = out->left + depth;
    }
}

void teRectFromLine(MemHandle line, RECT *out)
{
    if (!out)
        return;
    RECT lines;
    teLinesRect(&lines);
    *out = lines;
    if (!teIsVertical()) {
        if (line)
            out->top = teLineTop(line);
        else
            out->top = out->bottom = S().frame.top;
    } else if (teIsRightToLeft()) {
        if (line)
            out->right = teLineRight(line);
        else
            out->left = out->right = S().frame.right;
    } else {
        if (line)
            out->left = teLineLeft(line);
        else
            out->left = out->right = S().frame.left;
    }
}

void teRectBetween(MemHandle first, MemHandle last, RECT *out)
{
    if (!out)
        return;
    *out = S().frame;
    if (!teIsVertical()) {
        out->top = teLineTop(first);
        out->bottom = teLineBottom(last ? last : first);
    } else if (teIsRightToLeft()) {
        out->right = teLineRight(first);
        out->left = teLineLeft(last ? last : first);
    } else {
        out->left = teLineLeft(first);
        out->right = teLineRight(last ? last : first);
    }
}

MemHandle teLineAtTop(const RECT *r)
{
    if (!r)
        return 0;
    int32_t top = teLineTop(S().firstLine);
    for (MemHandle l = S().firstLine; l; l = teLineNext(l)) {
        if (top >= r->top)
            return l;
        top += teLineHeight(l);
    }
    return 0;
}

MemHandle teLineAtBottom(const RECT *r)
{
    if (!r)
        return 0;
    MemHandle found = 0;
    int32_t top = teLineTop(S().firstLine);
    for (MemHandle l = S().firstLine; l; l = teLineNext(l)) {
        top += teLineHeight(l);
        if (top > r->bottom)
            break;
        found = l;
    }
    return found;
}

void teLinesInRect(const RECT *r, MemHandle *first, MemHandle *last)
{
    MemHandle f = 0, g = 0;
    if (!r) {
        f = S().firstLine;
        g = S().lastLine;
    } else if (!teIsVertical()) {
        int32_t top = teLineTop(S().firstLine);
        for (MemHandle l = S().firstLine; l; l = teLineNext(l)) {
            int32_t bottom = top + teLineHeight(l);
            if (bottom > r->top && top < r->bottom) {
                if (!f)
                    f = l;
                g = l;
            } else if (top >= r->bottom) {
                break;
            }
            top = bottom;
        }
    } else if (teIsRightToLeft()) {
        int32_t right = teLineRight(S().firstLine);
        for (MemHandle l = S().firstLine; l; l = teLineNext(l)) {
            int32_t left = right - teLineHeight(l);
            if (left < r->right && right > r->left) {
                if (!f)
                    f = l;
                g = l;
            } else if (right <= r->left) {
                break;
            }
            right = left;
        }
    } else {
        int32_t left = teLineLeft(S().firstLine);
        for (MemHandle l = S().firstLine; l; l = teLineNext(l)) {
            int32_t right = left + teLineHeight(l);
            if (right > r->left && left < r->right) {
                if (!f)
                    f = l;
                g = l;
            } else if (left >= r->right) {
                break;
            }
            left = right;
        }
    }
    if (first)
        *first = f;
    if (last)
        *last = g;
}

// Invalidates a rectangle in twips on the edit window.
static void invalidateTwips(HWND window, RECT r)
{
    HDC dc = teGetDC();
    if (!window || !dc)
        return;
    LPtoDP(dc, reinterpret_cast<POINT *>(&r), 2);
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    InflateRect(&r, 1, 1);
    InvalidateRect(window, &r, TRUE);
}

int teSetFrame(HWND window, const RECT *r)
{
    if (!r || !mayResize() || EqualRect(r, &S().frame))
        return 0;
    MemHandle object = S().object;
    if (object) {
        RECT box = *r;
        TextHeader *h = txLockHeader(object);
        if (h) {
            InflateRect(&box, h->borderX * 20, h->borderY * 20);
            utUnlock(object);
        }
        txSetBoxSize(object, box.right - box.left, box.bottom - box.top);
        ObLock rec(object);
        if (rec) {
            rec->centreX = box.left + (box.right - box.left) / 2;
            rec->centreY = box.top + (box.bottom - box.top) / 2;
            if (rec->rotation) {
                RECT bounds;
                txGetBounds(&bounds, rec.get());
            } else {
                rec->width = box.right - box.left;
                rec->height = box.bottom - box.top;
            }
        }
    }
    RECT old = S().frame;
    S().frame = *r;
    if (!teIsSingleLine()) {
        if (teIsVertical()) {
            RECT strip = {std::min(old.left, r->left), std::min(old.top, r->top),
                          std::max(old.left, r->left), std::max(old.bottom, r->bottom)};
            if (old.left != r->left)
                invalidateTwips(window, strip);
            strip.left = std::min(old.right, r->right);
            strip.right = std::max(old.right, r->right);
            if (old.right != r->right)
                invalidateTwips(window, strip);
        } else {
            RECT strip = {std::min(old.left, r->left), std::min(old.top, r->top),
                          std::max(old.right, r->right), std::max(old.top, r->top)};
            if (old.top != r->top)
                invalidateTwips(window, strip);
            strip.top = std::min(old.bottom, r->bottom);
            strip.bottom = std::max(old.bottom, r->bottom);
            if (old.bottom != r->bottom)
                invalidateTwips(window, strip);
        }
    }
    teUpdateCaretLinePos();
    return 1;
}

int teGrowHeight(HWND window, int32_t depth)
{
    if (depth <= 0)
        depth = teDepthFrom(S().firstLine);
    if (depth >= kTxMaxExtent) {
        // Warned once: a frame already at the limit stays quiet.
        if (S().frame.bottom - S().frame.top >= kTxMaxExtent || !mayResize())
            return 0;
        char text[256];
        if (utLoadString(window, IDS_TX_HEIGHT_TOO_LARGE, text))
            utWarningBox(window, text);
        depth = kTxMaxExtent;
    }
    if (S().frame.bottom - S().frame.top >= depth || !mayResize())
        return 0;
    RECT r = S().frame;
    r.bottom = r.top + depth;
    if (window)
        SendMessageA(window, WM_COMMAND, 702, (LPARAM)&r);
    teSetFrame(window, &r);
    return 1;
}

int teGrowWidth(HWND window, int32_t width)
{
    if (width <= 0)
        width = teDepthFrom(S().firstLine);
    if (width >= kTxMaxExtent) {
        if (S().frame.right - S().frame.left >= kTxMaxExtent || !mayResize())
            return 0;
        utWarningBox(window, "Text width exceeds limit");
        width = kTxMaxExtent;
    }
    if (S().frame.right - S().frame.left >= width || !mayResize())
        return 0;
    RECT r = S().frame;
    if (teIsRightToLeft())
        r.left = r.right - width;
    else
        r.right = r.left + width;
    if (window)
        SendMessageA(window, WM_COMMAND, 2221, (LPARAM)&r);
    teSetFrame(window, &r);
    return 1;
}
