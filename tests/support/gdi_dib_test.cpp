// Packed DIBs: sizes, BMP files read and written (damaged ones refused),
// DIBs drawn, and one colour left transparent on both blitting paths.
#include "tests/support/kit.h"
#include "tests/support/kit_picture.h"
#include "support/dm_map.h"
#include "support/ff_file.h"
#include "support/gdi_dib.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

BITMAPINFOHEADER header(int32_t w, int32_t h, uint16_t bits, uint32_t used = 0,
                        DWORD compression = BI_RGB)
{
    BITMAPINFOHEADER b = {};
    b.biSize = sizeof b;
    b.biWidth = w;
    b.biHeight = h;
    b.biPlanes = 1;
    b.biBitCount = bits;
    b.biCompression = compression;
    b.biClrUsed = used;
    return b;
}

void put32(std::vector<uint8_t> &v, size_t at, uint32_t n) { memcpy(v.data() + at, &n, 4); }

TEST(GdiDib, Sizes)
{
    EXPECT_EQ(24u, gdiDibImageSize(3, 2, 24));   // 9 bytes padded to 12, two rows
    EXPECT_EQ(24u, gdiDibImageSize(3, -2, 24)) << "top-down counts its rows too";
    EXPECT_EQ(0xFFFFFFFFu, gdiDibImageSize(1 << 30, 1 << 30, 32)) << "no 32-bit wrap";
    struct Case {
        BITMAPINFOHEADER h;
        uint32_t colours, table, row, stride;
    } cases[] = {
        {header(6, 4, 1), 2, 8, 1, 4},
        {header(6, 4, 4), 16, 64, 3, 4},
        {header(6, 4, 8), 256, 1024, 6, 8},
        {header(6, 4, 8, 4), 4, 16, 6, 8},
        {header(6, 4, 8, 100000), 256, 1024, 6, 8},   // never more than 2^bits
        {header(6, 4, 24), 0, 0, 18, 20},
        {header(6, 4, 32, 0, BI_BITFIELDS), 0, 12, 24, 24},   // the three masks
        {header(6, 4, 16, 0, BI_BITFIELDS), 0, 12, 12, 12},
    };
    for (Case &c : cases) {
        EXPECT_EQ(c.colours, gdiDibColorCount(&c.h)) << c.h.biBitCount;
        EXPECT_EQ(c.table, gdiDibColorTableSize(&c.h)) << c.h.biBitCount;
        EXPECT_EQ(c.row, gdiDibRowBytes(&c.h)) << c.h.biBitCount;
        EXPECT_EQ(c.stride, gdiDibStride(&c.h)) << c.h.biBitCount;
        BITMAPINFOHEADER h = c.h;
        EXPECT_EQ(40 + c.table + c.stride * 4, gdiDibTotalSize(&h));
        EXPECT_EQ(c.stride * 4, h.biSizeImage) << "the image size is filled in";
    }
    BITMAPCOREHEADER core = {sizeof core, 6, 4, 1, 8};
    EXPECT_EQ(768u, gdiDibColorTableSize(reinterpret_cast<BITMAPINFOHEADER *>(&core)));
}

TEST(GdiDib, FilesRoundTrip)
{
    qmtest::TempDir dir;
    qmtest::BoxRecorder boxes;
    long before = utLiveHandleCount();
    for (int bits : {1, 4, 8, 24, 32}) {
        std::string path = dir.file("p" + std::to_string(bits) + ".bmp");
        std::vector<uint8_t> bytes = qmtest::bmpBytes(bits);
        ASSERT_TRUE(qmtest::writeFile(path, bytes));
        MemHandle dib = gdiLoadDibFile(path.c_str(), 0);
        ASSERT_NE(0u, dib) << bits;
        // The file's header and table come back; the image size is filled in.
        {
            MemLock<uint8_t> p(dib);
            BITMAPINFOHEADER h;
            memcpy(&h, p.get(), sizeof h);
            EXPECT_EQ(bytes.size() - 14, gdiDibTotalSize(&h));
            EXPECT_EQ(0, memcmp(p.get() + 40, bytes.data() + 54, bytes.size() - 54)) << bits;
        }
        std::string again = dir.file("again.bmp");
        ASSERT_EQ(1, gdiSaveDibFile(again.c_str(), dib));
        std::vector<uint8_t> saved = qmtest::readFile(again);
        ASSERT_EQ(bytes.size(), saved.size());
        EXPECT_EQ(0, memcmp(saved.data() + 54, bytes.data() + 54, bytes.size() - 54)) << bits;
        MemHandle back = gdiLoadDibFile(again.c_str(), 12);   // with a prefix
        ASSERT_NE(0u, back);
        EXPECT_EQ(utHandleSize(dib) + 12, utHandleSize(back));
        utFreeHandle(back);
        utFreeHandle(dib);
    }
    // A file without the "BM" header: a bare DIB.
    std::vector<uint8_t> bare = qmtest::bmpBytes(24);
    bare.erase(bare.begin(), bare.begin() + 14);
    ASSERT_TRUE(qmtest::writeFile(dir.file("bare.dib"), bare));
    MemHandle dib = gdiLoadDibFile(dir.file("bare.dib").c_str(), 0);
    ASSERT_NE(0u, dib);
    {
        MemLock<uint8_t> p(dib);
        EXPECT_EQ(0, memcmp(p.get() + 40, bare.data() + 40, bare.size() - 40));
    }
    utFreeHandle(dib);
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(0, gdiSaveDibFile(dir.file("none.bmp").c_str(), 0));
    EXPECT_EQ(before, utLiveHandleCount());
}

TEST(GdiDib, DamagedFilesAreRefused)
{
    qmtest::TempDir dir;
    std::vector<uint8_t> good = qmtest::bmpBytes(8);
    struct Case {
        const char *what;
        std::vector<uint8_t> bytes;
        bool box;   // "Unrecognized file type "
    };
    std::vector<Case> cases;
    auto changed = [&](const char *what, size_t at, uint32_t value, bool box = false) {
        std::vector<uint8_t> b = good;
        put32(b, at, value);
        cases.push_back({what, b, box});
    };
    changed("100-byte header", 14, 100, true);
    changed("negative header size", 14, (uint32_t)-40, true);
    changed("width 2^30", 18, 1u << 30);
    changed("height 2^30", 22, 1u << 30);
    changed("height -2^30", 22, (uint32_t)-(1 << 30));
    changed("100000 used colours", 46, 100000);
    changed("bits offset past the end", 10, 100000);
    changed("zero width", 18, 0);
    cases.push_back({"empty file", {}, false});
    for (size_t cut : {10u, 20u, 54u, 60u, 70u})
        cases.push_back({"truncated", std::vector<uint8_t>(good.begin(), good.begin() + cut), false});
    cases.push_back({"one byte short",
                     std::vector<uint8_t>(good.begin(), good.end() - 1), false});
    long before = utLiveHandleCount();
    for (const Case &c : cases) {
        qmtest::BoxRecorder boxes;
        std::string path = dir.file("bad.bmp");
        ASSERT_TRUE(qmtest::writeFile(path, c.bytes));
        EXPECT_EQ(0u, gdiLoadDibFile(path.c_str(), 0)) << c.what;
        if (c.box) {
            ASSERT_EQ(1u, boxes.count()) << c.what;
            EXPECT_EQ("Unrecognized file type ", boxes.last().text);
        } else {
            EXPECT_EQ(0u, boxes.count()) << c.what << ": " << boxes.texts();
        }
        EXPECT_TRUE(qmtest::fileIsClosed(path)) << c.what;
        EXPECT_EQ(before, utLiveHandleCount()) << c.what;
    }
}

TEST(GdiDib, DrawsTheVisiblePartAndConvertsBitmaps)
{
    qmtest::TempDir dir;
    ASSERT_TRUE(qmtest::writeFile(dir.file("p.bmp"), qmtest::bmpBytes(24)));
    MemHandle dib = gdiLoadDibFile(dir.file("p.bmp").c_str(), 0);
    ASSERT_NE(0u, dib);
    qmtest::Dib page(60, 40);
    dmSetMapping(page.dc());
    // 6 x 4 pixels drawn at 10 pixels each (150 twips), clipped to the
    // right half.
    RECT dest = {0, 0, 900, 600}, clip = {450, 0, 900, 600};
    EXPECT_EQ(1, gdiDrawDibPart(page.dc(), dib, &dest, &clip, SRCCOPY));
    EXPECT_EQ(RGB(255, 255, 255), page.pixel(10, 10)) << "left half clipped";
    EXPECT_EQ(qmtest::pictureColour(24, 4, 0), page.pixel(45, 5));
    EXPECT_EQ(qmtest::pictureColour(24, 5, 3), page.pixel(55, 35));
    EXPECT_EQ(qmtest::pictureColour(24, 3, 2), page.pixel(31, 21)) << "the clip's left edge";
    // Clipped to the bottom half: the source counts from the DIB's bottom.
    page.fill(RGB(255, 255, 255));
    RECT lower = {0, 300, 900, 600};
    gdiDrawDibPart(page.dc(), dib, &dest, &lower, SRCCOPY);
    EXPECT_EQ(RGB(255, 255, 255), page.pixel(5, 5));
    EXPECT_EQ(qmtest::pictureColour(24, 0, 3), page.pixel(5, 35));
    EXPECT_EQ(qmtest::pictureColour(24, 5, 2), page.pixel(55, 25));
    // To a device bitmap and back.
    HBITMAP bitmap = gdiDibToBitmap(page.dc(), dib);
    ASSERT_NE(nullptr, bitmap);
    MemHandle back = gdiBitmapToDib(bitmap);
    ASSERT_NE(0u, back);
    BITMAPINFOHEADER h;
    ASSERT_EQ(1, gdiDibInfo(back, 0, &h));
    EXPECT_EQ(6, h.biWidth);
    EXPECT_EQ(4, h.biHeight);
    EXPECT_EQ(24, h.biBitCount);
    utFreeHandle(back);
    // A palette of an 8-bit DIB's table; a 3-3-2 cube for 24 bits.
    std::vector<uint8_t> eight = qmtest::bmpBytes(8);
    HPALETTE pal = gdiDibCreatePalette(reinterpret_cast<BITMAPINFOHEADER *>(eight.data() + 14));
    ASSERT_NE(nullptr, pal);
    PALETTEENTRY e[4];
    ASSERT_EQ(4u, GetPaletteEntries(pal, 0, 4, e));
    EXPECT_EQ(255, e[0].peRed);
    EXPECT_EQ(160, e[1].peGreen);
    HPALETTE copy = gdiCopyPalette(pal);
    EXPECT_EQ(4u, GetPaletteEntries(copy, 0, 0, nullptr));
    DeleteObject(copy);
    DeleteObject(pal);
    BITMAPINFOHEADER h24 = header(2, 2, 24);
    MemHandle cube = gdiDibLogPalette(&h24);
    {
        MemLock<LOGPALETTE> lp(cube);
        ASSERT_TRUE(lp);
        EXPECT_EQ(256, lp->palNumEntries);
        EXPECT_EQ(32, lp->palPalEntry[1].peRed);
        EXPECT_EQ(32, lp->palPalEntry[8].peGreen);
        EXPECT_EQ(64, lp->palPalEntry[64].peBlue);
    }
    utFreeHandle(cube);
    utFreeHandle(dib);
}

// A 4 x 4 bitmap: green with a red centre of 2 x 2.
HBITMAP greenWithRedCentre(HDC dc)
{
    HBITMAP bmp = CreateCompatibleBitmap(dc, 4, 4);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT all = {0, 0, 4, 4}, centre = {1, 1, 3, 3};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0)), red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(mem, &all, green);
    FillRect(mem, &centre, red);
    DeleteObject(green);
    DeleteObject(red);
    SelectObject(mem, old);
    DeleteDC(mem);
    return bmp;
}

TEST(GdiDib, TransparentColourOnBothPaths)
{
    const COLORREF blue = RGB(0, 0, 255);
    // Mask path, in logical units (15 twips a pixel at zoom 100).
    {
        qmtest::Dib page(40, 40, blue);
        dmSetMapping(page.dc());
        HBITMAP bmp = greenWithRedCentre(page.dc());
        EXPECT_EQ(1, gdiTransparentStretchBlt(page.dc(), bmp, 0, 0, 600, 600, 0, 0, 0, 0,
                                              RGB(0, 255, 0)));
        EXPECT_EQ(blue, page.pixel(2, 2)) << "the green border is clear";
        EXPECT_EQ(RGB(255, 0, 0), page.pixel(20, 20));
        DeleteObject(bmp);
    }
    // TransparentBlt of msimg32, then its fallback without the library.
    for (const char *library : {(const char *)nullptr, "qm_no_such_library.dll"}) {
        gdiSetMsimg32Name(library);
        qmtest::Dib page(40, 40, blue);
        HBITMAP bmp = greenWithRedCentre(page.dc());
        HDC src = CreateCompatibleDC(page.dc());
        HGDIOBJ old = SelectObject(src, bmp);
        EXPECT_EQ(0, gdiTransparentBltStretch(page.dc(), 0, 0, 40, 40, src, 0, 0, 4, 0,
                                              RGB(0, 255, 0)))
            << "a zero-height source draws nothing";
        EXPECT_EQ(blue, page.pixel(20, 20));
        EXPECT_EQ(1, gdiTransparentBltStretch(page.dc(), 0, 0, 40, 40, src, 0, 0, 4, 4,
                                              RGB(0, 255, 0)));
        EXPECT_EQ(blue, page.pixel(2, 2)) << (library ? library : "msimg32");
        EXPECT_EQ(RGB(255, 0, 0), page.pixel(20, 20)) << (library ? library : "msimg32");
        SelectObject(src, old);
        DeleteDC(src);
        DeleteObject(bmp);
    }
    gdiSetMsimg32Name(nullptr);
    EXPECT_FALSE(gdiHasMsimg32());
}

}  // namespace
