// The last import and export paths (at most 259 characters each), taken
// from "ImportDir" and "ExportDir" at start-up and written back at close.
#pragma once
#include "support/qmwin.h"

void fcSetImportPath(const char *path);
char *fcGetImportPath(char *buffer);   // 260 bytes
void fcSetExportPath(const char *path);
char *fcGetExportPath(char *buffer);   // 260 bytes

// Kinds of a file dropped on a workspace.
enum { FC_DROP_AS_FILE = 0, FC_DROP_AS_IMAGE = 1 };
// A file dropped on a workspace at a logical point: placed as a linked
// object of the page (its rectangle out); nonzero when placed. The linked
// objects come with the import itself: until then nothing is placed.
int fcImportDroppedFile(HWND ws, const char *path, POINT at, int kind, RECT *out);
