// Picture files and pictures in memory through the image library.
#include "objects/img_io.h"
#include "objects/img_export.h"
#include "support/app_ui_state.h"
#include "objects/fc_image_kinds.h"
#include "library/olb_file.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "model/ob_transform.h"
#include "objects/img_bitmap.h"
#include "objects/img_image.h"
#include "objects/img_render.h"
#include "objects/mf_emf.h"
#include "objects/mf_pict.h"
#include "support/dm_map.h"
#include "support/ff_file.h"
#include "support/gdi_dib.h"
#include "support/geo_rect.h"
#include "support/qmfreeimage.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <atomic>
#include <new>
#include <string>
#include <vector>

namespace {

// Pictures larger than this are refused before the library makes room for
// their pixels (8192 x 8192): a damaged or hostile header cannot make the
// program ask for gigabytes.
const uint64_t kMaxPixels = 8192ull * 8192ull;

// Library bitmaps alive: decoding workers count theirs too.
std::atomic<long> g_liveBitmaps{0};
ImgRecordUnpack g_unpackRecord = nullptr;

// ---- library bitmaps, counted ----------------------------------------------------------------

struct Fib {
    FIBITMAP *bmp = nullptr;
    Fib() = default;
    explicit Fib(FIBITMAP *b) : bmp(b)
    {
        if (bmp)
            ++g_liveBitmaps;
    }
    ~Fib() { reset(nullptr); }
    Fib(const Fib &) = delete;
    Fib &operator=(const Fib &) = delete;
    void reset(FIBITMAP *b)
    {
        if (bmp) {
            FreeImage_Unload(bmp);
            --g_liveBitmaps;
        }
        bmp = b;
        if (bmp)
            ++g_liveBitmaps;
    }
    explicit operator bool() const { return bmp != nullptr; }
};

// ---- Win32 file callbacks --------------------------------------------------------------------

unsigned fileRead(void *buffer, unsigned size, unsigned count, fi_handle handle)
{
    DWORD got = 0;
    uint64_t want = (uint64_t)size * count;
    if (!size || want > 0x7FFFFFFF || !ReadFile((HANDLE)handle, buffer, (DWORD)want, &got, nullptr))
        return 0;
    return got / size;
}

unsigned fileWrite(void *buffer, unsigned size, unsigned count, fi_handle handle)
{
    DWORD put = 0;
    uint64_t want = (uint64_t)size * count;
    if (!size || want > 0x7FFFFFFF || !WriteFile((HANDLE)handle, buffer, (DWORD)want, &put, nullptr))
        return 0;
    return put / size;
}

int fileSeek(fi_handle handle, long offset, int origin)
{
    DWORD method = origin == SEEK_CUR ? FILE_CURRENT : origin == SEEK_END ? FILE_END : FILE_BEGIN;
    LARGE_INTEGER d;
    d.QuadPart = offset;
    return SetFilePointerEx((HANDLE)handle, d, nullptr, method) ? 0 : -1;
}

long fileTell(fi_handle handle)
{
    LARGE_INTEGER zero = {}, pos = {};
    if (!SetFilePointerEx((HANDLE)handle, zero, &pos, FILE_CURRENT))
        return -1;
    return (long)pos.QuadPart;
}

// ---- memory streams --------------------------------------------------------------------------

struct MemStream {
    const uint8_t *id;
    uint8_t *base;
    uint32_t size;
    uint32_t position;
};
MemHandle g_streams = 0;
int g_streamCount = 0;

int findStream(void *handle)
{
    MemLock<MemStream> s(g_streams);
    for (int i = 0; s && i < g_streamCount; ++i)
        if (s[i].id == handle)
            return i;
    return -1;
}

// ---- loading -----------------------------------------------------------------------------------

bool isDibBitCount(unsigned bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || bpp == 32; }

// A library bitmap this program draws and stores: a standard bitmap of 1,
// 4, 8, 24 or 32 bits (others converted to 24); false when conversion fails.
bool normalise(Fib &fib)
{
    FREE_IMAGE_TYPE type = FreeImage_GetImageType(fib.bmp);
    if (type == FIT_BITMAP && isDibBitCount(FreeImage_GetBPP(fib.bmp)))
        return true;
    // 16-bit grey becomes 8-bit grey (its high bytes); the rest 24 bits.
    FIBITMAP *converted = type == FIT_UINT16 ? FreeImage_ConvertTo8Bits(fib.bmp)
                                             : FreeImage_ConvertTo24Bits(fib.bmp);
    fib.reset(converted);
    return converted != nullptr;
}

uint32_t le32(const uint8_t *p) { return (uint32_t)p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }

// A BMP file's (or a bare DIB's) header checked before its pixels get
// room: sizes in 64 bits from the absolute height, at most 2^bits colours,
// nothing past the file.
bool bmpHeaderFits(const std::vector<uint8_t> &b)
{
    const uint64_t size = b.size();
    const bool fileHeader = size >= 2 && b[0] == 'B' && b[1] == 'M';
    const size_t at = fileHeader ? 14 : 0;
    if (size < at + 16)
        return false;
    const uint32_t offset = fileHeader ? le32(&b[10]) : 0;
    const uint32_t headerSize = le32(&b[at]);
    int32_t width, height;
    uint32_t compression = 0, used = 0;
    uint16_t bits;
    if (headerSize == 12) {
        width = (int32_t)(b[at + 4] | b[at + 5] << 8);
        height = (int32_t)(b[at + 6] | b[at + 7] << 8);
        bits = (uint16_t)(b[at + 10] | b[at + 11] << 8);
    } else if (headerSize >= 40 && headerSize <= 124 && size >= at + 40) {
        width = (int32_t)le32(&b[at + 4]);
        height = (int32_t)le32(&b[at + 8]);
        bits = (uint16_t)(b[at + 14] | b[at + 15] << 8);
        compression = le32(&b[at + 16]);
        used = le32(&b[at + 32]);
    } else {
        return false;
    }
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return false;
    uint64_t h = (uint64_t)(height < 0 ? -(int64_t)height : height);
    if ((uint64_t)width * h > kMaxPixels)
        return false;
    if (bits <= 8 && bits && used > (1u << bits))
        return false;
    if ((uint64_t)at + headerSize + (uint64_t)used * 4 > size || offset > size)
        return false;
    if (compression == BI_RGB || compression == BI_BITFIELDS) {
        uint64_t stride = (((uint64_t)width * bits + 31) / 32) * 4;
        if ((uint64_t)offset + stride * h > size)
            return false;
    }
    return true;
}

uint16_t le16(const uint8_t *p) { return (uint16_t)(p[0] | p[1] << 8); }

bool pixelsFit(uint64_t w, uint64_t h) { return w && h && w * h <= kMaxPixels; }

// For the formats whose library reader cannot stop after the header: the
// sizes their headers state, checked before the library makes room for the
// pixels (GIF: the screen and the first image; PCX; TGA). Other formats
// pass.
bool statedSizeFits(FREE_IMAGE_FORMAT fif, FreeImageIO *io, fi_handle handle, long start)
{
    if (fif != FIF_GIF && fif != FIF_PCX && fif != FIF_TARGA)
        return true;
    std::vector<uint8_t> b(fif == FIF_GIF ? 65536 : 18);
    unsigned got = io->read_proc(b.data(), 1, (unsigned)b.size(), handle);
    io->seek_proc(handle, start, SEEK_SET);
    b.resize(got);
    if (fif == FIF_PCX)
        return b.size() >= 12 && le16(&b[8]) >= le16(&b[4]) && le16(&b[10]) >= le16(&b[6]) &&
               pixelsFit(le16(&b[8]) - le16(&b[4]) + 1u, le16(&b[10]) - le16(&b[6]) + 1u);
    if (fif == FIF_TARGA)
        return b.size() >= 18 && pixelsFit(le16(&b[12]), le16(&b[14]));
    if (b.size() < 13 || !pixelsFit(le16(&b[6]), le16(&b[8])))
        return false;
    size_t at = 13 + ((b[10] & 0x80) ? (size_t)3 << ((b[10] & 7) + 1) : 0);
    while (at < b.size() && b[at] == 0x21) {   // extensions before the image
        at += 2;
        while (at < b.size() && b[at])
            at += b[at] + 1u;
        ++at;
    }
    return at + 9 < b.size() && b[at] == 0x2C && pixelsFit(le16(&b[at + 5]), le16(&b[at + 7]));
}

// Decodes through the callbacks: the header first, so that the size is
// known before the pixels get room. Null with *error set on failure.
FIBITMAP *decode(FREE_IMAGE_FORMAT fif, FreeImageIO *io, fi_handle handle, bool headerOnly,
                 long start, int32_t *error)
{
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(fif)) {
        *error = IMG_ERR_FILE_TYPE;
        return nullptr;
    }
    if (!FreeImage_FIFSupportsNoPixels(fif) && !statedSizeFits(fif, io, handle, start)) {
        *error = IMG_ERR_READ;
        return nullptr;
    }
    Fib probe(FreeImage_LoadFromHandle(fif, io, handle, FIF_LOAD_NOPIXELS));
    if (!probe) {
        *error = IMG_ERR_READ;
        return nullptr;
    }
    uint64_t pixels = (uint64_t)FreeImage_GetWidth(probe.bmp) * FreeImage_GetHeight(probe.bmp);
    if (!pixels || pixels > kMaxPixels) {
        *error = IMG_ERR_READ;
        return nullptr;
    }
    if (headerOnly || FreeImage_HasPixels(probe.bmp)) {
        FIBITMAP *b = probe.bmp;
        probe.bmp = nullptr;   // handed on: the caller's guard counts it
        --g_liveBitmaps;
        return b;
    }
    io->seek_proc(handle, start, SEEK_SET);
    FIBITMAP *b = FreeImage_LoadFromHandle(fif, io, handle, 0);
    if (!b)
        *error = IMG_ERR_READ;
    return b;
}

// ---- decoding bounded in time ------------------------------------------------------------

// Every picture the library decodes is decoded by a worker thread from a
// copy of its bytes. A decoding that takes longer than the limit (a hostile
// file can keep the library busy for minutes) is abandoned: the caller gets
// "Read error" at once and the worker frees what it made whenever the
// library returns. The bytes of an abandoned picture are remembered, so
// that drawing it again (every repaint of its page) is refused at once.
const DWORD kDecodeMillis = 3000;
DWORD g_decodeMillis = kDecodeMillis;
void (*g_decodeStartHook)() = nullptr;
std::atomic<long> g_workers{0};
std::vector<uint64_t> g_abandoned;
const size_t kAbandonedKept = 64;

// The worker's own stream over its bytes: nothing shared with the program.
struct ByteStream {
    const uint8_t *data;
    uint32_t size;
    uint32_t position;
};

unsigned byteRead(void *buffer, unsigned size, unsigned count, fi_handle handle)
{
    ByteStream *s = static_cast<ByteStream *>(handle);
    if (!size)
        return 0;
    uint64_t n = std::min<uint64_t>((uint64_t)size * count, s->size - s->position) / size * size;
    memcpy(buffer, s->data + s->position, (size_t)n);
    s->position += (uint32_t)n;
    return (unsigned)(n / size);
}

unsigned byteWrite(void *, unsigned, unsigned, fi_handle) { return 0; }

int byteSeek(fi_handle handle, long offset, int origin)
{
    ByteStream *s = static_cast<ByteStream *>(handle);
    int64_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? (int64_t)s->position
                 : origin == SEEK_END ? (int64_t)s->size : -1;
    int64_t at = base + (int64_t)offset;
    if (base < 0 || at < 0 || at > (int64_t)s->size)
        return 1;
    s->position = (uint32_t)at;
    return 0;
}

long byteTell(fi_handle handle) { return (long)static_cast<ByteStream *>(handle)->position; }

struct DecodeJob {
    std::vector<uint8_t> bytes;
    FREE_IMAGE_FORMAT fif = FIF_UNKNOWN;
    bool headerOnly = false;
    FIBITMAP *result = nullptr;
    int32_t error = IMG_OK;
    LONG refs = 2;   // the caller and the worker
};

// The last of the caller and the worker frees the job and an untaken result.
void releaseJob(DecodeJob *job)
{
    if (InterlockedDecrement(&job->refs) != 0)
        return;
    if (job->result)
        FreeImage_Unload(job->result);
    delete job;
}

DWORD WINAPI decodeWorker(void *parameter)
{
    DecodeJob *job = static_cast<DecodeJob *>(parameter);
    if (g_decodeStartHook)
        g_decodeStartHook();
    ByteStream stream = {job->bytes.data(), (uint32_t)job->bytes.size(), 0};
    FreeImageIO io = {byteRead, byteWrite, byteSeek, byteTell};
    job->result = decode(job->fif, &io, (fi_handle)&stream, job->headerOnly, 0, &job->error);
    releaseJob(job);
    --g_workers;
    return 0;
}

uint64_t fingerprint(const std::vector<uint8_t> &bytes)
{
    uint64_t h = 1469598103934665603ull ^ bytes.size();
    for (uint8_t b : bytes)
        h = (h ^ b) * 1099511628211ull;
    return h;
}

// JPEG: the markers walked up to the end of the picture before the library
// sees it. One Huffman-coded frame (baseline, extended or progressive) of 8
// bits, 1, 3 or 4 components with sampling factors 1 to 4, a size within the
// limit, every segment inside the file, no more than kMaxJpegScans scans,
// and at least a byte of the file for every 64 blocks it claims: a few
// bytes cannot ask for the decoding of a huge picture.
const int kMaxJpegScans = 100;

bool jpegFits(const std::vector<uint8_t> &b)
{
    const size_t n = b.size();
    if (n < 4 || b[0] != 0xFF || b[1] != 0xD8)
        return false;
    auto be16 = [&](size_t at) { return (uint32_t)(b[at] << 8 | b[at + 1]); };
    size_t at = 2;
    bool frame = false;
    uint64_t blocks = 0;
    int scans = 0;
    while (at < n) {
        if (b[at] != 0xFF)
            return false;
        while (at < n && b[at] == 0xFF)
            ++at;   // fill bytes
        if (at >= n)
            break;
        const uint8_t marker = b[at++];
        if (marker == 0xD9)
            break;   // end of the picture
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;   // markers without a length
        if (marker == 0xD8 || at + 2 > n)
            return false;
        const uint32_t length = be16(at);
        if (length < 2 || at + length > n)
            return false;
        const size_t seg = at + 2, segLength = length - 2;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            if (frame || (marker != 0xC0 && marker != 0xC1 && marker != 0xC2) || segLength < 6)
                return false;
            const uint32_t height = be16(seg + 1), width = be16(seg + 3), components = b[seg + 5];
            if (b[seg] != 8 || !height || !width ||
                (components != 1 && components != 3 && components != 4) ||
                segLength != 6 + 3 * components || (uint64_t)width * height > kMaxPixels)
                return false;
            for (uint32_t c = 0; c < components; ++c) {
                const uint8_t sampling = b[seg + 7 + 3 * c], table = b[seg + 8 + 3 * c];
                if ((sampling >> 4) < 1 || (sampling >> 4) > 4 || (sampling & 15) < 1 ||
                    (sampling & 15) > 4 || table > 3)
                    return false;
            }
            blocks = (uint64_t)((width + 7) / 8) * ((height + 7) / 8);
            frame = true;
        } else if (marker == 0xDA) {
            if (!frame || segLength < 1)
                return false;
            const uint32_t components = b[seg];
            if (components < 1 || components > 4 || segLength != 4 + 2 * components ||
                ++scans > kMaxJpegScans)
                return false;
            // The coded data runs to the next marker that is neither a
            // stuffed zero nor a restart.
            at += length;
            while (at + 1 < n && !(b[at] == 0xFF && b[at + 1] != 0 &&
                                   !(b[at + 1] >= 0xD0 && b[at + 1] <= 0xD7)))
                ++at;
            if (at + 1 >= n)
                break;   // cut short: the library fills the rest
            continue;
        }
        at += length;
    }
    return frame && scans > 0 && (uint64_t)n * 64 >= blocks;
}

// The bytes decoded by a worker within the time limit; null with *error.
FIBITMAP *decodeBounded(FREE_IMAGE_FORMAT fif, std::vector<uint8_t> &&bytes, bool headerOnly,
                        int32_t *error)
{
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(fif)) {
        *error = IMG_ERR_FILE_TYPE;
        return nullptr;
    }
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF || (fif == FIF_JPEG && !jpegFits(bytes))) {
        *error = IMG_ERR_READ;
        return nullptr;
    }
    const uint64_t print = fingerprint(bytes);
    if (std::find(g_abandoned.begin(), g_abandoned.end(), print) != g_abandoned.end()) {
        *error = IMG_ERR_READ;
        return nullptr;
    }
    DecodeJob *job = new (std::nothrow) DecodeJob;
    if (!job) {
        *error = IMG_ERR_READ;
        return nullptr;
    }
    job->bytes = std::move(bytes);
    job->fif = fif;
    job->headerOnly = headerOnly;
    ++g_workers;
    HANDLE thread = CreateThread(nullptr, 0, decodeWorker, job, 0, nullptr);
    if (!thread) {
        --g_workers;
        delete job;
        *error = IMG_ERR_READ;
        return nullptr;
    }
    const bool finished = WaitForSingleObject(thread, g_decodeMillis) == WAIT_OBJECT_0;
    CloseHandle(thread);
    if (!finished) {
        // Left to the worker, which frees it all when the library returns.
        if (g_abandoned.size() >= kAbandonedKept)
            g_abandoned.erase(g_abandoned.begin());
        g_abandoned.push_back(print);
        releaseJob(job);
        *error = IMG_ERR_READ;
        return nullptr;
    }
    FIBITMAP *b = job->result;
    job->result = nullptr;
    *error = b ? IMG_OK : (job->error != IMG_OK ? job->error : IMG_ERR_READ);
    releaseJob(job);
    return b;
}

// ---- loading ---------------------------------------------------------------------------

bool hasExtension(const char *path, const char *ext)
{
    const char *dot = strrchr(path, '.');
    return dot && !strpbrk(dot, "\\/") && lstrcmpiA(dot + 1, ext) == 0;
}

// The whole file; false when it cannot be read or is empty.
bool readWholeFile(const char *path, std::vector<uint8_t> *out)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = ffGetSize(file);
    bool ok = size && size != 0xFFFFFFFF && size <= 0x7FFFFFFF;
    if (ok) {
        out->resize(size);
        ok = ffRead(file, out->data(), size) == size;
    }
    CloseHandle(file);
    return ok;
}

int32_t copyToLibrary(MemHandle dibHandle, Fib *fib);

// A BMP file or a bare DIB through the program's own reader (every header
// version, bit fields, run-length coding), as a library bitmap.
FIBITMAP *loadBmp(const char *path, const std::vector<uint8_t> &bytes, int32_t *error)
{
    *error = IMG_ERR_READ;
    if (!bmpHeaderFits(bytes))
        return nullptr;
    MemHandle dib;
    {
        UtQuietBoxes quiet;   // the failure is this loader's one message
        dib = gdiLoadDibFile(path, 0);
    }
    Fib fib;
    bool ok = dib && copyToLibrary(dib, &fib) == IMG_OK;
    utFreeHandle(dib);
    if (!ok)
        return nullptr;
    *error = IMG_OK;
    FIBITMAP *b = fib.bmp;
    fib.bmp = nullptr;   // handed on: the caller's guard counts it
    --g_liveBitmaps;
    return b;
}

// A picture file decoded (header only when asked); null with *error set.
FIBITMAP *loadFile(const char *path, bool headerOnly, int32_t *error)
{
    if (!path || !*path) {
        *error = IMG_ERR_NO_NAME;
        return nullptr;
    }
    FREE_IMAGE_FORMAT fif = FreeImage_GetFIFFromFilename(path);
    const bool dib = hasExtension(path, "dib");
    if (fif == FIF_UNKNOWN && !dib) {
        *error = IMG_ERR_FILE_TYPE;
        return nullptr;
    }
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, &bytes)) {
        *error = IMG_ERR_READ;
        return nullptr;
    }
    if (fif == FIF_BMP || dib)
        return loadBmp(path, bytes, error);
    return decodeBounded(fif, std::move(bytes), headerOnly, error);
}

// The format of in-memory bytes of an ImageFileKind, by its extension.
FREE_IMAGE_FORMAT kindFormat(int32_t kind)
{
    char ext[16];
    if (!imgKindExtension(kind, ext))
        return FIF_UNKNOWN;
    return FreeImage_GetFIFFromFilename(ext);
}

// In-memory bytes decoded from a copy of them.
FIBITMAP *loadMemory(const void *data, uint32_t size, int32_t kind, bool headerOnly,
                     int32_t *error)
{
    FREE_IMAGE_FORMAT fif = kindFormat(kind);
    if (!kind || fif == FIF_UNKNOWN) {
        *error = IMG_ERR_FILE_TYPE;
        return nullptr;
    }
    if (!data || !size) {
        *error = IMG_ERR_READ;
        return nullptr;
    }
    const uint8_t *p = static_cast<const uint8_t *>(data);
    std::vector<uint8_t> bytes(p, p + size);
    if (fif == FIF_BMP && !bmpHeaderFits(bytes)) {
        *error = IMG_ERR_READ;
        return nullptr;
    }
    return decodeBounded(fif, std::move(bytes), headerOnly, error);
}

// A new packed DIB of a library bitmap; 0 when memory fails.
MemHandle dibFromLibrary(FIBITMAP *bmp)
{
    BITMAPINFOHEADER h = *FreeImage_GetInfoHeader(bmp);
    unsigned colours = FreeImage_GetColorsUsed(bmp);
    unsigned pitch = FreeImage_GetPitch(bmp), height = FreeImage_GetHeight(bmp);
    h.biSize = sizeof h;
    h.biHeight = (LONG)height;
    h.biCompression = BI_RGB;
    h.biClrUsed = colours;
    h.biClrImportant = 0;
    h.biSizeImage = gdiDibImageSize(h.biWidth, h.biHeight, h.biBitCount);
    uint32_t stride = gdiDibStride(&h);
    uint64_t total = sizeof h + 4ull * colours + (uint64_t)h.biSizeImage;
    if (total > 0x7FFFFFFF || pitch < gdiDibRowBytes(&h))
        return 0;
    MemHandle dib = utAllocHandle(0, (uint32_t)total);
    MemLock<uint8_t> p(dib);
    if (!p)
        return utFreeHandle(dib);
    memcpy(p.get(), &h, sizeof h);
    if (colours)
        memcpy(p.get() + sizeof h, FreeImage_GetPalette(bmp), 4u * colours);
    uint8_t *bits = p.get() + sizeof h + 4u * colours;
    for (unsigned y = 0; y < height; ++y)
        memcpy(bits + (size_t)y * stride, FreeImage_GetScanLine(bmp, (int)y), stride);
    return dib;
}

void loadObject(ImgIoRequest *r)
{
    Fib fib(loadFile(r->fileName, false, &r->error));
    if (!fib)
        return;
    if (!normalise(fib)) {
        r->error = IMG_ERR_READ;
        return;
    }
    r->pixelWidth = (int32_t)FreeImage_GetWidth(fib.bmp);
    r->pixelHeight = (int32_t)FreeImage_GetHeight(fib.bmp);
    MemHandle dib = dibFromLibrary(fib.bmp);
    fib.reset(nullptr);
    if (!dib) {
        r->error = IMG_ERR_READ;
        return;
    }
    r->object = imgBitmapFromDibHandle(dib, POINT{0, 0}, r->mappingKind);
    utFreeHandle(dib);
    if (!r->object) {
        r->error = IMG_ERR_READ;
        return;
    }
    if (r->transparent)
        imgSetTransparent(r->object, r->transparentColour, TRUE);
}

void loadDib(ImgIoRequest *r)
{
    Fib fib(loadFile(r->fileName, false, &r->error));
    if (!fib)
        return;
    if (!normalise(fib) || !(r->dib = dibFromLibrary(fib.bmp)))
        r->error = IMG_ERR_READ;
}

void fileSize(ImgIoRequest *r)
{
    Fib fib(loadFile(r->fileName, true, &r->error));
    if (!fib)
        return;
    r->pixelWidth = (int32_t)FreeImage_GetWidth(fib.bmp);
    r->pixelHeight = (int32_t)FreeImage_GetHeight(fib.bmp);
}

// The packed DIB copied into a new library bitmap; IMG_OK or IMG_ERR_DIB.
int32_t copyToLibrary(MemHandle dibHandle, Fib *fib)
{
    MemLock<uint8_t> p(dibHandle);
    BITMAPINFOHEADER *h = p ? reinterpret_cast<BITMAPINFOHEADER *>(p.get()) : nullptr;
    if (!h || !gdiDibCheckedSize(h, utHandleSize(dibHandle)) || h->biSize != sizeof *h ||
        (h->biCompression != BI_RGB && h->biCompression != BI_BITFIELDS))
        return IMG_ERR_DIB;
    int32_t height = h->biHeight < 0 ? -h->biHeight : h->biHeight;
    unsigned rmask = 0, gmask = 0, bmask = 0;
    if (h->biCompression == BI_BITFIELDS) {
        const uint32_t *masks = reinterpret_cast<const uint32_t *>(h + 1);
        rmask = masks[0];
        gmask = masks[1];
        bmask = masks[2];
    }
    fib->reset(FreeImage_Allocate(h->biWidth, height, h->biBitCount, rmask, gmask, bmask));
    if (!*fib)
        return IMG_ERR_DIB;
    BITMAPINFOHEADER *fh = FreeImage_GetInfoHeader(fib->bmp);
    fh->biXPelsPerMeter = h->biXPelsPerMeter;
    fh->biYPelsPerMeter = h->biYPelsPerMeter;
    // The colour table into the library's palette: no more entries than
    // either holds.
    if (RGBQUAD *palette = FreeImage_GetPalette(fib->bmp)) {
        uint32_t room = FreeImage_GetColorsUsed(fib->bmp);
        uint32_t n = std::min(room, gdiDibColorCount(h));
        memcpy(palette, reinterpret_cast<uint8_t *>(h) + h->biSize, 4u * n);
    }
    const uint8_t *bits = gdiDibBitsPtr(h);
    uint32_t stride = gdiDibStride(h), row = gdiDibRowBytes(h);
    for (int32_t y = 0; y < height; ++y) {
        int32_t from = h->biHeight < 0 ? height - 1 - y : y;   // library rows bottom-up
        memcpy(FreeImage_GetScanLine(fib->bmp, y), bits + (size_t)from * stride, row);
    }
    return IMG_OK;
}

// IMG_OK when the file can be written in the format: it has a name and
// the library writes the format.
int32_t writableAs(const char *fileName, FREE_IMAGE_FORMAT fif)
{
    if (!fileName || !*fileName)
        return IMG_ERR_NO_NAME;
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsWriting(fif))
        return IMG_ERR_FILE_TYPE;
    return IMG_OK;
}

// Writes the library bitmap into the file in the format (with the
// library's saving flags): written beside the target and put in its place
// only when whole, so a failed write leaves the old file as it was.
int32_t writeLibraryBitmap(FIBITMAP *bmp, FREE_IMAGE_FORMAT fif, const char *fileName,
                           int flags = 0)
{
    char temp[UT_PATH_SIZE];
    HANDLE file = ffCreateReplacement(fileName, temp);
    if (file == INVALID_HANDLE_VALUE)
        return IMG_ERR_READ;
    FreeImageIO io = {fileRead, fileWrite, fileSeek, fileTell};
    BOOL saved = FreeImage_SaveToHandle(fif, bmp, &io, (fi_handle)file, flags);
    return ffCommitReplacement(file, temp, fileName, saved) ? IMG_OK : IMG_ERR_READ;
}

// Writes the DIB through the library in the format.
void saveDibAs(ImgIoRequest *r, MemHandle dibHandle, FREE_IMAGE_FORMAT fif)
{
    if (!dibHandle)
        return;
    r->error = writableAs(r->fileName, fif);
    if (r->error != IMG_OK)
        return;
    Fib fib;
    r->error = copyToLibrary(dibHandle, &fib);
    if (r->error == IMG_OK)
        r->error = writeLibraryBitmap(fib.bmp, fif, r->fileName);
}

// The export format by image layer id, else by the file's extension.
FREE_IMAGE_FORMAT exportFormat(const char *fileName, int32_t format)
{
    return format ? kindFormat(format)
                  : (fileName ? FreeImage_GetFIFFromFilename(fileName) : FIF_UNKNOWN);
}

void saveDib(ImgIoRequest *r)
{
    saveDibAs(r, r->dib, r->fileName ? FreeImage_GetFIFFromFilename(r->fileName) : FIF_UNKNOWN);
}

void saveObject(ImgIoRequest *r)
{
    MemHandle dib = imgBitmapDibCopy(r->object);
    saveDibAs(r, dib, r->fileName ? FreeImage_GetFIFFromFilename(r->fileName) : FIF_UNKNOWN);
    utFreeHandle(dib);
}

void decodeImage(ImgIoRequest *r)
{
    ObLock rec(r->object);
    if (!rec) {
        r->error = IMG_ERR_FILE_TYPE;
        return;
    }
    ImageData head = {};
    const uint8_t *bytes = imgImageBytes(rec.get(), rec.extent(), &head);
    if (!head.header.fileKind) {
        r->error = IMG_ERR_FILE_TYPE;
        return;
    }
    if (!bytes) {
        r->error = IMG_ERR_READ;
        return;
    }
    Fib fib(loadMemory(bytes, head.header.dataSize, (int32_t)head.header.fileKind, false,
                       &r->error));
    if (!fib)
        return;
    if (!normalise(fib) || !(r->dib = dibFromLibrary(fib.bmp)))
        r->error = IMG_ERR_READ;
}

void drawMemory(ImgIoRequest *r)
{
    Fib fib(loadMemory(r->data, r->dataSize, r->fileKind, false, &r->error));
    if (!fib)
        return;
    if (!normalise(fib)) {
        r->error = IMG_ERR_READ;
        return;
    }
    BITMAPINFO *info = FreeImage_GetInfo(fib.bmp);
    BYTE *bits = FreeImage_GetBits(fib.bmp);
    int32_t w = (int32_t)FreeImage_GetWidth(fib.bmp), h = (int32_t)FreeImage_GetHeight(fib.bmp);
    int32_t x = r->rect[0], y = r->rect[1], dw = r->rect[2] - r->rect[0],
            dh = r->rect[3] - r->rect[1];
    if (!r->dc || !info || !bits || dw <= 0 || dh <= 0)
        return;
    if (!r->transparent) {
        StretchDIBits(r->dc, x, y, dw, dh, 0, 0, w, h, bits, info, DIB_RGB_COLORS, r->rop);
        return;
    }
    HBITMAP bitmap =
        CreateDIBitmap(r->dc, &info->bmiHeader, CBM_INIT, bits, info, DIB_RGB_COLORS);
    if (!bitmap)
        return;   // nothing drawn, still a success
    if (HDC mem = CreateCompatibleDC(r->dc)) {
        HGDIOBJ old = SelectObject(mem, bitmap);
        gdiTransparentStretchBlt(r->dc, bitmap, x, y, dw, dh, 0, 0, w, h, r->transparentColour);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    DeleteObject(bitmap);
}

void memorySize(ImgIoRequest *r)
{
    Fib fib(loadMemory(r->data, r->dataSize, r->fileKind, true, &r->error));
    if (!fib)
        return;
    r->pixelWidth = (int32_t)FreeImage_GetWidth(fib.bmp);
    r->pixelHeight = (int32_t)FreeImage_GetHeight(fib.bmp);
}

void showError(HWND window, int32_t error, const char *fileName)
{
    char text[400];
    snprintf(text, sizeof text, "%s: %s", imgIoErrorText(error), fileName ? fileName : "");
    utErrorBox(window, text);
}

MemHandle loadObjectShown(HWND window, const char *fileName, uint16_t mappingKind,
                          BOOL transparent, COLORREF colour, int32_t action)
{
    ImgIoRequest r = {};
    r.fileName = fileName;
    r.action = action;
    r.mappingKind = mappingKind;
    r.transparent = transparent ? 1 : 0;
    r.transparentColour = colour;
    if (imgIoDispatch(&r))
        return r.object;
    showError(window, r.error, fileName);
    return 0;
}

}  // namespace

// ---- the dispatcher ------------------------------------------------------------------------

int imgIoDispatch(ImgIoRequest *request)
{
    if (!request)
        return 0;
    request->error = IMG_OK;
    switch (request->action) {
    case IMG_ACTION_LOAD_OBJECT:
    case IMG_ACTION_LOAD_OBJECT2: loadObject(request); break;
    case IMG_ACTION_LOAD_DIB: loadDib(request); break;
    case IMG_ACTION_SAVE_OBJECT: saveObject(request); break;
    case IMG_ACTION_SAVE_DIB: saveDib(request); break;
    case IMG_ACTION_FILE_SIZE: fileSize(request); break;
    case IMG_ACTION_DECODE_IMAGE: decodeImage(request); break;
    case IMG_ACTION_DRAW_MEMORY: drawMemory(request); break;
    case IMG_ACTION_MEMORY_SIZE: memorySize(request); break;
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

// ---- entry points --------------------------------------------------------------------------

MemHandle imgLoadFileObject(HWND window, const char *fileName, uint16_t mappingKind,
                            BOOL transparent, COLORREF colour)
{
    return loadObjectShown(window, fileName, mappingKind, transparent, colour,
                           IMG_ACTION_LOAD_OBJECT);
}

MemHandle imgLoadFileObjectAlt(HWND window, const char *fileName, uint16_t mappingKind,
                               BOOL transparent, COLORREF colour)
{
    return loadObjectShown(window, fileName, mappingKind, transparent, colour,
                           IMG_ACTION_LOAD_OBJECT2);
}

int imgGetFileSize(HWND window, const char *fileName, int32_t *width, int32_t *height)
{
    ImgIoRequest r = {};
    r.fileName = fileName;
    r.action = IMG_ACTION_FILE_SIZE;
    int ok = imgIoDispatch(&r);
    if (!ok)
        showError(window, r.error, fileName);
    if (width)
        *width = ok ? r.pixelWidth : 0;
    if (height)
        *height = ok ? r.pixelHeight : 0;
    return ok;
}

MemHandle imgLoadFileDib(HWND window, const char *fileName)
{
    ImgIoRequest r = {};
    r.fileName = fileName;
    r.action = IMG_ACTION_LOAD_DIB;
    if (imgIoDispatch(&r))
        return r.dib;
    showError(window, r.error, fileName);
    return 0;
}

int imgSaveDibFile(HWND window, MemHandle dib, const char *fileName)
{
    if (!dib)
        return 0;
    ImgIoRequest r = {};
    r.fileName = fileName;
    r.dib = dib;
    r.action = IMG_ACTION_SAVE_DIB;
    int ok = imgIoDispatch(&r);
    if (!ok)
        showError(window, r.error, fileName);
    utFreeHandle(dib);
    return ok;
}

int imgSaveDibAs(HWND window, MemHandle dib, char *fileName)
{
    int index = 0;
    if (!dib || !fileName || !fcSaveImageAsDialog(window, fileName, &index)) {
        utFreeHandle(dib);
        return 0;
    }
    return imgSaveDibFile(window, dib, fileName);
}

int imgExportDib(HWND window, MemHandle dib, const char *fileName, int32_t format)
{
    if (!dib)
        return 0;
    ImgIoRequest r = {};
    r.fileName = fileName;
    r.dib = dib;
    r.action = IMG_ACTION_SAVE_DIB;
    saveDibAs(&r, dib, exportFormat(fileName, format));
    if (r.error != IMG_OK)
        showError(window, r.error, fileName);
    return r.error == IMG_OK ? 1 : 0;
}

int imgExportDibRows(HWND window, const BITMAPINFOHEADER *header, void *bits,
                     const char *fileName, int32_t format)
{
    const FREE_IMAGE_FORMAT fif = exportFormat(fileName, format);
    int32_t error = writableAs(fileName, fif);
    const bool fits = header && bits && header->biWidth > 0 && header->biHeight > 0 &&
                      header->biCompression == BI_RGB &&
                      (header->biBitCount == 24 || header->biBitCount == 32);
    if (error == IMG_OK && !fits)
        error = IMG_ERR_DIB;
    if (error == IMG_OK) {
        // The library's rows are bottom-up and DWORD-aligned as the
        // section's are: it reads the section's own pixels.
        const int pitch = (int)((((uint32_t)header->biWidth * header->biBitCount + 31) / 32) * 4);
        Fib fib(FreeImage_ConvertFromRawBitsEx(FALSE, static_cast<BYTE *>(bits), FIT_BITMAP,
                                               header->biWidth, header->biHeight, pitch,
                                               header->biBitCount, FI_RGBA_RED_MASK,
                                               FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE));
        if (!fib) {
            error = IMG_ERR_DIB;
        } else {
            BITMAPINFOHEADER *fh = FreeImage_GetInfoHeader(fib.bmp);
            fh->biXPelsPerMeter = header->biXPelsPerMeter;
            fh->biYPelsPerMeter = header->biYPelsPerMeter;
            // A page picture is mostly white: the fastest compression
            // makes it little larger and takes a fraction of the time.
            error = writeLibraryBitmap(fib.bmp, fif, fileName, fif == FIF_PNG ? PNG_Z_BEST_SPEED : 0);
        }
    }
    if (error != IMG_OK)
        showError(window, error, fileName);
    return error == IMG_OK ? 1 : 0;
}

int imgMemPixelSize(const void *data, uint32_t size, int32_t fileKind, int32_t *width,
                    int32_t *height)
{
    ImgIoRequest r = {};
    r.data = data;
    r.dataSize = size;
    r.fileKind = fileKind;
    r.action = IMG_ACTION_MEMORY_SIZE;
    int ok = imgIoDispatch(&r);
    if (width)
        *width = ok ? r.pixelWidth : 0;
    if (height)
        *height = ok ? r.pixelHeight : 0;
    return ok;
}

int imgDrawMemImage(HDC dc, const void *data, const void *kindHeader, const RECT *rect,
                    DWORD rop)
{
    if (!kindHeader || !rect)
        return 0;
    ImageHeader head;
    memcpy(&head, kindHeader, sizeof head);
    ImgIoRequest r = {};
    r.dc = dc;
    r.data = data;
    r.dataSize = head.dataSize;
    r.fileKind = (int32_t)head.fileKind;
    r.rect[0] = rect->left;
    r.rect[1] = rect->top;
    r.rect[2] = rect->right;
    r.rect[3] = rect->bottom;
    r.rop = rop;
    r.transparent = (head.flags & kImgImageTransparent) ? 1 : 0;
    r.transparentColour = head.transparent;
    r.action = IMG_ACTION_DRAW_MEMORY;
    return imgIoDispatch(&r);
}

int imgDrawFileInRect(HDC dc, const char *fileName, const RECT *rect, uint32_t, uint16_t fitMode,
                      uint16_t align, BOOL transparent, COLORREF colour)
{
    if (!dc || !fileName || !rect)
        return 0;
    std::string name = fileName;
    std::string objectName;
    size_t lf = name.find('\n');
    if (lf != std::string::npos) {
        objectName = name.substr(lf + 1);
        name.resize(lf);
    }
    size_t dot = name.find_last_of('.');
    size_t slash = name.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return 0;
    std::string ext = name.substr(dot + 1);
    HWND window = appGetActiveWorkspace();
    MemHandle object = 0;
    if (lstrcmpiA(ext.c_str(), "wmf") == 0) {
        object = mfWmfLoadFile(window, name.c_str());
    } else if (lstrcmpiA(ext.c_str(), "emf") == 0) {
        object = mfEmfLoadFile(window, name.c_str());
    } else if (olbIsLibExt(ext.c_str())) {
        // The record is an object block: the library's own unpacking makes
        // a new tree of it (the record's bytes are never taken as objects);
        // the record goes either way.
        UtQuietBoxes quiet;   // drawing shows nothing: a bad record draws nothing
        MemHandle record = olbLoadObjectFromFile(window, name.c_str(), "OLB", objectName.c_str());
        object = record && g_unpackRecord ? g_unpackRecord(record) : 0;
        utFreeHandle(record);
    } else {
        ImgIoRequest r = {};
        r.fileName = name.c_str();
        r.action = IMG_ACTION_LOAD_OBJECT2;
        r.transparent = transparent ? 1 : 0;
        r.transparentColour = colour;
        if (imgIoDispatch(&r))
            object = r.object;
    }
    if (!object)
        return 0;
    RECT box;
    obGetRect(object, &box);
    geoFitRect(&box, rect, fitMode, align);
    object = obFitToRect(object, &box);
    if (!object)
        return 0;
    obDraw(dc, object);
    obFreeTree(object);
    return 1;
}

namespace {

// The picture file as a new packed DIB with its pixel size; 0 when it
// cannot be read.
MemHandle loadFileDib(const char *fileName, int32_t *width, int32_t *height)
{
    ImgIoRequest r = {};
    r.fileName = fileName;
    r.action = IMG_ACTION_LOAD_DIB;
    if (!imgIoDispatch(&r))
        return 0;
    BITMAPINFOHEADER h;
    gdiDibInfo(r.dib, 0, &h);
    *width = h.biWidth;
    *height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    return r.dib;
}

}  // namespace

int imgDrawFileDib(HDC dc, const char *fileName, const RECT *rect, const RECT *, DWORD rop)
{
    if (!dc || !rect)
        return 0;
    int32_t pw, ph;
    MemHandle dib = loadFileDib(fileName, &pw, &ph);
    if (!dib)
        return 0;
    POINT size[2] = {{0, 0}, {pw, ph}};
    dmDevToLogPoints100(size, 2);
    RECT pixels = {0, 0, size[1].x - size[0].x, size[1].y - size[0].y};
    gdiDrawDibPart(dc, dib, &pixels, rect, rop);
    utFreeHandle(dib);
    return 1;
}

int imgDrawFileCropped(HDC dc, const char *fileName, const RECT *rect, const RECT *crop,
                       DWORD rop)
{
    if (!dc || !rect || rect->right <= rect->left || rect->bottom <= rect->top)
        return 0;
    int32_t pixelsW, pixelsH;
    MemHandle dib = loadFileDib(fileName, &pixelsW, &pixelsH);
    if (!dib)
        return 0;
    const int64_t pw = pixelsW, ph = pixelsH;
    const int64_t cl = crop ? std::max<int64_t>(crop->left, 0) : 0;
    const int64_t ct = crop ? std::max<int64_t>(crop->top, 0) : 0;
    const int64_t cr = crop ? std::max<int64_t>(crop->right, 0) : 0;
    const int64_t cb = crop ? std::max<int64_t>(crop->bottom, 0) : 0;
    const int64_t keepW = pw - cl - cr, keepH = ph - ct - cb;
    int done = 0;
    if (keepW > 0 && keepH > 0) {
        // The whole picture scaled so that its kept part covers the
        // rectangle, drawn clipped to the rectangle.
        const int64_t w = rect->right - rect->left, ht = rect->bottom - rect->top;
        RECT whole = {(LONG)(rect->left - cl * w / keepW), (LONG)(rect->top - ct * ht / keepH),
                      (LONG)(rect->right + cr * w / keepW),
                      (LONG)(rect->bottom + cb * ht / keepH)};
        done = gdiDrawDibPart(dc, dib, &whole, rect, rop);
    }
    utFreeHandle(dib);
    return done;
}

int imgBlitFilePart(HDC dc, const char *fileName, int32_t sx, int32_t sy, int32_t width,
                    int32_t height, int32_t x, int32_t y, DWORD rop)
{
    if (!dc)
        return 0;
    int32_t pw, ph;
    MemHandle dib = loadFileDib(fileName, &pw, &ph);
    if (!dib)
        return 0;
    sx = std::max(sx, 0);
    sy = std::max(sy, 0);
    int32_t w = width == -1 ? pw - sx : std::min(width, pw - sx);
    int32_t ht = height == -1 ? ph - sy : std::min(height, ph - sy);
    int done = 0;
    HBITMAP bitmap = gdiDibToBitmap(dc, dib);
    utFreeHandle(dib);
    if (bitmap && w > 0 && ht > 0) {
        if (HDC mem = CreateCompatibleDC(dc)) {
            HGDIOBJ old = SelectObject(mem, bitmap);
            done = BitBlt(dc, x, y, w, ht, mem, sx, sy, rop) ? 1 : 0;
            SelectObject(mem, old);
            DeleteDC(mem);
        }
    }
    if (bitmap)
        DeleteObject(bitmap);
    return done;
}

MemHandle imgNoopTransform(MemHandle h) { return h; }

void imgSetRecordUnpack(ImgRecordUnpack unpack) { g_unpackRecord = unpack; }

void imgSetDecodeLimit(DWORD millis, void (*startHook)())
{
    g_decodeMillis = millis ? millis : kDecodeMillis;
    g_decodeStartHook = startHook;
    g_abandoned.clear();
}

long imgDecodeWorkers() { return g_workers.load(); }

// ---- memory streams ---------------------------------------------------------------------------

void *imgMemOpen(const void *data, uint32_t size)
{
    if (!data)
        return nullptr;
    MemStream entry = {static_cast<const uint8_t *>(data),
                       const_cast<uint8_t *>(static_cast<const uint8_t *>(data)), size, 0};
    MemHandle grown = utAllocHandle(g_streams, (uint32_t)((g_streamCount + 1) * sizeof entry));
    if (!grown)
        return nullptr;
    g_streams = grown;
    {
        MemLock<MemStream> s(g_streams);
        s[g_streamCount] = entry;
    }
    ++g_streamCount;
    return const_cast<void *>(data);
}

void imgMemClose(void *handle)
{
    int i = findStream(handle);
    if (i < 0)
        return;
    {
        MemLock<MemStream> s(g_streams);
        for (int k = i; k + 1 < g_streamCount; ++k)
            s[k] = s[k + 1];
    }
    if (--g_streamCount == 0)
        g_streams = utFreeHandle(g_streams);
}

unsigned imgMemRead(void *buffer, unsigned size, unsigned count, void *handle)
{
    int i = findStream(handle);
    if (i < 0 || !size || !buffer)
        return 0;
    MemLock<MemStream> s(g_streams);
    MemStream &m = s[i];
    uint64_t want = (uint64_t)size * count;
    uint64_t left = m.size - m.position;
    uint64_t n = std::min(want, left);
    memcpy(buffer, m.base + m.position, (size_t)n);
    m.position += (uint32_t)n;
    return (unsigned)(n / size);
}

unsigned imgMemWrite(void *buffer, unsigned size, unsigned count, void *handle)
{
    int i = findStream(handle);
    if (i < 0 || !size || !buffer)
        return 0;
    MemLock<MemStream> s(g_streams);
    MemStream &m = s[i];
    uint64_t want = (uint64_t)size * count;
    uint64_t n = std::min(want, (uint64_t)(m.size - m.position));
    memcpy(m.base + m.position, buffer, (size_t)n);
    m.position += (uint32_t)n;
    return (unsigned)(n / size);
}

int imgMemSeek(void *handle, long offset, int origin)
{
    int i = findStream(handle);
    if (i < 0)
        return 1;
    MemLock<MemStream> s(g_streams);
    MemStream &m = s[i];
    int64_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? (int64_t)m.position
                 : origin == SEEK_END ? (int64_t)m.size : -1;
    if (base < 0)
        return 1;
    int64_t at = base + (int64_t)offset;
    if (at < 0 || at > (int64_t)m.size)
        return 1;
    m.position = (uint32_t)at;
    return 0;
}

long imgMemTell(void *handle)
{
    int i = findStream(handle);
    if (i < 0)
        return 0;
    MemLock<MemStream> s(g_streams);
    return (long)s[i].position;
}

int imgMemStreamCount() { return g_streamCount; }
BOOL imgMemStreamTableExists() { return g_streams != 0; }
long imgLiveLibraryBitmaps() { return g_liveBitmaps.load(); }
