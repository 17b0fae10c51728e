// Picture files read through the Win32 file calls into the image library:
// the error each kind of bad file gives, and a good file's pixels.
#include "tests/support/kit.h"
#include "objects/img_io.h"
#include "support/qmfreeimage.h"

namespace {

TEST(ImgLoadFile, ErrorsAndAGoodPicture)
{
    qmtest::TempDir dir;
    int32_t error = 0;
    EXPECT_EQ(nullptr, imgLoadFileBitmap("", &error));
    EXPECT_EQ(IMG_ERR_NO_NAME, error);
    EXPECT_EQ(nullptr, imgLoadFileBitmap(nullptr, nullptr));
    EXPECT_EQ(nullptr, imgLoadFileBitmap(dir.file("missing.bmp").c_str(), &error));
    EXPECT_EQ(IMG_ERR_READ, error);
    ASSERT_TRUE(qmtest::writeFile(dir.file("notes.bmp"), std::string("plain words, no picture")));
    EXPECT_EQ(nullptr, imgLoadFileBitmap(dir.file("notes.bmp").c_str(), &error));
    EXPECT_EQ(IMG_ERR_FILE_TYPE, error);
    EXPECT_TRUE(qmtest::fileIsClosed(dir.file("notes.bmp")));

    qmtest::Dib picture(5, 4, RGB(255, 0, 0));
    ASSERT_TRUE(picture.saveBmp(dir.file("red.bmp")));
    error = 0;
    FIBITMAP *bmp = imgLoadFileBitmap(dir.file("red.bmp").c_str(), &error);
    ASSERT_NE(nullptr, bmp);
    EXPECT_EQ(0, error);
    EXPECT_EQ(5u, FreeImage_GetWidth(bmp));
    EXPECT_EQ(4u, FreeImage_GetHeight(bmp));
    RGBQUAD px = {};
    ASSERT_TRUE(FreeImage_GetPixelColor(bmp, 2, 1, &px));
    EXPECT_EQ(255, px.rgbRed);
    EXPECT_EQ(0, px.rgbGreen);
    FreeImage_Unload(bmp);
    EXPECT_TRUE(qmtest::fileIsClosed(dir.file("red.bmp")));
}

}  // namespace
