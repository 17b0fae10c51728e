// The bridge between raster picture files and the picture objects: one
// request block handed to one dispatcher, which selects the work by an
// action number and reports failure through a small negative error code;
// and the entry points the rest of the program calls, which show a failure.
//
// Files are read and written through the Win32 file calls and handed to the
// image library through its handle callbacks; pictures held in memory (the
// image object's bytes) through memory streams.
#pragma once
#include "support/qmwin.h"

enum : int32_t {
    IMG_ACTION_LOAD_OBJECT = 1,    // a file into a new bitmap object
    IMG_ACTION_LOAD_DIB = 2,       // a file into a packed DIB
    IMG_ACTION_SAVE_OBJECT = 3,    // a bitmap object's DIB into a file
    IMG_ACTION_SAVE_DIB = 4,       // a packed DIB into a file
    IMG_ACTION_FILE_SIZE = 5,      // a file's pixel size
    IMG_ACTION_DECODE_IMAGE = 6,   // an image object's bytes into a packed DIB
    IMG_ACTION_DRAW_MEMORY = 7,    // bytes in memory drawn into a rectangle
    IMG_ACTION_MEMORY_SIZE = 8,    // pixel size of bytes in memory
    IMG_ACTION_LOAD_OBJECT2 = 9,   // as 1
};
enum : int32_t {
    IMG_OK = 0,
    IMG_ERR_READ = -1,             // "Read error"
    IMG_ERR_FILE_TYPE = -2,        // "Unknown file type"
    IMG_ERR_ACTION = -3,           // "Unknown action reqest"
    IMG_ERR_NO_NAME = -4,          // "No file name"
    IMG_ERR_DIB = -5,              // "Failed from DIB to FIB"
};
// ImageFileKind: the format of the bytes an image object holds.
enum : int32_t {
    IMG_KIND_BMP = 32,
    IMG_KIND_PCX = 33,
    IMG_KIND_JPG = 35,
    IMG_KIND_PNG = 36,
};

// The request, zero-filled by the caller before use.
struct ImgIoRequest {
    HDC dc;                        // action 7
    const char *fileName;          // actions 1, 2, 3, 4, 5, 9
    const void *data;              // actions 7, 8: a picture file's bytes
    uint32_t dataSize;
    MemHandle object;              // out 1, 9; in 3 (bitmap object), 6 (image object)
    MemHandle dib;                 // out 2, 6; in 4
    int32_t action;
    int32_t fileKind;              // actions 7, 8
    uint16_t mappingKind;          // actions 1, 9: 2 the printer's resolution, else the screen's
    int32_t error;                 // out: IMG_OK or an IMG_ERR_ code
    int32_t pixelWidth, pixelHeight;   // out 5, 8 (and 1, 9: the picture loaded)
    int32_t rect[4];               // action 7: left, top, right, bottom
    uint32_t rop;                  // action 7
    uint32_t transparent;          // actions 1, 7, 9
    COLORREF transparentColour;
};

// Does the request's work; 1 when its error code is 0 afterwards. Every
// library bitmap and memory stream made is gone when it returns.
int imgIoDispatch(ImgIoRequest *request);
// The text of an error code; "Unknown error" for any other.
const char *imgIoErrorText(int32_t code);

// ---- entry points (failures shown as "%s: %s", error text and file name) ----------
MemHandle imgLoadFileObject(HWND window, const char *fileName, uint16_t mappingKind,
                            BOOL transparent, COLORREF colour);
MemHandle imgLoadFileObjectAlt(HWND window, const char *fileName, uint16_t mappingKind,
                               BOOL transparent, COLORREF colour);
int imgGetFileSize(HWND window, const char *fileName, int32_t *width, int32_t *height);
MemHandle imgLoadFileDib(HWND window, const char *fileName);
// Saves the packed DIB into the file (its format by the extension); the DIB
// is freed in every case. 0 for a DIB of 0.
int imgSaveDibFile(HWND window, MemHandle dib, const char *fileName);
// The same after the Save As dialog chose the name (a 260-byte buffer);
// 0 when cancelled (the DIB is then freed too).
int imgSaveDibAs(HWND window, MemHandle dib, char *fileName);
// Writes the packed DIB into the file in the export format (an
// ImageFileKind; 0: by the file's extension). The DIB stays the caller's.
// 0 on failure, shown.
int imgExportDib(HWND window, MemHandle dib, const char *fileName, int32_t format);
// Shows nothing.
int imgMemPixelSize(const void *data, uint32_t size, int32_t fileKind, int32_t *width,
                    int32_t *height);
// Draws the picture bytes whose image header (an image object's type data
// from +8: file kind at +4, data size at +8, flags at +20 with bit 1 for
// the transparent colour at +24) is given; shows nothing.
int imgDrawMemImage(HDC dc, const void *data, const void *kindHeader, const RECT *rect,
                    DWORD rop);
// A picture file (or a library object: "library.olb\nname", its record
// unpacked into a new object tree by the installed unpacking) loaded into
// an object, fitted into the rectangle by the fit mode and alignment, drawn
// and freed. The spare value is not used. 0 when nothing was drawn (also for
// a record that does not unpack); shows nothing.
int imgDrawFileInRect(HDC dc, const char *fileName, const RECT *rect, uint32_t spare,
                      uint16_t fitMode, uint16_t align, BOOL transparent, COLORREF colour);
// The crop rectangle of the picture (pixels: left, top, right, bottom
// taken off each edge) drawn scaled into the rectangle with the raster
// operation. 0 when the file cannot be read or nothing is left of it.
int imgDrawFileCropped(HDC dc, const char *fileName, const RECT *rect, const RECT *crop,
                       DWORD rop);
// The picture loaded as a DIB and drawn by the pixel rectangle's logical
// size at zoom 100 into the rectangle; the spare rectangle is not used.
int imgDrawFileDib(HDC dc, const char *fileName, const RECT *rect, const RECT *spare,
                   DWORD rop);
// Copies a part of the picture with BitBlt: negative source coordinates
// count as 0; a size of -1 (or more than the picture) runs to the
// picture's edge.
int imgBlitFilePart(HDC dc, const char *fileName, int32_t sx, int32_t sy, int32_t width,
                    int32_t height, int32_t x, int32_t y, DWORD rop);
// The unpacking of a record library's object record into a new object tree
// (the caller's; 0 when the record does not hold a whole tree), which the
// upper floor lends at start-up; without it library pictures draw nothing.
typedef MemHandle (*ImgRecordUnpack)(MemHandle record);
void imgSetRecordUnpack(ImgRecordUnpack unpack);
// Every picture is decoded by a worker thread that is abandoned, the load
// failing with "Read error", when it takes longer than the limit (3 seconds;
// 0 sets that again); the bytes of an abandoned picture are refused at once
// afterwards. The hook, when set, is called by each worker before it
// decodes (tests hold a worker with it). Setting either forgets the
// abandoned pictures.
void imgSetDecodeLimit(DWORD millis, void (*startHook)());
// Decoding workers running now (an abandoned one until the library returns).
long imgDecodeWorkers();
// Flipping, rotating or processing a bitmap again changes nothing here.
MemHandle imgNoopTransform(MemHandle h);

// ---- memory streams -----------------------------------------------------------------------
// Opens a stream over the bytes (its handle is the data address); 0 when
// the table cannot grow. Closing removes the entry; the table is freed
// with its last entry.
void *imgMemOpen(const void *data, uint32_t size);
void imgMemClose(void *handle);
// The callbacks the image library reads through.
unsigned imgMemRead(void *buffer, unsigned size, unsigned count, void *handle);
unsigned imgMemWrite(void *buffer, unsigned size, unsigned count, void *handle);
int imgMemSeek(void *handle, long offset, int origin);
long imgMemTell(void *handle);
// Open streams and whether their table exists (tests).
int imgMemStreamCount();
BOOL imgMemStreamTableExists();
// Library bitmaps alive now (tests).
long imgLiveLibraryBitmaps();
