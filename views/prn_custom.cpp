// Custom output commands: the set-up (1950), the runs (1951..1957), the File
// menu item (1958) and the id test (1959).
//
// The file holds two packets: a 50-byte header (length 50, type 0, the two
// marks, version 1, zeros) and the command record (length = DEVMODE size +
// DEVNAMES size + 47, type 0, the 32-byte name, both sizes, both blocks and
// a zero byte).
#include "views/prn_custom.h"
#include "views/prn_print.h"
#include "views/prn_setup.h"
#include "support/dm_printer.h"
#include "support/ff_file.h"
#include "support/prn_blocks.h"
#include "support/ut_msg.h"
#include <commdlg.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

const char kRunFailed[] = "Did not complete the custom-driver command.";
const uint32_t kLargestFile = 1u << 20;

typedef std::vector<uint8_t> Bytes;

uint32_t u32At(const Bytes &b, size_t at)
{
    uint32_t v;
    memcpy(&v, b.data() + at, 4);
    return v;
}
void putU32(Bytes &b, uint32_t v) { b.insert(b.end(), (uint8_t *)&v, (uint8_t *)&v + 4); }
void putU16(Bytes &b, uint16_t v) { b.insert(b.end(), (uint8_t *)&v, (uint8_t *)&v + 2); }

bool readWholeFile(const char *path, Bytes *out)
{
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(f, nullptr);
    bool ok = size != INVALID_FILE_SIZE && size <= kLargestFile;
    if (ok) {
        out->resize(size);
        DWORD got = 0;
        ok = size == 0 || (ReadFile(f, out->data(), size, &got, nullptr) && got == size);
    }
    CloseHandle(f);
    return ok;
}

BOOL hookProc(HWND dlg, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG)
        SetWindowTextA(dlg, "Custom Print/Output Setup");
    return FALSE;
}
UINT_PTR CALLBACK setupHook(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    return hookProc(dlg, msg, wp, lp);
}

char *g_nameBuffer = nullptr;

INT_PTR CALLBACK nameDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dlg, 100, EM_LIMITTEXT, PRN_CUSTOM_NAME_SIZE - 1, 0);
        SetDlgItemTextA(dlg, 100, g_nameBuffer);
        SendDlgItemMessageA(dlg, 100, EM_SETSEL, 0, -1);
        SetFocus(GetDlgItem(dlg, 100));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            GetDlgItemTextA(dlg, 100, g_nameBuffer, PRN_CUSTOM_NAME_SIZE);
            EndDialog(dlg, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int setUp(HWND owner)
{
    char path[MAX_PATH];
    prnCustomCommandPath(path);
    char name[PRN_CUSTOM_NAME_SIZE] = "";
    HGLOBAL mode = nullptr, names = nullptr;
    if (prnReadCustomCommand(path, name, &mode, &names)) {
        int answer = utMessageBox(owner,
                                  "Click Yes to add or edit the custom menu command, click No "
                                  "to remove it, or Cancel to ignore.",
                                  MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer != IDYES) {
            prnFreeGlobal(&mode);
            prnFreeGlobal(&names);
            if (answer == IDNO)
                DeleteFileA(path);
            return 0;
        }
    }
    const DmPrinterCalls *calls = dmGetPrinterCalls();
    PRINTDLGA pd;
    memset(&pd, 0, sizeof(pd));
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = owner;
    pd.hDevMode = mode;
    pd.hDevNames = names;
    pd.Flags = PD_PRINTSETUP | PD_ENABLESETUPHOOK;
    pd.lpfnSetupHook = setupHook;
    BOOL ok = calls->printDlg(&pd);
    if (pd.hDC)
        calls->deleteDC(pd.hDC);
    GlobalBlock chosenMode(pd.hDevMode), chosenNames(pd.hDevNames);
    if (!ok || !pd.hDevMode || !pd.hDevNames) {
        if (!dmShowPrintError(owner, "Command setup failed"))
            utErrorBox(owner, "Command setup failed");
        return 0;
    }
    char buffer[PRN_CUSTOM_NAME_SIZE] = "";
    dmCopyDeviceName(chosenNames.get(), buffer, sizeof(buffer));
    g_nameBuffer = buffer;
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), "DDRIVER_CMND_NAME", owner,
                                nameDlgProc, 0);
    g_nameBuffer = nullptr;
    if (r != 1)
        return 0;
    return prnWriteCustomCommand(path, buffer, chosenMode.get(), chosenNames.get()) ? 1 : 0;
}

int run(HWND ws)
{
    char path[MAX_PATH];
    prnCustomCommandPath(path);
    char name[PRN_CUSTOM_NAME_SIZE];
    HGLOBAL mode = nullptr, names = nullptr;
    if (!prnReadCustomCommand(path, name, &mode, &names)) {
        utErrorBox(ws, kRunFailed);
        return 0;
    }
    int result = 0;
    if (dmUsePrinter(mode, names, 1)) {
        result = prnPrintWithDialog(ws, FALSE, TRUE, 1);
        dmUsePrinter(nullptr, nullptr, 0);
    }
    prnFreeGlobal(&mode);
    prnFreeGlobal(&names);
    if (!result)
        utErrorBox(ws, kRunFailed);
    return result;
}

int rebuildMenuItem(HMENU menu, int before)
{
    if (!menu)
        return 1;
    DeleteMenu(menu, 1951, MF_BYCOMMAND);
    char path[MAX_PATH];
    prnCustomCommandPath(path);
    char name[PRN_CUSTOM_NAME_SIZE];
    HGLOBAL mode = nullptr, names = nullptr;
    if (prnReadCustomCommand(path, name, &mode, &names)) {
        InsertMenuA(menu, (UINT)before, MF_BYCOMMAND | MF_STRING, 1951, name);
        prnFreeGlobal(&mode);
        prnFreeGlobal(&names);
    }
    return 1;
}

}  // namespace

char *prnCustomCommandPath(char *buffer) { return prnHomeStorePath(buffer, "ddmngr"); }

BOOL prnReadCustomCommand(const char *path, char *name, HGLOBAL *devMode, HGLOBAL *devNames)
{
    *devMode = *devNames = nullptr;
    Bytes b;
    if (!path || !*path || !readWholeFile(path, &b))
        return FALSE;
    // The header packet.
    if (b.size() < PRN_CUSTOM_HEADER_SIZE || u32At(b, 0) != PRN_CUSTOM_HEADER_SIZE ||
        u32At(b, 6) != PRN_CUSTOM_MARK1 || u32At(b, 10) != PRN_CUSTOM_MARK2)
        return FALSE;
    // The command record: its length and both block sizes must agree with
    // each other and with the bytes there are.
    size_t at = PRN_CUSTOM_HEADER_SIZE;
    if (b.size() - at < PRN_CUSTOM_RECORD_FIXED)
        return FALSE;
    uint32_t length = u32At(b, at);
    uint32_t modeSize = u32At(b, at + 38), namesSize = u32At(b, at + 42);
    if (length > b.size() - at || modeSize > length || namesSize > length ||
        (uint64_t)modeSize + namesSize + PRN_CUSTOM_RECORD_FIXED != length ||
        modeSize == 0 || namesSize == 0)
        return FALSE;
    const uint8_t *modeBytes = b.data() + at + 46;
    const uint8_t *namesBytes = modeBytes + modeSize;
    if (!prnCheckDevMode(modeBytes, modeSize) || !prnCheckDevNames(namesBytes, namesSize))
        return FALSE;
    HGLOBAL m = prnGlobalFromBytes(modeBytes, modeSize);
    HGLOBAL n = prnGlobalFromBytes(namesBytes, namesSize);
    if (!m || !n) {
        prnFreeGlobal(&m);
        prnFreeGlobal(&n);
        return FALSE;
    }
    memcpy(name, b.data() + at + 6, PRN_CUSTOM_NAME_SIZE);
    name[PRN_CUSTOM_NAME_SIZE - 1] = 0;
    *devMode = m;
    *devNames = n;
    return TRUE;
}

BOOL prnWriteCustomCommand(const char *path, const char *name, HGLOBAL devMode,
                           HGLOBAL devNames)
{
    GlobalLockT<uint8_t> mode(devMode), names(devNames);
    if (!mode.get() || !names.get() || !prnCheckDevMode(mode.get(), mode.size()) ||
        !prnCheckDevNames(names.get(), names.size()))
        return FALSE;
    Bytes b;
    putU32(b, PRN_CUSTOM_HEADER_SIZE);
    putU16(b, 0);
    putU32(b, PRN_CUSTOM_MARK1);
    putU32(b, PRN_CUSTOM_MARK2);
    putU16(b, 1);
    b.resize(PRN_CUSTOM_HEADER_SIZE, 0);
    putU32(b, (uint32_t)(mode.size() + names.size() + PRN_CUSTOM_RECORD_FIXED));
    putU16(b, 0);
    char field[PRN_CUSTOM_NAME_SIZE] = {};
    lstrcpynA(field, name ? name : "", sizeof(field));
    b.insert(b.end(), field, field + sizeof(field));
    putU32(b, (uint32_t)mode.size());
    putU32(b, (uint32_t)names.size());
    b.insert(b.end(), mode.get(), mode.get() + mode.size());
    b.insert(b.end(), names.get(), names.get() + names.size());
    b.push_back(0);
    return ffReplaceFileBytes(path, b.data(), (uint32_t)b.size());
}

int prnCustomDriverCommand(HWND owner, HMENU menu, int command, int argument)
{
    switch (command) {
    case 1959:
        return argument >= PRN_CUSTOM_FIRST && argument <= PRN_CUSTOM_LAST;
    case 1958:
        return rebuildMenuItem(menu, argument);
    case 1950:
        return setUp(owner);
    default:
        if (command >= 1951 && command <= 1957)
            return run(owner);
        return 0;
    }
}
