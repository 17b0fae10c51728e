// The document command dispatcher on a document window of the program's
// own frame: ids outside the table, the commands it answers itself with a
// message, reload, the form option bit, unlinking, and the nudge keys
// outside select mode.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "app/app_frame_docs.h"
#include "app/ws_command.h"
#include "views/pv_page.h"
#include "model/qmf_save.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include "commands/ws_objects.h"
#include "support/ut_msg.h"
#include "support/help_file.h"
#include "tests/support/kit_dialog.h"
#include "app/app_frame_cmd.h"
#include "views/ws_zoom.h"
#include <utility>

namespace {

using qmtest::BoxRecorder;

class Dispatch : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    MemHandle form = 0;

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        form = wsGetDocument(ws);
        ASSERT_NE(0u, form);
    }
    void TearDown() override
    {
        App::TearDown();
        dwResetModule();
    }
    int send(int id, LPARAM lParam = 0)
    {
        return (int)SendMessageA(ws, WM_COMMAND, (WPARAM)(uint16_t)id, lParam);
    }
};

TEST_F(Dispatch, IdsOutsideTheTableAreNotDocumentCommands)
{
    BoxRecorder boxes;
    for (int id : {1, 29, 33, 38, 5002, 5004, 12345, 999, 2111}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(1, wsOnCommand(ws, id, 0));
        EXPECT_EQ(1, send(id));
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    // Ids of the table are answered, also those accepted without action and
    // those whose handlers have nothing to do yet.
    for (int id : {914, 932, 1145, 745, 231, 1104, 135, 141, 306, 1381, 2222, 440, 5000, 879})
        EXPECT_EQ(0, wsOnCommand(ws, id, 0)) << id;
}

TEST_F(Dispatch, CommandsThatOnlyShowAMessage)
{
    struct Case {
        int id;
        const char *text;
    } cases[] = {
        {652, "You can change default value only when you are editing the table."},
        {653, "You can change default value only when you are editing the table."},
        {230, "Text fnd is available only when you edit a text object"},
        {143, "File not saved.  Can not reload."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        BoxRecorder boxes;
        EXPECT_EQ(0, send(c.id));
        ASSERT_EQ(1u, boxes.count()) << boxes.texts();
        EXPECT_EQ(c.text, boxes.last().text);
    }
    BoxRecorder boxes;
    send(652);
    EXPECT_TRUE(boxes.last().flags & MB_ICONINFORMATION);
    EXPECT_EQ(form, wsGetDocument(ws)) << "the document is not touched";
}

TEST_F(Dispatch, ReloadOfAFileThatCannotBeReadKeepsTheDocument)
{
    wsSetDocPath(ws, home.file("missing.qm").c_str());
    MemHandle object = pgtest::addObject(pvGetCurrentPage(ws), "keep");
    BoxRecorder boxes;
    EXPECT_EQ(0, send(143));
    ASSERT_GE(boxes.count(), 1u);
    EXPECT_EQ("Reload failed.", boxes.last().text) << boxes.texts();
    EXPECT_EQ(form, wsGetDocument(ws));
    EXPECT_EQ(object, wsFindObjectByName(ws, "keep"));
}

TEST_F(Dispatch, ReloadReplacesTheDocumentAndClearsTheModifiedFlags)
{
    // The file holds a page with the object "saved"; the document in the
    // window gets "old" on top of it afterwards.
    const std::string path = home.file("doc.qm");
    wsSetDocPath(ws, path.c_str());
    pgtest::addObject(pvGetCurrentPage(ws), "saved");
    ASSERT_EQ(1, qmfSaveDocument(ws, path.c_str(), form, FALSE, FALSE));
    pgtest::addObject(pvGetCurrentPage(ws), "old");
    wsMarkModified(ws);
    BoxRecorder boxes;
    EXPECT_EQ(0, send(143));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_NE(0u, wsGetDocument(ws));
    EXPECT_EQ(0u, wsFindObjectByName(ws, "old"));
    EXPECT_NE(0u, wsFindObjectByName(ws, "saved")) << "the page read from the file";
    EXPECT_FALSE(wsIsModified(ws));
    EXPECT_EQ(0, pvGetCurrentPageIndex(ws));
    char back[260];
    ASSERT_TRUE(wsGetDocPath(ws, back));
    EXPECT_STREQ(path.c_str(), back);
    pump();
}

std::vector<std::pair<UINT, std::string>> &helpCalls()
{
    static std::vector<std::pair<UINT, std::string>> calls;
    return calls;
}

void helpHook(const UtHelpCall &c) { helpCalls().push_back({c.command, c.keyword ? c.keyword : ""}); }

TEST_F(Dispatch, HelpOnF1AndOnScrollStyle)
{
    helpCalls().clear();
    utSetHelpFile("ridevi.hlp");
    utSetHelpHook(helpHook);
    EXPECT_EQ(0, send(808));
    EXPECT_EQ(0, send(443));
    utSetHelpHook(nullptr);
    ASSERT_EQ(2u, helpCalls().size());
    EXPECT_EQ(11u, helpCalls()[0].first) << "the contents: help context 800";
    EXPECT_EQ("Scroll Style", helpCalls()[1].second);
}

TEST_F(Dispatch, FormOptionBit400)
{
    EXPECT_EQ(0, send(873));
    EXPECT_TRUE(fmGetFlag400(form));
    EXPECT_EQ(0, send(874));
    EXPECT_FALSE(fmGetFlag400(form));
}

TEST_F(Dispatch, UnlinkingTheGivenOrTheCurrentObject)
{
    MemHandle page = pvGetCurrentPage(ws);
    MemHandle a = pgtest::addObject(page, "a");
    MemHandle b = pgtest::addObject(page, "b");
    EXPECT_EQ(0, send(1100, (LPARAM)a));
    EXPECT_EQ((std::vector<MemHandle>{b}), obtest::listOf(wsGetFirstObject(ws)));
    wsSetCurrentObject(ws, b);
    EXPECT_EQ(0, send(1100));
    EXPECT_EQ(0u, wsGetFirstObject(ws));
    wsSetCurrentObject(ws, 0);
    obFreeTree(a);
    obFreeTree(b);
}

TEST_F(Dispatch, PageCommandsSwitchPages)
{
    pgDirAppend(form, pgtest::newPage("two"));
    pgDirAppend(form, pgtest::newPage("three"));
    EXPECT_EQ(0, send(619, 2));
    EXPECT_EQ(2, pvGetCurrentPageIndex(ws));
    EXPECT_EQ(0, send(618));
    EXPECT_EQ(4, pvGetPageCount(ws)) << "Next/New Page on the last page appends one";
    EXPECT_EQ(3, pvGetCurrentPageIndex(ws));
    EXPECT_EQ(0, send(617));
    EXPECT_EQ(2, pvGetCurrentPageIndex(ws));
    EXPECT_EQ(0, send(684));
    EXPECT_EQ(0, pvGetCurrentPageIndex(ws));
    EXPECT_EQ(0, send(685));
    EXPECT_EQ(3, pvGetCurrentPageIndex(ws));
}

// The View menu's presets zoom the view; a preset equal to the present zoom
// leaves it; the fits take the page's size.
TEST_F(Dispatch, ZoomPresetsZoomTheView)
{
    const int32_t start = wsGetZoomPercent(ws);
    const int other = start == 400 ? 182 : 181, percent = start == 400 ? 200 : 400;
    EXPECT_EQ(0, send(other));
    EXPECT_EQ(percent, wsGetZoomPercent(ws));
    EXPECT_EQ(0, send(other));
    EXPECT_EQ(percent, wsGetZoomPercent(ws));
    EXPECT_EQ(0, send(2250));
    EXPECT_EQ(125, wsGetZoomPercent(ws));
    EXPECT_EQ(0, send(189));
    EXPECT_EQ(WS_ZOOM_FIT_PAGE, wsGetZoomCode(ws));
    EXPECT_GT(wsGetZoomPercent(ws), 0);
}

// Commands whose dialog or mode is not in the program yet are taken (their
// menu items are greyed) and change nothing; the others are not waiting.
TEST_F(Dispatch, WaitingCommandsAreTakenAndDoNothing)
{
    struct Case {
        int id;
        bool waits;
    } cases[] = {{404, false}, {212, false}, {190, true}, {501, true}, {880, true},
                 {606, true}, {656, true}, {981, true}, {460, true}, {2210, true},
                 {205, false}, {1161, false}, {181, false}, {1251, false}, {100, false},
                 {420, false}, {616, false}, {611, false}};
    for (const Case &c : cases)
        EXPECT_EQ(c.waits, appCommandWaits(c.id) != FALSE) << c.id;
    BoxRecorder boxes;
    MemHandle form = wsGetDocument(ws);
    for (int id : {190, 501, 505, 880, 595, 879, 514})
        EXPECT_EQ(0, send(id)) << id;
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(form, wsGetDocument(ws));
    EXPECT_FALSE(wsIsModified(ws));
}

// Page > Go To Page asks for the page's number; one that does not exist
// is refused by the dialog, which names the range and stays open.
TEST_F(Dispatch, GoToPageAsksForTheNumber)
{
    pgDirAppend(form, pgtest::newPage("two"));
    pgDirAppend(form, pgtest::newPage("three"));
    {
        qmtest::DialogDriver driver({[](HWND d) {
            EXPECT_EQ("Go To Page", qmtest::windowText(d));
            qmtest::typeInto(d, 100, "3");
            qmtest::pressButton(d, 999);
        }});
        EXPECT_EQ(0, send(1251));
    }
    EXPECT_EQ(2, pvGetCurrentPageIndex(ws));
    BoxRecorder boxes;
    {
        qmtest::DialogDriver driver({
            [](HWND d) {
                qmtest::typeInto(d, 100, "9");
                qmtest::pressButton(d, 999);
            },
            [](HWND d) { qmtest::pressButton(d, 998); },
        });
        EXPECT_EQ(0, send(1251));
        EXPECT_EQ(2u, driver.ran()) << "still open after the refusal";
    }
    EXPECT_EQ(2, pvGetCurrentPageIndex(ws));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("The value must be from 1 to 3", boxes.last().text);
}

TEST_F(Dispatch, NudgeKeysOutsideSelectModeMoveNothing)
{
    MemHandle a = pgtest::addObject(pvGetCurrentPage(ws), "a", 100, 100, 200, 200);
    wsSetCurrentObject(ws, a);
    wsSetToolModeWord(ws, TM_CREATE);
    for (int id : {760, 761, 762, 763, 751, 830, 771}) {
        EXPECT_EQ(0, send(id)) << id;
        RECT r;
        obGetRect(a, &r);
        EXPECT_EQ(100, r.left);
        EXPECT_EQ(100, r.top);
    }
    wsSetToolModeWord(ws, TM_NONE);
    wsSetCurrentObject(ws, 0);
}

}  // namespace
