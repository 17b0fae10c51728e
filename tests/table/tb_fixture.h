// Tables built for tests and the end-to-end driver: a grid of equal cells
// over a rectangle, with the defaults a new table gets, and an optional
// text per cell.
#pragma once
#include "table/tb_record.h"
#include "table/tb_session.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include <string.h>

namespace qmtest {

inline LOGFONTA tableFont(int height = -200, const char *face = "Liberation Sans")
{
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = 400;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return lf;
}

// A type-45 table of cols x rows equal cells over the rectangle.
inline MemHandle makeTable(int cols, int rows, RECT rect, uint8_t fillKind = 1,
                           COLORREF pen = RGB(0, 0, 0), COLORREF back = RGB(255, 255, 255))
{
    MemHandle h = obNewRecord(kObHeadSize + kTbHeadSize + kTbAttrFixed);
    if (!h)
        return 0;
    {
        ObLock r(h);
        ObjectRecord *rec = r.get();
        rec->type = OBT_TABLE;
        rec->fillKind = fillKind;
        rec->penColour = pen;
        rec->fillColour = RGB(0, 0, 0);
        rec->backColour = back;
        rec->scaleX = rec->scaleY = kObScaleOne;
        TableHead *head = reinterpret_cast<TableHead *>(obRecData(rec));
        head->frameStyle = 0x0101;
        head->rowMajor = 1;
        head->headerColumn = 1;
        head->headerRow = 1;
        head->columns = (int16_t)cols;
        head->rows = (int16_t)rows;
        head->borderWord = 10;
        head->editStyle = 537;
        head->font = tableFont();
        TableAttrBlock *ab = reinterpret_cast<TableAttrBlock *>(obRecData(rec) + kTbHeadSize);
        ab->word14 = 14;
        ab->word6 = 6;
        tbLayoutFromRect(rec, &rect);
    }
    uint32_t size;
    {
        ObLock r(h);
        size = tbObjectSize(r.get());
    }
    MemHandle g = obResize(h, size);
    if (!g) {
        utFreeHandle(h);
        return 0;
    }
    ObLock r(g);
    tbInitCells(r.get());
    return g;
}

// Sets cell texts through a session (row-major list, null entries skipped).
inline MemHandle setTableTexts(MemHandle table, const char *const *texts, int n)
{
    if (!tbBeginSession(table))
        return table;
    for (int i = 0; i < n; ++i)
        if (texts[i])
            tbSetCellText(i % tbSessColumns(), i / tbSessColumns(), texts[i]);
    return tbCommitSession(nullptr);
}

}  // namespace qmtest
