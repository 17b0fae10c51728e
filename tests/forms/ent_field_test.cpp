// Entry, list and equation fields: data types and their rules, dates, the
// data-type chooser, drawing (rules, shadow), resizing, conversions between
// entry and list fields, and the file form.
#include "tests/forms/fld_kit.h"
#include "tests/model/qmf_kit.h"
#include "forms/db_types.h"
#include "support/ut_date.h"
#include "forms/ent_field.h"
#include "forms/fld_convert.h"
#include "model/att_field.h"
#include "model/ob_dispatch.h"
#include "model/qmf_save.h"
#include "forms/fld_types.h"

using namespace fldtest;
using qmtest::TempDir;

namespace {

typedef std::vector<uint8_t> Bytes;

MemHandle field(int16_t type, const RECT &r, uint16_t dataType = 3, uint32_t flags = 0)
{
    return entryField(type, r, dataType, flags);
}

MemHandle withText(MemHandle h, const char *text)
{
    return obSetShapeAttr(h, ENT_TAG_TEXT, text, (int)strlen(text) + 1);
}

class Fields : public FormTest {};

TEST_F(Fields, TypePredicatesAndTheChooser)
{
    struct { int16_t code; bool numeric, image, date, text, value; } types[] = {
        {4, true, false, false, false, true},   {110, true, false, false, false, true},
        {12, false, true, false, true, true},   {8, false, false, false, true, true},
        {17, false, false, true, false, true},  {9, false, false, true, true, true},
        {14, false, false, false, false, true}, {1, false, false, false, false, false},
    };
    for (auto t : types) {
        EXPECT_EQ(t.numeric, dbIsNumericType(t.code) != 0) << t.code;
        EXPECT_EQ(t.image, dbIsImageType(t.code) != 0) << t.code;
        EXPECT_EQ(t.date, dbIsDateType(t.code) != 0) << t.code;
        EXPECT_EQ(t.text, dbIsTextType(t.code) != 0) << t.code;
        EXPECT_EQ(t.value, dbHasValueType(t.code) != 0) << t.code;
    }
    int16_t count = 0;
    const DbTypeName *table = dbTypeTable(&count);
    EXPECT_EQ(16, count);
    EXPECT_STREQ("Time", table[0].name);
    EXPECT_STREQ("Rating", table[15].name);
    dbColumnTypeTable(&count);
    EXPECT_EQ(15, count);
    EXPECT_STREQ("State (1 or 0)", dbColumnTypeName(101));

    HWND dlg = CreateWindowA("STATIC", "", 0, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    HWND combo = CreateWindowA("COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 200, dlg,
                               (HMENU)100, nullptr, nullptr);
    dbFillTypeCombo(dlg, 100, 1);
    EXPECT_EQ(16, SendMessageA(combo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, dbGetTypeCombo(dlg, 100));   // nothing selected
    dbShowTypeName(combo, 7);
    EXPECT_EQ(7, dbGetTypeCombo(dlg, 100));
    dbShowTypeName(combo, 1);
    EXPECT_EQ(CB_ERR, SendMessageA(combo, CB_GETCURSEL, 0, 0));
    HWND months = CreateWindowA("COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 200, dlg,
                                (HMENU)101, nullptr, nullptr);
    utFillMonthCombo(months, 11);
    EXPECT_EQ(11, SendMessageA(months, CB_GETCURSEL, 0, 0));
    SendMessageA(months, CB_RESETCONTENT, 0, 0);
    utFillMonthCombo(months, 12);
    EXPECT_EQ(CB_ERR, SendMessageA(months, CB_GETCURSEL, 0, 0));
    DestroyWindow(dlg);
}

TEST_F(Fields, Dates)
{
    DateRecord a = {31, 11, 1999}, b = {1, 0, 2000};
    EXPECT_EQ(-1, dtCompare(&a, &b));
    EXPECT_EQ(1, dtCompare(&b, &a));
    EXPECT_EQ(0, dtCompare(&a, &a));
    for (auto y : {std::make_pair(49, 2049), std::make_pair(50, 1950), std::make_pair(1999, 1999)}) {
        int32_t year = y.first;
        dtExpandYear(&year);
        EXPECT_EQ(y.second, year);
    }
    DateRecord d;
    dtFromTime(&d, 946728000);   // 1 January 2000, noon UTC
    EXPECT_EQ(2000, d.year);
    EXPECT_EQ(0, d.month);
    DateRecord today;
    dtToday(&today);
    EXPECT_GE(today.year, 2000);
}

TEST_F(Fields, DataTypeRules)
{
    struct { uint32_t flags; uint16_t type; uint32_t want; } cases[] = {
        {0x1, 3, 0x39}, {0x0, 3, 0x30}, {0x1, 31, 0x39}, {0x31, 14, 0x9}, {0x30, 14, 0x0},
        {0x9, 7, 0x30}, {0x1, 4, 0x30},
    };
    for (auto c : cases)
        EXPECT_EQ(c.want, entStyleFlags(c.flags, c.type)) << c.type << " " << c.flags;

    EntryFieldPart part = {};
    part.flags = ENT_MULTILINE;
    part.dataType = 3;
    part.maxChars = 20;
    uint8_t *p = reinterpret_cast<uint8_t *>(&part);
    entSetDataType(p, 4);   // text to a number: single-line, number format 1
    EXPECT_EQ(0u, part.flags & ENT_MULTILINE);
    EXPECT_EQ(1u, part.displayFormat);
    entSetDataType(p, 14);  // QM text: multi-line without limit
    EXPECT_EQ(ENT_MULTILINE, part.flags & ENT_MULTILINE);
    EXPECT_EQ(-1, part.maxChars);
    entSetDataType(p, 11);
    EXPECT_EQ(8u, part.displayFormat);
    entSetEquationStyle(p, TRUE);
    EXPECT_EQ(7, part.dataType);
    EXPECT_EQ(2, part.mode);
    EXPECT_EQ(515u, part.displayFormat);
    entSetEquationStyle(p, FALSE);
    EXPECT_EQ(1, part.mode);
}

TEST_F(Fields, RecordSizeFollowsTheAttributes)
{
    MemHandle h = field(OBT_ENTRY, pxRect(10, 10, 200, 40));
    h = obSetName(h, "F001");
    EXPECT_EQ(86u + 5 + 100, entRecordSizeOf(h));
    h = withText(h, "hello");
    EXPECT_EQ(86u + 5 + 100 + 6 + 6, entRecordSizeOf(h));
    EXPECT_EQ(86u + 5 + 100 + 12, obCalcSize(h, 0));
    obFreeTree(h);
}

// Dividing rules: drawn only for a multi-line, top-aligned text-like field
// with the rules flag.
TEST_F(Fields, DividingRulesOnlyWhereTheyApply)
{
    struct Case {
        const char *what;
        uint16_t type;
        uint32_t flags;
        uint16_t align;
        bool rules;
    } cases[] = {
        {"ruled text", 3, ENT_RULES | ENT_MULTILINE, 4, true},
        {"single line", 3, ENT_RULES, 4, false},
        {"centred", 3, ENT_RULES | ENT_MULTILINE, 8, false},
        {"bottom", 3, ENT_RULES | ENT_MULTILINE, 16, false},
        {"a number", 4, ENT_RULES | ENT_MULTILINE, 4, false},
        {"a date", 15, ENT_RULES | ENT_MULTILINE, 4, true},
        {"no flag", 3, ENT_MULTILINE, 4, false},
    };
    for (const Case &c : cases) {
        MemHandle h = field(OBT_ENTRY, pxRect(10, 10, 190, 190), c.type, c.flags);
        {
            ObLock r(h);
            entPart(r.get())->align = c.align;
            r->penColour = kRed;
            entPart(r.get())->frameStyle = 0;   // no frame: only the rules are red
        }
        Page page(200, 200);
        obDraw(page.dc(), h);
        int red = page.in(kRed, 12, 12, 188, 188);
        EXPECT_EQ(c.rules, red > 0) << c.what << ": " << red;
        obFreeTree(h);
    }
}

TEST_F(Fields, ShadowOnlyForAFilledField)
{
    ShadowStyle style = {150, 150, kGreen};   // 10 pixels right and down, green
    ShadowStyle old = obSetShadowStyle(&style);
    for (uint8_t fill : {0, 1}) {
        MemHandle h = field(OBT_ENTRY, pxRect(20, 20, 100, 60));
        {
            ObLock r(h);
            r->flags |= OBF_SHADOW;
            r->fillKind = fill;
            r->backColour = kWhite;
        }
        Page page(160, 120);
        entDrawHandle(page.dc(), h);   // the field's own drawing
        // The shadow falls beyond the box's bottom right.
        EXPECT_EQ(fill == 1, page.count(kGreen) > 0) << "fill " << (int)fill;
        obFreeTree(h);
    }
    obSetShadowStyle(&old);
}

TEST_F(Fields, ResizingScalesARoundedCornerAndDropsCellValues)
{
    struct Case {
        uint16_t frame;
        uint32_t value;
        uint32_t want;
    } cases[] = {
        {3, 0x00C80064, 0x01900032},   // rounded: 100 wide -> 50, 200 high -> 400
        {3, 0, 0},                      // automatic corner stays automatic
        {8, (5u << 16) | 300, 0},       // cells lose width and count
        {1, 77, 0},
    };
    for (const Case &c : cases) {
        MemHandle h = field(OBT_ENTRY, RECT{0, 0, 2000, 1000});
        {
            ObLock r(h);
            entPart(r.get())->frameStyle = c.frame;
            entPart(r.get())->frameValue = c.value;
        }
        RECT target = {0, 0, 1000, 2000};
        ASSERT_EQ(1, objScaleExt(h, &target));
        uint32_t *value = entGetFrameValue(h);
        ASSERT_TRUE(value);
        EXPECT_EQ(c.want, *value) << c.frame;
        utUnlock(h);
        RECT now;
        obGetRect(h, &now);
        EXPECT_EQ(1000, now.right - now.left);
        obFreeTree(h);
    }
}

TEST_F(Fields, EntryAndListConversions)
{
    MemHandle h = field(OBT_ENTRY, pxRect(0, 0, 100, 30));
    const char link[] = "db.table.column";
    h = obSetShapeAttr(h, ENT_TAG_DB_LINK, link, sizeof link);
    uint8_t ext[4] = {4, 0, 9, 9};
    h = obSetShapeAttr(h, ENT_TAG_DB_LINK_EXT, ext, sizeof ext);
    h = withText(h, "kept");
    h = entToListField(h);
    {
        ObLock r(h);
        EntryFieldPart *part = entPart(r.get());
        EXPECT_EQ(OBT_LIST_FIELD, r->type);
        EXPECT_EQ(ENT_LIST_FIELD, part->listFlags & ENT_LIST_FIELD);
        EXPECT_EQ((uint32_t)ENT_TAG_TEXT, part->tagMask);
    }
    const char items[] = "a\r\nb";
    h = obSetShapeAttr(h, ENT_TAG_LIST_ITEMS, items, sizeof items);
    h = obSetShapeAttr(h, ENT_TAG_SQL, "select", 7);
    h = obSetShapeAttr(h, ENT_TAG_LIST_FILE, "x.dat", 6);
    h = entToEntryField(h);
    {
        ObLock r(h);
        EXPECT_EQ(OBT_ENTRY, r->type);
        EXPECT_EQ((uint32_t)ENT_TAG_TEXT, entPart(r.get())->tagMask);
    }
    EXPECT_EQ(86u + 100 + 6 + 5, entRecordSizeOf(h));
    // Other types come back unchanged.
    EXPECT_EQ(h, entToEntryField(h));
    obFreeTree(h);
    MemHandle eq = field(OBT_EQUATION, pxRect(0, 0, 100, 30));
    EXPECT_EQ(eq, entToListField(eq));
    EXPECT_EQ(OBT_EQUATION, obGetType(eq));
    obFreeTree(eq);

    MemHandle rules = field(OBT_ENTRY, pxRect(0, 0, 100, 30));
    EXPECT_EQ(1, entSetRules(rules, TRUE));
    EXPECT_EQ(0, entSetRules(rules, TRUE));
    RECT area;
    ASSERT_TRUE(entTextRect(rules, &area));
    EXPECT_GT(area.left, 0);
    obFreeTree(rules);
}

TEST_F(Fields, EachTypeComesBackFromASavedDocument)
{
    fldRegisterTypes();
    TempDir dir;
    for (int16_t type : {OBT_ENTRY, OBT_LIST_FIELD, OBT_EQUATION}) {
        MemHandle h = field(type, pxRect(10, 10, 300, 80), type == OBT_EQUATION ? 7 : 3,
                            ENT_MULTILINE | ENT_RULES);
        h = obSetName(h, "F007");
        h = withText(h, "Some text");
        {
            ObLock r(h);
            EntryFieldPart *part = entPart(r.get());
            part->options = 0x4;
            part->displayFormat = 0x01000305;
            part->frameValue = 0x00200010;
            part->ruleSpacing = 30;
            part->listFlags = type == OBT_LIST_FIELD ? 0x28 : 0;
            part->font.lfItalic = 1;
            part->mode = type == OBT_EQUATION ? 2 : 1;
        }
        Bytes want = qmftest::unlinkedBytes(h);
        MemHandle packet = qmfMakeFileRecord(h);
        ASSERT_TRUE(packet) << type;
        EXPECT_EQ(want.size() + 14, utGetPacketLength(packet)) << type;
        utFreeHandle(packet);

        MemHandle form = fmNew();
        MemHandle page = pgtest::newPage("Form");
        pgAppendObject(page, h);
        pgDirAppend(form, page);
        std::string path = dir.file("fields.qm");
        ASSERT_EQ(1, qmfSaveDocument(nullptr, path.c_str(), form, FALSE, FALSE)) << type;
        fmFree(form);
        MemHandle read = 0;
        form = qmfOpenDocument(nullptr, path.c_str(), 0, &read);
        ASSERT_TRUE(form) << type;
        std::vector<MemHandle> objects = obtest::listOf(pgGetFirstObject(read));
        ASSERT_EQ(1u, objects.size()) << type;
        EXPECT_EQ(want, qmftest::unlinkedBytes(objects[0])) << type;
        fmFree(form);
    }
}

TEST_F(Fields, DamagedFileFormsAreDropped)
{
    fldRegisterTypes();
    MemHandle h = withText(field(OBT_ENTRY, pxRect(10, 10, 300, 80)), "abc");
    MemHandle packet = qmfMakeFileRecord(h);
    obFreeTree(h);
    ASSERT_TRUE(packet);
    // Attribute bytes claiming more than the record holds.
    {
        MemLock<uint8_t> p(packet);
        utPutAt<uint16_t>(p.get(), 72 + 90, 500);
    }
    MemHandle out = 0;
    uint16_t flags[7];
    EXPECT_EQ(QMF_RECORD_DROPPED, qmfRecordFromFile(packet, &out, flags));
    EXPECT_EQ(0u, out);
    utFreeHandle(packet);
    EXPECT_EQ(1u, boxes.count());
    boxes.clear();
}

}  // namespace
