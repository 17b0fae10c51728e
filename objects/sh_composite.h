// Composite objects (type 500): one source shape repeated by a rule along a
// line, in a grid, around a frame, around a centre, mirrored or in four
// quadrants, each copy turned, scaled and recoloured a step further than
// the one before. Only the source (the composite's attached object, which
// is also copy 0) and the rule are stored; the copies are made afresh each
// time the composite is drawn or measured. The composite's own rotation
// turns the whole pattern about its centre. Type 85 (the older composite)
// shares only the record size.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

#pragma pack(push, 1)
// The rule: the composite's type data, stored in document files unchanged.
struct CompositeData {
    uint32_t size;        // bytes of the type data
    int16_t mode;         // arrangement, 0..8 (see CompositeMode)
    int16_t count;        // copies (0, 4, 5), per row (2), columns (3)
    uint16_t angleStep;   // rotation added per copy, tenths of a degree
    int32_t dx;           // rotation point from the source's centre
    int32_t dy;
    int32_t stepX;        // move per copy (ring radius in mode 5)
    int32_t stepY;
    float scaleX;         // scale per copy (0 or 1: none)
    float scaleY;
    uint32_t penDelta;    // RGB added per copy, each byte modulo 256
    uint32_t fillDelta;
    uint32_t backDelta;
    int16_t rows;         // rows (modes 2 and 3)
    uint32_t flags;       // bit 0: moves grow with the scale
};
#pragma pack(pop)
static_assert(sizeof(CompositeData) == 52, "the composite rule is 52 bytes");
static_assert(offsetof(CompositeData, dx) == 10, "dx at +10");
static_assert(offsetof(CompositeData, scaleX) == 26, "scale x at +26");
static_assert(offsetof(CompositeData, rows) == 46, "rows at +46");
static_assert(offsetof(CompositeData, flags) == 48, "flags at +48");

// Arrangements. In mode 8 dx, dy, step x, step y are the rectangle (left,
// top, right, bottom) the quadrants are placed in, relative to the source's
// centre like the rotation point, so the pattern moves and scales with it.
enum : int16_t {
    CP_LINE = 0,
    CP_SOURCE_ONLY = 1,
    CP_GRID = 2,
    CP_FRAME = 3,
    CP_ROTATE = 4,
    CP_RING = 5,
    CP_MIRROR_H = 6,
    CP_MIRROR_V = 7,
    CP_QUADRANTS = 8,
};

const uint32_t kCpFlagScaleMoves = 1;
// The settings record the composite tools store (the rule and six bytes
// of their own).
const uint32_t kCpSettingsSize = 58;
// No pattern makes more copies than this (the source included).
const int32_t kCpMaxCopies = 32767;
// A copy's centre stays within +- this, its sides below it + 1.
const int32_t kCpCoordLimit = 32767;

// The rule of a locked composite: the bytes it holds, the rest zero.
// FALSE when its type data cannot hold the 52 bytes (it then shows its
// source alone).
BOOL shCompositeData(const ObjectRecord *rec, CompositeData *data);

// 86 + name + the size at type data +0 (a size outside the record keeps
// the record's length); stored and returned. Types 85 and 500.
uint32_t shCompositeSize(ObjectRecord *rec, uint32_t blockSize);
uint32_t shCompositeSize(MemHandle h);

// Turns the working copy (a copy of the source placed as copy n - 1) into
// copy n (n >= 1) by the rule; the handle may change (a scaled shape can
// become another record). 0 when there is no copy n: the pattern ends.
int shCompositePlaceCopy(MemHandle source, MemHandle *work, const CompositeData *data,
                         int32_t n);

// Every copy drawn in order (they cast no shadow of their own; the
// composite's 0x10 flag applies to them).
void shCompositeDraw(HDC dc, ObjectRecord *rec);
// The shadow of all copies: solid in the colour, moved by (dx, dy), the
// colours not stepped.
void shCompositeShadow(HDC dc, ObjectRecord *rec, COLORREF colour, int32_t dx, int32_t dy);
// The union of the copies' drawn rectangles (symmetric about the centre
// when the composite is turned) becomes the composite's box and is returned.
BOOL shCompositeUpdateRect(MemHandle h, RECT *r);
// Fits the pattern to the target: its centre becomes the target's, the
// moves and the rotation point scale by target / box (1.0 for a box side of
// 0); the source keeps its size. Then the box.
void shCompositeRescale(MemHandle h, const RECT *target);
// The centre turns about the point, the pattern (with its source) moves
// with it, the angle is added to the rotation; then the box.
void shCompositeRotate(MemHandle h, POINT pt, int16_t angle);
// After the tree walk mirrored the centre and the source: the moves and
// the rotation point mirror, the angle step becomes 3600 - step; the box.
void shCompositeMirrorH(MemHandle h);
void shCompositeMirrorV(MemHandle h);
