// Placing text runs and items in a rectangle by an AlignWord, and measuring
// text; text is checked by its dark pixels, never by exact glyphs.
#include "tests/support/kit.h"
#include "support/gdi_text.h"
#include <algorithm>
#include <string.h>

namespace {

TEST(GdiAlign, PlacementTakesTheMaskedValues)
{
    // Only the masked values 1 / 2 and 8 / 16 move an item: words whose
    // masked value is something else (0x101, 0x103, 0x18, 0x1C ...) place it
    // at the left or top.
    const RECT r = {10, 0, 110, 200};
    struct Case {
        uint16_t align;
        int x;   // of a 40-wide item
        int y;   // of a 50-high item
    } cases[] = {
        {0, 10, 0},       {1, 40, 0},       {2, 70, 0},       {3, 10, 0},
        {0x101, 10, 0},   {0x102, 10, 0},   {0x103, 10, 0},   {8, 10, 75},
        {16, 10, 150},    {0x18, 10, 0},    {0x1C, 10, 0},    {4, 10, 0},
        {9, 40, 75},      {0x11, 40, 150},  {0x12, 70, 150},  {GDI_ALIGN_STRETCH, 10, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.x, gdiAlignX(r, 40, c.align)) << std::hex << c.align;
        EXPECT_EQ(c.y, gdiAlignY(r, 50, c.align)) << std::hex << c.align;
    }
}

TEST(GdiAlign, ATallerItemIsAlwaysCentred)
{
    const RECT r = {0, 0, 100, 200};
    for (uint16_t align : {0, 8, 16, 0x1C, 9, 0x12})
        EXPECT_EQ(-50, gdiAlignY(r, 300, align)) << align;
    // Exactly as high as the rectangle: placed by the word as usual.
    EXPECT_EQ(0, gdiAlignY(r, 200, 16));
    // A wider item is placed by the word, not centred.
    EXPECT_EQ(0, gdiAlignX(r, 300, 0));
    EXPECT_EQ(-200, gdiAlignX(r, 300, 2));
}

TEST(GdiAlign, DrawTextFlags)
{
    struct Case {
        uint16_t align;
        UINT flags;
    } cases[] = {
        {0, 0},
        {1, DT_CENTER},
        {2, DT_RIGHT},
        {8, DT_VCENTER},
        {16, DT_BOTTOM},
        {0x11, 9},
        {9, DT_CENTER | DT_VCENTER},
        {0x12, DT_RIGHT | DT_BOTTOM},
        {0x103, 0},
        {0x1C, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.flags, gdiAlignToDrawTextFlags(c.align)) << std::hex << c.align;
}

// A DIB with a 20-pixel Arial font selected, black text on a transparent
// background.
class TextRun : public ::testing::Test {
protected:
    TextRun() : dib_(320, 160)
    {
        LOGFONTA lf = {};
        lf.lfHeight = -20;
        strcpy(lf.lfFaceName, "Arial");
        font_ = CreateFontIndirectA(&lf);
        oldFont_ = SelectObject(dib_.dc(), font_);
        SetBkMode(dib_.dc(), TRANSPARENT);
        SetTextColor(dib_.dc(), RGB(0, 0, 0));
    }
    ~TextRun() override
    {
        SelectObject(dib_.dc(), oldFont_);
        DeleteObject(font_);
    }
    // Bounds of the pixels that are no longer white; empty when none.
    RECT inkBounds() const
    {
        RECT ink = {dib_.width(), dib_.height(), 0, 0};
        for (int y = 0; y < dib_.height(); ++y)
            for (int x = 0; x < dib_.width(); ++x)
                if (dib_.pixel(x, y) != RGB(255, 255, 255)) {
                    ink.left = std::min<LONG>(ink.left, x);
                    ink.top = std::min<LONG>(ink.top, y);
                    ink.right = std::max<LONG>(ink.right, x + 1);
                    ink.bottom = std::max<LONG>(ink.bottom, y + 1);
                }
        return ink;
    }
    qmtest::Dib dib_;
    HFONT font_;
    HGDIOBJ oldFont_;
};

TEST_F(TextRun, ExtentIsPackedWidthAndHeight)
{
    SIZE size;
    ASSERT_TRUE(GetTextExtentPoint32A(dib_.dc(), "Quill", 5, &size));
    uint32_t packed = gdiTextExtent(dib_.dc(), "Quill", 5);
    EXPECT_EQ(size.cx, (LONG)LOWORD(packed));
    EXPECT_EQ(size.cy, (LONG)HIWORD(packed));
    EXPECT_EQ(0u, gdiTextExtent(dib_.dc(), "Quill", 0));
    EXPECT_EQ(0u, gdiTextExtent(nullptr, "Quill", 5));
}

TEST_F(TextRun, EveryInkedPixelLiesInTheReportedBounds)
{
    // A rectangle smaller than the text, so the text spills out of it on
    // the sides the word chooses; nothing is clipped.
    const RECT tight = {150, 70, 170, 80};
    const char *text = "Hgjy Wq";
    int len = (int)strlen(text);
    SIZE size;
    ASSERT_TRUE(GetTextExtentPoint32A(dib_.dc(), text, len, &size));
    for (uint16_t align : {0, 1, 2, 8, 16, 9, 0x12, 0x103}) {
        dib_.fill(RGB(255, 255, 255));
        ASSERT_TRUE(gdiTextOutAligned(dib_.dc(), tight, text, len, align)) << align;
        RECT ink = inkBounds();
        ASSERT_LT(ink.left, ink.right) << "the run is drawn for " << align;
        RECT bounds = tight;
        ASSERT_TRUE(gdiTextBoundsInRect(dib_.dc(), &bounds, text, len, align));
        EXPECT_GE(ink.left, bounds.left) << align;
        EXPECT_GE(ink.top, bounds.top) << align;
        EXPECT_LE(ink.right, bounds.right) << align;
        EXPECT_LE(ink.bottom, bounds.bottom) << align;
        // The bounds still hold the rectangle and grow to the run's box.
        EXPECT_LE(bounds.left, tight.left);
        EXPECT_GE(bounds.right, tight.right);
        EXPECT_GE(bounds.right - bounds.left, size.cx) << align;
        // The text is taller than the rectangle: centred vertically.
        EXPECT_EQ(gdiAlignY(tight, size.cy, 0), bounds.top) << align;
    }
}

TEST_F(TextRun, HorizontalPlacementFollowsTheWord)
{
    const RECT wide = {20, 40, 300, 120};
    const char *text = "Wide";
    SIZE size;
    ASSERT_TRUE(GetTextExtentPoint32A(dib_.dc(), text, 4, &size));
    struct Case {
        uint16_t align;
        int left;   // left edge of the run's box
    } cases[] = {
        {0, 20},
        {0x101, 20},
        {1, (20 + 300 - (int)size.cx) / 2},
        {2, 300 - (int)size.cx},
    };
    for (const Case &c : cases) {
        dib_.fill(RGB(255, 255, 255));
        gdiTextOutAligned(dib_.dc(), wide, text, 4, c.align);
        RECT ink = inkBounds();
        // The glyphs lie inside the run's box.
        EXPECT_GE(ink.left, c.left) << c.align;
        EXPECT_LE(ink.right, c.left + size.cx) << c.align;
        EXPECT_GE(ink.top, 40) << c.align;
        EXPECT_LE(ink.bottom, 40 + size.cy) << c.align;
    }
}

TEST(GdiText, MeasuresWithAFontRecord)
{
    LOGFONTA lf = {};
    lf.lfHeight = -24;
    strcpy(lf.lfFaceName, "Arial");
    RECT r = {5, 6, 7, 8};
    ASSERT_TRUE(gdiMeasureTextWithFont("Measure", 7, &lf, &r));
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE size;
    GetTextExtentPoint32A(screen, "Measure", 7, &size);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(size.cx, r.right);
    EXPECT_EQ(size.cy, r.bottom);
    EXPECT_GT(r.right, 0);

    r = {5, 6, 7, 8};
    EXPECT_FALSE(gdiMeasureTextWithFont("Measure", 7, nullptr, &r));
    EXPECT_TRUE(IsRectEmpty(&r) && r.left == 0 && r.right == 0);
}

}  // namespace
