// Colour-gradient fills: the shared colour steps, the nine drawers and the
// entry point that clips them to the shape and outlines it.
//
// Every band, copy and slice is cut to the shape's drawn rectangle (a pixel
// or two wider) before it is handed to GDI. What lies outside that
// rectangle would be clipped away anyway; cutting it first means that a
// block whose centre, vector or extents lie far from the shape (a damaged
// or crafted file) never asks GDI for figures of astronomical size.
#include "objects/fil_gradient.h"
#include "objects/fil_fill.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <math.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

typedef std::vector<GeoPointF> Figure;

COLORREF blend(const double base[3], const double step[3], double k)
{
    int32_t v[3];
    for (int i = 0; i < 3; ++i)
        v[i] = (int32_t)trunc(base[i] + k * step[i]) & 0xFF;
    return RGB(v[0], v[1], v[2]);
}

COLORREF fillColourOf(const FilGradColours *c) { return filGradFromFill(c, 0); }
COLORREF backColourOf(const FilGradColours *c) { return filGradFromBack(c, 0); }

double roundHalfAway(double v) { return v < 0 ? -floor(-v + 0.5) : floor(v + 0.5); }

// Draws figures cut to a limit rectangle (the drawn rectangle and a margin).
class Painter {
public:
    Painter(HDC dc, const RECT *drawn) : dc_(dc)
    {
        int32_t margin = 2 * std::max(1, dmGetPixelSize());
        left_ = (double)drawn->left - margin;
        top_ = (double)drawn->top - margin;
        right_ = (double)drawn->right + margin;
        bottom_ = (double)drawn->bottom + margin;
    }
    // The polygon cut to the limit, its corners rounded, filled with the
    // DC's pen and the brush.
    void polygon(HBRUSH brush, Figure f) const
    {
        cut(f, [this](const GeoPointF &p) { return p.x >= left_; },
            [this](const GeoPointF &a, const GeoPointF &b) { return alongX(a, b, left_); });
        cut(f, [this](const GeoPointF &p) { return p.x <= right_; },
            [this](const GeoPointF &a, const GeoPointF &b) { return alongX(a, b, right_); });
        cut(f, [this](const GeoPointF &p) { return p.y >= top_; },
            [this](const GeoPointF &a, const GeoPointF &b) { return alongY(a, b, top_); });
        cut(f, [this](const GeoPointF &p) { return p.y <= bottom_; },
            [this](const GeoPointF &a, const GeoPointF &b) { return alongY(a, b, bottom_); });
        if (f.size() < 3)
            return;
        std::vector<POINT> pts(f.size());
        for (size_t i = 0; i < f.size(); ++i)
            pts[i] = POINT{(LONG)roundHalfAway(f[i].x), (LONG)roundHalfAway(f[i].y)};
        GdiSelect sel(dc_, brush);
        Polygon(dc_, pts.data(), (int)pts.size());
    }
    // The rectangle (right and bottom edges included) cut to the limit.
    void rect(HBRUSH brush, double l, double t, double r, double b) const
    {
        l = std::max(l, left_);
        t = std::max(t, top_);
        r = std::min(r, right_);
        b = std::min(b, bottom_);
        if (l >= r || t >= b)
            return;
        RECT band = {(LONG)l, (LONG)t, (LONG)r, (LONG)b};
        gdiFillRectIncl(dc_, &band, brush);
    }
private:
    // One pass of polygon clipping against a half plane.
    template <typename Inside, typename Cross>
    static void cut(Figure &f, Inside inside, Cross cross)
    {
        Figure out;
        size_t n = f.size();
        for (size_t i = 0; i < n; ++i) {
            const GeoPointF &cur = f[i], &prev = f[(i + n - 1) % n];
            bool in = inside(cur), wasIn = inside(prev);
            if (in != wasIn)
                out.push_back(cross(prev, cur));
            if (in)
                out.push_back(cur);
        }
        f.swap(out);
    }
    static GeoPointF alongX(const GeoPointF &a, const GeoPointF &b, double x)
    {
        double t = (x - a.x) / (b.x - a.x);
        return GeoPointF{x, a.y + (b.y - a.y) * t};
    }
    static GeoPointF alongY(const GeoPointF &a, const GeoPointF &b, double y)
    {
        double t = (y - a.y) / (b.y - a.y);
        return GeoPointF{a.x + (b.x - a.x) * t, y};
    }
    HDC dc_;
    double left_, top_, right_, bottom_;
};

// The brushes of the bands: a blend makes one brush of each band's colour;
// stripes use a fill-colour brush for odd bands and a background brush for
// even ones, both made once (and nothing is drawn when either is missing).
class BandBrushes {
public:
    BandBrushes(const FilGradColours *c, BOOL stripes)
        : stripes_(stripes != FALSE),
          fill_(stripes ? CreateSolidBrush(fillColourOf(c)) : nullptr),
          back_(stripes ? CreateSolidBrush(backColourOf(c)) : nullptr)
    {
    }
    bool ok() const { return !stripes_ || (fill_ && back_); }
    // Calls draw(brush) for band k, whose blend colour is `colour`.
    template <typename Draw>
    void band(int32_t k, COLORREF colour, Draw draw) const
    {
        if (stripes_) {
            draw((k & 1) ? fill_.get() : back_.get());
            return;
        }
        GdiObject<HBRUSH> b(CreateSolidBrush(colour));
        if (b)
            draw(b.get());
    }
private:
    bool stripes_;
    GdiObject<HBRUSH> fill_;
    GdiObject<HBRUSH> back_;
};

// What the band drawers share: the brushes, the painter cutting to the
// drawn rectangle, and the null pen selected for their life.
struct Bands {
    Bands(HDC dc, const RECT *drawn, const FilGradColours *c, BOOL stripes)
        : brushes(c, stripes), paint(dc, drawn), nullPen(dc, GetStockObject(NULL_PEN))
    {
    }
    bool ok() const { return brushes.ok(); }
    // Band k (blend colour `colour`) as a polygon or as a rectangle.
    void polygon(int32_t k, COLORREF colour, const Figure &f) const
    {
        brushes.band(k, colour, [&](HBRUSH b) { paint.polygon(b, f); });
    }
    void rect(int32_t k, COLORREF colour, double l, double t, double r, double b) const
    {
        brushes.band(k, colour, [&](HBRUSH brush) { paint.rect(brush, l, t, r, b); });
    }
    BandBrushes brushes;
    Painter paint;
    GdiSelect nullPen;
};

void linearBands(HDC dc, const RECT *drawn, const GradientFillBlock *g, const FilGradColours *c,
                 BOOL stripes)
{
    Bands bands(dc, drawn, c, stripes);
    if (!bands.ok())
        return;
    const int32_t n = c->n;
    const double mx = c->centre.x, my = c->centre.y;
    const double length = sqrt((double)g->dx * g->dx + (double)g->dy * g->dy);
    const double t = length / (n + 1);
    const int32_t a = filGradientAngle(g);
    auto inward = [c, n](int32_t k) { return k == n ? fillColourOf(c) : filGradFromBack(c, k); };

    if (a == 0 || a == 1800 || a == 900 || a == 2700) {
        // Bands parallel to the drawn rectangle's sides, the outermost first.
        bool rows = a == 0 || a == 1800;
        for (int32_t k = rows ? 1 : 0; k <= n; ++k) {
            double half = roundHalfAway(length - k * t);
            if (half <= 0)
                continue;
            if (rows)
                bands.rect(k, inward(k), drawn->left, my - half, drawn->right, my + half);
            else
                bands.rect(k, inward(k), mx - half, drawn->top, mx + half, drawn->bottom);
        }
        return;
    }

    // Any other angle: two strips start on the centre line and move apart,
    // one unit thicker than each move so that neighbours leave no gap.
    const double rad = a * 0.1 * kGeoPi / 180;
    const int32_t deg = abs((a / 10) % 360);
    const bool nearHorizontal = deg <= 45 || (deg >= 135 && deg <= 225) || deg >= 315;
    Figure stripA, stripB;
    double moveX = 0, moveY = 0;
    if (nearHorizontal) {
        double tg = tan(rad);
        GeoPointF left = {(double)drawn->left, my + roundHalfAway((mx - drawn->left) * tg)};
        GeoPointF right = {(double)drawn->right, my - roundHalfAway((drawn->right - mx) * tg)};
        double tp = fabs(t / cos(rad));
        double h = roundHalfAway(tp + 1);
        stripA = {right, {right.x, right.y - h}, {left.x, left.y - h}, left};
        stripB = {right, {right.x, right.y + h}, {left.x, left.y + h}, left};
        moveY = roundHalfAway(tp);
    } else {
        double ct = 1 / tan(rad);
        GeoPointF bottom = {mx - roundHalfAway((drawn->bottom - my) * ct), (double)drawn->bottom};
        GeoPointF top = {mx + roundHalfAway((my - drawn->top) * ct), (double)drawn->top};
        double tp = fabs(t / sin(rad));
        double h = roundHalfAway(tp + 1);
        stripA = {bottom, {bottom.x - h, bottom.y}, {top.x - h, top.y}, top};
        stripB = {bottom, {bottom.x + h, bottom.y}, {top.x + h, top.y}, top};
        moveX = roundHalfAway(tp);
    }
    for (int32_t k = 0; k <= n; ++k) {
        COLORREF colour = k == n ? backColourOf(c) : filGradFromFill(c, k);
        bands.polygon(k, colour, stripA);
        bands.polygon(k, colour, stripB);
        for (int i = 0; i < 4; ++i) {
            stripA[(size_t)i].x -= moveX;
            stripA[(size_t)i].y -= moveY;
            stripB[(size_t)i].x += moveX;
            stripB[(size_t)i].y += moveY;
        }
    }
}

// The slices of a fan about the gradient centre whose radius reaches every
// corner of the drawn rectangle: a slice is the centre and its arc, with
// corners far enough out that the arc's chords stay outside the circle.
class Fan {
public:
    Fan(const RECT *drawn, const FilGradColours *c)
        : cx_(c->centre.x), cy_(c->centre.y)
    {
        double r = geoMaxCornerDistance(drawn, c->centre);
        radius_ = (roundHalfAway(r) + 1) / cos(kStepDeg / 2 * kGeoPi / 180);
    }
    Figure slice(double fromDeg, double toDeg) const
    {
        Figure f{{cx_, cy_}};
        double sweep = toDeg - fromDeg;
        int steps = std::max(1, (int)ceil(fabs(sweep) / kStepDeg));
        for (int i = 0; i <= steps; ++i) {
            double a = (fromDeg + sweep * i / steps) * kGeoPi / 180;
            f.push_back(GeoPointF{cx_ + radius_ * cos(a), cy_ - radius_ * sin(a)});
        }
        return f;
    }
private:
    static constexpr double kStepDeg = 10.0;
    double cx_, cy_, radius_;
};

}  // namespace

// ---- the block and its colour steps ----------------------------------------------------------

GradientFillBlock *filGetGradient(ObjectRecord *rec)
{
    if (!rec || rec->fillKind != FILL_GRADIENT)
        return nullptr;
    return reinterpret_cast<GradientFillBlock *>(obGetFillData(rec));
}

int32_t filGradientSteps(const GradientFillBlock *g)
{
    if (!g || g->steps <= 0)
        return 16;
    return std::min<int32_t>(g->steps, kFilMaxGradientSteps);
}

void filGradColourSteps(const ObjectRecord *rec, const GradientFillBlock *g, FilGradColours *c)
{
    c->n = filGradientSteps(g);
    COLORREF f = rec->fillColour, b = rec->backColour;
    double fs[3] = {(double)GetRValue(f), (double)GetGValue(f), (double)GetBValue(f)};
    double bs[3] = {(double)GetRValue(b), (double)GetGValue(b), (double)GetBValue(b)};
    for (int i = 0; i < 3; ++i) {
        c->fill[i] = fs[i];
        c->back[i] = bs[i];
        c->step[i] = (bs[i] - fs[i]) / (c->n + 1);
    }
    // The centre is kept within the 32-bit range whatever the offsets say.
    const int64_t limit = 0x7FFFFFFF;
    int64_t x = (int64_t)rec->centreX + (g ? g->offsetX : 0);
    int64_t y = (int64_t)rec->centreY + (g ? g->offsetY : 0);
    c->centre.x = (LONG)std::max(-limit, std::min(limit, x));
    c->centre.y = (LONG)std::max(-limit, std::min(limit, y));
}

COLORREF filGradFromFill(const FilGradColours *c, int32_t k) { return blend(c->fill, c->step, k); }
COLORREF filGradFromBack(const FilGradColours *c, int32_t k) { return blend(c->back, c->step, -(double)k); }

// ---- the drawers ---------------------------------------------------------------------------------

void filGradLinear(HDC dc, const RECT *drawn, const GradientFillBlock *g, const FilGradColours *c)
{
    linearBands(dc, drawn, g, c, FALSE);
}

void filGradLinearStripes(HDC dc, const RECT *drawn, const GradientFillBlock *g,
                          const FilGradColours *c)
{
    linearBands(dc, drawn, g, c, TRUE);
}

void filGradShrink(HDC dc, const RECT *drawn, const POINT *pts, int16_t count, double reach,
                   const FilGradColours *c, BOOL stripes)
{
    if (!pts || count < 2)
        return;
    Bands bands(dc, drawn, c, stripes);
    if (!bands.ok())
        return;
    const POINT m = c->centre;
    Figure copy((size_t)count);
    for (int32_t k = 1; k <= c->n; ++k) {
        double f = 1 - k * reach / (c->n + 1);
        for (int16_t i = 0; i < count; ++i) {
            copy[(size_t)i].x = m.x + roundHalfAway(((double)pts[i].x - m.x) * f);
            copy[(size_t)i].y = m.y + roundHalfAway(((double)pts[i].y - m.y) * f);
        }
        bands.polygon(k, k < c->n ? filGradFromBack(c, k) : fillColourOf(c), copy);
    }
}

void filGradConical(HDC dc, const RECT *drawn, const GradientFillBlock *g, const FilGradColours *c)
{
    Painter paint(dc, drawn);
    Fan fan(drawn, c);
    const int32_t n = c->n;
    const double sweep = 360.0 / n;
    double a = g->angle * 0.1;
    int32_t onePixel = std::max(1, dmGetPixelWidth());
    for (int32_t k = 0; k < n; ++k) {
        COLORREF colour = filGradFromFill(c, k);
        double from = a;
        a += sweep;
        GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
        GdiObject<HPEN> pen(CreatePen(PS_SOLID, onePixel, colour));
        if (!brush || !pen)
            continue;
        GdiSelect selPen(dc, pen);
        // Each slice reaches a degree into the next so that no seam shows;
        // the last one ends exactly where the first began.
        paint.polygon(brush, fan.slice(from, k == n - 1 ? a : a + 1));
    }
}

void filGradRays(HDC dc, const RECT *drawn, const GradientFillBlock *g, const FilGradColours *c)
{
    GdiObject<HBRUSH> brush(CreateSolidBrush(fillColourOf(c)));
    if (!brush)
        return;
    Painter paint(dc, drawn);
    Fan fan(drawn, c);
    GdiSelect nullPen(dc, GetStockObject(NULL_PEN));
    const int32_t n = c->n;
    const double sweep = 360.0 / n;
    double a = g->angle * 0.1;
    for (int32_t k = 0; k < n; ++k) {
        double from = a;
        a += sweep;
        if (k & 1)
            paint.polygon(brush, fan.slice(from, a));
    }
}

// ---- the entry point ----------------------------------------------------------------------------

namespace {

// The outline polygon of a gradient of types 2-5: the ellipse or the
// rectangle centre +- (dx, dy), turned by the block's angle. Its corners
// are kept within the 32-bit range.
MemHandle shapeOfBlock(const GradientFillBlock *g, const FilGradColours *c, int16_t *count)
{
    const int64_t limit = 0x3FFFFFFF;
    auto clamp = [limit](int64_t v) { return (int32_t)std::max(-limit, std::min(limit, v)); };
    int32_t l = clamp((int64_t)c->centre.x - g->dx), r = clamp((int64_t)c->centre.x + g->dx);
    int32_t t = clamp((int64_t)c->centre.y - g->dy), b = clamp((int64_t)c->centre.y + g->dy);
    if (g->type == GRAD_CIRCLE || g->type == GRAD_ELLIPSE)
        return geoEllipsePolygon(l, t, r, b, g->angle, count);
    RECT box = {l, t, r, b};
    return geoRotatedRectPolygon(&box, g->angle, count);
}

// The clip, the background, the type's drawer and the outline of one
// gradient; pts is the outline polygon (null when there is none).
void paintGradient(HDC dc, ObjectRecord *rec, const GradientFillBlock &g, const FilGradColours &c,
                   const RECT &drawn, const POINT *pts, int16_t n)
{
    {
        FilPolygonClip clip(dc, pts, pts ? n : 0);
        if (pts && g.type >= GRAD_LINEAR && g.type <= GRAD_RAYS && g.type != GRAD_CONICAL)
            obFillPolygonBack(dc, rec, pts, n);
        BOOL stripes = (g.flags & 1) ? TRUE : FALSE;
        switch (g.type) {
        case GRAD_LINEAR:
            linearBands(dc, &drawn, &g, &c, stripes);
            break;
        case GRAD_CIRCLE:
        case GRAD_ELLIPSE:
        case GRAD_SQUARE:
        case GRAD_RECTANGLE: {
            int16_t count = 0;
            MemHandle shape = shapeOfBlock(&g, &c, &count);
            if (shape) {
                MemLock<POINT> p(shape);
                filGradShrink(dc, &drawn, p.get(), count, 1.0, &c, stripes);
            }
            utFreeHandle(shape);
            break;
        }
        case GRAD_OUTLINE:
        case GRAD_OUTLINE_SIZE: {
            // The size the outline shrinks to, kept within 0..100 percent.
            double percent = g.type == GRAD_OUTLINE_SIZE ? std::min<uint16_t>(g.endPercent, 100) : 0;
            filGradShrink(dc, &drawn, pts, n, (100 - percent) / 100, &c, stripes);
            break;
        }
        case GRAD_CONICAL:
            filGradConical(dc, &drawn, &g, &c);
            break;
        case GRAD_RAYS:
            filGradRays(dc, &drawn, &g, &c);
            break;
        default:
            break;   // not a gradient type: the outline alone
        }
    }
    if (pts && !(rec->penColour == rec->fillColour && rec->fillColour == rec->backColour))
        obFramePolygon(dc, rec, pts, n);
}

}  // namespace

void fillClosedShape(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    GradientFillBlock g = {};
    if (const GradientFillBlock *stored = filGetGradient(rec))
        memcpy(&g, stored, sizeof g);
    FilGradColours c;
    filGradColourSteps(rec, &g, &c);
    RECT drawn;
    obRecGetDrawnRect(rec, &drawn);
    int16_t n = 0;
    MemHandle outline = obRecGetOutline(rec, &n);
    {
        MemLock<POINT> lock(outline);
        const POINT *pts = lock && n >= 2 ? lock.get() : nullptr;
        paintGradient(dc, rec, g, c, drawn, pts, n);
    }
    utFreeHandle(outline);
}

void fillClosedShape(HDC dc, MemHandle h)
{
    ObLock r(h);
    if (r)
        fillClosedShape(dc, r.get());
}
