// The frame's menu bar through failed opens, language switches and the
// report-menu switch that follows every document attached.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "app/app_menu_state.h"
#include "model/qmf_save.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include <string>
#include <vector>

namespace {

class MenuBar : public apptest::App {
protected:
    void TearDown() override
    {
        App::TearDown();
        dwResetModule();
    }
    // A document of two pages saved by the program's writer.
    std::string twoPages(const char *name)
    {
        HWND doc = appGetActiveDocWindow(frame);
        HWND ws = dwGetWorkspace(doc);
        MemHandle form = wsGetDocument(ws);
        pgDirAppend(form, pgtest::newPage("two"));
        std::string path = home.file(name);
        EXPECT_EQ(1, qmfSaveDocument(ws, path.c_str(), form, FALSE, FALSE));
        return path;
    }
};

// The menu bar a user sees: a live menu with the File pop-up (a maximised
// document window puts its system menu in front of it).
bool hasMenuBar(HWND frame)
{
    HMENU bar = GetMenu(frame);
    if (!bar || !IsMenu(bar))
        return false;
    for (int i = 0; i < GetMenuItemCount(bar); ++i)
        if (HMENU sub = GetSubMenu(bar, i))
            if (GetMenuItemID(sub, 0) == 100)
                return true;
    return false;
}

// A fresh start, a damaged document, English chosen again, a good two-page
// document, another damaged one: the language switch destroyed the menu
// that the report switch (883, after every document attached) had
// remembered, and the next document put that dead menu back and destroyed
// the live one.
TEST_F(MenuBar, SurvivesFailedOpensAndLanguageSwitches)
{
    writeSettings(false);
    ASSERT_TRUE(start());
    ASSERT_TRUE(hasMenuBar(frame));
    std::string good = twoPages("good.qm");
    wsClearModified(dwGetWorkspace(appGetActiveDocWindow(frame)));
    const std::vector<uint8_t> bytes = qmtest::readFile(good);
    ASSERT_GT(bytes.size(), 100u);
    std::string bad = home.file("bad.qm");
    ASSERT_TRUE(qmtest::writeFile(bad, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 100)));
    HWND first = appGetActiveDocWindow(frame);

    struct Step {
        const char *what;
        int command;
        const std::string *path;
        int docs;
        bool failed;
    } steps[] = {
        {"damaged", 136, &bad, 1, true},
        {"English", 1919, nullptr, 1, false},
        {"good", 136, &good, 1, false},
        {"damaged again", 136, &bad, 1, true},
        {"Korean", 1924, nullptr, 1, false},
        {"new", 100, nullptr, 2, false},
        {"damaged a third time", 136, &bad, 2, true},
        {"English again", 1919, nullptr, 2, false},
        {"new again", 100, nullptr, 3, false},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        qmtest::BoxRecorder boxes;
        for (int i = 0; i < 4; ++i)
            boxes.answer(IDOK);
        SendMessageA(frame, WM_COMMAND, (WPARAM)step.command,
                     step.path ? (LPARAM)step.path->c_str() : 0);
        pump();
        EXPECT_TRUE(hasMenuBar(frame));
        EXPECT_EQ(step.docs, docCount());
        if (step.failed) {
            ASSERT_GE(boxes.count(), 1u);
            EXPECT_EQ("Read file failed.", boxes.last().text);
        } else {
            EXPECT_EQ(0u, boxes.count()) << boxes.texts();
        }
    }
    // The good document went into the untouched first window.
    EXPECT_TRUE(IsWindow(first));
    EXPECT_EQ(first, appFindDocWindowByFile(frame, good.c_str()));
    EXPECT_EQ(2, pvGetPageCount(dwGetWorkspace(first)));
}

}  // namespace
