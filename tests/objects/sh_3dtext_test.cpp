// 3D Text objects (type 39): drawing through a temporary text object, and
// bounds.
#include "tests/support/kit.h"
#include "objects/sh_3dtext.h"
#include "commands/t3d_text.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "text/tx_draw_object.h"
#include "text/tx_object.h"
#include <string.h>
#include <string>

namespace {

MemHandle makeTextObject(HWND, const RECT *frame, const void *header, const char *text)
{
    return txNewTextObject(frame, nullptr, static_cast<const TextHeader *>(header), text);
}

// A 3D Text centred on (1500, 750) in Arial of height -240 twips, with the
// text as its tag-1 field (none for null) and the shadow depths.
MemHandle text3d(const char *text, int32_t dx = 0, int32_t dy = 0)
{
    uint32_t field = text ? 8 + (uint32_t)strlen(text) + 1 : 0;
    MemHandle h = obNewRecord(kObHeadSize + 126 + field);
    ObLock r(h);
    r->type = OBT_3D_TEXT;
    r->scaleX = r->scaleY = kObScaleOne;
    r->penColour = RGB(0, 0, 0);
    RECT box = {1000, 500, 2000, 1000};
    obRecSetRect(r.get(), &box);
    uint8_t *d = obRecData(r.get());
    uint32_t size = 126 + field, mask = text ? 1 : 0, count = text ? 1 : 0;
    memcpy(d, &size, 4);
    memcpy(d + 14, &dx, 4);
    memcpy(d + 18, &dy, 4);
    LOGFONTA lf = {};
    lf.lfHeight = -240;
    lf.lfWeight = FW_NORMAL;
    strcpy(lf.lfFaceName, "Arial");
    memcpy(d + 30, &lf, sizeof lf);
    memcpy(d + 114, &mask, 4);
    memcpy(d + 118, &count, 4);
    memcpy(d + 122, &field, 4);
    if (text) {
        uint32_t tag = 1;
        memcpy(d + 126, &field, 4);
        memcpy(d + 130, &tag, 4);
        memcpy(d + 134, text, strlen(text) + 1);
    }
    return h;
}

RECT bounds(MemHandle h)
{
    RECT r = {};
    EXPECT_EQ(1, sh3DTextBounds(&r, h));
    return r;
}

int32_t stored(MemHandle h, uint32_t at)
{
    ObLock r(h);
    int32_t v;
    memcpy(&v, obRecData(r.get()) + at, 4);
    return v;
}

struct Text3D : ::testing::Test {
    long handles = qmtest::liveHandles();
    Text3D()
    {
        const Sh3DTextHooks hooks = {t3dGetText, t3dMargin, t3dCalcExtent, makeTextObject,
                                     txDrawObjectH};
        sh3DTextSetHooks(&hooks);
    }
    ~Text3D() override
    {
        sh3DTextSetHooks(nullptr);
        EXPECT_EQ(handles, qmtest::liveHandles()) << "no block leaks";
    }
};

}  // namespace

TEST_F(Text3D, WithoutATextNothingIsDrawnAndTheBoundsAreTheMargin)
{
    MemHandle h = text3d(nullptr);
    qmtest::Dib dib(200, 100);
    dmSetZoomDC(dib.dc(), 100);
    obDraw(dib.dc(), h);
    EXPECT_EQ(0, dib.countDark());
    RECT b = bounds(h);
    EXPECT_EQ(1470, b.left) << "30 around the centre";
    EXPECT_EQ(720, b.top);
    EXPECT_EQ(1530, b.right);
    EXPECT_EQ(780, b.bottom);
    EXPECT_EQ(60, stored(h, 6));
    EXPECT_EQ(60, stored(h, 10));
    utFreeHandle(h);
}

TEST_F(Text3D, TheTextIsDrawnThroughATemporaryTextObjectThatIsFreed)
{
    MemHandle h = text3d("Hello 3D");
    bounds(h);
    qmtest::Dib dib(200, 100);
    dmSetZoomDC(dib.dc(), 100);
    long before = qmtest::liveHandles();
    obDraw(dib.dc(), h);
    EXPECT_EQ(before, qmtest::liveHandles()) << "the text object made for the drawing is freed";
    RECT box;
    obGetRect(h, &box);
    RECT px = {box.left / 15, box.top / 15, box.right / 15 + 1, box.bottom / 15 + 1};
    EXPECT_LT(20, dib.countDark(px));
    EXPECT_EQ(dib.countDark(), dib.countDark(px)) << "nothing outside the box";
    utFreeHandle(h);
}

TEST_F(Text3D, BoundsTurnWithTheRotationAndWidenByTheShadow)
{
    MemHandle h = text3d("Hello 3D");
    RECT plain = bounds(h);
    int32_t w = plain.right - plain.left, hgt = plain.bottom - plain.top;
    EXPECT_GT(w, hgt);
    EXPECT_GE(hgt, 240 + 60) << "the text's height and the margin on both sides";
    EXPECT_EQ(w, stored(h, 6));
    EXPECT_EQ(hgt, stored(h, 10));
    {
        ObLock r(h);
        r->rotation = 900;
    }
    RECT turned = bounds(h);
    EXPECT_NEAR(hgt, turned.right - turned.left, 1);
    EXPECT_NEAR(w, turned.bottom - turned.top, 1);
    EXPECT_EQ(w, stored(h, 6)) << "the stored frame is the unturned one";
    utFreeHandle(h);

    MemHandle s = text3d("Hello 3D", -200, -100);
    RECT shadowed = bounds(s);
    EXPECT_EQ(w + 200, shadowed.right - shadowed.left);
    EXPECT_EQ(hgt + 100, shadowed.bottom - shadowed.top);
    EXPECT_LT(shadowed.left, plain.left);
    EXPECT_LT(shadowed.top, plain.top);
    utFreeHandle(s);
}

TEST(Text3DRecord, TheTextIsFoundOnlyWhenItsFieldIsWhole)
{
    MemHandle h = text3d("abc");
    {
        ObLock r(h);
        uint8_t *d = obRecData(r.get());
        ASSERT_NE(nullptr, t3dGetText(d));
        EXPECT_STREQ("abc", t3dGetText(d));
        EXPECT_EQ(30, t3dMargin(d));
        d[134 + 3] = 'x';   // the terminator overwritten
        EXPECT_EQ(nullptr, t3dGetText(d));
        d[134 + 3] = 0;
        d[134] = 0;   // an empty text is none
        EXPECT_EQ(nullptr, t3dGetText(d));
        d[134] = 'a';
        uint32_t big = 1000;   // an area past the type data
        memcpy(d + 122, &big, 4);
        EXPECT_EQ(nullptr, t3dGetText(d));
    }
    utFreeHandle(h);
}
