// Picture files through the image library: files are read with the Win32
// file calls and handed to the library through its input callbacks.
#include "objects/img_io.h"
#include "model/ob_record.h"
#include "support/qmfreeimage.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

const int16_t kBitmapType = 60;

// The type data of a bitmap object before its header and pixels.
#pragma pack(push, 1)
struct BitmapDataHead {
    uint16_t kind;          // 1: a packed DIB
    int16_t headerSize;     // BITMAPINFOHEADER and colour table
    uint32_t pixelBytes;
    uint16_t unused;
    uint16_t flags;         // bit 0: the transparent colour is in use
    uint32_t transparent;
};
#pragma pack(pop)
static_assert(sizeof(BitmapDataHead) == 16, "the bitmap data head is 16 bytes");

// The image library reads through these over a Win32 file handle.
unsigned readProc(void *buffer, unsigned size, unsigned count, fi_handle handle)
{
    DWORD got = 0;
    uint64_t want = (uint64_t)size * count;
    if (!size || want > 0x7FFFFFFF || !ReadFile((HANDLE)handle, buffer, (DWORD)want, &got, nullptr))
        return 0;
    return got / size;
}

unsigned writeProc(void *, unsigned, unsigned, fi_handle) { return 0; }

int seekProc(fi_handle handle, long offset, int origin)
{
    DWORD method = origin == SEEK_CUR ? FILE_CURRENT : origin == SEEK_END ? FILE_END : FILE_BEGIN;
    LARGE_INTEGER d;
    d.QuadPart = offset;
    return SetFilePointerEx((HANDLE)handle, d, nullptr, method) ? 0 : -1;
}

long tellProc(fi_handle handle)
{
    LARGE_INTEGER zero = {}, pos = {};
    if (!SetFilePointerEx((HANDLE)handle, zero, &pos, FILE_CURRENT))
        return -1;
    return (long)pos.QuadPart;
}

// A bitmap object holding the picture as a packed DIB, sized at the
// screen's resolution; 0 when memory fails.
MemHandle bitmapObject(FIBITMAP *bmp, const ImgIoRequest *request)
{
    BITMAPINFOHEADER *info = FreeImage_GetInfoHeader(bmp);
    unsigned colours = FreeImage_GetColorsUsed(bmp);
    unsigned pitch = FreeImage_GetPitch(bmp);
    unsigned height = FreeImage_GetHeight(bmp);
    uint32_t headerSize = (uint32_t)sizeof(BITMAPINFOHEADER) + 4u * colours;
    uint32_t pixelBytes = pitch * height;
    uint32_t size = kObHeadSize + (uint32_t)sizeof(BitmapDataHead) + headerSize + pixelBytes;
    MemHandle h = obNewRecord(size);
    ObLock rec(h);
    if (!rec)
        return 0;
    HDC screen = GetDC(nullptr);
    int dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    int dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    rec->type = kBitmapType;
    rec->scaleX = rec->scaleY = kObScaleOne;
    RECT box = {0, 0, MulDiv((int)FreeImage_GetWidth(bmp), 1440, dpiX ? dpiX : 96),
                MulDiv((int)height, 1440, dpiY ? dpiY : 96)};
    obRecSetRect(rec.get(), &box);
    uint8_t *data = obRecData(rec.get());
    BitmapDataHead head = {1, (int16_t)headerSize, pixelBytes, 0,
                           (uint16_t)(request->transparent ? 1 : 0),
                           request->transparent ? request->transparentColour : 0};
    memcpy(data, &head, sizeof head);
    BITMAPINFOHEADER bih = *info;
    bih.biSizeImage = pixelBytes;
    memcpy(data + sizeof head, &bih, sizeof bih);
    if (colours)
        memcpy(data + sizeof head + sizeof bih, FreeImage_GetPalette(bmp), 4u * colours);
    memcpy(data + sizeof head + headerSize, FreeImage_GetBits(bmp), pixelBytes);
    return h;
}

void loadObject(ImgIoRequest *request)
{
    FIBITMAP *bmp = imgLoadFileBitmap(request->fileName, &request->error);
    if (!bmp)
        return;
    unsigned bpp = FreeImage_GetBPP(bmp);
    if (FreeImage_GetImageType(bmp) != FIT_BITMAP
        || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)) {
        FIBITMAP *converted = FreeImage_ConvertTo24Bits(bmp);
        FreeImage_Unload(bmp);
        bmp = converted;
        if (!bmp) {
            request->error = IMG_ERR_DIB;
            return;
        }
    }
    request->pixelWidth = (int32_t)FreeImage_GetWidth(bmp);
    request->pixelHeight = (int32_t)FreeImage_GetHeight(bmp);
    request->object = bitmapObject(bmp, request);
    FreeImage_Unload(bmp);
    if (!request->object)
        request->error = IMG_ERR_READ;
}

}  // namespace

FIBITMAP *imgLoadFileBitmap(const char *path, int32_t *error)
{
    int32_t ignored;
    if (!error)
        error = &ignored;
    if (!path || !*path) {
        *error = IMG_ERR_NO_NAME;
        return nullptr;
    }
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = IMG_ERR_READ;
        return nullptr;
    }
    FreeImageIO io = {readProc, writeProc, seekProc, tellProc};
    FREE_IMAGE_FORMAT fif = FreeImage_GetFileTypeFromHandle(&io, (fi_handle)file, 0);
    FIBITMAP *bmp = nullptr;
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(fif)) {
        *error = IMG_ERR_FILE_TYPE;
    } else {
        seekProc((fi_handle)file, 0, SEEK_SET);
        bmp = FreeImage_LoadFromHandle(fif, &io, (fi_handle)file, 0);
        if (!bmp)
            *error = IMG_ERR_READ;
    }
    CloseHandle(file);
    return bmp;
}

int imgIoDispatch(ImgIoRequest *request)
{
    if (!request)
        return 0;
    request->error = IMG_OK;
    switch (request->action) {
    case IMG_ACTION_LOAD_OBJECT:
    case IMG_ACTION_LOAD_OBJECT2: loadObject(request); break;
    default: request->error = IMG_ERR_ACTION; break;
    }
    return request->error == IMG_OK ? 1 : 0;
}

const char *imgIoErrorText(int32_t code)
{
    switch (code) {
    case IMG_ERR_READ: return "Read error";
    case IMG_ERR_FILE_TYPE: return "Unknown file type";
    case IMG_ERR_ACTION: return "Unknown action reqest";
    case IMG_ERR_NO_NAME: return "No file name";
    case IMG_ERR_DIB: return "Failed from DIB to FIB";
    default: return "Unknown error";
    }
}
