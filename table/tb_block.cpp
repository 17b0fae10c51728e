// Cell blocks: size runs and text re-fitting.
#include "table/tb_block.h"
#include "table/tb_geometry.h"
#include "table/tb_session.h"
#include "text/tx_break.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "support/ut_mem.h"
#include <algorithm>

int tbClampSizes(int32_t start, int32_t limit, uint32_t *values, int n)
{
    if (!values || n <= 0)
        return 1;
    int64_t pos = start;
    int cut = 0;
    for (int i = 0; i < n; ++i) {
        if (cut) {
            values[i] = 0;
            continue;
        }
        if (pos + values[i] > limit) {
            values[i] = (uint32_t)std::max<int64_t>(limit - pos, 0);
            cut = 1;
        }
        pos += values[i];
    }
    if (!cut && pos < limit)
        values[n - 1] += (uint32_t)(limit - pos);
    return !cut;
}

void tbRefitCellTexts(HWND ws, const TableCell *anchor, const TableCell *end)
{
    int c0, r0, c1, r1;
    tbNormaliseRange(anchor, end, &c0, &r0, &c1, &r1);
    if (c0 < 0)
        return;
    BOOL printer = txUsePrinterMetrics();
    HDC dc = txGetMeasureDC(ws, printer);
    if (!dc)
        return;
    BOOL vertical = tbIsVerticalLayout(tbSessHead());
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            TableCell cell;
            tbSessCopyCell(&cell, c, r);
            if (cell.textOffset < 0)
                continue;
            RECT box;
            if (!tbCellTextRect(c, r, &box))
                continue;
            int32_t width = vertical ? box.bottom - box.top : box.right - box.left;
            width = std::max<int32_t>(width, 160);
            MemHandle text = tbGetCellText(c, r);
            if (!text)
                continue;
            TextHeader th;
            tbCellTextFormat(&cell, &th);
            MemHandle lines;
            {
                MemLock<char> s(text);
                lines = txBreakLines(dc, width, s.get(), &th, cell.align, 0);
            }
            utFreeHandle(text);
            if (!lines)
                continue;   // memory ran out: the text stays as it was
            {
                MemLock<char> s(lines);
                tbSetCellText(c, r, s.get());
            }
            utFreeHandle(lines);
        }
    txReleaseMeasureDC(ws, dc, printer);
}
