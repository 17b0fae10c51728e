// The object type table: one record of procedures for each 16-bit type
// code. The folders that own types fill it at start-up, each through one
// registration call (objRegisterTypes, txRegisterTypes, lnkRegisterTypes,
// fldRegisterTypes, tbRegisterTypes, called in that order by
// appRegisterTypes); the model enters its own types (groups, chains, pages,
// calendars and the kinds without a module) itself. The dispatchers of
// ob_dispatch, ob_transform, ob_draw, ob_record and qmf_convert look a type
// up here, one array index per call.
//
// A code nobody registered answers the empty record, and so does every
// procedure a record leaves null: sized to head and name, drawn as
// nothing, its points the box's four corners, its bounds its box, rescaled
// by taking the target as its box, never turned or mirrored beyond its
// centre, no file form (read as an unknown type, "Reading object failed";
// not written, "Unsupported object type").
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include "model/qmf_convert.h"
#include <initializer_list>

// How objRecordSizeIn takes what a type's size procedure answers.
enum ObSizeRule : uint8_t {
    OB_SIZE_STORED = 0,    // stored as the length; 0 stands for head and name
    OB_SIZE_EXACT = 1,     // stored as the length as it is
    OB_SIZE_BOX = 2,       // the module stored it; a size past the block leaves
                           // the block's length in the record (when it holds
                           // head and name), and the size is answered
    OB_SIZE_MODULE = 3,    // the module stored what it could; answered as it is
};

// Flags of a type record.
enum : uint16_t {
    OBTF_BOUNDS_OR_BOX = 0x1,          // bounds answering 0 fall back to the box
    OBTF_SCALE_KEEPS_GRADIENT = 0x2,   // a rescale leaves the gradient block to the module
    OBTF_ROTATE_KEEPS_GRADIENT = 0x4,  // a served rotation leaves the gradient alone
    OBTF_KEEPS_BOX = 0x8,              // a rescale leaves the object as it is
    OBTF_MIRRORS_ROTATION = 0x10,      // mirroring mirrors the rotation angle
    OBTF_BEZIER_OUTLINE = 0x20,        // its points are Bezier control points
    OBTF_POINT_DATA = 0x40,            // its type data open with a count of 8-byte points
    OBTF_FRAMED = 0x80,                // a frame-style word at frameWordAt outlines it
};

struct ObTypeProcs {
    uint16_t flags;
    uint8_t sizeRule;      // ObSizeRule
    uint8_t frameWordAt;   // type-data offset of the frame-style word (OBTF_FRAMED)
    // The record's size by its contents, within blockSize (see sizeRule).
    uint32_t (*recordSize)(ObjectRecord *rec, uint32_t blockSize);
    // A record read from a file (its memory form, `length` bytes, already
    // sized by recordSize) checked against its type: the sizes of its parts,
    // the counts within them, its sizes and coordinates within the page
    // limits (model/ob_record.h, kObMaxExtent). FALSE refuses the object
    // ("Reading object failed"); the rest of the page is kept. Null: no
    // check beyond the size.
    BOOL (*readCheck)(const ObjectRecord *rec, uint32_t length);
    // The type's own drawing of one record, in logical units.
    void (*draw)(HDC dc, ObjectRecord *rec);
    // The XOR outline while dragged; 1 when drawn.
    int (*outline)(HDC dc, ObjectRecord *rec);
    // New handle of points relative to the centre and their count; 0 for
    // the box's corners.
    MemHandle (*points)(ObjectRecord *rec, int16_t *count);
    // The rectangle around the real vertices (OBTF_BOUNDS_OR_BOX: 0 means
    // the box).
    BOOL (*bounds)(MemHandle h, RECT *r);
    // Rescales to the target box: 1 when served, *h then the valid handle
    // (0 when memory failed and the object stayed as it was); 0 when not
    // served (the target becomes the box).
    int (*rescale)(MemHandle *h, const RECT *target);
    // Turns about pt by angle tenths of a degree; 1 when served.
    int (*flipRotate)(MemHandle h, POINT pt, int16_t angle);
    // Mirrors the type data of a locked record about its (moved) centre,
    // left-right when horizontal.
    void (*mirror)(ObjectRecord *rec, BOOL horizontal);
    // Mirrors a record whose mirror works on its handle (its centre already
    // moved); no gradient follows.
    void (*mirrorHandle)(MemHandle h, BOOL horizontal);
    // The rectangle covered when drawn, in place of box and frame.
    void (*drawnRect)(const ObjectRecord *rec, RECT *r);
    // The rectangle of the line ends drawn beyond the box; 0 when none.
    int (*lineEnds)(const ObjectRecord *rec, RECT *r);
    // The shadow drawn in its own way, in place of the record drawn moved
    // in the shadow colour.
    void (*shadow)(HDC dc, ObjectRecord *rec, COLORREF colour, int32_t dx, int32_t dy);
    // The label shown above the box, from the type data; FALSE when none.
    BOOL (*caption)(const uint8_t *data, uint32_t dataBytes, char *text, uint32_t size);
    // Whether fitting keeps the right edge where both edges stay.
    BOOL (*keepsRightEdge)(MemHandle h);
    // What a colour given to the whole object does to its contents
    // (colourId OB_COLOUR_...); `window` is the frame window. Without it a
    // fill colour makes the object filled.
    void (*setColour)(HWND window, MemHandle h, COLORREF colour, int colourId);
    // Whether the record shows a picture file (hidden with the view's
    // image-file code).
    BOOL (*showsPictureFile)(const ObjectRecord *rec);
    // The file forms: memoryType or fileType 0 stand for the registered
    // code; an entry of kind 0 is none. Entered into the converter table
    // (model/qmf_convert.h) with the type.
    QmfConverter files[2];
};

// Enters (or replaces) the type's record; null forgets the type, which is
// then unknown again. The file forms go into the converter table.
void obRegisterType(int16_t code, const ObTypeProcs *procs);
// The same record for several codes.
void obRegisterTypes(std::initializer_list<int16_t> codes, const ObTypeProcs &procs);
// The type's record: the empty record for a code nobody registered.
const ObTypeProcs &obTypeProcs(int16_t code);
BOOL obIsRegisteredType(int16_t code);
// Enters the file forms of every registered type into the converter table
// again, in the order the types were registered (after the table was
// reset to its own entries).
void obAddTypeFileForms();
