// Field option dialogs driven as a user would: number format, validation,
// database link, entry defaults, data type, edit style, special options;
// and the lists of field names.
#include "tests/forms/fld_kit.h"
#include "tests/model/pg_kit.h"
#include "tests/support/kit_dialog.h"
#include "forms/db_types.h"
#include "forms/fld_dialogs.h"
#include "forms/fld_options.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "support/rc_list.h"
#include "support/ut_bytes.h"

using namespace fldtest;
using qmtest::DialogDriver;
using qmtest::pressButton;
using qmtest::sendCommand;
using qmtest::windowText;

namespace {

std::string itemText(HWND dlg, int id) { return windowText(GetDlgItem(dlg, id)); }

void selectRow(HWND dlg, int id, int row)
{
    SendDlgItemMessageA(dlg, id, LB_SETCURSEL, (WPARAM)row, 0);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), (LPARAM)GetDlgItem(dlg, id));
}

void chooseCombo(HWND dlg, int id, const char *text)
{
    LRESULT at = SendDlgItemMessageA(dlg, id, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
    SendDlgItemMessageA(dlg, id, CB_SETCURSEL, (WPARAM)at, 0);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)GetDlgItem(dlg, id));
}

class FieldDialogs : public FormTest {};

TEST_F(FieldDialogs, NumberFormatBuildsItsWordAndSample)
{
    uint32_t word = 0;
    std::string sample;
    DialogDriver driver({
        [&](HWND dlg) {
            EXPECT_EQ("2", itemText(dlg, 102));   // style byte 0: 2 decimals shown
            selectRow(dlg, 101, 3);               // "#,###.00"
            SetDlgItemTextA(dlg, 102, "3");
            selectRow(dlg, 104, 1);               // prefix "$"
            selectRow(dlg, 105, 0);               // suffix "None"
            sample = itemText(dlg, 106);
            pressButton(dlg, IDOK);
        },
    });
    EXPECT_EQ(IDOK, fldEditNumFormat(nullptr, &word));
    EXPECT_EQ(0x01000305u, word);
    EXPECT_EQ("$1,234.000", sample);
}

TEST_F(FieldDialogs, NumberFormatDecimalsLimitAndDisabledDecimals)
{
    uint32_t word = 0x00000203;   // m.n, 2 decimals
    bool disabled = false;
    DialogDriver driver({
        [&](HWND dlg) {
            SetDlgItemTextA(dlg, 102, "25");
            pressButton(dlg, IDOK);   // refused: the dialog stays
        },
        [&](HWND dlg) {
            SetDlgItemTextA(dlg, 102, "24");
            // The spin bar cannot go past 24.
            SendMessageA(dlg, WM_VSCROLL, SB_LINEUP, (LPARAM)GetDlgItem(dlg, 103));
            EXPECT_EQ("24", itemText(dlg, 102));
            selectRow(dlg, 101, 0);   // Integer: decimals 0, box disabled
            disabled = !IsWindowEnabled(GetDlgItem(dlg, 102));
            EXPECT_EQ("0", itemText(dlg, 102));
            selectRow(dlg, 101, 2);
            SetDlgItemTextA(dlg, 102, "24");
            pressButton(dlg, IDOK);
        },
    });
    EXPECT_EQ(IDOK, fldEditNumFormat(nullptr, &word));
    EXPECT_TRUE(disabled);
    EXPECT_EQ(0x00001803u, word);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("The decimal digits mut not exceed 24.", boxes.last().text);
    boxes.clear();
    // Cancel keeps the word; a negative count is refused too.
    DialogDriver cancel({[&](HWND dlg) {
        SetDlgItemTextA(dlg, 102, "-1");
        pressButton(dlg, IDOK);
    }, [&](HWND dlg) { pressButton(dlg, IDCANCEL); }});
    EXPECT_EQ(IDCANCEL, fldEditNumFormat(nullptr, &word));
    EXPECT_EQ(0x00001803u, word);
    EXPECT_EQ(1u, boxes.count());
    boxes.clear();
}

TEST_F(FieldDialogs, ValidationRuleIsOneItemAndAnEmptyFirstBoxRemovesIt)
{
    MemHandle rule = 0;
    DialogDriver driver({[](HWND dlg) {
        SetDlgItemTextA(dlg, 100, "A");
        SetDlgItemTextA(dlg, 102, "B");
        pressButton(dlg, IDOK);
    }});
    EXPECT_EQ(IDOK, fldEditValidation(nullptr, &rule));
    ASSERT_NE(0u, rule);
    EXPECT_EQ(1, rcItemListCount(rule));
    {
        MemLock<uint8_t> p(rule);
        EXPECT_EQ(FLD_VALIDATION_KIND, utGetAt<uint16_t>(p.get(), 4));
        EXPECT_EQ(16u, utGetAt<uint32_t>(p.get(), 8));
        EXPECT_EQ(1, utGetAt<uint16_t>(p.get(), 8 + 10));
        EXPECT_EQ(1, utGetAt<uint16_t>(p.get(), 8 + 12));
        EXPECT_EQ('A', p.get()[8 + 14]);
        EXPECT_EQ('B', p.get()[8 + 15]);
    }
    std::string first, second;
    DialogDriver reopen({[&](HWND dlg) {
        first = itemText(dlg, 100);
        second = itemText(dlg, 102);
        SetDlgItemTextA(dlg, 100, "");
        pressButton(dlg, IDOK);
    }});
    EXPECT_EQ(IDOK, fldEditValidation(nullptr, &rule));
    EXPECT_EQ("A", first);
    EXPECT_EQ("B", second);
    EXPECT_EQ(0u, rule);

    // A damaged item is read within its bounds: nothing shown.
    MemHandle bad = fldMakeValidationRule("abc", "de");
    {
        MemLock<uint8_t> p(bad);
        utPutAt<uint16_t>(p.get(), 8 + 12, 900);
    }
    char a[16], b[16];
    EXPECT_FALSE(fldReadValidationRule(bad, a, sizeof a, b, sizeof b));
    EXPECT_STREQ("", a);
    utFreeHandle(bad);
}

TEST_F(FieldDialogs, DatabaseLinkClearedRemovesLinkAndBlock)
{
    MemHandle link = utHandleFromString("C:\\data\\x.xdb");
    uint8_t raw[40] = {40};
    MemHandle block = utHandleFromBytes(raw, sizeof raw);
    uint32_t flags = 0x0008;
    bool checked104 = false;
    DialogDriver driver({
        [&](HWND dlg) {
            checked104 = IsDlgButtonChecked(dlg, 104) == BST_CHECKED;
            EXPECT_EQ("C:\\data\\x.xdb", itemText(dlg, 101));
            pressButton(dlg, 116);   // clear
            pressButton(dlg, 300);   // advanced without a database: refused
            CheckDlgButton(dlg, 131, BST_CHECKED);
            pressButton(dlg, IDOK);
        },
    });
    EXPECT_EQ(IDOK, fldEditDbLink(nullptr, nullptr, &link, &block, &flags));
    EXPECT_TRUE(checked104);
    EXPECT_EQ(0u, link);
    EXPECT_EQ(0u, block);
    EXPECT_EQ(0x2000008u, flags);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Must select a database before you can define the advanced data.", boxes.last().text);
    boxes.clear();
}

TEST_F(FieldDialogs, EntryDefaultsFollowTheDataType)
{
    EntryFieldPart part = {};
    part.dataType = 3;
    part.align = 4;
    part.maxChars = 20;
    part.mode = 1;
    part.listFlags = 0x20;
    std::string label;
    bool numberEnabled = false;
    uint32_t displayAfterReal = 0;
    DialogDriver driver({[&](HWND dlg) {
        chooseCombo(dlg, 104, "Real Number");
        numberEnabled = IsWindowEnabled(GetDlgItem(dlg, 124)) != FALSE;
        label = itemText(dlg, 124);
        chooseCombo(dlg, 104, "Image");
        EXPECT_EQ("Display...", itemText(dlg, 124));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, 123)));
        chooseCombo(dlg, 104, "QM Text");
        SetDlgItemTextA(dlg, 173, "30");
        chooseCombo(dlg, 106, "Right");
        chooseCombo(dlg, 107, "Bottom");
        pressButton(dlg, IDOK);
    }});
    (void)displayAfterReal;
    EXPECT_EQ(1, fldEditEntryDefaults(nullptr, &part));
    EXPECT_TRUE(numberEnabled);
    EXPECT_EQ("Number...", label);
    EXPECT_EQ(14, part.dataType);
    EXPECT_EQ(-1, part.maxChars);   // type 14 has no limit whatever the box says
    EXPECT_EQ(2 | 16, part.align);
    EXPECT_EQ(0u, part.listFlags);
    EXPECT_EQ(0u, part.flags & ENT_DISPLAY_BITS);

    EntryFieldPart real = {};
    real.dataType = 3;
    real.mode = 1;
    DialogDriver second({[&](HWND dlg) {
        chooseCombo(dlg, 104, "Real Number");
        pressButton(dlg, IDOK);
    }});
    EXPECT_EQ(1, fldEditEntryDefaults(nullptr, &real));
    EXPECT_EQ(515u, real.displayFormat);
    EXPECT_EQ(7, real.dataType);
}

TEST_F(FieldDialogs, DataTypeEditStyleAndSpecialOptions)
{
    uint16_t type = 3;
    uint32_t flags = ENT_MULTILINE;
    DialogDriver driver({[](HWND dlg) {
        chooseCombo(dlg, 104, "Short Integer");
        pressButton(dlg, IDOK);
    }});
    EXPECT_EQ(1, fldChooseDataType(nullptr, "Field Type", &type, &flags));
    EXPECT_EQ(4, type);
    EXPECT_EQ(0u, flags & ENT_MULTILINE);

    uint16_t style = 0x1;
    DialogDriver es({[](HWND dlg) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, 190)));
        CheckDlgButton(dlg, 190, BST_UNCHECKED);
        CheckDlgButton(dlg, 194, BST_CHECKED);
        pressButton(dlg, IDOK);
    }});
    EXPECT_EQ(1, fldEditEntryStyle(nullptr, &style, 0, FALSE));
    EXPECT_EQ(0x41, style);   // 190 not allowed: bit 0 kept

    // Both options cleared: the block goes.
    MemHandle form = fmNew();
    form = fmSetAllSpecialOptions(form);
    EXPECT_EQ(1, fmGetSpecialFlag0(form));
    EXPECT_EQ(1, fmGetSpecialFlag1(form));
    EXPECT_TRUE(fmGetOptions(form) & FM_OPTION_SPECIAL);
    MemHandle block = fmGetSpecialOptions(form);
    DialogDriver sp({[](HWND dlg) {
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dlg, 100));
        CheckDlgButton(dlg, 100, BST_UNCHECKED);
        CheckDlgButton(dlg, 101, BST_UNCHECKED);
        pressButton(dlg, IDOK);
    }});
    block = fmEditSpecialOptions(nullptr, block);
    EXPECT_EQ(0u, block);
    // Cancel on a new block leaves "none".
    DialogDriver cancel({[](HWND dlg) { pressButton(dlg, IDCANCEL); }});
    EXPECT_EQ(0u, fmEditSpecialOptions(nullptr, 0));
    fmFree(form);
}

MemHandle named(int16_t type, const char *name)
{
    MemHandle h = obtest::make(type);
    return name ? obSetName(h, name) : h;
}

TEST_F(FieldDialogs, NamesOfAPageByKind)
{
    MemHandle page = pgtest::newPage("P");
    MemHandle number = obNewRecord(kObHeadSize + sizeof(EntryFieldPart));
    {
        ObLock r(number);
        r->type = OBT_ENTRY;
        entPart(r.get())->dataType = 5;
    }
    number = obSetName(number, "Amount");
    MemHandle text = obNewRecord(kObHeadSize + sizeof(EntryFieldPart));
    {
        ObLock r(text);
        r->type = OBT_LIST_FIELD;
        entPart(r.get())->dataType = 3;
    }
    text = obSetName(text, "Choice");
    MemHandle a = named(OBT_RECTANGLE, "box");
    MemHandle b = named(OBT_ELLIPSE, "Round");
    MemHandle group = obNewGroup(OBT_GROUP, a, b, (MemHandle)0);
    group = obSetName(group, "Both");
    for (MemHandle h : {number, text, named(OBT_RECTANGLE, nullptr), group})
        pgAppendObject(page, h);
    auto list = [](MemHandle h) {
        std::string s;
        if (h) {
            MemLock<char> p(h);
            s = p.get();
        }
        utFreeHandle(h);
        return s;
    };
    EXPECT_EQ("Amount,Choice,", list(fldListPageNames(page, ',', FLD_NAMES_FIELDS)));
    EXPECT_EQ("Amount,", list(fldListPageNames(page, ',', FLD_NAMES_NUMERIC)));
    EXPECT_EQ("Both,", list(fldListPageNames(page, ',', FLD_NAMES_GRAPHIC)));
    EXPECT_EQ("Amount,Choice,box,Round,Both,", list(fldListPageNamesDeep(page, ',', 0)));
    EXPECT_EQ(text, obFindByName(pgGetFirstObject(page), "CHOICE"));
    EXPECT_EQ(0u, obFindByName(pgGetFirstObject(page), ""));
    pgFreeList(page);
}

}  // namespace
