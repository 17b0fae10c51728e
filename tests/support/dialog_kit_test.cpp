// The dialog harness: scripted modal dialogs built in memory, user actions
// with their notifications, a dialog left open, and modeless dialogs.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "support/win_dlgfield.h"
#include "support/win_list.h"
#include <gtest/gtest-spi.h>
#include <string>
#include <vector>

using qmtest::DialogDriver;
using qmtest::TestDialog;

namespace {

enum { EDIT = 100, COUNT = 101, COUNT_BAR = 102, LIST = 103, CHOSEN = 104, COMBO = 105 };

std::vector<qmtest::DialogControl> controls()
{
    return {
        {"EDIT", EDIT, ES_AUTOHSCROLL},
        {"EDIT", COUNT, ES_AUTOHSCROLL, "5"},
        {"SCROLLBAR", COUNT_BAR, SBS_VERT},
        {"LISTBOX", LIST, LBS_NOTIFY | WS_VSCROLL | WS_BORDER},
        {"STATIC", CHOSEN, 0, "-"},
        {"COMBOBOX", COMBO, CBS_DROPDOWNLIST | WS_VSCROLL},
        {"BUTTON", IDOK, BS_DEFPUSHBUTTON, "OK"},
    };
}

// The dialog procedure of the tests: fills the list, steps the count on its
// spin bar and shows the chosen list item.
bool handler(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        for (const char *s : {"red", "green", "blue"}) {
            SendDlgItemMessageA(dlg, LIST, LB_ADDSTRING, 0, (LPARAM)s);
            SendDlgItemMessageA(dlg, COMBO, CB_ADDSTRING, 0, (LPARAM)s);
        }
        return false;
    case WM_VSCROLL:
        return winSpinInt16(dlg, LOWORD(wParam), (HWND)lParam, COUNT_BAR, COUNT, 1, 1, 6);
    case WM_COMMAND:
        if (LOWORD(wParam) == LIST && HIWORD(wParam) == LBN_SELCHANGE) {
            winDlgListSelToText(dlg, LIST, CHOSEN);
            return true;
        }
        return false;
    default:
        return false;
    }
}

TEST(DialogKit, AScriptTypesPicksAndSpinsInOneModalDialog)
{
    TestDialog dlg("Script", controls());
    dlg.onMessage(handler);
    std::vector<std::string> items;
    std::string typed, chosen, count;
    INT_PTR result = dlg.runModal({
        [](HWND d) { qmtest::typeInto(d, EDIT, "2.5"); },
        [](HWND d) { qmtest::chooseItem(d, LIST, 1); },
        [](HWND d) { qmtest::pressSpin(d, COUNT_BAR, SB_LINEUP); },
        [](HWND d) { qmtest::pressSpin(d, COUNT_BAR, SB_LINEUP); },   // 7 wraps to 1
        [&](HWND d) {
            items = qmtest::readList(d, LIST);
            typed = qmtest::itemText(d, EDIT);
            chosen = qmtest::itemText(d, CHOSEN);
            count = qmtest::itemText(d, COUNT);
            qmtest::pressButton(d, IDOK);
        },
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ((std::vector<std::string>{"red", "green", "blue"}), items);
    EXPECT_EQ("2.5", typed);
    EXPECT_EQ("green", chosen);
    EXPECT_EQ("1", count);
    EXPECT_GE(dlg.count(WM_COMMAND, EDIT, EN_CHANGE), 1);
    EXPECT_EQ(1, dlg.count(WM_COMMAND, LIST, LBN_SELCHANGE));
    EXPECT_EQ(2, dlg.count(WM_VSCROLL, COUNT_BAR, SB_LINEUP));
    EXPECT_FALSE(dlg.isOpen());
}

TEST(DialogKit, ADialogLeftOpenAfterItsScriptFailsTheTest)
{
    TestDialog dlg("Left open", controls());
    ::testing::TestPartResultArray failures;
    INT_PTR result;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        result = dlg.runModal({[](HWND d) { qmtest::typeInto(d, EDIT, "x"); }});
    }
    ASSERT_EQ(1, failures.size());
    EXPECT_TRUE(failures.GetTestPartResult(0).nonfatally_failed());
    EXPECT_NE(std::string::npos, std::string(failures.GetTestPartResult(0).message())
                                     .find("a dialog is still open after its script"));
    EXPECT_EQ(0, result);   // ended by the driver
}

TEST(DialogKit, ModelessDialogsRunTheirStepsAtOnce)
{
    TestDialog modeless("Modeless", controls());
    modeless.onMessage(handler);
    ASSERT_TRUE(modeless.open() != nullptr);
    ShowWindow(modeless.hwnd(), SW_SHOW);   // visible and enabled, yet not the modal one
    modeless.run({
        [](HWND d) { qmtest::doubleClickItem(d, LIST, 2); },
        [](HWND d) { qmtest::chooseItemText(d, COMBO, "GREEN"); },
        [](HWND d) { qmtest::typeInto(d, EDIT, ""); },
    });
    EXPECT_EQ("blue", qmtest::itemText(modeless.hwnd(), CHOSEN));
    EXPECT_EQ(1, modeless.count(WM_COMMAND, LIST, LBN_DBLCLK));
    EXPECT_EQ(1, modeless.count(WM_COMMAND, COMBO, CBN_SELCHANGE));
    EXPECT_EQ(std::vector<int>{1}, qmtest::selectedItems(modeless.hwnd(), COMBO));

    // A modal dialog opened meanwhile gets the driver's steps.
    TestDialog modal("Modal", controls());
    std::string caption;
    EXPECT_EQ(IDCANCEL, modal.runModal({[&](HWND d) {
        caption = qmtest::windowText(d);
        qmtest::sendCommand(d, IDCANCEL);
    }}));
    EXPECT_EQ("Modal", caption);
    EXPECT_TRUE(modeless.isOpen());

    modeless.run({[](HWND d) { qmtest::sendCommand(d, IDOK); }});
    EXPECT_FALSE(modeless.isOpen());
    EXPECT_EQ(IDOK, modeless.result());
}

}  // namespace
