// The object factory: shape rules, type data, page defaults, names.
#include "forms/ent_field.h"
#include "tests/tools/tools_kit.h"
#include "support/ut_bytes.h"
#include "tests/support/kit_dialog.h"
#include "tools/ep_polygon.h"
#include "tools/ep_shape_tools.h"
#include "text/ep_text_font.h"
#include "forms/fld_check.h"
#include "forms/fld_button.h"
#include "forms/fld_record.h"
#include "model/pg_margins.h"
#include "model/qmf_read.h"
#include "model/qmf_write.h"
#include "support/ff_file.h"
#include "text/tx_label.h"

using namespace eptest;

namespace {

class Factory : public ::testing::Test {
protected:
    Factory() { epSetRoundRectRatio(0.0); dmResetModule(); }
    ~Factory() override
    {
        for (MemHandle h : made_)
            obFreeTree(h);
        epSetRoundRectRatio(0.0);
    }
    MemHandle make(int16_t type, std::vector<POINT> pts)
    {
        MemHandle h = create(defaults_.get(), type, pts);
        if (h)
            made_.push_back(h);
        return h;
    }
    Defaults defaults_;
    std::vector<MemHandle> made_;
};

struct ShapeCase {
    const char *what;
    int16_t type;
    std::vector<POINT> pts;
    int16_t wantType;
    RECT wantBox;             // absolute
    uint32_t wantLength;
};

TEST_F(Factory, ShapeRulesTurnADragIntoAWellFormedObject)
{
    const ShapeCase cases[] = {
        {"2-point polygon is a line", OBT_POLYGON, {{100, 100}, {500, 300}}, OBT_LINE,
         {100, 100, 500, 300}, 86 + 18},
        {"2-point polyline is a line", OBT_POLYLINE, {{0, 0}, {10, 10}}, OBT_LINE, {0, 0, 10, 10},
         86 + 18},
        {"2-point poly-HV is a line", OBT_POLYHV, {{0, 0}, {10, 10}}, OBT_LINE, {0, 0, 10, 10},
         86 + 18},
        {"3-point polygon stays", OBT_POLYGON, {{0, 0}, {100, 0}, {50, 80}}, OBT_POLYGON,
         {0, 0, 100, 80}, 86 + 26},
        {"H-line right to left", OBT_HLINE, {{1000, 500}, {200, 900}}, OBT_HLINE,
         {200, 500, 1000, 500}, 86 + 18},
        {"V-line bottom to top", OBT_VLINE, {{300, 900}, {700, 100}}, OBT_VLINE,
         {300, 100, 300, 900}, 86 + 18},
        {"square from a wide drag", OBT_SQUARE, {{0, 0}, {300, 100}}, OBT_SQUARE,
         {0, 0, 100, 100}, 86 + 8},
        {"square dragged up-left", OBT_SQUARE, {{300, 300}, {0, 100}}, OBT_SQUARE,
         {100, 100, 300, 300}, 86 + 8},
        {"square dragged flat has no size", OBT_SQUARE, {{50, 50}, {300, 50}}, OBT_SQUARE,
         {50, 50, 50, 50}, 86 + 8},
        {"circle", OBT_CIRCLE, {{0, 0}, {-400, 100}}, OBT_CIRCLE, {-100, 0, 0, 100}, 86 + 8},
        {"rectangle", OBT_RECTANGLE, {{0, 0}, {1440, 720}}, OBT_RECTANGLE, {0, 0, 1440, 720},
         86 + 8},
        {"rounded rectangle", OBT_ROUNDRECT, {{0, 0}, {1440, 720}}, OBT_ROUNDRECT,
         {0, 0, 1440, 720}, 86 + 16},
        {"arc", OBT_ARC, {{0, 0}, {600, 400}}, OBT_ARC, {0, 0, 600, 400}, 106},
        {"cube", OBT_CUBE, {{0, 0}, {400, 200}}, OBT_CUBE, {0, 0, 400, 200}, 136},
        {"star gets the head", OBT_STAR, {{0, 0}, {400, 200}}, OBT_STAR, {0, 0, 400, 200}, 86},
    };
    for (const ShapeCase &c : cases) {
        SCOPED_TRACE(c.what);
        MemHandle h = make(c.type, c.pts);
        ASSERT_TRUE(h);
        ObLock r(h);
        EXPECT_EQ(c.wantType, r->type);
        RECT box;
        obRecGetRect(r.get(), &box);
        EXPECT_EQ(c.wantBox.left, box.left);
        EXPECT_EQ(c.wantBox.top, box.top);
        EXPECT_EQ(c.wantBox.right, box.right);
        EXPECT_EQ(c.wantBox.bottom, box.bottom);
        EXPECT_EQ(c.wantLength, r->length);
        EXPECT_EQ(0, r->nameLength);
        EXPECT_EQ(kObScaleOne, r->scaleX);
        EXPECT_EQ(kObScaleOne, r->scaleY);
    }
}

TEST_F(Factory, LinesKeepTheirPointsLeftToRightRelativeToTheCentre)
{
    MemHandle h = make(OBT_HLINE, {{1000, 500}, {200, 900}});
    std::vector<POINT> p = pointsOf(h);
    ASSERT_EQ(2u, p.size());
    EXPECT_TRUE(samePoint({200, 500}, p[0]));
    EXPECT_TRUE(samePoint({1000, 500}, p[1]));
    EXPECT_EQ(-400, i32At(h, 2));   // stored relative to the centre (600, 500)

    MemHandle line = make(OBT_POLYGON, {{100, 100}, {500, 300}});
    p = pointsOf(line);
    ASSERT_EQ(2u, p.size());
    EXPECT_TRUE(samePoint({100, 100}, p[0]));
    EXPECT_TRUE(samePoint({500, 300}, p[1]));
}

TEST_F(Factory, BoxKindsCopyTheirSizeAndTheRoundedRectangleItsRounding)
{
    MemHandle sq = make(OBT_SQUARE, {{0, 0}, {300, 100}});
    EXPECT_EQ(100, i32At(sq, 0));
    EXPECT_EQ(100, i32At(sq, 4));

    // The ratio starts at 0.0, read as 1/6: 720 / 6 = 120 in both words.
    EXPECT_EQ(0.0, epGetRoundRectRatio());
    MemHandle rr = make(OBT_ROUNDRECT, {{0, 0}, {1440, 720}});
    EXPECT_EQ(1440, i32At(rr, 0));
    EXPECT_EQ(720, i32At(rr, 4));
    EXPECT_EQ(120, i32At(rr, 8));
    EXPECT_EQ(120, i32At(rr, 12));

    epSetRoundRectRatio(0.25);
    MemHandle q = make(OBT_ROUNDRECT, {{0, 0}, {1440, 722}});
    EXPECT_EQ(181, i32At(q, 8));   // 180.5 rounded away from zero
    EXPECT_EQ(181, i32At(q, 12));
}

TEST_F(Factory, TheHeadComesFromThePageDefaults)
{
    laySetCurrent(3);
    defaults_->fillKind = 1;
    MemHandle rect = make(OBT_RECTANGLE, {{0, 0}, {100, 100}});
    MemHandle line = make(OBT_LINE, {{0, 0}, {100, 100}});
    MemHandle sq = make(OBT_SQUARE, {{0, 0}, {100, 100}});
    for (MemHandle h : {rect, line, sq}) {
        ObLock r(h);
        EXPECT_EQ(0x112233u, r->penColour);
        EXPECT_EQ(0x445566u, r->fillColour);
        EXPECT_EQ(20, r->penWidth);
        EXPECT_EQ(OBF_NO_ROTATE, r->flags);
        EXPECT_EQ(3, r->layer);
    }
    EXPECT_EQ(1, obGetFillKind(rect));
    EXPECT_EQ(1, obGetFillKind(sq));
    EXPECT_EQ(0, obGetFillKind(line));   // open lines take no fill
    MemHandle star = make(OBT_STAR, {{0, 0}, {100, 100}});
    EXPECT_EQ(1, obGetFillKind(star));   // the head alone, with the page's fill
    laySetCurrent(0);
}

TEST_F(Factory, ReinitialisingANamedObjectDropsTheNameAndKeepsItsLinks)
{
    MemHandle h = obtest::make(OBT_RECTANGLE, 0, 0, 100, 100);
    h = obSetName(h, "Kept");
    MemHandle next = obtest::make(OBT_RECTANGLE);
    {
        ObLock r(h);
        r->next = next;
    }
    POINT pts[2] = {{0, 0}, {2000, 1000}};
    MemHandle g = epCreateObjectFrom(defaults_.get(), h, OBT_ELLIPSE, pts, 2);
    ASSERT_TRUE(g);
    made_.push_back(g);
    made_.push_back(next);
    EXPECT_EQ("", obtest::nameOf(g));
    ObLock r(g);
    EXPECT_EQ(OBT_ELLIPSE, r->type);
    EXPECT_EQ(next, r->next);
    EXPECT_EQ(2000, r->width);
    EXPECT_EQ(86u + 8, r->length);
    r->next = 0;
}

TEST_F(Factory, ButtonsTurnAWhiteBackgroundGreyAndTakeTheNextName)
{
    MemHandle b1 = make(OBT_BUTTON, {{0, 0}, {1440, 400}});
    MemHandle b2 = make(OBT_BUTTON, {{0, 500}, {1440, 900}});
    ASSERT_TRUE(b1 && b2);
    EXPECT_EQ("Button001", obtest::nameOf(b1));
    EXPECT_EQ("Button002", obtest::nameOf(b2));
    {
        ObLock r(b1);
        EXPECT_EQ(0xC0C0C0u, r->backColour);
        EXPECT_EQ(86u + 10 + 86, r->length);   // head, the name, the button part
    }
    EXPECT_EQ(86, i32At(b1, 0));
    EXPECT_EQ(9, i16At(b1, 68));
    EXPECT_EQ(-200, i32At(b1, 8));   // the default font's height
    EXPECT_EQ(86u + 10 + 86, btnRecordSizeOf(b1));

    defaults_->head.backColour = 0x00FF00;
    MemHandle b3 = make(OBT_BUTTON, {{0, 0}, {1440, 400}});
    ObLock r(b3);
    EXPECT_EQ(0x00FF00u, r->backColour);
}

TEST_F(Factory, EntryFieldsTakeTheFieldDefaultsAFillAndFieldNames)
{
    MemHandle f1 = make(OBT_ENTRY, {{0, 0}, {2000, 300}});
    MemHandle f2 = make(OBT_LIST_FIELD, {{0, 400}, {2000, 700}});
    EXPECT_EQ("F001", obtest::nameOf(f1));
    EXPECT_EQ("F002", obtest::nameOf(f2));
    EXPECT_EQ(1, obGetFillKind(f1));
    std::vector<uint8_t> data = obtest::dataOf(f1);
    ASSERT_EQ(100u, data.size());
    EXPECT_EQ(1, data[0]);
    EXPECT_EQ(100, data[99]);
}

TEST_F(Factory, EquationFieldsTakeTheEquationStyleAndNoStrayAttributes)
{
    // A default field record that claims attribute records it does not
    // carry: the new field must not believe it.
    uint32_t mask = 4;
    uint16_t count = 1, bytes = 40;
    memcpy(defaults_->field + 80, &mask, 4);
    memcpy(defaults_->field + 84, &count, 2);
    memcpy(defaults_->field + 86, &bytes, 2);
    uint32_t flags = 0x9;   // multi-line
    memcpy(defaults_->field + 76, &flags, 4);
    MemHandle eq = make(OBT_EQUATION, {{0, 0}, {2000, 300}});
    ASSERT_TRUE(eq);
    EXPECT_EQ(7, i16At(eq, 6));
    EXPECT_EQ(2, i16At(eq, 8));
    EXPECT_EQ(0x30, i32At(eq, 76));   // an equation is single-line
    EXPECT_EQ(0, i32At(eq, 80));
    EXPECT_EQ(0, i32At(eq, 84));
    EXPECT_EQ(86u + 5 + 100, entRecordSizeOf(eq));   // "F001" and its terminator

    MemHandle entry = make(OBT_ENTRY, {{0, 0}, {2000, 300}});
    EXPECT_EQ(0x0807, i16At(entry, 6));   // the default's own bytes stay
    EXPECT_EQ(0x9, i32At(entry, 76));
}

TEST_F(Factory, CheckBoxFamilyGetsLabelFontFlag4AndItsNames)
{
    struct {
        int16_t type;
        const char *name;
    } cases[] = {{OBT_CHECKBOX, "CheckBox001"}, {OBT_RADIO, "RadioBtn001"},
                 {OBT_GROUP_BOX, "GroupBox001"}};
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        MemHandle h = make(c.type, {{0, 0}, {3000, 400}});
        ASSERT_TRUE(h);
        EXPECT_EQ(c.name, obtest::nameOf(h));
        ObLock r(h);
        ControlPart *part = ckbPart(r.get());
        ASSERT_TRUE(part);
        EXPECT_TRUE(part->flags & CKB_3D);
        EXPECT_EQ(-200, part->font.lfHeight);
        EXPECT_STREQ("Arial", part->font.lfFaceName);
        EXPECT_EQ(ckbEmptyRecordSize() + r->nameLength, r->length);
    }
}

TEST_F(Factory, NoDocumentGivesFieldsNoNameButStillARecord)
{
    fmFree(defaults_->form);
    defaults_->form = 0;
    MemHandle b = make(OBT_BUTTON, {{0, 0}, {100, 100}});
    ASSERT_TRUE(b);
    EXPECT_EQ("", obtest::nameOf(b));
    defaults_->form = fmNew();
}

TEST_F(Factory, StarsAndPolygonsUseTheAbsoluteHalfWidth)
{
    epSetStarConfig(5, 50);
    // Dragged right to left: the radii are still 1000 and 500.
    for (auto drag : {std::pair<POINT, POINT>{{1000, 0}, {3000, 2000}},
                      std::pair<POINT, POINT>{{3000, 2000}, {1000, 0}}}) {
        std::vector<POINT> pts = epStarPolygonPoints(OBT_STAR, drag.first, drag.second);
        ASSERT_EQ(10u, pts.size());
        MemHandle h = make(OBT_POLYGON, pts);
        ASSERT_TRUE(h);
        EXPECT_EQ(OBT_POLYGON, obGetType(h));
        std::vector<POINT> stored = pointsOf(h);
        ASSERT_EQ(10u, stored.size());
        for (size_t i = 0; i < stored.size(); ++i) {
            double r = hypot(stored[i].x - 2000.0, stored[i].y - 1000.0);
            EXPECT_NEAR(i % 2 ? 500.0 : 1000.0, r, 1.5) << i;
        }
        EXPECT_EQ(-1000 + 1000, stored[0].y - 0);   // the first tip at the top
    }
    epSetPolygonCorners(6);
    std::vector<POINT> hex = epStarPolygonPoints(25, {600, 0}, {0, 600});
    ASSERT_EQ(6u, hex.size());
    for (POINT p : hex)
        EXPECT_NEAR(300.0, hypot(p.x - 300.0, p.y - 300.0), 1.5);
    EXPECT_TRUE(epStarPolygonPoints(OBT_RECTANGLE, {0, 0}, {10, 10}).empty());
    epSetStarConfig(5, 50);
}

TEST_F(Factory, ClosedShapesTakeTheDefaultPatternOrGradient)
{
    defaults_->fillKind = 2;
    for (int i = 0; i < 24; ++i)
        defaults_->pattern[i] = (uint8_t)(0xA0 + i);
    MemHandle rect = make(OBT_RECTANGLE, {{0, 0}, {1000, 500}});
    MemHandle poly = make(OBT_POLYGON, {{0, 0}, {1000, 0}, {500, 800}});
    for (MemHandle h : {rect, poly}) {
        ObLock r(h);
        EXPECT_EQ(2, r->fillKind);
        uint8_t *p = obGetFillData(r.get());
        ASSERT_TRUE(p);
        EXPECT_EQ(0xA0, p[0]);
        EXPECT_EQ(0xA0 + 23, p[23]);
    }
    EXPECT_EQ(86u + 8 + 24, obtest::dataOf(rect).size() + 86);

    defaults_->fillKind = 3;
    defaults_->gradient.type = 3;
    defaults_->gradient.dx = 50;   // percent of the width
    defaults_->gradient.dy = 25;
    MemHandle ell = make(OBT_ELLIPSE, {{0, 0}, {2000, 800}});
    ObLock r(ell);
    EXPECT_EQ(3, r->fillKind);
    auto *g = reinterpret_cast<GradientFillBlock *>(obGetFillData(r.get()));
    ASSERT_TRUE(g);
    EXPECT_EQ(3, g->type);
    EXPECT_EQ(1000, g->dx);
    EXPECT_EQ(200, g->dy);
    EXPECT_EQ(86u + 8 + 40, r->length);
}

TEST_F(Factory, OpenLinesCarryTheDefaultLineEnds)
{
    defaults_->lineEnds[0] = 3;     // start kind
    defaults_->lineEnds[1] = 0;     // no end symbol
    defaults_->lineEnds[2] = 240;   // start size
    MemHandle h = make(OBT_LINE, {{0, 0}, {1000, 0}});
    ObLock r(h);
    EXPECT_TRUE(r->flags & OBF_START_SYMBOL);
    EXPECT_FALSE(r->flags & OBF_END_SYMBOL);
    EXPECT_EQ(86u + 18 + 6, r->length);
    EXPECT_EQ(3, i16At(h, 18));
    EXPECT_EQ(240, i32At(h, 20));

    defaults_->lineEnds[1] = 5;
    defaults_->lineEnds[3] = 100;
    MemHandle both = make(OBT_BEZIER, {{0, 0}, {300, 300}, {600, 0}, {900, 300}});
    ObLock b(both);
    EXPECT_EQ(86u + 34 + 12, b->length);
    EXPECT_EQ(5, i16At(both, 34 + 6));
    EXPECT_EQ(100, i32At(both, 34 + 8));
    // Closed shapes carry none.
    MemHandle poly = make(OBT_POLYGON, {{0, 0}, {100, 0}, {50, 50}});
    EXPECT_FALSE(obGetFlags(poly) & (OBF_START_SYMBOL | OBF_END_SYMBOL));
}

TEST_F(Factory, CubesDimensionSpansAndArcs)
{
    MemHandle cube = make(OBT_CUBE, {{0, 0}, {400, 200}});
    POINT expect[6];
    RECT box = {0, 0, 400, 200};
    epCubePoints(&box, expect);
    // d = 50: P0 the front top-left (0, 50) relative to (200, 100).
    EXPECT_TRUE(samePoint({-200, -50}, expect[0]));
    EXPECT_TRUE(samePoint({-150, -100}, expect[1]));
    EXPECT_TRUE(samePoint({200, -100}, expect[2]));
    EXPECT_TRUE(samePoint({200, 50}, expect[3]));
    EXPECT_TRUE(samePoint({150, 100}, expect[4]));
    EXPECT_TRUE(samePoint({-200, 100}, expect[5]));
    EXPECT_EQ(6, i16At(cube, 0));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(expect[i].x, i32At(cube, 2 + 8 * i)) << i;

    defaults_->lineEnds[0] = 0;    // mark style: the default 7
    defaults_->lineEnds[2] = 100;  // tick length
    MemHandle span = make(OBT_DIMENSION, {{1000, 1000}, {3000, 1000}});
    ASSERT_TRUE(span);
    {
        ObLock r(span);
        EXPECT_EQ(86u + 34, r->length);
        RECT rb;
        obRecGetRect(r.get(), &rb);
        // The ticks reach (2 x 100 - 1) / 2 = 99.5 each side of the span.
        EXPECT_EQ(1000, rb.left);
        EXPECT_EQ(3000, rb.right);
        EXPECT_EQ(901, rb.top);   // 900.5 rounded half away from zero
        EXPECT_EQ(1100, rb.bottom);
    }
    EXPECT_EQ(100, i32At(span, 18));
    EXPECT_EQ(100, i32At(span, 22));
    EXPECT_EQ(7, i16At(span, 26));
    EXPECT_EQ(100, i32At(span, 28));
    std::vector<POINT> ends = pointsOf(span);
    EXPECT_TRUE(samePoint({1000, 1000}, ends[0]));
    EXPECT_TRUE(samePoint({3000, 1000}, ends[1]));

    MemHandle arc = make(OBT_ARC, {{0, 0}, {600, 400}});
    EXPECT_EQ(600, i32At(arc, 0));
    EXPECT_EQ(400, i32At(arc, 4));
    EXPECT_EQ(0, i16At(arc, 16));
    EXPECT_EQ(3600, i16At(arc, 18));
}

TEST_F(Factory, ATextClickGetsTwoLinesAndReachesTheMarginLimit)
{
    MemHandle page = pgtest::newPage();
    defaults_->page = page;
    RECT limit;
    ASSERT_TRUE(epTextWidthLimitPage(page, &limit));
    int32_t ave, height, leading;
    ASSERT_TRUE(txMeasureFontOn(nullptr, defaults_->font, &ave, &height, &leading));
    int32_t line = height + 2 * leading;
    ASSERT_GT(line, 0);

    POINT click = {limit.left + 500, limit.top + 1000};
    MemHandle t = make(OBT_TEXT, {click, click});
    ASSERT_TRUE(t);
    {
        ObLock r(t);
        EXPECT_EQ(OBT_TEXT, r->type);
        EXPECT_EQ(2 * line, r->height);
        EXPECT_EQ(click.y + line, r->centreY);
        EXPECT_EQ(limit.right - click.x, r->width);
        EXPECT_GE(r->length, 86u + 130);
        LOGFONTA lf;
        memcpy(&lf, obRecData(r.get()) + 8, sizeof lf);
        EXPECT_STREQ("Arial", lf.lfFaceName);
    }
    EXPECT_EQ(obGetWidth(t), i32At(t, 0));
    EXPECT_EQ(obGetHeight(t), i32At(t, 4));

    // At or beyond the limit: ten line heights wide.
    POINT beyond = {limit.right + 10, limit.top};
    MemHandle u = make(OBT_TEXT, {beyond, beyond});
    EXPECT_EQ(10 * line, obGetWidth(u));
    obFreeTree(page);
}

TEST_F(Factory, MakesAndFreesWithoutLeaks)
{
    long before = qmtest::liveHandles();
    for (int16_t type : {OBT_LINE, OBT_RECTANGLE, OBT_ROUNDRECT, OBT_CUBE, OBT_ARC, OBT_PIE,
                         OBT_DIMENSION, OBT_CHECKBOX}) {
        POINT pts[2] = {{0, 0}, {500, 300}};
        MemHandle h = epCreateObjectFrom(defaults_.get(), 0, type, pts, 2);
        ASSERT_TRUE(h) << type;
        obFreeTree(h);
    }
    EXPECT_EQ(before, qmtest::liveHandles());
    // Kinds that a drag does not make give nothing and keep nothing.
    POINT pts[2] = {{0, 0}, {500, 300}};
    EXPECT_FALSE(epCreateObjectFrom(defaults_.get(), 0, 134, pts, 2));
    EXPECT_EQ(before, qmtest::liveHandles());
}

// The object written as a file record into a file, its bytes.
std::vector<uint8_t> writtenBytes(const std::string &path, MemHandle object)
{
    HANDLE f = ffCreate(path.c_str(), FALSE);
    EXPECT_NE(0u, qmfWriteObjectTree(f, object));
    ffClose(f);
    return qmtest::readFile(path);
}

// The object tree read back from such a file; 0 when it is refused.
MemHandle readBack(const std::string &path)
{
    DWORD size = 0;
    HANDLE f = ffOpenRead(path.c_str(), &size, FALSE);
    int32_t budget = (int32_t)size;
    MemHandle back = qmfReadObjectTree(f, &budget, 0);
    ffClose(f);
    EXPECT_EQ(0, back ? budget : 0) << "the whole record read";
    return back;
}

TEST_F(Factory, ALabelIsWhatTheWriterWritesAndTheReaderReadsBack)
{
    qmtest::TempDir dir;
    qmtest::BoxRecorder boxes;
    long before = qmtest::liveHandles();
    MemHandle label = epCreateObjectFrom(defaults_.get(), 0, OBT_LABEL,
                                         std::vector<POINT>{{100, 100}, {1600, 500}}.data(), 2);
    ASSERT_TRUE(label);
    EXPECT_EQ(OBT_LABEL, obGetType(label));
    EXPECT_EQ(kLabelRecordFixed, txLabelRecordSize(label)) << "the whole record, an empty text";
    const std::vector<uint8_t> first = writtenBytes(dir.file("first.rec"), label);
    MemHandle back = readBack(dir.file("first.rec"));
    ASSERT_TRUE(back) << boxes.texts();
    EXPECT_EQ(OBT_LABEL, obGetType(back));
    EXPECT_EQ(first, writtenBytes(dir.file("second.rec"), back)) << "byte for byte";
    obFreeTree(back);
    obFreeTree(label);
    // A label saved with its head only, as earlier versions made it, comes
    // back as an empty label instead of being lost.
    MemHandle bare = obNewRecord(kObHeadSize);
    {
        ObLock r(bare);
        r->type = OBT_LABEL;
        r->length = kObHeadSize;
    }
    writtenBytes(dir.file("bare.rec"), bare);
    obFreeTree(bare);
    back = readBack(dir.file("bare.rec"));
    ASSERT_TRUE(back) << boxes.texts();
    EXPECT_EQ(kLabelRecordFixed, txLabelRecordSize(back));
    EXPECT_EQ(0u, txGetLabelTextLength(back));
    obFreeTree(back);
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(before, qmtest::liveHandles());
}

TEST(EqualSided, TheEndMakesASquareOnTheStart)
{
    struct {
        POINT start, end, want;
    } cases[] = {
        {{0, 0}, {300, 100}, {100, 100}},  {{0, 0}, {-300, 100}, {-100, 100}},
        {{10, 10}, {5, -40}, {5, 5}},      {{0, 0}, {300, 0}, {0, 0}},
        {{7, 7}, {7, 90}, {7, 7}},
    };
    for (auto &c : cases) {
        POINT out;
        epMakeEqualSided(c.start, c.end, &out);
        EXPECT_TRUE(samePoint(c.want, out)) << c.end.x << "," << c.end.y;
    }
}

TEST(PointMarks, HitsIncludeTheEdgesOfTheHandleSquare)
{
    dmResetModule();
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    POINT pts[3] = {{0, 0}, {1000, 1000}, {1000 + hx, 1000}};
    EXPECT_EQ(0, epPointMarkHit(pts, 3, {hx, -hy}));
    EXPECT_EQ(-1, epPointMarkHit(pts, 3, {hx + 1, 0}));
    EXPECT_EQ(1, epPointMarkHit(pts, 3, {1000 + hx, 1000}));   // the first that holds it
    EXPECT_EQ(2, epPointHitTol(pts, 3, {1000 + hx + 50, 1000}, 50));
    EXPECT_EQ(-1, epPointHitTol(pts, 3, {500, 500}, 10));
}
}  // namespace

namespace {
TEST_F(Factory, VerticalTextAsksForItsFontAndACancelMakesNothing)
{
    long before = qmtest::liveHandles();
    POINT pts[2] = {{0, 0}, {1000, 3000}};
    {
        qmtest::DialogDriver driver({[](HWND dlg) { qmtest::pressButton(dlg, IDCANCEL); }});
        EXPECT_FALSE(epCreateObjectFrom(defaults_.get(), 0, OBT_VERTICAL_TEXT, pts, 2));
        EXPECT_EQ(1u, driver.ran());
    }
    EXPECT_EQ(before, qmtest::liveHandles());

    MemHandle h;
    {
        qmtest::DialogDriver driver({[](HWND dlg) { qmtest::pressButton(dlg, IDOK); }});
        h = epCreateObjectFrom(defaults_.get(), 0, OBT_VERTICAL_TEXT, pts, 2);
    }
    ASSERT_TRUE(h);
    made_.push_back(h);
    ObLock r(h);
    EXPECT_EQ(OBT_TEXT, r->type);
    const uint8_t *font = obRecData(r.get()) + 8;
    LOGFONTA lf;
    memcpy(&lf, font, sizeof lf);
    EXPECT_EQ('@', lf.lfFaceName[0]);
    uint16_t word;
    memcpy(&word, font + sizeof lf, 2);
    EXPECT_TRUE(word & 2);
}
}  // namespace

namespace {
TEST_F(Factory, ACalendarIsLaidOutInTheDraggedBox)
{
    MemHandle cal = make(OBT_CALENDAR, {{1000, 1000}, {8000, 7000}});
    ASSERT_TRUE(cal);
    SYSTEMTIME now;
    GetLocalTime(&now);
    ObLock r(cal);
    EXPECT_EQ(OBT_CALENDAR, r->type);
    EXPECT_EQ(394u, r->length);
    const uint8_t *d = obRecData(r.get());
    auto i16 = [d](uint32_t at) { return utGetAt<int16_t>(d, at); };
    auto i32 = [d](uint32_t at) { return utGetAt<int32_t>(d, at); };
    EXPECT_EQ(308, i32(0));
    EXPECT_EQ(now.wYear, i16(6));
    EXPECT_EQ(now.wMonth - 1, i16(8));
    EXPECT_EQ(1, d[16]);
    EXPECT_EQ(6, d[17]);
    EXPECT_EQ(1, i16(86) & 1);
    EXPECT_EQ(1, d[154]);
    EXPECT_EQ(9, i16(84));
    EXPECT_EQ(9, i16(152));
    EXPECT_EQ(9, i16(218));
    EXPECT_EQ(20, i16(306));
    LOGFONTA title, day;
    memcpy(&title, d + 24, sizeof title);
    memcpy(&day, d + 156, sizeof day);
    EXPECT_EQ(FW_BOLD, title.lfWeight);
    EXPECT_EQ(-200, day.lfHeight);
    EXPECT_STREQ("Arial", day.lfFaceName);
    // Eight parts of 750: title, headings, six week rows.
    int32_t titleH = i32(20), headH = i32(88), body = i32(292);
    EXPECT_EQ(750, titleH);
    EXPECT_EQ(750, headH);
    EXPECT_EQ(0, body % 6);
    RECT box;
    obRecGetRect(r.get(), &box);
    EXPECT_EQ(1000, box.left);
    EXPECT_EQ(1000, box.top);
    EXPECT_EQ(box.top + titleH + headH + body, box.bottom);
    EXPECT_EQ(0, (box.right - box.left) % 7);
    EXPECT_LE(box.bottom, 7000);
}
}  // namespace

namespace {
TEST_F(Factory, ANarrowCalendarWidensForItsNames)
{
    MemHandle cal = make(OBT_CALENDAR, {{0, 0}, {300, 4000}});
    ASSERT_TRUE(cal);
    // Seven weekday names in a 10-point font need far more than 300 twips.
    EXPECT_GT(obGetWidth(cal), 2000);
    EXPECT_EQ(0, obGetWidth(cal) % 7);
}
}  // namespace
