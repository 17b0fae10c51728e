// Packed DIBs, BMP files and transparent blitting.
#include "support/gdi_dib.h"
#include "support/dm_map.h"
#include "support/ff_file.h"
#include "support/ut_path.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <string.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const UINT kIdsUnrecognizedType = 5200;   // "Unrecognized file type "
const UINT kIdsPressOk = 5000;            // "Press OK button to continue"
const uint32_t kMaskBytes = 12;           // three u32 colour masks of BI_BITFIELDS
// Run-length coded pixels are expanded to no more than this: a few bytes of
// codes cannot make the program ask for gigabytes.
const uint64_t kMaxExpandedBytes = 256ull << 20;

// The saved mapping of gdiPushIdentityMapping.
struct SavedMapping {
    POINT viewportOrg, windowOrg;
    SIZE viewportExt, windowExt;
    int mapMode;
};
SavedMapping g_saved = {};
// msimg32 as loaded at each use; tests may name a library that is absent.
std::string g_msimgName = "msimg32.dll";
HMODULE g_msimg32 = nullptr;   // held for the program's run: never set

bool isCore(const BITMAPINFOHEADER *h) { return h->biSize == sizeof(BITMAPCOREHEADER); }

uint16_t bitCount(const BITMAPINFOHEADER *h)
{
    return isCore(h) ? reinterpret_cast<const BITMAPCOREHEADER *>(h)->bcBitCount : h->biBitCount;
}

int32_t widthOf(const BITMAPINFOHEADER *h)
{
    return isCore(h) ? reinterpret_cast<const BITMAPCOREHEADER *>(h)->bcWidth : h->biWidth;
}

int32_t heightOf(const BITMAPINFOHEADER *h)
{
    return isCore(h) ? reinterpret_cast<const BITMAPCOREHEADER *>(h)->bcHeight : h->biHeight;
}

uint64_t rowBytes64(int32_t width, uint16_t bits)
{
    return ((uint64_t)(width < 0 ? 0 : width) * bits + 7) / 8;
}

uint64_t imageSize64(int32_t width, int32_t height, uint16_t bits)
{
    uint64_t stride = (rowBytes64(width, bits) + 3) & ~(uint64_t)3;
    return stride * (uint64_t)llabs((long long)height);
}

bool hasMasks(const BITMAPINFOHEADER *h)
{
    return !isCore(h) && h->biSize == sizeof(BITMAPINFOHEADER) && h->biCompression == BI_BITFIELDS;
}

bool knownBits(uint16_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The header's shape alone: sizes, bits, compression, colours.
bool headerSane(const BITMAPINFOHEADER *h)
{
    if (h->biSize != sizeof(BITMAPINFOHEADER) && h->biSize != sizeof(BITMAPCOREHEADER))
        return false;
    int32_t w = widthOf(h), ht = heightOf(h);
    uint16_t bits = bitCount(h);
    if (w <= 0 || ht == 0 || ht == INT32_MIN || !knownBits(bits))
        return false;
    if (isCore(h))
        return true;
    switch (h->biCompression) {
    case BI_RGB: break;
    case BI_RLE8: if (bits != 8 || ht < 0 || !h->biSizeImage) return false; break;
    case BI_RLE4: if (bits != 4 || ht < 0 || !h->biSizeImage) return false; break;
    case BI_BITFIELDS: if (bits != 16 && bits != 32) return false; break;
    default: return false;
    }
    if (bits <= 8 && h->biClrUsed > (1u << bits))
        return false;
    return true;
}

// The pixel bytes the header asks for (RLE: its own size).
uint64_t pixelBytes(const BITMAPINFOHEADER *h)
{
    if (!isCore(h) && (h->biCompression == BI_RLE8 || h->biCompression == BI_RLE4))
        return h->biSizeImage;
    return imageSize64(widthOf(h), heightOf(h), bitCount(h));
}

// The headers that begin with the 40-byte one and say more after it.
bool isLongHeader(uint32_t size) { return size == 52 || size == 56 || size == 108 || size == 124; }

// Run-length coded pixels (8 or 4 bits) expanded into rows of the given
// stride, bottom row first as stored; pixels the codes leave out stay 0.
// Every run, copy and move is held inside the picture and the source.
void expandRle(const uint8_t *src, uint32_t n, int32_t width, int32_t height, uint16_t bits,
               uint8_t *dst, uint32_t stride)
{
    auto put = [&](int32_t x, int32_t y, uint8_t value) {
        if (x < 0 || x >= width || y < 0 || y >= height)
            return;
        uint8_t *row = dst + (size_t)y * stride;
        if (bits == 8) {
            row[x] = value;
        } else {
            uint8_t shift = (x & 1) ? 0 : 4;
            row[x / 2] = (uint8_t)((row[x / 2] & ~(0xF << shift)) | ((value & 0xF) << shift));
        }
    };
    // The pixel values of a code's byte: one for 8 bits, two nibbles for 4.
    auto value = [&](uint8_t byte, int32_t i) {
        return bits == 8 ? byte : (uint8_t)((i & 1) ? (byte & 0xF) : (byte >> 4));
    };
    int32_t x = 0, y = 0;
    uint32_t at = 0;
    while (at + 1 < n && y < height) {
        uint8_t count = src[at], code = src[at + 1];
        at += 2;
        if (count) {
            for (int32_t i = 0; i < count && x < width; ++i, ++x)
                put(x, y, value(code, i));
            continue;
        }
        if (code == 0) {          // end of the row
            x = 0;
            ++y;
        } else if (code == 1) {   // end of the picture
            break;
        } else if (code == 2) {   // a move right and up
            if (at + 1 >= n)
                break;
            x += src[at];
            y += src[at + 1];
            at += 2;
        } else {                  // `code` pixels given one by one, padded to a word
            uint32_t bytes = bits == 8 ? code : (code + 1u) / 2;
            if (at + bytes > n)
                break;
            for (int32_t i = 0; i < code; ++i, ++x)
                put(x, y, value(src[at + (bits == 8 ? i : i / 2)], i));
            at += (bytes + 1) & ~1u;
        }
    }
}

void widenCore(BITMAPINFOHEADER *h)
{
    BITMAPCOREHEADER core;
    memcpy(&core, h, sizeof core);
    BITMAPINFOHEADER wide = {};
    wide.biSize = sizeof(BITMAPINFOHEADER);
    wide.biWidth = core.bcWidth;
    wide.biHeight = core.bcHeight;
    wide.biPlanes = core.bcPlanes;
    wide.biBitCount = core.bcBitCount;
    wide.biCompression = BI_RGB;
    *h = wide;
    wide.biClrUsed = gdiDibColorCount(&wide);
    wide.biClrImportant = wide.biClrUsed;
    *h = wide;
}

// A screen context with the palette selected and realised; the palette is
// put back as a background palette and the context released at the end.
class ScreenPalette {
public:
    explicit ScreenPalette(HPALETTE palette) : dc_(GetDC(nullptr))
    {
        if (dc_ && palette) {
            old_ = SelectPalette(dc_, palette, FALSE);
            RealizePalette(dc_);
        }
    }
    ~ScreenPalette()
    {
        if (dc_ && old_)
            SelectPalette(dc_, old_, TRUE);
        if (dc_)
            ReleaseDC(nullptr, dc_);
    }
    HDC dc() const { return dc_; }
    ScreenPalette(const ScreenPalette &) = delete;
    ScreenPalette &operator=(const ScreenPalette &) = delete;

private:
    HDC dc_;
    HPALETTE old_ = nullptr;
};

typedef BOOL(WINAPI *TransparentBltProc)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// Memory contexts and bitmaps released in reverse order at the end.
struct Scratch {
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    Scratch(HDC like, int w, int h, bool mono)
    {
        dc = CreateCompatibleDC(like);
        bmp = mono ? CreateBitmap(w, h, 1, 1, nullptr) : CreateCompatibleBitmap(like, w, h);
        if (dc && bmp)
            old = SelectObject(dc, bmp);
    }
    ~Scratch()
    {
        if (old)
            SelectObject(dc, old);
        if (bmp)
            DeleteObject(bmp);
        if (dc)
            DeleteDC(dc);
    }
    bool ok() const { return dc && bmp && old; }
};

}  // namespace

// ---- sizes and headers --------------------------------------------------------------

uint32_t gdiDibColorCount(const BITMAPINFOHEADER *header)
{
    if (!header)
        return 0;
    uint16_t bits = bitCount(header);
    uint32_t used = isCore(header) ? 0 : header->biClrUsed;
    if (bits <= 8 && bits) {
        uint32_t most = 1u << bits;
        if (!used)
            return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : most;
        return std::min(used, most);
    }
    return used;
}

uint32_t gdiDibColorTableSize(const BITMAPINFOHEADER *header)
{
    if (!header)
        return 0;
    uint64_t n = (uint64_t)gdiDibColorCount(header) * (isCore(header) ? 3 : 4);
    if (hasMasks(header))
        n += kMaskBytes;
    return n > 0xFFFFFFFFull ? 0xFFFFFFFFu : (uint32_t)n;
}

uint32_t gdiDibRowBytes(const BITMAPINFOHEADER *header)
{
    if (!header)
        return 0;
    uint64_t n = rowBytes64(widthOf(header), bitCount(header));
    return n > 0xFFFFFFFFull ? 0xFFFFFFFFu : (uint32_t)n;
}

uint32_t gdiDibStride(const BITMAPINFOHEADER *header)
{
    if (!header)
        return 0;
    uint64_t n = (rowBytes64(widthOf(header), bitCount(header)) + 3) & ~(uint64_t)3;
    return n > 0xFFFFFFFFull ? 0xFFFFFFFFu : (uint32_t)n;
}

uint32_t gdiDibImageSize(int32_t width, int32_t height, uint16_t bits)
{
    uint64_t n = imageSize64(width, height, bits);
    return n > 0xFFFFFFFFull ? 0xFFFFFFFFu : (uint32_t)n;
}

uint32_t gdiDibTotalSize(BITMAPINFOHEADER *header)
{
    if (!header)
        return 0;
    uint64_t image;
    if (isCore(header)) {
        image = pixelBytes(header);
    } else {
        if (!header->biSizeImage) {
            uint64_t n = imageSize64(header->biWidth, header->biHeight, header->biBitCount);
            header->biSizeImage = n > 0xFFFFFFFFull ? 0xFFFFFFFFu : (uint32_t)n;
        }
        image = header->biSizeImage;
    }
    uint64_t total = (uint64_t)header->biSize + gdiDibColorTableSize(header) + image;
    return total > 0xFFFFFFFFull ? 0xFFFFFFFFu : (uint32_t)total;
}

uint8_t *gdiDibBitsPtr(BITMAPINFOHEADER *header)
{
    if (!header)
        return nullptr;
    return reinterpret_cast<uint8_t *>(header) + header->biSize + gdiDibColorTableSize(header);
}

int gdiDibInfo(MemHandle block, uint32_t prefix, BITMAPINFOHEADER *out)
{
    if (!block || !out)
        return 0;
    uint32_t size = utHandleSize(block);
    MemLock<uint8_t> p(block);
    if (!p || (uint64_t)prefix + sizeof(BITMAPCOREHEADER) > size)
        return 0;
    BITMAPINFOHEADER h = {};
    uint32_t n = std::min<uint32_t>(sizeof h, size - prefix);
    memcpy(&h, p.get() + prefix, n);
    if (h.biSize == sizeof(BITMAPCOREHEADER)) {
        widenCore(&h);
    } else if (n < sizeof h) {
        return 0;
    }
    if (!h.biSizeImage) {
        uint64_t s = ((uint64_t)(h.biWidth < 0 ? 0 : h.biWidth) * h.biBitCount + 31) / 32 * 4 *
                     (uint64_t)llabs((long long)h.biHeight);
        h.biSizeImage = s > 0xFFFFFFFFull ? 0xFFFFFFFFu : (uint32_t)s;
    }
    if (!h.biClrUsed)
        h.biClrUsed = gdiDibColorCount(&h);
    *out = h;
    return 1;
}

uint32_t gdiDibCheckedSize(const BITMAPINFOHEADER *header, uint32_t available)
{
    if (!header || available < sizeof(BITMAPCOREHEADER))
        return 0;
    BITMAPINFOHEADER h = {};
    memcpy(&h, header, std::min<uint32_t>(sizeof h, available));
    if (h.biSize == sizeof(BITMAPINFOHEADER) && available < sizeof h)
        return 0;
    if (!headerSane(&h))
        return 0;
    uint64_t total = (uint64_t)h.biSize + gdiDibColorTableSize(&h) + pixelBytes(&h);
    return total <= available ? (uint32_t)total : 0;
}

MemHandle gdiCopyDib(const BITMAPINFOHEADER *header)
{
    if (!header)
        return 0;
    BITMAPINFOHEADER h;
    memcpy(&h, header, std::min<uint32_t>(sizeof h, header->biSize));
    uint32_t total = gdiDibTotalSize(&h);
    if (total == 0xFFFFFFFFu)
        return 0;
    MemHandle block = utAllocHandle(0, total);
    MemLock<uint8_t> p(block);
    if (!p)
        return utFreeHandle(block);
    memcpy(p.get(), header, total);
    if (!isCore(&h))
        reinterpret_cast<BITMAPINFOHEADER *>(p.get())->biSizeImage = h.biSizeImage;
    return block;
}

// ---- conversions -------------------------------------------------------------------

HBITMAP gdiDibToBitmap(HDC dc, MemHandle block)
{
    if (!block)
        return nullptr;
    MemLock<uint8_t> p(block);
    if (!p)
        return nullptr;
    BITMAPINFOHEADER *h = reinterpret_cast<BITMAPINFOHEADER *>(p.get());
    if (!gdiDibCheckedSize(h, utHandleSize(block)))
        return nullptr;
    return CreateDIBitmap(dc, h, CBM_INIT, gdiDibBitsPtr(h), reinterpret_cast<BITMAPINFO *>(h),
                          DIB_RGB_COLORS);
}

MemHandle gdiBitmapToDibEx(HBITMAP bitmap, DWORD compression, uint16_t bits, HPALETTE palette,
                           uint32_t prefix)
{
    BITMAP bm;
    if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm))
        return 0;
    if (!bits) {
        bits = (uint16_t)(bm.bmPlanes * bm.bmBitsPixel);
        bits = bits < 2 ? 1 : bits < 5 ? 4 : bits > 8 ? 24 : 8;
    }
    ScreenPalette screen(palette ? palette : (HPALETTE)GetStockObject(DEFAULT_PALETTE));
    if (!screen.dc())
        return 0;
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = bm.bmWidth;
    h.biHeight = bm.bmHeight;
    h.biPlanes = 1;
    h.biBitCount = bits;
    h.biCompression = compression;
    // Room for the header and the largest table GetDIBits writes.
    uint32_t headRoom = sizeof h + 256 * 4 + kMaskBytes;
    std::vector<uint8_t> info(headRoom, 0);
    memcpy(info.data(), &h, sizeof h);
    BITMAPINFOHEADER *ih = reinterpret_cast<BITMAPINFOHEADER *>(info.data());
    if (!GetDIBits(screen.dc(), bitmap, 0, (UINT)bm.bmHeight, nullptr,
                   reinterpret_cast<BITMAPINFO *>(ih), DIB_RGB_COLORS))
        return 0;
    if (!ih->biSizeImage) {
        ih->biSizeImage = gdiDibImageSize(ih->biWidth, ih->biHeight, ih->biBitCount);
        if (ih->biCompression != BI_RGB && ih->biCompression != BI_BITFIELDS)
            ih->biSizeImage = (uint32_t)((uint64_t)ih->biSizeImage * 3 / 2);
    }
    uint32_t table = gdiDibColorTableSize(ih);
    uint64_t total = (uint64_t)prefix + sizeof h + table + ih->biSizeImage;
    if (total > 0x7FFFFFFF)
        return 0;
    MemHandle block = utAllocHandle(0, (uint32_t)total);
    bool ok = false;
    {
        MemLock<uint8_t> p(block);
        if (p) {
            memcpy(p.get() + prefix, ih,
                   sizeof h + std::min(table, headRoom - (uint32_t)sizeof h));
            BITMAPINFOHEADER *dh = reinterpret_cast<BITMAPINFOHEADER *>(p.get() + prefix);
            ok = GetDIBits(screen.dc(), bitmap, 0, (UINT)bm.bmHeight, gdiDibBitsPtr(dh),
                           reinterpret_cast<BITMAPINFO *>(dh), DIB_RGB_COLORS) != 0;
        }
    }
    return ok ? block : utFreeHandle(block);
}

MemHandle gdiBitmapToDibHandle(HBITMAP bitmap, HPALETTE palette)
{
    return gdiBitmapToDibEx(bitmap, BI_RGB, 0, palette, 0);
}

MemHandle gdiBitmapToDib(HBITMAP bitmap)
{
    if (!bitmap)
        return 0;
    MemHandle dib = gdiBitmapToDibHandle(bitmap, nullptr);
    DeleteObject(bitmap);
    return dib;
}

MemHandle gdiDibLogPalette(const BITMAPINFOHEADER *header)
{
    if (!header || header->biSize != sizeof(BITMAPINFOHEADER))
        return 0;
    uint32_t n = gdiDibColorCount(header);
    bool cube = !n && header->biBitCount == 24;
    if (cube)
        n = 256;
    if (!n || n > 256)
        return 0;
    MemHandle block = utAllocHandle(0, (uint32_t)(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY)));
    MemLock<LOGPALETTE> lp(block);
    if (!lp)
        return utFreeHandle(block);
    lp->palVersion = 0x300;
    lp->palNumEntries = (WORD)n;
    PALETTEENTRY *e = lp->palPalEntry;
    if (cube) {
        uint32_t i = 0;
        for (int b = 0; b < 4; ++b)
            for (int g = 0; g < 8; ++g)
                for (int r = 0; r < 8; ++r, ++i)
                    e[i] = PALETTEENTRY{(BYTE)(r * 32), (BYTE)(g * 32), (BYTE)(b * 64), 0};
    } else {
        const RGBQUAD *q = reinterpret_cast<const RGBQUAD *>(
            reinterpret_cast<const uint8_t *>(header) + header->biSize +
            (hasMasks(header) ? kMaskBytes : 0));
        for (uint32_t i = 0; i < n; ++i)
            e[i] = PALETTEENTRY{q[i].rgbRed, q[i].rgbGreen, q[i].rgbBlue, 0};
    }
    return block;
}

HPALETTE gdiDibCreatePalette(const BITMAPINFOHEADER *header)
{
    MemHandle block = gdiDibLogPalette(header);
    if (!block)
        return nullptr;
    HPALETTE palette;
    {
        MemLock<LOGPALETTE> lp(block);
        palette = lp ? CreatePalette(lp.get()) : nullptr;
    }
    utFreeHandle(block);
    return palette;
}

HPALETTE gdiCopyPalette(HPALETTE palette)
{
    if (!palette)
        return nullptr;
    UINT n = GetPaletteEntries(palette, 0, 0, nullptr);
    if (!n || n > 0xFFFF)
        return nullptr;
    std::vector<uint8_t> bytes(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
    LOGPALETTE *lp = reinterpret_cast<LOGPALETTE *>(bytes.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = (WORD)n;
    GetPaletteEntries(palette, 0, n, lp->palPalEntry);
    return CreatePalette(lp);
}

// ---- BMP files ---------------------------------------------------------------------

MemHandle gdiReadDibHeader(HANDLE file, uint32_t prefix)
{
    if (!file || file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD start = ffTell(file);
    DWORD fileSize = ffGetSize(file);
    if (start == 0xFFFFFFFF || fileSize == 0xFFFFFFFF || start > fileSize)
        return 0;
    uint8_t fh[14];
    if (ffRead(file, fh, sizeof fh) != sizeof fh)
        return 0;
    uint32_t bitsOffset = 0;
    if (fh[0] == 'B' && fh[1] == 'M') {
        memcpy(&bitsOffset, fh + 10, 4);
    } else if (!ffSeek(file, start)) {
        return 0;
    }
    DWORD headerAt = ffTell(file);
    BITMAPINFOHEADER h;
    if (ffRead(file, &h, sizeof h) != sizeof h)
        return 0;
    bool core = false;
    // The longer headers (52, 56, 108 and 124 bytes) start with the 40-byte
    // one; their colour masks, when the pixels use them, follow it inside
    // the header. The block keeps the 40-byte header with the masks behind.
    uint8_t headerMasks[kMaskBytes];
    bool masksInHeader = false;
    if (h.biSize == sizeof(BITMAPCOREHEADER)) {
        widenCore(&h);
        core = true;
        if (!ffSeek(file, headerAt + sizeof(BITMAPCOREHEADER)))
            return 0;
    } else if (isLongHeader(h.biSize)) {
        if (h.biCompression == BI_BITFIELDS) {
            if (ffRead(file, headerMasks, kMaskBytes) != kMaskBytes)
                return 0;
            masksInHeader = true;
        }
        if ((uint64_t)headerAt + h.biSize > fileSize || !ffSeek(file, headerAt + h.biSize))
            return 0;
        h.biSize = sizeof(BITMAPINFOHEADER);
    } else if (h.biSize != sizeof(BITMAPINFOHEADER)) {
        utErrorBoxRes(nullptr, kIdsUnrecognizedType, kIdsPressOk);
        return 0;
    }
    if (!headerSane(&h))
        return 0;
    // Sizes from the absolute height, in 64 bits: the pixels must lie in
    // the file.
    uint64_t image = pixelBytes(&h);
    if (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS)
        h.biSizeImage = (uint32_t)std::min<uint64_t>(image, 0xFFFFFFFFull);
    if (!h.biClrUsed)
        h.biClrUsed = gdiDibColorCount(&h);
    uint32_t count = gdiDibColorCount(&h);
    uint32_t entry = core ? 3 : 4;
    uint64_t tableInFile =
        (uint64_t)count * entry + (hasMasks(&h) && !masksInHeader ? kMaskBytes : 0);
    uint64_t tableAt = ffTell(file);
    uint64_t bitsAt = bitsOffset ? (uint64_t)start + bitsOffset : tableAt + tableInFile;
    if (tableAt + tableInFile > fileSize || bitsAt < tableAt + tableInFile ||
        bitsAt + image > fileSize)
        return 0;
    uint64_t blockSize = (uint64_t)prefix + sizeof h + (uint64_t)count * 4 +
                         (hasMasks(&h) ? kMaskBytes : 0);
    if (blockSize > 0x7FFFFFFF)
        return 0;
    MemHandle block = utAllocHandle(0, (uint32_t)blockSize);
    if (!block)
        return 0;
    bool ok;
    {
        MemLock<uint8_t> p(block);
        ok = static_cast<bool>(p);
        if (ok) {
            memcpy(p.get() + prefix, &h, sizeof h);
            uint8_t *table = p.get() + prefix + sizeof h;
            if (masksInHeader) {
                memcpy(table, headerMasks, kMaskBytes);
                table += kMaskBytes;
            }
            ok = !tableInFile || ffRead(file, table, (DWORD)tableInFile) == tableInFile;
            if (ok && core) {
                // Three-byte entries widened in place, from the last down.
                for (uint32_t i = count; i-- > 0;) {
                    uint8_t b = table[i * 3], g = table[i * 3 + 1], r = table[i * 3 + 2];
                    table[i * 4] = b;
                    table[i * 4 + 1] = g;
                    table[i * 4 + 2] = r;
                    table[i * 4 + 3] = 0;
                }
            }
        }
    }
    if (ok && bitsOffset)
        ok = ffSeek(file, (DWORD)bitsAt) != FALSE;
    if (!ok)
        return utFreeHandle(block);
    return block;
}

namespace {

// A block whose DIB holds run-length coded pixels replaced by one of plain
// rows (BI_RGB, the same bits); the old block is freed. 0 when memory fails.
MemHandle expandRleBlock(MemHandle block, uint32_t prefix)
{
    BITMAPINFOHEADER h;
    {
        MemLock<uint8_t> p(block);
        memcpy(&h, p.get() + prefix, sizeof h);
    }
    BITMAPINFOHEADER plain = h;
    plain.biCompression = BI_RGB;
    uint64_t image = imageSize64(h.biWidth, h.biHeight, h.biBitCount);
    uint32_t head = prefix + (uint32_t)sizeof h + gdiDibColorTableSize(&h);
    if (image > kMaxExpandedBytes || head + image > 0x7FFFFFFF)
        return utFreeHandle(block);
    plain.biSizeImage = (uint32_t)image;
    MemHandle out = utAllocHandle(0, head + (uint32_t)image);
    {
        MemLock<uint8_t> p(block);
        MemLock<uint8_t> q(out);
        if (!p || !q) {
            utFreeHandle(out);
            return utFreeHandle(block);
        }
        memcpy(q.get(), p.get(), head);
        memcpy(q.get() + prefix, &plain, sizeof plain);
        memset(q.get() + head, 0, (size_t)image);
        expandRle(p.get() + head, h.biSizeImage, h.biWidth, h.biHeight, h.biBitCount,
                  q.get() + head, (uint32_t)((rowBytes64(h.biWidth, h.biBitCount) + 3) & ~3ull));
    }
    utFreeHandle(block);
    return out;
}

}  // namespace

MemHandle gdiLoadDibFile(const char *path, uint32_t prefix)
{
    HANDLE file = ffOpenReadReport(path);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    MemHandle block = gdiReadDibHeader(file, prefix);
    if (block) {
        BITMAPINFOHEADER h;
        {
            MemLock<uint8_t> p(block);
            memcpy(&h, p.get() + prefix, sizeof h);
        }
        uint32_t headBytes = utHandleSize(block);
        uint32_t image = h.biSizeImage;
        MemHandle grown = (uint64_t)headBytes + image > 0x7FFFFFFF
                              ? 0
                              : utAllocHandle(block, prefix + gdiDibTotalSize(&h));
        if (!grown) {
            utFreeHandle(block);
            block = 0;
        } else {
            block = grown;
            bool ok;
            {
                MemLock<uint8_t> p(block);
                BITMAPINFOHEADER *dh = reinterpret_cast<BITMAPINFOHEADER *>(p.get() + prefix);
                ok = ffRead(file, gdiDibBitsPtr(dh), image) == image;
            }
            if (!ok)
                block = utFreeHandle(block);
            else if (h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4)
                block = expandRleBlock(block, prefix);
        }
    }
    ffClose(file);
    return block;
}

int gdiSaveDibFile(const char *path, MemHandle block)
{
    if (!block || !path)
        return 0;
    MemLock<uint8_t> p(block);
    if (!p)
        return 0;
    BITMAPINFOHEADER *h = reinterpret_cast<BITMAPINFOHEADER *>(p.get());
    uint32_t total = gdiDibCheckedSize(h, utHandleSize(block));
    if (!total)
        return 0;
    if (ffExists(path) && ffIsReadOnly(path)) {
        ffReportError(nullptr, path, FE_READ_ONLY);
        return 0;
    }
    char temp[UT_PATH_SIZE];
    HANDLE file = ffCreateReplacement(path, temp);
    if (file == INVALID_HANDLE_VALUE) {
        ffReportError(nullptr, path, FE_CANNOT_OPEN);
        return 0;
    }
    uint8_t fh[14] = {'B', 'M'};
    uint32_t fileSize = total + 14, offset = h->biSize + gdiDibColorTableSize(h) + 14;
    memcpy(fh + 2, &fileSize, 4);
    memcpy(fh + 10, &offset, 4);
    bool ok = ffWrite(file, fh, sizeof fh) == sizeof fh && ffWrite(file, h, total) == total;
    return ffCommitReplacement(file, temp, path, ok) ? 1 : 0;
}

// ---- drawing -----------------------------------------------------------------------

int gdiDrawDibPart(HDC dc, MemHandle block, const RECT *dest, const RECT *clip, DWORD rop)
{
    if (!dc || !block || !dest || !clip)
        return 1;
    MemLock<uint8_t> p(block);
    if (!p)
        return 1;
    BITMAPINFOHEADER *h = reinterpret_cast<BITMAPINFOHEADER *>(p.get());
    if (!gdiDibCheckedSize(h, utHandleSize(block)))
        return 1;
    POINT oldOrg;
    dmSetWindowOrg(dc, 0, 0, &oldOrg);
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    HPALETTE palette = nullptr, oldPalette = nullptr;
    if (h->biSize == sizeof(BITMAPINFOHEADER) && (palette = gdiDibCreatePalette(h)) != nullptr) {
        oldPalette = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    RECT v;
    int32_t dw = dest->right - dest->left, dh = dest->bottom - dest->top;
    if (IntersectRect(&v, dest, clip) && dw && dh) {
        int32_t w = widthOf(h), ht = abs(heightOf(h));
        int32_t sw = geoRound((double)w * (v.right - v.left) / dw);
        int32_t sh = geoRound((double)ht * (v.bottom - v.top) / dh);
        // The source origin scales like the source size, so a DIB drawn at
        // any size shows the part that lies under the clip.
        int32_t sx = geoRound((double)w * (v.left - dest->left) / dw);
        int32_t sy = geoRound((double)ht * (dest->bottom - v.bottom) / dh);
        StretchDIBits(dc, v.left, v.top, v.right - v.left, v.bottom - v.top, sx, sy, sw, sh,
                      gdiDibBitsPtr(h), reinterpret_cast<BITMAPINFO *>(h), DIB_RGB_COLORS, rop);
    }
    if (palette) {
        SelectPalette(dc, oldPalette, FALSE);
        DeleteObject(palette);
    }
    SetStretchBltMode(dc, oldMode);
    dmSetWindowOrg(dc, oldOrg.x, oldOrg.y, nullptr);
    return 1;
}

BOOL gdiHasMsimg32() { return g_msimg32 != nullptr; }

void gdiSetMsimg32Name(const char *name) { g_msimgName = name ? name : "msimg32.dll"; }

void gdiHoldMsimg32(BOOL hold)
{
    if (hold && !g_msimg32)
        g_msimg32 = LoadLibraryA(g_msimgName.c_str());
    if (!hold && g_msimg32) {
        FreeLibrary(g_msimg32);
        g_msimg32 = nullptr;
    }
}

void gdiPushIdentityMapping(HDC dc, BOOL on)
{
    if (!dc)
        return;
    if (on) {
        g_saved.mapMode = GetMapMode(dc);
        GetViewportOrgEx(dc, &g_saved.viewportOrg);
        GetWindowOrgEx(dc, &g_saved.windowOrg);
        GetViewportExtEx(dc, &g_saved.viewportExt);
        GetWindowExtEx(dc, &g_saved.windowExt);
        SetMapMode(dc, MM_TEXT);
        SetViewportOrgEx(dc, 0, 0, nullptr);
        SetWindowOrgEx(dc, 0, 0, nullptr);
    } else {
        SetMapMode(dc, g_saved.mapMode ? g_saved.mapMode : MM_TEXT);
        if (g_saved.mapMode == MM_ANISOTROPIC || g_saved.mapMode == MM_ISOTROPIC) {
            SetWindowExtEx(dc, g_saved.windowExt.cx, g_saved.windowExt.cy, nullptr);
            SetViewportExtEx(dc, g_saved.viewportExt.cx, g_saved.viewportExt.cy, nullptr);
        }
        SetWindowOrgEx(dc, g_saved.windowOrg.x, g_saved.windowOrg.y, nullptr);
        SetViewportOrgEx(dc, g_saved.viewportOrg.x, g_saved.viewportOrg.y, nullptr);
    }
}

void gdiLogRectToDev(HDC dc, int32_t *x, int32_t *y, int32_t *w, int32_t *h)
{
    POINT pts[3] = {{*x, *y}, {0, 0}, {*w, *h}};
    LPtoDP(dc, pts, 3);
    *x = pts[0].x;
    *y = pts[0].y;
    *w = pts[2].x - pts[1].x;
    *h = pts[2].y - pts[1].y;
}

HBITMAP gdiMakeMask(HDC dc, HBITMAP bitmap, COLORREF colour)
{
    BITMAP bm;
    if (!dc || !bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth < 1 || bm.bmHeight < 1)
        return nullptr;
    HBITMAP mask = CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, nullptr);
    HDC src = CreateCompatibleDC(dc), dst = CreateCompatibleDC(dc);
    if (!mask || !src || !dst) {
        if (mask)
            DeleteObject(mask);
        if (src)
            DeleteDC(src);
        if (dst)
            DeleteDC(dst);
        return nullptr;
    }
    HGDIOBJ oldSrc = SelectObject(src, bitmap), oldDst = SelectObject(dst, mask);
    SetBkColor(src, colour);
    BitBlt(dst, 0, 0, bm.bmWidth, bm.bmHeight, src, 0, 0, SRCCOPY);
    // Pixels of the colour become black in the bitmap: the mask's 1 bits
    // arrive as the background colour (black), its 0 bits as white.
    SetBkColor(src, RGB(0, 0, 0));
    SetTextColor(src, RGB(255, 255, 255));
    BitBlt(src, 0, 0, bm.bmWidth, bm.bmHeight, dst, 0, 0, SRCAND);
    SelectObject(src, oldSrc);
    SelectObject(dst, oldDst);
    DeleteDC(src);
    DeleteDC(dst);
    return mask;
}

int gdiTransparentStretchBlt(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, int32_t w, int32_t h,
                             int32_t sx, int32_t sy, int32_t sw, int32_t sh, COLORREF colour)
{
    BITMAP bm;
    if (!dc || !bitmap || !GetObjectA(bitmap, sizeof bm, &bm))
        return 0;
    if (!sw || !sh) {
        sx = sy = 0;
        sw = bm.bmWidth;
        sh = bm.bmHeight;
    }
    gdiLogRectToDev(dc, &x, &y, &w, &h);
    HBITMAP mask = gdiMakeMask(dc, bitmap, colour);
    if (!mask)
        return 0;
    gdiPushIdentityMapping(dc, TRUE);
    HDC mem = CreateCompatibleDC(dc);
    if (mem) {
        COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
        COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(mem, mask);
        StretchBlt(dc, x, y, w, h, mem, sx, sy, sw, sh, SRCAND);
        SelectObject(mem, bitmap);
        StretchBlt(dc, x, y, w, h, mem, sx, sy, sw, sh, SRCPAINT);
        SelectObject(mem, old);
        SetBkColor(dc, oldBk);
        SetTextColor(dc, oldText);
        DeleteDC(mem);
    }
    gdiPushIdentityMapping(dc, FALSE);
    DeleteObject(mask);
    return 1;
}

int gdiTransparentBltStretch(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src,
                             int32_t sx, int32_t sy, int32_t sw, int32_t sh, COLORREF colour)
{
    if (w < 1 || h < 1 || sw < 1 || sh < 1 || !dst || !src)
        return 0;
    if (HMODULE lib = LoadLibraryA(g_msimgName.c_str())) {
        TransparentBltProc proc =
            reinterpret_cast<TransparentBltProc>(GetProcAddress(lib, "TransparentBlt"));
        int result = proc ? (proc(dst, x, y, w, h, src, sx, sy, sw, sh, colour) ? 1 : 0) : 0;
        FreeLibrary(lib);
        return result;
    }
    gdiLogRectToDev(dst, &x, &y, &w, &h);
    if (w < 1 || h < 1)
        return 0;
    gdiPushIdentityMapping(dst, TRUE);
    int result = 0;
    {
        Scratch a(dst, sw, sh, false), m(dst, sw, sh, true), s1(dst, w, h, false),
            s2(dst, w, h, false);
        if (a.ok() && m.ok() && s1.ok() && s2.ok()) {
            BitBlt(a.dc, 0, 0, sw, sh, src, sx, sy, SRCCOPY);
            BitBlt(m.dc, 0, 0, sw, sh, nullptr, 0, 0, BLACKNESS);
            SetBkColor(a.dc, colour);
            BitBlt(m.dc, 0, 0, sw, sh, a.dc, 0, 0, SRCINVERT);
            // The transparent pixels of A become black.
            SetBkColor(a.dc, RGB(0, 0, 0));
            SetTextColor(a.dc, RGB(255, 255, 255));
            BitBlt(a.dc, 0, 0, sw, sh, m.dc, 0, 0, SRCAND);
            SetStretchBltMode(s1.dc, COLORONCOLOR);
            SetStretchBltMode(s2.dc, COLORONCOLOR);
            SetBkColor(s1.dc, RGB(255, 255, 255));
            SetTextColor(s1.dc, RGB(0, 0, 0));
            StretchBlt(s1.dc, 0, 0, w, h, m.dc, 0, 0, sw, sh, SRCCOPY);
            StretchBlt(s2.dc, 0, 0, w, h, a.dc, 0, 0, sw, sh, SRCCOPY);
            BitBlt(dst, x, y, w, h, s1.dc, 0, 0, SRCAND);
            BitBlt(dst, x, y, w, h, s2.dc, 0, 0, SRCPAINT);
            result = 1;
        }
    }
    gdiPushIdentityMapping(dst, FALSE);
    return result;
}
