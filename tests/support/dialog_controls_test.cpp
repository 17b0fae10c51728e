// Dialog fields, numbers, spins, list and combo boxes and code tables, on
// the real controls of one in-memory dialog.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/win_dlgfield.h"
#include "support/win_list.h"
#include <string.h>
#include <string>
#include <vector>

using qmtest::itemText;
using qmtest::readList;
using qmtest::selectedItems;

namespace {

enum {
    NUMBER = 200, NUMBER_BAR = 201,
    SINGLE = 400, MULTI = 401, HCOMBO = 402, REPLACE = 403, VCOMBO = 404,
    RADIO1 = 410, RADIO2 = 411, RADIO3 = 412,
};

typedef std::vector<std::string> Items;

std::string text(MemHandle h)
{
    if (!h)
        return "<none>";
    MemLock<char> p(h);
    return p.get();
}

// Takes a string handle's text and frees it.
std::string take(MemHandle h)
{
    std::string t = text(h);
    utFreeHandle(h);
    return t;
}

class DialogControls : public ::testing::Test {
protected:
    DialogControls()
        : dlg_("Fields",
               {
                   {"EDIT", NUMBER, ES_AUTOHSCROLL},
                   {"SCROLLBAR", NUMBER_BAR, SBS_VERT},
                   {"EDIT", WIN_MARGIN_TOP, ES_AUTOHSCROLL},
                   {"SCROLLBAR", WIN_MARGIN_TOP + 1, SBS_VERT},
                   {"EDIT", WIN_MARGIN_LEFT, ES_AUTOHSCROLL},
                   {"SCROLLBAR", WIN_MARGIN_LEFT + 1, SBS_VERT},
                   {"EDIT", WIN_MARGIN_RIGHT, ES_AUTOHSCROLL},
                   {"SCROLLBAR", WIN_MARGIN_RIGHT + 1, SBS_VERT},
                   {"EDIT", WIN_MARGIN_BOTTOM, ES_AUTOHSCROLL},
                   {"SCROLLBAR", WIN_MARGIN_BOTTOM + 1, SBS_VERT},
                   {"EDIT", WIN_MARGIN_ALL, ES_AUTOHSCROLL},
                   {"SCROLLBAR", WIN_MARGIN_ALL + 1, SBS_VERT},
                   {"LISTBOX", SINGLE, LBS_NOTIFY | WS_VSCROLL | WS_BORDER},
                   {"LISTBOX", MULTI, LBS_NOTIFY | LBS_MULTIPLESEL | WS_VSCROLL | WS_BORDER},
                   {"COMBOBOX", HCOMBO, CBS_DROPDOWNLIST | WS_VSCROLL},
                   {"EDIT", REPLACE, ES_AUTOHSCROLL},
                   {"COMBOBOX", VCOMBO, CBS_DROPDOWNLIST | WS_VSCROLL},
                   {"BUTTON", RADIO1, BS_AUTORADIOBUTTON, "one"},
                   {"BUTTON", RADIO2, BS_AUTORADIOBUTTON, "two"},
                   {"BUTTON", RADIO3, BS_AUTORADIOBUTTON, "three"},
               })
    {
    }
    void SetUp() override
    {
        before_ = utLiveHandleCount();
        d = dlg_.open();
        ASSERT_TRUE(d != nullptr);
    }
    void TearDown() override
    {
        dlg_.close();
        EXPECT_EQ(before_, utLiveHandleCount()) << "a handle leaked";
    }
    HWND item(int id) { return GetDlgItem(d, id); }
    void fill(int id, const Items &items)
    {
        for (const std::string &s : items)
            winListAddString(item(id), s.c_str());
    }
    qmtest::TestDialog dlg_;
    HWND d = nullptr;
    long before_ = 0;
};

// ---- fields ------------------------------------------------------------------------

TEST_F(DialogControls, DoubleFieldsReadByTheNumberTest)
{
    struct Case {
        const char *shown;
        BOOL ok;
        double value;
    } cases[] = {
        {" 2.5 ", TRUE, 2.5}, {"2 5", FALSE, 0}, {"", TRUE, 0},     {"   ", TRUE, 0},
        {"1.5e3", TRUE, 1500}, {"e3", FALSE, 0}, {"1e", FALSE, 0},  {"-.5", TRUE, -0.5},
        {"12.", TRUE, 12},     {"1.-5", FALSE, 0}, {"abc", FALSE, 0},
    };
    for (const Case &c : cases) {
        SetDlgItemTextA(d, NUMBER, c.shown);
        double value = 99;
        EXPECT_EQ(c.ok, winGetDlgDouble(d, NUMBER, &value)) << "\"" << c.shown << "\"";
        EXPECT_DOUBLE_EQ(c.ok ? c.value : 99, value) << "\"" << c.shown << "\"";
    }

    struct Shown {
        double value;
        int width, decimals;
        const char *expected;
    } shown[] = {{3.0, 6, 2, "3.00"}, {-1.5, 8, 3, "-1.500"}, {0.125, 1, 1, "0.1"},
                 {11.0, 6, 2, "11.00"}};
    for (const Shown &s : shown) {
        EXPECT_EQ(1, winSetDlgDouble(d, NUMBER, s.value, s.width, s.decimals));
        EXPECT_EQ(s.expected, itemText(d, NUMBER));
    }
    winSetDlgLong(d, NUMBER, -42);
    EXPECT_EQ("-42", itemText(d, NUMBER));
}

TEST_F(DialogControls, TextFieldsAndItems)
{
    // An empty field frees the handle passed in and gives 0.
    MemHandle h = utHandleFromString("old text");
    SetDlgItemTextA(d, REPLACE, "");
    EXPECT_EQ(0u, winGetDlgTextHandle(d, REPLACE, h));
    EXPECT_FALSE(utIsLiveHandle(h));

    SetDlgItemTextA(d, REPLACE, "a longer text than before");
    h = winGetDlgTextHandle(d, REPLACE, utHandleFromString("x"));
    EXPECT_EQ("a longer text than before", text(h));
    winSetDlgTextHandle(d, NUMBER, h);
    EXPECT_EQ("a longer text than before", itemText(d, NUMBER));
    utFreeHandle(h);
    winSetDlgTextHandle(d, NUMBER, 0);
    EXPECT_EQ("", itemText(d, NUMBER));
    EXPECT_EQ(0u, winGetDlgTextHandle(d, 9999, 0));   // no such item

    char buf[8];
    SetDlgItemTextA(d, NUMBER, "  ab c  ");
    EXPECT_EQ(4, winGetDlgTextTrim(d, NUMBER, buf, sizeof(buf)));
    EXPECT_STREQ("ab c", buf);
    SetDlgItemTextA(d, NUMBER, "");
    EXPECT_EQ(0, winGetDlgTextTrim(d, NUMBER, buf, sizeof(buf)));

    SetDlgItemTextA(d, NUMBER, "first line is long");
    winEditAppendText(d, NUMBER, "!");
    EXPECT_EQ("first line is long!", itemText(d, NUMBER));
    EXPECT_EQ(7, winEditGetLine(item(NUMBER), buf, sizeof(buf)));   // cut to the buffer
    EXPECT_STREQ("first l", buf);

    EXPECT_EQ(0, winDlgGetCheckedButton(d, RADIO1, RADIO3));
    CheckDlgButton(d, RADIO2, BST_CHECKED);
    EXPECT_EQ(RADIO2, winDlgGetCheckedButton(d, RADIO1, RADIO3));
    winEnableDlgItem(d, RADIO3, FALSE);
    EXPECT_FALSE(IsWindowEnabled(item(RADIO3)));
    winShowDlgItem(d, RADIO3, FALSE);
    EXPECT_FALSE(GetWindowLongA(item(RADIO3), GWL_STYLE) & WS_VISIBLE);
    winEnableDlgItem(d, 9999, TRUE);   // a missing item is no fault
    winFocusDlgItem(d, 9999);
}

// ---- spins ------------------------------------------------------------------------

TEST_F(DialogControls, SpinStepsWrapAtTheLimits)
{
    struct Case {
        const char *name;
        int kind;
        const char *start;
        int code;
        double step, min, max;
        const char *expected;
    } cases[] = {
        {"16-bit up past the maximum", WIN_SPIN_INT16, "10", SB_LINEUP, 1, 0, 10, "0"},
        {"16-bit down past the minimum", WIN_SPIN_INT16, "0", SB_LINEDOWN, 1, 0, 10, "10"},
        {"16-bit sum wraps in 16 bits", WIN_SPIN_INT16, "32767", SB_LINEUP, 1, -5, 32767, "32767"},
        {"16-bit page up", WIN_SPIN_INT16, "3", SB_PAGEUP, 2, 0, 10, "5"},
        {"other codes keep the value", WIN_SPIN_INT16, "5", SB_THUMBPOSITION, 1, 0, 10, "5"},
        {"32-bit page down", WIN_SPIN_INT32, "100000", SB_PAGEDOWN, 1000, 0, 200000, "99000"},
        {"32-bit up past the maximum", WIN_SPIN_INT32, "200000", SB_LINEUP, 1, -7, 200000, "-7"},
        {"unreadable integer", WIN_SPIN_INT32, "x", SB_LINEUP, 1, 0, 10, "x"},
        {"double down past the minimum", WIN_SPIN_DOUBLE, "0.05", SB_LINEDOWN, 0.1, 0, 11, "11.00"},
        {"double up", WIN_SPIN_DOUBLE, "1", SB_LINEUP, 0.25, 0, 11, "1.25"},
        {"float up", WIN_SPIN_FLOAT, "1.5", SB_LINEUP, 0.5, 0, 10, "2.00"},
        {"unreadable double", WIN_SPIN_DOUBLE, "1 1", SB_LINEUP, 1, 0, 10, "1 1"},
        {"unknown kind", 9, "1", SB_LINEUP, 1, 0, 10, "1"},
    };
    for (const Case &c : cases) {
        SetDlgItemTextA(d, NUMBER, c.start);
        int16_t s16 = (int16_t)c.step, lo16 = (int16_t)c.min, hi16 = (int16_t)c.max;
        int32_t s32 = (int32_t)c.step, lo32 = (int32_t)c.min, hi32 = (int32_t)c.max;
        float sf = (float)c.step, lof = (float)c.min, hif = (float)c.max;
        const void *args[3][3] = {{&s16, &lo16, &hi16}, {&s32, &lo32, &hi32}, {&sf, &lof, &hif}};
        const void *const *a = c.kind == WIN_SPIN_INT16   ? args[0]
                               : c.kind == WIN_SPIN_FLOAT ? args[2]
                                                          : args[1];
        const double dargs[3] = {c.step, c.min, c.max};
        if (c.kind == WIN_SPIN_DOUBLE)
            EXPECT_EQ(1, winSpinDlgValueFixed(d, NUMBER, c.code, c.kind, &dargs[0], &dargs[1],
                                              &dargs[2]));
        else
            EXPECT_EQ(1, winSpinDlgValueFixed(d, NUMBER, c.code, c.kind, a[0], a[1], a[2]));
        EXPECT_EQ(c.expected, itemText(d, NUMBER)) << c.name;
    }

    SetDlgItemTextA(d, NUMBER, "10");
    EXPECT_EQ(1, winSpinDlgInt(d, NUMBER, SB_LINEUP, 1, 0, 10));
    EXPECT_EQ("0", itemText(d, NUMBER));
    // The WM_VSCROLL handlers answer only for their own scroll bar.
    EXPECT_FALSE(winSpinInt16(d, SB_LINEUP, item(WIN_MARGIN_TOP + 1), NUMBER_BAR, NUMBER, 1, 0, 10));
    EXPECT_EQ("0", itemText(d, NUMBER));
    EXPECT_TRUE(winSpinInt32(d, SB_LINEDOWN, item(NUMBER_BAR), NUMBER_BAR, NUMBER, 1, 0, 10));
    EXPECT_EQ("10", itemText(d, NUMBER));
    EXPECT_TRUE(winSpinDouble(d, SB_LINEUP, item(NUMBER_BAR), NUMBER_BAR, NUMBER, 0.5, 0, 11));
    EXPECT_EQ("10.50", itemText(d, NUMBER));
}

TEST_F(DialogControls, MarginFields)
{
    SetDlgItemTextA(d, WIN_MARGIN_TOP, "0.05");
    EXPECT_TRUE(winMarginSpin(d, SB_LINEDOWN, item(WIN_MARGIN_TOP + 1)));
    EXPECT_EQ("11.00", itemText(d, WIN_MARGIN_TOP));
    EXPECT_FALSE(winMarginSpin(d, SB_LINEDOWN, item(NUMBER_BAR)));

    // The "all" bar steps 330 and copies it into the four sides.
    SetDlgItemTextA(d, WIN_MARGIN_ALL, "2.54");
    EXPECT_TRUE(winMarginSpin(d, SB_LINEUP, item(WIN_MARGIN_ALL + 1)));
    EXPECT_EQ("2.64", itemText(d, WIN_MARGIN_ALL));
    for (int id : {WIN_MARGIN_TOP, WIN_MARGIN_LEFT, WIN_MARGIN_RIGHT, WIN_MARGIN_BOTTOM})
        EXPECT_EQ("2.64", itemText(d, id)) << id;

    SetDlgItemTextA(d, WIN_MARGIN_ALL, "2.54");
    winMarginAllToFields(d);
    uint16_t units = dmGetUnits();
    RECT m = {};
    int failed = 0;
    EXPECT_TRUE(winGetMarginFields(d, DM_UNIT_CM, &m, &failed));
    EXPECT_EQ(1440, m.left);
    EXPECT_EQ(1440, m.top);
    EXPECT_EQ(1440, m.right);
    EXPECT_EQ(1440, m.bottom);
    EXPECT_EQ(units, dmGetUnits());   // the mapping is put back

    SetDlgItemTextA(d, WIN_MARGIN_RIGHT, "x");
    EXPECT_FALSE(winGetMarginFields(d, DM_UNIT_CM, &m, &failed));
    EXPECT_EQ(WIN_MARGIN_RIGHT, failed);
    EXPECT_EQ(units, dmGetUnits());

    // An empty "all" field copies nothing.
    SetDlgItemTextA(d, WIN_MARGIN_ALL, "");
    winMarginAllToFields(d);
    EXPECT_EQ("x", itemText(d, WIN_MARGIN_RIGHT));

    RECT set = {720, 1440, 2160, 360};
    winSetMarginFields(d, DM_UNIT_INCHES, &set);
    EXPECT_EQ("0.50", itemText(d, WIN_MARGIN_LEFT));
    EXPECT_EQ("1.00", itemText(d, WIN_MARGIN_TOP));
    EXPECT_EQ("1.50", itemText(d, WIN_MARGIN_RIGHT));
    EXPECT_EQ("0.25", itemText(d, WIN_MARGIN_BOTTOM));
    EXPECT_EQ(units, dmGetUnits());
}

// ---- list boxes -------------------------------------------------------------------

TEST_F(DialogControls, ListSelectionFollowsTheListKind)
{
    fill(SINGLE, {"apple", "pear", "plum", "Apple"});
    fill(MULTI, {"apple", "pear", "plum", "Apple"});

    // The exact search starts after item 0, so item 0 is tried last.
    EXPECT_EQ(3, winListSelectExact(item(SINGLE), "APPLE"));
    EXPECT_EQ(std::vector<int>{3}, selectedItems(d, SINGLE));
    EXPECT_EQ(2, winListSelectPrefix(item(SINGLE), "pl"));
    EXPECT_EQ(std::vector<int>{2}, selectedItems(d, SINGLE));
    EXPECT_EQ(LB_ERR, winListSelectExact(item(SINGLE), "cherry"));
    EXPECT_EQ(-1, winListSelectExact(item(SINGLE), ""));

    // A multiple-selection list adds the found item to its selection.
    EXPECT_EQ(1, winListSelectExact(item(MULTI), "pear"));
    EXPECT_EQ(2, winListSelectExact(item(MULTI), "plum"));
    EXPECT_EQ((std::vector<int>{1, 2}), selectedItems(d, MULTI));
    EXPECT_EQ("pear\nplum\n", take(winListSelToText(item(MULTI), '\n')));
    winListSelectAll(item(MULTI));
    EXPECT_EQ(4u, selectedItems(d, MULTI).size());
    winListDeselectAll(item(MULTI));
    EXPECT_TRUE(selectedItems(d, MULTI).empty());
    EXPECT_EQ(0u, winListSelToText(item(MULTI), '\n'));

    EXPECT_TRUE(winListHasString(d, SINGLE, "PEAR"));
    EXPECT_FALSE(winListHasString(d, SINGLE, "pea"));
    EXPECT_FALSE(winListHasString(d, 9999, "pear"));
}

TEST_F(DialogControls, ListEdits)
{
    HWND list = item(SINGLE);
    fill(SINGLE, {"0", "1", "2", "3", "4"});
    winListSelectIndex(list, 4);
    EXPECT_EQ(4, winListDeleteCurSel(list, TRUE));
    EXPECT_EQ(std::vector<int>{3}, selectedItems(d, SINGLE));   // the new last
    winListSelectIndex(list, 1);
    EXPECT_EQ(1, winListDeleteCurSel(list, TRUE));
    EXPECT_EQ((Items{"0", "2", "3"}), readList(d, SINGLE));
    EXPECT_EQ(std::vector<int>{1}, selectedItems(d, SINGLE));   // the item now at 1
    EXPECT_EQ(1, winListDeleteSel(list));
    EXPECT_TRUE(selectedItems(d, SINGLE).empty());
    EXPECT_EQ(-1, winListDeleteSel(list));
    EXPECT_FALSE(winListReplaceSel(list, "x"));

    winListReset(list);
    fill(SINGLE, {"a", "b", "c"});
    winListSelectIndex(list, 0);
    EXPECT_FALSE(winListMoveUp(list));
    EXPECT_EQ((Items{"a", "b", "c"}), readList(d, SINGLE));
    EXPECT_TRUE(winListMoveDown(list));
    EXPECT_EQ((Items{"b", "a", "c"}), readList(d, SINGLE));
    EXPECT_EQ(1, winListGetCurSel(list));
    winListSelectIndex(list, 2);
    EXPECT_FALSE(winListMoveDown(list));
    EXPECT_TRUE(winListMoveUp(list));
    EXPECT_EQ((Items{"b", "c", "a"}), readList(d, SINGLE));
    EXPECT_EQ("c", take(winListGetSelText(list)));

    EXPECT_TRUE(winListReplaceSel(list, "C2"));
    EXPECT_EQ((Items{"b", "C2", "a"}), readList(d, SINGLE));
    EXPECT_EQ(1, winListGetCurSel(list));

    EXPECT_TRUE(winListSort(list, FALSE));
    EXPECT_EQ((Items{"C2", "b", "a"}), readList(d, SINGLE));
    EXPECT_TRUE(winListSort(list, TRUE));
    EXPECT_EQ((Items{"a", "b", "C2"}), readList(d, SINGLE));

    MemHandle gone = utHandleFromString("B\nzz\n\nc2");
    EXPECT_EQ(2, winListRemoveItems(list, gone, '\n'));
    utFreeHandle(gone);
    EXPECT_EQ((Items{"a"}), readList(d, SINGLE));

    winListSelectIndex(list, 0);
    EXPECT_TRUE(winDlgListSelToText(d, SINGLE, REPLACE));
    EXPECT_EQ("a", itemText(d, REPLACE));
}

TEST_F(DialogControls, ListsAndDelimitedTexts)
{
    HWND list = item(SINGLE);
    EXPECT_EQ(0u, winListTextSize(list));
    EXPECT_EQ(0u, winListToText(list, '\n'));

    MemHandle crlf = utHandleFromString("a\r\nb\r\n");
    EXPECT_EQ(2, winListFillText(list, crlf, '\n'));
    utFreeHandle(crlf);
    EXPECT_EQ((Items{"a", "b"}), readList(d, SINGLE));

    winListAddString(list, "");
    winListAddString(list, "ccc");
    EXPECT_EQ(2u + 2u + 4u + 1u, winListTextSize(list));
    EXPECT_EQ("a\rb\rccc\r", take(winListToText(list, '\r')));
    EXPECT_EQ("a\nb\nccc\n", take(winDlgListToText(d, SINGLE, '\n')));
    EXPECT_EQ("<none>", take(winListGetItemText(list, 2)));   // an empty item
    EXPECT_EQ("<none>", take(winListGetItemText(list, 99)));
    EXPECT_EQ("ccc", take(winDlgListGetItemText(d, SINGLE, 3)));
    EXPECT_EQ(0u, winDlgListToText(d, 9999, '\n'));

    // Without the CR flag a CR stays in the item; a last item without a
    // delimiter is added too.
    winListReset(list);
    const char *at = winAddDelimitedItem(list, "x\r,y", ',', FALSE, TRUE);
    EXPECT_STREQ("y", at);
    EXPECT_EQ(nullptr, winAddDelimitedItem(list, at, ',', FALSE, TRUE));
    EXPECT_EQ((Items{"x\r", "y"}), readList(d, SINGLE));

    // A wide item widens the horizontal extent; a short one leaves it.
    winListReset(list);
    EXPECT_EQ(0, (int)SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0));
    winListSetExtent(list, 2);
    EXPECT_EQ(0, (int)SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0));
    winListSetExtent(list, 400);
    EXPECT_GT((int)SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), 400);
}

TEST_F(DialogControls, ListFromAFileOnAWindowsPath)
{
    qmtest::TempDir dir;
    std::string path = dir.file("items.txt");
    ASSERT_NE(std::string::npos, path.find('\\'));
    ASSERT_TRUE(qmtest::writeFile(path, "one\r\n\r\ntwo\nthree" + std::string(600, 'x') +
                                            "\r\n\r\n"));
    EXPECT_TRUE(winListFillFromFile(item(SINGLE), path.c_str()));
    Items items = readList(d, SINGLE);
    ASSERT_EQ(4u, items.size());
    EXPECT_EQ("one", items[0]);
    EXPECT_EQ("two", items[1]);
    EXPECT_EQ(511u, items[2].size());   // a long line comes in pieces of 511
    EXPECT_EQ(std::string(94, 'x'), items[3]);
    EXPECT_TRUE(qmtest::fileIsClosed(path));

    winListReset(item(SINGLE));
    EXPECT_FALSE(winListFillFromFile(item(SINGLE), dir.file("absent.txt").c_str()));
    ASSERT_TRUE(qmtest::writeFile(path, "\r\n\r\n"));
    EXPECT_FALSE(winListFillFromFile(item(SINGLE), path.c_str()));
    EXPECT_TRUE(readList(d, SINGLE).empty());
}

TEST_F(DialogControls, ReplacingFromTheEdit)
{
    fill(SINGLE, {"alphabet", "alpha", "beta"});
    winListSelectIndex(item(SINGLE), 2);
    qmtest::BoxRecorder boxes;
    struct Case {
        const char *edit;
        BOOL ok;
        const char *message;   // null: none
    } cases[] = {
        {"", FALSE, "Please enter a string before replacing."},
        {"ALPHA", FALSE, "The new item is already in the list."},   // behind a longer "alphabet"
        {"gamma", TRUE, nullptr},
    };
    for (const Case &c : cases) {
        boxes.clear();
        SetDlgItemTextA(d, REPLACE, c.edit);
        EXPECT_EQ(c.ok, winDlgListReplaceFromEdit(d, SINGLE, REPLACE)) << c.edit;
        if (c.message) {
            ASSERT_EQ(1u, boxes.count()) << c.edit;
            EXPECT_EQ(c.message, boxes.last().text);
            EXPECT_EQ("Quillmark Draw Warning", boxes.last().caption);
        } else {
            EXPECT_EQ(0u, boxes.count()) << boxes.texts();
        }
    }
    EXPECT_EQ((Items{"alphabet", "alpha", "gamma"}), readList(d, SINGLE));
    EXPECT_EQ(2, winListGetCurSel(item(SINGLE)));
}

// ---- combo boxes and code tables ---------------------------------------------------

TEST_F(DialogControls, CombosAndCodeTables)
{
    const CodeTextEntry *h = winHAlignTable.entries;
    EXPECT_EQ(1u, utCodeOfText("center", h, 3));   // by the case-ignoring pass
    EXPECT_EQ(2u, utCodeOfText("Right", h, 3));
    EXPECT_EQ(0u, utCodeOfText("middle", h, 3));
    const CodeTextEntry twice[] = {{5, "ON"}, {6, "on"}};
    EXPECT_EQ(6u, utCodeOfText("on", twice, 2));   // the exact pass comes first
    EXPECT_EQ(5u, utCodeOfText("On", twice, 2));
    EXPECT_EQ(2, utIndexOfCode(16, winVAlignTable.entries, 3));
    EXPECT_EQ(-1, utIndexOfCode(3, winVAlignTable.entries, 3));

    winDlgComboVAlign(d, VCOMBO, 16);
    EXPECT_EQ((Items{"Top", "Center", "Bottom"}), readList(d, VCOMBO));
    EXPECT_EQ(std::vector<int>{2}, selectedItems(d, VCOMBO));
    EXPECT_EQ(16u, winDlgGetVAlign(d, VCOMBO));
    winDlgSelectVAlign(d, VCOMBO, 4);
    EXPECT_EQ(4u, winDlgGetVAlign(d, VCOMBO));
    winDlgSelectVAlign(d, VCOMBO, 3);   // not in the table: no selection
    EXPECT_TRUE(selectedItems(d, VCOMBO).empty());
    EXPECT_EQ(0u, winDlgGetVAlign(d, VCOMBO));

    winDlgComboHAlign(d, HCOMBO, 0);
    EXPECT_EQ(std::vector<int>{0}, selectedItems(d, HCOMBO));
    qmtest::chooseItemText(d, HCOMBO, "Right");
    EXPECT_EQ(2u, winDlgGetHAlign(d, HCOMBO));
    EXPECT_EQ(1, winDlgSelectHAlign(d, HCOMBO, 1));
    EXPECT_EQ("Center", take(winDlgComboGetSelText(d, HCOMBO)));

    HWND combo = item(HCOMBO);
    winComboReset(combo);
    winComboFillCodes(combo, winVAlignTable.entries, 3, 8 | 16);
    EXPECT_EQ((Items{"Center", "Bottom"}), readList(d, HCOMBO));

    winComboReset(combo);
    for (const char *s : {"ab", "abc", "x", "AB"})
        winComboAddString(combo, s);
    EXPECT_EQ(3, winComboSelectExact(combo, "ab"));   // item 0 is tried last
    EXPECT_EQ(1, winComboSelectPrefix(combo, "ab"));
    EXPECT_EQ(CB_ERR, winComboSelectExact(combo, "none"));
    EXPECT_TRUE(selectedItems(d, HCOMBO).empty());
    EXPECT_EQ(0u, winDlgComboGetCode(d, HCOMBO, h, 3));
    EXPECT_EQ(2, winComboAddUnique(combo, "X"));
    EXPECT_EQ(4, winComboAddUnique(combo, "y"));
    EXPECT_TRUE(winComboHasText(combo, "ABC"));
    EXPECT_TRUE(winComboHasText(combo, "ab"));
    EXPECT_FALSE(winComboHasText(combo, "a"));
    EXPECT_EQ("abc", take(winComboGetItemText(combo, 1)));

    winComboReset(combo);
    MemHandle lines = utHandleFromString("Left\r\nRight\r\n");
    EXPECT_EQ(2, winDlgComboFillText(d, HCOMBO, lines, '\n'));
    utFreeHandle(lines);
    EXPECT_EQ((Items{"Left", "Right"}), readList(d, HCOMBO));

    HWND list = item(SINGLE);
    winListFillCodes(list, h, 3, 2);
    EXPECT_EQ(std::vector<int>{2}, selectedItems(d, SINGLE));
    EXPECT_EQ(2u, winDlgListGetCode(d, SINGLE, h, 3));
    EXPECT_EQ(0u, winDlgComboGetCode(d, 9999, h, 3));
}

}  // namespace
