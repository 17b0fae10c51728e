// The text clipboard: registration, what a whole text object puts on the
// clipboard, the bounded readers of CF_TEXT and "QM32Text" data, the paste
// state, and keeping the first line of a stream. Test programs run one at a
// time, so each test empties the clipboard first.
#include "tests/textedit/te_kit.h"
#include "text/tx_flow.h"
#include "text/tx_object.h"
#include "textedit/te_clip.h"
#include <algorithm>

namespace {

using tetest::Lines;

std::string code(int c, int16_t v)
{
    char b[16];
    return std::string(b, (size_t)txMakeWordCode(b, c, v));
}
std::string flag(int c)
{
    char b[8];
    return std::string(b, (size_t)txMakeFlagCode(b, c));
}

// The clipboard, opened and emptied for the test, closed at its end.
struct Clipboard {
    Clipboard()
    {
        OpenClipboard(nullptr);
        EmptyClipboard();
    }
    ~Clipboard() { CloseClipboard(); }
    static std::string read(UINT format)
    {
        HANDLE g = GetClipboardData(format);
        if (!g)
            return std::string("<none>");
        const char *p = (const char *)GlobalLock(g);
        std::string s = p ? std::string(p, (size_t)txstrlen(p)) : std::string();
        GlobalUnlock(g);
        return s;
    }
};

class Clip : public Lines {
protected:
    MemHandle object = 0;
    void TearDown() override
    {
        object = utFreeHandle(object);
        Lines::TearDown();
    }
    // A text object of the box with a coded stream, laid out (and wrapped
    // with the flags 0x9 at a narrow box).
    void make(const char *stream, uint32_t flags, RECT box = {0, 0, 4320, 2880})
    {
        TextHeader h = {};
        h.lf = tetest::baseFont();
        h.spacing = 4;
        h.bkMode = 1;
        h.flags = flags;
        const COLORREF colours[3] = {0, 0, 0xFFFFFF};
        object = txNewTextObject(&box, colours, &h, "");
        ASSERT_NE(0u, object);
        object = txReplaceText(nullptr, object, stream, 14, TRUE, FALSE);
        ASSERT_NE(0u, object);
    }
};

TEST_F(Clip, RegistersItsFormatOnceUnderItsName)
{
    UINT id = teRegisterClipFormat();
    ASSERT_NE(0u, id);
    EXPECT_EQ(id, teRegisterClipFormat());
    char name[32] = "";
    GetClipboardFormatNameA(id, name, sizeof name);
    EXPECT_STREQ("QM32Text", name);
}

TEST_F(Clip, AWholeObjectGoesOnWithItsBaseFormatAndCrLfOnlyAtReturns)
{
    // Two paragraphs, the first wrapped over several lines by the box.
    const std::string text = "one two three four five six seven eight nine ten" + flag(1) + "B" +
                             flag(2) + "\rlast";
    make(text.c_str(), 0x9, {0, 0, 1440, 2880});
    ASSERT_GT(txCountLines(object), 2);
    CharFormat base;
    ASSERT_TRUE(txGetCharFormat(object, &base));
    // The base format's codes, then the text without its layout.
    MemHandle plain = utHandleFromBytes(text.c_str(), (uint32_t)text.size() + 1);
    MemHandle want = txPrefixFormat(plain, &base);
    const std::string expected = streamOf(want);
    utFreeHandle(want);
    utFreeHandle(plain);
    {
        Clipboard cb;
        EXPECT_EQ(1, teCopyObjectText(object));
        EXPECT_EQ(expected, Clipboard::read(teRegisterClipFormat()));
        EXPECT_EQ(text, expected.substr(expected.size() - text.size()));
        EXPECT_EQ("one two three four five six seven eight nine tenB\r\nlast",
                  Clipboard::read(CF_TEXT));
    }
    // An object without text puts nothing there.
    utFreeHandle(object);
    object = 0;
    make("", 0);
    Clipboard cb;
    EXPECT_EQ(0, teCopyObjectText(object));
    EXPECT_EQ("<none>", Clipboard::read(CF_TEXT));
}

TEST_F(Clip, CfTextIsReadWithinItsBlockWithControlBytesAsBlanks)
{
    struct Case {
        std::string bytes;
        const char *want;
    } cases[] = {
        {std::string("ab\r\ncd", 6), "ab\rcd"},                // no terminator in the block
        {std::string("a\nb\rc\r\n", 7), "a\rb\rc\r"},          // every line end a return
        {std::string("x\x1b\x05y\x1d\x1e\tz", 8), "x  y  \tz"},  // codes cannot be smuggled in
        {std::string("ab\0cd", 5), "ab"},                       // the first 0 ends it
        {std::string("", 0), nullptr},
    };
    for (const Case &c : cases) {
        MemHandle h = teClipTextFromBytes(c.bytes.data(), (uint32_t)c.bytes.size());
        if (!c.want) {
            EXPECT_EQ(0u, h);
            continue;
        }
        ASSERT_NE(0u, h);
        EXPECT_EQ(c.want, streamOf(h));
        utFreeHandle(h);
    }
    // Through a real clipboard block without a terminator.
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, 3);
    memcpy(GlobalLock(g), "xyz", 3);
    GlobalUnlock(g);
    MemHandle h = teClipReadText(g);
    EXPECT_EQ("xyz", streamOf(h));
    utFreeHandle(h);
    GlobalFree(g);
}

TEST_F(Clip, AStreamFailingTheBoundedCheckIsRefusedWithABeep)
{
    const std::string good = "a" + flag(1) + "b" + code(13, -240) + "c";
    MemHandle h = teClipStreamFromBytes(good.c_str(), (uint32_t)good.size() + 1);
    EXPECT_EQ(good, streamOf(h));
    utFreeHandle(h);
    const std::string bad[] = {
        good,                                           // no terminator within the block
        "a" + flag(1).substr(0, 3) + std::string("\0", 1),   // a code cut short
        "a\x1b\x05\x01xx\x1c" + std::string("\0", 1),    // lengths that disagree
        "a\x1b\x03" + std::string("\0", 1),             // a frame running into the end
    };
    for (const std::string &b : bad) {
        int32_t beeps = teGetBeepCount();
        EXPECT_EQ(0u, teClipStreamFromBytes(b.data(), (uint32_t)b.size())) << b.size();
        EXPECT_EQ(beeps + 1, teGetBeepCount());
    }
}

TEST_F(Clip, APastedStreamLosesItsLayout)
{
    const char *words = "one two three four five six";
    std::string laid = layout(words, widthFor(words, 3));
    ASSERT_TRUE(txIsLineInfo(laid.c_str()));
    laid += flag(TXC_PAGE_BREAK) + "x";
    MemHandle h = teClipStreamFromBytes(laid.c_str(), (uint32_t)laid.size() + 1);
    ASSERT_NE(0u, h);
    const std::string got = streamOf(h);
    utFreeHandle(h);
    EXPECT_EQ(std::string::npos, got.find('\n'));
    EXPECT_EQ(std::string::npos, got.find('\x1b'));
    std::string chars = got;
    chars.erase(std::remove(chars.begin(), chars.end(), ' '), chars.end());
    EXPECT_EQ("onetwothreefourfivesixx", chars);
}

TEST_F(Clip, PlainOnlyTextNeverOffersTheFormattedFormat)
{
    {
        Clipboard cb;
        HGLOBAL g = teMakeClipStream("x", nullptr);
        ASSERT_TRUE(SetClipboardData(teRegisterClipFormat(), g));
    }
    TextEditSession *s = teSession();
    s->textFlags = 0x40000000;
    EXPECT_FALSE(teCanPaste());
    s->textFlags = 0;
    EXPECT_TRUE(teCanPaste());
    {
        Clipboard cb;
        HGLOBAL g = teMakeClipText("x");
        ASSERT_TRUE(SetClipboardData(CF_TEXT, g));
    }
    s->textFlags = 0x40000000;
    EXPECT_TRUE(teCanPaste());
    Clipboard cb;
}

TEST_F(Clip, TheFirstLineEndsAtAReturnOutsideCodesOnly)
{
    // A size code whose value holds the bytes 13 and 10 in its payload.
    const std::string c = code(13, 0x0a0d);
    std::string s = "ab" + c + "cd\ref\ngh";
    EXPECT_EQ((int32_t)(2 + c.size() + 2), teKeepFirstLine(&s[0]));
    EXPECT_EQ("ab" + c + "cd", std::string(s.c_str(), 2 + c.size() + 2));
    std::string t = "x\ny";
    EXPECT_EQ(1, teKeepFirstLine(&t[0]));
}

TEST_F(Clip, CopiedTextDropsCodesObjectsAndSoftBreaks)
{
    char sym[16];
    int32_t n = txMakeSymbolObject(sym, 7);
    const std::string s = "a" + flag(1) + "b\nc" + std::string(sym, (size_t)n) + "\rd";
    HGLOBAL g = teMakeClipText(s.c_str());
    ASSERT_TRUE(g);
    EXPECT_STREQ("abc\r\nd", (const char *)GlobalLock(g));
    GlobalUnlock(g);
    GlobalFree(g);
}

}  // namespace
