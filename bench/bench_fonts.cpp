// Font list and font matching times.
#include "bench/bench_fonts.h"
#include "bench/bench_clock.h"
#include "support/gdi_font.h"
#include "support/ut_mem.h"
#include <stdio.h>

void benchFonts()
{
    gdiResetFontCache();
    double t0 = benchSeconds();
    utFreeHandle(gdiListFontFaces(nullptr, FALSE));   // fills the cache
    const double cold = benchSeconds() - t0;
    t0 = benchSeconds();
    MemHandle list = gdiListFontFaces(nullptr, FALSE);
    const double warm = benchSeconds() - t0;
    const uint32_t bytes = utHandleSize(list);
    utFreeHandle(list);
    printf("font faces: first list %.2f ms, warm list %.3f ms (budget 20 ms), %u bytes\n",
           cold * 1000, warm * 1000, bytes);

    LOGFONTA lf;
    int found = 0;
    t0 = benchSeconds();
    for (int i = 0; i < 1000; ++i)
        found += gdiMatchFont(nullptr, FALSE, i & 1, "Arial", 8 + i % 30, &lf);
    const double match = benchSeconds() - t0;
    printf("font matching: 1,000 matches of Arial %.2f ms (budget 50 ms), %d found\n",
           match * 1000, found);
    fflush(stdout);
}
