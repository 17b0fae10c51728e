// The page dialogs on a running workspace: ruler input checks, page names,
// page numbers, deleting and reordering pages, and the base page commands.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "tests/support/kit_dialog.h"
#include "model/fm_form.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_numbers.h"
#include "model/pg_page.h"
#include "model/qmf_pages.h"
#include "support/ut_mem.h"
#include "views/bp_base.h"
#include "views/pg_dialogs.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;
using qmtest::DialogDriver;

class PageDialogs : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    MemHandle form = 0;

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
    }
    void useDocument(const std::vector<std::string> &names, int index = 0)
    {
        form = pgtest::docWithPages(names);
        pvReleaseDocument(ws);
        pvSetDocument(ws, form, index);
    }
    int current() { return pvGetCurrentPageIndex(ws); }
    // The page names in order, read wherever the pages are held.
    std::string names()
    {
        MemHandle list = pgGetNameList(ws);
        std::string text;
        {
            MemLock<char> p(list);
            if (p)
                text.assign(p.get(), strnlen(p.get(), utHandleSize(list)));
        }
        utFreeHandle(list);
        for (char &c : text)
            if (c == '\x1b')
                c = '|';
        if (!text.empty() && text.back() == '|')
            text.pop_back();
        return text;
    }
};

// ---- ruler ------------------------------------------------------------------------------------

TEST_F(PageDialogs, RulerRefusesZeroAndLettersAndTakesAHundred)
{
    struct Case {
        const char *typed;
        const char *message;   // null: accepted
    } cases[] = {{"0", "Frquency must be greater than 0"},
                 {"ab", "Incorrect input.  Please re-enter"},
                 {"100", nullptr}};
    for (const Case &c : cases) {
        BoxRecorder boxes;
        bool open = false;
        DialogDriver driver({[&](HWND dlg) {
            qmtest::typeInto(dlg, 1200, c.typed);
            qmtest::sendCommand(dlg, IDOK);
            open = IsWindow(dlg) && IsWindowVisible(dlg);
            if (open)
                qmtest::sendCommand(dlg, IDCANCEL);
        }});
        int divisions = 8, grid = 0;
        BOOL rulers = TRUE;
        const int r = pgRulerDialog(nullptr, &divisions, &rulers, &grid);
        if (c.message) {
            EXPECT_EQ(0, r) << c.typed;
            ASSERT_EQ(1u, boxes.count()) << c.typed;
            EXPECT_EQ(c.message, boxes.last().text);
            EXPECT_EQ("Error", boxes.last().caption);
            EXPECT_EQ(8, divisions);
        } else {
            EXPECT_EQ(1, r);
            EXPECT_EQ(0u, boxes.count()) << boxes.texts();
            EXPECT_EQ(100, divisions);
        }
    }
}

// ---- page names -------------------------------------------------------------------------------

TEST(PageNames, DuplicatesAreFoundByTheBareNameAndCaseOnlyIsNoChange)
{
    const std::vector<std::string> items = {"1. Front", "2. Back", "3. "};
    struct Case {
        const char *name, *old;
        bool changed, taken;
    } cases[] = {
        {"back", "Front", true, true},     // another page's name, any case
        {"FRONT", "Front", false, false},  // the page's own name in other case
        {"Side", "Front", true, false},
        {"Front", "", true, false},        // the page itself (current item) is skipped
        {"2. Back", "Front", true, false}, // the list's prefix is not part of a name
        {"", "Front", true, false},        // clearing the name
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.changed, pgNameIsChanged(c.name, c.old) != FALSE) << c.name;
        EXPECT_EQ(c.taken, pgNameIsTaken(c.name, c.old, items, 0) != FALSE) << c.name;
    }
}

TEST_F(PageDialogs, NameDialogRefusesAnotherPagesNameAndKeepsItOpen)
{
    useDocument({"Front", "Back"});
    BoxRecorder boxes;
    std::vector<std::string> listed;
    DialogDriver driver({[&](HWND dlg) {
        listed = qmtest::readList(dlg, 102);
        qmtest::typeInto(dlg, 101, "BACK");
        qmtest::sendCommand(dlg, IDOK);
        qmtest::typeInto(dlg, 101, "  Cover  ");
        qmtest::sendCommand(dlg, IDOK);
    }});
    MemHandle name = utHandleFromString("Front");
    ASSERT_EQ(1, pgNameDialog(ws, &name));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("The entered name has been used by another page, please revise", boxes.last().text);
    EXPECT_EQ(std::vector<std::string>({"1. Front", "2. Back"}), listed);
    MemLock<char> p(name);
    EXPECT_STREQ("Cover", p.get());
}

// ---- page numbers -----------------------------------------------------------------------------

TEST_F(PageDialogs, PageNumbersStartDisabledAndAreAddedOnlyWhenEnabled)
{
    useDocument({"a", "b"});
    for (bool enable : {false, true}) {
        bool checkVisible = false, locationEnabled = true;
        DialogDriver driver({[&](HWND dlg) {
            checkVisible = IsWindowVisible(GetDlgItem(dlg, 99)) != FALSE;
            locationEnabled = IsWindowEnabled(GetDlgItem(dlg, 100)) != FALSE;
            if (enable)
                qmtest::pressButton(dlg, 99);
            qmtest::sendCommand(dlg, IDOK);
        }});
        EXPECT_EQ(1, pgCmdPageNumbers(ws));
        EXPECT_TRUE(checkVisible);
        EXPECT_FALSE(locationEnabled);
        PageNumberSettings s;
        EXPECT_EQ(enable, fmHasNumberSettings(wsGetDocument(ws)) != FALSE) << enable;
        EXPECT_EQ(enable, pgGetNumberSettings(wsGetDocument(ws), &s) != 0);
    }
}

// ---- deleting and reordering ------------------------------------------------------------------

TEST_F(PageDialogs, ChoosingEveryPageIsRefusedAndCanBeChosenAgain)
{
    useDocument({"a", "b", "c"});
    BoxRecorder boxes;
    boxes.answer(IDYES);   // choose again
    boxes.answer(IDOK);    // confirm
    DialogDriver driver({[](HWND dlg) {
                             for (int i = 0; i < 3; ++i)
                                 qmtest::chooseItem(dlg, 102, i);
                             qmtest::sendCommand(dlg, IDOK);
                         },
                         [](HWND dlg) {
                             SendDlgItemMessageA(dlg, 102, LB_SETSEL, FALSE, 0);
                             qmtest::sendCommand(dlg, IDOK);
                         }});
    EXPECT_EQ(1, pgDeletePagesDlg(ws));
    ASSERT_EQ(2u, boxes.count()) << boxes.texts();
    EXPECT_EQ("You have selected to delete all the pages, which is not allowed.You must leave at "
              "least one page in file.  Want to reselect pages to delete?",
              boxes.boxes()[0].text);
    EXPECT_EQ("1. a", names());
    EXPECT_EQ(0, current());
}

TEST_F(PageDialogs, DeletingTheCurrentOfTwoPagesLeavesTheOtherCurrent)
{
    useDocument({"a", "b"}, 1);
    EXPECT_EQ(1, pgDeletePages(ws, {1}));
    EXPECT_EQ(0, current());
    EXPECT_EQ(1, fmGetPageCount(wsGetDocument(ws)));
    EXPECT_EQ("1. a", names());
    EXPECT_EQ(0, pgDeletePages(ws, {0}));   // never the last page
}

TEST_F(PageDialogs, ReorderTakesOnlyPermutationsOrSubsets)
{
    useDocument({"a", "b", "c"});
    const std::vector<std::vector<int>> refused = {{0, 0, 1}, {0, 3}, {-1, 1}, {}};
    for (const auto &order : refused)
        EXPECT_EQ(0, pgReorderPages(ws, order));
    EXPECT_EQ("1. a|2. b|3. c", names());
    EXPECT_EQ(1, pgReorderPages(ws, {2, 0, 1}));
    EXPECT_EQ("1. c|2. a|3. b", names());
    EXPECT_EQ(1, current());   // "a" stays the page shown
    EXPECT_EQ(1, pgReorderPages(ws, {2, 0}));
    EXPECT_EQ("1. b|2. c", names());
    EXPECT_EQ(0, current());   // "a" dropped: the nearest listed page above it, "b"
}

// ---- base page --------------------------------------------------------------------------------

TEST_F(PageDialogs, BasePageIsMadeShownAndLeftAgain)
{
    useDocument({"a", "b"}, 1);
    wsClearModified(ws);
    EXPECT_EQ(1, bpOnCommand(ws, 1199, nullptr));   // nothing remembered: nothing
    EXPECT_EQ(1, current());
    bpOnCommand(ws, 1192, nullptr);                  // every page shows it already
    EXPECT_FALSE(wsIsModified(ws));
    bpOnCommand(ws, 594, nullptr);
    EXPECT_EQ(-1, current());
    EXPECT_NE(0u, fmGetBasePage(wsGetDocument(ws)));
    bpOnCommand(ws, 1199, nullptr);
    EXPECT_EQ(1, current());
    bpOnCommand(ws, 1195, nullptr);
    EXPECT_FALSE(pgShowsBasePage(pvGetCurrentPage(ws)));
    bpOnCommand(ws, 1192, nullptr);
    EXPECT_TRUE(pgShowsBasePage(pvGetCurrentPage(ws)));
    bpOnCommand(ws, 594, nullptr);
    BoxRecorder boxes;
    bpOnCommand(ws, 1198, nullptr);   // shown: back to page 2 first
    EXPECT_EQ(1, current());
    EXPECT_EQ(0u, fmGetBasePage(wsGetDocument(ws)));
    EXPECT_EQ("Are you sure that you want to remove the base page?", boxes.last().text);
}

}  // namespace
