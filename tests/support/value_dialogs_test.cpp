// The value, grid, choice and shuffle dialogs driven through the dialog kit.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "support/dlg_choice.h"
#include "support/dlg_grid.h"
#include "support/dlg_shuffle.h"
#include "support/dlg_value.h"
#include "support/ut_mem.h"
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;
using qmtest::DialogDriver;
using qmtest::itemText;
using qmtest::pressButton;
using qmtest::pressSpin;
using qmtest::typeInto;

// ---- value ---------------------------------------------------------------------------

TEST(ValueDialog, ATypedValueOutsideTheRangeIsRefusedWithItsRange)
{
    BoxRecorder boxes;
    const int32_t step = 1, lo = 1, hi = 50;
    int32_t value = 7;
    std::string shown;
    bool stillOpen = false;
    DialogDriver driver({
        [&](HWND d) {
            shown = itemText(d, 100);
            typeInto(d, 100, "51");
            pressButton(d, 999);
        },
        [&](HWND d) {
            stillOpen = true;
            typeInto(d, 100, "0");
            pressButton(d, 999);
        },
        [](HWND d) {
            typeInto(d, 100, "50");
            pressButton(d, 999);
        },
    });
    EXPECT_EQ(1, dlgEnterValueEx(nullptr, "Update", "Count", DLG_VALUE_INT32, &step, &lo, &hi,
                                 &value));
    EXPECT_EQ("7", shown);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(50, value);
    ASSERT_EQ(2u, boxes.count()) << boxes.texts();
    EXPECT_EQ("The value must be from 1 to 50", boxes.boxes()[0].text);
    EXPECT_EQ("The value must be from 1 to 50", boxes.boxes()[1].text);
}

TEST(ValueDialog, SixteenBitValuesAreTestedBeforeTheyAreNarrowed)
{
    BoxRecorder boxes;
    const int16_t step = 1, lo = -10, hi = 100;
    int16_t value = 5;
    DialogDriver driver({
        [](HWND d) {
            typeInto(d, 100, "65541");   // 5 once cut to 16 bits
            pressButton(d, 999);
        },
        [](HWND d) { pressButton(d, 998); },
    });
    EXPECT_EQ(0, dlgEnterValue(nullptr, nullptr, "n", DLG_VALUE_INT16, &step, &lo, &hi, &value));
    EXPECT_EQ(1u, boxes.count());
    EXPECT_EQ("The value must be from -10 to 100", boxes.last().text);
    EXPECT_EQ(5, value) << "Cancel changes nothing";
}

TEST(ValueDialog, SpinWrapsAndDoublesKeepTheirFormat)
{
    BoxRecorder boxes;
    const double step = 0.5, lo = 0.0, hi = 2.0;
    double value = 2.0;
    BOOL asDefault = FALSE;
    std::vector<std::string> seen;
    DialogDriver driver({
        [&](HWND d) {
            seen.push_back(itemText(d, 100));
            pressSpin(d, 101, SB_LINEUP);     // above the maximum: the minimum
            seen.push_back(itemText(d, 100));
            pressSpin(d, 101, SB_LINEDOWN);   // below the minimum: the maximum
            seen.push_back(itemText(d, 100));
            pressSpin(d, 101, SB_LINEDOWN);
            seen.push_back(itemText(d, 100));
            seen.push_back(qmtest::windowText(d));
            CheckDlgButton(d, 102, BST_CHECKED);
            typeInto(d, 100, "abc");
            pressButton(d, 999);   // not a number: open, no message
        },
        [](HWND d) {
            typeInto(d, 100, "1.5");
            pressButton(d, 999);
        },
    });
    EXPECT_EQ(1, dlgEnterValueEx(nullptr, nullptr, "Width", DLG_VALUE_DOUBLE, &step, &lo, &hi,
                                 &value, 6, 3, &asDefault));
    EXPECT_EQ(std::vector<std::string>({"2.000", "0.000", "2.000", "1.500", "Update Value"}),
              seen);
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ(1.5, value);
    EXPECT_TRUE(asDefault) << "\"valuex\" with its check box";
}

TEST(ValueDialog, SixteenBitSpinWrapsAtItsMaximum)
{
    const int16_t step = 1, lo = 1, hi = 10;
    int16_t value = 10;
    DialogDriver driver({
        [](HWND d) {
            EXPECT_FALSE(GetDlgItem(d, 102)) << "\"value\" has no check box";
            pressSpin(d, 101, SB_LINEUP);
            pressButton(d, 999);
        },
    });
    EXPECT_EQ(1, dlgEnterValue(nullptr, "V", "n", DLG_VALUE_INT16, &step, &lo, &hi, &value));
    EXPECT_EQ(1, value);
}

// ---- grid ----------------------------------------------------------------------------

struct GridCase {
    const char *columns, *rows;
    const char *message;   // null: accepted
};

TEST(GridDialog, EachRefusalKeepsTheDialogOpen)
{
    const GridCase cases[] = {
        {"0", "4", "Number of columnes must be greater than 0"},
        {"-2", "4", "Must be an integer"},
        {"x", "4", "Must be an integer"},
        {"3", "0", "Number of rows must be greater than 0"},
        {"3", "1.5", "Must be an integer"},
        {"70000", "4", "The number of columns must not be more than 128"},
        {"3", "129", "The number of rows must not be more than 128"},
        {"99999999999", "4", "Must be an integer"},
    };
    for (const GridCase &c : cases) {
        BoxRecorder boxes;
        int16_t columns = 2, rows = 2;
        int focused = 0;
        DialogDriver driver({
            [&](HWND d) {
                typeInto(d, 120, c.columns);
                typeInto(d, 140, c.rows);
                pressButton(d, IDOK);
            },
            [&](HWND d) {
                focused = GetDlgCtrlID(GetFocus());
                pressButton(d, IDCANCEL);
            },
        });
        EXPECT_EQ(0, dlgColRow(nullptr, "", 128, &columns, 128, &rows)) << c.columns;
        ASSERT_EQ(1u, boxes.count()) << c.columns << " " << c.rows;
        EXPECT_EQ(c.message, boxes.last().text);
        const bool columnField = std::string(c.message).find("row") == std::string::npos &&
                                 std::string(c.columns) != "3";
        EXPECT_EQ(columnField ? 120 : 140, focused) << c.columns << " " << c.rows;
        EXPECT_EQ(2, columns);
        EXPECT_EQ(2, rows);
    }
}

TEST(GridDialog, CountsComeBackAndSpinWithinTheMaxima)
{
    int16_t columns = 1, rows = 8;
    std::string caption;
    std::vector<std::string> seen;
    DialogDriver driver({[&](HWND d) {
        caption = qmtest::windowText(d);
        seen = {itemText(d, 120), itemText(d, 140)};
        pressSpin(d, 121, SB_LINEDOWN);   // 1 - 1 wraps to the maximum
        pressSpin(d, 141, SB_LINEUP);     // 8 + 1 wraps to 1
        seen.push_back(itemText(d, 120));
        seen.push_back(itemText(d, 140));
        typeInto(d, 120, "3");
        typeInto(d, 140, " 4 ");
        pressButton(d, IDOK);
    }});
    EXPECT_EQ(1, dlgColRow(nullptr, "Change Grid", 8, &columns, 8, &rows));
    EXPECT_EQ("Change Grid", caption);
    EXPECT_EQ(std::vector<std::string>({"1", "8", "8", "1"}), seen);
    EXPECT_EQ(3, columns);
    EXPECT_EQ(4, rows);

    // No caption given: the template's own.
    DialogDriver plain({[&](HWND d) {
        caption = qmtest::windowText(d);
        pressButton(d, IDCANCEL);
    }});
    EXPECT_EQ(0, dlgColRow(nullptr, nullptr, 8, &columns, 8, &rows));
    EXPECT_EQ("Grid", caption);
}

TEST(GridDialog, ThirtyTwoBitCountsAboveSixteenBits)
{
    BoxRecorder boxes;
    int32_t columns = 40000, rows = 2;
    std::string shown;
    DialogDriver driver({
        [&](HWND d) {
            shown = itemText(d, 120);
            typeInto(d, 120, "100001");
            typeInto(d, 140, "70000");
            pressButton(d, IDOK);
        },
        [](HWND d) {
            typeInto(d, 120, "100000");
            pressButton(d, IDOK);
        },
    });
    EXPECT_EQ(1, dlgColRow32(nullptr, "", 100000, &columns, 70000, &rows));
    EXPECT_EQ("40000", shown);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("The number of columns must not be more than 100000", boxes.last().text);
    EXPECT_EQ(100000, columns);
    EXPECT_EQ(70000, rows);
}

// ---- choice --------------------------------------------------------------------------

TEST(ChoiceDialog, ButtonsBeyondTheCountAreHidden)
{
    const char *texts[] = {"First", "Second", "Third"};
    const uint16_t values[] = {10, 20, 30};
    for (int count : {2, 3}) {
        std::vector<bool> visible;
        std::string prompt, second;
        DialogDriver driver({[&](HWND d) {
            for (int id = 100; id <= 103; ++id)
                visible.push_back(IsWindowVisible(GetDlgItem(d, id)) != FALSE);
            prompt = itemText(d, 99);
            second = itemText(d, 101);
            EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(d, 100));
            pressButton(d, 101);
            pressButton(d, IDOK);
        }});
        EXPECT_EQ(20, dlgChoice(nullptr, "Pick one", texts, values, count));
        const std::vector<bool> expected = {true, true, count > 2, false};
        EXPECT_EQ(expected, visible) << count;
        EXPECT_EQ("Pick one", prompt);
        EXPECT_EQ("Second", second);
    }
    DialogDriver cancel({[](HWND d) { pressButton(d, IDCANCEL); }});
    EXPECT_EQ(0, dlgChoice(nullptr, "Pick", texts, values, 3));
}

// ---- shuffle -------------------------------------------------------------------------

MemHandle items(const char *text) { return utHandleFromString(text); }

std::string textOf(MemHandle h)
{
    MemLock<char> p(h);
    return p ? p.get() : "";
}

bool enabled(HWND d, int id) { return IsWindowEnabled(GetDlgItem(d, id)) != FALSE; }

// The enabled state of Move, Insert Before, Insert After, Move Up, Move
// Down and OK, as a string of 1 and 0.
std::string buttons(HWND d)
{
    std::string s;
    for (int id : {103, 102, 101, 104, 105, IDOK})
        s += enabled(d, id) ? '1' : '0';
    return s;
}

TEST(ShuffleDialog, MovingTheThirdItemToTheTop)
{
    MemHandle list = items("zero\r\none\r\ntwo\r\nthree\r\n");
    std::vector<std::string> states, shown;
    std::string held;
    DialogDriver driver({[&](HWND d) {
        shown = qmtest::readList(d, 100);
        states.push_back(buttons(d));   // item 0 selected
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, 110))) << "no reset list";
        qmtest::chooseItem(d, 100, 3);
        states.push_back(buttons(d));   // the last item
        qmtest::chooseItem(d, 100, 2);
        states.push_back(buttons(d));
        pressButton(d, 103);            // Move: "two" held
        held = itemText(d, 99);
        states.push_back(buttons(d));
        qmtest::chooseItem(d, 100, 0);
        pressButton(d, 102);            // Insert Before item 0
        states.push_back(buttons(d));
        pressButton(d, IDOK);
    }});
    EXPECT_EQ(1, dlgShuffleItems(nullptr, "Shuffle Pages", &list, '\n'));
    EXPECT_EQ(std::vector<std::string>({"zero", "one", "two", "three"}), shown);
    EXPECT_EQ("two", held);
    EXPECT_EQ(std::vector<std::string>({"100011", "100101", "100111", "011000", "100011"}),
              states);
    EXPECT_EQ("two\nzero\none\nthree\n", textOf(list));
    utFreeHandle(list);
}

TEST(ShuffleDialog, MoveUpDownTheLastItemAndCancel)
{
    MemHandle list = items("a,b,c,");
    std::vector<std::string> orders;
    int selectedAfterMove = -1;
    DialogDriver driver({[&](HWND d) {
        qmtest::chooseItem(d, 100, 1);
        pressButton(d, 104);   // Move Up: b a c
        orders.push_back(std::to_string(qmtest::selectedItems(d, 100)[0]));
        pressButton(d, 105);   // Move Down: a b c
        pressButton(d, 105);   // a c b
        auto l = qmtest::readList(d, 100);
        orders.push_back(l[0] + l[1] + l[2]);
        qmtest::chooseItem(d, 100, 2);
        pressButton(d, 103);   // the last item held: the one before is selected
        selectedAfterMove = qmtest::selectedItems(d, 100)[0];
        pressButton(d, IDOK);  // refused while held
        pressButton(d, IDCANCEL);
    }});
    EXPECT_EQ(0, dlgShuffleItems(nullptr, "", &list, ','));
    EXPECT_EQ(std::vector<std::string>({"0", "acb"}), orders);
    EXPECT_EQ(1, selectedAfterMove);
    EXPECT_EQ("a,b,c,", textOf(list)) << "Cancel leaves the items";
    utFreeHandle(list);
}

TEST(ShuffleDialog, ResetListAndMovingWithoutASelection)
{
    BoxRecorder boxes;
    MemHandle list = items("c;a;b;");
    MemHandle reset = items("a;b;c;d;");
    std::string resetText;
    DialogDriver driver({[&](HWND d) {
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, 110)));
        resetText = itemText(d, 110);
        pressButton(d, 110);
        SendDlgItemMessageA(d, 100, LB_SETCURSEL, (WPARAM)-1, 0);
        SendMessageA(d, WM_COMMAND, 103, 0);
        pressButton(d, IDOK);
    }});
    EXPECT_EQ(1, dlgShuffle(nullptr, "", &list, ';', reset, "&Reset"));
    EXPECT_EQ("&Reset", resetText);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Must select an item to move", boxes.last().text);
    EXPECT_EQ("a;b;c;d;", textOf(list)) << "grown to fit the longer list";
    utFreeHandle(list);
    utFreeHandle(reset);
}

}  // namespace
