// Palette files, the built-in colours, the start-up palette, the palette
// commands and the colour chooser.
#include "controls/pal_file.h"
#include "model/qmf_header.h"
#include "controls/pal_window.h"
#include "support/settings_reg.h"
#include "support/ff_file.h"
#include "support/ut_path.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "resource.h"
#include <commdlg.h>
#include <stdio.h>
#include <string.h>
#include <string>

const COLORREF clrDefaultColors[CLR_DEFAULT_COUNT] = {
    0xFFFFFF, 0x000000, 0xE0E0E0, 0xC0C0C0, 0x808080, 0x404040, 0xC0FFFF, 0x80FFFF, 0x40FFFF,
    0x00FFFF, 0x00C0FF, 0x0080FF, 0x0040FF, 0x0000FF, 0x0000C0, 0x000080, 0x000040, 0xFFFFC0,
    0xFFFF00, 0xFFC000, 0xFF8000, 0xFF4000, 0xFF0000, 0xC00000, 0x800000, 0x400000, 0xFFE0FF,
    0xFFC0FF, 0xFF80FF, 0xFF40FF, 0xFF00FF, 0xFFC0C0, 0xFF8080, 0xFF00C0, 0xFF0080, 0xFF0040,
    0x800080, 0x400080, 0x80FF80, 0x00FF80, 0x00FF00, 0x00C000, 0x008000, 0x004000, 0x404000,
    0x804000, 0xC04000, 0x808040, 0x408080, 0x008080,
};

namespace {

const char kKind[] = "PALETTE";
const char kStartupName[] = "vellum.pal";
const char kFilter[] = "Quillmark Palette (*.pal)\0*.pal\0\0";
const char kSaveFilter[] = "Quillmark Palette (*.pal)\0*.pal\0(*.*)\0*.*\0\0";
const uint32_t kPacketHead = 6;   // the length word and the count

char g_palettePath[CLR_PATH_MAX] = "";
COLORREF g_custom[CLR_CUSTOM_COUNT];
bool g_customSet = false;
ClrFileDialogHook g_fileHook = nullptr;
ClrChooseColorHook g_chooseHook = nullptr;

COLORREF *customColors()
{
    if (!g_customSet) {
        for (COLORREF &c : g_custom)
            c = 0xFFFFFF;
        g_customSet = true;
    }
    return g_custom;
}

std::string withName(const char *format, const char *name)
{
    char text[CLR_PATH_MAX + 64];
    snprintf(text, sizeof(text), format, name ? name : "");
    return text;
}

// The file-name part of a path (after its last backslash, slash or colon).
const char *fileNamePart(const char *path)
{
    const char *name = path;
    for (const char *p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    return name;
}

// Writes the palette's body after the header; false on a short write.
bool writeBody(HANDLE f, const COLORREF *colours, int n)
{
    uint32_t length = 4u * (uint32_t)n + kPacketHead;
    uint16_t count = (uint16_t)n;
    if (ffWrite(f, &length, 4) != 4 || ffWrite(f, &count, 2) != 2)
        return false;
    if (n == 0)
        return true;
    // Each colour as red, green, blue and a zero byte.
    std::string bytes((size_t)n * 4, '\0');
    for (int i = 0; i < n; ++i) {
        uint32_t c = (uint32_t)colours[i] & 0x00FFFFFF;
        memcpy(&bytes[(size_t)i * 4], &c, 4);
    }
    return ffWrite(f, bytes.data(), (DWORD)bytes.size()) == bytes.size();
}

// The colours a read packet holds; 0 with message 601 when the packet is
// shorter than its count asks for or the count is beyond what a palette
// holds; 0 without a message for a palette of no colours.
MemHandle coloursOfPacket(MemHandle packet, int16_t *count)
{
    uint32_t length = utGetPacketLength(packet);
    uint32_t size = utHandleSize(packet);
    uint16_t n = 0;
    if (length >= kPacketHead && length <= size) {
        MemLock<uint8_t> p(packet);
        memcpy(&n, p.get() + 4, 2);
    }
    if (length < kPacketHead || length > size || n > CLR_MAX_COLORS ||
        4u * n + kPacketHead > length) {
        utErrorBoxId(nullptr, IDS_PACKET_LEN_MISMATCH);
        return 0;
    }
    if (n == 0)
        return 0;
    MemHandle colours = utAllocHandle(0, 4u * n);
    if (!colours)
        return 0;
    {
        MemLock<uint8_t> p(packet);
        MemLock<COLORREF> c(colours);
        for (uint16_t i = 0; i < n; ++i) {
            uint32_t v = utGetAt<uint32_t>(p.get(), kPacketHead + 4u * i);
            c[i] = v & 0x00FFFFFF;   // a set high byte would name a palette index
        }
    }
    *count = (int16_t)n;
    return colours;
}

UINT_PTR CALLBACK chooserHook(HWND dlg, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        const CHOOSECOLORA *cc = (const CHOOSECOLORA *)lParam;
        const char *caption = cc ? (const char *)cc->lCustData : nullptr;
        if (caption && *caption)
            SetWindowTextA(dlg, caption);
        return TRUE;
    }
    return FALSE;
}

BOOL systemChooser(HWND owner, const char *caption, COLORREF *colour, COLORREF *custom)
{
    CHOOSECOLORA cc;
    memset(&cc, 0, sizeof(cc));
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = owner;
    cc.rgbResult = *colour;
    cc.lpCustColors = custom;
    cc.Flags = CC_FULLOPEN | CC_RGBINIT | CC_ENABLEHOOK;
    cc.lCustData = (LPARAM)caption;
    cc.lpfnHook = chooserHook;
    if (!ChooseColorA(&cc))
        return FALSE;
    *colour = cc.rgbResult;
    return TRUE;
}

BOOL systemFileDialog(HWND owner, ClrFileRequest &request)
{
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = request.filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = request.path;
    ofn.nMaxFile = request.pathSize;
    ofn.lpstrTitle = request.title;
    ofn.lpstrDefExt = request.defExt;
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (request.save)
        return GetSaveFileNameA(&ofn);
    ofn.Flags |= OFN_FILEMUSTEXIST;
    return GetOpenFileNameA(&ofn);
}

// Runs a file dialog over a copy of the path, so that a cancelled dialog
// leaves the caller's buffer as it was.
BOOL fileDialog(HWND owner, bool save, const char *title, const char *filter,
                const char *defExt, char *path)
{
    char name[CLR_PATH_MAX];
    utStrCopyN(name, path[0] ? path : "*.pal", sizeof(name));
    ClrFileRequest request = {save, title, filter, defExt, name, sizeof(name)};
    if (!clrFileDialog(owner, request) || !name[0])
        return FALSE;
    utStrCopyN(path, name, CLR_PATH_MAX);
    return TRUE;
}

}  // namespace

// ---- built-in and start-up colours ----------------------------------------------------

MemHandle clrGetDefaultColors(int16_t *count)
{
    MemHandle h = utHandleFromBytes(clrDefaultColors, sizeof(clrDefaultColors));
    if (count)
        *count = h ? CLR_DEFAULT_COUNT : 0;
    return h;
}

MemHandle clrLoadStartupColors(int16_t *count)
{
    int16_t n = 0;
    MemHandle colours = 0;
    if (g_palettePath[0] && ffExists(g_palettePath))
        colours = clrReadPaletteFile(g_palettePath, &n);
    if (!colours)
        return clrGetDefaultColors(count);
    if (count)
        *count = n;
    return colours;
}

void clrSetPaletteFileName(const char *path)
{
    utStrCopyN(g_palettePath, path ? path : "", sizeof(g_palettePath));
}

const char *clrGetPaletteFileName()
{
    return g_palettePath;
}

char *clrFindStartupPalette(char *buffer)
{
    char home[MAX_PATH];
    setGetHomeFilePath(home, kStartupName);
    if (ffExists(home)) {
        utStrCopyN(buffer, home, CLR_PATH_MAX);
        return buffer;
    }
    char folder[MAX_PATH] = "";
    setGetProgramDir(folder);
    size_t len = strlen(folder);
    if (len && folder[len - 1] != '\\')
        utStrAppendN(folder, "\\", sizeof(folder));
    utStrAppendN(folder, kStartupName, sizeof(folder));
    utStrCopyN(buffer, folder, CLR_PATH_MAX);
    return buffer;
}

void clrSetStartupPaletteFileName()
{
    char path[CLR_PATH_MAX];
    clrSetPaletteFileName(clrFindStartupPalette(path));
}

// ---- reading and writing ----------------------------------------------------------------

MemHandle clrReadPaletteFile(const char *path, int16_t *count)
{
    if (count)
        *count = 0;
    if (!path || !*path)
        return 0;
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, TRUE);
    if (f == INVALID_HANDLE_VALUE)
        return 0;
    if (size == 0 || size == INVALID_FILE_SIZE || size > 0x7FFFFFFF) {
        ffClose(f);
        utErrorBox(nullptr, withName("Reading error, %s", path).c_str());
        return 0;
    }
    int32_t budget = (int32_t)size;
    MemHandle packet = 0;
    if (qmfCheckHeaderReport(f, &budget, nullptr, kKind, nullptr) == 1)
        packet = ffReadPacket(f, &budget);
    ffClose(f);
    if (!packet)
        return 0;
    int16_t n = 0;
    MemHandle colours = coloursOfPacket(packet, &n);
    utFreeHandle(packet);
    if (colours && count)
        *count = n;
    return colours;
}

int clrWritePaletteFile(const char *path, MemHandle colours, int n, BOOL ask)
{
    if (!path || !*path || n < 0 || n > CLR_MAX_COLORS)
        return 0;
    if (n > 0 && (!colours || utHandleSize(colours) < 4u * (uint32_t)n))
        return 0;
    // The same questions and refusals as creating the file in place.
    if (ask) {
        if (!ffConfirmOverwrite(nullptr, path))
            return 0;
    } else if (ffExists(path) && ffIsReadOnly(path)) {
        ffReportError(nullptr, path, FE_READ_ONLY);
        return 0;
    }
    // The palette is written to a temporary file beside the target, which
    // then replaces it: a failed write leaves the previous file as it was.
    char temp[UT_PATH_SIZE];
    HANDLE f = ffCreateReplacement(path, temp);
    if (f == INVALID_HANDLE_VALUE) {
        ffReportError(nullptr, path, FE_CANNOT_SAVE);
        return 0;
    }
    bool ok = qmfWriteHeader(f, kKind) != 0;
    if (ok) {
        MemLock<COLORREF> c(colours);
        ok = writeBody(f, c.get(), n);
        if (!ok)
            ffReportError(nullptr, path, FE_WRITE_FAILED);
    }
    if (!ffCommitReplacement(f, temp, path, ok)) {
        if (ok)
            ffReportError(nullptr, path, FE_CANNOT_SAVE);
        ok = false;
    }
    return ok ? 1 : 0;
}

int clrSavePaletteWindow(const char *path, BOOL ask)
{
    // Without a palette window there is nothing to save: writing an empty
    // palette would wipe the file the next start reads its colours from.
    if (!clrGetPaletteWindow())
        return 0;
    int16_t n = 0;
    MemHandle colours = clrGetColors(&n);
    int ok = clrWritePaletteFile(path, colours, n, ask);
    utFreeHandle(colours);
    return ok;
}

int clrSaveStartupPalette(const char *path)
{
    return clrSavePaletteWindow(path, FALSE);
}

BOOL clrAddPaletteExtension(char *path, uint32_t size)
{
    if (!path || !*path || strchr(fileNamePart(path), '.'))
        return FALSE;
    if (strlen(path) + 4 >= size)
        return FALSE;
    utStrAppendN(path, ".pal", size);
    return TRUE;
}

// ---- dialogs and commands ---------------------------------------------------------------

int clrOpenPaletteDlg(HWND owner, char *path, MemHandle *colours, int16_t *count)
{
    *colours = 0;
    *count = 0;
    if (!fileDialog(owner, false, "Open Palette", kFilter, nullptr, path))
        return 0;
    *colours = clrReadPaletteFile(path, count);
    return *colours ? 1 : 0;
}

int clrSavePaletteDlg(HWND owner, char *path)
{
    if (!fileDialog(owner, true, "Save Palette", kSaveFilter, "pal", path))
        return 0;
    clrAddPaletteExtension(path, CLR_PATH_MAX);
    return 1;
}

int clrCmdOpenPalette(HWND owner)
{
    char path[CLR_PATH_MAX];
    utStrCopyN(path, g_palettePath, sizeof(path));
    MemHandle colours = 0;
    int16_t n = 0;
    int ok = clrOpenPaletteDlg(owner, path, &colours, &n);
    if (strcmp(path, g_palettePath) != 0)
        clrSetPaletteFileName(path);   // the chosen name stays, read or not
    if (!ok)
        return 0;
    {
        MemLock<COLORREF> c(colours);
        clrSetColors(c.get(), n);
    }
    utFreeHandle(colours);
    return 1;
}

int clrCmdSavePalette(HWND owner)
{
    char path[CLR_PATH_MAX];
    utStrCopyN(path, g_palettePath, sizeof(path));
    if (!clrSavePaletteDlg(owner, path))
        return 0;
    clrSetPaletteFileName(path);
    return clrSavePaletteWindow(path, TRUE);
}

void clrCmdDefaultPalette()
{
    clrSetColors(clrDefaultColors, CLR_DEFAULT_COUNT);
}

HPALETTE clrCreateGdiPalette(const COLORREF *colours, int n)
{
    if (!colours || n <= 0 || n > CLR_MAX_COLORS)
        return nullptr;
    std::string block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (size_t)n, '\0');
    LOGPALETTE *lp = reinterpret_cast<LOGPALETTE *>(&block[0]);
    lp->palVersion = 0x300;
    lp->palNumEntries = (WORD)n;
    for (int i = 0; i < n; ++i) {
        lp->palPalEntry[i].peRed = GetRValue(colours[i]);
        lp->palPalEntry[i].peGreen = GetGValue(colours[i]);
        lp->palPalEntry[i].peBlue = GetBValue(colours[i]);
        lp->palPalEntry[i].peFlags = PC_NOCOLLAPSE;
    }
    return CreatePalette(lp);
}

// ---- custom colours and the chooser ----------------------------------------------------

void clrSetCustomColors(const COLORREF *colours)
{
    COLORREF *custom = customColors();
    for (int i = 0; i < CLR_CUSTOM_COUNT; ++i)
        custom[i] = colours ? colours[i] : 0xFFFFFF;
}

void clrGetCustomColors(COLORREF *buffer)
{
    memcpy(buffer, customColors(), sizeof(g_custom));
}

int clrChooseColor(HWND owner, const char *caption, COLORREF *colour)
{
    if (!colour)
        return 0;
    COLORREF chosen = *colour;
    COLORREF custom[CLR_CUSTOM_COUNT];
    clrGetCustomColors(custom);
    BOOL ok = g_chooseHook ? g_chooseHook(owner, caption, &chosen, custom)
                           : systemChooser(owner, caption, &chosen, custom);
    if (!ok)
        return 0;
    *colour = chosen & 0x00FFFFFF;
    clrSetCustomColors(custom);
    return 1;
}

int clrPickColor(HWND owner, const char *caption, COLORREF *colour)
{
    return clrChooseColor(owner, caption, colour);
}

void clrSetFileDialogHook(ClrFileDialogHook hook)
{
    g_fileHook = hook;
}

BOOL clrFileDialog(HWND owner, ClrFileRequest &request)
{
    return g_fileHook ? g_fileHook(owner, request) : systemFileDialog(owner, request);
}

void clrSetChooseColorHook(ClrChooseColorHook hook)
{
    g_chooseHook = hook;
}

void clrResetPaletteFileModule()
{
    g_palettePath[0] = 0;
    g_customSet = false;
    g_fileHook = nullptr;
    g_chooseHook = nullptr;
}
