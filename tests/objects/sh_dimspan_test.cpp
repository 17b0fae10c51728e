// The dimension span: ticks, stretching, mirroring, rotation baked by the
// transforms and never by drawing.
#include "tests/objects/fill_kit.h"
#include "model/ob_transform.h"
#include "objects/sh_dimspan.h"
#include "support/geo_rect.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include <stdlib.h>

using namespace filltest;

namespace {

class Spans : public FillTest {};

// A span between two page points with tick extents m0, m1 and no symbol.
MemHandle span(POINT a, POINT b, int32_t m0, int32_t m1)
{
    MemHandle h = obtest::make(OBT_DIMENSION, 0, 0, 10, 10, kShDimSpanGeometry);
    ObLock r(h);
    uint8_t *d = obRecData(r.get());
    memset(d, 0, kShDimSpanGeometry);
    utPutAt<int16_t>(d, 0, 2);
    POINT p[2] = {{a.x - r->centreX, a.y - r->centreY}, {b.x - r->centreX, b.y - r->centreY}};
    memcpy(d + 2, p, sizeof p);
    utPutAt<int32_t>(d, 18, m0);
    utPutAt<int32_t>(d, 22, m1);
    r->penColour = kBlack;
    r->layer = 1;
    shDimSpanBounds(r.get(), nullptr);
    return h;
}

struct SpanData {
    POINT p[2];   // page points
    int32_t m0, m1;
};

SpanData read(MemHandle h)
{
    ObLock r(h);
    const uint8_t *d = obRecData(r.get());
    SpanData s;
    memcpy(s.p, d + 2, sizeof s.p);
    geoOffsetPoints(s.p, 2, r->centreX, r->centreY);
    s.m0 = utGetAt<int32_t>(d, 18);
    s.m1 = utGetAt<int32_t>(d, 22);
    return s;
}

TEST_F(Spans, TicksRunAcrossTheEndsAndCollapseWithoutADirection)
{
    const POINT pts[2] = {{0, 0}, {1000, 0}};
    POINT t[2];
    shDimSpanTicks(pts, 100, 50, t);
    EXPECT_EQ(1000, t[0].x);
    EXPECT_EQ(100, t[0].y) << "(2 m0 - 1) / 2 towards the normal, rounded";
    EXPECT_EQ(1000, t[1].x);
    EXPECT_EQ(-50, t[1].y);
    shDimSpanStartTick(pts, 100, 50, t);
    EXPECT_EQ(0, t[0].x) << "the same shape at the first point";
    EXPECT_EQ(100, t[0].y);

    // Ends are rounded half away from zero: on the page (positive
    // coordinates) a tick of no extent is at most one unit long.
    const POINT onPage[2] = {{1000, 500}, {3000, 500}};
    shDimSpanTicks(onPage, 0, 0, t);
    EXPECT_LE(abs(t[0].y - t[1].y) + abs(t[0].x - t[1].x), 1) << "at most one unit";
    shDimSpanStartTick(onPage, 0, 0, t);
    EXPECT_LE(abs(t[0].y - t[1].y) + abs(t[0].x - t[1].x), 1) << "at most one unit";

    const POINT same[2] = {{300, 400}, {300, 400}};
    shDimSpanTicks(same, 100, 100, t);
    for (POINT q : t) {
        EXPECT_EQ(300, q.x);
        EXPECT_EQ(400, q.y);
    }

    MemHandle h = span(POINT{0, 0}, POINT{1000, 0}, 100, 50);
    RECT box;
    obGetRect(h, &box);
    EXPECT_EQ(-50, box.top) << "the box holds the ticks";
    EXPECT_EQ(100, box.bottom);
    EXPECT_EQ(86u + 32, obCalcSize(h, 0));
    obFreeTree(h);
}

TEST_F(Spans, StretchingScalesTicksOnlyAcrossTheSpan)
{
    // Ticks of equal extent keep the line on the box's centre line.
    MemHandle h = span(POINT{1000, 2000}, POINT{3000, 2000}, 100, 100);
    POINT c;
    obGetCentre(h, &c);
    h = obTreeScale(h, 1.0, 2.0, c.x, c.y, c.x, c.y);
    SpanData s = read(h);
    // Its box is of odd height (tick ends round half away from zero), so
    // the rescaled box's centre may lie half a unit off, rounded to one.
    EXPECT_LE(labs(2000 - s.p[0].y), 1) << "a horizontal span keeps its y";
    EXPECT_EQ(s.p[0].y, s.p[1].y);
    EXPECT_EQ(200, s.m0) << "and scales its ticks";
    EXPECT_EQ(200, s.m1);

    obGetCentre(h, &c);
    h = obTreeScale(h, 2.0, 1.0, c.x, c.y, c.x, c.y);
    s = read(h);
    EXPECT_EQ(4000, s.p[1].x - s.p[0].x) << "stretched along, its points scale";
    EXPECT_EQ(200, s.m0) << "not its ticks";
    EXPECT_EQ(200, s.m1);
    obFreeTree(h);

    MemHandle v = span(POINT{0, 0}, POINT{0, 1000}, 40, 40);
    obGetCentre(v, &c);
    v = obTreeScale(v, 3.0, 1.0, c.x, c.y, c.x, c.y);
    EXPECT_EQ(120, read(v).m0) << "a vertical span stretched across";
    obFreeTree(v);
}

TEST_F(Spans, AFlippedSpanIsItsMirrorImage)
{
    for (bool horizontal : {true, false}) {
        MemHandle h = span(POINT{1000, 1000}, POINT{3000, 2000}, 300, 100);
        SpanData before = read(h);
        POINT tb[2], ta[2];
        shDimSpanTicks(before.p, before.m0, before.m1, tb);
        horizontal ? obFlipHorizontal(h, 5000) : obFlipVertical(h, 5000);
        SpanData after = read(h);
        shDimSpanTicks(after.p, after.m0, after.m1, ta);
        auto mirror = [&](POINT p) {
            return horizontal ? POINT{10000 - p.x, p.y} : POINT{p.x, 10000 - p.y};
        };
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(mirror(before.p[i]).x, after.p[i].x) << horizontal;
            EXPECT_EQ(mirror(before.p[i]).y, after.p[i].y) << horizontal;
            // The tick's ends swap sides with the normal.
            POINT want = mirror(tb[i]);
            EXPECT_LE(labs(want.x - ta[1 - i].x), 1) << horizontal << " tick end " << i;
            EXPECT_LE(labs(want.y - ta[1 - i].y), 1) << horizontal << " tick end " << i;
        }
        EXPECT_EQ(100, after.m0);
        EXPECT_EQ(300, after.m1);
        obFreeTree(h);
    }
}

TEST_F(Spans, DrawingARotatedSpanLeavesTheRecordAndTransformsBakeIt)
{
    MemHandle h = span(POINT{px(20), px(50)}, POINT{px(80), px(50)}, 150, 150);
    ObLock(h)->rotation = 900;
    std::vector<uint8_t> head = obtest::headOf(h), data = obtest::dataOf(h);
    Page page(100, 100);
    page.draw(h);
    EXPECT_EQ(head, obtest::headOf(h)) << "a paint changed the document";
    EXPECT_EQ(data, obtest::dataOf(h));
    EXPECT_GT(page.in(kBlack, 48, 25, 53, 75), 20) << "drawn upright, turned";
    EXPECT_EQ(0, page.in(kBlack, 10, 46, 40, 54)) << "not along its stored direction";

    POINT c;
    obGetCentre(h, &c);
    h = obTreeScale(h, 1.0, 1.0, c.x, c.y, c.x + 15, c.y);
    EXPECT_EQ(0, ObLock(h)->rotation) << "a rescale bakes the rotation";
    SpanData s = read(h);
    EXPECT_EQ(s.p[0].x, s.p[1].x) << "the span now stands upright";

    ObLock(h)->rotation = 900;
    objFlipRotate(h, c, 900);
    EXPECT_EQ(0, ObLock(h)->rotation) << "a rotation bakes it too";
    s = read(h);
    EXPECT_EQ(s.p[0].x, s.p[1].x) << "two quarter turns: upright again, reversed";
    obFreeTree(h);
}

}  // namespace
