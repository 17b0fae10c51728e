// The stacking order commands and the stepping of the selection through
// the page, on a real workspace: each order change with its undo step,
// sorting by position, and the wrap-around of Previous and Next.
#include "tests/commands/cmd_page_kit.h"
#include "commands/ord_order.h"
#include "app/ws_command.h"
#include <algorithm>

namespace {

using cmdtest::commandsSeen;

class Order : public cmdtest::Page {
protected:
    MemHandle a = 0, b = 0, c = 0;
    void SetUp() override
    {
        Page::SetUp();
        a = add(OBT_RECTANGLE, 0, 0, 1000, 1000);
        b = add(OBT_ELLIPSE, 2000, 0, 3000, 1000);
        c = add(OBT_RECTANGLE, 4000, 0, 5000, 1000);
    }
    UndoRecord pending()
    {
        UndoRecord u = {};
        wsGetUndo(ws, &u);
        return u;
    }
};

TEST_F(Order, ToBackAndToFrontRecordTheOrderAndUndoPutsItBack)
{
    struct Case {
        int command;
        int which;
        std::vector<int> after;   // indexes into {a, b, c}
    } cases[] = {
        {406, 2, {2, 0, 1}},
        {406, 1, {1, 0, 2}},
        {406, 0, {0, 1, 2}},   // already first: recorded, nothing moves
        {407, 0, {1, 2, 0}},
        {407, 1, {0, 2, 1}},
        {407, 2, {0, 1, 2}},
    };
    const MemHandle objects[3] = {a, b, c};
    const std::vector<MemHandle> before = page();
    for (const Case &k : cases) {
        SCOPED_TRACE(k.command * 10 + k.which);
        select(objects[k.which]);
        notModified();
        ASSERT_EQ(1, wsOnCommand(ws, k.command, 0) == 0 ? 1 : 0);
        std::vector<MemHandle> want;
        for (int i : k.after)
            want.push_back(objects[i]);
        EXPECT_EQ(want, page());
        EXPECT_TRUE(wsIsModified(ws));
        EXPECT_EQ(UD_LIST_ORDER, (int16_t)pending().kind);
        EXPECT_EQ(objects[k.which], wsGetCurrentObject(ws));
        EXPECT_EQ(1, undo());
        EXPECT_EQ(before, page());
        EXPECT_EQ(a, wsGetFirstObject(ws));
    }
    // Without an object: a beep, nothing recorded.
    epSelectObject(ws, 0);
    EXPECT_EQ(0, cmdSendToBack(ws, 0));
    EXPECT_EQ(0, cmdBringToFront(ws, 0));
    EXPECT_EQ(0, cmdSendBackward(ws, 0));
    EXPECT_EQ(0, cmdBringForward(ws, 0));
    EXPECT_FALSE(wsIsUndoPending(ws));
}

TEST_F(Order, OneStepRecordsTheOppositeCommand)
{
    // Send Backward on the first object moves nothing, still marks the
    // document modified, and its undo sends 428.
    wsLeaveToolMode(ws, FALSE);
    wsEnterToolMode(ws, TM_SELECT, cmdtest::noteCommands, 0, 0);
    pump();
    epSelectObject(ws, a);
    notModified();
    EXPECT_EQ(1, cmdSendBackward(ws, a));
    EXPECT_EQ((std::vector<MemHandle>{a, b, c}), page());
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_EQ(UD_COMMAND, (int16_t)pending().kind);
    EXPECT_EQ(428, pending().command);
    commandsSeen().clear();
    undo();
    EXPECT_EQ(std::vector<WPARAM>{428}, commandsSeen());

    EXPECT_EQ(1, cmdSendBackward(ws, c));
    EXPECT_EQ((std::vector<MemHandle>{a, c, b}), page());
    EXPECT_EQ(1, cmdSendBackward(ws, c));
    EXPECT_EQ((std::vector<MemHandle>{c, a, b}), page());
    EXPECT_EQ(c, wsGetFirstObject(ws));
    EXPECT_EQ(1, cmdBringForward(ws, c));
    EXPECT_EQ((std::vector<MemHandle>{a, c, b}), page());
    EXPECT_EQ(427, pending().command);
    EXPECT_EQ(1, cmdBringForward(ws, c));
    EXPECT_EQ(1, cmdBringForward(ws, c));   // already last
    EXPECT_EQ((std::vector<MemHandle>{a, b, c}), page());
    EXPECT_EQ(0u, obGetNext(c));
    EXPECT_EQ(0u, obGetPrev(a));
}

TEST_F(Order, ByPositionSortsRowsLeftToRightAndUndoes)
{
    // Tops within 60 twips are one row; the row below comes later.
    MemHandle d = add(OBT_RECTANGLE, 100, 2000, 600, 2500);     // second row, left
    MemHandle e = add(OBT_RECTANGLE, 3000, 60, 3500, 500);      // first row, 60 lower
    MemHandle f = add(OBT_RECTANGLE, 1500, 61 + 1900, 2000, 2400);   // second row
    wsUnlinkObject(ws, a);
    wsAppendObject(ws, a);   // a (left of the first row) on top
    const std::vector<MemHandle> before = page();
    select(0);
    notModified();
    wsOnCommand(ws, 414, 0);
    EXPECT_EQ((std::vector<MemHandle>{a, b, e, c, d, f}), page());
    EXPECT_EQ(a, wsGetFirstObject(ws));
    EXPECT_EQ(0u, obGetPrev(a));
    EXPECT_EQ(0u, obGetNext(f));
    EXPECT_TRUE(wsIsModified(ws));
    UndoRecord u = pending();
    EXPECT_EQ(UD_LIST_ORDER, (int16_t)u.kind);
    EXPECT_EQ(0u, u.object);
    EXPECT_EQ(0u, udPerform(ws, 0));
    EXPECT_EQ(before, page());

    // One object: recorded, nothing changes, not modified.
    for (MemHandle h : page())
        if (h != b)
            wsDeleteObject(ws, h);
    notModified();
    EXPECT_EQ(0, cmdOrderByPosition(ws));
    EXPECT_FALSE(wsIsModified(ws));
    EXPECT_EQ(std::vector<MemHandle>{b}, page());
}

TEST_F(Order, SteppingWrapsAroundInSelectModeOnly)
{
    select(a);
    wsOnCommand(ws, 408, 0);   // Previous on the first: the last
    EXPECT_EQ(c, wsGetCurrentObject(ws));
    wsOnCommand(ws, 409, 0);   // Next on the last: the first
    EXPECT_EQ(a, wsGetCurrentObject(ws));
    wsOnCommand(ws, 409, 0);
    EXPECT_EQ(b, wsGetCurrentObject(ws));
    wsOnCommand(ws, 408, 0);
    EXPECT_EQ(a, wsGetCurrentObject(ws));
    wsOnCommand(ws, 561, 0);
    EXPECT_EQ(c, wsGetCurrentObject(ws));
    wsOnCommand(ws, 560, 0);
    EXPECT_EQ(a, wsGetCurrentObject(ws));
    select(0);
    wsOnCommand(ws, 408, 0);   // nothing selected: Previous takes the last
    EXPECT_EQ(c, wsGetCurrentObject(ws));
    select(0);
    wsOnCommand(ws, 409, 0);
    EXPECT_EQ(a, wsGetCurrentObject(ws));

    // Another mode: nothing.
    wsEnterToolMode(ws, TM_VIEW, cmdtest::noteCommands, 0, 0);
    pump();
    EXPECT_EQ(0, cmdGoToNext(ws, a));
    EXPECT_EQ(0, cmdGoToFirst(ws));
    EXPECT_EQ(a, wsGetCurrentObject(ws));
}

TEST_F(Order, RestoringSkipsObjectsThatLeftAndKeepsNewOnesOnTop)
{
    MemHandle snapshot = ordTakeListOrder(ws);
    MemHandle d = add(OBT_RECTANGLE, 0, 0, 10, 10);
    wsDeleteObject(ws, b);
    wsUnlinkObject(ws, c);
    wsInsertObjectAfter(ws, 0, c);
    ordRestoreListOrder(ws, snapshot);
    EXPECT_EQ((std::vector<MemHandle>{a, c, d}), page());
    EXPECT_EQ(0u, obGetPrev(a));
    utFreeHandle(snapshot);
}

}  // namespace
