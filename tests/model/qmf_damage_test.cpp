// Damaged documents: a table of damages to a two-page sample, truncation
// at every offset, and a fixed-seed mutation loop over documents the test
// writes itself. Each damaged file is refused (or loses only the damaged
// record) with a recorded message, leaves nothing allocated and no file
// open, and never crashes or hangs.
#include "tests/model/qmf_kit.h"
#include "model/pg_render.h"
#include "support/dm_map.h"
#include <algorithm>
#include <functional>
#include <random>

using namespace qmftest;
using qmtest::BoxRecorder;
using qmtest::TempDir;

namespace {

// A two-page document built byte by byte, with the offsets the damages aim at.
struct Sample {
    Bytes bytes;
    size_t formHead, sizeArray, page0, page1;
    size_t page1Rect;      // the named rectangle of page 1
    size_t page1Polygon;   // the polygon of page 1
    size_t page1Attr;      // the page attribute record of page 1
};

Bytes polygonRecord(int16_t points)
{
    Builder o;
    headFields(o, 72 + 2 + 8 * (uint32_t)points, OBT_POLYGON, 500, 500, 1000, 1000);
    o.zeros(14).u16((uint16_t)points);
    for (int i = 0; i < points; ++i)
        o.u32((uint32_t)(i * 100 - 500)).u32((uint32_t)(500 - i * 300));
    return o.b;
}

Bytes namedRect()
{
    Builder o;
    headFields(o, 72 + 5 + 8, OBT_RECTANGLE, 300, 300, 200, 100);
    o.b[7] = 5;   // name length with its terminator
    o.zeros(14).text("Sign", 5).u32(200).u32(100);
    return o.b;
}

Sample twoPageSample()
{
    Sample s;
    Builder f;
    f.bytes(header());
    s.formHead = f.size();
    f.packet(withoutLength(formHead(2))).bytes(wsbPacket());
    s.sizeArray = f.size();
    f.zeros(12);   // sizes filled in below
    s.page0 = f.size();
    f.bytes(pageRecord(2)).bytes(layerState());
    f.bytes(boxRecord(OBT_RECTANGLE, 0, 0, 100, 100)).bytes(boxRecord(OBT_ELLIPSE, 0, 0, 50, 80));
    s.page1 = f.size();
    Builder attr;
    attr.u32(0x80000).u16(3).text("hi", 3);
    Bytes page1 = pageRecord(2, attr.b, 1);
    putU32(page1, 72 + 340, 0x80000);
    s.page1Attr = s.page1 + page1.size() - attr.size();
    f.bytes(page1).bytes(layerState());
    s.page1Rect = f.size();
    f.bytes(namedRect());
    s.page1Polygon = f.size();
    f.bytes(polygonRecord(3));
    s.bytes = f.b;
    putU32(s.bytes, s.sizeArray, 12);
    putU32(s.bytes, s.sizeArray + 4, (uint32_t)(s.page1 - s.page0));
    putU32(s.bytes, s.sizeArray + 8, (uint32_t)(s.bytes.size() - s.page1));
    return s;
}

struct Outcome {
    bool opened;
    int objects;            // on the page read; -1 when not opened
    std::string messages;
};

// Opens the file with page n and frees what came back; every block read is
// released and the file is closed again.
Outcome openAndClose(const std::string &path, int n)
{
    Outcome o{false, -1, ""};
    obtest::LiveCount live;
    {
        BoxRecorder boxes;
        MemHandle page = 0;
        MemHandle form = qmfOpenDocument(nullptr, path.c_str(), n, &page);
        o.opened = form != 0;
        if (page)
            o.objects = obCountList(pgGetFirstObject(page));
        o.messages = boxes.texts();
        fmFree(form);
    }
    EXPECT_EQ(0, live.leaked()) << path;
    EXPECT_TRUE(qmtest::fileIsClosed(path));
    return o;
}

TEST(QmfDamage, TheSampleOpens)
{
    TempDir dir;
    std::string path = dir.file("two.qm");
    ASSERT_TRUE(qmtest::writeFile(path, twoPageSample().bytes));
    for (int n = 0; n < 2; ++n) {
        Outcome o = openAndClose(path, n);
        EXPECT_TRUE(o.opened) << o.messages;
        EXPECT_EQ(2, o.objects);
        EXPECT_EQ("", o.messages);
    }
}

TEST(QmfDamage, TableOfDamages)
{
    TempDir dir;
    std::string path = dir.file("damaged.qm");
    const Sample s = twoPageSample();
    auto u32at = [](size_t at, uint32_t v) {
        return [at, v](Bytes &b) { putU32(b, at, v); };
    };
    auto u16at = [](size_t at, uint16_t v) {
        return [at, v](Bytes &b) { putU16(b, at, v); };
    };
    struct Case {
        const char *what;
        std::function<void(Bytes &)> damage;
        int page;
        bool opens;
        int objects;
        const char *message;   // contained in the recorded messages
    } cases[] = {
        {"form head length past the file", u32at(s.formHead, 0xFFFFFFF0), 0, false, -1,
         "Read packet error"},
        {"form head length below its own bytes", u32at(s.formHead, 2), 0, false, -1,
         "Read packet error"},
        {"form head too short for its fields", u32at(s.formHead, 20), 0, false, -1,
         "Read file failed."},
        {"record length past its page", u32at(s.page1Rect, 0x10000), 1, false, -1,
         "Read packet error"},
        {"record length zero", u32at(s.page1Rect, 0), 1, false, -1, "Read packet error"},
        {"page size past the end of the file", u32at(s.sizeArray + 8, 0x7FFFFFFF), 1, false, -1,
         "Unexpected end of file"},
        {"page size wrapping the offsets", u32at(s.sizeArray + 4, 0xFFFFFF00u), 1, false, -1,
         "Unexpected end of file"},
        {"page size wrapping, first page", u32at(s.sizeArray + 4, 0xFFFFFF00u), 0, false, -1,
         "Unexpected end of file"},
        // The first page's entry ends early: it may not read into the next.
        {"page size too small", u32at(s.sizeArray + 4, 600), 0, false, -1, "Read file failed."},
        {"size array of the wrong length", u32at(s.sizeArray, 8), 0, false, -1,
         "nPages != npages in CreatePGDList"},
        {"page record name longer than 32", [&](Bytes &b) { b[s.page1 + 7] = 40; }, 1, false, -1,
         "Reading object failed"},
        {"object name longer than 32", [&](Bytes &b) { b[s.page1Rect + 7] = 33; }, 1, true, 1,
         "Reading object failed"},
        {"name longer than its record", [&](Bytes &b) { b[s.page1Rect + 7] = 30; }, 1, true, 1,
         "Reading object failed"},
        {"point count larger than its record", u16at(s.page1Polygon + 72, 200), 1, true, 1,
         "Reading object failed"},
        {"negative point count", u16at(s.page1Polygon + 72, 0x8000), 1, true, 1,
         "Reading object failed"},
        {"negative page attribute length", u16at(s.page1Attr + 4, 0xFFFF), 1, false, -1,
         "Read file failed."},
        {"page attribute longer than the run", u16at(s.page1Attr + 4, 40), 1, false, -1,
         "Read file failed."},
        {"scrambled record of an unknown type", [&](Bytes &b) {
             putU16(b, s.page1Rect + 4, 0x8000 | 999);
             for (size_t i = s.page1Rect + 6; i < s.page1Polygon; ++i)
                 b[i] ^= 0x5A;
         }, 1, false, -1, "Reading object failed"},
        // Unscrambled, its garbage presence flags claim records that are
        // not there.
        {"scrambled text-bearing type without its converter", u16at(s.page1Rect + 4, 0x8000 | 45),
         1, false, -1, "Reading object failed"},
        {"record of an unknown type", u16at(s.page1Rect + 4, 999), 1, true, 1,
         "Reading object failed"},
        {"object count past the page", u16at(s.page1 + 72 + 316, 9), 1, false, -1,
         "Unexpected end of file"},
        {"negative object count", u16at(s.page1 + 72 + 316, 0xFFFF), 1, false, -1,
         "Read error"},
        {"layer list length not 4 per layer", u16at(s.page1 + 448 + 9 + 2, 6), 1, false, -1,
         "Read error"},
        {"presence flag without its record", u16at(s.page1Polygon + 66, 1), 1, false, -1,
         "Read file failed."},
        {"page record of another type", u16at(s.page0 + 4, OBT_RECTANGLE), 0, false, -1,
         "Read error"},
        {"unknown page record type", u16at(s.page0 + 4, 999), 0, false, -1,
         "Reading object failed"},
    };
    for (const Case &c : cases) {
        Bytes b = s.bytes;
        c.damage(b);
        ASSERT_TRUE(qmtest::writeFile(path, b)) << c.what;
        Outcome o = openAndClose(path, c.page);
        EXPECT_EQ(c.opens, o.opened) << c.what << ": " << o.messages;
        EXPECT_EQ(c.objects, o.objects) << c.what;
        EXPECT_NE(std::string::npos, o.messages.find(c.message)) << c.what << ": " << o.messages;
    }
}

// A page record whose next member is read and linked before the member's
// own attached tree turns out to be missing: the failed read frees the
// member with the page, whichever way the page is read.
TEST(QmfDamage, AFailedPageReadFreesTheMembersLinkedToThePage)
{
    TempDir dir;
    std::string path = dir.file("member.qm");
    Builder f;
    f.bytes(header()).packet(withoutLength(formHead(1))).bytes(wsbPacket());
    Bytes page = pageRecord(0);
    putU16(page, 68, 1);   // the page claims a next member
    Bytes member = boxRecord(OBT_RECTANGLE, 0, 0, 100, 100);
    putU16(member, 70, 1);   // whose attached tree the file does not hold
    f.bytes(page).bytes(member);
    ASSERT_TRUE(qmtest::writeFile(path, f.b));
    Outcome o = openAndClose(path, 0);
    EXPECT_FALSE(o.opened);
    EXPECT_NE(std::string::npos, o.messages.find("Read file failed.")) << o.messages;
    // The page read alone, without the document around it.
    obtest::LiveCount live;
    {
        BoxRecorder boxes;
        MemHandle form = qmfOpenDocument(nullptr, path.c_str(), -1, nullptr);
        ASSERT_NE(0u, form) << boxes.texts();
        EXPECT_EQ(0u, qmfReadPageAt(path.c_str(), fmGetDirectory(form), 0));
        fmFree(form);
    }
    EXPECT_EQ(0, live.leaked());
}

// The record reader itself answers failure for a damaged record.
TEST(QmfDamage, DamagedRecordReadsAsNone)
{
    TempDir dir;
    std::string path = dir.file("record.bin");
    const Sample s = twoPageSample();
    Bytes rect(s.bytes.begin() + (long)s.page1Rect, s.bytes.begin() + (long)s.page1Polygon);
    rect[7] = 33;
    ASSERT_TRUE(qmtest::writeFile(path, rect));
    obtest::LiveCount live;
    {
        BoxRecorder boxes;
        DWORD size;
        HANDLE f = ffOpenRead(path.c_str(), &size, TRUE);
        int32_t budget = (int32_t)size;
        EXPECT_EQ(0u, qmfReadObjectRecord(f, &budget));
        EXPECT_EQ(0, budget);
        ffClose(f);
        EXPECT_EQ("Reading object failed", boxes.texts());
    }
    EXPECT_EQ(0, live.leaked());
}

TEST(QmfDamage, TruncationAtEveryOffset)
{
    TempDir dir;
    std::string path = dir.file("cut.qm");
    const Sample s = twoPageSample();
    for (size_t cut = 0; cut < s.bytes.size(); ++cut) {
        ASSERT_TRUE(qmtest::writeFile(path, Bytes(s.bytes.begin(), s.bytes.begin() + (long)cut)));
        // The second page reaches the end of the file, so every cut loses it.
        Outcome last = openAndClose(path, 1);
        EXPECT_FALSE(last.opened) << "cut at " << cut;
        EXPECT_FALSE(last.messages.empty()) << "cut at " << cut;
        // The first page opens only when the cut leaves it whole.
        Outcome first = openAndClose(path, 0);
        if (first.opened)
            EXPECT_GE(cut, s.page1) << "cut at " << cut;
        else
            EXPECT_FALSE(first.messages.empty()) << "cut at " << cut;
        if (::testing::Test::HasFailure())
            break;
    }
}

// Draws the page into a small DIB at the zoom, mapped like a view with the
// page's top left in the device's top left.
void drawPage(qmtest::Dib &dib, MemHandle form, MemHandle page, int zoom)
{
    dib.fill(RGB(255, 255, 255));
    dmSetZoomDC(dib.dc(), zoom);
    dmSetMapping(dib.dc());
    pgRender(nullptr, dib.dc(), form, page, 1, nullptr, FALSE, TRUE, TRUE, FALSE, FALSE);
}

// Where the structure of a seed lies: record packets (a length that fits
// the file, then a type the seeds use), and within them the sizes, counts
// and lengths a damaged file may set to anything.
struct SeedMap {
    std::vector<size_t> records;   // record starts
    std::vector<size_t> fields32;  // u32 sizes and lengths
    std::vector<size_t> fields16;  // u16 counts
};

SeedMap mapSeed(const Bytes &b)
{
    SeedMap m;
    const int16_t seedTypes[] = {OBT_PAGE, OBT_RECTANGLE, OBT_ELLIPSE, OBT_POLYGON, OBT_GROUP,
                                 OBT_CALENDAR, OBT_3D_TEXT, (int16_t)(0x8000 | OBT_3D_TEXT)};
    m.fields16.push_back(40 + 36);   // the form head's page count
    for (size_t at = 40; at + 6 <= b.size(); ++at) {
        uint32_t length = getU32(b, at);
        int16_t type = (int16_t)getU16(b, at + 4);
        if (length < 72 || length > b.size() - at ||
            std::find(std::begin(seedTypes), std::end(seedTypes), type) == std::end(seedTypes))
            continue;
        m.records.push_back(at);
        m.fields32.push_back(at);                          // the packet length
        m.fields32.insert(m.fields32.end(), {at + 16, at + 20});   // width, height
        if (type == OBT_PAGE && length >= 72 + 376) {
            m.fields16.insert(m.fields16.end(), {at + 72 + 316, at + 72 + 344, at + 72 + 346});
            m.fields32.insert(m.fields32.end(), {at + 72 + 318, at + 72 + 330, at + 72 + 336});
        } else if ((type == OBT_RECTANGLE || type == OBT_ELLIPSE) && length >= 80) {
            m.fields32.insert(m.fields32.end(), {at + 72, at + 76});   // the box's sides
        } else if (type == OBT_POLYGON) {
            m.fields16.push_back(at + 72);   // the point count
        }
    }
    return m;
}

// Bit flips, byte changes, cuts, and the sizes, counts and lengths of the
// structure set to 0, -1, 0x7FFFFFFF and 0x80000000, over documents the
// test writes itself and splices of two of them: thousands of files a run,
// each opened, every page read and drawn at 25 and 400 percent, with
// nothing left allocated after any failed read and the file closed again.
TEST(QmfDamage, ReaderFuzz)
{
    TempDir dir;
    std::vector<Bytes> seeds;
    seeds.push_back(twoPageSample().bytes);
    {
        BoxRecorder boxes;
        MemHandle rich = richDocument(2);
        seeds.push_back(documentBytes(rich, dir.file("rich.qm")));
        fmFree(rich);
        MemHandle scrambled = richDocument(3);
        seeds.push_back(documentBytes(scrambled, dir.file("scrambled.qm"), TRUE));
        fmFree(scrambled);
        EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    }
    std::vector<SeedMap> maps;
    for (const Bytes &b : seeds) {
        maps.push_back(mapSeed(b));
        ASSERT_GE(maps.back().records.size(), 5u);
    }
    std::string path = dir.file("fuzz.qm");
    std::mt19937 random(20261210);
    auto pick = [&](size_t n) { return n ? (size_t)(random() % n) : 0; };
    const uint32_t extremes32[] = {0, 3, 4, 5, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 0xFFFF, 0x10000};
    const uint16_t extremes16[] = {0, 1, 0x7FFF, 0x8000, 0xFFFF, 33, 255};
    const uint32_t structural32[] = {0, 0xFFFFFFFFu, 0x7FFFFFFF, 0x80000000u};
    const uint16_t structural16[] = {0, 0xFFFF, 0x7FFF, 0x8000};
    const int kFiles = 4000;
    qmtest::Dib dib(64, 48);
    {
        // The drawing modules keep a few blocks of their own once they
        // have drawn (fonts, lists of the pass): taken before counting.
        ASSERT_TRUE(qmtest::writeFile(path, seeds[1]));
        MemHandle page = 0;
        MemHandle form = qmfOpenDocument(nullptr, path.c_str(), 0, &page);
        ASSERT_NE(0u, form);
        drawPage(dib, form, page, 25);
        drawPage(dib, form, page, 400);
        fmFree(form);
    }
    long start = qmtest::liveHandles();
    int opened = 0, pagesRead = 0, pagesRefused = 0;
    BoxRecorder boxes;
    for (int i = 0; i < kFiles; ++i) {
        size_t seed = pick(seeds.size());
        Bytes b = seeds[seed];
        const SeedMap *map = &maps[seed];
        if (random() % 8 == 0) {
            // Two documents spliced at record boundaries: the head of one,
            // the tail of another.
            size_t other = pick(seeds.size());
            const SeedMap &om = maps[other];
            size_t cut = map->records[pick(map->records.size())];
            size_t from = om.records[pick(om.records.size())];
            b.resize(cut);
            b.insert(b.end(), seeds[other].begin() + (long)from, seeds[other].end());
            map = nullptr;   // the offsets no longer hold
        }
        int damages = (map ? 1 : 0) + (int)pick(3);
        for (int d = 0; d < damages && !b.empty(); ++d) {
            size_t at = pick(b.size());
            if (random() % 2)
                at = pick(std::min<size_t>(b.size(), 700));   // the header, form and first records
            int kind = (int)(random() % 8);
            if (kind >= 5 && !map)
                kind = (int)(random() % 5);
            switch (kind) {
            case 0: if (at < b.size()) b[at] ^= (uint8_t)(1u << (random() % 8)); break;
            case 1: if (at < b.size()) b[at] = (uint8_t)random(); break;
            case 2: if (at < b.size()) b.resize(at); break;
            case 3:
                if (at + 4 <= b.size())
                    putU32(b, at, extremes32[pick(sizeof extremes32 / 4)]);
                break;
            case 4:
                if (at + 2 <= b.size())
                    putU16(b, at, extremes16[pick(sizeof extremes16 / 2)]);
                break;
            case 5: {
                // A record's length or a field of its head set to an extreme.
                size_t record = map->records[pick(map->records.size())] + 4 + pick(68);
                if (record + 4 <= b.size())
                    putU32(b, record, extremes32[pick(sizeof extremes32 / 4)]);
                break;
            }
            case 6: {
                size_t field = map->fields32[pick(map->fields32.size())];
                if (field + 4 <= b.size())
                    putU32(b, field, structural32[pick(4)]);
                break;
            }
            default: {
                size_t field = map->fields16[pick(map->fields16.size())];
                if (field + 2 <= b.size())
                    putU16(b, field, structural16[pick(4)]);
                break;
            }
            }
        }
        ASSERT_TRUE(qmtest::writeFile(path, b)) << "file " << i << " is still open";
        MemHandle page = 0;
        MemHandle form = qmfOpenDocument(nullptr, path.c_str(), (int)pick(4) - 1, &page);
        opened += form != 0;
        if (form) {
            // Every page of what opened, read on its own and drawn.
            for (int n = 0; n < std::min(fmGetPageCount(form), 4); ++n) {
                long before = qmtest::liveHandles();
                MemHandle read = qmfReadPageAt(path.c_str(), fmGetDirectory(form), n);
                if (!read) {
                    ++pagesRefused;
                    ASSERT_EQ(before, qmtest::liveHandles())
                        << "blocks left after a failed read of page " << n << " of file " << i;
                    continue;
                }
                ++pagesRead;
                drawPage(dib, form, read, 25);
                drawPage(dib, form, read, 400);
                pgFreeList(read);
            }
        }
        fmFree(form);
        boxes.clear();
        ASSERT_EQ(start, qmtest::liveHandles()) << "blocks left after file " << i;
    }
    dmResetModule();
    EXPECT_TRUE(qmtest::fileIsClosed(path));
    // The mutations leave some files and pages readable and refuse most.
    EXPECT_GT(opened, 0);
    EXPECT_LT(opened, kFiles);
    EXPECT_GT(pagesRead, 0);
    EXPECT_GT(pagesRefused, 0);
}

}  // namespace
