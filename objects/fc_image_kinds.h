// Picture file kinds of the file dialogs: the ImageFileKind codes by
// extension (32 ".bmp", 35 ".jpg", 33 ".pcx", 36 ".png", searched in that
// order) and the Save As dialog for pictures.
#pragma once
#include "support/qmwin.h"

// The code whose extension equals the path's (case ignored); 0 when none
// does or the path has no extension.
int32_t imgKindFromPath(const char *path);
// 1 with the code's extension (point included) in the buffer (8 bytes at
// least); 0 with an empty buffer for a code not in the table.
int imgKindExtension(int32_t code, char *buffer);
// The system "Save As" dialog over the picture kinds; the buffer (260
// bytes) holds the starting name and gets the chosen one, the filter index
// (1-based) the kind chosen. 1 when a name was chosen, 0 when cancelled.
int fcSaveImageAsDialog(HWND window, char *path, int *filterIndex);
