// Record sizes of the point shapes and the calendar through the size
// dispatcher: their type data is kept whole, never cut to head and name.
#include "tests/model/qmf_kit.h"

using namespace qmftest;

namespace {

// A point shape with n points and the given flags, fill kind and name;
// its block holds `spare` bytes more than its parts.
MemHandle pointShape(int16_t type, int16_t n, uint32_t flags, uint8_t fill, const char *name,
                     uint32_t extra)
{
    MemHandle h = obtest::make(type, 0, 0, 1000, 1000, 2 + 8 * (uint32_t)n + extra);
    if (name)
        h = obSetName(h, name);
    ObLock r(h);
    memcpy(obRecData(r.get()), &n, 2);
    r->flags = flags;
    r->fillKind = fill;
    return h;
}

TEST(ObjectSize, PointShapesKeepTheirPointsEndsAndFills)
{
    struct Case {
        int16_t type;
        int16_t points;
        uint32_t flags;
        uint8_t fill;
        uint32_t tail;   // bytes behind the points
    } cases[] = {
        {OBT_LINE, 2, 0, 0, 0},
        {OBT_LINE_ALIAS, 2, 0, 0, 0},
        {OBT_HLINE, 2, OBF_END_SYMBOL, 0, 6},
        {OBT_VLINE, 2, OBF_START_SYMBOL, 0, 6},
        {OBT_POLYLINE, 5, OBF_START_SYMBOL | OBF_END_SYMBOL, 0, 12},
        {OBT_POLYHV, 4, 0, 1, 0},            // an open shape has no fill data
        {OBT_BEZIER, 7, OBF_END_SYMBOL, 0, 6},
        {OBT_POLYGON, 6, 0, 2, 24},          // pattern fill
        {OBT_POLYGON, 6, OBF_END_SYMBOL, 3, 40},   // gradient; ends are not the closed shapes'
        {OBT_CLOSED_CURVE, 9, 0, 1, 0},
        {OBT_CUBE, 6, 0, 3, 40},
        {OBT_POLYLINE, 0, 0, 0, 0},
    };
    for (const Case &c : cases) {
        for (const char *name : {(const char *)nullptr, "Outline"}) {
            MemHandle h = pointShape(c.type, c.points, c.flags, c.fill, name, c.tail + 16);
            uint32_t nameBytes = name ? (uint32_t)strlen(name) + 1 : 0;
            uint32_t want = 86 + nameBytes + 2 + 8 * (uint32_t)c.points + c.tail;
            EXPECT_EQ(want, obCalcSize(h, 0)) << "type " << c.type << " n " << c.points;
            {
                ObLock r(h);
                EXPECT_EQ(want, r->length);
            }
            utFreeHandle(h);
        }
    }
}

TEST(ObjectSize, DamagedPointCountsKeepTheStoredLength)
{
    struct Case {
        int16_t count;
        const char *what;
    } cases[] = {{-3, "negative"}, {5000, "past the block"}};
    for (const Case &c : cases) {
        MemHandle h = pointShape(OBT_POLYLINE, 3, 0, 0, nullptr, 0);
        uint32_t stored;
        {
            ObLock r(h);
            memcpy(obRecData(r.get()), &c.count, 2);
            stored = r->length;
        }
        EXPECT_EQ(stored, obCalcSize(h, 0)) << c.what;
        utFreeHandle(h);
    }
}

TEST(ObjectSize, TheCalendarKeepsItsFixedPartAndTail)
{
    for (uint32_t tail : {0u, 6u, 100u}) {
        MemHandle h = makeCalendar(tail);
        EXPECT_EQ(86 + kCalFixedSize + tail, obCalcSize(h, 0)) << tail;
        // Written and read back, the calendar is whole.
        MemHandle packet = qmfMakeFileRecord(h);
        ASSERT_TRUE(packet);
        EXPECT_EQ(72 + kCalFileHeadSize + tail, utGetPacketLength(packet));
        utFreeHandle(packet);
        utFreeHandle(h);
    }
    // A tail count past the block is not believed.
    MemHandle h = makeCalendar(6);
    uint32_t stored;
    {
        ObLock r(h);
        uint32_t huge = 1u << 30;
        memcpy(obRecData(r.get()) + 288, &huge, 4);
        stored = r->length;
    }
    EXPECT_EQ(stored, obCalcSize(h, 0));
    utFreeHandle(h);
}

TEST(ObjectSize, PointShapesRoundTripThroughTheirFileRecords)
{
    MemHandle h = pointShape(OBT_POLYGON, 4, 0, 2, "Quad", 24);
    {
        ObLock r(h);
        uint8_t *pts = obRecData(r.get()) + 2;
        for (int i = 0; i < 32 + 24; ++i)
            pts[i] = (uint8_t)(i * 5 + 1);
    }
    obCalcSize(h, 0);
    Bytes want = unlinkedBytes(h);
    MemHandle packet = qmfMakeFileRecord(h);
    ASSERT_TRUE(packet);
    EXPECT_EQ(want.size() - 14, utGetPacketLength(packet));
    MemHandle back = 0;
    uint16_t flags[7];
    ASSERT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags));
    EXPECT_EQ(want, unlinkedBytes(back));
    utFreeHandle(back);
    utFreeHandle(packet);
    utFreeHandle(h);
}

}  // namespace
