// Table geometry, invalidation and rescaling.
#include "table/tb_geometry.h"
#include "table/tb_block.h"
#include "table/tb_editmode_standins.h"
#include "table/tb_session.h"
#include "objects/fld_frame.h"
#include "model/ob_record.h"
#include "model/ob_shadow.h"
#include "tools/ep_handles.h"
#include "support/app_ui_state.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_column.h"
#include <math.h>
#include <string.h>
#include <algorithm>

void tbCellRect(const TableHead *head, const TableCell *cell, int column, int row,
                const RECT *table, const uint32_t *widths, const uint32_t *heights, RECT *out)
{
    int64_t x = table->left, y = table->top;
    for (int c = 0; c < column && c < head->columns; ++c)
        x += widths[c];
    for (int r = 0; r < row && r < head->rows; ++r)
        y += heights[r];
    int cs = 1, rs = 1;
    if (cell && (cell->colSpan || cell->rowSpan)) {
        cs = std::max<int>(cell->colSpan, 1);
        rs = std::max<int>(cell->rowSpan, 1);
    }
    int64_t w = 0, h = 0;
    for (int c = column; c < column + cs && c < head->columns; ++c)
        w += widths[c];
    for (int r = row; r < row + rs && r < head->rows; ++r)
        h += heights[r];
    out->left = (LONG)x;
    out->top = (LONG)y;
    out->right = (LONG)std::min<int64_t>(x + w, table->right);
    out->bottom = (LONG)std::min<int64_t>(y + h, table->bottom);
}

BOOL tbObjCellRect(MemHandle object, int column, int row, RECT *out)
{
    ObLock r(object);
    TbParts p;
    if (!r || !tbLocate(r.get(), r.extent(), &p) || column < 0 || row < 0 ||
        column >= p.head->columns || row >= p.head->rows)
        return FALSE;
    RECT table;
    obRecGetRect(r.get(), &table);
    tbCellRect(p.head, &p.cells[row * p.head->columns + column], column, row, &table, p.widths,
               p.heights, out);
    return TRUE;
}

BOOL tbSessCellRect(int column, int row, RECT *out)
{
    if (!tbSessCellValid(column, row))
        return FALSE;
    TableCell cell;
    tbSessCopyCell(&cell, column, row);
    RECT table;
    tbSessGetRect(&table);
    tbCellRect(tbSessHead(), &cell, column, row, &table, tbSessWidths(), tbSessHeights(), out);
    return TRUE;
}

BOOL tbCellTextRect(int column, int row, RECT *out)
{
    if (!tbSessCellRect(column, row, out))
        return FALSE;
    tbInsetRect(out);
    return TRUE;
}

int32_t tbTextInsetTwice() { return kTbTextInset; }

void tbInsetRect(RECT *r)
{
    r->left += kTbTextInset;
    r->top += kTbTextInset;
    r->right -= kTbTextInset;
    r->bottom -= kTbTextInset;
}

void tbOutsetRect(RECT *r)
{
    r->left -= kTbTextInset;
    r->top -= kTbTextInset;
    r->right += kTbTextInset;
    r->bottom += kTbTextInset;
}

BOOL tbCellPairRect(const TableCell *first, const TableCell *second, RECT *out)
{
    if (!tbCellIsValid(first) || !tbSessCellRect(first->column, first->row, out))
        return FALSE;
    RECT b;
    if (tbCellIsValid(second) && tbSessCellRect(second->column, second->row, &b)) {
        out->left = std::min(out->left, b.left);
        out->top = std::min(out->top, b.top);
        out->right = std::max(out->right, b.right);
        out->bottom = std::max(out->bottom, b.bottom);
    }
    return TRUE;
}

void tbColumnName(char *buffer, int column) { utColumnName(buffer, column + 1); }

// ---- invalidation ---------------------------------------------------------------------------

void tbInvalidateCell(HWND ws, int column, int row, BOOL erase)
{
    RECT r;
    if (ws && tbSessCellRect(column, row, &r))
        dmInvalidateLogRect(ws, &r, erase);
}

void tbInvalidateSelection(HWND ws, BOOL erase)
{
    RECT r;
    if (!ws || !tbSelectionRect(&r))
        return;
    dmInflateByHandle(&r);
    dmInvalidateLogRect(ws, &r, erase);
}

void tbInvalidateCellPair(HWND ws, const TableCell *first, const TableCell *second, BOOL erase)
{
    RECT r;
    if (!ws || !tbCellPairRect(first, second, &r))
        return;
    dmInflateByHandle(&r);
    dmInvalidateLogRect(ws, &r, erase);
}

void tbInvalidateRange(HWND ws, const TableCell *first, const TableCell *second, BOOL erase)
{
    int c0, r0, c1, r1;
    tbNormaliseRange(first, second, &c0, &r0, &c1, &r1);
    RECT a, b;
    if (!ws || c0 < 0 || !tbSessCellRect(c0, r0, &a) || !tbSessCellRect(c1, r1, &b))
        return;
    RECT r = {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
    if (obGetFlags(tbSessionObject()) & 0x08)
        obAddShadowToRect(&r);
    dmInflateByHandle(&r);
    dmInvalidateLogRect(ws, &r, erase);
}

void tbInvalidateColumn(HWND ws, int column)
{
    if (column < 0)
        return;
    TableCell a, b;
    tbSessCopyCell(&a, column, 0);
    tbSessCopyCell(&b, column, tbSessRows() - 1);
    a.column = b.column = (uint8_t)column;
    a.row = 0;
    b.row = (uint8_t)(tbSessRows() - 1);
    tbInvalidateRange(ws, &a, &b, TRUE);
}

void tbInvalidateRow(HWND ws, int row)
{
    if (row < 0)
        return;
    TableCell a, b;
    tbSessCopyCell(&a, 0, row);
    tbSessCopyCell(&b, tbSessColumns() - 1, row);
    a.column = 0;
    b.column = (uint8_t)(tbSessColumns() - 1);
    a.row = b.row = (uint8_t)row;
    tbInvalidateRange(ws, &a, &b, TRUE);
}

namespace {
void invalidateHandles(HWND ws, int a, int b)
{
    MemHandle object = tbSessionObject();
    if (!ws || !object)
        return;
    epCalcHandles(object);
    for (int i : {a, b}) {
        RECT r;
        epHandleRect(i, &r);
        dmInvalidateLogRect(ws, &r, TRUE);
    }
}
}  // namespace

void tbInvalidateHandlesRB(HWND ws) { invalidateHandles(ws, 5, 7); }
void tbInvalidateHandlesLT(HWND ws) { invalidateHandles(ws, 4, 6); }

// ---- rescaling -------------------------------------------------------------------------------

namespace {

void scaleSizes(uint32_t *values, int n, uint32_t *dflt, double factor, int32_t start, int32_t limit)
{
    *dflt = (uint32_t)std::max<long long>(llround(*dflt * factor), 0);
    for (int i = 0; i < n; ++i)
        values[i] = (uint32_t)std::max<long long>(llround(values[i] * factor), 0);
    tbClampSizes(start, limit, values, n);
}

}  // namespace

MemHandle tbRescale(MemHandle object, const RECT *target)
{
    if (!object || !target)
        return object;
    RECT nr = {std::min(target->left, target->right), std::min(target->top, target->bottom),
               std::max(target->left, target->right), std::max(target->top, target->bottom)};
    HWND ws = appGetActiveWorkspace();
    bool own = tbSessionObject() != object;
    if (own) {
        if (tbSessionObject())
            tbCommitSession(ws);
        if (!tbBeginSession(object))
            return object;
    }
    TableHead *h = tbSessHead();
    RECT old;
    tbSessGetRect(&old);
    int32_t oldW = old.right - old.left, oldH = old.bottom - old.top;
    int32_t newW = nr.right - nr.left, newH = nr.bottom - nr.top;
    double fx = 1.0, fy = 1.0;
    if (newW != oldW && oldW > 0) {
        fx = (double)newW / oldW;
        scaleSizes(tbSessWidths(), h->columns, &h->defaultWidth, fx, nr.left, nr.right);
    }
    if (newH != oldH && oldH > 0) {
        fy = (double)newH / oldH;
        scaleSizes(tbSessHeights(), h->rows, &h->defaultHeight, fy, nr.top, nr.bottom);
    }
    if ((h->frameStyle & 0xFF) == FLD_FRAME_ROUND) {
        uint32_t cw = h->cornerSize & 0xFFFF, ch = h->cornerSize >> 16;
        if (oldW > 0)
            cw = (uint32_t)((int64_t)cw * newW / oldW);
        if (oldH > 0)
            ch = (uint32_t)((int64_t)ch * newH / oldH);
        h->cornerSize = (cw & 0xFFFF) | ((ch & 0xFFFF) << 16);
    } else {
        h->cornerSize = 0;
    }
    int64_t sw = 0, sh = 0;
    for (int c = 0; c < h->columns; ++c)
        sw += tbSessWidths()[c];
    for (int r = 0; r < h->rows; ++r)
        sh += tbSessHeights()[r];
    nr.right = (LONG)(nr.left + sw);
    nr.bottom = (LONG)(nr.top + sh);
    tbSessSetRect(&nr);
    obSetRect(object, &nr);
    tbRefitCellTexts(ws, nullptr, nullptr);
    if (own)
        return tbCommitSession(ws);
    if (tbHasCurrentCell())
        tbMoveCellEditor(ws);
    return object;
}
