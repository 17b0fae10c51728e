// Tagged attributes: replacing and removing records, damaged runs refused
// with "Read error", the 16-bit run size, the field forms on object records
// and the page flag attribute.
#include "tests/model/ob_kit.h"
#include "support/ut_bytes.h"
#include "tests/model/att_kit.h"
#include "model/att_field.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "forms/fld_record.h"
#include <string.h>

namespace {

using namespace atttest;

std::vector<uint8_t> bytesOf(MemHandle h)
{
    MemLock<uint8_t> p(h);
    return std::vector<uint8_t>(p.get(), p.get() + utHandleSize(h));
}

// The tags of the run in order.
std::vector<uint32_t> tagsOf(MemHandle h)
{
    AttrHeader a = headerOf(h);
    std::vector<uint32_t> tags;
    MemLock<uint8_t> p(h);
    const uint8_t *r = p.get() + kRun;
    for (int i = 0; i < a.count; ++i) {
        AttrRecord rec;
        memcpy(&rec, r, sizeof rec);
        tags.push_back(rec.tag);
        r += sizeof rec + rec.length;
    }
    return tags;
}

TEST(AttrRun, SetAgainMovesTheRecordToTheEndAndRemovalShrinksTheLength)
{
    MemHandle h = newOwner();
    h = attSet(h, TRUE, kHeader, kRun, "0123456789", 10, 4);
    ASSERT_TRUE(h);
    h = attSet(h, TRUE, kHeader, kRun, "abcdef", 6, 8);
    EXPECT_EQ((std::vector<uint32_t>{4, 8}), tagsOf(h));
    h = attSet(h, TRUE, kHeader, kRun, "xyz", 3, 4);
    EXPECT_EQ((std::vector<uint32_t>{8, 4}), tagsOf(h));
    AttrHeader a = headerOf(h);
    EXPECT_EQ(2, a.count);
    EXPECT_EQ(12 + 9, a.size);
    EXPECT_EQ(12u, a.tagMask);

    // Removing without the length correction leaves the owner's length.
    h = attSet(h, FALSE, kHeader, kRun, nullptr, 0, 8);
    EXPECT_EQ(4u, headerOf(h).tagMask);
    EXPECT_EQ(kRun + 21, MemLock<uint32_t>(h)[0]);
    h = attSet(h, TRUE, kHeader, kRun, nullptr, 0, 4);
    a = headerOf(h);
    EXPECT_EQ(0, a.count);
    EXPECT_EQ(0, a.size);
    EXPECT_EQ(0u, a.tagMask);
    EXPECT_EQ(kRun + 12, MemLock<uint32_t>(h)[0]);   // shrunk by 9 only
    // Removing a tag that is absent changes nothing.
    std::vector<uint8_t> before = bytesOf(h);
    EXPECT_EQ(h, attSet(h, TRUE, kHeader, kRun, nullptr, 0, 64));
    EXPECT_EQ(before, bytesOf(h));
    utFreeHandle(h);
}

TEST(AttrRun, ReplaceOnANullHandleMakesABlockAndAnEmptiedBlockIsFreed)
{
    obtest::LiveCount live;
    uint16_t count = 0, size = 0;
    EXPECT_EQ(0u, attReplaceRecord(0, 0, &count, &size, nullptr, 0, 4));
    MemHandle h = attReplaceRecord(0, 0, &count, &size, "abcd", 4, 4);
    ASSERT_TRUE(h);
    EXPECT_EQ(1, count);
    EXPECT_EQ(10, size);
    EXPECT_EQ(0u, attReplaceRecord(h, 0, &count, &size, nullptr, 0, 4));
    EXPECT_EQ(0, count);
    EXPECT_EQ(0, size);
    EXPECT_EQ(0, live.leaked());
}

TEST(AttrRun, TheRunSizeStaysWithinSixteenBits)
{
    MemHandle h = newOwner();
    std::vector<char> value(kAttMaxValue, 'v');
    // Two values of 32767 bytes and their heads: 65546 bytes would wrap.
    h = attSet(h, TRUE, kHeader, kRun, value.data(), kAttMaxValue, 1);
    ASSERT_TRUE(h);
    EXPECT_EQ(0u, attSet(h, TRUE, kHeader, kRun, value.data(), kAttMaxValue, 2));
    // What still fits is taken: 65535 - 32773 - 6 bytes of data.
    int rest = (int)(kAttMaxRun - (kAttMaxValue + 6) - 6);
    MemHandle g = attSet(h, TRUE, kHeader, kRun, value.data(), rest, 2);
    ASSERT_TRUE(g);
    h = g;
    EXPECT_EQ(kAttMaxRun, headerOf(h).size);
    EXPECT_EQ(0u, attSet(h, TRUE, kHeader, kRun, "x", 1, 4));
    EXPECT_EQ(2, headerOf(h).count);
    EXPECT_EQ(0u, attSet(h, TRUE, kHeader, kRun, value.data(), kAttMaxValue + 1, 8));
    EXPECT_EQ(0u, attSet(h, TRUE, kHeader, kRun, value.data(), -1, 8));
    utFreeHandle(h);
}

// A valid owner with two records {4: 10 bytes} {8: 6 bytes}, then one damage.
struct Damage {
    const char *what;
    uint32_t at;       // byte offset in the block
    uint32_t value;    // written as `width` bytes
    int width;
};

MemHandle twoRecordOwner()
{
    MemHandle h = newOwner();
    h = attSet(h, TRUE, kHeader, kRun, "0123456789", 10, 4);
    return attSet(h, TRUE, kHeader, kRun, "abcdef", 6, 8);
}

TEST(AttrRun, DamagedRunsAreRefusedWithReadError)
{
    const Damage damages[] = {
        {"negative length", kRun + 4, 0xFFF0, 2},
        {"length past the run", kRun + 4, 200, 2},
        {"length one short of the run", kRun + 4, 9, 2},
        {"size past the block", kHeader + 6, 4000, 2},
        {"size short of the records", kHeader + 6, 20, 2},
        {"count beyond the records", kHeader + 4, 3, 2},
        {"owner length short of the run", 0, kRun + 10, 4},
        {"owner length past the block", 0, 100000, 4},
    };
    for (const Damage &d : damages) {
        MemHandle h = twoRecordOwner();
        {
            MemLock<uint8_t> p(h);
            memcpy(p.get() + d.at, &d.value, (size_t)d.width);
        }
        std::vector<uint8_t> before = bytesOf(h);
        for (int length : {3, 0}) {   // a replacement and a removal
            qmtest::BoxRecorder boxes;
            EXPECT_EQ(0u, attSet(h, TRUE, kHeader, kRun, "xyz", length, 4)) << d.what;
            EXPECT_EQ("Read error", boxes.texts()) << d.what;
            EXPECT_EQ(before, bytesOf(h)) << d.what;
        }
        utFreeHandle(h);
    }
}

TEST(AttrRun, SizedLookupsFindNothingInADamagedRunAndShowNothing)
{
    MemHandle h = twoRecordOwner();
    {
        MemLock<uint8_t> p(h);
        AttrHeader a = headerOf(h);
        const uint8_t *run = p.get() + kRun;
        int n = 0;
        const uint8_t *d = attGetDataIn(run, a.count, a.size, 8, &n);
        ASSERT_TRUE(d);
        EXPECT_EQ(6, n);
        EXPECT_EQ(0, memcmp("abcdef", d, 6));
        EXPECT_FALSE(attFindIn(run, a.count, a.size - 1, 8));
        EXPECT_FALSE(attFindIn(run, a.count + 1, a.size, 8));
        EXPECT_FALSE(attGetDataIn(run, a.count, a.size + 6, 8, &n));
        EXPECT_EQ(0, n);
        EXPECT_EQ(0u, attGetCopyIn(run, -1, a.size, 8));
        int16_t huge = 0x7000;
        memcpy(p.get() + kRun + 4, &huge, 2);
        EXPECT_FALSE(attFindIn(run, a.count, a.size, 8));
    }
    utFreeHandle(h);
}

// ---- field forms --------------------------------------------------------------------

// An entry field (41) with a name and 100 bytes of type data, its length by
// the field rule.
MemHandle newField(const char *name = "Amount")
{
    MemHandle h = obtest::make(OBT_ENTRY, 0, 0, 1000, 300, kFldAttrRun);
    h = obSetName(h, name);
    ObLock r(h);
    memset(obRecData(r.get()), 0, kFldAttrRun);
    r->length = obDataOffset(r.get()) + kFldAttrRun;
    return h;
}

TEST(FieldAttr, SettingKeepsTheFieldSizeAndRelinksAMovedRecord)
{
    std::vector<MemHandle> list = obtest::makeList(2);
    MemHandle f = newField();
    obLinkPair(list[0], f);
    obLinkPair(f, list[1]);
    const char text[] = "Total of the week";
    MemHandle g = obSetShapeAttr(f, ATT_FIELD_TEXT, text, (int)sizeof text);
    ASSERT_TRUE(g);
    EXPECT_NE(f, g);   // the moving allocator moves every grown block
    EXPECT_EQ(g, obGetNext(list[0]));
    EXPECT_EQ(g, obGetPrev(list[1]));
    {
        ObLock r(g);
        EXPECT_EQ(86u + 7 + 100 + 6 + sizeof text, r->length);
        char buf[64];
        EXPECT_EQ(1, attCopyShapeAttr(obRecData(r.get()), r.extent() - obDataOffset(r.get()),
                                      ATT_FIELD_TEXT, buf, 0));
        EXPECT_STREQ(text, buf);
    }
    g = obSetShapeAttr(g, ATT_FIELD_TEXT, nullptr, 0);
    EXPECT_EQ(86u + 7 + 100, ObLock(g)->length);
    EXPECT_EQ(0u, attGetShapeAttrCopy(g, ATT_FIELD_TEXT));
    obFreeList(list[0]);
}

TEST(FieldAttr, ALookupWhoseMaskBitIsClearDoesNotWalkTheRun)
{
    MemHandle f = newField();
    f = obSetShapeAttr(f, ATT_FIELD_TEXT, "abc", 4);
    {
        ObLock r(f);
        uint8_t *data = obRecData(r.get());
        uint32_t bytes = r.extent() - obDataOffset(r.get());
        // A damaged run: found neither with the bit clear nor with it set,
        // and never reported from a lookup.
        int16_t bad = -5;
        memcpy(data + kFldAttrRun + 4, &bad, 2);
        EXPECT_FALSE(attFindShapeAttr(data, bytes, ATT_FIELD_TEXT));
        uint32_t mask = 0;
        memcpy(data + kFldAttrHeader, &mask, 4);
        EXPECT_FALSE(attFindShapeAttr(data, bytes, ATT_FIELD_TEXT));
        // Intact again, but the mask still says absent.
        int16_t good = 4;
        memcpy(data + kFldAttrRun + 4, &good, 2);
        EXPECT_FALSE(attFindShapeAttr(data, bytes, ATT_FIELD_TEXT));
        mask = ATT_FIELD_TEXT;
        memcpy(data + kFldAttrHeader, &mask, 4);
        EXPECT_TRUE(attFindShapeAttr(data, bytes, ATT_FIELD_TEXT));
        // A header whose run reaches past the type data finds nothing.
        EXPECT_FALSE(attFindShapeAttr(data, kFldAttrRun + 5, ATT_FIELD_TEXT));
    }
    utFreeHandle(f);
}

TEST(FieldAttr, CopiesAreCutOrRefusedByTheBufferSize)
{
    MemHandle f = newField();
    f = obSetShapeAttr(f, ATT_FIELD_TEXT, "abcdefgh", 9);
    char buf[16];
    memset(buf, 'z', sizeof buf);
    EXPECT_EQ(1, obCopyShapeAttr(f, ATT_FIELD_TEXT, buf, 3));
    EXPECT_EQ(0, memcmp("abcz", buf, 4));
    EXPECT_EQ(1, obCopyShapeAttrAll(f, ATT_FIELD_TEXT, buf, 9));
    EXPECT_STREQ("abcdefgh", buf);
    EXPECT_EQ(0, obCopyShapeAttrAll(f, ATT_FIELD_TEXT, buf, 8));
    EXPECT_EQ(0, buf[0]);
    EXPECT_EQ(0, obCopyShapeAttr(f, ATT_FIELD_800000, buf, 0));
    EXPECT_EQ(0, buf[0]);
    // A record without room for the field header has no attributes at all.
    MemHandle plain = obtest::make(OBT_ENTRY);
    EXPECT_EQ(0, obCopyShapeAttr(plain, ATT_FIELD_TEXT, buf, 0));
    EXPECT_EQ(0u, obSetShapeAttr(plain, ATT_FIELD_TEXT, "a", 2));
    utFreeHandle(plain);
    utFreeHandle(f);
}

TEST(FieldAttr, TheEighteenByteAndTheSelfSizedValues)
{
    MemHandle f = newField("");
    uint8_t v18[18], out[18];
    for (int i = 0; i < 18; ++i)
        v18[i] = (uint8_t)(i + 1);
    EXPECT_EQ(0, obGetShapeAttr40000(f, out));
    f = obSetShapeAttr40000(f, v18);
    ASSERT_TRUE(f);
    EXPECT_EQ(1, obGetShapeAttr40000(f, out));
    EXPECT_EQ(0, memcmp(v18, out, 18));

    uint8_t self[7] = {7, 0, 'h', 'e', 'l', 'l', 'o'};
    f = obSetShapeAttr800000(f, self);
    MemHandle copy = obGetShapeAttr800000(f);
    ASSERT_TRUE(copy);
    ASSERT_GE(utHandleSize(copy), 7u);
    EXPECT_EQ(0, memcmp(self, MemLock<uint8_t>(copy).get(), 7));
    utFreeHandle(copy);
    for (const void *empty : {(const void *)nullptr, (const void *)"\x01\x00"}) {
        f = obSetShapeAttr800000(f, empty);
        copy = obGetShapeAttr800000(f);
        ASSERT_TRUE(copy);
        EXPECT_EQ(2, MemLock<uint16_t>(copy)[0]);
        utFreeHandle(copy);
    }
    {
        ObLock r(f);
        AttrHeader a;
        memcpy(&a, obRecData(r.get()) + kFldAttrHeader, sizeof a);
        EXPECT_EQ(2, a.count);
        EXPECT_EQ(ATT_FIELD_40000 | ATT_FIELD_800000, a.tagMask);
        EXPECT_EQ(86u + 100 + 24 + 8, r->length);
    }
    utFreeHandle(f);
}

// ---- the page flag --------------------------------------------------------------------

TEST(PageFlag64, AddedOnceAndRemovedWithTheRecordLength)
{
    MemHandle page = utAllocHandle(0, PG_RECORD_SIZE);
    pgInitRecord(MemLock<uint8_t>(page).get());
    EXPECT_EQ(0, pgHasFlag64(page));
    MemHandle same = pgSetFlag64(page, FALSE);
    EXPECT_EQ(page, same);
    page = pgSetFlag64(page, TRUE);
    ASSERT_TRUE(page);
    EXPECT_EQ(1, pgHasFlag64(page));
    EXPECT_EQ((uint32_t)PG_RECORD_SIZE + 26, ObLock(page)->length);
    EXPECT_TRUE(pgIsValid(page));
    {
        MemLock<uint8_t> p(page);
        EXPECT_EQ(20u, utGetAt<uint32_t>(p.get(), PG_RECORD_SIZE + 6));
    }
    EXPECT_EQ(page, pgSetFlag64(page, TRUE));
    EXPECT_EQ((uint32_t)PG_RECORD_SIZE + 26, ObLock(page)->length);
    page = pgSetFlag64(page, FALSE);
    EXPECT_EQ(0, pgHasFlag64(page));
    EXPECT_EQ((uint32_t)PG_RECORD_SIZE, ObLock(page)->length);
    EXPECT_TRUE(pgIsValid(page));
    // Not a page: nothing.
    MemHandle rect = obtest::make();
    EXPECT_EQ(0u, pgSetFlag64(rect, TRUE));
    EXPECT_EQ(0, pgHasFlag64(rect));
    utFreeHandle(rect);
    utFreeHandle(page);
}

}  // namespace
