// The colour dialogs, driven by scripts that run inside their own message
// loops: "Color", "Edit Palette", the colour grid pop-up and the "Palette
// Manager"; and the grid drawing on real pixels.
#include "tests/controls/pal_fixture.h"
#include "support/ut_mem.h"

using bltest::commandsWith;
using bltest::pump;
using paltest::pressButton;
using paltest::sendCommand;
using paltest::DialogDriver;
using paltest::PaletteTest;
using paltest::rainbow;
using paltest::windowText;
using qmtest::BoxRecorder;
typedef DialogDriver::Step Step;

namespace {

int barValue(HWND dlg, int id)
{
    return GetScrollPos(GetDlgItem(dlg, id), SB_CTL);
}

int textValue(HWND dlg, int id)
{
    return (int)GetDlgItemInt(dlg, id, nullptr, FALSE);
}

void scroll(HWND dlg, int barId, int code, int thumb = 0)
{
    SendMessageA(dlg, WM_HSCROLL, MAKEWPARAM(code, thumb), (LPARAM)GetDlgItem(dlg, barId));
}

POINT cellCentre(POINT origin, int index)
{
    RECT r;
    clrGridCellRect(origin, index, &r);
    POINT pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return pt;
}

bool enabled(HWND dlg, int id)
{
    return IsWindowEnabled(GetDlgItem(dlg, id)) != 0;
}

}  // namespace

// ---- the grid ------------------------------------------------------------------------------

TEST(PaletteGrid, CellsAndHitTest)
{
    POINT o = {10, 20};
    RECT r;
    clrGridCellRect(o, 0, &r);
    EXPECT_EQ(15, r.left);
    EXPECT_EQ(25, r.top);
    EXPECT_EQ(29, r.right);
    EXPECT_EQ(39, r.bottom);
    clrGridCellRect(o, 63, &r);
    EXPECT_EQ(10 + 5 + 140, r.left);
    EXPECT_EQ(20 + 5 + 140, r.top);
    struct Case {
        int x, y, want;
    } cases[] = {{15, 25, 0}, {28, 38, 0}, {29, 30, -1}, {35, 30, 1}, {16, 46, 8},
                 {160, 170, 63}, {12, 22, -1}, {180, 30, -1}};
    for (const Case &c : cases)
        EXPECT_EQ(c.want, clrGridHitTest(o, POINT{c.x, c.y})) << c.x << "," << c.y;
}

TEST(PaletteGrid, DrawsFilledAndHollowCellsAndTheSelectionFrame)
{
    qmtest::Dib dib(170, 170, RGB(1, 2, 3));
    std::vector<COLORREF> colours = rainbow(3);
    POINT o = {0, 0};
    clrDrawColorGrid(dib.dc(), o, colours.data(), 3, 1, CLR_POPUP_SELECT);
    RECT c0, c1, c5;
    clrGridCellRect(o, 0, &c0);
    clrGridCellRect(o, 1, &c1);
    clrGridCellRect(o, 5, &c5);
    EXPECT_EQ(RGB(255, 255, 255), dib.pixel(1, 1));   // the area is white
    EXPECT_EQ(RGB(1, 2, 3), dib.pixel(166, 5));        // and no wider
    EXPECT_EQ(CLR_GRID_PEN, dib.pixel(c0.left, c0.top));
    EXPECT_EQ(CLR_GRID_PEN, dib.pixel(c0.right, c0.bottom));   // one pixel larger
    EXPECT_EQ(colours[0], dib.pixel(c0.left + 5, c0.top + 5));
    EXPECT_EQ(CLR_GRID_PEN, dib.pixel(c5.left, c5.top + 3));
    EXPECT_EQ(RGB(255, 255, 255), dib.pixel(c5.left + 5, c5.top + 5));   // hollow
    EXPECT_EQ(CLR_POPUP_SELECT, dib.pixel(c1.left - 2, c1.top + 5));
    EXPECT_EQ(RGB(255, 255, 255), dib.pixel(c1.left - 1, c1.top + 5));
    EXPECT_EQ(CLR_POPUP_SELECT, dib.pixel(c1.right + 2, c1.top + 5));
    EXPECT_NE(CLR_POPUP_SELECT, dib.pixel(c0.left - 2, c0.top + 5));
}

// ---- "Color" ---------------------------------------------------------------------------------

TEST_F(PaletteTest, ColorDialogTakesASwatchFromTheLentPaletteAndSteersTheBars)
{
    std::vector<COLORREF> colours = rainbow(6);
    HWND strip = makeStrip(colours, {0, 0, 400, 36});
    RECT home;
    GetWindowRect(strip, &home);
    COLORREF colour = RGB(10, 20, 30);
    std::vector<Step> steps = {
        [&](HWND dlg) {
            EXPECT_EQ("Text Color", windowText(dlg));
            EXPECT_EQ(dlg, GetParent(strip));
            ColorMenuRecord r;
            clrGetRecord(strip, &r);
            EXPECT_EQ(0, r.indicator);
            EXPECT_EQ(10, barValue(dlg, CLR_ID_RED_BAR));
            EXPECT_EQ(30, textValue(dlg, CLR_ID_BLUE_TEXT));
            PostMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, at(swatchCentre(strip, 3)));
        },
        [&](HWND dlg) {
            EXPECT_EQ(GetRValue(colours[3]), barValue(dlg, CLR_ID_RED_BAR));
            EXPECT_EQ(GetGValue(colours[3]), textValue(dlg, CLR_ID_GREEN_TEXT));
            scroll(dlg, CLR_ID_RED_BAR, SB_THUMBPOSITION, 200);
            scroll(dlg, CLR_ID_GREEN_BAR, SB_THUMBTRACK, 5);   // still dragged: no change
            scroll(dlg, CLR_ID_BLUE_BAR, SB_LINELEFT);
            EXPECT_EQ(200, textValue(dlg, CLR_ID_RED_TEXT));
            pressButton(dlg, IDOK);
        },
    };
    {
        DialogDriver driver(steps);
        EXPECT_EQ(1, clrColorDlg(parent(), "Text Color", &colour));
        EXPECT_EQ(2u, driver.ran());
    }
    EXPECT_EQ(RGB(200, GetGValue(colours[3]), GetBValue(colours[3]) - 1), colour);
    // The palette window is back in its place with its indicator.
    EXPECT_EQ(parent(), GetParent(strip));
    ColorMenuRecord r;
    ASSERT_TRUE(clrGetRecord(strip, &r));
    EXPECT_EQ(1, r.indicator);
    RECT now;
    GetWindowRect(strip, &now);
    EXPECT_TRUE(EqualRect(&home, &now));
    // The pick went to the dialog, not to the frame.
    EXPECT_TRUE(commandsWith(CLR_CMD_PICKED).empty());
}

TEST_F(PaletteTest, RgbBarsStepClampAndIgnoreOtherCodes)
{
    COLORREF colour = RGB(250, 3, 128);
    std::vector<Step> steps = {[&](HWND dlg) {
        struct Case {
            int bar, code, thumb, want;
        } cases[] = {
            {CLR_ID_RED_BAR, SB_LINERIGHT, 0, 251}, {CLR_ID_RED_BAR, SB_PAGERIGHT, 0, 255},
            {CLR_ID_RED_BAR, SB_LINERIGHT, 0, 255}, {CLR_ID_GREEN_BAR, SB_PAGELEFT, 0, 0},
            {CLR_ID_GREEN_BAR, SB_LINERIGHT, 0, 1}, {CLR_ID_BLUE_BAR, SB_PAGERIGHT, 0, 160},
            {CLR_ID_BLUE_BAR, SB_THUMBTRACK, 7, 160}, {CLR_ID_BLUE_BAR, SB_ENDSCROLL, 0, 160},
            {CLR_ID_BLUE_BAR, SB_THUMBPOSITION, 7, 7},
        };
        for (const Case &c : cases) {
            scroll(dlg, c.bar, c.code, c.thumb);
            EXPECT_EQ(c.want, barValue(dlg, c.bar)) << c.bar << " code " << c.code;
            EXPECT_EQ(c.want, textValue(dlg, c.bar - 1));
        }
        pressButton(dlg, IDOK);
    }};
    DialogDriver driver(steps);
    EXPECT_EQ(1, clrColorDlg(parent(), nullptr, &colour));
    EXPECT_EQ(RGB(255, 1, 7), colour);
}

TEST_F(PaletteTest, ColorDialogCancelLeavesTheColour)
{
    COLORREF colour = RGB(1, 2, 3);
    DialogDriver driver({[](HWND dlg) {
        EXPECT_EQ("Color", windowText(dlg));
        scroll(dlg, CLR_ID_RED_BAR, SB_PAGERIGHT);
        pressButton(dlg, IDCANCEL);
    }});
    EXPECT_EQ(0, clrColorDlg(parent(), "", &colour));
    EXPECT_EQ(RGB(1, 2, 3), colour);
}

// ---- "Edit Palette" ------------------------------------------------------------------------

TEST_F(PaletteTest, EditPaletteCancelRestoresTheColoursAndTheirCount)
{
    std::vector<COLORREF> colours = rainbow(5);
    HWND strip = makeStrip(colours, {0, 0, 400, 36}, 0, RGB(7, 7, 7), 0);
    RECT back = {0, 100, 300, 136};
    std::vector<Step> steps = {
        [&](HWND dlg) {
            EXPECT_EQ("Edit Palette", windowText(dlg));
            // The working colour starts as the active target's colour.
            EXPECT_EQ(7, barValue(dlg, CLR_ID_RED_BAR));
            EXPECT_TRUE(enabled(dlg, CLR_ID_ADD));
            EXPECT_FALSE(enabled(dlg, CLR_ID_DELETE));
            EXPECT_FALSE(enabled(dlg, CLR_ID_REPLACE));
            EXPECT_FALSE(enabled(dlg, CLR_ID_INSERT));
            pressButton(dlg, CLR_ID_INSERT);   // disabled: nothing
            pressButton(dlg, CLR_ID_ADD);
            EXPECT_EQ(6u, windowColours().size());
            EXPECT_EQ(5, clrGetHighlight());
            EXPECT_TRUE(enabled(dlg, CLR_ID_INSERT));
            PostMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, at(swatchCentre(strip, 1)));
        },
        [&](HWND dlg) {
            EXPECT_EQ(1, clrGetHighlight());
            EXPECT_EQ(GetRValue(colours[1]), barValue(dlg, CLR_ID_RED_BAR));
            scroll(dlg, CLR_ID_RED_BAR, SB_THUMBPOSITION, 99);
            pressButton(dlg, CLR_ID_INSERT);   // before the highlighted swatch
            std::vector<COLORREF> now = windowColours();
            ASSERT_EQ(7u, now.size());
            EXPECT_EQ(RGB(99, GetGValue(colours[1]), GetBValue(colours[1])), now[1]);
            EXPECT_EQ(colours[1], now[2]);
            pressButton(dlg, CLR_ID_DELETE);
            pressButton(dlg, CLR_ID_DELETE);
            EXPECT_EQ(5u, windowColours().size());
            pressButton(dlg, CLR_ID_REPLACE);
            pressButton(dlg, IDCANCEL);
        },
    };
    DialogDriver driver(steps);
    EXPECT_EQ(0, clrEditPaletteDlg(parent(), &back));
    EXPECT_EQ(colours, windowColours());
    // The palette window goes to the rectangle given.
    RECT now;
    GetWindowRect(strip, &now);
    MapWindowPoints(nullptr, parent(), (POINT *)&now, 2);
    EXPECT_TRUE(EqualRect(&back, &now));
    EXPECT_EQ(parent(), GetParent(strip));
}

TEST_F(PaletteTest, EditPaletteEditsAreKeptOnOk)
{
    std::vector<COLORREF> colours = rainbow(4);
    HWND strip = makeStrip(colours, {0, 0, 400, 36}, 0, colours[2], 0);
    std::vector<Step> steps = {
        [&](HWND dlg) {
            EXPECT_EQ(2, clrGetHighlight());
            EXPECT_TRUE(enabled(dlg, CLR_ID_DELETE));
            pressButton(dlg, CLR_ID_DELETE);
            // The highlight stays at the place, now on the next colour, which
            // becomes the working colour.
            EXPECT_EQ(2, clrGetHighlight());
            EXPECT_EQ(GetBValue(colours[3]), barValue(dlg, CLR_ID_BLUE_BAR));
            pressButton(dlg, CLR_ID_DELETE);   // the last: the highlight moves to the new last
            EXPECT_EQ(1, clrGetHighlight());
            scroll(dlg, CLR_ID_GREEN_BAR, SB_THUMBPOSITION, 0);
            pressButton(dlg, CLR_ID_REPLACE);
            pressButton(dlg, IDOK);
        },
    };
    DialogDriver driver(steps);
    EXPECT_EQ(1, clrEditPaletteDlg(parent(), nullptr));
    std::vector<COLORREF> want = {colours[0], RGB(GetRValue(colours[1]), 0, GetBValue(colours[1]))};
    EXPECT_EQ(want, windowColours());
    EXPECT_EQ(parent(), GetParent(strip));
}

TEST_F(PaletteTest, EditPaletteCancelOnAnEmptyPaletteLeavesItEmpty)
{
    HWND strip = makeStrip(rainbow(2));
    clrSetColors(nullptr, 0);
    DialogDriver driver({[&](HWND dlg) {
        pressButton(dlg, CLR_ID_ADD);
        pressButton(dlg, CLR_ID_ADD);
        EXPECT_EQ(2u, windowColours().size());
        pressButton(dlg, IDCANCEL);
    }});
    EXPECT_EQ(0, clrEditPaletteDlg(parent(), nullptr));
    EXPECT_TRUE(windowColours().empty());
    EXPECT_TRUE(IsWindow(strip));
}

// ---- the colour grid pop-up ---------------------------------------------------------------

TEST_F(PaletteTest, PopupSelectsTheFirstMatchAndPicksACell)
{
    std::vector<COLORREF> colours = rainbow(10);
    colours[7] = colours[3];
    makeStrip(colours);
    COLORREF colour = colours[3];
    POINT origin = {0, 0};
    DialogDriver driver({[&](HWND dlg) {
        EXPECT_EQ(3, clrPopupSelectedCell());
        RECT client, win;
        GetClientRect(dlg, &client);
        GetWindowRect(dlg, &win);
        EXPECT_EQ(165, client.right);
        EXPECT_EQ(184, client.bottom);
        EXPECT_EQ(300, win.left);
        EXPECT_EQ(200, win.top);
        PostMessageA(dlg, WM_MOUSEMOVE, 0, at(cellCentre(origin, 6)));
        PostMessageA(dlg, WM_LBUTTONDOWN, MK_LBUTTON, at(cellCentre(origin, 6)));
    }});
    EXPECT_EQ(1, clrColorPopup(parent(), &colour, POINT{300, 200}));
    EXPECT_EQ(colours[6], colour);
}

TEST_F(PaletteTest, PopupPicksWhiteForAnEmptyCellAndSelectsNothingForAForeignColour)
{
    makeStrip(rainbow(3));
    COLORREF colour = RGB(1, 2, 3);   // not in the palette
    POINT origin = {0, 0};
    DialogDriver driver({[&](HWND dlg) {
        EXPECT_EQ(-1, clrPopupSelectedCell());
        PostMessageA(dlg, WM_LBUTTONUP, 0, at(cellCentre(origin, 20)));
    }});
    EXPECT_EQ(1, clrColorPopup(parent(), &colour, POINT{0, 0}));
    EXPECT_EQ(RGB(255, 255, 255), colour);
}

TEST_F(PaletteTest, PopupEndsWithNothingOutsideOrOnTheRightButton)
{
    makeStrip(rainbow(3));
    POINT origin = {0, 0};
    struct Case {
        UINT msg;
        POINT pt;
    } cases[] = {
        {WM_LBUTTONDOWN, {-5, 10}},
        {WM_LBUTTONDBLCLK, {170, 10}},
        {WM_RBUTTONDOWN, cellCentre(origin, 1)},
        {WM_RBUTTONUP, cellCentre(origin, 1)},
    };
    for (const Case &c : cases) {
        COLORREF colour = RGB(4, 5, 6);
        DialogDriver driver({[&](HWND dlg) {
            // A press between cells does nothing.
            PostMessageA(dlg, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            PostMessageA(dlg, c.msg, 0, MAKELPARAM(c.pt.x, c.pt.y));
        }});
        EXPECT_EQ(0, clrColorPopup(parent(), &colour, POINT{50, 50})) << c.msg;
        EXPECT_EQ(RGB(4, 5, 6), colour);
    }
}

TEST_F(PaletteTest, PopupCustomRowOpensTheChooserOnTheGivenColour)
{
    makeStrip(rainbow(3));
    paltest::chooser().answer = RGB(77, 66, 55);
    COLORREF colour = RGB(4, 5, 6);
    DialogDriver driver({[&](HWND dlg) {
        PostMessageA(dlg, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 174));
    }});
    EXPECT_EQ(1, clrColorPopup(parent(), &colour, POINT{50, 50}));
    EXPECT_EQ(RGB(77, 66, 55), colour);
    ASSERT_EQ(1u, paltest::chooser().captions.size());
    EXPECT_EQ("Select a Color", paltest::chooser().captions[0]);
    EXPECT_EQ(RGB(4, 5, 6), paltest::chooser().shown[0]);

    paltest::chooser().ok = false;
    DialogDriver again({[&](HWND dlg) {
        PostMessageA(dlg, WM_LBUTTONUP, 0, MAKELPARAM(80, 174));
    }});
    EXPECT_EQ(0, clrColorPopup(parent(), &colour, POINT{50, 50}));
    EXPECT_EQ(RGB(77, 66, 55), colour);
}

TEST_F(PaletteTest, SecondStyleTargetButtonPicksThroughThePopup)
{
    clrSetClassicStyle(FALSE);
    RECT r = {20, 30, 220, 56};
    std::vector<COLORREF> colours = rainbow(5);
    HWND w = clrCreatePaletteWindow(parent(), &r, colours.data(), 5, 0, colours[1], 0, 20, 21);
    ASSERT_TRUE(w != nullptr);
    pump();
    HWND list = clrGetColor2List();
    RECT button;
    blGetButtonRect(list, blFindButton(list, CLR_BTN_BACKGROUND), &button);
    POINT below = {button.left, button.bottom};
    ClientToScreen(list, &below);
    POINT origin = {0, 0};
    DialogDriver driver({[&](HWND dlg) {
        RECT win;
        GetWindowRect(dlg, &win);
        EXPECT_EQ(below.x, win.left);
        EXPECT_EQ(below.y, win.top);
        EXPECT_EQ(1, clrPopupSelectedCell());   // the background colour
        PostMessageA(dlg, WM_LBUTTONDOWN, MK_LBUTTON, at(cellCentre(origin, 4)));
    }});
    SendMessageA(w, WM_COMMAND, CLR_BTN_BACKGROUND, 0);
    pump();
    EXPECT_EQ(colours[4], clrGetBackColor());
    ASSERT_EQ(1u, commandsWith(CLR_CMD_NEW_BACKGROUND).size());
    EXPECT_EQ((LPARAM)colours[4], commandsWith(CLR_CMD_NEW_BACKGROUND)[0].lParam);
    ToolButton e;
    ASSERT_TRUE(blGetButton(list, blFindButton(list, CLR_BTN_BACKGROUND), &e));
    EXPECT_EQ(colours[4], e.color);
}

// ---- the Palette Manager -----------------------------------------------------------------

TEST_F(PaletteTest, PaletteManagerNeedsAPaletteWindowAndItsPathBuffer)
{
    BoxRecorder boxes;
    EXPECT_EQ(0, clrPaletteManagerDlg(parent()));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Color window not started.  Contact the developer.", boxes.last().text);

    makeStrip(rainbow(3));
    boxes.clear();
    utFailNextAllocs(1);
    EXPECT_EQ(0, clrPaletteManagerDlg(parent()));
    ASSERT_GE(boxes.count(), 1u);
    EXPECT_EQ("Memory allocation error.", boxes.last().text);
}

TEST_F(PaletteTest, PaletteManagerCancelOnAnUnchangedPaletteAsksNothing)
{
    std::vector<COLORREF> colours = rainbow(5);
    makeStrip(colours);
    BoxRecorder boxes;
    DialogDriver driver({[&](HWND dlg) {
        EXPECT_EQ("Palette Manager", windowText(dlg));
        EXPECT_EQ(parent(), GetWindow(dlg, GW_OWNER));
        HMENU menu = GetMenu(dlg);
        ASSERT_TRUE(menu != nullptr);
        HMENU file = GetSubMenu(menu, 0);
        std::vector<UINT> ids;
        for (int i = 0; i < GetMenuItemCount(file); ++i)
            ids.push_back(GetMenuItemID(file, i));
        EXPECT_EQ((std::vector<UINT>{700, 701, 702, 703, 0, 704}), ids);
        EXPECT_EQ(705u, GetMenuItemID(GetSubMenu(menu, 1), 0));
        EXPECT_FALSE(enabled(dlg, CLR_ID_DELETE));
        EXPECT_EQ(0, barValue(dlg, CLR_ID_RED_BAR));   // the working colour starts black
        pressButton(dlg, IDCANCEL);
    }});
    EXPECT_EQ(0, clrPaletteManagerDlg(parent()));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(colours, windowColours());
}

TEST_F(PaletteTest, PaletteManagerCancelAfterResetAsksToSave)
{
    std::vector<COLORREF> colours = rainbow(5);
    makeStrip(colours);
    BoxRecorder boxes;
    boxes.answer(IDCANCEL);   // first question: stay
    boxes.answer(IDNO);       // second: end without saving
    DialogDriver driver({
        [&](HWND dlg) {
            sendCommand(dlg, CLR_PM_RESET);
            pressButton(dlg, IDCANCEL);
            ASSERT_EQ(1u, boxes.count());
            EXPECT_EQ("Save changes?", boxes.last().text);
            EXPECT_EQ("Quillmark Draw Message", boxes.last().caption);
            EXPECT_EQ((UINT)(MB_YESNOCANCEL | MB_ICONQUESTION), boxes.last().flags);
        },
        [&](HWND dlg) {
            EXPECT_TRUE(IsWindowVisible(dlg));
            sendCommand(dlg, CLR_PM_CLOSE);
        },
    });
    EXPECT_EQ(0, clrPaletteManagerDlg(parent()));
    EXPECT_EQ(2u, boxes.count());
    EXPECT_EQ(colours, windowColours());
}

TEST_F(PaletteTest, PaletteManagerEditsTheWorkingPaletteAndOkPutsItIntoTheWindow)
{
    std::vector<COLORREF> colours = rainbow(3);
    makeStrip(colours);
    paltest::chooser().answer = RGB(50, 60, 70);
    std::vector<Step> steps = {[&](HWND dlg) {
        POINT o = clrManagerGridOrigin();
        // A press on a colour selects it and takes its colour.
        SendMessageA(dlg, WM_LBUTTONDOWN, MK_LBUTTON, at(cellCentre(o, 1)));
        EXPECT_EQ(1, clrManagerSelectedCell());
        EXPECT_EQ(GetRValue(colours[1]), barValue(dlg, CLR_ID_RED_BAR));
        EXPECT_TRUE(enabled(dlg, CLR_ID_INSERT));
        // An empty cell: white, and nothing to delete there.
        SendMessageA(dlg, WM_LBUTTONDOWN, MK_LBUTTON, at(cellCentre(o, 9)));
        EXPECT_EQ(255, barValue(dlg, CLR_ID_GREEN_BAR));
        EXPECT_FALSE(enabled(dlg, CLR_ID_DELETE));
        pressButton(dlg, CLR_ID_MORE);
        EXPECT_EQ("Select Color", paltest::chooser().captions.back());
        EXPECT_EQ(RGB(255, 255, 255), paltest::chooser().shown.back());
        EXPECT_EQ(60, barValue(dlg, CLR_ID_GREEN_BAR));
        pressButton(dlg, CLR_ID_ADD);   // appended and selected
        EXPECT_EQ(3, clrManagerSelectedCell());
        SendMessageA(dlg, WM_LBUTTONDOWN, MK_LBUTTON, at(cellCentre(o, 0)));
        pressButton(dlg, CLR_ID_INSERT);   // after the selected one, and selected
        EXPECT_EQ(1, clrManagerSelectedCell());
        pressButton(dlg, CLR_ID_DELETE);   // deletes the inserted copy again
        scroll(dlg, CLR_ID_RED_BAR, SB_THUMBPOSITION, 1);
        pressButton(dlg, CLR_ID_REPLACE);
        // The palette window is untouched until OK.
        EXPECT_EQ(colours, windowColours());
        pressButton(dlg, IDOK);
    }};
    BoxRecorder boxes;
    DialogDriver driver(steps);
    EXPECT_EQ(1, clrPaletteManagerDlg(parent()));
    COLORREF replaced = RGB(1, GetGValue(colours[0]), GetBValue(colours[0]));
    std::vector<COLORREF> want = {colours[0], replaced, colours[2], RGB(50, 60, 70)};
    EXPECT_EQ(want, windowColours());
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
}

TEST_F(PaletteTest, PaletteManagerNewThenOkKeepsTheWindowsColours)
{
    std::vector<COLORREF> colours = rainbow(4);
    makeStrip(colours);
    DialogDriver driver({[&](HWND dlg) {
        sendCommand(dlg, CLR_PM_NEW);
        EXPECT_FALSE(enabled(dlg, CLR_ID_DELETE));
        pressButton(dlg, IDOK);
    }});
    EXPECT_EQ(1, clrPaletteManagerDlg(parent()));
    EXPECT_EQ(colours, windowColours());
}

TEST_F(PaletteTest, PaletteManagerOpensAndSavesPaletteFiles)
{
    qmtest::TempDir dir;
    std::string stored = dir.file("stored.pal");
    std::vector<COLORREF> inFile = rainbow(7);
    {
        MemHandle h = utHandleFromBytes(inFile.data(), 4 * 7);
        ASSERT_EQ(1, clrWritePaletteFile(stored.c_str(), h, 7, FALSE));
        utFreeHandle(h);
    }
    makeStrip(rainbow(3));
    BoxRecorder boxes;
    paltest::files().answers = {stored, dir.file("copy")};
    std::vector<Step> steps = {[&](HWND dlg) {
        sendCommand(dlg, CLR_PM_OPEN);
        EXPECT_EQ("Palette Manager: " + stored, windowText(dlg));
        EXPECT_EQ(-1, clrManagerSelectedCell());
        sendCommand(dlg, CLR_PM_RESET);
        sendCommand(dlg, CLR_PM_SAVE_AS);   // the "Save Palette" dialog, ".pal" added
        EXPECT_EQ("Palette Manager: " + dir.file("copy.pal"), windowText(dlg));
        pressButton(dlg, IDCANCEL);           // saved: no question
    }};
    DialogDriver driver(steps);
    EXPECT_EQ(0, clrPaletteManagerDlg(parent()));
    EXPECT_EQ((std::vector<std::string>{"Open Palette", "Save Palette"}), paltest::files().titles);
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    int16_t n = 0;
    MemHandle h = clrReadPaletteFile(dir.file("copy.pal").c_str(), &n);
    EXPECT_EQ(50, n);
    utFreeHandle(h);
    EXPECT_EQ(rainbow(3), windowColours());
}

TEST_F(PaletteTest, PaletteManagerYesSavesBeforeClosingAndAFailedSaveKeepsItOpen)
{
    qmtest::TempDir dir;
    makeStrip(rainbow(3));
    BoxRecorder boxes;
    boxes.answer(IDYES);   // save: the Save As dialog is cancelled, so the dialog stays
    boxes.answer(IDYES);   // save again: written
    paltest::files().answers = {"", dir.file("kept")};
    DialogDriver driver({
        [&](HWND dlg) {
            pressButton(dlg, CLR_ID_ADD);
            pressButton(dlg, IDCANCEL);
        },
        [&](HWND dlg) { pressButton(dlg, IDCANCEL); },
    });
    EXPECT_EQ(0, clrPaletteManagerDlg(parent()));
    EXPECT_EQ(2u, boxes.count()) << boxes.texts();
    int16_t n = 0;
    MemHandle h = clrReadPaletteFile(dir.file("kept.pal").c_str(), &n);
    EXPECT_EQ(4, n);
    utFreeHandle(h);
    EXPECT_EQ(rainbow(3), windowColours());
}

TEST_F(PaletteTest, SecondStyleManagerButtonOpensThePaletteManager)
{
    clrSetClassicStyle(FALSE);
    RECT r = {0, 0, 200, 26};
    HWND w = clrCreatePaletteWindow(parent(), &r, rainbow(3).data(), 3, 0, 0xFFFFFF, 0, 20, 21);
    ASSERT_TRUE(w != nullptr);
    DialogDriver driver({[&](HWND dlg) {
        EXPECT_EQ("Palette Manager", windowText(dlg));
        sendCommand(dlg, CLR_PM_RESET);
        pressButton(dlg, IDOK);
    }});
    SendMessageA(w, WM_COMMAND, CLR_BTN_MANAGER, 0);
    EXPECT_EQ(1u, driver.ran());
    EXPECT_EQ(50u, windowColours().size());
}

// The system chooser itself (no scripted wrapper): the hook titles it, OK
// gives the colour back and Cancel leaves it.
TEST_F(PaletteTest, SystemChooserIsTitledByItsHook)
{
    clrSetChooseColorHook(nullptr);
    COLORREF colour = RGB(12, 34, 56);
    {
        DialogDriver driver({[](HWND dlg) {
            EXPECT_EQ("Fill Color", windowText(dlg));
            pressButton(dlg, IDOK);
        }});
        EXPECT_NE(0, clrPickColor(parent(), "Fill Color", &colour));
        EXPECT_EQ(1u, driver.ran());
    }
    EXPECT_EQ(RGB(12, 34, 56), colour);
    {
        DialogDriver driver({[](HWND dlg) { pressButton(dlg, IDCANCEL); }});
        EXPECT_EQ(0, clrChooseColor(parent(), "Select a Color", &colour));
    }
    EXPECT_EQ(RGB(12, 34, 56), colour);
}
