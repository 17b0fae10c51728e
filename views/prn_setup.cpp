// Printer set-up with the printer kept for later starts, and the fax port.
#include "views/prn_setup.h"
#include "views/prn_print.h"
#include "support/prn_setup_file.h"
#include "support/settings_reg.h"
#include "support/dm_printer.h"
#include "support/prn_blocks.h"
#include "support/ut_msg.h"
#include <commdlg.h>
#include <string.h>
#include <string>

namespace {

const char kFaxFile[] = "~qmfax.dat";
BOOL g_faxReady = FALSE;
HGLOBAL g_faxMode = nullptr, g_faxNames = nullptr;
bool g_faxSwapped = false;

}  // namespace

char *prnHomeStorePath(char *buffer, const char *suffix)
{
    std::string name = std::string("~") + utGetAppName() + suffix;
    return setGetHomeFilePath(buffer, name.c_str());
}

void prnCmdPrinterSetup(HWND owner)
{
    char store[MAX_PATH];
    prnHomeStorePath(store, "_PrtLog");
    BOOL namesChanged = FALSE, modeChanged = FALSE;
    if (!dmPrinterSetup(owner, &namesChanged, &modeChanged) || (!namesChanged && !modeChanged))
        return;
    const char *answer = "DEFAULT";
    if (!dmIsDefaultPrinterCurrent() &&
        utMessageBox(owner, "Use the new selection the next time the program is started?",
                     MB_YESNO | MB_ICONQUESTION) == IDYES) {
        dmSavePrinter(owner, store);
        answer = "LOCAL";
    }
    setPutString("Saved", answer);
}

int prnPrinterSetupDialog(HWND owner, const char *storePath, const char *setupTemplate,
                          BOOL *changed)
{
    if (changed)
        *changed = FALSE;
    const DmPrinterCalls *calls = dmGetPrinterCalls();
    HGLOBAL mode = nullptr, names = nullptr;
    bool stored = prnReadSetupFile(owner, storePath, &mode, &names) != FALSE;
    for (int attempt = 0; attempt < 2; ++attempt) {
        PRINTDLGA pd;
        memset(&pd, 0, sizeof(pd));
        pd.lStructSize = sizeof(pd);
        pd.hwndOwner = owner;
        pd.hDevMode = mode;
        pd.hDevNames = names;
        pd.Flags = PD_PRINTSETUP | PD_ENABLESETUPTEMPLATE;
        pd.hInstance = GetModuleHandleA(nullptr);
        pd.lpSetupTemplateName = setupTemplate;
        if (calls->printDlg(&pd)) {
            if (pd.hDC)
                calls->deleteDC(pd.hDC);
            if (!pd.hDevMode || !pd.hDevNames) {
                prnFreeGlobal(&pd.hDevMode);
                prnFreeGlobal(&pd.hDevNames);
                return 0;
            }
            if (changed)
                *changed = TRUE;
            BOOL written = prnWriteSetupFile(storePath, pd.hDevMode, pd.hDevNames);
            prnFreeGlobal(&pd.hDevMode);
            prnFreeGlobal(&pd.hDevNames);
            return written;
        }
        mode = pd.hDevMode;
        names = pd.hDevNames;
        DWORD error = calls->extendedError();
        prnFreeGlobal(&mode);
        prnFreeGlobal(&names);
        // A stored printer the system no longer knows: once more on the
        // system default.
        if (!(error && stored && (error & PDERR_PRINTERNOTFOUND) == PDERR_PRINTERNOTFOUND))
            return 0;
        stored = false;
    }
    return 0;
}

void prnStartAtCreation(HWND frame)
{
    char saved[64] = "";
    setGetString("Saved", saved);
    char store[MAX_PATH] = "";
    if (strcmp(saved, "LOCAL") == 0)
        prnHomeStorePath(store, "_PrtLog");
    dmStartPrinterSilently(frame, *store ? store : nullptr);
    faxCheckPort(frame);
}

// ---- the fax port ------------------------------------------------------------------------------

void faxCheckPort(HWND frame)
{
    char path[MAX_PATH];
    setGetHomeFilePath(path, kFaxFile);
    HGLOBAL mode = nullptr, names = nullptr;
    g_faxReady = prnReadSetupFile(frame, path, &mode, &names) && mode && names;
    prnFreeGlobal(&mode);
    prnFreeGlobal(&names);
}

BOOL faxIsReady() { return g_faxReady; }

int faxCmdSetup(HWND owner)
{
    if (!g_faxReady) {
        char text[256] = "";
        utLoadString(owner, 925, text);
        if (utMessageBox(owner, text, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
            return g_faxReady;
    }
    char path[MAX_PATH];
    setGetHomeFilePath(path, kFaxFile);
    BOOL changed = FALSE;
    if (prnPrinterSetupDialog(owner, path, "faxsetup", &changed))
        g_faxReady = changed;
    return g_faxReady;
}

int faxSwapPrinter(HWND ws, const char *storePath, BOOL on)
{
    if (on) {
        if (g_faxSwapped)
            return 0;
        if (!prnReadSetupFile(ws, storePath, &g_faxMode, &g_faxNames))
            return 0;
        dmSwapPrinter(&g_faxMode, &g_faxNames);
        g_faxSwapped = true;
    } else {
        // Only a printer that was swapped in is swapped back: exchanging
        // with empty blocks would leave no current printer.
        if (!g_faxSwapped)
            return 0;
        dmSwapPrinter(&g_faxMode, &g_faxNames);
        prnFreeGlobal(&g_faxMode);
        prnFreeGlobal(&g_faxNames);
        g_faxSwapped = false;
    }
    HDC dc = dmCreatePrinterDC(ws, 0, 1, 1);
    dmDeleteDC(&dc);
    return 1;
}

int faxCmdFax(HWND ws, BOOL noDialog)
{
    if (!g_faxReady) {
        char text[256] = "";
        utLoadString(ws, 926, text);
        utMessageBox(ws, text, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    char path[MAX_PATH];
    setGetHomeFilePath(path, kFaxFile);
    bool swapped = faxSwapPrinter(ws, path, TRUE) != 0;
    if (!swapped) {
        if (!faxCmdSetup(ws)) {
            utErrorBox(ws, "Failed to setup fax port");
            return 0;
        }
        // The fax printer was set up anew: print on it.
        swapped = faxSwapPrinter(ws, path, TRUE) != 0;
    }
    int result = prnCmdPrint(ws, TRUE, noDialog);
    if (swapped)
        faxSwapPrinter(ws, path, FALSE);
    return result;
}

void faxResetModule()
{
    if (g_faxSwapped)
        faxSwapPrinter(nullptr, nullptr, FALSE);
    prnFreeGlobal(&g_faxMode);
    prnFreeGlobal(&g_faxNames);
    g_faxSwapped = false;
    g_faxReady = FALSE;
}
