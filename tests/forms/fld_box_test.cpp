// Entry field boxes: heights from the font and the number of lines, widths
// from the characters, the field text laid out through a temporary text
// object, the vertical-text switch and linked file references.
#include "tests/forms/fld_kit.h"
#include "forms/ent_field.h"
#include "forms/fld_box.h"
#include "model/att_field.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "support/gdi_font.h"
#include "support/ut_path.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_stream.h"
#include <string>

using namespace fldtest;

namespace {

// A field with the font height and 10 characters.
MemHandle field(int16_t type, const RECT &r, int32_t fontHeight = -240, uint32_t flags = 0)
{
    MemHandle h = entryField(type, r, 3, flags);
    ObLock rec(h);
    entPart(rec.get())->font = font(fontHeight);
    entPart(rec.get())->maxChars = 10;
    return h;
}

// The line height of a font on the measuring context of the fields.
int32_t lineHeightOf(int32_t fontHeight, int32_t *average = nullptr)
{
    LOGFONTA lf = font(fontHeight);
    HDC dc = txGetMeasureDC(nullptr, TRUE);
    int32_t line = 0, avg = 0;
    gdiFontMetrics(dc, &lf, &avg, nullptr, nullptr, &line, nullptr);
    txReleaseMeasureDC(nullptr, dc, TRUE);
    if (average)
        *average = avg;
    return line;
}

int32_t heightOf(MemHandle h)
{
    RECT r;
    obGetRect(h, &r);
    return r.bottom - r.top;
}

// The field's text, codes and all.
std::string text(MemHandle h)
{
    MemHandle copy = attGetShapeAttrCopy(h, ATT_FIELD_TEXT);
    std::string out;
    {
        MemLock<char> s(copy);
        if (s)
            out.assign(s.get(), (size_t)txstrnlen(s.get(), (int32_t)utHandleSize(copy)));
    }
    utFreeHandle(copy);
    return out;
}

class FieldBox : public FormTest {};

}  // namespace

TEST_F(FieldBox, SingleLineHeightsFollowTheFont)
{
    // A font whose line height is 240 makes a 400-high single-line field.
    int32_t height240 = 0;
    for (int32_t h = -140; h >= -260 && !height240; --h)
        if (lineHeightOf(h) == 240)
            height240 = h;
    for (int32_t fontHeight : {-180, -240, -300, height240}) {
        if (!fontHeight)
            continue;
        SCOPED_TRACE(fontHeight);
        MemHandle h = field(OBT_ENTRY, RECT{1000, 2000, 4000, 5000}, fontHeight);
        EXPECT_EQ(1, obFitSingleLineField(h));
        RECT r;
        obGetRect(h, &r);
        EXPECT_EQ(2000, r.top);
        EXPECT_EQ(lineHeightOf(fontHeight) + 160, r.bottom - r.top);
        if (fontHeight == height240) {
            EXPECT_EQ(400, r.bottom - r.top);
        }
        obFreeTree(h);
    }
    // A multi-line field is no single-line field.
    MemHandle multi = field(OBT_ENTRY, RECT{0, 0, 3000, 3000}, -240, ENT_MULTILINE);
    EXPECT_EQ(0, obFitSingleLineField(multi));
    EXPECT_EQ(3000, heightOf(multi));
    obFreeTree(multi);
}

TEST_F(FieldBox, WidthFromTheCharactersAndTheTextBox)
{
    int32_t average = 0;
    lineHeightOf(-240, &average);
    ASSERT_GT(average, 0);
    MemHandle h = field(OBT_ENTRY, RECT{0, 0, 100, 100});
    EXPECT_EQ(1, obSizeSingleLineField(h));
    RECT r;
    obGetRect(h, &r);
    // 10 characters at an average width of 120 would be 1800 wide.
    EXPECT_EQ(10 * average * 3 / 2, r.right - r.left);
    obFreeTree(h);

    EntryFieldPart part = {};
    part.font = font(-240);
    RECT box = {100, 200, 0, 0};
    obTextBoxSize(&part, 16, &box);
    EXPECT_EQ(100 + 16 * average, box.right);
    EXPECT_EQ(200 + obFieldLineHeight(&part), box.bottom);
    EXPECT_EQ(lineHeightOf(-240) + 160, obFieldLineHeight(&part));
}

TEST_F(FieldBox, LinesSetAndCounted)
{
    MemHandle h = field(OBT_ENTRY, RECT{0, 0, 3000, 600}, -240, ENT_MULTILINE);
    const int32_t advance = 240 + 80;   // |height| + |height| / 3
    EXPECT_EQ(1, obSetFieldLines(h, 3));
    EXPECT_EQ(3 * advance + 160, heightOf(h));
    EXPECT_EQ(3, obGetFieldLines(h));
    EXPECT_EQ(0, obSetFieldLines(h, 3)) << "no change the second time";
    obFreeTree(h);

    // 0 lines count as one: a single line's height; a single-line field
    // always gets one line.
    for (int n : {0, 4}) {
        MemHandle single = field(OBT_ENTRY, RECT{0, 0, 3000, 3000});
        EXPECT_EQ(1, obSetFieldLines(single, n));
        EXPECT_EQ(lineHeightOf(-240) + 160, heightOf(single));
        EXPECT_EQ(1, obGetFieldLines(single));
        obFreeTree(single);
    }

    // The frame kinds change the margin.
    const struct {
        uint16_t frame;
        int32_t want;
    } frames[] = {{1, 1000 + 160}, {4, 2000}, {13, 2000}, {0, 1000 + 160}};
    for (const auto &f : frames) {
        MemHandle m = field(OBT_ENTRY, RECT{0, 0, 3000, 3000});
        {
            ObLock r(m);
            entPart(r.get())->frameStyle = f.frame;
        }
        EXPECT_EQ(f.want, obFieldHeightForText(m, 1000)) << f.frame;
        obFreeTree(m);
    }
}

TEST_F(FieldBox, GroupsRefitAroundTheirFields)
{
    MemHandle a = field(OBT_ENTRY, RECT{0, 0, 2000, 3000});
    MemHandle b = field(OBT_ENTRY, RECT{0, 4000, 2000, 9000});
    MemHandle group = obNewGroup(OBT_GROUP, a, b, (MemHandle)0);
    ASSERT_NE(0u, group);
    obTreeFitSingleLineFields(group);
    RECT r;
    obGetRect(group, &r);
    EXPECT_LE(r.top, 0);
    EXPECT_GT(r.top, -50);
    EXPECT_GE(r.bottom, 4000 + lineHeightOf(-240) + 160);
    EXPECT_LT(r.bottom, 5000) << "the group shrank to its fields";
    obFreeTree(group);
}

TEST_F(FieldBox, ReflowMakesTheBoxTallerAndFreesItsTemporaryText)
{
    std::string words;
    for (int i = 0; i < 30; ++i)
        words += "words ";
    MemHandle h = field(OBT_ENTRY, RECT{0, 0, 2000, 600}, -240, ENT_MULTILINE);
    h = obSetShapeAttr(h, ATT_FIELD_TEXT, words.c_str(), (int)words.size() + 1);
    ASSERT_NE(0u, h);
    const long before = qmtest::liveHandles();
    MemHandle after = obReflowAttachedText(nullptr, h);
    ASSERT_NE(0u, after);
    EXPECT_TRUE(utIsLiveHandle(after));
    if (after != h) {
        EXPECT_FALSE(utIsLiveHandle(h)) << "a new handle only when the record moved";
    }
    EXPECT_EQ(before, qmtest::liveHandles()) << "the temporary text object is freed";
    EXPECT_GT(heightOf(after), 2000) << "the box grew to the text";
    EXPECT_NE(std::string::npos, text(after).find("words"));
    // The laid-out text is drawn line under line, down the taller box.
    Page page(200, 300);
    entDrawHandle(page.dc(), after);
    const int rows = heightOf(after) / 15;
    EXPECT_GT(page.countDark(RECT{0, 2, 133, 20}), 0) << "the first line";
    EXPECT_GT(page.countDark(RECT{0, rows - 40, 133, rows - 5}), 0) << "the last lines";
    // The temporary object on its own.
    MemHandle tmp = obFieldMakeTextObject(after);
    ASSERT_NE(0u, tmp);
    EXPECT_EQ(OBT_TEXT, obGetType(tmp));
    obFreeTree(tmp);
    EXPECT_EQ(0, obFitFieldToText(after)) << "it fits now";
    obFreeTree(after);

    // A field without text is left; other types too.
    MemHandle empty = field(OBT_ENTRY, RECT{0, 0, 2000, 600});
    EXPECT_EQ(empty, obReflowAttachedText(nullptr, empty));
    EXPECT_EQ(600, heightOf(empty));
    obFreeTree(empty);
}

TEST_F(FieldBox, FlagsColumnsAndTypes)
{
    MemHandle h = field(OBT_ENTRY, RECT{0, 0, 3000, 500});
    {
        ObLock r(h);
        EntryFieldPart *p = entPart(r.get());
        p->frameStyle = 9;
        p->frameValue = 6u << 16;
        p->carried = 5;
    }
    EXPECT_EQ(500, obFieldColumnWidth(h));
    EXPECT_TRUE(obFieldIsNumeric(h));
    EXPECT_FALSE(obFieldHasTag4(h));
    {
        ObLock r(h);
        entPart(r.get())->frameStyle = 1;
        entPart(r.get())->tagMask |= ENT_TAG_EQUATION;
    }
    EXPECT_EQ(0, obFieldColumnWidth(h));
    EXPECT_TRUE(obFieldHasTag4(h));
    obFreeTree(h);
    MemHandle eq = field(OBT_EQUATION, RECT{0, 0, 100, 100});
    EXPECT_TRUE(obFieldHasTag4(eq));
    obFreeTree(eq);

    EntryFieldPart part = {};
    obFieldSetFlag20(&part, TRUE);
    EXPECT_EQ(0x20u, part.listFlags);
    obFieldSetFlag20(&part, FALSE);
    EXPECT_EQ(0u, part.listFlags);
    part.dataType = 4;
    part.flags = 0x10000001;
    part.align = 4;
    EXPECT_TRUE(obFieldIsSpacedNumber(&part));
    part.align = 8;
    EXPECT_FALSE(obFieldIsSpacedNumber(&part));
}

TEST_F(FieldBox, VerticalTextNeedsAVerticalFace)
{
    TextHeader th = {};
    th.lf = font(-240);
    EXPECT_EQ(0, obSetVerticalText(&th, TRUE)) << "Arial is no vertical face";
    EXPECT_EQ(2700, th.lf.lfEscapement);
    EXPECT_TRUE(th.flags & TXF_VERTICAL);
    EXPECT_FALSE(obIsVerticalText(&th));
    EXPECT_EQ(0, obSetVerticalText(&th, FALSE));
    EXPECT_EQ(0, th.lf.lfEscapement);
    EXPECT_FALSE(th.flags & TXF_VERTICAL);
}

TEST_F(FieldBox, LinkedFileReferences)
{
    qmtest::TempDir dir;
    MemHandle file = 0, section = 0;
    ASSERT_EQ(1, obSplitFileRef(dir.path().c_str(), "data.dat,Sheet", &file, &section));
    {
        MemLock<char> f(file), s(section);
        EXPECT_STREQ(dir.file("data.dat").c_str(), f.get());
        EXPECT_STREQ("Sheet", s.get());
    }
    utFreeHandle(file);
    utFreeHandle(section);

    const struct {
        const char *base;
        const char *text;
        const char *file;
        const char *section;
        int result;
    } cases[] = {
        {"C:\\base", "list.txt\n [Names] ", "C:\\base\\list.txt", "Names", 1},
        // Blanks inside the brackets belong to the section's name.
        {"C:\\base", "list.txt\n[ Names ]", "C:\\base\\list.txt", " Names ", 1},
        {"C:\\base", "D:\\other\\list.txt", "D:\\other\\list.txt", nullptr, 1},
        {nullptr, "list.txt,Part", "list.txt", "Part", 1},
        {"C:\\base", "", nullptr, nullptr, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.result, obSplitFileRef(c.base, c.text, &file, &section));
        if (c.file) {
            MemLock<char> f(file);
            EXPECT_STREQ(c.file, f.get());
        } else {
            EXPECT_EQ(0u, file);
        }
        if (c.section) {
            MemLock<char> s(section);
            EXPECT_STREQ(c.section, s.get());
        } else {
            EXPECT_EQ(0u, section) << "no comma, no section";
        }
        utFreeHandle(file);
        utFreeHandle(section);
    }

    MemHandle joined = obJoinLines("file.txt", " [Sheet 1] ");
    {
        MemLock<char> j(joined);
        EXPECT_STREQ("file.txt\nSheet 1", j.get());
    }
    utFreeHandle(joined);
    joined = obJoinLines("file.txt", "");
    {
        MemLock<char> j(joined);
        EXPECT_STREQ("file.txt", j.get());
    }
    utFreeHandle(joined);
}
