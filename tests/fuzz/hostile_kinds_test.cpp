// Hostile documents of every kind the object-kind fuzz found faults in:
// each made from a document the program wrote, one field set by hand. Each
// opens, draws at 25 and 400 percent, prints and saves within the case
// limit, its object refused with the reader's message (sizes, counts and
// records that do not hold together) or kept and drawn (points of any
// value, which files may hold), with memory blocks and GDI objects back to
// their counts.
#include "tests/fuzz/fuzz_kit.h"
#include "model/ob_dispatch.h"
#include "objects/mf_emf.h"
#include "objects/mf_pict.h"
#include "objects/sh_brush.h"
#include "forms/ent_field.h"
#include "text/tx_label.h"

using namespace fuzzkit;

namespace {

enum Outcome { REFUSED, KEPT };

const uint32_t kHuge = 0x7FFFFFF0u;

// Field edits of a seed's record: `at` counts from the record, `data`
// from its type data.
struct Edit {
    const Seed &s;
    Bytes &b;
    void head32(uint32_t at, uint32_t v) { qmftest::putU32(b, s.at + at, v); }
    void head16(uint32_t at, uint16_t v) { qmftest::putU16(b, s.at + at, v); }
    void data32(uint32_t at, uint32_t v) { qmftest::putU32(b, s.at + s.dataAt + at, v); }
    void data16(uint32_t at, uint16_t v) { qmftest::putU16(b, s.at + s.dataAt + at, v); }
    uint32_t get32(uint32_t at) const { return qmftest::getU32(b, s.at + s.dataAt + at); }
};

const uint32_t kWidth = 16, kHeight = 20, kCentreX = 8, kRotation = 24;
const uint32_t kFieldFont = offsetof(EntryFieldPart, font);

struct Case {
    const char *what;
    int16_t kind;
    void (*edit)(Edit &e);
    Outcome outcome;
};

// The first record after an enhanced metafile's header (type data +8).
uint32_t emfSecondRecord(const Edit &e) { return kMfEmfFixed + e.get32(kMfEmfFixed + 4); }
// The first record of a Windows metafile kept without a placeable header.
const uint32_t kWmfFirstRecord = kMfPictFixed + 18;
// A brush line's first stroke.
const uint32_t kStroke = kBrsHeadSize;

const Case kCases[] = {
    {"entry field of a huge height", OBT_ENTRY, [](Edit &e) { e.head32(kHeight, kHuge); }, REFUSED},
    {"entry field of a huge font", OBT_ENTRY, [](Edit &e) { e.data32(kFieldFont, kHuge); }, REFUSED},
    {"entry field ruled with a tiny font over 20 inches", OBT_ENTRY,
     [](Edit &e) {
         e.head32(kHeight, 28800);
         e.data32(kFieldFont, 1);
         e.data16(offsetof(EntryFieldPart, align), 4);
         e.data32(offsetof(EntryFieldPart, flags), ENT_RULES | ENT_MULTILINE);
         e.data16(offsetof(EntryFieldPart, dataType), 3);
     },
     KEPT},
    {"list field of a huge height", OBT_LIST_FIELD, [](Edit &e) { e.head32(kHeight, kHuge); }, REFUSED},
    {"equation field of a huge height", OBT_EQUATION, [](Edit &e) { e.head32(kHeight, kHuge); }, REFUSED},
    {"push button of a huge height", OBT_BUTTON, [](Edit &e) { e.head32(kHeight, kHuge); }, REFUSED},
    {"box object of a huge height", OBT_BOX, [](Edit &e) { e.head32(kHeight, kHuge); }, REFUSED},
    {"table of a huge height", OBT_TABLE, [](Edit &e) { e.head32(kHeight, kHuge); }, REFUSED},
    {"Label of a huge centre", OBT_LABEL, [](Edit &e) { e.head32(kCentreX, kHuge); }, REFUSED},
    {"Label of a huge width", OBT_LABEL, [](Edit &e) { e.head32(kWidth, kHuge); }, REFUSED},
    {"Label 20 inches wide", OBT_LABEL, [](Edit &e) { e.head32(kWidth, 28800); }, KEPT},
    {"EMF record of an odd size", OBT_ENHANCED_MF,
     [](Edit &e) { e.data32(emfSecondRecord(e) + 4, 10); }, REFUSED},
    {"EMF record past the data", OBT_ENHANCED_MF,
     [](Edit &e) { e.data32(emfSecondRecord(e) + 4, kHuge); }, REFUSED},
    {"EMF record count wrong", OBT_ENHANCED_MF,
     [](Edit &e) { e.data32(kMfEmfFixed + offsetof(ENHMETAHEADER, nRecords), 1000000); }, REFUSED},
    {"EMF of a huge stored width", OBT_ENHANCED_MF, [](Edit &e) { e.data32(0, kHuge); }, REFUSED},
    {"EMF of a huge centre", OBT_ENHANCED_MF, [](Edit &e) { e.head32(kCentreX, kHuge); }, REFUSED},
    {"WMF record past the data", OBT_METAPICT,
     [](Edit &e) { e.data32(kWmfFirstRecord, 0x7FFFFFF); }, REFUSED},
    {"WMF of a huge width", OBT_METAPICT, [](Edit &e) { e.head32(kWidth, kHuge); }, REFUSED},
    {"brush line of a huge stroke count", OBT_BRUSH_LINE, [](Edit &e) { e.data32(4, kHuge); }, REFUSED},
    {"brush line whose profile byte says inline", OBT_BRUSH_LINE,
     [](Edit &e) {
         e.data32(kStroke + BRS_KIND, kBrsInlineProfile);
         e.data32(kStroke + BRS_SAMPLES, 0x10000);
     },
     REFUSED},
    {"brush line of a huge sample count", OBT_BRUSH_LINE,
     [](Edit &e) { e.data32(kStroke + BRS_SAMPLES, kHuge); }, REFUSED},
    {"brush line of a huge width", OBT_BRUSH_LINE,
     [](Edit &e) { e.data32(kStroke + BRS_WIDTH, kHuge); }, REFUSED},
    {"dimension span of a far point", OBT_DIMENSION, [](Edit &e) { e.data32(2, kHuge); }, KEPT},
    {"dimension span of a huge tick", OBT_DIMENSION, [](Edit &e) { e.data32(18, kHuge); }, KEPT},
    {"H/V polyline turned with a far point", OBT_POLYHV,
     [](Edit &e) {
         e.head16(kRotation, 450);
         e.data32(2, kHuge);
     },
     KEPT},
    {"polygon whose type says diamond", OBT_POLYGON, [](Edit &e) { e.head16(4, OBT_DIAMOND); }, REFUSED},
    {"polygon whose type says pie", OBT_POLYGON, [](Edit &e) { e.head16(4, OBT_PIE); }, REFUSED},
    {"polyline of a far point", OBT_POLYLINE, [](Edit &e) { e.data32(6, 0x80000000u); }, KEPT},
    {"grid of a huge width", OBT_GRID, [](Edit &e) { e.data32(0, kHuge); }, REFUSED},
    {"grid of 32767 columns", OBT_GRID, [](Edit &e) { e.data16(8, 32767); }, REFUSED},
    {"grid of 28800 columns and rows over 20 inches", OBT_GRID,
     [](Edit &e) {
         e.data32(0, 28800);
         e.data32(4, 28800);
         e.data16(8, 28800);
         e.data16(10, 28800);
         e.head32(kWidth, 28800);
         e.head32(kHeight, 28800);
     },
     KEPT},
};

class HostileKinds : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new qmtest::TempDir;
        seeds_ = new std::vector<Seed>(makeSeeds(dir_->path()));
        // What the drawing keeps for the process is loaded before counting.
        for (const Seed &s : *seeds_) {
            qmtest::writeFile(dir_->file("warm.qm"), s.doc);
            runRound(dir_->file("warm.qm"), dir_->file("warm2.qm"));
        }
    }
    static void TearDownTestSuite()
    {
        delete seeds_;
        delete dir_;
    }
    static const Seed *seed(int16_t kind)
    {
        for (const Seed &s : *seeds_)
            if (s.kind == kind)
                return &s;
        return nullptr;
    }
    static qmtest::TempDir *dir_;
    static std::vector<Seed> *seeds_;
};
qmtest::TempDir *HostileKinds::dir_;
std::vector<Seed> *HostileKinds::seeds_;

TEST_F(HostileKinds, EachOpensDrawsPrintsAndSavesWithItsObjectRefusedOrKept)
{
    Watchdog watchdog(2000);
    const std::string path = dir_->file("hostile.qm"), resave = dir_->file("resaved.qm");
    for (const Case &c : kCases) {
        const Seed *s = seed(c.kind);
        ASSERT_NE(nullptr, s) << c.what;
        Bytes doc = s->doc;
        Edit e{*s, doc};
        c.edit(e);
        ASSERT_TRUE(qmtest::writeFile(path, doc));
        Counts base = countsNow();
        std::string leak;
        watchdog.begin(c.what);
        Round r = runCounted(path, resave, base, &leak);
        watchdog.end();
        EXPECT_TRUE(r.opened && r.saved) << c.what;
        if (c.outcome == REFUSED) {
            EXPECT_EQ(0, r.objects) << c.what;
            EXPECT_EQ("Reading object failed", r.messages) << c.what;
        } else {
            EXPECT_EQ(1, r.objects) << c.what;
            EXPECT_EQ("", r.messages) << c.what;
        }
        EXPECT_EQ("", leak) << c.what;
        // What was saved opens again as it was left.
        Round again = runRound(resave, path);
        EXPECT_EQ(c.outcome == KEPT ? 1 : 0, again.objects) << c.what;
        EXPECT_EQ("", again.messages) << c.what;
    }
}

// A long H/V polyline turned: read, drawn, printed, turned again and
// outlined in time with all its points.
TEST_F(HostileKinds, ALongTurnedPolylineIsDrawnWhole)
{
    const int n = 16000;
    MemHandle h = obNewRecord(kObHeadSize + 2 + 8 * n);
    {
        ObLock r(h);
        r->type = OBT_POLYHV;
        r->layer = 1;
        r->scaleX = r->scaleY = kObScaleOne;
        r->penWidth = 15;
        r->rotation = 450;
        r->centreX = r->centreY = 7200;
        uint8_t *d = obRecData(r.get());
        int16_t count = (int16_t)n;
        memcpy(d, &count, 2);
        for (int i = 0; i < n; ++i) {
            POINT p = {(i / 2) % 7000 - 3500, ((i + 1) / 2) % 5000 - 2500};
            memcpy(d + 2 + 8 * i, &p, 8);
        }
    }
    {
        ObLock r(h);
        objRecordSize(r.get(), 0);
    }
    const std::string path = dir_->file("long.qm"), resave = dir_->file("long2.qm");
    Bytes doc = documentOf(h, path);
    ASSERT_FALSE(doc.empty());
    Watchdog watchdog(2000);
    watchdog.begin("a long turned H/V polyline");
    Round r = runRound(path, resave);
    watchdog.end();
    EXPECT_EQ(1, r.objects);
    EXPECT_EQ("", r.messages);
}

}  // namespace
