// Rules drawn as grooves and ridges on real pixels, and every object type of
// arcs, arrows, spans and rules through copy, rename and its file record.
#include "tests/objects/fill_kit.h"
#include "model/ob_transform.h"
#include "model/qmf_convert.h"
#include "objects/sh_arc.h"
#include "objects/sh_arrow.h"
#include "objects/sh_dimspan.h"
#include "objects/sh_points.h"
#include "objects/sh_rule.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "objects/obj_types.h"

using namespace filltest;

namespace {

class Rules : public FillTest {};

const COLORREF kDarkGrey = RGB(0x40, 0x40, 0x40);

// A rule between two page points with half-thickness w.
MemHandle rule(int16_t type, POINT a, POINT b, int16_t w, uint8_t fillKind = 0)
{
    MemHandle h = obtest::make(type, 0, 0, 10, 10, kShRuleGeometry);
    ObLock r(h);
    uint8_t *d = obRecData(r.get());
    utPutAt<int16_t>(d, 0, 2);
    utPutAt<POINT>(d, 2, a);
    utPutAt<POINT>(d, 10, b);
    r->penWidth = w;
    r->fillKind = fillKind;
    r->penColour = kRed;   // not used
    r->layer = 1;
    shPointsBounds(r.get(), nullptr);
    return h;
}

TEST_F(Rules, ARaisedRuleIsDarkGreyAboveAndBlackBelowASunkenOneTheOtherWay)
{
    for (uint8_t kind : {(uint8_t)0, (uint8_t)1, kShRuleSunken}) {
        const bool sunken = kind == kShRuleSunken;
        const COLORREF upper = sunken ? kBlack : kDarkGrey, lower = sunken ? kDarkGrey : kBlack;
        MemHandle h = rule(OBT_RULE411, POINT{px(10), px(50)}, POINT{px(90), px(50)}, 20, kind);
        EXPECT_EQ(86u + 18, obCalcSize(h, 0));
        Page page(100, 100);
        page.draw(h);
        EXPECT_GT(page.in(upper, 20, 44, 80, 50), 40) << "top edge, kind " << (int)kind;
        EXPECT_GT(page.in(upper, 7, 49, 11, 51), 0) << "left edge, kind " << (int)kind;
        EXPECT_GT(page.in(lower, 20, 51, 80, 56), 40) << "bottom edge, kind " << (int)kind;
        EXPECT_GT(page.in(lower, 89, 49, 93, 51), 0) << "right edge, kind " << (int)kind;
        EXPECT_EQ(0, page.in(lower, 20, 44, 80, 50)) << "kind " << (int)kind;
        EXPECT_EQ(0, page.in(kRed, 0, 0, 100, 100)) << "the pen colour plays no part";
        obFreeTree(h);
    }
}

TEST_F(Rules, AVerticalRuleStandsAtItsFirstPointAndTypeHorzRuleShowsNothing)
{
    MemHandle v = rule(OBT_RULE412, POINT{px(50), px(10)}, POINT{px(70), px(90)}, 20);
    Page page(100, 100);
    page.draw(v);
    EXPECT_GT(page.in(kDarkGrey, 44, 20, 50, 80), 40) << "left edge";
    EXPECT_GT(page.in(kBlack, 51, 20, 56, 80), 40) << "right edge";
    EXPECT_EQ(0, page.in(kBlack, 60, 0, 100, 100)) << "nothing at the second point's x";
    obFreeTree(v);

    MemHandle thin = rule(OBT_RULE411, POINT{px(10), px(50)}, POINT{px(90), px(50)}, 0);
    Page line(100, 100);
    line.draw(thin);
    EXPECT_GT(line.in(kDarkGrey, 20, 49, 80, 52) + line.in(kBlack, 20, 49, 80, 52), 40)
        << "pen width 0: thin lines on the rule's line";
    obFreeTree(thin);

    MemHandle none = rule(OBT_HORZ_RULE, POINT{px(10), px(50)}, POINT{px(90), px(50)}, 20);
    EXPECT_EQ(86u + 18, obCalcSize(none, 0));
    Page blank(100, 100);
    blank.draw(none);
    EXPECT_EQ(100 * 100, blank.count(kWhite));
    obFreeTree(none);
}

// The record copied, renamed, turned into its file record and read back.
MemHandle throughFile(MemHandle h)
{
    MemHandle copy = obSetName(obDup(h), "renamed");
    MemHandle packet = qmfMakeFileRecord(copy);
    EXPECT_NE(0u, packet);
    MemHandle back = 0;
    uint16_t flags[7];
    EXPECT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags));
    utFreeHandle(packet);
    obFreeTree(copy);
    return back;
}

TEST_F(Rules, EveryTypeKeepsItsDataThroughCopyRenameAndItsFileRecord)
{
    qmtest::BoxRecorder boxes;
    objRegisterTypes();
    obInitArrowDefaults();
    const POINT ends[2] = {{100, 200}, {2100, 900}};
    const uint8_t rows[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::vector<MemHandle> objects = {
        shMakeEllipseArc(obtest::make(OBT_ARC, 0, 0, 800, 400, 0)),
        withPattern(shMakeEllipseArc(obtest::make(OBT_PIE, 0, 0, 800, 400, 0)), pattern(rows)),
        obMakeArrowRecord(obtest::make(OBT_ARROW, 0, 0, 10, 10, 0), ends),
        obtest::make(OBT_DIMENSION, 0, 0, 500, 100, kShDimSpanGeometry),
        obtest::make(OBT_RULE411, 0, 0, 500, 0, kShRuleGeometry),
        obtest::make(OBT_RULE412, 0, 0, 0, 500, kShRuleGeometry),
        obtest::make(OBT_HORZ_RULE, 0, 0, 500, 0, kShRuleGeometry),
    };
    const uint32_t own[] = {20, 20 + 24, 94, 32, 18, 18, 18};
    for (size_t i = 0; i < objects.size(); ++i) {
        MemHandle h = objects[i];
        const int16_t type = obGetType(h);
        obCalcSize(h, 0);
        MemHandle back = throughFile(h);
        ASSERT_NE(0u, back) << type;
        EXPECT_EQ(type, obGetType(back));
        EXPECT_EQ("renamed", obtest::nameOf(back));
        EXPECT_EQ(86u + 8 + own[i], ObLock(back)->length) << type;
        EXPECT_EQ(obtest::dataOf(h), obtest::dataOf(back)) << type;
        obFreeTree(back);
        obFreeTree(h);
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    qmfResetConverters();
}

TEST_F(Rules, RecordsTooShortForTheirDataAreLeftAsTheyAre)
{
    // Each type with four bytes of data, as a damaged file could give it:
    // drawn, bounded, rescaled, turned and mirrored, nothing is written past
    // the record and nothing breaks.
    for (int16_t type : {OBT_ARC, OBT_PIE, OBT_ARROW, OBT_DIMENSION, OBT_RULE411, OBT_RULE412,
                         OBT_HORZ_RULE}) {
        MemHandle h = obtest::make(type, px(10), px(10), px(50), px(30), 4);
        {
            ObLock r(h);
            r->fillKind = FILL_PATTERN;
            r->rotation = 300;
            r->layer = 1;
        }
        std::vector<uint8_t> data = obtest::dataOf(h);
        Page page(60, 40);
        page.draw(h);
        RECT box;
        objGetVertexBounds(h, &box);
        POINT c;
        obGetCentre(h, &c);
        h = obTreeScale(h, 2.0, 1.5, c.x, c.y, c.x, c.y);
        ASSERT_NE(0u, h) << type;
        objFlipRotate(h, c, 450);
        obFlipHorizontal(h, c.x);
        obFlipVertical(h, c.y);
        EXPECT_EQ(data, obtest::dataOf(h)) << type;
        obFreeTree(h);
    }
}

}  // namespace
