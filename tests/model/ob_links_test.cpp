// Object links, lists, member chains, tree walks, moves and orderings.
#include "tests/model/ob_kit.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include <algorithm>

using namespace obtest;

namespace {

class ObLinks : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(0, live_.leaked()) << "memory handle leaked"; }
    LiveCount live_;
};

RECT boxOf(MemHandle h)
{
    RECT r;
    obGetRect(h, &r);
    return r;
}

// prev and next of every object of a list, to compare before and after.
std::vector<std::pair<MemHandle, MemHandle>> linksOf(const std::vector<MemHandle> &v)
{
    std::vector<std::pair<MemHandle, MemHandle>> out;
    for (MemHandle h : v)
        out.emplace_back(obGetPrev(h), obGetNext(h));
    return out;
}

// ---- link accessors and lists ----------------------------------------------------------------

TEST_F(ObLinks, AccessorsReadAndWriteTheirLinkAndAcceptNull)
{
    MemHandle h = make();
    const struct {
        MemHandle (*get)(MemHandle);
        void (*set)(MemHandle, MemHandle);
        size_t offset;
    } links[] = {
        {obGetExtraData, obSetExtraData, 58}, {obGetPrev, obSetPrev, 62},
        {obGetNext, obSetNext, 66},           {obGetParent, obSetParent, 70},
        {obGetFirstMember, obSetFirstMember, 74}, {obGetNextMember, obSetNextMember, 78},
        {obGetAttached, obSetAttached, 82},
    };
    uint32_t value = 0x11111111;
    for (const auto &l : links) {
        l.set(h, value);
        EXPECT_EQ(value, l.get(h));
        EXPECT_EQ(0, memcmp(headOf(h).data() + l.offset, &value, 4));
        l.set(h, 0);
        l.set(0, value);
        EXPECT_EQ(0u, l.get(0));
        value += 0x11111111;
    }
    obFreeTree(h);
}

TEST_F(ObLinks, ListWalksAndCounts)
{
    std::vector<MemHandle> v = makeList(5);
    EXPECT_EQ(5, obCountList(v[0]));
    EXPECT_EQ(3, obCountList(v[2]));
    EXPECT_EQ(0, obCountList(0));
    EXPECT_EQ(v[0], obGetListHead(v[3]));
    EXPECT_EQ(v[4], obGetListTail(v[1]));
    EXPECT_TRUE(obListContains(v[0], v[4]));
    EXPECT_FALSE(obListContains(v[2], v[1]));
    EXPECT_FALSE(obListContains(v[0], 0));

    MemHandle arr[3];
    EXPECT_EQ(3, obListToArray(v[0], arr, 3)) << "cut at the capacity";
    EXPECT_EQ(v[2], arr[2]);

    int32_t n = 0;
    MemHandle a = obListToArrayN(v[1], &n);
    EXPECT_EQ(4, n);
    {
        MemLock<MemHandle> p(a);
        EXPECT_EQ(v[4], p[3]);
    }
    utFreeHandle(a);
    EXPECT_EQ(0u, obListToArrayN(0, &n));
    EXPECT_EQ(0, n);

    MemHandle pk = obListToPacket(v[0]);
    {
        MemLock<uint32_t> p(pk);
        EXPECT_EQ(24u, p[0]);
        EXPECT_EQ(v[0], p[1]);
        EXPECT_EQ(v[4], p[5]);
    }
    utFreeHandle(pk);
    EXPECT_EQ(0u, obListToPacket(0));
    obFreeList(v[0]);
}

TEST_F(ObLinks, RemovingFromAListAndDeleting)
{
    std::vector<MemHandle> v = makeList(5);
    MemHandle foreign = make();
    std::vector<MemHandle> all = v;
    all.push_back(foreign);
    auto before = linksOf(all);
    EXPECT_EQ(v[0], obRemoveFromList(v[0], foreign));
    EXPECT_EQ(before, linksOf(all)) << "a foreign object changes nothing";
    EXPECT_EQ(v[2], obRemoveFromList(v[2], v[0])) << "not in the list that starts at v[2]";
    EXPECT_EQ(before, linksOf(all));

    EXPECT_EQ(v[0], obRemoveFromList(v[0], v[2]));
    EXPECT_EQ((std::vector<MemHandle>{v[0], v[1], v[3], v[4]}), listOf(v[0]));
    EXPECT_EQ(v[1], obRemoveFromList(v[0], v[0]));
    EXPECT_EQ((std::vector<MemHandle>{v[1], v[3], v[4]}), listOf(v[1]));
    EXPECT_EQ(0u, obGetPrev(v[1]));

    EXPECT_TRUE(obDelete(v[3]));
    EXPECT_FALSE(utIsLiveHandle(v[3]));
    EXPECT_EQ((std::vector<MemHandle>{v[1], v[4]}), listOf(v[1]));
    EXPECT_FALSE(obDelete(0));

    obLinkPair(foreign, v[1]);
    obDeleteList(v[1]);
    EXPECT_EQ(0u, obGetNext(foreign)) << "deleting unlinks from what stays";
    obFreeTree(v[0]);
    obFreeTree(v[2]);
    obFreeTree(foreign);
}

TEST_F(ObLinks, RelinkFromArrayKeepsWithinTheBlock)
{
    std::vector<MemHandle> v = makeList(3);
    MemHandle order[3] = {v[2], v[0], v[1]};
    MemHandle a = utHandleFromBytes(order, sizeof order);
    EXPECT_EQ(v[2], obRelinkFromArray(a, 40));
    EXPECT_EQ((std::vector<MemHandle>{v[2], v[0], v[1]}), listOf(v[2]));
    EXPECT_EQ(0u, obGetPrev(v[2]));
    EXPECT_EQ(0u, obGetNext(v[1]));
    EXPECT_EQ(0u, obRelinkFromArray(0, 3));
    utFreeHandle(a);
    obFreeList(v[2]);
}

TEST_F(ObLinks, CountsGoPast32767)
{
    std::vector<MemHandle> v = makeList(40000);
    EXPECT_EQ(40000, obCountList(v[0]));
    MemHandle g = obNewGroup(OBT_GROUP, make(), 0);
    MemHandle prev = obGetFirstMember(g);
    for (int i = 0; i < 33000; ++i) {
        MemHandle m = make();
        obSetNextMember(prev, m);
        obSetParent(m, g);
        prev = m;
    }
    EXPECT_EQ(33001, obCountMembers(g));
    obFreeTree(g);
    obFreeList(v[0]);
}

// ---- members ---------------------------------------------------------------------------------

TEST_F(ObLinks, NewGroupOwnsItsMembersAndFitsThem)
{
    MemHandle a = make(OBT_RECTANGLE, 0, 0, 100, 100);
    MemHandle b = make(OBT_RECTANGLE, 500, 500, 600, 700);
    EXPECT_EQ(0u, obNewGroup(OBT_GROUP, 0));
    MemHandle g = obNewGroup(OBT_CHAIN, a, b, 0);
    EXPECT_EQ(OBT_CHAIN, obGetType(g));
    EXPECT_EQ(86u, ObLock(g)->length);
    EXPECT_EQ((std::vector<MemHandle>{a, b}), membersOf(g));
    EXPECT_EQ(g, obGetParent(a));
    EXPECT_EQ(g, obGetParent(b));
    RECT box = boxOf(g);
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(700, box.bottom);
    EXPECT_EQ(g, obGetRoot(a));
    EXPECT_EQ(g, obGetRoot(g));

    obAddMember(g, a);   // already a member: no cycle
    EXPECT_EQ(2, obCountMembers(g));
    obFreeTree(g);
}

TEST_F(ObLinks, CollectTakeAndSetMembers)
{
    MemHandle a = make(), b = make(), c = make();
    MemHandle g = obNewGroup(OBT_GROUP, a, b, c, 0);
    int32_t n = 0;
    MemHandle arr = obCollectMembers(g, &n);
    EXPECT_EQ(3, n);
    EXPECT_EQ(12u, utHandleSize(arr));
    utFreeHandle(arr);

    arr = obTakeMembers(g, &n);
    EXPECT_EQ(3, n);
    EXPECT_EQ(0u, obGetFirstMember(g));
    EXPECT_EQ(0u, obGetNextMember(a));
    EXPECT_EQ(0u, obGetNextMember(b));
    EXPECT_EQ(g, obGetParent(a)) << "parent left as it was";
    utFreeHandle(arr);
    EXPECT_EQ(0u, obCollectMembers(g, &n));
    EXPECT_EQ(0, n);

    // Reordered; the last element had a stale next member, which is cleared.
    obSetNextMember(a, b);
    const MemHandle order[3] = {c, b, a};
    obSetMembers(g, order, 3);
    EXPECT_EQ((std::vector<MemHandle>{c, b, a}), membersOf(g));
    EXPECT_EQ(0u, obGetNextMember(a));
    obSetMembers(g, nullptr, 3);
    obSetMembers(g, order, 0);
    EXPECT_EQ(c, obGetFirstMember(g));
    obFreeTree(g);
}

TEST_F(ObLinks, UngroupInTheMiddleKeepsTheListOrder)
{
    std::vector<MemHandle> v = makeList(5);
    MemHandle m1 = make(), m2 = make(), m3 = make();
    MemHandle g = obNewGroup(OBT_GROUP, m1, m2, m3, 0);
    obSetExtraData(g, packet(8));
    obSetAttached(g, make());
    // v[2] is replaced by the group.
    obLinkPair(v[1], g);
    obLinkPair(g, v[3]);
    obFreeTree(v[2]);
    long live = qmtest::liveHandles();

    EXPECT_EQ(m1, obUngroup(g));
    EXPECT_EQ((std::vector<MemHandle>{v[0], v[1], m1, m2, m3, v[3], v[4]}), listOf(v[0]));
    EXPECT_EQ(m3, obGetPrev(v[3]));
    EXPECT_EQ(v[1], obGetPrev(m1));
    for (MemHandle m : {m1, m2, m3}) {
        EXPECT_EQ(0u, obGetParent(m));
        EXPECT_EQ(0u, obGetNextMember(m));
    }
    EXPECT_FALSE(utIsLiveHandle(g));
    EXPECT_EQ(live - 3, qmtest::liveHandles()) << "the group, its extra data and attached";
    obFreeList(v[0]);
}

TEST_F(ObLinks, UngroupAtTheEndsAndOfAnEmptyGroup)
{
    MemHandle m1 = make(), m2 = make();
    MemHandle g = obNewGroup(OBT_GROUP, m1, m2, 0);
    MemHandle tail = make();
    obLinkPair(g, tail);
    EXPECT_EQ(m1, obUngroup(g));
    EXPECT_EQ((std::vector<MemHandle>{m1, m2, tail}), listOf(m1));
    EXPECT_EQ(0u, obGetPrev(m1));

    MemHandle empty = make(OBT_GROUP);
    EXPECT_EQ(empty, obUngroup(empty));
    EXPECT_TRUE(utIsLiveHandle(empty));
    EXPECT_EQ(0u, obUngroup(0));
    obFreeTree(empty);
    obFreeList(m1);
}

TEST_F(ObLinks, SwapTwoMembersExchangesTheirPlaces)
{
    MemHandle a = make(OBT_RECTANGLE, 0, 0, 100, 100);
    MemHandle b = make(OBT_RECTANGLE, 1000, 500, 1300, 900);
    MemHandle inner = make(OBT_RECTANGLE, 1000, 500, 1010, 510);
    obAddMember(b, inner);
    MemHandle g = obNewGroup(OBT_GROUP, a, b, 0);
    EXPECT_EQ(1, obSwapTwoMembers(g));
    EXPECT_EQ(1000, boxOf(a).left);
    EXPECT_EQ(500, boxOf(a).top);
    EXPECT_EQ(0, boxOf(b).left);
    EXPECT_EQ(0, boxOf(b).top);
    EXPECT_EQ(0, boxOf(inner).left) << "b's own members travel with it";
    EXPECT_EQ(0, boxOf(g).left);
    EXPECT_EQ(600, boxOf(g).bottom);
    obAddMember(g, make());
    EXPECT_EQ(0, obSwapTwoMembers(g));
    obFreeTree(g);
}

// ---- moving -----------------------------------------------------------------------------------

TEST_F(ObLinks, MovingAMemberMovesTheMembersAfterItUnlessAlone)
{
    MemHandle a = make(), b = make(), c = make();
    MemHandle sub = make();
    obAddMember(b, sub);
    MemHandle g = obNewGroup(OBT_GROUP, a, b, c, 0);
    MemHandle att = make();
    obSetAttached(g, att);

    obMoveBy(b, 10, 20);
    EXPECT_EQ(0, boxOf(a).left);
    EXPECT_EQ(10, boxOf(b).left);
    EXPECT_EQ(10, boxOf(sub).left);
    EXPECT_EQ(10, boxOf(c).left) << "the member after b moves too";

    obMoveAloneBy(b, 5, 0);
    EXPECT_EQ(15, boxOf(b).left);
    EXPECT_EQ(15, boxOf(sub).left);
    EXPECT_EQ(10, boxOf(c).left) << "only b and its own members";
    EXPECT_EQ(b, obGetNextMember(a)) << "the chain is intact";

    obMoveBy(g, 100, 0);
    for (MemHandle x : {a, sub, c, att})
        EXPECT_LE(100, boxOf(x).left);
    RECT before = boxOf(g);
    obMoveBy(g, 0, 0);
    RECT after = boxOf(g);
    EXPECT_TRUE(geoRectsEqual(&before, &after));
    obFreeTree(g);
}

TEST_F(ObLinks, MovingToCornersAndCentres)
{
    MemHandle h = make(OBT_RECTANGLE, 100, 100, 300, 200);
    struct Case {
        void (*move)(MemHandle, POINT);
        POINT target;
        RECT expected;
    };
    const Case cases[] = {
        {obMoveCentreTo, {0, 0}, {-100, -50, 100, 50}},
        {obMoveTopLeftTo, {10, 20}, {10, 20, 210, 120}},
        {obMoveTopRightTo, {10, 20}, {-190, 20, 10, 120}},
        {obMoveBottomLeftTo, {10, 20}, {10, -80, 210, 20}},
        {obMoveBottomRightTo, {10, 20}, {-190, -80, 10, 20}},
    };
    for (const Case &c : cases) {
        c.move(h, c.target);
        RECT r = boxOf(h);
        EXPECT_TRUE(geoRectsEqual(&c.expected, &r))
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    std::vector<MemHandle> v = makeList(3);
    obMoveListBy(v[0], 7, 7);
    EXPECT_EQ(207, boxOf(v[2]).left);
    obFreeList(v[0]);
    obFreeTree(h);
}

TEST_F(ObLinks, CentreInClientUsesTheLogicalCentreOfTheClientArea)
{
    HWND w = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                           nullptr);
    ASSERT_NE(nullptr, w);
    RECT client;
    GetClientRect(w, &client);
    MemHandle h = make(OBT_RECTANGLE, 0, 0, 10, 10);
    obCentreInClient(w, h);
    POINT c;
    obGetCentre(h, &c);
    EXPECT_EQ(dmDevToLogX(client.right / 2), c.x);
    EXPECT_EQ(dmDevToLogY(client.bottom / 2), c.y);
    DestroyWindow(w);
    obFreeTree(h);
}

// ---- big and damaged trees ----------------------------------------------------------------

// Member chains and nesting far beyond what a recursive walk could take.
TEST_F(ObLinks, DeepAndLongTreesAreWalkedWithoutRecursion)
{
    const int kDepth = 200000;
    MemHandle root = make(OBT_GROUP);
    MemHandle owner = root;
    for (int i = 0; i < kDepth; ++i) {   // each group holds the next one
        MemHandle g = make(OBT_GROUP);
        obAddMember(owner, g);
        owner = g;
    }
    MemHandle last = owner;
    MemHandle prev = 0;
    for (int i = 0; i < kDepth; ++i) {   // and a long chain at the bottom
        MemHandle m = make();
        if (prev)
            obSetNextMember(prev, m);
        else
            obSetFirstMember(last, m);
        obSetParent(m, last);
        prev = m;
    }
    const long nodes = 2 * kDepth + 1;
    long live = qmtest::liveHandles();

    obMoveBy(root, 3, 4);
    EXPECT_EQ(3, ObLock(obGetFirstMember(last))->centreX - 50);
    // Groups are their head alone; each rectangle adds its 8-byte box.
    EXPECT_EQ(86u * nodes + 8u * kDepth, obTreeSize(root, 0));

    MemHandle copy = obCopyTree(root, 0);
    ASSERT_NE(0u, copy);
    EXPECT_EQ(live + nodes, qmtest::liveHandles());
    MemHandle copyLast = copy;
    for (int i = 0; i < kDepth; ++i)
        copyLast = obGetFirstMember(copyLast);
    EXPECT_EQ(kDepth, obCountMembers(copyLast));
    EXPECT_EQ(copyLast, obGetParent(obGetFirstMember(copyLast)));
    obFreeTree(copy);
    EXPECT_EQ(live, qmtest::liveHandles());
    obFreeTree(root);
}

TEST_F(ObLinks, CyclicStructuresEndInsteadOfHanging)
{
    std::vector<MemHandle> v = makeList(3);
    obLinkPair(v[2], v[0]);   // the list runs in a circle
    EXPECT_EQ(3, obCountList(v[0]));
    EXPECT_EQ(v[2], obGetListTail(v[0]));
    obMoveListBy(v[0], 1, 0);
    EXPECT_EQ(1, boxOf(v[0]).left) << "each moved once";
    obSetPrev(v[0], 0);
    obSetNext(v[2], 0);

    MemHandle g = make(OBT_GROUP);
    obSetParent(g, g);
    EXPECT_EQ(g, obGetRoot(g));
    obSetFirstMember(g, g);
    obMoveBy(g, 1, 1);
    EXPECT_EQ(1, ObLock(g)->centreX - 50);
    obFreeTree(g);
    EXPECT_FALSE(utIsLiveHandle(g));
    obFreeList(v[0]);
}

// ---- orderings ------------------------------------------------------------------------------

TEST_F(ObLinks, ReadingOrderTakesRowsThenLeftToRight)
{
    MemHandle a = make(OBT_RECTANGLE, 500, 0, 600, 40);
    MemHandle b = make(OBT_RECTANGLE, 100, 50, 200, 90);
    MemHandle c = make(OBT_RECTANGLE, 0, 200, 100, 240);
    MemHandle arr[3] = {a, b, c};
    EXPECT_EQ(1, obSortReadingOrder(arr, 3));
    EXPECT_EQ(b, arr[0]);
    EXPECT_EQ(a, arr[1]);
    EXPECT_EQ(c, arr[2]);
    EXPECT_EQ(0, obSortReadingOrder(arr, 1));

    obLinkPair(a, b);
    obLinkPair(b, c);
    MemHandle first = a;
    EXPECT_EQ(1, obSortListReadingOrder(&first));
    EXPECT_EQ(b, first);
    EXPECT_EQ((std::vector<MemHandle>{b, a, c}), listOf(first));
    EXPECT_EQ(0u, obGetPrev(b));
    EXPECT_EQ(0u, obGetNext(c));
    MemHandle single = c;
    obSetPrev(c, 0);
    obSetNext(a, 0);
    EXPECT_EQ(0, obSortListReadingOrder(&single));

    EXPECT_EQ(-1, obCompareReadingOrder(b, a));
    EXPECT_EQ(1, obCompareReadingOrder(a, b));
    EXPECT_EQ(-1, obCompareReadingOrder(a, c));
    MemHandle twin = make(OBT_RECTANGLE, 500, 0, 550, 10);
    EXPECT_EQ(0, obCompareReadingOrder(a, twin));
    for (MemHandle x : {a, b, c, twin})
        obFreeTree(x);
}

// The raw comparison is not transitive across rows (a before c, c after b,
// b before a); the sort's result does not depend on the input order.
TEST_F(ObLinks, ReadingOrderSortIsTheSameForEveryInputOrder)
{
    MemHandle a = make(OBT_RECTANGLE, 300, 0, 350, 10);
    MemHandle b = make(OBT_RECTANGLE, 200, 50, 250, 60);
    MemHandle c = make(OBT_RECTANGLE, 100, 100, 150, 110);
    MemHandle d = make(OBT_RECTANGLE, 200, 40, 250, 60);   // same left as b
    EXPECT_EQ(-obCompareReadingOrder(b, d), obCompareReadingOrder(d, b));
    EXPECT_NE(0, obCompareReadingOrder(b, d));

    std::vector<MemHandle> items = {a, b, c, d};
    std::sort(items.begin(), items.end());
    std::vector<MemHandle> expected;
    bool firstRound = true;
    do {
        std::vector<MemHandle> v = items;
        obSortReadingOrder(v.data(), (int32_t)v.size());
        if (firstRound)
            expected = v;
        firstRound = false;
        EXPECT_EQ(expected, v);
    } while (std::next_permutation(items.begin(), items.end()));
    EXPECT_EQ((std::vector<MemHandle>{d, b, a, c}), expected)
        << "row from top 0 takes tops 40 and 50; top 100 starts the next";
    for (MemHandle x : {a, b, c, d})
        obFreeTree(x);
}

TEST_F(ObLinks, SortsByTopAndByLeft)
{
    MemHandle a = make(OBT_RECTANGLE, 300, 10, 400, 20);
    MemHandle b = make(OBT_RECTANGLE, 100, 30, 200, 40);
    MemHandle c = make(OBT_RECTANGLE, 200, 0, 300, 5);
    const MemHandle items[3] = {a, b, c};
    MemHandle arr = utHandleFromBytes(items, sizeof items);
    obSortByTop(arr, 3);
    {
        MemLock<MemHandle> p(arr);
        EXPECT_EQ(c, p[0]);
        EXPECT_EQ(a, p[1]);
        EXPECT_EQ(b, p[2]);
    }
    obSortByLeft(arr, 99);   // a count past the block is cut to it
    {
        MemLock<MemHandle> p(arr);
        EXPECT_EQ(b, p[0]);
        EXPECT_EQ(c, p[1]);
        EXPECT_EQ(a, p[2]);
    }
    EXPECT_EQ(1, obSortReadingOrderN(arr, 3));
    EXPECT_EQ(0, obSortReadingOrderN(0, 3));
    obSortByTop(0, 3);
    utFreeHandle(arr);

    EXPECT_EQ(-1, obCompareTop(c, a));
    EXPECT_EQ(1, obCompareLeft(a, b));
    EXPECT_EQ(0, obCompareLeft(a, a));
    EXPECT_EQ(c, obFirstOfTwo(a, c));
    MemHandle d = make(OBT_RECTANGLE, 50, 10, 60, 20);
    EXPECT_EQ(d, obFirstOfTwo(a, d)) << "equal tops: the one further left";
    MemHandle e = make(OBT_RECTANGLE, 50, 10, 60, 20);
    EXPECT_EQ(e, obFirstOfTwo(d, e)) << "equal lefts too: the second";
    for (MemHandle x : {a, b, c, d, e})
        obFreeTree(x);
}

}  // namespace
