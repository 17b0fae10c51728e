// The colour-gradient fill block (fill kind 3): 40 bytes behind a closed
// shape's geometry, kept in step with the shape when it is mirrored. (The
// plain name GradientFill is taken by the platform's gradient call.)
#pragma once
#include "support/qmwin.h"

#pragma pack(push, 1)
struct GradientFillBlock {
    int16_t type;        // 1..9: linear, circle, ellipse, square, rectangle, outline,
                         // outline to a size, conical, rays
    int16_t spare2;
    int16_t angle;       // tenths of a degree (types 2-5 rotation, 8-9 start)
    int16_t steps;       // colour steps; 0 or less means 16
    int32_t offsetX;     // gradient centre from the shape's centre, twips
    int32_t offsetY;
    uint16_t spare16;
    uint16_t endPercent; // type 7
    uint32_t flags;      // bit 0: two-colour stripes
    int32_t dx;          // type 1 direction; types 2-5 half width
    int32_t dy;          // type 1 direction; types 2-5 half height
    uint8_t spare32[8];
};
#pragma pack(pop)
static_assert(sizeof(GradientFillBlock) == 40, "a gradient block is 40 bytes");
static_assert(offsetof(GradientFillBlock, offsetX) == 8, "offsets at +8");
static_assert(offsetof(GradientFillBlock, dx) == 24, "vector at +24");

enum : int16_t {
    GRAD_LINEAR = 1, GRAD_CIRCLE = 2, GRAD_ELLIPSE = 3, GRAD_SQUARE = 4, GRAD_RECTANGLE = 5,
    GRAD_OUTLINE = 6, GRAD_OUTLINE_SIZE = 7, GRAD_CONICAL = 8, GRAD_RAYS = 9,
};

// A new block's drawing fields: type 2 (circle), the word at +2 and the angle
// 0, 16 steps, centre offsets 0, vector (0, 0); the other fields are kept.
void filDefaultGradient(GradientFillBlock *g);
// The direction of a linear gradient's vector in tenths of a degree: 0 for
// a zero vector, else atan2(-dy, dx) in degrees times 10, rounded, minus
// 900, brought into 0..3599 (0 points up the page, 900 left, 1800 down).
int32_t filGradientAngle(const GradientFillBlock *g);
// Mirror a block with its shape, left-right or up-down: the centre offset
// on that axis is negated; a linear gradient's direction x (or y) is
// negated; types 3, 4 and 5 take the mirrored angle (left-right 1800 - a,
// or 5400 - a when that is negative; up-down 0 stays, else 3600 - a, or
// 7200 - a when that is negative); other types keep their angle.
void shGradientFlipH(GradientFillBlock *g);
void shGradientFlipV(GradientFillBlock *g);
