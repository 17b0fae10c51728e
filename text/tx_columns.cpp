// Multi-column text.
#include "text/tx_columns.h"
#include "text/tx_attr.h"
#include "text/tx_flow.h"
#include "text/tx_header.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include "text/tx_draw_object.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

const int32_t kColumnCodeSize = 9;   // a code 63 with its u32 payload

struct Line {
    std::string bytes;   // the code 100 and the line's bytes
    int32_t H;
};

// The laid-out lines of a stream (codes 63 left out); bytes before the
// first line code go with the first line.
std::vector<Line> linesOf(const std::string &s)
{
    std::vector<Line> out;
    std::string lead;
    int32_t i = 0, len = (int32_t)s.size();
    while (i < len) {
        const char *p = s.c_str() + i;
        int32_t next = txUnitEnd(s.c_str(), i);
        if (next <= i)
            next = i + 1;
        if (txIsLineInfo(p) && txCodeUnitSize(p) >= 13) {
            TxLineInfo li;
            memcpy(&li, p + 3, 8);
            out.push_back({lead + std::string(p, (size_t)(next - i)), li.H});
            lead.clear();
        } else if (txCodeNumber(p) == TXC_NEW_COLUMN) {
            // dropped: the columns are made again
        } else if (out.empty()) {
            lead.append(p, (size_t)(next - i));
        } else {
            out.back().bytes.append(p, (size_t)(next - i));
        }
        i = next;
    }
    if (!lead.empty())
        out.push_back({lead, 0});
    return out;
}

// Fills columns of at most `target` height; the column count bounds the
// fill, the last column taking the rest. Returns the column of each line
// and the tallest column.
int32_t fill(const std::vector<Line> &lines, int columns, int32_t target, std::vector<int> &colOf,
             std::vector<int32_t> &heights)
{
    colOf.assign(lines.size(), 0);
    heights.assign(1, 0);
    int col = 0;
    for (size_t k = 0; k < lines.size(); ++k) {
        if (heights[(size_t)col] > 0 && heights[(size_t)col] + lines[k].H > target &&
            col + 1 < columns) {
            ++col;
            heights.push_back(0);
        }
        heights[(size_t)col] += lines[k].H;
        colOf[k] = col;
    }
    int32_t tallest = 0;
    for (int32_t h : heights)
        tallest = h > tallest ? h : tallest;
    return tallest;
}

// Balances the lines: the target column height and the column of each line.
int32_t balance(const std::vector<Line> &lines, int columns, int32_t minTarget,
                std::vector<int> &colOf)
{
    int64_t total = 0;
    for (const Line &l : lines)
        total += l.H;
    int32_t count = lines.empty() ? 1 : (int32_t)lines.size();
    int32_t average = (int32_t)(total / count);
    int32_t target = (int32_t)(total / columns) + average;
    if (target < minTarget)
        target = minTarget;
    std::vector<int32_t> heights;
    for (int guard = 0; guard < 100000; ++guard) {
        int32_t tallest = fill(lines, columns, target, colOf, heights);
        bool differs = false;
        for (int32_t h : heights)
            differs = differs || h != tallest;
        if (heights.size() >= 2 && heights.back() == tallest && differs && average > 0)
            target += average;
        else
            break;
    }
    return target;
}

struct Prefix {
    std::vector<uint8_t> bytes;   // head, name, box, header and tab table
    uint32_t at = 0;              // where the type data starts
};

bool prefixOf(MemHandle h, Prefix *p, std::string *stream)
{
    ObLock r(h);
    if (!r || r->type != OBT_TEXT)
        return false;
    uint32_t at = obDataOffset(r.get());
    if ((uint64_t)at + kTxDataFixed > r.extent())
        return false;
    const TextHeader *th = reinterpret_cast<const TextHeader *>(obRecData(r.get()) + 8);
    uint64_t end = (uint64_t)at + kTxDataFixed + 4ull * th->tabCount;
    if (end + th->streamLength > r.extent())
        return false;
    const uint8_t *b = reinterpret_cast<const uint8_t *>(r.get());
    p->bytes.assign(b, b + end);
    p->at = at;
    if (stream) {
        const char *s = reinterpret_cast<const char *>(b + end);
        stream->assign(th->streamLength ? s : "", th->streamLength ? (size_t)txstrnlen(s, (int32_t)th->streamLength) : 0);
    }
    return true;
}

// Writes prefix + stream into h (grown or shrunk), keeping h's own links.
MemHandle writeRecord(MemHandle h, Prefix &p, const std::string &stream)
{
    ObjectRecord links;
    {
        ObLock r(h);
        if (!r)
            return 0;
        links = *r.get();
    }
    uint32_t L = stream.empty() ? 0 : (uint32_t)stream.size() + 1;
    uint32_t size = (uint32_t)p.bytes.size() + L;
    MemHandle g = obResize(h, size);
    if (!g)
        return 0;
    ObLock r(g);
    uint8_t *d = reinterpret_cast<uint8_t *>(r.get());
    memcpy(d, p.bytes.data(), p.bytes.size());
    if (L)
        memcpy(d + p.bytes.size(), stream.c_str(), L);
    ObjectRecord *rec = r.get();
    rec->extraData = links.extraData;
    rec->prev = links.prev;
    rec->next = links.next;
    rec->parent = links.parent;
    rec->firstMember = links.firstMember;
    rec->nextMember = links.nextMember;
    rec->attached = links.attached;
    TextHeader *th = reinterpret_cast<TextHeader *>(obRecData(rec) + 8);
    th->streamLength = L;
    rec->length = size;
    return g;
}

std::string joinColumns(const std::vector<Line> &lines, const std::vector<int> &colOf,
                        uint32_t payload)
{
    std::string out;
    int used = 0;
    for (size_t k = 0; k < lines.size(); ++k)
        used = colOf[k] + 1 > used ? colOf[k] + 1 : used;
    for (size_t k = 0; k < lines.size(); ++k) {
        out += lines[k].bytes;
        bool lastOfColumn = k + 1 == lines.size() || colOf[k + 1] != colOf[k];
        if (lastOfColumn && colOf[k] + 1 < used) {
            char code[16];
            int32_t n = txMakeDwordCode(code, TXC_NEW_COLUMN, payload);
            out.append(code, (size_t)n);
        }
    }
    return out;
}

void setGeometry(MemHandle h, const RECT &rect)
{
    ObLock r(h);
    uint8_t *d = obRecData(r.get());
    int32_t box[2] = {rect.right - rect.left, rect.bottom - rect.top};
    memcpy(d, box, 8);
    RECT head = rect;
    if (r->rotation)
        txRotateRect(&head, r->rotation);
    obRecSetRect(r.get(), &head);
}

}  // namespace

BOOL txColumnRect(const RECT *rect, int32_t columns, int32_t gapX, int32_t gapY, int32_t index,
                  RECT *out)
{
    if (!rect || !out)
        return FALSE;
    if (columns < 1 || index < 0 || index >= columns) {
        *out = *rect;
        return FALSE;
    }
    int32_t pitch = (rect->right - rect->left) / columns;
    out->left = rect->left + index * pitch + gapX;
    out->right = out->left + pitch - 2 * gapX;
    out->top = rect->top + gapY;
    out->bottom = rect->bottom - gapY;
    return out->right > out->left && out->bottom > out->top;
}

BOOL txGetColumnSpec(MemHandle obj, TextColumnSpec *spec)
{
    if (!spec || obGetType(obj) != OBT_TEXT)
        return FALSE;
    TextHeader *th = txLockHeader(obj);
    if (!th)
        return FALSE;
    spec->columns = (int16_t)th->columns;
    spec->gapX = th->borderX * 20;
    spec->gapY = th->borderY * 20;
    spec->frameStyle = th->frameStyle;
    spec->frameCorner = th->frameCorner;
    spec->divider = th->divider;
    utUnlock(obj);
    obGetRect(obj, &spec->bounds);
    return TRUE;
}

MemHandle txBalanceColumns(MemHandle dest, MemHandle source, TextColumnSpec *spec)
{
    Prefix p;
    std::string s;
    if (!spec || !prefixOf(source, &p, &s) || s.size() + 1 <= 1)
        return dest;
    if (spec->columns > kTxMaxColumns)
        spec->columns = kTxMaxColumns;
    int columns = spec->columns > 1 ? spec->columns : 1;
    std::vector<Line> lines = linesOf(s);
    std::vector<int> colOf;
    int32_t target = balance(lines, columns, 0, colOf);
    RECT src;
    obGetRect(source, &src);
    ObjectRecord *head = reinterpret_cast<ObjectRecord *>(p.bytes.data());
    TextHeader *th = reinterpret_cast<TextHeader *>(p.bytes.data() + p.at + 8);
    th->borderX = (uint8_t)(spec->gapX / 20);
    th->borderY = (uint8_t)(spec->gapY / 20);
    th->frameStyle = spec->frameStyle;
    th->frameCorner = spec->frameCorner;
    th->columns = (uint16_t)columns;
    th->divider = spec->divider;
    int32_t pitch = head->width + 2 * spec->gapX;
    RECT rect = {src.left - spec->gapX, src.top - spec->gapY, 0, 0};
    rect.right = rect.left + pitch * columns;
    rect.bottom = rect.top + target + 2 * spec->gapY;
    std::string out = joinColumns(lines, colOf, (uint32_t)pitch);
    MemHandle g = writeRecord(dest, p, out);
    if (!g)
        return 0;
    setGeometry(g, rect);
    txRecordSize(g);
    return g;
}

MemHandle txMakeColumns(MemHandle obj, TextColumnSpec *spec)
{
    if (!obj || !spec || obGetType(obj) != OBT_TEXT)
        return 0;
    if (spec->columns < 2)
        return txRemoveColumns(obj);
    if (spec->columns > kTxMaxColumns)
        spec->columns = kTxMaxColumns;
    RECT first;
    if (!txColumnRect(&spec->bounds, spec->columns, spec->gapX, spec->gapY, 0, &first))
        return 0;
    if (!txIsWrapped(obj)) {
        TextHeader *th = txLockHeader(obj);
        th->flags |= TXF_WRAP | TXF_WRAP_LOW;
        utUnlock(obj);
    }
    MemHandle copy = obDup(obj);
    if (!copy)
        return 0;
    {
        ObLock r(copy);
        obRecClearLinks(r.get());
    }
    if (txHasColumns(copy))
        copy = txRemoveColumns(copy);
    {
        // The copy is a single column of the first column's width.
        TextHeader *th = txLockHeader(copy);
        th->borderX = th->borderY = 0;
        utUnlock(copy);
    }
    POINT corners[2] = {{first.left, first.top}, {first.right, first.bottom}};
    copy = txResize(copy, corners, TRUE);
    MemHandle g = txBalanceColumns(obj, copy, spec);
    utFreeHandle(copy);
    return g;
}

MemHandle txRemoveColumns(MemHandle obj)
{
    if (!txHasColumns(obj))
        return obj;
    Prefix p;
    std::string s;
    if (!prefixOf(obj, &p, &s))
        return obj;
    TextHeader *th = reinterpret_cast<TextHeader *>(p.bytes.data() + p.at + 8);
    th->columns = 0;
    th->divider = 0;
    s.push_back('\0');
    int32_t len = txStripCode(&s[0], TXC_NEW_COLUMN);
    s.resize((size_t)len);
    MemHandle g = writeRecord(obj, p, s);
    if (!g)
        return obj;
    txRecordSize(g);
    g = txRefitTabs(g);
    return txRewrap(nullptr, g, TRUE);
}

MemHandle txRebalanceColumns(MemHandle obj, int32_t height)
{
    TextColumnSpec spec;
    if (!txGetColumnSpec(obj, &spec) || spec.columns < 2)
        return 0;
    Prefix p;
    std::string s;
    if (!prefixOf(obj, &p, &s) || s.size() + 1 < 2)
        return 0;
    int columns = spec.columns > kTxMaxColumns ? kTxMaxColumns : spec.columns;
    std::vector<Line> lines = linesOf(s);
    std::vector<int> colOf;
    int32_t target = balance(lines, columns, height - 2 * spec.gapY, colOf);
    RECT col;
    txColumnRect(&spec.bounds, columns, spec.gapX, spec.gapY, 0, &col);
    std::string out = joinColumns(lines, colOf, (uint32_t)(col.right - col.left));
    int32_t boxH = target + 2 * spec.gapY;
    if (boxH < height)
        boxH = height;
    RECT box;
    txGetBoxRect(obj, &box);
    box.bottom = box.top + boxH;
    MemHandle g = writeRecord(obj, p, out);
    if (!g)
        return 0;
    setGeometry(g, box);
    txRecordSize(g);
    return g;
}
