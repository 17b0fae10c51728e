// Colour-gradient fills (fill kind 3): a closed shape painted from its fill
// colour F to its background colour B in one of nine geometric types
// (model/sh_gradient.h) with plain polygons, rectangles and pies clipped
// to the shape's outline, so gradients print and go into metafiles like any
// other drawing.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include "model/sh_gradient.h"

// Steps drawn at most. The step count is a 16-bit field of a stored block;
// a larger value is drawn as this many, so no block can demand tens of
// thousands of polygons per paint.
const int32_t kFilMaxGradientSteps = 256;

// The record's gradient block when its fill kind is 3 and the block lies
// within the record; else null.
GradientFillBlock *filGetGradient(ObjectRecord *rec);
// The number of colour steps: 16 for a count of 0 or less, at most
// kFilMaxGradientSteps.
int32_t filGradientSteps(const GradientFillBlock *g);

// The quantities every gradient type shares.
struct FilGradColours {
    int32_t n;          // steps
    double fill[3];     // F: red, green, blue
    double back[3];     // B
    double step[3];     // (B - F) / (n + 1) per component
    POINT centre;       // the record's centre moved by the block's offsets
};
void filGradColourSteps(const ObjectRecord *rec, const GradientFillBlock *g, FilGradColours *c);
// F + k d and B - k d, each component truncated towards zero and kept to
// 8 bits.
COLORREF filGradFromFill(const FilGradColours *c, int32_t k);
COLORREF filGradFromBack(const FilGradColours *c, int32_t k);

// Paints the gradient and the outline of a closed shape: the outline polygon
// (curves flattened) clips the drawing; types 1-7 and 9 first fill it with B;
// the type's drawer runs; then, unless the pen, fill and background colours
// are all equal, the outline is drawn with the object's pen and no brush.
// The DC's pen, brush and clip region are put back. Without an outline
// polygon nothing is clipped or filled with B and no outline is drawn.
void fillClosedShape(HDC dc, ObjectRecord *rec);
void fillClosedShape(HDC dc, MemHandle h);

// The drawers (the DC already clipped to the shape). `drawn` is the shape's
// drawn rectangle; what they draw is cut to it (a pixel or two wider).
// Type 1: bands perpendicular to the vector (dx, dy) out to its length on
// both sides of the centre, B outside to F in the middle.
void filGradLinear(HDC dc, const RECT *drawn, const GradientFillBlock *g, const FilGradColours *c);
// The same bands in the fill and background colours by turns.
void filGradLinearStripes(HDC dc, const RECT *drawn, const GradientFillBlock *g,
                          const FilGradColours *c);
// Types 2-7: n copies of the polygon shrinking about the centre, copy k
// scaled by 1 - k q / (n + 1); the last in F (or by turns F and B).
void filGradShrink(HDC dc, const RECT *drawn, const POINT *pts, int16_t count, double reach,
                   const FilGradColours *c, BOOL stripes);
// Type 8: n pie slices about the centre from the block's angle, F + k d;
// each reaches a degree into the next, the last closes the fan exactly.
void filGradConical(HDC dc, const RECT *drawn, const GradientFillBlock *g, const FilGradColours *c);
// Type 9: every other of n pie slices in F over the background.
void filGradRays(HDC dc, const RECT *drawn, const GradientFillBlock *g, const FilGradColours *c);
