// Page rendering: one page drawn into a device context whose mapping is the
// view mapping, in a fixed order: background, frame, base page, the page's
// own tree, its objects, page number; with the page's shadow style, layer
// state and palette in force while it draws, the previous ones restored
// afterwards. Also the page background record (page attribute 0x40000000).
//
// Drawing never changes the page: a background picture that cannot be
// loaded keeps its name in the record and the page colour is drawn instead.
#pragma once
#include "support/qmwin.h"

// ---- the background record ------------------------------------------------------------------
enum : uint16_t {
    PG_BACKGROUND_ID = 208,
    PG_BACKGROUND_PICTURE = 12,   // a picture file whose name follows
    PG_BACKGROUND_OBJECT = 22,    // an object of the page whose name follows
};
// Where the background object is drawn.
enum : uint16_t {
    PG_BGAREA_PAGE = 0,           // any other value too
    PG_BGAREA_INSET = 1,          // the page inset by the printer margins
    PG_BGAREA_MARGINS = 2,        // the margin rectangle
    PG_BGAREA_OBJECT = 3,         // the picture object's own rectangle
    PG_BGAREA_EXPLICIT = 4,       // the rectangle of the record
};
#pragma pack(push, 1)
struct PageBackground {
    uint32_t length;      // 42 + nameBytes
    uint16_t id;          // 208
    uint16_t kind;        // PG_BACKGROUND_PICTURE or PG_BACKGROUND_OBJECT
    uint16_t tiling;      // 0: drawn in place of the colour fill; else obDrawTiled bits over the fill
    uint16_t spare;
    uint32_t nameBytes;
    uint16_t area;        // PG_BGAREA_*
    int32_t rect[4];      // explicit rectangle: left, top, right, bottom
    uint8_t padding[8];
    // the name follows (nameBytes bytes)
};
#pragma pack(pop)
static_assert(sizeof(PageBackground) == 42, "the background record's fixed part is 42 bytes");
// Longest name a background record may carry.
const uint32_t kPgBackgroundMaxName = MAX_PATH;

// A new record (42 + n bytes, area 0, no rectangle) with the first n bytes
// of the name (a name shorter than n is padded with zeros). 0 when n is
// beyond the longest name or memory fails.
MemHandle pgNewBackground(uint16_t kind, uint16_t tiling, uint16_t spare, const char *name,
                          uint32_t n);
// A copy of the file name of a picture record (kind 12), as a new string
// handle; 0 for other kinds, an empty name or a damaged record.
MemHandle pgGetBackgroundFile(MemHandle record);
// 1 when the bytes hold a whole background record: at least 42 bytes, id
// 208, a name length within the longest name that, with the fixed part,
// fits in the bytes given and equals the stored length.
int pgIsValidBackground(const void *bytes, uint32_t size);
// A copy of the page's background record; 0 when it has none or the stored
// one is not valid.
MemHandle pgGetBackground(MemHandle page);
// Stores (or with 0 removes) the page's background record; a record that
// is not valid is refused (0, page unchanged). The page valid afterwards.
MemHandle pgSetBackground(MemHandle page, MemHandle record);
// The name of a record as text (at most size - 1 bytes, stopping at a zero
// byte); its length, 0 for a damaged record.
int pgGetBackgroundName(MemHandle record, char *buffer, int size);

// ---- drawing ----------------------------------------------------------------------------------
// The background: the page's background object (a picture file loaded for
// the drawing, or the page's object of the record's name) drawn tiled over
// the record's area; the page colour fills the page first when there is no
// record, when the tiling bits are not 0 or when no object was found -
// except a white page when printing or when white is skipped. 1 when
// something was drawn.
int pgDrawBackground(HWND workspace, HDC dc, MemHandle page, BOOL skipWhite, BOOL printing);
// Installs what loads a background's picture file (the name as the record
// holds it, resolved against the workspace's document) into a new object;
// without it a picture record draws as no object was found.
void pgSetPictureLoader(MemHandle (*loader)(HWND workspace, const char *name));
// The tree attached to the page record.
void pgDrawOwnObjects(HDC dc, MemHandle page);
// The whole page (number: the page's number, 1 for the first page). With
// both band printing and printing set nothing is drawn. When printing the
// renderer leaves out objects marked so, and the background is drawn only
// when the document prints backgrounds. Returns 1.
int pgRender(HWND workspace, HDC dc, MemHandle form, MemHandle page, int number, const RECT *clip,
             BOOL skipWhite, BOOL drawFrame, BOOL drawNumber, BOOL bandPrint, BOOL printing);
// pgRender with the page number drawn and band printing off.
int pgRenderWithNumber(HWND workspace, HDC dc, MemHandle form, MemHandle page, int number,
                       const RECT *clip, BOOL skipWhite, BOOL drawFrame, BOOL printing);
// The document's base page under a page: its own tree and objects with its
// own shadow style, layer state and palette. On a mirrored page of a
// facing-pages document (by the page index kept in the base page) objects
// with flag 0x80000 are drawn mirrored about the page's width.
void pgRenderBasePage(HWND workspace, HDC dc, MemHandle form, const RECT *clip, MemHandle page,
                      BOOL bandPrint, BOOL printing);
