// Pictures that must load although the image library refuses them (the
// longer BMP headers, bare DIBs, run-length coding, 16-bit grey), hostile
// JPEGs refused before decoding, decodings that take too long abandoned,
// and pictures drawn from an object library's records.
#include "tests/support/kit.h"
#include "tests/support/kit_picture.h"
#include "commands/obj_block.h"
#include "library/olb_file.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "objects/fc_image_kinds.h"
#include "objects/img_bitmap.h"
#include "objects/img_io.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

typedef std::vector<uint8_t> Bytes;

void put32(Bytes &v, size_t at, uint32_t n) { memcpy(v.data() + at, &n, 4); }
uint32_t get32(const Bytes &v, size_t at)
{
    uint32_t n;
    memcpy(&n, v.data() + at, 4);
    return n;
}

// The test pattern's BMP with its 40-byte header made `size` bytes long
// (zeros after the first 40; bit-field masks in it for 32 bits).
Bytes longHeader(int bits, uint32_t size)
{
    Bytes b = qmtest::bmpBytes(bits);
    b.insert(b.begin() + 54, size - 40, 0);
    put32(b, 14, size);
    put32(b, 10, get32(b, 10) + size - 40);
    put32(b, 2, (uint32_t)b.size());
    if (bits == 32 && size >= 56) {
        put32(b, 30, BI_BITFIELDS);
        put32(b, 54, 0x00FF0000);
        put32(b, 58, 0x0000FF00);
        put32(b, 62, 0x000000FF);
    }
    return b;
}

// The 8-bit pattern with its rows run-length coded: a run per colour, an
// end of row after each, the end of the picture last.
Bytes rle8()
{
    Bytes plain = qmtest::bmpBytes(8);
    const uint32_t offset = get32(plain, 10);
    Bytes codes;
    for (int row = 0; row < qmtest::kPicH; ++row) {   // bottom row first
        const uint8_t *p = plain.data() + offset + 8 * row;
        codes.insert(codes.end(), {3, p[0], 3, p[3], 0, 0});
    }
    codes.insert(codes.end(), {0, 1});
    Bytes b(plain.begin(), plain.begin() + offset);
    b.insert(b.end(), codes.begin(), codes.end());
    put32(b, 30, BI_RLE8);
    put32(b, 34, (uint32_t)codes.size());
    put32(b, 2, (uint32_t)b.size());
    return b;
}

class ImgGuard : public ::testing::Test {
protected:
    void SetUp() override
    {
        dmResetMapping();
        before_ = utLiveHandleCount();
    }
    void TearDown() override
    {
        imgSetDecodeLimit(0, nullptr);
        EXPECT_EQ(before_, utLiveHandleCount()) << "memory blocks left";
        EXPECT_EQ(0, imgLiveLibraryBitmaps()) << "library bitmaps left";
    }
    // The object's pixels at zoom 100 against the pattern.
    void expectPattern(MemHandle object, int bits, const std::string &what)
    {
        qmtest::Dib page(qmtest::kPicW, qmtest::kPicH, RGB(1, 2, 3));
        dmSetMapping(page.dc());
        obDraw(page.dc(), object);
        for (int y = 0; y < qmtest::kPicH; ++y)
            for (int x = 0; x < qmtest::kPicW; ++x)
                EXPECT_EQ(qmtest::pictureColour(bits, x, y), page.pixel(x, y))
                    << what << " at " << x << "," << y;
    }
    qmtest::TempDir dir_;
    long before_ = 0;
};

TEST_F(ImgGuard, PicturesTheLibraryRefusesLoadAtTheirOwnSize)
{
    struct Case {
        std::string name;
        Bytes bytes;
        int bits;   // the pattern's colours
    };
    Bytes bare = qmtest::bmpBytes(24);
    bare.erase(bare.begin(), bare.begin() + 14);
    std::vector<Case> cases = {
        {"v2.bmp", longHeader(24, 52), 24},
        {"v3.bmp", longHeader(8, 56), 8},
        {"v4.bmp", longHeader(24, 108), 24},
        {"v5.bmp", longHeader(8, 124), 8},
        {"v4fields.bmp", longHeader(32, 108), 32},
        {"v5fields.bmp", longHeader(32, 124), 32},
        {"bare.bmp", bare, 24},
        {"bare.dib", bare, 24},
        {"rle8.bmp", rle8(), 8},
    };
    qmtest::BoxRecorder boxes;
    for (const Case &c : cases) {
        const std::string path = dir_.file(c.name);
        ASSERT_TRUE(qmtest::writeFile(path, c.bytes));
        MemHandle object = imgLoadFileObject(nullptr, path.c_str(), 0, FALSE, 0);
        ASSERT_NE(0u, object) << c.name << ": " << boxes.texts();
        int32_t w = 0, h = 0;
        EXPECT_EQ(1, imgBitmapPixelSize(object, &w, &h));
        EXPECT_EQ(qmtest::kPicW, w) << c.name;
        EXPECT_EQ(qmtest::kPicH, h) << c.name;
        expectPattern(object, c.bits, c.name);
        obFreeTree(object);
        EXPECT_EQ(1, imgGetFileSize(nullptr, path.c_str(), &w, &h)) << c.name;
        EXPECT_EQ(qmtest::kPicW, w) << c.name;
        EXPECT_TRUE(qmtest::fileIsClosed(path)) << c.name;
    }
    // 16-bit grey: 8-bit grey of the high bytes.
    for (const char *ext : {"png", "tif"}) {
        Bytes bytes = qmtest::grey16Bytes(ext);
        ASSERT_FALSE(bytes.empty()) << ext;
        const std::string path = dir_.file(std::string("grey16.") + ext);
        ASSERT_TRUE(qmtest::writeFile(path, bytes));
        MemHandle object = imgLoadFileObject(nullptr, path.c_str(), 0, FALSE, 0);
        ASSERT_NE(0u, object) << ext << ": " << boxes.texts();
        int32_t w = 0, h = 0;
        EXPECT_EQ(1, imgBitmapPixelSize(object, &w, &h));
        EXPECT_EQ(qmtest::kGreyW, w) << ext;
        EXPECT_EQ(qmtest::kGreyH, h) << ext;
        qmtest::Dib page(qmtest::kGreyW, qmtest::kGreyH, RGB(1, 2, 3));
        dmSetMapping(page.dc());
        obDraw(page.dc(), object);
        EXPECT_EQ(RGB(0, 0, 0), page.pixel(0, 1)) << ext;
        EXPECT_EQ(RGB(0x80, 0x80, 0x80), page.pixel(2, 1)) << ext;
        EXPECT_EQ(RGB(255, 255, 255), page.pixel(4, 1)) << ext;
        obFreeTree(object);
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    // Damaged run-length codes stay inside the picture: runs past a row's
    // end, moves past the picture, copies past the codes.
    Bytes wild = rle8();
    const uint32_t at = get32(wild, 10);
    const uint8_t codes[] = {255, 1, 0, 2, 200, 200, 0, 250, 1, 2};
    wild.resize(at);
    wild.insert(wild.end(), codes, codes + sizeof codes);
    put32(wild, 34, sizeof codes);
    put32(wild, 2, (uint32_t)wild.size());
    const std::string path = dir_.file("wild.bmp");
    ASSERT_TRUE(qmtest::writeFile(path, wild));
    MemHandle object = imgLoadFileObject(nullptr, path.c_str(), 0, FALSE, 0);
    EXPECT_NE(0u, object) << boxes.texts();
    obFreeTree(object);
}

// A JPEG of markers only: a quantisation table, the frame, `scans` scans
// of two coded bytes each, the end.
Bytes jpeg(uint8_t frame, uint8_t precision, uint16_t width, uint16_t height, uint8_t components,
           int scans)
{
    Bytes b = {0xFF, 0xD8, 0xFF, 0xDB, 0, 67, 0};
    b.insert(b.end(), 64, 1);
    const uint16_t length = (uint16_t)(8 + 3 * components);
    b.insert(b.end(), {0xFF, frame, (uint8_t)(length >> 8), (uint8_t)length, precision,
                       (uint8_t)(height >> 8), (uint8_t)height, (uint8_t)(width >> 8),
                       (uint8_t)width, components});
    for (uint8_t c = 0; c < components; ++c)
        b.insert(b.end(), {(uint8_t)(c + 1), 0x11, 0});
    for (int s = 0; s < scans; ++s)
        b.insert(b.end(), {0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0, 0x12, 0x34});
    b.insert(b.end(), {0xFF, 0xD9});
    return b;
}

TEST_F(ImgGuard, HostileJpegsAreRefusedBeforeTheLibraryDecodesThem)
{
    Bytes good = qmtest::libraryBytes("jpg");
    Bytes scanFirst = jpeg(0xC0, 8, 16, 16, 1, 1);
    // The scan moved before the frame.
    std::rotate(scanFirst.begin() + 71, scanFirst.begin() + 71 + 13, scanFirst.end() - 2);
    Bytes twoFrames = jpeg(0xC0, 8, 16, 16, 1, 1);
    twoFrames.insert(twoFrames.begin() + 71, twoFrames.begin() + 71, twoFrames.begin() + 71 + 13);
    Bytes longSegment = jpeg(0xC0, 8, 16, 16, 1, 1);
    longSegment[4] = 0x7F;
    struct Case {
        const char *what;
        Bytes bytes;
    } cases[] = {
        {"8000 x 8000 in 130 bytes", jpeg(0xC2, 8, 8000, 8000, 1, 3)},
        {"2000 x 2000 in 100 bytes", jpeg(0xC0, 8, 2000, 2000, 3, 1)},
        {"65535 x 65535", jpeg(0xC0, 8, 65535, 65535, 1, 1)},
        {"101 scans", jpeg(0xC2, 8, 16, 16, 1, 101)},
        {"arithmetic coding", jpeg(0xC9, 8, 16, 16, 1, 1)},
        {"lossless", jpeg(0xC3, 8, 16, 16, 1, 1)},
        {"12 bits", jpeg(0xC0, 12, 16, 16, 1, 1)},
        {"2 components", jpeg(0xC0, 8, 16, 16, 2, 1)},
        {"height 0", jpeg(0xC0, 8, 16, 0, 1, 1)},
        {"no scan", jpeg(0xC0, 8, 16, 16, 1, 0)},
        {"a scan before the frame", scanFirst},
        {"two frames", twoFrames},
        {"a segment past the end", longSegment},
        {"no start marker", Bytes(good.begin() + 2, good.end())},
    };
    for (const Case &c : cases) {
        qmtest::BoxRecorder boxes;
        const std::string path = dir_.file("hostile.jpg");
        ASSERT_TRUE(qmtest::writeFile(path, c.bytes));
        EXPECT_EQ(0u, imgLoadFileObject(nullptr, path.c_str(), 0, FALSE, 0)) << c.what;
        ASSERT_EQ(1u, boxes.count()) << c.what;
        EXPECT_EQ("Read error: " + path, boxes.last().text) << c.what;
        int32_t w = 1, h = 1;
        EXPECT_EQ(0, imgMemPixelSize(c.bytes.data(), (uint32_t)c.bytes.size(), IMG_KIND_JPG, &w,
                                     &h))
            << c.what;
        EXPECT_EQ(0, imgDecodeWorkers()) << c.what << ": refused before any decoding";
    }
    // The same walk lets a real one through, from a file and from memory.
    int32_t w = 0, h = 0;
    EXPECT_EQ(1, imgMemPixelSize(good.data(), (uint32_t)good.size(), IMG_KIND_JPG, &w, &h));
    EXPECT_EQ(qmtest::kPicW, w);
}

HANDLE g_release = nullptr;
LONG g_started = 0;

void holdWorker()
{
    InterlockedIncrement(&g_started);
    WaitForSingleObject(g_release, INFINITE);
}

TEST_F(ImgGuard, ADecodingThatTakesTooLongIsAbandonedWithReadError)
{
    const std::string path = dir_.file("slow.png");
    const Bytes png = qmtest::libraryBytes("png");
    ASSERT_TRUE(qmtest::writeFile(path, png));
    g_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_started = 0;
    imgSetDecodeLimit(50, holdWorker);
    {
        qmtest::BoxRecorder boxes;
        EXPECT_EQ(0u, imgLoadFileObject(nullptr, path.c_str(), 0, FALSE, 0));
        EXPECT_EQ("Read error: " + path, boxes.texts());
        EXPECT_EQ(1, g_started);
        EXPECT_EQ(1, imgDecodeWorkers()) << "the worker is left to the library";
        // Asked again (a repaint) and from memory: refused at once.
        EXPECT_EQ(0u, imgLoadFileObject(nullptr, path.c_str(), 0, FALSE, 0));
        int32_t w = 1, h = 1;
        EXPECT_EQ(0, imgMemPixelSize(png.data(), (uint32_t)png.size(), IMG_KIND_PNG, &w, &h));
        EXPECT_EQ(1, g_started) << "no second worker";
        EXPECT_EQ(2u, boxes.count());
    }
    // The library returns: the worker frees what it made and ends.
    SetEvent(g_release);
    for (int i = 0; i < 10000 && imgDecodeWorkers(); ++i)
        Sleep(1);
    EXPECT_EQ(0, imgDecodeWorkers());
    EXPECT_EQ(0, imgLiveLibraryBitmaps());
    CloseHandle(g_release);
    // With the limit set again the picture is forgotten and loads.
    imgSetDecodeLimit(0, nullptr);
    MemHandle object = imgLoadFileObject(nullptr, path.c_str(), 0, FALSE, 0);
    EXPECT_NE(0u, object);
    obFreeTree(object);
}

// A picture named "library.olb\nname" is the library record unpacked into
// an object tree, drawn and freed; a record that does not unpack draws
// nothing, shows nothing and frees nothing it does not own.
TEST_F(ImgGuard, LibraryPicturesAreUnpackedDrawnAndFreed)
{
    const std::string bmp = dir_.file("p.bmp"), lib = dir_.file("pictures.olb");
    ASSERT_TRUE(qmtest::writeFile(bmp, qmtest::bmpBytes(24)));
    MemHandle picture = imgLoadFileObject(nullptr, bmp.c_str(), 0, FALSE, 0);
    ASSERT_NE(0u, picture);
    MemHandle block = objPackTree(picture);
    ASSERT_NE(0u, block);
    MemHandle env = olbCreateEnv(nullptr, OLB_ENV_FLAGS, 0, kOlbKindObjects,
                                 "Quillmark Object Lib (*.olb)\0*.olb\0", "olb", lib.c_str());
    ASSERT_TRUE(olbCreateFile(nullptr, env, lib.c_str()));
    ASSERT_TRUE(olbStoreObject(nullptr, env, block, "Picture"));
    utFreeHandle(block);
    // A damaged record: a block whose entry names the live picture's handle
    // in its links, and bytes that are no block at all.
    Bytes damaged(200, 0);
    put32(damaged, 0, (uint32_t)damaged.size());
    for (size_t at = 8; at + 4 <= damaged.size(); at += 4)
        put32(damaged, at, picture);
    MemHandle bad = utHandleFromBytes(damaged.data(), (uint32_t)damaged.size());
    ASSERT_TRUE(olbStoreObject(nullptr, env, bad, "Damaged"));
    memset(damaged.data() + 4, 0xFF, damaged.size() - 4);
    {
        MemLock<uint8_t> p(bad);
        memcpy(p.get(), damaged.data(), damaged.size());
    }
    ASSERT_TRUE(olbStoreObject(nullptr, env, bad, "Garbage"));
    utFreeHandle(bad);
    olbFreeEnv(env);

    qmtest::BoxRecorder boxes;
    const long live = utLiveHandleCount();
    qmtest::Dib page(qmtest::kPicW, qmtest::kPicH, RGB(1, 2, 3));
    dmSetMapping(page.dc());
    RECT r = {0, 0, 15 * qmtest::kPicW, 15 * qmtest::kPicH};
    const std::string good = lib + "\nPicture";
    for (int round = 0; round < 3; ++round) {
        page.fill(RGB(1, 2, 3));
        EXPECT_EQ(1, imgDrawFileInRect(page.dc(), good.c_str(), &r, 0, GEO_FIT_FRAME, 0, FALSE, 0));
        for (int y = 0; y < qmtest::kPicH; ++y)
            for (int x = 0; x < qmtest::kPicW; ++x)
                EXPECT_EQ(qmtest::pictureColour(24, x, y), page.pixel(x, y)) << x << "," << y;
        EXPECT_EQ(live, utLiveHandleCount()) << "round " << round;
    }
    for (const char *name : {"Damaged", "Garbage", "Missing"}) {
        page.fill(RGB(1, 2, 3));
        const std::string ref = lib + "\n" + name;
        EXPECT_EQ(0, imgDrawFileInRect(page.dc(), ref.c_str(), &r, 0, GEO_FIT_FRAME, 0, FALSE, 0))
            << name;
        EXPECT_EQ(RGB(1, 2, 3), page.pixel(2, 2)) << name;
        EXPECT_EQ(live, utLiveHandleCount()) << name;
        EXPECT_TRUE(utIsLiveHandle(picture)) << name << ": another object's block is kept";
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(OBT_BITMAP, obGetType(picture));
    obFreeTree(picture);
}

}  // namespace
