// The current printer, printer device contexts, printer metrics in twips
// and the printer names packet.
#include "support/dm_printer.h"
#include "support/prn_blocks.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/prn_setup_file.h"
#include <winspool.h>
#include <string.h>
#include <string>

namespace {

const int32_t kDefaultResolution = 300;   // dots per inch without a printer
const int32_t kDefaultOffset = 360;       // twips (a quarter inch) without a printer
const int32_t kTwipsPerInch = 1440;
const DWORD kPaperFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;

const char kStartFailed[] =
    "Failed to start printer.  If you want to use the printer, check printer power or "
    "connection and then restart this program.";
const char kSetupNoPrinter[] =
    "Can not do setup because no printer is connected.  Please check the power or "
    "connection, then restart this program.";
const char kSetupFailed[] = "Printer setup failed.  Please check for printer connection or power.";
const char kSaveFailed[] = "Error saving printer info.";

// ---- the system's functions ----------------------------------------------------------
BOOL sysPrintDlg(PRINTDLGA *pd) { return PrintDlgA(pd); }
DWORD sysExtendedError() { return CommDlgExtendedError(); }
HDC sysCreateIC(const char *driver, const char *device, const char *output, const DEVMODEA *mode)
{
    return CreateICA(driver, device, output, mode);
}
HDC sysCreateDC(const char *driver, const char *device, const char *output, const DEVMODEA *mode)
{
    return CreateDCA(driver, device, output, mode);
}
HDC sysResetDC(HDC dc, const DEVMODEA *mode) { return ResetDCA(dc, mode); }
BOOL sysDeleteDC(HDC dc) { return DeleteDC(dc); }
int sysGetDeviceCaps(HDC dc, int index) { return GetDeviceCaps(dc, index); }
int sysDeviceCapabilities(const char *device, const char *port, WORD capability, char *output,
                          const DEVMODEA *mode)
{
    return DeviceCapabilitiesA(device, port, capability, output, const_cast<DEVMODEA *>(mode));
}

const DmPrinterCalls kSystemCalls = {
    sysPrintDlg, sysExtendedError, sysCreateIC, sysCreateDC,
    sysResetDC,  sysDeleteDC,      sysGetDeviceCaps, sysDeviceCapabilities,
};

struct PrinterState {
    HGLOBAL devMode, devNames;        // the current printer (null: none)
    HGLOBAL savedMode, savedNames;    // the pair put aside by dmUsePrinter
    bool aside;                       // a pair is put aside
    HDC ic;                           // information context of the current printer
    int32_t resolutionX, resolutionY; // dots per inch
    int32_t offsetX, offsetY;         // unprintable offsets, twips
};
const PrinterState kStartState = {nullptr, nullptr, nullptr, nullptr, false, nullptr,
                                  kDefaultResolution, kDefaultResolution,
                                  kDefaultOffset, kDefaultOffset};
PrinterState g_printer = kStartState;
const DmPrinterCalls *g_calls = &kSystemCalls;
DmPrinterRefCall g_printerRef = nullptr;

// Tells the text measuring which context stands for the printer.
void tellPrinterRef(HDC ic)
{
    if (g_printerRef)
        g_printerRef(ic, 0);
}

// The three strings of a DEVNAMES block, copied out so that no lock is held
// across calls into the system.
struct PrinterNames {
    std::string driver, device, output;
};

bool readNames(HGLOBAL devNames, PrinterNames *out)
{
    GlobalLockT<> p(devNames);
    if (!prnCheckDevNames(p.get(), p.size()))
        return false;
    out->driver = prnDevNamesString(p.get(), p.size(), PRN_DRIVER);
    out->device = prnDevNamesString(p.get(), p.size(), PRN_DEVICE);
    out->output = prnDevNamesString(p.get(), p.size(), PRN_OUTPUT);
    return true;
}

int32_t resolutionOrDefault(int32_t r) { return r > 0 ? r : kDefaultResolution; }

// A zero kept resolution is replaced by the default, which is kept.
int32_t &keptResolution(int32_t &r)
{
    if (r <= 0)
        r = kDefaultResolution;
    return r;
}

int32_t pixelsToTwips(int32_t pixels, int32_t resolution)
{
    return geoRound((double)pixels * kTwipsPerInch / resolutionOrDefault(resolution));
}

// Makes the pair and the IC current and tells the text measuring.
void adoptPrinter(HGLOBAL devMode, HGLOBAL devNames, HDC ic)
{
    g_printer.devMode = devMode;
    g_printer.devNames = devNames;
    g_printer.ic = ic;
    dmUpdatePrinterMetrics(ic);
    tellPrinterRef(ic);
}

bool startFromFile(HWND owner, const char *settingsFile)
{
    HGLOBAL mode = nullptr, names = nullptr;
    if (!prnReadSetupFile(owner, settingsFile, &mode, &names))
        return false;
    GlobalBlock modeOwner(mode), namesOwner(names);
    PrinterNames strings;
    if (!readNames(names, &strings))
        return false;
    HDC ic = g_calls->createIC(strings.driver.c_str(), strings.device.c_str(),
                               strings.output.c_str(), nullptr);
    if (!ic)
        return false;
    adoptPrinter(modeOwner.release(), namesOwner.release(), ic);
    return true;
}

bool startDefault(HWND owner)
{
    PRINTDLGA pd;
    memset(&pd, 0, sizeof(pd));
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = owner;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNIC;
    BOOL ok = g_calls->printDlg(&pd);
    GlobalBlock mode(pd.hDevMode), names(pd.hDevNames);
    if (!ok || !pd.hDC)
        return false;
    adoptPrinter(mode.release(), names.release(), pd.hDC);
    return true;
}

}  // namespace

// ---- the table of system functions -------------------------------------------------------

const DmPrinterCalls *dmSystemPrinterCalls() { return &kSystemCalls; }

const DmPrinterCalls *dmSetPrinterCalls(const DmPrinterCalls *calls)
{
    const DmPrinterCalls *previous = g_calls;
    g_calls = calls ? calls : &kSystemCalls;
    return previous;
}

const DmPrinterCalls *dmGetPrinterCalls() { return g_calls; }

void dmSetPrinterRefCall(DmPrinterRefCall call) { g_printerRef = call; }

// ---- the current printer ------------------------------------------------------------------

BOOL dmStartPrinter(HWND owner, const char *settingsFile)
{
    if (g_printer.ic || g_printer.devMode || g_printer.devNames)
        dmEndPrinter();
    if (settingsFile && *settingsFile && startFromFile(owner, settingsFile))
        return TRUE;
    if (startDefault(owner))
        return TRUE;
    tellPrinterRef(nullptr);
    dmShowPrintError(owner, kStartFailed);
    dmUpdatePrinterMetrics(nullptr);
    return FALSE;
}

BOOL dmStartDefaultPrinter(HWND owner) { return dmStartPrinter(owner, nullptr); }

BOOL dmStartPrinterSilently(HWND owner, const char *settingsFile)
{
    if (g_printer.ic || g_printer.devMode || g_printer.devNames)
        dmEndPrinter();
    if ((settingsFile && *settingsFile && startFromFile(owner, settingsFile)) ||
        startDefault(owner))
        return TRUE;
    tellPrinterRef(nullptr);
    dmUpdatePrinterMetrics(nullptr);
    return FALSE;
}

void dmEndPrinter()
{
    if (g_printer.ic) {
        g_calls->deleteDC(g_printer.ic);
        g_printer.ic = nullptr;
        // Text must not go on measuring against the deleted context.
        tellPrinterRef(nullptr);
    }
    prnFreeGlobal(&g_printer.devMode);
    prnFreeGlobal(&g_printer.devNames);
}

HDC dmGetPrinterIC() { return g_printer.ic; }
HGLOBAL dmGetDevMode() { return g_printer.devMode; }
HGLOBAL dmGetDevNames() { return g_printer.devNames; }

BOOL dmIsDefaultPrinterCurrent()
{
    if (!g_printer.devNames)
        return FALSE;
    PRINTDLGA pd;
    memset(&pd, 0, sizeof(pd));
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = GetDesktopWindow();
    pd.Flags = PD_RETURNDEFAULT;
    BOOL ok = g_calls->printDlg(&pd);
    if (pd.hDC)
        g_calls->deleteDC(pd.hDC);
    GlobalBlock mode(pd.hDevMode), names(pd.hDevNames);
    return ok && prnSameDevNames(names.get(), g_printer.devNames) &&
           prnSameDevMode(mode.get(), g_printer.devMode);
}

BOOL dmPrinterSetup(HWND owner, BOOL *namesChanged, BOOL *modeChanged)
{
    if (namesChanged)
        *namesChanged = FALSE;
    if (modeChanged)
        *modeChanged = FALSE;
    if (!g_printer.devNames) {
        utErrorBox(owner, kSetupNoPrinter);
        return FALSE;
    }
    // The dialog works on copies: it may free or replace the blocks it is
    // given, and the current ones must stay valid until a new IC is made.
    PRINTDLGA pd;
    memset(&pd, 0, sizeof(pd));
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = owner;
    pd.hDevMode = prnCopyGlobal(g_printer.devMode);
    pd.hDevNames = prnCopyGlobal(g_printer.devNames);
    pd.Flags = PD_PRINTSETUP | PD_RETURNIC;
    BOOL ok = g_calls->printDlg(&pd);
    GlobalBlock mode(pd.hDevMode), names(pd.hDevNames);
    if (ok) {
        if (namesChanged)
            *namesChanged = !prnSameDevNames(names.get(), g_printer.devNames);
        if (modeChanged)
            *modeChanged = !prnSameDevMode(mode.get(), g_printer.devMode);
    }
    if (ok && pd.hDC) {
        HDC oldIC = g_printer.ic;
        prnFreeGlobal(&g_printer.devMode);
        prnFreeGlobal(&g_printer.devNames);
        adoptPrinter(mode.release(), names.release(), pd.hDC);
        if (oldIC)
            g_calls->deleteDC(oldIC);
        return TRUE;
    }
    if (pd.hDC)
        g_calls->deleteDC(pd.hDC);
    dmShowPrintError(owner, kSetupFailed);
    return FALSE;
}

BOOL dmSavePrinter(HWND owner, const char *settingsFile)
{
    if (prnWriteSetupFile(settingsFile, g_printer.devMode, g_printer.devNames))
        return TRUE;
    utErrorBox(owner, kSaveFailed);
    return FALSE;
}

BOOL dmUsePrinter(HGLOBAL devMode, HGLOBAL devNames, int flag)
{
    if (flag) {
        if (g_printer.aside)
            return FALSE;
        g_printer.savedMode = g_printer.devMode;
        g_printer.savedNames = g_printer.devNames;
        g_printer.devMode = devMode;
        g_printer.devNames = devNames;
        g_printer.aside = true;
        return TRUE;
    }
    if (!g_printer.aside)
        return FALSE;
    g_printer.devMode = g_printer.savedMode;
    g_printer.devNames = g_printer.savedNames;
    g_printer.savedMode = g_printer.savedNames = nullptr;
    g_printer.aside = false;
    return TRUE;
}

int dmSwapPrinter(HGLOBAL *devMode, HGLOBAL *devNames)
{
    HGLOBAL mode = *devMode, names = *devNames;
    *devMode = g_printer.devMode;
    *devNames = g_printer.devNames;
    g_printer.devMode = mode;
    g_printer.devNames = names;
    return 1;
}

// ---- printer device contexts -----------------------------------------------------------------

HDC dmCreatePrinterDC(HWND owner, int16_t paper, uint16_t orientation, int16_t copies)
{
    return dmCreatePrinterDCInfo(owner, paper, orientation, copies, nullptr);
}

HDC dmCreatePrinterDCInfo(HWND, int16_t paper, uint16_t orientation, int16_t copies,
                          PrinterDCInfo *info)
{
    if (info)
        memset(info, 0, sizeof(*info));
    PrinterNames names;
    if (!g_printer.devMode || !readNames(g_printer.devNames, &names))
        return nullptr;
    GlobalLockT<DEVMODEA> mode(g_printer.devMode);
    if (!prnCheckDevMode(mode.get(), mode.size()))
        return nullptr;
    dmApplyPaper(mode.get(), paper, orientation, copies);
    HDC dc = g_calls->createDC(names.driver.c_str(), names.device.c_str(), nullptr, mode.get());
    if (!dc)
        return nullptr;
    dmUpdatePrinterMetrics(dc);
    if (info) {
        info->dc = qmHandleToU32(dc);
        info->paper = paper;
        info->orientation = orientation;
        info->copies = (uint16_t)copies;
        // Only the public part is kept: the copy says so, so that whoever
        // hands it to the system is not taken to read past it.
        uint32_t n = mode->dmSize < DM_PUBLIC_DEVMODE_SIZE ? mode->dmSize : DM_PUBLIC_DEVMODE_SIZE;
        memcpy(info->devMode, mode.get(), n);
        DEVMODEA *copy = reinterpret_cast<DEVMODEA *>(info->devMode);
        WORD size = (WORD)n, extra = 0;
        memcpy(&copy->dmSize, &size, sizeof(size));
        memcpy(&copy->dmDriverExtra, &extra, sizeof(extra));
    }
    return dc;
}

HDC dmResetPrinterDC(HWND, int16_t paper, uint16_t orientation, int16_t copies,
                     PrinterDCInfo *info)
{
    if (!info)
        return nullptr;
    HDC dc = qmU32ToHandle<HDC>(info->dc);
    if (info->paper == paper && info->orientation == orientation &&
        info->copies == (uint16_t)copies)
        return dc;
    // The settings are applied to a copy of the record's DEVMODE; the record
    // takes them only when ResetDC has accepted them.
    DEVMODEA mode;
    memset(&mode, 0, sizeof(mode));
    memcpy(&mode, info->devMode, DM_PUBLIC_DEVMODE_SIZE);
    if (!dc || mode.dmSize < PRN_DEVMODE_MIN_SIZE || mode.dmSize > DM_PUBLIC_DEVMODE_SIZE ||
        mode.dmDriverExtra != 0)
        return dc;
    dmApplyPaper(&mode, paper, orientation, copies);
    HDC reset = g_calls->resetDC(dc, &mode);
    if (reset) {
        memcpy(info->devMode, &mode, DM_PUBLIC_DEVMODE_SIZE);
        info->dc = qmHandleToU32(reset);
        // The record says what its context now prints with, so that the
        // next request for the earlier settings resets it back.
        info->paper = paper;
        info->orientation = orientation;
        info->copies = (uint16_t)copies;
    }
    return qmU32ToHandle<HDC>(info->dc);
}

void dmDeleteDC(HDC *dc)
{
    if (dc && *dc) {
        g_calls->deleteDC(*dc);
        *dc = nullptr;
    }
}

int16_t dmPaperSizeOf(int16_t paper)
{
    switch (paper) {
    case DM_PAPER_LEGAL:
        return DMPAPER_LEGAL;
    case 4: case 8: case 9: case 11: case 12: case 13:
    case 19: case 20: case 21: case 22: case 23:
        return paper;
    default:
        return DMPAPER_LETTER;
    }
}

void dmApplyPaper(DEVMODEA *mode, int16_t paper, uint16_t orientation, int16_t copies)
{
    if (!mode)
        return;
    mode->dmPaperSize = dmPaperSizeOf(paper);
    mode->dmOrientation = orientation == DMORIENT_LANDSCAPE ? DMORIENT_LANDSCAPE
                                                            : DMORIENT_PORTRAIT;
    mode->dmCopies = copies < 1 ? 1 : copies;
    mode->dmFields |= kPaperFields;
}

// ---- metrics and conversions ---------------------------------------------------------------

void dmUpdatePrinterMetrics(HDC dc)
{
    if (!dc) {
        g_printer.resolutionX = g_printer.resolutionY = kDefaultResolution;
        g_printer.offsetX = g_printer.offsetY = kDefaultOffset;
        return;
    }
    g_printer.resolutionX = resolutionOrDefault(g_calls->getDeviceCaps(dc, LOGPIXELSX));
    g_printer.resolutionY = resolutionOrDefault(g_calls->getDeviceCaps(dc, LOGPIXELSY));
    POINT offset;
    dmGetPrintOffset(dc, &offset);
    g_printer.offsetX = MulDiv(kTwipsPerInch, offset.x, g_printer.resolutionX);
    g_printer.offsetY = MulDiv(kTwipsPerInch, offset.y, g_printer.resolutionY);
}

BOOL dmGetPrintOffset(HDC dc, POINT *offset)
{
    offset->x = offset->y = 0;
    if (!dc)
        return FALSE;
    offset->x = g_calls->getDeviceCaps(dc, PHYSICALOFFSETX);
    offset->y = g_calls->getDeviceCaps(dc, PHYSICALOFFSETY);
    return TRUE;
}

int dmGetPrinterMargins(RECT *margins)
{
    margins->left = margins->right = g_printer.offsetX;
    margins->top = margins->bottom = g_printer.offsetY;
    return 1;
}

void dmGetPageSizeTwips(HDC dc, int32_t *width, int32_t *height)
{
    *width = *height = 0;
    if (!dc)
        return;
    g_printer.resolutionX = resolutionOrDefault(g_calls->getDeviceCaps(dc, LOGPIXELSX));
    g_printer.resolutionY = resolutionOrDefault(g_calls->getDeviceCaps(dc, LOGPIXELSY));
    *width = pixelsToTwips(g_calls->getDeviceCaps(dc, PHYSICALWIDTH), g_printer.resolutionX);
    *height = pixelsToTwips(g_calls->getDeviceCaps(dc, PHYSICALHEIGHT), g_printer.resolutionY);
}

void dmGetPageMetrics(HDC dc, PageMetrics *m)
{
    memset(m, 0, sizeof(*m));
    if (!dc)
        return;
    POINT offset;
    dmGetPrintOffset(dc, &offset);
    m->offsetX = offset.x;
    m->offsetY = offset.y;
    m->resolutionX = resolutionOrDefault(g_calls->getDeviceCaps(dc, LOGPIXELSX));
    m->resolutionY = resolutionOrDefault(g_calls->getDeviceCaps(dc, LOGPIXELSY));
    m->physicalWidth = g_calls->getDeviceCaps(dc, PHYSICALWIDTH);
    m->physicalHeight = g_calls->getDeviceCaps(dc, PHYSICALHEIGHT);
    m->printableWidth = m->physicalWidth - 2 * m->offsetX;
    m->printableHeight = m->physicalHeight - 2 * m->offsetY;
    m->physicalWidthTwips = pixelsToTwips(m->physicalWidth, m->resolutionX);
    m->physicalHeightTwips = pixelsToTwips(m->physicalHeight, m->resolutionY);
    m->printableWidthTwips = pixelsToTwips(m->printableWidth, m->resolutionX);
    m->printableHeightTwips = pixelsToTwips(m->printableHeight, m->resolutionY);
}

void dmGetPrinterResolution(int32_t *x, int32_t *y)
{
    *x = g_printer.resolutionX;
    *y = g_printer.resolutionY;
}

int32_t dmPrinterToTwipsX(int32_t v)
{
    return MulDiv(v, kTwipsPerInch, keptResolution(g_printer.resolutionX));
}

int32_t dmPrinterToTwipsY(int32_t v)
{
    return MulDiv(v, kTwipsPerInch, keptResolution(g_printer.resolutionY));
}

int32_t dmTwipsToPrinterX(int32_t v)
{
    return MulDiv(v, keptResolution(g_printer.resolutionX), kTwipsPerInch);
}

int32_t dmTwipsToPrinterY(int32_t v)
{
    return MulDiv(v, keptResolution(g_printer.resolutionY), kTwipsPerInch);
}

int dmDeviceCaps(WORD capability, char *output)
{
    PrinterNames names;
    if (!g_printer.devMode || !readNames(g_printer.devNames, &names))
        return -1;
    GlobalLockT<DEVMODEA> mode(g_printer.devMode);
    if (!prnCheckDevMode(mode.get(), mode.size()))
        return -1;
    return g_calls->deviceCapabilities(names.device.c_str(), names.output.c_str(), capability,
                                       output, mode.get());
}

// ---- names ----------------------------------------------------------------------------------

BOOL dmCopyDeviceName(HGLOBAL devNames, char *buffer, uint32_t n)
{
    if (!buffer || n == 0)
        return FALSE;
    buffer[0] = 0;
    GlobalLockT<> p(devNames);
    const char *device = prnDevNamesString(p.get(), p.size(), PRN_DEVICE);
    if (device)
        utStrCopyN(buffer, device, n);
    return buffer[0] != 0;
}

int dmGetPrinterName(char *buffer, uint32_t n)
{
    dmCopyDeviceName(g_printer.devNames, buffer, n);
    return buffer && n ? (int)strlen(buffer) : 0;
}

MemHandle dmPackPrinterNames()
{
    GlobalLockT<> names(g_printer.devNames);
    if (!prnCheckDevNames(names.get(), names.size()))
        return 0;
    // The block size stored in documents counts the string at the largest
    // offset and 9 bytes more; the DEVNAMES ends before that, so only the
    // bytes it holds are copied and the rest stays zero.
    uint32_t largest = 0, lastLength = 0;
    for (int field = PRN_DRIVER; field <= PRN_OUTPUT; ++field) {
        const char *s = prnDevNamesString(names.get(), names.size(), (PrnNameField)field);
        uint32_t offset = (uint32_t)(s - reinterpret_cast<const char *>(names.get()));
        if (offset >= largest) {
            largest = offset;
            lastLength = (uint32_t)strlen(s);
        }
    }
    uint32_t blockSize = largest + lastLength + 9;
    MemHandle packet = utAllocHandle(0, blockSize + DM_PACKET_HEAD);
    if (!packet)
        return 0;
    MemLock<> p(packet);
    uint32_t length = blockSize + DM_PACKET_HEAD;
    uint16_t type = DM_PRINTER_NAMES_PACKET;
    memcpy(p.get(), &length, 4);
    memcpy(p.get() + 4, &type, 2);
    memcpy(p.get() + DM_PACKET_HEAD, names.get(),
           blockSize < names.size() ? blockSize : names.size());
    return packet;
}

HGLOBAL dmUnpackPrinterNamesBytes(const void *packet, uint32_t n)
{
    if (!packet || n < DM_PACKET_HEAD)
        return nullptr;
    const uint8_t *p = static_cast<const uint8_t *>(packet);
    uint32_t length;
    uint16_t type;
    memcpy(&length, p, 4);
    memcpy(&type, p + 4, 2);
    if (type != DM_PRINTER_NAMES_PACKET || length < DM_PACKET_HEAD || length > n)
        return nullptr;
    const uint8_t *block = p + DM_PACKET_HEAD;
    uint32_t size = length - DM_PACKET_HEAD;
    if (!prnCheckDevNames(block, size))
        return nullptr;
    return prnGlobalFromBytes(block, size);
}

HGLOBAL dmUnpackPrinterNames(MemHandle packet)
{
    uint32_t n = utHandleSize(packet);
    MemLock<> p(packet);
    return p ? dmUnpackPrinterNamesBytes(p.get(), n) : nullptr;
}

// ---- print dialog errors -----------------------------------------------------------------------

BOOL dmPrintDlgErrorText(DWORD code, char *buffer, uint32_t n)
{
    if (!buffer || n == 0)
        return FALSE;
    buffer[0] = 0;
    const char *text = nullptr;
    switch (code) {
    case PDERR_SETUPFAILURE: text = "Setup failed"; break;
    case PDERR_PARSEFAILURE: text = "Failed to parse driver string in win.ini"; break;
    case PDERR_LOADDRVFAILURE: text = "Failed to load the specified driver."; break;
    case PDERR_GETDEVMODEFAIL: text = "Could not get the Driver."; break;
    case PDERR_INITFAILURE: text = "PrintDlg initialization failure."; break;
    case PDERR_NODEVICES: text = "Could not find printer drivers."; break;
    case PDERR_NODEFAULTPRN: text = "No default printer."; break;
    case PDERR_DNDMMISMATCH:
    case PDERR_DEFAULTDIFFERENT: text = "Mismatch in printer specification."; break;
    case PDERR_CREATEICFAILURE: text = "Create IC failed."; break;
    case PDERR_PRINTERNOTFOUND: text = "Could not find the specified printer."; break;
    default: return FALSE;
    }
    utStrCopyN(buffer, text, n);
    return TRUE;
}

BOOL dmShowPrintError(HWND owner, const char *text)
{
    DWORD code = g_calls->extendedError();
    if (!code)
        return FALSE;
    char errorText[64];
    dmPrintDlgErrorText(code, errorText, sizeof(errorText));
    std::string message = std::string(text ? text : "") + "\r\n" + errorText;
    utErrorBox(owner, message.c_str());
    return TRUE;
}

void dmResetPrinterModule()
{
    dmUsePrinter(nullptr, nullptr, 0);
    dmEndPrinter();
    g_printer = kStartState;
    g_calls = &kSystemCalls;
}
