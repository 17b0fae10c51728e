// Which list shows the pressed drawing tool, and the bar buttons other
// modules switch by command.
#include "tests/app/app_fixture.h"
#include "tests/support/kit_dialog.h"
#include "app/app_frame_bars.h"
#include "app/app_toolbars.h"
#include "commands/app_stdbar.h"
#include "controls/btnlist.h"
#include "views/ws_tools.h"
#include "controls/tb_table.h"
#include "model/qmf_save.h"
#include "tests/model/pg_kit.h"
#include "model/ws_document.h"

namespace {

class ToolBars : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
    }
    void TearDown() override
    {
        App::TearDown();
        dwResetModule();
    }
    void choose(int command, int type)
    {
        SendMessageA(frame, WM_COMMAND, (WPARAM)command, (LPARAM)type);
        pump();
    }
};

TEST_F(ToolBars, OnlyOneListShowsAPressedTool)
{
    HWND draw = appGetDrawToolBar();
    HWND more = appOpenMoreObjects(frame, nullptr);
    ASSERT_TRUE(draw && more);
    choose(306, 7);
    EXPECT_EQ(blFindButton(draw, 306), blGetPressed(draw));
    EXPECT_EQ(-1, blGetPressed(more));

    {
        // Star, in More Objects: its dialog (points and depth) answered OK.
        qmtest::DialogDriver driver({[](HWND d) { qmtest::pressButton(d, IDOK); }});
        choose(329, 24);
    }
    EXPECT_EQ(-1, blGetPressed(draw)) << "the drawing bar's Rectangle is released";
    EXPECT_EQ(blFindButton(more, 329), blGetPressed(more));

    choose(306, 7);
    EXPECT_EQ(-1, blGetPressed(more)) << "the palette's Star is released";
    EXPECT_EQ(blFindButton(draw, 306), blGetPressed(draw));

    // The rule by type alone: the palette's types and the listed others
    // release the drawing bar, every other type the palette.
    for (int16_t type : {24, 13, 402, 491, 0, 400, 481})
        EXPECT_TRUE(appIsMoreObjectsType(type)) << type;
    for (int16_t type : {7, 2, 40, 60, 84})
        EXPECT_FALSE(appIsMoreObjectsType(type)) << type;
    blSelectButton(more, 329);
    appReleaseToolButton(frame, 7);
    EXPECT_EQ(-1, blGetPressed(more));
    blSelectButton(draw, 306);
    appReleaseToolButton(frame, 25);
    EXPECT_EQ(-1, blGetPressed(draw));
    SendMessageA(ws, WM_COMMAND, 400, 0);
    pump();
}

TEST_F(ToolBars, ButtonsSwitchedByCommand)
{
    appSetClipboardButtons(FALSE, TRUE, FALSE);
    EXPECT_FALSE(appIsStdBarButtonEnabled(201));
    EXPECT_TRUE(appIsStdBarButtonEnabled(202));
    EXPECT_FALSE(appIsStdBarButtonEnabled(203));
    appSetCutCopyButtons(TRUE, FALSE);
    EXPECT_TRUE(appIsStdBarButtonEnabled(201));
    EXPECT_FALSE(appIsStdBarButtonEnabled(202));
    EXPECT_FALSE(appIsStdBarButtonEnabled(203)) << "Paste is left alone";
    appSetCornerButtons(FALSE);
    EXPECT_FALSE(appIsStdBarButtonEnabled(439));
    EXPECT_FALSE(appIsStdBarButtonEnabled(2100));
    appSetCornerButtons(TRUE);
    EXPECT_TRUE(appIsStdBarButtonEnabled(439));
    EXPECT_TRUE(appIsStdBarButtonEnabled(2100));

    HWND draw = appGetDrawToolBar();
    ToolButton entry;
    appSetDrawBarButton(309, FALSE);
    ASSERT_TRUE(blGetButton(draw, blFindButton(draw, 309), &entry));
    EXPECT_EQ(0, entry.enabled);
    appSetDrawBarButton(309, TRUE);
    ASSERT_TRUE(blGetButton(draw, blFindButton(draw, 309), &entry));
    EXPECT_EQ(1, entry.enabled);

    // Without the bars nothing happens.
    HWND standard = appGetBarWindow(frame, FB_STANDARD);
    appSetBarWindow(frame, FB_STANDARD, nullptr);
    appSetClipboardButtons(TRUE, TRUE, TRUE);
    appSetCornerButtons(FALSE);
    EXPECT_FALSE(appIsStdBarButtonEnabled(201));
    appSetBarWindow(frame, FB_STANDARD, standard);
    EXPECT_TRUE(appIsStdBarButtonEnabled(439));
}

// After New and Open the standard bar's Previous (617), Next (618) and
// Select Page (616) follow the page the new document shows. Select Page is
// on the short bar of screens narrower than 800 pixels, which then stands
// in for the frame's own bar.
TEST_F(ToolBars, PageButtonsFollowNewAndOpen)
{
    MemHandle form = wsGetDocument(ws);
    pgDirAppend(form, pgtest::newPage("two"));
    pgDirAppend(form, pgtest::newPage("three"));
    std::string paths[2] = {home.file("three.qm"), home.file("three again.qm")};
    for (const std::string &path : paths)
        ASSERT_EQ(1, qmfSaveDocument(ws, path.c_str(), form, FALSE, FALSE));
    touchActiveDocument();
    auto run = [&](int command, const std::string *path) {
        for (int id : {616, 617, 618})
            appSetStdBarButton((uint16_t)id, command == 100);
        const int before = docCount();
        SendMessageA(frame, WM_COMMAND, (WPARAM)command, path ? (LPARAM)path->c_str() : 0);
        pump();
        EXPECT_EQ(before + 1, docCount());
        touchActiveDocument();
    };
    // A one-page new document: no page to step to.
    run(100, nullptr);
    EXPECT_FALSE(appIsStdBarButtonEnabled(617));
    EXPECT_FALSE(appIsStdBarButtonEnabled(618));
    // The three-page document opens on its first page.
    run(136, &paths[0]);
    EXPECT_FALSE(appIsStdBarButtonEnabled(617)) << "on the first page";
    EXPECT_TRUE(appIsStdBarButtonEnabled(618));

    int16_t shortCount = 0;
    const ToolButton *shortTable = tbCommandTableFor(640, &shortCount);
    ASSERT_EQ(12, shortCount);
    HWND standard = appGetBarWindow(frame, FB_STANDARD);
    RECT r;
    appGetBarRect(frame, FB_STANDARD, &r);
    HWND narrow = blCreate(frame, appGetFrameFont(), FB_STANDARD, &r, 0xC001, shortTable,
                           shortCount, FRAME_BAR_BUTTON, FRAME_BAR_BUTTON, TRUE);
    ASSERT_NE(nullptr, narrow);
    appSetBarWindow(frame, FB_STANDARD, narrow);
    run(100, nullptr);
    EXPECT_FALSE(appIsStdBarButtonEnabled(616)) << "one page";
    run(136, &paths[1]);
    EXPECT_TRUE(appIsStdBarButtonEnabled(616)) << "three pages";
    appSetBarWindow(frame, FB_STANDARD, standard);
    DestroyWindow(narrow);
}

}  // namespace
