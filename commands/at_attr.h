// The line and fill attribute commands: line style and width, line ends,
// fill kind, hatch style and spacing, pattern and colour gradient. With an
// object each changes that object (a composite through its outline shape,
// the undo copy and the redraw of the composite itself); without one each
// changes the current page's default for new objects. Also the owner-drawn
// hatch items of the menus and the "Hatch Line Spacing" dialog.
#pragma once
#include "support/qmwin.h"

enum : int {
    AT_CMD_LINE_ATTR = 504,
    AT_CMD_LINE_ENDS = 505,
    AT_CMD_FILL_FIRST = 531,     // 531 hollow, 532 solid, 533 pattern, 534 gradient
    AT_CMD_FILL_LAST = 534,
    AT_CMD_HATCH_FIRST = 535,    // 535 to 540: GDI hatch styles 0 to 5
    AT_CMD_HATCH_LAST = 540,
    AT_CMD_HATCH_SPACING = 541,
    AT_CMD_PATTERN = 501,
    AT_CMD_GRADIENT_EDIT = 502,
    AT_CMD_GRADIENT_TYPE = 503,
};

// Each returns 1 when something changed (or an editor was started), else 0.
int cmdSetLineAttr(HWND ws, MemHandle object);
int cmdSetLineEnds(HWND ws, MemHandle object);
int cmdSetFillKind(HWND ws, MemHandle object, int kind);
int cmdSetHatchStyle(HWND ws, MemHandle object, int command);
int cmdSetHatchSpacing(HWND ws, MemHandle object);
int cmdSetPattern(HWND ws, MemHandle object);
int cmdEditGradient(HWND ws, MemHandle object);
int cmdSetGradientType(HWND ws, MemHandle object);

// The GDI hatch style of commands 535 to 540; any other id gives 0.
int hatchStyleFromId(int command);
// For the object and every object linked below it with fill kind 4: the
// spacing becomes percent x spacing / 100 (0 read as 6), kept within 2 to
// 15; the style stays.
void hatchTreeScaleSpacing(MemHandle object, int percent);
// The owner-drawn hatch items 535 to 540 of the menus: TRUE when the item
// is one of them and was measured (60 x 36) or drawn.
BOOL hatchMeasureMenuItem(MEASUREITEMSTRUCT *item);
BOOL hatchDrawMenuItem(const DRAWITEMSTRUCT *item);

// The "Hatch Line Spacing" dialog on a hatch byte: 1 on OK with the new
// spacing in the byte (the style kept), 0 on Cancel.
int hatchSpacingDialog(HWND owner, uint8_t *hatch);
INT_PTR CALLBACK HatchSpacingDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

// The "Line Style" dialog (template "penattr") on a pen style word and a
// width in the unit the style word's bit 15 names (printer units or
// points): 1 on OK with both written back.
int lineStyleDialog(HWND owner, uint16_t *styleWord, int32_t *width);
INT_PTR CALLBACK PenAttrDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Dialog items.
enum {
    AT_HATCH_EDIT = 100,
    AT_HATCH_SPIN = 101,
    AT_PEN_POINT = 110,      // width in points
    AT_PEN_HAIR = 111,       // width in printer units
    AT_PEN_WIDTH = 112,
    AT_PEN_WIDTH_SPIN = 113,
    AT_PEN_SOLID = 120,      // 120 + GDI pen style: solid, dash, dot, dash-dot
    AT_PEN_DASH = 121,
    AT_PEN_DOT = 122,
    AT_PEN_DASHDOT = 123,
    AT_PEN_NONE = 125,       // PS_NULL
};
