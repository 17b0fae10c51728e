// qmbmpgen: draws the button bitmaps, cursors and icons of the program from small
// per-name recipes (lines, rectangles, ellipses, arrows, node squares and
// letters) and writes them as palettised BMP files, cursor files and one
// resource file holding every bitmap. It runs on the build machine.
//
//   qmbmpgen OUTDIR                    writes OUTDIR/<name>.bmp, OUTDIR/paste.cur,
//                                      OUTDIR/stop.cur, the icons OUTDIR/ridevi.ico,
//                                      ridevi_S.ico and XQMDOC_S.ico, and
//                                      OUTDIR/bitmaps.res
//   qmbmpgen --merge A.res B.res OUT   OUT = the resources of A, then those of B
//
// Every picture has the face grey RGB(192,192,192) as background and is
// shaded only with the three-dimensional greys, white and black, so that the
// program can map those greys to the system colours and draw a greyed form.
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// Palette indices.
enum Colour : uint8_t {
    BK, WH, FACE, SH, LT, RD, DR, GN, BL, NV, YL, OL, TL, MG, OR, LG, NCOLOURS
};
const uint8_t kPalette[NCOLOURS][3] = {
    {0, 0, 0}, {255, 255, 255}, {192, 192, 192}, {128, 128, 128}, {223, 223, 223},
    {255, 0, 0}, {128, 0, 0}, {0, 128, 0}, {0, 0, 255}, {0, 0, 128},
    {255, 255, 0}, {128, 128, 0}, {0, 128, 128}, {255, 0, 255}, {255, 128, 0},
    {0, 255, 0},
};

struct Pt {
    int x, y;
};

struct Canvas {
    int w, h;
    std::vector<uint8_t> px;
    Canvas(int w_, int h_) : w(w_), h(h_), px((size_t)w_ * h_, FACE) {}

    void set(int x, int y, uint8_t c)
    {
        if (x >= 0 && y >= 0 && x < w && y < h)
            px[(size_t)y * w + x] = c;
    }
    uint8_t get(int x, int y) const { return px[(size_t)y * w + x]; }

    void line(int x0, int y0, int x1, int y1, uint8_t c)
    {
        int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            set(x0, y0, c);
            if (x0 == x1 && y0 == y1)
                break;
            int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x0 += sx; }
            if (e2 <= dx) { err += dx; y0 += sy; }
        }
    }
    void dashed(int x0, int y0, int x1, int y1, uint8_t c)
    {
        int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= n; ++i)
            if ((i / 2) % 2 == 0)
                set(x0 + (x1 - x0) * i / std::max(n, 1), y0 + (y1 - y0) * i / std::max(n, 1), c);
    }
    void thick(int x0, int y0, int x1, int y1, uint8_t c)
    {
        line(x0, y0, x1, y1, c);
        line(x0 + 1, y0, x1 + 1, y1, c);
        line(x0, y0 + 1, x1, y1 + 1, c);
    }
    void poly(std::vector<Pt> p, uint8_t c, bool closed = false)
    {
        for (size_t i = 0; i + 1 < p.size(); ++i)
            line(p[i].x, p[i].y, p[i + 1].x, p[i + 1].y, c);
        if (closed && p.size() > 2)
            line(p.back().x, p.back().y, p[0].x, p[0].y, c);
    }
    // Fills a polygon (even-odd, pixel centres), then outlines it.
    void fillPoly(std::vector<Pt> p, uint8_t fillc, int outline = -1)
    {
        for (int y = 0; y < h; ++y) {
            double cy = y + 0.5;
            std::vector<double> xs;
            for (size_t i = 0; i < p.size(); ++i) {
                Pt a = p[i], b = p[(i + 1) % p.size()];
                double ay = a.y + 0.5, by = b.y + 0.5;
                if ((ay <= cy && by > cy) || (by <= cy && ay > cy))
                    xs.push_back(a.x + 0.5 + (cy - ay) * (b.x - a.x) / (by - ay));
            }
            std::sort(xs.begin(), xs.end());
            for (size_t i = 0; i + 1 < xs.size(); i += 2)
                for (int x = 0; x < w; ++x)
                    if (x + 0.5 >= xs[i] && x + 0.5 <= xs[i + 1])
                        set(x, y, fillc);
        }
        if (outline >= 0)
            poly(p, (uint8_t)outline, true);
    }
    void rect(int l, int t, int r, int b, uint8_t c)
    {
        line(l, t, r, t, c);
        line(r, t, r, b, c);
        line(r, b, l, b, c);
        line(l, b, l, t, c);
    }
    void fill(int l, int t, int r, int b, uint8_t c)
    {
        for (int y = t; y <= b; ++y)
            for (int x = l; x <= r; ++x)
                set(x, y, c);
    }
    void box(int l, int t, int r, int b, uint8_t fillc, uint8_t edge = BK)
    {
        fill(l, t, r, b, fillc);
        rect(l, t, r, b, edge);
    }
    // Ellipse inside the inclusive box; filled with fillc (or not when -1)
    // and outlined with edge.
    void ellipse(int l, int t, int r, int b, int fillc, uint8_t edge)
    {
        double cx = (l + r) / 2.0, cy = (t + b) / 2.0;
        double rx = (r - l) / 2.0 + 0.5, ry = (b - t) / 2.0 + 0.5;
        auto inside = [&](int x, int y) {
            double dx = (x - cx) / rx, dy = (y - cy) / ry;
            return dx * dx + dy * dy <= 1.0;
        };
        for (int y = t; y <= b; ++y)
            for (int x = l; x <= r; ++x) {
                if (!inside(x, y))
                    continue;
                bool edgePx = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                              !inside(x, y + 1);
                if (edgePx)
                    set(x, y, edge);
                else if (fillc >= 0)
                    set(x, y, (uint8_t)fillc);
            }
    }
    // Arc of the ellipse in the box from angle a0 to a1 (degrees,
    // counter-clockwise, 0 at the right, y down on screen).
    void arc(int l, int t, int r, int b, double a0, double a1, uint8_t c)
    {
        double cx = (l + r) / 2.0, cy = (t + b) / 2.0, rx = (r - l) / 2.0, ry = (b - t) / 2.0;
        int steps = 90;
        Pt prev{};
        for (int i = 0; i <= steps; ++i) {
            double a = (a0 + (a1 - a0) * i / steps) * M_PI / 180.0;
            Pt p{(int)std::lround(cx + rx * std::cos(a)), (int)std::lround(cy - ry * std::sin(a))};
            if (i)
                line(prev.x, prev.y, p.x, p.y, c);
            prev = p;
        }
    }
    void bezier(Pt p0, Pt p1, Pt p2, Pt p3, uint8_t c)
    {
        Pt prev = p0;
        for (int i = 1; i <= 24; ++i) {
            double t = i / 24.0, u = 1 - t;
            double x = u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x;
            double y = u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y;
            Pt p{(int)std::lround(x), (int)std::lround(y)};
            line(prev.x, prev.y, p.x, p.y, c);
            prev = p;
        }
    }
    // A line with an arrow head at its end.
    void arrow(int x0, int y0, int x1, int y1, uint8_t c, int head = 3)
    {
        line(x0, y0, x1, y1, c);
        head_(x0, y0, x1, y1, c, head);
    }
    void arrow2(int x0, int y0, int x1, int y1, uint8_t c, int head = 3)
    {
        arrow(x0, y0, x1, y1, c, head);
        head_(x1, y1, x0, y0, c, head);
    }
    void head_(int x0, int y0, int x1, int y1, uint8_t c, int head)
    {
        double dx = x1 - x0, dy = y1 - y0, len = std::sqrt(dx * dx + dy * dy);
        if (len == 0)
            return;
        dx /= len;
        dy /= len;
        for (int s = -1; s <= 1; s += 2) {
            double hx = -dx - s * dy, hy = -dy + s * dx;   // 45 degrees back
            double n = std::sqrt(hx * hx + hy * hy);
            line(x1, y1, x1 + (int)std::lround(hx / n * head * 1.41),
                 y1 + (int)std::lround(hy / n * head * 1.41), c);
        }
    }
    // A node square: 3 by 3 black frame around a white centre.
    void node(int x, int y, uint8_t inner = WH)
    {
        rect(x - 1, y - 1, x + 1, y + 1, BK);
        set(x, y, inner);
    }
    // A sheet of paper with a folded upper right corner.
    void page(int l, int t, int r, int b)
    {
        fill(l, t, r, b, WH);
        line(l, t, r - 3, t, BK);
        line(r - 3, t, r, t + 3, BK);
        line(r, t + 3, r, b, BK);
        line(r, b, l, b, BK);
        line(l, b, l, t, BK);
        line(r - 3, t, r - 3, t + 3, SH);
        line(r - 3, t + 3, r, t + 3, SH);
        line(l + 1, b + 1, r + 1, b + 1, SH);
        line(r + 1, t + 4, r + 1, b + 1, SH);
    }
    // Letters of a 3 by 5 font, scaled.
    void text(int x, int y, const char *s, uint8_t c, int scale = 1);
    // A magnifying glass.
    void lens(int l, int t, int d)
    {
        ellipse(l, t, l + d, t + d, WH, BK);
        thick(l + d - 1, t + d - 1, l + d + 3, t + d + 3, BK);
    }
};

// Glyphs of a 3 by 5 font: five rows of three columns, '#' set.
const std::map<char, std::vector<const char *>> &font()
{
    static const std::map<char, std::vector<const char *>> f = {
        {'A', {".#.", "#.#", "###", "#.#", "#.#"}}, {'B', {"##.", "#.#", "##.", "#.#", "##."}},
        {'C', {".##", "#..", "#..", "#..", ".##"}}, {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
        {'0', {"###", "#.#", "#.#", "#.#", "###"}}, {'1', {".#.", "##.", ".#.", ".#.", "###"}},
        {'9', {"###", "#.#", "###", "..#", "###"}}, {'?', {"###", "..#", ".#.", "...", ".#."}},
    };
    return f;
}

void Canvas::text(int x, int y, const char *s, uint8_t c, int scale)
{
    for (; *s; ++s, x += 4 * scale) {
        auto it = font().find(*s);
        if (it == font().end())
            continue;
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (it->second[(size_t)row][col] == '#')
                    for (int sy = 0; sy < scale; ++sy)
                        for (int sx = 0; sx < scale; ++sx)
                            set(x + col * scale + sx, y + row * scale + sy, c);
    }
}

typedef std::function<void(Canvas &)> Recipe;

// Filled block arrow pointing right, from x0 to x1 around the middle row y.
std::vector<Pt> blockArrowRight(int x0, int x1, int y, int shaft, int headw)
{
    int hx = x1 - headw;
    return {{x0, y - shaft}, {hx, y - shaft}, {hx, y - headw}, {x1, y},
            {hx, y + headw}, {hx, y + shaft}, {x0, y + shaft}};
}

std::vector<Pt> transpose(std::vector<Pt> p)
{
    for (Pt &q : p)
        std::swap(q.x, q.y);
    return p;
}

// Two small boxes and a reference line for the alignment buttons.
void alignBars(Canvas &c, bool vertical, int refPos, int a0, int a1, int b0, int b1)
{
    if (!vertical) {
        // Horizontal bars at rows 3..6 and 9..12; reference is a column.
        c.box(a0, 3, a1, 6, BL);
        c.box(b0, 9, b1, 12, RD);
        c.line(refPos, 1, refPos, 14, BK);
    } else {
        c.box(3, a0, 6, a1, BL);
        c.box(9, b0, 12, b1, RD);
        c.line(1, refPos, 14, refPos, BK);
    }
}

void moveArrow(Canvas &c, int dx, int dy)
{
    c.fill(6, 6, 9, 9, SH);
    c.rect(6, 6, 9, 9, BK);
    int cx = dx > 0 ? 9 : dx < 0 ? 6 : 7;
    int cy = dy > 0 ? 9 : dy < 0 ? 6 : 7;
    int ex = cx + dx * 5, ey = cy + dy * 5;
    if (dx == 0)
        c.arrow(cx + 1, cy, ex + 1, ey, BK);
    if (dy == 0)
        c.arrow(cx, cy + 1, ex, ey + 1, BK);
    c.arrow(cx, cy, ex, ey, BK);
}

void sizeArrows(Canvas &c, bool outward, bool horz, bool vert, bool diag)
{
    c.box(5, 5, 10, 10, WH);
    auto arr = [&](int ox, int oy, int ix, int iy) {
        if (outward)
            c.arrow(ix, iy, ox, oy, BK, 2);
        else
            c.arrow(ox, oy, ix, iy, BK, 2);
    };
    if (horz) {
        arr(0, 7, 4, 7);
        arr(15, 8, 11, 8);
    }
    if (vert) {
        arr(8, 0, 8, 4);
        arr(7, 15, 7, 11);
    }
    if (diag) {
        // One pixel in from the corners: the bottom-left pixel stays the
        // background.
        arr(1, 1, 4, 4);
        arr(14, 14, 11, 11);
        arr(14, 1, 11, 4);
        arr(1, 14, 4, 11);
    }
}

// A wavy line of text rows used by the text buttons.
void textRows(Canvas &c, int l, int t, int r, int rows, uint8_t col = BK)
{
    for (int i = 0; i < rows; ++i)
        c.line(l, t + i * 2, r - (i % 2) * 2, t + i * 2, col);
}

std::vector<std::pair<std::string, Recipe>> recipes()
{
    std::vector<std::pair<std::string, Recipe>> r;
    auto add = [&](const char *name, Recipe f) { r.emplace_back(name, std::move(f)); };

    // ---- drawing tools --------------------------------------------------------------
    add("line", [](Canvas &c) { c.line(2, 13, 13, 2, BK); c.line(3, 13, 13, 3, SH); });
    add("hv", [](Canvas &c) {
        c.line(1, 4, 14, 4, BK);
        c.line(11, 7, 11, 14, BK);
        c.node(1, 4); c.node(14, 4);
    });
    add("polyhv", [](Canvas &c) { c.poly({{2, 14}, {2, 9}, {7, 9}, {7, 4}, {13, 4}, {13, 1}}, BK); });
    add("polyl", [](Canvas &c) { c.poly({{1, 13}, {5, 3}, {9, 11}, {14, 2}}, BK); });
    add("bez2", [](Canvas &c) {
        c.bezier({2, 12}, {2, 2}, {13, 2}, {13, 12}, BK);
        c.line(2, 12, 2, 4, BL); c.line(13, 12, 13, 4, BL);
        c.node(2, 12); c.node(13, 12);
    });
    add("curve", [](Canvas &c) { c.bezier({1, 12}, {5, -2}, {10, 17}, {14, 3}, BK); });
    add("arc", [](Canvas &c) { c.arc(3, 3, 25, 25, 90, 180, SH); c.arc(2, 2, 24, 24, 90, 180, BK); });
    add("lineadv", [](Canvas &c) {
        c.bezier({1, 10}, {5, 2}, {9, 16}, {14, 5}, BK);
        c.bezier({1, 11}, {5, 3}, {9, 17}, {14, 6}, BK);
        c.bezier({2, 11}, {6, 3}, {10, 17}, {14, 7}, NV);
    });
    add("polyg", [](Canvas &c) { c.fillPoly({{2, 6}, {8, 1}, {14, 7}, {11, 14}, {4, 13}}, WH, BK); });
    add("rect", [](Canvas &c) { c.box(2, 3, 13, 12, WH); });
    add("rrect", [](Canvas &c) {
        c.fill(2, 3, 13, 12, WH);
        c.line(4, 3, 11, 3, BK); c.line(4, 12, 11, 12, BK);
        c.line(2, 5, 2, 10, BK); c.line(13, 5, 13, 10, BK);
        c.set(3, 4, BK); c.set(12, 4, BK); c.set(3, 11, BK); c.set(12, 11, BK);
        c.set(2, 3, FACE); c.set(3, 3, FACE); c.set(2, 4, FACE);
        c.set(13, 3, FACE); c.set(12, 3, FACE); c.set(13, 4, FACE);
        c.set(2, 12, FACE); c.set(3, 12, FACE); c.set(2, 11, FACE);
        c.set(13, 12, FACE); c.set(12, 12, FACE); c.set(13, 11, FACE);
    });
    add("circle", [](Canvas &c) { c.ellipse(1, 3, 14, 12, WH, BK); });
    add("pie", [](Canvas &c) {
        c.ellipse(1, 1, 14, 14, WH, BK);
        c.fillPoly({{7, 7}, {14, 7}, {13, 3}, {11, 1}, {7, 0}}, BL);
        c.line(7, 7, 14, 7, BK); c.line(7, 7, 7, 1, BK);
    });
    add("text", [](Canvas &c) { c.text(4, 2, "A", BK, 2); c.line(2, 14, 13, 14, SH); });
    add("tx3d", [](Canvas &c) { c.text(5, 4, "A", SH, 2); c.text(3, 2, "A", BK, 2); });
    add("text_v", [](Canvas &c) {
        c.text(2, 1, "A", BK); c.text(2, 8, "B", BK);
        c.arrow(11, 1, 11, 14, BK);
    });
    add("label", [](Canvas &c) {
        c.fillPoly({{1, 4}, {11, 4}, {14, 8}, {11, 12}, {1, 12}}, YL, BK);
        c.node(11, 8, FACE);
        c.line(3, 7, 8, 7, BK); c.line(3, 9, 7, 9, BK);
    });
    add("table", [](Canvas &c) {
        c.box(1, 2, 14, 13, WH);
        c.fill(2, 3, 13, 5, NV);
        c.line(1, 6, 14, 6, BK); c.line(1, 10, 14, 10, BK);
        c.line(5, 2, 5, 13, BK); c.line(10, 2, 10, 13, BK);
    });
    add("grid", [](Canvas &c) {
        for (int i = 1; i <= 14; i += 4) {
            c.line(i, 1, i, 13, BK);
            c.line(1, i, 13, i, BK);
        }
    });
    add("calendar", [](Canvas &c) {
        c.box(1, 2, 14, 14, WH);
        c.fill(2, 3, 13, 5, RD);
        for (int y = 7; y <= 12; y += 2)
            for (int x = 3; x <= 12; x += 3)
                c.set(x, y, BK);
        c.line(4, 1, 4, 3, BK); c.line(11, 1, 11, 3, BK);
    });
    add("imgframe", [](Canvas &c) {
        c.box(1, 2, 14, 13, WH);
        c.rect(2, 3, 13, 12, SH);
        c.fillPoly({{3, 11}, {7, 6}, {10, 9}, {12, 7}, {12, 11}}, GN);
        c.ellipse(9, 4, 11, 6, YL, OR);
    });
    add("More", [](Canvas &c) {
        c.ellipse(1, 2, 6, 7, WH, BK);
        c.box(9, 2, 14, 7, WH);
        c.fillPoly({{1, 14}, {4, 9}, {7, 14}}, WH, BK);
        c.fill(9, 12, 10, 13, BK); c.fill(12, 12, 13, 13, BK);
    });

    // ---- file, page and edit --------------------------------------------------------
    add("heart", [](Canvas &c) {
        c.fillPoly({{8, 4}, {10, 2}, {13, 2}, {14, 4}, {14, 6}, {8, 13}, {2, 6}, {2, 4}, {3, 2}, {6, 2}},
                   RD, DR);
        c.set(4, 4, WH);
    });
    add("new", [](Canvas &c) { c.page(3, 1, 12, 14); });
    add("open", [](Canvas &c) {
        c.fillPoly({{1, 3}, {5, 3}, {6, 4}, {12, 4}, {12, 13}, {1, 13}}, OL, BK);
        c.fillPoly({{3, 7}, {15, 7}, {12, 13}, {1, 13}}, YL, BK);
    });
    add("close", [](Canvas &c) {
        c.page(2, 1, 11, 14);
        c.thick(6, 7, 13, 14, RD); c.thick(6, 14, 13, 7, RD);
    });
    add("save", [](Canvas &c) {
        c.box(1, 1, 14, 14, NV);
        c.box(4, 2, 11, 7, WH);
        c.fill(5, 10, 11, 14, SH);
        c.fill(8, 11, 9, 13, BK);
    });
    add("pagemenu", [](Canvas &c) {
        c.page(1, 1, 10, 14);
        textRows(c, 3, 5, 8, 4);
        c.box(11, 4, 14, 10, LT);
    });
    add("selpage", [](Canvas &c) {
        c.page(1, 1, 10, 13);
        c.fillPoly({{8, 6}, {8, 15}, {10, 13}, {12, 15}, {13, 14}, {11, 12}, {14, 12}}, WH, BK);
    });
    add("newpage", [](Canvas &c) {
        c.page(1, 1, 10, 14);
        c.fill(10, 7, 15, 8, GN); c.fill(12, 5, 13, 10, GN);
    });
    add("prevpage", [](Canvas &c) {
        c.page(5, 1, 14, 14);
        c.fillPoly({{1, 8}, {6, 3}, {6, 13}}, BL, BK);
    });
    add("nextpage", [](Canvas &c) {
        c.page(1, 1, 10, 14);
        c.fillPoly({{14, 8}, {9, 3}, {9, 13}}, BL, BK);
    });
    add("print", [](Canvas &c) {
        c.box(4, 1, 11, 6, WH);
        c.box(1, 6, 14, 11, LT);
        c.fill(2, 10, 13, 10, SH);
        c.box(4, 10, 11, 14, WH);
        c.set(12, 8, GN);
    });
    add("view", [](Canvas &c) {
        c.ellipse(1, 4, 14, 11, WH, BK);
        c.ellipse(5, 5, 10, 10, BL, NV);
        c.fill(7, 7, 8, 8, BK);
    });
    add("toorg", [](Canvas &c) {
        c.line(1, 1, 14, 1, BK); c.line(1, 1, 1, 14, BK);
        c.arrow(13, 13, 4, 4, BL);
        c.arrow(12, 13, 4, 5, BL);
    });
    add("tobr", [](Canvas &c) {
        c.line(14, 1, 14, 14, BK); c.line(1, 14, 14, 14, BK);
        c.arrow(2, 2, 11, 11, BL);
        c.arrow(3, 2, 11, 10, BL);
    });
    add("cut", [](Canvas &c) {
        c.line(4, 1, 10, 10, BK); c.line(11, 1, 5, 10, BK);
        c.ellipse(1, 9, 6, 14, -1, BK); c.ellipse(9, 9, 14, 14, -1, BK);
    });
    add("copy", [](Canvas &c) {
        c.page(1, 1, 9, 10);
        c.page(5, 5, 13, 14);
        textRows(c, 7, 8, 11, 3);
    });
    add("paste", [](Canvas &c) {
        c.box(1, 2, 11, 14, OL);
        c.box(4, 1, 8, 3, SH);
        c.page(6, 6, 14, 14);
    });
    add("undo", [](Canvas &c) {
        c.arc(3, 3, 14, 13, -90, 90, BK);
        c.line(8, 3, 3, 3, BK);
        c.arrow(6, 3, 2, 3, BK);
    });
    add("mc_text", [](Canvas &c) {
        c.box(1, 1, 14, 14, WH);
        textRows(c, 3, 3, 6, 5);
        textRows(c, 9, 3, 12, 5);
    });
    add("splchk", [](Canvas &c) {
        c.text(1, 1, "ABC", BK);
        c.thick(4, 11, 7, 14, GN); c.thick(7, 14, 14, 7, GN);
    });
    add("txtool", [](Canvas &c) {
        c.text(1, 1, "T", BK, 2);
        textRows(c, 9, 3, 15, 5, NV);
    });

    // ---- mode tools -------------------------------------------------------------------
    add("sel", [](Canvas &c) {
        c.fillPoly({{4, 1}, {4, 13}, {7, 10}, {9, 14}, {11, 13}, {9, 9}, {13, 9}}, WH, BK);
    });
    add("multisel", [](Canvas &c) {
        c.dashed(1, 1, 14, 1, BK); c.dashed(1, 1, 1, 14, BK);
        c.dashed(14, 1, 14, 6, BK); c.dashed(1, 14, 6, 14, BK);
        c.fillPoly({{7, 5}, {7, 15}, {9, 13}, {11, 15}, {12, 14}, {11, 12}, {14, 12}}, WH, BK);
    });
    add("zoomin", [](Canvas &c) {
        c.lens(1, 1, 9);
        c.line(3, 5, 8, 5, BK); c.line(5, 3, 5, 8, BK);
    });
    add("zoomout", [](Canvas &c) {
        c.lens(1, 1, 9);
        c.line(3, 5, 8, 5, BK);
    });
    add("layer", [](Canvas &c) {
        c.fillPoly({{1, 11}, {8, 8}, {15, 11}, {8, 14}}, SH, BK);
        c.fillPoly({{1, 7}, {8, 4}, {15, 7}, {8, 10}}, LT, BK);
        c.fillPoly({{1, 3}, {8, 0}, {15, 3}, {8, 6}}, WH, BK);
    });
    add("fill", [](Canvas &c) {
        c.fillPoly({{2, 7}, {7, 2}, {12, 7}, {7, 12}}, WH, BK);
        c.fillPoly({{2, 7}, {12, 7}, {7, 12}}, BL);
        c.ellipse(12, 9, 14, 13, BL, NV);
    });
    add("lineattr", [](Canvas &c) {
        c.line(1, 2, 14, 2, BK);
        c.fill(1, 5, 14, 6, BK);
        c.dashed(1, 9, 14, 9, BK);
        c.fill(1, 12, 14, 14, BK);
    });
    add("lineend", [](Canvas &c) {
        c.arrow(2, 4, 14, 4, BK);
        c.line(4, 11, 14, 11, BK);
        c.ellipse(1, 9, 5, 13, BK, BK);
    });
    add("dispattr", [](Canvas &c) {
        c.box(1, 1, 14, 10, NV);
        c.fill(2, 2, 13, 9, TL);
        c.fill(6, 11, 9, 12, SH);
        c.line(3, 13, 12, 13, BK);
    });
    add("libmngr", [](Canvas &c) {
        c.box(2, 2, 4, 13, RD);
        c.box(5, 3, 7, 13, BL);
        c.box(8, 1, 10, 13, GN);
        c.fillPoly({{11, 4}, {13, 3}, {15, 13}, {13, 14}}, YL, BK);
        c.line(0, 14, 15, 14, BK);
    });
    add("Edit", [](Canvas &c) {
        c.bezier({2, 13}, {2, 3}, {12, 13}, {13, 2}, BK);
        c.node(2, 13, BK); c.node(13, 2, BK); c.node(7, 9);
    });
    add("rotbmap", [](Canvas &c) {
        c.arc(2, 2, 13, 13, 100, 380, BK);
        c.arrow(8, 2, 11, 2, BK);
        c.box(6, 6, 9, 9, BL);
    });
    add("group", [](Canvas &c) {
        c.ellipse(3, 3, 8, 8, WH, BK);
        c.box(7, 7, 12, 12, LT);
        c.fill(1, 1, 2, 2, BK); c.fill(13, 1, 14, 2, BK);
        c.fill(1, 13, 2, 14, BK); c.fill(13, 13, 14, 14, BK);
    });
    add("ungroup", [](Canvas &c) {
        c.ellipse(2, 2, 7, 7, WH, BK);
        c.box(8, 8, 13, 13, LT);
        c.set(1, 1, BK); c.set(8, 1, BK); c.set(1, 8, BK); c.set(8, 8 - 1, BK);
        c.set(7, 14, BK); c.set(14, 7, BK); c.set(14, 14, BK);
    });
    add("scrltype", [](Canvas &c) {
        c.box(5, 0, 10, 15, LT);
        c.box(5, 0, 10, 3, FACE);
        c.box(5, 12, 10, 15, FACE);
        c.box(5, 6, 10, 9, SH);
        c.set(7, 1, BK); c.set(8, 1, BK); c.line(6, 2, 9, 2, BK);
        c.set(7, 14, BK); c.set(8, 14, BK); c.line(6, 13, 9, 13, BK);
    });
    add("guides", [](Canvas &c) {
        c.box(1, 1, 14, 14, WH);
        c.dashed(5, 1, 5, 14, BL);
        c.dashed(1, 10, 14, 10, BL);
    });

    // ---- move, size and align ---------------------------------------------------------
    add("increw", [](Canvas &c) { sizeArrows(c, true, true, false, false); });
    add("decrew", [](Canvas &c) { sizeArrows(c, false, true, false, false); });
    add("incrns", [](Canvas &c) { sizeArrows(c, true, false, true, false); });
    add("decrns", [](Canvas &c) { sizeArrows(c, false, false, true, false); });
    add("incr", [](Canvas &c) { sizeArrows(c, true, false, false, true); });
    add("decr", [](Canvas &c) { sizeArrows(c, false, false, false, true); });
    add("movee", [](Canvas &c) { moveArrow(c, 1, 0); });
    add("movew", [](Canvas &c) { moveArrow(c, -1, 0); });
    add("moven", [](Canvas &c) { moveArrow(c, 0, -1); });
    add("moves", [](Canvas &c) { moveArrow(c, 0, 1); });
    add("movene", [](Canvas &c) { moveArrow(c, 1, -1); });
    add("movenw", [](Canvas &c) { moveArrow(c, -1, -1); });
    add("movesw", [](Canvas &c) { moveArrow(c, -1, 1); });
    add("movese", [](Canvas &c) { moveArrow(c, 1, 1); });
    add("rot90", [](Canvas &c) {
        c.text(1, 9, "90", BK);
        c.arc(3, 1, 14, 12, 0, 180, BK);
        c.arrow(14, 5, 13, 8, BK, 2);
    });
    add("alignct", [](Canvas &c) {
        c.box(2, 2, 13, 13, WH);
        c.box(5, 5, 10, 10, BL);
        c.dashed(7, 0, 7, 15, RD); c.dashed(0, 7, 15, 7, RD);
    });
    add("alignl", [](Canvas &c) { alignBars(c, false, 2, 2, 12, 2, 8); });
    add("alignr", [](Canvas &c) { alignBars(c, false, 13, 3, 13, 7, 13); });
    add("alignt", [](Canvas &c) { alignBars(c, true, 2, 2, 12, 2, 8); });
    add("alignb", [](Canvas &c) { alignBars(c, true, 13, 3, 13, 7, 13); });
    add("alignhc", [](Canvas &c) { alignBars(c, false, 7, 2, 12, 4, 10); });
    add("alignvc", [](Canvas &c) { alignBars(c, true, 7, 2, 12, 4, 10); });
    add("evenx", [](Canvas &c) {
        c.box(0, 4, 3, 11, BL); c.box(6, 4, 9, 11, BL); c.box(12, 4, 15, 11, BL);
        c.line(4, 13, 5, 13, BK); c.line(10, 13, 11, 13, BK);
    });
    add("eveny", [](Canvas &c) {
        c.box(4, 0, 11, 3, BL); c.box(4, 6, 11, 9, BL); c.box(4, 12, 11, 15, BL);
        c.line(13, 4, 13, 5, BK); c.line(13, 10, 13, 11, BK);
    });
    add("evnsizex", [](Canvas &c) {
        c.box(3, 1, 12, 5, WH); c.box(3, 8, 12, 13, LT);
        c.line(3, 15, 12, 15, BL); c.line(3, 14, 3, 15, BL); c.line(12, 14, 12, 15, BL);
    });
    add("evnsizey", [](Canvas &c) {
        c.box(1, 3, 5, 12, WH); c.box(8, 3, 13, 12, LT);
        c.line(15, 3, 15, 12, BL); c.line(14, 3, 15, 3, BL); c.line(14, 12, 15, 12, BL);
    });
    add("evenszxy", [](Canvas &c) {
        c.box(1, 1, 6, 6, WH); c.box(8, 8, 13, 13, LT);
        c.line(8, 15, 13, 15, BL); c.line(15, 8, 15, 13, BL);
    });
    add("fliplr", [](Canvas &c) {
        c.fillPoly({{1, 12}, {6, 3}, {6, 12}}, BL, BK);
        c.fillPoly({{14, 12}, {9, 3}, {9, 12}}, WH, BK);
        c.dashed(7, 0, 7, 15, BK);
    });
    add("flipud", [](Canvas &c) {
        c.fillPoly({{3, 1}, {12, 6}, {3, 6}}, BL, BK);
        c.fillPoly({{3, 14}, {12, 9}, {3, 9}}, WH, BK);
        c.dashed(0, 7, 15, 7, BK);
    });
    add("sendback", [](Canvas &c) {
        c.box(5, 5, 13, 13, WH);
        c.box(1, 1, 9, 9, BL);
        c.arrow(14, 1, 14, 4, BK, 2);
    });
    add("bringfor", [](Canvas &c) {
        c.box(1, 1, 9, 9, WH);
        c.box(5, 5, 13, 13, BL);
        c.arrow(14, 4, 14, 0, BK, 2);
    });
    add("compo", [](Canvas &c) {
        c.fillPoly({{1, 6}, {9, 6}, {9, 14}, {1, 14}}, TL);
        c.ellipse(5, 1, 14, 10, TL, TL);
        c.rect(1, 6, 9, 14, BK);
        c.ellipse(5, 1, 14, 10, -1, BK);
    });
    add("rp-line", [](Canvas &c) {
        c.line(1, 6, 6, 1, BK); c.line(1, 11, 11, 1, BK); c.line(4, 14, 14, 4, BK);
        c.line(9, 14, 14, 9, BK);
    });
    add("percent", [](Canvas &c) {
        c.ellipse(1, 1, 5, 5, -1, BK); c.ellipse(10, 10, 14, 14, -1, BK);
        c.thick(12, 1, 2, 13, BK);
    });
    add("swap", [](Canvas &c) {
        c.arrow(4, 14, 4, 2, BL);
        c.arrow(11, 1, 11, 13, RD);
    });

    // ---- more objects ------------------------------------------------------------------
    add("spanhv", [](Canvas &c) {
        c.line(1, 2, 1, 8, BK); c.line(14, 2, 14, 8, BK);
        c.arrow2(2, 5, 13, 5, BK, 2);
        c.line(3, 11, 12, 11, SH); c.text(6, 10, "1", BK);
    });
    add("dimspan", [](Canvas &c) {
        c.line(1, 10, 5, 14, BK); c.line(10, 1, 14, 5, BK);
        c.arrow2(3, 12, 12, 3, BK, 2);
    });
    add("Diamond", [](Canvas &c) { c.fillPoly({{7, 0}, {14, 7}, {7, 14}, {0, 7}}, WH, BK); });
    add("Star", [](Canvas &c) {
        std::vector<Pt> p;
        for (int i = 0; i < 10; ++i) {
            double a = (-90 + i * 36) * M_PI / 180.0, rr = (i % 2) ? 3.0 : 7.5;
            p.push_back({(int)std::lround(7.5 + rr * std::cos(a)), (int)std::lround(8 + rr * std::sin(a))});
        }
        c.fillPoly(p, YL, BK);
    });
    add("eqlat", [](Canvas &c) { c.fillPoly({{7, 1}, {14, 13}, {1, 13}}, WH, BK); });
    add("crossh", [](Canvas &c) {
        c.fillPoly({{5, 1}, {10, 1}, {10, 5}, {14, 5}, {14, 10}, {10, 10}, {10, 14}, {5, 14}, {5, 10},
                    {1, 10}, {1, 5}, {5, 5}},
                   WH, BK);
    });
    add("garrow1", [](Canvas &c) { c.fillPoly(blockArrowRight(1, 14, 7, 2, 5), WH, BK); });
    add("arrowr", [](Canvas &c) { c.fillPoly(blockArrowRight(1, 14, 7, 3, 6), BL, BK); });
    add("arrowd", [](Canvas &c) { c.fillPoly(transpose(blockArrowRight(1, 14, 7, 3, 6)), BL, BK); });
    add("arrowh2", [](Canvas &c) {
        c.fillPoly({{1, 7}, {5, 3}, {5, 5}, {10, 5}, {10, 3}, {14, 7}, {10, 11}, {10, 9}, {5, 9}, {5, 11}},
                   WH, BK);
    });
    add("arrowv2", [](Canvas &c) {
        c.fillPoly(transpose({{1, 7}, {5, 3}, {5, 5}, {10, 5}, {10, 3}, {14, 7}, {10, 11}, {10, 9},
                              {5, 9}, {5, 11}}),
                   WH, BK);
    });
    add("triang0", [](Canvas &c) { c.fillPoly({{2, 1}, {13, 13}, {2, 13}}, WH, BK); });
    add("cube", [](Canvas &c) {
        c.fillPoly({{1, 5}, {5, 1}, {14, 1}, {10, 5}}, LT, BK);
        c.fillPoly({{10, 5}, {14, 1}, {14, 10}, {10, 14}}, SH, BK);
        c.box(1, 5, 10, 14, WH);
    });
    add("trapez", [](Canvas &c) { c.fillPoly({{4, 3}, {11, 3}, {14, 12}, {1, 12}}, WH, BK); });
    add("grid_h", [](Canvas &c) {
        for (int y = 2; y <= 14; y += 3)
            c.line(1, y, 14, y, BK);
    });
    add("grid_v", [](Canvas &c) {
        for (int x = 2; x <= 14; x += 3)
            c.line(x, 1, x, 14, BK);
    });

    // ---- colour targets ----------------------------------------------------------------
    add("cr_fore", [](Canvas &c) { c.text(3, 0, "A", BK, 2); c.fill(1, 12, 14, 14, RD); });
    add("cr_frame", [](Canvas &c) {
        c.rect(1, 1, 14, 14, BK); c.rect(2, 2, 13, 13, BL); c.rect(3, 3, 12, 12, BL);
        c.rect(4, 4, 11, 11, BK);
    });
    add("cr_back", [](Canvas &c) { c.box(1, 1, 14, 14, GN); c.box(5, 5, 10, 10, WH); });
    add("cr_mngr", [](Canvas &c) {
        const uint8_t cols[9] = {RD, GN, BL, YL, MG, TL, OR, NV, WH};
        for (int i = 0; i < 9; ++i) {
            int x = 1 + (i % 3) * 5, y = 1 + (i / 3) * 5;
            c.box(x, y, x + 3, y + 3, cols[i]);
        }
    });

    // ---- node editing -----------------------------------------------------------------
    add("node_apnd", [](Canvas &c) {
        c.line(2, 12, 9, 5, BK);
        c.node(2, 12); c.node(9, 5);
        c.fill(10, 1, 14, 1, GN); c.fill(12, 0, 12, 3, GN);
        c.line(10, 2, 14, 2, GN);
    });
    add("node_ins", [](Canvas &c) {
        c.line(1, 12, 14, 12, BK);
        c.node(1, 12); c.node(14, 12); c.node(7, 12, RD);
        c.arrow(7, 1, 7, 8, BK);
    });
    add("node_close", [](Canvas &c) {
        c.poly({{2, 13}, {4, 3}, {12, 2}, {13, 12}}, BK);
        c.line(13, 12, 2, 13, RD);
        c.node(2, 13); c.node(13, 12); c.node(4, 3); c.node(12, 2);
    });
    add("node_open", [](Canvas &c) {
        c.poly({{2, 13}, {4, 3}, {12, 2}, {13, 12}}, BK);
        c.dashed(13, 12, 2, 13, SH);
        c.node(2, 13, RD); c.node(13, 12, RD);
    });
    add("node_thin", [](Canvas &c) {
        c.poly({{1, 12}, {4, 5}, {7, 9}, {10, 3}, {14, 8}}, BK);
        c.node(1, 12); c.node(14, 8); c.node(10, 3);
        c.set(4, 5, RD); c.set(7, 9, RD);
        c.line(9, 14, 13, 14, RD);
    });
    add("node_toBez", [](Canvas &c) {
        c.poly({{1, 7}, {4, 2}, {7, 7}}, BK);
        c.arrow(7, 9, 10, 9, BL, 2);
        c.bezier({8, 14}, {9, 3}, {13, 3}, {14, 14}, BK);
    });
    add("node_topol", [](Canvas &c) {
        c.bezier({1, 7}, {2, 0}, {6, 0}, {7, 7}, BK);
        c.arrow(7, 9, 10, 9, BL, 2);
        c.poly({{8, 14}, {11, 4}, {14, 14}}, BK);
    });
    add("node_smoothfit", [](Canvas &c) {
        for (Pt p : std::vector<Pt>{{1, 11}, {4, 6}, {7, 10}, {10, 4}, {13, 8}})
            c.fill(p.x, p.y, p.x + 1, p.y + 1, RD);
        c.bezier({1, 12}, {5, 1}, {9, 15}, {14, 5}, BK);
    });
    add("node_smooth", [](Canvas &c) {
        c.bezier({1, 13}, {3, 2}, {12, 2}, {14, 13}, BK);
        c.line(2, 4, 13, 4, BL);
        c.node(7, 4); c.node(2, 4, BL); c.node(13, 4, BL);
    });

    // ---- text flow ------------------------------------------------------------------------
    add("txcomb", [](Canvas &c) {
        c.box(0, 1, 5, 6, WH); c.box(0, 9, 5, 14, WH);
        c.arrow(6, 3, 9, 7, BK, 2); c.arrow(6, 12, 9, 8, BK, 2);
        c.box(10, 4, 15, 11, WH);
    });
    add("txflownp", [](Canvas &c) {
        c.box(0, 1, 6, 9, WH);
        textRows(c, 1, 3, 5, 3);
        c.arrow(6, 11, 11, 11, BL, 2);
        c.page(10, 4, 15, 14);
    });
    add("txflowc", [](Canvas &c) {
        c.arc(1, 4, 14, 22, 10, 170, SH);
        c.text(2, 5, "A", BK); c.text(6, 2, "B", BK); c.text(10, 5, "C", BK);
    });
    add("txflown", [](Canvas &c) {
        c.poly({{1, 13}, {7, 4}, {14, 11}}, SH);
        c.node(1, 13); c.node(7, 4); c.node(14, 11);
        c.text(8, 10, "T", BK);
    });
    add("txstrait", [](Canvas &c) {
        c.bezier({1, 5}, {5, -1}, {9, 9}, {14, 3}, SH);
        c.arrow(7, 6, 7, 10, BL, 2);
        c.line(1, 13, 14, 13, BK);
    });
    add("shadowb", [](Canvas &c) {
        c.fill(4, 4, 14, 14, SH);
        c.box(1, 1, 11, 11, WH);
        c.fillPoly({{2, 10}, {5, 5}, {8, 8}, {10, 6}, {10, 10}}, GN);
    });
    add("help", [](Canvas &c) { c.text(4, 1, "?", NV, 2); c.fill(6, 13, 7, 14, NV); });

    // ---- buttons added at run time and the scroll buttons -----------------------------
    add("reshape", [](Canvas &c) {
        c.bezier({1, 13}, {3, 3}, {9, 3}, {12, 12}, BK);
        c.node(6, 6, BL);
        c.fillPoly({{9, 1}, {9, 9}, {11, 7}, {14, 7}}, WH, BK);
    });
    add("snap2nod", [](Canvas &c) {
        c.line(1, 13, 13, 3, BK);
        c.node(8, 7, RD);
        c.line(8, 0, 8, 4, BL); c.line(8, 10, 8, 14, BL);
        c.line(3, 7, 5, 7, BL); c.line(11, 7, 15, 7, BL);
    });

    // ---- the rulers' corner button: a corner of two rulers with a guide,
    // or with a column marker while markers can be added -----------------------------
    auto rulerCorner = [](Canvas &c) {
        c.fill(2, 2, 14, 5, WH);
        c.fill(2, 2, 5, 14, WH);
        c.rect(2, 2, 14, 5, BK);
        c.rect(2, 2, 5, 14, BK);
        c.fill(3, 3, 4, 4, WH);
        for (int i = 7; i <= 13; i += 2) {
            c.set(i, 3, BK);
            c.set(3, i, BK);
        }
    };
    add("rulbtn", [rulerCorner](Canvas &c) {
        rulerCorner(c);
        c.dashed(10, 7, 10, 14, BL);
    });
    add("rulbtn2", [rulerCorner](Canvas &c) {
        rulerCorner(c);
        c.fillPoly({{7, 7}, {13, 7}, {10, 10}}, NV);
        c.line(10, 10, 10, 14, NV);
    });

    // ---- drawing placeholders -------------------------------------------------------
    // A picture whose file is missing: a white frame with a torn corner and
    // a red cross.
    add("missingbmp", [](Canvas &c) {
        c.box(1, 1, 14, 14, WH, SH);
        c.fillPoly({{10, 1}, {14, 1}, {14, 5}}, FACE, SH);
        c.thick(4, 4, 11, 11, RD);
        c.thick(11, 4, 4, 11, RD);
    });

    return r;
}

// The scroll-button arrows: black triangles of 4 by 7 pixels in 8 by 8.
std::vector<std::pair<std::string, Canvas>> arrows()
{
    std::vector<std::pair<std::string, Canvas>> out;
    const char *names[4] = {"left", "right", "up", "down"};
    for (int k = 0; k < 4; ++k) {
        Canvas c(8, 8);
        for (int i = 0; i < 4; ++i)
            for (int j = i; j <= 6 - i; ++j) {
                int across = (k == 0 || k == 2) ? 5 - i : 2 + i;
                if (k <= 1)
                    c.set(across, j, BK);
                else
                    c.set(j, across, BK);
            }
        out.emplace_back(names[k], c);
    }
    return out;
}

// ---- files ----------------------------------------------------------------------------

void put16(std::vector<uint8_t> &v, uint32_t x)
{
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}
void put32(std::vector<uint8_t> &v, uint32_t x)
{
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// The BITMAPINFOHEADER, palette and 8-bit rows of a picture (the resource
// form; a .bmp file adds its 14-byte file header).
std::vector<uint8_t> dibOf(const Canvas &c)
{
    std::vector<uint8_t> v;
    uint32_t stride = ((uint32_t)c.w + 3) & ~3u;
    put32(v, 40);
    put32(v, (uint32_t)c.w);
    put32(v, (uint32_t)c.h);
    put16(v, 1);
    put16(v, 8);
    put32(v, 0);                        // BI_RGB
    put32(v, stride * (uint32_t)c.h);
    put32(v, 2835);
    put32(v, 2835);
    put32(v, NCOLOURS);
    put32(v, 0);
    for (int i = 0; i < NCOLOURS; ++i) {
        v.push_back(kPalette[i][2]);
        v.push_back(kPalette[i][1]);
        v.push_back(kPalette[i][0]);
        v.push_back(0);
    }
    for (int y = c.h - 1; y >= 0; --y) {
        for (int x = 0; x < c.w; ++x)
            v.push_back(c.get(x, y));
        for (uint32_t x = (uint32_t)c.w; x < stride; ++x)
            v.push_back(0);
    }
    return v;
}

bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool readFile(const std::string &path, std::vector<uint8_t> &bytes)
{
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    bytes.clear();
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return true;
}

std::vector<uint8_t> bmpFile(const Canvas &c)
{
    std::vector<uint8_t> dib = dibOf(c), v;
    uint32_t off = 14 + 40 + NCOLOURS * 4;
    v.push_back('B');
    v.push_back('M');
    put32(v, 14 + (uint32_t)dib.size());
    put32(v, 0);
    put32(v, off);
    v.insert(v.end(), dib.begin(), dib.end());
    return v;
}

// A 32 by 32 monochrome cursor from a 32-row picture: '#' black, 'o' white,
// '.' transparent; hot spot given.
std::vector<uint8_t> curFile(const std::vector<std::string> &rows, int hx, int hy)
{
    std::vector<uint8_t> img;
    put32(img, 40);
    put32(img, 32);
    put32(img, 64);
    put16(img, 1);
    put16(img, 1);
    put32(img, 0);
    put32(img, 256);
    put32(img, 0);
    put32(img, 0);
    put32(img, 2);
    put32(img, 0);
    put32(img, 0x000000);   // palette: black, white
    put32(img, 0xFFFFFF);
    auto at = [&](int x, int y) -> char {
        if (y < (int)rows.size() && x < (int)rows[(size_t)y].size())
            return rows[(size_t)y][(size_t)x];
        return '.';
    };
    // XOR mask (colour bits), then AND mask (transparency), bottom-up rows.
    for (int pass = 0; pass < 2; ++pass)
        for (int y = 31; y >= 0; --y)
            for (int byte = 0; byte < 4; ++byte) {
                uint8_t b = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    char ch = at(byte * 8 + bit, y);
                    bool set = pass == 0 ? ch == 'o' : ch == '.';
                    if (set)
                        b |= (uint8_t)(0x80 >> bit);
                }
                img.push_back(b);
            }
    std::vector<uint8_t> v;
    put16(v, 0);
    put16(v, 2);   // cursor
    put16(v, 1);
    v.push_back(32);
    v.push_back(32);
    v.push_back(0);
    v.push_back(0);
    put16(v, (uint32_t)hx);
    put16(v, (uint32_t)hy);
    put32(v, (uint32_t)img.size());
    put32(v, 22);
    v.insert(v.end(), img.begin(), img.end());
    return v;
}


// ---- icons ---------------------------------------------------------------------
// An icon picture is a canvas whose pixels of index kClear are transparent.
const uint8_t kClear = 0xFF;

// A page with its top-right corner folded over, inside the box.
void drawPage(Canvas &c, int l, int t, int r, int b, int fold)
{
    c.fillPoly({{l, t}, {r - fold, t}, {r, t + fold}, {r, b}, {l, b}}, WH, BK);
    c.fillPoly({{r - fold, t}, {r - fold, t + fold}, {r, t + fold}}, LT, BK);
}

// The program: a page with ruled lines and a quill pen lying across it.
Canvas programIcon(int size)
{
    Canvas c(size, size);
    std::fill(c.px.begin(), c.px.end(), kClear);
    int u = size / 16;   // 1 at 16 pixels, 2 at 32
    drawPage(c, 1 * u, 1 * u, 11 * u, 15 * u - 1, 3 * u);
    for (int y = 5 * u; y <= 12 * u; y += 2 * u)
        c.line(3 * u, y, 8 * u, y, SH);
    // The quill: a feather from the upper right down to a nib at the lower left.
    c.fillPoly({{15 * u - 1, 0}, {13 * u, 2 * u}, {7 * u, 10 * u}, {8 * u, 11 * u},
                {14 * u, 4 * u}},
               TL, NV);
    c.thick(8 * u, 10 * u, 5 * u, 13 * u, BK);
    c.set(4 * u, 14 * u, BK);
    return c;
}

// A document window: a page with text lines and a red heading bar.
Canvas documentIcon(int size)
{
    Canvas c(size, size);
    std::fill(c.px.begin(), c.px.end(), kClear);
    int u = size / 16;
    drawPage(c, 2 * u, 1 * u, 13 * u, 15 * u - 1, 3 * u);
    c.fill(4 * u, 4 * u, 8 * u, 5 * u - 1 + (u > 1), RD);
    for (int y = 7 * u; y <= 12 * u; y += 2 * u)
        c.line(4 * u, y, 11 * u, y, NV);
    return c;
}

// One image of an icon resource: a 32-bit top-down-flipped DIB with alpha,
// then the AND mask.
std::vector<uint8_t> iconImage(const Canvas &c)
{
    std::vector<uint8_t> v;
    put32(v, 40);
    put32(v, (uint32_t)c.w);
    put32(v, (uint32_t)c.h * 2);
    put16(v, 1);
    put16(v, 32);
    put32(v, 0);
    put32(v, 0);
    put32(v, 0);
    put32(v, 0);
    put32(v, 0);
    put32(v, 0);
    for (int y = c.h - 1; y >= 0; --y)
        for (int x = 0; x < c.w; ++x) {
            uint8_t p = c.get(x, y);
            bool clear = p == kClear;
            const uint8_t *rgb = clear ? kPalette[BK] : kPalette[p];
            v.push_back(clear ? 0 : rgb[2]);
            v.push_back(clear ? 0 : rgb[1]);
            v.push_back(clear ? 0 : rgb[0]);
            v.push_back(clear ? 0 : 255);
        }
    uint32_t maskStride = (((uint32_t)c.w + 31) / 32) * 4;
    for (int y = c.h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < c.w; ++x)
            if (c.get(x, y) == kClear)
                row[(size_t)x / 8] |= (uint8_t)(0x80 >> (x % 8));
        v.insert(v.end(), row.begin(), row.end());
    }
    return v;
}

// An .ico file holding the images in order.
std::vector<uint8_t> icoFile(const std::vector<Canvas> &images)
{
    std::vector<uint8_t> v;
    put16(v, 0);
    put16(v, 1);
    put16(v, (uint32_t)images.size());
    uint32_t offset = 6 + 16 * (uint32_t)images.size();
    std::vector<std::vector<uint8_t>> data;
    for (const Canvas &c : images)
        data.push_back(iconImage(c));
    for (size_t i = 0; i < images.size(); ++i) {
        v.push_back((uint8_t)images[i].w);
        v.push_back((uint8_t)images[i].h);
        v.push_back(0);
        v.push_back(0);
        put16(v, 1);
        put16(v, 32);
        put32(v, (uint32_t)data[i].size());
        put32(v, offset);
        offset += (uint32_t)data[i].size();
    }
    for (auto &d : data)
        v.insert(v.end(), d.begin(), d.end());
    return v;
}

const std::vector<std::string> kPasteCursor = {
    "#",          "##",          "#o#",         "#oo#",        "#ooo#",
    "#oooo#",     "#ooooo#",     "#oooooo#",    "#ooooooo#",   "#oooooooo#",
    "#ooooo#####", "#oo#oo#",    "#o# #oo#",    "##  #oo#",    "#    #oo#",
    "      #oo#  ##########",    "       ##   #oooooooo#",       "            #oooooooo#",
    "            #ooo##ooo#",     "            #ooo##ooo#",       "            #o######o#",
    "            #o######o#",     "            #ooo##ooo#",       "            #ooo##ooo#",
    "            #oooooooo#",     "            ##########",
};

const std::vector<std::string> kStopCursor = {
    "",
    "          ##########",
    "        ##oooooooooo##",
    "      ##oooooooooooooo##",
    "     #oooo########oooooo#",
    "    #ooo##        ##ooooo#",
    "   #ooo#            #ooooo#",
    "   #oo#            #ooo#oo#",
    "  #ooo#           #ooo# #oo#",
    "  #oo#           #ooo#  #oo#",
    "  #oo#          #ooo#   #oo#",
    "  #oo#         #ooo#    #oo#",
    "  #oo#        #ooo#     #oo#",
    "  #oo#       #ooo#      #oo#",
    "  #oo#      #ooo#       #oo#",
    "  #oo#     #ooo#        #oo#",
    "  #ooo#   #ooo#        #ooo#",
    "   #oo#  #ooo#         #oo#",
    "   #ooo##ooo#         #ooo#",
    "    #ooooo##        ##ooo#",
    "     #oooooo########oooo#",
    "      ##oooooooooooooo##",
    "        ##oooooooooo##",
    "          ##########",
};

// One resource of a .res file: type and name as numbers or upper-case
// names, language neutral.
void putResString(std::vector<uint8_t> &v, const std::string &s)
{
    for (char ch : s) {
        char u = (ch >= 'a' && ch <= 'z') ? (char)(ch - 'a' + 'A') : ch;
        put16(v, (uint8_t)u);
    }
    put16(v, 0);
}

void putResource(std::vector<uint8_t> &out, uint16_t type, const std::string &name,
                 const std::vector<uint8_t> &data)
{
    std::vector<uint8_t> head;
    put16(head, 0xFFFF);
    put16(head, type);
    putResString(head, name);
    while ((head.size() + 8) % 4)
        head.push_back(0);
    put32(head, 0);        // data version
    put16(head, 0x30);     // moveable, pure
    put16(head, 0);        // language neutral
    put32(head, 0);        // version
    put32(head, 0);        // characteristics
    put32(out, (uint32_t)data.size());
    put32(out, (uint32_t)head.size() + 8);
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), data.begin(), data.end());
    while (out.size() % 4)
        out.push_back(0);
}

// The empty entry that opens every 32-bit .res file.
std::vector<uint8_t> resPrologue()
{
    std::vector<uint8_t> v;
    put32(v, 0);
    put32(v, 32);
    put16(v, 0xFFFF);
    put16(v, 0);
    put16(v, 0xFFFF);
    put16(v, 0);
    for (int i = 0; i < 16; ++i)
        v.push_back(0);
    return v;
}

int merge(const char *a, const char *b, const char *out)
{
    std::vector<uint8_t> first, second;
    if (!readFile(a, first) || !readFile(b, second)) {
        std::fprintf(stderr, "qmbmpgen: cannot read %s or %s\n", a, b);
        return 1;
    }
    std::vector<uint8_t> prologue = resPrologue();
    if (second.size() < prologue.size() ||
        std::memcmp(second.data(), prologue.data(), prologue.size()) != 0) {
        std::fprintf(stderr, "qmbmpgen: %s is not a 32-bit resource file\n", b);
        return 1;
    }
    first.insert(first.end(), second.begin() + (long)prologue.size(), second.end());
    if (!writeFile(out, first)) {
        std::fprintf(stderr, "qmbmpgen: cannot write %s\n", out);
        return 1;
    }
    return 0;
}

// The tool pictures that have a variant for a black menu, named with an x
// in front ("xline" for "line"): the same drawing on a black background,
// black strokes turned white, white fills dimmed and the two light greys
// exchanged, so that it reads on a dark menu.
const char *const kDarkMenuNames[] = {"edit", "line", "hv", "polyhv", "polyl", "bez2",
                                      "curve", "arc", "lineadv", "text", "tx3d"};

Canvas darkMenuVariant(const Canvas &c)
{
    Canvas dark = c;
    for (uint8_t &p : dark.px) {
        switch (p) {
        case FACE: p = BK; break;
        case BK: p = WH; break;
        case WH: p = SH; break;
        case SH: p = LT; break;
        case LT: p = SH; break;
        default: break;
        }
    }
    return dark;
}

bool sameNameNoCase(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i]))
            return false;
    return true;
}

int generate(const std::string &dir)
{
    std::vector<std::pair<std::string, Canvas>> pictures;
    for (auto &rc : recipes()) {
        Canvas c(16, 16);
        rc.second(c);
        pictures.emplace_back(rc.first, c);
    }
    for (auto &a : arrows())
        pictures.push_back(a);
    size_t plainCount = pictures.size();
    for (const char *name : kDarkMenuNames) {
        size_t i = 0;
        while (i < plainCount && !sameNameNoCase(pictures[i].first, name))
            ++i;
        if (i == plainCount) {
            std::fprintf(stderr, "qmbmpgen: no picture %s for its dark-menu variant\n", name);
            return 1;
        }
        pictures.emplace_back(std::string("x") + name, darkMenuVariant(pictures[i].second));
    }

    // Every picture must show something and differ from every other one.
    int failures = 0;
    for (size_t i = 0; i < pictures.size(); ++i) {
        int drawn = 0;
        for (uint8_t p : pictures[i].second.px)
            drawn += p != FACE;
        if (drawn < 8) {
            std::fprintf(stderr, "qmbmpgen: %s is nearly empty\n", pictures[i].first.c_str());
            ++failures;
        }
        // The program loads the pictures with LR_LOADTRANSPARENT, which takes
        // the first stored pixel (the bottom-left one) for the background.
        const Canvas &pc = pictures[i].second;
        uint8_t corner = pc.get(0, pc.h - 1);
        uint8_t background = i < plainCount ? FACE : BK;
        if (corner != background) {
            std::fprintf(stderr, "qmbmpgen: %s does not start on its background\n",
                         pictures[i].first.c_str());
            ++failures;
        }
        for (size_t j = 0; j < i; ++j)
            if (pictures[i].second.px == pictures[j].second.px) {
                std::fprintf(stderr, "qmbmpgen: %s draws the same as %s\n",
                             pictures[i].first.c_str(), pictures[j].first.c_str());
                ++failures;
            }
    }
    if (failures)
        return 1;

    std::vector<uint8_t> res = resPrologue();
    for (auto &p : pictures) {
        if (!writeFile(dir + "/" + p.first + ".bmp", bmpFile(p.second))) {
            std::fprintf(stderr, "qmbmpgen: cannot write into %s\n", dir.c_str());
            return 1;
        }
        putResource(res, 2 /* RT_BITMAP */, p.first, dibOf(p.second));
    }
    if (!writeFile(dir + "/paste.cur", curFile(kPasteCursor, 0, 0)) ||
        !writeFile(dir + "/stop.cur", curFile(kStopCursor, 15, 12)) ||
        !writeFile(dir + "/bitmaps.res", res) ||
        !writeFile(dir + "/ridevi.ico", icoFile({programIcon(32), programIcon(16)})) ||
        !writeFile(dir + "/ridevi_S.ico", icoFile({programIcon(16)})) ||
        !writeFile(dir + "/XQMDOC_S.ico", icoFile({documentIcon(16), documentIcon(32)}))) {
        std::fprintf(stderr, "qmbmpgen: cannot write into %s\n", dir.c_str());
        return 1;
    }
    std::printf("qmbmpgen: %d bitmaps, 2 cursors and 3 icons\n", (int)pictures.size());
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--merge") == 0)
        return merge(argv[2], argv[3], argv[4]);
    if (argc == 2)
        return generate(argv[1]);
    std::fprintf(stderr, "usage: qmbmpgen OUTDIR | qmbmpgen --merge A.res B.res OUT.res\n");
    return 2;
}
