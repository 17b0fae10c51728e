// Brush lines: the built-in profiles, the dialogs' kind list, bounds,
// rescale, rotation and flips of the strokes, a swelling stroke on real
// pixels, and damaged strokes that must end the walk.
#include "tests/objects/fill_kit.h"
#include "objects/sh_brush.h"
#include "model/ob_transform.h"
#include "support/ut_bytes.h"
#include <math.h>

using namespace filltest;

namespace {

class Brushes : public FillTest {};

struct StrokeSpec {
    int32_t width;
    uint32_t kind;
    uint32_t samples;
    std::vector<POINT> points;   // relative to the centre
    uint32_t flags = 0;
};

// The bytes of one stroke as the brush line tool makes it.
std::vector<uint8_t> strokeBytes(const StrokeSpec &s)
{
    std::vector<uint8_t> b(kBrsStrokeHead + 8 * s.points.size(), 0);
    utPutAt<uint32_t>(b.data(), BRS_SIZE, (uint32_t)b.size());
    utPutAt<uint32_t>(b.data(), BRS_FLAGS, s.flags);
    utPutAt<uint32_t>(b.data(), BRS_COLOUR, kBlack);
    utPutAt<uint32_t>(b.data(), BRS_CENTRE_COLOUR, kRed);
    utPutAt<int32_t>(b.data(), BRS_WIDTH, s.width);
    utPutAt<uint32_t>(b.data(), BRS_KIND, s.kind);
    utPutAt<uint32_t>(b.data(), BRS_SAMPLES, s.samples);
    utPutAt<uint32_t>(b.data(), BRS_POINTS, (uint32_t)s.points.size());
    if (!s.points.empty())
        memcpy(b.data() + kBrsStrokeHead, s.points.data(), 8 * s.points.size());
    return b;
}

// A brush line centred on (cx, cy) (twips) with the strokes, its bounds
// computed.
MemHandle brushLine(int32_t cx, int32_t cy, const std::vector<std::vector<uint8_t>> &strokes,
                    int32_t selected = -1)
{
    std::vector<uint8_t> data(kBrsHeadSize, 0);
    for (const auto &s : strokes)
        data.insert(data.end(), s.begin(), s.end());
    utPutAt<uint32_t>(data.data(), 0, (uint32_t)data.size());
    utPutAt<int32_t>(data.data(), 4, (int32_t)strokes.size());
    utPutAt<int32_t>(data.data(), 8, selected);
    MemHandle h = obtest::make(OBT_BRUSH_LINE, cx, cy, cx, cy, (uint32_t)data.size());
    ObLock r(h);
    memcpy(obRecData(r.get()), data.data(), data.size());
    r->layer = 1;
    r->centreX = cx;
    r->centreY = cy;
    return h;
}

// A straight poly-Bezier of one segment from a to b.
std::vector<POINT> straight(POINT a, POINT b)
{
    return {a, {a.x + (b.x - a.x) / 3, a.y + (b.y - a.y) / 3},
            {a.x + 2 * (b.x - a.x) / 3, a.y + 2 * (b.y - a.y) / 3}, b};
}

std::vector<POINT> pointsOf(MemHandle h, int stroke)
{
    ObLock r(h);
    std::vector<BrsStroke> all = brsStrokes(r.get());
    return stroke < (int)all.size() ? brsStrokePoints(all[stroke]) : std::vector<POINT>{};
}

int32_t widthOf(MemHandle h, int stroke)
{
    ObLock r(h);
    return brsStrokes(r.get())[stroke].width;
}

std::vector<double> profile(uint32_t kind, uint32_t samples)
{
    std::vector<ShStrokeProfileEntry> p;
    brsBuildProfile(kind, samples, p);
    std::vector<double> w;
    for (const auto &e : p)
        w.push_back(e.factor);
    return w;
}

TEST(BrushProfiles, BuiltInShapesAndTheDialogsKindList)
{
    std::vector<double> rising = profile(1, 17);
    ASSERT_EQ(17u, rising.size());
    for (int i = 0; i < 17; ++i)
        EXPECT_DOUBLE_EQ(i / 16.0, rising[i]) << i;
    std::vector<double> taper = profile(7, 17);
    ASSERT_EQ(17u, taper.size());
    for (int i = 0; i < 17; ++i)
        EXPECT_DOUBLE_EQ(i < 8 ? 1.0 : 1.0 - (i - 8) / 8.0, taper[i]) << i;
    EXPECT_EQ(17u, profile(1, 0).size()) << "no samples means 17";
    EXPECT_EQ(17u, profile(10, 1).size());
    EXPECT_EQ(kBrsMaxSamples, profile(2, 1u << 31).size()) << "samples are capped";
    EXPECT_TRUE(profile(0, 17).empty()) << "kind 0 has none";
    EXPECT_TRUE(profile(6, 17).empty()) << "a kind outside the table has none";

    // Every kind at the smallest sample counts gives finite widths in 0..1.
    for (uint32_t kind : {1u, 2u, 3u, 4u, 5u, 7u, 8u, 9u, 10u, 11u, 12u, 13u, 14u, 15u, 16u, 17u,
                          20u, 21u, 30u, 31u, 32u, 33u, 91u})
        for (uint32_t n : {2u, 3u, 17u}) {
            std::vector<ShStrokeProfileEntry> p;
            ASSERT_TRUE(brsBuildProfile(kind, n, p)) << kind;
            for (const auto &e : p) {
                EXPECT_TRUE(isfinite(e.factor) && e.factor >= 0 && e.factor <= 1.0)
                    << "kind " << kind << " n " << n;
                EXPECT_TRUE(e.position >= 0 && e.position <= 1.0);
            }
        }
    std::vector<double> swell = profile(10, 17);
    EXPECT_DOUBLE_EQ(0.0, swell[0]);
    EXPECT_DOUBLE_EQ(1.0, swell[8]);
    EXPECT_NEAR(0.0, swell[16], 1e-9);

    EXPECT_EQ(21, brsKindCount());
    const int32_t index[][2] = {{0, 0}, {20, 17}, {21, 18}, {31, 20}, {6, -1}, {91, -1}};
    for (const auto &c : index)
        EXPECT_EQ(c[1], brsKindIndex(c[0])) << "index of kind " << c[0];
    const int32_t at[][2] = {{0, 0}, {17, 20}, {20, 31}, {6, 7}, {21, 0}, {-1, 0}};
    for (const auto &c : at)
        EXPECT_EQ(c[1], brsKindAt(c[0])) << "kind at " << c[0];
}

TEST_F(Brushes, BoundsRescaleAndTheirWidths)
{
    MemHandle empty = brushLine(5000, 5000, {});
    RECT r;
    EXPECT_TRUE(objGetVertexBounds(empty, &r));
    EXPECT_TRUE(IsRectEmpty(&r));
    EXPECT_EQ(0, obGetWidth(empty));
    POINT c;
    obGetCentre(empty, &c);
    EXPECT_EQ(0, c.x) << "no strokes: a zero box";
    obFreeTree(empty);

    MemHandle h = brushLine(3000, 3000, {strokeBytes({10, 0, 17, straight({-1000, 0}, {1000, 0})}),
                                         strokeBytes({1, 0, 17, straight({0, -500}, {0, 500})})});
    objGetVertexBounds(h, &r);
    EXPECT_NEAR(2010, r.right - r.left, 2);
    EXPECT_NEAR(3000, (r.left + r.right) / 2, 1);
    // Twice as wide and as high as before: widths grow by (2 + 1) / 2.
    obTreeScale(h, 2.0, 1.0, 3000, 3000, 3000, 3000);
    EXPECT_EQ(15, widthOf(h, 0));
    EXPECT_EQ(2, widthOf(h, 1)) << "1 x 1.5 rounds to 2";
    EXPECT_EQ(-2000, pointsOf(h, 0)[0].x);
    obTreeScale(h, 0.1, 0.1, 3000, 3000, 3000, 3000);
    EXPECT_NEAR(1.5, widthOf(h, 0), 0.5) << "15 x about 0.1";
    EXPECT_EQ(1, widthOf(h, 1)) << "a width of 1 shrunk tenfold stays 1";
    obFreeTree(h);
}

TEST_F(Brushes, RotationAndFlipsMoveEveryStroke)
{
    // Three strokes, the second selected for editing: a flip still mirrors
    // all three.
    MemHandle h = brushLine(0, 0,
                            {strokeBytes({1, 0, 17, straight({100, 10}, {400, 10})}),
                             strokeBytes({1, 0, 17, straight({200, 20}, {500, 20})}),
                             strokeBytes({1, 0, 17, straight({300, 30}, {600, 30})})},
                            1);
    RECT box;
    objGetVertexBounds(h, &box);   // centred on its strokes
    std::vector<std::vector<POINT>> before = {pointsOf(h, 0), pointsOf(h, 1), pointsOf(h, 2)};
    POINT c;
    obGetCentre(h, &c);
    obFlipHorizontal(h, c.x);
    for (int s = 0; s < 3; ++s)
        for (size_t i = 0; i < before[s].size(); ++i) {
            EXPECT_EQ(-before[s][i].x, pointsOf(h, s)[i].x) << "stroke " << s;
            EXPECT_EQ(before[s][i].y, pointsOf(h, s)[i].y);
        }
    obFlipVertical(h, c.y);
    EXPECT_EQ(-before[2][3].y, pointsOf(h, 2)[3].y);

    // A quarter turn about the centre: the strokes stand upright, the head
    // keeps rotation 0 and swaps its sides.
    int32_t w = obGetWidth(h), ht = obGetHeight(h);
    obTreeFlipRotate(h, c, 900);
    EXPECT_EQ(0, ObLock(h)->rotation);
    EXPECT_NEAR(ht, obGetWidth(h), 2);
    EXPECT_NEAR(w, obGetHeight(h), 2);
    std::vector<POINT> turned = pointsOf(h, 0);
    EXPECT_EQ(turned[0].x, turned[3].x) << "a horizontal stroke turned upright";
    obFreeTree(h);
}

TEST_F(Brushes, ASwellingStrokeIsWiderInTheMiddleAndACentreLineShows)
{
    // 80 pixels long, 20 pixels wide at most, across the middle of the page.
    MemHandle h = brushLine(px(50), px(30),
                            {strokeBytes({px(20), 10, 17, straight({px(-40), 0}, {px(40), 0}), 1})});
    Page page(100, 60);
    page.draw(h);
    auto thickness = [&](int x) {
        return page.in(kBlack, x, 0, x + 1, 60) + page.in(kRed, x, 0, x + 1, 60);
    };
    EXPECT_GE(thickness(50), 16) << "full width in the middle";
    EXPECT_LE(thickness(13), 6) << "thin near the start";
    EXPECT_LE(thickness(87), 6) << "thin near the end";
    EXPECT_GE(page.in(kRed, 20, 29, 80, 32), 50) << "the centre line";
    obFreeTree(h);
}

TEST_F(Brushes, DamagedStrokesEndTheWalk)
{
    auto good = strokeBytes({20, 1, 17, straight({0, 0}, {900, 0})});
    auto zeroSize = good;
    utPutAt<uint32_t>(zeroSize.data(), BRS_SIZE, 0);
    auto tooManyPoints = good;
    utPutAt<uint32_t>(tooManyPoints.data(), BRS_POINTS, 5);
    auto hugePoints = good;
    utPutAt<uint32_t>(hugePoints.data(), BRS_POINTS, 0x20000000);
    auto inlineShort = good;
    utPutAt<uint32_t>(inlineShort.data(), BRS_KIND, kBrsInlineProfile);
    utPutAt<uint32_t>(inlineShort.data(), BRS_SAMPLES, 3);   // no profile bytes at all
    auto pastData = good;
    utPutAt<uint32_t>(pastData.data(), BRS_SIZE, 4000);
    auto hugeSamples = good;
    utPutAt<uint32_t>(hugeSamples.data(), BRS_SAMPLES, 0xFFFFFFFF);

    struct Case {
        const char *what;
        std::vector<uint8_t> bad;
        int strokes;   // strokes the walk accepts before the damaged one ends it
    } cases[] = {
        {"size 0", zeroSize, 1},           {"points past the stroke", tooManyPoints, 1},
        {"huge point count", hugePoints, 1}, {"inline samples past it", inlineShort, 1},
        {"size past the data", pastData, 1}, {"huge sample count (capped)", hugeSamples, 3},
    };
    for (const Case &c : cases) {
        MemHandle h = brushLine(px(50), px(30), {good, c.bad, good});
        EXPECT_EQ(c.strokes, shBrushLineStrokeCount(h)) << c.what;
        Page page(100, 60);
        page.draw(h);
        RECT r;
        objGetVertexBounds(h, &r);
        EXPECT_FALSE(IsRectEmpty(&r)) << c.what << ": the good stroke counts";
        obTreeScale(h, 2.0, 2.0, 0, 0, 0, 0);
        obFlipHorizontal(h, 0);
        obTreeFlipRotate(h, POINT{0, 0}, 450);
        EXPECT_EQ(nullptr, shBrushLineGetStroke(h, c.strokes)) << c.what;
        obFreeTree(h);
    }
    // A stated count far above the strokes held, and a type data size past
    // the record.
    MemHandle h = brushLine(0, 0, {good});
    {
        ObLock r(h);
        utPutAt<int32_t>(obRecData(r.get()), 4, INT32_MAX);
        utPutAt<uint32_t>(obRecData(r.get()), 0, 0xFFFFFFF0u);
    }
    EXPECT_EQ(1, shBrushLineStrokeCount(h));
    EXPECT_EQ(ObLock(h)->length, obCalcSize(h, 0)) << "a size past the record keeps its length";
    uint8_t *s = shBrushLineGetStroke(h, 0);
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(good.size(), utGetAt<uint32_t>(s, 0));
    utUnlock(h);
    obFreeTree(h);
}

}  // namespace
