// The object clipboard on a real workspace of the program started
// in-process: Copy, Paste and the click that places the paste, the
// renditions chosen by type, the priority of the paste formats, the
// overflow choice of a pasted text, and clipboard data that lies about its
// size. Every case empties the clipboard first (the test programs run one
// at a time, so no other program shares it meanwhile).
#include "tests/app/app_fixture.h"
#include "tests/model/ob_kit.h"
#include "tests/support/kit_dialog.h"
#include "commands/clip_formats.h"
#include "commands/ep_select.h"
#include "commands/obj_block.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_margins.h"
#include "objects/img_render.h"
#include "support/dm_map.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "text/tx_object.h"
#include "text/tx_flow.h"
#include "tools/ep_factory.h"
#include "model/ws_document.h"
#include "app/ws_services.h"
#include "views/pv_page.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

using obtest::listOf;
using obtest::make;
using qmtest::BoxRecorder;

std::vector<uint8_t> handleBytes(MemHandle h)
{
    MemLock<uint8_t> p(h);
    return p ? std::vector<uint8_t>(p.get(), p.get() + utHandleSize(h)) : std::vector<uint8_t>();
}

class Clip : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        ASSERT_NE(0u, pvGetCurrentPage(ws));
        wsSetZoomPercent(ws, 100);
        wsSetSnapToRulers(ws, FALSE);
        epEnterSelectMode(ws, 0);
        pump();
        empty();
    }
    void TearDown() override
    {
        if (ws && IsWindow(ws))
            udDiscard(ws);
        empty();
        App::TearDown();
    }

    void empty()
    {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        CloseClipboard();
    }
    // Puts raw bytes on the clipboard in a format (beside what is there
    // unless asked to empty it first).
    void put(UINT format, const void *bytes, size_t n, bool alone = true)
    {
        HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, n);
        memcpy(GlobalLock(g), bytes, n);
        GlobalUnlock(g);
        ASSERT_TRUE(OpenClipboard(nullptr));
        if (alone)
            EmptyClipboard();
        ASSERT_TRUE(SetClipboardData(format, g) != nullptr);
        CloseClipboard();
    }
    bool has(UINT format) { return IsClipboardFormatAvailable(format) != FALSE; }
    int command(int id, LPARAM lParam = 0)
    {
        int r = cmdObjectCommand(ws, wsGetCurrentObject(ws), id, lParam);
        pump();
        return r;
    }
    MemHandle add(MemHandle h)
    {
        EXPECT_TRUE(wsAppendObject(ws, h));
        return h;
    }
    MemHandle group3()
    {
        return obNewGroup(OBT_GROUP, make(OBT_RECTANGLE, 1000, 1000, 2000, 1500),
                          make(OBT_ELLIPSE, 2200, 1000, 3000, 1800),
                          make(OBT_RECTANGLE, 1200, 2000, 2600, 2600), (MemHandle)0);
    }
    // The device point of a page point (twips) and the page point the
    // workspace reads back from it.
    LPARAM devicePoint(POINT twips)
    {
        wsApplyViewMapping(ws);
        dmLogToDevPoints(&twips, 1);
        return MAKELPARAM(twips.x, twips.y);
    }
    POINT pagePoint(LPARAM packed)
    {
        wsApplyViewMapping(ws);
        POINT p;
        dmMsgPointToLog(packed, &p);
        return p;
    }
    MemHandle last() { return wsGetLastObject(ws); }
    int16_t undoKind()
    {
        UndoRecord u = {};
        wsGetUndo(ws, &u);
        return u.kind;
    }
};

// ---- Copy, Paste, click ---------------------------------------------------------------------

TEST_F(Clip, CopiedGroupPastesOnTopAtTheClickSelectedWithUndoKind7)
{
    MemHandle g = add(group3());
    epSelectObject(ws, g);
    ASSERT_EQ(1, command(202));
    EXPECT_TRUE(has(clipObjectFormat()));
    ASSERT_EQ(1, command(203));
    EXPECT_EQ(TM_PASTE_AT, wsGetToolMode(ws));
    EXPECT_EQ(0u, wsGetCurrentObject(ws)) << "paste mode clears the selection";
    const LPARAM click = devicePoint(POINT{5000, 6000});
    PostMessageA(ws, WM_LBUTTONDOWN, MK_LBUTTON, click);
    PostMessageA(ws, WM_LBUTTONUP, 0, click);
    pump();
    MemHandle pasted = last();
    ASSERT_NE(g, pasted);
    EXPECT_EQ(2u, listOf(wsGetFirstObject(ws)).size());
    EXPECT_EQ(OBT_GROUP, obGetType(pasted));
    EXPECT_EQ(3, obCountMembers(pasted));
    RECT r;
    obGetRect(pasted, &r);
    const POINT at = pagePoint(click);
    EXPECT_EQ(at.x, r.left);
    EXPECT_EQ(at.y, r.top);
    RECT before;
    obGetRect(g, &before);
    EXPECT_EQ(before.right - before.left, r.right - r.left);
    EXPECT_EQ(pasted, wsGetCurrentObject(ws));
    EXPECT_EQ(UD_INSERTED, undoKind());
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
}

TEST_F(Clip, PastedObjectNamedAsOneOnThePageIsLeftUnnamed)
{
    MemHandle box = add(make(OBT_RECTANGLE, 1000, 1000, 2000, 2000));
    box = obSetName(box, "Box1");
    epSelectObject(ws, box);
    ASSERT_EQ(1, command(202));
    BoxRecorder boxes;
    MemHandle pasted = clipPasteInPriority(ws, POINT{4000, 4000});
    ASSERT_NE(0u, pasted);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("The object's name \r\n'Box1'\r\n has been used.  Rename if desired",
              boxes.last().text);
    EXPECT_EQ(UINT(MB_ICONINFORMATION), boxes.last().flags & MB_ICONMASK);
    char name[40] = "x";
    obGetName(pasted, name);
    EXPECT_STREQ("", name);
    obFreeTree(pasted);
}

TEST_F(Clip, CutThenPasteMovesTheObjectAndPasteWithNothingBeeps)
{
    MemHandle box = add(make(OBT_RECTANGLE, 1000, 1000, 2000, 2000));
    epSelectObject(ws, box);
    ASSERT_EQ(1, command(201));
    EXPECT_TRUE(listOf(wsGetFirstObject(ws)).empty());
    MemHandle pasted = clipPasteInPriority(ws, POINT{3000, 3000});
    ASSERT_NE(0u, pasted);
    EXPECT_EQ(OBT_RECTANGLE, obGetType(pasted));
    obFreeTree(pasted);
    empty();
    EXPECT_EQ(0, clipCanPaste(ws));
    EXPECT_EQ(0, command(203));
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
}

// ---- formats and renditions -----------------------------------------------------------------

TEST_F(Clip, TextComesBeforeAPictureAndOtherTextFormsAreNotPasted)
{
    const char text[] = "Only text";
    const uint8_t dib[sizeof(BITMAPINFOHEADER) + 4] = {};
    BITMAPINFOHEADER bih = {sizeof bih, 1, 1, 1, 32, BI_RGB};
    std::vector<uint8_t> packed(dib, dib + sizeof dib);
    memcpy(packed.data(), &bih, sizeof bih);
    put(CF_DIB, packed.data(), packed.size());
    put(CF_TEXT, text, sizeof text, false);
    ASSERT_TRUE(has(CF_DIB));
    MemHandle pasted = clipPasteInPriority(ws, POINT{1000, 1000});
    ASSERT_NE(0u, pasted);
    EXPECT_EQ(OBT_TEXT, obGetType(pasted));
    obFreeTree(pasted);
}

TEST_F(Clip, RenditionsFollowTheType)
{
    // A wrapped text: its text forms, no bitmap.
    RECT box = {1000, 1000, 5000, 3000};
    MemHandle text = clipMakeTextObject(ws, "A text that wraps in its box", TXK_PLAIN, &box);
    ASSERT_NE(0u, text);
    ASSERT_TRUE(txIsWrapped(text));
    add(text);
    ASSERT_EQ(1, clipSetObjectData(ws, text, clipObjectFormat()));
    EXPECT_TRUE(has(clipObjectFormat()));
    EXPECT_TRUE(has(CF_TEXT));
    EXPECT_FALSE(has(CF_BITMAP));
    EXPECT_TRUE(has(CF_ENHMETAFILE));

    // A group holding a bitmap: no metafiles.
    MemHandle rect = make(OBT_RECTANGLE, 0, 0, 600, 400);
    MemHandle bitmap = imgObjectToBitmapObject0(ws, rect);
    ASSERT_NE(0u, bitmap);
    obFreeTree(rect);
    MemHandle g = add(obNewGroup(OBT_GROUP, bitmap, make(OBT_ELLIPSE, 0, 0, 500, 500),
                                 (MemHandle)0));
    ASSERT_EQ(1, clipSetObjectData(ws, g, clipObjectFormat()));
    EXPECT_TRUE(has(CF_BITMAP));
    EXPECT_FALSE(has(CF_METAFILEPICT));
    EXPECT_FALSE(has(CF_ENHMETAFILE));

    // A rectangle one inch wide: its picture is 2540 hundredths of a mm.
    MemHandle inch = add(make(OBT_RECTANGLE, 2000, 2000, 3440, 2720));
    ASSERT_EQ(1, clipSetObjectData(ws, inch, clipObjectFormat()));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL g2 = GetClipboardData(CF_METAFILEPICT);
    ASSERT_TRUE(g2 != nullptr);
    auto *mp = (METAFILEPICT *)GlobalLock(g2);
    ASSERT_TRUE(mp != nullptr);
    EXPECT_EQ(2540, mp->xExt);
    EXPECT_EQ(1270, mp->yExt);
    EXPECT_TRUE(mp->hMF != nullptr);
    GlobalUnlock(g2);
    CloseClipboard();
    EXPECT_TRUE(has(CF_BITMAP));
    EXPECT_FALSE(has(CF_TEXT));
}

TEST_F(Clip, CopySpecialOffersTextOnlyForObjectsThatCarryIt)
{
    struct Case {
        const char *name;
        bool text;
    } cases[] = {{"rectangle", false}, {"text", true}};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        RECT box = {1000, 1000, 4000, 2000};
        MemHandle o = k.text ? clipMakeTextObject(ws, "Words", TXK_PLAIN, &box)
                             : make(OBT_RECTANGLE, 1000, 1000, 2000, 2000);
        add(o);
        epSelectObject(ws, o);
        std::vector<std::string> offered;
        std::string caption;
        {
            qmtest::DialogDriver driver({[&](HWND d) {
                offered = qmtest::readList(d, 1000);
                caption = qmtest::windowText(d);
                qmtest::pressButton(d, IDCANCEL);
            }});
            EXPECT_EQ(0, cmdCopySpecial(ws, o));
        }
        EXPECT_EQ("Select a Clip Board format", caption);
        bool sawText = false, sawObject = false;
        for (auto &s : offered) {
            sawText |= s == "Text";
            sawObject |= s == "Quillmark Object";
        }
        EXPECT_EQ(k.text, sawText);
        EXPECT_TRUE(sawObject);
        EXPECT_EQ(k.text ? 6u : 5u, offered.size());
    }
    BoxRecorder boxes;
    EXPECT_EQ(0, cmdCopySpecial(ws, 0));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Must select an object before issuing the \"Copy Special\" command.",
              boxes.last().text);
}

// ---- pasted text --------------------------------------------------------------------------

TEST_F(Clip, OneLineTextIsRewrapped80TwipsWiderThanItsLine)
{
    const char text[] = "One short line";
    put(CF_TEXT, text, sizeof text);
    MemHandle pasted = clipPasteInPriority(ws, POINT{1500, 1500});
    ASSERT_NE(0u, pasted);
    ASSERT_EQ(1, txCountLines(pasted));
    EXPECT_TRUE(txIsWrapped(pasted));
    // The same text fitted to its line alone.
    MemHandle fitted = clipMakeTextObject(ws, text, TXK_PLAIN, nullptr);
    fitted = txFitPastedWrap(fitted, 0);
    RECT a, b;
    obGetRect(pasted, &a);
    obGetRect(fitted, &b);
    EXPECT_EQ(b.right - b.left + 80, a.right - a.left);
    EXPECT_EQ(1500, a.left);
    EXPECT_EQ(1500, a.top);
    obFreeTree(pasted);
    obFreeTree(fitted);
    // Two lines keep the margin width.
    const char two[] = "First line\r\nSecond line";
    put(CF_TEXT, two, sizeof two);
    pasted = clipPasteInPriority(ws, POINT{1500, 1500});
    ASSERT_NE(0u, pasted);
    EXPECT_EQ(2, txCountLines(pasted));
    RECT m;
    pgGetMarginRect(pvGetCurrentPage(ws), &m);
    obGetRect(pasted, &a);
    EXPECT_EQ(m.right - m.left - 240, a.right - a.left);
    obFreeTree(pasted);
}

TEST_F(Clip, TextBelowTheMarginOffersItsChoicesAndPostsTheirCommands)
{
    RECT m;
    pgGetMarginRect(pvGetCurrentPage(ws), &m);
    struct Case {
        int choice;     // radio button 100 + index
        WPARAM posted;  // 0: none
    } cases[] = {{0, 0}, {1, 2202}, {2, 2203}, {3, 455}};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.choice);
        RECT box = {m.left + 200, m.bottom - 400, m.left + 3000, m.bottom + 1000};
        MemHandle t = add(clipMakeTextObject(ws, "Low\r\ntext\r\nrunning\r\non\r\nand\r\non",
                                             TXK_PLAIN, &box));
        obGetRect(t, &box);
        ASSERT_GT(box.bottom, m.bottom - 120);
        std::string prompt;
        {
            qmtest::DialogDriver driver({[&](HWND d) {
                prompt = qmtest::itemText(d, 99);
                qmtest::pressButton(d, 100 + k.choice);
                qmtest::pressButton(d, IDOK);
            }});
            EXPECT_EQ(k.posted ? 1 : 0, txCheckNewTextFit(ws, t));
        }
        EXPECT_EQ("Text exceeds the bottom of the page (margin).  You can:", prompt);
        MSG msg;
        const BOOL got = PeekMessageA(&msg, ws, WM_COMMAND, WM_COMMAND, PM_REMOVE);
        EXPECT_EQ(k.posted != 0, got != FALSE);
        if (got && k.posted)
            EXPECT_EQ(k.posted, LOWORD(msg.wParam));
        wsDeleteObject(ws, t);
    }
    // Wholly outside the margins, and short enough: a note only.
    RECT outside = {m.left, m.bottom + 200, m.left + 2000, m.bottom + 600};
    MemHandle o = add(clipMakeTextObject(ws, "Out", TXK_PLAIN, &outside));
    BoxRecorder boxes;
    EXPECT_EQ(0, txCheckNewTextFit(ws, o));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("The text object is outside your page margin.  You may want to move it afterward.",
              boxes.last().text);
}

// ---- data that does not hold what it says ---------------------------------------------------

TEST_F(Clip, ClipboardDataIsReadOnlyWithinItsBlock)
{
    MemHandle box = add(make(OBT_RECTANGLE, 1000, 1000, 2000, 2000));
    MemHandle block = objPackTree(box);
    ASSERT_NE(0u, block);
    std::vector<uint8_t> bytes = handleBytes(block);
    utFreeHandle(block);
    const uint32_t total = utGetAt<uint32_t>(bytes.data(), 0);
    bytes.resize(total);
    const long live = utLiveHandleCount();
    {
        // A block claiming more than its size.
        std::vector<uint8_t> lying = bytes;
        utPutAt<uint32_t>(lying.data(), 0, total + 64);
        put(clipObjectFormat(), lying.data(), lying.size());
        BoxRecorder boxes;
        EXPECT_EQ(0u, clipPasteInPriority(ws, POINT{0, 0}));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Input file data error", boxes.last().text);
    }
    // Cut short at every length: refused, nothing leaked.
    for (uint32_t n = 1; n < total; n += 7) {
        SCOPED_TRACE(n);
        put(clipObjectFormat(), bytes.data(), n);
        BoxRecorder boxes;
        EXPECT_EQ(0u, clipPasteInPriority(ws, POINT{0, 0}));
    }
    EXPECT_EQ(live, utLiveHandleCount());
    // The whole block pastes.
    put(clipObjectFormat(), bytes.data(), bytes.size());
    MemHandle pasted = clipPasteInPriority(ws, POINT{0, 0});
    EXPECT_EQ(OBT_RECTANGLE, obGetType(pasted));
    obFreeTree(pasted);
    // CF_TEXT without a terminator: read up to the end of its block.
    const char unterminated[] = {'a', 'b', 'c', 'd'};
    MemHandle t = clipReadTextBlock(unterminated, sizeof unterminated);
    std::vector<uint8_t> tb = handleBytes(t);
    EXPECT_EQ(std::string("abcd"), std::string((const char *)tb.data()));
    utFreeHandle(t);
    // A line longer than a line's byte count can hold is cut into pieces,
    // each with its own line code.
    const std::string longLine(40000, 'a');
    put(CF_TEXT, longLine.c_str(), longLine.size() + 1);
    pasted = clipPasteInPriority(ws, POINT{0, 0});
    ASSERT_NE(0u, pasted);
    EXPECT_EQ(2, txCountLines(pasted));
    MemHandle plain = txGetPlainText(pasted);
    EXPECT_EQ(longLine, std::string((const char *)handleBytes(plain).data()));
    utFreeHandle(plain);
    obFreeTree(pasted);
    // A coded text whose unit runs past the block is refused.
    const char badStream[] = {'x', 1};   // a code with its payload cut off, no terminator
    put(RegisterClipboardFormatA("QM32Text"), badStream, sizeof badStream);
    EXPECT_EQ(0u, clipPasteInPriority(ws, POINT{0, 0}));
}

}  // namespace

