// Page rendering into DIB sections: the background, the base page, the
// page's shadow style, the background record and its damaged forms, and
// the page numbers. Drawn at 25 percent of 96 pixels to the inch: one inch
// (1440 twips) is 24 pixels, the letter page 204 x 264 pixels.
#include "tests/model/pg_kit.h"
#include "model/lay_layers.h"
#include "model/ob_draw.h"
#include "model/ob_shadow.h"
#include "model/pg_margins.h"
#include "model/pg_numbers.h"
#include "model/pg_palette.h"
#include "model/pg_render.h"
#include "links/doc_names.h"
#include "objects/img_io.h"
#include "support/dm_map.h"
#include "support/ut_column.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255),
               kGrey = RGB(128, 128, 128), kDesk = RGB(10, 20, 30), kYellow = RGB(255, 255, 0),
               kBlack = RGB(0, 0, 0);
const int32_t kInch = 1440;
const int kInchPx = 24;

using pgtest::square;

void setPageColour(MemHandle page, COLORREF colour)
{
    PgLock p(page);
    p.data()->pageColour = colour;
}

class Render : public ::testing::Test {
protected:
    Render() : dib_(240, 300, kDesk)
    {
        dmResetModule();
        layResetGlobal();
        dmSetZoomDC(dib_.dc(), 25);
        dmSetMapping(dib_.dc());
        form_ = fmNew();
        page_ = pgtest::newPage("one");
        pgDirAppend(form_, page_);
    }
    ~Render() override
    {
        fmFree(form_);
        dmResetModule();
    }
    int render(BOOL printing = FALSE, BOOL number = FALSE, int n = 1, MemHandle page = 0)
    {
        return pgRender(nullptr, dib_.dc(), form_, page ? page : page_, n, nullptr, FALSE, FALSE,
                        number, FALSE, printing);
    }
    qmtest::Dib dib_;
    MemHandle form_ = 0;
    MemHandle page_ = 0;
};

// ---- page colour and background ------------------------------------------------------------------

TEST_F(Render, PageColourIsFilledOnScreenAndWhenPrintingOnlyWhenNotWhite)
{
    struct Case {
        const char *name;
        COLORREF colour;
        BOOL printing;
        bool printsBackgrounds;
        COLORREF expect;
    } cases[] = {
        {"white on screen", kWhite, FALSE, true, kWhite},
        {"white printed", kWhite, TRUE, true, kDesk},
        {"yellow on screen", kYellow, FALSE, false, kYellow},
        {"yellow printed with backgrounds", kYellow, TRUE, true, kYellow},
        {"yellow printed without backgrounds", kYellow, TRUE, false, kDesk},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        dib_.fill(kDesk);
        setPageColour(page_, c.colour);
        fmSetOptions(form_, c.printsBackgrounds ? FM_OPT_PRINT_BACKGROUNDS : 0);
        EXPECT_EQ(1, render(c.printing));
        EXPECT_EQ(c.expect, dib_.pixel(100, 130));
        EXPECT_EQ(c.expect, dib_.pixel(1, 1));
        EXPECT_EQ(c.expect, dib_.pixel(203, 263));
        EXPECT_EQ(kDesk, dib_.pixel(205, 130));   // beyond the page
    }
}

TEST_F(Render, PageObjectsDrawOverTheBasePageUnlessThePageHidesIt)
{
    MemHandle base = pgtest::newPage();
    pgAppendObject(base, square(kInch, kInch, kInch, kRed));
    fmSetBasePage(form_, base);
    pgAppendObject(page_, square(kInch + kInch / 2, kInch, kInch, kBlue));

    render();
    EXPECT_EQ(kRed, dib_.pixel(kInchPx + 4, kInchPx + 12));
    EXPECT_EQ(kBlue, dib_.pixel(kInchPx + 20, kInchPx + 12));   // the page's object on top
    EXPECT_EQ(kWhite, dib_.pixel(10, 10));

    pgSetShowsBasePage(page_, FALSE);
    dib_.fill(kDesk);
    render();
    EXPECT_EQ(kWhite, dib_.pixel(kInchPx + 4, kInchPx + 12));
    EXPECT_EQ(kBlue, dib_.pixel(kInchPx + 20, kInchPx + 12));
}

TEST_F(Render, BandPrintingWhilePrintingDrawsNothing)
{
    pgAppendObject(page_, square(0, 0, kInch, kRed));
    EXPECT_EQ(1, pgRender(nullptr, dib_.dc(), form_, page_, 1, nullptr, FALSE, FALSE, FALSE, TRUE,
                          TRUE));
    EXPECT_EQ(240 * 300, dib_.count(kDesk));
}

TEST_F(Render, AllZeroShadowStyleDrawsTheDefaultShadowAndThePageKeepsIt)
{
    MemHandle h = square(kInch, kInch, kInch, kRed);
    obSetFlags(h, OBF_SHADOW, TRUE);
    pgAppendObject(page_, h);
    ShadowStyle before = {7, 9, kBlue};
    obSetShadowStyle(&before);

    render();
    // 100 twips is 1.67 pixels: the shadow shows right of and below the square.
    EXPECT_EQ(kGrey, dib_.pixel(2 * kInchPx + 1, kInchPx + 12));
    EXPECT_EQ(kGrey, dib_.pixel(kInchPx + 12, 2 * kInchPx + 1));
    EXPECT_EQ(kRed, dib_.pixel(kInchPx + 12, kInchPx + 12));
    // The page's style is as stored, and the style in force before is back.
    uint8_t stored[8];
    pgGetProp(page_, 57, stored);
    EXPECT_EQ(std::vector<uint8_t>(8, 0), std::vector<uint8_t>(stored, stored + 8));
    int32_t dx, dy;
    obGetShadowOffset(&dx, &dy);
    EXPECT_EQ(7, dx);
    EXPECT_EQ(9, dy);
    EXPECT_EQ(kBlue, obGetShadowColour());
    ShadowStyle none = {};
    obSetShadowStyle(&none);
}

TEST_F(Render, ObjectBackgroundTilesTheAreaOrDrawsOverTheColour)
{
    pgtest::Workspace ws(form_);
    pgAppendObject(page_, square(0, 0, kInch / 2, kRed, "Tile"));
    setPageColour(page_, kYellow);
    struct Case {
        const char *name;
        uint16_t tiling;
        uint16_t area;
        COLORREF farCorner;   // far from the object itself
    } cases[] = {
        {"tiled over the page in place of the colour", 0, PG_BGAREA_PAGE, kRed},
        {"one centred copy over the colour", OB_TILE_CENTRE, PG_BGAREA_PAGE, kYellow},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MemHandle bg = pgNewBackground(PG_BACKGROUND_OBJECT, c.tiling, 0, "tile", 4);
        {
            MemLock<PageBackground> p(bg);
            p->area = c.area;
        }
        page_ = pgSetBackground(page_, bg);
        utFreeHandle(bg);
        ASSERT_NE(0u, page_);
        pgDirSetPages(fmGetDirectory(form_), page_, 0);
        dib_.fill(kDesk);
        EXPECT_EQ(1, pgDrawBackground(ws, dib_.dc(), page_, FALSE, FALSE));
        EXPECT_EQ(c.farCorner, dib_.pixel(200, 260));
    }
    // The centred copy.
    EXPECT_EQ(kRed, dib_.pixel(102, 132));
}

TEST_F(Render, UnloadablePictureDrawsTheColourAndKeepsTheName)
{
    qmtest::TempDir dir;
    std::string missing = dir.file("missing.bmp");
    std::string damaged = dir.file("damaged.bmp");
    ASSERT_TRUE(qmtest::writeFile(damaged, std::string("BM not a picture")));
    pgtest::Workspace ws(form_);
    setPageColour(page_, kYellow);
    for (const std::string &name : {missing, damaged}) {
        SCOPED_TRACE(name);
        MemHandle bg = pgNewBackground(PG_BACKGROUND_PICTURE, 0, 0, name.c_str(),
                                       (uint32_t)name.size());
        page_ = pgSetBackground(page_, bg);
        utFreeHandle(bg);
        pgDirSetPages(fmGetDirectory(form_), page_, 0);
        dib_.fill(kDesk);
        EXPECT_EQ(1, pgDrawBackground(ws, dib_.dc(), page_, FALSE, FALSE));
        EXPECT_EQ(kYellow, dib_.pixel(100, 130));
        MemHandle kept = pgGetBackground(page_);
        EXPECT_EQ(name, pgtest::textOf(pgGetBackgroundFile(kept)));
        utFreeHandle(kept);
    }
}

// A 2 x 3 pixel 24-bit BMP file.
std::string smallBmp()
{
    const int w = 2, h = 3, pitch = 8;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + pitch * h;
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = pitch * h;
    std::string s(reinterpret_cast<const char *>(&fh), sizeof fh);
    s.append(reinterpret_cast<const char *>(&ih), sizeof ih);
    s.append(pitch * h, '\x40');
    return s;
}

TEST_F(Render, LoadablePictureTakesThePlaceOfTheColourFill)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(qmtest::writeFile(dir.file("pic.bmp"), smallBmp()));
    // Named relative to the document's folder.
    fmSetFilePath(form_, dir.file("doc.qm").c_str());
    pgtest::Workspace ws(form_);
    setPageColour(page_, kYellow);
    MemHandle bg = pgNewBackground(PG_BACKGROUND_PICTURE, 0, 0, " pic.bmp ", 9);
    page_ = pgSetBackground(page_, bg);
    utFreeHandle(bg);
    pgDirSetPages(fmGetDirectory(form_), page_, 0);
    EXPECT_EQ(1, pgDrawBackground(ws, dib_.dc(), page_, FALSE, FALSE));
    EXPECT_EQ(kDesk, dib_.pixel(100, 130));   // no colour fill under the picture

    ImgIoRequest req = {};
    std::string path = dir.file("pic.bmp");
    req.fileName = path.c_str();
    req.action = IMG_ACTION_LOAD_OBJECT;
    ASSERT_EQ(1, imgIoDispatch(&req));
    EXPECT_EQ(2, req.pixelWidth);
    EXPECT_EQ(3, req.pixelHeight);
    {
        ObLock r(req.object);
        ASSERT_TRUE(r);
        EXPECT_EQ(60, r->type);
        EXPECT_EQ(30, r->width);
        EXPECT_EQ(45, r->height);
    }
    obFreeTree(req.object);
    ImgIoRequest none = {};
    none.action = IMG_ACTION_LOAD_OBJECT;
    EXPECT_EQ(0, imgIoDispatch(&none));
    EXPECT_STREQ("No file name", imgIoErrorText(none.error));
    none.action = 12;
    EXPECT_EQ(0, imgIoDispatch(&none));
    EXPECT_STREQ("Unknown action reqest", imgIoErrorText(none.error));
}

TEST_F(Render, MirroredPagesMirrorFlaggedBasePageObjectsForTheDrawingOnly)
{
    MemHandle base = pgtest::newPage();
    MemHandle flagged = square(0, 0, kInch, kRed);
    obSetFlags(flagged, 0x80000, TRUE);
    pgAppendObject(base, flagged);
    pgAppendObject(base, square(0, 5 * kInch, kInch, kBlue));
    fmSetBasePage(form_, base);
    // Facing pages, mode 1, first page number 0: odd indexes are mirrored.
    uint8_t facing[10] = {10, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    MemHandle rec = utHandleFromBytes(facing, sizeof facing);
    form_ = fmSetFacingPages(form_, rec);
    utFreeHandle(rec);
    struct Case {
        uint16_t index;
        bool mirrored;
    } cases[] = {{0, false}, {1, true}, {2, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.index);
        {
            PgLock p(base);
            p.data()->pageIndex = c.index;
        }
        dib_.fill(kDesk);
        render();
        // The page is 12240 twips (204 pixels) wide.
        EXPECT_EQ(c.mirrored ? kWhite : kRed, dib_.pixel(12, 12));
        EXPECT_EQ(c.mirrored ? kRed : kWhite, dib_.pixel(192, 12));
        EXPECT_EQ(kBlue, dib_.pixel(12, 5 * kInchPx + 12));   // not flagged: in place
        RECT r;
        obGetRect(flagged, &r);
        EXPECT_EQ(0, r.left);   // put back after drawing
    }
}

TEST_F(Render, PrintingLeavesOutMarkedObjectsAndTheFrameIsOptional)
{
    MemHandle marked = square(kInch, kInch, kInch, kRed);
    obSetFlags(marked, OBF_LEAVE_OUT, TRUE);
    pgAppendObject(page_, marked);
    fmSetOptions(form_, FM_OPT_PRINT_BACKGROUNDS);
    render(TRUE);
    EXPECT_EQ(kDesk, dib_.pixel(kInchPx + 12, kInchPx + 12));
    EXPECT_FALSE(obGetLeaveOutMode());
    render(FALSE);
    EXPECT_EQ(kRed, dib_.pixel(kInchPx + 12, kInchPx + 12));
    EXPECT_EQ(kWhite, dib_.pixel(0, 100));
    pgRender(nullptr, dib_.dc(), form_, page_, 1, nullptr, FALSE, TRUE, FALSE, FALSE, FALSE);
    EXPECT_EQ(kBlack, dib_.pixel(0, 100));
}

TEST_F(Render, ThePagesLayerStateIsInForceWhileItDraws)
{
    // The page hides layer 2.
    LayerState pageLayers, saved, back;
    layInitState(&pageLayers);
    laySwapState(&saved, &pageLayers);
    layAddInUse(2);
    layAddHidden(2);
    layGetGlobalState(&pageLayers);
    laySwapState(&back, &saved);
    {
        PgLock p(page_);
        p.data()->layers = pageLayers;
    }
    MemHandle hidden = square(0, 0, kInch, kRed);
    {
        ObLock r(hidden);
        r->layer = 2;
    }
    pgAppendObject(page_, hidden);
    pgAppendObject(page_, square(2 * kInch, 0, kInch, kBlue));
    render();
    EXPECT_EQ(kWhite, dib_.pixel(12, 12));
    EXPECT_EQ(kBlue, dib_.pixel(2 * kInchPx + 12, 12));
    // The state in force before is back: layer 2 is not hidden there.
    EXPECT_EQ(0, layIsHidden(2));
}

// ---- the background record -----------------------------------------------------------------------

TEST(PageBackground, RecordRoundTripsThroughThePage)
{
    MemHandle bg = pgNewBackground(PG_BACKGROUND_PICTURE, 3, 7, "C:\\pics\\sky.jpg", 15);
    EXPECT_EQ(42u + 15, utHandleSize(bg) >= 57 ? 57u : 0u);
    {
        MemLock<PageBackground> p(bg);
        EXPECT_EQ(57u, p->length);
        EXPECT_EQ(208, p->id);
        EXPECT_EQ(3, p->tiling);
        EXPECT_EQ(7, p->spare);
        EXPECT_EQ(15u, p->nameBytes);
    }
    EXPECT_EQ("C:\\pics\\sky.jpg", pgtest::textOf(pgGetBackgroundFile(bg)));
    MemHandle page = pgtest::newPage();
    page = pgSetBackground(page, bg);
    MemHandle back = pgGetBackground(page);
    char name[64];
    EXPECT_EQ(15, pgGetBackgroundName(back, name, sizeof name));
    EXPECT_STREQ("C:\\pics\\sky.jpg", name);
    utFreeHandle(back);
    utFreeHandle(bg);

    MemHandle object = pgNewBackground(PG_BACKGROUND_OBJECT, 0, 0, "Logo", 4);
    EXPECT_EQ(0u, pgGetBackgroundFile(object));   // only pictures name a file
    utFreeHandle(object);
    EXPECT_EQ(0u, pgNewBackground(PG_BACKGROUND_PICTURE, 0, 0, "x", kPgBackgroundMaxName + 1));
    pgFreeList(page);
}

TEST(PageBackground, DamagedRecordsAreRefusedAndDrawOnlyTheColour)
{
    auto record = [](uint32_t length, uint16_t id, uint32_t nameBytes, size_t nameHeld) {
        std::vector<uint8_t> bytes(sizeof(PageBackground) + nameHeld, 'n');
        PageBackground bg = {};
        bg.length = length;
        bg.id = id;
        bg.kind = PG_BACKGROUND_OBJECT;
        bg.nameBytes = nameBytes;
        memcpy(bytes.data(), &bg, sizeof bg);
        return bytes;
    };
    struct Case {
        const char *name;
        std::vector<uint8_t> bytes;
        bool valid;
    } cases[] = {
        {"whole", record(46, 208, 4, 4), true},
        {"name longer than the attribute", record(46, 208, 40, 4), false},
        {"name length near 4 GB", record(46, 208, 0xFFFFFFF0u, 4), false},
        {"stored length disagrees", record(60, 208, 4, 4), false},
        {"wrong id", record(46, 209, 4, 4), false},
        {"shorter than the fixed part", std::vector<uint8_t>(30, 0), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.valid ? 1 : 0, pgIsValidBackground(c.bytes.data(), (uint32_t)c.bytes.size()));
        MemHandle page = pgtest::newPage();
        MemHandle obj = square(0, 0, kInch, kRed, "nnnn");
        pgAppendObject(page, obj);
        page = pgSetAttr(page, PGA_BACKGROUND, c.bytes.data(), (int)c.bytes.size());
        MemHandle form = fmNew();
        pgDirAppend(form, page);
        pgtest::Workspace ws(form);
        MemHandle got = pgGetBackground(page);
        EXPECT_EQ(c.valid, got != 0);
        utFreeHandle(got);
        setPageColour(page, kYellow);
        qmtest::Dib dib(60, 60, kDesk);
        dmResetModule();
        dmSetZoomDC(dib.dc(), 25);
        dmSetMapping(dib.dc());
        EXPECT_EQ(1, pgDrawBackground(ws, dib.dc(), page, FALSE, FALSE));
        // A valid record tiles the named red square over the page.
        EXPECT_EQ(c.valid ? kRed : kYellow, dib.pixel(30, 30));
        fmFree(form);
        dmResetModule();
    }
    // A damaged record is not stored.
    std::vector<uint8_t> bad = record(46, 208, 40, 4);
    MemHandle h = utHandleFromBytes(bad.data(), (uint32_t)bad.size());
    MemHandle page = pgtest::newPage();
    EXPECT_EQ(0u, pgSetBackground(page, h));
    utFreeHandle(h);
    pgFreeList(page);
}

// ---- page numbers -------------------------------------------------------------------------------

PageNumberSettings numberSettings(uint16_t placement, uint16_t horizontal, uint16_t style = 0,
                                  int16_t offset = 0, uint16_t flags = 0)
{
    PageNumberSettings s = {};
    s.length = sizeof s;
    s.placement = placement;
    s.horizontal = horizontal;
    s.numberStyle = style;
    s.offset = offset;
    s.flags = flags;
    s.font.lfHeight = -240;   // 12 points in twips
    strcpy(s.font.lfFaceName, "Arial");
    return s;
}

TEST(PageNumbers, PlacementFollowsTheStyleAndTheUnshiftedNumber)
{
    MemHandle page = pgtest::newPage();
    RECT m = {1440, 1440, 1440, 1440};
    page = pgSetMargins(page, &m);
    RECT margins, inset;
    pgGetMarginRect(page, &margins);
    pgGetInsetRect(page, &inset);
    const int32_t w = 600, h = 300;
    enum Where { LEFT, CENTRE, RIGHT };
    struct Case {
        uint16_t horizontal;
        int16_t offset;
        int number;
        Where where;
    } cases[] = {
        {4, 0, 1, LEFT}, {4, 0, 2, RIGHT}, {4, 1, 1, LEFT}, {4, 1, 2, RIGHT},
        {5, 0, 1, RIGHT}, {5, 0, 2, LEFT}, {2, 0, 2, LEFT}, {3, 0, 1, RIGHT},
        {1, 0, 1, CENTRE}, {9, 0, 1, CENTRE},
    };
    for (const Case &c : cases) {
        PageNumberSettings s = numberSettings(2, c.horizontal, 0, c.offset);
        RECT r;
        ASSERT_EQ(1, pgPlaceNumber(page, c.number, &s, w, h, &r));
        SCOPED_TRACE(testing::Message() << "style " << c.horizontal << " page " << c.number);
        EXPECT_EQ(w, r.right - r.left);
        if (c.where == LEFT)
            EXPECT_EQ(margins.left, r.left);
        else if (c.where == RIGHT)
            EXPECT_EQ(margins.right, r.right);
        else
            EXPECT_EQ((margins.left + margins.right - w) / 2, r.left);
    }
    // Top: 14 points below the inset top when the margin leaves room;
    // bottom likewise above the inset bottom.
    PageNumberSettings top = numberSettings(1, 1);
    RECT r;
    pgPlaceNumber(page, 1, &top, w, h, &r);
    EXPECT_EQ(std::max<int32_t>(std::min<int32_t>(inset.top + 280, margins.top - h), inset.top),
              r.top);
    EXPECT_EQ(r.top + h, r.bottom);
    PageNumberSettings bottom = numberSettings(2, 1);
    pgPlaceNumber(page, 1, &bottom, w, h, &r);
    EXPECT_EQ(inset.bottom - 280, r.bottom);
    EXPECT_EQ(r.bottom - h, r.top);
    PageNumberSettings off = numberSettings(0, 1);
    EXPECT_EQ(0, pgPlaceNumber(page, 1, &off, w, h, &r));
    pgFreeList(page);
}

TEST(PageNumbers, TextByNumberStyle)
{
    struct Case {
        uint16_t style;
        int16_t offset;
        int number;
        const char *text;
    } cases[] = {
        {0, 0, 3, "3"}, {1, 10, 3, "13"}, {2, 0, 3, ""}, {3, 0, 3, ""},
        {4, 0, 1, "a"}, {4, 0, 27, "aa"}, {5, 0, 28, "AB"}, {5, 1, 26, "AA"},
        {4, -1, 1, ""},
    };
    for (const Case &c : cases) {
        PageNumberSettings s = numberSettings(1, 1, c.style, c.offset);
        char text[32];
        pgNumberText(&s, c.number, text, sizeof text);
        EXPECT_STREQ(c.text, text) << "style " << c.style << " number " << c.number;
    }
}

TEST(PageNumbers, ColumnNames)
{
    struct Case {
        int32_t n;
        const char *upper;
    } cases[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {53, "BA"},
                 {702, "ZZ"}, {703, "AAA"}, {0, ""}, {-5, ""}};
    for (const Case &c : cases) {
        char buf[16];
        EXPECT_EQ((int)strlen(c.upper), utColumnName(buf, c.n, sizeof buf));
        EXPECT_STREQ(c.upper, buf) << c.n;
    }
    char lower[16];
    utColumnNameLower(lower, 731, sizeof lower);
    EXPECT_STREQ("abc", lower);
    char tiny[3];
    EXPECT_EQ(2, utColumnName(tiny, 703, sizeof tiny));   // cut to the buffer
}

TEST_F(Render, NumbersAlternateSidesAndASinglePageMayShowNone)
{
    RECT m = {1440, 1440, 1440, 1440};
    page_ = pgSetMargins(page_, &m);
    pgDirSetPages(fmGetDirectory(form_), page_, 0);
    MemHandle second = pgtest::newPage("two");
    second = pgSetMargins(second, &m);
    pgDirAppend(form_, second);
    PageNumberSettings s = numberSettings(2, 4);
    s.font.lfHeight = -480;
    form_ = pgSetNumberSettings(form_, &s);

    // Pixels of the number on the white page, in the left and the right
    // half of its bottom band or on the whole page. The text is smoothed on
    // some machines (a small glyph may then have no pure black pixel, nor
    // even a dark one), so any pixel that is not the page's white counts.
    auto inkIn = [&](int left, int right, int top = 200) {
        int n = 0;
        for (int y = top; y < 264; ++y)
            for (int x = left; x < right; ++x)
                n += dib_.pixel(x, y) != kWhite;
        return n;
    };
    render(FALSE, TRUE, 1, page_);
    EXPECT_GT(inkIn(0, 102), 0);
    EXPECT_EQ(0, inkIn(102, 204));
    dib_.fill(kDesk);
    render(FALSE, TRUE, 2, second);
    EXPECT_EQ(0, inkIn(0, 102));
    EXPECT_GT(inkIn(102, 204), 0);

    RECT r;
    EXPECT_EQ(1, pgGetNumberRect(nullptr, dib_.dc(), form_, page_, 1, &r));
    EXPECT_EQ(1440, r.left);

    // One page and flag bit 0: no number.
    MemHandle lone = fmNew();
    MemHandle only = pgtest::newPage("only");
    only = pgSetMargins(only, &m);
    pgDirAppend(lone, only);
    s.flags = 1;
    lone = pgSetNumberSettings(lone, &s);
    dib_.fill(kDesk);
    pgRender(nullptr, dib_.dc(), lone, only, 1, nullptr, FALSE, FALSE, TRUE, FALSE, FALSE);
    EXPECT_EQ(0, inkIn(0, 204, 0));
    EXPECT_EQ(0, pgGetNumberRect(nullptr, dib_.dc(), lone, only, 1, &r));
    // Without the flag the lone page shows its number.
    s.flags = 0;
    lone = pgSetNumberSettings(lone, &s);
    pgRender(nullptr, dib_.dc(), lone, only, 1, nullptr, FALSE, FALSE, TRUE, FALSE, FALSE);
    EXPECT_GT(inkIn(0, 204, 0), 0);
    fmFree(lone);
}

// ---- services ------------------------------------------------------------------------------------

TEST(PageRenderServices, LinkedNamesResolveAgainstTheDocumentsFolder)
{
    MemHandle form = fmNew();
    fmSetFilePath(form, "C:\\docs\\report.qm");
    pgtest::Workspace ws(form);
    EXPECT_EQ("C:\\docs\\pic.bmp", pgtest::textOf(docResolveFileName(ws, "  pic.bmp ")));
    EXPECT_EQ("D:\\art\\sky.png", pgtest::textOf(docResolveFileName(ws, "D:\\art\\sky.png")));
    EXPECT_EQ("<null>", pgtest::textOf(docResolveFileName(ws, "   ")));
    pgtest::Workspace bare;
    EXPECT_EQ("pic.bmp", pgtest::textOf(docResolveFileName(bare, "pic.bmp")));
    fmFree(form);
}

TEST(PageRenderServices, PagePaletteRecordsAreChecked)
{
    auto block = [](uint32_t size, uint16_t count, size_t colours) {
        std::vector<uint8_t> b(10 + 4 * colours, 0x33);
        PagePaletteHead head = {size, 64, count};
        memcpy(b.data(), &head, sizeof head);
        return utHandleFromBytes(b.data(), (uint32_t)b.size());
    };
    struct Case {
        uint32_t size;
        uint16_t count;
        size_t colours;
        int entries;   // 0: refused
    } cases[] = {{18, 2, 2, 2}, {18, 2, 1, 0}, {14, 2, 2, 0}, {10, 0, 0, 0}, {1034, 256, 256, 256}};
    for (const Case &c : cases) {
        MemHandle h = block(c.size, c.count, c.colours);
        HPALETTE pal = pvCreatePagePalette(h);
        EXPECT_EQ(c.entries != 0, pal != nullptr) << c.size << " " << c.count;
        if (pal) {
            EXPECT_EQ((UINT)c.entries, GetPaletteEntries(pal, 0, 0, nullptr));
            DeleteObject(pal);
        }
        utFreeHandle(h);
    }
    EXPECT_EQ(nullptr, pvCreatePagePalette(0));
}

}  // namespace
