// Picture files drawn into a rectangle (push-button pictures): the picture
// loaded through FreeImage from a file opened with the Win32 file API, and
// the raster operation an object's flags choose.
#pragma once
#include "support/qmwin.h"

// Draws the picture file stretched into the rectangle (logical units) with
// the raster operation; 0 when the file cannot be read as a picture.
int imgDrawFileInRect(HDC dc, const char *path, const RECT *rect, DWORD rop);
// Flag 0x10 gives SRCAND; else the selector in the high 16 bits: 2 SRCAND,
// 3 SRCPAINT, 4 SRCINVERT, 5 SRCERASE, 6 NOTSRCCOPY, 7 NOTSRCERASE,
// 8 MERGECOPY, 9 MERGEPAINT, 10 PATCOPY, 11 PATPAINT, 12 PATINVERT,
// 13 DSTINVERT; any other selector SRCCOPY.
DWORD imgRopFromFlags(uint32_t flags);
