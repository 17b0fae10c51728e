// Composite objects: the copies each arrangement places, their colour
// steps, scaling and position limits, the box over all copies, drawing and
// shadow on real pixels, the pattern rescaled, turned and mirrored, and
// damaged rules that must not hang a paint.
#include "tests/objects/fill_kit.h"
#include "objects/sh_composite.h"
#include "model/ob_links.h"
#include "model/ob_shadow.h"
#include "model/ob_transform.h"
#include "model/qmf_convert.h"
#include "objects/sh_grid.h"
#include "support/ut_bytes.h"
#include <math.h>

using namespace filltest;

namespace {

class Composites : public FillTest {};

CompositeData rule(int16_t mode, int16_t count, int32_t stepX, int32_t stepY, int16_t rows = 0)
{
    CompositeData d = {};
    d.size = kCpSettingsSize;
    d.mode = mode;
    d.count = count;
    d.stepX = stepX;
    d.stepY = stepY;
    d.rows = rows;
    d.scaleX = d.scaleY = 1.0f;
    return d;
}

// A composite around the source with the rule, its box computed.
MemHandle composite(MemHandle source, const CompositeData &d)
{
    MemHandle h = obtest::make(OBT_COMPOSITE, 0, 0, 100, 100, kCpSettingsSize);
    {
        ObLock r(h);
        memset(obRecData(r.get()), 0, kCpSettingsSize);
        memcpy(obRecData(r.get()), &d, sizeof d);
        r->attached = source;
        r->layer = 1;
    }
    shCompositeUpdateRect(h, nullptr);
    return h;
}

struct Copy {
    POINT centre;
    int32_t width;
    COLORREF fill;
};

// The copies as the composite generates them (at most `limit`).
std::vector<Copy> copies(MemHandle comp, int32_t limit = 100)
{
    std::vector<Copy> out;
    MemHandle source = obGetAttached(comp);
    CompositeData d;
    shCompositeData(ObLock(comp).get(), &d);
    MemHandle work = obCopyTree(source, 0);
    for (int32_t n = 0; n < limit; ++n) {
        if (n > 0 && !shCompositePlaceCopy(source, &work, &d, n))
            break;
        ObLock r(work);
        out.push_back({{r->centreX, r->centreY}, r->width, r->fillColour});
    }
    obFreeTree(work);
    return out;
}

// A red square of 10 pixels centred on the pixel (cx, cy).
MemHandle square(int cx, int cy, COLORREF fill = kRed)
{
    MemHandle s = box(OBT_RECTANGLE, cx - 5, cy - 5, cx + 5, cy + 5, FILL_SOLID, fill);
    ObLock(s)->penColour = fill;
    return s;
}

TEST_F(Composites, EachArrangementPlacesItsCopies)
{
    struct Case {
        const char *what;
        CompositeData d;
        size_t copies;
    } cases[] = {
        {"line of 3", rule(CP_LINE, 3, 1000, 0), 3},
        {"grid 3 x 2", rule(CP_GRID, 3, 600, 600, 2), 6},
        {"grid without rows", rule(CP_GRID, 3, 600, 600, 0), 3},
        {"frame 4 x 3", rule(CP_FRAME, 4, 600, 600, 3), 10},
        {"source only", rule(CP_SOURCE_ONLY, 5, 600, 0), 1},
        {"rotation of 6", rule(CP_ROTATE, 6, 0, 0), 6},
        {"ring of 4", rule(CP_RING, 4, 500, 0), 4},
        {"mirror", rule(CP_MIRROR_H, 9, 300, 0), 2},
        {"quadrants", rule(CP_QUADRANTS, 0, -600, -600), 4},
        {"unknown mode", rule(9, 5, 100, 0), 1},
        {"negative count", rule(CP_LINE, -5, 100, 0), 1},
    };
    for (Case &c : cases) {
        if (c.d.mode == CP_ROTATE || c.d.mode == CP_RING)
            c.d.angleStep = 600;
        if (c.d.mode == CP_QUADRANTS) {
            c.d.dx = -600, c.d.dy = -600, c.d.stepX = 600, c.d.stepY = 600;
        }
        MemHandle h = composite(square(40, 40), c.d);
        EXPECT_EQ(c.copies, copies(h).size()) << c.what;
        obFreeTree(h);
    }

    // The line: three copies 1000 apart, all inside the box.
    MemHandle h = composite(square(40, 40), rule(CP_LINE, 3, 1000, 0));
    std::vector<Copy> v = copies(h);
    ASSERT_EQ(3u, v.size());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(px(40) + 1000 * i, v[i].centre.x);
    RECT r;
    obGetRect(h, &r);
    EXPECT_EQ(px(35), r.left);
    EXPECT_EQ(px(45) + 2000, r.right);
    obFreeTree(h);

    // The grid's second row starts under the first.
    h = composite(square(40, 40), rule(CP_GRID, 3, 600, 900, 2));
    v = copies(h);
    EXPECT_EQ(v[0].centre.x, v[3].centre.x);
    EXPECT_EQ(v[0].centre.y + 900, v[3].centre.y);
    obFreeTree(h);
}

TEST_F(Composites, ColoursStepScalesAndLimits)
{
    CompositeData d = rule(CP_LINE, 20, 100, 0);
    d.fillDelta = 0x000010;
    MemHandle h = composite(square(40, 40, RGB(0xE0, 0x40, 0x80)), d);
    std::vector<Copy> v = copies(h);
    for (size_t n = 0; n < v.size(); ++n) {
        EXPECT_EQ((0xE0 + 16 * n) & 0xFF, GetRValue(v[n].fill)) << n << ": redder, wrapping";
        EXPECT_EQ(0x40, GetGValue(v[n].fill));
        EXPECT_EQ(0x80, GetBValue(v[n].fill));
    }
    obFreeTree(h);

    struct Case {
        float sx, sy;
        bool scaled;
    } scales[] = {{1.0f, 1.0f, false}, {0.0f, 0.5f, false}, {0.5f, 0.0f, false}, {0.5f, 0.5f, true}};
    for (const Case &c : scales) {
        d = rule(CP_LINE, 3, 1000, 0);
        d.scaleX = c.sx;
        d.scaleY = c.sy;
        h = composite(square(40, 40), d);
        v = copies(h);
        ASSERT_EQ(3u, v.size());
        EXPECT_NEAR(c.scaled ? px(10) / 4 : px(10), v[2].width, 2) << c.sx << ", " << c.sy;
        obFreeTree(h);
    }

    // Moves that grow with the scale: 1000, then 500.
    d = rule(CP_LINE, 3, 1000, 0);
    d.scaleX = d.scaleY = 0.5f;
    d.flags = kCpFlagScaleMoves;
    h = composite(square(40, 40), d);
    v = copies(h);
    EXPECT_EQ(500, v[1].centre.x - v[0].centre.x);
    EXPECT_EQ(250, v[2].centre.x - v[1].centre.x);
    obFreeTree(h);

    // A step that carries a copy past x = 32767 ends the pattern; so does a
    // copy growing to 32768 or more.
    h = composite(square(0, 0), rule(CP_LINE, 10, 10000, 0));
    EXPECT_EQ(4u, copies(h).size()) << "0, 10000, 20000, 30000";
    obFreeTree(h);
    d = rule(CP_LINE, 40, 0, 0);
    d.scaleX = d.scaleY = 2.0f;
    h = composite(square(0, 0), d);
    EXPECT_EQ(8u, copies(h).size()) << "150 twips doubled eight times pass 32767";
    obFreeTree(h);
}

TEST_F(Composites, DrawingShadowAndTheBox)
{
    MemHandle h = composite(square(15, 20), rule(CP_LINE, 3, px(30), 0));
    Page page(100, 40);
    page.draw(h);
    for (int x : {15, 45, 75})
        EXPECT_GE(page.in(kRed, x - 3, 17, x + 3, 23), 30) << "copy at " << x;
    EXPECT_EQ(0, page.in(kRed, 25, 10, 35, 30)) << "between the copies";

    // The shadow: grey copies offset by the style, under each copy.
    ShadowStyle style = {(int16_t)px(3), (int16_t)px(3), RGB(0x80, 0x80, 0x80)};
    ShadowStyle old = obSetShadowStyle(&style);
    obSetFlags(h, OBF_SHADOW, TRUE);
    Page shaded(100, 40);
    shaded.draw(h);
    for (int x : {15, 45, 75})
        EXPECT_GE(shaded.in(RGB(0x80, 0x80, 0x80), x + 3, 25, x + 8, 28), 10) << "shadow at " << x;
    EXPECT_EQ(kRed, ObLock(obGetAttached(h))->fillColour) << "the source keeps its colours";
    obSetShadowStyle(&old);

    // A turned composite: its box is symmetric about its centre.
    POINT c;
    obGetCentre(h, &c);
    obTreeFlipRotate(h, c, 300);
    RECT r;
    obGetRect(h, &r);
    EXPECT_EQ(c.x - r.left, r.right - c.x);
    EXPECT_EQ(300, ObLock(h)->rotation);
    obFreeTree(h);
}

TEST_F(Composites, RescaleRotateAndMirrorTheRule)
{
    CompositeData d = rule(CP_LINE, 3, 1000, 0);
    d.dx = 200;
    d.angleStep = 100;
    MemHandle h = composite(square(40, 40), d);
    RECT before;
    obGetRect(h, &before);
    h = obScaleBy(h, 2.0);
    CompositeData now;
    shCompositeData(ObLock(h).get(), &now);
    EXPECT_NEAR(2000, now.stepX, 2);
    EXPECT_NEAR(400, now.dx, 1);
    EXPECT_EQ(0, now.stepY);

    obTreeFlipHorizontal(h, 0);
    shCompositeData(ObLock(h).get(), &now);
    EXPECT_NEAR(-2000, now.stepX, 2);
    EXPECT_EQ(3500, now.angleStep);
    std::vector<Copy> v = copies(h);
    EXPECT_LT(v[1].centre.x, v[0].centre.x) << "the copies now run to the left";

    // Turning moves the source with the centre and adds to the rotation.
    POINT c;
    obGetCentre(h, &c);
    POINT src;
    obGetCentre(obGetAttached(h), &src);
    obTreeFlipRotate(h, POINT{c.x + 1000, c.y}, 1800);
    POINT src2;
    obGetCentre(obGetAttached(h), &src2);
    EXPECT_EQ(1800, ObLock(h)->rotation);
    EXPECT_NEAR(src.x + 2000, src2.x, 2);

    // A box of no size cannot give a factor: the rule keeps its moves.
    {
        ObLock r(h);
        r->width = r->height = 0;
    }
    RECT target = {0, 0, 5000, 5000};
    shCompositeRescale(h, &target);
    shCompositeData(ObLock(h).get(), &now);
    EXPECT_NEAR(-2000, now.stepX, 2);
    obFreeTree(h);
}

TEST_F(Composites, DamagedRulesEndThePaint)
{
    struct Case {
        const char *what;
        CompositeData d;
        uint32_t length;   // the record's length (0: whole)
    } cases[] = {
        {"32767 x 32767 at step 0", rule(CP_GRID, 32767, 0, 0, 32767), 0},
        {"frame 32767 x 32767", rule(CP_FRAME, 32767, 0, 0, 32767), 0},
        {"too short for its rule", rule(CP_LINE, 3, 100, 0), kObHeadSize + 20},
        {"size past the record", rule(CP_LINE, 3, 100, 0), 0},
        {"not a number", rule(CP_RING, 50, 100, 0), 0},
    };
    cases[3].d.size = 0xFFFFFF00u;
    cases[4].d.scaleX = cases[4].d.scaleY = NAN;
    for (const Case &c : cases) {
        MemHandle h = composite(square(40, 40), c.d);
        if (c.length)
            ObLock(h)->length = c.length;
        Page page(100, 80);
        page.draw(h);
        EXPECT_LE(copies(h, 40000).size(), (size_t)kCpMaxCopies) << c.what;
        RECT r;
        objGetVertexBounds(h, &r);
        EXPECT_FALSE(IsRectEmpty(&r)) << c.what;
        EXPECT_LE(obCalcSize(h, 0), ObLock(h).blockSize()) << c.what;
        obFreeTree(h);
    }
    // A composite of composites shares one budget of copies.
    {
        MemHandle inner = composite(square(40, 40), rule(CP_GRID, 32767, 0, 0, 32767));
        MemHandle outer = composite(inner, rule(CP_LINE, 32767, 0, 0));
        Page page(100, 80);
        page.draw(outer);
        RECT r;
        objGetVertexBounds(outer, &r);
        EXPECT_FALSE(IsRectEmpty(&r));
        EXPECT_GE(page.in(kRed, 35, 35, 45, 45), 50) << "the copies are drawn";
        obFreeTree(outer);
    }
    // A composite without a source draws nothing and keeps its box.
    MemHandle h = composite(0, rule(CP_LINE, 3, 100, 0));
    Page page(20, 20);
    page.draw(h);
    obFreeTree(h);
}

TEST_F(Composites, FileRecordsOfTheNewTypesCarryTheirDataUnchanged)
{
    // A grid with a pattern block, a brush line of one stroke, a composite:
    // each stored 14 bytes shorter (the head's links become flags) and read
    // back with the same length and type data.
    MemHandle grid = obtest::make(OBT_GRID, 0, 0, 1440, 720, kShGridDataSize + 24);
    {
        ObLock r(grid);
        r->fillKind = FILL_PATTERN;
        uint8_t *d = obRecData(r.get());
        utPutAt<int32_t>(d, 0, 1440);
        utPutAt<int32_t>(d, 4, 720);
        utPutAt<int16_t>(d, 8, 4);
        utPutAt<int16_t>(d, 10, 2);
    }
    MemHandle brush = obtest::make(OBT_BRUSH_LINE, 0, 0, 100, 100, 12 + 58 + 16);
    {
        ObLock r(brush);
        uint8_t *d = obRecData(r.get());
        memset(d, 0, 12 + 58 + 16);
        utPutAt<uint32_t>(d, 0, 12 + 58 + 16);
        utPutAt<int32_t>(d, 4, 1);
        utPutAt<int32_t>(d, 8, -1);
        utPutAt<uint32_t>(d + 12, 0, 58 + 16);
        utPutAt<uint32_t>(d + 12, 42, 2);
        utPutAt<int32_t>(d + 12, 58 + 8, 500);
    }
    CompositeData d = rule(CP_GRID, 3, 600, 600, 2);
    MemHandle comp = composite(square(40, 40), d);
    for (MemHandle h : {grid, brush, comp}) {
        uint32_t length = obCalcSize(h, 0);
        MemHandle packet = qmfMakeFileRecord(h);
        ASSERT_NE(0u, packet);
        EXPECT_EQ(length - 14, utGetAt<uint32_t>(MemLock<uint8_t>(packet).get(), 0)) << obGetType(h);
        uint16_t flags[7];
        MemHandle back = 0;
        EXPECT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags)) << obGetType(h);
        ASSERT_NE(0u, back);
        EXPECT_EQ(length, ObLock(back)->length) << obGetType(h);
        EXPECT_EQ(obtest::dataOf(h), obtest::dataOf(back)) << obGetType(h);
        EXPECT_EQ(h == comp ? 1 : 0, flags[6]) << "the attached source is flagged";
        utFreeHandle(back);
        utFreeHandle(packet);
        obFreeTree(h);
    }
}

}  // namespace
