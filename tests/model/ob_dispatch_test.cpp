// Object types: display names, type sets, tree queries and the dispatchers'
// defaults and in-house cases.
#include "tests/model/ob_kit.h"
#include "model/ob_draw.h"
#include "model/ob_transform.h"
#include "model/pg_page.h"
#include "support/dm_map.h"
#include "support/ut_msg.h"

using namespace obtest;

namespace {

class ObDispatch : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(0, live_.leaked()) << "memory handle leaked"; }
    LiveCount live_;
};

// ---- names ---------------------------------------------------------------------------------

TEST_F(ObDispatch, TypeNamesComeFromTheStringTableWithAliases)
{
    struct Case {
        int16_t type;
        const char *name;
    };
    const Case cases[] = {
        {2, "Line"},       {3, "Line"},          {25, "Polygon"},       {471, "Round Rect"},
        {470, "Round Rect"}, {-40, "Vertical Text"}, {18, "Bezier (Curve)"}, {116, "Entry Reference"},
        {500, "Composite"}, {85, "Composite"},    {414, "Horz Rule"},    {402, "Arrow"},
        {100, ""},         {1000, ""},            {1006, ""},            {421, ""},
        {51, ""},          {0, ""},
        // Negative codes other than -40 have no entry (1000 + code would
        // reach unrelated strings such as 600, "Unexpected end of file").
        {-400, ""},        {-1000, ""},
    };
    for (const Case &c : cases) {
        char buf[kObMaxNameBytes] = "junk";
        EXPECT_EQ(c.name[0] ? 1 : 0, obGetTypeName(c.type, buf)) << c.type;
        EXPECT_STREQ(c.name, buf) << c.type;
    }
}

TEST_F(ObDispatch, LoadStringGivesAHandleOrNothing)
{
    MemHandle h = obLoadString(nullptr, 1007);
    ASSERT_NE(0u, h);
    {
        MemLock<char> p(h);
        EXPECT_STREQ("Rectangle", p.get());
    }
    utFreeHandle(h);
    EXPECT_EQ(0u, obLoadString(nullptr, 1100));
}

// ---- type sets and per-object tests --------------------------------------------------------

TEST_F(ObDispatch, TypeSetsHoldTheirMembers)
{
    struct Case {
        BOOL (*set)(int16_t);
        const char *name;
        std::vector<int16_t> in, out;
    };
    const Case cases[] = {
        {obIsLineType, "line", {2, 3, 4, 5, 14, 17, 18, 22}, {6, 15, 19, 26}},
        {obHasFill, "fill", {6, 7, 8, 9, 10, 11, 13, 15, 19, 36, 402, 35, 65, 491, 802, 803},
         {12, 14, 40, 41}},
        {obCanHaveFill, "can fill", {41, 42, 45, 51, 52, 54, 96, 116, 124, 138, 210, 134, 137, 7},
         {40, 43, 60, 80}},
        {obIsChart, "chart", {134, 135, 136, 137}, {133, 138}},
        {obIsEntryField, "entry", {41, 42, 124}, {43, 96}},
        {obIsFieldType, "field", {41, 42, 43, 44, 45, 54, 57, 58, 96, 124}, {51, 116, 40}},
        {obIsFieldOrText, "field or text", {40, 51, 116, 138, 210, 297}, {52, 60}},
        {obIsKnownType, "known", {2, 4, 19, 36, 39, 88, 90, 140, 303, 1001, 26, 1006, 800},
         {3, 16, 20, 700}},
        {obIsEditableTypeExt, "editable", {26, 31, 35, 39, 59, 134, 199, 414, 492}, {52, 78}},
    };
    for (const Case &c : cases) {
        for (int16_t t : c.in)
            EXPECT_TRUE(c.set(t)) << c.name << " " << t;
        for (int16_t t : c.out)
            EXPECT_FALSE(c.set(t)) << c.name << " " << t;
    }
}

TEST_F(ObDispatch, RotationIsRefusedByTypeAndByFlag)
{
    struct Case {
        int16_t type;
        uint32_t flags;
        BOOL can;
    };
    const Case cases[] = {{7, 0, TRUE},   {7, OBF_NO_ROTATE, FALSE}, {41, 0, FALSE},
                          {135, 0, FALSE}, {60, 0, FALSE},          {402, 0, TRUE}};
    for (const Case &c : cases) {
        MemHandle h = make(c.type);
        obSetFlags(h, c.flags, TRUE);
        EXPECT_EQ(c.can, obCanRotate(h)) << c.type;
        obFreeTree(h);
    }
    EXPECT_FALSE(obCanRotate(0));
}

TEST_F(ObDispatch, SingleLineFieldsByTypeAndStyleBit)
{
    MemHandle eq = make(OBT_EQUATION);
    MemHandle one = make(OBT_ENTRY, 0, 0, 10, 10, 80);
    MemHandle multi = make(OBT_LIST_FIELD, 0, 0, 10, 10, 80);
    MemHandle shortData = make(OBT_ENTRY, 0, 0, 10, 10, 40);
    {
        ObLock r(one);
        obRecData(r.get())[76] = 0xFE;   // bit 0 clear
    }
    {
        ObLock r(multi);
        obRecData(r.get())[76] = 1;
    }
    EXPECT_TRUE(obIsSingleLineField(eq));
    EXPECT_TRUE(obIsSingleLineField(one));
    EXPECT_FALSE(obIsSingleLineField(multi));
    EXPECT_FALSE(obIsSingleLineField(shortData)) << "no style word to read";
    EXPECT_FALSE(obIsSingleLineField(0));

    MemHandle g = obNewGroup(OBT_GROUP, make(), multi, 0);
    EXPECT_FALSE(obTreeHasSingleLineField(g));
    obSetAttached(multi, one);
    EXPECT_TRUE(obTreeHasSingleLineField(g));
    obFreeTree(g);
    obFreeTree(eq);
    obFreeTree(shortData);
}

TEST_F(ObDispatch, TreeQueriesSeeMembersAndAttachedObjects)
{
    MemHandle line = make(OBT_POLYLINE), rect = make(OBT_RECTANGLE);
    MemHandle g = obNewGroup(OBT_GROUP, line, rect, 0);
    EXPECT_TRUE(obTreeHasType(g, OBT_RECTANGLE));
    EXPECT_FALSE(obTreeHasType(g, OBT_TEXT));
    EXPECT_TRUE(obTreeHasLine(g));
    EXPECT_TRUE(obTreeHasClosedShape(g));
    EXPECT_FALSE(obTreeHasField(g));
    EXPECT_TRUE(obTreeIsGraphicOnly(g));
    EXPECT_FALSE(obTreeHasBitmapOrPattern(g));

    ObLock(rect)->fillKind = 2;
    EXPECT_TRUE(obTreeHasBitmapOrPattern(g));
    obSetAttached(rect, make(OBT_CHECKBOX));
    EXPECT_TRUE(obTreeHasField(g));
    EXPECT_FALSE(obTreeIsGraphicOnly(g));
    EXPECT_FALSE(obTreeIsGraphicOnly(0));
    EXPECT_FALSE(obTreeHasType(0, 0));
    obFreeTree(g);

    MemHandle label = obNewGroup(OBT_CHAIN, make(OBT_LABEL), 0);
    EXPECT_FALSE(obTreeIsGraphicOnly(label));
    obFreeTree(label);
}

// ---- dispatchers -------------------------------------------------------------------------------

// A record no module serves: size head + name, nothing drawn, box rescaled,
// the box's corners as points and the box as bounds.
TEST_F(ObDispatch, UnservedTypeTakesTheDefaults)
{
    MemHandle h = obSetName(make(700, 100, 200, 300, 600, 40), "x");
    EXPECT_EQ(86u + 2, obCalcSize(h, 0));
    EXPECT_EQ(88u, ObLock(h)->length);
    EXPECT_EQ(99u, obCalcSize(0, 99));
    EXPECT_EQ(88u + 5, objRecordSize(ObLock(h).get(), 5));

    qmtest::Dib dib(64, 64);
    obRecDraw(dib.dc(), ObLock(h).get());
    EXPECT_EQ(64 * 64, dib.count(RGB(255, 255, 255)));

    objScale(h, 2.0, 0.5, 0, 0, 10, 20);
    RECT box;
    obGetRect(h, &box);
    EXPECT_EQ(210, box.left);
    EXPECT_EQ(120, box.top);
    EXPECT_EQ(610, box.right);
    EXPECT_EQ(320, box.bottom);

    int16_t n = 0;
    MemHandle pts = objGetPoints(ObLock(h).get(), &n);
    ASSERT_EQ(4, n);
    {
        MemLock<POINT> p(pts);
        EXPECT_EQ(-200, p[0].x);
        EXPECT_EQ(-100, p[0].y);
        EXPECT_EQ(200, p[2].x);
        EXPECT_EQ(100, p[2].y);
    }
    utFreeHandle(pts);
    MemHandle v = obGetVertices(h, &n);
    {
        MemLock<POINT> p(v);
        EXPECT_EQ(210, p[0].x);
        EXPECT_EQ(120, p[0].y);
        EXPECT_EQ(610, p[1].x);
        EXPECT_EQ(120, p[1].y);
    }
    utFreeHandle(v);

    RECT bounds;
    EXPECT_TRUE(objGetVertexBounds(h, &bounds));
    EXPECT_TRUE(geoRectsEqual(&box, &bounds));

    std::vector<uint8_t> head = headOf(h);
    POINT about = {0, 0};
    objFlipRotate(h, about, 900);
    EXPECT_EQ(head, headOf(h));
    EXPECT_EQ(0, objOutlineExt(dib.dc(), ObLock(h).get()));
    obFreeTree(h);
}

TEST_F(ObDispatch, ChartKeepsItsBoxWhenRescaledAndItsLengthWhenSized)
{
    MemHandle h = make(OBT_XY_PLOT, 0, 0, 100, 100, 30);
    std::vector<uint8_t> head = headOf(h);
    objScale(h, 3.0, 3.0, 0, 0, 50, 50);
    EXPECT_EQ(head, headOf(h));
    EXPECT_EQ(86u + 30, obCalcSize(h, 0));
    obFreeTree(h);
}

TEST_F(ObDispatch, SelfSizedRecordsAreBelievedOnlyWithinTheirBlock)
{
    struct Case {
        int16_t type;
        uint32_t stated;
        uint32_t expected;
    };
    const Case cases[] = {
        {OBT_PAGE_INSET, 6, 86 + 6},        // the stated length of the type data
        {OBT_IMAGE_FILE, 20, 86 + 20},
        {OBT_IMAGE_FILE, 42, 86 + 42},      // the whole block (126 bytes rounded to 128)
        {OBT_IMAGE_FILE, 43, 86 + 40},      // past the block: the stored length stays
        {OBT_PAGE_INSET, 0xFFFFFFF0u, 86 + 40},
        {OBT_PAGE_INSET, 2, 86 + 40},       // shorter than its own count
    };
    for (const Case &c : cases) {
        MemHandle h = make(c.type, 0, 0, 10, 10, 40);
        {
            ObLock r(h);
            memcpy(obRecData(r.get()), &c.stated, 4);
        }
        EXPECT_EQ(c.expected, obCalcSize(h, 0)) << c.type << " " << c.stated;
        EXPECT_EQ(c.expected, ObLock(h)->length);
        obFreeTree(h);
    }
    MemHandle tiny = make(OBT_IMAGE_FILE, 0, 0, 1, 1, 2);
    EXPECT_EQ(88u, obCalcSize(tiny, 0)) << "no room for the count";
    obFreeTree(tiny);
}

TEST_F(ObDispatch, PageSizesByItsAttributes)
{
    MemHandle page = obNewRecord(kPgRecordSize + 20);
    {
        ObLock r(page);
        r->type = OBT_PAGE;
        uint16_t attr = 20;
        memcpy(obRecData(r.get()) + PGD_ATTR_SIZE, &attr, 2);
    }
    EXPECT_EQ(kPgRecordSize + 20, obCalcSize(page, 0));
    {
        ObLock r(page);
        uint16_t attr = 9000;   // more than the block holds
        memcpy(obRecData(r.get()) + PGD_ATTR_SIZE, &attr, 2);
    }
    EXPECT_EQ(kPgRecordSize + 20, obCalcSize(page, 0));
    obFreeTree(page);

    MemHandle stub = make(OBT_PAGE, 0, 0, 1, 1, 8);
    EXPECT_EQ(86u + 8, obCalcSize(stub, 0)) << "too short to be a page: left as it is";
    obFreeTree(stub);
}

TEST_F(ObDispatch, GroupsSizeToTheHeadAndBoundTheirMembers)
{
    MemHandle a = make(OBT_RECTANGLE, 0, 0, 100, 100);
    MemHandle b = make(OBT_LINE, 300, 300, 400, 500);
    ObLock(b)->penWidth = 40;
    MemHandle g = obNewGroup(OBT_GROUP, a, b, 0);
    g = obSetName(g, "g");
    EXPECT_EQ(86u + 2, obCalcSize(g, 0));

    obMoveAloneBy(b, 100, 0);
    RECT r;
    EXPECT_TRUE(objGetVertexBounds(g, &r));
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(520, r.right) << "the line's half pen width of 20 is included";
    EXPECT_EQ(520, r.bottom);
    RECT box;
    obGetRect(g, &box);
    EXPECT_TRUE(geoRectsEqual(&r, &box)) << "the bounds became the group's box";

    obMoveAloneBy(a, -100, 0);
    POINT about = {0, 0};
    objFlipRotate(g, about, 900);
    obGetRect(g, &box);
    EXPECT_EQ(-100, box.left) << "members' boxes refitted";

    qmtest::Dib dib(32, 32);
    obRecDraw(dib.dc(), ObLock(g).get());
    EXPECT_EQ(32 * 32, dib.count(RGB(255, 255, 255)));
    obFreeTree(g);
}

TEST_F(ObDispatch, BoxShapesMirrorTheirRotation)
{
    struct Case {
        int16_t type;
        uint16_t rotation;
        uint16_t horizontal, vertical;
    };
    const Case cases[] = {
        {OBT_RECTANGLE, 300, 1500, 3300}, {OBT_RECTANGLE, 1800, 0, 1800},
        {OBT_RECTANGLE, 0, 0, 0},         {OBT_ELLIPSE, 900, 900, 2700},
        {OBT_DIAMOND, 2000, 3400, 1600},  {OBT_CIRCLE, 300, 300, 300},
        {700, 300, 300, 300},
    };
    for (const Case &c : cases) {
        MemHandle h = make(c.type, 100, 100, 200, 300);
        ObLock(h)->rotation = c.rotation;
        obFlipHorizontal(h, 1000);
        EXPECT_EQ(c.horizontal, ObLock(h)->rotation) << c.type << " " << c.rotation;
        EXPECT_EQ(1850, ObLock(h)->centreX);
        EXPECT_EQ(200, ObLock(h)->centreY);
        ObLock(h)->rotation = c.rotation;
        obFlipVertical(h, 0);
        EXPECT_EQ(c.vertical, ObLock(h)->rotation) << c.type << " " << c.rotation;
        EXPECT_EQ(-200, ObLock(h)->centreY);
        obFreeTree(h);
    }
    EXPECT_EQ(3599, obNormaliseAngle(-1));
    EXPECT_EQ(1, obNormaliseAngle(7201));
    EXPECT_EQ(0, obMirrorAngleV(0));
    EXPECT_EQ(1800, obMirrorAngleH(3600));
}

TEST_F(ObDispatch, OutlinesOfCurvedTypesAreFlattened)
{
    // The circle's 13 control points, flattened: a closed polygon from its
    // rightmost point, every point close to the circle.
    MemHandle e = make(OBT_ELLIPSE, 0, 0, 3000, 3000);
    int16_t n = 0;
    MemHandle pts = obGetOutline(e, &n);
    ASSERT_NE(0u, pts);
    EXPECT_GT(n, 13) << "the control points are flattened";
    {
        MemLock<POINT> p(pts);
        EXPECT_EQ(3000, p[0].x);
        EXPECT_EQ(1500, p[0].y);
        EXPECT_EQ(3000, p[n - 1].x);
        EXPECT_EQ(1500, p[n - 1].y);
        for (int16_t i = 0; i < n; ++i)
            EXPECT_NEAR(1500.0, geoDistance(p[i], POINT{1500, 1500}), 10.0) << i;
    }
    utFreeHandle(pts);

    MemHandle r = make(OBT_RECTANGLE, 0, 0, 3000, 3000);
    pts = obGetOutline(r, &n);
    EXPECT_EQ(4, n) << "straight types keep their points";
    utFreeHandle(pts);
    EXPECT_EQ(0u, obGetOutline(0, &n));
    EXPECT_EQ(0, n);
    obFreeTree(e);
    obFreeTree(r);
}

TEST_F(ObDispatch, HiddenObjectsAndStoredLengthTypesInTheSizeDispatch)
{
    MemHandle h = make(OBT_3D_TEXT, 0, 0, 10, 10, 12);
    EXPECT_EQ(86u + 12, obCalcSize(h, 0));
    {
        ObLock r(h);
        r->length = 5000;   // more than the block: cut to it
    }
    EXPECT_EQ(utHandleSize(h), obCalcSize(h, 0));
    obFreeTree(h);
}

TEST_F(ObDispatch, DrawnRectangleGrowsByHalfThePenOfLinesAndShapes)
{
    struct Case {
        int16_t type;
        int16_t pen;
        int32_t grow;
    };
    const Case cases[] = {{OBT_POLYLINE, 40, 20}, {OBT_RECTANGLE, 15, 8}, {OBT_TEXT, 40, 0},
                          {OBT_GROUP, 40, 0},     {OBT_ARC, 1, 1}};
    for (const Case &c : cases) {
        MemHandle h = make(c.type, 100, 100, 200, 200);
        ObLock(h)->penWidth = c.pen;
        RECT r;
        EXPECT_TRUE(obGetDrawnRect(h, &r));
        EXPECT_EQ(100 - c.grow, r.left) << c.type;
        EXPECT_EQ(200 + c.grow, r.bottom) << c.type;
        obFreeTree(h);
    }
    RECT r;
    EXPECT_FALSE(obGetDrawnRect(0, &r));
}

}  // namespace
