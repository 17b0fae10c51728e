// Pictures for export: the image layer's format ids of the export filter
// and a packed DIB made from the rows of a DIB section.
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

// A packed 24-bit DIB of `width` x `height` pixels from the rows of a
// bottom-up 24-bit DIB section.
MemHandle imgPackDib(const void *bits, int width, int height);
