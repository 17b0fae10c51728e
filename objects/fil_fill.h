// Fills of closed shapes: the fill kinds, the 24-byte pattern block and the
// hatch byte; pattern brushes and their bitmaps; the hatch fill; and the one
// drawing contract every closed shape follows (solid, pattern, gradient and
// hatch fills, then the outline with the object's pen).
//
// A shape's fill block (a PatternFill for fill kind 2, a GradientFillBlock
// for kind 3, model/sh_gradient.h) lies right behind the type's own
// geometry in the record (obGetFillData, model/ob_record.h) and is stored
// in document files with it.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include <functional>

// FillKind: how a closed shape is filled. Any other value is hollow.
enum : uint8_t {
    FILL_HOLLOW = 0,     // the outline alone
    FILL_SOLID = 1,      // the fill colour
    FILL_PATTERN = 2,    // PatternFill: 0 bits the fill colour, 1 bits the background
    FILL_GRADIENT = 3,   // GradientFillBlock, objects/fil_gradient.h
    FILL_HATCH = 4,      // lines of the fill colour over the background colour
};

#pragma pack(push, 1)
// An 8 x 8 one-bit pattern. Rows top first, each padded to a 16-bit word:
// byte 2r holds row r, its leftmost pixel in the most significant bit.
struct PatternFill {
    uint32_t size;      // always 24
    uint16_t width;     // pixels (8)
    int16_t height;     // rows (8)
    uint8_t rows[16];
};
#pragma pack(pop)
static_assert(sizeof(PatternFill) == 24, "a pattern block is 24 bytes");
static_assert(offsetof(PatternFill, rows) == 8, "the rows start at +8");

// Hatch styles: the low four bits of the hatch byte. 6..15 draw no lines.
enum : uint8_t {
    FIL_HATCH_HORIZONTAL = 0,
    FIL_HATCH_VERTICAL = 1,
    FIL_HATCH_FDIAGONAL = 2,
    FIL_HATCH_BDIAGONAL = 3,
    FIL_HATCH_CROSS = 4,
    FIL_HATCH_DIAGCROSS = 5,
};

// ---- hatch byte ------------------------------------------------------------------------
uint8_t filHatchStyle(uint8_t hatch);
// Line spacing in points, 1..15; the nibble 0 reads as 6.
int32_t filHatchSpacing(uint8_t hatch);
// style | spacing << 4, each kept to its four bits.
uint8_t filMakeHatchByte(uint8_t style, uint8_t spacingPoints);
// The spacing in logical units for the current view: max(2, v / p) x p with
// v the spacing in twips and p the logical size of one device pixel, so
// lines fall on whole pixels and are never closer than 2 pixels.
int32_t filHatchStep(uint8_t hatch);

// ---- patterns --------------------------------------------------------------------------
// The blank pattern: size 24, 8 x 8, every pixel the background.
void filDefaultPattern(PatternFill *p);
// Whether the block is an 8 x 8 pattern. The program makes no other size,
// and a block holds only 16 bytes of rows, so any other size is taken as
// the blank pattern and its rows are not read.
BOOL filPatternIs8x8(const PatternFill *p);
// True when every pixel shows the background (all row bytes 0xFF), and for
// any pattern that is not 8 x 8. A blank pattern counts as no pattern chosen.
BOOL filPatternIsBlank(const PatternFill *p);
// A new pattern brush (the caller deletes it): 0 bits in colour0, 1 bits in
// colour1. Shape drawers pass the fill and background colours, samples black
// and white. Null when it cannot be made.
HBRUSH filPatternBrush(HDC dc, const PatternFill *p, COLORREF colour0, COLORREF colour1);
// A new memory handle with a packed 1-bit device-independent bitmap of the
// pattern: a 40-byte BITMAPINFOHEADER (width, height, 1 plane, 1 bit), a
// two-entry colour table (black, white), then the rows bottom-up, each
// padded to 32 bits. 0 for no pattern or when memory fails.
MemHandle filPatternToDib(HDC dc, const PatternFill *p);
// Bytes before a packed DIB's bits: its header and colour table; 0 when the
// header is not one this program reads.
uint32_t filDibBitsOffset(const BITMAPINFOHEADER *h);
// A pattern brush of a packed 1-bit DIB with colour-table entry 0 shown as
// colour0 and entry 1 as colour1 (the DIB's own table is left unchanged).
// Null for no handle or a bitmap that does not fit its block.
HBRUSH filRecolorPatternBrush(HDC dc, MemHandle dib, COLORREF colour0, COLORREF colour1);

// ---- drawing closed shapes -----------------------------------------------------------------
// Fills and outlines a closed shape by its fill kind, with the object's DC
// modes in force: kinds 3 and 4 are drawn whole by fillClosedShape and
// fillByClipRegion; otherwise the brush (solid; the pattern with its origin
// on the shape's top-left corner; else none) and the pen of the object's
// line style, drawn width and colour are selected, `figure` draws the shape
// with them, and both are selected back and deleted.
void filDrawClosedShape(HDC dc, ObjectRecord *rec, const std::function<void(HDC)> &figure);
// The hatch fill (kind 4): the outline polygon filled with the background
// colour, hatch lines of the fill colour across the drawn rectangle clipped
// to it, then the outline with the object's pen unless the pen, fill and
// background colours are all equal. Nothing without an outline polygon.
void fillByClipRegion(HDC dc, ObjectRecord *rec);
void fillByClipRegion(HDC dc, MemHandle h);

// While alive, drawing is clipped to the polygon (logical points) as well as
// to the DC's own clip; the DC's clip region comes back at the end. Nothing
// is clipped on a device without clipping capability (unless objects are
// being drawn into a metafile) or for no points.
class FilPolygonClip {
public:
    FilPolygonClip(HDC dc, const POINT *pts, int16_t n);
    ~FilPolygonClip();
    FilPolygonClip(const FilPolygonClip &) = delete;
    FilPolygonClip &operator=(const FilPolygonClip &) = delete;
    bool clipped() const { return active_; }
private:
    HDC dc_;
    HRGN saved_;   // the DC's clip region before, or null when it had none
    bool active_;
};
