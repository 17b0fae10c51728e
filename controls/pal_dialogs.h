// The colour dialogs: "Color" (an RGB chooser with the palette window lent
// to it), "Edit Palette" (the same with buttons that edit the palette in
// place), the colour grid pop-up, and the "Palette Manager", which edits a
// working copy of the palette with its own palette-file commands.
#pragma once
#include "support/qmwin.h"
#include "resource.h"

// Controls of the RGB group and the palette edit buttons.
enum {
    CLR_ID_SAMPLE = IDC_CLR_SAMPLE,
    CLR_ID_RED_TEXT = IDC_CLR_RED_TEXT,
    CLR_ID_RED_BAR = IDC_CLR_RED_BAR,
    CLR_ID_GREEN_TEXT = IDC_CLR_GREEN_TEXT,
    CLR_ID_GREEN_BAR = IDC_CLR_GREEN_BAR,
    CLR_ID_BLUE_TEXT = IDC_CLR_BLUE_TEXT,
    CLR_ID_BLUE_BAR = IDC_CLR_BLUE_BAR,
    CLR_ID_ADD = IDC_CLR_ADD,
    CLR_ID_DELETE = IDC_CLR_DELETE,
    CLR_ID_REPLACE = IDC_CLR_REPLACE,
    CLR_ID_INSERT = IDC_CLR_INSERT,
    CLR_ID_MORE = IDC_CLR_MORE,
    CLR_ID_GRID = IDC_CLR_GRID,
    CLR_ID_CUSTOM_ROW = 300,      // the "Custom..." row of the pop-up
    CLR_PM_NEW = IDM_PAL_NEW,
    CLR_PM_OPEN = IDM_PAL_OPEN,
    CLR_PM_SAVE = IDM_PAL_SAVE,
    CLR_PM_SAVE_AS = IDM_PAL_SAVE_AS,
    CLR_PM_CLOSE = IDM_PAL_CLOSE,
    CLR_PM_RESET = IDM_PAL_RESET,
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
// While the Palette Manager runs: the colours of its working palette and
// whether they differ from the saved ones. FALSE when it is not open.
BOOL clrManagerState(uint32_t *colours, BOOL *changed);

// For tests: the running Palette Manager's grid origin (client coordinates)
// and selected cell, and the pop-up's selected cell.
POINT clrManagerGridOrigin();
int clrManagerSelectedCell();
int clrPopupSelectedCell();
