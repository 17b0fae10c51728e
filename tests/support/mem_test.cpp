// Memory handles: sizes, growth, failure, edits in place, byte and string
// routines.
#include "tests/support/kit.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

namespace {

std::string contents(MemHandle h, uint32_t n)
{
    MemLock<char> p(h);
    return p ? std::string(p.get(), n) : std::string();
}

bool allZero(MemHandle h, uint32_t from, uint32_t to)
{
    MemLock<uint8_t> p(h);
    for (uint32_t i = from; i < to; ++i)
        if (p[i])
            return false;
    return true;
}

TEST(MemAlloc, SizeZeroFreesOrDoesNothing)
{
    long before = qmtest::liveHandles();
    EXPECT_EQ(0u, utAllocHandle(0, 0));
    MemHandle h = utAllocHandle(0, 12);
    ASSERT_NE(0u, h);
    EXPECT_EQ(before + 1, qmtest::liveHandles());
    EXPECT_EQ(0u, utAllocHandle(h, 0));
    EXPECT_EQ(before, qmtest::liveHandles());
    EXPECT_FALSE(utIsLiveHandle(h));
}

TEST(MemAlloc, RoundsUpAndNeverShrinks)
{
    struct Case { uint32_t ask; uint32_t cap; } cases[] = {{1, 4}, {4, 4}, {5, 8}, {8, 8}, {9, 12}, {1001, 1004}};
    for (const Case &c : cases) {
        MemHandle h = utAllocHandle(0, c.ask);
        EXPECT_EQ(c.cap, utHandleSize(h)) << c.ask;
        utFreeHandle(h);
    }
    MemHandle h = utPutBytes(0, 0, "abcdefgh", 8);
    ASSERT_EQ(8u, utHandleSize(h));
    EXPECT_EQ(h, utAllocHandle(h, 6));
    EXPECT_EQ("abcdefgh", contents(h, 8));
    utFreeHandle(h);
}

TEST(MemAlloc, GrownBlocksKeepBytesAndReadZeroInTheRest)
{
    MemHandle h = utPutBytes(0, 0, "xyz", 3);
    MemHandle g = utAllocHandle(h, 400);
    ASSERT_NE(0u, g);
    // The tests run in the moving mode: the old handle is dead now.
    EXPECT_FALSE(utIsLiveHandle(h));
    EXPECT_EQ("xyz", contents(g, 3));
    EXPECT_TRUE(allZero(g, 3, 400));
    utFreeHandle(g);
}

TEST(MemAlloc, GrowStepsFromCapacity)
{
    struct Case { uint32_t cap, need; uint16_t step; uint32_t expect; } cases[] = {
        {12, 25, 8, 28},   // 12 -> 20 -> 28
        {12, 12, 8, 12},   // already enough: untouched
        {12, 13, 100, 112},
        {0, 5, 16, 16},    // no handle yet
    };
    for (const Case &c : cases) {
        MemHandle h = c.cap ? utAllocHandle(0, c.cap) : 0;
        MemHandle g = utGrowHandle(h, c.need, c.step);
        EXPECT_EQ(c.expect, utHandleSize(g)) << c.cap << "," << c.need;
        if (c.cap >= c.need) {
            EXPECT_EQ(h, g);
        }
        utFreeHandle(g);
    }
    // Capacity 10, needed 25, step 8: 10 -> 18 -> 26, which the allocator
    // rounds to 28.
    EXPECT_EQ(26u, utGrowRequest(10, 25, 8));
    EXPECT_EQ(10u, utGrowRequest(10, 10, 8));
}

TEST(MemAlloc, FailureReportsAndKeepsOldHandle)
{
    qmtest::BoxRecorder boxes;
    MemHandle h = utPutBytes(0, 0, "keep", 4);
    utFailNextAllocs(1);
    EXPECT_EQ(0u, utAllocHandle(h, 4096));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Memory allocation failed", boxes.last().text);
    EXPECT_EQ("Quillmark Draw Error", boxes.last().caption);
    EXPECT_EQ((UINT)MB_ICONHAND, boxes.last().flags);
    EXPECT_TRUE(utIsLiveHandle(h));
    EXPECT_EQ("keep", contents(h, 4));

    // Operations built on the allocator fail the same way and leave the data.
    utFailNextAllocs(1);
    EXPECT_EQ(0u, utAppendString(h, "more than four"));
    EXPECT_EQ("keep", contents(h, 4));
    utFailNextAllocs(1);
    EXPECT_EQ(0u, utHandleFromString("x"));
    EXPECT_EQ(3u, boxes.count());
    utFreeHandle(h);
}

TEST(MemEdit, PutAppendCopyAssign)
{
    MemHandle h = utPutBytes(0, 4, "ab", 2);
    EXPECT_EQ(std::string("\0\0\0\0ab", 6), contents(h, 6));
    EXPECT_EQ(h, utPutBytes(h, 0, "zz", 0));
    utFreeHandle(h);

    MemHandle s = utAppendString(0, "abc");
    s = utAppendString(s, "");
    s = utAppendString(s, "def");
    EXPECT_STREQ("abcdef", contents(s, 7).c_str());

    MemHandle copy = utCopyHandle(s);
    EXPECT_NE(s, copy);
    EXPECT_EQ(utHandleSize(s), utHandleSize(copy));
    EXPECT_STREQ("abcdef", contents(copy, 7).c_str());

    EXPECT_EQ(0u, utCopyHandleInto(copy, 0));
    EXPECT_TRUE(utIsLiveHandle(copy));   // destination left alone
    EXPECT_EQ(0u, utAssignHandle(copy, 0));
    EXPECT_FALSE(utIsLiveHandle(copy));  // destination freed
    utFreeHandle(s);
}

TEST(MemEdit, ReplaceBytes)
{
    struct Case { uint32_t off, oldLen; const char *ins; const char *expect; } cases[] = {
        {2, 3, "XY", "abXYfgh"},
        {0, 0, "12", "12abcdefgh"},
        {8, 0, "!", "abcdefgh!"},
        {3, 5, "", "abc"},
        {1, 1, "LONGER", "aLONGERcdefgh"},
    };
    for (const Case &c : cases) {
        MemHandle h = utPutBytes(0, 0, "abcdefgh", 8);
        uint32_t n = (uint32_t)strlen(c.ins);
        MemHandle r = utReplaceBytes(h, 8, c.off, c.oldLen, c.ins, n);
        ASSERT_NE(0u, r);
        uint32_t size = 8 + n - c.oldLen;
        EXPECT_EQ(c.expect, contents(r, size));
        utFreeHandle(r);
    }
    MemHandle h = utPutBytes(0, 0, "abcd", 4);
    EXPECT_EQ(0u, utReplaceBytes(h, 4, 9, 0, "x", 1));   // offset past the content
    EXPECT_EQ(0u, utReplaceBytes(h, 99, 0, 0, "x", 1));  // content larger than the block
    utFreeHandle(h);
}

TEST(MemEdit, FromBytesStringsAndClear)
{
    EXPECT_EQ(0u, utHandleFromBytes("x", 0));
    EXPECT_EQ(0u, utHandleFromString(""));
    EXPECT_EQ(0u, utHandleFromString(nullptr));
    MemHandle h = utHandleFromString("abc");
    EXPECT_EQ(4u, utHandleSize(h));
    EXPECT_EQ(std::string("abc\0", 4), contents(h, 4));
    utClearHandle(h);
    EXPECT_TRUE(allZero(h, 0, 4));
    utClearHandle(0);
    EXPECT_EQ(0u, utCopyHandle(0));
    utFreeHandle(h);
}

TEST(MemScratch, TakeAndRelease)
{
    long before = qmtest::liveHandles();
    char *p = static_cast<char *>(utScratchBuffer(100, TRUE));
    ASSERT_NE(nullptr, p);
    memset(p, 'x', 100);
    p = static_cast<char *>(utScratchBuffer(1000, TRUE));
    ASSERT_NE(nullptr, p);
    EXPECT_EQ('x', p[99]);
    EXPECT_EQ(nullptr, utScratchBuffer(0, FALSE));
    EXPECT_EQ(before, qmtest::liveHandles());
}

TEST(MemBytes, CompareIsSigned)
{
    uint8_t a[] = {1, 2, 0x80};
    uint8_t b[] = {1, 2, 0x01};
    EXPECT_LT(utCompareBytes(a, b, 3), 0);
    EXPECT_GT(utCompareBytes(b, a, 3), 0);
    EXPECT_EQ(0, utCompareBytes(a, b, 2));
    EXPECT_EQ(-3, utCompareBytes("a", "d", 1));
}

TEST(MemBytes, DeleteBytes)
{
    struct Case { uint32_t off, n, ret; const char *expect; } cases[] = {
        {8, 5, 5, "01234567\0\0"},   // run past the end: zero to the end
        {2, 3, 3, "0156789\0\0\0"},
        {10, 1, 0, "0123456789"},    // offset at the end: nothing
        {0, 0, 0, "0123456789"},
        {0, 10, 10, "\0\0\0\0\0\0\0\0\0\0"},
    };
    for (const Case &c : cases) {
        char buf[10];
        memcpy(buf, "0123456789", 10);
        EXPECT_EQ(c.ret, utDeleteBytes(buf, 10, c.off, c.n));
        EXPECT_EQ(std::string(c.expect, 10), std::string(buf, 10)) << c.off << "," << c.n;
    }
}

TEST(MemBytes, InsertAndSpliceRespectCapacity)
{
    char buf[8] = "abcd";
    EXPECT_TRUE(utInsertBytes(buf, sizeof buf, 4, 1, "XY", 2));
    EXPECT_EQ("aXYbcd", std::string(buf, 6));
    EXPECT_FALSE(utInsertBytes(buf, sizeof buf, 6, 0, "123", 3));   // would not fit
    EXPECT_EQ("aXYbcd", std::string(buf, 6));
    EXPECT_FALSE(utInsertBytes(buf, sizeof buf, 6, 7, "1", 1));     // offset past content

    char s[8] = "abcdef";
    EXPECT_EQ(5, utSpliceBytes(s, sizeof s, 6, (uint8_t *)s + 1, 3, "XY", 2));
    EXPECT_EQ("aXYef", std::string(s, 5));
    EXPECT_EQ(-1, utSpliceBytes(s, sizeof s, 5, (uint8_t *)s, 0, "1234", 4));
    EXPECT_EQ(7, utSpliceBytes(s, sizeof s, 5, (uint8_t *)s + 5, 0, "!!", 2));
    EXPECT_EQ("aXYef!!", std::string(s, 7));
}

TEST(MemStrings, TrimAndRemove)
{
    struct Case { const char *in; char c; const char *trim; const char *crlf; const char *removed; } cases[] = {
        {"\r\n  a  \r\n", ' ', "\r\n  a  \r\n", "a", "\r\na\r\n"},
        {"  a b  ", ' ', "a b", "a b", "ab"},
        {"", ' ', "", "", ""},
        {"xxx", 'x', "", "", ""},
        {"-a-", '-', "a", "a", "a"},
    };
    for (const Case &c : cases) {
        char a[32], b[32], d[32];
        strcpy(a, c.in); strcpy(b, c.in); strcpy(d, c.in);
        EXPECT_STREQ(c.trim, utTrimChar(a, c.c)) << c.in;
        EXPECT_STREQ(c.crlf, utTrimCharCrLf(b, c.c)) << c.in;
        EXPECT_STREQ(c.removed, utRemoveChar(d, c.c)) << c.in;
    }
    char t[16] = "abc\r\n\r\n";
    EXPECT_STREQ("abc", utStripCrLf(t));
    char u[16] = "a,,,";
    EXPECT_STREQ("a", utTrimTrailingChar(u, ','));
    char v[16] = "   x";
    EXPECT_STREQ("x", utSkipChar(v, ' '));
    EXPECT_EQ(3, utCountChar("a,b,c,", ',') - 0 - 0);
    EXPECT_EQ(0u, utStrSize(""));
    EXPECT_EQ(4u, utStrSize("abc"));
}

TEST(MemStrings, MultiStringCopyIsAlwaysTerminated)
{
    const char src[] = "ab\0cd\0\0";   // two strings and the closing empty one
    char dst[16];
    memset(dst, 'Z', sizeof dst);
    EXPECT_EQ(7u, utCopyMultiString(dst, src, sizeof dst));
    EXPECT_EQ(0, memcmp(dst, src, 7));

    // Cut at the limit: the copy still ends with two zeros inside the limit.
    for (uint32_t limit = 2; limit < 7; ++limit) {
        memset(dst, 'Z', sizeof dst);
        EXPECT_EQ(limit, utCopyMultiString(dst, src, limit));
        EXPECT_EQ(0, dst[limit - 1]) << limit;
        EXPECT_EQ(0, dst[limit - 2]) << limit;
        EXPECT_EQ('Z', dst[limit]) << limit;
    }
    const char empty[] = "\0";
    memset(dst, 'Z', sizeof dst);
    EXPECT_EQ(2u, utCopyMultiString(dst, empty, sizeof dst));
    EXPECT_EQ(0, dst[0]);
    EXPECT_EQ(0, dst[1]);
}

TEST(MemStrings, BoundedCopies)
{
    char buf[5];
    EXPECT_STREQ("abcd", utStrCopyN(buf, "abcdefgh", sizeof buf));
    EXPECT_STREQ("abcd", utStrAppendN(buf, "xyz", sizeof buf));
    utStrCopyN(buf, "ab", sizeof buf);
    EXPECT_STREQ("abxy", utStrAppendN(buf, "xyz", sizeof buf));
}

TEST(MemDebug, MovingModeKillsOldHandles)
{
    ASSERT_TRUE(utGetDebugMode() & UT_DEBUG_MOVE_ON_GROW);
    MemHandle h = utAllocHandle(0, 4);
    MemHandle g = utAllocHandle(h, 8);
    EXPECT_NE(h, g);
    EXPECT_EQ(nullptr, utLock(h));
    EXPECT_EQ(0u, utHandleSize(h));
    // A dead handle is not resurrected by later allocations in its slot.
    MemHandle k = utAllocHandle(0, 4);
    EXPECT_EQ(nullptr, utLock(h));
    utFreeHandle(k);
    utFreeHandle(g);
}

}  // namespace
