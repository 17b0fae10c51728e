// Printer and fax set-up commands (113 and 115); they come with printing.
#pragma once
#include "support/qmwin.h"

void prnCmdPrinterSetup(HWND owner);
void faxCmdSetup(HWND owner);
