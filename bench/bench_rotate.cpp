// The rotate tool's drag feedback and the making and first paint of a
// composite of 64 copies.
#include "bench/bench_rotate.h"
#include "bench/bench_clock.h"
#include "bench/bench_dib.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "tools/cp_composite.h"
#include "tools/ep_factory.h"
#include "tools/ep_rotate.h"
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <vector>

namespace {

// A wavy point list of n points across the page.
std::vector<POINT> wave(int n, int32_t width)
{
    std::vector<POINT> pts((size_t)n);
    for (int i = 0; i < n; ++i)
        pts[(size_t)i] = POINT{1000 + (int32_t)((int64_t)width * i / n),
                               5000 + (int32_t)(1500 * sin(i * 0.05))};
    return pts;
}

}  // namespace

void benchRotate()
{
    BenchBitmap bitmap(1600, 1200);
    HDC dc = bitmap.dc();
    printf("rotate tool and composites, 1600x1200 bitmap\n");

    // The drag: each message erases the last outline and draws the new one.
    RotateOutline outline;
    outline.type = OBT_POLYLINE;
    outline.pivot = POINT{9000, 7000};
    outline.base = wave(2000, 16000);
    for (POINT &p : outline.base) {
        p.x -= outline.pivot.x;
        p.y -= outline.pivot.y;
    }
    const POINT from = {outline.pivot.x + 3000, outline.pivot.y};
    SetROP2(dc, R2_NOTXORPEN);
    const int moves = 400;
    POINT last = from;
    epDrawTurnedOutline(dc, &outline, from, last);
    double t0 = benchSeconds();
    for (int i = 1; i <= moves; ++i) {
        const double a = i * 0.01;
        const POINT now = {outline.pivot.x + (int32_t)(3000 * cos(a)),
                           outline.pivot.y - (int32_t)(3000 * sin(a))};
        epDrawTurnedOutline(dc, &outline, from, last);
        epDrawTurnedOutline(dc, &outline, from, now);
        last = now;
    }
    GdiFlush();
    const double drag = benchSeconds() - t0;
    printf("  rotate outline, 2000 points, per message   %8.3f ms (limit 5)\n",
           drag * 1000.0 / moves);

    // The composite: made around a 500-point curve, then painted once.
    EpPageDefaults d;
    memset(&d, 0, sizeof d);
    d.head.penColour = RGB(20, 20, 120);
    d.head.penWidth = 15;
    d.form = fmNew();
    const std::vector<POINT> curvePts = wave(499 / 3 * 3 + 1, 3000);
    MemHandle curve = epCreateObjectFrom(&d, 0, OBT_BEZIER, curvePts.data(),
                                         (uint16_t)curvePts.size());
    CompositeSettings s;
    cpDefaultSettings(&s);
    s.kind = 2;
    s.copies = 8;
    s.rows = 8;
    s.offsetX = 1500;
    s.offsetY = 900;
    t0 = benchSeconds();
    MemHandle comp = curve ? cpMakeComposite(nullptr, curve, &s) : 0;
    const double make = benchSeconds() - t0;
    t0 = benchSeconds();
    if (comp)
        obDraw(dc, comp);
    GdiFlush();
    const double paint = benchSeconds() - t0;
    printf("  composite of 64 copies of a 500-point curve: made %8.3f ms, first paint "
           "%8.3f ms, together %8.3f ms (limit 100)\n",
           make * 1000.0, paint * 1000.0, (make + paint) * 1000.0);
    obFreeTree(comp ? comp : curve);
    fmFree(d.form);
}
