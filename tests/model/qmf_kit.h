// Helpers of the document file tests: byte builders, documents written
// whole, records of the converted types, and comparisons.
#pragma once
#include "tests/model/pg_kit.h"
#include "support/ut_bytes.h"
#include "model/qmf_convert.h"
#include "model/qmf_header.h"
#include "model/qmf_read.h"
#include "model/qmf_sizes.h"
#include "model/qmf_pages.h"
#include "model/qmf_write.h"
#include "support/ff_file.h"
#include <string.h>
#include <string>
#include <vector>

namespace qmftest {

typedef std::vector<uint8_t> Bytes;

// Little-endian bytes appended one field at a time.
struct Builder {
    Bytes b;
    Builder &u8(uint8_t v) { b.push_back(v); return *this; }
    Builder &u16(uint16_t v) { return u8((uint8_t)v).u8((uint8_t)(v >> 8)); }
    Builder &u32(uint32_t v) { return u16((uint16_t)v).u16((uint16_t)(v >> 16)); }
    Builder &zeros(size_t n) { b.insert(b.end(), n, 0); return *this; }
    Builder &text(const char *s, size_t width)
    {
        size_t n = strlen(s);
        b.insert(b.end(), s, s + std::min(n, width));
        return zeros(width - std::min(n, width));
    }
    Builder &bytes(const Bytes &x) { b.insert(b.end(), x.begin(), x.end()); return *this; }
    // Appends the packet of the data: its length (counting itself) first.
    Builder &packet(const Bytes &data) { return u32((uint32_t)data.size() + 4).bytes(data); }
    size_t size() const { return b.size(); }
};

inline void putU32(Bytes &b, size_t at, uint32_t v) { utPutAt(b.data(), at, v); }
inline void putU16(Bytes &b, size_t at, uint16_t v) { utPutAt(b.data(), at, v); }
inline uint32_t getU32(const Bytes &b, size_t at) { return utGetAt<uint32_t>(b.data(), at); }
inline uint16_t getU16(const Bytes &b, size_t at) { return utGetAt<uint16_t>(b.data(), at); }

// The 40-byte header with the given logo and version text.
inline Bytes header(const char *logo = "Vellum", const char *version = "3.0",
                    const char *kind = "FORM")
{
    Builder h;
    h.text(logo, 8).text(version, 8).text(kind, 12).u32(1000000000).u32(250).u32(0);
    return h.b;
}

// The bytes of a whole document: header, FORM body, the page-size array
// (2 pages and more) and the pages of the form's directory.
inline Bytes documentBytes(MemHandle form, const std::string &path, BOOL scramble = FALSE)
{
    HANDLE f = ffCreate(path.c_str(), FALSE);
    EXPECT_NE(INVALID_HANDLE_VALUE, f);
    EXPECT_EQ(40u, qmfWriteHeader(f, "FORM"));
    EXPECT_NE(0u, qmfWriteForm(f, form));
    int pages = fmGetPageCount(form);
    uint32_t arrayAt = ffTell(f);
    std::vector<uint32_t> sizes{4 + 4 * (uint32_t)pages};
    ffSeek(f, arrayAt + pgSizeArrayBytes(pages));
    MemHandle dir = fmGetDirectory(form);
    for (int i = 0; i < pages; ++i) {
        uint32_t n = qmfWritePageEx(f, pgDirGetPages(dir, i), scramble);
        EXPECT_NE(0u, n) << "page " << i;
        sizes.push_back(n);
    }
    if (pages >= 2) {
        ffSeek(f, arrayAt);
        ffWrite(f, sizes.data(), (DWORD)(4 * sizes.size()));
    }
    ffClose(f);
    return qmtest::readFile(path);
}

// The form head packet of a document without attributes or blocks.
inline Bytes formHead(int16_t pages, uint32_t resources = 0)
{
    Builder h;
    h.u32(66).u16(0).u32(0).text("s.qm", 14).u16(0).u16(0).u16(0).u16(0)   // blocks 1-4
        .u16(0).u16(0x40).u16((uint16_t)pages).u16(0).u32(resources).u16(0).u32(0)
        .u32(0).u16(0).u16(0)   // no attributes
        .u16(0).u16(0).u16(0).u16(0);
    EXPECT_EQ(66u, h.size());
    return h.b;
}

inline Bytes wsbPacket()
{
    Builder w;
    w.u32(20).u8(0).u8(0).u8(0).u8(0).u16(4).u8(0).u8(0).u16(3).u32(0).zeros(2);
    return w.b;
}

// The 58 head bytes of a record, little-endian, field by field.
inline void headFields(Builder &b, uint32_t length, int16_t type, int32_t cx, int32_t cy, int32_t w,
                int32_t h)
{
    b.u32(length).u16((uint16_t)type).u8(1).u8(0).u32((uint32_t)cx).u32((uint32_t)cy)
        .u32((uint32_t)w).u32((uint32_t)h).u16(0).u16(0).u16(20).u8(0).u8(0)
        .u32(0).u32(0xFFFFFF).u32(0xFFFFFF).u32(65535).u32(65535).u32(0).u16(0);
}

// A page record of 1 page with `objects` objects and no name or attributes.
inline Bytes pageRecord(int16_t objects, const Bytes &attrs = Bytes(), uint16_t attrCount = 0)
{
    Builder p;
    headFields(p, 72 + 376 + (uint32_t)attrs.size(), 1000, 6120, 7920, 12240, 15840);
    p.zeros(14);   // no presence flags
    Builder d;
    d.u16(0).u8(0).u8(1).u16(0).u16(3).zeros(8 + 16).u16(4).u32(0xFFFFFF).zeros(8).u16(0);
    d.zeros(376 - d.size());
    putU16(d.b, 316, (uint16_t)objects);
    putU32(d.b, 330, 2);   // extras: the layer state
    putU16(d.b, 344, attrCount);
    putU16(d.b, 346, (uint16_t)attrs.size());
    return p.bytes(d.b).bytes(attrs).b;
}

// Layer 1 in use and current, editable, nothing hidden.
inline Bytes layerState()
{
    Builder l;
    l.u16(1).u16(4).u16(1).u16(1).u16(0).u16(1).u16(1).u16(0);
    return l.b;
}

// A box shape's file record: the head, no flags, its width and height.
inline Bytes boxRecord(int16_t type, int32_t l, int32_t t, int32_t r, int32_t b)
{
    Builder o;
    headFields(o, 72 + 8, type, (l + r) / 2, (t + b) / 2, r - l, b - t);
    o.zeros(14).u32((uint32_t)(r - l)).u32((uint32_t)(b - t));
    return o.b;
}

inline Bytes withoutLength(const Bytes &record) { return Bytes(record.begin() + 4, record.end()); }

// A calendar record in the calendar's memory layout, with a tail.
inline MemHandle makeCalendar(uint32_t tail = 6)
{
    MemHandle h = obtest::make(OBT_CALENDAR, 0, 0, 2880, 2160, kCalFixedSize + tail);
    ObLock r(h);
    uint8_t *d = obRecData(r.get());
    for (uint32_t i = 0; i < kCalFixedSize + tail; ++i)
        d[i] = (uint8_t)(i * 7 + 3);
    memcpy(d, &kCalFixedSize, 4);
    for (int font : {24, 92, 156, 220}) {
        LOGFONTA lf = {};
        lf.lfHeight = -240 - font;
        lf.lfWeight = 700;
        lf.lfItalic = 1;
        strcpy(lf.lfFaceName, "Arial");
        memcpy(d + font, &lf, sizeof lf);
    }
    memcpy(d + 288, &tail, 4);
    d[299] = 3;                   // weekday names as first letters
    uint32_t frame = 0x00C0FFEE;  // frame value of a field frame style
    memcpy(d + 300, &frame, 4);
    uint16_t version = 20;
    memcpy(d + 306, &version, 2);
    return h;
}

// A 3D text record in its memory layout: 126 fixed bytes, then the tail.
inline MemHandle make3dText(uint32_t tail = 5)
{
    MemHandle h = obtest::make(OBT_3D_TEXT, 0, 0, 1000, 500, 126 + tail);
    ObLock r(h);
    uint8_t *d = obRecData(r.get());
    uint32_t first = 126 + tail;
    memcpy(d, &first, 4);
    LOGFONTA lf = {};
    lf.lfHeight = -320;
    lf.lfWeight = 400;
    strcpy(lf.lfFaceName, "Times New Roman");
    memcpy(d + 30, &lf, sizeof lf);
    memset(d + 90, 0x11, 12);
    memcpy(d + 122, &tail, 4);
    return h;
}

// A document of pages with named objects, groups, extra data, a calendar,
// a 3D text, text attributes and a base page.
inline MemHandle richDocument(int pages)
{
    MemHandle form = fmNew();
    form = fmSetTextAttr(form, FM_TAG_TEXT2000000, "Quarterly report");
    for (int i = 0; i < pages; ++i) {
        MemHandle page = pgtest::newPage(("Page " + std::to_string(i + 1)).c_str());
        page = pgSetText80000(page, "page text");
        MemHandle a = pgtest::addObject(page, "First", 0, 0, 500, 500);
        (void)a;
        MemHandle m1 = obtest::make(OBT_ELLIPSE, 0, 0, 200, 200);
        MemHandle m2 = obtest::make(OBT_RECTANGLE, 300, 300, 400, 400);
        obSetExtraData(m2, obtest::packet(24));
        MemHandle group = obNewGroup(OBT_GROUP, m1, m2, (MemHandle)0);
        pgAppendObjects(page, group);   // keeps the members linked
        pgAppendObject(page, makeCalendar());
        pgAppendObject(page, make3dText());
        pgDirAppend(form, page);
    }
    MemHandle base = pgtest::newPage("Base");
    pgtest::addObject(base, "Logo", 10, 10, 90, 90);
    fmSetBasePage(form, base);
    return form;
}

// A record's bytes with its links zeroed (what a read-back must equal).
inline Bytes unlinkedBytes(MemHandle h)
{
    ObLock r(h);
    if (!r)
        return {};
    const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
    Bytes b(p, p + r.extent());
    memset(&b[58], 0, 28);
    return b;
}

typedef std::vector<Bytes> Records;

// Every record of a page's object trees in walk order, links zeroed.
inline Records objectRecords(MemHandle page)
{
    Records out;
    for (MemHandle h : obtest::listOf(pgGetFirstObject(page))) {
        std::vector<MemHandle> tree;
        obCollectTree(h, OB_WALK_ALL, tree);
        for (MemHandle t : tree)
            out.push_back(unlinkedBytes(t));
    }
    return out;
}

}  // namespace qmftest
