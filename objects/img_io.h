// The bridge between raster picture files and the picture objects: one
// request block handed to one dispatcher, which selects the work by an
// action number and reports failure through a small negative error code.
#pragma once
#include "support/qmwin.h"

enum : int32_t {
    IMG_ACTION_LOAD_OBJECT = 1,    // a file into a new bitmap object (9 is the same)
    IMG_ACTION_LOAD_OBJECT2 = 9,
};
enum : int32_t {
    IMG_OK = 0,
    IMG_ERR_READ = -1,             // "Read error"
    IMG_ERR_FILE_TYPE = -2,        // "Unknown file type"
    IMG_ERR_ACTION = -3,           // "Unknown action reqest"
    IMG_ERR_NO_NAME = -4,          // "No file name"
    IMG_ERR_DIB = -5,              // "Failed from DIB to FIB"
};

struct FIBITMAP;

// The request, zero-filled by the caller before use.
struct ImgIoRequest {
    HDC dc;
    const char *fileName;
    const void *data;
    uint32_t dataSize;
    MemHandle object;
    MemHandle dib;
    int32_t action;
    int32_t fileKind;
    uint16_t mappingKind;
    int32_t error;
    int32_t pixelWidth, pixelHeight;
    int32_t rect[4];
    uint32_t rop;
    uint32_t transparent;
    COLORREF transparentColour;
};

// Does the request's work; 1 when its error code is 0 afterwards. Actions
// 1 and 9 load a picture file into a new bitmap object (type 60) holding a
// packed DIB, sized at the screen's resolution. Other actions set -3.
int imgIoDispatch(ImgIoRequest *request);
// The text of an error code; "Unknown error" for any other.
const char *imgIoErrorText(int32_t code);
// Reads a picture file with the Win32 file calls and decodes it through the
// image library: the library's bitmap (the caller unloads it), or null with
// *error set to IMG_ERR_NO_NAME (no name), IMG_ERR_READ (the file cannot be
// opened or decoded) or IMG_ERR_FILE_TYPE (not a picture the library reads).
FIBITMAP *imgLoadFileBitmap(const char *path, int32_t *error);
