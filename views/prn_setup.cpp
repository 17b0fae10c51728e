#include "views/prn_setup.h"

void prnCmdPrinterSetup(HWND) {}
void faxCmdSetup(HWND) {}
