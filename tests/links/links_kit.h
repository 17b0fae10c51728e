// Helpers of the linked-file tests: pictures written by the program's own
// writer, and image file objects over them.
#pragma once
#include "tests/support/kit.h"
#include "objects/img_io.h"
#include "support/ut_mem.h"
#include <string.h>
#include <functional>

namespace lnktest {

// A 24-bit packed DIB of w x h whose pixel colour is given by column.
inline MemHandle dibOf(int w, int h, const std::function<COLORREF(int x)> &colourAt)
{
    const uint32_t row = (uint32_t)((w * 3 + 3) & ~3);
    MemHandle dib = utAllocHandle(0, sizeof(BITMAPINFOHEADER) + row * (uint32_t)h);
    MemLock<uint8_t> p(dib);
    BITMAPINFOHEADER *bh = reinterpret_cast<BITMAPINFOHEADER *>(p.get());
    bh->biSize = sizeof(BITMAPINFOHEADER);
    bh->biWidth = w;
    bh->biHeight = h;
    bh->biPlanes = 1;
    bh->biBitCount = 24;
    bh->biSizeImage = row * (uint32_t)h;
    uint8_t *bits = p.get() + sizeof(BITMAPINFOHEADER);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF c = colourAt(x);
            uint8_t *px = bits + (uint32_t)y * row + (uint32_t)x * 3;
            px[0] = GetBValue(c);
            px[1] = GetGValue(c);
            px[2] = GetRValue(c);
        }
    return dib;
}

// Writes the picture file (its format by the extension); true on success.
inline bool writePicture(const std::string &path, int w, int h,
                         const std::function<COLORREF(int x)> &colourAt)
{
    return imgSaveDibFile(nullptr, dibOf(w, h, colourAt), path.c_str()) == 1;
}

}  // namespace lnktest
