// Pictures for export: the image layer's format ids of the export filter
// and the writing of a DIB section's rows.
#pragma once
#include "support/qmwin.h"

// The export formats by image layer id (objects/img_io.h names the first
// four); TIFF is written by the file's extension.
enum : int {
    IMG_FORMAT_BMP = 32,
    IMG_FORMAT_PCX = 33,
    IMG_FORMAT_JPEG = 35,
    IMG_FORMAT_PNG = 36,
    IMG_FORMAT_TIFF = 37,
};

// Writes the rows of a bottom-up 24- or 32-bit DIB section (its header
// and bits) into the file in the export format (an image layer id; 0: by
// the file's extension). The picture library reads the section's own
// pixels: no copy of them is made. 0 on failure, shown.
int imgExportDibRows(HWND window, const BITMAPINFOHEADER *header, void *bits,
                     const char *fileName, int32_t format);
