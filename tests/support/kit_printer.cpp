#include "tests/support/kit_printer.h"
#include <stddef.h>
#include <string.h>

namespace qmtest {

namespace {
FakePrinter *g_printer = nullptr;

std::string argText(const char *s) { return s ? s : "<null>"; }

Bytes modeBytes(const DEVMODEA *mode)
{
    if (!mode)
        return Bytes();
    const uint8_t *p = reinterpret_cast<const uint8_t *>(mode);
    return Bytes(p, p + mode->dmSize + mode->dmDriverExtra);
}
}  // namespace

Bytes devNamesBytes(const char *driver, const char *device, const char *output)
{
    Bytes b(8, 0);
    const char *strings[3] = {driver, device, output};
    for (int i = 0; i < 3; ++i) {
        uint16_t offset = (uint16_t)b.size();
        b[2 * i] = (uint8_t)offset;
        b[2 * i + 1] = (uint8_t)(offset >> 8);
        b.insert(b.end(), strings[i], strings[i] + strlen(strings[i]) + 1);
    }
    return b;
}

Bytes devModeBytes(const char *device, WORD size, WORD driverExtra)
{
    Bytes b((size_t)size + driverExtra, 0);
    DEVMODEA mode;
    memset(&mode, 0, sizeof(mode));
    lstrcpynA((char *)mode.dmDeviceName, device, sizeof(mode.dmDeviceName));
    mode.dmSpecVersion = 0x401;
    mode.dmSize = size;
    mode.dmDriverExtra = driverExtra;
    mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_COLOR;
    mode.dmOrientation = DMORIENT_PORTRAIT;
    mode.dmPaperSize = DMPAPER_LETTER;
    mode.dmCopies = 1;
    mode.dmColor = DMCOLOR_COLOR;
    memcpy(b.data(), &mode, size < sizeof(mode) ? size : sizeof(mode));
    for (size_t i = size; i < b.size(); ++i)
        b[i] = 0xA5;
    return b;
}

HGLOBAL globalFromBytes(const Bytes &bytes)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (h) {
        memcpy(GlobalLock(h), bytes.data(), bytes.size());
        GlobalUnlock(h);
    }
    return h;
}

HGLOBAL makeDevNames(const char *driver, const char *device, const char *output)
{
    return globalFromBytes(devNamesBytes(driver, device, output));
}

HGLOBAL makeDevMode(const char *device, WORD size, WORD driverExtra)
{
    return globalFromBytes(devModeBytes(device, size, driverExtra));
}

Bytes globalBytes(HGLOBAL h)
{
    if (!h)
        return Bytes();
    const uint8_t *p = static_cast<const uint8_t *>(GlobalLock(h));
    Bytes b(p, p + GlobalSize(h));
    GlobalUnlock(h);
    return b;
}

std::string devNamesField(HGLOBAL h, int field)
{
    Bytes b = globalBytes(h);
    if (b.size() < 8)
        return "";
    size_t offset = b[2 * field] | (b[2 * field + 1] << 8);
    std::string s;
    for (size_t i = offset; i < b.size() && b[i]; ++i)
        s += (char)b[i];
    return s;
}

FakePrinter::FakePrinter()
{
    table_ = DmPrinterCalls{printDlg,  extendedError, createIC,      createDC,
                            resetDC,   deleteDC,      getDeviceCaps, deviceCapabilities};
    caps = {{LOGPIXELSX, 600}, {LOGPIXELSY, 600},     {PHYSICALOFFSETX, 50},
            {PHYSICALOFFSETY, 60}, {PHYSICALWIDTH, 5100}, {PHYSICALHEIGHT, 6600}};
    g_printer = this;
    previous_ = dmSetPrinterCalls(&table_);
}

FakePrinter::~FakePrinter()
{
    dmResetPrinterModule();
    dmSetPrinterCalls(previous_);
    EXPECT_EQ(0u, live_.size()) << "printer device contexts left undeleted";
    for (uint32_t dc : live_)
        DeleteDC(qmU32ToHandle<HDC>(dc));
    g_printer = nullptr;
}

HDC FakePrinter::newDC()
{
    HDC dc = CreateCompatibleDC(nullptr);
    live_.insert(qmHandleToU32(dc));
    return dc;
}

BOOL FakePrinter::printDlg(PRINTDLGA *pd)
{
    FakePrinter *f = g_printer;
    ++f->dialogCalls;
    f->dialogs.push_back(*pd);
    f->error = 0;
    if (pd->Flags & PD_RETURNDEFAULT) {
        if (!f->defaultPresent) {
            f->error = f->defaultError;
            return FALSE;
        }
        pd->hDevMode = makeDevMode(f->device.c_str());
        pd->hDevNames = makeDevNames(f->driver.c_str(), f->device.c_str(), f->output.c_str());
        if ((pd->Flags & PD_RETURNIC) && f->defaultReturnsIC)
            pd->hDC = f->newDC();
        return TRUE;
    }
    if ((pd->Flags & PD_PRINTSETUP) && f->setupScript)
        return f->setupScript(pd);
    return FALSE;   // cancelled: no extended error
}

DWORD FakePrinter::extendedError() { return g_printer->error; }

HDC FakePrinter::createIC(const char *driver, const char *device, const char *output,
                          const DEVMODEA *)
{
    FakePrinter *f = g_printer;
    f->createICArgs.push_back({argText(driver), argText(device), argText(output)});
    return f->failCreateIC ? nullptr : f->newDC();
}

HDC FakePrinter::createDC(const char *driver, const char *device, const char *output,
                          const DEVMODEA *mode)
{
    FakePrinter *f = g_printer;
    f->createDCArgs.push_back({argText(driver), argText(device), argText(output)});
    f->createDCModes.push_back(modeBytes(mode));
    return f->failCreateDC ? nullptr : f->newDC();
}

HDC FakePrinter::resetDC(HDC dc, const DEVMODEA *mode)
{
    FakePrinter *f = g_printer;
    f->resetDCModes.push_back(modeBytes(mode));
    return f->failResetDC ? nullptr : dc;
}

BOOL FakePrinter::deleteDC(HDC dc)
{
    FakePrinter *f = g_printer;
    ++f->deleteCalls;
    EXPECT_TRUE(f->live_.count(qmHandleToU32(dc)))
        << "deleting a device context the printer did not make";
    f->live_.erase(qmHandleToU32(dc));
    return DeleteDC(dc);
}

int FakePrinter::getDeviceCaps(HDC, int index)
{
    auto it = g_printer->caps.find(index);
    return it == g_printer->caps.end() ? 0 : it->second;
}

int FakePrinter::deviceCapabilities(const char *device, const char *port, WORD capability,
                                    char *, const DEVMODEA *)
{
    FakePrinter *f = g_printer;
    f->capabilitiesArgs = {argText(device), argText(port), std::to_string(capability)};
    return f->capabilitiesResult;
}

// ---- the recording printer ----

namespace {
RecordingPrinter *g_recorder = nullptr;
}

RecordingPrinter::RecordingPrinter()
{
    table_ = PrnPrintCalls{startDoc, startPage, endPage, endDoc, abortDoc, setAbortProc, nextBand};
    g_recorder = this;
    previous_ = prnSetPrintCalls(&table_);
}

RecordingPrinter::~RecordingPrinter()
{
    dropBitmap();
    prnSetPrintCalls(previous_);
    g_recorder = nullptr;
}

void RecordingPrinter::dropBitmap()
{
    if (!bitmap_)
        return;
    if (dc_)
        SelectObject(dc_, oldBitmap_);
    DeleteObject(bitmap_);
    bitmap_ = nullptr;
    bits_ = nullptr;
    dc_ = nullptr;
}

int RecordingPrinter::count(const char *call) const
{
    int n = 0;
    for (auto &c : calls)
        n += c == call;
    return n;
}

bool RecordingPrinter::balanced() const
{
    int open = 0;
    for (auto &c : calls) {
        if (c == "StartPage" && open++ != 0)
            return false;
        if (c == "EndPage" && --open != 0)
            return false;
    }
    return open == 0;
}

int RecordingPrinter::startDoc(HDC, const DOCINFOA *info)
{
    RecordingPrinter *r = g_recorder;
    r->calls.push_back("StartDoc");
    r->docInfos.push_back(*info);
    r->docNames.push_back(argText(info->lpszDocName));
    r->docOutputs.push_back(argText(info->lpszOutput));
    return r->startDocResult;
}

int RecordingPrinter::startPage(HDC dc)
{
    RecordingPrinter *r = g_recorder;
    r->calls.push_back("StartPage");
    if (r->startPageResult < 1)
        return r->startPageResult;
    r->dropBitmap();
    BITMAPINFO bi;
    memset(&bi, 0, sizeof(bi));
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = r->sheetWidth;
    bi.bmiHeader.biHeight = -r->sheetHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    r->bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    r->bits_ = static_cast<uint32_t *>(bits);
    memset(bits, 0xFF, (size_t)r->sheetWidth * r->sheetHeight * 4);
    r->dc_ = dc;
    r->oldBitmap_ = SelectObject(dc, r->bitmap_);
    r->band_ = 0;
    return 1;
}

int RecordingPrinter::endPage(HDC)
{
    RecordingPrinter *r = g_recorder;
    r->calls.push_back("EndPage");
    if (r->bits_) {
        GdiFlush();
        Sheet s{r->sheetWidth, r->sheetHeight,
                std::vector<uint32_t>(r->bits_, r->bits_ + (size_t)r->sheetWidth * r->sheetHeight)};
        r->sheets.push_back(std::move(s));
    }
    r->dropBitmap();
    return 1;
}

int RecordingPrinter::endDoc(HDC)
{
    g_recorder->calls.push_back("EndDoc");
    g_recorder->dropBitmap();
    return 1;
}

int RecordingPrinter::abortDoc(HDC)
{
    g_recorder->calls.push_back("AbortDoc");
    g_recorder->dropBitmap();
    return 1;
}

int RecordingPrinter::setAbortProc(HDC, ABORTPROC proc)
{
    g_recorder->calls.push_back("SetAbortProc");
    g_recorder->abortProc_ = proc;
    return 1;
}

int RecordingPrinter::nextBand(HDC dc, RECT *band)
{
    RecordingPrinter *r = g_recorder;
    r->calls.push_back("NextBand");
    int n = r->bands < 1 ? 1 : r->bands;
    if (r->band_ >= n) {
        SetRectEmpty(band);
        r->band_ = 0;   // a tile of the same sheet starts its bands again
        return 1;
    }
    if (r->band_ == 0) {
        char text[64] = "";
        GetDlgItemTextA(prnGetAbortDialog(), 200, text, sizeof(text));
        r->spooling.push_back(text);
    }
    int h = r->sheetHeight / n;
    SetRect(band, 0, r->band_ * h, r->sheetWidth, r->band_ == n - 1 ? r->sheetHeight : (r->band_ + 1) * h);
    int sheet = (int)r->sheets.size(), index = r->band_++;
    if (r->onBand)
        r->onBand(sheet, index);
    if (r->abortProc_)
        r->abortProc_(dc, 0);
    return 1;
}

}  // namespace qmtest

