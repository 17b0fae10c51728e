// Page records: paper sizes and default margins, new pages from a
// template, properties, printing paper, page rectangles, names, the object
// list, the page guides and the page-number settings.
#include "tests/model/pg_kit.h"
#include "model/lay_layers.h"
#include "model/pg_margins.h"
#include "model/pg_numbers.h"
#include "model/setup_record.h"
#include "support/ff_file.h"
#include <string.h>
#include <functional>

using pgtest::addObject;
using pgtest::newPage;
using pgtest::textOf;

namespace {

std::string nameOf(MemHandle page)
{
    const char *name = pgGetName(page);
    if (!name)
        return "<none>";
    std::string s = name;
    pgUnlock(page);
    return s;
}

void setPaper(MemHandle page, uint8_t code, uint8_t orientation = 1)
{
    PgLock p(page);
    p.data()->paperCode = code;
    p.data()->orientation = orientation;
}

MemHandle pageOfSize(int32_t width, int32_t height)
{
    MemHandle page = newPage();
    RECT box = {0, 0, width, height};
    obSetRect(page, &box);
    return page;
}

TEST(PaperSizes, CodesGiveInchesAndLandscapeSwapsThem)
{
    struct Case {
        int code, orientation;
        double width, height;
    } cases[] = {
        {0, 1, 8.5, 11},     {0, 2, 11, 8.5},       {1, 1, 8.5, 14},   {4, 1, 17, 11},
        {9, 1, 8.268, 11.69}, {9, 2, 11.69, 8.268},  {10, 1, 3.5, 2},   {21, 1, 4.5, 10.375},
        {56, 1, 8.5, 13},    {58, 2, 17, 11},        {2, 1, 8.5, 11},   {3, 2, 11, 8.5},
        {41, 1, 8.5, 11},    {42, 2, 11, 8.5},       {255, 1, 8.5, 11}, {-1, 1, 8.5, 11},
        {59, 1, 8.5, 11},
    };
    for (const Case &c : cases) {
        double w = 0, h = 0;
        pagePaperSize(c.code, c.orientation, &w, &h);
        EXPECT_DOUBLE_EQ(c.width, w) << c.code << "/" << c.orientation;
        EXPECT_DOUBLE_EQ(c.height, h) << c.code << "/" << c.orientation;
    }
    int count = 0;
    const PgPaperSize *sizes = pgPaperSizes(&count);
    ASSERT_EQ(22, count);
    EXPECT_STREQ("Letter 8 1/2 x 11 in", sizes[0].name);
    EXPECT_STREQ("Business card, 3 1/2 x 2 in", sizes[8].name);
    EXPECT_STREQ("Folio 8 1/2 x 13 ", sizes[19].name);
    EXPECT_EQ(58, sizes[21].code);
    EXPECT_EQ(1, pgIsSpecialKind(41));
    EXPECT_EQ(1, pgIsSpecialKind(255));
    EXPECT_EQ(0, pgIsSpecialKind(42));
}

TEST(PageMargins, DefaultsFollowThePaperCode)
{
    const struct {
        uint8_t code;
        int32_t margin;
    } cases[] = {{0, 1440}, {1, 1440}, {4, 1440}, {2, 360}, {3, 360},
                 {9, 360},  {10, 360}, {41, 360}, {255, 360}};
    for (const auto &c : cases) {
        MemHandle page = newPage();
        setPaper(page, c.code);
        RECT m;
        pgDefaultMargins(page, &m);
        EXPECT_EQ(c.margin, m.left) << (int)c.code;
        EXPECT_TRUE(m.left == m.top && m.top == m.right && m.right == m.bottom);
        EXPECT_EQ(0, pgGetMargins(page, &m));
        page = pgEnsureMargins(page);
        ASSERT_EQ(1, pgGetMargins(page, &m));
        EXPECT_EQ(c.margin, m.bottom) << (int)c.code;
        EXPECT_TRUE(pgIsValid(page));
        pgFreeList(page);
    }
    // Margins a page has are kept.
    MemHandle page = newPage();
    RECT own = {10, 20, 30, 40};
    page = pgSetMargins(page, &own);
    page = pgEnsureMargins(page);
    RECT m;
    pgGetMargins(page, &m);
    EXPECT_EQ(20, m.top);
    EXPECT_EQ(40, m.bottom);
    pgFreeList(page);
}

TEST(PageMargins, RectanglesFromPrinterAndPageMargins)
{
    MemHandle page = newPage();   // 12240 x 15840
    RECT r;
    pgGetInsetRect(page, &r);     // no printer: a quarter inch
    EXPECT_EQ((RECT{360, 360, 11880, 15480}).left, r.left);
    EXPECT_EQ(15480, r.bottom);
    PgRectInches inches;
    pgGetInsetRectInches(page, &inches);
    EXPECT_DOUBLE_EQ(0.25, inches.left);
    EXPECT_DOUBLE_EQ(10.75, inches.bottom);

    EXPECT_EQ(0, pgGetMarginRect(page, &r));
    EXPECT_EQ(12240, r.right);
    EXPECT_EQ(0, pgHasMargins(page));
    RECT wanted = {1000, 2000, 11000, 14000};
    page = pgSetMarginRect(page, &wanted);
    ASSERT_EQ(1, pgGetMarginRect(page, &r));
    EXPECT_TRUE(EqualRect(&wanted, &r));
    RECT m;
    pgGetMargins(page, &m);
    EXPECT_EQ(1240, m.right);
    EXPECT_EQ(1840, m.bottom);
    EXPECT_EQ(1, pgHasMargins(page));
    EXPECT_EQ(1, pgMarginRectIsValid(page));
    EXPECT_EQ(1, pgGetMarginRectInches(page, &inches));
    EXPECT_NEAR(1000 / 1440.0, inches.left, 1e-12);
    EXPECT_EQ(1, pgGetMarginsInches(page, &inches));
    EXPECT_NEAR(1840 / 1440.0, inches.bottom, 1e-12);

    // An empty rectangle changes nothing; margins that leave nothing make
    // the margin rectangle invalid; zero margins are no margins.
    RECT empty = {500, 500, 500, 900};
    EXPECT_EQ(page, pgSetMarginRect(page, &empty));
    pgGetMargins(page, &m);
    EXPECT_EQ(1000, m.left);
    RECT wide = {7000, 0, 7000, 0};
    page = pgSetMargins(page, &wide);
    EXPECT_EQ(0, pgMarginRectIsValid(page));
    RECT none = {0, 0, 0, 0};
    page = pgSetMargins(page, &none);
    EXPECT_EQ(0, pgHasMargins(page));
    pgFreeList(page);

    // A page smaller than the printer margins keeps its own rectangle.
    MemHandle tiny = pageOfSize(500, 500);
    pgGetInsetRect(tiny, &r);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(500, r.right);
    pgFreeList(tiny);
}

TEST(PageMargins, BoundsOfTheObjectsThatMeetTheMarginRectangle)
{
    MemHandle page = newPage();
    RECT margins = {1000, 2000, 1000, 1000};
    page = pgSetMargins(page, &margins);
    RECT bounds;
    EXPECT_EQ(0, pgObjectsBoundsInMargins(page, &bounds));
    addObject(page, nullptr, 0, 0, 500, 500);               // outside
    EXPECT_EQ(0, pgObjectsBoundsInMargins(page, &bounds));
    addObject(page, nullptr, 1500, 2500, 3000, 3000);
    addObject(page, nullptr, 10000, 13000, 12000, 15000);   // reaches out of it
    ASSERT_EQ(1, pgObjectsBoundsInMargins(page, &bounds));
    RECT expected = {1500, 2500, 12000, 15000};
    EXPECT_TRUE(EqualRect(&expected, &bounds));
    pgFreeList(page);
}

TEST(PageRecord, NewPageFromATemplate)
{
    MemHandle object = obtest::make();
    MemHandle tmpl = newPage();
    tmpl = obSetName(tmpl, "T");
    RECT margins = {11, 22, 33, 44};
    tmpl = pgSetMargins(tmpl, &margins);
    tmpl = pgSetFlag64(tmpl, TRUE);
    tmpl = pgSetText80000(tmpl, "not taken over");
    MemHandle palette = obtest::packet(12), side = obtest::packet(8);
    LayerState tmplLayers;
    {
        PgLock p(tmpl);
        ObjectRecord *h = p.head();
        h->penColour = 0x123456;
        h->width = 20000;
        h->layer = 3;
        h->flags |= OBF_NO_BASE_PAGE | OBF_LOCKED;
        PageData *d = p.data();
        d->paperCode = 9;
        d->byte45 = 0;
        memset(d->fieldFormat + 80, 0xAB, 8);
        memset(d->defaultPattern + 8, 0x55, 16);
        d->defaultGradient[1] = 7;
        d->paletteBlock = palette;
        d->sideBlock = side;
        d->firstObject = object;
        d->objectCount = 5;
        d->bodyBytes = d->extrasBytes = 9;
        d->extrasFlags = 0x142;
        d->memoryOnly[0] = 1;
        tmplLayers = d->layers;
    }
    MemHandle page = pgNewRecord(tmpl);
    ASSERT_TRUE(page);
    EXPECT_TRUE(pgIsValid(page));
    {
        PgLock p(page);
        ObjectRecord *h = p.head();
        EXPECT_EQ(0x123456u, h->penColour);
        EXPECT_EQ(20000, h->width);
        EXPECT_EQ(1, h->layer);
        EXPECT_EQ(0, h->nameLength);
        EXPECT_EQ(OBF_LOCKED, h->flags);
        EXPECT_EQ(0u, h->next);
        EXPECT_EQ(kPgRecordSize + (6 + 16) + (6 + 20), h->length);
        PageData *d = p.data();
        EXPECT_EQ(9, d->paperCode);
        EXPECT_EQ(1, d->byte45);
        for (int i = 80; i < 88; ++i)
            EXPECT_EQ(0, d->fieldFormat[i]);
        EXPECT_EQ(0xFF, d->defaultPattern[8]);
        EXPECT_EQ(7, d->defaultGradient[1]);
        EXPECT_EQ(0u, d->paletteBlock);
        EXPECT_EQ(0u, d->sideBlock);
        EXPECT_EQ(0u, d->firstObject);
        EXPECT_EQ(0, d->objectCount);
        EXPECT_EQ(0u, d->bodyBytes);
        EXPECT_EQ(2u, d->extrasFlags);
        EXPECT_EQ(0, d->memoryOnly[0]);
        EXPECT_NE(0u, d->layers.inUse);
        EXPECT_NE(tmplLayers.inUse, d->layers.inUse);
        EXPECT_EQ(1, d->layers.current);
    }
    RECT m;
    ASSERT_EQ(1, pgGetMargins(page, &m));
    EXPECT_EQ(44, m.bottom);
    EXPECT_EQ(1, pgHasFlag64(page));
    EXPECT_EQ("<null>", textOf(pgGetText80000(page)));
    EXPECT_EQ(1, pgShowsBasePage(page));
    EXPECT_EQ(0, pgShowsBasePage(tmpl));
    pgFreeList(page);

    // A template without the flag gives a page without it.
    tmpl = pgSetFlag64(tmpl, FALSE);
    page = pgNewRecord(tmpl);
    EXPECT_EQ(0, pgHasFlag64(page));
    pgFreeList(page);
    pgFreeList(tmpl);
}

TEST(PageRecord, NewPageWithoutATemplateTakesTheSettingsDefaultPage)
{
    MemHandle page = pgNewRecord(0);   // no settings: the defaults
    EXPECT_EQ(12240, obGetWidth(page));
    EXPECT_EQ(0, pgHasMargins(page));
    pgFreeList(page);

    MemHandle kept = pageOfSize(5000, 3000);
    RECT margins = {100, 100, 100, 100};
    kept = pgSetMargins(kept, &margins);
    setAdoptDefaultPage(kept);
    page = pgNewRecord(0);
    EXPECT_EQ(5000, obGetWidth(page));
    EXPECT_EQ(1, pgHasMargins(page));
    pgFreeList(page);
    setAdoptDefaultPage(0);

    // Memory running out while the page is made leaves nothing behind.
    obtest::LiveCount live;
    {
        qmtest::BoxRecorder boxes;
        utFailNextAllocs(1);
        EXPECT_EQ(0u, pgNewRecord(0));
        utFailNextAllocs(0);
    }
    EXPECT_EQ(0, live.leaked());
}

TEST(PageRecord, PropertiesByIdentifier)
{
    MemHandle page = newPage();
    uint8_t byte = 0;
    EXPECT_EQ(1, pgGetProp(page, 7, &byte));
    EXPECT_EQ(1, byte);
    byte = 2;
    pgSetProp(page, 7, &byte);
    uint16_t word = 0;
    pgGetProp(page, 8, &word);
    EXPECT_EQ(3, word);
    word = 180;
    pgGetProp(page, 50, &word);
    EXPECT_EQ(180, word);
    word = 44;
    pgSetProp(page, 49, &word);
    int32_t value = 1234;
    pgSetProp(page, 13, &value);   // set only
    value = -1;
    pgGetProp(page, 13, &value);
    EXPECT_EQ(-1, value);
    byte = 42;
    pgSetProp(page, 15, &byte);    // get only
    uint32_t colour = 0;
    pgGetProp(page, 10, &colour);
    EXPECT_EQ(0xFFFFFFu, colour);
    {
        PgLock p(page);
        EXPECT_EQ(2, p.data()->orientation);
        EXPECT_EQ(44, p.data()->fourWords[3]);
        EXPECT_EQ(1234, p.data()->twoValues[0]);
        EXPECT_EQ(0, p.data()->paperCode);
        p.data()->byte45 = 0;
    }
    pgGetProp(page, 59, &byte);    // 0 reads as the settings value
    EXPECT_EQ(1, byte);
    LOGFONTA font;
    pgGetProp(page, 2, &font);
    EXPECT_STREQ("Arial", font.lfFaceName);
    EXPECT_EQ(1, pgSetProp(page, 99, &value));
    EXPECT_EQ(0, pgGetProp(0, 7, &byte));

    // The whole head and the whole PageData keep the record's own shape
    // and what it owns.
    MemHandle object = obtest::make();
    pgAppendObject(page, object);
    uint8_t head[86];
    pgGetProp(page, 40, head);
    ObjectRecord *h = reinterpret_cast<ObjectRecord *>(head);
    h->width = 777;
    h->length = 3;
    h->nameLength = 9;
    h->next = 0x1234;
    pgSetProp(page, 40, head);
    uint8_t data[408];
    pgGetProp(page, 41, data);
    PageData *d = reinterpret_cast<PageData *>(data);
    d->gridDivisions = 8;
    d->firstObject = 0;
    d->attrs.size = 999;
    pgSetProp(page, 41, data);
    EXPECT_EQ(777, obGetWidth(page));
    EXPECT_EQ(object, pgGetFirstObject(page));
    EXPECT_EQ(0u, obGetNext(page));
    EXPECT_TRUE(pgIsValid(page));
    EXPECT_EQ(8, PgLock(page).data()->gridDivisions);
    pgFreeList(page);
}

TEST(PageRecord, PaperAPageIsPrintedOn)
{
    struct Case {
        uint8_t code, orientation;
        double width, height;   // inches
        int paper, printed;
    } cases[] = {
        {255, 2, 8.5, 11, 0, 1},   {255, 2, 8.5, 14, 1, 1},  {255, 2, 11, 8.5, 0, 2},
        {255, 2, 14, 12, 1, 1},    {255, 2, 20, 20, 0, 2},   {255, 1, 8.5, 11.5, 1, 1},
        {9, 2, 11.69, 8.268, 9, 2}, {41, 1, 8.5, 11, 41, 1}, {3, 1, 8.5, 11, 3, 1},
    };
    for (const Case &c : cases) {
        MemHandle page = pageOfSize((int32_t)(c.width * 1440), (int32_t)(c.height * 1440));
        setPaper(page, c.code, c.orientation);
        int paper = -1, orientation = -1;
        PgPrintLayout layout;
        memset(&layout, 0x77, sizeof(layout));
        pgGetPrintPaper(page, &paper, &orientation, &layout);
        EXPECT_EQ(c.paper, paper) << c.width << " x " << c.height;
        EXPECT_EQ(c.printed, orientation) << c.width << " x " << c.height;
        EXPECT_EQ(obGetWidth(page), layout.grid.pitchX);
        EXPECT_EQ(obGetHeight(page), layout.grid.pitchY);
        EXPECT_EQ(1, layout.grid.columns);
        EXPECT_EQ(0, layout.grid.marginX);
        EXPECT_EQ(0, layout.reserved);
        pgFreeList(page);
    }
    // A label sheet prints its label grid.
    MemHandle page = newPage();
    setPaper(page, PG_PAPER_LABEL);
    LabelSpec spec = {};
    spec.length = sizeof(spec);
    spec.unit = 3;
    spec.marginX = 0.1875;
    spec.labelWidth = 2.625;
    spec.pitchX = 2.75;
    spec.columns = 3;
    spec.rows = 10;
    page = pgSetAttr(page, PGA_LABEL_LAYOUT, &spec, sizeof(spec));
    PgPrintLayout layout;
    int paper, orientation;
    pgGetPrintPaper(page, &paper, &orientation, nullptr);
    EXPECT_EQ(41, paper);
    pgGetPrintPaper(page, &paper, &orientation, &layout);
    EXPECT_EQ(270, layout.grid.marginX);
    EXPECT_EQ(3960, layout.grid.pitchX);
    EXPECT_EQ(10, layout.grid.rows);
    double l, r, t, b;
    EXPECT_EQ(1, pgGetRectInches(page, &l, &r, &t, &b));
    EXPECT_DOUBLE_EQ(8.5, r);
    EXPECT_DOUBLE_EQ(11, b);
    EXPECT_EQ(0, pgGetRectInches(0, &l, &r, &t, &b));
    pgFreeList(page);
}

TEST(PageRecord, NamesFromTheAttributeOrTheObjectName)
{
    MemHandle page = newPage();
    EXPECT_EQ("<none>", nameOf(page));
    page = obSetName(page, "Head");
    EXPECT_EQ("Head", nameOf(page));
    page = pgSetName(page, "Cover");
    EXPECT_EQ("Cover", nameOf(page));
    EXPECT_EQ(0, PgLock(page).head()->nameLength);
    EXPECT_EQ("3. Cover", textOf(pgGetNumberedName(page, 3)));
    EXPECT_EQ("Cover", textOf(pgGetNameCopy(page)));
    char buffer[4];
    EXPECT_EQ(3, pgCopyName(page, buffer, sizeof(buffer)));
    EXPECT_STREQ("Cov", buffer);
    EXPECT_TRUE(pgIsValid(page));
    page = pgSetName(page, "");
    EXPECT_EQ("<none>", nameOf(page));
    EXPECT_EQ("<null>", textOf(pgGetNameCopy(page)));
    EXPECT_EQ("7. ", textOf(pgGetNumberedName(page, 7)));
    EXPECT_TRUE(pgIsValid(page));
    pgFreeList(page);
}

TEST(PageRecord, TextAndBlockAttributes)
{
    MemHandle page = newPage();
    page = pgSetText100000(page, "alpha");
    page = pgSetText10000000(page, "beta");
    page = pgSetText80000(page, "gamma");
    MemHandle block = obtest::packet(10);
    page = pgSetBlock128(page, block);
    page = pgSetBlock20000000(page, "xyz", 3);
    EXPECT_EQ("alpha", textOf(pgGetText100000(page)));
    EXPECT_EQ("beta", textOf(pgGetText10000000(page)));
    EXPECT_EQ("gamma", textOf(pgGetText80000(page)));
    MemHandle copy = pgGetBlock128(page);
    EXPECT_EQ(10u, utGetPacketLength(copy));
    utFreeHandle(copy);
    copy = pgGetBlock20000000(page);
    EXPECT_EQ(0, memcmp("xyz", MemLock<char>(copy).get(), 3));
    utFreeHandle(copy);
    EXPECT_EQ(0u, pgGetAttr16(page));
    {
        MemLock<uint32_t> w(block);
        w[0] = 500;   // longer than its block
    }
    EXPECT_EQ(0u, pgSetBlock128(page, block));
    page = pgSetText80000(page, nullptr);
    EXPECT_EQ("<null>", textOf(pgGetText80000(page)));
    EXPECT_TRUE(pgIsValid(page));
    // A stale length is recomputed from the parts before a store.
    PgLock(page).head()->length = kPgRecordSize;
    page = pgSetText80000(page, "delta");
    ASSERT_TRUE(page);
    EXPECT_TRUE(pgIsValid(page));
    EXPECT_EQ("delta", textOf(pgGetText80000(page)));
    LabelSpec spec;
    EXPECT_EQ(0, pgGetLabelLayout(page, &spec));
    utFreeHandle(block);
    pgFreeList(page);
}

TEST(PageRecord, ObjectList)
{
    MemHandle page = newPage();
    MemHandle a = obtest::make(), b = obtest::make();
    obSetNext(b, a);   // stale links are cleared when appended
    obSetPrev(b, a);
    pgAppendObject(page, a);
    pgAppendObject(page, b);
    std::vector<MemHandle> list = obtest::makeList(2);
    pgAppendObjects(page, list[0]);
    EXPECT_EQ(a, pgGetFirstObject(page));
    EXPECT_EQ(list[1], pgGetLastObject(page));
    EXPECT_EQ((std::vector<MemHandle>{a, b, list[0], list[1]}),
              obtest::listOf(pgGetFirstObject(page)));
    EXPECT_EQ(b, obGetPrev(list[0]));

    MemHandle other = newPage();
    EXPECT_EQ(0u, pgGetLastObject(other));
    std::vector<MemHandle> pair = obtest::makeList(2);
    pgSetFirstObject(other, pair[1]);
    EXPECT_EQ(0u, obGetPrev(pair[1]));
    EXPECT_EQ(pair[1], pgGetFirstObject(other));
    obFreeTree(pair[0]);
    pgFreeList(other);
    pgFreeList(page);
}

// Appending keeps the page's tail; whatever changes the list between
// appends (an object unlinked, deleted or moved to another list, the first
// object replaced) is seen, and the next append goes to the real tail.
TEST(PageRecord, AppendingAfterTheListChangedFindsTheRealTail)
{
    struct Step {
        const char *what;
        std::function<void(MemHandle page, std::vector<MemHandle> &objects)> change;
    };
    const Step steps[] = {
        {"the tail unlinked",
         [](MemHandle page, std::vector<MemHandle> &o) {
             MemHandle tail = o.back();
             pgSetFirstObject(page, obRemoveFromList(pgGetFirstObject(page), tail));
             obFreeTree(tail);
             o.pop_back();
         }},
        {"the tail deleted",
         [](MemHandle, std::vector<MemHandle> &o) {
             obDelete(o.back());
             o.pop_back();
         }},
        {"the tail moved to another list",
         [](MemHandle, std::vector<MemHandle> &o) {
             MemHandle tail = o.back(), elsewhere = obtest::make();
             obUnlink(tail);
             obLinkPair(elsewhere, tail);   // the tail of another list now
             o.pop_back();
             obFreeList(elsewhere);
         }},
        {"a new first object alone",
         [](MemHandle page, std::vector<MemHandle> &o) {
             MemHandle first = obtest::make();
             obFreeList(pgGetFirstObject(page));
             pgSetFirstObject(page, first);
             o.assign(1, first);
         }},
        {"nothing", [](MemHandle, std::vector<MemHandle> &) {}},
    };
    for (const Step &step : steps) {
        MemHandle page = newPage();
        std::vector<MemHandle> objects;
        for (int i = 0; i < 3; ++i) {
            objects.push_back(obtest::make());
            pgAppendObject(page, objects.back());
        }
        step.change(page, objects);
        objects.push_back(obtest::make());
        pgAppendObject(page, objects.back());
        EXPECT_EQ(objects, obtest::listOf(pgGetFirstObject(page))) << step.what;
        EXPECT_EQ(objects.back(), pgGetLastObject(page)) << step.what;
        pgFreeList(page);
    }
}

// Appending many objects one by one to two pages in turn keeps each page's
// list whole and in order.
TEST(PageRecord, AppendingToTwoPagesInTurn)
{
    MemHandle pages[2] = {newPage(), newPage()};
    std::vector<MemHandle> objects[2];
    for (int i = 0; i < 200; ++i) {
        MemHandle h = obtest::make();
        objects[i % 3 == 0].push_back(h);
        pgAppendObject(pages[i % 3 == 0], h);
    }
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(objects[k], obtest::listOf(pgGetFirstObject(pages[k])));
        EXPECT_EQ((int32_t)objects[k].size(), obCountList(pgGetFirstObject(pages[k])));
        EXPECT_EQ(objects[k].back(), obGetListTail(pgGetFirstObject(pages[k])));
        pgFreeList(pages[k]);
    }
}

TEST(PageRecord, GuidesAreDottedFramesOfTheInsetMarginsAndLabels)
{
    const COLORREF guide = RGB(0xC4, 0xC4, 0xC4);
    MemHandle page = pageOfSize(1000, 1000);
    RECT margins = {100, 100, 100, 100};
    page = pgSetMargins(page, &margins);
    {
        qmtest::Dib dib(1000, 1000);
        pgDrawGuides(dib.dc(), page, TRUE, TRUE);
        EXPECT_GT(dib.count(guide, RECT{100, 100, 101, 900}), 100);   // margin frame
        EXPECT_GT(dib.count(guide, RECT{360, 360, 361, 640}), 50);    // inset frame
        EXPECT_EQ(0, dib.count(guide, RECT{0, 0, 1000, 99}));
        EXPECT_EQ(0, dib.count(guide, RECT{101, 101, 359, 359}));
    }
    {
        qmtest::Dib dib(1000, 1000);
        pgDrawGuides(dib.dc(), page, FALSE, FALSE);
        EXPECT_EQ(0, dib.count(guide));
    }

    // A label sheet: every cell, and each cell's margin rectangle; no page
    // margin frame.
    LabelSpec spec = {};
    spec.length = sizeof(spec);
    spec.unit = 3;
    spec.marginX = spec.marginY = 0.0625;               // 90 twips
    spec.labelWidth = spec.labelHeight = 0.25;          // 360
    spec.pitchX = spec.pitchY = 0.3125;                 // 450
    spec.columns = spec.rows = 2;
    spec.flags = LBL_ENTIRE_SHEET;
    RECT cellMargins = {20, 20, 20, 20};
    page = pgSetMargins(page, &cellMargins);
    page = pgSetAttr(page, PGA_LABEL_LAYOUT, &spec, sizeof(spec));
    {
        qmtest::Dib dib(1000, 1000);
        pgDrawGuides(dib.dc(), page, FALSE, TRUE);
        EXPECT_GT(dib.count(guide, RECT{90, 90, 91, 450}), 50);     // first cell
        EXPECT_GT(dib.count(guide, RECT{540, 540, 541, 900}), 50);  // last cell
        EXPECT_GT(dib.count(guide, RECT{110, 110, 111, 430}), 50);  // its margins
        EXPECT_EQ(0, dib.count(guide, RECT{20, 0, 21, 1000}));      // no margin frame
        EXPECT_EQ(0, dib.count(guide, RECT{905, 0, 1000, 1000}));
    }
    // A huge grid from a damaged record is drawn in bounded time.
    spec.columns = spec.rows = 0x7FFFFFFF;
    page = pgSetAttr(page, PGA_LABEL_LAYOUT, &spec, sizeof(spec));
    {
        qmtest::Dib dib(100, 100);
        pgDrawGuides(dib.dc(), page, FALSE, FALSE);
    }
    // With the grid off only the inset shows (no margins of a label sheet).
    spec.columns = spec.rows = 2;
    spec.flags = 0;
    page = pgSetAttr(page, PGA_LABEL_LAYOUT, &spec, sizeof(spec));
    {
        qmtest::Dib dib(1000, 1000);
        pgDrawGuides(dib.dc(), page, FALSE, TRUE);
        EXPECT_EQ(0, dib.count(guide));
    }
    pgFreeList(page);
}

TEST(PageRecord, GridCellsAndDivisionsOfTheCurrentPage)
{
    int32_t x = 0, y = 0;
    pgGridCellSize(16, &x, &y);
    EXPECT_EQ(90, x);
    EXPECT_EQ(90, y);
    pgGridCellSize(7, &x, &y);
    EXPECT_EQ(206, x);   // 205.71 rounded
    MemHandle form = pgtest::docWithPages({"a"});
    fmSetCurrentPage(form, 0);
    pgtest::Workspace ws(form);
    EXPECT_EQ(16, pgGetGridDivisions(ws));
    pgSetGridDivisions(ws, 10);
    EXPECT_EQ(10, pgGetGridDivisions(ws));
    EXPECT_EQ(0, pgGetGridDivisions(nullptr));
    fmFree(form);
}

TEST(PageRecord, SplittingTheFirstLineOff)
{
    char first[8], rest[8];
    utSplitFirstLine("one\ntwo\nthree", first, sizeof(first), rest, sizeof(rest));
    EXPECT_STREQ("one", first);
    EXPECT_STREQ("two\nthr", rest);
    utSplitFirstLine("a single line", first, sizeof(first), rest, sizeof(rest));
    EXPECT_STREQ("a singl", first);
    EXPECT_STREQ("", rest);
    utSplitFirstLine("\nb", first, sizeof(first), rest, sizeof(rest));
    EXPECT_STREQ("", first);
    EXPECT_STREQ("b", rest);
}

TEST(PageNumbers, SettingsAreReadOnlyWhenWhole)
{
    MemHandle form = fmNew();
    PageNumberSettings settings = {};
    EXPECT_EQ(0, pgGetNumberSettings(form, &settings));
    EXPECT_FALSE(fmHasNumberSettings(form));
    settings.placement = 2;
    settings.horizontal = 4;
    strcpy(settings.font.lfFaceName, "Arial");
    form = pgSetNumberSettings(form, &settings);
    EXPECT_TRUE(fmHasNumberSettings(form));
    PageNumberSettings read = {};
    EXPECT_EQ(1, pgGetNumberSettings(form, &read));
    EXPECT_EQ(80u, read.length);
    EXPECT_EQ(4, read.horizontal);
    EXPECT_STREQ("Arial", read.font.lfFaceName);
    settings.placement = 0;
    form = pgSetNumberSettings(form, &settings);
    EXPECT_EQ(0, pgGetNumberSettings(form, &read));
    EXPECT_EQ(0, read.placement);   // copied, but off
    uint8_t shorter[60] = {60};
    form = fmSetAttr(form, FM_TAG_NUMBER_SETTINGS, shorter, sizeof(shorter));
    read.placement = 9;
    EXPECT_EQ(0, pgGetNumberSettings(form, &read));
    EXPECT_EQ(9, read.placement);   // not copied
    form = pgSetNumberSettings(form, nullptr);
    EXPECT_FALSE(fmHasNumberSettings(form));
    fmFree(form);
}

TEST(PageRecord, AppendingOneObjectKeepsWhatItOwns)
{
    const long start = utLiveHandleCount();
    MemHandle page = newPage();
    MemHandle first = obtest::make(), second = obtest::make();
    MemHandle group = obNewGroup(OBT_GROUP, first, second, (MemHandle)0);
    ASSERT_NE(0u, group);
    MemHandle extra = utHandleFromBytes("\x08\0\0\0data", 8);
    MemHandle attached = obtest::make();
    {
        ObLock r(group);
        r->extraData = extra;
        r->attached = attached;
        // Stale list and owner links of wherever it was before.
        r->prev = first;
        r->next = second;
        r->parent = second;
        r->nextMember = first;
    }
    obSetParent(attached, group);
    pgAppendObject(page, obtest::make());
    pgAppendObject(page, group);
    std::vector<MemHandle> list = obtest::listOf(pgGetFirstObject(page));
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ(group, list[1]);
    EXPECT_EQ(list[0], obGetPrev(group));
    EXPECT_EQ(0u, obGetNext(group));
    EXPECT_EQ(0u, obGetParent(group));
    EXPECT_EQ(0u, obGetNextMember(group));
    EXPECT_EQ(first, obGetFirstMember(group)) << "a group keeps its members";
    EXPECT_EQ(second, obGetNextMember(first));
    EXPECT_EQ(group, obGetParent(second));
    EXPECT_EQ(extra, obGetExtraData(group));
    EXPECT_EQ(attached, obGetAttached(group));

    // Freeing the page frees all of it: nothing was cut loose.
    pgFreeList(page);
    EXPECT_EQ(start, utLiveHandleCount());
}

}  // namespace
