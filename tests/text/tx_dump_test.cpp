// The text stream dump: tags, the caret mark and its description, long
// string codes, and the editor's text appended to the data viewer.
#include "tests/support/kit.h"
#include "support/ut_mem.h"
#include "support/win_datawin.h"
#include "text/tx_dump.h"
#include "textedit/tx_edit_dump.h"
#include "text/tx_format.h"
#include "text/tx_header.h"
#include "text/tx_stream.h"
#include "textedit/te_caret.h"
#include "textedit/te_lines.h"
#include "textedit/te_session.h"
#include <string>

namespace {

std::string dump(const std::string &s, int32_t caret, const CharFormat *fmt = nullptr)
{
    MemHandle h = txDumpStream(s.c_str(), fmt, caret);
    std::string out;
    if (h) {
        MemLock<char> p(h);
        out = p.get();
    }
    utFreeHandle(h);
    return out;
}

std::string code(int number, const void *payload)
{
    char buf[300];
    return std::string(buf, (size_t)txMakeCode(buf, number, payload));
}

TEST(TextDump, CaretMarkAndLayoutBytes)
{
    std::string s = std::string("ab\r") + code(TXC_BOLD_ON, nullptr) + "\t";
    EXPECT_EQ("ab[Rtn]^[Bold on][Tab]", dump(s, 3));
    EXPECT_EQ("ab[Rtn][Bold on][Tab]", dump(s, -1));
    EXPECT_EQ("[Indent][SEol][7]", dump("\x05\n\x07", -1));
    // A character after the caret is described on a last line.
    EXPECT_EQ("a^b\r\nb,  98  ( 0x62 ) Non Lead Byte\r\n", dump("ab", 1));
    CharFormat jp;
    memset(&jp, 0, sizeof jp);
    jp.codePage = 932;
    EXPECT_EQ("^\x82\xA0\r\n\x82\xA0, 130  ( 0x82 ) Lead Byte\r\n", dump("\x82\xA0", 0, &jp));
}

TEST(TextDump, CodeAndObjectTags)
{
    int16_t size = -240, width = 200, esc = 900, weight = 600;
    uint16_t right = TXA_RIGHT, centre = TXA_CENTRE | TXA_VCENTRE, justified = TXA_JUSTIFY;
    uint32_t offset = 30u | (40u << 16), fore = 0xFF00;
    struct Case {
        std::string stream;
        const char *tag;
    } cases[] = {
        {code(TXC_HEIGHT, &size), "[Size 12]"},
        {code(TXC_WIDTH, &width), "[Width 10]"},
        {code(TXC_FACE, "Arial"), "[Fn Arial]"},
        {code(TXC_ESCAPEMENT, &esc), "[Esnt 900"},
        {code(TXC_WEIGHT, &weight), "[Weight 600]"},
        {code(TXC_OVERSTRIKE_ON, nullptr), "[Ovstk On"},
        {code(TXC_ALIGN, &right), "[Align R]"},
        {code(TXC_ALIGN, &centre), "[Align HC]"},
        {code(TXC_ALIGN, &justified), ""},
        {code(TXC_OFFSET, &offset), "[Offset (30, 40)]"},
        {code(TXC_FORE, &fore), "[Fore ff00]"},
        {code(TXC_RESET_LINE_RECT, nullptr), ""},
        {code(TXC_HYPER_ON, "go"), "[HyperOn: go]"},
        {code(TXC_ANCHOR, "top"), "[Anchor: top]"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.tag, dump(c.stream, -1)) << c.tag;
    char obj[16];
    std::string sym(obj, (size_t)txMakeSymbolObject(obj, 12));
    EXPECT_EQ("[Sym 12]", dump(sym, -1));
    // An image object: the name at offset 31.
    std::string img = std::string("\x1d") + (char)(4 + 32) + (char)TXO_IMAGE;
    img += std::string(28, '\0') + "a.bm" + '\0';
    img += std::string(1, (char)(4 + 32)) + "\x1e";
    ASSERT_EQ(38, txCheckObject(img.c_str()));
    EXPECT_EQ("[Img a.bm]", dump(img, -1));
}

TEST(TextDump, LongTagsAllDumpWhole)
{
    std::string link(251, 'h');
    std::string s;
    for (int i = 0; i < 40; ++i)
        s += code(TXC_HYPER_ON, link.c_str());
    std::string tag = "[HyperOn: " + link + "]";
    std::string expected;
    for (int i = 0; i < 40; ++i)
        expected += tag;
    EXPECT_EQ(expected, dump(s, -1));
}

TEST(TextDump, EditTextGoesToTheDataViewer)
{
    HWND viewer = winGetDataWindow(nullptr, nullptr);
    ASSERT_NE(nullptr, viewer);
    winDataWindowSetText("before ");
    teResetSession(nullptr);
    teLinesFromStream("ab\rc", 0, nullptr);
    teSetCaret(teLineAt(1), 0);
    txDumpEditText();
    char text[2000];
    winDataWindowGetText(text, sizeof text);
    std::string got = text;
    EXPECT_EQ(0u, got.find("before [n    3]"));
    EXPECT_NE(std::string::npos, got.find("ab[Rtn][n    1]"));
    EXPECT_NE(std::string::npos, got.find("]^c"));
    teLinesFreeAll();
    teResetSession(nullptr);
    winCloseDataWindow();
}

}  // namespace
