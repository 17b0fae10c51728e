// Box objects (type 55).
#include "tests/support/kit.h"
#include "objects/sh_boxobj.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "model/ob_shadow.h"
#include "model/ob_transform.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// A box of 64 fixed bytes and a tail of `tail` bytes over the rectangle.
MemHandle boxObject(RECT r, int16_t tail = 10, uint32_t fixed = 64)
{
    MemHandle h = obNewRecord(kObHeadSize + 64 + (uint32_t)std::max<int16_t>(tail, 0));
    ObLock rec(h);
    rec->type = OBT_BOX;
    rec->scaleX = rec->scaleY = kObScaleOne;
    rec->fillColour = kRed;
    rec->penColour = RGB(0, 0, 0);
    rec->penWidth = 15;
    obRecSetRect(rec.get(), &r);
    memcpy(obRecData(rec.get()), &fixed, 4);
    memcpy(obRecData(rec.get()) + 62, &tail, 2);
    return h;
}

}  // namespace

TEST(BoxObject, SizeIsTheFixedPartAndTheTailWithinTheBlock)
{
    struct Case { const char *what; int16_t tail; uint32_t fixed; uint32_t size; } cases[] = {
        {"fixed part and tail", 10, 64, 86 + 64 + 10},
        {"no tail", 0, 64, 86 + 64},
        {"tail past the block", 500, 64, 0},
        {"fixed part past the block", 10, 5000, 0},
        {"fixed part without room for the tail count", 10, 8, 0},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        MemHandle h = boxObject(RECT{0, 0, 1000, 1000}, c.tail > 100 ? 10 : c.tail, c.fixed);
        if (c.tail > 100) {
            ObLock r(h);
            memcpy(obRecData(r.get()) + 62, &c.tail, 2);
        }
        uint32_t stored;
        {
            ObLock r(h);
            stored = r->length;
        }
        EXPECT_EQ(c.size ? c.size : stored, shBoxObjSizeH(h));
        EXPECT_EQ(c.size ? c.size : stored, obCalcSize(h, 0));
        utFreeHandle(h);
    }
}

TEST(BoxObject, ItsShadowIsPaintedOverByItsFill)
{
    qmtest::Dib dib(100, 100);
    dmSetZoomDC(dib.dc(), 100);
    ShadowStyle style = {};
    obSetShadowStyle(&style);   // the default: 100 twips right and down, grey
    MemHandle h = boxObject(RECT{150, 150, 1350, 1350});
    {
        ObLock r(h);
        r->flags |= 0x08;
    }
    obDraw(dib.dc(), h);
    EXPECT_EQ(0, dib.count(obGetShadowColour())) << "the shadow lies inside the box";
    EXPECT_EQ(kRed, dib.pixel(50, 50));
    EXPECT_EQ(kWhite, dib.pixel(95, 95)) << "nothing beyond the box";
    // An inverted rescale stores a positive size.
    RECT inverted = {2000, 2000, 1000, 1500};
    shBoxObjRescale(h, &inverted);
    {
        ObLock r(h);
        EXPECT_EQ(1000, r->width);
        EXPECT_EQ(500, r->height);
    }
    utFreeHandle(h);
}
