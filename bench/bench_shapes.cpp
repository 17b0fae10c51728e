// Composite and brush line drawing step of qm_bench.
#include "bench/bench_shapes.h"
#include "bench/bench_clock.h"
#include "bench/bench_dib.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "objects/fil_fill.h"
#include "objects/sh_box.h"
#include "objects/sh_brush.h"
#include "objects/sh_composite.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include <stdio.h>
#include <string.h>
#include <vector>

namespace {


MemHandle rectangle(int32_t l, int32_t t, int32_t r, int32_t b)
{
    MemHandle h = obNewRecord(kObHeadSize + kShBoxGeometry);
    ObLock rec(h);
    rec->type = OBT_RECTANGLE;
    rec->layer = 1;
    rec->scaleX = rec->scaleY = kObScaleOne;
    rec->fillKind = FILL_SOLID;
    rec->fillColour = RGB(200, 60, 60);
    RECT box = {l, t, r, b};
    obRecSetRect(rec.get(), &box);
    int32_t sides[2] = {rec->width, rec->height};
    memcpy(obRecData(rec.get()), sides, sizeof sides);
    return h;
}

MemHandle composite(MemHandle source, int16_t mode, int16_t count, int16_t rows, int32_t step)
{
    MemHandle h = obNewRecord(kObHeadSize + kCpSettingsSize);
    ObLock r(h);
    r->type = OBT_COMPOSITE;
    r->layer = 1;
    r->scaleX = r->scaleY = kObScaleOne;
    CompositeData d = {};
    d.size = kCpSettingsSize;
    d.mode = mode;
    d.count = count;
    d.rows = rows;
    d.stepX = d.stepY = step;
    d.scaleX = d.scaleY = 1.0f;
    d.fillDelta = 0x000302;
    memcpy(obRecData(r.get()), &d, sizeof d);
    r->attached = source;
    return h;
}

MemHandle brushLine(int strokes, int points, uint32_t kind)
{
    std::vector<uint8_t> data(kBrsHeadSize, 0);
    uint32_t seed = 99;
    auto next = [&](int32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (int32_t)((seed >> 8) % (uint32_t)range);
    };
    for (int s = 0; s < strokes; ++s) {
        std::vector<uint8_t> b(kBrsStrokeHead + 8 * (size_t)points, 0);
        uint32_t size = (uint32_t)b.size(), n = (uint32_t)points, samples = 17;
        int32_t width = 120;
        memcpy(&b[BRS_SIZE], &size, 4);
        memcpy(&b[BRS_WIDTH], &width, 4);
        memcpy(&b[BRS_KIND], &kind, 4);
        memcpy(&b[BRS_SAMPLES], &samples, 4);
        memcpy(&b[BRS_POINTS], &n, 4);
        POINT at = {-10000 + next(20000), -7000 + next(14000)};
        for (int i = 0; i < points; ++i) {
            at.x = std::max(-11000, std::min(11000, (int)at.x + next(600) - 300));
            at.y = std::max(-8000, std::min(8000, (int)at.y + next(600) - 300));
            memcpy(&b[kBrsStrokeHead + 8 * (size_t)i], &at, 8);
        }
        data.insert(data.end(), b.begin(), b.end());
    }
    uint32_t size = (uint32_t)data.size();
    int32_t count = strokes, selected = -1;
    memcpy(&data[0], &size, 4);
    memcpy(&data[4], &count, 4);
    memcpy(&data[8], &selected, 4);
    MemHandle h = obNewRecord(kObHeadSize + size);
    ObLock r(h);
    r->type = OBT_BRUSH_LINE;
    r->layer = 1;
    r->centreX = 12000;
    r->centreY = 9000;
    memcpy(obRecData(r.get()), data.data(), size);
    return h;
}

double drawTime(HDC dc, MemHandle h)
{
    double t0 = benchSeconds();
    obDraw(dc, h);
    return benchSeconds() - t0;
}

}  // namespace

void benchCompositesAndBrushes()
{
    BenchBitmap bitmap(1600, 1200);
    HDC dc = bitmap.dc();

    MemHandle grid = composite(rectangle(300, 300, 800, 700), CP_GRID, 40, 25, 600);
    MemHandle brush = brushLine(10, 1000, 10);
    MemHandle damaged = composite(rectangle(300, 300, 800, 700), CP_GRID, 32767, 32767, 0);
    printf("composites and brush lines, 1600x1200 bitmap\n");
    printf("  grid composite of 40 x 25 rectangles        %8.3f s\n", drawTime(dc, grid));
    printf("  brush line, 10 strokes x 1000 points, kind 10 %6.3f s\n", drawTime(dc, brush));
    printf("  damaged composite 32767 x 32767 at step 0   %8.3f s\n", drawTime(dc, damaged));
    double t0 = benchSeconds();
    RECT r;
    objGetVertexBounds(damaged, &r);
    printf("  its bounds                                  %8.3f s\n", benchSeconds() - t0);
    obFreeTree(grid);
    obFreeTree(brush);
    obFreeTree(damaged);
}
