// The pattern library file ("qmptn.tvl" in the program folder).
#pragma once
#include "support/qmwin.h"

void ptnSetLibraryFile(const char *path);
const char *ptnGetLibraryFile();
