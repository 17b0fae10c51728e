// The object record: one movable memory block per drawing object (a line,
// a shape, a text block, a field, an image, a group, a page), holding an
// 86-byte head, the object's name and then the data of its type.
//
// Objects refer to each other only through the seven link handles of the
// head. Each access locks the handle, reads or writes, and unlocks it; a
// handle may move when a record grows, so every operation that can resize a
// record returns the handle that is valid afterwards, and the caller keeps
// that one. Every accessor accepts a null handle: getters give 0, setters do
// nothing. Operations on a locked record (`obRec...`) take the record's
// `length` as the extent of its bytes; the handle forms also check the block.
#pragma once
#include "support/qmwin.h"

// ---- the record head ---------------------------------------------------------
#pragma pack(push, 1)
struct ObjectRecord {
    uint32_t length;        // head + name + type data, in bytes
    int16_t type;           // ObjectType code (model/ob_dispatch.h)
    uint8_t layer;          // layer id
    uint8_t nameLength;     // name bytes with the terminator; 0 = unnamed; at most 32
    int32_t centreX;        // centre of the box, twips
    int32_t centreY;
    int32_t width;          // size of the box
    int32_t height;
    uint16_t rotation;      // tenths of a degree, 0..3599
    uint16_t lineStyle;     // dash kind in bits 0x0F00; bit 15: never thinner than a pixel
    int16_t penWidth;       // logical units
    uint8_t fillKind;       // 0 none, 1 solid, 2 pattern, 3 gradient, 4 hatch
    uint8_t hatch;          // hatch byte of fill kind 4
    uint32_t penColour;     // COLORREFs
    uint32_t fillColour;
    uint32_t backColour;
    uint32_t scaleX;        // 65535 = 1.0
    uint32_t scaleY;
    uint32_t flags;         // ObjectFlags
    uint16_t reservedWord;  // carried unchanged
    MemHandle extraData;    // packet whose first u32 is its own size
    MemHandle prev;         // neighbours in an object list
    MemHandle next;
    MemHandle parent;       // owning group, chain or composite
    MemHandle firstMember;  // first member of a group or chain
    MemHandle nextMember;   // next member of the same owner
    MemHandle attached;     // attached object (composite source, a page's own tree)
};

// The file and clipboard form of the head: the first 58 bytes unchanged
// (with `length` the file record's own), then a presence flag per link.
struct ObjectFileHead {
    uint8_t head[58];
    uint16_t hasExtraData;
    uint16_t hasPrev;
    uint16_t hasNext;
    uint16_t hasParent;
    uint16_t hasFirstMember;
    uint16_t hasNextMember;
    uint16_t hasAttached;
};
#pragma pack(pop)

const uint32_t kObHeadSize = 86;
const uint32_t kObFileHeadSize = 72;
const uint32_t kObMaxNameBytes = 32;     // 31 characters and the terminator
const uint32_t kObPatternFillSize = 24;  // PatternFill block of fill kind 2
const uint32_t kObGradientFillSize = 40; // GradientFill block of fill kind 3
const uint32_t kObScaleOne = 65535;      // scale word meaning 1.0
// 20 inches in twips: the largest box, line and page side the program
// makes; records read from files are held to it (obHeadWithinLimits).
const int32_t kObMaxExtent = 28800;

static_assert(sizeof(ObjectRecord) == 86, "the object head is 86 bytes");
static_assert(offsetof(ObjectRecord, type) == 4, "type at +4");
static_assert(offsetof(ObjectRecord, layer) == 6, "layer at +6");
static_assert(offsetof(ObjectRecord, nameLength) == 7, "name length at +7");
static_assert(offsetof(ObjectRecord, centreX) == 8, "centre at +8");
static_assert(offsetof(ObjectRecord, centreY) == 12, "centre y at +12");
static_assert(offsetof(ObjectRecord, width) == 16, "width at +16");
static_assert(offsetof(ObjectRecord, height) == 20, "height at +20");
static_assert(offsetof(ObjectRecord, rotation) == 24, "rotation at +24");
static_assert(offsetof(ObjectRecord, lineStyle) == 26, "line style at +26");
static_assert(offsetof(ObjectRecord, penWidth) == 28, "pen width at +28");
static_assert(offsetof(ObjectRecord, fillKind) == 30, "fill kind at +30");
static_assert(offsetof(ObjectRecord, hatch) == 31, "hatch byte at +31");
static_assert(offsetof(ObjectRecord, penColour) == 32, "pen colour at +32");
static_assert(offsetof(ObjectRecord, fillColour) == 36, "fill colour at +36");
static_assert(offsetof(ObjectRecord, backColour) == 40, "back colour at +40");
static_assert(offsetof(ObjectRecord, scaleX) == 44, "scale x at +44");
static_assert(offsetof(ObjectRecord, scaleY) == 48, "scale y at +48");
static_assert(offsetof(ObjectRecord, flags) == 52, "flags at +52");
static_assert(offsetof(ObjectRecord, reservedWord) == 56, "reserved word at +56");
static_assert(offsetof(ObjectRecord, extraData) == 58, "extra data at +58");
static_assert(offsetof(ObjectRecord, prev) == 62, "prev at +62");
static_assert(offsetof(ObjectRecord, next) == 66, "next at +66");
static_assert(offsetof(ObjectRecord, parent) == 70, "parent at +70");
static_assert(offsetof(ObjectRecord, firstMember) == 74, "first member at +74");
static_assert(offsetof(ObjectRecord, nextMember) == 78, "next member at +78");
static_assert(offsetof(ObjectRecord, attached) == 82, "attached at +82");
static_assert(sizeof(MemHandle) == 4, "link handles are 4 bytes");
static_assert(sizeof(ObjectFileHead) == 72, "the file head is 72 bytes");
static_assert(offsetof(ObjectFileHead, hasExtraData) == 58, "presence flags from +58");
static_assert(offsetof(ObjectFileHead, hasFirstMember) == 66, "first member flag at +66");
static_assert(offsetof(ObjectFileHead, hasAttached) == 70, "attached flag at +70");
static_assert(sizeof(POINT) == 8, "points are two i32");

// ObjectFlags.
enum : uint32_t {
    OBF_LEAVE_OUT = 0x4,          // skipped while the renderer's leave-out mode is on
    OBF_SHADOW = 0x8,
    OBF_NOTXOR = 0x10,            // drawn with R2_NOTXORPEN
    OBF_HIDDEN = 0x20,
    OBF_LOCKED = 0x80,
    OBF_SELECT_PRESS = 0x100,     // read by the selection tool on a press
    OBF_TEXT_FIT = 0x200,         // text box fitting and the in-place editor
    OBF_NO_POINT_EDIT = 0x800,    // handle tools edit points only while clear
    OBF_NO_ROTATE = 0x1000,
    OBF_CURVED_TEXT = 0x4000,
    OBF_END_SYMBOL = 0x10000,     // line-end symbol at the last point
    OBF_START_SYMBOL = 0x20000,   // line-end symbol at the first point
    OBF_ALL_CHORDS = 0x40000,     // closed shapes: every chord between vertices
    OBF_NO_BASE_PAGE = 0x80000000u,  // page records: base page not shown
};

// Colour ids of obSetColour.
enum : int {
    OB_COLOUR_FILL = 6,
    OB_COLOUR_BACK = 10,
    OB_COLOUR_PEN = 14,
};

// ObjectHeadField ids of obSetHeadField.
enum : int {
    OBH_LAYER = 1,
    OBH_CENTRE_X = 2,
    OBH_CENTRE_Y = 3,
    OBH_WIDTH = 4,
    OBH_HEIGHT = 5,
    OBH_ROTATION = 6,
    OBH_LINE_STYLE = 7,
    OBH_PEN_WIDTH = 8,
    OBH_FILL_KIND = 9,
    OBH_HATCH = 10,
    OBH_COLOURS = 11,   // pen, fill and back colour from three u32
    OBH_FILL_COLOUR = 12,
    OBH_BACK_COLOUR = 13,
    OBH_PEN_COLOUR = 14,
    OBH_SCALE_X = 15,
    OBH_SCALE_Y = 16,
    OBH_FLAGS = 17,
};

// Locks an object record for the guard's life. False (and no record) for a
// null or dead handle or a block too small to hold the head.
class ObLock {
public:
    explicit ObLock(MemHandle h);
    ObjectRecord *get() const { return rec_; }
    ObjectRecord *operator->() const { return rec_; }
    explicit operator bool() const { return rec_ != nullptr; }
    // Bytes of the record that may be read: `length`, never past the block.
    uint32_t extent() const;
    uint32_t blockSize() const { return block_; }
private:
    MemLock<ObjectRecord> lock_;
    ObjectRecord *rec_;
    uint32_t block_;
};

// ---- creation, size and life ---------------------------------------------------
// A new zero-filled record of `size` bytes (at least the head) with length =
// size; 0 when memory fails (the allocator has shown its message).
MemHandle obNewRecord(uint32_t size);
// The record's size recomputed by its type and stored; dflt for no handle.
uint32_t obCalcSize(MemHandle h, uint32_t dflt);
// start + the extra data's size + the sizes of the trees at firstMember,
// nextMember and attached + the object's own recomputed size.
uint32_t obRecTreeSize(ObjectRecord *rec, uint32_t start);
uint32_t obTreeSize(MemHandle h, uint32_t start);
// Grows or shrinks a record to `size` bytes (the head at least) and stores
// the length. When the handle moved, every link that named the old handle
// (list neighbours, the owner's member chain or attached link, the members'
// and the attached object's parent) is set to the new one and the active
// workspace relinks its page list and selection. 0 on failure, the old
// handle then still valid.
MemHandle obResize(MemHandle h, uint32_t size);
// After a record's block moved from `old` to `now` (a grow elsewhere):
// every link that named the old handle is set to the new one and the active
// workspace relinks its page list and selection. Nothing when they are equal.
void obRelinkMoved(MemHandle old, MemHandle now);
// What a workspace keeps of a moved handle follows it through the call the
// views install at start-up (views/ws_relink.h, wsFollowMovedObject); null
// uninstalls it.
typedef void (*ObFollowMovedCall)(HWND workspace, MemHandle old, MemHandle now);
void obSetFollowMovedCall(ObFollowMovedCall call);
// Frees the extra data, the trees at firstMember, nextMember and attached,
// then the record; a page record goes through the page list release.
void obFreeTree(MemHandle h);
// Deep copy: extra data duplicated, the member chain copied with the copy as
// parent, the attached tree with none, nextMember copied with `parent`; the
// copy's parent is `parent`; prev and next keep the source's values and are
// the caller's to relink. 0 when memory fails (nothing is left allocated).
MemHandle obCopyTree(MemHandle h, MemHandle parent);
// The record alone (links as in the source), sized by its type first.
MemHandle obRecDup(ObjectRecord *rec);
MemHandle obDup(MemHandle h);
void obRecClearLinks(ObjectRecord *rec);
// The file form of one record: the head's first 58 bytes with length = this
// form's length, seven presence flags, the name, the type data unchanged;
// 14 bytes shorter than the record. A new handle; 0 on failure.
MemHandle obMakeFileRecord(MemHandle h);

// ---- names ----------------------------------------------------------------------
// The name becomes the text cut to 31 characters; an empty text removes it.
// The type data moves with the name. Returns the valid handle (0 on failure,
// the old handle unchanged).
MemHandle obSetName(MemHandle h, const char *text);
// Installs the call made after a name changed (the object-name list
// refreshes itself); null for none.
void obSetRenameHook(void (*hook)());
// Copies the name into a buffer of at least 32 bytes; empty when unnamed.
void obGetName(MemHandle h, char *buffer);
MemHandle obGetNameHandle(MemHandle h);

// ---- geometry accessors ------------------------------------------------------------
uint32_t obDataOffset(const ObjectRecord *rec);          // 86 + nameLength
uint8_t *obRecData(ObjectRecord *rec);                    // the type data
void obGetCentre(MemHandle h, POINT *centre);
int32_t obGetWidth(MemHandle h);
int32_t obGetHeight(MemHandle h);
int16_t obGetType(MemHandle h);
uint8_t obGetFillKind(MemHandle h);
void obRecSetRect(ObjectRecord *rec, const RECT *r);
void obSetRect(MemHandle h, const RECT *r);
void obRecGetLocalRect(const ObjectRecord *rec, RECT *r);
void obRecGetRect(const ObjectRecord *rec, RECT *r);
// Page limits of what a file states: a size (a width, a height, a font
// height, a line width) within kObMaxExtent either way; a coordinate (a
// centre, a point) within twice that, so that a page of the largest size
// and as much beside it are reachable.
BOOL obSizeWithinLimits(int64_t size);
BOOL obCoordWithinLimits(int64_t coord);
// The head's centre and box size within those limits.
BOOL obHeadWithinLimits(const ObjectRecord *rec);
void obGetRect(MemHandle h, RECT *r);
void obGetTopLeft(MemHandle h, POINT *pt);
// Union of the boxes along `next`; 0 (and an empty rectangle) for no list.
BOOL obGetListRect(MemHandle first, RECT *r);
void obRecAddToCentre(ObjectRecord *rec, int32_t dx, int32_t dy);
void obRecMoveBy(ObjectRecord *rec, int32_t dx, int32_t dy);
// Two i32 at the start of the type data (text objects); nothing when the
// record has no room for them.
void obSetDataOrigin(MemHandle h, int32_t x, int32_t y);
// Bytes of the fill block of a fill kind: 24 pattern, 40 gradient, else 0.
uint32_t obFillDataSize(uint8_t fillKind);
// The fill block of a closed shape, or null when its type has none or the
// block would not lie within the record.
uint8_t *obGetFillData(ObjectRecord *rec);
uint8_t *obGetPatternData(ObjectRecord *rec);   // only for fill kind 2
int32_t obGetDrawnPenWidth(const ObjectRecord *rec);

// ---- head fields by id -------------------------------------------------------------
// `value` points to a u32 (narrowed to the field), or to three u32 for
// OBH_COLOURS. Unknown ids do nothing.
void obSetHeadField(MemHandle h, int id, const void *value);
// The same on the object and everything at firstMember, nextMember, attached.
void obTreeSetHeadField(MemHandle h, int id, const void *value);

// ---- colours -----------------------------------------------------------------------
void obSetColour(MemHandle h, int colourId, COLORREF colour);
void obSetColourLinked(MemHandle h, int colourId, COLORREF colour);
void obSetFillColourLinked(MemHandle h, COLORREF colour);
void obSetBackColourLinked(MemHandle h, COLORREF colour);
void obSetPenColour(MemHandle h, COLORREF colour);

// ---- fills ---------------------------------------------------------------------------
// Gives a closed shape fill kind 2 with the 24-byte pattern block; the record
// grows, so the handle is passed by reference and updated. Non-zero when the
// block differs from the old bytes; 0 when equal, when the type takes no fill
// or when the record cannot hold the block (then nothing changes).
int obSetPatternFill(MemHandle *h, const void *block);
// The same over the tree (firstMember, nextMember, attached); 1 when any
// object changed.
int obTreeSetPatternFill(MemHandle *h, const void *block);
void obSetFillKind(MemHandle h, uint8_t kind);
void obTreeSetFillKind(MemHandle h, uint8_t kind);
void obMakeFilled(MemHandle h);

// ---- flags -----------------------------------------------------------------------------
void obSetFlags(MemHandle h, uint32_t mask, BOOL on);
void obTreeSetFlags(MemHandle h, uint32_t mask, BOOL on);   // firstMember, nextMember
void obSetFlagsTree(MemHandle h, uint32_t mask, BOOL on);   // and attached
void obClearTextFlagTree(MemHandle h);
void obSetHidden(MemHandle h, BOOL on);
void obTreeSetHidden(MemHandle h, BOOL on);
BOOL obIsHidden(MemHandle h);     // 1 for a null handle
BOOL obIsLocked(MemHandle h);
BOOL obTestFlag100(MemHandle h);
BOOL obTestFlag200(MemHandle h);
BOOL obTestFlag4000(MemHandle h);
BOOL obTestNoFlag800(MemHandle h);
void obSetNoRotate(MemHandle h, BOOL allow);
void obSetFlag4000(MemHandle h, BOOL on);
uint32_t obGetFlags(MemHandle h);

// ---- arrows ----------------------------------------------------------------------------
const uint32_t kObArrowDataSize = 94;
// New arrows are made by the arrow module (objects/sh_arrow.h).
// Turns an arrow into a polygon (type 15) of its seven outline points in the
// same handle; 0 when it is not an arrow or memory fails.
MemHandle obArrowToPolygon(MemHandle h);
