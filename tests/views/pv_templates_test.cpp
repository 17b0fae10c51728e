// The page-template collection: seeded from the control file on first use,
// the missing control file told once, and a template page's objects taken
// into a new page through the sheet's Template page.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "tests/support/kit_dialog.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/qmf_save.h"
#include "model/qmf_write.h"
#include "model/qmf_header.h"
#include "model/ob_record.h"
#include "views/pv_layout_sheet.h"
#include "views/pv_templates.h"
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;

class Templates : public apptest::App {
protected:
    // The program runs (the home folder known); the collection it opened is
    // closed and removed, so each test opens it for the first time.
    void SetUp() override
    {
        App::SetUp();
        writeSettings(false);
        ASSERT_TRUE(start());
        tmplCloseCollection();
        DeleteFileA(home.file("~iwtmpl.fav").c_str());
    }
    void TearDown() override
    {
        tmplCloseCollection();
        App::TearDown();
    }
    std::string names()
    {
        char buffer[512];
        tmplListNames(buffer, sizeof(buffer));
        return buffer;
    }
    // A document file of one page holding `objects` rectangles.
    void writeTemplate(const std::string &path, int objects)
    {
        MemHandle form = pgNewDocument(TRUE);
        ASSERT_TRUE(form);
        MemHandle page = pgDirGetPages(fmGetDirectory(form), 0);
        for (int i = 0; i < objects; ++i)
            pgtest::addObject(page, nullptr, i * 10, 0, i * 10 + 5, 5);
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, f);
        EXPECT_EQ((int)sizeof(FileHeader), (int)qmfWriteHeader(f, "FORM"));
        EXPECT_NE(0, (int)qmfWriteForm(f, form));
        EXPECT_NE(0, (int)qmfWritePage(f, page));
        CloseHandle(f);
        fmFree(form);
    }
};

TEST_F(Templates, FirstOpenSeedsEveryListedTemplateThatExists)
{
    writeTemplate(home.file("one.qm"), 1);
    writeTemplate(home.file("two.qm"), 2);
    qmtest::writeFile(home.file("~qmtmpl.dat"),
                      std::string("[defaulttmpl]\r\nOne::one.qm\r\nnoseparator\r\n"
                                  "Gone::gone.qm\r\nTwo::two.qm\r\n"));
    BoxRecorder boxes;
    ASSERT_NE(0, tmplOpenCollection(nullptr, home.file("~iwtmpl.fav").c_str()));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ("One\nTwo\n", names());
    char path[MAX_PATH];
    ASSERT_TRUE(tmplGetPath("two", path, sizeof(path)));
    EXPECT_EQ(home.file("two.qm"), path);
    // Opened again, the file is kept as it is.
    tmplCloseCollection();
    ASSERT_NE(0, tmplOpenCollection(nullptr, home.file("~iwtmpl.fav").c_str()));
    EXPECT_EQ("One\nTwo\n", names());
}

TEST_F(Templates, AMissingControlFileIsToldOnceAndTheCollectionStaysEmpty)
{
    DeleteFileA(home.file("~qmtmpl.dat").c_str());
    BoxRecorder boxes;
    ASSERT_NE(0, tmplOpenCollection(nullptr, home.file("~iwtmpl.fav").c_str()));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("You are missing a template control file.  It is still OK to continue",
              boxes.last().text);
    EXPECT_EQ(UINT(MB_ICONINFORMATION), boxes.last().flags & MB_ICONMASK);
    tmplCloseCollection();
    ASSERT_NE(0, tmplOpenCollection(nullptr, home.file("~iwtmpl.fav").c_str()));
    EXPECT_EQ(1u, boxes.count());
    EXPECT_EQ("", names());
}

TEST_F(Templates, ANewPageFromATemplateCarriesItsObjects)
{
    writeTemplate(home.file("three.qm"), 3);
    qmtest::writeFile(home.file("~qmtmpl.dat"), std::string("[defaulttmpl]\r\nThree::three.qm\r\n"));
    ASSERT_NE(0, tmplOpenCollection(nullptr, home.file("~iwtmpl.fav").c_str()));
    pvSetLayoutSheetHook(nullptr);
    qmtest::DialogDriver driver({[](HWND sheet) {
        SendMessageA(sheet, PSM_SETCURSEL, 5, 0);
        HWND page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        qmtest::chooseItemText(page, 101, "Three");
        SendMessageA(page, WM_COMMAND, TMPL_PAGE_PICKED, 0);   // the grid's pick
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    }});
    MemHandle page = pgNewRecordByDialog(0, "New Page");
    ASSERT_NE(0u, page);
    int count = 0;
    for (MemHandle h = pgGetFirstObject(page); h; ++count) {
        ObLock r(h);
        h = r->next;
    }
    EXPECT_EQ(3, count);
    pgFreeList(page);
}

TEST_F(Templates, TheChooserTakesDroppedDocumentsAndAnswersItsCodes)
{
    writeTemplate(home.file("four.qm"), 4);
    qmtest::writeFile(home.file("notes.txt"), std::string("plain text"));
    ASSERT_NE(0, tmplOpenCollection(nullptr, home.file("~iwtmpl.fav").c_str()));
    BoxRecorder boxes;
    std::vector<std::string> listed;
    qmtest::DialogDriver driver({[&](HWND dlg) {
        POINT pt = {5, 5};
        SendMessageA(dlg, WM_DROPFILES,
                     (WPARAM)apptest::dropFilesBlock({home.file("notes.txt"), home.file("four.qm")},
                                                     pt),
                     0);
        listed = qmtest::readList(dlg, 101);
        SendMessageA(dlg, WM_COMMAND, TMPL_PAGE_PICKED, 0);   // the grid's pick acts as OK
    }});
    int code = -1;
    MemHandle page = tmplSelectDialog(nullptr, &code);
    EXPECT_EQ(2, code);
    ASSERT_NE(0u, page);
    int count = 0;
    for (MemHandle h = pgGetFirstObject(page); h; ++count) {
        ObLock r(h);
        h = r->next;
    }
    EXPECT_EQ(4, count);
    pgFreeList(page);
    EXPECT_EQ(std::vector<std::string>({"four"}), listed);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Can not add \r\n" + home.file("notes.txt") +
                  " \r\nbecause it is not a Quillmark file.",
              boxes.last().text);

    for (int button : {119, IDCANCEL}) {
        qmtest::DialogDriver again({[&](HWND dlg) { qmtest::sendCommand(dlg, button); }});
        EXPECT_EQ(0u, tmplSelectDialog(nullptr, &code));
        EXPECT_EQ(button == 119 ? 1 : 0, code);
    }
}

}  // namespace
