// Helpers of the drawing-tool tests: page defaults filled by hand, the
// points and words of a new record's type data.
#pragma once
#include "tests/model/pg_kit.h"
#include "support/ut_bytes.h"
#include "tools/ep_factory.h"
#include "model/lay_layers.h"
#include "support/dm_map.h"
#include <algorithm>
#include <math.h>
#include <vector>

namespace eptest {

// Defaults with a recognisable head: pen 0x112233, fill 0x445566, back
// white, pen width 20, no fill, a 10-point Arial and a document for names.
struct Defaults {
    EpPageDefaults d;
    Defaults()
    {
        memset(&d, 0, sizeof d);
        d.head.penColour = 0x112233;
        d.head.fillColour = 0x445566;
        d.head.backColour = 0xFFFFFF;
        d.head.penWidth = 20;
        d.head.flags = OBF_NO_ROTATE;
        LOGFONTA lf = {};
        lf.lfHeight = -200;
        strcpy(lf.lfFaceName, "Arial");
        memcpy(d.font, &lf, sizeof lf);
        for (int i = 0; i < 100; ++i)
            d.field[i] = (uint8_t)(i + 1);
        d.form = fmNew();
    }
    ~Defaults() { fmFree(d.form); }
    EpPageDefaults *operator->() { return &d; }
    EpPageDefaults *get() { return &d; }
};

inline MemHandle create(EpPageDefaults *d, int16_t type, std::vector<POINT> pts,
                        MemHandle h = 0)
{
    return epCreateObjectFrom(d, h, type, pts.data(), (uint16_t)pts.size());
}

inline int32_t i32At(MemHandle h, uint32_t off)
{
    ObLock r(h);
    return utGetAt<int32_t>(obRecData(r.get()), off);
}

inline int16_t i16At(MemHandle h, uint32_t off)
{
    ObLock r(h);
    return utGetAt<int16_t>(obRecData(r.get()), off);
}

// The stored points of a point record, made absolute.
inline std::vector<POINT> pointsOf(MemHandle h)
{
    ObLock r(h);
    const uint8_t *d = obRecData(r.get());
    int16_t n;
    memcpy(&n, d, 2);
    std::vector<POINT> v((size_t)std::max<int16_t>(n, 0));
    memcpy(v.data(), d + 2, v.size() * 8);
    for (POINT &p : v) {
        p.x += r->centreX;
        p.y += r->centreY;
    }
    return v;
}

inline bool samePoint(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

// The smallest distance from p to a poly-Bezier (1 + 3k points), sampled
// finely along each segment.
inline double distanceToCurve(const std::vector<POINT> &c, POINT p)
{
    double best = 1e300;
    for (size_t s = 0; s + 3 < c.size(); s += 3)
        for (int i = 0; i <= 400; ++i) {
            double t = i / 400.0, u = 1 - t;
            double x = u * u * u * c[s].x + 3 * u * u * t * c[s + 1].x
                       + 3 * u * t * t * c[s + 2].x + t * t * t * c[s + 3].x;
            double y = u * u * u * c[s].y + 3 * u * u * t * c[s + 1].y
                       + 3 * u * t * t * c[s + 2].y + t * t * t * c[s + 3].y;
            best = std::min(best, hypot(x - p.x, y - p.y));
        }
    return best;
}

}  // namespace eptest
