// Bitmaps placed by an AlignWord, the program's resource bitmaps in their
// normal, black-menu and disabled forms, natural picture sizes, stored
// BITMAP records and raster-operation codes; checked on DIB pixels.
#include "tests/support/kit.h"
#include "support/dm_map.h"
#include "support/dm_printer.h"
#include "support/gdi_bitmap.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/win_place.h"
#include <string>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kMagenta = RGB(255, 0, 255);

// A bitmap of w x h pixels of one colour (not selected into any DC), with
// an optional square of another colour.
HBITMAP makeBitmap(int w, int h, COLORREF fill, RECT square = {0, 0, 0, 0},
                   COLORREF squareColour = kBlack)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    uint32_t *px = static_cast<uint32_t *>(bits);
    auto pack = [](COLORREF c) {
        return ((uint32_t)GetRValue(c) << 16) | ((uint32_t)GetGValue(c) << 8) | GetBValue(c);
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            POINT p = {x, y};
            px[y * w + x] = pack(PtInRect(&square, p) ? squareColour : fill);
        }
    return bmp;
}

// Bounds of the pixels of a colour; empty when there are none.
RECT boundsOf(const qmtest::Dib &dib, COLORREF c)
{
    RECT r = {dib.width(), dib.height(), 0, 0};
    for (int y = 0; y < dib.height(); ++y)
        for (int x = 0; x < dib.width(); ++x)
            if (dib.pixel(x, y) == c) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r;
}

TEST(GdiRop, CodesOfTheDrawingWord)
{
    const DWORD table[16] = {SRCCOPY,     SRCCOPY,   SRCAND,     SRCPAINT,   SRCINVERT, SRCERASE,
                             NOTSRCCOPY,  NOTSRCERASE, MERGECOPY, MERGEPAINT, PATCOPY,   PATPAINT,
                             PATINVERT,   DSTINVERT, BLACKNESS,  WHITENESS};
    for (uint32_t code = 0; code < 16; ++code)
        EXPECT_EQ(table[code], gdiRopFromCode(code << 16)) << code;
    EXPECT_EQ((DWORD)SRCPAINT, gdiRopFromCode(0x30000));
    EXPECT_EQ((DWORD)SRCAND, gdiRopFromCode(0x30010));   // bit 0x10 forces SRCAND
    EXPECT_EQ((DWORD)SRCAND, gdiRopFromCode(0x10));
    EXPECT_EQ((DWORD)SRCPAINT, gdiRopFromCode(0x3000F));  // other low bits do not
    EXPECT_EQ((DWORD)SRCCOPY, gdiRopFromCode(16u << 16));
    EXPECT_EQ((DWORD)SRCCOPY, gdiRopFromCode(0xFFFF0000u & ~0x10u));
}

// No printer (300 dpi) and a 96-dpi screen.
class NaturalSize : public ::testing::Test {
protected:
    NaturalSize()
    {
        dmResetPrinterModule();
        dmUpdatePrinterMetrics(nullptr);
        winSetScreenResolution(96, 96);
    }
    ~NaturalSize() override { dmResetPrinterModule(); }
};

TEST_F(NaturalSize, KindsAtPrinterAndScreenResolution)
{
    ASSERT_EQ(461, dmPrinterToTwipsX(96));
    struct Case {
        int32_t w, h, pw, ph;
        int kind;
    } cases[] = {
        {1440, 1440, 96, 96, 1},   {461, 461, 96, 96, 2},    {460, 462, 96, 96, 2},
        {459, 461, 96, 96, 0},     {1441, 1439, 96, 96, 1},  {1442, 1440, 96, 96, 0},
        {1440, 461, 96, 96, 0},    {2880, 720, 192, 48, 1},  {922, 230, 192, 48, 2},
        {0, 0, 0, 0, 2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.kind, gdiNaturalSizeKind(c.w, c.h, c.pw, c.ph))
            << c.w << " x " << c.h << " for " << c.pw << " x " << c.ph;
}

TEST_F(NaturalSize, SizesAtEitherResolution)
{
    int32_t w = 0, h = 0;
    gdiNaturalSize(GDI_NATURAL_PRINTER, 96, 300, &w, &h);
    EXPECT_EQ(461, w);
    EXPECT_EQ(1440, h);
    gdiNaturalSize(GDI_NATURAL_SCREEN, 96, 48, &w, &h);
    EXPECT_EQ(1440, w);
    EXPECT_EQ(720, h);
    gdiNaturalSize(GDI_NATURAL_NONE, 96, 48, &w, &h);   // anything else: the screen
    EXPECT_EQ(1440, w);
    EXPECT_EQ(720, h);
    // What gdiNaturalSize gives is of its own kind.
    gdiNaturalSize(GDI_NATURAL_PRINTER, 37, 53, &w, &h);
    EXPECT_EQ(GDI_NATURAL_PRINTER, gdiNaturalSizeKind(w, h, 37, 53));
}

TEST(GdiBitmapSize, StoredRecordIsTheTwentyFourByteLayout)
{
    // Written field by field at the 24-byte layout's offsets, not through
    // the record: type 0, width 4, height 8, row bytes 12, planes 16, bits
    // per pixel 18, bits 20.
    long live = qmtest::liveHandles();
    MemHandle block = utAllocHandle(0, 40);
    ASSERT_NE(0u, block);
    {
        MemLock<uint8_t> p(block);
        utPutAt<int32_t>(p.get(), 8 + 4, 37);
        utPutAt<int32_t>(p.get(), 8 + 8, 21);
        utPutAt<int32_t>(p.get(), 8 + 12, 76);
        utPutAt<uint16_t>(p.get(), 8 + 16, 1);
        utPutAt<uint16_t>(p.get(), 8 + 18, 16);
        utPutAt<uint32_t>(p.get(), 8 + 20, 0);
    }
    RECT r = {1, 2, 3, 4};
    EXPECT_EQ(1, gdiStoredBitmapSize(block, 8, &r));
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(37, r.right);
    EXPECT_EQ(21, r.bottom);
    // A record that would run past the block, or an offset that wraps, is
    // not read.
    for (uint32_t offset : {17u, 40u, 0xFFFFFFF0u}) {
        r = {1, 2, 3, 4};
        EXPECT_EQ(0, gdiStoredBitmapSize(block, offset, &r)) << offset;
        EXPECT_TRUE(IsRectEmpty(&r) && r.right == 0 && r.bottom == 0) << offset;
    }
    EXPECT_EQ(1, gdiStoredBitmapSize(block, 16, &r));   // the last offset that fits
    EXPECT_EQ(0, gdiStoredBitmapSize(0, 0, &r));
    utFreeHandle(block);
    EXPECT_EQ(live, qmtest::liveHandles());
}

TEST(GdiBitmapSize, PixelsAndTwips)
{
    winSetScreenResolution(96, 96);
    HBITMAP bmp = makeBitmap(13, 7, kRed);
    int32_t w = 0, h = 0;
    EXPECT_TRUE(gdiBitmapSize(bmp, &w, &h));
    EXPECT_EQ(13, w);
    EXPECT_EQ(7, h);
    EXPECT_TRUE(gdiBitmapSizeTwips(bmp, &w, &h));
    EXPECT_EQ(195, w);
    EXPECT_EQ(105, h);
    DeleteObject(bmp);
    w = h = 5;
    EXPECT_FALSE(gdiBitmapSize(nullptr, &w, &h));
    EXPECT_EQ(0, w);
    EXPECT_EQ(0, h);
    w = h = 5;
    EXPECT_FALSE(gdiBitmapSize((HBITMAP)GetStockObject(BLACK_BRUSH), &w, &h));
    EXPECT_EQ(0, w + h);
}

TEST(GdiDrawBitmap, AlignedStretchedAndNatural)
{
    HBITMAP bmp = makeBitmap(8, 6, kRed);
    struct Case {
        int x, y, w, h;
        uint16_t align;
        RECT drawn;   // where the red pixels land
    } cases[] = {
        {10, 10, 40, 20, GDI_ALIGN_STRETCH, {10, 10, 50, 30}},
        {10, 10, 40, 20, 9, {26, 17, 34, 23}},
        {10, 10, 40, 20, 0, {10, 10, 18, 16}},
        {10, 10, 40, 20, 0x12, {42, 24, 50, 30}},
        {10, 10, 40, 20, 0x103, {10, 10, 18, 16}},   // masked 0x103: left
        {10, 10, 40, 20, 0xC001, {26, 10, 34, 16}},  // not exactly 0xC000: natural size
        {5, 5, 0, 20, 9, {5, 5, 13, 11}},            // w = 0: at (x, y), natural size
        {5, 5, 40, 0, GDI_ALIGN_STRETCH, {5, 5, 13, 11}},
    };
    for (const Case &c : cases) {
        qmtest::Dib dib(60, 40);
        EXPECT_TRUE(gdiDrawBitmapAligned(dib.dc(), bmp, c.x, c.y, c.w, c.h, c.align, SRCCOPY));
        RECT got = boundsOf(dib, kRed);
        EXPECT_TRUE(EqualRect(&got, &c.drawn))
            << "align " << std::hex << c.align << std::dec << ": " << got.left << "," << got.top
            << "-" << got.right << "," << got.bottom;
        EXPECT_EQ((c.drawn.right - c.drawn.left) * (c.drawn.bottom - c.drawn.top),
                  dib.count(kRed));
    }
    // The raster operation is the caller's: NOTSRCCOPY draws the inverse.
    qmtest::Dib dib(20, 20);
    gdiDrawBitmapAligned(dib.dc(), bmp, 0, 0, 0, 0, 0, NOTSRCCOPY);
    EXPECT_EQ(48, dib.count(RGB(0, 255, 255)));
    // No bitmap: nothing drawn, and said so.
    qmtest::Dib blank(20, 20);
    EXPECT_FALSE(gdiDrawBitmapAligned(blank.dc(), nullptr, 0, 0, 10, 10, 9, SRCCOPY));
    EXPECT_EQ(400, blank.count(kWhite));
    DeleteObject(bmp);
}

// A window of this module, whose instance holds the program's bitmaps.
class ResourceBitmaps : public ::testing::Test {
protected:
    ResourceBitmaps()
    {
        window_ = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    }
    ~ResourceBitmaps() override { DestroyWindow(window_); }
    HWND window_;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
};

// Sets system colours for its lifetime.
class SysColours {
public:
    SysColours(std::initializer_list<std::pair<int, COLORREF>> colours)
    {
        for (auto &c : colours) {
            ids_.push_back(c.first);
            old_.push_back(GetSysColor(c.first));
            now_.push_back(c.second);
        }
        SetSysColors((int)ids_.size(), ids_.data(), now_.data());
    }
    ~SysColours() { SetSysColors((int)ids_.size(), ids_.data(), old_.data()); }

private:
    std::vector<int> ids_;
    std::vector<COLORREF> old_, now_;
};

TEST_F(ResourceBitmaps, DisabledLookOfASquare)
{
    ASSERT_NE(face, shadow);
    ASSERT_NE(face, highlight);
    // White 16 x 16 with a black 4 x 4 square at (6, 6), drawn at (20, 20).
    HBITMAP bmp = makeBitmap(16, 16, kWhite, {6, 6, 10, 10}, kBlack);
    qmtest::Dib dib(60, 60, kMagenta);
    EXPECT_TRUE(gdiDrawDisabledBitmap(dib.dc(), 20, 20, 16, 16, bmp, 0, 0));
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) {
            int bx = x - 20, by = y - 20;
            COLORREF want;
            if (bx < 0 || by < 0 || bx >= 16 || by >= 16)
                want = kMagenta;   // outside: untouched
            else if (bx >= 6 && bx < 10 && by >= 6 && by < 10)
                want = shadow;     // the square in place
            else if ((bx == 10 && by >= 7 && by <= 10) || (by == 10 && bx >= 7 && bx <= 10))
                want = highlight;  // the copy one pixel right and down shows at x 10, y 10
            else
                want = face;
            ASSERT_EQ(want, dib.pixel(x, y)) << "at " << bx << ", " << by;
        }
    // The part of the bitmap from (4, 4): the square lands at (2, 2).
    qmtest::Dib part(16, 16, kMagenta);
    EXPECT_TRUE(gdiDrawDisabledBitmap(part.dc(), 0, 0, 8, 8, bmp, 4, 4));
    EXPECT_EQ(shadow, part.pixel(2, 2));
    EXPECT_EQ(shadow, part.pixel(5, 5));
    EXPECT_EQ(highlight, part.pixel(6, 6));
    EXPECT_EQ(face, part.pixel(0, 0));
    EXPECT_EQ(kMagenta, part.pixel(8, 8));
    DeleteObject(bmp);
}

TEST_F(ResourceBitmaps, DisabledLookEdgeCases)
{
    HBITMAP bmp = makeBitmap(16, 16, kWhite, {6, 6, 10, 10}, kBlack);
    // Nothing at all without a size, a bitmap or a DC.
    qmtest::Dib dib(40, 40, kMagenta);
    EXPECT_FALSE(gdiDrawDisabledBitmap(dib.dc(), 0, 0, 0, 16, bmp, 0, 0));
    EXPECT_FALSE(gdiDrawDisabledBitmap(dib.dc(), 0, 0, 16, -1, bmp, 0, 0));
    EXPECT_FALSE(gdiDrawDisabledBitmap(dib.dc(), 0, 0, 16, 16, nullptr, 0, 0));
    EXPECT_FALSE(gdiDrawDisabledBitmap(nullptr, 0, 0, 16, 16, bmp, 0, 0));
    EXPECT_EQ(1600, dib.count(kMagenta));
    // A rectangle larger than the bitmap: what lies beyond it is background,
    // so only the square shows.
    EXPECT_TRUE(gdiDrawDisabledBitmap(dib.dc(), 0, 0, 30, 30, bmp, 0, 0));
    EXPECT_EQ(16, dib.count(shadow));
    EXPECT_EQ(7, dib.count(highlight));
    EXPECT_EQ(900 - 23, dib.count(face));
    DeleteObject(bmp);
}

TEST_F(ResourceBitmaps, DisabledResourceUsesOnlyTheButtonGreys)
{
    qmtest::Dib dib(16, 16, kMagenta);
    ASSERT_TRUE(gdiDrawResBitmapDisabled(window_, dib.dc(), "rect", 0, 0, 16, 16));
    EXPECT_EQ(256, dib.count(face) + dib.count(shadow) + dib.count(highlight));
    EXPECT_GT(dib.count(shadow), 8);
    EXPECT_GT(dib.count(face), 64);   // the picture's background stays the face
    EXPECT_FALSE(gdiDrawResBitmapDisabled(window_, dib.dc(), "no-such", 0, 0, 16, 16));
}

TEST_F(ResourceBitmaps, BlackMenuTakesTheXVariants)
{
    for (const char *name : {"edit", "line", "hv", "polyhv", "polyl", "bez2", "curve", "arc",
                             "lineadv", "text", "tx3d"}) {
        EXPECT_TRUE(gdiIsDarkMenuBitmap(name)) << name;
        std::string dark = std::string("x") + name;
        HBITMAP bmp = LoadBitmapA(GetModuleHandleA(nullptr), dark.c_str());
        EXPECT_TRUE(bmp != nullptr) << dark;
        DeleteObject(bmp);
    }
    EXPECT_TRUE(gdiIsDarkMenuBitmap("Edit"));
    EXPECT_FALSE(gdiIsDarkMenuBitmap("rect"));
    EXPECT_FALSE(gdiIsDarkMenuBitmap("xline"));
    EXPECT_FALSE(gdiIsDarkMenuBitmap(nullptr));

    // What a name should draw, loaded as the mapped drawing loads it.
    auto expected = [&](const char *resource, UINT flags, qmtest::Dib &out) {
        HBITMAP bmp = (HBITMAP)LoadImageA(GetModuleHandleA(nullptr), resource, IMAGE_BITMAP, 0,
                                          0, flags);
        ASSERT_TRUE(bmp != nullptr) << resource;
        gdiDrawBitmapAligned(out.dc(), bmp, 0, 0, 16, 16, 9, SRCCOPY);
        DeleteObject(bmp);
    };
    const UINT mapped = LR_LOADMAP3DCOLORS | LR_LOADTRANSPARENT;
    qmtest::Dib lineNormal(16, 16), lineDark(16, 16), rectDark(16, 16);
    ASSERT_TRUE(
        gdiDrawResBitmapMapped(window_, lineNormal.dc(), "line", 0, 0, 16, 16, 9, SRCCOPY));
    {
        SysColours black({{COLOR_MENU, kBlack}, {COLOR_WINDOW, kBlack}});
        ASSERT_EQ(kBlack, GetSysColor(COLOR_MENU));
        ASSERT_TRUE(
            gdiDrawResBitmapMapped(window_, lineDark.dc(), "line", 0, 0, 16, 16, 9, SRCCOPY));
        ASSERT_TRUE(
            gdiDrawResBitmapMapped(window_, rectDark.dc(), "rect", 0, 0, 16, 16, 9, SRCCOPY));
        qmtest::Dib want(16, 16), wantRect(16, 16);
        expected("xline", LR_LOADTRANSPARENT, want);
        expected("rect", mapped, wantRect);
        EXPECT_EQ(0, lineDark.diff(want));
        EXPECT_EQ(0, rectDark.diff(wantRect));
        EXPECT_GT(lineDark.count(kWhite), 8);   // light strokes on the dark menu
    }
    ASSERT_NE(kBlack, GetSysColor(COLOR_MENU));
    qmtest::Dib want(16, 16);
    expected("line", mapped, want);
    EXPECT_EQ(0, lineNormal.diff(want));
    EXPECT_GT(lineNormal.diff(lineDark), 8);
    EXPECT_EQ(face, lineNormal.pixel(0, 0));
    EXPECT_FALSE(gdiDrawResBitmapMapped(window_, want.dc(), "no-such", 0, 0, 16, 16, 9, SRCCOPY));
    EXPECT_FALSE(gdiDrawResBitmapMapped(window_, want.dc(), "", 0, 0, 16, 16, 9, SRCCOPY));
}

TEST_F(ResourceBitmaps, InRectPlacesTheTwipsSize)
{
    // Under the view mapping a 16-pixel picture is 240 twips, 16 pixels.
    qmtest::Dib dib(100, 100);
    dmResetModule();
    winSetScreenResolution(96, 96);
    dmSetMapping(dib.dc());
    const RECT frame = {0, 0, 1500, 1500};   // 100 x 100 pixels
    EXPECT_TRUE(gdiDrawResBitmapInRect(window_, dib.dc(), "rect", frame, 9));
    RECT ink = boundsOf(dib, kBlack);
    EXPECT_GE(ink.left, 42);
    EXPECT_GE(ink.top, 42);
    EXPECT_LE(ink.right, 58);
    EXPECT_LE(ink.bottom, 58);
    EXPECT_GT(dib.count(kBlack), 20);
    dib.fill(kWhite);
    EXPECT_TRUE(gdiDrawResBitmapInRect(window_, dib.dc(), "rect", frame, 0x12));
    ink = boundsOf(dib, kBlack);
    EXPECT_GE(ink.left, 84);
    EXPECT_GE(ink.top, 84);
    EXPECT_FALSE(gdiDrawResBitmapInRect(window_, dib.dc(), "no-such", frame, 9));
    dmResetModule();
}

TEST_F(ResourceBitmaps, PlainResourceIsPlacedByTheWord)
{
    qmtest::Dib dib(40, 40, kMagenta);
    ASSERT_TRUE(gdiDrawResBitmap(window_, dib.dc(), "rect", 0, 0, 40, 40, 9, SRCCOPY));
    RECT grey = boundsOf(dib, RGB(192, 192, 192));   // unmapped face grey
    EXPECT_EQ(12, grey.left);
    EXPECT_EQ(12, grey.top);
    EXPECT_EQ(28, grey.right);
    EXPECT_EQ(28, grey.bottom);
    EXPECT_FALSE(gdiDrawResBitmap(window_, dib.dc(), "no-such", 0, 0, 40, 40, 9, SRCCOPY));
}

}  // namespace
