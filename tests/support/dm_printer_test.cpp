// The current printer, printer device contexts, printer metrics and the
// printer names packet: without a printer (Wine's case) through the
// system's own functions, and with a printer of the tests' own.
#include "tests/support/kit.h"
#include "tests/support/kit_printer.h"
#include "support/dm_printer.h"
#include "support/prn_blocks.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "text/tx_measure.h"
#include "support/prn_setup_file.h"
#include <stddef.h>
#include <string.h>

using qmtest::BoxRecorder;
using qmtest::Bytes;
using qmtest::FakePrinter;

namespace {

const char kError[] = "Quillmark Draw Error";
const char kStartFailed[] =
    "Failed to start printer.  If you want to use the printer, check printer power or "
    "connection and then restart this program.";

DEVMODEA modeOf(HGLOBAL h)
{
    DEVMODEA mode;
    memset(&mode, 0, sizeof(mode));
    Bytes b = qmtest::globalBytes(h);
    memcpy(&mode, b.data(), b.size() < sizeof(mode) ? b.size() : sizeof(mode));
    return mode;
}

DEVMODEA modeOf(const Bytes &b)
{
    DEVMODEA mode;
    memset(&mode, 0, sizeof(mode));
    memcpy(&mode, b.data(), b.size() < sizeof(mode) ? b.size() : sizeof(mode));
    return mode;
}

// The kept resolution (both axes) and margins in twips.
void expectPrinterMetrics(int32_t resolution, int32_t marginX, int32_t marginY)
{
    int32_t x = 0, y = 0;
    dmGetPrinterResolution(&x, &y);
    EXPECT_EQ(resolution, x);
    EXPECT_EQ(resolution, y);
    RECT margins;
    EXPECT_EQ(1, dmGetPrinterMargins(&margins));
    EXPECT_EQ(marginX, margins.left);
    EXPECT_EQ(marginX, margins.right);
    EXPECT_EQ(marginY, margins.top);
    EXPECT_EQ(marginY, margins.bottom);
}

class PrinterModule : public ::testing::Test {
protected:
    void SetUp() override
    {
        dmResetPrinterModule();
        txResetMeasureModule();
    }
    void TearDown() override
    {
        dmResetPrinterModule();
        txResetMeasureModule();
    }
};

// ---- no printer: the system's own functions under Wine ------------------------------------

TEST_F(PrinterModule, WithoutPrinterEveryQueryAnswersWithDefaults)
{
    // Before any start the conversions already work at 300 dots per inch.
    EXPECT_EQ(1440, dmPrinterToTwipsX(300));
    EXPECT_EQ(1440, dmPrinterToTwipsY(300));

    BoxRecorder boxes;
    EXPECT_FALSE(dmStartDefaultPrinter(nullptr));
    ASSERT_EQ(1u, boxes.count()) << boxes.texts();
    EXPECT_EQ(kError, boxes.last().caption);
    EXPECT_EQ(std::string(kStartFailed) + "\r\nNo default printer.", boxes.last().text);

    EXPECT_EQ(nullptr, dmGetPrinterIC());
    EXPECT_EQ(nullptr, dmGetDevMode());
    EXPECT_EQ(nullptr, dmGetDevNames());
    EXPECT_EQ(nullptr, txGetPrinterRefDC());
    expectPrinterMetrics(300, 360, 360);
    EXPECT_EQ(1440, dmPrinterToTwipsX(300));
    EXPECT_EQ(720, dmPrinterToTwipsY(150));
    EXPECT_EQ(300, dmTwipsToPrinterX(1440));
    EXPECT_EQ(75, dmTwipsToPrinterY(360));

    EXPECT_EQ(-1, dmDeviceCaps(DC_PAPERS, nullptr));
    EXPECT_EQ(nullptr, dmCreatePrinterDC(nullptr, 0, 1, 1));
    PrinterDCInfo info;
    memset(&info, 0x5A, sizeof(info));
    EXPECT_EQ(nullptr, dmCreatePrinterDCInfo(nullptr, 0, 1, 1, &info));
    EXPECT_EQ(0u, info.dc);
    char name[32] = "x";
    EXPECT_EQ(0, dmGetPrinterName(name, sizeof(name)));
    EXPECT_STREQ("", name);
    EXPECT_EQ(0u, dmPackPrinterNames());
    EXPECT_FALSE(dmIsDefaultPrinterCurrent());
    EXPECT_EQ(1u, boxes.count()) << boxes.texts();

    // The set-up dialog and saving need a printer.
    BOOL namesChanged = TRUE, modeChanged = TRUE;
    EXPECT_FALSE(dmPrinterSetup(nullptr, &namesChanged, &modeChanged));
    EXPECT_FALSE(namesChanged);
    EXPECT_FALSE(modeChanged);
    qmtest::TempDir dir;
    EXPECT_FALSE(dmSavePrinter(nullptr, dir.file("~prt").c_str()));
    ASSERT_EQ(3u, boxes.count());
    EXPECT_EQ("Can not do setup because no printer is connected.  Please check the power or "
              "connection, then restart this program.",
              boxes.boxes()[1].text);
    EXPECT_EQ("Error saving printer info.", boxes.boxes()[2].text);
    EXPECT_EQ(kError, boxes.boxes()[2].caption);
    EXPECT_FALSE(ffExists(dir.file("~prt").c_str()));
}

// ---- starting a printer ----------------------------------------------------------------

TEST_F(PrinterModule, DefaultPrinterBecomesCurrentWithItsMetrics)
{
    FakePrinter printer;
    HWND owner = (HWND)(uintptr_t)0x1234;
    EXPECT_TRUE(dmStartDefaultPrinter(owner));
    ASSERT_EQ(1, printer.dialogCalls);
    EXPECT_EQ((DWORD)(PD_RETURNDEFAULT | PD_RETURNIC), printer.dialogs[0].Flags);
    EXPECT_EQ(owner, printer.dialogs[0].hwndOwner);
    ASSERT_NE(nullptr, dmGetPrinterIC());
    EXPECT_TRUE(printer.isLive(dmGetPrinterIC()));
    EXPECT_EQ(dmGetPrinterIC(), txGetPrinterRefDC());
    EXPECT_TRUE(txUsePrinterMetrics());

    expectPrinterMetrics(600, 120, 144);   // offsets of 50 and 60 dots at 600 dpi
    EXPECT_EQ(1440, dmPrinterToTwipsX(600));
    EXPECT_EQ(600, dmTwipsToPrinterY(1440));
    char name[64];
    EXPECT_EQ(22, dmGetPrinterName(name, sizeof(name)));
    EXPECT_STREQ("Quillmark Test Printer", name);

    // Starting again ends the first printer (its IC is deleted).
    HDC first = dmGetPrinterIC();
    EXPECT_TRUE(dmStartDefaultPrinter(owner));
    EXPECT_FALSE(printer.isLive(first));
    EXPECT_EQ(1u, printer.liveDCs());

    dmEndPrinter();
    EXPECT_EQ(nullptr, dmGetPrinterIC());
    EXPECT_EQ(nullptr, dmGetDevNames());
    // Text no longer measures against the deleted context.
    EXPECT_EQ(nullptr, txGetPrinterRefDC());
    EXPECT_EQ(0u, printer.liveDCs());
}

TEST_F(PrinterModule, StartFailuresTellTheUserOnlyWithAnExtendedError)
{
    struct Case {
        bool present, returnsIC;
        DWORD error;
        const char *text;   // null: no box
    } cases[] = {
        {false, true, PDERR_NODEFAULTPRN, "No default printer."},
        {false, true, PDERR_PRINTERNOTFOUND, "Could not find the specified printer."},
        {false, true, 0, nullptr},
        // Blocks without an IC are not a printer: they are freed.
        {true, false, 0, nullptr},
    };
    for (const Case &c : cases) {
        FakePrinter printer;
        printer.defaultPresent = c.present;
        printer.defaultReturnsIC = c.returnsIC;
        printer.defaultError = c.error;
        txSetPrinterRefDC((HDC)(uintptr_t)0x99, 1);   // a stale context must be dropped
        BoxRecorder boxes;
        EXPECT_FALSE(dmStartPrinter(nullptr, ""));
        EXPECT_EQ(nullptr, txGetPrinterRefDC());
        EXPECT_EQ(nullptr, dmGetDevMode());
        EXPECT_EQ(nullptr, dmGetDevNames());
        if (c.text) {
            ASSERT_EQ(1u, boxes.count());
            EXPECT_EQ(std::string(kStartFailed) + "\r\n" + c.text, boxes.last().text);
        } else {
            EXPECT_EQ(0u, boxes.count()) << boxes.texts();
        }
        expectPrinterMetrics(300, 360, 360);
    }
}

// Writes a settings file holding a printer of the given names.
void writeSettings(const std::string &file, const char *device, const char *output)
{
    GlobalBlock mode(qmtest::makeDevMode(device)), names(qmtest::makeDevNames("drv", device, output));
    ASSERT_TRUE(prnWriteSetupFile(file.c_str(), mode.get(), names.get()));
}

TEST_F(PrinterModule, SettingsFileChoosesThePrinterBeforeTheDefault)
{
    qmtest::TempDir dir;
    std::string file = dir.file("~QD_PrtLog");
    writeSettings(file, "Stored Printer", "FILE:");
    {
        FakePrinter printer;
        EXPECT_TRUE(dmStartPrinter(nullptr, file.c_str()));
        EXPECT_EQ(0, printer.dialogCalls);
        ASSERT_EQ(1u, printer.createICArgs.size());
        EXPECT_EQ((std::vector<std::string>{"drv", "Stored Printer", "FILE:"}),
                  printer.createICArgs[0]);
        EXPECT_EQ(dmGetPrinterIC(), txGetPrinterRefDC());
        EXPECT_EQ("Stored Printer", qmtest::devNamesField(dmGetDevNames(), PRN_DEVICE));
        EXPECT_STREQ("Stored Printer", (const char *)modeOf(dmGetDevMode()).dmDeviceName);
        EXPECT_TRUE(qmtest::fileIsClosed(file));
    }
    {
        // The stored printer cannot be reached: the default is taken.
        FakePrinter printer;
        printer.failCreateIC = true;
        EXPECT_TRUE(dmStartPrinter(nullptr, file.c_str()));
        EXPECT_EQ(1u, printer.createICArgs.size());
        EXPECT_EQ(1, printer.dialogCalls);
        EXPECT_EQ("Quillmark Test Printer", qmtest::devNamesField(dmGetDevNames(), PRN_DEVICE));
    }
    {
        // A damaged or missing file: the default, without a word.
        ASSERT_TRUE(qmtest::writeFile(dir.file("bad"), std::string("\x07\x00\x00\x00xyz", 7)));
        for (std::string name : {dir.file("bad"), dir.file("missing")}) {
            FakePrinter printer;
            BoxRecorder boxes;
            EXPECT_TRUE(dmStartPrinter(nullptr, name.c_str()));
            EXPECT_EQ(0u, printer.createICArgs.size());
            EXPECT_EQ(1, printer.dialogCalls);
            EXPECT_EQ(0u, boxes.count()) << boxes.texts();
        }
    }
}

// ---- paper, orientation and copies -----------------------------------------------------------

TEST(PrinterPaper, PaperCodesOrientationAndCopies)
{
    struct Paper { int16_t code, size; } papers[] = {
        {0, 1}, {1, 5}, {2, 1}, {3, 1}, {4, 4}, {5, 1}, {6, 1}, {7, 1}, {8, 8}, {9, 9},
        {10, 1}, {11, 11}, {12, 12}, {13, 13}, {14, 1}, {18, 1}, {19, 19}, {20, 20},
        {21, 21}, {22, 22}, {23, 23}, {24, 1}, {-1, 1}, {256, 1},
    };
    for (const Paper &p : papers) {
        DEVMODEA mode;
        memset(&mode, 0, sizeof(mode));
        mode.dmFields = DM_COLOR;
        dmApplyPaper(&mode, p.code, 1, 1);
        EXPECT_EQ(p.size, mode.dmPaperSize) << "paper code " << p.code;
        EXPECT_EQ(p.size, dmPaperSizeOf(p.code));
        EXPECT_EQ((DWORD)(DM_COLOR | 0x103), mode.dmFields);
    }
    struct Other { uint16_t orientation; int16_t copies; short wantOrientation, wantCopies; } others[] = {
        {0, 0, DMORIENT_PORTRAIT, 1},  {1, -3, DMORIENT_PORTRAIT, 1},
        {2, 1, DMORIENT_LANDSCAPE, 1}, {3, 5, DMORIENT_PORTRAIT, 5},
        {2, 64, DMORIENT_LANDSCAPE, 64},
    };
    for (const Other &o : others) {
        DEVMODEA mode;
        memset(&mode, 0, sizeof(mode));
        dmApplyPaper(&mode, 0, o.orientation, o.copies);
        EXPECT_EQ(o.wantOrientation, mode.dmOrientation) << o.orientation;
        EXPECT_EQ(o.wantCopies, mode.dmCopies) << o.copies;
    }
    dmApplyPaper(nullptr, 1, 2, 3);   // nothing to write into
}

// ---- printer device contexts -----------------------------------------------------------------

TEST_F(PrinterModule, PrinterDCTakesPaperOrientationAndCopies)
{
    FakePrinter printer;
    ASSERT_TRUE(dmStartDefaultPrinter(nullptr));
    // A DEVMODE with private driver bytes after its public part.
    HGLOBAL mode = qmtest::makeDevMode("Quillmark Test Printer", sizeof(DEVMODEA), 40);
    HGLOBAL names = dmGetDevNames();
    HGLOBAL oldMode = dmGetDevMode();
    dmSwapPrinter(&mode, &names);
    GlobalFree(mode);   // the default's DEVMODE, swapped out

    PrinterDCInfo info;
    memset(&info, 0x5A, sizeof(info));
    HDC dc = dmCreatePrinterDCInfo(nullptr, 1, 2, 0, &info);
    ASSERT_NE(nullptr, dc);
    EXPECT_NE(oldMode, dmGetDevMode());
    EXPECT_EQ(qmHandleToU32(dc), info.dc);
    EXPECT_EQ(1, info.paper);
    EXPECT_EQ(2, info.orientation);
    EXPECT_EQ(0, info.copies);
    ASSERT_EQ(1u, printer.createDCArgs.size());
    EXPECT_EQ((std::vector<std::string>{"winspool", "Quillmark Test Printer", "<null>"}),
              printer.createDCArgs[0]);
    // The current DEVMODE was handed over with the settings written in,
    // private bytes and all.
    DEVMODEA given = modeOf(printer.createDCModes[0]);
    EXPECT_EQ(sizeof(DEVMODEA) + 40, printer.createDCModes[0].size());
    EXPECT_EQ(DMPAPER_LEGAL, given.dmPaperSize);
    EXPECT_EQ(DMORIENT_LANDSCAPE, given.dmOrientation);
    EXPECT_EQ(1, given.dmCopies);
    EXPECT_EQ(DMORIENT_LANDSCAPE, modeOf(dmGetDevMode()).dmOrientation);
    // The record's copy is the public part and says so.
    DEVMODEA copy;
    memset(&copy, 0, sizeof(copy));
    memcpy(&copy, info.devMode, sizeof(info.devMode));
    EXPECT_EQ(148, copy.dmSize);
    EXPECT_EQ(0, copy.dmDriverExtra);
    EXPECT_EQ(DMPAPER_LEGAL, copy.dmPaperSize);
    EXPECT_STREQ("Quillmark Test Printer", (const char *)copy.dmDeviceName);

    HDC plain = dmCreatePrinterDC(nullptr, 9, 0, 3);
    ASSERT_NE(nullptr, plain);
    EXPECT_EQ(DMPAPER_A4, modeOf(dmGetDevMode()).dmPaperSize);
    EXPECT_EQ(DMORIENT_PORTRAIT, modeOf(dmGetDevMode()).dmOrientation);
    EXPECT_EQ(3, modeOf(dmGetDevMode()).dmCopies);
    dmDeleteDC(&plain);
    EXPECT_EQ(nullptr, plain);
    dmDeleteDC(&plain);   // nothing to delete
    HDC record = qmU32ToHandle<HDC>(info.dc);
    dmDeleteDC(&record);

    printer.failCreateDC = true;
    memset(&info, 0x5A, sizeof(info));
    EXPECT_EQ(nullptr, dmCreatePrinterDCInfo(nullptr, 0, 1, 1, &info));
    EXPECT_EQ(0u, info.dc);
}

TEST_F(PrinterModule, ResetPrinterDCFollowsTheSettingsBothWays)
{
    FakePrinter printer;
    ASSERT_TRUE(dmStartDefaultPrinter(nullptr));
    PrinterDCInfo info;
    HDC dc = dmCreatePrinterDCInfo(nullptr, 0, 1, 1, &info);
    ASSERT_NE(nullptr, dc);

    // The same settings: the same context, no reset.
    EXPECT_EQ(dc, dmResetPrinterDC(nullptr, 0, 1, 1, &info));
    EXPECT_EQ(0u, printer.resetDCModes.size());

    // Landscape legal, then back to portrait letter: each is a reset.
    EXPECT_EQ(dc, dmResetPrinterDC(nullptr, 1, 2, 2, &info));
    ASSERT_EQ(1u, printer.resetDCModes.size());
    EXPECT_EQ(148u, printer.resetDCModes[0].size());
    EXPECT_EQ(DMORIENT_LANDSCAPE, modeOf(printer.resetDCModes[0]).dmOrientation);
    EXPECT_EQ(DMPAPER_LEGAL, modeOf(printer.resetDCModes[0]).dmPaperSize);
    EXPECT_EQ(2, modeOf(printer.resetDCModes[0]).dmCopies);
    EXPECT_EQ(2, info.orientation);
    EXPECT_EQ(dc, dmResetPrinterDC(nullptr, 0, 1, 1, &info));
    ASSERT_EQ(2u, printer.resetDCModes.size());
    EXPECT_EQ(DMORIENT_PORTRAIT, modeOf(printer.resetDCModes[1]).dmOrientation);
    EXPECT_EQ(DMPAPER_LETTER, modeOf(Bytes(info.devMode, info.devMode + 148)).dmPaperSize);

    // A refused reset leaves the record as it was.
    printer.failResetDC = true;
    PrinterDCInfo before = info;
    EXPECT_EQ(dc, dmResetPrinterDC(nullptr, 9, 2, 4, &info));
    EXPECT_EQ(0, memcmp(&before, &info, sizeof(info)));

    EXPECT_EQ(nullptr, dmResetPrinterDC(nullptr, 0, 1, 1, nullptr));
    dmDeleteDC(&dc);
}

// ---- metrics ---------------------------------------------------------------------------------

TEST_F(PrinterModule, PageMetricsAndPageSizeInTwips)
{
    FakePrinter printer;
    HDC dc = printer.newDC();
    PageMetrics m;
    dmGetPageMetrics(dc, &m);
    EXPECT_EQ(50, m.offsetX);
    EXPECT_EQ(60, m.offsetY);
    EXPECT_EQ(600, m.resolutionX);
    EXPECT_EQ(5100, m.physicalWidth);
    EXPECT_EQ(6600, m.physicalHeight);
    EXPECT_EQ(5000, m.printableWidth);
    EXPECT_EQ(6480, m.printableHeight);
    EXPECT_EQ(12240, m.physicalWidthTwips);
    EXPECT_EQ(15840, m.physicalHeightTwips);
    EXPECT_EQ(12000, m.printableWidthTwips);
    EXPECT_EQ(15552, m.printableHeightTwips);

    int32_t w, h;
    dmGetPageSizeTwips(dc, &w, &h);
    EXPECT_EQ(12240, w);
    EXPECT_EQ(15840, h);

    // Rounding to the nearest twip, halves away from zero: 1 dot at 960 dpi
    // is 1.5 twips, 7 dots at 600 dpi 16.8.
    printer.caps[LOGPIXELSX] = 960;
    printer.caps[PHYSICALWIDTH] = 1;
    printer.caps[LOGPIXELSY] = 600;
    printer.caps[PHYSICALHEIGHT] = 7;
    dmGetPageSizeTwips(dc, &w, &h);
    EXPECT_EQ(2, w);
    EXPECT_EQ(17, h);
    int32_t x, y;
    dmGetPrinterResolution(&x, &y);   // refreshed from the device
    EXPECT_EQ(960, x);
    EXPECT_EQ(600, y);

    // A device that reports no resolution is taken as 300 dpi.
    printer.caps[LOGPIXELSX] = 0;
    printer.caps[LOGPIXELSY] = 0;
    printer.caps[PHYSICALWIDTH] = 2550;
    dmUpdatePrinterMetrics(dc);
    expectPrinterMetrics(300, 240, 288);   // 50 and 60 dots at 300 dpi
    dmGetPageSizeTwips(dc, &w, &h);
    EXPECT_EQ(12240, w);
    dmGetPageMetrics(dc, &m);
    EXPECT_EQ(300, m.resolutionX);
    EXPECT_EQ(12240, m.physicalWidthTwips);

    POINT offset;
    EXPECT_TRUE(dmGetPrintOffset(dc, &offset));
    EXPECT_EQ(50, offset.x);
    EXPECT_FALSE(dmGetPrintOffset(nullptr, &offset));
    EXPECT_EQ(0, offset.x);
    EXPECT_EQ(0, offset.y);
    dmGetPageMetrics(nullptr, &m);
    EXPECT_EQ(0, m.physicalWidthTwips);
    dmGetPageSizeTwips(nullptr, &w, &h);
    EXPECT_EQ(0, w);
    dmDeleteDC(&dc);
}

TEST_F(PrinterModule, DeviceCapabilitiesOfTheCurrentPrinter)
{
    FakePrinter printer;
    EXPECT_EQ(-1, dmDeviceCaps(DC_PAPERS, nullptr));
    ASSERT_TRUE(dmStartDefaultPrinter(nullptr));
    EXPECT_EQ(7, dmDeviceCaps(DC_PAPERS, nullptr));
    EXPECT_EQ((std::vector<std::string>{"Quillmark Test Printer", "LPT1:",
                                        std::to_string(DC_PAPERS)}),
              printer.capabilitiesArgs);
}

// ---- comparing with the default and the set-up dialog -----------------------------------------

TEST_F(PrinterModule, DefaultPrinterIsCurrentWhenNamesAndSettingsMatch)
{
    FakePrinter printer;
    ASSERT_TRUE(dmStartDefaultPrinter(nullptr));
    printer.device = "QUILLMARK TEST PRINTER";   // names compare ignoring case
    printer.driver = "WINSPOOL";
    // The DEVMODE holds the device name too: same bytes for the check.
    HGLOBAL mode = qmtest::makeDevMode("QUILLMARK TEST PRINTER");
    HGLOBAL names = dmGetDevNames();
    dmSwapPrinter(&mode, &names);
    GlobalFree(mode);
    EXPECT_TRUE(dmIsDefaultPrinterCurrent());
    EXPECT_EQ(GetDesktopWindow(), printer.dialogs.back().hwndOwner);
    EXPECT_EQ((DWORD)PD_RETURNDEFAULT, printer.dialogs.back().Flags);

    printer.output = "LPT2:";
    EXPECT_FALSE(dmIsDefaultPrinterCurrent());
    printer.output = "LPT1:";
    // Other settings.
    DEVMODEA *current = (DEVMODEA *)GlobalLock(dmGetDevMode());
    current->dmCopies = 2;
    GlobalUnlock(dmGetDevMode());
    EXPECT_FALSE(dmIsDefaultPrinterCurrent());
    printer.defaultPresent = false;
    EXPECT_FALSE(dmIsDefaultPrinterCurrent());
    EXPECT_EQ(1u, printer.liveDCs());   // only the current IC
}

TEST_F(PrinterModule, SetupDialogWorksOnCopiesAndAdoptsTheNewPrinter)
{
    FakePrinter printer;
    ASSERT_TRUE(dmStartDefaultPrinter(nullptr));
    HDC firstIC = dmGetPrinterIC();
    HGLOBAL currentMode = dmGetDevMode(), currentNames = dmGetDevNames();

    // The user turns the page to landscape; the dialog, like the system's,
    // replaces the blocks it was given.
    printer.caps[LOGPIXELSX] = 1200;
    printer.setupScript = [&](PRINTDLGA *pd) {
        EXPECT_EQ((DWORD)(PD_PRINTSETUP | PD_RETURNIC), pd->Flags);
        EXPECT_NE(currentMode, pd->hDevMode);
        EXPECT_NE(currentNames, pd->hDevNames);
        Bytes mode = qmtest::globalBytes(pd->hDevMode);
        GlobalFree(pd->hDevMode);
        reinterpret_cast<DEVMODEA *>(mode.data())->dmOrientation = DMORIENT_LANDSCAPE;
        pd->hDevMode = qmtest::globalFromBytes(mode);
        pd->hDC = printer.newDC();
        return TRUE;
    };
    BOOL namesChanged = TRUE, modeChanged = FALSE;
    EXPECT_TRUE(dmPrinterSetup(nullptr, &namesChanged, &modeChanged));
    EXPECT_FALSE(namesChanged);
    EXPECT_TRUE(modeChanged);
    EXPECT_EQ(DMORIENT_LANDSCAPE, modeOf(dmGetDevMode()).dmOrientation);
    EXPECT_FALSE(printer.isLive(firstIC));
    EXPECT_EQ(dmGetPrinterIC(), txGetPrinterRefDC());
    int32_t x, y;
    dmGetPrinterResolution(&x, &y);
    EXPECT_EQ(1200, x);

    // Another printer.
    printer.setupScript = [&](PRINTDLGA *pd) {
        GlobalFree(pd->hDevNames);
        pd->hDevNames = qmtest::makeDevNames("winspool", "Other", "LPT3:");
        pd->hDC = printer.newDC();
        return TRUE;
    };
    EXPECT_TRUE(dmPrinterSetup(nullptr, &namesChanged, &modeChanged));
    EXPECT_TRUE(namesChanged);
    EXPECT_FALSE(modeChanged);
    char name[16];
    dmGetPrinterName(name, sizeof(name));
    EXPECT_STREQ("Other", name);
}

TEST_F(PrinterModule, SetupDialogCancelledOrFailingKeepsThePrinter)
{
    FakePrinter printer;
    ASSERT_TRUE(dmStartDefaultPrinter(nullptr));
    HDC ic = dmGetPrinterIC();
    Bytes names = qmtest::globalBytes(dmGetDevNames());

    // Cancelled after freeing the blocks it was given: the current printer
    // is untouched and nothing is said.
    printer.setupScript = [&](PRINTDLGA *pd) {
        GlobalFree(pd->hDevMode);
        GlobalFree(pd->hDevNames);
        pd->hDevMode = pd->hDevNames = nullptr;
        return FALSE;
    };
    BoxRecorder boxes;
    BOOL namesChanged = TRUE, modeChanged = TRUE;
    EXPECT_FALSE(dmPrinterSetup(nullptr, &namesChanged, &modeChanged));
    EXPECT_FALSE(namesChanged);
    EXPECT_FALSE(modeChanged);
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ(ic, dmGetPrinterIC());
    EXPECT_EQ(names, qmtest::globalBytes(dmGetDevNames()));

    // Accepted, but no IC could be made.
    printer.setupScript = [&](PRINTDLGA *) {
        printer.error = PDERR_CREATEICFAILURE;
        return TRUE;
    };
    EXPECT_FALSE(dmPrinterSetup(nullptr, nullptr, nullptr));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Printer setup failed.  Please check for printer connection or power.\r\n"
              "Create IC failed.",
              boxes.last().text);
    EXPECT_EQ(ic, dmGetPrinterIC());
    EXPECT_EQ(names, qmtest::globalBytes(dmGetDevNames()));
}

// ---- putting a printer aside, saving it -------------------------------------------------------

TEST_F(PrinterModule, UseAndSwapPrinters)
{
    FakePrinter printer;
    ASSERT_TRUE(dmStartDefaultPrinter(nullptr));
    HGLOBAL mode = dmGetDevMode(), names = dmGetDevNames();
    GlobalBlock faxMode(qmtest::makeDevMode("Fax")), faxNames(qmtest::makeDevNames("d", "Fax", "COM1:"));

    EXPECT_FALSE(dmUsePrinter(nullptr, nullptr, 0));   // nothing put aside
    EXPECT_EQ(names, dmGetDevNames());
    EXPECT_TRUE(dmUsePrinter(faxMode.get(), faxNames.get(), 1));
    EXPECT_EQ(faxNames.get(), dmGetDevNames());
    EXPECT_FALSE(dmUsePrinter(mode, names, 1));        // would lose the pair aside
    EXPECT_EQ(faxNames.get(), dmGetDevNames());
    EXPECT_TRUE(dmUsePrinter(nullptr, nullptr, 0));
    EXPECT_EQ(mode, dmGetDevMode());
    EXPECT_EQ(names, dmGetDevNames());

    HGLOBAL m = faxMode.release(), n = faxNames.release();
    EXPECT_EQ(1, dmSwapPrinter(&m, &n));
    EXPECT_EQ(mode, m);
    EXPECT_EQ(names, n);
    char name[8];
    dmGetPrinterName(name, sizeof(name));
    EXPECT_STREQ("Fax", name);
    dmSwapPrinter(&m, &n);
    EXPECT_EQ(names, dmGetDevNames());
    GlobalFree(m);
    GlobalFree(n);
}

TEST_F(PrinterModule, SavedPrinterReadsBack)
{
    FakePrinter printer;
    ASSERT_TRUE(dmStartDefaultPrinter(nullptr));
    qmtest::TempDir dir;
    std::string file = dir.file("~Quillmark Draw_PrtLog");
    EXPECT_TRUE(dmSavePrinter(nullptr, file.c_str()));
    HGLOBAL mode, names;
    ASSERT_TRUE(prnReadSetupFile(nullptr, file.c_str(), &mode, &names));
    EXPECT_EQ(qmtest::globalBytes(dmGetDevMode()), qmtest::globalBytes(mode));
    EXPECT_EQ(qmtest::globalBytes(dmGetDevNames()), qmtest::globalBytes(names));
    GlobalFree(mode);
    GlobalFree(names);
}

// ---- device names ------------------------------------------------------------------------------

TEST(PrinterNames, CopyDeviceNameIsBounded)
{
    GlobalBlock names(qmtest::makeDevNames("winspool", "Quillmark Test Printer", "LPT1:"));
    char buf[8];
    memset(buf, 'x', sizeof(buf));
    EXPECT_TRUE(dmCopyDeviceName(names.get(), buf, sizeof(buf)));
    EXPECT_STREQ("Quillma", buf);
    EXPECT_FALSE(dmCopyDeviceName(nullptr, buf, sizeof(buf)));
    EXPECT_STREQ("", buf);
    EXPECT_FALSE(dmCopyDeviceName(names.get(), nullptr, 8));

    // A device offset past the block.
    Bytes bad = qmtest::devNamesBytes("winspool", "P", "LPT1:");
    bad[2] = 200;
    GlobalBlock damaged(qmtest::globalFromBytes(bad));
    strcpy(buf, "x");
    EXPECT_FALSE(dmCopyDeviceName(damaged.get(), buf, sizeof(buf)));
    EXPECT_STREQ("", buf);
}

// ---- the printer names packet --------------------------------------------------------------------

// A DEVNAMES whose output string is last: "LPT1" at offset 40, the block
// ending at 45.
Bytes namesEndingAt45()
{
    Bytes b = qmtest::devNamesBytes("winspool", "Quillmark Test Printer", "LPT1");
    EXPECT_EQ(45u, b.size());
    EXPECT_EQ(40, b[4]);
    return b;
}

Bytes packetBytes(MemHandle packet)
{
    uint32_t length = utGetPacketLength(packet);
    MemLock<> p(packet);
    return p ? Bytes(p.get(), p.get() + length) : Bytes();
}

// Makes the bytes the current DEVNAMES. Its block is first allocated larger
// and filled with 0xEE, then cut down, so that bytes past it are not zero.
class CurrentNames {
public:
    explicit CurrentNames(const Bytes &b)
    {
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, b.size() + 64);
        memset(GlobalLock(h), 0xEE, b.size() + 64);
        GlobalUnlock(h);
        h = GlobalReAlloc(h, b.size(), GMEM_MOVEABLE);
        memcpy(GlobalLock(h), b.data(), b.size());
        GlobalUnlock(h);
        names_ = h;
        mode_ = nullptr;
        dmSwapPrinter(&mode_, &names_);
    }
    ~CurrentNames()
    {
        dmSwapPrinter(&mode_, &names_);
        GlobalFree(names_);
    }

private:
    HGLOBAL mode_, names_;
};

TEST_F(PrinterModule, PackedNamesHaveTheStoredSizeAndNeverReadPastTheBlock)
{
    Bytes names = namesEndingAt45();
    CurrentNames current(names);
    long live = qmtest::liveHandles();
    MemHandle packet = dmPackPrinterNames();
    ASSERT_NE(0u, packet);
    EXPECT_EQ(59u, utGetPacketLength(packet));
    Bytes p = packetBytes(packet);
    ASSERT_EQ(59u, p.size());
    EXPECT_EQ(314, p[4] | (p[5] << 8));
    EXPECT_TRUE(std::equal(names.begin(), names.end(), p.begin() + 6));
    // The 8 bytes past the DEVNAMES are zeros, not what lies beyond it.
    for (size_t i = 6 + 45; i < 59; ++i)
        EXPECT_EQ(0, p[i]) << "byte " << i;

    // Round trip, in memory and through a file.
    GlobalBlock back(dmUnpackPrinterNames(packet));
    ASSERT_NE(nullptr, back.get());
    EXPECT_EQ(53u, GlobalSize(back.get()));
    for (int field = 0; field < 3; ++field)
        EXPECT_EQ(qmtest::devNamesField(dmGetDevNames(), field),
                  qmtest::devNamesField(back.get(), field));
    qmtest::TempDir dir;
    std::string file = dir.file("names.pkt");
    HANDLE f = ffCreate(file.c_str(), FALSE);
    ASSERT_EQ(59u, ffWritePacket(f, packet));
    ffClose(f);
    MemHandle read = 0;
    {
        DWORD size = 0;
        HANDLE g = ffOpenRead(file.c_str(), &size, FALSE);
        int32_t budget = (int32_t)size;
        read = ffReadPacket(g, &budget);
        ffClose(g);
    }
    EXPECT_EQ(0, utComparePackets(packet, read));
    GlobalBlock fromFile(dmUnpackPrinterNames(read));
    EXPECT_EQ("LPT1", qmtest::devNamesField(fromFile.get(), PRN_OUTPUT));
    utFreeHandle(read);
    utFreeHandle(packet);
    EXPECT_EQ(live, qmtest::liveHandles());
}

TEST_F(PrinterModule, PackingRefusesDamagedNamesAndMissingMemory)
{
    EXPECT_EQ(0u, dmPackPrinterNames());   // no printer
    struct Case { const char *what; int at; uint8_t value; } cases[] = {
        {"device offset past the block", 2, 45},
        {"output offset inside the head", 4, 6},
        {"driver offset far away", 1, 0x80},
        {"output without terminator", 44, 'X'},
    };
    long live = qmtest::liveHandles();
    for (const Case &c : cases) {
        Bytes b = namesEndingAt45();
        b[c.at] = c.value;
        CurrentNames current(b);
        EXPECT_EQ(0u, dmPackPrinterNames()) << c.what;
    }
    CurrentNames current(namesEndingAt45());
    BoxRecorder boxes;
    utFailNextAllocs(1);
    EXPECT_EQ(0u, dmPackPrinterNames());
    EXPECT_EQ("Memory allocation failed", boxes.last().text);
    EXPECT_EQ(live, qmtest::liveHandles());
}

// Bytes placed at the very end of a readable page, the next page
// inaccessible: any read past them faults.
class GuardedBytes {
public:
    explicit GuardedBytes(const Bytes &b)
    {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        page_ = si.dwPageSize;
        base_ = static_cast<uint8_t *>(
            VirtualAlloc(nullptr, 2 * page_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(base_ + page_, page_, PAGE_NOACCESS, &old);
        data_ = base_ + page_ - b.size();
        memcpy(data_, b.data(), b.size());
    }
    ~GuardedBytes() { VirtualFree(base_, 0, MEM_RELEASE); }
    const uint8_t *data() const { return data_; }

private:
    uint32_t page_;
    uint8_t *base_, *data_;
};

TEST_F(PrinterModule, UnpackingDamagedPacketsIsRefusedWithoutOverRead)
{
    Bytes names = namesEndingAt45();
    CurrentNames current(names);
    MemHandle packet = dmPackPrinterNames();
    Bytes valid = packetBytes(packet);
    utFreeHandle(packet);
    ASSERT_EQ(59u, valid.size());
    {
        GuardedBytes whole(valid);
        GlobalBlock back(dmUnpackPrinterNamesBytes(whole.data(), 59));
        EXPECT_EQ("Quillmark Test Printer", qmtest::devNamesField(back.get(), PRN_DEVICE));
    }
    long live = qmtest::liveHandles();

    // Cut at every offset, the length word still claiming 59.
    for (uint32_t n = 0; n < valid.size(); ++n) {
        GuardedBytes cut(Bytes(valid.begin(), valid.begin() + n));
        EXPECT_EQ(nullptr, dmUnpackPrinterNamesBytes(cut.data(), n)) << "cut at " << n;
    }
    // Cut at every offset with the length word telling the truth: whole
    // only while the strings are (the padding may go).
    for (uint32_t n = 0; n < valid.size(); ++n) {
        Bytes b(valid.begin(), valid.begin() + n);
        if (n >= 4)
            memcpy(b.data(), &n, 4);
        GuardedBytes cut(b);
        GlobalBlock back(dmUnpackPrinterNamesBytes(cut.data(), n));
        if (n >= 6 + 45) {
            EXPECT_NE(nullptr, back.get()) << "length " << n;
            EXPECT_EQ("LPT1", qmtest::devNamesField(back.get(), PRN_OUTPUT));
        } else {
            EXPECT_EQ(nullptr, back.get()) << "length " << n;
        }
    }
    // Wrong lengths, type and offsets.
    struct Case { const char *what; uint32_t at; uint32_t value, width; } cases[] = {
        {"length beyond the bytes", 0, 60, 4},
        {"huge length", 0, 0xFFFFFFFF, 4},
        {"length below the head", 0, 5, 4},
        {"length of the head only", 0, 6, 4},
        {"other packet type", 4, 315, 2},
        {"device offset past the block", 8, 60, 2},
        {"output offset at the block's end", 10, 53, 2},
        {"driver offset inside the head", 6, 2, 2},
    };
    for (const Case &c : cases) {
        Bytes b = valid;
        memcpy(b.data() + c.at, &c.value, c.width);
        GuardedBytes bad(b);
        EXPECT_EQ(nullptr, dmUnpackPrinterNamesBytes(bad.data(), 59)) << c.what;
    }
    // Unterminated last string: padding overwritten to the end.
    Bytes b = valid;
    for (size_t i = 6 + 40; i < b.size(); ++i)
        b[i] = 'P';
    GuardedBytes open(b);
    EXPECT_EQ(nullptr, dmUnpackPrinterNamesBytes(open.data(), 59));
    EXPECT_EQ(nullptr, dmUnpackPrinterNamesBytes(nullptr, 59));

    // A handle holds its length word to its own size.
    MemHandle shortHandle = utMakePacket(valid.data() + 4, 40);   // length 44
    {
        MemLock<> p(shortHandle);
        uint32_t claim = 59;
        memcpy(p.get(), &claim, 4);
    }
    EXPECT_EQ(nullptr, dmUnpackPrinterNames(shortHandle));
    utFreeHandle(shortHandle);
    EXPECT_EQ(nullptr, dmUnpackPrinterNames(0));
    EXPECT_EQ(live, qmtest::liveHandles());
}

// ---- print dialog errors -----------------------------------------------------------------------

TEST(PrintDialogErrors, TextsOfTheExtendedErrors)
{
    struct Case { DWORD code; const char *text; } cases[] = {
        {0x1001, "Setup failed"},
        {0x1002, "Failed to parse driver string in win.ini"},
        {0x1004, "Failed to load the specified driver."},
        {0x1005, "Could not get the Driver."},
        {0x1006, "PrintDlg initialization failure."},
        {0x1007, "Could not find printer drivers."},
        {0x1008, "No default printer."},
        {0x1009, "Mismatch in printer specification."},
        {0x100A, "Create IC failed."},
        {0x100B, "Could not find the specified printer."},
        {0x100C, "Mismatch in printer specification."},
    };
    char buf[64];
    for (const Case &c : cases) {
        strcpy(buf, "old");
        EXPECT_TRUE(dmPrintDlgErrorText(c.code, buf, sizeof(buf))) << c.code;
        EXPECT_STREQ(c.text, buf);
    }
    for (DWORD code : {0x0u, 0x1000u, 0x1003u, 0x100Du, 0xFFFFu}) {
        strcpy(buf, "old");
        EXPECT_FALSE(dmPrintDlgErrorText(code, buf, sizeof(buf))) << code;
        EXPECT_STREQ("", buf);
    }
    char shortBuf[6];
    EXPECT_TRUE(dmPrintDlgErrorText(0x1008, shortBuf, sizeof(shortBuf)));
    EXPECT_STREQ("No de", shortBuf);
}

TEST_F(PrinterModule, ShowPrintErrorOnlyWhenTheDialogReportsOne)
{
    FakePrinter printer;
    BoxRecorder boxes;
    EXPECT_FALSE(dmShowPrintError(nullptr, "Print failed."));
    EXPECT_EQ(0u, boxes.count());
    printer.error = PDERR_LOADDRVFAILURE;
    EXPECT_TRUE(dmShowPrintError(nullptr, "Print failed."));
    printer.error = 0xFFFF;   // a code without a text of its own
    EXPECT_TRUE(dmShowPrintError(nullptr, "Print failed."));
    ASSERT_EQ(2u, boxes.count());
    EXPECT_EQ("Print failed.\r\nFailed to load the specified driver.", boxes.boxes()[0].text);
    EXPECT_EQ(kError, boxes.boxes()[0].caption);
    EXPECT_EQ((UINT)MB_ICONHAND, boxes.boxes()[0].flags & MB_ICONMASK);
    EXPECT_EQ("Print failed.\r\n", boxes.boxes()[1].text);
}

}  // namespace
