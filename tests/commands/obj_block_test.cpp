// Object blocks: trees packed and rebuilt, the layout of the entries,
// damaged blocks refused whole, tagged blocks, the text pair, and all of it
// under the moving allocator.
#include "tests/support/kit.h"
#include "support/ut_bytes.h"
#include "tests/model/ob_kit.h"
#include "commands/obj_block.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/qmf_sizes.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using obtest::LiveCount;
using obtest::make;
using obtest::membersOf;
using qmtest::BoxRecorder;

std::vector<uint8_t> bytesOf(MemHandle h)
{
    uint32_t n = utHandleSize(h);
    MemLock<uint8_t> p(h);
    return p ? std::vector<uint8_t>(p.get(), p.get() + n) : std::vector<uint8_t>();
}

uint32_t u32At(const std::vector<uint8_t> &b, size_t at)
{
    return at + 4 <= b.size() ? utGetAt<uint32_t>(b.data(), at) : 0;
}

uint16_t u16At(const std::vector<uint8_t> &b, size_t at)
{
    return at + 2 <= b.size() ? utGetAt<uint16_t>(b.data(), at) : 0;
}

int16_t typeAt(const std::vector<uint8_t> &b, size_t at) { return (int16_t)u16At(b, at + 4); }
uint16_t flagAt(const std::vector<uint8_t> &b, size_t at, int which)
{
    return u16At(b, at + 58 + 2 * which);
}
enum { F_EXTRA, F_PREV, F_NEXT, F_PARENT, F_FIRST, F_NEXT_MEMBER, F_ATTACHED };

// The record bytes of an object that a round trip keeps: the head without
// its links, the name and the type data.
std::vector<uint8_t> contentOf(MemHandle h)
{
    ObLock r(h);
    if (!r)
        return {};
    const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
    std::vector<uint8_t> v(p, p + 58);
    v.insert(v.end(), p + kObHeadSize, p + r.extent());
    return v;
}

// Two trees alike: the same records in walk order with the same links set.
void expectSameTree(MemHandle a, MemHandle b)
{
    std::vector<MemHandle> ta, tb;
    obCollectTree(a, OB_WALK_ALL, ta);
    obCollectTree(b, OB_WALK_ALL, tb);
    ASSERT_EQ(ta.size(), tb.size());
    for (size_t i = 0; i < ta.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(contentOf(ta[i]), contentOf(tb[i]));
        EXPECT_EQ(obGetFirstMember(ta[i]) != 0, obGetFirstMember(tb[i]) != 0);
        EXPECT_EQ(obGetNextMember(ta[i]) != 0, obGetNextMember(tb[i]) != 0);
        EXPECT_EQ(obGetAttached(ta[i]) != 0, obGetAttached(tb[i]) != 0);
        EXPECT_EQ(obGetExtraData(ta[i]) != 0, obGetExtraData(tb[i]) != 0);
    }
}

MemHandle groupOfThree()
{
    MemHandle a = make(OBT_RECTANGLE, 0, 0, 100, 100);
    MemHandle b = make(OBT_ELLIPSE, 200, 0, 300, 100);
    MemHandle c = make(OBT_RECTANGLE, 400, 0, 500, 100);
    b = obSetName(b, "middle");   // grown: under the moving allocator a new handle
    return obNewGroup(OBT_GROUP, a, b, c, (MemHandle)0);
}

// The kit runs every test under the moving allocator; the tests that
// depend on it say so again, and the mode is put back as it was.
class Block : public ::testing::Test {
protected:
    Block() : mode_(utGetDebugMode()) {}
    ~Block() override { utSetDebugMode(mode_); }
    uint32_t mode_;
};

// ---- packing and rebuilding ---------------------------------------------------------------------

TEST_F(Block, LoneRectanglePacksToItsFileRecordAndRebuilds)
{
    LiveCount live;
    MemHandle r = make(OBT_RECTANGLE, 100, 200, 1100, 700);
    MemHandle before = make(OBT_RECTANGLE), after = make(OBT_RECTANGLE);
    obLinkPair(before, r);
    obLinkPair(r, after);
    MemHandle block = objPackTree(r);
    ASSERT_NE(0u, block);
    std::vector<uint8_t> b = bytesOf(block);
    uint32_t record = obFileRecordSize(r);
    EXPECT_EQ(4 + record, u32At(b, 0));
    EXPECT_EQ(obTreeFileSize(r, 4), u32At(b, 0));
    EXPECT_EQ(record, u32At(b, 4));
    EXPECT_EQ(OBT_RECTANGLE, typeAt(b, 4));
    // The list links are written as they stand; nothing follows them.
    EXPECT_EQ(1, flagAt(b, 4, F_PREV));
    EXPECT_EQ(1, flagAt(b, 4, F_NEXT));
    EXPECT_EQ(0, flagAt(b, 4, F_FIRST));

    MemHandle copy = objUnpackTree(block);
    ASSERT_NE(0u, copy);
    EXPECT_NE(r, copy);
    EXPECT_EQ(contentOf(r), contentOf(copy));
    EXPECT_EQ(0u, obGetPrev(copy));
    EXPECT_EQ(0u, obGetNext(copy));
    EXPECT_EQ(0u, obGetParent(copy));
    // The block stays the caller's and can be read again.
    MemHandle again = objUnpackTree(block);
    EXPECT_EQ(contentOf(r), contentOf(again));
    for (MemHandle h : {copy, again, before, r, after})
        obFreeTree(h);
    utFreeHandle(block);
    EXPECT_EQ(0, live.leaked());
}

TEST_F(Block, GroupPacksMembersAsAChainAndRebuildsTheirParent)
{
    LiveCount live;
    MemHandle g = groupOfThree();
    std::vector<MemHandle> m = membersOf(g);
    ASSERT_EQ(3u, m.size());
    MemHandle extra = obtest::packet(12);
    obSetExtraData(m[1], extra);
    MemHandle block = objPackTree(g);
    std::vector<uint8_t> b = bytesOf(block);
    EXPECT_EQ(obTreeFileSize(g, 4), u32At(b, 0));

    // Group, first member, its next member (with its extra data), the third.
    size_t at = 4;
    EXPECT_EQ(OBT_GROUP, typeAt(b, at));
    EXPECT_EQ(1, flagAt(b, at, F_FIRST));
    EXPECT_EQ(0, flagAt(b, at, F_NEXT_MEMBER));
    at += u32At(b, at);
    EXPECT_EQ(OBT_RECTANGLE, typeAt(b, at));
    EXPECT_EQ(1, flagAt(b, at, F_NEXT_MEMBER));
    EXPECT_EQ(1, flagAt(b, at, F_PARENT));
    at += u32At(b, at);
    EXPECT_EQ(OBT_ELLIPSE, typeAt(b, at));
    EXPECT_EQ(1, flagAt(b, at, F_EXTRA));
    at += u32At(b, at);
    EXPECT_EQ(12u, u32At(b, at));   // the extra data, whole
    at += 12;
    EXPECT_EQ(OBT_RECTANGLE, typeAt(b, at));
    EXPECT_EQ(0, flagAt(b, at, F_NEXT_MEMBER));
    at += u32At(b, at);
    EXPECT_EQ(u32At(b, 0), at);

    MemHandle copy = objUnpackTree(block);
    ASSERT_NE(0u, copy);
    expectSameTree(g, copy);
    for (MemHandle member : membersOf(copy))
        EXPECT_EQ(copy, obGetParent(member));
    EXPECT_EQ("middle", obtest::nameOf(membersOf(copy)[1]));
    obFreeTree(copy);
    obFreeTree(g);
    utFreeHandle(block);
    EXPECT_EQ(0, live.leaked());
}

TEST_F(Block, CompositesAttachedShapeFollowsTheMembersAndHasNoParent)
{
    LiveCount live;
    MemHandle comp = obNewGroup(OBT_COMPOSITE, make(OBT_RECTANGLE), make(OBT_ELLIPSE), (MemHandle)0);
    MemHandle shape = make(OBT_DIAMOND, 0, 0, 300, 300);
    obSetAttached(comp, shape);
    obSetParent(shape, comp);
    MemHandle block = objPackTree(comp);
    std::vector<uint8_t> b = bytesOf(block);
    size_t at = 4;
    EXPECT_EQ(1, flagAt(b, at, F_ATTACHED));
    for (int i = 0; i < 3; ++i)
        at += u32At(b, at);
    EXPECT_EQ(OBT_DIAMOND, typeAt(b, at));   // after both members
    MemHandle copy = objUnpackTree(block);
    ASSERT_NE(0u, copy);
    expectSameTree(comp, copy);
    ASSERT_NE(0u, obGetAttached(copy));
    EXPECT_EQ(0u, obGetParent(obGetAttached(copy)));
    EXPECT_EQ(obtest::dataOf(shape), obtest::dataOf(obGetAttached(copy)));
    obFreeTree(copy);
    obFreeTree(comp);
    utFreeHandle(block);
    EXPECT_EQ(0, live.leaked());
}

TEST_F(Block, AMemberPacksTheMembersAfterIt)
{
    MemHandle g = groupOfThree();
    MemHandle second = membersOf(g)[1];
    MemHandle block = objPackTree(second);
    MemHandle copy = objUnpackTree(block);
    ASSERT_NE(0u, copy);
    EXPECT_EQ(OBT_ELLIPSE, obGetType(copy));
    ASSERT_NE(0u, obGetNextMember(copy));
    EXPECT_EQ(OBT_RECTANGLE, obGetType(obGetNextMember(copy)));
    EXPECT_EQ(0u, obGetParent(copy));
    EXPECT_EQ(0u, obGetParent(obGetNextMember(copy)));
    obFreeTree(copy);
    obFreeTree(g);
    utFreeHandle(block);
}

TEST_F(Block, LongAndDeepTreesAreHandledWithoutRecursion)
{
    LiveCount live;
    std::vector<MemHandle> many;
    for (int i = 0; i < 5000; ++i)
        many.push_back(make(OBT_RECTANGLE, i, 0, i + 10, 10));
    MemHandle wide = obNewGroupN(OBT_GROUP, many.data(), (int32_t)many.size());
    MemHandle deep = make(OBT_RECTANGLE);
    for (int i = 0; i < 3000; ++i)
        deep = obNewGroup(OBT_GROUP, deep, (MemHandle)0);
    for (MemHandle tree : {wide, deep}) {
        MemHandle block = objPackTree(tree);
        ASSERT_NE(0u, block);
        MemHandle copy = objUnpackTree(block);
        ASSERT_NE(0u, copy);
        std::vector<MemHandle> a, c;
        obCollectTree(tree, OB_WALK_ALL, a);
        obCollectTree(copy, OB_WALK_ALL, c);
        EXPECT_EQ(a.size(), c.size());
        obFreeTree(copy);
        obFreeTree(tree);
        utFreeHandle(block);
    }
    EXPECT_EQ(0, live.leaked());
}

TEST_F(Block, ObjectsWithoutAFileFormAreLeftOutOfChainFlagsAndSize)
{
    const int16_t kNoForm = 9999;   // no entry writes it
    struct Case {
        const char *name;
        std::vector<int16_t> members;   // the group's members, by type
        std::vector<int16_t> rebuilt;   // the rebuilt group's members
    } cases[] = {
        {"in the middle", {OBT_RECTANGLE, kNoForm, OBT_ELLIPSE}, {OBT_RECTANGLE, OBT_ELLIPSE}},
        {"first", {kNoForm, OBT_RECTANGLE, OBT_ELLIPSE}, {OBT_RECTANGLE, OBT_ELLIPSE}},
        {"last two", {OBT_ELLIPSE, kNoForm, kNoForm}, {OBT_ELLIPSE}},
        {"alone", {kNoForm}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<MemHandle> members;
        uint32_t expected = 4;
        for (int16_t t : c.members) {
            members.push_back(make(t, 0, 0, 100, 100, t == kNoForm ? 8 : 0));
            if (t != kNoForm)
                expected += obFileRecordSize(members.back());
        }
        MemHandle g = obNewGroupN(OBT_GROUP, members.data(), (int32_t)members.size());
        expected += obFileRecordSize(g);
        BoxRecorder boxes;
        MemHandle block = objPackTree(g);
        ASSERT_NE(0u, block);
        std::vector<uint8_t> b = bytesOf(block);
        EXPECT_EQ(expected, u32At(b, 0));
        EXPECT_EQ(c.rebuilt.empty() ? 0 : 1, flagAt(b, 4, F_FIRST));
        MemHandle copy = objUnpackTree(block);
        ASSERT_NE(0u, copy);
        std::vector<int16_t> types;
        for (MemHandle m : membersOf(copy)) {
            types.push_back(obGetType(m));
            EXPECT_EQ(copy, obGetParent(m));
        }
        EXPECT_EQ(c.rebuilt, types);
        EXPECT_EQ(0u, boxes.count()) << boxes.texts();
        obFreeTree(copy);
        obFreeTree(g);
        utFreeHandle(block);
    }
    // An attached object without a form is left out; a root without one
    // gives no block.
    MemHandle comp = obNewGroup(OBT_COMPOSITE, make(OBT_RECTANGLE), (MemHandle)0);
    obSetAttached(comp, make(kNoForm, 0, 0, 10, 10, 8));
    MemHandle block = objPackTree(comp);
    EXPECT_EQ(0, flagAt(bytesOf(block), 4, F_ATTACHED));
    MemHandle copy = objUnpackTree(block);
    EXPECT_EQ(0u, obGetAttached(copy));
    EXPECT_EQ(1u, membersOf(copy).size());
    EXPECT_EQ(0u, objPackTree(obGetAttached(comp)));
    obFreeTree(copy);
    obFreeTree(comp);
    utFreeHandle(block);
}

TEST_F(Block, RecordsKeptWholeCarryFlagsInsteadOfHandles)
{
    const int16_t kWhole = 300;   // written as its memory record
    MemHandle w = make(kWhole, 0, 0, 100, 100, 12);
    MemHandle g = obNewGroup(OBT_GROUP, make(OBT_RECTANGLE), w, make(OBT_ELLIPSE), (MemHandle)0);
    obSetExtraData(w, obtest::packet(16));
    MemHandle block = objPackTree(g);
    ASSERT_NE(0u, block);
    std::vector<uint8_t> b = bytesOf(block);
    size_t at = 4 + u32At(b, 4);
    at += u32At(b, at);
    ASSERT_EQ(kWhole, typeAt(b, at));
    // The seven link fields: extra, prev, next, parent, first, next member, attached.
    const uint32_t expected[7] = {1, 0, 0, 1, 0, 1, 0};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(expected[i], u32At(b, at + 58 + 4 * i)) << i;
    MemHandle copy = objUnpackTree(block);
    ASSERT_NE(0u, copy);
    expectSameTree(g, copy);
    MemHandle rebuilt = membersOf(copy)[1];
    EXPECT_EQ(copy, obGetParent(rebuilt));
    EXPECT_EQ(obtest::dataOf(w), obtest::dataOf(rebuilt));
    obFreeTree(copy);
    obFreeTree(g);
    utFreeHandle(block);
}

TEST_F(Block, NothingToPackGivesNoBlock)
{
    EXPECT_EQ(0u, objPackTree(0));
    EXPECT_EQ(0u, objPackTreeTagged(0));
    EXPECT_EQ(0u, objUnpackTree(0));
    EXPECT_EQ(0u, objUnpackTagged(0));
}

// ---- damaged blocks ---------------------------------------------------------------------------

// A block of a group of three with a change made to its bytes.
struct Damage {
    const char *name;
    std::function<void(std::vector<uint8_t> &)> change;
};

TEST_F(Block, DamagedBlocksAreRefusedWholeWithOneMessage)
{
    MemHandle g = groupOfThree();
    obSetExtraData(membersOf(g)[1], obtest::packet(12));
    std::vector<uint8_t> good = bytesOf(objPackTree(g));
    good.resize(u32At(good, 0));
    const uint32_t groupLen = u32At(good, 4);
    const uint32_t firstAt = 4 + groupLen;
    const uint32_t secondAt = firstAt + u32At(good, firstAt);
    const uint32_t extraAt = secondAt + u32At(good, secondAt);
    auto put32 = [](std::vector<uint8_t> &b, size_t at, uint32_t v) { memcpy(b.data() + at, &v, 4); };
    const Damage cases[] = {
        {"first record length 6", [&](std::vector<uint8_t> &b) { put32(b, 4, 6); }},
        {"first record length 0", [&](std::vector<uint8_t> &b) { put32(b, 4, 0); }},
        {"record past the total",
         [&](std::vector<uint8_t> &b) { put32(b, secondAt, (uint32_t)b.size()); }},
        {"record past the block's real size",
         [&](std::vector<uint8_t> &b) { put32(b, firstAt, 0x7FFFFFF0); }},
        {"total past the block", [&](std::vector<uint8_t> &b) { put32(b, 0, (uint32_t)b.size() + 40); }},
        {"total cutting the last record",
         [&](std::vector<uint8_t> &b) { put32(b, 0, (uint32_t)b.size() - 10); }},
        {"extra length 0", [&](std::vector<uint8_t> &b) { put32(b, extraAt, 0); }},
        {"extra length 2", [&](std::vector<uint8_t> &b) { put32(b, extraAt, 2); }},
        {"extra past the total", [&](std::vector<uint8_t> &b) { put32(b, extraAt, 0xFFFFFFFF); }},
        {"a member promised but missing",
         [&](std::vector<uint8_t> &b) { b.resize(secondAt); put32(b, 0, secondAt); }},
        {"block shorter than its total word", [&](std::vector<uint8_t> &b) { b.resize(3); }},
    };
    for (const Damage &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = good;
        c.change(bytes);
        LiveCount live;
        MemHandle block = utHandleFromBytes(bytes.data(), (uint32_t)bytes.size());
        BoxRecorder boxes;
        EXPECT_EQ(0u, objUnpackTree(block));
        ASSERT_EQ(1u, boxes.count()) << boxes.texts();
        EXPECT_EQ("Input file data error", boxes.last().text);
        EXPECT_EQ("Press OK button to continue", boxes.last().caption);
        EXPECT_TRUE(boxes.last().flags & MB_ICONHAND);
        utFreeHandle(block);
        EXPECT_EQ(0, live.leaked());   // nothing of a partial tree is left
    }
    obFreeTree(g);
}

// ---- tagged blocks --------------------------------------------------------------------------------

TEST_F(Block, TaggedBlocksCarryKind88)
{
    MemHandle g = groupOfThree();
    MemHandle tagged = objPackTreeTagged(g);
    std::vector<uint8_t> b = bytesOf(tagged);
    EXPECT_EQ(obTreeFileSize(g, 6), u32At(b, 0));
    EXPECT_EQ(88, u16At(b, 4));
    EXPECT_EQ(OBT_GROUP, typeAt(b, 6));
    MemHandle copy = objUnpackTagged(tagged);
    expectSameTree(g, copy);
    obFreeTree(copy);

    // Inside another record: only the bytes given may be read.
    b.resize(u32At(b, 0));
    std::vector<uint8_t> host(10 + b.size(), 0xAB);
    std::copy(b.begin(), b.end(), host.begin() + 10);
    copy = objUnpackTaggedAt(host.data() + 10, (uint32_t)b.size());
    expectSameTree(g, copy);
    obFreeTree(copy);
    {
        BoxRecorder boxes;
        EXPECT_EQ(0u, objUnpackTaggedAt(host.data() + 10, (uint32_t)b.size() - 1));
        EXPECT_EQ(1u, boxes.count());
    }

    // Another kind word: nothing, and no message.
    {
        MemLock<uint8_t> p(tagged);
        p[4] = 87;
    }
    BoxRecorder boxes;
    EXPECT_EQ(0u, objUnpackTagged(tagged));
    b[4] = 87;
    EXPECT_EQ(0u, objUnpackTaggedAt(b.data(), (uint32_t)b.size()));
    EXPECT_EQ(0u, boxes.count());
    // A plain block is not a tagged one.
    MemHandle plain = objPackTree(g);
    EXPECT_EQ(0u, objUnpackTagged(plain));
    EXPECT_EQ(0u, boxes.count());
    utFreeHandle(plain);
    utFreeHandle(tagged);
    obFreeTree(g);
}

// ---- the moving allocator ---------------------------------------------------------------------------

TEST_F(Block, BlocksSurviveTheMovingAllocator)
{
    utSetDebugMode(UT_DEBUG_MOVE_ON_GROW);
    MemHandle g = groupOfThree();
    obSetExtraData(membersOf(g)[0], obtest::packet(40));
    // Names grow the members' records: each moves.
    MemHandle first = membersOf(g)[0];
    MemHandle renamed = obSetName(first, "a longer name than before");
    ASSERT_NE(0u, renamed);
    EXPECT_NE(first, renamed);
    MemHandle block = objPackTree(g);
    ASSERT_NE(0u, block);
    // The block itself moves when it grows; its old handle dies.
    MemHandle moved = utAllocHandle(block, utHandleSize(block) + 64);
    ASSERT_NE(0u, moved);
    EXPECT_NE(block, moved);
    EXPECT_FALSE(utIsLiveHandle(block));
    LiveCount rebuilt;
    MemHandle copy = objUnpackTree(moved);
    ASSERT_NE(0u, copy);
    expectSameTree(g, copy);
    // The rebuilt records grow and move like any other.
    MemHandle member = obGetFirstMember(copy);
    MemHandle grown = obSetName(member, "grown after rebuilding, moved");
    ASSERT_NE(0u, grown);
    EXPECT_EQ(grown, obGetFirstMember(copy));
    EXPECT_EQ(copy, obGetParent(grown));
    obFreeTree(copy);
    EXPECT_EQ(0, rebuilt.leaked());
    obFreeTree(g);
    utFreeHandle(moved);
}

// ---- the text pair -------------------------------------------------------------------------------

TEST_F(Block, TextPairRecord)
{
    LiveCount live;
    MemHandle empty = utHandleFromString("");
    MemHandle given = utAllocHandle(0, 8);
    EXPECT_EQ(0u, objMakeTextPair(given, 0, empty));
    EXPECT_FALSE(utIsLiveHandle(given));

    MemHandle a = utHandleFromString("abc"), b = utHandleFromString("de");
    MemHandle pair = objMakeTextPair(0, a, b);
    ASSERT_NE(0u, pair);
    std::vector<uint8_t> bytes = bytesOf(pair);
    EXPECT_EQ(23u, u32At(bytes, 0));
    EXPECT_EQ(207, u16At(bytes, 4));
    EXPECT_EQ(3, u16At(bytes, 6));
    EXPECT_EQ(2, u16At(bytes, 8));
    EXPECT_EQ(0u, u32At(bytes, 10));
    EXPECT_EQ(0u, u32At(bytes, 14));
    EXPECT_EQ("abc", std::string(bytes.begin() + 18, bytes.begin() + 21));
    EXPECT_EQ("de", std::string(bytes.begin() + 21, bytes.begin() + 23));
    MemHandle first = objTextPairFirst(pair), second = objTextPairSecond(pair);
    EXPECT_STREQ("abc", MemLock<char>(first).get());
    EXPECT_STREQ("de", MemLock<char>(second).get());
    utFreeHandle(first);
    utFreeHandle(second);

    // Only one text: the other reads as none.
    pair = objMakeTextPair(pair, 0, b);
    EXPECT_EQ(0u, objTextPairFirst(pair));
    second = objTextPairSecond(pair);
    EXPECT_STREQ("de", MemLock<char>(second).get());
    utFreeHandle(second);

    // A record that claims more than it holds gives nothing.
    {
        MemLock<uint8_t> p(pair);
        uint16_t big = 500;
        memcpy(p.get() + 8, &big, 2);
    }
    EXPECT_EQ(0u, objTextPairFirst(pair));
    EXPECT_EQ(0u, objTextPairSecond(pair));
    EXPECT_EQ(0u, objTextPairFirst(0));

    // Moving allocator: the record grows into a new handle.
    utSetDebugMode(UT_DEBUG_MOVE_ON_GROW);
    MemHandle tiny = utAllocHandle(0, 4);
    MemHandle grown = objMakeTextPair(tiny, a, b);
    EXPECT_NE(tiny, grown);
    EXPECT_FALSE(utIsLiveHandle(tiny));
    first = objTextPairFirst(grown);
    EXPECT_STREQ("abc", MemLock<char>(first).get());
    for (MemHandle h : {first, grown, pair, a, b, empty})
        utFreeHandle(h);
    EXPECT_EQ(0, live.leaked());
}

}  // namespace
