// Tool bars and floating tool palettes: the right and bottom bars shown and
// hidden by command, the "More Objects" and "Text Tool" palettes, the zoom
// command ids, which list shows the pressed tool and the enabling of bar
// buttons by command. The bottom command-entry bar cannot be made yet, so
// its bit stays clear.
#pragma once
#include "support/qmwin.h"

enum {
    APP_MORE_OBJECTS_ID = 4096,
    APP_TEXT_TOOL_ID = 32768,
    APP_PALETTE_STYLE = 9,          // a floating row list
};

// Makes or destroys the right bar (24 by 24 buttons over the right-bar
// table); bit 32 follows and the MDI client and bottom bar are laid out.
void appShowRightBar(HWND frame, BOOL show);
void appToggleRightBar(HWND frame);
// The same for the bottom command-entry bar (bit 256).
void appShowBottomBar(HWND frame, BOOL show);
void appToggleBottomBar(HWND frame);

// The floating palettes: opened (or focused when open) at a window
// rectangle or next to the MDI client; 749 toggles the text tools.
HWND appOpenMoreObjects(HWND frame, const RECT *rect);
HWND appOpenTextTool(HWND frame, const RECT *rect);
void appToggleTextTool(HWND frame);
BOOL appIsTextToolOpen();
HWND appGetMoreObjectsWindow();
HWND appGetTextToolWindow();
// Command 914: the palette whose window it is is forgotten.
void appForgetToolWindow(HWND frame, HWND window);
// Start-up: reopens the palettes stored in "motool_Win" and "txtool_Win".
void appRestoreToolWindows(HWND frame);
// "%d %d %d %d" of a palette's window rectangle, empty when it is closed
// (buffer of at least 64 bytes).
char *appGetMoreObjectsRect(char *buffer);
char *appGetTextToolRect(char *buffer);
// A stored palette rectangle moved onto a screen of the given size: left and
// top raised to 0, right and bottom pulled back to the screen's width and
// height by shifting. FALSE for a rectangle of no width or height.
BOOL appPlaceStoredRect(RECT *r, int screenWidth, int screenHeight);

// Choosing a tool of the object type: when the type is one of the More
// Objects palette's (or 400, 401, 405, 406, 421, 422, 431, 432, 441, 442,
// 480, 481) the drawing-tool bar's pressed button is released, otherwise
// the palette's, so that only one of the two lists shows a pressed tool.
void appReleaseToolButton(HWND frame, int16_t type);
// Releases the More Objects palette's pressed button (when it is open).
void appReleaseMoreObjects();
// Whether an object type is one of the More Objects palette's tools.
BOOL appIsMoreObjectsType(int16_t type);

// Buttons of the main frame's bars; nothing happens without the bar.
void appSetDrawBarButton(uint16_t command, BOOL enabled);
void appSetCutCopyButtons(BOOL cut, BOOL copy);
void appSetClipboardButtons(BOOL cut, BOOL copy, BOOL paste);
// The standard bar's corner buttons, 439 (To Bottom Right) and 2100 (To
// Upper Left).
void appSetCornerButtons(BOOL state);

// The text tools float in their own "Text Tool" window (bit 1 of the
// setup record's flag word) or sit in the colour window.
BOOL appTextToolFloats();
void appSetTextToolFloats(BOOL on);

// The zoom codes of the setup record and their command ids; 0 and 100 for
// none.
int appZoomCodeToCommand(int code);
int appCommandToZoomCode(int command);

void appResetToolbarModule();
