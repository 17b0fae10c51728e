// Fills of closed shapes: hatch bytes, pattern brushes and bitmaps, the
// hatch fill and the closed-shape drawing contract.
#include "objects/fil_fill.h"
#include "objects/fil_gradient.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

const uint32_t kDibHeaderSize = sizeof(BITMAPINFOHEADER);
const uint32_t kPatternSide = 8;
const uint32_t kDibRowBytes = 4;   // 8 pixels, padded to 32 bits

// The rows to draw: the pattern's own when it is 8 x 8, else the blank one.
void patternRows(const PatternFill *p, uint8_t rows[16])
{
    if (filPatternIs8x8(p))
        memcpy(rows, p->rows, 16);
    else
        memset(rows, 0xFF, 16);
}

// The first multiple of step at or above lo (lo may be negative).
int64_t firstMultipleFrom(int64_t lo, int64_t step)
{
    if (lo <= 0)
        return 0;
    return (lo + step - 1) / step * step;
}

// Lines of one family: for d = 0, s, 2s, ... up to dmax, line(d); only the
// d in [lo, hi] (the part of the family that can meet the clip box) are
// drawn, so a huge shape on a small view costs no more than the view.
template <typename Line>
void lineFamily(int64_t dmax, int64_t s, int64_t lo, int64_t hi, Line line)
{
    int64_t end = std::min(dmax, hi);
    for (int64_t d = firstMultipleFrom(lo, s); d <= end; d += s)
        line(d);
}

void drawHatchLines(HDC dc, const RECT *rect, uint8_t style, int32_t step)
{
    if (step < 1)
        return;
    int64_t l = rect->left, t = rect->top, r = rect->right, b = rect->bottom;
    // The clip box widened by a step, so rounding at its edges loses no line.
    int64_t cl = l, ct = t, cr = r, cb = b;
    RECT clip;
    int kind = GetClipBox(dc, &clip);
    if (kind == NULLREGION)
        return;
    if (kind == SIMPLEREGION || kind == COMPLEXREGION) {
        cl = (int64_t)clip.left - step;
        ct = (int64_t)clip.top - step;
        cr = (int64_t)clip.right + step;
        cb = (int64_t)clip.bottom + step;
    }
    auto line = [dc](int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
        gdiLine(dc, (int32_t)x1, (int32_t)y1, (int32_t)x2, (int32_t)y2);
    };
    int64_t s = step;
    int64_t diagonal = r - l + (b - t);
    switch (style) {
    case FIL_HATCH_HORIZONTAL:
        lineFamily(b - t, s, ct - t, cb - t, [&](int64_t d) { line(l, t + d, r, t + d); });
        break;
    case FIL_HATCH_VERTICAL:
        lineFamily(r - l, s, cl - l, cr - l, [&](int64_t d) { line(l + d, t, l + d, b); });
        break;
    case FIL_HATCH_FDIAGONAL:
        // Along x - y = l - b + d.
        lineFamily(diagonal, s, cl - cb - l + b, cr - ct - l + b,
                   [&](int64_t d) { line(l, b - d, l + d, b); });
        break;
    case FIL_HATCH_BDIAGONAL:
        // Along x + y = l + t + d.
        lineFamily(diagonal, s, cl + ct - l - t, cr + cb - l - t,
                   [&](int64_t d) { line(l, t + d, l + d, t); });
        break;
    case FIL_HATCH_CROSS:
        drawHatchLines(dc, rect, FIL_HATCH_HORIZONTAL, step);
        drawHatchLines(dc, rect, FIL_HATCH_VERTICAL, step);
        break;
    case FIL_HATCH_DIAGCROSS:
        drawHatchLines(dc, rect, FIL_HATCH_FDIAGONAL, step);
        drawHatchLines(dc, rect, FIL_HATCH_BDIAGONAL, step);
        break;
    default:
        break;   // styles 6..15: background and outline only
    }
}

RGBQUAD quadOf(COLORREF c)
{
    RGBQUAD q = {GetBValue(c), GetGValue(c), GetRValue(c), 0};
    return q;
}

}  // namespace

// ---- hatch byte ------------------------------------------------------------------------

uint8_t filHatchStyle(uint8_t hatch) { return hatch & 0x0F; }

int32_t filHatchSpacing(uint8_t hatch)
{
    int32_t s = hatch >> 4;
    return s ? s : 6;
}

uint8_t filMakeHatchByte(uint8_t style, uint8_t spacingPoints)
{
    return (uint8_t)((style & 0x0F) | ((spacingPoints & 0x0F) << 4));
}

int32_t filHatchStep(uint8_t hatch)
{
    int32_t v = filHatchSpacing(hatch) * 20;
    int32_t p = std::max(1, dmGetPixelSize());
    return std::max(2, v / p) * p;
}

// ---- patterns --------------------------------------------------------------------------

void filDefaultPattern(PatternFill *p)
{
    if (!p)
        return;
    p->size = sizeof(PatternFill);
    p->width = kPatternSide;
    p->height = kPatternSide;
    memset(p->rows, 0xFF, sizeof p->rows);
}

BOOL filPatternIs8x8(const PatternFill *p)
{
    return p && p->width == kPatternSide && p->height == (int16_t)kPatternSide;
}

BOOL filPatternIsBlank(const PatternFill *p)
{
    if (!filPatternIs8x8(p))
        return TRUE;
    for (uint8_t b : p->rows)
        if (b != 0xFF)
            return FALSE;
    return TRUE;
}

uint32_t filDibBitsOffset(const BITMAPINFOHEADER *h)
{
    if (!h || h->biSize < kDibHeaderSize || h->biSize > sizeof(BITMAPV5HEADER))
        return 0;
    uint32_t colours = h->biClrUsed;
    if (!colours && h->biBitCount <= 8)
        colours = 1u << h->biBitCount;
    if (colours > 256)
        return 0;
    return h->biSize + colours * (uint32_t)sizeof(RGBQUAD);
}

MemHandle filPatternToDib(HDC, const PatternFill *p)
{
    if (!p)
        return 0;
    uint8_t rows[16];
    patternRows(p, rows);
    const uint32_t bitsAt = kDibHeaderSize + 2 * sizeof(RGBQUAD);
    MemHandle h = utAllocHandle(0, bitsAt + kDibRowBytes * kPatternSide);
    if (!h)
        return 0;
    MemLock<uint8_t> d(h);
    BITMAPINFOHEADER head = {};
    head.biSize = kDibHeaderSize;
    head.biWidth = kPatternSide;
    head.biHeight = kPatternSide;
    head.biPlanes = 1;
    head.biBitCount = 1;
    memcpy(d.get(), &head, sizeof head);
    RGBQUAD table[2] = {quadOf(RGB(0, 0, 0)), quadOf(RGB(255, 255, 255))};
    memcpy(d.get() + kDibHeaderSize, table, sizeof table);
    // A DIB of positive height stores its bottom row first.
    for (uint32_t row = 0; row < kPatternSide; ++row)
        d[bitsAt + kDibRowBytes * (kPatternSide - 1 - row)] = rows[2 * row];
    return h;
}

HBRUSH filRecolorPatternBrush(HDC, MemHandle dib, COLORREF colour0, COLORREF colour1)
{
    uint32_t block = utHandleSize(dib);
    if (block < kDibHeaderSize)
        return nullptr;
    std::vector<uint8_t> copy;
    {
        MemLock<uint8_t> d(dib);
        if (!d)
            return nullptr;
        const BITMAPINFOHEADER *h = reinterpret_cast<const BITMAPINFOHEADER *>(d.get());
        uint32_t bitsAt = filDibBitsOffset(h);
        if (!bitsAt || h->biBitCount != 1 || h->biPlanes != 1 || h->biWidth <= 0 ||
            h->biHeight == 0 || h->biCompression != BI_RGB)
            return nullptr;
        uint64_t rowBytes = ((uint64_t)h->biWidth + 31) / 32 * 4;
        uint64_t rows = (uint64_t)std::abs((int64_t)h->biHeight);
        uint64_t need = bitsAt + rowBytes * rows;
        if (need > block || bitsAt < kDibHeaderSize + 2 * sizeof(RGBQUAD))
            return nullptr;
        copy.assign(d.get(), d.get() + need);
    }
    // The colours go into the copy: the caller's bitmap keeps its table.
    RGBQUAD table[2] = {quadOf(colour0), quadOf(colour1)};
    const BITMAPINFOHEADER *h = reinterpret_cast<const BITMAPINFOHEADER *>(copy.data());
    memcpy(copy.data() + h->biSize, table, sizeof table);
    return CreateDIBPatternBrushPt(copy.data(), DIB_RGB_COLORS);
}

HBRUSH filPatternBrush(HDC dc, const PatternFill *p, COLORREF colour0, COLORREF colour1)
{
    MemHandle dib = filPatternToDib(dc, p);
    if (!dib)
        return nullptr;
    HBRUSH brush = filRecolorPatternBrush(dc, dib, colour0, colour1);
    utFreeHandle(dib);
    return brush;
}

// ---- clipping to a polygon ------------------------------------------------------------------

FilPolygonClip::FilPolygonClip(HDC dc, const POINT *pts, int16_t n)
    : dc_(dc), saved_(nullptr), active_(false)
{
    if (!dc || !pts || n < 3)
        return;
    if (!dmIsMetafileMode() && !GetDeviceCaps(dc, CLIPCAPS))
        return;
    std::vector<POINT> dev(pts, pts + n);
    LPtoDP(dc, dev.data(), n);
    GdiObject<HRGN> shape(CreatePolygonRgn(dev.data(), n, ALTERNATE));
    HRGN before = CreateRectRgn(0, 0, 0, 0);
    if (!shape || !before) {
        if (before)
            DeleteObject(before);
        return;
    }
    int had = GetClipRgn(dc, before);
    if (had == 1) {
        saved_ = before;
        active_ = ExtSelectClipRgn(dc, shape, RGN_AND) != ERROR;
    } else {
        DeleteObject(before);
        active_ = had == 0 && SelectClipRgn(dc, shape) != ERROR;
    }
}

FilPolygonClip::~FilPolygonClip()
{
    if (active_)
        SelectClipRgn(dc_, saved_);
    if (saved_)
        DeleteObject(saved_);
}

// ---- drawing closed shapes -----------------------------------------------------------------

void filDrawClosedShape(HDC dc, ObjectRecord *rec, const std::function<void(HDC)> &figure)
{
    if (!dc || !rec)
        return;
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    if (rec->fillKind == FILL_GRADIENT) {
        fillClosedShape(dc, rec);
    } else if (rec->fillKind == FILL_HATCH) {
        fillByClipRegion(dc, rec);
    } else {
        HBRUSH made = nullptr;
        POINT oldOrigin;
        bool pattern = rec->fillKind == FILL_PATTERN;
        if (rec->fillKind == FILL_SOLID) {
            made = CreateSolidBrush(rec->fillColour);
        } else if (pattern) {
            const uint8_t *block = obGetPatternData(rec);
            if (block) {
                PatternFill p;
                memcpy(&p, block, sizeof p);
                made = filPatternBrush(dc, &p, rec->fillColour, rec->backColour);
            }
            GetBrushOrgEx(dc, &oldOrigin);
            obSetPatternOrigin(dc, rec);
        }
        GdiObject<HBRUSH> brush(made);
        // A pattern that cannot be made leaves the DC's brush in place.
        HGDIOBJ use = brush ? (HGDIOBJ)brush : pattern ? nullptr : GetStockObject(NULL_BRUSH);
        GdiObject<HPEN> pen(CreatePen(gdiLineStylePen(rec->lineStyle), obGetDrawnPenWidth(rec),
                                      rec->penColour));
        {
            GdiSelect selBrush(dc, use);
            GdiSelect selPen(dc, pen);
            figure(dc);
        }
        if (pattern)
            SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    }
    obRestoreDCModes(dc, &modes);
}

void fillByClipRegion(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    int16_t n = 0;
    MemHandle outline = obRecGetOutline(rec, &n);
    if (!outline || n < 2) {
        utFreeHandle(outline);
        return;
    }
    {
        MemLock<POINT> pts(outline);
        {
            FilPolygonClip clip(dc, pts.get(), n);
            obFillPolygonBack(dc, rec, pts.get(), n);
            RECT drawn;
            obRecGetDrawnRect(rec, &drawn);
            GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, rec->fillColour));
            GdiSelect selPen(dc, pen);
            if (pen)
                drawHatchLines(dc, &drawn, filHatchStyle(rec->hatch), filHatchStep(rec->hatch));
        }
        if (!(rec->penColour == rec->fillColour && rec->fillColour == rec->backColour))
            obFramePolygon(dc, rec, pts.get(), n);
    }
    utFreeHandle(outline);
}

void fillByClipRegion(HDC dc, MemHandle h)
{
    ObLock r(h);
    if (r)
        fillByClipRegion(dc, r.get());
}
