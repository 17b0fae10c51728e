// Fills on real pixels: solid fills and outlines, hatching (spacing, styles,
// clipping to the shape, the outline rule), pattern brushes that stay fixed
// to their shape, blank and damaged patterns and the pattern bitmap.
#include "tests/objects/fill_kit.h"
#include "support/ut_mem.h"
#include <vector>

using namespace filltest;

namespace {

class Fills : public FillTest {};

TEST_F(Fills, ARedRectangleHasARedInsideAndABlackOutlineOnEveryEdge)
{
    Page page(60, 60);
    MemHandle h = box(OBT_RECTANGLE, 10, 10, 50, 40);
    page.draw(h);
    EXPECT_EQ(39 * 29, page.in(kRed, 11, 11, 50, 40)) << "the inside is red";
    EXPECT_EQ(31, page.in(kBlack, 50, 10, 51, 41)) << "the right edge is covered";
    EXPECT_EQ(41, page.in(kBlack, 10, 40, 51, 41)) << "the bottom edge is covered";
    EXPECT_EQ(41, page.in(kBlack, 10, 10, 51, 11));
    EXPECT_EQ(31, page.in(kBlack, 10, 10, 11, 41));
    EXPECT_EQ(0, page.in(kRed, 0, 0, 60, 10) + page.in(kRed, 0, 41, 60, 60));
    obFreeTree(h);
}

TEST_F(Fills, TheAllChordsFlagAddsBothDiagonalsOfARectangle)
{
    for (bool chords : {false, true}) {
        Page page(60, 60);
        MemHandle h = box(OBT_RECTANGLE, 10, 10, 50, 50);
        obSetFlags(h, OBF_ALL_CHORDS, chords);
        page.draw(h);
        for (POINT p : {POINT{20, 20}, POINT{30, 30}, POINT{40, 40}, POINT{40, 20}, POINT{20, 40}})
            EXPECT_EQ(chords ? kBlack : kRed, page.pixel(p.x, p.y)) << chords << " " << p.x << "," << p.y;
        obFreeTree(h);
    }
}

TEST_F(Fills, HatchByteFieldsAndSteps)
{
    EXPECT_EQ(3, filHatchStyle(0x53));
    EXPECT_EQ(5, filHatchSpacing(0x53));
    EXPECT_EQ(6, filHatchSpacing(0x02)) << "no spacing reads as 6 points";
    EXPECT_EQ(0xF4, filMakeHatchByte(0x14, 0x1F)) << "each part kept to its nibble";
    struct Case {
        int zoom;
        uint8_t hatch;
        int32_t step;
    } cases[] = {
        {100, 0x00, 120},   // 6 points: 8 pixels of 15 twips
        {100, 0x11, 30},    // 1 point is under 2 pixels: 2 pixels
        {100, 0x31, 60},
        {25, 0x00, 120},    // a pixel is 60 twips: 2 pixels
        {25, 0x11, 120},
    };
    for (const Case &c : cases) {
        Page page(10, 10);
        dmSetZoomDC(page.dc(), c.zoom);
        EXPECT_EQ(c.step, filHatchStep(c.hatch)) << c.zoom << " " << (int)c.hatch;
        EXPECT_EQ(0, filHatchStep(c.hatch) % dmGetPixelSize()) << "lines on whole pixels";
    }
}

// Colours of a line of pixels, as the letters of the test colours.
std::string colours(const Page &page, int x0, int y0, int dx, int dy, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i) {
        COLORREF c = page.pixel(x0 + i * dx, y0 + i * dy);
        s += c == kRed ? 'R' : c == kYellow ? 'Y' : c == kBlack ? 'K' : c == kWhite ? 'W' : '?';
    }
    return s;
}

TEST_F(Fills, HatchLinesRunAtTheirSpacingOverTheBackground)
{
    struct Case {
        uint8_t hatch;
        bool vertical;   // read along a row instead of a column
        const char *seen;
    } cases[] = {
        {0x00, false, "YYYYYYYRYYYYYYYRYYYYYYYRYYYY"},   // 120 twips: every 8th pixel
        {0x11, true, "YRYRYRYRYRYRYRYRYRYRYRYRYRYR"},    // 1 point: every 2nd pixel
        {0x07, false, "YYYYYYYYYYYYYYYYYYYYYYYYYYYY"},   // style 7: no lines
    };
    for (const Case &c : cases) {
        Page page(60, 60);
        MemHandle h = box(OBT_RECTANGLE, 10, 10, 50, 50, FILL_HATCH);
        ObLock(h)->hatch = c.hatch;
        page.draw(h);
        std::string line = c.vertical ? colours(page, 11, 30, 1, 0, 28) : colours(page, 30, 11, 0, 1, 28);
        EXPECT_EQ(c.seen, line) << (int)c.hatch;
        EXPECT_EQ(41, page.in(kBlack, 10, 50, 51, 51)) << "the outline is drawn over the lines";
        obFreeTree(h);
    }
}

TEST_F(Fills, CrossHatchesDrawBothFamilies)
{
    Page page(60, 60);
    MemHandle h = box(OBT_RECTANGLE, 10, 10, 50, 50, FILL_HATCH);
    ObLock(h)->hatch = filMakeHatchByte(FIL_HATCH_CROSS, 6);
    page.draw(h);
    EXPECT_EQ(kRed, page.pixel(30, 18)) << "a horizontal line";
    EXPECT_EQ(kRed, page.pixel(18, 30)) << "a vertical line";
    EXPECT_EQ(kYellow, page.pixel(21, 21));
    obFreeTree(h);

    Page diagonal(60, 60);
    h = box(OBT_RECTANGLE, 10, 10, 50, 50, FILL_HATCH);
    ObLock(h)->hatch = filMakeHatchByte(FIL_HATCH_DIAGCROSS, 6);
    diagonal.draw(h);
    EXPECT_EQ(kRed, diagonal.pixel(30, 30)) << "both diagonals pass the centre";
    EXPECT_GT(diagonal.in(kRed, 11, 11, 50, 50), 100);
    EXPECT_GT(diagonal.in(kYellow, 11, 11, 50, 50), 600);
    obFreeTree(h);
}

TEST_F(Fills, HatchingStaysInsideTheShapeAndSkipsTheOutlineWhenAllColoursAreEqual)
{
    Page page(100, 100);
    MemHandle e = box(OBT_ELLIPSE, 10, 10, 90, 90, FILL_HATCH);
    ObLock(e)->hatch = 0x11;
    page.draw(e);
    EXPECT_EQ(kWhite, page.pixel(13, 13)) << "corner of the box, outside the ellipse";
    EXPECT_EQ(kWhite, page.pixel(86, 86));
    EXPECT_EQ(0, page.in(kRed, 0, 0, 100, 10) + page.in(kRed, 0, 91, 100, 100));
    EXPECT_GT(page.in(kRed, 40, 40, 60, 60), 150);
    obFreeTree(e);

    // Pen, fill and background all red, a pen 20 pixels wide: the hatch
    // fill draws no outline, so nothing spills outside the box.
    Page same(100, 100);
    MemHandle r = box(OBT_RECTANGLE, 30, 30, 70, 70, FILL_HATCH, kRed, kRed);
    ObLock(r)->penColour = kRed;
    ObLock(r)->penWidth = (int16_t)px(20);
    same.draw(r);
    EXPECT_EQ(0, same.in(kRed, 0, 0, 100, 29) + same.in(kRed, 0, 0, 29, 100));
    EXPECT_EQ(39 * 39, same.in(kRed, 31, 31, 70, 70));
    obFreeTree(r);
}

TEST_F(Fills, BlankPatternsAndPatternsThatAreNot8By8)
{
    PatternFill p;
    filDefaultPattern(&p);
    EXPECT_EQ(24u, p.size);
    EXPECT_EQ(8, p.width);
    EXPECT_EQ(8, p.height);
    EXPECT_TRUE(filPatternIsBlank(&p)) << "sixteen 0xFF bytes";
    PatternFill one = p;
    one.rows[5] = 0xFE;
    EXPECT_FALSE(filPatternIsBlank(&one)) << "one 0xFE byte";
    struct Size {
        uint16_t w;
        int16_t h;
    } sizes[] = {{16, 8}, {8, 16}, {0, 0}, {8, 0}, {0xFFFF, -1}, {8, -8}};
    for (const Size &s : sizes) {
        PatternFill odd = one;
        odd.width = s.w;
        odd.height = s.h;
        EXPECT_TRUE(filPatternIsBlank(&odd)) << s.w << "x" << s.h << " counts as blank";
        EXPECT_FALSE(filPatternIs8x8(&odd));
        // Its brush is the blank pattern: background everywhere.
        Page page(16, 16);
        GdiObject<HBRUSH> brush(filPatternBrush(page.dc(), &odd, kRed, kBlue));
        ASSERT_TRUE(brush) << s.w << "x" << s.h;
        RECT all = {0, 0, 16, 16};
        SetMapMode(page.dc(), MM_TEXT);
        FillRect(page.dc(), &all, brush);
        EXPECT_EQ(256, page.count(kBlue)) << s.w << "x" << s.h;
    }
    EXPECT_TRUE(filPatternIsBlank(nullptr));
    EXPECT_EQ(nullptr, filPatternBrush(nullptr, nullptr, 0, 0));
}

TEST_F(Fills, ThePatternBitmapKeepsItsBitsBehindItsTwoColourTable)
{
    const uint8_t rows[8] = {0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80};
    PatternFill p = pattern(rows);
    MemHandle dib = filPatternToDib(nullptr, &p);
    ASSERT_NE(0u, dib);
    ASSERT_EQ(40u + 8u + 32u, utHandleSize(dib));
    {
        MemLock<uint8_t> d(dib);
        const BITMAPINFOHEADER *h = reinterpret_cast<const BITMAPINFOHEADER *>(d.get());
        EXPECT_EQ(40u, h->biSize);
        EXPECT_EQ(8, h->biWidth);
        EXPECT_EQ(8, h->biHeight);
        EXPECT_EQ(1, h->biPlanes);
        EXPECT_EQ(1, h->biBitCount);
        EXPECT_EQ(0u, h->biClrUsed);
        EXPECT_EQ(48u, filDibBitsOffset(h)) << "header and two colours";
        EXPECT_EQ(0x80, d[48]) << "the bottom row comes first";
        EXPECT_EQ(0x0F, d[48 + 7 * 4]) << "the top row last";
    }
    // Recoloured: 0 bits red, 1 bits blue; the bitmap's own table is kept.
    std::vector<uint8_t> before(48);
    memcpy(before.data(), MemLock<uint8_t>(dib).get(), 48);
    Page page(8, 8);
    SetMapMode(page.dc(), MM_TEXT);
    GdiObject<HBRUSH> brush(filRecolorPatternBrush(page.dc(), dib, kRed, kBlue));
    ASSERT_TRUE(brush);
    RECT all = {0, 0, 8, 8};
    FillRect(page.dc(), &all, brush);
    EXPECT_EQ("RRRRBBBB", std::string() + (page.pixel(0, 0) == kRed ? 'R' : 'B') +
                              (page.pixel(1, 0) == kRed ? 'R' : 'B') +
                              (page.pixel(2, 0) == kRed ? 'R' : 'B') +
                              (page.pixel(3, 0) == kRed ? 'R' : 'B') +
                              (page.pixel(4, 0) == kRed ? 'R' : 'B') +
                              (page.pixel(5, 0) == kRed ? 'R' : 'B') +
                              (page.pixel(6, 0) == kRed ? 'R' : 'B') +
                              (page.pixel(7, 0) == kRed ? 'R' : 'B'));
    EXPECT_EQ(kBlue, page.pixel(0, 7)) << "0x80: the leftmost pixel is a 1 bit";
    EXPECT_EQ(kRed, page.pixel(1, 7));
    EXPECT_EQ(0, memcmp(before.data(), MemLock<uint8_t>(dib).get(), 48));
    utFreeHandle(dib);
}

TEST_F(Fills, DamagedBitmapsGiveNoBrush)
{
    PatternFill p;
    filDefaultPattern(&p);
    MemHandle good = filPatternToDib(nullptr, &p);
    struct Case {
        const char *what;
        uint32_t keep;   // bytes kept of the good bitmap (0: all)
        void (*damage)(BITMAPINFOHEADER *);
    } cases[] = {
        {"header only", 40, nullptr},
        {"bits cut short", 70, nullptr},
        {"a width the block cannot hold", 0, [](BITMAPINFOHEADER *h) { h->biWidth = 0x7FFFFFFF; }},
        {"a height the block cannot hold", 0, [](BITMAPINFOHEADER *h) { h->biHeight = -0x7FFFFFFF; }},
        {"a colour count past the block", 0, [](BITMAPINFOHEADER *h) { h->biClrUsed = 0xFFFFFFFF; }},
        {"not one bit", 0, [](BITMAPINFOHEADER *h) { h->biBitCount = 8; }},
        {"a header size of 0", 0, [](BITMAPINFOHEADER *h) { h->biSize = 0; }},
        {"a huge header size", 0, [](BITMAPINFOHEADER *h) { h->biSize = 0xFFFFFF00; }},
    };
    for (const Case &c : cases) {
        uint32_t n = c.keep ? c.keep : utHandleSize(good);
        MemHandle bad = utHandleFromBytes(MemLock<uint8_t>(good).get(), n);
        if (c.damage)
            c.damage(MemLock<BITMAPINFOHEADER>(bad).get());
        EXPECT_EQ(nullptr, filRecolorPatternBrush(nullptr, bad, kRed, kBlue)) << c.what;
        utFreeHandle(bad);
    }
    EXPECT_EQ(nullptr, filRecolorPatternBrush(nullptr, 0, kRed, kBlue));
    EXPECT_EQ(0u, filPatternToDib(nullptr, nullptr));
    utFreeHandle(good);
}

// Whether the pattern's one red pixel per row falls where the pattern puts
// it relative to the shape's top-left corner (left, top), over the inside.
bool patternFixedTo(const Page &page, int left, int top, int right, int bottom)
{
    for (int y = top + 1; y < bottom; ++y)
        for (int x = left + 1; x < right; ++x) {
            bool red = ((x - left) - (y - top)) % 8 == 0;
            if (page.pixel(x, y) != (red ? kRed : kBlue))
                return false;
        }
    return true;
}

TEST_F(Fills, APatternStaysFixedToItsShapeWhenTheShapeMoves)
{
    // Row r has its 0 bit (the fill colour) in column r.
    uint8_t rows[8];
    for (int r = 0; r < 8; ++r)
        rows[r] = (uint8_t)~(0x80 >> r);
    for (int shift : {0, 8, 3, -5}) {
        Page page(100, 80);
        MemHandle h = withPattern(box(OBT_RECTANGLE, 20, 20, 60, 50, FILL_SOLID, kRed, kBlue),
                                  pattern(rows));
        obMoveBy(h, px(shift), px(shift / 2));
        page.draw(h);
        EXPECT_TRUE(patternFixedTo(page, 20 + shift, 20 + shift / 2, 60 + shift, 50 + shift / 2))
            << "moved by " << shift;
        obFreeTree(h);
    }
}

TEST_F(Fills, APatternBlockOutsideTheRecordLeavesTheBrushAsItWas)
{
    Page page(60, 60);
    MemHandle h = box(OBT_RECTANGLE, 10, 10, 50, 50, FILL_PATTERN);   // no room for a block
    GdiObject<HBRUSH> green(CreateSolidBrush(kGreen));
    HGDIOBJ old = SelectObject(page.dc(), green);
    page.draw(h);
    EXPECT_EQ(39 * 39, page.in(kGreen, 11, 11, 50, 50)) << "drawn with the DC's own brush";
    EXPECT_EQ(green.get(), GetCurrentObject(page.dc(), OBJ_BRUSH));
    SelectObject(page.dc(), old);
    obFreeTree(h);
}

TEST_F(Fills, FillsKeepTheCallersClipRegion)
{
    for (uint8_t kind : {FILL_HATCH, FILL_GRADIENT}) {
        Page page(100, 60);
        IntersectClipRect(page.dc(), 0, 0, px(50), px(60));   // the left half only
        HRGN before = CreateRectRgn(0, 0, 0, 0);
        ASSERT_EQ(1, GetClipRgn(page.dc(), before));
        MemHandle h = box(OBT_ELLIPSE, 10, 10, 90, 50, kind);
        if (kind == FILL_GRADIENT)
            h = withGradient(h, gradient(GRAD_ELLIPSE, 4, px(40), px(20)));
        page.draw(h);
        EXPECT_EQ(50 * 60, page.in(kWhite, 50, 0, 100, 60))
            << "nothing beyond the caller's clip, fill kind " << (int)kind;
        EXPECT_GT(page.in(kYellow, 20, 20, 50, 40) + page.in(kRed, 20, 20, 50, 40), 0);
        HRGN after = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(1, GetClipRgn(page.dc(), after));
        EXPECT_TRUE(EqualRgn(before, after)) << "fill kind " << (int)kind;
        DeleteObject(before);
        DeleteObject(after);
        obFreeTree(h);
    }
    // Without a clip of its own the DC has none afterwards either.
    Page page(100, 60);
    MemHandle h = box(OBT_RECTANGLE, 10, 10, 90, 50, FILL_HATCH);
    page.draw(h);
    HRGN after = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(0, GetClipRgn(page.dc(), after));
    DeleteObject(after);
    obFreeTree(h);
}

TEST_F(Fills, HandleFormsAndNullArgumentsDoNothingHarmful)
{
    Page page(60, 60);
    MemHandle h = box(OBT_RECTANGLE, 10, 10, 50, 50, FILL_HATCH);
    fillByClipRegion(page.dc(), h);
    EXPECT_GT(page.in(kYellow, 11, 11, 50, 50), 0);
    fillByClipRegion(page.dc(), (MemHandle)0);
    fillByClipRegion(nullptr, h);
    fillByClipRegion(page.dc(), (ObjectRecord *)nullptr);
    filDrawClosedShape(nullptr, nullptr, [](HDC) {});
    obFreeTree(h);
}

}  // namespace
