// The list selection dialogs ("lbxsel", "lbxselnosort") and the string
// list dialog ("strlist", "strlist2"), driven through the dialog kit.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "support/dlg_select.h"
#include "support/ut_mem.h"
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;
using qmtest::DialogDriver;

std::string textOf(MemHandle h)
{
    if (!h)
        return "<none>";
    std::string s;
    {
        MemLock<char> p(h);
        s = p ? p.get() : "";
    }
    utFreeHandle(h);
    return s;
}

std::string peek(MemHandle h)
{
    MemLock<char> p(h);
    return p ? p.get() : "";
}

// What the dialog showed when it opened.
struct Shown {
    std::string caption;
    std::vector<std::string> items;
    std::vector<int> selected;
};

DialogDriver::Step look(Shown &shown, DialogDriver::Step then)
{
    return [&shown, then](HWND d) {
        shown.caption = qmtest::windowText(d);
        shown.items = qmtest::readList(d, 1000);
        shown.selected = qmtest::selectedItems(d, 1000);
        then(d);
    };
}

void ok(HWND d) { qmtest::pressButton(d, IDOK); }
void cancel(HWND d) { qmtest::pressButton(d, IDCANCEL); }

TEST(SelectDialogs, DelimitedFormsOkCancelAndDoubleClick)
{
    long live = qmtest::liveHandles();
    MemHandle items = utHandleFromString("pear\r\napple\r\nfig\r\n");
    struct Case {
        const char *name;
        std::function<MemHandle()> open;
        DialogDriver::Step act;
        std::vector<std::string> items;   // as shown
        std::vector<int> selected;        // at opening
        const char *result;
        const char *caption;
    } cases[] = {
        {"sorted, OK on the chosen", [&] { return dlgSelectFromList(nullptr, "Fruit", items, '\n'); },
         [](HWND d) { qmtest::chooseItem(d, 1000, 1); ok(d); }, {"apple", "fig", "pear"}, {}, "fig",
         "Fruit"},
        {"cancel with a selection", [&] { return dlgSelectFromList(nullptr, "", items, '\n'); },
         [](HWND d) { qmtest::chooseItem(d, 1000, 1); cancel(d); }, {"apple", "fig", "pear"}, {},
         "<none>", "Select"},
        {"OK with nothing selected", [&] { return dlgSelectFromListNoSort(nullptr, "", items, '\n'); },
         ok, {"pear", "apple", "fig"}, {}, "<none>", "Select"},
        {"double click acts as OK", [&] { return dlgSelectFromListNoSort(nullptr, "", items, '\n'); },
         [](HWND d) { qmtest::doubleClickItem(d, 1000, 2); }, {"pear", "apple", "fig"}, {}, "fig",
         "Select"},
        {"preselected by prefix", [&] { return dlgSelectFromListPre(nullptr, "", items, '\n', "AP"); },
         ok, {"apple", "fig", "pear"}, {0}, "apple", "Select"},
        {"preselected by a handle's prefix",
         [&] {
             MemHandle pre = utHandleFromString("Pe");
             MemHandle r = dlgSelectFromListH(nullptr, "", items, '\n', pre);
             utFreeHandle(pre);
             return r;
         },
         ok, {"pear", "apple", "fig"}, {0}, "pear", "Select"},
        {"at index 2", [&] { return dlgSelectFromListAt(nullptr, "", items, '\n', 2); }, ok,
         {"pear", "apple", "fig"}, {2}, "fig", "Select"},
        {"a later call selects nothing",
         [&] { return dlgSelectFromListNoSort(nullptr, "", items, '\n'); }, ok,
         {"pear", "apple", "fig"}, {}, "<none>", "Select"},
        {"the caller's template",
         [&] { return dlgSelectFromListT(nullptr, "", "lbxselnosort", items, '\n'); },
         [](HWND d) { qmtest::chooseItem(d, 1000, 0); ok(d); }, {"pear", "apple", "fig"}, {}, "pear",
         "Select"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Shown shown;
        DialogDriver drive({look(shown, c.act)});
        EXPECT_EQ(c.result, textOf(c.open()));
        EXPECT_EQ(1u, drive.ran());
        EXPECT_EQ(c.items, shown.items);
        EXPECT_EQ(c.selected, shown.selected);
        EXPECT_EQ(c.caption, shown.caption);
    }
    EXPECT_EQ("pear\r\napple\r\nfig\r\n", peek(items));
    utFreeHandle(items);
    EXPECT_EQ(live, qmtest::liveHandles());
}

TEST(SelectDialogs, CodeTable)
{
    static const CodeTextEntry entries[] = {{7, "Seven"}, {3, "Three"}, {12, "Twelve"}};
    struct Case {
        const char *name;
        DialogDriver::Step act;
        INT_PTR result;
        uint32_t code;
    } cases[] = {
        {"the current code's text is selected, OK keeps it", ok, 1, 3},
        {"another text chosen", [](HWND d) { qmtest::chooseItemText(d, 1000, "Twelve"); ok(d); }, 1,
         12},
        {"cancel", [](HWND d) { qmtest::chooseItemText(d, 1000, "Seven"); cancel(d); }, 0, 3},
        {"nothing selected stores 0",
         [](HWND d) { SendDlgItemMessageA(d, 1000, LB_SETCURSEL, (WPARAM)-1, 0); ok(d); }, 1, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Shown shown;
        DialogDriver drive({look(shown, c.act)});
        uint32_t code = 3;
        EXPECT_EQ(c.result, dlgSelectCode(nullptr, "Number", entries, 3, &code));
        EXPECT_EQ(c.code, code);
        EXPECT_EQ((std::vector<std::string>{"Seven", "Three", "Twelve"}), shown.items);
        EXPECT_EQ(std::vector<int>{1}, shown.selected);
    }
}

TEST(SelectDialogs, FileLines)
{
    qmtest::TempDir dir;
    std::string path = dir.file("lines.txt");
    ASSERT_TRUE(qmtest::writeFile(path, "zeta\r\n\r\nalpha\r\nmid\r\n"));
    {
        DialogDriver none({});
        EXPECT_EQ(0u, dlgSelectFileLine(nullptr, "", dir.file("missing.txt").c_str(), TRUE));
        EXPECT_EQ(0u, dlgSelectFileLine(nullptr, "", "", TRUE));
        EXPECT_EQ(0u, dlgSelectFileLine(nullptr, "", dir.path().c_str(), TRUE));
        EXPECT_EQ(0u, none.ran());
    }
    for (BOOL sorted : {TRUE, FALSE}) {
        Shown shown;
        DialogDriver drive({look(shown, [](HWND d) { qmtest::chooseItem(d, 1000, 0); ok(d); })});
        std::string first = sorted ? "alpha" : "zeta";
        EXPECT_EQ(first, textOf(dlgSelectFileLine(nullptr, "Lines", path.c_str(), sorted)));
        EXPECT_EQ(sorted ? (std::vector<std::string>{"alpha", "mid", "zeta"})
                         : (std::vector<std::string>{"zeta", "alpha", "mid"}),
                  shown.items);
    }
}

// ---- "Select Item" -------------------------------------------------------------------

TEST(StringList, TypedValuesMoveOrJoinTheList)
{
    const std::string question = "Plum is not in the list.  Add to list?";
    struct Case {
        const char *name;
        const char *label;
        std::vector<DialogDriver::Step> steps;
        std::vector<int> answers;   // to the question
        INT_PTR result;
        const char *buffer;
        const char *items;
        std::vector<std::string> boxes;
    } cases[] = {
        {"a listed value in other case moves to the end", "",
         {[](HWND d) { qmtest::typeInto(d, 100, "APPLE"); ok(d); }}, {}, 1, "APPLE",
         "pear\nfig\napple\n", {}},
        {"a new value: Cancel keeps it open, OK appends", "",
         {[](HWND d) { qmtest::typeInto(d, 100, "Plum"); ok(d); },
          [](HWND d) {
              EXPECT_EQ("Plum", qmtest::itemText(d, 100));
              ok(d);
          }},
         {IDCANCEL, IDOK}, 1, "Plum", "apple\npear\nfig\nPlum\n", {question, question}},
        {"cancel leaves buffer and items", "Fruit:",
         {[](HWND d) { qmtest::typeInto(d, 100, "Plum"); ok(d); }, cancel}, {IDCANCEL}, 0, "pe",
         "apple\npear\nfig\n", {question}},
        {"an empty value ends with 1 and an empty buffer", "",
         {[](HWND d) { qmtest::typeInto(d, 100, ""); ok(d); }}, {}, 1, "", "apple\npear\nfig\n", {}},
        {"choosing an item copies it; a double click is OK", "",
         {[](HWND d) {
             qmtest::chooseItem(d, 102, 2);
             EXPECT_EQ("fig", qmtest::itemText(d, 100));
             qmtest::doubleClickItem(d, 102, 0);
         }},
         {}, 1, "apple", "pear\nfig\napple\n", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        BoxRecorder boxes;
        for (int a : c.answers)
            boxes.answer(a);
        MemHandle items = utHandleFromString("apple\npear\nfig\n");
        MemHandle original = items;
        char buffer[21] = "pe";
        std::string caption, label, shownMax, edit;
        bool help = false;
        std::vector<int> selected;
        std::vector<DialogDriver::Step> steps = c.steps;
        DialogDriver::Step first = steps[0];
        steps[0] = [&, first](HWND d) {
            caption = qmtest::windowText(d);
            label = GetDlgItem(d, 104) ? qmtest::itemText(d, 104) : "<none>";
            help = GetDlgItem(d, 105) != nullptr;
            shownMax = qmtest::itemText(d, 101);
            edit = qmtest::itemText(d, 100);
            selected = qmtest::selectedItems(d, 102);
            first(d);
        };
        DialogDriver drive(steps);
        EXPECT_EQ(c.result, dlgStringList(nullptr, "Fruit", c.label, "", &items, '\n', buffer, 20));
        EXPECT_EQ(steps.size(), drive.ran());
        EXPECT_STREQ(c.buffer, buffer);
        EXPECT_EQ(c.items, peek(items));
        std::vector<std::string> texts;
        for (const auto &b : boxes.boxes())
            texts.push_back(b.text);
        EXPECT_EQ(c.boxes, texts);
        EXPECT_EQ("Fruit", caption);
        EXPECT_EQ(*c.label ? c.label : "<none>", label);
        EXPECT_FALSE(help) << "no help keyword, no Help button";
        EXPECT_EQ("20", shownMax);
        EXPECT_EQ("pe", edit);
        EXPECT_EQ(std::vector<int>{1}, selected);   // "pear" begins with "pe"
        if (c.result == 0) {
            EXPECT_EQ(original, items);
        }
        utFreeHandle(items);
    }
}

TEST(StringList, HelpButtonStaysWithAKeyword)
{
    MemHandle items = 0;
    char buffer[9] = "";
    bool help = false;
    DialogDriver drive({[&](HWND d) {
        help = GetDlgItem(d, 105) != nullptr;
        EXPECT_EQ(8, (int)SendDlgItemMessageA(d, 100, EM_GETLIMITTEXT, 0, 0));
        cancel(d);
    }});
    EXPECT_EQ(0, dlgStringList(nullptr, "", "Name:", "Names", &items, '\n', buffer, 8));
    EXPECT_TRUE(help);
    EXPECT_EQ(0u, items);
}

}  // namespace
