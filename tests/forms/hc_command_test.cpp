// Command texts of push buttons and the rules for names of fields and
// objects.
#include "tests/forms/fld_kit.h"
#include "tests/model/pg_kit.h"
#include "forms/hc_button.h"
#include "support/help_file.h"
#include "support/ut_msg.h"

namespace {

using fldtest::FormTest;

std::string textOf(MemHandle h) { return pgtest::textOf(h); }

TEST(HyperCommands, TextForms)
{
    const struct {
        int code;
        const char *argument;
        const char *want;   // "<null>": no handle
    } cases[] = {
        {63, nullptr, "nextpage"},
        {64, "ignored", "prevpage"},
        {65, nullptr, "firstpage"},
        {66, nullptr, "lastpage"},
        {61, "3", "gopagenum 3"},
        {61, nullptr, "gopagenum"},
        {61, "", "gopagenum"},
        {62, "Intro", "gopagename Intro"},
        {40, "a.qm", "gofile a.qm"},
        {70, "a.qm\tIntro", "gofile a.qm\tIntro"},
        {71, "a.qm\t3", "gofile a.qm\t3"},
        {20, "b.qm", "openfile b.qm"},
        {73, "b.qm\tx", "openfile b.qm\tx"},
        {74, "b.qm\t2", "openfile b.qm\t2"},
        {101, "ding.wav", "play ding.wav"},
        {100, "notepad a.txt", "sys notepad a.txt"},
        {102, "5", "slideshow 5"},
        {46, "now", "close now"},
        {21, "x", "exit"},
        {0, "x", "<null>"},
        {22, "nextpage", "<null>"},
        {99, nullptr, "<null>"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.want, textOf(hcBuildCommandText(c.code, c.argument))) << c.code;
    EXPECT_STREQ("Go To File, Page Number", hcCommandDisplayName(71));
    EXPECT_EQ(nullptr, hcCommandDisplayName(22));
}

TEST_F(FormTest, ButtonCommandForScripts)
{
    MemHandle h = fldtest::button(RECT{0, 0, 1440, 720});
    { ObLock r(h); btnPart(r.get())->command = 63; }
    EXPECT_EQ("<null>", textOf(hcGetButtonCommand(h))) << "no argument record";
    const char lines[] = "gopagenum 2\nbeep";
    h = hcSetButtonAttr(h, BTN_TAG_ARGUMENT, lines, (int)sizeof lines);
    ASSERT_NE(0u, h);
    EXPECT_EQ("nextpage", textOf(hcGetButtonCommand(h)));
    { ObLock r(h); btnPart(r.get())->command = 22; }
    EXPECT_EQ(lines, textOf(hcGetButtonCommand(h)));
    { ObLock r(h); btnPart(r.get())->command = 71; }
    const char file[] = "a.qm\t3";
    h = hcSetButtonAttr(h, BTN_TAG_ARGUMENT, file, (int)sizeof file);
    EXPECT_EQ("gofile a.qm\t3", textOf(hcGetButtonCommand(h)));
    obFreeTree(h);
}

TEST(FieldNames, CharacterRules)
{
    for (const char *good : {"ab12", "a_b", "Total", "x", "_1"})
        EXPECT_EQ(1, hcIsValidName(good)) << good;
    for (const char *bad : {"1ab", "a b", "a.b", "a|b", "a-b", "a=b", "a,b", "a+b", "a*b", "a/b",
                            "a!b", "9"})
        EXPECT_EQ(0, hcIsValidName(bad)) << bad;
}

std::vector<std::string> g_help;

class NameChecks : public ::testing::Test {
protected:
    void SetUp() override
    {
        form_ = fmNew();
        MemHandle page = pgtest::newPage("one");
        total_ = pgtest::addObject(page, "Total");
        pgtest::addObject(page, nullptr);
        other_ = pgtest::addObject(page, "Other");
        pgDirAppend(form_, page);
        fmSetCurrentPage(form_, 0);
        ws_ = new pgtest::Workspace(form_);
        utGetHelpFile(helpFile_);
        utSetHelpFile("ridevi.hlp");
        g_help.clear();
        utSetHelpHook([](const UtHelpCall &c) { g_help.push_back(c.keyword ? c.keyword : ""); });
        appName_ = utGetAppName();
        utSetAppName(nullptr, "Quillmark Draw");
    }
    void TearDown() override
    {
        utSetHelpHook(nullptr);
        utSetHelpFile(helpFile_);
        utSetAppName(nullptr, appName_.c_str());
        delete ws_;
        fmFree(form_);
    }
    MemHandle form_ = 0, total_ = 0, other_ = 0;
    pgtest::Workspace *ws_ = nullptr;
    char helpFile_[MAX_PATH] = "";
    std::string appName_;
};

TEST_F(NameChecks, NewNames)
{
    qmtest::BoxRecorder boxes;
    EXPECT_EQ(0, hcValidateFieldName(*ws_, nullptr, ""));
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ(0, hcValidateFieldName(*ws_, nullptr, "total"));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("The name: total  has been used by other object.  Please change.", boxes.last().text);
    EXPECT_EQ("Quillmark Draw Message", boxes.last().caption);
    boxes.answer(IDYES);
    EXPECT_EQ(0, hcValidateFieldName(*ws_, nullptr, "1x"));
    ASSERT_EQ(2u, boxes.count());
    EXPECT_EQ("Field name contains invalid characters. Want help?", boxes.last().text);
    EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), boxes.last().flags);
    EXPECT_EQ(std::vector<std::string>{"Field Name Convention"}, g_help);
    boxes.answer(IDNO);
    EXPECT_EQ(0, hcValidateFieldName(*ws_, nullptr, "a b"));
    EXPECT_EQ(1u, g_help.size()) << "No shows no help";
    EXPECT_EQ(1, hcValidateFieldName(*ws_, nullptr, "Fresh"));
    EXPECT_EQ(3u, boxes.count());
}

TEST_F(NameChecks, NamesOfEditedObjects)
{
    qmtest::BoxRecorder boxes;
    EXPECT_EQ(1, hcCheckObjectName(*ws_, nullptr, total_, "Total"));
    EXPECT_EQ(1, hcCheckObjectName(*ws_, nullptr, total_, "TOTAL"));
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ(0, hcCheckObjectName(*ws_, nullptr, other_, "Total"));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("The name: Total  has been used by other object.  Please change.", boxes.last().text);
    EXPECT_EQ(0, hcCheckObjectName(*ws_, nullptr, total_, "a b"));
    ASSERT_EQ(2u, boxes.count());
    EXPECT_EQ("Field name contain invalid characters.", boxes.last().text);
    EXPECT_EQ((UINT)MB_ICONHAND, boxes.last().flags & MB_ICONMASK);
    EXPECT_EQ("Quillmark Draw Message", boxes.last().caption);
    EXPECT_EQ(0, hcCheckObjectName(*ws_, nullptr, total_, ""));
    EXPECT_EQ(2u, boxes.count());
    // The edited object's own name is refused for a new field.
    EXPECT_EQ(0, hcValidateFieldName(*ws_, nullptr, "Total"));
}

}  // namespace
