// Test pictures written byte by byte or through the image library.
#include "tests/support/kit_picture.h"
#include "support/qmfreeimage.h"
#include <stdlib.h>
#include <string.h>

namespace qmtest {

namespace {

const COLORREF kQuad[4] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
const COLORREF kTwo[2] = {RGB(255, 0, 0), RGB(0, 0, 255)};

int indexOf(int bits, int x, int y)
{
    if (bits == 1)
        return (x >= 3) ^ (y >= 2);
    return (x >= 3 ? 1 : 0) + (y >= 2 ? 2 : 0);
}

void put16(std::vector<uint8_t> &v, uint16_t n) { v.push_back(n & 0xFF); v.push_back(n >> 8); }
void put32(std::vector<uint8_t> &v, uint32_t n)
{
    for (int i = 0; i < 4; ++i)
        v.push_back((n >> (8 * i)) & 0xFF);
}

// The bitmap saved by the library in the format of the extension, as
// bytes; the bitmap is freed.
std::vector<uint8_t> savedBytes(FIBITMAP *bmp, const std::string &ext)
{
    FREE_IMAGE_FORMAT fif = FreeImage_GetFIFFromFilename(("x." + ext).c_str());
    int flags = fif == FIF_JPEG ? (JPEG_QUALITYSUPERB | JPEG_SUBSAMPLING_444) : 0;
    FIMEMORY *mem = FreeImage_OpenMemory(nullptr, 0);
    std::vector<uint8_t> out;
    if (mem && FreeImage_SaveToMemory(fif, bmp, mem, flags)) {
        BYTE *data = nullptr;
        DWORD size = 0;
        if (FreeImage_AcquireMemory(mem, &data, &size))
            out.assign(data, data + size);
    }
    if (mem)
        FreeImage_CloseMemory(mem);
    FreeImage_Unload(bmp);
    return out;
}

}  // namespace

COLORREF pictureColour(int bits, int x, int y)
{
    return bits == 1 ? kTwo[indexOf(1, x, y)] : kQuad[indexOf(bits, x, y)];
}

std::vector<uint8_t> bmpBytes(int bits, bool topDown)
{
    int colours = bits == 1 ? 2 : bits <= 8 ? 4 : 0;
    int stride = ((kPicW * bits + 31) / 32) * 4;
    std::vector<uint8_t> rows((size_t)stride * kPicH, 0);
    for (int y = 0; y < kPicH; ++y) {
        uint8_t *row = rows.data() + (size_t)stride * (topDown ? y : kPicH - 1 - y);
        for (int x = 0; x < kPicW; ++x) {
            int i = indexOf(bits, x, y);
            COLORREF c = pictureColour(bits, x, y);
            switch (bits) {
            case 1: if (i) row[x / 8] |= (uint8_t)(0x80 >> (x % 8)); break;
            case 4: row[x / 2] |= (uint8_t)(x % 2 ? i : i << 4); break;
            case 8: row[x] = (uint8_t)i; break;
            default: {
                uint8_t *p = row + x * (bits / 8);
                p[0] = GetBValue(c);
                p[1] = GetGValue(c);
                p[2] = GetRValue(c);
                break;
            }
            }
        }
    }
    std::vector<uint8_t> v;
    uint32_t offset = 14 + 40 + 4 * colours;
    v.push_back('B');
    v.push_back('M');
    put32(v, offset + (uint32_t)rows.size());
    put32(v, 0);
    put32(v, offset);
    put32(v, 40);
    put32(v, kPicW);
    put32(v, (uint32_t)(topDown ? -kPicH : kPicH));
    put16(v, 1);
    put16(v, (uint16_t)bits);
    put32(v, BI_RGB);
    put32(v, 0);   // image size 0: computed
    put32(v, 3780);
    put32(v, 3780);
    put32(v, bits == 1 ? 0 : (uint32_t)colours);
    put32(v, 0);
    for (int i = 0; i < colours; ++i) {
        COLORREF c = bits == 1 ? kTwo[i] : kQuad[i];
        v.push_back(GetBValue(c));
        v.push_back(GetGValue(c));
        v.push_back(GetRValue(c));
        v.push_back(0);
    }
    v.insert(v.end(), rows.begin(), rows.end());
    return v;
}

std::vector<uint8_t> libraryBytes(const std::string &ext)
{
    bool gif = ext == "gif";
    FIBITMAP *bmp = FreeImage_Allocate(kPicW, kPicH, gif ? 8 : 24, 0, 0, 0);
    if (!bmp)
        return {};
    if (gif) {
        RGBQUAD *pal = FreeImage_GetPalette(bmp);
        for (int i = 0; i < 4; ++i)
            pal[i] = RGBQUAD{GetBValue(kQuad[i]), GetGValue(kQuad[i]), GetRValue(kQuad[i]), 0};
    }
    for (int y = 0; y < kPicH; ++y) {
        for (int x = 0; x < kPicW; ++x) {
            unsigned fy = (unsigned)(kPicH - 1 - y);   // library rows bottom-up
            if (gif) {
                BYTE index = (BYTE)indexOf(8, x, y);
                FreeImage_SetPixelIndex(bmp, (unsigned)x, fy, &index);
            } else {
                COLORREF c = kQuad[indexOf(24, x, y)];
                RGBQUAD q = {GetBValue(c), GetGValue(c), GetRValue(c), 0};
                FreeImage_SetPixelColor(bmp, (unsigned)x, fy, &q);
            }
        }
    }
    return savedBytes(bmp, ext);
}

std::vector<uint8_t> grey16Bytes(const std::string &ext)
{
    FIBITMAP *bmp = FreeImage_AllocateT(FIT_UINT16, kGreyW, kGreyH, 16, 0, 0, 0);
    if (!bmp)
        return {};
    for (unsigned y = 0; y < (unsigned)kGreyH; ++y) {
        uint16_t *row = reinterpret_cast<uint16_t *>(FreeImage_GetScanLine(bmp, (int)y));
        for (unsigned x = 0; x < (unsigned)kGreyW; ++x)
            row[x] = x < 2 ? 0 : x == 2 ? 0x8080 : 0xFFFF;
    }
    return savedBytes(bmp, ext);
}

bool nearColour(COLORREF a, COLORREF b, int tolerance)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace qmtest
