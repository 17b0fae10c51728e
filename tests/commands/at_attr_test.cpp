// The Edit command and the line and fill attribute commands on a real
// workspace: the fill kinds and their page defaults, composites, the hatch
// styles, the hatch spacing dialog and its limits, the owner-drawn hatch
// items, and the Edit command by type, mode and lock.
#include "text/tx_label.h"
#include "tests/commands/cmd_page_kit.h"
#include "tests/support/kit_dialog.h"
#include "commands/at_attr.h"
#include "commands/ed_edit.h"
#include "objects/fil_fill.h"
#include "views/pv_page.h"
#include <string.h>

namespace {

using cmdtest::commandsSeen;
using qmtest::BoxRecorder;

class Attr : public cmdtest::Page {
protected:
    MemHandle box = 0;
    void SetUp() override
    {
        Page::SetUp();
        box = add(OBT_RECTANGLE, 2000, 2000, 4000, 3000);
    }
    // A tool under select mode that claims (and notes) the commands.
    void noteCommands()
    {
        wsLeaveToolMode(ws, FALSE);
        wsEnterToolMode(ws, TM_SELECT, cmdtest::noteCommands, 0, 0);
        pump();
        commandsSeen().clear();
    }
    uint8_t fillKind(MemHandle h) { return obGetFillKind(h); }
    uint8_t hatchOf(MemHandle h)
    {
        ObLock r(h);
        return r ? r->hatch : 0;
    }
    void setHatch(MemHandle h, uint8_t kind, uint8_t hatch)
    {
        ObLock r(h);
        r->fillKind = kind;
        r->hatch = hatch;
    }
    uint8_t pageByte(int id)
    {
        uint8_t v = 0;
        wsGetPageProp(ws, id, &v);
        return v;
    }
};

TEST_F(Attr, FillKindOfTheSameFillOpensItsEditorInstead)
{
    PatternFill pattern;
    memset(&pattern, 0x55, sizeof pattern);
    pattern.size = 24;
    MemHandle h = box;
    ASSERT_TRUE(obSetPatternFill(&h, &pattern));
    box = h;
    noteCommands();
    notModified();
    EXPECT_EQ(1, cmdSetFillKind(ws, box, 2));   // 533 on a pattern
    pump();
    EXPECT_EQ(std::vector<WPARAM>{501}, commandsSeen());
    EXPECT_EQ(2, fillKind(box));
    EXPECT_FALSE(wsIsModified(ws));
    EXPECT_FALSE(wsIsUndoPending(ws));

    // A gradient asked for again: 503.
    MemHandle g = add(OBT_ELLIPSE, 5000, 2000, 6000, 3000);
    {
        ObLock r(g);
        r->fillKind = 3;
    }
    commandsSeen().clear();
    EXPECT_EQ(1, cmdSetFillKind(ws, g, 3));
    pump();
    EXPECT_EQ(std::vector<WPARAM>{503}, commandsSeen());

    // Solid on the pattern: changed, recorded, modified.
    EXPECT_EQ(1, cmdSetFillKind(ws, box, 1));
    EXPECT_EQ(1, fillKind(box));
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_TRUE(wsIsUndoPending(ws));
}

TEST_F(Attr, WithoutAnObjectTheFillKindsSetThePageDefaultUnmodified)
{
    noteCommands();
    PatternFill blank;
    memset(&blank, 0xFF, sizeof blank);
    wsSetPageProp(ws, 46, &blank);
    uint8_t gradient[40] = {};
    wsSetPageProp(ws, 47, gradient);
    for (int command = 531; command <= 534; ++command) {
        SCOPED_TRACE(command);
        notModified();
        commandsSeen().clear();
        EXPECT_EQ(0, cmdSetFillKind(ws, 0, command - 531));
        pump();
        EXPECT_EQ(command - 531, pageByte(44));
        EXPECT_FALSE(wsIsModified(ws));
        // A blank default pattern or no default gradient: its editor.
        std::vector<WPARAM> want;
        if (command == 533)
            want = {501};
        if (command == 534)
            want = {503};
        EXPECT_EQ(want, commandsSeen());
    }
}

TEST_F(Attr, ACompositeFillsItsOutlineAndTheUndoCopyIsTheComposite)
{
    MemHandle outline = obtest::make(OBT_RECTANGLE, 2000, 4000, 3000, 5000);
    MemHandle comp = obtest::make(OBT_COMPOSITE, 2000, 4000, 3000, 5000);
    obSetAttached(comp, outline);
    wsAppendObject(ws, comp);
    epSelectObject(ws, comp);
    EXPECT_EQ(1, cmdSetFillKind(ws, comp, 1));
    EXPECT_EQ(1, fillKind(outline));
    EXPECT_EQ(0, fillKind(comp));
    UndoRecord u;
    ASSERT_TRUE(wsGetUndo(ws, &u));
    EXPECT_EQ(UD_COPY, (int16_t)u.kind);
    EXPECT_EQ(1, undo());
    MemHandle back = page().back();
    EXPECT_EQ(OBT_COMPOSITE, obGetType(back));
    ASSERT_NE(0u, obGetAttached(back));
    EXPECT_EQ(0, fillKind(obGetAttached(back)));
}

TEST_F(Attr, HatchStylesKeepTheSpacing)
{
    setHatch(box, 1, 0x90);   // spacing 9
    for (int command = 535; command <= 540; ++command) {
        SCOPED_TRACE(command);
        notModified();
        EXPECT_EQ(1, cmdSetHatchStyle(ws, box, command));
        box = page()[0];
        EXPECT_EQ(4, fillKind(box));
        EXPECT_EQ(command - 535, hatchOf(box) & 0x0F);
        EXPECT_EQ(9, hatchOf(box) >> 4);
        EXPECT_TRUE(wsIsModified(ws));
    }
    // The same style again: recorded, but not a change.
    notModified();
    EXPECT_EQ(1, cmdSetHatchStyle(ws, page()[0], 540));
    EXPECT_FALSE(wsIsModified(ws));
    EXPECT_EQ(0, hatchStyleFromId(534));
    EXPECT_EQ(0, hatchStyleFromId(541));
    // A spacing of 0 reads as 6 and is written so.
    setHatch(box, 0, 0x00);
    cmdSetHatchStyle(ws, box, 537);
    EXPECT_EQ(0x62, hatchOf(page()[0]));

    // Without an object: the page's defaults, modified when they change.
    uint8_t h = 0xA1;
    wsSetPageProp(ws, 58, &h);
    notModified();
    EXPECT_EQ(1, cmdSetHatchStyle(ws, 0, 539));
    EXPECT_EQ(4, pageByte(44));
    EXPECT_EQ(0xA4, pageByte(58));
    EXPECT_TRUE(wsIsModified(ws));
    notModified();
    EXPECT_EQ(0, cmdSetHatchStyle(ws, 0, 539));
    EXPECT_FALSE(wsIsModified(ws));
}

TEST_F(Attr, ScalingTheHatchSpacingStaysWithinTwoAndFifteen)
{
    struct Case {
        uint8_t hatch;
        int percent;
        uint8_t want;
    } cases[] = {
        {0x03, 10, 0x23},    // 0 reads as 6: 0.6 becomes 2
        {0x03, 200, 0xC3},   // 12
        {0xF1, 10, 0x21},    // 1.5: 2
        {0x81, 150, 0xC1},   // 12
        {0x81, 300, 0xF1},   // 24: 15
    };
    for (const Case &c : cases) {
        setHatch(box, 4, c.hatch);
        hatchTreeScaleSpacing(box, c.percent);
        EXPECT_EQ(c.want, hatchOf(box)) << (int)c.hatch << " " << c.percent;
    }
    // Objects of another fill kind keep their byte.
    setHatch(box, 1, 0x81);
    hatchTreeScaleSpacing(box, 300);
    EXPECT_EQ(0x81, hatchOf(box));
}

TEST_F(Attr, HatchSpacingDialogShowsSixRefusesZeroAndAboveFifteen)
{
    setHatch(box, 4, 0x03);   // spacing 0: shown as 6
    BoxRecorder boxes;
    std::string shown;
    notModified();
    {
        qmtest::DialogDriver driver({
            [&](HWND d) {
                char text[16] = "";
                GetDlgItemTextA(d, AT_HATCH_EDIT, text, sizeof text);
                shown = text;
                qmtest::typeInto(d, AT_HATCH_EDIT, "0");
                qmtest::pressButton(d, IDOK);
            },
            [](HWND d) {
                qmtest::typeInto(d, AT_HATCH_EDIT, "16");
                qmtest::pressButton(d, IDOK);
            },
            [](HWND d) {
                qmtest::typeInto(d, AT_HATCH_EDIT, "12");
                qmtest::pressButton(d, IDOK);
            },
        });
        EXPECT_EQ(1, cmdSetHatchSpacing(ws, box));
        EXPECT_FALSE(driver.leftOpen());
    }
    EXPECT_EQ("6", shown);
    ASSERT_EQ(2u, boxes.count()) << boxes.texts();
    EXPECT_EQ("Minimum interval is 1 point", boxes.boxes()[0].text);
    EXPECT_EQ("Maximum interval is 15 points", boxes.boxes()[1].text);
    box = page()[0];
    EXPECT_EQ(0xC3, hatchOf(box));
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_TRUE(wsIsUndoPending(ws));

    // Cancel changes nothing; without a hatch fill the page default is
    // edited.
    {
        qmtest::DialogDriver driver({[](HWND d) { qmtest::pressButton(d, IDCANCEL); }});
        EXPECT_EQ(0, cmdSetHatchSpacing(ws, box));
    }
    EXPECT_EQ(0xC3, hatchOf(box));
    uint8_t h = 0x02;
    wsSetPageProp(ws, 58, &h);
    {
        qmtest::DialogDriver driver({[](HWND d) {
            qmtest::typeInto(d, AT_HATCH_EDIT, "15");
            qmtest::pressButton(d, IDOK);
        }});
        EXPECT_EQ(1, cmdSetHatchSpacing(ws, 0));
    }
    EXPECT_EQ(0xF2, pageByte(58));
}

TEST_F(Attr, HatchMenuItemsMeasureAndDraw)
{
    MEASUREITEMSTRUCT m = {};
    m.CtlType = ODT_MENU;
    m.itemID = 537;
    EXPECT_TRUE(hatchMeasureMenuItem(&m));
    EXPECT_EQ(60u, m.itemWidth);
    EXPECT_EQ(36u, m.itemHeight);
    m.itemID = 541;
    EXPECT_FALSE(hatchMeasureMenuItem(&m));

    // Drawn into a white bitmap: the hatch leaves dark pixels inside the
    // item, none left of the check-mark room.
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 80;
    bi.bmiHeader.biHeight = -40;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    memset(bits, 0xFF, 80 * 40 * 4);
    DRAWITEMSTRUCT d = {};
    d.CtlType = ODT_MENU;
    d.itemID = 539;   // cross
    d.itemAction = ODA_DRAWENTIRE;
    d.hDC = dc;
    d.rcItem = {0, 0, 80, 36};
    EXPECT_TRUE(hatchDrawMenuItem(&d));
    GdiFlush();
    const uint32_t *px = (const uint32_t *)bits;
    int dark = 0, darkLeft = 0;
    const int check = GetSystemMetrics(SM_CXMENUCHECK);
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 80; ++x)
            if ((px[y * 80 + x] & 0xFFFFFF) == 0) {
                ++dark;
                if (x < check + 2)
                    ++darkLeft;
            }
    EXPECT_GT(dark, 50);
    EXPECT_EQ(0, darkLeft);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

// ---- the Edit command ----------------------------------------------------------------------

TEST_F(Attr, EditStartsByTypeAndRefusesLockedObjects)
{
    MemHandle text = addText(2000, 5000, 4000, 5400, "t");
    noteCommands();
    EXPECT_EQ(1, cmdEditObject(ws, text, 401, 77));
    pump();
    EXPECT_EQ(std::vector<WPARAM>{700}, commandsSeen());

    // A locked one: the refusal, nothing posted.
    obSetFlags(text, OBF_LOCKED, TRUE);
    commandsSeen().clear();
    {
        BoxRecorder boxes;
        EXPECT_EQ(0, cmdEditObject(ws, text, 401, 0));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Can not edit the object because the object is either locked or in a "
                  "non-editable layer",
                  boxes.last().text);
    }
    pump();
    EXPECT_TRUE(commandsSeen().empty());

    // Outside modes 0, 2 and 5 nothing happens.
    obSetFlags(text, OBF_LOCKED, FALSE);
    wsLeaveToolMode(ws, FALSE);
    wsEnterToolMode(ws, TM_VIEW, cmdtest::noteCommands, 0, 0);
    pump();
    commandsSeen().clear();
    {
        BoxRecorder boxes;
        EXPECT_EQ(0, cmdEditObject(ws, text, 401, 0));
        EXPECT_EQ(0u, boxes.count());
    }
    pump();
    EXPECT_TRUE(commandsSeen().empty());

    // Types that need no editor, and none.
    wsLeaveToolMode(ws, FALSE);
    EXPECT_EQ(1, cmdEditObject(ws, add(OBT_ELLIPSE, 0, 0, 500, 500), 401, 0));
    EXPECT_EQ(0, cmdEditObject(ws, 0, 401, 0));
}

TEST_F(Attr, EditOfALabelEntersModeNineteen)
{
    // A Label as the program makes one: the editor turns it into a text.
    LOGFONTA lf = {};
    lf.lfHeight = -240;
    lf.lfWeight = 400;
    lstrcpyA(lf.lfFaceName, "Arial");
    MemHandle label = txNewLabel(0, &lf, 0, 1, 0);
    RECT box = {2000, 5000, 4000, 5400};
    obSetRect(label, &box);
    label = txSetLabelText(label, "ab");
    wsAppendObject(ws, label);
    epEnterSelectMode(ws, label);
    pump();
    command(401);
    EXPECT_EQ(TM_TEXT_A, wsGetToolMode(ws));
}

TEST_F(Attr, EditOfAnArrowAsksBeforeItBecomesAPolygon)
{
    MemHandle arrow = add(OBT_ARROW, 2000, 5000, 5000, 5600);
    ASSERT_EQ(OBT_ARROW, obGetType(arrow));
    epEnterSelectMode(ws, arrow);
    pump();
    {
        BoxRecorder boxes;
        boxes.answer(IDCANCEL);
        EXPECT_EQ(1, cmdEditObject(ws, arrow, 401, 0));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Change to polygon object and edit?", boxes.last().text);
        EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONQUESTION), boxes.last().flags & 0xFF);
    }
    EXPECT_EQ(OBT_ARROW, obGetType(page().back()));
    {
        BoxRecorder boxes;
        boxes.answer(IDOK);
        EXPECT_EQ(1, cmdEditObject(ws, page().back(), 401, 0));
    }
    EXPECT_EQ(OBT_POLYGON, obGetType(page().back()));
    EXPECT_EQ(page().back(), wsGetCurrentObject(ws));
}

}  // namespace
