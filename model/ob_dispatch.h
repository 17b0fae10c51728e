// Object types and the per-type dispatch.
//
// Behaviour by type comes from the type table (model/ob_types.h): each
// dispatcher looks the object's type up and calls the procedure its owner
// registered; a code nobody registered, or a procedure left null, takes the
// default.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include "resources/resource.h"

// ObjectType codes.
enum : int16_t {
    OBT_LINE = 2,
    OBT_LINE_ALIAS = 3,
    OBT_HLINE = 4,
    OBT_VLINE = 5,
    OBT_SQUARE = 6,
    OBT_RECTANGLE = 7,
    OBT_ROUNDRECT = 8,
    OBT_CIRCLE = 9,
    OBT_ELLIPSE = 10,
    OBT_PIE = 11,
    OBT_ARC = 12,
    OBT_DIAMOND = 13,
    OBT_POLYLINE = 14,
    OBT_POLYGON = 15,
    OBT_POLYHV = 17,
    OBT_BEZIER = 18,
    OBT_CLOSED_CURVE = 19,
    OBT_STAR = 24,
    OBT_POLYGON_ALIAS = 25,
    OBT_BRUSH_LINE = 26,
    OBT_DIMENSION = 31,
    OBT_GRID = 35,
    OBT_CUBE = 36,
    OBT_3D_TEXT = 39,
    OBT_TEXT = 40,
    OBT_ENTRY = 41,
    OBT_LIST_FIELD = 42,
    OBT_BUTTON = 43,
    OBT_CHECKBOX = 44,
    OBT_TABLE = 45,
    OBT_FIELD51 = 51,
    OBT_CALENDAR = 52,
    OBT_REPORT = 54,
    OBT_BOX = 55,
    OBT_RADIO = 57,
    OBT_GROUP_BOX = 58,
    OBT_BITMAP = 60,
    OBT_METAPICT = 61,
    OBT_FIELD65 = 65,
    OBT_IMAGE_FILE = 78,
    OBT_IMAGE = 79,
    OBT_GROUP = 80,
    OBT_TAG = 81,
    OBT_LIBRARY = 82,
    OBT_CHAIN = 84,
    OBT_COMPOSITE85 = 85,
    OBT_COUNTER = 96,
    OBT_ENTRY_REF = 116,
    OBT_EQUATION = 124,
    OBT_XY_PLOT = 134,
    OBT_BAR_CHART = 135,
    OBT_TS_PLOT = 136,
    OBT_PIE_CHART = 137,
    OBT_LABEL = 138,
    OBT_ANCHOR = 199,
    OBT_USER = 210,
    OBT_ENHANCED_MF = 293,
    OBT_NOTE = 297,
    OBT_ARROW = 402,
    OBT_RULE411 = 411,
    OBT_RULE412 = 412,
    OBT_HORZ_RULE = 414,
    OBT_GRID491 = 491,
    OBT_GRID492 = 492,
    OBT_COMPOSITE = 500,
    OBT_COUNTER802 = 802,
    OBT_SHAPE803 = 803,
    OBT_PAGE = 1000,
    OBT_PAGE_INSET = 1006,
    OBT_VERTICAL_TEXT = -40,
};

// Display names are string-table entries 1000 + type.
const UINT kObTypeNameBase = IDS_OBJTYPE_BASE;

// ---- names --------------------------------------------------------------------------
// The display name of a type into a buffer of at least 32 bytes (aliases
// mapped first, -40 "Vertical Text", at most 31 characters); 1 when it is
// not empty, else an empty buffer and 0.
int obGetTypeName(int16_t type, char *buffer);
// Any string-table entry as a new string handle (255 characters at most);
// 0 when missing.
MemHandle obLoadString(HWND window, UINT id);

// ---- type sets (pure functions of the code) -------------------------------------------
BOOL obIsLineType(int16_t t);
BOOL obHasFill(int16_t t);
BOOL obHasFillExt(int16_t t);
BOOL obCanHaveFill(int16_t t);
BOOL obIsChart(int16_t t);
BOOL obIsEntryField(int16_t t);
BOOL obIsFieldType(int16_t t);
BOOL obIsFieldOrText(int16_t t);
BOOL obIsKnownType(int16_t t);
BOOL obIsKnownTypeExt(int16_t t);     // the second-tier known set
BOOL obIsEditableTypeExt(int16_t t);  // the second-tier editable set

// ---- tree queries (the object and everything at firstMember, nextMember, attached) ----
BOOL obTreeHasType(MemHandle h, int16_t type);
BOOL obTreeHasField(MemHandle h);
BOOL obTreeHasLine(MemHandle h);
BOOL obTreeHasClosedShape(MemHandle h);
BOOL obTreeIsGraphicOnly(MemHandle h);   // no field, text or label; 0 for null
BOOL obTreeHasSingleLineField(MemHandle h);
BOOL obTreeHasBitmapOrPattern(MemHandle h);

// ---- per-object tests -----------------------------------------------------------------
BOOL obCanRotate(MemHandle h);
BOOL obIsSingleLineField(MemHandle h);

// ---- dispatchers ----------------------------------------------------------------------
// Recomputes `length` from the contents, stores it and returns it + add.
uint32_t objRecordSize(ObjectRecord *rec, uint32_t add);
// The same where the record's block size is known: a size read from the
// type data is accepted only within it.
uint32_t objRecordSizeIn(ObjectRecord *rec, uint32_t blockSize, uint32_t add);
// The length a record keeps: its size by its type, cut to the block; a
// type whose module does not size it yet (its size answers head and name
// alone; groups and chains excepted, whose size that is) keeps its stored
// length, cut to the block. Stored and returned.
uint32_t objKeptSize(ObjectRecord *rec, uint32_t blockSize);
// What the type's own size procedure answers, stored by none; 0 for a type
// without one.
uint32_t objRecordSizeExt(ObjectRecord *rec, uint32_t blockSize);
// The size a record states for itself, accepted only within its block:
// else its stored length, cut to the block.
uint32_t obSizeWithinBlock(const ObjectRecord *rec, uint32_t size, uint32_t blockSize);
// The type's own draw operation of one record, in logical units; groups,
// chains and pages draw nothing of their own. The drawing rules (hidden
// objects, layers and types, shadows) are obRecDraw's (model/ob_draw.h).
void objDraw(HDC dc, ObjectRecord *rec);
// New handle of 8-byte points relative to the centre and their count; the
// default is the four corners of the box.
MemHandle objGetPoints(ObjectRecord *rec, int16_t *count);
// Rectangle around the real vertices (the box by default); FALSE for null.
BOOL objGetVertexBounds(MemHandle h, RECT *r);
// The type's own rescale to the target box: 1 when it has one (a record it
// moves is not handed back: objScale, model/ob_transform.h, is the full
// operation), 0 for a type without one.
int objScaleExt(MemHandle h, const RECT *target);
// The type's own outline (XOR feedback): 1 when drawn.
int objOutlineExt(HDC dc, ObjectRecord *rec);

// Point lists in page coordinates: the type's points moved by the centre (a
// new handle; 0 when none).
MemHandle obRecGetVertices(ObjectRecord *rec, int16_t *count);
MemHandle obGetVertices(MemHandle h, int16_t *count);
// As the vertices, but the points of round rectangles, circles, ellipses,
// pies, arcs, curves and closed curves are Bezier control points, flattened.
MemHandle obRecGetOutline(ObjectRecord *rec, int16_t *count);
MemHandle obGetOutline(MemHandle h, int16_t *count);
