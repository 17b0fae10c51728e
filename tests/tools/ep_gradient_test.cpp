// Gradient fills given to one object, to a tree, and raw; the check box
// family's label font; the cube's rubber band; arcs made on a page.
#include "tests/tools/tools_kit.h"
#include "tools/ep_gradient.h"
#include "tools/ep_shape_tools.h"
#include "tools/fld_control_font.h"
#include "forms/fld_check.h"
#include "model/ob_links.h"
#include <string>

using namespace eptest;

namespace {

GradientFillBlock gradient(int16_t type, int32_t dx, int32_t dy)
{
    GradientFillBlock g = {};
    g.type = type;
    g.angle = 450;
    g.offsetX = 10;
    g.dx = dx;
    g.dy = dy;
    return g;
}

const GradientFillBlock *blockOf(ObjectRecord *rec)
{
    return reinterpret_cast<const GradientFillBlock *>(obGetFillData(rec));
}

TEST(ApplyGradient, ExtentsArePercentOfTheBoxOrHalfItsSides)
{
    struct {
        const char *what;
        GradientFillBlock g;
        int32_t wantX, wantY;
    } cases[] = {
        {"percentages", gradient(3, 50, 25), 1000, 100},
        {"one percentage, the other zero", gradient(5, 10, 0), 200, 0},
        {"zero: half the sides", gradient(3, 0, 0), 1000, 200},
        {"circle gradient: the larger half", gradient(2, 0, 0), 1000, 1000},
        {"square gradient: the larger half", gradient(4, 0, 0), 1000, 1000},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        MemHandle h = obtest::make(OBT_ELLIPSE, 0, 0, 2000, 400);
        EXPECT_EQ(1, epApplyGradient(&h, &c.g));
        ObLock r(h);
        EXPECT_EQ(3, r->fillKind);
        EXPECT_EQ(86u + 8 + 40, r->length);
        const GradientFillBlock *g = blockOf(r.get());
        ASSERT_TRUE(g);
        EXPECT_EQ(c.g.type, g->type);
        EXPECT_EQ(450, g->angle);
        EXPECT_EQ(10, g->offsetX);
        EXPECT_EQ(c.wantX, g->dx);
        EXPECT_EQ(c.wantY, g->dy);
        obFreeTree(h);
    }
}

TEST(ApplyGradient, ShapesWithoutAFillAreRefused)
{
    MemHandle line = obtest::make(OBT_LINE, 0, 0, 100, 100, 18);
    GradientFillBlock g = gradient(1, 0, 0);
    EXPECT_EQ(0, epApplyGradient(&line, &g));
    EXPECT_EQ(0, obGetFillKind(line));
    obFreeTree(line);
}

TEST(ApplyGradient, TheSameBytesAgainReportNoChange)
{
    // On a 100 x 100 box an extent of 100 percent stays 100: the stored
    // block then equals the given one.
    MemHandle h = obtest::make(OBT_RECTANGLE, 0, 0, 100, 100);
    GradientFillBlock g = gradient(5, 100, 100);
    EXPECT_EQ(1, epApplyGradient(&h, &g));
    EXPECT_EQ(0, epApplyGradient(&h, &g));
    g.angle = 900;
    EXPECT_EQ(1, epApplyGradient(&h, &g));
    obFreeTree(h);
}

TEST(ApplyGradient, PointShapesGrowByTheBlockBehindTheirPoints)
{
    Defaults d;
    POINT tri[3] = {{0, 0}, {1000, 0}, {500, 600}};
    MemHandle poly = epCreateObjectFrom(d.get(), 0, OBT_POLYGON, tri, 3);
    GradientFillBlock g = gradient(1, 30, 40);
    EXPECT_EQ(1, epApplyGradient(&poly, &g));
    ObLock r(poly);
    EXPECT_EQ(86u + 2 + 24 + 40, r->length);
    const GradientFillBlock *b = blockOf(r.get());
    ASSERT_TRUE(b);
    EXPECT_EQ(300, b->dx);
    EXPECT_EQ(240, b->dy);
    std::vector<POINT> pts = pointsOf(poly);
    EXPECT_TRUE(samePoint({500, 600}, pts[2]));   // the points are untouched
}

TEST(ApplyGradient, TheTreeVersionReachesEveryMemberAndKeepsTheLinks)
{
    MemHandle group = obtest::make(OBT_GROUP, 0, 0, 3000, 3000);
    MemHandle a = obtest::make(OBT_RECTANGLE, 0, 0, 1000, 1000);
    MemHandle line = obtest::make(OBT_LINE, 0, 0, 100, 100, 18);
    MemHandle c = obtest::make(OBT_ELLIPSE, 2000, 2000, 3000, 3000);
    obAddMember(group, a);
    obAddMember(group, line);
    obAddMember(group, c);
    GradientFillBlock g = gradient(3, 0, 0);
    EXPECT_EQ(1, epTreeApplyGradient(&group, &g));
    std::vector<MemHandle> members;
    {
        ObLock r(group);
        for (MemHandle m = r->firstMember; m;) {
            members.push_back(m);
            ObLock mr(m);
            EXPECT_EQ(group, mr->parent);
            m = mr->nextMember;
        }
    }
    ASSERT_EQ(3u, members.size());
    EXPECT_EQ(3, obGetFillKind(members[0]));
    EXPECT_EQ(0, obGetFillKind(members[1]));
    EXPECT_EQ(3, obGetFillKind(members[2]));
    EXPECT_EQ(0, obGetFillKind(group));   // a group has no fill of its own
    {
        ObLock r(members[2]);
        EXPECT_EQ(500, blockOf(r.get())->dx);
    }
    obFreeTree(group);
}

TEST(GradientRaw, CopiesTheBytesWhenThereIsRoom)
{
    MemHandle h = obtest::make(OBT_RECTANGLE, 0, 0, 1000, 1000);
    GradientFillBlock g = gradient(7, 33, 44);
    EXPECT_EQ(0, epSetGradientRaw(h, &g));   // no room behind the geometry
    EXPECT_EQ(0, obGetFillKind(h));
    MemHandle big = obResize(h, 86 + 8 + 40);
    ASSERT_TRUE(big);
    EXPECT_EQ(1, epSetGradientRaw(big, &g));
    ObLock r(big);
    EXPECT_EQ(3, r->fillKind);
    EXPECT_EQ(0, memcmp(blockOf(r.get()), &g, sizeof g));   // as given, not scaled
    obFreeTree(big);
}

TEST(ControlFont, TheLabelFontGrowsTheControlToItsNaturalSize)
{
    dmResetModule();
    Defaults d;
    POINT pts[2] = {{0, 0}, {100, 100}};
    MemHandle h = epCreateObjectFrom(d.get(), 0, OBT_CHECKBOX, pts, 2);
    ASSERT_TRUE(h);
    int32_t before = obGetHeight(h);
    LOGFONTA lf = {};
    lf.lfHeight = -720;
    strcpy(lf.lfFaceName, "Arial");
    EXPECT_EQ(h, fldSetLabelFont(h, &lf));
    EXPECT_GT(obGetHeight(h), before);
    LOGFONTA back;
    EXPECT_EQ(1, fldGetLabelFont(h, &back));
    EXPECT_EQ(-720, back.lfHeight);
    EXPECT_EQ(0, fldSetLabelFont(0, &lf));
    EXPECT_EQ(0, fldGetLabelFont(0, &back));
    fldSetFlag4(0);   // nothing to do, no crash
    obFreeTree(h);
}

TEST(ControlFont, TheLabelTextKeepsTheControlsOwnLayoutAndSurvivesNoMemory)
{
    dmResetModule();
    Defaults d;
    POINT pts[2] = {{0, 0}, {100, 100}};
    MemHandle h = epCreateObjectFrom(d.get(), 0, OBT_CHECKBOX, pts, 2);
    ASSERT_TRUE(h);
    auto length = [](MemHandle c) { return ObLock(c)->length; };
    auto label = [](MemHandle c) {
        MemHandle t = fldCheckGetLabel(c);
        std::string s = t ? MemLock<char>(t).get() : "";
        utFreeHandle(t);
        return s;
    };
    // Each change moves the length by the difference of the texts.
    const uint32_t utMode = utGetDebugMode();
    utSetDebugMode(UT_DEBUG_MOVE_ON_GROW);
    h = fldSetLabelText(h, "Agree");
    ASSERT_TRUE(h);
    std::string old = label(h);
    for (const char *text : {"I have read the terms", "No", "No", "Agreed"}) {
        const uint32_t before = length(h);
        MemHandle got = fldSetLabelText(h, text);
        ASSERT_TRUE(got) << text;
        h = got;
        EXPECT_EQ(text, label(h));
        EXPECT_EQ((int64_t)before + (int64_t)strlen(text) - (int64_t)old.size(),
                  (int64_t)length(h))
            << text;
        old = text;
    }
    utSetDebugMode(utMode);
    // Memory runs out: 0, and the old handle keeps its record.
    const uint32_t before = length(h);
    {
        qmtest::BoxRecorder boxes;
        utFailNextAllocs(1);
        const std::string longer(400, 'L');   // more than the block holds
        EXPECT_EQ(0u, fldSetLabelText(h, longer.c_str()));
        utFailNextAllocs(0);
    }
    EXPECT_TRUE(utIsLiveHandle(h));
    EXPECT_EQ("Agreed", label(h));
    EXPECT_EQ(before, length(h));
    EXPECT_EQ(0u, fldSetLabelText(0, "x"));
    obFreeTree(h);
}

TEST(CubeRubberBand, DrawnTwiceInNotXorItVanishes)
{
    qmtest::Dib dib(120, 120);
    qmtest::Dib white(120, 120);
    SetROP2(dib.dc(), R2_NOTXORPEN);
    RECT r = {10, 10, 110, 90};
    epCubeRubberBand(dib.dc(), &r);
    // The back face's top edge and the front's left edge are drawn.
    EXPECT_NE(RGB(255, 255, 255), dib.pixel(60, 10));
    EXPECT_NE(RGB(255, 255, 255), dib.pixel(10, 60));
    EXPECT_EQ(RGB(255, 255, 255), dib.pixel(60, 60));
    epCubeRubberBand(dib.dc(), &r);
    // The inner edges meet the outline: pixels drawn an even number of
    // times come back, so only the joins may differ.
    EXPECT_LE(dib.diff(white), 6);
}

TEST(ArcOnAPage, IsMadeWithThePageDefaultsAndAppendedOnTop)
{
    MemHandle page = pgtest::newPage("one");
    MemHandle form = fmNew();
    pgDirAppend(form, page);
    fmSetCurrentPage(form, 0);
    pgtest::Workspace ws(form);
    MemHandle current = pvGetCurrentPage(ws);
    ASSERT_TRUE(current);
    ObjectRecord head = {};
    pgGetProp(current, 40, &head);
    head.penColour = 0x0000FF;
    pgSetProp(current, 40, &head);
    uint8_t kind = 1;
    pgSetProp(current, 44, &kind);
    MemHandle first = pgtest::addObject(current, "under");

    POINT pts[2] = {{100, 100}, {1300, 700}};
    MemHandle pie = epCreateArcAt(ws, pts, OBT_PIE);
    ASSERT_TRUE(pie);
    EXPECT_EQ(pie, pgGetLastObject(current));
    {
        ObLock r(pie);
        EXPECT_EQ(first, r->prev);
        EXPECT_EQ(OBT_PIE, r->type);
        EXPECT_EQ(0x0000FFu, r->penColour);
        EXPECT_EQ(1, r->fillKind);
        EXPECT_EQ(106u, r->length);
        EXPECT_EQ(1200, r->width);
    }
    EXPECT_EQ(0, epCreateArcAt(ws, pts, OBT_RECTANGLE));
    EXPECT_EQ(0, epCreateArcAt(nullptr, pts, OBT_ARC));
    fmFree(ws.document());
}
}  // namespace

namespace {
TEST(FactoryOnAWorkspace, NamesSkipThoseOnTheCurrentPage)
{
    MemHandle page = pgtest::newPage("one");
    pgtest::addObject(page, "button001");
    MemHandle form = fmNew();
    pgDirAppend(form, page);
    fmSetCurrentPage(form, 0);
    pgtest::Workspace ws(form);
    POINT pts[2] = {{0, 0}, {1440, 400}};
    MemHandle b = epCreateObject(ws, 0, OBT_BUTTON, pts, 2);
    ASSERT_TRUE(b);
    EXPECT_EQ("Button002", obtest::nameOf(b));
    obFreeTree(b);
    fmFree(ws.document());
}
}  // namespace
