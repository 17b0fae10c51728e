// Character formats: applying codes, encoding formats and their
// differences, normalising code runs.
#include "tests/support/kit.h"
#include "text/tx_format.h"
#include "text/tx_header.h"
#include "text/tx_stream.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

namespace {

std::string flag(int code)
{
    char b[8];
    return std::string(b, (size_t)txMakeFlagCode(b, code));
}

std::string word(int code, int16_t v)
{
    char b[8];
    return std::string(b, (size_t)txMakeWordCode(b, code, v));
}

std::string str(int code, const char *text)
{
    char b[300];
    return std::string(b, (size_t)txMakeStringCode(b, code, text));
}

CharFormat regular(const char *face = "Arial")
{
    LOGFONTA lf = {};
    lf.lfHeight = -240;
    lf.lfWeight = 400;
    lstrcpyA(lf.lfFaceName, face);
    CharFormat f;
    txFormatFromLogFont(&f, &lf, 0, 0, 0, RGB(0, 0, 0), RGB(255, 255, 255));
    return f;
}

std::string normalised(const std::string &s, CharFormat *f)
{
    std::string b = s + std::string(8, '\0');
    int32_t n = txNormaliseCodes(&b[0], f);
    EXPECT_EQ(n, txstrlen(b.c_str()));
    return b.substr(0, (size_t)n);
}

TEST(TextFormat, BuiltFromLogFontAndHeader)
{
    CharFormat f = regular();
    EXPECT_EQ(4, f.spacing);
    EXPECT_EQ(1, f.bkMode);
    EXPECT_EQ(0u, f.codePage);
    TextHeader h = {};
    h.lf = f.lf;
    h.lf.lfCharSet = 128;
    h.flags = TXF_PLAIN | TXF_RULED | TXF_VERTICAL | TXF_RTL;
    h.formatFlags = TX_FMT_NO_PIVOT;
    h.align = TXA_CENTRE;
    h.borderX = 3;
    h.borderY = 4;
    h.columns = 0;
    h.ruledExtra = 25;
    h.cellWidth = 300;
    h.charSpacing = 15;
    RECT frame = {10, 20, 3000, 4000};
    txFormatFromHeader(&f, &h, &frame, RGB(1, 2, 3), RGB(4, 5, 6));
    EXPECT_EQ(TX_FMT_NO_PIVOT | TX_FMT_RULED | TX_FMT_VERTICAL | TX_FMT_RTL, f.flags);
    EXPECT_EQ(932u, f.codePage);
    EXPECT_EQ(60, f.borderX);
    EXPECT_EQ(80, f.borderY);
    EXPECT_EQ(1, f.columns);
    EXPECT_EQ(4, f.spacing);
    EXPECT_EQ(25, f.ruledExtra);
    EXPECT_EQ(300, f.cellWidth);
    EXPECT_EQ(15, f.charSpacing);
    EXPECT_TRUE(EqualRect(&frame, &f.lineRect));
    EXPECT_EQ(RGB(1, 2, 3), f.foreColor);
    // Ruled needs plain text as well.
    h.flags = TXF_RULED;
    txFormatFromHeader(&f, &h, &frame, 0, 0);
    EXPECT_EQ(TX_FMT_NO_PIVOT, f.flags);
}

TEST(TextFormat, ApplyingCodes)
{
    CharFormat f = regular();
    BOOL font = FALSE;
    std::string boldPair = flag(1) + flag(2);
    EXPECT_EQ(10, txApplyCodeRun(&f, boldPair.c_str(), nullptr, &font));
    EXPECT_EQ(400, f.lf.lfWeight);
    EXPECT_TRUE(font);
    EXPECT_EQ(5, txApplyCodeSimple(&f, flag(22).c_str(), nullptr, &font));
    EXPECT_FALSE(font);
    EXPECT_EQ(1, f.inverse);
    EXPECT_EQ(7, txApplyCodeSimple(nullptr, word(13, -480).c_str(), nullptr, nullptr));
    EXPECT_EQ(0, txApplyCodeSimple(&f, "x", nullptr, nullptr));

    struct Turn { int16_t payload; int32_t turn; } turns[] = {{-900, 900}, {2700, 900}, {1800, 1800}, {450, 450}};
    for (auto &t : turns) {
        CharFormat g = regular();
        int32_t turn = -1, len = 0;
        std::string code = word(21, t.payload);
        txApplyCode(&g, code.c_str(), 0, 0, nullptr, nullptr, nullptr, &turn, nullptr);
        EXPECT_EQ(t.turn, turn);
        EXPECT_EQ(t.payload, g.lf.lfOrientation);
        EXPECT_EQ(t.turn, txCodeAngle(code.c_str(), &len));
        EXPECT_EQ(7, len);
    }
    txApplyCodeSimple(&f, word(46, 0).c_str(), nullptr, nullptr);
    EXPECT_EQ(4, f.spacing);

    // Position codes move the pen; relative moves may go up and left.
    int32_t x = 100, y = 100;
    uint32_t offset = 0;
    char b[16];
    txMakeOffsetCode(b, (uint32_t)(uint16_t)-30 | ((uint32_t)40 << 16));
    txApplyCode(&f, b, 0, 0, &x, &y, &offset, nullptr, nullptr);
    EXPECT_EQ(70, x);
    EXPECT_EQ(140, y);
    const int32_t xy[2] = {5, 6};
    txMakeCode(b, 43, xy);
    txApplyCode(&f, b, 1000, 2000, &x, &y, &offset, nullptr, nullptr);
    EXPECT_EQ(1005, x);
    EXPECT_EQ(2006, y);
    EXPECT_EQ(0u, offset);
}

TEST(TextFormat, LongFaceCodeStaysInTheFaceName)
{
    CharFormat f = regular();
    f.codePage = 0xA5A5A5A5;
    std::string face(251, 'F');
    txApplyCodeSimple(&f, str(14, face.c_str()).c_str(), nullptr, nullptr);
    EXPECT_EQ(31u, strlen(f.lf.lfFaceName));
    EXPECT_EQ(0xA5A5A5A5u, f.codePage);
}

TEST(TextFormat, PlacementCodeChangesSizeAndTurns)
{
    CharFormat f = regular();
    int32_t v[8] = {-20, 30, 7, 9, 450, 900, 0, 0};
    char b[64];
    ASSERT_EQ(37, txMakeBlockCode(b, 75, v, 32));
    uint32_t offset = 0;
    txApplyCodeSimple(&f, b, &offset, nullptr);
    EXPECT_EQ(-260, f.lf.lfHeight);
    EXPECT_EQ(30, f.lf.lfWidth);
    EXPECT_EQ(450, f.lf.lfOrientation);
    EXPECT_EQ(900, f.lf.lfEscapement);
    EXPECT_EQ(7u | (9u << 16), offset);
}

TEST(TextFormat, Attributes)
{
    CharFormat f = regular();
    txSetFormatAttr(&f, 1, TRUE);
    txSetFormatAttr(&f, 5, TRUE);
    EXPECT_TRUE(txFormatHasAttr(&f, 1));
    EXPECT_TRUE(txFormatHasAttr(&f, 5));
    EXPECT_FALSE(txFormatHasAttr(&f, 3));
    txSetFormatAttr(&f, 30, TRUE);
    EXPECT_EQ(400, f.lf.lfWeight);
    EXPECT_FALSE(txFormatHasAttr(&f, 5));
    txSetFormatAttr(&f, 31, TRUE);
    EXPECT_EQ(400, f.lf.lfWeight);
}

TEST(TextFormat, WholeFormatAsCodes)
{
    CharFormat f = regular("Arial");
    char b[400];
    EXPECT_EQ(142, txEncodeFormat(b, &f));
    EXPECT_EQ(149, txEncodeFormatSize(&f));
    b[142] = 0;
    EXPECT_EQ(142, txCheckStream(b));
    // Applying the codes to another format gives this one back.
    CharFormat g = regular("Times New Roman");
    g.lf.lfWeight = 700;
    g.lf.lfItalic = 1;
    g.foreColor = RGB(255, 0, 0);
    g.selected = 1;
    txApplyCodeRun(&g, b, nullptr, nullptr);
    EXPECT_EQ(0, txFormatChangeSize(&g, &f));

    f.lf.lfWeight = 600;
    f.lf.lfWidth = 100;
    f.hyperlink = 1;
    int32_t n = txEncodeFormat(b, &f);
    EXPECT_EQ(n, txEncodeFormatSize(&f));
}

TEST(TextFormat, FormatHandles)
{
    CharFormat f = regular();
    long before = utLiveHandleCount();
    MemHandle codes = txFormatToCodes(&f);
    {
        MemLock<char> p(codes);
        EXPECT_EQ(142, txstrlen(p.get()));
    }
    std::string linked = "x" + str(112, "go") + "y";
    MemHandle h = utHandleFromBytes(linked.c_str(), (uint32_t)linked.size() + 1);
    MemHandle pre = txPrefixFormat(h, &f);
    {
        MemLock<char> p(pre);
        std::string s(p.get(), (size_t)txstrlen(p.get()));
        EXPECT_EQ(142 + linked.size(), s.size());   // the stray leading end dropped
        EXPECT_EQ(flag(111), s.substr(s.size() - 5));
    }
    MemHandle post = txAppendFormat(h, &f);
    {
        MemLock<char> p(post);
        EXPECT_EQ((int32_t)linked.size() + 142, txstrlen(p.get()));
    }
    utFreeHandle(codes);
    utFreeHandle(h);
    utFreeHandle(pre);
    utFreeHandle(post);
    EXPECT_EQ(before, utLiveHandleCount());
}

TEST(TextFormat, DifferenceAsCodes)
{
    CharFormat a = regular(), b = regular();
    char out[600];
    EXPECT_EQ(0, txEncodeFormatChange(out, &a, &b));
    EXPECT_EQ(0, txFormatChangeSize(&a, &b));
    b.lf.lfWeight = 600;
    EXPECT_EQ(12, txEncodeFormatChange(out, &a, &b));
    EXPECT_EQ(flag(2) + word(32, 600), std::string(out, 12));
    // Temp codes enclose the others; a face differing only in case is equal.
    b = a;
    a.temp = 1;
    b.lf.lfItalic = 1;
    lstrcpyA(b.lf.lfFaceName, "ARIAL");
    EXPECT_EQ(10, txEncodeFormatChange(out, &a, &b));
    EXPECT_EQ(flag(99) + flag(3), std::string(out, 10));
    std::swap(a, b);
    EXPECT_EQ(flag(4) + flag(98), std::string(out, (size_t)txEncodeFormatChange(out, &a, &b)));
    // Every field, applied back, gives the new format.
    a = regular();
    b = regular("Courier New");
    b.lf.lfHeight = -480;
    b.lf.lfEscapement = 900;
    b.lf.lfOrientation = -450;
    b.lf.lfCharSet = 2;
    b.lf.lfWidth = 120;
    b.align = TXA_JUSTIFY;
    b.spacing = 6;
    b.justify = 1;
    b.subscript = 1;
    b.bkMode = 2;
    b.foreColor = RGB(9, 8, 7);
    b.charSpacing = 30;
    b.skip = 1;
    b.selected = 1;
    int32_t n = txEncodeFormatChange(out, &a, &b);
    EXPECT_EQ(n, txFormatChangeSize(&a, &b));
    out[n] = 0;
    txApplyCodeRun(&a, out, nullptr, nullptr);
    EXPECT_EQ(0, txFormatChangeSize(&a, &b));
    EXPECT_EQ(0, memcmp(&a.lf, &b.lf, sizeof a.lf));
}

TEST(TextFormat, NormalisingCodeRuns)
{
    CharFormat f = regular();
    EXPECT_EQ("x", normalised(flag(1) + flag(2) + "x", &f));
    f = regular();
    EXPECT_EQ("a" + word(13, -480) + "b", normalised("a" + word(13, -240) + word(13, -480) + "b", &f));
    EXPECT_EQ(-480, f.lf.lfHeight);
    // Hyperlink marks are dropped, a stray end too; an open link's end stays.
    f = regular();
    std::string link = str(112, "go");
    EXPECT_EQ("a" + link + "b" + flag(111) + "c",
              normalised("a" + flag(110) + link + "b" + flag(111) + flag(111) + "c", &f));
    // A lone weight code would grow: it stays as it is.
    f = regular();
    EXPECT_EQ("a" + word(32, 600) + "b", normalised("a" + word(32, 600) + "b", &f));
    EXPECT_EQ(600, f.lf.lfWeight);
    // Codes without a format effect disappear.
    f = regular();
    char tab[16];
    int16_t tabs[] = {1, 720};
    std::string tabCode(tab, (size_t)txMakeTabArrayCode(tab, 73, tabs));
    EXPECT_EQ("ab", normalised("a" + tabCode + word(80, 5) + "b", &f));
}

TEST(TextFormat, NormalisingLaidOutTextKeepsLineLengths)
{
    TxLineInfo li = {12, 200, 500, 280};
    char c[16];
    std::string info(c, (size_t)txMakeBlockCode(c, 100, &li, 8));
    std::string s = info + "a" + flag(1) + flag(2) + "b\n" + info + "c";
    CharFormat f = regular();
    std::string out = normalised(s, &f);
    EXPECT_EQ(info.substr(0, 3), out.substr(0, 3));
    TxLineInfo got;
    memcpy(&got, out.data() + 3, 8);
    EXPECT_EQ(3, got.n);
    EXPECT_EQ(13 + 3 + 13 + 1, (int)out.size());
}

TEST(TextFormat, NormalisingKeepsASelectionOnItsCharacters)
{
    // "a" [Bold on][Bold off] | "b" [Size][Size] "c" | [Italic on][Italic off] "d"
    std::string s = "a" + flag(1) + flag(2) + "b" + word(13, -200) + word(13, -300) + "c" +
                    flag(3) + flag(4) + "d";
    int32_t start = 11, end = 27;   // "b" .. after "c"
    ASSERT_EQ('b', s[(size_t)start]);
    ASSERT_EQ('c', s[(size_t)end - 1]);
    std::string b = s + std::string(8, '\0');
    CharFormat f = regular();
    int32_t n = txNormaliseRange(&b[0], &f, &start, &end);
    b.resize((size_t)n);
    EXPECT_EQ("ab" + word(13, -300) + "cd", b);
    EXPECT_EQ('b', b[(size_t)start]);
    EXPECT_EQ('c', b[(size_t)end - 1]);
    // One offset: the caret stays before "c".
    std::string t = "a" + flag(1) + flag(2) + "bc";
    int32_t pos = 12;
    ASSERT_EQ('c', t[(size_t)pos]);
    f = regular();
    txNormaliseStream(&t[0], &f, &pos);
    EXPECT_EQ('c', t[(size_t)pos]);
}

TEST(TextFormat, CountingWithCodePagesAppliesTheCodes)
{
    CharFormat f = regular();
    std::string s = flag(1) + "ab" + word(15, 129);
    EXPECT_EQ(2, txCharCountDBCS(s.c_str(), FALSE, &f));
    EXPECT_EQ(700, f.lf.lfWeight);
    EXPECT_EQ(949u, f.codePage);
}

TEST(TextFormat, RangeClearsIndentAtReturns)
{
    CharFormat f = regular();
    f.indentLevel = 2;
    f.indentAux = 1;
    std::string s = "a" + flag(3) + "\rb" + flag(5);
    txApplyRange(nullptr, s.c_str(), 8, &f);
    EXPECT_EQ(1, f.lf.lfItalic);
    EXPECT_EQ(0, f.lf.lfUnderline);
    EXPECT_EQ(0, f.indentLevel);
    EXPECT_EQ(0, f.indentAux);
}

}  // namespace
