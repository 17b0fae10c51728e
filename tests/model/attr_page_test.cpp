// Tagged attributes and the page record's defaults and validity test.
#include "tests/model/att_kit.h"
#include "model/pg_record.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

using namespace atttest;

TEST(Attributes, SetReplaceAndRemoveKeepHeaderAndLength)
{
    MemHandle h = newOwner();
    const char ten[] = "0123456789";
    h = attSet(h, TRUE, kHeader, kRun, ten, 10, 4);
    ASSERT_TRUE(h);
    AttrHeader a = headerOf(h);
    EXPECT_EQ(1, a.count);
    EXPECT_EQ(16, a.size);
    EXPECT_EQ(4u, a.tagMask);
    EXPECT_EQ(kRun + 16, lengthOf(h));

    h = attSet(h, TRUE, kHeader, kRun, "abcdef", 6, 8);
    h = attSet(h, TRUE, kHeader, kRun, "xyz", 3, 4);   // replaced: moves to the end
    a = headerOf(h);
    EXPECT_EQ(2, a.count);
    EXPECT_EQ(12 + 9, a.size);
    EXPECT_EQ(12u, a.tagMask);
    {
        MemLock<uint8_t> p(h);
        EXPECT_EQ(p.get() + kRun, attFind(p.get() + kRun, a.count, 8));
        int n = 0;
        const uint8_t *d = attGetData(p.get() + kRun, a.count, 4, &n);
        ASSERT_TRUE(d);
        EXPECT_EQ(3, n);
        EXPECT_EQ(0, memcmp("xyz", d, 3));
        EXPECT_EQ(p.get() + kRun + 12, d - 6);
        EXPECT_TRUE(attCheckRun(p.get() + kRun, a.count, a.size));
        MemHandle copy = attGetCopy(p.get() + kRun, a.count, 8);
        ASSERT_TRUE(copy);
        {
            MemLock<char> c(copy);
            EXPECT_EQ(0, memcmp("abcdef", c.get(), 6));
        }
        utFreeHandle(copy);
        EXPECT_EQ(0u, attGetCopy(p.get() + kRun, a.count, 64));
    }

    h = attSet(h, TRUE, kHeader, kRun, nullptr, 0, 8);
    h = attSet(h, TRUE, kHeader, kRun, nullptr, 0, 4);
    a = headerOf(h);
    EXPECT_EQ(0, a.count);
    EXPECT_EQ(0, a.size);
    EXPECT_EQ(0u, a.tagMask);
    EXPECT_EQ(kRun, lengthOf(h));

    // A value a record cannot hold is refused, the owner unchanged.
    std::vector<char> big(40000, 'b');
    EXPECT_EQ(0u, attSet(h, TRUE, kHeader, kRun, big.data(), (int)big.size(), 2));
    EXPECT_EQ(kRun, lengthOf(h));
    // Memory shortage while growing: refused, owner intact.
    {
        std::vector<char> value(200, 'v');
        qmtest::BoxRecorder boxes;
        utFailNextAllocs(1);
        EXPECT_EQ(0u, attSet(h, TRUE, kHeader, kRun, value.data(), 200, 2));
        utFailNextAllocs(0);
    }
    EXPECT_EQ(0, headerOf(h).count);
    utFreeHandle(h);
}

TEST(Attributes, RunCheckRefusesSizesThatDisagree)
{
    uint8_t run[32] = {};
    uint32_t tag = 1;
    int16_t len = 4;
    memcpy(run, &tag, 4);
    memcpy(run + 4, &len, 2);
    EXPECT_TRUE(attCheckRun(run, 1, 10));
    EXPECT_FALSE(attCheckRun(run, 1, 9));
    EXPECT_FALSE(attCheckRun(run, 1, 12));
    EXPECT_FALSE(attCheckRun(run, 2, 10));
    EXPECT_TRUE(attCheckRun(run, 0, 0));
    len = -2;
    memcpy(run + 4, &len, 2);
    EXPECT_FALSE(attCheckRun(run, 1, 4));
}

TEST(PageRecord, DefaultsAndValidity)
{
    MemHandle page = utAllocHandle(0, PG_RECORD_SIZE);
    {
        MemLock<uint8_t> p(page);
        pgInitRecord(p.get());
        EXPECT_EQ((uint32_t)PG_RECORD_SIZE, pgRecCalcSize(p.get()));
        PageData d;
        memcpy(&d, p.get() + PG_HEAD_SIZE, sizeof(d));
        EXPECT_EQ(1, d.orientation);
        EXPECT_EQ(3, d.unit);
        EXPECT_EQ(90, d.twoValues[1]);
        EXPECT_EQ(29, d.fourValues[3]);
        EXPECT_EQ(16, d.gridDivisions);
        EXPECT_EQ(0xFFFFFFu, d.pageColour);
        EXPECT_EQ(180, d.fourWords[1]);
        EXPECT_EQ(1, d.byte45);
        EXPECT_EQ(1, d.layers.current);
        EXPECT_EQ(0xFF, d.defaultPattern[23]);
        EXPECT_EQ(16, d.defaultGradient[6]);
        LOGFONTA lf;
        memcpy(&lf, d.textFormat, sizeof(lf));
        EXPECT_STREQ("Arial", lf.lfFaceName);
        EXPECT_EQ(-240, lf.lfHeight);
        EXPECT_EQ(525u, (uint32_t)(d.textFormat[60] | d.textFormat[61] << 8));
        EXPECT_EQ(9, d.fieldFormat[10]);
        EXPECT_EQ(2u, d.extrasFlags);
    }
    EXPECT_TRUE(pgIsValid(page));

    struct Damage {
        const char *what;
        size_t at;
        uint8_t value;
    } damages[] = {{"type", 4, 7}, {"length", 0, 0x90}, {"name length", 7, 33},
                   {"unterminated name", 7, 4}, {"attribute bytes", 86 + 382, 6}};
    for (const Damage &d : damages) {
        MemHandle copy = utCopyHandle(page);
        {
            MemLock<uint8_t> p(copy);
            p[d.at] = d.value;
            if (d.at == 7)
                for (int i = 0; i < 4; ++i)
                    p[86 + i] = 'n';
        }
        EXPECT_FALSE(pgIsValid(copy)) << d.what;
        utFreeHandle(copy);
    }
    EXPECT_FALSE(pgIsValid(0));
    utFreeHandle(page);
}

}  // namespace
