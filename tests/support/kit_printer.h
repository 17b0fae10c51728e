// Printers for the tests: DEVMODE and DEVNAMES blocks made to measure, and a
// printer of the tests' own behind the printer module's table of system
// functions (there is no printer under Wine here).
#pragma once
#include "tests/support/kit_gtest.h"
#include "support/dm_printer.h"
#include "views/prn_print.h"
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace qmtest {

typedef std::vector<uint8_t> Bytes;

// A DEVNAMES block: the head, then the three strings one after another from
// offset 8 (default flag 0).
Bytes devNamesBytes(const char *driver, const char *device, const char *output);
HGLOBAL makeDevNames(const char *driver, const char *device, const char *output);
// A DEVMODE block of dmSize bytes and driverExtra private bytes (0xA5),
// with the device name, letter paper, portrait, one copy.
Bytes devModeBytes(const char *device, WORD size = sizeof(DEVMODEA), WORD driverExtra = 0);
HGLOBAL makeDevMode(const char *device, WORD size = sizeof(DEVMODEA), WORD driverExtra = 0);
HGLOBAL globalFromBytes(const Bytes &bytes);
Bytes globalBytes(HGLOBAL h);
// A string of a DEVNAMES block (field 0 driver, 1 device, 2 output); "" when
// the block does not hold it.
std::string devNamesField(HGLOBAL h, int field);

// While alive, the printer module calls this printer instead of the
// system's. Its device contexts are memory DCs; the device reports the
// capabilities in caps. At the end the module is reset and every device
// context the printer made must have been deleted.
class FakePrinter {
public:
    FakePrinter();
    ~FakePrinter();

    // The system default printer (PD_RETURNDEFAULT); absent, the dialog
    // fails with defaultError.
    bool defaultPresent = true;
    bool defaultReturnsIC = true;
    DWORD defaultError = PDERR_NODEFAULTPRN;
    std::string driver = "winspool", device = "Quillmark Test Printer", output = "LPT1:";
    // The set-up dialog (PD_PRINTSETUP); without a script it is cancelled.
    std::function<BOOL(PRINTDLGA *)> setupScript;
    // Extended error after the next dialog (set by the dialogs; tests may
    // set it for dmShowPrintError).
    DWORD error = 0;
    bool failCreateIC = false, failCreateDC = false, failResetDC = false;
    std::map<int, int> caps;   // GetDeviceCaps answers; missing indexes give 0
    int capabilitiesResult = 7;

    // What the module asked for.
    int dialogCalls = 0;
    std::vector<PRINTDLGA> dialogs;            // as they came in
    std::vector<std::vector<std::string>> createICArgs, createDCArgs;  // driver, device, output ("<null>")
    std::vector<Bytes> createDCModes, resetDCModes;
    std::vector<std::string> capabilitiesArgs;   // device, port, capability
    int deleteCalls = 0;

    // A memory DC the printer owns until the module deletes it.
    HDC newDC();
    size_t liveDCs() const { return live_.size(); }
    bool isLive(HDC dc) const { return live_.count(qmHandleToU32(dc)) != 0; }

private:
    static BOOL printDlg(PRINTDLGA *pd);
    static DWORD extendedError();
    static HDC createIC(const char *, const char *, const char *, const DEVMODEA *);
    static HDC createDC(const char *, const char *, const char *, const DEVMODEA *);
    static HDC resetDC(HDC, const DEVMODEA *);
    static BOOL deleteDC(HDC);
    static int getDeviceCaps(HDC, int);
    static int deviceCapabilities(const char *, const char *, WORD, char *, const DEVMODEA *);
    // By the handle's 32 bits: a context kept in a record (qmHandleToU32)
    // comes back sign-extended, which the system takes for the same one.
    std::set<uint32_t> live_;
    DmPrinterCalls table_;
    const DmPrinterCalls *previous_;
};

// While alive, the print loop calls this recorder instead of the printer's
// document functions. Each sheet (StartPage .. EndPage) gets a white 32-bit
// DIB of sheetWidth x sheetHeight selected into the printer DC; NEXTBAND
// hands out `bands` horizontal bands of it and then an empty one; EndPage
// keeps the sheet's pixels. Every call is recorded in order.
class RecordingPrinter {
public:
    RecordingPrinter();
    ~RecordingPrinter();

    int sheetWidth = 816, sheetHeight = 1056;
    int bands = 1;
    int startDocResult = 1, startPageResult = 1;
    // Called at every NEXTBAND that hands out a band (sheet index, band
    // index); the abort procedure the loop installed is run afterwards, as
    // GDI does.
    std::function<void(int, int)> onBand;

    std::vector<std::string> calls;     // "StartDoc", "StartPage", "NextBand", ...
    std::vector<DOCINFOA> docInfos;
    std::vector<std::string> docNames, docOutputs;
    std::vector<std::string> spooling;  // control 200 of the abort dialog at each sheet's first band
    struct Sheet {
        int width, height;
        std::vector<uint32_t> pixels;   // 0x00RRGGBB, top row first
        uint32_t at(int x, int y) const { return pixels[(size_t)y * width + x] & 0xFFFFFF; }
    };
    std::vector<Sheet> sheets;
    int count(const char *call) const;
    bool balanced() const;   // every StartPage has one EndPage, none nested

private:
    static int startDoc(HDC, const DOCINFOA *);
    static int startPage(HDC);
    static int endPage(HDC);
    static int endDoc(HDC);
    static int abortDoc(HDC);
    static int setAbortProc(HDC, ABORTPROC);
    static int nextBand(HDC, RECT *);
    void dropBitmap();
    PrnPrintCalls table_;
    const PrnPrintCalls *previous_;
    ABORTPROC abortProc_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    uint32_t *bits_ = nullptr;
    int band_ = 0;
};

}  // namespace qmtest
