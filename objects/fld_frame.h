// Field frames: the 16-bit frame-style word of fields, counters, entry
// references, notes, tables and text frames (frame kind in the low byte,
// line kind in the high byte) with its 32-bit frame value, the text area a
// frame leaves inside it, the shadow, fill and border of a frame, and the
// 3-D bevels of raised and sunken frames and push-button faces.
//
// Everything draws into a DC mapped to twips and takes rectangles in twips.
// Colours come as the object's triple {pen, fill, background}: the pen
// colour draws lines, the background colour is the face of bevels. Every
// routine selects what it needs and restores and deletes it before
// returning.
#pragma once
#include "support/qmwin.h"

// Frame kinds of the low byte.
enum : uint16_t {
    FLD_FRAME_NONE = 0,
    FLD_FRAME_RECT = 1,
    FLD_FRAME_UNDERLINE = 2,
    FLD_FRAME_ROUND = 3,
    FLD_FRAME_ELLIPSE = 4,
    FLD_FRAME_RAISED = 5,
    FLD_FRAME_SUNKEN = 6,
    FLD_FRAME_CELLS_BOXED = 8,
    FLD_FRAME_CELLS_TICKS = 9,
    FLD_FRAME_CELLS_HALF = 10,
    FLD_FRAME_CELLS_QUARTER = 11,
    FLD_FRAME_SIDES = 12,
    FLD_FRAME_ELLIPSE2 = 13,
    FLD_FRAME_ARROW_FIRST = 32,   // 32..37: outlines of arrow shape codes
    FLD_FRAME_ARROW_LAST = 37,
};
// The high byte that marks the double line: two half-point lines, the second
// 40 twips inside the first.
const uint16_t kFldDoubleLine = 3;
const int32_t kFldDoubleInset = 40;
const int32_t kFldBevelWidth = 40;     // both directions, twips
const int32_t kFldTextMargin = 80;     // twips
const int32_t kFldDropButtonPixels = 18;
// Frame flag of fldFrameInnerRectEx: a drop-down button is shown at the right.
const uint32_t kFldFrameDropButton = 0x8;

// Indexes of the colour triple.
enum { FLD_PEN = 0, FLD_FILL = 1, FLD_BACK = 2 };

// ---- measures ------------------------------------------------------------------------
// Half the width of the frame's line, in twips: 0 when the frame kind is 0,
// 40 for the double line, else half the pen width of the line kind (5, 15,
// 20 for line kinds 0, 1, 2; 0 for the 1-unit and null pens).
int32_t fldFrameBorderHalfWidth(uint16_t frameStyle);
// 40 when the high byte is the double line, else 0.
int32_t fldDoubleLineInset(uint16_t frameStyle);
// The corner ellipse of a rounded frame: the value's low 16 bits wide and
// high 16 bits tall, or for value 0 a sixth of the shorter side both ways.
void fldFrameCornerSize(const RECT *rect, uint32_t frameValue, int32_t *width, int32_t *height);
// Shrinks the rectangle in place to the text area inside the frame.
void fldFrameInnerRectEx(RECT *rect, uint16_t frameStyle, uint32_t frameValue,
                         uint32_t frameFlags);
void fldFrameInnerRect(RECT *rect, uint16_t frameStyle, uint32_t frameValue);

// ---- drawing ---------------------------------------------------------------------------
// The frame's shape filled with a solid brush of the colour, no pen.
void fldFillFrame(HDC dc, const RECT *rect, uint16_t frameStyle, uint32_t frameValue,
                  COLORREF colour);
// The frame's shape moved by the current shadow offset, in the shadow colour.
void fldDrawFrameShadow(HDC dc, const RECT *rect, uint16_t frameStyle, uint32_t frameValue);
// The outline with a hollow brush and the pen of the line kind.
void fldDrawFrameBorder(HDC dc, const RECT *rect, uint16_t frameStyle, uint32_t frameValue,
                        const COLORREF colours[3]);
// The same for a text frame turned by an angle in tenths of a degree.
void fldDrawFrameBorderRotated(HDC dc, const RECT *rect, int16_t angle, uint16_t frameStyle,
                               uint32_t frameValue, const COLORREF colours[3]);
// Cell frames (kinds 8 to 11) with the pen already selected: s = the value's
// low 16 bits (cell width), n = its high 16 bits (cells).
void fldDrawCellFrame(HDC dc, const RECT *rect, uint16_t frameStyle, uint32_t frameValue);

// ---- bevels ------------------------------------------------------------------------------
int32_t fldBevelWidth();
// Top-left band in the lightened face, bottom-right in the darkened face,
// outlined with a 1-point pen in the pen colour.
void fldDrawRaisedBevel(HDC dc, const RECT *rect, int32_t dx, int32_t dy,
                        const COLORREF colours[3]);
// The bands the other way round, with 1-point inner shading lines.
void fldDrawSunkenBevel(HDC dc, const RECT *rect, int32_t dx, int32_t dy,
                        const COLORREF colours[3]);
// The face filled, then sunken for kind 6, else raised.
void fldDrawRectBevel(HDC dc, const RECT *rect, int32_t dx, int32_t dy,
                      const COLORREF colours[3], int kind);
void fldDrawRoundBevel(HDC dc, const RECT *rect, uint32_t frameValue, int32_t dx, int32_t dy,
                       const COLORREF colours[3]);
void fldDrawEllipseBevel(HDC dc, const RECT *rect, int32_t dx, int32_t dy,
                         const COLORREF colours[3]);
