// Pictures out of and into the program through the image library: a packed
// DIB written as a BMP, JPEG, PNG or TIFF file, an object or a page drawn
// into a packed DIB, and a picture file made into a bitmap object.
#pragma once
#include "support/qmwin.h"

// The image layer's format ids.
enum : int {
    IMG_FORMAT_BMP = 32,
    IMG_FORMAT_PCX = 33,
    IMG_FORMAT_JPEG = 35,
    IMG_FORMAT_PNG = 36,
    IMG_FORMAT_TIFF = 37,
};

// Writes the packed DIB (BITMAPINFOHEADER, colours, bits) to the path in the
// format; 0 when the DIB is damaged, the format cannot be written or the
// file cannot be written whole (nothing is left of a file it made).
int imgExportDib(HWND owner, MemHandle dib, const char *path, int format);
// A packed DIB of the object drawn at 100 percent on white; 0 when none.
MemHandle imgRenderObjectDib(MemHandle object);
// A packed 24-bit DIB of `width` x `height` pixels from the rows of a
// bottom-up 24-bit DIB section.
MemHandle imgPackDib(const void *bits, int width, int height);
// A bitmap object (type 60) read from a picture file; 0 when the file is
// not a picture the image library reads.
MemHandle imgLoadFileObject(HWND ws, const char *path, int imageMode, int reserved1, int reserved2);
// The bitmap object's width and height from its pixel size at the
// mapping's resolution: 2 the printer's (300 pixels to the inch when there
// is no printer), else the screen's. 0 for another object.
int imgFitObjectToPixels(MemHandle object, int mapping);
// The pixel size of a bitmap object; FALSE for another object.
BOOL imgGetObjectPixels(MemHandle object, int32_t *width, int32_t *height);
