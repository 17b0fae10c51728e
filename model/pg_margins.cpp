// Page, inset and margin rectangles and the page guides.
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/ob_links.h"
#include "support/dm_printer.h"
#include "support/geo_rect.h"
#include <string.h>
#include <vector>

namespace {

const COLORREF kGuideColour = 0xC4C4C4;
// Label grids come from files: no more cells are drawn than a sheet of
// real labels could hold.
const int32_t kMaxLabelCells = 256;

void toInches(const RECT &r, PgRectInches *out)
{
    out->left = r.left / 1440.0;
    out->top = r.top / 1440.0;
    out->right = r.right / 1440.0;
    out->bottom = r.bottom / 1440.0;
}

bool isEmpty(const RECT &r) { return r.left >= r.right || r.top >= r.bottom; }

void frame(HDC dc, const RECT &r) { Rectangle(dc, r.left, r.top, r.right, r.bottom); }

}  // namespace

void pgGetPageRect(MemHandle page, RECT *r) { obGetRect(page, r); }

void pgPrinterMargins(RECT *margins) { dmGetPrinterMargins(margins); }

void pgGetInsetRect(MemHandle page, RECT *r)
{
    pgGetPageRect(page, r);
    RECT margins, inset = *r;
    pgPrinterMargins(&margins);
    geoApplyMargins(&inset, &margins, FALSE);
    if (!isEmpty(inset))
        *r = inset;
}

int pgGetMargins(MemHandle page, RECT *margins)
{
    memset(margins, 0, sizeof(*margins));
    PgLock p(page);
    int length = 0;
    const uint8_t *data = p.findAttr(PGA_MARGINS, &length);
    if (!data || length < 16)
        return 0;
    int32_t v[4];
    memcpy(v, data, sizeof(v));
    *margins = {v[0], v[1], v[2], v[3]};
    return 1;
}

MemHandle pgSetMargins(MemHandle page, const RECT *margins)
{
    int32_t v[4] = {margins->left, margins->top, margins->right, margins->bottom};
    return pgSetAttr(page, PGA_MARGINS, v, (int)sizeof(v));
}

int pgHasMargins(MemHandle page)
{
    RECT m;
    return pgGetMargins(page, &m) && (m.left || m.top || m.right || m.bottom) ? 1 : 0;
}

int pgGetMarginRect(MemHandle page, RECT *r)
{
    pgGetPageRect(page, r);
    RECT margins;
    if (!pgGetMargins(page, &margins))
        return 0;
    geoApplyMargins(r, &margins, FALSE);
    return 1;
}

MemHandle pgSetMarginRect(MemHandle page, const RECT *rect)
{
    if (!PgLock(page))
        return 0;
    if (isEmpty(*rect))
        return page;
    RECT r;
    pgGetPageRect(page, &r);
    RECT margins = {rect->left - r.left, rect->top - r.top, r.right - rect->right,
                    r.bottom - rect->bottom};
    return pgSetMargins(page, &margins);
}

int pgMarginRectIsValid(MemHandle page)
{
    RECT r;
    pgGetMarginRect(page, &r);
    return isEmpty(r) ? 0 : 1;
}

void pgDefaultMargins(MemHandle page, RECT *margins)
{
    int code = 0;
    {
        PgLock p(page);
        if (p)
            code = p.data()->paperCode;
    }
    int32_t m = code == PG_PAPER_LETTER || code == PG_PAPER_LEGAL || code == PG_PAPER_LEDGER
                    ? 1440
                    : 360;
    *margins = {m, m, m, m};
}

MemHandle pgEnsureMargins(MemHandle page)
{
    RECT margins;
    if (!PgLock(page))
        return 0;
    if (pgGetMargins(page, &margins))
        return page;
    pgDefaultMargins(page, &margins);
    return pgSetMargins(page, &margins);
}

int pgObjectsBoundsInMargins(MemHandle page, RECT *bounds)
{
    memset(bounds, 0, sizeof(*bounds));
    RECT area;
    pgGetMarginRect(page, &area);
    std::vector<MemHandle> objects;
    obCollectList(pgGetFirstObject(page), objects);
    bool any = false;
    for (MemHandle h : objects) {
        RECT box;
        obGetRect(h, &box);
        if (!geoRectsIntersect(&box, &area))
            continue;
        if (any)
            geoUnionRect(bounds, bounds, &box);
        else
            *bounds = box;
        any = true;
    }
    return any ? 1 : 0;
}

void pgGetInsetRectInches(MemHandle page, PgRectInches *r)
{
    RECT t;
    pgGetInsetRect(page, &t);
    toInches(t, r);
}

int pgGetMarginRectInches(MemHandle page, PgRectInches *r)
{
    RECT t;
    int has = pgGetMarginRect(page, &t);
    toInches(t, r);
    return has;
}

int pgGetMarginsInches(MemHandle page, PgRectInches *r)
{
    RECT t;
    int has = pgGetMargins(page, &t);
    toInches(t, r);
    return has;
}

void pgDrawGuides(HDC dc, MemHandle page, BOOL inset, BOOL margins)
{
    if (!dc || !PgLock(page))
        return;
    GdiObject<HPEN> pen(CreatePen(PS_DOT, 1, kGuideColour));
    GdiSelect usePen(dc, pen);
    GdiSelect useBrush(dc, GetStockObject(NULL_BRUSH));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT r;
    if (inset) {
        pgGetInsetRect(page, &r);
        frame(dc, r);
    }
    LabelSpec spec;
    bool label = pgGetLabelLayout(page, &spec) != 0;
    if (margins && !label && pgGetMarginRect(page, &r))
        frame(dc, r);
    if (label && (spec.flags & LBL_ENTIRE_SHEET)) {
        LabelLayout grid;
        lblSpecToUnits(&spec, &grid);
        RECT page_, cellMargins;
        pgGetPageRect(page, &page_);
        bool withMargins = margins && pgGetMargins(page, &cellMargins);
        int32_t rows = grid.rows < kMaxLabelCells ? grid.rows : kMaxLabelCells;
        int32_t columns = grid.columns < kMaxLabelCells ? grid.columns : kMaxLabelCells;
        for (int32_t row = 0; row < rows; ++row)
            for (int32_t column = 0; column < columns; ++column) {
                RECT cell;
                if (!lblCellRect(&grid, column, row, &cell))
                    continue;
                geoOffsetRect(&cell, page_.left, page_.top);
                frame(dc, cell);
                if (withMargins) {
                    geoApplyMargins(&cell, &cellMargins, FALSE);
                    if (!isEmpty(cell))
                        frame(dc, cell);
                }
            }
    }
    SetBkMode(dc, oldMode);
}
