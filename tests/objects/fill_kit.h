// Helpers of the shape and fill tests: box shapes built in pixels of the
// test mapping (96 pixels to the inch at 100 percent: 15 twips a pixel),
// fill blocks put into them, and a DIB mapped like a page view.
#pragma once
#include "tests/model/ob_kit.h"
#include "model/ob_draw.h"
#include "objects/fil_fill.h"
#include "objects/fil_gradient.h"
#include "objects/sh_box.h"
#include "support/dm_map.h"
#include <string.h>

namespace filltest {

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0), kYellow = RGB(255, 255, 0), kGreen = RGB(0, 255, 0);

// Twips of `pixels` device pixels at the test mapping.
inline int32_t px(int32_t pixels) { return pixels * 15; }

// A box shape with its box given in pixels, filled, with a black outline of
// the thinnest pen (pen width 0).
inline MemHandle box(int16_t type, int l, int t, int r, int b, uint8_t fillKind = FILL_SOLID,
                     COLORREF fill = kRed, COLORREF back = kYellow)
{
    MemHandle h = obtest::make(type, px(l), px(t), px(r), px(b));
    ObLock rec(h);
    rec->fillKind = fillKind;
    rec->fillColour = fill;
    rec->backColour = back;
    rec->penColour = kBlack;
    rec->layer = 1;
    return h;
}

// The record grown to hold the fill block of its kind, the block copied in;
// returns the valid handle.
inline MemHandle withFillBlock(MemHandle h, uint8_t kind, const void *block, uint32_t size)
{
    ObLock(h)->fillKind = kind;
    MemHandle g = obResize(h, obCalcSize(h, 0));
    ObLock r(g);
    memcpy(obGetFillData(r.get()), block, size);
    return g;
}

inline MemHandle withGradient(MemHandle h, const GradientFillBlock &g)
{
    return withFillBlock(h, FILL_GRADIENT, &g, sizeof g);
}

inline MemHandle withPattern(MemHandle h, const PatternFill &p)
{
    return withFillBlock(h, FILL_PATTERN, &p, sizeof p);
}

inline GradientFillBlock gradient(int16_t type, int16_t steps, int32_t dx = 0, int32_t dy = 0,
                                  int16_t angle = 0)
{
    GradientFillBlock g = {};
    g.type = type;
    g.steps = steps;
    g.dx = dx;
    g.dy = dy;
    g.angle = angle;
    return g;
}

// An 8 x 8 pattern whose row r is rows[r].
inline PatternFill pattern(const uint8_t rows[8])
{
    PatternFill p;
    filDefaultPattern(&p);
    for (int r = 0; r < 8; ++r) {
        p.rows[2 * r] = rows[r];
        p.rows[2 * r + 1] = 0;
    }
    return p;
}

// A white DIB with the view mapping of the tests applied.
class Page : public qmtest::Dib {
public:
    Page(int w, int h) : qmtest::Dib(w, h) { dmSetMapping(dc()); }
    void draw(MemHandle h) { obDraw(dc(), h); }
    int in(COLORREF c, int l, int t, int r, int b) const
    {
        RECT box = {l, t, r, b};
        return count(c, box);
    }
};

// Fixture: the mapping at its start-up values, no leaked blocks.
class FillTest : public ::testing::Test {
protected:
    void SetUp() override { dmResetModule(); }
    void TearDown() override { EXPECT_EQ(0, live.leaked()) << "memory handle leaked"; }
    obtest::LiveCount live;
};

}  // namespace filltest
