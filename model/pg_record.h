// The page record: an object record of type 1000 whose type data is the
// 408-byte PageData, followed by the page attributes.
#pragma once
#include "support/qmwin.h"
#include "model/att_attr.h"
#include "model/ob_record.h"
#include "model/lbl_spec.h"

enum {
    PG_TYPE = 1000,
    PG_HEAD_SIZE = 86,         // the object head in memory
    PG_DATA_SIZE = 408,
    PG_RECORD_SIZE = 494,      // head + page data, without name and attributes
};

// Head offsets of the object record that a page record uses.
enum {
    PGH_LENGTH = 0, PGH_TYPE = 4, PGH_LAYER = 6, PGH_NAME_LENGTH = 7,
    PGH_CENTRE_X = 8, PGH_CENTRE_Y = 12, PGH_WIDTH = 16, PGH_HEIGHT = 20,
    PGH_PEN_WIDTH = 28, PGH_FILL_KIND = 30, PGH_PEN_COLOUR = 32,
    PGH_FILL_COLOUR = 36, PGH_BACK_COLOUR = 40, PGH_SCALE_X = 44,
    PGH_SCALE_Y = 48, PGH_FLAGS = 52, PGH_LINKS = 58, PGH_LINK_COUNT = 7,
};

#pragma pack(push, 1)
struct PgLayerState {
    uint32_t inUse, edit, hidden;   // handles of the three sets
    uint16_t current;
    uint16_t countInUse, countEdit, countHidden;
};
struct PageData {
    uint16_t pageIndex;
    uint8_t paperCode;
    uint8_t orientation;
    uint16_t unit;
    int32_t twoValues[2];
    int32_t fourValues[4];
    uint16_t gridDivisions;
    uint32_t pageColour;
    uint16_t fourWords[4];
    uint8_t byte44;
    uint8_t byte45;
    PgLayerState layers;
    uint8_t defaultPattern[24];
    uint8_t defaultGradient[40];
    uint8_t shadowStyle[8];
    uint8_t textFormat[122];
    uint8_t fieldFormat[100];
    int16_t objectCount;
    uint32_t bodyBytes;
    uint32_t extrasFlags;
    uint16_t word370;
    uint32_t extrasBytes;
    AttrHeader attrs;
    uint32_t firstObject;    // handle
    uint32_t sideBlock;      // handle
    uint32_t paletteBlock;   // handle
    uint8_t memoryOnly[6];
    uint16_t word402;
    uint16_t objectCountHigh;   // the object count beyond its low 15 bits
    uint16_t word406;
};
#pragma pack(pop)
static_assert(sizeof(PgLayerState) == 20, "layer state is 20 bytes");
static_assert(sizeof(PageData) == PG_DATA_SIZE, "page data is 408 bytes");
static_assert(offsetof(PageData, layers) == 46, "layer state at 46");
static_assert(offsetof(PageData, word370) == 370, "word 370");
static_assert(offsetof(PageData, attrs) == 376, "page attributes header at 376");
static_assert(offsetof(PageData, word402) == 402, "word 402");
static_assert(offsetof(PageData, objectCountHigh) == 404, "object count's high part at 404");

// A page's count of top-level objects: the 16-bit count field holds its
// low 15 bits and the high part the rest (32,768 and more), so a page of
// any size is counted, written and read back whole. A count within 15 bits
// is stored exactly as the count field alone stores it.
int32_t pgDataObjectCount(const PageData *d);
void pgDataSetObjectCount(PageData *d, int32_t count);

// Page attribute tags.
enum : uint32_t {
    PGA_BLOCK16 = 0x10,
    PGA_FLAG64 = 0x40,              // a new page has it when its template has it
    PGA_BLOCK128 = 0x80,
    PGA_TEXT80000 = 0x80000,
    PGA_TEXT100000 = 0x100000,
    PGA_NAME = 0x200000,            // the page name; else the record's object name
    PGA_LABEL_LAYOUT = 0x2000000,   // LabelSpec of a label-sheet page
    PGA_TEXT10000000 = 0x10000000,
    PGA_BLOCK20000000 = 0x20000000,
    PGA_BACKGROUND = 0x40000000,
    PGA_MARGINS = 0x80000000u,      // four i32: left, top, right, bottom distances
};

// Paper codes beyond the paper-size table.
enum : uint8_t {
    PG_PAPER_LETTER = 0,
    PG_PAPER_LEGAL = 1,
    PG_PAPER_LEDGER = 4,
    PG_PAPER_BUSINESS_CARD = 10,
    PG_PAPER_LABEL = 41,            // a label sheet laid out by its label attribute
    PG_PAPER_PRESENTATION = 42,
    PG_PAPER_CUSTOM = 255,
};

// Locks a page record for the guard's life: false (and nothing locked)
// unless it is a record of type 1000 whose PageData lies within its length
// and its block.
class PgLock {
public:
    explicit PgLock(MemHandle page);
    explicit operator bool() const { return data_ != nullptr; }
    ObjectRecord *head() const { return lock_.get(); }
    PageData *data() const { return data_; }
    uint8_t *bytes() const { return reinterpret_cast<uint8_t *>(lock_.get()); }
    uint32_t dataOffset() const;   // 86 + name length
    uint32_t extent() const { return lock_.extent(); }
    // The data of a page attribute; null when absent or when the attribute
    // run does not lie within the record or does not add up.
    uint8_t *findAttr(uint32_t tag, int *length = nullptr) const;
private:
    ObLock lock_;
    PageData *data_;
};

// Fills a 494-byte record with the page defaults: type 1000, layer 1, no
// name, letter size 12240 x 15840 twips centred at half, pen width 20, the
// fill kind and colours of the settings, unscaled, and the PageData
// defaults (the settings' default font in the text and field formats).
// The layer state's sets are left empty with layer 1 current: a page made
// from this one gets its own sets.
void pgInitRecord(uint8_t *record);
// The record size its parts give: 494 + name length + attribute bytes.
uint32_t pgRecCalcSize(const uint8_t *record);
// A page record whose stored sizes can be trusted: type 1000, a name of at
// most 32 bytes ending in its terminator, a length equal to 494 + name +
// attribute bytes and within the block, and an attribute run that fills
// its stated size.
BOOL pgIsValid(MemHandle page);
// The 24-byte default pattern new objects get, as the installed hook gives
// it (the fill module installs the blank 8 x 8 pattern, or the pattern
// library's first one when it is 8 x 8); zeros without a hook.
const uint32_t kPgDefaultPatternSize = 24;
void pgInitDefaultPattern(uint8_t *pattern);
void pgSetDefaultPatternHook(void (*hook)(uint8_t *pattern));

// ---- new pages ----------------------------------------------------------------------
// A new 494-byte page from the template, or from the default page of the
// settings when it is null (the defaults when there is none): the head
// copied with its links and no-base-page bit cleared, length 494, layer 1,
// no name; the PageData copied, then byte 45 at least 1, eight bytes of the
// field format zeroed, the default pattern and the layer state made anew,
// the palette, object count, body and extras bytes, attributes, first
// object, side block and memory-only bytes cleared, extras flags 2; the
// template's margins copied and its page flag 64 matched. Null when memory
// fails.
MemHandle pgNewRecord(MemHandle tmpl);
// A new page laid out by the user in the page layout sheet; null (nothing
// left) when it is cancelled, and while no sheet is installed.
MemHandle pgNewRecordByDialog(MemHandle tmpl, const char *caption);
// The page layout sheet (views/pv_layout_sheet.h, pvPageLayoutSheet),
// installed by the views at start-up: nonzero for OK with the page laid
// out. Null uninstalls it.
typedef INT_PTR (*PgLayoutSheetCall)(HWND owner, const char *caption, MemHandle *page,
                                     BOOL create, BOOL *unitChanged);
void pgSetLayoutSheetCall(PgLayoutSheetCall call);

// ---- the page head --------------------------------------------------------------------
// 1 when the page shows the base page (flag bit 31 clear); 1 for no page.
int pgShowsBasePage(MemHandle page);
void pgSetShowsBasePage(MemHandle page, BOOL show);
// Width, height, centre and paper code of one page given to another.
void pgCopySize(MemHandle to, MemHandle from);
COLORREF pgGetColour(MemHandle page);   // white for no page
// The default LOGFONT of the page's text format; FALSE for no page.
BOOL pgGetDefaultFont(MemHandle page, LOGFONTA *font);
// The edges of the page's box in inches; 0 for no page.
int pgGetRectInches(MemHandle page, double *left, double *right, double *top, double *bottom);

// ---- paper sizes ----------------------------------------------------------------------------
struct PgPaperSize {
    uint8_t code;
    const char *name;      // as the paper-size list shows it
    double width, height;  // portrait, inches
};
// The paper sizes in the order of the paper-size list.
const PgPaperSize *pgPaperSizes(int *count);
// Portrait width x height of a paper code in inches (an unknown code, or
// one outside 0..58, is Letter); orientation 2 (landscape) swaps them.
void pagePaperSize(int code, int orientation, double *width, double *height);
// 1 for the label sheet (41) and the custom size (255).
int pgIsSpecialKind(int code);

// The paper a page is printed on, with its grid of one cell (or, for a
// label sheet, its label grid) when a layout is asked for.
#pragma pack(push, 1)
struct PgPrintLayout {
    LabelLayout grid;
    uint16_t reserved;
};
#pragma pack(pop)
static_assert(sizeof(PgPrintLayout) == 34, "a print layout is 34 bytes");
// The paper code and orientation a page prints with: a custom size becomes
// Letter or Legal by its size, every other code is kept with the page's
// orientation. The layout (optional) is zeroed and given the page size as
// one cell, or the label grid for a label sheet.
void pgGetPrintPaper(MemHandle page, int *paper, int *orientation, PgPrintLayout *layout);

// ---- properties -------------------------------------------------------------------------------
// Page properties by id (2..59), each copied in or out at its own width:
// 2 default LOGFONT (60); 4 pen colour (u32, get only); 7 orientation (u8);
// 8 unit (u16); 10 page colour (u32, get only); 13 and 14 the two values
// (i32, set only); 15 paper code (u8, get only); 40 the 86-byte head; 41
// the 408-byte PageData; 42 the three head colours (3 x u32); 43 layer
// (u8); 44 fill kind (u8); 45 flags (u32); 46 default pattern (24); 47
// default gradient (40); 48, 49, 50, 51 the four words (u16); 53 and 54 the
// first two of the four values (i32); 55 text format (122); 56 field
// format (100); 57 shadow style (8); 58 hatch byte (u8); 59 byte 45 (u8; a
// stored 0 reads as the settings value). Storing the whole head or the
// whole PageData keeps what describes the record's own shape and what it
// owns (length, type, name length, links; layer state, attributes, object
// list and blocks). Other ids do nothing. 1, or 0 for no page.
int pgGetProp(MemHandle page, int id, void *value);
int pgSetProp(MemHandle page, int id, const void *value);

// ---- grid -------------------------------------------------------------------------------------
// Grid divisions of the current page of a workspace (0 without one).
int pgGetGridDivisions(HWND workspace);
void pgSetGridDivisions(HWND workspace, int divisions);
// One inch in twips divided by the divisions, rounded, for x and y.
void pgGridCellSize(int divisions, int32_t *x, int32_t *y);
