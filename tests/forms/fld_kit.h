// Helpers of the form control tests: a DIB mapped like a page view at 100
// percent (15 twips to the pixel), records of check boxes and buttons built
// with their type part, and pixel runs along a row.
#pragma once
#include "tests/support/kit.h"
#include "tests/model/ob_kit.h"
#include "forms/fld_button.h"
#include "forms/fld_check.h"
#include "forms/ent_field.h"
#include "model/ob_draw.h"
#include "model/ob_shadow.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include <string.h>
#include <vector>

namespace fldtest {

const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255), kGreen = RGB(0, 128, 0), kFace = RGB(192, 192, 192);
const COLORREF kGrey = RGB(128, 128, 128);

// Twips of `pixels` device pixels at the test mapping.
inline int32_t px(int32_t pixels) { return pixels * 15; }
inline RECT pxRect(int l, int t, int r, int b) { return RECT{px(l), px(t), px(r), px(b)}; }

// A white DIB with the view mapping of the tests applied.
class Page : public qmtest::Dib {
public:
    Page(int w, int h) : qmtest::Dib(w, h) { dmSetMapping(dc()); }
    int in(COLORREF c, int l, int t, int r, int b) const
    {
        RECT box = {l, t, r, b};
        return count(c, box);
    }
    // Runs of pixels of the colour along row y between x0 and x1 (their
    // first x each).
    std::vector<int> runsInRow(COLORREF c, int y, int x0, int x1) const
    {
        std::vector<int> starts;
        bool inRun = false;
        for (int x = x0; x < x1; ++x) {
            bool hit = pixel(x, y) == c;
            if (hit && !inRun)
                starts.push_back(x);
            inRun = hit;
        }
        return starts;
    }
};

inline LOGFONTA font(int32_t height)
{
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    strcpy(lf.lfFaceName, "Arial");
    return lf;
}

// A new check box family record (type 44, 57 or 58) in the rectangle, with
// the label font height, no label and no attributes: 166 bytes.
inline MemHandle control(int16_t type, const RECT &r, int32_t fontHeight = -240,
                         uint16_t flags = 0)
{
    MemHandle h = obNewRecord(ckbEmptyRecordSize());
    ObLock rec(h);
    rec->type = type;
    rec->layer = 1;
    rec->scaleX = rec->scaleY = kObScaleOne;
    rec->penColour = kBlack;
    rec->fillColour = kBlue;
    rec->backColour = kFace;
    rec->penWidth = 20;
    obRecSetRect(rec.get(), &r);
    ControlPart *part = reinterpret_cast<ControlPart *>(obRecData(rec.get()));
    part->font = font(fontHeight);
    part->flags = flags;
    return h;
}

// A new push button: an 86-byte part, face style and no attributes.
inline MemHandle button(const RECT &r, int16_t face = 1)
{
    MemHandle h = obNewRecord(kObHeadSize + kBtnPartSize);
    ObLock rec(h);
    rec->type = 43;
    rec->layer = 1;
    rec->scaleX = rec->scaleY = kObScaleOne;
    rec->penColour = kBlack;
    rec->fillColour = kBlue;
    rec->backColour = kFace;
    obRecSetRect(rec.get(), &r);
    ButtonPart *part = reinterpret_cast<ButtonPart *>(obRecData(rec.get()));
    part->length = kBtnPartSize;
    part->font = font(-240);
    part->faceStyle = face;
    return h;
}

// Fixture: the mapping at its start-up values, the default shadow, no
// leaked blocks, no message box.
// A new entry, list or equation field of the type: the 100-byte part, the
// font, a data type, top left aligned, a plain rectangular frame.
inline MemHandle entryField(int16_t type, const RECT &r, uint16_t dataType = 3,
                            uint32_t flags = 0)
{
    MemHandle h = obNewRecord(kObHeadSize + sizeof(EntryFieldPart));
    ObLock rec(h);
    rec->type = type;
    rec->layer = 1;
    rec->scaleX = rec->scaleY = kObScaleOne;
    rec->penColour = kBlack;
    rec->fillColour = kBlue;
    rec->backColour = kWhite;
    rec->penWidth = 20;
    obRecSetRect(rec.get(), &r);
    EntryFieldPart *part = entPart(rec.get());
    part->font = font(-240);
    part->align = 4;
    part->frameStyle = 1;
    part->maxChars = -1;
    part->dataType = dataType;
    part->mode = 1;
    part->flags = flags | ENT_DISPLAY_BITS;
    return h;
}

class FormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dmResetModule();
        obSetShadowStyle(nullptr);
    }
    void TearDown() override
    {
        EXPECT_EQ(0, live.leaked()) << "memory handle leaked";
        EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    }
    obtest::LiveCount live;
    qmtest::BoxRecorder boxes;
};

}  // namespace fldtest
