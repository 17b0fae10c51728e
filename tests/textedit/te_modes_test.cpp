// Text editing modes on a real workspace: starting from the command,
// typing and ending with the keys, the end record and the plain end
// command, emptied texts, fresh texts, columns, single-line ends, the
// clipboard road of the editor and the Label mode.
#include "tests/textedit/te_editor_kit.h"
#include "app/app_menu_editor.h"
#include "commands/ws_objects.h"
#include "model/ob_record.h"
#include "text/tx_columns.h"
#include "text/tx_flow.h"
#include "text/tx_label.h"
#include "textedit/te_clip.h"
#include "textedit/te_modes.h"
#include "textedit/te_undo.h"
#include "tools/ep_selection.h"
#include "tools/ep_tool_choice.h"
#include "views/ws_tools.h"
#include "views/ws_relink.h"
#include <vector>

namespace {

using tetest::Editor;

struct Command {
    WPARAM id;
    LPARAM lParam;
};
std::vector<Command> g_commands;
WNDPROC g_wsProc = nullptr;

// Stands before the workspace's own procedure and notes every WM_COMMAND.
LRESULT CALLBACK noting(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND)
        g_commands.push_back({wp, lp});
    return CallWindowProcA(g_wsProc, w, msg, wp, lp);
}

std::string streamOf(MemHandle h)
{
    MemLock<char> p(h);
    return p ? std::string(p.get(), (size_t)txstrlen(p.get())) : std::string();
}

std::string plainOf(MemHandle object)
{
    MemHandle s = txCopyStream(object);
    std::string out;
    {
        MemLock<char> p(s);
        if (p) {
            std::string t(p.get(), (size_t)txstrlen(p.get()));
            t.push_back('\0');
            txStripLayoutCodes(&t[0]);
            out = t.c_str();
        }
    }
    utFreeHandle(s);
    return out;
}

class Modes : public Editor {
protected:
    void SetUp() override
    {
        Editor::SetUp();
        g_commands.clear();
        // The workspace's own procedure is reached through the noting one,
        // also when a tool mode puts the own procedure back.
        g_wsProc = (WNDPROC)wsProcFromToken((uint32_t)GetWindowLongA(ws, WS_LONG_OWN_PROC));
        SetWindowLongA(ws, WS_LONG_OWN_PROC, (LONG)wsProcToken((LONG_PTR)noting));
        SetWindowLongPtrA(ws, GWLP_WNDPROC, (LONG_PTR)noting);
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
    }
    void TearDown() override
    {
        if (wsGetToolMode(ws) == TM_TEXT)
            teEndEdit(ws, 0, 0);
        if (wsGetToolMode(ws) == TM_TEXT_A)
            teEndLabelEdit(ws);
        SetWindowLongA(ws, WS_LONG_OWN_PROC, (LONG)wsProcToken((LONG_PTR)g_wsProc));
        SetWindowLongPtrA(ws, GWLP_WNDPROC, (LONG_PTR)g_wsProc);
        for (const Command &c : g_commands)
            if (c.id == 4242 && c.lParam)
                GlobalFree((HGLOBAL)c.lParam);
        Editor::TearDown();
    }

    // A text object on the page, current, with a coded stream.
    MemHandle place(const char *stream, uint32_t flags = 0x1,
                    RECT box = {1440, 1440, 5760, 2880})
    {
        TextHeader h = {};
        h.lf = tetest::baseFont();
        h.bkMode = 1;
        h.spacing = 4;
        h.flags = flags;
        const COLORREF colours[3] = {0, 0, 0xFFFFFF};
        MemHandle t = txNewTextObject(&box, colours, &h, "");
        if (t && *stream)
            t = txReplaceText(ws, t, stream, 14, TRUE, FALSE);
        wsAppendObject(ws, t);
        wsSetCurrentObject(ws, t);
        return t;
    }

    void chars(const char *s)
    {
        for (; *s; ++s)
            PostMessageA(ws, WM_CHAR, (uint8_t)*s, 0);
        pump();
    }
    void key(UINT vk)
    {
        PostMessageA(ws, WM_KEYDOWN, vk, 0);
        PostMessageA(ws, WM_KEYUP, vk, 0);
        pump();
    }
    bool sawCommand(WPARAM id) const
    {
        for (const Command &c : g_commands)
            if (c.id == id)
                return true;
        return false;
    }
    // The end record the owner command brought.
    bool endRecord(TeEndRecord *out)
    {
        for (const Command &c : g_commands)
            if (c.id == 4242 && c.lParam) {
                EXPECT_EQ(sizeof(TeEndRecord), GlobalSize((HGLOBAL)c.lParam));
                memcpy(out, GlobalLock((HGLOBAL)c.lParam), sizeof *out);
                GlobalUnlock((HGLOBAL)c.lParam);
                return true;
            }
        return false;
    }
};

TEST_F(Modes, EscCommitsTheTypedTextFitsTheBoxAndSendsCommandOne)
{
    MemHandle t = place("");
    ASSERT_EQ(1, txCmdEditText(ws, t, 0, 0));
    EXPECT_EQ(TM_TEXT, wsGetToolMode(ws));
    chars("Hi");
    EXPECT_EQ(2, teLineLength(teGetFirstLine()));
    chars("\x1b");
    EXPECT_NE(TM_TEXT, wsGetToolMode(ws));
    EXPECT_TRUE(sawCommand(1));
    // A grown record may have a new handle: the workspace follows it.
    t = wsGetCurrentObject(ws);
    ASSERT_TRUE(wsPageHasObject(ws, t));
    EXPECT_EQ("Hi", plainOf(t));
    MemHandle s = txCopyStream(t);
    {
        MemLock<char> p(s);
        EXPECT_TRUE(txIsLineInfo(p.get()));
    }
    utFreeHandle(s);
    // Fitted to two characters, far narrower than the box it was made with.
    EXPECT_GT(obGetWidth(t), 0);
    EXPECT_LT(obGetWidth(t), 1440);
    EXPECT_EQ(0u, teGetTextObject());
}

TEST_F(Modes, AnOwnerGetsTheThirtyByteEndRecordInsteadOfCommandOne)
{
    MemHandle t = place("");
    ASSERT_EQ(1, txCmdEditText(ws, t, 4242, 0));
    chars("Hi\x1b");
    TeEndRecord r;
    ASSERT_TRUE(endRecord(&r));
    EXPECT_EQ(30u, r.size);
    t = wsGetCurrentObject(ws);
    EXPECT_EQ(t, r.object);
    EXPECT_EQ("Hi", plainOf(r.object));
    EXPECT_EQ(1, r.endCode);
    EXPECT_EQ(0u, r.endDetail);
    EXPECT_EQ(1u, r.modified);
    EXPECT_FALSE(sawCommand(1));
}

TEST_F(Modes, AnEmptiedTextLeavesThePageUnlessKeptEmpty)
{
    for (bool keep : {false, true}) {
        g_commands.clear();
        MemHandle t = place("abc");
        ASSERT_EQ(1, txCmdEditText(ws, t, 0, 0));
        teSetKeepEmpty(keep);
        teCaretTextEnd(ws, TRUE);
        chars("\b\b\b\x1b");
        EXPECT_EQ(keep, wsGetFirstObject(ws) != 0) << keep;
        (void)t;
    }
}

TEST_F(Modes, AFreshTextOpensAllSelectedAndLosesTheMarkOnlyAfterAChange)
{
    for (bool change : {false, true}) {
        MemHandle t = place("ab cd");
        obSetFlags(t, 0x200, TRUE);
        ASSERT_EQ(1, txCmdEditText(ws, t, 0, 0));
        pump();   // the posted Select All
        TePos a, b;
        ASSERT_TRUE(teGetSelection(&a, &b));
        EXPECT_EQ(5, teBytesBetween(&a, &b) < 0 ? -teBytesBetween(&a, &b) : teBytesBetween(&a, &b));
        if (change)
            chars("x");
        chars("\x1b");
        t = wsGetCurrentObject(ws);
        EXPECT_EQ(!change, (obGetFlags(t) & 0x200) != 0) << change;
    }
}

TEST_F(Modes, ThreeColumnsAreEditedAsOneAndComeBack)
{
    MemHandle t = place("one two three four five six seven eight nine ten eleven twelve", 0x9,
                        {1440, 1440, 8640, 4320});
    TextColumnSpec spec = {};
    obGetRect(t, &spec.bounds);
    spec.columns = 3;
    spec.gapX = 60;
    MemHandle c = txMakeColumns(t, &spec);
    ASSERT_NE(0u, c);
    wsFollowMovedObject(ws, t, c);
    t = c;
    ASSERT_TRUE(txHasColumns(t));
    qmtest::BoxRecorder boxes;
    ASSERT_EQ(1, txCmdEditText(ws, t, 0, 0));
    EXPECT_FALSE(txHasColumns(teGetTextObject()));
    EXPECT_EQ(0u, boxes.count());
    chars("\x1b");
    t = wsGetCurrentObject(ws);
    ASSERT_TRUE(txHasColumns(t));
    TextColumnSpec after;
    ASSERT_TRUE(txGetColumnSpec(t, &after));
    EXPECT_EQ(3, after.columns);
}

TEST_F(Modes, ATextEndingInAReturnOpensWithAnEmptyLastLine)
{
    MemHandle t = place("ab\r");
    ASSERT_EQ(1, txCmdEditText(ws, t, 0, 0));
    EXPECT_EQ(2, teLineCount());
    EXPECT_EQ(0, teLineLength(teGetLastLine()));
}

TEST_F(Modes, SingleLineTextEndsOnTabShiftTabAndCtrlArrows)
{
    struct Case {
        UINT msg;
        WPARAM key;
        BYTE modifier;
        uint16_t code;
    } cases[] = {
        {WM_CHAR, '\t', 0, 1},
        {WM_CHAR, '\t', VK_SHIFT, 2},
        {WM_KEYDOWN, VK_UP, VK_CONTROL, 5},
        {WM_KEYDOWN, VK_DOWN, VK_CONTROL, 6},
    };
    for (const Case &k : cases) {
        g_commands.clear();
        MemHandle t = place("abc", 0x10 | 0x1);
        ASSERT_EQ(1, txCmdEditText(ws, t, 4242, 0));
        if (k.modifier)
            keys(k.modifier, true);
        PostMessageA(ws, k.msg, k.key, 0);
        pump();
        if (k.modifier)
            keys(k.modifier, false);
        EXPECT_NE(TM_TEXT, wsGetToolMode(ws));
        TeEndRecord r;
        ASSERT_TRUE(endRecord(&r)) << k.code;
        EXPECT_EQ(k.code, r.endCode);
        for (const Command &c : g_commands)
            if (c.id == 4242)
                GlobalFree((HGLOBAL)c.lParam);
        g_commands.clear();
    }
}

TEST_F(Modes, EnterEndsAOneParagraphTextAndADoubleClickOutsideEndsAnyText)
{
    MemHandle t = place("abc", 0);
    ASSERT_EQ(1, txCmdEditText(ws, t, 4242, 0));
    chars("\r");
    TeEndRecord r;
    ASSERT_TRUE(endRecord(&r));
    EXPECT_EQ(1, r.endCode);
    EXPECT_EQ(1u, r.endDetail);
    for (const Command &c : g_commands)
        if (c.id == 4242)
            GlobalFree((HGLOBAL)c.lParam);
    g_commands.clear();

    MemHandle u = place("abc");
    ASSERT_EQ(1, txCmdEditText(ws, u, 0, 0));
    PostMessageA(ws, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(600, 500));
    pump();
    EXPECT_NE(TM_TEXT, wsGetToolMode(ws));
    EXPECT_EQ("abc", plainOf(wsGetCurrentObject(ws)));
    (void)u;
}

// ---- the clipboard road ----------------------------------------------------------------------------

std::string clip(UINT format)
{
    std::string s = "<none>";
    if (!OpenClipboard(nullptr))
        return s;
    if (HANDLE g = GetClipboardData(format)) {
        const char *p = (const char *)GlobalLock(g);
        s.assign(p, (size_t)txstrlen(p));
        GlobalUnlock(g);
    }
    CloseClipboard();
    return s;
}

void putClip(UINT format, const std::string &bytes, bool empty = true)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    if (empty)
        EmptyClipboard();
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    char *p = (char *)GlobalLock(g);
    memcpy(p, bytes.c_str(), bytes.size() + 1);
    GlobalUnlock(g);
    SetClipboardData(format, g);
    CloseClipboard();
}

TEST_F(Modes, CopyPutsTheStartFormatThenTheStreamAndCrLfOnlyAtReturns)
{
    // The first paragraph wraps over lines; a return ends it.
    const char *para = "alpha beta gamma delta epsilon";
    MemHandle t = place((std::string(para) + "\romega").c_str(), 0x9, {1440, 1440, 2400, 4320});
    ASSERT_EQ(1, txCmdEditText(ws, t, 0, 0));
    ASSERT_GT(teLineCount(), 2);
    teSelectAll(ws);
    TePos a, b;
    ASSERT_TRUE(teGetSelection(&a, &b));
    CharFormat start;
    teFormatAtPos(&a, &start);
    MemHandle sel = teSelectedText();
    MemHandle want = txPrefixFormat(sel, &start);
    const std::string expected = streamOf(want);
    utFreeHandle(want);
    utFreeHandle(sel);
    PostMessageA(ws, WM_COMMAND, 202, 0);
    pump();
    EXPECT_EQ(std::string(para) + "\r\nomega", clip(CF_TEXT));
    // The start format's codes, then the selected stream.
    EXPECT_EQ(expected, clip(teRegisterClipFormat()));
    EXPECT_EQ("omega", expected.substr(expected.size() - 5));
}

TEST_F(Modes, PlainOnlyTextPastesTheTextNeverTheStream)
{
    putClip(teRegisterClipFormat(), "STREAM");
    putClip(CF_TEXT, "plain", false);
    MemHandle t = place("", 0x40000001);
    ASSERT_EQ(1, txCmdEditText(ws, t, 0, 0));
    PostMessageA(ws, WM_COMMAND, 203, 0);
    chars("\x1b");
    EXPECT_EQ("plain", plainOf(wsGetCurrentObject(ws)));
    (void)t;
}

TEST_F(Modes, TwoLinesPastedIntoAOneParagraphTextKeepTheFirst)
{
    putClip(CF_TEXT, "first\r\nsecond");
    MemHandle t = place("", 0);
    ASSERT_EQ(1, txCmdEditText(ws, t, 0, 0));
    PostMessageA(ws, WM_COMMAND, 203, 0);
    pump();
    EXPECT_EQ(1, teLineCount());
    chars("\x1b");
    EXPECT_EQ("first", plainOf(wsGetCurrentObject(ws)));
    (void)t;
}

TEST_F(Modes, ADamagedStreamOnTheClipboardIsRefusedWithABeep)
{
    putClip(teRegisterClipFormat(), "a\x1b\x09\x0e" "Ari");
    putClip(CF_TEXT, "plain", false);
    MemHandle t = place("xy");
    ASSERT_EQ(1, txCmdEditText(ws, t, 0, 0));
    const int32_t beeps = teGetBeepCount();
    PostMessageA(ws, WM_COMMAND, 203, 0);
    chars("\x1b");
    EXPECT_EQ(beeps + 1, teGetBeepCount());
    EXPECT_EQ("xy", plainOf(wsGetCurrentObject(ws)));
    (void)t;
}

// ---- Labels -------------------------------------------------------------------------------------

class LabelModes : public Modes {
protected:
    MemHandle label = 0;
    MemHandle placeLabel(const char *text)
    {
        LOGFONTA lf = tetest::baseFont();
        label = txNewLabel(0, &lf, 0, 1, 0);
        RECT r = {1440, 1440, 5760, 2160};
        obSetRect(label, &r);
        label = txSetLabelText(label, text);
        label = txRewrapLabel(ws, label);
        wsAppendObject(ws, label);
        wsSetCurrentObject(ws, label);
        return label;
    }
};

TEST_F(LabelModes, TheEditedTextGoesBackIntoTheLabelWhichEndsSelected)
{
    placeLabel("ab");
    ASSERT_EQ(1, teBeginLabelEdit(ws, label, 0, 0));
    EXPECT_EQ(TM_TEXT_A, wsGetToolMode(ws));
    teCaretTextEnd(ws, TRUE);
    // A longer text than the record holds makes the Label's block grow.
    chars("cdefghijklmnopqrstuvwxyz0123456789");
    PostMessageA(ws, TE_MSG_END, 1, 0);
    pump();
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    MemHandle now = wsGetCurrentObject(ws);
    ASSERT_TRUE(wsPageHasObject(ws, now));
    MemHandle text = txCopyLabelText(now);
    std::string s;
    {
        MemLock<char> p(text);
        s.assign(p.get(), (size_t)txstrlen(p.get()));
    }
    utFreeHandle(text);
    s.push_back('\0');
    txStripLayoutCodes(&s[0]);
    EXPECT_STREQ("abcdefghijklmnopqrstuvwxyz0123456789", s.c_str());
}

TEST_F(LabelModes, UndoAfterAnAlignmentPutsItBackThenUndoesTheText)
{
    placeLabel("ab");
    ASSERT_EQ(1, teBeginLabelEdit(ws, label, 0, 0));
    ASSERT_EQ(0, txGetLabelAlign(label));
    PostMessageA(ws, WM_COMMAND, 424, 0);
    pump();
    EXPECT_EQ(1, txGetLabelAlign(label));
    EXPECT_EQ(1, teGetLabelUndoKind());
    EXPECT_TRUE(teCanUndo());
    PostMessageA(ws, WM_COMMAND, 200, 0);
    pump();
    EXPECT_EQ(0, txGetLabelAlign(label));
    EXPECT_EQ(0, teGetLabelUndoKind());
    // The editor's step went with it.
    EXPECT_FALSE(teCanUndo());
}

TEST_F(LabelModes, APasteTallerThanThePageIsCancelledAndTheSelectionComesBack)
{
    std::string many;
    for (int i = 0; i < 120; ++i)
        many += "line\r\n";
    putClip(CF_TEXT, many);
    placeLabel("keep");
    ASSERT_EQ(1, teBeginLabelEdit(ws, label, 0, 0));
    teSelectAll(ws);
    qmtest::BoxRecorder boxes;
    boxes.answer(IDOK);
    PostMessageA(ws, WM_COMMAND, 203, 0);
    pump();
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("The pasted text is too long to fit into the page.  Paste will be cancelled",
              boxes.last().text);
    EXPECT_EQ(2, teGetPasteMessage());
    TePos a, b;
    ASSERT_TRUE(teGetSelection(&a, &b));
    MemHandle sel = teSelectedText();
    EXPECT_EQ("keep", text(sel));
    utFreeHandle(sel);
    EXPECT_EQ(1, teLineCount());
}

}  // namespace

namespace {

TEST_F(Modes, ARebuildThatRunsOutOfMemoryKeepsTheObjectAndSaysSo)
{
    MemHandle t = place("abc");
    ASSERT_EQ(1, txCmdEditText(ws, t, 0, 0));
    teCaretTextEnd(ws, TRUE);
    chars("defghijklmnopqrstuvwxyz");
    qmtest::BoxRecorder boxes;
    utFailNextAllocs(1);
    teEndEdit(ws, 1, 0);
    utFailNextAllocs(0);
    EXPECT_NE(TM_TEXT, wsGetToolMode(ws));
    // The allocator's report and the editor's.
    ASSERT_GE(boxes.count(), 1u);
    EXPECT_EQ("Memory allocation failed", boxes.last().text);
    t = wsGetCurrentObject(ws);
    ASSERT_TRUE(wsPageHasObject(ws, t));
    EXPECT_EQ("abc", plainOf(t));
}

}  // namespace

namespace {

TEST_F(Modes, MenusWhileEditingFollowTheEditor)
{
    MemHandle t = place("abc");
    ASSERT_EQ(1, txCmdEditText(ws, t, 0, 0));
    // The Edit menu's positions: Undo, -, Cut, Copy, Paste, -, Delete,
    // Insert, -, Select All, Clone.
    HMENU edit = CreatePopupMenu();
    for (UINT id : {200u, 0u, 201u, 202u, 203u, 0u, 205u, 206u, 0u, 215u, 2000u})
        AppendMenuA(edit, id ? MF_STRING : MF_SEPARATOR, id, "x");
    appInitEditMenu(ws, edit);
    auto greyed = [](HMENU m, UINT id) {
        return (GetMenuState(m, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    EXPECT_TRUE(greyed(edit, 201));
    EXPECT_TRUE(greyed(edit, 202));
    EXPECT_FALSE(greyed(edit, 215));
    char name[32] = "";
    GetMenuStringA(edit, 206, name, sizeof name, MF_BYCOMMAND);
    EXPECT_STREQ("&Insert Image...", name);
    teSelectAll(ws);
    appInitEditMenu(ws, edit);
    EXPECT_FALSE(greyed(edit, 201));
    EXPECT_FALSE(greyed(edit, 202));
    DestroyMenu(edit);

    // Bold at the caret checks the Text menu's Bold item.
    teClearSelection();
    teCaretTextEnd(ws, TRUE);
    HMENU text = CreatePopupMenu();
    AppendMenuA(text, MF_STRING, 460, "x");
    AppendMenuA(text, MF_STRING, 463, "x");
    appInitTextMenuForEditor(ws, text);
    EXPECT_EQ(0u, GetMenuState(text, 463, MF_BYCOMMAND) & MF_CHECKED);
    PostMessageA(ws, WM_COMMAND, 463, 0);
    pump();
    appInitTextMenuForEditor(ws, text);
    EXPECT_NE(0u, GetMenuState(text, 463, MF_BYCOMMAND) & MF_CHECKED);
    DestroyMenu(text);
}

}  // namespace
