// The button list window ("qm_btnlist"): a row, column, two columns or a
// floating grid of buttons over a private copy of a tool-button table. Every
// press goes to the parent as WM_COMMAND (see btnlist_press.h).
#pragma once
#include "controls/tb_table.h"

// ButtonListStyle bits.
enum : uint16_t {
    BLS_ROW = 0x1,            // one row; otherwise one column
    BLS_SCROLL = 0x2,         // two scroll buttons, ids 101 and 102
    BLS_FLYOUT = 0x4,         // destroys itself on losing the focus; focuses the parent after clicks
    BLS_FLOATING = 0x8,       // captioned pop-up tool window, grid of at most 8 columns
    BLS_TWO_COLUMNS = 0x10,
    BLS_OUTLINE = 0x4000,     // alone: thin black outline
    BLS_FLAT = 0xC000,        // both bits: flat buttons
};

enum {
    BL_SCROLL_BACK = 101,
    BL_SCROLL_FORWARD = 102,
    BL_SCROLL_SIZE = 16,          // thickness of the scroll-button strips
    BL_CMD_PASS_ON = 10,          // passed on to the parent unchanged
    BL_CMD_NOTHING = 500,
    BL_CMD_CLOSE = 501,
    BL_NOTIFY_CLOSING = 970,      // sent to the parent before a list goes
    BL_NOTIFY_CLOSED = 914,       // posted to the parent after it went
    BL_REPEAT_INTERVAL = 40,      // ms between repeats of an auto-repeat button
    BL_REPEAT_TIMER = 1,
    BL_HOVER_TIMER = 100,
    BL_HOVER_DELAY = 500,
    BL_FLOATING_COLUMNS = 8,
};

extern const char blClassName[];   // "qm_btnlist"

// The record of a list, held in window long 4 (window long 0 holds the font).
struct ButtonListRecord {
    MemHandle entries;        // the list's own copies of its entries
    int16_t count;
    int16_t pressed;          // -1 for none
    int16_t first;            // first visible button (scrolling)
    int16_t reserved;
    int32_t buttonWidth;
    int32_t buttonHeight;
    uint32_t scrollBack;      // scroll-button windows, 0 when none
    uint32_t scrollForward;
    uint16_t style;
    uint16_t listId;
    uint16_t repeatInterval;
    uint16_t reserved2;
};

// ---- layout, without a window ----------------------------------------------------------

// Columns and rows of the grid for a style and a number of buttons.
void blGridShape(uint16_t style, int n, int *columns, int *rows);

// What the button rectangles depend on.
struct BlLayout {
    uint16_t style;
    int count;
    int first;
    int buttonWidth, buttonHeight;
    RECT client;
    bool hasScroll;
};
// The client rectangle of button i.
void blLayoutButtonRect(const BlLayout &layout, int index, RECT *rect);
// The first index whose rectangle holds the point; -1 when none.
int blLayoutHitTest(const BlLayout &layout, POINT pt);
// The first visible button after scroll command 101 or 102.
int blLayoutScroll(const BlLayout &layout, int command);
// The two scroll-button rectangles.
void blScrollButtonRects(uint16_t style, const RECT &client, RECT *back, RECT *forward);
// The client size of a floating list.
SIZE blFloatingClientSize(int count, int buttonWidth, int buttonHeight);

// ---- the window -------------------------------------------------------------------------

// Registers "qm_btnlist" and "tv_scrollbtn"; FALSE when either fails.
BOOL blRegisterClass(HINSTANCE instance);

// Creates a list over a copy of count entries. A floating list is placed at
// the rectangle's upper left and sized to its grid; any other list fills the
// rectangle as a child of the parent with the list id as child id.
HWND blCreate(HWND parent, HFONT font, uint16_t listId, const RECT *rect, uint16_t style,
              const ToolButton *entries, int count, int buttonWidth, int buttonHeight,
              BOOL show);
HWND blCreateShown(HWND parent, HFONT font, uint16_t listId, const RECT *rect, uint16_t style,
                   const ToolButton *entries, int count, int buttonWidth, int buttonHeight);
// Creates a list window of the given window styles at a window rectangle
// (fly-outs are made this way).
HWND blCreateWindow(HWND parent, HFONT font, uint16_t listId, const RECT &windowRect,
                    uint16_t style, const ToolButton *entries, int count, int buttonWidth,
                    int buttonHeight, DWORD wsStyle, DWORD wsExStyle, BOOL show);
void blDestroy(HWND list);

int blEnableButton(HWND list, uint16_t command, BOOL enabled);
// ids ends with 0xFFFF.
void blEnableButtons(HWND list, BOOL enabled, const uint16_t *ids);
void blEnableAll(HWND list, BOOL enabled);
void blSelectButton(HWND list, uint16_t command);
void blReleaseSelection(HWND list);
int blFindButton(HWND list, uint16_t command);
BOOL blGetButton(HWND list, int index, ToolButton *entry);
void blGetButtonRect(HWND list, int index, RECT *rect);
void blInvalidateButton(HWND list, int index);
void blSetButtonColor(HWND list, uint16_t command, COLORREF colour);

// ---- used by the press handling and the entry edits -----------------------------------

// A copy of the list's record; FALSE for a window without one.
BOOL blGetRecord(HWND list, ButtonListRecord *record);
MemHandle blGetRecordHandle(HWND list);
HFONT blGetFont(HWND list);
BOOL blGetLayout(HWND list, BlLayout *layout);
int blHitTest(HWND list, POINT pt);
// Index of the enabled button of non-zero kind under the point; -1 otherwise.
int blHitTestLive(HWND list, POINT pt);
int blGetPressed(HWND list);
void blSetPressed(HWND list, int index);
// Replaces the entries handle and count (the pressed and first indexes are
// kept within the new count).
void blSetEntries(HWND list, MemHandle entries, int count);
// Paints the list into a DC: the etched top line, the buttons meeting the
// update rectangle, the pressed button inverted.
void blPaintList(HWND list, HDC dc, const RECT &update);

// Transient looks drawn straight onto the window.
enum BlLook { BL_LOOK_NORMAL, BL_LOOK_SUNKEN, BL_LOOK_HOVER, BL_LOOK_HOVER_OFF, BL_LOOK_INVERT };
void blDrawLook(HWND list, int index, BlLook look);
