// Piecewise cubic least-squares fitting of freehand input (after
// Schneider's method for digitized curves, without reparameterisation).
#include "tools/ep_brushfit.h"
#include "support/ut_mem.h"
#include <float.h>
#include <math.h>
#include <string.h>
#include <vector>

namespace {

struct V2 {
    double x, y;
};
V2 operator+(V2 a, V2 b) { return V2{a.x + b.x, a.y + b.y}; }
V2 operator-(V2 a, V2 b) { return V2{a.x - b.x, a.y - b.y}; }
V2 operator*(V2 a, double s) { return V2{a.x * s, a.y * s}; }
double dot(V2 a, V2 b) { return a.x * b.x + a.y * b.y; }
double length(V2 a) { return sqrt(dot(a, a)); }
// The unit vector; a zero vector stays zero.
V2 unit(V2 a)
{
    double l = length(a);
    return l > 0 ? a * (1.0 / l) : V2{0, 0};
}

double b0(double u) { return (1 - u) * (1 - u) * (1 - u); }
double b1(double u) { return 3 * u * (1 - u) * (1 - u); }
double b2(double u) { return 3 * u * u * (1 - u); }
double b3(double u) { return u * u * u; }

// de Casteljau evaluation of one cubic.
V2 evaluate(const V2 c[4], double t)
{
    V2 a[4] = {c[0], c[1], c[2], c[3]};
    for (int level = 1; level < 4; ++level)
        for (int i = 0; i < 4 - level; ++i)
            a[i] = a[i] * (1 - t) + a[i + 1] * t;
    return a[0];
}

struct Run {
    int first, last;
    V2 t1, t2;
};

class Fitter {
public:
    Fitter(const POINT *p, int n, double tolerance) : tol_(tolerance)
    {
        d_.resize((size_t)n);
        for (int i = 0; i < n; ++i)
            d_[(size_t)i] = V2{(double)p[i].x, (double)p[i].y};
    }

    void run()
    {
        const int n = (int)d_.size();
        V2 t1 = unit(d_[1] - d_[0]), t2 = unit(d_[(size_t)n - 2] - d_[(size_t)n - 1]);
        // Runs are fitted in order, left half before right half.
        std::vector<Run> stack{Run{0, n - 1, t1, t2}};
        while (!stack.empty()) {
            Run r = stack.back();
            stack.pop_back();
            V2 c[4];
            int split = fit(r, c);
            if (split < 0) {
                output(c);
                continue;
            }
            V2 centre = unit((d_[(size_t)split - 1] - d_[(size_t)split]
                              + (d_[(size_t)split] - d_[(size_t)split + 1])) * 0.5);
            stack.push_back(Run{split, r.last, centre * -1.0, r.t2});
            stack.push_back(Run{r.first, split, r.t1, centre});
        }
    }

    std::vector<POINT> out;

private:
    std::vector<V2> d_;
    std::vector<double> u_;
    double tol_;

    void heuristic(const Run &r, V2 c[4])
    {
        const double dist = length(d_[(size_t)r.last] - d_[(size_t)r.first]) / 3.0;
        c[0] = d_[(size_t)r.first];
        c[3] = d_[(size_t)r.last];
        c[1] = c[0] + r.t1 * dist;
        c[2] = c[3] + r.t2 * dist;
    }

    // Fits one run into c; -1 when it is taken as one segment, else the
    // split point, strictly inside the run.
    int fit(const Run &r, V2 c[4])
    {
        const int n = r.last - r.first + 1;
        if (n <= 2) {
            heuristic(r, c);
            return -1;
        }
        // Chord-length parameters.
        u_.assign((size_t)n, 0.0);
        for (int i = 1; i < n; ++i)
            u_[(size_t)i] = u_[(size_t)i - 1]
                            + length(d_[(size_t)(r.first + i)] - d_[(size_t)(r.first + i - 1)]);
        const double total = u_[(size_t)n - 1];
        if (total > 0)
            for (double &u : u_)
                u /= total;

        // Least squares for the two tangent lengths.
        const V2 p0 = d_[(size_t)r.first], p3 = d_[(size_t)r.last];
        double c00 = 0, c01 = 0, c11 = 0, x0 = 0, x1 = 0;
        for (int i = 0; i < n; ++i) {
            const double u = u_[(size_t)i];
            const V2 a0 = r.t1 * b1(u), a1 = r.t2 * b2(u);
            c00 += dot(a0, a0);
            c01 += dot(a0, a1);
            c11 += dot(a1, a1);
            const V2 tmp = d_[(size_t)(r.first + i)] - (p0 * (b0(u) + b1(u)) + p3 * (b2(u) + b3(u)));
            x0 += dot(a0, tmp);
            x1 += dot(a1, tmp);
        }
        double det = c00 * c11 - c01 * c01;
        if (det == 0) {
            if (c00 == 0)
                c00 = 1;
            if (c11 == 0)
                c11 = 1;
            det = c00 * c11;
        }
        const double alpha1 = (x0 * c11 - x1 * c01) / det;
        const double alpha2 = (c00 * x1 - c01 * x0) / det;
        if (alpha1 >= 0 && alpha2 >= 0 && std::isfinite(alpha1) && std::isfinite(alpha2)) {
            c[0] = p0;
            c[3] = p3;
            c[1] = p0 + r.t1 * alpha1;
            c[2] = p3 + r.t2 * alpha2;
        } else {
            heuristic(r, c);
        }

        // The largest squared error among the inner points; ties go to the
        // later point.
        int split = r.first + (r.last - r.first) / 2;
        double worst = -1;
        for (int i = 1; i < n - 1; ++i) {
            const V2 e = evaluate(c, u_[(size_t)i]) - d_[(size_t)(r.first + i)];
            const double err = dot(e, e);
            if (err >= worst) {
                worst = err;
                split = r.first + i;
            }
        }
        if (worst < tol_)
            return -1;
        return split;
    }

    static POINT rounded(V2 v) { return POINT{(LONG)lround(v.x), (LONG)lround(v.y)}; }

    void output(const V2 c[4])
    {
        if (out.empty())
            out.push_back(rounded(c[0]));
        for (int i = 1; i < 4; ++i)
            out.push_back(rounded(c[i]));
    }
};

}  // namespace

MemHandle epBrushLineFitCurve(const POINT *points, int count, double tolerance,
                              int32_t *segments)
{
    if (segments)
        *segments = 0;
    if (!points || count < 2)
        return 0;
    Fitter f(points, count, tolerance > 0 ? tolerance : DBL_MIN);
    f.run();
    MemHandle h = utHandleFromBytes(f.out.data(), (uint32_t)(f.out.size() * sizeof(POINT)));
    if (h && segments)
        *segments = (int32_t)(f.out.size() - 1) / 3;
    return h;
}
