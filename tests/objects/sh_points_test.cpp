// Lines, polylines, polygons, cubes and curves with their line-end symbols:
// record sizes and the line-end records, symbol figures on real pixels, the
// clip under arrowheads, polylines split around their symbols, vertex
// markers, rotation, rescaling, mirroring, drawn rectangles and curve ends.
#include "tests/objects/fill_kit.h"
#include "model/ob_transform.h"
#include "objects/sh_curve.h"
#include "objects/sh_lineend.h"
#include "objects/sh_points.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include <algorithm>
#include <memory>
#include <vector>

using namespace filltest;

namespace {

class Points : public FillTest {};

struct End {
    int16_t style;
    uint32_t size;
};

// A point shape of the page points, its centre the middle of their bounds,
// a black pen of pen width `pen` (0: the thinnest), the line-end records of
// the flags behind the points (start first).
MemHandle shape(int16_t type, std::vector<POINT> pts, uint32_t flags = 0, End start = {0, 0},
                End end = {0, 0}, int16_t pen = 0, uint32_t spare = 0)
{
    uint32_t ends = ((flags & OBF_START_SYMBOL) ? 6 : 0) + ((flags & OBF_END_SYMBOL) ? 6 : 0);
    uint32_t length = 86 + 2 + 8 * (uint32_t)pts.size() + ends;
    MemHandle h = obNewRecord(length + spare);
    ObLock r(h);
    r->length = length;
    r->type = type;
    r->layer = 1;
    r->scaleX = r->scaleY = kObScaleOne;
    r->flags = flags;
    r->penWidth = pen;
    r->penColour = kBlack;
    RECT b;
    geoPointsBounds(pts.data(), (int16_t)pts.size(), &b);
    obRecSetRect(r.get(), &b);
    uint8_t *d = obRecData(r.get());
    int16_t n = (int16_t)pts.size();
    memcpy(d, &n, 2);
    for (size_t i = 0; i < pts.size(); ++i) {
        POINT p = {pts[i].x - r->centreX, pts[i].y - r->centreY};
        memcpy(d + 2 + 8 * i, &p, 8);
    }
    uint8_t *e = d + 2 + 8 * pts.size();
    for (const End *x : {&start, &end}) {
        if ((x == &start && !(flags & OBF_START_SYMBOL)) || (x == &end && !(flags & OBF_END_SYMBOL)))
            continue;
        LineEndRecord rec = {x->style, x->size};
        memcpy(e, &rec, 6);
        e += 6;
    }
    return h;
}

std::vector<POINT> pointsOf(MemHandle h)
{
    int16_t n = 0;
    MemHandle p = obGetVertices(h, &n);
    std::vector<POINT> v((size_t)n);
    if (n) {
        MemLock<POINT> l(p);
        memcpy(v.data(), l.get(), 8 * (size_t)n);
    }
    utFreeHandle(p);
    return v;
}

// Dark pixels (not white) of a rectangle.
int dark(const qmtest::Dib &dib, int l, int t, int r, int b)
{
    RECT box = {l, t, r, b};
    return (r - l) * (b - t) - dib.count(kWhite, box);
}

// ---- sizes and records ------------------------------------------------------------------------

TEST_F(Points, SizesCountEndsOrFillAndAPastTheBlockCountUsesThePointsHeld)
{
    const std::vector<POINT> two = {{0, 0}, {1000, 0}};
    struct Case {
        int16_t type;
        uint32_t flags;
        uint8_t fill;
        uint32_t want;
    } cases[] = {
        {OBT_LINE, 0, 0, 104},
        {OBT_LINE, OBF_START_SYMBOL | OBF_END_SYMBOL, 0, 116},
        {OBT_POLYHV, OBF_END_SYMBOL, 2, 110},
        {OBT_BEZIER, OBF_START_SYMBOL, 0, 110},
        {OBT_POLYGON, OBF_START_SYMBOL | OBF_END_SYMBOL, 2, 128},
        {OBT_CLOSED_CURVE, 0, 3, 144},
    };
    for (const Case &c : cases) {
        MemHandle h = shape(c.type, two, c.flags, {3, 100}, {3, 100}, 0, 64);
        ObLock(h)->fillKind = c.fill;
        EXPECT_EQ(c.want, obCalcSize(h, 0)) << c.type;
        obFreeTree(h);
    }
    // A count reaching past the block: the points held give the size.
    MemHandle h = shape(OBT_POLYLINE, {{0, 0}, {10, 0}, {20, 5}});
    {
        ObLock r(h);
        int16_t count = 900;
        memcpy(obRecData(r.get()), &count, 2);
    }
    EXPECT_EQ(86u + 2 + 24, obCalcSize(h, 0));
    RECT bounds;
    EXPECT_TRUE(objGetVertexBounds(h, &bounds));
    EXPECT_EQ(20, bounds.right - bounds.left) << "three points read, nothing past them";
    obFreeTree(h);
}

TEST_F(Points, ClearingTheStartSymbolMovesTheEndRecordDown)
{
    MemHandle h = shape(OBT_LINE, {{0, 0}, {1000, 0}}, OBF_START_SYMBOL | OBF_END_SYMBOL,
                        {41, 200}, {3, 300});
    EXPECT_EQ(116u, ObLock(h)->length);
    h = shSetLineEnd(h, TRUE, nullptr);
    ASSERT_TRUE(h);
    {
        ObLock r(h);
        EXPECT_EQ(110u, r->length);
        EXPECT_EQ(OBF_END_SYMBOL, r->flags & (OBF_START_SYMBOL | OBF_END_SYMBOL));
        EXPECT_EQ(nullptr, shGetStartLineEnd(r.get()));
        uint8_t *at = obRecData(r.get()) + 2 + 16;
        EXPECT_EQ((uint8_t *)shGetEndLineEnd(r.get()), at) << "the end record at +2 + 8n";
        EXPECT_EQ(3, utGetAt<int16_t>(at, 0));
        EXPECT_EQ(300u, utGetAt<uint32_t>(at, 2));
    }
    EXPECT_EQ(110u, obCalcSize(h, 0));
    LineEndRecord back = {50, 120};
    h = shSetLineEnd(h, TRUE, &back);
    {
        ObLock r(h);
        EXPECT_EQ(116u, r->length);
        EXPECT_EQ(50, shGetStartLineEnd(r.get())->style);
        EXPECT_EQ(300u, shGetEndLineEnd(r.get())->size) << "the end record moved up again";
    }
    MemHandle rect = obtest::make();
    EXPECT_EQ(0u, shSetLineEnd(rect, TRUE, nullptr)) << "no line-end records on a rectangle";
    obFreeTree(rect);
    obFreeTree(h);
}

TEST_F(Points, AnEndFlagOnARecordTooShortForItsRecordDrawsNoSymbol)
{
    // The flag is set but the record ends with its points.
    MemHandle h = shape(OBT_LINE, {{px(10), px(20)}, {px(60), px(20)}});
    ObLock(h)->flags |= OBF_END_SYMBOL;
    {
        ObLock r(h);
        EXPECT_EQ(nullptr, shGetEndLineEnd(r.get()));
        RECT ends;
        EXPECT_EQ(0, shLineEndsBounds(r.get(), &ends));
    }
    Page page(80, 40);
    page.draw(h);
    EXPECT_EQ(0, dark(page, 0, 0, 80, 15)) << "no arrowhead above the line";
    EXPECT_GT(dark(page, 15, 19, 55, 22), 30) << "the line itself";
    obFreeTree(h);
}

// ---- symbols -------------------------------------------------------------------------------------

TEST_F(Points, SymbolFiguresOnPixels)
{
    // In device units: the tip at (300, 200), the line coming from the left.
    const POINT p = {100, 200}, q = {300, 200};
    auto draw = [&](int16_t style, uint32_t size) {
        qmtest::Dib *dib = new qmtest::Dib(400, 400);
        shDrawLineEnd(dib->dc(), p, q, style, size, kRed);
        return dib;
    };
    // A cross bar on a filled head of size 1000 spans 764 units: 765 pixels
    // of the column through the tip.
    {
        qmtest::Dib big(1200, 1000);
        shDrawLineEnd(big.dc(), POINT{0, 500}, POINT{1100, 500}, 3 | 0x100, 1000, kRed);
        EXPECT_EQ(765, big.count(kRed, RECT{1100, 0, 1101, 1000}));
        RECT bounds;
        ASSERT_EQ(1, shLineEndBounds(POINT{0, 500}, POINT{1100, 500}, 3 | 0x100, 1000, &bounds));
        EXPECT_EQ(1100, bounds.right);
        EXPECT_EQ(1100 - 924, bounds.left);
    }
    for (int16_t none : {0, 6, 10, 48, 52, 255}) {
        std::unique_ptr<qmtest::Dib> d(draw(none, 80));
        EXPECT_EQ(0, d->count(kRed)) << "kind " << none;
        RECT b;
        EXPECT_EQ(0, shLineEndBounds(p, q, none, 80, &b));
    }
    // A damaged record's huge size stays within the coordinate range.
    for (int16_t kind : {3, 50, 0x100 | 41}) {
        RECT huge;
        ASSERT_EQ(1, shLineEndBounds(p, q, kind, 0xFFFFFFFFu, &huge)) << kind;
        EXPECT_LE(huge.left, huge.right);
        std::unique_ptr<qmtest::Dib> d(draw(kind, 0xFFFFFFFFu));
    }
    std::unique_ptr<qmtest::Dib> zero(draw(3, 0));
    EXPECT_EQ(0, zero->count(kRed)) << "size 0";
    std::unique_ptr<qmtest::Dib> square(draw(40, 80));
    EXPECT_GT(square->count(kRed), 100);
    for (int16_t same : {45, 46}) {
        std::unique_ptr<qmtest::Dib> d(draw(same, 80));
        EXPECT_EQ(0, d->diff(*square)) << "kind " << same << " draws the square";
    }
    std::unique_ptr<qmtest::Dib> filled(draw(41, 80)), open(draw(40, 80));
    EXPECT_GT(filled->count(kRed), 3 * open->count(kRed));
    std::unique_ptr<qmtest::Dib> disc(draw(51, 81)), ring(draw(50, 81));
    EXPECT_EQ(kRed, disc->pixel(300, 200));
    EXPECT_EQ(kWhite, ring->pixel(300, 200));
    EXPECT_EQ(kRed, ring->pixel(340, 200)) << "r = 40";
    // Every head points at q: nothing beyond the tip.
    for (int16_t head : {1, 2, 3, 4, 5, 7, 8, 9}) {
        std::unique_ptr<qmtest::Dib> d(draw(head, 80));
        EXPECT_EQ(0, d->count(kRed, RECT{302, 0, 400, 400})) << "kind " << head;
        EXPECT_GT(d->count(kRed, RECT{220, 150, 301, 250}), 10) << "kind " << head;
    }
}

TEST_F(Points, AThickPenIsClippedUnderAnArrowheadAndAThinOneNever)
{
    // 4- and 8-pixel pens ending in a filled head of 40 pixels at x = 100.
    LineEndRecord head = {3, (uint32_t)px(40)};
    for (int pen : {4, 8}) {
        Page thick(160, 60);
        shDrawSegmentWithEnds(thick.dc(), POINT{px(10), px(30)}, POINT{px(100), px(30)}, 0,
                              px(pen), nullptr, &head, kRed);
        EXPECT_EQ(0, thick.count(kRed, RECT{102, 0, 160, 60})) << pen << ": nothing past the tip";
        EXPECT_GE(thick.count(kRed, RECT{20, 28, 40, 33}), 20 * std::min(pen, 5)) << "the shaft";
    }
    // Without a head the thick segment keeps its round end past the point.
    Page plain(160, 60);
    shDrawSegmentWithEnds(plain.dc(), POINT{px(10), px(30)}, POINT{px(100), px(30)}, 0, px(8),
                          nullptr, nullptr, kRed);
    EXPECT_GT(plain.count(kRed, RECT{102, 0, 160, 60}), 0);
    // A one-pixel pen runs to the tip unclipped, under its head.
    Page thin(160, 60);
    LineEndRecord open = {1, (uint32_t)px(40)};
    shDrawSegmentWithEnds(thin.dc(), POINT{px(10), px(30)}, POINT{px(100), px(30)}, 0, px(1),
                          nullptr, &open, kRed);
    EXPECT_GE(thin.count(kRed, RECT{10, 30, 101, 31}), 88);
}

// ---- polylines ----------------------------------------------------------------------------------

TEST_F(Points, PolylinesSplitAroundTheirSymbols)
{
    const End arrow = {3, (uint32_t)px(20)};
    // Three points with an end arrow: both segments and one head at the end.
    MemHandle three = shape(OBT_POLYLINE, {{px(10), px(10)}, {px(60), px(10)}, {px(60), px(60)}},
                            OBF_END_SYMBOL, {0, 0}, arrow);
    Page a(80, 80);
    a.draw(three);
    EXPECT_GT(a.count(kBlack, RECT{12, 9, 58, 12}), 40) << "first segment";
    EXPECT_GT(a.count(kBlack, RECT{59, 12, 62, 38}), 20) << "second segment";
    EXPECT_GT(a.count(kBlack, RECT{50, 40, 71, 62}), 80) << "the head at the last point";
    EXPECT_EQ(0, a.count(kBlack, RECT{0, 0, 9, 80})) << "no symbol at the start";
    obFreeTree(three);

    // Leading repeats: the start symbol sits on the last of them, aligned
    // with the first real segment.
    MemHandle repeats = shape(OBT_LINE, {{px(20), px(40)}, {px(20), px(40)}, {px(70), px(40)}},
                              OBF_START_SYMBOL, arrow);
    Page b(80, 80);
    b.draw(repeats);
    EXPECT_GT(b.count(kBlack, RECT{19, 31, 40, 50}), 80) << "head pointing left at x 20";
    EXPECT_EQ(0, b.count(kBlack, RECT{0, 0, 18, 80}));
    obFreeTree(repeats);

    // All points equal: nothing.
    MemHandle same = shape(OBT_POLYLINE, {{px(30), px(30)}, {px(30), px(30)}, {px(30), px(30)}},
                           OBF_START_SYMBOL | OBF_END_SYMBOL, arrow, arrow);
    Page c(80, 80);
    c.draw(same);
    EXPECT_EQ(0, c.count(kBlack));
    obFreeTree(same);
}

TEST_F(Points, AnAttachedMarkerDrawsAtEachVertexAndStaysWhereItWas)
{
    MemHandle line = shape(OBT_POLYLINE, {{px(10), px(10)}, {px(50), px(10)}, {px(50), px(50)}});
    MemHandle marker = box(OBT_RECTANGLE, 100, 100, 106, 106, FILL_SOLID, kRed);
    obSetAttached(line, marker);
    std::vector<uint8_t> before = obtest::headOf(marker), data = obtest::dataOf(marker);
    Page page(80, 80);
    page.draw(line);
    for (POINT v : {POINT{10, 10}, POINT{50, 10}, POINT{50, 50}})
        EXPECT_EQ(kRed, page.pixel(v.x + 1, v.y + 1)) << v.x << "," << v.y;
    EXPECT_EQ(0, page.count(kRed, RECT{60, 60, 80, 80})) << "nowhere else";
    EXPECT_EQ(before, obtest::headOf(marker)) << "the marker is byte-identical";
    EXPECT_EQ(data, obtest::dataOf(marker));
    obFreeTree(line);
}

TEST_F(Points, FilledPolygonsAndCubeEdges)
{
    MemHandle poly = shape(OBT_POLYGON, {{px(10), px(10)}, {px(70), px(10)}, {px(40), px(60)}});
    ObLock(poly)->fillKind = FILL_SOLID;
    ObLock(poly)->fillColour = kBlue;
    Page page(80, 80);
    page.draw(poly);
    EXPECT_EQ(kBlue, page.pixel(40, 30));
    EXPECT_EQ(kWhite, page.pixel(15, 50));
    obFreeTree(poly);
}

// ---- transforms ------------------------------------------------------------------------------------

TEST_F(Points, RotationBakesTheTurnAndLinesLoseTheirAxisCodes)
{
    struct Case {
        int16_t type, made;
    } cases[] = {{OBT_HLINE, OBT_LINE}, {OBT_VLINE, OBT_LINE}, {OBT_POLYHV, OBT_POLYLINE},
                 {OBT_POLYLINE, OBT_POLYLINE}};
    for (const Case &c : cases) {
        MemHandle h = shape(c.type, {{0, 0}, {1000, 0}});
        obTreeFlipRotate(h, POINT{0, 0}, 450);
        {
            ObLock r(h);
            EXPECT_EQ(c.made, r->type);
            EXPECT_EQ(0, r->rotation);
            EXPECT_NEAR(707, r->width, 1);
            EXPECT_NEAR(707, r->height, 1);
        }
        obFreeTree(h);
    }
    // A whole turn only clears the rotation.
    MemHandle h = shape(OBT_HLINE, {{0, 0}, {1000, 0}});
    ObLock(h)->rotation = 3000;
    obTreeFlipRotate(h, POINT{0, 0}, 600);
    EXPECT_EQ(OBT_HLINE, obGetType(h));
    EXPECT_EQ(0, ObLock(h)->rotation);
    obFreeTree(h);
}

TEST_F(Points, AVerticalLineRescaledKeepsItsXAndALineHoldsItsArrowhead)
{
    MemHandle v = shape(OBT_LINE, {{500, 0}, {500, 1000}});
    RECT target = {0, 0, 2000, 3000};
    obFitToRect(v, &target);
    std::vector<POINT> pts = pointsOf(v);
    ASSERT_EQ(2u, pts.size());
    EXPECT_EQ(pts[0].x, pts[1].x);
    EXPECT_EQ(3000, pts[1].y - pts[0].y);
    obFreeTree(v);

    MemHandle h = shape(OBT_LINE, {{0, 0}, {1000, 0}}, OBF_END_SYMBOL, {0, 0}, {3, 400}, 40);
    RECT drawn;
    obGetDrawnRect(h, &drawn);
    EXPECT_LE(drawn.top, -153) << "the head's wing";
    EXPECT_GE(drawn.bottom, 153);
    EXPECT_EQ(1020, drawn.right);
    EXPECT_EQ(-20, drawn.left) << "half the pen width";
    obFreeTree(h);
}

TEST_F(Points, CubeEdgesFollowItsPointsAfterRotationAndFlips)
{
    const std::vector<POINT> hex = {{px(10), px(30)}, {px(10), px(60)}, {px(40), px(60)},
                                    {px(60), px(40)}, {px(60), px(10)}, {px(30), px(10)}};
    MemHandle cube = shape(OBT_CUBE, hex);
    obTreeFlipRotate(cube, POINT{px(40), px(40)}, 900);
    obTreeFlipHorizontal(cube, px(40));
    obTreeFlipVertical(cube, px(40));
    std::vector<POINT> p = pointsOf(cube);
    ASSERT_EQ(6u, p.size());
    POINT c = {p[0].x + p[2].x - p[1].x, p[0].y + p[2].y - p[1].y};
    Page page(100, 100);
    page.draw(cube);
    for (int i : {0, 2, 4}) {
        int mx = (c.x + p[(size_t)i].x) / 2 / 15, my = (c.y + p[(size_t)i].y) / 2 / 15;
        EXPECT_GT(dark(page, mx - 1, my - 1, mx + 2, my + 2), 0) << "inner edge to p" << i;
    }
    obFreeTree(cube);
}

TEST_F(Points, AMirroredGradientPolygonHasItsGradientMirroredOnce)
{
    MemHandle poly = shape(OBT_POLYGON, {{0, 0}, {1000, 0}, {500, 800}});
    poly = withGradient(poly, gradient(GRAD_LINEAR, 8, 300, 100));
    obTreeFlipHorizontal(poly, 500);
    {
        ObLock r(poly);
        GradientFillBlock g;
        memcpy(&g, obGetFillData(r.get()), sizeof g);
        EXPECT_EQ(-300, g.dx);
        EXPECT_EQ(100, g.dy);
    }
    obFreeTree(poly);
}

// ---- curves -------------------------------------------------------------------------------------

TEST_F(Points, CurveEndsFollowTheFirstDifferingPoint)
{
    // Three equal first points: the start head points from the fourth.
    MemHandle curve = shape(OBT_BEZIER,
                            {{px(20), px(40)}, {px(20), px(40)}, {px(20), px(40)}, {px(70), px(40)}},
                            OBF_START_SYMBOL, {3, (uint32_t)px(20)});
    Page page(80, 80);
    page.draw(curve);
    EXPECT_GT(page.count(kBlack, RECT{19, 31, 40, 50}), 80);
    EXPECT_EQ(0, page.count(kBlack, RECT{0, 0, 18, 80}));
    obFreeTree(curve);
    MemHandle dot = shape(OBT_BEZIER, {{px(20), px(40)}, {px(20), px(40)}, {px(20), px(40)},
                                       {px(20), px(40)}},
                          OBF_START_SYMBOL | OBF_END_SYMBOL, {3, 200}, {3, 200});
    Page none(80, 80);
    none.draw(dot);
    EXPECT_LE(none.count(kBlack), 1) << "no symbols on a curve of one point";
    obFreeTree(dot);
}

TEST_F(Points, CurvesBakeTheirTurnAndScaleWordsChangeOnlyTheStoredSize)
{
    MemHandle curve = shape(OBT_BEZIER, {{0, 0}, {300, 0}, {600, 0}, {900, 0}});
    obTreeFlipRotate(curve, POINT{450, 0}, 900);
    {
        ObLock r(curve);
        EXPECT_EQ(0, r->rotation);
        EXPECT_NEAR(0, r->width, 2);
        EXPECT_NEAR(900, r->height, 2);
    }
    std::vector<POINT> before = pointsOf(curve);
    ObLock(curve)->scaleX = ObLock(curve)->scaleY = 32767;
    RECT bounds;
    shBezierBounds(curve, &bounds);
    EXPECT_NEAR(900, bounds.bottom - bounds.top, 2) << "the unscaled bounds returned";
    EXPECT_NEAR(449, ObLock(curve)->height, 2) << "the stored height scaled";
    std::vector<POINT> after = pointsOf(curve);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].x, after[i].x) << "the points untouched";
        EXPECT_EQ(before[i].y, after[i].y);
    }
    obFreeTree(curve);
}

TEST_F(Points, VariableStrokesFollowTheirProfile)
{
    ShStrokeProfileEntry profile[2] = {{0.0, 1.0, 0}, {1.0, 3.0, 0}};
    int32_t w = 10;
    EXPECT_TRUE(shStrokeWidthAt(profile, 2, 0.5, 10, &w));
    EXPECT_EQ(20, w);
    EXPECT_FALSE(shStrokeWidthAt(profile, 2, 0.5, 10, &w));
    EXPECT_FALSE(shStrokeWidthAt(nullptr, 0, 0.5, 10, &w));
    EXPECT_EQ(10, w);
    const POINT pts[3] = {{0, 0}, {30, 40}, {30, 100}};
    EXPECT_DOUBLE_EQ(110.0, shStrokeLength(pts, 3));
    RECT r;
    shVariableStrokeBounds(pts, 3, 10, profile, 2, &r);
    EXPECT_EQ(45, r.right) << "the widest end: 30 wide";
    EXPECT_EQ(-5, r.left);
}

}  // namespace
