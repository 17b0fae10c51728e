// Printing: recorded jobs (documents, sheets, bands, pairs, labels, tiles,
// pauses, cancelling), the print dialog's checks, printing without a
// printer, the fax port and the custom output commands.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "tests/support/kit_dialog.h"
#include "tests/support/kit_printer.h"
#include "model/pg_margins.h"
#include "support/prn_blocks.h"
#include "views/prn_custom.h"
#include "views/prn_print.h"
#include "views/prn_setup.h"
#include "support/prn_setup_file.h"
#include "views/pv_page.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <string.h>

namespace {

using qmtest::BoxRecorder;
using qmtest::DialogDriver;
using qmtest::FakePrinter;
using qmtest::RecordingPrinter;

const COLORREF kRed = RGB(255, 0, 0);

// A printer of 96 dots to the inch without unprintable margins, so that a
// Letter page is one sheet of 816 x 1056 pixels.
void letterCaps(FakePrinter &p)
{
    p.caps = {{LOGPIXELSX, 96},    {LOGPIXELSY, 96},      {PHYSICALOFFSETX, 0},
              {PHYSICALOFFSETY, 0}, {PHYSICALWIDTH, 816}, {PHYSICALHEIGHT, 1056}};
}

bool isRed(uint32_t px) { return px == 0xFF0000; }

int redCount(const RecordingPrinter::Sheet &s, int l, int t, int r, int b)
{
    int n = 0;
    for (int y = t; y < b && y < s.height; ++y)
        for (int x = l; x < r && x < s.width; ++x)
            n += isRed(s.at(x, y));
    return n;
}

class Printing : public apptest::App {
protected:
    FakePrinter printer;
    HWND doc = nullptr, ws = nullptr;
    MemHandle form = 0;
    std::string path;

    void SetUp() override
    {
        letterCaps(printer);
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        ASSERT_TRUE(dmGetDevNames() != nullptr) << "the frame starts the default printer";
    }
    void TearDown() override
    {
        App::TearDown();
        faxResetModule();
        prnResetPrintModule();
    }

    // A document of n pages, page i holding a red square of 96 twips per
    // side at (i * 1440 + 0, 0); shown at page 0.
    void makeDocument(int n, bool withObjects = true)
    {
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i)
            names.push_back("p" + std::to_string(i + 1));
        form = pgtest::docWithPages(names);
        if (withObjects) {
            MemHandle dir = fmGetDirectory(form);
            for (int i = 0; i < n; ++i)
                pgAppendObject(pgDirGetPages(dir, i), pgtest::square(1440 * i, 0, 1440, kRed));
        }
        path = home.file("job.qm");
        fmSetFilePath(form, path.c_str());
        pvReleaseDocument(ws);
        pvSetDocument(ws, form, 0);
    }

    PrintJob job(int16_t kind, int first, int last, uint16_t options = 0)
    {
        PrintJob j;
        prnInitJob(&j, ws, FALSE, pvGetPageCount(ws), 0, nullptr, nullptr, nullptr);
        j.rangeKind = kind;
        j.first = (int16_t)first;
        j.last = (int16_t)last;
        j.options = options;
        return j;
    }
};

// ---- recorded jobs ----

TEST_F(Printing, FromToPrintsOneDocumentWithOneSheetPerPage)
{
    makeDocument(3);
    RecordingPrinter rec;
    PrintJob j = job(PRN_RANGE_FROM_TO, 1, 2);
    EXPECT_EQ(1, prnPrintJob(ws, &j));
    EXPECT_EQ(1, rec.count("StartDoc"));
    EXPECT_EQ(2, rec.count("StartPage"));
    EXPECT_EQ(2, rec.count("EndPage"));
    EXPECT_EQ(1, rec.count("EndDoc"));
    EXPECT_EQ(0, rec.count("AbortDoc"));
    EXPECT_TRUE(rec.balanced());
    ASSERT_EQ(1u, rec.docInfos.size());
    EXPECT_EQ((int)sizeof(DOCINFOA), rec.docInfos[0].cbSize);
    EXPECT_EQ(40, (int)sizeof(DOCINFOA));
    EXPECT_EQ("Quillmark Draw - " + path, rec.docNames[0]);
    EXPECT_EQ("<null>", rec.docOutputs[0]);
    EXPECT_EQ(DI_APPBANDING, (int)rec.docInfos[0].fwType);
    EXPECT_EQ((std::vector<std::string>{"Spooling page 2...", "Spooling page 3..."}), rec.spooling);
    // Page 2's square lies at one inch, page 3's at two.
    ASSERT_EQ(2u, rec.sheets.size());
    EXPECT_GT(redCount(rec.sheets[0], 100, 10, 180, 80), 4000);
    EXPECT_EQ(0, redCount(rec.sheets[0], 0, 0, 90, 100));
    EXPECT_GT(redCount(rec.sheets[1], 196, 10, 276, 80), 4000);
    // The workspace is back in its tool and the pages still in memory.
    EXPECT_NE(TM_PRINTING, wsGetToolMode(ws));
    EXPECT_FALSE(prnIsPrinting());
    EXPECT_TRUE(pvGetPage(ws, 2) != 0);
    EXPECT_EQ(0, printer.liveDCs() > 1 ? 1 : 0) << "the printer DC is deleted";
}

TEST_F(Printing, PairsShareASheetAndEveryStartPageHasOneEndPage)
{
    makeDocument(3);
    RecordingPrinter rec;
    rec.sheetWidth = 2 * 816;
    PrintJob j = job(PRN_RANGE_ALL, 0, 2, PRN_OPT_PAIRS);
    EXPECT_EQ(1, prnPrintJob(ws, &j));
    EXPECT_EQ(2, rec.count("StartPage"));
    EXPECT_EQ(2, rec.count("EndPage"));
    EXPECT_TRUE(rec.balanced());
    ASSERT_EQ(2u, rec.sheets.size());
    // Sheet 1: page 1's square at 0, page 2's (one inch in) shifted right by
    // page 1's width: 816 + 96.
    EXPECT_GT(redCount(rec.sheets[0], 5, 5, 90, 90), 6000);
    EXPECT_GT(redCount(rec.sheets[0], 816 + 100, 5, 816 + 186, 90), 6000);
    EXPECT_EQ(0, redCount(rec.sheets[0], 100, 0, 816, 200));
    // Sheet 2: page 3 alone, unshifted.
    EXPECT_GT(redCount(rec.sheets[1], 196, 5, 282, 90), 6000);
    EXPECT_EQ(0, redCount(rec.sheets[1], 816, 0, 2 * 816, 200));
}

int g_bandRenders = 0;
int countRenders(HWND, int stage, int, int)
{
    g_bandRenders += stage == 2;
    return 1;
}

TEST_F(Printing, LabelLayoutRendersThePageOncePerCellOfEveryBand)
{
    makeDocument(1, false);
    // A small square at the page's corner.
    pgAppendObject(pvGetCurrentPage(ws), pgtest::square(0, 0, 240, kRed));
    RecordingPrinter rec;
    rec.bands = 2;
    PrintJob j = job(PRN_RANGE_ALL, 0, 0, PRN_OPT_LABELS);
    j.labels = LabelLayout{120, 60, 2000, 1000, 2880, 1440, 3, 10};
    j.bandProc = countRenders;
    g_bandRenders = 0;
    EXPECT_EQ(1, prnPrintJob(ws, &j));
    EXPECT_EQ(2 * 30, g_bandRenders);
    ASSERT_EQ(1u, rec.sheets.size());
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 3; ++c) {
            int x = 8 + c * 192, y = 4 + r * 96;
            EXPECT_GT(redCount(rec.sheets[0], x + 2, y + 2, x + 14, y + 14), 100)
                << "label " << c << "," << r;
        }
    EXPECT_EQ(0, redCount(rec.sheets[0], 600, 0, 816, 1056));
}

TEST_F(Printing, OnlyOversizedCustomPagesAreTiled)
{
    makeDocument(1);
    MemHandle page = pvGetCurrentPage(ws);
    {
        PgLock lock(page);
        lock.data()->paperCode = 255;
        lock.head()->width = 2 * 12240;
        lock.head()->height = 2 * 15840;
        lock.head()->centreX = 12240;
        lock.head()->centreY = 15840;
    }
    RECT none = {0, 0, 0, 0};
    page = pgSetMargins(page, &none);
    ASSERT_TRUE(page);
    {
        RecordingPrinter rec;
        PrintJob j = job(PRN_RANGE_CURRENT, 0, 0);
        EXPECT_EQ(1, prnPrintJob(ws, &j));
        EXPECT_EQ(4, rec.count("StartPage"));
        EXPECT_EQ(4u, rec.sheets.size());
        EXPECT_TRUE(rec.balanced());
        // The square at the page's corner is on the first tile only.
        EXPECT_GT(redCount(rec.sheets[0], 5, 5, 90, 90), 6000);
        for (int i = 1; i < 4; ++i)
            EXPECT_EQ(0, redCount(rec.sheets[i], 0, 0, 816, 1056)) << i;
    }
    // The same size on Letter paper: never tiled.
    {
        PgLock lock(pvGetCurrentPage(ws));
        lock.data()->paperCode = 0;
    }
    RecordingPrinter rec;
    PrintJob j = job(PRN_RANGE_CURRENT, 0, 0);
    EXPECT_EQ(1, prnPrintJob(ws, &j));
    EXPECT_EQ(1, rec.count("StartPage"));
    int32_t w, h;
    HDC dc = dmCreatePrinterDC(ws, 0, 1, 1);
    EXPECT_EQ(0, prnNeedsTiling(dc, pvGetCurrentPage(ws), &w, &h));
    dmDeleteDC(&dc);
}

TEST_F(Printing, EmptyOnePageDocumentAsksFirst)
{
    makeDocument(1, false);
    RecordingPrinter rec;
    BoxRecorder boxes;
    boxes.answer(IDCANCEL);
    EXPECT_EQ(0, prnCmdPrint(ws, FALSE, TRUE));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Nothing to print. Print blank anyway?", boxes.last().text);
    EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONQUESTION), boxes.last().flags & 0xFF);
    EXPECT_TRUE(rec.calls.empty());
    // OK prints the blank page.
    boxes.answer(IDOK);
    EXPECT_EQ(1, prnCmdPrint(ws, FALSE, TRUE));
    EXPECT_EQ(1, rec.count("StartPage"));
}

TEST_F(Printing, PauseAsksAfterEveryPageButTheLastAndCancelAborts)
{
    makeDocument(3);
    {
        RecordingPrinter rec;
        BoxRecorder boxes;
        PrintJob j = job(PRN_RANGE_ALL, 0, 2, PRN_OPT_PAUSE);
        EXPECT_EQ(1, prnPrintJob(ws, &j));
        ASSERT_EQ(2u, boxes.count()) << boxes.texts();
        EXPECT_EQ("Page 1 spooled, continue?", boxes.boxes()[0].text);
        EXPECT_EQ("Page 2 spooled, continue?", boxes.boxes()[1].text);
        EXPECT_EQ(1, rec.count("EndDoc"));
    }
    RecordingPrinter rec;
    BoxRecorder boxes;
    boxes.answer(IDCANCEL);
    PrintJob j = job(PRN_RANGE_ALL, 0, 2, PRN_OPT_PAUSE);
    EXPECT_EQ(0, prnPrintJob(ws, &j));
    EXPECT_EQ(1, rec.count("AbortDoc"));
    EXPECT_EQ(0, rec.count("EndDoc"));
    EXPECT_EQ(1, rec.count("StartPage"));
    EXPECT_EQ(1u, j.aborted);
}

TEST_F(Printing, CancelInTheAbortDialogAbortsWhilePaintingAndAutoSaveWait)
{
    makeDocument(3);
    RecordingPrinter rec;
    uint16_t modeSeen = 0;
    BOOL printingSeen = FALSE;
    rec.onBand = [&](int sheet, int) {
        modeSeen = wsGetToolMode(ws);
        printingSeen = prnIsPrinting();
        // The auto-save tick and a paint while the job runs.
        SendMessageA(ws, WM_COMMAND, 921, 0);
        InvalidateRect(ws, nullptr, TRUE);
        UpdateWindow(ws);
        if (sheet == 1)
            PostMessageA(prnGetAbortDialog(), WM_COMMAND, IDCANCEL, 0);
    };
    PrintJob j = job(PRN_RANGE_ALL, 0, 2);
    EXPECT_EQ(0, prnPrintJob(ws, &j));
    EXPECT_EQ(TM_PRINTING, modeSeen);
    EXPECT_TRUE(printingSeen);
    EXPECT_EQ(1, rec.count("AbortDoc"));
    EXPECT_EQ(0, rec.count("EndDoc"));
    EXPECT_EQ(2, rec.count("StartPage"));
    EXPECT_EQ(1u, j.aborted);
    EXPECT_EQ(nullptr, prnGetAbortDialog());
    EXPECT_TRUE(IsWindowEnabled(frame));
    EXPECT_NE(TM_PRINTING, wsGetToolMode(ws));
}

TEST_F(Printing, SelectedPagesWithAnEmptyListPrintNothing)
{
    makeDocument(3);
    RecordingPrinter rec;
    PrintJob j = job(PRN_RANGE_SELECTED, 0, 2);
    EXPECT_EQ(0, prnPrintJob(ws, &j));
    EXPECT_TRUE(rec.calls.empty());
    // Pages 1 and 3 chosen.
    int32_t chosen[2] = {0, 2};
    j = job(PRN_RANGE_SELECTED, 0, 2);
    j.selected = utHandleFromBytes(chosen, sizeof(chosen));
    j.selectedCount = 2;
    EXPECT_EQ(1, prnPrintJob(ws, &j));
    EXPECT_EQ((std::vector<std::string>{"Spooling page 1...", "Spooling page 3..."}), rec.spooling);
    EXPECT_EQ(0u, j.selected) << "the list is freed with the job";
}

// ---- the print dialog ----

void setText(HWND d, int id, const char *text) { qmtest::typeInto(d, id, text); }

TEST_F(Printing, PrintDialogRefusesBadCopiesAndRanges)
{
    makeDocument(3);
    BoxRecorder boxes;
    PrintJob j;
    std::string allText, caption;
    DialogDriver driver({
        [&](HWND d) {
            char t[64];
            GetDlgItemTextA(d, 111, t, sizeof(t));
            allText = t;
            GetWindowTextA(d, t, sizeof(t));
            caption = t;
            setText(d, 100, "0");
            qmtest::pressButton(d, IDOK);
        },
        [&](HWND d) {
            setText(d, 100, "2");
            qmtest::pressButton(d, 112);
            setText(d, 114, "3");
            setText(d, 116, "2");
            qmtest::pressButton(d, IDOK);
        },
        [&](HWND d) {
            setText(d, 114, "0");
            qmtest::pressButton(d, IDOK);
        },
        [&](HWND d) {
            setText(d, 114, "2");
            setText(d, 116, "4");
            qmtest::pressButton(d, IDOK);
        },
        [&](HWND d) {
            setText(d, 116, "3");
            qmtest::pressButton(d, IDOK);
        },
    });
    EXPECT_EQ(1, prnRunPrintDialog(ws, &j, FALSE));
    EXPECT_FALSE(driver.leftOpen());
    EXPECT_EQ("All 3 pages", allText);
    EXPECT_EQ("Print - Quillmark Test Printer", caption);
    ASSERT_EQ(4u, boxes.count()) << boxes.texts();
    EXPECT_EQ("Number of Copies must be a positive integer", boxes.boxes()[0].text);
    EXPECT_EQ("The 2nd number must be >= the first number", boxes.boxes()[1].text);
    EXPECT_EQ("Page number must be between 1 and 3", boxes.boxes()[2].text);
    EXPECT_EQ("Page number must be between 1 and 3", boxes.boxes()[3].text);
    EXPECT_EQ(PRN_RANGE_FROM_TO, j.rangeKind);
    EXPECT_EQ(1, j.first);
    EXPECT_EQ(2, j.last);
    EXPECT_EQ(2, j.copies);
}

TEST_F(Printing, OnePageDocumentDisablesRangeAndSheetOptions)
{
    makeDocument(1);
    PrintJob j;
    std::string allText;
    std::vector<int> disabled, enabled;
    DialogDriver driver({[&](HWND d) {
        char t[64];
        GetDlgItemTextA(d, 111, t, sizeof(t));
        allText = t;
        for (int id : {112, 113, 181, 180, 190, 114, 116})
            (IsWindowEnabled(GetDlgItem(d, id)) ? enabled : disabled).push_back(id);
        qmtest::pressButton(d, IDCANCEL);
    }});
    EXPECT_EQ(0, prnRunPrintDialog(ws, &j, FALSE));
    EXPECT_EQ("All 1 page", allText);
    EXPECT_EQ((std::vector<int>{112, 113, 181, 180, 190, 114, 116}), disabled);
}

// ---- no printer ----

class NoPrinter : public apptest::App {
protected:
    FakePrinter printer;
    HWND doc = nullptr, ws = nullptr;
    void SetUp() override
    {
        printer.defaultPresent = false;
        App::SetUp();
        // Nothing is shown at start-up: a box would fail the test.
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        MemHandle form = pgtest::docWithPages({"a", "b"});
        pvReleaseDocument(ws);
        pvSetDocument(ws, form, 0);
    }
    void TearDown() override
    {
        App::TearDown();
        prnResetPrintModule();
    }
};

TEST_F(NoPrinter, PrintShowsTheDialogThenPrinterNotAvailable)
{
    EXPECT_EQ(nullptr, dmGetDevNames());
    RecordingPrinter rec;
    BoxRecorder boxes;
    bool sawDialog = false;
    {
        DialogDriver driver({[&](HWND d) {
            char t[32];
            GetWindowTextA(d, t, sizeof(t));
            sawDialog = strcmp(t, "Print") == 0;
            qmtest::pressButton(d, IDOK);
        }});
        EXPECT_EQ(0, SendMessageA(ws, WM_COMMAND, 106, 0) == 0 ? 0 : 1);
    }
    EXPECT_TRUE(sawDialog);
    ASSERT_EQ(1u, boxes.count()) << boxes.texts();
    EXPECT_EQ("Printer not available", boxes.last().text);
    EXPECT_TRUE(rec.calls.empty());
    boxes.clear();
    SendMessageA(frame, WM_COMMAND, 113, 0);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(0u, boxes.last().text.find("Can not do setup because no printer is connected"));
}

// ---- fax ----

TEST_F(Printing, FaxWithoutStoredFaxPrinterPrintsNothing)
{
    makeDocument(2);
    RecordingPrinter rec;
    BoxRecorder boxes;
    EXPECT_EQ(0, faxCmdFax(ws, TRUE));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(0u, boxes.last().text.find("To use fax, you must have a fax card"));
    EXPECT_TRUE(rec.calls.empty());
}

TEST_F(Printing, FaxRunsOnTheStoredFaxPrinterAndPutsTheCurrentOneBack)
{
    makeDocument(2);
    HGLOBAL mode = qmtest::makeDevMode("Fax Machine");
    HGLOBAL names = qmtest::makeDevNames("faxdrv", "Fax Machine", "COM1:");
    ASSERT_TRUE(prnWriteSetupFile(home.file("~qmfax.dat").c_str(), mode, names));
    GlobalFree(mode);
    GlobalFree(names);
    faxCheckPort(frame);
    ASSERT_TRUE(faxIsReady());
    RecordingPrinter rec;
    printer.createDCArgs.clear();
    EXPECT_EQ(1, faxCmdFax(ws, TRUE));
    EXPECT_EQ(2, rec.count("StartPage"));
    bool onFax = false;
    for (auto &a : printer.createDCArgs)
        onFax |= a[1] == "Fax Machine";
    EXPECT_TRUE(onFax);
    EXPECT_EQ("Quillmark Test Printer", qmtest::devNamesField(dmGetDevNames(), 1));
}

TEST_F(Printing, FailedFaxSwapLeavesTheCurrentPrinterInPlace)
{
    makeDocument(2);
    // The port was ready at start but its file is gone now; the set-up
    // question is declined.
    HGLOBAL mode = qmtest::makeDevMode("Fax Machine");
    HGLOBAL names = qmtest::makeDevNames("faxdrv", "Fax Machine", "COM1:");
    ASSERT_TRUE(prnWriteSetupFile(home.file("~qmfax.dat").c_str(), mode, names));
    GlobalFree(mode);
    GlobalFree(names);
    faxCheckPort(frame);
    DeleteFileA(home.file("~qmfax.dat").c_str());
    EXPECT_EQ(0, faxSwapPrinter(ws, home.file("~qmfax.dat").c_str(), TRUE));
    EXPECT_EQ(0, faxSwapPrinter(ws, home.file("~qmfax.dat").c_str(), FALSE));
    EXPECT_TRUE(dmGetDevNames() != nullptr);
    EXPECT_TRUE(dmGetDevMode() != nullptr);
    EXPECT_EQ("Quillmark Test Printer", qmtest::devNamesField(dmGetDevNames(), 1));
}

// ---- custom output commands ----

std::vector<uint8_t> fileBytes(const std::string &path)
{
    std::vector<uint8_t> b;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return b;
    b.resize(GetFileSize(f, nullptr));
    DWORD got = 0;
    if (!b.empty())
        ReadFile(f, b.data(), (DWORD)b.size(), &got, nullptr);
    CloseHandle(f);
    return b;
}

uint32_t u32(const std::vector<uint8_t> &b, size_t at)
{
    uint32_t v;
    memcpy(&v, b.data() + at, 4);
    return v;
}

TEST_F(Printing, CustomCommandIsStoredShownInTheMenuAndRemoved)
{
    makeDocument(2);
    printer.setupScript = [](PRINTDLGA *pd) {
        prnFreeGlobal(&pd->hDevMode);
        prnFreeGlobal(&pd->hDevNames);
        pd->hDevMode = qmtest::makeDevMode("Plotter");
        pd->hDevNames = qmtest::makeDevNames("plotdrv", "Plotter", "LPT2:");
        return TRUE;
    };
    std::string name;
    {
        DialogDriver driver({[&](HWND d) {
            char t[64];
            GetDlgItemTextA(d, 100, t, sizeof(t));
            name = t;
            qmtest::pressButton(d, IDOK);
        }});
        EXPECT_EQ(1, prnCustomDriverCommand(ws, nullptr, 1950, 0));
    }
    EXPECT_EQ("Plotter", name);
    EXPECT_NE(0u, printer.dialogs.back().Flags & PD_ENABLESETUPHOOK);
    std::string file = home.file("~Quillmark Drawddmngr");
    std::vector<uint8_t> b = fileBytes(file);
    ASSERT_GE(b.size(), 50u + 47u);
    EXPECT_EQ(50u, u32(b, 0));
    EXPECT_EQ(0xFE876543u, u32(b, 6));
    EXPECT_EQ(0xEF123456u, u32(b, 10));
    uint32_t modeSize = u32(b, 50 + 38), namesSize = u32(b, 50 + 42);
    EXPECT_EQ(modeSize + namesSize + 47, u32(b, 50));
    EXPECT_EQ(50 + modeSize + namesSize + 47, b.size());
    EXPECT_STREQ("Plotter", (const char *)b.data() + 56);

    // The File menu gets the item before "Fax...".
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 106, "Print");
    AppendMenuA(menu, MF_STRING, 114, "Fax...");
    EXPECT_EQ(1, prnCustomDriverCommand(ws, menu, 1958, 114));
    ASSERT_EQ(3, GetMenuItemCount(menu));
    EXPECT_EQ(1951u, GetMenuItemID(menu, 1));
    char text[64];
    GetMenuStringA(menu, 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("Plotter", text);

    // Running it prints on the plotter and keeps the current printer.
    {
        RecordingPrinter rec;
        printer.createDCArgs.clear();
        EXPECT_EQ(1, prnCustomDriverCommand(ws, nullptr, 1951, 0));
        EXPECT_EQ(2, rec.count("StartPage"));
        ASSERT_FALSE(printer.createDCArgs.empty());
        EXPECT_EQ("Plotter", printer.createDCArgs[0][1]);
        EXPECT_EQ("Quillmark Test Printer", qmtest::devNamesField(dmGetDevNames(), 1));
    }

    // No at the question removes the file, and then the item.
    BoxRecorder boxes;
    boxes.answer(IDNO);
    EXPECT_EQ(0, prnCustomDriverCommand(ws, nullptr, 1950, 0));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(0u, boxes.last().text.find("Click Yes to add or edit"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));
    prnCustomDriverCommand(ws, menu, 1958, 114);
    EXPECT_EQ(2, GetMenuItemCount(menu));
    EXPECT_EQ((UINT)-1, GetMenuState(menu, 1951, MF_BYCOMMAND));
    DestroyMenu(menu);
}

TEST_F(Printing, DamagedCustomCommandFilesHoldNoCommand)
{
    std::string file = home.file("cmd");
    HGLOBAL mode = qmtest::makeDevMode("Plotter");
    HGLOBAL names = qmtest::makeDevNames("plotdrv", "Plotter", "LPT2:");
    ASSERT_TRUE(prnWriteCustomCommand(file.c_str(), "Plotter", mode, names));
    GlobalFree(mode);
    GlobalFree(names);
    const std::vector<uint8_t> good = fileBytes(file);
    char name[32];
    HGLOBAL m = nullptr, n = nullptr;
    ASSERT_TRUE(prnReadCustomCommand(file.c_str(), name, &m, &n));
    EXPECT_STREQ("Plotter", name);
    prnFreeGlobal(&m);
    prnFreeGlobal(&n);

    auto write = [&](const std::vector<uint8_t> &b) {
        HANDLE f = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD put;
        WriteFile(f, b.data(), (DWORD)b.size(), &put, nullptr);
        CloseHandle(f);
    };
    auto patched = [&](size_t at, uint32_t v) {
        std::vector<uint8_t> b = good;
        memcpy(b.data() + at, &v, 4);
        return b;
    };
    uint32_t modeSize = u32(good, 88), namesSize = u32(good, 92);
    struct Case {
        const char *what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"header length", patched(0, 49)},
        {"first mark", patched(6, 0)},
        {"second mark", patched(10, 0x12345678)},
        {"record longer than the file", patched(50, u32(good, 50) + 100)},
        {"DEVMODE size beyond the record", patched(88, modeSize + namesSize)},
        {"DEVNAMES size beyond the record", patched(92, 0x7FFFFFF0)},
        {"sizes that do not add up", patched(88, modeSize - 4)},
    };
    for (auto &c : cases) {
        write(c.bytes);
        EXPECT_FALSE(prnReadCustomCommand(file.c_str(), name, &m, &n)) << c.what;
        EXPECT_EQ(nullptr, m) << c.what;
        EXPECT_EQ(nullptr, n) << c.what;
    }
    for (size_t cut = 0; cut < good.size() - 1; cut += 7) {
        write(std::vector<uint8_t>(good.begin(), good.begin() + cut));
        EXPECT_FALSE(prnReadCustomCommand(file.c_str(), name, &m, &n)) << "cut at " << cut;
    }
}

}  // namespace
