// The object record: names, boxes, copies and release, head fields,
// colours, fills, flags, the file form and new arrows.
#include "tests/model/ob_kit.h"
#include "support/dm_map.h"
#include "support/ut_msg.h"
#include "objects/onm_names.h"
#include "objects/sh_arrow.h"

using namespace obtest;

namespace {

class ObRecord : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(0, live_.leaked()) << "memory handle leaked"; }
    LiveCount live_;
};

const char k40[] = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";

// ---- names -------------------------------------------------------------------------------

TEST_F(ObRecord, LongNameIsCutTo31CharactersAndTheDataMovesBehindIt)
{
    MemHandle h = make(700, 0, 0, 10, 10, 10);
    std::vector<uint8_t> data = dataOf(h);

    MemHandle g = obSetName(h, k40);
    ASSERT_NE(0u, g);
    EXPECT_FALSE(utIsLiveHandle(h)) << "the record grew in the moving allocator";
    {
        ObLock r(g);
        EXPECT_EQ(32, r->nameLength);
        EXPECT_EQ(kObHeadSize + 10 + 32, r->length);
        EXPECT_EQ(118u, obDataOffset(r.get()));
    }
    EXPECT_EQ(std::string(k40, 31), nameOf(g));
    EXPECT_EQ(data, dataOf(g));

    MemHandle n = obGetNameHandle(g);
    {
        MemLock<char> p(n);
        EXPECT_STREQ(std::string(k40, 31).c_str(), p.get());
    }
    utFreeHandle(n);

    // An empty name removes it; the type data moves back, its bytes intact.
    MemHandle e = obSetName(g, "");
    ASSERT_NE(0u, e);
    {
        ObLock r(e);
        EXPECT_EQ(0, r->nameLength);
        EXPECT_EQ(kObHeadSize + 10, r->length);
    }
    EXPECT_EQ(data, dataOf(e));
    EXPECT_EQ("", nameOf(e));
    EXPECT_EQ(0u, obGetNameHandle(e));
    obFreeTree(e);
}

TEST_F(ObRecord, RenamingReplacesTheNameInPlace)
{
    MemHandle h = obSetName(make(700, 0, 0, 10, 10, 4), "long name here");
    std::vector<uint8_t> data = dataOf(h);
    h = obSetName(h, "ab");
    EXPECT_EQ("ab", nameOf(h));
    EXPECT_EQ(3, ObLock(h)->nameLength);
    EXPECT_EQ(kObHeadSize + 3 + 4, ObLock(h)->length);
    EXPECT_EQ(data, dataOf(h));
    obFreeTree(h);

    char buf[kObMaxNameBytes] = "x";
    obGetName(0, buf);
    EXPECT_STREQ("", buf);
    EXPECT_EQ(0u, obSetName(0, "a"));
}

TEST_F(ObRecord, RenamingAsksAnOpenNameListToRefresh)
{
    HWND list = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr);
    ASSERT_NE(nullptr, list);
    onmSetListWindow(list);
    MemHandle h = obSetName(make(), "n");
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, list, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(121u, msg.wParam);
    onmSetListWindow(nullptr);
    DestroyWindow(list);
    h = obSetName(h, "m");
    EXPECT_FALSE(PeekMessageA(&msg, list, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    obFreeTree(h);
}

TEST_F(ObRecord, FailedRenameKeepsTheOldRecord)
{
    MemHandle h = obSetName(make(), "old");
    {
        qmtest::BoxRecorder boxes;
        utFailNextAllocs(1);
        EXPECT_EQ(0u, obSetName(h, "a much longer name"));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Memory allocation failed", boxes.last().text);
    }
    EXPECT_TRUE(utIsLiveHandle(h));
    EXPECT_EQ("old", nameOf(h));
    obFreeTree(h);
}

// A record that moves when it grows leaves no link naming its old handle.
TEST_F(ObRecord, MovedRecordIsRelinkedByItsNeighboursOwnerAndMembers)
{
    std::vector<MemHandle> list = makeList(3);
    MemHandle a = make(), b = make(), c = make();
    MemHandle g = obNewGroup(OBT_GROUP, a, b, c, 0);
    MemHandle inner = make();
    obAddMember(b, inner);   // b owns a member of its own
    MemHandle att = make();
    obSetAttached(b, att);
    obSetParent(att, b);
    // g sits in the middle of the list.
    obLinkPair(list[0], g);
    obLinkPair(g, list[1]);

    MemHandle b2 = obSetName(b, "renamed member");
    ASSERT_NE(b, b2);
    EXPECT_EQ(b2, obGetNextMember(a));
    EXPECT_EQ(c, obGetNextMember(b2));
    EXPECT_EQ(b2, obGetParent(inner));
    EXPECT_EQ(b2, obGetParent(att));

    MemHandle a2 = obSetName(a, "first member");
    EXPECT_EQ(a2, obGetFirstMember(g));

    MemHandle g2 = obSetName(g, "group");
    EXPECT_EQ(g2, obGetNext(list[0]));
    EXPECT_EQ(g2, obGetPrev(list[1]));
    for (MemHandle m : membersOf(g2))
        EXPECT_EQ(g2, obGetParent(m));
    EXPECT_EQ((std::vector<MemHandle>{a2, b2, c}), membersOf(g2));

    obDeleteList(list[0]);
    obFreeList(list[2]);
}

// ---- boxes ---------------------------------------------------------------------------------

TEST_F(ObRecord, RectangleGivenAnyWayRoundGivesPositiveSizeAndOneCentre)
{
    const RECT cases[] = {{100, 200, 300, 500}, {300, 500, 100, 200}, {300, 200, 100, 500}};
    for (const RECT &rc : cases) {
        MemHandle h = make();
        obSetRect(h, &rc);
        POINT c;
        obGetCentre(h, &c);
        EXPECT_EQ(200, c.x);
        EXPECT_EQ(350, c.y);
        EXPECT_EQ(200, obGetWidth(h));
        EXPECT_EQ(300, obGetHeight(h));
        RECT box;
        obGetRect(h, &box);
        EXPECT_EQ(100, box.left);
        EXPECT_EQ(200, box.top);
        EXPECT_EQ(300, box.right);
        EXPECT_EQ(500, box.bottom);
        obFreeTree(h);
    }
}

TEST_F(ObRecord, OddSizesTruncateTowardsZero)
{
    MemHandle h = make(OBT_RECTANGLE, -5, -5, 0, 0);
    POINT c;
    obGetCentre(h, &c);
    EXPECT_EQ(-2, c.x);   // -5 / 2 truncated towards zero
    RECT local, box;
    obRecGetLocalRect(ObLock(h).get(), &local);
    EXPECT_EQ(-2, local.left);
    EXPECT_EQ(3, local.right);
    obGetRect(h, &box);
    EXPECT_EQ(-4, box.left);
    EXPECT_EQ(1, box.right);
    POINT tl;
    obGetTopLeft(h, &tl);
    EXPECT_EQ(-4, tl.x);
    obFreeTree(h);

    RECT r = {1, 1, 1, 1};
    obGetRect(0, &r);
    EXPECT_EQ(0, r.right);
    EXPECT_EQ(0, obGetWidth(0));
    EXPECT_EQ(0, obGetType(0));
}

TEST_F(ObRecord, ListRectIsTheUnionOfTheBoxes)
{
    std::vector<MemHandle> list = makeList(3);
    RECT r;
    EXPECT_TRUE(obGetListRect(list[0], &r));
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(250, r.right);
    EXPECT_EQ(50, r.bottom);
    EXPECT_FALSE(obGetListRect(0, &r));
    obFreeList(list[0]);
}

// ---- copy, size and release --------------------------------------------------------------

TEST_F(ObRecord, CopyOfAGroupOwnsItsCopiedMembersAndFreeingItLeavesTheSource)
{
    MemHandle m[3];
    for (int i = 0; i < 3; ++i) {
        // 142 keeps its stored length, so its type data is copied whole.
        m[i] = obSetName(make(142, i * 10, 0, i * 10 + 5, 5, 8), std::to_string(i).c_str());
        obSetExtraData(m[i], packet(12));
    }
    MemHandle g = obNewGroup(OBT_GROUP, m[0], m[1], m[2], 0);
    obSetExtraData(g, packet(8));
    std::vector<std::vector<uint8_t>> heads;
    for (MemHandle x : {g, m[0], m[1], m[2]})
        heads.push_back(headOf(x));

    long before = qmtest::liveHandles();
    MemHandle copy = obCopyTree(g, 0);
    ASSERT_NE(0u, copy);
    EXPECT_EQ(8, qmtest::liveHandles() - before) << "four records and four extra packets";
    std::vector<MemHandle> cm = membersOf(copy);
    ASSERT_EQ(3u, cm.size());
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(m[i], cm[(size_t)i]);
        EXPECT_EQ(copy, obGetParent(cm[(size_t)i]));
        EXPECT_EQ(std::to_string(i), nameOf(cm[(size_t)i]));
        EXPECT_EQ(8u, dataOf(cm[(size_t)i]).size());
        EXPECT_EQ(dataOf(m[i]), dataOf(cm[(size_t)i]));
        EXPECT_NE(obGetExtraData(m[i]), obGetExtraData(cm[(size_t)i]));
        EXPECT_EQ(12u, utHandleSize(obGetExtraData(cm[(size_t)i])));
    }
    EXPECT_EQ(0u, obGetParent(copy));

    obFreeTree(copy);
    EXPECT_EQ(before, qmtest::liveHandles());
    size_t i = 0;
    for (MemHandle x : {g, m[0], m[1], m[2]})
        EXPECT_EQ(heads[i++], headOf(x)) << "source record " << i << " changed";
    obFreeTree(g);
}

TEST_F(ObRecord, CopyStartedOnAMemberCopiesTheMembersAfterItWithTheGivenParent)
{
    MemHandle a = make(), b = make(), c = make();
    MemHandle g = obNewGroup(OBT_CHAIN, a, b, c, 0);
    MemHandle sub = make();
    obSetAttached(b, sub);
    MemHandle copy = obCopyTree(b, g);
    ASSERT_NE(0u, copy);
    EXPECT_EQ(g, obGetParent(copy));
    MemHandle cc = obGetNextMember(copy);
    ASSERT_NE(0u, cc);
    EXPECT_NE(c, cc);
    EXPECT_EQ(g, obGetParent(cc));
    EXPECT_EQ(0u, obGetNextMember(cc));
    MemHandle catt = obGetAttached(copy);
    ASSERT_NE(0u, catt);
    EXPECT_NE(sub, catt);
    EXPECT_EQ(0u, obGetParent(catt)) << "an attached copy has no parent";
    obFreeTree(copy);
    obFreeTree(g);
}

TEST_F(ObRecord, CopyKeepsPrevAndNextForTheCallerToRelink)
{
    std::vector<MemHandle> list = makeList(3);
    MemHandle copy = obCopyTree(list[1], 0);
    EXPECT_EQ(list[0], obGetPrev(copy));
    EXPECT_EQ(list[2], obGetNext(copy));
    EXPECT_EQ(list[1], obGetNext(list[0])) << "the list is not touched";
    obFreeTree(copy);
    obFreeList(list[0]);
}

TEST_F(ObRecord, FailedCopyLeavesNothingBehind)
{
    MemHandle g = obNewGroup(OBT_GROUP, make(), make(), 0);
    {
        qmtest::BoxRecorder boxes;
        utFailNextAllocs(1);
        EXPECT_EQ(0u, obCopyTree(g, 0));
        EXPECT_EQ(1u, boxes.count());
    }
    // A damaged tree whose member chain runs in a circle: the copy stops
    // when it has met more objects than exist and frees what it made.
    MemHandle a = obGetFirstMember(g);
    MemHandle b = obGetNextMember(a);
    obSetNextMember(b, a);
    long before = qmtest::liveHandles();
    EXPECT_EQ(0u, obCopyTree(g, 0));
    EXPECT_EQ(before, qmtest::liveHandles());
    EXPECT_EQ(2, obCountMembers(g));
    obFreeTree(g);   // the circle is freed once, without hanging
}

TEST_F(ObRecord, TreeSizeCountsExtraDataMembersAndAttached)
{
    MemHandle a = make(700, 0, 0, 1, 1, 10);
    MemHandle b = obSetName(make(), "b");
    MemHandle g = obNewGroup(OBT_GROUP, a, b, 0);
    obSetExtraData(a, packet(20));
    MemHandle att = make();
    obSetAttached(g, att);
    // 700 (no module) sizes as head + name; a rectangle adds its 8-byte box.
    uint32_t expected = 5 + 86 + 20 + 86 + (86 + 2 + 8) + (86 + 8);
    EXPECT_EQ(expected, obTreeSize(g, 5));
    EXPECT_EQ(expected, obRecTreeSize(ObLock(g).get(), 5));
    EXPECT_EQ(77u, obTreeSize(0, 77));
    obFreeTree(g);
}

TEST_F(ObRecord, ExtraDataOfAnUntrustedSizeCountsOnlyItsBlock)
{
    MemHandle h = make(700, 0, 0, 100, 100);
    MemHandle e = packet(8);
    {
        MemLock<uint32_t> w(e);
        w[0] = 0x7FFFFFFF;
    }
    obSetExtraData(h, e);
    EXPECT_EQ(86u + 8u, obTreeSize(h, 0));
    obFreeTree(h);
}

TEST_F(ObRecord, DupSizesByTypeAndKeepsTheLinks)
{
    MemHandle h = make(OBT_GROUP, 0, 0, 10, 10, 20);   // a group sizes to the head
    obSetNext(h, 1234);
    MemHandle d = obDup(h);
    EXPECT_EQ(106u, ObLock(h)->length) << "the source is never changed";
    EXPECT_EQ(86u, ObLock(d)->length);
    EXPECT_EQ(1234u, obGetNext(d));
    MemHandle d2 = obRecDup(ObLock(h).get());
    EXPECT_EQ(headOf(d), headOf(d2));
    utFreeHandle(d);
    utFreeHandle(d2);
    obSetNext(h, 0);
    obFreeTree(h);
}

TEST_F(ObRecord, DupOfATypeWithoutASizeKeepsItsDataAndNeverChangesTheSource)
{
    for (int16_t type : {26, 60, 79, 293, 500}) {
        MemHandle h = make(type, 0, 0, 100, 100, 40);
        std::vector<uint8_t> data = dataOf(h);
        std::vector<uint8_t> head = headOf(h);
        MemHandle d = obDup(h);
        ASSERT_TRUE(d) << type;
        EXPECT_EQ(head, headOf(h)) << type << ": the source's length word stays";
        EXPECT_EQ(data, dataOf(h)) << type;
        EXPECT_EQ(126u, ObLock(d)->length) << type;
        EXPECT_EQ(data, dataOf(d)) << type << ": the copy keeps the type data";
        MemHandle d2 = obRecDup(ObLock(h).get());
        EXPECT_EQ(data, dataOf(d2)) << type;
        EXPECT_EQ(head, headOf(h)) << type;
        utFreeHandle(d);
        utFreeHandle(d2);
        obFreeTree(h);
    }
}

TEST_F(ObRecord, ResizeKeepsHeadAndReportsFailure)
{
    MemHandle h = make();
    std::vector<uint8_t> head = headOf(h);
    MemHandle g = obResize(h, 200);
    ASSERT_NE(0u, g);
    EXPECT_EQ(200u, ObLock(g)->length);
    EXPECT_TRUE(std::equal(head.begin() + 4, head.end(), headOf(g).begin() + 4));
    EXPECT_EQ(g, obResize(g, 90));   // shrinking keeps the block
    EXPECT_EQ(90u, ObLock(g)->length);
    EXPECT_EQ(0u, obResize(g, 20)) << "smaller than the head";
    EXPECT_EQ(0u, obResize(0, 100));
    obFreeTree(g);
}

TEST_F(ObRecord, PageRecordsAreFreedWithWhatTheyOwn)
{
    MemHandle page = obNewRecord(494);
    {
        ObLock r(page);
        r->type = OBT_PAGE;
        uint8_t *d = obRecData(r.get());
        MemHandle blocks[3] = {utAllocHandle(0, 4), utAllocHandle(0, 2), utAllocHandle(0, 2)};
        memcpy(d + 46, blocks, sizeof blocks);
        MemHandle side = utAllocHandle(0, 16), palette = utAllocHandle(0, 16);
        memcpy(d + 388, &side, 4);
        memcpy(d + 392, &palette, 4);
    }
    std::vector<MemHandle> objects = makeList(3);
    MemHandle first = objects[0];
    { memcpy(obRecData(ObLock(page).get()) + 384, &first, 4); }
    obSetAttached(page, obNewGroup(OBT_GROUP, make(), 0));
    obFreeTree(page);   // the fixture checks that nothing is left
}

// ---- the file form ---------------------------------------------------------------------

TEST_F(ObRecord, FileFormHasPresenceFlagsAndIs14BytesShorter)
{
    MemHandle g = obSetName(make(OBT_GROUP, 0, 0, 10, 10), "grp");
    MemHandle m = make();
    obAddMember(g, m);
    uint32_t len = ObLock(g)->length;
    MemHandle f = obMakeFileRecord(g);
    ASSERT_NE(0u, f);
    {
        MemLock<uint8_t> p(f);
        uint32_t flen;
        memcpy(&flen, p.get(), 4);
        EXPECT_EQ(len - 14, flen);
        uint16_t flags[7];
        memcpy(flags, p.get() + 58, sizeof flags);
        EXPECT_EQ(1, flags[4]) << "first member present at offset 66";
        EXPECT_EQ(0, flags[0] + flags[1] + flags[2] + flags[3] + flags[5] + flags[6]);
        EXPECT_STREQ("grp", reinterpret_cast<const char *>(p.get() + 72));
        EXPECT_EQ(0, memcmp(p.get() + 4, headOf(g).data() + 4, 54)) << "head fields unchanged";
    }
    utFreeHandle(f);
    obFreeTree(g);
}

// ---- head fields, colours and flags ------------------------------------------------------

TEST_F(ObRecord, HeadFieldsByIdWriteTheirFieldOnly)
{
    struct Case {
        int id;
        uint32_t value;
        size_t offset, width;
    };
    const Case cases[] = {
        {OBH_LAYER, 0x1FF, 6, 1},           {OBH_CENTRE_X, 0xFFFFFF00u, 8, 4},
        {OBH_CENTRE_Y, 77, 12, 4},          {OBH_WIDTH, 500, 16, 4},
        {OBH_HEIGHT, 600, 20, 4},           {OBH_ROTATION, 0x10E10, 24, 2},
        {OBH_LINE_STYLE, 0x8400, 26, 2},    {OBH_PEN_WIDTH, 0xFFFF, 28, 2},
        {OBH_FILL_KIND, 4, 30, 1},          {OBH_HATCH, 0x33, 31, 1},
        {OBH_FILL_COLOUR, 0x123456, 36, 4}, {OBH_BACK_COLOUR, 0xABCDEF, 40, 4},
        {OBH_PEN_COLOUR, 0x0000FF, 32, 4},  {OBH_SCALE_X, 1000, 44, 4},
        {OBH_SCALE_Y, 2000, 48, 4},         {OBH_FLAGS, 0x80000020u, 52, 4},
    };
    for (const Case &c : cases) {
        MemHandle h = make();
        std::vector<uint8_t> before = headOf(h);
        obSetHeadField(h, c.id, &c.value);
        std::vector<uint8_t> after = headOf(h);
        EXPECT_EQ(0, memcmp(after.data() + c.offset, &c.value, c.width)) << "id " << c.id;
        for (size_t i = 0; i < kObHeadSize; ++i) {
            if (i < c.offset || i >= c.offset + c.width) {
                EXPECT_EQ(before[i], after[i]) << "id " << c.id << " byte " << i;
            }
        }
        obFreeTree(h);
    }
    MemHandle h = make();
    std::vector<uint8_t> before = headOf(h);
    uint32_t v = 5;
    obSetHeadField(h, 18, &v);
    EXPECT_EQ(before, headOf(h));
    const uint32_t colours[3] = {1, 2, 3};
    obSetHeadField(h, OBH_COLOURS, colours);
    {
        ObLock r(h);
        EXPECT_EQ(1u, r->penColour);
        EXPECT_EQ(2u, r->fillColour);
        EXPECT_EQ(3u, r->backColour);
    }
    obFreeTree(h);
}

TEST_F(ObRecord, TreeHeadFieldReachesMembersAndAttached)
{
    MemHandle a = make(), b = make(), att = make();
    MemHandle g = obNewGroup(OBT_GROUP, a, 0);
    obSetAttached(a, att);
    obSetNextMember(g, b);   // g itself is a member with one after it
    uint32_t layer = 5;
    obTreeSetHeadField(g, OBH_LAYER, &layer);
    for (MemHandle x : {g, a, b, att})
        EXPECT_EQ(5, ObLock(x)->layer);
    obFreeTree(g);
}

TEST_F(ObRecord, FillColourFillsAnUnfilledShapeAndPenColourDoesNot)
{
    MemHandle e = make(OBT_ELLIPSE);
    obSetColour(e, OB_COLOUR_PEN, RGB(1, 2, 3));
    EXPECT_EQ(0, obGetFillKind(e));
    EXPECT_EQ(RGB(1, 2, 3), ObLock(e)->penColour);
    obSetColour(e, OB_COLOUR_FILL, RGB(9, 9, 9));
    EXPECT_EQ(1, obGetFillKind(e));
    EXPECT_EQ(RGB(9, 9, 9), ObLock(e)->fillColour);
    obSetColour(e, OB_COLOUR_BACK, RGB(7, 7, 7));
    EXPECT_EQ(RGB(7, 7, 7), ObLock(e)->backColour);

    // Entry fields become filled by their background colour instead.
    MemHandle f = make(OBT_ENTRY);
    obSetColour(f, OB_COLOUR_FILL, RGB(9, 9, 9));
    EXPECT_EQ(0, obGetFillKind(f));
    obSetColour(f, OB_COLOUR_BACK, RGB(9, 9, 9));
    EXPECT_EQ(1, obGetFillKind(f));

    // A pattern fill stays a pattern fill.
    ObLock(e)->fillKind = 2;
    obSetColour(e, OB_COLOUR_FILL, RGB(1, 1, 1));
    EXPECT_EQ(2, obGetFillKind(e));

    // Ids other than 6, 10, 14 set nothing.
    std::vector<uint8_t> head = headOf(f);
    obSetColour(f, 7, RGB(1, 1, 1));
    EXPECT_EQ(head, headOf(f));
    obFreeTree(e);
    obFreeTree(f);
}

TEST_F(ObRecord, ColourOfAGroupIsSetOverItsTree)
{
    MemHandle a = make(OBT_ELLIPSE), b = make(OBT_RECTANGLE);
    MemHandle g = obNewGroup(OBT_GROUP, a, b, 0);
    obSetFillColourLinked(g, RGB(5, 6, 7));
    for (MemHandle x : {g, a, b})
        EXPECT_EQ(RGB(5, 6, 7), ObLock(x)->fillColour);
    EXPECT_EQ(1, obGetFillKind(a)) << "the first member takes a solid fill";
    obSetPenColour(g, RGB(1, 0, 0));
    EXPECT_EQ(RGB(1, 0, 0), ObLock(b)->penColour);
    obSetBackColourLinked(g, RGB(0, 0, 1));
    EXPECT_EQ(RGB(0, 0, 1), ObLock(b)->backColour);
    obFreeTree(g);
}

TEST_F(ObRecord, FlagWalksFollowTheirLinks)
{
    MemHandle a = make(), att = make();
    MemHandle g = obNewGroup(OBT_GROUP, a, 0);
    obSetAttached(g, att);

    obTreeSetFlags(g, OBF_LOCKED, TRUE);
    EXPECT_TRUE(obIsLocked(g));
    EXPECT_TRUE(obIsLocked(a));
    EXPECT_FALSE(obIsLocked(att)) << "the member walk leaves the attached object";
    obSetFlagsTree(g, OBF_LOCKED, TRUE);
    EXPECT_TRUE(obIsLocked(att));
    obSetFlags(g, OBF_LOCKED, FALSE);
    EXPECT_FALSE(obIsLocked(g));
    EXPECT_TRUE(obIsLocked(a));

    obTreeSetHidden(g, TRUE);
    EXPECT_TRUE(obIsHidden(a));
    EXPECT_FALSE(obIsHidden(att));
    obSetHidden(g, FALSE);
    EXPECT_FALSE(obIsHidden(g));

    obSetFlagsTree(g, OBF_TEXT_FIT, TRUE);
    EXPECT_TRUE(obTestFlag200(att));
    obClearTextFlagTree(g);
    EXPECT_FALSE(obTestFlag200(att));
    EXPECT_FALSE(obTestFlag200(a));

    EXPECT_TRUE(obTestNoFlag800(a));
    obSetFlags(a, OBF_NO_POINT_EDIT, TRUE);
    EXPECT_FALSE(obTestNoFlag800(a));
    obSetNoRotate(a, FALSE);
    EXPECT_TRUE(obGetFlags(a) & OBF_NO_ROTATE);
    obSetNoRotate(a, TRUE);
    EXPECT_FALSE(obGetFlags(a) & OBF_NO_ROTATE);
    obSetFlag4000(a, TRUE);
    EXPECT_TRUE(obTestFlag4000(a));
    obSetFlags(a, OBF_SELECT_PRESS, TRUE);
    EXPECT_TRUE(obTestFlag100(a));

    EXPECT_TRUE(obIsHidden(0));
    EXPECT_FALSE(obIsLocked(0));
    EXPECT_FALSE(obTestNoFlag800(0));
    obFreeTree(g);
}

TEST_F(ObRecord, DrawnPenWidthIsAtLeastAPixelWhenAskedFor)
{
    MemHandle h = make();
    {
        ObLock r(h);
        r->penWidth = 1;
        EXPECT_EQ(1, obGetDrawnPenWidth(r.get()));
        r->lineStyle = 0x8000;
        EXPECT_EQ(dmGetPixelSize(), obGetDrawnPenWidth(r.get()));
        r->penWidth = 400;
        EXPECT_EQ(400, obGetDrawnPenWidth(r.get()));
        r->penWidth = 0;
        EXPECT_EQ(0, obGetDrawnPenWidth(r.get()));
    }
    obFreeTree(h);
}

// ---- fill blocks ---------------------------------------------------------------------------

TEST_F(ObRecord, FillBlockLiesWhereItsTypeKeepsIt)
{
    struct Case {
        int16_t type;
        uint32_t nameLength;
        int16_t count;
        int offset;   // from the type data; -1: none
    };
    const Case cases[] = {
        {OBT_RECTANGLE, 0, 0, 8}, {OBT_DIAMOND, 4, 0, 8},  {OBT_ROUNDRECT, 0, 0, 16},
        {OBT_PIE, 0, 0, 20},      {OBT_POLYGON, 0, 3, 26}, {OBT_CLOSED_CURVE, 4, 7, 58},
        {OBT_ARROW, 0, 0, 94},    {OBT_COUNTER802, 0, 0, 8}, {OBT_LINE, 0, 0, -1},
        {OBT_ARC, 0, 0, -1},      {OBT_POLYGON, 0, -1, -1},
    };
    for (const Case &c : cases) {
        MemHandle h = make(c.type, 0, 0, 10, 10, 200);
        if (c.nameLength)
            h = obSetName(h, "abc");
        {
            ObLock r(h);
            r->fillKind = 2;
            memcpy(obRecData(r.get()), &c.count, 2);
            uint8_t *p = obGetFillData(r.get());
            if (c.offset < 0)
                EXPECT_EQ(nullptr, p) << c.type;
            else
                EXPECT_EQ(obRecData(r.get()) + c.offset, p) << c.type;
            EXPECT_EQ(p, obGetPatternData(r.get()));
            r->fillKind = 3;
            EXPECT_EQ(nullptr, obGetPatternData(r.get()));
        }
        obFreeTree(h);
    }
    // A point count that would put the block past the record gives none.
    MemHandle h = make(OBT_POLYGON, 0, 0, 10, 10, 40);
    {
        ObLock r(h);
        int16_t n = 5;   // 2 + 40 + 24 > 40
        memcpy(obRecData(r.get()), &n, 2);
        r->fillKind = 2;
        EXPECT_EQ(nullptr, obGetFillData(r.get()));
        n = 2;           // 2 + 16 + 24 = 42 > 40
        memcpy(obRecData(r.get()), &n, 2);
        EXPECT_EQ(nullptr, obGetFillData(r.get()));
        n = 1;           // 2 + 8 + 24 fits
        memcpy(obRecData(r.get()), &n, 2);
        EXPECT_EQ(obRecData(r.get()) + 10, obGetFillData(r.get()));
    }
    obFreeTree(h);
}

TEST_F(ObRecord, PatternFillGrowsTheArrowAndReportsAChange)
{
    const POINT ends[2] = {{0, 0}, {1000, 0}};
    MemHandle h = obMakeArrowRecord(make(OBT_ARROW), ends);
    ASSERT_NE(0u, h);
    uint8_t block[kObPatternFillSize];
    for (uint32_t i = 0; i < sizeof block; ++i)
        block[i] = (uint8_t)(0xA0 + i);

    EXPECT_EQ(1, obSetPatternFill(&h, block));
    {
        ObLock r(h);
        EXPECT_EQ(2, r->fillKind);
        EXPECT_EQ(86u + 94 + 24, r->length);
        EXPECT_EQ(0, memcmp(obGetPatternData(r.get()), block, sizeof block));
    }
    EXPECT_EQ(0, obSetPatternFill(&h, block)) << "the same block again";

    // Types without a fill block, and a null block, are refused unchanged.
    MemHandle line = make(OBT_LINE);
    MemHandle before = line;
    EXPECT_EQ(0, obSetPatternFill(&line, block));
    EXPECT_EQ(before, line);
    EXPECT_EQ(0, obGetFillKind(line));
    EXPECT_EQ(0, obSetPatternFill(&h, nullptr));

    // A tree form: a group of the arrow and the line.
    MemHandle g = obNewGroup(OBT_GROUP, h, line, 0);
    block[0] = 1;
    EXPECT_EQ(1, obTreeSetPatternFill(&g, block));
    MemHandle arrow = obGetFirstMember(g);
    EXPECT_EQ(1, obGetPatternData(ObLock(arrow).get())[0]);
    EXPECT_EQ(0, obTreeSetPatternFill(&g, block));
    obFreeTree(g);
}

TEST_F(ObRecord, FillKindIsSetOnlyWhereATypeTakesAFill)
{
    MemHandle a = make(OBT_TEXT), b = make(OBT_ENTRY), c = make(OBT_XY_PLOT);
    MemHandle g = obNewGroup(OBT_GROUP, a, b, c, 0);
    obTreeSetFillKind(g, 4);
    EXPECT_EQ(0, obGetFillKind(g));
    EXPECT_EQ(0, obGetFillKind(a));
    EXPECT_EQ(4, obGetFillKind(b));
    EXPECT_EQ(4, obGetFillKind(c));
    obSetFillKind(b, 0);
    obMakeFilled(b);
    EXPECT_EQ(1, obGetFillKind(b));
    obMakeFilled(c);
    EXPECT_EQ(4, obGetFillKind(c));
    obFreeTree(g);
}

TEST_F(ObRecord, DataOriginNeedsRoomInTheRecord)
{
    MemHandle h = make(OBT_TEXT, 0, 0, 10, 10, 8);
    obSetDataOrigin(h, -3, 7);
    std::vector<uint8_t> d = dataOf(h);
    int32_t xy[2];
    memcpy(xy, d.data(), 8);
    EXPECT_EQ(-3, xy[0]);
    EXPECT_EQ(7, xy[1]);
    MemHandle s = make(OBT_TEXT, 0, 0, 10, 10, 4);
    std::vector<uint8_t> before = dataOf(s);
    obSetDataOrigin(s, 1, 1);
    EXPECT_EQ(before, dataOf(s));
    obFreeTree(h);
    obFreeTree(s);
}

// ---- arrows ------------------------------------------------------------------------------

TEST_F(ObRecord, NewArrowTakesTheDragAsItsAxisAndBuildsItsOutline)
{
    obInitArrowDefaults();
    const POINT ends[2] = {{100, 200}, {1100, 200}};
    MemHandle h = obMakeArrowRecord(obSetName(make(OBT_ARROW), "arr"), ends);
    ASSERT_NE(0u, h);
    {
        ObLock r(h);
        EXPECT_EQ(86u + 4 + 94, r->length);
        EXPECT_EQ(600, r->centreX);
        EXPECT_EQ(200, r->centreY);
        EXPECT_EQ(1000, r->width);
        int32_t v[8];
        memcpy(v, obRecData(r.get()) + 6, 16);
        EXPECT_EQ(-500, v[0]);
        EXPECT_EQ(500, v[2]);
        memcpy(v, obRecData(r.get()) + 22, 16);
        EXPECT_EQ(30, v[0]);
        EXPECT_EQ(60, v[1]);
        EXPECT_EQ(240, v[2]);
        EXPECT_EQ(80, v[3]);
        POINT o[7];
        memcpy(o, obRecData(r.get()) + 38, sizeof o);
        EXPECT_EQ(500, o[0].x) << "the tip on the head point";
        EXPECT_EQ(0, o[0].y);
        EXPECT_EQ(240, std::abs(o[1].y)) << "barbs a head half-width off the axis";
        EXPECT_EQ(84, o[1].x) << "barbs behind the tip by a / tan(180 - 30)";
        EXPECT_EQ(176, o[2].x) << "shaft joins by (a - b) / tan(180 - 60) further";
        EXPECT_EQ(o[1].x, o[6].x);
        EXPECT_EQ(-o[1].y, o[6].y);
        EXPECT_EQ(-500, o[3].x) << "the shaft ends at the tail";
        EXPECT_EQ(80, std::abs(o[3].y));
        EXPECT_EQ(-o[3].y, o[4].y);
    }
    obFreeTree(h);
}

TEST_F(ObRecord, MovedArrowEndRebuildsTheOutline)
{
    const POINT ends[2] = {{0, 0}, {1000, 0}};
    MemHandle h = obMakeArrowRecord(make(OBT_ARROW), ends);
    const POINT up[2] = {{0, 1000}, {0, 0}};
    EXPECT_EQ(h, obSetArrowEnds(h, up));
    {
        ObLock r(h);
        EXPECT_EQ(0, r->width);
        EXPECT_EQ(1000, r->height);
        POINT o[7];
        memcpy(o, obRecData(r.get()) + 38, sizeof o);
        EXPECT_EQ(0, o[0].x);
        EXPECT_EQ(-500, o[0].y) << "the tip on the new head";
    }
    obFreeTree(h);
    MemHandle bare = make(OBT_ARROW);
    EXPECT_EQ(0u, obSetArrowEnds(bare, up)) << "not an arrow yet";
    obFreeTree(bare);
}

TEST_F(ObRecord, ArrowBecomesAPolygonInTheSameHandle)
{
    const POINT ends[2] = {{0, 0}, {1000, 500}};
    MemHandle h = obMakeArrowRecord(obSetName(make(OBT_ARROW), "ar"), ends);
    uint8_t block[kObPatternFillSize];
    memset(block, 0x5A, sizeof block);
    obSetPatternFill(&h, block);
    POINT outline[7];
    memcpy(outline, obRecData(ObLock(h).get()) + 38, sizeof outline);
    std::vector<uint8_t> head = headOf(h);

    EXPECT_EQ(h, obArrowToPolygon(h));
    {
        ObLock r(h);
        EXPECT_EQ(OBT_POLYGON, r->type);
        EXPECT_EQ(86u + 3 + 2 + 56 + 24, r->length);
        EXPECT_EQ(0, memcmp(head.data() + 6, headOf(h).data() + 6, kObHeadSize - 6));
        int16_t n;
        memcpy(&n, obRecData(r.get()), 2);
        EXPECT_EQ(7, n);
        EXPECT_EQ(0, memcmp(outline, obRecData(r.get()) + 2, sizeof outline));
        EXPECT_EQ(0, memcmp(block, obGetPatternData(r.get()), sizeof block));
    }
    EXPECT_EQ("ar", nameOf(h));
    EXPECT_EQ(0u, obArrowToPolygon(h)) << "no longer an arrow";
    obFreeTree(h);
}

}  // namespace
