// The arrow object (its defaults, angle rules, collapse, baked rotation,
// flip, rescale and pixels) and the arrow-family shape codes.
#include "tests/objects/fill_kit.h"
#include "model/ob_transform.h"
#include "objects/sh_arrow.h"
#include "support/geo_rect.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include <stdlib.h>
#include <algorithm>
#include <vector>

using namespace filltest;

namespace {

class Arrows : public FillTest {
protected:
    void SetUp() override
    {
        FillTest::SetUp();
        obInitArrowDefaults();
    }
};

MemHandle arrow(POINT tail, POINT head)
{
    const POINT ends[2] = {tail, head};
    MemHandle h = obMakeArrowRecord(obtest::make(OBT_ARROW, 0, 0, 10, 10, 0), ends);
    ObLock r(h);
    r->fillKind = FILL_SOLID;
    r->fillColour = kRed;
    r->penColour = kBlack;
    r->layer = 1;
    return h;
}

int32_t dataInt(MemHandle h, uint32_t at) { return utGetAt<int32_t>(obRecData(ObLock(h).get()), at); }
void setDataInt(MemHandle h, uint32_t at, int32_t v) { utPutAt<int32_t>(obRecData(ObLock(h).get()), at, v); }

// The seven outline points in page coordinates.
std::vector<POINT> outline(MemHandle h)
{
    ObLock r(h);
    std::vector<POINT> p(7);
    memcpy(p.data(), obRecData(r.get()) + 38, 56);
    geoOffsetPoints(p.data(), 7, r->centreX, r->centreY);
    return p;
}

TEST_F(Arrows, ANewArrowTakesTheDefaultsWithItsTipOnTheSecondPoint)
{
    MemHandle h = arrow(POINT{1000, 2000}, POINT{3000, 2000});
    EXPECT_EQ(240, dataInt(h, 30));
    EXPECT_EQ(80, dataInt(h, 34));
    EXPECT_EQ(30, dataInt(h, 22));
    EXPECT_EQ(60, dataInt(h, 26));
    std::vector<POINT> p = outline(h);
    EXPECT_EQ(3000, p[0].x);
    EXPECT_EQ(2000, p[0].y);
    EXPECT_EQ(480, abs(p[1].y - p[6].y)) << "a head 24 points wide";
    EXPECT_EQ(160, abs(p[3].y - p[4].y)) << "a shaft 8 points wide";
    POINT axis[2];
    ASSERT_TRUE(shArrowGetAxis(h, axis));
    EXPECT_EQ(1000, axis[0].x);
    EXPECT_EQ(3000, axis[1].x);
    EXPECT_EQ(86u + 94, obCalcSize(h, 0));
    obFreeTree(h);
}

TEST_F(Arrows, AnglesOutOfRangeTakeTheirRules)
{
    struct Case {
        int32_t a, b;        // stored
        int32_t useA, useB;  // what the outline is built from
    } cases[] = {{90, 60, 30, 60}, {30, 0, 30, 90}, {45, 40, 45, 90}, {0, 120, 30, 90},
                 {20, 30, 20, 30}};
    for (const Case &c : cases) {
        MemHandle given = arrow(POINT{0, 0}, POINT{2000, 600});
        MemHandle plain = arrow(POINT{0, 0}, POINT{2000, 600});
        setDataInt(given, 22, c.a);
        setDataInt(given, 26, c.b);
        setDataInt(plain, 22, c.useA);
        setDataInt(plain, 26, c.useB);
        shArrowOutline(ObLock(given).get());
        shArrowOutline(ObLock(plain).get());
        std::vector<POINT> p = outline(given), q = outline(plain);
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(q[i].x, p[i].x) << c.a << "/" << c.b << " point " << i;
            EXPECT_EQ(q[i].y, p[i].y) << c.a << "/" << c.b << " point " << i;
        }
        obFreeTree(given);
        obFreeTree(plain);
    }
}

TEST_F(Arrows, EqualAxisPointsCollapseTheOutlineAndBadWidthsKeepIt)
{
    MemHandle h = arrow(POINT{500, 700}, POINT{500, 700});
    for (POINT p : outline(h)) {
        EXPECT_EQ(500, p.x);
        EXPECT_EQ(700, p.y);
    }
    obFreeTree(h);

    MemHandle k = arrow(POINT{0, 0}, POINT{2000, 0});
    std::vector<uint8_t> before = obtest::dataOf(k);
    setDataInt(k, 34, 0);
    const POINT moved[2] = {{0, 0}, {0, 2000}};
    obSetArrowEnds(k, moved);
    std::vector<uint8_t> after = obtest::dataOf(k);
    EXPECT_TRUE(std::equal(before.begin() + 38, before.begin() + 94, after.begin() + 38))
        << "a shaft of no width keeps the last outline";
    obFreeTree(k);
}

TEST_F(Arrows, RotationIsBakedIntoTheAxis)
{
    MemHandle h = arrow(POINT{0, 0}, POINT{2000, 0});
    obTreeFlipRotate(h, POINT{1000, 0}, 900);
    EXPECT_EQ(0, ObLock(h)->rotation);
    POINT axis[2];
    shArrowGetAxis(h, axis);
    // A quarter turn counter-clockwise about the midpoint: the tip points up.
    EXPECT_EQ(1000, axis[1].x);
    EXPECT_EQ(-1000, axis[1].y);
    EXPECT_EQ(1000, axis[0].x);
    EXPECT_EQ(1000, axis[0].y);
    std::vector<POINT> p = outline(h);
    EXPECT_EQ(1000, p[0].x);
    EXPECT_EQ(-1000, p[0].y);
    RECT box;
    obGetRect(h, &box);
    EXPECT_EQ(0, box.right - box.left) << "the box is the axis box";
    EXPECT_EQ(2000, box.bottom - box.top);

    // A stored rotation read from a file is baked by a whole turn.
    ObLock(h)->rotation = 900;
    objFlipRotate(h, POINT{1000, 0}, 2700);
    EXPECT_EQ(0, ObLock(h)->rotation);
    shArrowGetAxis(h, axis);
    EXPECT_EQ(-1000, axis[1].y) << "a whole turn moves nothing";
    obFreeTree(h);
}

TEST_F(Arrows, FlipReversesAHorizontalArrowAndRescaleScalesItsWidths)
{
    MemHandle f = arrow(POINT{0, 0}, POINT{2000, 0});
    obFlipHorizontal(f, 1000);
    POINT axis[2];
    shArrowGetAxis(f, axis);
    EXPECT_EQ(2000, axis[0].x);
    EXPECT_EQ(0, axis[1].x) << "the tip now on the left";
    EXPECT_EQ(0, outline(f)[0].x);
    obFreeTree(f);

    MemHandle h = arrow(POINT{0, 0}, POINT{2000, 1000});
    MemHandle g = obNewGroup(OBT_GROUP, h, obtest::make(OBT_RECTANGLE, 0, -500, 2000, 1500),
                             (MemHandle)0);
    RECT box;
    obGetRect(g, &box);
    g = obFitToRect(g, &box);   // nothing changes
    RECT twice = {box.left, box.top, box.left + 2 * (box.right - box.left),
                  box.top + 3 * (box.bottom - box.top)};
    g = obFitToRect(g, &twice);
    EXPECT_EQ(600, dataInt(h, 30)) << "240 times the mean of 2 and 3";
    EXPECT_EQ(200, dataInt(h, 34));
    shArrowGetAxis(h, axis);
    EXPECT_EQ(4000, abs(axis[0].x - axis[1].x));
    obFreeTree(g);
}

TEST_F(Arrows, DrawsFilledWithItsOutlineInTheDrawnRectangle)
{
    MemHandle h = arrow(POINT{px(10), px(50)}, POINT{px(90), px(50)});
    Page page(100, 100);
    page.draw(h);
    EXPECT_EQ(kRed, page.pixel(30, 50)) << "the shaft is filled";
    EXPECT_EQ(kWhite, page.pixel(30, 40)) << "beside the shaft";
    EXPECT_GT(page.in(kBlack, 86, 45, 92, 55), 0) << "the tip is outlined";
    EXPECT_EQ(kWhite, page.pixel(5, 50)) << "nothing behind the tail";
    RECT drawn;
    obRecGetDrawnRect(ObLock(h).get(), &drawn);
    EXPECT_EQ(px(50) - 240, drawn.top) << "the head's width is in the drawn rectangle";
    obFreeTree(h);
}

// ---- shape codes ----------------------------------------------------------------------------

struct Made {
    int16_t type = 0;
    std::vector<POINT> pts;
};
Made g_made;

MemHandle recordingFactory(MemHandle h, int16_t type, const POINT *pts, uint16_t n)
{
    g_made.type = type;
    g_made.pts.assign(pts, pts + n);
    return h ? h : obtest::make(type);
}

TEST_F(Arrows, ShapeCodesGiveTheirPoints)
{
    const RECT r = {0, 0, 1000, 600};
    struct Case {
        int16_t code;
        int16_t count;
    } cases[] = {{13, 4},  {400, 7},  {401, 7},  {405, 3},  {406, 12}, {407, 4},
                 {408, 34}, {409, 10}, {410, 10}, {421, 12}, {422, 12}, {431, 7},
                 {432, 7},  {441, 7},  {442, 7},  {480, 3},  {481, 3},  {402, 0},
                 {403, 0},  {404, 0},  {999, 0}};
    for (const Case &c : cases) {
        POINT pts[kShShapeCodeMaxPoints];
        int16_t n = -1;
        EXPECT_EQ(c.count ? 1 : 0, shArrowShapePoints(&r, c.code, pts, &n)) << c.code;
        EXPECT_EQ(c.count, n) << c.code;
    }
    POINT p[kShShapeCodeMaxPoints];
    int16_t n;
    shArrowShapePoints(&r, 400, p, &n);
    const POINT want[7] = {{1000, 300}, {600, 0},   {600, 150}, {0, 150},
                           {0, 450},    {600, 450}, {600, 600}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(want[i].x, p[i].x) << i;
        EXPECT_EQ(want[i].y, p[i].y) << i;
    }
    shArrowShapePoints(&r, 408, p, &n);
    for (int i = 17; i < 20; ++i) {
        EXPECT_EQ(1000 - 1000 / 3, p[i].x) << "the pointer leaves the body";
        EXPECT_EQ(480, p[i].y);
    }
    EXPECT_EQ(875, p[20].x) << "the pointer's tip";
    EXPECT_EQ(600, p[20].y);

    for (int16_t code : {400, 401, 405, 406, 407, 409, 410, 421, 422, 431, 432, 441, 442, 480, 481})
        EXPECT_EQ(1, shIsArrowShapeCode(code)) << code;
    for (int16_t code : {13, 402, 403, 404, 408, 423, 433, 443})
        EXPECT_EQ(0, shIsArrowShapeCode(code)) << code;
}

TEST_F(Arrows, ShapeCodesMakePolygonsAndTheCalloutACurve)
{
    const RECT r = {0, 0, 1000, 600};
    shSetObjectFactory(nullptr);
    EXPECT_EQ(0u, shCreateFromShapeCode(0, &r, 400)) << "no factory";
    shSetObjectFactory(recordingFactory);
    MemHandle h = shCreateFromShapeCode(0, &r, 408);
    EXPECT_EQ(OBT_CLOSED_CURVE, g_made.type);
    EXPECT_EQ(34u, g_made.pts.size());
    obFreeTree(h);
    h = shCreateFromShapeCode(0, &r, 406);
    EXPECT_EQ(OBT_POLYGON, g_made.type);
    EXPECT_EQ(12u, g_made.pts.size());
    obFreeTree(h);
    g_made = Made();
    EXPECT_EQ(0u, shCreateFromShapeCode(0, &r, 402));
    EXPECT_EQ(0, g_made.type) << "an unknown code makes nothing";
    shSetObjectFactory(nullptr);

    Page page(100, 100);
    const RECT box = {px(10), px(10), px(90), px(70)};
    HGDIOBJ brush = SelectObject(page.dc(), GetStockObject(BLACK_BRUSH));
    shDrawShapeCode(page.dc(), &box, 400);
    SelectObject(page.dc(), brush);
    EXPECT_EQ(kBlack, page.pixel(30, 40)) << "the shaft";
    EXPECT_EQ(kWhite, page.pixel(30, 15)) << "above the shaft";
    EXPECT_EQ(kBlack, page.pixel(62, 20)) << "the head";
    g_made = Made();
}

}  // namespace
