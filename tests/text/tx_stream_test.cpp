// Text streams: builders, walkers, searches, cutting, checking and the
// hyperlink clean-up.
#include "tests/support/kit.h"
#include "text/tx_stream.h"
#include "text/tx_format.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

namespace {

// Stream pieces made by the program's own builders.
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

std::string dword(int code, uint32_t v)
{
    char b[12];
    return std::string(b, (size_t)txMakeDwordCode(b, code, v));
}

std::string str(int code, const char *text)
{
    char b[300];
    return std::string(b, (size_t)txMakeStringCode(b, code, text));
}

std::string symbol(uint16_t n)
{
    char b[8];
    return std::string(b, (size_t)txMakeSymbolObject(b, n));
}

std::string lineInfo(int16_t n, int16_t blo, uint16_t w, uint16_t h)
{
    TxLineInfo li = {n, blo, w, h};
    char b[16];
    return std::string(b, (size_t)txMakeBlockCode(b, TXC_LINE_INFO, &li, 8));
}

// The stream as a writable, terminated buffer with room to spare.
struct Buf {
    std::string bytes;
    explicit Buf(const std::string &s, size_t room = 64) : bytes(s) { bytes.append(room + 1, '\0'); }
    char *get() { return &bytes[0]; }
    std::string text() { return std::string(get(), (size_t)txstrlen(get())); }
};

// ---- builders, sizes and the check agree -----------------------------------

TEST(TextCodes, BuildersSizesAndCheckAgreeOverEveryNumber)
{
    const int16_t tabs[] = {3, 720, 1440, 2160};
    const int32_t eight[2] = {100, 200};
    const int32_t sixteen[4] = {1, 2, 3, 4};
    const uint32_t value = 0x12345678;
    const char *face = "Arial";
    auto validForCheck = [](int c) {
        return (c >= 1 && c <= 25) || c == 32 || c == 40 || c == 42 || c == 43 ||
               (c >= 45 && c <= 48) || c == 50 || c == 51 || (c >= 60 && c <= 63) ||
               (c >= 70 && c <= 74) || (c >= 96 && c <= 103) || (c >= 110 && c <= 114) ||
               c == 116 || c == 117 || c == 180;
    };
    for (int code = 0; code <= 181; ++code) {
        SCOPED_TRACE(code);
        int expect = 0;
        const void *payload = &value;
        if ((code >= 1 && code <= 12) || (code >= 22 && code <= 25) || code == 47 || code == 48 ||
            code == 60 || code == 61 || code == 67 || (code >= 96 && code <= 99) || code == 102 ||
            code == 103 || code == 110 || code == 111 || code == 113 || code == 114 || code == 116)
            expect = 5;
        else if (code == 13 || (code >= 15 && code <= 21) || code == 32 || code == 45 ||
                 code == 46 || code == 62 || code == 80 || code == 81 || code == 180)
            expect = 7;
        else if (code == 14 || code == 112 || code == 117)
            expect = 11, payload = face;
        else if (code == 42 || code == 50 || code == 51 || code == 63 || (code >= 70 && code <= 72))
            expect = 9;
        else if (code == 43 || code == 65)
            expect = 13, payload = eight;
        else if (code == 66)
            expect = 21, payload = sixteen;
        else if (code == 73 || code == 74)
            expect = 13, payload = tabs;
        char out[64];
        memset(out, 0x55, sizeof out);
        EXPECT_EQ(expect, txMakeCode(out, code, payload));
        EXPECT_EQ(expect, txCodeSize(code, payload));
        if (!expect) {
            EXPECT_EQ(0x55, (uint8_t)out[0]) << "nothing written";
            continue;
        }
        EXPECT_EQ(27, out[0]);
        EXPECT_EQ(expect - 2, (uint8_t)out[1]);
        EXPECT_EQ(code, (uint8_t)out[2]);
        EXPECT_EQ(expect - 2, (uint8_t)out[expect - 2]);
        EXPECT_EQ(28, out[expect - 1]);
        EXPECT_EQ(validForCheck(code) ? expect : -3, txCheckCode(out));
    }
    // An empty tab array writes nothing.
    const int16_t none[] = {0};
    char out[16];
    EXPECT_EQ(0, txMakeCode(out, 73, none));
    EXPECT_EQ(0, txCodeSize(73, none));
}

TEST(TextCodes, LengthLimitsOfStringsBlocksAndTabArrays)
{
    std::string longest(251, 'x'), tooLong(252, 'x');
    char out[600];
    EXPECT_EQ(257, txMakeStringCode(out, 14, longest.c_str()));
    EXPECT_EQ(255, (uint8_t)out[1]);
    EXPECT_EQ(257, txCheckCode(out));
    memset(out, 0x55, sizeof out);
    EXPECT_EQ(0, txMakeStringCode(out, 112, tooLong.c_str()));
    EXPECT_EQ(0x55, (uint8_t)out[0]);
    EXPECT_EQ(0, txCodeSize(112, tooLong.c_str()));

    std::vector<uint8_t> block(250, 1);
    EXPECT_EQ(254, txMakeBlockCode(out, 101, block.data(), 249));
    EXPECT_EQ(0, txMakeBlockCode(out, 101, block.data(), 250));

    std::vector<int16_t> tabs(127, 100);
    tabs[0] = 125;
    EXPECT_EQ(257, txMakeTabArrayCode(out, 73, tabs.data()));
    EXPECT_EQ(257, txCheckCode(out));
    tabs[0] = 126;
    EXPECT_EQ(0, txMakeTabArrayCode(out, 73, tabs.data()));
    EXPECT_EQ(0, txCodeSize(73, tabs.data()));
}

TEST(TextCodes, OppositesAndClasses)
{
    const int pairs[][2] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}, {22, 23},
                            {24, 25}, {47, 48}, {60, 61}, {96, 97}, {98, 99}, {102, 103},
                            {110, 111}, {113, 114}};
    for (auto &p : pairs) {
        EXPECT_EQ(p[1], txOppositeCode(p[0]));
        EXPECT_EQ(p[0], txOppositeCode(p[1]));
    }
    EXPECT_EQ(0, txOppositeCode(13));
    EXPECT_EQ(0, txOppositeCode(112));
    EXPECT_TRUE(txIsFontCode(62) && txIsFontCode(32) && txIsFontCode(21) && !txIsFontCode(22));
    EXPECT_TRUE(txIsParaCode(45) && !txIsParaCode(49));
    EXPECT_TRUE(txIsScriptCode(9) && !txIsScriptCode(8));
}

TEST(TextCodes, InsertedHeadCodes)
{
    Buf b("abc");
    EXPECT_EQ(10, txInsertWordCode(b.get(), 45, 1));
    EXPECT_EQ(word(45, 1) + "abc", b.text());
    const int32_t xy[2] = {-5, 70000};
    EXPECT_EQ(13, txInsertPositionCode(b.get(), xy));
    EXPECT_EQ(43, txCodeNumber(b.get()));
    EXPECT_EQ(23, txstrlen(b.get()));
    EXPECT_EQ(13, txCheckCode(b.get()));
}

// ---- walking -------------------------------------------------------------------

TEST(TextWalk, LengthCountAndSearchStepOverCodesWhole)
{
    std::string s = "ab" + flag(1) + "c" + word(13, -240) + "d";
    EXPECT_EQ(16, txstrlen(s.c_str()));
    EXPECT_EQ(4, txCharCount(s.c_str(), FALSE));
    int32_t range[2] = {-1, -1};
    ASSERT_TRUE(txstrstr(s.c_str(), "bc", range));
    EXPECT_EQ(1, range[0]);
    EXPECT_EQ(8, range[1]);
    EXPECT_TRUE(txstristr(s.c_str(), "BCD", range));
    EXPECT_EQ(16, range[1]);

    std::string withSymbol = "ab" + symbol(3) + "c";
    EXPECT_FALSE(txstrstr(withSymbol.c_str(), "bc", range));
    EXPECT_EQ(4, txCharCountAll(withSymbol.c_str()));
    EXPECT_EQ(3, txCharCount(withSymbol.c_str(), FALSE));

    // A payload holding 0, 13 and 27 is one unit.
    std::string tricky = "x" + dword(50, 0x001B0D00) + "y";
    EXPECT_EQ(11, txstrlen(tricky.c_str()));
    EXPECT_EQ(2, txCharCount(tricky.c_str(), FALSE));
    EXPECT_TRUE(txstrstr(tricky.c_str(), "xy", range));
    EXPECT_EQ(nullptr, txstrchr(&tricky[0], '\r'));
    EXPECT_EQ(1, txLineCount(tricky.c_str()));
}

TEST(TextWalk, SearchFindsOverlappingStarts)
{
    int32_t range[2];
    ASSERT_TRUE(txstrstr("aab", "ab", range));
    EXPECT_EQ(1, range[0]);
    EXPECT_EQ(3, range[1]);
    std::string s = "xa" + flag(1) + "a" + flag(2) + "b";
    ASSERT_TRUE(txstrstr(s.c_str(), "ab", range));
    EXPECT_EQ(7, range[0]);
    EXPECT_FALSE(txstrstr("abc", "abd", range));
}

TEST(TextWalk, OnlyCodesHaveNoText)
{
    std::string s = flag(1) + word(13, -200) + str(14, "Arial");
    EXPECT_EQ((int32_t)s.size(), txstrlen(s.c_str()));
    EXPECT_EQ(0, txCharCount(s.c_str(), TRUE));
    EXPECT_FALSE(txHasText(s.c_str(), TRUE));
    std::string o = s + symbol(1);
    EXPECT_FALSE(txHasText(o.c_str(), FALSE));
    EXPECT_TRUE(txHasText(o.c_str(), TRUE));
}

TEST(TextWalk, NthCharacterAndTruncation)
{
    Buf b("ab" + flag(1) + "cd");
    EXPECT_EQ(b.get() + 7, txNthChar(b.get(), 2));
    EXPECT_EQ(nullptr, txNthChar(b.get(), 4));
    EXPECT_TRUE(txTruncateAt(b.get(), 3));
    EXPECT_EQ("ab" + flag(1) + "c", b.text());
    EXPECT_FALSE(txTruncateAt(b.get(), 9));
}

TEST(TextWalk, UnitsForwardAndBackward)
{
    std::string s = "a" + flag(1) + word(13, -240) + "b" + symbol(2) + "c";
    // a:0 codes:1..12 b:13 symbol:14..20 c:21
    EXPECT_EQ(1, txNextUnit(s.c_str(), 0));
    EXPECT_EQ(14, txNextUnit(s.c_str(), 1));
    EXPECT_EQ(21, txNextUnit(s.c_str(), 14));
    EXPECT_EQ(22, txNextUnit(s.c_str(), 22 - 1));
    EXPECT_EQ(22, txNextUnit(s.c_str(), 22));
    EXPECT_EQ(14, txPrevUnit(s.c_str(), 21));
    EXPECT_EQ(13, txPrevUnit(s.c_str(), 14));
    EXPECT_EQ(0, txPrevUnit(s.c_str(), 13));
    EXPECT_EQ(-1, txPrevUnit(s.c_str(), 0));
    EXPECT_EQ(0, txCodesBefore(s.c_str(), 12));
    EXPECT_EQ(-1, txCodesBefore((flag(1) + "x").c_str(), 4));
    EXPECT_EQ(13, txObjectBefore(s.c_str(), 20));
    EXPECT_EQ(13, txSkipCodes(s.c_str(), 1));
    EXPECT_EQ(21, txObjectUnitSize(s.c_str(), 14));
}

TEST(TextWalk, BrokenUnitsBackwardAreReported)
{
    qmtest::BoxRecorder boxes;
    // An FS whose L leads to no ESC.
    std::string s = "ab\x05\x1C" "c";
    EXPECT_EQ(-2, txPrevUnit(s.c_str(), 4));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Error (Code=STRDECRINDEX1)", boxes.last().text);
    EXPECT_EQ("Quillmark Draw Error", boxes.last().caption);
    std::string o = "ab\x05\x1E";
    EXPECT_EQ(-2, txPrevUnit(o.c_str(), 4));
    EXPECT_EQ("Error (Code=STRDECRINDEX2)", boxes.last().text);
    EXPECT_EQ(&s[0], txstrrchr(&s[0], 3, 'a'));
    EXPECT_EQ("Error (STRCHRREV)", boxes.last().text);
    EXPECT_EQ(0, txSkipCharRunBack(s.c_str(), 3, ' '));
    EXPECT_EQ("Error (Code=STRCHRSKIPREV)", boxes.last().text);
    EXPECT_EQ(-1, txstrrevpbrk(s.c_str(), 3, "a"));
    EXPECT_EQ("Error in txstrrevpbrk.", boxes.last().text);
    EXPECT_EQ(5u, boxes.count());
    EXPECT_EQ(-2, txCodeBefore(s.c_str(), 3));
}

TEST(TextWalk, BackwardSearches)
{
    std::string s = "a b" + flag(1) + "  c";
    EXPECT_EQ(-1, txstrrevpbrk("ab", 0, "a"));   // offset 0 is never examined
    EXPECT_EQ(1, txstrrevpbrk(s.c_str(), 7, " "));
    EXPECT_EQ(&s[0] + 2, txstrrchr(&s[0], 9, 'b'));
    EXPECT_EQ(2, txSkipCharRunBack(s.c_str(), 9, ' '));
    EXPECT_EQ(10, txSkipCharRun(s.c_str(), 3, ' '));
}

TEST(TextWalk, LinesOfFlowingAndLaidOutText)
{
    std::string flowing = "one\r\ntwo\nthree";
    char *p = &flowing[0];
    int32_t len, withEnd;
    p = txNextLine(p, &len, &withEnd);
    EXPECT_EQ(3, len);
    EXPECT_EQ(4, withEnd);
    EXPECT_EQ("two\nthree", std::string(p));
    EXPECT_EQ(3, txLineCount(flowing.c_str()));

    std::string laid = lineInfo(4, 200, 500, 280) + "one\n" + lineInfo(4, 200, 500, 280) + "two\r" +
                       lineInfo(0, 200, 0, 280);
    p = &laid[0];
    p = txNextLine(p, &len, &withEnd);
    EXPECT_EQ(17, len);
    EXPECT_EQ(3, txLineCount(laid.c_str()));
    EXPECT_EQ(&laid[0] + 17, txFindLineInfo(&laid[0] + 13));
}

TEST(TextWalk, WordsAndTitleCase)
{
    Buf b("hello  wORLD" + flag(1) + " x\tyz");
    txTitleCase(b.get());
    EXPECT_EQ("Hello  World" + flag(1) + " X\tYz", b.text());
    txUpperCase(b.get());
    EXPECT_EQ("HELLO  WORLD" + flag(1) + " X\tYZ", b.text());
    std::string w = "ab  cd";
    EXPECT_EQ(&w[0] + 4, txNextWord(&w[0]));
    std::string li = "a" + lineInfo(0, 0, 0, 0) + "b";
    EXPECT_EQ(&li[0] + 14, txNextWord(&li[0]));
    EXPECT_EQ(nullptr, txNextWord(&w[0] + 4));
}

TEST(TextWalk, DoubleByteCharacters)
{
    CharFormat f;
    memset(&f, 0, sizeof f);
    std::string s = word(15, 128) + "\x82\xa0x";
    EXPECT_EQ(2, txCharCountDBCS(s.c_str(), FALSE, &f));
    EXPECT_EQ(932u, f.codePage);
    memset(&f, 0, sizeof f);
    EXPECT_EQ(7, txAlignOffset(s.c_str(), &f, 8));
    EXPECT_EQ(9, txAlignOffset(s.c_str(), &f, 9));
    EXPECT_EQ(9, txNextCharDBCS(s.c_str(), 7, 932));
    // A lead byte before the terminator is a character of its own.
    std::string tail = word(15, 128) + "\x82";
    memset(&f, 0, sizeof f);
    EXPECT_EQ(1, txCharCountDBCS(tail.c_str(), FALSE, &f));
}

// ---- editing -------------------------------------------------------------------

TEST(TextEdit, StripLayoutCodesGivesFlowingText)
{
    int16_t tabs[] = {1, 720};
    char t[16];
    std::string tab(t, (size_t)txMakeTabArrayCode(t, 73, tabs));
    char pb[8] = {0};
    char page[16];
    std::string pageBreak(page, (size_t)txMakeBlockCode(page, 101, pb, 4));
    std::string laid = lineInfo(8, 200, 900, 280) + "one two\n" + lineInfo(4, 200, 500, 280) +
                       "end\r" + dword(63, 1) + pageBreak + lineInfo(2, 200, 300, 280) + "x\r" +
                       lineInfo(0, 200, 0, 280);
    Buf b(tab + laid);
    int32_t n = txStripLayoutCodes(b.get());
    EXPECT_EQ(tab + "one twoend\rx\r", b.text());
    EXPECT_EQ(n, txstrlen(b.get()));
}

TEST(TextEdit, StrippersRewriteLineLengths)
{
    Buf b(lineInfo(8, 0, 0, 0) + "a" + flag(1) + "bc" + lineInfo(1, 0, 0, 0) + "d" +
          word(13, -200));
    EXPECT_EQ(13 + 3 + 13 + 8, txStripCode(b.get(), 1));
    TxLineInfo li;
    memcpy(&li, b.get() + 3, 8);
    EXPECT_EQ(3, li.n);
    EXPECT_EQ(13 + 3 + 13 + 1, txStripFontCodes(b.get()));
    memcpy(&li, b.get() + 16 + 3, 8);
    EXPECT_EQ(1, li.n);
    Buf all("a" + flag(1) + word(45, 1) + "b" + symbol(1));
    EXPECT_EQ(14, txStripParaCodes(all.get()));
    EXPECT_EQ(9, txStripAllCodes(all.get()));
    EXPECT_EQ("ab" + symbol(1), all.text());
    Buf chars("a b" + flag(1) + " c");
    EXPECT_EQ(8, txStripChar(chars.get(), ' '));
    EXPECT_EQ("ab" + flag(1) + "c", chars.text());
}

TEST(TextEdit, DeletingUnitsAndSymbols)
{
    Buf b("a" + flag(3) + "b" + symbol(4) + "c");
    EXPECT_EQ(0, txDeleteCodeAt(b.get(), 0));
    EXPECT_EQ(5, txDeleteCodeAt(b.get(), 1));
    EXPECT_EQ("ab" + symbol(4) + "c", b.text());
    txSymbolToChar(b.get() + 2, '*');
    EXPECT_EQ("ab*c", b.text());
    Buf p("a" + symbol(4) + "c");
    txSymbolToPair(p.get() + 1, "\x81\x9b");
    EXPECT_EQ("a\x81\x9b" "c", p.text());
    Buf o("a" + symbol(4));
    EXPECT_EQ(7, txDeleteObjectAt(o.get(), 1));
    EXPECT_EQ("a", o.text());
}

TEST(TextEdit, FindingCodes)
{
    std::string s = "a" + symbol(1) + flag(1) + word(45, 0x100) + "b";
    EXPECT_EQ(&s[8], txFindNextCode(&s[0]));
    EXPECT_EQ(&s[13], txFindCode(&s[0], 45));
    EXPECT_EQ(nullptr, txFindCode(&s[0], 46));
    EXPECT_TRUE(txHasFontCode(s.c_str()));
    EXPECT_TRUE(txHasJustifyAlign(s.c_str()));
    EXPECT_FALSE(txHasJustifyAlign(("a" + word(45, 2)).c_str()));
    EXPECT_FALSE(txHasFontCode(("a" + word(45, 2) + flag(22)).c_str()));
    EXPECT_EQ(20, txSkipParaCodes(13, s.c_str()));
}

// ---- checking --------------------------------------------------------------------

TEST(TextCheck, StreamCheckRejectsBadBytesAndNumbers)
{
    std::string good = "a\tb\r\n" + std::string(1, 5) + flag(96) + "x" + flag(97) + symbol(2) +
                       str(112, "go") + flag(111);
    EXPECT_EQ((int32_t)good.size(), txCheckStream(good.c_str()));
    EXPECT_EQ(-1, txCheckStream("ab\x07"));
    EXPECT_EQ(-1, txCheckStream(("a" + word(80, 100)).c_str()));
    EXPECT_EQ(-3, txCheckCode(word(80, 100).c_str()));
    std::string noFs = flag(1);
    noFs[4] = 'x';
    EXPECT_EQ(-1, txCheckCode(noFs.c_str()));
    std::string obj = symbol(1);
    obj[6] = 'x';
    EXPECT_EQ(-2, txCheckObject(obj.c_str()));
    obj = symbol(1);
    obj[2] = 4;
    EXPECT_EQ(-3, txCheckObject(obj.c_str()));
}

TEST(TextCheck, BoundedCheckOfDamagedStreams)
{
    std::string good = lineInfo(20, 200, 500, 280) + "ab" + dword(50, 0xFF) + "c" + str(14, "Ar") +
           lineInfo(1, 200, 0, 280) + "d";
    std::string z = good + std::string(1, '\0');
    ASSERT_EQ((int32_t)good.size(), txCheckStream(z.c_str()));
    EXPECT_EQ((int32_t)good.size(), txCheckStreamBounded(z.data(), (uint32_t)z.size()));
    // Every truncation: no terminator within the bytes given.
    for (size_t n = 1; n < z.size(); ++n) {
        SCOPED_TRACE(n);
        std::string cut = z.substr(0, n);
        EXPECT_EQ(-1, txCheckStreamBounded(cut.data(), (uint32_t)n));
    }
    struct Case { const char *what; std::string bytes; } cases[] = {
        {"short colour payload", "a\x1B\x03\x32\x03\x1C"},
        {"short word payload", "\x1B\x04\x0D\x01\x04\x1C"},
        {"L below 3", "\x1B\x02\x02\x1C"},
        {"leading and trailing L differ", "\x1B\x03\x01\x04\x1C"},
        {"string without terminator", "\x1B\x05\x0E" "ab\x05\x1C"},
        {"line past the end", lineInfo(5, 0, 0, 0) + "ab"},
        {"line ends inside a code", lineInfo(3, 0, 0, 0) + "ab" + flag(1)},
        {"negative line length", lineInfo(-1, 0, 0, 0) + "ab"},
        {"tab count past payload", "\x1B\x07\x49\x05\x00\x10\x00\x07\x1C"},
        {"image object too short", "\x1D\x05\x03\x00\x00\x05\x1E"},
        {"byte 7", "a\x07"},
        {"code 80", word(80, 1)},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::string b = c.bytes + std::string(1, '\0');
        EXPECT_EQ(-1, txCheckStreamBounded(b.data(), (uint32_t)b.size()));
    }
    // A code whose L runs past the bytes given.
    std::string runs = "a" + dword(50, 1);
    EXPECT_EQ(-1, txCheckStreamBounded(runs.data(), 6));
}

// ---- hyperlinks ------------------------------------------------------------------

TEST(TextLinks, CloseHyperlinksAppendsTheEnd)
{
    std::string s = "x" + str(112, "go") + "y";
    MemHandle h = utHandleFromBytes(s.c_str(), (uint32_t)s.size() + 1);
    ASSERT_NE(0u, h);
    h = txCloseHyperlinks(h);
    {
        MemLock<char> p(h);
        EXPECT_EQ(s + flag(111), std::string(p.get(), (size_t)txstrlen(p.get())));
    }
    utFreeHandle(h);
}

TEST(TextLinks, CleanUpDropsEmptyAndStrayLinks)
{
    struct Case { std::string in, out; } cases[] = {
        {"a" + flag(110) + "b", "ab"},
        {"a" + str(112, "go") + flag(1) + flag(111) + "b", "a" + flag(1) + "b"},
        {"a" + flag(111) + "b", "ab"},
        {"a" + str(112, "go") + "b" + flag(111) + flag(111), "a" + str(112, "go") + "b" + flag(111)},
        {"a" + str(112, "go") + symbol(1) + flag(111), "a" + str(112, "go") + symbol(1) + flag(111)},
    };
    for (auto &c : cases) {
        Buf b(c.in);
        EXPECT_EQ((int32_t)c.out.size(), txCleanHyperlinks(b.get()));
        EXPECT_EQ(c.out, b.text());
    }
    Buf laid(lineInfo(9, 0, 0, 0) + "a" + flag(110) + "bc" + lineInfo(1, 0, 0, 0) + "d");
    txCleanHyperlinks(laid.get());
    TxLineInfo li;
    memcpy(&li, laid.get() + 3, 8);
    EXPECT_EQ(3, li.n);
}

}  // namespace
