// Packed DIBs made from the rows of a DIB section, for the export of pages.
#include "objects/img_export.h"
#include "support/ut_mem.h"
#include <string.h>
#include <vector>

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
