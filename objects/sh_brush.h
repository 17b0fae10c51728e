// Brush lines (type 26): a set of freehand strokes, each a poly-Bezier path
// drawn with a width that may swell, taper or ripple along it by a profile,
// in one colour, optionally with a thin centre line in a second colour.
//
// Type data (stored in document files as in memory):
//   +0 u32 byte size of the type data: 12 plus the sizes of all strokes
//   +4 i32 number of strokes
//   +8 i32 index of the stroke selected while editing, -1 for none
//   +12    the strokes, one after another
// A stroke (size-prefixed; the next begins at this one plus its size):
//   +0 u32 byte size, +6 u32 flags (bit 0: also draw the centre line),
//   +10 u32 colour, +14 u32 centre-line colour, +22 i32 width (twips, at
//   least 1), +30 u32 profile kind (100: the stroke's own profile stored
//   inline), +34 u32 profile samples (fewer than 2: 17 for the built-in
//   kinds), +38 u32 byte length of the inline profile, +42 u32 points,
//   +58 the inline profile, then the points: i32 x, y pairs relative to the
//   object's centre, the control points of a poly-Bezier.
//
// Every walk over the strokes trusts nothing it reads: a stroke must lie
// within the type data and the record, be at least 58 bytes, and hold its
// inline profile and points; the first stroke that does not ends the walk,
// so a damaged record draws what comes before it and never loops.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include "objects/sh_lineend.h"
#include <vector>

const uint32_t kBrsHeadSize = 12;      // size, count, selected stroke
const uint32_t kBrsStrokeHead = 58;    // a stroke's fixed part
const uint32_t kBrsMaxSamples = 1000;  // built-in profiles are made of at most this many
const uint32_t kBrsDefaultSamples = 17;
const uint32_t kBrsInlineProfile = 100;

// Offsets within a stroke.
enum : uint32_t {
    BRS_SIZE = 0,
    BRS_FLAGS = 6,
    BRS_COLOUR = 10,
    BRS_CENTRE_COLOUR = 14,
    BRS_WIDTH = 22,
    BRS_KIND = 30,
    BRS_SAMPLES = 34,
    BRS_PROFILE_BYTES = 38,
    BRS_POINTS = 42,
};

// ---- profile kinds ------------------------------------------------------------------------
// The kinds the brush dialogs offer, in their order (21 of them).
int32_t brsKindCount();
// The kind at a position; 0 outside 0..20.
int32_t brsKindAt(int32_t index);
// The position of a kind in that list; -1 when absent.
int32_t brsKindIndex(int32_t kind);
// The built-in profile of a kind with n samples (fewer than 2: 17; more
// than kBrsMaxSamples: that many): sample i at position i / (n - 1).
// False (and no entries) for kind 0 and kinds without a profile.
bool brsBuildProfile(uint32_t kind, uint32_t samples, std::vector<ShStrokeProfileEntry> &out);

// ---- strokes --------------------------------------------------------------------------------
// A checked view of one stroke of a locked record.
struct BrsStroke {
    uint8_t *base;        // the stroke's first byte
    uint32_t size;
    uint32_t flags;
    COLORREF colour;
    COLORREF centreColour;
    int32_t width;
    uint32_t kind;
    uint32_t samples;
    uint32_t profileBytes;
    uint32_t points;      // number of points
    uint8_t *profile;     // inline profile (20-byte entries), unaligned
    uint8_t *pointBytes;  // the points (8 bytes each), unaligned
};
// The type data of a locked brush line (size, count, selected stroke,
// strokes); null when the record cannot hold its 12 bytes.
uint8_t *shBrushLinePart(ObjectRecord *rec);
// The checked strokes of a locked record, in order, up to the first that
// is damaged or the stored count.
std::vector<BrsStroke> brsStrokes(ObjectRecord *rec);
// The first stroke and stroke k (by walking the size fields); null when
// there is none (or the walk ended before it).
uint8_t *shBrushLineFirstStroke(ObjectRecord *rec);
uint8_t *shStrokeAt(ObjectRecord *rec, int32_t k);
// The address of a stroke's points (after its inline profile); null for a
// stroke that does not hold them.
uint8_t *shStrokePoints(ObjectRecord *rec, uint8_t *stroke);
// The stroke's points as POINTs (relative to the object's centre).
std::vector<POINT> brsStrokePoints(const BrsStroke &s);
// The stroke's profile: inline (kind 100) or built in; empty for none.
void brsStrokeProfile(const BrsStroke &s, std::vector<ShStrokeProfileEntry> &out);

// Draws one stroke along the poly-Bezier pts (n control points, logical
// units) with its width, colour and profile; p is the size of a device
// pixel in logical units (1: flattened at full resolution).
void brsDrawStroke(HDC dc, const POINT *pts, int32_t n, int32_t width, COLORREF colour,
                   const BrsStroke &stroke, int32_t p);
// That stroke's bounds as drawn at resolution p; empty for no points.
void brsStrokeBounds(const POINT *pts, int32_t n, int32_t width, const BrsStroke &stroke,
                     int32_t p, RECT *out);

// ---- the object -------------------------------------------------------------------------------
// 86 + name + the type data's size (a size outside the record keeps the
// record's length); stored and returned.
uint32_t shBrushLineSize(ObjectRecord *rec, uint32_t blockSize);
// A brush line read from a file: its head within the page limits, as many
// sound strokes as its count says, each of a width and points within the
// page limits and a built-in profile of at most kBrsMaxSamples samples.
BOOL shBrushLineReadCheck(const ObjectRecord *rec, uint32_t length);
// Every stroke in order at the current pixel size, in the object's DC modes.
void shBrushLineDraw(HDC dc, ObjectRecord *rec);
void shBrushLineDraw(HDC dc, MemHandle h);
// The control points of every stroke as poly-Beziers with the DC's pen.
void shBrushLineOutline(HDC dc, ObjectRecord *rec);
// The union of the strokes' bounds becomes the head's centre and size; when
// the centre moved the strokes' points move back by as much, so the strokes
// stay in place. No strokes: centre and size 0 and an empty rectangle.
void shBrushLineBounds(ObjectRecord *rec, RECT *r);
BOOL shBrushLineBounds(MemHandle h, RECT *r);
// sx, sy = target sides / head sides (1.0 for a head side of 0); each
// stroke's width becomes max(1, round(width (|sx| + |sy|) / 2)) and its
// points (round(x sx), round(y sy)); the target becomes the box, then the
// bounds.
void shBrushLineRescale(MemHandle h, const RECT *target);
// Brush lines keep rotation 0: the strokes' points turn about the point by
// the rotation plus the angle (nothing when that is 0), then the bounds.
void shBrushLineRotate(MemHandle h, POINT pt, int16_t angle);
// Every stroke's points mirrored about the centre (x or y negated).
void shBrushLineFlipH(ObjectRecord *rec);
void shBrushLineFlipV(ObjectRecord *rec);

// The number of strokes the walk finds.
int32_t shBrushLineStrokeCount(MemHandle h);
// Locks the record and returns its i-th stroke, the record staying locked
// (the caller unlocks the handle); for i outside the strokes the record is
// unlocked and null returned.
uint8_t *shBrushLineGetStroke(MemHandle h, int32_t i);
// The i-th stroke's bounds moved by the object's centre; 0 when there is
// no such stroke.
int shStrokeBounds(MemHandle h, int32_t i, RECT *r);
