// Printer set-up (command 113) with the printer kept for later starts, and
// the fax port: a second printer kept in "~qmfax.dat" and swapped in for
// the length of a fax job (commands 114, 115, 1202).
#pragma once
#include "support/qmwin.h"

void prnCmdPrinterSetup(HWND owner);
// The set-up dialog started on the printer stored at the path (the system
// default when the system no longer knows it); on OK the choice is written
// there. Nonzero when a selection was stored; changed tells so too.
int prnPrinterSetupDialog(HWND owner, const char *storePath, const char *setupTemplate,
                          BOOL *changed);
// The stored selection is read and written by prnReadSetupFile and
// prnWriteSetupFile (support/prn_setup_file.h).

// At frame creation: starts the printer ("_PrtLog" when "Saved" is
// "LOCAL", else the default; nothing shown when there is none) and checks
// the fax port.
void prnStartAtCreation(HWND frame);
// The path of "~" + application title + suffix in the home folder.
char *prnHomeStorePath(char *buffer, const char *suffix);

void faxCheckPort(HWND frame);
BOOL faxIsReady();
int faxCmdSetup(HWND owner);
int faxCmdFax(HWND ws, BOOL noDialog);
int faxSwapPrinter(HWND ws, const char *storePath, BOOL on);
// Tests.
void faxResetModule();
