// Writing object trees, pages and the FORM body of a document file.
#include "model/qmf_write.h"
#include "model/qmf_convert.h"
#include "model/qmf_sizes.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_numbers.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "support/ff_file.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

typedef std::vector<uint8_t> Bytes;

// A block that can be written as a packet: its length at least its own 4
// bytes and within the block.
bool isPacket(MemHandle h)
{
    uint32_t length = utGetPacketLength(h);
    return h && length >= 4 && length <= utHandleSize(h);
}

bool writable(MemHandle h)
{
    return h && utIsLiveHandle(h) && qmfFindWriter(obGetType(h)) != nullptr;
}

// The first object along the member chain from h that can be written.
MemHandle firstWritable(MemHandle h)
{
    std::vector<MemHandle> seen;
    while (h && !writable(h)) {
        if (std::find(seen.begin(), seen.end(), h) != seen.end())
            return 0;   // a damaged, cyclic chain
        seen.push_back(h);
        h = obGetNextMember(h);
    }
    return h;
}

void unsupported() { utErrorBox(nullptr, "Unsupported object type"); }

uint32_t writeBytes(HANDLE file, const void *bytes, uint32_t n)
{
    return ffWrite(file, bytes, n) == n ? n : 0;
}

// One record with the presence flags of what is written after it; the
// records copied whole carry 0 or 1 in their link fields instead.
uint32_t writeRecord(HANDLE file, MemHandle object, MemHandle next, MemHandle first,
                     MemHandle attached, const char *key)
{
    MemHandle packet = qmfMakeFileRecord(object);
    if (!packet)
        return 0;
    const QmfConverter *c = qmfFindWriter(obGetType(object));
    bool extra = isPacket(obGetExtraData(object));
    {
        MemLock<uint8_t> p(packet);
        if (c && c->kind == QMF_CONV_WHOLE) {
            const uint32_t present[7] = {extra, obGetPrev(object) != 0, obGetNext(object) != 0,
                                         obGetParent(object) != 0, first != 0, next != 0,
                                         attached != 0};
            for (int i = 0; i < 7; ++i)
                utPutAt<uint32_t>(p.get(), 58 + 4 * i, present[i]);
        } else {
            utPutAt<uint16_t>(p.get(), 58, extra);
            utPutAt<uint16_t>(p.get(), 66, first != 0);
            utPutAt<uint16_t>(p.get(), 68, next != 0);
            utPutAt<uint16_t>(p.get(), 70, attached != 0);
        }
    }
    if (key && c && qmfIsScrambledType(c->fileType))
        qmfScrambleRecord(packet, key);
    uint32_t n = ffWritePacket(file, packet);
    uint32_t expected = utGetPacketLength(packet);
    utFreeHandle(packet);
    if (n != expected)
        return 0;
    if (extra) {
        uint32_t e = ffWritePacket(file, obGetExtraData(object));
        if (!e)
            return 0;
        n += e;
    }
    return n;
}

uint32_t writeTree(HANDLE file, MemHandle root, const char *key)
{
    if (!root)
        return 0;
    if (!writable(root)) {
        unsupported();
        return 0;
    }
    // Records in file order: the record, its next member's tree, its first
    // member's tree, its attached tree; kept on a stack of work so that
    // long member chains cannot exhaust the call stack.
    std::vector<MemHandle> work{root};
    uint32_t total = 0;
    long budget = utLiveHandleCount() + 1;   // a cyclic tree ends the walk
    while (!work.empty()) {
        MemHandle h = work.back();
        work.pop_back();
        if (--budget < 0)
            break;
        MemHandle next = obGetNextMember(h);
        MemHandle first = obGetFirstMember(h);
        MemHandle attached = obGetAttached(h);
        if (next && !writable(next))
            unsupported();
        if (first && !writable(first))
            unsupported();
        if (attached && !writable(attached)) {
            unsupported();
            attached = 0;
        }
        next = firstWritable(next);
        first = firstWritable(first);
        uint32_t n = writeRecord(file, h, next, first, attached, key);
        if (!n)
            return 0;
        total += n;
        if (attached)
            work.push_back(attached);
        if (first)
            work.push_back(first);
        if (next)
            work.push_back(next);
    }
    return total;
}

uint32_t writeList(HANDLE file, MemHandle first, const char *key)
{
    std::vector<MemHandle> list;
    obCollectList(first, list);
    uint32_t total = 0;
    for (MemHandle h : list) {
        if (!writable(h)) {
            unsupported();
            continue;
        }
        uint32_t n = writeTree(file, h, key);
        if (!n)
            return 0;
        total += n;
    }
    return total;
}

// The layer state in its file form.
Bytes layerStateBytes(const PgLayerState &s)
{
    Bytes out;
    auto word = [&](uint16_t v) { out.push_back((uint8_t)v); out.push_back((uint8_t)(v >> 8)); };
    auto set = [&](MemHandle h, uint16_t count, uint32_t each) {
        uint32_t n = std::min<uint32_t>(count * each, utHandleSize(h)) / each * each;
        if (!n)
            return;
        MemLock<uint8_t> p(h);
        out.insert(out.end(), p.get(), p.get() + n);
    };
    uint16_t inUse = (uint16_t)std::min<uint32_t>(s.countInUse, utHandleSize(s.inUse) / 4);
    uint16_t edit = (uint16_t)std::min<uint32_t>(s.countEdit, utHandleSize(s.edit) / 2);
    uint16_t hidden = (uint16_t)std::min<uint32_t>(s.countHidden, utHandleSize(s.hidden) / 2);
    word(inUse);
    word((uint16_t)(4 * inUse));
    word(s.current);
    set(s.inUse, inUse, 4);
    word(edit);
    set(s.edit, edit, 2);
    word(hidden);
    set(s.hidden, hidden, 2);
    return out;
}

// The file name of a form head: the last component, at most 13 characters.
void headFileName(MemHandle form, char out[14])
{
    memset(out, 0, 14);
    char path[MAX_PATH];
    if (!fmGetFilePath(form, path, sizeof path))
        return;
    const char *name = path;
    for (const char *p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    memcpy(out, name, std::min<size_t>(strlen(name), 13));
}

}  // namespace

// ---- sizes ---------------------------------------------------------------------------

uint32_t pgSizeArrayBytes(int pages) { return pages < 2 ? 0 : 4 + 4 * (uint32_t)pages; }

uint32_t fmCalcFileSize(MemHandle form)
{
    FmLock f(form);
    if (!f)
        return 0;
    uint32_t total = 66 + f->attrs.size + 20;
    for (MemHandle b : f->blocks)
        if (isPacket(b))
            total += utGetPacketLength(b);
    if ((f->resources & FM_RES_BASE_PAGE) && f->basePage)
        total += pgCalcFileSize(f->basePage);
    return total;
}

// ---- records and trees -------------------------------------------------------------------

uint32_t qmfWriteFileRecord(HANDLE file, MemHandle object)
{
    MemHandle packet = qmfMakeFileRecord(object);
    if (!packet)
        return 0;
    uint32_t n = ffWritePacket(file, packet);
    utFreeHandle(packet);
    return n;
}

uint32_t qmfWriteObjectRecord(HANDLE file, MemHandle object)
{
    return qmfWriteFileRecord(file, object);
}

uint32_t qmfWriteObjectTree(HANDLE file, MemHandle object)
{
    return writeTree(file, object, nullptr);
}

uint32_t qmfWriteObjectTreeScrambled(HANDLE file, MemHandle object, const char *key)
{
    return writeTree(file, object, key && *key ? key : nullptr);
}

uint32_t qmfWriteObjectList(HANDLE file, MemHandle first)
{
    return writeList(file, first, nullptr);
}

uint32_t qmfWriteObjectListScrambled(HANDLE file, MemHandle first)
{
    return writeList(file, first, kQmfRecordKey);
}

int32_t qmfCountWritableObjects(MemHandle first)
{
    std::vector<MemHandle> list;
    obCollectList(first, list);
    int n = 0;
    for (MemHandle h : list)
        n += writable(h) ? 1 : 0;
    return n;
}

MemHandle qmfFindUnwritable(MemHandle page)
{
    if (!page)
        return 0;
    std::vector<MemHandle> nodes;
    obCollectTree(page, OB_WALK_ALL, nodes);
    if (pgIsValid(page)) {
        std::vector<MemHandle> list;
        obCollectList(pgGetFirstObject(page), list);
        for (MemHandle h : list)
            obCollectTree(h, OB_WALK_ALL, nodes);
    }
    for (MemHandle h : nodes)
        if (!writable(h))
            return h;
    return 0;
}

void qmfReportUnwritable(HWND owner, MemHandle object)
{
    int16_t type = obGetType(object);
    char name[40];
    if (!obGetTypeName(type, name))
        snprintf(name, sizeof name, "%d", type);
    char text[160];
    snprintf(text, sizeof text,
             "Unsupported object type: %s\r\nThe document was not saved; "
             "the file is left as it was.",
             name);
    utErrorBox(owner, text);
}

// ---- pages and the form --------------------------------------------------------------------

uint32_t qmfWritePageEx(HANDLE file, MemHandle page, BOOL scramble)
{
    if (!pgIsValid(page) || qmfFindUnwritable(page))
        return 0;
    MemHandle objects = pgGetFirstObject(page);
    pgCalcFileSize(page);
    PgLayerState layers;
    uint32_t flags;
    MemHandle palette, side;
    {
        PgLock p(page);
        pgDataSetObjectCount(p.data(), qmfCountWritableObjects(objects));
        layers = p.data()->layers;
        flags = p.data()->extrasFlags;
        palette = p.data()->paletteBlock;
        side = p.data()->sideBlock;
    }
    // The page record itself is never scrambled; its own tree is written
    // without its list neighbours (the page list is not part of the file).
    uint32_t total = writeTree(file, page, nullptr);
    if (!total)
        return 0;
    if (flags & 2) {
        Bytes b = layerStateBytes(layers);
        uint32_t n = writeBytes(file, b.data(), (uint32_t)b.size());
        if (!n)
            return 0;
        total += n;
    }
    if ((flags & 64) && isPacket(palette))
        total += ffWritePacket(file, palette);
    if ((flags & 0x100) && isPacket(side))
        total += ffWritePacket(file, side);
    uint32_t body = writeList(file, objects, scramble ? kQmfRecordKey : nullptr);
    if (objects && !body && qmfCountWritableObjects(objects))
        return 0;
    return total + body;
}

uint32_t qmfWritePage(HANDLE file, MemHandle page) { return qmfWritePageEx(file, page, FALSE); }

MemHandle qmfMakeFormHead(MemHandle form)
{
    FmLock f(form);
    if (!f)
        return 0;
    uint32_t run = f->attrs.size;
    if (f->length < kFmHeadSize + run || utHandleSize(form) < kFmHeadSize + run)
        return 0;
    Bytes out(66 + run, 0);
    uint8_t *h = out.data();
    utPutAt<uint32_t>(h, 0, 66 + run);
    utPutAt<int16_t>(h, 4, f->type);
    utPutAt<uint32_t>(h, 6, f->updateTime);
    char name[14];
    headFileName(form, name);
    memcpy(h + 10, name, 14);
    for (int i = 0; i < 3; ++i)
        utPutAt<uint16_t>(h, 24 + 2 * i, isPacket(f->blocks[i]) ? 1 : 0);
    utPutAt<uint16_t>(h, 30, 0);
    utPutAt<uint16_t>(h, 32, f->viewFlags);
    utPutAt<uint16_t>(h, 34, f->options);
    utPutAt<int16_t>(h, 36, f->pages);
    utPutAt<uint16_t>(h, 38, f->style);
    utPutAt<uint32_t>(h, 40, f->resources);
    utPutAt<uint16_t>(h, 44, f->resourceCount);
    utPutAt<uint32_t>(h, 46, f->resourceWord);
    utPutAt<uint32_t>(h, 50, f->attrs.tagMask);
    utPutAt<uint16_t>(h, 54, f->attrs.count);
    utPutAt<uint16_t>(h, 56, f->attrs.size);
    utPutAt<uint16_t>(h, 60, f->currentPage);
    memcpy(h + 66, reinterpret_cast<const uint8_t *>(f.get()) + kFmHeadSize, run);
    // The page-number settings carry their font as a FontRecord16.
    if (attCheckRun(h + 66, f->attrs.count, run)) {
        uint32_t at = 66;
        for (int i = 0; i < f->attrs.count; ++i) {
            AttrRecord r;
            memcpy(&r, h + at, sizeof r);
            if (r.tag == FM_TAG_NUMBER_SETTINGS && r.length == (int16_t)sizeof(PageNumberSettings)) {
                uint8_t *d = h + at + sizeof r;
                uint8_t font[50];
                qmfNarrowFontAt(d + 14, font);
                memset(d + 14, 0, sizeof(PageNumberSettings) - 14);
                memcpy(d + 14, font, sizeof font);
            }
            at += sizeof r + (uint32_t)r.length;
        }
    }
    return utHandleFromBytes(out.data(), (uint32_t)out.size());
}

uint32_t qmfWriteForm(HANDLE file, MemHandle form)
{
    MemHandle basePage;
    uint8_t wsb[20] = {};
    MemHandle blocks[3];
    {
        FmLock f(form);
        if (!f)
            return 0;
        if (!f->basePage)
            f->resources &= ~FM_RES_BASE_PAGE;
        basePage = (f->resources & FM_RES_BASE_PAGE) ? f->basePage : 0;
        for (int i = 0; i < 3; ++i)
            blocks[i] = isPacket(f->blocks[i]) ? f->blocks[i] : 0;
        uint16_t v = f->viewFlags;
        utPutAt<uint32_t>(wsb, 0, 20);
        wsb[4] = (v & 1) ? 1 : (v & 8) ? 2 : 0;
        wsb[5] = (v >> 1) & 1;
        wsb[6] = (v >> 2) & 1;
        wsb[7] = f->viewByte1;
        utPutAt<uint16_t>(wsb, 8, f->gridDivisions);
        wsb[10] = f->viewByte2;
        utPutAt<uint16_t>(wsb, 12, f->unit);
        utPutAt<uint32_t>(wsb, 14, f->viewWord);
    }
    MemHandle head = qmfMakeFormHead(form);
    if (!head)
        return 0;
    uint32_t total = ffWritePacket(file, head);
    utFreeHandle(head);
    if (!total)
        return 0;
    for (MemHandle b : blocks)
        if (b)
            total += ffWritePacket(file, b);
    uint32_t n = writeBytes(file, wsb, sizeof wsb);
    if (!n)
        return 0;
    total += n;
    if (basePage) {
        n = qmfWritePage(file, basePage);
        if (!n)
            return 0;
        total += n;
    }
    return total;
}
