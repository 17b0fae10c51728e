// The printer settings file: the printer chosen for later starts of the
// program, kept as two packets, the DEVMODE block first and the DEVNAMES
// block second, each the whole block the print dialog handed out.
#pragma once
#include "support/qmwin.h"

// Opens the file and reads the two packets; each packet's data (without its
// length word) becomes a new global block. The pair is checked (a DEVMODE
// whose sizes lie inside its block, a DEVNAMES whose strings end inside
// its block) before it is handed out. On any failure both outputs are 0 and
// the result FALSE; nothing is shown (a missing file is the usual case).
BOOL prnReadSetupFile(HWND owner, const char *path, HGLOBAL *devMode, HGLOBAL *devNames);
// Writes copies of both blocks as two packets (DEVMODE first) into a new
// file at the path, without an overwrite question. The file is written
// under a temporary name in the same folder and put in place only when
// whole, so a failed write leaves a previous file as it was; a read-only
// file is not replaced. TRUE when the file was written; nothing is shown.
BOOL prnWriteSetupFile(const char *path, HGLOBAL devMode, HGLOBAL devNames);
