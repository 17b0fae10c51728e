// Document benchmark: builds a document of many pages of mixed objects
// (each page goes to its temporary file as it is finished, as the program
// keeps pages it does not show), saves it, opens it again, reads every
// page, saves it over its own file with one page loaded, and prints the
// times, the file size and the peak memory. Then it draws 1,000 polylines
// of 100 points with an arrowhead at both ends and 1,000 filled closed
// curves of 31 points into a 1600 x 1200 bitmap, beside the bare GDI calls
// of the same points.
//
//   qm_bench [pages] [objects per page] [--memory] [--keep PATH] [--shapes]
//   qm_bench --read PATH
//   qm_bench --picture      the picture step alone
//   qm_bench --clip         the clipboard step alone (copy and paste of a
//                           group of 2,000 rectangles)
//   qm_bench --text-edit    the text editor's steps alone
//   qm_bench --order        Select All and By Position on 5,000 boxes alone
//   qm_bench --arrange      the group-member steps alone
//   qm_bench --rotate       the rotate drag and composite steps alone
//   qm_bench --kinds        the render step by kind of object
//   qm_bench --fonts        the font list and font matching steps alone
//
// --memory keeps every page in memory instead of swapping it out; --keep
// saves the document at PATH and leaves it there; --shapes runs only the
// pages of outlined shapes; --read opens a kept document and reads its
// first page again (to trace its reads).
#include "app/app_hooks.h"
#include "bench/bench_clip.h"
#include "bench/bench_order.h"
#include "bench/bench_arrange.h"
#include "bench/bench_fonts.h"
#include "bench/bench_picture.h"
#include "bench/bench_print.h"
#include "bench/bench_repaint.h"
#include "bench/bench_rotate.h"
#include "bench/bench_shapes.h"
#include "bench/bench_nodes.h"
#include "bench/bench_text.h"
#include "bench/bench_table.h"
#include "bench/bench_textedit.h"
#include "commands/obj_block.h"
#include "forms/fld_check.h"
#include "library/olb_file.h"
#include "app/app_start.h"
#include "forms/fld_options.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/pg_render.h"
#include "model/pg_swap.h"
#include "model/qmf_convert.h"
#include "model/qmf_read.h"
#include "model/qmf_save.h"
#include "objects/sh_box.h"
#include "objects/sh_lineend.h"
#include "model/ob_draw.h"
#include "support/dm_map.h"
#include "support/geo_bezier.h"
#include "support/geo_rect.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "views/pv_page.h"
#include "app/fc_autosave.h"
#include "views/pv_pagecmd.h"
#include "views/pv_layout_sheet.h"
#include "tools/ep_select_mode.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_scroll.h"
#include "views/ws_window.h"
#include <psapi.h>
#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <memory>
#include <string>
#include <vector>

// A point shape of the page points (centre the middle of their bounds).
MemHandle pointShape(int16_t type, const std::vector<POINT> &pts, bool heads, int16_t pen);

namespace {

double now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)frequency.QuadPart;
}

// Message boxes are printed, never waited for.
int printBox(HWND, const char *text, const char *caption, UINT)
{
    fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
    return IDOK;
}

MemHandle record(int16_t type, int32_t l, int32_t t, int32_t r, int32_t b, uint32_t data)
{
    MemHandle h = obNewRecord(kObHeadSize + data);
    ObLock rec(h);
    rec->type = type;
    rec->layer = 1;
    rec->scaleX = rec->scaleY = kObScaleOne;
    rec->penWidth = 20;
    rec->fillKind = 1;
    rec->fillColour = RGB(200, 220, 255);
    RECT box = {l, t, r, b};
    obRecSetRect(rec.get(), &box);
    return h;
}

MemHandle box(int16_t type, int32_t x, int32_t y)
{
    MemHandle h = record(type, x, y, x + 400, y + 300, shBoxGeometrySize(type));
    ObLock rec(h);
    int32_t sides[2] = {rec->width, rec->height};
    memcpy(obRecData(rec.get()), sides, sizeof sides);
    return h;
}

// A point shape whose head (centre and size) is the bounds of its points,
// filled only when it is closed, as the program saves it.
MemHandle points(int16_t type, int32_t x, int32_t y, int16_t n)
{
    std::vector<POINT> pts((size_t)n);
    for (int16_t i = 0; i < n; ++i)
        pts[(size_t)i] = POINT{x + (i * 97) % 500, y + (i * 61) % 500};
    return pointShape(type, pts, false, 20);
}

MemHandle calendar(int32_t x, int32_t y)
{
    MemHandle h = record(OBT_CALENDAR, x, y, x + 2880, y + 2160, kCalFixedSize);
    ObLock rec(h);
    uint8_t *d = obRecData(rec.get());
    memcpy(d, &kCalFixedSize, 4);
    LOGFONTA lf = {};
    lf.lfHeight = -240;
    strcpy(lf.lfFaceName, "Arial");
    for (int at : {24, 92, 156, 220})
        memcpy(d + at, &lf, sizeof lf);
    uint16_t version = 20;
    memcpy(d + 306, &version, 2);
    return h;
}

MemHandle checkBox(int32_t x, int32_t y)
{
    MemHandle h = record(OBT_CHECKBOX, x, y, x + 1200, y + 300, kCkbPartSize);
    ObLock rec(h);
    ControlPart *part = reinterpret_cast<ControlPart *>(obRecData(rec.get()));
    part->font.lfHeight = -200;
    strcpy(part->font.lfFaceName, "Arial");
    return h;
}

// One of ten kinds of object, by number.
MemHandle mixed(int i)
{
    int32_t x = (i % 10) * 1000, y = (i / 10) * 1400;
    switch (i % 10) {
    case 0: return box(OBT_RECTANGLE, x, y);
    case 1: return box(OBT_ELLIPSE, x, y);
    case 2: return box(OBT_ROUNDRECT, x, y);
    case 3: return points(OBT_POLYLINE, x, y, 8);
    case 4: return points(OBT_POLYGON, x, y, 6);
    case 5: return points(OBT_LINE, x, y, 2);
    case 6: {
        // On the layer its members are on, which the page has in use.
        MemHandle g = obNewGroup(OBT_GROUP, box(OBT_RECTANGLE, x, y), box(OBT_ELLIPSE, x, y),
                                 (MemHandle)0);
        ObLock r(g);
        if (r)
            r->layer = 1;
        return g;
    }
    case 7: return calendar(x, y);
    case 8: return checkBox(x, y);
    default: {
        MemHandle h = box(OBT_DIAMOND, x, y);
        return obSetName(h, ("Shape" + std::to_string(i)).c_str());
    }
    }
}

MemHandle buildPage(int n, int objects)
{
    MemHandle page = pgNewRecord(0);
    page = pgSetName(page, ("Page " + std::to_string(n + 1)).c_str());
    for (int i = 0; i < objects; ++i)
        pgAppendObjects(page, mixed(i));   // keeps a group's members
    return page;
}

int countObjects(MemHandle page)
{
    std::vector<MemHandle> list;
    obCollectList(pgGetFirstObject(page), list);
    return (int)list.size();
}

// Reads every page of the open document's file; the objects counted, -1
// when a page cannot be read.
long readAll(const char *path, MemHandle form)
{
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, TRUE);
    long total = 0;
    for (int p = 0; total >= 0 && p < fmGetPageCount(form); ++p) {
        MemHandle page = qmfReadEntryPage(f, size, fmGetDirectory(form), p);
        if (!page) {
            fprintf(stderr, "page %d could not be read\n", p);
            total = -1;
            break;
        }
        total += countObjects(page);
        pgFreeList(page);
    }
    ffClose(f);
    return total;
}

double megabytes(SIZE_T bytes) { return bytes / (1024.0 * 1024.0); }

// Lists the names of every page's objects (a field chooser's list) with
// the first page shown, and counts the pages left in memory after.
void benchNames(HWND ws, const char *path)
{
    MemHandle first = 0;
    MemHandle form = qmfOpenDocument(nullptr, path, 0, &first);
    if (!form)
        return;
    fmSetCurrentPage(form, 0);
    wsSetDocument(ws, form);
    double t0 = now();
    MemHandle names = fldListDocNames(ws, ',', 0);
    double took = now() - t0;
    form = wsGetDocument(ws);
    MemHandle dir = fmGetDirectory(form);
    int loaded = 0;
    for (int n = 0; n < fmGetPageCount(form); ++n)
        loaded += pgDirGetPages(dir, n) != 0;
    printf("field names of every page %8.3f s  (%u bytes, %d pages left in memory)\n", took,
           (unsigned)utHandleSize(names), loaded);
    utFreeHandle(names);
    wsSetDocument(ws, 0);
    fmFree(form);
}

// Stores n objects one by one into a new object library and prints the
// time and how often the file was rewritten (the index grows 64 slots at a
// time, so most stores append in place).
void benchLibrary(int n)
{
    char path[MAX_PATH];
    GetTempPathA(sizeof path, path);
    strcat(path, "qm_bench.olb");
    MemHandle env = olbCreateEnv(nullptr, OLB_ENV_FLAGS, 0, kOlbKindObjects, nullptr, "olb", path);
    if (!env || !olbCreateFile(nullptr, env, path)) {
        fprintf(stderr, "the library could not be made\n");
        return;
    }
    MemHandle object = box(OBT_RECTANGLE, 100, 100);
    MemHandle block = objPackTree(object);
    uint32_t length = utGetPacketLength(block);
    int rewrites = 0, stored = 0;
    double t0 = now();
    for (int i = 0; i < n; ++i) {
        DWORD before = ffGetFileSizeByName(path);
        char name[16];
        snprintf(name, sizeof name, "obj%d", i);
        if (!olbStoreObject(nullptr, env, block, name))
            break;
        ++stored;
        if (ffGetFileSizeByName(path) != before + length)
            ++rewrites;
    }
    double took = now() - t0;
    printf("library: %d objects   %8.3f s  (%d rewrites)\n", stored, took, rewrites);
    utFreeHandle(block);
    obFreeTree(object);
    olbFreeEnv(env);
    DeleteFileA(path);
}

}  // namespace

// Select mode's hit test on one page of `count` boxes at a point no box
// covers, so that every call walks the whole list: the median of `runs`
// calls in milliseconds.
double hitTestMedian(int count, int runs)
{
    std::vector<MemHandle> list;
    for (int i = 0; i < count; ++i)
        list.push_back(box(OBT_RECTANGLE, (i % 100) * 120, (i / 100) * 150));
    for (size_t i = 1; i < list.size(); ++i)
        obLinkPair(list[i - 1], list[i]);
    const POINT miss = {-5000, -5000};
    std::vector<double> times;
    MemHandle found = 0;
    for (int r = 0; r < runs; ++r) {
        double t0 = now();
        found = epHitWalk(list.back(), miss, 30, 30, TRUE);
        times.push_back((now() - t0) * 1000.0);
    }
    obFreeList(list.front());
    std::sort(times.begin(), times.end());
    return found ? -1.0 : times[times.size() / 2];
}

// A point shape of the page points (centre the middle of their bounds).
MemHandle pointShape(int16_t type, const std::vector<POINT> &pts, bool heads, int16_t pen)
{
    uint32_t length = 86 + 2 + 8 * (uint32_t)pts.size() + (heads ? 12 : 0);
    MemHandle h = obNewRecord(length);
    ObLock r(h);
    r->type = type;
    r->layer = 1;
    r->scaleX = r->scaleY = kObScaleOne;
    r->penWidth = pen;
    r->penColour = RGB(0, 0, 128);
    r->fillKind = type == OBT_CLOSED_CURVE || type == OBT_POLYGON ? 1 : 0;
    r->fillColour = RGB(200, 220, 255);
    if (heads)
        r->flags = OBF_START_SYMBOL | OBF_END_SYMBOL;
    RECT b;
    geoPointsBounds(pts.data(), (int16_t)pts.size(), &b);
    obRecSetRect(r.get(), &b);
    uint8_t *d = obRecData(r.get());
    int16_t n = (int16_t)pts.size();
    memcpy(d, &n, 2);
    for (size_t i = 0; i < pts.size(); ++i) {
        POINT p = {pts[i].x - r->centreX, pts[i].y - r->centreY};
        memcpy(d + 2 + 8 * i, &p, 8);
    }
    if (heads) {
        LineEndRecord ends[2] = {{3, 200}, {5, 240}};
        memcpy(d + 2 + 8 * pts.size(), ends, sizeof ends);
    }
    return h;
}

// Draws the point shapes into a 1600 x 1200 bitmap: their own drawing and
// the bare GDI calls of the same points, with pens of the given width
// (twips). Prints both times.
void drawPointShapes(int16_t pen)
{
    const int w = 1600, h = 1200, twips = 15;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    dmSetMapping(dc);
    uint32_t seed = 12345;
    auto next = [&](int32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (int32_t)((seed >> 8) % (uint32_t)range);
    };
    std::vector<MemHandle> lines, curves;
    std::vector<std::vector<POINT>> linePts, curvePts;
    for (int i = 0; i < 1000; ++i) {
        std::vector<POINT> pts(100);
        POINT at = {next(w * twips), next(h * twips)};
        for (POINT &p : pts) {
            at.x = std::max(0, std::min(w * twips, at.x + next(1200) - 600));
            at.y = std::max(0, std::min(h * twips, at.y + next(1200) - 600));
            p = at;
        }
        linePts.push_back(pts);
        lines.push_back(pointShape(OBT_POLYLINE, pts, true, pen));
        std::vector<POINT> c(31);
        POINT centre = {next(w * twips), next(h * twips)};
        for (size_t k = 0; k < c.size(); ++k)
            c[k] = POINT{centre.x + next(3000) - 1500, centre.y + next(3000) - 1500};
        c.back() = c.front();
        curvePts.push_back(c);
        curves.push_back(pointShape(OBT_CLOSED_CURVE, c, false, pen));
    }
    double t0 = now();
    for (size_t i = 0; i < lines.size(); ++i) {
        obDraw(dc, lines[i]);
        obDraw(dc, curves[i]);
    }
    double own = now() - t0;
    t0 = now();
    HPEN gdiPen = CreatePen(PS_SOLID, pen, RGB(0, 0, 128));
    HBRUSH brush = CreateSolidBrush(RGB(200, 220, 255));
    HGDIOBJ oldPen = SelectObject(dc, gdiPen), oldBrush = SelectObject(dc, brush);
    for (size_t i = 0; i < linePts.size(); ++i) {
        Polyline(dc, linePts[i].data(), (int)linePts[i].size());
        int16_t n = 0;
        MemHandle flat = geoFlattenBezier(curvePts[i].data(), (int16_t)curvePts[i].size(), &n);
        {
            MemLock<POINT> p(flat);
            if (p)
                Polygon(dc, p.get(), n);
        }
        utFreeHandle(flat);
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(gdiPen);
    DeleteObject(brush);
    double bare = now() - t0;
    for (size_t i = 0; i < lines.size(); ++i) {
        obFreeTree(lines[i]);
        obFreeTree(curves[i]);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
    printf("draw 1000 polylines of 100 points with both heads\n"
           "  and 1000 closed curves of 31 points, 1600x1200 bitmap, %d-pixel pens\n",
           pen / twips);
    printf("  their own drawing     %8.3f s\n", own);
    printf("  bare GDI calls        %8.3f s\n", bare);
}

// Seconds since the process was created (Wine's start-up included).
double processSeconds()
{
    FILETIME created, exited, kernel, user, at;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    GetSystemTimeAsFileTime(&at);
    auto ticks = [](const FILETIME &f) {
        return ((uint64_t)f.dwHighDateTime << 32) | f.dwLowDateTime;
    };
    return (double)(int64_t)(ticks(at) - ticks(created)) / 1e7;
}

// The phases of a run: each mark ends the phase running and starts the
// named one. The report prints every phase of a second or more, the rest
// together, the start-up before the first mark, their sum and the time
// since the process was created, so that the lines account for the run.
class PhaseLog {
public:
    PhaseLog() : startUp_(processSeconds()) {}
    void mark(const char *next)
    {
        const double t = now();
        if (!name_.empty())
            phases_.push_back({name_, t - at_});
        name_ = next ? next : "";
        at_ = t;
    }
    void report()
    {
        mark(nullptr);
        const double wall = processSeconds();
        printf("phases of the run (each of a second or more):\n");
        double sum = startUp_, rest = 0;
        int shorter = 0;
        printf("  %-34s %8.3f s\n", "start-up before the first step", startUp_);
        for (const auto &p : phases_) {
            sum += p.second;
            if (p.second >= 1.0) {
                printf("  %-34s %8.3f s\n", p.first.c_str(), p.second);
            } else {
                rest += p.second;
                ++shorter;
            }
        }
        printf("  %-34s %8.3f s\n", (std::to_string(shorter) + " shorter phases").c_str(), rest);
        printf("  %-34s %8.3f s\n", "sum of these lines", sum);
        printf("  %-34s %8.3f s\n", "wall time of the process", wall);
    }

private:
    double startUp_;
    std::string name_;
    double at_ = 0;
    std::vector<std::pair<std::string, double>> phases_;
};

// "(n objects/s)" for n objects in t seconds.
std::string perSecond(double n, double t)
{
    char text[48];
    if (t > 0)
        snprintf(text, sizeof text, "(%9.0f objects/s)", n / t);
    else
        snprintf(text, sizeof text, "(      -   objects/s)");
    return text;
}

// Renders every page of the saved document into a 96-dpi DIB at 100 and
// at 200 percent, as a window draws it. One bitmap a zoom serves every page
// of its size, cleared to white before each page. The times of the
// rendering, of reading the pages and of clearing the bitmaps; the objects
// rendered per zoom.
struct RenderTimes {
    double at100 = 0, at200 = 0, reading = 0, clearing = 0;
};
long renderDocument(const char *path, RenderTimes *times)
{
    MemHandle form = qmfOpenDocument(nullptr, path, -1, nullptr);
    if (!form)
        return 0;
    DWORD size = 0;
    HANDLE f = ffOpenRead(path, &size, TRUE);
    long objects = 0;
    double took[2] = {0, 0};
    std::unique_ptr<BenchBitmap> bitmaps[2];
    for (int p = 0; p < fmGetPageCount(form); ++p) {
        double t0 = now();
        MemHandle page = qmfReadEntryPage(f, size, fmGetDirectory(form), p);
        times->reading += now() - t0;
        if (!page)
            break;
        objects += countObjects(page);
        RECT box = {0, 0, 12240, 15840};
        {
            ObLock r(page);
            if (r)
                obRecGetRect(r.get(), &box);
        }
        const int zooms[2] = {100, 200};
        for (int z = 0; z < 2; ++z) {
            t0 = now();
            const int w = benchPixels(box.right - box.left, zooms[z]);
            const int h = benchPixels(box.bottom - box.top, zooms[z]);
            if (!bitmaps[z] || bitmaps[z]->w != w || bitmaps[z]->h != h) {
                bitmaps[z].reset();
                bitmaps[z].reset(new BenchBitmap(w, h, zooms[z]));
            }
            BenchBitmap &b = *bitmaps[z];
            dmSetZoomDC(b.dc, zooms[z]);
            b.clear();
            times->clearing += now() - t0;
            t0 = now();
            pgRender(nullptr, b.dc, form, page, p + 1, nullptr, FALSE, FALSE, FALSE, FALSE, FALSE);
            took[z] += now() - t0;
        }
        pgFreeList(page);
    }
    ffClose(f);
    fmFree(form);
    times->at100 = took[0];
    times->at200 = took[1];
    return objects;
}

// Appends n boxes one at a time to a new page (the records are made
// first; only the appending is timed). Seconds.
double appendOneByOne(int n)
{
    std::vector<MemHandle> made;
    made.reserve((size_t)n);
    for (int i = 0; i < n; ++i)
        made.push_back(box(OBT_RECTANGLE, (i % 100) * 120, (i / 100) * 150));
    MemHandle page = pgNewRecord(0);
    double t0 = now();
    for (MemHandle h : made)
        pgAppendObject(page, h);
    double took = now() - t0;
    int kept = countObjects(page);
    pgFreeList(page);
    if (kept != n)
        fprintf(stderr, "appended %d objects, the page holds %d\n", n, kept);
    return took;
}

// A page of 1,000 objects of each of the ten kinds of the document's
// pages, rendered at 100 and 200 percent (five times each, the mean
// printed): where the render step's time goes.
void renderKinds()
{
    const char *names[10] = {"box",     "ellipse",  "rounded box", "polyline", "polygon",
                             "line",    "group",    "calendar",    "check box", "diamond"};
    MemHandle form = fmNew();
    for (int kind = 0; kind < 10; ++kind) {
        MemHandle page = pgNewRecord(0);
        for (int i = 0; i < 1000; ++i)
            pgAppendObjects(page, mixed(kind + 10 * (i % 11)));   // the kind's column of the page
        pvStorePage(nullptr, page, 0);
        double took[2];
        const int zooms[2] = {100, 200};
        for (int z = 0; z < 2; ++z) {
            BenchBitmap b(benchPixels(12240, zooms[z]), benchPixels(15840, zooms[z]), zooms[z]);
            b.clear();
            double t0 = now();
            for (int r = 0; r < 5; ++r)
                pgRender(nullptr, b.dc, form, page, 1, nullptr, FALSE, FALSE, FALSE, FALSE, FALSE);
            took[z] = (now() - t0) / 5;
        }
        pgFreeList(page);
        printf("render 1000 x %-12s 100%% %7.2f ms, 200%% %7.2f ms (%.1fx)\n", names[kind],
               took[0] * 1e3, took[1] * 1e3, took[0] > 0 ? took[1] / took[0] : 0.0);
    }
    fmFree(form);
}

// A page of 10,000 outlined shapes (boxes, ellipses, rounded boxes and
// polygons, a quarter of them dashed) with pens of the given width in
// twips, rendered at 100 and 200 percent; prints the times.
void drawShapePage(int16_t pen)
{
    MemHandle page = pgNewRecord(0);
    for (int i = 0; i < 10000; ++i)
        pgAppendObject(page, benchOutlinedShape(i, 200 + (i % 100) * 114, 200 + (i / 100) * 150,
                                                400, 300, pen));
    pvStorePage(nullptr, page, 0);
    MemHandle form = fmNew();
    double took[2];
    const int zooms[2] = {100, 200};
    for (int z = 0; z < 2; ++z) {
        BenchBitmap b(benchPixels(12240, zooms[z]), benchPixels(15840, zooms[z]), zooms[z]);
        b.clear();
        double t0 = now();
        pgRender(nullptr, b.dc, form, page, 1, nullptr, FALSE, FALSE, FALSE, FALSE, FALSE);
        took[z] = now() - t0;
    }
    fmFree(form);
    pgFreeList(page);
    printf("page of 10000 outlined shapes, %d-twip pens: 100%% %7.3f s  %s, 200%% %7.3f s  %s\n",
           pen, took[0], perSecond(10000, took[0]).c_str(), took[1],
           perSecond(10000, took[1]).c_str());
}

int main(int argc, char **argv)
{
    PhaseLog phases;
    phases.mark("start the modules");
    appInstallHooks();   // the upper floors' calls, as at the program's start-up
    int pages = 1000, objects = 100;
    bool inMemory = false;
    const char *keep = nullptr;
    std::vector<int> numbers;
    appRegisterTypes();   // every step works on objects as the program does
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--memory") == 0)
            inMemory = true;
        else if (strcmp(argv[i], "--clip") == 0) {
            benchClipboard();   // the clipboard step alone
            return 0;
        } else if (strcmp(argv[i], "--picture") == 0) {
            benchPicture();   // the picture step alone
            return 0;
        } else if (strcmp(argv[i], "--text-edit") == 0) {
            utSetMessageBoxHook(printBox);
            benchTextEdit();   // the text editor's steps alone
            return 0;
        } else if (strcmp(argv[i], "--order") == 0) {
            utSetMessageBoxHook(printBox);
            benchSelectionOrder(5000);   // the selection and order step alone
            return 0;
        } else if (strcmp(argv[i], "--rotate") == 0) {
            benchRotate();   // the rotate drag and composite steps alone
            return 0;
        } else if (strcmp(argv[i], "--arrange") == 0) {
            benchArrange();   // the group-member steps alone
            return 0;
        } else if (strcmp(argv[i], "--fonts") == 0) {
            benchFonts();   // the font steps alone
            return 0;
        } else if (strcmp(argv[i], "--nodes") == 0) {
            benchFittingAndCommit();   // the fitting and node commit steps alone
            return 0;
        } else if (strcmp(argv[i], "--repaint") == 0) {
            benchRepaint();   // the repaint steps alone
            return 0;
        } else if (strcmp(argv[i], "--export") == 0) {
            utSetMessageBoxHook(printBox);
            benchExport();   // the page export step alone
            return 0;
        } else if (strcmp(argv[i], "--keep") == 0 && i + 1 < argc)
            keep = argv[++i];
        else if (strcmp(argv[i], "--read") == 0 && i + 1 < argc) {
            // Opens a kept document with its first page and reads that page
            // once more from the open file (for tracing the reads).
            utSetMessageBoxHook(printBox);
            MemHandle first = 0;
            MemHandle form = qmfOpenDocument(nullptr, argv[i + 1], 0, &first);
            if (!form)
                return 1;
            DWORD size = 0;
            HANDLE f = ffOpenRead(argv[i + 1], &size, TRUE);
            double t0 = now();
            MemHandle page = qmfReadEntryPage(f, size, fmGetDirectory(form), 0);
            double took = now() - t0;
            printf("read the first page   %8.3f s  %s\n", took,
                   perSecond(page ? countObjects(page) : 0, took).c_str());
            pgFreeList(page);
            ffClose(f);
            fmFree(form);
            return page ? 0 : 1;
        } else if (strcmp(argv[i], "--kinds") == 0) {
            renderKinds();   // the render step by kind of object
            return 0;
        } else if (strcmp(argv[i], "--shapes") == 0) {
            // Only the pages of outlined shapes (for profiling the outlines).
            for (int16_t pen : {20, 40, 60})
                drawShapePage(pen);
            return 0;
        }
        else
            numbers.push_back(atoi(argv[i]));
    }
    if (numbers.size() > 0 && numbers[0] > 0)
        pages = numbers[0];
    if (numbers.size() > 1 && numbers[1] > 0)
        objects = numbers[1];
    if (pages > 0x7FFF)
        pages = 0x7FFF;

    utSetMessageBoxHook(printBox);
    char path[MAX_PATH];
    GetTempPathA(sizeof path, path);
    strcat(path, "qm_bench.qm");
    if (keep)
        GetFullPathNameA(keep, sizeof path, path, nullptr);
    HWND ws = CreateWindowA("STATIC", "bench", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                            nullptr);

    printf("Document of %d pages x %d mixed objects (%s)\n", pages, objects,
           inMemory ? "all pages in memory" : "pages swapped to temporary files");

    // Build.
    phases.mark("build the document");
    double t0 = now();
    MemHandle form = fmNew();
    wsSetDocument(ws, form);
    for (int p = 0; p < pages; ++p) {
        MemHandle page = buildPage(p, objects);
        pvStorePage(ws, page, p);   // its index and object count, as a commit stores them
        int n = inMemory ? pgDirAppend(form, page) : pgDirAppendSwapped(ws, page);
        if (n < 0) {
            fprintf(stderr, "page %d could not be added\n", p);
            return 1;
        }
        form = wsGetDocument(ws);
    }
    double built = now() - t0;

    // Save.
    phases.mark("save the document");
    t0 = now();
    int saved = qmfSaveDocument(ws, path, form, FALSE, FALSE);
    double saving = now() - t0;
    DWORD fileSize = ffGetFileSizeByName(path);
    if (!saved) {
        fprintf(stderr, "the document could not be saved\n");
        return 1;
    }
    phases.mark("free the document");
    t0 = now();
    wsSetDocument(ws, 0);
    fmFree(form);
    double freeing = now() - t0;

    // Open and read every page.
    phases.mark("open and read every page");
    t0 = now();
    MemHandle shown = 0;
    form = qmfOpenDocument(nullptr, path, 0, &shown);   // with the page a window shows first
    double opening = now() - t0;
    if (!form) {
        fprintf(stderr, "the document could not be opened\n");
        return 1;
    }
    t0 = now();
    long total = readAll(path, form);
    double reading = now() - t0;
    fmFree(form);

    // Save over its own file with the first page loaded: the others are
    // copied byte for byte from the old file.
    phases.mark("save over its own file, read back");
    MemHandle first = 0;
    form = qmfOpenDocument(nullptr, path, 0, &first);
    fmSetCurrentPage(form, 0);
    wsSetDocument(ws, form);
    t0 = now();
    int again = qmfSaveDocument(ws, path, form, FALSE, TRUE);
    double copying = now() - t0;
    wsSetDocument(ws, 0);
    fmFree(form);
    form = qmfOpenDocument(nullptr, path, -1, nullptr);
    long after = form ? readAll(path, form) : -1;
    fmFree(form);
    phases.mark("field names of every page");
    benchNames(ws, path);
    phases.mark("continuous style, insert, auto-save");

    // A workspace showing the first page switched to the continuous style:
    // every page's size is read from its record.
    wsRegisterClass(GetModuleHandleA(nullptr));
    HWND view = CreateWindowA(wsClassName, "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    double switching = -1;
    int stacked = 0;
    double inserting = -1, backingUp = -1;
    int backedUp = 0;
    int inserted = 0;
    form = qmfOpenDocument(nullptr, path, 0, &first);
    if (view && form) {
        fmSetCurrentPage(form, 0);
        wsSetDocument(view, form);
        wsSetDocPath(view, path);
        wsSetScrollStyle(view, 0);
        pvGoToPage(view, 0);
        t0 = now();
        wsChangeScrollStyle(view, 2, FALSE);
        switching = now() - t0;
        stacked = wsPageIndexAtPos(view, wsGetPageOffset(view, pages - 1) + 1) + 1;
        // Insert After (612) on the middle page, the page sheet answered OK:
        // the page table is rebuilt from the page records alone.
        pvSetLayoutSheetHook([](HWND, const char *, MemHandle *, BOOL, BOOL *) -> INT_PTR {
            return 1;
        });
        pvSwitchToPage(view, pages / 2 - 1);
        t0 = now();
        inserted = pvCmdInsertPageAt(view, 1);
        inserting = now() - t0;
        pvSetLayoutSheetHook(nullptr);
        // A backup of the whole document (one document write), then the
        // backup dropped again.
        fcSetAutoSaveActive(TRUE);
        wsMarkModified(view);
        t0 = now();
        backedUp = fcAutoSaveDocument(view);
        backingUp = now() - t0;
        char backup[MAX_PATH] = "";
        if (wsGetBackupName(view, backup, sizeof backup))
            fcDropBackup(view, backup);
        fcSetAutoSaveActive(FALSE);
    } else {
        fmFree(form);
    }
    if (view)
        DestroyWindow(view);
    phases.mark("render every page");
    RenderTimes render;
    long rendered = renderDocument(path, &render);
    if (!keep)
        DeleteFileA(path);
    DestroyWindow(ws);
    phases.mark("append 100000 objects");
    const double appending = appendOneByOne(100000);

    phases.mark("object library");
    benchLibrary(1000);
    phases.mark("hit test");
    const double hit = hitTestMedian(10000, 1000);
    phases.mark("printing");
    benchPrinting(100, 100, buildPage);
    phases.mark("report");

    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);

    const double all = (double)pages * objects;
    printf("build                 %8.3f s  %s\n", built, perSecond(all, built).c_str());
    printf("save                  %8.3f s  %s  (%.1f MB)\n", saving,
           perSecond(all, saving).c_str(), megabytes(fileSize));
    printf("free the document     %8.3f s  %s\n", freeing, perSecond(all, freeing).c_str());
    printf("open                  %8.3f s  (the first page, %d objects)\n", opening,
           objects);
    printf("read every page       %8.3f s  %s  (%ld objects)\n", reading,
           perSecond((double)total, reading).c_str(), total);
    printf("open + read           %8.3f s  %s\n", opening + reading,
           perSecond((double)total + objects, opening + reading).c_str());
    printf("save over own file    %8.3f s  %s  (%s, %ld objects read back)\n", copying,
           perSecond(all, copying).c_str(), again ? "saved" : "FAILED", after);
    printf("render every page 100%% %7.3f s  %s  (96-dpi DIB)\n", render.at100,
           perSecond((double)rendered, render.at100).c_str());
    printf("render every page 200%% %7.3f s  %s  (96-dpi DIB)\n", render.at200,
           perSecond((double)rendered, render.at200).c_str());
    printf("  read for the render %8.3f s, clear the two page bitmaps %7.3f s\n", render.reading,
           render.clearing);
    printf("append 100000 objects %8.3f s  %s  (one at a time to one page)\n", appending,
           perSecond(100000, appending).c_str());
    if (keep)
        printf("document kept         %s\n", path);
    printf("continuous style      %8.3f s  (%d pages stacked)\n", switching, stacked);
    printf("insert after page %-4d %8.3f s  (%s)\n", pages / 2, inserting,
           inserted ? "inserted" : "not inserted");
    printf("auto-save backup      %8.3f s  (%s)\n", backingUp,
           backedUp ? "written" : "not written");
    printf("hit test, 10000 boxes %8.3f ms  (median of 1000 calls)\n", hit);
    printf("peak working set      %8.1f MB\n", megabytes(pmc.PeakWorkingSetSize));
    printf("peak committed memory %8.1f MB\n", megabytes(pmc.PeakPagefileUsage));
    printf("memory blocks alive   %8ld\n", utLiveHandleCount());
    phases.mark("point shapes");
    drawPointShapes(15);
    drawPointShapes(30);   // wider than a pixel: clipped under the heads
    phases.mark("composites and brushes");
    benchCompositesAndBrushes();
    benchFittingAndCommit();
    phases.mark("pages of outlined shapes");
    drawShapePage(20);
    drawShapePage(40);
    phases.mark("text");
    benchText();
    phases.mark("text editor");
    benchTextEdit();
    phases.mark("picture");
    benchPicture();
    phases.mark("table");
    benchTable();
    phases.mark("clipboard");
    benchClipboard();
    phases.mark("selection order");
    benchSelectionOrder(5000);
    phases.mark("arrange");
    benchArrange();
    phases.mark("fonts");
    benchFonts();
    phases.mark("rotate outline");
    benchRotate();
    phases.mark("repaint");
    benchRepaint();
    phases.mark("export");
    benchExport();
    fflush(stdout);
    phases.report();
    long want = (long)pages * objects;
    return total == want && after == want && again ? 0 : 1;
}
