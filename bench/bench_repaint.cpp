// Repaint and export steps of the benchmark.
#include "bench/bench_repaint.h"
#include "bench/bench_clock.h"
#include "app/fc_import_export.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/pg_render.h"
#include "objects/img_export.h"
#include "objects/img_io.h"
#include "objects/sh_box.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include <psapi.h>
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <vector>

// A point shape of the page points (centre the middle of their bounds).
MemHandle pointShape(int16_t type, const std::vector<POINT> &pts, bool heads, int16_t pen);

MemHandle benchOutlinedShape(int i, int32_t x, int32_t y, int32_t w, int32_t h, int16_t pen)
{
    const int16_t kinds[4] = {OBT_RECTANGLE, OBT_ELLIPSE, OBT_ROUNDRECT, OBT_POLYGON};
    const int16_t type = kinds[i % 4];
    MemHandle made;
    if (type == OBT_POLYGON) {
        // Five corners placed in the box as on a 400 x 300 one.
        auto at = [&](int32_t px, int32_t py) { return POINT{x + px * w / 400, y + py * h / 300}; };
        made = pointShape(OBT_POLYGON, {at(0, 180), at(200, 0), at(400, 100), at(330, 300), at(60, 280)},
                          false, pen);
    } else {
        made = obNewRecord(kObHeadSize + shBoxGeometrySize(type));
        ObLock rec(made);
        rec->type = type;
        rec->layer = 1;
        rec->scaleX = rec->scaleY = kObScaleOne;
        rec->fillKind = 1;
        rec->fillColour = RGB(200, 220, 255);
        RECT box = {x, y, x + w, y + h};
        obRecSetRect(rec.get(), &box);
        int32_t sides[2] = {rec->width, rec->height};
        memcpy(obRecData(rec.get()), sides, sizeof sides);
    }
    ObLock rec(made);
    rec->penWidth = pen;
    rec->penColour = RGB(0, 0, 128);
    if (i % 16 >= 12)
        rec->lineStyle = 0x400;   // dashed
    return made;
}

BenchBitmap::BenchBitmap(int width, int height, int zoom, int bitCount) : w(width), h(height)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = (WORD)bitCount;
    stride = (size_t)((w * bitCount + 31) / 32) * 4;
    bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bitmap);
    dmSetZoomDC(dc, zoom);
}

int benchPixels(int32_t twips, int zoom) { return (int)((int64_t)twips * 96 * zoom / 100 / 1440) + 1; }

void BenchBitmap::clear()
{
    if (bits)
        memset(bits, 0xFF, stride * h);
}

BenchBitmap::~BenchBitmap()
{
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    dmResetMappingDC(nullptr);
}

namespace {

// A page of n shapes in rows of `columns` cells of cellW x cellH twips,
// each shape 3.5 cells wide and 2 high (neighbours overlap); in `groups`
// groups of consecutive shapes, or each at the top level for 0.
MemHandle shapePage(int n, int columns, int32_t cellW, int32_t cellH, int groups, int16_t pen)
{
    MemHandle page = pgNewRecord(0);
    std::vector<MemHandle> made;
    made.reserve((size_t)n);
    for (int i = 0; i < n; ++i)
        made.push_back(benchOutlinedShape(i, 200 + (i % columns) * cellW, 200 + (i / columns) * cellH,
                                          cellW * 7 / 2, cellH * 2, pen));
    if (groups <= 0) {
        for (MemHandle h : made)
            pgAppendObject(page, h);
        return page;
    }
    const int per = n / groups;
    for (int g = 0; g < groups; ++g) {
        const int count = g + 1 < groups ? per : n - g * per;
        MemHandle group = obNewGroupN(OBT_GROUP, &made[(size_t)g * per], count);
        ObLock r(group);
        if (r)
            r->layer = 1;   // the layer its members are on
        pgAppendObject(page, group);
    }
    return page;
}

const int kViewW = 1200, kViewH = 900;   // the workspace's pixels

// The page repainted in a view of the workspace's size over the page's
// middle, as a window paints it (the view's rectangle the clip): the best
// time of `runs` repaints.
double repaint(MemHandle form, MemHandle page, int zoom, int runs)
{
    BenchBitmap b(kViewW, kViewH, zoom);
    RECT r;
    pgGetPageRect(page, &r);
    POINT extent[2] = {{0, 0}, {kViewW, kViewH}};
    DPtoLP(b.dc, extent, 2);
    dmSetMappingOrg(b.dc, (r.left + r.right) / 2 - (extent[1].x - extent[0].x) / 2,
                    (r.top + r.bottom) / 2 - (extent[1].y - extent[0].y) / 2);
    POINT view[2] = {{0, 0}, {kViewW, kViewH}};
    DPtoLP(b.dc, view, 2);
    RECT clip = {view[0].x, view[0].y, view[1].x, view[1].y};
    double best = 1e9;
    for (int k = 0; k < runs; ++k) {
        b.clear();
        double t0 = benchSeconds();
        pgRender(nullptr, b.dc, form, page, 1, &clip, FALSE, FALSE, FALSE, FALSE, FALSE);
        GdiFlush();
        best = std::min(best, benchSeconds() - t0);
    }
    return best;
}

void repaintLine(const char *what, MemHandle form, MemHandle page, int runs)
{
    double t[3];
    const int zooms[3] = {100, 200, 400};
    for (int z = 0; z < 3; ++z)
        t[z] = repaint(form, page, zooms[z], runs);
    printf("repaint %-28s 100%% %7.3f s  200%% %7.3f s  400%% %7.3f s  (400/100 %.2fx)\n", what,
           t[0], t[1], t[2], t[0] > 0 ? t[2] / t[0] : 0.0);
}

// The process's resident memory: now, and its peak since the peak was last
// put back to what was resident (the system's clear_refs code 5), so that
// a step's peak is its own.
SIZE_T residentNow(bool resetPeak)
{
    if (resetPeak) {
        HANDLE f = CreateFileA("Z:\\proc\\self\\clear_refs", GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD n = 0;
            WriteFile(f, "5", 1, &n, nullptr);
            CloseHandle(f);
        }
    }
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return resetPeak ? pmc.WorkingSetSize : pmc.PeakWorkingSetSize;
}

double mb(double bytes) { return bytes / 1048576.0; }

}  // namespace

void benchRepaint()
{
    MemHandle form = fmNew();
    // 10,000 shapes over a letter page, flat and in 10 groups.
    for (int groups : {0, 10}) {
        MemHandle page = shapePage(10000, 100, 114, 150, groups, 20);
        repaintLine(groups ? "10000 shapes in 10 groups" : "10000 shapes", form, page, 3);
        pgFreeList(page);
    }
    MemHandle page = shapePage(100000, 316, 36, 47, 10, 15);
    repaintLine("100000 shapes in 10 groups", form, page, 1);
    pgFreeList(page);
    fmFree(form);
}

void benchExport()
{
    MemHandle form = fmNew();
    MemHandle page = shapePage(10000, 100, 114, 150, 0, 20);
    RECT r;
    pgGetPageRect(page, &r);
    char path[MAX_PATH];
    GetTempPathA(sizeof path, path);
    strcat(path, "qm_bench_page.png");
    for (int zoom : {100, 400}) {
        const int w = benchPixels(r.right - r.left, zoom), h = benchPixels(r.bottom - r.top, zoom);
        const double bitmap = (double)((w * 24 + 31) / 32 * 4) * h;
        // The drawing alone, as the export draws: a new bitmap of the
        // picture's size and depth, white, the page drawn into it.
        double drawing;
        {
            double t0 = benchSeconds();
            BenchBitmap b(w, h, zoom, 24);
            dmSetMappingOrg(b.dc, r.left, r.top);
            b.clear();
            pgRender(nullptr, b.dc, form, page, 1, nullptr, TRUE, FALSE, TRUE, FALSE, FALSE);
            GdiFlush();
            drawing = benchSeconds() - t0;
        }
        // The export: drawn, its rows handed to the picture library.
        SIZE_T base = residentNow(true);
        double t0 = benchSeconds();
        int written = fcWritePagePicture(nullptr, form, page, 0, zoom, path, IMG_FORMAT_PNG);
        double step = benchSeconds() - t0;
        SIZE_T peak = residentNow(false);
        const double rise = peak > base ? (double)(peak - base) : 0.0;
        printf("export page to PNG %3d%%  draw %7.3f s  export %7.3f s (%.2fx)  peak +%.1f MB "
               "for a %.1f MB bitmap (%.2fx)%s\n",
               zoom, drawing, step, drawing > 0 ? step / drawing : 0.0, mb(rise), mb(bitmap),
               rise / bitmap, written ? "" : "  NOT WRITTEN");
    }
    DeleteFileA(path);
    pgFreeList(page);
    fmFree(form);
}
