// Drawing primitives, line-style pens, shadows and 3-D edges.
#include "support/gdi_draw.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include <math.h>
#include <stddef.h>
#include <algorithm>
#include <vector>

namespace {

struct ShadowSettings {
    int16_t depthPoints;
    int16_t stockIndex;   // 0: a solid brush of the colour
    COLORREF colour;
};

const ShadowSettings kDefaultShadow = {5, GRAY_BRUSH, 0};
// Wider pens than this go to the system's own outline drawing.
const int kMaxOutlineWidth = 1024;
ShadowSettings g_shadow = kDefaultShadow;

uint8_t lighten(uint8_t c) { return (uint8_t)(255 - (255 - c) / 4); }
uint8_t darken(uint8_t c) { return (uint8_t)(c * 2 / 3); }

// ---- outlines of wide pens --------------------------------------------------------
// The system draws a pen of two device pixels or more as a region: a band
// or a four-sided piece for every segment of the figure's outline and a
// round disc at every vertex, each united with the region built so far.
// An ellipse's outline has a vertex at every pixel step, so the uniting
// grows with the square of its size and of the zoom. The same pixels are
// drawn here by collecting the rows of the same pieces (the discs from the
// system's own region of a disc, the slanted pieces scanned by the rule
// the system's polygon regions follow) by device row and merging each
// row's spans. Into a DIB section of 24 or 32 bits a pixel the rows are
// written directly, within the DC's clip region; elsewhere equal rows run
// together into bands, painted as thin lines in one call or, where large
// both ways, as rectangles. The figure's inside is filled first by the
// figure itself with a null pen: the system fills the inside less the
// outline, then the outline over it, which for a plain copy of the pen
// gives the same pixels.

// How an outline is drawn: the pen's device width, as the system reckons
// it, and colour; and where the DC draws into a DIB section of 24 or 32
// bits a pixel that holds colours as they are, its pixels, which the
// outline is then written into directly.
struct OutlinePen {
    int width = 0;
    COLORREF colour = 0;
    uint8_t *bits = nullptr;   // the top row's first pixel
    ptrdiff_t stride = 0;      // bytes from a row to the next one down
    int bytesPerPixel = 0;
    int w = 0, h = 0;
};

// Whether a DIB section's first row in memory is its top row (1) or its
// bottom row (-1); 0 when that cannot be told. The header the system gives
// back does not say (its height is positive either way): a mark is put in
// the first and the last row and the system's top row read back. Kept for
// the last bitmap asked about.
int firstRowOnTop(HBITMAP bitmap, const DIBSECTION &ds)
{
    static struct {
        HBITMAP bitmap;
        void *bits;
        LONG w, h, stride;
        int answer;
    } kept = {};
    const BITMAP &bm = ds.dsBm;
    if (kept.bitmap == bitmap && kept.bits == bm.bmBits && kept.w == bm.bmWidth &&
        kept.h == bm.bmHeight && kept.stride == bm.bmWidthBytes)
        return kept.answer;
    int answer = 1;
    if (bm.bmHeight > 1) {
        uint8_t *first = static_cast<uint8_t *>(bm.bmBits);
        uint8_t *last = first + (ptrdiff_t)(bm.bmHeight - 1) * bm.bmWidthBytes;
        std::vector<uint8_t> top((size_t)bm.bmWidthBytes);
        GdiFlush();
        const uint8_t was[2] = {first[0], last[0]};
        first[0] = 0x11;
        last[0] = 0x22;
        LONG got = GetBitmapBits(bitmap, bm.bmWidthBytes, top.data());
        first[0] = was[0];
        last[0] = was[1];
        answer = got <= 0 ? 0 : top[0] == 0x11 ? 1 : top[0] == 0x22 ? -1 : 0;
    }
    kept = {bitmap, bm.bmBits, bm.bmWidth, bm.bmHeight, bm.bmWidthBytes, answer};
    return answer;
}

// Where a DIB section's pixels can be written as the system writes them:
// 32 bits (blue, green, red, a zero byte) or 24 bits, not a palette.
void directPixels(HBITMAP bitmap, const DIBSECTION &ds, COLORREF colour, OutlinePen *pen)
{
    const BITMAPINFOHEADER &bh = ds.dsBmih;
    bool plain32 = bh.biCompression == BI_RGB ||
                   (bh.biCompression == BI_BITFIELDS && ds.dsBitfields[0] == 0xFF0000 &&
                    ds.dsBitfields[1] == 0xFF00 && ds.dsBitfields[2] == 0xFF);
    bool rgb = (ds.dsBm.bmBitsPixel == 32 && plain32) ||
               (ds.dsBm.bmBitsPixel == 24 && bh.biCompression == BI_RGB);
    // A palette index or a colour matched to a palette is the system's to map.
    if (!ds.dsBm.bmBits || !rgb || (colour >> 24) != 0 || ds.dsBm.bmWidth <= 0 ||
        ds.dsBm.bmHeight <= 0 || ds.dsBm.bmWidthBytes <= 0)
        return;
    int onTop = firstRowOnTop(bitmap, ds);
    if (!onTop)
        return;
    pen->bytesPerPixel = ds.dsBm.bmBitsPixel / 8;
    pen->w = ds.dsBm.bmWidth;
    pen->h = ds.dsBm.bmHeight;
    pen->stride = ds.dsBm.bmWidthBytes;
    pen->bits = static_cast<uint8_t *>(ds.dsBm.bmBits);
    if (onTop < 0) {
        pen->bits += (ptrdiff_t)(pen->h - 1) * pen->stride;
        pen->stride = -pen->stride;
    }
}

// A pen the outline path draws: a plain (not extended) pen, solid or
// dashed (the system draws a dashed pen of two pixels or more solid), two
// device pixels wide or more, on a raster display or bitmap DC that copies
// the pen in the compatible graphics mode without mirroring.
bool wideOutlinePen(HDC dc, OutlinePen *out)
{
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    // Room for an extended pen too: only a plain pen fills exactly a LOGPEN.
    union {
        LOGPEN plain;
        EXTLOGPEN extended;
        uint8_t room[64];
    } got;
    if (!pen || GetObjectA(pen, sizeof got, &got) != (int)sizeof(LOGPEN))
        return false;
    const LOGPEN &lp = got.plain;
    if (lp.lopnWidth.x < 2)
        return false;
    switch (lp.lopnStyle) {
    case PS_SOLID:
    case PS_DASH:
    case PS_DOT:
    case PS_DASHDOT:
    case PS_DASHDOTDOT: break;
    default: return false;
    }
    if (GetGraphicsMode(dc) != GM_COMPATIBLE || GetROP2(dc) != R2_COPYPEN || GetLayout(dc) != 0)
        return false;
    POINT p[2] = {{0, 0}, {lp.lopnWidth.x, 0}};
    if (!LPtoDP(dc, p, 2))
        return false;
    *out = OutlinePen();
    out->width = abs(p[1].x - p[0].x);
    out->colour = lp.lopnColor;
    if (out->width < 2 || out->width > kMaxOutlineWidth)
        return false;
    // A bitmap of fewer than 16 bits a pixel may show the pen's colour
    // otherwise than a brush's. (The depth is asked of the bitmap: asking
    // the DC goes to the display.)
    DWORD type = GetObjectType(dc);
    if ((type != OBJ_DC && type != OBJ_MEMDC) || GetDeviceCaps(dc, TECHNOLOGY) != DT_RASDISPLAY)
        return false;
    if (type == OBJ_DC)
        return true;
    DIBSECTION ds;
    HBITMAP bitmap = (HBITMAP)GetCurrentObject(dc, OBJ_BITMAP);
    int size = GetObjectA(bitmap, sizeof ds, &ds);
    if (size < (int)sizeof(BITMAP) || ds.dsBm.bmBitsPixel < 16)
        return false;
    if (size == (int)sizeof ds)
        directPixels(bitmap, ds, out->colour, out);
    return true;
}

// The pixel rows of a region, as rectangles.
std::vector<RECT> regionRows(HRGN region)
{
    std::vector<RECT> rows;
    DWORD bytes = region ? GetRegionData(region, 0, nullptr) : 0;
    if (bytes >= sizeof(RGNDATAHEADER)) {
        std::vector<uint8_t> data(bytes);
        RGNDATA *rd = reinterpret_cast<RGNDATA *>(data.data());
        if (GetRegionData(region, bytes, rd) == bytes) {
            const RECT *r = reinterpret_cast<const RECT *>(rd->Buffer);
            rows.assign(r, r + rd->rdh.nCount);
        }
    }
    return rows;
}

LONG roundHalf(double f) { return (LONG)(f > 0 ? f + 0.5 : f - 0.5); }

// The four-sided piece the system draws for a slanted segment from a to b
// with a pen of the width: the segment widened across its direction, the
// rounding of the two halves as the system rounds them.
void slantedPiece(POINT a, POINT b, int width, POINT q[4])
{
    int dx = b.x - a.x, dy = b.y - a.y;
    double length = hypot(dx, dy);
    double wx = width * abs(dy) / length, wy = width * abs(dx) / length;
    POINT nearSide = {roundHalf(wx / 2), roundHalf(wy / 2)};
    POINT farSide = {roundHalf((wx + 1) / 2), roundHalf((wy + 1) / 2)};
    if (dx < 0) {
        nearSide.y = -nearSide.y;
        farSide.y = -farSide.y;
    }
    if (dy < 0) {
        std::swap(nearSide, farSide);
        nearSide.x = -nearSide.x;
        farSide.x = -farSide.x;
    }
    q[0] = POINT{a.x - nearSide.x, a.y + nearSide.y};
    q[1] = POINT{a.x + farSide.x, a.y - farSide.y};
    q[2] = POINT{b.x + farSide.x, b.y - farSide.y};
    q[3] = POINT{b.x - nearSide.x, b.y + nearSide.y};
}

// The pixel rows of a polygon region as the system makes them (alternate
// filling): row y takes the pixels from the first crossing of the row by
// an edge to the next, each crossing rounded up to a whole pixel; an edge
// crosses the rows from its upper end down to, not including, its lower
// one. Each span found goes to add(y, left, right). At most 8 points.
template <typename Add>
void polygonRows(const POINT *p, int n, Add add)
{
    if (n < 3 || n > 8)
        return;
    int top = p[0].y, bottom = p[0].y;
    for (int i = 1; i < n; ++i) {
        top = std::min<int>(top, p[i].y);
        bottom = std::max<int>(bottom, p[i].y);
    }
    if (top >= bottom)
        return;
    // Each row's crossings, n places a row.
    const size_t rows = (size_t)(bottom - top);
    static std::vector<int> xs;
    static std::vector<uint8_t> crossings;
    xs.resize(rows * (size_t)n);
    crossings.assign(rows, 0);
    for (int i = 0; i < n; ++i) {
        POINT a = p[i], b = p[(i + 1) % n];
        if (a.y == b.y)
            continue;
        if (a.y > b.y)
            std::swap(a, b);
        // The crossing of row a.y + k is a.x + ceil(k dx / dy): k dx is
        // kept as whole dy's and what is left over.
        const int dy = b.y - a.y, dx = b.x - a.x;
        const int whole = dx >= 0 ? dx / dy : -((-dx + dy - 1) / dy), over = dx - whole * dy;
        int q = 0, r = 0;
        for (int y = a.y; y < b.y; ++y) {
            size_t row = (size_t)(y - top);
            xs[row * (size_t)n + crossings[row]++] = a.x + q + (r > 0);
            q += whole;
            r += over;
            if (r >= dy) {
                r -= dy;
                ++q;
            }
        }
    }
    for (size_t row = 0; row < rows; ++row) {
        int *x = &xs[row * (size_t)n];
        const int k = crossings[row];
        if (k == 2) {
            // A convex figure's row: the commonest by far.
            if (x[0] != x[1])
                add(top + (int)row, std::min(x[0], x[1]), std::max(x[0], x[1]));
            continue;
        }
        std::sort(x, x + k);
        for (int j = 0; j + 1 < k; j += 2)
            if (x[j] < x[j + 1])
                add(top + (int)row, x[j], x[j + 1]);
    }
}

// The pixel rows of a slanted piece, as rectangles.
std::vector<RECT> slantedRows(POINT a, POINT b, int width)
{
    POINT q[4];
    slantedPiece(a, b, width, q);
    std::vector<RECT> rows;
    polygonRows(q, 4, [&](int y, int l, int r) { rows.push_back(RECT{l, y, r, y + 1}); });
    return rows;
}

// The rows of a set of rectangles, one rectangle a row and run, in order
// of rows and, within a row, from the left.
std::vector<RECT> rowsOf(const std::vector<RECT> &pieces)
{
    std::vector<RECT> rows;
    for (const RECT &r : pieces)
        for (LONG y = r.top; y < r.bottom; ++y)
            if (r.left < r.right)
                rows.push_back(RECT{r.left, y, r.right, y + 1});
    std::sort(rows.begin(), rows.end(), [](const RECT &a, const RECT &b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    std::vector<RECT> merged;
    for (const RECT &r : rows) {
        if (!merged.empty() && merged.back().top == r.top && r.left <= merged.back().right)
            merged.back().right = std::max(merged.back().right, r.right);
        else
            merged.push_back(r);
    }
    return merged;
}

// What a width's outlines are made of, made once per width: the rows of
// the disc the system puts at each vertex, about the vertex, and for the
// short steps (up to 2 pixels either way) that curved outlines are made
// of, the rows of the step's piece (or band, level or upright) together
// with the disc at its end, about its first point.
const int kShortStep = 2;
struct OutlineParts {
    bool made = false;
    std::vector<RECT> disc;
    std::vector<RECT> steps[2 * kShortStep + 1][2 * kShortStep + 1];
};

const OutlineParts &outlineParts(int width)
{
    static std::vector<OutlineParts> made(kMaxOutlineWidth + 1);
    OutlineParts &p = made[(size_t)width];
    if (!p.made) {
        p.made = true;
        HRGN disc = CreateEllipticRgn(-(width / 2), -(width / 2), (width + 1) / 2 + 1,
                                      (width + 1) / 2 + 1);
        p.disc = regionRows(disc);
        if (disc)
            DeleteObject(disc);
        const int half = width / 2;
        for (int dx = -kShortStep; dx <= kShortStep; ++dx)
            for (int dy = -kShortStep; dy <= kShortStep; ++dy) {
                std::vector<RECT> pieces;
                if (dx && dy)
                    pieces = slantedRows(POINT{0, 0}, POINT{dx, dy}, width);
                else if (dx)
                    pieces.push_back(RECT{std::min(0, dx), -half, std::max(0, dx), width - half});
                else if (dy)
                    pieces.push_back(RECT{-half, std::min(0, dy), width - half, std::max(0, dy)});
                for (const RECT &r : p.disc)
                    pieces.push_back(RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy});
                p.steps[dx + kShortStep][dy + kShortStep] = rowsOf(pieces);
            }
    }
    return p;
}

// The logical coordinates of device pixel edges under a DC's mapping, for
// mappings whose logical unit is at most a pixel (every pixel edge then has
// a logical coordinate that maps onto it exactly). The system maps a
// logical x to the device as floor(x * scale + offset + 0.5), the scale and
// offset taken from the extents and origins.
struct PixelEdges {
    double sx = 1, ox = 0, sy = 1, oy = 0;
    static LONG inverse(int d, double s, double o)
    {
        LONG l = (LONG)floor((d - o) / s + 0.5);
        for (LONG k : {l, l - 1, l + 1})
            if ((int)floor(k * s + o + 0.5) == d)
                return k;
        return l;
    }
    LONG logicalX(int d) const { return inverse(d, sx, ox); }
    LONG logicalY(int d) const { return inverse(d, sy, oy); }
};

bool pixelEdges(HDC dc, PixelEdges *e)
{
    SIZE we, ve;
    POINT wo, vo;
    if (!GetWindowExtEx(dc, &we) || !GetViewportExtEx(dc, &ve) || !GetWindowOrgEx(dc, &wo) ||
        !GetViewportOrgEx(dc, &vo) || we.cx == 0 || we.cy == 0)
        return false;
    e->sx = ve.cx / (double)we.cx;
    e->sy = ve.cy / (double)we.cy;
    e->ox = vo.x - e->sx * wo.x;
    e->oy = vo.y - e->sy * wo.y;
    return e->sx > 0 && e->sx <= 1 && e->sy > 0 && e->sy <= 1;
}

// A run of a pixel row [x0, x1).
struct Span {
    int x0, x1;
    bool operator==(const Span &o) const { return x0 == o.x0 && x1 == o.x1; }
};

// Spans no wider or taller than this are painted as lines of single
// pixels, all of them in one call; larger ones each as one rectangle.
const int kLineSpan = 3;

// The outline of a closed figure of device points drawn with a wide pen:
// the rows of every piece collected by device row and merged, rows alike
// run together into bands, and each band's spans painted: as lines one
// pixel wide across the band's shorter side, collected for one call (a
// call to the system costs more than the pixels of a thin span), or as a
// rectangle where the span is large both ways, all rectangles in one call
// too: an outline costs two calls however many spans it has.
class WideOutline {
public:
    explicit WideOutline(int width) : width_(width), parts_(outlineParts(width)) {}
    bool ready() const { return !parts_.disc.empty(); }

    // Every segment from a point to the next, the last to the first, and a
    // disc at every point.
    void closedPath(const POINT *pts, size_t n, bool closed = true)
    {
        if (!n)
            return;
        int top = pts[0].y, bottom = pts[0].y;
        for (size_t i = 1; i < n; ++i) {
            top = std::min<int>(top, pts[i].y);
            bottom = std::max<int>(bottom, pts[i].y);
        }
        top_ = top - width_ - 2;
        size_t rows = (size_t)(bottom - top) + 2 * (size_t)width_ + 5;
        last_.assign(rows, -1);
        cells_.clear();
        used_ = rows;
        // The disc at the first point, then each segment with the disc at
        // its end.
        addRects(parts_.disc, pts[0]);
        const size_t segments = closed && n > 1 ? n : n - 1;
        for (size_t i = 0; i < segments; ++i)
            step(pts[i], pts[(i + 1) % n]);
    }

    // Every segment from a point to the next and a disc at every point
    // (the round ends of an open path are the same discs).
    void openPath(const POINT *pts, size_t n)
    {
        closedPath(pts, n, false);
    }

    // Paints the rows in the pen's colour.
    BOOL paint(HDC dc, const OutlinePen &pen)
    {
        sortRows();
        if (pen.bits) {
            int done = paintPixels(dc, pen);
            if (done >= 0)
                return done;
        }
        return paintCalls(dc, pen.colour);
    }

private:
    // Writes the rows into the DIB section's pixels within the DC's clip
    // region: 1 when done, -1 when the clip region cannot be read.
    int paintPixels(HDC dc, const OutlinePen &pen)
    {
        // The clip region of the DC (its clip and meta regions together)
        // in device units, as the system's GetRandomRgn code 3 gives it.
        const INT kClipAndMeta = 3;
        static HRGN clip = CreateRectRgn(0, 0, 0, 0);
        if (!clip)
            return -1;
        const RECT all = {0, 0, pen.w, pen.h};
        std::vector<RECT> &clips = clips_;
        clips.clear();
        int got = GetRandomRgn(dc, clip, kClipAndMeta);
        if (got < 0)
            return -1;
        if (got == 0) {
            clips.push_back(all);
        } else {
            RECT box;
            switch (GetRgnBox(clip, &box)) {
            case NULLREGION: return 1;
            case SIMPLEREGION: clips.push_back(box); break;
            case COMPLEXREGION: clips = regionRows(clip); break;
            default: return -1;
            }
        }
        // Cut to the bitmap, keeping the region's order: bands of rows top
        // down, each of rectangles of the same rows.
        size_t kept = 0;
        for (const RECT &c : clips) {
            RECT r;
            if (IntersectRect(&r, &c, &all))
                clips[kept++] = r;
        }
        clips.resize(kept);
        GdiFlush();
        const COLORREF c = pen.colour;
        const uint32_t pixel =
            ((uint32_t)GetRValue(c) << 16) | ((uint32_t)GetGValue(c) << 8) | GetBValue(c);
        size_t first = 0;   // the first clip rectangle below row y's top
        for (size_t i = 0; i < used_; ++i) {
            int y = top_ + (int)i;
            while (first < clips.size() && clips[first].bottom <= y)
                ++first;
            if (first == clips.size())
                break;
            const Span *from = &sorted_[(size_t)start_[i]], *to = &sorted_[(size_t)end_[i]];
            if (from == to || clips[first].top > y)
                continue;
            uint8_t *line = pen.bits + (ptrdiff_t)y * pen.stride;
            for (size_t k = first; k < clips.size() && clips[k].top <= y; ++k)
                for (const Span *s = from; s < to; ++s) {
                    int x0 = std::max<int>(s->x0, clips[k].left);
                    int x1 = std::min<int>(s->x1, clips[k].right);
                    if (x0 >= x1)
                        continue;
                    if (pen.bytesPerPixel == 4) {
                        std::fill_n(reinterpret_cast<uint32_t *>(line) + x0, x1 - x0, pixel);
                    } else {
                        for (uint8_t *p = line + 3 * x0, *end = line + 3 * x1; p < end; p += 3) {
                            p[0] = GetBValue(c);
                            p[1] = GetGValue(c);
                            p[2] = GetRValue(c);
                        }
                    }
                }
        }
        return 1;
    }

    // Paints the rows through the system's calls.
    BOOL paintCalls(HDC dc, COLORREF colour)
    {
        // Device pixels are reached in logical units where a logical unit
        // is at most a pixel; else the DC is put to pixels for the painting.
        PixelEdges edges;
        int saved = 0;
        if (!pixelEdges(dc, &edges)) {
            saved = SaveDC(dc);
            if (!saved)
                return FALSE;
            SetMapMode(dc, MM_TEXT);
            SetWindowOrgEx(dc, 0, 0, nullptr);
            SetViewportOrgEx(dc, 0, 0, nullptr);
            pixelEdges(dc, &edges);
        }
        lines_.clear();
        blocks_.clear();
        // A band of rows alike: its spans (in band_) from row bandTop.
        std::vector<Span> &band = band_;
        band.clear();
        int bandTop = 0;
        auto flush = [&](int bottom) {
            if (band.empty())
                return;
            const int h = bottom - bandTop;
            for (const Span &s : band) {
                const int w = s.x1 - s.x0;
                if (w <= h && w <= kLineSpan) {
                    // Upright lines, one a column.
                    LONG t = edges.logicalY(bandTop), b = edges.logicalY(bottom);
                    for (int x = s.x0; x < s.x1; ++x) {
                        LONG l = edges.logicalX(x);
                        lines_.push_back(POINT{l, t});
                        lines_.push_back(POINT{l, b});
                    }
                } else if (h <= kLineSpan) {
                    // Level lines, one a row.
                    LONG l = edges.logicalX(s.x0), r = edges.logicalX(s.x1);
                    for (int y = bandTop; y < bottom; ++y) {
                        LONG ly = edges.logicalY(y);
                        lines_.push_back(POINT{l, ly});
                        lines_.push_back(POINT{r, ly});
                    }
                } else {
                    blocks_.push_back(RECT{edges.logicalX(s.x0), edges.logicalY(bandTop),
                                           edges.logicalX(s.x1), edges.logicalY(bottom)});
                }
            }
            band.clear();
        };
        for (size_t i = 0; i < used_; ++i) {
            int y = top_ + (int)i;
            const Span *from = &sorted_[(size_t)start_[i]], *to = &sorted_[(size_t)end_[i]];
            if ((size_t)(to - from) != band.size() || !std::equal(from, to, band.begin())) {
                flush(y);
                band.assign(from, to);
                bandTop = y;
            }
        }
        flush(top_ + (int)used_);
        BOOL ok = TRUE;
        if (!lines_.empty()) {
            // A line is drawn from its first point up to, not including,
            // its last: exactly the span's pixels.
            HPEN pen = tool<HPEN>(colour);
            size_t n = lines_.size() / 2;
            if (counts_.size() < n)
                counts_.resize(n, 2);
            HGDIOBJ old = pen ? SelectObject(dc, pen) : nullptr;
            ok = old && PolyPolyline(dc, lines_.data(), counts_.data(), (DWORD)n);
            if (old)
                SelectObject(dc, old);
        }
        if (!blocks_.empty()) {
            // Every block in one call: four-cornered figures filled without
            // an outline cover exactly the pixels from their top left up
            // to, not including, their bottom right, as the blocks do.
            corners_.clear();
            for (const RECT &r : blocks_) {
                corners_.push_back(POINT{r.left, r.top});
                corners_.push_back(POINT{r.right, r.top});
                corners_.push_back(POINT{r.right, r.bottom});
                corners_.push_back(POINT{r.left, r.bottom});
            }
            const size_t n = blocks_.size();
            if (fours_.size() < n)
                fours_.resize(n, 4);
            HBRUSH brush = tool<HBRUSH>(colour);
            HGDIOBJ old = brush ? SelectObject(dc, brush) : nullptr;
            HGDIOBJ oldPen = old ? SelectObject(dc, GetStockObject(NULL_PEN)) : nullptr;
            const int fill = SetPolyFillMode(dc, WINDING);
            ok = old && oldPen && PolyPolygon(dc, corners_.data(), fours_.data(), (int)n) && ok;
            if (fill)
                SetPolyFillMode(dc, fill);
            if (oldPen)
                SelectObject(dc, oldPen);
            if (old)
                SelectObject(dc, old);
        }
        if (saved)
            RestoreDC(dc, saved);
        return ok;
    }

    // A thin solid pen or a solid brush of the colour, kept for the next
    // outline of the same colour (outlines of one colour follow each other).
    template <typename Tool>
    static Tool tool(COLORREF colour)
    {
        static Tool kept = nullptr;
        static COLORREF keptColour = 0;
        if (!kept || keptColour != colour) {
            Tool made = make(colour, (Tool) nullptr);
            if (!made)
                return nullptr;
            if (kept)
                DeleteObject(kept);
            kept = made;
            keptColour = colour;
        }
        return kept;
    }
    static HPEN make(COLORREF colour, HPEN) { return CreatePen(PS_SOLID, 0, colour); }
    static HBRUSH make(COLORREF colour, HBRUSH) { return CreateSolidBrush(colour); }

    // Adds [l, r) to row y. Neighbouring pieces mostly overlap the span
    // added last: it grows instead, which keeps the rows short.
    void addSpan(int y, int l, int r)
    {
        if (l >= r || y < top_ || y >= top_ + (int)used_)
            return;
        int &last = last_[(size_t)(y - top_)];
        if (last >= 0) {
            Span &s = cells_[(size_t)last].span;
            if (l <= s.x1 && r >= s.x0) {
                s.x0 = std::min(s.x0, l);
                s.x1 = std::max(s.x1, r);
                return;
            }
        }
        last = (int)cells_.size();
        cells_.push_back(Cell{y - top_, Span{l, r}});
    }

    void addRect(int l, int t, int r, int b)
    {
        for (int y = t; y < b; ++y)
            addSpan(y, l, r);
    }

    void addRects(const std::vector<RECT> &rects, POINT at)
    {
        for (const RECT &r : rects)
            addRect(at.x + r.left, at.y + r.top, at.x + r.right, at.y + r.bottom);
    }

    // A segment and the disc at its end: a short step's made rows, or the
    // segment's own and the disc's.
    void step(POINT a, POINT b)
    {
        int dx = b.x - a.x, dy = b.y - a.y;
        if (abs(dx) <= kShortStep && abs(dy) <= kShortStep) {
            addRects(parts_.steps[dx + kShortStep][dy + kShortStep], a);
        } else {
            segment(a, b);
            addRects(parts_.disc, b);
        }
    }

    // The band of a level or upright segment (its ends are the discs'),
    // or the piece of a slanted one.
    void segment(POINT a, POINT b)
    {
        int dx = b.x - a.x, dy = b.y - a.y;
        if (dy == 0) {
            int t = a.y - width_ / 2;
            addRect(std::min(a.x, b.x), t, std::max(a.x, b.x), t + width_);
        } else if (dx == 0) {
            int l = a.x - width_ / 2;
            addRect(l, std::min(a.y, b.y), l + width_, std::max(a.y, b.y));
        } else {
            POINT q[4];
            slantedPiece(a, b, width_, q);
            polygonRows(q, 4, [this](int y, int l, int r) { addSpan(y, l, r); });
        }
    }

    // The spans collected put in order of rows (row i's in sorted_ from
    // start_[i]), each row's sorted and joined where they touch or overlap
    // (ending at end_[i]).
    void sortRows()
    {
        start_.assign(used_ + 1, 0);
        for (const Cell &c : cells_)
            ++start_[(size_t)c.row + 1];
        for (size_t i = 0; i < used_; ++i)
            start_[i + 1] += start_[i];
        end_.assign(start_.begin(), start_.end() - 1);
        sorted_.resize(cells_.size() + 1);   // one more: &sorted_[end] stays valid
        for (const Cell &c : cells_)
            sorted_[(size_t)end_[(size_t)c.row]++] = c.span;
        for (size_t i = 0; i < used_; ++i) {
            Span *from = &sorted_[(size_t)start_[i]], *to = &sorted_[(size_t)end_[i]];
            if (to - from < 2)
                continue;
            std::sort(from, to, [](const Span &a, const Span &b) { return a.x0 < b.x0; });
            Span *out = from;
            for (const Span *s = from + 1; s < to; ++s) {
                if (s->x0 <= out->x1)
                    out->x1 = std::max(out->x1, s->x1);
                else
                    *++out = *s;
            }
            end_[i] = (int)(out + 1 - sorted_.data());
        }
    }

    int width_;
    const OutlineParts &parts_;
    int top_ = 0;
    size_t used_ = 0;
    // A span and its row (from top_).
    struct Cell {
        int row;
        Span span;
    };
    // Kept between figures, so that drawing allocates only as figures grow:
    // the spans as collected, each row's last one, and the rows in order.
    static std::vector<Cell> cells_;
    static std::vector<int> last_, start_, end_;
    static std::vector<Span> sorted_, band_;
    static std::vector<POINT> lines_;
    static std::vector<DWORD> counts_;
    static std::vector<RECT> blocks_, clips_;
    static std::vector<POINT> corners_;
    static std::vector<INT> fours_;
};
std::vector<WideOutline::Cell> WideOutline::cells_;
std::vector<int> WideOutline::last_, WideOutline::start_, WideOutline::end_;
std::vector<Span> WideOutline::sorted_, WideOutline::band_;
std::vector<POINT> WideOutline::lines_;
std::vector<DWORD> WideOutline::counts_;
std::vector<RECT> WideOutline::blocks_, WideOutline::clips_;
std::vector<POINT> WideOutline::corners_;
std::vector<INT> WideOutline::fours_;

uint32_t g_wideOutlines = 0;

// Calls the figure with a null pen (its inside alone), then draws the
// outline of the device points.
template <typename Figure>
BOOL insideThenOutline(HDC dc, const OutlinePen &outlinePen, const std::vector<POINT> &outline,
                       Figure figure)
{
    WideOutline o(outlinePen.width);
    if (!o.ready())
        return FALSE;
    ++g_wideOutlines;
    HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
    BOOL ok = figure();
    SelectObject(dc, pen);
    o.closedPath(outline.data(), outline.size());
    return o.paint(dc, outlinePen) && ok;
}

// The device rectangle of a figure's logical one, ordered; false when it
// is empty (the system then draws nothing).
bool deviceRect(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, RECT *out)
{
    POINT p[2] = {{l, t}, {r, b}};
    if (!LPtoDP(dc, p, 2))
        return false;
    *out = RECT{std::min(p[0].x, p[1].x), std::min(p[0].y, p[1].y), std::max(p[0].x, p[1].x),
                std::max(p[0].y, p[1].y)};
    return out->left != out->right && out->top != out->bottom;
}

// The outline points of a rectangle drawn with a wide pen: its corners,
// the right and bottom edges one pixel in.
std::vector<POINT> rectOutline(const RECT &d)
{
    return {{d.right - 1, d.top}, {d.left, d.top}, {d.left, d.bottom - 1}, {d.right - 1, d.bottom - 1}};
}

// The outline points of a box with rounded corners of w x h device pixels
// (the whole box for an ellipse): every pixel step of the corner quarters,
// from the top right corner round to the left and back. A quarter is
// stepped from its level end (x = w - 1 of the corner box, y = h / 2)
// towards its upright end, moving out in y and in along x by the error of
// the ellipse's equation, until x passes the corner box's middle.
std::vector<POINT> roundOutline(const RECT &d, int w, int h)
{
    std::vector<POINT> q;
    const int64_t a = w - 1, b = h - 1;
    const int64_t growX = 8 * b * b, growY = 8 * a * a;
    int64_t stepX = 4 * b * b * (1 - a), stepY = 4 * a * a * (1 + (b % 2));
    int64_t error = stepX + stepY + a * a * (b % 2);
    POINT p = {(LONG)a, h / 2};
    while (p.x >= w / 2) {
        int64_t twice = 2 * error;
        q.push_back(p);
        if (twice >= stepX) {
            --p.x;
            stepX += growX;
            error += stepX;
        }
        if (twice <= stepY) {
            ++p.y;
            stepY += growY;
            error += stepY;
        }
    }
    size_t n = q.size();
    std::vector<POINT> pts(4 * n + 4);
    for (size_t i = 0; i < n; ++i)
        pts[i] = POINT{d.right - w + q[i].x, d.top + h - 1 - q[i].y};
    // Mirrored left to right, then top to bottom; a middle point on the
    // box's own edge is not repeated.
    size_t end = 2 * n - 1;
    if ((w & 1) && w == d.right - d.left)
        --end;
    for (size_t i = 0; i < n; ++i)
        pts[end - i] = POINT{d.left + d.right - 1 - pts[i].x, pts[i].y};
    n = end + 1;
    end = 2 * n - 1;
    if ((h & 1) && h == d.bottom - d.top)
        --end;
    for (size_t i = 0; i < n; ++i)
        pts[end - i] = POINT{pts[i].x, d.top + d.bottom - 1 - pts[i].y};
    pts.resize(end + 1);
    return pts;
}

// RoundRect (and Ellipse, the corners the whole box) with a wide pen
// through the outline path; the system's call otherwise.
BOOL roundRectOutlined(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                       int32_t cornerH, bool ellipse)
{
    auto system = [&]() {
        return ellipse ? Ellipse(dc, l, t, r, b) : RoundRect(dc, l, t, r, b, cornerW, cornerH);
    };
    OutlinePen pen;
    RECT d;
    if (!wideOutlinePen(dc, &pen) || !deviceRect(dc, l, t, r, b, &d))
        return system();
    POINT c[2] = {{0, 0}, {ellipse ? r - l : cornerW, ellipse ? b - t : cornerH}};
    LPtoDP(dc, c, 2);
    int w = std::min<int>(d.right - d.left, abs(c[1].x - c[0].x));
    int h = std::min<int>(d.bottom - d.top, abs(c[1].y - c[0].y));
    if (w <= 2 || h <= 2)
        return insideThenOutline(dc, pen, rectOutline(d),
                                 [&]() { return Rectangle(dc, l, t, r, b); });
    return insideThenOutline(dc, pen, roundOutline(d, w, h), system);
}

// A line from p to q (logical points) with a wide pen through the outline
// path: its piece and a disc at either end, as the system draws LineTo.
// false, drawing nothing, where the path does not apply.
bool wideLine(HDC dc, POINT p, POINT q, BOOL *ok)
{
    OutlinePen pen;
    if (!wideOutlinePen(dc, &pen) ||
        !gdiIsWithinSafeRange(dc, std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x),
                              std::max(p.y, q.y)))
        return false;
    POINT d[2] = {p, q};
    WideOutline o(pen.width);
    if (!LPtoDP(dc, d, 2) || !o.ready())
        return false;
    ++g_wideOutlines;
    o.openPath(d, 2);
    *ok = o.paint(dc, pen);
    return true;
}

// A segment beyond the safe device range cut to the DC's clip box, grown by
// the selected pen's width: the system draws a wide line of any length by
// its whole outline, so a far line would cost its length. false when no
// piece of it can show; a segment within the range, or a DC without a clip
// box, is left as it is.
bool cutToClip(HDC dc, POINT &p, POINT &q)
{
    RECT c;
    if (gdiIsWithinSafeRange(dc, std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x),
                             std::max(p.y, q.y)) ||
        GetClipBox(dc, &c) == ERROR)
        return true;
    double grow = 2;
    LOGPEN lp;
    EXTLOGPEN ext;
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    if (GetObjectA(pen, sizeof lp, &lp) == sizeof lp)
        grow += abs(lp.lopnWidth.x);
    else if (GetObjectA(pen, sizeof ext, &ext) >= (int)offsetof(EXTLOGPEN, elpNumEntries))
        grow += ext.elpWidth;
    POINT px[2] = {{0, 0}, {1, 1}};
    if (DPtoLP(dc, px, 2))
        grow += 2 * std::max(abs(px[1].x - px[0].x), abs(px[1].y - px[0].y));
    // Liang-Barsky: the part of p + t (q - p), 0 <= t <= 1, inside the box.
    const double x0 = p.x, y0 = p.y, dx = (double)q.x - p.x, dy = (double)q.y - p.y;
    const double edges[4][2] = {{-dx, x0 - (c.left - grow)}, {dx, (c.right + grow) - x0},
                                {-dy, y0 - (c.top - grow)}, {dy, (c.bottom + grow) - y0}};
    double t0 = 0, t1 = 1;
    for (const auto &e : edges) {
        if (e[0] == 0) {
            if (e[1] < 0)
                return false;
            continue;
        }
        double t = e[1] / e[0];
        if (e[0] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    POINT a = {geoRound(x0 + t0 * dx), geoRound(y0 + t0 * dy)};
    POINT b = {geoRound(x0 + t1 * dx), geoRound(y0 + t1 * dy)};
    p = a;
    q = b;
    return true;
}

}  // namespace

// ---- primitives ------------------------------------------------------------------

BOOL gdiLine(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    BOOL ok;
    if (wideLine(dc, POINT{x1, y1}, POINT{x2, y2}, &ok)) {
        MoveToEx(dc, x2, y2, nullptr);   // where LineTo leaves the position
        return ok;
    }
    POINT p = {x1, y1}, q = {x2, y2};
    if (!cutToClip(dc, p, q)) {
        MoveToEx(dc, x2, y2, nullptr);
        return TRUE;
    }
    MoveToEx(dc, p.x, p.y, nullptr);
    ok = LineTo(dc, q.x, q.y);
    if (q.x != x2 || q.y != y2)
        MoveToEx(dc, x2, y2, nullptr);
    return ok;
}

BOOL gdiLineXY(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    return gdiLine(dc, x1, y1, x2, y2);
}

BOOL gdiLinePts(HDC dc, POINT p, POINT q) { return gdiLine(dc, p.x, p.y, q.x, q.y); }
BOOL gdiMoveToPt(HDC dc, POINT p) { return MoveToEx(dc, p.x, p.y, nullptr); }
BOOL gdiLineToPt(HDC dc, POINT p)
{
    POINT at;
    BOOL ok;
    if (!GetCurrentPositionEx(dc, &at))
        return LineTo(dc, p.x, p.y);
    if (wideLine(dc, at, p, &ok)) {
        MoveToEx(dc, p.x, p.y, nullptr);
        return ok;
    }
    return gdiLinePts(dc, at, p);
}

COLORREF gdiSetPixel(HDC dc, int32_t x, int32_t y, COLORREF colour)
{
    return SetPixel(dc, x, y, colour);
}

BOOL gdiRectanglePlain(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b)
{
    OutlinePen pen;
    RECT d;
    if (!wideOutlinePen(dc, &pen) || !deviceRect(dc, l, t, r, b, &d))
        return Rectangle(dc, l, t, r, b);
    return insideThenOutline(dc, pen, rectOutline(d),
                             [&]() { return Rectangle(dc, l, t, r, b); });
}

BOOL gdiRectangle(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b)
{
    return gdiRectanglePlain(dc, l, t, r + dmGetPixelWidth(), b + dmGetPixelHeight());
}

BOOL gdiFrameRect(HDC dc, const RECT *r)
{
    MoveToEx(dc, r->left, r->top, nullptr);
    BOOL ok = LineTo(dc, r->right, r->top);
    ok = LineTo(dc, r->right, r->bottom) && ok;
    ok = LineTo(dc, r->left, r->bottom) && ok;
    return LineTo(dc, r->left, r->top) && ok;
}

BOOL gdiRectAtRotated(HDC dc, POINT c, int32_t halfW, int32_t halfH, double radians)
{
    if (radians == 0.0)
        return gdiRectangle(dc, c.x - halfW, c.y - halfH, c.x + halfW, c.y + halfH);
    POINT pts[4] = {{c.x - halfW, c.y + halfH},
                    {c.x + halfW, c.y + halfH},
                    {c.x + halfW, c.y - halfH},
                    {c.x - halfW, c.y - halfH}};
    geoRotatePointsAbout(pts, 4, c, radians);
    return gdiPolygon(dc, pts, 4);
}

BOOL gdiEllipse(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b)
{
    return roundRectOutlined(dc, l, t, r, b, 0, 0, true);
}

BOOL gdiRoundRectPlain(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                       int32_t cornerH)
{
    return roundRectOutlined(dc, l, t, r, b, cornerW, cornerH, false);
}

BOOL gdiRoundRect(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                  int32_t cornerH)
{
    return gdiRoundRectPlain(dc, l, t, r + dmGetPixelWidth(), b + dmGetPixelHeight(), cornerW,
                             cornerH);
}

BOOL gdiArc(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1,
            int32_t x2, int32_t y2)
{
    return Arc(dc, l, t, r, b, x1, y1, x2, y2);
}

BOOL gdiPie(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1,
            int32_t x2, int32_t y2)
{
    return Pie(dc, l, t, r, b, x1, y1, x2, y2);
}

BOOL gdiPolyline(HDC dc, const POINT *pts, int16_t n)
{
    if (!pts || n < 2)
        return Polyline(dc, pts, n);
    RECT b;
    geoPointsBounds(pts, n, &b);
    if (!gdiIsWithinSafeRange(dc, b.left, b.top, b.right, b.bottom)) {
        // Beyond the safe range each segment is cut to the clip.
        BOOL ok = TRUE;
        for (int16_t i = 1; i < n; ++i)
            ok &= gdiLinePts(dc, pts[i - 1], pts[i]);
        return ok;
    }
    OutlinePen pen;
    if (!wideOutlinePen(dc, &pen))
        return Polyline(dc, pts, n);
    std::vector<POINT> d(pts, pts + n);
    if (!LPtoDP(dc, d.data(), n))
        return Polyline(dc, pts, n);
    WideOutline o(pen.width);
    if (!o.ready())
        return Polyline(dc, pts, n);
    ++g_wideOutlines;
    o.openPath(d.data(), d.size());
    return o.paint(dc, pen);
}

uint32_t gdiWideOutlineCount() { return g_wideOutlines; }
BOOL gdiPolygon(HDC dc, const POINT *pts, int16_t n)
{
    if (!pts || n <= 0)
        return FALSE;
    RECT b;
    geoPointsBounds(pts, n, &b);
    if (gdiIsWithinSafeRange(dc, b.left, b.top, b.right, b.bottom)) {
        OutlinePen pen;
        if (!wideOutlinePen(dc, &pen))
            return Polygon(dc, pts, n);
        std::vector<POINT> d(pts, pts + n);
        if (!LPtoDP(dc, d.data(), n))
            return Polygon(dc, pts, n);
        return insideThenOutline(dc, pen, d, [&]() { return Polygon(dc, pts, n); });
    }
    std::vector<GeoPointF> f((size_t)n);
    for (int i = 0; i < n; ++i)
        f[(size_t)i] = GeoPointF{(double)pts[i].x, (double)pts[i].y};
    return gdiPolygonF(dc, f.data(), n);
}

// ---- figures of any size -------------------------------------------------------

namespace {

// The DC's mapping from logical to device units as device = o + s x logical
// (the program's mappings neither turn nor shear).
struct DeviceMap {
    double ox, oy, sx, sy;
};

bool deviceMap(HDC dc, DeviceMap *m)
{
    POINT p[3] = {{0, 0}, {65536, 0}, {0, 65536}};
    if (!LPtoDP(dc, p, 3))
        return false;
    m->ox = p[0].x;
    m->oy = p[0].y;
    m->sx = (p[1].x - (double)p[0].x) / 65536.0;
    m->sy = (p[2].y - (double)p[0].y) / 65536.0;
    return m->sx != 0 && m->sy != 0;
}

// The width of the DC's current pen in logical units (0 when unknown).
double penWidth(HDC dc)
{
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    if (!pen)
        return 0;
    LOGPEN lp;
    if (GetObjectA(pen, sizeof lp, &lp) == sizeof lp)
        return lp.lopnWidth.x;
    EXTLOGPEN ext;
    if (GetObjectA(pen, sizeof ext, &ext) >= (int)offsetof(EXTLOGPEN, elpColor))
        return ext.elpWidth;
    return 0;
}

// Sutherland-Hodgman against one side of the rectangle.
template <typename Inside, typename Cross>
void clipSide(std::vector<GeoPointF> &pts, Inside inside, Cross cross)
{
    std::vector<GeoPointF> out;
    size_t n = pts.size();
    out.reserve(n + 4);
    for (size_t i = 0; i < n; ++i) {
        const GeoPointF &a = pts[(i + n - 1) % n], &b = pts[i];
        bool ia = inside(a), ib = inside(b);
        if (ib) {
            if (!ia)
                out.push_back(cross(a, b));
            out.push_back(b);
        } else if (ia) {
            out.push_back(cross(a, b));
        }
    }
    pts.swap(out);
}

void clipToRect(std::vector<GeoPointF> &pts, double l, double t, double r, double b)
{
    auto atX = [](const GeoPointF &a, const GeoPointF &c, double x) {
        double k = (x - a.x) / (c.x - a.x);
        return GeoPointF{x, a.y + k * (c.y - a.y)};
    };
    auto atY = [](const GeoPointF &a, const GeoPointF &c, double y) {
        double k = (y - a.y) / (c.y - a.y);
        return GeoPointF{a.x + k * (c.x - a.x), y};
    };
    clipSide(pts, [&](const GeoPointF &p) { return p.x >= l; },
             [&](const GeoPointF &a, const GeoPointF &c) { return atX(a, c, l); });
    clipSide(pts, [&](const GeoPointF &p) { return p.x <= r; },
             [&](const GeoPointF &a, const GeoPointF &c) { return atX(a, c, r); });
    clipSide(pts, [&](const GeoPointF &p) { return p.y >= t; },
             [&](const GeoPointF &a, const GeoPointF &c) { return atY(a, c, t); });
    clipSide(pts, [&](const GeoPointF &p) { return p.y <= b; },
             [&](const GeoPointF &a, const GeoPointF &c) { return atY(a, c, b); });
}

}  // namespace

int gdiIsWithinSafeRange(HDC dc, double l, double t, double r, double b)
{
    DeviceMap m;
    if (!deviceMap(dc, &m))
        return 0;
    for (double x : {l, r})
        if (fabs(m.ox + m.sx * x) > kGdiSafeDevice)
            return 0;
    for (double y : {t, b})
        if (fabs(m.oy + m.sy * y) > kGdiSafeDevice)
            return 0;
    return 1;
}

int gdiGetCutRect(HDC dc, double *l, double *t, double *r, double *b)
{
    DeviceMap m;
    RECT clip;
    int kind = GetClipBox(dc, &clip);
    if (kind == NULLREGION || !deviceMap(dc, &m))
        return 0;
    // The safe range in logical units, and the clip box within it.
    double sl = (-kGdiSafeDevice - m.ox) / m.sx, sr = (kGdiSafeDevice - m.ox) / m.sx;
    double st = (-kGdiSafeDevice - m.oy) / m.sy, sb = (kGdiSafeDevice - m.oy) / m.sy;
    if (sl > sr)
        std::swap(sl, sr);
    if (st > sb)
        std::swap(st, sb);
    double cl = sl, ct = st, cr = sr, cb = sb;
    if (kind != ERROR) {
        double grow = fabs(penWidth(dc)) + 8.0 * std::max(1.0 / fabs(m.sx), 1.0 / fabs(m.sy));
        cl = std::max(sl, clip.left - grow);
        cr = std::min(sr, clip.right + grow);
        ct = std::max(st, clip.top - grow);
        cb = std::min(sb, clip.bottom + grow);
    }
    if (cl >= cr || ct >= cb)
        return 0;
    *l = cl;
    *t = ct;
    *r = cr;
    *b = cb;
    return 1;
}

BOOL gdiPolygonF(HDC dc, const GeoPointF *pts, int n)
{
    if (!pts || n <= 0)
        return FALSE;
    double bl = pts[0].x, br = bl, bt = pts[0].y, bb = bt;
    for (int i = 1; i < n; ++i) {
        bl = std::min(bl, pts[i].x);
        br = std::max(br, pts[i].x);
        bt = std::min(bt, pts[i].y);
        bb = std::max(bb, pts[i].y);
    }
    std::vector<GeoPointF> f(pts, pts + n);
    if (!gdiIsWithinSafeRange(dc, bl, bt, br, bb)) {
        double l, t, r, b;
        if (!gdiGetCutRect(dc, &l, &t, &r, &b) || br < l || bl > r || bb < t || bt > b)
            return TRUE;   // nothing of it can show
        clipToRect(f, l, t, r, b);
        if (f.size() < 2)
            return TRUE;
    }
    std::vector<POINT> out;
    out.reserve(f.size());
    for (const GeoPointF &p : f) {
        POINT q = {(LONG)lround(p.x), (LONG)lround(p.y)};
        if (out.empty() || q.x != out.back().x || q.y != out.back().y)
            out.push_back(q);
    }
    return Polygon(dc, out.data(), (int)out.size());
}

int gdiDrawAllChords(HDC dc, const POINT *pts, int16_t n)
{
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            MoveToEx(dc, pts[i].x, pts[i].y, nullptr);
            LineTo(dc, pts[j].x, pts[j].y);
        }
    }
    if (n > 0) {
        MoveToEx(dc, pts[0].x, pts[0].y, nullptr);
        LineTo(dc, pts[n - 1].x, pts[n - 1].y);
    }
    return 1;
}

int gdiFillRectIncl(HDC dc, const RECT *r, HBRUSH brush)
{
    RECT incl = {r->left, r->top, r->right + 1, r->bottom + 1};
    return FillRect(dc, &incl, brush);
}

BOOL gdiTextOut(HDC dc, int32_t x, int32_t y, const char *text, int32_t len)
{
    return TextOutA(dc, x, y, text, len);
}

BOOL gdiExtTextOut(HDC dc, int32_t x, int32_t y, UINT options, const RECT *clip,
                   const char *text, UINT len, const INT *dx)
{
    return ExtTextOutA(dc, x, y, options, clip, text, len, dx);
}

// ---- line styles and colours -------------------------------------------------------

void gdiDecodeLineWidth(uint16_t styleWord, int32_t *width, int32_t *penStyle)
{
    switch (styleWord & GDI_LINE_STYLE_MASK) {
    case 0x000:
    case 0x300: *width = 10; *penStyle = GDI_PEN_SOLID; break;
    case 0x100: *width = 30; *penStyle = GDI_PEN_SOLID; break;
    case 0x200: *width = 40; *penStyle = GDI_PEN_SOLID; break;
    case 0x400: *width = 1; *penStyle = GDI_PEN_DASH; break;
    case 0x500: *width = 1; *penStyle = GDI_PEN_DOT; break;
    case 0x600: *width = 1; *penStyle = GDI_PEN_DASHDOT; break;
    default: *width = 1; *penStyle = GDI_PEN_NULL; break;
    }
}

int32_t gdiLineStylePen(uint16_t styleWord)
{
    int32_t width, style;
    gdiDecodeLineWidth(styleWord, &width, &style);
    return style;
}

COLORREF gdiDarkenColor23(COLORREF c)
{
    return RGB(darken(GetRValue(c)), darken(GetGValue(c)), darken(GetBValue(c)));
}

COLORREF gdiLightenColor34(COLORREF c)
{
    return RGB(lighten(GetRValue(c)), lighten(GetGValue(c)), lighten(GetBValue(c)));
}

// ---- shadows and edges -------------------------------------------------------------

void gdiSetShadowBrush(int16_t stockIndex, COLORREF colour)
{
    g_shadow.stockIndex = stockIndex;
    if (stockIndex == 0)
        g_shadow.colour = colour;
}

int16_t gdiSetShadowDepth(int16_t points)
{
    int16_t previous = g_shadow.depthPoints;
    g_shadow.depthPoints = points;
    return previous;
}

void gdiResetModule() { g_shadow = kDefaultShadow; }

BOOL gdiDrawRectShadow(HDC dc, const RECT *r)
{
    int32_t d = dmPointsToTwips(g_shadow.depthPoints);
    int32_t px = dmGetPixelWidth(), py = dmGetPixelHeight();
    GdiObject<HBRUSH> own(g_shadow.stockIndex ? nullptr : CreateSolidBrush(g_shadow.colour));
    HBRUSH brush = g_shadow.stockIndex ? (HBRUSH)GetStockObject(g_shadow.stockIndex) : own.get();
    if (!brush)
        return FALSE;
    RECT right = {r->right + px, r->top + d, r->right + px + d, r->bottom + d};
    RECT below = {r->left + d, r->bottom + py, r->right + d + px, r->bottom + py + d};
    BOOL ok = gdiFillRectIncl(dc, &right, brush);
    return gdiFillRectIncl(dc, &below, brush) && ok;
}

void gdiDraw3DFrame(HDC dc, const RECT *r, int32_t depth, const COLORREF *topLeft,
                    const COLORREF *bottomRight)
{
    if (depth < 1)
        return;
    RECT ring = *r;
    HGDIOBJ previous = GetCurrentObject(dc, OBJ_PEN);
    HPEN held = nullptr;   // the pen selected now, released when replaced
    auto stroke = [&](const POINT pts[3], COLORREF colour) {
        HPEN pen = CreatePen(PS_SOLID, 0, colour);
        if (!pen)
            return;   // no pen, no line
        SelectObject(dc, pen);
        if (held)
            DeleteObject(held);
        held = pen;
        Polyline(dc, pts, 3);
    };
    for (int32_t i = 0; i < depth; ++i) {
        POINT pts[3];
        geoRectUpperTriangle(&ring, pts);
        stroke(pts, topLeft[i]);
        geoRectLowerTriangle(&ring, pts);
        stroke(pts, bottomRight[i]);
        InflateRect(&ring, -1, -1);
    }
    SelectObject(dc, previous);
    if (held)
        DeleteObject(held);
}

void gdiDrawButtonEdge(HDC dc, const RECT *r, BOOL raised, int32_t depth)
{
    depth = std::min(depth, 2);
    if (depth < 1)
        return;
    COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF light = GetSysColor(COLOR_3DLIGHT);
    COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    COLORREF raisedTL[2] = {highlight, light};
    COLORREF raisedBR[2] = {depth == 1 ? shadow : dark, shadow};
    COLORREF pressedTL[2] = {dark, shadow};
    COLORREF pressedBR[2] = {highlight, light};
    if (raised)
        gdiDraw3DFrame(dc, r, depth, raisedTL, raisedBR);
    else
        gdiDraw3DFrame(dc, r, depth, pressedTL, pressedBR);
}

void gdiDrawButtonEdgeInset(HDC dc, const RECT *r)
{
    RECT inset = {r->left, r->top, r->right - 1, r->bottom - 2};
    gdiDrawButtonEdge(dc, &inset, TRUE, 2);
}

void geoDeflateRect3(RECT *r) { InflateRect(r, -3, -3); }

void gdiDrawDropArrow(HDC dc, POINT centre, int32_t size, COLORREF colour, int32_t kind)
{
    if (kind != 1 || size < 0)
        return;
    for (int32_t k = 0; k <= 2 * size; ++k) {
        int32_t y = centre.y - size + k;
        for (int32_t x = centre.x - 2 * size + k; x <= centre.x + 2 * size - k; ++x)
            SetPixel(dc, x, y, colour);
    }
}
