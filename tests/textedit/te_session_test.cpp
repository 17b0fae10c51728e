// The text edit session: parking in the workspace and coming back, the
// DC's background colour, the format slots and the field accessors.
#include "tests/app/app_fixture.h"
#include "tests/textedit/te_kit.h"
#include "model/pg_record.h"
#include "text/tx_object.h"
#include "model/ws_document.h"
#include "views/ws_record.h"

namespace {

TextHeader textHeader(uint8_t bkMode)
{
    TextHeader h = {};
    h.lf = tetest::baseFont();
    h.bkMode = bkMode;
    h.spacing = 4;
    h.flags = TXF_WRAP | TXF_WRAP_LOW;
    return h;
}

MemHandle textObject(uint8_t bkMode, COLORREF back)
{
    RECT box = {1440, 1440, 5760, 4320};
    const COLORREF colours[3] = {0, 0, back};
    TextHeader h = textHeader(bkMode);
    return txNewTextObject(&box, colours, &h, "");
}

COLORREF brushColour(HBRUSH b)
{
    LOGBRUSH lb = {};
    GetObjectA(b, sizeof lb, &lb);
    return lb.lbColor;
}

class Session : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    MemHandle object = 0;

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        teResetSelectionModule();
    }
    void TearDown() override
    {
        teDestroyCaret();
        teReleaseDC();
        teLinesFreeAll();
        teFreeSessionResources(ws);
        teResetSession(nullptr);
        teResetSelectionModule();
        utFreeHandle(object);
        App::TearDown();
        dwResetModule();
    }

    // Opens the object in the session as the edit mode's open step does.
    void open(MemHandle obj, const char *text)
    {
        object = obj;
        teResetSession(ws);
        teSetTextObject(obj);
        CharFormat f;
        ASSERT_TRUE(txGetCharFormat(obj, &f));
        teSetFormat(&f, 0);
        teAcquireDC(ws);
        teLinesFromStream(text, 0, &f);
    }
};

TEST_F(Session, SuspendAndRestoreLeaveTheSessionAsItWas)
{
    open(textObject(1, 0), "first line\rsecond line\rthird");
    MemHandle first = teGetFirstLine(), last = teGetLastLine();
    teSetCaret(teLineAt(1), 4);
    teCreateCaret(ws);
    MemHandle undo = utHandleFromString("undo data");
    teSetUndoKind(5);
    teSetUndoData(undo);
    teSetSavedSelection(1, 2, 3);
    TePos a = {teLineAt(0), 1}, b = {teLineAt(2), 2};
    teSetSelection(&a, &b);

    teSuspendSession(ws);
    ASSERT_NE(0u, wsGetSavedSession(ws));
    EXPECT_EQ(0u, teSession()->dc);   // the DC and the caret went with the focus
    EXPECT_EQ(0u, teSession()->caretCreated);
    // The live record may be anyone's while this one is parked.
    teResetSession(nullptr);
    EXPECT_EQ(0u, teGetTextObject());

    teRestoreSession(ws);
    EXPECT_EQ(0u, wsGetSavedSession(ws));
    EXPECT_EQ(object, teGetTextObject());
    EXPECT_EQ(first, teGetFirstLine());
    EXPECT_EQ(last, teGetLastLine());
    EXPECT_EQ(teLineAt(1), teCaretLine());
    EXPECT_EQ(4, teCaretOffset());
    EXPECT_EQ(5, teGetUndoKind());
    EXPECT_EQ(undo, teGetUndoData());
    int32_t s, e, c;
    teGetSavedSelection(&s, &e, &c);
    EXPECT_EQ(1, s);
    EXPECT_EQ(3, c);
    EXPECT_NE(nullptr, teGetDC());
    EXPECT_EQ(1u, teSession()->caretCreated);
    // The selection is not parked, and not lost either.
    TePos gotA, gotB;
    ASSERT_TRUE(teGetSelection(&gotA, &gotB));
    EXPECT_EQ(teLineAt(2), gotB.line);
}

TEST_F(Session, NoSaveOnSuspendParksNothingAndRestoringWithoutACopyStillGivesADC)
{
    open(textObject(1, 0), "text");
    teSetNoSaveOnSuspend(ws, FALSE);
    teSuspendSession(ws);
    EXPECT_EQ(0u, wsGetSavedSession(ws));
    teSetNoSaveOnSuspend(ws, TRUE);
    teRestoreSession(ws);
    EXPECT_EQ(object, teGetTextObject());
    EXPECT_NE(nullptr, teGetDC());
    EXPECT_EQ(1u, teSession()->caretCreated);
    // A second parked copy replaces (frees) the first.
    long before = qmtest::liveHandles();
    teSaveToWorkspace(ws);
    teSaveToWorkspace(ws);
    EXPECT_EQ(before + 1, qmtest::liveHandles());
    teSetSessionActive(ws, TRUE);
    EXPECT_EQ(0u, wsGetSavedSession(ws));
    EXPECT_EQ(before, qmtest::liveHandles());
}

TEST_F(Session, TheEditBackgroundIsTheObjectsOwnOrThePageColour)
{
    {
        PgLock page(pvGetCurrentPage(ws));
        ASSERT_TRUE(page);
        page.data()->pageColour = RGB(10, 20, 30);
    }
    open(textObject(2, RGB(200, 100, 50)), "x");
    EXPECT_EQ(RGB(200, 100, 50), brushColour(teGetBkBrush()));
    RECT frame, text;
    teGetFrame(&frame);
    ASSERT_TRUE(txGetTextRect(object, &text));
    EXPECT_TRUE(EqualRect(&frame, &text));
    EXPECT_GT(teGetLineExtent(), 0);
    teLinesFreeAll();
    utFreeHandle(object);
    open(textObject(1, RGB(200, 100, 50)), "x");
    EXPECT_EQ(RGB(10, 20, 30), brushColour(teGetBkBrush()));
    teReleaseDC();
    EXPECT_EQ(nullptr, teGetBkBrush());

    // A window without a page edits over white.
    HWND plain = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    teAcquireDC(plain);
    EXPECT_EQ(RGB(255, 255, 255), brushColour(teGetBkBrush()));
    teReleaseDC();
    DestroyWindow(plain);
}

TEST_F(Session, FormatSlotsAndThePaletteColours)
{
    open(textObject(1, 0), "x");
    CharFormat base, caret;
    teGetFormat(&base, 0);
    clrSetForeColor(RGB(1, 1, 1));
    clrSetBackColor(RGB(2, 2, 2));
    CharFormat f = base;
    f.foreColor = RGB(0, 128, 0);
    teSetFormat(&f, 1);   // slot 1 does nothing
    CharFormat probe;
    memset(&probe, 0x5A, sizeof probe);
    teGetFormat(&probe, 1);
    EXPECT_EQ(0x5A, ((uint8_t *)&probe)[0]);
    EXPECT_EQ(RGB(1, 1, 1), clrGetForeColor());
    teGetFormat(&caret, 2);
    f.backColor = caret.backColor;
    teSetFormat(&f, 2);
    EXPECT_EQ(RGB(0, 128, 0), clrGetForeColor());
    EXPECT_EQ(RGB(2, 2, 2), clrGetBackColor());   // the background untouched
    teGetFormat(&caret, 2);
    EXPECT_EQ(RGB(0, 128, 0), caret.foreColor);
    teGetFormat(&probe, 0);
    EXPECT_EQ(0, memcmp(&probe, &base, sizeof base));
}

TEST_F(Session, FieldsAndFlags)
{
    open(textObject(1, 0), "x");
    EXPECT_TRUE(teIsWrapped());
    EXPECT_FALSE(teIsVertical());
    EXPECT_TRUE(teIsFrameBound());
    EXPECT_EQ(0u, teGetSavedProc(ws));
    teSetSavedProc(77);
    EXPECT_EQ(77u, teGetSavedProc(ws));
    EXPECT_EQ(0u, teGetSavedProc(doc));   // not the session's window
    EXPECT_EQ(0, teExchangeDragFlag(1));
    EXPECT_EQ(1, teExchangeDragFlag(0));
    teSetOption(0x4, TRUE);
    EXPECT_TRUE(teTestOption(0x4));
    EXPECT_FALSE(teTestOption(0x8));
    teMarkModified(ws);
    EXPECT_TRUE(teIsModified());
    EXPECT_TRUE(wsIsModified(ws));
    teClearModified();
    EXPECT_FALSE(teIsModified());
    // Composition: the clause pairs and a string replaced only when it differs.
    teBeginComposition();
    EXPECT_TRUE(teIsComposing());
    EXPECT_TRUE(teAppendClause(1, 2));
    EXPECT_TRUE(teAppendClause(3, 4));
    EXPECT_EQ(2u, teGetClauseCount());
    EXPECT_TRUE(teReplaceCompString(utHandleFromString("ka")));
    MemHandle same = utHandleFromString("ka");
    EXPECT_FALSE(teReplaceCompString(same));
    utFreeHandle(same);
    teClearComposition();
    EXPECT_EQ(0u, teGetCompString());
    EXPECT_FALSE(teIsComposing());
    // The alignment of the whole text: header, base format and one code.
    EXPECT_EQ(1, teSetAlignment(ws, TXA_RIGHT));
    TextHeader *h = txLockHeader(object);
    EXPECT_EQ(TXA_RIGHT, h->align);
    utUnlock(object);
    CharFormat base;
    teGetFormat(&base, 0);
    EXPECT_EQ(TXA_RIGHT, base.align);
    TePos p = {teGetFirstLine(), 0};
    EXPECT_TRUE(teFindCodeForward(&p, TXC_ALIGN));
    EXPECT_EQ(0, p.offset);
}

}  // namespace

TEST_F(Session, AHeldSessionIsNotParkedUntilEveryHoldIsLetGo)
{
    open(textObject(1, 0), "text");
    teHoldSuspend(TRUE);
    teHoldSuspend(TRUE);
    teSuspendSession(ws);
    EXPECT_EQ(0u, wsGetSavedSession(ws));
    EXPECT_NE(nullptr, teGetDC());
    teHoldSuspend(FALSE);
    teSuspendSession(ws);
    EXPECT_EQ(0u, wsGetSavedSession(ws));
    teHoldSuspend(FALSE);
    teHoldSuspend(FALSE);   // an extra release does not leave a debt
    teSuspendSession(ws);
    EXPECT_NE(0u, wsGetSavedSession(ws));
    teSetSessionActive(ws, TRUE);
}
