// The bitmap object (type 60): its data, drawing, repeated drawing and size.
#include "objects/img_bitmap.h"
#include "model/ob_shadow.h"
#include "support/dm_map.h"
#include "support/gdi_bitmap.h"
#include "support/gdi_dib.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <string.h>
#include <algorithm>

namespace {

// Whether a stored BITMAP record is one GDI can make a bitmap of from
// `pixels` bytes.
bool storedBitmapSane(const GdiStoredBitmap &bm, uint32_t pixels)
{
    if (bm.width <= 0 || bm.height <= 0 || bm.planes != 1)
        return false;
    switch (bm.bitsPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
    }
    // Rows of a device-dependent bitmap are padded to 16 bits.
    uint64_t row = ((uint64_t)bm.width * bm.bitsPixel + 15) / 16 * 2;
    if (bm.widthBytes <= 0 || (uint64_t)bm.widthBytes < row)
        return false;
    return (uint64_t)bm.widthBytes * (uint64_t)bm.height <= pixels;
}

// One copy's source and destination.
struct Copy {
    int32_t x, y, w, h;       // destination, logical
    int32_t sx, sy, sw, sh;   // source, pixels
};

// The GDI side of one drawing pass over a record: the DDB (kind 0) or DIB
// (kind 1) ready to be copied, and the palette of a DIB.
class BitmapSource {
public:
    BitmapSource(HDC dc, ObjectRecord *rec) : dc_(dc)
    {
        header_ = imgBitmapHeader(rec, rec->length, &data_);
        if (!header_)
            return;
        if (data_.kind == IMG_BITMAP_DDB) {
            GdiStoredBitmap stored;
            memcpy(&stored, header_, sizeof stored);
            BITMAP bm = {stored.type, stored.width, stored.height, stored.widthBytes,
                         stored.planes, stored.bitsPixel,
                         const_cast<uint8_t *>(header_ + data_.headerSize)};
            bitmap_ = CreateBitmapIndirect(&bm);
            width_ = stored.width;
            height_ = stored.height;
        } else {
            const BITMAPINFOHEADER *bih = reinterpret_cast<const BITMAPINFOHEADER *>(header_);
            width_ = bih->biWidth;
            height_ = bih->biHeight < 0 ? -bih->biHeight : bih->biHeight;
            topDown_ = bih->biHeight < 0;
            if (bih->biSize == sizeof(BITMAPINFOHEADER) && gdiDibColorCount(bih) &&
                (palette_ = gdiDibCreatePalette(bih)) != nullptr) {
                oldPalette_ = SelectPalette(dc, palette_, FALSE);
                RealizePalette(dc);
            }
        }
    }
    ~BitmapSource()
    {
        if (mem_) {
            SelectObject(mem_, oldMem_);
            DeleteDC(mem_);
        }
        if (bitmap_)
            DeleteObject(bitmap_);
        if (palette_) {
            SelectPalette(dc_, oldPalette_, TRUE);
            DeleteObject(palette_);
        }
    }
    BitmapSource(const BitmapSource &) = delete;
    BitmapSource &operator=(const BitmapSource &) = delete;

    bool valid() const { return header_ != nullptr; }
    uint16_t kind() const { return data_.kind; }
    const BitmapData &data() const { return data_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // Rows stored top row first: a source rectangle then counts from the top.
    bool topDown() const { return topDown_; }
    const BITMAPINFO *info() const { return reinterpret_cast<const BITMAPINFO *>(header_); }
    const uint8_t *bits() const { return header_ + data_.headerSize; }

    // A device-dependent bitmap of the picture (made once; kind 1 through
    // CreateDIBitmap); null when it cannot be made.
    HBITMAP bitmap()
    {
        if (!bitmap_ && data_.kind == IMG_BITMAP_DIB)
            bitmap_ = CreateDIBitmap(dc_, &info()->bmiHeader, CBM_INIT, bits(), info(),
                                     DIB_RGB_COLORS);
        return bitmap_;
    }
    // A memory context holding the bitmap; null when it cannot be made.
    HDC memory()
    {
        if (!mem_ && bitmap() && (mem_ = CreateCompatibleDC(dc_)) != nullptr)
            oldMem_ = SelectObject(mem_, bitmap_);
        return mem_;
    }
    // One copy with the raster operation, no transparent colour.
    void copy(const Copy &c, DWORD rop)
    {
        if (data_.kind == IMG_BITMAP_DIB) {
            StretchDIBits(dc_, c.x, c.y, c.w, c.h, c.sx, c.sy, c.sw, c.sh, bits(), info(),
                          DIB_RGB_COLORS, rop);
        } else if (HDC mem = memory()) {
            StretchBlt(dc_, c.x, c.y, c.w, c.h, mem, c.sx, c.sy, c.sw, c.sh, rop);
        }
    }

private:
    HDC dc_;
    BitmapData data_ = {};
    const uint8_t *header_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HDC mem_ = nullptr;
    HGDIOBJ oldMem_ = nullptr;
    HPALETTE palette_ = nullptr, oldPalette_ = nullptr;
    int32_t width_ = 0, height_ = 0;
    bool topDown_ = false;
};

void badKind() { utErrorBox(nullptr, "Incorrect Bitmap Data Type"); }

// Whether the record's kind is one this program draws (the record read far
// enough to tell).
bool knownKind(const ObjectRecord *rec)
{
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + 2 > rec->length)
        return true;   // too short to have a kind: a damaged record, not a kind
    uint16_t kind;
    memcpy(&kind, reinterpret_cast<const uint8_t *>(rec) + at, 2);
    return kind == IMG_BITMAP_DDB || kind == IMG_BITMAP_DIB;
}

enum Repeat { REPEAT_TILE, REPEAT_ACROSS, REPEAT_DOWN };

int drawRepeated(HDC dc, MemHandle h, const RECT *rect, Repeat mode)
{
    ObLock rec(h);
    if (!dc || !rect || !rec)
        return 1;
    if (!knownKind(rec.get())) {
        badKind();
        return 0;
    }
    int32_t ow = rec->width, oh = rec->height;
    if (ow <= 0 || oh <= 0)
        return 1;   // a copy of no size would repeat for ever
    POINT oldOrg;
    dmSetWindowOrg(dc, 0, 0, &oldOrg);
    RECT box;
    obRecGetRect(rec.get(), &box);
    DWORD rop = imgRopFromFlags(rec->flags);
    if (rop == SRCCOPY && (rec->flags & OBF_SHADOW))
        obFillShadowRect(dc, &box);
    SetStretchBltMode(dc, COLORONCOLOR);
    {
        BitmapSource src(dc, rec.get());
        RECT clip;
        bool clipped = GetClipBox(dc, &clip) != ERROR;
        if (src.valid()) {
            int32_t sw = src.width(), sh = src.height();
            int64_t right = rect->right, bottom = rect->bottom;
            int64_t y = rect->top;
            do {
                Copy c = {0, (int32_t)y, ow, oh, 0, 0, sw, sh};
                if (y + oh > bottom && mode != REPEAT_ACROSS) {
                    c.h = (int32_t)(bottom - y);
                    c.sh = (int32_t)((int64_t)sh * c.h / oh);
                    // The picture's top part, as a cut copy at the right edge
                    // shows its left part: a bottom-up DIB's source y counts
                    // from its bottom row; a top-down DIB's and a device
                    // bitmap's from the top.
                    c.sy = src.kind() == IMG_BITMAP_DIB && !src.topDown() ? sh - c.sh : 0;
                }
                int64_t x = rect->left;
                do {
                    c.x = (int32_t)x;
                    c.w = ow;
                    c.sw = sw;
                    if (x + ow > right && mode != REPEAT_DOWN) {
                        c.w = (int32_t)(right - x);
                        c.sw = (int32_t)((int64_t)sw * c.w / ow);
                    }
                    RECT copyRect = {c.x, c.y, c.x + c.w, c.y + c.h}, meet;
                    if (!clipped || IntersectRect(&meet, &copyRect, &clip))
                        src.copy(c, rop);
                    x += ow;
                } while (mode != REPEAT_DOWN && x < right);
                y += oh;
            } while (mode != REPEAT_ACROSS && y < bottom);
        }
    }
    dmSetWindowOrg(dc, oldOrg.x, oldOrg.y, nullptr);
    return 1;
}

}  // namespace

DWORD imgRopFromFlags(uint32_t flags) { return gdiRopFromCode(flags); }

const uint8_t *imgBitmapHeader(const ObjectRecord *rec, uint32_t extent, BitmapData *data)
{
    if (!rec)
        return nullptr;
    uint32_t at = obDataOffset(rec);
    extent = std::min(extent, rec->length);
    if ((uint64_t)at + sizeof(BitmapData) > extent)
        return nullptr;
    const uint8_t *p = reinterpret_cast<const uint8_t *>(rec) + at;
    BitmapData d;
    memcpy(&d, p, sizeof d);
    if (data)
        *data = d;
    uint64_t room = extent - at - sizeof d;
    if (d.headerSize < 0 || (uint64_t)d.headerSize + d.pixelBytes > room)
        return nullptr;
    const uint8_t *header = p + sizeof d;
    if (d.kind == IMG_BITMAP_DDB) {
        if ((uint32_t)d.headerSize < sizeof(GdiStoredBitmap))
            return nullptr;
        GdiStoredBitmap bm;
        memcpy(&bm, header, sizeof bm);
        return storedBitmapSane(bm, d.pixelBytes) ? header : nullptr;
    }
    if (d.kind != IMG_BITMAP_DIB || (uint32_t)d.headerSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    const BITMAPINFOHEADER *bih = reinterpret_cast<const BITMAPINFOHEADER *>(header);
    if (bih->biSize != sizeof(BITMAPINFOHEADER))
        return nullptr;
    // The colour table GDI reads must lie within the header bytes, and the
    // image within the pixel bytes.
    uint64_t table = gdiDibColorTableSize(bih);
    if (bih->biSize + table > (uint32_t)d.headerSize)
        return nullptr;
    BITMAPINFOHEADER copy = *bih;
    copy.biClrUsed = gdiDibColorCount(bih);
    uint32_t whole = gdiDibCheckedSize(&copy, (uint32_t)(copy.biSize + table + d.pixelBytes));
    return whole ? header : nullptr;
}

uint32_t imgBitmapRecordSize(ObjectRecord *rec, uint32_t blockSize)
{
    uint32_t at = obDataOffset(rec);
    uint32_t held = std::min(rec->length, blockSize);
    if ((uint64_t)at + sizeof(BitmapData) > held)
        return held;
    BitmapData d;
    memcpy(&d, reinterpret_cast<const uint8_t *>(rec) + at, sizeof d);
    uint64_t size = (uint64_t)at + sizeof d + (d.headerSize < 0 ? 0 : d.headerSize) + d.pixelBytes;
    if (d.headerSize < 0 || size > blockSize)
        return held;
    rec->length = (uint32_t)size;
    return rec->length;
}

int imgBitmapDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return 1;
    if (!knownKind(rec)) {
        badKind();
        return 0;
    }
    RECT box;
    obRecGetRect(rec, &box);
    int32_t w = box.right - box.left, h = box.bottom - box.top;
    if (w <= 0 || h <= 0)
        return 1;
    DWORD rop = imgRopFromFlags(rec->flags);
    POINT oldOrg;
    dmSetWindowOrg(dc, 0, 0, &oldOrg);
    if (rop == SRCCOPY && (rec->flags & OBF_SHADOW))
        obFillShadowRect(dc, &box);
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    {
        BitmapSource src(dc, rec);
        if (src.valid()) {
            COLORREF colour = 0;
            bool transparent = imgGetTransparent(rec, &colour) != 0;
            if (!transparent) {
                src.copy(Copy{box.left, box.top, w, h, 0, 0, src.width(), src.height()}, rop);
            } else if (gdiHasMsimg32()) {
                if (HDC mem = src.memory())
                    gdiTransparentBltStretch(dc, box.left, box.top, w, h, mem, 0, 0, src.width(),
                                             src.height(), colour);
            } else if (HBITMAP bitmap = src.bitmap()) {
                gdiTransparentStretchBlt(dc, bitmap, box.left, box.top, w, h, 0, 0, src.width(),
                                         src.height(), colour);
            }
        }
    }
    SetStretchBltMode(dc, oldMode);
    dmSetWindowOrg(dc, oldOrg.x, oldOrg.y, nullptr);
    return 1;
}

int imgBitmapDrawHandle(HDC dc, MemHandle h)
{
    ObLock rec(h);
    return rec ? imgBitmapDraw(dc, rec.get()) : 1;
}

int imgBitmapTile(HDC dc, MemHandle h, const RECT *rect)
{
    return drawRepeated(dc, h, rect, REPEAT_TILE);
}

int imgBitmapRepeatAcross(HDC dc, MemHandle h, const RECT *rect)
{
    return drawRepeated(dc, h, rect, REPEAT_ACROSS);
}

int imgBitmapRepeatDown(HDC dc, MemHandle h, const RECT *rect)
{
    return drawRepeated(dc, h, rect, REPEAT_DOWN);
}

int imgBitmapPixelSize(MemHandle h, int32_t *width, int32_t *height)
{
    int32_t w = 0, ht = 0;
    ObLock rec(h);
    BitmapData d;
    const uint8_t *header = rec ? imgBitmapHeader(rec.get(), rec.extent(), &d) : nullptr;
    if (header && d.kind == IMG_BITMAP_DDB) {
        GdiStoredBitmap bm;
        memcpy(&bm, header, sizeof bm);
        w = bm.width;
        ht = bm.height;
    } else if (header) {
        const BITMAPINFOHEADER *bih = reinterpret_cast<const BITMAPINFOHEADER *>(header);
        w = bih->biWidth;
        ht = bih->biHeight < 0 ? -bih->biHeight : bih->biHeight;
    }
    if (width)
        *width = w;
    if (height)
        *height = ht;
    return header ? 1 : 0;
}

int imgFitObjectToPixels(MemHandle h, uint16_t mappingKind)
{
    int32_t pw, ph;
    if (!imgBitmapPixelSize(h, &pw, &ph))
        return 0;
    int32_t w, ht;
    gdiNaturalSize(mappingKind == GDI_NATURAL_PRINTER ? GDI_NATURAL_PRINTER : GDI_NATURAL_SCREEN,
                   pw, ph, &w, &ht);
    ObLock rec(h);
    if (!rec || (rec->width == w && rec->height == ht))
        return 0;
    rec->width = w;
    rec->height = ht;
    return 1;
}

int imgNaturalSizeKind(MemHandle h)
{
    int32_t pw, ph;
    if (!imgBitmapPixelSize(h, &pw, &ph))
        return GDI_NATURAL_NONE;
    return gdiNaturalSizeKind(obGetWidth(h), obGetHeight(h), pw, ph);
}

int imgSetTransparent(MemHandle h, COLORREF colour, BOOL on)
{
    ObLock rec(h);
    if (!rec || (uint64_t)obDataOffset(rec.get()) + sizeof(BitmapData) > rec.extent())
        return 0;
    uint8_t *p = obRecData(rec.get());
    BitmapData d;
    memcpy(&d, p, sizeof d);
    bool was = (d.flags & IMG_BITMAP_TRANSPARENT) != 0;
    bool changed = on ? (!was || d.transparent != colour) : was;
    if (on) {
        d.flags |= IMG_BITMAP_TRANSPARENT;
        d.transparent = colour;
    } else {
        d.flags &= ~IMG_BITMAP_TRANSPARENT;
        d.transparent = 0;
    }
    memcpy(p, &d, sizeof d);
    return changed ? 1 : 0;
}

int imgGetTransparent(const ObjectRecord *rec, COLORREF *colour)
{
    if (!rec || (uint64_t)obDataOffset(rec) + sizeof(BitmapData) > rec->length)
        return 0;
    BitmapData d;
    memcpy(&d, reinterpret_cast<const uint8_t *>(rec) + obDataOffset(rec), sizeof d);
    if (!(d.flags & IMG_BITMAP_TRANSPARENT))
        return 0;
    if (colour)
        *colour = d.transparent;
    return 1;
}

int imgGetTransparentHandle(MemHandle h, COLORREF *colour)
{
    ObLock rec(h);
    return rec ? imgGetTransparent(rec.get(), colour) : 0;
}
