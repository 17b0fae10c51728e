// The colour palette window in its two styles: the classic strip
// "qm_clrmenu" (a current-colour indicator and two rows of swatches that
// scroll sideways) and the second style "qm_color2" (a button list of the
// colour-target buttons that open the colour grid pop-up). Both keep the
// palette's colours, the three current colours and a GDI palette, and tell
// their parent about picks by WM_COMMAND.
#pragma once
#include "support/qmwin.h"

extern const char clrStripClass[];    // "qm_clrmenu"
extern const char clrColor2Class[];   // "qm_color2"

// ColorTarget: which current colour a pick sets.
enum : int16_t {
    CLR_TARGET_FOREGROUND = 6,    // text
    CLR_TARGET_BACKGROUND = 10,   // fill
    CLR_TARGET_FRAME = 14,        // line
};

// Commands of and to the palette window.
enum : uint16_t {
    CLR_CMD_CHANGED = 20,         // a swatch's colour was changed (lParam 0)
    CLR_CMD_PICKED = 21,          // a colour was picked (lParam the colour)
    CLR_CMD_NEW_FOREGROUND = 22,  // from the second style, lParam the colour
    CLR_CMD_NEW_BACKGROUND = 23,
    CLR_CMD_NEW_FRAME = 24,
    CLR_CMD_SWITCH_STYLE = 25,
    CLR_CMD_EDIT = 620,
    CLR_CMD_OPEN = 621,
    CLR_CMD_SAVE = 622,
    CLR_CMD_RESET = 623,
    CLR_CMD_PICK = 1243,
    CLR_CMD_SCROLL_BACK = 101,
    CLR_CMD_SCROLL_FORWARD = 102,
    CLR_CMD_SET_FOREGROUND = 400,
    CLR_CMD_SET_FRAME = 401,
    CLR_CMD_SET_BACKGROUND = 402,
    CLR_CMD_HELP_COLOR = 403,
    CLR_CMD_HELP = 500,
    CLR_BTN_FOREGROUND = 30,      // colour-target buttons of the second style
    CLR_BTN_BACKGROUND = 31,
    CLR_BTN_FRAME = 32,
    CLR_BTN_MANAGER = 34,
    CLR_COLOR2_LIST_ID = 25,
};

// Sizes of the strip, in pixels.
enum {
    CLR_INDICATOR_WIDTH = 48,
    CLR_SCROLL_WIDTH = 16,
    CLR_SWATCH_PITCH = 16,
    CLR_GRIP_WIDTH = 12,          // left edge of the second style
    CLR_COLOR2_BUTTON = 22,
};

// The record of either window (window long 0 holds its handle).
struct ColorMenuRecord {
    MemHandle colours;        // the COLORREF array (owned)
    int16_t count;
    int16_t highlighted;      // -1 for none
    uint32_t foreground;
    uint32_t frame;
    uint32_t background;
    uint16_t changeCommand;   // 0 means CLR_CMD_CHANGED
    uint16_t pickCommand;     // 0 means CLR_CMD_PICKED
    uint32_t scrollBack;      // the strip's scroll buttons
    uint32_t scrollForward;
    int16_t first;            // first visible swatch column
    int16_t target;           // ColorTarget
    int16_t indicator;        // 1 while the indicator is shown
    int16_t reserved;
    uint32_t palette;         // HPALETTE built from the colours (owned)
};

// ---- strip geometry, without a window -----------------------------------------------

struct ClrStripGeometry {
    RECT indicator;     // empty when the indicator is hidden
    RECT scrollBack;    // left scroll button
    RECT scrollForward; // right scroll button
    RECT area;          // the swatches
    int half;           // area height / 2
};
void clrStripLayout(const RECT &client, bool indicator, ClrStripGeometry *g);
// Swatch i's rectangle with the given first column; false when it is not shown.
bool clrSwatchRect(const ClrStripGeometry &g, int first, int index, RECT *rect);
// The swatch under the point (from 2 * first on), -1 when none.
int clrStripHitTest(const ClrStripGeometry &g, int first, int count, POINT pt);
// Columns shown across the area: (area width + 8) / 16.
int clrVisibleColumns(const ClrStripGeometry &g);
// The first column after painting: moved back so that the end of the palette
// is shown when the columns from first on do not fill the area.
int clrClampFirst(const ClrStripGeometry &g, int first, int count);

// The indicator's two squares.
void clrIndicatorSquares(const RECT &indicator, RECT *frameSquare, RECT *foreSquare);
// The centre of the X on the target's square.
POINT clrXMarkCentre(const RECT &indicator, int target);
// How the X is drawn on a colour: black when red + green + blue is at least
// 256, white below 255, inverting (0x8000FF with R2_NOTXORPEN) at exactly 255.
enum ClrXPen { CLR_XPEN_BLACK, CLR_XPEN_WHITE, CLR_XPEN_INVERT };
ClrXPen clrXMarkPen(COLORREF judged);

// ---- style and windows ------------------------------------------------------------------

// Registers "tv_scrollbtn", "qm_clrmenu" and "qm_color2"; succeeds when the
// last two do.
BOOL clrRegisterClasses(HINSTANCE instance);
void clrSetClassicStyle(BOOL classic);
BOOL clrIsClassicStyle();
// Creates the window of the current style; without colours the start-up
// colours are used.
HWND clrCreatePaletteWindow(HWND parent, const RECT *rect, const COLORREF *colours, int count,
                            COLORREF foreground, COLORREF background, COLORREF frame,
                            uint16_t changeCommand, uint16_t pickCommand);
HWND clrGetPaletteWindow();
void clrToggleStyle();
void clrMovePaletteWindow(const RECT *rect);
void clrHideIndicator(HWND window);
void clrShowIndicator(HWND window);
HWND clrGetStripWindow();
HWND clrGetColor2Window();
HWND clrGetColor2List();
int clrColorTargetCount();

// ---- colours of the window ---------------------------------------------------------------

void clrSetColors(const COLORREF *colours, int count);
MemHandle clrGetColors(int16_t *count);
HPALETTE clrGetPalette();
int clrAppendColor(COLORREF colour);
int clrInsertColor(int index, COLORREF colour);
int clrDeleteColor(int index);
void clrReplaceColor(int index, COLORREF colour);
// The palette window's colour at an index, and its highlighted swatch.
BOOL clrGetColorAt(int index, COLORREF *colour);
int clrGetHighlight();
// Moves the strip's highlight to a swatch (-1: none), redrawing both.
void clrSetHighlight(HWND window, int index);

// ---- current colours ---------------------------------------------------------------------

void clrSetForeColor(COLORREF colour);
void clrSetBackColor(COLORREF colour);
void clrSetFrameColor(COLORREF colour);
COLORREF clrGetForeColor();
COLORREF clrGetBackColor();
COLORREF clrGetFrameColor();
void clrSetActiveTarget(int target);
int clrGetActiveTarget();
void clrSetTargetColor(COLORREF colour);
COLORREF clrGetTargetColor();
void clrUpdateHighlight(HWND window);
void clrDrawIndicator(HDC dc);

// ---- painting, for tests and WM_PAINT -----------------------------------------------------

// Paints the strip into a DC (swatches, grid lines, highlight, and the
// indicator when the update rectangle meets it).
void clrPaintStrip(HWND strip, HDC dc, const RECT &update);
void clrPaintIndicator(HWND strip, HDC dc);
// Paints the grip of the second style.
void clrPaintGrip(HWND window, HDC dc);

// A copy of a window's record; FALSE for a window without one.
BOOL clrGetRecord(HWND window, ColorMenuRecord *record);

// Destroys any palette window and forgets the module state.
void clrResetPaletteWindowModule();
