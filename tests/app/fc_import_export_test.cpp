// Import and export: the kinds and filters, a text file through "All File"
// and through "Bitmap (*.bmp)", a long text file, a large picture, a page of
// another document, pages written as BMP, JPEG, PNG and TIFF files that the
// image library reads back, the "ExportAll" dialog and a dropped file.
#include "tests/app/app_fixture.h"
#include "text/tx_flow.h"
#include "tests/model/pg_kit.h"
#include "tests/support/kit_dialog.h"
#include "app/fc_import_export.h"
#include "commands/ud_undo.h"
#include "model/fm_form.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_margins.h"
#include "model/qmf_save.h"
#include "objects/img_export.h"
#include "objects/img_io.h"
#include "support/ff_file.h"
#include "support/gdi_dib.h"
#include "support/ut_mem.h"
#include "support/win_filedlg.h"
#include "text/tx_object.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;

std::vector<MemHandle> objects(MemHandle page)
{
    std::vector<MemHandle> list;
    for (MemHandle h = pgGetFirstObject(page); h; h = obGetNext(h))
        list.push_back(h);
    return list;
}

void writeFile(const std::string &path, const std::string &bytes)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(f);
}

// A white picture of w x h pixels written as PNG.
bool writePicture(const std::string &path, int w, int h)
{
    std::vector<uint8_t> bits((size_t)(((w * 24 + 31) / 32) * 4) * h, 0xFF);
    BITMAPINFOHEADER bih = {sizeof bih, w, h, 1, 24};   // bottom-up rows
    return imgExportDibRows(nullptr, &bih, bits.data(), path.c_str(), IMG_FORMAT_PNG) == 1;
}

struct Answer {
    std::string path;
    int index;
};
Answer g_answer;
std::string g_offered;   // the first entry's pattern of the last dialog's filter
std::string g_started;   // the folder the last dialog started in
BOOL answerDialog(HWND, WinFileDlgRequest &request)
{
    g_offered = request.filter ? request.filter + strlen(request.filter) + 1 : "";
    g_started = request.initialFolder ? request.initialFolder : "";
    utStrCopyN(request.path, g_answer.path.c_str(), 260);
    request.filterIndex = g_answer.index;
    return TRUE;
}

TEST(ImportKinds, PageListsOfExportPages)
{
    struct Case {
        const char *text;
        int pages;
        bool valid;
        std::vector<int> indices;
    } cases[] = {
        {"1,3,5-7", 8, true, {0, 2, 4, 5, 6}},
        {" 2 - 3 , 1", 3, true, {1, 2, 0}},
        {"2,2,1-2", 3, true, {1, 0}},      // each page once
        {"4", 3, false, {}},               // no such page
        {"0", 3, false, {}},
        {"3-2", 5, false, {}},             // backwards
        {"1;2", 5, false, {}},
        {"1-", 5, false, {}},
        {"", 5, false, {}},
        {" , ", 5, false, {}},
    };
    for (const Case &c : cases) {
        std::vector<int> pages;
        EXPECT_EQ(fcParsePageList(c.text, c.pages, &pages) != FALSE, c.valid) << c.text;
        if (c.valid)
            EXPECT_EQ(pages, c.indices) << c.text;
    }
}

class ImportExport : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        winSetFileDlgHook(answerDialog);
    }
    void TearDown() override
    {
        winSetFileDlgHook(nullptr);
        App::TearDown();
    }
    MemHandle page() { return pvGetCurrentPage(ws); }
};

TEST(ImportKinds, ExtensionsFiltersAndFormats)
{
    struct Case {
        const char *path;
        int kind;
    } cases[] = {{"a.bmp", 3}, {"A.TXT", 15}, {"x\\y.Qm", 9}, {"p.png", 17}, {"t.tif", 14},
                 {"w.wmf", 16}, {"e.emf", 4}, {"n", 0},       {"d.doc", 0},  {"dir.v\\n", 0}};
    for (const Case &c : cases)
        EXPECT_EQ(fcImportKindOfPath(c.path), c.kind) << c.path;
    char ext[8];
    EXPECT_STREQ(fcFilterExtension(kFcImportFilter, 3, ext), "bmp");
    EXPECT_STREQ(fcFilterExtension(kFcImportFilter, 7, ext), "qm");
    EXPECT_STREQ(fcFilterExtension(kFcImportFilter, 9, ext), "png");
    EXPECT_STREQ(fcFilterExtension(kFcImportFilter, 99, ext), "");
    EXPECT_NE(strstr(kFcImportFilter, "*.qm;*.png;"), nullptr) << "the all-files pattern of PNG";
    EXPECT_EQ(fcFilterIndexOfExt(kFcExportFilter, "bmp"), 1);
    EXPECT_EQ(fcFilterIndexOfExt(kFcExportFilter, ".png"), 3);
    EXPECT_EQ(fcFilterIndexOfExt(kFcExportFilter, "tif"), 4);
    EXPECT_EQ(fcFilterIndexOfExt(kFcExportFilter, "pcx"), 0);
    // Each export entry writes its own format.
    for (int i = 1; i <= 4; ++i) {
        fcFilterExtension(kFcExportFilter, i, ext);
        const int format = fcImageFormatByExt(ext);
        EXPECT_EQ(fcExtByImageFormat(format), std::string(".") + ext);
        EXPECT_EQ(fcExportFormatOfExt(ext), i);
    }
}

TEST_F(ImportExport, ATextFileThroughAllFileBecomesATextObjectButNotThroughBitmap)
{
    const std::string path = home.file("A.TXT");
    writeFile(path, "first line\r\nsecond line\r\n");
    g_answer = {path, 1};
    ASSERT_EQ(fcImportCommand(ws, 0), 1);
    ASSERT_EQ(objects(page()).size(), 1u);
    EXPECT_EQ(obGetType(objects(page())[0]), 40);
    EXPECT_EQ(wsGetCurrentObject(ws), objects(page())[0]);
    char last[260];
    EXPECT_STREQ(fcGetImportPath(last), path.c_str());

    BoxRecorder boxes;
    g_answer = {path, 3};
    EXPECT_EQ(fcImportCommand(ws, 0), 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "Incorrect file type");
    EXPECT_EQ(objects(page()).size(), 1u);
}

TEST_F(ImportExport, AnImportedTextIsCheckedAgainstTheMargins)
{
    RECT m;
    pgGetMarginRect(page(), &m);
    // Forty lines placed near the bottom margin run below it: the four
    // choices, and "Keep the text as is." leaves it.
    std::string lines;
    for (int i = 0; i < 40; ++i)
        lines += "line " + std::to_string(i + 1) + "\r\n";
    const std::string tall = home.file("tall.txt");
    writeFile(tall, lines);
    std::string prompt;
    std::vector<std::string> choices;
    {
        qmtest::DialogDriver driver({[&](HWND d) {
            prompt = qmtest::itemText(d, 99);
            for (int id = 100; id < 104; ++id)
                choices.push_back(qmtest::itemText(d, id));
            qmtest::pressButton(d, 100);
            qmtest::pressButton(d, IDOK);
        }});
        const RECT low = {m.left + 200, m.bottom - 1500, m.left + 4000, m.bottom - 1000};
        ASSERT_EQ(fcImportFile(ws, tall.c_str(), 0, 0, &low), 1);
        EXPECT_EQ(1u, driver.ran()) << "the choice was offered";
    }
    EXPECT_EQ("Text exceeds the bottom of the page (margin).  You can:", prompt);
    EXPECT_EQ((std::vector<std::string>{"Keep the text as is.", "Flow to the next page.",
                                        "Cutoff at the bottom of the page.",
                                        "Reduce to a smaller font and see if it fits."}),
              choices);
    ASSERT_EQ(objects(page()).size(), 1u);
    RECT box;
    obGetRect(objects(page())[0], &box);
    EXPECT_GT(box.bottom, m.bottom) << "kept as it is";
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, ws, WM_COMMAND, WM_COMMAND, PM_NOREMOVE) &&
                 (LOWORD(msg.wParam) == 2202 || LOWORD(msg.wParam) == 2203 ||
                  LOWORD(msg.wParam) == 455))
        << "no follow-up command";

    // A short text placed below the page margin: a note.
    const std::string shortText = home.file("short.txt");
    writeFile(shortText, "Out");
    const RECT target = {m.left, m.bottom + 300, m.left + 2000, m.bottom + 700};
    BoxRecorder boxes;
    ASSERT_EQ(fcImportFile(ws, shortText.c_str(), 15, 0, &target), 1);
    ASSERT_EQ(boxes.count(), 1u) << boxes.texts();
    EXPECT_EQ("The text object is outside your page margin.  You may want to move it afterward.",
              boxes.last().text);
    EXPECT_EQ(objects(page()).size(), 2u);
}

TEST_F(ImportExport, TheDialogToAHandleStartsFromItsTextAndGrowsItToFit)
{
    const std::string chosen = home.file("a rather long folder name\\picture.png");
    g_answer = {chosen, 4};
    MemHandle path = 0;
    int index = 0;
    ASSERT_EQ(1, fcImportFileDialogToHandle(nullptr, "Import", &path, &index));
    ASSERT_TRUE(path);
    EXPECT_STREQ(chosen.c_str(), MemLock<char>(path).get());
    EXPECT_EQ(4, index);
    EXPECT_EQ("", g_started);
    // A short text grows to the longer answer; the dialog starts in its
    // folder.
    utFreeHandle(path);
    path = utHandleFromString(home.file("x.bmp").c_str());
    ASSERT_TRUE(path);
    ASSERT_EQ(1, fcImportFileDialogToHandle(nullptr, "Import", &path, &index));
    EXPECT_EQ(home.path() + "\\", g_started);
    EXPECT_STREQ(chosen.c_str(), MemLock<char>(path).get());
    EXPECT_GE(utHandleSize(path), chosen.size() + 1);
    // No memory to grow: the old handle and its text stay.
    utFreeHandle(path);
    path = utHandleFromString("c:\\y.bmp");
    {
        BoxRecorder boxes;
        utFailNextAllocs(1);
        EXPECT_EQ(0, fcImportFileDialogToHandle(nullptr, "Import", &path, &index));
        utFailNextAllocs(0);
    }
    EXPECT_STREQ("c:\\y.bmp", MemLock<char>(path).get());
    utFreeHandle(path);
}

TEST_F(ImportExport, AMetafileThatCannotBeReadIsToldOnce)
{
    const std::string bad = home.file("bad.wmf"), missing = home.file("none.wmf");
    writeFile(bad, std::string(30, 'x'));
    // Enhanced metafiles: no metafile at all, and a sound one whose second
    // record's size is odd, then past the end, then its record count wrong.
    std::string emf;
    {
        HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
        Rectangle(dc, 0, 0, 100, 100);
        HENHMETAFILE h = CloseEnhMetaFile(dc);
        emf.resize(GetEnhMetaFileBits(h, 0, nullptr));
        GetEnhMetaFileBits(h, (UINT)emf.size(), reinterpret_cast<BYTE *>(&emf[0]));
        DeleteEnhMetaFile(h);
    }
    uint32_t headerSize;
    memcpy(&headerSize, emf.data() + 4, 4);
    std::vector<std::string> damaged = {std::string(30, 'x'), emf, emf, emf};
    uint32_t odd = 10, past = 0x7FFFFFF0, records = 99;
    memcpy(&damaged[1][headerSize + 4], &odd, 4);
    memcpy(&damaged[2][headerSize + 4], &past, 4);
    memcpy(&damaged[3][offsetof(ENHMETAHEADER, nRecords)], &records, 4);
    BoxRecorder boxes;
    for (size_t i = 0; i < damaged.size(); ++i) {
        const std::string path = home.file("bad" + std::to_string(i) + ".emf");
        writeFile(path, damaged[i]);
        EXPECT_EQ(fcImportFile(ws, path.c_str(), 0, 0, nullptr), 0) << i;
        EXPECT_EQ(boxes.texts(), "Incorrect file type") << i;
        boxes.clear();
    }
    EXPECT_EQ(fcImportFile(ws, bad.c_str(), 0, 0, nullptr), 0);
    EXPECT_EQ(boxes.texts(), "Incorrect file type");
    boxes.clear();
    EXPECT_EQ(fcImportFile(ws, missing.c_str(), 0, 0, nullptr), 0);
    EXPECT_EQ(boxes.texts(), missing + "\r\n  does not exist");
    EXPECT_TRUE(objects(page()).empty());
    boxes.clear();
    // The sound one comes in.
    const std::string good = home.file("good.emf");
    writeFile(good, emf);
    EXPECT_EQ(fcImportFile(ws, good.c_str(), 0, 0, nullptr), 1);
    EXPECT_EQ(boxes.texts(), "");
    EXPECT_EQ(objects(page()).size(), 1u);
}

TEST_F(ImportExport, ALongTextFileIsCutAfterAskingOrLeftAlone)
{
    const std::string path = home.file("long.txt");
    writeFile(path, std::string(5000000, 'a'));
    BoxRecorder boxes;
    boxes.answer(IDCANCEL);
    EXPECT_EQ(fcImportFile(ws, path.c_str(), 0, 0, nullptr), 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text,
              "Text file too long to import. If continued, text will be truncated");
    EXPECT_TRUE(objects(page()).empty());
    boxes.answer(IDOK);
    {
        // The long text runs past the bottom margin: kept as it is.
        qmtest::DialogDriver keep({[](HWND d) {
            qmtest::pressButton(d, 100);
            qmtest::pressButton(d, IDOK);
        }});
        EXPECT_EQ(fcImportFile(ws, path.c_str(), 0, 0, nullptr), 1);
    }
    ASSERT_EQ(objects(page()).size(), 1u);
    // Cut to 4,000,000 characters, laid out in lines (each with its line
    // code) that a line's byte count can hold.
    MemHandle plain = txGetPlainText(objects(page())[0]);
    ASSERT_NE(plain, 0u);
    {
        MemLock<char> p(plain);
        EXPECT_EQ(strnlen(p.get(), utHandleSize(plain)), 4000000u);
    }
    utFreeHandle(plain);
    EXPECT_GE(txGetStreamLength(objects(page())[0]), 4000001u);
}

TEST_F(ImportExport, OnlyAPictureMoreThanTwiceThePageWideAsksAboutPrinterMapping)
{
    RECT pageRect;
    pgGetPageRect(page(), &pageRect);
    const int pagePixels = MulDiv(pageRect.right - pageRect.left, 96, 1440);
    const std::string twice = home.file("twice.png"), three = home.file("three.png");
    ASSERT_TRUE(writePicture(twice, 2 * pagePixels, 20));
    ASSERT_TRUE(writePicture(three, 3 * pagePixels, 20));
    BoxRecorder boxes;
    EXPECT_EQ(fcImportFile(ws, twice.c_str(), 0, 0, nullptr), 1);
    EXPECT_EQ(boxes.count(), 0u) << boxes.texts();
    boxes.answer(IDYES);
    EXPECT_EQ(fcImportFile(ws, three.c_str(), 0, 0, nullptr), 1);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "The imported image is quite large.  Want to use "
                                 "printer-mapping mode to reduce it's size?");
    // Printer mapping makes it smaller than at the screen's resolution.
    RECT r;
    obGetRect(objects(page()).back(), &r);
    EXPECT_LT(r.right - r.left, 3 * (pageRect.right - pageRect.left));
}

TEST_F(ImportExport, APageOfAnotherDocumentIsAppendedWithUndo)
{
    MemHandle form = fmNew();
    MemHandle one = pgtest::newPage("one");
    pgtest::addObject(one, "a", 100, 100, 500, 500);
    MemHandle two = pgtest::newPage("two");
    pgtest::addObject(two, "b", 100, 100, 500, 500);
    pgtest::addObject(two, "c", 600, 600, 900, 900);
    pgDirAppend(form, one);
    pgDirAppend(form, two);
    const std::string path = home.file("two.qm");
    ASSERT_EQ(qmfSaveDocument(ws, path.c_str(), form, FALSE, FALSE), 1);
    fmFree(form);
    pgtest::addObject(page(), "mine", 100, 100, 200, 200);
    {
        qmtest::DialogDriver driver({[](HWND d) {
            qmtest::chooseItem(d, 102, 1);
            qmtest::pressButton(d, IDOK);
        }});
        EXPECT_EQ(fcImportFile(ws, path.c_str(), 0, 0, nullptr), 1);
    }
    std::vector<MemHandle> now = objects(page());
    ASSERT_EQ(now.size(), 3u);
    char name[40];
    obGetName(now[1], name);
    EXPECT_STREQ(name, "b");
    obGetName(now[2], name);
    EXPECT_STREQ(name, "c");
    UndoRecord u;
    ASSERT_TRUE(wsGetUndo(ws, &u));
    EXPECT_EQ(u.kind, 22);
    EXPECT_EQ(u.object, now[1]);
    EXPECT_TRUE(wsIsModified(ws));
}

TEST_F(ImportExport, PagesAreWrittenInEachFormatAtTheirSizeAndNamedByTheFlags)
{
    pgtest::addObject(page(), "box", 1440, 1440, 2880, 2880);
    for (const char *ext : {"bmp", "jpg", "png", "tif"}) {
        SCOPED_TRACE(ext);
        const std::string path = home.file(std::string("page.") + ext);
        ASSERT_EQ(fcExportPage(ws, 0, path.c_str(), fcImageFormatByExt(ext), TRUE, TRUE), 1);
        int32_t w = 0, h = 0;
        ASSERT_TRUE(imgGetFileSize(nullptr, path.c_str(), &w, &h));
        EXPECT_EQ(w, 816);
        EXPECT_EQ(h, 1056);
    }
    // Through the Save dialog: the chosen entry's format and extension.
    g_answer = {home.file("chosen.xyz"), 3};
    EXPECT_EQ(fcExportCommand(ws, 0), 1);
    EXPECT_TRUE(ffExists(home.file("chosen.png").c_str()));
    char last[260];
    EXPECT_STREQ(fcGetExportPath(last), home.file("chosen.png").c_str());
    EXPECT_EQ(fcGetExportFormatIndex(), 3);

    // A second page with objects; flags 4 + 16 give p1, p2.
    SendMessageA(ws, WM_COMMAND, 615, 0);
    pump();
    ASSERT_EQ(pvGetPageCount(ws), 2);
    pgtest::addObject(page(), "box2", 1440, 1440, 2880, 2880);
    qmtest::TempDir out;
    EXPECT_EQ(fcExportPages(ws, nullptr, 0, out.path().c_str(), 20, "png", IMG_FORMAT_PNG, TRUE), 2);
    EXPECT_TRUE(ffExists(out.file("p1.png").c_str()));
    EXPECT_TRUE(ffExists(out.file("p2.png").c_str()));
}

// A page picture at a zoom: the picture is that many times the page's
// pixels, and its rows come out the right way up, a filled box near the
// page's top left where it is on the page.
TEST_F(ImportExport, APagePictureAtAZoomKeepsItsRowsInOrder)
{
    MemHandle box = pgtest::addObject(page(), "box", 1440, 1440, 2880, 2880);
    {
        ObLock r(box);
        r->fillKind = 1;
        r->fillColour = RGB(255, 0, 0);
    }
    MemHandle form = wsGetDocument(ws);
    for (int zoom : {100, 300}) {
        SCOPED_TRACE(zoom);
        const std::string path = home.file("zoomed.png");
        ASSERT_EQ(1, fcWritePagePicture(ws, form, page(), 0, zoom, path.c_str(), IMG_FORMAT_PNG));
        MemHandle dib = imgLoadFileDib(nullptr, path.c_str());
        ASSERT_TRUE(dib);
        {
            MemLock<uint8_t> p(dib);
            BITMAPINFOHEADER *h = reinterpret_cast<BITMAPINFOHEADER *>(p.get());
            EXPECT_EQ(816 * zoom / 100, h->biWidth);
            const int height = h->biHeight < 0 ? -h->biHeight : h->biHeight;
            EXPECT_EQ(1056 * zoom / 100, height);
            // The colour at a pixel counted from the top left.
            auto at = [&](int x, int y) {
                const int row = h->biHeight < 0 ? y : height - 1 - y;
                const uint8_t *q = gdiDibBitsPtr(h) + (size_t)row * gdiDibStride(h) +
                                   (size_t)x * (h->biBitCount / 8);
                return RGB(q[2], q[1], q[0]);
            };
            const int inside = 144 * zoom / 100;   // the box's middle: 1.5 inches
            EXPECT_EQ(RGB(255, 0, 0), at(inside, inside));
            EXPECT_EQ(RGB(255, 255, 255), at(inside, height - 1 - inside));
            EXPECT_EQ(RGB(255, 255, 255), at(4, 4));
        }
        utFreeHandle(dib);
    }
}

// File > Import's three items offer one kind of file each and place it.
TEST_F(ImportExport, EachImportItemOffersItsKindAndPlacesIt)
{
    const std::string text = home.file("words.txt"), picture = home.file("dot.png");
    writeFile(text, "Three small words");
    ASSERT_TRUE(writePicture(picture, 8, 8));
    g_answer = {picture, 1};
    ASSERT_EQ(fcImportOneKind(ws, FC_IMPORT_IMAGE), 1);
    EXPECT_NE(g_offered.find("*.png"), std::string::npos) << g_offered;
    EXPECT_EQ(g_offered.find("*.txt"), std::string::npos) << "pictures only";
    ASSERT_EQ(objects(page()).size(), 1u);
    EXPECT_EQ(obGetType(objects(page()).back()), OBT_BITMAP);

    g_answer = {text, 1};
    ASSERT_EQ(fcImportOneKind(ws, FC_IMPORT_TEXT), 1);
    EXPECT_EQ(g_offered, "*.txt");
    ASSERT_EQ(objects(page()).size(), 2u);
    EXPECT_EQ(obGetType(objects(page()).back()), OBT_TEXT);

    // A picture offered as text is read as text, and is no text file.
    BoxRecorder boxes;
    g_answer = {picture, 2};
    fcImportOneKind(ws, FC_IMPORT_TEXT);
    g_answer = {text, 1};
    EXPECT_EQ(fcImportOneKind(ws, FC_IMPORT_PAGE), 0) << "a text is no document";
    EXPECT_EQ(g_offered, "*.qm");
}

// File > Export > Pages: the pages chosen in "Export Pages", written into
// the folder of the name given, each named after the document and its
// number, in the chosen format.
TEST_F(ImportExport, ExportPagesWritesTheChosenPagesIntoTheFolder)
{
    pgtest::addObject(page(), "box", 1440, 1440, 2880, 2880);
    SendMessageA(ws, WM_COMMAND, 615, 0);
    pump();
    ASSERT_EQ(pvGetPageCount(ws), 2);
    pgtest::addObject(page(), "box2", 1440, 1440, 2880, 2880);
    qmtest::TempDir out;
    g_answer = {out.file("any name.bmp"), 3};
    {
        qmtest::DialogDriver driver({[](HWND d) {
            qmtest::pressButton(d, 113);
            qmtest::typeInto(d, 191, "2");
            qmtest::pressButton(d, IDOK);
        }});
        EXPECT_EQ(fcExportPagesCommand(ws), 1);
    }
    char name[260];
    fcExportPageName(ws, 1, 1 | 2 | 4 | 16, "png", IMG_FORMAT_PNG, name, sizeof name);
    EXPECT_NE(strstr(name, "_p2.png"), nullptr) << name;
    EXPECT_TRUE(ffExists(out.file(name).c_str())) << name;
    fcExportPageName(ws, 0, 1 | 2 | 4 | 16, "png", IMG_FORMAT_PNG, name, sizeof name);
    EXPECT_FALSE(ffExists(out.file(name).c_str())) << "page 1 was not chosen";
    // A list that names no page is refused before any file dialog.
    BoxRecorder boxes;
    {
        qmtest::DialogDriver driver({[](HWND d) {
            qmtest::pressButton(d, 113);
            qmtest::typeInto(d, 191, "5");
            qmtest::pressButton(d, IDOK);
        }});
        EXPECT_EQ(fcExportPagesCommand(ws), 0);
    }
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "The page numbers are not valid.");
}

TEST_F(ImportExport, APageWithOnlyBasePageObjectsIsNotExported)
{
    MemHandle base = pgtest::newPage("base");
    pgtest::addObject(base, "under", 100, 100, 900, 900);
    fmSetBasePage(wsGetDocument(ws), base);
    BoxRecorder boxes;
    const std::string path = home.file("empty.png");
    EXPECT_EQ(fcExportPage(ws, 0, path.c_str(), IMG_FORMAT_PNG, TRUE, TRUE), 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "No object in the page to export");
    EXPECT_FALSE(ffExists(path.c_str()));
}

}  // namespace

namespace {

TEST_F(ImportExport, TheExportAllDialogOffersRangesOnlyWithSeveralPages)
{
    FcExportChoice choice;
    {
        qmtest::DialogDriver driver({[](HWND d) {
            EXPECT_EQ(qmtest::itemText(d, 111), "All 1 page");
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, 112)));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, 113)));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, 191)));
            qmtest::pressButton(d, IDCANCEL);
        }});
        EXPECT_EQ(fcRunExportAllDialog(ws, &choice), 0);
    }
    SendMessageA(ws, WM_COMMAND, 615, 0);
    pump();
    SendMessageA(ws, WM_COMMAND, 615, 0);
    pump();
    ASSERT_EQ(pvGetPageCount(ws), 3);
    {
        qmtest::DialogDriver driver({[](HWND d) {
            EXPECT_EQ(qmtest::itemText(d, 111), "All 3 pages");
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, 115)));
            qmtest::pressButton(d, 112);
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, 115)));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, 191)));
            qmtest::typeInto(d, 115, "2");
            qmtest::pressButton(d, IDOK);
        }});
        EXPECT_EQ(fcRunExportAllDialog(ws, &choice), 1);
    }
    EXPECT_EQ(choice.which, 2);
    EXPECT_EQ(choice.first, 2);
    EXPECT_EQ(choice.last, 3);
}

}  // namespace

namespace {

TEST_F(ImportExport, ADroppedFileBecomesTheCurrentLinkedObjectWithUndo)
{
    const std::string path = home.file("dropped.png");
    ASSERT_TRUE(writePicture(path, 10, 10));
    RECT placed;
    ASSERT_EQ(fcImportDroppedFile(ws, path.c_str(), POINT{100, 100}, FC_DROP_AS_IMAGE, &placed), 1);
    std::vector<MemHandle> now = objects(page());
    ASSERT_EQ(now.size(), 1u);
    EXPECT_EQ(obGetType(now[0]), 78);
    EXPECT_EQ(wsGetCurrentObject(ws), now[0]);
    EXPECT_GE(placed.right - placed.left, 1440);
    EXPECT_GE(placed.bottom - placed.top, 1440);
    UndoRecord u;
    ASSERT_TRUE(wsGetUndo(ws, &u));
    EXPECT_EQ(u.kind, 10);
    EXPECT_TRUE(wsIsModified(ws));
}

}  // namespace
