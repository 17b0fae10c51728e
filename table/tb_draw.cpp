// Table drawing.
#include "table/tb_draw.h"
#include "table/tb_editmode_standins.h"
#include "table/tb_geometry.h"
#include "table/tb_session.h"
#include "objects/fld_frame.h"
#include "text/tx_paint.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "views/ws_record.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

const int32_t kInsetUnit = 40;              // 2 points
const COLORREF kGuideColour = RGB(255, 0, 255);
const COLORREF kDataMarkColour = RGB(255, 0, 0);
const COLORREF kSelectionColour = 0x4040FF;

// The state of one drawing pass (passes are never nested).
struct Pass {
    const TableHead *head;
    const uint32_t *widths, *heights;
    const TableCell *cells;
    const uint8_t *data, *texts;
    uint32_t textBytes;
    RECT table, inner;
    COLORREF colours[3];
    bool fill, edit, vertical;
    uint16_t border, align;
    int32_t lineHeight;
    HRGN clip, oldClip;
    bool hadClip, clipped;
    bool hasAlt;
    COLORREF alt;
    int altFirst;
    int skip;
    int32_t pxW, pxH;
};

Pass g{};
int g_nextSkip = -1;

bool isDouble(uint16_t style) { return (style >> 8) == kFldDoubleLine; }
int frameKind(uint16_t style) { return style & 0xFF; }

HPEN linePen(uint16_t style, COLORREF colour)
{
    int32_t width, penStyle;
    gdiDecodeLineWidth((uint16_t)(style & GDI_LINE_STYLE_MASK), &width, &penStyle);
    return CreatePen(penStyle, width, colour);
}

int32_t lineWidth(uint16_t style)
{
    int32_t width, penStyle;
    gdiDecodeLineWidth((uint16_t)(style & GDI_LINE_STYLE_MASK), &width, &penStyle);
    return width;
}

void pixelSize(HDC dc, int32_t *w, int32_t *h)
{
    POINT p[2] = {{0, 0}, {1, 1}};
    DPtoLP(dc, p, 2);
    *w = std::max<int32_t>(std::abs((int)(p[1].x - p[0].x)), 1);
    *h = std::max<int32_t>(std::abs((int)(p[1].y - p[0].y)), 1);
}

void fillRect(HDC dc, const RECT &r, COLORREF colour)
{
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    GdiSelect sb(dc, brush);
    GdiSelect sp(dc, GetStockObject(NULL_PEN));
    // The null pen leaves the right and bottom edges out: add a pixel.
    Rectangle(dc, r.left, r.top, r.right + g.pxW, r.bottom + g.pxH);
}

bool altRow(int row) { return g.hasAlt && row - g.altFirst >= 0 && (row - g.altFirst) % 2 == 0; }

const TableCell &cellAt(int c, int r) { return g.cells[r * g.head->columns + c]; }

// A dotted one-pixel guide line in device coordinates.
void guideLine(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    POINT p[2] = {{x1, y1}, {x2, y2}};
    LPtoDP(dc, p, 2);
    int saved = SaveDC(dc);
    SetMapMode(dc, MM_TEXT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    GdiObject<HPEN> pen(CreatePen(PS_DOT, 1, kGuideColour));
    GdiSelect sp(dc, pen);
    SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, p[0].x, p[0].y, nullptr);
    LineTo(dc, p[1].x, p[1].y);
    RestoreDC(dc, saved);
}

// One side of a cell border; a double line draws a second one 40 twips
// inside (inward = +1 right/down, -1 left/up), shortened by 40 at an end
// whose neighbouring side is also on.
void borderSide(HDC dc, bool horizontal, int32_t a, int32_t b, int32_t at, bool dbl, int inward,
                bool shortenA, bool shortenB)
{
    if (horizontal)
        gdiLine(dc, a, at, b, at);
    else
        gdiLine(dc, at, a, at, b);
    if (!dbl)
        return;
    int32_t a2 = a + (shortenA ? kInsetUnit : 0), b2 = b - (shortenB ? kInsetUnit : 0);
    int32_t at2 = at + inward * kInsetUnit;
    if (horizontal)
        gdiLine(dc, a2, at2, b2, at2);
    else
        gdiLine(dc, at2, a2, at2, b2);
}

bool headerRowDrawn()
{
    return g.head->headerRow && (g.head->headerRowStyle >> 8) != 0x0F && g.head->rows > 1;
}

bool headerColumnDrawn()
{
    return g.head->headerColumn && (g.head->headerColumnStyle >> 8) != 0x0F && g.head->columns > 1;
}

void drawBorders(HDC dc, const TableCell &cell, int c0, int r0, RECT rc)
{
    const TableHead *h = g.head;
    int lastC = h->columns - 1, lastR = h->rows - 1;
    int c1 = std::min(lastC, c0 + std::max<int>(cell.colSpan, 1) - 1);
    int r1 = std::min(lastR, r0 + std::max<int>(cell.rowSpan, 1) - 1);
    if (c0 == 0)
        rc.left = g.inner.left;
    if (r0 == 0)
        rc.top = g.inner.top;
    if (c1 == lastC)
        rc.right = g.inner.right;
    if (r1 == lastR)
        rc.bottom = g.inner.bottom;
    bool framed = frameKind(h->frameStyle) != 0;
    bool hRow = headerRowDrawn(), hCol = headerColumnDrawn();
    uint8_t bits = (uint8_t)(cell.border & 0xFF);
    bool top = (bits & 4) && !(r0 == 1 && hRow) && (r0 != 0 || !framed);
    int leftHeaderCol = g.vertical ? lastC : 1;
    bool left = (bits & 1) && !(hCol && c0 == leftHeaderCol) && (c0 != 0 || !framed);
    bool bottom = (bits & 8) && !(r1 == 0 && hRow) && !(r1 == lastR && framed);
    int rightHeaderCol = g.vertical ? lastC - 1 : 0;
    bool right = (bits & 2) && !(hCol && c1 == rightHeaderCol) && !(c1 == lastC && framed);

    bool custom = cell.border != g.border || cell.frameColour != g.colours[0];
    GdiObject<HPEN> pen(custom ? linePen(cell.border, cell.frameColour) : nullptr);
    GdiSelect sp(dc, custom ? (HGDIOBJ)pen.get() : nullptr);
    bool dbl = isDouble(cell.border);
    if (top)
        borderSide(dc, true, rc.left, rc.right, rc.top, dbl, 1, left, right);
    if (bottom)
        borderSide(dc, true, rc.left, rc.right, rc.bottom, dbl, -1, left, right);
    if (left)
        borderSide(dc, false, rc.top, rc.bottom, rc.left, dbl, 1, top, bottom);
    if (right)
        borderSide(dc, false, rc.top, rc.bottom, rc.right, dbl, -1, top, bottom);
    if (!g.edit)
        return;
    // Sides that are off show as guides while the table is edited.
    if (!(bits & 4))
        guideLine(dc, rc.left, rc.top, rc.right, rc.top);
    if (!(bits & 8))
        guideLine(dc, rc.left, rc.bottom, rc.right, rc.bottom);
    if (!(bits & 1))
        guideLine(dc, rc.left, rc.top, rc.left, rc.bottom);
    if (!(bits & 2))
        guideLine(dc, rc.right, rc.top, rc.right, rc.bottom);
}

// A header line with the line kind of style in colour; pens of n > 1 pixels
// leave n - 1 pixels at each end; the double kind adds a line 40 twips to
// the left or above.
void headerLine(HDC dc, bool horizontal, int32_t a, int32_t b, int32_t at, uint16_t style,
                COLORREF colour)
{
    GdiObject<HPEN> pen(linePen(style, colour));
    GdiSelect sp(dc, pen);
    int32_t w = lineWidth(style);
    int32_t px = horizontal ? g.pxW : g.pxH;
    int32_t n = px > 0 ? w / px : 1;
    if (n > 1) {
        a += (n - 1) * px;
        b -= (n - 1) * px;
    }
    if (horizontal)
        gdiLine(dc, a, at, b, at);
    else
        gdiLine(dc, at, a, at, b);
    if (isDouble(style)) {
        if (horizontal)
            gdiLine(dc, a, at - kInsetUnit, b, at - kInsetUnit);
        else
            gdiLine(dc, at - kInsetUnit, a, at - kInsetUnit, b);
    }
}

void drawHeaderLines(HDC dc)
{
    const TableHead *h = g.head;
    if (headerColumnDrawn()) {
        int32_t x = g.vertical ? g.table.right - (int32_t)g.widths[h->columns - 1]
                               : g.table.left + (int32_t)g.widths[0];
        int32_t y = g.table.top, start = g.table.top;
        for (int r = 0; r < h->rows; ++r) {
            const TableCell &c = cellAt(0, r);
            if (!g.vertical && c.textOffset != kTbCovered && c.colSpan >= 2) {
                if (y > start)
                    headerLine(dc, false, start, y, x, h->headerColumnStyle, h->headerColumnColour);
                int span = std::max<int>(c.rowSpan, 1);
                for (int k = 0; k < span && r < h->rows; ++k, ++r)
                    y += (int32_t)g.heights[r];
                --r;
                start = y;
                continue;
            }
            y += (int32_t)g.heights[r];
        }
        if (g.table.bottom > start)
            headerLine(dc, false, start, g.table.bottom, x, h->headerColumnStyle, h->headerColumnColour);
    }
    if (headerRowDrawn()) {
        int32_t y = g.table.top + (int32_t)g.heights[0];
        int32_t x = g.table.left, start = g.table.left;
        for (int c = 0; c < h->columns; ++c) {
            const TableCell &cell = cellAt(c, 0);
            if (cell.textOffset != kTbCovered && cell.rowSpan >= 2) {
                if (x > start)
                    headerLine(dc, true, start, x, y, h->headerRowStyle, h->headerRowColour);
                int span = std::max<int>(cell.colSpan, 1);
                for (int k = 0; k < span && c < h->columns; ++k, ++c)
                    x += (int32_t)g.widths[c];
                --c;
                start = x;
                continue;
            }
            x += (int32_t)g.widths[c];
        }
        if (g.table.right > start)
            headerLine(dc, true, start, g.table.right, y, h->headerRowStyle, h->headerRowColour);
    }
}

void drawCellBackgrounds(HDC dc)
{
    const TableHead *h = g.head;
    int32_t y = g.table.top;
    for (int r = 0; r < h->rows; ++r) {
        int32_t rh = (int32_t)g.heights[r];
        if (altRow(r)) {
            RECT band = {g.table.left, y, g.table.right, y + rh};
            fillRect(dc, band, g.alt);
        }
        for (int c = 0; c < h->columns; ++c) {
            const TableCell &cell = cellAt(c, r);
            if (cell.textOffset == kTbCovered || cell.backColour == g.colours[2])
                continue;
            RECT rc;
            tbCellRect(h, &cell, c, r, &g.table, g.widths, g.heights, &rc);
            fillRect(dc, rc, cell.backColour);
        }
        y += rh;
    }
}

void drawCellText(HDC dc, const TableCell &cell, const RECT &rc)
{
    if (cell.textOffset < 0 || (uint32_t)cell.textOffset >= g.textBytes)
        return;
    // A cell outside the clip lays out nothing.
    RECT clip, shown;
    if (GetClipBox(dc, &clip) != ERROR && !IntersectRect(&shown, &clip, &rc))
        return;
    const char *stream = reinterpret_cast<const char *>(g.texts) + cell.textOffset;
    RECT tr = rc;
    tbInsetRect(&tr);
    COLORREF colours[3] = {cell.frameColour, cell.foreColour, cell.backColour};
    txDrawStreamEx(dc, &tr, g.vertical, g.vertical, stream, &cell.font, cell.align, 0, 0, colours,
                   g.lineHeight, 0);
}

}  // namespace

void tbSetSkipCell(int index) { g_nextSkip = index; }

void tbBeginDrawPass(HDC dc, const RECT *table, const TableHead *head, const uint32_t *widths,
                     const uint32_t *heights, const TableCell *cells, const uint8_t *data,
                     const uint8_t *texts, uint32_t textBytes, const COLORREF colours[3],
                     BOOL editPass, BOOL noFill)
{
    g = Pass{};
    g.head = head;
    g.widths = widths;
    g.heights = heights;
    g.cells = cells;
    g.data = data;
    g.texts = texts;
    g.textBytes = textBytes;
    g.table = *table;
    g.inner = *table;
    if (isDouble(head->frameStyle) && frameKind(head->frameStyle) != 0) {
        g.inner.left += kInsetUnit;
        g.inner.top += kInsetUnit;
        g.inner.right -= kInsetUnit;
        g.inner.bottom -= kInsetUnit;
    }
    memcpy(g.colours, colours, sizeof g.colours);
    g.fill = !noFill;
    g.edit = editPass != FALSE;
    g.vertical = tbIsVerticalLayout(head) != FALSE;
    g.border = head->borderWord;
    g.align = head->alignWord;
    g.skip = g_nextSkip;
    g_nextSkip = -1;
    g.hasAlt = tbHeadAltRow(head, &g.alt, &g.altFirst) != FALSE;
    pixelSize(dc, &g.pxW, &g.pxH);
    {
        // One font, only to measure the line height.
        GdiObject<HFONT> font(CreateFontIndirectA(&head->font));
        GdiSelect sf(dc, font);
        TEXTMETRICA tm;
        if (GetTextMetricsA(dc, &tm))
            g.lineHeight = tm.tmHeight + tm.tmExternalLeading;
    }
    if (!dmIsMetafileMode() && GetObjectType(dc) != OBJ_METADC && GetObjectType(dc) != OBJ_ENHMETADC) {
        RECT d = g.inner;
        d.right += g.pxW;
        d.bottom += g.pxH;
        POINT p[2] = {{d.left, d.top}, {d.right, d.bottom}};
        LPtoDP(dc, p, 2);
        if (frameKind(head->frameStyle) == FLD_FRAME_ROUND) {
            int32_t cw, ch;
            fldFrameCornerSize(&g.inner, head->cornerSize, &cw, &ch);
            POINT c[2] = {{0, 0}, {cw, ch}};
            LPtoDP(dc, c, 2);
            g.clip = CreateRoundRectRgn(std::min(p[0].x, p[1].x), std::min(p[0].y, p[1].y),
                                        std::max(p[0].x, p[1].x), std::max(p[0].y, p[1].y),
                                        std::abs((int)(c[1].x - c[0].x)), std::abs((int)(c[1].y - c[0].y)));
        } else {
            g.clip = CreateRectRgn(std::min(p[0].x, p[1].x), std::min(p[0].y, p[1].y),
                                   std::max(p[0].x, p[1].x), std::max(p[0].y, p[1].y));
        }
    }
}

void tbEndDrawPass(HDC)
{
    if (g.clip)
        DeleteObject(g.clip);
    g.clip = nullptr;
    g.head = nullptr;
}

void tbDrawBody(HDC dc)
{
    if (!g.head)
        return;
    const TableHead *h = g.head;
    // The body is clipped to the frame's inside; the DC's own clip comes back after.
    HRGN saved = CreateRectRgn(0, 0, 0, 0);
    int had = saved ? GetClipRgn(dc, saved) : -1;
    if (g.clip)
        ExtSelectClipRgn(dc, g.clip, RGN_AND);
    if (g.fill) {
        fldFillFrame(dc, &g.table, h->frameStyle, h->cornerSize, g.colours[2]);
        drawCellBackgrounds(dc);
    }
    {
        GdiObject<HPEN> pen(linePen(g.border, g.colours[0]));
        GdiSelect sp(dc, pen);
        int oldBk = SetBkMode(dc, TRANSPARENT);
        int32_t y = g.table.top;
        for (int r = 0; r < h->rows; ++r) {
            int32_t x = g.table.left;
            for (int c = 0; c < h->columns; ++c) {
                const TableCell &cell = cellAt(c, r);
                if (cell.textOffset != kTbCovered) {
                    RECT rc;
                    tbCellRect(h, &cell, c, r, &g.table, g.widths, g.heights, &rc);
                    if (r * h->columns + c != g.skip)
                        drawCellText(dc, cell, rc);
                    drawBorders(dc, cell, c, r, rc);
                }
                x += (int32_t)g.widths[c];
            }
            y += (int32_t)g.heights[r];
        }
        drawHeaderLines(dc);
        SetBkMode(dc, oldBk);
    }
    if (had == 1)
        SelectClipRgn(dc, saved);
    else if (had == 0)
        SelectClipRgn(dc, nullptr);
    if (saved)
        DeleteObject(saved);
    fldDrawFrameBorder(dc, &g.table, h->frameStyle, h->cornerSize, g.colours);
}

void tbDraw(HDC dc, ObjectRecord *rec)
{
    TbParts p;
    if (!dc || !rec || !tbLocate(rec, rec->length, &p))
        return;   // a damaged table draws nothing
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    RECT table;
    obRecGetRect(rec, &table);
    if (rec->flags & 0x08)
        fldDrawFrameShadow(dc, &table, p.head->frameStyle, p.head->cornerSize);
    COLORREF colours[3] = {rec->penColour, rec->fillColour, rec->backColour};
    g_nextSkip = -1;
    tbBeginDrawPass(dc, &table, p.head, p.widths, p.heights, p.cells, p.data, p.texts,
                    p.head->textBytes, colours, FALSE, rec->fillKind == 0);
    tbDrawBody(dc);
    tbEndDrawPass(dc);
    obRestoreDCModes(dc, &modes);
}

namespace {

void drawDataMarks(HDC dc)
{
    int nc = tbSessColumns(), nr = tbSessRows();
    for (int r = 0; r < nr; ++r)
        for (int c = 0; c < nc; ++c) {
            const TableCellData *d = tbGetCellDataPtr(c, r);
            if (!d)
                continue;
            RECT rc;
            tbSessCellRect(c, r, &rc);
            rc.left += 2 * g.pxW;
            rc.top += 2 * g.pxH;
            rc.right -= 2 * g.pxW;
            rc.bottom -= 2 * g.pxH;
            {
                GdiObject<HPEN> pen(CreatePen(PS_DOT, 1, kDataMarkColour));
                GdiSelect sp(dc, pen);
                GdiSelect sb(dc, GetStockObject(NULL_BRUSH));
                int oldBk = SetBkMode(dc, TRANSPARENT);
                Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
                SetBkMode(dc, oldBk);
            }
            char eq[8];
            tbCellDataEquation(d, eq, sizeof eq);
            if (!(d->tagMask & kTbEquationTag) || !eq[0])
                continue;
            // The program's default face at 10 points.
            LOGFONTA lf{};
            lf.lfHeight = -200;
            LOGFONTA gui{};
            if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui))
                memcpy(lf.lfFaceName, gui.lfFaceName, sizeof lf.lfFaceName);
            GdiObject<HFONT> font(CreateFontIndirectA(&lf));
            GdiSelect sf(dc, font);
            COLORREF oldText = SetTextColor(dc, kDataMarkColour);
            int oldBk = SetBkMode(dc, TRANSPARENT);
            DrawTextA(dc, "#eq#", 4, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
            SetBkMode(dc, oldBk);
            SetTextColor(dc, oldText);
        }
}

void selectionFrames(HDC dc, const RECT &r)
{
    int32_t pw, ph;
    pixelSize(dc, &pw, &ph);
    int oldRop = SetROP2(dc, R2_NOTXORPEN);
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, kSelectionColour));
    GdiSelect sp(dc, pen);
    GdiSelect sb(dc, GetStockObject(NULL_BRUSH));
    for (int k = 1; k <= 2; ++k)
        Rectangle(dc, r.left + k * pw, r.top + k * ph, r.right - k * pw + pw, r.bottom - k * ph + ph);
    SetROP2(dc, oldRop);
}

}  // namespace

void tbXorCellPairFrames(HDC dc, const TableCell *first, const TableCell *second)
{
    RECT r;
    if (dc && tbCellPairRect(first, second, &r))
        selectionFrames(dc, r);
}

void tbXorSelection(HWND ws, HDC dc)
{
    RECT r;
    if (!tbSelectionRect(&r))
        return;
    HDC own = dc ? nullptr : wsGetDC(ws);
    HDC use = dc ? dc : own;
    if (!use)
        return;
    selectionFrames(use, r);
    if (own)
        ReleaseDC(ws, own);
}

void tbDrawEditMode(HWND ws, HDC dc, const RECT *)
{
    MemHandle object = tbSessionObject();
    TableHead *h = tbSessHead();
    if (!dc || !object || !h)
        return;
    ObLock rec(object);
    if (!rec)
        return;
    RECT table;
    tbSessGetRect(&table);
    if (rec->flags & 0x08)
        fldDrawFrameShadow(dc, &table, h->frameStyle, h->cornerSize);
    std::vector<TableCell> cells((size_t)tbSessColumns() * tbSessRows());
    tbSessCopyCells(cells.data());
    // The stores as they are now; a terminator after the texts keeps every
    // walk inside them.
    std::vector<uint8_t> data, texts;
    tbSessStoreBytes(&data, &texts);
    uint32_t textBytes = (uint32_t)texts.size();
    texts.push_back(0);
    int skip = -1;
    int cc, cr;
    if (tbGetCurrentCell(&cc, &cr))
        skip = cr * h->columns + cc;
    tbSetSkipCell(skip);
    tbBeginDrawPass(dc, &table, h, tbSessWidths(), tbSessHeights(), cells.data(), data.data(),
                    texts.data(), textBytes, tbSessColours(), TRUE, rec->fillKind == 0);
    tbDrawBody(dc);
    drawDataMarks(dc);
    tbEndDrawPass(dc);
    if (tbHasCurrentCell())
        tbPaintCellEditor(ws, dc);
    else
        tbXorSelection(ws, dc);
}
