// Colour gradients on real pixels: linear bands, the conical fan and the
// rays, shrinking copies of shapes and outlines, stripes, step counts (0,
// and counts far beyond what is drawn), damaged blocks, clipping to the
// shape, and the direction of a linear gradient's vector.
#include "tests/objects/fill_kit.h"
#include <math.h>

using namespace filltest;

namespace {

class Gradients : public FillTest {};

// F red, B blue; d = (B - F) / (n + 1) per component.
COLORREF mix(int n, int k, bool fromFill)
{
    double d = 255.0 / (n + 1);
    return fromFill ? RGB((int)(255 - k * d), 0, (int)(k * d)) : RGB((int)(k * d), 0, (int)(255 - k * d));
}

MemHandle gradientBox(int16_t type, const GradientFillBlock &g, int l = 10, int t = 10, int r = 190,
                      int b = 190)
{
    return withGradient(box(type, l, t, r, b, FILL_GRADIENT, kRed, kBlue), g);
}

TEST_F(Gradients, AnUpwardVectorDrawsBandsOfFallingHalfHeights)
{
    // Vector (0, -500), 4 steps: half-heights 400, 300, 200 and 100 twips
    // about the centre line, the innermost in the fill colour; and the same
    // in columns for a vector pointing left.
    struct Case {
        int32_t dx, dy;
        bool columns;
    } cases[] = {{0, -500, false}, {0, 500, false}, {-500, 0, true}, {500, 0, true}};
    for (const Case &c : cases) {
        Page page(200, 200);
        MemHandle h = gradientBox(OBT_RECTANGLE, gradient(GRAD_LINEAR, 4, c.dx, c.dy));
        page.draw(h);
        struct Sample {
            int offset;   // pixels from the centre line
            COLORREF colour;
        } samples[] = {{3, kRed}, {10, mix(4, 3, false)}, {16, mix(4, 2, false)},
                       {23, mix(4, 1, false)}, {30, kBlue}, {80, kBlue}};
        for (const Sample &s : samples) {
            for (int side : {-1, 1}) {
                int at = 100 + side * s.offset;
                COLORREF seen = c.columns ? page.pixel(at, 60) : page.pixel(60, at);
                EXPECT_EQ(s.colour, seen) << c.dx << "," << c.dy << " at " << side * s.offset;
            }
        }
        obFreeTree(h);
    }
}

TEST_F(Gradients, ZeroVectorLeavesTheBackgroundAndTheOutline)
{
    Page page(200, 200);
    MemHandle h = gradientBox(OBT_RECTANGLE, gradient(GRAD_LINEAR, 4));
    EXPECT_EQ(0, filGradientAngle(filGetGradient(ObLock(h).get())));
    page.draw(h);
    EXPECT_EQ(179 * 179, page.in(kBlue, 11, 11, 190, 190));
    EXPECT_EQ(181, page.in(kBlack, 10, 190, 191, 191));
    obFreeTree(h);
}

TEST_F(Gradients, SlantedBandsLeaveNoGapInside)
{
    const POINT vectors[] = {{500, -500}, {-500, -100}, {300, 800}, {-700, 200}, {100, -900}};
    for (POINT v : vectors) {
        for (uint32_t flags : {0u, 1u}) {
            Page page(200, 200);
            GradientFillBlock g = gradient(GRAD_LINEAR, 6, v.x, v.y);
            g.flags = flags;
            MemHandle h = gradientBox(OBT_RECTANGLE, g);
            page.draw(h);
            EXPECT_EQ(0, page.in(kWhite, 11, 11, 190, 190)) << v.x << "," << v.y << " " << flags;
            if (flags) {
                EXPECT_EQ(179 * 179, page.in(kRed, 11, 11, 190, 190) + page.in(kBlue, 11, 11, 190, 190))
                    << "stripes are fill and background only";
            } else {
                EXPECT_EQ(kRed, page.pixel(100, 100)) << "the middle band is the fill colour";
            }
            obFreeTree(h);
        }
    }
}

// A point at `degrees` counter-clockwise from the right, r pixels from (100, 100).
POINT polar(double degrees, int r)
{
    double a = degrees * 3.141592654 / 180;
    return POINT{(LONG)(100 + r * cos(a) + 0.5), (LONG)(100 - r * sin(a) + 0.5)};
}

TEST_F(Gradients, AConicalFanOfThreeStepsNeverReachesTheBackgroundColour)
{
    Page page(200, 200);
    MemHandle h = gradientBox(OBT_RECTANGLE, gradient(GRAD_CONICAL, 3));
    page.draw(h);
    const COLORREF f = kRed, fd = RGB(191, 0, 63), f2d = RGB(127, 0, 127);
    struct Sample {
        double degrees;
        COLORREF colour;
    } samples[] = {{20, f}, {100, f}, {140, fd}, {220, fd}, {260, f2d}, {340, f2d}};
    for (const Sample &s : samples) {
        POINT p = polar(s.degrees, 50);
        EXPECT_EQ(s.colour, page.pixel(p.x, p.y)) << s.degrees;
    }
    EXPECT_EQ(0, page.in(kBlue, 11, 11, 190, 190)) << "never the background colour";
    EXPECT_EQ(0, page.in(kWhite, 11, 11, 190, 190));
    obFreeTree(h);
}

TEST_F(Gradients, EightRaysAlternateFromTheStartAngle)
{
    for (int16_t start : {0, 300}) {
        Page page(200, 200);
        MemHandle h = gradientBox(OBT_RECTANGLE, gradient(GRAD_RAYS, 8, 0, 0, start));
        page.draw(h);
        for (int slice = 0; slice < 8; ++slice) {
            POINT p = polar(start / 10.0 + 45 * slice + 22.5, 50);
            EXPECT_EQ(slice % 2 ? kRed : kBlue, page.pixel(p.x, p.y)) << start << " " << slice;
        }
        obFreeTree(h);
    }
}

TEST_F(Gradients, AnOutlineShrinkingToHalfEndsAtFiftyFivePercent)
{
    Page page(200, 200);
    GradientFillBlock g = gradient(GRAD_OUTLINE_SIZE, 10);
    g.endPercent = 50;
    MemHandle h = gradientBox(OBT_RECTANGLE, g);
    page.draw(h);
    // The innermost copy is 1 - 10 x 0.5 / 11 of the box: 49 of 90 pixels.
    EXPECT_EQ(kRed, page.pixel(100 + 46, 100));
    EXPECT_EQ(kRed, page.pixel(100, 100 - 46));
    EXPECT_NE(kRed, page.pixel(100 + 52, 100));
    EXPECT_EQ(kBlue, page.pixel(100 + 89, 100)) << "outside the first copy";
    obFreeTree(h);

    // A damaged percentage is taken as 100: every copy is the outline.
    Page full(200, 200), damaged(200, 200);
    g.endPercent = 100;
    h = gradientBox(OBT_ELLIPSE, g);
    full.draw(h);
    obFreeTree(h);
    g.endPercent = 60000;
    h = gradientBox(OBT_ELLIPSE, g);
    damaged.draw(h);
    EXPECT_EQ(0, full.diff(damaged));
    obFreeTree(h);
}

TEST_F(Gradients, ShapeGradientsShrinkAboutTheirCentreAndStayInsideTheShape)
{
    struct Case {
        int16_t type;
        int16_t angle;
    } cases[] = {{GRAD_CIRCLE, 0}, {GRAD_ELLIPSE, 300}, {GRAD_SQUARE, 0}, {GRAD_RECTANGLE, 450},
                 {GRAD_OUTLINE, 0}};
    for (const Case &c : cases) {
        Page page(200, 200);
        GradientFillBlock g = gradient(c.type, 5, px(100), px(60), c.angle);
        g.offsetX = px(30);
        MemHandle h = gradientBox(OBT_ELLIPSE, g);
        page.draw(h);
        EXPECT_EQ(kRed, page.pixel(130, 100)) << c.type << ": the centre is the fill colour";
        EXPECT_EQ(kWhite, page.pixel(15, 15)) << c.type << ": outside the ellipse";
        EXPECT_EQ(kWhite, page.pixel(185, 185)) << c.type;
        obFreeTree(h);
    }
}

TEST_F(Gradients, StripesUseOnlyTheTwoColours)
{
    Page page(200, 200);
    GradientFillBlock g = gradient(GRAD_CIRCLE, 4, px(80), px(80));
    g.flags = 1;
    MemHandle h = gradientBox(OBT_RECTANGLE, g);
    page.draw(h);
    int red = page.in(kRed, 11, 11, 190, 190), blue = page.in(kBlue, 11, 11, 190, 190);
    EXPECT_GT(red, 1000);
    EXPECT_GT(blue, 1000);
    EXPECT_EQ(179 * 179, red + blue);
    // Copies of radius 64, 48, 32 and 16 pixels: odd steps in the fill
    // colour, even ones in the background colour.
    EXPECT_EQ(kBlue, page.pixel(100, 100));
    EXPECT_EQ(kRed, page.pixel(100 + 24, 100));
    EXPECT_EQ(kBlue, page.pixel(100 + 40, 100));
    EXPECT_EQ(kRed, page.pixel(100 + 56, 100));
    EXPECT_EQ(kBlue, page.pixel(100 + 72, 100));
    obFreeTree(h);
}

TEST_F(Gradients, StepCountsZeroAndBelowMean16AndHugeCountsAreBounded)
{
    GradientFillBlock g = gradient(GRAD_ELLIPSE, 16, px(80), px(50));
    EXPECT_EQ(16, filGradientSteps(&g));
    struct Pair {
        int16_t a, b;
    } pairs[] = {{0, 16}, {-3, 16}, {32767, kFilMaxGradientSteps}, {1000, kFilMaxGradientSteps}};
    for (const Pair &p : pairs) {
        g.steps = p.a;
        EXPECT_EQ(p.b, filGradientSteps(&g)) << p.a;
        for (int16_t type : {GRAD_ELLIPSE, GRAD_LINEAR, GRAD_CONICAL}) {
            Page first(200, 200), second(200, 200);
            GradientFillBlock ga = gradient(type, p.a, px(80), px(-50)), gb = ga;
            gb.steps = p.b;
            MemHandle a = gradientBox(OBT_ELLIPSE, ga), b = gradientBox(OBT_ELLIPSE, gb);
            first.draw(a);
            second.draw(b);
            EXPECT_EQ(0, first.diff(second)) << p.a << " draws as " << p.b << ", type " << type;
            obFreeTree(a);
            obFreeTree(b);
        }
    }
    // One step: a single copy in the fill colour.
    Page page(200, 200);
    MemHandle h = gradientBox(OBT_RECTANGLE, gradient(GRAD_CIRCLE, 1, px(60), px(60)));
    page.draw(h);
    EXPECT_EQ(kRed, page.pixel(100, 100));
    EXPECT_EQ(kRed, page.pixel(100 + 25, 100)) << "the copy is half the circle's size";
    EXPECT_EQ(kBlue, page.pixel(100 + 35, 100));
    obFreeTree(h);
}

TEST_F(Gradients, GradientAndHatchFillsMakeNoPenOfTheShapes)
{
    // Pen, fill and background red, a pen 20 pixels wide: a shape's own pen
    // would spill 10 pixels outside its box.
    struct Case {
        uint8_t kind;
        bool spills;
    } cases[] = {{FILL_SOLID, true}, {FILL_GRADIENT, false}, {FILL_HATCH, false}};
    for (const Case &c : cases) {
        for (int16_t type : {OBT_RECTANGLE, OBT_ELLIPSE, OBT_ROUNDRECT, OBT_DIAMOND}) {
            Page page(100, 100);
            MemHandle h = box(type, 30, 30, 70, 70, c.kind, kRed, kRed);
            if (c.kind == FILL_GRADIENT)
                h = withGradient(h, gradient(GRAD_LINEAR, 4, 0, -200));
            ObLock(h)->penColour = kRed;
            ObLock(h)->penWidth = (int16_t)px(20);
            page.draw(h);
            int outside = page.in(kRed, 0, 0, 100, 28) + page.in(kRed, 0, 0, 28, 100);
            EXPECT_EQ(c.spills, outside > 0) << "fill kind " << (int)c.kind << ", type " << type;
            obFreeTree(h);
        }
    }
}

TEST_F(Gradients, DamagedBlocksPaintOnlyTheOutline)
{
    struct Case {
        const char *what;
        int16_t type;     // 0: no block in the record
    } cases[] = {{"no block", 0}, {"type 0", 0x100}, {"type 10", 10}, {"type -1", -1}};
    for (const Case &c : cases) {
        Page page(60, 60);
        MemHandle h = box(OBT_RECTANGLE, 10, 10, 50, 50, FILL_GRADIENT, kRed, kBlue);
        if (c.type)
            h = withGradient(h, gradient(c.type == 0x100 ? 0 : c.type, 4, 100, 100));
        page.draw(h);
        EXPECT_EQ(39 * 39, page.in(kWhite, 11, 11, 50, 50)) << c.what;
        EXPECT_EQ(41, page.in(kBlack, 10, 50, 51, 51)) << c.what;
        obFreeTree(h);
    }
    // Offsets and extents at the ends of their range draw without harm.
    Page page(60, 60);
    GradientFillBlock g = gradient(GRAD_ELLIPSE, 4, INT32_MAX, INT32_MIN, -32768);
    g.offsetX = INT32_MIN;
    g.offsetY = INT32_MAX;
    MemHandle h = gradientBox(OBT_ELLIPSE, g, 10, 10, 50, 50);
    page.draw(h);
    EXPECT_EQ(kWhite, page.pixel(12, 12));
    obFreeTree(h);
    for (int16_t type : {GRAD_LINEAR, GRAD_CONICAL, GRAD_RAYS, GRAD_SQUARE}) {
        Page p(60, 60);
        GradientFillBlock big = gradient(type, 256, INT32_MAX, INT32_MAX, 1234);
        big.offsetX = INT32_MAX;
        MemHandle b = gradientBox(OBT_RECTANGLE, big, 10, 10, 50, 50);
        p.draw(b);
        EXPECT_EQ(kWhite, p.pixel(5, 5)) << type;
        obFreeTree(b);
    }
}

TEST_F(Gradients, TheVectorsDirectionAndTheDefaultBlock)
{
    struct Case {
        int32_t dx, dy, angle;
    } cases[] = {{0, 0, 0},     {0, -500, 0},  {-500, 0, 900}, {0, 500, 1800},
                 {500, 0, 2700}, {500, -500, 3150}, {-1, -1000, 1}};
    for (const Case &c : cases) {
        GradientFillBlock g = gradient(GRAD_LINEAR, 4, c.dx, c.dy);
        EXPECT_EQ(c.angle, filGradientAngle(&g)) << c.dx << "," << c.dy;
    }
    GradientFillBlock g;
    memset(&g, 0x5A, sizeof g);
    filDefaultGradient(&g);
    EXPECT_EQ(GRAD_CIRCLE, g.type);
    EXPECT_EQ(0, g.spare2);
    EXPECT_EQ(0, g.angle);
    EXPECT_EQ(16, g.steps);
    EXPECT_EQ(0, g.offsetX + g.offsetY + g.dx + g.dy);
    EXPECT_EQ(0x5A5A, g.endPercent) << "the other fields are kept";
    EXPECT_EQ(0x5A5A5A5Au, g.flags);
}

TEST_F(Gradients, TheHandleFormAndTheColourSteps)
{
    MemHandle h = gradientBox(OBT_RECTANGLE, gradient(GRAD_CIRCLE, 3, px(50), px(50)));
    {
        ObLock r(h);
        FilGradColours c;
        GradientFillBlock *g = filGetGradient(r.get());
        ASSERT_NE(nullptr, g);
        g->offsetX = 7;
        filGradColourSteps(r.get(), g, &c);
        EXPECT_EQ(3, c.n);
        EXPECT_EQ(r->centreX + 7, c.centre.x);
        EXPECT_EQ(RGB(191, 0, 63), filGradFromFill(&c, 1));
        EXPECT_EQ(RGB(63, 0, 191), filGradFromBack(&c, 1));
        g->offsetX = 0;
    }
    Page a(200, 200), b(200, 200);
    fillClosedShape(a.dc(), h);
    ObDCModes modes;
    {
        ObLock r(h);
        obSetDCModes(b.dc(), r.get(), &modes);
        fillClosedShape(b.dc(), r.get());
        obRestoreDCModes(b.dc(), &modes);
    }
    EXPECT_EQ(0, a.diff(b));
    EXPECT_EQ(kRed, a.pixel(100, 100));
    fillClosedShape(a.dc(), (MemHandle)0);
    ObLock(h)->fillKind = FILL_SOLID;
    EXPECT_EQ(nullptr, filGetGradient(ObLock(h).get())) << "only fill kind 3 has one";
    obFreeTree(h);
}

}  // namespace
