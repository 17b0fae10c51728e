// Table steps of the benchmark: a 40 x 40 table with a text in every cell
// drawn into a DIB (one pass over the cells), and an edit session begun,
// rebuilt and committed on it (one pass over the cells each).
#include "bench/bench_table.h"
#include "bench/bench_clock.h"
#include "tests/table/tb_fixture.h"
#include "table/tb_draw.h"
#include "table/tb_session.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include <stdio.h>
#include <string>
#include <vector>

void benchTable()
{
    const int n = 40, rounds = 10;
    MemHandle t = qmtest::makeTable(n, n, RECT{0, 0, n * 600, n * 300});
    std::vector<std::string> words(n * n);
    std::vector<const char *> texts(n * n);
    for (int i = 0; i < n * n; ++i) {
        words[i] = "cell " + std::to_string(i);
        texts[i] = words[i].c_str();
    }
    t = qmtest::setTableTexts(t, texts.data(), n * n);

    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 1600;
    bi.bmiHeader.biHeight = -800;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    dmPushState();
    dmSetZoomDC(dc, 100);
    double start = benchSeconds();
    for (int k = 0; k < rounds; ++k) {
        ObLock r(t);
        tbDraw(dc, r.get());
    }
    double drawn = (benchSeconds() - start) / rounds;
    dmPopState();
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);

    start = benchSeconds();
    for (int k = 0; k < rounds; ++k) {
        tbBeginSession(t);
        t = tbRebuild(nullptr, t);
        t = tbCommitSession(nullptr);
    }
    double session = (benchSeconds() - start) / rounds;
    printf("table 40 x 40 with texts: draw %8.4f s, session begin+rebuild+commit %8.4f s\n",
           drawn, session);
    utFreeHandle(t);
}
