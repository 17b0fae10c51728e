// Freehand fitting and node-edit commit step of qm_bench.
#include "bench/bench_nodes.h"
#include "bench/bench_clock.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include "tools/ep_brushfit.h"
#include "tools/ep_factory.h"
#include "tools/ne_state.h"
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <vector>

void benchFittingAndCommit()
{
    // A wandering hand: a spiral with a wobble, a sample every few units.
    std::vector<POINT> samples;
    for (int i = 0; i < 10000; ++i) {
        double a = i * 0.004, r = 2000 + i * 0.5;
        samples.push_back(POINT{(LONG)lround(r * cos(a) + 30 * sin(i * 0.05)),
                                (LONG)lround(r * sin(a))});
    }
    int32_t k = 0;
    double t0 = benchSeconds();
    MemHandle fitted = epBrushLineFitCurve(samples.data(), (int)samples.size(), 90.0 * 90.0, &k);
    double t1 = benchSeconds();
    utFreeHandle(fitted);
    printf("fit 10,000 samples into %d segments: %.2f ms (aim < 20 ms)\n", (int)k,
           (t1 - t0) * 1000);

    std::vector<POINT> pts;
    for (int i = 0; i < 20000; ++i)
        pts.push_back(POINT{i * 7, (i % 100) * 13});
    EpPageDefaults d;
    memset(&d, 0, sizeof d);
    d.head.penWidth = 15;
    MemHandle line = epCreateObjectFrom(&d, 0, OBT_POLYLINE, pts.data(), 20000);
    if (!line || !neBeginObject(nullptr, line)) {
        printf("commit: no polyline\n");
        obFreeTree(line);
        return;
    }
    {
        MemLock<POINT> w(neGetState()->points);
        for (int i = 0; i < 20000; i += 2)
            w[i].y += 5;
    }
    t0 = benchSeconds();
    line = neCommit(nullptr, line, TRUE);
    t1 = benchSeconds();
    printf("commit a 20,000-point polyline: %.2f ms (aim < 5 ms)\n", (t1 - t0) * 1000);
    neEnd();
    obFreeTree(line);
}
