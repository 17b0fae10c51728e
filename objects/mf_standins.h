// Metafile objects made from files (objects/mf_standins.cpp).
#pragma once
#include "support/qmwin.h"

// A new metafile object from an enhanced / Windows metafile; 0 on failure.
MemHandle mfImportEmf(HWND ws, const char *path);
MemHandle mfImportWmf(HWND ws, const char *path);
