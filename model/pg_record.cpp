// The page record: its defaults, its validity, new pages, the paper sizes
// and the page properties.
#include "model/pg_record.h"
#include "model/pg_page.h"
#include "model/pg_margins.h"
#include "model/lay_layers.h"
#include "model/ob_links.h"
#include "support/app_frame_globals.h"
#include "model/setup_record.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "model/ws_document.h"
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

// Fills a new page's default pattern; installed by the fill module.
void (*g_defaultPattern)(uint8_t *pattern) = nullptr;

void putU32(uint8_t *p, uint32_t v) { memcpy(p, &v, 4); }
void putU16(uint8_t *p, uint16_t v) { memcpy(p, &v, 2); }

// The page's default font: the settings' font, else Arial at 12 points.
LOGFONTA defaultFont()
{
    LOGFONTA lf;
    if (!setGetDefaultFont(&lf)) {
        memset(&lf, 0, sizeof(lf));
        lf.lfHeight = -12 * 20;
        lf.lfWeight = FW_NORMAL;
        strcpy(lf.lfFaceName, "Arial");
    }
    return lf;
}

// The eight bytes of the field format that belong to the page they were
// set on (after the font and its size word); a new page starts without them.
const uint32_t kFieldFormatOwnAt = 80;
const uint32_t kFieldFormatOwnBytes = 8;

const PgPaperSize kPaperSizes[] = {
    {0, "Letter 8 1/2 x 11 in", 8.5, 11},
    {1, "Legal 8 1/2 x 14 in", 8.5, 14},
    {4, "Ledger 17 x 11 in", 17, 11},
    {8, "A3 297 x 420 mm", 11.69, 16.54},
    {9, "A4 210 x 297 mm", 8.268, 11.69},
    {11, "A5 148 x 210 mm", 5.827, 8.268},
    {12, "B4 250 x 354 mm", 9.843, 13.94},
    {13, "B5 182 x 257 mm", 7.165, 10.12},
    {10, "Business card, 3 1/2 x 2 in", 3.5, 2},
    {40, "Index Card 5 x 3 in", 5, 3},
    {19, "Envelope #9 3 7/8 x 8 7/8 in", 3.875, 8.875},
    {20, "Envelope #10 4 1/8 x 9 1/2 in", 4.125, 9.5},
    {21, "Envelope #11 4 1/2 x 10 3/8 in", 4.5, 10.375},
    {22, "Envelope #12 4 x 11 in", 4, 11},
    {23, "Envelope #14 5 x 11 1/2 in", 5, 11.5},
    {50, "C Sheet 17 x 22 in", 17, 22},
    {53, "Tabloid 11 x 17 in", 11, 17},
    {54, "Statement 5 1/2 x 8 1/2 in", 5.5, 8.5},
    {55, "Executive 7 1/4 x 10 1/2 in", 7.25, 10.5},
    {56, "Folio 8 1/2 x 13 ", 8.5, 13},
    {57, "10 x 14 in", 10, 14},
    {58, "11 x 17 in", 11, 17},
};

// Where a property lives: in the head or in the PageData, at which offset
// and width, and which ways it goes.
enum PropArea { IN_HEAD, IN_DATA };
enum PropWay { GET_SET, GET_ONLY, SET_ONLY };
struct PageProp {
    int id;
    PropArea area;
    uint32_t offset;
    uint32_t size;
    PropWay way;
};
const PageProp kProps[] = {
    {2, IN_DATA, offsetof(PageData, textFormat), sizeof(LOGFONTA), GET_SET},
    {4, IN_HEAD, offsetof(ObjectRecord, penColour), 4, GET_ONLY},
    {7, IN_DATA, offsetof(PageData, orientation), 1, GET_SET},
    {8, IN_DATA, offsetof(PageData, unit), 2, GET_SET},
    {10, IN_DATA, offsetof(PageData, pageColour), 4, GET_ONLY},
    {13, IN_DATA, offsetof(PageData, twoValues), 4, SET_ONLY},
    {14, IN_DATA, offsetof(PageData, twoValues) + 4, 4, SET_ONLY},
    {15, IN_DATA, offsetof(PageData, paperCode), 1, GET_ONLY},
    {40, IN_HEAD, 0, kObHeadSize, GET_SET},
    {41, IN_DATA, 0, PG_DATA_SIZE, GET_SET},
    {42, IN_HEAD, offsetof(ObjectRecord, penColour), 12, GET_SET},
    {43, IN_HEAD, offsetof(ObjectRecord, layer), 1, GET_SET},
    {44, IN_HEAD, offsetof(ObjectRecord, fillKind), 1, GET_SET},
    {45, IN_HEAD, offsetof(ObjectRecord, flags), 4, GET_SET},
    {46, IN_DATA, offsetof(PageData, defaultPattern), 24, GET_SET},
    {47, IN_DATA, offsetof(PageData, defaultGradient), 40, GET_SET},
    {48, IN_DATA, offsetof(PageData, fourWords) + 4, 2, GET_SET},
    {49, IN_DATA, offsetof(PageData, fourWords) + 6, 2, GET_SET},
    {50, IN_DATA, offsetof(PageData, fourWords), 2, GET_SET},
    {51, IN_DATA, offsetof(PageData, fourWords) + 2, 2, GET_SET},
    {53, IN_DATA, offsetof(PageData, fourValues), 4, GET_SET},
    {54, IN_DATA, offsetof(PageData, fourValues) + 4, 4, GET_SET},
    {55, IN_DATA, offsetof(PageData, textFormat), 122, GET_SET},
    {56, IN_DATA, offsetof(PageData, fieldFormat), 100, GET_SET},
    {57, IN_DATA, offsetof(PageData, shadowStyle), 8, GET_SET},
    {58, IN_HEAD, offsetof(ObjectRecord, hatch), 1, GET_SET},
    {59, IN_DATA, offsetof(PageData, byte45), 1, GET_SET},
};

const PageProp *propOf(int id)
{
    for (const PageProp &p : kProps)
        if (p.id == id)
            return &p;
    return nullptr;
}

// Copies `from` over `to` but keeps the listed ranges of `to`.
struct Range {
    uint32_t at, size;
};
void copyKeeping(uint8_t *to, const uint8_t *from, uint32_t size, const Range *keep, int n)
{
    std::vector<uint8_t> kept(to, to + size);
    memcpy(to, from, size);
    for (int i = 0; i < n; ++i)
        memcpy(to + keep[i].at, kept.data() + keep[i].at, keep[i].size);
}

const Range kHeadOwnFields[] = {
    {offsetof(ObjectRecord, length), 4},
    {offsetof(ObjectRecord, type), 2},
    {offsetof(ObjectRecord, nameLength), 1},
    {offsetof(ObjectRecord, extraData), 4 * PGH_LINK_COUNT},
};
const Range kDataOwnFields[] = {
    {offsetof(PageData, layers), sizeof(PgLayerState)},
    {offsetof(PageData, attrs), sizeof(AttrHeader)},
    {offsetof(PageData, firstObject), 12},   // first object, side and palette blocks
};

}  // namespace

// ---- the lock ---------------------------------------------------------------------

PgLock::PgLock(MemHandle page) : lock_(page), data_(nullptr)
{
    if (!lock_ || lock_->type != PG_TYPE)
        return;
    uint32_t at = dataOffset();
    if ((uint64_t)at + PG_DATA_SIZE <= lock_.extent())
        data_ = reinterpret_cast<PageData *>(bytes() + at);
}

uint32_t PgLock::dataOffset() const { return obDataOffset(lock_.get()); }

uint8_t *PgLock::findAttr(uint32_t tag, int *length) const
{
    if (length)
        *length = 0;
    if (!data_)
        return nullptr;
    uint32_t run = dataOffset() + PG_DATA_SIZE;
    if ((uint64_t)run + data_->attrs.size > extent())
        return nullptr;
    return const_cast<uint8_t *>(
        attGetDataIn(bytes() + run, data_->attrs.count, data_->attrs.size, tag, length));
}

// ---- defaults and validity ------------------------------------------------------------

void pgSetDefaultPatternHook(void (*hook)(uint8_t *pattern))
{
    g_defaultPattern = hook;
}

void pgInitDefaultPattern(uint8_t *pattern)
{
    // The blank 8 x 8 pattern, or the pattern library's first one when it
    // is 8 x 8: the fill module's, zeros without it.
    if (g_defaultPattern)
        g_defaultPattern(pattern);
    else
        memset(pattern, 0, kPgDefaultPatternSize);
}

void pgInitRecord(uint8_t *record)
{
    static_assert(sizeof(LOGFONTA) == 60, "a LOGFONT is 60 bytes");
    memset(record, 0, PG_RECORD_SIZE);
    putU32(record + PGH_LENGTH, PG_RECORD_SIZE);
    putU16(record + PGH_TYPE, PG_TYPE);
    record[PGH_LAYER] = 1;
    putU32(record + PGH_WIDTH, 12240);
    putU32(record + PGH_HEIGHT, 15840);
    putU32(record + PGH_CENTRE_X, 12240 / 2);
    putU32(record + PGH_CENTRE_Y, 15840 / 2);
    putU16(record + PGH_PEN_WIDTH, 20);
    uint8_t fillKind = 0;
    uint32_t colours[3] = {0, 0, 0xFFFFFF};
    setGetFillDefaults(&fillKind, colours);
    record[PGH_FILL_KIND] = fillKind;
    putU32(record + PGH_PEN_COLOUR, colours[0]);
    putU32(record + PGH_FILL_COLOUR, colours[1]);
    putU32(record + PGH_BACK_COLOUR, colours[2]);
    putU32(record + PGH_SCALE_X, 65535);
    putU32(record + PGH_SCALE_Y, 65535);

    PageData d = {};
    d.orientation = 1;
    d.unit = 3;
    d.twoValues[0] = d.twoValues[1] = 90;
    for (int32_t &v : d.fourValues)
        v = 29;
    d.gridDivisions = 16;
    d.pageColour = 0xFFFFFF;
    d.fourWords[0] = d.fourWords[1] = 180;
    d.byte45 = (uint8_t)setGetPageByte45();
    d.layers.current = 1;
    pgInitDefaultPattern(d.defaultPattern);
    d.defaultGradient[0] = 1;
    d.defaultGradient[6] = 16;
    LOGFONTA font = defaultFont();
    memcpy(d.textFormat, &font, sizeof(font));
    putU32(d.textFormat + 60, 525);
    d.textFormat[64] = 4;
    d.textFormat[65] = 0;
    d.textFormat[66] = 1;
    const uint8_t fieldHead[11] = {9, 0, 1, 0, 255, 255, 3, 0, 1, 0, 9};
    memcpy(d.fieldFormat, fieldHead, sizeof(fieldHead));
    memcpy(d.fieldFormat + 16, &font, sizeof(font));
    putU32(d.fieldFormat + 76, 514);
    d.extrasFlags = 2;
    memcpy(record + PG_HEAD_SIZE, &d, sizeof(d));
}

uint32_t pgRecCalcSize(const uint8_t *record)
{
    PageData d;
    uint8_t nameLength = record[PGH_NAME_LENGTH];
    memcpy(&d, record + PG_HEAD_SIZE + nameLength, sizeof(d));
    return PG_RECORD_SIZE + nameLength + d.attrs.size;
}

BOOL pgIsValid(MemHandle page)
{
    uint32_t block = utHandleSize(page);
    if (block < PG_RECORD_SIZE)
        return FALSE;
    MemLock<uint8_t> p(page);
    if (!p)
        return FALSE;
    const uint8_t *r = p.get();
    int16_t type;
    memcpy(&type, r + PGH_TYPE, 2);
    uint8_t nameLength = r[PGH_NAME_LENGTH];
    if (type != PG_TYPE || nameLength > 32 || (nameLength && r[PG_HEAD_SIZE + nameLength - 1]))
        return FALSE;
    uint32_t dataAt = PG_HEAD_SIZE + nameLength;
    return PG_RECORD_SIZE + (uint32_t)nameLength <= block
           && attIsValidOwner(r, block, dataAt + offsetof(PageData, attrs), dataAt + PG_DATA_SIZE);
}

// ---- new pages ------------------------------------------------------------------------

MemHandle pgNewRecord(MemHandle tmpl)
{
    MemHandle source = tmpl ? tmpl : setGetDefaultPage();
    MemHandle page = obNewRecord(PG_RECORD_SIZE);
    if (!page)
        return 0;
    {
        PgLock src(source);
        MemLock<uint8_t> p(page);
        if (src) {
            memcpy(p.get(), src.head(), PG_HEAD_SIZE);
            memcpy(p.get() + PG_HEAD_SIZE, src.data(), PG_DATA_SIZE);
        } else {
            pgInitRecord(p.get());
        }
        ObjectRecord *h = reinterpret_cast<ObjectRecord *>(p.get());
        obRecClearLinks(h);
        h->flags &= ~OBF_NO_BASE_PAGE;
        h->length = PG_RECORD_SIZE;
        h->type = PG_TYPE;
        h->layer = 1;
        h->nameLength = 0;
        PageData *d = reinterpret_cast<PageData *>(p.get() + PG_HEAD_SIZE);
        if (d->byte45 < 1)
            d->byte45 = 1;
        memset(d->fieldFormat + kFieldFormatOwnAt, 0, kFieldFormatOwnBytes);
        pgInitDefaultPattern(d->defaultPattern);
        LayerState layers;
        layInitState(&layers);
        d->layers = layers;
        d->paletteBlock = 0;
        pgDataSetObjectCount(d, 0);
        d->bodyBytes = 0;
        d->extrasBytes = 0;
        memset(&d->attrs, 0, sizeof(d->attrs));
        d->firstObject = 0;
        d->sideBlock = 0;
        memset(d->memoryOnly, 0, sizeof(d->memoryOnly));
        d->extrasFlags = 2;
    }
    // Without a template page there are no margins or flag to take over.
    if (!PgLock(source))
        return page;
    RECT margins;
    if (pgGetMargins(source, &margins)) {
        MemHandle moved = pgSetMargins(page, &margins);
        if (!moved) {
            pgFreeList(page);
            return 0;
        }
        page = moved;
    }
    if (pgHasFlag64(source)) {
        MemHandle moved = pgSetFlag64(page, TRUE);
        if (!moved) {
            pgFreeList(page);
            return 0;
        }
        page = moved;
    }
    return page;
}

namespace {
PgLayoutSheetCall g_layoutSheet = nullptr;
}

void pgSetLayoutSheetCall(PgLayoutSheetCall call) { g_layoutSheet = call; }

MemHandle pgNewRecordByDialog(MemHandle tmpl, const char *caption)
{
    if (!g_layoutSheet)
        return 0;
    MemHandle page = pgNewRecord(tmpl);
    if (!page)
        return 0;
    BOOL unitChanged = FALSE;
    if (!g_layoutSheet(appGetFrameWindow(), caption, &page, TRUE, &unitChanged)) {
        pgFreeList(page);
        return 0;
    }
    return page;
}

// ---- the page head --------------------------------------------------------------------

int pgShowsBasePage(MemHandle page)
{
    ObLock r(page);
    return r ? ((r->flags & OBF_NO_BASE_PAGE) ? 0 : 1) : 1;
}

void pgSetShowsBasePage(MemHandle page, BOOL show)
{
    obSetFlags(page, OBF_NO_BASE_PAGE, !show);
}

void pgCopySize(MemHandle to, MemHandle from)
{
    if (to == from)
        return;
    PgLock t(to), f(from);
    if (!t || !f)
        return;
    t.head()->width = f.head()->width;
    t.head()->height = f.head()->height;
    t.head()->centreX = f.head()->centreX;
    t.head()->centreY = f.head()->centreY;
    t.data()->paperCode = f.data()->paperCode;
}

COLORREF pgGetColour(MemHandle page)
{
    PgLock p(page);
    return p ? p.data()->pageColour : 0xFFFFFF;
}

BOOL pgGetDefaultFont(MemHandle page, LOGFONTA *font)
{
    PgLock p(page);
    if (!p)
        return FALSE;
    memcpy(font, p.data()->textFormat, sizeof(*font));
    return TRUE;
}

int pgGetRectInches(MemHandle page, double *left, double *right, double *top, double *bottom)
{
    if (!PgLock(page))
        return 0;
    RECT r;
    obGetRect(page, &r);
    *left = r.left / 1440.0;
    *right = r.right / 1440.0;
    *top = r.top / 1440.0;
    *bottom = r.bottom / 1440.0;
    return 1;
}

// ---- paper sizes ----------------------------------------------------------------------------

const PgPaperSize *pgPaperSizes(int *count)
{
    *count = (int)(sizeof(kPaperSizes) / sizeof(kPaperSizes[0]));
    return kPaperSizes;
}

void pagePaperSize(int code, int orientation, double *width, double *height)
{
    const PgPaperSize *size = &kPaperSizes[0];
    if (code >= 0 && code <= 58)
        for (const PgPaperSize &p : kPaperSizes)
            if (p.code == code)
                size = &p;
    *width = size->width;
    *height = size->height;
    if (orientation == 2) {
        *width = size->height;
        *height = size->width;
    }
}

int pgIsSpecialKind(int code) { return code == PG_PAPER_LABEL || code == PG_PAPER_CUSTOM; }

void pgGetPrintPaper(MemHandle page, int *paper, int *orientation, PgPrintLayout *layout)
{
    int code = 0, orient = 1;
    {
        PgLock p(page);
        if (p) {
            code = p.data()->paperCode;
            orient = p.data()->orientation;
        }
    }
    if (layout) {
        memset(layout, 0, sizeof(*layout));
        LabelSpec spec;
        if (code == PG_PAPER_LABEL && pgGetLabelLayout(page, &spec)) {
            lblSpecToUnits(&spec, &layout->grid);
        } else {
            layout->grid.pitchX = obGetWidth(page);
            layout->grid.pitchY = obGetHeight(page);
            layout->grid.columns = 1;
            layout->grid.rows = 1;
        }
    }
    if (code == PG_PAPER_CUSTOM) {
        double left = 0, right = 0, top = 0, bottom = 0;
        pgGetRectInches(page, &left, &right, &top, &bottom);
        double width = right - left, height = bottom - top;
        if (width > 8.51) {
            bool legal = height > 11.01 && height < 14.01;
            code = legal ? PG_PAPER_LEGAL : PG_PAPER_LETTER;
            if (legal)
                orient = 1;
        } else {
            code = height > 11.01 ? PG_PAPER_LEGAL : PG_PAPER_LETTER;
            orient = 1;
        }
    }
    *paper = code;
    *orientation = orient;
}

// ---- properties -------------------------------------------------------------------------------

int pgGetProp(MemHandle page, int id, void *value)
{
    PgLock p(page);
    if (!p)
        return 0;
    const PageProp *prop = propOf(id);
    if (!prop || prop->way == SET_ONLY)
        return 1;
    const uint8_t *base = prop->area == IN_HEAD ? p.bytes() : reinterpret_cast<uint8_t *>(p.data());
    memcpy(value, base + prop->offset, prop->size);
    if (id == 59 && *static_cast<uint8_t *>(value) == 0)
        *static_cast<uint8_t *>(value) = (uint8_t)setGetPageByte45();
    return 1;
}

int pgSetProp(MemHandle page, int id, const void *value)
{
    PgLock p(page);
    if (!p)
        return 0;
    const PageProp *prop = propOf(id);
    if (!prop || prop->way == GET_ONLY)
        return 1;
    const uint8_t *from = static_cast<const uint8_t *>(value);
    if (id == 40)
        copyKeeping(p.bytes(), from, kObHeadSize, kHeadOwnFields,
                    (int)(sizeof(kHeadOwnFields) / sizeof(kHeadOwnFields[0])));
    else if (id == 41)
        copyKeeping(reinterpret_cast<uint8_t *>(p.data()), from, PG_DATA_SIZE, kDataOwnFields,
                    (int)(sizeof(kDataOwnFields) / sizeof(kDataOwnFields[0])));
    else {
        uint8_t *base = prop->area == IN_HEAD ? p.bytes() : reinterpret_cast<uint8_t *>(p.data());
        memcpy(base + prop->offset, from, prop->size);
    }
    return 1;
}

// ---- grid -------------------------------------------------------------------------------------

int pgGetGridDivisions(HWND workspace)
{
    PgLock p(pvGetCurrentPage(workspace));
    return p ? p.data()->gridDivisions : 0;
}

void pgSetGridDivisions(HWND workspace, int divisions)
{
    PgLock p(pvGetCurrentPage(workspace));
    if (p)
        p.data()->gridDivisions = (uint16_t)divisions;
}

void pgGridCellSize(int divisions, int32_t *x, int32_t *y)
{
    if (divisions < 1)
        divisions = 1;
    *x = geoRound(dmInchToTwipsX(1.0) / (double)divisions);
    *y = geoRound(dmInchToTwipsY(1.0) / (double)divisions);
}

int32_t pgDataObjectCount(const PageData *d)
{
    if (d->objectCount < 0)
        return -1;   // no count keeps its sign bit
    return (int32_t)((uint32_t)d->objectCountHigh << 15 | (uint32_t)d->objectCount);
}

void pgDataSetObjectCount(PageData *d, int32_t count)
{
    const uint32_t n = count > 0 ? (uint32_t)count : 0;
    d->objectCount = (int16_t)(n & 0x7FFF);
    d->objectCountHigh = (uint16_t)std::min<uint32_t>(n >> 15, 0xFFFF);
}
