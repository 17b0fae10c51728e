// The last import and export paths (at most 259 characters each), taken
// from "ImportDir" and "ExportDir" at start-up and written back at close.
#pragma once
#include "support/qmwin.h"

void fcSetImportPath(const char *path);
char *fcGetImportPath(char *buffer);   // 260 bytes
void fcSetExportPath(const char *path);
char *fcGetExportPath(char *buffer);   // 260 bytes
