// Object file records: sizes by type, presence flags, the converted types
// carried whole, upgrades of older records, records left out, scrambling
// and the open converter table.
#include "tests/model/qmf_kit.h"

using namespace qmftest;
using qmtest::BoxRecorder;
using qmtest::TempDir;

namespace {

Bytes packetBytes(MemHandle packet)
{
    MemLock<uint8_t> p(packet);
    Bytes b(p.get(), p.get() + utGetPacketLength(packet));
    return b;
}

// The record read back from its file form (flags through `flags`).
MemHandle readBack(MemHandle object, uint16_t flags[7], QmfReadResult *result = nullptr)
{
    MemHandle packet = qmfMakeFileRecord(object);
    EXPECT_NE(0u, packet);
    MemHandle rec = 0;
    QmfReadResult r = qmfRecordFromFile(packet, &rec, flags);
    if (result)
        *result = r;
    utFreeHandle(packet);
    return rec;
}

uint32_t lengthOf(MemHandle h)
{
    ObLock r(h);
    return r ? r->length : 0;
}

TEST(QmfRecords, RectangleIsFourteenShorterWithFlagsInPlace)
{
    obtest::LiveCount live;
    {
        MemHandle rect = obSetName(obtest::make(OBT_RECTANGLE, 0, 0, 400, 300), "Box");
        MemHandle other = obtest::make(OBT_ELLIPSE);
        MemHandle group = obNewGroup(OBT_GROUP, rect, other, (MemHandle)0);
        obSetExtraData(rect, obtest::packet(12));
        MemHandle attached = obtest::make(OBT_RECTANGLE);
        obSetAttached(rect, attached);
        obSetParent(attached, rect);

        uint32_t memory = obCalcSize(rect, 0);
        MemHandle packet = qmfMakeFileRecord(rect);
        Bytes f = packetBytes(packet);
        EXPECT_EQ(memory - 14, f.size());
        EXPECT_EQ(memory - 14, getU32(f, 0));
        EXPECT_EQ(OBT_RECTANGLE, (int16_t)getU16(f, 4));
        // extra data, prev, next, parent, first member, next member, attached
        const uint16_t want[7] = {1, 0, 0, 1, 0, 1, 1};
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(want[i], getU16(f, 58 + 2 * (size_t)i)) << "flag at " << 58 + 2 * i;
        EXPECT_EQ("Box", std::string((const char *)&f[72]));
        EXPECT_EQ(0, f[75]);
        // The head's first 58 bytes and the type data are those of memory.
        Bytes m = unlinkedBytes(rect);
        EXPECT_TRUE(std::equal(m.begin() + 4, m.begin() + 58, f.begin() + 4));
        EXPECT_TRUE(std::equal(m.begin() + 86, m.end(), f.begin() + 72));
        EXPECT_EQ(memory - 14, obFileRecordSize(rect));

        // Read back: byte-identical with every link cleared; the flags are
        // given apart and never stored as markers.
        uint16_t flags[7];
        MemHandle back = 0;
        EXPECT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags));
        EXPECT_EQ(unlinkedBytes(rect), unlinkedBytes(back));
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(want[i], flags[i]);
        EXPECT_EQ(0u, obGetExtraData(back));
        EXPECT_EQ(0u, obGetParent(back));
        EXPECT_EQ(0u, obGetNextMember(back));
        EXPECT_EQ(0u, obGetAttached(back));
        utFreeHandle(back);
        utFreeHandle(packet);
        obFreeTree(group);
    }
    EXPECT_EQ(0, live.leaked());
}

TEST(QmfRecords, SizesOfTheConvertedTypes)
{
    BoxRecorder boxes;
    obtest::LiveCount live;
    {
        struct Case {
            const char *what;
            MemHandle object;
            int difference;   // file length - memory length
        } cases[] = {
            {"rectangle", obtest::make(OBT_RECTANGLE), -14},
            {"polyline", obtest::make(OBT_POLYLINE, 0, 0, 100, 100, 2 + 3 * 8), -14},
            {"3D text", make3dText(), -20},
            {"calendar", makeCalendar(), 10},
            {"page", pgtest::newPage("Named page"), -46},
            {"copied whole (83)", obtest::make(83, 0, 0, 10, 10, 30), 0},
        };
        for (Case &c : cases) {
            if (std::string(c.what) == "polyline") {
                ObLock r(c.object);
                int16_t three = 3;
                memcpy(obRecData(r.get()), &three, 2);
            }
            uint32_t memory = lengthOf(c.object);
            MemHandle packet = qmfMakeFileRecord(c.object);
            ASSERT_NE(0u, packet) << c.what;
            EXPECT_EQ((int64_t)memory + c.difference, (int64_t)utGetPacketLength(packet)) << c.what;
            EXPECT_EQ(utGetPacketLength(packet), obFileRecordSize(c.object)) << c.what;
            uint16_t flags[7];
            MemHandle back = 0;
            EXPECT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags)) << c.what;
            EXPECT_EQ(memory, lengthOf(back)) << c.what;
            if (obGetType(c.object) != OBT_PAGE) {
                EXPECT_EQ(unlinkedBytes(c.object), unlinkedBytes(back)) << c.what;
            }
            utFreeHandle(packet);
            obFreeTree(back);
            obFreeTree(c.object);
        }
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(0, live.leaked());
}

TEST(QmfRecords, CalendarCarriesEveryFieldOfItsLayout)
{
    MemHandle cal = makeCalendar(9);
    MemHandle packet = qmfMakeFileRecord(cal);
    Bytes f = packetBytes(packet);
    const size_t data = 72;   // no name
    EXPECT_EQ(332u, getU32(f, data));
    EXPECT_EQ(52u, getU16(f, data + 4));
    EXPECT_EQ(9u, getU16(f, data + 246));          // the trailing count
    EXPECT_EQ(3u, f[data + 259]);                   // weekday-name form
    EXPECT_EQ(0x00C0FFEEu, getU32(f, data + 262));  // frame value
    EXPECT_EQ(20u, getU16(f, data + 260));          // format version
    // The title font narrowed in place.
    FontRecord16 font;
    memcpy(&font, &f[data + 24], sizeof font);
    EXPECT_EQ(-264, font.height);
    EXPECT_EQ(700, font.weight);
    EXPECT_STREQ("Arial", font.faceName);

    uint16_t flags[7];
    MemHandle back = 0;
    ASSERT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags));
    EXPECT_EQ(unlinkedBytes(cal), unlinkedBytes(back));
    utFreeHandle(back);
    utFreeHandle(packet);

    // A calendar of format version 0 gets its fill unless transparent.
    for (uint16_t transparent : {0, 0x10}) {
        {
            ObLock r(cal);
            uint8_t *d = obRecData(r.get());
            uint16_t zero = 0, fl = transparent;
            memcpy(d + 306, &zero, 2);
            memcpy(d + 86, &fl, 2);
            r->fillKind = 0;
        }
        back = readBack(cal, flags);
        ObLock r(back);
        EXPECT_EQ(transparent ? 0 : 1, r->fillKind);
        uint16_t fl;
        memcpy(&fl, obRecData(r.get()) + 86, 2);
        EXPECT_EQ(0, fl & 0x10);
        utFreeHandle(back);
    }
    utFreeHandle(cal);
}

// Counts inside converted records are checked against the record before
// anything is copied, in 64-bit arithmetic.
TEST(QmfRecords, CountsPastTheRecordAreRefused)
{
    obtest::LiveCount live;
    struct Case {
        const char *what;
        MemHandle object;
        size_t countAt;   // offset of the count in the file record
        uint32_t value;
        int width;
    } cases[] = {
        {"calendar trailing count", makeCalendar(4), 72 + 246, 5, 2},
        {"calendar trailing count at its most", makeCalendar(4), 72 + 246, 0xFFFF, 2},
        {"3D text tail", make3dText(4), 72 + 116, 5, 4},
        {"3D text tail wrapping", make3dText(4), 72 + 116, 0xFFFFFFFF, 4},
        {"point count", obtest::make(OBT_POLYGON, 0, 0, 10, 10, 2 + 8 * 3), 72, 4, 2},
        {"negative point count", obtest::make(OBT_POLYGON, 0, 0, 10, 10, 2 + 8 * 3), 72, 0xFFFF, 2},
    };
    for (Case &c : cases) {
        BoxRecorder boxes;
        MemHandle packet = qmfMakeFileRecord(c.object);
        ASSERT_NE(0u, packet) << c.what;
        {
            MemLock<uint8_t> p(packet);
            memcpy(p.get() + c.countAt, &c.value, (size_t)c.width);
        }
        uint16_t flags[7];
        MemHandle back = 0;
        EXPECT_EQ(QMF_RECORD_DROPPED, qmfRecordFromFile(packet, &back, flags)) << c.what;
        EXPECT_EQ(0u, back) << c.what;
        EXPECT_EQ("Reading object failed", boxes.texts()) << c.what;
        utFreeHandle(packet);
        utFreeHandle(c.object);
    }
    EXPECT_EQ(0, live.leaked());
}

TEST(QmfRecords, UpgradesOfOlderRecords)
{
    BoxRecorder boxes;
    uint16_t flags[7];
    // An old composite becomes the composite of today with two fields cleared.
    MemHandle old = obtest::make(OBT_COMPOSITE85, 0, 0, 10, 10, 64);
    MemHandle back = readBack(old, flags);
    ASSERT_NE(0u, back);
    EXPECT_EQ(OBT_COMPOSITE, obGetType(back));
    Bytes d = obtest::dataOf(back);
    EXPECT_EQ(0u, getU32(d, 48));
    EXPECT_EQ(0u, getU16(d, 56));
    EXPECT_EQ(obtest::dataOf(old)[47], d[47]);
    EXPECT_EQ(obtest::dataOf(old)[58], d[58]);
    utFreeHandle(back);
    utFreeHandle(old);
    EXPECT_EQ(0u, boxes.count());

    // A table of format below 2 is refused with its own message.
    QmfConverter table = {OBT_TABLE, OBT_TABLE, QMF_CONV_HEAD, nullptr, nullptr};
    qmfRegisterConverter(table);
    MemHandle t = obtest::make(OBT_TABLE, 0, 0, 10, 10, 120);
    {
        ObLock r(t);
        obRecData(r.get())[50] = 1;
    }
    QmfReadResult result;
    EXPECT_EQ(0u, readBack(t, flags, &result));
    EXPECT_EQ(QMF_RECORD_DROPPED, result);
    EXPECT_EQ("Table data format too old, not supported.", boxes.texts());
    utFreeHandle(t);
    qmfResetConverters();
}

TEST(QmfRecords, UnknownTypesAndTheOpenTable)
{
    BoxRecorder boxes;
    obtest::LiveCount live;
    {
        // A type without a file form is not written.
        MemHandle odd = obtest::make(3001, 0, 0, 100, 100, 20);
        EXPECT_EQ(0u, qmfMakeFileRecord(odd));
        EXPECT_EQ("Unsupported object type", boxes.texts());
        EXPECT_EQ(0u, obFileRecordSize(odd));
        utFreeHandle(odd);
        boxes.clear();

        // A module's entry replaces the one it has: text objects stored as
        // type 90 by a stand-in.
        MemHandle text = obtest::make(OBT_TEXT, 0, 0, 100, 100, 20);
        auto toFile = [](const ObjectRecord *, const uint8_t *d, uint32_t n, std::vector<uint8_t> &out) -> BOOL {
            out.insert(out.end(), d, d + n);
            out.push_back(0xAB);
            return TRUE;
        };
        auto fromFile = [](ObjectRecord *, const uint8_t *d, uint32_t n, std::vector<uint8_t> &out) -> BOOL {
            if (n < 1 || d[n - 1] != 0xAB)
                return FALSE;
            out.assign(d, d + n - 1);
            return TRUE;
        };
        qmfRegisterConverter({OBT_TEXT, 90, QMF_CONV_DATA, toFile, fromFile});
        MemHandle packet = qmfMakeFileRecord(text);
        ASSERT_NE(0u, packet);
        EXPECT_EQ(90u, getU16(packetBytes(packet), 4));
        uint16_t flags[7];
        MemHandle back = 0;
        EXPECT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags));
        EXPECT_EQ(unlinkedBytes(text), unlinkedBytes(back));
        utFreeHandle(back);

        // Stored scrambled it reads back the same.
        qmfScrambleRecord(packet, kQmfRecordKey);
        EXPECT_EQ(0x8000 | 90, getU16(packetBytes(packet), 4));
        qmfUnscrambleRecord(packet);
        EXPECT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags));
        EXPECT_EQ(unlinkedBytes(text), unlinkedBytes(back));
        utFreeHandle(back);

        // Without a reader of its file type the record is left out with a
        // message.
        qmfRegisterConverter({OBT_TEXT, 90, QMF_CONV_DATA, toFile, nullptr});
        EXPECT_EQ(QMF_RECORD_DROPPED, qmfRecordFromFile(packet, &back, flags));
        EXPECT_EQ(0u, back);
        EXPECT_EQ("Reading object failed", boxes.texts());
        utFreeHandle(packet);
        utFreeHandle(text);
        // Reset, the registered types' own entries are back.
        qmfResetConverters();
        const QmfConverter *own = qmfFindWriter(OBT_TEXT);
        ASSERT_NE(nullptr, own);
        EXPECT_NE((QmfDataToFile)toFile, own->toFile);
        EXPECT_NE(nullptr, qmfFindReader(90));
        EXPECT_NE(nullptr, qmfFindReader(OBT_CALENDAR));

        // The program's own negative types are not taken for scrambled ones.
        MemHandle negative = obtest::make(-25, 0, 0, 10, 10, 8);
        back = readBack(negative, flags);
        EXPECT_EQ(-25, obGetType(back));
        utFreeHandle(back);
        utFreeHandle(negative);
    }
    EXPECT_EQ(0, live.leaked());
}

// A member of an unknown type is left out with what it owns; its next
// member takes its place, and the rest of the page is kept.
TEST(QmfRecords, UnknownMemberIsSteppedOverWithItsSubtree)
{
    TempDir dir;
    std::string path = dir.file("member.qm");
    QmfConverter stand = {297, 297, QMF_CONV_HEAD, nullptr, nullptr};   // a note, for writing
    qmfRegisterConverter(stand);
    MemHandle form = fmNew();
    MemHandle page = pgtest::newPage();
    MemHandle m1 = obSetName(obtest::make(OBT_RECTANGLE), "m1");
    MemHandle odd = obSetName(obtest::make(297, 0, 0, 50, 50, 10), "odd");
    MemHandle m3 = obSetName(obtest::make(OBT_ELLIPSE), "m3");
    MemHandle inner = obSetName(obtest::make(OBT_RECTANGLE), "inner");
    MemHandle oddGroup = obNewGroup(OBT_GROUP, inner, (MemHandle)0);
    obSetAttached(odd, oddGroup);
    obSetExtraData(odd, obtest::packet(16));
    MemHandle group = obNewGroup(OBT_GROUP, m1, odd, m3, (MemHandle)0);
    pgAppendObjects(page, group);
    pgtest::addObject(page, "after");
    pgDirAppend(form, page);
    documentBytes(form, path);
    qmfResetConverters();
    fmFree(form);

    obtest::LiveCount live;
    {
        BoxRecorder boxes;
        MemHandle read = 0;
        MemHandle doc = qmfOpenDocument(nullptr, path.c_str(), 0, &read);
        ASSERT_NE(0u, doc) << boxes.texts();
        EXPECT_EQ("Reading object failed", boxes.texts());
        std::vector<MemHandle> objects = obtest::listOf(pgGetFirstObject(read));
        ASSERT_EQ(2u, objects.size());
        std::vector<MemHandle> members = obtest::membersOf(objects[0]);
        ASSERT_EQ(2u, members.size());
        EXPECT_EQ("m1", obtest::nameOf(members[0]));
        EXPECT_EQ("m3", obtest::nameOf(members[1]));
        for (MemHandle m : members) {
            EXPECT_EQ(objects[0], obGetParent(m));
            EXPECT_EQ(0u, obGetAttached(m));
            EXPECT_EQ(0u, obGetExtraData(m));
        }
        EXPECT_EQ("after", obtest::nameOf(objects[1]));
        fmFree(doc);
    }
    EXPECT_EQ(0, live.leaked());
}

}  // namespace
