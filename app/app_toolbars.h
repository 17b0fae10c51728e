// Tool bars and floating tool palettes: the right and bottom bars shown and
// hidden by command, the "More Objects" and "Text Tool" palettes, the zoom
// command ids. Their first form: the bottom command-entry bar cannot be made
// yet, so its bit stays clear; the text tools always float.
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

// The zoom codes of the setup record and their command ids; 0 and 100 for
// none.
int appZoomCodeToCommand(int code);
int appCommandToZoomCode(int command);

void appResetToolbarModule();
