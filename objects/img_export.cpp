// Pictures through the image library: packed DIBs written as picture files
// (encoded in memory, written with the Win32 file calls), objects drawn into
// packed DIBs, and picture files made into bitmap objects.
#include "objects/img_export.h"
#include "objects/img_io.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "support/dm_printer.h"
#include "support/qmfreeimage.h"
#include "support/ut_mem.h"
#include <string.h>
#include <vector>

namespace {

const int16_t kBitmapType = 60;
const uint32_t kBitmapDataHead = 16;   // kind, header size, pixel bytes, flags, colour

FREE_IMAGE_FORMAT formatOf(int format)
{
    switch (format) {
    case IMG_FORMAT_BMP: return FIF_BMP;
    case IMG_FORMAT_JPEG: return FIF_JPEG;
    case IMG_FORMAT_PNG: return FIF_PNG;
    case IMG_FORMAT_TIFF: return FIF_TIFF;
    case IMG_FORMAT_PCX: return FIF_PCX;
    default: return FIF_UNKNOWN;
    }
}

// The library's bitmap of a packed DIB; null for a damaged one.
FIBITMAP *fromPacked(const uint8_t *p, uint32_t size)
{
    if (size < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER bih;
    memcpy(&bih, p, sizeof bih);
    const int bpp = bih.biBitCount;
    if (bih.biSize < sizeof bih || bih.biSize > size || bih.biWidth <= 0 || bih.biHeight == 0 ||
        bih.biWidth > 0x8000 || bih.biHeight > 0x8000 || bih.biHeight < -0x8000 ||
        (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) ||
        (bih.biCompression != BI_RGB && bih.biCompression != BI_BITFIELDS))
        return nullptr;
    uint32_t colours = bih.biClrUsed ? bih.biClrUsed : (bpp <= 8 ? 1u << bpp : 0u);
    if (colours > 256)
        return nullptr;
    const uint32_t masks = bih.biCompression == BI_BITFIELDS ? 12u : 0u;
    const uint64_t headerSize = (uint64_t)bih.biSize + masks + 4ull * colours;
    const int height = bih.biHeight < 0 ? -bih.biHeight : bih.biHeight;
    const uint64_t pitch = (((uint64_t)bih.biWidth * bpp + 31) / 32) * 4;
    if (headerSize + pitch * (uint64_t)height > size)
        return nullptr;
    FIBITMAP *bmp = FreeImage_Allocate(bih.biWidth, height, bpp);
    if (!bmp)
        return nullptr;
    if (colours && FreeImage_GetPalette(bmp))
        memcpy(FreeImage_GetPalette(bmp), p + bih.biSize + masks,
               4u * (colours < FreeImage_GetColorsUsed(bmp) ? colours : FreeImage_GetColorsUsed(bmp)));
    const uint8_t *bits = p + headerSize;
    for (int y = 0; y < height; ++y) {
        // The library's rows are bottom-up, as a DIB with a positive height.
        const int from = bih.biHeight > 0 ? y : height - 1 - y;
        memcpy(FreeImage_GetScanLine(bmp, y), bits + pitch * (uint64_t)from, (size_t)pitch);
    }
    return bmp;
}

bool writeWhole(const char *path, const BYTE *data, DWORD size)
{
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(f, data, size, &written, nullptr);
    CloseHandle(f);
    if (!ok || written != size) {
        DeleteFileA(path);
        return false;
    }
    return true;
}

// A 24-bit DIB section of the size, white, in a memory DC.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    void *bits = nullptr;
    Canvas(int w, int h)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        dc = CreateCompatibleDC(nullptr);
        bitmap = dc ? CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
        if (bitmap) {
            old = SelectObject(dc, bitmap);
            PatBlt(dc, 0, 0, w, h, WHITENESS);
        }
    }
    ~Canvas()
    {
        if (old)
            SelectObject(dc, old);
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
    }
    bool ok() const { return bitmap && bits; }
};

// The BITMAPINFOHEADER and pixels of a bitmap object.
bool objectHeader(MemHandle object, BITMAPINFOHEADER *out)
{
    ObLock rec(object);
    if (!rec || rec->type != kBitmapType || rec.extent() < kObHeadSize + kBitmapDataHead + sizeof *out)
        return false;
    const uint8_t *data = obRecData(rec.get());
    uint16_t kind = 0;
    memcpy(&kind, data, 2);
    if (kind != 1)
        return false;
    memcpy(out, data + kBitmapDataHead, sizeof *out);
    return out->biWidth > 0 && out->biHeight != 0;
}

}  // namespace

int imgExportDib(HWND, MemHandle dib, const char *path, int format)
{
    const FREE_IMAGE_FORMAT fif = formatOf(format);
    if (!dib || !path || !*path || fif == FIF_UNKNOWN || !FreeImage_FIFSupportsWriting(fif))
        return 0;
    FIBITMAP *bmp = nullptr;
    {
        MemLock<uint8_t> p(dib);
        if (!p)
            return 0;
        bmp = fromPacked(p.get(), utHandleSize(dib));
    }
    if (!bmp)
        return 0;
    // JPEG takes 8 or 24 bits a pixel; the others take what they can export.
    if (!FreeImage_FIFSupportsExportBPP(fif, (int)FreeImage_GetBPP(bmp))) {
        FIBITMAP *converted = FreeImage_ConvertTo24Bits(bmp);
        FreeImage_Unload(bmp);
        bmp = converted;
        if (!bmp)
            return 0;
    }
    FIMEMORY *memory = FreeImage_OpenMemory(nullptr, 0);
    int done = 0;
    if (memory && FreeImage_SaveToMemory(fif, bmp, memory, 0)) {
        BYTE *data = nullptr;
        DWORD size = 0;
        if (FreeImage_AcquireMemory(memory, &data, &size) && data && size)
            done = writeWhole(path, data, size) ? 1 : 0;
    }
    if (memory)
        FreeImage_CloseMemory(memory);
    FreeImage_Unload(bmp);
    return done;
}

MemHandle imgPackDib(const void *bits, int width, int height)
{
    if (!bits || width <= 0 || height <= 0)
        return 0;
    const uint32_t pitch = (((uint32_t)width * 24 + 31) / 32) * 4;
    const uint64_t pixels = (uint64_t)pitch * (uint32_t)height;
    if (pixels > 0x7FFFFFFF - sizeof(BITMAPINFOHEADER))
        return 0;
    std::vector<uint8_t> packed(sizeof(BITMAPINFOHEADER) + (size_t)pixels);
    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof bih;
    bih.biWidth = width;
    bih.biHeight = height;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    bih.biSizeImage = (DWORD)pixels;
    bih.biXPelsPerMeter = bih.biYPelsPerMeter = 3780;   // 96 pixels to the inch
    memcpy(packed.data(), &bih, sizeof bih);
    memcpy(packed.data() + sizeof bih, bits, (size_t)pixels);
    return utHandleFromBytes(packed.data(), (uint32_t)packed.size());
}

MemHandle imgRenderObjectDib(MemHandle object)
{
    if (!object)
        return 0;
    RECT r;
    obGetRect(object, &r);
    const int w = MulDiv(r.right - r.left, 96, 1440) + 1;
    const int h = MulDiv(r.bottom - r.top, 96, 1440) + 1;
    if (w <= 1 || h <= 1 || w > 0x4000 || h > 0x4000)
        return 0;
    Canvas canvas(w, h);
    if (!canvas.ok())
        return 0;
    const BOOL pushed = dmPushState();
    dmSetZoomDC(canvas.dc, 100);
    dmSetMappingOrg(canvas.dc, r.left, r.top);
    obDraw(canvas.dc, object);
    GdiFlush();
    if (pushed)
        dmPopState();
    return imgPackDib(canvas.bits, w, h);
}

MemHandle imgLoadFileObject(HWND, const char *path, int imageMode, int, int)
{
    ImgIoRequest request = {};
    request.fileName = path;
    request.action = IMG_ACTION_LOAD_OBJECT;
    request.mappingKind = (uint16_t)imageMode;
    if (!imgIoDispatch(&request))
        return 0;
    return request.object;
}

BOOL imgGetObjectPixels(MemHandle object, int32_t *width, int32_t *height)
{
    BITMAPINFOHEADER bih;
    if (!objectHeader(object, &bih))
        return FALSE;
    if (width)
        *width = bih.biWidth;
    if (height)
        *height = bih.biHeight < 0 ? -bih.biHeight : bih.biHeight;
    return TRUE;
}

int imgFitObjectToPixels(MemHandle object, int mapping)
{
    int32_t w = 0, h = 0;
    if (!imgGetObjectPixels(object, &w, &h))
        return 0;
    int32_t dpiX = 96, dpiY = 96;
    if (mapping == 2) {
        dpiX = dpiY = 300;
        if (HDC ic = dmGetPrinterIC()) {
            dpiX = GetDeviceCaps(ic, LOGPIXELSX);
            dpiY = GetDeviceCaps(ic, LOGPIXELSY);
        }
    } else if (HDC screen = GetDC(nullptr)) {
        dpiX = GetDeviceCaps(screen, LOGPIXELSX);
        dpiY = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    RECT r;
    obGetRect(object, &r);
    RECT now = {r.left, r.top, r.left + MulDiv(w, 1440, dpiX > 0 ? dpiX : 96),
                r.top + MulDiv(h, 1440, dpiY > 0 ? dpiY : 96)};
    obSetRect(object, &now);
    return 1;
}
