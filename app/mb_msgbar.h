// The message bar ("qm_msg"), the frame's status row: the pointer position
// and the selected object's position, size, rotation and name in
// measurement units, the current layer and editing state, a status text,
// and on wide screens the font face (962) and size (961) boxes of the text
// being edited.
#pragma once
#include "support/qmwin.h"

extern const char mbClassName[];   // "qm_msg"

enum {
    MB_FACE_BOX = 962,
    MB_SIZE_BOX = 961,
    MB_NAME_BUTTON = 514,
    MB_CELLS_WITH_BOXES = 180,   // x of the cells when the boxes exist
};

// Registers "qm_msg": style 0, no extra bytes, arrow cursor, button-face
// background, no icon.
BOOL mbRegisterClass(HINSTANCE instance);
// Registers "qm_util" with the bar's procedure: 8 extra bytes, light grey
// background.
BOOL ctlRegisterUtilClass(HINSTANCE instance);
LRESULT CALLBACK MsgBarWndProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam);
// Creates the bar in the frame at the rectangle with its cells, and the two
// font boxes when the frame's wide-screen flag is set; shown and updated.
// On failure "Can not create message window" is shown and 0 returned.
HWND mbCreate(HWND frame, HFONT font, const RECT *rect);
HWND mbGetWindow();
// The children: 962, 961, the name button (514) and the cells; null when
// the bar or the child does not exist.
enum MbCell { MB_STATE_CELL, MB_STATUS_CELL, MB_POSITION_CELL, MB_SIZE_CELL };
HWND mbGetCell(MbCell cell);
HWND mbGetFaceBox();
HWND mbGetSizeBox();
HWND mbGetNameButton();
// Lays the cells out again for the bar's client height (WM_SIZE).
void mbLayout(HWND bar);

// The device point becomes page coordinates and then units:
// "(%-6.2lf, %6.2lf)"; with a measuring origin set, the absolute distances
// from it: "(%6.2lf x %6.2lf)".
void mbShowPosition(POINT device);
// The measuring origin (twips), kept in measurement units.
void mbSetOrigin(int32_t x, int32_t y);
void mbClearOrigin();
BOOL mbHasOrigin();
void mbSetPositionText(const char *text);
void mbClearPositionText();
// The text of the position cell (up to size - 1 bytes); its length.
int mbGetPositionText(char *buffer, int size);

// " (%-6.3lf, %6.3lf)" of a top-left corner (twips) in the position cell.
void mbShowObjectPos(int32_t x, int32_t y);
void mbClearObjectPos();
// " %-6.3lf x %6.3lf" of a size (twips, shown as absolute values) in the
// size cell; (-1, -1) empties it.
void mbShowObjectSize(int32_t width, int32_t height);
void mbClearObjectSize();
// "Rotate %d Deg." in the position cell.
void mbShowRotation(int degrees);
// The name button's text; "Object-Name..." for an empty or null name.
void mbShowObjectName(const char *name);
void mbShowStatus(const char *text);
// "[layer]", then " [Ins]" or " [Ovr]" in modes 19, 20, 21 and 25, or
// " HL-Fields" in mode 60.
void mbShowState(int mode, int layer, BOOL insert);
// The two font boxes: null disables both; a font fills the face (and the
// size list when the face changed) and the size in points.
void mbShowFont(const LOGFONTA *font);
// Everything from the active workspace; only the state cell.
void mbUpdateFromSelection();
void mbUpdateState();
// Whether the focus is in one of the two font boxes (or their edits).
BOOL mbFocusIsInFontBoxes();
// Commands 963 and 964 to the bar: the face box's and the size box's
// typed-change flag cleared (mbShowFont sends them while a box has the
// focus, so a font shown supersedes what was typed).
void mbFocusFaceBox();
void mbFocusSizeBox();
// Whether a typed face or size is pending (changed and not yet sent).
BOOL mbFaceChangePending();
BOOL mbSizeChangePending();
