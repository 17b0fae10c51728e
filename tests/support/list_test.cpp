#include "tests/support/kit.h"
#include "support/ut_bytes.h"
#include "support/rc_list.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

// The text of a string handle (up to its terminator or the block's end).
std::string text(MemHandle h)
{
    MemLock<char> p(h);
    return p ? std::string(p.get(), strnlen(p.get(), utHandleSize(h))) : std::string("<none>");
}

MemHandle listOf(const char *s) { return utHandleFromString(s); }

// ---- delimited lists ---------------------------------------------------------

const char kList[] = "a\rb\r\rc";   // with an empty item at position 2

TEST(DelimitedList, CountsAndFindsAroundAnEmptyItem)
{
    EXPECT_EQ(3, rcListCount(kList, '\r'));
    EXPECT_EQ(2, rcFindItem(kList, '\r', "c"));
    EXPECT_EQ(2, rcFindItem(kList, '\r', "C"));   // without regard to case
    EXPECT_EQ(-1, rcFindItem(kList, '\r', ""));
    EXPECT_EQ(-1, rcFindItem(kList, '\r', "d"));

    char buf[16];
    EXPECT_TRUE(rcGetItem(kList, '\r', 3, buf, sizeof buf));
    EXPECT_STREQ("c", buf);
    EXPECT_FALSE(rcGetItem(kList, '\r', 2, buf, sizeof buf));   // the empty one
    EXPECT_STREQ("", buf);
    EXPECT_FALSE(rcGetItem(kList, '\r', 4, buf, sizeof buf));
    EXPECT_STREQ("", buf);

    MemHandle h = listOf(kList);
    EXPECT_EQ(3, rcListCountH(h, '\r'));
    EXPECT_TRUE(rcGetItemH(h, '\r', 1, buf, sizeof buf));
    EXPECT_STREQ("b", buf);
    EXPECT_EQ(7u, rcListSize(h));
    utFreeHandle(h);
}

TEST(DelimitedList, ItemAddressesByDelimiters)
{
    struct Case {
        const char *list;
        int n;
        const char *expected;   // null: no item there
    } cases[] = {
        {"a\rb\r\rc", 0, "a\rb\r\rc"}, {"a\rb\r\rc", 1, "b\r\rc"}, {"a\rb\r\rc", 2, "\rc"},
        {"a\rb\r\rc", 3, "c"},         {"a\rb\r\rc", 4, nullptr},  {"a\rb\r", 2, nullptr},
        {"", 0, ""},                   {"", 1, nullptr},           {"a\rb", -1, nullptr},
    };
    for (const Case &c : cases) {
        const char *got = rcFindNthItem(c.list, '\r', c.n);
        if (c.expected)
            EXPECT_STREQ(c.expected, got) << "item " << c.n;
        else
            EXPECT_EQ(nullptr, got) << "item " << c.n;
    }
    EXPECT_STREQ("b", rcNextItem("a@b", '@'));
    EXPECT_EQ(nullptr, rcNextItem("a@", '@'));   // nothing follows
    EXPECT_EQ(nullptr, rcNextItem("a", '@'));
    EXPECT_EQ(nullptr, rcNextItem(static_cast<const char *>(nullptr), '@'));
}

TEST(DelimitedList, ContainsComparesWholeItems)
{
    const char *list = "Alpha\rbeta\r";
    EXPECT_TRUE(rcListContains(list, '\r', "ALPHA"));
    EXPECT_FALSE(rcListContains(list, '\r', "alp"));
    EXPECT_FALSE(rcListContains(list, '\r', "beta\r"));
    EXPECT_FALSE(rcListContains(list, '\r', ""));
    EXPECT_TRUE(rcListContainsCase(list, '\r', "Alpha"));
    EXPECT_FALSE(rcListContainsCase(list, '\r', "alpha"));
    EXPECT_FALSE(rcListContainsCase(list, '\r', ""));
    EXPECT_FALSE(rcListContains(nullptr, '\r', "a"));
}

TEST(DelimitedList, CopiesOfTheFirstItemStayInTheirBuffer)
{
    char buf[8];
    memset(buf, 'x', sizeof buf);
    EXPECT_EQ(3, rcCopyItem("abcdefgh@z", '@', buf, 4));
    EXPECT_STREQ("abc", buf);
    EXPECT_EQ('x', buf[4]);

    memset(buf, 'x', sizeof buf);
    EXPECT_EQ(2, rcCopyItemN("abcdefgh@z", '@', buf, 2));
    EXPECT_STREQ("ab", buf);
    EXPECT_EQ('x', buf[3]);

    EXPECT_EQ(2, rcCopyItem("ab@cd", '@', buf, sizeof buf));
    EXPECT_STREQ("ab", buf);
    EXPECT_EQ(0, rcCopyItem("ab", '@', buf, 0));
    EXPECT_EQ(5, rcItemLength("hello", '@'));
    EXPECT_EQ(0, rcItemLength("@x", '@'));

    char shortItem[3];
    EXPECT_TRUE(rcGetItem("a@bcdef", '@', 1, shortItem, sizeof shortItem));
    EXPECT_STREQ("bc", shortItem);

    MemHandle h = rcItemToHandle("name@rest", '@');
    EXPECT_EQ("name", text(h));
    utFreeHandle(h);
    EXPECT_EQ(0u, rcItemToHandle("@rest", '@'));
}

TEST(DelimitedList, AppendAddsItemsWithTheirDelimiters)
{
    MemHandle h = rcListAppend(0, '\r', "one");
    EXPECT_EQ("one\r", text(h));
    EXPECT_EQ(h, rcListAppend(h, '\r', ""));   // empty: unchanged
    EXPECT_EQ("one\r", text(h));
    h = rcListAppend(h, '\r', "two");
    h = rcListAppendUnique(h, '\r', "TWO");
    h = rcListAppendUnique(h, '\r', "three");
    EXPECT_EQ("one\rtwo\rthree\r", text(h));
    h = rcListAddDelim(h, '\r');
    EXPECT_EQ("one\rtwo\rthree\r\r", text(h));
    EXPECT_EQ(3, rcListCountH(h, '\r'));
    utFreeHandle(h);

    // A list whose last item lacks its delimiter keeps its items apart.
    h = listOf("a\rb");
    h = rcListAppend(h, '\r', "c");
    EXPECT_EQ("a\rb\rc\r", text(h));
    utFreeHandle(h);

    h = rcListAddDelim(0, '@');
    EXPECT_EQ("@", text(h));
    utFreeHandle(h);
}

TEST(DelimitedList, FailedGrowthKeepsTheList)
{
    MemHandle h = listOf("a\r");
    qmtest::BoxRecorder boxes;
    utFailNextAllocs(1);
    EXPECT_EQ(h, rcListAppend(h, '\r', "a long item that needs room"));
    EXPECT_EQ("Memory allocation failed", boxes.texts());
    EXPECT_EQ("a\r", text(h));
    utFailNextAllocs(1);
    EXPECT_EQ(h, rcListPushFront(h, '\r', "another long item"));
    EXPECT_EQ("a\r", text(h));
    utFreeHandle(h);
}

TEST(DelimitedList, PushFrontRemoveMoveAndTruncate)
{
    MemHandle h = listOf("b\rc\r");
    h = rcListPushFront(h, '\r', "a");
    EXPECT_EQ("a\rb\rc\r", text(h));
    EXPECT_EQ(h, rcListPushFront(h, '\r', ""));
    EXPECT_EQ("a\rb\rc\r", text(h));

    EXPECT_TRUE(rcListRemoveItem(h, '\r', "B"));
    EXPECT_EQ("a\rc\r", text(h));
    EXPECT_FALSE(rcListRemoveItem(h, '\r', "b"));
    h = rcListMoveToEnd(h, '\r', "a");
    EXPECT_EQ("c\ra\r", text(h));
    h = rcListMoveToEnd(h, '\r', "new");   // absent: just appended
    EXPECT_EQ("c\ra\rnew\r", text(h));

    EXPECT_FALSE(rcListTruncate(h, '\r', 4));
    EXPECT_TRUE(rcListTruncate(h, '\r', 2));
    EXPECT_EQ("c\ra\r", text(h));
    EXPECT_TRUE(rcListTruncate(h, '\r', 0));
    EXPECT_EQ("", text(h));
    utFreeHandle(h);

    // The last item without a delimiter goes alone; its predecessor keeps its own.
    h = listOf("x\ry");
    EXPECT_TRUE(rcListRemoveItem(h, '\r', "y"));
    EXPECT_EQ("x\r", text(h));
    utFreeHandle(h);

    h = rcListPushFront(0, '@', "first");
    EXPECT_EQ("first@", text(h));
    utFreeHandle(h);
}

TEST(DelimitedList, SortOrdersItemsWithoutRegardToCase)
{
    struct Case {
        const char *list;
        BOOL ascending;
        const char *expected;
    } cases[] = {
        {"pear\rApple\rbanana\r", TRUE, "Apple\rbanana\rpear\r"},
        {"pear\rApple\rbanana\r", FALSE, "pear\rbanana\rApple\r"},
        {"b\r\ra", TRUE, "a\rb"},   // empty items dropped, no delimiter added
        {"c@a@b@", TRUE, "a@b@c@"},
    };
    for (const Case &c : cases) {
        char delim = strchr(c.list, '@') ? '@' : '\r';
        MemHandle h = listOf(c.list);
        EXPECT_EQ(1, rcListSort(h, delim, c.ascending));
        EXPECT_EQ(c.expected, text(h));
        utFreeHandle(h);
    }
    EXPECT_EQ(0, rcListSort(0, '\r', TRUE));
    MemHandle h = listOf("\r\r");
    EXPECT_EQ(0, rcListSort(h, '\r', TRUE));
    EXPECT_EQ("\r\r", text(h));
    utFreeHandle(h);
}

TEST(DelimitedList, HandleWithoutTerminatorIsReadWithinItsBlock)
{
    MemHandle h = utHandleFromBytes("ab\rc", 4);   // no terminator at all
    EXPECT_EQ(0u, rcListSize(h));
    EXPECT_EQ(2, rcListCountH(h, '\r'));
    char buf[8];
    EXPECT_TRUE(rcGetItemH(h, '\r', 1, buf, sizeof buf));
    EXPECT_STREQ("c", buf);
    h = rcListAppend(h, '\r', "d");
    EXPECT_EQ("ab\rc\rd\r", text(h));
    utFreeHandle(h);

    EXPECT_EQ(0u, rcListSize(0));
    EXPECT_EQ(0, rcListCountH(0, '\r'));
}

TEST(DelimitedList, FillsAListBoxWithTheNonEmptyItems)
{
    HWND lb = CreateWindowA("LISTBOX", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, lb);
    EXPECT_EQ(3, rcListToListBox(lb, "one\r\rtwo\rthree", '\r'));
    ASSERT_EQ(3, (int)SendMessageA(lb, LB_GETCOUNT, 0, 0));
    char buf[16];
    SendMessageA(lb, LB_GETTEXT, 2, (LPARAM)buf);
    EXPECT_STREQ("three", buf);
    EXPECT_EQ(0, rcListToListBox(lb, "", '\r'));
    DestroyWindow(lb);
}

// ---- handle arrays -------------------------------------------------------------

struct Pt {
    int32_t x, y;
};

MemHandle arrayOf(const std::vector<Pt> &pts)
{
    MemHandle h = 0;
    for (size_t i = 0; i < pts.size(); ++i)
        h = rcArrayAppend(h, (int)i, &pts[i], sizeof(Pt));
    return h;
}

std::vector<int32_t> xs(MemHandle h, int n)
{
    std::vector<int32_t> v;
    Pt p;
    for (int i = 0; i < n; ++i)
        v.push_back(rcArrayGet(h, n, i, &p, sizeof p) ? p.x : -999);
    return v;
}

TEST(HandleArray, AppendGetDeleteAndMove)
{
    MemHandle h = arrayOf({{1, 10}, {2, 20}, {3, 30}, {4, 40}});
    EXPECT_EQ((std::vector<int32_t>{1, 2, 3, 4}), xs(h, 4));
    Pt p;
    EXPECT_FALSE(rcArrayGet(h, 4, 4, &p, sizeof p));
    EXPECT_FALSE(rcArrayGet(h, 4, -1, &p, sizeof p));
    EXPECT_FALSE(rcArrayGet(0, 4, 0, &p, sizeof p));
    EXPECT_FALSE(rcArrayGet(h, 40, 39, &p, sizeof p));   // count beyond the block

    // Appending an element that lies in the array itself (the block moves).
    {
        Pt *first = static_cast<Pt *>(utLock(h));
        Pt copy = *first;
        utUnlock(h);
        h = rcArrayAppend(h, 4, &copy, sizeof copy);
    }
    EXPECT_EQ((std::vector<int32_t>{1, 2, 3, 4, 1}), xs(h, 5));

    EXPECT_TRUE(rcArrayDeleteH(h, 5, 1, sizeof(Pt)));
    EXPECT_EQ((std::vector<int32_t>{1, 3, 4, 1}), xs(h, 4));
    EXPECT_TRUE(rcArrayGet(h, 5, 4, &p, sizeof p));
    EXPECT_EQ(0, p.x);   // the freed slot is zeroed
    EXPECT_FALSE(rcArrayDeleteH(h, 4, 4, sizeof(Pt)));

    {
        MemLock<Pt> a(h);
        EXPECT_EQ(0u, rcArrayDelete(a.get(), 4, -1, sizeof(Pt)));
        EXPECT_TRUE(rcArrayMove(a.get(), 4, 0, 2, sizeof(Pt)));    // 3 4 1 1
        EXPECT_TRUE(rcArrayMove(a.get(), 4, 3, 0, sizeof(Pt)));    // 1 3 4 1
        EXPECT_TRUE(rcArrayMove(a.get(), 4, 1, 1, sizeof(Pt)));
        EXPECT_FALSE(rcArrayMove(a.get(), 4, 1, 4, sizeof(Pt)));
        EXPECT_EQ(sizeof(Pt), rcArrayDelete(a.get(), 4, 3, sizeof(Pt)));
    }
    EXPECT_EQ((std::vector<int32_t>{1, 3, 4}), xs(h, 3));
    utFreeHandle(h);
}

TEST(HandleArray, FailedAppendKeepsTheArray)
{
    MemHandle h = arrayOf({{1, 1}, {2, 2}});
    Pt p{3, 3};
    {
        qmtest::BoxRecorder boxes;
        utFailNextAllocs(1);
        EXPECT_EQ(0u, rcArrayAppend(h, 2, &p, sizeof p));
        EXPECT_EQ("Memory allocation failed", boxes.texts());
    }
    EXPECT_EQ((std::vector<int32_t>{1, 2}), xs(h, 2));
    utFreeHandle(h);
}

TEST(HandleArray, ReplacedHandlesStayWithinTheCountAndTheBlock)
{
    // A 4-byte head, then five handles.
    const uint32_t words[6] = {99, 7, 8, 7, 9, 7};
    struct Case {
        uint32_t at, count, size;
        std::vector<uint32_t> want;
    } cases[] = {
        {4, 5, 24, {99, 70, 8, 70, 9, 70}},
        {4, 2, 24, {99, 70, 8, 7, 9, 7}},          // only the first two
        {4, UINT32_MAX, 20, {99, 70, 8, 70, 9}},   // no further than the block
        {0, UINT32_MAX, 24, {99, 70, 8, 70, 9, 70}},
        {28, 5, 24, {99, 7, 8, 7, 9, 7}},          // past the block: nothing
    };
    for (const Case &c : cases) {
        MemHandle h = utHandleFromBytes(words, c.size);
        ASSERT_NE(0u, h);
        rcArrayReplaceHandle(h, c.at, c.count, 7, 70);
        std::vector<uint32_t> got;
        {
            MemLock<uint8_t> p(h);
            for (uint32_t at = 0; at + 4 <= c.size; at += 4)
                got.push_back(utGetAt<uint32_t>(p.get(), at));
        }
        EXPECT_EQ(c.want, got) << "at " << c.at << " count " << c.count;
        utFreeHandle(h);
    }
    rcArrayReplaceHandle(0, 0, 5, 7, 70);   // no block: nothing happens
}

TEST(HandleArray, PopFreesTheArrayOnlyWhenEmptied)
{
    long before = qmtest::liveHandles();
    MemHandle h = arrayOf({{1, 1}, {2, 2}, {3, 3}});
    int32_t n = 3;
    Pt p;
    EXPECT_EQ(1, rcArrayPop(&h, &n, &p, sizeof p, TRUE));
    EXPECT_EQ(3, p.x);
    EXPECT_EQ(2, n);
    ASSERT_TRUE(utIsLiveHandle(h));   // two elements remain, the array stays
    EXPECT_EQ((std::vector<int32_t>{1, 2}), xs(h, 2));
    EXPECT_EQ(1, rcArrayPop(&h, &n, &p, sizeof p, TRUE));
    EXPECT_EQ(1, rcArrayPop(&h, &n, &p, sizeof p, TRUE));
    EXPECT_EQ(1, p.x);
    EXPECT_EQ(0, n);
    EXPECT_EQ(0u, h);
    EXPECT_EQ(before, qmtest::liveHandles());

    p = Pt{7, 7};
    EXPECT_EQ(0, rcArrayPop(&h, &n, &p, sizeof p, TRUE));
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(0, p.y);

    // Without the flag the emptied array is kept.
    h = arrayOf({{5, 5}});
    n = 1;
    EXPECT_EQ(1, rcArrayPop(&h, &n, &p, sizeof p, FALSE));
    EXPECT_TRUE(utIsLiveHandle(h));
    utFreeHandle(h);
}

TEST(HandleArray, FindSegmentAndSortLongs)
{
    const int32_t lengths[] = {10, 0, 5, 20};
    struct Case {
        int32_t value;
        int expected;
    } cases[] = {{99, -1}, {100, 0}, {109, 0}, {110, 2}, {114, 2}, {115, 3}, {134, 3}, {135, 4}};
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, rcFindSegment(100, lengths, 4, c.value)) << c.value;

    int32_t v[] = {5, -3, 2147483647, 0, -2147483647 - 1, 5};
    rcSortLongs(v, 6);
    EXPECT_EQ((std::vector<int32_t>{-2147483647 - 1, -3, 0, 5, 5, 2147483647}),
              std::vector<int32_t>(v, v + 6));
}

// ---- packed item lists ---------------------------------------------------------

// An item: its size word, then the text.
std::vector<uint8_t> item(const std::string &body)
{
    std::vector<uint8_t> v(4 + body.size());
    uint32_t n = (uint32_t)v.size();
    memcpy(v.data(), &n, 4);
    memcpy(v.data() + 4, body.data(), body.size());
    return v;
}

MemHandle itemList(const std::vector<std::string> &bodies)
{
    MemHandle h = 0;
    for (const std::string &b : bodies) {
        std::vector<uint8_t> v = item(b);
        MemHandle g = rcItemListAppend(h, v.data(), (uint32_t)v.size());
        EXPECT_NE(0u, g);
        h = g;
    }
    return h;
}

RcItemListHeader header(MemHandle h)
{
    RcItemListHeader hd{};
    MemLock<> p(h);
    if (p)
        memcpy(&hd, p.get(), sizeof hd);
    return hd;
}

// The bodies of all items, reached by index.
std::vector<std::string> bodies(MemHandle h)
{
    std::vector<std::string> out;
    int n = rcItemListCount(h);
    for (int i = 0; i < n; ++i) {
        uint8_t *p = rcItemListLockItem(h, i);
        if (!p) {
            out.push_back("<missing>");
            continue;
        }
        uint32_t size;
        memcpy(&size, p, 4);
        out.emplace_back(reinterpret_cast<char *>(p) + 4, size - 4);
        utUnlock(h);
    }
    return out;
}

TEST(PackedItemList, DeleteThenAppendKeepsItemsAndTotal)
{
    MemHandle h = itemList({"abc", "defghij", "k"});
    EXPECT_EQ(3, rcItemListCount(h));
    EXPECT_EQ(8u + 7 + 11 + 5, header(h).total);

    EXPECT_TRUE(rcItemListDelete(h, 1));
    EXPECT_EQ((std::vector<std::string>{"abc", "k"}), bodies(h));
    std::vector<uint8_t> v = item("lmnopqrstu");
    h = rcItemListAppend(h, v.data(), (uint32_t)v.size());
    ASSERT_NE(0u, h);
    EXPECT_EQ((std::vector<std::string>{"abc", "k", "lmnopqrstu"}), bodies(h));
    EXPECT_EQ(8u + 7 + 5 + 14, header(h).total);

    MemHandle copy = rcItemListGetCopy(h, 2);
    ASSERT_NE(0u, copy);
    {
        MemLock<> p(copy);
        EXPECT_EQ(0, memcmp(p.get(), v.data(), v.size()));
    }
    utFreeHandle(copy);

    EXPECT_FALSE(rcItemListDelete(h, 3));
    EXPECT_FALSE(rcItemListDelete(h, -1));
    EXPECT_EQ(nullptr, rcItemListLockItem(h, 3));
    EXPECT_EQ(0u, rcItemListGetCopy(h, -1));
    EXPECT_EQ(0, rcItemListCount(0));
    utFreeHandle(h);
}

TEST(PackedItemList, ReplaceKindAndWalk)
{
    MemHandle h = itemList({"one", "two", "three"});
    std::vector<uint8_t> big = item("a much longer second item");
    h = rcItemListReplace(h, 1, big.data(), (uint32_t)big.size());
    ASSERT_NE(0u, h);
    EXPECT_EQ((std::vector<std::string>{"one", "a much longer second item", "three"}), bodies(h));
    std::vector<uint8_t> shortItem = item("x");
    h = rcItemListReplace(h, 1, shortItem.data(), (uint32_t)shortItem.size());
    EXPECT_EQ((std::vector<std::string>{"one", "x", "three"}), bodies(h));
    EXPECT_EQ(8u + 7 + 5 + 9, header(h).total);

    // From a packet handle: only its stored length is taken.
    MemHandle packet = utAllocHandle(0, 64);
    {
        std::vector<uint8_t> v = item("pk");
        MemLock<> p(packet);
        memcpy(p.get(), v.data(), v.size());
    }
    h = rcItemListReplaceFromHandle(h, 0, packet);
    EXPECT_EQ((std::vector<std::string>{"pk", "x", "three"}), bodies(h));
    h = rcItemListReplaceFromHandle(h, 2, 0);
    EXPECT_EQ((std::vector<std::string>{"pk", "x"}), bodies(h));
    EXPECT_EQ(8u + 6 + 5, header(h).total);
    EXPECT_EQ(0u, rcItemListReplace(h, 2, shortItem.data(), (uint32_t)shortItem.size()));
    utFreeHandle(packet);

    EXPECT_TRUE(rcItemListSetKind(h, 0x1234));
    EXPECT_EQ(0x1234, header(h).kind);
    EXPECT_FALSE(rcItemListSetKind(0, 1));

    // Walking by rcItemNext stops at the end of the items.
    uint8_t *first = rcItemListLockItem(h, 0);
    ASSERT_NE(nullptr, first);
    const uint8_t *end = first - sizeof(RcItemListHeader) + header(h).total;
    uint8_t *second = rcItemNext(first, end);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ('x', second[4]);
    EXPECT_EQ(nullptr, rcItemNext(second, end));
    utUnlock(h);
    utFreeHandle(h);
}

TEST(PackedItemList, FailedAppendKeepsTheOldList)
{
    MemHandle h = itemList({"abc", "def"});
    std::vector<uint8_t> v = item(std::string(100, 'z'));
    {
        qmtest::BoxRecorder boxes;
        utFailNextAllocs(1);
        EXPECT_EQ(0u, rcItemListAppend(h, v.data(), (uint32_t)v.size()));
        EXPECT_EQ("Memory allocation failed", boxes.texts());
    }
    ASSERT_TRUE(utIsLiveHandle(h));
    EXPECT_EQ((std::vector<std::string>{"abc", "def"}), bodies(h));
    h = rcItemListAppend(h, v.data(), (uint32_t)v.size());
    EXPECT_EQ(3, rcItemListCount(h));
    utFreeHandle(h);
}

TEST(PackedItemList, ItemBytesMayComeFromTheListItself)
{
    MemHandle h = itemList({"abc", "defg"});
    std::vector<uint8_t> v;
    uint8_t *p = rcItemListLockItem(h, 1);
    ASSERT_NE(nullptr, p);
    v.assign(p, p + 8);
    utUnlock(h);
    h = rcItemListAppend(h, v.data(), (uint32_t)v.size());
    EXPECT_EQ((std::vector<std::string>{"abc", "defg", "defg"}), bodies(h));
    EXPECT_EQ(0u, rcItemListAppend(h, v.data(), 3));   // shorter than its size word
    utFreeHandle(h);
}

// Damage applied to the list "abc", "defg", "hi" (items of 7, 8 and 6 bytes at
// offsets 8, 15 and 23; total 29).
struct Damage {
    const char *what;
    uint32_t offset;   // where a u32 (or the u16 count) is written
    uint32_t value;
    bool countWord;
};

const Damage kDamages[] = {
    {"first item size 0", 8, 0, false},
    {"second item size 3", 15, 3, false},
    {"last item size past the end", 23, 60, false},
    {"item size negative", 15, 0xFFFFFFF0u, false},
    {"count larger than the items", 6, 4, true},
    {"count smaller than the items", 6, 2, true},
    {"total below the header", 0, 5, false},
    {"total past the block", 0, 4096, false},
    {"total shorter than the items", 0, 25, false},
};

TEST(PackedItemList, DamagedListsAreRefused)
{
    for (const Damage &d : kDamages) {
        SCOPED_TRACE(d.what);
        MemHandle h = itemList({"abc", "defg", "hi"});
        ASSERT_EQ(29u, header(h).total);
        {
            MemLock<> p(h);
            if (d.countWord) {
                uint16_t c = (uint16_t)d.value;
                memcpy(p.get() + d.offset, &c, 2);
            } else {
                memcpy(p.get() + d.offset, &d.value, 4);
            }
        }
        long live = qmtest::liveHandles();
        std::vector<uint8_t> v = item("new");
        qmtest::BoxRecorder boxes;
        EXPECT_EQ(0, rcItemListCount(h));
        EXPECT_EQ(nullptr, rcItemListLockItem(h, 0));
        EXPECT_EQ(nullptr, rcItemListLockItem(h, 2));
        EXPECT_EQ(0u, rcItemListGetCopy(h, 1));
        EXPECT_FALSE(rcItemListDelete(h, 0));
        EXPECT_EQ(0u, rcItemListReplace(h, 0, v.data(), (uint32_t)v.size()));
        EXPECT_EQ(0u, rcItemListAppend(h, v.data(), (uint32_t)v.size()));
        EXPECT_FALSE(rcItemListSetKind(h, 7));
        EXPECT_EQ(8u, boxes.count());
        for (const qmtest::BoxRecord &b : boxes.boxes())
            EXPECT_EQ("Read error", b.text);
        EXPECT_EQ(live, qmtest::liveHandles());
        // Every lock taken was given back: the list can still grow (growing
        // a locked block aborts in the moving mode).
        MemHandle grown = utAllocHandle(h, 4096);
        EXPECT_NE(0u, grown);
        utFreeHandle(grown);
    }
}

TEST(PackedItemList, ItemNextRefusesDamagedSizes)
{
    uint8_t buf[16] = {};
    uint32_t sizes[][2] = {{0, 4}, {3, 4}, {40, 4}, {8, 0}, {8, 3}, {8, 9}, {0xFFFFFFFFu, 4}};
    for (auto &s : sizes) {
        memcpy(buf, &s[0], 4);
        memcpy(buf + 8, &s[1], 4);
        EXPECT_EQ(nullptr, rcItemNext(buf, buf + sizeof buf)) << s[0] << " " << s[1];
    }
    uint32_t good[2] = {8, 8};
    memcpy(buf, &good[0], 4);
    memcpy(buf + 8, &good[1], 4);
    EXPECT_EQ(buf + 8, rcItemNext(buf, buf + sizeof buf));
    EXPECT_EQ(nullptr, rcItemNext(buf + 8, buf + sizeof buf));
}

TEST(PackedItemList, DamagedPacketHandleIsRefused)
{
    MemHandle h = itemList({"abc"});
    MemHandle packet = utAllocHandle(0, 8);
    for (uint32_t n : {0u, 3u, 9u}) {
        {
            MemLock<> p(packet);
            memcpy(p.get(), &n, 4);
        }
        qmtest::BoxRecorder boxes;
        EXPECT_EQ(0u, rcItemListReplaceFromHandle(h, 0, packet)) << n;
        EXPECT_EQ("Read error", boxes.texts());
    }
    EXPECT_EQ((std::vector<std::string>{"abc"}), bodies(h));
    utFreeHandle(packet);
    utFreeHandle(h);
}

// ---- tagged fields -------------------------------------------------------------

// A record: u32 length, the header block at 4, fields from 16.
const uint32_t kHeaderAt = 4, kFieldsAt = 16;

MemHandle newRecord()
{
    MemHandle h = utAllocHandle(0, kFieldsAt);
    MemLock<> p(h);
    uint32_t len = kFieldsAt;
    memcpy(p.get(), &len, 4);
    return h;
}

struct RecordView {
    uint32_t length;
    RcTaggedHeader hd;
    std::vector<uint8_t> fields;
};

RecordView view(MemHandle h)
{
    RecordView v{};
    MemLock<> p(h);
    memcpy(&v.length, p.get(), 4);
    memcpy(&v.hd, p.get() + kHeaderAt, sizeof v.hd);
    uint32_t size = std::min<uint32_t>(v.hd.size, utHandleSize(h) - kFieldsAt);
    v.fields.assign(p.get() + kFieldsAt, p.get() + kFieldsAt + size);
    return v;
}

// The tags of the fields in order.
std::vector<uint32_t> tags(const RecordView &v)
{
    std::vector<uint32_t> t;
    uint32_t off = 0;
    for (uint32_t i = 0; i < v.hd.count && off + 8 <= v.fields.size(); ++i) {
        uint32_t f[2];
        memcpy(f, v.fields.data() + off, 8);
        t.push_back(f[1]);
        off += f[0] ? f[0] : 8;
    }
    return t;
}

std::string dataOf(const RecordView &v, uint32_t tag)
{
    uint32_t n;
    const uint8_t *d = rcFindTaggedData(v.fields.data(), v.hd.count, v.hd.size, tag, &n);
    return d ? std::string(reinterpret_cast<const char *>(d), n) : std::string("<absent>");
}

MemHandle set(MemHandle h, uint32_t tag, const char *data)
{
    MemHandle g = rcSetTaggedField(h, TRUE, kHeaderAt, kFieldsAt, data,
                                   data ? (uint32_t)strlen(data) : 0, tag);
    EXPECT_NE(0u, g) << "tag " << tag;
    return g ? g : h;
}

// A record holding fields set in order.
MemHandle recordWith(std::initializer_list<std::pair<uint32_t, const char *>> fields)
{
    MemHandle h = newRecord();
    for (const auto &f : fields)
        h = set(h, f.first, f.second);
    return h;
}

TEST(TaggedFields, SetReplaceAndRemove)
{
    MemHandle h = newRecord();
    h = set(h, 4, "0123456789");
    RecordView v = view(h);
    EXPECT_EQ(1u, v.hd.count);
    EXPECT_EQ(18u, v.hd.size);
    EXPECT_EQ(4u, v.hd.flags);
    EXPECT_EQ(kFieldsAt + 18, v.length);

    h = set(h, 8, "abc");
    h = set(h, 4, "xyz");   // replaced: moves behind tag 8
    v = view(h);
    EXPECT_EQ((std::vector<uint32_t>{8, 4}), tags(v));
    EXPECT_EQ(12u, v.hd.flags);
    EXPECT_EQ(22u, v.hd.size);
    EXPECT_EQ("xyz", dataOf(v, 4));
    EXPECT_EQ("abc", dataOf(v, 8));
    EXPECT_EQ(kFieldsAt + 22, v.length);

    h = set(h, 8, nullptr);   // removed: its bits cleared
    v = view(h);
    EXPECT_EQ((std::vector<uint32_t>{4}), tags(v));
    EXPECT_EQ(4u, v.hd.flags);
    EXPECT_EQ(1u, v.hd.count);
    EXPECT_EQ(11u, v.hd.size);
    EXPECT_EQ(kFieldsAt + 11, v.length);
    EXPECT_EQ("<absent>", dataOf(v, 8));
    {
        MemLock<> p(h);   // the bytes behind the fields are clean
        for (uint32_t i = kFieldsAt + 11; i < kFieldsAt + 22; ++i)
            EXPECT_EQ(0, p[i]) << i;
    }

    h = set(h, 4, "");   // no data removes too
    v = view(h);
    EXPECT_EQ(0u, v.hd.count);
    EXPECT_EQ(0u, v.hd.size);
    EXPECT_EQ(0u, v.hd.flags);
    EXPECT_EQ(kFieldsAt, v.length);
    h = set(h, 32, nullptr);   // removing an absent tag changes nothing
    EXPECT_EQ(0u, view(h).hd.count);
    utFreeHandle(h);
}

TEST(TaggedFields, LookupsAndCopies)
{
    MemHandle h = recordWith({{1, "first"}, {2, "second"}});
    RecordView v = view(h);
    const uint8_t *f = rcFindTaggedField(v.fields.data(), v.hd.count, v.hd.size, 2);
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(v.fields.data() + 13, f);
    EXPECT_EQ(nullptr, rcFindTaggedField(v.fields.data(), v.hd.count, v.hd.size, 3));
    EXPECT_EQ(nullptr, rcFindTaggedData(static_cast<const void *>(nullptr), 0, 0, 1));
    MemHandle c = rcCopyTaggedData(v.fields.data(), v.hd.count, v.hd.size, 2);
    EXPECT_EQ("second", text(c).substr(0, 6));
    EXPECT_EQ(8u, utHandleSize(c));
    utFreeHandle(c);
    EXPECT_EQ(0u, rcCopyTaggedData(v.fields.data(), v.hd.count, v.hd.size, 8));

    // Data taken from the record itself, which moves as it grows.
    uint32_t n;
    const uint8_t *d = rcFindTaggedData(static_cast<uint8_t *>(utLock(h)) + kFieldsAt, 2,
                                        v.hd.size, 1, &n);
    ASSERT_NE(nullptr, d);
    ASSERT_EQ(5u, n);
    utUnlock(h);   // the address stays good until the record grows
    h = rcSetTaggedField(h, FALSE, kHeaderAt, kFieldsAt, d, n, 16);
    ASSERT_NE(0u, h);
    EXPECT_EQ("first", dataOf(view(h), 16));
    utFreeHandle(h);
}

TEST(TaggedFields, PutKeepsCountAndSizeOnAPlainRun)
{
    MemHandle h = utAllocHandle(0, 4);
    uint32_t count = 0, size = 0;
    h = rcPutTaggedField(h, 4, &count, &size, "ab", 2, 64);
    ASSERT_NE(0u, h);
    EXPECT_EQ(1u, count);
    EXPECT_EQ(10u, size);
    h = rcPutTaggedField(h, 4, &count, &size, "cdef", 4, 64);
    EXPECT_EQ(1u, count);
    EXPECT_EQ(12u, size);
    EXPECT_EQ(0u, rcPutTaggedField(0, 0, &count, &size, "x", 1, 1));
    utFreeHandle(h);
}

TEST(TaggedFields, FailedGrowthLeavesTheRecord)
{
    MemHandle h = recordWith({{4, "abc"}, {8, "def"}});
    RecordView before = view(h);
    {
        qmtest::BoxRecorder boxes;
        utFailNextAllocs(1);
        EXPECT_EQ(0u, rcSetTaggedField(h, TRUE, kHeaderAt, kFieldsAt, "a longer value", 14, 4));
        EXPECT_EQ("Memory allocation failed", boxes.texts());
    }
    ASSERT_TRUE(utIsLiveHandle(h));
    RecordView after = view(h);
    EXPECT_EQ(before.length, after.length);
    EXPECT_EQ(before.hd.count, after.hd.count);
    EXPECT_EQ(before.hd.size, after.hd.size);
    EXPECT_EQ(before.hd.flags, after.hd.flags);
    EXPECT_EQ(before.fields, after.fields);
    utFreeHandle(h);
}

// Damage applied to a run of two fields {11, 4, "abc"} {11, 8, "def"}.
struct RunDamage {
    const char *what;
    uint32_t offset;   // in the run, or ~0u for the header's count
    uint32_t value;
    bool sizeWord;     // write the header's size word instead
};

const RunDamage kRunDamages[] = {
    {"first field size 0", 0, 0, false},
    {"first field size 3", 0, 3, false},
    {"first field size 7", 0, 7, false},
    {"second field size past the end", 11, 40, false},
    {"field size negative", 11, 0xFFFFFFF8u, false},
    {"count larger than the fields", ~0u, 3, false},
    {"run size past the block", 0, 4000, true},
    {"run size shorter than the fields", 0, 20, true},
};

TEST(TaggedFields, DamagedRunsAreRefused)
{
    for (const RunDamage &d : kRunDamages) {
        SCOPED_TRACE(d.what);
        MemHandle h = recordWith({{4, "abc"}, {8, "def"}});
        {
            MemLock<> p(h);
            if (d.sizeWord)
                memcpy(p.get() + kHeaderAt + 8, &d.value, 4);
            else if (d.offset == ~0u)
                memcpy(p.get() + kHeaderAt + 4, &d.value, 4);
            else
                memcpy(p.get() + kFieldsAt + d.offset, &d.value, 4);
        }
        RecordView before = view(h);
        uint32_t count = before.hd.count, size = before.hd.size;
        {
            // Lookups refuse without a word (no recorder: a box would fail).
            MemLock<> p(h);
            uint32_t sz = std::min<uint32_t>(size, utHandleSize(h) - kFieldsAt);
            EXPECT_EQ(nullptr, rcFindTaggedField(p.get() + kFieldsAt, count, sz, 8));
            EXPECT_EQ(nullptr, rcFindTaggedData(p.get() + kFieldsAt, count, sz, 4));
            EXPECT_EQ(0u, rcCopyTaggedData(p.get() + kFieldsAt, count, sz, 4));
        }
        long live = qmtest::liveHandles();
        {
            qmtest::BoxRecorder boxes;
            EXPECT_EQ(0u, rcSetTaggedField(h, TRUE, kHeaderAt, kFieldsAt, "new", 3, 16));
            EXPECT_EQ(0u, rcSetTaggedField(h, TRUE, kHeaderAt, kFieldsAt, nullptr, 0, 4));
            EXPECT_EQ("Read error | Read error", boxes.texts());
        }
        EXPECT_EQ(live, qmtest::liveHandles());
        RecordView after = view(h);
        EXPECT_EQ(before.length, after.length);
        EXPECT_EQ(before.hd.count, after.hd.count);
        EXPECT_EQ(before.hd.flags, after.hd.flags);
        utFreeHandle(h);
    }
}

}  // namespace
