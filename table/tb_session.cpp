// The table edit session.
#include "table/tb_session.h"
#include "table/tb_block.h"
#include "table/tb_editmode_standins.h"
#include "table/tb_geometry.h"
#include "text/tx_stream.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "views/ws_record.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

const UINT kStrDataMismatch = 960;
const UINT kStrTextMismatch = 964;

struct Session {
    MemHandle object;
    RECT rect;
    COLORREF colours[3];
    MemHandle head, widths, heights, cells, texts, data;
    TableHead *headP;
    uint32_t *widthsP, *heightsP;
    uint32_t textSize, dataSize;
    TableCell sel[2];
    int curCol, curRow;
    TableCell *cellsP;   // while the cells are locked for a caller
};

Session g{};

void emptyCell(TableCell *c)
{
    memset(c, 0, sizeof *c);
    c->column = c->row = 255;
    c->textOffset = kTbNoText;
    c->dataOffset = kTbNoData;
}

int cols() { return g.headP ? g.headP->columns : 0; }
int rows() { return g.headP ? g.headP->rows : 0; }

// The cells for the scope of one internal access.
struct Cells {
    Cells() : lock(g.cells) {}
    TableCell *at(int c, int r) const { return lock.get() + r * cols() + c; }
    TableCell *all() const { return lock.get(); }
    MemLock<TableCell> lock;
};

int32_t textLengthAt(const uint8_t *store, uint32_t size, int32_t off)
{
    if (!store || off < 0 || (uint32_t)off >= size)
        return -1;
    return txCheckStreamBounded(reinterpret_cast<const char *>(store) + off, size - (uint32_t)off);
}

// Replaces oldLen bytes at off by newLen bytes of src in a store that may
// not exist yet; the size follows. False when memory fails (nothing changed).
bool storeSplice(MemHandle *h, uint32_t *size, uint32_t off, uint32_t oldLen, const void *src,
                 uint32_t newLen)
{
    if (!*h) {
        if (!newLen)
            return true;
        MemHandle n = utAllocHandle(0, newLen);
        if (!n)
            return false;
        *h = n;
        *size = 0;
    }
    MemHandle r = utReplaceBytes(*h, *size, off, oldLen, src, newLen);
    if (!r)
        return false;
    *h = r;
    *size = *size - oldLen + newLen;
    return true;
}

void resolveRange(const TableCell *a, const TableCell *b, int *c0, int *r0, int *c1, int *r1)
{
    tbNormaliseRange(a, b, c0, r0, c1, r1);
}

}  // namespace

// ---- lifetime ------------------------------------------------------------------------------

BOOL tbBeginSession(MemHandle object)
{
    tbEndSession();
    ObLock r(object);
    TbParts p;
    if (!r || !tbLocate(r.get(), r.extent(), &p))
        return FALSE;
    g.object = object;
    obRecGetRect(r.get(), &g.rect);
    g.colours[0] = r->penColour;
    g.colours[1] = r->fillColour;
    g.colours[2] = r->backColour;
    uint32_t c = (uint32_t)p.head->columns, n = (uint32_t)p.head->rows;
    g.head = utHandleFromBytes(p.head, tbHeadSize(p.head));
    g.widths = g.head ? utHandleFromBytes(p.widths, 4 * c) : 0;
    g.heights = g.widths ? utHandleFromBytes(p.heights, 4 * n) : 0;
    g.cells = g.heights ? utHandleFromBytes(p.cells, c * n * kTbCellSize) : 0;
    if (!g.cells) {
        tbEndSession();
        return FALSE;
    }
    g.textSize = p.head->textBytes;
    g.dataSize = p.head->dataBytes;
    g.texts = g.textSize ? utHandleFromBytes(p.texts, g.textSize) : 0;
    g.data = g.dataSize ? utHandleFromBytes(p.data, g.dataSize) : 0;
    if ((g.textSize && !g.texts) || (g.dataSize && !g.data)) {
        tbEndSession();
        return FALSE;
    }
    g.headP = static_cast<TableHead *>(utLock(g.head));
    g.widthsP = static_cast<uint32_t *>(utLock(g.widths));
    g.heightsP = static_cast<uint32_t *>(utLock(g.heights));
    tbClearSelection();
    g.curCol = g.curRow = -1;
    return TRUE;
}

MemHandle tbSessionObject() { return g.object; }
int16_t tbSessionType() { return g.object ? obGetType(g.object) : 0; }

void tbEndSession()
{
    tbSessUnlockCells();
    if (g.headP)
        utUnlock(g.head);
    if (g.widthsP)
        utUnlock(g.widths);
    if (g.heightsP)
        utUnlock(g.heights);
    for (MemHandle h : {g.head, g.widths, g.heights, g.cells, g.texts, g.data})
        utFreeHandle(h);
    g = Session{};
    emptyCell(&g.sel[0]);
    emptyCell(&g.sel[1]);
    g.curCol = g.curRow = -1;
}

MemHandle tbRebuild(HWND ws, MemHandle object)
{
    if (!g.object || !object)
        return 0;
    tbStoreCellText(ws);
    // Both stores must agree with their cells before anything is written:
    // a mismatch is reported and the object kept as it was.
    if (tbCopyDataStore(nullptr) < 0 || tbCopyTextStore(nullptr) < 0)
        return 0;
    TableHead *h = g.headP;
    h->cellBytes = tbRangeCellBytes(nullptr, nullptr);
    h->dataBytes = tbRangeDataBytes(nullptr, nullptr);
    h->textBytes = tbRangeTextBytes(nullptr, nullptr);
    uint32_t nameAt;
    {
        ObLock r(object);
        if (!r)
            return 0;
        nameAt = obDataOffset(r.get());
    }
    uint32_t headSize = tbHeadSize(h);
    uint32_t c = (uint32_t)h->columns, n = (uint32_t)h->rows;
    uint64_t size64 = (uint64_t)nameAt + headSize + 4ull * (c + n) + h->cellBytes + h->dataBytes +
                      h->textBytes;
    if (size64 > 0x7FFFFFFF)
        return 0;
    MemHandle now = obResize(object, (uint32_t)size64);
    if (!now)
        return 0;
    {
        MemLock<uint8_t> b(now);
        uint8_t *base = b.get();
        ObjectRecord *rec = reinterpret_cast<ObjectRecord *>(base);
        rec->length = (uint32_t)size64;
        obRecSetRect(rec, &g.rect);
        uint8_t *q = base + nameAt;
        memcpy(q, h, headSize);
        q += headSize;
        memcpy(q, g.widthsP, 4 * c);
        q += 4 * c;
        memcpy(q, g.heightsP, 4 * n);
        q += 4 * n;
        {
            Cells cells;
            memcpy(q, cells.all(), h->cellBytes);
        }
        q += h->cellBytes;
        tbCopyDataStore(q);
        q += h->dataBytes;
        tbCopyTextStore(q);
        // The font-uniformity bits of the written head.
        TableHead *wh = reinterpret_cast<TableHead *>(base + nameAt);
        const TableCell *wc = reinterpret_cast<const TableCell *>(base + nameAt + headSize + 4 * (c + n));
        bool plainSame = true, entrySame = true;
        for (uint32_t i = 0; i < c * n; ++i) {
            bool same = memcmp(&wc[i].font, &wh->font, sizeof(LOGFONTA)) == 0;
            if (wc[i].dataOffset >= 0)
                entrySame = entrySame && same;
            else
                plainSame = plainSame && same;
        }
        wh->fontUniform = (uint8_t)((plainSame ? 1 : 0) | (entrySame ? 2 : 0));
        h->fontUniform = wh->fontUniform;
    }
    if (now != g.object) {
        g.object = now;
        if (ws)
            wsSetCurrentObject(ws, now);
    }
    return now;
}

MemHandle tbCommitSession(HWND ws)
{
    MemHandle object = g.object;
    if (!object)
        return 0;
    tbEndCellEdit(ws);
    MemHandle now = tbRebuild(ws, object);
    object = g.object;
    tbEndSession();
    return now ? now : object;
}

MemHandle tbReapplyHead(HWND ws, MemHandle object)
{
    if (g.object && g.object != object)
        tbCommitSession(ws);
    tbClearCurrentCell();
    if (!tbBeginSession(object))
        return object;
    tbRefitCellTexts(ws, nullptr, nullptr);
    return tbCommitSession(ws);
}

MemHandle tbNormaliseCovering(HWND ws, MemHandle object)
{
    TableCell first;
    if (!tbGetCell(object, 0, 0, &first) || (first.column == 0 && first.row == 0))
        return object;
    if (g.object && g.object != object)
        tbCommitSession(ws);
    if (!tbBeginSession(object))
        return object;
    {
        Cells cells;
        int nc = cols(), nr = rows();
        for (int r = 0; r < nr; ++r)
            for (int c = 0; c < nc; ++c) {
                TableCell *x = cells.at(c, r);
                x->column = (uint8_t)c;
                x->row = (uint8_t)r;
                if (x->textOffset == kTbCovered)
                    x->textOffset = kTbNoText;
            }
    }
    int nc = cols(), nr = rows();
    for (int r = 0; r < nr; ++r)
        for (int c = 0; c < nc; ++c) {
            TableCell anchor;
            tbSessCopyCell(&anchor, c, r);
            if (!anchor.colSpan && !anchor.rowSpan)
                continue;
            int c1 = std::min(nc - 1, c + std::max<int>(anchor.colSpan, 1) - 1);
            int r1 = std::min(nr - 1, r + std::max<int>(anchor.rowSpan, 1) - 1);
            for (int y = r; y <= r1; ++y)
                for (int x = c; x <= c1; ++x) {
                    if (x == c && y == r)
                        continue;
                    tbSetCellData(x, y, nullptr);
                    tbSetCellText(x, y, nullptr);
                    Cells cells;
                    TableCell *t = cells.at(x, y);
                    t->column = (uint8_t)c;
                    t->row = (uint8_t)r;
                    t->border = anchor.border;
                    t->align = anchor.align;
                    t->font = anchor.font;
                    t->colSpan = t->rowSpan = 0;
                    t->textOffset = kTbCovered;
                }
        }
    return tbCommitSession(ws);
}

// ---- the session's table -------------------------------------------------------------------

TableHead *tbSessHead() { return g.headP; }
uint32_t *tbSessWidths() { return g.widthsP; }
uint32_t *tbSessHeights() { return g.heightsP; }
int tbSessColumns() { return cols(); }
int tbSessRows() { return rows(); }
void tbSessGetRect(RECT *out) { *out = g.rect; }
void tbSessSetRect(const RECT *r) { g.rect = *r; }
const COLORREF *tbSessColours() { return g.colours; }

// ---- cells -----------------------------------------------------------------------------------

TableCell *tbSessCell(int column, int row)
{
    if (!tbSessCellValid(column, row))
        return nullptr;
    if (!g.cellsP)
        g.cellsP = static_cast<TableCell *>(utLock(g.cells));
    return g.cellsP ? g.cellsP + row * cols() + column : nullptr;
}

void tbSessUnlockCells()
{
    if (g.cellsP)
        utUnlock(g.cells);
    g.cellsP = nullptr;
}

BOOL tbSessCellValid(int column, int row)
{
    return g.headP && column >= 0 && row >= 0 && column < cols() && row < rows();
}

BOOL tbSessSameCell(const TableCell *a, const TableCell *b)
{
    return a && b && a->column == b->column && a->row == b->row;
}

BOOL tbCellIsValid(const TableCell *cell)
{
    return cell && tbSessCellValid(cell->column, cell->row);
}

void tbSessCopyCell(TableCell *out, int column, int row)
{
    if (tbSessCellValid(column, row)) {
        Cells cells;
        memcpy(out, cells.at(column, row), sizeof *out);
        return;
    }
    const TableHead *h = g.headP;
    tbMakeCell(out, 255, 255, h ? h->borderWord : 0, h ? h->alignWord : 0, h ? h->editStyle : 0,
               g.colours[0], g.colours[1], g.colours[2], 0, 0, h ? &h->font : nullptr);
}

void tbResetCellCopy(TableCell *cell)
{
    if (!cell)
        return;
    cell->column = cell->row = 255;
    cell->colSpan = cell->rowSpan = 0;
    cell->textOffset = kTbNoText;
    cell->dataOffset = kTbNoData;
}

void tbSessCopyCells(TableCell *out)
{
    if (!g.cells || !out)
        return;
    Cells cells;
    memcpy(out, cells.all(), (size_t)cols() * rows() * sizeof(TableCell));
}

// ---- texts ---------------------------------------------------------------------------------

BOOL tbSetCellText(int column, int row, const char *stream)
{
    if (!tbSessCellValid(column, row))
        return FALSE;
    int32_t newLen = stream ? txstrlen(stream) : 0;
    int32_t off;
    {
        Cells cells;
        off = cells.at(column, row)->textOffset;
    }
    if (off < 0) {
        if (newLen == 0)
            return TRUE;   // stays without text (a covered cell keeps its mark)
        if (off == kTbCovered)
            return FALSE;  // a covered cell has no text of its own
        uint32_t at = g.textSize;
        if (!storeSplice(&g.texts, &g.textSize, at, 0, stream, (uint32_t)newLen + 1))
            return FALSE;
        Cells cells;
        cells.at(column, row)->textOffset = (int32_t)at;
        return TRUE;
    }
    int32_t oldLen;
    {
        MemLock<uint8_t> t(g.texts);
        oldLen = textLengthAt(t.get(), g.textSize, off);
    }
    if (oldLen < 0)
        return FALSE;
    if (newLen == 0) {
        if (!storeSplice(&g.texts, &g.textSize, (uint32_t)off, (uint32_t)oldLen + 1, nullptr, 0))
            return FALSE;
        Cells cells;
        for (int i = 0, n = cols() * rows(); i < n; ++i)
            if (cells.all()[i].textOffset > off)
                cells.all()[i].textOffset -= oldLen + 1;
        cells.at(column, row)->textOffset = kTbNoText;
        return TRUE;
    }
    if (!storeSplice(&g.texts, &g.textSize, (uint32_t)off, (uint32_t)oldLen, stream, (uint32_t)newLen))
        return FALSE;
    int32_t delta = newLen - oldLen;
    if (delta) {
        Cells cells;
        for (int i = 0, n = cols() * rows(); i < n; ++i)
            if (cells.all()[i].textOffset > off)
                cells.all()[i].textOffset += delta;
    }
    return TRUE;
}

const char *tbGetCellTextPtr(int column, int row)
{
    if (!tbSessCellValid(column, row) || !g.texts)
        return nullptr;
    int32_t off;
    {
        Cells cells;
        off = cells.at(column, row)->textOffset;
    }
    if (off < 0 || (uint32_t)off >= g.textSize)
        return nullptr;
    // The store stays put while nothing grows it; the pointer is read at once.
    MemLock<char> t(g.texts);
    return t.get() + off;
}

int32_t tbCellTextLength(int column, int row)
{
    if (!tbSessCellValid(column, row) || !g.texts)
        return 0;
    int32_t off;
    {
        Cells cells;
        off = cells.at(column, row)->textOffset;
    }
    MemLock<uint8_t> t(g.texts);
    return std::max(textLengthAt(t.get(), g.textSize, off), 0);
}

int32_t tbCopyCellText(int column, int row, char *buffer, uint32_t size)
{
    if (!buffer || !size)
        return 0;
    buffer[0] = 0;
    int32_t n = tbCellTextLength(column, row);
    if (n <= 0 || (uint32_t)n >= size)
        return 0;
    memcpy(buffer, tbGetCellTextPtr(column, row), (size_t)n + 1);
    return n;
}

MemHandle tbGetCellText(int column, int row)
{
    int32_t n = tbCellTextLength(column, row);
    if (n <= 0)
        return 0;
    return utHandleFromBytes(tbGetCellTextPtr(column, row), (uint32_t)n + 1);
}

uint32_t tbTextStoreSize() { return g.textSize; }

int64_t tbCopyTextStore(uint8_t *buffer)
{
    uint64_t sum = 0;
    bool bad = false;
    {
        Cells cells;
        MemLock<uint8_t> t(g.texts);
        for (int i = 0, n = cols() * rows(); i < n; ++i) {
            int32_t off = cells.all()[i].textOffset;
            if (off < 0)
                continue;
            int32_t len = textLengthAt(t.get(), g.textSize, off);
            if (len < 0)
                bad = true;
            else
                sum += (uint32_t)len + 1;
        }
    }
    if (bad || sum != g.textSize) {
        utErrorBoxId(nullptr, kStrTextMismatch);
        if (!bad)
            g.textSize = (uint32_t)sum;
        return -1;
    }
    if (buffer && g.textSize) {
        MemLock<uint8_t> t(g.texts);
        memcpy(buffer, t.get(), g.textSize);
    }
    return g.textSize;
}

// ---- data records -----------------------------------------------------------------------------

int32_t tbSetCellData(int column, int row, const TableCellData *record)
{
    if (!tbSessCellValid(column, row))
        return kTbNoData;
    int32_t off;
    {
        Cells cells;
        off = cells.at(column, row)->dataOffset;
    }
    uint32_t newSize = record ? tbCellDataSize(record) : 0;
    if (off < 0) {
        if (!record)
            return kTbNoData;
        uint32_t at = g.dataSize;
        if (!storeSplice(&g.data, &g.dataSize, at, 0, record, newSize))
            return kTbNoData;
        Cells cells;
        cells.at(column, row)->dataOffset = (int32_t)at;
        return (int32_t)at;
    }
    uint32_t oldSize;
    {
        MemLock<uint8_t> d(g.data);
        if (!d || (uint64_t)off + kTbDataHead > g.dataSize)
            return off;
        oldSize = tbCellDataSize(reinterpret_cast<const TableCellData *>(d.get() + off));
        if ((uint64_t)off + oldSize > g.dataSize)
            return off;
    }
    if (!storeSplice(&g.data, &g.dataSize, (uint32_t)off, oldSize, record, newSize))
        return off;
    int32_t delta = (int32_t)newSize - (int32_t)oldSize;
    Cells cells;
    if (delta)
        for (int i = 0, n = cols() * rows(); i < n; ++i)
            if (cells.all()[i].dataOffset > off)
                cells.all()[i].dataOffset += delta;
    if (!record)
        cells.at(column, row)->dataOffset = kTbNoData;
    return cells.at(column, row)->dataOffset;
}

const TableCellData *tbGetCellDataPtr(int column, int row)
{
    if (!tbSessCellValid(column, row) || !g.data)
        return nullptr;
    int32_t off;
    {
        Cells cells;
        off = cells.at(column, row)->dataOffset;
    }
    if (off < 0 || (uint64_t)off + kTbDataHead > g.dataSize)
        return nullptr;
    MemLock<uint8_t> d(g.data);
    return reinterpret_cast<const TableCellData *>(d.get() + off);
}

uint32_t tbSessCellDataSize(int column, int row) { return tbCellDataSize(tbGetCellDataPtr(column, row)); }

uint32_t tbCopyCellData(int column, int row, uint8_t *buffer, uint32_t size)
{
    const TableCellData *d = tbGetCellDataPtr(column, row);
    uint32_t n = tbCellDataSize(d);
    if (!d || !buffer || n > size)
        return 0;
    memcpy(buffer, d, n);
    return n;
}

MemHandle tbGetCellDataHandle(int column, int row)
{
    const TableCellData *d = tbGetCellDataPtr(column, row);
    return d ? utHandleFromBytes(d, tbCellDataSize(d)) : 0;
}

int32_t tbPutCellDataHandle(int column, int row, MemHandle record)
{
    if (!record)
        return tbSetCellData(column, row, nullptr);
    std::vector<uint8_t> bytes;
    {
        MemLock<uint8_t> r(record);
        uint32_t n = utHandleSize(record);
        if (!r || n < kTbDataHead)
            return kTbNoData;
        uint32_t size = tbCellDataSize(reinterpret_cast<const TableCellData *>(r.get()));
        if (size > n)
            return kTbNoData;
        bytes.assign(r.get(), r.get() + size);
    }
    return tbSetCellData(column, row, reinterpret_cast<const TableCellData *>(bytes.data()));
}

uint32_t tbDataStoreSize() { return g.dataSize; }

void tbSessStoreBytes(std::vector<uint8_t> *data, std::vector<uint8_t> *texts)
{
    data->clear();
    texts->clear();
    if (g.data && g.dataSize) {
        MemLock<uint8_t> d(g.data);
        data->assign(d.get(), d.get() + g.dataSize);
    }
    if (g.texts && g.textSize) {
        MemLock<uint8_t> t(g.texts);
        texts->assign(t.get(), t.get() + g.textSize);
    }
}

int64_t tbCopyDataStore(uint8_t *buffer)
{
    uint64_t sum = 0;
    bool bad = false;
    {
        Cells cells;
        MemLock<uint8_t> d(g.data);
        for (int i = 0, n = cols() * rows(); i < n; ++i) {
            int32_t off = cells.all()[i].dataOffset;
            if (off < 0)
                continue;
            if ((uint64_t)off + kTbDataHead > g.dataSize) {
                bad = true;
                continue;
            }
            uint32_t size = tbCellDataSize(reinterpret_cast<const TableCellData *>(d.get() + off));
            if ((uint64_t)off + size > g.dataSize)
                bad = true;
            sum += size;
        }
    }
    if (bad || sum != g.dataSize) {
        utErrorBoxId(nullptr, kStrDataMismatch);
        if (!bad)
            g.dataSize = (uint32_t)sum;
        return -1;
    }
    if (buffer && g.dataSize) {
        MemLock<uint8_t> d(g.data);
        memcpy(buffer, d.get(), g.dataSize);
    }
    return g.dataSize;
}

// ---- selection ---------------------------------------------------------------------------------

void tbClearSelection()
{
    emptyCell(&g.sel[0]);
    emptyCell(&g.sel[1]);
}

void tbNormaliseRange(const TableCell *first, const TableCell *second, int *c0, int *r0, int *c1,
                      int *r1)
{
    *c0 = *r0 = *c1 = *r1 = -1;
    int nc = cols(), nr = rows();
    if (!g.headP)
        return;
    int ac = first ? first->column : 0, ar = first ? first->row : 0;
    if (!tbSessCellValid(ac, ar))
        return;
    int bc = second ? second->column : nc - 1, br = second ? second->row : nr - 1;
    if (!tbSessCellValid(bc, br)) {
        bc = ac;
        br = ar;
    }
    int x0 = std::min(ac, bc), x1 = std::max(ac, bc), y0 = std::min(ar, br), y1 = std::max(ar, br);
    Cells cells;
    bool grew = true;
    while (grew) {
        grew = false;
        for (int y = y0; y <= y1 && !grew; ++y)
            for (int x = x0; x <= x1 && !grew; ++x) {
                if (y != y0 && y != y1 && x != x0 && x != x1)
                    continue;   // the boundary only
                const TableCell *c = cells.at(x, y);
                int ax = x, ay = y;
                if (c->textOffset == kTbCovered) {
                    ax = c->column;
                    ay = c->row;
                    if (!tbSessCellValid(ax, ay))
                        continue;
                    c = cells.at(ax, ay);
                }
                if (!c->colSpan && !c->rowSpan)
                    continue;
                int ex = std::min(nc - 1, ax + std::max<int>(c->colSpan, 1) - 1);
                int ey = std::min(nr - 1, ay + std::max<int>(c->rowSpan, 1) - 1);
                int nx0 = std::min(x0, ax), ny0 = std::min(y0, ay);
                int nx1 = std::max(x1, ex), ny1 = std::max(y1, ey);
                if (nx0 != x0 || ny0 != y0 || nx1 != x1 || ny1 != y1) {
                    x0 = nx0; y0 = ny0; x1 = nx1; y1 = ny1;
                    grew = true;
                }
            }
    }
    *c0 = x0; *r0 = y0; *c1 = x1; *r1 = y1;
}

void tbNormalisePair(int *c0, int *r0, int *c1, int *r1)
{
    TableCell a, b;
    emptyCell(&a);
    emptyCell(&b);
    a.column = (uint8_t)*c0; a.row = (uint8_t)*r0;
    b.column = (uint8_t)*c1; b.row = (uint8_t)*r1;
    if (*c0 < 0 || *r0 < 0)
        a.column = a.row = 255;
    if (*c1 < 0 || *r1 < 0)
        b.column = b.row = 255;
    tbNormaliseRange(&a, &b, c0, r0, c1, r1);
}

void tbNormaliseEnds(TableCell *first, TableCell *second)
{
    int c0, r0, c1, r1;
    tbNormaliseRange(first, second, &c0, &r0, &c1, &r1);
    if (c0 < 0)
        return;
    tbSessCopyCell(first, c0, r0);
    tbSessCopyCell(second, c1, r1);
}

void tbLastCell(TableCell *out) { tbSessCopyCell(out, cols() - 1, rows() - 1); }

namespace {

int kindOf(const TableCell *a, const TableCell *b)
{
    if (!tbCellIsValid(a))
        return 0;
    int c0, r0, c1, r1;
    tbNormaliseRange(a, b, &c0, &r0, &c1, &r1);
    int kind = 0;
    bool single = !tbCellIsValid(b) || tbSessSameCell(a, b);
    if (!single) {
        // Exactly one joined range.
        TableCell anchor;
        tbSessCopyCell(&anchor, c0, r0);
        if ((anchor.colSpan || anchor.rowSpan) &&
            c1 == std::min(cols() - 1, c0 + std::max<int>(anchor.colSpan, 1) - 1) &&
            r1 == std::min(rows() - 1, r0 + std::max<int>(anchor.rowSpan, 1) - 1))
            single = true;
    }
    if (single)
        kind |= TB_SEL_SINGLE;
    if (r0 == 0 && r1 == rows() - 1)
        kind |= TB_SEL_ALL_ROWS;
    if (c0 == 0 && c1 == cols() - 1)
        kind |= TB_SEL_ALL_COLUMNS;
    if (!single && (c1 > c0 || r1 > r0))
        kind |= TB_SEL_MULTI;
    return kind;
}

}  // namespace

int tbSetSelection(const TableCell *first, const TableCell *second)
{
    if (!tbCellIsValid(first)) {
        tbClearSelection();
        return 0;
    }
    int c0, r0, c1, r1;
    tbNormaliseRange(first, tbCellIsValid(second) ? second : first, &c0, &r0, &c1, &r1);
    tbSessCopyCell(&g.sel[0], c0, r0);
    tbSessCopyCell(&g.sel[1], c1, r1);
    return tbSelectionKind();
}

int tbSelectionKind() { return kindOf(&g.sel[0], &g.sel[1]); }

BOOL tbGetSelection(TableCell *first, TableCell *second)
{
    if (!tbCellIsValid(&g.sel[0])) {
        if (first)
            emptyCell(first);
        if (second)
            emptyCell(second);
        return FALSE;
    }
    if (first)
        tbSessCopyCell(first, g.sel[0].column, g.sel[0].row);
    if (second) {
        const TableCell &s = tbCellIsValid(&g.sel[1]) ? g.sel[1] : g.sel[0];
        tbSessCopyCell(second, s.column, s.row);
    }
    return TRUE;
}

BOOL tbSelectionRange(int *c0, int *r0, int *c1, int *r1)
{
    if (!tbCellIsValid(&g.sel[0])) {
        *c0 = *r0 = *c1 = *r1 = -1;
        return FALSE;
    }
    resolveRange(&g.sel[0], tbCellIsValid(&g.sel[1]) ? &g.sel[1] : &g.sel[0], c0, r0, c1, r1);
    return *c0 >= 0;
}

BOOL tbSelectionRect(RECT *out)
{
    if (!tbCellIsValid(&g.sel[0]))
        return FALSE;
    TableCell a = g.sel[0], b = tbCellIsValid(&g.sel[1]) ? g.sel[1] : g.sel[0];
    return tbCellPairRect(&a, &b, out);
}

BOOL tbCellInRange(int column, int row, const TableCell *first, const TableCell *second)
{
    int c0, r0, c1, r1;
    tbNormaliseRange(first, second, &c0, &r0, &c1, &r1);
    return c0 >= 0 && column >= c0 && column <= c1 && row >= r0 && row <= r1;
}

void tbSelectionName(char *buffer, uint32_t size)
{
    if (!buffer || !size)
        return;
    int c0, r0, c1, r1;
    if (!tbGetSelection(nullptr, nullptr) || !tbSelectionRange(&c0, &r0, &c1, &r1)) {
        utStrCopyN(buffer, " -- ", size);
        return;
    }
    char a[16], b[16];
    tbColumnName(a, c0);
    if (tbSelectionKind() & TB_SEL_SINGLE || (c0 == c1 && r0 == r1)) {
        snprintf(buffer, size, "%s%d", a, r0 + 1);
        return;
    }
    tbColumnName(b, c1);
    char first[32];
    snprintf(first, sizeof first, "%s%d - ", a, r0 + 1);
    snprintf(buffer, size, "%s%s%d", first, b, r1 + 1);
}

// ---- the current cell ------------------------------------------------------------------------------

BOOL tbHasCurrentCell() { return g.curCol >= 0 && g.curRow >= 0; }
BOOL tbIsCurrentCell(int column, int row) { return tbHasCurrentCell() && g.curCol == column && g.curRow == row; }

BOOL tbGetCurrentCell(int *column, int *row)
{
    if (column)
        *column = g.curCol;
    if (row)
        *row = g.curRow;
    return tbHasCurrentCell();
}

uint32_t tbCurrentCellIndex()
{
    return tbHasCurrentCell() ? (uint32_t)(g.curRow * cols() + g.curCol) : 0xFFFF;
}

void tbClearCurrentCell() { g.curCol = g.curRow = -1; }

void tbSessSetCurrentCell(int column, int row)
{
    if (tbSessCellValid(column, row)) {
        g.curCol = column;
        g.curRow = row;
    } else {
        tbClearCurrentCell();
    }
}

// ---- range measures and Clear --------------------------------------------------------------------

uint32_t tbRangeCellBytes(const TableCell *first, const TableCell *second)
{
    int c0, r0, c1, r1;
    tbNormaliseRange(first, second, &c0, &r0, &c1, &r1);
    if (c0 < 0)
        return 0;
    return (uint32_t)(c1 - c0 + 1) * (uint32_t)(r1 - r0 + 1) * kTbCellSize;
}

uint32_t tbRangeDataBytes(const TableCell *first, const TableCell *second)
{
    int c0, r0, c1, r1;
    tbNormaliseRange(first, second, &c0, &r0, &c1, &r1);
    uint32_t sum = 0;
    for (int r = r0; c0 >= 0 && r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            sum += tbSessCellDataSize(c, r);
    return sum;
}

uint32_t tbRangeTextBytes(const TableCell *first, const TableCell *second)
{
    int c0, r0, c1, r1;
    tbNormaliseRange(first, second, &c0, &r0, &c1, &r1);
    uint32_t sum = 0;
    for (int r = r0; c0 >= 0 && r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            TableCell cell;
            tbSessCopyCell(&cell, c, r);
            if (cell.textOffset >= 0)
                sum += (uint32_t)tbCellTextLength(c, r) + 1;
        }
    return sum;
}

int tbClearRange(HWND ws)
{
    int c0, r0, c1, r1;
    if (!tbSelectionRange(&c0, &r0, &c1, &r1))
        return 0;
    if (tbHasCurrentCell())
        tbClearEditorText(ws);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            TableCell cell;
            tbSessCopyCell(&cell, c, r);
            if (cell.textOffset >= 0)
                tbSetCellText(c, r, nullptr);
            if (cell.dataOffset >= 0)
                tbSetCellData(c, r, nullptr);
        }
    tbInvalidateSelection(ws, TRUE);
    return 1;
}
