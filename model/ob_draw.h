// Drawing objects: one record, a tree or a list into a device context whose
// mapping is the view mapping (logical units are twips), with hidden
// objects, hidden layers and the view's hidden types left out and shadows
// drawn first; what an object covers when drawn and what must be repainted
// for it; the small DC routines the type modules draw with; an object
// scaled into a rectangle, repeated across one, and the placeholder of a
// missing picture.
//
// A drawing pass (obDrawList) borrows the view's hidden-type list and
// records the window drawn into. A pass may run inside another (a page
// inset draws its page during the outer page's pass): the outer pass's
// state is kept and comes back when the inner one ends.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// ---- drawing ---------------------------------------------------------------------------
// One record: nothing during a pass when its type is hidden in the view (501
// stands for image-file objects not linking a document page), nothing when
// it is hidden (flag 0x20) or on a hidden layer, nothing in the leave-out
// mode when it carries flag 0x4; a shadowed object (0x8) casts its shadow
// first; then the type draws it.
void obRecDraw(HDC dc, ObjectRecord *rec);
// The object, then its firstMember tree, then its nextMember tree (the
// attached object is drawn by its owner's type). A group or chain on a
// hidden layer, or carrying flag 0x4 in the leave-out mode, is left out
// with all its members; the members after it in its owner's chain are not.
void obDraw(HDC dc, MemHandle h);
void obRecDrawTree(HDC dc, ObjectRecord *rec);
// A list along next, first object first, as one pass of the window (0 for
// none: no hidden types). With a clip rectangle only the objects whose
// update rectangle meets it are drawn.
void obDrawList(HWND window, HDC dc, MemHandle first, const RECT *clip);
// The window of the running pass, 0 outside a pass.
HWND obGetDrawWindow();
// The renderer's leave-out mode: while on, objects with flag 0x4 are not
// drawn.
void obSetLeaveOutMode(BOOL on);
BOOL obGetLeaveOutMode();

// Draws the object; with `fit`, scaled (never enlarged) and centred in the
// device rectangle: the viewport extents and origin are changed for the
// call and put back. `reserved` is not read.
void obDrawInRect(HDC dc, MemHandle h, const RECT *deviceRect, int32_t reserved, BOOL fit);
// Placement bits of obDrawTiled: 0 fills the rectangle with rows and
// columns of copies; each bit adds a strip or a copy.
enum : uint16_t {
    OB_TILE_LEFT = 0x1,       // vertical strip along the left edge
    OB_TILE_RIGHT = 0x2,      // vertical strip along the right edge
    OB_TILE_TOP = 0x4,        // horizontal strip along the top edge
    OB_TILE_BOTTOM = 0x8,     // horizontal strip along the bottom edge
    OB_TILE_HCENTRE = 0x10,   // vertical strip through the horizontal centre
    OB_TILE_VCENTRE = 0x20,   // horizontal strip through the vertical centre
    OB_TILE_CENTRE = 0x40,    // one copy centred
};
// Repeats the object across the rectangle by the placement bits: each strip
// starts at the rectangle's edge and repeats the object's box size until it
// passes the far edge. The object (with its tree) is moved for each copy
// and put back where it was. Nothing for an object whose box is empty.
void obDrawTiled(HDC dc, MemHandle h, const RECT *rect, uint16_t placement);
// A white rectangle framed by a grey dotted line and the bitmap
// "missingbmp" of the instance centred in it at its own pixel size.
void obDrawMissingImage(HINSTANCE instance, HDC dc, const RECT *rect);

// ---- routines of the type modules ----------------------------------------------------------
struct ObDCModes {
    int rop;
    int bkMode;
    COLORREF bkColour;
};
// Before a type draws: R2_NOTXORPEN when flag 0x10 is set, an opaque
// background of the object's background colour; the old values are kept.
void obSetDCModes(HDC dc, const ObjectRecord *rec, ObDCModes *saved);
void obRestoreDCModes(HDC dc, const ObDCModes *saved);
// Brush origin at the object's top-left in device units, each coordinate
// reduced to 0..7, so that pattern brushes line up with the object.
void obSetPatternOrigin(HDC dc, const ObjectRecord *rec);
// A polygon filled with a solid brush of the background colour, no outline.
void obFillPolygonBack(HDC dc, const ObjectRecord *rec, const POINT *pts, int16_t n);
// A polygon outlined with the object's pen (style of the line style word,
// drawn pen width, pen colour), not filled.
void obFramePolygon(HDC dc, const ObjectRecord *rec, const POINT *pts, int16_t n);

// ---- covered and repainted rectangles ---------------------------------------------------------
// The rectangle the object covers when drawn: the box grown by the half
// width of what outlines it (lines and closed shapes half their pen, text
// and fields half their frame line; an arrow its outline), then towards the
// shadow by the shadow offset when it casts one.
void obRecGetDrawnRect(const ObjectRecord *rec, RECT *r);
// Installs what gives half the width of a frame style's line (the frames'
// module); without it frames add nothing to the drawn rectangle.
void obSetFrameWidthHook(int32_t (*halfWidth)(uint16_t frameStyle));
// FALSE and an empty rectangle for no handle.
BOOL obGetDrawnRect(MemHandle h, RECT *r);
// What must be repainted for the object: the drawn rectangle grown by the
// selection handle size, then by one device pixel on the left and bottom
// and two on the right; a named entry, list or equation field or counter,
// and an entry reference showing its caption, add their label above the
// box's top-left (its text measured in the interface font on the DC, or on
// a screen DC for none). FALSE and an empty rectangle for no handle.
BOOL obCalcUpdateRect(HDC dc, MemHandle h, RECT *r);
BOOL obGetUpdateRect(MemHandle h, RECT *r);
// Invalidate the object's update rectangle in the window (with the boxes of
// the named fields of its tree when option bit 1 of the settings is set);
// obInvalidate erases, obRedraw repaints at once, the list form does every
// object along next.
void obInvalidateEx(HWND window, MemHandle h, BOOL erase);
void obInvalidate(HWND window, MemHandle h);
void obRedraw(HWND window, MemHandle h);
void obInvalidateList(HWND window, MemHandle first, BOOL erase);
