// The colour dialogs: "Color" (an RGB chooser with the palette window lent
// to it), "Edit Palette" (the same with buttons that edit the palette in
// place), the colour grid pop-up, and the "Palette Manager", which edits a
// working copy of the palette with its own palette-file commands.
#pragma once
#include "support/qmwin.h"

// Controls of the RGB group and the palette edit buttons.
enum {
    CLR_ID_SAMPLE = 1100,
    CLR_ID_RED_TEXT = 1101,
    CLR_ID_RED_BAR = 1102,
    CLR_ID_GREEN_TEXT = 1103,
    CLR_ID_GREEN_BAR = 1104,
    CLR_ID_BLUE_TEXT = 1105,
    CLR_ID_BLUE_BAR = 1106,
    CLR_ID_ADD = 1111,
    CLR_ID_DELETE = 1112,
    CLR_ID_REPLACE = 1113,
    CLR_ID_INSERT = 1114,
    CLR_ID_MORE = 499,
    CLR_ID_GRID = 500,
    CLR_ID_CUSTOM_ROW = 300,
    CLR_PM_NEW = 700,
    CLR_PM_OPEN = 701,
    CLR_PM_SAVE = 702,
    CLR_PM_SAVE_AS = 703,
    CLR_PM_CLOSE = 704,
    CLR_PM_RESET = 705,
};

// The colour grid: 8 by 8 cells of 14 pixels at a pitch of 20, in an area of
// 165 by 164 pixels.
enum {
    CLR_GRID_WIDTH = 165,
    CLR_GRID_HEIGHT = 164,
    CLR_GRID_COLUMNS = 8,
    CLR_GRID_ROWS = 8,
    CLR_GRID_CELLS = 64,
    CLR_GRID_CELL = 14,
    CLR_GRID_PITCH = 20,
    CLR_GRID_MARGIN = 5,
    CLR_POPUP_ROW = 20,           // height of a text row below the grid
};
const COLORREF CLR_GRID_PEN = 0x806060;
const COLORREF CLR_POPUP_SELECT = 0x808000;

// Cell i's rectangle (14 by 14) in an area whose upper left is given.
void clrGridCellRect(POINT areaOrigin, int index, RECT *cell);
// The cell under the point, -1 when none.
int clrGridHitTest(POINT areaOrigin, POINT pt);
// Draws the grid: white area, each cell framed in 0x806060 and filled with
// its colour (hollow beyond the colours), the selected one framed 2 pixels
// outside in the given colour.
void clrDrawColorGrid(HDC dc, POINT areaOrigin, const COLORREF *colours, int count, int selected,
                      COLORREF selectColour);

// The RGB group: shows a colour; steps a bar by a scroll code (the bar, its
// text and the working colour follow); the colour the bars give.
void clrRgbShow(HWND dlg, COLORREF colour);
// Returns TRUE when the value changed.
BOOL clrRgbScroll(HWND dlg, HWND bar, int code, int thumb, COLORREF *working);
COLORREF clrRgbFromBars(HWND dlg);

int clrColorDlg(HWND owner, const char *caption, COLORREF *colour);
int clrEditPaletteDlg(HWND owner, const RECT *rect);
int clrColorPopup(HWND owner, COLORREF *colour, POINT screenPoint);
int clrPaletteManagerDlg(HWND owner);
