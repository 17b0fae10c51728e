// Group-member steps of the benchmark.
#include "bench/bench_arrange.h"
#include "bench/bench_clock.h"
#include "commands/grp_members.h"
#include "commands/obj_block.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "objects/sh_box.h"
#include "support/ut_mem.h"
#include <stdio.h>
#include <string.h>
#include <vector>

namespace {

MemHandle rectangle(int32_t l, int32_t t, int32_t r, int32_t b)
{
    MemHandle h = obNewRecord(kObHeadSize + shBoxGeometrySize(OBT_RECTANGLE));
    ObLock rec(h);
    rec->type = OBT_RECTANGLE;
    rec->layer = 1;
    rec->scaleX = rec->scaleY = kObScaleOne;
    RECT box = {l, t, r, b};
    obRecSetRect(rec.get(), &box);
    int32_t sides[2] = {rec->width, rec->height};
    memcpy(obRecData(rec.get()), sides, sizeof sides);
    return h;
}

// 2,000 members of differing sizes, scattered over the page out of order.
MemHandle bigGroup(int n)
{
    std::vector<MemHandle> m;
    for (int i = 0; i < n; ++i) {
        const int32_t x = (int32_t)((i * 7919) % 40000), y = (int32_t)((i * 104729) % 30000);
        m.push_back(rectangle(x, y, x + 200 + (i % 37) * 10, y + 150 + (i % 23) * 10));
    }
    return obNewGroupN(OBT_GROUP, m.data(), n);
}

template <class Op> double timed(MemHandle g, Op op, int *changed)
{
    const double start = benchSeconds();
    MemHandle copy = objPackTree(g);   // the undo copy the command takes
    *changed = op();
    const double took = benchSeconds() - start;
    utFreeHandle(copy);
    return took;
}

}  // namespace

void benchArrange()
{
    const int n = 2000;
    MemHandle g = bigGroup(n);
    int changed = 0;
    double distribute = timed(g, [&] { return grpDistribute(g, FALSE); }, &changed);
    printf("distribute %d members  %8.2f ms  (changed %d; goal under 200 ms)\n", n,
           distribute * 1000.0, changed);
    double sameSize = timed(g, [&] { return grpSameSize(g); }, &changed);
    printf("same size %d members   %8.2f ms  (changed %d; goal under 200 ms)\n", n,
           sameSize * 1000.0, changed);
    // Every member has the reference's size now.
    int same = 0;
    RECT first = {0, 0, 0, 0};
    for (MemHandle m = obGetFirstMember(g); m; m = obGetNextMember(m)) {
        RECT r;
        obGetRect(m, &r);
        if (m == obGetFirstMember(g))
            first = r;
        same += (r.right - r.left == first.right - first.left) &&
                (r.bottom - r.top == first.bottom - first.top);
    }
    printf("members of one size    %8d of %d\n", same, n);
    obFreeTree(g);
}
