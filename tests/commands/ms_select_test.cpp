// The multiple selection on a real workspace: posted clicks in mode 4,
// the chain a double click or Select All makes and its undo, alignment,
// merging texts, handles given by command 1970 and the end of editing a
// group's text member.
#include "tests/commands/cmd_page_kit.h"
#include "commands/ms_select.h"
#include "commands/ms_merge.h"
#include "views/ws_window.h"
#include <string.h>

namespace {

using qmtest::BoxRecorder;

class Multi : public cmdtest::Page {
protected:
    MemHandle a = 0, b = 0, c = 0;
    void SetUp() override
    {
        Page::SetUp();
        a = add(OBT_RECTANGLE, 2000, 2000, 2700, 2700);
        b = add(OBT_RECTANGLE, 3000, 2000, 3700, 2700);
        c = add(OBT_RECTANGLE, 4000, 2000, 4700, 2700);
    }
    void TearDown() override
    {
        msResetSelection();
        Page::TearDown();
    }
    std::vector<MemHandle> gathered()
    {
        MemHandle got[16] = {};
        int n = msGetGathered(ws, got, 16);
        return std::vector<MemHandle>(got, got + std::min(n, 16));
    }
    std::vector<MemHandle> members(MemHandle owner)
    {
        std::vector<MemHandle> v;
        for (MemHandle m = obGetFirstMember(owner); m; m = obGetNextMember(m))
            v.push_back(m);
        return v;
    }
    void enterMode4()
    {
        command(402);
        ASSERT_EQ(TM_MULTISELECT, wsGetToolMode(ws));
    }
};

TEST_F(Multi, ClicksToggleAndADoubleClickWithOneSelectsIt)
{
    enterMode4();
    click(centreOf(b));
    click(centreOf(a));
    EXPECT_EQ((std::vector<MemHandle>{b, a}), gathered());
    click(centreOf(b));   // clicked twice: out again
    EXPECT_EQ(std::vector<MemHandle>{a}, gathered());
    doubleClick(px(9000, 9000));
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    EXPECT_EQ(a, wsGetCurrentObject(ws));
    EXPECT_EQ((std::vector<MemHandle>{a, b, c}), page());   // no chain
    EXPECT_TRUE(gathered().empty());
}

TEST_F(Multi, ThreeMakeAChainOnTopBackMostFirstAndUndoRestoresTheOrder)
{
    // The order of the page differs from the order of gathering.
    wsUnlinkObject(ws, a);
    wsAppendObject(ws, a);   // b, c, a
    enterMode4();
    for (MemHandle h : {a, c, b})
        click(centreOf(h));
    doubleClick(px(9000, 9000));
    MemHandle chain = wsGetCurrentObject(ws);
    ASSERT_EQ(OBT_CHAIN, obGetType(chain));
    EXPECT_EQ((std::vector<MemHandle>{b, c, a}), members(chain));
    EXPECT_EQ(std::vector<MemHandle>{chain}, page());
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    ASSERT_EQ(UD_CHAIN, undoKind());
    UndoRecord u;
    wsGetUndo(ws, &u);
    EXPECT_EQ(chain, u.object);
    command(200);
    EXPECT_EQ((std::vector<MemHandle>{b, c, a}), page());
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
    EXPECT_FALSE(utIsLiveHandle(chain));
    for (MemHandle h : {a, b, c})
        EXPECT_EQ(0u, obGetParent(h));
}

TEST_F(Multi, SelectAllMakesOneChainThatSelectingElsewhereTakesApart)
{
    command(215);
    MemHandle chain = wsGetCurrentObject(ws);
    ASSERT_EQ(OBT_CHAIN, obGetType(chain));
    EXPECT_EQ(std::vector<MemHandle>{chain}, page());
    EXPECT_EQ((std::vector<MemHandle>{a, b, c}), members(chain));
    RECT box;
    obGetRect(chain, &box);
    EXPECT_TRUE(box.left <= 2000 && box.left > 1900) << box.left;
    EXPECT_TRUE(box.right >= 4700 && box.right < 4800) << box.right;
    epSelectObject(ws, 0);
    EXPECT_EQ((std::vector<MemHandle>{a, b, c}), page());
    EXPECT_FALSE(utIsLiveHandle(chain));

    // A page of one: the object itself; an empty page: nothing.
    wsDeleteObject(ws, b);
    wsDeleteObject(ws, c);
    command(215);
    EXPECT_EQ(a, wsGetCurrentObject(ws));
    EXPECT_EQ(std::vector<MemHandle>{a}, page());
    wsDeleteObject(ws, a);
    EXPECT_EQ(0, cmdSelectAll(ws));
}

TEST_F(Multi, AlignMovesByTheUnionAndUndoesInOneStep)
{
    // Frames: a 2000-2700, b 3000-3700 wide; b 500 lower and 300 taller.
    obMoveBy(b, 0, 500);
    struct Case {
        int command;
        POINT moveA, moveB;
    } cases[] = {
        {420, {0, 0}, {-1000, 0}},       // left
        {421, {2000 - 300, 0}, {1000 - 300, 0}},   // right: c's right edge, set below
        {422, {0, 0}, {0, -500}},        // top
        {423, {0, 500}, {0, 0}},         // bottom
        {424, {500, 0}, {-500, 0}},      // horizontal centre: K.x = 2850
        {425, {0, 250}, {0, -250}},      // vertical centre
        {426, {500, 250}, {-500, -250}},
    };
    // Only a and b are listed: right aligns to b's right edge.
    cases[1].moveA = {1000, 0};
    cases[1].moveB = {0, 0};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.command);
        enterMode4();
        click(centreOf(a));
        click(centreOf(b));
        ASSERT_EQ(2u, gathered().size());
        RECT ra0, rb0, ra1, rb1;
        obGetRect(a, &ra0);
        obGetRect(b, &rb0);
        notModified();
        command(k.command);
        obGetRect(a, &ra1);
        obGetRect(b, &rb1);
        EXPECT_EQ(k.moveA.x, ra1.left - ra0.left);
        EXPECT_EQ(k.moveA.y, ra1.top - ra0.top);
        EXPECT_EQ(k.moveB.x, rb1.left - rb0.left);
        EXPECT_EQ(k.moveB.y, rb1.top - rb0.top);
        EXPECT_TRUE(wsIsModified(ws));
        UndoRecord u;
        ASSERT_TRUE(wsGetUndo(ws, &u));
        EXPECT_EQ(UD_PROPERTY, (int16_t)u.kind);
        EXPECT_EQ(UD_SUB_MEMBER_MOVES, (int16_t)u.subKind);
        EXPECT_EQ(0u, u.object);
        command(200);
        obGetRect(a, &ra1);
        obGetRect(b, &rb1);
        EXPECT_TRUE(EqualRect(&ra0, &ra1));
        EXPECT_TRUE(EqualRect(&rb0, &rb1));
        command(400);   // back to select mode
        ASSERT_EQ(TM_SELECT, wsGetToolMode(ws));
    }
    // One listed object, or outside mode 4: nothing.
    enterMode4();
    click(centreOf(a));
    EXPECT_EQ(0, msAlign(ws, 420));
    command(400);
    EXPECT_EQ(0, msAlign(ws, 420));
}

TEST_F(Multi, MergeTakesTheLeftTextFirstAndUndoBringsTheOriginalsBack)
{
    for (MemHandle h : {a, b, c})
        wsDeleteObject(ws, h);
    // The right text is 60 twips higher: one row, the left one first.
    MemHandle right = addText(6000, 1940, 8000, 2300, "world");
    MemHandle left = addText(2000, 2000, 4000, 2400, "hello");
    const std::vector<MemHandle> before = page();
    enterMode4();
    click(centreOf(right));
    click(centreOf(left));
    ASSERT_EQ(2u, gathered().size());
    notModified();
    command(499);
    MemHandle merged = wsGetCurrentObject(ws);
    ASSERT_NE(0u, merged);
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    EXPECT_EQ(std::vector<MemHandle>{merged}, page());
    const std::string text = textOf(merged);
    EXPECT_LT(text.find("hello"), text.find("world")) << text;
    EXPECT_NE(std::string::npos, text.find("world"));
    EXPECT_EQ(UD_MERGE, undoKind());
    EXPECT_TRUE(wsIsModified(ws));
    command(200);
    EXPECT_EQ(before, page());
    EXPECT_EQ(left, wsGetCurrentObject(ws));
    EXPECT_FALSE(utIsLiveHandle(merged));
    EXPECT_EQ("hello", textOf(left));
}

TEST_F(Multi, MergeRefusesANonTextAndNeedsTwo)
{
    MemHandle t = addText(2000, 5000, 4000, 5400, "one");
    enterMode4();
    click(centreOf(t));
    EXPECT_EQ(0, cmdMergeText(ws));   // one listed
    click(centreOf(a));
    BoxRecorder boxes;
    const std::vector<MemHandle> before = page();
    command(499);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Must be all text object in order to merge.", boxes.last().text);
    EXPECT_NE(std::string::npos, boxes.last().caption.find(" Message"));
    EXPECT_EQ(before, page());
    EXPECT_EQ(TM_MULTISELECT, wsGetToolMode(ws));
    EXPECT_EQ(2u, gathered().size());
}

TEST_F(Multi, HandlesOfCommand1970CountOnlyForTopLevelObjectsOfThePage)
{
    MemHandle member1 = obtest::make(OBT_RECTANGLE), member2 = obtest::make(OBT_RECTANGLE);
    MemHandle group = obNewGroup(OBT_GROUP, member1, member2, (MemHandle)0);
    wsAppendObject(ws, group);
    MemHandle stray = obtest::make(OBT_RECTANGLE);   // on no page
    enterMode4();
    pump();
    const MemHandle list[] = {a, member1, stray, 0x7FFF0001u, c, 0, b};
    const long blocks = utLiveHandleCount();
    command(1970, (LPARAM)utHandleFromBytes(list, sizeof list));
    EXPECT_EQ((std::vector<MemHandle>{a, c}), gathered());   // b is after the 0
    EXPECT_EQ(blocks + 1, utLiveHandleCount());   // the array freed, the list made
    // Toggled: given again, they leave.
    const MemHandle again[] = {a, 0};
    command(1970, (LPARAM)utHandleFromBytes(again, sizeof again));
    EXPECT_EQ(std::vector<MemHandle>{c}, gathered());
    // Outside mode 4 the array is only freed.
    command(400);
    command(1970, (LPARAM)utHandleFromBytes(again, sizeof again));
    EXPECT_EQ(blocks, utLiveHandleCount());
    EXPECT_TRUE(gathered().empty());
    obFreeTree(stray);
}

TEST_F(Multi, BackToSelectTakesTheCurrentObjectOrAfterCreateTheLast)
{
    epEnterSelectMode(ws, a);
    pump();
    command(400);   // in select mode: stays, with the object
    EXPECT_EQ(a, wsGetCurrentObject(ws));
    // From another mode the current object goes with it.
    wsLeaveToolMode(ws, FALSE);
    wsEnterToolMode(ws, TM_VIEW, cmdtest::noteCommands, 0, 0);
    pump();
    wsSetCurrentObject(ws, b);
    EXPECT_EQ(1, cmdBackToSelect(ws));
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    EXPECT_EQ(b, wsGetCurrentObject(ws));
    // Out of create mode while the program stays in draw mode: the last
    // object of the page.
    const BOOL stay = setGetStayInDrawMode();
    setPutStayInDrawMode(TRUE);
    wsLeaveToolMode(ws, FALSE);
    wsEnterToolMode(ws, TM_CREATE, cmdtest::noteCommands, 0, 0);
    pump();
    wsSetCurrentObject(ws, a);
    EXPECT_EQ(1, cmdBackToSelect(ws));
    EXPECT_EQ(c, wsGetCurrentObject(ws));
    setPutStayInDrawMode(stay);
    // Mode 4 left by the Select command: nothing gathered, nothing selected.
    enterMode4();
    click(centreOf(a));
    command(400);
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    EXPECT_TRUE(gathered().empty());
    EXPECT_EQ((std::vector<MemHandle>{a, b, c}), page());
}

// The end record of the text editor: the committed object at offset 6.
MemHandle endRecord(MemHandle object)
{
    uint8_t bytes[30] = {};
    bytes[0] = 30;
    memcpy(bytes + 6, &object, 4);
    return utHandleFromBytes(bytes, sizeof bytes);
}

TEST_F(Multi, EndingAMemberEditDissolvesAGroupLeftWithOneMember)
{
    for (MemHandle h : {a, b, c})
        wsDeleteObject(ws, h);
    MemHandle t = txNewPlainTextObject(nullptr, nullptr, nullptr, "");
    {
        TextHeader th = {};
        th.lf.lfHeight = -240;
        RECT box = {2000, 2000, 4000, 2400};
        obFreeTree(t);
        t = txNewPlainTextObject(nullptr, &box, &th, "x");
    }
    MemHandle r = obtest::make(OBT_RECTANGLE, 5000, 2000, 6000, 3000);
    MemHandle group = obNewGroup(OBT_GROUP, t, r, (MemHandle)0);
    wsAppendObject(ws, group);
    cmdEditGroupText(ws, group);
    pump();
    // Whatever the editor did, the end record says the member is gone.
    if (wsGetToolMode(ws) == TM_TEXT)
        wsLeaveToolMode(ws, FALSE);
    const long blocks = utLiveHandleCount();
    command(704, (LPARAM)endRecord(0));
    EXPECT_EQ(std::vector<MemHandle>{r}, page());
    EXPECT_FALSE(utIsLiveHandle(group));
    EXPECT_EQ(0u, obGetParent(r));
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
    EXPECT_EQ(TM_SELECT, wsGetToolMode(ws));
    EXPECT_LT(utLiveHandleCount(), blocks);   // record, member and group freed

    // The member kept: the group is refitted and selected.
    MemHandle t2 = obtest::make(OBT_TEXT, 100, 100, 200, 200);
    MemHandle r2 = obtest::make(OBT_RECTANGLE, 300, 100, 400, 200);
    MemHandle g2 = obNewGroup(OBT_GROUP, t2, r2, (MemHandle)0);
    wsAppendObject(ws, g2);
    wsSetTracked(ws, g2, t2, g2, r2);
    command(704, (LPARAM)endRecord(t2));
    EXPECT_EQ(g2, wsGetCurrentObject(ws));
    EXPECT_EQ((std::vector<MemHandle>{t2, r2}), members(g2));
}

}  // namespace
