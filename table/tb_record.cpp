// The table record: checks, queries, cells, data records, attributes and
// the edit-a-copy protocol.
#include "table/tb_record.h"
#include "table/tb_session.h"
#include "table/tb_block.h"
#include "text/tx_header.h"
#include "text/tx_stream.h"
#include "objects/fld_frame.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "support/ut_bytes.h"
#include "views/ws_record.h"
#include "support/app_ui_state.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

// The report-table container held by attribute 0x8000: a u32 length, the
// header of its inner attributes, the rest of a 54-byte fixed part, then
// the inner records. Inner attribute 0x200 is the packed column list.
const uint32_t kContainerFixed = 54;
const uint32_t kContainerHeaderAt = 4;
const uint32_t kColumnListTag = 0x200;

uint32_t gridCells(const TableHead *h) { return (uint32_t)h->columns * (uint32_t)h->rows; }

// Offsets of the parts from the head's start, for a head already checked.
struct Layout {
    uint32_t widths, heights, cells, data, texts, end;
};

Layout layoutOf(const TableHead *h)
{
    Layout l;
    l.widths = kTbHeadSize + (uint32_t)h->attrBytes;
    l.heights = l.widths + 4u * (uint32_t)h->columns;
    l.cells = l.heights + 4u * (uint32_t)h->rows;
    l.data = l.cells + h->cellBytes;
    l.texts = l.data + h->dataBytes;
    l.end = l.texts + h->textBytes;
    return l;
}

BOOL headSane(const TableHead *h, uint32_t n)
{
    if (n < kTbHeadSize + kTbAttrFixed)
        return FALSE;
    if (h->columns < 1 || h->rows < 1 || h->columns > kTbMaxGrid || h->rows > kTbMaxGrid)
        return FALSE;
    if (h->attrBytes < (int16_t)kTbAttrFixed)
        return FALSE;
    if (h->cellBytes != gridCells(h) * kTbCellSize)
        return FALSE;
    uint64_t end = (uint64_t)kTbHeadSize + (uint32_t)h->attrBytes +
                   4ull * ((uint32_t)h->columns + (uint32_t)h->rows) + h->cellBytes +
                   h->dataBytes + h->textBytes;
    return end <= n;
}

MemHandle newCopy(const void *p, uint32_t n) { return utHandleFromBytes(p, n); }

// Replaces oldLen bytes at `at` of a record of `total` bytes by the new
// bytes: the record grows first (a failure changes nothing), `fix` then
// adjusts the locked record, and a shrunk record gives its tail back.
// Returns the handle valid afterwards.
template <typename Fix>
MemHandle spliceRecord(MemHandle object, uint32_t total, uint32_t at, uint32_t oldLen,
                       const std::vector<uint8_t> &bytes, Fix fix)
{
    int64_t delta = (int64_t)bytes.size() - (int64_t)oldLen;
    MemHandle h = object;
    if (delta > 0) {
        h = obResize(object, (uint32_t)(total + delta));
        if (!h)
            return object;
    }
    {
        MemLock<uint8_t> b(h);
        uint8_t *base = b.get();
        memmove(base + at + bytes.size(), base + at + oldLen, total - at - oldLen);
        memcpy(base + at, bytes.data(), bytes.size());
        ObjectRecord *rec = reinterpret_cast<ObjectRecord *>(base);
        rec->length = (uint32_t)(total + delta);
        fix(rec, delta);
    }
    if (delta < 0) {
        MemHandle s = obResize(h, (uint32_t)(total + delta));
        if (s)
            h = s;
    }
    return h;
}

}  // namespace

// ---- checks --------------------------------------------------------------------------

BOOL tbCheckPart(const uint8_t *part, uint32_t n)
{
    if (!part)
        return FALSE;
    const TableHead *h = reinterpret_cast<const TableHead *>(part);
    if (!headSane(h, n))
        return FALSE;
    const TableAttrBlock *ab = reinterpret_cast<const TableAttrBlock *>(part + kTbHeadSize);
    if ((uint32_t)ab->header.size + kTbAttrFixed != (uint32_t)h->attrBytes ||
        !attCheckRun(part + kTbAttrRecordsAt, ab->header.count, ab->header.size))
        return FALSE;
    Layout l = layoutOf(h);
    const uint8_t *texts = part + l.texts;
    const uint8_t *data = part + l.data;
    for (uint32_t i = 0, cells = gridCells(h); i < cells; ++i) {
        TableCell c;
        memcpy(&c, part + l.cells + i * kTbCellSize, sizeof c);
        if (c.textOffset >= 0) {
            if ((uint32_t)c.textOffset >= h->textBytes ||
                txCheckStreamBounded(reinterpret_cast<const char *>(texts + c.textOffset),
                                     h->textBytes - (uint32_t)c.textOffset) < 0)
                return FALSE;
        } else if (c.textOffset != kTbNoText && c.textOffset != kTbCovered) {
            return FALSE;
        }
        if (c.dataOffset >= 0) {
            uint32_t at = (uint32_t)c.dataOffset;
            if ((uint64_t)at + kTbDataHead > h->dataBytes)
                return FALSE;
            TableCellData d;
            memcpy(&d, data + at, sizeof d);
            if (d.attrBytes < 0 || (uint64_t)at + kTbDataHead + (uint32_t)d.attrBytes > h->dataBytes ||
                !attCheckRun(data + at + kTbDataHead, d.count, (uint32_t)d.attrBytes))
                return FALSE;
        } else if (c.dataOffset != kTbNoData) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL tbLocate(ObjectRecord *rec, uint32_t extent, TbParts *out)
{
    memset(out, 0, sizeof *out);
    if (!rec || (rec->type != OBT_TABLE && rec->type != OBT_REPORT))
        return FALSE;
    uint32_t at = obDataOffset(rec);
    if (at >= extent)
        return FALSE;
    uint8_t *part = reinterpret_cast<uint8_t *>(rec) + at;
    uint32_t n = extent - at;
    if (!tbCheckPart(part, n))
        return FALSE;
    TableHead *h = reinterpret_cast<TableHead *>(part);
    Layout l = layoutOf(h);
    out->head = h;
    out->widths = reinterpret_cast<uint32_t *>(part + l.widths);
    out->heights = reinterpret_cast<uint32_t *>(part + l.heights);
    out->cells = reinterpret_cast<TableCell *>(part + l.cells);
    out->data = part + l.data;
    out->texts = part + l.texts;
    out->size = l.end;
    return TRUE;
}

// ---- record queries ------------------------------------------------------------------

BOOL tbIsTable(MemHandle object)
{
    int16_t type = obGetType(object);
    return type == OBT_TABLE || type == OBT_REPORT;
}

int16_t tbGetColCount(MemHandle object)
{
    ObLock r(object);
    TbParts p;
    return r && tbLocate(r.get(), r.extent(), &p) ? p.head->columns : 0;
}

int16_t tbGetRowCount(MemHandle object)
{
    ObLock r(object);
    TbParts p;
    return r && tbLocate(r.get(), r.extent(), &p) ? p.head->rows : 0;
}

int tbCountDataCells(MemHandle object)
{
    ObLock r(object);
    TbParts p;
    if (!r || r->type != OBT_TABLE || !tbLocate(r.get(), r.extent(), &p))
        return 0;
    int n = 0;
    for (uint32_t i = 0, cells = gridCells(p.head); i < cells; ++i)
        n += p.cells[i].dataOffset >= 0;
    return n;
}

uint32_t tbHeadSize(const TableHead *head)
{
    return head ? kTbHeadSize + (uint32_t)std::max<int16_t>(head->attrBytes, 0) : 0;
}

uint32_t tbObjectSize(ObjectRecord *rec)
{
    if (!rec)
        return 0;
    const TableHead *h = reinterpret_cast<const TableHead *>(obRecData(rec));
    uint64_t size = (uint64_t)obDataOffset(rec) + tbHeadSize(h) + h->cellBytes + h->dataBytes +
                    h->textBytes + 4ull * ((uint32_t)std::max<int16_t>(h->columns, 0) +
                                           (uint32_t)std::max<int16_t>(h->rows, 0));
    rec->length = (uint32_t)std::min<uint64_t>(size, 0xFFFFFFFFu);
    return rec->length;
}

uint32_t tbGetObjectSize(MemHandle object)
{
    ObLock r(object);
    if (!r || r.blockSize() < obDataOffset(r.get()) + kTbHeadSize)
        return 0;
    return tbObjectSize(r.get());
}

uint32_t tbRecordSize(ObjectRecord *rec, uint32_t blockSize)
{
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + kTbHeadSize > blockSize)
        return std::min(rec->length, blockSize);
    uint32_t stored = rec->length;
    uint32_t size = tbObjectSize(rec);
    if (size > blockSize) {
        rec->length = std::min(stored, blockSize);
        return rec->length;
    }
    return size;
}

BOOL tbIsVerticalFace(const char *face) { return face && face[0] == '@'; }

BOOL tbIsVerticalLayout(const TableHead *h)
{
    return h && h->rowMajor == 0 && tbIsVerticalFace(h->font.lfFaceName) &&
           h->font.lfEscapement == 2700 && h->font.lfOrientation == 2700 &&
           (h->flags & kTbVerticalFlag);
}

BOOL tbIsVerticalObject(MemHandle object)
{
    ObLock r(object);
    if (!r || !(r->type == OBT_TABLE || r->type == OBT_REPORT) ||
        r.extent() < obDataOffset(r.get()) + kTbHeadSize)
        return FALSE;
    return tbIsVerticalLayout(reinterpret_cast<const TableHead *>(obRecData(r.get())));
}

int32_t tbFrameHalfWidth(const ObjectRecord *rec)
{
    if (!rec)
        return 0;
    const TableHead *h =
        reinterpret_cast<const TableHead *>(reinterpret_cast<const uint8_t *>(rec) + obDataOffset(rec));
    return fldFrameBorderHalfWidth(h->frameStyle);
}

// ---- cells and data records ------------------------------------------------------------

void tbMakeCell(TableCell *c, int column, int row, uint16_t border, uint16_t align,
                uint16_t editStyle, COLORREF frame, COLORREF fore, COLORREF back, int colSpan,
                int rowSpan, const LOGFONTA *font)
{
    memset(c, 0, sizeof *c);
    c->column = (uint8_t)column;
    c->row = (uint8_t)row;
    c->border = border;
    c->align = align;
    c->editStyle = editStyle;
    c->frameColour = frame;
    c->foreColour = fore;
    c->backColour = back;
    c->colSpan = (uint8_t)colSpan;
    c->rowSpan = (uint8_t)rowSpan;
    if (font)
        c->font = *font;
    c->textOffset = kTbNoText;
    c->dataOffset = kTbNoData;
}

BOOL tbGetCell(MemHandle object, int column, int row, TableCell *out)
{
    ObLock r(object);
    TbParts p;
    if (!r || !tbLocate(r.get(), r.extent(), &p) || column < 0 || row < 0 ||
        column >= p.head->columns || row >= p.head->rows)
        return FALSE;
    memcpy(out, &p.cells[row * p.head->columns + column], sizeof *out);
    return TRUE;
}

BOOL tbPutCell(MemHandle object, int column, int row, const TableCell *cell)
{
    ObLock r(object);
    TbParts p;
    if (!r || !cell || !tbLocate(r.get(), r.extent(), &p) || column < 0 || row < 0 ||
        column >= p.head->columns || row >= p.head->rows)
        return FALSE;
    memcpy(&p.cells[row * p.head->columns + column], cell, sizeof *cell);
    return TRUE;
}

TableCellData *tbCellDataPtr(ObjectRecord *rec, uint32_t extent, int column, int row)
{
    TbParts p;
    if (!tbLocate(rec, extent, &p) || column < 0 || row < 0 || column >= p.head->columns ||
        row >= p.head->rows)
        return nullptr;
    int32_t at = p.cells[row * p.head->columns + column].dataOffset;
    return at < 0 ? nullptr : reinterpret_cast<TableCellData *>(p.data + at);
}

uint32_t tbCellDataSize(const TableCellData *d)
{
    return d ? kTbDataHead + (uint32_t)std::max<int16_t>(d->attrBytes, 0) : 0;
}

MemHandle tbGetCellData(MemHandle object, int column, int row)
{
    ObLock r(object);
    if (!r)
        return 0;
    TableCellData *d = tbCellDataPtr(r.get(), r.extent(), column, row);
    return d ? newCopy(d, tbCellDataSize(d)) : 0;
}

MemHandle tbReplaceCellData(MemHandle object, int column, int row, MemHandle record)
{
    std::vector<uint8_t> bytes;
    {
        MemLock<TableCellData> s(record);
        uint32_t n = utHandleSize(record);
        if (!s || n < kTbDataHead || tbCellDataSize(s.get()) > n)
            return object;
        const uint8_t *b = reinterpret_cast<const uint8_t *>(s.get());
        bytes.assign(b, b + tbCellDataSize(s.get()));
    }
    uint32_t recAt, oldSize, total;
    {
        ObLock r(object);
        TbParts p;
        if (!r || !tbLocate(r.get(), r.extent(), &p) || column < 0 || row < 0 ||
            column >= p.head->columns || row >= p.head->rows)
            return object;
        int32_t at = p.cells[row * p.head->columns + column].dataOffset;
        if (at < 0)
            return object;
        oldSize = tbCellDataSize(reinterpret_cast<TableCellData *>(p.data + at));
        recAt = (uint32_t)(p.data - reinterpret_cast<uint8_t *>(r.get())) + (uint32_t)at;
        total = r->length;
    }
    return spliceRecord(object, total, recAt, oldSize, bytes, [&](ObjectRecord *rec, int64_t delta) {
        TableHead *head = reinterpret_cast<TableHead *>(obRecData(rec));
        Layout l = layoutOf(head);
        uint8_t *part = obRecData(rec);
        int32_t mine = (int32_t)(recAt - obDataOffset(rec) - l.data);
        head->dataBytes = (uint32_t)((int64_t)head->dataBytes + delta);
        TableCell *cells = reinterpret_cast<TableCell *>(part + l.cells);
        if (delta)
            for (uint32_t i = 0, n = gridCells(head); i < n; ++i)
                if (cells[i].dataOffset > mine)
                    cells[i].dataOffset = (int32_t)(cells[i].dataOffset + delta);
    });
}

void tbCellDataEquation(const TableCellData *d, char *buffer, uint32_t size)
{
    if (!buffer || !size)
        return;
    buffer[0] = 0;
    if (!d || d->count == 0 || d->attrBytes <= 0 || !(d->tagMask & kTbEquationTag))
        return;
    int length = 0;
    const uint8_t *eq = attGetDataIn(reinterpret_cast<const uint8_t *>(d) + kTbDataHead, d->count,
                                     (uint32_t)d->attrBytes, kTbEquationTag, &length);
    if (!eq || length <= 0)
        return;
    uint32_t n = std::min<uint32_t>((uint32_t)length, size - 1);
    memcpy(buffer, eq, n);
    buffer[n] = 0;
    buffer[strnlen(buffer, n)] = 0;
}

void tbMakeCellDesc(uint8_t *desc, const TableCellData *d, uint16_t align, const TextHeader *th)
{
    if (!desc)
        return;
    memset(desc, 0, 80);
    memcpy(desc, &align, 2);
    if (d) {
        memcpy(desc + 6, &d->type, 2);
        memcpy(desc + 8, &d->format, 4);
        memcpy(desc + 12, &d->tagMask, 4);
    }
    if (th)
        memcpy(desc + 16, th, 64);
}

MemHandle tbNewCellData(const uint8_t *desc, const char *equation)
{
    TableCellData d{};
    if (desc) {
        memcpy(&d.type, desc + 6, 2);
        memcpy(&d.format, desc + 8, 4);
        memcpy(&d.tagMask, desc + 12, 4);
    }
    d.kind = 1;
    size_t len = equation ? strnlen(equation, 0x7FFF - 8) : 0;
    std::vector<uint8_t> out(sizeof d);
    if (len) {
        AttrRecord a{kTbEquationTag, (int16_t)(len + 1)};
        d.tagMask |= kTbEquationTag;
        d.count = 1;
        d.attrBytes = (int16_t)(len + 1 + sizeof a);
        out.insert(out.end(), reinterpret_cast<uint8_t *>(&a), reinterpret_cast<uint8_t *>(&a) + sizeof a);
        out.insert(out.end(), equation, equation + len);
        out.push_back(0);
    } else {
        d.tagMask &= ~kTbEquationTag;
        d.count = 0;
        d.attrBytes = 0;
    }
    memcpy(out.data(), &d, sizeof d);
    return utHandleFromBytes(out.data(), (uint32_t)out.size());
}

void tbCellTextFormat(const TableCell *cell, TextHeader *out)
{
    if (!out)
        return;
    memset(out, 0, sizeof *out);
    if (!cell)
        return;
    out->lf = cell->font;
    out->flags = cell->editStyle;
    out->align = cell->align;
}

// ---- the new cell array ------------------------------------------------------------------

void tbInitCells(ObjectRecord *rec)
{
    if (!rec)
        return;
    uint8_t *part = obRecData(rec);
    TableHead *h = reinterpret_cast<TableHead *>(part);
    if (h->columns < 1 || h->rows < 1 || h->attrBytes < (int16_t)kTbAttrFixed)
        return;
    Layout l = layoutOf(h);
    if ((uint64_t)obDataOffset(rec) + l.data > rec->length)
        return;
    uint32_t *widths = reinterpret_cast<uint32_t *>(part + l.widths);
    uint32_t *heights = reinterpret_cast<uint32_t *>(part + l.heights);
    for (int c = 0; c < h->columns; ++c)
        widths[c] = h->defaultWidth;
    for (int r = 0; r < h->rows; ++r)
        heights[r] = h->defaultHeight;
    TableCell tpl;
    tbMakeCell(&tpl, 255, 255, h->borderWord, h->alignWord, h->editStyle, rec->penColour,
               rec->fillColour, rec->backColour, 0, 0, &h->font);
    TableCell *cells = reinterpret_cast<TableCell *>(part + l.cells);
    for (int r = 0; r < h->rows; ++r)
        for (int c = 0; c < h->columns; ++c) {
            TableCell *cell = &cells[r * h->columns + c];
            memcpy(cell, &tpl, sizeof tpl);
            cell->column = (uint8_t)c;
            cell->row = (uint8_t)r;
        }
}

void tbLayoutFromRect(ObjectRecord *rec, const RECT *rect)
{
    if (!rec || !rect)
        return;
    TableHead *h = reinterpret_cast<TableHead *>(obRecData(rec));
    int cols = std::max<int>(h->columns, 1), rows = std::max<int>(h->rows, 1);
    h->format = 3;
    h->defaultWidth = (uint32_t)std::max<LONG>((rect->right - rect->left) / cols, 0);
    h->defaultHeight = (uint32_t)std::max<LONG>((rect->bottom - rect->top) / rows, 0);
    h->headerRowColour = rec->penColour;
    h->headerColumnColour = rec->penColour;
    h->headerRowStyle = 0x0100;
    h->headerColumnStyle = 0x0100;
    h->attrBytes = (int16_t)kTbAttrFixed;
    h->cellBytes = (uint32_t)cols * (uint32_t)rows * kTbCellSize;
    h->dataBytes = 0;
    h->textBytes = 0;
    RECT r = *rect;
    r.right = r.left + (LONG)(h->defaultWidth * (uint32_t)cols);
    r.bottom = r.top + (LONG)(h->defaultHeight * (uint32_t)rows);
    obRecSetRect(rec, &r);
}

// ---- attributes and the edit-a-copy protocol ---------------------------------------------

MemHandle tbCopyData(MemHandle object)
{
    if (!tbIsTable(object))
        return 0;
    ObLock r(object);
    TbParts p;
    if (!r || !tbLocate(r.get(), r.extent(), &p))
        return 0;
    return newCopy(p.head, tbHeadSize(p.head));
}

namespace {

// A head copy's attribute run, checked against its block.
const uint8_t *copyRun(const uint8_t *copy, uint32_t n, uint16_t *count, uint16_t *size)
{
    if (n < kTbAttrRecordsAt)
        return nullptr;
    const TableAttrBlock *ab = reinterpret_cast<const TableAttrBlock *>(copy + kTbHeadSize);
    if ((uint64_t)kTbAttrRecordsAt + ab->header.size > n)
        return nullptr;
    *count = ab->header.count;
    *size = ab->header.size;
    return copy + kTbAttrRecordsAt;
}

MemHandle attrFromHead(const uint8_t *head, uint32_t n, uint32_t tag)
{
    uint16_t count, size;
    const uint8_t *run = copyRun(head, n, &count, &size);
    if (!run)
        return 0;
    const TableAttrBlock *ab = reinterpret_cast<const TableAttrBlock *>(head + kTbHeadSize);
    if (!(ab->header.tagMask & tag))
        return 0;
    return attGetCopyIn(run, count, size, tag);
}

}  // namespace

MemHandle tbDataGetAttr(MemHandle copy, uint32_t tag)
{
    MemLock<uint8_t> c(copy);
    if (!c)
        return 0;
    return attrFromHead(c.get(), utHandleSize(copy), tag);
}

MemHandle tbGetAttr(MemHandle object, uint32_t tag)
{
    ObLock r(object);
    TbParts p;
    if (!r || !tbLocate(r.get(), r.extent(), &p))
        return 0;
    return attrFromHead(reinterpret_cast<const uint8_t *>(p.head), tbHeadSize(p.head), tag);
}

MemHandle tbDataSetAttr(MemHandle copy, const void *data, int length, uint32_t tag)
{
    if (!copy || utHandleSize(copy) < kTbAttrRecordsAt)
        return 0;
    MemHandle h = attSet(copy, FALSE, kTbAttrHeaderAt, kTbAttrRecordsAt, data, length < 1 ? 0 : length, tag);
    if (!h)
        return 0;
    MemLock<uint8_t> c(h);
    const TableAttrBlock *ab = reinterpret_cast<const TableAttrBlock *>(c.get() + kTbHeadSize);
    reinterpret_cast<TableHead *>(c.get())->attrBytes = (int16_t)(ab->header.size + kTbAttrFixed);
    return h;
}

MemHandle tbReplaceHead(HWND ws, MemHandle object, MemHandle copy)
{
    if (!copy || !tbIsTable(object))
        return object;
    std::vector<uint8_t> head;
    {
        MemLock<uint8_t> c(copy);
        uint32_t n = utHandleSize(copy);
        if (!c || n < kTbHeadSize + kTbAttrFixed)
            return object;
        const TableHead *h = reinterpret_cast<const TableHead *>(c.get());
        uint32_t hs = tbHeadSize(h);
        if (hs < kTbHeadSize + kTbAttrFixed || hs > n)
            return object;
        head.assign(c.get(), c.get() + hs);
    }
    uint32_t oldHeadAt, oldHeadSize, total;
    {
        ObLock r(object);
        TbParts p;
        if (!r || !tbLocate(r.get(), r.extent(), &p))
            return object;
        // The copy must describe the same grid; the sizes of the areas are
        // the record's own (its texts may have been re-fitted since).
        TableHead *nh = reinterpret_cast<TableHead *>(head.data());
        if (nh->columns != p.head->columns || nh->rows != p.head->rows)
            return object;
        nh->cellBytes = p.head->cellBytes;
        nh->dataBytes = p.head->dataBytes;
        nh->textBytes = p.head->textBytes;
        oldHeadAt = obDataOffset(r.get());
        oldHeadSize = tbHeadSize(p.head);
        total = r->length;
    }
    obInvalidate(ws, object);
    MemHandle h = spliceRecord(object, total, oldHeadAt, oldHeadSize, head,
                               [](ObjectRecord *rec, int64_t) { tbObjectSize(rec); });
    MemHandle before = h;
    h = tbReapplyHead(ws, h);
    if (ws && before != object && wsGetCurrentObject(ws) == object)
        wsSetCurrentObject(ws, h);
    obInvalidate(ws, h);
    return h;
}

MemHandle tbSetAttr(MemHandle object, const void *data, int length, uint32_t tag)
{
    MemHandle copy = tbCopyData(object);
    if (!copy)
        return object;
    MemHandle set = tbDataSetAttr(copy, data, length, tag);
    if (!set) {
        utFreeHandle(copy);
        return object;
    }
    MemHandle h = tbReplaceHead(appGetActiveWorkspace(), object, set);
    utFreeHandle(set);
    return h;
}

BOOL tbHeadAltRow(const TableHead *head, COLORREF *colour, int *firstRow)
{
    if (firstRow)
        *firstRow = 1;
    if (colour)
        *colour = 0;
    if (!head)
        return FALSE;
    MemHandle a = attrFromHead(reinterpret_cast<const uint8_t *>(head), tbHeadSize(head), kTbAltRowTag);
    if (!a)
        return FALSE;
    BOOL ok = FALSE;
    {
        MemLock<uint8_t> p(a);
        if (utHandleSize(a) >= 6) {
            uint16_t first;
            uint32_t c;
            memcpy(&first, p.get(), 2);
            memcpy(&c, p.get() + 2, 4);
            if (firstRow)
                *firstRow = first;
            if (colour)
                *colour = c;
            ok = TRUE;
        }
    }
    utFreeHandle(a);
    return ok;
}

BOOL tbGetAltRow(MemHandle object, COLORREF *colour, int *firstRow)
{
    ObLock r(object);
    TbParts p;
    if (!r || !tbLocate(r.get(), r.extent(), &p)) {
        if (firstRow)
            *firstRow = 1;
        return FALSE;
    }
    return tbHeadAltRow(p.head, colour, firstRow);
}

BOOL tbDataGetAltRow(MemHandle copy, COLORREF *colour, int *firstRow)
{
    MemLock<uint8_t> c(copy);
    if (!c || utHandleSize(copy) < kTbHeadSize + kTbAttrFixed) {
        if (firstRow)
            *firstRow = 1;
        return FALSE;
    }
    return tbHeadAltRow(reinterpret_cast<const TableHead *>(c.get()), colour, firstRow);
}

namespace {
void altRowBytes(uint8_t out[10], COLORREF colour, int firstRow)
{
    memset(out, 0, 10);
    uint16_t first = (uint16_t)std::max(firstRow, 0);
    memcpy(out, &first, 2);
    memcpy(out + 2, &colour, 4);
}
}  // namespace

MemHandle tbSetAltRow(MemHandle object, BOOL enabled, COLORREF colour, int firstRow)
{
    uint8_t v[10];
    altRowBytes(v, colour, firstRow);
    return tbSetAttr(object, v, enabled ? 10 : 0, kTbAltRowTag);
}

MemHandle tbDataSetAltRow(MemHandle copy, BOOL enabled, COLORREF colour, int firstRow)
{
    uint8_t v[10];
    altRowBytes(v, colour, firstRow);
    return tbDataSetAttr(copy, v, enabled ? 10 : 0, kTbAltRowTag);
}

// ---- column records of report tables -------------------------------------------------------

MemHandle tbGetColumnRecords(MemHandle object) { return tbGetAttr(object, kTbColumnRecordsTag); }

MemHandle tbSetColumnRecords(MemHandle object, MemHandle data)
{
    if (!data)
        return tbSetAttr(object, nullptr, 0, kTbColumnRecordsTag);
    std::vector<uint8_t> bytes;
    {
        MemLock<uint8_t> d(data);
        if (!d)
            return object;
        bytes.assign(d.get(), d.get() + utHandleSize(data));
    }
    return tbSetAttr(object, bytes.data(), (int)bytes.size(), kTbColumnRecordsTag);
}

uint8_t *tbColRecFind(uint8_t *list, uint32_t listSize, uint16_t key, int *index)
{
    if (index)
        *index = -1;
    if (!list || listSize < 8)
        return nullptr;
    uint32_t total;
    uint16_t count;
    memcpy(&total, list, 4);
    memcpy(&count, list + 6, 2);
    total = std::min(total, listSize);
    uint32_t at = 8;
    for (int i = 0; i < count && at + 8 <= total; ++i) {
        uint32_t size;
        uint16_t k;
        memcpy(&size, list + at, 4);
        if (size < 8 || size > total - at)
            return nullptr;
        memcpy(&k, list + at + 6, 2);
        if (k == key) {
            if (index)
                *index = i;
            return list + at;
        }
        at += size;
    }
    return nullptr;
}

MemHandle tbColRecPut(MemHandle list, MemHandle record)
{
    std::vector<uint8_t> rec;
    {
        MemLock<uint8_t> r(record);
        uint32_t n = utHandleSize(record);
        if (!r || n < 8)
            return list;
        uint32_t size;
        memcpy(&size, r.get(), 4);
        if (size < 8 || size > n)
            return list;
        rec.assign(r.get(), r.get() + size);
    }
    uint16_t key;
    memcpy(&key, rec.data() + 6, 2);
    bool remove = rec.size() <= 44 || rec[44] == 0;
    std::vector<uint8_t> bytes;
    if (list) {
        MemLock<uint8_t> l(list);
        uint32_t n = utHandleSize(list);
        uint32_t total = 0;
        if (n >= 8)
            memcpy(&total, l.get(), 4);
        bytes.assign(l.get(), l.get() + std::min(total, n));
    }
    if (bytes.size() < 8) {
        bytes.assign(8, 0);
        uint16_t kind = kTbColumnListKind;
        memcpy(bytes.data() + 4, &kind, 2);
    }
    int index = -1;
    uint8_t *found = tbColRecFind(bytes.data(), (uint32_t)bytes.size(), key, &index);
    uint16_t count;
    memcpy(&count, bytes.data() + 6, 2);
    if (found) {
        size_t at = (size_t)(found - bytes.data());
        uint32_t oldSize;
        memcpy(&oldSize, found, 4);
        bytes.erase(bytes.begin() + (long)at, bytes.begin() + (long)(at + oldSize));
        if (remove)
            --count;
        else
            bytes.insert(bytes.begin() + (long)at, rec.begin(), rec.end());
    } else if (!remove) {
        bytes.insert(bytes.end(), rec.begin(), rec.end());
        ++count;
    }
    uint32_t total = (uint32_t)bytes.size();
    memcpy(bytes.data(), &total, 4);
    memcpy(bytes.data() + 6, &count, 2);
    MemHandle out = utHandleFromBytes(bytes.data(), total);
    if (!out)
        return list;
    utFreeHandle(list);
    return out;
}

MemHandle tbSetColumnRecord(MemHandle object, MemHandle record)
{
    uint16_t key;
    {
        MemLock<uint8_t> r(record);
        if (!r || utHandleSize(record) < 8)
            return object;
        memcpy(&key, r.get() + 6, 2);
    }
    if (key >= (uint16_t)std::max<int16_t>(tbGetColCount(object), 0))
        return object;
    // The container of the attribute, or a new one.
    MemHandle container = tbGetColumnRecords(object);
    if (!container) {
        std::vector<uint8_t> fresh(kContainerFixed, 0);
        uint32_t len = kContainerFixed;
        memcpy(fresh.data(), &len, 4);
        container = utHandleFromBytes(fresh.data(), kContainerFixed);
        if (!container)
            return object;
    }
    MemHandle list = 0;
    {
        MemLock<uint8_t> c(container);
        uint32_t n = utHandleSize(container);
        const AttrHeader *ah = reinterpret_cast<const AttrHeader *>(c.get() + kContainerHeaderAt);
        if (n >= kContainerFixed && (uint64_t)kContainerFixed + ah->size <= n &&
            (ah->tagMask & kColumnListTag))
            list = attGetCopyIn(c.get() + kContainerFixed, ah->count, ah->size, kColumnListTag);
    }
    list = tbColRecPut(list, record);
    std::vector<uint8_t> bytes;
    if (list) {
        MemLock<uint8_t> l(list);
        uint32_t total;
        memcpy(&total, l.get(), 4);
        bytes.assign(l.get(), l.get() + std::min(total, utHandleSize(list)));
    }
    utFreeHandle(list);
    MemHandle c2 = attSet(container, TRUE, kContainerHeaderAt, kContainerFixed, bytes.data(),
                          (int)bytes.size(), kColumnListTag);
    if (!c2) {
        utFreeHandle(container);
        return object;
    }
    MemHandle h = tbSetColumnRecords(object, c2);
    utFreeHandle(c2);
    return h;
}

BOOL tbReadCheck(const ObjectRecord *rec, uint32_t length)
{
    TbParts p;
    if (!obHeadWithinLimits(rec) || !tbLocate(const_cast<ObjectRecord *>(rec), length, &p))
        return FALSE;
    int64_t across = 0, down = 0;
    for (int i = 0; i < p.head->columns; ++i)
        across += utGetAt<uint32_t>(p.widths, 4 * (size_t)i);
    for (int i = 0; i < p.head->rows; ++i)
        down += utGetAt<uint32_t>(p.heights, 4 * (size_t)i);
    if (!obSizeWithinLimits(across) || !obSizeWithinLimits(down) ||
        !obSizeWithinLimits(p.head->font.lfHeight))
        return FALSE;
    for (uint32_t i = 0, n = gridCells(p.head); i < n; ++i) {
        TableCell c;
        memcpy(&c, reinterpret_cast<const uint8_t *>(p.cells) + kTbCellSize * (size_t)i, sizeof c);
        if (!obSizeWithinLimits(c.font.lfHeight))
            return FALSE;
    }
    return TRUE;
}
