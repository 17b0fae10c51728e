// Picture files through the image library: a table of files of every kind
// the program reads, a table of damaged and hostile ones, the memory
// streams, and the save, size and DIB actions.
#include "tests/support/kit.h"
#include "tests/support/kit_picture.h"
#include "objects/fc_image_kinds.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "objects/img_bitmap.h"
#include "objects/img_io.h"
#include "support/dm_map.h"
#include "support/gdi_dib.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

void put32(std::vector<uint8_t> &v, size_t at, uint32_t n) { memcpy(v.data() + at, &n, 4); }

// Draws the object into a page of its pixel size at zoom 100 and checks the
// centre of each pixel against the pattern.
void expectPattern(MemHandle object, int bits, int tolerance, const std::string &what)
{
    qmtest::Dib page(qmtest::kPicW, qmtest::kPicH, RGB(1, 2, 3));
    dmSetMapping(page.dc());
    obDraw(page.dc(), object);
    for (int y = 0; y < qmtest::kPicH; ++y)
        for (int x = 0; x < qmtest::kPicW; ++x)
            EXPECT_TRUE(qmtest::nearColour(qmtest::pictureColour(bits, x, y), page.pixel(x, y),
                                           tolerance))
                << what << " at " << x << "," << y << ": " << std::hex << page.pixel(x, y);
}

class ImgIo : public ::testing::Test {
protected:
    void SetUp() override { dmResetMapping(); before_ = utLiveHandleCount(); }
    void TearDown() override
    {
        EXPECT_EQ(before_, utLiveHandleCount()) << "memory blocks left";
        EXPECT_EQ(0, imgLiveLibraryBitmaps()) << "library bitmaps left";
        EXPECT_EQ(0, imgMemStreamCount());
        EXPECT_FALSE(imgMemStreamTableExists());
    }
    qmtest::TempDir dir_;
    long before_ = 0;
};

TEST_F(ImgIo, EveryKindOfFileBecomesABitmapObject)
{
    struct Case {
        std::string name;
        std::vector<uint8_t> bytes;
        int bits, tolerance;
    };
    std::vector<Case> cases = {
        {"p1.bmp", qmtest::bmpBytes(1), 1, 0},
        {"p4.bmp", qmtest::bmpBytes(4), 4, 0},
        {"p8.bmp", qmtest::bmpBytes(8), 8, 0},
        {"p24.bmp", qmtest::bmpBytes(24), 24, 0},
        {"p32.bmp", qmtest::bmpBytes(32), 32, 0},
        {"down.bmp", qmtest::bmpBytes(24, true), 24, 0},
        {"down8.bmp", qmtest::bmpBytes(8, true), 8, 0},
        {"p.png", qmtest::libraryBytes("png"), 24, 0},
        {"p.gif", qmtest::libraryBytes("gif"), 8, 0},
        {"p.tif", qmtest::libraryBytes("tif"), 24, 0},
        {"p.jpg", qmtest::libraryBytes("jpg"), 24, 48},
    };
    qmtest::BoxRecorder boxes;
    for (const Case &c : cases) {
        ASSERT_FALSE(c.bytes.empty()) << c.name;
        std::string path = dir_.file(c.name);
        ASSERT_TRUE(qmtest::writeFile(path, c.bytes));
        MemHandle object = imgLoadFileObject(nullptr, path.c_str(), 0, FALSE, 0);
        ASSERT_NE(0u, object) << c.name << ": " << boxes.texts();
        EXPECT_EQ(OBT_BITMAP, obGetType(object));
        int32_t w = 0, h = 0;
        EXPECT_EQ(1, imgBitmapPixelSize(object, &w, &h));
        EXPECT_EQ(6, w) << c.name;
        EXPECT_EQ(4, h) << c.name;
        RECT box;
        obGetRect(object, &box);
        EXPECT_EQ(0, box.left);
        EXPECT_EQ(0, box.top);
        EXPECT_EQ(90, box.right) << c.name << ": 15 twips a pixel at 96 dpi";
        EXPECT_EQ(60, box.bottom);
        EXPECT_EQ(1, imgNaturalSizeKind(object));
        {
            ObLock rec(object);
            EXPECT_EQ(kImgBitmapFlags, rec->flags);
            EXPECT_EQ(rec->length, objRecordSize(rec.get(), 0)) << "the length is its size";
        }
        expectPattern(object, c.bits, c.tolerance, c.name);
        // The pixel size and the DIB of the same file.
        EXPECT_EQ(1, imgGetFileSize(nullptr, path.c_str(), &w, &h));
        EXPECT_EQ(6, w);
        EXPECT_EQ(4, h);
        MemHandle dib = imgLoadFileDib(nullptr, path.c_str());
        ASSERT_NE(0u, dib);
        BITMAPINFOHEADER bih;
        gdiDibInfo(dib, 0, &bih);
        EXPECT_EQ(4, bih.biHeight) << "stored bottom-up";
        utFreeHandle(dib);
        EXPECT_TRUE(qmtest::fileIsClosed(path));
        obFreeTree(object);
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    // A transparent colour asked for at loading is switched on.
    std::string path = dir_.file("p24.bmp");
    MemHandle object = imgLoadFileObject(nullptr, path.c_str(), 0, TRUE, RGB(255, 0, 0));
    COLORREF colour = 0;
    EXPECT_EQ(1, imgGetTransparentHandle(object, &colour));
    EXPECT_EQ(RGB(255, 0, 0), colour);
    obFreeTree(object);
}

TEST_F(ImgIo, DamagedAndHostileFilesAreRefused)
{
    std::vector<uint8_t> bmp = qmtest::bmpBytes(8);
    std::vector<uint8_t> png = qmtest::libraryBytes("png");
    struct Case {
        std::string what, name;
        std::vector<uint8_t> bytes;
        const char *error;
    };
    std::vector<Case> cases;
    auto changed = [&](const std::string &what, size_t at, uint32_t value) {
        std::vector<uint8_t> b = bmp;
        put32(b, at, value);
        cases.push_back({what, "bad.bmp", b, "Read error"});
    };
    changed("width 2^30", 18, 1u << 30);
    changed("height 2^30", 22, 1u << 30);
    changed("100000 used colours", 46, 100000);
    changed("negative header size", 14, (uint32_t)-40);
    for (size_t cut : {1, 14, 30, 54, 62, 66})
        cases.push_back({"bmp cut at " + std::to_string(cut), "cut.bmp",
                         std::vector<uint8_t>(bmp.begin(), bmp.begin() + cut), "Read error"});
    for (size_t cut : {(size_t)8, (size_t)20, (size_t)40, png.size() - 12})
        cases.push_back({"png cut at " + std::to_string(cut), "cut.png",
                         std::vector<uint8_t>(png.begin(), png.begin() + cut), "Read error"});
    {
        std::vector<uint8_t> huge = png;   // IHDR width at 16, big-endian
        huge[16] = 0x40;
        cases.push_back({"png width 2^30", "huge.png", huge, "Read error"});
    }
    {
        // A GIF whose screen and image say 65535 x 65535.
        std::vector<uint8_t> gif = qmtest::libraryBytes("gif");
        gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;
        size_t at = 13 + ((gif[10] & 0x80) ? 3u << ((gif[10] & 7) + 1) : 0);
        while (at + 9 < gif.size() && gif[at] == 0x21) {   // extensions: skip their blocks
            at += 2;
            while (at < gif.size() && gif[at])
                at += gif[at] + 1u;
            ++at;
        }
        ASSERT_EQ(0x2C, gif[at]) << "the image descriptor";
        for (int i = 5; i < 9; ++i)
            gif[at + i] = 0xFF;
        cases.push_back({"gif 65535 x 65535", "huge.gif", gif, "Read error"});
    }
    for (const char *ext : {"gif", "jpg", "tif"}) {
        std::vector<uint8_t> whole = qmtest::libraryBytes(ext);
        for (size_t cut : {(size_t)6, whole.size() / 3})
            cases.push_back({std::string(ext) + " cut at " + std::to_string(cut),
                             std::string("cut.") + ext,
                             std::vector<uint8_t>(whole.begin(), whole.begin() + cut),
                             "Read error"});
    }
    cases.push_back({"a PNG named .jpg", "named.jpg", png, "Read error"});
    cases.push_back({"an empty file", "empty.png", {}, "Read error"});
    cases.push_back({"an unknown extension", "x.qqq", png, "Unknown file type"});
    for (const Case &c : cases) {
        qmtest::BoxRecorder boxes;
        std::string path = dir_.file(c.name);
        ASSERT_TRUE(qmtest::writeFile(path, c.bytes));
        EXPECT_EQ(0u, imgLoadFileObject(nullptr, path.c_str(), 0, FALSE, 0)) << c.what;
        ASSERT_EQ(1u, boxes.count()) << c.what;
        EXPECT_EQ(std::string(c.error) + ": " + path, boxes.last().text) << c.what;
        EXPECT_EQ(0u, imgLoadFileDib(nullptr, path.c_str())) << c.what;
        int32_t w = 1, h = 1;
        imgGetFileSize(nullptr, path.c_str(), &w, &h);
        EXPECT_TRUE(qmtest::fileIsClosed(path)) << c.what;
        EXPECT_EQ(0, imgLiveLibraryBitmaps()) << c.what;
        DeleteFileA(path.c_str());
    }
    qmtest::BoxRecorder boxes;
    EXPECT_EQ(0u, imgLoadFileObject(nullptr, "x.qqq", 0, FALSE, 0));
    EXPECT_EQ("Unknown file type: x.qqq", boxes.last().text);
    EXPECT_EQ(0u, imgLoadFileObject(nullptr, "", 0, FALSE, 0));
    EXPECT_EQ("No file name: ", boxes.last().text);
    EXPECT_EQ(0u, imgLoadFileObject(nullptr, dir_.file("missing.png").c_str(), 0, FALSE, 0));
    EXPECT_EQ("Read error: " + dir_.file("missing.png"), boxes.last().text);
}

TEST_F(ImgIo, ActionsOutsideTheTableAndTheKindTable)
{
    for (int32_t action : {0, 10, -1}) {
        ImgIoRequest r = {};
        r.action = action;
        EXPECT_EQ(0, imgIoDispatch(&r)) << action;
        EXPECT_EQ(IMG_ERR_ACTION, r.error) << action;
    }
    EXPECT_STREQ("Unknown action reqest", imgIoErrorText(-3));
    EXPECT_STREQ("Failed from DIB to FIB", imgIoErrorText(-5));
    EXPECT_STREQ("Unknown error", imgIoErrorText(-6));
    EXPECT_EQ(0u, imgNoopTransform(0));
    EXPECT_EQ(77u, imgNoopTransform(77));
    struct Kind {
        const char *path;
        int32_t code;
    } kinds[] = {{"a.bmp", 32}, {"C:\\x\\b.JPG", 35}, {"c.pcx", 33}, {"d.png", 36},
                 {"e.gif", 0},  {"noext", 0},          {"dir.png\\file", 0}};
    for (const Kind &k : kinds)
        EXPECT_EQ(k.code, imgKindFromPath(k.path)) << k.path;
    char ext[8];
    EXPECT_EQ(1, imgKindExtension(35, ext));
    EXPECT_STREQ(".jpg", ext);
    EXPECT_EQ(0, imgKindExtension(34, ext));
    EXPECT_STREQ("", ext);
}

TEST_F(ImgIo, MemoryStreams)
{
    uint8_t data[100];
    for (int i = 0; i < 100; ++i)
        data[i] = (uint8_t)i;
    void *s = imgMemOpen(data, sizeof data);
    ASSERT_EQ(data, s);
    EXPECT_EQ(0, imgMemSeek(s, -8, SEEK_END));
    EXPECT_EQ(92, imgMemTell(s));
    uint8_t out[20] = {};
    EXPECT_EQ(8u, imgMemRead(out, 1, 20, s)) << "only what is left";
    EXPECT_EQ(92, out[0]);
    EXPECT_EQ(99, out[7]);
    EXPECT_EQ(100, imgMemTell(s));
    EXPECT_EQ(0u, imgMemRead(out, 1, 1, s));
    EXPECT_NE(0, imgMemSeek(s, 1, SEEK_CUR)) << "past the end is refused";
    EXPECT_NE(0, imgMemSeek(s, -101, SEEK_END));
    EXPECT_EQ(100, imgMemTell(s)) << "a refused seek leaves the position";
    EXPECT_EQ(0, imgMemSeek(s, 10, SEEK_SET));
    EXPECT_EQ(2u, imgMemRead(out, 4, 2, s));   // whole items
    EXPECT_EQ(10, out[0]);
    EXPECT_EQ(0, imgMemSeek(s, 96, SEEK_SET));
    EXPECT_EQ(1u, imgMemRead(out, 3, 2, s)) << "one whole item of 3 in the 4 left";
    uint8_t in[4] = {1, 2, 3, 4};
    EXPECT_EQ(0, imgMemSeek(s, 98, SEEK_SET));
    EXPECT_EQ(0u, imgMemWrite(in, 4, 1, s)) << "no whole item: only what fits is written";
    EXPECT_EQ(100, imgMemTell(s));
    EXPECT_EQ(0u, imgMemWrite(in, 1, 4, s)) << "never past the end";
    EXPECT_EQ(1, data[98]);
    EXPECT_EQ(2, data[99]);
    void *t = imgMemOpen(data + 50, 10);
    EXPECT_EQ(2, imgMemStreamCount());
    EXPECT_EQ(0, imgMemTell(t));
    imgMemClose(s);
    EXPECT_EQ(0, imgMemTell(s)) << "an unknown handle";
    EXPECT_NE(0, imgMemSeek(s, 0, SEEK_SET));
    EXPECT_EQ(1, imgMemStreamCount());
    imgMemClose(t);
    EXPECT_FALSE(imgMemStreamTableExists());
    // Two pictures in memory measured one after the other.
    std::vector<uint8_t> png = qmtest::libraryBytes("png");
    for (int i = 0; i < 2; ++i) {
        int32_t w = 0, h = 0;
        EXPECT_EQ(1, imgMemPixelSize(png.data(), (uint32_t)png.size(), IMG_KIND_PNG, &w, &h));
        EXPECT_EQ(6, w);
        EXPECT_EQ(4, h);
        EXPECT_EQ(0, imgMemStreamCount());
    }
    int32_t w = 1, h = 1;
    EXPECT_EQ(0, imgMemPixelSize(png.data(), (uint32_t)png.size(), IMG_KIND_JPG, &w, &h));
    EXPECT_EQ(0, w);
    EXPECT_EQ(0, imgMemPixelSize(png.data(), (uint32_t)png.size(), 0, &w, &h));
    EXPECT_EQ(0, imgMemPixelSize(png.data(), 30, IMG_KIND_PNG, &w, &h));
}

TEST_F(ImgIo, SavingDibsAndObjects)
{
    qmtest::BoxRecorder boxes;
    // 8 bits with a table of 4: the library's palette holds 256; 1 bit with
    // a table of 2. Saved, then loaded again: the same pixels.
    for (int bits : {1, 8, 24, 32}) {
        std::string src = dir_.file("src.bmp");
        ASSERT_TRUE(qmtest::writeFile(src, qmtest::bmpBytes(bits)));
        for (const char *ext : {"png", "bmp", "tif"}) {
            MemHandle dib = gdiLoadDibFile(src.c_str(), 0);
            ASSERT_NE(0u, dib);
            std::string out = dir_.file(std::string("out.") + ext);
            EXPECT_EQ(1, imgSaveDibFile(nullptr, dib, out.c_str())) << bits << ext;
            MemHandle object = imgLoadFileObject(nullptr, out.c_str(), 0, FALSE, 0);
            ASSERT_NE(0u, object) << bits << ext << boxes.texts();
            expectPattern(object, bits, 0, std::to_string(bits) + ext);
            obFreeTree(object);
        }
    }
    // A top-down DIB and a bitmap object saved by action 3.
    std::string down = dir_.file("down.bmp");
    ASSERT_TRUE(qmtest::writeFile(down, qmtest::bmpBytes(24, true)));
    MemHandle object = imgLoadFileObject(nullptr, down.c_str(), 0, FALSE, 0);
    ImgIoRequest r = {};
    r.action = IMG_ACTION_SAVE_OBJECT;
    r.object = object;
    std::string out = dir_.file("object.png");
    r.fileName = out.c_str();
    EXPECT_EQ(1, imgIoDispatch(&r));
    obFreeTree(object);
    MemHandle dib = gdiLoadDibFile(down.c_str(), 0);
    ASSERT_NE(0u, dib);
    EXPECT_EQ(1, imgExportDib(nullptr, dib, dir_.file("export.out").c_str(), IMG_KIND_PNG));
    utFreeHandle(dib);
    for (const std::string &p : {out, dir_.file("export.out")}) {
        std::vector<uint8_t> bytes = qmtest::readFile(p);
        ASSERT_GT(bytes.size(), 8u);
        EXPECT_EQ(0x89, bytes[0]) << p;
        EXPECT_EQ('P', bytes[1]) << p;
        std::string copy = dir_.file("copy.png");
        qmtest::writeFile(copy, bytes);
        MemHandle back = imgLoadFileObject(nullptr, copy.c_str(), 0, FALSE, 0);
        expectPattern(back, 24, 0, p);
        obFreeTree(back);
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    // A DIB of 0: nothing done, error 0; the wrapper answers 0.
    ImgIoRequest none = {};
    none.action = IMG_ACTION_SAVE_DIB;
    none.fileName = out.c_str();
    EXPECT_EQ(1, imgIoDispatch(&none));
    EXPECT_EQ(IMG_OK, none.error);
    EXPECT_EQ(0, imgSaveDibFile(nullptr, 0, out.c_str()));
    // A failure frees the DIB too and says why.
    dib = gdiLoadDibFile(down.c_str(), 0);
    EXPECT_EQ(0, imgSaveDibFile(nullptr, dib, dir_.file("x.qqq").c_str()));
    EXPECT_FALSE(utIsLiveHandle(dib));
    EXPECT_EQ("Unknown file type: " + dir_.file("x.qqq"), boxes.last().text);
}

TEST_F(ImgIo, BlitFilePartCopiesTheWholePart)
{
    std::string path = dir_.file("p.bmp");
    ASSERT_TRUE(qmtest::writeFile(path, qmtest::bmpBytes(24)));
    qmtest::Dib page(10, 10, RGB(1, 2, 3));
    // From (2, 1), to the picture's edge (-1): 4 x 3 pixels, all of them.
    EXPECT_EQ(1, imgBlitFilePart(page.dc(), path.c_str(), 2, 1, -1, -1, 0, 0, SRCCOPY));
    EXPECT_EQ(qmtest::pictureColour(24, 2, 1), page.pixel(0, 0));
    EXPECT_EQ(qmtest::pictureColour(24, 5, 3), page.pixel(3, 2)) << "the last column and row";
    EXPECT_EQ(RGB(1, 2, 3), page.pixel(4, 2));
    EXPECT_EQ(RGB(1, 2, 3), page.pixel(3, 3));
    page.fill(RGB(1, 2, 3));
    EXPECT_EQ(1, imgBlitFilePart(page.dc(), path.c_str(), -5, 0, 100, 2, 1, 1, SRCCOPY));
    EXPECT_EQ(qmtest::pictureColour(24, 5, 1), page.pixel(6, 2));
    EXPECT_EQ(RGB(1, 2, 3), page.pixel(7, 2));
    EXPECT_EQ(RGB(1, 2, 3), page.pixel(6, 3));
}

}  // namespace

namespace {

TEST_F(ImgIo, FilesDrawnFittedIntoARectangle)
{
    std::string path = dir_.file("p.png");
    ASSERT_TRUE(qmtest::writeFile(path, qmtest::libraryBytes("png")));
    qmtest::BoxRecorder boxes;
    const COLORREF bg = RGB(1, 2, 3);
    // 6 x 4 scaled to fit 12 x 12, centred: 12 x 8 from row 2.
    qmtest::Dib page(12, 12, bg);
    dmSetMapping(page.dc());
    RECT r = {0, 0, 180, 180};
    EXPECT_EQ(1, imgDrawFileInRect(page.dc(), path.c_str(), &r, SRCCOPY, GEO_FIT_SCALE, 8,
                                   FALSE, 0));
    EXPECT_EQ(bg, page.pixel(5, 1));
    EXPECT_EQ(qmtest::pictureColour(24, 0, 0), page.pixel(0, 2));
    EXPECT_EQ(qmtest::pictureColour(24, 5, 3), page.pixel(11, 9));
    EXPECT_EQ(bg, page.pixel(5, 10));
    // Stretched, with red transparent.
    page.fill(bg);
    EXPECT_EQ(1, imgDrawFileInRect(page.dc(), path.c_str(), &r, 0, GEO_FIT_FRAME, 0, TRUE,
                                   RGB(255, 0, 0)));
    EXPECT_EQ(bg, page.pixel(1, 1)) << "red left clear";
    EXPECT_EQ(qmtest::pictureColour(24, 5, 3), page.pixel(11, 11));
    // Nothing for no extension, a missing file, a metafile; nothing shown.
    EXPECT_EQ(0, imgDrawFileInRect(page.dc(), dir_.file("noext").c_str(), &r, 0, 0, 0, FALSE, 0));
    EXPECT_EQ(0, imgDrawFileInRect(page.dc(), dir_.file("gone.png").c_str(), &r, 0, 0, 0, FALSE,
                                   0));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    // The DIB at its natural size, clipped to the rectangle.
    page.fill(bg);
    RECT part = {0, 0, 45, 30};
    EXPECT_EQ(1, imgDrawFileDib(page.dc(), path.c_str(), &part, nullptr, SRCCOPY));
    EXPECT_EQ(qmtest::pictureColour(24, 2, 1), page.pixel(2, 1));
    EXPECT_EQ(bg, page.pixel(3, 1));
    EXPECT_EQ(bg, page.pixel(2, 2));
}

}  // namespace
