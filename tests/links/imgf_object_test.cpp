// The image file object: its record, its drawing on real pixels, its size
// taken from the picture, the change of its link through "FNSEL_A", and
// linked document pages with their password.
#include "tests/links/links_kit.h"
#include "tests/model/pg_kit.h"
#include "tests/support/kit_dialog.h"
#include "links/doc_names.h"
#include "links/imgf_kind.h"
#include "links/imgf_object.h"
#include "model/ob_draw.h"
#include "model/qmf_read.h"
#include "model/qmf_save.h"
#include "support/dm_map.h"
#include "support/help_file.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "support/win_filedlg.h"

namespace {

using qmtest::BoxRecorder;
using qmtest::TempDir;

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);

ImageFileData dataHead(MemHandle h)
{
    ObLock r(h);
    ImageFileData d = {};
    if (ImageFileData *p = imgfRecData(r.get(), r.extent()))
        d = *p;
    return d;
}

void editData(MemHandle h, const std::function<void(ImageFileData *)> &edit)
{
    ObLock r(h);
    ImageFileData *d = imgfRecData(r.get(), r.extent());
    ASSERT_NE(nullptr, d);
    edit(d);
}

std::vector<std::string> g_help;

class ImageFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form_ = fmNew();
        doc_ = dir_.file("x.qm");
        fmSetFilePath(form_, doc_.c_str());
        ws_ = new pgtest::Workspace(form_);
        ASSERT_TRUE(lnktest::writePicture(dir_.file("pic.png"), 96, 48,
                                          [](int) { return kRed; }));
        g_help.clear();
        utGetHelpFile(helpFile_);
        utSetHelpFile("ridevi.hlp");
        utSetHelpHook([](const UtHelpCall &call) { g_help.push_back(call.keyword ? call.keyword : ""); });
    }
    void TearDown() override
    {
        utSetHelpHook(nullptr);
        utSetHelpFile(helpFile_);
        delete ws_;
        fmFree(form_);
    }
    // An object over the twips rectangle naming the file, with insets.
    MemHandle object(const char *name, RECT r, int16_t inset = 0)
    {
        MemHandle h = imgfSetFileName(0, name);
        obSetRect(h, &r);
        editData(h, [&](ImageFileData *d) { d->insetX = d->insetY = inset; });
        return h;
    }
    // Draws the object into a white page mapped at 15 twips to the pixel,
    // as the workspace's paint pass does.
    void draw(qmtest::Dib &page, MemHandle h)
    {
        dmSetMapping(page.dc());
        obDrawList(*ws_, page.dc(), h, nullptr);
    }
    TempDir dir_;
    char helpFile_[MAX_PATH] = "";
    std::string doc_;
    MemHandle form_ = 0;
    pgtest::Workspace *ws_ = nullptr;
};

TEST_F(ImageFileTest, RecordSizesAndLengthsAgree)
{
    MemHandle h = imgfSetFileName(0, "pic.png");
    {
        ObLock r(h);
        EXPECT_EQ(120u + 8u, r->length);
        EXPECT_EQ(OBT_IMAGE_FILE, r->type);
        EXPECT_EQ(34u + 8u, dataHead(h).length);
    }
    h = obSetName(h, "Imgf001");
    h = imgfSetFileName(h, "other\\longer.png");
    ASSERT_NE(0u, h);
    ObLock r(h);
    const uint32_t nameSize = (uint32_t)strlen("other\\longer.png") + 1;
    EXPECT_EQ(86u + r->nameLength + 34u + nameSize, r->length);
    EXPECT_EQ(34u + nameSize, imgfRecData(r.get(), r.extent())->length);
    char name[UT_PATH_SIZE];
    EXPECT_EQ((int)nameSize - 1, imgfRecFileName(r.get(), r.extent(), name, sizeof name));
    EXPECT_STREQ("other\\longer.png", name);
    char big[300];
    memset(big, 'a', sizeof big - 1);
    big[sizeof big - 1] = 0;
    EXPECT_EQ(0u, imgfSetFileName(0, big)) << "a name of 260 characters or more";
    obFreeTree(h);
}

TEST_F(ImageFileTest, HeadOnlyRecordTakesAName)
{
    MemHandle h = obNewRecord(kObHeadSize);
    { ObLock r(h); r->type = OBT_IMAGE_FILE; }
    char name[UT_PATH_SIZE];
    EXPECT_EQ(0, imgfGetFileName(h, name));
    h = imgfSetFileName(h, "pic.png");
    ASSERT_NE(0u, h);
    EXPECT_EQ(7, imgfGetFileName(h, name));
    EXPECT_STREQ("pic.png", name);
    EXPECT_EQ(0, dataHead(h).flags);
    obFreeTree(h);
}

TEST_F(ImageFileTest, NameIsBoundedByTheTypeData)
{
    // The stated type data ends before the name's terminator: no name, and
    // the placeholder is drawn.
    MemHandle h = object("pic.png", RECT{300, 300, 1740, 1020});
    editData(h, [](ImageFileData *d) { d->length = 34 + 3; });
    char name[UT_PATH_SIZE];
    EXPECT_EQ(0, imgfGetFileName(h, name));
    EXPECT_EQ(0, imgfGetFileKind(ObLock(h).get()));
    editData(h, [](ImageFileData *d) { d->length = 34; });
    EXPECT_EQ(0, imgfGetFileName(h, name));
    qmtest::Dib page(150, 100);
    draw(page, h);
    EXPECT_LT(page.count(kRed), 96 * 48 / 10) << "no picture";
    EXPECT_GT(page.count(RGB(128, 128, 128)), 0) << "the placeholder's frame";
    obFreeTree(h);
}

TEST_F(ImageFileTest, SavedAndReopenedKeepsItsTypeData)
{
    MemHandle h = object("pic.png", RECT{300, 300, 1740, 1020}, 150);
    editData(h, [](ImageFileData *d) {
        d->flags = IMGF_CROP | IMGF_TRANSPARENT;
        d->cropLeft = 10;
        d->cropRight = 11;
        d->cropTop = 2;
        d->cropBottom = 3;
        d->insetY = 75;
        d->transparent = RGB(1, 2, 3);
        d->mapping = 2;
    });
    const std::vector<uint8_t> before = obtest::dataOf(h);
    MemHandle form = fmNew();
    MemHandle page = pgtest::newPage("one");
    pgAppendObject(page, h);
    pgDirAppend(form, page);
    const std::string path = dir_.file("saved.qm");
    BoxRecorder boxes;
    ASSERT_EQ(1, qmfSaveDocument(nullptr, path.c_str(), form, FALSE, FALSE)) << boxes.texts();
    fmFree(form);
    MemHandle read = 0;
    MemHandle back = qmfOpenDocument(nullptr, path.c_str(), 0, &read);
    ASSERT_NE(0u, back) << boxes.texts();
    MemHandle o = pgGetFirstObject(read);
    ASSERT_NE(0u, o);
    EXPECT_EQ(OBT_IMAGE_FILE, obGetType(o));
    EXPECT_EQ(before, obtest::dataOf(o));
    fmFree(back);
}

TEST_F(ImageFileTest, DrawsThePictureInsideTheInset)
{
    // 96 x 48 pixels at 15 twips each, inset 10 pixels.
    MemHandle h = object("pic.png", RECT{300, 300, 300 + 1740, 300 + 1020}, 150);
    qmtest::Dib page(200, 120);
    draw(page, h);
    const RECT inner = {31, 31, 125, 77}, insetBand = {21, 21, 29, 79};
    EXPECT_EQ((inner.right - inner.left) * (inner.bottom - inner.top), page.count(kRed, inner));
    EXPECT_EQ(0, page.count(kRed, insetBand)) << "the inset stays clear";
    obFreeTree(h);
}

TEST_F(ImageFileTest, CropShowsThePicturesMiddle)
{
    ASSERT_TRUE(lnktest::writePicture(dir_.file("bands.png"), 96, 48, [](int x) {
        return x < 10 ? kGreen : x >= 86 ? kBlue : kRed;
    }));
    MemHandle h = object("bands.png", RECT{300, 300, 300 + 1440, 300 + 720});
    qmtest::Dib plain(150, 100);
    draw(plain, h);
    EXPECT_GT(plain.count(kGreen), 0);
    EXPECT_GT(plain.count(kBlue), 0);
    editData(h, [](ImageFileData *d) {
        d->flags = IMGF_CROP;
        d->cropLeft = 10;
        d->cropRight = 10;
    });
    qmtest::Dib cropped(150, 100);
    draw(cropped, h);
    const RECT inner = {21, 21, 115, 67};
    EXPECT_EQ(0, cropped.count(kGreen));
    EXPECT_EQ(0, cropped.count(kBlue));
    EXPECT_EQ((inner.right - inner.left) * (inner.bottom - inner.top), cropped.count(kRed, inner));
    obFreeTree(h);
}

TEST_F(ImageFileTest, TransparentColourLetsTheBackgroundThrough)
{
    MemHandle h = object("pic.png", RECT{300, 300, 300 + 1440, 300 + 720});
    EXPECT_EQ(0, imgfGetTransparent(h, nullptr));
    EXPECT_EQ(1, imgfSetTransparent(h, kRed, TRUE));
    EXPECT_EQ(0, imgfSetTransparent(h, kRed, TRUE)) << "nothing changed";
    COLORREF c = 0;
    EXPECT_EQ(1, imgfGetTransparent(h, &c));
    EXPECT_EQ(kRed, c);
    qmtest::Dib page(150, 100, kGreen);
    draw(page, h);
    EXPECT_EQ(0, page.count(kRed));
    const RECT inner = {21, 21, 115, 67};
    EXPECT_EQ((inner.right - inner.left) * (inner.bottom - inner.top), page.count(kGreen, inner));
    EXPECT_EQ(1, imgfSetTransparent(h, 0, FALSE));
    EXPECT_EQ(0u, dataHead(h).transparent);
    obFreeTree(h);
}

TEST_F(ImageFileTest, MissingFileDrawsThePlaceholder)
{
    MemHandle h = object("gone.png", RECT{300, 300, 300 + 1440, 300 + 720});
    qmtest::Dib page(150, 100);
    draw(page, h);
    EXPECT_LT(page.count(kRed), 96 * 48 / 10) << "no picture";
    EXPECT_GT(page.count(RGB(128, 128, 128), RECT{19, 19, 118, 70}), 20);
    int32_t w = 1, ht = 1;
    EXPECT_EQ(0, imgfGetImageSize(*ws_, h, &w, &ht));
    EXPECT_EQ(0, w);
    EXPECT_EQ(0, ht);
    obFreeTree(h);
}

TEST_F(ImageFileTest, SizesToThePictureAroundItsCentre)
{
    MemHandle h = object("pic.png", RECT{1000, 2000, 3000, 3000}, 30);
    int32_t w, ht;
    ASSERT_EQ(1, imgfGetImageSize(*ws_, h, &w, &ht));
    EXPECT_EQ(96, w);
    EXPECT_EQ(48, ht);
    ASSERT_EQ(1, imgfSizeToImage(*ws_, h, 1));
    RECT r;
    obGetRect(h, &r);
    EXPECT_EQ(1440 + 60, r.right - r.left);
    EXPECT_EQ(720 + 60, r.bottom - r.top);
    EXPECT_EQ(2000, (r.left + r.right) / 2);
    EXPECT_EQ(2500, (r.top + r.bottom) / 2);
    EXPECT_EQ(1, dataHead(h).mapping);
    EXPECT_EQ(1, imgfGetSizeMapping(*ws_, h));
    RECT other = {0, 0, 500, 500};
    obSetRect(h, &other);
    EXPECT_EQ(0, imgfGetSizeMapping(*ws_, h));
    obFreeTree(h);
}

TEST_F(ImageFileTest, NamesMadeRelativeAndMoved)
{
    const std::string full = dir_.file("pic.png");
    MemHandle h = object(full.c_str(), RECT{0, 0, 100, 100});
    EXPECT_EQ(1, imgfMakeNameRelative(*ws_, h));
    char name[UT_PATH_SIZE];
    imgfGetFileName(h, name);
    EXPECT_STREQ("pic.png", name);
    EXPECT_EQ(0, imgfMakeNameRelative(*ws_, h)) << "already relative";
    std::string folder = dir_.path() + "\\";
    std::string upper = folder;
    for (char &c : upper)
        c = (char)toupper((unsigned char)c);
    EXPECT_EQ(1, imgfReplaceFolder(*ws_, &h, upper.c_str(), "E:\\new\\", FALSE));
    imgfGetFileName(h, name);
    EXPECT_STREQ("E:\\new\\pic.png", name);
    EXPECT_EQ(0, imgfReplaceFolder(*ws_, &h, "F:\\other\\", "G:\\", FALSE));
    EXPECT_EQ(1, imgfReplaceFolder(*ws_, &h, "E:\\new\\", folder.c_str(), TRUE));
    imgfGetFileName(h, name);
    EXPECT_STREQ("pic.png", name);
    obFreeTree(h);
}

TEST_F(ImageFileTest, CreatesObjectsSizedToThePicture)
{
    RECT r = {0, 0, 300, 300};
    MemHandle h = imgfCreate(*ws_, &r, "pic.png", 1);
    ASSERT_NE(0u, h);
    EXPECT_EQ(1440, obGetWidth(h));
    EXPECT_EQ(720, obGetHeight(h));
    obFreeTree(h);
    MemHandle dwg = imgfCreate(*ws_, &r, "plan.dwg", 1);
    ASSERT_NE(0u, dwg);
    EXPECT_EQ(300, obGetWidth(dwg)) << "a drawing keeps the rectangle";
    obFreeTree(dwg);
    BoxRecorder boxes;
    const long live = qmtest::liveHandles();
    EXPECT_EQ(0u, imgfCreate(*ws_, &r, "gone.png", 1));
    EXPECT_EQ(live, qmtest::liveHandles());
}

TEST_F(ImageFileTest, CreatesDrawingsOverTheVisibleArea)
{
    RECT view;
    dmGetClientLogRect(*ws_, &view);
    MemHandle h = imgfCreateAt(*ws_, "plan.dwg", 2.0);
    ASSERT_NE(0u, h);
    RECT r;
    obGetRect(h, &r);
    EXPECT_EQ(std::max<LONG>(2880, view.right - view.left), r.right - r.left);
    EXPECT_EQ(std::max<LONG>(2880, view.bottom - view.top), r.bottom - r.top);
    EXPECT_LE(std::abs((r.left + r.right) / 2 - (view.left + view.right) / 2), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) / 2 - (view.top + view.bottom) / 2), 1);
    char name[UT_PATH_SIZE];
    imgfGetFileName(h, name);
    EXPECT_STREQ("plan.dwg", name);
    obFreeTree(h);
}

TEST_F(ImageFileTest, SameNameInOtherCaseChangesNothing)
{
    MemHandle h = object("PIC.png", RECT{0, 0, 100, 100});
    const std::vector<uint8_t> before = obtest::dataOf(h);
    const std::string typed = dir_.file("pic.png");
    BoxRecorder boxes;
    MemHandle current = h;
    {
        qmtest::DialogDriver driver({[&](HWND dlg) {
            qmtest::typeInto(dlg, 101, typed.c_str());
            EXPECT_EQ("pic.png", qmtest::itemText(dlg, 102));
            qmtest::pressButton(dlg, IDOK);
        }});
        EXPECT_EQ(0, imgfChooseAndLink(*ws_, &current, dir_.path().c_str(), 1));
    }
    EXPECT_EQ(h, current);
    EXPECT_EQ(before, obtest::dataOf(h));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    obFreeTree(h);
}

TEST_F(ImageFileTest, ChangedLinkSizesTheObject)
{
    ASSERT_TRUE(lnktest::writePicture(dir_.file("wide.png"), 192, 48, [](int) { return kBlue; }));
    MemHandle h = object("pic.png", RECT{0, 0, 1440, 720});
    const std::string typed = dir_.file("wide.png");
    BoxRecorder boxes;
    {
        qmtest::DialogDriver driver({[&](HWND dlg) {
            qmtest::typeInto(dlg, 101, typed.c_str());
            qmtest::pressButton(dlg, IDOK);
        }});
        EXPECT_EQ(1, imgfChooseAndLink(*ws_, &h, dir_.path().c_str(), 1));
    }
    char name[UT_PATH_SIZE];
    imgfGetFileName(h, name);
    EXPECT_STREQ("wide.png", name) << "kept relative";
    EXPECT_EQ(2880, obGetWidth(h));
    obFreeTree(h);
}

TEST_F(ImageFileTest, LinkDialogShowsTheRelativeNameAndAsksForMissingFiles)
{
    MemHandle form = fmNew();
    fmSetFilePath(form, "D:\\forms\\x.qm");
    pgtest::Workspace ws(form);
    BoxRecorder boxes;
    boxes.answer(IDCANCEL);
    std::string caption;
    DWORD selStart = 1, selEnd = 0;
    char name[UT_PATH_SIZE] = "";
    BOOL relative = TRUE;
    {
        qmtest::DialogDriver driver({
            [&](HWND dlg) {
                caption = qmtest::windowText(dlg);
                qmtest::typeInto(dlg, 101, "D:\\forms\\pic.png");
                EXPECT_EQ("pic.png", qmtest::itemText(dlg, 102));
                qmtest::pressButton(dlg, IDOK);
            },
            [&](HWND dlg) {
                SendDlgItemMessageA(dlg, 101, EM_GETSEL, (WPARAM)&selStart, (LPARAM)&selEnd);
                qmtest::pressButton(dlg, 120);
                qmtest::pressButton(dlg, IDCANCEL);
            },
        });
        EXPECT_EQ(0, imgfLinkDialog(ws, nullptr, name, nullptr, nullptr, nullptr, &relative));
    }
    EXPECT_EQ("Image File Link", caption);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Can not find \r\nD:\\forms\\pic.png\r\nSave it anyway?", boxes.last().text);
    EXPECT_EQ(0u, selStart);
    EXPECT_EQ(strlen("D:\\forms\\pic.png"), selEnd);
    EXPECT_EQ(std::vector<std::string>{"Image Frame Object"}, g_help);
    fmFree(form);
}

struct FileAsk {
    std::string caption, folder, filter, answer;
};
FileAsk g_fileAsk;

BOOL recordFileDialog(HWND, WinFileDlgRequest &request)
{
    g_fileAsk.caption = request.caption ? request.caption : "";
    g_fileAsk.folder = request.initialFolder ? request.initialFolder : "";
    for (const char *f = request.filter; f && *f; f += strlen(f) + 1)
        g_fileAsk.filter += std::string(f) + "|";
    strcpy(request.path, g_fileAsk.answer.c_str());
    return TRUE;
}

TEST_F(ImageFileTest, BrowseOffersPicturesFromTheBaseFolder)
{
    g_fileAsk = FileAsk();
    g_fileAsk.answer = dir_.file("pic.png");
    winSetFileDlgHook(recordFileDialog);
    char name[UT_PATH_SIZE] = "pic.png";
    BOOL relative = TRUE;
    std::string shown, rel;
    {
        qmtest::DialogDriver driver({[&](HWND dlg) {
            qmtest::pressButton(dlg, 100);
            shown = qmtest::itemText(dlg, 101);
            rel = qmtest::itemText(dlg, 102);
            qmtest::pressButton(dlg, IDOK);
        }});
        EXPECT_EQ(1, imgfLinkDialog(*ws_, nullptr, name, (dir_.path() + "\\").c_str(), nullptr,
                                    nullptr, &relative));
    }
    winSetFileDlgHook(nullptr);
    EXPECT_EQ("Select a File", g_fileAsk.caption);
    EXPECT_EQ(dir_.path() + "\\", g_fileAsk.folder) << "started at the name in the base folder";
    EXPECT_NE(std::string::npos, g_fileAsk.filter.find("*.png")) << g_fileAsk.filter;
    EXPECT_EQ(std::string::npos, g_fileAsk.filter.find("*.qm")) << "pictures only";
    EXPECT_EQ(dir_.file("pic.png"), shown);
    EXPECT_EQ("pic.png", rel);
    EXPECT_STREQ("pic.png", name) << "the relative expression";
    EXPECT_TRUE(relative);
}

TEST_F(ImageFileTest, UnsavedDocumentAsksFirstAndGoesOn)
{
    MemHandle form = fmNew();
    pgtest::Workspace ws(form);
    BoxRecorder boxes;
    boxes.answer(IDNO);
    bool shown = false;
    MemHandle none = 0;
    {
        qmtest::DialogDriver driver({[&](HWND dlg) {
            shown = true;
            qmtest::pressButton(dlg, IDCANCEL);
        }});
        EXPECT_EQ(0, imgfChooseAndLink(ws, &none, nullptr, 1));
    }
    EXPECT_TRUE(shown);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("To use relative expression for the image file name, you must name the file. "
              "Want help?",
              boxes.last().text);
    EXPECT_EQ(0u, none);
    EXPECT_TRUE(g_help.empty());
    fmFree(form);
}

TEST_F(ImageFileTest, LinkedPageChecksThePassword)
{
    MemHandle form = pgtest::docWithPages({"one", "two", "three"});
    form = fmSetPassword(form, "Secret");
    const std::string path = dir_.file("locked.qm");
    BoxRecorder boxes;
    ASSERT_EQ(1, qmfSaveDocument(nullptr, path.c_str(), form, FALSE, FALSE)) << boxes.texts();
    fmFree(form);
    MemHandle doc = 0, page = 0;
    ASSERT_EQ(1, lnkReadLinkedPage(nullptr, path.c_str(), "SECRET", 1, &doc, &page));
    ASSERT_NE(0u, page);
    char name[64];
    ASSERT_TRUE(pgCopyName(page, name, sizeof name));
    EXPECT_STREQ("two", name);
    fmFree(doc);
    const long live = qmtest::liveHandles();
    EXPECT_EQ(0, lnkReadLinkedPage(nullptr, path.c_str(), "wrong", 1, &doc, &page));
    EXPECT_EQ(0u, doc);
    EXPECT_EQ(0u, page);
    EXPECT_EQ(live, qmtest::liveHandles());
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
}

}  // namespace
