// The current printer and printer device contexts.
//
// The process keeps one current printer: a DEVMODE and a DEVNAMES global
// block and an information context (IC) made from them. Pages are laid out
// in twips against the printer's resolution and unprintable margins, so the
// module also keeps the resolution and the margins in twips, converts
// between printer pixels and twips, makes printer device contexts with a
// paper code, orientation and number of copies, runs the printer set-up
// dialog and packs the printer's names into the packet (type 314) that
// documents store.
//
// Without a printer every query still answers: resolution 300 x 300,
// offsets 360 twips (a quarter inch), dmDeviceCaps -1, device contexts 0.
//
// Every call to the print dialog, the device-context functions and the
// device capabilities goes through a table (DmPrinterCalls), so that tests
// can stand in a printer of their own. The state belongs to the
// user-interface thread.
#pragma once
#include "support/qmwin.h"
#include <commdlg.h>

// The system functions the module calls.
struct DmPrinterCalls {
    BOOL (*printDlg)(PRINTDLGA *pd);
    DWORD (*extendedError)();
    HDC (*createIC)(const char *driver, const char *device, const char *output,
                    const DEVMODEA *mode);
    HDC (*createDC)(const char *driver, const char *device, const char *output,
                    const DEVMODEA *mode);
    HDC (*resetDC)(HDC dc, const DEVMODEA *mode);
    BOOL (*deleteDC)(HDC dc);
    int (*getDeviceCaps)(HDC dc, int index);
    int (*deviceCapabilities)(const char *device, const char *port, WORD capability,
                              char *output, const DEVMODEA *mode);
};
// The table of the system's own functions.
const DmPrinterCalls *dmSystemPrinterCalls();
// Installs a table (null: the system's); returns the one that was in use.
const DmPrinterCalls *dmSetPrinterCalls(const DmPrinterCalls *calls);
// The table in use.
const DmPrinterCalls *dmGetPrinterCalls();

// The text measuring follows the current printer: the call installed at
// start-up (txSetPrinterRefDC) is told each new information context, and
// null when the printer goes. Null uninstalls it.
typedef int (*DmPrinterRefCall)(HDC ic, BOOL flag);
void dmSetPrinterRefCall(DmPrinterRefCall call);

// Paper codes of the program (written into dmPaperSize by dmApplyPaper).
enum : int16_t {
    DM_PAPER_LETTER = 0,
    DM_PAPER_LEGAL = 1,
};

// The DEVMODE's public part as Windows 4.0 laid it out.
enum : uint32_t { DM_PUBLIC_DEVMODE_SIZE = 148 };

#pragma pack(push, 2)
// A printer device context with the settings it was made with.
struct PrinterDCInfo {
    uint32_t dc;           // HDC (qmHandleToU32)
    int16_t paper;         // paper code
    uint16_t orientation;  // 2 landscape, else portrait
    uint16_t copies;
    uint8_t devMode[DM_PUBLIC_DEVMODE_SIZE];   // the DEVMODE's public part
};
#pragma pack(pop)
static_assert(sizeof(PrinterDCInfo) == 158, "PrinterDCInfo is 158 bytes");

// The page of a device context in pixels and twips.
struct PageMetrics {
    int32_t offsetX, offsetY;               // PHYSICALOFFSETX/Y
    int32_t resolutionX, resolutionY;       // LOGPIXELSX/Y
    int32_t physicalWidth, physicalHeight;  // PHYSICALWIDTH/HEIGHT
    int32_t printableWidth, printableHeight;          // physical less twice the offset
    int32_t physicalWidthTwips, physicalHeightTwips;
    int32_t printableWidthTwips, printableHeightTwips;
};
static_assert(sizeof(PageMetrics) == 48, "PageMetrics is twelve i32");

// ---- the current printer -------------------------------------------------------------
// Sets up the current printer: from the printer settings file when a name
// is given and the file holds a printer whose IC can be made, else the
// system default printer. Without one, tells the user ("Failed to start
// printer. ..." with the print dialog's error, when it reports one), falls
// back to the default metrics and returns FALSE.
BOOL dmStartPrinter(HWND owner, const char *settingsFile);
BOOL dmStartDefaultPrinter(HWND owner);
// The same without telling the user when there is no printer (start-up).
BOOL dmStartPrinterSilently(HWND owner, const char *settingsFile);
// Deletes the IC (text measuring is told) and frees both blocks.
void dmEndPrinter();
HDC dmGetPrinterIC();
// The current blocks (null when there is no printer); the module keeps them.
HGLOBAL dmGetDevMode();
HGLOBAL dmGetDevNames();
// FALSE without a current DEVNAMES; else whether the system default printer
// has the same names (ignoring case) and the same DEVMODE.
BOOL dmIsDefaultPrinterCurrent();
// The printer set-up dialog on copies of the current settings; on OK with a
// new IC the dialog's choice becomes current. The flags tell whether the
// names and the DEVMODE changed. TRUE when a new IC was made.
BOOL dmPrinterSetup(HWND owner, BOOL *namesChanged, BOOL *modeChanged);
// Writes the current printer into the settings file; "Error saving printer
// info." on failure.
BOOL dmSavePrinter(HWND owner, const char *settingsFile);
// flag 1: puts the current pair aside and makes the given pair current (the
// caller keeps owning it); flag 0: makes the pair put aside current again.
// FALSE (nothing changed) for a second put-aside or a return with nothing
// put aside, which would lose a pair.
BOOL dmUsePrinter(HGLOBAL devMode, HGLOBAL devNames, int flag);
// Exchanges the given pair with the current one. Returns 1.
int dmSwapPrinter(HGLOBAL *devMode, HGLOBAL *devNames);

// ---- printer device contexts ------------------------------------------------------------
// A device context of the current printer with the paper code, orientation
// and copies written into the current DEVMODE; the printer metrics are
// refreshed from it. The record (when given) is zeroed and filled. 0 without
// a printer or when the device context cannot be made.
HDC dmCreatePrinterDC(HWND owner, int16_t paper, uint16_t orientation, int16_t copies);
HDC dmCreatePrinterDCInfo(HWND owner, int16_t paper, uint16_t orientation, int16_t copies,
                          PrinterDCInfo *info);
// Applies new settings to the record's context with ResetDC; the same
// settings return the context unchanged. On success the record holds the
// new context and settings; on failure its DEVMODE copy is put back.
// Returns the record's context.
HDC dmResetPrinterDC(HWND owner, int16_t paper, uint16_t orientation, int16_t copies,
                     PrinterDCInfo *info);
void dmDeleteDC(HDC *dc);
// dmPaperSize from the paper code (1 legal; 4, 8, 9, 11, 12, 13, 19 to 23
// the same number; anything else letter), dmOrientation 2 for 2 else 1,
// dmCopies at least 1; dmFields gains DM_ORIENTATION | DM_PAPERSIZE |
// DM_COPIES.
void dmApplyPaper(DEVMODEA *mode, int16_t paper, uint16_t orientation, int16_t copies);
// The dmPaperSize of a paper code.
int16_t dmPaperSizeOf(int16_t paper);

// ---- metrics and conversions ------------------------------------------------------------
// With a DC: resolution from LOGPIXELSX/Y (300 when it reports none) and
// the unprintable offsets in twips; without one: 300 x 300 and 360 x 360.
void dmUpdatePrinterMetrics(HDC dc);
BOOL dmGetPrintOffset(HDC dc, POINT *offset);
// left = right = offset x, top = bottom = offset y (twips). Returns 1.
int dmGetPrinterMargins(RECT *margins);
void dmGetPageSizeTwips(HDC dc, int32_t *width, int32_t *height);
void dmGetPageMetrics(HDC dc, PageMetrics *metrics);
void dmGetPrinterResolution(int32_t *x, int32_t *y);
int32_t dmPrinterToTwipsX(int32_t v);
int32_t dmPrinterToTwipsY(int32_t v);
int32_t dmTwipsToPrinterX(int32_t v);
int32_t dmTwipsToPrinterY(int32_t v);
// DeviceCapabilities of the current printer; -1 without one.
int dmDeviceCaps(WORD capability, char *output);

// ---- names ------------------------------------------------------------------------------
// Copies the device name into a buffer of n bytes (cut to fit, always
// terminated; empty for no block or a damaged one). TRUE when not empty.
BOOL dmCopyDeviceName(HGLOBAL devNames, char *buffer, uint32_t n);
// The current printer's device name; returns its length.
int dmGetPrinterName(char *buffer, uint32_t n);

// The printer names packet: u32 length (block size + 6), u16 type 314, then
// the DEVNAMES block, whose size is the largest string offset + the length
// of that string + 9 (bytes the DEVNAMES does not hold are zeros).
enum : uint16_t { DM_PRINTER_NAMES_PACKET = 314 };
enum : uint32_t { DM_PACKET_HEAD = 6 };
// The packet of the current DEVNAMES; 0 without one or when memory runs out.
MemHandle dmPackPrinterNames();
// The DEVNAMES block of a printer names packet of n bytes (the length word
// is believed only within n); null for a damaged packet.
HGLOBAL dmUnpackPrinterNamesBytes(const void *packet, uint32_t n);
HGLOBAL dmUnpackPrinterNames(MemHandle packet);

// ---- print dialog errors -------------------------------------------------------------------
// The text of a print dialog's extended error into a buffer of n bytes
// (emptied first); FALSE (buffer empty) for other codes.
BOOL dmPrintDlgErrorText(DWORD code, char *buffer, uint32_t n);
// When the print dialog reports an extended error: the error box with the
// text and the error's text ("%s\r\n%s"), TRUE. Else nothing and FALSE.
BOOL dmShowPrintError(HWND owner, const char *text);

// Tests: ends the printer (putting back a pair put aside), restores the
// system table and the start-up metrics.
void dmResetPrinterModule();
