// Font records, font matching (on injected font lists and on the installed
// faces), face lists and character set names.
#include "tests/support/kit.h"
#include "support/gdi_font.h"
#include "support/rc_list.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> splitFaces(MemHandle list)
{
    std::vector<std::string> out;
    MemLock<char> text(list);
    for (const char *at = text.get(); at && *at;) {
        const char *end = strchr(at, '\n');
        out.emplace_back(at, end ? (size_t)(end - at) : strlen(at));
        at = end ? end + 1 : nullptr;
    }
    return out;
}

// A raster font of the face whose em height is `em` logical units.
GdiEnumFont raster(const char *face, int32_t em, BYTE italic = 0)
{
    GdiEnumFont f = {};
    strcpy(f.lf.lfFaceName, face);
    f.lf.lfHeight = em + 3;
    f.lf.lfWidth = 7;
    f.lf.lfItalic = italic;
    f.tm.tmHeight = em + 3;
    f.tm.tmInternalLeading = 3;
    f.type = RASTER_FONTTYPE;
    return f;
}

}  // namespace

TEST(GdiFont, RecordsSizesAndCharsetNames)
{
    LOGFONTA lf;
    memset(&lf, 0x5A, sizeof lf);
    char *face = gdiInitLogFontStyled(&lf, "Arial", -12, GDI_FONT_BOLD | GDI_FONT_UNDERLINE);
    EXPECT_EQ(lf.lfFaceName, face);
    EXPECT_STREQ("Arial", lf.lfFaceName);
    EXPECT_EQ(-240, lf.lfHeight);
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_EQ(1, lf.lfUnderline);
    EXPECT_EQ(0, lf.lfItalic);
    EXPECT_EQ(0, lf.lfStrikeOut);
    EXPECT_EQ(0, lf.lfWidth) << "the record is zeroed first";
    gdiInitLogFontStyled(&lf, "Arial", 9, GDI_FONT_ITALIC | GDI_FONT_STRIKEOUT);
    EXPECT_EQ(-180, lf.lfHeight);
    EXPECT_EQ(400, lf.lfWeight);
    EXPECT_EQ(1, lf.lfItalic);
    EXPECT_EQ(1, lf.lfStrikeOut);

    EXPECT_EQ(240, gdiFontSizeToTwips(-12));
    EXPECT_EQ(210, gdiFontSizeToTwipsF(10.52));
    EXPECT_EQ(210, gdiFontSizeToTwipsF(-10.5));
    EXPECT_DOUBLE_EQ(10.5, gdiTwipsToPointsF(210));
    EXPECT_DOUBLE_EQ(10.5, gdiTwipsToPointsF(-210));
    EXPECT_EQ(11, gdiTwipsToPointsInt(210)) << "10.5 rounds up";
    EXPECT_EQ(10, gdiTwipsToPointsInt(209));

    FontSpec spec;
    gdiSetFontSpec(&spec, "A face name far longer than thirty-two characters", 0x10000 | 14);
    EXPECT_EQ(32u, strlen(spec.face));
    gdiLogFontFromSpec(&lf, &spec);
    EXPECT_EQ(-280, lf.lfHeight) << "the size is the low 16 bits";
    EXPECT_EQ(0, strncmp(lf.lfFaceName, "A face name far longer", 22));

    const struct {
        int charset;
        const char *name;
    } names[] = {{2, "Symbol"},       {128, "Japanese JIS"}, {129, "Korean HANGUEL"},
                 {130, "JOHAB"},      {134, "Chinese GB"},   {136, "Chinese Big5"},
                 {161, "Greek"},      {162, "Turkish"},      {163, "Vietnamese"},
                 {177, "Hebrew"},     {178, "Arabic"},       {204, "Russian"},
                 {222, "Thai"},       {238, "East European"}};
    char name[32];
    for (const auto &n : names) {
        EXPECT_TRUE(gdiCharsetName(n.charset, name)) << n.charset;
        EXPECT_STREQ(n.name, name);
    }
    strcpy(name, "left over");
    EXPECT_FALSE(gdiCharsetName(0, name));
    EXPECT_STREQ("", name);
    EXPECT_FALSE(gdiCharsetName(255, name));
}

TEST(GdiFont, RasterSizesPickTheNearestAndTheFirstOfEqualOnes)
{
    // Em heights of 8, 10 and 12 points in twips (points mode) and the same
    // numbers in device units (device mode).
    const std::vector<GdiEnumFont> twips = {raster("Tiny", 160), raster("Tiny", 200),
                                            raster("Tiny", 240)};
    LOGFONTA lf = {};
    ASSERT_TRUE(gdiPickFont(twips.data(), 3, "tiny", 11, 0, &lf));
    EXPECT_EQ(203, lf.lfHeight) << "the 10-point font: the first of two equal differences";
    EXPECT_EQ(0, lf.lfWidth);
    ASSERT_TRUE(gdiPickFont(twips.data(), 3, "Tiny", 12, 0, &lf));
    EXPECT_EQ(243, lf.lfHeight);
    ASSERT_TRUE(gdiPickFont(twips.data(), 3, "Tiny", 4, 0, &lf));
    EXPECT_EQ(163, lf.lfHeight);

    const std::vector<GdiEnumFont> device = {raster("Tiny", 8), raster("Tiny", 10),
                                             raster("Tiny", 12)};
    ASSERT_TRUE(gdiPickFont(device.data(), 3, "Tiny", 11, 1, &lf));
    EXPECT_EQ(13, lf.lfHeight);

    // Italic fonts and other faces are no candidates.
    const std::vector<GdiEnumFont> others = {raster("Other", 11), raster("Tiny", 11, 1)};
    EXPECT_FALSE(gdiPickFont(others.data(), 2, "Tiny", 11, 1, &lf));
    EXPECT_STREQ("Tiny", lf.lfFaceName);
    EXPECT_FALSE(gdiPickFont(nullptr, 0, "Tiny", 11, 1, &lf));

    // An outline font ends the search, scaled to the size.
    GdiEnumFont outline = raster("Tiny", 200);
    outline.type = TRUETYPE_FONTTYPE;
    outline.lf.lfHeight = 400;
    outline.lf.lfWeight = 700;
    const std::vector<GdiEnumFont> mixed = {raster("Tiny", 160), outline, raster("Tiny", 220)};
    ASSERT_TRUE(gdiPickFont(mixed.data(), 3, "Tiny", 12, 0, &lf));
    EXPECT_EQ(MulDiv(12, 400, 10), lf.lfHeight);
    EXPECT_EQ(0, lf.lfWeight);
    ASSERT_TRUE(gdiPickFont(mixed.data(), 3, "Tiny", 12, 1, &lf));
    EXPECT_EQ(19, lf.lfHeight) << "trunc(12 x 1.6)";
    outline.tm.tmHeight = outline.tm.tmInternalLeading;   // em 0
    ASSERT_TRUE(gdiPickFont(&outline, 1, "Tiny", 12, 0, &lf));
    EXPECT_EQ(0, lf.lfHeight);
}

TEST(GdiFont, MatchingInstalledFacesAndTheSystemFallback)
{
    gdiResetFontCache();
    LOGFONTA lf = {};
    EXPECT_FALSE(gdiMatchFont(nullptr, FALSE, 0, "No Such Face", 12, &lf));
    LOGFONTA system = {};
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof system, &system);
    EXPECT_STREQ(system.lfFaceName, lf.lfFaceName);
    EXPECT_EQ(system.lfHeight * 20, lf.lfHeight) << "points mode: the system font x 20";
    EXPECT_FALSE(gdiMatchFont(nullptr, FALSE, 1, "No Such Face", 12, &lf));
    EXPECT_EQ(system.lfHeight, lf.lfHeight);
    // No printer here: the search falls back to the screen.
    EXPECT_FALSE(gdiMatchFont(nullptr, TRUE, 1, "No Such Face", 12, &lf));

    // "Arial" is a replacement face here, matched like an installed one.
    ASSERT_TRUE(gdiMatchFont(nullptr, FALSE, 0, "Arial", 12, &lf));
    EXPECT_EQ(0, lstrcmpiA("Arial", lf.lfFaceName));
    EXPECT_NE(0, lf.lfHeight);
    ASSERT_TRUE(gdiMatchFont(nullptr, TRUE, 1, "arial", 10, &lf));
    EXPECT_EQ(16, lf.lfHeight);

    BOOL trueType = FALSE;
    EXPECT_TRUE(gdiFontExists(nullptr, FALSE, "Arial", &trueType));
    EXPECT_TRUE(trueType);
    EXPECT_FALSE(gdiFontExists(nullptr, FALSE, "No Such Face", &trueType));
    EXPECT_FALSE(trueType);
    EXPECT_FALSE(gdiFontExists(nullptr, FALSE, "", nullptr));
}

TEST(GdiFont, FaceListHasEachFaceOnceSorted)
{
    gdiResetFontCache();
    const long before = qmtest::liveHandles();
    MemHandle list = gdiListFontFaces(nullptr, FALSE);
    ASSERT_NE(0u, list);
    const std::vector<std::string> faces = splitFaces(list);
    utFreeHandle(list);
    EXPECT_EQ(before, qmtest::liveHandles());
    ASSERT_GT(faces.size(), 1u);
    for (size_t i = 1; i < faces.size(); ++i)
        EXPECT_LT(lstrcmpiA(faces[i - 1].c_str(), faces[i].c_str()), 0)
            << faces[i - 1] << " before " << faces[i];
    bool ui = false;
    for (const std::string &f : faces)
        ui = ui || lstrcmpiA(f.c_str(), "Arial") == 0;
    EXPECT_TRUE(ui) << "the interface face";
    // The printer's list falls back to the screen's; a second call is the
    // same list from the cache.
    MemHandle again = gdiListFontFaces(nullptr, TRUE);
    EXPECT_EQ(faces, splitFaces(again));
    utFreeHandle(again);
}

TEST(GdiFont, MetricsOfAFontRecord)
{
    qmtest::Dib dib(10, 10);
    LOGFONTA lf;
    gdiInitLogFont(&lf, "Arial", 12);
    lf.lfHeight = -16;
    int32_t avg = 0, height = 0, leading = -1, line = 0, ascent = 0;
    EXPECT_EQ(1, gdiFontMetrics(dib.dc(), &lf, &avg, &height, &leading, &line, &ascent));
    EXPECT_GT(avg, 0);
    EXPECT_GE(height, 16);
    EXPECT_EQ(height + leading, line);
    EXPECT_GT(ascent, 0);
    EXPECT_LT(ascent, height);
    EXPECT_EQ(0, gdiFontMetrics(nullptr, &lf, &avg, nullptr, nullptr, nullptr, nullptr));
    // The font selected before is selected again.
    HGDIOBJ before = GetCurrentObject(dib.dc(), OBJ_FONT);
    gdiFontMetrics(dib.dc(), &lf, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(before, GetCurrentObject(dib.dc(), OBJ_FONT));
}
