// Node-edit state: the "EPenv" settings, point selection, moving points,
// the point writer and the commit; the node marks and drag outlines on DIB
// pixels; the curve fitting of freehand input.
#include "tests/tools/tools_kit.h"
#include "tests/support/kit.h"
#include "tools/ep_brushfit.h"
#include "tools/ne_marks.h"
#include "tools/ne_state.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "objects/sh_lineend.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include <math.h>
#include <string>
#include <vector>

namespace {

using eptest::create;
using eptest::pointsOf;

class NodeEdit : public ::testing::Test {
protected:
    eptest::Defaults defaults;
    std::vector<MemHandle> owned;
    void SetUp() override
    {
        dmResetModule();
        neEnd();
        neLoadSettings("");
    }
    void TearDown() override
    {
        neEnd();
        for (MemHandle h : owned)
            obFreeTree(h);
    }
    MemHandle make(int16_t type, std::vector<POINT> pts)
    {
        MemHandle h = create(defaults.get(), type, pts);
        owned.push_back(h);
        return h;
    }
    // Begins editing, the object then owned through the state's handle.
    void begin(MemHandle h) { ASSERT_EQ(1, neBeginObject(nullptr, h)); }
    std::vector<int16_t> selection()
    {
        const NodeEditState *s = neGetState();
        std::vector<int16_t> v;
        MemLock<int16_t> p(s->selection);
        if (p)
            v.assign(p.get(), p.get() + s->selCount);
        return v;
    }
    std::vector<uint8_t> bytes(MemHandle h)
    {
        ObLock r(h);
        const uint8_t *b = reinterpret_cast<const uint8_t *>(r.get());
        return std::vector<uint8_t>(b, b + r->length);
    }
};

// ---- settings ------------------------------------------------------------------------------

TEST_F(NodeEdit, SettingsTextKeepsDefaultsForWhatIsMissingOrOutOfRange)
{
    struct Case {
        const char *text;
        int32_t spacing, resolution, close;
        uint16_t flags;
    } cases[] = {
        {"", 3, 6, 5, 0x40},
        {"0, 100, 40, 0", 3, 6, 5, 0x40},
        {"10, 10, 10, 128", 10, 10, 10, 0xC0},
        {"10, 10, 10, 1", 10, 10, 10, 0x40},
        {"7, x, 5, 0", 3, 6, 5, 0x40},
        {"7, 5, 0", 3, 6, 5, 0x40},
        {"64, 64, 32, 255", 64, 64, 32, 0xC0},
        {"1, 4, 1, 0", 1, 4, 1, 0x40},
        {"65, 3, 33, 0", 3, 6, 5, 0x40},
    };
    for (const Case &c : cases) {
        neLoadSettings(c.text);
        int32_t s, r, cl;
        BOOL advanced;
        neGetLineDrawOptions(&s, &r, &cl, &advanced);
        EXPECT_EQ(c.spacing, s) << c.text;
        EXPECT_EQ(c.resolution, r) << c.text;
        EXPECT_EQ(c.close, cl) << c.text;
        EXPECT_EQ(c.flags, neGetFlags()) << c.text;
        EXPECT_EQ((c.flags & NE_FLAG_ADVANCED) != 0, advanced != FALSE) << c.text;
    }
    char text[32];
    neLoadSettings("");
    EXPECT_STREQ("3, 6, 5, 64", neSaveSettings(text));
    neLoadSettings("10, 10, 10, 128");
    EXPECT_STREQ("10, 10, 10, 192", neSaveSettings(text));
    // The getters clamp what is stored.
    neLoadSettings("1, 4, 1, 0");
    EXPECT_EQ(2, neGetCloseSpacing());
    neSetLineDrawOptions(0, 1, 0, TRUE);
    EXPECT_EQ(1, neGetMinSpacing());
    EXPECT_EQ(2, neGetCurveResolution());
    EXPECT_EQ(2, neGetCloseSpacing());
    EXPECT_EQ(0xC0, neGetFlags());
    EXPECT_STREQ("0, 1, 0, 192", neSaveSettings(text)) << "the setter keeps what it is given";
}

// ---- selection -----------------------------------------------------------------------------

TEST_F(NodeEdit, SelectAtPrefersPointsThenSegmentsThenTheClosingSegment)
{
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    begin(make(OBT_POLYGON, {{0, 0}, {3000, 0}, {3000, 3000}, {0, 3000}}));
    struct Case {
        POINT at;
        int result;
        std::vector<int16_t> selected;
    } cases[] = {
        {{3000, 0}, 1, {1}},                  // point 1, on segments 0-1 and 1-2 too
        {{3000, 3000}, 2, {2}},               // point 2, on segments 1-2 and 2-3
        {{3000 + hx, 3000 - hy}, 2, {2}},     // the handle box's corner
        {{1500, 0}, 0, {0, 1}},               // segment 0-1
        {{1500, 3000 + hx}, 2, {2, 3}},       // segment 2-3 within the tolerance
        {{0, 1500}, 3, {3, 0}},               // the closing segment
        {{1500, 1500}, -1, {}},               // nothing
    };
    for (const Case &c : cases) {
        neSelectOnly(1);
        EXPECT_EQ(c.result, neSelectAt(c.at)) << c.at.x << "," << c.at.y;
        EXPECT_EQ(c.selected, selection()) << c.at.x << "," << c.at.y;
        EXPECT_EQ(c.selected.size() >= 2, neGetState()->boxValid != 0);
    }
    // A polyline has no closing segment.
    begin(make(OBT_POLYLINE, {{0, 0}, {3000, 0}, {3000, 3000}, {0, 3000}}));
    EXPECT_EQ(-1, neSelectAt({0, 1500}));
}

TEST_F(NodeEdit, NextAndPreviousWrapAndBadIndexesAreIgnored)
{
    begin(make(OBT_POLYLINE, {{0, 0}, {100, 0}, {200, 50}, {300, 0}}));
    neSelectNext(nullptr);
    EXPECT_EQ(std::vector<int16_t>{0}, selection()) << "nothing selected: point 0";
    neClearSelection();
    neSelectPrevious(nullptr);
    EXPECT_EQ(std::vector<int16_t>{3}, selection()) << "nothing selected: the last";
    neSelectNext(nullptr);
    EXPECT_EQ(std::vector<int16_t>{0}, selection()) << "after the last: 0";
    neSelectPrevious(nullptr);
    EXPECT_EQ(std::vector<int16_t>{3}, selection()) << "before 0: the last";
    neSelectPrevious(nullptr);
    EXPECT_EQ(std::vector<int16_t>{2}, selection());
    for (int bad : {-1, 4, 32767}) {
        neSelectOnly(bad);
        EXPECT_EQ(std::vector<int16_t>{2}, selection()) << bad;
        EXPECT_FALSE(neIsSelected(bad));
    }
    EXPECT_EQ(2, neFirstSelected());
    neSelectAll();
    EXPECT_EQ((std::vector<int16_t>{0, 1, 2, 3}), selection());
    RECT box;
    neSelectionBounds(&box);
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(300, box.right);
    EXPECT_EQ(50, box.bottom);
    RECT r = {100, 0, 300, 0};   // edges included
    neSelectInRect(&r);
    EXPECT_EQ((std::vector<int16_t>{1, 3}), selection());
    neClearSelection();
    EXPECT_EQ(-1, neFirstSelected());
    EXPECT_FALSE(neGetState()->boxValid);
}

TEST_F(NodeEdit, MovingAnEndOfAClosedCurveMovesTheOtherEnd)
{
    begin(make(OBT_CLOSED_CURVE, {{0, 0}, {100, -100}, {200, -100}, {300, 0},
                                  {200, 100}, {100, 100}, {0, 0}}));
    NodeEditState *s = neGetState();
    std::vector<POINT> p(s->count);
    {
        MemLock<POINT> w(s->points);
        memcpy(p.data(), w.get(), p.size() * sizeof(POINT));
    }
    int16_t first = 0, last = 6;
    neMovePoints(p.data(), &first, 1, 10, 5);
    EXPECT_TRUE(eptest::samePoint({10, 5}, p[0]));
    EXPECT_TRUE(eptest::samePoint({10, 5}, p[6]));
    neMovePoints(p.data(), &last, 1, -20, 0);
    EXPECT_TRUE(eptest::samePoint({-10, 5}, p[0]));
    EXPECT_TRUE(eptest::samePoint({-10, 5}, p[6]));
    int16_t both[2] = {0, 6};
    neMovePoints(p.data(), both, 2, 10, 0);
    EXPECT_TRUE(eptest::samePoint({0, 5}, p[0])) << "both listed: moved once";
    EXPECT_TRUE(eptest::samePoint({0, 5}, p[6]));

    // The box moves only while valid, that is with two or more selected.
    neSelectOnly(3);
    RECT before = s->box;
    int16_t three = 3;
    neMovePoints(p.data(), &three, 1, 7, 7);
    EXPECT_FALSE(s->boxValid);
    EXPECT_TRUE(EqualRect(&before, &s->box));
    neSelectAll();
    before = s->box;
    neMovePoints(p.data(), &three, 1, 7, 9);
    OffsetRect(&before, 7, 9);
    EXPECT_TRUE(EqualRect(&before, &s->box));
}

TEST_F(NodeEdit, BeginRefusesObjectsWithoutPoints)
{
    EXPECT_EQ(0, neBeginObject(nullptr, make(OBT_RECTANGLE, {{0, 0}, {100, 100}})));
    EXPECT_EQ(0u, neGetState()->points);
    MemHandle h = make(OBT_POLYLINE, {{0, 0}, {100, 100}, {200, 0}});
    begin(h);
    EXPECT_EQ(3, neGetState()->count);
    EXPECT_EQ(h, neGetState()->object);
    EXPECT_EQ(0, neGetState()->selCount);
}

// ---- the point writer and the commit ----------------------------------------------------------

TEST_F(NodeEdit, WriterGrowsAndShrinksKeepingTheDataBehindThePoints)
{
    defaults->fillKind = 3;   // a gradient block behind a polygon's points
    MemHandle page = pgtest::newPage();
    MemHandle before = pgtest::addObject(page, "a");
    MemHandle poly = make(OBT_POLYGON, {{0, 0}, {1000, 0}, {1000, 800}, {0, 800}});
    owned.pop_back();
    pgAppendObject(page, poly);
    pgtest::addObject(page, "b");
    ObLock(poly)->fillKind = 3;

    MemHandle line = make(OBT_POLYLINE, {{0, 0}, {1000, 0}, {1000, 800}, {0, 800}});
    LineEndRecord end = {3, 200};
    line = shSetLineEnd(line, TRUE, &end);
    line = shSetLineEnd(line, FALSE, &end);
    owned.back() = line;

    struct Case {
        const char *name;
        MemHandle *h;
    } cases[] = {{"polygon", &poly}, {"polyline", &line}};
    for (const Case &c : cases) {
        MemHandle &h = *c.h;
        const uint32_t length = ObLock(h)->length;
        const uint32_t listEnd = obDataOffset(ObLock(h).get()) + 2 + 4 * 8;
        std::vector<uint8_t> original = bytes(h);
        std::vector<uint8_t> tail(original.begin() + listEnd, original.end());
        ASSERT_FALSE(tail.empty()) << c.name;
        const int16_t type = obGetType(h);

        std::vector<POINT> many;
        for (int i = 0; i < 400; ++i)
            many.push_back(POINT{(LONG)(2000 * cos(i * 0.0157)), (LONG)(1000 * sin(i * 0.0157))});
        BOOL changed = FALSE;
        MemHandle g = neWritePoints(h, many.data(), 400, &changed);
        ASSERT_TRUE(g) << c.name;
        EXPECT_TRUE(changed);
        h = g;
        std::vector<uint8_t> grown = bytes(h);
        const uint32_t newEnd = listEnd + 396 * 8;
        ASSERT_EQ(length + 396 * 8, grown.size()) << c.name;
        EXPECT_EQ(tail, std::vector<uint8_t>(grown.begin() + newEnd, grown.end())) << c.name;
        EXPECT_EQ(type, obGetType(h));
        std::vector<POINT> got = pointsOf(h);
        ASSERT_EQ(400u, got.size());
        for (size_t i = 0; i < 400; ++i)
            EXPECT_TRUE(eptest::samePoint(many[i], got[i])) << i;
        RECT box, want;
        geoPointsBounds(many.data(), 400, &want);
        obRecGetRect(ObLock(h).get(), &box);
        EXPECT_TRUE(EqualRect(&want, &box)) << c.name;

        std::vector<POINT> four = {{0, 0}, {1000, 0}, {1000, 800}, {0, 800}};
        h = neWritePoints(h, four.data(), 4, &changed);
        ASSERT_TRUE(h);
        EXPECT_EQ(original, bytes(h)) << c.name << ": shrunk back byte for byte";
        EXPECT_EQ(h, neWritePoints(h, four.data(), 4, &changed));
        EXPECT_FALSE(changed) << "the same points write nothing";
    }
    // The page walk reaches every object, the moved polygon among them.
    EXPECT_EQ(3, obCountList(pgGetFirstObject(page)));
    EXPECT_EQ(poly, obGetNext(before));
    obFreeTree(page);
}

TEST_F(NodeEdit, WriterChangesTheTypeWhenTheCountChanges)
{
    struct Case {
        int16_t type;
        std::vector<POINT> pts;
        int16_t want;
    } cases[] = {
        {OBT_POLYLINE, {{0, 0}, {500, 0}}, OBT_LINE},
        {OBT_POLYGON, {{0, 0}, {500, 0}}, OBT_LINE},
        {OBT_LINE, {{0, 0}, {500, 0}, {500, 500}}, OBT_POLYLINE},
        {OBT_HLINE, {{0, 0}, {500, 0}, {900, 0}}, OBT_POLYLINE},
        {OBT_POLYGON, {{0, 0}, {500, 0}, {500, 500}, {0, 500}, {-100, 200}}, OBT_POLYGON},
    };
    for (const Case &c : cases) {
        MemHandle h = make(c.type, {{0, 0}, {100, 0}, {100, 100}});
        if (c.type == OBT_LINE || c.type == OBT_HLINE)
            h = owned.back() = make(c.type, {{0, 0}, {100, 0}});
        h = neWritePoints(h, c.pts.data(), (int)c.pts.size());
        ASSERT_TRUE(h);
        owned.back() = h;
        EXPECT_EQ(c.want, obGetType(h)) << c.type;
        ObLock r(h);
        EXPECT_EQ(epRecordSize(r.get()), r->length) << c.type;
    }
}

TEST_F(NodeEdit, CommitDropsDuplicatesAndFinishingPicksTheType)
{
    struct Case {
        int16_t type;
        std::vector<POINT> pts;
        BOOL finishing;
        int16_t want;
        size_t count;
    } cases[] = {
        {OBT_POLYLINE, {{50, 50}, {50, 50}, {50, 50}, {50, 50}}, FALSE, OBT_POLYLINE, 1},
        {OBT_POLYLINE, {{0, 0}, {0, 0}, {300, 0}, {300, 0}}, TRUE, OBT_LINE, 2},
        {OBT_POLYGON, {{0, 0}, {0, 0}, {300, 0}, {300, 0}}, TRUE, OBT_LINE, 2},
        {OBT_HLINE, {{0, 0}, {300, 0}, {600, 0}, {600, 0}}, TRUE, OBT_POLYLINE, 3},
        {OBT_POLYGON, {{0, 0}, {600, 0}, {600, 400}, {0, 400}}, TRUE, OBT_RECTANGLE, 0},
        {OBT_POLYGON, {{0, 0}, {0, 400}, {400, 400}, {400, 0}}, TRUE, OBT_SQUARE, 0},
        {OBT_POLYGON, {{0, 0}, {600, 0}, {600, 400}, {0, 400}}, FALSE, OBT_POLYGON, 4},
        {OBT_POLYGON, {{0, 0}, {600, 0}, {650, 400}, {0, 400}}, TRUE, OBT_POLYGON, 4},
    };
    for (const Case &c : cases) {
        MemHandle h = make(c.type, {{0, 0}, {100, 0}, {100, 100}, {0, 100}});
        ObLock(h)->fillKind = c.type == OBT_POLYGON ? 1 : 0;
        ASSERT_EQ(4u, c.pts.size());
        begin(h);
        {
            NodeEditState *s = neGetState();
            ASSERT_EQ(4, s->count);
            MemLock<POINT> w(s->points);
            for (int i = 0; i < 4; ++i)
                w[i] = c.pts[(size_t)i];
        }
        h = neCommit(nullptr, h, c.finishing);
        ASSERT_TRUE(h);
        owned.back() = h;
        EXPECT_EQ(c.want, obGetType(h)) << c.type << " " << c.finishing;
        ObLock r(h);
        EXPECT_EQ(epRecordSize(r.get()), r->length) << c.type;
        if (c.want == OBT_LINE) {
            EXPECT_EQ(0, r->fillKind);
        }
        if (c.count) {
            EXPECT_EQ((int16_t)c.count, eptest::i16At(h, 0));
            EXPECT_EQ(c.count, (size_t)neGetState()->count);
        } else {
            RECT box;
            obRecGetRect(r.get(), &box);
            EXPECT_EQ(0, box.left);
            EXPECT_EQ(c.pts[2].x, box.right);
            EXPECT_EQ(c.pts[2].y, box.bottom);
            EXPECT_EQ(c.pts[2].x, eptest::i32At(h, 0)) << "width as type data";
            EXPECT_EQ(c.pts[2].y, eptest::i32At(h, 4)) << "height";
            EXPECT_EQ(1, r->fillKind);
        }
    }
}

// ---- marks ---------------------------------------------------------------------------------

class Marks : public NodeEdit {
protected:
    qmtest::Dib dib{400, 400};
    void SetUp() override
    {
        NodeEdit::SetUp();
        dmSetMapping(dib.dc());
    }
    // The device point of a twip point (15 twips a pixel at 100 percent).
    static POINT px(POINT p) { return POINT{p.x / 15, p.y / 15}; }
    int changedNear(const qmtest::Dib &before, POINT twips)
    {
        POINT d = px(twips);
        int n = 0;
        for (int y = d.y - 1; y <= d.y + 1; ++y)
            for (int x = d.x - 1; x <= d.x + 1; ++x)
                n += dib.pixel(x, y) != before.pixel(x, y);
        return n;
    }
};

TEST_F(Marks, AllPointsHollowSelectedFilledAndDrawnTwiceGone)
{
    begin(make(OBT_POLYLINE, {{1500, 1500}, {3000, 1500}, {4500, 3000}}));
    neDrawAllMarks(nullptr, dib.dc(), 0);
    const int hollow = dib.count(kNeMarkColour);
    EXPECT_GT(hollow, 3 * 8) << "three hollow squares";
    EXPECT_EQ(0, dib.count(kNeSelectedColour));
    EXPECT_EQ(kNeMarkColour, dib.pixel(100 - 3, 100)) << "the square's edge";
    EXPECT_EQ(RGB(255, 255, 255), dib.pixel(100, 100)) << "hollow inside";

    dib.fill(RGB(255, 255, 255));
    neSelectOnly(1);
    qmtest::Dib blank(400, 400);
    neDrawSelectedMarks(nullptr, dib.dc());
    EXPECT_EQ(kNeSelectedColour, dib.pixel(200, 100)) << "filled on white paper";
    EXPECT_GE(dib.count(kNeSelectedColour), 20);
    neDrawSelectedMarks(nullptr, dib.dc());
    EXPECT_EQ(0, dib.diff(blank)) << "drawn twice, the marks are gone";

    // With the box of a two-point selection too.
    neSelectAll();
    neDrawSelectedMarks(nullptr, dib.dc());
    EXPECT_GT(dib.diff(blank), 0);
    neDrawSelectedMarks(nullptr, dib.dc());
    EXPECT_EQ(0, dib.diff(blank));
}

TEST_F(Marks, BezierMarksShowAnchorsAndControls)
{
    begin(make(OBT_BEZIER, {{1500, 3000}, {1500, 1500}, {4500, 1500}, {4500, 3000}}));
    neDrawBezierMarks(nullptr, dib.dc(), 0);
    EXPECT_EQ(kNeMarkColour, dib.pixel(100 - 3, 200)) << "anchor 0 hollow";
    EXPECT_EQ(RGB(255, 255, 255), dib.pixel(101, 201)) << "hollow inside";
    EXPECT_EQ(kNeControlColour, dib.pixel(100, 100)) << "control filled";
    EXPECT_EQ(kNeMarkColour, dib.pixel(100, 150)) << "the line from anchor 0 to its control";
}

TEST_F(Marks, PolyOutlineDrawsOnlyTheSegmentsThatMove)
{
    std::vector<POINT> p = {{1500, 1500}, {4500, 1500}, {4500, 4500}, {1500, 4500}};
    qmtest::Dib blank(400, 400);
    int16_t zero[1] = {0};
    neDrawPolyOutline(dib.dc(), p.data(), 4, zero, 1, OBT_POLYGON);
    EXPECT_GT(changedNear(blank, {3000, 1500}), 0) << "segment 0-1";
    EXPECT_GT(changedNear(blank, {1500, 3000}), 0) << "closing segment 3-0";
    EXPECT_EQ(0, changedNear(blank, {3000, 4500})) << "segment 2-3 untouched";
    EXPECT_EQ(0, changedNear(blank, {4500, 3000})) << "segment 1-2 untouched";
    neDrawPolyOutline(dib.dc(), p.data(), 4, zero, 1, OBT_POLYGON);
    EXPECT_EQ(0, dib.diff(blank)) << "XOR: drawn twice, gone";

    // The closing segment's selection (3, 0) wraps: 2-3, 3-0 and 0-1.
    int16_t wrap[2] = {3, 0};
    neDrawPolyOutline(dib.dc(), p.data(), 4, wrap, 2, OBT_POLYGON);
    EXPECT_GT(changedNear(blank, {3000, 4500}), 0);
    EXPECT_GT(changedNear(blank, {1500, 3000}), 0);
    EXPECT_GT(changedNear(blank, {3000, 1500}), 0);
    EXPECT_EQ(0, changedNear(blank, {4500, 3000})) << "segment 1-2 untouched";
    neDrawPolyOutline(dib.dc(), p.data(), 4, wrap, 2, OBT_POLYGON);
    EXPECT_EQ(0, dib.diff(blank));

    // A polyline has no closing segment.
    neDrawPolyOutline(dib.dc(), p.data(), 4, zero, 1, OBT_POLYLINE);
    EXPECT_EQ(0, changedNear(blank, {1500, 3000}));
}

TEST_F(Marks, BezierOutlineDrawsTheSegmentsOfTheSelection)
{
    // Ten points: three segments 0-3, 3-6, 6-9 side by side along x.
    std::vector<POINT> p;
    for (int i = 0; i < 10; ++i)
        p.push_back(POINT{1500 + i * 600, (i % 3 == 0) ? 3000 : 2400});
    qmtest::Dib blank(400, 400);
    int16_t four[1] = {4};
    neDrawBezierOutline(dib.dc(), p.data(), 10, four, 1, OBT_BEZIER);
    auto touched = [&](int from, int to) {
        int n = 0;
        for (int x = px(p[(size_t)from]).x + 2; x < px(p[(size_t)to]).x - 2; ++x)
            for (int y = 0; y < 400; ++y)
                n += dib.pixel(x, y) != blank.pixel(x, y);
        return n;
    };
    EXPECT_GT(touched(3, 6), 0);
    EXPECT_EQ(0, touched(0, 3));
    EXPECT_EQ(0, touched(6, 9));
    neDrawBezierOutline(dib.dc(), p.data(), 10, four, 1, OBT_BEZIER);
    EXPECT_EQ(0, dib.diff(blank));

    // An anchor takes the segments on both sides; on a closed curve point 0
    // takes the last segment as well.
    int16_t three[1] = {3};
    neDrawBezierOutline(dib.dc(), p.data(), 10, three, 1, OBT_BEZIER);
    EXPECT_GT(touched(0, 3), 0);
    EXPECT_GT(touched(3, 6), 0);
    EXPECT_EQ(0, touched(6, 9));
    dib.fill(RGB(255, 255, 255));
    int16_t zero[1] = {0};
    neDrawBezierOutline(dib.dc(), p.data(), 10, zero, 1, OBT_CLOSED_CURVE);
    EXPECT_GT(touched(0, 3), 0);
    EXPECT_EQ(0, touched(3, 6));
    EXPECT_GT(touched(6, 9), 0);
}

// ---- curve fitting --------------------------------------------------------------------------

std::vector<POINT> fit(const std::vector<POINT> &in, double tolerance, int32_t *k)
{
    MemHandle h = epBrushLineFitCurve(in.data(), (int)in.size(), tolerance, k);
    std::vector<POINT> out;
    if (h) {
        out.resize(utHandleSize(h) / sizeof(POINT));
        MemLock<POINT> p(h);
        out.assign(p.get(), p.get() + 1 + 3 * *k);
    }
    utFreeHandle(h);
    return out;
}

TEST(BrushFit, TwoPointsMakeOneSegmentWithControlsAtAThird)
{
    int32_t k = 0;
    std::vector<POINT> c = fit({{0, 0}, {300, 0}}, 4, &k);
    ASSERT_EQ(1, k);
    ASSERT_EQ(4u, c.size());
    EXPECT_TRUE(eptest::samePoint({100, 0}, c[1]));
    EXPECT_TRUE(eptest::samePoint({200, 0}, c[2]));
    EXPECT_TRUE(eptest::samePoint({300, 0}, c[3]));
}

TEST(BrushFit, TableOfRuns)
{
    std::vector<POINT> collinear, circle, dup, wave;
    for (int i = 0; i < 50; ++i)
        collinear.push_back(POINT{i * 20, i * 10});
    for (int i = 0; i < 100; ++i)
        circle.push_back(POINT{(LONG)lround(1000 * cos(i * 2 * M_PI / 100)),
                               (LONG)lround(1000 * sin(i * 2 * M_PI / 100))});
    for (int i = 0; i < 30; ++i) {
        dup.push_back(POINT{i * 30, (i % 5) * 40});
        dup.push_back(POINT{i * 30, (i % 5) * 40});
    }
    for (int i = 0; i < 300; ++i)
        wave.push_back(POINT{i * 7, (LONG)lround(300 * sin(i * 0.11))});
    struct Case {
        const char *name;
        const std::vector<POINT> *in;
        double tolerance;
        int maxSegments;   // 0: any
        double within;     // every input point within this of the curve; 0: unchecked
    } cases[] = {
        {"collinear", &collinear, 4, 1, 2},
        {"circle", &circle, 4, 0, 2},
        {"duplicates", &dup, 4, 0, 2},
        {"duplicates, zero tolerance", &dup, 0, 0, 1},
        {"wave, negative tolerance", &wave, -5, 0, 1},
        {"wave", &wave, 400, 0, 20},
    };
    for (const Case &c : cases) {
        int32_t k = 0;
        std::vector<POINT> out = fit(*c.in, c.tolerance, &k);
        ASSERT_GE(k, 1) << c.name;
        ASSERT_EQ(size_t(1 + 3 * k), out.size()) << c.name;
        EXPECT_TRUE(eptest::samePoint(c.in->front(), out.front())) << c.name;
        EXPECT_TRUE(eptest::samePoint(c.in->back(), out.back())) << c.name;
        if (c.maxSegments)
            EXPECT_LE(k, c.maxSegments) << c.name;
        EXPECT_LE((size_t)k, c.in->size() - 1) << c.name;
        if (c.within > 0)
            for (size_t i = 0; i < c.in->size(); ++i)
                EXPECT_LE(eptest::distanceToCurve(out, (*c.in)[i]), c.within + 0.75)
                    << c.name << " point " << i;
    }
}

TEST(BrushFit, TooFewPointsGiveNothing)
{
    POINT one = {5, 5};
    int32_t k = 7;
    EXPECT_EQ(0u, epBrushLineFitCurve(&one, 1, 4, &k));
    EXPECT_EQ(0, k);
    EXPECT_EQ(0u, epBrushLineFitCurve(nullptr, 0, 4, &k));
    std::vector<POINT> same(40, POINT{9, 9});
    std::vector<POINT> out = fit(same, 4, &k);
    ASSERT_EQ(size_t(1 + 3 * k), out.size());
    EXPECT_TRUE(eptest::samePoint({9, 9}, out.back()));
}

}  // namespace
